#include "graphics/canvas_region.h"

#include "graphics/canvas.h"
#include "platform/exceptions.h"

namespace velk {

const TClassInfo& TVelkGPCanvasRegion::StaticClass()
{
    static const TClassInfo info(u"TVelkGPCanvasRegion"_qs, &TVelkGPRegion::StaticClass());
    return info;
}

TVelkGPCanvasRegion::TVelkGPCanvasRegion(TVelkGPCanvas& ACanvas) : TVelkGPRegion(&ACanvas), FCanvas(ACanvas)
{
}

const TVelkGPRegionArea& TVelkGPCanvasRegion::Area() const
{
    return FCanvas.WorldClipArea();
}

void TVelkGPCanvasRegion::Clear()
{
    SetArea(TVelkGPRegionArea());
}

void TVelkGPCanvasRegion::MakeInfinite()
{
    throw EInvalidOperation(messages::InvalidCanvasOperation);
}

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPCanvasRegion::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPRegion>(AOwner);
}

void TVelkGPCanvasRegion::SetArea(const TVelkGPRegionArea& Value)
{
    TVelkGPRegionArea device = Value;
    device.Transform(FCanvas.WorldToDevice());
    FCanvas.SetClipArea(device);
    Changed();
}

} // namespace velk

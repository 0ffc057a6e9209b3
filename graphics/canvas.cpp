#include "graphics/canvas.h"

#include "graphics/brush.h"
#include "graphics/font.h"
#include "graphics/pen.h"
#include "graphics/string_format.h"

#include <algorithm>

namespace velk {

const TClassInfo& TVelkGPCanvas::StaticClass()
{
    static const TClassInfo info(u"TVelkGPCanvas"_qs, &TPersistent::StaticClass());
    return info;
}

TVelkGPCanvas::TVelkGPCanvas()
    : FPen(std::make_unique<TVelkGPPen>(this)), FFont(std::make_unique<TVelkGPFont>(this)),
      FBrush(std::make_unique<TVelkGPBrush>(this)), FStringFormat(std::make_unique<TVelkGPStringFormat>(this))
{
}

TVelkGPCanvas::~TVelkGPCanvas()
{
    // One at a time from the list itself: an object that lets go of others when
    // released unregisters them here before their turn comes.
    while (!FGPObjects.empty()) {
        TVelkGPGraphicsObject* object = FGPObjects.back();
        FGPObjects.pop_back();
        object->OwnerReleased(this);
    }
}

void TVelkGPCanvas::ObjectNotification(TVelkGPGraphicsObject* AObject, TOperation Operation)
{
    if (Operation == opInsert) {
        FGPObjects.push_back(AObject);
        return;
    }
    // Temporary objects are the usual ones to leave: search from the end.
    const auto found = std::find(FGPObjects.rbegin(), FGPObjects.rend(), AObject);
    if (found != FGPObjects.rend())
        FGPObjects.erase(std::next(found).base());
}

void TVelkGPCanvas::SetPen(const TVelkGPPen& Value)
{
    if (&Value != FPen.get())
        FPen->Assign(&Value);
}

void TVelkGPCanvas::SetBrush(const TVelkGPBrush& Value)
{
    if (&Value != FBrush.get())
        FBrush->Assign(&Value);
}

void TVelkGPCanvas::SetFont(const TVelkGPFont& Value)
{
    if (&Value != FFont.get())
        FFont->Assign(&Value);
}

void TVelkGPCanvas::SetStringFormat(const TVelkGPStringFormat& Value)
{
    if (&Value != FStringFormat.get())
        FStringFormat->Assign(&Value);
}

void TVelkGPCanvas::SetMatrix(const TMatrix& Value)
{
    FMatrix = Value;
}

void TVelkGPCanvas::SetClipArea(const TVelkGPRegionArea& Value)
{
    FClip = Value;
}

} // namespace velk

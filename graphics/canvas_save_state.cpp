#include "graphics/canvas_save_state.h"

#include "graphics/brush.h"
#include "graphics/font.h"
#include "graphics/pen.h"

namespace velk {

const TClassInfo& TVelkGPCanvasSaveState::StaticClass()
{
    static const TClassInfo info(u"TVelkGPCanvasSaveState"_qs, &TPersistent::StaticClass());
    return info;
}

TVelkGPCanvasSaveState::TVelkGPCanvasSaveState(TVelkGPCanvas& ACanvas)
    : FFill(std::make_unique<TVelkGPBrush>(&ACanvas)), FStroke(std::make_unique<TVelkGPPen>(&ACanvas)),
      FFont(std::make_unique<TVelkGPFont>(&ACanvas)), FCanvas(ACanvas)
{
}

TVelkGPCanvasSaveState::~TVelkGPCanvasSaveState() = default;

} // namespace velk

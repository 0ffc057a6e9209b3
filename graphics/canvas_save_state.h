#pragma once
// TVelkGPCanvasSaveState: one entry of a canvas's save-state pool (TVelkGPCanvas::SaveState).
// It holds copies of the canvas's fill, stroke and font and the token of the graphics
// state saved with them. Entries belong to the canvas and are reused once restored.

#include "platform/persistent.h"

#include <cstdint>
#include <memory>

namespace velk {

class TVelkGPCanvas;
class TVelkGPBrush;
class TVelkGPPen;
class TVelkGPFont;

class TVelkGPCanvasSaveState : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The fill, stroke and font are created with ACanvas as owner.
    explicit TVelkGPCanvasSaveState(TVelkGPCanvas& ACanvas);
    ~TVelkGPCanvasSaveState() override;

    // The entry holds a saved state (it is not free for reuse).
    bool Assigned() const { return FAssigned; }
    TVelkGPBrush& Fill() const { return *FFill; }
    TVelkGPPen& Stroke() const { return *FStroke; }
    TVelkGPFont& Font() const { return *FFont; }
    // The token of the saved graphics state (TVelkGPCanvas::SaveCurrentState).
    std::uint32_t SaveState() const { return FSaveState; }
    TVelkGPCanvas& Canvas() const { return FCanvas; }

private:
    friend class TVelkGPCanvas;

    bool FAssigned = false;
    std::unique_ptr<TVelkGPBrush> FFill;
    std::unique_ptr<TVelkGPPen> FStroke;
    std::unique_ptr<TVelkGPFont> FFont;
    std::uint32_t FSaveState = 0;
    TVelkGPCanvas& FCanvas;
};

} // namespace velk

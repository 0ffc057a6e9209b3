#pragma once
// TVelkGPCanvasRegion: the canvas clip seen as a region. It has no area of its own:
// every region operation reads and writes the clip of its canvas, in world coordinates
// (the canvas keeps the clip in device space and maps it through its world-to-device
// transform both ways). Clear removes the clip; MakeInfinite is refused.

#include "graphics/region.h"

namespace velk {

class TVelkGPCanvasRegion : public TVelkGPRegion {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TVelkGPCanvasRegion(TVelkGPCanvas& ACanvas);

    const TVelkGPRegionArea& Area() const override;
    // Removes the clip.
    void Clear() override;
    // Raises EInvalidOperation "Invalid canvas operation".
    void MakeInfinite() override;
    // Always false, also without a clip.
    bool IsInfinite() const override { return false; }

protected:
    // Clone gives a plain region holding a copy of the clip.
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void SetArea(const TVelkGPRegionArea& Value) override;

private:
    TVelkGPCanvas& FCanvas;
};

} // namespace velk

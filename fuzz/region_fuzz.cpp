// Feeds arbitrary bytes to the region byte form: anything but a well-formed area must
// raise EGDIPException, never crash, hang or allocate from a lying count. What reads
// must survive every area operation, and its bytes must read back to the same area.

#include "graphics/gp_exception.h"
#include "graphics/region_area.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

namespace {

void Require(bool Condition)
{
    if (!Condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TVelkGPRegionArea area;
    try {
        area = TVelkGPRegionArea::FromData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EGDIPException&) {
        return 0;
    }
    const QByteArray bytes = area.Data();
    Require(TVelkGPRegionArea::FromData(bytes).Data() == bytes);

    try {
        const TRectF bounds = area.Bounds();
        (void)area.IsEmpty();
        (void)area.IsVisible(TPoint{0, 0});
        (void)area.IsVisible(TPointF{bounds.Left, bounds.Top});
        (void)area.IsVisible(TRectF{-10, -10, 10, 10});
        (void)area.Equals(area);
        (void)area.Scans();
        for (const TVelkGPRegionCombineMode mode : {cmIntersect, cmUnion, cmXor, cmExclude, cmComplement}) {
            TVelkGPRegionArea combined = area;
            combined.Combine(TVelkGPRegionArea::FromRect({-20, -20, 20, 20}), mode);
            (void)combined.Bounds();
        }
        area.Transform(CreateRotationMatrix(0.5f));
        (void)area.Scans();
    } catch (const EGDIPException& e) {
        // Only scans too large and coordinates moved beyond a path's range are refused.
        Require(e.Status() == gpsOutOfMemory || e.Status() == gpsValueOverflow);
    }
    return 0;
}

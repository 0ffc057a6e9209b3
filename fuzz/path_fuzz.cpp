// Feeds arbitrary text to the SVG path-data parser, then runs the geometry on whatever it
// read: bounds, flattening, polygons, length and hit tests must stay bounded for any
// coordinates, and the writer's text must read back to the same entries.

#include "graphics/path_data.h"
#include "platform/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    TVelkPathData path;
    try {
        path.SetData(text);
    } catch (const Exception&) {
        return 0;
    }

    TVelkPathData again;
    again.SetData(path.GetData());
    if (again.Count() != path.Count())
        std::abort(); // the writer's text must read back

    const TRectF bounds = path.GetBounds();
    (void)path.ToPolygons();
    (void)path.GetLength();
    (void)path.PointInPath(bounds.Left + bounds.Width() / 2, bounds.Top + bounds.Height() / 2);
    (void)path.PointInPathOutline(bounds.Left, bounds.Top, 2);
    path.Flatten(1);
    return 0;
}

// Feeds arbitrary text to both path text forms: the SVG path-data parser and the
// backend path's own syntax (custom line caps). The geometry then runs on whatever was
// read: bounds, flattening, polygons, length, reversal and hit tests must stay bounded
// for any coordinates, and each writer's text must read back to the same path.

#include "graphics/backend_path.h"
#include "graphics/path_data.h"
#include "platform/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

namespace {

void FuzzPathData(const QString& Text)
{
    TVelkPathData path;
    try {
        path.SetData(Text);
    } catch (const Exception&) {
        return;
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
}

// Reading the backend syntax never raises.
void FuzzBackendPath(const QString& Text)
{
    TVelkGPPath path;
    path.SetData(Text);

    TVelkGPPath again;
    again.SetData(path.GetData());
    if (!(again.GetPathData() == path.GetPathData()))
        std::abort(); // the writer's text must read back

    const TRectF bounds = path.GetBounds();
    (void)path.IsVisiblePathPoint({bounds.Left + bounds.Width() / 2, bounds.Top + bounds.Height() / 2}, nullptr);
    TVelkPathData data;
    path.AssignTo(&data);
    path.Reverse().Flatten(1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FuzzPathData(text);
    FuzzBackendPath(text);
    return 0;
}

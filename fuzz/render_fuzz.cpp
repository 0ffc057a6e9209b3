// Feeds arbitrary bytes to the loader and draws and hit-tests whatever loads: hostile
// sizes, view boxes, transforms and reference cycles must neither crash nor hang.

#include "fuzz/fuzz_document.h"
#include "graphics/canvas.h"
#include "svg/graphic_element.h"

#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>

using namespace velk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts and the platform integration need an application; it lives for the run.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TSVGDocument doc;
    if (!fuzzing::LoadFuzzDocument(data, size, doc))
        return 0;

    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    TVelkGPCanvas canvas(image);
    const TRectF target{0, 0, 64, 64};
    doc.Draw(canvas, target);
    doc.ElementAtPos(canvas, TPointF{32, 32}, target, {foFindGroups, foFindHiddenElements});
    doc.GetBoundsRect();
    return 0;
}

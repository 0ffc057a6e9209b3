// Feeds arbitrary bytes to the loader and draws and hit-tests whatever loads: hostile
// sizes, view boxes, transforms and reference cycles must neither crash nor hang.

#include "graphics/canvas.h"
#include "platform/exceptions.h"
#include "svg/document.h"
#include "svg/graphic_element.h"

#include <QBuffer>
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
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);

    TSVGDocument doc;
    try {
        doc.LoadFromStream(input);
    } catch (const Exception&) {
        return 0;
    }

    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    TVelkGPCanvas canvas(image);
    const TRectF target{0, 0, 64, 64};
    doc.Draw(canvas, target);
    doc.ElementAtPos(canvas, TPointF{32, 32}, target, {foFindGroups, foFindHiddenElements});
    doc.GetBoundsRect();
    return 0;
}

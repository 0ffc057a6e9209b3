#pragma once
// Renders SVG text into an image for reference-image tests and pixel probes.
//
//   const QImage image = RenderSVG(u"<svg ...>...</svg>"_qs, QSize(40, 40));
//   EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
//   EXPECT_TRUE(CompareWithReference(image, "svg/render/rect.png", 2, 4));
//
// The document is drawn with Draw(canvas, (0, 0, width, height)) into a transparent
// premultiplied image. Pixels read back with QImage::pixel are premultiplied: compare
// opaque colours exactly and transparent ones through qAlpha.

#include "graphics/canvas.h"
#include "svg/document.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace velk::testing {

inline QImage RenderSVG(TSVGDocument& Document, QSize Size)
{
    QImage image(Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        Document.Draw(canvas, TRectF{0, 0, float(Size.width()), float(Size.height())});
    }
    return image;
}

// A square document of Size user units (and pixels) around Body, with the SVG and
// XLink namespaces declared.
inline QString SvgDocumentText(const QString& Body, const QString& Size = QStringLiteral("40"))
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">%2</svg>")
        .arg(Size, Body);
}

inline QImage RenderSVG(const QString& Text, QSize Size)
{
    TSVGDocument document;
    document.LoadFromText(Text);
    return RenderSVG(document, Size);
}

} // namespace velk::testing

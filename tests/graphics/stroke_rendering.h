#pragma once
// Drawing helpers shared by the pen, stroker and custom line cap tests.

#include "graphics/pen.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace velk::testing {

inline QImage Blank(int Width = 64, int Height = 64)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Pen strokes Path, anti-aliased, on a transparent image under Transform.
inline QImage Render(const TVelkGPPen& Pen, const QPainterPath& Path, int Width = 64, int Height = 64,
                     const QTransform& Transform = {})
{
    QImage image = Blank(Width, Height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(Transform);
    Pen.Paint(painter, Path);
    return image;
}

inline QPainterPath Line(QPointF From, QPointF To)
{
    QPainterPath path;
    path.moveTo(From);
    path.lineTo(To);
    return path;
}

inline int Alpha(const QImage& Image, int X, int Y)
{
    return qAlpha(Image.pixel(X, Y));
}

} // namespace velk::testing

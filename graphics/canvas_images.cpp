// The canvas's image drawing: every form maps a source rectangle of the image (in
// pixels) onto a destination parallelogram and draws it through the painter, with an
// opacity or with image attributes.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/image.h"
#include "graphics/image_attributes.h"
#include "graphics/painter_state_guard.h"

#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

const QImage& PixelsOf(const TVelkGPImage& Image)
{
    if (!Image.Handle())
        throw EGDIPException(gpsInvalidParameter);
    return *Image.Handle();
}

QRectF WholeImage(const QImage& Pixels)
{
    return {0, 0, qreal(Pixels.width()), qreal(Pixels.height())};
}

// Pixels per SrcUnit at Dpi; world and display units count as pixels.
qreal PixelsPerUnit(TVelkGPUnit Unit, float Dpi)
{
    switch (Unit) {
    case uPoint: return Dpi / 72.0;
    case uInch: return Dpi;
    case uDocument: return Dpi / 300.0;
    case uMillimeter: return Dpi / 25.4;
    default: return 1;
    }
}

QRectF SourceInPixels(const TVelkGPImage& Image, const TRectF& SrcRect, TVelkGPUnit SrcUnit)
{
    const qreal sx = PixelsPerUnit(SrcUnit, Image.HorizontalResolution());
    const qreal sy = PixelsPerUnit(SrcUnit, Image.VerticalResolution());
    return {SrcRect.Left * sx, SrcRect.Top * sy, SrcRect.Width() * sx, SrcRect.Height() * sy};
}

// Top-left, top-right and bottom-left corners.
struct TParallelogram {
    QPointF P0, P1, P2;
};

TParallelogram RectCorners(qreal X, qreal Y, qreal Width, qreal Height)
{
    return {{X, Y}, {X + Width, Y}, {X, Y + Height}};
}

TParallelogram PointsCorners(const TVelkPoints& Points)
{
    if (Points.size() != 3)
        throw EGDIPException(gpsInvalidParameter);
    return {{Points[0].X, Points[0].Y}, {Points[1].X, Points[1].Y}, {Points[2].X, Points[2].Y}};
}

TVelkPoints ToPointsF(const TCanvasPoints& Points)
{
    TVelkPoints result;
    result.reserve(Points.size());
    for (const TPoint& p : Points)
        result.append(PointToPointF(p));
    return result;
}

bool IsFinite(const QRectF& R)
{
    return std::isfinite(R.x()) && std::isfinite(R.y()) && std::isfinite(R.width()) && std::isfinite(R.height());
}

bool IsFinite(const TParallelogram& P)
{
    for (const QPointF& point : {P.P0, P.P1, P.P2})
        if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
            return false;
    return true;
}

// Draws Source (pixels) of Pixels onto Dst at Opacity, or through Attributes when given.
void DrawMapped(QPainter& Painter, const QImage& Pixels, QRectF Source, const TParallelogram& Dst, float Opacity,
                const TVelkGPImageAttributes* Attributes, const std::function<bool()>& Callback)
{
    if (Source.width() == 0 || Source.height() == 0 || !IsFinite(Source) || !IsFinite(Dst))
        return;
    if (Callback && Callback())
        throw EGDIPException(gpsAborted);
    QImage pixels = Pixels;
    if (Attributes) {
        if (const std::optional<float> plain = Attributes->PlainOpacity())
            Opacity *= *plain;
        else {
            // Only the pixels the source rectangle touches are adjusted (cut to the
            // image first, so that a huge rectangle cannot overflow the integer one).
            const QRect touched = (Source.normalized() & QRectF(Pixels.rect())).toAlignedRect() & Pixels.rect();
            if (touched.isEmpty())
                return;
            pixels = Attributes->Apply(Pixels.copy(touched));
            Source.translate(-touched.topLeft());
        }
    }
    if (!(Opacity > 0))
        return;
    // Maps (0, 0) - (w, h) onto the parallelogram.
    const qreal w = Source.width();
    const qreal h = Source.height();
    const QTransform mapping((Dst.P1.x() - Dst.P0.x()) / w, (Dst.P1.y() - Dst.P0.y()) / w,
                             (Dst.P2.x() - Dst.P0.x()) / h, (Dst.P2.y() - Dst.P0.y()) / h, Dst.P0.x(), Dst.P0.y());
    // A source far smaller than its destination can overflow the scale.
    if (!mapping.isInvertible() || !std::isfinite(mapping.determinant()))
        return;
    // Drawing an image onto itself reads what it writes.
    if (Painter.device() == &Pixels)
        pixels = Pixels.copy();
    const TPainterStateGuard guard(Painter);
    Painter.setTransform(mapping, true);
    Painter.setOpacity(Painter.opacity() * std::min(Opacity, 1.0f));
    Painter.drawImage(QRectF(0, 0, w, h), pixels, Source);
}

} // namespace

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, float X, float Y, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, WholeImage(pixels), RectCorners(X, Y, pixels.width(), pixels.height()), AOpacity,
               nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TPointF& Point, float AOpacity)
{
    DrawImage(Image, Point.X, Point.Y, AOpacity);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TPoint& Point, float AOpacity)
{
    DrawImage(Image, float(Point.X), float(Point.Y), AOpacity);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TRectF& DstRect, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, WholeImage(pixels),
               RectCorners(DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height()), AOpacity, nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TRect& DstRect, float AOpacity)
{
    DrawImage(Image, RectToRectF(DstRect), AOpacity);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, WholeImage(pixels), PointsCorners(DstPoints), AOpacity, nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TCanvasPoints& DstPoints, float AOpacity)
{
    DrawImage(Image, ToPointsF(DstPoints), AOpacity);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, float X, float Y, const TRectF& SrcRect,
                              TVelkGPUnit SrcUnit, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    const QRectF source = SourceInPixels(Image, SrcRect, SrcUnit);
    DrawMapped(Handle(), pixels, source, RectCorners(X, Y, source.width(), source.height()), AOpacity, nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TPointF& Point, const TRectF& SrcRect,
                              TVelkGPUnit SrcUnit, float AOpacity)
{
    DrawImage(Image, Point.X, Point.Y, SrcRect, SrcUnit, AOpacity);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TRectF& DstRect, const TRectF& SrcRect,
                              TVelkGPUnit SrcUnit, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, SourceInPixels(Image, SrcRect, SrcUnit),
               RectCorners(DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height()), AOpacity, nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, const TRectF& SrcRect,
                              TVelkGPUnit SrcUnit, float AOpacity)
{
    if (!(AOpacity > 0))
        return;
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, SourceInPixels(Image, SrcRect, SrcUnit), PointsCorners(DstPoints), AOpacity,
               nullptr, {});
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, float DstX, float DstY, float DstWidth, float DstHeight,
                              float SrcX, float SrcY, float SrcWidth, float SrcHeight, TVelkGPUnit SrcUnit,
                              const TVelkGPImageAttributes* ImageAttributes, const std::function<bool()>& Callback)
{
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, SourceInPixels(Image, {SrcX, SrcY, SrcX + SrcWidth, SrcY + SrcHeight}, SrcUnit),
               RectCorners(DstX, DstY, DstWidth, DstHeight), 1, ImageAttributes, Callback);
}

void TVelkGPCanvas::DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, float SrcX, float SrcY,
                              float SrcWidth, float SrcHeight, TVelkGPUnit SrcUnit,
                              const TVelkGPImageAttributes* ImageAttributes, const std::function<bool()>& Callback)
{
    const QImage& pixels = PixelsOf(Image);
    DrawMapped(Handle(), pixels, SourceInPixels(Image, {SrcX, SrcY, SrcX + SrcWidth, SrcY + SrcHeight}, SrcUnit),
               PointsCorners(DstPoints), 1, ImageAttributes, Callback);
}

void TVelkGPCanvas::DrawBitmap(const QImage& ABitmap, const TRectF& SrcRect, const TRectF& DstRect, float AOpacity,
                               bool HighSpeed)
{
    if (!(AOpacity > 0) || ABitmap.isNull())
        return;
    QPainter& painter = Handle();
    const TPainterStateGuard guard(painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !HighSpeed);
    DrawMapped(painter, ABitmap, {SrcRect.Left, SrcRect.Top, SrcRect.Width(), SrcRect.Height()},
               RectCorners(DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height()), AOpacity, nullptr, {});
}

void TVelkGPCanvas::Draw(std::int32_t X, std::int32_t Y, const QImage& Graphic)
{
    Draw(X, Y, Graphic, 255);
}

void TVelkGPCanvas::Draw(std::int32_t X, std::int32_t Y, const QImage& Graphic, std::uint8_t Opacity)
{
    if (Opacity == 0 || Graphic.isNull())
        return;
    DrawMapped(Handle(), Graphic, WholeImage(Graphic), RectCorners(X, Y, Graphic.width(), Graphic.height()),
               Opacity / 255.0f, nullptr, {});
}

void TVelkGPCanvas::Draw(std::int32_t X, std::int32_t Y, const QIcon& Graphic)
{
    Draw(X, Y, Graphic, 255);
}

void TVelkGPCanvas::Draw(std::int32_t X, std::int32_t Y, const QIcon& Graphic, std::uint8_t Opacity)
{
    if (Opacity == 0 || Graphic.isNull())
        return;
    TVelkGPBitmap bitmap;
    bitmap.LoadFromIcon(Graphic);
    DrawImage(bitmap, float(X), float(Y), Opacity / 255.0f);
}

} // namespace velk

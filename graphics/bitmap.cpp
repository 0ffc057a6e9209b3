#include "graphics/bitmap.h"

#include "graphics/bitmap_size.h"
#include "graphics/gp_exception.h"
#include "platform/numbers.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <cstring>
#include <optional>

namespace velk {

namespace {

constexpr int BytesPerPixel = 4;

int CheckedLockCoordinate(float Value)
{
    const std::optional<int> result = TryFloatToInt<int>(Value);
    if (!result)
        throw EGDIPException(gpsInvalidParameter);
    return *result;
}

} // namespace

// The pixels handed out by LockBits: Buffer holds them in the lock's format (over the
// caller's memory with ilfUserInputBuf).
struct TVelkGPBitmap::TLock {
    QRect Rect;
    TVelkGPImageLockFlags Flags;
    QImage Buffer;
};

const TClassInfo& TVelkGPBitmap::StaticClass()
{
    static const TClassInfo info(u"TVelkGPBitmap"_qs, &TVelkGPImage::StaticClass(),
                                 &CreateInstance<TVelkGPBitmap>);
    return info;
}

TVelkGPBitmap::TVelkGPBitmap(TVelkGPCanvas* AOwner) : TVelkGPImage(AOwner)
{
    SetSize(0, 0);
}

TVelkGPBitmap::TVelkGPBitmap(std::uint32_t aWidth, std::uint32_t aHeight)
{
    SetSize(aWidth, aHeight);
}

TVelkGPBitmap::TVelkGPBitmap(const QString& Filename, bool useEmbeddedColorManagement)
    : TVelkGPImage(Filename, useEmbeddedColorManagement)
{
}

TVelkGPBitmap::TVelkGPBitmap(QIODevice* Stream, bool useEmbeddedColorManagement)
    : TVelkGPImage(Stream, useEmbeddedColorManagement)
{
}

TVelkGPBitmap::~TVelkGPBitmap() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPBitmap::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPBitmap>(AOwner);
}

void TVelkGPBitmap::DestroyHandle()
{
    FLock.reset();
    TVelkGPImage::DestroyHandle();
}

void TVelkGPBitmap::SetSize(std::uint32_t aWidth, std::uint32_t aHeight)
{
    DestroyHandle();
    if (aWidth == 0 || aHeight == 0)
        aWidth = aHeight = 1;
    QImage image(CheckedBitmapSize(aWidth, aHeight), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw EGDIPException(gpsOutOfMemory);
    image.fill(Qt::transparent);
    SetHandle(std::move(image));
}

void TVelkGPBitmap::SetWidth(std::uint32_t Value)
{
    if (Value != Width())
        SetSize(Value, Height());
}

void TVelkGPBitmap::SetHeight(std::uint32_t Value)
{
    if (Value != Height())
        SetSize(Width(), Value);
}

void TVelkGPBitmap::SetHorizontalResolution(float Value)
{
    SetDPIResolution(Value, VerticalResolution());
}

void TVelkGPBitmap::SetVerticalResolution(float Value)
{
    SetDPIResolution(HorizontalResolution(), Value);
}

void TVelkGPBitmap::SetDPIResolution(float DPIx, float DPIy)
{
    Image();
    if (!(DPIx > 0) || !(DPIy > 0) || !std::isfinite(DPIx) || !std::isfinite(DPIy))
        throw EGDIPException(gpsInvalidParameter);
    SetResolution(DPIx, DPIy);
}

TVelkGPColor TVelkGPBitmap::Pixels(std::int32_t X, std::int32_t Y) const
{
    const QImage& image = Image();
    if (!image.valid(X, Y))
        throw EGDIPException(gpsInvalidParameter);
    return qUnpremultiply(reinterpret_cast<const QRgb*>(image.constScanLine(Y))[X]);
}

void TVelkGPBitmap::SetPixels(std::int32_t X, std::int32_t Y, TVelkGPColor Value)
{
    QImage& image = Image();
    if (!image.valid(X, Y))
        throw EGDIPException(gpsInvalidParameter);
    reinterpret_cast<QRgb*>(image.scanLine(Y))[X] = qPremultiply(Value);
}

void TVelkGPBitmap::LoadFromBitmap(const QImage& Bitmap)
{
    Assign(Bitmap);
}

void TVelkGPBitmap::LoadFromIcon(const QIcon& Icon)
{
    DestroyHandle();
    QSize largest;
    for (const QSize& size : Icon.availableSizes())
        if (qint64(size.width()) * size.height() > qint64(largest.width()) * largest.height() || largest.isEmpty())
            largest = size;
    if (largest.isEmpty())
        throw EGDIPException(gpsInvalidParameter);
    Assign(Icon.pixmap(CheckedBitmapSize(largest.width(), largest.height())).toImage());
}

void TVelkGPBitmap::LoadFromResourceName(const QString& ResName)
{
    LoadFromFile(ResName.startsWith(u':') ? ResName : u":/"_qs + ResName);
}

QImage TVelkGPBitmap::SaveToBitmap(TVelkGPColor BackgroundColor) const
{
    const QImage& image = Image();
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        throw EGDIPException(gpsOutOfMemory);
    result.fill(QColor::fromRgba(BackgroundColor));
    QPainter painter(&result);
    painter.drawImage(0, 0, image);
    painter.end();
    result.setDotsPerMeterX(image.dotsPerMeterX());
    result.setDotsPerMeterY(image.dotsPerMeterY());
    return result;
}

QIcon TVelkGPBitmap::SaveToIcon() const
{
    return QIcon(QPixmap::fromImage(Image()));
}

void TVelkGPBitmap::LockBits(const TRectF& aRect, TVelkGPImageLockFlags Flags, TVelkGPPixelFormatRec aFormat,
                             TVelkGPBitmapData& Data)
{
    QImage& image = Image();
    if (FLock)
        throw EGDIPException(gpsWrongState);
    QImage::Format format;
    if (aFormat == PixelFormat32bppARGB)
        format = QImage::Format_ARGB32;
    else if (aFormat == PixelFormat32bppPARGB)
        format = QImage::Format_ARGB32_Premultiplied;
    else
        throw EGDIPException(gpsInvalidParameter);
    if (!Flags.Contains(ilfRead) && !Flags.Contains(ilfWrite))
        throw EGDIPException(gpsInvalidParameter);
    const int left = CheckedLockCoordinate(aRect.Left);
    const int top = CheckedLockCoordinate(aRect.Top);
    const int width = CheckedLockCoordinate(aRect.Right - aRect.Left);
    const int height = CheckedLockCoordinate(aRect.Bottom - aRect.Top);
    // Compared without adding, so that no sum can overflow.
    if (left < 0 || top < 0 || width <= 0 || height <= 0 || width > image.width() - left ||
        height > image.height() - top)
        throw EGDIPException(gpsInvalidParameter);
    const QRect rect(left, top, width, height);

    auto lock = std::make_unique<TLock>();
    lock->Rect = rect;
    lock->Flags = Flags;
    const QImage pixels = Flags.Contains(ilfRead) ? image.copy(rect).convertToFormat(format) : QImage();
    if (Flags.Contains(ilfUserInputBuf)) {
        if (!Data.Scan0 || Data.Stride < rect.width() * BytesPerPixel)
            throw EGDIPException(gpsInvalidParameter);
        lock->Buffer = QImage(static_cast<uchar*>(Data.Scan0), rect.width(), rect.height(), Data.Stride, format);
        if (!pixels.isNull())
            for (int y = 0; y < rect.height(); ++y)
                std::memcpy(lock->Buffer.scanLine(y), pixels.constScanLine(y),
                            std::size_t(rect.width()) * BytesPerPixel);
    } else if (!pixels.isNull()) {
        lock->Buffer = pixels;
    } else {
        lock->Buffer = QImage(rect.size(), format);
        lock->Buffer.fill(0);
    }
    if (lock->Buffer.isNull())
        throw EGDIPException(gpsOutOfMemory);

    Data.Width = static_cast<std::uint32_t>(rect.width());
    Data.Height = static_cast<std::uint32_t>(rect.height());
    Data.Stride = static_cast<std::int32_t>(lock->Buffer.bytesPerLine());
    Data.PixelFormat = aFormat;
    Data.Scan0 = lock->Buffer.bits();
    Data.Reserved = lock.get();
    FLock = std::move(lock);
}

void TVelkGPBitmap::UnlockBits(TVelkGPBitmapData& Data)
{
    if (!FLock || Data.Reserved != FLock.get())
        throw EGDIPException(gpsInvalidParameter);
    const std::unique_ptr<TLock> lock = std::move(FLock);
    Data.Scan0 = nullptr;
    Data.Reserved = nullptr;
    if (!lock->Flags.Contains(ilfWrite))
        return;
    // Copied row by row: a painter may already be open on the image (its canvas).
    const QImage pixels = lock->Buffer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage& image = Image();
    const QRect& rect = lock->Rect;
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(image.scanLine(rect.y() + y) + std::size_t(rect.x()) * BytesPerPixel, pixels.constScanLine(y),
                    std::size_t(rect.width()) * BytesPerPixel);
}

} // namespace velk

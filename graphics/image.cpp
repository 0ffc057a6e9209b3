#include "graphics/image.h"

#include "graphics/bitmap_size.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/image_encoders.h"
#include "platform/format.h"
#include "platform/numbers.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr double MetersPerInch = 0.0254;
constexpr qint64 ReadChunk = 1024 * 1024;

// The decoders an image is read with: the raster formats the classic API decodes. Other
// Qt plugins (SVG among them) are never asked, so a file cannot turn into a document.
struct TDecoder {
    const char* QtFormat;
    const QUuid* RawFormat;
};
const std::array<TDecoder, 6>& Decoders()
{
    static const std::array<TDecoder, 6> decoders{{{"bmp", &ImageFormat::BMP},
                                                   {"jpeg", &ImageFormat::JPEG},
                                                   {"gif", &ImageFormat::GIF},
                                                   {"tiff", &ImageFormat::TIFF},
                                                   {"png", &ImageFormat::PNG},
                                                   {"ico", &ImageFormat::Icon}}};
    return decoders;
}

// The classic pixel-format code of the format Qt decoded into.
TVelkGPPixelFormatRec SourcePixelFormat(QImage::Format Format)
{
    switch (Format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return {0x00030101};
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8: return {0x00030803};
    case QImage::Format_Grayscale16: return {0x00101004};
    case QImage::Format_RGB555: return {0x00021005};
    case QImage::Format_RGB16: return {0x00021006};
    // Qt decodes 24-bit files (JPEG, BMP) into 32-bit RGB.
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGB32: return {0x00021808};
    case QImage::Format_RGBX8888: return {0x00022009};
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888_Premultiplied: return PixelFormat32bppPARGB;
    case QImage::Format_RGBX64: return {0x0010300C};
    case QImage::Format_RGBA64: return {0x0034400D};
    case QImage::Format_RGBA64_Premultiplied: return {0x001C400E};
    default: return PixelFormat32bppARGB;
    }
}

class TFileDescriptor {
public:
    explicit TFileDescriptor(int Fd) : FFd(Fd) {}
    ~TFileDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

// The bytes of a regular file. Opened without blocking and checked before a byte is
// read: a FIFO would block forever and a device never ends.
QByteArray ReadRegularFile(const QString& Filename)
{
    if (Filename.isEmpty())
        throw EGDIPException(gpsFileNotFound);
    const TFileDescriptor fd(::open(QFile::encodeName(Filename).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0)
        throw EGDIPException(errno == EACCES || errno == EPERM ? gpsAccessDenied : gpsFileNotFound);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EGDIPException(gpsFileNotFound);
    if (info.st_size > MaxImageFileSize)
        throw EGDIPException(gpsOutOfMemory);

    QByteArray data;
    data.resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t count = ::read(fd.Get(), data.data() + done, static_cast<size_t>(data.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw EGDIPException(gpsWin32Error, QString::fromLocal8Bit(std::strerror(errno)));
        if (count == 0)
            break; // the file shrank meanwhile
        done += count;
    }
    data.truncate(done);
    return data;
}

// At most MaxImageFileSize bytes from Stream's position to its end; more raises.
QByteArray ReadLimited(QIODevice& Stream)
{
    if (!Stream.isReadable())
        throw EGDIPException(gpsInvalidParameter);
    QByteArray data;
    for (;;) {
        const QByteArray chunk = Stream.read(ReadChunk);
        if (chunk.isEmpty())
            break;
        if (data.size() + chunk.size() > MaxImageFileSize)
            throw EGDIPException(gpsOutOfMemory);
        data += chunk;
    }
    return data;
}

QByteArray ReadImageFile(const QString& Filename)
{
    // Qt resources live in memory: nothing can block there.
    if (Filename.startsWith(u':')) {
        QFile file(Filename);
        if (!file.open(QIODevice::ReadOnly))
            throw EGDIPException(gpsFileNotFound);
        return ReadLimited(file);
    }
    return ReadRegularFile(Filename);
}

float DpiOf(int DotsPerMeter)
{
    return static_cast<float>(DotsPerMeter * MetersPerInch);
}

int DotsPerMeterOf(float Dpi)
{
    return static_cast<int>(std::lround(Dpi / MetersPerInch));
}

} // namespace

TRect TruncBounds(float X, float Y, float W, float H)
{
    return {Trunc<std::int32_t>(X), Trunc<std::int32_t>(Y), Trunc<std::int32_t>(double(X) + W),
            Trunc<std::int32_t>(double(Y) + H)};
}

const TClassInfo& TVelkGPImage::StaticClass()
{
    using C = TVelkGPImage;
    static const TClassInfo info(u"TVelkGPImage"_qs, &TVelkGPGraphicsObject::StaticClass(), &CreateInstance<C>,
                                 TPublished<C>()
                                     .Boolean(u"EmbeddedColorManagement"_qs, &C::EmbeddedColorManagement,
                                              &C::SetEmbeddedColorManagement, false)
                                     .Take());
    return info;
}

TVelkGPImage::TVelkGPImage(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner) {}

TVelkGPImage::TVelkGPImage(const QString& Filename, bool useEmbeddedColorManagement)
    : FEmbeddedColorManagement(useEmbeddedColorManagement)
{
    LoadFromFile(Filename);
}

TVelkGPImage::TVelkGPImage(QIODevice* Stream, bool useEmbeddedColorManagement)
    : FEmbeddedColorManagement(useEmbeddedColorManagement)
{
    if (Stream)
        LoadFromStream(*Stream);
}

// FCanvas is declared after FHandle, so the canvas (and its painter) goes first.
TVelkGPImage::~TVelkGPImage() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPImage::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPImage>(AOwner);
}

void TVelkGPImage::SetEmbeddedColorManagement(bool Value)
{
    if (Value == FEmbeddedColorManagement)
        return;
    FEmbeddedColorManagement = Value;
    Changed();
}

QImage& TVelkGPImage::Image() const
{
    if (!FHandle)
        throw EGDIPException(gpsInvalidParameter);
    return *FHandle;
}

void TVelkGPImage::DestroyHandle()
{
    FCanvas.reset();
    FHandle.reset();
}

void TVelkGPImage::SetHandle(QImage AImage)
{
    DestroyHandle();
    if (AImage.format() != QImage::Format_ARGB32_Premultiplied)
        AImage.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (AImage.isNull())
        throw EGDIPException(gpsOutOfMemory);
    FHandle = std::make_unique<QImage>(std::move(AImage));
    FRawFormat = ImageFormat::MemoryBMP;
    FPixelFormat = PixelFormat32bppARGB;
    FFlags = {ifHasAlpha};
    SetResolution(96, 96);
}

void TVelkGPImage::SetResolution(float DpiX, float DpiY)
{
    QImage& image = Image();
    FDpiX = DpiX;
    FDpiY = DpiY;
    // Kept in the QImage too, so that encoders write it.
    image.setDotsPerMeterX(DotsPerMeterOf(DpiX));
    image.setDotsPerMeterY(DotsPerMeterOf(DpiY));
}

std::uint32_t TVelkGPImage::Width() const
{
    return static_cast<std::uint32_t>(Image().width());
}

std::uint32_t TVelkGPImage::Height() const
{
    return static_cast<std::uint32_t>(Image().height());
}

TVelkGPImageType TVelkGPImage::ImageType() const
{
    Image();
    return itBitmap;
}

float TVelkGPImage::HorizontalResolution() const
{
    Image();
    return FDpiX;
}

float TVelkGPImage::VerticalResolution() const
{
    Image();
    return FDpiY;
}

QUuid TVelkGPImage::RawFormat() const
{
    Image();
    return FRawFormat;
}

TVelkGPImageFlags TVelkGPImage::Flags() const
{
    Image();
    return FFlags;
}

TVelkGPPixelFormatRec TVelkGPImage::PixelFormatCode() const
{
    Image();
    return FPixelFormat;
}

TVelkGPCanvas& TVelkGPImage::Canvas()
{
    Image();
    if (!FCanvas)
        FCanvas = std::make_unique<TVelkGPCanvas>(*this);
    return *FCanvas;
}

void TVelkGPImage::LoadFromFile(const QString& Filename)
{
    DestroyHandle();
    LoadFromData(ReadImageFile(Filename));
}

void TVelkGPImage::LoadFromStream(QIODevice& Stream)
{
    DestroyHandle();
    LoadFromData(ReadLimited(Stream));
}

void TVelkGPImage::LoadFromData(const QByteArray& Data)
{
    DestroyHandle();
    QBuffer buffer;
    buffer.setData(Data);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    const TDecoder* decoder = nullptr;
    for (const TDecoder& candidate : Decoders())
        if (format == candidate.QtFormat)
            decoder = &candidate;
    if (!decoder)
        throw EGDIPException(gpsUnknownImageFormat);

    QImageReader reader(&buffer, format);
    // Room for the largest accepted size at 8 bytes per pixel (16-bit channels); the
    // size check below refuses larger headers before decoding starts.
    reader.setAllocationLimit(static_cast<int>(MaxBitmapPixels * 8 / (1024 * 1024) + 1));
    const QSize declared = reader.size();
    if (declared.isValid() && !declared.isEmpty())
        CheckedBitmapSize(declared.width(), declared.height());
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw EGDIPException(gpsUnknownImageFormat);
    CheckedBitmapSize(image.width(), image.height());

    // Qt gives images whose file states no resolution its own default.
    const QImage plain(1, 1, QImage::Format_ARGB32);
    const bool realDpi = image.dotsPerMeterX() != plain.dotsPerMeterX() ||
                         image.dotsPerMeterY() != plain.dotsPerMeterY();
    const float dpiX = realDpi && image.dotsPerMeterX() > 0 ? DpiOf(image.dotsPerMeterX()) : 96;
    const float dpiY = realDpi && image.dotsPerMeterY() > 0 ? DpiOf(image.dotsPerMeterY()) : 96;
    const QImage::Format sourceFormat = image.format();
    const bool gray = sourceFormat == QImage::Format_Grayscale8 || sourceFormat == QImage::Format_Grayscale16 ||
                      (image.isGrayscale() && sourceFormat != QImage::Format_Mono &&
                       sourceFormat != QImage::Format_MonoLSB);

    SetHandle(std::move(image));
    FRawFormat = *decoder->RawFormat;
    FPixelFormat = SourcePixelFormat(sourceFormat);
    FFlags = {ifHasRealPixelSize, ifReadOnly, gray ? ifColorSpaceGRAY : ifColorSpaceRGB};
    FFlags.Set(ifHasAlpha, FPixelFormat.Flags().Contains(pffAlpha));
    FFlags.Set(ifHasRealDPI, realDpi);
    SetResolution(dpiX, dpiY);
}

void TVelkGPImage::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TVelkGPImage*>(Source);
    if (!source) {
        TVelkGPGraphicsObject::Assign(Source);
        return;
    }
    if (source == this)
        return;
    QImage copy = source->Image().copy();
    FEmbeddedColorManagement = source->FEmbeddedColorManagement;
    DestroyHandle();
    FHandle = std::make_unique<QImage>(std::move(copy));
    FRawFormat = source->FRawFormat;
    FPixelFormat = source->FPixelFormat;
    FFlags = source->FFlags;
    FDpiX = source->FDpiX;
    FDpiY = source->FDpiY;
}

void TVelkGPImage::Assign(const QImage& Source)
{
    DestroyHandle();
    if (Source.isNull())
        throw EGDIPException(gpsInvalidParameter);
    CheckedBitmapSize(Source.width(), Source.height());
    SetHandle(Source.copy());
}

std::unique_ptr<TVelkGPImage> TVelkGPImage::GetThumbnail(std::uint32_t aWidth, std::uint32_t aHeight,
                                                         const TVelkGPImageAbort& Abort) const
{
    const QImage& image = Image();
    const QSize size = CheckedBitmapSize(aWidth, aHeight);
    if (Abort && Abort())
        throw EGDIPException(gpsAborted);
    auto result = std::make_unique<TVelkGPImage>();
    result->SetHandle(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return result;
}

void TVelkGPImage::RotateFlip(int Value)
{
    QImage& image = Image();
    if (Value < 0 || Value > 7)
        throw EGDIPException(gpsInvalidParameter);
    const int quarterTurns = Value & 3;
    QImage result = quarterTurns ? image.transformed(QTransform().rotate(90.0 * quarterTurns)) : image;
    if (Value & 4)
        result = result.mirrored(true, false);
    // The canvas paints on the old pixels; it goes with them.
    FCanvas.reset();
    image = std::move(result);
    if (quarterTurns & 1)
        std::swap(FDpiX, FDpiY);
    SetResolution(FDpiX, FDpiY);
}

void TVelkGPImage::SaveToStream(QIODevice& Stream, const QUuid& Clsid, const TVelkGPEncoderParameters* Params)
{
    const QImage& image = Image();
    const QByteArray format = EncoderQtFormat(Clsid);
    if (format.isEmpty())
        throw EGDIPException(gpsUnknownImageFormat);
    if (!CanEncode(Clsid))
        throw EGDIPException(gpsNotImplemented);
    QImageWriter writer(&Stream, format);
    if (Params && Params->Quality >= 0 && Clsid == ImageEncoderInfo(1).Clsid)
        writer.setQuality(std::min(Params->Quality, 100));
    if (!writer.write(image))
        throw EGDIPException(gpsWin32Error, writer.errorString());
}

void TVelkGPImage::SaveToFile(const QString& Filename, const QUuid& Clsid, const TVelkGPEncoderParameters* Params)
{
    Image();
    if (EncoderQtFormat(Clsid).isEmpty())
        throw EGDIPException(gpsUnknownImageFormat);
    if (!CanEncode(Clsid))
        throw EGDIPException(gpsNotImplemented);
    // Written beside the target and renamed over it on success; dropped otherwise.
    QSaveFile file(Filename);
    if (!file.open(QIODevice::WriteOnly))
        throw EGDIPException(gpsWin32Error, file.errorString());
    SaveToStream(file, Clsid, Params);
    if (!file.commit())
        throw EGDIPException(gpsWin32Error, file.errorString());
}

void TVelkGPImage::SaveToFile(const QString& Filename)
{
    // The extension with its dot, as it stands; none when the last dot is in a folder name.
    const QString name = QFileInfo(Filename).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ext = dot >= 0 ? name.sliced(dot) : QString();
    if (!ext.isEmpty())
        for (const TVelkGPImageCodecInfo& encoder : ImageEncoderList())
            if (encoder.FilenameExtension.contains(ext, Qt::CaseSensitive)) {
                SaveToFile(Filename, encoder.Clsid);
                return;
            }
    throw EGDIPException(Format(messages::GPNoCodecForExt, ext));
}

TRect TVelkGPImage::GetBounds() const
{
    const QImage& image = Image();
    return TruncBounds(0, 0, float(image.width()), float(image.height()));
}

int TVelkGPImage::IndexOfCodec(const TVelkGPImageCodecInfos& Codecs, const QUuid& aCodec)
{
    for (std::size_t i = 0; i < Codecs.size(); ++i)
        if (Codecs[i].FormatID == aCodec)
            return static_cast<int>(i);
    return -1;
}

} // namespace velk

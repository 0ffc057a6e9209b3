#pragma once
// TVelkGPImage: a raster image over a QImage — loaded from a file or stream, cloned,
// rotated, scaled to a thumbnail, saved through one of the built-in encoders
// (graphics/image_encoders.h) — with a canvas that draws into it.
//
// The pixels are kept as QImage::Format_ARGB32_Premultiplied, the format QPainter draws
// fastest; PixelFormat reports the format the image was decoded from. Files and streams
// are read into memory and decoded at once, so nothing refers to the source afterwards.
// Only regular files (or Qt resources) up to MaxImageFileSize bytes are read, and the
// size a file declares passes CheckedBitmapSize before any pixel is decoded.
//
// An image may hold no QImage (Handle() is nullptr): the object made without a source,
// or after a load that failed. Every operation that needs pixels then raises
// EGDIPException(gpsInvalidParameter).

#include "graphics/geometry.h"
#include "graphics/graphics_object.h"
#include "graphics/image_types.h"

#include <QImage>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <functional>
#include <memory>

class QIODevice;

namespace velk {

// The largest file or stream an image is read from (64 MiB).
inline constexpr qint64 MaxImageFileSize = 64LL * 1024 * 1024;

// The file-format identifiers RawFormat reports.
namespace ImageFormat {
inline const QUuid Undefined{u"{B96B3CA9-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid MemoryBMP{u"{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid BMP{u"{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid JPEG{u"{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid PNG{u"{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid GIF{u"{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid TIFF{u"{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}"};
inline const QUuid Icon{u"{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}"};
} // namespace ImageFormat

// Asked during a long operation; returning true aborts it (EGDIPException gpsAborted).
using TVelkGPImageAbort = std::function<bool()>;

// (Trunc(X), Trunc(Y), Trunc(X + W), Trunc(Y + H)), truncation toward zero.
TRect TruncBounds(float X, float Y, float W, float H);

class TVelkGPImage : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // No platform image until a load.
    explicit TVelkGPImage(TVelkGPCanvas* AOwner = nullptr);
    // Loads Filename (see LoadFromFile).
    explicit TVelkGPImage(const QString& Filename, bool useEmbeddedColorManagement = false);
    // Loads Stream; without a stream the image holds no platform image.
    explicit TVelkGPImage(QIODevice* Stream, bool useEmbeddedColorManagement = false);
    ~TVelkGPImage() override;

    // The pixels, nullptr without a platform image. A canvas on this image paints here.
    QImage* Handle() const { return FHandle.get(); }

    // Published. Stored only: Qt applies no colour management when decoding.
    bool EmbeddedColorManagement() const { return FEmbeddedColorManagement; }
    // Raises the change event when the value differs.
    void SetEmbeddedColorManagement(bool Value);

    // Read from the platform image (raise without one).
    std::uint32_t Width() const;
    std::uint32_t Height() const;
    TVelkGPImageType ImageType() const;
    // Dots per inch: the file's resolution, 96 when it states none.
    float HorizontalResolution() const;
    float VerticalResolution() const;
    // The file format the image was decoded from (ImageFormat::...); MemoryBMP for
    // bitmaps made in memory.
    QUuid RawFormat() const;
    TVelkGPImageFlags Flags() const;
    // The format code of the source pixels and what it is cut into.
    TVelkGPPixelFormatRec PixelFormatCode() const;
    TVelkGPPixelFormat PixelFormat() const { return PixelFormatCode().Format(); }
    TVelkGPPixelFormatFlags PixelFormatFlags() const { return PixelFormatCode().Flags(); }
    int BitsPerPixel() const { return PixelFormatCode().BitsPerPixel(); }

    // A canvas drawing into this image, made on first use and owned by the image; any
    // load, resize or Assign frees it (a later call makes a new one).
    TVelkGPCanvas& Canvas();

    // Replace the platform image. A failure leaves the image without one:
    // gpsFileNotFound for a missing file or one that is not a regular file (directory,
    // FIFO, device), gpsAccessDenied when it may not be read, gpsOutOfMemory beyond
    // MaxImageFileSize or for a declared size CheckedBitmapSize refuses,
    // gpsUnknownImageFormat for data no decoder here takes (BMP, JPEG, GIF, TIFF when
    // Qt has a plugin, PNG, ICO; only the first frame is read).
    void LoadFromFile(const QString& Filename);
    // Reads Stream from its position to its end (at most MaxImageFileSize bytes).
    void LoadFromStream(QIODevice& Stream);

    // A TVelkGPImage source: a deep copy of its pixels and its properties. Anything else
    // raises EConvertError "Cannot assign a %s to a %s".
    void Assign(const TPersistent* Source) override;
    // The platform graphic: a copy of Source (a null image raises gpsInvalidParameter).
    void Assign(const QImage& Source);

    // A new image of this class with its own copy of the pixels.
    std::unique_ptr<TVelkGPImage> Clone() const { return CloneAs<TVelkGPImage>(); }
    // A new image holding this one scaled (smoothly) to aWidth x aHeight.
    std::unique_ptr<TVelkGPImage> GetThumbnail(std::uint32_t aWidth, std::uint32_t aHeight,
                                               const TVelkGPImageAbort& Abort = {}) const;
    // 0 none, 1 rotate 90 (clockwise), 2 rotate 180, 3 rotate 270, 4 flip X, 5 rotate 90
    // and flip X, 6 rotate 180 and flip X (= flip Y), 7 rotate 270 and flip X. Other
    // values raise gpsInvalidParameter.
    void RotateFlip(int Value);

    // Saves through the encoder with Clsid (image_encoders.h). Files are written to a
    // temporary file renamed on success, so a failure never leaves a partial file.
    // Encoders Qt cannot write here raise gpsNotImplemented, an unknown Clsid
    // gpsUnknownImageFormat, a failed write gpsWin32Error.
    void SaveToFile(const QString& Filename, const QUuid& Clsid, const TVelkGPEncoderParameters* Params = nullptr);
    // The encoder whose FilenameExtension contains the file's extension (with its dot,
    // case-sensitively); none raises "No codec found for file ext \"<ext>\"".
    void SaveToFile(const QString& Filename);
    void SaveToStream(QIODevice& Stream, const QUuid& Clsid, const TVelkGPEncoderParameters* Params = nullptr);

    // The pixel rectangle (0, 0, Width, Height).
    TRect GetBounds() const;

    // Index of the first entry whose FormatID is aCodec, -1 when none.
    static int IndexOfCodec(const TVelkGPImageCodecInfos& Codecs, const QUuid& aCodec);

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    // Frees the canvas, then the pixels.
    void DestroyHandle() override;
    // The pixels, raising gpsInvalidParameter without a platform image.
    QImage& Image() const;
    // Installs Image (converted to the drawing format) with the properties a bitmap made
    // in memory has, after DestroyHandle.
    void SetHandle(QImage AImage);
    void SetResolution(float DpiX, float DpiY);

private:
    // Decodes Data; on success replaces the platform image (after DestroyHandle),
    // otherwise raises with none left.
    void LoadFromData(const QByteArray& Data);

    std::unique_ptr<QImage> FHandle;
    std::unique_ptr<TVelkGPCanvas> FCanvas;
    bool FEmbeddedColorManagement = false;
    QUuid FRawFormat;
    TVelkGPPixelFormatRec FPixelFormat;
    TVelkGPImageFlags FFlags;
    float FDpiX = 96;
    float FDpiY = 96;
};

} // namespace velk

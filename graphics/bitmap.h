#pragma once
// TVelkGPBitmap: an image that can be made at a size in 32-bit ARGB, read and written
// pixel by pixel, locked for direct access, and converted to and from Qt's bitmap and
// icon types (QImage, QIcon).

#include "graphics/image.h"

#include <QIcon>

namespace velk {

class TVelkGPBitmap : public TVelkGPImage {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A 1 x 1 transparent bitmap.
    explicit TVelkGPBitmap(TVelkGPCanvas* AOwner = nullptr);
    // A transparent bitmap of aWidth x aHeight (SetSize).
    TVelkGPBitmap(std::uint32_t aWidth, std::uint32_t aHeight);
    explicit TVelkGPBitmap(const QString& Filename, bool useEmbeddedColorManagement = false);
    explicit TVelkGPBitmap(QIODevice* Stream, bool useEmbeddedColorManagement = false);
    ~TVelkGPBitmap() override;

    // A new transparent bitmap; when either side is 0 both become 1. The old pixels and
    // any canvas are gone. Sizes CheckedBitmapSize refuses raise.
    void SetSize(std::uint32_t aWidth, std::uint32_t aHeight);
    // A different value re-creates the bitmap empty at the new size.
    void SetWidth(std::uint32_t Value);
    void SetHeight(std::uint32_t Value);
    // Each leaves the other as it was.
    void SetHorizontalResolution(float Value);
    void SetVerticalResolution(float Value);
    void SetDPIResolution(float DPIx, float DPIy);

    // Non-premultiplied ARGB. Outside the bitmap: gpsInvalidParameter.
    TVelkGPColor Pixels(std::int32_t X, std::int32_t Y) const;
    void SetPixels(std::int32_t X, std::int32_t Y, TVelkGPColor Value);

    // Copies of Qt's bitmap and icon types; a null bitmap or an icon without a raster
    // size raises gpsInvalidParameter. An icon gives its largest available size.
    void LoadFromBitmap(const QImage& Bitmap);
    void LoadFromIcon(const QIcon& Icon);
    // A Qt resource: ":/images/a.png", or "images/a.png" for the same.
    void LoadFromResourceName(const QString& ResName);

    // The pixels composited over BackgroundColor (a transparent background keeps them
    // as they are), as a premultiplied ARGB QImage.
    QImage SaveToBitmap(TVelkGPColor BackgroundColor = 0) const;
    // Needs the GUI thread (the icon holds a QPixmap).
    QIcon SaveToIcon() const;

    // Locks the pixels of the rectangle (Trunc of its left, top, width and height) in
    // aFormat (PixelFormat32bppARGB or PixelFormat32bppPARGB) and describes them in
    // Data. With ilfUserInputBuf the caller's Data.Scan0 and Data.Stride are the
    // buffer. UnlockBits ends the lock; under ilfWrite it writes the buffer back. One
    // lock at a time (a second raises gpsWrongState); other formats, a rectangle not
    // inside the bitmap, or no read/write flag raise gpsInvalidParameter.
    virtual void LockBits(const TRectF& aRect, TVelkGPImageLockFlags Flags, TVelkGPPixelFormatRec aFormat,
                          TVelkGPBitmapData& Data);
    // Data must be the lock's (gpsInvalidParameter otherwise); Data.Scan0 is cleared.
    virtual void UnlockBits(TVelkGPBitmapData& Data);

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    struct TLock;
    std::unique_ptr<TLock> FLock;
};

} // namespace velk

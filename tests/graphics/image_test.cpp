#include "graphics/bitmap.h"
#include "graphics/bitmap_size.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/image.h"
#include "graphics/image_encoders.h"
#include "graphics/pen.h"
#include "tests/graphics/gp_status_test_support.h"
#include "platform/exceptions.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sys/stat.h>

using namespace velk;
using velk::testing::MessageOf;
using velk::testing::StatusOf;

namespace {

QString StatusText(TVelkGPStatus Status)
{
    return EGDIPException::StatusMessage(Status);
}

QByteArray Encoded(const QImage& Image, const char* Format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Image.save(&buffer, Format));
    return bytes;
}

// A BMP header that declares Width x Height at 32 bits per pixel, without pixels.
QByteArray BmpHeader(qint32 Width, qint32 Height)
{
    QByteArray bytes(54, '\0');
    auto put32 = [&bytes](int At, qint32 Value) {
        for (int i = 0; i < 4; ++i)
            bytes[At + i] = char((Value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, Width);
    put32(22, Height);
    bytes[26] = 1;
    bytes[28] = 32;
    return bytes;
}

void WriteFile(const QString& Path, const QByteArray& Bytes)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

QImage TestPicture()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, 255));
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 255, 0, 128));
    return image;
}

TEST(TVelkGPImage, LoadsFilesWithTheirFormatAndResolution)
{
    QTemporaryDir dir;
    QImage picture = TestPicture();
    picture.setDotsPerMeterX(11811); // 300 dpi
    picture.setDotsPerMeterY(3937);  // 100 dpi
    WriteFile(dir.filePath(u"a.png"_qs), Encoded(picture, "PNG"));
    WriteFile(dir.filePath(u"a.jpg"_qs), Encoded(TestPicture(), "JPEG"));

    TVelkGPImage png(dir.filePath(u"a.png"_qs));
    EXPECT_EQ(png.Width(), 3u);
    EXPECT_EQ(png.Height(), 2u);
    EXPECT_EQ(png.ImageType(), itBitmap);
    EXPECT_EQ(png.RawFormat(), ImageFormat::PNG);
    EXPECT_EQ(png.PixelFormat(), pf32bppARGB);
    EXPECT_NEAR(png.HorizontalResolution(), 300, 0.01);
    EXPECT_NEAR(png.VerticalResolution(), 100, 0.01);
    EXPECT_EQ(png.Flags(), (TVelkGPImageFlags{ifHasAlpha, ifColorSpaceRGB, ifHasRealDPI, ifHasRealPixelSize,
                                              ifReadOnly}));
    EXPECT_EQ(png.Handle()->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(png.Handle()->pixel(0, 0), qRgba(255, 0, 0, 255));

    TVelkGPImage jpeg(dir.filePath(u"a.jpg"_qs));
    EXPECT_EQ(jpeg.RawFormat(), ImageFormat::JPEG);
    EXPECT_EQ(jpeg.PixelFormat(), pf24bppRGB);
    EXPECT_EQ(jpeg.BitsPerPixel(), 24);
    EXPECT_FALSE(jpeg.Flags().Contains(ifHasAlpha));
}

TEST(TVelkGPImage, RefusesWhatIsNoRegularImageFileAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"fifo"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = dir.filePath(u"large.png"_qs);
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(MaxImageFileSize + 1)); // sparse
    }
    WriteFile(dir.filePath(u"text.png"_qs), "not an image");
    WriteFile(dir.filePath(u"empty.png"_qs), {});
    WriteFile(dir.filePath(u"huge.bmp"_qs), BmpHeader(8000, 8000));
    WriteFile(dir.filePath(u"wide.bmp"_qs), BmpHeader(MaxBitmapSide + 1, 1));
    WriteFile(dir.filePath(u"flat.bmp"_qs), BmpHeader(1, 0));
    WriteFile(dir.filePath(u"a.svg"_qs), "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>");

    const struct {
        QString Path;
        TVelkGPStatus Status;
    } cases[] = {
        {dir.filePath(u"missing.png"_qs), gpsFileNotFound},
        {QString(), gpsFileNotFound},
        {dir.path(), gpsFileNotFound},
        {fifo, gpsFileNotFound},
        {u"/dev/zero"_qs, gpsFileNotFound},
        {large, gpsOutOfMemory},
        {dir.filePath(u"huge.bmp"_qs), gpsOutOfMemory},
        {dir.filePath(u"wide.bmp"_qs), gpsOutOfMemory},
        {dir.filePath(u"text.png"_qs), gpsUnknownImageFormat},
        {dir.filePath(u"empty.png"_qs), gpsUnknownImageFormat},
        {dir.filePath(u"flat.bmp"_qs), gpsUnknownImageFormat},
        {dir.filePath(u"a.svg"_qs), gpsUnknownImageFormat},
    };
    for (const auto& c : cases) {
        TVelkGPBitmap bitmap(2, 2);
        EXPECT_EQ(StatusOf([&] { bitmap.LoadFromFile(c.Path); }), c.Status) << c.Path.toStdString();
        EXPECT_EQ(bitmap.Handle(), nullptr) << c.Path.toStdString();
    }
}

// An endless stream of zero bytes.
class TZeroDevice : public QIODevice {
public:
    TZeroDevice() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* Data, qint64 MaxSize) override
    {
        std::memset(Data, 0, size_t(MaxSize));
        return MaxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

TEST(TVelkGPImage, LoadsStreamsFromTheirPositionWithinTheSizeLimit)
{
    QByteArray bytes = "prefix" + Encoded(TestPicture(), "PNG");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    TVelkGPImage image(&buffer);
    EXPECT_EQ(image.Width(), 3u);
    EXPECT_EQ(image.RawFormat(), ImageFormat::PNG);

    TZeroDevice endless;
    EXPECT_EQ(StatusOf([&] { image.LoadFromStream(endless); }), gpsOutOfMemory);
    EXPECT_EQ(image.Handle(), nullptr);

    EXPECT_EQ(TVelkGPImage(static_cast<QIODevice*>(nullptr)).Handle(), nullptr);
}

TEST(TVelkGPImage, OperationsWithoutPlatformImageRaise)
{
    TVelkGPImage image;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const std::function<void()> actions[] = {
        [&] { image.Width(); },
        [&] { image.Height(); },
        [&] { image.ImageType(); },
        [&] { image.HorizontalResolution(); },
        [&] { image.VerticalResolution(); },
        [&] { image.RawFormat(); },
        [&] { image.Flags(); },
        [&] { image.PixelFormat(); },
        [&] { image.GetBounds(); },
        [&] { image.Canvas(); },
        [&] { image.Clone(); },
        [&] { image.GetThumbnail(2, 2); },
        [&] { image.RotateFlip(1); },
        [&] { image.SaveToStream(buffer, ImageEncoderInfo(4).Clsid); },
    };
    for (const auto& action : actions)
        EXPECT_EQ(MessageOf<EGDIPException>(action), StatusText(gpsInvalidParameter));
}

TEST(TVelkGPImage, AssignCopiesImagesAndRefusesOtherSources)
{
    TVelkGPImage source;
    source.Assign(TestPicture());
    source.SetEmbeddedColorManagement(true);
    TVelkGPImage target;
    target.Assign(&source);
    EXPECT_TRUE(target.EmbeddedColorManagement());
    EXPECT_EQ(*target.Handle(), *source.Handle());
    EXPECT_NE(target.Handle()->constBits(), source.Handle()->constBits());
    EXPECT_EQ(target.RawFormat(), ImageFormat::MemoryBMP);

    TVelkGPPen pen;
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(&pen); }),
              u"Cannot assign a TVelkGPPen to a TVelkGPImage"_qs);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { target.Assign(QImage()); }), StatusText(gpsInvalidParameter));
    EXPECT_EQ(target.Handle(), nullptr);
}

TEST(TVelkGPImage, CloneIsIndependentOfItsSource)
{
    velk::testing::EnsureGuiApplication();
    TVelkGPBitmap source(4, 4);
    TVelkGPCanvas& canvas = source.Canvas();
    std::unique_ptr<TVelkGPImage> clone = source.Clone();
    ASSERT_NE(dynamic_cast<TVelkGPBitmap*>(clone.get()), nullptr);
    static_cast<TVelkGPBitmap&>(*clone).SetPixels(0, 0, 0xFF00FF00);
    EXPECT_EQ(source.Pixels(0, 0), 0u);
    clone.reset();
    canvas.Clear(0xFFFF0000);
    EXPECT_EQ(source.Pixels(3, 3), 0xFFFF0000);
}

TEST(TVelkGPImage, LoadingReplacesTheCanvas)
{
    velk::testing::EnsureGuiApplication();
    TVelkGPImage image;
    image.Assign(TestPicture());
    TVelkGPPen pen(&image.Canvas());
    EXPECT_EQ(pen.Owner(), &image.Canvas());
    image.Assign(TestPicture());
    EXPECT_EQ(pen.Owner(), nullptr); // the canvas it was made on is gone
}

TEST(TVelkGPImage, RotateFlipFollowsTheClassicCodes)
{
    // Where the red pixel (0, 0) and the pixel (1, 0) of a 3 x 2 image go.
    const struct {
        int Code;
        QSize Size;
        QPoint Red, Next;
    } cases[] = {
        {0, {3, 2}, {0, 0}, {1, 0}}, {1, {2, 3}, {1, 0}, {1, 1}}, {2, {3, 2}, {2, 1}, {1, 1}},
        {3, {2, 3}, {0, 2}, {0, 1}}, {4, {3, 2}, {2, 0}, {1, 0}}, {5, {2, 3}, {0, 0}, {0, 1}},
        {6, {3, 2}, {0, 1}, {1, 1}}, {7, {2, 3}, {1, 2}, {1, 1}},
    };
    const QImage picture = TestPicture().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (const auto& c : cases) {
        TVelkGPImage image;
        image.Assign(picture);
        image.RotateFlip(c.Code);
        EXPECT_EQ(image.Handle()->size(), c.Size) << c.Code;
        EXPECT_EQ(image.Handle()->pixel(c.Red), picture.pixel(0, 0)) << c.Code;
        EXPECT_EQ(image.Handle()->pixel(c.Next), picture.pixel(1, 0)) << c.Code;
    }
    TVelkGPImage image;
    image.Assign(picture);
    EXPECT_EQ(StatusOf([&] { image.RotateFlip(8); }), gpsInvalidParameter);
    EXPECT_EQ(StatusOf([&] { image.RotateFlip(-1); }), gpsInvalidParameter);
}

TEST(TVelkGPImage, ThumbnailsAreNewImagesOfTheGivenSize)
{
    TVelkGPImage image;
    image.Assign(TestPicture());
    const std::unique_ptr<TVelkGPImage> thumbnail = image.GetThumbnail(6, 1);
    EXPECT_EQ(thumbnail->Width(), 6u);
    EXPECT_EQ(thumbnail->Height(), 1u);
    EXPECT_EQ(image.Width(), 3u);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { image.GetThumbnail(6, 1, [] { return true; }); }),
              u"Operation was aborted in GDI+"_qs);
    EXPECT_EQ(StatusOf([&] { image.GetThumbnail(0, 1); }), gpsInvalidParameter);
}

TEST(TVelkGPImage, BoundsTruncateTowardZero)
{
    EXPECT_EQ(TruncBounds(0.5f, 0.5f, 10.7f, 10.7f), (TRect{0, 0, 11, 11}));
    EXPECT_EQ(TruncBounds(-0.5f, -1.5f, 2, 2), (TRect{0, -1, 1, 0}));
    EXPECT_EQ(TVelkGPBitmap(5, 3).GetBounds(), (TRect{0, 0, 5, 3}));
}

TEST(TVelkGPImage, EmbeddedColorManagementSignalsChangesOnly)
{
    TVelkGPImage image;
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    image.SetEmbeddedColorManagement(false);
    image.SetEmbeddedColorManagement(true);
    image.SetEmbeddedColorManagement(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(image.EmbeddedColorManagement());
}

} // namespace

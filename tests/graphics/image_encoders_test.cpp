#include "graphics/bitmap.h"
#include "graphics/gp_exception.h"
#include "graphics/image_encoders.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace velk;
using velk::testing::MessageOf;

namespace {

QString StatusText(TVelkGPStatus Status)
{
    return EGDIPException::StatusMessage(Status);
}

// Opaque, so every encoder keeps the colours.
QImage OpaquePicture()
{
    QImage image(8, 6, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 40, 200));
    return image;
}

TEST(ImageEncoderList, HoldsTheFiveBuiltInEncodersInOrder)
{
    const struct {
        const char16_t* Clsid;
        const QUuid& FormatID;
        const char16_t* Name;
        const char16_t* Extensions;
        const char16_t* MimeType;
    } expected[] = {
        {u"{557CF400-1A04-11D3-9A73-0000F81EF32E}", ImageFormat::BMP, u"Built-in BMP Codec", u"*.BMP;*.DIB;*.RLE",
         u"image/bmp"},
        {u"{557CF401-1A04-11D3-9A73-0000F81EF32E}", ImageFormat::JPEG, u"Built-in JPEG Codec",
         u"*.JPG;*.JPEG;*.JPE;*.JFIF", u"image/jpeg"},
        {u"{557CF402-1A04-11D3-9A73-0000F81EF32E}", ImageFormat::GIF, u"Built-in GIF Codec", u"*.GIF",
         u"image/gif"},
        {u"{557CF405-1A04-11D3-9A73-0000F81EF32E}", ImageFormat::TIFF, u"Built-in TIFF Codec", u"*.TIF;*.TIFF",
         u"image/tiff"},
        {u"{557CF406-1A04-11D3-9A73-0000F81EF32E}", ImageFormat::PNG, u"Built-in PNG Codec", u"*.PNG",
         u"image/png"},
    };
    const TVelkGPImageCodecInfos list = ImageEncoderList();
    ASSERT_EQ(list.size(), std::size(expected));
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].Clsid, QUuid(QStringView(expected[i].Clsid))) << i;
        EXPECT_EQ(list[i].FormatID, expected[i].FormatID) << i;
        EXPECT_EQ(list[i].CodecName, QString::fromUtf16(expected[i].Name)) << i;
        EXPECT_EQ(list[i].FilenameExtension, QString::fromUtf16(expected[i].Extensions)) << i;
        EXPECT_EQ(list[i].MimeType, QString::fromUtf16(expected[i].MimeType)) << i;
        EXPECT_EQ(list[i].SigPattern.size(), qsizetype(list[i].SigCount * list[i].SigSize)) << i;
        EXPECT_EQ(ImageEncoderInfo(int(i)).Clsid, list[i].Clsid) << i;
    }
    EXPECT_EQ(list[4].SigPattern, QByteArray("\x89PNG\r\n\x1A\n"));
}

TEST(ImageEncoderInfo, RefusesUnknownFormats)
{
    for (const int format : {5, -1, 100})
        EXPECT_EQ(MessageOf<EGDIPException>([&] { ImageEncoderInfo(format); }), u"Invalid codec specified"_qs);
}

TEST(TVelkGPImage, IndexOfCodecFindsFormatIdentifiers)
{
    EXPECT_EQ(TVelkGPImage::IndexOfCodec({}, ImageFormat::PNG), -1);
    EXPECT_EQ(TVelkGPImage::IndexOfCodec(ImageEncoderList(), ImageFormat::JPEG), 1);
    EXPECT_EQ(TVelkGPImage::IndexOfCodec(ImageEncoderList(), ImageFormat::MemoryBMP), -1);
}

TEST(TVelkGPImage, RoundTripsThroughEveryEncoderQtWrites)
{
    const struct {
        int Format;
        int Tolerance; // -1: Qt cannot write it here
    } cases[] = {
        {0, 0},
        {1, 32},
        {2, -1},
        {3, CanEncode(ImageEncoderInfo(3).Clsid) ? 0 : -1},
        {4, 0},
    };
    EXPECT_FALSE(CanEncode(ImageEncoderInfo(2).Clsid)); // GIF is never written
    for (const auto& c : cases) {
        const TVelkGPImageCodecInfo encoder = ImageEncoderInfo(c.Format);
        TVelkGPBitmap source;
        source.LoadFromBitmap(OpaquePicture());
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (c.Tolerance < 0) {
            EXPECT_EQ(MessageOf<EGDIPException>([&] { source.SaveToStream(buffer, encoder.Clsid); }),
                      u"Not Implemented in GDI+"_qs);
            continue;
        }
        source.SaveToStream(buffer, encoder.Clsid);
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        TVelkGPBitmap loaded(&buffer);
        EXPECT_EQ(loaded.RawFormat(), encoder.FormatID) << c.Format;
        ASSERT_EQ(loaded.Width(), source.Width()) << c.Format;
        int worst = 0;
        for (int y = 0; y < int(source.Height()); ++y)
            for (int x = 0; x < int(source.Width()); ++x) {
                const QRgb a = source.Pixels(x, y);
                const QRgb b = loaded.Pixels(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        EXPECT_LE(worst, c.Tolerance) << c.Format;
    }
}

TEST(TVelkGPImage, JpegQualityIsTheOneEncoderParameter)
{
    TVelkGPBitmap source;
    source.LoadFromBitmap(OpaquePicture().scaled(64, 64));
    auto size = [&](int Quality) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const TVelkGPEncoderParameters params{Quality};
        source.SaveToStream(buffer, ImageEncoderInfo(1).Clsid, &params);
        return buffer.size();
    };
    EXPECT_LT(size(5), size(95));
}

TEST(TVelkGPImage, SaveToFileChoosesTheEncoderByExtensionCaseSensitively)
{
    QTemporaryDir dir;
    TVelkGPBitmap source;
    source.LoadFromBitmap(OpaquePicture());
    const struct {
        const char16_t* Name;
        const QUuid* Format; // nullptr: the message below
        QString Message;
    } cases[] = {
        {u"a.PNG", &ImageFormat::PNG, {}},
        {u"a.JPE", &ImageFormat::JPEG, {}},
        {u"a.DIB", &ImageFormat::BMP, {}},
        {u"a.png", nullptr, u"No codec found for file ext \".png\""_qs},
        {u"a", nullptr, u"No codec found for file ext \"\""_qs},
        {u"a.GIF", nullptr, u"Not Implemented in GDI+"_qs},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf16(c.Name));
        if (!c.Format) {
            EXPECT_EQ(MessageOf<EGDIPException>([&] { source.SaveToFile(path); }), c.Message);
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        source.SaveToFile(path);
        EXPECT_EQ(TVelkGPBitmap(path).RawFormat(), *c.Format);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary files left behind
}

TEST(TVelkGPImage, SaveFailuresLeaveNoFile)
{
    QTemporaryDir dir;
    TVelkGPBitmap source;
    const QString path = dir.filePath(u"missing/a.PNG"_qs);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { source.SaveToFile(path, ImageEncoderInfo(4).Clsid); })
                  .startsWith(u"GDI+ Win32 Error: "_qs),
              true);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { source.SaveToFile(dir.filePath(u"b"_qs), QUuid()); }),
              StatusText(gpsUnknownImageFormat));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace

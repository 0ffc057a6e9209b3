#include "svg/data_uri.h"
#include "graphics/bitmap.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(SVGDecodeDataURI, Base64ImagesAreDecodedInMemory)
{
    struct Case {
        const char16_t* Text;
        const char* MediaType;
        const char* Data; // nullptr: not decoded
    } cases[] = {
        {u"data:image/png;base64,aGVsbG8=", "image/png", "hello"},
        {u" DATA:Image/JPEG;BASE64,aGVsbG8= ", "Image/JPEG", "hello"},
        {u"data:image/png;charset=utf-8;base64,aGVsbG8", "image/png", "hello"}, // padding optional
        // Line breaks, and the spaces XML attribute normalisation makes of them.
        {u"data:image/png;base64,aGVs\r\nbG8=", "image/png", "hello"},
        {u"data:image/png;base64,aGVs bG8=", "image/png", "hello"},
        // Not decoded: malformed base64, other media types, no base64, no data.
        {u"data:image/png;base64,aGV$bG8=", "image/png", nullptr},
        {u"data:image/png;base64,aGVsbG8=é", "image/png", nullptr},
        {u"data:image/png;base64,", "image/png", nullptr},
        {u"data:text/plain;base64,aGVsbG8=", "text/plain", nullptr},
        {u"data:;base64,aGVsbG8=", "text/plain", nullptr},
        {u"data:base64,aGVsbG8=", "text/plain", nullptr},
        {u"data:image/png,hello", "image/png", nullptr},
        {u"data:image/png;ba\u017Fe64,aGVsbG8=", "image/png", nullptr}, // the long s folds to "s" in Unicode
        {u"data:image/png;base64", "", nullptr},    // no ",": not a data: URI
        {u"image.png", "", nullptr},
        {u"", "", nullptr},
    };
    for (const Case& c : cases) {
        const TSVGDataURI uri = SVGDecodeDataURI(c.Text);
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(uri.MediaType, c.MediaType) << context;
        EXPECT_EQ(uri.Ok, c.Data != nullptr) << context;
        EXPECT_EQ(uri.Data, c.Data ? QByteArray(c.Data) : QByteArray()) << context;
    }
}

QString DataURI(const char* MediaType, const QImage& Image, const char* Format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Image.save(&buffer, Format));
    return u"data:"_qs + QLatin1StringView(MediaType) + u";base64,"_qs + QString::fromLatin1(bytes.toBase64());
}

TEST(SVGDataURIToBitmap, LoadsEmbeddedImages)
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(0xFF204080);
    const struct {
        QString URI;
        QUuid Format;
    } cases[] = {
        {DataURI("image/png", image, "PNG"), ImageFormat::PNG},
        {DataURI("image/jpeg", image, "JPEG"), ImageFormat::JPEG},
        {DataURI("image/png", image, "BMP"), ImageFormat::BMP}, // the bytes decide
    };
    for (const auto& c : cases) {
        TVelkGPBitmap bitmap;
        ASSERT_TRUE(SVGDataURIToBitmap(c.URI, bitmap));
        EXPECT_EQ(bitmap.Width(), 4u);
        EXPECT_EQ(bitmap.Height(), 3u);
        EXPECT_EQ(bitmap.RawFormat(), c.Format);
        const QRgb pixel = bitmap.Pixels(1, 1);
        EXPECT_NEAR(qBlue(pixel), 0x80, 4);
        EXPECT_NEAR(qRed(pixel), 0x20, 4);
    }
}

TEST(SVGDataURIToBitmap, FailuresLeaveTheBitmapAsItWas)
{
    QByteArray huge(54, '\0'); // a BMP header declaring 20000 x 20000 pixels
    huge[0] = 'B';
    huge[1] = 'M';
    huge[10] = 54;
    huge[14] = 40;
    huge[18] = char(0x20);
    huge[19] = char(0x4E);
    huge[22] = char(0x20);
    huge[23] = char(0x4E);
    huge[26] = 1;
    huge[28] = 32;
    const QString cases[] = {
        u"data:image/png;base64,iVBOR$w0KGgo="_qs,        // malformed base64
        u"data:image/png;base64,aGVsbG8="_qs,             // not an image
        u"data:text/plain;base64,aGVsbG8="_qs,            // not an image type
        u"data:image/bmp;base64,"_qs + QString::fromLatin1(huge.toBase64()), // too large
        u"image.png"_qs,
    };
    for (const QString& uri : cases) {
        TVelkGPBitmap bitmap(2, 2);
        bitmap.SetPixels(1, 1, 0xFF123456);
        EXPECT_FALSE(SVGDataURIToBitmap(uri, bitmap)) << uri.left(40).toStdString();
        ASSERT_NE(bitmap.Handle(), nullptr);
        EXPECT_EQ(bitmap.Width(), 2u);
        EXPECT_EQ(bitmap.Pixels(1, 1), 0xFF123456u);
    }
}

} // namespace

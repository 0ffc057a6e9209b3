#include "svg/data_uri.h"
#include "tests/support/test_support.h"

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

} // namespace

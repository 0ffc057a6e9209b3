#include "svg/data_uri.h"

#include "graphics/bitmap.h"
#include "graphics/gp_exception.h"
#include "svg/trim.h"

#include <QBuffer>

#include <string_view>

namespace velk {

namespace {

constexpr std::u16string_view Scheme = u"data:";

// The data without blanks, as Latin-1: a character outside Latin-1 becomes "?", which
// is not base64 either.
QByteArray Base64Text(QStringView Data)
{
    QByteArray result;
    result.reserve(Data.size());
    for (const QChar c : Data)
        if (!SVGIsBlank(c))
            result += c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    return result;
}

} // namespace

TSVGDataURI SVGDecodeDataURI(QStringView Text)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGStartsWithASCII(text, Scheme))
        return {};
    const auto schemeSize = static_cast<qsizetype>(Scheme.size());
    const qsizetype comma = text.indexOf(u',', schemeSize);
    if (comma < 0)
        return {};

    TSVGDataURI result;
    result.MediaType = u"text/plain"_qs;
    bool base64 = false;
    bool first = true;
    for (const QStringView item : text.sliced(schemeSize, comma - schemeSize).tokenize(u';')) {
        if (first && item.contains(u'/'))
            result.MediaType = item.toString();
        else if (SVGSameTextASCII(item, u"base64"))
            base64 = true;
        first = false;
    }
    if (!base64 || !SVGStartsWithASCII(result.MediaType, u"image/"))
        return result;

    QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(Base64Text(text.sliced(comma + 1)), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded && !decoded.decoded.isEmpty()) {
        result.Data = std::move(decoded.decoded);
        result.Ok = true;
    }
    return result;
}

bool SVGDataURIToBitmap(QStringView URI, TVelkGPBitmap& Bitmap)
{
    TSVGDataURI uri = SVGDecodeDataURI(URI);
    if (!uri.Ok)
        return false;
    QBuffer buffer(&uri.Data);
    buffer.open(QIODevice::ReadOnly);
    // Loaded into a bitmap of our own first: a failed load leaves its target empty.
    TVelkGPBitmap loaded;
    try {
        loaded.LoadFromStream(buffer);
    } catch (const EGDIPException&) {
        return false;
    }
    Bitmap.Assign(&loaded);
    return true;
}

} // namespace velk

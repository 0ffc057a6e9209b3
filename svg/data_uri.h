#pragma once
// data: URIs of embedded images ("data:image/png;base64,iVBORw0..."), decoded in memory.
// The image element hands the decoded bytes to the bitmap loader, which recognises the
// format from the bytes themselves; nothing is ever written to the file system.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace velk {

class TVelkGPBitmap;

struct TSVGDataURI {
    // The media type of the header ("image/png"), "text/plain" when the header names
    // none, empty when the text is not a data: URI.
    QString MediaType;
    // The decoded bytes when Ok.
    QByteArray Data;
    // True when the URI held base64 image data that decoded to at least one byte.
    bool Ok = false;
};

// Text (trimmed) must begin with "data:" (any case). The header runs from there to the
// first ","; a text without "," is not a data: URI. The header's items, separated by
// ";", are the media type (the first item, when it holds a "/"), "base64" (any case)
// and parameters such as "charset=..." that change nothing. Only a media type beginning
// with "image/" (any case) with base64 data is decoded: blanks (line breaks, and the
// spaces that XML attribute normalisation leaves for them) are removed, and the rest
// must be valid base64 (RFC 4648 alphabet; padding optional). Anything else, malformed
// base64 included, gives Ok false and no Data.
TSVGDataURI SVGDecodeDataURI(QStringView Text);

// Decodes URI (SVGDecodeDataURI) and loads the bytes into Bitmap. False, with Bitmap
// unchanged, when the URI holds no image data or the data is no image a bitmap loads
// (unknown format, corrupt, too large).
bool SVGDataURIToBitmap(QStringView URI, TVelkGPBitmap& Bitmap);

} // namespace velk

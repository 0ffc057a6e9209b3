#include "graphics/image_encoders.h"

#include "graphics/gp_exception.h"
#include "graphics/image.h"

#include <QImageWriter>

#include <array>

namespace velk {

namespace {

struct TEncoderEntry {
    const char16_t* Clsid;
    const QUuid* FormatID;
    const char16_t* Name;
    const char16_t* Extensions;
    const char16_t* MimeType;
    const char* QtFormat;
    // SigCount signatures of equal size, one after the other, and their masks.
    std::uint32_t SigCount;
    QByteArrayView Signatures;
};

const std::array<TEncoderEntry, 5>& Entries()
{
    static const std::array<TEncoderEntry, 5> entries{{
        {u"{557CF400-1A04-11D3-9A73-0000F81EF32E}", &ImageFormat::BMP, u"BMP", u"*.BMP;*.DIB;*.RLE",
         u"image/bmp", "bmp", 1, "BM"},
        {u"{557CF401-1A04-11D3-9A73-0000F81EF32E}", &ImageFormat::JPEG, u"JPEG", u"*.JPG;*.JPEG;*.JPE;*.JFIF",
         u"image/jpeg", "jpeg", 1, "\xFF\xD8"},
        {u"{557CF402-1A04-11D3-9A73-0000F81EF32E}", &ImageFormat::GIF, u"GIF", u"*.GIF", u"image/gif", "gif", 2,
         "GIF89aGIF87a"},
        {u"{557CF405-1A04-11D3-9A73-0000F81EF32E}", &ImageFormat::TIFF, u"TIFF", u"*.TIF;*.TIFF", u"image/tiff",
         "tiff", 2, "IIMM"},
        {u"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &ImageFormat::PNG, u"PNG", u"*.PNG", u"image/png", "png", 1,
         "\x89PNG\r\n\x1A\n"},
    }};
    return entries;
}

TVelkGPImageCodecInfos MakeEncoderList()
{
    TVelkGPImageCodecInfos result;
    for (const TEncoderEntry& entry : Entries()) {
        TVelkGPImageCodecInfo info;
        info.Clsid = QUuid(QStringView(entry.Clsid));
        info.FormatID = *entry.FormatID;
        const QString name = QString::fromUtf16(entry.Name);
        info.CodecName = u"Built-in "_qs + name + u" Codec"_qs;
        info.FormatDescription = name;
        info.FilenameExtension = QString::fromUtf16(entry.Extensions);
        info.MimeType = QString::fromUtf16(entry.MimeType);
        info.Flags = icfEncoder | icfDecoder | icfSupportBitmap | icfBuiltin;
        info.Version = 1;
        info.SigCount = entry.SigCount;
        info.SigSize = static_cast<std::uint32_t>(entry.Signatures.size()) / entry.SigCount;
        info.SigPattern = entry.Signatures.toByteArray();
        info.SigMask = QByteArray(info.SigPattern.size(), '\xFF');
        result.push_back(std::move(info));
    }
    return result;
}

const TVelkGPImageCodecInfos& Encoders()
{
    static const TVelkGPImageCodecInfos encoders = MakeEncoderList();
    return encoders;
}

} // namespace

TVelkGPImageCodecInfos ImageEncoderList()
{
    return Encoders();
}

TVelkGPImageCodecInfo ImageEncoderInfo(int Format)
{
    static const std::array<const QUuid*, 5> formats{&ImageFormat::BMP, &ImageFormat::JPEG, &ImageFormat::GIF,
                                                     &ImageFormat::TIFF, &ImageFormat::PNG};
    const TVelkGPImageCodecInfos& encoders = Encoders();
    const int index = Format >= 0 && Format < int(formats.size())
                          ? TVelkGPImage::IndexOfCodec(encoders, *formats[std::size_t(Format)])
                          : -1;
    if (index < 0)
        throw EGDIPException(QString::fromUtf16(messages::GPInvalidCodec));
    return encoders[std::size_t(index)];
}

QByteArray EncoderQtFormat(const QUuid& Clsid)
{
    for (const TEncoderEntry& entry : Entries())
        if (QUuid(QStringView(entry.Clsid)) == Clsid)
            return entry.QtFormat;
    return {};
}

bool CanEncode(const QUuid& Clsid)
{
    const QByteArray format = EncoderQtFormat(Clsid);
    return !format.isEmpty() && QImageWriter::supportedImageFormats().contains(format);
}

} // namespace velk

#pragma once
// Value types of the image classes: image kinds, pixel formats and their codes, image
// and lock flags, the records exchanged when locking pixels and listing encoders, and
// the colour adjustments of image attributes. Ordinals and codes keep the classic 2-D
// API's numbering (GDI+), so stored values and codes read as they always have.

#include "graphics/gp_types.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <array>
#include <cstdint>
#include <vector>

namespace velk {

enum TVelkGPImageType { itUnknown, itBitmap, itMetafile };

enum TVelkGPPixelFormat {
    pfUndefined, pf1bppIndexed, pf4bppIndexed, pf8bppIndexed, pf16bppGrayScale, pf16bppRGB555,
    pf16bppRGB565, pf16bppARGB1555, pf24bppRGB, pf32bppRGB, pf32bppARGB, pf32bppPARGB, pf48bppRGB,
    pf64bppARGB, pf64bppPARGB
};

enum TVelkGPPixelFormatFlag { pffIndexed, pffGDI, pffAlpha, pffPreMultipliedAlpha, pffExtended, pffCanonical };
using TVelkGPPixelFormatFlags = TSet<TVelkGPPixelFormatFlag>;

enum TVelkGPImageFlag {
    ifScalable, ifHasAlpha, ifHasTranslucent, ifPartiallyScalable, ifColorSpaceRGB, ifColorSpaceCMYK,
    ifColorSpaceGRAY, ifColorSpaceYCBCR, ifColorSpaceYCCK, ifUnused1, ifUnused2, ifUnused3, ifHasRealDPI,
    ifHasRealPixelSize, ifUnused4, ifUnused5, ifReadOnly, ifCaching
};
using TVelkGPImageFlags = TSet<TVelkGPImageFlag>;

// Bits 1, 2, 4: ilfRead, ilfWrite, ilfUserInputBuf (the caller's Scan0 and Stride are
// the buffer).
enum TVelkGPImageLockFlag { ilfRead, ilfWrite, ilfUserInputBuf };
using TVelkGPImageLockFlags = TSet<TVelkGPImageLockFlag>;

enum TVelkGPColorAdjustType { catDefault, catBitmap, catBrush, catPen, catText };
enum TVelkGPColorMatrixFlag { cmfDefault, cmfSkipGrays, cmfAltGray };
enum TVelkGPColorChannelFlag { ccfC, ccfM, ccfY, ccfK };

// A pixel-format code: the low byte is the TVelkGPPixelFormat ordinal, bits 8-15 the
// bits per pixel, bits 16-23 the TVelkGPPixelFormatFlags.
struct TVelkGPPixelFormatRec {
    std::uint32_t PixelFormat = 0;

    TVelkGPPixelFormat Format() const;
    int BitsPerPixel() const { return static_cast<int>((PixelFormat >> 8) & 0xFF); }
    TVelkGPPixelFormatFlags Flags() const { return TVelkGPPixelFormatFlags::FromValue((PixelFormat >> 16) & 0xFF); }
    bool operator==(const TVelkGPPixelFormatRec&) const = default;
};

// The classic codes of the formats this library deals in.
inline constexpr TVelkGPPixelFormatRec PixelFormat32bppARGB{0x0026200A};
inline constexpr TVelkGPPixelFormatRec PixelFormat32bppPARGB{0x000E200B};

// Locked pixels: Width x Height pixels from Scan0, rows Stride bytes apart. Reserved
// identifies the lock to UnlockBits.
struct TVelkGPBitmapData {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::int32_t Stride = 0;
    TVelkGPPixelFormatRec PixelFormat;
    void* Scan0 = nullptr;
    void* Reserved = nullptr;
};

// TVelkGPImageCodecInfo::Flags bits.
using TVelkGPImageCodecFlags = std::uint32_t;
inline constexpr TVelkGPImageCodecFlags icfEncoder = 0x1;
inline constexpr TVelkGPImageCodecFlags icfDecoder = 0x2;
inline constexpr TVelkGPImageCodecFlags icfSupportBitmap = 0x4;
inline constexpr TVelkGPImageCodecFlags icfBuiltin = 0x10000;

// One image encoder. The texts are owned by the record; SigPattern and SigMask hold
// SigCount signatures of SigSize bytes each, one after the other.
struct TVelkGPImageCodecInfo {
    QUuid Clsid;
    QUuid FormatID;
    QString CodecName;
    QString DllName;
    QString FormatDescription;
    // Semicolon-separated wildcard patterns ("*.JPG;*.JPEG").
    QString FilenameExtension;
    QString MimeType;
    TVelkGPImageCodecFlags Flags = 0;
    std::uint32_t Version = 0;
    std::uint32_t SigCount = 0;
    std::uint32_t SigSize = 0;
    QByteArray SigPattern;
    QByteArray SigMask;
};
using TVelkGPImageCodecInfos = std::vector<TVelkGPImageCodecInfo>;

// Encoder parameters: only the JPEG quality is understood (0-100; -1 the encoder's own
// default); other encoders ignore it.
struct TVelkGPEncoderParameters {
    int Quality = -1;
};

// A 5x5 colour matrix in row order, applied to row vectors (R, G, B, A, 1) of values in
// 0..1: m44 scales alpha, row 5 adds offsets. Also addressable as M[row][column].
struct TVelkGPColorMatrix {
    std::array<std::array<float, 5>, 5> M{};

    float& operator()(int Row, int Column) { return M[Row][Column]; }
    float operator()(int Row, int Column) const { return M[Row][Column]; }
    // Fills the matrix with the identity.
    void Identity();
    static TVelkGPColorMatrix IdentityMatrix();
    bool operator==(const TVelkGPColorMatrix&) const = default;
};

struct TVelkGPColorKey {
    TVelkGPColor LowColor = 0;
    TVelkGPColor HighColor = 0;
    bool operator==(const TVelkGPColorKey&) const = default;
};

struct TVelkGPColorMap {
    TVelkGPColor OldColor = 0;
    TVelkGPColor NewColor = 0;
    bool operator==(const TVelkGPColorMap&) const = default;
};
using TVelkGPColorMaps = std::vector<TVelkGPColorMap>;

template <> struct EnumNames<TVelkGPImageType> {
    static constexpr std::array<std::u16string_view, 3> Names{u"itUnknown", u"itBitmap", u"itMetafile"};
};
template <> struct EnumNames<TVelkGPPixelFormat> {
    static constexpr std::array<std::u16string_view, 15> Names{
        u"pfUndefined",     u"pf1bppIndexed",  u"pf4bppIndexed", u"pf8bppIndexed", u"pf16bppGrayScale",
        u"pf16bppRGB555",   u"pf16bppRGB565",  u"pf16bppARGB1555", u"pf24bppRGB",  u"pf32bppRGB",
        u"pf32bppARGB",     u"pf32bppPARGB",   u"pf48bppRGB",    u"pf64bppARGB",   u"pf64bppPARGB"};
};
template <> struct EnumNames<TVelkGPPixelFormatFlag> {
    static constexpr std::array<std::u16string_view, 6> Names{u"pffIndexed", u"pffGDI", u"pffAlpha",
                                                              u"pffPreMultipliedAlpha", u"pffExtended",
                                                              u"pffCanonical"};
};
template <> struct EnumNames<TVelkGPImageFlag> {
    static constexpr std::array<std::u16string_view, 18> Names{
        u"ifScalable",        u"ifHasAlpha",         u"ifHasTranslucent", u"ifPartiallyScalable",
        u"ifColorSpaceRGB",   u"ifColorSpaceCMYK",   u"ifColorSpaceGRAY", u"ifColorSpaceYCBCR",
        u"ifColorSpaceYCCK",  u"ifUnused1",          u"ifUnused2",        u"ifUnused3",
        u"ifHasRealDPI",      u"ifHasRealPixelSize", u"ifUnused4",        u"ifUnused5",
        u"ifReadOnly",        u"ifCaching"};
};
template <> struct EnumNames<TVelkGPImageLockFlag> {
    static constexpr std::array<std::u16string_view, 3> Names{u"ilfRead", u"ilfWrite", u"ilfUserInputBuf"};
};
template <> struct EnumNames<TVelkGPColorAdjustType> {
    static constexpr std::array<std::u16string_view, 5> Names{u"catDefault", u"catBitmap", u"catBrush", u"catPen",
                                                              u"catText"};
};
template <> struct EnumNames<TVelkGPColorMatrixFlag> {
    static constexpr std::array<std::u16string_view, 3> Names{u"cmfDefault", u"cmfSkipGrays", u"cmfAltGray"};
};
template <> struct EnumNames<TVelkGPColorChannelFlag> {
    static constexpr std::array<std::u16string_view, 4> Names{u"ccfC", u"ccfM", u"ccfY", u"ccfK"};
};

} // namespace velk

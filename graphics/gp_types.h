#pragma once
// Value types of the drawing backend: the colour format and the enumerations its pens,
// brushes, fonts, paths and regions are configured with. Ordinals keep the classic 2-D
// API numbering (GDI+), so that stored values and published properties read as they
// always have; Qt sees them only through the backend classes.

#include "graphics/fill_mode.h"
#include "platform/enum_names.h"
#include "platform/set.h"

#include <cstdint>

namespace velk {

// 32-bit ARGB: alpha in bits 24-31, then red, green, blue (0xFF000000 is opaque black).
using TVelkGPColor = std::uint32_t;

enum TVelkGPBrushKind { bkNone, bkSolid, bkGradient, bkBitmap, bkHatchFill };
enum TVelkGPGradientStyle { gsLinear, gsRadial };
enum TVelkGPLinearGradientShape { lgsNormal, lgsBell, lgsTriangular };
enum TVelkGPWrapMode { wmTile, wmTileFlipX, wmTileFlipY, wmTileFlipXY, wmClamp };

enum TVelkGPHatchStyle {
    hsHorizontal, hsVertical, hsForwardDiagonal, hsBackwardDiagonal, hsCross, hsDiagonalCross,
    hs05Percent, hs10Percent, hs20Percent, hs25Percent, hs30Percent, hs40Percent, hs50Percent,
    hs60Percent, hs70Percent, hs75Percent, hs80Percent, hs90Percent, hsLightDownwardDiagonal,
    hsLightUpwardDiagonal, hsDarkDownwardDiagonal, hsDarkUpwardDiagonal, hsWideDownwardDiagonal,
    hsWideUpwardDiagonal, hsLightVertical, hsLightHorizontal, hsNarrowVertical, hsNarrowHorizontal,
    hsDarkVertical, hsDarkHorizontal, hsDashedDownwardDiagonal, hsDashedUpwardDiagonal,
    hsDashedHorizontal, hsDashedVertical, hsSmallConfetti, hsLargeConfetti, hsZigZag, hsWave,
    hsDiagonalBrick, hsHorizontalBrick, hsWeave, hsPlaid, hsDivot, hsDottedGrid, hsDottedDiamond,
    hsShingle, hsTrellis, hsSphere, hsSmallGrid, hsSmallCheckerBoard, hsLargeCheckerBoard,
    hsOutlinedDiamond, hsSolidDiamond
};

// Line caps in declaration order; the classic API numbers them 0, 1, 2, 3, 16 ... 20, 255
// (LineCapCode).
enum TVelkGPLineCap {
    lcFlat, lcSquare, lcRound, lcTriangle, lcNoAnchor, lcSquareAnchor, lcRoundAnchor,
    lcDiamondAnchor, lcArrowAnchor, lcCustom
};
// dcSquare (after the classic values) caps dashes like lcSquare, as SVG caps them.
enum TVelkGPDashCap { dcFlat, dcUnused, dcRound, dcTriangle, dcSquare };
enum TVelkGPStrokeJoin { sjMiter, sjBevel, sjRound, sjMiterClipped };
enum TVelkGPStrokeDash { sdSolid, sdDash, sdDot, sdDashDot, sdDashDotDot, sdCustom };
enum TVelkGPPenAlignment { paCenter, paInset };

// TVelkGPFillMode (fmEvenOdd, fmNonZero) is the path data's fill mode: graphics/fill_mode.h.
enum TVelkGPRegionCombineMode { cmReplace, cmIntersect, cmUnion, cmXor, cmExclude, cmComplement };
enum TVelkGPUnit { uWorld, uDisplay, uPixel, uPoint, uInch, uDocument, uMillimeter };

// The font style set of the UI framework, shared by backend and SVG fonts.
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
// How the UI framework asks for glyphs to be rendered.
enum TFontQuality {
    fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};

// How the canvas blends what it draws with what is there.
enum TVelkGPCompositingMode { cmSourceOver, cmSourceCopy };
enum TVelkGPTextRenderingHint {
    trhSystemDefault, trhSingleBitPerPixelGridFit, trhSingleBitPerPixel, trhAntiAliasGridFit, trhAntiAlias,
    trhClearTypeGridFit
};
// Text contrast (gamma of anti-aliased text), 0 ... 12.
using TVelkGPTextContrast = std::uint8_t;
inline constexpr TVelkGPTextContrast MaxTextContrast = 12;
enum TVelkGPFillTextFlag { ftRightToLeft };
using TVelkGPFillTextFlags = TSet<TVelkGPFillTextFlag>;

// The classic API's number for a line cap.
constexpr int LineCapCode(TVelkGPLineCap Cap) noexcept
{
    constexpr int codes[] = {0, 1, 2, 3, 16, 17, 18, 19, 20, 255};
    return codes[Cap];
}

template <> struct EnumNames<TVelkGPBrushKind> {
    static constexpr std::array<std::u16string_view, 5> Names{u"bkNone", u"bkSolid", u"bkGradient", u"bkBitmap",
                                                              u"bkHatchFill"};
};
template <> struct EnumNames<TVelkGPGradientStyle> {
    static constexpr std::array<std::u16string_view, 2> Names{u"gsLinear", u"gsRadial"};
};
template <> struct EnumNames<TVelkGPLinearGradientShape> {
    static constexpr std::array<std::u16string_view, 3> Names{u"lgsNormal", u"lgsBell", u"lgsTriangular"};
};
template <> struct EnumNames<TVelkGPWrapMode> {
    static constexpr std::array<std::u16string_view, 5> Names{u"wmTile", u"wmTileFlipX", u"wmTileFlipY",
                                                              u"wmTileFlipXY", u"wmClamp"};
};
template <> struct EnumNames<TVelkGPHatchStyle> {
    static constexpr std::array<std::u16string_view, 53> Names{
        u"hsHorizontal", u"hsVertical", u"hsForwardDiagonal", u"hsBackwardDiagonal", u"hsCross",
        u"hsDiagonalCross", u"hs05Percent", u"hs10Percent", u"hs20Percent", u"hs25Percent", u"hs30Percent",
        u"hs40Percent", u"hs50Percent", u"hs60Percent", u"hs70Percent", u"hs75Percent", u"hs80Percent",
        u"hs90Percent", u"hsLightDownwardDiagonal", u"hsLightUpwardDiagonal", u"hsDarkDownwardDiagonal",
        u"hsDarkUpwardDiagonal", u"hsWideDownwardDiagonal", u"hsWideUpwardDiagonal", u"hsLightVertical",
        u"hsLightHorizontal", u"hsNarrowVertical", u"hsNarrowHorizontal", u"hsDarkVertical",
        u"hsDarkHorizontal", u"hsDashedDownwardDiagonal", u"hsDashedUpwardDiagonal", u"hsDashedHorizontal",
        u"hsDashedVertical", u"hsSmallConfetti", u"hsLargeConfetti", u"hsZigZag", u"hsWave",
        u"hsDiagonalBrick", u"hsHorizontalBrick", u"hsWeave", u"hsPlaid", u"hsDivot", u"hsDottedGrid",
        u"hsDottedDiamond", u"hsShingle", u"hsTrellis", u"hsSphere", u"hsSmallGrid", u"hsSmallCheckerBoard",
        u"hsLargeCheckerBoard", u"hsOutlinedDiamond", u"hsSolidDiamond"};
};
template <> struct EnumNames<TVelkGPLineCap> {
    static constexpr std::array<std::u16string_view, 10> Names{
        u"lcFlat",         u"lcSquare",      u"lcRound",           u"lcTriangle",      u"lcNoAnchor",
        u"lcSquareAnchor", u"lcRoundAnchor", u"lcDiamondAnchor", u"lcArrowAnchor", u"lcCustom"};
};
template <> struct EnumNames<TVelkGPDashCap> {
    static constexpr std::array<std::u16string_view, 5> Names{u"dcFlat", u"dcUnused", u"dcRound", u"dcTriangle",
                                                              u"dcSquare"};
};
template <> struct EnumNames<TVelkGPStrokeJoin> {
    static constexpr std::array<std::u16string_view, 4> Names{u"sjMiter", u"sjBevel", u"sjRound",
                                                              u"sjMiterClipped"};
};
template <> struct EnumNames<TVelkGPStrokeDash> {
    static constexpr std::array<std::u16string_view, 6> Names{u"sdSolid",     u"sdDash",         u"sdDot",
                                                              u"sdDashDot", u"sdDashDotDot", u"sdCustom"};
};
template <> struct EnumNames<TVelkGPPenAlignment> {
    static constexpr std::array<std::u16string_view, 2> Names{u"paCenter", u"paInset"};
};
template <> struct EnumNames<TVelkGPRegionCombineMode> {
    static constexpr std::array<std::u16string_view, 6> Names{u"cmReplace", u"cmIntersect", u"cmUnion",
                                                              u"cmXor",     u"cmExclude",   u"cmComplement"};
};
template <> struct EnumNames<TVelkGPUnit> {
    static constexpr std::array<std::u16string_view, 7> Names{u"uWorld", u"uDisplay",  u"uPixel",     u"uPoint",
                                                              u"uInch",  u"uDocument", u"uMillimeter"};
};
template <> struct EnumNames<TFontStyle> {
    static constexpr std::array<std::u16string_view, 4> Names{u"fsBold", u"fsItalic", u"fsUnderline",
                                                              u"fsStrikeOut"};
};
template <> struct EnumNames<TFontQuality> {
    static constexpr std::array<std::u16string_view, 7> Names{
        u"fqDefault",     u"fqDraft",      u"fqProof",           u"fqNonAntialiased",
        u"fqAntialiased", u"fqClearType", u"fqClearTypeNatural"};
};

template <> struct EnumNames<TVelkGPCompositingMode> {
    static constexpr std::array<std::u16string_view, 2> Names{u"cmSourceOver", u"cmSourceCopy"};
};
template <> struct EnumNames<TVelkGPTextRenderingHint> {
    static constexpr std::array<std::u16string_view, 6> Names{
        u"trhSystemDefault", u"trhSingleBitPerPixelGridFit", u"trhSingleBitPerPixel", u"trhAntiAliasGridFit",
        u"trhAntiAlias",     u"trhClearTypeGridFit"};
};
template <> struct EnumNames<TVelkGPFillTextFlag> {
    static constexpr std::array<std::u16string_view, 1> Names{u"ftRightToLeft"};
};

} // namespace velk

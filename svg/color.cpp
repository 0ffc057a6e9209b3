#include "svg/color.h"

#include "platform/float_format.h"
#include "platform/numbers.h"
#include "svg/trim.h"
#include "svg/uri.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velk {

namespace {

// "FF" and up to 13 digits fit the 64-bit number the digits are read as, so a longer
// text would be a conversion error rather than a colour.
constexpr qsizetype MaxHexDigits = 13;

int HexDigitValue(char16_t C)
{
    if (C >= u'0' && C <= u'9')
        return C - u'0';
    if (C >= u'a' && C <= u'f')
        return C - u'a' + 10;
    if (C >= u'A' && C <= u'F')
        return C - u'A' + 10;
    return -1;
}

// The colour of the text after "#", or nothing when a letter or digit in it is not a
// hexadecimal digit or there are too many of them.
std::optional<TVelkGPColor> ParseHexColor(QStringView Text)
{
    std::array<int, MaxHexDigits> digits{};
    qsizetype count = 0;
    for (const QChar c : Text) {
        if (!c.isLetterOrNumber())
            continue; // other characters do not count
        const int digit = HexDigitValue(c.unicode());
        if (digit < 0 || count == MaxHexDigits)
            return std::nullopt;
        digits[static_cast<std::size_t>(count++)] = digit;
    }
    std::uint64_t value = 0xFF;
    for (qsizetype i = 0; i < count; ++i) {
        const int digit = digits[static_cast<std::size_t>(i)];
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (count == 3) // #rgb stands for #rrggbb
            value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return static_cast<TVelkGPColor>(value);
}

// One part of rgb(...): an integer, or a percentage of 255 (integer part, not rounded).
std::optional<TVelkGPColor> ParseRGBComponent(QStringView Part)
{
    const QStringView text = SVGTrim(Part);
    if (text.endsWith(u'%')) {
        double percent = 0;
        if (!TryStrToFloat(text.chopped(1), percent))
            return std::nullopt;
        return Trunc<TVelkGPColor>(std::clamp(percent, 0.0, 100.0) * 255 / 100);
    }
    std::int64_t value = 0;
    if (!TryStrToInt64(text, value))
        return std::nullopt;
    return static_cast<TVelkGPColor>(std::clamp<std::int64_t>(value, 0, 255));
}

// The colour of the text between "rgb(" and ")".
std::optional<TVelkGPColor> ParseRGBColor(QStringView Inside)
{
    TVelkGPColor color = 0xFF;
    int parts = 0;
    for (const QStringView part : Inside.tokenize(u',')) {
        const std::optional<TVelkGPColor> component = ParseRGBComponent(part);
        if (!component)
            return std::nullopt;
        color = color << 8 | *component;
        if (++parts == 3)
            return color;
    }
    return std::nullopt;
}

std::optional<TVelkGPColor> ParseColorValue(QStringView Text)
{
    if (Text.startsWith(u'#'))
        return ParseHexColor(Text.sliced(1));
    if (SVGStartsWithASCII(Text, u"rgb(") && Text.endsWith(u')'))
        return ParseRGBColor(Text.sliced(4, Text.size() - 5));
    return SVGFindColorKeyword(Text);
}

} // namespace

TVelkGPColor SVGParseColor(QStringView Text, TVelkGPColor Default, bool& IsNone, TVelkGPColor CurrentColor,
                           bool& Inherit)
{
    const QStringView text = SVGTrim(Text);
    IsNone = IsNone || text == u"none";
    const bool takes = SVGTakesStyleText(text, Inherit);
    if (SVGSameTextASCII(text, u"currentColor")) {
        IsNone = false;
        return CurrentColor;
    }
    if (!takes || text == u"none")
        return Default;
    IsNone = false;
    return ParseColorValue(text).value_or(Default);
}

TSVGPaint SVGParsePaint(QStringView Text, TVelkGPColor Default, TVelkGPColor CurrentColor)
{
    QStringView text = SVGTrim(Text);
    TSVGPaint paint;
    paint.Color = Default;
    // A reference: its ID, then what follows it is the fallback. Without a fallback the
    // paint is none until a paint server resolves the reference.
    if (SVGStartsWithASCII(text, u"url(") || SVGStartsWithASCII(text, u"uri(")) {
        const qsizetype close = text.indexOf(u')');
        if (close >= 0) {
            paint.URI = SVGParsePaintURI(text.first(close + 1));
            text = SVGTrim(text.sliced(close + 1));
        }
        if (close < 0 || text.isEmpty()) {
            paint.Kind = bkNone;
            return paint;
        }
    }
    bool isNone = false;
    bool inherit = false;
    paint.Color = SVGParseColor(text, Default, isNone, CurrentColor, inherit);
    paint.Kind = isNone ? bkNone : bkSolid;
    paint.CurrentColor = SVGSameTextASCII(text, u"currentColor");
    return paint;
}

QString SVGColorToStr(TVelkGPColor Color)
{
    return QStringLiteral("#%1").arg(Color & 0xFFFFFFu, 6, 16, QChar(u'0'));
}

TVelkGPColor SVGSetColorOpacity(TVelkGPColor Color, float Opacity)
{
    if (std::isnan(Opacity))
        return Color;
    const auto alpha = Round<TVelkGPColor>(std::clamp(static_cast<double>(Opacity), 0.0, 1.0) * 255);
    return (Color & 0xFFFFFFu) | alpha << 24;
}

} // namespace velk

#include "svg/angle.h"

#include "platform/float_format.h"
#include "platform/numbers.h"
#include "svg/trim.h"
#include "svg/xml_attributes.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace velk {

namespace {

// The quarter turns (0 to 3) of a glyph orientation text, or nothing.
std::optional<int> QuarterTurns(QStringView Text)
{
    QStringView text = SVGTrim(Text);
    if (text.size() >= 3 && SVGSameTextASCII(text.last(3), u"deg"))
        text.chop(3);
    double degrees = 0;
    if (!TryStrToFloat(text, degrees))
        return std::nullopt;
    const std::optional<int> turns = TryFloatToInt<int>(std::nearbyint(degrees / 90));
    if (!turns || *turns < 0 || *turns > 3)
        return std::nullopt;
    return turns;
}

} // namespace

float SVGParseAngle(QStringView Text, bool& Automatic, float Default)
{
    const QStringView text = SVGTrim(Text);
    Automatic = text == u"auto";
    if (Automatic)
        return Default;
    const QStringList words = SVGSplitStrings(text, u" \t\n\r");
    // Read as a float, so that the angle in radians (never larger) fits one too.
    float number = 0;
    if (words.isEmpty() || !TryStrToFloat(words[0], number))
        return Default;
    const QStringView unit = words.size() > 1 ? QStringView(words[1]) : QStringView();
    if (SVGSameTextASCII(unit, u"rad"))
        return number;
    const double factor = SVGSameTextASCII(unit, u"grad") ? std::numbers::pi / 200 : std::numbers::pi / 180;
    return static_cast<float>(number * factor);
}

TSVGGlyphOrientationHorizontal SVGParseGlyphOrientationHorizontal(QStringView Text)
{
    const std::optional<int> turns = QuarterTurns(Text);
    return turns ? static_cast<TSVGGlyphOrientationHorizontal>(oh0Deg + *turns) : ohNone;
}

TSVGGlyphOrientationVertical SVGParseGlyphOrientationVertical(QStringView Text)
{
    if (SVGTrim(Text) == u"auto")
        return ovAuto;
    const std::optional<int> turns = QuarterTurns(Text);
    return turns ? static_cast<TSVGGlyphOrientationVertical>(ov0Deg + *turns) : ovNone;
}

QString SVGGlyphOrientationToStr(TSVGGlyphOrientationHorizontal Value)
{
    if (Value < oh0Deg || Value > oh270Deg)
        return {};
    return QStringLiteral("%1deg").arg((Value - oh0Deg) * 90);
}

QString SVGGlyphOrientationToStr(TSVGGlyphOrientationVertical Value)
{
    if (Value == ovAuto)
        return QStringLiteral("auto");
    if (Value < ov0Deg || Value > ov270Deg)
        return {};
    return QStringLiteral("%1deg").arg((Value - ov0Deg) * 90);
}

} // namespace velk

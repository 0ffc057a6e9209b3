#include "svg/length_syntax.h"

#include "platform/float_format.h"
#include "svg/number_lists.h"
#include "svg/trim.h"

#include <cmath>

namespace velk {

namespace {

// A trimmed value cut into its unit and its number text.
struct TUnitText {
    TSVGUnit Unit;
    QStringView Number;
};

TUnitText SplitUnit(QStringView Text)
{
    const TSVGUnit unit = SVGStrToUnit(Text.size() > 1 ? Text.last(2) : QStringView());
    const qsizetype suffix = unit == suNone ? 0 : unit == suPercent ? 1 : 2;
    return {unit, Text.first(Text.size() - suffix)};
}

// The number of a trimmed pixel text times its unit factor; false when the number does
// not parse or the product is too large for a float.
bool ReadPixels(QStringView Text, TSVGUnit& Unit, const TSVGUnitFactors& UnitFactors, float& Value)
{
    const TUnitText split = SplitUnit(Text);
    Unit = split.Unit;
    float number = 0;
    if (!SVGTryParseNumber(split.Number, number))
        return false;
    Value = number * UnitFactors[split.Unit];
    return std::isfinite(Value);
}

// 12 * 1.2^k for k = -3..3.
constexpr std::array<std::u16string_view, 7> FontSizeKeywords{u"xx-small", u"x-small", u"small",   u"medium",
                                                              u"large",    u"x-large", u"xx-large"};
constexpr std::array<float, 7> FontSizes{static_cast<float>(12 / 1.728), static_cast<float>(12 / 1.44), 10, 12,
                                         14.4f, 17.28f, 20.736f};

constexpr float FontSizeStep = 1.2f;

} // namespace

TSVGUnit SVGStrToUnit(QStringView Suffix)
{
    if (Suffix.isEmpty())
        return suNone;
    for (int unit = suPixels; unit <= suFontXHeight; ++unit)
        if (SVGSameTextASCII(Suffix, SVGUnitSuffixes[static_cast<std::size_t>(unit)]))
            return static_cast<TSVGUnit>(unit);
    if ((Suffix.size() > 1 && Suffix.front() == u'%') || Suffix.back() == u'%')
        return suPercent;
    return suNone;
}

TSVGLength& SVGStrToLength(QStringView Text, TSVGLength& Length)
{
    const QStringView text = SVGTrim(Text);
    if (text.isEmpty())
        return Length;
    const TUnitText split = SplitUnit(text);
    // A text that is not a number leaves the length as it was: changing only its unit
    // would turn an initial 100% into 1 px.
    float number = 0;
    if (!SVGTryParseNumber(split.Number, number))
        return Length;
    Length.SetaUnit(split.Unit);
    Length.SetRaw(number);
    Length.SetIsPercent(split.Unit == suPercent);
    return Length;
}

TSVGLength& SVGParseLength(QStringView Text, TSVGLength& Length, float Min, float Max)
{
    const QStringView text = SVGTrim(Text);
    SVGStrToLength(text, Length);
    float number = 0;
    if (!text.isEmpty() && SplitUnit(text).Unit == suPercent && SVGTryParseNumber(text.chopped(1), number))
        Length.SetRaw(Min + (Max - Min) * Length.Raw() / 100);
    return Length;
}

TSVGLength& SVGParseStyleLength(QStringView Text, TSVGLength& Length, bool& Inherit, float Min, float Max)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Length;
    return SVGParseLength(text, Length, Min, Max);
}

float SVGStrToPixels(QStringView Text, TSVGUnit& Unit, const TSVGUnitFactors& UnitFactors, float Default)
{
    float value = 0;
    return ReadPixels(SVGTrim(Text), Unit, UnitFactors, value) ? value : Default;
}

float SVGParsePixels(QStringView Text, TSVGUnit& Unit, const TSVGUnitFactors& UnitFactors, float Min, float Max,
                     float Default)
{
    float value = 0;
    if (!ReadPixels(SVGTrim(Text), Unit, UnitFactors, value))
        return Default;
    return Unit == suPercent ? Min + (Max - Min) * value / 100 : value;
}

float SVGParseStylePixels(QStringView Text, bool& Inherit, TSVGUnit& Unit, float Min, float Max,
                          const TSVGUnitFactors& UnitFactors, float Default)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Default;
    return SVGParsePixels(text, Unit, UnitFactors, Min, Max, Default);
}

float SVGParseFontSize(QStringView Text, bool& Inherit, TSVGUnit& Unit, float ParentFontSize,
                       const TSVGUnitFactors& UnitFactors, float Default)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Default;
    for (std::size_t k = 0; k < FontSizeKeywords.size(); ++k) {
        if (text == FontSizeKeywords[k]) {
            Unit = suNone;
            return FontSizes[k];
        }
    }
    if (text == u"larger" || text == u"smaller") {
        Unit = suNone;
        return text == u"larger" ? ParentFontSize * FontSizeStep : ParentFontSize / FontSizeStep;
    }
    const TUnitText split = SplitUnit(text);
    Unit = split.Unit;
    float number = 0;
    if (!SVGTryParseNumber(split.Number, number))
        return Default;
    // Sizes relative to the font are relative to the parent's: the element's own font
    // size is what is being computed.
    float size = 0;
    switch (split.Unit) {
    case suFontSize:
        size = number * ParentFontSize;
        break;
    case suFontXHeight:
        size = number * ParentFontSize * 0.5f;
        break;
    case suPercent:
        size = number * ParentFontSize / 100;
        break;
    default:
        size = number * UnitFactors[split.Unit];
        break;
    }
    return std::isfinite(size) ? size : Default;
}

TSVGLengths& SVGParseLengths(QStringView Text, TSVGLengths& Lengths, float Min, float Max)
{
    const QStringList texts = SVGSplitNumbers(Text);
    while (Lengths.Count() > texts.size())
        Lengths.Delete(Lengths.Count() - 1);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index < Lengths.Count()) {
            SVGParseLength(texts[i], *Lengths[index], Min, Max);
        } else {
            auto length = std::make_unique<TSVGLength>(0, false, suNone);
            SVGParseLength(texts[i], *length, Min, Max);
            Lengths.Add(std::move(length));
        }
    }
    return Lengths;
}

TSVGLength& SVGReadLength(TXMLNode Node, const QString& Name, TSVGLength& Length, float Min, float Max)
{
    if (!Node.HasAttribute(Name))
        return Length;
    return SVGParseLength(Node.Attribute(Name), Length, Min, Max);
}

TSVGLength& SVGReadStyleLength(TXMLNode Node, const QString& Name, TSVGLength& Length, bool& Inherit, float Min,
                               float Max)
{
    if (!Node.HasAttribute(Name))
        return Length;
    return SVGParseStyleLength(Node.Attribute(Name), Length, Inherit, Min, Max);
}

TSVGLengths& SVGReadLengths(TXMLNode Node, const QString& Name, TSVGLengths& Lengths, float Min, float Max)
{
    if (!Node.HasAttribute(Name)) {
        Lengths.Clear();
        return Lengths;
    }
    return SVGParseLengths(Node.Attribute(Name), Lengths, Min, Max);
}

QString SVGFormatValue(float Value, TSVGUnit Unit, QStringView FormatStr)
{
    if (Unit == suPercent)
        return FormatFloat(FormatStr, Value * 100) + u'%';
    QString text = FormatFloat(FormatStr, Value);
    if (Unit != suNone && Unit != suPixels)
        text += NameText(SVGUnitSuffixes[static_cast<std::size_t>(Unit)]);
    return text;
}

QString SVGLengthToStr(const TSVGLength& Length, QStringView FormatStr, float Min, float Max)
{
    return Length.ToString(FormatStr, Min, Max);
}

QString SVGLengthsToStr(const TSVGLengths& Lengths, QStringView FormatStr, QStringView Separator)
{
    QString text;
    bool first = true;
    for (const auto& length : Lengths) {
        if (!first)
            text += Separator;
        text += length->ToString(FormatStr, 0, 1);
        first = false;
    }
    return text;
}

} // namespace velk

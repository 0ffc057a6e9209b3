// Feeds arbitrary text to the attribute value parsers: colours, transform lists,
// lengths, numbers, number and point lists, angles, dash arrays, clip rectangles, font
// families, data: URIs and CSS selectors. Only the documented errors may escape a
// parser (ESVGException from transform lists and selectors, EConvertError from strict
// numbers); no reader gives NaN or an infinity; and what the writers make of a parsed
// transform, colour or font family list reads back as the same value.

#include "platform/exceptions.h"
#include "platform/string_list.h"
#include "svg/angle.h"
#include "svg/clip_syntax.h"
#include "svg/color.h"
#include "svg/dash_array.h"
#include "svg/data_uri.h"
#include "svg/exceptions.h"
#include "svg/font_family.h"
#include "svg/length_syntax.h"
#include "svg/number_lists.h"
#include "svg/points.h"
#include "svg/selector_tokens.h"
#include "svg/transform_syntax.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

using namespace velk;

namespace {

void Require(bool Condition)
{
    if (!Condition)
        std::abort();
}

void RequireFinite(std::initializer_list<float> Values)
{
    for (const float value : Values)
        Require(std::isfinite(value));
}

template <typename List>
void RequireFiniteItems(const List& Values)
{
    for (const float value : Values)
        Require(std::isfinite(value));
}

// Runs Parse and tells whether it succeeded; only the errors a value parser documents
// are caught, anything else escapes and fails the run.
template <typename F>
bool Guarded(F&& Parse)
{
    try {
        Parse();
        return true;
    } catch (const ESVGException&) {
    } catch (const EConvertError&) {
    }
    return false;
}

void CheckTransform(const QString& Text)
{
    TMatrix matrix;
    if (!Guarded([&] { matrix = SVGParseTransform(Text); }))
        return;
    for (int i = 0; i < 9; ++i)
        Require(std::isfinite(matrix[i]));
    const QString written = SVGTransformToStr(matrix);
    const TMatrix again = SVGParseTransform(written); // must not raise
    Require(written.isEmpty() ? SameMatrix(matrix, IdentityMatrix, 0.00001f) : again == matrix);
}

void CheckColor(const QString& Text)
{
    bool isNone = false, inherit = false;
    const TVelkGPColor color = SVGParseColor(Text, 0, isNone, 0xFF000000, inherit);
    isNone = false, inherit = false;
    Require(SVGParseColor(SVGColorToStr(color), 0x12345678, isNone, 0, inherit) == (0xFF000000u | color));
}

void CheckNumbers(const QString& Text)
{
    bool inherit = false;
    RequireFinite({SVGParseNumber(Text, inherit, 0)});
    inherit = false;
    RequireFinite({SVGParseMiterLimit(Text, inherit, 0)});
    RequireFiniteItems(SVGParseNumbers(Text));
    bool automatic = false;
    RequireFinite({SVGParseAngle(Text, automatic, 0)});
    (void)SVGParseGlyphOrientationVertical(Text);
    (void)SVGNormalizeSpaces(Text);
    Guarded([&] {
        for (const TPointF& point : SVGParsePoints(Text))
            RequireFinite({point.X, point.Y});
    });
}

void CheckLengths(const QString& Text)
{
    TSVGLength length;
    SVGParseLength(Text, length, 0, 1);
    RequireFinite({length.Raw()});
    TSVGLengths lengths;
    SVGParseLengths(Text, lengths, 0, 1);
    TSVGUnit unit = suNone;
    RequireFinite({SVGParsePixels(Text, unit, DefaultUnitFactors, 0, 1, 0)});
    bool inherit = false;
    RequireFinite({SVGParseFontSize(Text, inherit, unit, 12, DefaultUnitFactors, 12)});

    QList<bool> isPercent;
    QList<TSVGUnit> units;
    QList<float> values;
    (void)SVGParseDashArray(Text, isPercent, units, values, 0, 1, DefaultUnitFactors);
    RequireFiniteItems(values);
    inherit = false;
    const TRectF clip = SVGParseClip(Text, {}, inherit, DefaultUnitFactors);
    RequireFinite({clip.Left, clip.Top, clip.Right, clip.Bottom});
}

void CheckFontFamilies(const QString& Text)
{
    TStringList families;
    bool inherit = false;
    SVGParseFontFamily(Text, families, inherit);
    TStringList again;
    inherit = false;
    SVGParseFontFamily(SVGFontFamiliesToStr(families), again, inherit);
    Require(again.Count() == families.Count());
    for (int i = 0; i < families.Count(); ++i)
        Require(again[i] == families[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckColor(text);
    CheckTransform(text);
    CheckNumbers(text);
    CheckLengths(text);
    CheckFontFamilies(text);
    (void)SVGDecodeDataURI(text);
    Guarded([&] {
        for (const TSVGSelectorToken& token : SVGTokenizeSelector(text))
            (void)token.ToString();
    });
    return 0;
}

// Feeds arbitrary text to the attribute value parsers: colours, transform lists,
// lengths, number and point lists, dash arrays, clip rectangles, font families, data:
// URIs and CSS selectors. Only the documented errors may escape a parser (ESVGException
// from transform lists and selectors, EConvertError from strict numbers), and a written
// transform must read back as the same matrix.

#include "platform/exceptions.h"
#include "platform/string_list.h"
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

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

namespace {

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
    const QString written = SVGTransformToStr(matrix);
    const TMatrix again = SVGParseTransform(written); // must not raise
    if (written.isEmpty() ? !SameMatrix(matrix, IdentityMatrix, 0.00001f) : !(again == matrix))
        std::abort(); // the writer's text must read back
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    bool isNone = false, inherit = false;
    (void)SVGParseColor(text, 0, isNone, 0xFF000000, inherit);

    CheckTransform(text);

    TSVGLength length;
    SVGParseLength(text, length, 0, 1);
    TSVGLengths lengths;
    SVGParseLengths(text, lengths, 0, 1);
    TSVGUnit unit = suNone;
    (void)SVGParsePixels(text, unit, DefaultUnitFactors, 0, 1, 0);
    inherit = false;
    (void)SVGParseFontSize(text, inherit, unit, 12, DefaultUnitFactors, 12);

    (void)SVGSplitNumbers(text);
    (void)SVGParseNumbers(text);
    (void)SVGNormalizeSpaces(text);
    Guarded([&] { (void)SVGPointsToStr(SVGParsePoints(text), u"0.###"); });

    QList<bool> isPercent;
    QList<TSVGUnit> units;
    QList<float> values;
    (void)SVGParseDashArray(text, isPercent, units, values, 0, 1, DefaultUnitFactors);
    inherit = false;
    (void)SVGParseClip(text, {}, inherit, DefaultUnitFactors);

    TStringList families;
    inherit = false;
    SVGParseFontFamily(text, families, inherit);
    (void)SVGFontFamiliesToStr(families);

    (void)SVGDecodeDataURI(text);

    Guarded([&] {
        for (const TSVGSelectorToken& token : SVGTokenizeSelector(text))
            (void)token.ToString();
    });
    return 0;
}

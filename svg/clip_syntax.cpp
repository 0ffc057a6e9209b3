#include "svg/clip_syntax.h"

#include "svg/length_syntax.h"
#include "svg/number_lists.h"
#include "svg/trim.h"
#include "svg/xml_attributes.h"

#include <QStringList>
#include <algorithm>

namespace velk {

TRectF SVGParseClip(QStringView Text, const TRectF& Current, bool& Inherit, const TSVGUnitFactors& UnitFactors)
{
    const QStringView text = SVGTrim(Text);
    if (!SVGTakesStyleText(text, Inherit))
        return Current;
    if (text == u"auto")
        return {};
    if (!SVGStartsWithASCII(text, u"rect(") || !text.endsWith(u')'))
        return Current;
    // CSS separates the four offsets with commas; blanks alone are also accepted.
    const QStringList items = SVGSplitStrings(text.sliced(5, text.size() - 6), SVGNumberSeparators);
    float edges[4] = {0, 0, 0, 0}; // top, right, bottom, left
    for (qsizetype i = 0; i < std::min<qsizetype>(items.size(), 4); ++i) {
        TSVGUnit unit = suNone;
        edges[i] = SVGStrToPixels(items[i], unit, UnitFactors, 0);
    }
    return MakeRectF(edges[3], edges[0], edges[1], edges[2]);
}

} // namespace velk

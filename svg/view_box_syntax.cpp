#include "svg/view_box_syntax.h"

#include "platform/float_format.h"
#include "svg/length_syntax.h"
#include "svg/number_lists.h"

#include <cmath>

namespace velk {

TRectF SVGParseViewBox(QStringView Text, const TSVGUnitFactors& UnitFactors)
{
    const QStringList items = SVGSplitNumbers(Text);
    if (items.size() != 4)
        return {};
    float values[4];
    for (int i = 0; i < 4; ++i) {
        TSVGUnit unit = suNone;
        values[i] = SVGStrToPixels(items[i], unit, UnitFactors, 0); // finite
    }
    const TRectF result = MakeRectF(values[0], values[1], values[0] + values[2], values[1] + values[3]);
    if (!std::isfinite(result.Right) || !std::isfinite(result.Bottom))
        return {};
    return result;
}

QString SVGRectToStr(const TRectF& Rect, QStringView FormatStr)
{
    return FormatFloat(FormatStr, Rect.Left) + u' ' + FormatFloat(FormatStr, Rect.Top) + u' '
        + FormatFloat(FormatStr, Rect.Width()) + u' ' + FormatFloat(FormatStr, Rect.Height());
}

} // namespace velk

#include "svg/dash_array.h"

#include "svg/length_syntax.h"
#include "svg/number_lists.h"
#include "svg/trim.h"

#include <QStringList>
#include <algorithm>

namespace velk {

bool SVGParseDashArray(QStringView Text, QList<bool>& IsPercent, QList<TSVGUnit>& Units, QList<float>& Values,
                       float Min, float Max, const TSVGUnitFactors& UnitFactors)
{
    IsPercent.clear();
    Units.clear();
    Values.clear();
    const QStringView text = SVGTrim(Text);
    if (text == u"none")
        return false;
    const QStringList items = SVGSplitNumbers(text);
    Values.reserve(items.size() % 2 == 0 ? items.size() : 2 * items.size());
    for (const QString& item : items) {
        TSVGUnit unit = suNone;
        Values.append(SVGParsePixels(item, unit, UnitFactors, Min, Max, 0));
        Units.append(unit);
        IsPercent.append(unit == suPercent);
    }
    if (Values.size() % 2 != 0)
        Values.append(QList<float>(Values)); // a copy: appending a list to itself
    const bool noNegative = std::all_of(Values.cbegin(), Values.cend(), [](float V) { return V >= 0; });
    return noNegative && std::any_of(Values.cbegin(), Values.cend(), [](float V) { return V > 0; });
}

} // namespace velk

#include "svg/points.h"

#include "platform/float_format.h"
#include "svg/number_lists.h"
#include "svg/xml_attributes.h"

#include <QStringList>
#include <optional>

namespace velk {

TVelkPoints SVGParsePoints(QStringView Text)
{
    const QStringList numbers = SVGSplitNumbers(Text);
    TVelkPoints points;
    points.reserve(numbers.size() / 2);
    for (qsizetype i = 0; i + 1 < numbers.size(); i += 2)
        points.append({StrToSingle(numbers[i]), StrToSingle(numbers[i + 1])});
    return points;
}

QString SVGPointsToStr(const TVelkPoints& Points, QStringView FormatStr)
{
    QString result;
    for (const TPointF& point : Points) {
        if (!result.isEmpty())
            result += u' ';
        result += FormatFloat(FormatStr, point.X) + u',' + FormatFloat(FormatStr, point.Y);
    }
    return result;
}

TVelkPoints SVGReadPoints(TXMLNode Node, const QString& Name)
{
    const std::optional<QString> text = SVGFindAttribute(Node, Name);
    return text ? SVGParsePoints(*text) : TVelkPoints();
}

} // namespace velk

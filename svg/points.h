#pragma once
// Point lists: the points attribute of polylines and polygons ("10,20 30,40").

#include "graphics/geometry.h"
#include "platform/xml/node.h"

#include <QString>
#include <QStringView>

namespace velk {

// Consecutive pairs of the numbers of Text (SVGSplitNumbers) as points (x, y); an odd
// last number is ignored. Raises EConvertError "'%s' is not a valid floating point
// value" for a paired number that does not read (NaN, infinities and values beyond the
// float range included).
TVelkPoints SVGParsePoints(QStringView Text);

// Each point as x "," y formatted with FormatStr (FormatFloat), points separated by
// single spaces.
QString SVGPointsToStr(const TVelkPoints& Points, QStringView FormatStr);

// SVGParsePoints of the attribute Name; a missing attribute gives no points.
TVelkPoints SVGReadPoints(TXMLNode Node, const QString& Name);

} // namespace velk

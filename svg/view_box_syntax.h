#pragma once
// The viewBox attribute: "x y width height".

#include "graphics/geometry.h"
#include "svg/length.h"

#include <QString>
#include <QStringView>

namespace velk {

// The rectangle (x, y, x + width, y + height) of a viewBox text: four numbers split as
// a number list (SVGSplitNumbers, so "0-10 100 100" has four), each read as pixels with
// its unit (SVGStrToPixels, 0 when it does not parse). Any other count, or a corner
// beyond the float range, gives the empty rectangle: no view box.
TRectF SVGParseViewBox(QStringView Text, const TSVGUnitFactors& UnitFactors);

// x, y, width and height of Rect formatted with FormatStr (FormatFloat), separated by
// single spaces.
QString SVGRectToStr(const TRectF& Rect, QStringView FormatStr);

} // namespace velk

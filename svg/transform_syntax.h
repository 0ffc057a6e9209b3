#pragma once
// Transform lists ("translate(10) rotate(45 5 5)") read into a matrix and written back.
// Matrices follow graphics/geometry.h: points are row vectors, p' = p x M, with the
// translation in the third row.

#include "graphics/geometry.h"

#include <QString>
#include <QStringView>

namespace velk {

// The product of the functions of Text. Each function is a name (blanks and commas
// around it are ignored), "(", its numbers as a number list (SVGSplitNumbers), ")":
//   matrix(a b c d e f)   rows (a, b), (c, d), (e, f)
//   translate(tx [ty])    ty 0 when missing
//   scale(sx [sy])        sy = sx when missing
//   rotate(a [cx cy])     a in degrees, about (cx, cy) when given
//   skewX(a), skewY(a)    a in degrees; tan(a) in m21 or m12; no number gives the
//                         identity, numbers after the first are ignored
// Every further function T gives result := T x result, so a point passes through the
// last function first (translate(10) rotate(90) maps (1, 0) to (10, 1)). Reading stops
// at a "(" without a ")" after it; text after the last ")" is ignored; an empty text
// gives the identity.
// Raises ESVGException "Invalid matrix: %s" (matrix() without exactly six numbers, with
// its argument text; or a product beyond the float range, with the whole text),
// "Invalid %s transformation matrix: %s" ("translate", "scale" or "rotation" with a
// wrong count, and the argument text), "Invalid transformation: %s" (any other name,
// exact case); and EConvertError "'%s' is not a valid floating point value" for a number
// that does not read (NaN, infinities and values beyond the float range included).
TMatrix SVGParseTransform(QStringView Text);

// "" for a matrix within 0.00001 of the identity in every entry; "scale(sx sy)" when
// only m11 and m22 differ from the identity; "translate(tx ty)" when only m31 and m32
// do; else "matrix(m11 m12 m21 m22 m31 m32)". Numbers are the shortest decimal text
// that reads back as the same float, with "." as decimal point.
QString SVGTransformToStr(const TMatrix& M);

} // namespace velk

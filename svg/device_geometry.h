#pragma once
// Element geometry on its way into device space. The drawing pipeline transforms every
// path by the element's full matrix before it is filled, stroked, clipped with or hit-
// tested; these checks keep what overflowed on the way (or arrived as NaN) away from Qt.

#include "graphics/backend_path.h"
#include "graphics/geometry.h"
#include "svg/keywords.h"

namespace velk {

// Gives Path the fill mode of Rule (frNone keeps Path's own) and maps it through M.
// False when a point is not finite afterwards: such a path must not be drawn.
bool SVGToDeviceSpace(TVelkGPPath& Path, TSVGFillRule Rule, const TMatrix& M);

} // namespace velk

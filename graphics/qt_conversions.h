#pragma once
// Conversions between the library's geometry values and Qt's.

#include "graphics/geometry.h"

#include <QPointF>
#include <QTransform>

namespace velk {

// Both use row vectors with the translation in m31/m32, so the elements map one to one.
inline QTransform ToQTransform(const TMatrix& M)
{
    return QTransform(M.m11, M.m12, M.m21, M.m22, M.m31, M.m32);
}

inline QPointF ToQPointF(const TPointF& P)
{
    return {P.X, P.Y};
}

// Rounds to single precision.
inline TPointF ToPointF(const QPointF& P)
{
    return {static_cast<float>(P.x()), static_cast<float>(P.y())};
}

} // namespace velk

#pragma once
// TVelkGPRegionArea: an area of the device, the value behind regions and the canvas
// clip. Qt has no region with curves and an "everything" state, so an area is a path in
// device coordinates (with its own fill rule) plus a flag for the infinite area.
//
// Where a finite path must stand for the infinite area (its complement, what is left
// after excluding something from it, its bounds and scans), the square of
// InfiniteAreaRect is used: ±4194304 on both axes, the extent the classic 2-D API
// reports for an infinite region, and small enough that every pixel in it is a whole
// number in single precision.

#include "graphics/geometry.h"
#include "graphics/gp_types.h"

#include <QByteArray>
#include <QPainterPath>
#include <QRegion>

namespace velk {

inline constexpr float InfiniteAreaExtent = 4194304;
inline constexpr TRectF InfiniteAreaRect{-InfiniteAreaExtent, -InfiniteAreaExtent, InfiniteAreaExtent,
                                         InfiniteAreaExtent};

struct TVelkGPRegionArea {
    QPainterPath Path;
    bool Infinite = true;

    // An area covering nothing.
    static TVelkGPRegionArea Empty();
    // The rectangle; a rectangle with Left > Right or Top > Bottom is normalised.
    static TVelkGPRegionArea FromRect(const TRectF& Rect);
    static TVelkGPRegionArea FromPath(const QPainterPath& Path);
    static TVelkGPRegionArea FromRegion(const QRegion& Region);
    // Reads what Data() wrote; raises EGDIPException(gpsInvalidParameter) for anything
    // else (the bytes may come from outside).
    static TVelkGPRegionArea FromData(const QByteArray& Data);

    // This area combined with Other: this is the first operand (cmExclude removes Other
    // from this area, cmComplement removes this area from Other).
    void Combine(const TVelkGPRegionArea& Other, TVelkGPRegionCombineMode Mode);
    // Moves or transforms the area; the infinite area stays infinite. Coordinates that
    // would leave the range paths can hold (about 1e128) raise EGDIPException
    // (gpsValueOverflow) and leave the area as it was.
    void Translate(float DX, float DY);
    void Transform(const TMatrix& M);

    // A finite path covering the area: the stand-in square when infinite.
    QPainterPath FinitePath() const;
    // Left, Top, Right, Bottom; InfiniteAreaRect when infinite, all 0 when empty.
    TRectF Bounds() const;
    // True when the area covers no point.
    bool IsEmpty() const;
    // A device pixel is in the area when its centre is.
    bool IsVisible(const TPoint& Pixel) const;
    bool IsVisible(const TPointF& Point) const;
    // True when some part of the rectangle with positive area lies in the area.
    bool IsVisible(const TRectF& Rect) const;
    // The pixels whose centres lie in the area, as Qt's region (y-x banded rectangles).
    // Raises EGDIPException(gpsOutOfMemory) for an area whose scans would take more than
    // MaxScanRects rectangles or MaxScanCrossings edge crossings to find.
    QRegion Scans() const;
    static constexpr qsizetype MaxScanRects = qsizetype(1) << 20;
    static constexpr qsizetype MaxScanCrossings = qsizetype(1) << 23;
    // Same pixels covered (two infinite areas are equal). Raises as Scans when what
    // lies in one area only is too complex to scan.
    bool Equals(const TVelkGPRegionArea& Other) const;
    // A self-describing serialisation that FromData reads back.
    QByteArray Data() const;
};

} // namespace velk

#pragma once
// TVelkPathData: the device-independent vector path. An ordered list of entries, each
// a point tagged as a move, a line, a cubic Bézier point or a close. Quadratic curves
// and elliptical arcs are turned into cubics when they are added. The path reads and
// writes the SVG path-data syntax (Data), streams its entries as the binary property
// "Path", and answers geometric questions (bounds, flattening, length, hit tests).
// See docs/path-data.md.
//
// Entry rules:
// - a cubic is three consecutive ppCurveTo entries (control 1, control 2, end); it
//   starts at the point of the entry before them, or at (0, 0) at the very start;
// - a ppClose entry stores the start of its subpath: the current point after closing;
// - the current point (LastPoint) is the point of the last entry, (0, 0) when empty.

#include "graphics/corners.h"
#include "graphics/fill_mode.h"
#include "graphics/geometry.h"
#include "platform/persistent.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

namespace velk {

enum TVelkPathPointKind : std::uint8_t { ppMoveTo, ppLineTo, ppCurveTo, ppClose };

template <>
struct EnumNames<TVelkPathPointKind> {
    static constexpr std::array<std::u16string_view, 4> Names{u"ppMoveTo", u"ppLineTo", u"ppCurveTo", u"ppClose"};
};

struct TVelkPathPoint {
    TVelkPathPointKind Kind = ppMoveTo;
    TPointF Point;
    bool operator==(const TVelkPathPoint&) const = default;
};

// Cumulative distances along each polygon of TVelkPathData::Polygons.
using TVelkDistances = QList<QList<float>>;

class TVelkPathData : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // "0." and 38 '#': every significant digit of a single, without an exponent.
    static constexpr QStringView DefaultFormatStr{u"0.######################################"};
    // Flattening never cuts one curve into more lines than this.
    static constexpr int MaxFlattenSegments = 10000;
    // Nor a whole path into more points than this many per entry (at least
    // MinFlattenBudget): past it, curves become straight lines, so a hostile path of
    // many long curves cannot ask for gigabytes. Polygons and hit tests share the rule.
    static constexpr int FlattenPointsPerEntry = 32;
    static constexpr int MinFlattenBudget = 4'000'000;
    int FlattenBudget() const;

    TVelkPathData();

    // --- Lifecycle and notification ---

    // A new path of the same class assigned from this one.
    std::unique_ptr<TVelkPathData> Clone() const;
    // From a TVelkPathData: entries, FillMode, FormatStr and the cached length,
    // distances and polygons. Other sources go to the inherited assignment.
    void Assign(const TPersistent* Source) override;
    // The binary property "Path" (see docs/path-data.md), written when there are entries.
    void DefineProperties(TFiler& Filer) override;

    // Brackets nest; the EndUpdate that closes the outermost one runs DoChanged.
    void BeginUpdate();
    void EndUpdate();
    void Clear();

    // Raised by every change outside an update bracket.
    TNotifyEvent OnChanged;

    // --- Properties ---

    TVelkFillMode FillMode() const { return FFillMode; }
    void SetFillMode(TVelkFillMode Value);
    // The FormatFloat pattern of the writer. A new pattern is tried on 123.45 first, so
    // an invalid one raises EConvertError and the old one stays.
    const QString& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const QString& Value);

    int Count() const { return static_cast<int>(FPathData.size()); }
    // The entry at AIndex; unchecked, callers stay within Count.
    const TVelkPathPoint& GetPoint(int AIndex) const { return FPathData[static_cast<std::size_t>(AIndex)]; }
    TPointF LastPoint() const { return FPathData.empty() ? TPointF{} : FPathData.back().Point; }

    // --- Commands ("current" is LastPoint before the command) ---

    void MoveTo(const TPointF& P);
    void MoveToRel(const TPointF& P);
    void LineTo(const TPointF& P);
    void LineToRel(const TPointF& P);
    // A line to X at the Y of the last entry (0 on an empty path).
    void HLineTo(float X);
    void HLineToRel(float X);
    // A line to Y at the X of the last entry (0 on an empty path).
    void VLineTo(float Y);
    void VLineToRel(float Y);
    void CurveTo(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint);
    // All three points relative to the current point.
    void CurveToRel(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint);
    // The quadratic from the current point, as the equivalent cubic.
    void QuadCurveTo(const TPointF& ControlPoint, const TPointF& EndPoint);
    // The first control point reflects the point before the current one through the
    // current point (when there are at least 3 entries and the last is not a move),
    // otherwise it is the current point.
    void SmoothCurveTo(const TPointF& ControlPoint2, const TPointF& EndPoint);
    void SmoothCurveToRel(const TPointF& ControlPoint2, const TPointF& EndPoint);
    void ClosePath();
    // An elliptical arc around Center with radii Radius, angles in degrees (increasing
    // angles turn clockwise on a y-down screen), in cubics of at most 90°. Starts with a
    // line to the arc's first point, or a move on an empty path.
    void AddArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle);
    // The SVG arc from P1 to P2 (rotation in degrees). Equal end points give a full
    // ellipse standing on P1; a zero radius gives a straight line to P2.
    void SVGArcTo(const TPointF& P1, const TPointF& Radii, const TPointF& P2, bool Sweep, bool LargeArc,
                  float Rotation);
    // Appends Source's entries (an empty path takes Source whole, through Assign). A
    // later ClosePath closes to the last move appended.
    virtual void Append(const TVelkPathData& Source);
    // Appends the parse of PathString.
    void Append(QStringView PathString);

    // --- Text form (SVG path data) ---

    // Replaces the path by the parse of Value; never raises. One change event.
    void SetData(QStringView Value);
    // One command per entry ("M1.5,2 L3,4 Z "), numbers formatted with FormatStr.
    QString GetData() const;
    // GetData with Delimiter inserted after a command whenever more than Len characters
    // were written since the last delimiter.
    QString SplitDataByLength(int Len, QStringView Delimiter) const;

    // --- Shapes ---

    // A move to the first point and lines to the others; closed when the last point
    // equals the first (the integer form also draws the line to the last point).
    void AddPolygon(const TCanvasPoints& Poly);
    void AddPolygon(const TVelkPoints& Poly);
    void AddPolygons(const TPointPolygons& Polys);
    void AddPolygons(const TVelkPolygons& Polys);
    // Four cubics from the middle of the left side, clockwise; not closed.
    void AddEllipse(const TRectF& ARect);
    // A closed rectangle; the corners in ACorners take ACornerType with the radii (at
    // most half the width or height), the others stay square.
    void AddRectangle(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                      TVelkCornerType ACornerType);

    // --- Geometry ---

    // Spans every point but the close entries, curve control points included. A
    // zero width or height becomes 0.001; a path without points gives (0, 0, 0, 0).
    TRectF GetBounds() const;
    bool IsEmpty() const;
    void Scale(float ScaleX, float ScaleY);
    void Translate(float DX, float DY);
    void ApplyMatrix(const TMatrix& M);
    // Stretches the path (not keeping its aspect ratio) onto ARect.
    void FitToRect(const TRectF& ARect);
    // Replaces each curve by lines; Flatness (at least 0.05) is the length of a line.
    void Flatten(float Flatness);
    // The path as one point list in which PolygonSeparator ends each closed subpath and
    // separates subpaths; returns the absolute size of the bounds.
    TPointF FlattenToPolygon(TVelkPoints& Polygon, float Flatness) const;
    // One polygon per subpath (curves through Catmull-Rom splines); cached.
    const TVelkPolygons& ToPolygons() const;
    // Total length of the polygons; cached.
    double GetLength() const;
    // For each polygon, the running length at each of its points; cached.
    const TVelkDistances& GetDistances() const;

    // --- Hit tests and outlines ---

    // True when the point lies inside one of the subpaths (each tested on its own,
    // even-odd): a hole cut by another subpath still counts as inside.
    bool PointInPath(const TPointF& P) const;
    bool PointInPath(float X, float Y) const;
    // True when the point lies within StrokeWidth / 2 of a segment (no joins, no caps).
    bool PointInPathOutline(const TPointF& P, float StrokeWidth) const;
    bool PointInPathOutline(float X, float Y, float StrokeWidth) const;
    // Adds one closed rectangle per segment of P (flattened); filled non-zero, their
    // union approximates P's stroke.
    void AddPathOutline(const TVelkPathData& P, float StrokeWidth);

    // --- Drawing on a QPainter with its current pen and brush ---

    void DrawPath(QPainter& Canvas, float Opacity) const { PaintPath(Canvas, false, Opacity); }
    void FillPath(QPainter& Canvas, float Opacity) const { PaintPath(Canvas, true, Opacity); }
    // Strokes (and fills when Fill) the path with coordinates rounded to whole pixels;
    // nothing when Opacity is 0 (it is not otherwise applied) or fewer than 2 entries.
    virtual void PaintPath(QPainter& Canvas, bool Fill, float Opacity) const;

protected:
    // Marks the caches stale and raises OnChanged (outside update brackets only).
    virtual void DoChanged();

private:
    struct TArcPlacement;

    void Add(TVelkPathPointKind Kind, const TPointF& P);
    void AddCurve(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint);
    // Cubics of at most 90° for the arc from Start over Sweep (radians) of the ellipse
    // with radii Rx, Ry around the origin, placed by Placement; Connect starts with a
    // line or a move to the arc's first point. Adds entries only (no DoChanged).
    void AddArcSegments(double Rx, double Ry, double Start, double Sweep, const TArcPlacement& Placement,
                        bool Connect);
    // The start of the subpath open at the end of the entries.
    TPointF LastMovePoint() const;
    // Applies Transform to every entry (close entries included) and the subpath start.
    template <typename F>
    void TransformPoints(F&& Transform);
    // Fills the length and distance caches.
    void Measure() const;
    QString Write(qsizetype Len, QStringView Delimiter) const;
    void ReadPath(QIODevice& Stream);
    void WritePath(QIODevice& Stream) const;

    int FUpdateCount = 0;
    TVelkFillMode FFillMode = fmEvenOdd;
    QString FFormatStr;
    TPointF FStartPoint;
    std::vector<TVelkPathPoint> FPathData;

    // Caches, cleared by DoChanged and rebuilt on demand.
    mutable bool FRecalcBounds = true;
    mutable TRectF FBounds;
    mutable bool FPolygonsValid = false;
    mutable TVelkPolygons FPolygons;
    mutable bool FLengthValid = false;
    mutable double FLength = 0;
    mutable TVelkDistances FDistances;
};

} // namespace velk

#pragma once
// TVelkGPPath: the path the drawing backend fills, strokes, clips with and hit-tests.
//
// The truth is a pair of arrays in the classic 2-D API's layout: the points, and one
// type byte per point (start of a figure, line, Bézier point; the close flag and the
// marker bits on top). A QPainterPath has no close flag and no markers, so it is built
// from the arrays on demand (Handle, ToQPainterPath) and never stored back.
//
// Figures: MoveTo and StartPath begin a new figure; the next segment adds its start
// point. A segment that continues a figure starts at the current point, which is
// added only when it differs from the figure's last point. ClosePath flags the last
// point and moves the current point back to the figure's start. See docs/backend.md.

#include "graphics/corners.h"
#include "graphics/fill_mode.h"
#include "graphics/geometry.h"
#include "graphics/graphics_object.h"

#include <QList>
#include <QPainterPath>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

namespace velk {

class TVelkGPPen;
class TVelkGPFont;
class TVelkGPStringFormat;
class TVelkPathData;

// The type byte of one path point.
struct TVelkGPPathPointKind {
    // Point types (aKind & TypeMask).
    static constexpr std::uint8_t TypeStart = 0;
    static constexpr std::uint8_t TypeLine = 1;
    static constexpr std::uint8_t TypeBezier = 3;
    static constexpr std::uint8_t TypeMask = 7;
    // Flag bits.
    static constexpr std::uint8_t DashModeBit = 0x10;
    static constexpr std::uint8_t MarkerBit = 0x20;
    static constexpr std::uint8_t CloseBit = 0x80;

    std::uint8_t aKind = TypeStart;

    constexpr std::uint8_t PointType() const { return aKind & TypeMask; }
    // The flags as the classic API reports them: 8 for the close flag, 1 and 2 for the
    // marker bits 0x10 and 0x20.
    constexpr int Flags() const
    {
        return ((aKind & CloseBit) ? 8 : 0) | ((aKind & DashModeBit) ? 1 : 0) | ((aKind & MarkerBit) ? 2 : 0);
    }
    constexpr bool IsStart() const { return PointType() == TypeStart; }
    constexpr bool IsLine() const { return PointType() == TypeLine; }
    constexpr bool IsBezier() const { return PointType() == TypeBezier; }
    constexpr bool IsClosed() const { return (aKind & CloseBit) != 0; }
    constexpr bool IsMarker() const { return (aKind & MarkerBit) != 0; }

    constexpr bool operator==(const TVelkGPPathPointKind&) const = default;
};

struct TVelkGPPathPoint {
    TVelkGPPathPointKind Kind;
    TPointF Point;
    bool operator==(const TVelkGPPathPoint&) const = default;
};

// Points and their kinds, always of equal length in a path.
struct TVelkGPPathData {
    TVelkPoints Points;
    QList<TVelkGPPathPointKind> Kinds;
    bool operator==(const TVelkGPPathData&) const = default;
};

class TVelkGPPath : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The classic API's default flattening tolerance.
    static constexpr float DefaultFlatness = 0.25f;
    // The rounded rectangle's corner controls sit this fraction of a radius from the
    // corner, which gives circular corners (1 - 0.5522847498).
    static constexpr float RoundCornerControl = 0.4477152502f;

    explicit TVelkGPPath(TVelkGPCanvas* AOwner = nullptr);

    // --- Lifecycle ---

    // From a TVelkGPPath: a copy of its points, kinds, fill mode and current point.
    // From a TVelkPathData: its fill mode, then its entries replayed (move -> MoveTo,
    // line -> LineTo, a cubic's three entries -> CurveTo, close -> ClosePath).
    void Assign(const TPersistent* Source) override;
    // To a TVelkPathData, inside one update bracket of it: its fill mode becomes this
    // path's, it is cleared, and every figure is replayed (closed ones end with ClosePath).
    void AssignTo(TPersistent* Dest) const override;
    using TVelkGPGraphicsObject::Clone;
    // A copy owned by aCanvas, or by this path's owner when aCanvas is null.
    std::unique_ptr<TVelkGPPath> Clone(TVelkGPCanvas* aCanvas) const;

    // Brackets nest; the EndUpdate that closes the outermost one raises OnChange.
    void BeginUpdate();
    void EndUpdate();

    // The path for Qt, built on first use after a change.
    const QPainterPath& Handle() const;
    void Update() override;
    // The figures as a QPainterPath: fmEvenOdd -> Qt::OddEvenFill, fmNonZero ->
    // Qt::WindingFill; closed figures end with closeSubpath().
    QPainterPath ToQPainterPath() const;

    // --- Properties ---

    TVelkGPFillMode FillMode() const { return FFillMode; }
    void SetFillMode(TVelkGPFillMode Value);
    // The backend path text (see backend_path_syntax.cpp); reading gives text that reads
    // back to the same points. Setting replaces the figures (fill mode kept); it never
    // raises.
    QString GetData() const;
    void SetData(QStringView Value);

    int Count() const { return static_cast<int>(FData.Points.size()); }
    // Where the next segment starts.
    TPointF LastPoint() const { return FLastPoint; }
    // Raises EListError "List index out of bounds (%d)" outside 0 ... Count - 1.
    TVelkGPPathPoint Points(int Index) const;
    const TVelkPoints& Values() const { return FData.Points; }
    const QList<TVelkGPPathPointKind>& Kinds() const { return FData.Kinds; }
    const TVelkGPPathData& GetPathData() const { return FData; }
    // Replaces the figures. Data must have equal lengths, begin with a start point, use
    // only the types start, line and Bézier and the flag bits, keep Bézier points in
    // threes within a figure, begin a figure after a closed point and hold finite
    // coordinates; otherwise EGDIPException (gpsInvalidParameter) is raised and the path
    // stays as it was. The current point becomes the last point.
    void SetPathData(const TVelkGPPathData& Data);

    // Range-for over the points with their kinds.
    class TEnumerator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TVelkGPPathPoint;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TVelkGPPathPoint;

        TEnumerator() = default;
        TEnumerator(const TVelkGPPath* Path, int Index) : FPath(Path), FIndex(Index) {}
        TVelkGPPathPoint operator*() const
        {
            return {FPath->FData.Kinds[FIndex], FPath->FData.Points[FIndex]};
        }
        TEnumerator& operator++()
        {
            ++FIndex;
            return *this;
        }
        TEnumerator operator++(int)
        {
            TEnumerator before = *this;
            ++FIndex;
            return before;
        }
        bool operator==(const TEnumerator&) const = default;

    private:
        const TVelkGPPath* FPath = nullptr;
        int FIndex = 0;
    };
    TEnumerator begin() const { return {this, 0}; }
    TEnumerator end() const { return {this, Count()}; }

    // --- Commands (each returns the path; "current" is LastPoint) ---

    // A new figure at P; nothing is added until the next segment.
    TVelkGPPath& MoveTo(const TPointF& P);
    TVelkGPPath& MoveToRel(const TPointF& P);
    TVelkGPPath& LineTo(const TPointF& P);
    TVelkGPPath& LineTo(float X1, float Y1);
    TVelkGPPath& LineToRel(const TPointF& P);
    TVelkGPPath& HLineTo(float X);
    TVelkGPPath& HLineToRel(float X);
    TVelkGPPath& VLineTo(float Y);
    TVelkGPPath& VLineToRel(float Y);
    TVelkGPPath& CurveTo(const TPointF& C1, const TPointF& C2, const TPointF& E);
    // All three points relative to the current point.
    TVelkGPPath& CurveToRel(const TPointF& C1, const TPointF& C2, const TPointF& E);
    // The first control point: C2 itself while the path has fewer than 3 points,
    // otherwise the point before the last reflected through the current point.
    TVelkGPPath& SmoothCurveTo(const TPointF& C2, const TPointF& E);
    // C2 and E relative to the current point.
    TVelkGPPath& SmoothCurveToRel(const TPointF& C2, const TPointF& E);
    // Flags the last point as closing its figure; the current point returns to the
    // figure's start. Adds no point (MoveTo then ClosePath leaves Count at 0).
    TVelkGPPath& ClosePath();
    // The next segment begins a new figure.
    TVelkGPPath& StartPath();

    TVelkGPPath& AddLine(const TPointF& P1, const TPointF& P2);
    TVelkGPPath& AddBezier(const TPointF& P1, const TPointF& P2, const TPointF& P3, const TPointF& P4);
    // An arc of the ellipse inscribed in (X, Y, Width, Height), angles in degrees
    // measured on the ellipse (increasing angles turn clockwise on a y-down screen);
    // the sweep is limited to one turn. Continues the current figure.
    TVelkGPPath& AddArc(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle);
    // A closed figure: the centre, a line to the arc's start, the arc.
    TVelkGPPath& AddPie(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle);
    // A closed figure of four Béziers starting at the right, clockwise.
    TVelkGPPath& AddEllipse(const TRectF& ARect);
    // A closed figure: top left, top right, bottom right, bottom left.
    TVelkGPPath& AddRectangle(const TRectF& ARect);
    // The figure of TVelkPathData::AddRectangle (radii limited to half the width or
    // height), its corner controls RoundCornerControl of a radius from the corners.
    TVelkGPPath& AddRectangle(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                              TVelkCornerType ACornerType);
    // A closed figure; fewer than 3 points add nothing.
    TVelkGPPath& AddPolygon(const TVelkPoints& Points);
    // The glyph outlines of Text laid out in aRect (width or height 0: unbounded) by Font
    // and StringFormat (may be null), the top of the text cell at the layout origin.
    TVelkGPPath& AddText(const TRectF& aRect, const QString& Text, const TVelkGPFont& Font,
                         const TVelkGPStringFormat* StringFormat);
    // The same at Pt, in the rectangle the text measures.
    TVelkGPPath& AddText(const TPointF& Pt, const QString& Text, const TVelkGPFont& Font,
                         const TVelkGPStringFormat* StringFormat);
    // Appends Path's figures; with Connect, its first figure continues the current one
    // (when one is open) with a line.
    TVelkGPPath& AddPath(const TVelkGPPath& Path, bool Connect = false);
    TVelkGPPath& Append(const TVelkGPPath& Path, bool Connect) { return AddPath(Path, Connect); }
    // Appends Path's subpaths as figures: curves become Béziers, a subpath that ends on
    // its start point is closed (a final line back to the start is dropped).
    TVelkGPPath& AddQPainterPath(const QPainterPath& Path);
    // Sets the marker bit on the last point.
    TVelkGPPath& AddMarker();
    // Clears the marker bits of every point.
    TVelkGPPath& ClearMarkers();
    // No figures; the fill mode stays; the current point is (0, 0).
    TVelkGPPath& Clear();

    // --- Geometry ---

    // Left, Top, Right, Bottom of the filled area's outline: tight around curves
    // (control points do not widen it). (0, 0, 0, 0) without points.
    TRectF GetBounds() const;
    // Replaces Béziers by lines that stay within Flatness of the curve (a Flatness that
    // is not positive takes DefaultFlatness).
    TVelkGPPath& Flatten(float Flatness = DefaultFlatness);
    // Replaces the path by the outline of its stroke with the owner canvas's pen,
    // flattened; the result fills the same under either fill mode. Raises EGDIPException
    // "TVelkGPPath has no owner" without an owner.
    TVelkGPPath& Widen(float Flatness = DefaultFlatness);
    // Replaces the path by the outline of the area it fills under the non-zero rule,
    // flattened, without overlaps. Needs an owner as Widen.
    TVelkGPPath& Outline(float Flatness = DefaultFlatness);
    // Reverses the point order (figures and the points within them).
    TVelkGPPath& Reverse();
    TVelkGPPath& ApplyMatrix(const TMatrix& M);
    TVelkGPPath& Scale(float DX, float DY);
    TVelkGPPath& Translate(float DX, float DY);
    // Stretches the path's bounds onto aRect (nothing when a side of the bounds is 0).
    TVelkGPPath& FitToRect(const TRectF& aRect);

    // --- Hit tests ---

    // Inside the filled area, under the owner canvas's matrix with Point in device
    // coordinates. Needs an owner.
    bool IsVisiblePathPoint(const TPointF& Point) const;
    // With aCanvas: under its matrix, Point in device coordinates; with null: the path's
    // own coordinates.
    bool IsVisiblePathPoint(const TPointF& Point, const TVelkGPCanvas* aCanvas) const;
    // On the outline drawn with the owner canvas's pen, under its matrix. Needs an owner.
    bool IsOutlineVisiblePathPoint(const TPointF& Point) const;
    // On the outline drawn with aPen (false for a pen of kind bkNone), under aCanvas's
    // matrix when one is given.
    bool IsOutlineVisiblePathPoint(const TPointF& Point, const TVelkGPPen& aPen,
                                   const TVelkGPCanvas* aCanvas = nullptr) const;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    // Whether the next segment begins a new figure.
    bool InNewFigure() const;
    // Adds the start of a segment from the current point: a start point in a new
    // figure, nothing when the figure already ends there, otherwise a line.
    void ConnectFrom(const TPointF& P);
    void AddPoint(const TPointF& P, std::uint8_t Type);
    void AddBezierPoints(const TPointF& C1, const TPointF& C2, const TPointF& E);
    // The arc's Béziers (start point connected as a segment), with angles as the
    // classic API measures them.
    void AddArcPoints(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle);
    // Replaces the figures by Path's (see AddQPainterPath), then flattens.
    void ReplaceBy(const QPainterPath& Path, float Flatness);
    // The owner, or EGDIPException "TVelkGPPath has no owner".
    TVelkGPCanvas& RequireOwner() const;
    // Drops the Qt path and raises OnChange outside update brackets.
    void DoChanged();

    TVelkGPPathData FData;
    TVelkGPFillMode FFillMode = fmEvenOdd;
    TPointF FLastPoint;
    bool FNewFigure = true;
    int FUpdateCount = 0;
    mutable bool FHandleValid = false;
    mutable QPainterPath FHandle;
};

} // namespace velk

#include "graphics/region_area.h"

#include "graphics/gp_exception.h"
#include "graphics/qt_conversions.h"
#include "platform/numbers.h"

#include <QDataStream>
#include <QIODevice>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velk {

namespace {

// The coordinates QPainterPath accepts: finite and below this magnitude.
constexpr double CoordinateLimit = 1e128;

bool IsValidCoordinate(double C)
{
    return std::abs(C) < CoordinateLimit; // false for NaN too
}

// Path moved or transformed: its coordinates must stay what QPainterPath accepts, or
// the operations on it would work on infinities and NaN.
QPainterPath CheckedCoordinates(QPainterPath Path)
{
    for (int i = 0; i < Path.elementCount(); ++i) {
        const QPainterPath::Element e = Path.elementAt(i);
        if (!IsValidCoordinate(e.x) || !IsValidCoordinate(e.y))
            throw EGDIPException(gpsValueOverflow);
    }
    return Path;
}

QPainterPath RectPath(const TRectF& R)
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(R.Left, R.Top), QPointF(R.Right, R.Bottom)).normalized());
    return path;
}

// --- Scan conversion: the pixels whose centres lie inside a path ---

// A non-horizontal edge of the flattened outline, top end first.
struct TScanEdge {
    double X0, Y0, X1, Y1;
    int Winding;
    // Y lies between Y0 and Y1; the ratio first keeps huge coordinates from overflowing.
    double XAt(double Y) const { return X0 + (X1 - X0) * ((Y - Y0) / (Y1 - Y0)); }
};

struct TSpan {
    int Left, Right; // pixels Left .. Right - 1
    bool operator==(const TSpan&) const = default;
};

// The first pixel whose centre is at or right of (below) Coordinate, within the square
// that stands in for the infinite area, so that nothing is converted beyond it.
int FirstPixelFrom(double Coordinate)
{
    return FloatToInt<int>(
        std::clamp(std::ceil(Coordinate - 0.5), double(-InfiniteAreaExtent), double(InfiniteAreaExtent)));
}

// Qt flattens curves to within half a unit; flattening the path scaled up by this factor
// keeps the chords within 1/32 pixel of the curve.
constexpr double FlatteningScale = 16;

std::vector<TScanEdge> ScanEdges(const QPainterPath& Path)
{
    std::vector<TScanEdge> edges;
    const QTransform down = QTransform::fromScale(1 / FlatteningScale, 1 / FlatteningScale);
    for (QPolygonF polygon : Path.toSubpathPolygons(QTransform::fromScale(FlatteningScale, FlatteningScale))) {
        polygon = down.map(polygon);
        if (polygon.size() < 2)
            continue;
        if (polygon.first() != polygon.last())
            polygon.append(polygon.first()); // filling closes every figure
        for (qsizetype i = 1; i < polygon.size(); ++i) {
            const QPointF a = polygon[i - 1];
            const QPointF b = polygon[i];
            if (a.y() < b.y())
                edges.push_back({a.x(), a.y(), b.x(), b.y(), 1});
            else if (a.y() > b.y())
                edges.push_back({b.x(), b.y(), a.x(), a.y(), -1});
        }
    }
    return edges;
}

[[noreturn]] void TooComplexToScan()
{
    throw EGDIPException(gpsOutOfMemory);
}

// The spans of one pixel row; the buffers are kept from row to row.
class TRowSpans {
public:
    explicit TRowSpans(bool Winding) : FWinding(Winding) {}

    // The spans of the row sampled at height Y (a pixel centre) over the active edges.
    const std::vector<TSpan>& At(const std::vector<const TScanEdge*>& Active, double Y)
    {
        FCrossings.clear();
        for (const TScanEdge* edge : Active)
            FCrossings.emplace_back(edge->XAt(Y), edge->Winding);
        std::sort(FCrossings.begin(), FCrossings.end());
        FSpans.clear();
        int count = 0;
        double start = 0;
        for (const auto& [x, winding] : FCrossings) {
            const bool wasInside = Inside(count);
            count += winding;
            if (!wasInside && Inside(count)) {
                start = x;
            } else if (wasInside && !Inside(count)) {
                const TSpan span{FirstPixelFrom(start), FirstPixelFrom(x)};
                if (span.Left >= span.Right)
                    continue;
                if (!FSpans.empty() && FSpans.back().Right >= span.Left)
                    FSpans.back().Right = std::max(FSpans.back().Right, span.Right);
                else
                    FSpans.push_back(span);
            }
        }
        return FSpans;
    }

private:
    bool Inside(int Count) const { return FWinding ? Count != 0 : (Count & 1) != 0; }

    bool FWinding;
    std::vector<std::pair<double, int>> FCrossings;
    std::vector<TSpan> FSpans;
};

// Sweeps Path's pixel rows from top to bottom, calling Rows(Top, Bottom, Spans) for the
// rows Top .. Bottom - 1 (one row, or a run whose spans cannot differ) until Rows
// returns false. Between two consecutive vertex heights the set of crossed edges does
// not change, and where all of them are vertical, neither do the spans. Raises
// EGDIPException(gpsOutOfMemory) past MaxScanCrossings.
template <typename F>
void SweepRows(const QPainterPath& Path, F&& Rows)
{
    std::vector<TScanEdge> edges = ScanEdges(Path);
    std::vector<double> heights;
    heights.reserve(edges.size() * 2);
    for (const TScanEdge& edge : edges) {
        heights.push_back(edge.Y0);
        heights.push_back(edge.Y1);
    }
    std::sort(heights.begin(), heights.end());
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    std::sort(edges.begin(), edges.end(), [](const TScanEdge& A, const TScanEdge& B) { return A.Y0 < B.Y0; });

    TRowSpans spans(Path.fillRule() == Qt::WindingFill);
    std::vector<const TScanEdge*> active;
    qsizetype crossings = 0;
    auto next = edges.cbegin();
    for (std::size_t i = 0; i + 1 < heights.size(); ++i) {
        // Edges ending here leave, edges starting here join.
        std::erase_if(active, [&](const TScanEdge* edge) { return edge->Y1 <= heights[i]; });
        for (; next != edges.cend() && next->Y0 <= heights[i]; ++next)
            active.push_back(&*next);
        const int firstRow = FirstPixelFrom(heights[i]);
        const int endRow = FirstPixelFrom(heights[i + 1]);
        if (firstRow >= endRow)
            continue;
        const bool vertical =
            std::all_of(active.begin(), active.end(), [](const TScanEdge* edge) { return edge->X0 == edge->X1; });
        const int step = vertical ? endRow - firstRow : 1;
        for (int row = firstRow; row < endRow; row += step) {
            crossings += qsizetype(active.size());
            if (crossings > TVelkGPRegionArea::MaxScanCrossings)
                TooComplexToScan();
            if (!Rows(row, row + step, spans.At(active, row + 0.5)))
                return;
        }
    }
}

// Collects rows into y-x banded rectangles: consecutive rows with the same spans form
// one band, which is the canonical form QRegion keeps.
class TBandBuilder {
public:
    void AddRows(int Top, int Bottom, const std::vector<TSpan>& Spans)
    {
        if (FBottom == Top && Spans == FSpans) {
            FBottom = Bottom;
            return;
        }
        Flush();
        FTop = Top;
        FBottom = Bottom;
        FSpans = Spans;
    }

    QRegion Take()
    {
        Flush();
        QRegion region;
        if (!FRects.empty())
            region.setRects(FRects.data(), int(FRects.size()));
        return region;
    }

private:
    void Flush()
    {
        if (qsizetype(FRects.size() + FSpans.size()) > TVelkGPRegionArea::MaxScanRects)
            TooComplexToScan();
        for (const TSpan& span : FSpans)
            FRects.emplace_back(span.Left, FTop, span.Right - span.Left, FBottom - FTop);
        FSpans.clear();
    }

    int FTop = 0;
    int FBottom = 0;
    std::vector<TSpan> FSpans;
    std::vector<QRect> FRects;
};

QRegion ScanConvert(const QPainterPath& Path)
{
    TBandBuilder bands;
    SweepRows(Path, [&](int Top, int Bottom, const std::vector<TSpan>& Spans) {
        bands.AddRows(Top, Bottom, Spans);
        return true;
    });
    return bands.Take();
}

bool CoversAnyPixel(const QPainterPath& Path)
{
    bool found = false;
    SweepRows(Path, [&](int, int, const std::vector<TSpan>& Spans) {
        found = !Spans.empty();
        return !found;
    });
    return found;
}

// --- The byte form ---
// "VRGN", version 1, flags (1: infinite, 2: non-zero fill rule), the element count,
// then per element its type (0 move, 1 line, 2 curve, 3 curve data) and x, y as
// doubles; big-endian throughout.

constexpr char DataMagic[4] = {'V', 'R', 'G', 'N'};
constexpr quint8 DataVersion = 1;
constexpr quint8 DataInfinite = 1;
constexpr quint8 DataWinding = 2;
constexpr qsizetype DataHeaderSize = 4 + 1 + 1 + 4;
constexpr qsizetype DataElementSize = 1 + 8 + 8;

[[noreturn]] void InvalidData()
{
    throw EGDIPException(gpsInvalidParameter);
}

} // namespace

TVelkGPRegionArea TVelkGPRegionArea::Empty()
{
    return {QPainterPath(), false};
}

TVelkGPRegionArea TVelkGPRegionArea::FromRect(const TRectF& Rect)
{
    return {RectPath(Rect), false};
}

TVelkGPRegionArea TVelkGPRegionArea::FromPath(const QPainterPath& Path)
{
    return {Path, false};
}

TVelkGPRegionArea TVelkGPRegionArea::FromRegion(const QRegion& Region)
{
    QPainterPath path;
    path.addRegion(Region);
    return {path, false};
}

void TVelkGPRegionArea::Combine(const TVelkGPRegionArea& Other, TVelkGPRegionCombineMode Mode)
{
    switch (Mode) {
    case cmReplace:
        *this = Other;
        return;
    case cmIntersect:
        if (Other.Infinite)
            return;
        if (Infinite)
            *this = Other;
        else
            Path = Path.intersected(Other.Path);
        return;
    case cmUnion:
        if (Infinite)
            return;
        if (Other.Infinite)
            *this = TVelkGPRegionArea();
        else
            Path = Path.united(Other.Path);
        return;
    case cmXor:
        if (Infinite && Other.Infinite) {
            *this = Empty();
        } else {
            const QPainterPath a = FinitePath();
            const QPainterPath b = Other.FinitePath();
            *this = FromPath(a.subtracted(b).united(b.subtracted(a)));
        }
        return;
    case cmExclude:
        *this = Other.Infinite ? Empty() : FromPath(FinitePath().subtracted(Other.Path));
        return;
    case cmComplement:
        *this = Infinite ? Empty() : FromPath(Other.FinitePath().subtracted(Path));
        return;
    }
    throw EGDIPException(gpsInvalidParameter);
}

void TVelkGPRegionArea::Translate(float DX, float DY)
{
    if (!Infinite)
        Path = CheckedCoordinates(Path.translated(DX, DY));
}

void TVelkGPRegionArea::Transform(const TMatrix& M)
{
    if (!Infinite)
        Path = CheckedCoordinates(ToQTransform(M).map(Path));
}

QPainterPath TVelkGPRegionArea::FinitePath() const
{
    return Infinite ? RectPath(InfiniteAreaRect) : Path;
}

TRectF TVelkGPRegionArea::Bounds() const
{
    if (Infinite)
        return InfiniteAreaRect;
    if (IsEmpty())
        return {};
    const QRectF r = Path.boundingRect();
    return {float(r.left()), float(r.top()), float(r.right()), float(r.bottom())};
}

bool TVelkGPRegionArea::IsEmpty() const
{
    // simplified() leaves nothing of outlines that enclose no area (lines, figures that
    // cancel out under the fill rule).
    return !Infinite && (Path.isEmpty() || Path.simplified().isEmpty());
}

bool TVelkGPRegionArea::IsVisible(const TPoint& Pixel) const
{
    return Infinite || Path.contains(QPointF(Pixel.X + 0.5, Pixel.Y + 0.5));
}

bool TVelkGPRegionArea::IsVisible(const TPointF& Point) const
{
    return Infinite || Path.contains(ToQPointF(Point));
}

bool TVelkGPRegionArea::IsVisible(const TRectF& Rect) const
{
    TVelkGPRegionArea part = FromRect(Rect);
    if (part.IsEmpty())
        return false;
    part.Combine(*this, cmIntersect);
    return !part.IsEmpty();
}

QRegion TVelkGPRegionArea::Scans() const
{
    return ScanConvert(FinitePath());
}

bool TVelkGPRegionArea::Equals(const TVelkGPRegionArea& Other) const
{
    if (Infinite == Other.Infinite && (Infinite || Path == Other.Path))
        return true;
    // What lies in one area only is small when the two are alike: converting it is
    // cheaper than converting both.
    TVelkGPRegionArea difference = *this;
    difference.Combine(Other, cmXor);
    return !CoversAnyPixel(difference.FinitePath());
}

QByteArray TVelkGPRegionArea::Data() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(DataMagic, sizeof(DataMagic));
    const int count = Infinite ? 0 : Path.elementCount();
    const bool winding = count > 0 && Path.fillRule() == Qt::WindingFill;
    const quint8 flags = (Infinite ? DataInfinite : 0) | (winding ? DataWinding : 0);
    out << DataVersion << flags << quint32(count);
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = Path.elementAt(i);
        out << quint8(element.type) << double(element.x) << double(element.y);
    }
    return bytes;
}

TVelkGPRegionArea TVelkGPRegionArea::FromData(const QByteArray& Data)
{
    if (Data.size() < DataHeaderSize || !Data.startsWith(QByteArrayView(DataMagic, sizeof(DataMagic))))
        InvalidData();
    QDataStream in(Data);
    in.setVersion(QDataStream::Qt_6_0);
    in.skipRawData(sizeof(DataMagic));
    quint8 version = 0;
    quint8 flags = 0;
    quint32 count = 0;
    in >> version >> flags >> count;
    // The size must be exact before anything is read or allocated.
    if (version != DataVersion || (flags & ~(DataInfinite | DataWinding)) != 0 ||
        count > quint32((Data.size() - DataHeaderSize) / DataElementSize) ||
        DataHeaderSize + qsizetype(count) * DataElementSize != Data.size())
        InvalidData();
    if ((flags & DataInfinite) != 0) {
        if (count != 0)
            InvalidData();
        return {};
    }

    QPainterPath path;
    QPointF curve[3];
    int curvePoints = -1; // points of a pending curve, -1 when none
    for (quint32 i = 0; i < count; ++i) {
        quint8 type = 0;
        double x = 0;
        double y = 0;
        in >> type >> x >> y;
        if (!IsValidCoordinate(x) || !IsValidCoordinate(y))
            InvalidData();
        const QPointF point(x, y);
        const bool curveData = type == QPainterPath::CurveToDataElement;
        if (curveData != (curvePoints >= 1) || (i == 0 && type != QPainterPath::MoveToElement))
            InvalidData();
        switch (type) {
        case QPainterPath::MoveToElement:
            path.moveTo(point);
            break;
        case QPainterPath::LineToElement:
            path.lineTo(point);
            break;
        case QPainterPath::CurveToElement:
            curve[0] = point;
            curvePoints = 1;
            break;
        case QPainterPath::CurveToDataElement:
            curve[curvePoints++] = point;
            if (curvePoints == 3) {
                path.cubicTo(curve[0], curve[1], curve[2]);
                curvePoints = -1;
            }
            break;
        default:
            InvalidData();
        }
    }
    if (curvePoints >= 1 || in.status() != QDataStream::Ok)
        InvalidData();
    // Set last: giving an empty path a fill rule gives it a first point.
    if (count > 0)
        path.setFillRule((flags & DataWinding) != 0 ? Qt::WindingFill : Qt::OddEvenFill);
    return FromPath(path);
}

} // namespace velk

#include "graphics/stroker.h"

#include "platform/numbers.h"

#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velk {

namespace {

using TPolyline = std::vector<QPointF>;

// One curve is never cut into more lines than this.
constexpr int MaxCurveSegments = 1000;
// Beyond this miter ratio an offset polyline (compound bands) bevels its corners
// instead of running out to the miter point.
constexpr qreal MaxOffsetMiter = 2;

struct TFigure {
    TPolyline Points;
    bool Closed = false;
    // A segment was seen: a figure of one point is then a zero-length line (which caps
    // draw), not a lone move.
    bool HasSegment = false;
    // The last segment had no length: a figure that ends on its start stays open.
    bool EndsWithZeroLength = false;
};

// A stretch of a figure that is stroked as one line: the whole figure, or one dash.
struct TPiece {
    TPolyline Points;
    bool Closed = false;
    // The ends are the figure's ends (line caps) rather than dash ends (dash caps).
    bool StartIsLineEnd = true;
    bool EndIsLineEnd = true;
    // Direction of travel where the piece lies, for pieces of no length.
    QPointF Direction{1, 0};
    // Inset figures: which side of the travel direction is inside (+1: the left
    // normal, -1: the right one); 0 for a centred stroke.
    int InsetSide = 0;
};

// A count from an estimate, kept within Low … High (Low for NaN).
int ClampedCount(qreal Estimate, int Low, int High)
{
    return TryFloatToInt<int>(std::clamp<qreal>(Estimate, Low, High)).value_or(Low);
}

qreal Dot(const QPointF& A, const QPointF& B)
{
    return A.x() * B.x() + A.y() * B.y();
}

qreal Cross(const QPointF& A, const QPointF& B)
{
    return A.x() * B.y() - A.y() * B.x();
}

qreal Length(const QPointF& V)
{
    return std::hypot(V.x(), V.y());
}

QPointF Unit(const QPointF& V, const QPointF& Fallback)
{
    const qreal length = Length(V);
    return length > 0 && std::isfinite(length) ? V / length : Fallback;
}

// The normal on the left of the direction of travel (y pointing down: for travel
// towards +x it points up).
QPointF LeftNormal(const QPointF& Direction)
{
    return {Direction.y(), -Direction.x()};
}

// Positive for polygons running clockwise on a y-down screen.
template <typename TPoints>
qreal SignedArea(const TPoints& Polygon)
{
    qreal area = 0;
    const auto n = Polygon.size();
    for (decltype(Polygon.size()) i = 0; i < n; ++i)
        area += Cross(Polygon[i], Polygon[(i + 1) % n]);
    return area / 2;
}

// Qt's stroke bands wind with positive signed area (measured as above) whatever the
// direction of travel; every other piece is added with the same orientation, so that
// the non-zero rule fills the union.
void AddPolygon(QPainterPath& Out, QPolygonF Polygon)
{
    if (Polygon.size() < 3)
        return;
    if (SignedArea(Polygon) < 0)
        std::reverse(Polygon.begin(), Polygon.end());
    Out.addPolygon(Polygon);
    Out.closeSubpath();
}

// Adds Shape keeping its holes: the whole shape is reversed when its total area winds
// the wrong way.
void AddShape(QPainterPath& Out, const QPainterPath& Shape)
{
    qreal area = 0;
    for (const QPolygonF& polygon : Shape.toSubpathPolygons())
        area += SignedArea(polygon);
    Out.addPath(area < 0 ? Shape.toReversed() : Shape);
}

void AppendPoint(TPolyline& Points, const QPointF& P)
{
    if (Points.empty() || Points.back() != P)
        Points.push_back(P);
}

// P0 by value: it is usually Points.back(), which appending may move.
void AppendCubic(TPolyline& Points, QPointF P0, QPointF P1, QPointF P2, QPointF P3,
                 qreal Flatness)
{
    // The largest second difference bounds how far the chords stray from the curve.
    const qreal bend = std::max(Length(P0 - 2 * P1 + P2), Length(P1 - 2 * P2 + P3));
    const qreal estimate = std::ceil(std::sqrt(0.75 * bend / Flatness));
    const int segments = ClampedCount(estimate, 1, MaxCurveSegments);
    for (int i = 1; i <= segments; ++i) {
        const qreal t = qreal(i) / segments;
        const qreal s = 1 - t;
        AppendPoint(Points, s * s * s * P0 + 3 * s * s * t * P1 + 3 * s * t * t * P2 + t * t * t * P3);
    }
}

void FinishFigure(std::vector<TFigure>& Figures, TFigure& Figure)
{
    // A lone move strokes nothing; a figure of zero length is a piece of no length,
    // which gets its caps.
    if (Figure.Points.size() == 1 && Figure.HasSegment)
        Figure.Points.push_back(Figure.Points.front());
    if (Figure.Points.size() >= 2) {
        auto& points = Figure.Points;
        if (points.size() >= 3 && points.front() == points.back() && !Figure.EndsWithZeroLength) {
            Figure.Closed = true;
            points.pop_back();
        }
        Figures.push_back(std::move(Figure));
    }
    Figure = {};
}

std::vector<TFigure> FlattenFigures(const QPainterPath& Path, qreal Flatness)
{
    std::vector<TFigure> figures;
    TFigure figure;
    for (int i = 0, n = Path.elementCount(); i < n; ++i) {
        const QPainterPath::Element e = Path.elementAt(i);
        const QPointF p(e.x, e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            FinishFigure(figures, figure);
            figure.Points.push_back(p);
            break;
        case QPainterPath::LineToElement:
            figure.EndsWithZeroLength = !figure.Points.empty() && figure.Points.back() == p;
            AppendPoint(figure.Points, p);
            figure.HasSegment = true;
            break;
        case QPainterPath::CurveToElement:
            figure.HasSegment = true;
            figure.EndsWithZeroLength = false;
            if (i + 2 < n && !figure.Points.empty()) {
                const QPainterPath::Element c2 = Path.elementAt(i + 1);
                const QPainterPath::Element end = Path.elementAt(i + 2);
                AppendCubic(figure.Points, figure.Points.back(), p, {c2.x, c2.y}, {end.x, end.y}, Flatness);
            }
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    FinishFigure(figures, figure);
    return figures;
}

qreal FigureLength(const TFigure& Figure)
{
    qreal length = 0;
    const auto& p = Figure.Points;
    for (std::size_t i = 1; i < p.size(); ++i)
        length += Length(p[i] - p[i - 1]);
    if (Figure.Closed && p.size() > 1)
        length += Length(p.front() - p.back());
    return length;
}

int InsetSideOf(const TFigure& Figure, const TVelkStrokeStyle& Style)
{
    if (Style.Alignment != paInset || !Figure.Closed)
        return 0;
    // With y pointing down a positive area runs clockwise on screen: the inside is on
    // the right of the direction of travel.
    return SignedArea(Figure.Points) > 0 ? -1 : 1;
}

TPiece WholeFigure(const TFigure& Figure, int InsetSide)
{
    TPiece piece;
    piece.Points = Figure.Points;
    piece.Closed = Figure.Closed;
    piece.InsetSide = InsetSide;
    return piece;
}

// Cuts Figure into its dashes. Pattern holds absolute lengths (all > 0), Phase the
// distance already consumed of the pattern at the figure's start.
void DashFigure(const TFigure& Figure, const std::vector<qreal>& Pattern, qreal Phase, int InsetSide,
                std::vector<TPiece>& Pieces)
{
    std::size_t index = 0;
    while (Phase >= Pattern[index]) {
        Phase -= Pattern[index];
        index = (index + 1) % Pattern.size();
    }
    qreal remaining = Pattern[index] - Phase;
    bool on = index % 2 == 0;
    const bool startsOn = on;

    const std::size_t firstPiece = Pieces.size();
    const auto& p = Figure.Points;
    TPiece current;
    current.InsetSide = InsetSide;
    if (on)
        current.Points.push_back(p.front());
    bool toggled = false;

    const std::size_t segments = Figure.Closed ? p.size() : p.size() - 1;
    for (std::size_t s = 0; s < segments; ++s) {
        const QPointF a = p[s];
        const QPointF b = p[(s + 1) % p.size()];
        const qreal length = Length(b - a);
        const QPointF direction = Unit(b - a, {1, 0});
        if (current.Points.size() == 1)
            current.Direction = direction;
        qreal position = 0;
        while (length - position > remaining) {
            position += remaining;
            const QPointF cut = a + (b - a) * (position / length);
            if (on) {
                AppendPoint(current.Points, cut);
                if (current.Points.size() == 1)
                    current.Points.push_back(cut);
                current.EndIsLineEnd = false;
                Pieces.push_back(std::move(current));
                current = {};
                current.InsetSide = InsetSide;
            } else {
                current.Points.push_back(cut);
                current.StartIsLineEnd = false;
                current.Direction = direction;
            }
            toggled = true;
            on = !on;
            index = (index + 1) % Pattern.size();
            remaining = Pattern[index];
        }
        remaining -= length - position;
        if (on)
            AppendPoint(current.Points, b);
    }

    if (Figure.Closed && on && !toggled) {
        Pieces.push_back(WholeFigure(Figure, InsetSide));
        return;
    }
    if (Figure.Closed && on && startsOn) {
        // The dash running over the closing point continues into the first one.
        TPiece& first = Pieces[firstPiece];
        for (const QPointF& point : first.Points)
            AppendPoint(current.Points, point);
        first = std::move(current);
    } else if (on) {
        if (current.Points.size() == 1)
            current.Points.push_back(current.Points.front());
        Pieces.push_back(std::move(current));
    }
    // A closed figure has no line ends: every end is a dash end.
    if (Figure.Closed) {
        for (std::size_t i = firstPiece; i < Pieces.size(); ++i)
            Pieces[i].StartIsLineEnd = Pieces[i].EndIsLineEnd = false;
    }
}

// The figures of Path as pieces to stroke: the figures themselves, or their dashes.
std::vector<TPiece> PiecesOf(const std::vector<TFigure>& Figures, const TVelkStrokeStyle& Style)
{
    std::vector<TPiece> pieces;
    std::vector<qreal> pattern;
    qreal patternLength = 0;
    for (qreal dash : Style.Dashes) {
        const qreal length = dash * Style.Width;
        if (!(length > 0) || !std::isfinite(length)) {
            pattern.clear();
            break;
        }
        pattern.push_back(length);
        patternLength += length;
    }
    // An odd pattern repeats with dashes and gaps swapped.
    if (pattern.size() % 2 == 1) {
        const std::vector<qreal> once = pattern;
        pattern.insert(pattern.end(), once.begin(), once.end());
        patternLength *= 2;
    }
    if (!pattern.empty()) {
        qreal dashes = 0;
        for (const TFigure& figure : Figures)
            dashes += FigureLength(figure) / patternLength * qreal(pattern.size());
        if (!(dashes <= MaxDashes) || !std::isfinite(patternLength))
            pattern.clear();
    }

    qreal phase = 0;
    if (!pattern.empty()) {
        phase = std::fmod(Style.DashOffset * Style.Width, patternLength);
        if (!std::isfinite(phase))
            phase = 0;
        if (phase < 0)
            phase += patternLength;
    }
    for (const TFigure& figure : Figures) {
        const int insetSide = InsetSideOf(figure, Style);
        if (pattern.empty())
            pieces.push_back(WholeFigure(figure, insetSide));
        else
            DashFigure(figure, pattern, phase, insetSide, pieces);
    }
    return pieces;
}

// The points of Points moved Distance along the left normal of each segment; corners
// meet at the miter point, or are bevelled where that lies far away.
TPolyline OffsetPolyline(const TPolyline& Points, bool Closed, qreal Distance)
{
    const std::size_t n = Points.size();
    if (n < 2 || Distance == 0)
        return Points;
    std::vector<QPointF> normals;
    const std::size_t segments = Closed ? n : n - 1;
    normals.reserve(segments);
    for (std::size_t s = 0; s < segments; ++s)
        normals.push_back(LeftNormal(Unit(Points[(s + 1) % n] - Points[s], {1, 0})));

    TPolyline result;
    result.reserve(n + 8);
    for (std::size_t i = 0; i < n; ++i) {
        const bool hasIn = Closed || i > 0;
        const bool hasOut = Closed || i + 1 < n;
        const QPointF& in = normals[(i + segments - 1) % segments];
        const QPointF& out = normals[i % segments];
        if (!hasIn) {
            result.push_back(Points[i] + out * Distance);
        } else if (!hasOut) {
            result.push_back(Points[i] + in * Distance);
        } else {
            const qreal cosine = 1 + Dot(in, out);
            const QPointF sum = in + out;
            if (cosine > 0 && Length(sum) / cosine <= MaxOffsetMiter) {
                result.push_back(Points[i] + sum * (Distance / cosine));
            } else {
                result.push_back(Points[i] + in * Distance);
                result.push_back(Points[i] + out * Distance);
            }
        }
    }
    return result;
}

// For sjMiter: the miters beyond the limit, clipped at Limit · Width / 2 from the
// corner (Qt bevels them).
void AddClippedMiters(QPainterPath& Out, const TPolyline& Points, bool Closed, qreal Width, qreal Limit)
{
    const std::size_t n = Points.size();
    if (n < 3 && !(Closed && n >= 2))
        return;
    const qreal half = Width / 2;
    const qreal clip = Limit * half;
    for (std::size_t i = Closed ? 0 : 1; i < (Closed ? n : n - 1); ++i) {
        const QPointF& corner = Points[i];
        const QPointF a = Unit(corner - Points[(i + n - 1) % n], {1, 0});
        const QPointF b = Unit(Points[(i + 1) % n] - corner, {1, 0});
        // Ratio of miter length to width: 1 / cos(turn / 2).
        const qreal cosHalfTurn = std::sqrt(std::max<qreal>(0, (1 + Dot(a, b)) / 2));
        if (cosHalfTurn * Limit >= 1)
            continue;
        const qreal side = Cross(a, b) > 0 ? 1 : -1; // the outer side: left for a right turn
        const QPointF n1 = LeftNormal(a) * side;
        const QPointF n2 = LeftNormal(b) * side;
        const QPointF e1 = corner + n1 * half;
        const QPointF e2 = corner + n2 * half;
        const qreal sinHalfTurn = std::sqrt(std::max<qreal>(0, 1 - cosHalfTurn * cosHalfTurn));
        const qreal reach = (clip - half * cosHalfTurn) / sinHalfTurn;
        // An endless clip (an infinite limit on a U-turn) leaves Qt's bevel.
        if (!std::isfinite(reach))
            continue;
        AddPolygon(Out, QPolygonF{{e1, e1 + a * reach, e2 - b * reach, e2, corner}});
    }
}

QPolygonF CirclePolygon(const QPointF& Center, qreal Radius, qreal Flatness)
{
    const qreal ratio = std::clamp<qreal>(1 - Flatness / Radius, -1, 1);
    const qreal steps = std::ceil(std::numbers::pi / std::acos(ratio));
    const int segments = ClampedCount(steps, 8, 256);
    QPolygonF polygon;
    polygon.reserve(segments);
    for (int i = 0; i < segments; ++i) {
        const qreal angle = 2 * std::numbers::pi * i / segments;
        polygon.append(Center + QPointF(std::cos(angle), std::sin(angle)) * Radius);
    }
    return polygon;
}

void AddCapShape(QPainterPath& Out, TVelkGPLineCap Cap, const QPointF& End, const QPointF& Outward, qreal Width,
                 qreal Flatness)
{
    const qreal h = Width / 2;
    const QPointF u = Outward;
    const QPointF v = LeftNormal(Outward);
    switch (Cap) {
    case lcSquare:
        AddPolygon(Out, QPolygonF{{End + v * h, End + v * h + u * h, End - v * h + u * h, End - v * h}});
        break;
    case lcRound:
        AddPolygon(Out, CirclePolygon(End, h, Flatness));
        break;
    case lcTriangle:
        AddPolygon(Out, QPolygonF{{End + v * h, End + u * h, End - v * h}});
        break;
    // Anchors sit centred on the end and span two widths.
    case lcSquareAnchor:
        AddPolygon(Out, QPolygonF{{End + (u + v) * Width, End + (u - v) * Width, End - (u + v) * Width,
                                   End - (u - v) * Width}});
        break;
    case lcRoundAnchor:
        AddPolygon(Out, CirclePolygon(End, Width, Flatness));
        break;
    case lcDiamondAnchor:
        AddPolygon(Out, QPolygonF{{End + u * Width, End + v * Width, End - u * Width, End - v * Width}});
        break;
    case lcArrowAnchor: {
        // An equilateral head, its tip on the end, two widths long.
        const qreal halfBase = 2 * Width / std::numbers::sqrt3;
        const QPointF base = End - u * (2 * Width);
        AddPolygon(Out, QPolygonF{{End, base + v * halfBase, base - v * halfBase}});
        break;
    }
    case lcFlat:
    case lcNoAnchor:
    case lcCustom:
        break;
    }
}

TVelkGPLineCap DashCapShape(TVelkGPDashCap Cap)
{
    switch (Cap) {
    case dcRound:
        return lcRound;
    case dcTriangle:
        return lcTriangle;
    case dcSquare:
        return lcSquare;
    case dcFlat:
    case dcUnused:
        break;
    }
    return lcFlat;
}

void AddCustomCap(QPainterPath& Out, const TVelkStrokeCustomCap& Cap, const QPointF& End, const QPointF& Outward,
                  qreal Width, qreal MiterLimit, qreal Flatness)
{
    const qreal scale = Width * Cap.WidthScale;
    if (!std::isfinite(scale) || !std::isfinite(Cap.BaseInset))
        return;
    AddCapShape(Out, Cap.BaseCap, End - Outward * (Cap.BaseInset * scale), Outward, Width, Flatness);
    // Cap space (origin at the end, +y outwards, x across) to the line's end; a
    // rotation, so the shape keeps its handedness.
    const QPointF across = LeftNormal(Outward);
    const QTransform toLine(across.x() * scale, across.y() * scale, Outward.x() * scale, Outward.y() * scale, End.x(),
                            End.y());
    const QPainterPath shape = toLine.map(Cap.Path);
    if (Cap.Fill) {
        AddShape(Out, shape);
        return;
    }
    TVelkStrokeStyle style;
    style.Width = Width;
    style.Join = Cap.Join;
    style.MiterLimit = MiterLimit;
    style.StartCap = Cap.StartCap == lcCustom ? lcFlat : Cap.StartCap;
    style.EndCap = Cap.EndCap == lcCustom ? lcFlat : Cap.EndCap;
    Out.addPath(OutlineStroke(shape, style, Flatness));
}

// Removes Distance of length from the start of Points (from the end when AtEnd).
void TrimPolyline(TPolyline& Points, qreal Distance, bool AtEnd)
{
    if (!(Distance > 0) || Points.size() < 2)
        return;
    if (AtEnd)
        std::reverse(Points.begin(), Points.end());
    std::size_t i = 0;
    while (i + 1 < Points.size()) {
        const qreal length = Length(Points[i + 1] - Points[i]);
        if (Distance < length) {
            Points[i] += (Points[i + 1] - Points[i]) * (Distance / length);
            break;
        }
        Distance -= length;
        ++i;
    }
    if (i + 1 >= Points.size())
        i = Points.size() - 1;
    Points.erase(Points.begin(), Points.begin() + static_cast<std::ptrdiff_t>(i));
    if (Points.size() == 1)
        Points.push_back(Points.front());
    if (AtEnd)
        std::reverse(Points.begin(), Points.end());
}

struct TBand {
    // Offset of the band's centre along the left normal, and its width.
    qreal Offset;
    qreal Width;
};

std::vector<TBand> BandsOf(const TVelkStrokeStyle& Style, int InsetSide)
{
    const qreal w = Style.Width;
    // Where a fraction of the width lies, along the left normal.
    const auto offsetOf = [&](qreal fraction) {
        return InsetSide == 0 ? (0.5 - fraction) * w : InsetSide * fraction * w;
    };
    std::vector<TBand> bands;
    if (Style.Compound.size() < 2) {
        bands.push_back({offsetOf(0.5), w});
        return bands;
    }
    for (std::size_t i = 0; i + 1 < Style.Compound.size(); i += 2) {
        const qreal from = Style.Compound[i];
        const qreal to = Style.Compound[i + 1];
        if (to > from && std::isfinite(from) && std::isfinite(to))
            bands.push_back({offsetOf((from + to) / 2), (to - from) * w});
    }
    return bands;
}

QPainterPath PolylinePath(const TPolyline& Points, bool Closed)
{
    QPainterPath path;
    path.moveTo(Points.front());
    const std::size_t n = Points.size();
    for (std::size_t i = 1; i < n; ++i)
        path.lineTo(Points[i]);
    if (Closed) {
        path.closeSubpath();
    } else if (n >= 3 && QPointF(path.elementAt(0)) == Points.back() && Points[n - 2] != Points.back()) {
        // QPainterPathStroker closes a subpath that ends on its start: an open one stops a
        // hair short of it (its cap is drawn at the true end).
        const QPointF& from = Points[n - 2];
        const QPointF step = Points.back() - from;
        const qreal length = Length(step);
        const qreal magnitude = std::abs(from.x()) + std::abs(from.y());
        const qreal shortBy = std::min(length / 2, std::max(1e-6 * length, 1e-9 * magnitude));
        if (std::isfinite(shortBy) && std::isfinite(length))
            path.setElementPositionAt(path.elementCount() - 1, Points.back().x() - step.x() / length * shortBy,
                                      Points.back().y() - step.y() / length * shortBy);
    }
    return path;
}

QPainterPath StrokeBand(const TPolyline& Points, bool Closed, qreal Width, const TVelkStrokeStyle& Style)
{
    QPainterPathStroker stroker;
    stroker.setWidth(Width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(QtJoinStyle(Style.Join));
    stroker.setMiterLimit(Style.MiterLimit);
    QPainterPath band = stroker.createStroke(PolylinePath(Points, Closed));
    if (Style.Join == sjMiter)
        AddClippedMiters(band, Points, Closed, Width, Style.MiterLimit);
    return band;
}

QPointF StartOutward(const TPiece& Piece)
{
    return Unit(Piece.Points[0] - Piece.Points[1], -Piece.Direction);
}

QPointF EndOutward(const TPiece& Piece)
{
    const std::size_t n = Piece.Points.size();
    return Unit(Piece.Points[n - 1] - Piece.Points[n - 2], Piece.Direction);
}

void StrokePiece(QPainterPath& Out, TPiece Piece, const TVelkStrokeStyle& Style, qreal Flatness)
{
    const qreal w = Style.Width;
    const bool customStart = !Piece.Closed && Piece.StartIsLineEnd && Style.StartCap == lcCustom &&
                             Style.CustomStartCap;
    const bool customEnd = !Piece.Closed && Piece.EndIsLineEnd && Style.EndCap == lcCustom && Style.CustomEndCap;

    // Caps follow the direction at the ends as drawn, before a base inset shortens them.
    QPointF startOutward, endOutward, start, end;
    if (!Piece.Closed) {
        startOutward = StartOutward(Piece);
        endOutward = EndOutward(Piece);
        start = Piece.Points.front();
        end = Piece.Points.back();
        if (customStart)
            TrimPolyline(Piece.Points, Style.CustomStartCap->BaseInset * w * Style.CustomStartCap->WidthScale, false);
        if (customEnd)
            TrimPolyline(Piece.Points, Style.CustomEndCap->BaseInset * w * Style.CustomEndCap->WidthScale, true);
    }

    for (const TBand& band : BandsOf(Style, Piece.InsetSide)) {
        const TPolyline line = OffsetPolyline(Piece.Points, Piece.Closed, band.Offset);
        Out.addPath(StrokeBand(line, Piece.Closed, band.Width, Style));
    }
    if (Piece.Closed)
        return;

    // Caps span the whole pen, centred on its middle.
    const qreal capOffset = Piece.InsetSide * w / 2;
    const QPointF startAt = start + LeftNormal(-startOutward) * capOffset;
    const QPointF endAt = end + LeftNormal(endOutward) * capOffset;
    if (customStart)
        AddCustomCap(Out, *Style.CustomStartCap, startAt, startOutward, w, Style.MiterLimit, Flatness);
    else
        AddCapShape(Out, Piece.StartIsLineEnd ? Style.StartCap : DashCapShape(Style.DashCap), startAt, startOutward,
                    w, Flatness);
    if (customEnd)
        AddCustomCap(Out, *Style.CustomEndCap, endAt, endOutward, w, Style.MiterLimit, Flatness);
    else
        AddCapShape(Out, Piece.EndIsLineEnd ? Style.EndCap : DashCapShape(Style.DashCap), endAt, endOutward, w,
                    Flatness);
}

// The largest factor by which Transform stretches a length.
qreal MaxStretch(const QTransform& Transform)
{
    const qreal a = Transform.m11(), b = Transform.m12(), c = Transform.m21(), d = Transform.m22();
    const qreal sum = (a * a + b * b + c * c + d * d) / 2;
    const qreal det = a * d - b * c;
    return std::sqrt(sum + std::sqrt(std::max<qreal>(0, sum * sum - det * det)));
}

} // namespace

QPainterPath OutlineStroke(const QPainterPath& Path, const TVelkStrokeStyle& Style, qreal Flatness)
{
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    if (!(Style.Width > 0) || !std::isfinite(Style.Width))
        return out;
    if (!(Flatness > 0) || !std::isfinite(Flatness))
        Flatness = 0.25;

    // A nib transform: stroke in the space where the nib is plain, then map back.
    const QTransform nib(Style.Nib.m11(), Style.Nib.m12(), Style.Nib.m21(), Style.Nib.m22(), 0, 0);
    if (!nib.isIdentity() && nib.isInvertible() && std::isfinite(nib.determinant())) {
        TVelkStrokeStyle plain = Style;
        plain.Nib = QTransform();
        const QPainterPath outline =
            OutlineStroke(nib.inverted().map(Path), plain, Flatness / std::max<qreal>(MaxStretch(nib), 1e-9));
        QPainterPath mapped = nib.map(outline);
        mapped.setFillRule(Qt::WindingFill);
        return mapped;
    }

    for (TPiece& piece : PiecesOf(FlattenFigures(Path, Flatness), Style))
        StrokePiece(out, std::move(piece), Style, Flatness);
    return out;
}

namespace {

// True when a figure of Path ends on its start with a line of no length: open, where
// Qt's stroker would close it.
bool HasOpenFigureEndingOnItsStart(const QPainterPath& Path)
{
    int start = 0;
    for (int i = 1, n = Path.elementCount(); i <= n; ++i) {
        if (i < n && Path.elementAt(i).type != QPainterPath::MoveToElement)
            continue;
        const int last = i - 1;
        if (last - start >= 3) {
            const QPainterPath::Element first = Path.elementAt(start);
            const QPainterPath::Element before = Path.elementAt(last - 1);
            const QPainterPath::Element end = Path.elementAt(last);
            if (end.type == QPainterPath::LineToElement && before.x == end.x && before.y == end.y &&
                QPointF(first) == QPointF(end))
                return true;
        }
        start = i;
    }
    return false;
}

// True when a figure of Path has segments but no length: all its points lie on its start
// (a TVelkGPPath keeps such a figure as a line of no length).
bool HasZeroLengthFigure(const QPainterPath& Path)
{
    int start = 0;
    bool degenerate = false;
    for (int i = 0, n = Path.elementCount(); i < n; ++i) {
        const QPainterPath::Element e = Path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement) {
            if (degenerate)
                return true;
            start = i;
            degenerate = false;
            continue;
        }
        const QPainterPath::Element first = Path.elementAt(start);
        degenerate = (i == start + 1 || degenerate) && e.x == first.x && e.y == first.y;
    }
    return degenerate;
}

} // namespace

bool PathNeedsOwnStroke(const QPainterPath& Path, const TVelkStrokeStyle& Style)
{
    // Qt gives a figure of no length no round cap.
    if ((Style.StartCap != lcFlat || Style.EndCap != lcFlat) && HasZeroLengthFigure(Path))
        return true;
    if (HasOpenFigureEndingOnItsStart(Path))
        return true;
    if (Style.Join != sjMiter)
        return false;
    const auto exceeds = [&](const QPointF& In, const QPointF& Out) {
        const qreal cosHalfTurn = std::sqrt(std::max<qreal>(0, (1 + Dot(In, Out)) / 2));
        return cosHalfTurn * Style.MiterLimit < 1;
    };
    // Per subpath: its start, the first and the last direction of travel.
    QPointF start, current, firstDirection, lastDirection;
    int segments = 0;
    // A segment from current to End, heading In at its start and Out at its end.
    const auto segment = [&](const QPointF& In, const QPointF& Out, const QPointF& End) {
        const QPointF in = Unit(In, {1, 0});
        const bool sharp = segments > 0 && exceeds(lastDirection, in);
        if (segments++ == 0)
            firstDirection = in;
        lastDirection = Unit(Out, in);
        current = End;
        return sharp;
    };
    // Qt closes a subpath that ends on its start: one more corner there.
    const auto closingCornerIsSharp = [&]() {
        return segments > 1 && current == start && exceeds(lastDirection, firstDirection);
    };
    for (int i = 0, n = Path.elementCount(); i < n; ++i) {
        const QPainterPath::Element e = Path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.type == QPainterPath::MoveToElement) {
            if (closingCornerIsSharp())
                return true;
            start = current = p;
            segments = 0;
        } else if (e.type == QPainterPath::LineToElement) {
            if (segment(p - current, p - current, p))
                return true;
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < n) {
            const QPointF c2(Path.elementAt(i + 1).x, Path.elementAt(i + 1).y);
            const QPointF end(Path.elementAt(i + 2).x, Path.elementAt(i + 2).y);
            // The tangents at the ends: towards the first control point that differs.
            const QPointF in = p != current ? p - current : c2 != current ? c2 - current : end - current;
            const QPointF out = end != c2 ? end - c2 : end != p ? end - p : end - current;
            i += 2;
            if (segment(in, out, end))
                return true;
        }
    }
    return closingCornerIsSharp();
}

std::vector<qreal> PresetDashPattern(TVelkGPStrokeDash Dash)
{
    switch (Dash) {
    case sdDash:
        return {3, 1};
    case sdDot:
        return {1, 1};
    case sdDashDot:
        return {3, 1, 1, 1};
    case sdDashDotDot:
        return {3, 1, 1, 1, 1, 1};
    case sdSolid:
    case sdCustom:
        break;
    }
    return {};
}

Qt::PenJoinStyle QtJoinStyle(TVelkGPStrokeJoin Join)
{
    switch (Join) {
    case sjBevel:
        return Qt::BevelJoin;
    case sjRound:
        return Qt::RoundJoin;
    case sjMiter:
    case sjMiterClipped:
        break;
    }
    // Qt's SvgMiterJoin bevels beyond the limit, the miter length measured as in the
    // classic API; the clipped miters of sjMiter are added by the stroker.
    return Qt::SvgMiterJoin;
}

} // namespace velk

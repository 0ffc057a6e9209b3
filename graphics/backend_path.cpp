#include "graphics/backend_path.h"

#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/path_data.h"
#include "graphics/path_math.h"
#include "graphics/pen.h"
#include "graphics/qt_conversions.h"
#include "graphics/text_layout.h"
#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace velk {

using path_math::CubicPoint;
using path_math::TCubic;
using path_math::Toward;

namespace {

using TKind = TVelkGPPathPointKind;

constexpr double Pi = std::numbers::pi;

TKind WithType(TKind Kind, std::uint8_t Type)
{
    return {static_cast<std::uint8_t>((Kind.aKind & ~TKind::TypeMask) | Type)};
}

// The parameter of the point of the ellipse with radii Rx, Ry that lies in the direction
// of Degrees from the centre: the classic API measures arc angles on the ellipse
// itself, not on the circle it is stretched from. The result stays in the same turn.
double EllipseParameter(double Degrees, double Rx, double Ry)
{
    const double angle = Degrees * Pi / 180;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    if (std::fabs(c) < 1e-5 || std::fabs(s) < 1e-5 || Rx == 0 || Ry == 0)
        return angle; // on an axis both measures agree
    const double stretched = std::atan2(s / std::fabs(Ry), c / std::fabs(Rx));
    return stretched + 2 * Pi * std::nearbyint((angle - stretched) / (2 * Pi));
}

// How many lines keep a cubic within Tolerance: a chord of a parameter step h deviates
// at most h^2 / 8 * max|B''| and |B''| <= 6 * the largest second difference of the
// control points. At most Limit, at least 1.
int FlattenCount(const TCubic& P, double Tolerance, int Limit)
{
    const auto secondDifference = [](const TPointF& A, const TPointF& B, const TPointF& C) {
        return std::hypot(double(A.X) - 2.0 * B.X + C.X, double(A.Y) - 2.0 * B.Y + C.Y);
    };
    const double dd = std::max(secondDifference(P[0], P[1], P[2]), secondDifference(P[1], P[2], P[3]));
    const double count = std::ceil(std::sqrt(0.75 * dd / Tolerance));
    if (!(count > 1)) // NaN too
        return 1;
    return FloatToInt<int>(std::min(count, double(std::max(Limit, 1))));
}

// The index after the figure that starts at Start; ZeroLength tells whether the figure
// has segments that all stay on its start point (as QPainterPath compares points).
int FigureEnd(const TVelkGPPathData& Data, int Start, bool& ZeroLength)
{
    const QPointF start = ToQPointF(Data.Points[Start]);
    const int count = static_cast<int>(Data.Points.size());
    int end = Start + 1;
    ZeroLength = true;
    for (; end < count && !Data.Kinds[end].IsStart(); ++end)
        ZeroLength = ZeroLength && ToQPointF(Data.Points[end]) == start;
    ZeroLength = ZeroLength && end > Start + 1;
    return end;
}

// Appends a line of no length at the current point P, which QPainterPath's lineTo would
// drop: the line is added to another point and moved back.
void AddZeroLengthLine(QPainterPath& Path, const QPointF& P)
{
    const int count = Path.elementCount();
    Path.lineTo(P.x() + std::max(1.0, std::abs(P.x())), P.y());
    if (Path.elementCount() > count)
        Path.setElementPositionAt(count, P.x(), P.y());
}

} // namespace

const TClassInfo& TVelkGPPath::StaticClass()
{
    static const TClassInfo info(u"TVelkGPPath"_qs, &TVelkGPGraphicsObject::StaticClass(),
                                 &CreateInstance<TVelkGPPath>,
                                 TPublished<TVelkGPPath>()
                                     .Enumeration(u"FillMode"_qs, &TVelkGPPath::FillMode, &TVelkGPPath::SetFillMode,
                                                  fmEvenOdd)
                                     .String(u"Data"_qs, &TVelkGPPath::GetData, &TVelkGPPath::SetData)
                                     .NeverStored()
                                     .Take());
    return info;
}

TVelkGPPath::TVelkGPPath(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner) {}

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPPath::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPPath>(AOwner);
}

// --- Lifecycle ---

void TVelkGPPath::Assign(const TPersistent* Source)
{
    if (const auto* path = dynamic_cast<const TVelkGPPath*>(Source)) {
        if (path == this)
            return;
        FData = path->FData;
        FFillMode = path->FFillMode;
        FLastPoint = path->FLastPoint;
        FNewFigure = path->FNewFigure;
        DoChanged();
        return;
    }
    if (const auto* data = dynamic_cast<const TVelkPathData*>(Source)) {
        WithinUpdate(*this, [&] {
            Clear();
            FFillMode = data->FillMode();
            for (int i = 0; i < data->Count(); ++i) {
                const TVelkPathPoint& e = data->GetPoint(i);
                switch (e.Kind) {
                case ppMoveTo:
                    MoveTo(e.Point);
                    break;
                case ppLineTo:
                    LineTo(e.Point);
                    break;
                case ppCurveTo:
                    if (i + 2 < data->Count()) {
                        CurveTo(e.Point, data->GetPoint(i + 1).Point, data->GetPoint(i + 2).Point);
                        i += 2;
                    } else { // a cubic cut short (not built by the path's own commands)
                        LineTo(data->GetPoint(data->Count() - 1).Point);
                        i = data->Count();
                    }
                    break;
                case ppClose:
                    ClosePath();
                    break;
                }
            }
        });
        return;
    }
    TVelkGPGraphicsObject::Assign(Source);
}

void TVelkGPPath::AssignTo(TPersistent* Dest) const
{
    auto* data = dynamic_cast<TVelkPathData*>(Dest);
    if (!data) {
        TVelkGPGraphicsObject::AssignTo(Dest);
        return;
    }
    WithinUpdate(*data, [&] {
        data->SetFillMode(FFillMode);
        data->Clear();
        const TVelkPoints& points = FData.Points;
        for (int i = 0; i < Count(); ++i) {
            const TKind kind = FData.Kinds[i];
            switch (kind.PointType()) {
            case TKind::TypeStart:
                data->MoveTo(points[i]);
                break;
            case TKind::TypeBezier:
                if (i + 2 < Count()) {
                    data->CurveTo(points[i], points[i + 1], points[i + 2]);
                    i += 2;
                    break;
                }
                [[fallthrough]];
            default:
                data->LineTo(points[i]);
                break;
            }
            if (FData.Kinds[i].IsClosed())
                data->ClosePath();
        }
    });
}

std::unique_ptr<TVelkGPPath> TVelkGPPath::Clone(TVelkGPCanvas* aCanvas) const
{
    auto result = std::make_unique<TVelkGPPath>(aCanvas ? aCanvas : Owner());
    result->Assign(this);
    return result;
}

void TVelkGPPath::BeginUpdate()
{
    ++FUpdateCount;
}

void TVelkGPPath::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        DoChanged();
}

void TVelkGPPath::DoChanged()
{
    DestroyHandle();
    if (FUpdateCount == 0)
        Changed();
}

void TVelkGPPath::DestroyHandle()
{
    FHandleValid = false;
    FHandle = QPainterPath();
}

const QPainterPath& TVelkGPPath::Handle() const
{
    if (!FHandleValid) {
        FHandle = ToQPainterPath();
        FHandleValid = true;
    }
    return FHandle;
}

void TVelkGPPath::Update()
{
    DestroyHandle();
    Handle();
}

QPainterPath TVelkGPPath::ToQPainterPath() const
{
    QPainterPath result;
    result.setFillRule(FFillMode == fmNonZero ? Qt::WindingFill : Qt::OddEvenFill);
    result.reserve(Count());
    const TVelkPoints& points = FData.Points;
    int figureStart = 0;
    for (int i = 0; i < Count(); ++i) {
        switch (FData.Kinds[i].PointType()) {
        case TKind::TypeStart: {
            bool zeroLength = false;
            const int end = FigureEnd(FData, i, zeroLength);
            // A figure of no length would become a lone move, which strokes nothing; as a
            // line of no length, round and square caps draw it as a dot.
            if (zeroLength) {
                result.moveTo(ToQPointF(points[i]));
                AddZeroLengthLine(result, ToQPointF(points[i]));
                i = end - 1;
                continue;
            }
            figureStart = i;
            result.moveTo(ToQPointF(points[i]));
            break;
        }
        case TKind::TypeBezier:
            if (i + 2 < Count()) {
                result.cubicTo(ToQPointF(points[i]), ToQPointF(points[i + 1]), ToQPointF(points[i + 2]));
                i += 2;
                break;
            }
            [[fallthrough]];
        default:
            result.lineTo(ToQPointF(points[i]));
            break;
        }
        if (FData.Kinds[i].IsClosed()) {
            result.closeSubpath();
        } else if ((i + 1 == Count() || FData.Kinds[i + 1].IsStart()) && result.elementCount() > 2) {
            // Strokers take a figure that ends on its start for closed; a line of no length
            // at its end keeps it open (capped there, not joined).
            const QPainterPath::Element last = result.elementAt(result.elementCount() - 1);
            if (QPointF(last) == ToQPointF(points[figureStart]))
                AddZeroLengthLine(result, QPointF(last));
        }
    }
    return result;
}

// --- Properties ---

void TVelkGPPath::SetFillMode(TVelkGPFillMode Value)
{
    if (Value == FFillMode)
        return;
    FFillMode = Value;
    DoChanged();
}

TVelkGPPathPoint TVelkGPPath::Points(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(messages::ListIndexError, Index);
    return {FData.Kinds[Index], FData.Points[Index]};
}

void TVelkGPPath::SetPathData(const TVelkGPPathData& Data)
{
    const qsizetype count = Data.Points.size();
    bool valid = Data.Kinds.size() == count;
    constexpr std::uint8_t knownBits = TKind::TypeMask | TKind::DashModeBit | TKind::MarkerBit | TKind::CloseBit;
    int bezierRun = 0;
    for (qsizetype i = 0; valid && i < count; ++i) {
        const TKind kind = Data.Kinds[i];
        const TPointF& p = Data.Points[i];
        const bool figureStarts = i == 0 || Data.Kinds[i - 1].IsClosed();
        valid = (kind.aKind & ~knownBits) == 0 && std::isfinite(p.X) && std::isfinite(p.Y)
                && (kind.IsStart() || kind.IsLine() || kind.IsBezier()) && (kind.IsStart() || !figureStarts)
                && (kind.IsBezier() || bezierRun % 3 == 0);
        bezierRun = kind.IsBezier() ? bezierRun + 1 : 0;
        // A figure may close only after a whole Bézier.
        valid = valid && !(kind.IsClosed() && bezierRun % 3 != 0);
    }
    if (!valid || bezierRun % 3 != 0)
        throw EGDIPException(gpsInvalidParameter);
    FData = Data;
    FLastPoint = count > 0 ? Data.Points.last() : TPointF{};
    FNewFigure = count == 0;
    DoChanged();
}

// --- Figures ---

bool TVelkGPPath::InNewFigure() const
{
    return FNewFigure || FData.Kinds.isEmpty() || FData.Kinds.last().IsClosed();
}

void TVelkGPPath::AddPoint(const TPointF& P, std::uint8_t Type)
{
    FData.Points.append(P);
    FData.Kinds.append(TKind{Type});
}

void TVelkGPPath::ConnectFrom(const TPointF& P)
{
    if (InNewFigure()) {
        AddPoint(P, TKind::TypeStart);
        FNewFigure = false;
    } else if (!(FData.Points.last() == P)) {
        AddPoint(P, TKind::TypeLine);
    }
}

void TVelkGPPath::AddBezierPoints(const TPointF& C1, const TPointF& C2, const TPointF& E)
{
    AddPoint(C1, TKind::TypeBezier);
    AddPoint(C2, TKind::TypeBezier);
    AddPoint(E, TKind::TypeBezier);
}

void TVelkGPPath::AddArcPoints(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle)
{
    const double rx = Width / 2.0;
    const double ry = Height / 2.0;
    const double sweep = std::clamp(double(SweepAngle), -360.0, 360.0);
    const double start = EllipseParameter(StartAngle, rx, ry);
    const double end = EllipseParameter(StartAngle + sweep, rx, ry);
    // The path data's arc: cubics of at most 90 degrees, starting with a move.
    TVelkPathData arc;
    arc.AddArc({static_cast<float>(X + rx), static_cast<float>(Y + ry)},
               {static_cast<float>(rx), static_cast<float>(ry)}, static_cast<float>(start * 180 / Pi),
               static_cast<float>((end - start) * 180 / Pi));
    if (arc.Count() == 0)
        return;
    ConnectFrom(arc.GetPoint(0).Point);
    for (int i = 1; i < arc.Count(); ++i)
        AddPoint(arc.GetPoint(i).Point, TKind::TypeBezier);
    FLastPoint = FData.Points.last();
}

// --- Commands ---

TVelkGPPath& TVelkGPPath::MoveTo(const TPointF& P)
{
    FNewFigure = true;
    FLastPoint = P;
    return *this;
}

TVelkGPPath& TVelkGPPath::MoveToRel(const TPointF& P)
{
    return MoveTo(path_math::Plus(FLastPoint, P));
}

TVelkGPPath& TVelkGPPath::LineTo(const TPointF& P)
{
    ConnectFrom(FLastPoint);
    AddPoint(P, TKind::TypeLine);
    FLastPoint = P;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::LineTo(float X1, float Y1)
{
    return LineTo(TPointF{X1, Y1});
}

TVelkGPPath& TVelkGPPath::LineToRel(const TPointF& P)
{
    return LineTo(path_math::Plus(FLastPoint, P));
}

TVelkGPPath& TVelkGPPath::HLineTo(float X)
{
    return LineTo(TPointF{X, FLastPoint.Y});
}

TVelkGPPath& TVelkGPPath::HLineToRel(float X)
{
    return LineTo(path_math::Plus(FLastPoint, {X, 0}));
}

TVelkGPPath& TVelkGPPath::VLineTo(float Y)
{
    return LineTo(TPointF{FLastPoint.X, Y});
}

TVelkGPPath& TVelkGPPath::VLineToRel(float Y)
{
    return LineTo(path_math::Plus(FLastPoint, {0, Y}));
}

TVelkGPPath& TVelkGPPath::CurveTo(const TPointF& C1, const TPointF& C2, const TPointF& E)
{
    ConnectFrom(FLastPoint);
    AddBezierPoints(C1, C2, E);
    FLastPoint = E;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::CurveToRel(const TPointF& C1, const TPointF& C2, const TPointF& E)
{
    const TPointF start = FLastPoint;
    return CurveTo(path_math::Plus(start, C1), path_math::Plus(start, C2), path_math::Plus(start, E));
}

TVelkGPPath& TVelkGPPath::SmoothCurveTo(const TPointF& C2, const TPointF& E)
{
    const TPointF c1 = Count() < 3 ? C2 : Toward(FData.Points[Count() - 2], FLastPoint, 2);
    return CurveTo(c1, C2, E);
}

TVelkGPPath& TVelkGPPath::SmoothCurveToRel(const TPointF& C2, const TPointF& E)
{
    const TPointF start = FLastPoint;
    const TPointF c1 = Count() < 3 ? path_math::Plus(start, C2) : Toward(FData.Points[Count() - 2], start, 2);
    return CurveTo(c1, path_math::Plus(start, C2), path_math::Plus(start, E));
}

TVelkGPPath& TVelkGPPath::ClosePath()
{
    if (InNewFigure())
        return *this;
    FData.Kinds.last().aKind |= TKind::CloseBit;
    qsizetype start = FData.Kinds.size() - 1;
    while (start > 0 && !FData.Kinds[start].IsStart())
        --start;
    FLastPoint = FData.Points[start];
    FNewFigure = true;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::StartPath()
{
    FNewFigure = true;
    return *this;
}

TVelkGPPath& TVelkGPPath::AddLine(const TPointF& P1, const TPointF& P2)
{
    ConnectFrom(P1);
    AddPoint(P2, TKind::TypeLine);
    FLastPoint = P2;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::AddBezier(const TPointF& P1, const TPointF& P2, const TPointF& P3, const TPointF& P4)
{
    ConnectFrom(P1);
    AddBezierPoints(P2, P3, P4);
    FLastPoint = P4;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::AddArc(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle)
{
    const int before = Count();
    AddArcPoints(X, Y, Width, Height, StartAngle, SweepAngle);
    if (Count() > before)
        DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::AddPie(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle)
{
    WithinUpdate(*this, [&] {
        StartPath();
        FLastPoint = {static_cast<float>(X + Width / 2.0), static_cast<float>(Y + Height / 2.0)};
        ConnectFrom(FLastPoint);
        AddArcPoints(X, Y, Width, Height, StartAngle, SweepAngle);
        ClosePath();
    });
    return *this;
}

TVelkGPPath& TVelkGPPath::AddEllipse(const TRectF& ARect)
{
    WithinUpdate(*this, [&] {
        StartPath();
        AddArcPoints(ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), 0, 360);
        ClosePath();
    });
    return *this;
}

TVelkGPPath& TVelkGPPath::AddRectangle(const TRectF& ARect)
{
    return AddPolygon({ARect.TopLeft(), {ARect.Right, ARect.Top}, ARect.BottomRight(), {ARect.Left, ARect.Bottom}});
}

TVelkGPPath& TVelkGPPath::AddRectangle(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners,
                                       TVelkCornerType ACornerType)
{
    WithinUpdate(*this, [&] {
        path_math::AddRectangleOutline(*this, ARect, XRadius, YRadius, ACorners, ACornerType, RoundCornerControl);
    });
    return *this;
}

TVelkGPPath& TVelkGPPath::AddPolygon(const TVelkPoints& Points)
{
    if (Points.size() < 3)
        return *this;
    WithinUpdate(*this, [&] {
        StartPath();
        ConnectFrom(Points.first());
        for (qsizetype i = 1; i < Points.size(); ++i)
            AddPoint(Points[i], TKind::TypeLine);
        ClosePath();
    });
    return *this;
}

TVelkGPPath& TVelkGPPath::AddText(const TRectF& aRect, const QString& Text, const TVelkGPFont& Font,
                                  const TVelkGPStringFormat* StringFormat)
{
    return AddQPainterPath(TextOutline(Text, Font, StringFormat, aRect));
}

// The text laid out at the point is where it measures, so the point itself serves as
// the layout rectangle; laying out again in the measured box could wrap its last word
// on a rounding difference.
TVelkGPPath& TVelkGPPath::AddText(const TPointF& Pt, const QString& Text, const TVelkGPFont& Font,
                                  const TVelkGPStringFormat* StringFormat)
{
    return AddText(TRectF{Pt.X, Pt.Y, Pt.X, Pt.Y}, Text, Font, StringFormat);
}

TVelkGPPath& TVelkGPPath::AddPath(const TVelkGPPath& Path, bool Connect)
{
    if (Path.Count() == 0)
        return *this;
    const TVelkGPPathData source = Path.FData; // Path may be this path
    const TPointF lastPoint = Path.FLastPoint;
    const bool newFigure = Path.FNewFigure;
    qsizetype first = 0;
    const bool join = Connect && !InNewFigure();
    if (join && FData.Points.last() == source.Points.first())
        first = 1; // the figures already meet
    const qsizetype at = FData.Points.size();
    FData.Points.append(source.Points.mid(first));
    FData.Kinds.append(source.Kinds.mid(first));
    if (join && first == 0)
        FData.Kinds[at] = WithType(FData.Kinds[at], TKind::TypeLine);
    FLastPoint = lastPoint;
    FNewFigure = newFigure;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::AddQPainterPath(const QPainterPath& Path)
{
    const int n = Path.elementCount();
    if (n == 0)
        return *this;
    FData.Points.reserve(FData.Points.size() + n);
    FData.Kinds.reserve(FData.Kinds.size() + n);
    int i = 0;
    while (i < n) {
        const qsizetype figureStart = FData.Points.size();
        AddPoint(ToPointF(Path.elementAt(i)), TKind::TypeStart);
        ++i;
        while (i < n && !Path.elementAt(i).isMoveTo()) {
            const QPainterPath::Element& e = Path.elementAt(i);
            if (e.isCurveTo() && i + 2 < n && Path.elementAt(i + 1).type == QPainterPath::CurveToDataElement
                && Path.elementAt(i + 2).type == QPainterPath::CurveToDataElement) {
                AddBezierPoints(ToPointF(e), ToPointF(Path.elementAt(i + 1)), ToPointF(Path.elementAt(i + 2)));
                i += 3;
            } else {
                AddPoint(ToPointF(e), TKind::TypeLine);
                ++i;
            }
        }
        // A subpath back at its start is closed; the closing line is implied by the flag.
        qsizetype last = FData.Points.size() - 1;
        if (last > figureStart && FData.Points[last] == FData.Points[figureStart]) {
            if (FData.Kinds[last].IsLine()) {
                FData.Points.removeLast();
                FData.Kinds.removeLast();
                --last;
            }
            if (last > figureStart)
                FData.Kinds[last].aKind |= TKind::CloseBit;
        }
    }
    FLastPoint = FData.Points.last();
    FNewFigure = true;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::AddMarker()
{
    if (Count() == 0)
        return *this;
    FData.Kinds.last().aKind |= TKind::MarkerBit;
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::ClearMarkers()
{
    constexpr std::uint8_t markers = TKind::MarkerBit | TKind::DashModeBit;
    bool changed = false;
    for (TKind& kind : FData.Kinds) {
        if (kind.aKind & markers) {
            kind.aKind &= ~markers;
            changed = true;
        }
    }
    if (changed)
        DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::Clear()
{
    FData = {};
    FLastPoint = {};
    FNewFigure = true;
    DoChanged();
    return *this;
}

// --- Geometry ---

TRectF TVelkGPPath::GetBounds() const
{
    if (Count() == 0)
        return {};
    const QRectF r = Handle().boundingRect();
    return MakeRectF(static_cast<float>(r.left()), static_cast<float>(r.top()), static_cast<float>(r.right()),
                     static_cast<float>(r.bottom()));
}

TVelkGPPath& TVelkGPPath::Flatten(float Flatness)
{
    if (!std::any_of(FData.Kinds.cbegin(), FData.Kinds.cend(), [](TKind K) { return K.IsBezier(); }))
        return *this;
    const double tolerance = Flatness > 0 ? Flatness : DefaultFlatness;
    // The path data's bound on the lines one path may become: past it, curves become
    // single lines, so a path of many huge curves cannot ask for gigabytes.
    qsizetype budget = std::clamp<qsizetype>(qsizetype(Count()) * TVelkPathData::FlattenPointsPerEntry,
                                             TVelkPathData::MinFlattenBudget, std::numeric_limits<int>::max());
    TVelkGPPathData flat;
    flat.Points.reserve(Count());
    flat.Kinds.reserve(Count());
    for (int i = 0; i < Count(); ++i) {
        const TKind kind = FData.Kinds[i];
        if (!kind.IsBezier() || i == 0 || i + 2 >= Count()) {
            flat.Points.append(FData.Points[i]);
            flat.Kinds.append(kind);
            continue;
        }
        const TCubic cubic{FData.Points[i - 1], FData.Points[i], FData.Points[i + 1], FData.Points[i + 2]};
        const int count =
            FlattenCount(cubic, tolerance, int(std::min<qsizetype>(budget, TVelkPathData::MaxFlattenSegments)));
        budget -= count;
        for (int step = 1; step <= count; ++step) {
            flat.Points.append(CubicPoint(cubic, step, count));
            flat.Kinds.append(TKind{TKind::TypeLine});
        }
        // The end point keeps its flags (close, markers).
        flat.Kinds.last() = WithType(FData.Kinds[i + 2], TKind::TypeLine);
        i += 2;
    }
    FData = std::move(flat);
    DoChanged();
    return *this;
}

void TVelkGPPath::ReplaceBy(const QPainterPath& Path, float Flatness)
{
    WithinUpdate(*this, [&] {
        FData = {};
        FNewFigure = true;
        FLastPoint = {};
        AddQPainterPath(Path);
        Flatten(Flatness);
    });
}

TVelkGPPath& TVelkGPPath::Widen(float Flatness)
{
    const TVelkGPCanvas& owner = RequireOwner();
    const double tolerance = Flatness > 0 ? Flatness : DefaultFlatness;
    // The stroke outline fills under the non-zero rule; simplified, it fills the same
    // under both rules.
    ReplaceBy(owner.Pen().StrokeOutline(Handle(), tolerance).simplified(), Flatness);
    return *this;
}

TVelkGPPath& TVelkGPPath::Outline(float Flatness)
{
    RequireOwner();
    WithinUpdate(*this, [&] {
        Flatten(Flatness);
        QPainterPath area = Handle();
        area.setFillRule(Qt::WindingFill);
        ReplaceBy(area.simplified(), Flatness);
    });
    return *this;
}

TVelkGPPath& TVelkGPPath::Reverse()
{
    if (Count() < 2)
        return *this;
    TVelkGPPathData reversed;
    reversed.Points.reserve(Count());
    reversed.Kinds.reserve(Count());
    constexpr std::uint8_t markers = TKind::MarkerBit | TKind::DashModeBit;
    // Figures from the last to the first, each walked backwards: the point that ended a
    // segment now starts it, so each point takes the type of the point after it.
    int figureEnd = Count() - 1;
    while (figureEnd >= 0) {
        int figureStart = figureEnd;
        while (figureStart > 0 && !FData.Kinds[figureStart].IsStart())
            --figureStart;
        for (int j = figureEnd; j >= figureStart; --j) {
            const std::uint8_t type = j == figureEnd ? TKind::TypeStart : FData.Kinds[j + 1].PointType();
            reversed.Points.append(FData.Points[j]);
            reversed.Kinds.append(TKind{static_cast<std::uint8_t>(type | (FData.Kinds[j].aKind & markers))});
        }
        if (FData.Kinds[figureEnd].IsClosed())
            reversed.Kinds.last().aKind |= TKind::CloseBit;
        figureEnd = figureStart - 1;
    }
    FData = std::move(reversed);
    FLastPoint = FData.Points.last();
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::ApplyMatrix(const TMatrix& M)
{
    FLastPoint = PointTimesMatrix(FLastPoint, M);
    if (Count() == 0)
        return *this;
    for (TPointF& p : FData.Points)
        p = PointTimesMatrix(p, M);
    DoChanged();
    return *this;
}

TVelkGPPath& TVelkGPPath::Scale(float DX, float DY)
{
    return ApplyMatrix(CreateScalingMatrix(DX, DY));
}

TVelkGPPath& TVelkGPPath::Translate(float DX, float DY)
{
    return ApplyMatrix(CreateTranslationMatrix(DX, DY));
}

TVelkGPPath& TVelkGPPath::FitToRect(const TRectF& aRect)
{
    const TRectF bounds = GetBounds();
    if (bounds.Width() == 0 || bounds.Height() == 0)
        return *this;
    return ApplyMatrix(path_math::FitMatrix(bounds, aRect));
}

// --- Hit tests ---

TVelkGPCanvas& TVelkGPPath::RequireOwner() const
{
    if (!Owner())
        throw EGDIPException(Format(messages::GPNoOwner, ClassName()));
    return *Owner();
}

bool TVelkGPPath::IsVisiblePathPoint(const TPointF& Point) const
{
    return IsVisiblePathPoint(Point, &RequireOwner());
}

bool TVelkGPPath::IsVisiblePathPoint(const TPointF& Point, const TVelkGPCanvas* aCanvas) const
{
    if (!aCanvas || IsIdentityMatrix(aCanvas->Matrix()))
        return Handle().contains(ToQPointF(Point));
    return ToQTransform(aCanvas->Matrix()).map(Handle()).contains(ToQPointF(Point));
}

bool TVelkGPPath::IsOutlineVisiblePathPoint(const TPointF& Point) const
{
    const TVelkGPCanvas& owner = RequireOwner();
    return IsOutlineVisiblePathPoint(Point, owner.Pen(), &owner);
}

bool TVelkGPPath::IsOutlineVisiblePathPoint(const TPointF& Point, const TVelkGPPen& aPen,
                                            const TVelkGPCanvas* aCanvas) const
{
    if (aPen.Kind() == bkNone || Count() == 0)
        return false;
    // The pen widens in the path's own coordinates, so the matrix scales it too.
    QPainterPath outline = aPen.StrokeOutline(Handle());
    if (aCanvas && !IsIdentityMatrix(aCanvas->Matrix()))
        outline = ToQTransform(aCanvas->Matrix()).map(outline);
    outline.setFillRule(Qt::WindingFill);
    return outline.contains(ToQPointF(Point));
}

} // namespace velk

#include "graphics/brush.h"

#include "graphics/gp_color.h"
#include "graphics/gp_exception.h"
#include "graphics/gradient.h"
#include "graphics/hatch_styles.h"
#include "graphics/qt_conversions.h"
#include "platform/numbers.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QScopeGuard>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velk {

namespace {

// Linear-light interpolation for gamma-corrected gradients: Qt interpolates the stored
// (gamma-encoded) channels, so the stops are refined with colours mixed at gamma 2.2.
constexpr double Gamma = 2.2;
constexpr int GammaSteps = 8;

TVelkGPColor GammaMix(TVelkGPColor A, TVelkGPColor B, double T)
{
    const auto channel = [T](int a, int b) {
        const double la = std::pow(a / 255.0, Gamma), lb = std::pow(b / 255.0, Gamma);
        return static_cast<std::uint8_t>(Round<int>(std::pow(la + (lb - la) * T, 1 / Gamma) * 255));
    };
    return MakeColor(static_cast<std::uint8_t>(Round<int>(ColorAlpha(A) + (ColorAlpha(B) - ColorAlpha(A)) * T)),
                     channel(ColorRed(A), ColorRed(B)), channel(ColorGreen(A), ColorGreen(B)),
                     channel(ColorBlue(A), ColorBlue(B)));
}

TVelkGPBlend GammaCorrected(const TVelkGPBlend& Blend)
{
    TVelkGPBlend result;
    result.reserve(Blend.size() * GammaSteps);
    for (std::size_t i = 0; i + 1 < Blend.size(); ++i) {
        const TVelkGPBlendStop& a = Blend[i];
        const TVelkGPBlendStop& b = Blend[i + 1];
        result.push_back(a);
        if (a.Position == b.Position || a.Color == b.Color)
            continue;
        for (int step = 1; step < GammaSteps; ++step) {
            const double t = double(step) / GammaSteps;
            result.push_back({GammaMix(a.Color, b.Color, t), float(a.Position + (b.Position - a.Position) * t)});
        }
    }
    result.push_back(Blend.back());
    return result;
}

// The colours between the line's two end colours that a bell or triangular shape gives:
// the far colour's share rises from 0 at the start to Scale at Focus and falls back to 0
// at the end; a bell rises along a normal distribution, a triangle linearly.
TVelkGPBlend ShapeBlend(TVelkGPLinearGradientShape Shape, float Focus, float Scale, TVelkGPColor Near,
                        TVelkGPColor Far)
{
    constexpr int steps = 16;
    const auto share = [Shape](double x) { // x: 0 at an end, 1 at the focus
        if (Shape == lgsTriangular)
            return x;
        // Normal distribution function over ±2 standard deviations, scaled to 0…1.
        const auto phi = [](double v) { return 0.5 * std::erfc(-v / std::numbers::sqrt2); };
        return (phi(4 * x - 2) - phi(-2)) / (phi(2) - phi(-2));
    };
    TVelkGPBlend result;
    const auto add = [&](double position, double x) {
        result.push_back({LerpColor(Near, Far, float(Scale * share(x))), float(position)});
    };
    const int count = Shape == lgsTriangular ? 1 : steps;
    if (Focus > 0) {
        for (int i = 0; i <= count; ++i)
            add(Focus * double(i) / count, double(i) / count);
    } else {
        add(0, 1);
    }
    if (Focus < 1)
        for (int i = count - 1; i >= 0; --i)
            add(1 - (1 - Focus) * double(i) / count, double(i) / count);
    return result;
}

// Qt keeps one stop per position and wants them ascending within 0…1: clip, sort stably
// and move stops sharing a position apart by a hair, so that a hard edge shows the first
// colour before the second.
QGradientStops QtStops(TVelkGPBlend Blend)
{
    for (TVelkGPBlendStop& stop : Blend)
        stop.Position = std::clamp(std::isnan(stop.Position) ? 0.0f : stop.Position, 0.0f, 1.0f);
    std::stable_sort(Blend.begin(), Blend.end(),
                     [](const TVelkGPBlendStop& a, const TVelkGPBlendStop& b) { return a.Position < b.Position; });
    constexpr double hair = 1e-6;
    QGradientStops stops;
    stops.reserve(static_cast<qsizetype>(Blend.size()));
    for (const TVelkGPBlendStop& stop : Blend) {
        double position = stop.Position;
        if (!stops.empty() && position <= stops.back().first)
            position = stops.back().first + hair;
        stops.append({position, ToQColor(stop.Color)});
    }
    // A run at 1 went past it: move it back below 1, keeping the order.
    double limit = 1;
    for (qsizetype i = stops.size() - 1; i >= 0 && stops[i].first > limit; --i) {
        stops[i].first = limit;
        limit -= hair;
    }
    return stops;
}

QGradientStops ReversedQtStops(const TVelkGPBlend& Blend)
{
    TVelkGPBlend reversed(Blend.rbegin(), Blend.rend());
    for (TVelkGPBlendStop& stop : reversed)
        stop.Position = 1 - stop.Position;
    return QtStops(std::move(reversed));
}

bool IsFinite(const QPointF& P)
{
    return std::isfinite(P.x()) && std::isfinite(P.y());
}

// A brush transform Qt can draw with: invertible, every entry a number.
bool IsUsable(const QTransform& T)
{
    return T.isInvertible() && std::isfinite(T.determinant()) && std::isfinite(T.dx()) && std::isfinite(T.dy());
}

QImage MirroredTile(const QImage& Image, bool Horizontal, bool Vertical)
{
    const int w = Image.width(), h = Image.height();
    QImage tile(w * (Horizontal ? 2 : 1), h * (Vertical ? 2 : 1), QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, Image);
    if (Horizontal)
        painter.drawImage(w, 0, Image.mirrored(true, false));
    if (Vertical)
        painter.drawImage(0, h, Image.mirrored(false, true));
    if (Horizontal && Vertical)
        painter.drawImage(w, h, Image.mirrored(true, true));
    return tile;
}

} // namespace

const TClassInfo& TVelkGPBrush::StaticClass()
{
    static const TClassInfo info(
        u"TVelkGPBrush"_qs, &TVelkGPGraphicsObject::StaticClass(), &CreateInstance<TVelkGPBrush>,
        TPublished<TVelkGPBrush>()
            .Integer(
                u"Color"_qs, [](const TVelkGPBrush& b) { return ColorBits(b.Color()); },
                [](TVelkGPBrush& b, std::int32_t v) { b.SetColor(static_cast<TVelkGPColor>(v)); })
            .StoredWhen([](const TVelkGPBrush& b) { return b.Color() != b.DefaultColor(); })
            .Enumeration(u"Kind"_qs, &TVelkGPBrush::Kind, &TVelkGPBrush::SetKind)
            .StoredWhen([](const TVelkGPBrush& b) { return b.Kind() != b.DefaultKind(); })
            .Integer(
                u"BackColor"_qs, [](const TVelkGPBrush& b) { return ColorBits(b.BackColor()); },
                [](TVelkGPBrush& b, std::int32_t v) { b.SetBackColor(static_cast<TVelkGPColor>(v)); },
                ColorBits(0xFF000000))
            .Object(u"Gradient"_qs, &TVelkGPBrush::Gradient)
            .StoredWhen([](const TVelkGPBrush& b) { return b.Kind() == bkGradient; })
            .Take());
    return info;
}

TVelkGPBrush::TVelkGPBrush(TVelkGPCanvas* AOwner)
    : TVelkGPGraphicsObject(AOwner), FGradient(std::make_unique<TVelkGPGradient>())
{
    FGradient->OnChanged = [this](TObject*) { GradientChanged(); };
}

TVelkGPBrush::TVelkGPBrush(TVelkGPCanvas* AOwner, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor)
    : TVelkGPBrush(AOwner)
{
    FKind = FDefaultKind = ADefaultKind;
    FColor = FDefaultColor = ADefaultColor;
    if (FKind == bkGradient)
        FWrapMode = wmClamp;
}

TVelkGPBrush::~TVelkGPBrush() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPBrush::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPBrush>(AOwner);
}

void TVelkGPBrush::DestroyHandle()
{
    FHandle.reset();
}

template <typename F>
void TVelkGPBrush::WithoutGradientEcho(F&& Action)
{
    FGradientSilent = true;
    const auto restore = qScopeGuard([this] { FGradientSilent = false; });
    Action();
}

void TVelkGPBrush::SetColor(TVelkGPColor Value)
{
    SetMirroredColor(FColor, 0, Value);
}

void TVelkGPBrush::SetBackColor(TVelkGPColor Value)
{
    SetMirroredColor(FBackColor, 1, Value);
}

void TVelkGPBrush::SetMirroredColor(TVelkGPColor& Field, int Stop, TVelkGPColor Value)
{
    if (Value == Field)
        return;
    Field = Value;
    if (Stop < FGradient->Points()->Count())
        WithoutGradientEcho([&] { FGradient->SetColor(Stop, Value); });
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetKind(TVelkGPBrushKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    if (FKind == bkGradient)
        FWrapMode = wmClamp;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetGradient(const TVelkGPGradient& Value)
{
    FGradient->Assign(&Value);
}

void TVelkGPBrush::SetHatchStyle(TVelkGPHatchStyle Value)
{
    if (Value == FHatchStyle)
        return;
    FHatchStyle = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetWrapMode(TVelkGPWrapMode Value)
{
    if (Value == FWrapMode)
        return;
    FWrapMode = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetBitmap(const QImage& Value)
{
    if (Value.cacheKey() == FBitmap.cacheKey())
        return;
    FBitmap = Value;
    if (FBitmap.isNull() && FKind == bkBitmap)
        FKind = bkNone;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetBitmapSrcRect(const TRectF& Value)
{
    if (Value == FBitmapSrcRect)
        return;
    FBitmapSrcRect = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::SetMatrix(const TMatrix& Value)
{
    if (Value == FMatrix)
        return;
    FMatrix = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::GradientChanged()
{
    if (FGradientSilent)
        return;
    const TVelkGPGradientPoints& points = *FGradient->Points();
    if (points.Count() > 0)
        FColor = points[0]->Color();
    if (points.Count() > 1)
        FBackColor = points[1]->Color();
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::Assign(const TPersistent* Source)
{
    const auto* brush = dynamic_cast<const TVelkGPBrush*>(Source);
    if (!brush) {
        TVelkGPGraphicsObject::Assign(Source);
        return;
    }
    if (brush == this)
        return;
    WithoutGradientEcho([&] { FGradient->Assign(brush->FGradient.get()); });
    FDefaultColor = brush->FDefaultColor;
    FColor = brush->FColor;
    FMatrix = brush->FMatrix;
    FHatchStyle = brush->FHatchStyle;
    FBackColor = brush->FBackColor;
    FWrapMode = brush->FWrapMode;
    FBitmap = brush->FBitmap;
    FBitmapSrcRect = brush->FBitmapSrcRect;
    FBitmapOpacity = brush->FBitmapOpacity;
    FArea = brush->FArea;
    FDefaultKind = brush->FDefaultKind;
    // The wrap mode stays the source's even when the kind becomes bkGradient (which
    // otherwise clamps), and the source rectangle is copied too: the canvas draws
    // through copies, and a copy must draw the same.
    FKind = brush->FKind;
    DestroyHandle();
    Changed();
}

void TVelkGPBrush::Assign(const QBrush& Source)
{
    FColor = FDefaultColor = FromQColor(Source.color());
    switch (Source.style()) {
    case Qt::NoBrush:
        FKind = bkNone;
        break;
    case Qt::HorPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsHorizontal;
        break;
    case Qt::VerPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsVertical;
        break;
    case Qt::FDiagPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsForwardDiagonal;
        break;
    case Qt::BDiagPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsBackwardDiagonal;
        break;
    case Qt::CrossPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsCross;
        break;
    case Qt::DiagCrossPattern:
        FKind = bkHatchFill;
        FHatchStyle = hsDiagonalCross;
        break;
    default:
        FKind = bkSolid;
        break;
    }
    FDefaultKind = FKind;
    DestroyHandle();
    Changed();
}

const QBrush& TVelkGPBrush::Handle()
{
    if (!FHandle)
        FHandle = CreateHandle();
    return *FHandle;
}

void TVelkGPBrush::Update()
{
    FHandle = CreateHandle();
}

std::optional<QPainterPath> TVelkGPBrush::PaintArea() const
{
    if (FKind != bkBitmap || FWrapMode != wmClamp || FBitmap.isNull())
        return std::nullopt;
    const QTransform matrix = ToQTransform(FMatrix);
    if (!IsUsable(matrix))
        return QPainterPath();
    const QImage image = SourceImage();
    QPainterPath area;
    area.addRect(0, 0, image.width(), image.height());
    return matrix.map(area);
}

TVelkGPGraphicsObject* TVelkGPBrush::Prepare(const TRectF& aRect, float Opacity)
{
    if (Opacity < 1) {
        SetColor(ColorWithOpacity(FColor, Opacity));
        SetBackColor(ColorWithOpacity(FBackColor, Opacity));
        FBitmapOpacity *= std::max(0.0f, Opacity);
        DestroyHandle(); // the texture fades even when no colour changed
    }
    if (FKind != bkGradient)
        return this;

    TRectF area = aRect;
    if (area.Width() == 0)
        area.Right = area.Left + 0.01f;
    if (area.Height() == 0)
        area.Bottom = area.Top + 0.01f;
    if (Opacity < 1) {
        TVelkGPGradientPoints& points = *FGradient->Points();
        WithinUpdate(points, [&] {
            for (int i = 2; i < points.Count(); ++i)
                points[i]->SetColor(ColorWithOpacity(points[i]->Color(), Opacity));
        });
    }
    FArea = area;
    FGradient->FPath = FGradient->Style() == gsRadial ? RadialEllipse() : QPainterPath();
    DestroyHandle();
    return this;
}

TVelkGPBrush::TEllipse TVelkGPBrush::RadialGeometry() const
{
    const TVelkTransform& transform = *FGradient->RadialTransform();
    const double w = FArea.Width(), h = FArea.Height();
    return {QPointF(FArea.Left + w * transform.Position()->X(), FArea.Top + h * transform.Position()->Y()),
            std::fabs(w / 2 * transform.Scale()->X()), std::fabs(h / 2 * transform.Scale()->Y()),
            QPointF(FArea.Left + w * transform.RotationCenter()->X(),
                    FArea.Top + h * transform.RotationCenter()->Y())};
}

bool TVelkGPBrush::TEllipse::IsDrawable() const
{
    return RadiusX > 0 && RadiusY > 0 && std::isfinite(RadiusX) && std::isfinite(RadiusY) && IsFinite(Center) &&
           IsFinite(Focus);
}

QPainterPath TVelkGPBrush::RadialEllipse() const
{
    const TEllipse e = RadialGeometry();
    const QTransform matrix = ToQTransform(FMatrix);
    if (!e.IsDrawable() || !IsUsable(matrix))
        return {};
    QPainterPath path;
    path.addEllipse(e.Center, e.RadiusX, e.RadiusY);
    return matrix.map(path);
}

QBrush TVelkGPBrush::CreateHandle() const
{
    switch (FKind) {
    case bkNone:
        return {};
    case bkSolid:
        return QBrush(ToQColor(FColor));
    case bkGradient:
        return GradientBrush();
    case bkBitmap:
        return FBitmap.isNull() ? QBrush(ToQColor(FColor)) : TextureBrush();
    case bkHatchFill:
        return QBrush(HatchImage(FHatchStyle, FColor, FBackColor));
    }
    return {};
}

QBrush TVelkGPBrush::GradientBrush() const
{
    return FGradient->Style() == gsRadial ? RadialBrush() : LinearBrush();
}

QBrush TVelkGPBrush::RadialBrush() const
{
    const TVelkGPGradient& gradient = *FGradient;
    const QTransform matrix = ToQTransform(FMatrix);
    const TEllipse e = RadialGeometry();
    TVelkGPBlend blend = gradient.PresetBlend(FColor);
    // No room for the colours: the boundary colour (the last stop as SVG lists them)
    // fills the shape.
    if (!e.IsDrawable() || !IsUsable(matrix))
        return QBrush(ToQColor(blend.front().Color));
    if (gradient.GammaCorrection())
        blend = GammaCorrected(blend);
    // The centre point in the space of the unit circle.
    const QPointF focus((e.Focus.x() - e.Center.x()) / e.RadiusX, (e.Focus.y() - e.Center.y()) / e.RadiusY);
    QRadialGradient qgradient(QPointF(0, 0), 1, focus);
    qgradient.setStops(ReversedQtStops(blend));
    qgradient.setSpread(QGradient::PadSpread);
    QBrush brush(qgradient);
    brush.setTransform(QTransform::fromScale(e.RadiusX, e.RadiusY) *
                       QTransform::fromTranslate(e.Center.x(), e.Center.y()) * matrix);
    return brush;
}

QBrush TVelkGPBrush::LinearBrush() const
{
    const TVelkGPGradient& gradient = *FGradient;
    const TVelkGPGradientPoints& points = *gradient.Points();
    const QTransform matrix = ToQTransform(FMatrix);
    const TPointF start = gradient.StartPosition()->Point();
    const TPointF stop = gradient.StopPosition()->Point();
    const QLineF line = FWrapMode == wmClamp ? ClampedLine(start, stop) : QLineF(AreaPoint(start), AreaPoint(stop));
    // A line without length (or without numbers): its far end, the last stop, fills the
    // shape.
    if ((start.X == stop.X && start.Y == stop.Y) || !IsFinite(line.p1()) || !IsFinite(line.p2()) ||
        !IsUsable(matrix))
        return QBrush(ToQColor(points.Count() > 0 ? points[points.Count() - 1]->Color() : FColor));

    TVelkGPBlend blend;
    if (gradient.Shape() != lgsNormal) {
        const TVelkGPColor nearColor = points.Count() > 0 ? points[0]->Color() : FColor;
        const TVelkGPColor farColor = points.Count() > 1 ? points[1]->Color() : FBackColor;
        blend = ShapeBlend(gradient.Shape(), gradient.ShapeFocus(), gradient.ShapeScale(), nearColor, farColor);
    } else if (FWrapMode == wmClamp) {
        blend = gradient.PresetBlend(FColor);
    } else {
        // The stops at their offsets between the start and the stop position.
        TVelkGPBlend stops;
        for (const auto& point : points)
            stops.push_back({point->Color(), point->Offset()});
        blend = velk::PresetBlend(stops, FColor, {0, 0}, {1, 0});
    }
    if (gradient.GammaCorrection())
        blend = GammaCorrected(blend);

    QLinearGradient qgradient(line.p1(), line.p2());
    qgradient.setStops(QtStops(std::move(blend)));
    qgradient.setSpread(FWrapMode == wmClamp  ? QGradient::PadSpread
                        : FWrapMode == wmTile ? QGradient::RepeatSpread
                                              : QGradient::ReflectSpread);
    QBrush brush(qgradient);
    brush.setTransform(matrix);
    return brush;
}

QPointF TVelkGPBrush::AreaPoint(const TPointF& Fraction) const
{
    return {FArea.Left + double(FArea.Width()) * Fraction.X, FArea.Top + double(FArea.Height()) * Fraction.Y};
}

QLineF TVelkGPBrush::ClampedLine(const TPointF& Start, const TPointF& Stop) const
{
    // Across the whole area in the direction of the start-stop line: position 0 on the
    // corner that comes first along it, 1 on the corner that comes last.
    const double angle = std::atan2(double(Stop.Y) - Start.Y, double(Stop.X) - Start.X);
    const QPointF d(std::cos(angle), std::sin(angle));
    const QPointF corners[] = {{FArea.Left, FArea.Top},
                               {FArea.Right, FArea.Top},
                               {FArea.Left, FArea.Bottom},
                               {FArea.Right, FArea.Bottom}};
    double low = INFINITY, high = -INFINITY;
    for (const QPointF& c : corners) {
        const double p = QPointF::dotProduct(c, d);
        low = std::min(low, p);
        high = std::max(high, p);
    }
    const QPointF center = AreaPoint({0.5f, 0.5f});
    const double middle = QPointF::dotProduct(center, d);
    return {center + d * (low - middle), center + d * (high - middle)};
}

QImage TVelkGPBrush::SourceImage() const
{
    if (FBitmapSrcRect.Width() == 0 && FBitmapSrcRect.Height() == 0)
        return FBitmap;
    const auto edge = [](float v) { return TryFloatToInt<int>(std::nearbyint(v)); };
    const auto left = edge(FBitmapSrcRect.Left), top = edge(FBitmapSrcRect.Top);
    const auto right = edge(FBitmapSrcRect.Right), bottom = edge(FBitmapSrcRect.Bottom);
    if (!left || !top || !right || !bottom || *left < 0 || *top < 0 || *right > FBitmap.width() ||
        *bottom > FBitmap.height() || *right <= *left || *bottom <= *top)
        throw EGDIPException(gpsInvalidParameter);
    return FBitmap.copy(*left, *top, *right - *left, *bottom - *top);
}

QBrush TVelkGPBrush::TextureBrush() const
{
    // A singular matrix squeezes the image to nothing: nothing is painted.
    const QTransform matrix = ToQTransform(FMatrix);
    if (!IsUsable(matrix))
        return {};
    QImage image = SourceImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (FBitmapOpacity < 1) {
        QImage faded(image.size(), QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(FBitmapOpacity);
        painter.drawImage(0, 0, image);
        painter.end();
        image = faded;
    }
    switch (FWrapMode) {
    case wmTileFlipX:
        image = MirroredTile(image, true, false);
        break;
    case wmTileFlipY:
        image = MirroredTile(image, false, true);
        break;
    case wmTileFlipXY:
        image = MirroredTile(image, true, true);
        break;
    case wmTile:
    case wmClamp:
        break;
    }
    QBrush brush(image);
    brush.setTransform(matrix);
    return brush;
}

} // namespace velk

#include "graphics/pen.h"

#include "graphics/brush.h"
#include "graphics/custom_line_cap.h"
#include "graphics/gp_color.h"
#include "graphics/gp_exception.h"

#include <QPainter>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

void CheckDashPattern(std::span<const float> Value)
{
    for (float dash : Value)
        if (!(dash > 0) || !std::isfinite(dash))
            throw EGDIPException(QString::fromUtf16(messages::GPInvalidDashPattern));
}

Qt::PenCapStyle QtCapStyle(TVelkGPLineCap Cap)
{
    switch (Cap) {
    case lcSquare:
        return Qt::SquareCap;
    case lcRound:
        return Qt::RoundCap;
    default:
        return Qt::FlatCap;
    }
}

// The factor by which Transform scales areas, as a length.
qreal AverageScale(const QTransform& Transform)
{
    return std::sqrt(std::abs(Transform.determinant()));
}

} // namespace

const TClassInfo& TVelkGPPen::StaticClass()
{
    static const TClassInfo info(u"TVelkGPPen"_qs, &TVelkGPGraphicsObject::StaticClass(), &CreateInstance<TVelkGPPen>,
                                 TPublished<TVelkGPPen>()
                                     .Single(u"Thickness"_qs, &TVelkGPPen::Thickness, &TVelkGPPen::SetThickness, 1)
                                     .Enumeration(u"Kind"_qs, &TVelkGPPen::Kind, &TVelkGPPen::SetKind)
                                     .Integer(
                                         u"Color"_qs, [](const TVelkGPPen& p) { return ColorBits(p.Color()); },
                                         [](TVelkGPPen& p, std::int32_t v) { p.SetColor(static_cast<TVelkGPColor>(v)); })
                                     .Single(u"MiterLimit"_qs, &TVelkGPPen::MiterLimit, &TVelkGPPen::SetMiterLimit, 10)
                                     .Single(u"DashOffset"_qs, &TVelkGPPen::DashOffset, &TVelkGPPen::SetDashOffset)
                                     .Take());
    return info;
}

TVelkGPPen::TVelkGPPen(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner)
{
}

TVelkGPPen::TVelkGPPen(TVelkGPCanvas* AOwner, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor)
    : TVelkGPGraphicsObject(AOwner), FKind(ADefaultKind), FColor(ADefaultColor), FDefaultKind(ADefaultKind),
      FDefaultColor(ADefaultColor)
{
}

TVelkGPPen::~TVelkGPPen() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPPen::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPPen>(AOwner);
}

void TVelkGPPen::DestroyHandle()
{
    FHandle.reset();
}

void TVelkGPPen::OwnedChanged(TObject*)
{
    if (FSyncing)
        return;
    DestroyHandle();
    Changed();
}

template <typename F>
void TVelkGPPen::Syncing(F&& Action)
{
    FSyncing = true;
    const auto restore = qScopeGuard([this] { FSyncing = false; });
    Action();
}

void TVelkGPPen::FollowIntoBrush()
{
    if (FBrush) {
        Syncing([&] {
            FBrush->SetKind(FKind);
            FBrush->SetColor(FColor);
        });
    }
}

void TVelkGPPen::SetThickness(float Value)
{
    Store(FThickness, Value);
}

void TVelkGPPen::SetKind(TVelkGPBrushKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    if (FBrush)
        Syncing([&] { FBrush->SetKind(Value); });
    DestroyHandle();
    Changed();
}

void TVelkGPPen::SetColor(TVelkGPColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    if (FBrush)
        Syncing([&] { FBrush->SetColor(Value); });
    DestroyHandle();
    Changed();
}

void TVelkGPPen::SetMiterLimit(float Value)
{
    Store(FMiterLimit, Value >= 1 ? Value : 1.0f);
}

void TVelkGPPen::SetDashOffset(float Value)
{
    Store(FDashOffset, Value);
}

void TVelkGPPen::SetMatrix(const TMatrix& Value)
{
    Store(FMatrix, Value);
}

void TVelkGPPen::SetStartCap(TVelkGPLineCap Value)
{
    Store(FStartCap, Value);
}

void TVelkGPPen::SetEndCap(TVelkGPLineCap Value)
{
    Store(FEndCap, Value);
}

void TVelkGPPen::SetDashCap(TVelkGPDashCap Value)
{
    if (Value != dcUnused)
        Store(FDashCap, Value);
}

void TVelkGPPen::SetJoin(TVelkGPStrokeJoin Value)
{
    Store(FJoin, Value);
}

void TVelkGPPen::SetDash(TVelkGPStrokeDash Value)
{
    Store(FDash, Value);
}

void TVelkGPPen::SetAlignment(TVelkGPPenAlignment Value)
{
    Store(FAlignment, Value);
}

void TVelkGPPen::SetDashArray(std::span<const float> Value)
{
    CheckDashPattern(Value);
    Store(FDashArray, std::vector<float>(Value.begin(), Value.end()));
}

void TVelkGPPen::SetCustomDash(std::span<const float> Dash, float Offset)
{
    CheckDashPattern(Dash);
    std::vector<float> dashes(Dash.begin(), Dash.end());
    if (FDash == sdCustom && FDashArray == dashes && FDashOffset == Offset)
        return;
    FDash = sdCustom;
    FDashArray = std::move(dashes);
    FDashOffset = Offset;
    DestroyHandle();
    Changed();
}

void TVelkGPPen::SetCompoundArray(std::span<const float> Value)
{
    bool valid = Value.size() >= 2 && Value.size() % 2 == 0;
    for (std::size_t i = 0; valid && i < Value.size(); ++i)
        valid = std::isfinite(Value[i]) && (i == 0 || Value[i] >= Value[i - 1]);
    if (!valid)
        throw EGDIPException(QString::fromUtf16(messages::GPInvalidCompoundArray));
    Store(FCompoundArray, std::vector<float>(Value.begin(), Value.end()));
}

TVelkGPBrush& TVelkGPPen::Brush()
{
    if (!FBrush) {
        // It starts as the pen's colour and kind, which it follows from then on.
        FBrush = std::make_unique<TVelkGPBrush>(Owner());
        FBrush->SetKind(FKind);
        FBrush->SetColor(FColor);
        FBrush->OnChange = [this](TObject* Sender) { OwnedChanged(Sender); };
    }
    return *FBrush;
}

void TVelkGPPen::SetBrush(const TVelkGPBrush& Value)
{
    Brush().Assign(&Value);
}

TVelkGPCustomLineCap& TVelkGPPen::OwnedCap(std::unique_ptr<TVelkGPCustomLineCap>& Cap)
{
    if (!Cap) {
        Cap = std::make_unique<TVelkGPCustomLineCap>(Owner());
        Cap->OnChange = [this](TObject* Sender) { OwnedChanged(Sender); };
    }
    return *Cap;
}

TVelkGPCustomLineCap& TVelkGPPen::CustomStartCap()
{
    return OwnedCap(FCustomStartCap);
}

void TVelkGPPen::SetCustomStartCap(const TVelkGPCustomLineCap& Value)
{
    CustomStartCap().Assign(&Value);
}

TVelkGPCustomLineCap& TVelkGPPen::CustomEndCap()
{
    return OwnedCap(FCustomEndCap);
}

void TVelkGPPen::SetCustomEndCap(const TVelkGPCustomLineCap& Value)
{
    CustomEndCap().Assign(&Value);
}

void TVelkGPPen::Assign(const TPersistent* Source)
{
    const auto* pen = dynamic_cast<const TVelkGPPen*>(Source);
    if (!pen) {
        TVelkGPGraphicsObject::Assign(Source);
        return;
    }
    if (pen == this)
        return;
    FKind = pen->FKind;
    FDefaultKind = pen->FDefaultKind;
    FColor = pen->FColor;
    FDefaultColor = pen->FDefaultColor;
    FThickness = pen->FThickness;
    FMatrix = pen->FMatrix;
    FStartCap = pen->FStartCap;
    FJoin = pen->FJoin;
    FDashCap = pen->FDashCap;
    FDash = pen->FDash;
    FAlignment = pen->FAlignment;
    FEndCap = pen->FEndCap;
    FMiterLimit = pen->FMiterLimit;
    FDashArray = pen->FDashArray;
    FDashOffset = pen->FDashOffset;
    FCompoundArray = pen->FCompoundArray;
    Syncing([&] {
        if (pen->FCustomStartCap)
            CustomStartCap().Assign(pen->FCustomStartCap.get());
        if (pen->FCustomEndCap)
            CustomEndCap().Assign(pen->FCustomEndCap.get());
        if (pen->FBrush)
            Brush().Assign(pen->FBrush.get());
    });
    if (!pen->FBrush)
        FollowIntoBrush();
    DestroyHandle();
    Changed();
}

void TVelkGPPen::Assign(const QPen& Source)
{
    FColor = FDefaultColor = FromQColor(Source.color());
    switch (Source.style()) {
    case Qt::NoPen:
        FKind = bkNone;
        break;
    case Qt::SolidLine:
        FKind = bkSolid;
        FDash = sdSolid;
        break;
    case Qt::DashLine:
        FKind = bkSolid;
        FDash = sdDash;
        break;
    case Qt::DotLine:
        FKind = bkSolid;
        FDash = sdDot;
        break;
    case Qt::DashDotLine:
        FKind = bkSolid;
        FDash = sdDashDot;
        break;
    case Qt::DashDotDotLine:
        FKind = bkSolid;
        FDash = sdDashDotDot;
        break;
    default:
        FKind = bkSolid;
        break;
    }
    FThickness = static_cast<float>(Source.widthF());
    FollowIntoBrush();
    DestroyHandle();
    Changed();
}

TVelkGPGraphicsObject* TVelkGPPen::Prepare(const TRectF& aRect, float Opacity)
{
    // A pen that strokes with a brush draws with one laid out over the area; made before
    // the colour is scaled, since it starts with the pen's colour.
    TVelkGPBrush* brush = FBrush || (FKind != bkSolid && FKind != bkNone) ? &Brush() : nullptr;
    // The pen's colour is scaled on its own: the brush scales its colours itself when it
    // is prepared, so writing the scaled colour into it would scale it twice (and would
    // overwrite a gradient's first stop with the pen's colour).
    if (Opacity < 1) {
        FColor = ColorWithOpacity(FColor, Opacity);
        DestroyHandle();
        Changed();
    }
    if (brush) {
        Syncing([&] { brush->Prepare(aRect, Opacity); });
        DestroyHandle();
    }
    return this;
}

void TVelkGPPen::Update()
{
    DestroyHandle();
    if (FBrush)
        FBrush->Update();
}

QBrush TVelkGPPen::StrokeBrush() const
{
    if (FKind == bkSolid)
        return QBrush(ToQColor(FColor));
    if (FBrush)
        return FBrush->Handle();
    // The brush the pen would create for its kind and colour.
    TVelkGPBrush brush;
    brush.SetKind(FKind);
    brush.SetColor(FColor);
    return brush.Handle();
}

QPen TVelkGPPen::Handle() const
{
    if (FHandle)
        return *FHandle;
    QPen pen(Qt::NoPen);
    if (FKind != bkNone && std::isfinite(FThickness)) {
        pen = QPen(StrokeBrush(), std::abs(FThickness), Qt::SolidLine, QtCapStyle(FStartCap), QtJoinStyle(FJoin));
        pen.setMiterLimit(FMiterLimit);
        const TVelkStrokeStyle style = StrokeStyle();
        if (!style.Dashes.empty()) {
            QList<qreal> pattern(style.Dashes.begin(), style.Dashes.end());
            // Qt wants dash-gap pairs; an odd pattern repeats with the roles swapped.
            if (pattern.size() % 2 == 1)
                pattern.append(QList<qreal>(pattern));
            pen.setDashPattern(pattern);
            pen.setDashOffset(std::isfinite(FDashOffset) ? FDashOffset : 0);
        }
    }
    FHandle = pen;
    return pen;
}

bool TVelkGPPen::CanStrokeWithQPen() const
{
    if (FKind == bkNone)
        return true;
    const TVelkStrokeStyle style = StrokeStyle();
    const auto plainCap = [](TVelkGPLineCap Cap) { return Cap == lcFlat || Cap == lcSquare || Cap == lcRound; };
    if (!style.Compound.empty() || style.Alignment != paCenter || !style.Nib.isIdentity() ||
        style.StartCap != style.EndCap || !plainCap(style.StartCap))
        return false;
    if (style.Dashes.empty())
        return true;
    // Qt caps every dash as the line: the dash cap must be the same shape.
    return (style.StartCap == lcFlat && style.DashCap == dcFlat) ||
           (style.StartCap == lcRound && style.DashCap == dcRound) ||
           (style.StartCap == lcSquare && style.DashCap == dcSquare);
}

TVelkStrokeStyle TVelkGPPen::StrokeStyle(qreal HairlineWidth) const
{
    TVelkStrokeStyle style;
    style.Width = FThickness == 0 ? HairlineWidth : std::abs(qreal(FThickness));
    const auto effectiveCap = [](TVelkGPLineCap Cap, const std::unique_ptr<TVelkGPCustomLineCap>& Custom) {
        // An anchor-less or unusable custom cap ends the line flat.
        if (Cap == lcNoAnchor || (Cap == lcCustom && !(Custom && Custom->IsValid())))
            return lcFlat;
        return Cap;
    };
    style.StartCap = effectiveCap(FStartCap, FCustomStartCap);
    style.EndCap = effectiveCap(FEndCap, FCustomEndCap);
    if (style.StartCap == lcCustom)
        style.CustomStartCap = FCustomStartCap->Shape();
    if (style.EndCap == lcCustom)
        style.CustomEndCap = FCustomEndCap->Shape();
    style.DashCap = FDashCap;
    style.Join = FJoin;
    style.MiterLimit = FMiterLimit;
    if (FDash == sdCustom)
        style.Dashes.assign(FDashArray.begin(), FDashArray.end());
    else
        style.Dashes = PresetDashPattern(FDash);
    style.DashOffset = FDashOffset;
    style.Compound.assign(FCompoundArray.begin(), FCompoundArray.end());
    style.Alignment = FAlignment;
    style.Nib = QTransform(FMatrix.m11, FMatrix.m12, FMatrix.m21, FMatrix.m22, 0, 0);
    if (!style.Nib.isInvertible())
        style.Nib = QTransform();
    return style;
}

QPainterPath TVelkGPPen::StrokeOutline(const QPainterPath& Path, qreal Flatness) const
{
    return OutlineStroke(Path, StrokeStyle(), Flatness);
}

void TVelkGPPen::Paint(QPainter& Painter, const QPainterPath& Path) const
{
    if (FKind == bkNone || Path.isEmpty() || !std::isfinite(FThickness))
        return;
    const qreal scale = AverageScale(Painter.worldTransform());
    if (!(scale > 0) || !std::isfinite(scale))
        return;
    // A zero thickness is the classic hairline: one device pixel.
    const TVelkStrokeStyle style = StrokeStyle(1 / scale);
    // Qt dashes pens thinner than a device pixel in pixels rather than widths.
    const bool thinDashes = !style.Dashes.empty() && FThickness != 0 && style.Width * scale < 1;
    if (CanStrokeWithQPen() && !thinDashes && !PathNeedsOwnStroke(Path, style)) {
        Painter.strokePath(Path, Handle());
        return;
    }
    const QPainterPath outline = OutlineStroke(Path, style, DefaultFlatness / scale);
    Painter.fillPath(outline, StrokeBrush());
}

} // namespace velk

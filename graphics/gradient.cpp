#include "graphics/gradient.h"

#include "graphics/gp_color.h"
#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace velk {

// --- TVelkGPGradientPoint ---

const TClassInfo& TVelkGPGradientPoint::StaticClass()
{
    static const TClassInfo info(
        u"TVelkGPGradientPoint"_qs, &TPersistent::StaticClass(), &CreateInstance<TVelkGPGradientPoint>,
        TPublished<TVelkGPGradientPoint>()
            .Integer(
                u"Color"_qs, [](const TVelkGPGradientPoint& p) { return ColorBits(p.Color()); },
                [](TVelkGPGradientPoint& p, std::int32_t v) { p.SetColor(static_cast<TVelkGPColor>(v)); })
            .Single(u"Offset"_qs, &TVelkGPGradientPoint::Offset, &TVelkGPGradientPoint::SetOffset)
            .Take());
    return info;
}

TVelkGPGradientPoint::TVelkGPGradientPoint(TVelkGPGradientPoints* ACollection) : FCollection(ACollection)
{
}

void TVelkGPGradientPoint::SetColor(TVelkGPColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TVelkGPGradientPoint::SetOffset(float Value)
{
    if (Value == FOffset)
        return;
    FOffset = Value;
    Changed();
}

int TVelkGPGradientPoint::Index() const
{
    if (!FCollection)
        return -1;
    const auto it = std::find_if(FCollection->begin(), FCollection->end(),
                                 [this](const auto& point) { return point.get() == this; });
    return static_cast<int>(it - FCollection->begin());
}

void TVelkGPGradientPoint::Assign(const TPersistent* Source)
{
    if (const auto* point = dynamic_cast<const TVelkGPGradientPoint*>(Source)) {
        if (point->FColor == FColor && point->FOffset == FOffset)
            return;
        FColor = point->FColor;
        FOffset = point->FOffset;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TVelkGPGradientPoint::Changed()
{
    if (FCollection)
        FCollection->Changed();
}

// --- TVelkGPGradientPoints ---

const TClassInfo& TVelkGPGradientPoints::StaticClass()
{
    static const TClassInfo info(u"TVelkGPGradientPoints"_qs, &TPersistent::StaticClass(),
                                 &CreateInstance<TVelkGPGradientPoints>);
    return info;
}

TVelkGPGradientPoints::TVelkGPGradientPoints(TVelkGPGradient* AOwner) : FOwner(AOwner)
{
}

TVelkGPGradientPoints::~TVelkGPGradientPoints() = default;

TVelkGPGradientPoint* TVelkGPGradientPoints::Add()
{
    FItems.Add(std::make_unique<TVelkGPGradientPoint>(this));
    Changed();
    return FItems[Count() - 1];
}

TVelkGPGradientPoint* TVelkGPGradientPoints::Add(TVelkGPColor AColor, float AOffset)
{
    TVelkGPGradientPoint* point = nullptr;
    WithinUpdate(*this, [&] {
        point = Add();
        point->SetColor(AColor);
        point->SetOffset(AOffset);
    });
    return point;
}

TVelkGPGradientPoint* TVelkGPGradientPoints::Insert(int Index)
{
    FItems.Insert(Index, std::make_unique<TVelkGPGradientPoint>(this));
    Changed();
    return FItems[Index];
}

void TVelkGPGradientPoints::Delete(int Index)
{
    FItems.Delete(Index);
    Changed();
}

void TVelkGPGradientPoints::Clear()
{
    FItems.Clear();
    Changed();
}

void TVelkGPGradientPoints::BeginUpdate()
{
    ++FUpdateCount;
}

void TVelkGPGradientPoints::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TVelkGPGradientPoints::Assign(const TPersistent* Source)
{
    if (const auto* points = dynamic_cast<const TVelkGPGradientPoints*>(Source)) {
        if (points == this)
            return;
        WithinUpdate(*this, [&] {
            Clear();
            for (const auto& point : *points)
                Add(point->Color(), point->Offset());
        });
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TVelkGPGradientPoints::GetOwner() const
{
    return FOwner;
}

void TVelkGPGradientPoints::Changed()
{
    if (FUpdateCount == 0 && FOwner)
        FOwner->Change();
}

// --- The preset blend ---

TVelkGPBlend PresetBlend(std::span<const TVelkGPBlendStop> Stops, TVelkGPColor Color, const TPointF& Start,
                         const TPointF& Stop)
{
    if (Stops.empty())
        return {{Color, 0}, {Color, 1}};

    TVelkGPBlend pairs;
    pairs.reserve(Stops.size() + 2);
    if (Stops.front().Position != 0)
        pairs.push_back({Stops.front().Color, 0});
    pairs.insert(pairs.end(), Stops.begin(), Stops.end());
    if (Stops.back().Position != 1)
        pairs.push_back({Stops.back().Color, 1});

    // Positions along the line, measured as the area sees it.
    double x0 = Start.X, y0 = Start.Y;
    const double dx = double(Stop.X) - Start.X, dy = double(Stop.Y) - Start.Y;
    const double length = std::hypot(dx, dy);
    double scale = length > 1 ? 1 / length : length;
    const bool vertical = dx == 0;
    const bool horizontal = !vertical && dy == 0;
    if (vertical) {
        x0 = 0;
        scale = 1;
    } else if (horizontal) {
        y0 = 0;
        scale = 1;
    } else {
        const double m = dy / dx;
        const double d = m * (y0 - x0 * m) / (m * m + 1);
        x0 += d;
        y0 -= d / m;
    }
    std::vector<double> t(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const double p = pairs[i].Position;
        const double qx = x0 + p * dx, qy = y0 + p * dy;
        t[i] = horizontal ? qx : vertical ? qy : std::hypot(qx - x0, qy - y0) * scale;
    }

    // Positions that run backwards are mirrored.
    const auto differing = std::find_if(t.begin(), t.end(), [&](double v) { return v != t.front(); });
    if (differing != t.end() && *differing < t.front())
        for (double& v : t)
            v = 1 - v;

    // Clip to 0…1: everything inside, the last pair at or before 0 and the first pair at
    // or beyond 1, whose colours are cut at the ends below.
    struct TKept {
        TVelkGPColor Color;
        double T;
    };
    std::vector<TKept> kept;
    kept.reserve(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const double v = t[i];
        if (v <= 0 && !kept.empty() && kept.back().T <= 0)
            kept.back() = {pairs[i].Color, v}; // the nearer one decides the colour at 0
        else if ((v > 0 && v < 1) || kept.empty() || (v <= 0 && kept.back().T > 0) || (v >= 1 && kept.back().T < 1))
            kept.push_back({pairs[i].Color, v});
    }

    TVelkGPBlend result;
    result.reserve(kept.size() + 2);
    if (kept.front().T > 0)
        result.push_back({kept.front().Color, 0});
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const TKept& k = kept[i];
        if (k.T < 0) {
            if (i + 1 < kept.size()) {
                const TKept& next = kept[i + 1];
                result.push_back({LerpColor(k.Color, next.Color, float(-k.T / (next.T - k.T))), 0});
            } else {
                result.push_back({k.Color, 0});
            }
        } else if (k.T > 1) {
            if (i > 0) {
                const TKept& previous = kept[i - 1];
                result.push_back(
                    {LerpColor(previous.Color, k.Color, float((1 - previous.T) / (k.T - previous.T))), 1});
            } else {
                result.push_back({k.Color, 1});
            }
        } else {
            result.push_back({k.Color, float(k.T)});
        }
    }
    if (kept.back().T < 1)
        result.push_back({kept.back().Color, 1});
    return result;
}

// --- TVelkGPGradient ---

const TClassInfo& TVelkGPGradient::StaticClass()
{
    static const TClassInfo info(
        u"TVelkGPGradient"_qs, &TPersistent::StaticClass(), &CreateInstance<TVelkGPGradient>,
        TPublished<TVelkGPGradient>()
            .Boolean(u"GammaCorrection"_qs, &TVelkGPGradient::GammaCorrection, &TVelkGPGradient::SetGammaCorrection,
                     false)
            .Enumeration(u"Style"_qs, &TVelkGPGradient::Style, &TVelkGPGradient::SetStyle, gsLinear)
            .Enumeration(u"Shape"_qs, &TVelkGPGradient::Shape, &TVelkGPGradient::SetShape, lgsNormal)
            .Single(u"ShapeFocus"_qs, &TVelkGPGradient::ShapeFocus, &TVelkGPGradient::SetShapeFocus, 1)
            .Single(u"ShapeScale"_qs, &TVelkGPGradient::ShapeScale, &TVelkGPGradient::SetShapeScale, 1)
            .Object(u"StartPosition"_qs, &TVelkGPGradient::StartPosition)
            .StoredWhen([](const TVelkGPGradient& g) { return g.Style() == gsLinear; })
            .Object(u"StopPosition"_qs, &TVelkGPGradient::StopPosition)
            .StoredWhen([](const TVelkGPGradient& g) { return g.Style() == gsLinear; })
            .Object(u"RadialTransform"_qs, &TVelkGPGradient::RadialTransform)
            .StoredWhen([](const TVelkGPGradient& g) { return g.Style() == gsRadial; })
            .Event(u"OnChanged"_qs)
            .Take());
    return info;
}

TVelkGPGradient::TVelkGPGradient()
    : FPoints(std::make_unique<TVelkGPGradientPoints>(this)),
      FStartPosition(std::make_unique<TVelkPosition>(TPointF{0, 0})),
      FStopPosition(std::make_unique<TVelkPosition>(TPointF{0, 1})),
      FRadialTransform(std::make_unique<TVelkTransform>())
{
    FPoints->Add(0xFF000000, 0);
    FPoints->Add(0xFFFFFFFF, 1);
    FStartPosition->OnChange = [this](TObject*) { Change(); };
    FStopPosition->OnChange = [this](TObject*) { Change(); };
    FRadialTransform->Position()->SetDefaultValue({0.5f, 0.5f});
    FRadialTransform->Position()->SetPoint({0.5f, 0.5f});
    FRadialTransform->OnChanged = [this](TObject*) { Change(); };
}

TVelkGPGradient::~TVelkGPGradient() = default;

void TVelkGPGradient::SetGammaCorrection(bool Value)
{
    if (Value == FGammaCorrection)
        return;
    FGammaCorrection = Value;
    Change();
}

void TVelkGPGradient::SetPoints(const TVelkGPGradientPoints& Value)
{
    FPoints->Assign(&Value);
}

void TVelkGPGradient::SetStyle(TVelkGPGradientStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Change();
}

void TVelkGPGradient::SetShape(TVelkGPLinearGradientShape Value)
{
    if (Value == FShape)
        return;
    FShape = Value;
    Change();
}

namespace {

// 0…1; NaN gives 1.
float ClampUnit(float Value)
{
    return std::max(0.0f, std::min(1.0f, Value));
}

} // namespace

void TVelkGPGradient::SetShapeFocus(float Value)
{
    Value = ClampUnit(Value);
    if (Value == FShapeFocus)
        return;
    FShapeFocus = Value;
    Change();
}

void TVelkGPGradient::SetShapeScale(float Value)
{
    Value = ClampUnit(Value);
    if (Value == FShapeScale)
        return;
    FShapeScale = Value;
    Change();
}

TVelkGPGradientPoint* TVelkGPGradient::CheckedPoint(int Index) const
{
    if (Index < 0 || Index >= FPoints->Count())
        throw EArgumentOutOfRangeException(messages::ArgumentOutOfRange);
    return FPoints->GetPoint(Index);
}

TVelkGPColor TVelkGPGradient::GetColor(int Index) const
{
    return CheckedPoint(Index)->Color();
}

void TVelkGPGradient::SetColor(int Index, TVelkGPColor Value)
{
    CheckedPoint(Index)->SetColor(Value);
}

void TVelkGPGradient::Assign(const TPersistent* Source)
{
    const auto* gradient = dynamic_cast<const TVelkGPGradient*>(Source);
    if (!gradient) {
        TPersistent::Assign(Source);
        return;
    }
    if (gradient == this)
        return;
    {
        FAssigning = true;
        const auto restore = qScopeGuard([this] { FAssigning = false; });
        FPoints->Assign(gradient->FPoints.get());
        FStyle = gradient->FStyle;
        if (FStyle == gsRadial) {
            FRadialTransform->Assign(gradient->FRadialTransform.get());
        } else {
            FStopPosition->Assign(gradient->FStopPosition.get());
            FStartPosition->Assign(gradient->FStartPosition.get());
        }
        FGammaCorrection = gradient->FGammaCorrection;
        FShape = gradient->FShape;
        FShapeScale = gradient->FShapeScale;
        FShapeFocus = gradient->FShapeFocus;
    }
    Change();
}

bool TVelkGPGradient::Equal(const TVelkGPGradient* AGradient) const
{
    const auto same = [](float A, float B) { return std::fabs(double(A) - B) <= Epsilon; };
    if (!AGradient || AGradient->FPoints->Count() != FPoints->Count())
        return false;
    if (!same(FStartPosition->X(), AGradient->FStartPosition->X()) ||
        !same(FStartPosition->Y(), AGradient->FStartPosition->Y()) ||
        !same(FStopPosition->X(), AGradient->FStopPosition->X()) ||
        !same(FStopPosition->Y(), AGradient->FStopPosition->Y()))
        return false;
    for (int i = 0; i < FPoints->Count(); ++i) {
        const TVelkGPGradientPoint* a = FPoints->GetPoint(i);
        const TVelkGPGradientPoint* b = AGradient->FPoints->GetPoint(i);
        if (a->Color() != b->Color() || !same(a->Offset(), b->Offset()))
            return false;
    }
    return true;
}

TVelkGPColor TVelkGPGradient::InterpolateColor(float Offset) const
{
    const int count = FPoints->Count();
    if (count < 2)
        return 0;
    Offset = ClampUnit(std::isnan(Offset) ? 0.0f : Offset);
    const TVelkGPGradientPoint* first = FPoints->GetPoint(0);
    const TVelkGPGradientPoint* last = FPoints->GetPoint(count - 1);
    if (Offset < first->Offset())
        return first->Color();
    if (Offset > last->Offset())
        return last->Color();
    for (int i = 0; i + 1 < count; ++i) {
        const TVelkGPGradientPoint* a = FPoints->GetPoint(i);
        const TVelkGPGradientPoint* b = FPoints->GetPoint(i + 1);
        if (a->Offset() <= Offset && Offset <= b->Offset()) {
            if (a->Offset() == b->Offset())
                return a->Color();
            return LerpColor(a->Color(), b->Color(), (Offset - a->Offset()) / (b->Offset() - a->Offset()));
        }
    }
    // Stops out of order around Offset: the last one stands.
    return last->Color();
}

TVelkGPColor TVelkGPGradient::InterpolateColor(float X, float Y) const
{
    double offset;
    if (FStyle == gsRadial) {
        const TVelkPosition* center = FRadialTransform->RotationCenter();
        offset = 1 - 2 * std::hypot(double(X) - center->X(), double(Y) - center->Y());
    } else {
        const double dx = double(FStopPosition->X()) - FStartPosition->X();
        const double dy = double(FStopPosition->Y()) - FStartPosition->Y();
        const double lengthSquared = dx * dx + dy * dy;
        // A zero-length line shows its far end everywhere.
        offset = lengthSquared == 0
                     ? 1
                     : ((X - FStartPosition->X()) * dx + (Y - FStartPosition->Y()) * dy) / lengthSquared;
    }
    return InterpolateColor(static_cast<float>(offset));
}

TVelkGPBlend TVelkGPGradient::PresetBlend(TVelkGPColor Color) const
{
    TVelkGPBlend stops;
    stops.reserve(static_cast<std::size_t>(FPoints->Count()));
    for (const auto& point : *FPoints)
        stops.push_back({point->Color(), point->Offset()});
    return velk::PresetBlend(stops, Color, FStartPosition->Point(), FStopPosition->Point());
}

void TVelkGPGradient::Change()
{
    if (FAssigning)
        return;
    if (OnChanged)
        OnChanged(this);
}

void TVelkGPGradient::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    // The stops are a collection: each item framed as a list of its properties.
    Filer.DefineProperty(
        u"Points"_qs,
        [this](TReader& Reader) {
            Reader.ReadCollectionBegin();
            WithinUpdate(*FPoints, [&] {
                FPoints->Clear();
                while (!Reader.EndOfList()) {
                    Reader.ReadListBegin();
                    Reader.ReadProperties(*FPoints->Add());
                    Reader.ReadListEnd();
                }
            });
            Reader.ReadListEnd();
        },
        [this](TWriter& Writer) {
            Writer.WriteCollectionBegin();
            for (const auto& point : *FPoints) {
                Writer.WriteListBegin();
                Writer.WriteProperties(*point);
                Writer.WriteListEnd();
            }
            Writer.WriteListEnd();
        },
        true);
}

} // namespace velk

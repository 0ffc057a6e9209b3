#include "svg/svg_pen.h"

#include "platform/float_format.h"
#include "svg/color.h"
#include "svg/dash_array.h"
#include "svg/length_syntax.h"
#include "svg/svg_brush.h"

#include <QStringList>

#include <algorithm>

namespace velk {

namespace {

// The length a zero dash is kept as (see SetCustomDashArray).
constexpr float ZeroDashLength = 1e-6f;

} // namespace

QString SVGPixelsToStr(float Pixels, TSVGUnit Unit, const TSVGUnitFactors& UnitFactors, QStringView FormatStr)
{
    const float factor = UnitFactors[Unit];
    if (Unit == suPercent || factor == 0)
        return FormatFloat(FormatStr, Pixels);
    return SVGFormatValue(Pixels / factor, Unit, FormatStr);
}

const TClassInfo& TSVGPen::StaticClass()
{
    static const TClassInfo info(
        u"TSVGPen"_qs, &TVelkGPPen::StaticClass(), &CreateInstance<TSVGPen>,
        TPublished<TSVGPen>()
            .Single(u"Opacity"_qs, &TSVGPen::Opacity, &TSVGPen::SetOpacity)
            .NoDefault()
            .StoredWhen([](const TSVGPen& p) { return p.Opacity() != p.DefaultOpacity(); })
            .Boolean(u"ThicknessIsPercent"_qs, &TSVGPen::ThicknessIsPercent, &TSVGPen::SetThicknessIsPercent, false)
            .Enumeration(u"ThicknessPreferredUnit"_qs, &TSVGPen::ThicknessPreferredUnit,
                         &TSVGPen::SetThicknessPreferredUnit, suNone)
            .String(u"URI"_qs, &TSVGPen::URI, &TSVGPen::SetURI)
            .Object(u"SVGDashOffset"_qs, &TSVGPen::SVGDashOffset)
            .String(
                u"CustomDashArray"_qs, &TSVGPen::CustomDashArray,
                [](TSVGPen& p, const QString& v) { p.SetCustomDashArray(v); })
            .StoredWhen([](const TSVGPen& p) { return p.CustomDashArray() != u"none"; })
            .Enumeration(u"Kind"_qs, &TSVGPen::Kind, &TSVGPen::SetKind)
            .StoredWhen([](const TSVGPen& p) { return p.Kind() != p.DefaultKind(); })
            .Single(u"MiterLimit"_qs, &TSVGPen::MiterLimit, &TSVGPen::SetMiterLimit, 4)
            .Take());
    return info;
}

TSVGPen::TSVGPen(TVelkGPCanvas* Canvas) : TSVGPen(Canvas, bkSolid, 0xFF000000)
{
}

TSVGPen::TSVGPen(TVelkGPCanvas* Canvas, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor)
    : TVelkGPPen(Canvas, ADefaultKind, ADefaultColor), FSVGDashOffset(std::make_unique<TSVGLength>())
{
    SetMiterLimit(4);
    FSVGDashOffset->OnChange = [this](TObject*) { Changed(); };
    FSVGDashOffset->OnUnitFactors = [this](const TSVGLength*, TSVGUnitFactors& Factors) {
        Factors = GetUnitFactors();
    };
}

TSVGPen::~TSVGPen() = default;

std::unique_ptr<TVelkGPGraphicsObject> TSVGPen::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TSVGPen>(AOwner);
}

void TSVGPen::SetOpacity(float Value)
{
    Value = SVGClampOpacity(Value, FOpacity);
    if (Value == FOpacity)
        return;
    FOpacity = Value;
    Changed();
}

void TSVGPen::SetDefaultOpacity(float Value)
{
    FDefaultOpacity = SVGClampOpacity(Value, FDefaultOpacity);
}

void TSVGPen::SetThicknessIsPercent(bool Value)
{
    if (Value == FThicknessIsPercent)
        return;
    FThicknessIsPercent = Value;
    Changed();
}

void TSVGPen::SetThicknessPreferredUnit(TSVGUnit Value)
{
    if (Value == FThicknessPreferredUnit)
        return;
    FThicknessPreferredUnit = Value;
    Changed();
}

void TSVGPen::SetURI(const QString& Value)
{
    if (Value == FURI)
        return;
    FURI = Value;
    Changed();
}

void TSVGPen::SetSVGDashOffset(const TSVGLength& Value)
{
    FSVGDashOffset->Assign(&Value);
}

void TSVGPen::SetKind(TVelkGPBrushKind Value)
{
    if (Value == Kind())
        return;
    if (Value == bkNone || Value == bkSolid)
        FURI.clear();
    TVelkGPPen::SetKind(Value);
}

TSVGUnitFactors TSVGPen::GetUnitFactors() const
{
    TSVGUnitFactors factors = DefaultUnitFactors;
    if (OnUnitFactors)
        OnUnitFactors(this, factors);
    return factors;
}

QString TSVGPen::CustomDashArray() const
{
    if (Dash() != sdCustom)
        return u"none"_qs;
    // The pattern holds pixels; each value goes back into the unit it was written in, so
    // that "10mm" is saved as 10mm. An odd list was read twice over: the repeat takes the
    // flags of the item it repeats, so the text reads back as the same pattern.
    const TSVGUnitFactors factors = GetUnitFactors();
    const std::vector<float>& values = DashArray();
    const auto flagIndex = [&](const auto& Flags, std::size_t i) -> qsizetype {
        const auto count = std::size_t(Flags.size());
        if (i < count)
            return qsizetype(i);
        return values.size() == 2 * count ? qsizetype(i - count) : -1;
    };
    QStringList items;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const qsizetype p = flagIndex(FDashArrayIsPercent, i);
        const qsizetype u = flagIndex(FDashArrayPreferredUnits, i);
        if (p >= 0 && FDashArrayIsPercent[p])
            items.append(SVGFormatValue(values[i], suPercent, u"0.###"));
        else
            items.append(SVGPixelsToStr(values[i], u >= 0 ? FDashArrayPreferredUnits[u] : suNone, factors, u"0.###"));
    }
    return items.join(u' ');
}

void TSVGPen::SetCustomDashArray(const QString& Value)
{
    FDashArrayIsPercent.clear();
    FDashArrayPreferredUnits.clear();
    if (Value.isEmpty() || Value == u"none") {
        SetDash(sdSolid);
        return;
    }
    QList<float> values;
    if (SVGParseDashArray(Value, FDashArrayIsPercent, FDashArrayPreferredUnits, values, 0, 1, GetUnitFactors())) {
        // The backend takes only dashes longer than 0, while a zero dash draws its caps
        // alone (dots with round or square caps): it becomes the shortest dash that still
        // has a direction for its caps, too short to show with flat caps or to change
        // the saved text.
        for (float& value : values)
            value = std::max(value, ZeroDashLength);
        SetCustomDash(std::span<const float>(values.data(), std::size_t(values.size())), FSVGDashOffset->Value());
    } else if (values.isEmpty() || std::all_of(values.cbegin(), values.cend(), [](float V) { return V == 0; })) {
        SetDash(sdSolid);
    }
}

std::vector<float> TSVGPen::UserDashArray(float Diagonal) const
{
    std::vector<float> values = DashArray();
    // An odd list was read twice over: the repeat takes the flag of the item it repeats.
    const auto count = std::size_t(FDashArrayIsPercent.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t flag = i < count || values.size() != 2 * count ? i : i - count;
        if (flag < count && FDashArrayIsPercent[qsizetype(flag)])
            values[i] *= Diagonal;
    }
    return values;
}

float TSVGPen::UserDashOffset(float Diagonal) const
{
    return FSVGDashOffset->IsPercent() ? FSVGDashOffset->Raw() * Diagonal : FSVGDashOffset->Value();
}

QString TSVGPen::GetDashArray() const
{
    const float t = Thickness();
    const auto pattern = [](std::initializer_list<float> Values) {
        QStringList items;
        for (float v : Values)
            items.append(FormatFloat(u"0.##", v));
        return items.join(u' ');
    };
    switch (Dash()) {
    case sdSolid:
        return u"none"_qs;
    case sdDash:
        return pattern({3 * t, t});
    case sdDot:
        return pattern({t, t});
    case sdDashDot:
        return pattern({3 * t, t, t, t});
    case sdDashDotDot:
        return pattern({3 * t, t, t, t, t, t});
    case sdCustom:
        break;
    }
    return CustomDashArray();
}

void TSVGPen::Clear()
{
    SetKind(bkNone);
    SetColor(0xFF000000);
    SetDash(sdSolid);
    SetThicknessPreferredUnit(suNone);
    SetThicknessIsPercent(false);
    SetThickness(1);
    SetDashOffset(0);
    SetStartCap(lcFlat);
    SetEndCap(lcFlat);
    SetDashCap(dcFlat);
    SetMiterLimit(4);
    FSVGDashOffset->Clear();
    FDashArrayIsPercent.clear();
    FDashArrayPreferredUnits.clear();
    SetJoin(sjMiter);
    SetURI(QString());
    FCurrentColor = false;
    SetOpacity(FDefaultOpacity);
}

void TSVGPen::UpdateColorOpacity()
{
    SetColor(SVGSetColorOpacity(Color(), FOpacity));
}

void TSVGPen::Assign(const TPersistent* Source)
{
    if (const auto* pen = dynamic_cast<const TSVGPen*>(Source); pen && pen != this) {
        FDefaultOpacity = pen->FDefaultOpacity;
        FOpacity = pen->FOpacity;
        FURI = pen->FURI;
        FCurrentColor = pen->FCurrentColor;
        FSVGDashOffset->Assign(pen->FSVGDashOffset.get());
        FThicknessIsPercent = pen->FThicknessIsPercent;
        FThicknessPreferredUnit = pen->FThicknessPreferredUnit;
        FDashArrayIsPercent = pen->FDashArrayIsPercent;
        FDashArrayPreferredUnits = pen->FDashArrayPreferredUnits;
    }
    TVelkGPPen::Assign(Source);
}

} // namespace velk

#include "svg/length.h"

#include "svg/length_syntax.h"

#include <algorithm>
#include <cmath>

namespace velk {

TSVGUnitFactors SVGUnitFactorsForDPI(int DPI)
{
    const double dpi = std::max(DPI, SVGMinDPI);
    return {1,
            1,
            static_cast<float>(dpi / 72),
            static_cast<float>(dpi / 72 * 12),
            static_cast<float>(dpi / 2.54 / 10),
            static_cast<float>(dpi / 2.54),
            static_cast<float>(dpi),
            1,
            1,
            1};
}

TSVGUnitFactors SVGUnitFactorsForFontSize(const TSVGUnitFactors& DocumentFactors, float FontSize)
{
    TSVGUnitFactors factors = DocumentFactors;
    factors[suFontSize] *= FontSize;
    factors[suFontXHeight] *= FontSize * 0.5f;
    return factors;
}

float SVGNormalizedDiagonal(float Width, float Height)
{
    // hypot keeps the squares from overflowing; the result is at most the larger side.
    return static_cast<float>(std::hypot(double(Width), double(Height)) / std::sqrt(2.0));
}

// TSVGLength

const TClassInfo& TSVGLength::StaticClass()
{
    static const TClassInfo info(
        u"TSVGLength"_qs, &TPersistent::StaticClass(), &CreateInstance<TSVGLength>,
        TPublished<TSVGLength>()
            .Single(u"Raw"_qs, &TSVGLength::Raw, &TSVGLength::SetRaw)
            .Single(u"Pixels"_qs, &TSVGLength::Pixels, &TSVGLength::SetPixels)
            .NeverStored()
            .Boolean(u"IsPercent"_qs, &TSVGLength::IsPercent, &TSVGLength::SetIsPercent)
            .StoredWhen([](const TSVGLength& Length) { return Length.FIsPercent != Length.FDefaultIsPercent; })
            // Read back as it is: the raw number read before it is already in this unit,
            // and SetaUnit would convert it.
            .Enumeration(u"aUnit"_qs, &TSVGLength::aUnit,
                         [](TSVGLength& Length, TSVGUnit Value) {
                             if (Length.FUnit == Value)
                                 return;
                             Length.FUnit = Value;
                             Length.Changed();
                         })
            .StoredWhen([](const TSVGLength& Length) { return Length.FUnit != suNone && Length.FUnit != suPixels; })
            .Take());
    return info;
}

TSVGLength::TSVGLength(float aValue, bool aPercent, TSVGUnit vUnit)
    : FDefaultIsPercent(aPercent), FRaw(aValue), FIsPercent(aPercent), FUnit(vUnit)
{
}

void TSVGLength::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TSVGLength*>(Source);
    if (!source)
        return TPersistent::Assign(Source);
    FRaw = source->FRaw;
    FIsPercent = source->FIsPercent;
    FDefaultIsPercent = source->FDefaultIsPercent;
    FUnit = source->FUnit;
    Changed();
}

float TSVGLength::GetValue() const
{
    const float pixels = Pixels();
    if (!FIsPercent)
        return pixels;
    float min = 0;
    float max = 1;
    bool doRange = true;
    if (OnRange)
        OnRange(this, min, max, doRange);
    return doRange ? min + (max - min) * pixels : pixels;
}

void TSVGLength::SetValue(float Value)
{
    // A percentage keeps being one: the user-unit value goes back through the range
    // GetValue maps it into, so that Value reads back what was set.
    if (FIsPercent && OnRange) {
        float min = 0;
        float max = 1;
        bool doRange = true;
        OnRange(this, min, max, doRange);
        if (doRange && max != min) {
            SetPixels((Value - min) / (max - min));
            return;
        }
    }
    SetPixels(Value);
}

void TSVGLength::Clear()
{
    FRaw = 0;
    FIsPercent = FDefaultIsPercent;
    FUnit = suNone;
    Changed();
}

std::unique_ptr<TSVGLength> TSVGLength::Clone() const
{
    auto clone = std::make_unique<TSVGLength>();
    clone->Assign(this);
    return clone;
}

void TSVGLength::Initialize(float aValue, bool aPercent, TSVGUnit vUnit)
{
    FRaw = aValue;
    FIsPercent = aPercent;
    FDefaultIsPercent = aPercent;
    FUnit = vUnit;
    Changed();
}

QString TSVGLength::ToString(QStringView FormatStr, float Min, float Max) const
{
    return SVGFormatValue(GetPercentValue(Min, Max), FUnit, FormatStr);
}

void TSVGLength::SetRaw(float Value)
{
    if (FRaw == Value)
        return;
    FRaw = Value;
    Changed();
}

void TSVGLength::SetIsPercent(bool Value)
{
    if (FIsPercent == Value)
        return;
    FIsPercent = Value;
    Changed();
}

void TSVGLength::SetaUnit(TSVGUnit Index)
{
    if (Index != FUnit)
        SetAsUnit(Index, AsUnit(Index));
}

float TSVGLength::Pixels() const
{
    return GetUnitFactors()[FUnit] * FRaw;
}

void TSVGLength::SetPixels(float Value)
{
    const float factor = GetUnitFactors()[FUnit];
    if (factor != 0)
        SetRaw(Value / factor);
}

float TSVGLength::AsUnit(TSVGUnit Index) const
{
    const TSVGUnitFactors factors = GetUnitFactors();
    return factors[Index] == 0 ? 0 : factors[FUnit] * FRaw / factors[Index];
}

void TSVGLength::SetAsUnit(TSVGUnit Index, float aValue)
{
    FUnit = Index;
    FRaw = aValue;
    FIsPercent = Index == suPercent;
    Changed();
}

float TSVGLength::GetPercentValue(float Min, float Max) const
{
    return FIsPercent ? Min + (Max - Min) * FRaw : FRaw;
}

TSVGUnitFactors TSVGLength::GetUnitFactors() const
{
    TSVGUnitFactors factors = DefaultUnitFactors;
    if (OnUnitFactors)
        OnUnitFactors(this, factors);
    return factors;
}

void TSVGLength::Changed()
{
    if (OnChange)
        OnChange(this);
}

// TSVGStylePropertyLength

const TClassInfo& TSVGStylePropertyLength::StaticClass()
{
    static const TClassInfo info(u"TSVGStylePropertyLength"_qs, &TSVGLength::StaticClass(),
                                 &CreateInstance<TSVGStylePropertyLength>,
                                 TPublished<TSVGStylePropertyLength>()
                                     .Boolean(u"ParentValue"_qs, &TSVGStylePropertyLength::ParentValue,
                                              &TSVGStylePropertyLength::SetParentValue, false)
                                     .Take());
    return info;
}

void TSVGStylePropertyLength::Assign(const TPersistent* Source)
{
    TSVGLength::Assign(Source);
    if (const auto* source = dynamic_cast<const TSVGStylePropertyLength*>(Source))
        SetParentValue(source->ParentValue());
}

float TSVGStylePropertyLength::GetValue() const
{
    return ValueSource()->TSVGLength::GetValue();
}

void TSVGStylePropertyLength::SetValue(float Value)
{
    // The own size is compared, not the raw number: 10 is a new value for a length of 10in.
    if (Pixels() != Value || (ParentValue() && Value != GetValue())) {
        SetParentValue(false);
        TSVGLength::SetValue(Value);
    }
}

void TSVGStylePropertyLength::Clear()
{
    SetParentValue(false);
    TSVGLength::Clear();
}

std::unique_ptr<TSVGLength> TSVGStylePropertyLength::Clone() const
{
    auto clone = std::make_unique<TSVGStylePropertyLength>(FStyleProperty);
    clone->Assign(this);
    return clone;
}

bool TSVGStylePropertyLength::ParentValue() const
{
    if (OnGetInherited && OnGetParent)
        OnGetInherited(this, FInherited);
    return FInherited;
}

void TSVGStylePropertyLength::SetParentValue(bool Value)
{
    if (Value == ParentValue())
        return;
    FInherited = Value;
    if (OnSetInherited)
        OnSetInherited(this, Value);
    Changed();
}

TSVGStylePropertyLength* TSVGStylePropertyLength::GetParentValue() const
{
    TSVGStylePropertyLength* parent = nullptr;
    if (OnGetParent)
        OnGetParent(this, parent);
    return parent;
}

const TSVGStylePropertyLength* TSVGStylePropertyLength::ValueSource() const
{
    const TSVGStylePropertyLength* source = this;
    for (int depth = 0; depth < MaxParentDepth; ++depth) {
        if (!source->ParentValue())
            return source;
        const TSVGStylePropertyLength* parent = source->GetParentValue();
        if (!parent)
            return source;
        source = parent;
    }
    return this;
}

// TSVGStylePropertyAutoLength

const TClassInfo& TSVGStylePropertyAutoLength::StaticClass()
{
    // The own flag is streamed: the effective one belongs to the parent, and SetAutomatic
    // would clear the ParentValue read before it.
    static const TClassInfo info(
        u"TSVGStylePropertyAutoLength"_qs, &TSVGStylePropertyLength::StaticClass(),
        &CreateInstance<TSVGStylePropertyAutoLength>,
        TPublished<TSVGStylePropertyAutoLength>()
            .Boolean(
                u"Automatic"_qs, [](const TSVGStylePropertyAutoLength& Length) { return Length.FAutomatic; },
                [](TSVGStylePropertyAutoLength& Length, bool Value) {
                    if (Length.FAutomatic == Value)
                        return;
                    Length.FAutomatic = Value;
                    Length.Changed();
                },
                true)
            .Take());
    return info;
}

void TSVGStylePropertyAutoLength::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGStylePropertyAutoLength*>(Source))
        FAutomatic = source->FAutomatic;
    TSVGStylePropertyLength::Assign(Source);
}

void TSVGStylePropertyAutoLength::Clear()
{
    FAutomatic = true;
    TSVGStylePropertyLength::Clear();
}

std::unique_ptr<TSVGLength> TSVGStylePropertyAutoLength::Clone() const
{
    auto clone = std::make_unique<TSVGStylePropertyAutoLength>(StyleProperty());
    clone->Assign(this);
    return clone;
}

bool TSVGStylePropertyAutoLength::Automatic() const
{
    const auto* source = dynamic_cast<const TSVGStylePropertyAutoLength*>(ValueSource());
    return source ? source->FAutomatic : FAutomatic;
}

void TSVGStylePropertyAutoLength::SetAutomatic(bool Value)
{
    if (Value == FAutomatic && !(ParentValue() && Value != Automatic()))
        return;
    FAutomatic = Value;
    SetParentValue(false);
    Changed();
}

// TSVGBaselineShiftLength

const TClassInfo& TSVGBaselineShiftLength::StaticClass()
{
    // Streamed as its own field, for the reasons given for Automatic.
    static const TClassInfo info(
        u"TSVGBaselineShiftLength"_qs, &TSVGStylePropertyLength::StaticClass(),
        &CreateInstance<TSVGBaselineShiftLength>,
        TPublished<TSVGBaselineShiftLength>()
            .Enumeration(
                u"Shift"_qs, [](const TSVGBaselineShiftLength& Length) { return Length.FShift; },
                [](TSVGBaselineShiftLength& Length, TSVGBaselineShift Value) {
                    if (Length.FShift == Value)
                        return;
                    Length.FShift = Value;
                    Length.Changed();
                },
                bsBaseline)
            .Take());
    return info;
}

void TSVGBaselineShiftLength::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGBaselineShiftLength*>(Source))
        FShift = source->FShift;
    TSVGStylePropertyLength::Assign(Source);
}

void TSVGBaselineShiftLength::Clear()
{
    FShift = bsBaseline;
    TSVGStylePropertyLength::Clear();
}

std::unique_ptr<TSVGLength> TSVGBaselineShiftLength::Clone() const
{
    auto clone = std::make_unique<TSVGBaselineShiftLength>(StyleProperty());
    clone->Assign(this);
    return clone;
}

TSVGBaselineShift TSVGBaselineShiftLength::Shift() const
{
    const auto* source = dynamic_cast<const TSVGBaselineShiftLength*>(ValueSource());
    return source ? source->FShift : FShift;
}

void TSVGBaselineShiftLength::SetShift(TSVGBaselineShift Value)
{
    if (Value == FShift && !(ParentValue() && Value != Shift()))
        return;
    FShift = Value;
    SetParentValue(false);
    Changed();
}

// TSVGLengths

std::unique_ptr<TSVGLengths> TSVGLengths::Clone() const
{
    auto clone = std::make_unique<TSVGLengths>();
    Clone(*clone);
    return clone;
}

TSVGLengths& TSVGLengths::Clone(TSVGLengths& Dest) const
{
    if (&Dest == this)
        return Dest;
    Dest.Clear();
    for (const auto& item : *this)
        Dest.Add(item->Clone());
    return Dest;
}

} // namespace velk

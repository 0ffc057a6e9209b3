#pragma once
// Lengths: a number as written, the unit it was written in and whether it is a
// percentage. A length converts itself to user units (pixels) through a unit-factor table
// and resolves percentages against a range, both supplied by its owner through events;
// it remembers its unit so that a document written back keeps the author's units.
//
//   TSVGLength width;                              // 0, no unit
//   SVGParseLength(u"10mm", width, 0, 1);          // raw 10, suMillimeters
//   width.Pixels();                                // 37.8 with DefaultUnitFactors
//   width.OnUnitFactors = [&](const TSVGLength*, TSVGUnitFactors& f) { f = element.GetUnitFactors(); };
//
// The parsers and formatters are in svg/length_syntax.h.

#include "platform/enum_names.h"
#include "platform/list.h"
#include "platform/persistent.h"
#include "svg/keywords.h"
#include "svg/style_property.h"

#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <memory>

namespace velk {

enum TSVGUnit {
    suNone,
    suPixels,
    suPoints,
    suPicas,
    suMillimeters,
    suCentimeters,
    suInches,
    suFontSize,
    suFontXHeight,
    suPercent
};

template <>
struct EnumNames<TSVGUnit> {
    static constexpr std::array<std::u16string_view, 10> Names{
        u"suNone",        u"suPixels",      u"suPoints",   u"suPicas",       u"suMillimeters",
        u"suCentimeters", u"suInches",      u"suFontSize", u"suFontXHeight", u"suPercent"};
};

// The text written after a number in each unit.
inline constexpr std::array<std::u16string_view, 10> SVGUnitSuffixes{
    u"", u"px", u"pt", u"pc", u"mm", u"cm", u"in", u"em", u"ex", u"%"};

// Entry u is the number of user units in one u.
using TSVGUnitFactors = std::array<float, 10>;

// The table of a length without a unit-factor handler (96 DPI, rounded as given).
inline constexpr TSVGUnitFactors DefaultUnitFactors{1, 1, 1.333f, 15.996f, 3.78f, 37.8f, 96, 1, 1, 1};

// The smallest DPI a document keeps; lower values are stored as this.
inline constexpr int SVGMinDPI = 10;

// A document's table at DPI (raised to SVGMinDPI): points DPI/72, picas DPI/72*12,
// millimetres DPI/2.54/10, centimetres DPI/2.54, inches DPI, everything else 1.
TSVGUnitFactors SVGUnitFactorsForDPI(int DPI);

// An element's table: the document's with "em" scaled by the element's font size and
// "ex" by half of it.
TSVGUnitFactors SVGUnitFactorsForFontSize(const TSVGUnitFactors& DocumentFactors, float FontSize);

// What a percentage that is neither horizontal nor vertical (a circle's radius, a stroke
// width) is a fraction of: the normalised diagonal sqrt((w² + h²) / 2) of a viewport
// Width x Height. Never overflows for float sizes.
float SVGNormalizedDiagonal(float Width, float Height);

class TSVGLength;
class TSVGStylePropertyLength;

// Supplies the reference range of a percentage. Min and Max arrive as 0 and 1 and DoRange
// as true; a handler that sets DoRange to false receives the fraction itself.
using TSVGLengthRangeEvent = std::function<void(const TSVGLength* Sender, float& Min, float& Max, bool& DoRange)>;
// Supplies the unit-factor table; UnitFactors arrives holding DefaultUnitFactors.
using TSVGUnitFactorsEvent = std::function<void(const TSVGLength* Sender, TSVGUnitFactors& UnitFactors)>;
// Asks whether the property is taken from the parent; IsInherited arrives as the stored flag.
using TSVGLengthGetInheritedEvent = std::function<void(const TSVGStylePropertyLength* Sender, bool& IsInherited)>;
// Tells the owner that the flag changed.
using TSVGLengthSetInheritedEvent = std::function<void(const TSVGStylePropertyLength* Sender, bool IsInherited)>;
// Supplies the parent element's length of the same property (nullptr: none).
using TSVGLengthParentEvent =
    std::function<void(const TSVGStylePropertyLength* Sender, TSVGStylePropertyLength*& Parent)>;

class TSVGLength : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TSVGLength() = default;
    // Without a change event; aPercent is also the default percent flag.
    TSVGLength(float aValue, bool aPercent, TSVGUnit vUnit);

    // From another length: raw, percent flag, default percent flag and unit (not the
    // handlers), then the change event. Anything else: the inherited behaviour.
    void Assign(const TPersistent* Source) override;
    // User units: Pixels, mapped into OnRange's range when a percentage.
    virtual float GetValue() const;
    // In user units: SetPixels, or for a percentage with a range the fraction of that
    // range, so that GetValue gives Value back.
    virtual void SetValue(float Value);
    // Raw 0, the default percent flag, no unit; change event.
    virtual void Clear();
    // A new length of the same class (and style property) assigned from this one.
    virtual std::unique_ptr<TSVGLength> Clone() const;
    // As the constructor, on an existing length; change event.
    void Initialize(float aValue, bool aPercent, TSVGUnit vUnit);
    // The number for Min..Max (GetPercentValue) with its unit suffix (SVGFormatValue).
    QString ToString(QStringView FormatStr, float Min, float Max) const;

    float Value() const { return GetValue(); }

    float Raw() const { return FRaw; }
    void SetRaw(float Value);
    bool IsPercent() const { return FIsPercent; }
    void SetIsPercent(bool Value);
    bool DefaultIsPercent() const { return FDefaultIsPercent; }
    // The unit; changing it converts the number so that the length keeps its size.
    TSVGUnit aUnit() const { return FUnit; }
    void SetaUnit(TSVGUnit Index);

    // UnitFactors[unit] * raw. Writing stores x / UnitFactors[unit] when it differs (and
    // nothing when the factor is 0: no number in that unit has that size).
    float Pixels() const;
    void SetPixels(float Value);
    // The length expressed in Index (0 when Index's factor is 0).
    float AsUnit(TSVGUnit Index) const;
    // Unit Index, raw aValue, percentage exactly when Index is suPercent; change event.
    void SetAsUnit(TSVGUnit Index, float aValue);
    // Min + (Max - Min) * raw for a percentage, raw otherwise.
    float GetPercentValue(float Min, float Max) const;
    // OnUnitFactors' table, or DefaultUnitFactors without a handler.
    TSVGUnitFactors GetUnitFactors() const;

    TNotifyEvent OnChange;
    TSVGLengthRangeEvent OnRange;
    TSVGUnitFactorsEvent OnUnitFactors;

protected:
    void Changed();

private:
    bool FDefaultIsPercent = false;
    float FRaw = 0;
    bool FIsPercent = false;
    TSVGUnit FUnit = suNone;
};

// A length of a presentation property, which may take its value from the parent
// element's length of the same property (inherit).
class TSVGStylePropertyLength : public TSVGLength {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Chains of parent values are followed at most this far; beyond (a cycle of parent
    // handlers) a length reads its own value.
    static constexpr int MaxParentDepth = 1024;

    explicit TSVGStylePropertyLength(TSVGStyleProperty aStyleProperty = ipNone) : FStyleProperty(aStyleProperty) {}

    // Also copies ParentValue from another style property length.
    void Assign(const TPersistent* Source) override;
    // The parent's value while ParentValue is set and a parent exists, else the own.
    float GetValue() const override;
    // Acts when raw differs from Value, or while ParentValue is set and Value differs
    // from the value read: clears ParentValue, then sets the value.
    void SetValue(float Value) override;
    // Also clears ParentValue.
    void Clear() override;
    std::unique_ptr<TSVGLength> Clone() const override;

    TSVGStyleProperty StyleProperty() const { return FStyleProperty; }
    // The value is taken from the parent element. With OnGetInherited and OnGetParent
    // installed the owner is asked first and may change the flag.
    bool ParentValue() const;
    void SetParentValue(bool Value);
    // OnGetParent's length, nullptr without a handler.
    TSVGStylePropertyLength* GetParentValue() const;

    TSVGLengthGetInheritedEvent OnGetInherited;
    TSVGLengthSetInheritedEvent OnSetInherited;
    TSVGLengthParentEvent OnGetParent;

protected:
    // The length whose own state applies: the end of the chain of parent values, or this
    // one when the chain is longer than MaxParentDepth.
    const TSVGStylePropertyLength* ValueSource() const;

private:
    TSVGStyleProperty FStyleProperty;
    // Refreshed by OnGetInherited when the flag is read.
    mutable bool FInherited = false;
};

// kerning ("auto"), letter-spacing and word-spacing ("normal"): a length with an
// automatic state.
class TSVGStylePropertyAutoLength : public TSVGStylePropertyLength {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGStylePropertyLength::TSVGStylePropertyLength;

    void Assign(const TPersistent* Source) override;
    // Also sets Automatic.
    void Clear() override;
    std::unique_ptr<TSVGLength> Clone() const override;

    // The parent's while ParentValue is set and a parent exists. Writing acts when the
    // value differs from the own one or from the value read: stores it, clears
    // ParentValue, change event.
    bool Automatic() const;
    void SetAutomatic(bool Value);

private:
    bool FAutomatic = true;
};

// baseline-shift: a kind, with the length used by bsPercentage and bsLength.
class TSVGBaselineShiftLength : public TSVGStylePropertyLength {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGStylePropertyLength::TSVGStylePropertyLength;

    void Assign(const TPersistent* Source) override;
    // Also sets Shift to bsBaseline.
    void Clear() override;
    std::unique_ptr<TSVGLength> Clone() const override;

    // The parent's while ParentValue is set and a parent exists; writing as Automatic.
    TSVGBaselineShift Shift() const;
    void SetShift(TSVGBaselineShift Value);

private:
    TSVGBaselineShift FShift = bsBaseline;
};

// An owning list of lengths.
class TSVGLengths : public TObjectList<TSVGLength> {
public:
    // A new list holding a clone of every item, in order.
    std::unique_ptr<TSVGLengths> Clone() const;
    // Dest emptied, then given a clone of every item in order; returns Dest.
    TSVGLengths& Clone(TSVGLengths& Dest) const;
};

} // namespace velk

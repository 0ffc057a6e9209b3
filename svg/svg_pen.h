#pragma once
// TSVGPen: an element's stroke. The backend pen plus what SVG adds: an opacity kept apart
// from the colour, the ID of a paint server, and the units the author wrote the stroke
// width and the dash array in, so that a saved document keeps them. The dash offset is
// kept as a length (SVGDashOffset) as written.
//
//   TSVGPen stroke(nullptr, bkNone, 0xFF000000);
//   stroke.SetCustomDashArray(u"4 50%"_qs);     // dash pattern 4, 0.5 (a fraction)
//   stroke.CustomDashArray();                   // "4 50%"

#include "graphics/pen.h"
#include "svg/length.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

namespace velk {

class TSVGPen;

// A pixel value as a text in Unit (Pixels / the unit's factor, with its suffix), the
// number formatted with FormatStr. Percentages and units whose factor is 0 have no
// pixel form: the number is written as it is, without a suffix.
QString SVGPixelsToStr(float Pixels, TSVGUnit Unit, const TSVGUnitFactors& UnitFactors, QStringView FormatStr);

// Supplies the unit-factor table of a pen; UnitFactors arrives holding
// DefaultUnitFactors.
using TSVGPenUnitFactorsEvent = std::function<void(const TSVGPen* Sender, TSVGUnitFactors& UnitFactors)>;

class TSVGPen : public TVelkGPPen {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The backend pen's defaults; opacity and default opacity 1, miter limit 4.
    explicit TSVGPen(TVelkGPCanvas* Canvas = nullptr);
    // Kind and colour, current and default, from the arguments; opacity 1, thickness 1,
    // miter limit 4. Canvas may be nullptr.
    TSVGPen(TVelkGPCanvas* Canvas, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor);
    ~TSVGPen() override;

    // Published.
    // Clamped into 0..1; a change raises OnChange. Stored when it differs from
    // DefaultOpacity.
    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value);
    // The stroke width was a percentage: Thickness holds the fraction.
    bool ThicknessIsPercent() const { return FThicknessIsPercent; }
    void SetThicknessIsPercent(bool Value);
    // The unit the stroke width was written in.
    TSVGUnit ThicknessPreferredUnit() const { return FThicknessPreferredUnit; }
    void SetThicknessPreferredUnit(TSVGUnit Value);
    // The paint server's ID, empty for none.
    const QString& URI() const { return FURI; }
    void SetURI(const QString& Value);
    // stroke-dashoffset as written (owned; its change is the pen's change). Its unit
    // factors are the pen's. The setter assigns into it.
    TSVGLength* SVGDashOffset() const { return FSVGDashOffset.get(); }
    void SetSVGDashOffset(const TSVGLength& Value);
    // Read: for a custom dash style, each dash value as "0.###" with its preferred unit
    // suffix, a percent value as its fraction × 100 and "%", separated by blanks;
    // otherwise "none". Write: empties both per-dash lists; "" or "none" makes the dash
    // solid; otherwise SVGParseDashArray (Min 0, Max 1, GetUnitFactors) refills them and
    // gives the values: none or all 0 make the dash solid, a valid pattern becomes the
    // custom dash with SVGDashOffset's value as offset (a zero dash kept as a length too
    // small to show or to write), a negative value leaves the dash style.
    QString CustomDashArray() const;
    void SetCustomDashArray(const QString& Value);
    // Hides the backend setter: bkNone and bkSolid also empty URI; nothing when equal.
    void SetKind(TVelkGPBrushKind Value);
    using TVelkGPPen::Kind;

    // Public.
    // The opacity Clear restores; clamped into 0..1, no change event.
    float DefaultOpacity() const { return FDefaultOpacity; }
    void SetDefaultOpacity(float Value);
    // Per custom dash value: written as a percentage / in this unit. Shorter than the
    // dash array when an odd list was repeated (the repeat has no flags of its own).
    const QList<bool>& DashArrayIsPercent() const { return FDashArrayIsPercent; }
    void SetDashArrayIsPercent(const QList<bool>& Value) { FDashArrayIsPercent = Value; }
    const QList<TSVGUnit>& DashArrayPreferredUnits() const { return FDashArrayPreferredUnits; }
    void SetDashArrayPreferredUnits(const QList<TSVGUnit>& Value) { FDashArrayPreferredUnits = Value; }
    // The dash pattern and the dash offset in user units: a value written as a
    // percentage (held as its fraction) is that fraction of Diagonal, the normalised
    // diagonal of the nearest viewport, sqrt((w² + h²) / 2).
    std::vector<float> UserDashArray(float Diagonal) const;
    float UserDashOffset(float Diagonal) const;
    // OnUnitFactors' table, or DefaultUnitFactors without a handler.
    TSVGUnitFactors GetUnitFactors() const;
    TSVGPenUnitFactorsEvent OnUnitFactors;

    // The colour follows the element's color property (currentColor): the element takes
    // it again whenever it resolves its paint for drawing. No change event.
    bool CurrentColor() const { return FCurrentColor; }
    void SetCurrentColor(bool Value) { FCurrentColor = Value; }

    // Kind bkNone, colour opaque black, solid dash, no preferred unit, not a percentage,
    // thickness 1, backend dash offset 0, flat caps, miter limit 4, SVGDashOffset
    // cleared, both per-dash lists empty, miter join, URI empty, CurrentColor off, Opacity :=
    // DefaultOpacity.
    virtual void Clear();
    // The dash style as a stroke-dasharray text, in multiples of the thickness t: solid
    // "none", dash "3t t", dot "t t", dash-dot "3t t t t", dash-dot-dot "3t" and five
    // "t" (numbers as "0.##"); custom gives CustomDashArray.
    virtual QString GetDashArray() const;
    // Folds Opacity into the colour's alpha byte (Opacity × 255, halves to even).
    void UpdateColorOpacity();

    // From a TSVGPen: default opacity, opacity, URI, CurrentColor, the dash offset
    // length, the thickness flags and both per-dash lists; then the backend pen's rules.
    void Assign(const TPersistent* Source) override;
    using TVelkGPPen::Assign;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;

private:
    float FOpacity = 1;
    QString FURI;
    bool FCurrentColor = false;
    bool FThicknessIsPercent = false;
    TSVGUnit FThicknessPreferredUnit = suNone;
    QList<bool> FDashArrayIsPercent;
    QList<TSVGUnit> FDashArrayPreferredUnits;
    float FDefaultOpacity = 1;
    std::unique_ptr<TSVGLength> FSVGDashOffset;
};

} // namespace velk

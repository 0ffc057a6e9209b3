// The cascade: which declaration lists reach an element, in which order, and how one
// list becomes the element's property values.

#include "svg/graphic_element.h"

#include "collections/ordered_list.h"
#include "collections/priority_list.h"
#include "svg/angle.h"
#include "svg/cascade_rules.h"
#include "svg/clip_syntax.h"
#include "svg/color.h"
#include "svg/document.h"
#include "svg/font_family.h"
#include "svg/length_syntax.h"
#include "svg/number_lists.h"
#include "svg/selector_matching.h"
#include "svg/uri.h"

#include <QScopeGuard>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace velk {

namespace {

// The declared text of every property of one declaration list (empty when it has none).
class TDeclaredTexts {
public:
    explicit TDeclaredTexts(const TSVGStyle& Style)
    {
        for (const auto& [property, text] : Style.Declarations())
            FTexts[property] = text;
    }

    QStringView operator[](TSVGStyleProperty Property) const { return FTexts[Property]; }

private:
    std::array<QStringView, SVGStylePropertyCount> FTexts{};
};

// Whether Text reads as a number with an optional unit (so that a length parsed from it
// takes a new value).
bool IsLengthText(QStringView Text)
{
    TSVGUnit unit = suNone;
    return !std::isnan(SVGStrToPixels(Text, unit, DefaultUnitFactors, std::numeric_limits<float>::quiet_NaN()));
}

TVelkGPDashCap DashCapOf(TVelkGPLineCap Cap)
{
    switch (Cap) {
    case lcRound:
        return dcRound;
    case lcTriangle:
        return dcTriangle;
    case lcSquare:
        return dcSquare;
    default:
        return dcFlat;
    }
}

} // namespace

namespace {

// Keeps Document's rules grouped while a cascade runs over it (nested runs share them).
class TCascadeRun {
public:
    explicit TCascadeRun(const TSVGDocument* Document)
        : FDocument(Document), FRules(Document ? &Document->BeginCascade() : nullptr)
    {
    }
    ~TCascadeRun()
    {
        if (FDocument)
            FDocument->EndCascade();
    }
    TCascadeRun(const TCascadeRun&) = delete;
    TCascadeRun& operator=(const TCascadeRun&) = delete;

    const TSVGCascadeRules* Rules() const { return FRules; }

private:
    const TSVGDocument* FDocument;
    const TSVGCascadeRules* FRules;
};

} // namespace

void TSVGGraphicElement::ApplyStyles()
{
    const TCascadeRun run(Owner());
    WithinUpdate(*this, [this] {
        ApplyMatchingStyles(Owner());
        TSVGElement::ApplyStyles();
    });
}

void TSVGGraphicElement::ApplyMatchingStyles(const TSVGDocument* Rules)
{
    // The children are styled next and mark themselves for re-resolution then: while
    // this element takes its declarations, its changes need not walk the subtree.
    const bool wasStylingSelf = std::exchange(FStylingSelf, true);
    const auto restore = qScopeGuard([&] { FStylingSelf = wasStylingSelf; });
    // Resolved once afresh: the parent may have changed in this cascade (its marks did
    // not reach here). Between the declaration lists, the change events of the brush,
    // pen, font and inherit set mark what each list changes.
    MarkForResolution({true, true, true});
    const TCascadeRun run(Rules);
    if (!run.Rules()) {
        ApplyStyle(*FStyle);
        return;
    }
    std::vector<std::pair<TSVGStyle*, int>> matching;
    for (const int position : run.Rules()->Candidates(*this)) {
        const TSVGCascadeRules::TRule& rule = run.Rules()->Rule(position);
        if (const int priority = SVGMatchSelector(*this, rule.Tokens); priority >= 0)
            matching.emplace_back(rule.Style, priority);
    }
    if (matching.empty()) {
        ApplyStyle(*FStyle);
        return;
    }
    // Presentation attributes rank below every rule and the style attribute above them
    // all, as in CSS: the own declarations go first, the style attribute's again last.
    // Queue buckets: among equal priorities the latest added comes first, so of two rules
    // of equal priority the one the table enumerates first is applied last and wins.
    ApplyStyle(*FStyle);
    TPriorityList list(TVelkObjectQueue::StaticClass());
    for (const auto& [rule, priority] : matching)
        list.Add(rule, priority);
    for (TObject* style : list.Items())
        ApplyStyle(*static_cast<const TSVGStyle*>(style));
    if (FStyleAttributeProperties.Empty())
        return;
    TSVGStyle styleAttribute;
    for (int i = ipNone + 1; i < SVGStylePropertyCount; ++i) {
        const auto property = static_cast<TSVGStyleProperty>(i);
        if (FStyleAttributeProperties.Contains(property))
            styleAttribute.SetStyleProp(property, FStyle->GetStyleProp(property));
    }
    ApplyStyle(styleAttribute);
}

void TSVGDocument::ApplyStyles()
{
    const TCascadeRun run(this);
    WithinUpdate(*this, [this] {
        ApplyMatchingStyles(this);
        TSVGCustomViewBox::ApplyStyles();
    });
}

void TSVGGraphicElement::ApplyStyle(const TSVGStyle& aStyle)
{
    const TDeclaredTexts text(aStyle);
    // The factors depend on the resolved font: taken (before any change) only when a
    // property read with them is declared.
    const TSVGUnitFactors factors =
        text[ipStrokeWidth].isEmpty() && text[ipFontSize].isEmpty() && text[ipClip].isEmpty() ? DefaultUnitFactors
                                                                                               : GetUnitFactors();
    TSVGStylePropertiesSet& inherits = *FInherits;
    // The style form of a property read by Read(text, inherit): it runs only for a value
    // to take; the flag is written back for any declared text. Most properties are not
    // declared in a list, and an empty text keeps value and flag: nothing to do.
    const auto apply = [&](TSVGStyleProperty Property, auto&& Read) {
        const QStringView value = text[Property];
        if (value.isEmpty())
            return;
        bool inherit = inherits.GetByIndex(Property);
        if (SVGTakesStyleText(value, inherit))
            Read(value);
        inherits.SetByIndex(Property, inherit);
    };
    const auto keyword = [&](TSVGStyleProperty Property, auto& Field) {
        apply(Property, [&](QStringView Value) { Field = SVGParseKeyword(Value, Field); });
    };
    // A reference read without touching the property's flag (the colour steps set it).
    const auto paintURI = [&](TSVGStyleProperty Property, const QString& Current) {
        if (text[Property].isEmpty())
            return Current;
        bool inherit = inherits.GetByIndex(Property);
        return SVGParseStylePaintURI(text[Property], Current, inherit);
    };

    // 1. Paint references written as a color; fill and stroke take theirs in step 5.
    FBrush->SetURI(paintURI(ipColor, FBrush->URI()));
    FPen->SetURI(paintURI(ipColor, FPen->URI()));

    // 2. visibility and display, kept apart: a hidden group still shows a visible
    //    child, while display none removes the whole subtree.
    apply(ipVisibility, [&](QStringView Value) { FVisible = SVGParseVisibility(Value); });
    apply(ipDisplay, [&](QStringView Value) { FDisplay = SVGParseDisplay(Value); });

    // 3. Baselines and rendering hints.
    keyword(ipAlignmentBaseline, FAlignmentBaseline);
    {
        const QStringView value = text[ipBaselineShift];
        if (value == u"inherit") {
            FBaselineShift->SetParentValue(true);
        } else if (!value.isEmpty()) {
            const TSVGBaselineShift shift = SVGParseKeyword<TSVGBaselineShift>(value);
            if (shift == bsBaseline || shift == bsSubscript || shift == bsSuperscript) {
                FBaselineShift->SetShift(shift);
            } else if (IsLengthText(value)) {
                bool inherit = false;
                SVGParseStyleLength(value, *FBaselineShift, inherit, 0, 1);
                FBaselineShift->SetShift(FBaselineShift->IsPercent() ? bsPercentage : bsLength);
                FBaselineShift->SetParentValue(false);
            }
        }
    }
    keyword(ipDominantBaseline, FDominantBaseline);
    keyword(ipColorInterpolation, FColorInterpolation);
    keyword(ipColorRendering, FColorRendering);
    keyword(ipShapeRendering, FShapeRendering);
    keyword(ipTextRendering, FTextRendering);

    // 4. color; currentColor is the effective colour before this step.
    if (!text[ipColor].isEmpty()) {
        bool inherit = inherits.GetByIndex(ipColor);
        bool isNone = false;
        const TVelkGPColor color = SVGParseColor(text[ipColor], FColor, isNone, Color(), inherit);
        FColor = isNone ? 0 : color;
        inherits.SetByIndex(ipColor, inherit);
    }

    // 5. fill and stroke: kind, colour, reference and the currentColor flag, all from
    //    the one value, so that a later declaration replaces an earlier one entirely.
    //    The backend's kind setter keeps the paint reference, which the SVG setter
    //    would drop.
    const auto paint = [&](TSVGStyleProperty Property, auto& Paint, auto&& SetKind) {
        apply(Property, [&](QStringView Value) {
            const TSVGPaint value = SVGParsePaint(Value, Paint.Color(), Color());
            Paint.SetColor(value.Color);
            Paint.SetURI(value.URI);
            Paint.SetCurrentColor(value.CurrentColor);
            SetKind(value.Kind);
        });
    };
    paint(ipFill, *FBrush, [&](TVelkGPBrushKind Kind) { FBrush->TVelkGPBrush::SetKind(Kind); });
    paint(ipStroke, *FPen, [&](TVelkGPBrushKind Kind) { FPen->TVelkGPPen::SetKind(Kind); });

    // 6. Fill opacity and rule.
    apply(ipFillOpacity, [&](QStringView Value) {
        bool inherit = false;
        FBrush->SetOpacity(SVGParseNumber(Value, inherit, FBrush->Opacity()));
    });
    keyword(ipFillRule, FFillRule);

    // 7. Caps (the dash caps follow the line caps), miter limit, join.
    apply(ipStrokeLinecap, [&](QStringView Value) {
        const TVelkGPLineCap cap = SVGParseLineCap(Value);
        FPen->SetEndCap(cap);
        FPen->SetStartCap(cap);
        FPen->SetDashCap(DashCapOf(cap));
    });
    apply(ipStrokeMiterLimit, [&](QStringView Value) {
        bool inherit = false;
        FPen->SetMiterLimit(SVGParseMiterLimit(Value, inherit, FPen->MiterLimit()));
    });
    apply(ipStrokeLineJoin, [&](QStringView Value) { FPen->SetJoin(SVGParseLineJoin(Value)); });

    // 8. Stroke width; a percentage is kept as a fraction.
    apply(ipStrokeWidth, [&](QStringView Value) {
        bool inherit = false;
        TSVGUnit unit = suNone;
        FPen->SetThickness(SVGParseStylePixels(Value, inherit, unit, 0, 1, factors, FPen->Thickness()));
        FPen->SetThicknessPreferredUnit(unit);
        FPen->SetThicknessIsPercent(unit == suPercent);
    });

    // 9. Dashes: the offset first, so that a new pattern takes it; a new offset alone
    //    moves the current pattern.
    apply(ipStrokeDashOffset, [&](QStringView Value) {
        bool inherit = false;
        SVGParseStyleLength(Value, *FPen->SVGDashOffset(), inherit, 0, 1);
        if (FPen->Dash() == sdCustom)
            FPen->SetDashOffset(FPen->SVGDashOffset()->Value());
    });
    apply(ipStrokeDasharray, [&](QStringView Value) { FPen->SetCustomDashArray(Value.toString()); });

    // 10. Stroke opacity, vector effect, opacity (kept as given; the setter clamps).
    apply(ipStrokeOpacity, [&](QStringView Value) {
        bool inherit = false;
        FPen->SetOpacity(SVGParseNumber(Value, inherit, FPen->Opacity()));
    });
    keyword(ipVectorEffect, FVectorEffect);
    apply(ipOpacity, [&](QStringView Value) {
        bool inherit = false;
        FOpacity = SVGParseNumber(Value, inherit, FOpacity);
    });

    // 11. Font and text anchor.
    apply(ipFontFamily, [&](QStringView Value) {
        bool inherit = false;
        SVGParseFontFamily(Value, *FFont->Families(), inherit);
    });
    apply(ipFontSize, [&](QStringView Value) {
        const TSVGGraphicElement* parent = GetGraphicParent();
        const float parentSize = parent ? parent->GetFont().Size() : FFont->Size();
        bool inherit = false;
        TSVGUnit unit = suNone;
        FFont->SetSize(SVGParseFontSize(Value, inherit, unit, parentSize, factors, FFont->Size()));
        FFont->SetSizePreferredUnit(unit);
    });
    apply(ipFontStyle, [&](QStringView Value) {
        TFontStyles styles = FFont->Style();
        if (SVGParseFontStyle(Value))
            styles.Include(fsItalic);
        else
            styles.Exclude(fsItalic);
        FFont->SetStyle(styles);
    });
    apply(ipFontVariant, [&](QStringView Value) { FFont->SetFontVariant(SVGParseKeyword(Value, FFont->FontVariant())); });
    apply(ipFontWeight, [&](QStringView Value) { FFont->SetWeight(SVGParseKeyword(Value, FFont->Weight())); });
    apply(ipTextAnchor, [&](QStringView Value) { FTextAlign = SVGParseTextAnchor(Value); });
    apply(ipTextDecoration, [&](QStringView Value) {
        const TSVGTextDecoration decoration = SVGParseTextDecoration(Value);
        TFontStyles styles = FFont->Style();
        for (const auto& [style, on] : {std::pair{fsUnderline, decoration.Underline},
                                        std::pair{fsStrikeOut, decoration.StrikeOut}}) {
            if (on)
                styles.Include(style);
            else
                styles.Exclude(style);
        }
        FFont->SetStyle(styles);
        FFont->SetExtendStyles(decoration.Extended);
    });

    // 12. Spacing: "inherit" takes the parent's length, the keyword makes the length
    //     automatic, a length sets it.
    const auto spacing = [&](TSVGStyleProperty Property, TSVGStylePropertyAutoLength& Length,
                             std::u16string_view Automatic) {
        const QStringView value = text[Property];
        if (value == u"inherit") {
            Length.SetParentValue(true);
        } else if (value == Automatic) {
            Length.SetAutomatic(true);
        } else if (!value.isEmpty() && IsLengthText(value)) {
            bool inherit = false;
            SVGParseStyleLength(value, Length, inherit, 0, 1);
            Length.SetAutomatic(false);
            Length.SetParentValue(false);
        }
    };
    spacing(ipLetterSpacing, *FLetterSpacing, u"normal");
    spacing(ipKerning, *FKerning, u"auto");
    spacing(ipWordSpacing, *FWordSpacing, u"normal");

    // 13. Direction, glyph orientations (a text that is no angle keeps the value),
    //     writing mode, cursor.
    keyword(ipDirection, FDirection);
    apply(ipGlyphOrientationHorizontal, [&](QStringView Value) {
        if (const auto orientation = SVGParseGlyphOrientationHorizontal(Value); orientation != ohNone)
            FGlyphOrientationHorizontal = orientation;
    });
    apply(ipGlyphOrientationVertical, [&](QStringView Value) {
        if (const auto orientation = SVGParseGlyphOrientationVertical(Value); orientation != ovNone)
            FGlyphOrientationVertical = orientation;
    });
    keyword(ipWritingMode, FWritingMode);
    apply(ipCursor, [&](QStringView Value) { FCursor = SVGParseCursor(Value); });

    // 14. Clipping.
    apply(ipClipPath, [&](QStringView Value) {
        bool inherit = false;
        FClipURI = SVGParseStyleURI(Value, FClipURI, inherit);
    });
    keyword(ipClipRule, FClipRule);
    apply(ipClip, [&](QStringView Value) {
        bool inherit = false;
        FClipRect = SVGParseClip(Value, FClipRect, inherit, factors);
    });
    apply(ipOverflow, [&](QStringView Value) { FOverflow = SVGParseOverflow(Value); });
    FClippingChanged = true;

    // 15. Markers: a marker shorthand sets all three and hides the three longhands.
    const bool shorthand = !text[ipMarker].isEmpty();
    const auto marker = [&](TSVGStyleProperty Property, QString& Field) {
        const QStringView value = text[shorthand ? ipMarker : Property];
        if (value.isEmpty())
            return;
        bool inherit = inherits.GetByIndex(Property);
        Field = SVGParseStyleURI(value, Field, inherit);
        inherits.SetByIndex(Property, inherit);
    };
    marker(ipMarkerStart, FMarkerStartURI);
    marker(ipMarkerMid, FMarkerMidURI);
    marker(ipMarkerEnd, FMarkerEndURI);

    if (!FStylingSelf)
        MarkForResolution({true, true, true});
    Changed();
}

} // namespace velk

#pragma once
// TSVGStyle: a list of style declarations (property name and value text). It is both a
// CSS rule of a document's style sheet (Name is the selector text) and the own
// declarations of an element (its attributes and its "style" attribute).
//
//   TSVGStyle rule(u"rect"_qs, u"fill: red; stroke: blue"_qs);
//   rule.GetStyleProp(ipFill);              // "red"
//   rule.ToString();                        // "rect { fill=red\nstroke=blue\n }"

#include "platform/persistent.h"
#include "platform/string_list.h"
#include "platform/xml/node.h"
#include "svg/style_property.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velk {

class TSVGStyle : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Enabled, no name, no declarations.
    TSVGStyle();
    // Named aName with the declarations of the block aStyles (SetStyle).
    TSVGStyle(const QString& aName, QStringView aStyles);
    ~TSVGStyle() override;

    // Raises OnChange. Called after every change of the declarations made outside an
    // update bracket of StyleValues, at the end of each outermost bracket (changed or
    // not), and by the Name and Enabled setters.
    virtual void Changed();
    // True for attributes that AddStyle(Node) does not store: only "marker", a shorthand
    // that counts in "style" attributes and style sheets alone.
    virtual bool IsIgnoredAttribute(QStringView Name) const;

    // Appends an entry "name=value" for every attribute of Node in document order (the
    // name without its prefix, property or not), within one update bracket; the list is
    // not emptied first. Returns the properties met (ipNone for names that are none).
    virtual TSVGStyleProperties AddStyle(TXMLNode Node);
    // Adds the declarations of a block such as "fill: red; stroke: blue": comments are
    // removed, the text is split at every ";", each item at its first ":" into a name and
    // a value, both trimmed. Items with neither are skipped; otherwise the value is set
    // under the name (in place when present, a later one wins; an empty value removes
    // the entry). A ";" inside quotes or parentheses splits too, and "!important" stays
    // part of the value. Returns the properties met (ipNone for names that are none);
    // an empty text returns the empty set and changes nothing.
    virtual TSVGStyleProperties AddStyle(QStringView aStyles);

    // Replaces the declarations by those of the block aStyles, within one update bracket.
    void SetStyle(QStringView aStyles);
    // Replaces the declarations by the attributes of Node, within one update bracket.
    void LoadFromXML(TXMLNode Node);

    // The value stored under the property's CSS name (names compare without regard to
    // case); "" when there is none, and for ipNone.
    QString GetStyleProp(TSVGStyleProperty Property) const;
    // Sets it; an empty Value removes the entry. ipNone has no name: nothing happens.
    void SetStyleProp(TSVGStyleProperty Property, const QString& Value);

    // One published string per presentation property (flood-color and flood-opacity only
    // through GetStyleProp), read and written like GetStyleProp / SetStyleProp.
    QString Alignment_Baseline() const { return GetStyleProp(ipAlignmentBaseline); }
    void SetAlignment_Baseline(const QString& Value) { SetStyleProp(ipAlignmentBaseline, Value); }
    QString Baseline_Shift() const { return GetStyleProp(ipBaselineShift); }
    void SetBaseline_Shift(const QString& Value) { SetStyleProp(ipBaselineShift, Value); }
    QString Clip() const { return GetStyleProp(ipClip); }
    void SetClip(const QString& Value) { SetStyleProp(ipClip, Value); }
    QString Clip_Path() const { return GetStyleProp(ipClipPath); }
    void SetClip_Path(const QString& Value) { SetStyleProp(ipClipPath, Value); }
    QString Clip_Rule() const { return GetStyleProp(ipClipRule); }
    void SetClip_Rule(const QString& Value) { SetStyleProp(ipClipRule, Value); }
    QString Color() const { return GetStyleProp(ipColor); }
    void SetColor(const QString& Value) { SetStyleProp(ipColor, Value); }
    QString Color_Interpolation() const { return GetStyleProp(ipColorInterpolation); }
    void SetColor_Interpolation(const QString& Value) { SetStyleProp(ipColorInterpolation, Value); }
    QString Color_Rendering() const { return GetStyleProp(ipColorRendering); }
    void SetColor_Rendering(const QString& Value) { SetStyleProp(ipColorRendering, Value); }
    QString Cursor() const { return GetStyleProp(ipCursor); }
    void SetCursor(const QString& Value) { SetStyleProp(ipCursor, Value); }
    QString Direction() const { return GetStyleProp(ipDirection); }
    void SetDirection(const QString& Value) { SetStyleProp(ipDirection, Value); }
    QString Display() const { return GetStyleProp(ipDisplay); }
    void SetDisplay(const QString& Value) { SetStyleProp(ipDisplay, Value); }
    QString Dominant_Baseline() const { return GetStyleProp(ipDominantBaseline); }
    void SetDominant_Baseline(const QString& Value) { SetStyleProp(ipDominantBaseline, Value); }
    QString Fill() const { return GetStyleProp(ipFill); }
    void SetFill(const QString& Value) { SetStyleProp(ipFill, Value); }
    QString Fill_Opacity() const { return GetStyleProp(ipFillOpacity); }
    void SetFill_Opacity(const QString& Value) { SetStyleProp(ipFillOpacity, Value); }
    QString Fill_Rule() const { return GetStyleProp(ipFillRule); }
    void SetFill_Rule(const QString& Value) { SetStyleProp(ipFillRule, Value); }
    QString Font() const { return GetStyleProp(ipFont); }
    void SetFont(const QString& Value) { SetStyleProp(ipFont, Value); }
    QString Font_Family() const { return GetStyleProp(ipFontFamily); }
    void SetFont_Family(const QString& Value) { SetStyleProp(ipFontFamily, Value); }
    QString Font_Size() const { return GetStyleProp(ipFontSize); }
    void SetFont_Size(const QString& Value) { SetStyleProp(ipFontSize, Value); }
    QString Font_Style() const { return GetStyleProp(ipFontStyle); }
    void SetFont_Style(const QString& Value) { SetStyleProp(ipFontStyle, Value); }
    QString Font_Variant() const { return GetStyleProp(ipFontVariant); }
    void SetFont_Variant(const QString& Value) { SetStyleProp(ipFontVariant, Value); }
    QString Font_Weight() const { return GetStyleProp(ipFontWeight); }
    void SetFont_Weight(const QString& Value) { SetStyleProp(ipFontWeight, Value); }
    QString Glyph_Orientation_horizontal() const { return GetStyleProp(ipGlyphOrientationHorizontal); }
    void SetGlyph_Orientation_horizontal(const QString& Value) { SetStyleProp(ipGlyphOrientationHorizontal, Value); }
    QString Glyph_Orientation_vertical() const { return GetStyleProp(ipGlyphOrientationVertical); }
    void SetGlyph_Orientation_vertical(const QString& Value) { SetStyleProp(ipGlyphOrientationVertical, Value); }
    QString Kerning() const { return GetStyleProp(ipKerning); }
    void SetKerning(const QString& Value) { SetStyleProp(ipKerning, Value); }
    QString Letter_spacing() const { return GetStyleProp(ipLetterSpacing); }
    void SetLetter_spacing(const QString& Value) { SetStyleProp(ipLetterSpacing, Value); }
    QString Marker() const { return GetStyleProp(ipMarker); }
    void SetMarker(const QString& Value) { SetStyleProp(ipMarker, Value); }
    QString Marker_End() const { return GetStyleProp(ipMarkerEnd); }
    void SetMarker_End(const QString& Value) { SetStyleProp(ipMarkerEnd, Value); }
    QString Marker_Mid() const { return GetStyleProp(ipMarkerMid); }
    void SetMarker_Mid(const QString& Value) { SetStyleProp(ipMarkerMid, Value); }
    QString Marker_Start() const { return GetStyleProp(ipMarkerStart); }
    void SetMarker_Start(const QString& Value) { SetStyleProp(ipMarkerStart, Value); }
    QString Opacity() const { return GetStyleProp(ipOpacity); }
    void SetOpacity(const QString& Value) { SetStyleProp(ipOpacity, Value); }
    QString Overflow() const { return GetStyleProp(ipOverflow); }
    void SetOverflow(const QString& Value) { SetStyleProp(ipOverflow, Value); }
    QString Shape_Rendering() const { return GetStyleProp(ipShapeRendering); }
    void SetShape_Rendering(const QString& Value) { SetStyleProp(ipShapeRendering, Value); }
    QString Stop_Color() const { return GetStyleProp(ipStopColor); }
    void SetStop_Color(const QString& Value) { SetStyleProp(ipStopColor, Value); }
    QString Stop_Opacity() const { return GetStyleProp(ipStopOpacity); }
    void SetStop_Opacity(const QString& Value) { SetStyleProp(ipStopOpacity, Value); }
    QString Stroke() const { return GetStyleProp(ipStroke); }
    void SetStroke(const QString& Value) { SetStyleProp(ipStroke, Value); }
    QString Stroke_Dasharray() const { return GetStyleProp(ipStrokeDasharray); }
    void SetStroke_Dasharray(const QString& Value) { SetStyleProp(ipStrokeDasharray, Value); }
    QString Stroke_Dashoffset() const { return GetStyleProp(ipStrokeDashOffset); }
    void SetStroke_Dashoffset(const QString& Value) { SetStyleProp(ipStrokeDashOffset, Value); }
    QString Stroke_Linecap() const { return GetStyleProp(ipStrokeLinecap); }
    void SetStroke_Linecap(const QString& Value) { SetStyleProp(ipStrokeLinecap, Value); }
    QString Stroke_Linejoin() const { return GetStyleProp(ipStrokeLineJoin); }
    void SetStroke_Linejoin(const QString& Value) { SetStyleProp(ipStrokeLineJoin, Value); }
    QString Stroke_Miterlimit() const { return GetStyleProp(ipStrokeMiterLimit); }
    void SetStroke_Miterlimit(const QString& Value) { SetStyleProp(ipStrokeMiterLimit, Value); }
    QString Stroke_Opacity() const { return GetStyleProp(ipStrokeOpacity); }
    void SetStroke_Opacity(const QString& Value) { SetStyleProp(ipStrokeOpacity, Value); }
    QString Stroke_Width() const { return GetStyleProp(ipStrokeWidth); }
    void SetStroke_Width(const QString& Value) { SetStyleProp(ipStrokeWidth, Value); }
    QString Text_Anchor() const { return GetStyleProp(ipTextAnchor); }
    void SetText_Anchor(const QString& Value) { SetStyleProp(ipTextAnchor, Value); }
    QString Text_Decoration() const { return GetStyleProp(ipTextDecoration); }
    void SetText_Decoration(const QString& Value) { SetStyleProp(ipTextDecoration, Value); }
    QString Text_Rendering() const { return GetStyleProp(ipTextRendering); }
    void SetText_Rendering(const QString& Value) { SetStyleProp(ipTextRendering, Value); }
    QString Vector_Effect() const { return GetStyleProp(ipVectorEffect); }
    void SetVector_Effect(const QString& Value) { SetStyleProp(ipVectorEffect, Value); }
    QString Visibility() const { return GetStyleProp(ipVisibility); }
    void SetVisibility(const QString& Value) { SetStyleProp(ipVisibility, Value); }
    QString Word_Spacing() const { return GetStyleProp(ipWordSpacing); }
    void SetWord_Spacing(const QString& Value) { SetStyleProp(ipWordSpacing, Value); }
    QString Writing_Mode() const { return GetStyleProp(ipWritingMode); }
    void SetWriting_Mode(const QString& Value) { SetStyleProp(ipWritingMode, Value); }

    // The declarations, one "name=value" line each, in the order they were added.
    TStringList* StyleValues() const { return FStyleValues.get(); }
    // The trimmed text of every property the declarations name (the first entry of a
    // name counts, as for GetStyleProp), in property order. Read once and kept until
    // the declarations change: the cascade applies one rule to many elements.
    using TDeclarations = std::vector<std::pair<TSVGStyleProperty, QString>>;
    const TDeclarations& Declarations() const;
    // The selector text of a rule; empty for an element's own declarations.
    const QString& Name() const { return FName; }
    void SetName(const QString& Value);
    // Whether a rule takes part in the cascade.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnChange;

    // From a TSVGStyle: Name and the declarations (not Enabled or OnChange); from a
    // string list: the declarations. Changed is called once.
    void Assign(const TPersistent* Source) override;
    // To a string list: the declarations.
    void AssignTo(TPersistent* Dest) const override;

    // Name, " { ", every declaration followed by a line break, " }".
    QString ToString() const;

private:
    std::unique_ptr<TStringList> FStyleValues;
    mutable std::optional<TDeclarations> FDeclarations;
    QString FName;
    bool FEnabled = true;
};

} // namespace velk

// TSVGGraphicElement: the effective-value getters and the setters of the presentation
// properties.

#include "svg/graphic_element.h"

#include "svg/transform_syntax.h"

#include <algorithm>
#include <cmath>

namespace velk {

bool TSVGGraphicElement::IsInherited(TSVGStyleProperty Property) const
{
    return FInherits->GetByIndex(Property);
}

template <typename T>
bool TSVGGraphicElement::StoreProperty(T& Field, const T& Value, const T& Effective, TSVGStyleProperty Property)
{
    if (Field == Value && !(IsInherited(Property) && Effective != Value))
        return false;
    Field = Value;
    FInherits->SetByIndex(Property, false);
    Changed();
    return true;
}

const TSVGGraphicElement* TSVGGraphicElement::InheritedFrom(TSVGStyleProperty Property) const
{
    return IsInherited(Property) ? GetGraphicParent() : nullptr;
}

TSVGTextAlign TSVGGraphicElement::TextAlign() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipTextAnchor))
        return parent->TextAlign();
    return FTextAlign;
}

void TSVGGraphicElement::SetTextAlign(TSVGTextAlign Value)
{
    StoreProperty(FTextAlign, Value, TextAlign(), ipTextAnchor);
}

TSVGFillRule TSVGGraphicElement::ClipRule() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipClipRule))
        return parent->ClipRule();
    return FClipRule;
}

void TSVGGraphicElement::SetClipRule(TSVGFillRule Value)
{
    if (StoreProperty(FClipRule, Value, ClipRule(), ipClipRule))
        FClippingChanged = true;
}

TSVGFillRule TSVGGraphicElement::FillRule() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipFillRule))
        return parent->FillRule();
    return FFillRule;
}

void TSVGGraphicElement::SetFillRule(TSVGFillRule Value)
{
    StoreProperty(FFillRule, Value, FillRule(), ipFillRule);
}

TVelkGPColor TSVGGraphicElement::Color() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipColor))
        return parent->Color();
    return FColor;
}

void TSVGGraphicElement::SetColor(TVelkGPColor Value)
{
    StoreProperty(FColor, Value, Color(), ipColor);
}

TSVGColorInterpolation TSVGGraphicElement::ColorInterpolation() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipColorInterpolation))
        return parent->ColorInterpolation();
    return FColorInterpolation;
}

void TSVGGraphicElement::SetColorInterpolation(TSVGColorInterpolation Value)
{
    StoreProperty(FColorInterpolation, Value, ColorInterpolation(), ipColorInterpolation);
}

TSVGColorRendering TSVGGraphicElement::ColorRendering() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipColorRendering))
        return parent->ColorRendering();
    return FColorRendering;
}

void TSVGGraphicElement::SetColorRendering(TSVGColorRendering Value)
{
    StoreProperty(FColorRendering, Value, ColorRendering(), ipColorRendering);
}

TSVGShapeRendering TSVGGraphicElement::ShapeRendering() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipShapeRendering))
        return parent->ShapeRendering();
    return FShapeRendering;
}

void TSVGGraphicElement::SetShapeRendering(TSVGShapeRendering Value)
{
    StoreProperty(FShapeRendering, Value, ShapeRendering(), ipShapeRendering);
}

TSVGTextRendering TSVGGraphicElement::TextRendering() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipTextRendering))
        return parent->TextRendering();
    return FTextRendering;
}

void TSVGGraphicElement::SetTextRendering(TSVGTextRendering Value)
{
    StoreProperty(FTextRendering, Value, TextRendering(), ipTextRendering);
}

TSVGVectorEffect TSVGGraphicElement::VectorEffect() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipVectorEffect))
        return parent->VectorEffect();
    return FVectorEffect;
}

void TSVGGraphicElement::SetVectorEffect(TSVGVectorEffect Value)
{
    StoreProperty(FVectorEffect, Value, VectorEffect(), ipVectorEffect);
}

TSVGDirection TSVGGraphicElement::Direction() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipDirection))
        return parent->Direction();
    return FDirection;
}

void TSVGGraphicElement::SetDirection(TSVGDirection Value)
{
    StoreProperty(FDirection, Value, Direction(), ipDirection);
}

TSVGAlignmentBaseline TSVGGraphicElement::AlignmentBaseline() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipAlignmentBaseline))
        return parent->AlignmentBaseline();
    return FAlignmentBaseline;
}

void TSVGGraphicElement::SetAlignmentBaseline(TSVGAlignmentBaseline Value)
{
    StoreProperty(FAlignmentBaseline, Value, AlignmentBaseline(), ipAlignmentBaseline);
}

TSVGDominantBaseline TSVGGraphicElement::DominantBaseline() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipDominantBaseline))
        return parent->DominantBaseline();
    return FDominantBaseline;
}

void TSVGGraphicElement::SetDominantBaseline(TSVGDominantBaseline Value)
{
    StoreProperty(FDominantBaseline, Value, DominantBaseline(), ipDominantBaseline);
}

TSVGGlyphOrientationHorizontal TSVGGraphicElement::GlyphOrientationHorizontal() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipGlyphOrientationHorizontal))
        return parent->GlyphOrientationHorizontal();
    return FGlyphOrientationHorizontal;
}

void TSVGGraphicElement::SetGlyphOrientationHorizontal(TSVGGlyphOrientationHorizontal Value)
{
    StoreProperty(FGlyphOrientationHorizontal, Value, GlyphOrientationHorizontal(), ipGlyphOrientationHorizontal);
}

TSVGGlyphOrientationVertical TSVGGraphicElement::GlyphOrientationVertical() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipGlyphOrientationVertical))
        return parent->GlyphOrientationVertical();
    return FGlyphOrientationVertical;
}

void TSVGGraphicElement::SetGlyphOrientationVertical(TSVGGlyphOrientationVertical Value)
{
    StoreProperty(FGlyphOrientationVertical, Value, GlyphOrientationVertical(), ipGlyphOrientationVertical);
}

TSVGWritingMode TSVGGraphicElement::GetWritingMode() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipWritingMode))
        return parent->GetWritingMode();
    return FWritingMode;
}

void TSVGGraphicElement::SetWritingMode(TSVGWritingMode Value)
{
    StoreProperty(FWritingMode, Value, GetWritingMode(), ipWritingMode);
}

const QString& TSVGGraphicElement::MarkerStartURI() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipMarkerStart))
        return parent->MarkerStartURI();
    return FMarkerStartURI;
}

void TSVGGraphicElement::SetMarkerStartURI(const QString& Value)
{
    StoreProperty(FMarkerStartURI, Value, MarkerStartURI(), ipMarkerStart);
}

const QString& TSVGGraphicElement::MarkerMidURI() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipMarkerMid))
        return parent->MarkerMidURI();
    return FMarkerMidURI;
}

void TSVGGraphicElement::SetMarkerMidURI(const QString& Value)
{
    StoreProperty(FMarkerMidURI, Value, MarkerMidURI(), ipMarkerMid);
}

const QString& TSVGGraphicElement::MarkerEndURI() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipMarkerEnd))
        return parent->MarkerEndURI();
    return FMarkerEndURI;
}

void TSVGGraphicElement::SetMarkerEndURI(const QString& Value)
{
    StoreProperty(FMarkerEndURI, Value, MarkerEndURI(), ipMarkerEnd);
}

bool TSVGGraphicElement::Overflow() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipOverflow))
        return parent->Overflow();
    return FOverflow;
}

void TSVGGraphicElement::SetOverflow(bool Value)
{
    if (StoreProperty(FOverflow, Value, Overflow(), ipOverflow))
        FClippingChanged = true;
}

float TSVGGraphicElement::Opacity() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipOpacity))
        return parent->Opacity();
    return FOpacity;
}

void TSVGGraphicElement::SetOpacity(float Value)
{
    if (std::isnan(Value))
        return;
    StoreProperty(FOpacity, std::clamp(Value, 0.0f, 1.0f), Opacity(), ipOpacity);
}

bool TSVGGraphicElement::Visible() const
{
    const TSVGGraphicElement* parent = InheritedFrom(ipVisibility);
    return parent ? parent->Visible() : FVisible;
}

void TSVGGraphicElement::SetVisible(bool Value)
{
    StoreProperty(FVisible, Value, Visible(), ipVisibility);
}

bool TSVGGraphicElement::Display() const
{
    const TSVGGraphicElement* parent = InheritedFrom(ipDisplay);
    return parent ? parent->Display() : FDisplay;
}

void TSVGGraphicElement::SetDisplay(bool Value)
{
    StoreProperty(FDisplay, Value, Display(), ipDisplay);
}

Qt::CursorShape TSVGGraphicElement::Cursor() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipCursor))
        return parent->Cursor();
    return FCursor;
}

void TSVGGraphicElement::SetCursor(Qt::CursorShape Value)
{
    if (Value == Cursor())
        return;
    FCursor = Value;
    FInherits->SetByIndex(ipCursor, false);
    Changed();
}

float TSVGGraphicElement::GetAbsoluteOpacity() const
{
    const TSVGGraphicElement* parent = GetGraphicParent();
    return parent ? Opacity() * parent->GetAbsoluteOpacity() : Opacity();
}

void TSVGGraphicElement::SetOpacityPreferredUnit(TSVGUnit Value)
{
    if (Value == FOpacityPreferredUnit)
        return;
    FOpacityPreferredUnit = Value;
    Changed();
}

void TSVGGraphicElement::SetClipURI(const QString& Value)
{
    if (StoreProperty(FClipURI, Value, FClipURI, ipClipPath))
        FClippingChanged = true;
}

TRectF TSVGGraphicElement::GetClipRect() const
{
    if (const TSVGGraphicElement* parent = InheritedFrom(ipClip))
        return parent->GetClipRect();
    const TRectF bounds = GetBoundsRect();
    return {bounds.Left - FClipRect.Left, bounds.Top - FClipRect.Top, bounds.Right - FClipRect.Right,
            bounds.Bottom - FClipRect.Bottom};
}

void TSVGGraphicElement::SetClipRect(const TRectF& Value)
{
    if (StoreProperty(FClipRect, Value, FClipRect, ipClip))
        FClippingChanged = true;
}

void TSVGGraphicElement::SetMatrix(const TMatrix& Value)
{
    if (Value == FMatrix)
        return;
    FMatrix = Value;
    Changed();
}

QString TSVGGraphicElement::TransformMatrix() const
{
    return SVGTransformToStr(FMatrix);
}

void TSVGGraphicElement::SetTransformMatrix(const QString& Value)
{
    SetMatrix(SVGParseTransform(Value));
}

// --- Owned property objects ---

void TSVGGraphicElement::SetInherits(const TSVGStylePropertiesSet& Value)
{
    FInherits->Assign(&Value);
}

TSVGStylePropertiesSet& TSVGGraphicElement::PreferredStyles() const
{
    if (FParentPreferredStyles)
        if (const TSVGGraphicElement* parent = GetGraphicParent())
            return parent->PreferredStyles();
    return *FPreferredStyles;
}

void TSVGGraphicElement::SetPreferredStyles(const TSVGStylePropertiesSet& Value)
{
    FPreferredStyles->Assign(&Value);
    SetParentPreferredStyles(false);
}

void TSVGGraphicElement::SetParentPreferredStyles(bool Value)
{
    if (Value == FParentPreferredStyles)
        return;
    FParentPreferredStyles = Value;
    Changed();
}

void TSVGGraphicElement::SetStyle(const TSVGStyle& Value)
{
    FStyle->Assign(&Value);
}

void TSVGGraphicElement::SetKerning(const TSVGStylePropertyAutoLength& Value)
{
    FKerning->Assign(&Value);
}

void TSVGGraphicElement::SetLetterSpacing(const TSVGStylePropertyAutoLength& Value)
{
    FLetterSpacing->Assign(&Value);
}

void TSVGGraphicElement::SetWordSpacing(const TSVGStylePropertyAutoLength& Value)
{
    FWordSpacing->Assign(&Value);
}

void TSVGGraphicElement::SetBaselineShift(const TSVGBaselineShiftLength& Value)
{
    FBaselineShift->Assign(&Value);
}

void TSVGGraphicElement::SetBrush(const TSVGBrush& Value)
{
    FBrush->Assign(&Value);
}

void TSVGGraphicElement::SetPen(const TSVGPen& Value)
{
    FPen->Assign(&Value);
}

void TSVGGraphicElement::SetFont(const TSVGFont& Value)
{
    FFont->Assign(&Value);
}

} // namespace velk

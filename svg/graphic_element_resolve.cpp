// TSVGGraphicElement: the lazy resolution of the fill, the stroke and the font, which
// take from the parent what the element inherits.

#include "svg/graphic_element.h"

namespace velk {

TSVGBrush& TSVGGraphicElement::GetBrush(const TMatrix& aMatrix, const TRectF& aRect) const
{
    if (FBrushChanged) {
        const TQuietChanges quiet(*FBrush);
        InheritFill(aMatrix, aRect);
        // currentColor means the color of the element that paints, which may differ from
        // the one of the element that declared the fill.
        if (FBrush->CurrentColor())
            FBrush->SetColor(Color());
        FBrushChanged = false;
    }
    return *FBrush;
}

TSVGPen& TSVGGraphicElement::GetPen(const TMatrix& aMatrix, const TRectF& aRect) const
{
    if (FPenChanged) {
        const TQuietChanges quiet(*FPen);
        InheritStroke(aMatrix, aRect);
        if (FPen->CurrentColor())
            FPen->SetColor(Color());
        FPenChanged = false;
    }
    return *FPen;
}

TSVGBrush& TSVGGraphicElement::GetBrush() const
{
    if (ElementState().Contains(esReading))
        return *FBrush;
    return GetBrush(IdentityMatrix, GetBoundsRect());
}

TSVGPen& TSVGGraphicElement::GetPen() const
{
    if (ElementState().Contains(esReading))
        return *FPen;
    return GetPen(IdentityMatrix, GetBoundsRect());
}

TSVGFont& TSVGGraphicElement::GetFont() const
{
    if (FFontChanged && !ElementState().Contains(esReading)) {
        const TQuietChanges quiet(*FFont);
        InheritFont();
        FFontChanged = false;
    }
    return *FFont;
}

void TSVGGraphicElement::InheritFill(const TMatrix& aMatrix, const TRectF& aRect) const
{
    const TSVGGraphicElement* parent = GetGraphicParent();
    if (!parent)
        return;
    const bool fill = IsInherited(ipFill);
    const bool opacity = IsInherited(ipFillOpacity);
    if (!fill && !opacity)
        return;
    const TSVGBrush& source = parent->GetBrush(aMatrix, aRect);
    if (fill) {
        FBrush->SetColor(source.Color());
        // The kind first: none and solid empty the reference.
        FBrush->SetKind(source.Kind());
        FBrush->SetURI(source.URI());
        FBrush->SetCurrentColor(source.CurrentColor());
    }
    if (opacity)
        FBrush->SetOpacity(source.Opacity());
}

void TSVGGraphicElement::InheritStroke(const TMatrix& aMatrix, const TRectF& aRect) const
{
    const TSVGGraphicElement* parent = GetGraphicParent();
    if (!parent)
        return;
    static constexpr TSVGStyleProperties strokeProperties{
        ipStroke,         ipStrokeWidth,     ipStrokeOpacity,    ipStrokeLinecap,
        ipStrokeMiterLimit, ipStrokeLineJoin, ipStrokeDashOffset, ipStrokeDasharray};
    const TSVGStyleProperties inherited = FInherits->Value() * strokeProperties;
    if (inherited.Empty())
        return;
    const TSVGPen& source = parent->GetPen(aMatrix, aRect);
    if (inherited.Contains(ipStroke)) {
        FPen->SetColor(source.Color());
        FPen->SetKind(source.Kind());
        FPen->SetURI(source.URI());
        FPen->SetCurrentColor(source.CurrentColor());
    }
    if (inherited.Contains(ipStrokeWidth)) {
        FPen->SetThicknessIsPercent(source.ThicknessIsPercent());
        FPen->SetThicknessPreferredUnit(source.ThicknessPreferredUnit());
        FPen->SetThickness(source.Thickness());
    }
    if (inherited.Contains(ipStrokeOpacity))
        FPen->SetOpacity(source.Opacity());
    if (inherited.Contains(ipStrokeLinecap)) {
        FPen->SetEndCap(source.EndCap());
        FPen->SetDashCap(source.DashCap());
        FPen->SetStartCap(source.StartCap());
    }
    if (inherited.Contains(ipStrokeMiterLimit))
        FPen->SetMiterLimit(source.MiterLimit());
    if (inherited.Contains(ipStrokeLineJoin))
        FPen->SetJoin(source.Join());
    if (inherited.Contains(ipStrokeDashOffset))
        FPen->SetSVGDashOffset(*source.SVGDashOffset());
    // Only a dash pattern of the parent's own: an inherited solid line leaves the own.
    if (inherited.Contains(ipStrokeDasharray) && source.Dash() == sdCustom) {
        FPen->SetCustomDash(source.DashArray(), source.DashOffset());
        FPen->SetDashArrayIsPercent(source.DashArrayIsPercent());
        FPen->SetDashArrayPreferredUnits(source.DashArrayPreferredUnits());
    }
}

void TSVGGraphicElement::InheritFont() const
{
    const TSVGGraphicElement* parent = GetGraphicParent();
    if (!parent)
        return;
    const TSVGFont& source = parent->GetFont();
    const auto takeStyle = [&](TFontStyle Style) {
        TFontStyles styles = FFont->Style();
        FFont->SetStyle(styles.Set(Style, source.Style().Contains(Style)));
    };
    if (IsInherited(ipFontFamily))
        FFont->SetName(source.Name());
    if (IsInherited(ipFontSize))
        FFont->SetSize(source.Size());
    if (IsInherited(ipFontWeight)) {
        FFont->SetWeight(source.Weight());
        takeStyle(fsBold);
    }
    if (IsInherited(ipFontStyle))
        takeStyle(fsItalic);
    if (IsInherited(ipFontVariant))
        FFont->SetFontVariant(source.FontVariant());
    if (IsInherited(ipTextDecoration)) {
        takeStyle(fsUnderline);
        takeStyle(fsStrikeOut);
        FFont->SetExtendStyles(source.ExtendStyles());
    }
}

} // namespace velk

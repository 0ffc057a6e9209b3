// Writing a graphic element's presentation properties: as attributes or "style"
// declarations of its node, and as the declarations of a TSVGStyle.

#include "svg/graphic_element.h"

#include "platform/float_format.h"
#include "svg/angle.h"
#include "svg/color.h"
#include "svg/document.h"
#include "svg/font_family.h"
#include "svg/length_syntax.h"
#include "svg/style_writer.h"
#include "svg/transform_syntax.h"
#include "svg/xml_attributes.h"


#include <array>
#include <cmath>

namespace velk {

namespace {

// The order in which WriteAttributes writes the properties.
constexpr std::array WrittenProperties{
    ipVisibility, ipDisplay,
    ipAlignmentBaseline, ipBaselineShift, ipDominantBaseline, ipColorInterpolation, ipColorRendering,
    ipShapeRendering, ipTextRendering,
    ipKerning, ipLetterSpacing, ipWordSpacing,
    ipWritingMode, ipGlyphOrientationHorizontal, ipGlyphOrientationVertical, ipDirection,
    ipFill, ipStroke,
    ipFillOpacity, ipFillRule, ipStrokeLinecap, ipStrokeMiterLimit, ipStrokeDashOffset, ipStrokeDasharray,
    ipStrokeLineJoin, ipStrokeWidth, ipStrokeOpacity, ipVectorEffect, ipOpacity,
    ipFontFamily, ipFontSize, ipFontStyle, ipFontWeight, ipFontVariant, ipTextAnchor, ipTextDecoration, ipCursor,
    ipClipPath,
    ipClipRule, ipClip, ipOverflow,
    ipMarkerStart, ipMarkerMid, ipMarkerEnd};

// Small differences from the identity come from rounding: not worth a transform.
constexpr float IdentityTolerance = 0.00001f;

bool IsNearIdentity(const TMatrix& M)
{
    for (int i = 0; i < 9; ++i)
        if (std::abs(M[i] - IdentityMatrix[i]) > IdentityTolerance)
            return false;
    return true;
}

QString URLText(const QString& ID)
{
    return u"url(#"_qs + ID + u')';
}

// fill and stroke: "none", the paint server reference, or the colour.
QString PaintText(TVelkGPBrushKind Kind, const QString& URI, TVelkGPColor Color)
{
    // A reference keeps its fallback colour; without one it reads as kind none, which
    // must not hide the reference.
    if (!URI.isEmpty())
        return Kind == bkNone ? URLText(URI) : URLText(URI) + u' ' + SVGColorToStr(Color);
    return Kind == bkNone ? u"none"_qs : SVGColorToStr(Color);
}

// kerning, letter-spacing, word-spacing: the keyword while automatic, else the length.
QString AutoLengthText(const TSVGStylePropertyAutoLength& Length, TSVGStyleProperty Property,
                       QStringView FormatStr)
{
    return Length.Automatic() ? SVGStylePropertyDefault(Property) : SVGLengthToStr(Length, FormatStr);
}

} // namespace

QString TSVGGraphicElement::PropertyText(TSVGStyleProperty Property, QStringView FormatStr) const
{
    const auto number = [FormatStr](float Value) { return FormatFloat(FormatStr, Value); };
    switch (Property) {
    case ipAlignmentBaseline:
        return SVGKeywordToStr(FAlignmentBaseline);
    case ipBaselineShift: {
        const TSVGBaselineShift shift = FBaselineShift->Shift();
        return shift == bsPercentage || shift == bsLength ? SVGLengthToStr(*FBaselineShift, FormatStr)
                                                          : SVGKeywordToStr(shift);
    }
    case ipClip:
        // The offsets top, right, bottom, left; all zero is "auto" (no clip).
        if (FClipRect == TRectF{})
            return u"auto"_qs;
        return u"rect("_qs + number(FClipRect.Top) + u' ' + number(FClipRect.Right) + u' ' +
               number(FClipRect.Bottom) + u' ' + number(FClipRect.Left) + u')';
    case ipClipPath:
        return FClipURI.isEmpty() ? u"none"_qs : URLText(FClipURI);
    case ipClipRule:
        return SVGKeywordToStr(FClipRule);
    case ipColor:
        return SVGColorToStr(FColor);
    case ipColorInterpolation:
        return SVGKeywordToStr(FColorInterpolation);
    case ipColorRendering:
        return SVGKeywordToStr(FColorRendering);
    case ipCursor:
        return SVGCursorToStr(FCursor);
    case ipDirection:
        return SVGKeywordToStr(FDirection);
    case ipDisplay:
        return FDisplay ? u"inline"_qs : u"none"_qs;
    case ipDominantBaseline:
        return SVGKeywordToStr(FDominantBaseline);
    case ipFill:
        return PaintText(FBrush->Kind(), FBrush->URI(), FBrush->Color());
    case ipFillOpacity:
        return number(FBrush->Opacity());
    case ipFillRule:
        return SVGKeywordToStr(FFillRule);
    case ipFontFamily:
        // The family list as read; the resolved name alone would lose the fallbacks.
        if (FFont->Families()->Count() > 0)
            return FFont->FamiliesToString();
        {
            TStringList name;
            name.Add(FFont->Name());
            return SVGFontFamiliesToStr(name);
        }
    case ipFontSize: {
        const float size = FFont->Size();
        const TSVGUnit unit = FFont->SizePreferredUnit();
        if (unit == suFontSize || unit == suFontXHeight || unit == suPercent) {
            // Relative to the parent's size, as it is read.
            const TSVGGraphicElement* parent = GetGraphicParent();
            const float reference = parent ? parent->GetFont().Size() * (unit == suFontXHeight ? 0.5f : 1) : 0;
            return reference > 0 ? SVGFormatValue(size / reference, unit, FormatStr) : number(size);
        }
        return SVGPixelsToStr(size, unit, TSVGElement::GetUnitFactors(), FormatStr);
    }
    case ipFontStyle:
        return FFont->Style().Contains(fsItalic) ? u"italic"_qs : u"normal"_qs;
    case ipFontVariant:
        return SVGKeywordToStr(FFont->FontVariant());
    case ipFontWeight:
        return SVGKeywordToStr(FFont->Weight());
    case ipGlyphOrientationHorizontal:
        return SVGGlyphOrientationToStr(FGlyphOrientationHorizontal);
    case ipGlyphOrientationVertical:
        return SVGGlyphOrientationToStr(FGlyphOrientationVertical);
    case ipKerning:
        return AutoLengthText(*FKerning, Property, FormatStr);
    case ipLetterSpacing:
        return AutoLengthText(*FLetterSpacing, Property, FormatStr);
    case ipMarkerEnd:
        return FMarkerEndURI;
    case ipMarkerMid:
        return FMarkerMidURI;
    case ipMarkerStart:
        return FMarkerStartURI;
    case ipOpacity:
        return FOpacityPreferredUnit == suPercent ? SVGFormatValue(FOpacity, suPercent, FormatStr) : number(FOpacity);
    case ipOverflow:
        return FOverflow ? u"visible"_qs : u"hidden"_qs;
    case ipShapeRendering:
        return SVGKeywordToStr(FShapeRendering);
    case ipStroke:
        return PaintText(FPen->Kind(), FPen->URI(), FPen->Color());
    case ipStrokeDasharray:
        return FPen->GetDashArray();
    case ipStrokeDashOffset:
        return SVGLengthToStr(*FPen->SVGDashOffset(), FormatStr);
    case ipStrokeLinecap:
        return SVGLineCapToStr(FPen->StartCap());
    case ipStrokeLineJoin:
        return SVGLineJoinToStr(FPen->Join());
    case ipStrokeMiterLimit:
        return number(FPen->MiterLimit());
    case ipStrokeOpacity:
        return number(FPen->Opacity());
    case ipStrokeWidth:
        if (FPen->ThicknessIsPercent())
            return SVGFormatValue(FPen->Thickness(), suPercent, FormatStr);
        return SVGPixelsToStr(FPen->Thickness(), FPen->ThicknessPreferredUnit(), GetUnitFactors(), FormatStr);
    case ipTextAnchor:
        return SVGTextAnchorToStr(FTextAlign);
    case ipTextDecoration:
        return SVGTextDecorationToStr({FFont->Style().Contains(fsUnderline), FFont->Style().Contains(fsStrikeOut),
                                       FFont->ExtendStyles()});
    case ipTextRendering:
        return SVGKeywordToStr(FTextRendering);
    case ipVectorEffect:
        return FVectorEffect == veNone ? u"none"_qs : SVGKeywordToStr(FVectorEffect);
    case ipVisibility:
        return FVisible ? u"visible"_qs : u"hidden"_qs;
    case ipWordSpacing:
        return AutoLengthText(*FWordSpacing, Property, FormatStr);
    case ipWritingMode:
        return SVGKeywordToStr(FWritingMode);
    case ipNone:
    case ipFloodColor:
    case ipFloodOpacity:
    case ipFont:
    case ipMarker:
    case ipStopColor:
    case ipStopOpacity:
        break;
    }
    return {};
}

void TSVGGraphicElement::WriteAttributes(TXMLNode Node)
{
    TSVGElement::WriteAttributes(Node);
    const QString format = NumberFormat();
    const TSVGStyleProperties inherits = FInherits->Value();
    const TSVGStyleProperties preferred = PreferredStyles().Value();
    for (const TSVGStyleProperty property : WrittenProperties) {
        QString value = PropertyText(property, format);
        // A reference to nothing would not read back as anything.
        if (property == ipClipPath && !(Owner() && !FClipURI.isEmpty() && Owner()->AllItems().ContainsKey(FClipURI)))
            value.clear();
        SVGWriteStyleProperty(Node, property, value, true, inherits.Contains(property), preferred.Contains(property),
                              StylePropertyDefault(property));
    }
    SVGWriteAttribute(Node, u"transform"_qs, SVGTransformToStr(FMatrix), IsNearIdentity(FMatrix));
}

void TSVGGraphicElement::AssignTo(TPersistent* Dest) const
{
    auto* style = dynamic_cast<TSVGStyle*>(Dest);
    if (!style) {
        TSVGElement::AssignTo(Dest);
        return;
    }
    const TSVGStyleProperties inherits = FInherits->Value();
    WithinUpdate(*style->StyleValues(), [&] {
        for (int i = ipAlignmentBaseline; i <= ipWritingMode; ++i) {
            const auto property = static_cast<TSVGStyleProperty>(i);
            if (inherits.Contains(property))
                continue;
            // The shortest text of each number: it reads back as the same float.
            if (const QString value = PropertyText(property, {}); !value.isEmpty())
                style->SetStyleProp(property, value);
        }
    });
}

} // namespace velk

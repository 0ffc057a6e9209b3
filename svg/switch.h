#pragma once
// TSVGSwitch: the switch element, which draws only the first of its children whose
// conditions hold (requiredFeatures, requiredExtensions, systemLanguage).
//
//   <switch>
//     <rect requiredFeatures="...#Animation"/>   <!-- unsupported: skipped -->
//     <circle/>                                  <!-- the one that is drawn -->
//     <path/>                                    <!-- never drawn -->
//   </switch>

#include "svg/group.h"

namespace velk {

// The children a switch element accepts.
inline constexpr TSVGElementTypes SVGSwitchChildTypes =
    SVGShapeElementTypes + SVGDescriptiveElementTypes +
    TSVGElementTypes{etDoc, etGroup, etImage, etUse, etText, etSwitch, etAnchor};

class TSVGSwitch : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGCustomGroup::TSVGCustomGroup;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etSwitch; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGSwitchChildTypes; }

    // The switch's own conditions and display; its visibility does not decide (a chosen
    // child with visibility visible shows inside a hidden switch).
    bool IsDisplayed() const override;
    // The first graphic child that passes HasFeatures, HasExtensions and HasLanguages;
    // nil when none does. Whether that child is visible plays no part in the choice.
    TSVGGraphicElement* ChosenChild() const;

protected:
    // Draws the chosen child only.
    void DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect) override;
    // Searches the chosen child only: the others are not drawn, so they cannot be hit.
    TSVGGraphicElement* HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                const TRectF& aRect, const TPointF& Pt) override;
    // The bounds cover the chosen child only.
    void ForEachRenderedChild(const std::function<void(const TSVGGraphicElement&)>& Action) const override;
};

} // namespace velk

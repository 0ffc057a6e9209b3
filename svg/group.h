#pragma once
// Containers: TSVGCustomGroup, the base of the elements that hold other elements, and
// the group element g (TSVGGroup).

#include "svg/graphic_element.h"

namespace velk {

class TSVGCustomGroup : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGGraphicElement::TSVGGraphicElement;

    TSVGElementType SVGType() const override { return etGroup; }

    // A style element goes to the owner document's ReadStyleElement (nothing is
    // created); a tag with a registered class creates that class with this element's
    // owner and appends it; an entity reference creates a group (through the class
    // table entry of etGroup) that reads the entity's content; anything else as the
    // graphic element.
    int CreateChildElement(TXMLNode Node) override;
};

class TSVGGroup : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGCustomGroup::TSVGCustomGroup;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementTypes ChildSVGTypes() const override;

protected:
    // Also x, y, width and height (WriteSizeAttributes).
    void WriteAttributes(TXMLNode Node) override;
};

// The children a g element accepts (also those of defs and symbol).
inline constexpr TSVGElementTypes SVGGroupChildTypes =
    SVGShapeElementTypes + SVGDescriptiveElementTypes +
    TSVGElementTypes{etDoc, etGroup, etImage, etDefs, etUse, etText, etSwitch, etStyle, etClipPath,
                     etLinearGradient, etRadialGradient, etMarker, etScript, etSymbol, etPattern};

} // namespace velk

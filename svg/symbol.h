#pragma once
// TSVGSymbol: the symbol element, a viewport that takes its view box as its own
// rectangle. It is drawn only where a use element shows it, fitted into the use's
// rectangle by its own aspect rule.

#include "svg/view_box.h"

namespace velk {

class TSVGSymbol : public TSVGCustomViewBox {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGCustomViewBox::TSVGCustomViewBox;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etSymbol; }
    // The children of a g element.
    TSVGElementTypes ChildSVGTypes() const override;
    // Only while a use element shows it (the use is then its parent): a symbol is never
    // drawn, nor hit, where it stands.
    bool IsDisplayed() const override;

protected:
    // The viewport's reading; then x, y, width and height (in pixels) become the view
    // box's left, top and size, so a symbol with a viewBox has the view box as its own
    // rectangle and one without keeps its x, y, width and height. A transform attribute
    // is ignored (SVG 1.1 gives a symbol none).
    void ReadAttributes(TXMLNode Node) override;
    // The viewport's attributes, then x, y, width and height (WriteSizeAttributes).
    void WriteAttributes(TXMLNode Node) override;
};

} // namespace velk

#pragma once
// Containers: TSVGCustomGroup, the base of the elements that hold other elements, and
// the group element g (TSVGGroup).

#include "svg/graphic_element.h"

#include <cstdint>
#include <functional>

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
    // graphic element, and then KeepUnknownContent.
    int CreateChildElement(TXMLNode Node) override;

    // The union of the own rectangle and the bounds of the children that are drawn
    // (ForEachRenderedChild), each through its own transform. Kept until anything in the
    // owner document changes (a child, a referenced element, a setting) or the parent
    // changes; an owner-less group computes it on every call.
    TRectF GetBoundsRect() const override;
    // The own rectangle through FMatrix x aMatrix united with every drawn child's
    // bounds through the same matrix; the cache above is left alone.
    TRectF GetBoundsRect(const TMatrix& aMatrix) const override;
    // Also forgets the cached bounds: a new parent may change what percentages mean.
    void Reset() override;

protected:
    // Marks the cached bounds, then the graphic element's.
    void Changed() override;
    // The children's search; under foFindGroups the group reports itself.
    TSVGGraphicElement* HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                const TRectF& aRect, const TPointF& Pt) override;
    // A group itself is never hit.
    TSVGGraphicElement* HitTestSelf(const TMatrix& M, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                    const TRectF& aRect, const TPointF& Pt) override;
    // Action on every child that drawing shows, in order (those the bounds cover): here
    // each displayed graphic child.
    virtual void ForEachRenderedChild(const std::function<void(const TSVGGraphicElement&)>& Action) const;
    // What a hit found inside the group: with foFindGroups and an owner, the group itself
    // (through DoElementFound), so that the outermost group wins; else Found.
    TSVGGraphicElement* ReportGroup(TSVGGraphicElement* Found, TSVGFindOptions Options);

private:
    // The elements inside an element without a class (unknown, or not supported yet,
    // such as clipPath) are never drawn, yet a use may show them: they are read into a
    // defs element in its place, which is dropped again when nothing in it was read.
    // Nothing happens where a defs element is not accepted.
    void KeepUnknownContent(TXMLNode Node);
    // The own rectangle united with the drawn children's bounds through aMatrix.
    TRectF UniteBounds(const TRectF& Own, const TMatrix& aMatrix) const;

    // Changes that reached this element; on a document, those of every element it owns.
    std::uint64_t FChangeCount = 0;
    mutable bool FCalcBR = true;
    mutable TRectF FBoundsRect;
    // The owner document's FChangeCount when FBoundsRect was computed.
    mutable std::uint64_t FBoundsStamp = 0;
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
                     etLinearGradient, etRadialGradient, etMarker, etScript, etSymbol, etPattern, etAnchor};

} // namespace velk

#pragma once
// TSVGUse: the use element, which shows another element of its document (named by ID in
// xlink:href) in its own place: moved by x and y, under the use's transform, inheriting
// style from the use. A symbol or nested svg is shown as a viewport of the use's width
// and height.
//
//   <defs><circle id="dot" r="5"/></defs>
//   <use xlink:href="#dot" x="20" y="10" fill="red"/>   <!-- a red dot at 20, 10 -->
//
// While a use draws, measures or hit-tests the element it shows, that element's parent
// is the use (restored on every exit path), so inheritance runs from the use. Such an
// expansion is refused when it would show the use again (a reference to itself or an
// ancestor, directly or through other uses), nests deeper than SVGMaxUseDepth, or runs
// over the element budget of SVGMaxUseElements (see docs/svg.md, "Use").

#include "svg/graphic_element.h"

namespace velk {

// Expansions nest at most this deep (a use showing a group with a use showing ...).
inline constexpr int SVGMaxUseDepth = 32;
// The elements one outermost expansion may show through uses, nested expansions
// included: references multiply, so a small file could otherwise ask for billions.
inline constexpr int SVGMaxUseElements = 100000;

class TSVGUse : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGGraphicElement::TSVGGraphicElement;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etUse; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // The ID of the element shown. Writing a new one moves the change notification
    // from the element shown so far to the new one (so that the use hears when it is
    // destroyed), then Changed.
    const QString& Reference() const { return FReference; }
    void SetReference(const QString& Value);
    // The graphic element Reference names in the owner's ID table; nil without an owner,
    // for an unknown ID or an element that is not a graphic element.
    TSVGGraphicElement* ReferencedElement() const;

    // Also the reference.
    void AssignProperties(const TPersistent* Source) override;
    // Reference := "", then the graphic element's.
    void Clear() override;
    // The element's behaviour; when the element shown is being destroyed (Flag 1) the
    // reference is emptied, without a change notification.
    void ElementNotification(TSVGElement* Sender, int Flag) override;
    // The graphic element's; then, the whole tree being read, the use listens to the
    // element it shows (a reference may name an element that comes later in the file).
    void ApplyStyles() override;

    // The use's conditions and display, and the display of the element shown (through
    // the use when it inherits display). Visibility decides each element's painting.
    bool IsDisplayed() const override;
    // In the use's user space: for a symbol or nested svg the viewport (ViewportRect);
    // for another element its bounds through its transform, moved by x and y; without
    // an element shown, the graphic element's rectangle.
    TRectF GetBoundsRect() const override;
    // The same through FMatrix x aMatrix.
    TRectF GetBoundsRect(const TMatrix& aMatrix) const override;
    // The viewport a symbol or nested svg is shown in, in the use's user space: at the
    // use's x, y (plus a nested svg's own x, y), with the use's width and height; a side
    // the use leaves at 0 is the nested svg's own, or, for a symbol, the whole of the
    // enclosing view box (100%).
    TRectF ViewportRect(const TSVGGraphicElement& Element) const;

protected:
    // The graphic element's; then the link (SVGFindHref: xlink:href, else href) as the reference.
    void ReadAttributes(TXMLNode Node) override;
    // The graphic element's, x, y, width and height (WriteSizeAttributes), then
    // xlink:href "#ID" when there is a reference.
    void WriteAttributes(TXMLNode Node) override;
    // The element shown is the use's content: a symbol or nested svg as a viewport
    // (DrawViewport into ViewportRect), another element with translate(x, y) x M.
    // Drawn like a child, so that the use's own visibility does not hide it: the element
    // shown inherits visibility and decides by its own.
    void DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect) override;
    // The element shown is searched with the matrix it is drawn with; a hit reports the
    // use (DoElementFound).
    TSVGGraphicElement* HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                const TRectF& aRect, const TPointF& Pt) override;

private:
    // The matrix the element shown is drawn with, from the use's full matrix M.
    TMatrix ContentMatrix(const TSVGGraphicElement& Element, const TMatrix& M) const;
    // Listens to the element Reference names, and no longer to the one before.
    void ListenToReference();

    QString FReference;
    // The element this use listens to (nil: none).
    TSVGElement* FListened = nullptr;
};

} // namespace velk

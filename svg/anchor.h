#pragma once
// TSVGAnchor: the a element, a hyperlink around other elements. It draws, measures and
// hit-tests like a g element; the link target (xlink:href) is data that it keeps and
// writes back, for a program that wants to follow it.
//
//   <a xlink:href="https://example.org/"><rect width="20" height="20"/></a>

#include "svg/group.h"

namespace velk {

class TSVGAnchor : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGCustomGroup::TSVGCustomGroup;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etAnchor; }
    // The children of a g element.
    TSVGElementTypes ChildSVGTypes() const override;

    // The link target as written (any IRI, not only a reference into the document).
    const QString& Href() const { return FHref; }
    void SetHref(const QString& Value);

    // Also the link target.
    void AssignProperties(const TPersistent* Source) override;
    // Also the link target.
    void Clear() override;

protected:
    // The graphic element's attributes, then the link (SVGFindHref).
    void ReadAttributes(TXMLNode Node) override;
    // The graphic element's attributes, then xlink:href when there is a target.
    void WriteAttributes(TXMLNode Node) override;

private:
    QString FHref;
};

} // namespace velk

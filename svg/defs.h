#pragma once
// TSVGDefs: the defs element, a container that is never drawn. Its children are there
// to be referred to by ID (paint servers, markers, clip paths, symbols, shapes a use
// element shows).

#include "svg/group.h"

namespace velk {

class TSVGDefs : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGCustomGroup::TSVGCustomGroup;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etDefs; }
    // The children of a g element.
    TSVGElementTypes ChildSVGTypes() const override;

    // Never: the subtree is neither drawn nor found by hit testing (unless the search
    // includes hidden elements), and a parent's bounds leave it out.
    bool IsDisplayed() const override { return false; }
};

} // namespace velk

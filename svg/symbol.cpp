#include "svg/symbol.h"

namespace velk {

const TClassInfo& TSVGSymbol::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGSymbol"), &TSVGCustomViewBox::StaticClass(),
                                 &CreateInstance<TSVGSymbol>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGSymbol::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGSymbol>(aOwner);
}

TSVGElementTypes TSVGSymbol::ChildSVGTypes() const
{
    return SVGGroupChildTypes;
}

bool TSVGSymbol::IsDisplayed() const
{
    const TSVGElement* parent = Parent();
    return parent && parent->SVGType() == etUse && TSVGCustomViewBox::IsDisplayed();
}

void TSVGSymbol::ReadAttributes(TXMLNode Node)
{
    TSVGCustomViewBox::ReadAttributes(Node);
    const TRectF& box = ViewBox();
    SetX(box.Left);
    SetY(box.Top);
    SetWidth(box.Right - box.Left);
    SetHeight(box.Bottom - box.Top);
    // SVG 1.1 gives a symbol no transform: the use that shows it places it.
    SetMatrix(IdentityMatrix);
}

void TSVGSymbol::WriteAttributes(TXMLNode Node)
{
    TSVGCustomViewBox::WriteAttributes(Node);
    WriteSizeAttributes(Node);
}

} // namespace velk

#include "svg/group.h"

#include "svg/document.h"
#include "svg/element_registry.h"

namespace velk {

const TClassInfo& TSVGCustomGroup::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGCustomGroup"), &TSVGGraphicElement::StaticClass());
    return info;
}

int TSVGCustomGroup::CreateChildElement(TXMLNode Node)
{
    TSVGElementType type = SVGNameToElementType(Node.LocalName());
    if (type == etStyle) {
        if (TSVGDocument* document = ChildOwner())
            document->ReadStyleElement(Node);
        return -1;
    }
    // An entity reference becomes a group that reads the entity's content.
    if (type == etNone && Node.NodeType() == ntEntityRef)
        type = etGroup;
    std::unique_ptr<TSVGElement> child = CreateSVGElement(type, ChildOwner());
    if (!child)
        return TSVGGraphicElement::CreateChildElement(Node);
    Add(std::move(child));
    return Count() - 1;
}

const TClassInfo& TSVGGroup::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGGroup"), &TSVGCustomGroup::StaticClass(),
                                 &CreateInstance<TSVGGroup>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGGroup::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGGroup>(aOwner);
}

TSVGElementTypes TSVGGroup::ChildSVGTypes() const
{
    return SVGGroupChildTypes;
}

void TSVGGroup::WriteAttributes(TXMLNode Node)
{
    TSVGCustomGroup::WriteAttributes(Node);
    WriteSizeAttributes(Node);
}

} // namespace velk

#include "svg/anchor.h"

#include "svg/xml_attributes.h"

namespace velk {

const TClassInfo& TSVGAnchor::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGAnchor"), &TSVGCustomGroup::StaticClass(),
                                 &CreateInstance<TSVGAnchor>,
                                 TPublished<TSVGAnchor>()
                                     .String(QStringLiteral("Href"), &TSVGAnchor::Href, &TSVGAnchor::SetHref)
                                     .Take());
    return info;
}

std::unique_ptr<TSVGElement> TSVGAnchor::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGAnchor>(aOwner);
}

TSVGElementTypes TSVGAnchor::ChildSVGTypes() const
{
    return SVGGroupChildTypes;
}

void TSVGAnchor::SetHref(const QString& Value)
{
    if (Value == FHref)
        return;
    FHref = Value;
    Changed();
}

void TSVGAnchor::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGAnchor*>(Source); source && source != this)
        SetHref(source->FHref);
    TSVGCustomGroup::AssignProperties(Source);
}

void TSVGAnchor::Clear()
{
    SetHref(QString());
    TSVGCustomGroup::Clear();
}

void TSVGAnchor::ReadAttributes(TXMLNode Node)
{
    TSVGCustomGroup::ReadAttributes(Node);
    FHref = SVGFindHref(Node).value_or(QString());
}

void TSVGAnchor::WriteAttributes(TXMLNode Node)
{
    TSVGCustomGroup::WriteAttributes(Node);
    if (!FHref.isEmpty())
        SVGWriteXLinkAttribute(Node, QStringLiteral("href"), FHref);
}

} // namespace velk

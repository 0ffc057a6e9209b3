#include "svg/defs.h"

namespace velk {

const TClassInfo& TSVGDefs::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGDefs"), &TSVGCustomGroup::StaticClass(),
                                 &CreateInstance<TSVGDefs>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGDefs::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGDefs>(aOwner);
}

TSVGElementTypes TSVGDefs::ChildSVGTypes() const
{
    return SVGGroupChildTypes;
}

} // namespace velk

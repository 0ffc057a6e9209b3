#include "platform/persistent.h"

#include "platform/exceptions.h"

namespace velk {

const TClassInfo& TPersistent::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TPersistent"), &TObject::StaticClass());
    return info;
}

void TPersistent::Assign(const TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const
{
    Dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler&) {}

void TPersistent::AssignError(const TPersistent* Source) const
{
    const QString sourceName = Source ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(messages::AssignError, sourceName, ClassName());
}

bool TPropertyInfo::HasDefaultValue(const TPersistent& instance) const
{
    switch (Kind) {
    case tkMethod:
    case tkClass:
    case tkUnknown:
        return false;
    default:
        return Default.has_value() && Get(instance) == *Default;
    }
}

} // namespace velk

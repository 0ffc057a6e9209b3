#include "platform/object.h"

#include "platform/exceptions.h"

#include <QHash>
#include <QMutex>
#include <algorithm>

namespace velk {

TClassInfo::TClassInfo(QString name, const TClassInfo* parent, TObjectFactory factory,
                       std::vector<TPropertyInfo> properties)
    : FName(std::move(name)), FParent(parent), FFactory(factory), FProperties(std::move(properties))
{
    if (FParent)
        FAllProperties = FParent->FAllProperties;
    // A property declared again (to change its default or when it is stored) takes the
    // ancestor's place, so it is listed, and streamed, once.
    for (const TPropertyInfo& p : FProperties) {
        const auto same = std::find_if(FAllProperties.begin(), FAllProperties.end(),
                                       [&](const TPropertyInfo* q) { return q->Name == p.Name; });
        if (same != FAllProperties.end())
            *same = &p;
        else
            FAllProperties.push_back(&p);
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &ancestor)
            return true;
    return false;
}

std::unique_ptr<TObject> TClassInfo::Create() const
{
    if (!FFactory)
        throw EInvalidOperation(messages::AbstractClassCreate, FName);
    return FFactory();
}

const TPropertyInfo* TClassInfo::FindProperty(QStringView name) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TPropertyInfo& p : c->FProperties)
            if (p.Name == name)
                return &p;
    return nullptr;
}

const TClassInfo& TObject::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TObject"), nullptr);
    return info;
}

namespace {
struct ClassRegistry {
    QMutex Lock;
    QHash<QString, const TClassInfo*> Classes;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}
} // namespace

void RegisterClass(const TClassInfo& info)
{
    ClassRegistry& r = Registry();
    QMutexLocker locker(&r.Lock);
    r.Classes.insert(info.Name(), &info);
}

const TClassInfo* GetClass(QStringView name)
{
    ClassRegistry& r = Registry();
    QMutexLocker locker(&r.Lock);
    return r.Classes.value(name.toString(), nullptr);
}

const TClassInfo& FindClass(QStringView name)
{
    if (const TClassInfo* info = GetClass(name))
        return *info;
    throw EClassNotFound(messages::ClassNotFound, name.toString());
}

} // namespace velk

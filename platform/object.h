#pragma once
// The root of the library's class hierarchy and its class references.
//
// Every class that is streamed, created by name or named in a message has a
// TClassInfo: its name, its parent's TClassInfo, an optional factory (the
// "virtual constructor") and its published properties. A class declares
//
//   static const TClassInfo& StaticClass();
//   const TClassInfo& ClassInfo() const override { return StaticClass(); }
//
// and defines StaticClass() with a function-local static (see docs/platform.md).

#include "platform/property_info.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

namespace velk {

class TObject;

using TObjectFactory = std::unique_ptr<TObject> (*)();

template <typename C>
std::unique_ptr<TObject> CreateInstance()
{
    return std::make_unique<C>();
}

class TClassInfo {
public:
    TClassInfo(QString name, const TClassInfo* parent, TObjectFactory factory = nullptr,
               std::vector<TPropertyInfo> properties = {});
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const QString& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& ancestor) const;

    // The virtual constructor; raises EInvalidOperation for a class without factory.
    bool CanCreate() const { return FFactory != nullptr; }
    std::unique_ptr<TObject> Create() const;
    template <typename T>
    std::unique_ptr<T> CreateAs() const;

    // Published properties declared by this class only.
    const std::vector<TPropertyInfo>& OwnProperties() const { return FProperties; }
    // All published properties, ancestors first, in declaration order; a property a
    // class declares again keeps the ancestor's place.
    const std::vector<const TPropertyInfo*>& Properties() const { return FAllProperties; }
    // The property of that name (exact case) declared here or by an ancestor.
    const TPropertyInfo* FindProperty(QStringView name) const;

private:
    QString FName;
    const TClassInfo* FParent;
    TObjectFactory FFactory;
    std::vector<TPropertyInfo> FProperties;
    // Built once: the parent is complete before its descendants, and both never change.
    std::vector<const TPropertyInfo*> FAllProperties;
};

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassInfo() const { return StaticClass(); }

    const QString& ClassName() const { return ClassInfo().Name(); }
    bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
};

template <typename T>
std::unique_ptr<T> TClassInfo::CreateAs() const
{
    std::unique_ptr<TObject> object = Create();
    if (auto* typed = dynamic_cast<T*>(object.get())) {
        object.release();
        return std::unique_ptr<T>(typed);
    }
    return nullptr;
}

// The process-wide class registry used to find classes by name when reading streams.
void RegisterClass(const TClassInfo& info);
// The registered class of that name, or nullptr.
const TClassInfo* GetClass(QStringView name);
// The registered class of that name; raises EClassNotFound "Class %s not found".
const TClassInfo& FindClass(QStringView name);

} // namespace velk

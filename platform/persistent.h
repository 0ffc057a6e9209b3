#pragma once
// TPersistent: an object that can be assigned from another and streamed through
// its published properties (its TClassInfo) and its defined properties.

#include "platform/object.h"

#include <QString>
#include <functional>
#include <utility>

class QIODevice;

namespace velk {

class TReader;
class TWriter;

// Notify event: the sender is the object that changed.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Holds back an object's OnChange for its own lifetime and puts the handler back on
// every exit path: for changes that are no news to the listener (it makes them itself).
template <typename T>
class TQuietChanges {
public:
    explicit TQuietChanges(T& Object) : FObject(Object), FSaved(std::exchange(Object.OnChange, nullptr)) {}
    ~TQuietChanges() { FObject.OnChange = std::move(FSaved); }
    TQuietChanges(const TQuietChanges&) = delete;
    TQuietChanges& operator=(const TQuietChanges&) = delete;

private:
    T& FObject;
    TNotifyEvent FSaved;
};

// The side of streaming that DefineProperties talks to. A writer calls WriteData of
// each defined property whose HasData is true; a reader calls ReadData of the one
// whose name it has just read.
class TFiler {
public:
    virtual ~TFiler() = default;
    virtual void DefineProperty(const QString& Name, const std::function<void(TReader&)>& ReadData,
                                const std::function<void(TWriter&)>& WriteData, bool HasData) = 0;
    virtual void DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>& ReadData,
                                      const std::function<void(QIODevice&)>& WriteData, bool HasData) = 0;
};

class TPersistent : public TObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Copies Source into this object. The base asks Source to assign itself to this
    // object (AssignTo); nil and unknown combinations raise EConvertError
    // "Cannot assign a %s to a %s".
    virtual void Assign(const TPersistent* Source);
    // Copies this object into Dest; the base raises the assignment error.
    virtual void AssignTo(TPersistent* Dest) const;
    // Declares properties that are streamed by code rather than by the property table.
    virtual void DefineProperties(TFiler& Filer);
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

// Runs Action between Target.BeginUpdate() and Target.EndUpdate() (string lists, hash
// tables); the update is closed also when Action raises. Not a scope guard: EndUpdate
// raises change events, which may raise in turn.
template <typename T, typename F>
void WithinUpdate(T& Target, F&& Action)
{
    Target.BeginUpdate();
    try {
        Action();
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}

} // namespace velk

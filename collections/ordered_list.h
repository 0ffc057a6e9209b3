#pragma once
// TVelkObjectOrderedList: a list of object references (not owned) with an access
// discipline given by the subclass (Push, Pop, Top); TVelkObjectQueue: first in,
// first out. The priority list keeps one such list per priority.

#include "platform/list.h"
#include "platform/object.h"

#include <memory>

namespace velk {

class TVelkObjectOrderedList : public TObject, public TList<TObject*> {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Source must be an ordered list (any kind): this list is cleared and takes
    // Source's objects in Source's order. Otherwise EConvertError
    // "Cannot assign a %s to a %s" (Source's class or "nil", this class).
    virtual void Assign(const TObject* Source);
    virtual TObject* Pop() = 0;
    // Returns the new object's index.
    virtual int Push(TObject* Value) = 0;
    virtual TObject* Top() const = 0;

    // A new list of this list's class holding the same objects.
    std::unique_ptr<TVelkObjectOrderedList> Clone() const;
};

// The class of an ordered list; its factory is the virtual constructor.
using TVelkObjectOrderedListClass = const TClassInfo*;

class TVelkObjectQueue : public TVelkObjectOrderedList {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Appends.
    int Push(TObject* Value) override;
    // Removes and returns the earliest object; EListError "List is empty".
    TObject* Pop() override;
    // The earliest object; EListError "List is empty".
    TObject* Top() const override;
};

} // namespace velk

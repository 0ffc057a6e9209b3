#pragma once
// Iterator interfaces handed out by the string-keyed hash tables (Indices, Elements).
// Iterators are shared (std::shared_ptr); one must not outlive its table.

#include <QString>

namespace velk {

class TObject;

class IStringIterator {
public:
    virtual ~IStringIterator() = default;
    // The string at the current position ("" before the first NextElement).
    virtual QString CurrentElement() const = 0;
    virtual int GetCount() const = 0;
    int Count() const { return GetCount(); }
    // True while fewer elements than Count were handed out.
    virtual bool HasMoreElements() const = 0;
    // Moves to the next element and returns it ("" when there is none).
    virtual QString NextElement() = 0;
    virtual void Reset() = 0;
};

class IObjectIterator {
public:
    virtual ~IObjectIterator() = default;
    virtual TObject* CurrentElement() const = 0;
    virtual int GetCount() const = 0;
    int Count() const { return GetCount(); }
    virtual bool HasMoreElements() const = 0;
    virtual TObject* NextElement() = 0;
    virtual void Reset() = 0;
};

} // namespace velk

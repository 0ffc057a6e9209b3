#pragma once
// The element class table: for each element type the class that the readers create for
// its tag, or none. The table fills itself on first use from one function in
// element_registry.cpp that lists the classes that exist (a static library drops
// objects nobody references, so registration cannot rely on static initialisers).

#include "platform/object.h"
#include "svg/element.h"

#include <QStringView>
#include <array>
#include <memory>

namespace velk {

// Creates an element of one class owned by aOwner.
using TSVGElementFactory = std::unique_ptr<TSVGElement> (*)(TSVGDocument* aOwner);

template <typename T>
std::unique_ptr<TSVGElement> CreateSVGElement(TSVGDocument* aOwner)
{
    return std::make_unique<T>(aOwner);
}

// A class of the table: its class reference and its virtual constructor.
struct TSVGElementClass {
    const TClassInfo* Info = nullptr;
    TSVGElementFactory Create = nullptr;

    explicit operator bool() const { return Info != nullptr; }
};

using TSVGElementClasses = std::array<TSVGElementClass, SVGElementTypeCount>;

// The table, indexed by element type; an entry without Info has no class.
const TSVGElementClasses& SVGElementClasses();

// The first entry (in type order) whose class name is ClassName (exact case), or nil.
const TSVGElementClass* FindSVGElementClass(QStringView ClassName);
// FindSVGElementClass, or EClassNotFound "Class %s not found".
const TSVGElementClass& GetSVGElementClass(QStringView ClassName);

// A new element of the class registered for Type, owned by aOwner; nil for a type
// without a class.
std::unique_ptr<TSVGElement> CreateSVGElement(TSVGElementType Type, TSVGDocument* aOwner);

} // namespace velk

#include "svg/element_registry.h"

#include "svg/anchor.h"
#include "svg/basic_shapes.h"
#include "svg/defs.h"
#include "svg/document.h"
#include "svg/group.h"
#include "svg/path_element.h"
#include "svg/switch.h"
#include "svg/symbol.h"
#include "svg/use.h"

namespace velk {

namespace {

template <typename T>
void Register(TSVGElementClasses& Classes, TSVGElementType Type)
{
    Classes[static_cast<std::size_t>(Type)] = TSVGElementClass{&T::StaticClass(), &CreateSVGElement<T>};
}

// The element classes that exist; each element family adds its lines here.
void RegisterSVGElementClasses(TSVGElementClasses& Classes)
{
    Register<TSVGDocument>(Classes, etDoc);
    Register<TSVGGroup>(Classes, etGroup);
    Register<TSVGDefs>(Classes, etDefs);
    Register<TSVGUse>(Classes, etUse);
    Register<TSVGSwitch>(Classes, etSwitch);
    Register<TSVGCircle>(Classes, etCircle);
    Register<TSVGEllipse>(Classes, etEllipse);
    Register<TSVGRectangle>(Classes, etRectangle);
    Register<TSVGLine>(Classes, etLine);
    Register<TSVGPolyline>(Classes, etPolyline);
    Register<TSVGPolygon>(Classes, etPolygon);
    Register<TSVGPath>(Classes, etPath);
    Register<TSVGSymbol>(Classes, etSymbol);
    Register<TSVGAnchor>(Classes, etAnchor);
}

} // namespace

const TSVGElementClasses& SVGElementClasses()
{
    static const TSVGElementClasses classes = [] {
        TSVGElementClasses table{};
        RegisterSVGElementClasses(table);
        return table;
    }();
    return classes;
}

const TSVGElementClass* FindSVGElementClass(QStringView ClassName)
{
    for (const TSVGElementClass& entry : SVGElementClasses())
        if (entry && entry.Info->Name() == ClassName)
            return &entry;
    return nullptr;
}

const TSVGElementClass& GetSVGElementClass(QStringView ClassName)
{
    if (const TSVGElementClass* entry = FindSVGElementClass(ClassName))
        return *entry;
    throw EClassNotFound(messages::ClassNotFound, ClassName.toString());
}

std::unique_ptr<TSVGElement> CreateSVGElement(TSVGElementType Type, TSVGDocument* aOwner)
{
    const TSVGElementClass& entry = SVGElementClasses()[static_cast<std::size_t>(Type)];
    return entry ? entry.Create(aOwner) : nullptr;
}

} // namespace velk

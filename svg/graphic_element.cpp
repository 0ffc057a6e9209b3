#include "svg/graphic_element.h"

#include "svg/document.h"
#include "svg/exceptions.h"
#include "svg/length_syntax.h"
#include "svg/view_box.h"
#include "svg/xml_attributes.h"

namespace velk {

namespace {

// Every presentation property (ipNone excluded).
constexpr TSVGStyleProperties AllStyleProperties =
    TSVGStyleProperties::FromValue(((std::uint64_t{1} << SVGStylePropertyCount) - 1) & ~std::uint64_t{1});

// Entity references met by the reading that runs on this thread. A load is the
// outermost ReadChildren: the node count starts again with each one.
struct TEntityBudget {
    int Readers = 0; // ReadChildren calls open: the element depth
    int Depth = 0;
    int Nodes = 0;
};
thread_local TEntityBudget EntityBudget;

// One ReadChildren call, so one level of element nesting; when Node is an entity
// reference, also one level of entity nesting.
class TEntityScope {
public:
    explicit TEntityScope(TXMLNode Node) : FEntity(Node.NodeType() == ntEntityRef)
    {
        ++EntityBudget.Readers;
        if (FEntity)
            ++EntityBudget.Depth;
        // A constructor that raises runs no destructor: leave first.
        if (EntityBudget.Depth > SVGMaxEntityDepth) {
            Leave();
            throw ESVGException(messages::SVGEntityTooDeep, SVGMaxEntityDepth);
        }
        if (EntityBudget.Readers > SVGMaxElementDepth) {
            Leave();
            throw ESVGException(messages::SVGElementTooDeep, SVGMaxElementDepth);
        }
    }
    ~TEntityScope() { Leave(); }
    TEntityScope(const TEntityScope&) = delete;
    TEntityScope& operator=(const TEntityScope&) = delete;

    // Counts a node read inside an entity.
    static void CountNode()
    {
        if (EntityBudget.Depth > 0 && ++EntityBudget.Nodes > SVGMaxEntityNodes)
            throw ESVGException(messages::SVGEntityTooLarge, SVGMaxEntityNodes);
    }

private:
    void Leave() const
    {
        if (FEntity)
            --EntityBudget.Depth;
        if (--EntityBudget.Readers == 0)
            EntityBudget = {};
    }

    bool FEntity;
};

} // namespace

const TClassInfo& TSVGGraphicElement::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGGraphicElement"), &TSVGElement::StaticClass(),
                                 &CreateInstance<TSVGGraphicElement>);
    return info;
}

TSVGGraphicElement::TSVGGraphicElement(TSVGDocument* aOwner) : TSVGElement(aOwner)
{
    SetAttributes(AllStyleProperties);
    const TSVGUnitFactorsEvent unitFactors = [this](const TSVGLength*, TSVGUnitFactors& Factors) {
        Factors = GetUnitFactors();
    };
    // Percentages resolve against the nearest view box; without one the fraction is the value.
    const auto viewBoxRange = [this](bool Horizontal) -> TSVGLengthRangeEvent {
        return [this, Horizontal](const TSVGLength*, float& Min, float& Max, bool& DoRange) {
            if (const TSVGCustomViewBox* viewBox = GetNearestViewBox()) {
                Min = 0;
                Max = Horizontal ? viewBox->ViewBox().Width() : viewBox->ViewBox().Height();
            } else {
                DoRange = false;
            }
        };
    };
    FWidth = CreateLength(unitFactors, viewBoxRange(true));
    FHeight = CreateLength(unitFactors, viewBoxRange(false));
    FX = CreateLength(unitFactors, viewBoxRange(true));
    FY = CreateLength(unitFactors, viewBoxRange(false));
}

TSVGGraphicElement::~TSVGGraphicElement() = default;

std::unique_ptr<TSVGElement> TSVGGraphicElement::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGGraphicElement>(aOwner);
}

void TSVGGraphicElement::SetParent(TSVGElement* Value)
{
    if (Value == Parent())
        return;
    TSVGElement::SetParent(Value);
    Reset();
}

void TSVGGraphicElement::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGGraphicElement*>(Source); source && source != this) {
        FX->Assign(source->FX.get());
        FY->Assign(source->FY.get());
        FWidth->Assign(source->FWidth.get());
        FHeight->Assign(source->FHeight.get());
    }
    TSVGElement::AssignProperties(Source);
}

void TSVGGraphicElement::Clear()
{
    WithinUpdate(*this, [this] {
        TSVGElement::Clear();
        FX->Clear();
        FY->Clear();
        FWidth->Clear();
        FHeight->Clear();
        SetAttributes(AllStyleProperties);
    });
}

void TSVGGraphicElement::LoadFromXML(TXMLNode Node)
{
    ReadNode(Node, [&] {
        ReadAttributes(Node);
        ReadChildren(Node);
    });
}

void TSVGGraphicElement::SaveToXML(TXMLNode Node)
{
    WriteNode(Node, [&] {
        WriteAttributes(Node);
        WriteChildren(Node);
    });
}

float TSVGGraphicElement::GetX() const
{
    return FX->Value();
}

float TSVGGraphicElement::GetY() const
{
    return FY->Value();
}

float TSVGGraphicElement::GetWidth() const
{
    return FWidth->Value();
}

float TSVGGraphicElement::GetHeight() const
{
    return FHeight->Value();
}

float TSVGGraphicElement::GetRawX() const
{
    return FX->Raw();
}

float TSVGGraphicElement::GetRawY() const
{
    return FY->Raw();
}

float TSVGGraphicElement::GetRawWidth() const
{
    return FWidth->Raw();
}

float TSVGGraphicElement::GetRawHeight() const
{
    return FHeight->Raw();
}

void TSVGGraphicElement::SetX(float Value)
{
    FX->SetValue(Value);
}

void TSVGGraphicElement::SetY(float Value)
{
    FY->SetValue(Value);
}

void TSVGGraphicElement::SetWidth(float Value)
{
    FWidth->SetValue(std::max(Value, 0.0f));
}

void TSVGGraphicElement::SetHeight(float Value)
{
    FHeight->SetValue(std::max(Value, 0.0f));
}

// --- Children ---

void TSVGGraphicElement::UnknownElement(TXMLNode Node) const
{
    const TSVGDocument* document = ChildOwner();
    if (document && !document->Options().Contains(soSkipUnknownXML))
        throw ESVGException(messages::SVGUnknownElement, EnumName(Node.NodeType()), Node.LocalName());
}

int TSVGGraphicElement::CreateChildElement(TXMLNode Node)
{
    const QString name = Node.LocalName();
    if (name.isEmpty())
        return -1;
    if (name == u"desc")
        Description().SetText(Node.Text());
    else if (name == u"title")
        SetTitle(Node.Text());
    else if (name != u"namedview" && name != u"perspective" && name != u"filter")
        UnknownElement(Node);
    return -1;
}

void TSVGGraphicElement::ReadChildren(TXMLNode Node)
{
    const TEntityScope scope(Node);
    // External and undeclared entities have no content: nothing of them is read.
    if (Node.NodeType() == ntEntityRef && !Node.IsInternalEntity())
        return;
    for (TXMLNode child = Node.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
        TEntityScope::CountNode();
        const int index = CreateChildElement(child);
        if (index >= 0)
            Child(index)->LoadFromXML(child);
    }
}

void TSVGGraphicElement::WriteChildren(TXMLNode Node)
{
    const bool inText = SVGType() == etText;
    for (TSVGElement* child : Items()) {
        const QString name = inText ? QStringLiteral("tspan") : child->SVGTypeName();
        child->SaveToXML(Node.AddChild(name, SVGNamespaceURI));
    }
}

// --- Attributes ---

void TSVGGraphicElement::ReadAttributes(TXMLNode Node)
{
    TSVGElement::ReadAttributes(Node);
    SVGReadLength(Node, QStringLiteral("x"), *FX);
    SVGReadLength(Node, QStringLiteral("y"), *FY);
    SVGReadLength(Node, QStringLiteral("width"), *FWidth);
    SVGReadLength(Node, QStringLiteral("height"), *FHeight);
}

void TSVGGraphicElement::WriteSizeAttributes(TXMLNode Node)
{
    const bool compact = IsCompactExport();
    const QString format = NumberFormat();
    const auto write = [&](const QString& Name, const TSVGLength& Length) {
        SVGWriteAttribute(Node, Name, SVGLengthToStr(Length, format), Length.Raw() == 0 && compact);
    };
    write(QStringLiteral("x"), *FX);
    write(QStringLiteral("y"), *FY);
    write(QStringLiteral("width"), *FWidth);
    write(QStringLiteral("height"), *FHeight);
}

QString TSVGGraphicElement::NumberFormat() const
{
    return Owner() ? Owner()->FormatStr() : SVGDefaultFormatStr;
}

} // namespace velk

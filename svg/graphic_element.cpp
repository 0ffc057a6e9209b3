#include "svg/graphic_element.h"

#include "svg/document.h"
#include "svg/exceptions.h"
#include "svg/length_syntax.h"
#include "svg/transform_syntax.h"
#include "svg/view_box.h"
#include "svg/xml_attributes.h"

#include <utility>

namespace velk {

namespace {

// Every presentation property (ipNone excluded).
constexpr TSVGStyleProperties AllStyleProperties =
    TSVGStyleProperties::FromValue(((std::uint64_t{1} << SVGStylePropertyCount) - 1) & ~std::uint64_t{1});

constexpr TVelkGPColor OpaqueBlack = 0xFF000000;

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
    using E = TSVGGraphicElement;
    static const TClassInfo info(
        QStringLiteral("TSVGGraphicElement"), &TSVGElement::StaticClass(), &CreateInstance<TSVGGraphicElement>,
        TPublished<TSVGGraphicElement>()
            .Boolean(QStringLiteral("ParentPreferredStyles"), &E::ParentPreferredStyles, &E::SetParentPreferredStyles,
                     true)
            .Enumeration(QStringLiteral("Direction"), &E::Direction, &E::SetDirection, dirLeftToRight)
            .Enumeration(QStringLiteral("AlignmentBaseline"), &E::AlignmentBaseline, &E::SetAlignmentBaseline, abAuto)
            .Enumeration(QStringLiteral("DominantBaseline"), &E::DominantBaseline, &E::SetDominantBaseline, dbAuto)
            .Enumeration(QStringLiteral("GlyphOrientationHorizontal"), &E::GlyphOrientationHorizontal,
                         &E::SetGlyphOrientationHorizontal, oh0Deg)
            .Enumeration(QStringLiteral("GlyphOrientationVertical"), &E::GlyphOrientationVertical,
                         &E::SetGlyphOrientationVertical, ovAuto)
            .Enumeration(QStringLiteral("WritingMode"), &E::WritingMode, &E::SetWritingMode, wmLeftRight_TopBottom)
            .String(QStringLiteral("ClipURI"), &E::ClipURI, &E::SetClipURI)
            .Enumeration(QStringLiteral("ClipRule"), &E::ClipRule, &E::SetClipRule, frNonZero)
            .Enumeration(QStringLiteral("FillRule"), &E::FillRule, &E::SetFillRule, frNonZero)
            .Int64(QStringLiteral("Color"), &E::Color, &E::SetColor, 0)
            .Enumeration(QStringLiteral("ColorInterpolation"), &E::ColorInterpolation, &E::SetColorInterpolation,
                         sciSRGB)
            .Enumeration(QStringLiteral("ColorRendering"), &E::ColorRendering, &E::SetColorRendering, clrnAuto)
            .Integer(QStringLiteral("Cursor"), &E::Cursor, &E::SetCursor, Qt::ArrowCursor)
            .Enumeration(QStringLiteral("TextAlign"), &E::TextAlign, &E::SetTextAlign, staLeading)
            .Single(QStringLiteral("Opacity"), &E::Opacity, &E::SetOpacity)
            .NoDefault()
            .StoredWhen([](const E& Element) { return Element.Opacity() != 1; })
            .Enumeration(QStringLiteral("OpacityPreferredUnit"), &E::OpacityPreferredUnit, &E::SetOpacityPreferredUnit,
                         suNone)
            .Boolean(QStringLiteral("Overflow"), &E::Overflow, &E::SetOverflow, true)
            .Enumeration(QStringLiteral("VectorEffect"), &E::VectorEffect, &E::SetVectorEffect, veNone)
            .Boolean(QStringLiteral("Visible"), &E::Visible, &E::SetVisible, true)
            .Boolean(QStringLiteral("Display"), &E::Display, &E::SetDisplay, true)
            .String(QStringLiteral("MarkerStartURI"), &E::MarkerStartURI, &E::SetMarkerStartURI)
            .String(QStringLiteral("MarkerMidURI"), &E::MarkerMidURI, &E::SetMarkerMidURI)
            .String(QStringLiteral("MarkerEndURI"), &E::MarkerEndURI, &E::SetMarkerEndURI)
            .Enumeration(QStringLiteral("ShapeRendering"), &E::ShapeRendering, &E::SetShapeRendering)
            .StoredWhen([](const E& Element) {
                const TSVGDocument* document = Element.Owner();
                return Element.ShapeRendering() != (document ? document->DefaultShapeRendering() : srnAuto);
            })
            .Enumeration(QStringLiteral("TextRendering"), &E::TextRendering, &E::SetTextRendering, txrnAuto)
            .String(QStringLiteral("TransformMatrix"), &E::TransformMatrix, &E::SetTransformMatrix)
            .Take());
    return info;
}

TSVGGraphicElement::TSVGGraphicElement(TSVGDocument* aOwner)
    : TSVGElement(aOwner),
      FPen(std::make_unique<TSVGPen>(nullptr, bkNone, OpaqueBlack)),
      FFont(std::make_unique<TSVGFont>()),
      FBrush(std::make_unique<TSVGBrush>(nullptr, bkSolid, OpaqueBlack)),
      FStyle(std::make_unique<TSVGStyle>()),
      FPreferredStyles(std::make_unique<TSVGStylePropertiesSet>()),
      FInherits(std::make_unique<TSVGStylePropertiesSet>(SVGDefaultInherits)),
      FShape(std::make_unique<TVelkGPPath>())
{
    SetAttributes(AllStyleProperties);
    FPen->SetStartCap(lcFlat);
    FPen->SetEndCap(lcFlat);
    FPen->SetDashCap(dcFlat);
    FPen->SetMiterLimit(4);
    FPen->SetJoin(sjMiter);
    FPen->OnUnitFactors = [this](const TSVGPen*, TSVGUnitFactors& Factors) { Factors = GetUnitFactors(); };

    const TNotifyEvent graphicsObjectChanged = [this](TObject* Sender) { GraphicsObjectChanged(Sender); };
    FBrush->OnChange = graphicsObjectChanged;
    FPen->OnChange = graphicsObjectChanged;
    FFont->OnChange = graphicsObjectChanged;
    FStyle->OnChange = graphicsObjectChanged;
    FInherits->OnChange = graphicsObjectChanged;
    FPreferredStyles->OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };

    FLetterSpacing = CreateStyleLength(ipLetterSpacing);
    FKerning = CreateStyleLength(ipKerning);
    FWordSpacing = CreateStyleLength(ipWordSpacing);
    FBaselineShift = CreateStyleLength<TSVGBaselineShiftLength>(ipBaselineShift);

    FWidth = CreateViewBoxLength(true);
    FHeight = CreateViewBoxLength(false);
    FX = CreateViewBoxLength(true);
    FY = CreateViewBoxLength(false);
}

std::unique_ptr<TSVGLength> TSVGGraphicElement::CreateViewBoxLength(bool Horizontal)
{
    const TSVGUnitFactorsEvent unitFactors = [this](const TSVGLength*, TSVGUnitFactors& Factors) {
        Factors = GetUnitFactors();
    };
    return CreateLength(unitFactors, ViewBoxRange(Horizontal ? pbWidth : pbHeight));
}

TSVGLengthRangeEvent TSVGGraphicElement::ViewBoxRange(TSVGPercentBase Base)
{
    return [this, Base](const TSVGLength*, float& Min, float& Max, bool& DoRange) {
        const TSVGCustomViewBox* viewBox = GetNearestViewBox();
        if (!viewBox) {
            DoRange = false;
            return;
        }
        const TRectF& box = viewBox->ViewBox();
        Min = 0;
        Max = Base == pbWidth ? box.Width() : Base == pbHeight ? box.Height()
                                                               : SVGNormalizedDiagonal(box.Width(), box.Height());
    };
}

TSVGGraphicElement::~TSVGGraphicElement()
{
    // The children go while the owned objects still exist: nothing they ask of their
    // parent on the way out may reach a destroyed member, and no change is reported.
    IncludeState(esDestroying);
    Items().Clear();
}

std::unique_ptr<TSVGElement> TSVGGraphicElement::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGGraphicElement>(aOwner);
}

TSVGGraphicElement* TSVGGraphicElement::GetGraphicParent() const
{
    TSVGElement* parent = Parent();
    return parent ? parent->AsGraphicElement() : nullptr;
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
        // The effective values become the own ones; the inherit set copied after them
        // keeps the source's flags.
        FVisible = source->Visible();
        FDisplay = source->Display();
        FColor = source->Color();
        FCursor = source->Cursor();
        FTextAlign = source->TextAlign();
        FColorInterpolation = source->ColorInterpolation();
        FColorRendering = source->ColorRendering();
        FShapeRendering = source->ShapeRendering();
        FTextRendering = source->TextRendering();
        FClipRule = source->ClipRule();
        FFillRule = source->FillRule();
        // The offsets: the effective clip rectangle is made from the bounds.
        FClipRect = source->FClipRect;
        FOpacity = source->Opacity();
        FOpacityPreferredUnit = source->FOpacityPreferredUnit;
        FOverflow = source->Overflow();
        FDirection = source->Direction();
        FMarkerStartURI = source->MarkerStartURI();
        FMarkerMidURI = source->MarkerMidURI();
        FMarkerEndURI = source->MarkerEndURI();
        FVectorEffect = source->VectorEffect();
        FAlignmentBaseline = source->AlignmentBaseline();
        FDominantBaseline = source->DominantBaseline();
        FGlyphOrientationHorizontal = source->GlyphOrientationHorizontal();
        FGlyphOrientationVertical = source->GlyphOrientationVertical();
        FWritingMode = source->WritingMode();
        FMatrix = source->FMatrix;
        FClipURI = source->FClipURI;
        FInherits->Assign(source->FInherits.get());
        FStyle->Assign(source->FStyle.get());
        FStyleAttributeProperties = source->FStyleAttributeProperties;
        FX->Assign(source->FX.get());
        FY->Assign(source->FY.get());
        FWidth->Assign(source->FWidth.get());
        FHeight->Assign(source->FHeight.get());
        FBaselineShift->Assign(source->FBaselineShift.get());
        FLetterSpacing->Assign(source->FLetterSpacing.get());
        FKerning->Assign(source->FKerning.get());
        FWordSpacing->Assign(source->FWordSpacing.get());
        FParentPreferredStyles = source->FParentPreferredStyles;
        FPreferredStyles->Assign(&source->PreferredStyles());
        FPen->Assign(source->FPen.get());
        FFont->Assign(source->FFont.get());
        FBrush->Assign(&source->GetBrush());
        FClippingChanged = true;
        MarkForResolution({true, true, true});
        FShape->Clear();
        FShapeCacheChanged = true;
    }
    TSVGElement::AssignProperties(Source);
}

void TSVGGraphicElement::Clear()
{
    WithinUpdate(*this, [this] {
        TSVGElement::Clear();
        FStyle->SetStyle({});
        FStyleAttributeProperties = {};
        FX->Clear();
        FY->Clear();
        FWidth->Clear();
        FHeight->Clear();
        SetAttributes(AllStyleProperties);
        FMatrix = IdentityMatrix;
        FOpacity = 1;
        FOpacityPreferredUnit = suNone;
        FVisible = true;
        FDisplay = true;
        FColor = 0xFF000000;
        FBrush->Clear();
        FPen->Clear();
        FFont->Clear();
        FVectorEffect = veNone;
        FTextAlign = staLeading;
        // The lengths end their inheritance when cleared: the inherit set comes after.
        FBaselineShift->Clear();
        FLetterSpacing->Clear();
        FKerning->Clear();
        FWordSpacing->Clear();
        FInherits->SetValue(SVGDefaultInherits);
        FPreferredStyles->SetValue({});
        FParentPreferredStyles = true;
        FAlignmentBaseline = abAuto;
        FDominantBaseline = dbAuto;
        FColorInterpolation = sciSRGB;
        FColorRendering = clrnAuto;
        FShapeRendering = srnAuto;
        FTextRendering = txrnAuto;
        FDirection = dirLeftToRight;
        FGlyphOrientationHorizontal = oh0Deg;
        FGlyphOrientationVertical = ovAuto;
        FWritingMode = wmLeftRight_TopBottom;
        FCursor = Qt::ArrowCursor;
        FFillRule = frNonZero;
        FClipRule = frNonZero;
        FClipURI.clear();
        FClipRect = {};
        FOverflow = true;
        FMarkerStartURI.clear();
        FMarkerMidURI.clear();
        FMarkerEndURI.clear();
        FClippingChanged = true;
        MarkForResolution({true, true, true});
        FShape->Clear();
        FShapeCacheChanged = true;
    });
}

void TSVGGraphicElement::Reset()
{
    FBrushChanged = true;
    FPenChanged = true;
    FFontChanged = true;
    FClippingChanged = true;
    TSVGElement::Reset();
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

TSVGUnitFactors TSVGGraphicElement::GetUnitFactors() const
{
    return SVGUnitFactorsForFontSize(TSVGElement::GetUnitFactors(), GetFont().Size());
}

// --- Change marking ---

void TSVGGraphicElement::Changed()
{
    FShapeCacheChanged = true;
    TSVGElement::Changed();
}

void TSVGGraphicElement::EnabledChanged(bool /*Value*/)
{
    FBrushChanged = true;
    FPenChanged = true;
    FFontChanged = true;
    Changed();
}

void TSVGGraphicElement::GraphicsObjectChanged(TObject* Sender)
{
    if (ElementState().Contains(esDestroying))
        return;
    const bool all = Sender == FInherits.get();
    MarkForResolution({all || Sender == FBrush.get(), all || Sender == FPen.get(), all || Sender == FFont.get()});
    Changed();
}

void TSVGGraphicElement::MarkForResolution(TResolveMarks Marks)
{
    FBrushChanged = FBrushChanged || Marks.Brush;
    FPenChanged = FPenChanged || Marks.Pen;
    FFontChanged = FFontChanged || Marks.Font;
    if ((!Marks.Brush && !Marks.Pen && !Marks.Font) || FStylingSelf)
        return;
    for (TSVGElement* child : Items())
        if (TSVGGraphicElement* graphic = child->AsGraphicElement())
            graphic->MarkForResolution(Marks);
}

// --- Style lengths ---

void TSVGGraphicElement::WireStyleLength(TSVGStylePropertyLength& Length)
{
    Length.OnGetInherited = [this](const TSVGStylePropertyLength* Sender, bool& Inherited) {
        Inherited = IsInherited(Sender->StyleProperty());
    };
    Length.OnSetInherited = [this](const TSVGStylePropertyLength* Sender, bool Inherited) {
        FInherits->SetByIndex(Sender->StyleProperty(), Inherited);
    };
    Length.OnGetParent = [this](const TSVGStylePropertyLength* Sender, TSVGStylePropertyLength*& Parent) {
        Parent = ParentStyleLength(*Sender);
    };
    Length.OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };
    Length.OnUnitFactors = [this](const TSVGLength*, TSVGUnitFactors& Factors) { Factors = GetUnitFactors(); };
}

TSVGStylePropertyLength* TSVGGraphicElement::ParentStyleLength(const TSVGStylePropertyLength& Length) const
{
    const TSVGGraphicElement* parent = GetGraphicParent();
    if (!parent)
        return nullptr;
    switch (Length.StyleProperty()) {
    case ipKerning:
        return parent->FKerning.get();
    case ipLetterSpacing:
        return parent->FLetterSpacing.get();
    case ipWordSpacing:
        return parent->FWordSpacing.get();
    case ipBaselineShift:
        return parent->FBaselineShift.get();
    default:
        return nullptr;
    }
}

QString TSVGGraphicElement::StylePropertyDefault(TSVGStyleProperty Property) const
{
    return SVGStylePropertyDefault(Property);
}

bool TSVGGraphicElement::IsNonDefaultValue(TSVGStyleProperty Property, QStringView Text) const
{
    return Text != StylePropertyDefault(Property);
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
    FStyle->LoadFromXML(Node);
    FStyleAttributeProperties = FStyle->AddStyle(SVGReadAttribute(Node, QStringLiteral("style")));
    // What the style attribute declared is written back into it. The element's own set
    // takes it: the parent's (shared while ParentPreferredStyles) belongs to the others.
    if (!FStyleAttributeProperties.Empty()) {
        FPreferredStyles->SetValue(FStyleAttributeProperties);
        FParentPreferredStyles = false;
    }
    ReadFontSize();
    SVGReadLength(Node, QStringLiteral("x"), *FX);
    SVGReadLength(Node, QStringLiteral("y"), *FY);
    SVGReadLength(Node, QStringLiteral("width"), *FWidth);
    SVGReadLength(Node, QStringLiteral("height"), *FHeight);
    SetMatrix(SVGParseTransform(SVGReadAttribute(Node, QStringLiteral("transform"))));
}

void TSVGGraphicElement::ReadFontSize()
{
    const QString text = FStyle->GetStyleProp(ipFontSize);
    const TSVGGraphicElement* parent = GetGraphicParent();
    const float parentSize = parent ? parent->GetFont().Size() : FFont->Size();
    bool inherit = IsInherited(ipFontSize);
    TSVGUnit unit = suNone;
    // An inherited size is the parent's already now, so that "em" lengths read before
    // the font is resolved use it.
    const float size =
        SVGParseFontSize(text, inherit, unit, parentSize, GetUnitFactors(), inherit ? parentSize : FFont->Size());
    FFont->SetSize(size);
    if (!inherit && !SVGTrim(text).isEmpty())
        FFont->SetSizePreferredUnit(unit);
    FInherits->SetByIndex(ipFontSize, inherit);
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

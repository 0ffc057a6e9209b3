#include "svg/use.h"

#include "svg/document.h"
#include "svg/uri.h"
#include "svg/view_box.h"
#include "svg/xml_attributes.h"

#include <utility>
#include <vector>

namespace velk {

namespace {

// The expansions running on this thread, innermost last: each element shown by a use
// with the parent it had before. The depth is the list's length; the element count
// starts again with each outermost expansion.
struct TUseExpansions {
    std::vector<std::pair<TSVGElement*, TSVGElement*>> Shown;
    int Elements = 0;
};
thread_local TUseExpansions Expansions;

// Element's parent in the tree: an element shown by a use has that use as its parent
// for the time being (and only such an element has a use as its parent).
const TSVGElement* TreeParent(const TSVGElement* Element)
{
    TSVGElement* parent = Element->Parent();
    if (parent && parent->SVGType() == etUse)
        for (const auto& [shown, former] : Expansions.Shown)
            if (shown == Element)
                return former;
    return parent;
}

// Whether showing Element from Use would come back to Use: Element is being shown
// already, or it is Use itself or one of Use's ancestors, along the parents as they are
// now (through the uses that show them) or as they are in the tree.
bool ClosesCycle(const TSVGUse& Use, const TSVGElement& Element)
{
    for (const auto& entry : Expansions.Shown)
        if (entry.first == &Element)
            return true;
    for (const TSVGElement* e = &Use; e; e = e->Parent())
        if (e == &Element)
            return true;
    for (const TSVGElement* e = &Use; e; e = TreeParent(e))
        if (e == &Element)
            return true;
    return false;
}

// Counts Element's subtree into the budget of the outermost expansion; false (and the
// budget spent) when it does not fit.
bool ChargeElements(const TSVGElement& Element)
{
    std::vector<const TSVGElement*> pending{&Element};
    while (!pending.empty()) {
        const TSVGElement* element = pending.back();
        pending.pop_back();
        if (Expansions.Elements >= SVGMaxUseElements)
            return false;
        ++Expansions.Elements;
        for (const TSVGElement* child : element->Items())
            pending.push_back(child);
    }
    return true;
}

// One use showing one element for the duration of an operation: the element's parent
// is the use until the scope ends, however it ends. Active() is false when the
// expansion is refused (no element, a cycle, too deep, over budget); then nothing changes.
class TUseExpansion {
public:
    TUseExpansion(const TSVGUse& Use, TSVGGraphicElement* Element)
    {
        if (!Element || Expansions.Shown.size() >= static_cast<std::size_t>(SVGMaxUseDepth) ||
            ClosesCycle(Use, *Element))
            return;
        if (Expansions.Shown.empty())
            Expansions.Elements = 0;
        if (!ChargeElements(*Element))
            return;
        Expansions.Shown.emplace_back(Element, Element->Parent());
        try {
            // The element is only lent: the use does not take it into its children.
            Element->SetParent(const_cast<TSVGUse*>(&Use));
        } catch (...) {
            Expansions.Shown.pop_back();
            throw;
        }
        FElement = Element;
    }
    ~TUseExpansion()
    {
        if (!FElement)
            return;
        FElement->SetParent(Expansions.Shown.back().second);
        Expansions.Shown.pop_back();
    }
    TUseExpansion(const TUseExpansion&) = delete;
    TUseExpansion& operator=(const TUseExpansion&) = delete;

    bool Active() const { return FElement != nullptr; }

private:
    TSVGGraphicElement* FElement = nullptr;
};

// Symbols and nested documents are shown as viewports of the use's size.
TSVGCustomViewBox* AsViewport(TSVGGraphicElement& Element)
{
    const TSVGElementType type = Element.SVGType();
    return type == etSymbol || type == etDoc ? static_cast<TSVGCustomViewBox*>(&Element) : nullptr;
}

} // namespace

const TClassInfo& TSVGUse::StaticClass()
{
    using E = TSVGUse;
    static const TClassInfo info(
        QStringLiteral("TSVGUse"), &TSVGGraphicElement::StaticClass(), &CreateInstance<TSVGUse>,
        PublishPositionAndSize(
            TPublished<TSVGUse>().String(QStringLiteral("Reference"), &E::Reference, &E::SetReference))
            .Take());
    return info;
}

std::unique_ptr<TSVGElement> TSVGUse::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGUse>(aOwner);
}

// --- Reference ---

TSVGGraphicElement* TSVGUse::ReferencedElement() const
{
    const TSVGDocument* document = Owner();
    TSVGElement* element = nullptr;
    if (!document || FReference.isEmpty() || !document->AllItems().TryGetValue(FReference, element))
        return nullptr;
    return element->AsGraphicElement();
}

void TSVGUse::SetReference(const QString& Value)
{
    if (Value == FReference)
        return;
    FReference = Value;
    ListenToReference();
    Changed();
}

void TSVGUse::ListenToReference()
{
    TSVGElement* element = ReferencedElement();
    if (element == FListened)
        return;
    if (FListened)
        FListened->RemoveChangeNotification(this);
    FListened = element;
    if (element)
        element->ChangeNotification(this);
}

void TSVGUse::ElementNotification(TSVGElement* Sender, int Flag)
{
    TSVGGraphicElement::ElementNotification(Sender, Flag);
    if (Flag == 0 || Sender != FListened)
        return;
    FListened = nullptr;
    // While it is destroyed the element still holds its ID table entry (its graphic part
    // is gone already); a reference that names another element by now stays.
    const TSVGDocument* document = Owner();
    TSVGElement* entry = nullptr;
    if (document && document->AllItems().TryGetValue(FReference, entry) && entry == Sender)
        FReference.clear();
}

void TSVGUse::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGUse*>(Source); source && source != this)
        SetReference(source->FReference);
    TSVGGraphicElement::AssignProperties(Source);
}

void TSVGUse::Clear()
{
    SetReference(QString());
    TSVGGraphicElement::Clear();
}

void TSVGUse::ApplyStyles()
{
    TSVGGraphicElement::ApplyStyles();
    ListenToReference();
}

// --- Reading and writing ---

void TSVGUse::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    const std::optional<QString> href = SVGFindHref(Node);
    FReference = href ? SVGParseURI(*href) : QString();
    // An element read earlier in the file is there already; later ones are taken up by
    // ApplyStyles once the whole tree is read.
    ListenToReference();
}

void TSVGUse::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    WriteSizeAttributes(Node);
    if (!FReference.isEmpty())
        SVGWriteXLinkAttribute(Node, QStringLiteral("href"), u'#' + FReference);
}

// --- Display and bounds ---

bool TSVGUse::IsDisplayed() const
{
    if (!TSVGElement::IsDisplayed() || !Display())
        return false;
    const TSVGGraphicElement* element = ReferencedElement();
    // Inherited, the element's display is the use's (which holds).
    return !element || element->IsInherited(ipDisplay) || element->Display();
}

TRectF TSVGUse::ViewportRect(const TSVGGraphicElement& Element) const
{
    const bool document = Element.SVGType() == etDoc;
    // A nested svg keeps its own x and y inside the use's space (a symbol has none: its
    // x, y, width and height are its view box).
    const float x = GetX() + (document ? Element.GetX() : 0);
    const float y = GetY() + (document ? Element.GetY() : 0);
    float width = GetWidth();
    float height = GetHeight();
    if (width <= 0 || height <= 0) {
        TSizeF size;
        if (document) {
            size = {Element.GetWidth(), Element.GetHeight()};
        } else if (const TSVGCustomViewBox* box = const_cast<TSVGUse*>(this)->GetNearestViewBox()) {
            size = {box->ViewBox().Width(), box->ViewBox().Height()};
        } else if (const TSVGDocument* owner = Owner()) {
            size = {owner->GetWidth(), owner->GetHeight()};
        }
        if (width <= 0)
            width = size.Width;
        if (height <= 0)
            height = size.Height;
    }
    return {x, y, x + width, y + height};
}

TMatrix TSVGUse::ContentMatrix(const TSVGGraphicElement& Element, const TMatrix& M) const
{
    if (Element.SVGType() == etSymbol || Element.SVGType() == etDoc)
        return MatrixMultiply(Element.GetViewMatrix(IdentityMatrix, ViewportRect(Element)), M);
    return MatrixMultiply(CreateTranslationMatrix(GetX(), GetY()), M);
}

TRectF TSVGUse::GetBoundsRect() const
{
    TSVGGraphicElement* element = ReferencedElement();
    const TUseExpansion expansion(*this, element);
    if (!expansion.Active())
        return TSVGGraphicElement::GetBoundsRect();
    if (AsViewport(*element))
        return ViewportRect(*element);
    return element->GetBoundsRect(CreateTranslationMatrix(GetX(), GetY()));
}

TRectF TSVGUse::GetBoundsRect(const TMatrix& aMatrix) const
{
    TSVGGraphicElement* element = ReferencedElement();
    const TUseExpansion expansion(*this, element);
    const TMatrix M = MatrixMultiply(Matrix(), aMatrix);
    if (!expansion.Active())
        return TransformRectF(M, TSVGGraphicElement::GetBoundsRect());
    if (AsViewport(*element))
        return TransformRectF(M, ViewportRect(*element));
    return element->GetBoundsRect(MatrixMultiply(CreateTranslationMatrix(GetX(), GetY()), M));
}

// --- Drawing and hit testing ---

void TSVGUse::DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    TSVGGraphicElement::DrawChildren(M, Canvas, aRect);
    TSVGGraphicElement* element = ReferencedElement();
    const TUseExpansion expansion(*this, element);
    if (!expansion.Active())
        return;
    if (TSVGCustomViewBox* viewport = AsViewport(*element))
        viewport->DrawViewport(M, Canvas, ViewportRect(*element), aRect);
    else
        element->Draw(ContentMatrix(*element, M), Canvas, aRect);
}

TSVGGraphicElement* TSVGUse::HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                     const TRectF& aRect, const TPointF& Pt)
{
    TSVGGraphicElement* element = ReferencedElement();
    const TUseExpansion expansion(*this, element);
    if (!expansion.Active())
        return nullptr;
    const TMatrix M = MatrixMultiply(Matrix(), aMatrix);
    if (!element->ElementAtPos(ContentMatrix(*element, M), Canvas, Pt, aRect, Options))
        return nullptr;
    return DoElementFound(this);
}

} // namespace velk

#include "svg/element.h"

#include "platform/xml/document.h"
#include "svg/document.h"
#include "svg/exceptions.h"
#include "svg/xml_attributes.h"

#include <algorithm>

namespace velk {

namespace {
// IDs with this prefix are provisional: given at construction, never written.
constexpr QStringView ProvisionalIDPrefix = u"ID#";
} // namespace

TSVGElementType SVGNameToElementType(QStringView Name)
{
    for (int i = 1; i < SVGElementTypeCount; ++i) {
        const std::u16string_view tag = SVGElementNames[static_cast<std::size_t>(i)];
        if (Name == QStringView(tag.data(), static_cast<qsizetype>(tag.size())))
            return static_cast<TSVGElementType>(i);
    }
    return etNone;
}

QStringList SVGSplitItems(QStringView Text)
{
    return SVGSplitStrings(Text, u", ");
}

const TClassInfo& TSVGElement::StaticClass()
{
    static const TClassInfo info(
        QStringLiteral("TSVGElement"), &TPersistent::StaticClass(), &CreateInstance<TSVGElement>,
        TPublished<TSVGElement>()
            .String(QStringLiteral("ID"), &TSVGElement::ID, &TSVGElement::SetID)
            .Boolean(QStringLiteral("Enabled"), &TSVGElement::Enabled, &TSVGElement::SetEnabled, true)
            .String(QStringLiteral("Title"), &TSVGElement::Title, &TSVGElement::SetTitle)
            .Object(QStringLiteral("Description"), [](const TSVGElement& e) { return &e.Description(); })
            .Object(QStringLiteral("Classes"), [](const TSVGElement& e) { return &e.Classes(); })
            .String(QStringLiteral("Language"), &TSVGElement::Language, &TSVGElement::SetLanguage)
            .Object(QStringLiteral("RequiredExtensions"), [](const TSVGElement& e) { return &e.RequiredExtensions(); })
            .Object(QStringLiteral("RequiredFeatures"), [](const TSVGElement& e) { return &e.RequiredFeatures(); })
            .Object(QStringLiteral("SystemLanguages"), [](const TSVGElement& e) { return &e.SystemLanguages(); })
            .Take());
    return info;
}

TSVGElement::TSVGElement(TSVGDocument* aOwner)
    : FOwner(aOwner)
{
    FItems.OnNotify = [this](TSVGElement* const& Item, TCollectionNotification Action) { ItemsNotify(Item, Action); };
    if (FOwner)
        SetID(FOwner->NewProvisionalID());
}

TSVGElement::~TSVGElement()
{
    FElementState.Include(esDestroying);
    FItems.Clear();
    if (FParent) {
        TSVGElement* parent = FParent;
        parent->FItems.Extract(this);
        FParent = nullptr;
    }
    NotifyListeners(1);
    ClearListeners();
    for (TSVGElement* notifier : std::exchange(FListenedTo, {}))
        notifier->FListeners.Remove(this);
    if (FOwner && !FID.isEmpty())
        FOwner->LeaveID(this, FID);
}

TStringList& TSVGElement::Strings(std::unique_ptr<TStringList>& List) const
{
    if (!List) {
        List = std::make_unique<TStringList>();
        List->OnChange = [self = const_cast<TSVGElement*>(this)](TObject* Sender) { self->SubObjectChanged(Sender); };
    }
    return *List;
}

const TStrings& TSVGElement::StringsOrEmpty(const std::unique_ptr<TStringList>& List)
{
    static const TStringList empty;
    return List ? *List : empty;
}

void TSVGElement::AssignStrings(std::unique_ptr<TStringList>& List, const std::unique_ptr<TStringList>& Source)
{
    if (Source)
        Strings(List).Assign(Source.get());
    else if (List)
        List->Clear();
}

std::unique_ptr<TSVGElement> TSVGElement::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGElement>(aOwner);
}

std::unique_ptr<TSVGElement> TSVGElement::Clone(TSVGDocument* aOwner) const
{
    std::unique_ptr<TSVGElement> clone = Create(aOwner);
    WithinUpdate(*clone, [&] {
        clone->AssignProperties(this);
        TSVGDocument* childOwner = clone->ChildOwner();
        for (const TSVGElement* child : FItems)
            clone->Add(child->Clone(childOwner));
    });
    return clone;
}

void TSVGElement::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TSVGElement*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    // Clear destroys this element's subtree: a source inside it is taken out first and
    // destroyed once copied.
    std::unique_ptr<TSVGElement> detached;
    if (HasDescendant(source)) {
        auto* inside = const_cast<TSVGElement*>(source);
        inside->FParent->FItems.Extract(inside);
        detached.reset(inside);
    }
    WithinUpdate(*this, [&] {
        Clear();
        AssignProperties(source);
        // All clones are made before the first is appended: the source may contain this
        // element, whose children change as they are appended.
        std::vector<std::unique_ptr<TSVGElement>> clones;
        for (const TSVGElement* child : source->FItems)
            clones.push_back(child->Clone(ChildOwner()));
        for (std::unique_ptr<TSVGElement>& clone : clones)
            Add(std::move(clone));
    });
}

TPersistent* TSVGElement::GetOwner() const
{
    return FOwner;
}

void TSVGElement::AssignProperties(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TSVGElement*>(Source);
    if (!source || source == this)
        return;
    SetID(source->FID);
    SetTitle(source->FTitle);
    SetLanguage(source->FLanguage);
    FAttributes = source->FAttributes;
    AssignStrings(FDescription, source->FDescription);
    AssignStrings(FClasses, source->FClasses);
    AssignStrings(FSystemLanguages, source->FSystemLanguages);
    AssignStrings(FRequiredFeatures, source->FRequiredFeatures);
    AssignStrings(FRequiredExtensions, source->FRequiredExtensions);
}

QString TSVGElement::SVGTypeName() const
{
    const TSVGElementType type = SVGType();
    return type == etNone ? ClassName() : NameText(SVGElementNames[static_cast<std::size_t>(type)]);
}

// --- Tree ---

void TSVGElement::SetParent(TSVGElement* Value)
{
    if (Value == this)
        throw EInvalidOperation(messages::SVGOwnParent);
    FParent = Value;
}

void TSVGElement::CheckNewChild(TSVGElement* Item)
{
    const auto refuse = [this, Item](const auto& Error) {
        FItems.Extract(Item);
        throw Error;
    };
    if (Item == this)
        refuse(EInvalidOperation(messages::SVGOwnParent));
    for (const TSVGElement* ancestor = FParent; ancestor; ancestor = ancestor->FParent)
        if (ancestor == Item)
            refuse(EInvalidOperation(messages::SVGDescendantParent));
    if (!ChildSVGTypes().Contains(Item->SVGType()))
        refuse(ESVGException(messages::SVGChildNotAllowed, SVGTypeName(), Item->SVGTypeName()));
}

void TSVGElement::ItemsNotify(TSVGElement* Item, TCollectionNotification Action)
{
    switch (Action) {
    case cnAdded:
        CheckNewChild(Item);
        // An element has one parent: it leaves the former one (for this element, its
        // earlier place in the list).
        if (TSVGElement* former = Item->FParent)
            former->FItems.Extract(Item);
        Item->SetParent(this);
        break;
    case cnRemoved:
        Item->FParent = nullptr;
        delete Item; // the children list owns its items
        break;
    case cnExtracted:
        if (Item->FParent == this && !FItems.Contains(Item))
            Item->SetParent(nullptr);
        break;
    }
    Changed();
}

bool TSVGElement::HasChild(const TSVGElement* aElement) const
{
    return aElement && aElement->FParent == this;
}

bool TSVGElement::HasDescendant(const TSVGElement* aElement) const
{
    // Walking up from aElement finds the same elements as a search of the subtree.
    for (const TSVGElement* ancestor = aElement ? aElement->FParent : nullptr; ancestor; ancestor = ancestor->FParent)
        if (ancestor == this)
            return true;
    return false;
}

bool TSVGElement::HasAncestor(const TSVGElement* aElement) const
{
    return HasDescendant(aElement);
}

bool TSVGElement::HasSibling(const TSVGElement* aElement) const
{
    return FParent && aElement && aElement->FParent == FParent;
}

bool TSVGElement::HasPreceding(const TSVGElement* aElement) const
{
    if (!aElement)
        return false;
    if (aElement->HasAncestor(this))
        return true;
    if (!HasSibling(aElement))
        return false;
    return FParent->FItems.IndexOf(const_cast<TSVGElement*>(aElement)) <
           FParent->FItems.IndexOf(const_cast<TSVGElement*>(this));
}

bool TSVGElement::HasFollowing(const TSVGElement* aElement) const
{
    return HasPreceding(aElement);
}

TSVGCustomViewBox* TSVGElement::GetNearestViewBox()
{
    return FParent ? FParent->GetNearestViewBox() : nullptr;
}

// --- Own values ---

void TSVGElement::SetID(const QString& Key)
{
    if (Key == FID)
        return;
    if (FOwner) {
        if (!Key.isEmpty())
            FOwner->EnterID(this, Key);
        if (!FID.isEmpty())
            FOwner->LeaveID(this, FID);
    }
    FID = Key;
}

void TSVGElement::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    EnabledChanged(Value);
}

void TSVGElement::SetTitle(const QString& Value)
{
    if (Value == FTitle)
        return;
    FTitle = Value;
    Changed();
}

void TSVGElement::SetLanguage(const QString& Value)
{
    if (Value == FLanguage)
        return;
    FLanguage = Value;
    Changed();
}

bool TSVGElement::IsEnabled() const
{
    return FEnabled && (!FParent || FParent->IsEnabled());
}

void TSVGElement::Clear()
{
    WithinUpdate(*this, [this] {
        SetTitle({});
        SetEnabled(true);
        for (auto* list : {&FDescription, &FClasses, &FRequiredExtensions, &FRequiredFeatures, &FSystemLanguages})
            if (*list)
                (*list)->Clear();
        SetLanguage({});
        FItems.Clear();
        ClearListeners();
    });
}

void TSVGElement::Reset()
{
    for (TSVGElement* child : FItems)
        child->Reset();
}

// --- Change notification ---

void TSVGElement::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TSVGElement::ChangeNotification(TSVGElement* aListener)
{
    if (!aListener || FListeners.Contains(aListener))
        return;
    FListeners.Add(aListener);
    aListener->FListenedTo.push_back(this);
}

void TSVGElement::RemoveChangeNotification(TSVGElement* aListener)
{
    if (FListeners.Remove(aListener) < 0)
        return;
    std::vector<TSVGElement*>& notifiers = aListener->FListenedTo;
    notifiers.erase(std::find(notifiers.begin(), notifiers.end(), this));
}

void TSVGElement::ClearListeners()
{
    for (TSVGElement* listener : FListeners) {
        std::vector<TSVGElement*>& notifiers = listener->FListenedTo;
        notifiers.erase(std::find(notifiers.begin(), notifiers.end(), this));
    }
    FListeners.Clear();
}

void TSVGElement::NotifyListeners(int Flag)
{
    // A listener may unregister itself or others (or be destroyed) while it is told:
    // walk a copy and skip those no longer listening.
    const std::vector<TSVGElement*> listeners = FListeners.ToVector();
    for (TSVGElement* listener : listeners)
        if (FListeners.Contains(listener))
            listener->ElementNotification(this, Flag);
}

void TSVGElement::ElementNotification(TSVGElement* /*Sender*/, int /*Flag*/)
{
    Changed();
}

void TSVGElement::EnabledChanged(bool /*Value*/)
{
    Changed();
}

void TSVGElement::Changed()
{
    if (FElementState.Contains(esDestroying))
        return;
    if (FOwner && FOwner != this)
        FOwner->Changed();
}

void TSVGElement::SubObjectChanged(TObject* /*Sender*/)
{
    Changed();
}

std::unique_ptr<TSVGLength> TSVGElement::CreateLength(TSVGUnitFactorsEvent OnUnitFactors, TSVGLengthRangeEvent OnRange)
{
    auto length = std::make_unique<TSVGLength>();
    length->OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };
    length->OnUnitFactors = std::move(OnUnitFactors);
    length->OnRange = std::move(OnRange);
    return length;
}

std::unique_ptr<TSVGLengths> TSVGElement::CreateLengths()
{
    return std::make_unique<TSVGLengths>();
}

// --- Geometry ---

TRectF TSVGElement::GetBoundsRect() const
{
    return {};
}

TRectF TSVGElement::GetBoundsRect(const TMatrix& /*aMatrix*/) const
{
    return {};
}

TSVGUnitFactors TSVGElement::GetUnitFactors() const
{
    return FOwner ? FOwner->GetUnitFactors() : DefaultUnitFactors;
}

TMatrix TSVGElement::FitToRect(const TRectF& aRect) const
{
    return FitToRect(aRect, GetBoundsRect(IdentityMatrix));
}

TMatrix TSVGElement::FitToRect(const TRectF& aRect, const TRectF& TargetRect)
{
    if (TargetRect.Width() == 0 || TargetRect.Height() == 0)
        return IdentityMatrix;
    const TMatrix toOrigin = CreateTranslationMatrix(-TargetRect.Left, -TargetRect.Top);
    const TMatrix scale = CreateScalingMatrix(aRect.Width() / TargetRect.Width(), aRect.Height() / TargetRect.Height());
    return MatrixMultiply(MatrixMultiply(toOrigin, scale), CreateTranslationMatrix(aRect.Left, aRect.Top));
}

TMatrix TSVGElement::GetViewMatrix(const TRectF& aRect) const
{
    return GetViewMatrix(IdentityMatrix, aRect);
}

TMatrix TSVGElement::GetViewMatrix(const TMatrix& /*OldTransformation*/, const TRectF& aRect) const
{
    return FitToRect(aRect);
}

// --- Conditional processing ---

bool TSVGElement::IsDisplayed() const
{
    return HasFeatures() && HasExtensions() && HasLanguages();
}

bool TSVGElement::HasFeatures() const
{
    if (!FOwner)
        return true;
    const TStrings& features = StringsOrEmpty(FRequiredFeatures);
    for (int i = 0; i < features.Count(); ++i)
        if (!FOwner->SupportsFeature(features.Strings(i)))
            return false;
    return true;
}

bool TSVGElement::HasExtensions() const
{
    return StringsOrEmpty(FRequiredExtensions).Count() == 0;
}

bool TSVGElement::HasLanguage(QStringView aLanguage) const
{
    const QStringList languages = SVGSplitItems(FLanguage);
    return std::any_of(languages.begin(), languages.end(),
                       [aLanguage](const QString& language) { return language.startsWith(aLanguage, Qt::CaseInsensitive); });
}

bool TSVGElement::HasLanguages() const
{
    if (!FOwner)
        return true;
    if (!FLanguage.isEmpty() && FOwner->SupportsLanguage(FLanguage))
        return true;
    const TStrings& languages = StringsOrEmpty(FSystemLanguages);
    if (languages.Count() == 0)
        return FLanguage.isEmpty();
    for (int i = 0; i < languages.Count(); ++i)
        if (FOwner->SupportsLanguage(languages.Strings(i)))
            return true;
    return false;
}

// --- XML ---

void TSVGElement::ReadNode(TXMLNode Node, const std::function<void()>& Read)
{
    WithinUpdate(*this, [&] {
        DoParsingNode(this, Node);
        try {
            Read();
        } catch (...) {
            ExcludeState(esReading);
            throw;
        }
        DoParsedNode(this);
    });
}

void TSVGElement::WriteNode(TXMLNode Node, const std::function<void()>& Write)
{
    if (!DoSavingElement(this, Node))
        return;
    try {
        Write();
    } catch (...) {
        ExcludeState(esWriting);
        throw;
    }
    DoSavedElement(this, Node);
}

void TSVGElement::LoadFromXML(TXMLNode Node)
{
    ReadNode(Node, [&] { ReadAttributes(Node); });
}

void TSVGElement::SaveToXML(TXMLNode Node)
{
    WriteNode(Node, [&] { WriteAttributes(Node); });
}

QString TSVGElement::ToString()
{
    const TXMLDocument xml = TXMLDocument::CreateDocument(SVGTypeName());
    SaveToXML(xml.DocumentElement());
    return QString::fromUtf8(xml.SaveToBytes());
}

bool TSVGElement::IsCompactExport() const
{
    return FOwner && FOwner->IsCompactExport();
}

void TSVGElement::ApplyStyles()
{
    for (int i = 0; i < FItems.Count(); ++i)
        FItems[i]->ApplyStyles();
}

int TSVGElement::Matches(QStringView /*Selector*/) const
{
    return -1;
}

void TSVGElement::ReadAttributes(TXMLNode Node)
{
    SetID(SVGReadAttribute(Node, QStringLiteral("id"), FID));
    SetLanguage(SVGReadAttribute(Node, QStringLiteral("lang")));
    QString title = SVGReadChildText(Node, QStringLiteral("title"));
    if (title.isEmpty())
        title = SVGReadAttribute(Node, QStringLiteral("title"));
    SetTitle(title);
    // The lists come to exist only when there is something to put in them or to clear.
    const QString description = SVGReadChildText(Node, QStringLiteral("desc"));
    if (FDescription || !description.isEmpty())
        Strings(FDescription).SetText(description);
    const QStringList classes = SVGSplitItems(SVGReadAttribute(Node, QStringLiteral("class")));
    if (FClasses || !classes.isEmpty()) {
        WithinUpdate(Strings(FClasses), [&] {
            FClasses->Clear();
            for (const QString& name : classes)
                FClasses->Add(name);
        });
    }
    const std::pair<QString, std::unique_ptr<TStringList>*> conditions[] = {
        {QStringLiteral("requiredFeatures"), &FRequiredFeatures},
        {QStringLiteral("requiredExtensions"), &FRequiredExtensions},
        {QStringLiteral("systemLanguage"), &FSystemLanguages},
    };
    for (const auto& [name, list] : conditions)
        if (Node.HasAttribute(name))
            SVGReadStrings(Node, name, Strings(*list));
}

void TSVGElement::WriteAttributes(TXMLNode Node)
{
    SVGWriteAttribute(Node, QStringLiteral("id"), FID, FID.isEmpty() || FID.startsWith(ProvisionalIDPrefix));
    SVGWriteAttribute(Node, QStringLiteral("lang"), FLanguage, FLanguage.isEmpty());
    SVGWriteChildText(Node, QStringLiteral("title"), FTitle, FTitle.isEmpty());
    const TStrings& lines = StringsOrEmpty(FDescription);
    QStringList description;
    for (int i = 0; i < lines.Count(); ++i)
        description += lines.Strings(i);
    SVGWriteChildText(Node, QStringLiteral("desc"), description.join(u'\n'), description.isEmpty());
    const std::pair<QString, const std::unique_ptr<TStringList>*> lists[] = {
        {QStringLiteral("class"), &FClasses},
        {QStringLiteral("requiredFeatures"), &FRequiredFeatures},
        {QStringLiteral("requiredExtensions"), &FRequiredExtensions},
        {QStringLiteral("systemLanguage"), &FSystemLanguages},
    };
    for (const auto& [name, list] : lists) {
        const TStrings& strings = StringsOrEmpty(*list);
        SVGWriteStrings(Node, name, strings, u' ', strings.Count() == 0);
    }
}

// --- Owner-side hooks ---

void TSVGElement::DoParsingNode(TSVGElement* Element, TXMLNode Node)
{
    if (FOwner)
        FOwner->DoParsingNode(Element, Node);
    Element->IncludeState(esReading);
}

void TSVGElement::DoParsedNode(TSVGElement* Element)
{
    if (FOwner)
        FOwner->DoParsedNode(Element);
    Element->ExcludeState(esReading);
}

bool TSVGElement::DoSavingElement(TSVGElement* Element, TXMLNode Node)
{
    const bool save = FOwner ? FOwner->DoSavingElement(Element, Node) : Element->IsEnabled();
    if (save)
        Element->IncludeState(esWriting);
    return save;
}

void TSVGElement::DoSavedElement(TSVGElement* Element, TXMLNode Node)
{
    if (FOwner)
        FOwner->DoSavedElement(Element, Node);
    Element->ExcludeState(esWriting);
}

} // namespace velk

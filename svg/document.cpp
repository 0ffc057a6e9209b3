#include "svg/document.h"

#include "platform/float_format.h"
#include "platform/streams.h"
#include "svg/cascade_rules.h"
#include "svg/exceptions.h"
#include "svg/features.h"
#include "svg/split_lines.h"
#include "svg/style_sheet.h"
#include "svg/trim.h"
#include "svg/xml_attributes.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace velk {

namespace {

// Text handed to the parser, as UTF-16 with a byte order mark. The text is already
// decoded: an encoding named by its XML declaration would make the parser decode it a
// second time, so the declaration is made to name UTF-16.
TXMLDocument ParseText(const QString& Text)
{
    static const QRegularExpression Declaration(
        QStringLiteral("^\\x{FEFF}?<\\?xml\\s[^>]*?\\bencoding\\s*=\\s*(\"[^\"]*\"|'[^']*')"));
    QString text = Text;
    if (const QRegularExpressionMatch match = Declaration.match(Text); match.hasMatch())
        text.replace(match.capturedStart(1), match.capturedLength(1), QStringLiteral("\"UTF-16\""));
    if (!text.startsWith(QChar::ByteOrderMark))
        text.prepend(QChar::ByteOrderMark);
    return TXMLDocument::LoadFromBytes(
        QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * qsizetype(sizeof(char16_t))));
}

QStringList UserLanguages()
{
    return QLocale::system().uiLanguages();
}

} // namespace

const TClassInfo& TSVGDocument::StaticClass()
{
    static const TClassInfo info(
        QStringLiteral("TSVGDocument"), &TSVGCustomViewBox::StaticClass(), &CreateInstance<TSVGDocument>,
        TPublished<TSVGDocument>()
            .Integer(QStringLiteral("DPI"), &TSVGDocument::DPI, &TSVGDocument::SetDPI, SVGDefaultDPI)
            .Object(QStringLiteral("DefaultAspectRatio"), [](const TSVGDocument& d) { return &d.DefaultAspectRatio(); })
            .Enumeration(QStringLiteral("DefaultColorInterpolation"), &TSVGDocument::DefaultColorInterpolation,
                         &TSVGDocument::SetDefaultColorInterpolation, sciSRGB)
            .Enumeration(QStringLiteral("DefaultColorRendering"), &TSVGDocument::DefaultColorRendering,
                         &TSVGDocument::SetDefaultColorRendering, clrnAuto)
            .Enumeration(QStringLiteral("DefaultShapeRendering"), &TSVGDocument::DefaultShapeRendering,
                         &TSVGDocument::SetDefaultShapeRendering, srnGeometricPrecision)
            .Enumeration(QStringLiteral("DefaultTextRendering"), &TSVGDocument::DefaultTextRendering,
                         &TSVGDocument::SetDefaultTextRendering, txrnAuto)
            .String(QStringLiteral("FormatStr"), &TSVGDocument::FormatStr, &TSVGDocument::SetFormatStr,
                    SVGDefaultFormatStr)
            .Set(QStringLiteral("Options"), &TSVGDocument::Options, &TSVGDocument::SetOptions, SVGDefaultOptions)
            .String(QStringLiteral("PreferredLanguage"), &TSVGDocument::PreferredLanguage,
                    &TSVGDocument::SetPreferredLanguage)
            .Event(QStringLiteral("OnChange"))
            .Event(QStringLiteral("OnParsingNode"))
            .Event(QStringLiteral("OnParsedNode"))
            .Event(QStringLiteral("OnSavingElement"))
            .Event(QStringLiteral("OnSavedElement"))
            .Event(QStringLiteral("OnAddStyle"))
            .Event(QStringLiteral("OnRemoveStyle"))
            .Take());
    return info;
}

TSVGDocument::TSVGDocument(TSVGDocument* aOwner)
    : TSVGCustomViewBox(aOwner),
      FDefaultAspectRatio(std::make_unique<TSVGPreserveAspectRatio>()),
      FPrefLanguages(std::make_unique<TStringList>()),
      FUnitFactors(SVGUnitFactorsForDPI(SVGDefaultDPI))
{
    FAllItems.OnValueNotify = [this](TObject*, TSVGElement* const& Element, TCollectionNotification Action) {
        IDTableNotify(Element, Action);
    };
    FStyles.OnValueNotify = [this](TObject*, TSVGStyle* const& Style, TCollectionNotification Action) {
        StyleTableNotify(Style, Action);
    };
    // Whenever the ID table is empty (it raises no notifications while it is cleared),
    // so are the lists that follow it.
    FAllItems.OnChange = [this](TObject*) {
        if (FAllItems.Empty()) {
            FGradients.Clear();
            FMarkers.Clear();
            FPatterns.Clear();
            FListedEntries.clear();
        }
    };
    FDefaultAspectRatio->OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };
    FPrefLanguages->OnChange = [this](TObject* Sender) { SubObjectChanged(Sender); };
    if (aOwner) {
        // Otherwise the content of a nested svg element would be read, measured and
        // written under settings the program never chose.
        FOptions = aOwner->FOptions;
        FDPI = aOwner->FDPI;
        FUnitFactors = aOwner->FUnitFactors;
        FFormatStr = aOwner->FFormatStr;
        FPrefLanguages->Assign(aOwner->FPrefLanguages.get());
    } else {
        const QStringList languages = UserLanguages();
        WithinUpdate(*FPrefLanguages, [&] {
            for (const QString& language : languages)
                FPrefLanguages->Add(language);
        });
    }
    SetHeight(100);
    SetWidth(100);
    SetViewBox(MakeRectF(0, 0, 100, 100));
}

TSVGDocument::~TSVGDocument()
{
    IncludeState(esDestroying);
    // The children leave this document's ID table while it still exists.
    Items().Clear();
    FAllItems.OnValueNotify = nullptr;
    FAllItems.OnChange = nullptr;
    // The rules go without events: nobody may look at a document being destroyed.
    std::vector<std::unique_ptr<TSVGStyle>> rules;
    for (TSVGStyle* rule : FStyles.Values().ToArray())
        rules.emplace_back(rule);
    FStyles.Clear();
}

std::unique_ptr<TSVGElement> TSVGDocument::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGDocument>(aOwner);
}

TSVGElementTypes TSVGDocument::ChildSVGTypes() const
{
    return SVGShapeElementTypes + SVGDescriptiveElementTypes + SVGStructuralElementTypes + SVGGradientElementTypes +
           TSVGElementTypes{etImage, etText, etSwitch, etStyle, etClipPath, etMarker, etScript, etPattern};
}

void TSVGDocument::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGDocument*>(Source); source && source != this) {
        FDPI = source->FDPI;
        FUnitFactors = source->FUnitFactors;
        FOptions = source->FOptions;
        FFormatStr = source->FFormatStr;
        FDefaultShapeRendering = source->FDefaultShapeRendering;
        FDefaultColorRendering = source->FDefaultColorRendering;
        FDefaultTextRendering = source->FDefaultTextRendering;
        FDefaultColorInterpolation = source->FDefaultColorInterpolation;
        FPrefLanguages->Assign(source->FPrefLanguages.get());
        CopyStyles(source->FStyles);
        FDefaultAspectRatio->Assign(source->FDefaultAspectRatio.get());
    }
    TSVGCustomViewBox::AssignProperties(Source);
}

void TSVGDocument::Clear()
{
    WithinUpdate(*this, [this] {
        TSVGCustomViewBox::Clear();
        FAllItems.Clear();
        FDuplicateIDs.clear();
        FProvisionalCount = 0;
        ClearStyles();
    });
}

int TSVGDocument::CreateChildElement(TXMLNode Node)
{
    switch (SVGNameToElementType(Node.LocalName())) {
    case etDesc:
    case etTitle:
    case etComment:
        return -1;
    default:
        return TSVGCustomViewBox::CreateChildElement(Node);
    }
}

// --- Loading ---

void TSVGDocument::LoadFromFile(const QString& FileName)
{
    const std::unique_ptr<QFile> file = OpenFileForReading(FileName);
    LoadFromStream(*file);
}

void TSVGDocument::LoadFromStream(QIODevice& Stream)
{
    LoadFromXML(TXMLDocument::LoadFromDevice(Stream));
}

void TSVGDocument::LoadFromText(const QString& Text)
{
    LoadFromXML(ParseText(Text));
}

void TSVGDocument::LoadFromXML(const TXMLDocument& XML)
{
    const TXMLNode root = XML.DocumentElement();
    if (root.LocalName() != u"svg")
        throw ESVGException(messages::SVGInvalidDocument);
    LoadFromXML(root);
}

void TSVGDocument::LoadFromXML(TXMLNode Node)
{
    if (Node.LocalName() != u"svg")
        return;
    WithinUpdate(*this, [&] {
        Clear();
        // SVG's initial width and height of an svg element, kept when the attributes miss.
        WidthLength().SetAsUnit(suPercent, 1);
        HeightLength().SetAsUnit(suPercent, 1);
        TSVGCustomViewBox::LoadFromXML(Node);
        // The whole tree and every style sheet are read: one cascade styles it.
        ApplyStyles();
    });
}

bool TSVGDocument::IsValidSVG(const QString& FileName, bool StrictVerification)
{
    try {
        return IsValidSVG(TXMLDocument::LoadFromFile(FileName), StrictVerification);
    } catch (const std::exception&) {
        return false;
    }
}

bool TSVGDocument::IsValidSVG(QIODevice& Stream, bool StrictVerification)
{
    try {
        return IsValidSVG(TXMLDocument::LoadFromDevice(Stream), StrictVerification);
    } catch (const std::exception&) {
        return false;
    }
}

bool TSVGDocument::IsValidSVG(bool StrictVerification, const QString& Text)
{
    try {
        return IsValidSVG(ParseText(Text), StrictVerification);
    } catch (const std::exception&) {
        return false;
    }
}

bool TSVGDocument::IsValidSVG(const TXMLDocument& XML, bool StrictVerification)
{
    if (!StrictVerification)
        return XML.DocumentElement().LocalName() == u"svg";
    try {
        TSVGDocument document;
        document.LoadFromXML(XML);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// --- Saving ---

void TSVGDocument::SaveToFile(const QString& FileName, int SplitPathLines)
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(messages::FCreateError, FileName, file.errorString());
    SaveToStream(file, SplitPathLines);
    if (!file.commit())
        throw EFCreateError(messages::FCreateError, FileName, file.errorString());
}

void TSVGDocument::SaveToStream(QIODevice& Stream, int SplitPathLines)
{
    TXMLDocument xml;
    SaveToXML(xml);
    QByteArray data = xml.SaveToBytes();
    if (SplitPathLines > 32) {
        QStringList lines = QString::fromUtf8(data).split(u'\n');
        SVGSplitLines(lines, SplitPathLines);
        data = lines.join(u'\n').toUtf8();
    }
    WriteBuffer(Stream, data.constData(), data.size());
}

void TSVGDocument::SaveToXML(TXMLDocument& XML)
{
    XML = TXMLDocument::CreateDocument(QStringLiteral("svg"), SVGNamespaceURI);
    SaveToXML(XML.DocumentElement());
}

void TSVGDocument::WriteAttributes(TXMLNode Node)
{
    // A nested document finds them declared already.
    if (Node.FindNamespaceURI({}) != SVGNamespaceURI)
        Node.DeclareNamespace({}, SVGNamespaceURI);
    if (Node.FindNamespaceURI(QStringLiteral("xlink")) != XLinkNamespaceURI)
        Node.DeclareNamespace(QStringLiteral("xlink"), XLinkNamespaceURI);
    TSVGCustomViewBox::WriteAttributes(Node);
    WriteSizeAttributes(Node);
    // 100% is what a missing width or height reads as.
    const auto omitFull = [&](const QString& Name, const TSVGLength& Length) {
        if (IsCompactExport() && Length.IsPercent() && Length.Raw() == 1)
            SVGWriteAttribute(Node, Name, {}, true);
    };
    omitFull(u"width"_qs, WidthLength());
    omitFull(u"height"_qs, HeightLength());
    SVGWriteAttribute(Node, QStringLiteral("version"), QStringLiteral("1.1"));
    WriteStyleRules(Node);
}

// Whether "Selector { Block }" reads back as this one rule. A selector the sheet
// splitter cuts (blanks, commas) or a text that opens or closes a block or a comment
// would read back as other rules, and a repeated selector fails the whole load.
static bool RuleReadsBack(const QString& Selector, const QString& Block)
{
    const QString text = Selector + QStringLiteral(" { ") + Block + QStringLiteral(" }");
    if (text.contains(u"/*") || text.contains(u"*/"))
        return false;
    int rules = 0;
    bool same = false;
    SVGSplitStyleSheet(text, [&](const QString& selector, const QString& declarations) {
        ++rules;
        same = selector == Selector && declarations.trimmed() == Block;
    });
    return rules == 1 && same;
}

// In the table's order, which is the order the rules were read in unless some were
// removed since: for other readers, a later rule of equal specificity wins. Rules that
// would not read back as themselves (made by a program, or from a malformed sheet) are
// left out, so that what is saved always loads.
void TSVGDocument::WriteStyleRules(TXMLNode Node) const
{
    QStringList rules;
    for (const auto& pair : FStyles) {
        if (!pair.Value->Enabled())
            continue;
        const TStringList& values = *pair.Value->StyleValues();
        QStringList declarations;
        for (int i = 0; i < values.Count(); ++i)
            declarations += values.Names(i) + QStringLiteral(": ") + values.ValueFromIndex(i);
        const QString block = declarations.join(QStringLiteral("; "));
        if (RuleReadsBack(pair.Key, block))
            rules += pair.Key + QStringLiteral(" { ") + block + QStringLiteral(" }");
    }
    if (rules.isEmpty())
        return;
    TXMLNode style = Node.AddChild(QStringLiteral("style"), SVGNamespaceURI);
    style.SetAttribute(QStringLiteral("type"), QStringLiteral("text/css"));
    style.AddText(rules.join(u'\n'));
}

// --- Styles ---

TSVGStyle* TSVGDocument::AddStyleRule(const QString& aName, const QString& aStyles)
{
    return AddRule(aName, std::make_unique<TSVGStyle>(aName, aStyles));
}

TSVGStyle* TSVGDocument::AddRule(const QString& Key, std::unique_ptr<TSVGStyle> Rule)
{
    TSVGStyle* added = Rule.get();
    try {
        FStyles.Add(Key, added);
    } catch (...) {
        // Once in the table (a handler of the add raised) the rule belongs to the table.
        TSVGStyle* stored = nullptr;
        if (FStyles.TryGetValue(Key, stored) && stored == added)
            Rule.release();
        throw;
    }
    Rule.release();
    return added;
}

void TSVGDocument::AddStyleSheet(const QString& Text)
{
    SVGSplitStyleSheet(Text, [this](const QString& Selector, const QString& Declarations) {
        AddStyleRule(Selector, Declarations);
    });
}

void TSVGDocument::ReadStyleElement(TXMLNode Node)
{
    // Only CSS (the default type) is understood; another style language is skipped.
    const QString type = SVGTrim(SVGReadAttribute(Node, QStringLiteral("type"))).toString();
    if (!type.isEmpty() && type.compare(u"text/css", Qt::CaseInsensitive) != 0)
        return;
    for (TXMLNode child = Node.FirstChild(); !child.IsNull(); child = child.NextSibling())
        if (child.NodeType() == ntCData)
            AddStyleSheet(child.Text());
    const TXMLNode first = Node.FirstChild();
    if (!first.IsNull() && first.NodeType() == ntText && first.NextSibling().IsNull())
        AddStyleSheet(first.Text());
}

void TSVGDocument::SetStyles(const TSVGStyleTable& Value)
{
    if (&Value != &FStyles)
        CopyStyles(Value);
}

void TSVGDocument::CopyStyles(const TSVGStyleTable& Source)
{
    ClearStyles();
    for (const auto& pair : Source) {
        auto rule = std::make_unique<TSVGStyle>();
        rule->Assign(pair.Value);
        rule->SetEnabled(pair.Value->Enabled());
        AddRule(pair.Key, std::move(rule));
    }
}

void TSVGDocument::ClearStyles()
{
    if (FStyles.Count() == 0)
        return;
    // The table raises no notifications while it is cleared: each rule is announced and
    // freed here.
    std::vector<std::unique_ptr<TSVGStyle>> rules;
    for (TSVGStyle* rule : FStyles.Values().ToArray())
        rules.emplace_back(rule);
    FStyles.Clear();
    for (const std::unique_ptr<TSVGStyle>& rule : rules)
        if (OnRemoveStyle)
            OnRemoveStyle(this, rule.get());
    Changed();
}

void TSVGDocument::StyleTableNotify(TSVGStyle* Style, TCollectionNotification Action)
{
    switch (Action) {
    case cnAdded:
        if (OnAddStyle)
            OnAddStyle(this, Style);
        break;
    case cnRemoved: {
        const std::unique_ptr<TSVGStyle> removed(Style); // freed after the event
        if (OnRemoveStyle)
            OnRemoveStyle(this, Style);
        break;
    }
    case cnExtracted:
        if (OnRemoveStyle)
            OnRemoveStyle(this, Style);
        break;
    }
    Changed();
}

// --- ID table ---

QString TSVGDocument::NewProvisionalID()
{
    QString id;
    do
        id = QStringLiteral("ID#") + QString::number(FProvisionalCount++);
    while (FAllItems.ContainsKey(id));
    return id;
}

void TSVGDocument::EnterID(TSVGElement* Element, const QString& Key)
{
    TSVGElement* holder = nullptr;
    if (FOptions.Contains(soEnforceUniqueID) || !FAllItems.TryGetValue(Key, holder) || !holder) {
        FAllItems.Add(Key, Element);
        return;
    }
    if (holder == Element)
        return;
    // The waiting carriers are kept in document order. A file being read adds each one
    // after all the others: the search from the end stops at once.
    QList<TSVGElement*>& carriers = FDuplicateIDs[Key];
    if (PrecedesInDocument(Element, holder)) {
        carriers.prepend(holder);
        FAllItems.AddOrSetValue(Key, Element);
        return;
    }
    qsizetype at = carriers.size();
    while (at > 0 && PrecedesInDocument(Element, carriers[at - 1]))
        --at;
    carriers.insert(at, Element);
}

void TSVGDocument::LeaveID(TSVGElement* Element, const QString& Key)
{
    TSVGElement* holder = nullptr;
    const bool held = FAllItems.TryGetValue(Key, holder) && holder == Element;
    const auto waiting = FDuplicateIDs.find(Key);
    if (waiting == FDuplicateIDs.end()) {
        if (held)
            FAllItems.Remove(Key);
        return;
    }
    QList<TSVGElement*>& carriers = waiting.value();
    if (!held) {
        // Searched from the end: a subtree is destroyed from its last element on.
        if (const qsizetype at = carriers.lastIndexOf(Element); at >= 0)
            carriers.remove(at);
    } else {
        holder = carriers.takeFirst();
        // A waiting carrier holds no other entry (see IDTableNotify).
        FPromotedCarrier = holder;
        FAllItems.AddOrSetValue(Key, holder);
        FPromotedCarrier = nullptr;
    }
    if (carriers.isEmpty())
        FDuplicateIDs.erase(waiting);
}

bool TSVGDocument::PrecedesInDocument(const TSVGElement* A, const TSVGElement* B) const
{
    // The paths from the tree's root down to A and to B; they part below their
    // nearest common ancestor, where the children's order decides.
    const auto pathFromRoot = [](const TSVGElement* Element) {
        std::vector<const TSVGElement*> path;
        for (; Element; Element = Element->Parent())
            path.push_back(Element);
        std::reverse(path.begin(), path.end());
        return path;
    };
    const std::vector<const TSVGElement*> a = pathFromRoot(A);
    const std::vector<const TSVGElement*> b = pathFromRoot(B);
    if (a.front() != b.front()) {
        const TSVGElement* root = pathFromRoot(this).front();
        return a.front() == root;
    }
    std::size_t depth = 1;
    while (depth < a.size() && depth < b.size() && a[depth] == b[depth])
        ++depth;
    if (depth == a.size())
        return depth < b.size(); // A is an ancestor of B
    if (depth == b.size())
        return false; // B is an ancestor of A
    // Searched from the end, where a file being read adds its elements.
    const TSVGElement* const parent = a[depth - 1];
    for (int i = parent->Count() - 1; i >= 0; --i) {
        const TSVGElement* child = parent->Child(i);
        if (child == a[depth])
            return false;
        if (child == b[depth])
            return true;
    }
    return false;
}

TList<TSVGElement*>* TSVGDocument::TypeList(TSVGElementType Type)
{
    switch (Type) {
    case etLinearGradient:
    case etRadialGradient:
        return &FGradients;
    case etMarker:
        return &FMarkers;
    case etPattern:
        return &FPatterns;
    default:
        return nullptr;
    }
}

void TSVGDocument::IDTableNotify(TSVGElement* Element, TCollectionNotification Action)
{
    // Entries are counted, not elements: SetID adds the new key before it drops the old
    // one, and an element must stay listed through that.
    const auto listed = FListedEntries.find(Element);
    if (Action == cnAdded) {
        if (listed != FListedEntries.end()) {
            ++listed->second;
            return;
        }
        TList<TSVGElement*>* list = TypeList(Element->SVGType());
        if (!list)
            return;
        // The entry an element makes while it is constructed (its provisional ID) came
        // before its type was known: it is counted now when it is still there. The key
        // just added differs from the element's ID, which SetID changes last.
        TSVGElement* entry = nullptr;
        const bool earlier = Element != FPromotedCarrier && !Element->ID().isEmpty() &&
                             FAllItems.TryGetValue(Element->ID(), entry) && entry == Element;
        FListedEntries.emplace(Element, earlier ? 2 : 1);
        list->Add(Element);
        return;
    }
    // By identity: an element leaving the table from its destructor no longer knows its type.
    if (listed == FListedEntries.end() || --listed->second > 0)
        return;
    FListedEntries.erase(listed);
    if (FGradients.Remove(Element) < 0 && FMarkers.Remove(Element) < 0)
        FPatterns.Remove(Element);
}

// --- Conditional processing ---

bool TSVGDocument::SupportsFeature(QStringView Feature) const
{
    return SVGSupportsFeature(Feature);
}

bool TSVGDocument::SupportsLanguage(QStringView Language) const
{
    const QStringList items = SVGSplitItems(Language);
    if (items.isEmpty())
        return false;
    QStringList preferences;
    if (FOptions.Contains(soUseLocaleForLanguage)) {
        preferences = UserLanguages();
    } else {
        for (int i = 0; i < FPrefLanguages->Count(); ++i)
            preferences += FPrefLanguages->Strings(i);
    }
    // "en-US" preferred accepts "en"; "en" preferred accepts "en-US" too, as SVG's
    // language test matches a preference that is a whole-subtag prefix of the item.
    const auto matches = [](const QString& Preference, const QString& Item) {
        if (Preference.startsWith(Item, Qt::CaseInsensitive))
            return true;
        return Item.size() > Preference.size() && Item[Preference.size()] == u'-' &&
               Item.startsWith(Preference, Qt::CaseInsensitive);
    };
    return std::any_of(preferences.begin(), preferences.end(), [&](const QString& preference) {
        return std::any_of(items.begin(), items.end(), [&](const QString& item) { return matches(preference, item); });
    });
}

// --- Settings ---

void TSVGDocument::SetDPI(int Value)
{
    if (Value == FDPI)
        return;
    FDPI = std::max(Value, SVGMinDPI);
    FUnitFactors = SVGUnitFactorsForDPI(FDPI);
}

void TSVGDocument::SetOptions(TSVGOptions Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    Reset();
    Changed();
}

void TSVGDocument::SetFormatStr(const QString& Value)
{
    if (Value == FFormatStr)
        return;
    FormatFloat(Value, 123.45); // a pattern the formatter rejects raises before anything changes
    FFormatStr = Value;
}

void TSVGDocument::SetDefaultShapeRendering(TSVGShapeRendering Value)
{
    if (Value == FDefaultShapeRendering)
        return;
    FDefaultShapeRendering = Value;
    Changed();
}

void TSVGDocument::SetDefaultColorRendering(TSVGColorRendering Value)
{
    if (Value == FDefaultColorRendering)
        return;
    FDefaultColorRendering = Value;
    Changed();
}

void TSVGDocument::SetDefaultTextRendering(TSVGTextRendering Value)
{
    if (Value == FDefaultTextRendering)
        return;
    FDefaultTextRendering = Value;
    Changed();
}

void TSVGDocument::SetDefaultColorInterpolation(TSVGColorInterpolation Value)
{
    if (Value == FDefaultColorInterpolation)
        return;
    FDefaultColorInterpolation = Value;
    Changed();
}

// --- Owner side of the element hooks ---

void TSVGDocument::DoParsingNode(TSVGElement* Element, TXMLNode Node)
{
    // The document that holds a nested one hears of its elements too.
    Element->IncludeState(esReading);
    if (Owner())
        Owner()->DoParsingNode(Element, Node);
    if (OnParsingNode)
        OnParsingNode(Element, Node);
}

void TSVGDocument::DoParsedNode(TSVGElement* Element)
{
    if (OnParsedNode)
        OnParsedNode(this, Element);
    if (Owner())
        Owner()->DoParsedNode(Element);
    Element->ExcludeState(esReading);
}

bool TSVGDocument::DoSavingElement(TSVGElement* Element, TXMLNode Node)
{
    bool save = Element->IsEnabled() || FOptions.Contains(soExportDisabled);
    if (save && OnSavingElement)
        OnSavingElement(this, Element, Node, save);
    if (save && Owner())
        save = Owner()->DoSavingElement(Element, Node);
    if (save)
        Element->IncludeState(esWriting);
    return save;
}

void TSVGDocument::DoSavedElement(TSVGElement* Element, TXMLNode Node)
{
    if (OnSavedElement)
        OnSavedElement(this, Element, Node);
    if (Owner())
        Owner()->DoSavedElement(Element, Node);
    Element->ExcludeState(esWriting);
}

void TSVGDocument::Changed()
{
    TSVGCustomViewBox::Changed();
    if (UpdateCount() == 0 && !ElementState().Contains(esDestroying) && OnChange)
        OnChange(this);
}

} // namespace velk

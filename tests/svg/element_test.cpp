// The element tree: types and the class table, provisional IDs and the ID table, tree
// integrity and queries, listeners, assignment and cloning, conditional processing,
// view matrices, and reading and writing of the core attributes.

#include "platform/xml/document.h"
#include "svg/document.h"
#include "svg/element_registry.h"
#include "svg/exceptions.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

using testing::MessageOf;

QString Q(const char16_t* Text)
{
    return QString::fromUtf16(Text);
}

// A document whose language tests use PreferredLanguage rather than the user's locale.
std::unique_ptr<TSVGDocument> NewDocument(const QString& Languages = QStringLiteral("en-US,fr"))
{
    auto doc = std::make_unique<TSVGDocument>();
    doc->SetOptions(doc->Options().Exclude(soUseLocaleForLanguage));
    doc->SetPreferredLanguage(Languages);
    return doc;
}

TSVGGroup* AddGroup(TSVGElement& Parent, const QString& ID = {})
{
    TSVGGroup* group = Parent.Add(std::make_unique<TSVGGroup>(Parent.ChildOwner()));
    if (!ID.isEmpty())
        group->SetID(ID);
    return group;
}

// --- Types and the class table ---

TEST(SVGElementTypes, TagNamesAreCaseSensitive)
{
    const struct {
        const char16_t* Name;
        TSVGElementType Type;
    } cases[] = {
        {u"svg", etDoc},          {u"g", etGroup},       {u"rect", etRectangle}, {u"textPath", etTextPath},
        {u"stop", etGradientStop}, {u"pattern", etPattern}, {u"Rect", etNone},      {u"textpath", etNone},
        {u"a", etAnchor},         {u"A", etNone},
        {u"", etNone},            {u"svg:svg", etNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SVGNameToElementType(Q(c.Name)), c.Type) << Q(c.Name).toStdString();
}

TEST(SVGElementTypes, TypeNames)
{
    TSVGDocument doc;
    EXPECT_EQ(doc.SVGTypeName(), "svg");
    EXPECT_EQ(TSVGGroup().SVGTypeName(), "g");
    EXPECT_EQ(TSVGElement().SVGTypeName(), "TSVGElement"); // etNone: the class name
}

TEST(SVGElementClasses, RegisteredClassesAreFoundAndCreated)
{
    const TSVGElementClass& group = GetSVGElementClass(u"TSVGGroup");
    EXPECT_EQ(group.Info, &TSVGGroup::StaticClass());
    EXPECT_EQ(&group, &SVGElementClasses()[etGroup]);
    EXPECT_EQ(SVGElementClasses()[etDoc].Info, &TSVGDocument::StaticClass());
    EXPECT_EQ(FindSVGElementClass(u"tsvggroup"), nullptr);
    EXPECT_EQ(CreateSVGElement(etGradientStop, nullptr), nullptr); // no class yet
    EXPECT_EQ(MessageOf<EClassNotFound>([] { GetSVGElementClass(u"TSVGNoSuchClass"); }),
              "Class TSVGNoSuchClass not found");

    TSVGDocument doc;
    for (const TSVGElementClass& entry : SVGElementClasses()) {
        if (!entry)
            continue;
        const std::unique_ptr<TSVGElement> element = entry.Create(&doc);
        EXPECT_EQ(&element->ClassInfo(), entry.Info);
        EXPECT_EQ(element->Owner(), &doc);
        EXPECT_EQ(&element->Clone(&doc)->ClassInfo(), entry.Info);
    }
}

// --- IDs ---

TEST(SVGElementID, ProvisionalIDsCountUpAndSkipTakenKeys)
{
    const struct {
        std::vector<const char16_t*> Taken; // IDs given before the new elements
        std::vector<const char16_t*> Expected;
    } cases[] = {
        {{}, {u"ID#0", u"ID#1", u"ID#2"}},
        {{u"ID#1"}, {u"ID#2", u"ID#3"}}, // the element renamed "ID#1" had "ID#0" first
        {{u"ID#1", u"ID#2"}, {u"ID#3", u"ID#4"}},
        {{u"ID#0x"}, {u"ID#1", u"ID#2"}},
    };
    for (const auto& c : cases) {
        TSVGDocument doc;
        std::vector<std::unique_ptr<TSVGElement>> elements;
        for (const char16_t* id : c.Taken) {
            elements.push_back(std::make_unique<TSVGElement>(&doc));
            elements.back()->SetID(Q(id));
        }
        for (const char16_t* expected : c.Expected) {
            elements.push_back(std::make_unique<TSVGElement>(&doc));
            EXPECT_EQ(elements.back()->ID(), Q(expected));
            EXPECT_EQ(doc.AllItems().Get(Q(expected)), elements.back().get());
        }
    }
    EXPECT_EQ(TSVGElement().ID(), ""); // no owner, no ID
}

TEST(SVGElementID, ProvisionalIDsAreNeverWritten)
{
    TSVGDocument doc;
    TSVGGroup* provisional = AddGroup(doc);
    TSVGGroup* read = AddGroup(doc, QStringLiteral("ID#7"));
    TSVGGroup* named = AddGroup(doc, QStringLiteral("logo"));
    EXPECT_FALSE(provisional->ToString().contains(u"id="));
    EXPECT_EQ(read->ID(), "ID#7"); // kept in memory
    EXPECT_FALSE(read->ToString().contains(u"id="));
    EXPECT_TRUE(named->ToString().contains(u"id=\"logo\""));
}

TEST(SVGElementID, TakeoverAndUniqueIDs)
{
    for (const bool enforce : {false, true}) {
        TSVGDocument doc;
        if (enforce)
            doc.SetOptions(doc.Options().Include(soEnforceUniqueID));
        TSVGGroup* first = AddGroup(doc, QStringLiteral("a"));
        TSVGGroup* second = AddGroup(doc);
        const QString before = second->ID();
        if (enforce) {
            EXPECT_EQ(MessageOf<EListError>([&] { second->SetID(QStringLiteral("a")); }), "Duplicates not allowed");
            EXPECT_EQ(second->ID(), before);
            EXPECT_EQ(doc.AllItems().Get(before), second);
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), first);
        } else {
            // The first carrier in document order holds the entry, whoever came last.
            second->SetID(QStringLiteral("a"));
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), first);
            EXPECT_FALSE(doc.AllItems().ContainsKey(before));
            first->SetID(QStringLiteral("b"));
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), second);
            first->SetID(QStringLiteral("a"));
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), first);
            // An element outside the tree comes after every element in it.
            auto loose = std::make_unique<TSVGGroup>(&doc);
            loose->SetID(QStringLiteral("a"));
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), first);
            doc.Items().Remove(first);
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), second);
            doc.Items().Remove(second);
            EXPECT_EQ(doc.AllItems().Get(QStringLiteral("a")), loose.get());
            loose.reset();
            EXPECT_FALSE(doc.AllItems().ContainsKey(QStringLiteral("a")));
        }
    }
}

TEST(SVGElementID, DestroyedElementsLeaveTheTable)
{
    TSVGDocument doc;
    TSVGGroup* group = AddGroup(doc, QStringLiteral("outer"));
    AddGroup(*group, QStringLiteral("inner"));
    const int count = doc.AllItems().Count();
    doc.Items().Delete(0);
    EXPECT_EQ(doc.AllItems().Count(), count - 2);
    EXPECT_FALSE(doc.AllItems().ContainsKey(QStringLiteral("inner")));
}

// --- Tree ---

TEST(SVGElementTree, ChildTypeErrors)
{
    TSVGDocument doc;
    TSVGGroup* group = AddGroup(doc);
    auto plain = std::make_unique<TSVGElement>(&doc);
    TSVGElement* raw = plain.get();
    EXPECT_EQ(MessageOf<ESVGException>([&] { group->Items().Add(raw); }),
              "SVG element <g> does not allow children of <TSVGElement> element type");
    EXPECT_EQ(group->Count(), 0);
    EXPECT_EQ(raw->Parent(), nullptr);
    EXPECT_EQ(MessageOf<ESVGException>([&] { doc.Add(std::move(plain)); }),
              "SVG element <svg> does not allow children of <TSVGElement> element type");
    EXPECT_EQ(doc.Count(), 1);
}

TEST(SVGElementTree, AnElementHasOneParent)
{
    TSVGDocument doc;
    TSVGGroup* a = AddGroup(doc);
    TSVGGroup* b = AddGroup(doc);
    TSVGGroup* child = AddGroup(*a);
    TSVGGroup* other = AddGroup(*a);

    b->Items().Add(child); // moves: leaves a first
    EXPECT_EQ(child->Parent(), b);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(b->Count(), 1);

    a->Items().Add(other); // appended again to its own parent: moves to the end, once
    a->Items().Insert(0, AddGroup(*b));
    EXPECT_EQ(a->Count(), 2);
    EXPECT_EQ(b->Count(), 1);
    EXPECT_EQ(other->Parent(), a);
}

TEST(SVGElementTree, CyclesAreRefused)
{
    TSVGDocument doc;
    TSVGGroup* top = AddGroup(doc);
    TSVGGroup* middle = AddGroup(*top);
    TSVGGroup* bottom = AddGroup(*middle);
    const struct {
        TSVGElement* Parent;
        TSVGElement* Child;
        const char16_t* Message;
    } cases[] = {
        {bottom, bottom, u"An svg element cannot have itself as its parent"},
        {bottom, top, u"An svg element cannot have its descendant as its parent"},
        {bottom, middle, u"An svg element cannot have its descendant as its parent"},
        {middle, top, u"An svg element cannot have its descendant as its parent"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageOf<EInvalidOperation>([&] { c.Parent->Items().Add(c.Child); }), Q(c.Message));
    // The tree is as it was.
    EXPECT_EQ(top->Parent(), &doc);
    EXPECT_EQ(middle->Parent(), top);
    EXPECT_EQ(bottom->Parent(), middle);
    EXPECT_EQ(top->Count() + middle->Count() + bottom->Count(), 2);
    EXPECT_EQ(MessageOf<EInvalidOperation>([&] { bottom->SetParent(bottom); }),
              "An svg element cannot have itself as its parent");
}

TEST(SVGElementTree, Queries)
{
    TSVGDocument doc;
    TSVGGroup* a = AddGroup(doc);
    TSVGGroup* b = AddGroup(doc);
    TSVGGroup* a1 = AddGroup(*a);
    TSVGGroup* a2 = AddGroup(*a);
    const struct {
        TSVGElement* Self;
        TSVGElement* Other;
        bool Child, Descendant, Sibling, Preceding;
    } cases[] = {
        {&doc, a, true, true, false, false},
        {&doc, a1, false, true, false, false},
        {a, a1, true, true, false, false},
        {b, a, false, false, true, true},   // an earlier sibling
        {a, b, false, false, true, false},  // a later one
        {a2, a1, false, false, true, true},
        {a1, a, false, false, false, true}, // an ancestor
        {a1, &doc, false, false, false, true},
        {a1, b, false, false, false, false},
        {a, nullptr, false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Self->HasChild(c.Other), c.Child);
        EXPECT_EQ(c.Self->HasDescendant(c.Other), c.Descendant);
        EXPECT_EQ(c.Self->HasAncestor(c.Other), c.Descendant);
        EXPECT_EQ(c.Self->HasSibling(c.Other), c.Sibling);
        EXPECT_EQ(c.Self->HasPreceding(c.Other), c.Preceding);
        EXPECT_EQ(c.Self->HasFollowing(c.Other), c.Preceding);
    }
}

// --- Listeners ---

// An element that records what it is told and may act on it.
class TListener : public TSVGElement {
public:
    using TSVGElement::TSVGElement;
    void ElementNotification(TSVGElement* Sender, int Flag) override
    {
        Calls.push_back({Sender, Flag});
        if (OnNotified)
            OnNotified();
        TSVGElement::ElementNotification(Sender, Flag);
    }
    std::vector<std::pair<TSVGElement*, int>> Calls;
    std::function<void()> OnNotified;
};

TEST(SVGElementListeners, DestroyingEitherEndUnlinks)
{
    auto notifier = std::make_unique<TSVGElement>();
    auto listener = std::make_unique<TListener>();
    notifier->ChangeNotification(listener.get());
    notifier->ChangeNotification(listener.get()); // once only
    EXPECT_EQ(notifier->Listeners().Count(), 1);
    notifier->NotifyListeners(0);
    listener.reset();
    EXPECT_EQ(notifier->Listeners().Count(), 0);
    notifier->NotifyListeners(0); // nobody left to tell

    listener = std::make_unique<TListener>();
    notifier->ChangeNotification(listener.get());
    TSVGElement* sender = notifier.get();
    notifier.reset(); // tells the listener with flag 1, then unlinks
    ASSERT_EQ(listener->Calls.size(), 1u);
    EXPECT_EQ(listener->Calls[0], std::make_pair(sender, 1));
    listener.reset(); // no longer refers to the destroyed notifier
}

TEST(SVGElementListeners, ListenersRemovedDuringTheLoop)
{
    TSVGElement notifier;
    std::vector<std::unique_ptr<TListener>> listeners;
    for (int i = 0; i < 4; ++i) {
        listeners.push_back(std::make_unique<TListener>());
        notifier.ChangeNotification(listeners.back().get());
    }
    // The first removes itself, the second destroys the third.
    listeners[0]->OnNotified = [&] { notifier.RemoveChangeNotification(listeners[0].get()); };
    listeners[1]->OnNotified = [&] { listeners[2].reset(); };
    notifier.NotifyListeners(0);
    EXPECT_EQ(listeners[0]->Calls.size(), 1u);
    EXPECT_EQ(listeners[1]->Calls.size(), 1u);
    EXPECT_EQ(listeners[3]->Calls.size(), 1u);
    EXPECT_EQ(notifier.Listeners().Count(), 2);

    notifier.Clear(); // drops the listeners
    EXPECT_EQ(notifier.Listeners().Count(), 0);
}

// --- Change notification ---

TEST(SVGElementChanges, ElementBracketsAddOneChangeAtTheEnd)
{
    TSVGDocument doc;
    TSVGGroup* group = AddGroup(doc);
    int changes = 0;
    doc.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &doc);
        ++changes;
    };
    group->BeginUpdate();
    group->SetTitle(QStringLiteral("t")); // an element's bracket does not hold changes back
    group->SetTitle(QStringLiteral("t")); // unchanged: nothing
    EXPECT_EQ(changes, 1);
    group->EndUpdate();
    EXPECT_EQ(changes, 2);

    doc.BeginUpdate();
    group->SetLanguage(QStringLiteral("fr"));
    group->Description().Add(QStringLiteral("line"));
    doc.EndUpdate();
    EXPECT_EQ(changes, 3);
}

// --- Assign and Clone ---

TEST(SVGElementAssign, ReplacesPropertiesAndChildrenWithClones)
{
    auto doc = NewDocument();
    TSVGGroup* source = AddGroup(*doc, QStringLiteral("source"));
    source->SetTitle(QStringLiteral("Title"));
    source->Classes().Add(QStringLiteral("c1"));
    AddGroup(*source, QStringLiteral("child"));
    TSVGGroup* target = AddGroup(*doc);
    AddGroup(*target, QStringLiteral("old"));

    target->Assign(source);
    EXPECT_EQ(target->Title(), "Title");
    EXPECT_EQ(target->Classes().Text(), "c1\n");
    ASSERT_EQ(target->Count(), 1);
    EXPECT_NE(target->Child(0), source->Child(0));
    EXPECT_EQ(target->Child(0)->ID(), "child");
    // The IDs name the first carriers in document order: the originals, until they go.
    EXPECT_EQ(doc->AllItems().Get(QStringLiteral("child")), source->Child(0));
    EXPECT_EQ(doc->AllItems().Get(QStringLiteral("source")), source);
    EXPECT_FALSE(doc->AllItems().ContainsKey(QStringLiteral("old")));
    doc->Items().Remove(source);
    EXPECT_EQ(doc->AllItems().Get(QStringLiteral("child")), target->Child(0));
    EXPECT_EQ(doc->AllItems().Get(QStringLiteral("source")), target);

    EXPECT_EQ(MessageOf<EConvertError>([&] { target->Assign(nullptr); }), "Cannot assign a nil to a TSVGGroup");
}

TEST(SVGElementAssign, FromInsideItsOwnSubtree)
{
    TSVGDocument doc;
    TSVGGroup* target = AddGroup(doc);
    TSVGGroup* middle = AddGroup(*target);
    TSVGGroup* source = AddGroup(*middle, QStringLiteral("source"));
    AddGroup(*source, QStringLiteral("leaf"));
    source->SetTitle(QStringLiteral("kept"));

    target->Assign(source);
    EXPECT_EQ(target->Title(), "kept");
    ASSERT_EQ(target->Count(), 1);
    EXPECT_EQ(target->Child(0)->ID(), "leaf");
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("leaf")), target->Child(0));
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("source")), target);

    // And from an ancestor: the ancestor's subtree as it is once the target is cleared.
    TSVGGroup* inner = AddGroup(*target->Child(0));
    inner->Assign(target);
    EXPECT_EQ(inner->Count(), 1);
}

TEST(SVGElementClone, DeepCopyOfItsOwnClass)
{
    TSVGDocument doc;
    TSVGGroup* group = AddGroup(doc, QStringLiteral("g"));
    group->SetLanguage(QStringLiteral("en"));
    group->RequiredFeatures().Add(QStringLiteral("f"));
    group->SetXLength(TSVGLength(5, false, suMillimeters));
    AddGroup(*AddGroup(*group), QStringLiteral("deep"));

    TSVGDocument other;
    const std::unique_ptr<TSVGElement> clone = group->Clone(&other);
    auto* copy = dynamic_cast<TSVGGroup*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Owner(), &other);
    EXPECT_EQ(copy->Language(), "en");
    EXPECT_EQ(copy->RequiredFeatures().Text(), "f\n");
    EXPECT_EQ(copy->XLength().aUnit(), suMillimeters);
    EXPECT_EQ(copy->Child(0)->Child(0)->ID(), "deep");
    EXPECT_EQ(other.AllItems().Get(QStringLiteral("deep")), copy->Child(0)->Child(0));
    EXPECT_EQ(doc.AllItems().Get(QStringLiteral("deep")), group->Child(0)->Child(0));
}

// --- Conditional processing ---

TEST(SVGElementConditions, IsDisplayed)
{
    const QString feature = QStringLiteral("http://www.w3.org/TR/SVG11/feature#");
    const struct {
        const char16_t* Features;
        const char16_t* Extensions;
        const char16_t* SystemLanguages;
        const char16_t* Lang;
        bool Displayed;
    } cases[] = {
        {u"", u"", u"", u"", true},
        {u"Shape", u"", u"", u"", true},
        {u"Shape Gradient", u"", u"", u"", true},
        {u"Shape Filter", u"", u"", u"", false},
        {u"", u"http://example.org/ext", u"", u"", false},
        {u"", u"", u"fr", u"", true},
        {u"", u"", u"de, FR-ca", u"", true}, // fr, followed by a subtag
        {u"", u"", u"de, FRx", u"", false},
        {u"", u"", u"de,EN", u"", true},
        {u"", u"", u"", u"en", true},
        {u"", u"", u"", u"de", false},
        {u"", u"", u"de", u"fr", true}, // lang alone decides when supported
        {u"", u"", u"fr", u"de", true},
    };
    auto doc = NewDocument();
    for (const auto& c : cases) {
        TSVGGroup* group = AddGroup(*doc);
        for (const QString& name : Q(c.Features).split(u' ', Qt::SkipEmptyParts))
            group->RequiredFeatures().Add(feature + name);
        if (*c.Extensions)
            group->RequiredExtensions().Add(Q(c.Extensions));
        group->SystemLanguages().SetCommaText(Q(c.SystemLanguages));
        group->SetLanguage(Q(c.Lang));
        EXPECT_EQ(group->IsDisplayed(), c.Displayed)
            << Q(c.Features).toStdString() << "|" << Q(c.SystemLanguages).toStdString() << "|" << Q(c.Lang).toStdString();
    }
    // Without an owner only extensions count.
    TSVGGroup loose;
    loose.RequiredFeatures().Add(QStringLiteral("unknown"));
    loose.SystemLanguages().Add(QStringLiteral("xx"));
    EXPECT_TRUE(loose.IsDisplayed());
    loose.RequiredExtensions().Add(QStringLiteral("x"));
    EXPECT_FALSE(loose.IsDisplayed());
}

TEST(SVGElementConditions, HasLanguage)
{
    const struct {
        const char16_t* Lang;
        const char16_t* Language;
        bool Expected;
    } cases[] = {
        {u"fr, en-US", u"en", true}, {u"fr en-US", u"EN-us", true}, {u"fr", u"en", false},
        {u"", u"en", false},         {u"en", u"en-US", false},
    };
    for (const auto& c : cases) {
        TSVGElement element;
        element.SetLanguage(Q(c.Lang));
        EXPECT_EQ(element.HasLanguage(Q(c.Language)), c.Expected) << Q(c.Lang).toStdString();
    }
}

// --- Geometry ---

TEST(SVGElementGeometry, FitToRect)
{
    const TMatrix m = TSVGElement::FitToRect(MakeRectF(0, 0, 100, 50), MakeRectF(10, 20, 30, 70));
    EXPECT_EQ(PointTimesMatrix({10, 20}, m), (TPointF{0, 0}));
    EXPECT_EQ(PointTimesMatrix({30, 70}, m), (TPointF{100, 50}));
    EXPECT_EQ(TSVGElement::FitToRect(MakeRectF(0, 0, 100, 50), MakeRectF(10, 20, 10, 70)), IdentityMatrix);
    EXPECT_EQ(TSVGElement::FitToRect(MakeRectF(0, 0, 100, 50), MakeRectF(10, 20, 30, 20)), IdentityMatrix);
    // The element base has empty bounds.
    EXPECT_EQ(TSVGGroup().GetViewMatrix(TRect{0, 0, 10, 10}), IdentityMatrix);
}

TEST(SVGElementGeometry, NearestViewBoxAndPercentages)
{
    TSVGDocument doc; // view box 0 0 100 100
    doc.SetViewBox(MakeRectF(0, 0, 200, 50));
    TSVGGroup* group = AddGroup(doc);
    EXPECT_EQ(group->GetNearestViewBox(), &doc);
    group->SetXLength(TSVGLength(0.5f, true, suPercent));
    group->SetHeightLength(TSVGLength(0.5f, true, suPercent));
    EXPECT_FLOAT_EQ(group->X(), 100);
    EXPECT_FLOAT_EQ(group->Height(), 25);

    doc.SetViewBoxRect({}); // without a view box the svg element's own rectangle counts
    EXPECT_EQ(group->GetNearestViewBox(), &doc);
    EXPECT_FLOAT_EQ(group->X(), 100);
    EXPECT_EQ(TSVGGroup().GetNearestViewBox(), nullptr);
}

// --- XML ---

TEST(SVGElementXML, ReadsTheCoreAttributes)
{
    TXMLDocument xml = TXMLDocument::LoadFromBytes(
        "<g xmlns='http://www.w3.org/2000/svg' id='a' lang='fr' title='attr' class=' one, two  three '"
        " requiredFeatures='' systemLanguage='en,de' x='1in' width='50%'>"
        "<desc>line 1\nline 2</desc><title>child</title></g>");
    auto doc = NewDocument();
    TSVGGroup* group = AddGroup(*doc);
    group->RequiredExtensions().Add(QStringLiteral("kept")); // a missing attribute keeps the list
    group->LoadFromXML(xml.DocumentElement());
    EXPECT_EQ(group->ID(), "a");
    EXPECT_EQ(group->Language(), "fr");
    EXPECT_EQ(group->Title(), "child");
    EXPECT_EQ(group->Description().Count(), 2);
    EXPECT_EQ(group->Classes().CommaText(), "one,two,three");
    EXPECT_EQ(group->RequiredFeatures().Count(), 1); // one empty item, which nothing supports
    EXPECT_FALSE(group->HasFeatures());
    EXPECT_EQ(group->SystemLanguages().CommaText(), "en,de");
    EXPECT_EQ(group->RequiredExtensions().CommaText(), "kept");
    EXPECT_FLOAT_EQ(group->X(), 96);
    EXPECT_EQ(group->WidthLength().aUnit(), suPercent);
    EXPECT_FALSE(group->ElementState().Contains(esReading));

    TXMLDocument titled = TXMLDocument::LoadFromBytes("<g title='attr'/>");
    group->LoadFromXML(titled.DocumentElement());
    EXPECT_EQ(group->Title(), "attr");
    EXPECT_EQ(group->Classes().Count(), 0);
}

TEST(SVGElementXML, WritesTheCoreAttributes)
{
    auto doc = NewDocument();
    TSVGGroup* group = AddGroup(*doc, QStringLiteral("g1"));
    group->SetLanguage(QStringLiteral("en"));
    group->SetTitle(QStringLiteral("T <&>"));
    group->Description().SetText(u"a\nb");
    group->Classes().SetCommaText(u"x,y");
    group->SystemLanguages().Add(QStringLiteral("fr"));
    group->SetXLength(TSVGLength(2.5f, false, suMillimeters));
    group->SetWidth(10);
    const QString text = group->ToString();
    for (const char16_t* expected : {u"id=\"g1\"", u"lang=\"en\"", u"class=\"x y\"", u"systemLanguage=\"fr\"",
                                     u"x=\"2.5mm\"", u"width=\"10\"", u">T &lt;&amp;&gt;</title>",
                                     u">a\nb</desc>"})
        EXPECT_TRUE(text.contains(Q(expected))) << text.toStdString() << " lacks " << Q(expected).toStdString();
    EXPECT_FALSE(text.contains(u"y=\"")); // zero, compact export
    EXPECT_FALSE(text.contains(u"requiredFeatures"));
}

TEST(SVGElementXML, DisabledElementsAreNotWritten)
{
    TSVGDocument doc;
    TSVGGroup* group = AddGroup(doc, QStringLiteral("outer"));
    AddGroup(*group, QStringLiteral("inner"));
    group->SetEnabled(false);
    EXPECT_FALSE(group->Child(0)->IsEnabled());
    QString text = group->ToString();
    EXPECT_FALSE(text.contains(u"outer"));
    doc.SetOptions(doc.Options().Include(soExportDisabled));
    text = group->ToString();
    EXPECT_TRUE(text.contains(u"outer"));
    EXPECT_TRUE(text.contains(u"inner"));

    TSVGGroup loose; // without an owner the element's own flag decides
    loose.SetID(QStringLiteral("loose"));
    loose.SetEnabled(false);
    EXPECT_FALSE(loose.ToString().contains(u"loose"));
}

TEST(SVGElementXML, ChildNodesOfAGroup)
{
    const struct {
        const char16_t* Content;
        bool Skip;
        const char16_t* Message; // "" when the load succeeds
    } cases[] = {
        {u"<foo/>", false, u"Unknown SVG element <ntElement> in document: foo"},
        {u"<foo/>", true, u""},
        {u"<namedview/><perspective/><filter/>", false, u""},
        {u"text<!-- comment --><![CDATA[data]]>", false, u""},
        {u"<desc>d</desc><title>t</title>", false, u""},
        {u"<g><Foo/></g>", false, u"Unknown SVG element <ntElement> in document: Foo"},
    };
    for (const auto& c : cases) {
        TSVGDocument doc;
        doc.SetOptions(doc.Options().Set(soSkipUnknownXML, c.Skip));
        const QString text = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg'><g>%1</g></svg>").arg(Q(c.Content));
        EXPECT_EQ(MessageOf<ESVGException>([&] { doc.LoadFromText(text); }), *c.Message ? Q(c.Message) : "no exception")
            << Q(c.Content).toStdString();
    }
    // A style element inside a group becomes rules of the document; desc and title
    // children are read.
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg><g><title>T</title><desc>D</desc><style>rect { fill: red }</style></g></svg>"));
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.Child(0)->Count(), 0);
    EXPECT_EQ(doc.Child(0)->Title(), "T");
    EXPECT_EQ(doc.Child(0)->Description().Text(), "D\n");
    EXPECT_TRUE(doc.Styles().ContainsKey(QStringLiteral("rect")));
}

TEST(SVGElementXML, SizeAttributesOfAGroup)
{
    const struct {
        bool Compact;
        float X;
        const char16_t* Expected;
    } cases[] = {
        {true, 0, u"<g width=\"2in\"/>"},
        {false, 0, u"<g x=\"0\" y=\"0\" width=\"2in\" height=\"0\"/>"},
        {true, 1.23456f, u"<g x=\"1.235\" width=\"2in\"/>"},
    };
    for (const auto& c : cases) {
        TSVGDocument doc;
        doc.SetOptions(doc.Options().Set(soCompactExport, c.Compact));
        TSVGGroup* group = AddGroup(doc);
        group->SetX(c.X);
        group->SetWidthLength(TSVGLength(2, false, suInches));
        EXPECT_TRUE(group->ToString().contains(Q(c.Expected))) << group->ToString().toStdString();
    }
}

// --- View boxes ---

TEST(SVGViewBox, ReadsAndWritesTheViewBoxAndTheAspectRatio)
{
    const struct {
        const char16_t* Attributes;
        bool Specified;
        TRectF ViewBox;
        TSVGAlign Align;
        const char16_t* Written; // the viewBox and preserveAspectRatio written back
    } cases[] = {
        {u"viewBox='0 0 10 20' preserveAspectRatio='xMidYMid slice'", true, {0, 0, 10, 20}, saXMidYMid,
         u"viewBox=\"0 0 10 20\" preserveAspectRatio=\"xMidYMid slice\""},
        {u"viewBox='-5,-5 10.5 1in' preserveAspectRatio='none'", true, {-5, -5, 5.5f, 91}, saNone,
         u"viewBox=\"-5 -5 10.5 96\" preserveAspectRatio=\"none\""},
        // Without the attribute: SVG's initial value, which compact export leaves out.
        {u"viewBox='0 0 1 1'", true, {0, 0, 1, 1}, saXMidYMid, u"viewBox=\"0 0 1 1\" version="},
        {u"x='5' y='1' width='2in' height='10' preserveAspectRatio='xMinYMax'", false, {5, 1, 197, 11}, saXMinYMax, u""},
        {u"viewBox='  ' width='10' height='10'", false, {0, 0, 10, 10}, saXMidYMid, u""},
    };
    for (const auto& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(QStringLiteral("<svg %1/>").arg(Q(c.Attributes)));
        EXPECT_EQ(doc.ViewBoxSpecified(), c.Specified) << Q(c.Attributes).toStdString();
        EXPECT_EQ(doc.ViewBox(), c.ViewBox) << Q(c.Attributes).toStdString();
        EXPECT_EQ(doc.AspectRatio().Align(), c.Align);
        const QString text = doc.ToString();
        if (c.Specified)
            EXPECT_TRUE(text.contains(Q(c.Written))) << text.toStdString();
        else
            EXPECT_FALSE(text.contains(u"viewBox") || text.contains(u"preserveAspectRatio")) << text.toStdString();
    }
}

TEST(SVGViewBox, ViewBoxRectAndAssignment)
{
    TSVGDocument doc;
    EXPECT_TRUE(doc.ViewBoxSpecified()); // a new document has the view box 0 0 100 100
    EXPECT_EQ(doc.ViewBoxRect(), "0 0 100 100");
    doc.SetViewBoxRect(QStringLiteral("1 2 3 4"));
    EXPECT_EQ(doc.ViewBox(), (TRectF{1, 2, 4, 6}));
    doc.AspectRatio().SetAlign(saXMaxYMax);

    TSVGDocument copy;
    copy.Assign(&doc);
    EXPECT_EQ(copy.ViewBox(), (TRectF{1, 2, 4, 6}));
    EXPECT_EQ(copy.AspectRatio().Align(), saXMaxYMax);

    doc.SetViewBoxRect({});
    EXPECT_FALSE(doc.ViewBoxSpecified());
    doc.Clear();
    EXPECT_EQ(doc.ViewBox(), TRectF{});
    EXPECT_TRUE(doc.AspectRatio().IsInitial());
}

// --- Entity references ---

TEST(SVGElementXML, EntityReferencesBecomeGroups)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<!DOCTYPE svg [<!ENTITY shapes \"<g id='in1'/><g id='in2'><g id='in3'/></g>\">"
                                    "<!ENTITY ext SYSTEM 'file:///etc/hostname'>]>"
                                    "<svg xmlns='http://www.w3.org/2000/svg'><g id='outer'>&shapes;</g>&ext;</svg>"));
    TSVGElement* outer = doc.AllItems().Get(QStringLiteral("outer"));
    ASSERT_EQ(outer->Count(), 1);
    TSVGElement* entity = outer->Child(0);
    EXPECT_EQ(&entity->ClassInfo(), &TSVGGroup::StaticClass());
    ASSERT_EQ(entity->Count(), 2);
    EXPECT_EQ(entity->Child(0)->ID(), "in1");
    EXPECT_EQ(entity->Child(1)->Child(0)->ID(), "in3");
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.Child(1)->Count(), 0); // the external entity is not followed
}

TEST(SVGElementXML, EntityReferencesHaveABudget)
{
    // e0 holds a group, each further entity refers to the one before.
    const auto nested = [](int Levels) {
        QString declarations = QStringLiteral("<!ENTITY e0 \"<g/>\">");
        for (int i = 1; i < Levels; ++i)
            declarations += QStringLiteral("<!ENTITY e%1 \"&e%2;\">").arg(i).arg(i - 1);
        return QStringLiteral("<!DOCTYPE svg [%1]><svg>&e%2;</svg>").arg(declarations).arg(Levels - 1);
    };
    // One entity of 1000 nodes referenced once more than the budget allows.
    const QString large = QStringLiteral("<!DOCTYPE svg [<!ENTITY c \"%1\">]><svg>%2</svg>")
                              .arg(QStringLiteral("<!---->").repeated(1000),
                                   QStringLiteral("&c;").repeated(SVGMaxEntityNodes / 1000 + 1));
    // Fifteen entities, each 40 groups deep around the one before: 615 element levels.
    QString deepDeclarations = QStringLiteral("<!ENTITY d0 \"<g/>\">");
    for (int i = 1; i < 15; ++i)
        deepDeclarations += QStringLiteral("<!ENTITY d%1 \"%2&d%3;%4\">")
                                .arg(i)
                                .arg(QStringLiteral("<g>").repeated(40))
                                .arg(i - 1)
                                .arg(QStringLiteral("</g>").repeated(40));
    const QString deep = QStringLiteral("<!DOCTYPE svg [%1]><svg>&d14;</svg>").arg(deepDeclarations);
    const struct {
        QString Text;
        QString Message;
    } cases[] = {
        {nested(SVGMaxEntityDepth + 1), QStringLiteral("Entity references nested deeper than %1 levels").arg(SVGMaxEntityDepth)},
        {large, QStringLiteral("Entity references expand to more than %1 nodes").arg(SVGMaxEntityNodes)},
        {deep, QStringLiteral("Elements nested deeper than %1 levels").arg(SVGMaxElementDepth)},
    };
    for (const auto& c : cases) {
        TSVGDocument doc;
        EXPECT_EQ(MessageOf<ESVGException>([&] { doc.LoadFromText(c.Text); }), c.Message);
        // The next load starts with a fresh budget.
        doc.LoadFromText(nested(SVGMaxEntityDepth));
        const TSVGElement* element = &doc;
        for (int level = 0; level < SVGMaxEntityDepth; ++level) {
            ASSERT_EQ(element->Count(), 1);
            element = element->Child(0);
        }
        EXPECT_EQ(element->Count(), 1); // the group of e0
    }
}

} // namespace
} // namespace velk

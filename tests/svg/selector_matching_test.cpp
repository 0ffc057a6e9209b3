// Selector matching: the priority a selector gives an element of a loaded tree.

#include "svg/document.h"
#include "svg/exceptions.h"
#include "svg/graphic_element.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace velk {
namespace {

const QString Tree = QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" id="root">
  <g id="outer" class="a b" lang="en-US" fill="red">
    <g id="inner" class="c" systemLanguage="fr, de"/>
    <g id="next"/>
  </g>
  <rect id="box" x="5" data-kind="wide box"/>
</svg>)");

class SelectorMatching : public ::testing::Test {
protected:
    void SetUp() override { FDoc.LoadFromText(Tree); }

    // The document itself is in no ID table: it has no owner.
    const TSVGGraphicElement& Element(const char* ID) const
    {
        if (FDoc.ID() == QLatin1String(ID))
            return FDoc;
        return *dynamic_cast<const TSVGGraphicElement*>(FDoc.AllItems().Get(QString::fromLatin1(ID)));
    }

    TSVGDocument FDoc;
};

struct TMatchCase {
    const char* Element;
    const char* Selector;
    int Priority;
};

TEST_F(SelectorMatching, PriorityIsTheDigitsOfIDsAttributesAndTypes)
{
    const TMatchCase cases[] = {
        {"inner", "", -1},
        {"inner", "*", 0},
        {"inner", "g", 1},
        {"inner", "svg", -1},
        {"root", "svg", 1},
        {"inner", "#inner", 100},
        {"inner", "#outer", -1},
        {"inner", ".c", 10},
        {"inner", "g.c", 11},
        {"inner", ".x", -1},
        {"inner", "#inner.c.c.c.c.c.c.c.c.c.c", 1100},
        {"inner", ":hover", 0}, // pseudo-classes are skipped
        {"outer", ":lang(en)", 10},
        {"inner", ":lang(en)", -1},
        {"outer", "g.a.b", 21},
        // Attributes: presence, then values of the element's own fields.
        {"inner", "[fill]", 10},
        {"inner", "[id]", 10},
        {"inner", "[bogus]", -1},
        {"inner", "[id=inner]", 20},
        {"inner", "[id^=in]", 20},
        {"inner", "[id$=ner]", 20},
        {"inner", "[id*=nne]", 20},
        {"inner", "[id=Inner]", -1},
        {"inner", "[class=c]", 20},
        {"inner", "[systemLanguage=de]", 20},
        {"outer", "[lang^=en]", 20},
        // Any attribute the element was read with; ~= and |= as in CSS.
        {"box", "[x]", 10},
        {"inner", "[x]", -1},
        {"box", "[x=5]", 20},
        {"box", "[x='5']", 20},
        {"box", "[x=6]", -1},
        {"box", "[data-kind~=box]", 20},
        {"box", "[data-kind~=bo]", -1},
        {"box", "[data-kind=box]", -1},
        {"outer", "[class~=b]", 20},
        {"inner", "[id~=inner]", 20},
        {"outer", "[lang|=en]", 20},
        {"outer", "[lang|=en-US]", 20},
        {"outer", "[lang|=en-U]", -1},
        {"inner", "[id|=in]", -1},
        {"box", "[data-kind|=wide]", -1},
        // Combinators name an element by its ID.
        {"outer", "g>inner", 11},
        {"inner", "g>inner", -1},
        {"outer", "g inner", 11},
        {"root", "svg inner", -1}, // a combinator needs the subject's owner
        {"inner", "g outer", -1},
        {"next", "g+inner", 11},
        {"inner", "g+next", -1},
        {"inner", "g*outer", 11},
        {"root", "svg*outer", -1},
        {"outer", "g>missing", -1},
    };
    for (const TMatchCase& c : cases)
        EXPECT_EQ(Element(c.Element).Matches(QString::fromLatin1(c.Selector)), c.Priority)
            << c.Element << " " << c.Selector;
}

TEST_F(SelectorMatching, AttributeValuesAreTheCurrentPropertyTexts)
{
    // Colours are written in their hexadecimal form; an inherited fill has no text.
    EXPECT_EQ(Element("outer").Matches(u"[fill='#ff0000']"), 20);
    EXPECT_EQ(Element("outer").Matches(u"[fill=red]"), -1);
    EXPECT_EQ(Element("inner").Matches(u"[fill='#ff0000']"), -1);
}

TEST_F(SelectorMatching, AbsurdSelectorsSaturate)
{
    const QString classes = QStringLiteral(".c").repeated(1000);
    // 20000 IDs, 1000 classes, 1 type: 2000010001 still fits.
    EXPECT_EQ(Element("inner").Matches(QStringLiteral("g") + QStringLiteral("#inner").repeated(20000) + classes), 2000010001);
    EXPECT_EQ(Element("inner").Matches(QStringLiteral("g") + QStringLiteral("#inner").repeated(30000) + classes), INT_MAX);
}

TEST_F(SelectorMatching, MalformedAttributeSelectorRaises)
{
    EXPECT_EQ(testing::MessageOf<ESVGException>([&] { Element("inner").Matches(u"[fill"); }),
              QStringLiteral("Invalid selector: [fill"));
}

TEST(SelectorMatchingBase, PlainElementNeverMatches)
{
    const TSVGElement element;
    EXPECT_EQ(element.Matches(u"*"), -1);
}

} // namespace
} // namespace velk

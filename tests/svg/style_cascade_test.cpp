// The cascade: rules, presentation attributes and style attributes combined into the
// property values of a loaded tree, and what a save writes of them.

#include "svg/document.h"
#include "svg/exceptions.h"
#include "svg/graphic_element.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace velk {
namespace {

constexpr TVelkGPColor Red = 0xFFFF0000;
constexpr TVelkGPColor Blue = 0xFF0000FF;
constexpr TVelkGPColor Lime = 0xFF00FF00;
constexpr TVelkGPColor Green = 0xFF008000;

// A document of one style sheet and the given body.
QString Svg(const QString& Sheet, const QString& Body)
{
    return QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" id="root"><style>%1</style>%2</svg>)")
        .arg(Sheet, Body);
}

TSVGGraphicElement& Element(const TSVGDocument& Doc, const char* ID)
{
    testing::EnsureGuiApplication(); // font sizes and unit factors
    return *dynamic_cast<TSVGGraphicElement*>(Doc.AllItems().Get(QString::fromLatin1(ID)));
}

QString Saved(TSVGDocument& Doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Doc.SaveToStream(buffer);
    return QString::fromUtf8(buffer.data());
}

struct TFillCase {
    const char* Sheet;
    const char* Attributes;
    TVelkGPColor Fill;
};

TEST(StyleCascade, PresentationAttributesLoseToRulesAndTheStyleAttributeWins)
{
    const TFillCase cases[] = {
        {"g { fill: blue }", "", Blue},
        {"g { fill: blue }", R"(fill="red")", Blue},
        {"g { fill: blue }", R"(fill="red" style="fill: green")", Green},
        {"g { stroke: blue }", R"(fill="red")", Red},
        {"#a { fill: blue }", R"(fill="red")", Blue},                                  // 100
        {"g.c { fill: blue }", R"(style="fill: red")", Red},                           // 11
        {"#a.c.c.c.c.c.c.c.c.c.c { fill: blue }", R"(fill="red" style="fill: lime")", Lime}, // 1100
        {"#a { fill: blue } g { fill: lime }", "", Blue},
        {".c { fill: lime } g { fill: blue }", "", Lime},
        {"g.c { fill: lime } .c { fill: blue }", "", Lime},
    };
    for (const TFillCase& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(Svg(QString::fromLatin1(c.Sheet),
                             QStringLiteral(R"(<g id="a" class="c" %1/>)").arg(QString::fromLatin1(c.Attributes))));
        EXPECT_EQ(Element(doc, "a").Brush().Color(), c.Fill) << c.Sheet << " " << c.Attributes;
    }
}

TEST(StyleCascade, OnlyCSSStyleElementsAreRead)
{
    for (const auto& [type, fill] : {std::pair{"", Blue}, {R"( type="text/css")", Blue}, {R"( type="TEXT/CSS")", Blue},
                                     {R"( type="text/other")", Red}}) {
        TSVGDocument doc;
        doc.LoadFromText(QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg"><style%1>g { fill: blue }</style>)"
                                        R"(<g id="a" fill="red"/></svg>)")
                             .arg(QString::fromLatin1(type)));
        EXPECT_EQ(Element(doc, "a").Brush().Color(), fill) << type;
    }
}

TEST(StyleCascade, EqualPrioritiesLetTheFirstEnumeratedRuleWin)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg(QStringLiteral(".a { fill: #000001 } .b { fill: #000002 } .c { fill: #000003 } "
                                        ".d { fill: #000004 } .e { fill: #000005 }"),
                         QStringLiteral(R"(<g id="x" class="a b c d e"/>)")));
    // The table's enumeration order, whatever its hashing makes of it: the rule
    // enumerated first is applied last.
    const QString fill = doc.Styles().ItemByIndex(0)->Fill();
    EXPECT_EQ(Element(doc, "x").Brush().Color(), 0xFF000000u | fill.mid(1).toUInt(nullptr, 16)) << fill.toStdString();
}

TEST(StyleCascade, DocumentElementMatchesItsOwnRules)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg(QStringLiteral("svg { fill: blue } #root { stroke: red }"), {}));
    EXPECT_EQ(doc.Brush().Color(), Blue);
    EXPECT_EQ(doc.Pen().Color(), Red);
    EXPECT_EQ(doc.Pen().Kind(), bkSolid);
}

struct TVisibleCase {
    const char* Attributes;
    bool Visible;
    bool Display;
};

TEST(StyleCascade, DisplayAndVisibilityAreKeptApart)
{
    const TVisibleCase cases[] = {
        {"", true, true},
        {R"(display="none")", true, false},
        {R"(visibility="hidden")", false, true},
        {R"(style="display: inline; visibility: hidden")", false, true},
        {R"(style="visibility: hidden; display: none")", false, false},
        {R"(visibility="collapse")", false, true},
    };
    for (const TVisibleCase& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(Svg({}, QStringLiteral(R"(<g id="a" %1/>)").arg(QString::fromLatin1(c.Attributes))));
        EXPECT_EQ(Element(doc, "a").Visible(), c.Visible) << c.Attributes;
        EXPECT_EQ(Element(doc, "a").Display(), c.Display) << c.Attributes;
    }
}

struct TMarkerCase {
    const char* Sheet;
    const char* Attributes;
    const char* Start;
    const char* Mid;
    const char* End;
};

TEST(StyleCascade, MarkerShorthandSetsAllThreeAndWins)
{
    const TMarkerCase cases[] = {
        {"", R"~(style="marker: url(#m)")~", "m", "m", "m"},
        {"", R"~(style="marker: url(#m); marker-end: url(#e)")~", "m", "m", "m"},
        {"g { marker: url(#m); marker-end: url(#e) }", "", "m", "m", "m"},
        {"", R"~(marker-start="url(#s)" marker-end="url(#e)")~", "s", "", "e"},
        {"", R"~(marker="url(#m)")~", "", "", ""}, // not a presentation attribute
    };
    for (const TMarkerCase& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(Svg(QString::fromLatin1(c.Sheet),
                             QStringLiteral(R"(<g id="a" %1/>)").arg(QString::fromLatin1(c.Attributes))));
        const TSVGGraphicElement& a = Element(doc, "a");
        EXPECT_EQ(a.MarkerStartURI(), QString::fromLatin1(c.Start)) << c.Sheet << c.Attributes;
        EXPECT_EQ(a.MarkerMidURI(), QString::fromLatin1(c.Mid)) << c.Sheet << c.Attributes;
        EXPECT_EQ(a.MarkerEndURI(), QString::fromLatin1(c.End)) << c.Sheet << c.Attributes;
    }
}

struct TCapCase {
    const char* Linecap;
    TVelkGPLineCap Cap;
    TVelkGPDashCap DashCap;
};

TEST(StyleCascade, LinecapSetsBothCapsAndTheDashCap)
{
    const TCapCase cases[] = {
        {"round", lcRound, dcRound},
        {"square", lcSquare, dcSquare},
        {"butt", lcFlat, dcFlat},
    };
    for (const TCapCase& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(
            Svg({}, QStringLiteral(R"(<g id="a" stroke="red" stroke-linecap="%1"/>)").arg(QString::fromLatin1(c.Linecap))));
        const TSVGPen& pen = Element(doc, "a").Pen();
        EXPECT_EQ(pen.StartCap(), c.Cap) << c.Linecap;
        EXPECT_EQ(pen.EndCap(), c.Cap) << c.Linecap;
        EXPECT_EQ(pen.DashCap(), c.DashCap) << c.Linecap;
    }
}

TEST(StyleCascade, PaintReferencesSurviveNoneAndReachInheritingChildren)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg(QStringLiteral("#p { fill: url(#paint) }"),
                         QStringLiteral(R"(<g id="p" fill="none"><g id="c" fill="inherit"/></g>)")));
    const TSVGGraphicElement& parent = Element(doc, "p");
    EXPECT_EQ(parent.OwnBrush().URI(), QStringLiteral("paint"));
    EXPECT_EQ(parent.OwnBrush().Kind(), bkNone);
    TSVGGraphicElement& child = Element(doc, "c");
    EXPECT_TRUE(child.IsInherited(ipFill));
    EXPECT_EQ(child.Brush().URI(), QStringLiteral("paint"));
}

TEST(StyleCascade, InheritKeepsValueAndSetsFlag)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg(QStringLiteral("#a { opacity: 0.5; fill-rule: evenodd }"),
                         QStringLiteral(R"(<g id="a" style="opacity: inherit; fill-rule: inherit" stroke="blue"/>)")));
    const TSVGGraphicElement& a = Element(doc, "a");
    EXPECT_TRUE(a.IsInherited(ipOpacity));
    EXPECT_TRUE(a.IsInherited(ipFillRule));
    EXPECT_FALSE(a.IsInherited(ipStroke));
    EXPECT_EQ(a.OwnPen().Color(), Blue);
}

TEST(StyleCascade, AbsoluteOpacityMultipliesAlongTheAncestors)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg({}, QStringLiteral(R"(<g opacity="0.5"><g id="a" opacity="0.5"/></g>)")));
    EXPECT_FLOAT_EQ(Element(doc, "a").GetAbsoluteOpacity(), 0.25f);
}

// A second cascade after a rule of the parent changed: the children, whose resolved
// values were read in between, take the parent's new font size and fill.
TEST(StyleCascade, AgainAfterAParentRuleChangedReachesTheDescendants)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg(QStringLiteral("#p { font-size: 10px; fill: red }"),
                         QStringLiteral(R"(<g id="p"><g><g id="c" stroke="blue" stroke-width="2em"/></g></g>)")));
    TSVGGraphicElement& child = Element(doc, "c");
    EXPECT_FLOAT_EQ(child.Pen().Thickness(), 20);
    EXPECT_FLOAT_EQ(child.Font().Size(), 10);
    EXPECT_EQ(child.Brush().Color(), Red);

    TSVGStyle& rule = *doc.Styles().ItemByIndex(0);
    rule.SetFont_Size(QStringLiteral("20px"));
    rule.SetFill(QStringLiteral("blue"));
    doc.ApplyStyles();
    EXPECT_FLOAT_EQ(Element(doc, "p").Font().Size(), 20);
    EXPECT_FLOAT_EQ(child.Font().Size(), 20);
    EXPECT_FLOAT_EQ(child.Pen().Thickness(), 40);
    EXPECT_EQ(child.Brush().Color(), Blue);

    // Styling the parent's subtree alone does the same.
    rule.SetFont_Size(QStringLiteral("5px"));
    rule.SetFill(QStringLiteral("lime"));
    Element(doc, "p").ApplyStyles();
    EXPECT_FLOAT_EQ(child.Pen().Thickness(), 10);
    EXPECT_EQ(child.Brush().Color(), Lime);
}

TEST(StyleCascade, InvalidSelectorStopsTheLoad)
{
    TSVGDocument doc;
    EXPECT_EQ(testing::MessageOf<ESVGException>(
                  [&] { doc.LoadFromText(Svg(QStringLiteral("[fill { fill: red }"), QStringLiteral("<g/>"))); }),
              QStringLiteral("Invalid selector: [fill"));
}

TEST(StyleCascade, WritingUsesTheResolvedValues)
{
    TSVGDocument doc;
    doc.LoadFromText(Svg({}, QStringLiteral(R"(<g id="cc" color="lime" fill="currentColor"/>)"
                                            R"(<g id="hidden" visibility="hidden"/>)"
                                            R"(<g id="none" display="none"/>)"
                                            R"~(<g id="shown" transform="translate(0.000001 0)"/>)~")));
    const QString saved = Saved(doc);
    EXPECT_TRUE(saved.contains(QStringLiteral(R"(fill="#00ff00")"))) << saved.toStdString();
    EXPECT_FALSE(saved.contains(QStringLiteral("color="))) << saved.toStdString();
    EXPECT_EQ(saved.count(QStringLiteral(R"(visibility="hidden")")), 1) << saved.toStdString();
    EXPECT_EQ(saved.count(QStringLiteral(R"(display="none")")), 1) << saved.toStdString();
    EXPECT_EQ(saved.count(QStringLiteral("display=")), 1) << saved.toStdString();
    EXPECT_FALSE(saved.contains(QStringLiteral("transform="))) << saved.toStdString();
}

} // namespace
} // namespace velk

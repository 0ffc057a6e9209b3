#include "graphics/canvas.h"
#include "svg/basic_shapes.h"
#include "svg/defs.h"
#include "svg/document.h"
#include "svg/group.h"
#include "svg/symbol.h"
#include "svg/use.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace velk;
using velk::testing::CompareWithReference;
using velk::testing::RenderSVG;
using velk::testing::SvgDocumentText;

namespace {

std::unique_ptr<TSVGDocument> Load(const QString& Body, const QString& Size = QStringLiteral("40"))
{
    auto document = std::make_unique<TSVGDocument>();
    document->LoadFromText(SvgDocumentText(Body, Size));
    return document;
}

template <typename T = TSVGGraphicElement>
T* Find(const TSVGDocument& Document, const QString& ID)
{
    TSVGElement* element = nullptr;
    if (!Document.AllItems().TryGetValue(ID, element))
        return nullptr;
    return dynamic_cast<T*>(element);
}

constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb Red = 0xFFFF0000;

bool IsClear(const QImage& Image, int X, int Y)
{
    return qAlpha(Image.pixel(X, Y)) == 0;
}

bool IsFiniteRect(const TRectF& R)
{
    return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) && std::isfinite(R.Bottom);
}

class UseElement : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }

    // The element found at Pt (device units of a 40 x 40 target).
    static TSVGGraphicElement* FindAt(TSVGDocument& Document, const TPointF& Pt, TSVGFindOptions Options = {})
    {
        TVelkGPCanvas canvas;
        return Document.ElementAtPos(canvas, Pt, TRectF{0, 0, 40, 40}, Options);
    }
};

} // namespace

// --- Reference ---

TEST_F(UseElement, ReadsTheReferenceInEachFormAndWritesItBack)
{
    struct TCase {
        QString Href;
        QString Reference;
    };
    const TCase cases[] = {
        {QStringLiteral("#r"), QStringLiteral("r")},
        {QStringLiteral("url(#r)"), QStringLiteral("r")},
        {QStringLiteral(" #r "), QStringLiteral("r")},
        {QStringLiteral(""), QStringLiteral("")},
    };
    // SVG 2's href without namespace is read too, after xlink:href.
    const auto plain = Load(QStringLiteral("<rect id=\"r\"/><rect id=\"s\"/><use id=\"u\" href=\"#r\"/>"
                                           "<use id=\"v\" href=\"#r\" xlink:href=\"#s\"/>"));
    EXPECT_EQ(Find<TSVGUse>(*plain, QStringLiteral("u"))->Reference(), QStringLiteral("r"));
    EXPECT_EQ(Find<TSVGUse>(*plain, QStringLiteral("v"))->Reference(), QStringLiteral("s"));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Href.toStdString());
        auto document = Load(QStringLiteral("<rect id=\"r\" width=\"5\" height=\"5\"/>"
                                            "<use id=\"u\" x=\"3\" y=\"4\" xlink:href=\"%1\"/>")
                                 .arg(c.Href));
        TSVGUse* use = Find<TSVGUse>(*document, QStringLiteral("u"));
        ASSERT_NE(use, nullptr);
        EXPECT_EQ(use->Reference(), c.Reference);
        const QString written = use->ToString();
        EXPECT_EQ(written.contains(QStringLiteral("href=\"#r\"")), !c.Reference.isEmpty()) << written.toStdString();
        EXPECT_TRUE(written.contains(QStringLiteral("x=\"3\""))) << written.toStdString();
    }
}

TEST_F(UseElement, ReferencedElementIsAGraphicElementOfTheOwner)
{
    auto document = Load(QStringLiteral("<rect id=\"r\" width=\"5\" height=\"5\"/><use id=\"u\"/>"));
    TSVGUse* use = Find<TSVGUse>(*document, QStringLiteral("u"));
    use->SetReference(QStringLiteral("r"));
    EXPECT_EQ(use->ReferencedElement(), Find(*document, QStringLiteral("r")));
    use->SetReference(QStringLiteral("missing"));
    EXPECT_EQ(use->ReferencedElement(), nullptr);
    // Without an owner there is no ID table to look in.
    TSVGUse loose;
    loose.SetReference(QStringLiteral("r"));
    EXPECT_EQ(loose.ReferencedElement(), nullptr);
}

TEST_F(UseElement, ChangingTheReferenceIsAChange)
{
    auto document = Load(QStringLiteral("<rect id=\"r\" width=\"5\" height=\"5\"/><use id=\"u\"/>"));
    TSVGUse* use = Find<TSVGUse>(*document, QStringLiteral("u"));
    int changes = 0;
    document->OnChange = [&](TObject*) { ++changes; };
    use->SetReference(QStringLiteral("r"));
    EXPECT_EQ(changes, 1);
    use->SetReference(QStringLiteral("r"));
    EXPECT_EQ(changes, 1);
}

// The use hears when the element it shows goes, also when the element comes later in
// the file than the use, and only for the element it shows now.
TEST_F(UseElement, DeletingTheReferencedElementEmptiesTheReference)
{
    auto document = Load(QStringLiteral("<use id=\"before\" xlink:href=\"#r\"/>"
                                        "<rect id=\"r\" width=\"5\" height=\"5\"/>"
                                        "<rect id=\"other\" width=\"5\" height=\"5\"/>"
                                        "<use id=\"after\" xlink:href=\"#r\"/>"));
    TSVGUse* before = Find<TSVGUse>(*document, QStringLiteral("before"));
    TSVGUse* after = Find<TSVGUse>(*document, QStringLiteral("after"));
    after->SetReference(QStringLiteral("other"));
    after->SetReference(QStringLiteral("r"));
    TSVGElement* other = Find(*document, QStringLiteral("other"));
    document->Items().Remove(other);
    EXPECT_EQ(after->Reference(), QStringLiteral("r"));

    document->Items().Remove(Find(*document, QStringLiteral("r")));
    EXPECT_EQ(before->Reference(), QString());
    EXPECT_EQ(after->Reference(), QString());
}

TEST_F(UseElement, AUseOutlivesItsElementAndTheOtherWayRound)
{
    auto document = Load(QStringLiteral("<rect id=\"r\" width=\"5\" height=\"5\"/>"
                                        "<use id=\"u\" xlink:href=\"#r\"/>"));
    TSVGGraphicElement* rect = Find(*document, QStringLiteral("r"));
    ASSERT_EQ(rect->Listeners().Count(), 1);
    document->Items().Remove(Find(*document, QStringLiteral("u")));
    EXPECT_EQ(rect->Listeners().Count(), 0);
}

TEST_F(UseElement, CloneAndClearKeepTheListenersRight)
{
    auto document = Load(QStringLiteral("<rect id=\"r\" width=\"5\" height=\"5\"/>"
                                        "<use id=\"u\" xlink:href=\"#r\"/>"));
    TSVGUse* use = Find<TSVGUse>(*document, QStringLiteral("u"));
    TSVGGraphicElement* rect = Find(*document, QStringLiteral("r"));
    std::unique_ptr<TSVGElement> copy = use->Clone(document.get());
    auto* clone = dynamic_cast<TSVGUse*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->Reference(), QStringLiteral("r"));
    EXPECT_EQ(rect->Listeners().Count(), 2);
    clone->Clear();
    EXPECT_EQ(clone->Reference(), QString());
    EXPECT_EQ(rect->Listeners().Count(), 1);
}

// --- Display and bounds ---

TEST_F(UseElement, IsDisplayedTakesTheDisplayOfUseAndElement)
{
    struct TCase {
        const char* Use;
        const char* Element;
        bool Displayed;
    };
    const TCase cases[] = {
        {"xlink:href=\"#r\"", "", true},
        {"xlink:href=\"#r\" display=\"none\"", "", false},
        {"xlink:href=\"#r\"", "display=\"none\"", false},
        // An element that inherits display takes the use's.
        {"xlink:href=\"#r\"", "display=\"inherit\"", true},
        {"xlink:href=\"#r\" display=\"none\"", "display=\"inherit\"", false},
        // Visibility decides the painting of each element, not whether the use is drawn.
        {"xlink:href=\"#r\" visibility=\"hidden\"", "", true},
        {"xlink:href=\"#r\"", "visibility=\"hidden\"", true},
        {"xlink:href=\"#r\" requiredExtensions=\"http://example.org/x\"", "", false},
        {"xlink:href=\"#missing\"", "", true},
        {"xlink:href=\"#missing\" display=\"none\"", "", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Use) + " / " + c.Element);
        auto document = Load(QStringLiteral("<defs display=\"none\"><rect id=\"r\" %2 width=\"5\" height=\"5\"/></defs>"
                                            "<use id=\"u\" %1/>")
                                 .arg(QString::fromUtf8(c.Use), QString::fromUtf8(c.Element)));
        EXPECT_EQ(Find(*document, QStringLiteral("u"))->IsDisplayed(), c.Displayed);
    }
}

TEST_F(UseElement, BoundsAreThoseOfTheElementShown)
{
    struct TCase {
        const char* Body;
        TRectF Bounds;
        TRectF Transformed; // through the use's transform and a scale by 2
    };
    const TCase cases[] = {
        // Moved by x and y; width and height of the use play no part.
        {"<rect id=\"r\" x=\"1\" y=\"2\" width=\"5\" height=\"6\"/>"
         "<use id=\"u\" x=\"10\" y=\"20\" width=\"99\" height=\"99\" xlink:href=\"#r\"/>",
         {11, 22, 16, 28}, {22, 44, 32, 56}},
        // The element's own transform counts.
        {"<rect id=\"r\" width=\"5\" height=\"6\" transform=\"translate(3 4)\"/>"
         "<use id=\"u\" x=\"10\" xlink:href=\"#r\" transform=\"translate(1 1)\"/>",
         {13, 4, 18, 10}, {28, 10, 38, 22}},
        // A symbol is the viewport: the use's rectangle.
        {"<symbol id=\"s\" viewBox=\"0 0 10 10\"><rect width=\"10\" height=\"10\"/></symbol>"
         "<use id=\"u\" x=\"2\" y=\"3\" width=\"20\" height=\"10\" xlink:href=\"#s\"/>",
         {2, 3, 22, 13}, {4, 6, 44, 26}},
        // Without a size, the viewport fills the enclosing view box (100%).
        {"<symbol id=\"s\"><rect width=\"10\" height=\"10\"/></symbol>"
         "<use id=\"u\" x=\"2\" xlink:href=\"#s\"/>",
         {2, 0, 42, 40}, {4, 0, 84, 80}},
        // Nothing shown: the use's own rectangle.
        {"<use id=\"u\" x=\"2\" y=\"3\" width=\"4\" height=\"5\" xlink:href=\"#missing\"/>",
         {2, 3, 6, 8}, {4, 6, 12, 16}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Body);
        auto document = Load(QString::fromUtf8(c.Body));
        TSVGGraphicElement* use = Find(*document, QStringLiteral("u"));
        EXPECT_EQ(use->GetBoundsRect(), c.Bounds);
        EXPECT_EQ(use->GetBoundsRect(CreateScalingMatrix(2, 2)), c.Transformed);
    }
}

// --- Drawing ---

TEST_F(UseElement, DrawsTheElementMovedByXAndYWithTheUsesStyle)
{
    const QImage image = RenderSVG(SvgDocumentText(QStringLiteral(
                                       "<defs><rect id=\"r\" width=\"10\" height=\"10\"/></defs>"
                                       "<use xlink:href=\"#r\" x=\"5\" y=\"5\" fill=\"#0000ff\"/>"
                                       "<use xlink:href=\"#r\" x=\"25\" y=\"5\" fill=\"#ff0000\"/>"
                                       "<use xlink:href=\"#r\" x=\"5\" y=\"25\" transform=\"translate(20 0)\"/>")),
                                   QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 10), Blue);
    EXPECT_EQ(image.pixel(30, 10), Red);
    EXPECT_EQ(image.pixel(30, 30), 0xFF000000u);
    EXPECT_TRUE(IsClear(image, 2, 2));
    EXPECT_TRUE(IsClear(image, 10, 30));
    EXPECT_TRUE(CompareWithReference(image, QStringLiteral("svg/render/use_shapes.png"), 4, 8));
}

TEST_F(UseElement, ShowsTheFirstOfDuplicateIDsAndElementsInsideUnknownOnes)
{
    // Of two elements with one ID the first in document order is shown. Elements inside
    // an element this library does not draw (an unknown one, a clipPath) are not drawn
    // where they stand, but a use shows them.
    const QImage image = RenderSVG(
        SvgDocumentText(QStringLiteral("<defs><rect id=\"r\" width=\"10\" height=\"10\" fill=\"#0000ff\"/>"
                           "<rect id=\"r\" width=\"20\" height=\"20\" fill=\"#ff0000\"/></defs>"
                           "<use xlink:href=\"#r\"/>"
                           "<random><rect id=\"u\" x=\"20\" width=\"10\" height=\"10\" fill=\"#0000ff\"/></random>"
                           "<use xlink:href=\"#u\" y=\"20\"/>"
                           "<clipPath><g><rect id=\"c\" y=\"20\" width=\"10\" height=\"10\"/></g></clipPath>"
                           "<use xlink:href=\"#c\" fill=\"#0000ff\"/>")),
        QSize(40, 40));
    EXPECT_EQ(image.pixel(5, 5), Blue);
    EXPECT_TRUE(IsClear(image, 15, 15));
    EXPECT_TRUE(IsClear(image, 25, 5));
    EXPECT_EQ(image.pixel(25, 25), Blue);
    EXPECT_EQ(image.pixel(5, 25), Blue);
}

TEST_F(UseElement, ReadsItsReferenceInsideAnEntity)
{
    // The entity's content is parsed where it is referenced, below the xlink declaration.
    TSVGDocument document;
    document.LoadFromText(QStringLiteral(
        "<!DOCTYPE svg [<!ENTITY Shown \"<use xlink:href='#r' x='20'/>\">]>"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "width=\"40\" height=\"40\"><rect id=\"r\" width=\"10\" height=\"10\" fill=\"#0000ff\"/>"
        "<g>&Shown;</g><g>&Shown;</g></svg>"));
    const QImage image = RenderSVG(document, QSize(40, 40));
    EXPECT_EQ(image.pixel(25, 5), Blue);
}

TEST_F(UseElement, AMissingReferenceDrawsNothing)
{
    QImage image;
    ASSERT_NO_THROW(image = RenderSVG(SvgDocumentText(QStringLiteral("<use xlink:href=\"#missing\" width=\"40\" height=\"40\"/>"
                                                         "<use/>")),
                                      QSize(40, 40)));
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 40; x += 3)
            ASSERT_TRUE(IsClear(image, x, y)) << x << "," << y;
}

// The symbol's view box (0 0 10 10) is fitted into the use's 20 x 10 rectangle at 10, 20
// with its aspect rule: xMidYMid meet scales by 1 and centres, slice scales by 2 and
// clips, none stretches.
TEST_F(UseElement, ASymbolIsFittedIntoTheUsesRectangle)
{
    const QString symbol = QStringLiteral(
        "<symbol id=\"s\" viewBox=\"0 0 10 10\" preserveAspectRatio=\"%1\">"
        "<rect width=\"10\" height=\"10\" fill=\"#0000ff\"/><rect width=\"5\" height=\"5\" fill=\"#ff0000\"/>"
        "</symbol><use xlink:href=\"#s\" x=\"10\" y=\"20\" width=\"20\" height=\"10\"/>");
    struct TCase {
        const char* Rule;
        QRect Red;  // where the symbol's top-left quarter lands
        QRect Blue; // a piece of the rest
        QRect Clear;
    };
    const TCase cases[] = {
        {"xMidYMid meet", {15, 20, 5, 5}, {20, 25, 5, 5}, {10, 20, 5, 10}},
        {"xMinYMin slice", {10, 20, 10, 10}, {20, 20, 10, 10}, {10, 30, 20, 5}},
        {"none", {10, 20, 10, 5}, {20, 25, 10, 5}, {0, 0, 10, 40}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Rule);
        const QImage image = RenderSVG(SvgDocumentText(symbol.arg(QString::fromUtf8(c.Rule))), QSize(40, 40));
        for (int y = c.Red.top() + 1; y < c.Red.bottom(); ++y)
            for (int x = c.Red.left() + 1; x < c.Red.right(); ++x)
                ASSERT_EQ(image.pixel(x, y), Red) << x << "," << y;
        for (int y = c.Blue.top() + 1; y < c.Blue.bottom(); ++y)
            for (int x = c.Blue.left() + 1; x < c.Blue.right(); ++x)
                ASSERT_EQ(image.pixel(x, y), Blue) << x << "," << y;
        for (int y = c.Clear.top() + 1; y < c.Clear.bottom(); ++y)
            for (int x = c.Clear.left() + 1; x < c.Clear.right(); ++x)
                ASSERT_TRUE(IsClear(image, x, y)) << x << "," << y;
    }
}

TEST_F(UseElement, SymbolsAndNestedDocumentsPicture)
{
    // A symbol without view box in a 20 x 20 viewport (its content clipped there), one
    // with a view box fitted into a flat viewport, a use of a use, and a nested svg whose
    // width the use replaces.
    const QImage image = RenderSVG(
        SvgDocumentText(QStringLiteral("<defs>"
                           "<symbol id=\"plain\"><circle cx=\"10\" cy=\"10\" r=\"14\" fill=\"#0000ff\"/></symbol>"
                           "<symbol id=\"boxed\" viewBox=\"0 0 10 10\"><circle cx=\"5\" cy=\"5\" r=\"5\" fill=\"#00a000\"/></symbol>"
                           "<use id=\"inner\" xlink:href=\"#boxed\" width=\"20\" height=\"10\"/>"
                           "<svg id=\"nested\" width=\"10\" height=\"10\" viewBox=\"0 0 10 10\">"
                           "<rect width=\"10\" height=\"10\" fill=\"#ff0000\"/></svg>"
                           "</defs>"
                           "<use xlink:href=\"#plain\" width=\"20\" height=\"20\"/>"
                           "<use xlink:href=\"#inner\" x=\"20\" y=\"5\"/>"
                           "<use xlink:href=\"#nested\" x=\"22\" y=\"24\" width=\"16\" height=\"14\"/>")),
        QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 10), Blue);
    // Clipped at the viewport's edge although the circle reaches beyond it.
    EXPECT_TRUE(IsClear(image, 21, 10));
    EXPECT_TRUE(IsClear(image, 10, 21));
    EXPECT_EQ(image.pixel(30, 10), 0xFF00A000u);
    EXPECT_TRUE(IsClear(image, 22, 10));
    EXPECT_EQ(image.pixel(30, 31), Red);
    EXPECT_TRUE(CompareWithReference(image, QStringLiteral("svg/render/use_symbols.png"), 4, 12));
}

// The element shown has the use as its parent only while it is drawn: afterwards, and
// when the drawing raises, it is back under its own parent.
TEST_F(UseElement, TheParentIsRestoredOnEveryExit)
{
    auto document = Load(QStringLiteral("<defs id=\"d\"><rect id=\"r\" width=\"10\" height=\"10\"/></defs>"
                                        "<use id=\"u\" xlink:href=\"#r\"/>"));
    TSVGElement* rect = Find(*document, QStringLiteral("r"));
    TSVGElement* defs = Find(*document, QStringLiteral("d"));
    TSVGElement* parentWhileDrawn = nullptr;
    document->OnDrawing = [&](TSVGElement* Sender, const TMatrix&, TVelkGPCanvas&, const TRectF&) {
        if (Sender == rect)
            parentWhileDrawn = rect->Parent();
    };
    RenderSVG(*document, QSize(40, 40));
    EXPECT_EQ(parentWhileDrawn, Find(*document, QStringLiteral("u")));
    EXPECT_EQ(rect->Parent(), defs);

    document->OnDrawing = [&](TSVGElement* Sender, const TMatrix&, TVelkGPCanvas&, const TRectF&) {
        if (Sender == rect)
            throw std::runtime_error("drawing failed");
    };
    EXPECT_THROW(RenderSVG(*document, QSize(40, 40)), std::runtime_error);
    EXPECT_EQ(rect->Parent(), defs);
    // The next drawing starts from a clean slate.
    document->OnDrawing = nullptr;
    EXPECT_EQ(RenderSVG(*document, QSize(40, 40)).pixel(5, 5), 0xFF000000u);
}

// --- Hit testing ---

TEST_F(UseElement, AHitOnTheElementShownReportsTheUse)
{
    auto document = Load(QStringLiteral("<defs><rect id=\"r\" width=\"10\" height=\"10\"/></defs>"
                                        "<g id=\"g\"><use id=\"u\" xlink:href=\"#r\" x=\"20\" y=\"20\"/></g>"
                                        "<symbol id=\"s\" viewBox=\"0 0 10 10\"><rect width=\"5\" height=\"5\"/></symbol>"
                                        "<use id=\"us\" xlink:href=\"#s\" width=\"20\" height=\"20\"/>"));
    TSVGGraphicElement* use = Find(*document, QStringLiteral("u"));
    EXPECT_EQ(FindAt(*document, {25, 25}), use);
    EXPECT_EQ(FindAt(*document, {5, 25}), nullptr);
    EXPECT_EQ(FindAt(*document, {25, 25}, {foFindGroups}), Find(*document, QStringLiteral("g")));
    // Through the symbol's view matrix: its 5 x 5 rectangle covers 0..10.
    EXPECT_EQ(FindAt(*document, {8, 8}), Find(*document, QStringLiteral("us")));
    EXPECT_EQ(FindAt(*document, {12, 12}), nullptr);

    // OnElementFound sees the use (and may replace it).
    TSVGGraphicElement* reported = nullptr;
    document->OnElementFound = [&](TObject*, TSVGGraphicElement*& Element) { reported = Element; };
    FindAt(*document, {25, 25});
    EXPECT_EQ(reported, use);
}

// --- Cycles and fan-out ---

// A use that would show itself, directly or through others, shows nothing of the cycle;
// what does not close it is drawn. Drawing, bounds and hit testing all end.
TEST_F(UseElement, CyclesEnd)
{
    struct TCase {
        const char* Name;
        const char* Body;
        bool Blue; // the blue rectangle at 0..10 is drawn (once, outside any cycle)
    };
    const TCase cases[] = {
        {"self", "<use id=\"u\" xlink:href=\"#u\"/><rect width=\"10\" height=\"10\" fill=\"#0000ff\"/>", true},
        {"ancestor",
         "<g id=\"g\"><use id=\"u\" xlink:href=\"#g\" x=\"20\"/><rect width=\"10\" height=\"10\" fill=\"#0000ff\"/></g>",
         true},
        {"root", "<use id=\"u\" xlink:href=\"#root\"/><rect width=\"10\" height=\"10\" fill=\"#0000ff\"/>", true},
        {"mutual",
         "<use id=\"u\" xlink:href=\"#v\"/><use id=\"v\" xlink:href=\"#u\"/>"
         "<rect width=\"10\" height=\"10\" fill=\"#0000ff\"/>",
         true},
        {"through a group",
         "<g id=\"a\"><use id=\"u\" xlink:href=\"#b\"/></g><g id=\"b\"><use id=\"v\" xlink:href=\"#a\"/></g>"
         "<rect width=\"10\" height=\"10\" fill=\"#0000ff\"/>",
         true},
        {"through a symbol",
         "<symbol id=\"s\"><use id=\"u\" xlink:href=\"#t\"/><rect width=\"10\" height=\"10\" fill=\"#0000ff\"/></symbol>"
         "<use id=\"t\" xlink:href=\"#s\"/>",
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto document = std::make_unique<TSVGDocument>();
        document->LoadFromText(SvgDocumentText(QString::fromUtf8(c.Body)).replace(QStringLiteral("<svg "),
                                                                        QStringLiteral("<svg id=\"root\" ")));
        const QImage image = RenderSVG(*document, QSize(40, 40));
        EXPECT_EQ(image.pixel(5, 5) == Blue, c.Blue);
        // Nothing is drawn twice: the rectangle's copy 20 units on (the ancestor case)
        // would be a second drawing through the cycle.
        EXPECT_TRUE(IsClear(image, 25, 5));
        TSVGGraphicElement* use = Find(*document, QStringLiteral("u"));
        EXPECT_TRUE(IsFiniteRect(use->GetBoundsRect()));
        EXPECT_TRUE(IsFiniteRect(use->GetBoundsRect(IdentityMatrix)));
        EXPECT_TRUE(IsFiniteRect(document->GetBoundsRect()));
        FindAt(*document, {5, 5});
        FindAt(*document, {5, 5}, {foFindGroups, foFindHiddenElements});
    }
}

// Ten uses of a group of ten uses of a group ... nine levels deep would show a billion
// rectangles; the expansion budget ends the drawing, the bounds and the hit test early.
TEST_F(UseElement, ExponentialFanOutIsBounded)
{
    QString body = QStringLiteral("<defs><rect id=\"g0\" width=\"1\" height=\"1\"/>");
    for (int level = 1; level <= 9; ++level) {
        body += QStringLiteral("<g id=\"g%1\">").arg(level);
        for (int i = 0; i < 10; ++i)
            body += QStringLiteral("<use xlink:href=\"#g%1\"/>").arg(level - 1);
        body += QStringLiteral("</g>");
    }
    body += QStringLiteral("</defs><use id=\"top\" xlink:href=\"#g9\"/>");
    auto document = Load(body);
    const QImage image = RenderSVG(*document, QSize(40, 40));
    EXPECT_TRUE(IsClear(image, 20, 20));
    EXPECT_EQ(Find(*document, QStringLiteral("top"))->GetBoundsRect(), (TRectF{0, 0, 1, 1}));
    EXPECT_EQ(FindAt(*document, {20, 20}), nullptr);
    // Hit testing goes from the last child to the first: the first rectangle it meets is
    // within the budget.
    EXPECT_EQ(FindAt(*document, {0.5f, 0.5f}), Find(*document, QStringLiteral("top")));
}

// Uses nested deeper than SVGMaxUseDepth stop there.
TEST_F(UseElement, NestingDepthIsBounded)
{
    QString body = QStringLiteral("<defs><rect id=\"e0\" width=\"1\" height=\"1\"/>");
    for (int level = 1; level <= SVGMaxUseDepth + 5; ++level)
        body += QStringLiteral("<use id=\"e%1\" xlink:href=\"#e%2\"/>").arg(level).arg(level - 1);
    body += QStringLiteral("</defs>");
    auto document = Load(body);
    TSVGGraphicElement* shallow = Find(*document, QStringLiteral("e%1").arg(SVGMaxUseDepth));
    TSVGGraphicElement* deep = Find(*document, QStringLiteral("e%1").arg(SVGMaxUseDepth + 1));
    EXPECT_EQ(shallow->GetBoundsRect(), (TRectF{0, 0, 1, 1}));
    // The last expansion is refused: the use's own (empty) rectangle.
    EXPECT_EQ(deep->GetBoundsRect(), (TRectF{0, 0, 0, 0}));
}

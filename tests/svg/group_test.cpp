#include "graphics/canvas.h"
#include "svg/anchor.h"
#include "svg/basic_shapes.h"
#include "svg/document.h"
#include "svg/group.h"
#include "svg/use.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <memory>

using namespace velk;
using velk::testing::CompareWithReference;
using velk::testing::RenderSVG;
using velk::testing::SvgDocumentText;

namespace {

std::unique_ptr<TSVGDocument> Load(const QString& Body)
{
    auto document = std::make_unique<TSVGDocument>();
    document->LoadFromText(SvgDocumentText(Body));
    return document;
}

TSVGGraphicElement* Find(const TSVGDocument& Document, const QString& ID)
{
    TSVGElement* element = nullptr;
    return Document.AllItems().TryGetValue(ID, element) ? element->AsGraphicElement() : nullptr;
}

class GroupElement : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

} // namespace

// --- Bounds ---

TEST_F(GroupElement, BoundsUniteTheChildrenThatAreDrawn)
{
    struct TCase {
        const char* Children;
        TRectF Bounds;
    };
    const TCase cases[] = {
        {"<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\"/><rect x=\"10\" y=\"0\" width=\"2\" height=\"2\"/>",
         {1, 0, 12, 6}},
        // A child's transform places its bounds (a mirror gives them back in order).
        {"<rect width=\"2\" height=\"2\" transform=\"translate(5 6)\"/>"
         "<rect width=\"2\" height=\"2\" transform=\"scale(-1 1)\"/>",
         {-2, 0, 7, 8}},
        // Bounds with extent in one direction only still count.
        {"<rect y=\"5\" width=\"10\" height=\"0\"/><rect x=\"3\" y=\"1\" width=\"1\" height=\"1\"/>", {0, 1, 10, 5}},
        // Nested groups.
        {"<g transform=\"translate(10 0)\"><rect width=\"1\" height=\"1\"/></g><rect width=\"1\" height=\"1\"/>",
         {0, 0, 11, 1}},
        // Never drawn: display none, conditions that fail, defs.
        {"<rect width=\"1\" height=\"1\"/><rect x=\"20\" width=\"1\" height=\"1\" display=\"none\"/>"
         "<rect x=\"20\" width=\"1\" height=\"1\" requiredExtensions=\"http://example.org/x\"/>"
         "<defs><rect x=\"30\" width=\"1\" height=\"1\"/></defs>",
         {0, 0, 1, 1}},
        // Hidden (visibility) elements keep their place.
        {"<rect width=\"1\" height=\"1\"/><rect x=\"20\" width=\"1\" height=\"1\" visibility=\"hidden\"/>",
         {0, 0, 21, 1}},
        // Through a use: what it shows.
        {"<use xlink:href=\"#r\" x=\"5\"/>", {25, 1, 28, 4}},
        {"", {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Children);
        auto document = Load(QStringLiteral("<g id=\"g\">%1</g><rect id=\"r\" x=\"20\" y=\"1\" width=\"3\" height=\"3\"/>")
                                 .arg(QString::fromUtf8(c.Children)));
        TSVGGraphicElement* group = Find(*document, QStringLiteral("g"));
        EXPECT_EQ(group->GetBoundsRect(), c.Bounds);
        // Through a matrix: the same through the group's transform and the matrix.
        group->SetTransformMatrix(QStringLiteral("translate(1 2)"));
        const TRectF& b = c.Bounds;
        if (b.Width() > 0 || b.Height() > 0) {
            EXPECT_EQ(group->GetBoundsRect(CreateScalingMatrix(2, 2)),
                      (TRectF{2 * (b.Left + 1), 2 * (b.Top + 2), 2 * (b.Right + 1), 2 * (b.Bottom + 2)}));
        }
    }
}

// The cached bounds follow every change that reaches them: of a child, of a grandchild,
// of the children list, of an element shown by a use in the group.
TEST_F(GroupElement, BoundsAreComputedAgainAfterAChange)
{
    auto document = Load(QStringLiteral("<g id=\"g\"><rect id=\"a\" width=\"2\" height=\"2\"/>"
                                        "<g id=\"inner\"><rect id=\"b\" width=\"1\" height=\"1\"/></g>"
                                        "<use xlink:href=\"#shown\"/></g>"
                                        "<defs><rect id=\"shown\" width=\"1\" height=\"1\"/></defs>"));
    TSVGGraphicElement* group = Find(*document, QStringLiteral("g"));
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 2, 2}));

    Find(*document, QStringLiteral("a"))->SetWidth(5);
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 5, 2}));
    Find(*document, QStringLiteral("b"))->SetY(6);
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 5, 7}));
    Find(*document, QStringLiteral("inner"))->SetTransformMatrix(QStringLiteral("translate(0 10)"));
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 5, 17}));
    Find(*document, QStringLiteral("shown"))->SetX(30);
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 31, 17}));

    auto* extra = group->Add(std::make_unique<TSVGRectangle>(document.get()));
    extra->SetY(-4);
    extra->SetWidth(1);
    extra->SetHeight(1);
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, -4, 31, 17}));
    group->Items().Remove(extra);
    EXPECT_EQ(group->GetBoundsRect(), (TRectF{0, 0, 31, 17}));
}

TEST_F(GroupElement, AnOwnerlessGroupMeasuresEveryTime)
{
    TSVGGroup group;
    auto* rect = group.Add(std::make_unique<TSVGRectangle>());
    rect->SetWidth(3);
    rect->SetHeight(3);
    EXPECT_EQ(group.GetBoundsRect(), (TRectF{0, 0, 3, 3}));
    rect->SetWidth(4);
    EXPECT_EQ(group.GetBoundsRect(), (TRectF{0, 0, 4, 3}));
}

// --- Hit testing ---

TEST_F(GroupElement, FindGroupsReportsTheOutermostGroup)
{
    auto document = Load(QStringLiteral("<g id=\"outer\"><g id=\"inner\">"
                                        "<rect id=\"r\" x=\"5\" y=\"5\" width=\"10\" height=\"10\"/></g></g>"
                                        "<g id=\"empty\" x=\"20\" y=\"20\" width=\"10\" height=\"10\"/>"));
    TVelkGPCanvas canvas;
    const auto find = [&](const TPointF& Pt, TSVGFindOptions Options) {
        return document->ElementAtPos(canvas, Pt, TRectF{0, 0, 40, 40}, Options);
    };
    EXPECT_EQ(find({10, 10}, {}), Find(*document, QStringLiteral("r")));
    EXPECT_EQ(find({10, 10}, {foFindGroups}), Find(*document, QStringLiteral("outer")));
    EXPECT_EQ(find({30, 30}, {}), nullptr);
    // A group is never hit itself, not even inside its own rectangle.
    EXPECT_EQ(find({25, 25}, {foFindGroups, foUseBoundingBox, foFindNonFilled}), nullptr);
}

// --- Drawing ---

// visibility hidden on a group hides only what inherits it; display none hides the
// whole subtree, whatever the children say.
TEST_F(GroupElement, DisplayAndVisibilityPicture)
{
    const QImage image = RenderSVG(
        SvgDocumentText(QStringLiteral("<g visibility=\"hidden\">"
                           "<rect x=\"2\" y=\"2\" width=\"16\" height=\"16\" fill=\"#ff0000\"/>"
                           "<rect x=\"6\" y=\"6\" width=\"8\" height=\"8\" fill=\"#0000ff\" visibility=\"visible\"/></g>"
                           "<g display=\"none\">"
                           "<rect x=\"22\" y=\"2\" width=\"16\" height=\"16\" fill=\"#ff0000\" display=\"inline\"/>"
                           "<rect x=\"26\" y=\"6\" width=\"8\" height=\"8\" fill=\"#ff0000\" visibility=\"visible\"/></g>"
                           "<g><rect x=\"2\" y=\"22\" width=\"16\" height=\"16\" fill=\"#0000ff\"/>"
                           "<rect x=\"6\" y=\"26\" width=\"8\" height=\"8\" fill=\"#ff0000\" display=\"none\"/></g>")),
        QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 10), 0xFF0000FFu);
    EXPECT_EQ(qAlpha(image.pixel(4, 4)), 0);
    EXPECT_EQ(qAlpha(image.pixel(30, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(24, 4)), 0);
    EXPECT_EQ(image.pixel(10, 30), 0xFF0000FFu);
    EXPECT_TRUE(CompareWithReference(image, QStringLiteral("svg/render/display_visibility.png"), 4, 8));
}

// --- The a element ---

TEST_F(GroupElement, AnchorDrawsItsChildrenAndKeepsItsLink)
{
    const auto document = Load(QStringLiteral(
        "<a id=\"link\" xlink:href=\"https://example.org/?a=1&amp;b=2\" fill=\"#0000ff\">"
        "<rect id=\"r\" x=\"5\" y=\"5\" width=\"10\" height=\"10\"/></a>"
        "<switch><a><rect id=\"s\" x=\"25\" y=\"5\" width=\"10\" height=\"10\"/></a></switch>"));
    auto* link = dynamic_cast<TSVGAnchor*>(Find(*document, QStringLiteral("link")));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Href(), QStringLiteral("https://example.org/?a=1&b=2"));
    const QImage image = RenderSVG(*document, QSize(40, 40));
    // Its children inherit from it, and a switch picks it like a group.
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(30, 10), qRgb(0, 0, 0));
    TVelkGPCanvas canvas;
    EXPECT_EQ(document->ElementAtPos(canvas, {10, 10}, {0, 0, 40, 40}, {foFindGroups}), link);

    // Written back as an a element with its link.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    document->SaveToStream(buffer);
    const QString saved = QString::fromUtf8(buffer.data());
    EXPECT_TRUE(saved.contains(u"xlink:href=\"https://example.org/?a=1&amp;b=2\"")) << saved.toStdString();
    TSVGDocument copy;
    copy.LoadFromText(saved);
    auto* again = dynamic_cast<TSVGAnchor*>(copy.AllItems().Get(QStringLiteral("link")));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Href(), link->Href());
    EXPECT_EQ(again->Count(), 1);
    const auto clone = link->Clone(document.get());
    EXPECT_EQ(dynamic_cast<TSVGAnchor&>(*clone).Href(), link->Href());
}

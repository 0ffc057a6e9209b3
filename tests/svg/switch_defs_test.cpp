#include "graphics/canvas.h"
#include "svg/defs.h"
#include "svg/document.h"
#include "svg/switch.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"

#include <gtest/gtest.h>

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
    // Languages are tested against "en", not against the user's locale.
    TSVGOptions options = document->Options();
    options.Exclude(soUseLocaleForLanguage);
    document->SetOptions(options);
    document->SetPreferredLanguage(QStringLiteral("en"));
    document->LoadFromText(SvgDocumentText(Body));
    return document;
}

TSVGGraphicElement* Find(const TSVGDocument& Document, const QString& ID)
{
    TSVGElement* element = nullptr;
    return Document.AllItems().TryGetValue(ID, element) ? element->AsGraphicElement() : nullptr;
}

constexpr QRgb Blue = 0xFF0000FF;

// A feature this library does not support.
const QString Unsupported = QStringLiteral("http://www.w3.org/TR/SVG11/feature#Animation");
const QString Supported = QStringLiteral("http://www.w3.org/TR/SVG11/feature#Shape");

class SwitchAndDefs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

} // namespace

// --- switch ---

TEST_F(SwitchAndDefs, TheFirstChildWhoseConditionsHoldIsChosen)
{
    struct TCase {
        QString Children;
        QString Chosen; // "" for none
    };
    const TCase cases[] = {
        {QStringLiteral("<rect id=\"a\" requiredFeatures=\"%1\"/><rect id=\"b\"/><rect id=\"c\"/>").arg(Unsupported),
         QStringLiteral("b")},
        {QStringLiteral("<rect id=\"a\" requiredFeatures=\"%1\"/><rect id=\"b\"/>").arg(Supported), QStringLiteral("a")},
        {QStringLiteral("<rect id=\"a\" requiredExtensions=\"http://example.org/x\"/><rect id=\"b\"/>"),
         QStringLiteral("b")},
        {QStringLiteral("<rect id=\"a\" systemLanguage=\"ru\"/><rect id=\"b\" systemLanguage=\"ru, en\"/>"),
         QStringLiteral("b")},
        // Visibility plays no part in the choice.
        {QStringLiteral("<rect id=\"a\" visibility=\"hidden\"/><rect id=\"b\"/>"), QStringLiteral("a")},
        // A container is chosen like a shape.
        {QStringLiteral("<g id=\"a\" systemLanguage=\"en\"/><rect id=\"b\"/>"), QStringLiteral("a")},
        {QStringLiteral("<rect id=\"a\" systemLanguage=\"ru\"/>"), QString()},
        {QString(), QString()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Children.toStdString());
        auto document = Load(QStringLiteral("<switch id=\"s\">%1</switch>").arg(c.Children));
        auto* choice = dynamic_cast<TSVGSwitch*>(Find(*document, QStringLiteral("s")));
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->ChosenChild(), c.Chosen.isEmpty() ? nullptr : Find(*document, c.Chosen));
    }
}

TEST_F(SwitchAndDefs, TheSwitchIsDisplayedByItsConditionsAndDisplay)
{
    auto document = Load(QStringLiteral("<switch id=\"hidden\" visibility=\"hidden\"/>"
                                        "<switch id=\"none\" display=\"none\"/>"
                                        "<switch id=\"foreign\" systemLanguage=\"ru\"/>"));
    EXPECT_TRUE(Find(*document, QStringLiteral("hidden"))->IsDisplayed());
    EXPECT_FALSE(Find(*document, QStringLiteral("foreign"))->IsDisplayed());
    EXPECT_FALSE(Find(*document, QStringLiteral("none"))->IsDisplayed());
}

// Only the chosen child is drawn, found and measured.
TEST_F(SwitchAndDefs, OnlyTheChosenChildIsDrawnFoundAndMeasured)
{
    const QString body = QStringLiteral(
        "<switch id=\"s\">"
        "<rect x=\"0\" y=\"0\" width=\"10\" height=\"10\" fill=\"#ff0000\" requiredFeatures=\"%1\"/>"
        "<rect id=\"chosen\" x=\"15\" y=\"15\" width=\"10\" height=\"10\" fill=\"#0000ff\"/>"
        "<rect x=\"30\" y=\"30\" width=\"10\" height=\"10\" fill=\"#ff0000\"/>"
        "</switch>")
                             .arg(Unsupported);
    auto document = Load(body);
    const QImage image = RenderSVG(*document, QSize(40, 40));
    EXPECT_EQ(image.pixel(20, 20), Blue);
    EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(image.pixel(35, 35)), 0);
    EXPECT_TRUE(CompareWithReference(image, QStringLiteral("svg/render/switch.png"), 4, 8));

    TVelkGPCanvas canvas;
    const auto find = [&](const TPointF& Pt) {
        return document->ElementAtPos(canvas, Pt, TRectF{0, 0, 40, 40}, {});
    };
    EXPECT_EQ(find({20, 20}), Find(*document, QStringLiteral("chosen")));
    EXPECT_EQ(find({35, 35}), nullptr);
    EXPECT_EQ(find({5, 5}), nullptr);
    EXPECT_EQ(Find(*document, QStringLiteral("s"))->GetBoundsRect(), (TRectF{15, 15, 25, 25}));
}

// --- defs ---

TEST_F(SwitchAndDefs, DefsAreNeverDrawnTheirChildrenOnlyThroughAUse)
{
    auto document = Load(QStringLiteral("<defs id=\"d\">"
                                        "<rect id=\"r\" width=\"10\" height=\"10\" fill=\"#0000ff\"/></defs>"
                                        "<use xlink:href=\"#r\" x=\"20\" y=\"20\"/>"));
    EXPECT_FALSE(Find(*document, QStringLiteral("d"))->IsDisplayed());
    const QImage image = RenderSVG(*document, QSize(40, 40));
    EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);
    EXPECT_EQ(image.pixel(25, 25), Blue);
    EXPECT_TRUE(CompareWithReference(image, QStringLiteral("svg/render/defs_use.png"), 4, 8));

    // Found only when hidden elements are searched too.
    TVelkGPCanvas canvas;
    EXPECT_EQ(document->ElementAtPos(canvas, {5, 5}, TRectF{0, 0, 40, 40}, {}), nullptr);
    EXPECT_EQ(document->ElementAtPos(canvas, {5, 5}, TRectF{0, 0, 40, 40}, {foFindHiddenElements}),
              Find(*document, QStringLiteral("r")));
}

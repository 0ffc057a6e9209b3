// Fill and stroke values as a loaded document resolves and draws them: paint-server
// references with and without a fallback, currentColor, and the stroke parameters
// whose values are checked before they reach the pen.

#include "svg/document.h"
#include "svg/graphic_element.h"
#include "tests/support/gui_application.h"
#include "tests/support/svg_render.h"
#include "tests/support/test_support.h"

#include <QImage>
#include <gtest/gtest.h>

namespace velk {
namespace {

using testing::RenderSVG;
using testing::SvgDocumentText;

constexpr TVelkGPColor Black = 0xFF000000;
constexpr TVelkGPColor Green = 0xFF008000;
constexpr TVelkGPColor Blue = 0xFF0000FF;

TSVGGraphicElement& Element(const TSVGDocument& Doc, const char* ID)
{
    return *dynamic_cast<TSVGGraphicElement*>(Doc.AllItems().Get(QString::fromLatin1(ID)));
}

// While no paint server resolves a reference, the fallback paints; without one nothing
// does. The reference stays for the paint server to take over.
TEST(PaintValues, UnresolvedReferencesPaintTheirFallback)
{
    testing::EnsureGuiApplication();
    struct Case {
        const char* Fill;
        TVelkGPBrushKind Kind;
        TVelkGPColor Color;
        const char* URI;
    } cases[] = {
        {"url(#missing) #008000", bkSolid, Green, "missing"},
        {"url(#missing) none", bkNone, Black, "missing"},
        {"url(#missing)", bkNone, Black, "missing"},
        {"url(#r) none", bkNone, Black, "r"}, // names an element that is not a paint server
        {"url(#r)", bkNone, Black, "r"},
        {"url(#missing) currentColor", bkSolid, Blue, "missing"},
    };
    for (const Case& c : cases) {
        for (const char* property : {"fill", "stroke"}) {
            const std::string context = std::string(property) + ": " + c.Fill;
            TSVGDocument doc;
            doc.LoadFromText(SvgDocumentText(QStringLiteral(R"~(<rect id="r" width="1" height="1" color="#0000ff" %1="%2"/>)~")
                                     .arg(QLatin1String(property), QLatin1String(c.Fill))));
            const TSVGGraphicElement& rect = Element(doc, "r");
            const bool fill = property[0] == 'f';
            const TVelkGPBrushKind kind = fill ? rect.Brush().Kind() : rect.Pen().Kind();
            const TVelkGPColor color = fill ? rect.Brush().Color() : rect.Pen().Color();
            const QString uri = fill ? rect.Brush().URI() : rect.Pen().URI();
            EXPECT_EQ(kind, c.Kind) << context;
            if (c.Kind != bkNone) {
                EXPECT_EQ(color, c.Color) << context;
            }
            EXPECT_EQ(uri, QString::fromLatin1(c.URI)) << context;
        }
    }
}

// A later declaration replaces an earlier reference entirely: fill="none" over a rule's
// url(#g) keeps no reference a paint server could later draw.
TEST(PaintValues, APlainValueDropsAnEarlierReference)
{
    testing::EnsureGuiApplication();
    TSVGDocument doc;
    doc.LoadFromText(SvgDocumentText(QStringLiteral(R"~(<rect id="r" width="1" height="1" fill="url(#g)" style="fill: red"/>)~")));
    EXPECT_EQ(Element(doc, "r").Brush().URI(), QString());
    EXPECT_EQ(Element(doc, "r").Brush().Kind(), bkSolid);
}

TEST(PaintValues, UnresolvedReferencesDrawTheFallbackOrNothing)
{
    testing::EnsureGuiApplication();
    const QImage image = RenderSVG(SvgDocumentText(QStringLiteral(R"~(
        <rect x="0" y="0" width="20" height="20" fill="url(#missing) #008000"/>
        <rect x="20" y="0" width="20" height="20" fill="url(#missing) none"/>
        <rect id="a" x="0" y="20" width="20" height="20" fill="url(#missing)"/>
        <rect x="20" y="20" width="20" height="20" fill="url(#a)" stroke="url(#a)"/>)~")),
                                   QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 128, 0));
    EXPECT_EQ(qAlpha(image.pixel(30, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(10, 30)), 0);
    EXPECT_EQ(qAlpha(image.pixel(30, 30)), 0);
    EXPECT_EQ(qAlpha(image.pixel(20, 30)), 0);
}

// currentColor is the color of the element that paints: a fill inherited from a group
// takes the color declared below that group, and the initial color is black.
TEST(PaintValues, CurrentColorIsTheColorOfThePaintingElement)
{
    testing::EnsureGuiApplication();
    TSVGDocument doc;
    doc.LoadFromText(SvgDocumentText(QStringLiteral(R"~(
        <g fill="currentColor" stroke="currentColor" color="#0000ff">
          <rect id="blue" width="1" height="1"/>
          <g color="#008000"><rect id="green" width="1" height="1"/></g>
        </g>
        <rect id="black" width="1" height="1" fill="currentColor" stroke="currentColor"/>)~")));
    EXPECT_EQ(Element(doc, "blue").Brush().Color(), Blue);
    EXPECT_EQ(Element(doc, "green").Brush().Color(), Green);
    EXPECT_EQ(Element(doc, "green").Pen().Color(), Green);
    EXPECT_EQ(Element(doc, "black").Brush().Color(), Black);
    EXPECT_EQ(Element(doc, "black").Pen().Color(), Black);

    const QImage image = RenderSVG(SvgDocumentText(QStringLiteral(R"~(
        <g fill="currentColor"><g color="#008000"><rect width="20" height="40"/></g></g>
        <rect x="20" width="20" height="40" fill="currentColor"/>)~")),
                                   QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 20), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 0));
}

// stroke-miterlimit is a number: a unit makes the value invalid and the limit stays 4.
TEST(PaintValues, MiterLimitWithAUnitKeepsTheDefault)
{
    testing::EnsureGuiApplication();
    for (const char* value : {"5mm", "5%", "5px"}) {
        TSVGDocument doc;
        doc.LoadFromText(
            SvgDocumentText(QStringLiteral(R"~(<path id="p" d="M0 0L1 1" stroke="red" stroke-miterlimit="%1"/>)~").arg(QLatin1String(value))));
        EXPECT_FLOAT_EQ(Element(doc, "p").Pen().MiterLimit(), 4) << value;
    }
}

// A zero dash with square caps draws a square dot at the start of every period.
TEST(PaintValues, ZeroDashesWithRoundCapsDrawDots)
{
    testing::EnsureGuiApplication();
    const QImage image = RenderSVG(SvgDocumentText(QStringLiteral(R"~(
        <path d="M5 20H40" stroke="#008000" stroke-width="6" stroke-dasharray="0 15" stroke-linecap="round"/>)~")),
                                   QSize(40, 40));
    for (int x : {5, 20, 35})
        EXPECT_EQ(image.pixel(x, 20), qRgb(0, 128, 0)) << x;
    for (int x : {12, 27})
        EXPECT_EQ(qAlpha(image.pixel(x, 20)), 0) << x;
}

} // namespace
} // namespace velk

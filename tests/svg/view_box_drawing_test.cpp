// Viewports: fitting a view box, the view matrix of viewports and of the document, their
// bounds and clipping, sizes of svg elements, symbols, and absurd sizes.

#include "graphics/canvas.h"
#include "svg/document.h"
#include "svg/symbol.h"
#include "svg/view_box.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"
#include "tests/support/test_support.h"
#include "tests/svg/pipeline_test_elements.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cmath>
#include <memory>

using namespace velk;
using velk::testing::CompareWithReference;
using velk::testing::IsBlank;
using velk::testing::RenderSVG;

namespace {

class ViewBoxDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

std::unique_ptr<TSVGPreserveAspectRatio> AspectRatio(TSVGAlign Align, bool Slice)
{
    auto result = std::make_unique<TSVGPreserveAspectRatio>();
    result->SetAlign(Align);
    result->SetSlice(Slice);
    return result;
}

TPointF Map(const TMatrix& M, float X, float Y)
{
    return PointTimesMatrix({X, Y}, M);
}

void ExpectPoint(const TPointF& Actual, float X, float Y)
{
    EXPECT_NEAR(Actual.X, X, 1e-4f);
    EXPECT_NEAR(Actual.Y, Y, 1e-4f);
}

bool Opaque(const QImage& Image, int X, int Y)
{
    return qAlpha(Image.pixel(X, Y)) == 255;
}

bool Transparent(const QImage& Image, int X, int Y)
{
    return qAlpha(Image.pixel(X, Y)) == 0;
}

QString SaveToText(TSVGDocument& Document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Document.SaveToStream(buffer);
    return QString::fromUtf8(buffer.data());
}

} // namespace

TEST(SVGFitViewBox, ScalesAndAlignsPerRule)
{
    struct Case {
        const char* Name;
        TRectF Rect;
        TSizeF ViewBox;
        TSVGAlign Align;
        bool Slice;
        TSVGViewBoxFit Expected;
    };
    const TRectF square{0, 0, 200, 200};
    const TRectF placed{10, 20, 210, 220};
    const Case cases[] = {
        {"meet centres the short side", square, {100, 50}, saXMidYMid, false, {2, 2, 0, 50}},
        {"slice centres the long side", square, {100, 50}, saXMidYMid, true, {4, 4, -100, 0}},
        {"none stretches", square, {100, 50}, saNone, false, {2, 4, 0, 0}},
        {"none ignores slice", square, {100, 50}, saNone, true, {2, 4, 0, 0}},
        {"xMinYMin meet", placed, {100, 50}, saXMinYMin, false, {2, 2, 10, 20}},
        {"xMaxYMax meet", placed, {100, 50}, saXMaxYMax, false, {2, 2, 10, 120}},
        {"xMaxYMin slice", placed, {100, 50}, saXMaxYMin, true, {4, 4, -190, 20}},
        {"xMinYMax slice", placed, {50, 100}, saXMinYMax, true, {4, 4, 10, -180}},
        {"xMidYMax meet", placed, {50, 100}, saXMidYMax, false, {2, 2, 60, 20}},
        // A side of at most 1 scales by its inverse whatever the rectangle.
        {"unit box", square, {1, 1}, saXMidYMid, false, {1, 1, 99.5f, 99.5f}},
        {"half box", square, {0.5f, 0.5f}, saNone, false, {2, 2, 0, 0}},
        {"zero side stays unscaled", square, {0, 50}, saNone, false, {1, 4, 0, 0}},
        {"negative side scales by its inverse", square, {-5, 50}, saNone, false, {-0.2f, 4, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSVGViewBoxFit fit = SVGFitViewBox(c.Rect, c.ViewBox, *AspectRatio(c.Align, c.Slice));
        EXPECT_FLOAT_EQ(fit.sx, c.Expected.sx);
        EXPECT_FLOAT_EQ(fit.sy, c.Expected.sy);
        EXPECT_FLOAT_EQ(fit.tx, c.Expected.tx);
        EXPECT_FLOAT_EQ(fit.ty, c.Expected.ty);
    }
}

TEST(SVGViewBoxMatrix, MovesTheOriginFirst)
{
    const TMatrix m = SVGViewBoxMatrix({10, 10, 110, 60}, {0, 0, 200, 200}, *AspectRatio(saXMidYMid, false));
    ExpectPoint(Map(m, 10, 10), 0, 50);
    ExpectPoint(Map(m, 110, 60), 200, 150);
}

TEST(ViewportViewMatrix, WithoutViewBoxPlacesTheContentAtTheCorner)
{
    TSVGSymbol symbol;
    // The alignment has nothing to align without a view box; only the old scale is kept.
    for (const TSVGAlign align : {saNone, saXMidYMid}) {
        symbol.AspectRatio().SetAlign(align);
        const TMatrix old = MatrixMultiply(CreateScalingMatrix(3, 4), CreateTranslationMatrix(50, 60));
        const TMatrix m = symbol.GetViewMatrix(old, TRectF{10, 20, 30, 40});
        ExpectPoint(Map(m, 0, 0), 10, 20);
        ExpectPoint(Map(m, 1, 1), 13, 24);
    }
}

TEST(ViewportViewMatrix, WithViewBoxFitsItIgnoringTheOldMatrix)
{
    TSVGSymbol symbol;
    symbol.SetViewBox({10, 10, 110, 60});
    symbol.AspectRatio().SetAlign(saXMinYMax);
    const TMatrix m = symbol.GetViewMatrix(CreateScalingMatrix(7, 7), TRectF{0, 0, 200, 200});
    ExpectPoint(Map(m, 10, 10), 0, 100);
    ExpectPoint(Map(m, 110, 60), 200, 200);
}

TEST(DocumentViewMatrix, FitsTheViewBoxWithTheOwnRule)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg viewBox='-10 0 100 50' preserveAspectRatio='xMaxYMid slice'/>"_qs);
    const TMatrix m = document.GetViewMatrix(TRectF{0, 0, 200, 200});
    ExpectPoint(Map(m, -10, 0), -200, 0);
    ExpectPoint(Map(m, 90, 50), 200, 200);
}

TEST(DocumentViewMatrix, WithoutViewBoxUsesTheDefaultAspectRatio)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg width='100' height='50'/>"_qs);
    // Default: saNone, the document is stretched onto the rectangle.
    TMatrix m = document.GetViewMatrix(TRectF{0, 0, 200, 200});
    ExpectPoint(Map(m, 100, 50), 200, 200);
    // xMidYMid: centred and uniformly scaled.
    document.DefaultAspectRatio().SetAlign(saXMidYMid);
    m = document.GetViewMatrix(TRectF{0, 0, 200, 200});
    ExpectPoint(Map(m, 0, 0), 0, 50);
    ExpectPoint(Map(m, 100, 50), 200, 150);
    // The root's x and y have no meaning.
    document.SetX(30);
    ExpectPoint(Map(document.GetViewMatrix(TRectF{0, 0, 200, 200}), 0, 0), 0, 50);
}

TEST_F(ViewBoxDrawing, DefaultAspectRatioCentresADocumentWithoutViewBox)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg width='40' height='20'><rect width='40' height='20' fill='#00f'/></svg>"_qs);
    document.DefaultAspectRatio().SetAlign(saXMidYMid);
    const QImage image = RenderSVG(document, QSize(40, 40));
    EXPECT_TRUE(Transparent(image, 20, 5));
    EXPECT_EQ(image.pixel(20, 20), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 11), qRgb(0, 0, 255));
    EXPECT_TRUE(Transparent(image, 20, 35));
}

TEST(ViewportBounds, OwnRectangleOrTheRootsViewBox)
{
    TSVGDocument document;
    document.LoadFromText(
        u"<svg viewBox='5 5 50 40'><svg id='n' x='10' y='20' width='30' height='40' viewBox='0 0 1 1'/></svg>"_qs);
    EXPECT_EQ(document.GetBoundsRect(), (TRectF{5, 5, 55, 45}));
    TSVGElement* nested = document.AllItems().Get(u"n"_qs);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->GetBoundsRect(), (TRectF{10, 20, 40, 60}));
    // All four corners count: a quarter turn keeps the whole extent.
    const TMatrix quarterTurn{0, 1, 0, -1, 0, 0, 0, 0, 1};
    EXPECT_EQ(nested->GetBoundsRect(quarterTurn), (TRectF{-60, 10, -20, 40}));
}

TEST_F(ViewBoxDrawing, RootClipsToTheTargetNotToTheFittedViewBox)
{
    // The view box -10 -20 40 40 is fitted into the target 40 x 20 at its left (scale
    // 0.5): it covers only 0..20 across, yet the viewport is the whole target. A
    // rectangle right of the view box is drawn, one below the target is not.
    TSVGDocument document;
    document.LoadFromText(u"<svg width='40' height='20' viewBox='-10 -20 40 40' preserveAspectRatio='xMinYMin'>"
                          u"<rect id='r' x='40' y='-20' width='20' height='40' fill='#00f'/>"
                          u"<rect x='-10' y='20' width='60' height='20' fill='#f00'/></svg>"_qs);
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        document.Draw(canvas, TRectF{0, 0, 40, 20});
    }
    EXPECT_TRUE(Transparent(image, 10, 10));
    EXPECT_EQ(image.pixel(30, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(30, 15), qRgb(0, 0, 255));
    // Outside the target the canvas stays empty: the red rectangle lies below it.
    EXPECT_TRUE(Transparent(image, 30, 25));
    EXPECT_TRUE(Transparent(image, 5, 25));

    TVelkGPCanvas canvas;
    const auto find = [&](float X, float Y) { return document.ElementAtPos(canvas, {X, Y}, {0, 0, 40, 20}, {}); };
    EXPECT_EQ(find(30, 10), document.AllItems().Get(u"r"_qs));
    EXPECT_EQ(find(10, 25), nullptr);
}

TEST_F(ViewBoxDrawing, NestedViewportClipsUnlessOverflowIsVisible)
{
    const auto render = [](const QString& Overflow) {
        return RenderSVG(u"<svg width='40' height='40'><svg x='10' y='10' width='10' height='10' "_qs + Overflow
                             + u"><rect width='30' height='30' fill='#f00'/></svg></svg>"_qs,
                         QSize(40, 40));
    };
    const QImage hidden = render({});
    // The content starts at the viewport's corner.
    EXPECT_TRUE(Transparent(hidden, 5, 5));
    EXPECT_EQ(hidden.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_TRUE(Transparent(hidden, 25, 25));
    EXPECT_TRUE(Transparent(hidden, 15, 25));

    const QImage visible = render(u"overflow='visible'"_qs);
    EXPECT_TRUE(Transparent(visible, 5, 5));
    EXPECT_EQ(visible.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(visible.pixel(35, 35), qRgb(255, 0, 0));
}

TEST_F(ViewBoxDrawing, ClipToViewportClipsToTheClipRectangle)
{
    TSVGSymbol symbol;
    symbol.SetX(10);
    symbol.SetY(10);
    symbol.SetWidth(10);
    symbol.SetHeight(10);
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        symbol.ClipToViewport(CreateScalingMatrix(2, 2), canvas, {0, 0, 40, 40});
        canvas.FillRect(TRectF{0, 0, 40, 40}, 1);
    }
    EXPECT_TRUE(Opaque(image, 25, 25));
    EXPECT_TRUE(Transparent(image, 15, 15));

    symbol.SetOverflow(true);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        symbol.ClipToViewport(CreateScalingMatrix(2, 2), canvas, {0, 0, 40, 40});
        canvas.FillRect(TRectF{0, 0, 40, 40}, 1);
    }
    EXPECT_TRUE(Opaque(image, 5, 5));
}

TEST(ViewportOverflow, HiddenByDefaultAndNotWritten)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg><svg id='n' width='10' height='10'/></svg>"_qs);
    EXPECT_FALSE(document.Overflow());
    const QString text = SaveToText(document);
    EXPECT_FALSE(text.contains(u"overflow"_qs)) << text.toStdString();
    document.LoadFromText(u"<svg><svg id='n' width='10' height='10' overflow='visible'/></svg>"_qs);
    EXPECT_TRUE(SaveToText(document).contains(u"overflow=\"visible\""_qs));
}

TEST(ViewportSizes, TheRootsSizeInPixels)
{
    struct Case {
        const char* Attributes;
        float Width;
        float Height;
    };
    const Case cases[] = {
        {"width='20' height='30px'", 20, 30},
        {"width='1in' height='2.54cm'", 96, 96},
        {"width='10mm' height='10pt'", 37.8f, 13.33f},
        {"width='50%' height='25%' viewBox='0 0 200 100'", 100, 25},
        {"viewBox='0 0 200 100'", 200, 100},
        // Without view box, percentages of SVG's default 100 x 100.
        {"", 100, 100},
        {"width='50%'", 50, 100},
        {"width='0' height='-5'", 0, -5},
        // Unreadable values keep the initial 100%.
        {"width='NaN' height='inf'", 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Attributes);
        TSVGDocument document;
        document.LoadFromText(u"<svg "_qs + QString::fromUtf8(c.Attributes) + u"/>"_qs);
        EXPECT_NEAR(document.Width(), c.Width, 0.01f);
        EXPECT_NEAR(document.Height(), c.Height, 0.01f);
    }
}

TEST(ViewportSizes, NestedSvgMeasuresInTheEnclosingViewport)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg width='400' height='300' viewBox='0 0 200 100'>"
                          u"<g><svg id='a' x='10%' width='50%' viewBox='0 0 10 10'>"
                          u"<svg id='b' width='50%' height='20%'/></svg></g>"
                          u"<svg id='c' width='40' height='30'><rect id='r' width='50%' height='50%'/></svg></svg>"_qs);
    // A nested svg element keeps the IDs of its content in its own table.
    const auto element = [](const TSVGDocument& Table, const QString& ID) {
        TSVGElement* found = nullptr;
        Table.AllItems().TryGetValue(ID, found);
        return found ? found->AsGraphicElement() : nullptr;
    };
    auto* a = dynamic_cast<TSVGDocument*>(element(document, u"a"_qs));
    auto* c = dynamic_cast<TSVGDocument*>(element(document, u"c"_qs));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(c, nullptr);
    ASSERT_NE(element(*a, u"b"_qs), nullptr);
    ASSERT_NE(element(*c, u"r"_qs), nullptr);
    // Missing sizes are 100% of the enclosing viewport, not of the own view box.
    EXPECT_FLOAT_EQ(a->X(), 20);
    EXPECT_FLOAT_EQ(a->Width(), 100);
    EXPECT_FLOAT_EQ(a->Height(), 100);
    // Inside a viewport with a view box, that view box.
    EXPECT_FLOAT_EQ(element(*a, u"b"_qs)->Width(), 5);
    EXPECT_FLOAT_EQ(element(*a, u"b"_qs)->Height(), 2);
    // An svg element without view box is the viewport of its content by its own size.
    EXPECT_FLOAT_EQ(element(*c, u"r"_qs)->Width(), 20);
    EXPECT_FLOAT_EQ(element(*c, u"r"_qs)->Height(), 15);
}

TEST_F(ViewBoxDrawing, NestedViewportAlignments)
{
    // Columns: the nine alignments. Rows: meet with a wide and a tall view box, slice
    // with both, and none. Each cell: the viewport in grey, the view box in light blue
    // with a dark square at its top-left corner.
    static const char* const aligns[] = {"xMinYMin", "xMidYMin", "xMaxYMin", "xMinYMid", "xMidYMid",
                                         "xMaxYMid", "xMinYMax", "xMidYMax", "xMaxYMax"};
    struct Row {
        const char* Rule;
        const char* ViewBox;
        const char* Content;
    };
    static const Row rows[] = {
        {"meet", "0 0 20 10", "<rect width='20' height='10' fill='#9cf'/><rect width='4' height='4' fill='#036'/>"},
        {"meet", "0 0 10 20", "<rect width='10' height='20' fill='#9cf'/><rect width='4' height='4' fill='#036'/>"},
        {"slice", "0 0 20 10", "<rect width='20' height='10' fill='#9cf'/><rect width='4' height='4' fill='#036'/>"},
        {"slice", "0 0 10 20", "<rect width='10' height='20' fill='#9cf'/><rect width='4' height='4' fill='#036'/>"},
    };
    QString text = u"<svg xmlns='http://www.w3.org/2000/svg' width='190' height='110'>"_qs;
    const auto cell = [&](int Column, int Row, const QString& Rule, const char* ViewBox, const char* Content) {
        const QString x = QString::number(5 + Column * 20);
        const QString y = QString::number(5 + Row * 20);
        text += u"<rect x='"_qs + x + u"' y='"_qs + y + u"' width='16' height='16' fill='#ccc'/>"_qs;
        text += u"<svg x='"_qs + x + u"' y='"_qs + y + u"' width='16' height='16' viewBox='"_qs
            + QString::fromUtf8(ViewBox) + u"' preserveAspectRatio='"_qs + Rule + u"'>"_qs + QString::fromUtf8(Content)
            + u"</svg>"_qs;
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 9; ++c)
            cell(c, r, QString::fromUtf8(aligns[c]) + u' ' + QString::fromUtf8(rows[r].Rule), rows[r].ViewBox,
                 rows[r].Content);
    cell(0, 4, u"none"_qs, rows[0].ViewBox, rows[0].Content);
    text += u"</svg>"_qs;
    const QImage image = RenderSVG(text, QSize(190, 110));
    EXPECT_TRUE(CompareWithReference(image, u"svg/render/viewport_alignments.png"_qs, 4, 20));
    // meet xMinYMin, wide box: the dark corner at the cell's corner, grey below the box.
    EXPECT_EQ(image.pixel(6, 6), qRgb(0, 0x33, 0x66));
    EXPECT_EQ(image.pixel(12, 18), qRgb(0xcc, 0xcc, 0xcc));
    // slice xMaxYMin, wide box: the corner is cut off; the cell is covered.
    EXPECT_EQ(image.pixel(46, 46), qRgb(0x99, 0xcc, 0xff));
    // none: stretched over the whole cell.
    EXPECT_EQ(image.pixel(19, 99), qRgb(0x99, 0xcc, 0xff));
}

TEST_F(ViewBoxDrawing, HitTestsFollowTheViewMatrixAndTheClip)
{
    // The nested view box 0 0 10 10 is fitted into 20 x 20 at 10, 10: its rectangle at
    // 5, 5 (size 10) covers 20..40 on the device, half of it outside the viewport.
    TSVGDocument document;
    document.LoadFromText(u"<svg width='40' height='40'><svg id='n' x='10' y='10' width='20' height='20' "
                          u"viewBox='0 0 10 10'><rect id='r' x='5' y='5' width='10' height='10'/></svg></svg>"_qs);
    auto* nested = dynamic_cast<TSVGDocument*>(document.AllItems().Get(u"n"_qs));
    ASSERT_NE(nested, nullptr);
    TSVGElement* rect = nested->AllItems().Get(u"r"_qs);
    TVelkGPCanvas canvas;
    const auto find = [&](float X, float Y) { return document.ElementAtPos(canvas, {X, Y}, {0, 0, 40, 40}, {}); };
    // The document the program watches hears of hits inside nested svg elements too.
    TSVGGraphicElement* reported = nullptr;
    document.OnElementFound = [&](TObject*, TSVGGraphicElement*& Element) { reported = Element; };
    EXPECT_EQ(find(25, 25), rect);
    EXPECT_EQ(reported, rect);
    EXPECT_EQ(find(15, 15), nullptr);
    // Clipped away: drawn nowhere, hit nowhere.
    EXPECT_EQ(find(35, 35), nullptr);
    nested->SetOverflow(true);
    EXPECT_EQ(find(35, 35), rect);
    // The same element as a viewport elsewhere (as a use shows it).
    EXPECT_EQ(nested->ElementAtViewportPos(IdentityMatrix, canvas, {3, 3}, {0, 0, 4, 4}, {0, 0, 40, 40}, {}), rect);
    EXPECT_EQ(nested->ElementAtViewportPos(IdentityMatrix, canvas, {1, 1}, {0, 0, 4, 4}, {0, 0, 40, 40}, {}),
              nullptr);
    EXPECT_EQ(nested->ElementAtViewportPos(IdentityMatrix, canvas, {3, 3}, {0, 0, 0, 4}, {0, 0, 40, 40}, {}),
              nullptr);
}

TEST_F(ViewBoxDrawing, SymbolIsNotDrawnWhereItStands)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg width='20' height='20'><symbol id='s' viewBox='0 0 10 10' width='20' height='20'>"
                          u"<rect width='10' height='10'/></symbol></svg>"_qs);
    EXPECT_TRUE(IsBlank(RenderSVG(document, QSize(20, 20))));
}

TEST(SymbolReading, TakesTheViewBoxAsItsRectangle)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg><symbol id='a' viewBox='1 2 30 40' x='7' width='9' transform='scale(2)'/>"
                          u"<symbol id='b' x='3' y='4' width='5' height='6'/></svg>"_qs);
    auto* a = dynamic_cast<TSVGSymbol*>(document.AllItems().Get(u"a"_qs));
    auto* b = dynamic_cast<TSVGSymbol*>(document.AllItems().Get(u"b"_qs));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->SVGType(), etSymbol);
    EXPECT_EQ(a->GetBoundsRect(), (TRectF{1, 2, 31, 42}));
    EXPECT_EQ(b->GetBoundsRect(), (TRectF{3, 4, 8, 10}));
    EXPECT_FALSE(b->ViewBoxSpecified());
    EXPECT_TRUE(a->ChildSVGTypes().Contains(etRectangle));
    EXPECT_EQ(a->Matrix(), IdentityMatrix);

    const QString text = SaveToText(document);
    EXPECT_TRUE(text.contains(u"<symbol id=\"a\" viewBox=\"1 2 30 40\" x=\"1\" y=\"2\" width=\"30\" height=\"40\""_qs))
        << text.toStdString();
}

TEST_F(ViewBoxDrawing, AbsurdSizesDrawNothingOrSomethingSane)
{
    enum TExpect { Blank, Drawn, Any };
    struct Case {
        const char* Root;
        const char* Nested;
        TExpect Expect;
    };
    const Case cases[] = {
        {"width='0'", "", Blank},
        {"height='-5'", "", Blank},
        {"viewBox='0 0 0 10'", "", Blank},
        {"viewBox='0 0 -5 10'", "", Blank},
        {"viewBox='0 0 NaN 10'", "", Blank},
        {"width='NaN' height='NaN'", "", Drawn},
        {"width='1e30' height='1e30'", "", Any},
        {"width='1e-30' height='1e-30'", "", Any},
        {"viewBox='0 0 1e30 1e30'", "", Any},
        {"viewBox='0 0 1e-30 1e-30'", "", Any},
        {"viewBox='1e30 1e30 10 10'", "", Any},
        {"viewBox='0 0 3e38 3e38'", "", Any},
        {"", "width='0'", Blank},
        {"", "height='-5'", Blank},
        {"", "viewBox='0 0 0 0'", Blank},
        {"", "viewBox='0 0 -5 -5'", Blank},
        {"", "width='NaN' viewBox='0 0 NaN 10'", Blank},
        {"", "width='1e30' height='1e30'", Drawn},
        {"", "width='1e-30' height='1e-30'", Any},
        {"", "x='1e30' y='-1e30'", Blank},
        {"", "viewBox='0 0 1e30 1e30'", Any},
        {"", "viewBox='0 0 1e-30 1e-30'", Any},
        {"", "viewBox='-3e38 -3e38 3e38 3e38'", Any},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Root) + " / " + c.Nested);
        const QString text = u"<svg "_qs + QString::fromUtf8(c.Root) + u"><svg "_qs + QString::fromUtf8(c.Nested)
            + u"><rect width='100%' height='100%'/><rect width='1e6' height='1e6' stroke='#000'/></svg></svg>"_qs;
        const QImage image = RenderSVG(text, QSize(20, 20));
        if (c.Expect == Blank) {
            EXPECT_TRUE(IsBlank(image));
        } else if (c.Expect == Drawn) {
            EXPECT_FALSE(IsBlank(image));
        }
    }
}

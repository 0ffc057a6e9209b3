#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/pen.h"
#include "platform/exceptions.h"
#include "svg/document.h"
#include "svg/graphic_element.h"
#include "svg/group.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"
#include "tests/support/test_support.h"
#include "tests/svg/pipeline_test_elements.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace velk;
using velk::testing::AddShape;
using velk::testing::CompareWithReference;
using velk::testing::DrawElement;
using velk::testing::IsBlank;
using velk::testing::MessageOf;
using velk::testing::RenderSVG;
using velk::testing::TTestClipPath;
using velk::testing::TTestShape;

namespace {

class PipelineDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// The number of pixels from X0 up to (not including) X1 in row Y that are at least half
// covered.
int CoveredRun(const QImage& Image, int Y, int X0, int X1)
{
    int count = 0;
    for (int x = X0; x < X1; ++x)
        count += qAlpha(Image.pixel(x, Y)) >= 128 ? 1 : 0;
    return count;
}

bool Covered(const QImage& Image, int X, int Y)
{
    return qAlpha(Image.pixel(X, Y)) >= 128;
}

} // namespace

// Opacity is applied per paint: each child of a half-transparent group is drawn at half
// alpha, and where they overlap the second shows the first through it.
TEST_F(PipelineDrawing, GroupOpacityAppliesToEachPaint)
{
    const QImage image = RenderSVG(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="34" height="34">
        <g opacity="0.5">
          <rect x="2" y="2" width="20" height="20" fill="#ff0000"/>
          <rect x="12" y="12" width="20" height="20" fill="#0000ff"/>
        </g></svg>)svg"_qs,
                                   QSize(34, 34));
    const QRgb red = image.pixel(5, 5);
    const QRgb blue = image.pixel(28, 28);
    const QRgb overlap = image.pixel(17, 17);
    EXPECT_NEAR(qAlpha(red), 128, 1);
    EXPECT_EQ(qGreen(red), 0);
    EXPECT_NEAR(qAlpha(blue), 128, 1);
    EXPECT_EQ(qRed(blue), 0);
    // 0.5 + 0.5 × 0.5 without group compositing (a group drawn offscreen would give 0.5).
    EXPECT_NEAR(qAlpha(overlap), 191, 2);
    EXPECT_GT(qRed(overlap), 0);
    EXPECT_GT(qBlue(overlap), qRed(overlap));
    EXPECT_EQ(qAlpha(image.pixel(30, 3)), 0);
    EXPECT_TRUE(CompareWithReference(image, "svg/render/pipeline_group_opacity.png", 2, 0));
}

// The canvas pen BeginDraw prepares. Strokes are made in user space: under a rotation,
// reflection or uniform scale that is the device stroke at the scaled width; under any
// other matrix the pen keeps the user width and takes the matrix's linear part as its nib.
TEST_F(PipelineDrawing, StrokeWidthFollowsTheMatrix)
{
    struct TCase {
        const char16_t* Transform;
        const char16_t* Stroke;
        float Width;
        TMatrix Nib;
    };
    const TMatrix identity = IdentityMatrix;
    const TCase cases[] = {
        {u"scale(3)", u"stroke-width:2", 6, identity},
        {u"scale(3)", u"stroke-width:2; vector-effect:non-scaling-stroke", 2, identity},
        {u"scale(4 1)", u"stroke-width:2", 2, CreateScalingMatrix(4, 1)},
        {u"skewX(45)", u"stroke-width:2", 2, {1, 0, 0, 1, 1, 0, 0, 0, 1}},
        {u"skewX(45)", u"stroke-width:2; vector-effect:non-scaling-stroke", 2, identity},
        {u"rotate(90)", u"stroke-width:2", 2, identity},
        {u"rotate(90) scale(3)", u"stroke-width:2", 6, identity},
        {u"rotate(30) scale(3) rotate(15)", u"stroke-width:2", 6, identity},
        {u"scale(-3 3)", u"stroke-width:2", 6, identity},
        {u"", u"stroke-width:2.5", 2.5f, identity},
        {u"", u"stroke-width:0", 1e-12f, identity},
        {u"scale(0)", u"stroke-width:2", 1e-12f, identity},
        // Singular, not a similarity: the stroke is flattened to nothing.
        {u"scale(2 0)", u"stroke-width:2", 1e-12f, identity},
        // The normalised diagonal of the view box 0 0 300 400: sqrt((300² + 400²) / 2).
        {u"", u"stroke-width:10%", 35.35534f, identity},
        {u"scale(2)", u"stroke-width:10%", 70.71068f, identity},
    };
    for (const TCase& c : cases) {
        const QString transform = QString::fromUtf16(c.Transform);
        const QString stroke = QString::fromUtf16(c.Stroke);
        SCOPED_TRACE((transform + u" / "_qs + stroke).toStdString());
        TSVGDocument document;
        document.LoadFromText(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="400"
            viewBox="0 0 300 400"><g transform="%1"><rect id="r" x="1" y="1" width="10" height="10"
            style="stroke:black; %2"/></g></svg>)svg"_qs.arg(transform, stroke));
        const TSVGElement* rect = document.AllItems().Get(u"r"_qs);
        float width = -1;
        TMatrix nib;
        document.OnDrawing = [&](TSVGElement* Sender, const TMatrix&, TVelkGPCanvas& Canvas, const TRectF&) {
            if (Sender == rect) {
                width = Canvas.Pen().Thickness();
                nib = Canvas.Pen().Matrix();
            }
        };
        RenderSVG(document, QSize(300, 400));
        EXPECT_NEAR(width, c.Width, c.Width * 1e-5f);
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(nib[i], c.Nib[i], 1e-6f) << "entry " << i;
    }
}

TEST_F(PipelineDrawing, StrokeIsDrawnAtItsDeviceWidth)
{
    // Left edges at x = 12 and x = 42 (device), the centres of the strokes.
    const QImage image = RenderSVG(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="28">
        <g transform="scale(3)" fill="none" stroke="#000000" stroke-width="2">
          <rect x="4" y="2" width="6" height="6"/>
          <rect x="14" y="2" width="6" height="6" vector-effect="non-scaling-stroke"/>
        </g></svg>)svg"_qs,
                                   QSize(64, 28));
    EXPECT_EQ(CoveredRun(image, 15, 0, 20), 6);  // 9 ... 14
    EXPECT_EQ(CoveredRun(image, 15, 35, 50), 2); // 41, 42
    EXPECT_TRUE(CompareWithReference(image, "svg/render/pipeline_stroke_scale.png", 2, 0));
}

// A rotation keeps the stroke as wide as it was.
TEST_F(PipelineDrawing, RotatedStrokeKeepsItsWidth)
{
    const QImage image = RenderSVG(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="30">
        <g transform="translate(15 15) rotate(90)">
          <rect x="-10" y="-10" width="20" height="20" fill="none" stroke="#000000" stroke-width="4"/>
        </g></svg>)svg"_qs,
                                   QSize(30, 30));
    EXPECT_EQ(CoveredRun(image, 15, 0, 15), 4); // 3 ... 6
    EXPECT_EQ(CoveredRun(image, 15, 15, 30), 4);
}

// Dash lengths scale with the stroke; under non-scaling-stroke they stay in device units.
// Percentages are of the view box's normalised diagonal.
TEST_F(PipelineDrawing, DashesScaleWithTheStroke)
{
    struct TCase {
        const char16_t* Root;
        const char16_t* Dashes;
        std::vector<int> On;
        std::vector<int> Off;
    };
    // scale(2) either way: the rectangle's top edge runs from x = 2 to 82 at y = 10 (device).
    const char16_t* scaled = uR"svg(width="100" height="100"><g transform="scale(2)">)svg";
    // The view box's normalised diagonal is 50.
    const char16_t* viewBox = uR"svg(width="100" height="100" viewBox="0 0 50 50"><g>)svg";
    const TCase cases[] = {
        // 10 on, 10 off from x = 2.
        {scaled, u"stroke-dasharray:5 5", {4, 7, 10, 27, 44}, {13, 17, 20, 33, 37}},
        {viewBox, u"stroke-dasharray:10%", {4, 7, 10, 27, 44}, {13, 17, 20, 33, 37}},
        // The pattern starts 5 device units in: on 2 ... 7, off ... 17, on ... 27.
        {scaled, u"stroke-dasharray:5 5; stroke-dashoffset:2.5", {3, 6, 18, 26}, {8, 12, 16, 28, 35}},
        {viewBox, u"stroke-dasharray:5 5; stroke-dashoffset:5%", {3, 6, 18, 26}, {8, 12, 16, 28, 35}},
        // 5 on, 5 off: the dashes keep their lengths in device units.
        {scaled, u"stroke-dasharray:5 5; vector-effect:non-scaling-stroke", {3, 6, 13, 16}, {8, 10, 18}},
    };
    for (const TCase& c : cases) {
        const QString root = QString::fromUtf16(c.Root);
        const QString dashes = QString::fromUtf16(c.Dashes);
        SCOPED_TRACE((root + dashes).toStdString());
        const QImage image = RenderSVG(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" %1
            <rect x="1" y="5" width="40" height="10" fill="none" stroke="#000000" style="%2"/></g></svg>)svg"_qs
                                           .arg(root, dashes),
                                       QSize(100, 100));
        for (int x : c.On)
            EXPECT_TRUE(Covered(image, x, 10)) << "x = " << x;
        for (int x : c.Off)
            EXPECT_FALSE(Covered(image, x, 10)) << "x = " << x;
    }
}

TEST_F(PipelineDrawing, ZeroStrokeWidthDrawsNothing)
{
    for (const char16_t* transform : {u"", u"scale(1000)", u"scale(0)"}) {
        SCOPED_TRACE(QString::fromUtf16(transform).toStdString());
        const QImage image = RenderSVG(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24">
            <rect transform="%1" x="2" y="2" width="20" height="20" fill="none" stroke="#000000"
            stroke-width="0" stroke-dasharray="2 2"/></svg>)svg"_qs.arg(QString::fromUtf16(transform)),
                                       QSize(24, 24));
        EXPECT_TRUE(IsBlank(image));
    }
}

TEST_F(PipelineDrawing, ClipPathClipsUnderApplyClipping)
{
    struct TCase {
        const char* Name;
        bool ApplyClipping;
        const char16_t* ClipURI;
        bool Clipped;
    };
    const TCase cases[] = {
        {"clip path", true, u"clip", true},
        {"option off", false, u"clip", false},
        {"not a clip path", true, u"other", false},
        {"unknown ID", true, u"missing", false},
        {"no reference", true, u"", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSVGDocument document;
        TSVGOptions options = document.Options();
        if (c.ApplyClipping)
            options.Include(soApplyClipping);
        else
            options.Exclude(soApplyClipping);
        document.SetOptions(options);
        auto* clip = document.Add(std::make_unique<TTestClipPath>(&document));
        clip->SetID(u"clip"_qs);
        AddShape(*clip, &document, 0, 0, 10, 10);
        AddShape(document, &document, 0, 0, 10, 10)->SetID(u"other"_qs);
        TTestShape* target = AddShape(document, &document, 0, 0, 20, 20, u"fill:#ff0000");
        target->SetClipURI(QString::fromUtf16(c.ClipURI));

        const QImage image = DrawElement(*target, QSize(20, 20));
        EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
        EXPECT_EQ(qAlpha(image.pixel(15, 15)), c.Clipped ? 0 : 255);
        EXPECT_EQ(qAlpha(image.pixel(15, 5)), c.Clipped ? 0 : 255);
    }
}

// The clip is in the user space of the element it clips: it moves with the element's
// matrix, and the clip path's children bring their own transforms.
TEST_F(PipelineDrawing, ClipPathFollowsTheClippedElement)
{
    TSVGDocument document;
    auto* clip = document.Add(std::make_unique<TTestClipPath>(&document));
    clip->SetID(u"clip"_qs);
    AddShape(*clip, &document, 0, 0, 10, 10);
    TTestShape* moved = AddShape(*clip, &document, 0, 0, 5, 5);
    moved->SetMatrix(CreateTranslationMatrix(20, 20));
    TTestShape* hidden = AddShape(*clip, &document, 0, 20, 5, 5);
    hidden->SetVisible(false);
    TTestShape* target = AddShape(document, &document, 0, 0, 30, 30, u"fill:#0000ff");
    target->SetClipURI(u"clip"_qs);
    target->SetMatrix(CreateTranslationMatrix(5, 5));

    const QImage image = DrawElement(*target, QSize(40, 40));
    EXPECT_EQ(image.pixel(7, 7), qRgb(0, 0, 255));   // the first square, moved by (5, 5)
    EXPECT_EQ(image.pixel(27, 27), qRgb(0, 0, 255)); // the translated square
    EXPECT_EQ(qAlpha(image.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(image.pixel(20, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(7, 27)), 0); // the invisible child adds nothing
    EXPECT_TRUE(CompareWithReference(image, "svg/render/pipeline_clip.png", 2, 0));
}

TEST_F(PipelineDrawing, ClipURIElementFollowsInheritance)
{
    TSVGDocument document;
    auto* clip = document.Add(std::make_unique<TTestClipPath>(&document));
    clip->SetID(u"clip"_qs);
    auto* group = document.Add(std::make_unique<TSVGGroup>(&document));
    group->SetClipURI(u"clip"_qs);
    TTestShape* child = AddShape(*group, &document, 0, 0, 1, 1);
    EXPECT_EQ(group->ClipURIElement(), clip);
    EXPECT_EQ(child->ClipURIElement(), nullptr);
    child->Inherits().SetByIndex(ipClipPath, true);
    EXPECT_EQ(child->ClipURIElement(), clip);
    // Without an owner there is no ID table to look in.
    TTestShape free;
    free.SetClipURI(u"clip"_qs);
    EXPECT_EQ(free.ClipURIElement(), nullptr);
}

// display none skips the subtree; a hidden element paints nothing itself, while a child
// that is visible on its own still paints.
TEST_F(PipelineDrawing, DisplayAndVisibilityDecideWhatPaints)
{
    TSVGDocument document;
    TTestShape* parent = AddShape(document, &document, 0, 0, 20, 20, u"fill:#ff0000");
    TTestShape* inheriting = AddShape(*parent, &document, 2, 12, 5, 5, u"fill:#00ff00");
    TTestShape* visible = AddShape(*parent, &document, 12, 12, 5, 5, u"fill:#0000ff");
    parent->SetVisible(false);
    visible->SetVisible(true);
    EXPECT_FALSE(inheriting->Visible());

    QImage image = DrawElement(*parent, QSize(20, 20));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(4, 14)), 0);
    EXPECT_EQ(image.pixel(14, 14), qRgb(0, 0, 255));

    parent->SetDisplay(false);
    EXPECT_TRUE(IsBlank(DrawElement(*parent, QSize(20, 20))));
    parent->SetDisplay(true);
    visible->SetDisplay(false);
    parent->SetVisible(true);
    image = DrawElement(*parent, QSize(20, 20));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 14), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(14, 14), qRgb(255, 0, 0));
}

TEST_F(PipelineDrawing, DisabledElementsAreGrey)
{
    for (const bool suppress : {false, true}) {
        SCOPED_TRACE(suppress ? "DoDefault false" : "default");
        TSVGDocument document;
        auto* group = document.Add(std::make_unique<TSVGGroup>(&document));
        AddShape(*group, &document, 2, 2, 16, 16, u"fill:#ff0000; stroke:#0000ff; stroke-width:4");
        group->SetEnabled(false);
        int calls = 0;
        document.OnDisableAppearance = [&](TSVGElement*, TMatrix&, TVelkGPCanvas&, TRectF&, bool& DoDefault) {
            ++calls;
            DoDefault = !suppress;
        };
        const QImage image = DrawElement(*group, QSize(20, 20));
        EXPECT_EQ(calls, 2); // the group and its child
        // GrayColor: round(R × 0.56 + G × 0.33 + B × 0.11).
        EXPECT_EQ(image.pixel(10, 10), suppress ? qRgb(255, 0, 0) : qRgb(143, 143, 143));
        EXPECT_EQ(image.pixel(2, 10), suppress ? qRgb(0, 0, 255) : qRgb(28, 28, 28));
    }
}

TEST_F(PipelineDrawing, DrawingEventsBracketEachElement)
{
    TSVGDocument document;
    auto* group = document.Add(std::make_unique<TSVGGroup>(&document));
    group->SetMatrix(CreateTranslationMatrix(10, 0));
    TTestShape* first = AddShape(*group, &document, 0, 0, 4, 4, u"fill:#ff0000");
    TTestShape* second = AddShape(*group, &document, 0, 0, 4, 4, u"fill:#00ff00");
    second->SetMatrix(CreateTranslationMatrix(0, 5));
    AddShape(*group, &document, 0, 0, 4, 4)->SetDisplay(false);

    struct TCall {
        QString Event;
        TSVGElement* Sender;
        TMatrix Matrix;
        TRectF Rect;
        TVelkGPColor Fill;
    };
    std::vector<TCall> calls;
    const auto record = [&](const char* Event) {
        return [&calls, Event](TSVGElement* Sender, const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& R) {
            calls.push_back({QString::fromLatin1(Event), Sender, M, R, Canvas.Brush().Color()});
        };
    };
    document.OnDrawing = record("drawing");
    document.OnDrawn = record("drawn");

    QImage image(QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
    TVelkGPCanvas canvas(image);
    canvas.Brush().SetColor(0xFF123456);
    const TRectF target{0, 0, 40, 40};
    group->Draw(CreateScalingMatrix(2, 2), canvas, target);

    const TMatrix groupMatrix = MatrixMultiply(CreateTranslationMatrix(10, 0), CreateScalingMatrix(2, 2));
    const TMatrix secondMatrix = MatrixMultiply(CreateTranslationMatrix(0, 5), groupMatrix);
    ASSERT_EQ(calls.size(), 6u);
    const TCall expected[] = {
        {u"drawing"_qs, group, groupMatrix, target, 0xFF000000},
        {u"drawing"_qs, first, groupMatrix, target, 0xFFFF0000},
        {u"drawn"_qs, first, groupMatrix, target, 0xFFFF0000},
        {u"drawing"_qs, second, secondMatrix, target, 0xFF00FF00},
        {u"drawn"_qs, second, secondMatrix, target, 0xFF00FF00},
        {u"drawn"_qs, group, groupMatrix, target, 0xFF000000},
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].Event, expected[i].Event);
        EXPECT_EQ(calls[i].Sender, expected[i].Sender);
        EXPECT_EQ(calls[i].Matrix, expected[i].Matrix);
        EXPECT_EQ(calls[i].Rect, expected[i].Rect);
        EXPECT_EQ(calls[i].Fill, expected[i].Fill);
    }
    // Every element restored the canvas it found.
    EXPECT_EQ(canvas.Brush().Color(), 0xFF123456u);
}

TEST_F(PipelineDrawing, CanvasStateIsRestoredWhenAnEventRaises)
{
    for (const bool inDrawn : {false, true}) {
        SCOPED_TRACE(inDrawn ? "OnDrawn" : "OnDrawing");
        TSVGDocument document;
        auto* clip = document.Add(std::make_unique<TTestClipPath>(&document));
        clip->SetID(u"clip"_qs);
        AddShape(*clip, &document, 0, 0, 2, 2);
        TTestShape* shape = AddShape(document, &document, 0, 0, 10, 10, u"fill:#ff0000");
        shape->SetClipURI(u"clip"_qs);
        (inDrawn ? document.OnDrawn : document.OnDrawing) = [](TSVGElement*, const TMatrix&, TVelkGPCanvas&,
                                                              const TRectF&) { throw std::runtime_error("x"); };
        QImage image(QSize(10, 10), QImage::Format_ARGB32_Premultiplied);
        TVelkGPCanvas canvas(image);
        EXPECT_THROW(shape->Draw(IdentityMatrix, canvas, TRectF{0, 0, 10, 10}), std::runtime_error);
        EXPECT_EQ(canvas.Brush().Color(), 0xFFFFFFFFu);
        EXPECT_TRUE(canvas.ClipArea().Infinite);
    }
}

TEST_F(PipelineDrawing, RenderingHintsMapOntoTheCanvas)
{
    struct TShapeCase {
        TSVGShapeRendering Value;
        std::uint8_t Mode;
    };
    for (const TShapeCase c : {TShapeCase{srnNone, 5}, {srnAuto, 0}, {srnOptimizeSpeed, 1}, {srnCrispEdges, 2},
                               {srnGeometricPrecision, 5}})
        EXPECT_EQ(TSVGGraphicElement::ShapeRenderingToSmoothingMode(c.Value), c.Mode) << c.Value;
    struct TTextCase {
        TSVGTextRendering Value;
        TVelkGPTextRenderingHint Hint;
    };
    for (const TTextCase c : {TTextCase{txrnNone, trhAntiAliasGridFit}, {txrnAuto, trhSystemDefault},
                              {txrnOptimizeSpeed, trhSingleBitPerPixel}, {txrnOptimizeLegibility, trhAntiAlias},
                              {txrnGeometricPrecision, trhAntiAliasGridFit}})
        EXPECT_EQ(TSVGGraphicElement::TextRenderingToHint(c.Value), c.Hint) << c.Value;
    struct TColorCase {
        TSVGColorRendering Rendering;
        TSVGColorInterpolation Interpolation;
        std::uint8_t Quality;
    };
    for (const TColorCase c : {TColorCase{clrnOptimizeSpeed, sciLinearRGB, 1}, {clrnOptimizeQuality, sciSRGB, 2},
                               {clrnAuto, sciSRGB, 3}, {clrnNone, sciLinearRGB, 4}, {clrnAuto, sciAuto, 0},
                               {clrnNone, sciNone, 0}})
        EXPECT_EQ(TSVGGraphicElement::ColorRenderingToCompositingQuality(c.Rendering, c.Interpolation), c.Quality)
            << c.Rendering << " " << c.Interpolation;
}

// auto (and none) take the document's defaults; an element without an owner keeps its own.
TEST_F(PipelineDrawing, BeginDrawSetsTheHints)
{
    struct TCase {
        const char* Name;
        const char16_t* Style;
        bool Owned;
        std::uint8_t Smoothing;
        TVelkGPTextRenderingHint Text;
        std::uint8_t Compositing;
    };
    const TCase cases[] = {
        // Document defaults: geometricPrecision, optimizeLegibility (set below), auto
        // colour rendering, sRGB.
        {"document defaults", u"", true, 5, trhAntiAlias, 3},
        {"own values", u"shape-rendering:crispEdges; text-rendering:optimizeSpeed; color-rendering:optimizeSpeed",
         true, 2, trhSingleBitPerPixel, 1},
        {"linearRGB", u"color-interpolation:linearRGB", true, 5, trhAntiAlias, 4},
        {"no owner", u"", false, 0, trhSystemDefault, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSVGDocument document;
        document.SetDefaultTextRendering(txrnOptimizeLegibility);
        TTestShape free;
        TTestShape* shape = c.Owned ? AddShape(document, &document, 0, 0, 4, 4, c.Style) : &free;
        std::uint8_t smoothing = 99;
        std::uint8_t compositing = 99;
        TVelkGPTextRenderingHint text = trhClearTypeGridFit;
        shape->WhileDrawing = [&](TVelkGPCanvas& Canvas) {
            smoothing = Canvas.SmoothingMode();
            compositing = Canvas.CompositingQuality();
            text = Canvas.TextRenderingHint();
        };
        QImage image(QSize(4, 4), QImage::Format_ARGB32_Premultiplied);
        TVelkGPCanvas canvas(image);
        shape->Draw(IdentityMatrix, canvas, TRectF{0, 0, 4, 4});
        EXPECT_EQ(smoothing, c.Smoothing);
        EXPECT_EQ(text, c.Text);
        EXPECT_EQ(compositing, c.Compositing);
        // EndDraw put the canvas's own modes back.
        EXPECT_EQ(canvas.SmoothingMode(), 0);
        EXPECT_EQ(canvas.CompositingQuality(), 0);
        EXPECT_EQ(canvas.TextRenderingHint(), trhSystemDefault);
    }
}

// Drawing again reuses the cached geometry and paint, and measures nothing; a change
// rebuilds the geometry once.
TEST_F(PipelineDrawing, GeometryIsCachedBetweenDrawings)
{
    TSVGDocument document;
    TTestShape* shape = AddShape(document, &document, 2, 2, 6, 6, u"fill:#ff0000; stroke:#000000");
    DrawElement(*shape, QSize(10, 10));
    const int measured = shape->BoundsQueries;
    DrawElement(*shape, QSize(10, 10));
    EXPECT_EQ(shape->Rebuilds, 1);
    EXPECT_EQ(shape->BoundsQueries, measured);
    shape->SetWidth(7);
    const QImage image = DrawElement(*shape, QSize(12, 12));
    DrawElement(*shape, QSize(12, 12));
    EXPECT_EQ(shape->Rebuilds, 2);
    EXPECT_EQ(image.pixel(7, 5), qRgb(255, 0, 0)); // the new width: 2 ... 9
}

// Drawing a group does not measure its subtree: bounds are only for laying out paint
// servers, and neither the group nor its children refer to one.
TEST_F(PipelineDrawing, DrawingMeasuresNoBoundsWithoutPaintServers)
{
    TSVGDocument document;
    auto* outer = document.Add(std::make_unique<TSVGGroup>(&document));
    auto* inner = outer->Add(std::make_unique<TSVGGroup>(&document));
    TTestShape* first = AddShape(*inner, &document, 2, 2, 6, 6, u"fill:#ff0000; stroke:#000000");
    TTestShape* second = AddShape(*outer, &document, 4, 4, 6, 6, u"fill:#00ff00");
    const QImage image = DrawElement(*outer, QSize(12, 12));
    EXPECT_EQ(first->BoundsQueries, 1); // the geometry's own rebuild
    EXPECT_EQ(second->BoundsQueries, 1);
    EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(0, 255, 0));
}

// Drawing and hit testing only read the tree: no element reports a change (which would
// throw away its cached geometry and paint).
TEST_F(PipelineDrawing, DrawingChangesNothing)
{
    TSVGDocument document;
    document.LoadFromText(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="60"
        viewBox="0 0 30 30"><g opacity="0.8" stroke="#000000" stroke-dasharray="1 1">
        <rect x="1" y="1" width="8" height="8" rx="2"/><circle cx="15" cy="5" r="4"/>
        <ellipse cx="25" cy="5" rx="4" ry="2"/><line x1="1" y1="12" x2="29" y2="12"/>
        <polyline points="1,15 5,20 9,15"/><polygon points="11,15 15,20 19,15"/>
        <path d="M21 15 L29 15 Q25 25 21 15Z" stroke-width="5%"/>
        <svg x="0" y="22" width="8" height="8" viewBox="0 0 4 4"><rect width="4" height="4"/></svg>
        </g></svg>)svg"_qs);
    int changes = 0;
    document.OnChange = [&](TObject*) { ++changes; };
    const QImage first = RenderSVG(document, QSize(60, 60));
    TVelkGPCanvas canvas;
    document.ElementAtPos(canvas, {10, 10}, TRectF{0, 0, 60, 60}, {});
    const QImage second = RenderSVG(document, QSize(60, 60));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(first, second);
    EXPECT_FALSE(IsBlank(first));
}

// Non-finite matrices and geometry that overflows on its way into device space never
// reach the painter.
TEST_F(PipelineDrawing, NonFiniteGeometryDrawsNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    TSVGDocument document;
    TTestShape* shape = AddShape(document, &document, 2, 2, 6, 6, u"fill:#ff0000; stroke:#000000");
    int drawn = 0;
    document.OnDrawing = [&](TSVGElement*, const TMatrix&, TVelkGPCanvas&, const TRectF&) { ++drawn; };

    EXPECT_TRUE(IsBlank(DrawElement(*shape, QSize(10, 10), TMatrix{nan, 0, 0, 0, 1, 0, 0, 0, 1})));
    EXPECT_TRUE(IsBlank(DrawElement(*shape, QSize(10, 10), TMatrix{1, 0, 0, 0, 1, 0, inf, 0, 1})));
    shape->SetMatrix(TMatrix{1, 0, 0, 0, 1, 0, 0, nan, 1});
    EXPECT_TRUE(IsBlank(DrawElement(*shape, QSize(10, 10))));
    EXPECT_EQ(drawn, 0);

    // Finite, but beyond the float range once scaled.
    shape->SetMatrix(IdentityMatrix);
    shape->SetX(1e30f);
    EXPECT_TRUE(IsBlank(DrawElement(*shape, QSize(10, 10), CreateScalingMatrix(1e10f, 1e10f))));
    // A stroke width that overflows strokes as thinly as 0.
    shape->SetX(2);
    shape->Style().SetStyle(u"fill:none; stroke:#000000; stroke-width:1e30");
    shape->ApplyStyles();
    EXPECT_TRUE(IsBlank(DrawElement(*shape, QSize(10, 10), CreateScalingMatrix(1e10f, 1e10f))));
}

TEST_F(PipelineDrawing, PlainElementsCannotDraw)
{
    TSVGElement element;
    TVelkGPCanvas canvas;
    EXPECT_EQ(MessageOf<EAbstractError>([&] { element.Draw(canvas, TRectF{0, 0, 1, 1}); }), u"Abstract Error"_qs);

    QImage image(QSize(4, 4), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    EXPECT_THROW(element.Draw(painter, TRect{0, 0, 4, 4}), EAbstractError);
    // The temporary canvas handed the painter back.
    EXPECT_TRUE(painter.isActive());
    painter.fillRect(0, 0, 1, 1, Qt::red);
    painter.end();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(PipelineDrawing, DrawsOnAPainter)
{
    TSVGDocument document;
    TTestShape* shape = AddShape(document, &document, 1, 1, 2, 2, u"fill:#00ff00");
    QImage image(QSize(8, 8), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        shape->Draw(CreateScalingMatrix(2, 2), painter, TRect{0, 0, 8, 8});
    }
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(image.pixel(6, 6)), 0);
}

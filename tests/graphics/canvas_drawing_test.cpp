#include "graphics/canvas.h"

#include "graphics/backend_path.h"
#include "graphics/brush.h"
#include "graphics/gradient.h"
#include "graphics/path_data.h"
#include "graphics/pen.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace velk {
namespace {

using TDrawing = std::function<void(TVelkGPCanvas&)>;

constexpr QRgb Transparent = 0;
constexpr QRgb OpaqueRed = 0xFFFF0000;
constexpr QRgb OpaqueBlue = 0xFF0000FF;

// Draws on a transparent premultiplied image through a canvas that is gone (its painter
// ended) when the image is returned. Aliased unless Smooth.
QImage Render(const TDrawing& Drawing, int Width = 32, int Height = 32, bool Smooth = false)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        if (Smooth)
            canvas.SetSmoothingMode(2);
        canvas.Fill().SetColor(0xFFFF0000);
        canvas.Stroke().SetColor(0xFF0000FF);
        canvas.Stroke().SetThickness(2);
        Drawing(canvas);
    }
    return image;
}

bool IsBlank(const QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (Image.pixel(x, y) != Transparent)
                return false;
    return true;
}

QRgb Premultiplied(const QImage& Image, int X, int Y)
{
    return reinterpret_cast<const QRgb*>(Image.constScanLine(Y))[X];
}

std::unique_ptr<TVelkGPPath> Rectangle(const TRectF& R)
{
    auto path = std::make_unique<TVelkGPPath>();
    path->AddRectangle(R);
    return path;
}

class CanvasDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

struct TGuardCase {
    const char* Name;
    TDrawing Drawing;
};

TEST_F(CanvasDrawing, GuardsLeaveTheImageUntouched)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const TGuardCase cases[] = {
        {"stroke of an empty path", [](TVelkGPCanvas& c) { c.DrawPath(TVelkGPPath(), 1); }},
        {"fill of a horizontal line", [](TVelkGPCanvas& c) { c.FillPath(*Rectangle({2, 5, 30, 5}), 1); }},
        {"fill of an empty path", [](TVelkGPCanvas& c) { c.FillPath(TVelkGPPath(), 1); }},
        {"fill of empty path data", [](TVelkGPCanvas& c) { c.FillPath(TVelkPathData(), 1); }},
        {"fill of a zero-width rectangle", [](TVelkGPCanvas& c) { c.FillRect({5, 2, 5, 30}, 1); }},
        {"fill of a zero-height rounded rectangle",
         [](TVelkGPCanvas& c) { c.FillRect({2, 5, 30, 5}, 3, 3, AllCorners, 1); }},
        {"fill at opacity 0", [](TVelkGPCanvas& c) { c.FillRect({2, 2, 30, 30}, 0); }},
        {"fill at a negative opacity", [](TVelkGPCanvas& c) { c.FillPath(*Rectangle({2, 2, 30, 30}), -1); }},
        {"fill at opacity NaN", [nan](TVelkGPCanvas& c) { c.FillRect({2, 2, 30, 30}, nan); }},
        {"fill with a brush of kind bkNone",
         [](TVelkGPCanvas& c) {
             c.Fill().SetKind(bkNone);
             c.FillPath(*Rectangle({2, 2, 30, 30}), 1);
             c.FillEllipse({2, 2, 30, 30}, 1);
             c.FillArc({16, 16}, {10, 10}, 0, 270, 1);
         }},
        {"strokes with a pen of kind bkNone",
         [](TVelkGPCanvas& c) {
             c.Stroke().SetKind(bkNone);
             c.DrawPath(*Rectangle({2, 2, 30, 30}), 1);
             c.DrawRect({2, 2, 30, 30}, 0, 0, {}, 1);
             c.DrawLine(TPointF{2, 2}, TPointF{30, 30}, 1);
             c.DrawEllipse({2, 2, 30, 30}, 1);
         }},
        {"strokes at opacity 0",
         [](TVelkGPCanvas& c) {
             c.DrawRectSides({2, 2, 30, 30}, 0, 0, {}, 0, {sdTop, sdLeft, sdBottom, sdRight});
             c.DrawArc({16, 16}, {10, 10}, 0, 270, 0);
             c.DrawLine(TPoint{2, 2}, TPoint{30, 30}, 0);
         }},
    };
    for (const TGuardCase& test : cases) {
        SCOPED_TRACE(test.Name);
        EXPECT_TRUE(IsBlank(Render(test.Drawing)));
    }
}

// However small a path is, its stroke is drawn: a 0.5 x 0.5 square under a 10x matrix,
// and figures of no length, which show their round and square caps.
TEST_F(CanvasDrawing, TinyPathsAreStroked)
{
    const QImage square = Render([](TVelkGPCanvas& c) {
        c.SetMatrix({10, 0, 0, 0, 10, 0, 0, 0, 1});
        c.Stroke().SetThickness(0.2f);
        c.DrawPath(*Rectangle({1, 1, 1.5f, 1.5f}), 1);
    });
    EXPECT_EQ(square.pixel(10, 12), OpaqueBlue);
    EXPECT_EQ(square.pixel(12, 12), Transparent);

    const QImage dots = Render([](TVelkGPCanvas& c) {
        TVelkGPPath path;
        path.MoveTo({8, 16});
        path.LineTo({8, 16});
        path.MoveTo({24, 16});
        path.LineTo({24, 16});
        c.Stroke().SetThickness(8);
        c.Stroke().SetStartCap(lcSquare);
        c.Stroke().SetEndCap(lcSquare);
        c.DrawPath(path, 1);
        c.Stroke().SetStartCap(lcFlat);
        c.Stroke().SetEndCap(lcFlat);
        c.SetMatrix({1, 0, 0, 0, 1, 0, 0, 8, 1});
        c.DrawPath(path, 1);
    });
    // Squares of side 8 centred on the points; flat caps leave the shifted copy undrawn.
    EXPECT_EQ(dots.pixel(5, 13), OpaqueBlue);
    EXPECT_EQ(dots.pixel(27, 19), OpaqueBlue);
    EXPECT_EQ(dots.pixel(16, 16), Transparent);
    EXPECT_EQ(dots.pixel(8, 22), Transparent);
    EXPECT_EQ(dots.pixel(8, 26), Transparent);
}

TEST_F(CanvasDrawing, OpacityDrawsWithAPreparedCloneAndLeavesTheCanvasObjects)
{
    std::size_t objectsBefore = 0;
    std::size_t objectsAfter = 0;
    TVelkGPColor fillAfter = 0;
    TVelkGPColor strokeAfter = 0;
    const QImage image = Render([&](TVelkGPCanvas& c) {
        objectsBefore = c.GPObjects().size();
        c.FillRect({0, 0, 16, 32}, 0.5f);
        c.DrawLine(TPointF{16, 10}, TPointF{32, 10}, 0.5f);
        objectsAfter = c.GPObjects().size();
        fillAfter = c.Fill().Color();
        strokeAfter = c.Stroke().Color();
    });
    // Alpha 255 * 0.5 truncated to 127, premultiplied.
    EXPECT_EQ(Premultiplied(image, 8, 20), qRgba(127, 0, 0, 127));
    EXPECT_EQ(Premultiplied(image, 24, 10), qRgba(0, 0, 127, 127));
    EXPECT_EQ(fillAfter, 0xFFFF0000u);
    EXPECT_EQ(strokeAfter, 0xFF0000FFu);
    EXPECT_EQ(objectsAfter, objectsBefore);
}

TEST_F(CanvasDrawing, ExplicitBrushesAndPathDataDraw)
{
    TVelkGPBrush green(nullptr, bkSolid, 0xFF00FF00);
    TVelkPathData triangle;
    triangle.SetData(u"M0,0 L32,0 L0,32 Z");
    const QImage image = Render([&](TVelkGPCanvas& c) { c.FillPath(triangle, 1, green); });
    EXPECT_EQ(image.pixel(4, 4), 0xFF00FF00);
    EXPECT_EQ(image.pixel(28, 28), Transparent);
}

struct TCornerCase {
    TVelkCorners Corners;
    QRgb TopLeft;
    QRgb TopRight;
};

TEST_F(CanvasDrawing, RoundedRectanglesRoundOnlyTheGivenCorners)
{
    const TCornerCase cases[] = {
        {AllCorners, Transparent, Transparent},
        {{crTopLeft}, Transparent, OpaqueRed},
        {{crTopRight}, OpaqueRed, Transparent},
        {{}, OpaqueRed, OpaqueRed},
    };
    for (const TCornerCase& test : cases) {
        SCOPED_TRACE(test.Corners.Value());
        const QImage image =
            Render([&](TVelkGPCanvas& c) { c.FillRect({2, 2, 30, 30}, 10, 10, test.Corners, 1); });
        EXPECT_EQ(image.pixel(3, 3), test.TopLeft);
        EXPECT_EQ(image.pixel(28, 3), test.TopRight);
        EXPECT_EQ(image.pixel(3, 28), test.Corners.Contains(crBottomLeft) ? Transparent : OpaqueRed);
        EXPECT_EQ(image.pixel(16, 16), OpaqueRed);
    }
}

TEST_F(CanvasDrawing, RectSidesSkipTheSidesNotAsked)
{
    const TVelkSides cases[] = {{sdTop, sdLeft, sdBottom, sdRight}, {sdTop}, {sdLeft, sdRight}, {sdBottom}, {}};
    const struct {
        TVelkSide Side;
        int X;
        int Y;
    } probes[] = {{sdTop, 16, 4}, {sdLeft, 4, 16}, {sdBottom, 16, 27}, {sdRight, 27, 16}};
    for (const TVelkSides& sides : cases) {
        SCOPED_TRACE(sides.Value());
        const QImage image =
            Render([&](TVelkGPCanvas& c) { c.DrawRectSides({4, 4, 28, 28}, 0, 0, {}, 1, sides); });
        for (const auto& probe : probes)
            EXPECT_EQ(image.pixel(probe.X, probe.Y), sides.Contains(probe.Side) ? OpaqueBlue : Transparent)
                << EnumName(probe.Side).toStdString();
        EXPECT_EQ(image.pixel(16, 16), Transparent);
    }
}

TEST_F(CanvasDrawing, RectSidesKeepTheJoinsOfConnectedSides)
{
    // Top and right without the others: one figure through the top-right corner, so a
    // miter join fills the corner square of the wide pen.
    TVelkGPPen pen(nullptr, bkSolid, 0xFF0000FF);
    pen.SetThickness(6);
    const QImage image = Render([&](TVelkGPCanvas& c) {
        c.DrawRectSides({8, 8, 24, 24}, 0, 0, {}, 1, {sdTop, sdRight}, pen);
    });
    EXPECT_EQ(image.pixel(26, 6), OpaqueBlue);
    EXPECT_EQ(image.pixel(6, 26), Transparent);
}

TEST_F(CanvasDrawing, FocusRectIsAGreyDash)
{
    const QImage image = Render([](TVelkGPCanvas& c) { c.DrawFocusRect(TRect{2, 2, 30, 30}); });
    int grey = 0;
    int gaps = 0;
    for (int x = 4; x < 28; ++x) {
        const QRgb pixel = image.pixel(x, 2);
        grey += pixel == 0xFF808080;
        gaps += pixel == Transparent;
    }
    EXPECT_GT(grey, 8);
    EXPECT_GT(gaps, 3);
    EXPECT_EQ(grey + gaps, 24);
    EXPECT_EQ(image.pixel(16, 16), Transparent);
}

struct TRadialCase {
    const char* Name;
    // Stops as (colour, offset); offset 0 is the boundary, 1 the centre.
    std::vector<std::pair<TVelkGPColor, float>> Stops;
    float Opacity;
    QRgb Outside;
    QRgb Centre;
};

TEST_F(CanvasDrawing, RadialGradientsPaintTheSolidColourOutsideTheirEllipse)
{
    const TRadialCase cases[] = {
        {"boundary colour is the brush colour", {{0xFF0000FF, 0}, {0xFFFF0000, 1}}, 1, OpaqueBlue, OpaqueRed},
        {"brush colour differs from the boundary", {{0xFF00FF00, 1}, {0xFF0000FF, 0}}, 1, 0xFF00FF00, 0xFF00FF00},
        {"half opacity", {{0xFF0000FF, 0}, {0xFFFF0000, 1}}, 0.5f, qRgba(0, 0, 127, 127), qRgba(127, 0, 0, 127)},
    };
    for (const TRadialCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TVelkGPBrush brush(nullptr, bkGradient, 0xFF000000);
        brush.Gradient()->SetStyle(gsRadial);
        TVelkGPGradientPoints& points = *brush.Gradient()->Points();
        points.Clear();
        for (const auto& [color, offset] : test.Stops)
            points.Add(color, offset);
        const TVelkGPColor colorBefore = brush.Color();
        for (const bool usePath : {false, true}) {
            const QImage image = Render(
                [&](TVelkGPCanvas& c) {
                    if (usePath)
                        c.FillPath(*Rectangle({0, 0, 64, 32}), test.Opacity, brush);
                    else
                        c.FillRect({0, 0, 64, 32}, 0, 0, {}, test.Opacity, brush);
                    EXPECT_TRUE(c.ClipArea().Infinite);
                },
                64, 32);
            EXPECT_EQ(Premultiplied(image, 1, 1), test.Outside);
            EXPECT_EQ(Premultiplied(image, 62, 30), test.Outside);
            const QRgb centre = Premultiplied(image, 32, 16);
            EXPECT_NEAR(qRed(centre), qRed(test.Centre), 12);
            EXPECT_NEAR(qGreen(centre), qGreen(test.Centre), 12);
            EXPECT_NEAR(qBlue(centre), qBlue(test.Centre), 12);
            EXPECT_EQ(qAlpha(centre), qAlpha(test.Centre));
        }
        EXPECT_EQ(brush.Kind(), bkGradient);
        EXPECT_EQ(brush.Color(), colorBefore);
    }
}

TEST_F(CanvasDrawing, ClampedTexturesPaintOnlyTheirImage)
{
    QImage texture(4, 4, QImage::Format_ARGB32_Premultiplied);
    texture.fill(Qt::green);
    TVelkGPBrush brush;
    brush.SetBitmap(texture);
    brush.SetKind(bkBitmap);
    brush.SetWrapMode(wmClamp);
    const QImage image = Render([&](TVelkGPCanvas& c) { c.FillRect({0, 0, 32, 32}, 0, 0, {}, 1, brush); });
    EXPECT_EQ(image.pixel(2, 2), 0xFF00FF00);
    EXPECT_EQ(image.pixel(6, 2), Transparent);
    EXPECT_EQ(image.pixel(2, 6), Transparent);
}

TEST_F(CanvasDrawing, EllipsesArcsAndLinesLandWhereAsked)
{
    const QImage image = Render([](TVelkGPCanvas& c) {
        c.FillEllipse({0, 0, 16, 16}, 1);
        // A quarter from 0 to 90 degrees (clockwise on screen): filled as its chord segment.
        c.FillArc({16, 16}, {16, 16}, 0, 90, 1);
        c.DrawLine(TPoint{0, 24}, TPoint{8, 24}, 1);
        c.DrawEllipse({16, 0, 32, 16}, 1);
    });
    EXPECT_EQ(image.pixel(8, 8), OpaqueRed);
    EXPECT_EQ(image.pixel(1, 1), Transparent);
    EXPECT_EQ(image.pixel(26, 26), OpaqueRed); // inside the segment
    EXPECT_EQ(image.pixel(20, 20), Transparent); // centre side of the chord
    EXPECT_EQ(image.pixel(4, 24), OpaqueBlue);
    EXPECT_EQ(image.pixel(4, 26), Transparent);
    EXPECT_EQ(image.pixel(24, 0), OpaqueBlue); // top of the outlined ellipse
    EXPECT_EQ(image.pixel(24, 8), Transparent);
}

TEST_F(CanvasDrawing, ShapesMatchTheirReference)
{
    TVelkGPBrush radial(nullptr, bkGradient, 0xFF000000);
    radial.Gradient()->SetStyle(gsRadial);
    radial.SetColor(0xFF2060C0);
    radial.SetBackColor(0xFFFFE040);
    const QImage image = Render(
        [&](TVelkGPCanvas& c) {
            c.FillRect({4, 4, 44, 36}, 8, 8, AllCorners, 1);
            c.DrawRect({4, 4, 44, 36}, 8, 8, {crTopLeft, crBottomRight}, 1);
            c.FillEllipse({52, 4, 92, 36}, 0.5f);
            c.DrawArc({72, 20}, {16, 12}, 180, 270, 1);
            c.DrawRectSides({100, 4, 124, 36}, 6, 6, AllCorners, 1, {sdLeft, sdTop, sdRight}, ctBevel);
            c.FillPath(*Rectangle({4, 44, 60, 76}), 1, radial);
            c.DrawFocusRect(TRectF{68, 44, 92, 76});
            c.DrawLine(TPointF{100, 44}, TPointF{124, 76}, 1);
        },
        128, 80, true);
    EXPECT_TRUE(testing::CompareWithReference(image, "graphics/canvas_shapes.png", 2, 4));
}

} // namespace
} // namespace velk

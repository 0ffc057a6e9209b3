#include "graphics/brush.h"
#include "graphics/gp_exception.h"
#include "graphics/gradient.h"
#include "tests/graphics/gradient_test_support.h"
#include "tests/support/test_support.h"

#include <QLinearGradient>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

using namespace velk;
using namespace velk::testing;

namespace {

// Fills a Width × Height image with the brush (inside Area when given).
QImage Render(TVelkGPBrush& Brush, int Width, int Height, const std::optional<QPainterPath>& Area = std::nullopt)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (Area)
        painter.fillPath(*Area, Brush.Handle());
    else
        painter.fillRect(image.rect(), Brush.Handle());
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32); // probes read plain colours
}

// A row (or column) of pixels, as colours.
std::vector<TVelkGPColor> Row(const QImage& Image, int Y)
{
    std::vector<TVelkGPColor> row;
    for (int x = 0; x < Image.width(); ++x)
        row.push_back(Image.pixel(x, Y));
    return row;
}
std::vector<TVelkGPColor> Column(const QImage& Image, int X)
{
    std::vector<TVelkGPColor> column;
    for (int y = 0; y < Image.height(); ++y)
        column.push_back(Image.pixel(X, y));
    return column;
}

QImage Pixels(int Width, int Height, std::initializer_list<TVelkGPColor> Colors)
{
    QImage image(Width, Height, QImage::Format_ARGB32);
    auto color = Colors.begin();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            image.setPixel(x, y, *color++);
    return image;
}

// Makes Brush a gradient brush of that style with these stops.
void MakeGradient(TVelkGPBrush& Brush, const std::vector<TVelkGPBlendStop>& Stops,
                  TVelkGPGradientStyle Style = gsLinear)
{
    Brush.SetKind(bkGradient);
    Brush.Gradient()->SetStyle(Style);
    SetStops(*Brush.Gradient(), Stops);
}

} // namespace

TEST(GPBrush, Defaults)
{
    TVelkGPBrush brush;
    EXPECT_EQ(brush.Color(), White);
    EXPECT_EQ(brush.Kind(), bkSolid);
    EXPECT_EQ(brush.BackColor(), 0xFF000000u);
    EXPECT_EQ(brush.HatchStyle(), hsHorizontal);
    EXPECT_EQ(brush.WrapMode(), wmTile);
    EXPECT_EQ(brush.Matrix(), IdentityMatrix);
    EXPECT_TRUE(brush.Bitmap().isNull());
    EXPECT_EQ(brush.DefaultKind(), bkSolid);
    EXPECT_EQ(brush.DefaultColor(), White);
    EXPECT_EQ(brush.Gradient()->Color(), 0xFF000000u); // the mirror starts with the first change

    const TVelkGPBrush hatch(nullptr, bkHatchFill, Red);
    EXPECT_EQ(hatch.Kind(), bkHatchFill);
    EXPECT_EQ(hatch.DefaultKind(), bkHatchFill);
    EXPECT_EQ(hatch.Color(), Red);
    EXPECT_EQ(hatch.DefaultColor(), Red);
}

TEST(GPBrush, ColoursMirrorTheFirstTwoStops)
{
    TVelkGPBrush brush;
    int changes = 0;
    brush.OnChange = [&](TObject*) { ++changes; };

    brush.SetColor(Red);
    brush.SetBackColor(Blue);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(brush.Gradient()->Color(), Red);
    EXPECT_EQ(brush.Gradient()->Color1(), Blue);

    changes = 0;
    brush.Gradient()->SetColor(Green);
    EXPECT_EQ(brush.Color(), Green);
    EXPECT_EQ(changes, 1);

    changes = 0;
    brush.SetColor(Green);
    brush.SetKind(bkSolid);
    brush.SetHatchStyle(hsHorizontal);
    EXPECT_EQ(changes, 0);

    brush.Gradient()->Points()->Clear(); // no stops left to mirror
    brush.SetColor(Blue);
    EXPECT_EQ(brush.Color(), Blue);
}

TEST(GPBrush, BecomingAGradientClampsAndLosingTheBitmapClearsTheKind)
{
    TVelkGPBrush brush;
    brush.SetKind(bkGradient);
    EXPECT_EQ(brush.WrapMode(), wmClamp);

    brush.SetBitmap(Pixels(1, 1, {Red}));
    brush.SetKind(bkBitmap);
    brush.SetBitmap(QImage());
    EXPECT_EQ(brush.Kind(), bkNone);
}

TEST(GPBrush, AssignCopiesEverySettingSoThatTheCopyDrawsAlike)
{
    TVelkGPBrush source(nullptr, bkHatchFill, Blue);
    source.SetColor(Red);
    source.SetBackColor(Green);
    source.SetHatchStyle(hsWeave);
    source.SetMatrix(CreateScalingMatrix(2, 2));
    source.SetBitmap(Pixels(1, 1, {Red}));
    source.SetBitmapSrcRect({0, 0, 1, 1});
    source.Gradient()->StopPosition()->SetPoint({1, 0});
    source.SetKind(bkGradient);
    source.SetWrapMode(wmTileFlipX);

    TVelkGPBrush copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Color(), Red);
    EXPECT_EQ(copy.BackColor(), Green);
    EXPECT_EQ(copy.DefaultColor(), Blue);
    EXPECT_EQ(copy.DefaultKind(), bkHatchFill);
    EXPECT_EQ(copy.HatchStyle(), hsWeave);
    EXPECT_EQ(copy.Matrix(), CreateScalingMatrix(2, 2));
    EXPECT_EQ(copy.Bitmap().cacheKey(), source.Bitmap().cacheKey());
    EXPECT_EQ(copy.BitmapSrcRect(), (TRectF{0, 0, 1, 1}));
    EXPECT_TRUE(copy.Gradient()->Equal(source.Gradient()));
    // Becoming a gradient keeps the source's wrap mode.
    EXPECT_EQ(copy.Kind(), bkGradient);
    EXPECT_EQ(copy.WrapMode(), wmTileFlipX);

    const auto clone = source.CloneAs<TVelkGPBrush>();
    EXPECT_EQ(clone->Kind(), bkGradient);
    EXPECT_EQ(clone->WrapMode(), wmTileFlipX);
}

TEST(GPBrush, AssignFromAPlatformBrush)
{
    struct TCase {
        Qt::BrushStyle Style;
        TVelkGPBrushKind Kind;
        TVelkGPHatchStyle Hatch;
    };
    const TCase cases[] = {
        {Qt::SolidPattern, bkSolid, hsHorizontal},       {Qt::NoBrush, bkNone, hsHorizontal},
        {Qt::HorPattern, bkHatchFill, hsHorizontal},     {Qt::VerPattern, bkHatchFill, hsVertical},
        {Qt::FDiagPattern, bkHatchFill, hsForwardDiagonal}, {Qt::BDiagPattern, bkHatchFill, hsBackwardDiagonal},
        {Qt::CrossPattern, bkHatchFill, hsCross},        {Qt::DiagCrossPattern, bkHatchFill, hsDiagonalCross},
        {Qt::Dense4Pattern, bkSolid, hsHorizontal},
    };
    for (const TCase& c : cases) {
        TVelkGPBrush brush;
        brush.Assign(QBrush(QColor::fromRgba(0x80102030), c.Style));
        EXPECT_EQ(brush.Kind(), c.Kind) << c.Style;
        EXPECT_EQ(brush.DefaultKind(), c.Kind) << c.Style;
        EXPECT_EQ(brush.HatchStyle(), c.Hatch) << c.Style;
        EXPECT_EQ(brush.Color(), 0x80102030u) << c.Style;
        EXPECT_EQ(brush.DefaultColor(), 0x80102030u) << c.Style;
    }
}

TEST(GPBrush, PrepareScalesAlphaByOpacity)
{
    TVelkGPBrush brush(nullptr, bkSolid, 0x80FF0000);
    brush.Prepare({0, 0, 10, 10}, 0.5f);
    EXPECT_EQ(brush.Color(), 0x40FF0000u);

    TVelkGPBrush other(nullptr, bkSolid, 0x80FF0000);
    other.Prepare({0, 0, 10, 10}, 0.3f);
    EXPECT_EQ(other.Color(), 0x26FF0000u); // trunc(38.4)
    EXPECT_EQ(other.BackColor(), 0x4C000000u);
    EXPECT_EQ(Render(other, 1, 1).pixel(0, 0), 0x26FF0000u);

    TVelkGPBrush gradient;
    MakeGradient(gradient, {{Red, 0}, {Green, 0.5f}, {Blue, 1}});
    gradient.Prepare({0, 0, 10, 10}, 0.5f);
    EXPECT_EQ(gradient.Gradient()->GetColor(0), 0x7FFF0000u);
    EXPECT_EQ(gradient.Gradient()->GetColor(1), 0x7F00FF00u);
    EXPECT_EQ(gradient.Gradient()->GetColor(2), 0x7F0000FFu);
}

TEST(GPBrush, SolidAndNoBrush)
{
    TVelkGPBrush brush(nullptr, bkSolid, 0xFF336699);
    EXPECT_EQ(Render(brush, 4, 4).pixel(2, 2), 0xFF336699u);
    brush.SetColor(0xFF996633); // the Qt brush follows
    EXPECT_EQ(Render(brush, 4, 4).pixel(2, 2), 0xFF996633u);
    brush.SetKind(bkNone);
    EXPECT_EQ(brush.Handle().style(), Qt::NoBrush);
    EXPECT_EQ(Render(brush, 4, 4).pixel(2, 2), 0u);
}

TEST(GPBrush, LinearGradientLaysTheBlendAcrossTheArea)
{
    // Red and blue levels at the left edge, the middle and the right edge of a
    // 100-pixel-wide area.
    struct TCase {
        const char* Name;
        std::vector<TVelkGPBlendStop> Stops;
        TPointF Start;
        TPointF Stop;
        int Red[3];
        int Blue[3];
    };
    const TCase cases[] = {
        {"stops at 0.2 and 0.8: the end colours fill the ends",
         {{Red, 0.2f}, {Blue, 0.8f}}, {0, 0}, {1, 0}, {255, 127, 0}, {0, 127, 255}},
        {"a line running backwards: the gradient runs right to left",
         {{Red, 0}, {Blue, 1}}, {1, 0}, {0, 0}, {0, 127, 255}, {255, 127, 0}},
        {"a line twice the area: cut at the colour halfway",
         {{Red, 0}, {Blue, 1}}, {0, 0}, {2, 0}, {255, 191, 127}, {0, 63, 127}},
        {"a line starting before the area: cut at the colour there",
         {{Red, 0}, {Blue, 1}}, {-1, 0}, {1, 0}, {127, 63, 0}, {127, 191, 255}},
    };
    for (const TCase& c : cases) {
        TVelkGPBrush brush;
        MakeGradient(brush, c.Stops);
        brush.Gradient()->StartPosition()->SetPoint(c.Start);
        brush.Gradient()->StopPosition()->SetPoint(c.Stop);
        brush.Prepare({0, 0, 100, 10}, 1);
        const QImage image = Render(brush, 100, 10);
        const int xs[] = {0, 50, 99};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(qRed(image.pixel(xs[i], 5)), c.Red[i], 4) << c.Name << " at " << xs[i];
            EXPECT_NEAR(qBlue(image.pixel(xs[i], 5)), c.Blue[i], 4) << c.Name << " at " << xs[i];
        }
    }
}

TEST(GPBrush, LinearGradientKeepsHardEdgesInOrder)
{
    // Qt keeps one stop per position: the second stop of an edge must still win after it.
    TVelkGPBrush brush;
    MakeGradient(brush, {{Red, 0}, {Red, 0.5f}, {Blue, 0.5f}, {Green, 1}});
    brush.Gradient()->StopPosition()->SetPoint({1, 0});
    brush.Prepare({0, 0, 100, 1}, 1);
    const QImage image = Render(brush, 100, 1);
    EXPECT_EQ(image.pixel(48, 0), Red);
    EXPECT_GT(qBlue(image.pixel(51, 0)), 245);
    EXPECT_LT(qGreen(image.pixel(51, 0)), 10);
}

TEST(GPBrush, LinearGradientRunsInTheLineDirectionFromCornerToCorner)
{
    TVelkGPBrush brush;
    MakeGradient(brush, {{Red, 0}, {Blue, 1}});
    brush.Prepare({10, 20, 110, 70}, 1);
    const auto* vertical = static_cast<const QLinearGradient*>(brush.Handle().gradient());
    EXPECT_EQ(vertical->start(), QPointF(60, 20));
    EXPECT_EQ(vertical->finalStop(), QPointF(60, 70));

    brush.Gradient()->StartPosition()->SetPoint({1, 1});
    brush.Gradient()->StopPosition()->SetPoint({0, 0}); // up and to the left, 45°
    brush.Prepare({0, 0, 100, 100}, 1);
    const auto* diagonal = static_cast<const QLinearGradient*>(brush.Handle().gradient());
    EXPECT_NEAR(diagonal->start().x(), 100, 1e-9);
    EXPECT_NEAR(diagonal->start().y(), 100, 1e-9);
    EXPECT_NEAR(diagonal->finalStop().x(), 0, 1e-9);
    EXPECT_NEAR(diagonal->finalStop().y(), 0, 1e-9);
}

TEST(GPBrush, AGradientOverAnAreaWithoutHeightUsesAHundredthOfAPixel)
{
    TVelkGPBrush brush;
    MakeGradient(brush, {{Red, 0}, {Blue, 1}});
    brush.Prepare({0, 10, 100, 10}, 1);
    const auto* gradient = static_cast<const QLinearGradient*>(brush.Handle().gradient());
    ASSERT_NE(gradient, nullptr);
    EXPECT_NEAR(gradient->finalStop().y() - gradient->start().y(), 0.01, 1e-6);
}

TEST(GPBrush, LinearWrapModesRepeatOrMirrorBeyondTheStopPosition)
{
    struct TCase {
        TVelkGPWrapMode Mode;
        int Low;
        int High;
    };
    // From black at x = 0 to white at x = 50; x = 60 is 0.2 past the stop position.
    const TCase cases[] = {{wmTile, 40, 60}, {wmTileFlipX, 195, 215}, {wmTileFlipXY, 195, 215}};
    for (const TCase& c : cases) {
        TVelkGPBrush brush;
        MakeGradient(brush, {{0xFF000000, 0}, {White, 1}});
        brush.Gradient()->StopPosition()->SetPoint({0.5f, 0});
        brush.SetWrapMode(c.Mode);
        brush.Prepare({0, 0, 100, 1}, 1);
        const int level = qRed(Render(brush, 100, 1).pixel(60, 0));
        EXPECT_GE(level, c.Low) << EnumName(c.Mode).toStdString();
        EXPECT_LE(level, c.High) << EnumName(c.Mode).toStdString();
    }
}

TEST(GPBrush, RadialGradientRunsFromTheEllipseToTheCentrePoint)
{
    // Position 0 is the boundary, 1 the centre point; plateaus make both exact.
    TVelkGPBrush brush;
    MakeGradient(brush, {{Red, 0}, {Red, 0.2f}, {Blue, 0.8f}, {Blue, 1}}, gsRadial);
    brush.Prepare({0, 0, 100, 100}, 1);
    QImage image = Render(brush, 100, 100);
    EXPECT_EQ(image.pixel(50, 50), Blue);
    EXPECT_EQ(image.pixel(2, 50), Red);
    EXPECT_EQ(image.pixel(50, 97), Red);
    EXPECT_EQ(image.pixel(0, 0), Red); // outside the ellipse: the boundary colour
    EXPECT_TRUE(brush.Gradient()->Path().contains(QPointF(50, 1)));
    EXPECT_FALSE(brush.Gradient()->Path().contains(QPointF(3, 3)));

    brush.Gradient()->RadialTransform()->RotationCenter()->SetPoint({0.25f, 0.5f});
    brush.Prepare({0, 0, 100, 100}, 1);
    image = Render(brush, 100, 100);
    EXPECT_EQ(image.pixel(25, 50), Blue);
    EXPECT_NE(image.pixel(50, 50), Blue);
    EXPECT_EQ(image.pixel(2, 50), Red);
    EXPECT_EQ(image.pixel(97, 50), Red);
}

TEST(GPBrush, RadialGradientIsAnEllipseOverAWideArea)
{
    TVelkGPBrush brush;
    MakeGradient(brush, {{Red, 0}, {Red, 0.2f}, {Blue, 0.8f}, {Blue, 1}}, gsRadial);
    brush.Prepare({0, 0, 200, 50}, 1);
    const QImage image = Render(brush, 200, 50);
    EXPECT_EQ(image.pixel(100, 25), Blue);
    EXPECT_EQ(image.pixel(100 + 15, 25), Blue); // 0.15 of the half width
    EXPECT_EQ(image.pixel(100, 25 + 22), Red);  // 0.9 of the half height
}

TEST(GPBrush, DegenerateGradientsFillWithTheColourOfTheirFarEnd)
{
    // Linear: the last stop. Radial: the boundary colour, stop 0 (the last stop as SVG
    // lists them, since radial lists are reversed). Never an error, never NaN for Qt.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct TCase {
        const char* Name;
        TVelkGPGradientStyle Style;
        std::function<void(TVelkGPBrush&)> Setup;
        TRectF Area;
        TVelkGPColor Expected;
    };
    const TRectF area{0, 0, 10, 10};
    const TCase cases[] = {
        {"linear without length", gsLinear,
         [](TVelkGPBrush& b) {
             b.Gradient()->StartPosition()->SetPoint({0.5f, 0.5f});
             b.Gradient()->StopPosition()->SetPoint({0.5f, 0.5f});
         },
         area, Blue},
        {"tiled linear without length", gsLinear,
         [](TVelkGPBrush& b) {
             b.SetWrapMode(wmTile);
             b.Gradient()->StopPosition()->SetPoint({0, 0});
         },
         area, Blue},
        {"linear with a NaN position", gsLinear, [&](TVelkGPBrush& b) { b.Gradient()->StopPosition()->SetX(nan); },
         area, Blue},
        {"linear over a NaN area", gsLinear, [](TVelkGPBrush&) {}, {0, 0, nan, 10}, Blue},
        {"linear with a singular matrix", gsLinear, [](TVelkGPBrush& b) { b.SetMatrix(CreateScalingMatrix(0, 1)); },
         area, Blue},
        {"radial of radius 0", gsRadial,
         [](TVelkGPBrush& b) { b.Gradient()->RadialTransform()->Scale()->SetPoint({0, 0}); }, area, Red},
        {"radial with a NaN centre point", gsRadial,
         [&](TVelkGPBrush& b) { b.Gradient()->RadialTransform()->RotationCenter()->SetY(nan); }, area, Red},
        {"radial over a NaN area", gsRadial, [](TVelkGPBrush&) {}, {nan, 0, 10, 10}, Red},
        {"radial with a singular matrix", gsRadial, [](TVelkGPBrush& b) { b.SetMatrix(CreateScalingMatrix(1, 0)); },
         area, Red},
    };
    for (const TCase& c : cases) {
        TVelkGPBrush brush;
        MakeGradient(brush, {{Red, 0}, {Green, 0.5f}, {Blue, 1}}, c.Style);
        c.Setup(brush);
        brush.Prepare(c.Area, 1);
        const QImage image = Render(brush, 10, 10);
        EXPECT_EQ(image.pixel(0, 0), c.Expected) << c.Name;
        EXPECT_EQ(image.pixel(5, 5), c.Expected) << c.Name;
        EXPECT_EQ(image.pixel(9, 9), c.Expected) << c.Name;
    }
}

TEST(GPBrush, TextureWrapModes)
{
    constexpr TVelkGPColor R = Red, G = Green, B = Blue, W = White;
    struct TCase {
        TVelkGPWrapMode Mode;
        std::vector<TVelkGPColor> FirstRow;
        std::vector<TVelkGPColor> FirstColumn;
    };
    const TCase cases[] = {
        {wmTile, {R, G, R, G, R, G}, {R, B, R, B, R, B}},
        {wmTileFlipX, {R, G, G, R, R, G}, {R, B, R, B, R, B}},
        {wmTileFlipY, {R, G, R, G, R, G}, {R, B, B, R, R, B}},
        {wmTileFlipXY, {R, G, G, R, R, G}, {R, B, B, R, R, B}},
    };
    for (const TCase& c : cases) {
        TVelkGPBrush brush(nullptr, bkBitmap, White);
        brush.SetBitmap(Pixels(2, 2, {R, G, B, W}));
        brush.SetWrapMode(c.Mode);
        const QImage image = Render(brush, 6, 6);
        EXPECT_EQ(Row(image, 0), c.FirstRow) << EnumName(c.Mode).toStdString();
        EXPECT_EQ(Column(image, 0), c.FirstColumn) << EnumName(c.Mode).toStdString();
    }
}

TEST(GPBrush, ClampedTexturePaintsTheImageOnce)
{
    TVelkGPBrush brush(nullptr, bkBitmap, White);
    brush.SetBitmap(Pixels(2, 1, {Red, Blue}));
    EXPECT_FALSE(brush.PaintArea().has_value());
    brush.SetWrapMode(wmClamp);
    brush.SetMatrix(CreateTranslationMatrix(1, 0));
    const std::optional<QPainterPath> area = brush.PaintArea();
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->boundingRect(), QRectF(1, 0, 2, 1));
    QPainterPath everything;
    everything.addRect(0, 0, 5, 1);
    EXPECT_EQ(Row(Render(brush, 5, 1, everything.intersected(*area)), 0),
              (std::vector<TVelkGPColor>{0, Red, Blue, 0, 0}));
}

TEST(GPBrush, TextureSourceRectangleAndMatrix)
{
    TVelkGPBrush brush(nullptr, bkBitmap, White);
    brush.SetBitmap(Pixels(4, 1, {Red, Green, Blue, White}));
    brush.SetBitmapSrcRect({1, 0, 3, 1});
    EXPECT_EQ(Row(Render(brush, 4, 1), 0), (std::vector<TVelkGPColor>{Green, Blue, Green, Blue}));

    brush.SetMatrix(CreateScalingMatrix(2, 1));
    EXPECT_EQ(Row(Render(brush, 6, 1), 0), (std::vector<TVelkGPColor>{Green, Green, Blue, Blue, Green, Green}));

    // A singular matrix squeezes the image to nothing.
    brush.SetMatrix(CreateScalingMatrix(0, 1));
    EXPECT_EQ(Row(Render(brush, 2, 1), 0), (std::vector<TVelkGPColor>{0, 0}));
    brush.SetWrapMode(wmClamp);
    EXPECT_TRUE(brush.PaintArea()->isEmpty());

    brush.SetMatrix(IdentityMatrix);
    brush.SetBitmapSrcRect({2, 0, 5, 1});
    EXPECT_EQ(MessageOf<EGDIPException>([&] { brush.Handle(); }), u"Invalid Parameter for GDI+ function"_qs);
}

TEST(GPBrush, TextureWithoutImagePaintsTheColourAndOpacityFadesTheImage)
{
    TVelkGPBrush brush(nullptr, bkBitmap, Green);
    EXPECT_EQ(Render(brush, 2, 2).pixel(1, 1), Green);

    brush.SetBitmap(Pixels(1, 1, {Red}));
    brush.Prepare({0, 0, 2, 2}, 0.5f);
    const QRgb pixel = Render(brush, 2, 2).pixel(1, 1);
    EXPECT_NEAR(qAlpha(pixel), 128, 1);
    EXPECT_EQ(qGreen(pixel), 0);

    // Also when the colours are transparent already (nothing else changes), after the
    // Qt brush has been built.
    TVelkGPBrush clear(nullptr, bkBitmap, 0);
    clear.SetBackColor(0);
    clear.SetBitmap(Pixels(1, 1, {Red}));
    EXPECT_EQ(Render(clear, 1, 1).pixel(0, 0), Red);
    clear.Prepare({0, 0, 1, 1}, 0.5f);
    EXPECT_NEAR(qAlpha(Render(clear, 1, 1).pixel(0, 0)), 128, 1);
}

TEST(GPBrush, HatchTilesThePatternInColorOnBackColor)
{
    TVelkGPBrush brush(nullptr, bkHatchFill, Red);
    brush.SetBackColor(Blue);
    brush.SetHatchStyle(hsCross);
    const QImage image = Render(brush, 16, 16);
    EXPECT_EQ(Row(image, 8), std::vector<TVelkGPColor>(16, Red));
    EXPECT_EQ(image.pixel(8, 3), Red);
    EXPECT_EQ(image.pixel(9, 3), Blue);
}

TEST(GPBrush, LinearShapesBlendTowardsTheSecondColourAtTheFocus)
{
    struct TCase {
        TVelkGPLinearGradientShape Shape;
        float Focus;
        float Scale;
        int Start;
        int Focused;
        int End;
    };
    // Black to white across 100 pixels: the white share at the ends and at the focus.
    const TCase cases[] = {
        {lgsTriangular, 0.5f, 1, 0, 255, 0},
        {lgsTriangular, 0.5f, 0.5f, 0, 127, 0},
        {lgsTriangular, 0, 1, 255, 255, 0},
        {lgsTriangular, 1, 1, 0, 255, 255},
        {lgsBell, 0.5f, 1, 0, 255, 0},
    };
    for (const TCase& c : cases) {
        TVelkGPBrush brush;
        MakeGradient(brush, {{0xFF000000, 0}, {White, 1}});
        brush.Gradient()->StopPosition()->SetPoint({1, 0});
        brush.Gradient()->SetShape(c.Shape);
        brush.Gradient()->SetShapeFocus(c.Focus);
        brush.Gradient()->SetShapeScale(c.Scale);
        brush.Prepare({0, 0, 100, 1}, 1);
        const QImage image = Render(brush, 100, 1);
        const int focused = std::clamp(int(c.Focus * 100), 0, 99);
        const std::string name = EnumName(c.Shape).toStdString() + " " + std::to_string(c.Focus);
        EXPECT_NEAR(qRed(image.pixel(0, 0)), c.Start, 4) << name;
        EXPECT_NEAR(qRed(image.pixel(focused, 0)), c.Focused, 4) << name;
        EXPECT_NEAR(qRed(image.pixel(99, 0)), c.End, 4) << name;
    }
}

TEST(GPBrush, GammaCorrectionMixesInLinearLight)
{
    TVelkGPBrush brush;
    MakeGradient(brush, {{0xFF000000, 0}, {White, 1}});
    brush.Gradient()->StopPosition()->SetPoint({1, 0});
    brush.Prepare({0, 0, 100, 1}, 1);
    EXPECT_NEAR(qRed(Render(brush, 100, 1).pixel(50, 0)), 128, 4);
    brush.Gradient()->SetGammaCorrection(true);
    brush.Prepare({0, 0, 100, 1}, 1);
    EXPECT_NEAR(qRed(Render(brush, 100, 1).pixel(50, 0)), 186, 6); // 255·0.5^(1/2.2)
}

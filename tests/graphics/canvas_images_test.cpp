#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/image_attributes.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>

using namespace velk;
using velk::testing::MessageOf;

namespace {

constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb White = 0xFFFFFFFF;

class CanvasImages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }

    // 10 x 10 in four quadrants: red, green (top right), blue (bottom left), white.
    static const TVelkGPBitmap& Quadrants()
    {
        static const std::unique_ptr<TVelkGPBitmap> bitmap = [] {
            QImage image(10, 10, QImage::Format_ARGB32);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 10; ++x)
                    image.setPixel(x, y, y < 5 ? (x < 5 ? Red : Green) : (x < 5 ? Blue : White));
            auto result = std::make_unique<TVelkGPBitmap>();
            result->LoadFromBitmap(image);
            return result;
        }();
        return *bitmap;
    }

    TVelkGPBitmap Target{40, 40};
    TVelkGPCanvas& Canvas = Target.Canvas();
};

TEST_F(CanvasImages, DrawsAtPointsAndIntoRectangles)
{
    Canvas.DrawImage(Quadrants(), 2.0f, 3.0f);
    EXPECT_EQ(Target.Pixels(2, 3), Red);
    EXPECT_EQ(Target.Pixels(11, 12), White);
    EXPECT_EQ(Target.Pixels(12, 13), 0u);

    Canvas.DrawImage(Quadrants(), TRectF{20, 20, 40, 40});
    EXPECT_EQ(Target.Pixels(25, 25), Red);
    EXPECT_EQ(Target.Pixels(35, 25), Green);
    EXPECT_EQ(Target.Pixels(25, 35), Blue);
}

TEST_F(CanvasImages, MapsOntoParallelograms)
{
    // Turned a quarter clockwise: the image's x axis runs down, its y axis to the left.
    Canvas.DrawImage(Quadrants(), TVelkPoints{{20, 0}, {20, 20}, {0, 0}});
    EXPECT_EQ(Target.Pixels(15, 5), Red);
    EXPECT_EQ(Target.Pixels(15, 15), Green);
    EXPECT_EQ(Target.Pixels(5, 5), Blue);
    EXPECT_EQ(Target.Pixels(5, 15), White);

    EXPECT_EQ(MessageOf<EGDIPException>([&] { Canvas.DrawImage(Quadrants(), TCanvasPoints{{0, 0}, {1, 1}}); }),
              u"Invalid Parameter for GDI+ function"_qs);
}

TEST_F(CanvasImages, SourceRectanglesInPixelsOrOtherUnits)
{
    Canvas.DrawImage(Quadrants(), 0.0f, 0.0f, TRectF{5, 0, 10, 5}, uPixel);
    EXPECT_EQ(Target.Pixels(0, 0), Green);
    EXPECT_EQ(Target.Pixels(4, 4), Green);
    EXPECT_EQ(Target.Pixels(5, 5), 0u);

    TVelkGPBitmap image;
    image.Assign(&Quadrants());
    image.SetDPIResolution(10, 20);
    // From half an inch across (10 dpi) and a quarter inch down (20 dpi): the white quadrant.
    Canvas.DrawImage(image, TRectF{20, 0, 30, 10}, TRectF{0.5f, 0.25f, 1, 0.5f}, uInch);
    EXPECT_EQ(Target.Pixels(25, 5), White);
}

TEST_F(CanvasImages, OpacityFadesAndZeroDrawsNothing)
{
    Canvas.DrawImage(Quadrants(), 0.0f, 0.0f, 0.5f);
    EXPECT_NEAR(qAlpha(Target.Pixels(2, 2)), 128, 1);
    EXPECT_EQ(qRed(Target.Pixels(2, 2)), 255);

    Canvas.DrawImage(Quadrants(), 20.0f, 20.0f, 0.0f);
    Canvas.Draw(20, 20, *Quadrants().Handle(), 0);
    EXPECT_EQ(Target.Pixels(22, 22), 0u);

    Canvas.Draw(20, 20, *Quadrants().Handle(), 64);
    EXPECT_NEAR(qAlpha(Target.Pixels(22, 22)), 64, 1);
}

TEST_F(CanvasImages, AttributesAdjustThePixels)
{
    TVelkGPImageAttributes half;
    TVelkGPColorMatrix matrix = TVelkGPColorMatrix::IdentityMatrix();
    matrix(3, 3) = 0.5f;
    half.SetColorAdjustments(catBitmap, matrix);
    Canvas.DrawImage(Quadrants(), 0, 0, 10, 10, 0, 0, 10, 10, uPixel, &half);
    EXPECT_NEAR(qAlpha(Target.Pixels(2, 2)), 128, 1);

    TVelkGPImageAttributes keyed;
    keyed.SetColorKeys(catBitmap, {Red, Red});
    Canvas.DrawImage(Quadrants(), TVelkPoints{{20, 0}, {30, 0}, {20, 10}}, 0, 0, 10, 10, uPixel, &keyed);
    EXPECT_EQ(Target.Pixels(22, 2), 0u);
    EXPECT_EQ(Target.Pixels(27, 2), Green);

    EXPECT_EQ(MessageOf<EGDIPException>([&] {
                  Canvas.DrawImage(Quadrants(), 0, 20, 10, 10, 0, 0, 10, 10, uPixel, nullptr, [] { return true; });
              }),
              u"Operation was aborted in GDI+"_qs);
    EXPECT_EQ(Target.Pixels(2, 22), 0u);
}

TEST_F(CanvasImages, DrawBitmapChoosesTheScalingAndRestoresIt)
{
    QImage twoPixels(2, 1, QImage::Format_ARGB32);
    twoPixels.setPixel(0, 0, Red);
    twoPixels.setPixel(1, 0, Blue);
    const bool smooth = Canvas.Handle().testRenderHint(QPainter::SmoothPixmapTransform);

    Canvas.DrawBitmap(twoPixels, {0, 0, 2, 1}, {0, 0, 20, 1}, 1, true);
    EXPECT_EQ(Target.Pixels(9, 0), Red);
    EXPECT_EQ(Target.Pixels(10, 0), Blue);
    EXPECT_EQ(Canvas.Handle().testRenderHint(QPainter::SmoothPixmapTransform), smooth);

    Canvas.DrawBitmap(twoPixels, {0, 0, 2, 1}, {0, 2, 20, 3}, 1, false);
    const QRgb middle = Target.Pixels(9, 2);
    EXPECT_GT(qRed(middle), 0);
    EXPECT_GT(qBlue(middle), 0);
    EXPECT_EQ(Canvas.Handle().testRenderHint(QPainter::SmoothPixmapTransform), smooth);
}

TEST_F(CanvasImages, DrawsQtBitmapsAndIcons)
{
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::green);
    Canvas.Draw(10, 10, QIcon(pixmap));
    EXPECT_EQ(Target.Pixels(13, 13), Green);
    EXPECT_EQ(Target.Pixels(14, 14), 0u);
    Canvas.Draw(0, 0, QIcon()); // nothing to draw
    Canvas.Draw(0, 0, QImage());
    EXPECT_EQ(Target.Pixels(0, 0), 0u);
}

TEST_F(CanvasImages, NonFiniteRectanglesDrawNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    TVelkGPImageAttributes keyed;
    keyed.SetColorKeys(catBitmap, {Red, Red});
    Canvas.DrawImage(Quadrants(), TRectF{0, 0, inf, 10});
    Canvas.DrawImage(Quadrants(), TRectF{0, 0, 10, 10}, TRectF{0, 0, nan, 10}, uPixel);
    Canvas.DrawImage(Quadrants(), 0, 0, 10, 10, 0, 0, inf, 10, uPixel, &keyed);
    // A source so small that the scale onto the destination overflows.
    Canvas.DrawImage(Quadrants(), 0, 0, 1e30f, 1e30f, 0, 0, 1e-30f, 1e-30f, uPixel, nullptr);
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 40; x += 3)
            ASSERT_EQ(Target.Pixels(x, y), 0u) << x << ", " << y;

    // A source far beyond the integer range still adjusts only the image's pixels.
    Canvas.DrawImage(Quadrants(), 0, 0, 40, 40, -1e20f, -1e20f, 2e20f + 10, 2e20f + 10, uPixel, &keyed);
}

TEST_F(CanvasImages, ImagesWithoutPixelsRaise)
{
    TVelkGPImage empty;
    EXPECT_EQ(MessageOf<EGDIPException>([&] { Canvas.DrawImage(empty, 0.0f, 0.0f); }),
              u"Invalid Parameter for GDI+ function"_qs);
}

} // namespace

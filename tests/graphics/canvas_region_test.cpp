#include "graphics/canvas_region.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "platform/exceptions.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace velk {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;

class CanvasRegion : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
    void SetUp() override { FImage.fill(White); }

    // Fills the whole image in red through the canvas's clip.
    void FillAll(TVelkGPCanvas& Canvas)
    {
        Canvas.Fill().SetColor(Red);
        Canvas.SetMatrix(IdentityMatrix);
        Canvas.FillRect(TRectF{0, 0, 10, 10}, 1);
    }

    QImage FImage{10, 10, QImage::Format_ARGB32_Premultiplied};
};

TEST_F(CanvasRegion, CombiningClipsTheDrawing)
{
    TVelkGPCanvas canvas(FImage);
    canvas.ClipRegion().Combine(TRectF{0, 0, 5, 10}, cmIntersect);
    canvas.ClipRegion().Combine(TRect{3, 0, 8, 10}, cmUnion);
    EXPECT_EQ(canvas.GetClipRect(), (TRect{0, 0, 8, 10}));
    FillAll(canvas);
    EXPECT_EQ(FImage.pixel(7, 5), Red);
    EXPECT_EQ(FImage.pixel(8, 5), White);
}

TEST_F(CanvasRegion, RectangleBetweenPixelsClipsWithCoverage)
{
    // Qt would clip a plain rectangle to whole pixels; with antialiasing the pixels the
    // edges cross are covered in part, and whole pixels stay whole.
    for (const bool antialiased : {true, false}) {
        SCOPED_TRACE(antialiased);
        FImage.fill(White);
        TVelkGPCanvas canvas(FImage);
        canvas.SetSmoothingMode(antialiased ? 4 : 3);
        canvas.ClipRegion().Combine(TRectF{2.5f, 0, 7, 10}, cmIntersect);
        FillAll(canvas);
        const int green = qGreen(FImage.pixel(2, 5));
        if (antialiased) {
            EXPECT_GT(green, 64);
            EXPECT_LT(green, 192);
        } else {
            EXPECT_TRUE(green == 0 || green == 255) << green;
        }
        EXPECT_EQ(FImage.pixel(1, 5), White);
        EXPECT_EQ(FImage.pixel(3, 5), Red);
        EXPECT_EQ(FImage.pixel(6, 5), Red);
        EXPECT_EQ(FImage.pixel(7, 5), White);
    }
}

TEST_F(CanvasRegion, RectangleEndingInTheOutermostPixelsStaysWholePixels)
{
    // A drawing fitted to an image of its size rounded up: a path clip would cost a
    // rasterisation on every restore for the sake of the last column alone.
    TVelkGPCanvas canvas(FImage);
    canvas.SetSmoothingMode(4);
    canvas.ClipRegion().Combine(TRectF{0, 0, 9.7f, 10}, cmIntersect);
    FillAll(canvas);
    EXPECT_EQ(FImage.pixel(9, 5), Red);
}

TEST_F(CanvasRegion, IsInWorldCoordinates)
{
    TVelkGPCanvas canvas(FImage);
    canvas.SetMatrix(MatrixMultiply(CreateScalingMatrix(2, 1), CreateTranslationMatrix(4, 0)));
    canvas.ClipRegion().Combine(TRectF{0, 0, 2, 10}, cmIntersect);
    EXPECT_EQ(canvas.ClipArea().Bounds(), (TRectF{4, 0, 8, 10}));
    EXPECT_EQ(canvas.ClipRegion().GetBounds(), (TRectF{0, 0, 2, 10}));
    EXPECT_TRUE(canvas.ClipRegion().IsVisible(TPointF{1, 1}));
    canvas.ClipRegion().Translate(1.0f, 0.0f); // one world unit: two device pixels
    EXPECT_EQ(canvas.ClipArea().Bounds(), (TRectF{6, 0, 10, 10}));

    canvas.SetMatrix(IdentityMatrix); // the device clip stays where it is
    EXPECT_EQ(canvas.ClipRegion().GetBounds(), (TRectF{6, 0, 10, 10}));
    FillAll(canvas);
    EXPECT_EQ(FImage.pixel(6, 5), Red);
    EXPECT_EQ(FImage.pixel(5, 5), White);
}

TEST_F(CanvasRegion, HitTestsWithoutAPainter)
{
    TVelkGPCanvas canvas;
    canvas.ClipRegion().Combine(TRectF{0, 0, 5, 5}, cmIntersect);
    EXPECT_TRUE(canvas.ClipRegion().IsVisible(TPointF{1, 1}));
    EXPECT_FALSE(canvas.ClipRegion().IsVisible(TPointF{8, 8}));
    EXPECT_TRUE(canvas.ClipRegion().IsVisible(TRectF{4, 4, 9, 9}));
    EXPECT_FALSE(canvas.HandleAllocated());
}

TEST_F(CanvasRegion, EmptyClipDrawsNothingAndClearRemovesIt)
{
    TVelkGPCanvas canvas(FImage);
    canvas.ClipRegion().Combine(TRectF{0, 0, 2, 2}, cmIntersect);
    canvas.ClipRegion().Combine(TRectF{5, 5, 8, 8}, cmIntersect);
    EXPECT_TRUE(canvas.ClipRegion().IsEmpty());
    FillAll(canvas);
    EXPECT_EQ(FImage.pixel(1, 1), White);
    EXPECT_EQ(FImage.pixel(6, 6), White);

    canvas.ClipRegion().Clear();
    EXPECT_TRUE(canvas.ClipArea().Infinite);
    EXPECT_FALSE(canvas.ClipRegion().IsInfinite());
    FillAll(canvas);
    EXPECT_EQ(FImage.pixel(9, 9), Red);
}

TEST_F(CanvasRegion, AssignCloneAndRefusedInfinite)
{
    TVelkGPCanvas canvas;
    const TVelkGPRegion region(&canvas, TRectF{1, 2, 3, 4});
    canvas.SetClipRegion(region);
    EXPECT_EQ(canvas.ClipArea().Bounds(), (TRectF{1, 2, 3, 4}));

    const auto copy = canvas.ClipRegion().CloneAs<TVelkGPRegion>();
    EXPECT_EQ(&copy->ClassInfo(), &TVelkGPRegion::StaticClass());
    canvas.ClipRegion().Clear();
    EXPECT_EQ(copy->GetBounds(), (TRectF{1, 2, 3, 4})); // a copy, not the clip

    EXPECT_EQ(testing::MessageOf<EInvalidOperation>([&] { canvas.ClipRegion().MakeInfinite(); }),
              u"Invalid canvas operation"_qs);
}

TEST_F(CanvasRegion, ChangesRaiseTheRegionEvent)
{
    TVelkGPCanvas canvas;
    int changes = 0;
    canvas.ClipRegion().OnChange = [&](TObject*) { ++changes; };
    canvas.ClipRegion().Combine(TRectF{0, 0, 5, 5}, cmIntersect);
    canvas.ClipRegion().Clear();
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace velk

#include "graphics/canvas.h"

#include "graphics/brush.h"
#include "graphics/canvas_region.h"
#include "graphics/font.h"
#include "graphics/pen.h"
#include "graphics/string_format.h"
#include "tests/support/gui_application.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velk {
namespace {

class CanvasState : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

TEST_F(CanvasState, StartsAsAMeasuringCanvasWithItsOwnObjects)
{
    TVelkGPCanvas canvas;
    EXPECT_EQ(&canvas.Stroke(), &canvas.Pen());
    EXPECT_EQ(&canvas.Fill(), &canvas.Brush());
    const TVelkGPGraphicsObject* own[] = {&canvas.Pen(), &canvas.Brush(), &canvas.Font(), &canvas.StringFormat(),
                                          &canvas.ClipRegion()};
    for (const TVelkGPGraphicsObject* object : own) {
        EXPECT_EQ(object->Owner(), &canvas);
        EXPECT_NE(std::find(canvas.GPObjects().begin(), canvas.GPObjects().end(), object), canvas.GPObjects().end());
    }
    EXPECT_EQ(canvas.GPObjects().size(), 5u);
    EXPECT_TRUE(IsIdentityMatrix(canvas.Matrix()));
    EXPECT_EQ(canvas.PixelsPerInchX(), 96);
    EXPECT_EQ(canvas.PixelsPerInchY(), 96);
    EXPECT_TRUE(canvas.ClipArea().Infinite);
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(canvas.SmoothingMode(), 0);
    EXPECT_EQ(canvas.InterpolationMode(), 0);
    EXPECT_EQ(canvas.PixelOffsetMode(), 0);
    EXPECT_EQ(canvas.CompositingQuality(), 0);
    EXPECT_EQ(canvas.CompositingMode(), cmSourceOver);
    EXPECT_EQ(canvas.TextRenderingHint(), trhSystemDefault);
    EXPECT_EQ(canvas.TextContrast(), 0);
    EXPECT_EQ(canvas.PageScale(), 1);
    EXPECT_EQ(canvas.PageUnit(), uDisplay);
    EXPECT_EQ(canvas.PenPos(), (TPoint{0, 0}));
}

TEST_F(CanvasState, SettersCopyAndNeverAdopt)
{
    TVelkGPCanvas canvas;
    TVelkGPPen pen;
    pen.SetThickness(3);
    pen.SetColor(0xFF102030);
    TVelkGPBrush brush;
    brush.SetColor(0x80FF0000);
    TVelkGPFont font;
    font.SetSize(20);
    TVelkGPStringFormat format;
    format.SetAlign(saCenter);

    canvas.SetPen(pen);
    canvas.SetBrush(brush);
    canvas.SetFont(font);
    canvas.SetStringFormat(format);
    EXPECT_NE(&canvas.Pen(), &pen);
    EXPECT_EQ(canvas.Pen().Owner(), &canvas);
    EXPECT_EQ(canvas.Pen().Thickness(), 3);
    EXPECT_EQ(canvas.Pen().Color(), 0xFF102030u);
    EXPECT_EQ(canvas.Brush().Color(), 0x80FF0000u);
    EXPECT_EQ(canvas.Font().Size(), 20);
    EXPECT_EQ(canvas.StringFormat().Align(), saCenter);

    // Later changes to the sources stay theirs.
    pen.SetThickness(5);
    brush.SetColor(0xFF00FF00);
    EXPECT_EQ(canvas.Pen().Thickness(), 3);
    EXPECT_EQ(canvas.Brush().Color(), 0x80FF0000u);

    // Assigning the canvas's own object to it changes nothing.
    canvas.SetPen(canvas.Pen());
    EXPECT_EQ(canvas.Pen().Thickness(), 3);
}

TEST_F(CanvasState, MatrixIsReplacedNotComposed)
{
    TVelkGPCanvas canvas;
    canvas.SetMatrix(CreateTranslationMatrix(10, 20));
    canvas.SetMatrix(CreateScalingMatrix(2, 3));
    EXPECT_EQ(canvas.Matrix(), CreateScalingMatrix(2, 3));
}

TEST_F(CanvasState, ClipAreaIsStored)
{
    TVelkGPCanvas canvas;
    canvas.SetClipArea(TVelkGPRegionArea::FromRect({1, 2, 30, 40}));
    EXPECT_FALSE(canvas.ClipArea().Infinite);
    EXPECT_EQ(canvas.ClipArea().Bounds(), (TRectF{1, 2, 30, 40}));
}

TEST_F(CanvasState, AssignCopiesStateAndObjects)
{
    TVelkGPCanvas source;
    source.SetSmoothingMode(4);
    source.SetInterpolationMode(7);
    source.SetPixelOffsetMode(2);
    source.SetCompositingQuality(3);
    source.SetCompositingMode(cmSourceCopy);
    source.SetTextRenderingHint(trhAntiAlias);
    source.SetTextContrast(9);
    source.SetPageScale(1.5f);
    source.SetPageUnit(uMillimeter);
    source.SetMatrix(CreateRotationMatrix(30));
    source.MoveTo(4, 5);
    source.SetClipArea(TVelkGPRegionArea::FromRect({1, 2, 3, 4}));
    source.Fill().SetColor(0xFF010203);
    source.Stroke().SetThickness(4);
    source.Font().SetSize(31);
    source.StringFormat().SetAlign(saTrailing);

    TVelkGPCanvas canvas;
    canvas.Assign(&source);
    EXPECT_EQ(canvas.SmoothingMode(), 4);
    EXPECT_EQ(canvas.InterpolationMode(), 7);
    EXPECT_EQ(canvas.PixelOffsetMode(), 2);
    EXPECT_EQ(canvas.CompositingQuality(), 3);
    EXPECT_EQ(canvas.CompositingMode(), cmSourceCopy);
    EXPECT_EQ(canvas.TextRenderingHint(), trhAntiAlias);
    EXPECT_EQ(canvas.TextContrast(), 9);
    EXPECT_EQ(canvas.PageScale(), 1.5f);
    EXPECT_EQ(canvas.PageUnit(), uMillimeter);
    EXPECT_EQ(canvas.Matrix(), CreateRotationMatrix(30));
    EXPECT_EQ(canvas.PenPos(), (TPoint{4, 5}));
    EXPECT_EQ(canvas.ClipArea().Bounds(), (TRectF{1, 2, 3, 4}));
    EXPECT_EQ(canvas.Fill().Color(), 0xFF010203u);
    EXPECT_EQ(canvas.Stroke().Thickness(), 4);
    EXPECT_EQ(canvas.Font().Size(), 31);
    EXPECT_EQ(canvas.StringFormat().Align(), saTrailing);
    EXPECT_EQ(canvas.Fill().Owner(), &canvas);
}

TEST_F(CanvasState, ObjectsOutliveTheCanvasWithoutOwner)
{
    auto canvas = std::make_unique<TVelkGPCanvas>();
    auto pen = std::make_unique<TVelkGPPen>(canvas.get());
    auto brush = std::make_unique<TVelkGPBrush>(canvas.get());
    canvas.reset();
    EXPECT_EQ(pen->Owner(), nullptr);
    EXPECT_EQ(brush->Owner(), nullptr);
    pen->SetThickness(2); // still usable
    EXPECT_EQ(pen->Thickness(), 2);
}

} // namespace
} // namespace velk

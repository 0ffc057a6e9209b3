#include "graphics/canvas_save_state.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/canvas_region.h"
#include "graphics/pen.h"
#include "tests/support/gui_application.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace velk {
namespace {

class CanvasSaveState : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

TEST_F(CanvasSaveState, RestoresMatrixClipModesAndObjects)
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    TVelkGPCanvas canvas(image);
    canvas.Fill().SetColor(0xFF00FF00);
    canvas.SetMatrix(CreateTranslationMatrix(1, 1));
    canvas.SetSmoothingMode(4);

    TVelkGPCanvasSaveState* state = canvas.SaveState();
    EXPECT_TRUE(state->Assigned());
    EXPECT_EQ(state->Fill().Color(), 0xFF00FF00u);
    EXPECT_EQ(state->Fill().Owner(), &canvas);
    canvas.Fill().SetColor(0xFFFF0000);
    canvas.Stroke().SetThickness(7);
    canvas.SetMatrix(CreateScalingMatrix(3, 3));
    canvas.ClipRegion().Combine(TRectF{0, 0, 1, 1}, cmIntersect);
    canvas.SetSmoothingMode(3);
    canvas.SetPageScale(2);

    canvas.RestoreState(state);
    EXPECT_FALSE(state->Assigned());
    EXPECT_EQ(canvas.Fill().Color(), 0xFF00FF00u);
    EXPECT_EQ(canvas.Stroke().Thickness(), 1);
    EXPECT_EQ(canvas.Matrix(), CreateTranslationMatrix(1, 1));
    EXPECT_TRUE(canvas.ClipArea().Infinite);
    EXPECT_EQ(canvas.SmoothingMode(), 4);
    EXPECT_EQ(canvas.PageScale(), 1);
    // The painter draws with the restored state.
    canvas.FillRect(TRectF{0, 0, 8, 8}, 1);
    EXPECT_EQ(image.pixel(8, 8), 0xFF00FF00);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFF);
}

TEST_F(CanvasSaveState, PoolEntriesAreReused)
{
    TVelkGPCanvas canvas;
    TVelkGPCanvasSaveState* first = canvas.SaveState();
    canvas.RestoreState(first);
    EXPECT_EQ(canvas.SaveState(), first);
}

TEST_F(CanvasSaveState, StateOfAnotherCanvasOrRestoredTwiceIsIgnored)
{
    TVelkGPCanvas canvas;
    TVelkGPCanvas other;
    TVelkGPCanvasSaveState* foreign = other.SaveState();
    TVelkGPCanvasSaveState* own = canvas.SaveState();
    canvas.SetMatrix(CreateScalingMatrix(2, 2));
    canvas.RestoreState(foreign);
    EXPECT_EQ(canvas.Matrix(), CreateScalingMatrix(2, 2));
    EXPECT_TRUE(foreign->Assigned());

    canvas.RestoreState(own);
    canvas.SetMatrix(CreateScalingMatrix(3, 3));
    canvas.RestoreState(own);
    EXPECT_EQ(canvas.Matrix(), CreateScalingMatrix(3, 3));
}

// Restoring an outer state drops the states saved after it: their pool entries become
// free for reuse (otherwise they would stay taken forever, holding dead tokens) and
// restoring them later does nothing.
TEST_F(CanvasSaveState, OuterRestoreFreesInnerStates)
{
    TVelkGPCanvas canvas;
    TVelkGPCanvasSaveState* outer = canvas.SaveState();
    canvas.Fill().SetColor(0xFF0000FF);
    TVelkGPCanvasSaveState* inner = canvas.SaveState();
    canvas.RestoreState(outer);
    EXPECT_FALSE(inner->Assigned());

    canvas.Fill().SetColor(0xFF123456);
    canvas.RestoreState(inner);
    EXPECT_EQ(canvas.Fill().Color(), 0xFF123456u);

    // Nested again and again, the pool keeps its two entries.
    for (int i = 0; i < 3; ++i) {
        TVelkGPCanvasSaveState* a = canvas.SaveState();
        TVelkGPCanvasSaveState* b = canvas.SaveState();
        EXPECT_EQ(a, outer);
        EXPECT_EQ(b, inner);
        canvas.RestoreState(a);
    }
}

TEST_F(CanvasSaveState, TokensRestoreOnceAndDropLaterTokens)
{
    TVelkGPCanvas canvas;
    canvas.SetMatrix(CreateTranslationMatrix(1, 0));
    const std::uint32_t outer = canvas.SaveCurrentState();
    canvas.SetMatrix(CreateTranslationMatrix(2, 0));
    const std::uint32_t inner = canvas.SaveCurrentState();
    EXPECT_NE(outer, inner);
    canvas.SetMatrix(CreateTranslationMatrix(3, 0));

    canvas.RestoreCurrentState(outer);
    EXPECT_EQ(canvas.Matrix(), CreateTranslationMatrix(1, 0));
    canvas.SetMatrix(CreateTranslationMatrix(4, 0));
    canvas.RestoreCurrentState(inner);
    canvas.RestoreCurrentState(outer);
    canvas.RestoreCurrentState(12345);
    EXPECT_EQ(canvas.Matrix(), CreateTranslationMatrix(4, 0));
}

} // namespace
} // namespace velk

#include "graphics/canvas.h"

#include "graphics/brush.h"
#include "graphics/font.h"
#include "graphics/string_format.h"
#include "platform/numbers.h"
#include "tests/support/gui_application.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <algorithm>
#include <functional>

namespace velk {
namespace {

using TDrawing = std::function<void(TVelkGPCanvas&)>;

// Draws on a transparent 200 x 60 image with a 20-pixel black font; the canvas is gone
// when the image is returned.
QImage Render(const TDrawing& Drawing)
{
    QImage image(200, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        canvas.Font().SetSize(20);
        Drawing(canvas);
    }
    return image;
}

// The bounding box of the pixels with any alpha; empty for none.
QRect InkBox(const QImage& Image)
{
    QRect box;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (qAlpha(Image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

bool HasPartialAlpha(const QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (const int a = qAlpha(Image.pixel(x, y)); a != 0 && a != 255)
                return true;
    return false;
}

int MaxAlpha(const QImage& Image)
{
    int result = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            result = std::max(result, qAlpha(Image.pixel(x, y)));
    return result;
}

// True when Box lies within R, widened by a pixel for anti-aliasing.
bool Inside(const QRect& Box, const TRectF& R)
{
    return Box.left() >= R.Left - 1 && Box.right() + 1 <= R.Right + 1 && Box.top() >= R.Top - 1 &&
           Box.bottom() + 1 <= R.Bottom + 1;
}

class CanvasText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

TEST_F(CanvasText, TextOutDrawsInsideTheBoxItMeasures)
{
    TRectF measured;
    const QImage image = Render([&](TVelkGPCanvas& c) {
        c.TextOut(10, 30, u"Hello, Wy"_qs);
        measured = {10, 30, 10, 30};
        c.MeasureText(measured, u"Hello, Wy"_qs, false, {}, saLeading, saCenter);
    });
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(Inside(ink, measured)) << ink.left() << "," << ink.top() << " " << ink.right() << ","
                                       << ink.bottom();
    // Centred vertically on Y, starting at X.
    EXPECT_NEAR((measured.Top + measured.Bottom) / 2, 30, 0.01);
    EXPECT_EQ(measured.Left, 10);
    EXPECT_NEAR(ink.left(), 10, 6);
}

TEST_F(CanvasText, FillTextAlignsInItsRectangle)
{
    const QImage image = Render([](TVelkGPCanvas& c) {
        c.FillText({0, 0, 200, 60}, u"Centre"_qs, true, {}, saCenter, saCenter, 1);
        EXPECT_EQ(c.StringFormat().Align(), saCenter);
        EXPECT_EQ(c.StringFormat().LineAlign(), saCenter);
        EXPECT_EQ(c.StringFormat().Trimming(), stWord);
        c.FillText({0, 0, 200, 60}, u""_qs, false, {}, saLeading, saTrailing, 1);
        EXPECT_EQ(c.StringFormat().Trimming(), stNone);
        EXPECT_EQ(c.StringFormat().LineAlign(), saTrailing);
    });
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 100, 3);
    EXPECT_NEAR(ink.center().y(), 30, 5);
}

TEST_F(CanvasText, ExtentsMeasureWithoutWrapping)
{
    TVelkGPCanvas canvas;
    canvas.Font().SetSize(20);
    EXPECT_EQ(canvas.TextExtent(u""_qs).Width, 0);
    const float one = canvas.TextWidth(u"i"_qs);
    const float two = canvas.TextWidth(u"ii"_qs);
    const float line = canvas.TextWidth(u"ii and a long line of text that would wrap"_qs);
    EXPECT_GT(one, 0);
    EXPECT_LT(one, two);
    EXPECT_LT(two, line);
    EXPECT_EQ(canvas.TextHeight(u"i"_qs), canvas.TextHeight(u"ii and more"_qs)); // one line
    const TSizeF extent = canvas.TextExtentF(u"Width"_qs);
    const TSize rounded{Round<std::int32_t>(extent.Width), Round<std::int32_t>(extent.Height)};
    EXPECT_EQ(canvas.TextExtent(u"Width"_qs), rounded);
}

TEST_F(CanvasText, TextRectClipsAndRestoresTheClip)
{
    bool clipRestored = false;
    const QImage image = Render([&](TVelkGPCanvas& c) {
        c.TextRect(TRect{0, 0, 40, 60}, 10, 30, u"Hello world"_qs);
        clipRestored = c.ClipArea().Infinite;
    });
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.right(), 40);
    EXPECT_TRUE(clipRestored);
}

struct TQualityCase {
    TFontQuality Quality;
    TVelkGPTextRenderingHint CanvasHint;
    bool AntiAliased;
};

TEST_F(CanvasText, FontQualityChoosesTheHintForOneDrawing)
{
    const TQualityCase cases[] = {
        {fqDefault, trhAntiAlias, true},
        {fqDefault, trhSingleBitPerPixel, false},
        {fqNonAntialiased, trhAntiAlias, false},
        {fqDraft, trhAntiAlias, false},
        {fqAntialiased, trhSingleBitPerPixelGridFit, true},
        {fqClearType, trhSingleBitPerPixel, true},
    };
    for (const TQualityCase& test : cases) {
        SCOPED_TRACE(EnumName(test.Quality).toStdString() + " on " + EnumName(test.CanvasHint).toStdString());
        TVelkGPTextRenderingHint hintAfter = trhSystemDefault;
        const QImage image = Render([&](TVelkGPCanvas& c) {
            c.SetTextRenderingHint(test.CanvasHint);
            c.Font().SetQuality(test.Quality);
            c.TextOut(10, 30, u"Quality"_qs);
            hintAfter = c.TextRenderingHint();
        });
        EXPECT_EQ(HasPartialAlpha(image), test.AntiAliased);
        EXPECT_EQ(hintAfter, test.CanvasHint);
    }
}

TEST_F(CanvasText, OpacityUsesAPreparedCloneOfTheFontBrush)
{
    std::size_t objectsBefore = 0;
    std::size_t objectsAfter = 0;
    TVelkGPColor colorAfter = 0;
    const QImage image = Render([&](TVelkGPCanvas& c) {
        c.Font().SetQuality(fqNonAntialiased);
        objectsBefore = c.GPObjects().size();
        c.FillText({10, 10, 190, 50}, u"Half"_qs, 0.5f);
        objectsAfter = c.GPObjects().size();
        colorAfter = c.Font().Color();
    });
    EXPECT_EQ(MaxAlpha(image), 127);
    EXPECT_EQ(colorAfter, 0xFF000000u);
    EXPECT_EQ(objectsAfter, objectsBefore);
}

TEST_F(CanvasText, NothingIsDrawnWithoutBrushOrOpacity)
{
    const TDrawing cases[] = {
        [](TVelkGPCanvas& c) { c.FillText({0, 0, 200, 60}, u"None"_qs, 0); },
        [](TVelkGPCanvas& c) { c.FillText({0, 0, 200, 60}, u"None"_qs, -0.5f); },
        [](TVelkGPCanvas& c) {
            c.Font().Brush().SetKind(bkNone);
            c.TextOut(10, 30, u"None"_qs);
            c.TextRect(TRect{0, 0, 200, 60}, 10, 30, u"None"_qs);
        },
    };
    for (const TDrawing& drawing : cases)
        EXPECT_TRUE(InkBox(Render(drawing)).isEmpty());
}

} // namespace
} // namespace velk

#include "graphics/canvas.h"

#include "graphics/backend_path.h"
#include "graphics/bitmap.h"
#include "graphics/brush.h"
#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/path_data.h"
#include "graphics/pen.h"
#include "platform/exceptions.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace velk {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr TVelkGPColor Red = 0xFFFF0000;
constexpr TVelkGPColor Blue = 0xFF0000FF;

QImage WhiteImage(int Width = 12, int Height = 12)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(White);
    return image;
}

class Canvas : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

TEST_F(Canvas, MeasuringCanvasDrawsWithoutATarget)
{
    TVelkGPCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    canvas.FillRect(TRectF{0, 0, 10, 10}, 1);
    EXPECT_TRUE(canvas.HandleAllocated());
    EXPECT_EQ(canvas.Handle().device()->width(), 1);
    EXPECT_EQ(canvas.PixelsPerInchX(), 96);
}

// Each mode lands on the painter the same way whether set before or after it opens.
TEST_F(Canvas, ModesMapOntoThePainter)
{
    struct Case {
        const char* Name;
        std::function<void(TVelkGPCanvas&)> Set;
        std::function<bool(const QPainter&)> Holds;
    };
    const auto hint = [](QPainter::RenderHint Hint, bool On) {
        return [Hint, On](const QPainter& P) { return P.testRenderHint(Hint) == On; };
    };
    const Case cases[] = {
        {"smoothing high quality", [](TVelkGPCanvas& C) { C.SetSmoothingMode(2); }, hint(QPainter::Antialiasing, true)},
        {"smoothing anti-alias", [](TVelkGPCanvas& C) { C.SetSmoothingMode(4); }, hint(QPainter::Antialiasing, true)},
        {"smoothing 8x8", [](TVelkGPCanvas& C) { C.SetSmoothingMode(5); }, hint(QPainter::Antialiasing, true)},
        {"smoothing none", [](TVelkGPCanvas& C) { C.SetSmoothingMode(3); }, hint(QPainter::Antialiasing, false)},
        {"smoothing default", [](TVelkGPCanvas&) {}, hint(QPainter::Antialiasing, false)},
        {"text single bit", [](TVelkGPCanvas& C) { C.SetTextRenderingHint(trhSingleBitPerPixel); },
         hint(QPainter::TextAntialiasing, false)},
        {"text anti-alias", [](TVelkGPCanvas& C) { C.SetTextRenderingHint(trhAntiAliasGridFit); },
         hint(QPainter::TextAntialiasing, true)},
        {"interpolation bicubic", [](TVelkGPCanvas& C) { C.SetInterpolationMode(7); },
         hint(QPainter::SmoothPixmapTransform, true)},
        {"interpolation nearest", [](TVelkGPCanvas& C) { C.SetInterpolationMode(5); },
         hint(QPainter::SmoothPixmapTransform, false)},
        {"source copy", [](TVelkGPCanvas& C) { C.SetCompositingMode(cmSourceCopy); },
         [](const QPainter& P) { return P.compositionMode() == QPainter::CompositionMode_Source; }},
        {"source over", [](TVelkGPCanvas&) {},
         [](const QPainter& P) { return P.compositionMode() == QPainter::CompositionMode_SourceOver; }},
    };
    for (const Case& c : cases) {
        for (const bool before : {true, false}) {
            SCOPED_TRACE(std::string(c.Name) + (before ? " before" : " after"));
            QImage image = WhiteImage();
            TVelkGPCanvas canvas(image);
            if (before) {
                c.Set(canvas);
                EXPECT_FALSE(canvas.HandleAllocated());
                canvas.Handle();
            } else {
                canvas.Handle();
                c.Set(canvas);
            }
            EXPECT_TRUE(c.Holds(canvas.Handle()));
        }
    }
}

TEST_F(Canvas, InvalidModeValuesRaiseAndKeepTheMode)
{
    const std::function<void(TVelkGPCanvas&)> setters[] = {
        [](TVelkGPCanvas& C) { C.SetSmoothingMode(6); },
        [](TVelkGPCanvas& C) { C.SetInterpolationMode(8); },
        [](TVelkGPCanvas& C) { C.SetPixelOffsetMode(5); },
        [](TVelkGPCanvas& C) { C.SetCompositingQuality(5); },
        [](TVelkGPCanvas& C) { C.SetTextContrast(13); },
        [](TVelkGPCanvas& C) { C.SetPageScale(0); },
        [](TVelkGPCanvas& C) { C.SetPageScale(std::numeric_limits<float>::infinity()); },
    };
    for (const auto& set : setters) {
        TVelkGPCanvas canvas;
        EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { set(canvas); }), u"Invalid Parameter for GDI+ function"_qs);
        EXPECT_EQ(canvas.SmoothingMode(), 0);
        EXPECT_EQ(canvas.InterpolationMode(), 0);
        EXPECT_EQ(canvas.PixelOffsetMode(), 0);
        EXPECT_EQ(canvas.CompositingQuality(), 0);
        EXPECT_EQ(canvas.TextContrast(), 0);
        EXPECT_EQ(canvas.PageScale(), 1);
    }
}

TEST_F(Canvas, TrySmoothingModeReportsInsteadOfRaising)
{
    TVelkGPCanvas canvas;
    EXPECT_TRUE(canvas.TrySmoothingMode(2));
    EXPECT_EQ(canvas.SmoothingMode(), 2);
    EXPECT_FALSE(canvas.TrySmoothingMode(99));
    EXPECT_EQ(canvas.SmoothingMode(), 2);
    EXPECT_TRUE(canvas.Handle().testRenderHint(QPainter::Antialiasing));

    // No painter can be opened on a null image.
    QImage null;
    TVelkGPCanvas nowhere(null);
    EXPECT_FALSE(nowhere.TrySmoothingMode(2));
    EXPECT_EQ(nowhere.SmoothingMode(), 0);
    EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { nowhere.Handle(); }), u"Invalid Parameter for GDI+ function"_qs);
}

TEST_F(Canvas, MatrixAndPageScaleTransformTheDrawing)
{
    QImage image = WhiteImage();
    TVelkGPCanvas canvas(image);
    canvas.Fill().SetColor(Red);
    canvas.SetMatrix(CreateTranslationMatrix(6, 0));
    canvas.Handle();
    canvas.SetMatrix(CreateTranslationMatrix(1, 2)); // replaces, never composes
    canvas.SetPageScale(2);                          // then the page scale
    canvas.FillRect(TRectF{0, 0, 1, 1}, 1);
    EXPECT_EQ(image.pixel(2, 4), 0xFFFF0000);
    EXPECT_EQ(image.pixel(3, 5), 0xFFFF0000);
    EXPECT_EQ(image.pixel(4, 6), White);
    EXPECT_EQ(image.pixel(1, 3), White);
}

TEST_F(Canvas, ClearFillsInsideTheClipReplacingPixels)
{
    QImage image = WhiteImage();
    {
        TVelkGPCanvas canvas(image);
        canvas.SetMatrix(CreateScalingMatrix(3, 3)); // Clear ignores the transform
        canvas.SetClipArea(TVelkGPRegionArea::FromRect({0, 0, 6, 12}));
        canvas.Clear(0x80FF0000);
    }
    const auto raw = [&](int X, int Y) { return reinterpret_cast<const QRgb*>(image.constScanLine(Y))[X]; };
    EXPECT_EQ(raw(1, 1), 0x80800000u); // premultiplied, not blended with the white
    EXPECT_EQ(raw(5, 11), 0x80800000u);
    EXPECT_EQ(raw(6, 1), White);
}

TEST_F(Canvas, DrawsOnABackendImage)
{
    TVelkGPBitmap bitmap(6, 6);
    {
        TVelkGPCanvas canvas(bitmap);
        canvas.Fill().SetColor(Blue);
        canvas.FillRect(TRectF{0, 0, 3, 6}, 1);
    }
    EXPECT_EQ(bitmap.Pixels(1, 1), Blue);
    EXPECT_EQ(bitmap.Pixels(4, 1), 0u);

    TVelkGPImage empty;
    EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { TVelkGPCanvas canvas(empty); }),
              u"Invalid Parameter for GDI+ function"_qs);
}

TEST_F(Canvas, PlatformPainterTransformIsTheBase)
{
    QImage image = WhiteImage();
    QPainter painter(&image);
    painter.scale(2, 2); // as a widget painter scaled for a high-density screen
    painter.setBrush(QColor(0, 0, 255));
    painter.setPen(QPen(QColor(0, 255, 0), 3));
    {
        TVelkGPCanvas canvas(painter);
        EXPECT_EQ(canvas.Brush().Color(), Blue);
        EXPECT_EQ(canvas.Pen().Color(), 0xFF00FF00u);
        EXPECT_EQ(canvas.Pen().Thickness(), 3);
        canvas.SetMatrix(CreateTranslationMatrix(1, 0));
        canvas.SetClipArea(TVelkGPRegionArea::FromRect({0, 0, 3, 6})); // device space = the painter's base
        canvas.FillRect(TRectF{0, 0, 4, 4}, 1);
    }
    // Drawn at x 1 ... 3 (clipped) under the painter's scale: device pixels 2 ... 5.
    EXPECT_EQ(image.pixel(1, 1), White);
    EXPECT_EQ(image.pixel(2, 1), 0xFF0000FF);
    EXPECT_EQ(image.pixel(5, 7), 0xFF0000FF);
    EXPECT_EQ(image.pixel(6, 1), White);
    EXPECT_EQ(image.pixel(2, 8), White);
    // The painter got its own state back.
    EXPECT_EQ(painter.worldTransform(), QTransform::fromScale(2, 2));
    EXPECT_FALSE(painter.hasClipping());
}

TEST_F(Canvas, ScreenshotIsATransparentBitmapOfTheSize)
{
    TVelkGPCanvas canvas;
    const auto shot = canvas.MakeScreenshot(3, 4);
    EXPECT_EQ(shot->Width(), 3u);
    EXPECT_EQ(shot->Height(), 4u);
    EXPECT_EQ(shot->Pixels(2, 3), 0u);
    EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { canvas.MakeScreenshot(100000, 100000); }),
              u"Out Of Memory in GDI+ layer"_qs);
    EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { canvas.MakeScreenshot(-1, 4); }),
              u"Invalid Parameter for GDI+ function"_qs);
}

TEST_F(Canvas, BackendPathFromPathData)
{
    TVelkGPCanvas canvas;
    TVelkPathData data;
    data.MoveTo({1, 2});
    data.LineTo({5, 2});
    const auto path = canvas.VelkGPPath(data);
    EXPECT_EQ(path->Owner(), &canvas);
    EXPECT_EQ(path->Count(), 2);
}

TEST_F(Canvas, PixelOperationsAreRefused)
{
    TVelkGPCanvas canvas;
    const std::function<void()> operations[] = {
        [&] { canvas.GetPixel(0, 0); },
        [&] { canvas.SetPixel(0, 0, Qt::red); },
        [&] { canvas.FloodFill(0, 0, Qt::red, fsSurface); },
        [&] { canvas.GetCanvasOrientation(); },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(testing::MessageOf<EInvalidOperation>(operation), u"Invalid canvas operation"_qs);
}

TEST_F(Canvas, UnsupportedRasterOperationsDrawNothing)
{
    QImage image = WhiteImage();
    const QImage before = image;
    TVelkGPCanvas canvas(image);
    canvas.Fill().SetColor(Red);
    canvas.Arc(0, 0, 10, 10, 0, 5, 10, 5);
    canvas.ArcTo(0, 0, 10, 10, 0, 5, 10, 5);
    canvas.AngleArc(5, 5, 4, 0, 90);
    canvas.Chord(0, 0, 10, 10, 0, 5, 10, 5);
    canvas.Pie(0, 0, 10, 10, 0, 5, 10, 5);
    canvas.RoundRect(0, 0, 10, 10, 2, 2);
    canvas.BrushCopy({0, 0, 5, 5}, before, {0, 0, 5, 5}, Qt::red);
    canvas.StretchDraw({0, 0, 5, 5}, before);
    TRect rect{0, 0, 10, 10};
    QString text = u"x"_qs;
    canvas.TextRect(rect, text);
    canvas.Refresh();
    EXPECT_EQ(image, before);
}

// The platform-canvas shapes, probed on a 12 x 12 image with a red fill and a blue
// stroke two pixels wide (so aliased edges cover whole pixels).
TEST_F(Canvas, CompatibilityShapes)
{
    struct Probe {
        int X, Y;
        QRgb Color;
    };
    struct Case {
        const char* Name;
        std::function<void(TVelkGPCanvas&)> Draw;
        std::vector<Probe> Probes;
    };
    constexpr QRgb R = 0xFFFF0000, B = 0xFF0000FF;
    const Case cases[] = {
        {"Rectangle", [](TVelkGPCanvas& C) { C.Rectangle(2, 2, 9, 9); }, {{5, 5, R}, {1, 5, B}, {2, 5, B}, {0, 5, White}}},
        {"FillRect", [](TVelkGPCanvas& C) { C.FillRect(TRect{2, 2, 9, 9}); }, {{5, 5, R}, {2, 2, R}, {1, 5, White}}},
        {"Ellipse", [](TVelkGPCanvas& C) { C.Ellipse(1, 1, 11, 11); }, {{6, 6, R}, {0, 0, White}, {1, 6, B}}},
        {"LineTo",
         [](TVelkGPCanvas& C) {
             C.MoveTo(0, 5);
             C.LineTo(12, 5);
         },
         {{6, 4, B}, {6, 5, B}, {6, 7, White}}},
        {"Polygon", [](TVelkGPCanvas& C) { C.Polygon({{2, 2}, {9, 2}, {9, 9}, {2, 9}}); },
         {{2, 5, B}, {9, 5, B}, {5, 5, White}}},
        {"Polyline", [](TVelkGPCanvas& C) { C.Polyline({{2, 2}, {9, 2}, {9, 9}, {2, 9}}); },
         {{2, 5, White}, {9, 5, B}, {5, 9, B}}},
        {"PolyBezier", [](TVelkGPCanvas& C) { C.PolyBezier({{0, 5}, {4, 5}, {8, 5}, {12, 5}}); },
         {{6, 5, B}, {6, 7, White}}},
        {"PolyBezierTo relative", [](TVelkGPCanvas& C) { C.PolyBezierTo({{0, 5}, {4, 0}, {8, 0}, {12, 0}}); },
         {{6, 5, B}, {6, 7, White}}},
        {"PolyBezier, three points", [](TVelkGPCanvas& C) { C.PolyBezier({{0, 5}, {6, 5}, {12, 5}}); },
         {{6, 5, White}, {0, 5, White}}},
        {"Polygon, no points", [](TVelkGPCanvas& C) { C.Polygon({}); }, {{6, 6, White}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QImage image = WhiteImage();
        {
            TVelkGPCanvas canvas(image);
            canvas.Fill().SetColor(Red);
            canvas.Stroke().SetColor(Blue);
            canvas.Stroke().SetThickness(2);
            c.Draw(canvas);
        }
        for (const Probe& p : c.Probes)
            EXPECT_EQ(image.pixel(p.X, p.Y), p.Color) << "at " << p.X << ", " << p.Y;
    }
}

TEST_F(Canvas, FrameRectOutlinesThePixelRectangle)
{
    QImage image = WhiteImage();
    TVelkGPCanvas canvas(image);
    canvas.Stroke().SetColor(Blue);
    canvas.FrameRect({2, 2, 9, 9});
    EXPECT_EQ(image.pixel(2, 5), 0xFF0000FF);
    EXPECT_EQ(image.pixel(8, 5), 0xFF0000FF);
    EXPECT_EQ(image.pixel(5, 5), White);
    EXPECT_EQ(image.pixel(9, 5), White);

    // Nothing without a fill, as the platform canvas frames with its brush.
    QImage untouched = WhiteImage();
    TVelkGPCanvas other(untouched);
    other.Fill().SetKind(bkNone);
    other.FrameRect({2, 2, 9, 9});
    EXPECT_EQ(untouched.pixel(2, 5), White);
}

TEST_F(Canvas, PenPositionFollowsLineTo)
{
    TVelkGPCanvas canvas;
    canvas.MoveTo(3, 4);
    EXPECT_EQ(canvas.PenPos(), (TPoint{3, 4}));
    canvas.LineTo(7, 8);
    EXPECT_EQ(canvas.PenPos(), (TPoint{7, 8}));
    canvas.SetPenPos({1, 1});
    EXPECT_EQ(canvas.PenPos(), (TPoint{1, 1}));
}

} // namespace
} // namespace velk

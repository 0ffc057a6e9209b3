#include "graphics/custom_line_cap.h"

#include "graphics/backend_path.h"
#include "graphics/canvas.h"
#include "graphics/pen.h"
#include "tests/graphics/stroke_rendering.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>

using namespace velk;
using velk::testing::Alpha;
using velk::testing::CompareWithReference;
using velk::testing::Line;
using velk::testing::Render;

namespace {

class CustomLineCapTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// An arrow head in cap space: its base one unit behind the line's end, its tip one
// unit beyond.
const QString Arrow = u"M -1 -1 L 1 -1 L 0 1 Z"_qs;

} // namespace

TEST_F(CustomLineCapTest, DefaultsAndValidity)
{
    TVelkGPCustomLineCap cap;
    EXPECT_EQ(cap.BaseCap(), lcFlat);
    EXPECT_EQ(cap.BaseInset(), 0);
    EXPECT_EQ(cap.WidthScale(), 1);
    EXPECT_EQ(cap.Join(), sjMiter);
    EXPECT_EQ(cap.StartCap(), lcFlat);
    EXPECT_EQ(cap.EndCap(), lcFlat);
    EXPECT_FALSE(cap.UsePathAsFill());
    EXPECT_EQ(cap.PathData(), QString());
    EXPECT_FALSE(cap.HasPath());
    EXPECT_FALSE(cap.IsValid());

    // Text alone makes it valid; the path is created on first read and loaded from it.
    cap.SetPathData(Arrow);
    EXPECT_TRUE(cap.IsValid());
    EXPECT_FALSE(cap.HasPath());
    EXPECT_EQ(cap.Path().Count(), 3);
    EXPECT_TRUE(cap.IsValid());
    // An existing path without points is not.
    cap.Path().Clear();
    EXPECT_FALSE(cap.IsValid());
}

TEST_F(CustomLineCapTest, PathDataIsThePathsTextOnceThePathExists)
{
    TVelkGPCustomLineCap cap;
    cap.SetPathData(u"M 0 0 L 1 1"_qs);
    EXPECT_EQ(cap.PathData(), u"M 0 0 L 1 1"_qs); // stored as given
    TVelkGPPath& path = cap.Path();
    EXPECT_EQ(cap.PathData(), path.GetData());
    int events = 0;
    cap.OnChange = [&events](TObject*) { ++events; };
    cap.SetPathData(Arrow);
    EXPECT_EQ(path.Count(), 3);
    EXPECT_EQ(events, 1);
    cap.SetPathData(cap.PathData()); // the stored text
    EXPECT_EQ(events, 1);
    // A change of the path is a change of the cap.
    path.LineTo({5, 5});
    EXPECT_EQ(events, 2);
}

TEST_F(CustomLineCapTest, SettersReportAChangeOnceAndNothingForTheStoredValue)
{
    const std::pair<const char*, std::function<void(TVelkGPCustomLineCap&)>> setters[] = {
        {"BaseCap", [](TVelkGPCustomLineCap& c) { c.SetBaseCap(lcRound); }},
        {"BaseInset", [](TVelkGPCustomLineCap& c) { c.SetBaseInset(0.5f); }},
        {"WidthScale", [](TVelkGPCustomLineCap& c) { c.SetWidthScale(2); }},
        {"Join", [](TVelkGPCustomLineCap& c) { c.SetJoin(sjRound); }},
        {"StartCap", [](TVelkGPCustomLineCap& c) { c.SetStartCap(lcSquare); }},
        {"EndCap", [](TVelkGPCustomLineCap& c) { c.SetEndCap(lcTriangle); }},
        {"UsePathAsFill", [](TVelkGPCustomLineCap& c) { c.SetUsePathAsFill(true); }},
        {"PathData", [](TVelkGPCustomLineCap& c) { c.SetPathData(Arrow); }},
    };
    for (const auto& [name, set] : setters) {
        TVelkGPCustomLineCap cap;
        int events = 0;
        cap.OnChange = [&events](TObject*) { ++events; };
        set(cap);
        EXPECT_EQ(events, 1) << name;
        set(cap);
        EXPECT_EQ(events, 1) << name;
    }
}

TEST_F(CustomLineCapTest, AssignCopiesEverySettingAndThePath)
{
    TVelkGPCanvas canvas;
    TVelkGPCustomLineCap source(&canvas);
    source.SetBaseCap(lcTriangle);
    source.SetBaseInset(0.5f);
    source.SetWidthScale(2);
    source.SetJoin(sjBevel);
    source.SetStartCap(lcRound);
    source.SetEndCap(lcSquare);
    source.SetUsePathAsFill(true);
    source.Path().AddRectangle(TRectF{-1, -1, 1, 1});

    TVelkGPCustomLineCap cap;
    cap.SetPathData(Arrow);
    cap.Path(); // an own path to replace
    int events = 0;
    cap.OnChange = [&events](TObject*) { ++events; };
    cap.Assign(&source);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(cap.BaseCap(), lcTriangle);
    EXPECT_EQ(cap.BaseInset(), 0.5f);
    EXPECT_EQ(cap.WidthScale(), 2);
    EXPECT_EQ(cap.Join(), sjBevel);
    EXPECT_EQ(cap.StartCap(), lcRound);
    EXPECT_EQ(cap.EndCap(), lcSquare);
    EXPECT_TRUE(cap.UsePathAsFill());
    EXPECT_EQ(cap.Path().GetPathData(), source.Path().GetPathData());
    EXPECT_EQ(cap.PathData(), source.PathData());

    // From a cap that has only text.
    TVelkGPCustomLineCap textOnly;
    textOnly.SetPathData(u"M 0 0 L 0 1"_qs);
    cap.Assign(&textOnly);
    EXPECT_EQ(cap.Path().Count(), 2);
    const auto clone = cap.CloneAs<TVelkGPCustomLineCap>();
    EXPECT_EQ(clone->PathData(), cap.PathData());
}

TEST_F(CustomLineCapTest, AFilledCapIsScaledAndTurnedToTheLine)
{
    // Width 4, WidthScale 2: one cap unit is 8. The line runs right to (40, 32): the
    // arrow's base lies at x = 32 (±8 across), its tip at 48.
    TVelkGPPen pen;
    pen.SetThickness(4);
    pen.SetEndCap(lcCustom);
    pen.CustomEndCap().SetPathData(Arrow);
    pen.CustomEndCap().SetWidthScale(2);
    pen.CustomEndCap().SetUsePathAsFill(true);
    const QImage image = Render(pen, Line({8, 32}, {40, 32}));
    EXPECT_EQ(Alpha(image, 34, 36), 255); // inside the head, beyond the line's width
    EXPECT_EQ(Alpha(image, 45, 32), 255); // towards the tip
    EXPECT_EQ(Alpha(image, 48, 32), 0);   // beyond the tip
    EXPECT_EQ(Alpha(image, 30, 38), 0);   // behind the base
    EXPECT_EQ(Alpha(image, 8, 32), 255);  // the start stays flat
    EXPECT_EQ(Alpha(image, 7, 32), 0);

    // At the start the head points backwards.
    TVelkGPPen start;
    start.SetThickness(4);
    start.SetStartCap(lcCustom);
    start.CustomStartCap().Assign(&pen.CustomEndCap());
    const QImage reversed = Render(start, Line({40, 32}, {8, 32}));
    EXPECT_EQ(Alpha(reversed, 34, 36), 255);
    EXPECT_EQ(Alpha(reversed, 45, 32), 255);
    EXPECT_EQ(Alpha(reversed, 48, 32), 0);
}

TEST_F(CustomLineCapTest, AStrokedCapIsOutlinedAndTheBaseInsetShortensTheLine)
{
    // WidthScale 3: the head's base at x = 28 (±12), its tip at 52; stroked with width 4.
    for (float inset : {0.0f, 1.0f}) {
        TVelkGPPen pen;
        pen.SetThickness(4);
        pen.SetEndCap(lcCustom);
        TVelkGPCustomLineCap& cap = pen.CustomEndCap();
        cap.SetPathData(Arrow);
        cap.SetWidthScale(3);
        cap.SetBaseInset(inset);
        const QImage image = Render(pen, Line({4, 32}, {40, 32}));
        EXPECT_EQ(Alpha(image, 28, 40), 255) << inset; // on the base edge
        EXPECT_EQ(Alpha(image, 34, 37), 0) << inset;   // inside the head
        // Inside the head on the line: drawn only while the line runs on to its end.
        EXPECT_EQ(Alpha(image, 34, 32), inset == 0 ? 255 : 0) << inset;
    }
}

TEST_F(CustomLineCapTest, AnInvalidCustomCapEndsTheLineFlat)
{
    TVelkGPPen pen;
    pen.SetThickness(4);
    pen.SetEndCap(lcCustom);
    const QImage image = Render(pen, Line({8, 32}, {40, 32}));
    EXPECT_EQ(Alpha(image, 39, 32), 255);
    EXPECT_EQ(Alpha(image, 40, 32), 0);
}

TEST_F(CustomLineCapTest, CapsAlongADiagonalAndACurve)
{
    TVelkGPPen pen;
    pen.SetThickness(2);
    pen.SetStartCap(lcCustom);
    pen.SetEndCap(lcCustom);
    TVelkGPCustomLineCap& filled = pen.CustomEndCap();
    filled.SetPathData(Arrow);
    filled.SetWidthScale(2);
    filled.SetBaseInset(1);
    filled.SetUsePathAsFill(true);
    // A stroked open V at the start, with round caps and joins.
    TVelkGPCustomLineCap& stroked = pen.CustomStartCap();
    stroked.SetPathData(u"M -1.5 -1 L 0 1 L 1.5 -1"_qs);
    stroked.SetWidthScale(2);
    stroked.SetJoin(sjRound);
    stroked.SetStartCap(lcRound);
    stroked.SetEndCap(lcRound);
    QPainterPath path;
    path.moveTo(10, 54);
    path.cubicTo(10, 20, 40, 50, 54, 12);
    EXPECT_TRUE(CompareWithReference(Render(pen, path), u"graphics/custom_line_caps.png"_qs, 2));
}

#include "graphics/backend_path.h"

#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/path_data.h"
#include "graphics/pen.h"
#include "graphics/position.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace velk {
namespace {

using testing::CompareWithReference;
using testing::EnsureGuiApplication;
using testing::MessageOf;
using TKind = TVelkGPPathPointKind;

constexpr std::uint8_t S = TKind::TypeStart;
constexpr std::uint8_t L = TKind::TypeLine;
constexpr std::uint8_t B = TKind::TypeBezier;
constexpr std::uint8_t Z = TKind::CloseBit;

TVelkGPPathData Data(std::initializer_list<std::pair<std::uint8_t, TPointF>> Points)
{
    TVelkGPPathData result;
    for (const auto& [kind, point] : Points) {
        result.Points.append(point);
        result.Kinds.append(TKind{kind});
    }
    return result;
}

void ExpectNear(const TPointF& Actual, const TPointF& Expected, float Tolerance = 1e-3f)
{
    EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
    EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
}

void ExpectRectNear(const TRectF& Actual, const TRectF& Expected, float Tolerance = 1e-3f)
{
    EXPECT_NEAR(Actual.Left, Expected.Left, Tolerance);
    EXPECT_NEAR(Actual.Top, Expected.Top, Tolerance);
    EXPECT_NEAR(Actual.Right, Expected.Right, Tolerance);
    EXPECT_NEAR(Actual.Bottom, Expected.Bottom, Tolerance);
}

QImage Fill(const TVelkGPPath& Path, int Width, int Height)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(Path.ToQPainterPath(), Qt::black);
    return image;
}

TEST(BackendPathPointKind, ReportsTypeAndFlags)
{
    struct Case {
        std::uint8_t Kind;
        std::uint8_t Type;
        int Flags;
    } cases[] = {
        {0x00, 0, 0}, {0x01, 1, 0}, {0x03, 3, 0}, {0x83, 3, 8}, {0x11, 1, 1}, {0x21, 1, 2}, {0xB1, 1, 11},
    };
    for (const Case& c : cases) {
        const TKind kind{c.Kind};
        EXPECT_EQ(kind.PointType(), c.Type) << int(c.Kind);
        EXPECT_EQ(kind.Flags(), c.Flags) << int(c.Kind);
    }
    EXPECT_TRUE(TKind{0x83}.IsClosed());
    EXPECT_TRUE(TKind{0x23}.IsBezier());
    EXPECT_TRUE(TKind{0x21}.IsMarker());
}

TEST(BackendPath, MoveThenCloseAddsNoPoint)
{
    TVelkGPPath path;
    path.MoveTo({5, 6}).ClosePath();
    EXPECT_EQ(path.Count(), 0);
    EXPECT_EQ(path.LastPoint(), (TPointF{5, 6}));
    EXPECT_EQ(path.GetBounds(), TRectF{});
}

TEST(BackendPath, FiguresFromCommands)
{
    TVelkGPPath path;
    path.MoveTo({0, 0}).LineTo({10, 0}).LineTo(10, 10).ClosePath();
    // Closing returns to the figure's start; the next line begins a figure there.
    EXPECT_EQ(path.LastPoint(), (TPointF{0, 0}));
    path.LineToRel({5, 5}).HLineTo(20).VLineToRel(-5).CurveToRel({1, 0}, {2, 0}, {3, 1});
    EXPECT_EQ(path.GetPathData(), Data({{S, {0, 0}}, {L, {10, 0}}, {L | Z, {10, 10}}, {S, {0, 0}}, {L, {5, 5}},
                                        {L, {20, 5}}, {L, {20, 0}}, {B, {21, 0}}, {B, {22, 0}}, {B, {23, 1}}}));
    EXPECT_EQ(path.LastPoint(), (TPointF{23, 1}));

    // A segment that does not start where the figure ends is joined by a line.
    TVelkGPPath joined;
    joined.AddLine({0, 0}, {1, 0}).AddLine({1, 0}, {2, 0}).AddLine({3, 3}, {4, 4});
    EXPECT_EQ(joined.GetPathData(), Data({{S, {0, 0}}, {L, {1, 0}}, {L, {2, 0}}, {L, {3, 3}}, {L, {4, 4}}}));
    joined.StartPath().AddBezier({9, 9}, {9, 8}, {8, 8}, {8, 9});
    EXPECT_EQ(joined.Points(5), (TVelkGPPathPoint{TKind{S}, {9, 9}}));
}

TEST(BackendPath, SmoothCurveReflectsThePointBeforeTheLast)
{
    TVelkGPPath path;
    // Fewer than 3 points: the first control is C2 itself.
    path.MoveTo({0, 0}).SmoothCurveTo({4, 4}, {8, 0});
    EXPECT_EQ(path.Points(1).Point, (TPointF{4, 4}));
    // Now the point before the last, (4, 4), is reflected through (8, 0).
    path.SmoothCurveTo({14, 2}, {16, 0});
    EXPECT_EQ(path.Points(4).Point, (TPointF{12, -4}));
    // Relative: C2 and E from the current point, the first control still reflected.
    path.SmoothCurveToRel({2, 2}, {4, 0});
    EXPECT_EQ(path.Points(7).Point, (TPointF{18, -2}));
    EXPECT_EQ(path.Points(8).Point, (TPointF{18, 2}));
    EXPECT_EQ(path.LastPoint(), (TPointF{20, 0}));
}

TEST(BackendPath, RoundedRectangleHasCircularCorners)
{
    TVelkGPPath path;
    path.AddRectangle({0, 0, 100, 50}, 10, 5, AllCorners, ctRound);
    // Move to (0, 5), then the top-left corner's curve to (10, 0).
    EXPECT_EQ(path.Points(0), (TVelkGPPathPoint{TKind{S}, {0, 5}}));
    ExpectNear(path.Points(1).Point, {0, 2.2386f});
    ExpectNear(path.Points(2).Point, {4.4772f, 0});
    EXPECT_EQ(path.Points(3), (TVelkGPPathPoint{TKind{B}, {10, 0}}));
    EXPECT_TRUE(path.Kinds().last().IsClosed());
    ExpectRectNear(path.GetBounds(), {0, 0, 100, 50});

    // Radii beyond half the sides are limited to them.
    TVelkGPPath limited;
    limited.AddRectangle({0, 0, 20, 10}, 50, 50, AllCorners, ctBevel);
    EXPECT_EQ(limited.GetPathData(), Data({{S, {0, 5}}, {L, {10, 0}}, {L, {10, 0}}, {L, {20, 5}}, {L, {20, 5}},
                                           {L, {10, 10}}, {L, {10, 10}}, {L | Z, {0, 5}}}));
}

TEST(BackendPath, EllipseStartsAtTheRightAndTurnsClockwise)
{
    TVelkGPPath path;
    path.AddEllipse({0, 0, 200, 100});
    ASSERT_EQ(path.Count(), 13);
    EXPECT_EQ(path.Points(0).Kind, TKind{S});
    ExpectNear(path.Points(0).Point, {200, 50});
    ExpectNear(path.Points(3).Point, {100, 100});
    ExpectNear(path.Points(6).Point, {0, 50});
    ExpectNear(path.Points(9).Point, {100, 0});
    EXPECT_EQ(path.Points(12).Kind, TKind{B | Z});
    // Bounds follow the curve, not its control points.
    ExpectRectNear(path.GetBounds(), {0, 0, 200, 100});
}

TEST(BackendPath, ArcAnglesAreMeasuredOnTheEllipse)
{
    // On a 200 x 100 ellipse the direction of 45 degrees meets it where x = y.
    const float d = 1 / std::sqrt(1.0f / 10000 + 1.0f / 2500);
    TVelkGPPath path;
    path.AddArc(0, 0, 200, 100, 45, 90);
    EXPECT_EQ(path.Points(0).Kind, TKind{S});
    ExpectNear(path.Points(0).Point, {100 + d, 50 + d});
    ExpectNear(path.LastPoint(), {100 - d, 50 + d});
    ExpectNear(path.Points(path.Count() - 1).Point, path.LastPoint());

    // A pie: the centre, a line to the arc, the arc, closed.
    TVelkGPPath pie;
    pie.AddPie(0, 0, 100, 100, 0, 90);
    EXPECT_EQ(pie.GetPathData().Kinds.first(), TKind{S});
    ExpectNear(pie.Points(0).Point, {50, 50});
    EXPECT_EQ(pie.Points(1).Kind, TKind{L});
    ExpectNear(pie.Points(1).Point, {100, 50});
    ExpectNear(pie.Points(pie.Count() - 1).Point, {50, 100});
    EXPECT_TRUE(pie.Kinds().last().IsClosed());
}

TEST(BackendPath, PolygonsAndRectanglesAreClosedFigures)
{
    TVelkGPPath path;
    path.AddPolygon({{0, 0}, {1, 1}}); // too few points
    EXPECT_EQ(path.Count(), 0);
    path.AddPolygon({{0, 0}, {4, 0}, {0, 3}}).AddRectangle({1, 2, 3, 4});
    EXPECT_EQ(path.GetPathData(), Data({{S, {0, 0}}, {L, {4, 0}}, {L | Z, {0, 3}}, {S, {1, 2}}, {L, {3, 2}},
                                        {L, {3, 4}}, {L | Z, {1, 4}}}));
}

TEST(BackendPath, BoundsAreTightAroundCurves)
{
    TVelkGPPath path;
    path.MoveTo({0, 0}).CurveTo({0, 100}, {100, 100}, {100, 0});
    ExpectRectNear(path.GetBounds(), {0, 0, 100, 75});
    // A straight line has a zero side.
    TVelkGPPath line;
    line.AddLine({10, 5}, {30, 5});
    ExpectRectNear(line.GetBounds(), {10, 5, 30, 5});
}

TEST(BackendPath, FlattenKeepsWithinTheTolerance)
{
    TVelkGPPath path;
    path.AddEllipse({-100, -100, 100, 100});
    path.AddMarker();
    path.Flatten(0.25f);
    ASSERT_GT(path.Count(), 13);
    for (int i = 1; i < path.Count(); ++i) {
        const TVelkGPPathPoint p = path.Points(i);
        EXPECT_TRUE(p.Kind.IsLine());
        // The chord's middle stays within the tolerance of the circle (the Béziers
        // themselves are within 0.03 of it).
        const TPointF a = path.Points(i - 1).Point;
        const double middle = std::hypot((a.X + p.Point.X) / 2.0, (a.Y + p.Point.Y) / 2.0);
        EXPECT_GT(middle, 100 - 0.25 - 0.03);
    }
    // The end point keeps its close flag and marker.
    EXPECT_EQ(path.Kinds().last(), TKind{L | Z | TKind::MarkerBit});

    // A finer tolerance takes more lines; a hostile curve cannot take unbounded ones.
    TVelkGPPath fine;
    fine.AddEllipse({-100, -100, 100, 100}).Flatten(0.01f);
    EXPECT_GT(fine.Count(), path.Count());
    TVelkGPPath huge;
    huge.AddBezier({0, 0}, {1e30f, 1e30f}, {-1e30f, 1e30f}, {0, 0}).Flatten(1e-6f);
    EXPECT_LE(huge.Count(), TVelkPathData::MaxFlattenSegments + 1);
}

TEST(BackendPath, ReverseWalksFiguresBackwards)
{
    TVelkGPPath path;
    path.SetPathData(Data({{S, {0, 0}}, {L, {1, 0}}, {B, {2, 0}}, {B, {3, 1}}, {B | Z, {3, 3}}, {S, {9, 9}},
                           {L | TKind::MarkerBit, {8, 8}}}));
    path.Reverse();
    EXPECT_EQ(path.GetPathData(), Data({{S | TKind::MarkerBit, {8, 8}}, {L, {9, 9}}, {S, {3, 3}}, {B, {3, 1}},
                                        {B, {2, 0}}, {B, {1, 0}}, {L | Z, {0, 0}}}));
}

TEST(BackendPath, TransformsMoveEveryPoint)
{
    TVelkGPPath path;
    path.AddRectangle({1, 1, 3, 2});
    path.Translate(1, 2).Scale(2, 3);
    ExpectRectNear(path.GetBounds(), {4, 9, 8, 12});
    path.FitToRect({0, 0, 10, 20});
    ExpectRectNear(path.GetBounds(), {0, 0, 10, 20});
    path.ApplyMatrix(CreateRotationMatrix(std::numbers::pi_v<float> / 2));
    ExpectRectNear(path.GetBounds(), {-20, 0, 0, 10});

    // A path without area has no fit.
    TVelkGPPath line;
    line.AddLine({0, 0}, {5, 0}).FitToRect({0, 0, 1, 1});
    ExpectNear(line.LastPoint(), {5, 0});
}

TEST(BackendPath, PathDataIsValidatedWhole)
{
    const TVelkGPPathData good = Data({{S, {0, 0}}, {B, {1, 0}}, {B, {1, 1}}, {B | Z, {0, 1}}, {S, {5, 5}}});
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* Name;
        TVelkGPPathData Data;
    } cases[] = {
        {"starts with a line", Data({{L, {0, 0}}, {L, {1, 1}}})},
        {"unknown type", Data({{S, {0, 0}}, {2, {1, 1}}})},
        {"unknown flag bit", Data({{S, {0, 0}}, {L | 0x08, {1, 1}}})},
        {"two Bézier points", Data({{S, {0, 0}}, {B, {1, 0}}, {B, {1, 1}}, {L, {0, 1}}})},
        {"closed inside a Bézier", Data({{S, {0, 0}}, {B | Z, {1, 0}}, {B, {1, 1}}, {B, {0, 1}}})},
        {"Bézier cut short", Data({{S, {0, 0}}, {B, {1, 0}}})},
        {"no start after a close", Data({{S, {0, 0}}, {L | Z, {1, 0}}, {L, {1, 1}}})},
        {"not finite", Data({{S, {0, 0}}, {L, {nan, 1}}})},
        {"lengths differ", TVelkGPPathData{{{0, 0}, {1, 1}}, {TKind{S}}}},
    };
    for (const Case& c : cases) {
        TVelkGPPath path;
        path.SetPathData(good);
        EXPECT_EQ(MessageOf<EGDIPException>([&] { path.SetPathData(c.Data); }),
                  u"Invalid Parameter for GDI+ function"_qs)
            << c.Name;
        EXPECT_EQ(path.GetPathData(), good) << c.Name;
    }
    TVelkGPPath path;
    path.SetPathData(good);
    EXPECT_EQ(path.LastPoint(), (TPointF{5, 5}));
    // The open figure at the end continues.
    path.LineTo({6, 5});
    EXPECT_EQ(path.Kinds().last(), TKind{L});
    path.SetPathData({});
    EXPECT_EQ(path.Count(), 0);
}

TEST(BackendPath, PointsAreEnumeratedAndRangeChecked)
{
    TVelkGPPath path;
    path.AddPolygon({{0, 0}, {4, 0}, {0, 3}});
    int index = 0;
    for (const TVelkGPPathPoint& p : path)
        EXPECT_EQ(p, path.Points(index++));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(MessageOf<EListError>([&] { path.Points(3); }), u"List index out of bounds (3)"_qs);
    EXPECT_EQ(MessageOf<EListError>([&] { path.Points(-1); }), u"List index out of bounds (-1)"_qs);
}

TEST(BackendPath, ChangeEventsAndUpdateBrackets)
{
    TVelkGPPath path;
    int changes = 0;
    path.OnChange = [&](TObject*) { ++changes; };
    path.LineTo({1, 1});
    EXPECT_EQ(changes, 1);
    path.SetFillMode(fmEvenOdd); // the stored value
    path.MoveTo({3, 3});         // nothing added yet
    EXPECT_EQ(changes, 1);
    path.BeginUpdate();
    path.AddEllipse({0, 0, 5, 5}).SetFillMode(fmNonZero);
    path.BeginUpdate();
    path.Clear();
    path.EndUpdate();
    EXPECT_EQ(changes, 1);
    path.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(path.FillMode(), fmNonZero); // Clear keeps it
}

TEST(BackendPath, MarkersAreFlagsOfTheLastPoint)
{
    TVelkGPPath path;
    path.AddMarker(); // nothing to mark
    path.AddLine({0, 0}, {1, 0}).AddMarker().LineTo({2, 0});
    EXPECT_EQ(path.Points(1).Kind.Flags(), 2);
    path.ClearMarkers();
    EXPECT_EQ(path.Points(1).Kind, TKind{L});
}

TEST(BackendPath, QPainterPathFillRuleAndFigures)
{
    // Two nested squares of the same direction: a hole only under the even-odd rule.
    TVelkGPPath path;
    path.AddRectangle({2, 2, 18, 18}).AddRectangle({6, 6, 14, 14});
    EXPECT_EQ(path.ToQPainterPath().fillRule(), Qt::OddEvenFill);
    EXPECT_EQ(Fill(path, 20, 20).pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(Fill(path, 20, 20).pixel(4, 10), qRgb(0, 0, 0));
    path.SetFillMode(fmNonZero);
    EXPECT_EQ(path.Handle().fillRule(), Qt::WindingFill);
    EXPECT_EQ(Fill(path, 20, 20).pixel(10, 10), qRgb(0, 0, 0));

    // Closed figures close their subpath; open ones stay open.
    TVelkGPPath open;
    open.AddLine({0, 0}, {4, 0}).LineTo({4, 4});
    EXPECT_EQ(open.ToQPainterPath().elementCount(), 3);
    TVelkGPPath closed;
    closed.AddPolygon({{0, 0}, {4, 0}, {4, 4}});
    EXPECT_EQ(closed.ToQPainterPath().elementCount(), 4); // Qt closes with a line
}

TEST(BackendPath, ShapesRenderAsReviewed)
{
    TVelkGPPath path;
    path.SetFillMode(fmNonZero);
    path.AddRectangle({4, 4, 60, 28}, 10, 10, AllCorners, ctRound);
    path.AddPie(4, 32, 28, 28, -90, 270);
    path.AddEllipse({36, 36, 60, 56});
    EXPECT_TRUE(CompareWithReference(Fill(path, 64, 64), u"graphics/backend_path_shapes.png"_qs, 2));
}

TEST(BackendPath, AppendsQPainterPathsAsFigures)
{
    QPainterPath source;
    source.addRect(0, 0, 10, 5);     // back at its start by a line
    source.addEllipse(20, 0, 10, 10); // back at its start by a curve
    source.moveTo(40, 0);
    source.lineTo(50, 0); // open
    TVelkGPPath path;
    path.AddQPainterPath(source);
    EXPECT_EQ(path.Count(), 4 + 13 + 2);
    EXPECT_EQ(path.Points(3), (TVelkGPPathPoint{TKind{L | Z}, {0, 5}}));
    EXPECT_EQ(path.Points(16).Kind, TKind{B | Z});
    EXPECT_EQ(path.Points(17).Kind, TKind{S});
    EXPECT_FALSE(path.Kinds().last().IsClosed());
    // The next segment begins a figure of its own.
    path.LineTo({60, 0});
    EXPECT_EQ(path.Points(19).Kind, TKind{S});
}

TEST(BackendPath, AppendsPathsJoiningTheFirstFigureOnRequest)
{
    TVelkGPPath tail;
    tail.AddLine({5, 5}, {6, 6});
    TVelkGPPath path;
    path.AddLine({0, 0}, {1, 1}).AddPath(tail, false);
    EXPECT_EQ(path.Points(2).Kind, TKind{S});
    TVelkGPPath joined;
    joined.AddLine({0, 0}, {1, 1}).Append(tail, true);
    EXPECT_EQ(joined.Points(2).Kind, TKind{L});
    // Joining where the figures meet adds no point; appending to itself doubles.
    TVelkGPPath meeting;
    meeting.AddLine({0, 0}, {5, 5}).AddPath(tail, true);
    EXPECT_EQ(meeting.GetPathData(), Data({{S, {0, 0}}, {L, {5, 5}}, {L, {6, 6}}}));
    meeting.AddPath(meeting);
    EXPECT_EQ(meeting.Count(), 6);
}

TEST(BackendPath, AssignsPathDataReplayingItsEntries)
{
    TVelkPathData data;
    data.SetData(u"M0,0 L10,0 L10,10 Z L20,20 C20,30 30,30 30,20");
    data.SetFillMode(fmNonZero);
    TVelkGPPath path;
    path.Assign(&data);
    EXPECT_EQ(path.FillMode(), fmNonZero);
    // After the close the line starts at the closed figure's start, as in SVG.
    EXPECT_EQ(path.GetPathData(), Data({{S, {0, 0}}, {L, {10, 0}}, {L | Z, {10, 10}}, {S, {0, 0}}, {L, {20, 20}},
                                        {B, {20, 30}}, {B, {30, 30}}, {B, {30, 20}}}));

    TVelkPathData back;
    int changes = 0;
    back.OnChanged = [&](TObject*) { ++changes; };
    path.AssignTo(&back);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(back.FillMode(), fmNonZero);
    EXPECT_EQ(back.GetData(), u"M0,0 L10,0 L10,10 Z M0,0 L20,20 C20,30 30,30 30,20 "_qs);

    // Between backend paths: a copy; other sources are refused.
    TVelkGPPath copy;
    copy.Assign(&path);
    EXPECT_EQ(copy.GetPathData(), path.GetPathData());
    EXPECT_EQ(copy.FillMode(), fmNonZero);
    TVelkPosition position({0, 0});
    EXPECT_THROW(copy.Assign(&position), EConvertError);
}

TEST(BackendPath, OperationsThatNeedAnOwnerSaySo)
{
    TVelkGPPath path;
    path.AddRectangle({0, 0, 10, 10});
    const QString message = u"TVelkGPPath has no owner"_qs;
    EXPECT_EQ(MessageOf<EGDIPException>([&] { path.Widen(); }), message);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { path.Outline(); }), message);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { path.IsVisiblePathPoint({1, 1}); }), message);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { path.IsOutlineVisiblePathPoint({1, 1}); }), message);
    EXPECT_EQ(path.Count(), 4);
}

TEST(BackendPath, OutlivesItsCanvas)
{
    auto canvas = std::make_unique<TVelkGPCanvas>();
    TVelkGPPath path(canvas.get());
    path.AddRectangle({0, 0, 10, 10});
    canvas.reset();
    EXPECT_EQ(path.Owner(), nullptr);
    EXPECT_EQ(path.Count(), 4);
    EXPECT_TRUE(path.IsVisiblePathPoint({5, 5}, nullptr));
    EXPECT_EQ(MessageOf<EGDIPException>([&] { path.Widen(); }), u"TVelkGPPath has no owner"_qs);
}

TEST(BackendPath, HitTestsInDeviceCoordinates)
{
    TVelkGPCanvas canvas;
    TVelkGPPath path(&canvas);
    path.AddRectangle({0, 0, 10, 10});
    EXPECT_TRUE(path.IsVisiblePathPoint({5, 5}));
    EXPECT_FALSE(path.IsVisiblePathPoint({15, 5}));
    canvas.SetMatrix(CreateScalingMatrix(2, 2));
    EXPECT_TRUE(path.IsVisiblePathPoint({15, 5}));
    EXPECT_TRUE(path.IsVisiblePathPoint({5, 5}, nullptr));
    EXPECT_FALSE(path.IsVisiblePathPoint({15, 5}, nullptr));

    // The outline drawn with the pen, scaled by the canvas matrix as well.
    canvas.Pen().SetThickness(2);
    EXPECT_TRUE(path.IsOutlineVisiblePathPoint({21.5f, 10}));  // within 2 of x = 20
    EXPECT_FALSE(path.IsOutlineVisiblePathPoint({10, 10}));    // inside, away from it
    TVelkGPPen pen;
    pen.SetThickness(4);
    EXPECT_TRUE(path.IsOutlineVisiblePathPoint({11.5f, 5}, pen));
    EXPECT_FALSE(path.IsOutlineVisiblePathPoint({12.5f, 5}, pen));
    pen.SetKind(bkNone);
    EXPECT_FALSE(path.IsOutlineVisiblePathPoint({10, 5}, pen));
}

TEST(BackendPath, WidenAndOutlineUseTheOwnerCanvas)
{
    TVelkGPCanvas canvas;
    canvas.Pen().SetThickness(10);
    TVelkGPPath path(&canvas);
    path.AddLine({0, 50}, {100, 50});
    path.Widen();
    ExpectRectNear(path.GetBounds(), {0, 45, 100, 55});
    EXPECT_TRUE(path.Kinds().last().IsClosed());
    EXPECT_TRUE(path.IsVisiblePathPoint({50, 52}));

    // A figure crossing itself: the non-zero area, once, under either rule.
    TVelkGPPath star(&canvas);
    star.AddPolygon({{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    star.Outline();
    EXPECT_TRUE(star.IsVisiblePathPoint({50, 50}));
    star.SetFillMode(fmNonZero);
    EXPECT_TRUE(star.IsVisiblePathPoint({50, 50}));
    EXPECT_TRUE(std::all_of(star.Kinds().cbegin(), star.Kinds().cend(), [](TKind K) { return !K.IsBezier(); }));
}

TEST(BackendPath, CloneKeepsOrChangesTheOwner)
{
    TVelkGPCanvas canvas;
    TVelkGPCanvas other;
    TVelkGPPath path(&canvas);
    path.AddEllipse({0, 0, 4, 4}).SetFillMode(fmNonZero);
    const std::unique_ptr<TVelkGPPath> same = path.Clone(nullptr);
    const std::unique_ptr<TVelkGPPath> moved = path.Clone(&other);
    EXPECT_EQ(same->Owner(), &canvas);
    EXPECT_EQ(moved->Owner(), &other);
    EXPECT_EQ(moved->GetPathData(), path.GetPathData());
    EXPECT_EQ(moved->FillMode(), fmNonZero);
    EXPECT_EQ(path.CloneAs<TVelkGPPath>()->GetPathData(), path.GetPathData());
}

TEST(BackendPath, TextOutlinesSitInTheLayoutRectangle)
{
    EnsureGuiApplication();
    TVelkGPFont font;
    font.SetName(u"DejaVu Sans"_qs);
    font.SetSize(40);
    TVelkGPPath path;
    path.AddText(TRectF{10, 20, 210, 120}, u"Hi"_qs, font, nullptr);
    ASSERT_GT(path.Count(), 0);
    const TRectF bounds = path.GetBounds();
    EXPECT_GT(bounds.Left, 10);
    EXPECT_GT(bounds.Top, 20);
    EXPECT_LT(bounds.Bottom, 20 + 40 * 1.2f);
    EXPECT_TRUE(path.Kinds().last().IsClosed());
    // At a point: where the text measures, the same outlines.
    TVelkGPPath atPoint;
    atPoint.AddText(TPointF{10, 20}, u"Hi"_qs, font, nullptr);
    EXPECT_EQ(atPoint.GetPathData(), path.GetPathData());
}

} // namespace
} // namespace velk

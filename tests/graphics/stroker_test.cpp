#include "graphics/stroker.h"

#include "graphics/backend_path.h"

#include "tests/graphics/stroke_rendering.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

using namespace velk;
using velk::testing::Line;

namespace {

// Whether each point is covered, as a string of '#' and '.'.
std::string Coverage(const QPainterPath& Outline, std::initializer_list<QPointF> Points)
{
    std::string result;
    for (const QPointF& p : Points)
        result += Outline.contains(p) ? '#' : '.';
    return result;
}

} // namespace

TEST(Stroker, CapsOfEveryShapeReachWhereTheyShould)
{
    // A line from (0, 0) to (20, 0), width 4: probes beyond the end at x = 21 (within
    // a half width), 23 (within a width), 27 and at the corner (21, 1.9).
    struct TCase {
        TVelkGPLineCap Cap;
        const char* Expected;
    };
    const TCase cases[] = {
        {lcFlat, "....."},        {lcSquare, "##..#"},        {lcRound, "##..."},
        {lcTriangle, "##..."},    {lcNoAnchor, "....."},      {lcSquareAnchor, "###.#"},
        {lcRoundAnchor, "###.#"}, {lcDiamondAnchor, "###.#"}, {lcArrowAnchor, "....."},
        {lcCustom, "....."}, // without a custom cap: flat
    };
    for (const TCase& c : cases) {
        TVelkStrokeStyle style;
        style.Width = 4;
        style.EndCap = c.Cap;
        const QPainterPath outline = OutlineStroke(Line({0, 0}, {20, 0}), style, 0.1);
        EXPECT_EQ(Coverage(outline, {{21, 0}, {21.9, 0}, {23, 0.5}, {27, 0}, {21, 1.9}}), c.Expected)
            << EnumName(c.Cap).toStdString();
        // The start is untouched.
        EXPECT_FALSE(outline.contains(QPointF(-0.5, 0))) << EnumName(c.Cap).toStdString();
    }
}

TEST(Stroker, TriangleAndArrowCapsAreTriangles)
{
    TVelkStrokeStyle style;
    style.Width = 4;
    style.StartCap = lcArrowAnchor;
    style.EndCap = lcTriangle;
    const QPainterPath outline = OutlineStroke(Line({0, 0}, {20, 0}), style, 0.1);
    // Triangle: apex a half width beyond the end.
    EXPECT_EQ(Coverage(outline, {{21.9, 0}, {22.1, 0}, {21, 0.9}, {21, 1.1}}), "#.#.");
    // Arrow anchor: tip on the start, two widths long, 2 · 4 / √3 · 2 ≈ 9.24 wide at the
    // base, wider than the line.
    EXPECT_EQ(Coverage(outline, {{-0.1, 0}, {7.9, 4.5}, {7.9, -4.5}, {8.1, 4.5}, {1, 2.5}}), ".##..");
}

TEST(Stroker, OverlappingPiecesUniteUnderTheNonZeroRule)
{
    // Round anchors overlap the band and each other: no holes where they meet.
    TVelkStrokeStyle style;
    style.Width = 4;
    style.StartCap = lcRoundAnchor;
    style.EndCap = lcRoundAnchor;
    for (const QPainterPath& path : {Line({0, 0}, {3, 0}), Line({3, 0}, {0, 0})}) {
        const QPainterPath outline = OutlineStroke(path, style, 0.1);
        EXPECT_EQ(outline.fillRule(), Qt::WindingFill);
        EXPECT_EQ(Coverage(outline, {{0, 0}, {1.5, 0}, {3, 0}, {1.5, 1.9}, {-3.9, 0}, {6.9, 0}}), "######");
    }
}

TEST(Stroker, ClosedFiguresHaveNoCaps)
{
    QPainterPath square;
    square.addRect(0, 0, 20, 20);
    TVelkStrokeStyle style;
    style.Width = 2;
    style.StartCap = style.EndCap = lcRoundAnchor;
    const QPainterPath outline = OutlineStroke(square, style, 0.1);
    EXPECT_EQ(Coverage(outline, {{0, 10}, {20, 10}, {10, 0.9}, {10, 10}, {0, -1.5}, {-1.5, 0}}), "###...");
}

TEST(Stroker, ALoneMoveDrawsNothing)
{
    QPainterPath move;
    move.moveTo(10, 10);
    TVelkStrokeStyle style;
    style.StartCap = style.EndCap = lcRoundAnchor;
    EXPECT_TRUE(OutlineStroke(move, style, 0.1).isEmpty());
}

// A backend path keeps a figure of no length as a line of no length; the stroker caps it
// as a line along +x: a dot, a square or nothing. Qt would draw no round cap, so such a
// path is stroked by the stroker.
TEST(Stroker, FiguresOfNoLengthShowTheirCaps)
{
    TVelkGPPath path;
    path.MoveTo({10, 10});
    path.LineTo({10, 10});
    path.MoveTo({30, 10});
    path.CurveTo({30, 10}, {30, 10}, {30, 10});
    struct TCase {
        TVelkGPLineCap Cap;
        const char* Expected;
    };
    const TCase cases[] = {{lcFlat, "......"}, {lcSquare, "####.#"}, {lcRound, "###..#"}};
    for (const TCase& c : cases) {
        TVelkStrokeStyle style;
        style.Width = 4;
        style.Join = sjBevel;
        style.StartCap = style.EndCap = c.Cap;
        const QPainterPath outline = OutlineStroke(path.Handle(), style, 0.1);
        // The centre, a half width along each axis, the square's corner, beyond it, the
        // curve's point.
        EXPECT_EQ(Coverage(outline, {{10, 10}, {11.9, 10}, {10, 8.1}, {11.8, 11.8}, {12.2, 10}, {30, 10}}),
                  c.Expected)
            << EnumName(c.Cap).toStdString();
        EXPECT_EQ(PathNeedsOwnStroke(path.Handle(), style), c.Cap != lcFlat) << EnumName(c.Cap).toStdString();
    }
}

// A backend path closes a figure by its close flag alone: one that returns to its start
// without it is open, capped there rather than joined (Qt would take it for closed).
TEST(Stroker, AFigureBackAtItsStartIsClosedOnlyByItsFlag)
{
    for (const bool closed : {false, true}) {
        TVelkGPPath path;
        path.MoveTo({0, 0});
        path.LineTo({20, 0});
        path.LineTo({20, 20});
        path.LineTo({0, 0});
        if (closed)
            path.ClosePath();
        TVelkStrokeStyle style;
        style.Width = 4;
        // The miter at the start reaches out to (-4.8, -2); flat caps end the open figure.
        const QPainterPath outline = OutlineStroke(path.Handle(), style, 0.1);
        EXPECT_EQ(Coverage(outline, {{-4.5, -1.9}, {10, 0}, {0.1, 0}}), closed ? "###" : ".##") << closed;
        EXPECT_EQ(PathNeedsOwnStroke(path.Handle(), style), !closed) << closed;
    }
}

TEST(Stroker, MiterJoinsClipOrBevelBeyondTheLimit)
{
    // Two segments meeting at (0, 0) at an angle Theta; the miter length over the width
    // is 1 / sin(Theta / 2): 3.99 at 29°, 4.13 at 28°. Limit 4, width 2: an unclipped
    // miter reaches 3.99 or 4.13 from the corner along the bisector; sjMiter clips at
    // 4 · 2 / 2 = 4, sjMiterClipped bevels (0.24 from the corner).
    const auto corner = [](double Theta) {
        const double t = Theta * 3.14159265358979 / 180;
        QPainterPath path;
        path.moveTo(20 * std::cos(t), 20 * std::sin(t));
        path.lineTo(0, 0);
        path.lineTo(20, 0);
        return std::pair{path, QPointF(-std::cos(t / 2), -std::sin(t / 2))};
    };
    struct TCase {
        double Theta;
        TVelkGPStrokeJoin Join;
        const char* Expected; // at 1.5, 3.9, 4.05 along the bisector
    };
    const TCase cases[] = {
        {29, sjMiter, "##."},       {29, sjMiterClipped, "##."}, {28, sjMiter, "##."},
        {28, sjMiterClipped, "..."}, {28, sjBevel, "..."},        {28, sjRound, "..."},
    };
    for (const TCase& c : cases) {
        TVelkStrokeStyle style;
        style.Width = 2;
        style.MiterLimit = 4;
        style.Join = c.Join;
        const auto [path, outward] = corner(c.Theta);
        const QPainterPath outline = OutlineStroke(path, style, 0.1);
        EXPECT_EQ(Coverage(outline, {outward * 1.5, outward * 3.9, outward * 4.05}), c.Expected)
            << c.Theta << " " << EnumName(c.Join).toStdString();
    }
}

TEST(Stroker, DashesRunInWidthsFromTheOffsetAndRestartPerFigure)
{
    TVelkStrokeStyle style;
    style.Width = 2;
    style.Dashes = {2, 1}; // 4 on, 2 off
    style.DashOffset = 0.5; // one unit into the pattern
    QPainterPath path = Line({0, 0}, {18, 0});
    path.addPath(Line({0, 10}, {18, 10}));
    const QPainterPath outline = OutlineStroke(path, style, 0.1);
    std::string row0, row10;
    for (int x = 0; x < 18; ++x) {
        row0 += outline.contains(QPointF(x + 0.5, 0)) ? '#' : '.';
        row10 += outline.contains(QPointF(x + 0.5, 10)) ? '#' : '.';
    }
    EXPECT_EQ(row0, "###..####..####..#");
    EXPECT_EQ(row10, row0);
}

TEST(Stroker, OddDashPatternsRepeatWithRolesSwapped)
{
    TVelkStrokeStyle style;
    style.Width = 1;
    style.Dashes = {2};
    const QPainterPath outline = OutlineStroke(Line({0, 0}, {8, 0}), style, 0.1);
    std::string row;
    for (int x = 0; x < 8; ++x)
        row += outline.contains(QPointF(x + 0.5, 0)) ? '#' : '.';
    EXPECT_EQ(row, "##..##..");
}

TEST(Stroker, DashCapsCapTheDashesAndLineCapsTheLine)
{
    TVelkStrokeStyle style;
    style.Width = 2;
    style.Dashes = {2, 2}; // 4 on, 4 off
    style.DashCap = dcTriangle;
    style.StartCap = lcSquare;
    style.EndCap = lcFlat;
    const QPainterPath outline = OutlineStroke(Line({0, 0}, {12, 0}), style, 0.1);
    // Square start cap before 0; triangle dash caps after 4 and before 8 (apex one unit
    // out); the last dash ends at 12 with the flat end cap.
    EXPECT_EQ(Coverage(outline, {{-0.9, 0.9}, {4.9, 0}, {4.5, 0.9}, {6, 0}, {7.1, 0}, {12.1, 0}}), "##..#.");
}

TEST(Stroker, ADashOverTheClosingPointOfAClosedFigureIsOne)
{
    // A 10 × 10 square, width 2, dash 3 widths on (6), 2 off (4), offset 3 widths back
    // so that a dash straddles the start corner: no caps at all, a mitered corner.
    QPainterPath square;
    square.addRect(0, 0, 10, 10);
    TVelkStrokeStyle style;
    style.Width = 2;
    style.Dashes = {3, 2};
    style.DashOffset = 1.5; // the dash began 3 units before the start
    style.DashCap = dcFlat;
    const QPainterPath outline = OutlineStroke(square, style, 0.1);
    EXPECT_EQ(Coverage(outline, {{-0.9, -0.9}, {2.5, 0}, {0, 2.5}, {4, 0}, {0, 4}}), "###..");
}

TEST(Stroker, CompoundBandsLieAcrossTheWidthFromTheLeftSide)
{
    // Travelling towards +x on a y-down screen, the left side is above (negative y).
    struct TCase {
        std::vector<qreal> Compound;
        const char* Expected; // y = -7.5, -5, -2, -1, 1, 2, 5, 7.5
    };
    const TCase cases[] = {
        {{0, 0.25, 0.75, 1}, "##....##"},
        {{0, 0.5}, "####...."},
        {{0.5, 1}, "....####"},
        {{0.1, 0.2, 0.9, 1}, ".#.....#"},
        {{0, 1}, "########"},
        {{0.3, 0.3, 0.6, 1}, ".....###"}, // an empty band
    };
    for (const TCase& c : cases) {
        TVelkStrokeStyle style;
        style.Width = 16;
        style.Compound = c.Compound;
        const QPainterPath outline = OutlineStroke(Line({0, 0}, {40, 0}), style, 0.1);
        std::string row;
        for (qreal y : {-7.5, -5.0, -2.0, -1.0, 1.0, 2.0, 5.0, 7.5})
            row += outline.contains(QPointF(20, y)) ? '#' : '.';
        EXPECT_EQ(row, c.Expected) << ::testing::PrintToString(c.Compound);
    }
}

TEST(Stroker, CompoundBandsFollowCornersAndCurves)
{
    // An L turning right (down): bands [0, 0.25] and [0.75, 1] of width 8.
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(30, 0);
    path.lineTo(30, 30);
    TVelkStrokeStyle style;
    style.Width = 8;
    style.Compound = {0, 0.25, 0.75, 1};
    const QPainterPath outline = OutlineStroke(path, style, 0.1);
    // The left (outer) band runs at -4 … -2 from the line, the right (inner) one at
    // 2 … 4: on the horizontal leg above and below, on the vertical leg right and left.
    EXPECT_EQ(Coverage(outline, {{15, -3}, {15, 0}, {15, 3}, {33, 15}, {30, 15}, {27, 15}, {33, -3}, {27, 3}}),
              "#.##.###");
}

TEST(Stroker, InsetStrokesLieInsideClosedFiguresOnly)
{
    QPainterPath path;
    path.addRect(0, 0, 40, 40);
    path.addPath(Line({0, 60}, {40, 60}));
    TVelkStrokeStyle style;
    style.Width = 4;
    style.Alignment = paInset;
    for (const QPainterPath& p : {path, path.toReversed()}) {
        const QPainterPath outline = OutlineStroke(p, style, 0.1);
        EXPECT_EQ(Coverage(outline, {{-1, 20}, {1, 20}, {3.9, 20}, {4.1, 20}, {39, 20}, {20, 1}, {20, 39}, {20, 41}}),
                  ".##.###.");
        // The open line stays centred.
        EXPECT_EQ(Coverage(outline, {{20, 58.1}, {20, 61.9}}), "##");
    }
}

TEST(Stroker, CurvesAreFlattenedWithinTheFlatness)
{
    QPainterPath circle;
    circle.addEllipse(QPointF(0, 0), 50, 50);
    TVelkStrokeStyle style;
    style.Width = 2;
    const QPainterPath outline = OutlineStroke(circle, style, 0.01);
    for (int degrees = 0; degrees < 360; degrees += 7) {
        const double a = degrees * 3.14159265358979 / 180;
        const QPointF u(std::cos(a), std::sin(a));
        EXPECT_TRUE(outline.contains(u * 50.95)) << degrees;
        EXPECT_TRUE(outline.contains(u * 49.05)) << degrees;
        EXPECT_FALSE(outline.contains(u * 51.05)) << degrees;
        EXPECT_FALSE(outline.contains(u * 48.95)) << degrees;
    }
}

TEST(Stroker, HostileInputStaysBounded)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TVelkStrokeStyle style;
    for (double width : {0.0, -1.0, nan, inf}) {
        style.Width = width;
        EXPECT_TRUE(OutlineStroke(Line({0, 0}, {10, 0}), style, 0.1).isEmpty()) << width;
    }
    // A pattern of a billion dashes strokes solid, at once.
    style.Width = 1;
    style.Dashes = {1e-6, 1e-6};
    const auto start = std::chrono::steady_clock::now();
    const QPainterPath outline = OutlineStroke(Line({0, 0}, {1000, 0}), style, 0.1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(outline.contains(QPointF(500.5, 0)));
    // Non-finite dash values and offsets stroke solid too.
    style.Dashes = {2, nan};
    EXPECT_TRUE(OutlineStroke(Line({0, 0}, {10, 0}), style, 0.1).contains(QPointF(3, 0)));
    style.Dashes = {2, 2};
    style.DashOffset = inf;
    EXPECT_TRUE(OutlineStroke(Line({0, 0}, {10, 0}), style, 0.1).contains(QPointF(1, 0)));
    // An infinite miter limit: a U-turn (whose miter never ends) bevels.
    style.DashOffset = 0;
    style.Dashes.clear();
    style.MiterLimit = inf;
    QPainterPath turn = Line({0, 0}, {10, 0});
    turn.lineTo(0, 0);
    const QPainterPath uTurn = OutlineStroke(turn, style, 0.1);
    EXPECT_TRUE(uTurn.contains(QPointF(9.5, 0.25)));
    EXPECT_TRUE(std::isfinite(uTurn.boundingRect().width()));
    // A huge curve is cut into a bounded number of lines.
    QPainterPath curve;
    curve.moveTo(0, 0);
    curve.cubicTo(1e15, 0, 0, 1e15, 1e15, 1e15);
    style.Dashes.clear();
    EXPECT_FALSE(OutlineStroke(curve, style, 1e-9).isEmpty());
}

TEST(Stroker, QtStrokesAlikeUnlessAMiterExceedsTheLimit)
{
    QPainterPath sharp;
    sharp.moveTo(20, 2);
    sharp.lineTo(0, 0);
    sharp.lineTo(20, 0);
    QPainterPath square;
    square.addRect(0, 0, 10, 10);
    QPainterPath closedSharp;
    closedSharp.moveTo(0, 0);
    closedSharp.lineTo(20, 1);
    closedSharp.lineTo(20, -1);
    closedSharp.closeSubpath();
    QPainterPath curveIntoCorner;
    curveIntoCorner.moveTo(0, 0);
    curveIntoCorner.cubicTo(10, 0, 20, 0, 20, 10);
    // The curve ends heading down; the line turns back up: sharp, though the chord
    // of the curve would not make it so.
    curveIntoCorner.lineTo(19, 0);
    struct TCase {
        const QPainterPath* Path;
        TVelkGPStrokeJoin Join;
        bool Expected;
    };
    const TCase cases[] = {
        {&sharp, sjMiter, true},           {&sharp, sjMiterClipped, false},    {&sharp, sjBevel, false},
        {&square, sjMiter, false},         {&closedSharp, sjMiter, true},      {&curveIntoCorner, sjMiter, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TVelkStrokeStyle style;
        style.Join = cases[i].Join;
        style.MiterLimit = 4;
        EXPECT_EQ(PathNeedsOwnStroke(*cases[i].Path, style), cases[i].Expected) << i;
    }
}

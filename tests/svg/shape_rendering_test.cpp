// Shapes and paths drawn end to end: each shape against a reviewed reference picture and
// exact probes of pixels whose colour is known (inside a shape, outside it, on a stroke),
// fill rules, line caps, line joins, dashes, and strokes under transforms.

#include "graphics/canvas.h"
#include "svg/document.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/svg_render.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdlib>
#include <vector>

using namespace velk;
using velk::testing::CompareWithReference;
using velk::testing::RenderSVG;

namespace {

class ShapeRendering : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// The ID of the element found at Point, "-" for none.
QString HitID(TSVGDocument& Document, TVelkGPCanvas& Canvas, TPointF Point, const TRectF& Area,
              TSVGFindOptions Options)
{
    const TSVGGraphicElement* element = Document.ElementAtPos(Canvas, Point, Area, Options);
    return element ? element->ID() : QStringLiteral("-");
}

constexpr QRgb Clear = 0;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Lime = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;

struct Probe {
    int X;
    int Y;
    QRgb Colour; // premultiplied; Clear for a fully transparent pixel
};

struct Picture {
    const char* Name; // the reference under svg/render/, "" for probes only
    int Size;         // the picture is Size x Size, one user unit per pixel
    const char* Content;
    std::vector<Probe> Probes;
};

QImage Render(const Picture& P)
{
    return RenderSVG(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%1'>%2</svg>")
                         .arg(P.Size)
                         .arg(QLatin1String(P.Content)),
                     QSize(P.Size, P.Size));
}

void Check(const std::vector<Picture>& Pictures)
{
    for (const Picture& p : Pictures) {
        const QImage image = Render(p);
        for (const Probe& probe : p.Probes)
            EXPECT_EQ(image.pixel(probe.X, probe.Y), probe.Colour)
                << p.Content << " at (" << probe.X << ", " << probe.Y << ")";
        if (*p.Name) {
            const QString reference = QStringLiteral("svg/render/%1.png").arg(QLatin1String(p.Name));
            EXPECT_TRUE(CompareWithReference(image, reference, 4, 4)) << p.Name;
        }
    }
}

TEST_F(ShapeRendering, EachShapeFillsItsOwnArea)
{
    Check({
        {"rect", 40, "<rect x='5' y='5' width='30' height='20' fill='red'/>",
         {{20, 15, Red}, {5, 5, Red}, {34, 24, Red}, {2, 2, Clear}, {36, 27, Clear}, {20, 26, Clear}}},
        {"rect_rounded", 40, "<rect x='4' y='4' width='32' height='32' rx='10' fill='blue'/>",
         {{20, 20, Blue}, {20, 4, Blue}, {4, 20, Blue}, {5, 5, Clear}, {34, 34, Clear}}},
        {"circle", 40, "<circle cx='20' cy='20' r='15' fill='lime'/>",
         {{20, 20, Lime}, {20, 6, Lime}, {6, 20, Lime}, {7, 7, Clear}, {33, 33, Clear}}},
        {"ellipse", 40, "<ellipse cx='20' cy='20' rx='18' ry='8' fill='red'/>",
         {{20, 20, Red}, {3, 20, Red}, {20, 13, Red}, {20, 10, Clear}, {20, 29, Clear}}},
        {"line", 40, "<line x1='5' y1='20' x2='35' y2='20' stroke='black' stroke-width='4'/>",
         {{20, 18, Black}, {20, 21, Black}, {20, 23, Clear}, {20, 16, Clear}, {3, 20, Clear}, {36, 20, Clear}}},
        // Filled as if closed, but the closing edge is not stroked.
        {"polyline", 40,
         "<polyline points='5,5 35,5 35,35' fill='lime' stroke='black' stroke-width='2'/>",
         {{30, 10, Lime}, {20, 5, Black}, {35, 20, Black}, {10, 30, Clear}, {25, 15, Lime}}},
        {"polygon", 40,
         "<polygon points='5,5 35,5 35,35' fill='lime' stroke='black' stroke-width='2'/>",
         {{30, 10, Lime}, {20, 5, Black}, {35, 20, Black}, {10, 30, Clear}, {20, 20, Black}}},
        {"path_arcs_curves", 40,
         "<path d='M5,20 A15,15 0 0 1 35,20 Q20,40 5,20 Z M10,34 C15,26 25,42 30,34' fill='blue' "
         "stroke='red' stroke-width='4'/>",
         {{20, 10, Blue}, {20, 24, Blue}, {20, 4, Red}, {3, 3, Clear}, {37, 37, Clear}}},
    });
}

TEST_F(ShapeRendering, ShapesWithoutAreaOrGeometryDrawNothing)
{
    for (const char* content : {"<rect x='5' y='5' width='0' height='20' stroke='black'/>",
                                "<rect x='5' y='5' width='20' height='-20' stroke='black'/>",
                                "<circle cx='20' cy='20' r='0' stroke='black'/>",
                                // Negative radii are errors, not inverted bounds.
                                "<circle cx='20' cy='20' r='-10' stroke='black'/>",
                                "<ellipse cx='20' cy='20' rx='-10' ry='5' stroke='black'/>",
                                "<ellipse cx='20' cy='20' rx='-10' ry='-5' stroke='black'/>",
                                "<ellipse cx='20' cy='20' rx='10' stroke='black'/>",
                                "<line x1='20' y1='20' x2='20' y2='20' stroke='black' stroke-linecap='round'/>",
                                "<polyline points='20,20' stroke='black'/>", "<path stroke='black'/>",
                                "<path d='' stroke='black'/>"}) {
        const QImage image = Render({"", 40, content, {}});
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) != 0;
        EXPECT_EQ(painted, 0) << content;
    }
}

TEST_F(ShapeRendering, FillRuleDecidesTheCentreOfAStarAndANestedSubpath)
{
    const char* star = "<polygon points='20,2 31,36 2,14 38,14 9,36' fill='black' fill-rule='%1'/>";
    const char* nested = "<path d='M2,2 h36 v36 h-36 z M12,12 h16 v16 h-16 z' fill='black' fill-rule='%1'/>";
    for (const char* rule : {"nonzero", "evenodd"}) {
        const bool nonzero = QLatin1String(rule) == QLatin1String("nonzero");
        const QRgb centre = nonzero ? Black : Clear;
        const QByteArray starText = QString::fromLatin1(star).arg(QLatin1String(rule)).toLatin1();
        const QByteArray nestedText = QString::fromLatin1(nested).arg(QLatin1String(rule)).toLatin1();
        const QByteArray starName = QByteArray("star_") + rule;
        Check({
            {starName.constData(), 40, starText.constData(), {{20, 20, centre}, {20, 8, Black}, {5, 15, Black}}},
            {"", 40, nestedText.constData(), {{20, 20, centre}, {5, 5, Black}, {35, 20, Black}}},
        });
    }
}

TEST_F(ShapeRendering, LineCapsEndTheStrokeAsNamed)
{
    // Lines from x 10 to 30, 8 wide: a square cap reaches x 34, a round one a circle of 4.
    Check({
        {"linecap_butt", 40, "<line x1='10' y1='20' x2='30' y2='20' stroke='black' stroke-width='8'/>",
         {{29, 20, Black}, {31, 20, Clear}, {8, 20, Clear}}},
        {"linecap_square", 40,
         "<line x1='10' y1='20' x2='30' y2='20' stroke='black' stroke-width='8' stroke-linecap='square'/>",
         {{32, 20, Black}, {32, 17, Black}, {33, 16, Black}, {35, 20, Clear}, {7, 20, Black}}},
        {"linecap_round", 40,
         "<line x1='10' y1='20' x2='30' y2='20' stroke='black' stroke-width='8' stroke-linecap='round'/>",
         {{32, 20, Black}, {33, 16, Clear}, {35, 20, Clear}, {7, 20, Black}}},
    });
}

TEST_F(ShapeRendering, LineJoinsShapeTheCorner)
{
    // The apex at (20, 14), 10 wide: a miter reaches up to y 2.8, a round join to y 9,
    // a bevel to y 11.8.
    Check({
        {"linejoin_miter", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10'/>",
         {{20, 5, Black}, {20, 10, Black}, {20, 1, Clear}}},
        {"linejoin_round", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10' "
         "stroke-linejoin='round'/>",
         {{20, 5, Clear}, {20, 10, Black}}},
        {"linejoin_bevel", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10' "
         "stroke-linejoin='bevel'/>",
         {{20, 5, Clear}, {20, 10, Clear}, {20, 13, Black}}},
        // The corner's miter length over the width is 1 / sin(26.57°) = 2.236: a limit
        // just below bevels the corner, one just above keeps the miter.
        {"", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10' "
         "stroke-miterlimit='2.2'/>",
         {{20, 5, Clear}, {20, 10, Clear}, {20, 13, Black}}},
        {"", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10' "
         "stroke-miterlimit='2.25'/>",
         {{20, 5, Black}, {20, 10, Black}, {20, 1, Clear}}},
        // A miter limit is a number: with a unit it is invalid and the default 4 holds.
        {"", 40,
         "<polyline points='8,38 20,14 32,38' fill='none' stroke='black' stroke-width='10' "
         "stroke-miterlimit='1mm'/>",
         {{20, 5, Black}, {20, 10, Black}}},
    });
}

TEST_F(ShapeRendering, ZeroLengthSubpathsShowTheirCaps)
{
    // Round caps draw a dot of the stroke's diameter, square ones a square aligned with
    // the user space (here skewed with it), butt nothing.
    Check({
        {"zero_length_caps", 40,
         "<path d='M8,8 L8,8 M24,8 L24,8' stroke='black' stroke-width='8' stroke-linecap='round'/>"
         "<path d='M8,24 L8,24 M24,24 C24,24 24,24 24,24' stroke='black' stroke-width='8' "
         "stroke-linecap='square'/>"
         "<path d='M8,36 L8,36' stroke='red' stroke-width='8'/>"
         "<g transform='translate(32 36) skewX(45)'><path d='M0,0 L0,0' stroke='blue' stroke-width='4' "
         "stroke-linecap='square'/></g>",
         {{8, 8, Black}, {24, 5, Black}, {11, 11, Clear}, {8, 24, Black}, {11, 27, Black}, {21, 21, Black},
          {8, 36, Clear}, {33, 37, Blue}, {31, 35, Blue}, {30, 37, Clear}}},
    });
}

// A path that returns to its start without Z is open there: capped, not joined.
TEST_F(ShapeRendering, OnlyZClosesAPath)
{
    // The closed corner at (30, 10) is mitred out to (33, 5.2); the round caps of the open
    // path reach 3 from it.
    Check({
        {"", 40,
         "<path d='M30,10 L30,30 L10,20 L30,10' fill='none' stroke='black' stroke-width='6' "
         "stroke-linecap='round'/>",
         {{32, 6, Clear}, {30, 8, Black}, {30, 20, Black}}},
        {"", 40,
         "<path d='M30,10 L30,30 L10,20 Z' fill='none' stroke='black' stroke-width='6' stroke-linecap='round'/>",
         {{32, 6, Black}, {30, 20, Black}}},
    });
}

TEST_F(ShapeRendering, DashesEndInTheLineCaps)
{
    // "0 15": dashes of no length; square caps draw squares, round ones dots.
    Check({
        {"dash_zero_caps", 80,
         "<line x1='10' y1='20' x2='70' y2='20' stroke='black' stroke-width='6' stroke-dasharray='0 15' "
         "stroke-linecap='square'/>"
         "<line x1='10' y1='40' x2='70' y2='40' stroke='black' stroke-width='6' stroke-dasharray='0 15' "
         "stroke-linecap='round'/>"
         "<line x1='10' y1='60' x2='70' y2='60' stroke='red' stroke-width='6' stroke-dasharray='0 15'/>",
         {{10, 20, Black}, {12, 22, Black}, {40, 20, Black}, {17, 20, Clear}, {25, 40, Black}, {28, 43, Clear},
          {32, 40, Clear}, {25, 60, Clear}}},
    });
    // "10 0": dashes without gaps, no seams between them; two that meet at a corner end
    // there, unjoined.
    Check({
        {"", 60,
         "<rect x='10' y='10' width='40' height='40' fill='none' stroke='black' stroke-width='8' "
         "stroke-dasharray='10 0'/>",
         {{30, 10, Black}, {20, 10, Black}, {50, 30, Black}, {52, 52, Clear}, {30, 30, Clear}}},
    });
}

TEST_F(ShapeRendering, DashArrayWithOffset)
{
    // Pattern 10 on, 5 off, started 5 into it: dashes over x 0-5, 10-20, 25-35.
    Check({
        {"dash_offset", 40,
         "<line x1='0' y1='20' x2='40' y2='20' stroke='black' stroke-width='4' stroke-dasharray='10 5' "
         "stroke-dashoffset='5'/>",
         {{2, 20, Black}, {7, 20, Clear}, {11, 20, Black}, {18, 20, Black}, {22, 20, Clear}, {30, 20, Black},
          {37, 20, Clear}}},
        // Under scale(2) the pattern scales with the stroke: 20 on, 10 off from x 0.
        {"", 40,
         "<g transform='scale(2)'><line x1='0' y1='10' x2='20' y2='10' stroke='black' stroke-width='2' "
         "stroke-dasharray='10 5'/></g>",
         {{2, 20, Black}, {18, 20, Black}, {22, 20, Clear}, {28, 20, Clear}, {32, 20, Black}}},
    });
}

TEST_F(ShapeRendering, StrokesScaleWithTheirTransform)
{
    Check({
        // scale(3): the edge at 12, stroked 6 wide (9 to 15).
        {"stroke_scale3", 60,
         "<g transform='scale(3)'><rect x='4' y='4' width='10' height='10' fill='none' stroke='black' "
         "stroke-width='2'/></g>",
         {{9, 27, Black}, {14, 27, Black}, {8, 27, Clear}, {15, 27, Clear}, {27, 27, Clear}}},
        // The same without scaling the stroke: 2 wide (11 to 13).
        {"", 60,
         "<g transform='scale(3)'><rect x='4' y='4' width='10' height='10' fill='none' stroke='black' "
         "stroke-width='2' vector-effect='non-scaling-stroke'/></g>",
         {{11, 27, Black}, {12, 27, Black}, {10, 27, Clear}, {13, 27, Clear}}},
        // scale(4, 1) stretches the stroke with the shape: the vertical edges 8 wide (8 to
        // 16 and 40 to 48), the horizontal ones 2 (9 to 11 and 39 to 41).
        {"stroke_scale4x1", 60,
         "<g transform='scale(4,1)'><rect x='3' y='10' width='8' height='30' fill='none' stroke='black' "
         "stroke-width='2'/></g>",
         {{8, 25, Black}, {15, 25, Black}, {7, 25, Clear}, {16, 25, Clear}, {28, 9, Black}, {28, 10, Black},
          {28, 8, Clear}, {28, 11, Clear}, {47, 40, Black}}},
        // Round caps under scale(3, 1) are half ellipses: the line 6 high (27 to 33), its
        // caps 9 long (6 to 15 and 45 to 54).
        {"", 60,
         "<g transform='scale(3,1)'><line x1='5' y1='30' x2='15' y2='30' stroke='black' stroke-width='6' "
         "stroke-linecap='round'/></g>",
         {{30, 27, Black}, {30, 32, Black}, {30, 26, Clear}, {30, 33, Clear}, {7, 30, Black}, {52, 30, Black},
          {52, 32, Clear}, {55, 30, Clear}}},
        // Under skewX(45) the stroke is sheared with the line: the band stays 10 high
        // (15 to 25) and its butt ends slant (at y = 16 from x = 26, at y = 24 from 34).
        // The polyline's square caps and miter join are sheared alike.
        {"stroke_skew", 80,
         "<g transform='skewX(45)'><line x1='10' y1='20' x2='40' y2='20' stroke='black' stroke-width='10'/>"
         "<polyline points='0,60 5,45 10,60' fill='none' stroke='blue' stroke-width='4' "
         "stroke-linecap='square'/></g>",
         {{28, 16, Black}, {24, 16, Clear}, {62, 24, Black}, {66, 24, Clear}, {32, 24, Clear}, {50, 15, Black},
          {50, 14, Clear}, {50, 25, Clear}}},
        // A square turned by 45 degrees about its centre: a diamond of half-diagonal 14.1.
        {"rotate45", 60, "<rect x='-10' y='-10' width='20' height='20' fill='red' "
                         "transform='translate(30 30) rotate(45)'/>",
         {{30, 30, Red}, {30, 17, Red}, {42, 30, Red}, {19, 19, Clear}, {40, 40, Clear}}},
    });
}

TEST_F(ShapeRendering, TheSameTreeDrawsTheSameTwice)
{
    TSVGDocument document;
    document.LoadFromText(QStringLiteral("<svg width='40' height='40'><circle cx='20' cy='20' r='10'/>"
                                         "<path d='M0,0 L40,40' stroke='red'/></svg>"));
    const QImage first = RenderSVG(document, QSize(40, 40));
    EXPECT_EQ(RenderSVG(document, QSize(40, 40)), first);
}

TEST_F(ShapeRendering, EditedGeometryIsDrawnNextTime)
{
    TSVGDocument document;
    document.LoadFromText(
        QStringLiteral("<svg width='40' height='40'><path id='p' d='M0,0 h10 v10 h-10 z' fill='red'/></svg>"));
    EXPECT_EQ(RenderSVG(document, QSize(40, 40)).pixel(25, 25), Clear);
    auto* path = dynamic_cast<TSVGGraphicElement*>(document.AllItems().Get(QStringLiteral("p")));
    ASSERT_NE(path, nullptr);
    path->SetMatrix(CreateTranslationMatrix(20, 20));
    EXPECT_EQ(RenderSVG(document, QSize(40, 40)).pixel(25, 25), Red);
}

TEST_F(ShapeRendering, HitTestsFollowTheShapes)
{
    TSVGDocument document;
    document.LoadFromText(QStringLiteral(
        "<svg width='100' height='100'>"
        "<line id='v' x1='10' y1='10' x2='10' y2='90' stroke='black'/>"
        "<line id='h' x1='20' y1='50' x2='90' y2='50' stroke='black'/>"
        "<polyline id='pl' points='60,10 90,10 90,40' fill='none' stroke='black'/>"
        "<rect id='r' x='30' y='60' width='20' height='20' fill='red'/>"
        "</svg>"));
    TVelkGPCanvas canvas;
    const TRectF area{0, 0, 100, 100};
    const auto hit = [&](float X, float Y, TSVGFindOptions Options = {}) {
        return HitID(document, canvas, {X, Y}, area, Options);
    };
    // A vertical or horizontal line is found along its length despite its flat bounds.
    EXPECT_EQ(hit(10, 50), "v");
    EXPECT_EQ(hit(11, 80), "v");
    EXPECT_EQ(hit(13, 50), "-");
    EXPECT_EQ(hit(55, 50), "h");
    EXPECT_EQ(hit(55, 52.5f), "-");
    EXPECT_EQ(hit(10, 95), "-");
    // With the bounding box the line's one-unit bounds count.
    EXPECT_EQ(hit(10.5f, 50, {foUseBoundingBox}), "v");
    // An open polyline without fill: its stroke, not the closing edge or the inside.
    EXPECT_EQ(hit(75, 10), "pl");
    EXPECT_EQ(hit(80, 20), "-");
    EXPECT_EQ(hit(75, 25), "-");
    EXPECT_EQ(hit(80, 20, {foFindNonFilled}), "pl");
    EXPECT_EQ(hit(40, 70), "r");
    EXPECT_EQ(hit(55, 70), "-");
}

// A skewed stroke is hit where it is drawn: in its sheared band, not in a round-nib band
// around the path. A thin one is found within 1.5 device units of its path.
TEST_F(ShapeRendering, SkewedStrokesAreHitWhereTheyAreDrawn)
{
    TSVGDocument document;
    document.LoadFromText(QStringLiteral(
        "<svg width='100' height='100'><g transform='skewX(45)'>"
        "<line id='thick' x1='10' y1='20' x2='40' y2='20' stroke='black' stroke-width='10'/>"
        "<line id='thin' x1='10' y1='50' x2='40' y2='50' stroke='black' stroke-width='0.5'/>"
        "</g></svg>"));
    TVelkGPCanvas canvas;
    const TRectF area{0, 0, 100, 100};
    const auto hit = [&](float X, float Y) { return HitID(document, canvas, {X, Y}, area, {}); };
    // The band runs from y 15 to 25; its butt ends slant (x + y = 10 ... 40 + y).
    EXPECT_EQ(hit(27.5f, 16.5f), "thick");
    EXPECT_EQ(hit(62.5f, 24.5f), "thick");
    EXPECT_EQ(hit(32.5f, 24.5f), "-");
    EXPECT_EQ(hit(50, 14), "-");
    // The thin line: y = 50 from x 60 to 90.
    EXPECT_EQ(hit(75, 51.2f), "thin");
    EXPECT_EQ(hit(75, 52), "-");
}

TEST_F(ShapeRendering, HugeAndOverflowingGeometryDrawsWithoutHarm)
{
    // Sums beyond the float range become infinite; nothing of it may reach the painter as
    // a NaN, and nothing may take long.
    for (const char* content : {
             "<rect x='3e38' y='3e38' width='3e38' height='3e38' rx='1e38' stroke='black'/>",
             "<rect x='-3e38' y='-3e38' width='3e38' height='3e38' stroke='black'/>",
             "<circle cx='3e38' cy='0' r='3e38' stroke='black'/>",
             "<ellipse cx='-3e38' cy='3e38' rx='3e38' ry='1e-38' stroke='black'/>",
             "<line x1='-3e38' y1='0' x2='3e38' y2='1e-30' stroke='black' stroke-width='1e30'/>",
             "<polyline points='0,0 3e38,3e38 -3e38,3e38 1e-38,1e-38' stroke='black'/>",
             "<path d='M0,0 C3e38,0 0,3e38 3e38,3e38 A1e38,1e38 0 1 1 -3e38,0 Z' stroke='black'/>",
             "<g transform='scale(1e30)'><rect width='1e30' height='1e30' stroke='black'/></g>",
         }) {
        const QImage image = Render({"", 20, content, {}});
        EXPECT_EQ(image.size(), QSize(20, 20)) << content;
    }
}

TEST_F(ShapeRendering, RadiiFollowTheirErrorAndPercentageRules)
{
    // Each document in a 100 x 50 viewport draws as its plain equivalent.
    struct Case {
        const char* Content;
        const char* Equivalent;
    } cases[] = {
        // A negative radius counts as not given: ry alone rounds the corners.
        {"<rect x='30' y='10' width='40' height='30' rx='-10' ry='8'/>",
         "<rect x='30' y='10' width='40' height='30' rx='8' ry='8'/>"},
        // One radius alone gives the other its size: 25% of the width is 25 units for ry too.
        {"<rect width='100' height='50' rx='25%'/>", "<rect width='100' height='50' rx='25' ry='25'/>"},
        {"<rect width='100' height='50' ry='50%'/>", "<rect width='100' height='50' rx='25' ry='25'/>"},
        // rx of the width, ry of the height, r of the normalised diagonal sqrt((w² + h²) / 2).
        {"<ellipse cx='50' cy='25' rx='20%' ry='20%'/>", "<ellipse cx='50' cy='25' rx='20' ry='10'/>"},
        {"<circle cx='50%' cy='50%' r='20%'/>", "<circle cx='50' cy='25' r='15.811388'/>"},
        // A nested svg's percentages are of its own view box (diagonal 158.11, scaled by 0.5).
        {"<svg width='100' height='50' viewBox='0 0 200 100'><circle cx='100' cy='50' r='20%'/></svg>",
         "<circle cx='50' cy='25' r='15.811388'/>"},
    };
    const auto render = [](const char* Content) {
        return RenderSVG(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'>%1</svg>")
                             .arg(QLatin1String(Content)),
                         QSize(100, 50));
    };
    for (const Case& c : cases) {
        const QImage image = render(c.Content);
        const QImage expected = render(c.Equivalent);
        int different = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                different += std::abs(qAlpha(image.pixel(x, y)) - qAlpha(expected.pixel(x, y))) > 2;
        EXPECT_EQ(different, 0) << c.Content;
        EXPECT_EQ(image.pixel(50, 25), Black) << c.Content;
    }
}

} // namespace

#include "graphics/path_data.h"
#include "tests/support/test_support.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace velk;

namespace {

std::unique_ptr<TVelkPathData> FromText(QStringView Text)
{
    auto path = std::make_unique<TVelkPathData>();
    path->SetData(Text);
    return path;
}

void ExpectNear(const TPointF& Actual, const TPointF& Expected, float Tolerance = 1e-4f)
{
    EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
    EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
}

TEST(PathShapes, AddRectangleCornerTypes)
{
    const TRectF rect = MakeRectF(0, 0, 40, 20);
    struct TCase {
        const char* Name;
        float XRadius;
        float YRadius;
        TVelkCorners Corners;
        TVelkCornerType Type;
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {"round", 8, 4, AllCorners, ctRound,
         u"M0,4 C0,2 4,0 8,0 L32,0 C36,0 40,2 40,4 L40,16 C40,18 36,20 32,20 L8,20 C4,20 0,18 0,16 Z "},
        {"bevel", 8, 4, AllCorners, ctBevel, u"M0,4 L8,0 L32,0 L40,4 L40,16 L32,20 L8,20 L0,16 Z "},
        {"inner round", 8, 4, AllCorners, ctInnerRound,
         u"M0,4 C4,4 8,2 8,0 L32,0 C32,2 36,4 40,4 L40,16 C36,16 32,18 32,20 L8,20 C8,18 4,16 0,16 Z "},
        {"inner line", 8, 4, AllCorners, ctInnerLine,
         u"M0,4 L4,4 L8,2 L8,0 L32,0 L32,2 L36,4 L40,4 L40,16 L36,16 L32,18 L32,20 L8,20 L8,18 L4,16 L0,16 Z "},
        {"one corner", 8, 4, {crTopLeft}, ctBevel,
         u"M0,4 L8,0 L32,0 L40,0 L40,4 L40,16 L40,20 L32,20 L8,20 L0,20 L0,16 Z "},
        {"no corners, no radii", 0, 0, {}, ctRound,
         u"M0,0 L0,0 L0,0 L40,0 L40,0 L40,0 L40,20 L40,20 L40,20 L0,20 L0,20 L0,20 Z "},
        {"radius beyond half the width", 30, 4, AllCorners, ctBevel, u"M0,4 L20,0 L20,0 L40,4 L40,16 L20,20 L20,20 L0,16 Z "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVelkPathData path;
        path.AddRectangle(rect, c.XRadius, c.YRadius, c.Corners, c.Type);
        EXPECT_EQ(path.GetData(), QString::fromUtf16(c.Expected));
    }
}

TEST(PathShapes, AddEllipseAndPolygons)
{
    TVelkPathData ellipse;
    ellipse.AddEllipse(MakeRectF(0, 0, 20, 10));
    ASSERT_EQ(ellipse.Count(), 13); // a move and four cubics, not closed
    EXPECT_EQ(ellipse.GetPoint(0).Point, (TPointF{0, 5}));
    ExpectNear(ellipse.GetPoint(1).Point, {0, 5 - 2.7614237f});
    ExpectNear(ellipse.GetPoint(2).Point, {10 - 5.5228475f, 0});
    EXPECT_EQ(ellipse.GetPoint(3).Point, (TPointF{10, 0}));
    EXPECT_EQ(ellipse.GetPoint(9).Point, (TPointF{10, 10}));
    EXPECT_EQ(ellipse.LastPoint(), (TPointF{0, 5}));

    struct TCase {
        const char* Name;
        TVelkPoints Points;
        const char16_t* Float;   // AddPolygon(TVelkPoints)
        const char16_t* Integer; // AddPolygon(TCanvasPoints) with the same points
    };
    const TCase cases[] = {
        {"closed", {{0, 0}, {10, 0}, {10, 10}, {0, 0}}, u"M0,0 L10,0 L10,10 Z ", u"M0,0 L10,0 L10,10 L0,0 Z "},
        {"open", {{0, 0}, {10, 0}, {10, 10}}, u"M0,0 L10,0 L10,10 ", u"M0,0 L10,0 L10,10 "},
        {"one point", {{1, 1}}, u"M1,1 Z ", u"M1,1 Z "},
        {"empty", {}, u"", u""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVelkPathData floats;
        int changes = 0;
        floats.OnChanged = [&](TObject*) { ++changes; };
        floats.AddPolygon(c.Points);
        EXPECT_EQ(floats.GetData(), QString::fromUtf16(c.Float));
        EXPECT_EQ(changes, c.Points.isEmpty() ? 0 : 1);
        TCanvasPoints integers;
        for (const TPointF& p : c.Points)
            integers.append(PointFToPoint(p));
        TVelkPathData ints;
        ints.AddPolygon(integers);
        EXPECT_EQ(ints.GetData(), QString::fromUtf16(c.Integer));
    }
    TVelkPathData both;
    both.AddPolygons(TVelkPolygons{{{0, 0}, {1, 0}}, {{5, 5}, {6, 6}, {5, 5}}});
    EXPECT_EQ(both.GetData(), "M0,0 L1,0 M5,5 L6,6 Z ");
}

TEST(PathGeometry, Bounds)
{
    struct TCase {
        const char16_t* Text;
        TRectF Expected;
    };
    const TCase cases[] = {
        {u"M3 4", MakeRectF(3, 4, 3.001f, 4.001f)},                       // a single point
        {u"M0 0 L10 0", MakeRectF(0, 0, 10, 0.001f)},
        {u"M70000 5 L80000 7", MakeRectF(70000, 5, 80000, 7)},            // beyond +-65535
        {u"M-70000 -5 L-80000 -7", MakeRectF(-80000, -7, -70000, -5)},
        {u"M0 0 C0 -10 10 20 10 0", MakeRectF(0, -10, 10, 20)},           // control points count
        {u"M1 1 L5 1 L5 5 Z M2 2", MakeRectF(1, 1, 5, 5)},
        {u"", TRectF{}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(FromText(c.Text)->GetBounds(), c.Expected);
    }
    TVelkPathData closeOnly;
    closeOnly.ClosePath();
    EXPECT_EQ(closeOnly.GetBounds(), TRectF{});
    EXPECT_TRUE(closeOnly.IsEmpty());
    EXPECT_TRUE(TVelkPathData().IsEmpty());
    EXPECT_FALSE(FromText(u"M0 0 L10 0")->IsEmpty());
}

// Scale, Translate and ApplyMatrix move close entries too: their point is the current
// point after closing, and a later relative command starts there.
TEST(PathGeometry, TransformsMoveEveryPoint)
{
    struct TCase {
        const char* Name;
        void (*Apply)(TVelkPathData&);
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {"scale", [](TVelkPathData& p) { p.Scale(2, 3); }, u"M2,3 L4,3 C6,6 6,6 2,3 Z L12,13 Z "},
        {"translate", [](TVelkPathData& p) { p.Translate(-1, 10); }, u"M0,11 L1,11 C2,12 2,12 0,11 Z L10,21 Z "},
        {"matrix", [](TVelkPathData& p) { p.ApplyMatrix(CreateRotationMatrix(std::numbers::pi_v<float> / 2)); },
         u"M-1,1 L-1,2 C-2,3 -2,3 -1,1 Z L9,11 Z "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto path = FromText(u"M1 1 L2 1 C3 2 3 2 1 1 Z");
        path->SetFormatStr(u"0.###"_qs);
        c.Apply(*path);
        path->LineToRel({10, 10}); // after the close entry
        path->ClosePath();         // closes to the transformed start
        EXPECT_EQ(path->GetData(), QString::fromUtf16(c.Expected));
        EXPECT_EQ(path->GetPoint(5).Point, path->GetPoint(0).Point);
        EXPECT_EQ(path->LastPoint(), path->GetPoint(0).Point);
    }
    TVelkPathData empty;
    int changes = 0;
    empty.OnChanged = [&](TObject*) { ++changes; };
    empty.Scale(2, 2);
    empty.Translate(1, 1);
    EXPECT_EQ(changes, 0);
}

TEST(PathGeometry, FitToRect)
{
    const auto path = FromText(u"M10 10 L20 30");
    path->FitToRect(MakeRectF(100, 100, 200, 150));
    EXPECT_EQ(path->GetData(), "M100,100 L200,150 ");
    TVelkPathData empty;
    empty.FitToRect(MakeRectF(0, 0, 10, 10));
    EXPECT_EQ(empty.Count(), 0);
}

TEST(PathGeometry, Flatten)
{
    // A straight cubic of length 30 over flatness 3: ten evenly spaced samples, the
    // first of them the start itself.
    const auto path = FromText(u"M0 0 C10 0 20 0 30 0");
    path->Flatten(3);
    ASSERT_EQ(path->Count(), 11);
    for (int i = 1; i < path->Count(); ++i) {
        EXPECT_EQ(path->GetPoint(i).Kind, ppLineTo);
        ExpectNear(path->GetPoint(i).Point, {30.0f * (i - 1) / 9, 0});
    }
    EXPECT_EQ(path->LastPoint(), (TPointF{30, 0}));

    // Below 1.5 x flatness a curve is one line; the next curve starts at its end.
    const auto small = FromText(u"M0 0 C0.1 0 0.2 0 0.3 0 C10.3 0 20.3 0 30.3 0 Z");
    small->Flatten(0.25f);
    EXPECT_EQ(small->GetPoint(1).Point, (TPointF{0.3f, 0}));
    EXPECT_EQ(small->GetPoint(1).Kind, ppLineTo);
    EXPECT_EQ(small->GetPoint(2).Point, (TPointF{0.3f, 0})); // first sample of the next curve
    EXPECT_EQ(small->GetPoint(small->Count() - 1).Kind, ppClose);
    EXPECT_EQ(small->GetPoint(small->Count() - 1).Point, (TPointF{0, 0}));

    // Flatness below 0.05 counts as 0.05.
    const auto fine = FromText(u"M0 0 C10 0 20 0 30 0");
    fine->Flatten(0.001f);
    EXPECT_EQ(fine->Count(), 1 + 600);

    // A curve after a close starts at the subpath start, the current point there.
    const auto afterClose = FromText(u"M0 0 L10 0 Z C0 10 0 20 0 30");
    afterClose->Flatten(1);
    EXPECT_EQ(afterClose->GetPoint(3).Point, (TPointF{0, 0}));
    ExpectNear(afterClose->GetPoint(4).Point, {0, 30.0f / (afterClose->Count() - 4)});
}

TEST(PathGeometry, FlattenToPolygon)
{
    const auto squares = FromText(u"M0 0 L10 0 L10 10 Z M20 0 L30 0 L30 10 Z");
    TVelkPoints polygon{{1, 1}};
    const TPointF size = squares->FlattenToPolygon(polygon, 1);
    const TVelkPoints expected{{0, 0}, {10, 0}, {10, 10}, {0, 0}, PolygonSeparator,
                               {20, 0}, {30, 0}, {30, 10}, {20, 0}, PolygonSeparator};
    EXPECT_EQ(polygon, expected);
    EXPECT_EQ(size, (TPointF{30, 10}));

    // Repeated points are dropped; a curve of one line gives its start and end.
    FromText(u"M0 0 L0 0 L5 5 C5.1 5 5.2 5 5.3 5")->FlattenToPolygon(polygon, 0.25f);
    EXPECT_EQ(polygon, (TVelkPoints{{0, 0}, {5, 5}, {5.3f, 5}}));
    TVelkPathData().FlattenToPolygon(polygon, 1);
    EXPECT_TRUE(polygon.isEmpty());
}

// Curves with huge coordinates are cut into a bounded number of pieces.
TEST(PathGeometry, HugeCurvesStayBounded)
{
    const auto path = FromText(u"M0 0 C1e30 0 1e30 1e30 0 1e30");
    TVelkPoints polygon;
    path->FlattenToPolygon(polygon, 0.05f);
    EXPECT_EQ(polygon.size(), TVelkPathData::MaxFlattenSegments); // the first sample is the start
    EXPECT_LE(path->ToPolygons().first().size(), 3 * MaxSplineSamples + 1);
    EXPECT_TRUE(std::isfinite(path->GetLength()));
    EXPECT_GT(path->GetLength(), 1e30);
    EXPECT_FALSE(path->PointInPath(-1, -1));
    path->Flatten(0.05f);
    EXPECT_EQ(path->Count(), TVelkPathData::MaxFlattenSegments + 1);
    EXPECT_EQ(path->LastPoint(), (TPointF{0, 1e30f}));
}

// A path of many huge curves: past the path's budget, curves become straight lines.
TEST(PathGeometry, ManyHugeCurvesStayWithinThePathBudget)
{
    const int curves = TVelkPathData::MinFlattenBudget / TVelkPathData::MaxFlattenSegments + 100;
    const auto path = FromText(QStringLiteral("M0 0") + QStringLiteral(" c1e30 0 1e30 1e30 0 1e30").repeated(curves));
    ASSERT_EQ(path->FlattenBudget(), TVelkPathData::MinFlattenBudget);
    TVelkPoints polygon;
    path->FlattenToPolygon(polygon, 0.05f);
    EXPECT_LE(polygon.size(), TVelkPathData::MinFlattenBudget + 2 * curves);
    const TPointF last = path->LastPoint();
    path->Flatten(0.05f);
    EXPECT_EQ(path->Count(), 1 + TVelkPathData::MinFlattenBudget + 100);
    EXPECT_EQ(path->LastPoint(), last);
}

TEST(PathGeometry, PolygonsLengthsAndDistances)
{
    const auto path = FromText(u"M0 0 L10 0 L10 10 L0 10 Z M20 0 L23 4");
    const TVelkPolygons polygons = path->ToPolygons();
    ASSERT_EQ(polygons.size(), 2);
    EXPECT_EQ(polygons[0], (TVelkPoints{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(polygons[1], (TVelkPoints{{20, 0}, {23, 4}}));
    EXPECT_DOUBLE_EQ(path->GetLength(), 45); // the gap between subpaths does not count
    const TVelkDistances expected{{0, 10, 20, 30, 40}, {40, 45}};
    EXPECT_EQ(path->GetDistances(), expected);

    // A line after a close starts at the subpath start.
    EXPECT_DOUBLE_EQ(FromText(u"M0 0 L10 0 Z L0 10")->GetLength(), 30);

    // A curve becomes a Catmull-Rom spline through its four points, from start to end.
    const auto curve = FromText(u"M0 0 C0 10 10 10 10 0");
    const TVelkPoints samples = curve->ToPolygons().first();
    EXPECT_GT(samples.size(), 10);
    EXPECT_EQ(samples.first(), (TPointF{0, 0}));
    ExpectNear(samples.last(), {10, 0});
    EXPECT_EQ(curve->GetDistances().first().size(), samples.size());
    EXPECT_EQ(TVelkPathData().GetLength(), 0);
    EXPECT_TRUE(TVelkPathData().GetDistances().isEmpty());
}

TEST(PathGeometry, PointInPath)
{
    struct TCase {
        const char16_t* Text;
        TPointF Point;
        bool Inside;
    };
    const TCase cases[] = {
        {u"M0 0 L10 0 L10 10 L0 10 Z", {5, 5}, true},
        {u"M0 0 L10 0 L10 10 L0 10 Z", {15, 5}, false},
        {u"M0 0 L10 0 L10 10 L0 10", {5, 5}, true},               // open subpaths count as closed
        // A ring: each subpath is tested alone, so the hole counts as inside.
        {u"M0 0 L30 0 L30 30 L0 30 Z M10 10 L20 10 L20 20 L10 20 Z", {15, 15}, true},
        {u"M0 0 L30 0 L30 30 L0 30 Z M10 10 L20 10 L20 20 L10 20 Z", {35, 15}, false},
        {u"M40 0 L50 0 L50 10 Z M0 0 L10 0 L10 10 L0 10", {5, 5}, true}, // the second subpath
        {u"M0 0 L10 0 L10 10 Z L0 10 L10 10", {2, 8}, true},      // after a close: from the start
        {u"M0 5 C0 -2 10 -2 10 5 C10 12 0 12 0 5", {5, 5}, true},
        {u"M0 5 C0 -2 10 -2 10 5 C10 12 0 12 0 5", {5, 12}, false},
        {u"", {0, 0}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(FromText(c.Text)->PointInPath(c.Point), c.Inside);
    }
}

TEST(PathGeometry, OutlineHitsAndOutlines)
{
    struct TCase {
        const char16_t* Text;
        TPointF Point;
        float Width;
        bool Hit;
    };
    const TCase cases[] = {
        {u"M0 0 L100 0", {50, 4}, 10, true},
        {u"M0 0 L100 0", {50, -4}, 10, true},
        {u"M0 0 L100 0", {50, 6}, 10, false},
        {u"M0 0 L100 0", {-2, 0}, 10, false},                   // no caps
        {u"M0 0 L100 0 L100 100 Z", {50, 52}, 4, true},         // the closing segment
        {u"M0 0 L100 0 L100 100 Z", {40, 50}, 4, false},
        {u"M0 0 C0 50 100 50 100 0", {50, 37.5f}, 2, true},     // on the flattened curve
        {u"M0 0 C0 50 100 50 100 0", {50, 30}, 2, false},
        {u"M5 5", {5, 5}, 10, false},                           // a lone point
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(FromText(c.Text)->PointInPathOutline(c.Point, c.Width), c.Hit);
    }

    TVelkPathData single;
    single.MoveTo({5, 5});
    EXPECT_FALSE(single.PointInPathOutline(5, 5, 10)); // fewer than 2 entries

    TVelkPathData outline;
    outline.AddPathOutline(*FromText(u"M0 0 L10 0"), 2);
    EXPECT_EQ(outline.GetData(), "M0,-1 L0,1 L10,1 L10,-1 Z ");
    // A closed triangle: one rectangle per side, none for the zero-length return.
    const auto triangle = FromText(u"M0 0 L10 0 L10 10 Z");
    triangle->AddPathOutline(*triangle, 2);
    EXPECT_EQ(triangle->Count(), 4 + 3 * 5);
    TVelkPathData none;
    none.AddPathOutline(*FromText(u"M1 1"), 2);
    EXPECT_EQ(none.Count(), 0);
}

QImage Canvas()
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

TEST(PathPainting, FillsAndStrokesWithThePaintersTools)
{
    // Coordinates are rounded to whole pixels: 2.4 -> 2 and 8.4 -> 8 leave no partly
    // covered edge, even antialiased.
    const auto square = FromText(u"M2.4 2.4 L8.4 2.4 L8.4 8.4 L2.4 8.4 Z");
    QImage filled = Canvas();
    {
        QPainter painter(&filled);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::red);
        square->FillPath(painter, 0.5f); // the opacity is not applied
    }
    EXPECT_EQ(filled.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(filled.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(filled.pixel(8, 8)), 0);

    QImage stroked = Canvas();
    {
        QPainter painter(&stroked);
        painter.setPen(QPen(Qt::blue, 1));
        painter.setBrush(Qt::red);
        square->DrawPath(painter, 1);
        square->FillPath(painter, 0); // nothing at opacity 0
    }
    EXPECT_EQ(qAlpha(stroked.pixel(5, 5)), 0);
    EXPECT_EQ(stroked.pixel(5, 2), qRgb(0, 0, 255));

    // The fill rule follows FillMode: a ring drawn twice in the same direction.
    const auto ring = FromText(u"M1 1 L19 1 L19 19 L1 19 Z M6 6 L14 6 L14 14 L6 14 Z");
    for (const TVelkFillMode mode : {fmEvenOdd, fmNonZero}) {
        ring->SetFillMode(mode);
        QImage image = Canvas();
        {
            QPainter painter(&image);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::red);
            ring->FillPath(painter, 1);
        }
        EXPECT_EQ(qAlpha(image.pixel(10, 10)), mode == fmEvenOdd ? 0 : 255);
        EXPECT_EQ(qAlpha(image.pixel(3, 3)), 255);
    }
}

} // namespace

#include "graphics/region.h"

#include "graphics/backend_path.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QIODevice>
#include <QPainter>

#include <functional>
#include <limits>

namespace velk {
namespace {

using testing::CompareWithReference;
using testing::MessageOf;

// Two overlapping squares on a 64 x 64 device and a point in each of the four zones.
const TRectF SquareA{10, 10, 40, 40};
const TRectF SquareB{25, 25, 55, 55};
const TPointF OnlyA{15, 15};
const TPointF OnlyB{50, 50};
const TPointF Both{30, 30};
const TPointF Neither{58, 5};

QImage Render(const TVelkGPRegionArea& Area, bool Antialiased = false)
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, Antialiased);
    painter.fillPath(Area.FinitePath(), Qt::black);
    return image;
}

bool Painted(const QImage& Image, const TPointF& P)
{
    return Image.pixel(int(P.X), int(P.Y)) == qRgb(0, 0, 0);
}

QPainterPath Ellipse(const QRectF& Rect)
{
    QPainterPath path;
    path.addEllipse(Rect);
    return path;
}

struct CombineCase {
    TVelkGPRegionCombineMode Mode;
    bool OnlyA, OnlyB, Both, Neither;
};

class RegionAreaCombine : public ::testing::TestWithParam<CombineCase> {};

TEST_P(RegionAreaCombine, FillsTheZonesOfTheMode)
{
    const CombineCase& c = GetParam();
    TVelkGPRegionArea area = TVelkGPRegionArea::FromRect(SquareA);
    area.Combine(TVelkGPRegionArea::FromRect(SquareB), c.Mode);
    const QImage image = Render(area);
    const std::pair<TPointF, bool> zones[] = {{OnlyA, c.OnlyA}, {OnlyB, c.OnlyB}, {Both, c.Both}, {Neither, c.Neither}};
    for (const auto& [point, inside] : zones) {
        SCOPED_TRACE(::testing::PrintToString(point.X) + "," + ::testing::PrintToString(point.Y));
        EXPECT_EQ(Painted(image, point), inside);
        EXPECT_EQ(area.IsVisible(point), inside);
    }
    EXPECT_FALSE(area.Infinite);
}

INSTANTIATE_TEST_SUITE_P(Modes, RegionAreaCombine,
                         ::testing::Values(CombineCase{cmReplace, false, true, true, false},
                                           CombineCase{cmIntersect, false, false, true, false},
                                           CombineCase{cmUnion, true, true, true, false},
                                           CombineCase{cmXor, true, true, false, false},
                                           CombineCase{cmExclude, true, false, false, false},
                                           CombineCase{cmComplement, false, true, false, false}),
                         [](const auto& Info) { return EnumName(Info.param.Mode).toStdString(); });

// With the infinite area as one operand; "outside" is a point far from the square.
struct InfiniteCase {
    bool FirstInfinite, SecondInfinite;
    TVelkGPRegionCombineMode Mode;
    bool Infinite, InSquare, Outside;
};

class RegionAreaInfinite : public ::testing::TestWithParam<InfiniteCase> {};

TEST_P(RegionAreaInfinite, CombinesWithTheWholePlane)
{
    const InfiniteCase& c = GetParam();
    const auto make = [](bool Infinite) {
        return Infinite ? TVelkGPRegionArea() : TVelkGPRegionArea::FromRect(SquareA);
    };
    TVelkGPRegionArea area = make(c.FirstInfinite);
    area.Combine(make(c.SecondInfinite), c.Mode);
    EXPECT_EQ(area.Infinite, c.Infinite);
    EXPECT_EQ(area.IsVisible(Both), c.InSquare);
    EXPECT_EQ(area.IsVisible(TPointF{100000, -3000000}), c.Outside);
    EXPECT_EQ(area.IsEmpty(), !c.InSquare && !c.Outside);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionAreaInfinite,
                         ::testing::Values(InfiniteCase{true, false, cmIntersect, false, true, false},
                                           InfiniteCase{false, true, cmIntersect, false, true, false},
                                           InfiniteCase{true, false, cmUnion, true, true, true},
                                           InfiniteCase{false, true, cmUnion, true, true, true},
                                           InfiniteCase{true, false, cmXor, false, false, true},
                                           InfiniteCase{false, true, cmXor, false, false, true},
                                           InfiniteCase{true, true, cmXor, false, false, false},
                                           InfiniteCase{true, false, cmExclude, false, false, true},
                                           InfiniteCase{false, true, cmExclude, false, false, false},
                                           InfiniteCase{true, false, cmComplement, false, false, false},
                                           InfiniteCase{false, true, cmComplement, false, false, true},
                                           InfiniteCase{false, true, cmReplace, true, true, true}));

TEST(RegionArea, UnknownCombineModeIsRefused)
{
    TVelkGPRegionArea area;
    EXPECT_EQ(MessageOf<EGDIPException>([&] { area.Combine({}, static_cast<TVelkGPRegionCombineMode>(6)); }),
              u"Invalid Parameter for GDI+ function"_qs);
}

TEST(RegionArea, InfiniteAndEmptyBounds)
{
    EXPECT_EQ(TVelkGPRegionArea().Bounds(), (TRectF{-4194304, -4194304, 4194304, 4194304}));
    EXPECT_EQ(TVelkGPRegionArea::Empty().Bounds(), TRectF{});
    EXPECT_TRUE(TVelkGPRegionArea::Empty().IsEmpty());
    EXPECT_FALSE(TVelkGPRegionArea().IsEmpty());
}

TEST(RegionArea, OutlinesWithoutAreaAreEmpty)
{
    QPainterPath line;
    line.moveTo(0, 0);
    line.lineTo(20, 0);
    QPainterPath twice; // the same square twice cancels out under the even-odd rule
    twice.addRect(0, 0, 10, 10);
    twice.addRect(0, 0, 10, 10);
    for (const QPainterPath& path : {line, twice}) {
        const auto area = TVelkGPRegionArea::FromPath(path);
        EXPECT_TRUE(area.IsEmpty());
        EXPECT_EQ(area.Bounds(), TRectF{});
        EXPECT_TRUE(area.Scans().isEmpty());
    }
    EXPECT_TRUE(TVelkGPRegionArea::FromRect({5, 5, 5, 30}).IsEmpty());
}

TEST(RegionArea, PixelsAndPointsAreHalfOpen)
{
    const auto area = TVelkGPRegionArea::FromRect({0, 0, 10, 10});
    EXPECT_TRUE(area.IsVisible(TPoint{0, 0}));
    EXPECT_TRUE(area.IsVisible(TPoint{9, 9}));
    EXPECT_FALSE(area.IsVisible(TPoint{10, 5}));
    EXPECT_TRUE(area.IsVisible(TPointF{0, 0}));
    EXPECT_TRUE(area.IsVisible(TPointF{9.99f, 5}));
    EXPECT_FALSE(area.IsVisible(TPointF{10, 5}));
    EXPECT_FALSE(area.IsVisible(TPointF{5, 10}));
}

TEST(RegionArea, RectanglesMustShareArea)
{
    const auto area = TVelkGPRegionArea::FromRect({0, 0, 10, 10});
    EXPECT_TRUE(area.IsVisible(TRectF{9, 9, 20, 20}));
    EXPECT_FALSE(area.IsVisible(TRectF{10, 0, 20, 10})); // touching
    EXPECT_FALSE(area.IsVisible(TRectF{5, 5, 5, 8}));    // no area
    EXPECT_TRUE(area.IsVisible(TRectF{20, 20, 5, 5}));   // reversed corners
    EXPECT_TRUE(TVelkGPRegionArea().IsVisible(TRectF{1e6f, 1e6f, 1e6f + 1, 1e6f + 1}));
}

TEST(RegionArea, TranslateAndTransformMoveTheArea)
{
    TVelkGPRegionArea area = TVelkGPRegionArea::FromRect({0, 0, 10, 5});
    area.Translate(2.5f, -1);
    EXPECT_EQ(area.Bounds(), (TRectF{2.5f, -1, 12.5f, 4}));
    // Row vectors: scale first, then move.
    area.Transform(MatrixMultiply(CreateScalingMatrix(2, 3), CreateTranslationMatrix(1, 1)));
    EXPECT_EQ(area.Bounds(), (TRectF{6, -2, 26, 13}));

    TVelkGPRegionArea infinite;
    infinite.Translate(5, 5);
    infinite.Transform(CreateRotationMatrix(0.5f));
    EXPECT_TRUE(infinite.Infinite);
}

TEST(RegionArea, MovesBeyondWhatAPathHoldsAreRefused)
{
    QPainterPath far;
    far.addRect(0, 0, 1e127, 1e127);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::function<void(TVelkGPRegionArea&)> moves[] = {
        [](TVelkGPRegionArea& a) { a.Transform(CreateScalingMatrix(100, 1)); },
        [nan](TVelkGPRegionArea& a) { a.Translate(nan, 0); },
        [inf](TVelkGPRegionArea& a) { a.Translate(0, inf); },
    };
    for (const auto& move : moves) {
        TVelkGPRegionArea area = TVelkGPRegionArea::FromPath(far);
        EXPECT_EQ(MessageOf<EGDIPException>([&] { move(area); }), u"Value Overflow in GDI+"_qs);
        EXPECT_EQ(area.Path, far);
    }
}

TEST(RegionArea, ScansTakePixelsWhoseCentresAreInside)
{
    EXPECT_EQ(TVelkGPRegionArea::FromRect({0.6f, 0.6f, 10.6f, 10.6f}).Scans(), QRegion(1, 1, 10, 10));
    EXPECT_EQ(TVelkGPRegionArea::FromRect({0.4f, 0.4f, 10.4f, 10.4f}).Scans(), QRegion(0, 0, 10, 10));
    EXPECT_EQ(TVelkGPRegionArea::FromRect({0.6f, 0.6f, 1.4f, 1.4f}).Scans(), QRegion());

    TVelkGPRegionArea l = TVelkGPRegionArea::FromRect({0, 0, 10, 20});
    l.Combine(TVelkGPRegionArea::FromRect({10, 10, 30, 20}), cmUnion);
    EXPECT_EQ(l.Scans(), QRegion(0, 0, 10, 20) + QRegion(10, 10, 20, 10));
    EXPECT_EQ(l.Scans().rectCount(), 2); // banded like QRegion: one band per run of equal rows

    EXPECT_EQ(TVelkGPRegionArea().Scans(), QRegion(-4194304, -4194304, 8388608, 8388608));
}

// Qt's aliased fill also takes the pixels whose centres are inside a polygon: the scans
// of a self-intersecting outline must cover exactly those, under both fill rules.
TEST(RegionArea, ScansMatchTheAliasedFillOfPolygons)
{
    QPainterPath star;
    star.moveTo(32.3, 2.2);
    star.lineTo(51.3, 60.4);
    star.lineTo(2.7, 23.9);
    star.lineTo(61.6, 24.3);
    star.lineTo(12.2, 59.8);
    star.closeSubpath();
    QPainterPath starWinding = star;
    starWinding.setFillRule(Qt::WindingFill);
    for (const QPainterPath& path : {star, starWinding}) {
        const auto area = TVelkGPRegionArea::FromPath(path);
        const QImage image = Render(area);
        const QRegion scans = area.Scans();
        int mismatches = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                mismatches += (image.pixel(x, y) == qRgb(0, 0, 0)) != scans.contains(QPoint(x, y));
        EXPECT_EQ(mismatches, 0);
    }
}

// Curves are followed closely (Qt's own aliased fill flattens them more coarsely): every
// pixel centre clearly inside the ellipse is taken, every one clearly outside is not.
TEST(RegionArea, ScansFollowCurves)
{
    const double cx = 31.9, cy = 28.95, rx = 28.6, ry = 20.85;
    const QRegion scans = TVelkGPRegionArea::FromPath(Ellipse({cx - rx, cy - ry, 2 * rx, 2 * ry})).Scans();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            const double d = dx * dx + dy * dy;
            if (d < 0.995 || d > 1.005) {
                EXPECT_EQ(scans.contains(QPoint(x, y)), d < 1) << x << "," << y;
            }
        }
    }
}

// Teeth across the whole height of the stand-in square: every pixel row differs from
// the one before, so the scans would hold millions of rectangles.
TEST(RegionArea, ScansTooLargeAreRefused)
{
    QPainterPath teeth;
    teeth.moveTo(-4e6, -4e6);
    for (int i = 0; i < 8; ++i) {
        teeth.lineTo(-4e6 + i * 1e6 + 5e5, 4e6);
        teeth.lineTo(-4e6 + (i + 1) * 1e6, -4e6);
    }
    const auto area = TVelkGPRegionArea::FromPath(teeth);
    EXPECT_EQ(MessageOf<EGDIPException>([&] { area.Scans(); }), u"Out Of Memory in GDI+ layer"_qs);
    // Comparing stops at the first pixel that differs.
    EXPECT_FALSE(area.Equals(TVelkGPRegionArea::Empty()));
}

TEST(RegionArea, EqualWhenTheSamePixelsAreCovered)
{
    TVelkGPRegionArea ab = TVelkGPRegionArea::FromRect(SquareA);
    ab.Combine(TVelkGPRegionArea::FromRect(SquareB), cmUnion);
    TVelkGPRegionArea ba = TVelkGPRegionArea::FromRect(SquareB);
    ba.Combine(TVelkGPRegionArea::FromRect(SquareA), cmUnion);
    EXPECT_TRUE(ab.Equals(ba));
    EXPECT_TRUE(TVelkGPRegionArea::FromRect({0, 0, 4, 4}).Equals(TVelkGPRegionArea::FromRegion(QRegion(0, 0, 4, 4))));
    EXPECT_FALSE(ab.Equals(TVelkGPRegionArea::FromRect(SquareA)));
    // A sliver that holds no pixel centre makes no difference.
    EXPECT_TRUE(TVelkGPRegionArea::FromRect({0, 0, 10, 10}).Equals(TVelkGPRegionArea::FromRect({0, 0, 10.3f, 10})));
    EXPECT_FALSE(TVelkGPRegionArea::FromRect({0, 0, 10, 10}).Equals(TVelkGPRegionArea::FromRect({0, 0, 10.6f, 10})));
    EXPECT_TRUE(TVelkGPRegionArea().Equals(TVelkGPRegionArea()));
    EXPECT_FALSE(TVelkGPRegionArea().Equals(ab));
}

TEST(RegionArea, XorOfEllipseAndSquare)
{
    TVelkGPRegionArea area = TVelkGPRegionArea::FromPath(Ellipse({4, 4, 44, 36}));
    area.Combine(TVelkGPRegionArea::FromRect({24, 20, 60, 60}), cmXor);
    EXPECT_TRUE(CompareWithReference(Render(area, true), u"graphics/region_xor.png"_qs, 2));
}

// --- The byte form ---

std::vector<TVelkGPRegionArea> SampleAreas()
{
    QPainterPath curved = Ellipse({1.25, 2.5, 30, 20});
    curved.setFillRule(Qt::WindingFill);
    TVelkGPRegionArea complement;
    complement.Combine(TVelkGPRegionArea::FromRect(SquareA), cmExclude);
    return {TVelkGPRegionArea(), TVelkGPRegionArea::Empty(), TVelkGPRegionArea::FromRect(SquareA),
            TVelkGPRegionArea::FromPath(curved), complement};
}

TEST(RegionArea, DataReadsBackTheSameArea)
{
    for (const TVelkGPRegionArea& area : SampleAreas()) {
        const QByteArray data = area.Data();
        const TVelkGPRegionArea read = TVelkGPRegionArea::FromData(data);
        EXPECT_EQ(read.Infinite, area.Infinite);
        EXPECT_EQ(read.Path, area.Path);
        EXPECT_EQ(read.Path.fillRule(), area.Path.fillRule());
        EXPECT_EQ(read.Data(), data);
    }
}

// Builds region bytes by hand: header fields, then elements (type, x, y).
QByteArray Bytes(const char* Magic, quint8 Version, quint8 Flags, quint32 Count,
                 std::initializer_list<std::tuple<quint8, double, double>> Elements)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.writeRawData(Magic, 4);
    out << Version << Flags << Count;
    for (const auto& [type, x, y] : Elements)
        out << type << x << y;
    return bytes;
}

TEST(RegionArea, MalformedDataIsRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QByteArray good = Bytes("VRGN", 1, 0, 2, {{0, 0, 0}, {1, 5, 5}});
    ASSERT_NO_THROW(TVelkGPRegionArea::FromData(good));
    const QByteArray bad[] = {
        {},
        good.left(9),
        good.left(good.size() - 1),
        good + '\0',
        Bytes("VRGX", 1, 0, 2, {{0, 0, 0}, {1, 5, 5}}),
        Bytes("VRGN", 2, 0, 2, {{0, 0, 0}, {1, 5, 5}}),
        Bytes("VRGN", 1, 4, 2, {{0, 0, 0}, {1, 5, 5}}),                  // unknown flag
        Bytes("VRGN", 1, 1, 2, {{0, 0, 0}, {1, 5, 5}}),                  // infinite with figures
        Bytes("VRGN", 1, 0, 0xFFFFFFFF, {{0, 0, 0}, {1, 5, 5}}),         // count beyond the bytes
        Bytes("VRGN", 1, 0, 2, {{1, 0, 0}, {1, 5, 5}}),                  // no move first
        Bytes("VRGN", 1, 0, 2, {{0, 0, 0}, {7, 5, 5}}),                  // unknown element
        Bytes("VRGN", 1, 0, 2, {{0, 0, 0}, {3, 5, 5}}),                  // curve data without curve
        Bytes("VRGN", 1, 0, 3, {{0, 0, 0}, {2, 5, 5}, {3, 6, 6}}),      // unfinished curve
        Bytes("VRGN", 1, 0, 3, {{0, 0, 0}, {2, 5, 5}, {1, 6, 6}}),      // curve interrupted
        Bytes("VRGN", 1, 0, 2, {{0, 0, 0}, {1, nan, 5}}),
        Bytes("VRGN", 1, 0, 2, {{0, 0, 0}, {1, 1e200, 5}}),
    };
    for (const QByteArray& data : bad) {
        SCOPED_TRACE(data.toHex().toStdString());
        try {
            TVelkGPRegionArea::FromData(data);
            ADD_FAILURE() << "accepted";
        } catch (const EGDIPException& e) {
            EXPECT_EQ(e.Status(), gpsInvalidParameter);
            EXPECT_EQ(e.Message(), u"Invalid Parameter for GDI+ function"_qs);
        }
    }
}

// --- The region class ---

class Region : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
    TVelkGPCanvas Canvas;
};

TEST_F(Region, NeedsAnOwner)
{
    const TVelkGPPath path;
    const std::function<void()> constructors[] = {
        [] { TVelkGPRegion r(nullptr); },
        [] { TVelkGPRegion r(nullptr, TRect{0, 0, 1, 1}); },
        [] { TVelkGPRegion r(nullptr, TRectF{0, 0, 1, 1}); },
        [&] { TVelkGPRegion r(nullptr, path); },
        [] { TVelkGPRegion r(nullptr, static_cast<const TVelkGPRegion*>(nullptr)); },
        [] { TVelkGPRegion r(nullptr, QRegion(0, 0, 1, 1)); },
        [] { TVelkGPRegion r(nullptr, TVelkGPRegionArea().Data()); },
    };
    for (const auto& construct : constructors)
        EXPECT_EQ(MessageOf<EGDIPException>(construct), u"TVelkGPRegion has no owner"_qs);
}

TEST_F(Region, ConstructorsTakeTheirArea)
{
    EXPECT_TRUE(TVelkGPRegion(&Canvas).IsInfinite());
    EXPECT_EQ(TVelkGPRegion(&Canvas, TRect{10, 20, 30, 40}).GetBounds(), (TRectF{10, 20, 30, 40}));
    EXPECT_EQ(TVelkGPRegion(&Canvas, TRectF{1.5f, 2, 3, 4}).Bounds(), (TRectF{1.5f, 2, 3, 4}));
    EXPECT_EQ(TVelkGPRegion(&Canvas, QRegion(5, 6, 7, 8)).GetBounds(), (TRectF{5, 6, 12, 14}));

    TVelkGPPath path(&Canvas);
    path.AddEllipse(TRectF{0, 0, 20, 10});
    const TVelkGPRegion fromPath(&Canvas, path);
    EXPECT_EQ(fromPath.GetBounds(), (TRectF{0, 0, 20, 10}));
    EXPECT_TRUE(fromPath.IsVisible(TPointF{10, 5}));
    EXPECT_FALSE(fromPath.IsVisible(TPointF{1, 1}));

    const TVelkGPRegion source(&Canvas, TRectF{1, 1, 9, 9});
    EXPECT_TRUE(TVelkGPRegion(&Canvas, &source).Equals(source));
    EXPECT_TRUE(TVelkGPRegion(&Canvas, TVelkGPRegion(&Canvas, source.GetData()).GetData()).Equals(source));
}

TEST_F(Region, WithoutSourceCopiesTheOwnersClip)
{
    Canvas.SetClipArea(TVelkGPRegionArea::FromRect({3, 4, 50, 60}));
    const TVelkGPRegion clip(&Canvas, static_cast<const TVelkGPRegion*>(nullptr));
    EXPECT_FALSE(clip.IsInfinite());
    EXPECT_EQ(clip.GetBounds(), (TRectF{3, 4, 50, 60}));
}

TEST_F(Region, FillRuleOfThePathDecides)
{
    // Two nested squares: the even-odd rule leaves a hole, the non-zero rule does not.
    TVelkGPPath path(&Canvas);
    path.AddRectangle(TRectF{0, 0, 30, 30});
    path.AddRectangle(TRectF{10, 10, 20, 20});
    EXPECT_FALSE(TVelkGPRegion(&Canvas, path).IsVisible(TPoint{15, 15}));
    path.SetFillMode(fmNonZero);
    EXPECT_TRUE(TVelkGPRegion(&Canvas, path).IsVisible(TPoint{15, 15}));
}

TEST_F(Region, CombinesEachKindOfOperand)
{
    TVelkGPPath path(&Canvas);
    path.AddRectangle(SquareB);
    TVelkGPRegion other(&Canvas, SquareB);
    const std::function<void(TVelkGPRegion&)> combines[] = {
        [](TVelkGPRegion& r) { r.Combine(TRect{25, 25, 55, 55}, cmXor); },
        [](TVelkGPRegion& r) { r.Combine(SquareB, cmXor); },
        [&](TVelkGPRegion& r) { r.Combine(path, cmXor); },
        [&](TVelkGPRegion& r) { r.Combine(other, cmXor); },
    };
    for (const auto& combine : combines) {
        TVelkGPRegion region(&Canvas, SquareA);
        combine(region);
        EXPECT_TRUE(region.IsVisible(OnlyA));
        EXPECT_TRUE(region.IsVisible(OnlyB));
        EXPECT_FALSE(region.IsVisible(Both));
        EXPECT_FALSE(region.IsVisible(Neither));
    }
}

TEST_F(Region, EveryModificationRaisesOnChange)
{
    const TVelkGPRegion other(&Canvas, SquareB);
    const std::function<void(TVelkGPRegion&)> modifications[] = {
        [](TVelkGPRegion& r) { r.Clear(); },
        [](TVelkGPRegion& r) { r.MakeInfinite(); },
        [](TVelkGPRegion& r) { r.SetBounds(SquareB); },
        [](TVelkGPRegion& r) { r.Combine(TRect{0, 0, 5, 5}, cmUnion); },
        [&](TVelkGPRegion& r) { r.Combine(other, cmIntersect); },
        [&](TVelkGPRegion& r) { r.Assign(&other); },
        [](TVelkGPRegion& r) { r.Assign(QRegion(0, 0, 2, 2)); },
        [](TVelkGPRegion& r) { r.Translate(std::int32_t(1), std::int32_t(2)); },
        [](TVelkGPRegion& r) { r.Translate(0.5f, 0.5f); },
        [](TVelkGPRegion& r) { r.ApplyMatrix(CreateScalingMatrix(2, 2)); },
    };
    for (const auto& modify : modifications) {
        TVelkGPRegion region(&Canvas, SquareA);
        int changes = 0;
        region.OnChange = [&](TObject*) { ++changes; };
        modify(region);
        EXPECT_EQ(changes, 1);
    }
}

TEST_F(Region, ClearMakeInfiniteAndBounds)
{
    TVelkGPRegion region(&Canvas, SquareA);
    region.Clear();
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_EQ(region.GetBounds(), TRectF{});
    EXPECT_FALSE(region.IsVisible(TRect{-100, -100, 100, 100}));
    region.MakeInfinite();
    EXPECT_TRUE(region.IsInfinite());
    EXPECT_EQ(region.GetBounds(), InfiniteAreaRect);
    EXPECT_TRUE(region.IsVisible(TPoint{-1000000, 1000000}));
    region.SetBounds(SquareA);
    EXPECT_EQ(region.Bounds(), SquareA);
}

TEST_F(Region, TranslateAndApplyMatrix)
{
    TVelkGPRegion region(&Canvas, TRect{0, 0, 10, 10});
    region.Translate(std::int32_t(5), std::int32_t(-5));
    EXPECT_EQ(region.GetBounds(), (TRectF{5, -5, 15, 5}));
    region.Translate(0.25f, 0.5f);
    EXPECT_EQ(region.GetBounds(), (TRectF{5.25f, -4.5f, 15.25f, 5.5f}));
    region.ApplyMatrix(CreateRotationAroundMatrix({5.25f, -4.5f}, 3.14159265f / 2));
    const TRectF b = region.GetBounds();
    EXPECT_NEAR(b.Left, -4.75f, 1e-4f);
    EXPECT_NEAR(b.Top, -4.5f, 1e-4f);
    EXPECT_NEAR(b.Right, 5.25f, 1e-4f);
    EXPECT_NEAR(b.Bottom, 5.5f, 1e-4f);
}

TEST_F(Region, HandleAndScansInTheOwnersMatrix)
{
    TVelkGPRegion region(&Canvas, TRect{0, 0, 10, 20});
    region.Combine(TRect{10, 10, 30, 20}, cmUnion);
    EXPECT_EQ(region.GetHRGN(), QRegion(0, 0, 10, 20) + QRegion(10, 10, 20, 10));
    EXPECT_EQ(region.GetRegionScans(), (QList<TRectF>{{0, 0, 10, 10}, {0, 10, 30, 20}}));

    Canvas.SetMatrix(MatrixMultiply(CreateScalingMatrix(2, 2), CreateTranslationMatrix(1, 0)));
    EXPECT_EQ(region.GetRegionScans(), (QList<TRectF>{{1, 0, 21, 20}, {1, 20, 61, 40}}));
    // The region itself stays in device space.
    EXPECT_EQ(region.GetBounds(), (TRectF{0, 0, 30, 20}));

    region.MakeInfinite();
    EXPECT_EQ(region.GetRegionScans(), QList<TRectF>{InfiniteAreaRect});
}

TEST_F(Region, AssignCopiesAreas)
{
    TVelkGPRegion region(&Canvas);
    const TVelkGPRegion source(&Canvas, SquareB);
    region.Assign(&source);
    EXPECT_TRUE(region.Equals(source));
    region.Assign(QRegion(1, 2, 3, 4));
    EXPECT_EQ(region.GetHRGN(), QRegion(1, 2, 3, 4));
    EXPECT_EQ(MessageOf<EConvertError>([&] { region.Assign(&Canvas); }),
              u"Cannot assign a TVelkGPCanvas to a TVelkGPRegion"_qs);
}

TEST_F(Region, CloneKeepsOwnerAndArea)
{
    const TVelkGPRegion region(&Canvas, SquareA);
    const auto clone = region.CloneAs<TVelkGPRegion>();
    EXPECT_EQ(clone->Owner(), &Canvas);
    EXPECT_TRUE(clone->Equals(region));
    EXPECT_NE(std::find(Canvas.GPObjects().begin(), Canvas.GPObjects().end(), clone.get()),
              Canvas.GPObjects().end());
}

TEST_F(Region, OutlivingItsCanvas)
{
    auto canvas = std::make_unique<TVelkGPCanvas>();
    TVelkGPRegion region(canvas.get(), SquareA);
    canvas.reset();
    EXPECT_EQ(region.Owner(), nullptr);
    EXPECT_EQ(region.GetRegionScans(), QList<TRectF>{SquareA});
    // A copy needs an owner again.
    EXPECT_EQ(MessageOf<EGDIPException>([&] { region.Clone(); }), u"TVelkGPRegion has no owner"_qs);
}

} // namespace
} // namespace velk

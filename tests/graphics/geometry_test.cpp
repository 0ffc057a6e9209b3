#include "graphics/geometry.h"
#include "platform/exceptions.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <numbers>

using namespace velk;

namespace velk {
void PrintTo(const TPointF& P, std::ostream* Out)
{
    *Out << '(' << P.X << ", " << P.Y << ')';
}
void PrintTo(const TRectF& R, std::ostream* Out)
{
    *Out << '(' << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ')';
}
} // namespace velk

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float HalfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(const TPointF& Actual, const TPointF& Expected, float Tolerance = 1e-4f)
{
    EXPECT_NEAR(Actual.X, Expected.X, Tolerance) << "x of (" << Actual.X << ", " << Actual.Y << ")";
    EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance) << "y of (" << Actual.X << ", " << Actual.Y << ")";
}

TEST(Geometry, Tolerances)
{
    struct Case {
        float A, B, Tolerance;
        bool Same;
    } cases[] = {
        {1, 1.00009f, 0, true},        // the minimum absolute tolerance
        {1, 1.0002f, 0, false},
        {10000, 10000.9f, 0, true},    // relative: 1e-4 of the smaller magnitude
        {10000, 10001.1f, 0, false},
        {0, 0.00009f, 0, true},
        {1, 1.4f, 0.5f, true},         // an explicit tolerance replaces the default
        {1, 1.6f, 0.5f, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameValue(c.A, c.B, c.Tolerance), c.Same) << c.A << " vs " << c.B;

    EXPECT_TRUE(SameSingle(1, 1.00005f));
    EXPECT_FALSE(SameSingle(10000, 10000.01f)); // absolute only, unlike SameValue
    EXPECT_TRUE(SamePointF({1, 10000}, {1.00005f, 10000.5f}));
    EXPECT_FALSE(SamePointF({1, 2}, {1, 2.001f}));
}

TEST(Geometry, Arithmetic)
{
    EXPECT_EQ(DivideOr(6, 3, -1), 2);
    EXPECT_EQ(DivideOr(6, 0, -1), -1);
    EXPECT_EQ(LerpPointF({0, 10}, {10, 20}, 0.25f), TPointF(2.5f, 12.5f));
    // Equal coordinates are copied, so infinities survive instead of giving NaN.
    EXPECT_EQ(LerpPointF({Inf, 0}, {Inf, 10}, 0.5f), TPointF(Inf, 5));
    EXPECT_TRUE(CharInArray(u'L', u"MmLl"));
    EXPECT_FALSE(CharInArray(u'x', u"MmLl"));
    EXPECT_FALSE(CharInArray(u'x', {}));
}

TEST(Geometry, IntegerConversionsRoundHalvesToEven)
{
    EXPECT_EQ(PointFToPoint({2.5f, 3.5f}), TPoint(2, 4));
    EXPECT_EQ(PointFToPoint({-2.5f, -0.6f}), TPoint(-2, -1));
    EXPECT_EQ(RectFToRect({0.5f, 1.5f, 2.4f, -3.5f}), TRect(0, 2, 2, -4));
    EXPECT_EQ(PointToPointF({-3, 7}), TPointF(-3, 7));
    EXPECT_EQ(RectToRectF({1, 2, 3, 4}), MakeRectF(1, 2, 3, 4));
    for (float bad : {NaN, Inf, 3e9f})
        EXPECT_EQ(velk::testing::MessageOf<EInvalidOp>([&] { PointFToPoint({bad, 0}); }), "Invalid floating point operation");
}

TEST(Geometry, PointText)
{
    EXPECT_EQ(PointFToString({1.5f, -2}, u"0.###"), "(1.5,-2)");
    EXPECT_EQ(PointFToString({1.23456f, 0}, u"0.00"), "(1.23,0.00)");
    EXPECT_EQ(StringToPointF(PointFToString({0.1f, 1e-7f}, u"")), TPointF(0.1f, 1e-7f));

    struct Case {
        const char16_t* Text;
        TPointF Point;
    } cases[] = {
        {u"(1.5,2)", {1.5f, 2}},
        {u"( -1.5 , 2e3 )", {-1.5f, 2000}},
        {u"(1,5)", {1, 5}},
        {u"(1,5 2,5)", {}},     // a comma is never a decimal point
        {u"(1.5;2)", {}},
        {u"1.5,2", {}},         // the second and third pieces are X and Y
        {u"(abc)", {}},
        {u"", {}},
        {u"(nan,1)", {}},
        {u"(1,inf)", {}},
        {u"(1e39,1)", {}},      // beyond the single range
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringToPointF(c.Text), c.Point) << QString::fromUtf16(c.Text).toStdString();
}

TEST(Geometry, ColorText)
{
    struct Case {
        std::uint32_t Color;
        const char* Text;
    } cases[] = {
        {0xFF0000, "red"},   {0x00FF00, "lime"},    {0x008000, "green"},   {0x000000, "black"},
        {0xC0C0C0, "silver"}, {0xFFFFFFFF, "white"}, {0x123456, "#123456"}, {0x0000AB, "#0000ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToText(c.Color), c.Text);
}

TEST(Geometry, RectangleHelpers)
{
    EXPECT_EQ(RectFCenter({10, 20, 30, 60}), TPointF(20, 40));
    TRectF r{0, 0, 2, 2};
    EXPECT_TRUE(OffsetRectF(&r, 3, -1));
    EXPECT_EQ(r, MakeRectF(3, -1, 5, 1));
    EXPECT_FALSE(OffsetRectF(nullptr, 3, -1));
}

TEST(Geometry, CenterRectFOffsetsByWholeNumbers)
{
    struct Case {
        TRectF R, Bounds, Expected;
    } cases[] = {
        {{0, 0, 3, 3}, {0, 0, 10, 10}, {4, 4, 7, 7}},           // round(3.5) = 4
        {{0, 0, 5, 5}, {0, 0, 10, 10}, {2, 2, 7, 7}},           // round(2.5) = 2
        {{7, 9, 10, 12}, {100, 50, 110, 60}, {104, 54, 107, 57}},
        {{0, 0, 20, 2}, {0, 0, 10, 10}, {-5, 4, 15, 6}},        // larger than Bounds
    };
    for (const Case& c : cases)
        EXPECT_EQ(CenterRectF(c.R, c.Bounds), c.Expected);
}

TEST(Geometry, FitRectF)
{
    struct Case {
        TRectF R, Bounds;
        bool AllowGrow;
        float Ratio;
        TRectF Expected;
    } cases[] = {
        {{1, 2, 3, 4}, {0, 0, 0, 50}, true, 1, {1, 2, 3, 4}},           // zero area: R untouched
        {{0, 0, 200, 100}, {0, 0, 100, 50}, false, 2, {0, 0, 100, 50}},
        {{0, 0, 50, 25}, {0, 0, 100, 50}, false, 0.5f, {25, 12, 75, 37}}, // only centred
        {{0, 0, 50, 25}, {0, 0, 100, 50}, true, 0.5f, {0, 0, 100, 50}},
        {{0, 0, 100, 100}, {10, 0, 210, 100}, true, 1, {60, 0, 160, 100}},
        {{5, 5, 5, 5}, {0, 0, 10, 10}, true, 0, {5, 5, 5, 5}},          // empty R keeps its size
    };
    for (const Case& c : cases) {
        TRectF r = c.R;
        EXPECT_EQ(FitRectF(r, c.Bounds, c.AllowGrow), c.Ratio);
        EXPECT_EQ(r, c.Expected);
    }
}

TEST(Geometry, PointInPolygonF)
{
    const TVelkPoints square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    TVelkPoints closedSquare = square;
    closedSquare.append(square.first());
    const TVelkPoints bowtie{{0, 0}, {10, 10}, {10, 0}, {0, 10}};
    struct Case {
        TPointF P;
        bool InSquare, InBowtie;
    } cases[] = {
        {{5, 5}, true, true},   // the bowtie's crossing point: only its right edge lies beyond
        {{0, 5}, true, true},   // left edge: inside
        {{10, 5}, false, false}, // right edge: outside
        {{5, 0}, true, false},  // bottom edge (y = min): inside
        {{5, 10}, false, false},
        {{2, 5}, true, true},
        {{-1, 5}, false, false},
        {{5, 2}, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointInPolygonF(square, c.P.X, c.P.Y), c.InSquare) << c.P.X << "," << c.P.Y;
        EXPECT_EQ(PointInPolygonF(closedSquare, c.P.X, c.P.Y), c.InSquare) << c.P.X << "," << c.P.Y;
        EXPECT_EQ(PointInPolygonF(bowtie, c.P.X, c.P.Y), c.InBowtie) << c.P.X << "," << c.P.Y;
    }
    EXPECT_FALSE(PointInPolygonF({}, 0, 0));
}

TEST(Geometry, Vectors)
{
    EXPECT_EQ(MakeVector(1, 2, 3), TVector(1, 2, 3));
    EXPECT_EQ(VectorFromPointF({1, 2}, 0), TVector(1, 2, 0));
    EXPECT_EQ(PointFromVector({4, 6, 2}), TPointF(4, 6)); // no division by W
    EXPECT_EQ(VectorLengthSquared({3, 4, 9}), 25);
    const TVector unit = NormalizeVector({3, -4, 7});
    EXPECT_FLOAT_EQ(unit.X, 0.6f);
    EXPECT_FLOAT_EQ(unit.Y, -0.8f);
    EXPECT_EQ(unit.W, 7);
    EXPECT_EQ(NormalizeVector({0, 0, 5}), TVector(0, 0, 5));

    const TMatrix m = MatrixMultiply(CreateScalingMatrix(2, 3), CreateTranslationMatrix(10, 20));
    EXPECT_EQ(VectorTimesMatrix({1, 1, 1}, m), TVector(12, 23, 1));
    EXPECT_EQ(VectorTimesMatrix({1, 1, 0}, m), TVector(2, 3, 1)); // a direction is not moved
    EXPECT_EQ(PointTimesMatrix({1, 1}, m), TPointF(12, 23));
}

TEST(Geometry, MatrixProductAppliesLeftFactorFirst)
{
    const TMatrix scale = CreateScalingMatrix(2, 2);
    const TMatrix move = CreateTranslationMatrix(10, 0);
    EXPECT_EQ(PointTimesMatrix({1, 1}, MatrixMultiply(scale, move)), TPointF(12, 2));
    EXPECT_EQ(PointTimesMatrix({1, 1}, MatrixMultiply(move, scale)), TPointF(22, 2));
    // Entries that take no part in transforming a point still multiply.
    TMatrix a = IdentityMatrix;
    a.m13 = 0.5f;
    EXPECT_EQ(MatrixMultiply(a, move).m13, 0.5f);
    EXPECT_EQ(MatrixMultiply(move, a).m33, 6);
}

TEST(Geometry, Rotations)
{
    // Positive angles turn +X towards +Y.
    ExpectNear(PointTimesMatrix({1, 0}, CreateRotationMatrix(HalfPi)), {0, 1});
    const TMatrix around = CreateRotationAroundMatrix({10, 10}, HalfPi);
    ExpectNear(PointTimesMatrix({20, 10}, around), {10, 20});
    ExpectNear(PointTimesMatrix({10, 10}, around), {10, 10});

    // Only two corners are transformed, and the result is not normalised.
    const TRectF r = TransformRectF(CreateRotationMatrix(HalfPi), {0, 0, 10, 20});
    EXPECT_NEAR(r.Left, 0, 1e-5);
    EXPECT_NEAR(r.Right, -20, 1e-5);
    EXPECT_NEAR(r.Bottom, 10, 1e-5);
    EXPECT_GT(r.Left, r.Right);

    // All four corners, normalised: the whole rotated rectangle.
    const TRectF box = TransformRectBoundsF(CreateRotationMatrix(HalfPi / 2), {0, 0, 10, 10});
    EXPECT_NEAR(box.Left, -7.0711f, 1e-3);
    EXPECT_NEAR(box.Top, 0, 1e-3);
    EXPECT_NEAR(box.Right, 7.0711f, 1e-3);
    EXPECT_NEAR(box.Bottom, 14.1421f, 1e-3);
}

TEST(Geometry, MatrixComparison)
{
    TMatrix m = IdentityMatrix;
    EXPECT_TRUE(IsIdentityMatrix(m));
    m[8] = 1.0000001f; // flat index 8 is m33
    EXPECT_EQ(m.m33, 1.0000001f);
    EXPECT_FALSE(IsIdentityMatrix(m));
    EXPECT_TRUE(SameMatrix(m, IdentityMatrix, 0));
    m[7] = 0.01f; // m32
    EXPECT_FALSE(SameMatrix(m, IdentityMatrix, 0));
    EXPECT_TRUE(SameMatrix(m, IdentityMatrix, 0.02f));
    EXPECT_EQ(CreateScalingMatrix(2, 3), TMatrix(2, 0, 0, 0, 3, 0, 0, 0, 1));
    EXPECT_EQ(CreateTranslationMatrix(4, 5), TMatrix(1, 0, 0, 0, 1, 0, 4, 5, 1));
}

TEST(Geometry, SplineBasis)
{
    struct Case {
        int Kind;
        float T, Weight;
    } cases[] = {
        {0, 0, 1.f / 6}, {1, 0, 2.f / 3}, {2, 0, 1.f / 6}, {3, 0, 0},
        {0, 1, 0},       {3, 1, 1.f / 6}, {1, 0.5f, 23.f / 48},
        {10, 0, 0},      {11, 0, 1},      {12, 1, 1},      {13, 1, 0},
        {10, 0.5f, -0.0625f}, {12, 0.5f, 0.5625f},
        {4, 0.5f, 0},    {-1, 0.5f, 0},   {14, 0.5f, 0},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(SplineBasis(c.Kind, c.T), c.Weight) << "kind " << c.Kind << " at " << c.T;
    for (int offset : {0, 10})
        for (float t : {0.f, 0.3f, 0.7f, 1.f})
            EXPECT_NEAR(SplineBasis(offset, t) + SplineBasis(offset + 1, t) + SplineBasis(offset + 2, t)
                            + SplineBasis(offset + 3, t),
                        1, 1e-6);
}

TEST(Geometry, SplinePointsSamplesEachSegment)
{
    EXPECT_TRUE(SplinePoints({}, false, 1).isEmpty());
    EXPECT_TRUE(SplinePoints({{1, 1}}, false, 1).isEmpty());

    // Catmull-Rom passes through its points: one sample per unit, both ends included.
    const TVelkPoints line = SplinePoints({{0, 0}, {10, 0}, {10, 5}}, false, 1);
    ASSERT_EQ(line.size(), 11 + 6);
    ExpectNear(line[0], {0, 0});
    ExpectNear(line[10], {10, 0});
    ExpectNear(line[11], {10, 0});
    ExpectNear(line.last(), {10, 5});

    // A uniform B-spline only approaches them.
    const TVelkPoints smooth = SplinePoints({{0, 0}, {6, 0}}, true, 2);
    ASSERT_EQ(smooth.size(), 4);
    ExpectNear(smooth.first(), {1, 0});
    ExpectNear(smooth.last(), {5, 0});

    // A segment of length 0 counts as length 1.
    EXPECT_EQ(SplinePoints({{3, 3}, {3, 3}}, false, 0.5f).size(), 3);
}

TEST(Geometry, SplinePointsStaysBounded)
{
    for (float density : {0.f, -1.f, NaN, Inf, -Inf})
        EXPECT_TRUE(SplinePoints({{0, 0}, {10, 0}}, false, density).isEmpty()) << density;
    EXPECT_TRUE(SplinePoints({{0, 0}, {NaN, 0}}, false, 1).isEmpty());
    EXPECT_TRUE(SplinePoints({{0, 0}, {Inf, 0}}, false, 1).isEmpty());

    // Long segments and tiny densities are sampled evenly, ends included.
    const TVelkPoints huge = SplinePoints({{0, 0}, {1e30f, 0}}, false, 1);
    ASSERT_EQ(huge.size(), MaxSplineSamples);
    EXPECT_EQ(huge.first(), TPointF(0, 0));
    EXPECT_FLOAT_EQ(huge.last().X, 1e30f);
    EXPECT_EQ(SplinePoints({{0, 0}, {1, 0}, {2, 0}}, true, 1e-30f).size(), 2 * MaxSplineSamples);
    EXPECT_EQ(SplinePoints({{0, 0}, {999, 0}}, false, 1).size(), MaxSplineSamples);
}

} // namespace

#include "conformance_compare.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace velk::conformance {
namespace {

constexpr int Side = 100; // 10 000 pixels: 0.1 % is 10 pixels, 2 % is 200

QImage Blank()
{
    QImage image(Side, Side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage WithRect(const QRect& Rect, QColor Color)
{
    QImage image = Blank();
    QPainter(&image).fillRect(Rect, Color);
    return image;
}

// Sets Count pixels of a blank image to black, along the rows from (10, 10).
QImage WithDots(int Count)
{
    QImage image = Blank();
    for (int i = 0; i < Count; ++i)
        image.setPixel(10 + (i % 40) * 2, 10 + (i / 40) * 2, qRgb(0, 0, 0));
    return image;
}

TEST(ConformanceCompare, IdenticalImagesPassWithNoDifference)
{
    const QImage image = WithRect(QRect(20, 20, 40, 30), Qt::blue);
    const TConformanceComparison result = CompareConformance(image, image);
    EXPECT_TRUE(result.Passed());
    EXPECT_EQ(result.Rule1Percent, 0);
    EXPECT_EQ(result.Rule2Percent, 0);
}

TEST(ConformanceCompare, EdgesMovedByOnePixelPass)
{
    const QImage reference = WithRect(QRect(20, 20, 40, 40), Qt::black);
    for (const QPoint shift : {QPoint(1, 0), QPoint(0, -1), QPoint(1, 1)}) {
        const TConformanceComparison result =
            CompareConformance(reference, WithRect(QRect(20, 20, 40, 40).translated(shift), Qt::black));
        EXPECT_TRUE(result.Passed()) << shift.x() << "," << shift.y();
        EXPECT_EQ(result.Rule1Percent, 0);
        EXPECT_GT(result.Rule2Percent, 0); // the moved edges differ in place, within the 2 %
    }
    // Two pixels is a misplaced feature, not anti-aliasing.
    EXPECT_FALSE(CompareConformance(reference, WithRect(QRect(22, 20, 40, 40), Qt::black)).Passed());
}

TEST(ConformanceCompare, MissingSmallFeatureFailsRuleOneBothWays)
{
    // A 6×6 marker is 0.36 % of the picture: far below rule 2's 2 %, caught by rule 1.
    const QImage with = WithRect(QRect(70, 70, 6, 6), Qt::black);
    const QImage without = Blank();
    for (const auto& [reference, actual] : {std::pair{with, without}, std::pair{without, with}}) {
        const TConformanceComparison result = CompareConformance(reference, actual);
        EXPECT_FALSE(result.Passed());
        EXPECT_DOUBLE_EQ(result.Rule1Percent, 0.36);
        EXPECT_DOUBLE_EQ(result.Rule2Percent, 0.36);
    }
}

TEST(ConformanceCompare, RuleOneLimitIsATenthOfAPercent)
{
    // Isolated dots (two pixels apart) have no close neighbour in a blank image.
    const struct {
        int Dots;
        bool Passes;
    } cases[] = {{10, true}, {11, false}};
    for (const auto& c : cases) {
        const TConformanceComparison result = CompareConformance(Blank(), WithDots(c.Dots));
        EXPECT_EQ(result.Passed(), c.Passes) << c.Dots;
        EXPECT_DOUBLE_EQ(result.Rule1Percent, c.Dots / 100.0);
    }
}

TEST(ConformanceCompare, ColourThresholdsAreStrict)
{
    // Over a 50×50 area (25 %): off by 32 passes both rules, by 33 fails rule 2 only,
    // by 65 fails both.
    const struct {
        int Offset;
        double Rule1;
        double Rule2;
    } cases[] = {{32, 0, 0}, {33, 0, 25}, {64, 0, 25}, {65, 25, 25}};
    const QImage reference = WithRect(QRect(0, 0, 50, 50), QColor(100, 100, 100));
    for (const auto& c : cases) {
        const TConformanceComparison result =
            CompareConformance(reference, WithRect(QRect(0, 0, 50, 50), QColor(100, 100 + c.Offset, 100)));
        EXPECT_DOUBLE_EQ(result.Rule1Percent, c.Rule1) << c.Offset;
        EXPECT_DOUBLE_EQ(result.Rule2Percent, c.Rule2) << c.Offset;
        EXPECT_EQ(result.Passed(), c.Offset <= 32) << c.Offset;
    }
}

TEST(ConformanceCompare, WrongOpacityOverAnAreaFails)
{
    // Half-transparent black over white is mid grey: drawn opaque it is 128 off in place.
    const QImage reference = WithRect(QRect(10, 10, 30, 30), QColor(0, 0, 0, 128));
    const TConformanceComparison result = CompareConformance(reference, WithRect(QRect(10, 10, 30, 30), Qt::black));
    EXPECT_FALSE(result.Passed());
    EXPECT_DOUBLE_EQ(result.Rule2Percent, 9);
}

TEST(ConformanceCompare, ImagesAreComparedOverWhite)
{
    // Transparent and opaque white are the same picture; so are straight-alpha
    // half-transparent red and its composite.
    QImage white(Side, Side, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(CompareConformance(white, Blank()).Rule2Percent, 0);

    const QImage halfRed = WithRect(QRect(0, 0, Side, Side), QColor(255, 0, 0, 128));
    const QRgb composite = CompositeOverWhite(halfRed).pixel(5, 5);
    EXPECT_EQ(qRed(composite), 255);
    EXPECT_NEAR(qGreen(composite), 127, 1);
    EXPECT_NEAR(qBlue(composite), 127, 1);
}

TEST(ConformanceCompare, PaletteAndGreyImagesDecodeLikeTheirRgbaEquivalent)
{
    QImage palette(Side, Side, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 0, 0, 0), qRgba(0, 128, 0, 255), qRgba(0, 0, 255, 128)});
    palette.fill(0);
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 60; ++x)
            palette.setPixel(x, y, x < 40 ? 1 : 2);
    QImage rgba = Blank();
    {
        QPainter painter(&rgba);
        painter.fillRect(QRect(20, 20, 20, 20), QColor(0, 128, 0));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(40, 20, 20, 20), QColor(0, 0, 255, 128));
    }
    EXPECT_EQ(CompareConformance(palette, rgba).Rule2Percent, 0);

    QImage grey(Side, Side, QImage::Format_Grayscale8);
    grey.fill(200);
    EXPECT_EQ(CompareConformance(grey, WithRect(QRect(0, 0, Side, Side), QColor(200, 200, 200))).Rule2Percent, 0);
}

TEST(ConformanceCompare, DifferentSizesFail)
{
    QImage taller(Side, Side + 1, QImage::Format_ARGB32);
    taller.fill(Qt::transparent);
    const TConformanceComparison result = CompareConformance(Blank(), taller);
    EXPECT_FALSE(result.SameSize);
    EXPECT_FALSE(result.Passed());
}

TEST(ConformanceCompare, DiffImageShowsBothPicturesAndMarksDifferences)
{
    const QImage reference = WithRect(QRect(70, 70, 6, 6), Qt::black);
    const QImage actual = WithRect(QRect(0, 0, 50, 50), QColor(0, 0, 0, 50));
    const QImage diff = ConformanceDiffImage(reference, actual);
    ASSERT_EQ(diff.size(), QSize(3 * Side + 8, Side));
    const int ours = Side + 4;
    const int marks = 2 * (Side + 4);
    EXPECT_EQ(diff.pixel(72, 72), qRgb(0, 0, 0));
    EXPECT_EQ(diff.pixel(ours + 10, 10), CompositeOverWhite(actual).pixel(10, 10));
    EXPECT_EQ(diff.pixel(marks + 72, 72), qRgb(255, 0, 0));   // missing marker: rule 1
    EXPECT_EQ(diff.pixel(marks + 10, 10), qRgb(255, 160, 0)); // 50 off over an area: rule 2
    EXPECT_EQ(diff.pixel(marks + 90, 10), qRgb(254, 254, 254)); // alike: faded reference
}

} // namespace
} // namespace velk::conformance

#include "graphics/brush.h"
#include "graphics/hatch_styles.h"
#include "tests/support/image_compare.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <bit>

using namespace velk;
using velk::testing::CompareWithReference;

namespace {

constexpr TVelkGPColor Fore = 0xFF000000;
constexpr TVelkGPColor Back = 0xFFFFFFFF;

int CountSet(TVelkGPHatchStyle Style)
{
    int count = 0;
    for (std::uint8_t row : HatchPattern(Style))
        count += std::popcount(row);
    return count;
}

// The pattern as eight rows of '#' and '.'.
std::string Picture(TVelkGPHatchStyle Style)
{
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            text += HatchPixel(Style, x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

} // namespace

TEST(HatchStyles, EveryStyleTilesItsPatternWithTheBrushColours)
{
    for (int i = 0; i < int(EnumNames<TVelkGPHatchStyle>::Names.size()); ++i) {
        const auto style = static_cast<TVelkGPHatchStyle>(i);
        TVelkGPBrush brush(nullptr, bkHatchFill, 0xFFFF0000);
        brush.SetBackColor(0xFF0000FF);
        brush.SetHatchStyle(style);
        QImage image(20, 12, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.fillRect(image.rect(), brush.Handle());
        painter.end();
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                wrong += image.pixel(x, y) != (HatchPixel(style, x, y) ? 0xFFFF0000u : 0xFF0000FFu);
        EXPECT_EQ(wrong, 0) << EnumName(style).toStdString();
    }
}

TEST(HatchStyles, PatternsLookLikeTheirNames)
{
    EXPECT_EQ(Picture(hsHorizontal), "########\n........\n........\n........\n"
                                     "........\n........\n........\n........\n");
    // Forward diagonals run from the top left down to the right, backward ones up.
    EXPECT_EQ(Picture(hsForwardDiagonal), "#.......\n.#......\n..#.....\n...#....\n"
                                          "....#...\n.....#..\n......#.\n.......#\n");
    EXPECT_EQ(Picture(hsBackwardDiagonal), ".......#\n......#.\n.....#..\n....#...\n"
                                           "...#....\n..#.....\n.#......\n#.......\n");
    EXPECT_EQ(Picture(hs50Percent), "#.#.#.#.\n.#.#.#.#\n#.#.#.#.\n.#.#.#.#\n"
                                    "#.#.#.#.\n.#.#.#.#\n#.#.#.#.\n.#.#.#.#\n");
    EXPECT_EQ(Picture(hsLargeCheckerBoard), "####....\n####....\n####....\n####....\n"
                                            "....####\n....####\n....####\n....####\n");
    // Light lines at half the spacing, dark ones twice as wide, wide ones three times.
    EXPECT_EQ(CountSet(hsHorizontal), 8);
    EXPECT_EQ(CountSet(hsLightHorizontal), 16);
    EXPECT_EQ(CountSet(hsNarrowHorizontal), 32);
    EXPECT_EQ(CountSet(hsDarkHorizontal), 32);
    EXPECT_EQ(CountSet(hsWideDownwardDiagonal), 24);
}

TEST(HatchStyles, PercentagesSetThatShareOfThePixels)
{
    struct TCase {
        TVelkGPHatchStyle Style;
        int Pixels;
    };
    const TCase cases[] = {{hs05Percent, 3},  {hs10Percent, 6},  {hs20Percent, 13}, {hs25Percent, 16},
                           {hs30Percent, 19}, {hs40Percent, 26}, {hs50Percent, 32}, {hs60Percent, 38},
                           {hs70Percent, 45}, {hs75Percent, 48}, {hs80Percent, 51}, {hs90Percent, 58}};
    for (const TCase& c : cases)
        EXPECT_EQ(CountSet(c.Style), c.Pixels) << EnumName(c.Style).toStdString();
    // Evenly spread: a quarter is every other pixel of every other row.
    EXPECT_EQ(Picture(hs25Percent), "#.#.#.#.\n........\n#.#.#.#.\n........\n"
                                    "#.#.#.#.\n........\n#.#.#.#.\n........\n");
}

TEST(HatchStyles, ImageIsForeOnBackAndTheTileRepeats)
{
    const QImage image = HatchImage(hsCross, 0x80FF0000, 0xFF00FF00);
    ASSERT_EQ(image.size(), QSize(8, 8));
    EXPECT_EQ(image.pixel(0, 5), qPremultiply(0x80FF0000));
    EXPECT_EQ(image.pixel(5, 5), 0xFF00FF00u);
    EXPECT_TRUE(HatchPixel(hsCross, -8, 3));
    EXPECT_FALSE(HatchPixel(hsCross, -7, 3));
}

TEST(HatchStyles, ReferenceSheet)
{
    // All 53 styles in order, nine to a row, each two tiles square with a gap.
    constexpr int cell = 18, columns = 9;
    const int count = int(EnumNames<TVelkGPHatchStyle>::Names.size());
    QImage sheet(columns * cell, (count + columns - 1) / columns * cell, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(0xFFC0C0C0);
    QPainter painter(&sheet);
    for (int i = 0; i < count; ++i) {
        TVelkGPBrush brush(nullptr, bkHatchFill, Fore);
        brush.SetBackColor(Back);
        brush.SetHatchStyle(static_cast<TVelkGPHatchStyle>(i));
        const QPoint corner(i % columns * cell + 1, i / columns * cell + 1);
        painter.setBrushOrigin(corner);
        painter.fillRect(QRect(corner, QSize(16, 16)), brush.Handle());
    }
    painter.end();
    EXPECT_TRUE(CompareWithReference(sheet, u"graphics/hatch_styles.png"_qs));
}

#include "graphics/gp_color.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velk;

TEST(GPColor, GrayColorRoundsTheWeightedSumHalfToEvenAndKeepsAlpha)
{
    struct TCase {
        TVelkGPColor Color;
        TVelkGPColor Gray;
    };
    const TCase cases[] = {
        {0xFF102030, 0xFF191919}, // 24.8 → 25
        {0x80FFFFFF, 0x80FFFFFF}, // the weights sum to 1
        {0x00000000, 0x00000000},
        {0xFFFF0000, 0xFF8F8F8F}, // 142.8 → 143
        {0xFF0000FF, 0xFF1C1C1C}, // 28.05 → 28
        {0xFF000032, 0xFF060606}, // 5.5 → 6
        {0xFF00002D, 0xFF050505}, // 4.95 → 5
    };
    for (const TCase& c : cases)
        EXPECT_EQ(GrayColor(c.Color), c.Gray) << std::hex << c.Color;
}

TEST(GPColor, LerpColorTruncatesEachChannelTowardsItsStart)
{
    struct TCase {
        TVelkGPColor A;
        TVelkGPColor B;
        float T;
        TVelkGPColor Result;
    };
    const TCase cases[] = {
        {0xFF000000, 0xFFFFFFFF, 0.5f, 0xFF7F7F7F}, // 127.5 → 127
        {0xFFFFFFFF, 0xFF000000, 0.5f, 0xFF808080}, // 255 + trunc(-127.5) = 128
        {0x00FF0000, 0xFF0000FF, 0.25f, 0x3FC0003F},
        {0xFF102030, 0x80405060, 0, 0xFF102030},
        {0xFF102030, 0x80405060, 1, 0x80405060},
        // Beyond 0…1 the channels stop at 0 and 255.
        {0xFF808080, 0xFFFFFFFF, 3, 0xFFFFFFFF},
        {0xFF808080, 0xFFFFFFFF, -3, 0xFF000000},
        {0xFF808080, 0xFFFFFFFF, std::numeric_limits<float>::quiet_NaN(), 0xFF808080},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(LerpColor(c.A, c.B, c.T), c.Result) << std::hex << c.A << " " << c.B << " " << c.T;
}

TEST(GPColor, OpacityScalesOnlyAlphaAndTruncates)
{
    struct TCase {
        TVelkGPColor Color;
        float Opacity;
        TVelkGPColor Result;
    };
    const TCase cases[] = {
        {0x80FF0000, 0.5f, 0x40FF0000},
        {0x80FF0000, 0.3f, 0x26FF0000}, // trunc(38.4) = 38
        {0xFF123456, 0.999f, 0xFE123456},
        {0xFF123456, 1, 0xFF123456},
        {0xFF123456, 2, 0xFF123456},
        {0xFF123456, 0, 0x00123456},
        {0xFF123456, -1, 0x00123456},
        {0xFF123456, std::numeric_limits<float>::quiet_NaN(), 0x00123456},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ColorWithOpacity(c.Color, c.Opacity), c.Result) << std::hex << c.Color << " " << c.Opacity;
}

TEST(GPColor, QtColoursShareTheLayout)
{
    const QColor color = ToQColor(0x80102030);
    EXPECT_EQ(color.alpha(), 0x80);
    EXPECT_EQ(color.red(), 0x10);
    EXPECT_EQ(color.green(), 0x20);
    EXPECT_EQ(color.blue(), 0x30);
    EXPECT_EQ(FromQColor(color), 0x80102030u);
    EXPECT_EQ(MakeColor(0x80, 0x10, 0x20, 0x30), 0x80102030u);
}

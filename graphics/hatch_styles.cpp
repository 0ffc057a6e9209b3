#include "graphics/hatch_styles.h"

#include "graphics/gp_color.h"

#include <string_view>

namespace velk {

namespace {

using TRule = bool (*)(int X, int Y);

constexpr THatchPattern FromRule(TRule Rule)
{
    THatchPattern pattern{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (Rule(x, y))
                pattern[y] = static_cast<std::uint8_t>(pattern[y] | 0x80 >> x);
    return pattern;
}

// Eight rows of eight characters, '#' for the foreground.
constexpr THatchPattern FromPicture(std::string_view Rows)
{
    THatchPattern pattern{};
    for (int i = 0; i < 64; ++i)
        if (Rows[i] == '#')
            pattern[i / 8] = static_cast<std::uint8_t>(pattern[i / 8] | 0x80 >> i % 8);
    return pattern;
}

// Rank of a pixel in the 8×8 ordered-dither (Bayer) matrix: taking the pixels of rank
// below n spreads n pixels as evenly as the tile allows.
constexpr int DitherRank(int X, int Y)
{
    int rank = 0;
    for (int bit = 0; bit < 3; ++bit)
        rank = rank << 2 | ((X ^ Y) >> bit & 1) << 1 | (Y >> bit & 1);
    return rank;
}

// round(Percent·64/100) pixels of 64.
constexpr THatchPattern Percent(int Percent)
{
    const int count = (Percent * 64 + 50) / 100;
    THatchPattern pattern{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (DitherRank(x, y) < count)
                pattern[y] = static_cast<std::uint8_t>(pattern[y] | 0x80 >> x);
    return pattern;
}

// Diagonal distances: "down" lines run from top-left to bottom-right, "up" lines from
// bottom-left to top-right.
constexpr int Down(int X, int Y) { return (X - Y + 8) % 8; }
constexpr int Up(int X, int Y) { return (X + Y) % 8; }

constexpr THatchPattern Patterns[] = {
    // hsHorizontal, hsVertical
    FromRule([](int, int y) { return y == 0; }),
    FromRule([](int x, int) { return x == 0; }),
    // hsForwardDiagonal (top-left to bottom-right), hsBackwardDiagonal
    FromRule([](int x, int y) { return Down(x, y) == 0; }),
    FromRule([](int x, int y) { return Up(x, y) == 7; }),
    // hsCross, hsDiagonalCross
    FromRule([](int x, int y) { return x == 0 || y == 0; }),
    FromRule([](int x, int y) { return Down(x, y) == 0 || Up(x, y) == 0; }),
    // hs05Percent … hs90Percent
    Percent(5), Percent(10), Percent(20), Percent(25), Percent(30), Percent(40), Percent(50), Percent(60),
    Percent(70), Percent(75), Percent(80), Percent(90),
    // hsLightDownwardDiagonal, hsLightUpwardDiagonal: half the spacing
    FromRule([](int x, int y) { return Down(x, y) % 4 == 0; }),
    FromRule([](int x, int y) { return Up(x, y) % 4 == 3; }),
    // hsDarkDownwardDiagonal, hsDarkUpwardDiagonal: half the spacing, twice the width
    FromRule([](int x, int y) { return Down(x, y) % 4 < 2; }),
    FromRule([](int x, int y) { return Up(x, y) % 4 >= 2; }),
    // hsWideDownwardDiagonal, hsWideUpwardDiagonal: full spacing, three times the width
    FromRule([](int x, int y) { return Down(x, y) < 3; }),
    FromRule([](int x, int y) { return Up(x, y) >= 5; }),
    // hsLightVertical, hsLightHorizontal
    FromRule([](int x, int) { return x % 4 == 0; }),
    FromRule([](int, int y) { return y % 4 == 0; }),
    // hsNarrowVertical, hsNarrowHorizontal: a quarter of the spacing
    FromRule([](int x, int) { return x % 2 == 0; }),
    FromRule([](int, int y) { return y % 2 == 0; }),
    // hsDarkVertical, hsDarkHorizontal
    FromRule([](int x, int) { return x % 4 < 2; }),
    FromRule([](int, int y) { return y % 4 < 2; }),
    // hsDashedDownwardDiagonal, hsDashedUpwardDiagonal: half of each line drawn
    FromRule([](int x, int y) { return Down(x, y) % 4 == 0 && y < 4; }),
    FromRule([](int x, int y) { return Up(x, y) % 4 == 3 && y < 4; }),
    // hsDashedHorizontal, hsDashedVertical: staggered dashes
    FromRule([](int x, int y) { return (y == 0 && x < 4) || (y == 4 && x >= 4); }),
    FromRule([](int x, int y) { return (x == 0 && y < 4) || (x == 4 && y >= 4); }),
    // hsSmallConfetti
    FromPicture("#......."
                "....#..."
                "......#."
                "..#....."
                ".......#"
                "...#...."
                ".....#.."
                ".#......"),
    // hsLargeConfetti
    FromPicture("##......"
                "##...##."
                ".....##."
                "........"
                "..##...."
                "..##..##"
                "......##"
                "........"),
    // hsZigZag
    FromPicture("#......#"
                ".#....#."
                "..#..#.."
                "...##..."
                "#......#"
                ".#....#."
                "..#..#.."
                "...##..."),
    // hsWave
    FromPicture(".##....."
                "#..#...."
                "....#..#"
                ".....##."
                "........"
                "........"
                "........"
                "........"),
    // hsDiagonalBrick: bricks layered along bottom-left to top-right
    FromPicture(".......#"
                "......#."
                ".....#.."
                "....#..."
                "...#.#.."
                "..#...#."
                ".#.....#"
                "#......."),
    // hsHorizontalBrick
    FromPicture("########"
                "#......."
                "#......."
                "#......."
                "########"
                "....#..."
                "....#..."
                "....#..."),
    // hsWeave: blocks of horizontal and vertical threads
    FromPicture("####.#.#"
                ".....#.#"
                "####.#.#"
                ".....#.#"
                "#.#....."
                "#.#.####"
                "#.#....."
                "#.#.####"),
    // hsPlaid: two dithered bands crossing in a solid square
    FromRule([](int x, int y) { return (x < 3 && y < 3) || ((x < 3 || y < 3) && (x + y) % 2 == 0); }),
    // hsDivot
    FromPicture("..#....."
                "...#...."
                "..#....."
                "........"
                "......#."
                ".......#"
                "......#."
                "........"),
    // hsDottedGrid
    FromRule([](int x, int y) { return (y == 0 && x % 2 == 0) || (x == 0 && y % 2 == 0); }),
    // hsDottedDiamond
    FromRule([](int x, int y) { return (Down(x, y) == 0 || Up(x, y) == 0) && x % 2 == 0; }),
    // hsShingle
    FromPicture("#......."
                ".#.....#"
                "..#...#."
                "...###.."
                "....#..."
                ".....#.."
                "......#."
                ".......#"),
    // hsTrellis: short strokes, every other row shifted
    FromRule([](int x, int y) { return (x + 2 * (y % 2)) % 4 < 2; }),
    // hsSphere
    FromPicture("..####.."
                ".#....#."
                "#.....##"
                "#.....##"
                "#....###"
                "#...####"
                ".######."
                "..####.."),
    // hsSmallGrid: the cross at half the spacing
    FromRule([](int x, int y) { return x % 4 == 0 || y % 4 == 0; }),
    // hsSmallCheckerBoard, hsLargeCheckerBoard: squares of 2 and 4 pixels
    FromRule([](int x, int y) { return (x / 2 + y / 2) % 2 == 0; }),
    FromRule([](int x, int y) { return (x / 4 + y / 4) % 2 == 0; }),
    // hsOutlinedDiamond
    FromRule([](int x, int y) { return Down(x, y) == 0 || Up(x, y) == 7; }),
    // hsSolidDiamond: the checkerboard turned by 45°
    FromRule([](int x, int y) {
        const auto distance = [](int v) { return v < 3 ? 3 - v : v - 3; };
        return distance(x) + distance(y) <= 3;
    }),
};

static_assert(std::size(Patterns) == EnumNames<TVelkGPHatchStyle>::Names.size());

} // namespace

const THatchPattern& HatchPattern(TVelkGPHatchStyle Style)
{
    return Patterns[Style];
}

bool HatchPixel(TVelkGPHatchStyle Style, int X, int Y)
{
    return (Patterns[Style][static_cast<unsigned>(Y) % 8] << static_cast<unsigned>(X) % 8 & 0x80) != 0;
}

QImage HatchImage(TVelkGPHatchStyle Style, TVelkGPColor ForeColor, TVelkGPColor BackColor)
{
    const QRgb fore = qPremultiply(ForeColor);
    const QRgb back = qPremultiply(BackColor);
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 8; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 8; ++x)
            line[x] = HatchPixel(Style, x, y) ? fore : back;
    }
    return image;
}

} // namespace velk

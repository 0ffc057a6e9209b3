#include "platform/exceptions.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace velk;

namespace {

TEST(Numbers, RoundHalvesToEven)
{
    const struct {
        double Value;
        std::int64_t Expected;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {-0.4, 0}, {1e15 + 0.5, 1000000000000000}};
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.Value), c.Expected) << c.Value;
    EXPECT_EQ(Round<int>(2.6), 3);
}

TEST(Numbers, TruncDropsTheFraction)
{
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc<std::uint8_t>(255.9), 255);
}

TEST(Numbers, FloatToIntChecksRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FloatToInt<std::int32_t>(2147483647.9), 2147483647);
    EXPECT_EQ(FloatToInt<std::int32_t>(-2147483648.9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(FloatToInt<std::int64_t>(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(FloatToInt<unsigned>(-0.5), 0u);

    const struct {
        double Value;
        bool Fits32;
    } cases[] = {{std::nan(""), false}, {inf, false}, {-inf, false}, {2147483648.0, false},
                 {-2147483649.0, false}, {1e300, false}, {0.0, true}};
    for (const auto& c : cases)
        EXPECT_EQ(TryFloatToInt<std::int32_t>(c.Value).has_value(), c.Fits32) << c.Value;
    EXPECT_FALSE(TryFloatToInt<std::int64_t>(9223372036854775808.0));
    EXPECT_FALSE(TryFloatToInt<unsigned>(-1.0));

    for (const double bad : {std::nan(""), inf, 1e19}) {
        try {
            Round(bad);
            ADD_FAILURE() << bad;
        } catch (const EInvalidOp& e) {
            EXPECT_EQ(e.Message(), "Invalid floating point operation");
        }
    }
}

} // namespace

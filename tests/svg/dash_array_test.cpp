#include "svg/dash_array.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <vector>

using namespace velk;

namespace {

// Compared as vectors: QList's own comparison passes a null pointer to memcmp for two
// empty lists, which the undefined-behaviour sanitizer reports.
template <typename T>
std::vector<T> Items(const QList<T>& List)
{
    return std::vector<T>(List.begin(), List.end());
}

TEST(SVGParseDashArray, ValuesUnitsAndWhetherTheyDash)
{
    struct Case {
        const char16_t* Text;
        QList<float> Values;
        QList<TSVGUnit> Units;
        QList<bool> IsPercent;
        bool Dashed;
    } cases[] = {
        {u"5,3,2", {5, 3, 2, 5, 3, 2}, {suNone, suNone, suNone}, {false, false, false}, true}, // odd: repeated once
        {u"4 2", {4, 2}, {suNone, suNone}, {false, false}, true},
        {u"1in, 50%", {96, 0.5f}, {suInches, suPercent}, {false, true}, true},
        {u"0 5", {0, 5}, {suNone, suNone}, {false, false}, true},      // a zero dash draws its caps
        {u"0 0", {0, 0}, {suNone, suNone}, {false, false}, false},     // all zero: solid
        {u"5-1", {5, -1}, {suNone, suNone}, {false, false}, false},    // a negative value: invalid
        {u"x y", {0, 0}, {suNone, suNone}, {false, false}, false},     // what does not read counts 0
        {u" none ", {}, {}, {}, false},
        {u"", {}, {}, {}, false},
    };
    for (const Case& c : cases) {
        QList<bool> isPercent{true};
        QList<TSVGUnit> units{suPoints};
        QList<float> values{9};
        const bool dashed = SVGParseDashArray(c.Text, isPercent, units, values, 0, 1, DefaultUnitFactors);
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(dashed, c.Dashed) << context;
        EXPECT_EQ(Items(values), Items(c.Values)) << context;
        EXPECT_EQ(Items(units), Items(c.Units)) << context;
        EXPECT_EQ(Items(isPercent), Items(c.IsPercent)) << context;
    }
}

TEST(SVGParseDashArray, PercentagesMapIntoMinMax)
{
    QList<bool> isPercent;
    QList<TSVGUnit> units;
    QList<float> values;
    EXPECT_TRUE(SVGParseDashArray(u"50% 10", isPercent, units, values, 0, 200, DefaultUnitFactors));
    EXPECT_EQ(Items(values), (std::vector<float>{100, 10}));
}

} // namespace

#include "svg/angle.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <numbers>

using namespace velk;

namespace {

constexpr float Default = 7;
constexpr float Pi = std::numbers::pi_v<float>;

TEST(SVGParseAngle, NumbersWithUnitsInRadians)
{
    struct Case {
        const char16_t* Text;
        float Expected;
    };
    const Case cases[] = {
        {u"45", Pi / 4},
        {u"-90", -Pi / 2},
        {u"0.5 rad", 0.5f},
        {u"0.5 RAD", 0.5f},
        {u"100 grad", Pi / 2},
        {u" 100  Grad ", Pi / 2},
        {u"90 deg", Pi / 2},
        {u"90 turns", Pi / 2},  // an unknown unit means degrees
        {u"1\trad", 1},         // any blank separates the unit
        {u"45deg", Default},    // a unit joined to the number is not a number
        {u"", Default},
        {u"abc", Default},
        {u"nan", Default},
        {u"1e39", Default},     // beyond the float range
        {u"Auto", Default},     // "auto" is exact
    };
    for (const Case& c : cases) {
        bool automatic = true;
        EXPECT_FLOAT_EQ(SVGParseAngle(c.Text, automatic, Default), c.Expected)
            << QString::fromUtf16(c.Text).toStdString();
        EXPECT_FALSE(automatic) << QString::fromUtf16(c.Text).toStdString();
    }
}

TEST(SVGParseAngle, AutoSetsAutomaticAndKeepsTheDefault)
{
    bool automatic = false;
    EXPECT_EQ(SVGParseAngle(u" auto ", automatic, Default), Default);
    EXPECT_TRUE(automatic);
}

TEST(SVGParseGlyphOrientation, NearestQuarterTurn)
{
    struct Case {
        const char16_t* Text;
        TSVGGlyphOrientationHorizontal Horizontal;
        TSVGGlyphOrientationVertical Vertical;
    };
    const Case cases[] = {
        {u"0", oh0Deg, ov0Deg},
        {u"90", oh90Deg, ov90Deg},
        {u"89", oh90Deg, ov90Deg},
        {u"90deg", oh90Deg, ov90Deg},
        {u" 90 DEG ", oh90Deg, ov90Deg},
        {u"180", oh180Deg, ov180Deg},
        {u"270deg", oh270Deg, ov270Deg},
        {u"-44", oh0Deg, ov0Deg},
        {u"45", oh0Deg, ov0Deg},     // halves to even: 0.5 turn gives 0
        {u"135", oh180Deg, ov180Deg}, // 1.5 gives 2
        {u"225", oh180Deg, ov180Deg}, // 2.5 gives 2
        {u"315", ohNone, ovNone},     // 3.5 gives 4, a full turn
        {u"360", ohNone, ovNone},
        {u"-90", ohNone, ovNone},
        {u"1e30", ohNone, ovNone},
        {u"deg", ohNone, ovNone},
        {u"90rad", ohNone, ovNone},
        {u"", ohNone, ovNone},
        {u"auto", ohNone, ovAuto},
    };
    for (const Case& c : cases) {
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(SVGParseGlyphOrientationHorizontal(c.Text), c.Horizontal) << context;
        EXPECT_EQ(SVGParseGlyphOrientationVertical(c.Text), c.Vertical) << context;
    }
}

TEST(SVGGlyphOrientationToStr, WritesDegreesThatReadBack)
{
    EXPECT_EQ(SVGGlyphOrientationToStr(oh0Deg), "0deg");
    EXPECT_EQ(SVGGlyphOrientationToStr(ov270Deg), "270deg");
    EXPECT_EQ(SVGGlyphOrientationToStr(ovAuto), "auto");
    EXPECT_EQ(SVGGlyphOrientationToStr(ohNone), "");
    EXPECT_EQ(SVGGlyphOrientationToStr(ovNone), "");
    for (int i = 1; i < EnumCount<TSVGGlyphOrientationHorizontal>(); ++i) {
        const auto value = static_cast<TSVGGlyphOrientationHorizontal>(i);
        EXPECT_EQ(SVGParseGlyphOrientationHorizontal(SVGGlyphOrientationToStr(value)), value);
    }
    for (int i = 1; i < EnumCount<TSVGGlyphOrientationVertical>(); ++i) {
        const auto value = static_cast<TSVGGlyphOrientationVertical>(i);
        EXPECT_EQ(SVGParseGlyphOrientationVertical(SVGGlyphOrientationToStr(value)), value);
    }
}

} // namespace

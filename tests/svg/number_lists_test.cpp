#include "platform/xml/document.h"
#include "svg/number_lists.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(SVGSplitNumbers, SplitsAtSeparatorsAndSigns)
{
    struct Case {
        const char16_t* Text;
        QStringList Expected;
    };
    const Case cases[] = {
        {u"10,20 30", {u"10"_qs, u"20"_qs, u"30"_qs}},
        {u" 1 ,, 2\r\n3\t4 ", {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs}},
        {u"10-5", {u"10"_qs, u"-5"_qs}},
        {u"10-5-3+2", {u"10"_qs, u"-5"_qs, u"-3"_qs, u"+2"_qs}},
        {u"-1-2", {u"-1"_qs, u"-2"_qs}},
        {u"1e-5", {u"1e-5"_qs}},
        {u"2.5E+3-1", {u"2.5E+3"_qs, u"-1"_qs}},
        {u"10px-5%", {u"10px"_qs, u"-5%"_qs}},
        {u"", {}},
        {u" , ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(SVGSplitNumbers(QString::fromUtf16(c.Text)), c.Expected);
    }
    EXPECT_EQ(SVGSplitNumbers(u"1;2 3", u";"), QStringList({u"1"_qs, u"2 3"_qs}));
}

TEST(SVGNormalizeSpaces, CollapsesBlanksKeepingOneAtEachEnd)
{
    struct Case {
        const char16_t* Text;
        const char16_t* Expected;
    };
    const Case cases[] = {
        {u"a  b", u"a b"},
        {u"  Hello\n   World\t", u" Hello World "},
        {u"a\r\nb", u"a b"},
        {u"word", u"word"},
        {u"   ", u" "},
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(SVGNormalizeSpaces(QString::fromUtf16(c.Text)), QString::fromUtf16(c.Expected));
    }
}

constexpr float Default = 7;

TEST(SVGParseNumber, NumbersInfinitiesAndTheStyleForm)
{
    struct Case {
        const char16_t* Text;
        bool InheritBefore;
        float Number;     // SVGParseNumber
        float MiterLimit; // SVGParseMiterLimit
        bool InheritAfter;
    };
    const Case cases[] = {
        {u"0.5", false, 0.5f, 0.5f, false},
        {u" 1e2 ", false, 100, 100, false},
        {u"-.25", true, -0.25f, -0.25f, false},
        {u"Infinity", false, 100000000, Default, false},
        {u" INFINITY ", false, 100000000, Default, false},
        {u"-infinity", false, -100000000, Default, false},
        {u"+Infinity", false, Default, Default, false},
        {u"inf", false, Default, Default, false},
        {u"nan", false, Default, Default, false},
        {u"1e39", false, Default, Default, false}, // beyond the float range
        {u"1e-999", false, 0, 0, false},
        {u"0.5px", false, Default, Default, false},
        {u"abc", false, Default, Default, false},
        {u"", false, Default, Default, false},
        {u"", true, Default, Default, true},
        {u"inherit", false, Default, Default, true},
    };
    for (const Case& c : cases) {
        const std::string context = QString::fromUtf16(c.Text).toStdString();
        bool inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseNumber(c.Text, inherit, Default), c.Number) << context;
        EXPECT_EQ(inherit, c.InheritAfter) << context;
        inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseMiterLimit(c.Text, inherit, Default), c.MiterLimit) << context;
        EXPECT_EQ(inherit, c.InheritAfter) << context;
    }
}

TEST(SVGParseNumbers, EachItemWithTheDefaultAtItsPosition)
{
    struct Case {
        const char16_t* Text;
        QList<float> Defaults;
        QList<float> Expected;
    };
    const Case cases[] = {
        {u"1,2 3", {}, {1, 2, 3}},
        {u"10-5", {}, {10, -5}},
        {u"1e-5", {}, {1e-5f}},
        {u"1 x 3 y", {8, 9}, {1, 9, 3, 0}},
        {u"inherit Infinity", {4}, {4, 100000000}},
        {u" , ", {1}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGParseNumbers(c.Text, c.Defaults), c.Expected) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGReadNumbers, AttributeOrEmptyList)
{
    const TXMLDocument doc = TXMLDocument::LoadFromBytes("<svg values='0.5 1,bad' empty=''/>");
    const TXMLNode node = doc.DocumentElement();
    EXPECT_EQ(SVGReadNumbers(node, u"values"_qs, {9, 9, 9}), QList<float>({0.5f, 1, 9}));
    EXPECT_EQ(SVGReadNumbers(node, u"empty"_qs, {9}), QList<float>());
    EXPECT_EQ(SVGReadNumbers(node, u"missing"_qs, {9}), QList<float>());
}

} // namespace

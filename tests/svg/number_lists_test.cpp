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

} // namespace

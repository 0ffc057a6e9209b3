#include "svg/style_sheet.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace velk;

namespace {

QStringList Rules(QStringView Sheet)
{
    QStringList rules;
    SVGSplitStyleSheet(Sheet, [&](const QString& Selector, const QString& Declarations) {
        rules += Selector + u'|' + Declarations;
    });
    return rules;
}

TEST(SVGSplitStyleSheet, SelectorListsSplitAtCommasAndBlanks)
{
    struct Case {
        const char16_t* Sheet;
        QStringList Expected;
    } cases[] = {
        {u"rect { fill: red }", {u"rect| fill: red "_qs}},
        {u"rect, circle{fill:red}", {u"rect|fill:red"_qs, u"circle|fill:red"_qs}},
        // A descendant selector becomes two rules: g and rect.
        {u"g rect {fill:red}", {u"g|fill:red"_qs, u"rect|fill:red"_qs}},
        {u"\n .a,\n\t#b {x:1}\n", {u".a|x:1"_qs, u"#b|x:1"_qs}},
        {u"a{x:1}b{y:2}", {u"a|x:1"_qs, u"b|y:2"_qs}},
        {u"/* a{x:1} */ b /* c */{y:2}", {u"b|y:2"_qs}},
        {u"{x:1} , {y:2}", {}},                          // no selectors
        {u"a{}", {u"a|"_qs}},
        {u"a{x:1} b{y:2", {u"a|x:1"_qs}},                // "{" without "}" ends the sheet
        {u"a{x:{1} b}", {u"a|x:{1"_qs}},                 // a block ends at the first "}"
        {u"no blocks", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rules(c.Sheet), c.Expected) << QString::fromUtf16(c.Sheet).toStdString();
}

TEST(SVGSplitStyleSheet, LargeSheetsInLinearTime)
{
    QString sheet;
    for (int i = 0; i < 40000; ++i)
        sheet += u".c%1, rect { fill: red; /* note */ stroke: blue }\n"_qs.arg(i);
    sheet += u"g { fill: red"_qs + QString(200000, u' ');
    ASSERT_GT(sheet.size(), 1000000);
    int rules = 0;
    const auto start = std::chrono::steady_clock::now();
    SVGSplitStyleSheet(sheet, [&](const QString&, const QString& Declarations) {
        EXPECT_EQ(Declarations, " fill: red;  stroke: blue ");
        ++rules;
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(rules, 80000);
}

} // namespace

#include "svg/clip_syntax.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(SVGParseClip, RectAutoAndOtherTexts)
{
    const TRectF current{1, 2, 3, 4};
    struct Case {
        const char16_t* Text;
        bool InheritBefore;
        TRectF Expected;
        bool InheritAfter;
    } cases[] = {
        // rect(top right bottom left)
        {u"rect(10 90 80 5)", false, {5, 10, 90, 80}, false},
        {u" RECT(10px, 90px, 80px, 5px) ", false, {5, 10, 90, 80}, false},
        {u"rect(1in 0 0 0)", false, {0, 96, 0, 0}, false},
        {u"rect(auto 90 auto 5)", false, {5, 0, 90, 0}, false}, // auto inside counts 0
        {u"rect(10 90)", false, {0, 10, 90, 0}, false},         // missing items stay 0
        {u"rect(1 2 3 4 5)", false, {4, 1, 2, 3}, false},
        {u"rect()", false, {}, false},
        {u"auto", true, {}, false},
        // Anything else keeps the current rectangle.
        {u"rect(1 2 3 4", false, current, false},
        {u"Auto", false, current, false},
        {u"inherit", false, current, true},
        {u"", true, current, true},
        {u"", false, current, false},
    };
    for (const Case& c : cases) {
        bool inherit = c.InheritBefore;
        EXPECT_EQ(SVGParseClip(c.Text, current, inherit, DefaultUnitFactors), c.Expected)
            << QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(inherit, c.InheritAfter) << QString::fromUtf16(c.Text).toStdString();
    }
}

} // namespace

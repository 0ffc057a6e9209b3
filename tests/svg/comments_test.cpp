#include "svg/comments.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace velk;

namespace {

TEST(SVGRemoveComments, RemovesEachCommentWithItsMarkers)
{
    struct Case {
        const char16_t* Text;
        const char16_t* Expected;
    } cases[] = {
        {u"a/* x */b", u"ab"},
        {u"/*1*/a/*2*/b/*3*/", u"ab"},
        {u"a/* x", u"a/* x"},            // unterminated: stays
        {u"a/*x*/b/* y", u"ab/* y"},
        {u"a/*/b", u"a/*/b"},            // "*/" must follow the "/*"
        {u"/**/", u""},
        {u"//**/*x*/", u""},             // removing one comment forms another
        {u"a*/b", u"a*/b"},
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGRemoveComments(c.Text), QString::fromUtf16(c.Expected)) << QString::fromUtf16(c.Text).toStdString();
}

TEST(SVGRemoveComments, ManyCommentsInLinearTime)
{
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += u"x/**/"_qs;
    text += u"/*"_qs + QString(200000, u'*');
    const auto start = std::chrono::steady_clock::now();
    const QString result = SVGRemoveComments(text);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(result, QString(200000, u'x') + u"/*"_qs + QString(200000, u'*'));
}

} // namespace

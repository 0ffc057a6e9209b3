#include "platform/exceptions.h"
#include "svg/exceptions.h"
#include "svg/transform_syntax.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

std::string Context(const char16_t* Text)
{
    return QString::fromUtf16(Text).toStdString();
}

void ExpectNear(const TMatrix& Actual, const TMatrix& Expected, const std::string& Context)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(Actual[i], Expected[i], 1e-5) << Context << " entry " << i;
}

TEST(SVGParseTransform, FunctionsGiveTheirMatrices)
{
    struct Case {
        const char16_t* Text;
        TMatrix Expected;
    } cases[] = {
        {u"", IdentityMatrix},
        {u"  ", IdentityMatrix},
        {u"matrix(1 2 3 4 5 6)", {1, 2, 0, 3, 4, 0, 5, 6, 1}},
        {u"matrix(1,2,3,4,5,6)", {1, 2, 0, 3, 4, 0, 5, 6, 1}},
        {u"translate(10)", {1, 0, 0, 0, 1, 0, 10, 0, 1}},
        {u"translate(10-5)", {1, 0, 0, 0, 1, 0, 10, -5, 1}},
        {u"scale(2)", {2, 0, 0, 0, 2, 0, 0, 0, 1}},
        {u"scale(2, 3)", {2, 0, 0, 0, 3, 0, 0, 0, 1}},
        // Quarter turns are exact.
        {u"rotate(90)", {0, 1, 0, -1, 0, 0, 0, 0, 1}},
        {u"rotate(-90)", {0, -1, 0, 1, 0, 0, 0, 0, 1}},
        {u"rotate(540)", {-1, 0, 0, 0, -1, 0, 0, 0, 1}},
        {u"rotate(90 10 0)", {0, 1, 0, -1, 0, 0, 10, -10, 1}},
        {u"skewX(45)", {1, 0, 0, 1, 1, 0, 0, 0, 1}},
        {u"skewY(45)", {1, 1, 0, 0, 1, 0, 0, 0, 1}},
        {u"skewX()", IdentityMatrix},
        {u"skewY(180)", IdentityMatrix},
        // Functions separated by blanks, commas or nothing; the later applies first.
        {u"translate(10) scale(2)", {2, 0, 0, 0, 2, 0, 10, 0, 1}},
        {u" scale(2),translate(10)", {2, 0, 0, 0, 2, 0, 20, 0, 1}},
        {u"scale(2)translate(10)", {2, 0, 0, 0, 2, 0, 20, 0, 1}},
        // Text after the last ")" and a "(" without ")" end the list.
        {u"translate(10) junk", {1, 0, 0, 0, 1, 0, 10, 0, 1}},
        {u"translate(10) scale(2", {1, 0, 0, 0, 1, 0, 10, 0, 1}},
        {u"no function", IdentityMatrix},
    };
    for (const Case& c : cases)
        ExpectNear(SVGParseTransform(c.Text), c.Expected, Context(c.Text));
}

TEST(SVGParseTransform, PointsPassThroughTheLastFunctionFirst)
{
    struct Case {
        const char16_t* Text;
        TPointF Point;
        TPointF Expected;
    } cases[] = {
        {u"translate(10) rotate(90)", {1, 0}, {10, 1}},
        {u"rotate(90) translate(10)", {1, 0}, {0, 11}},
        {u"rotate(45 10 10)", {10, 10}, {10, 10}},
        {u"rotate(180 5 5)", {0, 0}, {10, 10}},
        {u"translate(-10 -10) scale(2) translate(5, 5)", {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        const TPointF p = PointTimesMatrix(c.Point, SVGParseTransform(c.Text));
        EXPECT_NEAR(p.X, c.Expected.X, 1e-5) << Context(c.Text);
        EXPECT_NEAR(p.Y, c.Expected.Y, 1e-5) << Context(c.Text);
    }
}

TEST(SVGParseTransform, WrongCountsAndNamesRaise)
{
    struct Case {
        const char16_t* Text;
        const char* Message;
    } cases[] = {
        {u"matrix(1 2 3)", "Invalid matrix: 1 2 3"},
        {u"matrix(1 2 3 4 5 6 7)", "Invalid matrix: 1 2 3 4 5 6 7"},
        {u"translate()", "Invalid translate transformation matrix: "},
        {u"translate(1 2 3)", "Invalid translate transformation matrix: 1 2 3"},
        {u"scale(1,2,3)", "Invalid scale transformation matrix: 1,2,3"},
        {u"rotate(1 2)", "Invalid rotation transformation matrix: 1 2"},
        {u"foo(1)", "Invalid transformation: foo"},
        {u"Rotate(90)", "Invalid transformation: Rotate"},
        {u"translate(1) (2)", "Invalid transformation: "},
        // A product beyond the float range.
        {u"scale(1e30) scale(1e30)", "Invalid matrix: scale(1e30) scale(1e30)"},
        {u"rotate(180 3e38 3e38)", "Invalid matrix: rotate(180 3e38 3e38)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageOf<ESVGException>([&] { SVGParseTransform(c.Text); }), c.Message) << Context(c.Text);
}

TEST(SVGParseTransform, ArgumentsAreReadStrictly)
{
    struct Case {
        const char16_t* Text;
        const char* Message;
    } cases[] = {
        {u"translate(10px)", "'10px' is not a valid floating point value"},
        {u"scale(nan)", "'nan' is not a valid floating point value"},
        {u"scale(inf)", "'inf' is not a valid floating point value"},
        {u"rotate(1e39)", "'1e39' is not a valid floating point value"},
        {u"matrix(1 2 3 4 5 1e999)", "'1e999' is not a valid floating point value"},
        {u"skewX(x)", "'x' is not a valid floating point value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageOf<EConvertError>([&] { SVGParseTransform(c.Text); }), c.Message) << Context(c.Text);
}

TEST(SVGParseTransform, LongListsAreReadInOnePass)
{
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += u"translate(1) ";
    EXPECT_EQ(SVGParseTransform(text).m31, 100000);
}

TEST(SVGTransformToStr, ShortestFormThatReadsBack)
{
    struct Case {
        TMatrix Matrix;
        const char* Expected;
    } cases[] = {
        {IdentityMatrix, ""},
        {{1.000001f, 0, 0, 0, 1, 0, 0.000001f, 0, 1}, ""},
        {{2, 0, 0, 0, 3, 0, 0, 0, 1}, "scale(2 3)"},
        {{1, 0, 0, 0, 1, 0, 10.5f, -3, 1}, "translate(10.5 -3)"},
        {{0, 1, 0, -1, 0, 0, 0, 0, 1}, "matrix(0 1 -1 0 0 0)"},
        {{2, 0, 0, 0, 2, 0, 5, 0, 1}, "matrix(2 0 0 2 5 0)"},
        {{1.0f / 3, 0, 0, 0, 1e-7f, 0, 0, 0, 1}, "scale(0.33333334 1e-07)"},
        {{1, 0, 0, 0, 1, 0, 1e20f, 0, 1}, "translate(1e+20 0)"},
    };
    for (const Case& c : cases) {
        const QString text = SVGTransformToStr(c.Matrix);
        EXPECT_EQ(text, c.Expected);
        if (!text.isEmpty()) {
            EXPECT_EQ(SVGParseTransform(text), c.Matrix) << c.Expected;
        }
    }
    const TMatrix rotated = SVGParseTransform(u"rotate(30 7 3) skewX(10)");
    EXPECT_EQ(SVGParseTransform(SVGTransformToStr(rotated)), rotated);
}

} // namespace

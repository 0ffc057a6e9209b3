#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace velk;

namespace {

struct FormatCase {
    const char16_t* Format;
    double Value;
    const char* Expected;
};

TEST(FormatFloat, FormatsTable)
{
    const double inf = std::numeric_limits<double>::infinity();
    const FormatCase cases[] = {
        // The writer's default: at most three decimals, half away from zero on the
        // shortest decimal digits.
        {u"0.###", 123.45, "123.45"},
        {u"0.###", 2.0005, "2.001"},
        {u"0.###", 1.23456, "1.235"},
        {u"0.###", -1.23456, "-1.235"},
        {u"0.###", 0.0005, "0.001"},
        {u"0.###", 0.0001, "0"},
        {u"0.###", -0.0001, "0"},
        {u"0.###", -0.0, "0"},
        {u"0.###", 10, "10"},
        {u"0.###", 0.5, "0.5"},
        {u"0.###", 999.9999, "1000"},
        {u"0.###", 1e-300, "0"},
        {u"0", 2.5, "3"},
        {u"0", -2.5, "-3"},
        {u"0.00", 1.005, "1.01"},
        {u"0.00", 3, "3.00"},
        {u"#.##", 0.5, ".5"},
        {u"#.##", 0, ""},
        {u"000", 7, "007"},
        {u"0#", 5, "05"},
        {u"#-##", 1234, "12-34"},
        {u"0.#0#", 1.5, "1.50"},
        // Thousands separators.
        {u"#,##0", 1234567, "1,234,567"},
        {u"#,##0.00", -1234.5, "-1,234.50"},
        {u"#,##0", 123, "123"},
        {u"#,##0", 0, "0"},
        {u"000,000", 5, "000,005"},
        // Sections: positive;negative;zero, a negative section has no sign added.
        {u"0.0;(0.0);zero", 1.25, "1.3"},
        {u"0.0;(0.0);zero", -1.25, "(1.3)"},
        {u"0.0;(0.0);zero", 0, "zero"},
        {u"0.0;(0.0);zero", -0.01, "zero"},
        {u"0.0;;zero", -2, "-2.0"},
        {u"0.0;(0.0)", 0, "0.0"},
        {u"0.0;(0.0)", -0.01, "0.0"},
        // Scientific.
        {u"0.00E+00", 12345, "1.23E+04"},
        {u"0.00E+00", 0.00012345, "1.23E-04"},
        {u"0.00E-00", 12345, "1.23E04"},
        {u"0.00e-0", 0.5, "5.00e-1"},
        {u"00.0E+0", 12345, "12.3E+3"},
        {u"0.###E+0", 100, "1E+2"},
        {u"0.00E+00", 0, "0.00E+00"},
        {u"0.0E+0", -9.96, "-1.0E+1"},
        // Literals.
        {u"'x='0.0\"px\"", 3.14159, "x=3.1px"},
        {u"0.0 %", 12.34, "12.3 %"},
        {u"0'.'0", 12, "1.2"},
        // Values with more than 18 integer digits fall back to the general form.
        {u"0.###", 1e20, "1e+20"},
        {u"0.###", 123456789012345678.0, "123456789012345680"},
        {u"0.00E+00", 1e20, "1.00E+20"},
        // General form.
        {u"", 0.1 + 0.2, "0.3"},
        {u"", 123.45, "123.45"},
        {u"", 1e15, "1e+15"},
        {u"", 123456789012345.0, "123456789012345"},
        {u"", 0.0001, "0.0001"},
        {u"", 0.00001, "1e-05"},
        {u"", -2.5e-300, "-2.5e-300"},
        {u"", -0.0, "0"},
        {u";", 1.5, "1.5"},
        // Not numbers.
        {u"0.###", std::nan(""), "NAN"},
        {u"0.###", inf, "INF"},
        {u"0.###", -inf, "-INF"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatFloat(c.Format, c.Value), QString::fromUtf8(c.Expected))
            << QStringView(c.Format).toString().toStdString() << " with " << c.Value;
}

TEST(FormatFloat, SingleUsesItsOwnShortestDigits)
{
    EXPECT_EQ(FormatFloat(u"0.##########", 0.1f), "0.1");
    EXPECT_EQ(FormatFloat(u"", 0.1f), "0.1");
    EXPECT_EQ(FormatFloat(u"0.###", 2.0005f), "2.001");
    EXPECT_EQ(FormatFloat(u"", 16777216.0f), "16777216");
}

TEST(FormatFloat, ReusesFormatsAcrossCalls)
{
    // Alternating formats must not mix up their cached parses.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FormatFloat(u"0.###", 1.5), "1.5");
        EXPECT_EQ(FormatFloat(u"0.00", 1.5), "1.50");
        EXPECT_EQ(FormatFloat(u"#,##0", 1500.0), "1,500");
        EXPECT_EQ(FormatFloat(u"0E+0", 1500.0), "2E+3");
        EXPECT_EQ(FormatFloat(u"0.0;(0.0)", -1.5), "(1.5)");
    }
}

TEST(FormatFloat, RejectsMalformedFormats)
{
    for (const char16_t* format : {u"0.0'", u"\"abc", u"0;0;0;0", u";;;"}) {
        try {
            FormatFloat(format, 123.45);
            ADD_FAILURE() << QStringView(format).toString().toStdString();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Format '%1' invalid or incompatible with argument")
                                       .arg(QStringView(format).toString()));
        }
    }
}

struct ParseCase {
    const char16_t* Text;
    bool Valid;
    double Value;
};

TEST(StrToFloat, AcceptsAndRejectsTable)
{
    const ParseCase cases[] = {
        {u"1.5", true, 1.5},
        {u" 1.5 ", true, 1.5},
        {u"\t\n-2\r", true, -2},
        {u"+3", true, 3},
        {u".5", true, 0.5},
        {u"5.", true, 5},
        {u"-.5e-3", true, -0.0005},
        {u"1E2", true, 100},
        {u"1e+2", true, 100},
        {u"0.1", true, 0.1},
        {u"1e-400", true, 0},
        {u"00012", true, 12},
        {u"1.7976931348623157e308", true, 1.7976931348623157e308},
        {u"", false, 0},
        {u"   ", false, 0},
        {u"+", false, 0},
        {u"-", false, 0},
        {u".", false, 0},
        {u"-.", false, 0},
        {u"1e", false, 0},
        {u"1e+", false, 0},
        {u"e5", false, 0},
        {u"1.5x", false, 0},
        {u"1 5", false, 0},
        {u"1,5", false, 0},
        {u"--1", false, 0},
        {u"nan", false, 0},
        {u"NaN", false, 0},
        {u"inf", false, 0},
        {u"-Infinity", false, 0},
        {u"0x10", false, 0},
        {u"1e400", false, 0},
        {u"-1e400", false, 0},
        {u"\u0661", false, 0}, // Arabic-Indic digit one
        {u"1\u00A0", false, 0}, // no-break space is not a blank here
    };
    for (const ParseCase& c : cases) {
        const QString text = QStringView(c.Text).toString();
        double value = -42;
        EXPECT_EQ(TryStrToFloat(c.Text, value), c.Valid) << text.toStdString();
        if (c.Valid)
            EXPECT_EQ(value, c.Value) << text.toStdString();
        else
            EXPECT_EQ(value, -42) << "a failed read leaves the value: " << text.toStdString();
    }
}

TEST(StrToFloat, SingleRejectsValuesBeyondItsRange)
{
    float value = 0;
    EXPECT_TRUE(TryStrToFloat(u"0.1", value));
    EXPECT_EQ(value, 0.1f);
    EXPECT_TRUE(TryStrToFloat(u"3.4028235e38", value));
    EXPECT_EQ(value, std::numeric_limits<float>::max());
    EXPECT_FALSE(TryStrToFloat(u"3.5e38", value));
    EXPECT_TRUE(TryStrToFloat(u"-1e-50", value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(std::signbit(value));
}

TEST(StrToFloat, RaisesConversionError)
{
    EXPECT_EQ(StrToFloat(u"2.5"), 2.5);
    try {
        StrToFloat(u"abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
    }
    EXPECT_EQ(StrToSingle(u"2.5"), 2.5f);
    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([] { StrToSingle(u"3.5e38"); }),
              "'3.5e38' is not a valid floating point value");
}

struct ScanCase {
    const char16_t* Text;
    int Consumed; // -1: no number
    double Value;
};

TEST(ScanFloat, StopsAfterTheLongestNumber)
{
    const ScanCase cases[] = {
        {u".5.5", 2, 0.5},
        {u"1e2x", 3, 100},
        {u"1e+x", 1, 1},
        {u"1ex", 1, 1},
        {u"-.5", 3, -0.5},
        {u"10-5", 2, 10},
        {u"1e-5,", 4, 1e-5},
        {u"3.,", 2, 3},
        {u" 1", -1, 0},
        {u"-x", -1, 0},
        {u".e1", -1, 0},
        {u"inf", -1, 0},
        {u"1e999", -1, 0},
    };
    for (const ScanCase& c : cases) {
        const QStringView text(c.Text);
        double value = 0;
        const QChar* end = ScanFloat(text.data(), text.data() + text.size(), value);
        const std::string name = text.toString().toStdString();
        if (c.Consumed < 0) {
            EXPECT_EQ(end, nullptr) << name;
            continue;
        }
        ASSERT_NE(end, nullptr) << name;
        EXPECT_EQ(end - text.data(), c.Consumed) << name;
        EXPECT_EQ(value, c.Value) << name;
    }
}

TEST(ScanFloat, ReadsLongMantissas)
{
    const QString digits = QString(300, u'0') + QStringLiteral("1.25") + QString(200, u'0');
    double value = 0;
    const QChar* end = ScanFloat(digits.constData(), digits.constData() + digits.size(), value);
    EXPECT_EQ(end, digits.constData() + digits.size());
    EXPECT_EQ(value, 1.25);
}

TEST(StrToInt, AcceptsAndRejects)
{
    struct Case {
        const char16_t* Text;
        bool Valid;
        std::int32_t Value;
    };
    const Case cases[] = {
        {u"42", true, 42},           {u" -17 ", true, -17},          {u"+5", true, 5},
        {u"2147483647", true, 2147483647}, {u"-2147483648", true, -2147483647 - 1},
        {u"2147483648", false, 0},   {u"-2147483649", false, 0},     {u"", false, 0},
        {u"-", false, 0},            {u"1.0", false, 0},             {u"0x10", false, 0},
        {u"$10", false, 0},          {u"1e3", false, 0},             {u"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = -42;
        EXPECT_EQ(TryStrToInt(c.Text, value), c.Valid) << QStringView(c.Text).toString().toStdString();
        EXPECT_EQ(value, c.Valid ? c.Value : -42);
    }
    std::int64_t big = 0;
    EXPECT_TRUE(TryStrToInt64(u"-9223372036854775808", big));
    EXPECT_EQ(big, std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(TryStrToInt64(u"9223372036854775808", big));
    try {
        StrToInt(u"12a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
    }
}

} // namespace

#include "graphics/path_data.h"
#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "tests/support/test_support.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <span>

using namespace velk;

namespace {

QString Parsed(QStringView Text)
{
    TVelkPathData path;
    path.SetData(Text);
    return path.GetData();
}

struct TSyntaxCase {
    const char16_t* Text;
    const char16_t* Expected; // the path written back
};

void ExpectParsed(std::span<const TSyntaxCase> Cases)
{
    for (const TSyntaxCase& c : Cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        EXPECT_EQ(Parsed(c.Text), QString::fromUtf16(c.Expected));
    }
}

TEST(PathSyntax, ReadsEveryCommand)
{
    const TSyntaxCase cases[] = {
        {u"M10,20", u"M10,20 Z "}, // a trailing move is closed
        {u"M0 0 L10 0 10 10 Z", u"M0,0 L10,0 L10,10 Z "},
        {u"M 0 0 10 0", u"M0,0 L10,0 "}, // coordinates after a move are lines
        {u"m 1 1 2 2", u"M1,1 L3,3 "},
        {u"M0,0 H10 20", u"M0,0 L10,0 L20,0 "}, // implicit repetition
        {u"M0 0 h10 v10 H0 V0 z", u"M0,0 L10,0 L10,10 L0,10 L0,0 Z "},
        {u"M0 0 l5 5 5 5", u"M0,0 L5,5 L10,10 "},
        {u"M1 1 C2 2 3 3 4 4 c1 1 2 2 3 3", u"M1,1 C2,2 3,3 4,4 C5,5 6,6 7,7 "},
        {u"M0 0 C0 10 10 10 10 0 S20 -10 20 0", u"M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 "},
        {u"M0 0 C0 10 10 10 10 0 s10 -10 10 0", u"M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 "},
        {u"M0 0 C0 10 10 10 10 0 S20 -10 20 0 30 10 40 0", // "S" after "S" reflects too
         u"M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 C20,10 30,10 40,0 "},
        {u"M0 0 Q 30 30 60 0", u"M0,0 C20,20 40,20 60,0 "},
        {u"M0 0 Q15 15 30 0 T60 0", u"M0,0 C10,10 20,10 30,0 C40,-10 50,-10 60,0 "},
        {u"m0 0 q15 15 30 0 t30 0", u"M0,0 C10,10 20,10 30,0 C40,-10 50,-10 60,0 "},
        {u"M0 0 Q15 15 30 0 45 -15 60 0", u"M0,0 C10,10 20,10 30,0 C40,-10 50,-10 60,0 "},
        {u"M0 0 L10 10 ZM5 5", u"M0,0 L10,10 Z M5,5 Z "}, // a run of letters runs in turn
        {u"M0\t0\nL10\r\n10", u"M0,0 L10,10 "},
        {u"M0,0 L 1 , 1,L2 2", u"M0,0 L1,1 L2,2 "},
        {u"  m1 1", u"M1,1 Z "},
        {u"M0 0 L1 1 Z m1 1 l1 0", u"M0,0 L1,1 Z M1,1 L2,1 "}, // after a close, from the subpath start
        {u"M0 0 h10 a5 5 0 0 1 0 0 A5 5 0 1 0 10 0", u"M0,0 L10,0 "}, // arcs ending where they start
        {u"", u""},
    };
    ExpectParsed(cases);
}

TEST(PathSyntax, NumberForms)
{
    const TSyntaxCase cases[] = {
        {u"M0-1.5-2-.5", u"M0,-1.5 L-2,-0.5 "},
        {u"M0 0 L1e1,2E-1", u"M0,0 L10,0.2 "},
        {u"M1e2 0", u"M100,0 Z "},
        {u"M1e+2 0", u"M100,0 Z "},
        {u"M.5.5", u"M0.5,0.5 Z "},
        {u"M-.5-.5", u"M-0.5,-0.5 Z "},
        {u"M5. 6.", u"M5,6 Z "},
        {u"M0 0 L1e-50 3", u"M0,0 L0,3 "}, // too small for a single: 0
        {u"M+1+2", u"M1,2 Z "},
        {u"M1e1.5", u"M10,0.5 Z "},   // the exponent ends at the point
        {u"M1E+1-2", u"M10,-2 Z "},
    };
    ExpectParsed(cases);
}

// Short decimals take a fast conversion; it must round exactly as the general reader.
TEST(PathSyntax, NumbersRoundLikeTheGeneralReader)
{
    QStringList numbers{u"16777216"_qs, u"16777217"_qs, u"0.1"_qs, u"-0.3"_qs, u"3.4028235"_qs,
                        u"0.00000000001"_qs, u"1677721.5"_qs, u"8388609.5"_qs};
    std::uint32_t seed = 12345;
    for (int i = 0; i < 2000; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Up to eight digits, up to ten of them decimals.
        const int decimals = int(seed >> 28) % 11;
        QString number = QString::number((seed >> 4) % 20000000).rightJustified(decimals + 1, u'0');
        if (decimals > 0)
            number.insert(number.size() - decimals, u'.');
        numbers += number;
    }
    for (const QString& number : numbers) {
        SCOPED_TRACE(number.toStdString());
        float expected = 0;
        ASSERT_TRUE(TryStrToFloat(number, expected));
        TVelkPathData path;
        path.SetData(QString(u"M%1 0"_qs).arg(number));
        EXPECT_EQ(path.GetPoint(0).Point.X, expected);
    }
}

// The path is drawn up to the last complete segment before the first error; nothing
// after the error is read.
TEST(PathSyntax, StopsAtTheFirstError)
{
    const TSyntaxCase cases[] = {
        {u"A5 5 0 0 1 50 50", u""}, // path data must begin with a move
        {u"L10 10", u""},
        {u"10 20 M5 5", u""},
        {u"M0 0 L10 10 L. 5 20 20", u"M0,0 L10,10 "},
        {u"M0 0 L10 10 L1e999 5 L2 2", u"M0,0 L10,10 "}, // overflow is an error, not infinity
        {u"M0 0 L3.4e39 5 L2 2", u"M0,0 Z "},             // beyond the single range
        {u"M0 0 Lnan 5", u"M0,0 Z "},
        {u"M0 0 L inf 5", u"M0,0 Z "},
        {u"M0 0 L1e 5 L2 2", u"M0,0 Z "}, // "1" and then "e" where a number must be
        {u"M0 0 L10 10 20", u"M0,0 L10,10 "},             // half a point
        {u"M0 0 C1 1 2 2 3 3 4 4 5 5 6", u"M0,0 C1,1 2,2 3,3 "}, // an unfinished repetition
        {u"M0 0 L1 1 2 2 3 x L4 4", u"M0,0 L1,1 L2,2 "},
        {u"M0 0 L10 10 L", u"M0,0 L10,10 "},   // a command without arguments
        {u"M0 0 LL10 10", u"M0,0 Z "},
        {u"M0 0 L1 1 x L2 2", u"M0,0 L1,1 "},  // an unknown character
        {u"M0 0 L1 1 \u0661 L2 2", u"M0,0 L1,1 "}, // a non-ASCII digit
        {u"M0 0 L1 1,,2 2", u"M0,0 L1,1 "},   // two commas
        {u"M0 0 L1 1 Z 5 5 L2 2", u"M0,0 L1,1 Z "}, // a close takes no numbers
        // Flags are exactly "0" or "1".
        {u"M0 0 h10 a5 5 0 -1 0 5 5 L0 0", u"M0,0 L10,0 "},
        {u"M0 0 h10 a5 5 0 1 7 5 5 L0 0", u"M0,0 L10,0 "},
        {u"M0 0 h10 a5 5 0 1.0 1 5 5", u"M0,0 L10,0 "},
        {u"M0 0 h10 a5 5 0 0 1 5", u"M0,0 L10,0 "}, // an arc missing its end
    };
    ExpectParsed(cases);
}

// "S" and "T" reflect only the control point of a curve of their own family right
// before them; after anything else their first control point is the current point.
TEST(PathSyntax, SmoothCurvesReflectOnlyTheirOwnFamily)
{
    const TSyntaxCase cases[] = {
        {u"M5 5 S10 10 20 20", u"M5,5 C5,5 10,10 20,20 "},
        {u"M0 0 L10 0 L10 10 S20 20 30 10", u"M0,0 L10,0 L10,10 C10,10 20,20 30,10 "},
        {u"M0 0 Q15 15 30 0 S40 10 50 0", u"M0,0 C10,10 20,10 30,0 C30,0 40,10 50,0 "},
        {u"M0 0 C0 10 10 10 10 0 Z S20 10 20 0", u"M0,0 C0,10 10,10 10,0 Z C0,0 20,10 20,0 "},
        {u"M0 0 L10 0 T40 30", u"M0,0 L10,0 C10,0 20,10 40,30 "},
        {u"M0 0 C0 10 10 10 10 0 T40 30", u"M0,0 C0,10 10,10 10,0 C10,0 20,10 40,30 "},
        {u"M0 0 Q15 15 30 0 Z T30 30", u"M0,0 C10,10 20,10 30,0 Z C0,0 10,10 30,30 "},
    };
    ExpectParsed(cases);
    // After an arc, whose last entries are cubic points too.
    TVelkPathData expected;
    expected.MoveTo({0, 0});
    expected.SVGArcTo({0, 0}, {5, 5}, {10, 0}, true, false, 0);
    expected.CurveTo({10, 0}, {20, 10}, {30, 0});
    EXPECT_EQ(Parsed(u"M0 0 A5 5 0 0 1 10 0 s10 10 20 0"), expected.GetData());
}

struct TArcSyntaxCase {
    const char16_t* Text;
    TPointF Radii;
    float Rotation;
    bool LargeArc;
    bool Sweep;
    TPointF End;
};

TEST(PathSyntax, ArcArgumentsAndFlags)
{
    const TArcSyntaxCase cases[] = {
        {u"M0 0 a1 1 0 00 1 1", {1, 1}, 0, false, false, {1, 1}}, // flags without separators
        {u"M0 0 A1,1,0,1,1,1,1", {1, 1}, 0, true, true, {1, 1}},
        {u"M0 0 A5 3 30 1 0 8 2", {5, 3}, 30, true, false, {8, 2}},
        {u"M0 0 A5 3 30 10 8 2", {5, 3}, 30, true, false, {8, 2}},
        {u"M0 0 A5 3 -30 0,1 8,2", {5, 3}, -30, false, true, {8, 2}},
    };
    for (const TArcSyntaxCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TVelkPathData expected;
        expected.MoveTo({0, 0});
        expected.SVGArcTo({0, 0}, c.Radii, c.End, c.Sweep, c.LargeArc, c.Rotation);
        EXPECT_EQ(Parsed(c.Text), expected.GetData());
    }
    // Further arcs come through implicit repetition; "a" is relative to the last point.
    TVelkPathData twice;
    twice.SetData(u"M0 0 a5 5 0 0 1 10 0 5 5 0 0 1 10 0");
    EXPECT_EQ(twice.GetPoint(twice.Count() - 1).Point, (TPointF{20, 0}));
}

TEST(PathSyntax, WriterTexts)
{
    TVelkPathData path;
    EXPECT_EQ(path.GetData(), "");
    path.MoveTo({1.5f, 2});
    path.LineTo({3, 4});
    path.ClosePath();
    EXPECT_EQ(path.GetData(), "M1.5,2 L3,4 Z ");
    path.CurveTo({0.1f, -0.25f}, {1e-7f, 123456.7f}, {-2, 1e20f});
    EXPECT_EQ(path.GetData(), "M1.5,2 L3,4 Z C0.1,-0.25 0.0000001,123456.7 -2,1e+20 ");

    // Written numbers read back the same.
    TVelkPathData copy;
    copy.SetData(path.GetData());
    EXPECT_EQ(copy.GetData(), path.GetData());

    // Never a comma as decimal separator, whatever the locale.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(path.GetData().left(14), "M1.5,2 L3,4 Z ");
    QLocale::setDefault(saved);
}

TEST(PathSyntax, FormatStr)
{
    TVelkPathData path;
    EXPECT_EQ(path.FormatStr(), "0.######################################");
    path.MoveTo({1.23456f, 2});
    path.SetFormatStr(u"0.##"_qs);
    EXPECT_EQ(path.GetData(), "M1.23,2 ");
    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { path.SetFormatStr(u"0.#'"_qs); }),
              "Format '0.#'' invalid or incompatible with argument");
    EXPECT_EQ(path.FormatStr(), "0.##");
}

TEST(PathSyntax, SplitDataByLength)
{
    TVelkPathData path;
    path.SetData(u"M0,0 L10,10 L20,20 Z");
    EXPECT_EQ(path.SplitDataByLength(10, u"\n"), "M0,0 L10,10 \nL20,20 Z ");
    EXPECT_EQ(path.SplitDataByLength(100, u"\n"), "M0,0 L10,10 L20,20 Z ");
    EXPECT_EQ(path.SplitDataByLength(0, u"|"), "M0,0 |L10,10 |L20,20 |Z |");
}

TEST(PathSyntax, OneChangePerParse)
{
    TVelkPathData path;
    int changes = 0;
    path.OnChanged = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &path);
        ++changes;
    };
    path.SetData(u"M0 0 L10 10 20 20 C1 1 2 2 3 3 A5 5 0 0 1 40 40 Z");
    EXPECT_EQ(changes, 1);
    path.SetData(u"garbage");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(path.Count(), 0);
}

TEST(PathSyntax, AppendParsesText)
{
    TVelkPathData path;
    path.SetData(u"M0 0 L10 0");
    path.Append(u"M20 0 L30 0");
    EXPECT_EQ(path.GetData(), "M0,0 L10,0 M20,0 L30,0 ");
    path.ClosePath(); // closes the appended subpath
    EXPECT_EQ(path.GetPoint(path.Count() - 1).Point, (TPointF{20, 0}));
}

} // namespace

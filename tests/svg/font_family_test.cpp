#include "platform/string_list.h"
#include "svg/font_family.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::Lines;

namespace {

TEST(SVGParseFontFamily, CommaTextRules)
{
    struct Case {
        const char16_t* Text;
        QStringList Expected;
    } cases[] = {
        {u"Arial, sans-serif", {u"Arial"_qs, u"sans-serif"_qs}},
        {u"Times New Roman", {u"Times"_qs, u"New"_qs, u"Roman"_qs}}, // blanks separate
        {u"\"Times New Roman\",serif", {u"Times New Roman"_qs, u"serif"_qs}},
        {u"'Times New Roman', serif", {u"Times New Roman"_qs, u"serif"_qs}},
        {u"'Bob''s Font'", {u"Bob's Font"_qs}},
        {u"Bob's, \"A B\"", {u"Bob's"_qs, u"A B"_qs}},
        // With a double quote in the text, single quotes are ordinary characters.
        {u"\"A B\", 'C D'", {u"A B"_qs, u"'C"_qs, u"D'"_qs}},
        {u"a,,b", {u"a"_qs, u""_qs, u"b"_qs}},
        {u" serif ", {u"serif"_qs}},
    };
    for (const Case& c : cases) {
        TStringList families;
        families.Add(u"old"_qs);
        bool inherit = false;
        SVGParseFontFamily(c.Text, families, inherit);
        EXPECT_EQ(Lines(families), c.Expected) << QString::fromUtf16(c.Text).toStdString();
        EXPECT_FALSE(inherit);
    }
}

TEST(SVGParseFontFamily, InheritAndEmptyKeepTheList)
{
    struct Case {
        const char16_t* Text;
        bool InheritBefore;
        bool InheritAfter;
    } cases[] = {{u"inherit", false, true}, {u"", true, true}, {u"  ", false, false}};
    for (const Case& c : cases) {
        TStringList families;
        families.Add(u"old"_qs);
        int changes = 0;
        families.OnChange = [&](TObject*) { ++changes; };
        bool inherit = c.InheritBefore;
        SVGParseFontFamily(c.Text, families, inherit);
        EXPECT_EQ(Lines(families), QStringList{u"old"_qs}) << QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(inherit, c.InheritAfter) << QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(changes, 0);
    }
}

TEST(SVGParseFontFamily, TheListChangesOnce)
{
    for (const char16_t* text : {u"a, b, c", u"'a b', c"}) {
        TStringList families;
        int changes = 0;
        families.OnChange = [&](TObject*) { ++changes; };
        bool inherit = false;
        SVGParseFontFamily(text, families, inherit);
        EXPECT_EQ(changes, 1) << QString::fromUtf16(text).toStdString();
    }
}

TEST(SVGFontFamiliesToStr, QuotesWhatWouldNotReadBack)
{
    struct Case {
        QStringList Names;
        const char* Expected;
    } cases[] = {
        {{u"Times New Roman"_qs, u"serif"_qs}, "'Times New Roman', serif"},
        {{u"Arial"_qs}, "Arial"},
        {{u"Bob's Font"_qs, u"Bob's"_qs}, "'Bob''s Font', Bob's"},
        {{u"a,b"_qs}, "'a,b'"},
        {{u"'quoted"_qs}, "'''quoted'"},
        {{u"a"_qs, u""_qs}, "a, ''"},
        {{u"inherit"_qs}, "'inherit'"}, // unquoted, the keyword
        // A double quote in a name: the double quote quotes, single quotes are plain.
        {{u"Say \"Hi\""_qs, u"it's"_qs, u"x y"_qs}, "\"Say \"\"Hi\"\"\", it's, \"x y\""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TStringList families;
        for (const QString& name : c.Names)
            families.Add(name);
        const QString text = SVGFontFamiliesToStr(families);
        EXPECT_EQ(text, c.Expected);
        TStringList again;
        bool inherit = false;
        SVGParseFontFamily(text, again, inherit);
        EXPECT_EQ(Lines(again), c.Names) << c.Expected;
    }
}

} // namespace

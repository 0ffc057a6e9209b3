#include "platform/string_list.h"
#include "svg/split_lines.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

QStringList Split(const QString& Line, int MaxLength)
{
    QStringList lines{Line};
    SVGSplitLines(lines, MaxLength);
    return lines;
}

TEST(SVGSplitLines, BreaksPathDataAtBlanksCommasAndTheClosingQuote)
{
    struct Case {
        const char* Line;
        QStringList Expected;
    } cases[] = {
        {R"(<path d="M1 2 L3 4 L5 6 L7 8"/>)", {R"(<path d="M1 2 L3 4)", R"( L5 6 L7 8"/>)"}},
        {R"(<path d="M1,2,3,4,5,6,7,8,9,10"/>)", {R"(<path d="M1,2,3,4,5)", R"(,6,7,8,9,10)", R"("/>)"}},
        {R"(<path d="M12345678901234567890"/>)", {R"(<path d="M12345678901234567890)", R"("/>)"}},
        // The " d" at column 10 or later: the text before it becomes a line of its own.
        {R"(<path id="a-long-identifier" d="M1 2 L3 4 L5 6"/>)",
         {R"(<path id="a-long-identifier")", R"( d="M1 2 L3 4)", R"( L5 6"/>)"}},
        // " d" inside another attribute's value is not the path data.
        {R"(<path class=" d=1" d="M1 2 L3 4 L5 6 L7 8"/>)",
         {R"(<path class=" d=1")", R"( d="M1 2 L3 4)", R"( L5 6 L7 8"/>)"}},
        {R"(<path dx="1" d = "M1 2 L3 4 L5 6 L7 8"/>)", {R"(<path dx="1")", R"( d = "M1 2 L3 4)", R"( L5 6 L7 8"/>)"}},
        // Lines that stay whole.
        {R"(<path d="M1"/>)", {R"(<path d="M1"/>)"}},
        {R"(<rect d="M1 2 L3 4 L5 6 L7 8"/>)", {R"(<rect d="M1 2 L3 4 L5 6 L7 8"/>)"}},
        {R"(<g title="<path d=x">M1 2 L3 4 L5 6 L7 8</g>)", {R"(<g title="<path d=x">M1 2 L3 4 L5 6 L7 8</g>)"}},
        {R"(<path id="p1234567890"/> d="M1 2 L3 4 L5 6")", {R"(<path id="p1234567890"/> d="M1 2 L3 4 L5 6")"}},
        {R"(<path d="M1 2 L3 4 L5 6 L7 8)", {R"(<path d="M1 2 L3 4 L5 6 L7 8)"}}, // no closing quote
        {R"(<path d=M1 2 L3 4 L5 6 L7 8/>)", {R"(<path d=M1 2 L3 4 L5 6 L7 8/>)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(QString::fromUtf8(c.Line), 10), c.Expected) << c.Line;
}

TEST(SVGSplitLines, PiecesJoinToTheLineAndKeepTheirLength)
{
    QString data;
    for (int i = 0; i < 2000; ++i)
        data += u"%1%2,%3 "_qs.arg(i % 3 ? u'L' : u'C').arg(i * 7 % 1000).arg(i % 97 * 1.5);
    const QString line = u"    <path id=\"outline\" style=\"fill:none\" d=\""_qs + data.trimmed() + u"\" />"_qs;
    for (const int maxLength : {33, 80, 250}) {
        const QStringList pieces = Split(line, maxLength);
        ASSERT_GT(pieces.size(), 2);
        EXPECT_EQ(pieces.join(QString()), line);
        // Every piece inside the value runs from one break to the next: at least
        // maxLength columns, then up to the next blank or comma (numbers here are short).
        for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
            EXPECT_GE(pieces[i].size(), maxLength);
            EXPECT_LE(pieces[i].size(), maxLength + 8);
        }
    }
}

TEST(SVGSplitLines, OtherLinesStayAndOrderIsKept)
{
    const QString path = uR"(<path d="M1 2 L3 4 L5 6 L7 8"/>)"_qs;
    QStringList lines{u"<svg>"_qs, path, u"<rect width=\"1000000000000\"/>"_qs, path, u"</svg>"_qs};
    SVGSplitLines(lines, 0); // no length: nothing to do
    EXPECT_EQ(lines.size(), 5);
    SVGSplitLines(lines, 10);
    EXPECT_EQ(lines, QStringList({u"<svg>"_qs, uR"(<path d="M1 2 L3 4)"_qs, uR"( L5 6 L7 8"/>)"_qs,
                                  u"<rect width=\"1000000000000\"/>"_qs, uR"(<path d="M1 2 L3 4)"_qs,
                                  uR"( L5 6 L7 8"/>)"_qs, u"</svg>"_qs}));
}

TEST(SVGSplitLines, StringListIsRefilledOnceAndOnlyWhenALineBreaks)
{
    TStringList list;
    list.SetText(u"<svg>\n<path d=\"M1 2 L3 4 L5 6 L7 8\"/>\n</svg>\n");
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    SVGSplitLines(list, 80);
    EXPECT_EQ(changes, 0);
    SVGSplitLines(list, 10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Text(), "<svg>\n<path d=\"M1 2 L3 4\n L5 6 L7 8\"/>\n</svg>\n");
}

} // namespace

#include "graphics/backend_path.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace velk {
namespace {

TEST(BackendPathSyntax, ReadsCommands)
{
    struct Case {
        const char16_t* Text;
        const char16_t* Written;
    } cases[] = {
        {u"M0,0 L10,0 L10,10 Z", u"M0,0 L10,0 L10,10 Z "},
        {u"M1 1 2 2", u"M1,1 L2,2 "},                             // lines after a move
        {u"m1,1 l2,2 3,3", u"M1,1 L3,3 L6,6 "},                   // relative to the current point
        {u"M0,0 H10 V5 h-2 v-1", u"M0,0 L10,0 L10,5 L8,5 L8,4 "}, // one number each
        {u"M0,0 L1,1 -2,-2", u"M0,0 L1,1 L-2,-2 "},               // repeated by a "-"
        {u"M0,0 C1,1 2,2 3,3 S5,5 6,6", u"M0,0 C1,1 2,2 3,3 C4,4 5,5 6,6 "},
        {u"M0,0 c1,1 2,2 3,3", u"M0,0 C1,1 2,2 3,3 "},
        {u"M0,0 L1,0 Z L2,2", u"M0,0 L1,0 Z M0,0 L2,2 "},         // after a close: its start
        {u"M10,10", u""},                                         // a trailing move stays unclosed
        {u"M5,5 Z", u""},
        {u"M0,0 Q1,1 2,2 T3,3 t4,4 L4,4", u"M0,0 L4,4 "},         // quadratics add nothing
        {u"\tM0,0\nL1e+20,1e-05\r", u"M0,0 L1e+20,1e-05 "},
        {u"M1.5,2 ,, L3,4", u"M1.5,2 L3,4 "},
        // A number is the whole run of number characters: these do not read and their
        // commands are abandoned.
        {u"M0-1 L5,5", u"M0,0 L5,5 "},
        {u"M0,0 L1.2.3,4 L5,5", u"M0,0 L5,5 "},
        {u"M0,0 L1,1e99 L5,5", u"M0,0 L5,5 "},
        // Text no command reads ends the parse.
        {u"M0,0 L1,1 x L5,5", u"M0,0 L1,1 "},
        {u"M0,0 L1,nan L5,5", u""},
        {u"", u""},
    };
    for (const Case& c : cases) {
        TVelkGPPath path;
        path.SetData(QStringView(c.Text));
        EXPECT_EQ(path.GetData(), QString::fromUtf16(c.Written)) << QString::fromUtf16(c.Text).toStdString();
    }
}

TEST(BackendPathSyntax, ArcsStartAtTheCurrentPoint)
{
    TVelkGPPath path;
    // Flags are two numbers; sweep 1 turns clockwise on a y-down screen, over the top.
    path.SetData(u"M0,0 A10,10 0 0,1 20,0");
    EXPECT_EQ(path.LastPoint(), (TPointF{20, 0}));
    const TRectF bounds = path.GetBounds();
    EXPECT_NEAR(bounds.Top, -10, 1e-3);
    EXPECT_NEAR(bounds.Bottom, 0, 1e-3);
    path.SetData(u"M0,0 a10,10 0 0,0 20,0");
    EXPECT_NEAR(path.GetBounds().Bottom, 10, 1e-3);
    // An arc back to its start adds nothing; the path goes on.
    path.SetData(u"M5,5 A10,10 0 1,1 5,5 L6,6");
    EXPECT_EQ(path.GetData(), u"M5,5 L6,6 "_qs);
    // A zero radius is a straight line.
    path.SetData(u"M0,0 A0,10 0 0,1 20,0");
    EXPECT_EQ(path.GetData(), u"M0,0 L20,0 "_qs);
}

TEST(BackendPathSyntax, ReadsBackWhatItWrites)
{
    TVelkGPPath path;
    path.MoveTo({0.1f, 1.0f / 3}).LineTo({-123456.789f, 1e-7f}).CurveTo({3e25f, -0.0f}, {7, 8}, {9.5f, 10});
    path.ClosePath();
    path.AddEllipse({-1.25f, 2.5f, 100.125f, 3.75e-3f}).AddLine({1, 1}, {1, 1}).AddPie(0, 0, 33, 17, 10, 200);
    const QString text = path.GetData();
    TVelkGPPath copy;
    copy.SetData(text);
    EXPECT_EQ(copy.GetPathData(), path.GetPathData());
    EXPECT_EQ(copy.GetData(), text);
}

// Untrusted text: whatever reads, reads back the same, and nothing hangs.
TEST(BackendPathSyntax, AnyTextReadsBackAfterWriting)
{
    static constexpr char16_t Alphabet[] = u"MmLlHhVvCcSsQqTtAaZz0123456789.-+eE ,\t";
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> pick(0, int(std::size(Alphabet)) - 2);
    for (int n = 0; n < 3000; ++n) {
        QString text;
        for (int i = 0; i < 48; ++i)
            text += QChar(Alphabet[pick(random)]);
        TVelkGPPath path;
        path.SetData(text);
        TVelkGPPath copy;
        copy.SetData(path.GetData());
        ASSERT_EQ(copy.GetPathData(), path.GetPathData()) << text.toStdString();
    }
    // One long token is read once.
    TVelkGPPath path;
    path.SetData(u"M0,0 L"_qs + QString(1000000, u'-'));
    EXPECT_EQ(path.Count(), 0);
}

TEST(BackendPathSyntax, DataIsAPublishedPropertyNeverStored)
{
    const TPropertyInfo* data = nullptr;
    for (const TPropertyInfo* p : TVelkGPPath::StaticClass().Properties()) {
        if (p->Name == u"Data")
            data = p;
    }
    ASSERT_NE(data, nullptr);
    TVelkGPPath path;
    path.SetData(u"M0,0 L1,1");
    EXPECT_FALSE(data->IsStored(path));
}

} // namespace
} // namespace velk

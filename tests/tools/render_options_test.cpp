#include "tools/velk-render/render_options.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace velk {
namespace {

using testing::MessageOf;

QStringList Args(const QString& Line)
{
    return Line.split(u' ', Qt::SkipEmptyParts);
}

TEST(RenderOptionsTest, ValidCommandLines)
{
    struct Case {
        const char16_t* Line;
        std::function<void(const TRenderCommand&)> Check;
    };
    const Case cases[] = {
        {u"in.svg out.png",
         [](const TRenderCommand& c) {
             EXPECT_EQ(c.Mode, rmRender);
             EXPECT_EQ(c.Input, u"in.svg"_qs);
             EXPECT_EQ(c.Output, u"out.png"_qs);
             EXPECT_FALSE(c.Options.Width);
             EXPECT_FALSE(c.Options.Height);
             EXPECT_EQ(c.Options.Zoom, 1.0);
             EXPECT_EQ(c.Options.DPI, 96);
             EXPECT_EQ(c.Options.Background, QColor(Qt::transparent));
             EXPECT_FALSE(c.Options.Languages);
             EXPECT_EQ(c.Jobs, 0);
         }},
        // Options before, between and after the paths; both spellings of a value.
        {u"--width 300 in.svg --height=200 out.png --dpi 72",
         [](const TRenderCommand& c) {
             EXPECT_EQ(c.Input, u"in.svg"_qs);
             EXPECT_EQ(c.Output, u"out.png"_qs);
             EXPECT_EQ(c.Options.Width, 300);
             EXPECT_EQ(c.Options.Height, 200);
             EXPECT_EQ(c.Options.DPI, 72);
         }},
        {u"--zoom 2.5 a.svg b.png", [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Zoom, 2.5); }},
        {u"--background white a.svg b.png",
         [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Background, QColor(255, 255, 255)); }},
        {u"--background=#F0A a.svg b.png",
         [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Background, QColor(0xFF, 0x00, 0xAA)); }},
        {u"--background=rgb(0,128,255) a.svg b.png",
         [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Background, QColor(0, 128, 255)); }},
        // Eight digits carry the alpha in front.
        {u"--background #80FF0000 a.svg b.png",
         [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Background, QColor(255, 0, 0, 0x80)); }},
        {u"--background none a.svg b.png",
         [](const TRenderCommand& c) { EXPECT_EQ(c.Options.Background.alpha(), 0); }},
        {u"--id logo a.svg b.png", [](const TRenderCommand& c) { EXPECT_EQ(c.Options.ID, u"logo"_qs); }},
        {u"--font-dir /f1 --font-dir=/f2 --font-family SERIF=Noto --font-family default=DejaVu a.svg b.png",
         [](const TRenderCommand& c) {
             EXPECT_EQ(c.Options.FontDirs, (QStringList{u"/f1"_qs, u"/f2"_qs}));
             ASSERT_EQ(c.Options.FontFamilies.size(), 2u);
             EXPECT_EQ(c.Options.FontFamilies[0], std::make_pair(u"serif"_qs, u"Noto"_qs));
             EXPECT_EQ(c.Options.FontFamilies[1], std::make_pair(u"default"_qs, u"DejaVu"_qs));
         }},
        {u"--lang en,fr-CA a.svg b.png",
         [](const TRenderCommand& c) {
             ASSERT_TRUE(c.Options.Languages);
             EXPECT_EQ(*c.Options.Languages, (QStringList{u"en"_qs, u"fr-CA"_qs}));
         }},
        {u"--batch --jobs 3 --width 64 in out",
         [](const TRenderCommand& c) {
             EXPECT_EQ(c.Mode, rmBatch);
             EXPECT_EQ(c.Jobs, 3);
             EXPECT_EQ(c.Options.Width, 64);
             EXPECT_EQ(c.Input, u"in"_qs);
             EXPECT_EQ(c.Output, u"out"_qs);
         }},
        // "--" ends the options: a file may begin with a dash.
        {u"-- -odd.svg -out.png",
         [](const TRenderCommand& c) {
             EXPECT_EQ(c.Input, u"-odd.svg"_qs);
             EXPECT_EQ(c.Output, u"-out.png"_qs);
         }},
        // Help wins over everything else, even a broken command line.
        {u"--width x --help", [](const TRenderCommand& c) { EXPECT_EQ(c.Mode, rmHelp); }},
        {u"-h", [](const TRenderCommand& c) { EXPECT_EQ(c.Mode, rmHelp); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Line).toStdString());
        try {
            c.Check(ParseRenderCommand(Args(QString::fromUtf16(c.Line))));
        } catch (const Exception& e) {
            ADD_FAILURE() << e.Message().toStdString();
        }
    }
}

TEST(RenderOptionsTest, WrongCommandLinesNameTheProblem)
{
    struct Case {
        const char16_t* Line;
        const char16_t* Message;
    };
    const Case cases[] = {
        {u"", u"expected IN.svg OUT.png"},
        {u"in.svg", u"expected IN.svg OUT.png"},
        {u"a.svg b.png c.png", u"expected IN.svg OUT.png, but also got \"c.png\""},
        {u"--batch in", u"expected INDIR OUTDIR"},
        {u"--colour red a.svg b.png", u"unknown option \"--colour\""},
        {u"-w 3 a.svg b.png", u"unknown option \"-w\""},
        {u"a.svg b.png --width", u"--width needs a value"},
        {u"--width 0 a.svg b.png", u"--width expects a whole number from 1 to 8096, not \"0\""},
        {u"--width -5 a.svg b.png", u"--width expects a whole number from 1 to 8096, not \"-5\""},
        {u"--height 12.5 a.svg b.png", u"--height expects a whole number from 1 to 8096, not \"12.5\""},
        {u"--height 99999 a.svg b.png", u"--height expects a whole number from 1 to 8096, not \"99999\""},
        {u"--zoom 0 a.svg b.png", u"--zoom expects a positive number, not \"0\""},
        {u"--zoom nan a.svg b.png", u"--zoom expects a positive number, not \"nan\""},
        {u"--zoom inf a.svg b.png", u"--zoom expects a positive number, not \"inf\""},
        {u"--zoom 1e400 a.svg b.png", u"--zoom expects a positive number, not \"1e400\""},
        {u"--dpi 5 a.svg b.png", u"--dpi expects a whole number from 10 to 100000, not \"5\""},
        {u"--background blurple a.svg b.png", u"--background expects an SVG colour, not \"blurple\""},
        {u"--background currentColor a.svg b.png", u"--background expects an SVG colour, not \"currentColor\""},
        {u"--background= a.svg b.png", u"--background expects an SVG colour, not \"\""},
        {u"--id= a.svg b.png", u"--id needs a value"},
        {u"--font-family Noto a.svg b.png",
         u"--font-family expects KEY=FAMILY with KEY one of serif, sans-serif, monospace, cursive, fantasy, default, "
         u"not \"Noto\""},
        {u"--font-family heading=Noto a.svg b.png", u"with KEY one of"},
        {u"--font-family serif= a.svg b.png", u"with KEY one of"},
        {u"--lang , a.svg b.png", u"--lang expects a list of languages"},
        {u"--zoom 2 --width 10 a.svg b.png", u"--zoom cannot be combined with --width or --height"},
        {u"--jobs 2 a.svg b.png", u"--jobs applies to --batch only"},
        {u"--batch --jobs 0 in out", u"--jobs expects a whole number from 1 to 256, not \"0\""},
        {u"--batch --id x in out", u"--id cannot be combined with --batch"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.Line);
        SCOPED_TRACE(line.toStdString());
        const QString message = MessageOf<ERenderUsageError>([&] { ParseRenderCommand(Args(line)); });
        EXPECT_TRUE(message.contains(QString::fromUtf16(c.Message))) << message.toStdString();
    }
}

TEST(RenderOptionsTest, UsageTextNamesEveryOption)
{
    const QString usage = RenderUsageText();
    for (const char16_t* option : {u"--width", u"--height", u"--zoom", u"--dpi", u"--background", u"--id",
                                   u"--font-dir", u"--font-family", u"--lang", u"--batch", u"--jobs", u"--help"})
        EXPECT_TRUE(usage.contains(QString::fromUtf16(option))) << QString::fromUtf16(option).toStdString();
}

} // namespace
} // namespace velk

// velk-render run as a process: exit statuses, messages, batch mode.

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace velk {
namespace {

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

class VelkRenderProgramTest : public ::testing::Test {
protected:
    // The program with Arguments, with no display and no platform chosen: it must pick
    // the offscreen platform itself.
    static TRun Run(const QStringList& Arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_qs);
        environment.remove(u"DISPLAY"_qs);
        environment.remove(u"WAYLAND_DISPLAY"_qs);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELK_RENDER_PROGRAM), Arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << "velk-render did not finish";
        TRun run;
        run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.Out = QString::fromUtf8(process.readAllStandardOutput());
        run.Err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QString Path(const QString& Name) const { return FDir.filePath(Name); }

    QString Write(const QString& Name, const QString& Svg) const
    {
        const QString path = Path(Name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Svg.toUtf8());
        return path;
    }

    static QString Square(const QString& Colour)
    {
        return u"<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
               "<rect width='8' height='8' fill='%1'/></svg>"_qs.arg(Colour);
    }

    QTemporaryDir FDir;
};

TEST_F(VelkRenderProgramTest, RendersAFileAndPrintsHelp)
{
    const QString in = Write(u"in.svg"_qs, Square(u"#0000ff"_qs));
    const TRun run = Run({in, Path(u"out.png"_qs), u"--width=16"_qs});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    const QImage image(Path(u"out.png"_qs));
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixel(8, 8), qRgb(0, 0, 255));

    const TRun help = Run({u"--help"_qs});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.startsWith(u"Usage: velk-render"_qs));
}

TEST_F(VelkRenderProgramTest, ErrorsNameTheFileAndSetTheExitStatus)
{
    const QString in = Write(u"in.svg"_qs, Square(u"red"_qs));
    const QString broken = Write(u"broken.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg'><rect"_qs);
    struct Case {
        const char* Name;
        QStringList Arguments;
        int ExitCode;
        QString Err; // the beginning of standard error
    };
    const Case cases[] = {
        {"bad option", {u"--colour"_qs, u"red"_qs, in, Path(u"x.png"_qs)}, 2,
         u"velk-render: unknown option \"--colour\"\nTry 'velk-render --help'."_qs},
        {"no arguments", {}, 2, u"velk-render: expected IN.svg OUT.png"_qs},
        {"missing file", {Path(u"none.svg"_qs), Path(u"x.png"_qs)}, 1, u"velk-render: %1: "_qs.arg(Path(u"none.svg"_qs))},
        {"not XML", {broken, Path(u"x.png"_qs)}, 1, u"velk-render: %1: "_qs.arg(broken)},
        {"unknown id", {u"--id"_qs, u"nope"_qs, in, Path(u"x.png"_qs)}, 1,
         u"velk-render: %1: no element with id \"nope\""_qs.arg(in)},
        {"unwritable output", {in, Path(u"no/such/dir/x.png"_qs)}, 1,
         u"velk-render: %1: cannot write %2: "_qs.arg(in, Path(u"no/such/dir/x.png"_qs))},
        {"missing font folder", {u"--font-dir"_qs, Path(u"nofonts"_qs), in, Path(u"x.png"_qs)}, 2,
         u"velk-render: font folder %1 does not exist"_qs.arg(Path(u"nofonts"_qs))},
        {"family not installed", {u"--font-family"_qs, u"serif=No Such Family 42"_qs, in, Path(u"x.png"_qs)}, 2,
         u"velk-render: font family \"No Such Family 42\" (for serif) is not installed"_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = Run(c.Arguments);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_TRUE(run.Err.startsWith(c.Err)) << run.Err.toStdString();
        EXPECT_FALSE(QFile::exists(Path(u"x.png"_qs)));
    }
}

TEST_F(VelkRenderProgramTest, LanguagesChooseTheSwitchBranch)
{
    const QString in = Write(u"switch.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
                                               "<switch><rect systemLanguage='fr' width='8' height='8' fill='#0000ff'/>"
                                               "<rect width='8' height='8' fill='#ff0000'/></switch></svg>"_qs);
    for (const auto& [languages, colour] : {std::pair{u"fr-CA"_qs, qRgb(0, 0, 255)}, std::pair{u"en,de"_qs, qRgb(255, 0, 0)}}) {
        SCOPED_TRACE(languages.toStdString());
        const TRun run = Run({u"--lang"_qs, languages, in, Path(u"out.png"_qs)});
        ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        EXPECT_EQ(QImage(Path(u"out.png"_qs)).pixel(4, 4), colour);
    }
}

TEST_F(VelkRenderProgramTest, BatchRendersEveryFileDespiteABadOne)
{
    Write(u"in/red.svg"_qs, Square(u"#ff0000"_qs));
    Write(u"in/blue.SVG"_qs, Square(u"#0000ff"_qs));
    Write(u"in/bad.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg'><g>"_qs);
    Write(u"in/huge.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg' width='1e9' height='1e9'/>"_qs);
    Write(u"in/notes.txt"_qs, u"not an image"_qs);
    const TRun run = Run({u"--batch"_qs, u"--jobs"_qs, u"2"_qs, u"--background"_qs, u"white"_qs, Path(u"in"_qs),
                          Path(u"out/png"_qs)});
    EXPECT_EQ(run.ExitCode, 1);
    // Not a terminal: no progress line, the failures and a summary.
    EXPECT_FALSE(run.Err.contains(u'\r'));
    EXPECT_TRUE(run.Err.contains(u"velk-render: %1: "_qs.arg(QDir(Path(u"in"_qs)).filePath(u"bad.svg"_qs))))
        << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(u"velk-render: %1: the image would be"_qs.arg(QDir(Path(u"in"_qs)).filePath(u"huge.svg"_qs))))
        << run.Err.toStdString();
    EXPECT_TRUE(run.Err.endsWith(u"velk-render: 2 of 4 files failed: bad.svg huge.svg\n"_qs)) << run.Err.toStdString();

    const QDir out(Path(u"out/png"_qs));
    EXPECT_EQ(out.entryList(QDir::Files, QDir::Name), (QStringList{u"blue.png"_qs, u"red.png"_qs}));
    EXPECT_EQ(QImage(out.filePath(u"red.png"_qs)).pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(QImage(out.filePath(u"blue.png"_qs)).pixel(4, 4), qRgb(0, 0, 255));

    QFile::remove(Path(u"in/bad.svg"_qs));
    QFile::remove(Path(u"in/huge.svg"_qs));
    const TRun good = Run({u"--batch"_qs, Path(u"in"_qs), Path(u"out/png"_qs)});
    EXPECT_EQ(good.ExitCode, 0) << good.Err.toStdString();
    EXPECT_EQ(good.Err, u"velk-render: 2 files rendered into %1\n"_qs.arg(Path(u"out/png"_qs)));

    const TRun missing = Run({u"--batch"_qs, Path(u"nothing"_qs), Path(u"out"_qs)});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err, u"velk-render: %1: not a folder\n"_qs.arg(Path(u"nothing"_qs)));
}

} // namespace
} // namespace velk

// velk-render: renders SVG files to PNG images, one file or a whole folder (--batch).
// Run without arguments or with --help for the options; render_options.h has them too.

#include "tools/velk-render/batch.h"
#include "tools/velk-render/fonts.h"
#include "tools/velk-render/render_job.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

using namespace velk;

namespace {

void PrintError(const QString& Subject, const QString& Message)
{
    std::fprintf(stderr, "velk-render: %s: %s\n", qUtf8Printable(Subject), qUtf8Printable(Message));
}

// Standard error is for the program's own messages, which scripts read: Qt's debug
// output and warnings (the offscreen platform's remarks about the environment, for
// instance) are dropped; critical and fatal messages still show.
void QtMessages(QtMsgType Type, const QMessageLogContext&, const QString& Message)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        std::fprintf(stderr, "velk-render: Qt: %s\n", qUtf8Printable(Message));
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    TRenderCommand command;
    try {
        command = ParseRenderCommand(arguments);
    } catch (const ERenderUsageError& e) {
        std::fprintf(stderr, "velk-render: %s\nTry 'velk-render --help'.\n", qUtf8Printable(e.Message()));
        return RenderExitUsage;
    }
    if (command.Mode == rmHelp) {
        std::fputs(qUtf8Printable(RenderUsageText()), stdout);
        return RenderExitOK;
    }

    qInstallMessageHandler(QtMessages);
    const std::unique_ptr<QGuiApplication> application = EnsureRenderApplication(argc, argv);
    try {
        SetUpRenderFonts(command.Options);
    } catch (const Exception& e) {
        std::fprintf(stderr, "velk-render: %s\n", qUtf8Printable(e.Message()));
        return RenderExitUsage;
    }
    if (command.Mode == rmBatch)
        return RunRenderBatch(command);

    try {
        SavePNG(RenderFile(command.Input, command.Options), command.Output);
    } catch (const Exception& e) {
        PrintError(command.Input, e.Message());
        return RenderExitFailed;
    } catch (const std::exception& e) {
        PrintError(command.Input, QString::fromLocal8Bit(e.what()));
        return RenderExitFailed;
    }
    return RenderExitOK;
}

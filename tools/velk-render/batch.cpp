#include "tools/velk-render/batch.h"

#include "tools/velk-render/render_job.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velk {

namespace {

void PrintError(const QString& Subject, const QString& Message)
{
    std::fprintf(stderr, "velk-render: %s: %s\n", qUtf8Printable(Subject), qUtf8Printable(Message));
}

// Shared by the workers: the next file to take, and the report under one lock.
class TBatchProgress {
public:
    TBatchProgress(int Total, bool Terminal) : FTotal(Total), FTerminal(Terminal) {}

    void Done(const QString& Name)
    {
        const std::lock_guard lock(FMutex);
        ++FDone;
        if (FTerminal) {
            // Rewrites the line: carriage return, the text, then erase to its end.
            std::fprintf(stderr, "\r[%d/%d] %s\x1b[K", FDone, FTotal, qUtf8Printable(Name));
            std::fflush(stderr);
        }
    }

    void Failed(const QString& Name, const QString& FileName, const QString& Message)
    {
        const std::lock_guard lock(FMutex);
        FFailures.push_back(Name);
        if (FTerminal)
            std::fputs("\r\x1b[K", stderr);
        PrintError(FileName, Message);
    }

    // After the workers: the line ends, and the failures are summed up.
    int Finish(const QString& OutDir)
    {
        if (FTerminal)
            std::fputs("\n", stderr);
        if (FFailures.empty()) {
            std::fprintf(stderr, "velk-render: %d files rendered into %s\n", FTotal, qUtf8Printable(OutDir));
            return RenderExitOK;
        }
        std::sort(FFailures.begin(), FFailures.end());
        std::fprintf(stderr, "velk-render: %d of %d files failed:", int(FFailures.size()), FTotal);
        for (const QString& name : FFailures)
            std::fprintf(stderr, " %s", qUtf8Printable(name));
        std::fputs("\n", stderr);
        return RenderExitFailed;
    }

private:
    std::mutex FMutex;
    const int FTotal;
    const bool FTerminal;
    int FDone = 0;
    std::vector<QString> FFailures;
};

} // namespace

int RunRenderBatch(const TRenderCommand& Command)
{
    const QDir inDir(Command.Input);
    if (!QFileInfo(Command.Input).isDir()) {
        PrintError(Command.Input, u"not a folder"_qs);
        return RenderExitFailed;
    }
    if (!QDir().mkpath(Command.Output) || !QFileInfo(Command.Output).isDir()) {
        PrintError(Command.Output, u"the output folder cannot be created"_qs);
        return RenderExitFailed;
    }
    const QDir outDir(Command.Output);
    // Name filters ignore case: "*.svg" also takes "logo.SVG".
    const QStringList names = inDir.entryList({u"*.svg"_qs}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::fprintf(stderr, "velk-render: %s: no .svg files\n", qUtf8Printable(Command.Input));
        return RenderExitOK;
    }

    const int total = int(names.size());
    const int cores = Command.Jobs > 0 ? Command.Jobs : std::max(1, QThread::idealThreadCount());
    const int workers = std::min(cores, total);
    TBatchProgress progress(total, isatty(fileno(stderr)) != 0);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < total; i = next++) {
            const QString& name = names[i];
            const QString input = inDir.filePath(name);
            try {
                const QImage image = RenderFile(input, Command.Options);
                SavePNG(image, outDir.filePath(QFileInfo(name).completeBaseName() + u".png"_qs));
            } catch (const Exception& e) {
                progress.Failed(name, input, e.Message());
            } catch (const std::exception& e) {
                // Out of memory and the like: this file fails, the batch goes on.
                progress.Failed(name, input, QString::fromLocal8Bit(e.what()));
            }
            progress.Done(name);
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(workers));
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(work);
    for (std::thread& thread : threads)
        thread.join();
    return progress.Finish(Command.Output);
}

} // namespace velk

// velk_conformance: renders every case of the external conformance corpus at its
// reference picture's size, compares per the corpus rule, and reports pass rates.
//
//   velk_conformance [--corpus DIR] [--out DIR] [--jobs N] [--filter TEXT]
//
// It reports and never fails on a rate: the exit status is 0 after a run, 77 (CTest's
// "skipped") when the corpus is absent, 1 when it cannot run at all.

#include "conformance_cases.h"
#include "conformance_compare.h"

#include "platform/exceptions.h"
#include "tools/velk-render/fonts.h"
#include "tools/velk-render/render_job.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>

#include <exception>
#include <memory>

using namespace velk;
using namespace velk::conformance;

namespace {

constexpr int ExitSkipped = 77;

QTextStream& Console()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream& Errors()
{
    static QTextStream out(stderr);
    return out;
}

// How the references were rendered: the corpus fonts, its generic families (unknown
// families fall back to Noto Serif), the user's language "en". The size is each
// reference's own.
TRenderOptions CorpusRenderOptions(const QDir& Corpus)
{
    TRenderOptions options;
    options.FontDirs = {Corpus.filePath(QStringLiteral("fonts"))};
    options.FontFamilies = {{QStringLiteral("serif"), QStringLiteral("Noto Serif")},
                            {QStringLiteral("sans-serif"), QStringLiteral("Noto Sans")},
                            {QStringLiteral("cursive"), QStringLiteral("Yellowtail")},
                            {QStringLiteral("fantasy"), QStringLiteral("Sedgwick Ave Display")},
                            {QStringLiteral("monospace"), QStringLiteral("Noto Mono")},
                            {QStringLiteral("default"), QStringLiteral("Noto Serif")}};
    options.Languages = QStringList{QStringLiteral("en")};
    return options;
}

// Renders one case and compares it; any failure lands in the result, never escapes.
TConformanceResult RunCase(const TConformanceCase& Case, const QDir& Corpus, TRenderOptions Options,
                           const QDir& DiffFolder)
{
    TConformanceResult result;
    result.Case = Case;
    const QString svgPath = Corpus.filePath(Case.Path);
    const QString referencePath = svgPath.left(svgPath.size() - 4) + QStringLiteral(".png");
    const QImage reference(referencePath);
    if (reference.isNull()) {
        result.Message = QStringLiteral("reference picture missing or unreadable");
        return result;
    }
    QImage actual;
    try {
        Options.Width = reference.width();
        Options.Height = reference.height();
        actual = RenderFile(svgPath, Options);
    } catch (const Exception& e) {
        result.Message = e.Message();
    } catch (const std::exception& e) {
        result.Message = QString::fromUtf8(e.what());
    } catch (...) {
        result.Message = QStringLiteral("unknown exception");
    }
    if (actual.isNull()) {
        if (result.Message.isEmpty())
            result.Message = QStringLiteral("nothing rendered");
        return result;
    }
    result.Comparison = CompareConformance(reference, actual);
    result.Passed = result.Comparison.Passed();
    if (!result.Comparison.SameSize)
        result.Message = QStringLiteral("rendered %1x%2, reference %3x%4")
                             .arg(actual.width())
                             .arg(actual.height())
                             .arg(reference.width())
                             .arg(reference.height());
    if (!result.Passed) {
        const QString diffPath = DiffFolder.filePath(Case.Name + QStringLiteral(".png"));
        QDir().mkpath(QFileInfo(diffPath).absolutePath());
        if (!ConformanceDiffImage(reference, actual).save(diffPath, "PNG"))
            result.Message += QStringLiteral(" (diff image not written)");
    }
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QGuiApplication> application = EnsureRenderApplication(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the conformance corpus and reports pass rates."));
    parser.addHelpOption();
    const QCommandLineOption corpusOption(QStringLiteral("corpus"), QStringLiteral("The corpus folder."),
                                          QStringLiteral("DIR"), QStringLiteral(VELK_SHARED_DIR "/conformance"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Where results.tsv and diff/ go."),
                                       QStringLiteral("DIR"), QStringLiteral(VELK_CONFORMANCE_OUT_DIR));
    const QCommandLineOption jobsOption(QStringLiteral("jobs"), QStringLiteral("Cases rendered at once (default: cores)."),
                                        QStringLiteral("N"));
    const QCommandLineOption filterOption(QStringLiteral("filter"),
                                          QStringLiteral("Only the cases whose name contains TEXT."),
                                          QStringLiteral("TEXT"));
    parser.addOptions({corpusOption, outOption, jobsOption, filterOption});
    parser.process(*QCoreApplication::instance());

    const QDir corpus(parser.value(corpusOption));
    if (!QFileInfo::exists(corpus.filePath(QStringLiteral("cases.tsv")))) {
        Console() << "conformance corpus not found at " << corpus.path() << ": skipped\n";
        return ExitSkipped;
    }
    int jobs = QThread::idealThreadCount();
    if (parser.isSet(jobsOption)) {
        bool ok = false;
        jobs = parser.value(jobsOption).toInt(&ok);
        if (!ok || jobs < 1 || jobs > 256) {
            Errors() << "velk_conformance: --jobs wants a number from 1 to 256\n";
            return 1;
        }
    }

    std::vector<TConformanceCase> cases;
    try {
        cases = ReadConformanceCases(corpus.filePath(QStringLiteral("cases.tsv")));
    } catch (const std::exception& e) {
        Errors() << "velk_conformance: " << e.what() << '\n';
        return 1;
    }
    if (parser.isSet(filterOption))
        std::erase_if(cases, [&](const TConformanceCase& c) { return !c.Name.contains(parser.value(filterOption)); });

    const QDir out(parser.value(outOption));
    const QDir diffFolder(out.filePath(QStringLiteral("diff")));
    // Diffs of an earlier run would mislead: only this run's failures stay.
    if (!QDir(diffFolder).removeRecursively() || !QDir().mkpath(diffFolder.path())) {
        Errors() << "velk_conformance: cannot prepare " << diffFolder.path() << '\n';
        return 1;
    }

    const TRenderOptions options = CorpusRenderOptions(corpus);
    try {
        SetUpRenderFonts(options);
    } catch (const Exception& e) {
        Errors() << "velk_conformance: " << e.Message() << '\n';
        return 1;
    }

    // Documents are per thread; fonts and the generic families were set up before.
    std::vector<TConformanceResult> results(cases.size());
    QThreadPool pool;
    pool.setMaxThreadCount(jobs);
    for (std::size_t i = 0; i < cases.size(); ++i)
        pool.start([&, i]() { results[i] = RunCase(cases[i], corpus, options, diffFolder); });
    pool.waitForDone();

    QFile tsv(out.filePath(QStringLiteral("results.tsv")));
    if (!tsv.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        Errors() << "velk_conformance: cannot write " << tsv.fileName() << ": " << tsv.errorString() << '\n';
        return 1;
    }
    QTextStream tsvStream(&tsv);
    WriteResultsTsv(results, tsvStream);

    WriteSummary(results, Console());
    Console() << "Results: " << tsv.fileName() << "\nDiff images of failing cases: " << diffFolder.path() << '\n';
    return 0;
}

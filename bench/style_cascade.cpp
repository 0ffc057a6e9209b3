// The style cascade against parsing: a generated document of 10 000 styled elements
// (nested groups with classes and IDs) and 200 rules (class, ID and type selectors).
// BM_Load is LoadFromText (parse, tree, one cascade); BM_Cascade is ApplyStyles on the
// loaded document. After the table it prints the fastest time of each, the parse time
// (load less cascade), elements per second of the cascade and the ratio cascade / parse.
//
//   velk_bench_style_cascade --benchmark_repetitions=5

#include "svg/document.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

constexpr int ElementCount = 10000;
constexpr int RuleCount = 200;
constexpr int ClassCount = 50;

// Groups of 9 leaves inside groups of 10, every element with two classes, every third
// with an ID, some with own declarations; 200 rules spread over classes, IDs and types.
const QString& DocumentText()
{
    static const QString text = [] {
        QString sheet;
        // Every selector once (the rule table refuses a repeated one): 50 classes, 50
        // type+class, 50 IDs, the two type names and 48 two-class selectors.
        for (int i = 0; i < RuleCount; ++i) {
            const int k = i / 4;
            QString selector;
            switch (i % 4) {
            case 0:
                selector = QStringLiteral(".c%1").arg(k);
                break;
            case 1:
                selector = QStringLiteral("g.c%1").arg(k);
                break;
            case 2:
                selector = QStringLiteral("#e%1").arg(k * 199 % ElementCount);
                break;
            default:
                selector = k == 0   ? QStringLiteral("g")
                           : k == 1 ? QStringLiteral("svg")
                                    : QStringLiteral(".c%1.c%2").arg(k).arg((k + 7) % ClassCount);
                break;
            }
            sheet += QStringLiteral("%1 { fill: #%2; stroke-width: %3; stroke-linecap: round }\n")
                         .arg(selector)
                         .arg(0x100000 + i * 37, 6, 16)
                         .arg(i % 7 + 1);
        }
        QString body;
        int element = 0;
        while (element < ElementCount) {
            body += QStringLiteral(R"(<g id="e%1" class="c%2 c%3">)")
                        .arg(element)
                        .arg(element % ClassCount)
                        .arg((element * 7) % ClassCount);
            ++element;
            for (int leaf = 0; leaf < 9 && element < ElementCount; ++leaf, ++element) {
                const QString id = element % 3 == 0 ? QStringLiteral(R"( id="e%1")").arg(element) : QString();
                body += QStringLiteral(R"(<g%1 class="c%2 c%3" fill-opacity="0.8" style="stroke: red"/>)")
                            .arg(id)
                            .arg(element % ClassCount)
                            .arg((element * 3) % ClassCount);
            }
            body += QStringLiteral("</g>");
        }
        return QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg"><style>%1</style>%2</svg>)").arg(sheet, body);
    }();
    return text;
}

double FastestLoad = std::numeric_limits<double>::max();
double FastestCascade = std::numeric_limits<double>::max();

double Seconds(std::chrono::steady_clock::time_point Start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

void BM_Load(benchmark::State& State)
{
    const QString& text = DocumentText();
    for (auto _ : State) {
        auto doc = std::make_unique<velk::TSVGDocument>();
        const auto start = std::chrono::steady_clock::now();
        doc->LoadFromText(text);
        FastestLoad = std::min(FastestLoad, Seconds(start));
        benchmark::DoNotOptimize(doc->AllItems().Count());
        State.PauseTiming(); // destroying is not loading
        doc.reset();
        State.ResumeTiming();
    }
}

void BM_Cascade(benchmark::State& State)
{
    velk::TSVGDocument doc;
    doc.LoadFromText(DocumentText());
    for (auto _ : State) {
        const auto start = std::chrono::steady_clock::now();
        doc.ApplyStyles();
        FastestCascade = std::min(FastestCascade, Seconds(start));
    }
    State.SetItemsProcessed(State.iterations() * ElementCount);
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cascade)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (FastestLoad == std::numeric_limits<double>::max() || FastestCascade == std::numeric_limits<double>::max())
        return 0;
    const double parse = FastestLoad - FastestCascade;
    std::printf("\n%d elements, %d rules\n", ElementCount, RuleCount);
    std::printf("load (parse + one cascade): %.2f ms\n", FastestLoad * 1e3);
    std::printf("cascade:                    %.2f ms (%.0f elements/s)\n", FastestCascade * 1e3,
                ElementCount / FastestCascade);
    std::printf("parse (load - cascade):     %.2f ms\n", parse * 1e3);
    std::printf("cascade / parse:            %.2f\n", FastestCascade / parse);
    return 0;
}

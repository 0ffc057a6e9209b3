// Path data: parse throughput on a ~10 MB path text, and the cost of flattening and
// writing the parsed path. Figures are in docs/path-data.md.

#include "graphics/path_data.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <random>

using namespace velk;

namespace {

constexpr qsizetype TargetSize = 10 * 1024 * 1024;

// Mixed commands as drawing programs write them: absolute and relative forms, implicit
// repetitions, separators both with and without commas, numbers with up to three
// decimals, the odd exponent.
const QString& PathText()
{
    static const QString text = [] {
        std::mt19937 random(20240611);
        std::uniform_real_distribution<double> coordinate(0, 1000);
        std::uniform_real_distribution<double> step(-50, 50);
        std::uniform_int_distribution<int> pick(0, 99);
        QString s;
        s.reserve(TargetSize + 200);
        const auto number = [&](double v) {
            s += QString::number(v, 'f', pick(random) % 4);
        };
        const auto pair = [&](double x, double y, QChar separator) {
            number(x);
            s += separator;
            number(y);
            s += u' ';
        };
        while (s.size() < TargetSize) {
            s += u'M';
            pair(coordinate(random), coordinate(random), u',');
            const int commands = 5 + pick(random) % 20;
            for (int i = 0; i < commands; ++i) {
                const int kind = pick(random);
                if (kind < 30) {
                    s += u'l';
                    for (int j = 0; j < 3; ++j)
                        pair(step(random), step(random), u' ');
                } else if (kind < 55) {
                    s += u'c';
                    for (int j = 0; j < 3; ++j)
                        pair(step(random), step(random), u',');
                } else if (kind < 65) {
                    s += u'C';
                    for (int j = 0; j < 3; ++j)
                        pair(coordinate(random), coordinate(random), u' ');
                } else if (kind < 72) {
                    s += u's';
                    pair(step(random), step(random), u',');
                    pair(step(random), step(random), u',');
                } else if (kind < 78) {
                    s += u'Q';
                    pair(coordinate(random), coordinate(random), u',');
                    pair(coordinate(random), coordinate(random), u',');
                } else if (kind < 82) {
                    s += u't';
                    pair(step(random), step(random), u',');
                } else if (kind < 88) {
                    s += u'h';
                    number(step(random));
                    s += u'v';
                    number(step(random));
                } else if (kind < 94) {
                    s += u'a';
                    pair(10 + std::abs(step(random)), 10 + std::abs(step(random)), u',');
                    number(pick(random) * 3.6);
                    s += pick(random) < 50 ? u" 0 1 " : u" 1,0 ";
                    pair(step(random), step(random), u',');
                } else {
                    s += u'L';
                    pair(coordinate(random) * 1e-3, coordinate(random) * 1e3, u',');
                    s += u"1e2,-2.5e-1 ";
                }
            }
            s += u"z\n";
        }
        return s;
    }();
    return text;
}

void BM_ParsePathData(benchmark::State& State)
{
    const QString& text = PathText();
    TVelkPathData path;
    for (auto _ : State) {
        path.SetData(text);
        benchmark::DoNotOptimize(path.Count());
    }
    // One byte per character: the text is ASCII, as path data in files is.
    State.SetBytesProcessed(State.iterations() * text.size());
    State.counters["entries"] = path.Count();
}
BENCHMARK(BM_ParsePathData)->Unit(benchmark::kMillisecond);

void BM_FlattenParsedPath(benchmark::State& State)
{
    TVelkPathData parsed;
    parsed.SetData(PathText());
    TVelkPathData path;
    for (auto _ : State) {
        State.PauseTiming();
        path.Assign(&parsed);
        State.ResumeTiming();
        path.Flatten(10);
        benchmark::DoNotOptimize(path.Count());
    }
    State.counters["lines"] = path.Count();
}
BENCHMARK(BM_FlattenParsedPath)->Unit(benchmark::kMillisecond);

void BM_WritePathData(benchmark::State& State)
{
    TVelkPathData path;
    path.SetData(PathText());
    qsizetype size = 0;
    for (auto _ : State) {
        const QString text = path.GetData();
        size = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    State.SetBytesProcessed(State.iterations() * size);
}
BENCHMARK(BM_WritePathData)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Insert, look-up and remove of 100 000 distinct string keys in TVelkDictionary and in
// QHash. After the usual Google Benchmark table it prints, per operation, the CPU time
// per key of both (the fastest repetition) and the ratio ours / QHash.
//
//   velk_bench_dictionary_bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true

#include "collections/dictionary.h"

#include <QHash>
#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int KeyCount = 100000;

using TVelkTable = velk::TVelkDictionary<QString, void*>;
using TQtTable = QHash<QString, void*>;

// Half "id<n>", half IDs as SVG editors write them.
const std::vector<QString>& Keys()
{
    static const std::vector<QString> keys = [] {
        static const char* const patterns[] = {"linearGradient%1", "path%1-3", "g%1", "clipPath%1_0", "rect-%1"};
        std::vector<QString> result;
        result.reserve(KeyCount);
        for (int i = 0; i < KeyCount; ++i) {
            if (i % 2 == 0)
                result.push_back(QStringLiteral("id%1").arg(i));
            else
                result.push_back(QString::fromLatin1(patterns[(i / 2) % 5]).arg(i, 0, i % 3 == 0 ? 16 : 10));
        }
        return result;
    }();
    return keys;
}

// The keys in another order, for look-ups and removals. They are separate strings with
// the same text, as when an ID read from an attribute is looked up: a key comparison
// then reads both texts.
const std::vector<QString>& ShuffledKeys()
{
    static const std::vector<QString> keys = [] {
        std::vector<QString> result;
        result.reserve(KeyCount);
        for (const QString& key : Keys())
            result.push_back(QString(key.constData(), key.size()));
        std::shuffle(result.begin(), result.end(), std::mt19937(42));
        return result;
    }();
    return keys;
}

void* ValueOf(const QString& Key)
{
    return const_cast<QChar*>(Key.constData());
}

void Insert(TVelkTable& T, const QString& Key) { T.Add(Key, ValueOf(Key)); }
void Insert(TQtTable& T, const QString& Key) { T.insert(Key, ValueOf(Key)); }
void* Find(const TVelkTable& T, const QString& Key)
{
    void* value = nullptr;
    T.TryGetValue(Key, value);
    return value;
}
void* Find(const TQtTable& T, const QString& Key) { return T.value(Key); }
void Remove(TVelkTable& T, const QString& Key) { T.Remove(Key); }
void Remove(TQtTable& T, const QString& Key) { T.remove(Key); }
int Size(const TVelkTable& T) { return T.Count(); }
int Size(const TQtTable& T) { return static_cast<int>(T.size()); }

template <typename TTable>
void Fill(TTable& T)
{
    for (const QString& key : Keys())
        Insert(T, key);
}

template <typename TTable>
void BM_Insert(benchmark::State& State)
{
    for (auto _ : State) {
        auto table = std::make_unique<TTable>();
        Fill(*table);
        benchmark::DoNotOptimize(Size(*table));
        State.PauseTiming(); // the table's destruction is not part of the insertion
        table.reset();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * KeyCount);
}

template <typename TTable>
void BM_Lookup(benchmark::State& State)
{
    TTable table;
    Fill(table);
    for (auto _ : State)
        for (const QString& key : ShuffledKeys())
            benchmark::DoNotOptimize(Find(table, key));
    State.SetItemsProcessed(State.iterations() * KeyCount);
}

template <typename TTable>
void BM_Remove(benchmark::State& State)
{
    for (auto _ : State) {
        State.PauseTiming();
        auto table = std::make_unique<TTable>();
        Fill(*table);
        State.ResumeTiming();
        for (const QString& key : ShuffledKeys())
            Remove(*table, key);
        benchmark::DoNotOptimize(Size(*table));
        State.PauseTiming();
        table.reset();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * KeyCount);
}

// The console table as usual, and for the summary the fastest repetition of each
// benchmark: on a shared machine the other processes only ever add time.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& run : Runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const std::string name = run.run_name.function_name;
            const double nanoseconds = run.GetAdjustedCPUTime() * TimeUnitNanoseconds(run.time_unit);
            const auto known = FNanoseconds.find(name);
            if (known == FNanoseconds.end() || nanoseconds < known->second)
                FNanoseconds[name] = nanoseconds;
        }
    }

    void PrintRatios() const
    {
        std::printf("\n%-10s %18s %18s %12s\n", "operation", "TVelkDictionary", "QHash", "ours/QHash");
        for (const char* operation : {"insert", "lookup", "remove"}) {
            const auto ours = FNanoseconds.find(std::string(operation) + "/TVelkDictionary");
            const auto qt = FNanoseconds.find(std::string(operation) + "/QHash");
            if (ours == FNanoseconds.end() || qt == FNanoseconds.end())
                continue;
            std::printf("%-10s %15.1f ns %15.1f ns %11.2fx\n", operation, ours->second / KeyCount,
                        qt->second / KeyCount, ours->second / qt->second);
        }
    }

private:
    static double TimeUnitNanoseconds(benchmark::TimeUnit Unit)
    {
        switch (Unit) {
        case benchmark::kSecond:
            return 1e9;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kNanosecond:
            break;
        }
        return 1;
    }

    std::map<std::string, double> FNanoseconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("insert/TVelkDictionary", BM_Insert<TVelkTable>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("insert/QHash", BM_Insert<TQtTable>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lookup/TVelkDictionary", BM_Lookup<TVelkTable>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lookup/QHash", BM_Lookup<TQtTable>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("remove/TVelkDictionary", BM_Remove<TVelkTable>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("remove/QHash", BM_Remove<TQtTable>)->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}

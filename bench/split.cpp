// Word split of 200,000 attribute names against a 30,000-word dictionary: the literal
// algorithm (one dictionary lookup per suffix length) against the reverse-trie index.
#include "../tests/analysis/LiteralSplit.h"
#include "analysis/WordSplitter.h"
#include "settings/AnalyzeSettings.h"

#include <QRandomGenerator>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kWords = 30000;
constexpr int kNames = 200000;

struct Fixture
{
    CAnalyzeSettings settings;
    QStringList logicalNames;
    QStringList physicalNames;

    Fixture()
    {
        QRandomGenerator rng(42);
        // About 600 common syllables make overlapping words, as real dictionaries have.
        QString syllables;
        for (int i = 0; i < 600; ++i)
            syllables += QChar(0xAC00 + int(rng.bounded(11172)));
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPRSTUVWY");
        const auto pick = [&](const QString& pool, int minLen, int maxLen) {
            QString s;
            const int len = minLen + int(rng.bounded(maxLen - minLen + 1));
            for (int i = 0; i < len; ++i)
                s += pool[int(rng.bounded(int(pool.size())))];
            return s;
        };
        QStringList logical, physical;
        while (int(settings.m_mapWordsByLogical.size()) < kWords) {
            const QString l = pick(syllables, 1, 4);
            const QString p = pick(letters, 2, 6);
            settings.AddWord(p, l, {});
            logical << l;
            physical << p;
        }
        settings.AddExceptWord(QStringLiteral("BY"));
        QStringList excepted;
        for (int i = 0; i < 40; ++i) {
            const QString w = pick(QStringLiteral("별의및용상당"), 1, 2);
            settings.AddExceptWord(w);
            if (settings.IsExceptWord(w))
                excepted << w;
        }
        for (int i = 0; i < kNames; ++i) {
            QString l, p;
            const int parts = 1 + int(rng.bounded(4));
            for (int k = 0; k < parts; ++k) {
                const int kind = int(rng.bounded(10));
                if (kind < 7) {
                    const int w = int(rng.bounded(int(logical.size())));
                    l += logical[w];
                    p += physical[w];
                } else if (kind < 8) {
                    l += excepted[int(rng.bounded(int(excepted.size())))];
                    p += QStringLiteral("BY");
                } else {
                    l += pick(syllables, 1, 2);
                    p += pick(letters, 1, 3);
                }
            }
            logicalNames << l;
            physicalNames << p;
        }
    }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void LiteralLogical(benchmark::State& state)
{
    Fixture& f = Data();
    literal::Splitter splitter{f.settings, {}, {}};
    for (auto _ : state) {
        for (const QString& name : f.logicalNames) {
            WordPairList out;
            benchmark::DoNotOptimize(splitter.Logical(name, out));
        }
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}

void IndexedLogical(benchmark::State& state)
{
    Fixture& f = Data();
    WordSplitter splitter(&f.settings);
    splitter.SetFallback({});
    splitter.Index();
    for (auto _ : state) {
        for (const QString& name : f.logicalNames)
            benchmark::DoNotOptimize(splitter.SplitLogical(name));
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}

void LiteralPhysical(benchmark::State& state)
{
    Fixture& f = Data();
    literal::Splitter splitter{f.settings, {}, {}};
    for (auto _ : state) {
        for (const QString& name : f.physicalNames) {
            WordPairList out;
            benchmark::DoNotOptimize(splitter.Physical(name, out));
        }
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}

void IndexedPhysical(benchmark::State& state)
{
    Fixture& f = Data();
    WordSplitter splitter(&f.settings);
    splitter.Index();
    for (auto _ : state) {
        for (const QString& name : f.physicalNames)
            benchmark::DoNotOptimize(splitter.SplitPhysical(name));
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}

void BuildIndex(benchmark::State& state)
{
    Fixture& f = Data();
    WordSplitIndex index;
    for (auto _ : state)
        index.Rebuild(f.settings);
}

// Several repetitions each: on a busy machine the best run is the one least disturbed.
BENCHMARK(LiteralLogical)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(IndexedLogical)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5);
BENCHMARK(LiteralPhysical)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(IndexedPhysical)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5);
BENCHMARK(BuildIndex)->Unit(benchmark::kMillisecond);

// Prints the names-per-second ratio of each indexed split to its literal twin.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) {
                double& best = m_rates[run.run_name.function_name];
                best = std::max(best, double(it->second.value));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* kind : {"Logical", "Physical"}) {
            const double literal = m_rates[std::string("Literal") + kind];
            const double indexed = m_rates[std::string("Indexed") + kind];
            if (literal > 0 && indexed > 0)
                std::printf("%s split (best of 5): literal %.0f names/s, indexed %.0f names/s, ratio %.1fx\n", kind,
                            literal, indexed, indexed / literal);
        }
    }

private:
    std::map<std::string, double> m_rates;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Data();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// Similar-word review: the engine against the plain pair-by-pair procedure on 20,000
// generated physical and 20,000 logical names. The plain procedure is timed on a sample of
// outer names and extrapolated. The ASCII names are written out for the outside anchor
// (bench/similar_anchor.js, plain Levenshtein of the npm package fastest-levenshtein).
//
//   bench_similar [--names N] [--sample S] [--anchor-out FILE]
#include "../tests/dictionary/SimilarReference.h"
#include "SimilarNames.h"
#include "dictionary/SimilarWordReview.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using SimilarWords::View;

int g_names = 20000;
int g_sample = 200;
std::string g_anchorOut = "similar_anchor_names.txt";

struct Figures
{
    double literalSampleSeconds = 0;
    double literalSeconds = 0; // extrapolated to every outer name
    double engineSeconds = 0;
    double engineOneThreadSeconds = 0;
    double engineCpuSeconds = 0; // all threads of the 2-thread run
    double literalSampleCpuSeconds = 0;
    size_t groups = 0;
    size_t sampleGroupsLiteral = 0;
};
std::map<int, Figures> g_figures;

const QStringList& Names(View view)
{
    static const QStringList physical = SimilarNames::PhysicalNames(g_names, 20251208);
    static const QStringList logical = SimilarNames::LogicalNames(g_names, 20251209);
    return view == View::Physical ? physical : logical;
}

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// The plain procedure for every step-th outer name against all inner names.
size_t LiteralSample(View view, const QStringList& names, int step)
{
    std::set<std::pair<QString, QString>> decided;
    const int shortest = SimilarWords::ShortestWithoutGroup(view);
    size_t groups = 0;
    for (qsizetype i = 0; i < names.size(); i += step) {
        const QString& a = names[i];
        if (a.size() <= shortest)
            continue;
        std::set<QString> similar;
        for (const QString& b : names) {
            if (b == a || decided.count({a, b}))
                continue;
            bool isSimilar = a.contains(b);
            if (!isSimilar)
                isSimilar =
                    view == View::Logical ? LiteralSimilar::Positional(a, b) : LiteralSimilar::DistanceBelowThird(a, b);
            if (isSimilar) {
                similar.insert(b);
                decided.insert({a, b});
                decided.insert({b, a});
            }
        }
        groups += similar.empty() ? 0 : 1;
    }
    return groups;
}

void BM_Literal(benchmark::State& state)
{
    const View view = View(state.range(0));
    const QStringList& names = Names(view);
    const int step = std::max(1, int(names.size()) / g_sample);
    Figures& figures = g_figures[int(view)];
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::clock_t cpu = std::clock();
        figures.sampleGroupsLiteral = LiteralSample(view, names, step);
        figures.literalSampleSeconds = Seconds(start);
        figures.literalSampleCpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    }
    const double outer = double((names.size() + step - 1) / step);
    figures.literalSeconds = figures.literalSampleSeconds * double(names.size()) / outer;
    state.counters["sample_outer"] = outer;
    state.counters["extrapolated_s"] = figures.literalSeconds;
}

void BM_Engine(benchmark::State& state)
{
    const View view = View(state.range(0));
    const int threads = int(state.range(1));
    const QStringList& names = Names(view);
    Figures& figures = g_figures[int(view)];
    size_t groups = 0;
    double seconds = 1e9, cpuSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::clock_t cpu = std::clock();
        groups = SimilarWords::ComputeGroups(view, names, SimilarWords::Quiet(), threads).groups.size();
        if (Seconds(start) < seconds) { // best of the iterations: the machine is shared
            seconds = Seconds(start);
            cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        }
    }
    (threads == 1 ? figures.engineOneThreadSeconds : figures.engineSeconds) = seconds;
    if (threads != 1)
        figures.engineCpuSeconds = cpuSeconds;
    state.counters["cpu_s"] = cpuSeconds;
    figures.groups = groups;
    state.counters["groups"] = double(groups);
}

// Plain Levenshtein (the literal table) on the anchor's pairs: sample outer x all inner,
// ASCII names only. The checksum must match the anchor's.
void BM_PlainDistanceAsciiPairs(benchmark::State& state)
{
    const QStringList& names = Names(View::Physical);
    QStringList ascii;
    for (const QString& name : names) {
        bool plain = true;
        for (QChar c : name)
            plain = plain && c.unicode() < 128;
        if (plain)
            ascii.append(name);
    }
    const int step = std::max(1, int(ascii.size()) / g_sample);
    QStringList sample;
    for (qsizetype i = 0; i < ascii.size(); i += step)
        sample.append(ascii[i]);
    long long checksum = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        checksum = 0;
        const std::clock_t cpu = std::clock();
        for (const QString& a : sample)
            for (const QString& b : ascii)
                checksum += (long long)LiteralSimilar::Distance(a, b);
        cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    }
    const double pairs = double(sample.size()) * double(ascii.size());
    state.counters["pairs"] = pairs;
    state.counters["cpu_ns_per_pair"] = cpuSeconds * 1e9 / pairs;
    state.counters["checksum"] = double(checksum);
    // Same for the engine's exact distance (thirds), without a cutoff.
    long long engineChecksum = 0;
    const std::clock_t cpu = std::clock();
    for (const QString& a : sample)
        for (const QString& b : ascii)
            engineChecksum += SimilarWords::DistanceThirds(a, b) / 3;
    state.counters["engine_cpu_ns_per_pair"] = double(std::clock() - cpu) / CLOCKS_PER_SEC * 1e9 / pairs;
    state.counters["engine_checksum"] = double(engineChecksum);

    QFile out(QString::fromStdString(g_anchorOut));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream stream(&out);
        stream << "# sample " << sample.size() << "\n";
        for (const QString& a : sample)
            stream << a << "\n";
        stream << "# all " << ascii.size() << "\n";
        for (const QString& b : ascii)
            stream << b << "\n";
        stream << "# checksum " << checksum << "\n";
    }
}

void PrintSummary()
{
    std::printf("\n| view | names | plain procedure, extrapolated (wall / cpu) | engine 2 threads (wall / cpu) | "
                "engine 1 thread | speed-up (wall) | speed-up (cpu) | groups |\n|---|---|---|---|---|---|---|---|\n");
    for (const auto& [view, f] : g_figures) {
        const double outer = f.literalSampleSeconds > 0 ? f.literalSeconds / f.literalSampleSeconds : 0;
        const double literalCpu = f.literalSampleCpuSeconds * outer;
        std::printf("| %s | %d | %.0f s / %.0f s | %.2f s / %.2f s | %.2f s | %.0fx | %.0fx | %zu |\n",
                    view == int(View::Logical) ? "logical" : "physical", g_names, f.literalSeconds, literalCpu,
                    f.engineSeconds, f.engineCpuSeconds, f.engineOneThreadSeconds,
                    f.engineSeconds > 0 ? f.literalSeconds / f.engineSeconds : 0.0,
                    f.engineCpuSeconds > 0 ? literalCpu / f.engineCpuSeconds : 0.0, f.groups);
    }
    std::printf("\nASCII names for the anchor written to %s\n", g_anchorOut.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--names") == 0 && i + 1 < argc)
            g_names = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--sample") == 0 && i + 1 < argc)
            g_sample = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--anchor-out") == 0 && i + 1 < argc)
            g_anchorOut = argv[++i];
        else
            rest.push_back(argv[i]);
    }
    int restCount = int(rest.size());
    for (int view : {int(View::Logical), int(View::Physical)}) {
        const char* name = view == 0 ? "logical" : "physical";
        benchmark::RegisterBenchmark((std::string("Literal/") + name).c_str(), BM_Literal)
            ->Args({view})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Engine/") + name + "/threads:1").c_str(), BM_Engine)
            ->Args({view, 1})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Engine/") + name + "/threads:2").c_str(), BM_Engine)
            ->Args({view, 2})
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("PlainDistance/ascii_pairs", BM_PlainDistanceAsciiPairs)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}

// Term analysis of 10,000 attributes against the demo standard on SQLite, against the
// straightforward way of doing it: one service run per attribute (as the single-term
// analysis does), which reads the area's standard again for every attribute.
#include "TermDemo.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_TermAnalysis10000(benchmark::State& state)
{
    Demo& demo = TheDemo();
    if (!demo.ok || demo.targets.empty()) {
        state.SkipWithError("demo repository not available");
        return;
    }
    int complete = 0, registered = 0, noDomain = 0;
    for (auto _ : state) {
        CTermAnalysis term;
        term.SetAreaId(DemoStandard::MainAreaId);
        term.SetTargets(demo.targets);
        term.Analyze();
        complete = registered = noDomain = 0;
        for (const TermTargetResult& r : term.Results()) {
            complete += r.status == eTermImageAction;
            registered += r.registered;
            noDomain += !r.hasDomain;
        }
        benchmark::DoNotOptimize(term.Results().data());
    }
    state.counters["attributes"] = double(demo.targets.size());
    state.counters["attributes_per_s"] =
        benchmark::Counter(double(demo.targets.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["complete"] = complete;
    state.counters["registered"] = registered;
    state.counters["without_domain"] = noDomain;
}
BENCHMARK(BM_TermAnalysis10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReferenceOneRunPerAttribute(benchmark::State& state)
{
    Demo& demo = TheDemo();
    if (!demo.ok || demo.targets.empty()) {
        state.SkipWithError("demo repository not available");
        return;
    }
    const std::vector<TermAnalysisTarget> some(demo.targets.begin(), demo.targets.begin() + kReferenceAttributes);
    for (auto _ : state) {
        CTermAnalysis term;
        term.SetAreaId(DemoStandard::MainAreaId);
        term.SetTargets(some);
        for (const TermAnalysisTarget& t : some)
            term.AnalyzeSingle(t.strName);
        benchmark::DoNotOptimize(term.Results().data());
    }
    state.counters["attributes"] = double(some.size());
    state.counters["attributes_per_s"] =
        benchmark::Counter(double(some.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReferenceOneRunPerAttribute)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    benchmark::Shutdown();
    return 0;
}

// The similar-word review ("유사어 검토") on 20,000 words: how long the window goes without
// handling events while a view is worked out, and how soon the progress window's cancel
// stops it. The widget test checks only that both happen; the figures are here.
#include "../SimilarNames.h"
#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"
#include "components/ui/ProgressDialogBackend.h"
#include "dictionary/ui/WordDistanceDlg.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int kWords = 20000;

void Fill()
{
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    const QStringList logical = SimilarNames::LogicalNames(kWords, 3);
    const QStringList physical = SimilarNames::PhysicalNames(kWords, 5);
    for (int i = 0; i < kWords; ++i)
        settings.AddWord(physical[i], logical[i], _stAnalyzeManageWord());
}

// The whole physical view, with the longest stretch the 5 ms timer went unserved.
void BM_WordDistanceView(benchmark::State& state)
{
    Fill();
    qint64 longest = 0;
    for (auto _ : state) {
        CWordDistanceDlg dlg(CAnalyzeSettings::Instance());
        dlg.show();
        QElapsedTimer since;
        since.start();
        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, since.elapsed());
            since.restart();
        });
        tick.start();
        dlg.SetView(SimilarWords::View::Physical);
        longest = std::max(longest, since.elapsed());
    }
    state.counters["longest_stall_ms"] = double(longest);
}
BENCHMARK(BM_WordDistanceView)->Unit(benchmark::kMillisecond)->Iterations(1);

// Cancel pressed once 500 steps are done: milliseconds from the press to the dialog's return.
void BM_WordDistanceCancel(benchmark::State& state)
{
    Fill();
    double stopMs = -1;
    for (auto _ : state) {
        CWordDistanceDlg dlg(CAnalyzeSettings::Instance());
        dlg.show();
        auto* backend = static_cast<CProgressDialogBackend*>(CQrProgressWnd::Backend());
        QElapsedTimer clock;
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!clock.isValid() && backend->Dialog() && backend->Value() > 500) {
                clock.start();
                backend->Dialog()->cancel();
            }
        });
        poll.start();
        dlg.SetView(SimilarWords::View::Physical);
        stopMs = clock.isValid() ? double(clock.elapsed()) : -1;
    }
    state.counters["cancel_to_idle_ms"] = stopMs;
}
BENCHMARK(BM_WordDistanceCancel)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("TERMWISE_DATA_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(std::make_unique<CProgressDialogBackend>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CQrProgressWnd::SetBackend(nullptr);
    CAnalyzeSettings::DestroyInstance();
    return 0;
}

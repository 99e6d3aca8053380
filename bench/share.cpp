// Sharing a 50,000-word dictionary through a PostgreSQL repository: the upload (every word
// new, then every word changed), and the download into an empty local dictionary with the
// settings file written. Needs TERMWISE_TEST_PG (run under scripts/with-postgres); the goal
// is under 10 s for each.
#include "dictionary/ShareSync.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kWords = 50000;

WordIndex MakeWords(const QString& tag)
{
    WordIndex words;
    for (int i = 0; i < kWords; ++i) {
        _stAnalyzeManageWord w;
        w.strPhyFullName = QStringLiteral("Word Number %1").arg(i);
        w.strDescription = QStringLiteral("%1 정의 %2: 공유 사전의 단어").arg(tag).arg(i);
        words[QStringLiteral("W%1").arg(i, 5, 10, QLatin1Char('0'))][QStringLiteral("단어%1").arg(i)] = w;
    }
    return words;
}

struct Server
{
    bool ok = false;
    QString uri;
    Server()
    {
        const QString base = qEnvironmentVariable("TERMWISE_TEST_PG");
        if (base.isEmpty()) {
            std::fprintf(stderr, "TERMWISE_TEST_PG is not set: run under scripts/with-postgres\n");
            return;
        }
        RepositoryUri parsed;
        QString error;
        if (!ParseRepositoryUri(base, parsed, error))
            return;
        {
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
            admin.setHostName(parsed.host);
            admin.setPort(parsed.port);
            admin.setDatabaseName(parsed.database);
            admin.setUserName(parsed.user);
            admin.setPassword(parsed.password);
            if (!admin.open())
                return;
            QSqlQuery q(admin);
            q.exec(QStringLiteral("DROP SCHEMA IF EXISTS tw_bench_share CASCADE"));
            q.exec(QStringLiteral("CREATE SCHEMA tw_bench_share"));
            admin.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
        uri = base + QStringLiteral("?options=-csearch_path%3Dtw_bench_share");
        RepositoryInitSummary summary;
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        ok = connection.Open(uri, &error) && CreateRepositorySchema(*connection.Database(), summary, error);
        if (!ok) {
            std::fprintf(stderr, "repository: %s\n", error.toLocal8Bit().constData());
            return;
        }
        connection.OnRepositoryConnected();
        ok = GlobalFunc::IsExistArAnanlyzeTables();
    }
};

Server& TheServer()
{
    static Server server;
    return server;
}

void Report(benchmark::State& state, std::chrono::steady_clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    state.counters["words/s"] = kWords / seconds;
}

void UploadNew(benchmark::State& state)
{
    if (!TheServer().ok) {
        state.SkipWithError("no PostgreSQL server");
        return;
    }
    const WordIndex words = MakeWords(QStringLiteral("처음"));
    for (auto _ : state) {
        CRepositoryConnection::Instance().Database()->Execute(QStringLiteral("DELETE FROM STD_ANLY_WORD"), {});
        CConflictResolver resolver([](const ShareConflict&) { return ShareAnswer{kPreferLocal, true}; });
        const auto start = std::chrono::steady_clock::now();
        const ShareResult r = ShareSync::UploadWords(words, CRepositoryConnection::Instance().OpenGate(), resolver);
        Report(state, start);
        if (!r.ok || r.added != kWords)
            state.SkipWithError("upload failed");
    }
}

void UploadChanged(benchmark::State& state)
{
    if (!TheServer().ok) {
        state.SkipWithError("no PostgreSQL server");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        const WordIndex words = MakeWords(QStringLiteral("변경%1").arg(++round));
        CConflictResolver resolver([](const ShareConflict&) { return ShareAnswer{kPreferLocal, true}; });
        const auto start = std::chrono::steady_clock::now();
        const ShareResult r = ShareSync::UploadWords(words, CRepositoryConnection::Instance().OpenGate(), resolver);
        Report(state, start);
        if (!r.ok || r.added + r.changed != kWords)
            state.SkipWithError("upload failed");
    }
}

void Download(benchmark::State& state)
{
    if (!TheServer().ok) {
        state.SkipWithError("no PostgreSQL server");
        return;
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        CAnalyzeSettings local;
        CConflictResolver resolver([](const ShareConflict&) { return ShareAnswer{kPreferServer, true}; });
        const auto start = std::chrono::steady_clock::now();
        const ShareResult r = ShareSync::DownloadWords(local, CRepositoryConnection::Instance().OpenGate(), resolver);
        const bool saved = local.SaveTo(dir.filePath(QStringLiteral("standard/termwise.json")));
        Report(state, start);
        if (!r.ok || r.added != kWords || !saved)
            state.SkipWithError("download failed");
    }
}

} // namespace

BENCHMARK(UploadNew)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(UploadChanged)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Download)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    benchmark::Shutdown();
    return 0;
}

// The command line end to end, as a user runs it: `termwise analyze logical` started as a
// process on 200,000 generated attribute names, read from a document or a workbook and written
// to a document, a workbook or a JSON result. Prints names/s (process start to exit) and the
// peak resident memory of each run, and beside them the literal split in Python
// (bench/split_literal.py, document -> JSON) run the same way, with each case's ratio to it.
//
//   bench_e2e [--termwise PATH] [--names N] [--runs R] [--work DIR] [--literal split_literal.py]
#include "exchange/ExcelExport.h"
#include "settings/AnalyzeSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWords = 2400;

struct Run
{
    double seconds = 0;
    double cpu = 0; // user + system seconds of the child
    long peakKb = 0;
    int status = -1;
};

// Starts the program, waits for it and takes its own peak resident size from the kernel.
Run Spawn(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::fflush(stdout); // or the child's freopen writes our pending output again
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The summary and the progress bar stay out of the figures.
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(126);
        execv(args[0], args.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A dictionary of overlapping Hangul words with capital-letter physical names, and attribute
// rows made of one to four parts: mostly dictionary words, some unknown syllables.
void Generate(const QString& dataDir, const QString& workbook, int names)
{
    QRandomGenerator rng(7);
    QString syllables;
    for (int i = 0; i < 400; ++i)
        syllables += QChar(0xAC00 + int(rng.bounded(11172)));
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPRSTUVWY");
    const auto pick = [&](const QString& pool, int minLen, int maxLen) {
        QString s;
        const int len = minLen + int(rng.bounded(maxLen - minLen + 1));
        for (int i = 0; i < len; ++i)
            s += pool[int(rng.bounded(int(pool.size())))];
        return s;
    };
    CAnalyzeSettings settings;
    QStringList logical, physical;
    while (int(settings.m_mapWordsByLogical.size()) < kWords) {
        const QString l = pick(syllables, 1, 3);
        const QString p = pick(letters, 2, 5);
        _stAnalyzeManageWord word;
        word.strDescription = l + QStringLiteral(" 의 뜻");
        settings.AddWord(p, l, word);
        logical << l;
        physical << p;
    }
    QDir().mkpath(dataDir + QStringLiteral("/standard"));
    settings.SaveTo(dataDir + QStringLiteral("/standard/termwise.json"));

    std::vector<QStringList> rows;
    rows.reserve(size_t(names) + 1);
    QSet<QString> seen;
    while (int(rows.size()) < names) {
        QString l, p;
        const int parts = 1 + int(rng.bounded(4)) + int(rng.bounded(2));
        for (int k = 0; k < parts; ++k) {
            if (rng.bounded(10) < 8) {
                const int w = int(rng.bounded(int(logical.size())));
                l += logical[w];
                p += (p.isEmpty() ? QString() : QStringLiteral("_")) + physical[w];
            } else {
                l += pick(syllables, 1, 2);
                p += (p.isEmpty() ? QString() : QStringLiteral("_")) + pick(letters, 1, 3);
            }
        }
        if (seen.contains(l))
            continue;
        seen.insert(l);
        rows.push_back({l, p, l + QStringLiteral("을(를) 관리하는 속성"),
                        QStringLiteral("TB_%1").arg(int(rng.bounded(500)), 3, 10, QLatin1Char('0'))});
    }
    ExcelExport::Write(rows, workbook);
}

QString Arg(const QStringList& args, const QString& name, const QString& fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString termwise = QFileInfo(Arg(args, QStringLiteral("--termwise"),
                                           QCoreApplication::applicationDirPath() + QStringLiteral("/../termwise")))
                                 .absoluteFilePath();
    const int names = Arg(args, QStringLiteral("--names"), QStringLiteral("200000")).toInt();
    const int runs = std::max(1, Arg(args, QStringLiteral("--runs"), QStringLiteral("3")).toInt());
    QTemporaryDir temp;
    const QString work = Arg(args, QStringLiteral("--work"), temp.path());
    QDir().mkpath(work);
    if (!QFileInfo(termwise).isExecutable()) {
        std::fprintf(stderr, "no termwise program at %s (give --termwise PATH)\n", qPrintable(termwise));
        return 2;
    }
    const QString data = work + QStringLiteral("/data");
    const QString workbook = work + QStringLiteral("/names.xlsx");
    const QString document = work + QStringLiteral("/names.ztsl");
    if (!QFileInfo::exists(workbook)) {
        std::printf("generating %d names in %s\n", names, qPrintable(work));
        Generate(data, workbook, names);
    }
    const auto command = [&](const QString& input, const QString& output) {
        std::vector<std::string> argv = {
            termwise.toStdString(), "analyze",    "logical",         "--input", input.toStdString(), "--output",
            output.toStdString(),   "--data-dir", data.toStdString()};
        if (input.endsWith(QLatin1String(".xlsx")))
            for (const char* a : {"--attr", "A", "--column", "B", "--def", "C", "--ref", "D"})
                argv.emplace_back(a);
        return argv;
    };
    if (!QFileInfo::exists(document) && Spawn(command(workbook, document)).status != 0) {
        std::fprintf(stderr, "making the input document failed\n");
        return 1;
    }
    std::printf("input: document %.1f MB, workbook %.1f MB\n", QFileInfo(document).size() / 1048576.0,
                QFileInfo(workbook).size() / 1048576.0);
    // The reference first, best wall of the runs, so every case can be given as a ratio to it.
    const QString literal =
        QFileInfo(Arg(args, QStringLiteral("--literal"),
                      QCoreApplication::applicationDirPath() + QStringLiteral("/../../bench/split_literal.py")))
            .absoluteFilePath();
    double literalSeconds = 0;
    if (QFileInfo::exists(literal)) {
        std::vector<Run> done;
        for (int i = 0; i < runs; ++i)
            done.push_back(Spawn({"/usr/bin/python3", literal.toStdString(), data.toStdString(), document.toStdString(),
                                  QString(work + QStringLiteral("/literal.json")).toStdString()}));
        std::sort(done.begin(), done.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
        literalSeconds = done.front().status == 0 ? done.front().seconds : 0;
        long peak = 0;
        for (const Run& r : done)
            peak = std::max(peak, r.peakKb);
        std::printf("literal split in Python, document -> .json: %.0f names/s (%.2f s best wall), peak %.0f MB%s\n",
                    names / done.front().seconds, done.front().seconds, peak / 1024.0,
                    done.front().status == 0 ? "" : " FAILED");
    }
    std::printf("| input | output | names/s (best wall) | wall s (best, median) | names/s (best CPU) | CPU s (best) | "
                "peak MB (max) | x literal (wall) |\n|---|---|---|---|---|---|---|---|\n");
    const struct
    {
        const char* from;
        QString input;
        const char* to;
    } cases[] = {{"document", document, "ztsl"}, {"document", document, "json"}, {"document", document, "xlsx"},
                 {"workbook", workbook, "ztsl"}, {"workbook", workbook, "json"}, {"workbook", workbook, "xlsx"}};
    int failures = 0;
    for (const auto& c : cases) {
        std::vector<Run> done;
        for (int i = 0; i < runs; ++i)
            done.push_back(Spawn(command(c.input, work + QStringLiteral("/out.") + QLatin1String(c.to))));
        const bool ok = std::all_of(done.begin(), done.end(), [](const Run& r) { return r.status == 0; });
        failures += ok ? 0 : 1;
        std::sort(done.begin(), done.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
        long peak = 0;
        double cpu = done.front().cpu;
        for (const Run& r : done) {
            peak = std::max(peak, r.peakKb);
            cpu = std::min(cpu, r.cpu);
        }
        std::printf("| %s | .%s | %.0f | %.2f, %.2f | %.0f | %.2f | %.0f | %.1f |%s\n", c.from, c.to,
                    names / done.front().seconds, done.front().seconds, done[done.size() / 2].seconds, names / cpu, cpu,
                    peak / 1024.0, literalSeconds / done.front().seconds, ok ? "" : " FAILED");
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}

// The command line as a script meets it: one process per run, its exit status and everything
// it prints, under the limits a shell can set.
#include "components/ResourceTexts.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct Outcome
{
    bool crashed = true;
    int status = -1;
    QString out, err;
    QString All() const { return out + err; }
};

struct Limits
{
    qint64 fileSize = 0;     // RLIMIT_FSIZE in bytes, 0 none
    qint64 addressSpace = 0; // RLIMIT_AS in bytes, 0 none
};

Outcome Termwise(const QStringList& args, Limits limits = {}, const QStringList& environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.setChildProcessModifier([limits] {
        if (limits.fileSize > 0) {
            const rlimit r{rlim_t(limits.fileSize), rlim_t(limits.fileSize)};
            ::setrlimit(RLIMIT_FSIZE, &r);
        }
        if (limits.addressSpace > 0) {
            const rlimit r{rlim_t(limits.addressSpace), rlim_t(limits.addressSpace)};
            ::setrlimit(RLIMIT_AS, &r);
        }
    });
    process.start(QStringLiteral(TERMWISE_EXE), args);
    Outcome run;
    if (!process.waitForFinished(300000))
        return run;
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString Model()
{
    return QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/model.xlsx");
}

// A dictionary whose physical names all look alike: ZW0, ZW1, ... (every pair a few digits apart).
void WriteLookAlikeDictionary(const QString& dataDir, int count)
{
    CAnalyzeSettings dictionary;
    for (int i = 0; i < count; ++i)
        dictionary.AddWord(QStringLiteral("ZW%1").arg(i), QStringLiteral("단어%1").arg(i), _stAnalyzeManageWord());
    ASSERT_TRUE(dictionary.SaveTo(dataDir + QStringLiteral("/standard/termwise.json")));
}

std::string Show(const Outcome& r)
{
    return QStringLiteral("status %1%2\n%3")
        .arg(r.status)
        .arg(r.crashed ? " (crashed)" : "")
        .arg(r.All())
        .toStdString();
}

} // namespace

TEST(CommandLine, EverySubcommandExplainsItselfWithHelp)
{
    for (const char* name : {"analyze", "similar", "send", "repo", "share", "register", "standard", "check"}) {
        const Outcome r = Termwise({QString::fromLatin1(name), QStringLiteral("--help")});
        EXPECT_FALSE(r.crashed) << name;
        EXPECT_EQ(r.status, 0) << name << Show(r);
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: termwise %1").arg(QString::fromLatin1(name)))) << Show(r);
        EXPECT_TRUE(r.err.isEmpty()) << Show(r);
    }
}

TEST(CommandLine, NoFailingRunShowsThePassword)
{
    TempDataDir data;
    const QString secret = QStringLiteral("S3cretPW");
    const QString words = TestDataPath(QStringLiteral("standard/words.csv"));
    const QString domains = TestDataPath(QStringLiteral("standard/domains-cp949.csv"));
    const QString terms = TestDataPath(QStringLiteral("standard/terms.csv"));
    const QString registerFile = data.file(QStringLiteral("register.csv"));
    WriteTextFile(registerFile, QStringLiteral("단어 논리명,단어 물리명\n고객,CUST\n"));
    const QString out = data.file(QStringLiteral("out.json"));
    // Every way a password is written in a connection string: refused by the server (nothing
    // listens on port 1), or not even a valid URI.
    const QStringList uris = {
        "postgresql://admin:" + secret + "@127.0.0.1:1/db",
        "postgresql://admin:ab " + secret + "@127.0.0.1:1/db",
        "postgresql:/admin:" + secret + "@127.0.0.1:1/db",
        "postgresql:admin:" + secret + "@127.0.0.1:1/db",
        "POSTGRES://:" + secret + "@127.0.0.1:1/db",
        "postgresql://admin:p@ss/" + secret + ":x@127.0.0.1:1/db",
        "postgresql://admin:%53" + secret.mid(1) + "@127.0.0.1:1/db",
        "postgresql://admin@127.0.0.1:1/db?password=" + secret,
        "postgresql://admin@127.0.0.1:1/db?sslmode=disable&password=ab " + secret + "&connect_timeout=2",
        "host=127.0.0.1 port=1 user=admin password=" + secret + " dbname=db",
        "host=127.0.0.1 port=1 password = 'ab " + secret + "' dbname=db",
        "\"postgresql://admin:" + secret + "@127.0.0.1:1/db\"",
        "postgresql://admin:" + secret + "@/db",
        "oracle://admin:" + secret + "@",
        "mysql://admin:" + secret + "@127.0.0.1:1/db",
    };
    std::vector<QStringList> runs;
    for (const QString& uri : uris) {
        runs.push_back({"check", "--input", Model(), "--attr", "A", "--type", "C", "--repo", uri, "--area", "ENT",
                        "--output", out});
        runs.push_back(
            {"check", "--input", uri, "--repo", "sqlite:" + data.file("none.db"), "--area", "ENT", "--output", out});
        runs.push_back({"analyze", "physical", "--input", uri, "--output", out});
        runs.push_back({"analyze", "term", "--input", Model(), "--attr", "A", "--type", "C", "--repo", uri, "--area",
                        "ENT", "--output", out});
        runs.push_back({"standard", "import", "--repo", uri, "--area", "PUB", words, domains, terms});
        runs.push_back({"register", "words", "--repo", uri, "--area", "ENT", "--input", registerFile});
        runs.push_back({"share", "download", "--repo", uri, "--data-dir", data.path()});
        runs.push_back({"repo", "init", uri});
        runs.push_back({"share", "upload", uri}); // the URI where an option belongs
        runs.push_back({uri});
    }
    for (const QStringList& args : runs) {
        const Outcome r = Termwise(args);
        EXPECT_FALSE(r.crashed) << args.join(' ').toStdString();
        EXPECT_TRUE(r.status == 1 || r.status == 2) << args.join(' ').toStdString() << Show(r);
        EXPECT_FALSE(r.All().contains(secret)) << args.join(' ').toStdString() << Show(r);
    }
    // A password from the environment is never printed either; the URI itself still is.
    const Outcome r = Termwise({"check", "--input", Model(), "--attr", "A", "--type", "C", "--repo",
                                "postgresql://admin@127.0.0.1:1/db", "--area", "ENT", "--output", out},
                               {}, {"TERMWISE_DB_PASSWORD=" + secret});
    EXPECT_EQ(r.status, 1) << Show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("admin@127.0.0.1"))) << Show(r);
    EXPECT_FALSE(r.All().contains(secret)) << Show(r);
}

// Each writer under a file-size limit: the Korean message naming the file, exit 1, the old
// file as it was and nothing half-written beside it; and progress written as plain lines.
TEST(CommandLine, WritersReportAFullDiskAndKeepTheOldFile)
{
    TempDataDir data;
    QDir().mkpath(data.standardPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"),
                            data.standardPath() + QStringLiteral("/termwise.json")));
    const QString repo = data.file(QStringLiteral("repo.db"));
    const Outcome init = Termwise({"repo", "init", "sqlite:" + repo, "--demo"});
    ASSERT_EQ(init.status, 0) << Show(init);
    TempDataDir similarData;
    QDir().mkpath(similarData.standardPath());
    WriteLookAlikeDictionary(similarData.path(), 400);
    const QString outDir = data.file(QStringLiteral("out"));
    QDir().mkpath(outDir);
    const QStringList logical = {"analyze", "logical",  "--input", Model(),      "--skip-first-row", "--attr",
                                 "A",       "--column", "B",       "--data-dir", data.path(),        "--output"};
    const QStringList check = {
        "check",      "--input",   Model(),  "--skip-first-row", "--attr", "A",   "--column", "B", "--type", "C",
        "--data-dir", data.path(), "--repo", "sqlite:" + repo,   "--area", "ENT", "--output"};
    struct Case
    {
        const char* writer;
        QStringList args;
        QString target;
        qint64 limit;
    };
    const QString dictionary = data.standardPath() + QStringLiteral("/termwise.json");
    const std::vector<Case> cases = {
        {"workbook", logical + QStringList{outDir + "/x.xlsx"}, outDir + "/x.xlsx", 4096},
        {"document", logical + QStringList{outDir + "/x.ztsl"}, outDir + "/x.ztsl", 4096},
        {"JSON result", logical + QStringList{outDir + "/x.json"}, outDir + "/x.json", 4096},
        {"similar words",
         {"similar", "physical", "--data-dir", similarData.path(), "--output", outDir + "/s.json"},
         outDir + "/s.json",
         4096},
        {"report workbook", check + QStringList{outDir + "/r.xlsx"}, outDir + "/r.xlsx", 4096},
        {"report JSON", check + QStringList{outDir + "/r.json"}, outDir + "/r.json", 1024},
        {"dictionary",
         {"standard", "import", "--data-dir", data.path(), TestDataPath(QStringLiteral("standard/words.csv")),
          TestDataPath(QStringLiteral("standard/domains-cp949.csv"))},
         dictionary,
         4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.writer);
        const QByteArray old = QFile::exists(c.target) ? QByteArray() : QByteArray("the old file\n");
        if (!old.isEmpty()) {
            QFile f(c.target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        QFile before(c.target);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray kept = before.readAll();
        before.close();
        const QStringList filesBefore = QDir(QFileInfo(c.target).path()).entryList(QDir::Files | QDir::Hidden);

        const Outcome r = Termwise(c.args, {c.limit, 0});
        EXPECT_FALSE(r.crashed) << Show(r);
        EXPECT_EQ(r.status, 1) << Show(r);
        EXPECT_TRUE(r.err.contains(ResourceText::kNoSpace)) << Show(r);
        EXPECT_TRUE(r.err.contains(QFileInfo(c.target).fileName())) << Show(r);
        EXPECT_FALSE(r.err.contains(u'\r')) << "progress redrawn off a terminal";
        QFile after(c.target);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), kept) << "the old file stays";
        EXPECT_EQ(QDir(QFileInfo(c.target).path()).entryList(QDir::Files | QDir::Hidden), filesBefore)
            << "nothing left beside it";
    }
}

// AddressSanitizer reserves terabytes of address space: limits on it are tried in plain builds.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_UNDER_ADDRESS_SANITIZER() GTEST_SKIP() << "an address-space limit cannot hold a sanitizer build"
#else
#define SKIP_UNDER_ADDRESS_SANITIZER() (void)0
#endif

// A dictionary that cannot be loaded within the address space ends the command with the
// message and the figures, never with an abort.
TEST(CommandLine, RunningOutOfMemoryEndsWithAMessage)
{
    SKIP_UNDER_ADDRESS_SANITIZER();
    TempDataDir data;
    QDir().mkpath(data.standardPath());
    QFile dictionary(data.standardPath() + QStringLiteral("/termwise.json"));
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write(R"({"words": {"W": {"X": ["F", ")");
    dictionary.write(QByteArray(150 << 20, 'A')); // a definition of 150 MB
    dictionary.write(R"("]}}, "seperator": "_"})");
    dictionary.close();
    const QString out = data.file(QStringLiteral("x.json"));
    const Outcome r =
        Termwise({"analyze", "logical", "--input", Model(), "--attr", "A", "--data-dir", data.path(), "--output", out},
                 {0, 400ll << 20}); // a small model takes under 200 MB of address space; this text alone 450
    EXPECT_FALSE(r.crashed) << Show(r);
    EXPECT_EQ(r.status, 1) << Show(r);
    EXPECT_TRUE(r.err.contains(ResourceText::kNoMemory + QStringLiteral(" (최대 "))) << Show(r);
    EXPECT_FALSE(QFile::exists(out));
}

// 22,000 physical names that all look alike have millions of similar pairs; the groups go to
// the file as they are found, so the run ends within a 4 GB address space.
TEST(CommandLine, SimilarWordsOfAHugeReviewStreamToTheFile)
{
    SKIP_UNDER_ADDRESS_SANITIZER();
    TempDataDir data;
    QDir().mkpath(data.standardPath());
    WriteLookAlikeDictionary(data.path(), 22000);
    const QString out = data.file(QStringLiteral("similar.json"));
    const Outcome r =
        Termwise({"similar", "physical", "--data-dir", data.path(), "--output", out}, {0, 4000000ll * 1024});
    ASSERT_FALSE(r.crashed) << Show(r);
    ASSERT_EQ(r.status, 0) << Show(r);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // ZW0's group holds every name that begins with ZW0 and a few more: one check that the
    // groups are whole, without reading the whole file into a DOM.
    const QByteArray head = file.read(1 << 20);
    EXPECT_TRUE(head.contains("\"name\": \"ZW10\"")) << head.left(400).toStdString();
    EXPECT_GT(file.size(), 100ll << 20);
}

// An output that is an input under another spelling (relative, "..", a symbolic link) or the
// open SQLite repository is refused before anything is read, and the file stays as it was.
TEST(CommandLine, AnOutputNeverReplacesAnInput)
{
    TempDataDir data;
    // A repository whose name looks like a report.
    const QString repo = data.file(QStringLiteral("store.json"));
    ASSERT_EQ(Termwise({"repo", "init", "sqlite:" + repo, "--demo"}).status, 0);
    const QString model = data.file(QStringLiteral("model.xlsx"));
    ASSERT_TRUE(QFile::copy(Model(), model));
    const QString ddl = data.file(QStringLiteral("model.sql"));
    WriteTextFile(ddl, QStringLiteral("CREATE TABLE 고객 (고객번호 VARCHAR(10));\n"));
    ASSERT_TRUE(QFile::link(ddl, data.file(QStringLiteral("link.sql"))));
    const QString words = data.file(QStringLiteral("words.csv"));
    WriteTextFile(words, QStringLiteral("단어 논리명,단어 물리명\n고객,CUST\n"));
    QDir(data.path()).mkdir(QStringLiteral("sub"));
    const QString viaSub = data.path() + QStringLiteral("/sub/../");
    const struct
    {
        QStringList args;
        QString kept;
    } cases[] = {
        {{"check", "--input", model, "--attr", "A", "--type", "C", "--repo", "sqlite:" + repo, "--area", "ENT",
          "--output", viaSub + "store.json"},
         repo},
        {{"check", "--input", ddl, "--repo", "sqlite:" + repo, "--area", "ENT", "--output", data.file("report.json"),
          "--fix-script", data.file("link.sql")},
         ddl},
        {{"analyze", "physical", "--input", model, "--attr", "A", "--output", viaSub + "model.xlsx"}, model},
        {{"standard", "import", "--repo", "sqlite:" + words, "--area", "PUB", words}, words},
        {{"register", "words", "--repo", "sqlite:" + words, "--area", "ENT", "--input", words}, words},
    };
    for (const auto& c : cases) {
        QFile before(c.kept);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        const Outcome r = Termwise(c.args);
        EXPECT_NE(r.status, 0) << c.args.join(' ').toStdString() << Show(r);
        EXPECT_TRUE(r.err.contains(QStringLiteral("같은 파일입니다"))) << c.args.join(' ').toStdString() << Show(r);
        QFile after(c.kept);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes) << c.args.join(' ').toStdString();
    }
}

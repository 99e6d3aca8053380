// The edition that ships with the program: `standard import --builtin` (the real program, which
// finds the workbook beside itself) gives what the import of the same file gives, into the
// dictionary and into SQLite and PostgreSQL areas; `repo init --standard` loads it once.
#include "standard/BuiltinStandard.h"
#include "repository/RepoTestDb.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardCommand.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

const QString kSourceWorkbook = QStringLiteral(TERMWISE_SOURCE_DIR "/resources/standard/") + BuiltinStandard::kFileName;

struct CliRun
{
    int status = -1;
    QString out, err;
};

CliRun Program(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(TERMWISE_EXE), args);
    CliRun r;
    if (!p.waitForFinished(600000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

CliRun InProcess(const QStringList& args)
{
    CliRun r;
    QTextStream out(&r.out), err(&r.err);
    r.status = StandardCommand::Run(args, out, err);
    return r;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An area's standards with every generated id replaced by what it points at.
QStringList AreaContent(TestRepository& repo, const QString& area)
{
    const SqlParams a = {SqlParam::Text(area)};
    QStringList all;
    all << repo.Rows(
        QStringLiteral("SELECT DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN "
                       "FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_GBN_CD = '0001' ORDER BY 1, 2"),
        a);
    all << repo.Rows(QStringLiteral("SELECT D.KEY_DOM_NM, D.DOM_NM, D.DATA_TYPE_CD, D.DATA_LEN, D.DATA_SCALE, "
                                    "D.KEY_DOM_PHY_NM, G.DOM_GRP_NM FROM STD_DOM D LEFT JOIN STD_DOM_GRP G ON "
                                    "G.DOM_GRP_ID = D.DOM_GRP_ID AND G.STD_AREA_ID = D.STD_AREA_ID WHERE D.STD_AREA_ID "
                                    "= ? ORDER BY 2"),
                     a);
    all << repo.Rows(QStringLiteral("SELECT T.DIC_LOG_NM, T.DIC_PHY_NM, T.DIC_PHY_FLL_NM, T.DIC_DESC, T.DOM_USE_YN, "
                                    "D.DOM_NM FROM STD_DIC T LEFT JOIN STD_DOM D ON D.DOM_ID = T.DOM_ID AND "
                                    "D.STD_AREA_ID = T.STD_AREA_ID WHERE T.STD_AREA_ID = ? AND T.DIC_GBN_CD = '0002' "
                                    "ORDER BY 1, 2"),
                     a);
    all << repo.Rows(QStringLiteral("SELECT T.DIC_LOG_NM, T.DIC_PHY_NM, C.ORDER_NO, W.DIC_LOG_NM FROM STD_WORD_COMBI C "
                                    "JOIN STD_DIC T ON T.DIC_ID = C.TERM_ID AND T.STD_AREA_ID = C.STD_AREA_ID JOIN "
                                    "STD_DIC W ON W.DIC_ID = C.WORD_ID AND W.STD_AREA_ID = C.STD_AREA_ID WHERE "
                                    "C.STD_AREA_ID = ? ORDER BY 1, 2, 3"),
                     a);
    return all;
}

// The summary lines after "area:" (the rest names the same file and rows either way).
QString Summary(const QString& out)
{
    return out.section(u'\n', 1);
}

class BuiltinStandardImport : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override { OPEN_TEST_REPOSITORY(repo, GetParam()); }
    TestRepository repo;
};

} // namespace

TEST_P(BuiltinStandardImport, EqualsTheImportOfTheSameFile)
{
    const CliRun builtin =
        Program({QStringLiteral("standard"), QStringLiteral("import"), QStringLiteral("--builtin"),
                 QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"), QStringLiteral("PUB")});
    ASSERT_EQ(builtin.status, 0) << builtin.err.toStdString();
    const CliRun files = InProcess({QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                    QStringLiteral("--area"), QStringLiteral("FILES"), kSourceWorkbook});
    ASSERT_EQ(files.status, 0) << files.err.toStdString();
    EXPECT_EQ(Summary(builtin.out), Summary(files.out));

    // The 8th edition's current rows (3,280 words, 126 domains, 13,159 terms: the 3,284, 129 and
    // 13,176 rows less the 4, 3 and 17 it lists as withdrawn, each after the rows that replace
    // it); the synonyms and forbidden words counted from the word sheet; the rows noted are the
    // 24 withdrawn and 11 names that lost a TAB, no-break space or U+FEFF.
    for (const char* line :
         {"\nstandard words: 3280\n", "\nnon-standard words: 182\n", "\ndomain groups: 8\n", "\ndomains: 126\n",
          "\nterms: 13159\n", "\nword combinations: 32273\n", "\nrows not taken or taken with a gap: 35\n"})
        EXPECT_TRUE(builtin.out.contains(QString::fromUtf8(line))) << line << builtin.out.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM IN ('RWDPTR', 'SBSN', "
                                        "'PST_TTL_NM', 'STLI_NM', 'MSRMT_BRNCH_NM', 'TYPE_AST_AMT')")),
              0);

    const QStringList pub = AreaContent(repo, QStringLiteral("PUB"));
    // and the terms' synonyms (용어 이음동의어), one row each
    EXPECT_EQ(pub.size(), 3280 + 182 + 126 + 13159 + 32273 + 1271);
    EXPECT_TRUE(pub == AreaContent(repo, QStringLiteral("FILES")));
}

INSTANTIATE_TEST_SUITE_P(Dialects, BuiltinStandardImport,
                         ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

TEST(BuiltinStandardDictionary, EqualsTheImportOfTheSameFile)
{
    TempDataDir builtinDir, filesDir;
    const CliRun builtin = Program({QStringLiteral("standard"), QStringLiteral("import"), QStringLiteral("--builtin"),
                                    QStringLiteral("--data-dir"), builtinDir.path()});
    ASSERT_EQ(builtin.status, 0) << builtin.err.toStdString();
    const CliRun files =
        InProcess({QStringLiteral("import"), QStringLiteral("--data-dir"), filesDir.path(), kSourceWorkbook});
    ASSERT_EQ(files.status, 0) << files.err.toStdString();
    EXPECT_EQ(Summary(builtin.out), Summary(files.out));
    const QByteArray dictionary = ReadBytes(builtinDir.standardPath() + QStringLiteral("/termwise.json"));
    EXPECT_GT(dictionary.size(), 100000);
    EXPECT_TRUE(dictionary == ReadBytes(filesDir.standardPath() + QStringLiteral("/termwise.json")));

    // Usage: the edition or files, not both.
    EXPECT_EQ(InProcess({QStringLiteral("import"), QStringLiteral("--builtin"), QStringLiteral("--data-dir"),
                         filesDir.path(), kSourceWorkbook})
                  .status,
              2);
}

// The first value of a query on an SQLite repository file.
static QString FirstValue(const QString& file, const QString& sql)
{
    QString value = QStringLiteral("error");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first-value"));
        db.setDatabaseName(file);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql) && q.next())
            value = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("first-value"));
    return value;
}

TEST(BuiltinStandardRepoInit, LoadsOnceAndCombinesWithTheDemo)
{
    TempDataDir dir;
    const auto init = [](const QString& file, const QStringList& options) {
        return Program(QStringList{QStringLiteral("repo"), QStringLiteral("init"), QStringLiteral("sqlite:") + file} +
                       options);
    };
    // The standard alone, refused the second time, then the demo beside it.
    const QString alone = dir.file(QStringLiteral("alone.db"));
    CliRun r = init(alone, {QStringLiteral("--standard")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(BuiltinStandard::kEdition) && r.out.contains(QStringLiteral("\nterms: 13159\n")))
        << r.out.toStdString();
    r = init(alone, {QStringLiteral("--standard")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("이미 현재 표준"))) << r.err.toStdString();
    r = init(alone, {QStringLiteral("--demo")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();

    // Both at once; a second run of both is refused before anything is written, also when only
    // one of them is there already.
    const QString both = dir.file(QStringLiteral("both.db"));
    r = init(both, {QStringLiteral("--demo"), QStringLiteral("--standard")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("데모 표준: ")) && r.out.contains(QStringLiteral("\nterms: 13159\n")))
        << r.out.toStdString();
    EXPECT_EQ(init(both, {QStringLiteral("--demo"), QStringLiteral("--standard")}).status, 1);
    const QString demoOnly = dir.file(QStringLiteral("demo.db"));
    ASSERT_EQ(init(demoOnly, {QStringLiteral("--demo")}).status, 0);
    EXPECT_EQ(init(demoOnly, {QStringLiteral("--demo"), QStringLiteral("--standard")}).status, 1);
    EXPECT_EQ(FirstValue(demoOnly, QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'PUB'")),
              QStringLiteral("0"));

    for (const QString& file : {alone, both}) {
        EXPECT_EQ(FirstValue(file, QStringLiteral("SELECT STD_AREA_NM FROM STD_AREA WHERE STD_AREA_ID = 'PUB'")),
                  BuiltinStandard::kAreaName)
            << file.toStdString();
        EXPECT_EQ(FirstValue(file, QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND "
                                                  "DIC_GBN_CD = '0002' AND STANDARD_YN = 'Y' AND AVAL_END_DT = "
                                                  "'99991231235959'")),
                  QStringLiteral("13159"))
            << file.toStdString();
        EXPECT_EQ(FirstValue(file, QStringLiteral("SELECT COUNT(*) FROM STD_AREA WHERE STD_AREA_ID = 'ENT'")),
                  QStringLiteral("1"))
            << file.toStdString();
    }
}

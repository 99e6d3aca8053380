// Download and upload of the analysis dictionary against a real repository, and the command
// line that teams script, including two uploads running at once on PostgreSQL.
#include "dictionary/ShareSync.h"
#include "components/OutputLog.h"
#include "dictionary/DictionaryManage.h"
#include "repository/RepoTestDb.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "repository/SqlPostgresqlGate.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

_stAnalyzeManageWord Word(const QString& full, const QString& desc)
{
    _stAnalyzeManageWord w;
    w.strPhyFullName = full;
    w.strDescription = desc;
    return w;
}

_stAnalyzeManageDomain Domain(const QString& type, const QString& len, const QString& scale = {})
{
    _stAnalyzeManageDomain d;
    d.strDataType = type;
    d.strLength = len;
    d.strScale = scale;
    return d;
}

class ShareSyncTest : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override { OPEN_TEST_REPOSITORY(repo, GetParam()); }

    void ServerWord(const QString& phy, const QString& log, const QString& full, const QString& desc)
    {
        repo.Exec(RepositorySql::Demo::InsertAnalyzeWord,
                  {SqlParam::Text(phy), SqlParam::Text(log), SqlParam::Text(full), SqlParam::Long(desc),
                   SqlParam::Text(QStringLiteral("Y")), SqlParam::Text(QStringLiteral("PC"))});
    }

    TestRepository repo;
    OutputLogCapture log;
};

} // namespace

TEST_P(ShareSyncTest, DownloadAsksOncePerDifferingWordAndRemembersRepeat)
{
    ServerWord(QStringLiteral("A"), QStringLiteral("가"), QStringLiteral("Ay"), QStringLiteral("서버 정의 가"));
    ServerWord(QStringLiteral("B"), QStringLiteral("나"), QStringLiteral("Bee"), QStringLiteral("서버 정의 나"));
    ServerWord(QStringLiteral("C"), QStringLiteral("다"), QStringLiteral("Cee"), QStringLiteral("서버 정의 다"));
    ServerWord(QStringLiteral("D"), QStringLiteral("라"), QStringLiteral("Dee"), QStringLiteral("같은 정의"));
    ServerWord(QStringLiteral("N"), QStringLiteral("새"), QStringLiteral("New"), QStringLiteral("새 단어"));

    CAnalyzeSettings d;
    d.AddWord(QStringLiteral("A"), QStringLiteral("가"), Word(QStringLiteral("Ay"), QStringLiteral("로컬 정의 가")));
    d.AddWord(QStringLiteral("B"), QStringLiteral("나"), Word(QStringLiteral("Bee"), QStringLiteral("로컬 정의 나")));
    d.AddWord(QStringLiteral("C"), QStringLiteral("다"), Word(QStringLiteral("Cee"), QStringLiteral("로컬 정의 다")));
    d.AddWord(QStringLiteral("D"), QStringLiteral("라"), Word(QStringLiteral("Dee"), QStringLiteral("같은 정의")));

    std::vector<QString> asked;
    CConflictResolver resolver([&](const ShareConflict& c) {
        asked.push_back(c.first);
        // The first conflict: take the server's, the second: hold, and repeat that.
        return asked.size() == 1 ? ShareAnswer{kPreferServer, false} : ShareAnswer{kPreferLocal, true};
    });
    const ShareResult r = ShareSync::DownloadWords(d, &repo.Gate(), resolver);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(asked, (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B")}))
        << "only the definition differs, and C is settled by the repeated answer";
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(r.kept, 2);
    EXPECT_EQ(r.unchanged, 1);
    EXPECT_EQ(r.lines, QStringList{QStringLiteral("A (가) 로컬 분석 단어가 변경되었습니다")});
    _stAnalyzeManageWord w;
    ASSERT_TRUE(d.GetWord(QStringLiteral("A"), QStringLiteral("가"), w));
    EXPECT_EQ(w.strDescription, QStringLiteral("서버 정의 가"));
    ASSERT_TRUE(d.GetWord(QStringLiteral("C"), QStringLiteral("다"), w));
    EXPECT_EQ(w.strDescription, QStringLiteral("로컬 정의 다"));
    ASSERT_TRUE(d.GetWord(QStringLiteral("N"), QStringLiteral("새"), w));
    EXPECT_EQ(w.strPhyFullName, QStringLiteral("New"));
}

TEST_P(ShareSyncTest, UploadSendsNewAndChosenEntriesAndLeavesEqualDomainsAlone)
{
    ServerWord(QStringLiteral("A"), QStringLiteral("가"), QStringLiteral("Ay"), QStringLiteral("서버"));
    ServerWord(QStringLiteral("B"), QStringLiteral("나"), QStringLiteral("Bee"), QStringLiteral("서버"));
    WordIndex local;
    local[QStringLiteral("A")][QStringLiteral("가")] = Word(QStringLiteral("Ay"), QStringLiteral("로컬"));
    local[QStringLiteral("B")][QStringLiteral("나")] = Word(QStringLiteral("Bee"), QStringLiteral("로컬"));
    local[QStringLiteral("N")][QStringLiteral("새")] = Word(QStringLiteral("New"), QStringLiteral("새"));
    int asked = 0;
    CConflictResolver resolver([&](const ShareConflict& c) {
        ++asked;
        return ShareAnswer{c.first == QLatin1String("A") ? kPreferLocal : kPreferServer, false};
    });
    ShareResult r = ShareSync::UploadWords(local, &repo.Gate(), resolver);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(r.lines, QStringList{QStringLiteral("A (가) 서버 분석 단어를 변경합니다")});
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT WORD_PHY_NM, WORD_DESC FROM STD_ANLY_WORD ORDER BY WORD_PHY_NM")),
              (QStringList{QStringLiteral("A|로컬"), QStringLiteral("B|서버"), QStringLiteral("N|새")}));

    // Domains: equal type, length and scale raise no choice whatever the remark says.
    DomainIndex domains;
    domains[QStringLiteral("금액")][QStringLiteral("금액N15")] = Domain(QStringLiteral("NUMBER"), QStringLiteral("15"));
    CConflictResolver never([&](const ShareConflict&) {
        ADD_FAILURE() << "no conflict expected";
        return ShareAnswer{};
    });
    ASSERT_TRUE(ShareSync::UploadDomains(domains, &repo.Gate(), never).ok);
    domains[QStringLiteral("금액")][QStringLiteral("금액N15")].strExtra = QStringLiteral("다른 비고");
    r = ShareSync::UploadDomains(domains, &repo.Gate(), never);
    EXPECT_EQ(r.unchanged, 1);
    CAnalyzeSettings d;
    d.AddDomain(QStringLiteral("금액"), QStringLiteral("금액N15"),
                domains[QStringLiteral("금액")][QStringLiteral("금액N15")]);
    EXPECT_EQ(ShareSync::DownloadDomains(d, &repo.Gate(), never).unchanged, 1);
    EXPECT_TRUE(ShareSync::DifferingDomains(d.m_mapDomains, &repo.Gate()).empty());

    // Excluded names: only the missing ones go up, and come back down once.
    ASSERT_TRUE(ShareSync::UploadExceptWords({QStringLiteral("의"), QStringLiteral("및")}, &repo.Gate()).ok);
    EXPECT_EQ(ShareSync::UploadExceptWords({QStringLiteral("의"), QStringLiteral("또")}, &repo.Gate()).added, 1);
    EXPECT_EQ(ShareSync::DownloadExceptWords(d, &repo.Gate()).added, 3);
}

// What the receiving side did not take is counted as refused, with the reason, never as new.
TEST_P(ShareSyncTest, RefusedRowsAreCountedAndToldApart)
{
    // PostgreSQL refuses a name longer than its column; SQLite needs a trigger for it.
    QString refusedName = QStringLiteral("거부");
    if (GetParam() == TestDialect::Postgresql)
        refusedName = QString(201, u'긴');
    else
        repo.Exec(QStringLiteral("CREATE TRIGGER REFUSE_WORD BEFORE INSERT ON STD_ANLY_WORD WHEN NEW.WORD_LOG_NM = "
                                 "'거부' BEGIN SELECT RAISE(ABORT, 'refused by the server'); END"));
    ServerWord(QStringLiteral("B"), QStringLiteral("나"), QStringLiteral("Bee"), QStringLiteral("서버"));
    WordIndex local;
    local[QStringLiteral("A")][QStringLiteral("가")] = Word(QStringLiteral("Ay"), QStringLiteral("새"));
    local[QStringLiteral("B")][QStringLiteral("나")] = Word(QStringLiteral("Bee"), QStringLiteral("로컬"));
    local[QStringLiteral("X")][refusedName] = Word(QStringLiteral("Ex"), QStringLiteral("거부될 단어"));
    CConflictResolver upload([](const ShareConflict&) { return ShareAnswer{kPreferLocal, true}; });
    const ShareResult up = ShareSync::UploadWords(local, &repo.Gate(), upload);
    EXPECT_FALSE(up.ok);
    EXPECT_EQ(up.added, 1);
    EXPECT_EQ(up.changed, 1);
    EXPECT_EQ(up.refused, 1);
    ASSERT_EQ(up.lines.size(), 2);
    EXPECT_TRUE(up.lines[1].startsWith(QStringLiteral("X (%1) 서버가 분석 단어를 받지 않았습니다: ").arg(refusedName)))
        << up.lines[1].toStdString();
    EXPECT_GT(up.lines[1].size(),
              QStringLiteral("X (%1) 서버가 분석 단어를 받지 않았습니다: ").arg(refusedName).size());
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD")), 2);

    // Down: a row without a logical name, and an excluded word the dictionary uses as a word.
    ServerWord(QStringLiteral("E"), QString(), QStringLiteral("Empty"), QStringLiteral("이름 없음"));
    ASSERT_TRUE(ShareSync::UploadExceptWords({QStringLiteral("가"), QStringLiteral("및")}, &repo.Gate()).ok);
    CAnalyzeSettings d;
    d.AddWord(QStringLiteral("A"), QStringLiteral("가"), Word(QStringLiteral("Ay"), QStringLiteral("새")));
    CConflictResolver download([](const ShareConflict&) { return ShareAnswer{kPreferLocal, true}; });
    const ShareResult down = ShareSync::DownloadWords(d, &repo.Gate(), download);
    EXPECT_EQ(down.added, 1); // 나
    EXPECT_EQ(down.refused, 1);
    EXPECT_EQ(down.lines,
              QStringList{QStringLiteral("E () 분석 단어를 로컬 사전에 넣지 않았습니다: 이름이 비어 있습니다")});
    const ShareResult except = ShareSync::DownloadExceptWords(d, &repo.Gate());
    EXPECT_EQ(except.added, 1);
    EXPECT_EQ(except.refused, 1);
    EXPECT_EQ(d.m_setExceptWords, std::set<QString>{QStringLiteral("및")});
}

TEST_P(ShareSyncTest, CommandLineSharesOnlyWithTheAnalysisTables)
{
    TempDataDir data;
    CAnalyzeSettings d;
    d.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), Word(QStringLiteral("Customer"), QStringLiteral("로컬")));
    ASSERT_TRUE(d.SaveTo(data.standardPath() + QStringLiteral("/termwise.json")));
    ServerWord(QStringLiteral("CUST"), QStringLiteral("고객"), QStringLiteral("Customer"), QStringLiteral("서버"));

    QProcess cli;
    auto run = [&](const QStringList& args) {
        cli.start(QStringLiteral(TERMWISE_EXE),
                  QStringList{QStringLiteral("share")} + args +
                      QStringList{QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--data-dir"), data.path()});
        EXPECT_TRUE(cli.waitForFinished(60000));
        return cli.exitCode();
    };
    if (GetParam() == TestDialect::Sqlite) {
        EXPECT_EQ(run({QStringLiteral("upload")}), 1);
        EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("공유 분석 테이블")));
        return;
    }
    ASSERT_EQ(run({QStringLiteral("download"), QStringLiteral("--prefer"), QStringLiteral("server")}), 0)
        << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardOutput())
                    .contains(QStringLiteral("CUST (고객) 로컬 분석 단어가 변경되었습니다")));
    CAnalyzeSettings after;
    after.LoadFrom(data.standardPath() + QStringLiteral("/termwise.json"));
    _stAnalyzeManageWord w;
    ASSERT_TRUE(after.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), w));
    EXPECT_EQ(w.strDescription, QStringLiteral("서버"));
    EXPECT_EQ(run({QStringLiteral("download"), QStringLiteral("--prefer"), QStringLiteral("sideways")}), 2);
}

INSTANTIATE_TEST_SUITE_P(Dialects, ShareSyncTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// Two teams upload at once: 5,000 words each, 1,000 keys shared with different definitions.
// Without the retry on the unique key, the insert that loses the race drops its row.
TEST(ShareConcurrency, TwoUploadsAtOnceLeaveTheUnionWithOneRowPerKey)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, TestDialect::Postgresql);
    QTemporaryDir dirs[2];
    for (int side = 0; side < 2; ++side) {
        CAnalyzeSettings d;
        for (int i = 0; i < 5000; ++i) {
            // Keys 0..999 on both sides; the rest their own.
            const int n = i < 1000 ? i : side * 10000 + i;
            d.AddWord(QStringLiteral("W%1").arg(n), QStringLiteral("단어%1").arg(n),
                      Word(QStringLiteral("Word%1").arg(n), QStringLiteral("side %1").arg(side)));
        }
        ASSERT_TRUE(d.SaveTo(dirs[side].filePath(QStringLiteral("standard/termwise.json"))));
    }
    QProcess uploads[2];
    for (int side = 0; side < 2; ++side)
        uploads[side].start(QStringLiteral(TERMWISE_EXE),
                            {QStringLiteral("share"), QStringLiteral("upload"), QStringLiteral("--repo"), repo.Uri(),
                             QStringLiteral("--prefer"), QStringLiteral("local"), QStringLiteral("--data-dir"),
                             dirs[side].path()});
    for (QProcess& p : uploads) {
        ASSERT_TRUE(p.waitForFinished(300000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD")), 9000);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(DISTINCT WORD_PHY_NM || '|' || WORD_LOG_NM) FROM STD_ANLY_WORD")),
              9000);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD WHERE WORD_PHY_NM IN ('W0', 'W999', "
                                        "'W1000', 'W11000') AND WORD_DESC IN ('side 0', 'side 1')")),
              4);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD WHERE WORD_DESC NOT IN ('side 0', "
                                        "'side 1')")),
              0);
}

// The race itself, made certain: client A has inserted a new key and not yet committed when
// client B merges the same key. B's update finds nothing, its insert waits for A and then hits
// the unique key; B must still get its value in, as an update.
TEST(ShareConcurrency, AnInsertThatLosesTheRaceIsWrittenAsAnUpdate)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, TestDialect::Postgresql);
    WordIndex mine;
    mine[QStringLiteral("RACE")][QStringLiteral("경합")] = Word(QStringLiteral("Race"), QStringLiteral("A"));
    ASSERT_TRUE(repo.Db().BeginTransaction());
    CSqlPostgresqlGate gateA(&repo.Db());
    ASSERT_TRUE(gateA.MergeAnalyzeWords(mine));

    bool mergedB = false;
    std::thread clientB([&] {
        RepositoryUri uri;
        QString error;
        ParseRepositoryUri(TestPostgresUri(), uri, error);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("race-b"));
            db.setHostName(uri.host);
            db.setPort(uri.port);
            db.setDatabaseName(uri.database);
            db.setUserName(uri.user);
            db.setPassword(uri.password);
            if (db.open()) {
                QSqlQuery(db).exec(QStringLiteral("SET search_path TO ") + repo.Schema());
                CQtSqlExecutor executor(QStringLiteral("race-b"), 11);
                CSqlPostgresqlGate gateB(&executor);
                WordIndex theirs;
                theirs[QStringLiteral("RACE")][QStringLiteral("경합")] =
                    Word(QStringLiteral("Race"), QStringLiteral("B"));
                mergedB = gateB.MergeAnalyzeWords(theirs);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("race-b"));
    });
    // Long enough for B to be waiting on A's uncommitted row.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(repo.Db().CommitTransaction());
    clientB.join();
    EXPECT_TRUE(mergedB);
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT WORD_DESC FROM STD_ANLY_WORD WHERE WORD_PHY_NM = 'RACE'")),
              QStringList{QStringLiteral("B")});
}

// An upload whose connection dies halfway stores nothing, counts nothing as added, and calls
// none of it refused: the server did not refuse it, the connection lost it.
TEST(ShareConcurrency, AnUploadCutOffHalfwayStoresNothingAndRefusesNothing)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, TestDialect::Postgresql);
    repo.Exec(QStringLiteral("CREATE FUNCTION %1.cut() RETURNS trigger AS $$ BEGIN IF NEW.word_phy_nm = 'W150' THEN "
                             "PERFORM pg_terminate_backend(pg_backend_pid()); END IF; RETURN NEW; END $$ "
                             "LANGUAGE plpgsql")
                  .arg(repo.Schema()));
    repo.Exec(QStringLiteral("CREATE TRIGGER cut BEFORE INSERT ON STD_ANLY_WORD FOR EACH ROW EXECUTE FUNCTION %1.cut()")
                  .arg(repo.Schema()));
    WordIndex local;
    for (int i = 100; i < 400; ++i)
        local[QStringLiteral("W%1").arg(i)][QStringLiteral("단어%1").arg(i)] =
            Word(QStringLiteral("Word%1").arg(i), QStringLiteral("설명"));
    CConflictResolver resolver([](const ShareConflict&) { return ShareAnswer{kPreferLocal, true}; });
    const ShareResult up = ShareSync::UploadWords(local, &repo.Gate(), resolver);
    EXPECT_FALSE(up.ok);
    EXPECT_EQ(up.added, 0);
    EXPECT_EQ(up.refused, 0);
    EXPECT_TRUE(up.lines.join(u'\n').contains(QStringLiteral("300개가 모두 저장되지 않았습니다")))
        << up.lines.join(u'\n').toStdString();
    repo.Reconnect();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD")), 0);
}

// The command line uploads both kinds in one transaction: a connection that dies while the
// second kind goes up leaves nothing of the first either, and nothing is called refused.
TEST(ShareConcurrency, AnUploadCutOffInItsSecondKindStoresNothingOfTheFirst)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, TestDialect::Postgresql);
    TempDataDir data;
    CAnalyzeSettings d;
    for (int i = 0; i < 100; ++i) {
        d.AddWord(QStringLiteral("W%1").arg(i), QStringLiteral("단어%1").arg(i),
                  Word(QStringLiteral("Word%1").arg(i), QStringLiteral("설명")));
        d.AddDomain(QStringLiteral("K%1").arg(i), QStringLiteral("도메인%1").arg(i),
                    Domain(QStringLiteral("VARCHAR"), QStringLiteral("10")));
        d.m_setExceptWords.insert(QStringLiteral("제외%1").arg(i));
        d.m_setExceptDomains.insert(QStringLiteral("제외도메인%1").arg(i));
    }
    ASSERT_TRUE(d.SaveTo(data.standardPath() + QStringLiteral("/termwise.json")));
    const struct
    {
        bool excluded;
        const char* table;
        const char* when; // the row of the second kind at which the server loses the session
    } cases[] = {{false, "STD_ANLY_DOMAIN", "NEW.key_dom_nm = 'K50'"},
                 {true, "STD_ANLY_EXCEPT", "NEW.except_nm = '제외도메인50'"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        repo.Exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1.cut() RETURNS trigger AS $$ BEGIN IF %2 THEN "
                                 "PERFORM pg_terminate_backend(pg_backend_pid()); END IF; RETURN NEW; END $$ "
                                 "LANGUAGE plpgsql")
                      .arg(repo.Schema(), QString::fromUtf8(c.when)));
        repo.Exec(QStringLiteral("CREATE TRIGGER cut BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION %2.cut()")
                      .arg(QLatin1String(c.table), repo.Schema()));
        QProcess cli;
        QStringList args{
            QStringLiteral("share"),    QStringLiteral("upload"), QStringLiteral("--repo"),     repo.Uri(),
            QStringLiteral("--prefer"), QStringLiteral("local"),  QStringLiteral("--data-dir"), data.path()};
        if (c.excluded)
            args << QStringLiteral("--excluded");
        cli.start(QStringLiteral(TERMWISE_EXE), args);
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QString out = QString::fromUtf8(cli.readAllStandardOutput());
        EXPECT_EQ(cli.exitCode(), 1) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("100개가 모두 저장되지 않았습니다"))) << out.toStdString();
        EXPECT_TRUE(
            QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("아무것도 저장되지 않았습니다")));
        EXPECT_FALSE(out.contains(QRegularExpression(QStringLiteral("[1-9][0-9]* (uploaded new|changed|refused)"))))
            << out.toStdString();
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD")), 0);
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_DOMAIN")), 0);
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_EXCEPT")), 0);
        repo.Exec(QStringLiteral("DROP TRIGGER cut ON %1").arg(QLatin1String(c.table)));
    }
}

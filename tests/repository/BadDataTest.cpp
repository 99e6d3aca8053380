// Bad data and broken connections: reported as text, never a crash, never a partial term.
#include "RepoTestDb.h"

#include "components/OutputLog.h"

#include <gtest/gtest.h>

namespace {

const QString kArea = QStringLiteral("A1");

class BadData : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        CSqlBaseGate::SetMessageBoxHandler([this](const QString& text) { boxes << text; });
    }
    void TearDown() override { CSqlBaseGate::SetMessageBoxHandler({}); }

    _stAnalyzeManageTerm Term() const
    {
        _stAnalyzeManageTerm term;
        term.strLogicalName = QStringLiteral("고객번호");
        term.strPhysicalName = QStringLiteral("CUST_NO");
        term.listWordIds = {QStringLiteral("W1"), QStringLiteral("W2")};
        return term;
    }

    TestRepository repo;
    QStringList boxes;
};

TEST_P(BadData, NullColumnsReadAsEmptyText)
{
    repo.Exec(QStringLiteral("INSERT INTO STD_ANLY_WORD (WORD_PHY_NM, WORD_LOG_NM) VALUES ('CUST', '고객')"));
    repo.Exec(QStringLiteral("INSERT INTO STD_ANLY_DOMAIN (KEY_DOM_NM, DOM_NM) VALUES ('번호', '번호VC20')"));
    repo.Exec(QStringLiteral("INSERT INTO STD_ANLY_EXCEPT (EXCEPT_NM, EXCEPT_CD) VALUES ('의', '0001')"));
    repo.Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, DIC_GBN_CD, STANDARD_YN) "
                             "VALUES ('A1', 'W1', '99991231235959', '0001', 'Y')"));
    repo.Exec(QStringLiteral("INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT) VALUES ('A1', 'D1', "
                             "'99991231235959')"));
    repo.Exec(QStringLiteral("INSERT INTO STD_AREA (STD_AREA_ID, AVAL_END_DT, STD_AREA_NM) VALUES ('A1', "
                             "'99991231235959', '전사')"));

    CSqlBaseGate& gate = repo.Gate();
    WordIndex words;
    ASSERT_TRUE(gate.SelectAnalyzeWords(words));
    const _stAnalyzeManageWord& w = words[QStringLiteral("CUST")][QStringLiteral("고객")];
    EXPECT_TRUE(w.strPhyFullName.isEmpty() && w.strDescription.isEmpty() && w.strAuthority.isEmpty());
    EXPECT_EQ(w.nStandard, 0);
    DomainIndex domains;
    ASSERT_TRUE(gate.SelectAnalyzeDomains(domains));
    EXPECT_TRUE(domains[QStringLiteral("번호")][QStringLiteral("번호VC20")].strDataType.isEmpty());
    ExceptNameMap excepts;
    ASSERT_TRUE(gate.SelectExceptWords(excepts));
    EXPECT_EQ(excepts, (ExceptNameMap{{QStringLiteral("의"), QString()}}));

    std::vector<_stAnalyzeManageWord> unused;
    ASSERT_TRUE(gate.SelectUnusedStandardWords(kArea, unused));
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_TRUE(unused[0].strLogicalName.isEmpty() && unused[0].strDescription.isEmpty());
    std::vector<_stAnalyzeManageDomain> unusedDomains;
    ASSERT_TRUE(gate.SelectUnusedStandardDomains(kArea, unusedDomains));
    ASSERT_EQ(unusedDomains.size(), 1u);
    EXPECT_TRUE(unusedDomains[0].strDataType.isEmpty()) << "no type id gives no type name";
    std::vector<_stAnalyzeManageDomain> all;
    ASSERT_TRUE(gate.SelectStandardDomains(kArea, all));
    EXPECT_EQ(all.size(), 1u);
    _stAnalyzeManageWord byId;
    byId.strWordId = QStringLiteral("W1");
    EXPECT_TRUE(gate.SelectStandardWordById(kArea, byId));
    EXPECT_EQ(byId.nClassWord, 0);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_P(BadData, EmptyAreaIdFindsNothing)
{
    CSqlBaseGate& gate = repo.Gate();
    QString name;
    EXPECT_FALSE(gate.SelectStandardAreaName(QString(), name));
    _stAnalyzeManageWord word;
    EXPECT_FALSE(gate.SelectStandardWord(QString(), word));
    EXPECT_FALSE(gate.SelectStandardWordsByLogicalName(QString(), QStringLiteral("고객")));
    DomainHitList found;
    EXPECT_TRUE(gate.SelectStandardDomainsByKey(QString(), {QStringLiteral("번호")}, QStringLiteral("VARCHAR"),
                                                QStringLiteral("20"), {}, found));
    EXPECT_TRUE(found.empty());
    std::vector<_stAnalyzeManageTerm> terms;
    EXPECT_TRUE(gate.SelectUnusedStandardTerms(QString(), terms));
    EXPECT_TRUE(terms.empty());
}

TEST_P(BadData, TableDroppedWhileConnected)
{
    CSqlBaseGate& gate = repo.Gate();
    repo.Exec(QStringLiteral("DROP TABLE STD_ANLY_WORD"));
    repo.Exec(QStringLiteral("DROP TABLE STD_AREA"));
    OutputLogCapture log;

    WordIndex words;
    EXPECT_FALSE(gate.SelectAnalyzeWords(words));
    StandardAreaMap areas;
    EXPECT_FALSE(gate.SelectStandardAreas(areas));
    ASSERT_EQ(boxes.size(), 2) << "the user-started reads show the error in a message box";
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("STD_ANLY_WORD"), Qt::CaseInsensitive)) << boxes[0].toStdString();

    WordIndex upload;
    upload[QStringLiteral("CUST")][QStringLiteral("고객")];
    upload[QStringLiteral("NO")][QStringLiteral("번호")];
    EXPECT_FALSE(gate.MergeAnalyzeWords(upload));
    ASSERT_EQ(log.lines.size(), 2) << "one report per row, and the walk went on";
    EXPECT_TRUE(log.lines[0].startsWith(QStringLiteral("CUST 단어 업데이트 실패 : ")));
    EXPECT_TRUE(log.lines[1].startsWith(QStringLiteral("NO 단어 업데이트 실패 : ")));

    QString name;
    log.lines.clear();
    EXPECT_FALSE(gate.SelectStandardAreaName(kArea, name));
    EXPECT_EQ(log.lines.size(), 1) << "other operations report to the output log";

    // The combination table is gone: the term row written before it must not stay.
    repo.Exec(QStringLiteral("DROP TABLE STD_WORD_COMBI"));
    log.lines.clear();
    EXPECT_FALSE(gate.InsertStandardTermRow(kArea, Term()));
    EXPECT_EQ(log.lines.value(0), QStringLiteral("고객번호 (CUST_NO) 용어 입력 실패"));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
}

TEST_P(BadData, LostConnection)
{
    CSqlBaseGate& gate = repo.Gate();
    repo.LoseConnection();
    OutputLogCapture log;

    WordIndex words;
    EXPECT_FALSE(gate.SelectAnalyzeWords(words));
    QString now;
    EXPECT_FALSE(gate.SelectCurrentDateTime(now));
    // the window asks once about the lost connection: no box per read, the log says which failed
    EXPECT_TRUE(boxes.empty());
    ASSERT_GE(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].startsWith(QStringLiteral("분석 공유 단어 조회 실패 : "))) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[1].startsWith(QStringLiteral("저장소 현재 시각 조회 실패 : "))) << log.lines[1].toStdString();
    WordIndex upload;
    upload[QStringLiteral("CUST")][QStringLiteral("고객")];
    EXPECT_FALSE(gate.MergeAnalyzeWords(upload));
    EXPECT_FALSE(gate.InsertExceptWords({QStringLiteral("의")}));
    EXPECT_FALSE(gate.UpdateStandardClassWordFlag(kArea, QStringLiteral("W1")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("단어 분류어 변경 실패")));
    EXPECT_FALSE(gate.InsertStandardTermRow(kArea, Term()));
    EXPECT_FALSE(gate.InsertAnalyzeDomainGroup(kArea));
    std::vector<_stAnalyzeManageWord> unused;
    EXPECT_FALSE(gate.SelectUnusedStandardWords(kArea, unused));

    // Back on a working connection nothing of the term is there, and work goes on.
    repo.Reconnect();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 0);
    EXPECT_TRUE(gate.InsertStandardTermRow(kArea, Term()));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 2);
}

INSTANTIATE_TEST_SUITE_P(Dialects, BadData, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// The server session ends in the middle of the term transaction (between the term row and its
// second combination): the server drops the open transaction, the gateway reports, no crash.
TEST(BadDataServer, SessionEndsInsideTheTermTransaction)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, TestDialect::Postgresql);
    repo.Exec(QStringLiteral("CREATE FUNCTION %1.kill_session() RETURNS trigger AS $$ BEGIN "
                             "IF NEW.word_id = 'KILL' THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF; "
                             "RETURN NEW; END $$ LANGUAGE plpgsql")
                  .arg(repo.Schema()));
    repo.Exec(QStringLiteral("CREATE TRIGGER trg_kill BEFORE INSERT ON STD_WORD_COMBI FOR EACH ROW EXECUTE FUNCTION "
                             "%1.kill_session()")
                  .arg(repo.Schema()));
    _stAnalyzeManageTerm term;
    term.strLogicalName = QStringLiteral("고객번호");
    term.strPhysicalName = QStringLiteral("CUST_NO");
    term.listWordIds = {QStringLiteral("W1"), QStringLiteral("KILL"), QStringLiteral("W3")};
    OutputLogCapture log;
    EXPECT_FALSE(repo.Gate().InsertStandardTermRow(kArea, term));
    EXPECT_EQ(log.lines.value(0), QStringLiteral("고객번호 (CUST_NO) 용어 입력 실패"));
    repo.Reconnect();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 0);
}

} // namespace

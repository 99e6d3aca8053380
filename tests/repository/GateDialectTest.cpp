// What each dialect sends, in which order, with which parameters: checked on a recording
// statement layer, which is how the Oracle gateway is tested without an Oracle server.
#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "repository/SqlOracleGate.h"
#include "repository/SqlPostgresqlGate.h"
#include "repository/SqlSqliteGate.h"

#include <QSysInfo>
#include <deque>
#include <gtest/gtest.h>

namespace {

struct Call
{
    QString statement;
    SqlParams params;
};

// Records every call; answers from a queue of scripted outcomes (default: success, no rows).
class RecordingExecutor : public ISqlExecutor
{
public:
    explicit RecordingExecutor(int type) : m_type(type) {}
    int GetDBType() const override { return m_type; }
    bool IsOpen() const override { return true; }
    bool IsExistTable(const QString& name) override
    {
        tables << name;
        return existing.contains(name);
    }
    SqlOutcome Execute(const QString& statement, const SqlParams& params) override
    {
        // A merge's rows go under savepoints: logged, not counted among the statements.
        if (statement == RepositorySql::Common::SavepointRow || statement == RepositorySql::Common::ReleaseRow ||
            statement == RepositorySql::Common::RollbackToRow) {
            log << statement.section(u' ', 0, 0).toLower();
            SqlOutcome ok;
            ok.ok = true;
            return ok;
        }
        calls.push_back({statement, params});
        log << QStringLiteral("exec");
        if (answers.empty()) {
            SqlOutcome ok;
            ok.ok = true;
            return ok;
        }
        SqlOutcome out = answers.front();
        answers.pop_front();
        return out;
    }
    bool BeginTransaction() override { return log << QStringLiteral("begin"), true; }
    bool CommitTransaction() override { return log << QStringLiteral("commit"), true; }
    bool RollbackTransaction() override { return log << QStringLiteral("rollback"), true; }
    QString LastError() const override { return {}; }

    void AnswerRows(const QStringList& columns, const std::vector<QStringList>& rows)
    {
        SqlOutcome out;
        out.ok = true;
        out.rows.columns = columns;
        out.rows.rows = rows;
        answers.push_back(out);
    }
    void AnswerError(const QString& error)
    {
        SqlOutcome out;
        out.error = error;
        answers.push_back(out);
    }

    std::vector<Call> calls;
    std::deque<SqlOutcome> answers;
    QStringList log;
    QStringList tables;
    QStringList existing;

private:
    int m_type;
};

QStringList Texts(const SqlParams& params)
{
    QStringList texts;
    for (const SqlParam& p : params)
        texts << (p.kind == SqlParamKind::Integer ? QStringLiteral("#%1").arg(p.number) : p.text);
    return texts;
}

QList<int> Sizes(const SqlParams& params)
{
    QList<int> sizes;
    for (const SqlParam& p : params)
        sizes << p.size;
    return sizes;
}

TEST(GateDialect, CreateRepositoryGateByTypeCode)
{
    struct Case
    {
        int type;
        const char* gate; // dynamic type expected, or nullptr
    };
    const Case cases[] = {{1, "oracle"}, {10, "oracle"}, {11, "postgresql"}, {13, "sqlite"},
                          {2, nullptr},  {0, nullptr},   {12, nullptr}};
    for (const Case& c : cases) {
        RecordingExecutor db(c.type);
        const std::unique_ptr<CSqlBaseGate> gate = CreateRepositoryGate(&db);
        const char* kind = dynamic_cast<CSqlOracleGate*>(gate.get())       ? "oracle"
                           : dynamic_cast<CSqlPostgresqlGate*>(gate.get()) ? "postgresql"
                           : dynamic_cast<CSqlSqliteGate*>(gate.get())     ? "sqlite"
                                                                           : nullptr;
        EXPECT_STREQ(kind, c.gate) << "type " << c.type;
        if (gate) {
            EXPECT_EQ(gate->Database(), &db);
        }
    }
    EXPECT_EQ(CreateRepositoryGate(nullptr), nullptr);
}

// The upsert of one analysis word: statement and bind order per dialect.
TEST(GateDialect, MergeAnalyzeWordsBindOrder)
{
    const QString host = QSysInfo::machineHostName();
    struct Case
    {
        int type;
        QString statement;
        QStringList params;
    };
    const QStringList six{QStringLiteral("CUST"), QStringLiteral("고객"), QStringLiteral("Customer"),
                          QStringLiteral("설명"), QStringLiteral("Y"),    host};
    const Case cases[] = {
        {13, RepositorySql::Sqlite::MergeAnalyzeWord, six},
        {1, RepositorySql::Oracle::MergeAnalyzeWord, six + six},
        {10, RepositorySql::Oracle::MergeAnalyzeWord, six + six},
        {11, RepositorySql::Postgresql::MergeAnalyzeWord,
         QStringList{QStringLiteral("Customer"), QStringLiteral("설명"), QStringLiteral("Y"), host,
                     QStringLiteral("CUST"), QStringLiteral("고객")} +
             six},
    };
    for (const Case& c : cases) {
        RecordingExecutor db(c.type);
        auto gate = CreateRepositoryGate(&db);
        WordIndex words;
        _stAnalyzeManageWord w;
        w.strPhyFullName = QStringLiteral("Customer");
        w.strDescription = QStringLiteral("설명");
        w.nStandard = 1;
        words[QStringLiteral("CUST")][QStringLiteral("고객")] = w;
        ASSERT_TRUE(gate->MergeAnalyzeWords(words));
        ASSERT_EQ(db.calls.size(), 1u);
        EXPECT_EQ(db.calls[0].statement, c.statement) << c.type;
        EXPECT_EQ(Texts(db.calls[0].params), c.params) << c.type;
        // The description is declared with size 4000, every other text with 100.
        for (size_t i = 0; i < db.calls[0].params.size(); ++i)
            EXPECT_EQ(db.calls[0].params[i].size, c.params[i] == QStringLiteral("설명") ? 4000 : 100);
    }
}

TEST(GateDialect, MergeAnalyzeDomainsBindOrder)
{
    const QString host = QSysInfo::machineHostName();
    const QStringList six{QStringLiteral("금액"), QStringLiteral("금액DEC18,2"), QStringLiteral("NUMERIC"),
                          QStringLiteral("18"),   QStringLiteral("2"),           host};
    struct Case
    {
        int type;
        QString statement;
        QStringList params;
    };
    const Case cases[] = {
        {13, RepositorySql::Sqlite::MergeAnalyzeDomain, six},
        {1, RepositorySql::Oracle::MergeAnalyzeDomain, six + six},
        {11, RepositorySql::Postgresql::MergeAnalyzeDomain,
         QStringList{QStringLiteral("NUMERIC"), QStringLiteral("18"), QStringLiteral("2"), host, QStringLiteral("금액"),
                     QStringLiteral("금액DEC18,2")} +
             six},
    };
    for (const Case& c : cases) {
        RecordingExecutor db(c.type);
        auto gate = CreateRepositoryGate(&db);
        DomainIndex domains;
        _stAnalyzeManageDomain d;
        d.strDataType = QStringLiteral("NUMERIC");
        d.strLength = QStringLiteral("18");
        d.strScale = QStringLiteral("2");
        domains[QStringLiteral("금액")][QStringLiteral("금액DEC18,2")] = d;
        ASSERT_TRUE(gate->MergeAnalyzeDomains(domains));
        ASSERT_EQ(db.calls.size(), 1u);
        EXPECT_EQ(db.calls[0].statement, c.statement);
        EXPECT_EQ(Texts(db.calls[0].params), c.params) << c.type;
        // Length and scale are declared as long texts.
        QList<int> sizes;
        for (const QString& p : c.params)
            sizes << ((p == u"18" || p == u"2") ? 4000 : 100);
        EXPECT_EQ(Sizes(db.calls[0].params), sizes);
    }
}

TEST(GateDialect, MergeReportsAFailedRowAndGoesOn)
{
    RecordingExecutor db(1);
    CSqlOracleGate gate(&db);
    // After a failed row the server is asked whether it is still there (answered here).
    db.AnswerError(QStringLiteral("ORA-12899: value too large"));
    db.AnswerRows({QStringLiteral("NOW")}, {{QStringLiteral("20260101000000")}});
    db.AnswerError(QString()); // failed without a database text
    db.AnswerRows({QStringLiteral("NOW")}, {{QStringLiteral("20260101000000")}});
    WordIndex words;
    words[QStringLiteral("A")][QStringLiteral("가")];
    words[QStringLiteral("B")][QStringLiteral("나")];
    words[QStringLiteral("C")][QStringLiteral("다")];
    OutputLogCapture log;
    EXPECT_FALSE(gate.MergeAnalyzeWords(words));
    EXPECT_EQ(db.calls.size(), 5u) << "the walk goes on after a failed row";
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("A 단어 업데이트 실패 : ORA-12899: value too large"),
                                      QStringLiteral("B 단어 업데이트 실패")}));

    // A server that is gone stops the walk with one line instead of one per row.
    db.calls.clear();
    db.AnswerError(QStringLiteral("ORA-03113: end-of-file on communication channel"));
    db.AnswerError(QStringLiteral("ORA-03114: not connected to ORACLE"));
    log.lines.clear();
    EXPECT_FALSE(gate.MergeAnalyzeWords(words));
    EXPECT_EQ(db.calls.size(), 2u);
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_EQ(log.lines[1], QStringLiteral("저장소 연결이 끊어져 나머지 항목을 쓰지 않았습니다"));

    db.calls.clear();
    db.AnswerError(QStringLiteral("ORA-00942"));
    DomainIndex domains;
    domains[QStringLiteral("번호")][QStringLiteral("번호VC20")];
    log.lines.clear();
    EXPECT_FALSE(gate.MergeAnalyzeDomains(domains));
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("번호 도메인 업데이트 실패 : ORA-00942")});
}

TEST(GateDialect, DialectReadsAndTheirStatements)
{
    struct Case
    {
        int type;
        QString areas;
        QString now;
        bool hasOptions;
    };
    const Case cases[] = {
        {13, RepositorySql::Sqlite::SelectStandardAreas, RepositorySql::Sqlite::SelectCurrentDateTime, false},
        {1, RepositorySql::Oracle::SelectStandardAreas, RepositorySql::Oracle::SelectCurrentDateTime, true},
        {11, RepositorySql::Postgresql::SelectStandardAreas, RepositorySql::Postgresql::SelectCurrentDateTime, true},
    };
    for (const Case& c : cases) {
        RecordingExecutor db(c.type);
        auto gate = CreateRepositoryGate(&db);
        db.AnswerRows({QStringLiteral("LVL"), QStringLiteral("STD_AREA_ID"), QStringLiteral("STD_AREA_NM")},
                      {{QStringLiteral("1"), QStringLiteral("A1"), QStringLiteral("전사")},
                       {QStringLiteral("2"), QStringLiteral("A2"), QStringLiteral("금융")},
                       {QStringLiteral("1"), QStringLiteral("A3"), QStringLiteral("전사")}});
        StandardAreaMap areas;
        ASSERT_TRUE(gate->SelectStandardAreas(areas));
        // Areas sharing a name give one entry.
        EXPECT_EQ(areas, (StandardAreaMap{{QStringLiteral("전사"), QStringLiteral("A3")},
                                          {QStringLiteral("금융"), QStringLiteral("A2")}}));
        db.AnswerRows({QStringLiteral("X")}, {{QStringLiteral("20240505123000")}});
        QString now;
        ASSERT_TRUE(gate->SelectCurrentDateTime(now));
        EXPECT_EQ(now, QStringLiteral("20240505123000"));

        db.AnswerRows({QStringLiteral("OPTN_ID"), QStringLiteral("OPTN_VAL")},
                      {{QStringLiteral("Meta.Common.URL"), QStringLiteral("http://m")},
                       {QStringLiteral("Standard.WordProposalURL"), QStringLiteral("/w")}});
        QString url;
        EXPECT_EQ(gate->SelectOptionUrls(QStringLiteral("Standard.WordProposalURL"), url), c.hasOptions);
        ASSERT_EQ(db.calls.size(), c.hasOptions ? 3u : 2u);
        EXPECT_EQ(db.calls[0].statement, c.areas);
        EXPECT_TRUE(db.calls[0].params.empty());
        EXPECT_EQ(db.calls[1].statement, c.now);
        if (c.hasOptions) {
            EXPECT_EQ(url, QStringLiteral("http://m/w"));
            EXPECT_EQ(db.calls[2].statement, RepositorySql::Common::SelectOptionUrls);
            EXPECT_EQ(Texts(db.calls[2].params),
                      (QStringList{QStringLiteral("Meta.Common.URL"), QStringLiteral("Standard.WordProposalURL")}));
        }
    }
}

TEST(GateDialect, UserStartedReadsReportInAMessageBox)
{
    QStringList boxes;
    CSqlBaseGate::SetMessageBoxHandler([&](const QString& text) { boxes << text; });
    RecordingExecutor db(1);
    CSqlOracleGate gate(&db);
    OutputLogCapture log;
    for (int i = 0; i < 5; ++i)
        db.AnswerError(QStringLiteral("ORA-%1").arg(i));
    WordIndex words;
    DomainIndex domains;
    StandardAreaMap areas;
    QString now;
    ExceptNameMap excepts;
    EXPECT_FALSE(gate.SelectAnalyzeWords(words));
    EXPECT_FALSE(gate.SelectAnalyzeDomains(domains));
    EXPECT_FALSE(gate.SelectStandardAreas(areas));
    EXPECT_FALSE(gate.SelectCurrentDateTime(now));
    EXPECT_FALSE(gate.SelectExceptWords(excepts)); // every other read goes to the output log
    CSqlBaseGate::SetMessageBoxHandler({});
    // a Korean line saying which read failed, then the driver's own text
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("분석 공유 단어 조회 실패\nORA-0"),
                                  QStringLiteral("분석 공유 도메인 조회 실패\nORA-1"),
                                  QStringLiteral("표준 분류체계 조회 실패\nORA-2"),
                                  QStringLiteral("저장소 현재 시각 조회 실패\nORA-3")}));
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("분석 제외 공유 데이터 조회 실패 : ORA-4")});
}

TEST(GateDialect, DomainLookupConditionsAndParameters)
{
    const QString head = RepositorySql::Common::SelectStandardDomainsByKey;
    const QString len = RepositorySql::Common::SelectStandardDomainsByKeyLength;
    const QString scale = RepositorySql::Common::SelectStandardDomainsByKeyScale;
    const QString varchar = QrDatatype::GetLogicalDatatypeId(QStringLiteral("VARCHAR"));
    ASSERT_FALSE(varchar.isEmpty());
    struct Case
    {
        const char* length;
        const char* scale;
        QString statement;
        QStringList params;
    };
    const Case cases[] = {
        {"0", "0", head, {QStringLiteral("A"), QStringLiteral("번호"), varchar}},
        {"", "", head, {QStringLiteral("A"), QStringLiteral("번호"), varchar}},
        {"20", "0", head + len, {QStringLiteral("A"), QStringLiteral("번호"), varchar, QStringLiteral("#20")}},
        {"0", "2", head + scale, {QStringLiteral("A"), QStringLiteral("번호"), varchar, QStringLiteral("#2")}},
        {"18",
         "2",
         head + len + scale,
         {QStringLiteral("A"), QStringLiteral("번호"), varchar, QStringLiteral("#18"), QStringLiteral("#2")}},
    };
    for (const Case& c : cases) {
        RecordingExecutor db(11);
        CSqlPostgresqlGate gate(&db);
        DomainHitList found;
        ASSERT_TRUE(gate.SelectStandardDomainsByKey(QStringLiteral("A"), {QStringLiteral("번호")},
                                                    QStringLiteral("VARCHAR"), QString::fromUtf8(c.length),
                                                    QString::fromUtf8(c.scale), found));
        ASSERT_EQ(db.calls.size(), 1u);
        EXPECT_EQ(db.calls[0].statement, c.statement);
        EXPECT_EQ(Texts(db.calls[0].params), c.params);
    }

    // An error on one candidate is reported and the next candidate is still tried.
    RecordingExecutor db(1);
    CSqlOracleGate gate(&db);
    db.AnswerError(QStringLiteral("ORA-00904"));
    db.AnswerRows({QStringLiteral("DOM_NM"), QStringLiteral("DOM_ID")},
                  {{QStringLiteral("번호VC20"), QStringLiteral("D1")}});
    OutputLogCapture log;
    DomainHitList found;
    EXPECT_TRUE(gate.SelectStandardDomainsByKey(QStringLiteral("A"),
                                                {QStringLiteral("번호"), QStringLiteral("전화번호")},
                                                QStringLiteral("VARCHAR"), QStringLiteral("20"), {}, found));
    EXPECT_EQ(Texts(db.calls[0].params).value(1), QStringLiteral("전화번호")) << "last candidate first";
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("전화번호 도메인 조회 실패 : ORA-00904")});
    EXPECT_EQ(found, (DomainHitList{{QStringLiteral("번호VC20"), QStringLiteral("D1")}}));
}

TEST(GateDialect, EmptyAreaIdSendsNothing)
{
    RecordingExecutor db(1);
    CSqlOracleGate gate(&db);
    QString name;
    EXPECT_FALSE(gate.SelectStandardAreaName(QString(), name));
    EXPECT_TRUE(db.calls.empty());
}

TEST(GateDialect, TermTransactionOnTheOracleDialect)
{
    RecordingExecutor db(1);
    CSqlOracleGate gate(&db);
    _stAnalyzeManageTerm term;
    term.strLogicalName = QStringLiteral("고객번호");
    term.strPhysicalName = QStringLiteral("CUST_NO");
    term.strDomainId = QStringLiteral("D1");
    term.listWordIds = {QStringLiteral("W1"), QStringLiteral("W2")};
    db.AnswerRows({QStringLiteral("NOW")}, {{QStringLiteral("20240101010101")}});
    ASSERT_TRUE(gate.InsertStandardTermRow(QStringLiteral("A"), term));
    EXPECT_EQ(db.log, (QStringList{QStringLiteral("exec"), QStringLiteral("begin"), QStringLiteral("exec"),
                                   QStringLiteral("exec"), QStringLiteral("exec"), QStringLiteral("commit")}));
    ASSERT_EQ(db.calls.size(), 4u);
    EXPECT_EQ(db.calls[0].statement, RepositorySql::Oracle::SelectCurrentDateTime);
    EXPECT_EQ(db.calls[1].statement, RepositorySql::Common::InsertStandardTerm);
    const QString termId = db.calls[1].params[1].text;
    EXPECT_EQ(Texts(db.calls[1].params),
              (QStringList{QStringLiteral("A"), termId, QStringLiteral("20240101010101"), QStringLiteral("고객번호"),
                           QStringLiteral("CUST_NO"), QStringLiteral("고객번호"), QStringLiteral("D1")}));
    EXPECT_EQ(Sizes(db.calls[1].params), (QList<int>{100, 100, 100, 100, 100, 4000, 4000}));
    // Term positions are texts counted from 1.
    EXPECT_EQ(Texts(db.calls[3].params), (QStringList{QStringLiteral("A"), termId, QStringLiteral("2"),
                                                      QStringLiteral("W2"), QStringLiteral("20240101010101")}));
    EXPECT_EQ(db.calls[3].params[2].kind, SqlParamKind::Text);

    // The second combination fails: rolled back, never committed.
    RecordingExecutor failing(1);
    CSqlOracleGate gate2(&failing);
    failing.AnswerRows({QStringLiteral("NOW")}, {{QStringLiteral("20240101010101")}});
    SqlOutcome ok;
    ok.ok = true;
    failing.answers.push_back(ok);
    failing.answers.push_back(ok);
    failing.AnswerError(QStringLiteral("ORA-00001: unique constraint"));
    OutputLogCapture log;
    EXPECT_FALSE(gate2.InsertStandardTermRow(QStringLiteral("A"), term));
    EXPECT_EQ(failing.log.last(), QStringLiteral("rollback"));
    EXPECT_FALSE(failing.log.contains(QStringLiteral("commit")));
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("고객번호 (CUST_NO) 용어 입력 실패"),
                                      QStringLiteral("ORA-00001: unique constraint")}));
}

TEST(GateDialect, DomainRowStopsBeforeCombinationsWhenItFails)
{
    RecordingExecutor db(10);
    CSqlOracleGate gate(&db);
    _stAnalyzeManageDomain d;
    d.strKeyDomainName = QStringLiteral("번호");
    d.strDomainName = QStringLiteral("번호VC20");
    d.vecWords.resize(2);
    db.AnswerRows({QStringLiteral("DOM_GRP_ID"), QStringLiteral("N")}, {}); // the class's group: none yet
    db.AnswerError(QStringLiteral("ORA-01400"));
    OutputLogCapture log;
    EXPECT_FALSE(gate.InsertStandardDomainRow(QStringLiteral("A"), QStringLiteral("20240101000000"), d));
    EXPECT_EQ(db.calls.size(), 2u) << "no combination rows after a failed domain row";
    EXPECT_EQ(log.lines.value(0), QStringLiteral("번호 (번호VC20) 도메인 입력 실패"));
}

} // namespace

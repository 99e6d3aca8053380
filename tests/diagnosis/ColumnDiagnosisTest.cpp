// The diagnosis of a model read from a DDL script, column by column: names read from real
// comments (descriptions, code lists, sentences), numbered columns, key columns, a term
// synonym, physical names and types, each column with exactly its findings.
#include "analysis/TermAnalysis.h"
#include "components/QrProgressWnd.h"
#include "diagnosis/CheckCommand.h"
#include "diagnosis/Diagnosis.h"
#include "exchange/CatalogReader.h"
#include "exchange/ModelInput.h"
#include "repository/RepoTestDb.h"
#include "repository/RepositoryConnection.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "support/LiveServer.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUuid>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

const char* const kScript = R"(
CREATE TABLE shop.tb_cust (
  cust_no varchar(20) PRIMARY KEY,
  cust_nm varchar(50),
  cust_name varchar(100),
  cust_telno1 varchar(20),
  cust_tel_no2 varchar(20),
  cust_nm1 varchar(100),
  nm2 varchar(100),
  use_yn char(1),
  note varchar(100)
);
CREATE TABLE shop.tb_ord (
  ord_no bigint PRIMARY KEY,
  cust_no varchar(20) REFERENCES shop.tb_cust (cust_no),
  ord_amt numeric(15),
  ord_num varchar(20),
  ord_addr varchar(200),
  ord_prdt varchar(10),
  ord_cd char(3),
  ord_ymd timestamp
);
COMMENT ON COLUMN shop.tb_cust.cust_no IS '고객번호';
COMMENT ON COLUMN shop.tb_cust.cust_nm IS '고객명. 실명 확인된 이름';
COMMENT ON COLUMN shop.tb_cust.cust_name IS '고객이름';
COMMENT ON COLUMN shop.tb_cust.cust_telno1 IS '고객전화번호1';
COMMENT ON COLUMN shop.tb_cust.cust_tel_no2 IS '고객전화번호2 (휴대폰)';
COMMENT ON COLUMN shop.tb_cust.cust_nm1 IS '고객명1';
COMMENT ON COLUMN shop.tb_cust.nm2 IS '고객명2';
COMMENT ON COLUMN shop.tb_cust.use_yn IS 'Y : 사용, N : 미사용';
COMMENT ON COLUMN shop.tb_cust.note IS '고객 메모를 저장한다';
COMMENT ON COLUMN shop.tb_ord.ord_no IS '주문번호';
COMMENT ON COLUMN shop.tb_ord.cust_no IS '고객번호';
COMMENT ON COLUMN shop.tb_ord.ord_amt IS '주문금액';
COMMENT ON COLUMN shop.tb_ord.ord_num IS '주문넘버';
COMMENT ON COLUMN shop.tb_ord.ord_addr IS '주문주소';
COMMENT ON COLUMN shop.tb_ord.ord_prdt IS '주문상품';
COMMENT ON COLUMN shop.tb_ord.ord_cd IS '주문 코드, A : 접수, B : 완료';
COMMENT ON COLUMN shop.tb_ord.ord_ymd IS '주문일자';
)";

class ColumnDiagnosis : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, TestDialect::Sqlite);
        QString out, err;
        QTextStream o(&out), e(&err);
        ASSERT_EQ(StandardCommand::Run(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                                   QStringLiteral("--area"), QStringLiteral("PUB")} +
                                           StandardCsvFixtures(),
                                       o, e),
                  0)
            << err.toStdString();
        script = dir.file(QStringLiteral("model.sql"));
        WriteTextFile(script, U(kScript));
    }
    TestRepository repo;
    TempDataDir dir;
    QString script;
};

using Findings = std::map<QString, QStringList>;

// Every column's findings ("kind subject > replacement") by schema.table.column, and what the
// judge hands to the fix script; the schema named "shop" whatever it is called.
bool Judge(const ModelSource::AttributeList& model, const QString& repoUri, const QString& schema, Findings& findings,
           std::map<QString, ColumnStandard>& standards, ConformanceReport& report, QString& error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    if (!connection.Open(repoUri, &error))
        return false;
    connection.OnRepositoryConnected();
    ModelColumns columns(model);
    const bool built = Diagnosis::BuildForConnectedArea(
        QStringLiteral("PUB"), columns, report, error, [&](const DiagnosisColumn& c, const ColumnVerdict& v) {
            QString table = c.shownTable;
            if (table.startsWith(schema + u'.'))
                table = QStringLiteral("shop") + table.mid(schema.size());
            const QString key = table + u'.' + c.shownColumn;
            QStringList& list = findings[key];
            for (const ColumnFinding& f : v.findings)
                list << Conformance::FindingKey(f.kind) + u' ' + f.subject +
                            (f.replacement.isEmpty() ? QString() : QStringLiteral(" > ") + f.replacement);
            standards[key] = v.standard;
        });
    connection.OnRepositoryDisconnected();
    return built;
}

} // namespace

TEST_F(ColumnDiagnosis, EveryColumnGetsItsOwnFindings)
{
    ModelSource::AttributeList model;
    QString error;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, model, error))
        << error.toStdString();
    Findings findings;
    std::map<QString, ColumnStandard> standards;
    ConformanceReport report;
    ASSERT_TRUE(Judge(model, repo.Uri(), QStringLiteral("shop"), findings, standards, report, error))
        << error.toStdString();

    const Findings expected = {
        {U("shop.TB_CUST.CUST_NO"), {}},
        {U("shop.TB_CUST.CUST_NM"), {U("type_mismatch VARCHAR(50) > 명V100 (VARCHAR(100))")}},
        // A term's synonym: the term to use, and its abbreviation.
        {U("shop.TB_CUST.CUST_NAME"),
         {U("non_standard_term 고객이름 > 고객명"), U("physical_name CUST_NAME > CUST_NM")}},
        // Numbers stay with their columns, in the logical and the physical name. (The term's
        // domain 번호V99 is not in the fixture edition: its words find 번호V20.)
        {U("shop.TB_CUST.CUST_TELNO1"), {U("physical_name CUST_TELNO1 > CUST_TEL_NO1")}},
        {U("shop.TB_CUST.CUST_TEL_NO2"), {}},
        {U("shop.TB_CUST.CUST_NM1"), {}},
        {U("shop.TB_CUST.NM2"), {U("physical_name NM2 > CUST_NM2")}},
        // A code list alone and a sentence give no name: listed, never split into words.
        {U("shop.TB_CUST.USE_YN"), {U("no_logical_name Y : 사용, N : 미사용")}},
        {U("shop.TB_CUST.NOTE"), {U("no_logical_name 고객 메모를 저장한다")}},
        // Judged by its own type: 번호V20 does not fit BIGINT, though the name conforms.
        {U("shop.TB_ORD.ORD_NO"), {U("no_domain 번호")}},
        {U("shop.TB_ORD.CUST_NO"), {}},
        {U("shop.TB_ORD.ORD_AMT"), {}},
        {U("shop.TB_ORD.ORD_NUM"), {U("forbidden_word 넘버 > 번호"), U("physical_name ORD_NUM > ORD_NO")}},
        {U("shop.TB_ORD.ORD_ADDR"), {U("unknown_word 주소"), U("no_domain 주소")}},
        {U("shop.TB_ORD.ORD_PRDT"), {U("not_class_word 상품"), U("no_domain 상품")}},
        // The name is the head of the comment; the code list after it is its description.
        {U("shop.TB_ORD.ORD_CD"), {}},
        {U("shop.TB_ORD.ORD_YMD"), {U("type_mismatch TIMESTAMP > 연월일C8 (CHAR(8))")}},
    };
    EXPECT_EQ(findings, expected);

    EXPECT_EQ(report.columns, 17);
    EXPECT_EQ(report.tables, 2);
    EXPECT_EQ(report.withLogicalName, 15);
    EXPECT_EQ(report.logicalConforming, 11);
    EXPECT_EQ(report.physicalConforming, 10);
    EXPECT_EQ(report.typeConforming, 10);
    EXPECT_EQ(report.conforming, 6);
    EXPECT_DOUBLE_EQ(report.Rate(), 35.3);

    // What the fix script gets: the standard with the column's number, the description kept.
    const ColumnStandard& nm2 = standards[U("shop.TB_CUST.NM2")];
    EXPECT_EQ(nm2.logicalName, U("고객명2"));
    EXPECT_EQ(nm2.standardName, U("고객명2"));
    EXPECT_EQ(nm2.standardColumn, QStringLiteral("CUST_NM2"));
    EXPECT_EQ(standards[U("shop.TB_CUST.CUST_NM")].description, U(". 실명 확인된 이름"));
    EXPECT_EQ(standards[U("shop.TB_CUST.CUST_NM")].typeNote, U("VARCHAR(50), 도메인 명V100 (VARCHAR(100))"));
    EXPECT_EQ(standards[U("shop.TB_CUST.CUST_NAME")].standardName, U("고객명"));
    EXPECT_EQ(standards[U("shop.TB_ORD.ORD_CD")].description, U(", A : 접수, B : 완료"));
    EXPECT_TRUE(standards[U("shop.TB_ORD.ORD_ADDR")].standardColumn.isEmpty()); // a word unknown: no standard

    // The entries wait on disk; the streamed JSON is the document's own text, plan included.
    report.planHeader = FixScript::PlanHeader();
    report.plan = {{QStringLiteral("shop"), QStringLiteral("tb_cust"), QStringLiteral("nm2"),
                    QStringLiteral("cust_nm2"), U("고객명2"), QString(), FixScript::kChangeRename, U("표준 용어")}};
    const QString json = dir.file(QStringLiteral("streamed.json"));
    ASSERT_TRUE(Conformance::WriteJson(report, json, &error)) << error.toStdString();
    const QByteArray whole = QJsonDocument(Conformance::ToJson(report)).toJson(QJsonDocument::Indented);
    EXPECT_EQ(ReadTextFile(json), QString::fromUtf8(whole));
    // Each entry read back with the count of its subject.
    EXPECT_TRUE(whole.contains("\"count\": 1") && !whole.contains("\"count\": 0"));
}

// A word registered between two diagnoses is known to the second: the areas the analysis keeps
// while one model is judged are not kept beyond it.
TEST_F(ColumnDiagnosis, AWordRegisteredSinceTheLastDiagnosisIsKnown)
{
    ModelSource::AttributeList model;
    QString error;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, model, error));
    Findings before, after;
    std::map<QString, ColumnStandard> standards;
    ConformanceReport report;
    ASSERT_TRUE(Judge(model, repo.Uri(), QStringLiteral("shop"), before, standards, report, error));
    ASSERT_EQ(before[U("shop.TB_ORD.ORD_ADDR")].first(), U("unknown_word 주소"));
    ASSERT_TRUE(CRepositoryConnection::Instance().Open(repo.Uri(), &error)) << error.toStdString();
    ASSERT_TRUE(CRepositoryConnection::Instance()
                    .Database()
                    ->Execute(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, "
                                             "DIC_LOG_NM, DIC_PHY_NM, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) VALUES "
                                             "('PUB', 'PUB-ADDR', '99991231235959', '20240101000000', ?, 'ADDR', "
                                             "'Y', 'Y', '0001')"),
                              {SqlParam::Text(U("주소"))})
                    .ok);
    ASSERT_TRUE(Judge(model, repo.Uri(), QStringLiteral("shop"), after, standards, report, error));
    EXPECT_TRUE(after[U("shop.TB_ORD.ORD_ADDR")].filter(QStringLiteral("unknown_word")).isEmpty())
        << after[U("shop.TB_ORD.ORD_ADDR")].join(u'|').toStdString();
}

TEST_F(ColumnDiagnosis, CommandLineSaysWhereColumnsFail)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(
        CheckCommand::Run({QStringLiteral("--input"), script, QStringLiteral("--dialect"), QStringLiteral("postgresql"),
                           QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"), QStringLiteral("PUB"),
                           QStringLiteral("--output"), dir.file(QStringLiteral("report.xlsx"))},
                          o, e),
        0)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("columns: 17 in 2 tables, without logical name: 2\n"
                                              "with logical name: 15 (11 distinct names)\n"
                                              "logical name conforming: 11\n"
                                              "physical name conforming: 10\n"
                                              "type conforming: 10\n"
                                              "conforming: 6\n"
                                              "rate: 35.3 %\n")))
        << out.toStdString();
    // The top never ranks a column without a name.
    EXPECT_FALSE(out.section(QStringLiteral("top findings:"), 1).contains(U("논리명 없음"))) << out.toStdString();
    // Subjects and their replacements are read back from the findings' files.
    EXPECT_TRUE(out.contains(U("  금칙어 사용 넘버 -> 번호: 1 column\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(U("  비표준 용어 고객이름 -> 고객명: 1 column\n"))) << out.toStdString();
    const std::vector<QStringList> sheet = SheetRows(dir.file(QStringLiteral("report.xlsx")), U("물리명 불일치"));
    ASSERT_EQ(sheet.size(), 5u);
    EXPECT_EQ(sheet[1], (QStringList{U("shop.TB_CUST"), QStringLiteral("CUST_NAME"), U("고객이름"),
                                     QStringLiteral("VARCHAR(100)"), QStringLiteral("CUST_NAME"),
                                     QStringLiteral("CUST_NM"), QStringLiteral("1")}));
}

// The command line's --fix-script and the window's "스크립트" (the hook) write one script, fed
// by the judge: a term synonym renamed to its term's abbreviation with its description kept, a
// number kept, a key left alone.
TEST_F(ColumnDiagnosis, CommandLineAndWindowWriteTheSameFixScript)
{
    WriteTextFile(script, U("CREATE TABLE shop.tb_a (\n"
                            "  cust_number varchar(20) PRIMARY KEY,\n"
                            "  cust_name varchar(100),\n"
                            "  nm2 varchar(100),\n"
                            "  ord_num varchar(20)\n"
                            ");\n"
                            "COMMENT ON COLUMN shop.tb_a.cust_number IS '고객번호';\n"
                            "COMMENT ON COLUMN shop.tb_a.cust_name IS '고객이름. 실명 확인된 이름';\n"
                            "COMMENT ON COLUMN shop.tb_a.nm2 IS '고객명2';\n"
                            "COMMENT ON COLUMN shop.tb_a.ord_num IS '주문넘버';\n"
                            // what the script drops again is no column of the model, by either road
                            "CREATE TABLE shop.tb_gone (cust_name varchar(100));\n"
                            "DROP TABLE shop.tb_gone;\n"
                            "ALTER TABLE shop.tb_a ADD COLUMN cust_nm varchar(10);\n"
                            "ALTER TABLE shop.tb_a DROP COLUMN cust_nm;\n"));
    const QString fromCommand = dir.file(QStringLiteral("command.sql"));
    const QString fromWindow = dir.file(QStringLiteral("window.sql"));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(CheckCommand::Run({QStringLiteral("--input"), script, QStringLiteral("--dialect"),
                                 QStringLiteral("postgresql"), QStringLiteral("--repo"), repo.Uri(),
                                 QStringLiteral("--area"), QStringLiteral("PUB"), QStringLiteral("--output"),
                                 dir.file(QStringLiteral("report.json")), QStringLiteral("--fix-script"), fromCommand},
                                o, e),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("fix script: 2 renames, 1 comments, 1 left out, 0 type notes\n")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("columns: 4 in 1 tables"))) << out.toStdString();

    ModelSource::AttributeList model;
    QString error;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, model, error));
    CTermAnalysis analysis;
    analysis.SetAreaId(QStringLiteral("PUB"));
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    ASSERT_TRUE(connection.Open(repo.Uri(), &error)) << error.toStdString();
    connection.OnRepositoryConnected();
    FixScriptHook::Counts counts;
    const bool written = Diagnosis::WriteFixScript(
        {fromWindow, &analysis, &model, ModelSource::Dialect::PostgreSql, nullptr, false, {}}, counts, error);
    connection.OnRepositoryDisconnected();
    ASSERT_TRUE(written) << error.toStdString();
    EXPECT_EQ(counts.renames, 2);

    const QString text = ReadTextFile(fromCommand);
    EXPECT_EQ(ReadTextFile(fromWindow), text);
    for (const QString& line : {U("ALTER TABLE \"shop\".\"tb_a\" RENAME COLUMN \"cust_name\" TO \"cust_nm\";\n"),
                                U("COMMENT ON COLUMN \"shop\".\"tb_a\".\"cust_nm\" IS '고객명. 실명 확인된 이름';\n"),
                                U("ALTER TABLE \"shop\".\"tb_a\" RENAME COLUMN \"nm2\" TO \"cust_nm2\";\n"),
                                U("-- 키 유지: shop.tb_a.cust_number: 기본키이므로")})
        EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("ord_num\" TO"))) << text.toStdString(); // a forbidden word: no standard
}

// The window's 취소 stops a diagnosis between batches: no report, no fix script left behind.
TEST_F(ColumnDiagnosis, CancelledFromItsProgressLeavesNoScript)
{
    struct Cancelling : CSilentProgress
    {
        bool IsCanceling() override { return true; }
    };
    ModelSource::AttributeList model;
    QString error;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, model, error));
    CQrProgressWnd::SetBackend(std::make_unique<Cancelling>());
    const auto restore = qScopeGuard([] { CQrProgressWnd::SetBackend(nullptr); });
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    ASSERT_TRUE(connection.Open(repo.Uri(), &error)) << error.toStdString();
    connection.OnRepositoryConnected();
    const QString path = dir.file(QStringLiteral("fix.sql"));
    ModelColumns columns(model);
    ConformanceReport report;
    Diagnosis::ScriptOutcome outcome;
    const bool built = Diagnosis::BuildWithScript(QStringLiteral("PUB"), columns, report, error,
                                                  {path, FixScript::Options(), {}, {}}, outcome);
    connection.OnRepositoryDisconnected();
    EXPECT_FALSE(built);
    EXPECT_EQ(error, Diagnosis::kCancelled);
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(QFileInfo::exists(path));
}

// Batches of three columns on two threads, with a name table that starts afresh every batch and
// new names shared by a third: the report, the script and the summary are the one thread's.
TEST_F(ColumnDiagnosis, TwoThreadsAndSmallBatchesGiveTheOneThreadsOutput)
{
    const Diagnosis::Pipeline program = Diagnosis::GetPipeline();
    const auto restore = qScopeGuard([&] { Diagnosis::SetPipeline(program); });
    const auto check = [&](const Diagnosis::Pipeline& pipeline, const QString& name, QString& out) {
        Diagnosis::SetPipeline(pipeline);
        QString err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(CheckCommand::Run({QStringLiteral("--input"), script, QStringLiteral("--dialect"),
                                     QStringLiteral("postgresql"), QStringLiteral("--repo"), repo.Uri(),
                                     QStringLiteral("--area"), QStringLiteral("PUB"), QStringLiteral("--output"),
                                     dir.file(name + QStringLiteral(".json")), QStringLiteral("--fix-script"),
                                     dir.file(name + QStringLiteral(".sql"))},
                                    o, e),
                  0)
            << err.toStdString();
    };
    QString one, two;
    check({20000, 200000, false, SIZE_MAX}, QStringLiteral("one"), one);
    check({3, 4, true, 2}, QStringLiteral("two"), two);
    EXPECT_EQ(two, one);
    EXPECT_TRUE(one.contains(QStringLiteral("conforming: 6\n"))) << one.toStdString();
    for (const char* suffix : {".json", ".sql"})
        EXPECT_EQ(ReadTextFile(dir.file(QStringLiteral("two") + QLatin1String(suffix))),
                  ReadTextFile(dir.file(QStringLiteral("one") + QLatin1String(suffix))))
            << suffix;
}

// Batches of three on two threads: a sink that fails on the deciding thread ends the run with
// its exception in the caller, and a cancel between batches drops those not yet decided.
TEST_F(ColumnDiagnosis, AFailureOrACancelOnTheDecidingThreadEndsTheRun)
{
    const Diagnosis::Pipeline program = Diagnosis::GetPipeline();
    const auto restore = qScopeGuard([&] {
        Diagnosis::SetPipeline(program);
        CQrProgressWnd::SetBackend(nullptr);
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
    });
    Diagnosis::SetPipeline({3, 4, true, 2});
    ModelSource::AttributeList model;
    QString error;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, model, error));
    ASSERT_EQ(model.Columns(), 17);
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    ASSERT_TRUE(connection.Open(repo.Uri(), &error)) << error.toStdString();
    connection.OnRepositoryConnected();
    std::atomic<int> sunk{0};
    ConformanceReport report;
    {
        ModelColumns columns(model);
        EXPECT_THROW(Diagnosis::BuildForConnectedArea(QStringLiteral("PUB"), columns, report, error,
                                                      [&](const DiagnosisColumn&, const ColumnVerdict&) {
                                                          if (++sunk == 5)
                                                              throw std::runtime_error("sink");
                                                      }),
                     std::runtime_error);
    }
    // Cancelled once a column is decided: at most the batches read by then are decided.
    struct CancelOnceDecided : CSilentProgress
    {
        explicit CancelOnceDecided(const std::atomic<int>& sunk) : sunk(sunk) {}
        bool IsCanceling() override { return sunk > 0; }
        const std::atomic<int>& sunk;
    };
    sunk = 0;
    CQrProgressWnd::SetBackend(std::make_unique<CancelOnceDecided>(sunk));
    ModelColumns columns(model);
    EXPECT_FALSE(Diagnosis::BuildForConnectedArea(QStringLiteral("PUB"), columns, report, error,
                                                  [&](const DiagnosisColumn&, const ColumnVerdict&) { ++sunk; }));
    EXPECT_EQ(error, Diagnosis::kCancelled);
    EXPECT_GT(sunk, 0);
    EXPECT_LE(sunk, 12); // four batches of the six
}

// The judge reads a name's words from its memo; they must be the words the term analysis gives,
// the first time a word is met and every time after, for found, unknown, synonym and compound.
TEST_F(ColumnDiagnosis, TheJudgesWordsAreTheTermAnalysisWords)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    QString error;
    ASSERT_TRUE(connection.Open(repo.Uri(), &error)) << error.toStdString();
    connection.OnRepositoryConnected();
    const auto disconnect = qScopeGuard([&] { connection.OnRepositoryDisconnected(); });
    const TermNameWords names(QStringLiteral("PUB"));
    WordMemo memo;
    const auto text = [](const TermWordResult& w) {
        return QStringList{w.word,
                           QString::number(w.found),
                           QString::number(w.standard),
                           w.id,
                           w.standardName,
                           w.physicalName,
                           w.domainClass,
                           QString::number(w.CountsAsClassWord())}
            .join(u'|');
    };
    int registered = 0, unknown = 0, nonStandard = 0;
    for (int round = 0; round < 2; ++round) {
        // With type suffixes, separators and numbers, which the split by views handles itself.
        for (const char* name : {"고객번호", "고객전화번호", "주문넘버", "주문 코드", "고객ID", "고객id", "뷁뷁명",
                                 "주문금액", "고객메모", "뷁뷁V10", "주문금액N15", "주문_상품", "고객번호2", "_"}) {
            TermTargetResult analysed, compound;
            names.Analyse(U(name), analysed);
            std::vector<const TermWordResult*> words;
            EXPECT_EQ(names.Words(U(name), memo, words, compound), analysed.registered) << name;
            QStringList expected, got;
            for (const TermWordResult& w : analysed.words)
                expected << text(w);
            for (const TermWordResult* w : words) {
                got << text(*w);
                unknown += w->found ? 0 : 1;
                nonStandard += w->found && !w->standard ? 1 : 0;
            }
            registered += analysed.registered ? 1 : 0;
            EXPECT_EQ(got, expected) << name << " round " << round;
        }
    }
    // The names cover each way a word comes.
    EXPECT_GT(registered, 0);
    EXPECT_GT(unknown, 0);
    EXPECT_GT(nonStandard, 0);
}

// The one rule of every type verdict.
TEST(TypeRule, IntegersAndFractionalSeconds)
{
    using D = ConformanceAreaFacts::Domain;
    const D n10{{}, {}, U("일련번호N10"), QStringLiteral("NUMERIC"), QStringLiteral("10"), {}};
    const D n4{{}, {}, U("수N4"), QStringLiteral("NUMERIC"), QStringLiteral("4"), {}};
    const D n42{{}, {}, U("수N4,2"), QStringLiteral("NUMERIC"), QStringLiteral("4"), QStringLiteral("2")};
    const D dt{{}, {}, U("연월일시분초D"), QStringLiteral("DATETIME"), {}, {}};
    const D v20{{}, {}, U("번호V20"), QStringLiteral("VARCHAR"), QStringLiteral("20"), {}};
    struct Case
    {
        const D& domain;
        const char *type, *length, *scale;
        bool fits;
    } const cases[] = {
        {n10, "BIGINT", "", "", true},     {n10, "INTEGER", "", "", false}, // 10 digits pass 2^31
        {n4, "SMALLINT", "", "", true},    {n4, "INTEGER", "", "", true},
        {n42, "BIGINT", "", "", false},    {n10, "NUMERIC", "10", "", true},
        {n10, "NUMERIC", "10", "0", true}, {n10, "NUMERIC", "12", "", false},
        {dt, "DATETIME", "6", "", true},   {dt, "DATETIME", "", "", true},
        {dt, "TIMESTAMP", "3", "", true},  {dt, "DATE", "", "", false},
        {v20, "VARCHAR", "20", "", true},  {v20, "VARCHAR", "", "", false},
        {v20, "varchar", "020", "", true}, {v20, "CHAR", "20", "", false},
        {dt, "TIMESTAMPTZ", "", "", true}, {dt, "TIMESTAMP WITH TIME ZONE", "6", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Conformance::TypeFits(c.domain, QString::fromLatin1(c.type), QString::fromLatin1(c.length),
                                        QString::fromLatin1(c.scale)),
                  c.fits)
            << c.domain.name.toStdString() << ' ' << c.type << '(' << c.length << ',' << c.scale << ')';
}

// Names at the head of real comments; what follows is kept for a rewrite.
TEST(CommentName, HeadOfTheComment)
{
    struct Case
    {
        const char *comment, *name, *description;
    } const cases[] = {
        {"화면표시 여부, Y : 표시, N : 비표시", "화면표시 여부", ", Y : 표시, N : 비표시"},
        {"사용자 상태. 0:사용중, 1:잠금", "사용자 상태", ". 0:사용중, 1:잠금"},
        {"데이터 그룹 고유번호(중복)", "데이터 그룹 고유번호", "(중복)"},
        {"상품_명\n상품의 이름", "상품_명", "\n상품의 이름"},
        {"등록일시 - 최초 등록", "등록일시", " - 최초 등록"},
        {"설명1", "설명1", ""},
        {"Y/N 사용여부", "사용여부", ""},
        {"권한 ID", "권한 ID", ""},
        // Spaces of any kind and punctuation inside the name come out as single spaces.
        {"  고객  번호 ", "고객 번호", ""},
        {"고객\t번호\u3000명", "고객 번호 명", ""},
        {"고객/번호", "고객 번호", ""},
        {"Y : 사용, N : 미사용", "", ": 사용, N : 미사용"},
        {"(코드) 1:정상", "", "(코드) 1:정상"},
        {"고객 메모를 저장한다", "", ""},
        {"사용 여부를 나타낸다.", "", "."},
        {"값을 받는다", "", ""},
        {"1. 접수 2. 완료", "", ". 접수 2. 완료"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ModelSource::CommentParts parts = ModelSource::SplitComment(U(c.comment));
        EXPECT_EQ(parts.name, U(c.name)) << c.comment;
        EXPECT_EQ(parts.description, U(c.description)) << c.comment;
    }
}

// The same model on MariaDB: comments inline, the foreign key as a table constraint (MariaDB
// ignores REFERENCES on a column).
const char* const kMariaScript = R"(
CREATE TABLE shop.tb_cust (
  cust_no varchar(20) PRIMARY KEY COMMENT '고객번호',
  cust_nm varchar(50) COMMENT '고객명. 실명 확인된 이름',
  cust_name varchar(100) COMMENT '고객이름',
  cust_telno1 varchar(20) COMMENT '고객전화번호1',
  cust_tel_no2 varchar(20) COMMENT '고객전화번호2 (휴대폰)',
  cust_nm1 varchar(100) COMMENT '고객명1',
  nm2 varchar(100) COMMENT '고객명2',
  use_yn char(1) COMMENT 'Y : 사용, N : 미사용',
  note varchar(100) COMMENT '고객 메모를 저장한다'
);
CREATE TABLE shop.tb_ord (
  ord_no bigint PRIMARY KEY COMMENT '주문번호',
  cust_no varchar(20) COMMENT '고객번호',
  ord_amt numeric(15) COMMENT '주문금액',
  ord_num varchar(20) COMMENT '주문넘버',
  ord_addr varchar(200) COMMENT '주문주소',
  ord_prdt varchar(10) COMMENT '주문상품',
  ord_cd char(3) COMMENT '주문 코드, A : 접수, B : 완료',
  ord_ymd timestamp NULL COMMENT '주문일자',
  FOREIGN KEY (cust_no) REFERENCES shop.tb_cust (cust_no)
);
)";

// The model on a live server, read from its catalog: the script's findings, column by column;
// a table an extension owns is not the model's. Then the fix script, run by the server's own
// client, renames what it plans and nothing else, and a second check finds those names right.
class ColumnsOnServer : public ColumnDiagnosis, public ::testing::WithParamInterface<LiveServer>
{
protected:
    void SetUp() override
    {
        TAKE_LIVE_SERVER_URI(uri, GetParam());
        ColumnDiagnosis::SetUp();
        postgres = QString::fromLatin1(GetParam().name) == u"postgresql";
        QString error;
        ASSERT_TRUE(CatalogReader::ParseUri(uri, server, error)) << error.toStdString();
        db = AddLiveDatabase(server, postgres, QStringLiteral("diag-live"));
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        schema = QStringLiteral("termwise_d") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        if (!postgres)
            Exec(QStringLiteral("SET NAMES utf8mb4"));
        Exec(QString::fromLatin1(postgres ? "CREATE SCHEMA %1" : "CREATE DATABASE %1 CHARACTER SET utf8mb4")
                 .arg(schema));
        for (const QString& statement :
             U(postgres ? kScript : kMariaScript).replace(QStringLiteral("shop."), schema + u'.').split(u';'))
            if (!statement.trimmed().isEmpty())
                Exec(statement);
        if (postgres) {
            Exec(QStringLiteral("CREATE TABLE %1.ext_owned (srid int, auth_name varchar(256))").arg(schema));
            Exec(QStringLiteral("ALTER EXTENSION plpgsql ADD TABLE %1.ext_owned").arg(schema));
        }
    }
    void TearDown() override
    {
        if (db.isOpen()) {
            QSqlQuery q(db);
            if (postgres)
                q.exec(QStringLiteral("ALTER EXTENSION plpgsql DROP TABLE %1.ext_owned").arg(schema));
            q.exec(QString::fromLatin1(postgres ? "DROP SCHEMA %1 CASCADE" : "DROP DATABASE %1").arg(schema));
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("diag-live"));
    }
    void Exec(const QString& sql)
    {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }
    QString Comment(const QString& table, const QString& column)
    {
        QSqlQuery q(db);
        q.exec(QString::fromLatin1(postgres ? "SELECT col_description('%1.%2'::regclass, ordinal_position) FROM "
                                              "information_schema.columns WHERE table_schema = '%1' AND table_name "
                                              "= '%2' AND column_name = '%3'"
                                            : "SELECT column_comment FROM information_schema.columns WHERE "
                                              "table_schema = '%1' AND table_name = '%2' AND column_name = '%3'")
                   .arg(schema, table, column));
        return q.next() ? q.value(0).toString() : QStringLiteral("(no column)");
    }
    bool JudgeCatalog(Findings& findings, ConformanceReport& report, QString& error)
    {
        ModelSource::AttributeList model;
        std::map<QString, ColumnStandard> standards;
        return ModelInput::Read({{uri}, {schema}, {}, ModelSource::Dialect::Unknown}, model, error) &&
               Judge(model, repo.Uri(), schema, findings, standards, report, error);
    }

    QString uri, schema;
    RepositoryUri server;
    QSqlDatabase db;
    bool postgres = false;
};

TEST_P(ColumnsOnServer, CatalogGivesTheScriptsFindingsAndTheFixScriptMakesThemConform)
{
    QString error;
    ModelSource::AttributeList fromScript;
    ASSERT_TRUE(ModelInput::Read({{script}, {}, {}, ModelSource::Dialect::PostgreSql}, fromScript, error));
    Findings a, b;
    std::map<QString, ColumnStandard> sa;
    ConformanceReport ra, rb;
    ASSERT_TRUE(Judge(fromScript, repo.Uri(), QStringLiteral("shop"), a, sa, ra, error)) << error.toStdString();
    ASSERT_TRUE(JudgeCatalog(b, rb, error)) << error.toStdString();
    EXPECT_EQ(b, a);
    EXPECT_EQ(rb.columns, 17);
    EXPECT_EQ(rb.conforming, ra.conforming);
    EXPECT_EQ(rb.physicalConforming, ra.physicalConforming);

    const QString fix = dir.file(QStringLiteral("fix.sql")), report = dir.file(QStringLiteral("report.json"));
    QString out, err;
    QTextStream o(&out), e(&err);
    const auto check = [&](const QString& inSchema) {
        return CheckCommand::Run({QStringLiteral("--input"), uri, QStringLiteral("--schema"), inSchema,
                                  QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"), QStringLiteral("PUB"),
                                  QStringLiteral("--output"), report, QStringLiteral("--fix-script"), fix},
                                 o, e);
    };
    // An unknown schema is said before anything is judged or written.
    ASSERT_EQ(check(schema + QStringLiteral("x")), 1);
    EXPECT_TRUE(err.contains(schema + QStringLiteral("x"))) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fix));
    {
        // The command line streams the catalog: in chunks of three columns, the same figures.
        const Diagnosis::Pipeline program = Diagnosis::GetPipeline();
        const auto restore = qScopeGuard([&] { Diagnosis::SetPipeline(program); });
        Diagnosis::SetPipeline({3, 4, true, 2});
        ASSERT_EQ(check(schema), 0) << err.toStdString();
    }
    const QJsonDocument figures = QJsonDocument::fromJson(ReadTextFile(report).toUtf8());
    EXPECT_EQ(figures[U("columns")].toInt(), rb.columns);
    EXPECT_EQ(figures[U("tables")].toInt(), rb.tables);
    EXPECT_EQ(figures[U("conforming")].toInt(), rb.conforming);
    EXPECT_EQ(figures[U("physicalConforming")].toInt(), rb.physicalConforming);
    QString output;
    ASSERT_EQ(RunWithClient(server, uri, postgres, fix, output), 0) << output.toStdString();

    // Renamed as planned, numbers kept; keys and clashing names left as they were.
    QStringList renames;
    for (const QJsonValue& row : QJsonDocument::fromJson(ReadTextFile(report).toUtf8())[U("plan")].toArray())
        if (row[U("보정")].toString() == U("컬럼명 변경"))
            renames << (row[U("컬럼명")].toString() + QStringLiteral("->") + row[U("새 컬럼명")].toString()).toLower();
    renames.sort();
    EXPECT_EQ(renames, (QStringList{QStringLiteral("cust_telno1->cust_tel_no1"), QStringLiteral("nm2->cust_nm2")}));
    Findings c;
    ConformanceReport rc;
    ASSERT_TRUE(JudgeCatalog(c, rc, error)) << error.toStdString();
    EXPECT_EQ(rc.physicalConforming, rb.physicalConforming + 2);
    for (const char* renamed : {"shop.TB_CUST.CUST_TEL_NO1", "shop.TB_CUST.CUST_NM2"}) {
        ASSERT_TRUE(c.count(U(renamed))) << renamed;
        EXPECT_TRUE(c[U(renamed)].filter(QStringLiteral("physical_name")).isEmpty()) << renamed;
    }
    EXPECT_TRUE(c.count(U("shop.TB_CUST.CUST_NO")) && c.count(U("shop.TB_ORD.ORD_NO")));
    // Comments keep their numbers and the description after the name.
    EXPECT_EQ(Comment(QStringLiteral("tb_cust"), QStringLiteral("cust_tel_no1")), U("고객전화번호1"));
    EXPECT_EQ(Comment(QStringLiteral("tb_cust"), QStringLiteral("cust_nm")), U("고객명. 실명 확인된 이름"));
    EXPECT_TRUE(Comment(QStringLiteral("tb_ord"), QStringLiteral("ord_cd")).endsWith(U(", A : 접수, B : 완료")));
}

INSTANTIATE_TEST_SUITE_P(Servers, ColumnsOnServer,
                         ::testing::Values(LiveServer{"postgresql", "TERMWISE_TEST_PG"},
                                           LiveServer{"mariadb", "TERMWISE_TEST_MYSQL"}),
                         [](const ::testing::TestParamInfo<LiveServer>& info) { return info.param.name; });

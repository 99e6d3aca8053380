// `termwise check`: a model whose every finding is known, checked against the area loaded from
// the fixture edition; the report read back cell by cell, and its JSON.
#include "standard/ConformanceCheck.h"
#include "components/ExcelWriteHelper.h"
#include "components/QrExcelSheet.h"
#include "diagnosis/CheckCommand.h"
#include "repository/RepoTestDb.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "standard/StandardTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextStream>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

class ConformanceCheck : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        QString out, err;
        QTextStream o(&out), e(&err);
        ASSERT_EQ(StandardCommand::Run(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                                   QStringLiteral("--area"), QStringLiteral("PUB"),
                                                   QStringLiteral("--area-name"), U("공통표준")} +
                                           StandardCsvFixtures(),
                                       o, e),
                  0)
            << err.toStdString();
        // One column per finding kind, and conforming ones of both sorts.
        model = dir.file(QStringLiteral("model.xlsx"));
        ASSERT_TRUE(SaveSheetXlsx(model, {{U("속성명"), U("컬럼명"), U("데이터타입")},
                                          {U("고객번호"), QStringLiteral("CUST_NO"), QStringLiteral("VARCHAR(20)")},
                                          {U("고객명"), QStringLiteral("CUST_NM"), QStringLiteral("VARCHAR(50)")},
                                          {U("상품명"), QStringLiteral("PRDT_NM"), QStringLiteral("VARCHAR(100)")},
                                          {U("상품이름"), QStringLiteral("PRDT_NAME"), QStringLiteral("VARCHAR(100)")},
                                          {U("주문넘버"), QStringLiteral("ORD_NUM"), QStringLiteral("VARCHAR(20)")},
                                          {U("고객주소"), QStringLiteral("CUST_ADDR"), QStringLiteral("VARCHAR(200)")},
                                          {U("주문상품"), QStringLiteral("ORD_PRDT"), QStringLiteral("VARCHAR(10)")},
                                          {U("주문금액"), QStringLiteral("ORD_AMT"), QStringLiteral("NUMERIC(15)")}}));
    }
    int Check(const QString& output, QString* out = nullptr)
    {
        QString o, e;
        QTextStream os(&o), es(&e);
        const int status = CheckCommand::Run(
            {QStringLiteral("--input"), model, QStringLiteral("--attr"), QStringLiteral("A"),
             QStringLiteral("--column"), QStringLiteral("B"), QStringLiteral("--type"), QStringLiteral("C"),
             QStringLiteral("--skip-first-row"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
             QStringLiteral("PUB"), QStringLiteral("--output"), output},
            os, es);
        EXPECT_TRUE(e.isEmpty() || status == 0) << e.toStdString();
        if (out)
            *out = o;
        return status;
    }
    TestRepository repo;
    TempDataDir dir;
    QString model;
};

} // namespace

TEST_P(ConformanceCheck, WorkbookReportHoldsEveryFigure)
{
    const QString report = dir.file(QStringLiteral("report.xlsx"));
    QString out;
    ASSERT_EQ(Check(report, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("conforming: 3\nrate: 37.5 %\n"))) << out.toStdString();

    // The third column says what each figure counts and how they relate.
    std::vector<QStringList> summary = SheetRows(report, U("요약"));
    ASSERT_EQ(summary.size(), 23u);
    EXPECT_EQ(summary[9].value(2), StandardTexts::kConformingMeaning);
    EXPECT_EQ(summary[10].value(2), StandardTexts::kRateMeaning);
    EXPECT_EQ(summary[18].value(2), StandardTexts::kFindingMeanings[eFindingNoDomain]);
    for (QStringList& row : summary)
        row = row.mid(0, 2);
    const std::vector<QStringList> expected = {
        {U("항목"), U("값")},
        {U("표준 분류체계"), U("공통표준 (PUB)")},
        {U("입력"), QStringLiteral("model.xlsx")},
        {U("테이블 수"), QStringLiteral("0")},
        {U("컬럼 수"), QStringLiteral("8")},
        {U("논리명 있는 컬럼 수"), QStringLiteral("8")},
        {U("논리명 준수 컬럼 수"), QStringLiteral("4")},
        {U("물리명 준수 컬럼 수"), QStringLiteral("5")},
        {U("데이터타입 준수 컬럼 수"), QStringLiteral("5")},
        {U("준수 컬럼 수"), QStringLiteral("3")},
        {U("준수율(%)"), QStringLiteral("37.5")},
        {U("논리명 종류 수"), QStringLiteral("8")},
        {},
        {U("위반 유형"), U("컬럼 수")},
        {U("미등록 단어"), QStringLiteral("1")},
        {U("비표준어 사용"), QStringLiteral("1")},
        {U("금칙어 사용"), QStringLiteral("1")},
        {U("분류어 아님"), QStringLiteral("1")},
        {U("도메인 없음"), QStringLiteral("2")},
        {U("데이터타입 불일치"), QStringLiteral("1")},
        {U("물리명 불일치"), QStringLiteral("2")},
        {U("비표준 용어"), QStringLiteral("0")},
        {U("논리명 없음"), QStringLiteral("0")},
    };
    EXPECT_EQ(summary, expected);

    const QStringList header = {U("테이블"),    U("컬럼명"),    U("속성명"), U("데이터타입"),
                                U("해당 내용"), U("표준 대체"), U("건수")};
    const auto row = [](const char* attribute, const char* column, const char* type, const char* subject,
                        const char* replacement) {
        return QStringList{QString(),  QString::fromUtf8(column),      U(attribute),       QString::fromUtf8(type),
                           U(subject), QString::fromUtf8(replacement), QStringLiteral("1")};
    };
    const std::map<QString, std::vector<QStringList>> sheets = {
        {U("미등록 단어"), {header, row("고객주소", "CUST_ADDR", "VARCHAR(200)", "주소", "")}},
        {U("비표준어 사용"), {header, row("상품이름", "PRDT_NAME", "VARCHAR(100)", "이름", "명")}},
        {U("금칙어 사용"), {header, row("주문넘버", "ORD_NUM", "VARCHAR(20)", "넘버", "번호")}},
        // 이름 and 넘버 stand for the class words 명 and 번호: listed once, as non-standard.
        {U("분류어 아님"), {header, row("주문상품", "ORD_PRDT", "VARCHAR(10)", "상품", "")}},
        {U("데이터타입 불일치"),
         {header, row("고객명", "CUST_NM", "VARCHAR(50)", "VARCHAR(50)", "명V100 (VARCHAR(100))")}},
        {U("물리명 불일치"),
         {header, row("상품이름", "PRDT_NAME", "VARCHAR(100)", "PRDT_NAME", "PRDT_NM"),
          row("주문넘버", "ORD_NUM", "VARCHAR(20)", "ORD_NUM", "ORD_NO")}},
    };
    for (const auto& [name, rows] : sheets)
        EXPECT_EQ(SheetRows(report, name), rows) << name.toStdString();
    // 상품이름 and 주문넘버 find 명V100 and 번호V20 through the standard words they stand for.
    EXPECT_EQ(SheetRows(report, U("도메인 없음")).size(), 3u);

    // The bar chart sits on the summary sheet.
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("xl/charts/chart1.xml"));
    EXPECT_TRUE(bytes.contains("xl/drawings/drawing1.xml"));
}

TEST_P(ConformanceCheck, JsonHoldsTheSameFigures)
{
    const QString report = dir.file(QStringLiteral("report.json"));
    ASSERT_EQ(Check(report), 0);
    const QJsonObject json = QJsonDocument::fromJson(ReadTextFile(report).toUtf8()).object();
    EXPECT_EQ(json[QStringLiteral("columns")].toInt(), 8);
    EXPECT_EQ(json[QStringLiteral("conforming")].toInt(), 3);
    EXPECT_DOUBLE_EQ(json[QStringLiteral("rate")].toDouble(), 37.5);
    QStringList figures;
    for (const QJsonValue& f : json[QStringLiteral("findings")].toArray())
        figures << QStringLiteral("%1=%2")
                       .arg(f[QStringLiteral("kind")].toString())
                       .arg(f[QStringLiteral("columns")].toInt());
    EXPECT_EQ(figures.join(u' '), QStringLiteral("unknown_word=1 non_standard_word=1 forbidden_word=1 not_class_word=1 "
                                                 "no_domain=2 type_mismatch=1 physical_name=2 non_standard_term=0 "
                                                 "no_logical_name=0"));
    const QJsonObject forbidden =
        json[QStringLiteral("findings")].toArray()[2].toObject()[QStringLiteral("entries")].toArray()[0].toObject();
    EXPECT_EQ(forbidden[QStringLiteral("subject")].toString(), U("넘버"));
    EXPECT_EQ(forbidden[QStringLiteral("replacement")].toString(), U("번호"));
    EXPECT_EQ(forbidden[QStringLiteral("column")].toString(), QStringLiteral("ORD_NUM"));
}

INSTANTIATE_TEST_SUITE_P(Dialects, ConformanceCheck, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// A long kind is read back a block ahead on a second thread: the entries in the order added,
// each with its subject's count, and a reader that stops early ends the reading.
TEST(ConformanceEntrySpill, LongKindsComeBackInOrderWithCountsAndStopEarly)
{
    constexpr int kEntries = 50000;
    ConformanceEntrySpill spill;
    for (int i = 0; i < kEntries; ++i)
        ASSERT_TRUE(spill.Add(0, {QStringLiteral("T%1").arg(i / 20), QStringLiteral("C%1").arg(i), U("이름"),
                                  QStringLiteral("VARCHAR(10)"), QStringLiteral("S%1").arg(i % 7), QString(), 0}));
    ASSERT_TRUE(
        spill.Add(1, {QStringLiteral("T"), QStringLiteral("C"), U("이름"), QString(), U("단어"), QString(), 0}));

    int seen = 0;
    bool inOrder = true, counted = true;
    EXPECT_TRUE(spill.ForEach(0, [&](const ConformanceEntry& e) {
        inOrder = inOrder && e.column == QStringLiteral("C%1").arg(seen);
        counted = counted && e.count == kEntries / 7 + (seen % 7 < kEntries % 7 ? 1 : 0);
        ++seen;
        return true;
    }));
    EXPECT_EQ(seen, kEntries);
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(counted);

    seen = 0;
    EXPECT_FALSE(spill.ForEach(0, [&](const ConformanceEntry&) { return ++seen < 30001; }));
    EXPECT_EQ(seen, 30001);
    const auto top = spill.Top(0, 2);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].text, QStringLiteral("S0"));
    EXPECT_EQ(top[1].text, QStringLiteral("S1"));
    seen = 0;
    EXPECT_TRUE(spill.ForEach(1, [&](const ConformanceEntry& e) { return ++seen, e.subject == U("단어"); }));
    EXPECT_EQ(seen, 1);
}

// A report too long to hold: its entries and plan rows come back from disk in blocks that two
// threads format, and the file is the tree writer's text, whatever a text holds or a row lacks.
TEST(ConformanceEntrySpill, ALongReportIsWrittenAsTheTreeWritesIt)
{
    constexpr int kEntries = 40000; // more than two blocks
    auto spill = std::make_shared<ConformanceEntrySpill>();
    auto plan = std::make_shared<ConformanceRowSpill>();
    for (int i = 0; i < kEntries; ++i) {
        ASSERT_TRUE(spill->Add(i % 3, {QStringLiteral("T%1").arg(i / 20), QStringLiteral("C\"%1\"").arg(i),
                                       i % 5 ? U("이름") : QString(), QStringLiteral("VARCHAR(10)\t"),
                                       QStringLiteral("S%1").arg(i % 11), i % 2 ? U("대체") : QString(), 0}));
        QStringList row = {QStringLiteral("s"), QStringLiteral("t%1").arg(i), U("설명\n%1").arg(i)};
        if (i % 4 == 0)
            row.removeLast(); // a row shorter than its header
        ASSERT_TRUE(plan->Add(row));
    }
    ConformanceReport report;
    report.areaId = QStringLiteral("PUB");
    report.spill = spill;
    report.planHeader = {QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")};
    report.planSpill = plan;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.json"));
    QString error;
    ASSERT_TRUE(Conformance::WriteJson(report, path, &error)) << error.toStdString();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QJsonDocument(Conformance::ToJson(report)).toJson(QJsonDocument::Indented));
}

// A disk that fills while the findings go out: the entries held in memory are refused when they
// are written, the spill says so before any report is written from it, and nothing reads back.
TEST(ConformanceEntrySpill, AFullDiskShowsBeforeTheReportsAreWritten)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit capped = old;
    capped.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &capped), 0);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &old); });
    ConformanceEntrySpill spill;
    ConformanceRowSpill plan;
    for (int i = 0; i < 2000; ++i) { // about 200 KB of each
        spill.Add(0, {QStringLiteral("T"), QStringLiteral("C%1").arg(i), U("고객 번호 설명"),
                      QStringLiteral("VARCHAR(10)"), U("알 수 없는 단어"), QString(), 0});
        plan.Add({QStringLiteral("T"), QStringLiteral("C%1").arg(i), U("컬럼명 변경 사유가 적힌 긴 칸")});
    }
    EXPECT_FALSE(spill.Flush());
    EXPECT_TRUE(spill.Failed());
    EXPECT_NE(spill.ErrorNumber(), 0);
    EXPECT_FALSE(spill.ForEach(0, [](const ConformanceEntry&) { return true; }));
    EXPECT_FALSE(plan.Flush());
    EXPECT_TRUE(plan.Failed());
}

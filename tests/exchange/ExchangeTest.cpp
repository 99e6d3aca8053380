// Excel export, Excel import and analysis requests.
#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "components/QrExcelSheet.h"
#include "exchange/AnalysisRequest.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"
#include "exchange/ExchangeTexts.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
const QString* P(const QString& s)
{
    return &s;
}

CAnalyzeSettings& Settings()
{
    static CAnalyzeSettings settings = [] {
        CAnalyzeSettings s;
        _stAnalyzeManageWord word;
        s.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), word);
        s.AddWord(QStringLiteral("NO"), QStringLiteral("번호"), word);
        s.AddWord(QStringLiteral("NM"), QStringLiteral("명"), word);
        s.seperator = QStringLiteral("_-");
        return s;
    }();
    return settings;
}

std::vector<QStringList> ReadBack(const QString& path)
{
    CQrExcelSheet sheet(true);
    EXPECT_TRUE(sheet.OpenFile(path, false)) << sheet.GetLastError().toStdString();
    std::vector<QStringList> rows;
    QStringList cells;
    for (int r = 0; r < sheet.GetRowCount(); ++r) {
        sheet.GetRowData(cells, r, -1);
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

TEST(ExcelExport, WordFormsWriteKeyOrderUnfiltered)
{
    QTemporaryDir dir;
    for (bool logical : {true, false}) {
        std::unique_ptr<WordAnalysis> engine;
        if (logical)
            engine = std::make_unique<LogicalWordAnalysis>(&Settings());
        else
            engine = std::make_unique<PhysicalWordAnalysis>(&Settings());
        const QString def = S("정의"), ref = S("참고");
        // Added out of key order; the export sorts by key.
        if (logical) {
            const QString col = S("CUST_NO");
            engine->AddSourceRow(S("주문"), nullptr, nullptr, nullptr);
            engine->AddSourceRow(S("고객번호"), P(col), P(def), P(ref));
        } else {
            const QString attr = S("고객번호");
            engine->AddSourceRow(S("ORD"), nullptr, nullptr, nullptr);
            engine->AddSourceRow(S("CUST_NO"), P(attr), P(def), P(ref));
        }
        engine->Analyze();
        engine->SetFilterText(QStringLiteral("nothing matches this"));
        engine->SetExcludeAnalyzed(true);

        const QString path = dir.filePath(logical ? QStringLiteral("l.xlsx") : QStringLiteral("p.xlsx"));
        QString error;
        // Streamed straight from the results; the same cells as the row list.
        ASSERT_TRUE(ExcelExport::Write(*engine, path, &error)) << error.toStdString();
        const std::vector<QStringList> rows = ReadBack(path);
        ASSERT_EQ(rows, ExcelExport::Rows(*engine));
        ASSERT_EQ(rows.size(), 3u);
        if (logical) {
            EXPECT_EQ(rows[0], QStringList({S("대상속성명"), S("대상컬럼명"), S("분석컬럼명"), S("분석단어"),
                                            S("대상속성참고"), S("대상속성정의")}));
            EXPECT_EQ(rows[1], QStringList({S("고객번호"), S("CUST_NO"), S("CUST_NO"), S("고객,번호"), ref, def}));
            EXPECT_EQ(rows[2][0], S("주문"));
        } else {
            EXPECT_EQ(rows[0], QStringList({S("대상컬럼명"), S("대상속성명"), S("분석속성명"), S("분석단어"),
                                            S("대상컬럼참고"), S("대상컬럼정의")}));
            // The proposed logical name loses its "_".
            EXPECT_EQ(rows[1], QStringList({S("CUST_NO"), S("고객번호"), S("고객번호"), S("CUST,NO"), ref, def}));
            EXPECT_EQ(rows[2][0], S("ORD"));
        }
    }
}

TEST(ExcelExport, DomainAndTermHeadersAndEmptyResults)
{
    QTemporaryDir dir;
    DomainAnalysis domain(&Settings());
    const QString path = dir.filePath(QStringLiteral("d.xlsx"));
    ASSERT_TRUE(ExcelExport::Write(ExcelExport::Rows(domain), path));
    const std::vector<QStringList> rows = ReadBack(path);
    ASSERT_EQ(rows.size(), 1u); // only the header
    EXPECT_EQ(rows[0], QStringList({S("속성명"), S("컬럼명"), S("데이터타입"), S("데이터길이"), S("데이터스케일"),
                                    S("키도메인"), S("도메인")}));

    const QString col = S("CUST_NM");
    domain.AddSourceRow(S("고객명"), S("VARCHAR2(100,0)"), nullptr, nullptr, P(col), nullptr);
    domain.Analyze();
    const std::vector<QStringList> filled = ExcelExport::Rows(domain);
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[1].mid(0, 5), QStringList({S("고객명"), col, S("VARCHAR2"), S("100"), S("0")}));
    ASSERT_TRUE(ExcelExport::Write(domain, path));
    EXPECT_EQ(ReadBack(path), filled);

    CTermAnalysis term;
    EXPECT_EQ(ExcelExport::Rows(term).front(), QStringList({S("속성명"), S("컬럼명"), S("분석단어"), S("도메인")}));

    QString error;
    EXPECT_FALSE(ExcelExport::Write(ExcelExport::Rows(domain), dir.filePath(QStringLiteral("no/such/x.xlsx")), &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(ExcelExport::Write(domain, dir.filePath(QStringLiteral("no/such/x.xlsx")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ExcelImport, SheetsRolesAndHeaders)
{
    QStringList headers = ExcelImport::ColumnHeaders(28);
    EXPECT_EQ(headers.first(), QStringLiteral("A"));
    EXPECT_EQ(headers[25], QStringLiteral("Z"));
    EXPECT_EQ(headers.mid(26), QStringList({QStringLiteral("AA"), QStringLiteral("AB")}));

    // Each form: distinct commands, one item per role, the required roles marked.
    using ExcelImport::Form;
    const std::map<Form, std::set<int>> required = {
        {Form::Logical, {WordAnalysis::RoleName}},
        {Form::Physical, {WordAnalysis::RoleName}},
        {Form::Domain, {DomainAnalysis::RoleAttribute, DomainAnalysis::RoleType}},
        {Form::Term, {CTermAnalysis::RoleAttribute, CTermAnalysis::RoleType}}};
    for (const auto& [form, roles] : required) {
        std::set<int> commands, seen, marked;
        for (const ExcelImport::RoleItem& item : ExcelImport::Roles(form)) {
            EXPECT_TRUE(commands.insert(item.assignCommand).second);
            EXPECT_TRUE(commands.insert(item.cancelCommand).second);
            EXPECT_EQ(item.cancelCommand, item.assignCommand + 1);
            EXPECT_TRUE(seen.insert(item.role).second);
            EXPECT_EQ(item.required, item.assignText.endsWith(S("(필수)")));
            if (item.required)
                marked.insert(item.role);
        }
        EXPECT_EQ(marked, roles);
        int items = 0;
        for (int role : ExcelImport::MenuOrder(form))
            items += role >= 0 && ExcelImport::FindRole(form, role) != nullptr;
        EXPECT_EQ(items, int(ExcelImport::Roles(form).size()));
    }
    EXPECT_EQ(ExcelImport::FindRole(Form::Logical, WordAnalysis::RoleOpposite)->assignCommand, 100);

    // A workbook becomes the source sheet; a bad file leaves the earlier sheet.
    LogicalWordAnalysis logical(&Settings());
    logical.Designations().Designate(WordAnalysis::RoleName, 0);
    ExcelImport::Outcome outcome = ExcelImport::Import(logical, TestDataPath(QStringLiteral("excel/fixture.xlsx")));
    ASSERT_TRUE(outcome.ok) << outcome.detail.toStdString();
    EXPECT_EQ(logical.Sheet().size(), 8);
    EXPECT_EQ(logical.Sheet()[1][0], S("고객번호"));
    EXPECT_EQ(logical.Designations().Column(WordAnalysis::RoleName), -1);

    logical.Designations().Designate(WordAnalysis::RoleName, 0);
    outcome = ExcelImport::Import(logical, TestDataPath(QStringLiteral("excel/damaged-iconv.xls")));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, ExchangeTexts::kInvalidWorkbook);
    EXPECT_EQ(logical.Sheet().size(), 8);
    EXPECT_EQ(logical.Designations().Column(WordAnalysis::RoleName), -1);

    // Without the required role the analysis refuses with the fixed message.
    const LogicalWordAnalysis::RunResult run = logical.Run();
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message, S("설정 되지 않은 필수 데이터 항목이 있습니다"));
}

TEST(AnalysisRequest, WordAndDomainRequests)
{
    LogicalWordAnalysis logical(&Settings());
    ASSERT_TRUE(AnalysisRequest::Apply(logical, S(R"({"termwise":[
        {"attributeName":"고객명","columnName":"CUST_NM","attributeDesc":"이름","attributeReference":""},
        {"attributeName":"고객명1","columnName":"CUST_NM","attributeDesc":"","attributeReference":"R"},
        {"columnName":"X"}, {"columnName":"Y","attributeName":7}, 5, "x"]})")));
    ASSERT_EQ(logical.Inputs().size(), 2);
    const WordAnalysisInput* entry = logical.Inputs().find(S("고객명"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->refCount, 2);
    EXPECT_EQ(entry->mapOpposites, (std::map<QString, int>{{S("CUST_NM"), 2}}));
    EXPECT_EQ(entry->mapDescriptions, (std::map<QString, int>{{S("이름"), 1}}));
    EXPECT_EQ(entry->mapReferences, (std::map<QString, int>{{S("R"), 1}}));
    // Elements without a name (or with a non-text one) share the empty key.
    EXPECT_EQ(logical.Inputs().find(QString())->refCount, 2);

    PhysicalWordAnalysis physical(&Settings());
    ASSERT_TRUE(
        AnalysisRequest::Apply(physical, S(R"({"termwise":[{"columnName":"CUST-NO","attributeName":"고객번호"}]})")));
    ASSERT_NE(physical.Inputs().find(S("CUST_NO")), nullptr); // separators become "_"
    EXPECT_EQ(physical.Inputs().find(S("CUST_NO"))->mapOpposites.at(S("고객번호")), 1);

    // Malformed JSON leaves the form as it was; a missing list empties it.
    EXPECT_FALSE(AnalysisRequest::Apply(physical, S(R"({"termwise":[)")));
    EXPECT_EQ(physical.Inputs().size(), 1);
    EXPECT_TRUE(AnalysisRequest::Apply(physical, S(R"({"termwise":{}})")));
    EXPECT_TRUE(physical.Inputs().empty());

    DomainAnalysis domain(&Settings());
    ASSERT_TRUE(AnalysisRequest::Apply(domain, S(R"({"termwise":[
        {"attributeName":"고객명","attributeDataType":"VARCHAR2","attributeDataLength":"10","columnName":"A"},
        {"attributeName":"고객명","attributeDataType":"VARCHAR2","attributeDataLength":"20","columnName":"B"},
        {"attributeName":"고객명2","attributeDataType":"VARCHAR2","attributeDataLength":"20","columnName":"B"}]})")));
    ASSERT_EQ(domain.Inputs().size(), 2);
    const DomainAnalysisTarget* twenty = domain.Inputs().find(S("고객명+VARCHAR2+20+"));
    ASSERT_NE(twenty, nullptr);
    EXPECT_EQ(twenty->refCount, 2);
    EXPECT_EQ(twenty->mapColumns.at(S("B")), 2);
    EXPECT_EQ(twenty->length, S("20"));
}

TEST(AnalysisRequest, TermRequests)
{
    const QString text = S(R"({"standard_areaid":"A01","termwise":[
        {"attributeName":"고객명","columnName":"CUST_NM","attributeDataType":"VARCHAR","attributeDataLength":"50"},
        {"attributeName":"고객명","columnName":"CUST_NAME","attributeReference":"R","attributeDataType":"VARCHAR",
         "attributeDataLength":"100"}]})");
    CTermAnalysis term;
    EXPECT_FALSE(AnalysisRequest::Apply(term, text, nullptr));
    EXPECT_FALSE(AnalysisRequest::Apply(term, text, [](const QString&) { return false; }));
    EXPECT_FALSE(
        AnalysisRequest::Apply(term, S(R"({"standard_areaid":1,"termwise":[]})"), [](const QString&) { return true; }));
    EXPECT_TRUE(term.Targets().empty());
    ASSERT_TRUE(AnalysisRequest::Apply(term, text, [](const QString& id) { return id == QStringLiteral("A01"); }));
    EXPECT_EQ(term.AreaId(), QStringLiteral("A01"));
    ASSERT_EQ(term.Targets().size(), 1u);
    const TermAnalysisTarget& t = term.Targets().begin()->second;
    EXPECT_EQ(t.strColumn, QStringLiteral("CUST_NAME"));
    EXPECT_EQ(t.strReference, QStringLiteral("R"));
    EXPECT_EQ(t.strLength, QStringLiteral("100"));
    EXPECT_FALSE(t.strDisplayType.isEmpty());
}

// "준수 현황" on a real road: the fixture edition imported into an SQLite repository, a model
// analysed against it, the dialog's figures and its export; and its picture for the docs.
#include "standard/ui/ConformanceDlg.h"
#include "analysis/TermAnalysis.h"
#include "components/ExcelWriteHelper.h"
#include "components/QrExcelSheet.h"
#include "components/ui/ReportChart.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/EditionImpact.h"
#include "forms/ui/AnalyzeTermForm.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "repository/ui/RepositoryUi.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "standard/StandardTexts.h"
#include "support/FormTestKit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// The fixture edition in a fresh SQLite repository, connected as "AR".
struct StandardRepository
{
    TempDataDir dir;
    bool ok = false;

    StandardRepository()
    {
        const QString uri = QStringLiteral("sqlite:") + dir.file(QStringLiteral("repo.db"));
        QString out, err;
        QTextStream o(&out), e(&err);
        if (RunRepositoryCommand({QStringLiteral("init"), uri}) != 0 ||
            StandardCommand::Run(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), uri,
                                             QStringLiteral("--area"), QStringLiteral("PUB"),
                                             QStringLiteral("--area-name"), U("공통표준")} +
                                     StandardCsvFixtures(),
                                 o, e) != 0) {
            ADD_FAILURE() << err.toStdString();
            return;
        }
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        if (!connection.Open(uri)) {
            ADD_FAILURE() << "cannot open " << uri.toStdString();
            return;
        }
        connection.OnRepositoryConnected();
        ok = true;
    }
    ~StandardRepository() { CRepositoryConnection::Instance().OnRepositoryDisconnected(); }
};

// One attribute per finding kind and conforming ones of both sorts: 4 of 8 conform.
const QVector<QStringList> kModel = {
    {U("고객번호"), QStringLiteral("VARCHAR(20)")}, {U("고객명"), QStringLiteral("VARCHAR(50)")},
    {U("상품명"), QStringLiteral("VARCHAR(100)")},  {U("고객이름"), QStringLiteral("VARCHAR(100)")},
    {U("주문넘버"), QStringLiteral("VARCHAR(20)")}, {U("고객주소"), QStringLiteral("VARCHAR(200)")},
    {U("주문상품"), QStringLiteral("VARCHAR(10)")}, {U("주문금액"), QStringLiteral("NUMERIC(15)")}};

struct AnalysedModel : StandardRepository
{
    CTermAnalysis engine;

    AnalysedModel()
    {
        if (!ok)
            return;
        engine.SetAreaId(QStringLiteral("PUB"));
        engine.SetSheet(kModel);
        engine.Designations().Designate(CTermAnalysis::RoleAttribute, 0);
        engine.Designations().Designate(CTermAnalysis::RoleType, 1);
        ok = engine.Run().ok;
    }
};

// The fixture model as an attribute list without column names: names and types are judged.
const char* const kListRate = "37.5";
const char* const kListFindings = "미등록 단어=1 비표준어 사용=0 금칙어 사용=1 분류어 아님=1 도메인 없음=2 "
                                  "데이터타입 불일치=1 물리명 불일치=0 비표준 용어=1 논리명 없음=0";

void ExpectFigures(QWidget* modal, const char* rate = kListRate, const char* findings = kListFindings)
{
    auto* dlg = qobject_cast<CConformanceDlg*>(modal);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), U("준수 현황"));
    EXPECT_EQ(dlg->RateLabel()->text(), QString::fromLatin1(rate));
    QStringList table;
    for (int r = 0; r < dlg->FindingTable()->rowCount(); ++r)
        table << dlg->FindingTable()->item(r, 0)->text() + u'=' + dlg->FindingTable()->item(r, 1)->text();
    EXPECT_EQ(table.join(u' '), U(findings));
}

ConformanceReport ReportOf(const CTermAnalysis& engine)
{
    ConformanceReport report;
    QString error;
    EXPECT_TRUE(Diagnosis::BuildForAnalysis(engine, nullptr, report, error)) << error.toStdString();
    return report;
}

} // namespace

TEST(ConformanceDlg, ShowsTheFiguresAndExportsTheReport)
{
    AnalysedModel model;
    ASSERT_TRUE(model.ok);
    UiScript ui;
    const QString path = model.dir.file(QStringLiteral("conformance.xlsx"));
    ui.paths.push_back(path);
    ui.answers.push_back(true); // open the written workbook
    bool checked = false;
    WhenModal([&](QWidget* modal) {
        ExpectFigures(modal);
        Click(qobject_cast<CConformanceDlg*>(modal)->ExportButton());
        checked = true;
    });
    EXPECT_TRUE(CConformanceDlg::Show(nullptr, ReportOf(model.engine), model.engine));
    ASSERT_TRUE(checked);
    ASSERT_EQ(ui.opened, std::vector<QString>{path});
    CQrExcelSheet sheet;
    ASSERT_TRUE(sheet.OpenSheet(path, U("요약")));
    QStringList rate, area;
    sheet.GetRowData(area, 1, 2);
    sheet.GetRowData(rate, 10, 2);
    EXPECT_EQ(area, (QStringList{U("표준 분류체계"), U("공통표준 (PUB)")}));
    EXPECT_EQ(rate, (QStringList{U("준수율(%)"), QStringLiteral("37.5")}));
}

// Compared with an older area that still held the word 주소: the one column that used it is
// listed with why, and the export carries the sheet "판정 변화".
TEST(ConformanceDlg, ComparesWithAnOlderAreaAndExportsTheChanges)
{
    AnalysedModel model;
    ASSERT_TRUE(model.ok);
    const QString uri = QStringLiteral("sqlite:") + model.dir.file(QStringLiteral("repo.db"));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(StandardCommand::Run(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), uri,
                                               QStringLiteral("--area"), QStringLiteral("OLD"),
                                               QStringLiteral("--area-name"), U("이전 판")} +
                                       StandardCsvFixtures(),
                                   o, e),
              0)
        << err.toStdString();
    ASSERT_TRUE(CRepositoryConnection::Instance().Open(uri)); // the import closed it
    CRepositoryConnection::Instance().OnRepositoryConnected();
    ASSERT_TRUE(CRepositoryConnection::Instance()
                    .Database()
                    ->Execute(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, "
                                             "DIC_LOG_NM, DIC_PHY_NM, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) VALUES "
                                             "('OLD', 'OLD-ADDR', '99991231235959', '20240101000000', ?, 'ADDR', "
                                             "'Y', 'Y', '0001')"),
                              {SqlParam::Text(U("주소"))})
                    .ok);
    CConformanceDlg::SetSinceBuilder(&EditionImpact::BuildForAnalysis);
    CConformanceDlg dlg(ReportOf(model.engine));
    dlg.SetModel(&model.engine, nullptr);
    ASSERT_TRUE(dlg.SinceCombo()->isEnabled());
    EXPECT_EQ(dlg.SinceCombo()->findData(QStringLiteral("PUB")), -1); // not the area checked
    dlg.SinceCombo()->setCurrentIndex(dlg.SinceCombo()->findData(QStringLiteral("OLD")));
    emit dlg.SinceCombo()->activated(dlg.SinceCombo()->currentIndex());
    ASSERT_FALSE(dlg.SinceTable()->isHidden());
    ASSERT_EQ(dlg.SinceTable()->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < dlg.SinceTable()->columnCount(); ++c)
        row << dlg.SinceTable()->item(0, c)->text();
    EXPECT_EQ(row.mid(2),
              (QStringList{U("고객주소"), QStringLiteral("VARCHAR(200)"), U("폐기된 표준"), U("단어 주소 (ADDR) 폐기"),
                           U("도메인 없음 주소"), U("미등록 단어 주소; 도메인 없음 주소")}))
        << row.join(u'|').toStdString();

    UiScript ui;
    const QString path = model.dir.file(QStringLiteral("since.xlsx"));
    ui.paths.push_back(path);
    ui.answers.push_back(false); // do not open the workbook
    Click(dlg.ExportButton());
    const auto rows = SheetRows(path, StandardTexts::kSinceSheet);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().value(2), U("고객주소"));
    // Back to no comparison: the table goes, and so does the sheet.
    dlg.SinceCombo()->setCurrentIndex(0);
    emit dlg.SinceCombo()->activated(0);
    EXPECT_TRUE(dlg.SinceTable()->isHidden());
    EXPECT_FALSE(dlg.Report().since.has_value());
    CConformanceDlg::SetSinceBuilder({});
}

// The term form's report button is "준수 현황": off until an analysis, then the dialog.
TEST(ConformanceDlg, TermFormButtonShowsTheConformanceOfItsAnalysis)
{
    StandardRepository repo;
    ASSERT_TRUE(repo.ok);
    UiScript ui;
    const QString book = repo.dir.file(QStringLiteral("model.xlsx"));
    ASSERT_TRUE(SaveSheetXlsx(book, std::vector<QStringList>(kModel.begin(), kModel.end())));
    CAnalyzeTermForm form;
    form.resize(1200, 800);
    form.show();
    EXPECT_EQ(form.ReportButton()->text(), U("준수 현황"));
    ui.paths.push_back(book);
    Click(form.OpenButton());
    EXPECT_FALSE(form.ReportButton()->isEnabled());
    ui.choices = {U("속성명 지정 (필수)"), U("데이터타입 지정 (필수)")};
    RightClickCell(form.Grid(), 0, 0);
    RightClickCell(form.Grid(), 0, 1);
    ASSERT_TRUE(form.SelectArea(QStringLiteral("PUB")));
    Click(form.AnalyzeButton());
    ASSERT_EQ(form.Mode(), 2);
    ASSERT_TRUE(form.ReportButton()->isVisible() && form.ReportButton()->isEnabled());
    bool shown = false;
    WhenModal([&](QWidget* modal) {
        ExpectFigures(modal);
        shown = true;
    });
    Click(form.ReportButton());
    EXPECT_TRUE(shown);
}

// A model opened from a DDL script: "준수 현황" counts its column without a comment beside the
// figures, and "스크립트" writes the fix script of its dialect.
TEST(ConformanceDlg, ScriptModelCountsColumnsWithoutCommentAndWritesTheFixScript)
{
    FixScriptHook::Set(&Diagnosis::WriteFixScript); // as main() does
    StandardRepository repo;
    ASSERT_TRUE(repo.ok);
    UiScript ui;
    const QString ddl = repo.dir.file(QStringLiteral("model.sql"));
    WriteTextFile(ddl,
                  U("CREATE TABLE public.tb_model (cust_number character varying(20), cust_nm varchar(50),\n"
                    "  prdt_nm varchar(100), cust_name varchar(100), ord_num varchar(20), cust_addr varchar(200),\n"
                    "  ord_prdt varchar(10), ord_amt numeric(15), memo text);\n"
                    "COMMENT ON COLUMN public.tb_model.cust_number IS '고객번호';\n"
                    "COMMENT ON COLUMN public.tb_model.cust_nm IS '고객명';\n"
                    "COMMENT ON COLUMN public.tb_model.prdt_nm IS '상품명';\n"
                    "COMMENT ON COLUMN public.tb_model.cust_name IS '고객이름';\n"
                    "COMMENT ON COLUMN public.tb_model.ord_num IS '주문넘버';\n"
                    "COMMENT ON COLUMN public.tb_model.cust_addr IS '고객주소';\n"
                    "COMMENT ON COLUMN public.tb_model.ord_prdt IS '주문상품';\n"
                    "COMMENT ON COLUMN public.tb_model.ord_amt IS '주문금액';\n"));
    CAnalyzeTermForm form;
    form.resize(1200, 800);
    form.show();
    ui.paths.push_back(ddl);
    Click(form.OpenButton());
    ASSERT_TRUE(form.SelectArea(QStringLiteral("PUB")));
    Click(form.AnalyzeButton()); // the designations are set already
    ASSERT_EQ(form.Mode(), 2);
    const QString script = repo.dir.file(QStringLiteral("fix.sql"));
    bool shown = false;
    QString written;
    WhenModal([&](QWidget* modal) {
        // Column names now: three differ from the standard one; memo has no logical name.
        ExpectFigures(modal, "22.2",
                      "미등록 단어=1 비표준어 사용=0 금칙어 사용=1 분류어 아님=1 도메인 없음=2 데이터타입 불일치=1 "
                      "물리명 불일치=3 비표준 용어=1 논리명 없음=1");
        auto* dlg = qobject_cast<CConformanceDlg*>(modal);
        ASSERT_NE(dlg->WithoutLogicalNameLabel(), nullptr);
        EXPECT_EQ(dlg->WithoutLogicalNameLabel()->text(), QStringLiteral("1"));
        ui.paths.push_back(script);
        Click(dlg->ScriptButton());
        written = ui.LastMessage();
        // The export then lists the script's changes, as the command line's report does.
        ui.paths.push_back(repo.dir.file(QStringLiteral("report.xlsx")));
        ui.answers.push_back(false);
        Click(dlg->ExportButton());
        shown = true;
    });
    Click(form.ReportButton());
    ASSERT_TRUE(shown);
    EXPECT_TRUE(written.contains(U("보정 스크립트를 썼습니다"))) << written.toStdString();
    const QString text = ReadTextFile(script);
    EXPECT_TRUE(text.contains(QStringLiteral("BEGIN;\n")) && text.endsWith(QStringLiteral("COMMIT;\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("ALTER TABLE \"public\".\"tb_model\" RENAME COLUMN \"cust_number\" TO \"cust_no\";")))
        << text.toStdString();
    const std::vector<QStringList> plan = SheetRows(repo.dir.file(QStringLiteral("report.xlsx")), U("보정 계획"));
    ASSERT_FALSE(plan.empty());
    EXPECT_EQ(plan[0], StandardTexts::kPlanHeader);
    EXPECT_NE(std::find_if(plan.begin(), plan.end(),
                           [](const QStringList& row) {
                               return row.value(2) == u"cust_number" && row.value(3) == u"cust_no" &&
                                      row.value(6) == U("컬럼명 변경");
                           }),
              plan.end());
}

TEST(ConformanceDlg, WithoutAnAnalysisItSaysSo)
{
    struct Form : CAnalyzeTermForm
    {
        using CAnalyzeTermForm::ShowReport;
    };
    UiScript ui;
    Form form;
    form.ShowReport();
    EXPECT_EQ(ui.LastMessage(), StandardTexts::kNoResult);
}

// The term form with the model's workbook opened, its columns designated and analysed on PUB.
static void AnalyseInForm(CAnalyzeTermForm& form, UiScript& ui, const QString& book)
{
    ASSERT_TRUE(SaveSheetXlsx(book, std::vector<QStringList>(kModel.begin(), kModel.end())));
    form.resize(1200, 800);
    form.show();
    ui.paths.push_back(book);
    Click(form.OpenButton());
    ui.choices = {U("속성명 지정 (필수)"), U("데이터타입 지정 (필수)")};
    RightClickCell(form.Grid(), 0, 0);
    RightClickCell(form.Grid(), 0, 1);
    ASSERT_TRUE(form.SelectArea(QStringLiteral("PUB")));
    Click(form.AnalyzeButton());
}

// Figures belong to the repository they say: after a switch the form asks to analyse again
// (and shows nothing without it), and an open dialog greys its figures once its repository goes.
TEST(ConformanceDlg, AnotherRepositoryNeverShowsTheOldFigures)
{
    auto first = std::make_unique<StandardRepository>();
    ASSERT_TRUE(first->ok);
    UiScript ui;
    CAnalyzeTermForm form;
    AnalyseInForm(form, ui, first->dir.file(QStringLiteral("model.xlsx")));
    ASSERT_EQ(form.Mode(), 2);

    // still on the first repository: an open dialog goes grey when the repository goes
    bool greyed = false;
    WhenModal([&](QWidget* modal) {
        auto* dlg = qobject_cast<CConformanceDlg*>(modal);
        ASSERT_NE(dlg, nullptr);
        EXPECT_FALSE(dlg->IsStale());
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        QApplication::processEvents();
        if (const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS"); !folder.isEmpty()) {
            EXPECT_TRUE(dlg->grab().save(QDir(folder).filePath(QStringLiteral("conformance-stale.png"))));
        }
        EXPECT_TRUE(dlg->IsStale());
        EXPECT_FALSE(dlg->StaleLabel()->isHidden());
        EXPECT_FALSE(dlg->ExportButton()->isEnabled());
        greyed = true;
    });
    Click(form.ReportButton());
    EXPECT_TRUE(greyed);
    first.reset();

    StandardRepository second; // another file: another repository, with the same area id
    ASSERT_TRUE(second.ok);
    form.RefreshAreas();
    ASSERT_TRUE(form.SelectArea(QStringLiteral("PUB")));
    bool shown = false;
    WhenModal([&](QWidget* modal) { shown = qobject_cast<CConformanceDlg*>(modal) != nullptr; });
    ui.answers = {false}; // not analysed again: nothing shown
    const size_t asked = ui.messages.size();
    Click(form.ReportButton());
    ASSERT_EQ(ui.messages.size(), asked + 1);
    EXPECT_EQ(ui.messages.back(), ConformanceDlgText::kAnalyzeAgain);
    QApplication::processEvents();
    EXPECT_FALSE(shown);

    ui.answers = {true}; // analysed again on this repository, then shown
    WhenModal([&](QWidget* modal) {
        ExpectFigures(modal);
        shown = true;
    });
    Click(form.ReportButton());
    EXPECT_TRUE(shown);
    // and now current: shown without asking
    shown = false;
    const size_t before = ui.messages.size();
    WhenModal([&](QWidget* modal) { shown = qobject_cast<CConformanceDlg*>(modal) != nullptr; });
    Click(form.ReportButton());
    EXPECT_TRUE(shown);
    EXPECT_EQ(ui.messages.size(), before);
}

// At 800x560 the buttons and the last finding stay reachable and the table never lies over
// the chart (whose axis labels need its minimum height).
TEST(ConformanceDlg, FitsASmallScreen)
{
    ConformanceReport report;
    report.areaId = QStringLiteral("PUB");
    report.areaName = U("공통표준");
    report.input = QStringLiteral("model.sql");
    report.tables = 3;
    report.columns = 50;
    report.withLogicalName = 45;
    report.conforming = 33;
    report.concerned = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    CConformanceDlg dlg(report);
    const QSize room(800 - 16, 560 - 40); // the screen less the window's frame and title
    EXPECT_LE(dlg.minimumSizeHint().width(), room.width());
    EXPECT_LE(dlg.minimumSizeHint().height(), room.height());
    dlg.resize(room);
    dlg.show();
    QApplication::processEvents();
    const QRect inside = dlg.rect();
    for (QPushButton* button : {dlg.ExportButton(), dlg.CloseButton(), dlg.ScriptButton()})
        EXPECT_TRUE(inside.contains(QRect(button->mapTo(&dlg, QPoint(0, 0)), button->size()))) << "button cut";
    const QRect chart(dlg.Chart()->mapTo(&dlg, QPoint(0, 0)), dlg.Chart()->size());
    const QRect table(dlg.FindingTable()->mapTo(&dlg, QPoint(0, 0)), dlg.FindingTable()->size());
    EXPECT_FALSE(chart.intersects(table));
    EXPECT_GE(chart.height(), CConformanceDlg::kChartMinimumHeight);
    EXPECT_TRUE(inside.contains(table));
    QTableWidget* findings = dlg.FindingTable();
    findings->scrollToItem(findings->item(findings->rowCount() - 1, 0));
    const QRect last = findings->visualItemRect(findings->item(findings->rowCount() - 1, 0));
    EXPECT_TRUE(findings->viewport()->rect().contains(last)) << "the last finding is reachable";
    if (const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS"); !folder.isEmpty()) {
        EXPECT_TRUE(dlg.grab().save(QDir(folder).filePath(QStringLiteral("conformance-800x560.png"))));
    }
}

// The connection lost under 준수 현황: one question with 다시 연결, no warning box under it.
TEST(ConformanceDlg, ALostConnectionAsksOnceAndNothingElse)
{
    StandardRepository repo;
    ASSERT_TRUE(repo.ok);
    UiScript ui;
    CAnalyzeTermForm form;
    AnalyseInForm(form, ui, repo.dir.file(QStringLiteral("model.xlsx")));
    ASSERT_EQ(form.Mode(), 2);
    int asked = 0;
    RepositoryUi::SetLostQuestion([&](QWidget*) {
        ++asked;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no box under the question";
        return false;
    });
    bool shown = false;
    WhenModal([&](QWidget* modal) { shown = qobject_cast<CConformanceDlg*>(modal) != nullptr; });
    const size_t before = ui.messages.size();
    CRepositoryConnection::Instance().MarkLost(QStringLiteral("terminating connection"));
    Click(form.ReportButton());
    QApplication::processEvents(); // the watch above runs now, not in the next test
    EXPECT_FALSE(shown);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ui.messages.size(), before) << ui.LastMessage().toStdString();
    EXPECT_TRUE(RepositoryUi::LossAnswered()) << "the window does not ask a second time";
    RepositoryUi::SetLostQuestion({});
    // The connection is the program's one: the next test starts on a live one.
    EXPECT_TRUE(CRepositoryConnection::Instance().Reconnect());
    RepositoryUi::SetLossAnswered(false);
}

// Runs only when TERMWISE_SCREENSHOTS names the folder to write into (scripts/screenshots).
TEST(Screenshots, Conformance)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    AnalysedModel model;
    ASSERT_TRUE(model.ok);
    ConformanceReport report = ReportOf(model.engine);
    report.input = QStringLiteral("model.xlsx");
    CConformanceDlg dlg(report);
    dlg.resize(960, 680);
    dlg.show();
    QApplication::processEvents();
    ASSERT_TRUE(dlg.grab().save(QDir(folder).filePath(QStringLiteral("conformance.png"))));
}

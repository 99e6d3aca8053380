// "준수 현황" on a real road: the fixture edition imported into an SQLite repository, a model
// analysed against it, the dialog's figures and its export; and its picture for the docs.
#include "standard/ui/ConformanceDlg.h"
#include "analysis/TermAnalysis.h"
#include "components/QrExcelSheet.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "standard/StandardTexts.h"
#include "support/FormTestKit.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// The fixture edition in a fresh SQLite repository, connected as "AR", and a model analysed.
struct AnalysedModel
{
    TempDataDir dir;
    CTermAnalysis engine;
    bool ok = false;

    AnalysedModel()
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
        const struct
        {
            const char* name;
            const char* type;
            const char* length;
        } rows[] = {{"고객번호", "VARCHAR", "20"},  {"고객명", "VARCHAR", "50"},   {"상품명", "VARCHAR", "100"},
                    {"고객이름", "VARCHAR", "100"}, {"주문넘버", "VARCHAR", "20"}, {"고객주소", "VARCHAR", "200"},
                    {"주문상품", "VARCHAR", "10"},  {"주문금액", "NUMERIC", "15"}};
        std::vector<TermAnalysisTarget> targets;
        for (const auto& r : rows) {
            TermAnalysisTarget t;
            t.strName = U(r.name);
            t.strType = QString::fromLatin1(r.type);
            t.strLength = QString::fromLatin1(r.length);
            t.strDisplayType = t.strType + u'(' + t.strLength + u')';
            targets.push_back(t);
        }
        engine.SetAreaId(QStringLiteral("PUB"));
        engine.SetTargets(targets);
        ok = engine.Analyze().ok;
    }
    ~AnalysedModel() { CRepositoryConnection::Instance().OnRepositoryDisconnected(); }
};

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
        auto* dlg = qobject_cast<CConformanceDlg*>(modal);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), U("준수 현황"));
        EXPECT_EQ(dlg->RateLabel()->text(), QStringLiteral("50.0"));
        QStringList table;
        for (int r = 0; r < dlg->FindingTable()->rowCount(); ++r)
            table << dlg->FindingTable()->item(r, 0)->text() + u'=' + dlg->FindingTable()->item(r, 1)->text();
        EXPECT_EQ(table.join(u' '), U("미등록 단어=1 비표준어 사용=1 금칙어 사용=1 분류어 아님=3 도메인 없음=4 "
                                      "데이터타입 불일치=1"));
        Click(dlg->ExportButton());
        checked = true;
    });
    EXPECT_TRUE(CConformanceDlg::ShowForAnalysis(nullptr, model.engine));
    ASSERT_TRUE(checked);
    ASSERT_EQ(ui.opened, std::vector<QString>{path});
    CQrExcelSheet sheet;
    ASSERT_TRUE(sheet.OpenSheet(path, U("요약")));
    QStringList rate, area;
    sheet.GetRowData(area, 1, 2);
    sheet.GetRowData(rate, 5, 2);
    EXPECT_EQ(area, (QStringList{U("표준 분류체계"), U("공통표준 (PUB)")}));
    EXPECT_EQ(rate, (QStringList{U("준수율(%)"), QStringLiteral("50")}));
}

TEST(ConformanceDlg, WithoutAnAnalysisItSaysSo)
{
    UiScript ui;
    CTermAnalysis empty;
    EXPECT_FALSE(CConformanceDlg::ShowForAnalysis(nullptr, empty));
    EXPECT_EQ(ui.LastMessage(), StandardTexts::kNoResult);
}

// Runs only when TERMWISE_SCREENSHOTS names the folder to write into (scripts/screenshots).
TEST(Screenshots, Conformance)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    AnalysedModel model;
    ASSERT_TRUE(model.ok);
    ConformanceReport report;
    QString error;
    ASSERT_TRUE(Conformance::BuildForConnectedArea(model.engine, report, error)) << error.toStdString();
    report.input = QStringLiteral("model.xlsx");
    CConformanceDlg dlg(report);
    dlg.resize(960, 680);
    dlg.show();
    QApplication::processEvents();
    ASSERT_TRUE(dlg.grab().save(QDir(folder).filePath(QStringLiteral("conformance.png"))));
}

// The term form end to end on 10,000 attributes of the demo standard: open the workbook,
// designate, pick the area, analyse and show the tree. The reference shows the same rows the
// straightforward way, one QTreeWidgetItem per row, to compare the view's part.
#include "../TermDemo.h"

#include "components/OutputLog.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"
#include "components/ui/ProgressDialogBackend.h"
#include "components/ui/QrTreeGrid.h"
#include "forms/ui/AnalyzeTermForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

struct Workbook
{
    QString path;
    Workbook()
    {
        const Demo& demo = TheDemo();
        path = demo.dir.filePath(QStringLiteral("attrs10k.xlsx"));
        CQrExcelSheet sheet(true);
        sheet.OpenFile(path, true);
        sheet.SetRowDataRange(
            {QStringLiteral("속성명"), QStringLiteral("컬럼명"), QStringLiteral("데이터타입"), QStringLiteral("정의")},
            0);
        int row = 1;
        for (const TermAnalysisTarget& t : demo.targets)
            sheet.SetRowDataRange({t.strName, QStringLiteral("COL_%1").arg(row), t.strDisplayType,
                                   t.strName + QStringLiteral(" 의 정의")},
                                  row++);
        sheet.Save(1);
    }
};

Workbook& TheWorkbook()
{
    static Workbook book;
    return book;
}

void BM_TermFormOpenAnalyseShow(benchmark::State& state)
{
    if (!TheDemo().ok || TheDemo().targets.empty()) {
        state.SkipWithError("demo repository not available");
        return;
    }
    const QString book = TheWorkbook().path;
    double openMs = 0, analyseMs = 0;
    int rows = 0, targets = 0;
    for (auto _ : state) {
        CAnalyzeTermForm form;
        form.resize(1400, 900);
        form.show();
        QElapsedTimer clock;
        clock.start();
        form.OpenPath(book);
        ColumnRoles& roles = form.Engine().Designations();
        roles.Designate(CTermAnalysis::RoleAttribute, 0);
        roles.Designate(CTermAnalysis::RoleColumn, 1);
        roles.Designate(CTermAnalysis::RoleType, 2);
        roles.Designate(CTermAnalysis::RoleDefinition, 3);
        form.Engine().SetExcludeFirstRow(true);
        openMs = double(clock.elapsed());
        clock.restart();
        form.SelectArea(DemoStandard::MainAreaId);
        form.AnalyzeButton()->click();
        QApplication::processEvents();
        analyseMs = double(clock.elapsed());
        if (form.Mode() != 2)
            state.SkipWithError("the analysis did not finish");
        rows = form.Grid()->GetRowCount();
        targets = int(form.Engine().Results().size());
    }
    state.counters["open_ms"] = openMs;
    state.counters["analyse_show_ms"] = analyseMs;
    state.counters["targets"] = targets;
    state.counters["grid_rows"] = rows;
}
BENCHMARK(BM_TermFormOpenAnalyseShow)->Unit(benchmark::kMillisecond)->Iterations(3);

// The view's part alone: the analysed rows into our model grid, and into a QTreeWidget.
void BM_ShowRows(benchmark::State& state)
{
    if (!TheDemo().ok || TheDemo().targets.empty()) {
        state.SkipWithError("demo repository not available");
        return;
    }
    CTermAnalysis term;
    term.SetAreaId(DemoStandard::MainAreaId);
    term.SetTargets(TheDemo().targets);
    term.Analyze();
    const std::vector<AnalysisRow> rows = term.Rows();
    const bool reference = state.range(0) == 1;
    for (auto _ : state) {
        if (reference) {
            QTreeWidget tree;
            tree.setColumnCount(int(TermTexts::kColumns.size()));
            tree.setHeaderLabels(TermTexts::kColumns);
            tree.resize(1400, 800);
            tree.show();
            QTreeWidgetItem* parent = nullptr;
            for (const AnalysisRow& r : rows) {
                auto* item = r.level == 1 ? new QTreeWidgetItem(&tree, r.texts) : new QTreeWidgetItem(parent, r.texts);
                if (r.level == 1)
                    parent = item;
            }
            tree.expandAll();
            for (int c = 0; c < tree.columnCount(); ++c)
                tree.resizeColumnToContents(c);
            QApplication::processEvents();
        } else {
            CQrTreeGrid grid;
            grid.resize(1400, 800);
            grid.show();
            grid.BeginUpdate();
            grid.SetColumns(TermTexts::kColumns);
            for (const AnalysisRow& r : rows)
                grid.InsertRow(r.level, r.texts);
            grid.EndUpdate();
            grid.expandAll();
            grid.AutoSizeColumns();
            QApplication::processEvents();
        }
    }
    state.counters["rows"] = double(rows.size());
}
BENCHMARK(BM_ShowRows)->Arg(0)->Arg(1)->ArgNames({"reference"})->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("TERMWISE_DATA_DIR", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(std::make_unique<CProgressDialogBackend>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CQrProgressWnd::SetBackend(nullptr);
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    CAnalyzeSettings::DestroyInstance();
    return 0;
}

// Filling the tree grid: 100,000 rows in three levels (20,000 groups of one level-1 row, one
// level-2 row and three level-3 rows), six columns with texts, images and colours, then laid
// out with every row expanded, columns sized and one paint. The reference is the
// straightforward way: a QStandardItemModel with one item per cell under a QTreeView.
#include "components/ui/QrTreeGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

namespace {
constexpr int kGroups = 20000;
constexpr int kColumns = 6;

QStringList RowTexts(int group, int part)
{
    return {QStringLiteral("고객번호%1").arg(group),
            QStringLiteral("CUST_NO_%1").arg(group),
            QStringLiteral("VARCHAR"),
            QString::number(part * 10),
            QString(),
            QStringLiteral("단어 %1").arg(part)};
}

void FillGrid(CQrTreeGrid& grid, bool layout = true)
{
    grid.BeginUpdate();
    grid.DeleteAllItems();
    const QColor green = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGreen);
    for (int g = 0; g < kGroups; ++g) {
        const int top = grid.InsertRow(1, RowTexts(g, 0));
        grid.SetItemImage(top, 0, g % 6);
        grid.InsertRow(2, RowTexts(g, 1));
        for (int w = 0; w < 3; ++w) {
            const int r = grid.InsertRow(3, RowTexts(g, 2 + w));
            if (w == 1)
                grid.SetItemBkColor(r, 2, green);
        }
    }
    grid.EndUpdate();
    if (!layout)
        return;
    grid.expandAll();
    grid.AutoSizeColumns();
}

// The model alone: rows, texts, images and colours, no layout.
void BM_TreeGridModelOnly(benchmark::State& state)
{
    CQrTreeGrid grid;
    grid.SetColumns({"a", "b", "c", "d", "e", "f"});
    for (auto _ : state) {
        FillGrid(grid, false);
        benchmark::DoNotOptimize(grid.GetRowCount());
    }
}
BENCHMARK(BM_TreeGridModelOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TreeGridFill(benchmark::State& state)
{
    CQrTreeGrid grid;
    QStringList headers;
    for (int c = 0; c < kColumns; ++c)
        headers << QStringLiteral("열 %1").arg(c);
    grid.SetColumns(headers);
    grid.resize(1200, 700);
    grid.show();
    for (auto _ : state) {
        FillGrid(grid);
        grid.viewport()->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(grid.GetRowCount());
    }
    state.counters["rows"] = grid.GetRowCount();
}
BENCHMARK(BM_TreeGridFill)->Unit(benchmark::kMillisecond)->Iterations(5);

// 100,000 flat rows, with and without a row merge every three rows: each merge should cost
// about the same whatever the number of merges before it (the ratio of the two).
void BM_TreeGridRowMerges(benchmark::State& state)
{
    const bool merge = state.range(0) != 0;
    for (auto _ : state) {
        CQrTreeGrid grid;
        grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
        grid.BeginUpdate();
        for (int i = 0; i < 100000; ++i) {
            grid.InsertRow(1, {QString::number(i / 3), QStringLiteral("b")});
            if (merge && i % 3 == 2)
                grid.MergeRowCells(0, i - 2, i);
        }
        grid.EndUpdate();
        benchmark::DoNotOptimize(grid.GetRowCount());
    }
}
BENCHMARK(BM_TreeGridRowMerges)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StandardItemModelFill(benchmark::State& state)
{
    QTreeView view;
    view.setUniformRowHeights(true);
    view.resize(1200, 700);
    view.show();
    const QList<QIcon> images = CQrTreeGrid::DefaultImages();
    const QColor green = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGreen);
    for (auto _ : state) {
        auto* model = new QStandardItemModel(0, kColumns);
        auto row = [](int g, int part) {
            QList<QStandardItem*> items;
            for (const QString& t : RowTexts(g, part))
                items << new QStandardItem(t);
            return items;
        };
        QStandardItem* root = model->invisibleRootItem();
        for (int g = 0; g < kGroups; ++g) {
            QList<QStandardItem*> top = row(g, 0);
            top[0]->setIcon(images[g % 6]);
            QList<QStandardItem*> mid = row(g, 1);
            for (int w = 0; w < 3; ++w) {
                QList<QStandardItem*> leaf = row(g, 2 + w);
                if (w == 1)
                    leaf[2]->setBackground(green);
                mid[0]->appendRow(leaf);
            }
            top[0]->appendRow(mid);
            root->appendRow(top);
        }
        QAbstractItemModel* old = view.model();
        view.setModel(model);
        delete old;
        view.expandAll();
        for (int c = 0; c + 1 < kColumns; ++c)
            view.resizeColumnToContents(c);
        view.viewport()->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(model->rowCount());
    }
}
BENCHMARK(BM_StandardItemModelFill)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

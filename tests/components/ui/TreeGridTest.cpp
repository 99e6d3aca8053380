#include "components/ui/QrTreeGrid.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

// Rows given as levels; the expected parent of each row.
struct TreeCase
{
    const char* name;
    std::vector<int> levels;
    std::vector<int> parents;
    std::vector<int> lastChild;
};

void Fill(CQrTreeGrid& grid, const std::vector<int>& levels, bool bulk)
{
    if (bulk)
        grid.BeginUpdate();
    for (size_t i = 0; i < levels.size(); ++i) {
        const int row = grid.InsertRow(levels[i]);
        grid.SetItemText(row, 0, QStringLiteral("r%1").arg(row));
        grid.SetItemText(row, 1, QString::number(levels[i]));
    }
    if (bulk)
        grid.EndUpdate();
}

QString ReadZipMember(const QString& path, const char* member)
{
    int err = 0;
    zip_t* z = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray data;
    if (zip_file_t* f = zip_fopen(z, member, 0)) {
        char buf[4096];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0)
            data.append(buf, qsizetype(n));
        zip_fclose(f);
    }
    zip_close(z);
    return QString::fromUtf8(data);
}

} // namespace

TEST(TreeGrid, ParentsFollowLevelsInBulkAndOneByOne)
{
    const TreeCase cases[] = {
        {"flat", {1, 1, 1}, {-1, -1, -1}, {0, 1, 2}},
        {"three levels", {1, 2, 3, 3, 2, 1, 2}, {-1, 0, 1, 1, 0, -1, 5}, {4, 3, 2, 3, 4, 6, 6}},
        // a level-3 row right under a level-1 row belongs to it
        {"level jump", {1, 3, 2, 3}, {-1, 0, 0, 2}, {3, 1, 3, 3}},
        {"deeper first row", {2, 1, 3}, {-1, -1, 1}, {0, 2, 2}},
        {"clamped levels", {0, 5, 9}, {-1, 0, 0}, {2, 1, 2}},
    };
    for (const TreeCase& c : cases) {
        for (bool bulk : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (bulk ? " bulk" : " one by one"));
            CQrTreeGrid grid;
            grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
            QAbstractItemModelTester tester(grid.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
            Fill(grid, c.levels, bulk);
            grid.expandAll();
            ASSERT_EQ(grid.GetRowCount(), int(c.levels.size()));
            for (int r = 0; r < grid.GetRowCount(); ++r) {
                EXPECT_EQ(grid.GetParentRow(r), c.parents[size_t(r)]) << "row " << r;
                EXPECT_EQ(grid.GetLastChildRow(r), c.lastChild[size_t(r)]) << "row " << r;
                // the index the view sees leads back to the same row
                const QModelIndex i = grid.Model()->IndexOf(r, 1);
                EXPECT_EQ(grid.Model()->RowOf(i), r);
                EXPECT_EQ(i.data().toString(), grid.GetItemText(r, 1));
                int top = r;
                while (grid.GetParentRow(top) >= 0)
                    top = grid.GetParentRow(top);
                EXPECT_EQ(grid.GetParentTopRow(r), top);
            }
        }
    }
}

TEST(TreeGrid, ExpandAllShowsEveryRowAndTheLastRowStillTakesChildren)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
    grid.resize(400, 600);
    grid.show();
    Fill(grid, {1, 2, 3, 3, 2, 1, 3, 1, 2}, false);
    grid.expandAll();
    for (int r = 0; r < grid.GetRowCount(); ++r) {
        const QModelIndex i = grid.Model()->IndexOf(r, 0);
        EXPECT_TRUE(grid.visualRect(i).isValid()) << "row " << r;
        if (!grid.Model()->Children(r).empty()) {
            EXPECT_TRUE(grid.isExpanded(i)) << "row " << r;
        }
    }
    // rows added after expanding land under the last row and its parents, and show
    for (int level : {3, 2}) {
        const int row = grid.InsertRow(level);
        EXPECT_TRUE(grid.visualRect(grid.Model()->IndexOf(row, 0)).isValid()) << "row " << row;
    }
}

// The rows the view lists, in order.
std::vector<int> ShownRows(const CQrTreeGrid& grid)
{
    std::vector<int> rows;
    for (int i = 0; i < grid.Model()->rowCount(); ++i)
        rows.push_back(grid.Model()->RowOf(grid.Model()->index(i, 0)));
    return rows;
}

TEST(TreeGrid, FoldingByCallsKeysAndMouseMovesRowsInAndOutOfTheList)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
    QAbstractItemModelTester tester(grid.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.resize(400, 300);
    grid.show();
    Fill(grid, {1, 2, 3, 3, 2, 1, 2}, false);
    using Rows = std::vector<int>;
    EXPECT_EQ(ShownRows(grid), (Rows{0, 5}));
    grid.ExpandRow(0);
    EXPECT_EQ(ShownRows(grid), (Rows{0, 1, 4, 5}));
    grid.ExpandRow(1);
    grid.SetRowHidden(4, true);
    EXPECT_EQ(ShownRows(grid), (Rows{0, 1, 2, 3, 5}));
    // folding keeps what lies inside, and hiding a row takes its children with it
    grid.ExpandRow(0, false);
    grid.ExpandRow(0);
    EXPECT_EQ(ShownRows(grid), (Rows{0, 1, 2, 3, 5}));
    grid.SetRowHidden(1, true);
    EXPECT_EQ(ShownRows(grid), (Rows{0, 5}));
    grid.SetRowsHidden({{1, false}, {4, false}, {5, true}});
    EXPECT_EQ(ShownRows(grid), (Rows{0, 1, 2, 3, 4}));
    grid.SetRowHidden(5, false);

    // keys in the tree column: Right unfolds, Left folds then climbs, * unfolds the whole subtree
    grid.collapseAll();
    grid.setFocus();
    grid.SetFocusCell(5, 0);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_TRUE(grid.IsRowExpanded(5));
    EXPECT_EQ(grid.GetCurrentRow(), 5);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.GetCurrentRow(), 5);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_FALSE(grid.IsRowExpanded(5));
    grid.SetFocusCell(0, 0);
    QTest::keyClick(&grid, Qt::Key_Asterisk);
    EXPECT_EQ(ShownRows(grid), (Rows{0, 1, 2, 3, 4, 5}));
    // folding away the current cell moves it to the folded row
    grid.SetFocusCell(3, 1);
    grid.ExpandRow(0, false);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    EXPECT_EQ(grid.GetCurrentColumn(), 1);

    // the mouse: a click on the mark folds, a click on the text only selects, a double click
    // on a cell that cannot be edited folds
    const QRect cell = grid.visualRect(grid.Model()->IndexOf(5, 0));
    const QRect mark = grid.ExpandMarkRect(5, cell);
    ASSERT_FALSE(mark.isEmpty());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, mark.center());
    EXPECT_TRUE(grid.IsRowExpanded(5));
    const QPoint text(mark.right() + 20, cell.center().y());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, text);
    EXPECT_TRUE(grid.IsRowExpanded(5));
    EXPECT_EQ(grid.GetCurrentRow(), 5);
    QSignalSpy clicks(&grid, &CQrTreeGrid::CellClicked);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, mark.center()); // a fold is no click
    EXPECT_FALSE(grid.IsRowExpanded(5));
    EXPECT_EQ(clicks.count(), 0);
    grid.ExpandRow(5);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, text);
    EXPECT_FALSE(grid.IsRowExpanded(5));

    // editing a folded-away cell shows it, and the editor keeps clear of the indentation
    grid.SetEditableCell(3, 0);
    grid.SetFocusCell(6, 1);
    grid.collapseAll();
    EXPECT_EQ(grid.GetCurrentRow(), 5);
    grid.EditingCell(3, 0);
    QCoreApplication::processEvents();
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    const QRect deep = grid.visualRect(grid.Model()->IndexOf(3, 0));
    EXPECT_GE(editor->geometry().left(), deep.left() + grid.RowIndent(3));
    EXPECT_EQ(grid.RowIndent(3), 3 * grid.indentation());
}

TEST(TreeGrid, ClearedLargeGridTakesNewRowsWhileTheOldAreFreed)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
    std::vector<int> levels(30000);
    for (size_t i = 0; i < levels.size(); ++i)
        levels[i] = 1 + int(i % 3);
    for (int round = 0; round < 2; ++round) {
        Fill(grid, levels, true);
        ASSERT_EQ(grid.GetRowCount(), 30000);
        grid.DeleteAllItems();
        EXPECT_EQ(grid.GetRowCount(), 0);
        Fill(grid, {1, 2}, true);
        QCoreApplication::processEvents(); // the old rows go in pieces meanwhile
        ASSERT_EQ(grid.GetRowCount(), 2);
        EXPECT_EQ(grid.GetItemText(1, 0), QStringLiteral("r1"));
        EXPECT_EQ(grid.GetParentRow(1), 0);
        grid.DeleteAllItems();
    }
}

TEST(TreeGrid, EditsAndChecksNotifyOnlyRealChanges)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("선택"), QStringLiteral("이름"), QStringLiteral("비고")});
    const int row = grid.InsertRow(1, {QString(), QStringLiteral("고객"), QString()});
    grid.SetCheckCellStyle(row, 0);
    grid.SetEditableCell(row, 1);
    grid.SetReadOnlyCell(row, 2, CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey));
    QSignalSpy edited(&grid, &CQrTreeGrid::CellEdited);
    QSignalSpy checked(&grid, &CQrTreeGrid::CheckChanged);
    CQrTreeGridModel* m = grid.Model();

    EXPECT_TRUE(m->flags(m->IndexOf(row, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->IndexOf(row, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->IndexOf(row, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->IndexOf(row, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(grid.GetItemBkColor(row, 2), QColor(0xF7, 0xF7, 0xF7));

    m->setData(m->IndexOf(row, 1), QStringLiteral("고객"), Qt::EditRole); // same text: no notice
    EXPECT_EQ(edited.count(), 0);
    EXPECT_FALSE(grid.GetModified(row, 1));
    m->setData(m->IndexOf(row, 1), QStringLiteral("고객명"), Qt::EditRole);
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0][2].toString(), QStringLiteral("고객"));
    EXPECT_EQ(edited[0][3].toString(), QStringLiteral("고객명"));
    EXPECT_TRUE(grid.GetModified(row, 1));

    m->setData(m->IndexOf(row, 0), Qt::Checked, Qt::CheckStateRole);
    m->setData(m->IndexOf(row, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(checked.count(), 1);
    EXPECT_TRUE(grid.GetCheckCellVal(row, 0));
    // a text cell is no check box
    EXPECT_FALSE(m->setData(m->IndexOf(row, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(grid.GetCheckCellVal(row, 1));

    // the default can make every cell editable; read-only ones stay read-only
    grid.SetDefaultEditable(true);
    const int other = grid.InsertRow(1);
    EXPECT_TRUE(m->flags(m->IndexOf(other, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->IndexOf(row, 2)) & Qt::ItemIsEditable);
}

TEST(TreeGrid, ComboCellCommitsTheChoice)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("타입")});
    const int row = grid.InsertRow(1, {QStringLiteral("VARCHAR")});
    grid.SetComboCellStyle(row, 0, {QStringLiteral("VARCHAR"), QStringLiteral("NUMBER"), QStringLiteral("DATE")});
    grid.resize(300, 200);
    grid.show();
    QSignalSpy edited(&grid, &CQrTreeGrid::CellEdited);
    grid.EditingCell(row, 0);
    auto* combo = grid.findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("VARCHAR"));
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    QTRY_COMPARE(edited.count(), 1);
    EXPECT_EQ(grid.GetItemText(row, 0), QStringLiteral("NUMBER"));
}

TEST(TreeGrid, MergesHiddenRowsAndImages)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    grid.BeginUpdate();
    for (int i = 0; i < 4; ++i)
        grid.InsertRow(i == 0 ? 1 : 2, {QStringLiteral("a%1").arg(i)});
    grid.MergeCells(0, 1, 3);
    grid.SetRowHidden(2, true);
    grid.SetItemImage(1, 0, 2);
    grid.SetItemImage(3, 0, 99); // out of the list: no picture, no crash
    grid.EndUpdate();
    grid.expandAll();

    CQrTreeGridModel* m = grid.Model();
    EXPECT_EQ(m->MergeAt(0, 0), std::make_pair(-1, -1));
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(m->MergeAt(0, c), std::make_pair(1, 3));
    EXPECT_EQ(m->MergeAt(1, 2), std::make_pair(-1, -1));
    // an overlapping merge replaces the old one
    grid.MergeCells(0, 2, 3);
    EXPECT_EQ(m->MergeAt(0, 1), std::make_pair(-1, -1));
    EXPECT_EQ(m->MergeAt(0, 3), std::make_pair(2, 3));

    EXPECT_FALSE(m->IndexOf(2, 0).isValid());
    EXPECT_TRUE(grid.IsRowHiddenAt(2));
    grid.SetRowHidden(2, false);
    EXPECT_EQ(m->RowOf(m->IndexOf(2, 0)), 2);
    // a later bulk change resets the view; the hidden rows stay hidden, the shown ones shown
    grid.SetRowHidden(3, true);
    grid.BeginUpdate();
    grid.SetItemText(0, 0, QStringLiteral("x"));
    grid.EndUpdate();
    EXPECT_FALSE(m->Shown(3));
    EXPECT_TRUE(m->Shown(2));
    grid.SetRowHidden(3, false);

    // light cell colours keep dark text whatever the look
    grid.SetItemBkColor(1, 1, CQrTreeGrid::ColorLightRed);
    EXPECT_EQ(m->IndexOf(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    grid.SetItemBkColor(1, 2, QColor(20, 20, 40));
    EXPECT_EQ(m->IndexOf(1, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(m->IndexOf(1, 3).data(Qt::ForegroundRole).isValid());

    grid.selectionModel()->select(m->IndexOf(3, 1), QItemSelectionModel::Select);
    grid.selectionModel()->select(m->IndexOf(1, 0), QItemSelectionModel::Select);
    grid.selectionModel()->select(m->IndexOf(1, 2), QItemSelectionModel::Select);
    EXPECT_EQ(grid.GetSelectedRows(), (std::vector<int>{1, 3}));

    EXPECT_EQ(CQrTreeGrid::DefaultImages().size(), 6);
    EXPECT_FALSE(m->IndexOf(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(m->IndexOf(3, 0).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(grid.GetItemImage(3, 0), 99);

    // painting a merged row must not trip over anything
    grid.resize(500, 200);
    grid.show();
    grid.grab();
}

TEST(TreeGrid, AutoSizeKeepsHiddenColumnsHidden)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    grid.InsertRow(1, {QStringLiteral("아주 긴 논리명 텍스트입니다"), QStringLiteral("x"), QStringLiteral("y")});
    grid.SetColumnWidth(1, 0);
    grid.resize(800, 200);
    grid.show();
    grid.AutoSizeColumns();
    EXPECT_EQ(grid.GetColumnWidth(1), 0);
    EXPECT_GT(grid.GetColumnWidth(0), grid.fontMetrics().horizontalAdvance(QStringLiteral("아주 긴 논리명")));
    // the last column takes what is left of the width
    EXPECT_GE(grid.GetColumnWidth(0) + grid.GetColumnWidth(2), grid.viewport()->width() - 2);
}

TEST(TreeGrid, ExportWritesEveryRowWithTheHeader)
{
    QTemporaryDir dir;
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("논리명"), QStringLiteral("물리명")});
    grid.InsertRow(1, {QStringLiteral("고객번호"), QStringLiteral("CUST_NO")});
    grid.InsertRow(2, {QStringLiteral("고객"), QStringLiteral("CUST")});
    const int hidden = grid.InsertRow(2, {QStringLiteral("번호"), QString()});
    grid.SetRowHidden(hidden, true);
    const QString path = dir.filePath(QStringLiteral("grid.xlsx"));
    QString error;
    EXPECT_EQ(grid.ExportExcelSheet(path, &error), path) << error.toStdString();
    const QString sheet = ReadZipMember(path, "xl/worksheets/sheet1.xml"); // texts are inline
    for (const char* text : {"논리명", "물리명", "고객번호", "CUST_NO", "고객", "번호"})
        EXPECT_TRUE(sheet.contains(QString::fromUtf8(text))) << text;
    EXPECT_TRUE(sheet.contains(QStringLiteral("r=\"A4\"")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("r=\"B4\""))); // empty cells stay empty

    // a folder that does not exist: an error, no file, no crash
    EXPECT_TRUE(grid.ExportExcelSheet(dir.filePath(QStringLiteral("no/such/x.xlsx")), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// In an entry grid Tab goes along the row and then to the next row's first editable cell;
// Backtab goes back. Values typed after each Tab land in the cell the user sees.
TEST(TreeGrid, TabWalksAlongTheRowWhileEditing)
{
    CQrTreeGrid grid;
    grid.SetColumns(
        {QStringLiteral("word"), QStringLiteral("physical"), QStringLiteral("logical"), QStringLiteral("note")});
    grid.SetDefaultEditable(true);
    for (int r = 0; r < 3; ++r) {
        grid.InsertRow(1, {QStringLiteral("w%1").arg(r), QString(), QString(), QString()});
        grid.SetReadOnlyCell(r, 0); // the word itself is not typed over
    }
    grid.resize(500, 300);
    grid.show();
    grid.EditingCell(0, 1);
    const struct
    {
        Qt::Key key;
        int row;
        int col;
    } steps[] = {
        {Qt::Key_Tab, 0, 2}, {Qt::Key_Tab, 0, 3},     {Qt::Key_Tab, 1, 1},
        {Qt::Key_Tab, 1, 2}, {Qt::Key_Backtab, 1, 1}, {Qt::Key_Backtab, 0, 3},
    };
    for (const auto& step : steps) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* editor = grid.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("x"));
        QTest::keyClick(editor, step.key, step.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(grid.GetCurrentRow(), step.row);
        EXPECT_EQ(grid.GetCurrentColumn(), step.col);
    }
    // each value landed in the cell it was typed into, nothing in the read-only column
    EXPECT_EQ(grid.GetItemText(0, 1), QStringLiteral("x"));
    EXPECT_EQ(grid.GetItemText(0, 3), QStringLiteral("x"));
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("x")); // typing over a cell Tab reached replaces it
    EXPECT_EQ(grid.GetItemText(1, 2), QStringLiteral("x"));
    EXPECT_EQ(grid.GetItemText(1, 0), QStringLiteral("w1"));
}

TEST(TreeGrid, RowMergesCoverSiblingsAndPaintTheTextOnceInTheMiddle)
{
    CQrTreeGrid grid;
    grid.setRootIsDecorated(false);
    grid.SetColumns({QStringLiteral("분류"), QStringLiteral("B")});
    grid.BeginUpdate();
    for (int i = 0; i < 6; ++i)
        grid.InsertRow(i == 4 ? 2 : 1, {i < 3 ? QStringLiteral("WWWW") : QString(), QStringLiteral("b%1").arg(i)});
    grid.EndUpdate();
    CQrTreeGridModel* m = grid.Model();

    EXPECT_TRUE(grid.MergeRowCells(0, 0, 2));
    EXPECT_FALSE(grid.MergeRowCells(0, 3, 4)); // a child is no sibling of its parent
    EXPECT_FALSE(grid.MergeRowCells(0, 2, 2)); // one row is no merge
    EXPECT_EQ(m->RowMergeAt(1, 0), std::make_pair(0, 2));
    EXPECT_EQ(m->RowMergeAt(1, 1), std::make_pair(-1, -1));
    // rows 3 and 5 are siblings; the child row 4 between them stays outside the merge
    EXPECT_TRUE(grid.MergeRowCells(0, 3, 5));
    EXPECT_EQ(m->RowMergeAt(4, 0), std::make_pair(-1, -1));
    EXPECT_EQ(m->RowMergeAt(5, 0), std::make_pair(3, 5));
    // an overlapping merge replaces the old one
    EXPECT_TRUE(grid.MergeRowCells(0, 1, 3));
    EXPECT_EQ(m->RowMergeAt(0, 0), std::make_pair(-1, -1));
    EXPECT_EQ(m->RowMergeAt(5, 0), std::make_pair(-1, -1));
    EXPECT_EQ(m->RowMergeAt(2, 0), std::make_pair(1, 3));
    grid.DeleteAllItems();
    EXPECT_EQ(m->RowMergeAt(0, 0), std::make_pair(-1, -1));

    // Three white rows merged in column 0: the text is drawn once, in the middle row, and the
    // block has one background (the first and last slices stay empty).
    grid.SetColumns({QStringLiteral("분류"), QStringLiteral("B")});
    for (int i = 0; i < 3; ++i) {
        const int row = grid.InsertRow(1, {QStringLiteral("WWWW"), QStringLiteral("x")});
        grid.SetReadOnlyRow(row, CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorWhite));
    }
    grid.MergeRowCells(0, 0, 2);
    grid.resize(400, 200);
    grid.SetColumnWidth(0, 150);
    grid.show();
    const QImage image = grid.viewport()->grab().toImage();
    auto darkPixels = [&](int row) {
        const QRect cell = grid.visualRect(m->IndexOf(row, 0)).adjusted(2, 0, -2, 0);
        int dark = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_EQ(darkPixels(0), 0);
    EXPECT_GT(darkPixels(1), 10);
    EXPECT_EQ(darkPixels(2), 0);
    EXPECT_EQ(m->IndexOf(2, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

// What a hundred thousand merges cost is measured in bench/ui (BM_TreeGridRowMerges); here
// that each one holds.
TEST(TreeGrid, RowMergesOfAHundredThousandRowsEachHold)
{
    CQrTreeGrid grid;
    grid.SetColumns({QStringLiteral("A"), QStringLiteral("B")});
    grid.BeginUpdate();
    for (int i = 0; i < 100000; ++i) {
        grid.InsertRow(1, {QString::number(i / 3), QStringLiteral("b")});
        if (i % 3 == 2)
            grid.MergeRowCells(0, i - 2, i);
    }
    grid.EndUpdate();
    for (int row : {0, 1, 2, 49998, 99996, 99997, 99998})
        EXPECT_EQ(grid.Model()->RowMergeAt(row, 0).first, row / 3 * 3) << row;
    EXPECT_EQ(grid.Model()->RowMergeAt(99999, 0).first, -1) << "the last row has no partner";
    EXPECT_EQ(grid.Model()->RowMergeAt(5, 1).first, -1) << "only the merged column";
}

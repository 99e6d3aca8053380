#pragma once
// The grid every form and dialog uses: a tree of rows (levels 1..3) in columns, addressed by
// row (insertion order, from 0) and column. Plain grids are tree grids whose rows are all level 1.
// The view holds the shown rows as one flat list (see the model); the grid draws the tree's
// indentation and expand marks in the first column and answers the mouse and keys on them as
// QTreeView would. The expansion calls of QTreeView are shadowed here to act on the rows.
#include "components/ui/QrTreeGridModel.h"

#include <QTreeView>

class QMenu;

class CQrTreeGrid : public QTreeView
{
    Q_OBJECT
public:
    // Background colours the forms use, given as Windows colour values 0x00BBGGRR.
    static constexpr quint32 ColorLightGreen = 0xAAF5E3;
    static constexpr quint32 ColorLightYellow = 0xB0E4EF;
    static constexpr quint32 ColorLightRed = 0xD2D2FF;
    static constexpr quint32 ColorLightGrey = 0xF7F7F7;
    static constexpr quint32 ColorWhite = 0xFFFFFF;
    static QColor FromWinColor(quint32 bgr);

    explicit CQrTreeGrid(QWidget* parent = nullptr);

    CQrTreeGridModel* Model() const { return m_model; }

    // Columns
    void SetColumns(const QStringList& headers);
    int GetColumnCount() const { return m_model->ColumnCount(); }
    QString GetColumnHeader(int col) const;
    void SetColumnHeader(int col, const QString& text) { m_model->SetHeader(col, text); }
    void SetColumnWidth(int col, int width); // 0 hides the column
    int GetColumnWidth(int col) const;
    // Every column but the last to its contents (hidden ones stay hidden); the last fills the rest.
    void AutoSizeColumns();

    // Rows. InsertRow appends; the deeper rows that follow a row are its children.
    int InsertRow(int level = 1);
    int InsertRow(int level, const QStringList& texts);
    void DeleteAllItems();
    // A row of a flat grid; false for a tree.
    bool DeleteRow(int row) { return m_model->RemoveFlatRow(row); }
    int GetRowCount() const { return m_model->RowCount(); }
    int GetTreeLevel(int row) const { return m_model->Level(row); }
    int GetParentRow(int row) const { return m_model->ParentRow(row); }
    int GetParentTopRow(int row) const; // the level-1 row above (or the row itself)
    int GetLastChildRow(int row) const { return m_model->LastChildRow(row); }
    bool IsValid(int row, int col) const { return m_model->IsValidCell(row, col); }

    // Many inserts and changes at once: one reset of the view at the end.
    void BeginUpdate();
    void EndUpdate();

    // Cells
    void SetItemText(int row, int col, const QString& text) { m_model->SetText(row, col, text); }
    QString GetItemText(int row, int col) const { return m_model->Text(row, col); }
    void SetRowTexts(int row, const QStringList& texts) { m_model->SetRowTexts(row, texts); }
    void SetItemImage(int row, int col, int image) { m_model->SetImage(row, col, image); }
    int GetItemImage(int row, int col) const { return m_model->Image(row, col); }
    void SetItemBkColor(int row, int col, const QColor& color) { m_model->SetBackground(row, col, color); }
    void SetItemBkColor(int row, int col, quint32 winColor) { SetItemBkColor(row, col, FromWinColor(winColor)); }
    QColor GetItemBkColor(int row, int col) const { return m_model->Background(row, col); }
    void SetItemToolTip(int row, int col, const QString& text) { m_model->SetToolTip(row, col, text); }
    QString GetItemToolTip(int row, int col) const { return m_model->ToolTip(row, col); }
    void SetBkColorRow(int row, const QColor& color);
    void SetItemData(int row, const QVariant& data) { m_model->SetRowData(row, data); }
    QVariant GetItemData(int row) const { return m_model->RowData(row); }

    // Editing: cells are read-only unless made editable (or the default is changed).
    void SetDefaultEditable(bool editable) { m_model->SetDefaultEditable(editable); }
    void SetEditableCell(int row, int col);
    void SetReadOnlyCell(int row, int col, const QColor& background = {});
    void SetReadOnlyRow(int row, const QColor& background = {});
    bool IsReadOnlyCell(int row, int col) const;
    void SetModified(int row, int col, bool modified);
    bool GetModified(int row, int col) const;
    // Starts the in-place editor of a cell (as a double click would).
    void EditingCell(int row, int col);

    void SetCheckCellStyle(int row, int col, bool checked = false);
    void SetCheckCellVal(int row, int col, bool checked);
    bool GetCheckCellVal(int row, int col) const;
    void SetComboCellStyle(int row, int col, const QStringList& choices);
    // Columns first..last of the row look like one cell showing the first one's text.
    void MergeCells(int row, int firstCol, int lastCol) { m_model->SetMerge(row, firstCol, lastCol); }
    // Rows first..last (siblings) of the column look like one cell showing the first row's text
    // once, centred. False when the rows are not siblings.
    bool MergeRowCells(int col, int firstRow, int lastRow) { return m_model->SetRowMerge(col, firstRow, lastRow); }
    void SetRowHidden(int row, bool hidden) { m_model->SetRowHidden(row, hidden); }
    void SetRowsHidden(const std::vector<std::pair<int, bool>>& changes) { m_model->SetRowsHidden(changes); }
    bool IsRowHiddenAt(int row) const { return m_model->RowHidden(row); }

    // Images 0..5 of the default list; SetImageList replaces them.
    void SetImageList(const QList<QIcon>& images);
    static QList<QIcon> DefaultImages();

    // Selection and scrolling
    int GetCurrentRow() const;
    int GetCurrentColumn() const;
    // Rows with at least one selected cell, in order.
    std::vector<int> GetSelectedRows() const;
    void SetFocusCell(int row, int col);
    void SetScrollToCell(int row, int col);
    void ExpandRow(int row, bool expand = true);
    bool IsRowExpanded(int row) const { return m_model->Expanded(row); }
    // Expands the row's collapsed parents, so the row shows unless it is hidden.
    void RevealRow(int row);

    // QTreeView's tree calls, acting on the grid's rows.
    void expandAll() { m_model->SetAllExpanded(true); }
    void collapseAll();
    bool isExpanded(const QModelIndex& index) const { return m_model->Expanded(m_model->RowOf(index)); }
    void setExpanded(const QModelIndex& index, bool expanded) { ExpandRow(m_model->RowOf(index), expanded); }
    void expand(const QModelIndex& index) { setExpanded(index, true); }
    void collapse(const QModelIndex& index) { setExpanded(index, false); }
    void setRootIsDecorated(bool show);
    bool rootIsDecorated() const { return m_decorated; }
    // Pixels the first column's content of a row is moved right by the tree.
    int RowIndent(int row) const;
    // The expand mark's box of a row in the first column, in viewport coordinates; empty for
    // a row without children.
    QRect ExpandMarkRect(int row, const QRect& cell) const;

    // Every row (children after their parents) with the header row first.
    std::vector<QStringList> GetAllRowsText() const;
    // Writes the whole grid to a workbook. An empty path asks the user; returns the path
    // written, empty when cancelled or failed (the error text, if any, goes to *error).
    QString ExportExcelSheet(const QString& path = QString(), QString* error = nullptr);

Q_SIGNALS:
    void CellClicked(int row, int col);
    void CellDoubleClicked(int row, int col);
    // The in-place edit of a cell ended with a new text (also for combo cells).
    void CellEdited(int row, int col, const QString& oldText, const QString& newText);
    void CheckChanged(int row, int col, bool checked);
    // Right click; row and col are -1 outside the cells.
    void ContextMenuRequested(int row, int col, const QPoint& globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Tab and Backtab walk along the row, then to the next row, as in a sheet; while a cell is
    // being edited they skip the cells that cannot be edited.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The row whose expand mark is at pos, or -1.
    int ExpandMarkAt(const QPoint& pos) const;
    void ExpandSubtree(int row);
    CQrTreeGridModel* m_model;
    bool m_decorated = true;    // level-1 rows get a step of indentation for their marks
    bool m_markPressed = false; // the press folded a row: its move and release are no click
    bool m_lastStretched = false;
    bool m_tabbingFromEditor = false; // an editor closed with Tab or Backtab
};

namespace GlobalFunc {
// A popup item carrying the command id in its data; the image (an index into the grid's
// default image list, or -1) is shown beside it.
QAction* AppendContextMenu(QMenu* menu, int command, int image, const QString& text);
void AutoSizeColumns(CQrTreeGrid* grid);
} // namespace GlobalFunc

#pragma once
// Storage behind CQrTreeGrid: rows kept flat in insertion order, each with a tree level
// 1..3; a row's children are the deeper rows that follow it. Cells carry text, image,
// background, edit/check/combo state. One pass fills it; no per-cell objects.
//
// The view is given the tree as a flat list of the rows it shows (not hidden, every parent
// expanded); the grid draws the indentation and the expand marks itself. QTreeView lays out
// a flat list of a million rows six to eight times faster than the same rows as a tree with
// every parent expanded, and expanding or collapsing becomes an insert or removal of rows.
// Model indexes therefore address shown rows only: IndexOf is invalid for a row not shown.
#include <QAbstractItemModel>
#include <QColor>
#include <QIcon>
#include <QStringList>
#include <QVariant>
#include <map>
#include <vector>

class CQrTreeGridModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum CellFlag : quint8 {
        FlagReadOnly = 0x01,
        FlagEditable = 0x02, // explicit, overrides the grid default
        FlagCheck = 0x04,
        FlagChecked = 0x08,
        FlagModified = 0x10,
        FlagCombo = 0x20,
    };
    // Extra roles the delegate and callers read.
    enum Role { ImageRole = Qt::UserRole + 100, ComboChoicesRole, MergeSpanRole, RowDataRole, RowMergeSpanRole };

    explicit CQrTreeGridModel(QObject* parent = nullptr);
    ~CQrTreeGridModel() override;

    void SetHeaders(const QStringList& headers);
    // One header's text, without a reset (the view keeps its rows, widths and scroll).
    void SetHeader(int col, const QString& text);
    const QStringList& Headers() const { return m_headers; }
    int ColumnCount() const { return int(m_headers.size()); }

    // Appends a row of level 1..3 (clamped); its parent is the nearest earlier row of a lower level.
    int AppendRow(int level);
    void Clear();
    // Removes a row of a flat grid (every row at level 1); false for a tree or a bad row.
    bool RemoveFlatRow(int row);
    int RowCount() const { return int(m_rows.size()); }
    bool IsValidCell(int row, int col) const { return row >= 0 && row < RowCount() && col >= 0 && col < ColumnCount(); }

    int Level(int row) const { return IsValidRow(row) ? m_rows[size_t(row)].level : 0; }
    int ParentRow(int row) const { return IsValidRow(row) ? m_rows[size_t(row)].parent : -1; }
    int LastChildRow(int row) const;
    const std::vector<int>& Children(int row) const;

    // Between BeginBulk and EndBulk rows and cells change without per-change signals;
    // EndBulk resets the views once.
    void BeginBulk();
    void EndBulk();
    bool InBulk() const { return m_bulk > 0; }

    void SetText(int row, int col, const QString& text);
    QString Text(int row, int col) const;
    void SetRowTexts(int row, const QStringList& texts);
    void SetImage(int row, int col, int image);
    int Image(int row, int col) const;
    void SetBackground(int row, int col, const QColor& color);
    QColor Background(int row, int col) const;
    void SetCellFlag(int row, int col, quint8 flag, bool on);
    bool CellFlag(int row, int col, quint8 flag) const;
    // A cell's own tooltip (few cells have one, so they are kept apart from the cells).
    void SetToolTip(int row, int col, const QString& text);
    QString ToolTip(int row, int col) const;
    void SetComboChoices(int row, int col, const QStringList& choices);
    QStringList ComboChoices(int row, int col) const;
    // A merged-looking cell: columns first..last of the row show the text of `first`.
    void SetMerge(int row, int firstCol, int lastCol);
    // {first, last} of the merge that covers (row, col), or {-1, -1}.
    std::pair<int, int> MergeAt(int row, int col) const;
    // A merged-looking cell down a column: rows first..last (siblings, in order) show the
    // text of `first` once, centred over them. False when the rows are not siblings.
    bool SetRowMerge(int col, int firstRow, int lastRow);
    // {first, last} of the row merge that covers (row, col), or {-1, -1}.
    std::pair<int, int> RowMergeAt(int row, int col) const;
    void SetRowData(int row, const QVariant& data);
    QVariant RowData(int row) const;
    void SetRowHidden(int row, bool hidden);
    // Many rows hidden or shown at once: one layout change instead of one per row.
    void SetRowsHidden(const std::vector<std::pair<int, bool>>& changes);
    bool RowHidden(int row) const { return IsValidRow(row) && m_rows[size_t(row)].hidden; }

    // Expansion belongs to the rows, so a bulk update or a filter keeps it.
    bool HasChildren(int row) const { return IsValidRow(row) && !m_rows[size_t(row)].children.empty(); }
    bool Expanded(int row) const { return IsValidRow(row) && m_rows[size_t(row)].expanded; }
    void SetExpanded(int row, bool expanded);
    // Every row, leaves included (a leaf that gains children later shows them).
    void SetAllExpanded(bool expanded);
    // Shown by the view: not hidden, and every parent expanded and not hidden.
    bool Shown(int row) const { return ShownPos(row) >= 0; }
    int ShownCount() const { return int(m_shown.size()); }
    // Qt's item flags of a cell, shown or not.
    Qt::ItemFlags CellItemFlags(int row, int col) const;

    void SetDefaultEditable(bool editable) { m_defaultEditable = editable; }
    bool DefaultEditable() const { return m_defaultEditable; }
    void SetImageList(const QList<QIcon>& images) { m_images = images; }
    const QList<QIcon>& ImageList() const { return m_images; }

    QModelIndex IndexOf(int row, int col) const;
    int RowOf(const QModelIndex& index) const;

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // A user edit ended with a changed text.
    void CellEdited(int row, int col, const QString& oldText, const QString& newText);
    void CheckChanged(int row, int col, bool checked);

private:
    struct Cell
    {
        QString text;
        QRgb background = 0; // alpha 0: none
        qint16 image = -1;
        quint8 flags = 0;
    };
    struct Row
    {
        std::vector<Cell> cells;
        std::vector<int> children;
        QVariant data;
        int parent = -1;
        int posInParent = 0;
        qint8 level = 1;
        bool hidden = false;
        bool expanded = false;
    };
    bool IsValidRow(int row) const { return row >= 0 && row < RowCount(); }
    Cell* CellAt(int row, int col);
    const Cell* CellAt(int row, int col) const;
    void NotifyCell(int row, int col);
    void NotifyCells(int row, int firstCol, int lastCol);
    // Position of a row in m_shown, -1 when not shown.
    int ShownPos(int row) const;
    // The rows of row's subtree (row itself included when withRow) that show once row shows.
    std::vector<int> ShownBlock(int row, bool withRow) const;
    void ShowBlock(int row, bool withRow);
    void HideBlock(int row, bool withRow);
    // Rebuilds m_shown from the flags; keeps persistent indexes (current cell, selection,
    // open editor) on their rows through a layout change.
    void Relayout();
    void RebuildShown();

    QStringList m_headers;
    std::vector<Row> m_rows;
    std::vector<int> m_topRows;
    std::vector<int> m_shown; // ascending: the display order is the insertion order
    std::map<std::pair<int, int>, QStringList> m_combo;
    std::map<std::pair<int, int>, QString> m_toolTips;
    std::map<std::pair<int, int>, int> m_merge;    // (row, first col) -> last col
    std::map<std::pair<int, int>, int> m_rowMerge; // (col, first row) -> last row
    QList<QIcon> m_images;
    int m_bulk = 0;
    bool m_defaultEditable = false;
};

#include "components/ui/QrTreeGridModel.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {
const std::vector<int> kNoChildren;
// Below this many rows freeing them at once goes unnoticed.
constexpr size_t kFreeLaterFrom = 20000;
constexpr size_t kFreePiece = 20000;

// Freeing a million rows, each with its own cells, takes the better part of a second; it is
// done in pieces on later turns of the event loop so the window keeps answering.
template <class T> void FreeInPieces(std::shared_ptr<std::vector<T>> rows)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [rows] {
        const size_t n = std::min(rows->size(), kFreePiece);
        rows->erase(rows->end() - std::ptrdiff_t(n), rows->end()); // from the back: nothing moves
        if (!rows->empty())
            FreeInPieces(rows);
    });
}

template <class T> void ReleaseRows(std::vector<T>& rows)
{
    if (rows.size() < kFreeLaterFrom || !QCoreApplication::instance()) {
        rows.clear();
        return;
    }
    FreeInPieces(std::make_shared<std::vector<T>>(std::move(rows)));
    rows = std::vector<T>();
}
} // namespace

CQrTreeGridModel::CQrTreeGridModel(QObject* parent) : QAbstractItemModel(parent) {}

CQrTreeGridModel::~CQrTreeGridModel()
{
    ReleaseRows(m_rows);
}

void CQrTreeGridModel::SetHeaders(const QStringList& headers)
{
    beginResetModel();
    m_headers = headers;
    for (Row& r : m_rows)
        r.cells.resize(size_t(headers.size()));
    // merges and combos beyond the new width are harmless: lookups check the column
    endResetModel();
}

void CQrTreeGridModel::SetHeader(int col, const QString& text)
{
    if (col < 0 || col >= m_headers.size() || m_headers[col] == text)
        return;
    m_headers[col] = text;
    Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
}

int CQrTreeGridModel::AppendRow(int level)
{
    level = std::clamp(level, 1, 3);
    const int row = RowCount();
    int parentRow = row - 1;
    while (parentRow >= 0 && m_rows[size_t(parentRow)].level >= level)
        parentRow = m_rows[size_t(parentRow)].parent;
    const int pos = int(Children(parentRow).size());
    Row r;
    r.cells.resize(size_t(ColumnCount()));
    r.parent = parentRow;
    r.posInParent = pos;
    r.level = qint8(level);
    m_rows.push_back(std::move(r)); // may move every row: look the parent up afterwards
    (parentRow < 0 ? m_topRows : m_rows[size_t(parentRow)].children).push_back(row);
    if (m_bulk)
        return row;
    // the last row in insertion order is also the last in the shown list
    if (parentRow < 0 || (Expanded(parentRow) && Shown(parentRow))) {
        beginInsertRows(QModelIndex(), ShownCount(), ShownCount());
        m_shown.push_back(row);
        endInsertRows();
    }
    if (pos == 0 && parentRow >= 0)
        NotifyCell(parentRow, 0); // its expand mark appears
    return row;
}

bool CQrTreeGridModel::RemoveFlatRow(int row)
{
    if (!IsValidRow(row) || m_topRows.size() != m_rows.size())
        return false;
    const int shownPos = m_bulk ? -1 : ShownPos(row);
    if (shownPos >= 0)
        beginRemoveRows(QModelIndex(), shownPos, shownPos);
    m_rows.erase(m_rows.begin() + row);
    m_topRows.pop_back();
    auto later = std::lower_bound(m_shown.begin(), m_shown.end(), row);
    if (later != m_shown.end() && *later == row)
        later = m_shown.erase(later);
    for (; later != m_shown.end(); ++later)
        --*later;
    for (int r = row; r < RowCount(); ++r)
        m_rows[size_t(r)].posInParent = r;
    // Per-cell extras are keyed by row: the rows below move up by one.
    auto shift = [row](auto& map) {
        std::remove_reference_t<decltype(map)> moved;
        for (auto& [key, value] : map) {
            if (key.first == row)
                continue;
            moved.emplace(std::make_pair(key.first > row ? key.first - 1 : key.first, key.second), std::move(value));
        }
        map.swap(moved);
    };
    shift(m_combo);
    shift(m_toolTips);
    shift(m_merge);
    if (shownPos >= 0)
        endRemoveRows();
    return true;
}

void CQrTreeGridModel::Clear()
{
    if (!m_bulk)
        beginResetModel();
    ReleaseRows(m_rows);
    m_topRows.clear();
    m_shown = std::vector<int>();
    m_combo.clear();
    m_toolTips.clear();
    m_merge.clear();
    m_rowMerge.clear();
    if (!m_bulk)
        endResetModel();
}

int CQrTreeGridModel::LastChildRow(int row) const
{
    if (!IsValidRow(row))
        return -1;
    int last = row;
    while (!m_rows[size_t(last)].children.empty())
        last = m_rows[size_t(last)].children.back();
    return last;
}

const std::vector<int>& CQrTreeGridModel::Children(int row) const
{
    if (row < 0)
        return m_topRows;
    return IsValidRow(row) ? m_rows[size_t(row)].children : kNoChildren;
}

void CQrTreeGridModel::BeginBulk()
{
    if (m_bulk++ == 0)
        beginResetModel();
}

void CQrTreeGridModel::EndBulk()
{
    if (m_bulk > 0 && --m_bulk == 0) {
        RebuildShown();
        endResetModel();
    }
}

int CQrTreeGridModel::ShownPos(int row) const
{
    const auto it = std::lower_bound(m_shown.begin(), m_shown.end(), row);
    return it != m_shown.end() && *it == row ? int(it - m_shown.begin()) : -1;
}

void CQrTreeGridModel::RebuildShown()
{
    m_shown.clear();
    // parents come before their children, so one pass knows whether each parent is open
    std::vector<char> open(m_rows.size());
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const Row& row = m_rows[r];
        const bool shown = !row.hidden && (row.parent < 0 || open[size_t(row.parent)]);
        if (shown)
            m_shown.push_back(int(r));
        open[r] = shown && row.expanded;
    }
}

std::vector<int> CQrTreeGridModel::ShownBlock(int row, bool withRow) const
{
    std::vector<int> block;
    const int last = LastChildRow(row);
    std::vector<char> open(size_t(last - row + 1));
    open[0] = m_rows[size_t(row)].expanded;
    if (withRow)
        block.push_back(row);
    for (int r = row + 1; r <= last; ++r) {
        const Row& x = m_rows[size_t(r)];
        const bool shown = !x.hidden && open[size_t(x.parent - row)];
        if (shown)
            block.push_back(r);
        open[size_t(r - row)] = shown && x.expanded;
    }
    return block;
}

void CQrTreeGridModel::ShowBlock(int row, bool withRow)
{
    const std::vector<int> block = ShownBlock(row, withRow);
    if (block.empty())
        return;
    const auto at = std::upper_bound(m_shown.begin(), m_shown.end(), row);
    const int pos = int(at - m_shown.begin());
    beginInsertRows(QModelIndex(), pos, pos + int(block.size()) - 1);
    m_shown.insert(at, block.begin(), block.end());
    endInsertRows();
}

void CQrTreeGridModel::HideBlock(int row, bool withRow)
{
    const auto first = std::lower_bound(m_shown.begin(), m_shown.end(), withRow ? row : row + 1);
    const auto end = std::upper_bound(first, m_shown.end(), LastChildRow(row));
    if (first == end)
        return;
    const int pos = int(first - m_shown.begin());
    beginRemoveRows(QModelIndex(), pos, pos + int(end - first) - 1);
    m_shown.erase(first, end);
    endRemoveRows();
}

void CQrTreeGridModel::Relayout()
{
    if (m_bulk)
        return; // EndBulk rebuilds
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rows;
    rows.reserve(size_t(before.size()));
    for (const QModelIndex& i : before)
        rows.push_back(RowOf(i));
    RebuildShown();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype k = 0; k < before.size(); ++k)
        after << IndexOf(rows[size_t(k)], before[k].column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void CQrTreeGridModel::SetExpanded(int row, bool expanded)
{
    if (!IsValidRow(row) || m_rows[size_t(row)].expanded == expanded)
        return;
    m_rows[size_t(row)].expanded = expanded;
    if (m_bulk || !Shown(row))
        return;
    if (expanded)
        ShowBlock(row, false);
    else
        HideBlock(row, false);
    NotifyCell(row, 0);
}

void CQrTreeGridModel::SetAllExpanded(bool expanded)
{
    for (Row& r : m_rows)
        r.expanded = expanded;
    Relayout();
}

CQrTreeGridModel::Cell* CQrTreeGridModel::CellAt(int row, int col)
{
    return IsValidCell(row, col) ? &m_rows[size_t(row)].cells[size_t(col)] : nullptr;
}

const CQrTreeGridModel::Cell* CQrTreeGridModel::CellAt(int row, int col) const
{
    return IsValidCell(row, col) ? &m_rows[size_t(row)].cells[size_t(col)] : nullptr;
}

void CQrTreeGridModel::NotifyCell(int row, int col)
{
    NotifyCells(row, col, col);
}

void CQrTreeGridModel::NotifyCells(int row, int firstCol, int lastCol)
{
    if (m_bulk)
        return;
    const QModelIndex first = IndexOf(row, firstCol);
    if (first.isValid())
        Q_EMIT dataChanged(first, first.siblingAtColumn(lastCol));
}

void CQrTreeGridModel::SetText(int row, int col, const QString& text)
{
    if (Cell* c = CellAt(row, col)) {
        c->text = text;
        NotifyCell(row, col);
    }
}

QString CQrTreeGridModel::Text(int row, int col) const
{
    const Cell* c = CellAt(row, col);
    return c ? c->text : QString();
}

void CQrTreeGridModel::SetRowTexts(int row, const QStringList& texts)
{
    if (!IsValidRow(row))
        return;
    std::vector<Cell>& cells = m_rows[size_t(row)].cells;
    const int n = std::min(int(texts.size()), ColumnCount());
    for (int c = 0; c < n; ++c)
        cells[size_t(c)].text = texts[c];
    if (n > 0)
        NotifyCells(row, 0, n - 1);
}

void CQrTreeGridModel::SetImage(int row, int col, int image)
{
    if (Cell* c = CellAt(row, col)) {
        c->image = qint16(image < 0 ? -1 : std::min(image, 32767));
        NotifyCell(row, col);
    }
}

int CQrTreeGridModel::Image(int row, int col) const
{
    const Cell* c = CellAt(row, col);
    return c ? c->image : -1;
}

void CQrTreeGridModel::SetBackground(int row, int col, const QColor& color)
{
    if (Cell* c = CellAt(row, col)) {
        c->background = color.isValid() ? color.rgba() : 0;
        NotifyCell(row, col);
    }
}

QColor CQrTreeGridModel::Background(int row, int col) const
{
    const Cell* c = CellAt(row, col);
    if (!c || qAlpha(c->background) == 0)
        return {};
    return QColor::fromRgba(c->background);
}

void CQrTreeGridModel::SetCellFlag(int row, int col, quint8 flag, bool on)
{
    if (Cell* c = CellAt(row, col)) {
        c->flags = on ? quint8(c->flags | flag) : quint8(c->flags & ~flag);
        if (flag == FlagReadOnly && on)
            c->flags &= quint8(~FlagEditable);
        if (flag == FlagEditable && on)
            c->flags &= quint8(~FlagReadOnly);
        NotifyCell(row, col);
    }
}

bool CQrTreeGridModel::CellFlag(int row, int col, quint8 flag) const
{
    const Cell* c = CellAt(row, col);
    return c && (c->flags & flag);
}

void CQrTreeGridModel::SetToolTip(int row, int col, const QString& text)
{
    if (!IsValidCell(row, col))
        return;
    if (text.isEmpty())
        m_toolTips.erase({row, col});
    else
        m_toolTips[{row, col}] = text;
}

QString CQrTreeGridModel::ToolTip(int row, int col) const
{
    auto it = m_toolTips.find({row, col});
    return it == m_toolTips.end() ? QString() : it->second;
}

void CQrTreeGridModel::SetComboChoices(int row, int col, const QStringList& choices)
{
    if (!IsValidCell(row, col))
        return;
    m_combo[{row, col}] = choices;
    SetCellFlag(row, col, FlagCombo, true);
}

QStringList CQrTreeGridModel::ComboChoices(int row, int col) const
{
    auto it = m_combo.find({row, col});
    return it == m_combo.end() ? QStringList() : it->second;
}

void CQrTreeGridModel::SetMerge(int row, int firstCol, int lastCol)
{
    if (!IsValidCell(row, firstCol) || lastCol <= firstCol)
        return;
    lastCol = std::min(lastCol, ColumnCount() - 1);
    // a new merge replaces any that overlaps it on this row
    for (auto it = m_merge.lower_bound({row, 0}); it != m_merge.end() && it->first.first == row;) {
        if (it->first.second <= lastCol && it->second >= firstCol)
            it = m_merge.erase(it);
        else
            ++it;
    }
    m_merge[{row, firstCol}] = lastCol;
    NotifyCells(row, firstCol, lastCol);
}

std::pair<int, int> CQrTreeGridModel::MergeAt(int row, int col) const
{
    if (m_merge.empty())
        return {-1, -1};
    auto it = m_merge.upper_bound({row, col});
    if (it == m_merge.begin())
        return {-1, -1};
    --it;
    if (it->first.first == row && it->first.second <= col && it->second >= col)
        return {it->first.second, it->second};
    return {-1, -1};
}

bool CQrTreeGridModel::SetRowMerge(int col, int firstRow, int lastRow)
{
    if (!IsValidCell(firstRow, col) || !IsValidCell(lastRow, col) || lastRow <= firstRow)
        return false;
    const Row& first = m_rows[size_t(firstRow)];
    const Row& last = m_rows[size_t(lastRow)];
    // Siblings only: the painter spans from the first row's cell to the last one's, which is
    // one block on screen only when nothing of another parent lies between them.
    if (first.parent != last.parent)
        return false;
    // The merges of a column never overlap, so the ones a new merge replaces lie just before
    // the first merge that starts after it: a few steps back, whatever the number of merges.
    auto it = m_rowMerge.upper_bound({col, lastRow});
    while (it != m_rowMerge.begin()) {
        auto previous = std::prev(it);
        if (previous->first.first != col || previous->second < firstRow)
            break;
        m_rowMerge.erase(previous);
    }
    m_rowMerge[{col, firstRow}] = lastRow;
    if (!m_bulk) {
        const std::vector<int>& siblings = Children(first.parent);
        for (int pos = first.posInParent; pos <= last.posInParent; ++pos)
            NotifyCell(siblings[size_t(pos)], col);
    }
    return true;
}

std::pair<int, int> CQrTreeGridModel::RowMergeAt(int row, int col) const
{
    if (m_rowMerge.empty())
        return {-1, -1};
    auto it = m_rowMerge.upper_bound({col, row});
    if (it == m_rowMerge.begin())
        return {-1, -1};
    --it;
    if (it->first.first == col && it->first.second <= row && it->second >= row) {
        // a child row between two merged siblings is not covered
        if (m_rows[size_t(row)].parent != m_rows[size_t(it->first.second)].parent)
            return {-1, -1};
        return {it->first.second, it->second};
    }
    return {-1, -1};
}

void CQrTreeGridModel::SetRowData(int row, const QVariant& data)
{
    if (IsValidRow(row))
        m_rows[size_t(row)].data = data;
}

QVariant CQrTreeGridModel::RowData(int row) const
{
    return IsValidRow(row) ? m_rows[size_t(row)].data : QVariant();
}

void CQrTreeGridModel::SetRowHidden(int row, bool hidden)
{
    if (!IsValidRow(row) || m_rows[size_t(row)].hidden == hidden)
        return;
    m_rows[size_t(row)].hidden = hidden;
    const int parentRow = m_rows[size_t(row)].parent;
    if (m_bulk || (parentRow >= 0 && !(Expanded(parentRow) && Shown(parentRow))))
        return;
    if (hidden)
        HideBlock(row, true);
    else
        ShowBlock(row, true);
}

void CQrTreeGridModel::SetRowsHidden(const std::vector<std::pair<int, bool>>& changes)
{
    bool changed = false;
    for (const auto& [row, hidden] : changes) {
        if (IsValidRow(row) && m_rows[size_t(row)].hidden != hidden) {
            m_rows[size_t(row)].hidden = hidden;
            changed = true;
        }
    }
    if (changed)
        Relayout();
}

QModelIndex CQrTreeGridModel::IndexOf(int row, int col) const
{
    if (!IsValidCell(row, col))
        return {};
    const int pos = ShownPos(row);
    return pos < 0 ? QModelIndex() : createIndex(pos, col);
}

int CQrTreeGridModel::RowOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= ShownCount())
        return -1;
    return m_shown[size_t(index.row())];
}

QModelIndex CQrTreeGridModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= ShownCount() || column < 0 || column >= ColumnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex CQrTreeGridModel::parent(const QModelIndex&) const
{
    return {};
}

int CQrTreeGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ShownCount();
}

int CQrTreeGridModel::columnCount(const QModelIndex&) const
{
    return ColumnCount();
}

QVariant CQrTreeGridModel::data(const QModelIndex& index, int role) const
{
    const int row = RowOf(index);
    const Cell* c = CellAt(row, index.column());
    if (!c)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return c->text;
    case Qt::TextAlignmentRole:
        if (!m_rowMerge.empty() && RowMergeAt(row, index.column()).first >= 0)
            return int(Qt::AlignCenter);
        return {};
    case Qt::DecorationRole:
        if (c->image >= 0 && c->image < m_images.size())
            return m_images[c->image];
        return {};
    case ImageRole:
        return int(c->image);
    case Qt::BackgroundRole:
        if (qAlpha(c->background))
            return QColor::fromRgba(c->background);
        return {};
    case Qt::ForegroundRole:
        // the forms' light cell colours must stay readable under a dark look
        if (qAlpha(c->background))
            return QColor(qGray(c->background) > 128 ? Qt::black : Qt::white);
        return {};
    case Qt::ToolTipRole:
        if (!m_toolTips.empty())
            if (const QString tip = ToolTip(row, index.column()); !tip.isEmpty())
                return tip;
        return {};
    case Qt::CheckStateRole:
        if (c->flags & FlagCheck)
            return (c->flags & FlagChecked) ? Qt::Checked : Qt::Unchecked;
        return {};
    case ComboChoicesRole:
        if (c->flags & FlagCombo)
            return ComboChoices(row, index.column());
        return {};
    case MergeSpanRole: {
        const auto span = MergeAt(row, index.column());
        if (span.first < 0)
            return {};
        return QPoint(span.first, span.second);
    }
    case RowMergeSpanRole: {
        const auto span = RowMergeAt(row, index.column());
        if (span.first < 0)
            return {};
        return QPoint(span.first, span.second);
    }
    case RowDataRole:
        return m_rows[size_t(row)].data;
    default:
        return {};
    }
}

bool CQrTreeGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = RowOf(index);
    const int col = index.column();
    Cell* c = CellAt(row, col);
    if (!c)
        return false;
    if (role == Qt::EditRole) {
        const QString oldText = c->text;
        const QString newText = value.toString();
        if (oldText == newText)
            return true;
        c->text = newText;
        c->flags |= FlagModified;
        Q_EMIT dataChanged(index, index);
        Q_EMIT CellEdited(row, col, oldText, newText);
        return true;
    }
    if (role == Qt::CheckStateRole && (c->flags & FlagCheck)) {
        const bool checked = value.toInt() == Qt::Checked;
        if (bool(c->flags & FlagChecked) == checked)
            return true;
        c->flags = checked ? quint8(c->flags | FlagChecked) : quint8(c->flags & ~FlagChecked);
        Q_EMIT dataChanged(index, index);
        Q_EMIT CheckChanged(row, col, checked);
        return true;
    }
    return false;
}

Qt::ItemFlags CQrTreeGridModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags f = CellItemFlags(RowOf(index), index.column());
    // to the view every row is a leaf of one list
    return f ? f | Qt::ItemNeverHasChildren : f;
}

Qt::ItemFlags CQrTreeGridModel::CellItemFlags(int row, int col) const
{
    const Cell* c = CellAt(row, col);
    if (!c)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (c->flags & FlagCheck)
        f |= Qt::ItemIsUserCheckable;
    const bool editable = (c->flags & FlagEditable) || (m_defaultEditable && !(c->flags & FlagReadOnly));
    if (editable && !(c->flags & FlagCheck))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant CQrTreeGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The tooltip holds the whole header, for a column too narrow to show it.
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::ToolTipRole) && section >= 0 &&
        section < ColumnCount())
        return role == Qt::ToolTipRole && m_headers[section].isEmpty() ? QVariant() : QVariant(m_headers[section]);
    return QAbstractItemModel::headerData(section, orientation, role);
}

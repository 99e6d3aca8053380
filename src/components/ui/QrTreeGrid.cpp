#include "components/ui/QrTreeGrid.h"

#include "components/ExcelWriteHelper.h"
#include "components/ui/UiHooks.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws the tree's indentation and expand marks, paints merged-looking cells and gives combo
// cells a combo box editor.
class CTreeGridDelegate : public QStyledItemDelegate
{
public:
    explicit CTreeGridDelegate(CQrTreeGrid* view) : QStyledItemDelegate(view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& cell, const QModelIndex& index) const override
    {
        if (index.column() == 0)
            PaintTree(painter, cell, index);
        const QStyleOptionViewItem option = Content(cell, index);
        const QVariant rows = index.data(CQrTreeGridModel::RowMergeSpanRole);
        if (rows.isValid()) {
            PaintRowMerge(painter, option, index, rows.toPoint());
            return;
        }
        const QVariant span = index.data(CQrTreeGridModel::MergeSpanRole);
        if (!span.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // Each covered cell draws its slice of one cell spanning the merge, so the text
        // reads across the columns whatever order the view paints them in.
        const QPoint cols = span.toPoint();
        const QModelIndex first = index.siblingAtColumn(cols.x());
        const QModelIndex last = index.siblingAtColumn(cols.y());
        QRect firstRect = m_view->visualRect(first);
        if (cols.x() == 0)
            firstRect.setLeft(firstRect.left() + m_view->RowIndent(m_view->Model()->RowOf(index)));
        const QRect lastRect = m_view->visualRect(last);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, first);
        opt.rect = QRect(QPoint(firstRect.left(), option.rect.top()), QPoint(lastRect.right(), option.rect.bottom()));
        if (index != first) {
            opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        }
        painter->save();
        painter->setClipRect(option.rect);
        const QWidget* w = option.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() == 0)
            size.rwidth() += m_view->RowIndent(m_view->Model()->RowOf(index));
        return size;
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        return QStyledItemDelegate::editorEvent(event, model, Content(option, index), index);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        QStyledItemDelegate::updateEditorGeometry(editor, Content(option, index), index);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant choices = index.data(CQrTreeGridModel::ComboChoicesRole);
        if (!choices.isValid())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(choices.toStringList());
        // a choice ends the edit at once, as a drop-down list cell does
        connect(combo, &QComboBox::activated, combo, [this, combo](int) {
            auto* self = const_cast<CTreeGridDelegate*>(this);
            Q_EMIT self->commitData(combo);
            Q_EMIT self->closeEditor(combo);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findText(index.data(Qt::EditRole).toString());
            combo->setCurrentIndex(i);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentIndex() >= 0)
                model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    // The block of rows first..last in the index's column, in viewport coordinates.
    static QRect RowMergeRect(const QTreeView* view, const QModelIndex& index, const QPoint& rows)
    {
        const auto* model = static_cast<const CQrTreeGridModel*>(index.model());
        const QRect self = view->visualRect(index);
        const QRect top = view->visualRect(model->IndexOf(rows.x(), index.column()));
        const QRect bottom = view->visualRect(model->IndexOf(rows.y(), index.column()));
        // a hidden end row has no rectangle; the block then ends at this cell
        return QRect(QPoint(self.left(), top.isValid() ? top.top() : self.top()),
                     QPoint(self.right(), bottom.isValid() ? bottom.bottom() : self.bottom()));
    }

private:
    // The cell without the tree's indentation: where its content, check box and editor go.
    QStyleOptionViewItem Content(const QStyleOptionViewItem& cell, const QModelIndex& index) const
    {
        QStyleOptionViewItem opt = cell;
        if (index.column() == 0)
            opt.rect.setLeft(opt.rect.left() + m_view->RowIndent(m_view->Model()->RowOf(index)));
        return opt;
    }

    // As QTreeView draws its branches: the indentation keeps the view's base, shows the
    // selection where the look asks for it, and carries the expand mark in its last step.
    void PaintTree(QPainter* painter, const QStyleOptionViewItem& cell, const QModelIndex& index) const
    {
        const int row = m_view->Model()->RowOf(index);
        const int indent = m_view->RowIndent(row);
        if (indent <= 0)
            return;
        QStyle* style = m_view->style();
        if ((cell.state & QStyle::State_Selected) &&
            style->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &cell, m_view)) {
            QStyleOptionViewItem area = cell;
            area.rect.setWidth(indent);
            style->drawPrimitive(QStyle::PE_PanelItemViewRow, &area, painter, m_view);
        }
        const QRect mark = m_view->ExpandMarkRect(row, cell.rect);
        if (mark.isEmpty())
            return;
        QStyleOption branch;
        branch.rect = mark;
        branch.palette = cell.palette;
        branch.direction = cell.direction;
        branch.state = QStyle::State_Children | (cell.state & QStyle::State_Enabled);
        if (m_view->IsRowExpanded(row))
            branch.state |= QStyle::State_Open;
        style->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, painter, m_view);
    }

    // Every covered cell paints its slice of one cell over the whole block: one background,
    // no lines between the rows, the text once in the middle. The block looks selected when
    // the current cell lies in it, so it never shows half highlighted.
    void PaintRowMerge(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                       const QPoint& rows) const
    {
        const auto* model = static_cast<const CQrTreeGridModel*>(index.model());
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, model->IndexOf(rows.x(), index.column()));
        QRect block = RowMergeRect(m_view, index, rows);
        block.setLeft(option.rect.left()); // the tree's indentation stays outside
        opt.rect = block;
        opt.displayAlignment = Qt::AlignCenter;
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        const QModelIndex current = m_view->currentIndex();
        if (current.isValid() && current.column() == index.column() &&
            index.data(CQrTreeGridModel::RowMergeSpanRole) == current.data(CQrTreeGridModel::RowMergeSpanRole)) {
            if (m_view->selectionModel()->isSelected(current))
                opt.state |= QStyle::State_Selected;
            if (m_view->hasFocus())
                opt.state |= QStyle::State_HasFocus;
        }
        painter->save();
        painter->setClipRect(option.rect);
        const QWidget* w = option.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        painter->restore();
    }

    CQrTreeGrid* m_view;
};

QIcon MakeStatusIcon(const QColor& color, int shape)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(140));
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2));
    switch (shape) {
    case 0: // check
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5.5)}));
        break;
    case 1: // exclamation
        p.drawLine(QPointF(8, 4.5), QPointF(8, 9));
        p.drawPoint(QPointF(8, 11.5));
        break;
    case 2: // cross
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        break;
    case 3: // dot
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 6, 4, 4));
        break;
    case 4: // dash
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
        break;
    default: // question
        p.drawArc(QRectF(5.5, 3.5, 5, 5), 180 * 16, -250 * 16);
        p.drawLine(QPointF(8, 8.5), QPointF(8, 9.5));
        p.drawPoint(QPointF(8, 12));
        break;
    }
    return QIcon(pm);
}

} // namespace

QColor CQrTreeGrid::FromWinColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

CQrTreeGrid::CQrTreeGrid(QWidget* parent) : QTreeView(parent), m_model(new CQrTreeGridModel(this))
{
    setModel(m_model);
    QTreeView::setRootIsDecorated(false); // the delegate draws the tree
    setItemDelegate(new CTreeGridDelegate(this));
    setUniformRowHeights(true); // keeps 100,000-row trees fast to lay out
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setAllColumnsShowFocus(false);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    m_model->SetImageList(DefaultImages());
    connect(m_model, &CQrTreeGridModel::CellEdited, this, &CQrTreeGrid::CellEdited);
    connect(m_model, &CQrTreeGridModel::CheckChanged, this, &CQrTreeGrid::CheckChanged);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { Q_EMIT CellClicked(m_model->RowOf(i), i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { Q_EMIT CellDoubleClicked(m_model->RowOf(i), i.column()); });
}

void CQrTreeGrid::SetColumns(const QStringList& headers)
{
    m_model->SetHeaders(headers);
}

QString CQrTreeGrid::GetColumnHeader(int col) const
{
    return col >= 0 && col < GetColumnCount() ? m_model->Headers()[col] : QString();
}

void CQrTreeGrid::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= GetColumnCount())
        return;
    setColumnHidden(col, width <= 0);
    if (width > 0)
        setColumnWidth(col, width);
}

int CQrTreeGrid::GetColumnWidth(int col) const
{
    return isColumnHidden(col) ? 0 : columnWidth(col);
}

void CQrTreeGrid::AutoSizeColumns()
{
    const int n = GetColumnCount();
    for (int c = 0; c + 1 < n; ++c) {
        if (!isColumnHidden(c))
            resizeColumnToContents(c);
    }
    header()->setStretchLastSection(true);
}

int CQrTreeGrid::InsertRow(int level)
{
    return m_model->AppendRow(level);
}

int CQrTreeGrid::InsertRow(int level, const QStringList& texts)
{
    const int row = m_model->AppendRow(level);
    m_model->SetRowTexts(row, texts);
    return row;
}

void CQrTreeGrid::DeleteAllItems()
{
    m_model->Clear();
}

int CQrTreeGrid::GetParentTopRow(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return -1;
    while (m_model->ParentRow(row) >= 0)
        row = m_model->ParentRow(row);
    return row;
}

void CQrTreeGrid::BeginUpdate()
{
    setUpdatesEnabled(false);
    m_model->BeginBulk();
}

void CQrTreeGrid::EndUpdate()
{
    m_model->EndBulk();
    if (!m_model->InBulk())
        setUpdatesEnabled(true);
}

std::vector<int> CQrTreeGrid::GetSelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
        rows.push_back(m_model->RowOf(i));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty() && rows.front() < 0)
        rows.erase(rows.begin());
    return rows;
}

void CQrTreeGrid::SetBkColorRow(int row, const QColor& color)
{
    for (int c = 0; c < GetColumnCount(); ++c)
        m_model->SetBackground(row, c, color);
}

void CQrTreeGrid::SetEditableCell(int row, int col)
{
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagEditable, true);
}

void CQrTreeGrid::SetReadOnlyCell(int row, int col, const QColor& background)
{
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagReadOnly, true);
    if (background.isValid())
        m_model->SetBackground(row, col, background);
}

void CQrTreeGrid::SetReadOnlyRow(int row, const QColor& background)
{
    for (int c = 0; c < GetColumnCount(); ++c)
        SetReadOnlyCell(row, c, background);
}

bool CQrTreeGrid::IsReadOnlyCell(int row, int col) const
{
    return !(m_model->CellItemFlags(row, col) & Qt::ItemIsEditable);
}

void CQrTreeGrid::SetModified(int row, int col, bool modified)
{
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagModified, modified);
}

bool CQrTreeGrid::GetModified(int row, int col) const
{
    return m_model->CellFlag(row, col, CQrTreeGridModel::FlagModified);
}

void CQrTreeGrid::EditingCell(int row, int col)
{
    RevealRow(row);
    const QModelIndex i = m_model->IndexOf(row, col);
    if (!i.isValid())
        return;
    scrollTo(i);
    setCurrentIndex(i);
    edit(i);
}

void CQrTreeGrid::SetCheckCellStyle(int row, int col, bool checked)
{
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagCheck, true);
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagChecked, checked);
}

void CQrTreeGrid::SetCheckCellVal(int row, int col, bool checked)
{
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagChecked, checked);
}

bool CQrTreeGrid::GetCheckCellVal(int row, int col) const
{
    return m_model->CellFlag(row, col, CQrTreeGridModel::FlagCheck) &&
           m_model->CellFlag(row, col, CQrTreeGridModel::FlagChecked);
}

void CQrTreeGrid::SetComboCellStyle(int row, int col, const QStringList& choices)
{
    m_model->SetComboChoices(row, col, choices);
    m_model->SetCellFlag(row, col, CQrTreeGridModel::FlagEditable, true);
}

void CQrTreeGrid::SetImageList(const QList<QIcon>& images)
{
    m_model->SetImageList(images);
    viewport()->update();
}

QList<QIcon> CQrTreeGrid::DefaultImages()
{
    static const QList<QIcon> images = {
        MakeStatusIcon(QColor(0x2e, 0xa0, 0x43), 0), // 0 done
        MakeStatusIcon(QColor(0xe0, 0xa8, 0x00), 1), // 1 attention
        MakeStatusIcon(QColor(0xd0, 0x32, 0x32), 2), // 2 failed / missing
        MakeStatusIcon(QColor(0x2f, 0x6f, 0xd0), 3), // 3 information
        MakeStatusIcon(QColor(0x8a, 0x8a, 0x8a), 4), // 4 none / skipped
        MakeStatusIcon(QColor(0xe0, 0x70, 0x20), 5), // 5 unknown
    };
    return images;
}

int CQrTreeGrid::GetCurrentRow() const
{
    return m_model->RowOf(currentIndex());
}

int CQrTreeGrid::GetCurrentColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void CQrTreeGrid::SetFocusCell(int row, int col)
{
    RevealRow(row);
    const QModelIndex i = m_model->IndexOf(row, col);
    if (i.isValid())
        setCurrentIndex(i);
}

void CQrTreeGrid::SetScrollToCell(int row, int col)
{
    RevealRow(row);
    const QModelIndex i = m_model->IndexOf(row, col);
    if (i.isValid())
        scrollTo(i, QAbstractItemView::PositionAtCenter);
}

void CQrTreeGrid::ExpandRow(int row, bool expand)
{
    // a current cell folded away would leave the keys nowhere to start: it moves up to the row
    const int current = GetCurrentRow();
    if (!expand && current > row && current <= m_model->LastChildRow(row) && m_model->Shown(row))
        setCurrentIndex(m_model->IndexOf(row, std::max(0, GetCurrentColumn())));
    m_model->SetExpanded(row, expand);
}

void CQrTreeGrid::collapseAll()
{
    const int current = GetCurrentRow();
    if (current >= 0 && m_model->ParentRow(current) >= 0)
        setCurrentIndex(m_model->IndexOf(GetParentTopRow(current), std::max(0, GetCurrentColumn())));
    m_model->SetAllExpanded(false);
}

void CQrTreeGrid::RevealRow(int row)
{
    // inner parents first: while an outer one is collapsed they only change state, and the
    // outermost then shows the whole block in one insert
    for (int parent = m_model->ParentRow(row); parent >= 0; parent = m_model->ParentRow(parent))
        m_model->SetExpanded(parent, true);
}

void CQrTreeGrid::ExpandSubtree(int row)
{
    for (int r = m_model->LastChildRow(row); r > row; --r) {
        if (m_model->HasChildren(r))
            m_model->SetExpanded(r, true);
    }
    m_model->SetExpanded(row, true);
}

void CQrTreeGrid::setRootIsDecorated(bool show)
{
    m_decorated = show;
    viewport()->update();
}

int CQrTreeGrid::RowIndent(int row) const
{
    const int level = m_model->Level(row);
    if (level <= 0)
        return 0;
    return (level - 1 + (m_decorated ? 1 : 0)) * indentation();
}

QRect CQrTreeGrid::ExpandMarkRect(int row, const QRect& cell) const
{
    const int indent = RowIndent(row);
    if (!m_model->HasChildren(row) || indent <= 0 || (!m_decorated && m_model->Level(row) == 1))
        return {};
    return QRect(cell.left() + indent - indentation(), cell.top(), indentation(), cell.height());
}

int CQrTreeGrid::ExpandMarkAt(const QPoint& pos) const
{
    const QModelIndex i = indexAt(pos);
    if (!i.isValid() || i.column() != 0)
        return -1;
    const int row = m_model->RowOf(i);
    return ExpandMarkRect(row, visualRect(i)).contains(pos) ? row : -1;
}

void CQrTreeGrid::mousePressEvent(QMouseEvent* event)
{
    const int row = ExpandMarkAt(event->position().toPoint());
    if (row >= 0 && event->button() == Qt::LeftButton && itemsExpandable()) {
        ExpandRow(row, !m_model->Expanded(row));
        m_markPressed = true;
        event->accept();
        return;
    }
    m_markPressed = false;
    QTreeView::mousePressEvent(event);
}

void CQrTreeGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (m_markPressed && (event->buttons() & Qt::LeftButton))
        return; // would drag a selection from an earlier press
    QTreeView::mouseMoveEvent(event);
}

void CQrTreeGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_markPressed) {
        // the view still holds the cell of an earlier press and would report a click on it
        m_markPressed = false;
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void CQrTreeGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (ExpandMarkAt(pos) >= 0) {
        mousePressEvent(event); // a quick second click on the mark toggles again
        return;
    }
    const QPersistentModelIndex pressed(indexAt(pos));
    QTreeView::mouseDoubleClickEvent(event);
    // as QTreeView: a double click that opened no editor folds the row (the handlers of the
    // click may have rebuilt the grid, so the row is looked up again)
    if (!pressed.isValid() || state() != NoState || !itemsExpandable() || !expandsOnDoubleClick() ||
        event->button() != Qt::LeftButton)
        return;
    const int row = m_model->RowOf(pressed);
    if (m_model->HasChildren(row))
        ExpandRow(row, !m_model->Expanded(row));
}

void CQrTreeGrid::keyPressEvent(QKeyEvent* event)
{
    const int row = m_model->RowOf(currentIndex());
    if (row >= 0 && itemsExpandable() && m_model->HasChildren(row)) {
        switch (event->key()) {
        case Qt::Key_Asterisk:
            ExpandSubtree(row);
            break;
        case Qt::Key_Plus:
            ExpandRow(row, true);
            break;
        case Qt::Key_Minus:
            ExpandRow(row, false);
            break;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

std::vector<QStringList> CQrTreeGrid::GetAllRowsText() const
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(GetRowCount()) + 1);
    rows.push_back(m_model->Headers());
    const int cols = GetColumnCount();
    // insertion order already puts every child right after its parent's earlier children
    for (int r = 0; r < GetRowCount(); ++r) {
        QStringList texts;
        texts.reserve(cols);
        for (int c = 0; c < cols; ++c)
            texts << m_model->Text(r, c);
        rows.push_back(std::move(texts));
    }
    return rows;
}

QString CQrTreeGrid::ExportExcelSheet(const QString& path, QString* error)
{
    QString target = path;
    if (target.isEmpty()) {
        target = CQrFileDialog::GetExportFileName(this);
        if (target.isEmpty())
            return {};
    }
    QString why;
    if (!SaveSheetXlsx(target, GetAllRowsText(), &why)) {
        if (error)
            *error = why;
        return {};
    }
    return target;
}

QModelIndex CQrTreeGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if ((action == MoveLeft || action == MoveRight) && current.column() == 0 && itemsExpandable()) {
        // in the tree column the arrows fold and unfold, and Left climbs to the parent
        const int row = m_model->RowOf(current);
        const bool open = m_model->Expanded(row);
        if (m_model->HasChildren(row) && open == (action == MoveLeft)) {
            ExpandRow(row, !open);
            return current;
        }
        if (action == MoveLeft && m_model->ParentRow(row) >= 0)
            return m_model->IndexOf(m_model->ParentRow(row), 0);
    }
    if (action != MoveNext && action != MovePrevious)
        return QTreeView::moveCursor(action, modifiers);
    const int columns = m_model->ColumnCount();
    if (!current.isValid() || columns == 0)
        return QTreeView::moveCursor(action, modifiers);
    // the view has left the editing state by the time it asks where Tab goes
    const bool editing = m_tabbingFromEditor || state() == EditingState;
    const int step = action == MoveNext ? 1 : -1;
    int row = m_model->RowOf(current);
    int col = current.column();
    // at most one pass over the grid; a row without an editable cell is passed over
    for (long guard = long(m_model->RowCount()) * columns; guard > 0; --guard) {
        col += step;
        if (col >= columns || col < 0) {
            row += step;
            col = step > 0 ? 0 : columns - 1;
        }
        if (row < 0 || row >= m_model->RowCount())
            return current;
        if (m_model->RowHidden(row) || isColumnHidden(col) || columnWidth(col) == 0)
            continue;
        const QModelIndex next = m_model->IndexOf(row, col);
        if (!next.isValid() || isIndexHidden(next)) // not shown: hidden or under a collapsed row
            continue;
        if (editing && !(next.flags() & Qt::ItemIsEditable))
            continue;
        return next;
    }
    return current;
}

void CQrTreeGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    m_tabbingFromEditor =
        hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTreeView::closeEditor(editor, hint);
    m_tabbingFromEditor = false;
}

void CQrTreeGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    // a merged block's highlight follows the current cell: repaint the whole block
    for (const QModelIndex& i : {current, previous}) {
        const QVariant rows = i.data(CQrTreeGridModel::RowMergeSpanRole);
        if (rows.isValid())
            viewport()->update(CTreeGridDelegate::RowMergeRect(this, i, rows.toPoint()));
    }
}

void CQrTreeGrid::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex i = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (i.isValid() && !selectionModel()->isSelected(i))
        setCurrentIndex(i);
    Q_EMIT ContextMenuRequested(m_model->RowOf(i), i.isValid() ? i.column() : -1, event->globalPos());
    event->accept();
}

namespace GlobalFunc {

QAction* AppendContextMenu(QMenu* menu, int command, int image, const QString& text)
{
    if (!menu)
        return nullptr;
    QAction* action = menu->addAction(text);
    action->setData(command);
    const QList<QIcon> images = CQrTreeGrid::DefaultImages();
    if (image >= 0 && image < images.size())
        action->setIcon(images[image]);
    return action;
}

void AutoSizeColumns(CQrTreeGrid* grid)
{
    if (grid)
        grid->AutoSizeColumns();
}

} // namespace GlobalFunc

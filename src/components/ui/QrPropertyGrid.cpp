#include "components/ui/QrPropertyGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {
constexpr int IdRole = Qt::UserRole + 1;
constexpr int KindRole = Qt::UserRole + 2;
constexpr int ChoiceTextsRole = Qt::UserRole + 3;
constexpr int ChoiceValuesRole = Qt::UserRole + 4;
constexpr int ValueRole = Qt::UserRole + 5; // list value, or the full multi-line text
constexpr int kValueCol = 1;
constexpr int kButtonCol = 2;

QString OneLine(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\n', QStringLiteral(" \u21b5 "));
    return s;
}

// Editors by item kind, only in the value column.
class CPropertyDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() != kValueCol)
            return nullptr;
        const int kind = index.siblingAtColumn(0).data(KindRole).toInt();
        switch (kind) {
        case CQrPropertyGrid::KindText:
            return QStyledItemDelegate::createEditor(parent, option, index);
        case CQrPropertyGrid::KindMultiline: {
            auto* edit = new QPlainTextEdit(parent);
            edit->setTabChangesFocus(true);
            return edit;
        }
        case CQrPropertyGrid::KindList: {
            auto* combo = new QComboBox(parent);
            combo->addItems(index.data(ChoiceTextsRole).toStringList());
            connect(combo, &QComboBox::activated, combo, [this, combo](int) {
                auto* self = const_cast<CPropertyDelegate*>(this);
                Q_EMIT self->commitData(combo);
                Q_EMIT self->closeEditor(combo);
            });
            return combo;
        }
        default:
            return nullptr;
        }
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        QRect r = option.rect;
        if (qobject_cast<QPlainTextEdit*>(editor))
            r.setHeight(std::max(r.height() * 4, 80));
        editor->setGeometry(r);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(editor)) {
            edit->setPlainText(index.data(ValueRole).toString());
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const QVariantList values = index.data(ChoiceValuesRole).toList();
            combo->setCurrentIndex(int(values.indexOf(index.data(ValueRole))));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(editor)) {
            const QString text = edit->toPlainText();
            model->setData(index, text, ValueRole);
            model->setData(index, OneLine(text), Qt::DisplayRole);
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const QVariantList values = index.data(ChoiceValuesRole).toList();
            const int i = combo->currentIndex();
            if (i >= 0 && i < values.size()) {
                model->setData(index, values[i], ValueRole);
                model->setData(index, combo->currentText(), Qt::DisplayRole);
            }
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};
} // namespace

CQrPropertyGrid::CQrPropertyGrid(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(3);
    setHeaderHidden(true);
    setItemDelegate(new CPropertyDelegate(this));
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(false);
    setUniformRowHeights(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    header()->setSectionResizeMode(kValueCol, QHeaderView::Stretch);
    header()->setSectionResizeMode(kButtonCol, QHeaderView::ResizeToContents);
    setColumnWidth(0, 220);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column == kValueCol)
            Q_EMIT ValueChanged(item);
    });
    // a single click on the value opens its editor, as property grids do
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
        if (column == kValueCol && (item->flags() & Qt::ItemIsEditable))
            editItem(item, kValueCol);
    });
}

QTreeWidgetItem* CQrPropertyGrid::NewItem(QTreeWidgetItem* parent, const QString& caption, int kind, int id)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, caption);
    item->setData(0, IdRole, id);
    item->setData(0, KindRole, kind);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddCategory(const QString& caption, QTreeWidgetItem* parent, int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindCategory, id);
    QFont f = font();
    f.setBold(true);
    item->setFont(0, f);
    const QBrush band = palette().brush(QPalette::AlternateBase);
    for (int c = 0; c < columnCount(); ++c)
        item->setBackground(c, band);
    item->setFirstColumnSpanned(true);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddTextItem(QTreeWidgetItem* parent, const QString& caption, const QString& value,
                                              int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindText, id);
    item->setText(kValueCol, value);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddMultilineItem(QTreeWidgetItem* parent, const QString& caption,
                                                   const QString& value, int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindMultiline, id);
    item->setData(kValueCol, ValueRole, value);
    item->setText(kValueCol, OneLine(value));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddCheckItem(QTreeWidgetItem* parent, const QString& caption, bool checked, int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindCheck, id);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kValueCol, checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddListItem(QTreeWidgetItem* parent, const QString& caption, const Choices& choices,
                                              int value, int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindList, id);
    QStringList texts;
    QVariantList values;
    for (const auto& [text, v] : choices) {
        texts << text;
        values << v;
    }
    item->setData(kValueCol, ChoiceTextsRole, texts);
    item->setData(kValueCol, ChoiceValuesRole, values);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    SetListValue(item, value);
    return item;
}

QTreeWidgetItem* CQrPropertyGrid::AddLabelItem(QTreeWidgetItem* parent, const QString& caption, const QString& value,
                                               int id)
{
    QTreeWidgetItem* item = NewItem(parent, caption, KindLabel, id);
    item->setText(kValueCol, value);
    return item;
}

void CQrPropertyGrid::AddInplaceButton(QTreeWidgetItem* item, int buttonId, const QString& caption)
{
    if (!item)
        return;
    QWidget* box = itemWidget(item, kButtonCol);
    if (!box) {
        box = new QWidget;
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        setItemWidget(item, kButtonCol, box);
    }
    auto* button = new QToolButton(box);
    button->setText(caption);
    button->setAutoRaise(false);
    button->setProperty("buttonId", buttonId);
    box->layout()->addWidget(button);
    // the item may move (siblings removed), so look it up through the widget, not a captured index
    connect(button, &QToolButton::clicked, this, [this, box, buttonId] {
        for (QTreeWidgetItemIterator it(this); *it; ++it) {
            if (itemWidget(*it, kButtonCol) == box) {
                Q_EMIT InplaceButtonClicked(*it, buttonId);
                return;
            }
        }
    });
}

void CQrPropertyGrid::RemoveItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (currentItem() == item || (currentItem() && currentItem()->parent() == item))
        setCurrentItem(nullptr);
    delete item;
}

QTreeWidgetItem* CQrPropertyGrid::FindItem(int id) const
{
    for (QTreeWidgetItemIterator it(const_cast<CQrPropertyGrid*>(this)); *it; ++it) {
        if (ItemId(*it) == id)
            return *it;
    }
    return nullptr;
}

int CQrPropertyGrid::ItemId(const QTreeWidgetItem* item)
{
    return item ? item->data(0, IdRole).toInt() : 0;
}

int CQrPropertyGrid::ItemKind(const QTreeWidgetItem* item)
{
    return item ? item->data(0, KindRole).toInt() : 0;
}

QString CQrPropertyGrid::GetValue(const QTreeWidgetItem* item) const
{
    if (!item)
        return {};
    if (ItemKind(item) == KindMultiline)
        return item->data(kValueCol, ValueRole).toString();
    return item->text(kValueCol);
}

void CQrPropertyGrid::SetValue(QTreeWidgetItem* item, const QString& value)
{
    if (!item)
        return;
    if (ItemKind(item) == KindMultiline) {
        item->setData(kValueCol, ValueRole, value);
        item->setText(kValueCol, OneLine(value));
        return;
    }
    item->setText(kValueCol, value);
}

bool CQrPropertyGrid::IsChecked(const QTreeWidgetItem* item) const
{
    return item && ItemKind(item) == KindCheck && item->checkState(kValueCol) == Qt::Checked;
}

void CQrPropertyGrid::SetChecked(QTreeWidgetItem* item, bool checked)
{
    if (item && ItemKind(item) == KindCheck)
        item->setCheckState(kValueCol, checked ? Qt::Checked : Qt::Unchecked);
}

int CQrPropertyGrid::GetListValue(const QTreeWidgetItem* item) const
{
    if (!item || ItemKind(item) != KindList)
        return -1;
    const QVariant v = item->data(kValueCol, ValueRole);
    return v.isValid() ? v.toInt() : -1;
}

void CQrPropertyGrid::SetListValue(QTreeWidgetItem* item, int value)
{
    if (!item || ItemKind(item) != KindList)
        return;
    const QStringList texts = item->data(kValueCol, ChoiceTextsRole).toStringList();
    const QVariantList values = item->data(kValueCol, ChoiceValuesRole).toList();
    const int i = int(values.indexOf(QVariant(value)));
    if (i < 0) {
        // not one of the choices: shown as the number, kept as given
        item->setData(kValueCol, ValueRole, value);
        item->setText(kValueCol, QString::number(value));
        return;
    }
    item->setData(kValueCol, ValueRole, value);
    item->setText(kValueCol, texts.value(i));
}

CQrPropertyGrid::Choices CQrPropertyGrid::GetChoices(const QTreeWidgetItem* item) const
{
    Choices out;
    if (!item)
        return out;
    const QStringList texts = item->data(kValueCol, ChoiceTextsRole).toStringList();
    const QVariantList values = item->data(kValueCol, ChoiceValuesRole).toList();
    for (int i = 0; i < texts.size() && i < values.size(); ++i)
        out.append({texts[i], values[i].toInt()});
    return out;
}

void CQrPropertyGrid::EditValue(QTreeWidgetItem* item)
{
    if (!item)
        return;
    scrollToItem(item);
    setCurrentItem(item, kValueCol);
    if (item->flags() & Qt::ItemIsEditable)
        editItem(item, kValueCol);
}

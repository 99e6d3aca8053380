#pragma once
// Property grid: categories holding caption/value items (text, multi-line text, check box,
// list of (text, value) choices), in-place buttons beside an item, child items, and numeric
// item ids through which callers find items again.
#include <QList>
#include <QPair>
#include <QTreeWidget>

class CQrPropertyGrid : public QTreeWidget
{
    Q_OBJECT
public:
    enum Kind { KindCategory = 1, KindText, KindMultiline, KindCheck, KindList, KindLabel };
    using Choices = QList<QPair<QString, int>>;

    explicit CQrPropertyGrid(QWidget* parent = nullptr);

    // parent null: a top-level category.
    QTreeWidgetItem* AddCategory(const QString& caption, QTreeWidgetItem* parent = nullptr, int id = 0);
    QTreeWidgetItem* AddTextItem(QTreeWidgetItem* parent, const QString& caption, const QString& value, int id = 0);
    QTreeWidgetItem* AddMultilineItem(QTreeWidgetItem* parent, const QString& caption, const QString& value,
                                      int id = 0);
    QTreeWidgetItem* AddCheckItem(QTreeWidgetItem* parent, const QString& caption, bool checked, int id = 0);
    QTreeWidgetItem* AddListItem(QTreeWidgetItem* parent, const QString& caption, const Choices& choices, int value,
                                 int id = 0);
    // A caption with a read-only value (e.g. an item that only holds children and buttons).
    QTreeWidgetItem* AddLabelItem(QTreeWidgetItem* parent, const QString& caption, const QString& value = QString(),
                                  int id = 0);
    // A small button at the right end of the item; clicking it emits InplaceButtonClicked.
    void AddInplaceButton(QTreeWidgetItem* item, int buttonId, const QString& caption);
    void RemoveItem(QTreeWidgetItem* item);

    // First item with the id in display order (depth first), or null.
    QTreeWidgetItem* FindItem(int id) const;
    static int ItemId(const QTreeWidgetItem* item);
    static int ItemKind(const QTreeWidgetItem* item);

    QString GetValue(const QTreeWidgetItem* item) const; // text items; a list item's shown text
    void SetValue(QTreeWidgetItem* item, const QString& value);
    bool IsChecked(const QTreeWidgetItem* item) const;
    void SetChecked(QTreeWidgetItem* item, bool checked);
    int GetListValue(const QTreeWidgetItem* item) const; // the chosen constraint's value, -1 when none
    void SetListValue(QTreeWidgetItem* item, int value);
    Choices GetChoices(const QTreeWidgetItem* item) const;

    // Starts editing the item's value (a new text item the user should type into).
    void EditValue(QTreeWidgetItem* item);

Q_SIGNALS:
    void InplaceButtonClicked(QTreeWidgetItem* item, int buttonId);
    void ValueChanged(QTreeWidgetItem* item);

private:
    QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const QString& caption, int kind, int id);
};

#include "dictionary/ui/ReviewDlgUtil.h"

#include "components/ui/QrTreeGrid.h"
#include "dictionary/ui/DomainManageDlg.h"
#include "dictionary/ui/WordManageDlg.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ReviewDlgUtil {

QLineEdit* MakeSearchEdit(QWidget* parent, const QString& prompt, std::function<void()> search)
{
    auto* edit = new QLineEdit(parent);
    edit->setPlaceholderText(prompt);
    edit->setClearButtonEnabled(true);
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [edit, search] {
        if (!edit->text().isEmpty())
            search();
    });
    return edit;
}

bool ShowHit(CQrTreeGrid* grid, const ReviewSearchHit& hit)
{
    if (!hit.found())
        return false;
    grid->SetScrollToCell(hit.row, hit.column);
    grid->SetFocusCell(hit.row, hit.column);
    grid->setFocus();
    return true;
}

void MergeGroups(CQrTreeGrid* grid, int col, const std::vector<int>& groupOfRow)
{
    const int count = int(groupOfRow.size());
    for (int first = 0; first < count;) {
        int last = first;
        while (last + 1 < count && groupOfRow[size_t(last + 1)] == groupOfRow[size_t(first)])
            ++last;
        if (last > first)
            grid->MergeRowCells(col, first, last);
        first = last + 1;
    }
}

void NoDefaultButtons(QDialog* dialog)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void LayOut(QDialog* dialog, const QString& searchLabel, QLineEdit* search, QWidget* view, const QString& listTitle,
            QWidget* grid, QPushButton* manage, std::initializer_list<QPushButton*> rightButtons)
{
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(searchLabel, dialog));
    top->addWidget(search, 1);
    if (view)
        top->addWidget(view);
    auto* group = new QGroupBox(listTitle, dialog);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(manage);
    buttons->addStretch();
    for (QPushButton* button : rightButtons)
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(top);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    NoDefaultButtons(dialog);
}

} // namespace ReviewDlgUtil

// The management dialogs are built elsewhere; these two calls are where they plug in.
int OpenWordManageDialog(QWidget* parent)
{
    return CWordManageDlg(parent).exec();
}

int OpenDomainManageDialog(QWidget* parent)
{
    return CDomainManageDlg(parent).exec();
}

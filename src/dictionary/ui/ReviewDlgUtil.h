#pragma once
// Pieces the dictionary review dialogs share: their frame, the search box, showing a search hit,
// the group key cells merged over their rows, and the management dialogs they open.
#include "components/ReviewSearch.h"

#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

class CQrTreeGrid;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ReviewDlgUtil {
// A search edit with the prompt; Enter in it calls search (an empty text does nothing).
QLineEdit* MakeSearchEdit(QWidget* parent, const QString& prompt, std::function<void()> search);
// Scrolls to, selects and focuses the hit's cell. False when nothing was found.
bool ShowHit(CQrTreeGrid* grid, const ReviewSearchHit& hit);
// Merges the column's cells over each run of rows with the same group number.
void MergeGroups(CQrTreeGrid* grid, int col, const std::vector<int>& groupOfRow);
// Enter in the search box must search, not press a button and close the dialog.
void NoDefaultButtons(QDialog* dialog);
// Lays out the dialog: the search row (label, box, then view when not null), the grid in a
// group titled listTitle, manage on the left of the button row and the others on its right.
// No button is left a default one.
void LayOut(QDialog* dialog, const QString& searchLabel, QLineEdit* search, QWidget* view, const QString& listTitle,
            QWidget* grid, QPushButton* manage, std::initializer_list<QPushButton*> rightButtons);
} // namespace ReviewDlgUtil

// The word and domain management dialogs, modal. The result is the dialog's: QDialog::Accepted
// means the dictionary may have changed. Until they exist they say so and return Rejected.
int OpenWordManageDialog(QWidget* parent);
int OpenDomainManageDialog(QWidget* parent);

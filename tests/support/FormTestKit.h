#pragma once
// Helpers for widget tests of forms and dialogs: answers for message boxes, file dialogs and
// popup menus, real clicks on buttons and grid cells, and modal dialogs handled while open.
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

// Installs the hooks for the test's lifetime and records what the program showed.
class UiScript
{
public:
    UiScript()
    {
        CQrMessageBox::SetHook([this](QMessageBox::Icon icon, const QString& text) {
            messages.push_back(text);
            icons.push_back(icon);
            if (icon != QMessageBox::Question)
                return QMessageBox::Ok;
            if (!buttons.empty()) {
                const QMessageBox::StandardButton button = buttons.front();
                buttons.pop_front();
                return button;
            }
            const bool yes = answers.empty() ? false : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return yes ? QMessageBox::Yes : QMessageBox::No;
        });
        CQrFileDialog::SetHook([this](bool save, const QString& filter) {
            filters.push_back(filter);
            saves.push_back(save);
            if (paths.empty())
                return QString();
            const QString path = paths.front();
            paths.pop_front();
            return path;
        });
        CQrPopupMenu::SetHook([this](QMenu* menu) -> QAction* {
            QStringList texts;
            for (QAction* action : menu->actions())
                texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            menus.push_back(texts);
            if (choices.empty())
                return nullptr;
            const QString choice = choices.front();
            choices.pop_front();
            return CQrPopupMenu::FindAction(menu, choice);
        });
        CQrShell::SetHook([this](const QString& path) { opened.push_back(path); });
    }
    ~UiScript()
    {
        CQrMessageBox::SetHook({});
        CQrFileDialog::SetHook({});
        CQrPopupMenu::SetHook({});
        CQrShell::SetHook({});
    }
    QString LastMessage() const { return messages.empty() ? QString() : messages.back(); }

    std::deque<QMessageBox::StandardButton> buttons; // questions' answers, before those of answers
    std::deque<bool> answers;                        // Yes/No questions in order; No when none left
    std::deque<QString> paths;                       // file dialog answers in order; cancel when none left
    std::deque<QString> choices;                     // popup menu items in order; nothing chosen when none left
    std::vector<QString> messages;
    std::vector<QMessageBox::Icon> icons;
    std::vector<QString> filters;
    std::vector<bool> saves;
    std::vector<QStringList> menus;
    std::vector<QString> opened;
};

inline void Click(QAbstractButton* button)
{
    // Near the left edge: a check box reacts only on its box and its text.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(10, button->width() / 2), button->height() / 2));
}

inline QPoint CellCenter(CQrTreeGrid* grid, int row, int col)
{
    const QModelIndex index = grid->Model()->IndexOf(row, col);
    grid->scrollTo(index);
    return grid->visualRect(index).center();
}

// A right click on a cell, as the mouse gives it.
inline void RightClickCell(CQrTreeGrid* grid, int row, int col)
{
    const QPoint pos = CellCenter(grid, row, col);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, pos);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, grid->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(grid->viewport(), &event);
}

inline void ClickCell(CQrTreeGrid* grid, int row, int col)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(grid, row, col));
}

// Types a text into a cell through its in-place editor and ends the edit with Return.
inline bool TypeIntoCell(CQrTreeGrid* grid, int row, int col, const QString& text)
{
    // Editors of earlier edits are deleted later; clear them first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    grid->EditingCell(row, col);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    if (!editor)
        return false;
    editor->selectAll();
    // Hangul comes through the input method, as a committed string; ASCII as key presses.
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii) {
        QTest::keyClicks(editor, text);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(editor, &commit);
    }
    QTest::keyClick(editor, Qt::Key_Return);
    // The edit's consequences may be queued behind the commit.
    QApplication::processEvents();
    QApplication::processEvents();
    return true;
}

// Runs fn on the modal dialog that the next action opens, while it is open. A progress window
// on the way (a diagnosis shows one) is not that dialog: it waits for the next, up to 10 s.
inline void WhenModal(std::function<void(QWidget*)> fn, int tries = 1000)
{
    QTimer::singleShot(tries == 1000 ? 0 : 10, [fn, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<QProgressDialog*>(modal) && tries > 0) {
            WhenModal(fn, tries - 1);
            return;
        }
        fn(modal);
        // A failed check must not leave the test waiting on an open dialog.
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && dialog == modal)
            dialog->reject();
    });
}

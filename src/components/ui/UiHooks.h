#pragma once
// File dialogs, popup menus and the shell "open" verb as the forms use them. Each has a hook
// so that tests can answer what a user would pick without a modal window.
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

class CQrFileDialog
{
public:
    // Filters are written as "Label(*.a,*.b)|*.a;*.b|" and turned into Qt's form here.
    static QString GetOpenFileName(QWidget* parent, const QString& filter);
    // Prompts before overwriting. An empty extension adds none.
    static QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt = QString());
    // Qt's filter text of a "Label|*.a;*.b|" filter.
    static QString ToQtFilter(const QString& filter);

    // Gets (save?, filter) and returns the path, empty for cancel. Empty hook: real dialogs.
    using Hook = std::function<QString(bool save, const QString& filter)>;
    static void SetHook(Hook hook);
};

class CQrPopupMenu
{
public:
    // Shows the menu at the position; the chosen action or null.
    static QAction* Exec(QMenu* menu, const QPoint& globalPos);
    // Gets the menu and returns the chosen action (or null). Empty hook: a real popup.
    using Hook = std::function<QAction*(QMenu* menu)>;
    static void SetHook(Hook hook);
    // For hooks: the enabled action whose text is exactly text, or null.
    static QAction* FindAction(QMenu* menu, const QString& text);
};

class CQrShell
{
public:
    // Opens the file with the system's application for it.
    static void Open(const QString& path);
    using Hook = std::function<void(const QString& path)>;
    static void SetHook(Hook hook);
};

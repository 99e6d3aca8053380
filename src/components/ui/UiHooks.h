#pragma once
// File dialogs, popup menus and the shell "open" verb as the forms use them. Each has a hook
// so that tests can answer what a user would pick without a modal window.
#include <QString>
#include <QStringList>
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
    // One or more files; the hook answers them one a line.
    static QStringList GetOpenFileNames(QWidget* parent, const QString& filter);
    // Prompts before overwriting. An empty extension adds none. The dialog starts on the
    // proposed path (folder and file name) when one is given.
    static QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt = QString(),
                                   const QString& proposedPath = QString());
    // A workbook to write: only .xlsx is offered, and the name always ends in .xlsx (a typed
    // .xls becomes .xlsx, since the content is .xlsx whatever the name says).
    static QString GetExportFileName(QWidget* parent, const QString& proposedPath = QString());
    static const QString& ExportFilter();
    // The input's folder and name with another suffix: the name a save or export proposes.
    static QString ProposePath(const QString& inputPath, const QString& suffix);
    // The path the last save or export dialog proposed (for tests and the hook's callers).
    static QString LastProposedPath();
    // Qt's filter text of a "Label(*.a,*.b)|*.a;*.b|" filter: "Label (*.a *.b)".
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
    // Opens the file with the system's application for it; when none can, says so in a
    // message box over the parent instead of leaving it to the console.
    static void Open(const QString& path, QWidget* parent = nullptr);
    using Hook = std::function<void(const QString& path)>;
    static void SetHook(Hook hook);
};

#include "components/ui/UiHooks.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

namespace {
CQrFileDialog::Hook& FileHook()
{
    static CQrFileDialog::Hook hook;
    return hook;
}
CQrPopupMenu::Hook& MenuHook()
{
    static CQrPopupMenu::Hook hook;
    return hook;
}
CQrShell::Hook& ShellHook()
{
    static CQrShell::Hook hook;
    return hook;
}
} // namespace

QString CQrFileDialog::ToQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString CQrFileDialog::GetOpenFileName(QWidget* parent, const QString& filter)
{
    if (FileHook())
        return FileHook()(false, filter);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), ToQtFilter(filter));
}

QString CQrFileDialog::GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt)
{
    if (FileHook())
        return FileHook()(true, filter);
    QString path = QFileDialog::getSaveFileName(parent, QString(), QString(), ToQtFilter(filter));
    QString ext = defaultExt;
    ext.remove(QStringLiteral("*.")).remove(QLatin1Char('.'));
    if (!path.isEmpty() && !ext.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ext;
    return path;
}

void CQrFileDialog::SetHook(Hook hook)
{
    FileHook() = std::move(hook);
}

QAction* CQrPopupMenu::Exec(QMenu* menu, const QPoint& globalPos)
{
    if (MenuHook())
        return MenuHook()(menu);
    return menu->exec(globalPos);
}

void CQrPopupMenu::SetHook(Hook hook)
{
    MenuHook() = std::move(hook);
}

QAction* CQrPopupMenu::FindAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled() && action->text() == text)
            return action;
    }
    return nullptr;
}

void CQrShell::Open(const QString& path)
{
    if (ShellHook()) {
        ShellHook()(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CQrShell::SetHook(Hook hook)
{
    ShellHook() = std::move(hook);
}

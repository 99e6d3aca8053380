#include "components/ui/UiHooks.h"

#include "components/ui/QrMessageBox.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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
QString& LastProposal()
{
    static QString path;
    return path;
}

const QString kXlsx = QStringLiteral("xlsx");
const QString kNoOpener = QStringLiteral("이 파일을 열 수 있는 프로그램을 찾지 못했습니다.\n%1");
const QString kReplaceQuestion = QStringLiteral("%1 파일이 이미 있습니다.\n바꾸시겠습니까?");

QString RunSaveDialog(QWidget* parent, const QString& filter, const QString& ext, const QString& proposed)
{
    QFileDialog dialog(parent, QString(), proposed, CQrFileDialog::ToQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!ext.isEmpty())
        dialog.setDefaultSuffix(ext);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
} // namespace

QString CQrFileDialog::ToQtFilter(const QString& filter)
{
    // The filters keep the names other programs' documents know them by; the window shows
    // them in Korean.
    static const std::pair<const char*, const char*> korean[] = {
        {"Document Files", "분석 대상 문서"},
        {"Excel Files", "Excel 파일"},
        {"SQL Files", "SQL 스크립트"},
        {"DDL Files", "DDL 스크립트"},
        {"Word Analyzed Files", "단어 분석 문서"},
        {"Doamin Analyzed Files", "도메인 분석 문서"},
        {"Term Analyzed Files", "용어 분석 문서"},
    };
    // The label carries its patterns for the eye already; Qt wants them once, in parentheses
    // at the end, so the label's own list gives way to Qt's.
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        label.remove(trailingList);
        for (const auto& [english, name] : korean)
            if (label == QLatin1String(english))
                label = QString::fromUtf8(name);
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(label + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString CQrFileDialog::ProposePath(const QString& inputPath, const QString& suffix)
{
    if (inputPath.isEmpty())
        return {};
    const QFileInfo info(inputPath);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + suffix);
}

QString CQrFileDialog::LastProposedPath()
{
    return LastProposal();
}

const QString& CQrFileDialog::ExportFilter()
{
    static const QString filter = QStringLiteral("Excel Files(*.xlsx)|*.xlsx|");
    return filter;
}

QString CQrFileDialog::GetOpenFileName(QWidget* parent, const QString& filter)
{
    if (FileHook())
        return FileHook()(false, filter);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), ToQtFilter(filter));
}

QStringList CQrFileDialog::GetOpenFileNames(QWidget* parent, const QString& filter)
{
    if (FileHook())
        return FileHook()(false, filter).split(u'\n', Qt::SkipEmptyParts);
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), ToQtFilter(filter));
}

QString CQrFileDialog::GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt,
                                       const QString& proposedPath)
{
    LastProposal() = proposedPath;
    if (FileHook())
        return FileHook()(true, filter);
    QString ext = defaultExt;
    ext.remove(QStringLiteral("*.")).remove(QLatin1Char('.'));
    QString path = RunSaveDialog(parent, filter, ext, proposedPath);
    if (!path.isEmpty() && !ext.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ext;
    return path;
}

QString CQrFileDialog::GetExportFileName(QWidget* parent, const QString& proposedPath)
{
    LastProposal() = proposedPath;
    QString path;
    if (FileHook())
        path = FileHook()(true, ExportFilter());
    else
        path = RunSaveDialog(parent, ExportFilter(), kXlsx, proposedPath);
    if (path.isEmpty())
        return {};
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(kXlsx, Qt::CaseInsensitive) == 0)
        return path;
    if (suffix.compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0)
        path.chop(3);
    else
        path += QLatin1Char('.');
    path += kXlsx;
    // The dialog asked about the name typed, not this one.
    if (QFileInfo::exists(path) &&
        !CQrMessageBox::Question(parent, kReplaceQuestion.arg(QDir::toNativeSeparators(path))))
        return {};
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

void CQrShell::Open(const QString& path, QWidget* parent)
{
    if (ShellHook()) {
        ShellHook()(path);
        return;
    }
    QPointer<QWidget> owner = parent;
    auto tell = [owner, path] { CQrMessageBox::Warning(owner, kNoOpener.arg(QDir::toNativeSeparators(path))); };
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open reports a missing application only by its exit code and on stderr; run it
    // ourselves so the user hears of it in the window.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        tell();
        return;
    }
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({path});
    QObject::connect(process, &QProcess::finished, process, [process, tell](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            tell();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            tell();
            process->deleteLater();
        }
    });
    process->start();
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        tell();
#endif
}

void CQrShell::SetHook(Hook hook)
{
    ShellHook() = std::move(hook);
}

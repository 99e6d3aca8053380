// The main frame's side of the repository connection: connect and disconnect, what the window
// shows about it, connection requests from other programs and the dictionary tool.
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RibbonBar.h"
#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "repository/QrARGate.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryTexts.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QStyle>
#include <QToolButton>

namespace {

QIcon ThemedIcon(const QStyle* style, const char* themeName, QStyle::StandardPixmap fallback)
{
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(themeName));
    return icon.isNull() ? style->standardIcon(fallback) : icon;
}

} // namespace

void CMainFrame::ToggleRepositoryConnection()
{
    if (CRepositoryConnection::Instance().Exists()) {
        OnRepositoryDisconnected(); // without asking
    } else if (CQrDbConnector::GetInstance().Show(0, 1, QString(), 1) == 1) {
        OnRepositoryConnected();
    } else {
        OnRepositoryDisconnected(); // harmless when nothing was opened
    }
    UpdateRepositoryStatus();
}

bool CMainFrame::ConnectRepositoryUri(const QString& uri)
{
    QString error;
    if (!CQrDbConnector::GetInstance().ConnectUri(uri, &error)) {
        OutputLog::Post(CQrStringUtil::Format(ConnectText::UriConnectFailed, {error}));
        OnRepositoryDisconnected();
        UpdateRepositoryStatus();
        return false;
    }
    OnRepositoryConnected();
    UpdateRepositoryStatus();
    return true;
}

void CMainFrame::OnRepositoryConnected()
{
    CQrDbConnector& connector = CQrDbConnector::GetInstance();
    QrARGate::InitializeCommander(0, nullptr);
    QrARGate::SetUserProfile(connector.GetArUserName(kRepositoryConnectionName));
    QrARGate::SetDbAliasName(connector.GetArDbAlias());
    // gateway, one-time dictionary start, analysis-tables flag, proposal addresses and flags
    CRepositoryConnection::Instance().OnRepositoryConnected();
}

void CMainFrame::OnRepositoryDisconnected()
{
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    QrARGate::FinalizeCommander(0);
}

void CMainFrame::UpdateRepositoryStatus()
{
    CRepositoryConnection& repository = CRepositoryConnection::Instance();
    const bool open = repository.IsConnected();
    const int type = repository.DbType();

    QString status;
    if (open && type != GlobalEnum::DBMS_SQLITE)
        status = CQrStringUtil::Format(
            QStringLiteral("%s (%s, %s)"),
            {QrARGate::GetDbAliasName(), CQrDbConnector::GetInstance().GetConnDbUser(), QrARGate::GetUserNameW()});
    SetArStatusText(status);

    m_repositoryDbType = open ? type : 0;
    m_sharedDataAvailable = repository.Exists() && repository.AnalysisTablesExist();
    const bool was = m_repositoryConnected;
    SetRepositoryConnected(open);
    if (was != open)
        Q_EMIT RepositoryStateChanged(open);
}

void CMainFrame::ShowConnectionState()
{
    QAction* action = CommandAction(AppCmd::RepositoryConnect);
    if (!action)
        return;
    action->setText(m_repositoryConnected ? AppText::ArDisconnect : AppText::ArConnect);
    action->setIcon(m_repositoryConnected ? ThemedIcon(style(), "network-offline", QStyle::SP_BrowserStop)
                                          : ThemedIcon(style(), "network-server", QStyle::SP_DriveNetIcon));
    // the ribbon shows its captions on two lines; the action's change gave it one
    if (!m_ribbon)
        return;
    for (QToolButton* button : m_ribbon->findChildren<QToolButton*>()) {
        if (button->defaultAction() == action) {
            button->setText(CRibbonBar::TwoLineCaption(action->text()));
            button->setToolTip(action->text());
        }
    }
}

void CMainFrame::HandleConnectionRequest(const QString& text)
{
    // a live connection is never replaced by another program's
    if (CRepositoryConnection::Instance().Exists())
        return;
    const std::optional<QJsonObject> info = ParseArConnectionInfo(text);
    if (!info)
        return;
    QString error;
    if (!CQrDbConnector::GetInstance().ConnectDirectAr(info->value(QStringLiteral("DatabaseName")).toString(),
                                                       info->value(QStringLiteral("DataSource")).toString(),
                                                       info->value(QStringLiteral("DbUserId")).toString(), &error)) {
        OutputLog::Post(CQrStringUtil::Format(ConnectText::UriConnectFailed, {error}));
        return;
    }
    OnRepositoryConnected();
    UpdateRepositoryStatus();
}

void CMainFrame::LaunchDictionaryTool()
{
    // A running copy cannot be found by its window class here; the tool keeps itself single.
    const QString dir = CQrGlobalUtil::GetPathProgram();
    QString path;
    for (const QString& name : QStringList{AppText::LexicorProgram, AppText::LexicorProgram + QStringLiteral(".exe")}) {
        const QFileInfo info(dir + u'/' + name);
        if (info.isFile() && info.isExecutable()) {
            path = info.filePath();
            break;
        }
    }
    // each value its own argument, no shell in between; passwords never go on a command line
    const QStringList args = LexicorArguments(CQrDbConnector::GetInstance().GetConnInfoForLexicor());
    if (path.isEmpty() || !QProcess::startDetached(path, args))
        CQrMessageBox::Warning(this, AppText::ExecutableNotFound);
}

// The main frame's side of the repository connection: connect and disconnect, what the window
// shows about it, connection requests from other programs and the dictionary tool.
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RibbonBar.h"
#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "repository/QrARGate.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryTexts.h"
#include "repository/ui/RepositoryUi.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStyle>
#include <QTimer>
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
    if (CRepositoryConnection::Instance().IsLost()) {
        AskReconnect(this);
        return;
    }
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
    if ((open || repository.IsLost()) && type != GlobalEnum::DBMS_SQLITE)
        status = CQrStringUtil::Format(
            QStringLiteral("%s (%s, %s)"),
            {QrARGate::GetDbAliasName(), CQrDbConnector::GetInstance().GetConnDbUser(), QrARGate::GetUserNameW()});
    // a lost connection names what it was, also for a file repository
    if (repository.IsLost())
        status = AppText::StatusLost.arg(status.isEmpty() ? QrARGate::GetDbAliasName() : status);
    SetArStatusText(status);
    m_arStatus->setStyleSheet(repository.IsLost() ? QStringLiteral("color: #b00020;") : QString());
    m_arStatus->setToolTip(repository.IsLost() ? repository.UnavailableReason() : QStringLiteral("AR Status"));

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
    const bool lost = CRepositoryConnection::Instance().IsLost();
    action->setText(lost ? AppText::ArReconnect : m_repositoryConnected ? AppText::ArDisconnect : AppText::ArConnect);
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

void CMainFrame::OnConnectionLost()
{
    UpdateRepositoryStatus();
    OutputLog::Post(AppText::LostLine.arg(CRepositoryConnection::Instance().LostReason()));
    // Not in the middle of the statement that found it: once the loop that ran it is over.
    m_lostTimer->start();
}

void CMainFrame::AskWhenIdle()
{
    if (!CRepositoryConnection::Instance().IsLost() || RepositoryUi::LossAnswered()) {
        m_lostTimer->stop();
        return;
    }
    if (CQrProgressWnd::IsShown() || m_asking)
        return;
    m_lostTimer->stop();
    RepositoryUi::SetLossAnswered(true);
    AskReconnect(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this);
}

bool CMainFrame::AskReconnect(QWidget* parent)
{
    CRepositoryConnection& repository = CRepositoryConnection::Instance();
    if (!repository.IsLost())
        return repository.IsConnected();
    if (m_asking)
        return false;
    m_asking = true;
    QString text = RepositoryText::ConnectionLostAsk;
    if (!repository.LostReason().isEmpty())
        text += QStringLiteral("\n\n") + repository.LostReason();
    const QMessageBox::StandardButton answer = CQrMessageBox::Choose(parent ? parent : this, text,
                                                                     {{QMessageBox::Yes, AppText::Reconnect},
                                                                      {QMessageBox::Close, AppText::Disconnect},
                                                                      {QMessageBox::No, AppText::Later}});
    m_asking = false;
    if (answer == QMessageBox::Yes)
        return ReconnectRepository(parent);
    if (answer == QMessageBox::Close) {
        OnRepositoryDisconnected();
        UpdateRepositoryStatus();
    }
    return false;
}

bool CMainFrame::ReconnectRepository(QWidget* parent)
{
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = CRepositoryConnection::Instance().Reconnect(&error);
    QApplication::restoreOverrideCursor();
    UpdateRepositoryStatus();
    if (!ok) {
        CQrMessageBox::Warning(parent ? parent : this, error);
        return false;
    }
    OutputLog::Post(AppText::ReconnectedLine.arg(QrARGate::GetDbAliasName()));
    return true;
}

QString CMainFrame::DictionaryToolPath()
{
    const QString dir = CQrGlobalUtil::GetPathProgram();
    for (const QString& name : QStringList{AppText::LexicorProgram, AppText::LexicorProgram + QStringLiteral(".exe")}) {
        const QFileInfo info(dir + u'/' + name);
        if (info.isFile() && info.isExecutable())
            return info.filePath();
    }
    return {};
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
    const QString path = DictionaryToolPath();
    // each value its own argument, no shell in between; passwords never go on a command line
    const QStringList args = LexicorArguments(CQrDbConnector::GetInstance().GetConnInfoForLexicor());
    if (path.isEmpty() || !QProcess::startDetached(path, args))
        CQrMessageBox::Warning(this, AppText::ExecutableNotFound);
}

#include "app/ui/WordmereApp.h"

#include "app/ui/AppParts.h"
#include "app/ui/AppTexts.h"
#include "app/ui/InstanceServer.h"
#include "app/ui/MainFrame.h"
#include "app/ui/Translations.h"
#include "components/OutputLog.h"
#include "components/QrDatabaseManager.h"
#include "components/QrWordExtractor.h"
#include "repository/QrARGate.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QDebug>

CWordmereApp::CWordmereApp(const QString& serverName, QObject* parent)
    : QObject(parent), m_serverName(serverName.isEmpty() ? CInstanceServer::DefaultName() : serverName)
{
}

CWordmereApp::~CWordmereApp()
{
    if (m_frame || m_server)
        ExitInstance();
}

bool CWordmereApp::InitInstance()
{
    QApplication::setApplicationName(AppText::AppTitle);
    QApplication::setOrganizationName(AppText::SettingsOrg);
    QApplication::setApplicationDisplayName(AppText::AppTitle);
    InstallQtTranslations(ProgramLocale());

    m_server = std::make_unique<CInstanceServer>();
    QString why;
    const CInstanceServer::ListenResult listened = m_server->Listen(m_serverName, &why);
    if (listened == CInstanceServer::ListenResult::OtherInstance) {
        qDebug().noquote() << "Termwise already exists, show Termwise";
        m_server.reset();
        return false;
    }

    RegisterApplicationParts();
    m_frame = std::make_unique<CMainFrame>();
    if (listened == CInstanceServer::ListenResult::Failed) {
        // Still usable, only without requests from other programs and the single-instance guard.
        OutputLog::Post(QStringLiteral("로컬 서버를 시작하지 못했습니다: ") + why);
    }
    connect(m_server.get(), &CInstanceServer::ActivateRequested, m_frame.get(), &CMainFrame::BringToFront);
    connect(m_server.get(), &CInstanceServer::RequestReceived, m_frame.get(), &CMainFrame::HandleRequest);
    m_frame->show();
    return true;
}

int CWordmereApp::ExitInstance()
{
    m_frame.reset();
    m_server.reset();
    if (CAnalyzeSettings::Exists())
        CAnalyzeSettings::DestroyInstance();
    CRepositoryConnection::Instance().OnRepositoryDisconnected(); // the gateway goes with "AR"
    CQrDatabaseManager::GetInstance().RemoveAll();                // "DIC" and "AR" close before the application goes
    CQrDbConnector::DestroyInstance();
    QrARGate::FinalizeCommander(0);
    CQrWordExtractor::DestoryInstance();
    return 0;
}

#pragma once
// The desktop program: one instance per user (the local server), the main window, the order
// of start and exit.
#include <QObject>
#include <QString>
#include <memory>

class CMainFrame;
class CInstanceServer;

class CWordmereApp : public QObject
{
    Q_OBJECT
public:
    explicit CWordmereApp(const QString& serverName = QString(), QObject* parent = nullptr);
    ~CWordmereApp() override;

    // False when another copy is running (it was asked to come forward); the caller then
    // ends without a window.
    bool InitInstance();
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CInstanceServer* Server() const { return m_server.get(); }

private:
    QString m_serverName;
    std::unique_ptr<CInstanceServer> m_server;
    std::unique_ptr<CMainFrame> m_frame;
};

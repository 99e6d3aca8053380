// Pictures of the connection dialog and the shared analysis data dialog for docs/screenshots,
// taken only when TERMWISE_SCREENSHOTS names the folder to write into (scripts/screenshots).
#include "dictionary/ui/RepositoryManageDlg.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "repository/ui/DbConnectDlg.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Save(QWidget* widget, const QString& name)
{
    widget->show();
    QApplication::processEvents();
    const QPixmap shot = widget->grab();
    ASSERT_TRUE(shot.save(QDir(qEnvironmentVariable("TERMWISE_SCREENSHOTS")).filePath(name))) << name.toStdString();
}

TEST(Screenshots, ConnectionAndSharedData)
{
    if (qEnvironmentVariable("TERMWISE_SCREENSHOTS").isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS is not set";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("standard.db"));
    ASSERT_EQ(
        RunRepositoryCommand({QStringLiteral("init"), QStringLiteral("sqlite:") + path, QStringLiteral("--demo")}), 0);
    QSettings settings(dir.filePath(QStringLiteral("profiles.ini")), QSettings::IniFormat);
    CQrDbConnector& connector = CQrDbConnector::GetInstance();
    connector.SetStorage(nullptr, &settings);
    ConnectionProfile local;
    local.name = QStringLiteral("로컬 표준 저장소");
    local.dbType = 13;
    local.path = path;
    connector.Profiles().Save(local, QString());
    ConnectionProfile server;
    server.name = QStringLiteral("운영 메타 저장소");
    server.dbType = 11;
    server.host = QStringLiteral("meta.example.co.kr");
    server.port = 5432;
    server.database = QStringLiteral("metarepo");
    server.dbUser = QStringLiteral("meta_user");
    server.arUser = QStringLiteral("hong.gildong");
    connector.Profiles().Save(server, QStringLiteral("password"));
    {
        CDbConnectDlg dlg(connector, server.name, 11);
        Save(&dlg, QStringLiteral("connection.png"));
    }

    ASSERT_TRUE(connector.ConnectUri(QStringLiteral("sqlite:") + path));
    CRepositoryConnection::Instance().OnRepositoryConnected();
    {
        CRepositoryManageDlg dlg;
        Save(&dlg, QStringLiteral("shared-data.png"));
    }
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    CQrDbConnector::DestroyInstance();
}

} // namespace

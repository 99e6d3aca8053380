#pragma once
// The connector: opens the repository "AR" from a saved profile (the connection dialog), from a
// URI (the command line) or from another program's connection information, and remembers what
// the window shows about it (alias, users) and what the dictionary tool is started with.
// Show() opens the dialog and lives with it in the widget library.
#include "repository/ConnectionProfile.h"

#include <QString>
#include <memory>
#include <optional>

class QSettings;
class QWidget;

class CQrDbConnector
{
public:
    static CQrDbConnector& GetInstance();
    static void DestroyInstance();

    // The connection dialog (modal). 1 when the user connected and "AR" is registered, else 0.
    // dbmsType is the DBMS offered first for a new profile.
    int Show(int owner, int mode, const QString& profileName, int dbmsType);

    // Opens the profile as "AR"; false with the driver's text in error.
    bool Connect(const ConnectionProfile& profile, const QString& password, QString* error = nullptr);
    // Opens a URI as "AR" (termwise --repo); the alias is the database or the file's name.
    bool ConnectUri(const QString& uri, QString* error = nullptr);
    // Opens "AR" through the saved profile matching the three values, with its kept password.
    // Nonzero on success; nothing is opened when no profile matches.
    int ConnectDirectAr(const QString& database, const QString& dataSource, const QString& dbUser,
                        QString* error = nullptr);
    // Opens a SQLite file as "DIC".
    int ConnectSqlite(const QString& path, int dbmsType);

    QString GetArUserName(const QString& connectionName) const;
    QString GetArDbAlias() const;
    QString GetConnDbUser() const;
    // {"ArConnectionInfo": {...}} of the open repository; an empty record when none is open.
    QString GetConnInfoForLexicor() const;

    CConnectionProfileStore& Profiles() { return *m_store; }
    // Tests: a fake keychain and a private settings file (neither owned).
    void SetStorage(IPasswordStore* keychain, QSettings* settings);

private:
    CQrDbConnector();
    void Remember(const ConnectionProfile& profile, const QString& alias);

    std::unique_ptr<IPasswordStore> m_keychain;
    std::unique_ptr<CConnectionProfileStore> m_store;
    std::optional<ConnectionProfile> m_current; // what "AR" was opened with
    QString m_alias;
};

#pragma once
// Saved repository connection profiles, the connection information record exchanged with
// other programs ("ArConnectionInfo") and the dictionary tool's argument list.
//
// Profiles live in QSettings under the program's key; a password goes only to the keychain
// (IPasswordStore) when the profile keeps it, and otherwise lives for the session only.
#include "repository/PasswordStore.h"
#include "repository/RepositoryConnection.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class QSettings;

struct ConnectionProfile
{
    QString name;
    int dbType = 13; // 13 SQLite, 11 PostgreSQL, 1 Oracle
    QString path;    // SQLite file
    QString host;
    int port = 0; // 0: the DBMS's default port
    QString database;
    QString dbUser;
    QString arUser; // the signed-in repository user; the database user when empty
    bool savePassword = false;
    // "모델 DB": a database whose catalog "DB에서 열기" reads; never connected as the repository.
    bool model = false;

    // SQLite: the file; servers: host, with ":port" when a port is set.
    QString DataSource() const;
    QString DatabaseName() const; // SQLite: the file's name
    QString ArUserName() const { return arUser.isEmpty() ? dbUser : arUser; }
    // The URI this profile opens, with the password given.
    RepositoryUri ToUri(const QString& password) const;
    bool operator==(const ConnectionProfile&) const = default;
};

// The default port of a DBMS type (5432 PostgreSQL, 1521 Oracle, 0 otherwise).
int DefaultPort(int dbType);

// The first profile whose database, data source and user match a connection request; -1 when
// none does. The data source is a SQLite path or host[:port] (a missing port means the
// default one); host names and Oracle user names compare without case.
int FindMatchingProfile(const std::vector<ConnectionProfile>& profiles, const QString& database,
                        const QString& dataSource, const QString& dbUser);

class CConnectionProfileStore
{
public:
    // settings: where profiles are kept (null: QSettings of the program). Neither is owned.
    CConnectionProfileStore(IPasswordStore* keychain, QSettings* settings = nullptr);

    std::vector<ConnectionProfile> Profiles() const;
    std::optional<ConnectionProfile> Find(const QString& name) const;
    // Adds or replaces the profile of that name. The password goes to the keychain when the
    // profile keeps it and a keychain answers, else to the session; a kept password that can no
    // longer be kept is removed from the keychain. warning tells the user why it was not kept.
    bool Save(const ConnectionProfile& profile, const QString& password, QString* warning = nullptr);
    void Remove(const QString& name);
    QString LastUsed() const;
    void SetLastUsed(const QString& name);

    // The session's password, the keychain's, or TERMWISE_DB_PASSWORD, in that order.
    std::optional<QString> Password(const ConnectionProfile& profile);
    // Whether "save password" can work; the reason when not.
    bool KeychainAvailable(QString* reason = nullptr) const;
    IPasswordStore* Keychain() const { return m_keychain; }

private:
    static QString KeychainKey(const QString& name);
    void Write(const std::vector<ConnectionProfile>& profiles);

    IPasswordStore* m_keychain;
    QSettings* m_settings;
    std::map<QString, QString> m_sessionPasswords;
};

// The ten keys of the connection information record, in their order.
const QStringList& ArConnectionInfoKeys();

// The "ArConnectionInfo" object of a request text; nothing for malformed JSON or a record
// that is not an object.
std::optional<QJsonObject> ParseArConnectionInfo(const QString& text);

// The record of a connection as JSON text ({"ArConnectionInfo": {...}}). The database password
// is in it only when given (the profile keeps it).
QString BuildArConnectionInfo(const ConnectionProfile& profile, const std::optional<QString>& keptPassword);

// The dictionary tool's arguments: each text value of the record, in key order, absent keys
// skipped. Passwords are left out: any local user can read a process's arguments.
QStringList LexicorArguments(const QString& connectionInfoText);

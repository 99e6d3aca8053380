#include "repository/ConnectionProfile.h"

#include "components/QrDatatype.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Connections");
const QString kLast = QStringLiteral("ConnectionLastUsed");

bool IsServer(int dbType)
{
    return dbType != GlobalEnum::DBMS_SQLITE;
}

QString CleanPath(const QString& path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool SameUser(int dbType, const QString& a, const QString& b)
{
    // Oracle folds unquoted user names to upper case; PostgreSQL keeps them as given.
    const bool oracle = dbType == GlobalEnum::DBMS_ORACLE || dbType == GlobalEnum::DBMS_ORACLE_OLD;
    return a.compare(b, oracle ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

bool SameDataSource(const ConnectionProfile& p, const QString& dataSource)
{
    if (!IsServer(p.dbType))
        return CleanPath(p.path) == CleanPath(dataSource);
    QString host = dataSource.trimmed();
    int port = DefaultPort(p.dbType);
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const int given = host.mid(colon + 1).toInt(&ok);
        if (!ok)
            return false;
        port = given;
        host = host.left(colon);
    }
    const int profilePort = p.port > 0 ? p.port : DefaultPort(p.dbType);
    return host.compare(p.host, Qt::CaseInsensitive) == 0 && port == profilePort;
}

} // namespace

int DefaultPort(int dbType)
{
    switch (dbType) {
    case GlobalEnum::DBMS_POSTGRESQL:
        return 5432;
    case GlobalEnum::DBMS_MYSQL:
    case GlobalEnum::DBMS_MARIADB:
        return 3306;
    case GlobalEnum::DBMS_ORACLE:
    case GlobalEnum::DBMS_ORACLE_OLD:
        return 1521;
    default:
        return 0;
    }
}

QString ConnectionProfile::DataSource() const
{
    if (!IsServer(dbType))
        return path;
    return port > 0 ? host + u':' + QString::number(port) : host;
}

QString ConnectionProfile::DatabaseName() const
{
    return IsServer(dbType) ? database : QFileInfo(path).fileName();
}

RepositoryUri ConnectionProfile::ToUri(const QString& password) const
{
    RepositoryUri uri;
    uri.dbType = dbType;
    if (!IsServer(dbType)) {
        uri.path = path;
        uri.database = path;
        return uri;
    }
    uri.host = host;
    uri.port = port > 0 ? port : DefaultPort(dbType);
    uri.user = dbUser;
    uri.password = password;
    if (dbType == GlobalEnum::DBMS_POSTGRESQL || dbType == GlobalEnum::DBMS_MYSQL ||
        dbType == GlobalEnum::DBMS_MARIADB) {
        uri.database = database;
    } else {
        // Oracle: an easy-connect string when a host is given, else a TNS name.
        uri.database = host.isEmpty() ? database : QStringLiteral("%1:%2/%3").arg(host).arg(uri.port).arg(database);
    }
    return uri;
}

int FindMatchingProfile(const std::vector<ConnectionProfile>& profiles, const QString& database,
                        const QString& dataSource, const QString& dbUser)
{
    for (size_t i = 0; i < profiles.size(); ++i) {
        const ConnectionProfile& p = profiles[i];
        if (!SameDataSource(p, dataSource))
            continue;
        if (IsServer(p.dbType)) {
            if (p.database != database || !SameUser(p.dbType, p.dbUser, dbUser))
                continue;
        } else if (!database.isEmpty() && database != p.DatabaseName() && CleanPath(database) != CleanPath(p.path)) {
            // a SQLite request names the file by its name or its path; it has no database user
            continue;
        }
        return int(i);
    }
    return -1;
}

CConnectionProfileStore::CConnectionProfileStore(IPasswordStore* keychain, QSettings* settings)
    : m_keychain(keychain), m_settings(settings)
{
}

// Runs fn on the store's settings: the given ones, or the program's.
template <typename Fn> static auto WithSettings(QSettings* given, Fn fn)
{
    if (given)
        return fn(*given);
    QSettings settings(QStringLiteral("Quarro"), QStringLiteral("LEXVAULT5"));
    return fn(settings);
}

std::vector<ConnectionProfile> CConnectionProfileStore::Profiles() const
{
    return WithSettings(m_settings, [](QSettings& s) {
        std::vector<ConnectionProfile> profiles;
        const int n = s.beginReadArray(kGroup);
        for (int i = 0; i < n; ++i) {
            s.setArrayIndex(i);
            ConnectionProfile p;
            p.name = s.value(QStringLiteral("name")).toString();
            p.dbType = s.value(QStringLiteral("dbType"), 13).toInt();
            p.path = s.value(QStringLiteral("path")).toString();
            p.host = s.value(QStringLiteral("host")).toString();
            p.port = s.value(QStringLiteral("port"), 0).toInt();
            p.database = s.value(QStringLiteral("database")).toString();
            p.dbUser = s.value(QStringLiteral("dbUser")).toString();
            p.arUser = s.value(QStringLiteral("arUser")).toString();
            p.savePassword = s.value(QStringLiteral("savePassword"), false).toBool();
            p.model = s.value(QStringLiteral("model"), false).toBool();
            if (!p.name.isEmpty())
                profiles.push_back(std::move(p));
        }
        s.endArray();
        return profiles;
    });
}

void CConnectionProfileStore::Write(const std::vector<ConnectionProfile>& profiles)
{
    WithSettings(m_settings, [&](QSettings& s) {
        s.remove(kGroup); // a shorter list leaves nothing behind
        s.beginWriteArray(kGroup, int(profiles.size()));
        for (int i = 0; i < int(profiles.size()); ++i) {
            const ConnectionProfile& p = profiles[size_t(i)];
            s.setArrayIndex(i);
            s.setValue(QStringLiteral("name"), p.name);
            s.setValue(QStringLiteral("dbType"), p.dbType);
            s.setValue(QStringLiteral("path"), p.path);
            s.setValue(QStringLiteral("host"), p.host);
            s.setValue(QStringLiteral("port"), p.port);
            s.setValue(QStringLiteral("database"), p.database);
            s.setValue(QStringLiteral("dbUser"), p.dbUser);
            s.setValue(QStringLiteral("arUser"), p.arUser);
            s.setValue(QStringLiteral("savePassword"), p.savePassword);
            s.setValue(QStringLiteral("model"), p.model);
        }
        s.endArray();
        s.sync();
        return 0;
    });
}

std::optional<ConnectionProfile> CConnectionProfileStore::Find(const QString& name) const
{
    for (ConnectionProfile& p : Profiles())
        if (p.name == name)
            return p;
    return std::nullopt;
}

bool CConnectionProfileStore::KeychainAvailable(QString* reason) const
{
    if (!m_keychain) {
        if (reason)
            *reason = QStringLiteral("키체인이 없습니다");
        return false;
    }
    return m_keychain->IsAvailable(reason);
}

QString CConnectionProfileStore::KeychainKey(const QString& name)
{
    return QStringLiteral("repository/") + name;
}

bool CConnectionProfileStore::Save(const ConnectionProfile& profile, const QString& password, QString* warning)
{
    if (profile.name.trimmed().isEmpty())
        return false;
    ConnectionProfile stored = profile;
    m_sessionPasswords[profile.name] = password;
    QString why;
    if (profile.savePassword && IsServer(profile.dbType)) {
        if (!KeychainAvailable(&why) || !m_keychain->Write(KeychainKey(profile.name), password, &why)) {
            // kept for this session only; the profile says so, so nothing is looked up later
            stored.savePassword = false;
            if (warning)
                *warning = why;
        }
    }
    if (!stored.savePassword && m_keychain && KeychainAvailable())
        m_keychain->Remove(KeychainKey(profile.name));

    std::vector<ConnectionProfile> profiles = Profiles();
    bool replaced = false;
    for (ConnectionProfile& p : profiles) {
        if (p.name == stored.name) {
            p = stored;
            replaced = true;
        }
    }
    if (!replaced)
        profiles.push_back(stored);
    Write(profiles);
    return true;
}

void CConnectionProfileStore::Remove(const QString& name)
{
    std::vector<ConnectionProfile> profiles = Profiles();
    std::erase_if(profiles, [&](const ConnectionProfile& p) { return p.name == name; });
    Write(profiles);
    m_sessionPasswords.erase(name);
    if (m_keychain && KeychainAvailable())
        m_keychain->Remove(KeychainKey(name));
}

QString CConnectionProfileStore::LastUsed() const
{
    return WithSettings(m_settings, [](QSettings& s) { return s.value(kLast).toString(); });
}

void CConnectionProfileStore::SetLastUsed(const QString& name)
{
    WithSettings(m_settings, [&](QSettings& s) {
        s.setValue(kLast, name);
        return 0;
    });
}

std::optional<QString> CConnectionProfileStore::Password(const ConnectionProfile& profile)
{
    if (auto it = m_sessionPasswords.find(profile.name); it != m_sessionPasswords.end())
        return it->second;
    if (profile.savePassword && m_keychain && KeychainAvailable()) {
        if (std::optional<QString> kept = m_keychain->Read(KeychainKey(profile.name)))
            return kept;
    }
    if (qEnvironmentVariableIsSet("TERMWISE_DB_PASSWORD"))
        return qEnvironmentVariable("TERMWISE_DB_PASSWORD");
    return std::nullopt;
}

const QStringList& ArConnectionInfoKeys()
{
    static const QStringList keys = {
        QStringLiteral("DatabaseName"),
        QStringLiteral("AuthenticationMethod"),
        QStringLiteral("ArUserId"),
        QStringLiteral("ArUserPassword"),
        QStringLiteral("ArUserPasswordSaveYn"),
        QStringLiteral("AuthenticationServerUseYn"),
        QStringLiteral("DbUserId"),
        QStringLiteral("DbUserPassword"),
        QStringLiteral("DbUserPasswordSaveYn"),
        QStringLiteral("DataSource"),
    };
    return keys;
}

std::optional<QJsonObject> ParseArConnectionInfo(const QString& text)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonValue info = doc.object().value(QStringLiteral("ArConnectionInfo"));
    if (!info.isObject())
        return std::nullopt;
    return info.toObject();
}

QString BuildArConnectionInfo(const ConnectionProfile& profile, const std::optional<QString>& keptPassword)
{
    QJsonObject info;
    info.insert(QStringLiteral("DatabaseName"), profile.DatabaseName());
    info.insert(QStringLiteral("AuthenticationMethod"), QStringLiteral("Database"));
    info.insert(QStringLiteral("ArUserId"), profile.ArUserName());
    info.insert(QStringLiteral("ArUserPasswordSaveYn"), QStringLiteral("N"));
    info.insert(QStringLiteral("AuthenticationServerUseYn"), QStringLiteral("N"));
    if (IsServer(profile.dbType)) {
        info.insert(QStringLiteral("DbUserId"), profile.dbUser);
        if (keptPassword)
            info.insert(QStringLiteral("DbUserPassword"), *keptPassword);
        info.insert(QStringLiteral("DbUserPasswordSaveYn"), keptPassword ? QStringLiteral("Y") : QStringLiteral("N"));
    }
    info.insert(QStringLiteral("DataSource"), profile.DataSource());
    QJsonObject root;
    root.insert(QStringLiteral("ArConnectionInfo"), info);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

QStringList LexicorArguments(const QString& connectionInfoText)
{
    QStringList args;
    const std::optional<QJsonObject> info = ParseArConnectionInfo(connectionInfoText);
    if (!info)
        return args;
    for (const QString& key : ArConnectionInfoKeys()) {
        if (key == QLatin1String("ArUserPassword") || key == QLatin1String("DbUserPassword"))
            continue;
        const QJsonValue value = info->value(key);
        if (value.isString())
            args << value.toString();
    }
    return args;
}

#include "repository/QrDbConnector.h"

#include "repository/RepositorySql.h"
#include "repository/RepositoryTexts.h"

#include "components/QrDatabaseManager.h"
#include "components/QrDatatype.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace {
std::unique_ptr<CQrDbConnector>& TheConnector()
{
    static std::unique_ptr<CQrDbConnector> instance;
    return instance;
}
} // namespace

CQrDbConnector& CQrDbConnector::GetInstance()
{
    std::unique_ptr<CQrDbConnector>& instance = TheConnector();
    if (!instance)
        instance.reset(new CQrDbConnector);
    return *instance;
}

void CQrDbConnector::DestroyInstance()
{
    TheConnector().reset();
}

CQrDbConnector::CQrDbConnector()
    : m_keychain(std::make_unique<CKeychainPasswordStore>()),
      m_store(std::make_unique<CConnectionProfileStore>(m_keychain.get()))
{
}

void CQrDbConnector::SetStorage(IPasswordStore* keychain, QSettings* settings)
{
    m_store = std::make_unique<CConnectionProfileStore>(keychain ? keychain : m_keychain.get(), settings);
}

void CQrDbConnector::Remember(const ConnectionProfile& profile, const QString& alias)
{
    m_current = profile;
    m_alias = alias;
}

namespace {
// A database that opens but holds no repository is no repository: closed again, with why.
bool HoldsRepository(QString* error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    ISqlExecutor* database = connection.Database();
    if (database && database->Execute(RepositorySql::Common::ProbeRepositoryTables, {}).ok)
        return true;
    connection.OnRepositoryDisconnected();
    if (error)
        *error = RepositoryText::NoRepositoryTables;
    return false;
}
} // namespace

bool CQrDbConnector::Connect(const ConnectionProfile& profile, const QString& password, QString* error)
{
    if (!CRepositoryConnection::Instance().Open(profile.ToUri(password), error) || !HoldsRepository(error))
        return false;
    Remember(profile, profile.name);
    return true;
}

bool CQrDbConnector::ConnectUri(const QString& uri, QString* error)
{
    RepositoryUri parsed;
    QString message;
    if (!ParseRepositoryUri(uri, parsed, message)) {
        if (error)
            *error = message;
        return false;
    }
    if (!CRepositoryConnection::Instance().Open(parsed, error) || !HoldsRepository(error))
        return false;
    ConnectionProfile profile;
    profile.dbType = parsed.dbType;
    profile.path = parsed.path;
    profile.host = parsed.host;
    profile.port = parsed.port;
    profile.database = parsed.database;
    profile.dbUser = parsed.user;
    const QString alias =
        parsed.dbType == GlobalEnum::DBMS_SQLITE ? QFileInfo(parsed.path).fileName() : parsed.database;
    profile.name = alias;
    Remember(profile, alias);
    return true;
}

int CQrDbConnector::ConnectDirectAr(const QString& database, const QString& dataSource, const QString& dbUser,
                                    QString* error)
{
    const std::vector<ConnectionProfile> profiles = m_store->Profiles();
    const int found = FindMatchingProfile(profiles, database, dataSource, dbUser);
    if (found < 0) {
        if (error)
            *error = QStringLiteral("저장된 연결 프로필 중 %2의 %1에 %3(으)로 접속하는 것이 없습니다")
                         .arg(database, dataSource, dbUser);
        return 0;
    }
    const ConnectionProfile& profile = profiles[size_t(found)];
    return Connect(profile, m_store->Password(profile).value_or(QString()), error) ? 1 : 0;
}

int CQrDbConnector::ConnectSqlite(const QString& path, int)
{
    return CQrDatabaseManager::GetInstance().ConnectSqlite(path, QStringLiteral("DIC")) ? 1 : 0;
}

QString CQrDbConnector::GetArUserName(const QString& connectionName) const
{
    if (connectionName != kRepositoryConnectionName || !m_current)
        return {};
    return m_current->ArUserName();
}

QString CQrDbConnector::GetArDbAlias() const
{
    return m_alias;
}

QString CQrDbConnector::GetConnDbUser() const
{
    return m_current ? m_current->dbUser : QString();
}

QString CQrDbConnector::GetConnInfoForLexicor() const
{
    if (!m_current || !CRepositoryConnection::Instance().Exists())
        return QStringLiteral("{\"ArConnectionInfo\":{}}");
    std::optional<QString> kept;
    if (m_current->savePassword)
        kept = m_store->Password(*m_current);
    return BuildArConnectionInfo(*m_current, kept);
}

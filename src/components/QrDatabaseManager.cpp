#include "components/QrDatabaseManager.h"

#include "components/OutputLog.h"
#include "components/QrGlobalUtil.h"

#include <QFileInfo>
#include <QSqlError>

namespace {
// Qt connection name the manager uses for connections it opens itself.
QString ConnectionOf(const QString& name)
{
    return QStringLiteral("termwise:") + name;
}

void DropConnection(const QString& connection)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}
} // namespace

CQrDatabaseManager& CQrDatabaseManager::GetInstance()
{
    static CQrDatabaseManager instance;
    return instance;
}

bool CQrDatabaseManager::ConnectSqlite(const QString& path, const QString& name, QString* error)
{
    Remove(name);
    const QString connection = ConnectionOf(name);
    if (QSqlDatabase::contains(connection))
        DropConnection(connection);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok && error)
            *error = db.lastError().text();
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(connection);
        return false;
    }
    m_connections[name] = connection;
    return true;
}

void CQrDatabaseManager::AddDatabase(const QString& name, const QSqlDatabase& db)
{
    const QString connection = db.connectionName();
    const auto it = m_connections.find(name);
    if (it != m_connections.end() && it->second == connection)
        return;
    Remove(name);
    m_connections[name] = connection;
}

QSqlDatabase CQrDatabaseManager::Database(const QString& name) const
{
    const auto it = m_connections.find(name);
    if (it == m_connections.end())
        return QSqlDatabase();
    return QSqlDatabase::database(it->second, false);
}

bool CQrDatabaseManager::Has(const QString& name) const
{
    return m_connections.count(name) > 0;
}

bool CQrDatabaseManager::IsOpen(const QString& name) const
{
    return Database(name).isOpen();
}

void CQrDatabaseManager::Remove(const QString& name)
{
    const auto it = m_connections.find(name);
    if (it == m_connections.end())
        return;
    const QString connection = it->second;
    m_connections.erase(it);
    DropConnection(connection);
}

void CQrDatabaseManager::RemoveAll()
{
    while (!m_connections.empty())
        Remove(m_connections.begin()->first);
}

QStringList CQrDatabaseManager::Names() const
{
    QStringList names;
    for (const auto& [name, connection] : m_connections)
        names << name;
    return names;
}

bool InitializeDictionaryDatabase()
{
    const QString path = CQrGlobalUtil::GetPathStandard() + QStringLiteral("/termwise.db");
    if (!QFileInfo::exists(path))
        return false;
    QString error;
    if (!CQrDatabaseManager::GetInstance().ConnectSqlite(path, QStringLiteral("DIC"), &error)) {
        OutputLog::Post(QStringLiteral("사전 데이터베이스 %1을(를) 열 수 없습니다: %2").arg(path, error));
        return false;
    }
    return true;
}

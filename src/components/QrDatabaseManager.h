#pragma once
// Named database connections of the process: "AR" (the repository) and "DIC" (the local
// dictionary database). The manager owns the Qt connections registered with it and
// removes them when a name is replaced or removed.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <map>

class CQrDatabaseManager
{
public:
    static CQrDatabaseManager& GetInstance();

    // Opens (creating when missing) a SQLite file under the name, replacing a connection
    // already registered there. False with the driver's message in error on failure.
    bool ConnectSqlite(const QString& path, const QString& name, QString* error = nullptr);
    // Registers a connection made with QSqlDatabase::addDatabase (under any Qt connection
    // name); the manager owns it from now on. A different connection already registered
    // under the name is closed and removed first.
    void AddDatabase(const QString& name, const QSqlDatabase& db);
    // An invalid QSqlDatabase when the name is not registered.
    QSqlDatabase Database(const QString& name) const;
    bool Has(const QString& name) const;
    // True when registered and open.
    bool IsOpen(const QString& name) const;
    // Closes the connection and forgets the name.
    void Remove(const QString& name);
    void RemoveAll();
    QStringList Names() const;

private:
    CQrDatabaseManager() = default;
    std::map<QString, QString> m_connections; // name -> Qt connection name
};

// Opens <standard>/termwise.db as "DIC" when the file exists; a missing file is skipped.
// True when "DIC" is open afterwards.
bool InitializeDictionaryDatabase();

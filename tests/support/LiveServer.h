#pragma once
// The throw-away PostgreSQL and MariaDB servers of scripts/with-postgres and with-mariadb, and
// their own command-line clients, which run a generated script as a DBA would.
#include "repository/RepoTestDb.h"
#include "repository/RepositoryConnection.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QStringList>

struct LiveServer
{
    const char* name; // "postgresql" or "mariadb"
    const char* env;  // the variable holding its URI
};

// In a fixture's SetUp: the server's URI into uri; without one the test is skipped (in CI, where
// the servers must be there, it fails).
#define TAKE_LIVE_SERVER_URI(uri, server)                                                                              \
    do {                                                                                                               \
        (uri) = qEnvironmentVariable((server).env);                                                                    \
        if ((uri).isEmpty()) {                                                                                         \
            if (RunningInCi())                                                                                         \
                FAIL() << (server).env << " is not set";                                                               \
            GTEST_SKIP() << (server).env << " is not set (scripts/with-postgres, scripts/with-mariadb)";               \
        }                                                                                                              \
    } while (false)

// A connection of the test's own to the server, not yet opened.
inline QSqlDatabase AddLiveDatabase(const RepositoryUri& server, bool postgres, const QString& name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(postgres ? QStringLiteral("QPSQL") : QStringLiteral("QMYSQL"), name);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    db.setPassword(server.password);
    return db;
}

// The script run by psql or mariadb, stopping at the first error: the exit status, with what
// the client printed in output. env and mariadbOptions set up the client (a hostile one, say).
inline int RunWithClient(const RepositoryUri& server, const QString& uri, bool postgres, const QString& path,
                         QString& output, QProcessEnvironment env = QProcessEnvironment::systemEnvironment(),
                         const QStringList& mariadbOptions = {QStringLiteral("--default-character-set=utf8mb4")})
{
    QProcess client;
    if (postgres) {
        client.setProgram(QStringLiteral("psql"));
        client.setArguments({QStringLiteral("-X"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                             QStringLiteral("-q"), QStringLiteral("-f"), path, uri});
    } else {
        env.insert(QStringLiteral("MYSQL_PWD"), server.password);
        client.setProgram(QStringLiteral("mariadb"));
        client.setArguments(QStringList{QStringLiteral("--no-defaults"), QStringLiteral("-h"), server.host,
                                        QStringLiteral("-P"), QString::number(server.port), QStringLiteral("-u"),
                                        server.user} +
                            mariadbOptions + QStringList{server.database});
        client.setStandardInputFile(path);
    }
    client.setProcessEnvironment(env);
    client.start();
    if (!client.waitForFinished(60000)) {
        output = QStringLiteral("the client did not finish");
        return -1;
    }
    output = QString::fromUtf8(client.readAllStandardOutput() + client.readAllStandardError());
    return client.exitCode();
}

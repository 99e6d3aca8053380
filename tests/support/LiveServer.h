#pragma once
// The throw-away PostgreSQL and MariaDB servers of scripts/with-postgres and with-mariadb, and
// their own command-line clients, which run a generated script as a DBA would.
#include "repository/RepositoryConnection.h"

#include <QProcess>
#include <QStringList>

struct LiveServer
{
    const char* name; // "postgresql" or "mariadb"
    const char* env;  // the variable holding its URI
};

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

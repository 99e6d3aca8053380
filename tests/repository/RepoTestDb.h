#pragma once
// A fresh repository for one test, on SQLite (temporary file) or on the PostgreSQL server
// named by TERMWISE_TEST_PG (a schema of its own, dropped afterwards).
#include "repository/SqlBaseGate.h"
#include "repository/SqlExecutor.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

enum class TestDialect { Sqlite, Postgresql };

std::string DialectName(TestDialect dialect);

struct RepositoryUri;
// One statement on the maintenance database of a PostgreSQL server (CREATE or DROP DATABASE);
// true when it ran.
bool RunOnServer(const RepositoryUri& server, const QString& sql);

// The PostgreSQL URI for tests, or empty. Under CI=true an empty value is a failure the
// caller must report; elsewhere the test skips.
QString TestPostgresUri();
bool RunningInCi();

class TestRepository
{
public:
    TestRepository() = default;
    ~TestRepository();
    TestRepository(const TestRepository&) = delete;
    TestRepository& operator=(const TestRepository&) = delete;

    // False with a reason (server missing, connection refused). The schema is created.
    bool Open(TestDialect dialect, QString& reason);

    TestDialect Dialect() const { return m_dialect; }
    int DbType() const;
    ISqlExecutor& Db() { return *m_executor; }
    CSqlBaseGate& Gate() { return *m_gate; }
    QSqlDatabase Qt() const { return QSqlDatabase::database(m_connection, false); }
    QString ConnectionName() const { return m_connection; }

    // Runs SQL directly (fixtures); fails the test on error.
    void Exec(const QString& sql, const SqlParams& params = {});
    // Rows of a query as "a|b|c" lines.
    QStringList Rows(const QString& sql, const SqlParams& params = {});
    int Count(const QString& sql, const SqlParams& params = {});

    // A trigger that aborts inserting a STD_WORD_COMBI row whose WORD_ID is 'BROKEN'.
    void InstallFailingCombinationTrigger();
    // Ends the server session under the connection (PostgreSQL) or closes it (SQLite).
    void LoseConnection();
    // Opens the connection again (after LoseConnection).
    void Reconnect();
    // The PostgreSQL schema of this test (empty on SQLite) and the repository URI that reaches
    // the same tables through CRepositoryConnection.
    QString Schema() const { return m_schema; }
    QString Uri() const;

private:
    TestDialect m_dialect = TestDialect::Sqlite;
    QString m_connection;
    QString m_schema;
    QString m_adminConnection;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CQtSqlExecutor> m_executor;
    std::unique_ptr<CSqlBaseGate> m_gate;
};

// Opens the repository or skips (locally) / fails (CI) the current test.
#define OPEN_TEST_REPOSITORY(repo, dialect)                                                                            \
    do {                                                                                                               \
        QString reason_;                                                                                               \
        if (!(repo).Open((dialect), reason_)) {                                                                        \
            if ((dialect) == TestDialect::Postgresql && !RunningInCi() && TestPostgresUri().isEmpty())                 \
                GTEST_SKIP() << reason_.toStdString();                                                                 \
            FAIL() << reason_.toStdString();                                                                           \
        }                                                                                                              \
    } while (0)

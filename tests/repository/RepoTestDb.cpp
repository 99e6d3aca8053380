#include "RepoTestDb.h"

#include "components/QrDatatype.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

std::string DialectName(TestDialect dialect)
{
    return dialect == TestDialect::Sqlite ? "Sqlite" : "Postgresql";
}

bool RunOnServer(const RepositoryUri& server, const QString& sql)
{
    const QString name = QStringLiteral("test-server-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setPassword(server.password);
        ok = db.open() && db.exec(sql).lastError().type() == QSqlError::NoError;
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString TestPostgresUri()
{
    return qEnvironmentVariable("TERMWISE_TEST_PG");
}

bool RunningInCi()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

TestRepository::~TestRepository()
{
    m_gate.reset();
    m_executor.reset();
    if (!m_schema.isEmpty() && QSqlDatabase::contains(m_adminConnection)) {
        QSqlQuery drop(QSqlDatabase::database(m_adminConnection, false));
        drop.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_schema));
    }
    for (const QString& name : {m_connection, m_adminConnection}) {
        if (name.isEmpty() || !QSqlDatabase::contains(name))
            continue;
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

int TestRepository::DbType() const
{
    return m_dialect == TestDialect::Sqlite ? GlobalEnum::DBMS_SQLITE : GlobalEnum::DBMS_POSTGRESQL;
}

bool TestRepository::Open(TestDialect dialect, QString& reason)
{
    m_dialect = dialect;
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(12);
    m_connection = QStringLiteral("test-repo-") + tag;
    if (dialect == TestDialect::Sqlite) {
        m_dir = std::make_unique<QTemporaryDir>();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_dir->filePath(QStringLiteral("repository.db")));
        if (!db.open()) {
            reason = db.lastError().text();
            return false;
        }
    } else {
        const QString uri = TestPostgresUri();
        if (uri.isEmpty()) {
            reason = QStringLiteral("TERMWISE_TEST_PG is not set: run the tests through scripts/with-postgres");
            return false;
        }
        RepositoryUri parsed;
        if (!ParseRepositoryUri(uri, parsed, reason))
            return false;
        m_schema = QStringLiteral("tw_") + tag;
        m_adminConnection = m_connection + QStringLiteral("-admin");
        for (const QString& name : {m_adminConnection, m_connection}) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(parsed.host);
            db.setPort(parsed.port);
            db.setDatabaseName(parsed.database);
            db.setUserName(parsed.user);
            db.setPassword(parsed.password);
            if (!db.open()) {
                reason = QStringLiteral("cannot connect to %1: %2").arg(uri, db.lastError().text());
                return false;
            }
        }
        QSqlQuery admin(QSqlDatabase::database(m_adminConnection, false));
        if (!admin.exec(QStringLiteral("CREATE SCHEMA %1").arg(m_schema))) {
            reason = admin.lastError().text();
            return false;
        }
        QSqlQuery path(QSqlDatabase::database(m_connection, false));
        if (!path.exec(QStringLiteral("SET search_path TO %1").arg(m_schema))) {
            reason = path.lastError().text();
            return false;
        }
    }
    m_executor = std::make_unique<CQtSqlExecutor>(m_connection, DbType());
    RepositoryInitSummary summary;
    if (!CreateRepositorySchema(*m_executor, summary, reason))
        return false;
    m_gate = CreateRepositoryGate(m_executor.get());
    return m_gate != nullptr;
}

void TestRepository::Exec(const QString& sql, const SqlParams& params)
{
    const SqlOutcome out = m_executor->Execute(sql, params);
    EXPECT_TRUE(out.ok) << sql.toStdString() << ": " << out.error.toStdString();
}

QStringList TestRepository::Rows(const QString& sql, const SqlParams& params)
{
    const SqlOutcome out = m_executor->Execute(sql, params);
    EXPECT_TRUE(out.ok) << sql.toStdString() << ": " << out.error.toStdString();
    QStringList lines;
    for (const QStringList& row : out.rows.rows)
        lines << row.join(u'|');
    return lines;
}

int TestRepository::Count(const QString& sql, const SqlParams& params)
{
    const QStringList rows = Rows(sql, params);
    return rows.isEmpty() ? -1 : rows.first().toInt();
}

void TestRepository::InstallFailingCombinationTrigger()
{
    if (m_dialect == TestDialect::Sqlite) {
        Exec(QStringLiteral("CREATE TRIGGER TRG_BROKEN_COMBI BEFORE INSERT ON STD_WORD_COMBI "
                            "WHEN NEW.WORD_ID = 'BROKEN' BEGIN SELECT RAISE(ABORT, 'broken word'); END"));
    } else {
        Exec(QStringLiteral("CREATE FUNCTION %1.broken_combi() RETURNS trigger AS $$ BEGIN "
                            "IF NEW.word_id = 'BROKEN' THEN RAISE EXCEPTION 'broken word'; END IF; RETURN NEW; "
                            "END $$ LANGUAGE plpgsql")
                 .arg(m_schema));
        Exec(QStringLiteral("CREATE TRIGGER trg_broken_combi BEFORE INSERT ON STD_WORD_COMBI FOR EACH ROW "
                            "EXECUTE FUNCTION %1.broken_combi()")
                 .arg(m_schema));
    }
}

void TestRepository::LoseConnection()
{
    if (m_dialect == TestDialect::Sqlite) {
        QSqlDatabase::database(m_connection, false).close();
        return;
    }
    QSqlQuery pid(QSqlDatabase::database(m_connection, false));
    ASSERT_TRUE(pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next());
    const int backend = pid.value(0).toInt();
    pid.finish();
    QSqlQuery kill(QSqlDatabase::database(m_adminConnection, false));
    ASSERT_TRUE(kill.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend)));
}

void TestRepository::Reconnect()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.close();
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    if (m_dialect == TestDialect::Postgresql) {
        QSqlQuery path(db);
        ASSERT_TRUE(path.exec(QStringLiteral("SET search_path TO %1").arg(m_schema)));
    }
}

QString TestRepository::Uri() const
{
    if (m_dialect == TestDialect::Sqlite)
        return QStringLiteral("sqlite:") + m_dir->filePath(QStringLiteral("repository.db"));
    return TestPostgresUri() + QStringLiteral("?options=-csearch_path%3D") + m_schema;
}

#include "exchange/CatalogReader.h"

#include "components/Platform.h"
#include "components/QrDatatype.h"
#include "components/Redact.h"
#include "exchange/CatalogSql.h"
#include "exchange/ModelSourceTexts.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using ModelSource::Dialect;
namespace T = ModelSourceTexts;

namespace CatalogReader {

ModelSource::Dialect DialectOf(int dbType)
{
    switch (dbType) {
    case GlobalEnum::DBMS_POSTGRESQL:
        return Dialect::PostgreSql;
    case GlobalEnum::DBMS_MYSQL:
    case GlobalEnum::DBMS_MARIADB:
        return Dialect::MySql;
    case GlobalEnum::DBMS_SQLITE:
        return Dialect::Sqlite;
    case GlobalEnum::DBMS_ORACLE:
    case GlobalEnum::DBMS_ORACLE_OLD:
        return Dialect::Oracle;
    default:
        return Dialect::Unknown;
    }
}

bool ParseUri(const QString& uri, RepositoryUri& out, QString& error)
{
    const QString text = uri.trimmed();
    const bool mysql = text.startsWith(QLatin1String("mysql://"), Qt::CaseInsensitive);
    const bool maria = text.startsWith(QLatin1String("mariadb://"), Qt::CaseInsensitive);
    RememberSecretsIn(text);
    if (!mysql && !maria)
        return ParseRepositoryUri(text, out, error);
    out = RepositoryUri();
    const QUrl url(text, QUrl::StrictMode);
    QString database = url.path(QUrl::FullyDecoded).mid(1);
    if (!url.isValid() || url.host().isEmpty() || url.userName().isEmpty() || database.isEmpty() ||
        database.contains(u'/')) {
        error = ModelSourceTexts::kBadMysqlUri;
        return false;
    }
    out.dbType = maria ? GlobalEnum::DBMS_MARIADB : GlobalEnum::DBMS_MYSQL;
    out.host = url.host();
    out.port = url.port(3306);
    out.database = database;
    out.user = url.userName(QUrl::FullyDecoded);
    out.password = url.password(QUrl::FullyDecoded);
    if (out.password.isEmpty())
        out.password = qEnvironmentVariable("TERMWISE_DB_PASSWORD");
    RememberSecret(out.password);
    return true;
}

ModelSource::ColumnType OracleType(const QString& dataType, const QString& dataLength, const QString& precision,
                                   const QString& scale, const QString& charLength)
{
    ModelSource::ColumnType type = ModelSource::NormalizeType(Dialect::Oracle, dataType);
    if (!type.length.isEmpty()) // TIMESTAMP(6) and the like carry their own
        return type;
    static const QStringList kCharacter = {QStringLiteral("VARCHAR2"), QStringLiteral("NVARCHAR2"),
                                           QStringLiteral("CHAR"), QStringLiteral("NCHAR"), QStringLiteral("VARCHAR")};
    static const QStringList kBytes = {QStringLiteral("RAW")};
    if (kCharacter.contains(type.name)) {
        type.length = charLength.isEmpty() || charLength == u"0" ? dataLength : charLength;
    } else if (kBytes.contains(type.name)) {
        type.length = dataLength;
    } else if ((type.name == u"NUMBER" || type.name == u"FLOAT") && !precision.isEmpty()) {
        type.length = precision;
        if (type.name == u"NUMBER")
            type.scale = scale;
    }
    return type;
}

QString MySqlDefinition(const QString& columnType, const QString& nullable, const QString& defaultValue,
                        bool defaultIsNull, const QString& extra, const QString& collation, const QString& generation,
                        bool mariaDb)
{
    QString def = columnType;
    if (!collation.isEmpty())
        def += QStringLiteral(" COLLATE ") + collation;
    const QString extraUpper = extra.toUpper();
    const bool generated = extraUpper.contains(QLatin1String("VIRTUAL")) ||
                           extraUpper.contains(QLatin1String("STORED")) ||
                           extraUpper.contains(QLatin1String("PERSISTENT"));
    if (generated && !generation.isEmpty()) {
        def +=
            QStringLiteral(" AS (") + generation +
            (extraUpper.contains(QLatin1String("VIRTUAL")) ? QStringLiteral(") VIRTUAL") : QStringLiteral(") STORED"));
        return def;
    }
    def += nullable.compare(QLatin1String("NO"), Qt::CaseInsensitive) == 0 ? QStringLiteral(" NOT NULL")
                                                                           : QStringLiteral(" NULL");
    // MariaDB states defaults as SQL (literals quoted, NULL as the word); MySQL states the bare
    // value and marks expressions DEFAULT_GENERATED.
    if (mariaDb) {
        if (!defaultIsNull && defaultValue.compare(QLatin1String("NULL"), Qt::CaseInsensitive) != 0)
            def += QStringLiteral(" DEFAULT ") + defaultValue;
    } else if (!defaultIsNull) {
        const bool expression = extraUpper.contains(QLatin1String("DEFAULT_GENERATED"));
        QString literal = defaultValue;
        literal.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("''"));
        def += QStringLiteral(" DEFAULT ") + (expression ? u'(' + defaultValue + u')' : u'\'' + literal + u'\'');
    }
    if (extraUpper.contains(QLatin1String("AUTO_INCREMENT")))
        def += QStringLiteral(" AUTO_INCREMENT");
    const qsizetype onUpdate = extraUpper.indexOf(QLatin1String("ON UPDATE"));
    if (onUpdate >= 0)
        def += u' ' + extra.mid(onUpdate);
    return def;
}

namespace {

// Seconds a server may stay silent (TERMWISE_DB_TIMEOUT, default five minutes: a large Oracle
// catalog may take minutes before its first row).
int SilenceLimit()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TERMWISE_DB_TIMEOUT", &ok);
    return ok && seconds > 0 ? seconds : 300;
}

// A server that stops answering while its connection stays open would leave the read waiting
// for ever (the system answers for it, so no keepalive notices). When nothing moved for the
// limit, the watchdog cuts the sockets the connection opened; the driver's wait then ends with
// an error, which the read turns into its own message.
class Watchdog
{
public:
    explicit Watchdog(int seconds) : m_limit(seconds), m_before(Platform::OpenSockets())
    {
        m_thread = std::thread([this] { Watch(); });
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void Touch()
    {
        std::lock_guard lock(m_mutex);
        m_last = std::chrono::steady_clock::now();
    }
    bool Fired() const { return m_fired; }
    int Limit() const { return m_limit; }

private:
    void Watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_done) {
            const auto deadline = m_last + std::chrono::seconds(m_limit);
            if (std::chrono::steady_clock::now() >= deadline) {
                m_fired = true;
                for (int fd : Platform::OpenSockets())
                    if (std::find(m_before.begin(), m_before.end(), fd) == m_before.end())
                        Platform::ShutdownSocket(fd);
                return;
            }
            m_wake.wait_until(lock, deadline);
        }
    }

    const int m_limit;
    const std::vector<int> m_before;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
    bool m_done = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

// The connection for one read, removed again when the read ends.
class Session
{
public:
    explicit Session(const RepositoryUri& uri)
        : m_name(QStringLiteral("termwise:catalog:") + QUuid::createUuid().toString())
    {
        m_uri = uri;
    }
    ~Session()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isValid())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

    bool Open(QString& error)
    {
        QString driver;
        QString package;
        switch (m_uri.dbType) {
        case GlobalEnum::DBMS_SQLITE:
            driver = QStringLiteral("QSQLITE");
            package = QStringLiteral("libqt6sql6-sqlite");
            if (!QFileInfo(m_uri.path).isFile()) {
                error = T::kCannotOpen.arg(m_uri.path);
                return false;
            }
            break;
        case GlobalEnum::DBMS_POSTGRESQL:
            driver = QStringLiteral("QPSQL");
            package = QStringLiteral("libqt6sql6-psql");
            break;
        case GlobalEnum::DBMS_MYSQL:
        case GlobalEnum::DBMS_MARIADB:
            driver = QStringLiteral("QMYSQL");
            package = QStringLiteral("libqt6sql6-mysql");
            break;
        default:
            driver = QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI")) ? QStringLiteral("QOCI")
                                                                             : QStringLiteral("QODBC");
            if (!QSqlDatabase::isDriverAvailable(driver)) {
                error = T::kNoServer.arg(QStringLiteral("Qt SQL 드라이버 QOCI 또는 QODBC가 없습니다"));
                return false;
            }
            break;
        }
        if (!QSqlDatabase::isDriverAvailable(driver)) {
            error = T::kNoDriver.arg(driver, package);
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
        if (driver == QLatin1String("QSQLITE")) {
            db.setDatabaseName(m_uri.path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        } else {
            db.setHostName(m_uri.host);
            if (m_uri.port > 0)
                db.setPort(m_uri.port);
            db.setDatabaseName(m_uri.database);
            db.setUserName(m_uri.user);
            RememberSecret(m_uri.password);
            db.setPassword(m_uri.password);
            if (driver == QLatin1String("QPSQL"))
                db.setConnectOptions(m_uri.options.contains(QLatin1String("connect_timeout"))
                                         ? m_uri.options
                                         : QStringLiteral("connect_timeout=10;") + m_uri.options);
            else if (driver == QLatin1String("QMYSQL"))
                db.setConnectOptions(
                    QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10;MYSQL_OPT_READ_TIMEOUT=%1").arg(SilenceLimit()));
        }
        if (!db.open()) {
            error = db.lastError().text().trimmed();
            return false;
        }
        // Read-only where the DBMS has it: a session that cannot be made so is not used.
        const QString readOnly = m_uri.dbType == GlobalEnum::DBMS_POSTGRESQL  ? CatalogSql::Postgres::kReadOnly
                                 : DialectOf(m_uri.dbType) == Dialect::MySql  ? CatalogSql::MySql::kReadOnly
                                 : DialectOf(m_uri.dbType) == Dialect::Oracle ? CatalogSql::Oracle::kReadOnly
                                                                              : QString();
        if (!readOnly.isEmpty()) {
            QSqlQuery q(db);
            if (!q.exec(readOnly)) {
                error = q.lastError().text().trimmed();
                return false;
            }
        }
        if (driver == QLatin1String("QMYSQL")) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET NAMES utf8mb4"));
            if (q.exec(CatalogSql::MySql::kVersion) && q.next())
                m_mariaDb = q.value(0).toString().contains(QLatin1String("MariaDB"), Qt::CaseInsensitive);
        }
        return true;
    }

    QSqlDatabase Db() const { return QSqlDatabase::database(m_name, false); }
    bool MariaDb() const { return m_mariaDb; }

private:
    QString m_name;
    RepositoryUri m_uri;
    bool m_mariaDb = false;
};

struct Statements
{
    QString currentSchema, schemas, count, columns;
};

Statements StatementsOf(Dialect dialect)
{
    switch (dialect) {
    case Dialect::PostgreSql:
        return {CatalogSql::Postgres::kCurrentSchema, CatalogSql::Postgres::kSchemas, CatalogSql::Postgres::kCount,
                CatalogSql::Postgres::kColumns};
    case Dialect::MySql: // columns a batch of tables at a time: ReadMySqlColumns
        return {CatalogSql::MySql::kCurrentSchema, CatalogSql::MySql::kSchemas, QString(), QString()};
    case Dialect::Oracle:
        return {CatalogSql::Oracle::kCurrentSchema, CatalogSql::Oracle::kSchemas, CatalogSql::Oracle::kCount,
                CatalogSql::Oracle::kColumns};
    default:
        return {QString(), CatalogSql::Sqlite::kSchemas, CatalogSql::Sqlite::kCount, CatalogSql::Sqlite::kColumns};
    }
}

QString Placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

// Schema list and pattern bound in order.
bool Prepare(QSqlQuery& q, const QString& statement, const QStringList& schemas, const QString* pattern, QString& error)
{
    q.setForwardOnly(true);
    const QString text =
        statement.contains(QLatin1String("%1")) ? statement.arg(Placeholders(int(schemas.size()))) : statement;
    if (!q.prepare(text)) {
        error = q.lastError().text().trimmed();
        return false;
    }
    if (statement.contains(QLatin1String("%1")))
        for (const QString& s : schemas)
            q.addBindValue(s);
    if (pattern)
        q.addBindValue(*pattern);
    if (!q.exec()) {
        error = q.lastError().text().trimmed();
        return false;
    }
    return true;
}

QString Text(const QSqlQuery& q, int i)
{
    return q.value(i).toString();
}

// The query's current row into the list; a new table is counted.
void AppendRow(const QSqlQuery& q, Dialect dialect, ModelSource::AttributeList& list, QString& lastTable)
{
    if (dialect == Dialect::Sqlite) {
        ModelSource::AppendColumn(list, QString(), Text(q, 0), QString(), Text(q, 1), QString(),
                                  ModelSource::NormalizeType(dialect, Text(q, 2)));
    } else if (dialect == Dialect::Oracle) {
        ModelSource::AppendColumn(list, Text(q, 0), Text(q, 1), Text(q, 2), Text(q, 3), Text(q, 4),
                                  OracleType(Text(q, 5), Text(q, 6), Text(q, 7), Text(q, 8), Text(q, 9)));
    } else {
        ModelSource::AppendColumn(list, Text(q, 0), Text(q, 1), Text(q, 2), Text(q, 3), Text(q, 4),
                                  ModelSource::NormalizeType(dialect, Text(q, 5)));
    }
    const ModelSource::ColumnFacts& added = list.facts.back();
    const QString tableKey = added.schema + u'.' + added.table;
    if (tableKey != lastTable) {
        ++list.tables;
        lastTable = tableKey;
    }
}

// The key roles of a catalog's columns, from its constraints, read before the columns so
// that each column is whole when it is handed over. A catalog that will not say leaves the
// roles unknown with a warning: the model itself is still good.
using KeyRoles = QHash<QString, unsigned char>; // schema, NUL, table, NUL, column -> roles

QString KeyOf(const QString& schema, const QString& table, const QString& column)
{
    return schema + QChar(0) + table + QChar(0) + column;
}

KeyRoles ReadKeys(QSqlDatabase db, Dialect dialect, const QStringList& schemas, ModelSource::AttributeList& list)
{
    const QString statement = dialect == Dialect::PostgreSql ? CatalogSql::Postgres::kKeys
                              : dialect == Dialect::MySql    ? CatalogSql::MySql::kKeys
                              : dialect == Dialect::Oracle   ? CatalogSql::Oracle::kKeys
                                                             : CatalogSql::Sqlite::kKeys;
    KeyRoles roles;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString driverText;
    if (!Prepare(q, statement, schemas, nullptr, driverText)) {
        list.warnings << T::kKeysUnread.arg(driverText);
        return roles;
    }
    while (q.next())
        roles[KeyOf(Text(q, 0), Text(q, 1), Text(q, 2))] |= (unsigned char)q.value(3).toInt();
    return roles;
}

// The column just appended gets its key roles.
void MarkKeys(const KeyRoles& roles, ModelSource::AttributeList& list)
{
    if (roles.isEmpty())
        return;
    ModelSource::ColumnFacts& f = list.facts.back();
    f.keys = roles.value(KeyOf(f.schema, f.table, f.column), 0);
}

// Columns to the caller's chunk once there are enough, or at the end; false when it cancels.
bool HandOver(const Options& options, ModelSource::AttributeList& list, bool atEnd)
{
    if (!options.chunk || list.facts.empty() || (!atEnd && list.facts.size() < options.chunkColumns))
        return true;
    list.DoneReading();
    return options.chunk(list);
}

// The client library's codes for a server gone away or a connection lost during a query.
bool MySqlConnectionLost(const QSqlError& e)
{
    const QString code = e.nativeErrorCode();
    return code == u"2006" || code == u"2013" || code == u"2055";
}

bool ReadMySqlColumns(Watchdog& watchdog, QSqlDatabase db, bool mariaDb, const QStringList& schemas,
                      const QString& pattern, const KeyRoles& keys, ModelSource::AttributeList& list, QString& error,
                      const Options& options)
{
    // The tables with their comments first (small beside their columns), then the columns in
    // batches of tables.
    struct Table
    {
        QString schema, name, comment;
    };
    std::vector<Table> tables;
    {
        QSqlQuery q(db);
        QString driverText;
        if (!Prepare(q, CatalogSql::MySql::kTables, schemas, &pattern, driverText)) {
            error = T::kCatalogFailed.arg(driverText);
            return false;
        }
        while (q.next())
            tables.push_back({Text(q, 0), Text(q, 1), Text(q, 2)});
        watchdog.Touch();
        if (q.lastError().isValid()) {
            error = T::kConnectionLost.arg(q.lastError().text().trimmed());
            return false;
        }
    }
    if (tables.empty()) {
        error = T::kNoTables.arg(schemas.join(QStringLiteral(", ")), pattern);
        return false;
    }
    constexpr size_t kBatch = 200;
    for (size_t at = 0; at < tables.size();) {
        size_t end = at + 1;
        while (end < tables.size() && end - at < kBatch && tables[end].schema == tables[at].schema)
            ++end;
        QHash<QString, const Table*> byName;
        for (size_t i = at; i < end; ++i)
            byName.insert(tables[i].name, &tables[i]);
        QSqlQuery q(db);
        q.setForwardOnly(true);
        bool ok = q.prepare(CatalogSql::MySql::kColumnsOfTables.arg(Placeholders(int(end - at))));
        if (ok) {
            q.addBindValue(tables[at].schema);
            for (size_t i = at; i < end; ++i)
                q.addBindValue(tables[i].name);
            ok = q.exec();
        }
        const Table* table = nullptr;
        watchdog.Touch();
        while (ok && q.next()) {
            if (!table || table->name != Text(q, 0)) {
                table = byName.value(Text(q, 0));
                if (!table)
                    continue; // a name the server matched without regard to case, not in the list
                ++list.tables;
            }
            const QString definition = MySqlDefinition(Text(q, 3), Text(q, 4), Text(q, 5), q.value(5).isNull(),
                                                       Text(q, 6), Text(q, 7), Text(q, 8), mariaDb);
            ModelSource::AppendColumn(list, table->schema, table->name, table->comment, Text(q, 1), Text(q, 2),
                                      ModelSource::NormalizeType(Dialect::MySql, Text(q, 3)), definition);
            MarkKeys(keys, list);
        }
        if (!ok || q.lastError().isValid()) {
            const QSqlError e = q.lastError();
            error = (MySqlConnectionLost(e) ? T::kConnectionLost : T::kCatalogFailed).arg(e.text().trimmed());
            return false;
        }
        at = end;
        if (!HandOver(options, list, at == tables.size()) ||
            (options.progress && !options.progress(qint64(at), qint64(tables.size())))) {
            error = T::kCancelled;
            return false;
        }
    }
    return true;
}

bool ReadWith(const RepositoryUri& uri, ModelSource::AttributeList& list, QString& error, const Options& options,
              Watchdog& watchdog)
{
    const Dialect dialect = DialectOf(uri.dbType);
    Session session(uri);
    QString driverText;
    if (!session.Open(driverText)) {
        // Never with the password.
        const QString where =
            DialectOf(uri.dbType) == Dialect::MySql
                ? QStringLiteral("mysql://%1@%2:%3/%4").arg(uri.user, uri.host).arg(uri.port).arg(uri.database)
                : uri.Display();
        error = T::kOpenFailed.arg(where, driverText);
        return false;
    }
    QSqlDatabase db = session.Db();
    const Statements sql = StatementsOf(dialect);
    QStringList schemas = options.schemas;
    if (schemas.isEmpty()) {
        if (dialect == Dialect::Sqlite) {
            schemas << QStringLiteral("main");
        } else {
            QSqlQuery q(db);
            if (!q.exec(sql.currentSchema) || !q.next() || q.value(0).toString().isEmpty()) {
                error = T::kCatalogFailed.arg(q.lastError().isValid() ? q.lastError().text().trimmed()
                                                                      : T::kNoCurrentSchema);
                return false;
            }
            schemas << q.value(0).toString();
        }
    }
    {
        QSqlQuery q(db);
        if (!Prepare(q, sql.schemas, schemas, nullptr, driverText)) {
            error = T::kCatalogFailed.arg(driverText);
            return false;
        }
        QStringList known;
        while (q.next())
            known << q.value(0).toString();
        for (const QString& s : schemas)
            if (!known.contains(s)) {
                error = T::kUnknownSchema.arg(s);
                return false;
            }
    }
    // SQLite reads the main schema only; others are attached databases it does not open.
    const QString pattern = options.tables.isEmpty() ? QStringLiteral("%") : options.tables;
    list.dialect = dialect;
    const KeyRoles keys = ReadKeys(db, dialect, schemas, list);
    watchdog.Touch();
    if (dialect == Dialect::MySql) {
        const bool read =
            ReadMySqlColumns(watchdog, db, session.MariaDb(), schemas, pattern, keys, list, error, options);
        if (!read)
            list = ModelSource::AttributeList();
        list.DoneReading();
        return read;
    }
    qint64 total = 0;
    {
        QSqlQuery q(db);
        if (!Prepare(q, sql.count, schemas, &pattern, driverText)) {
            error = T::kCatalogFailed.arg(driverText);
            return false;
        }
        if (q.next())
            total = q.value(0).toLongLong();
    }
    if (total == 0) {
        error = T::kNoTables.arg(schemas.join(QStringLiteral(", ")), pattern);
        return false;
    }
    QSqlQuery q(db);
    if (!Prepare(q, sql.columns, schemas, &pattern, driverText)) {
        error = T::kCatalogFailed.arg(driverText);
        return false;
    }
    const size_t held = options.chunk ? std::min<size_t>(size_t(total), options.chunkColumns) : size_t(total);
    list.rows.reserve(qsizetype(held) + 1);
    list.facts.reserve(held);
    QString lastTable;
    qint64 done = 0;
    bool any = false;
    while (q.next()) {
        watchdog.Touch();
        AppendRow(q, dialect, list, lastTable);
        MarkKeys(keys, list);
        any = true;
        ++done;
        if (!HandOver(options, list, false) ||
            (options.progress && (done % 1000 == 0 || done == total) && !options.progress(done, total))) {
            list = ModelSource::AttributeList();
            error = T::kCancelled;
            return false;
        }
    }
    // next() is false at the end and when the server went away: only the error tells.
    if (q.lastError().isValid()) {
        list = ModelSource::AttributeList();
        error = T::kConnectionLost.arg(q.lastError().text().trimmed());
        return false;
    }
    list.DoneReading();
    if (!any) {
        error = T::kNoTables.arg(schemas.join(QStringLiteral(", ")), pattern);
        return false;
    }
    q.finish();
    watchdog.Touch();
    if (!HandOver(options, list, true)) {
        list = ModelSource::AttributeList();
        error = T::kCancelled;
        return false;
    }
    return true;
}

} // namespace

bool Read(const RepositoryUri& uri, ModelSource::AttributeList& list, QString& error, const Options& options)
{
    list = ModelSource::AttributeList();
    Watchdog watchdog(SilenceLimit());
    const bool read = ReadWith(uri, list, error, options, watchdog);
    if (!read && watchdog.Fired()) {
        list = ModelSource::AttributeList();
        error = T::kServerSilent.arg(watchdog.Limit());
    }
    return read;
}

} // namespace CatalogReader

#include "repository/SqlExecutor.h"

#include "components/QrDatatype.h"
#include "repository/RepositorySql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString ErrorText(const QSqlError& error)
{
    QString text = error.text().trimmed();
    if (text.isEmpty() && error.isValid())
        text = QStringLiteral("데이터베이스 오류 %1").arg(error.nativeErrorCode());
    return text;
}

const QString kNoConnection = QStringLiteral("저장소 연결이 없습니다");
const QString kNotOpen = QStringLiteral("저장소 연결이 열려 있지 않습니다");

// A null QString would be bound as SQL NULL; the program writes empty values as empty text.
QVariant TextValue(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

CQtSqlExecutor::CQtSqlExecutor(const QString& connectionName, int dbType)
    : m_connectionName(connectionName), m_dbType(dbType)
{
}

namespace {
// Statements kept prepared per connection; the program has a few dozen in all.
constexpr size_t kMaxPrepared = 64;
// PostgreSQL's "prepared statement does not exist": the session was replaced under us.
const QLatin1String kStatementGone("26000");

void Bind(QSqlQuery& query, const SqlParams& params)
{
    for (const SqlParam& p : params) {
        if (p.kind == SqlParamKind::Integer)
            query.addBindValue(QVariant(p.number));
        else if (p.kind == SqlParamKind::Null)
            query.addBindValue(QVariant(QMetaType::fromType<QString>()));
        else
            query.addBindValue(TextValue(p.text));
    }
}
} // namespace

namespace {
QtMessageHandler g_previousHandler = nullptr;

void DropStatementReleaseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Unable to free statement")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// A kept statement of a session that is gone (or failing) cannot be released on the server;
// the driver says so once per statement. Known and harmless: not for the user's stderr.
struct QuietStatementRelease
{
    QuietStatementRelease() { g_previousHandler = qInstallMessageHandler(DropStatementReleaseWarning); }
    ~QuietStatementRelease()
    {
        qInstallMessageHandler(g_previousHandler);
        g_previousHandler = nullptr;
    }
    QuietStatementRelease(const QuietStatementRelease&) = delete;
    QuietStatementRelease& operator=(const QuietStatementRelease&) = delete;
};
} // namespace

QSqlQuery* CQtSqlExecutor::Prepared(const QString& statement, bool& reused, QString& error)
{
    auto it = m_prepared.find(statement);
    reused = it != m_prepared.end();
    if (reused)
        return it->second.get();
    if (m_prepared.size() >= kMaxPrepared)
        m_prepared.clear();
    auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connectionName, false));
    query->setForwardOnly(true);
    if (!query->prepare(statement)) {
        error = ErrorText(query->lastError());
        return nullptr;
    }
    return m_prepared.emplace(statement, std::move(query)).first->second.get();
}

bool CQtSqlExecutor::IsOpen() const
{
    if (!QSqlDatabase::contains(m_connectionName))
        return false;
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

bool CQtSqlExecutor::IsExistTable(const QString& name)
{
    if (!IsOpen())
        return false;
    QString statement;
    switch (m_dbType) {
    case GlobalEnum::DBMS_SQLITE:
        statement = RepositorySql::Sqlite::ExistsTable;
        break;
    case GlobalEnum::DBMS_POSTGRESQL:
        statement = RepositorySql::Postgresql::ExistsTable;
        break;
    case GlobalEnum::DBMS_ORACLE:
    case GlobalEnum::DBMS_ORACLE_OLD:
        statement = RepositorySql::Oracle::ExistsTable;
        break;
    default: {
        const QStringList tables = QSqlDatabase::database(m_connectionName, false).tables();
        return tables.contains(name, Qt::CaseInsensitive);
    }
    }
    const SqlOutcome out = Execute(statement, {SqlParam::Text(name)});
    return out.ok && !out.rows.empty();
}

SqlOutcome CQtSqlExecutor::Execute(const QString& statement, const SqlParams& params)
{
    SqlOutcome out;
    if (!QSqlDatabase::contains(m_connectionName)) {
        out.error = kNoConnection;
        return out;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen()) {
        out.error = kNotOpen;
        ReportFailure(out);
        return out;
    }
    // Statements without parameters run directly: PostgreSQL cannot prepare DDL. SQLite
    // prepares locally, and a kept statement there would hold its table's lock.
    if (params.empty() || m_dbType == GlobalEnum::DBMS_SQLITE) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        const bool ran = params.empty() ? query.exec(statement) : (query.prepare(statement) && [&] {
            Bind(query, params);
            return query.exec();
        }());
        if (!ran) {
            out.error = ErrorText(query.lastError());
            out.code = query.lastError().nativeErrorCode();
            ReportFailure(out);
            return out;
        }
        ReadRows(query, out);
        if (!out.ok)
            ReportFailure(out);
        return out;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool reused = false;
        QString error;
        QSqlQuery* query = Prepared(statement, reused, error);
        if (!query) {
            out.error = error;
            ReportFailure(out);
            return out;
        }
        Bind(*query, params);
        if (query->exec()) {
            ReadRows(*query, out);
            query->finish();
            if (!out.ok)
                ReportFailure(out);
            return out;
        }
        out.error = ErrorText(query->lastError());
        out.code = query->lastError().nativeErrorCode();
        // A kept statement whose session was replaced (reconnect): prepare it again once.
        {
            QuietStatementRelease quiet;
            m_prepared.erase(statement);
        }
        if (!reused || out.code != kStatementGone)
            break;
        out = SqlOutcome();
    }
    ReportFailure(out);
    return out;
}

CQtSqlExecutor::~CQtSqlExecutor()
{
    // a repository dropped after its server went away
    ResetSession();
}

void CQtSqlExecutor::ResetSession()
{
    QuietStatementRelease quiet;
    m_prepared.clear();
}

bool CQtSqlExecutor::IsConnectionError(const QString& code, bool stillOpen)
{
    if (!stillOpen || code.startsWith(QLatin1String("08")))
        return true;
    // PostgreSQL: administrator shutdown, crash shutdown, cannot connect now.
    static const QStringList server = {QStringLiteral("57P01"), QStringLiteral("57P02"), QStringLiteral("57P03")};
    // Oracle: end-of-file on channel, not connected, connection lost, no listener, TNS timeouts.
    static const QStringList oracle = {QStringLiteral("3113"),  QStringLiteral("3114"),  QStringLiteral("3135"),
                                       QStringLiteral("12541"), QStringLiteral("12170"), QStringLiteral("12571")};
    QString number = code;
    if (number.startsWith(QLatin1String("ORA-"), Qt::CaseInsensitive))
        number = number.mid(4);
    while (number.startsWith(u'0') && number.size() > 1)
        number = number.mid(1);
    return server.contains(code) || oracle.contains(number);
}

void CQtSqlExecutor::ReportFailure(SqlOutcome& out)
{
    if (out.ok)
        return;
    const bool open =
        QSqlDatabase::contains(m_connectionName) && QSqlDatabase::database(m_connectionName, false).isOpen();
    if (!IsConnectionError(out.code, open))
        return;
    out.connectionLost = true;
    ResetSession();
    if (!m_lostHandler)
        return;
    // The handler may run window code: a copy keeps it alive if it replaces itself.
    const LostHandler handler = m_lostHandler;
    handler(out.error);
}

void CQtSqlExecutor::ReadRows(QSqlQuery& query, SqlOutcome& out)
{
    if (query.isSelect()) {
        const QSqlRecord record = query.record();
        const int count = record.count();
        out.rows.columns.reserve(count);
        for (int i = 0; i < count; ++i)
            out.rows.columns << record.fieldName(i).toUpper();
        while (query.next()) {
            QStringList row;
            row.reserve(count);
            for (int i = 0; i < count; ++i)
                row << query.value(i).toString();
            out.rows.rows.push_back(std::move(row));
        }
        // A connection that drops in the middle of the rows ends the loop with an error.
        if (query.lastError().isValid()) {
            out.error = ErrorText(query.lastError());
            return;
        }
    }
    out.ok = true;
}

bool CQtSqlExecutor::BeginTransaction()
{
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = kNotOpen;
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.transaction())
        return true;
    m_lastError = ErrorText(db.lastError());
    return false;
}

bool CQtSqlExecutor::CommitTransaction()
{
    m_lastError.clear();
    if (!QSqlDatabase::contains(m_connectionName)) {
        m_lastError = kNoConnection;
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.commit())
        return true;
    m_lastError = ErrorText(db.lastError());
    return false;
}

bool CQtSqlExecutor::RollbackTransaction()
{
    m_lastError.clear();
    if (!QSqlDatabase::contains(m_connectionName)) {
        m_lastError = kNoConnection;
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.rollback())
        return true;
    m_lastError = ErrorText(db.lastError());
    return false;
}

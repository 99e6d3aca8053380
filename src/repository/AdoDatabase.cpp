#include "repository/AdoDatabase.h"

#include "components/QrDatatype.h"
#include "components/Redact.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryTexts.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

CComError::CComError(AdoHResult code, const QString& description)
    : std::runtime_error(description.toStdString()), m_code(code), m_description(description)
{
}

namespace {
QString NextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("ado-connection-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}
} // namespace

CAdoConnectionObject::CAdoConnectionObject() : m_name(NextConnectionName()) {}

CAdoConnectionObject::~CAdoConnectionObject()
{
    Close();
}

bool CAdoConnectionObject::IsOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

void CAdoConnectionObject::RequireOpen() const
{
    if (!IsOpen())
        throw CComError(AdoCode::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

void CAdoConnectionObject::ThrowDriverError(const QString& what, const QString& driverText) const
{
    const QString text = driverText.trimmed();
    throw CComError(AdoCode::Fail, text.isEmpty() ? what : what + QStringLiteral(": ") + text);
}

void CAdoConnectionObject::Open(const QString& uri, const QString& user, const QString& password, long timeoutSeconds)
{
    if (IsOpen())
        throw CComError(AdoCode::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    RepositoryUri parsed;
    QString error;
    if (!ParseRepositoryUri(uri, parsed, error))
        throw CComError(AdoCode::InvalidArgument, error);
    if (!user.isEmpty())
        parsed.user = user;
    if (!password.isEmpty())
        parsed.password = password;
    RememberSecret(parsed.password);

    QString driver;
    QStringList options;
    const bool readOnly = (m_mode & cadoModeReadWrite) == cadoModeRead;
    switch (parsed.dbType) {
    case GlobalEnum::DBMS_SQLITE:
        // Opening must not create a database as a side effect of a typo.
        if (!QFileInfo::exists(parsed.path))
            throw CComError(AdoCode::Fail, RepositoryText::FileMissing.arg(parsed.path));
        driver = QStringLiteral("QSQLITE");
        options << QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(timeoutSeconds > 0 ? timeoutSeconds * 1000 : 5000);
        if (readOnly)
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
        break;
    case GlobalEnum::DBMS_POSTGRESQL:
        driver = QStringLiteral("QPSQL");
        if (!parsed.options.isEmpty())
            options << parsed.options;
        if (timeoutSeconds > 0)
            options << QStringLiteral("connect_timeout=%1").arg(timeoutSeconds);
        break;
    default:
        driver =
            QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI")) ? QStringLiteral("QOCI") : QStringLiteral("QODBC");
        break;
    }
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw CComError(AdoCode::Fail, QStringLiteral("%1 드라이버가 없습니다").arg(driver));

    QString openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
        db.setDatabaseName(parsed.dbType == GlobalEnum::DBMS_SQLITE ? parsed.path : parsed.database);
        db.setHostName(parsed.host);
        if (parsed.port > 0)
            db.setPort(parsed.port);
        db.setUserName(parsed.user);
        db.setPassword(parsed.password);
        db.setConnectOptions(options.join(u';'));
        if (!db.open())
            openError = db.lastError().text();
    }
    if (!openError.isNull()) {
        QSqlDatabase::removeDatabase(m_name);
        ThrowDriverError(RepositoryText::OpenFailed.arg(parsed.Display()), openError);
    }
    m_level = 0;
    if (readOnly && parsed.dbType == GlobalEnum::DBMS_POSTGRESQL) {
        // A connection asked for read-only must not stay open writable when that fails.
        try {
            Run(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
        } catch (...) {
            Close();
            throw;
        }
    }
}

void CAdoConnectionObject::Close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        // Closing with work pending drops it, as closing an ADO connection does.
        if (m_level > 0 && db.isOpen())
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_level = 0;
}

void CAdoConnectionObject::SetMode(cadoConnectModeEnum mode)
{
    if (IsOpen())
        throw CComError(AdoCode::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    m_mode = mode;
}

void CAdoConnectionObject::Run(const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    if (!query.exec(sql))
        ThrowDriverError(sql, query.lastError().text());
}

long CAdoConnectionObject::BeginTrans()
{
    RequireOpen();
    if (m_level == 0) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (!db.transaction())
            ThrowDriverError(QStringLiteral("BeginTrans"), db.lastError().text());
    } else {
        Run(QStringLiteral("SAVEPOINT ado_level_%1").arg(m_level + 1));
    }
    return ++m_level;
}

void CAdoConnectionObject::CommitTrans()
{
    RequireOpen();
    if (m_level == 0)
        throw CComError(AdoCode::IllegalOperation, QStringLiteral("No transaction is active."));
    if (m_level == 1) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (!db.commit())
            ThrowDriverError(QStringLiteral("CommitTrans"), db.lastError().text());
    } else {
        Run(QStringLiteral("RELEASE SAVEPOINT ado_level_%1").arg(m_level));
    }
    --m_level;
}

void CAdoConnectionObject::RollbackTrans()
{
    RequireOpen();
    if (m_level == 0)
        throw CComError(AdoCode::IllegalOperation, QStringLiteral("No transaction is active."));
    if (m_level == 1) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (!db.rollback())
            ThrowDriverError(QStringLiteral("RollbackTrans"), db.lastError().text());
    } else {
        Run(QStringLiteral("ROLLBACK TO SAVEPOINT ado_level_%1").arg(m_level));
        Run(QStringLiteral("RELEASE SAVEPOINT ado_level_%1").arg(m_level));
    }
    --m_level;
}

CADODatabase::CADODatabase() : m_connection(std::make_shared<CAdoConnectionObject>()) {}

CADODatabase::CADODatabase(AdoConnectionPtr connection) : m_connection(std::move(connection)) {}

CADODatabase::~CADODatabase()
{
    // The last holder closes; a copy going away leaves the shared connection to the others.
    if (m_connection && m_connection.use_count() == 1)
        m_connection->Close();
}

CAdoConnectionObject& CADODatabase::Connection() const
{
    if (!m_connection)
        throw CComError(AdoCode::Pointer, QStringLiteral("The connection handle is empty."));
    return *m_connection;
}

void CADODatabase::Remember(const CComError& error)
{
    m_lastError = quint32(error.Error());
    m_lastErrorString = error.Description();
    m_errorDescription = error.Description();
    throw error;
}

bool CADODatabase::Open(const QString& connectionString, const QString& user, const QString& password)
{
    try {
        CAdoConnectionObject& connection = Connection();
        // An open connection refuses to open again and keeps the string it was opened with.
        if (!connectionString.isEmpty() && !connection.IsOpen())
            m_connectionString = connectionString;
        connection.Open(m_connectionString, user, password, m_connectionTimeout);
    } catch (const CComError& error) {
        Remember(error);
    }
    m_lastError = 0;
    m_lastErrorString.clear();
    m_errorDescription.clear();
    return true;
}

void CADODatabase::Close()
{
    Connection().Close();
}

bool CADODatabase::IsOpen() const
{
    return Connection().IsOpen();
}

long CADODatabase::Execute(const QString& sql)
{
    CAdoConnectionObject& connection = Connection();
    try {
        connection.RequireOpen();
        QSqlQuery query(QSqlDatabase::database(connection.QtName(), false));
        if (!query.exec(sql))
            connection.ThrowDriverError(sql, query.lastError().text());
        m_recordsAffected = query.numRowsAffected();
    } catch (const CComError& error) {
        Remember(error);
    }
    return m_recordsAffected;
}

long CADODatabase::BeginTransaction()
{
    return Connection().BeginTrans();
}

AdoHResult CADODatabase::CommitTransaction()
{
    Connection().CommitTrans();
    return AdoCode::Ok;
}

AdoHResult CADODatabase::RollbackTransaction()
{
    Connection().RollbackTrans();
    return AdoCode::Ok;
}

AdoHResult CADODatabase::Cancel()
{
    // Statements run to completion before a call returns, so nothing is ever pending.
    Connection();
    return AdoCode::Ok;
}

void CADODatabase::SetConnectionMode(cadoConnectModeEnum mode)
{
    Connection().SetMode(mode);
}

void CADODatabase::SetConnectionString(const wchar_t* text)
{
    m_connectionString = text ? QString::fromWCharArray(text) : QString();
}

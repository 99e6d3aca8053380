#include "repository/AdoCommand.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

CADOParameter::CADOParameter(int type, long size, int direction, const QString& name)
    : m_parameter(std::make_shared<CAdoParameterObject>(name, type, size, direction)), m_name(name), m_type(type)
{
}

CADOParameter::CADOParameter(AdoParameterPtr parameter) : m_parameter(std::move(parameter))
{
    if (m_parameter) {
        m_name = m_parameter->Name();
        m_type = m_parameter->Type();
    }
}

CADOParameter::~CADOParameter() = default;

CAdoParameterObject& CADOParameter::Parameter() const
{
    if (!m_parameter)
        throw CComError(AdoCode::Pointer, QStringLiteral("The parameter handle is empty."));
    return *m_parameter;
}

void CADOParameter::SetValue(const QVariant& value)
{
    Parameter().SetValue(value);
}

QVariant CADOParameter::GetValue() const
{
    return Parameter().Value();
}

void CADOParameter::SetPrecision(int precision)
{
    Parameter().SetPrecision(precision);
}

void CADOParameter::SetScale(int scale)
{
    Parameter().SetNumericScale(scale);
}

CADOCommand::CADOCommand(const CADODatabase& database, const QString& text, int type)
    : m_command(std::make_shared<CAdoCommandObject>()), m_type(type), m_text(text)
{
    m_command->connection = database.GetActiveConnection();
    m_command->text = text;
}

CADOCommand::CADOCommand(AdoCommandPtr command) : m_command(std::move(command))
{
    if (m_command)
        m_text = m_command->text;
}

CADOCommand::~CADOCommand() = default;

CAdoCommandObject& CADOCommand::Command() const
{
    if (!m_command)
        throw CComError(AdoCode::Pointer, QStringLiteral("The command handle is empty."));
    return *m_command;
}

void CADOCommand::SetText(const QString& text)
{
    Command().text = text;
    m_text = text;
}

void CADOCommand::SetTimeout(long seconds)
{
    if (seconds < 0)
        throw CComError(AdoCode::InvalidArgument, QStringLiteral("The timeout cannot be negative."));
    Command().timeoutSeconds = seconds;
}

void CADOCommand::AddParameter(const CADOParameter& parameter)
{
    if (!parameter.GetParameter())
        throw CComError(AdoCode::Pointer, QStringLiteral("The parameter handle is empty."));
    Command().parameters.push_back(parameter.GetParameter());
}

AdoConnectionPtr CADOCommand::GetActiveConnection() const
{
    return Command().connection;
}

QVariantList CADOCommand::ParameterValues() const
{
    QVariantList values;
    for (const AdoParameterPtr& parameter : Command().parameters)
        values << parameter->Value();
    return values;
}

long CADOCommand::Execute()
{
    CAdoCommandObject& command = Command();
    try {
        if (!command.connection)
            throw CComError(AdoCode::Pointer, QStringLiteral("The command has no active connection."));
        command.connection->RequireOpen();
        QSqlDatabase db = QSqlDatabase::database(command.connection->QtName(), false);
        // Only PostgreSQL can stop a statement that runs too long; SQLite waits for locks
        // up to the connection's busy timeout instead.
        const bool server = db.driverName() == QLatin1String("QPSQL");
        // The session's own limit (set by the caller or the connection options) comes back after.
        QString sessionTimeout;
        if (server) {
            QSqlQuery show(db);
            if (show.exec(QStringLiteral("SHOW statement_timeout")) && show.next())
                sessionTimeout = show.value(0).toString();
        }
        QSqlQuery query(db);
        if (server)
            query.exec(QStringLiteral("SET statement_timeout = %1").arg(command.timeoutSeconds * 1000));
        bool ok = query.prepare(command.text);
        if (ok) {
            for (const QVariant& value : ParameterValues())
                query.addBindValue(value);
            ok = query.exec();
        }
        const QString error = ok ? QString() : query.lastError().text();
        m_recordsAffected = ok ? query.numRowsAffected() : 0;
        if (server) {
            QSqlQuery reset(db);
            if (sessionTimeout.isEmpty()) {
                reset.exec(QStringLiteral("RESET statement_timeout"));
            } else {
                reset.prepare(QStringLiteral("SELECT set_config('statement_timeout', ?, false)"));
                reset.addBindValue(sessionTimeout);
                reset.exec();
            }
        }
        if (!ok)
            command.connection->ThrowDriverError(command.text, error);
    } catch (const CComError& error) {
        m_lastErrorString = error.Description();
        throw;
    }
    m_lastErrorString.clear();
    return m_recordsAffected;
}

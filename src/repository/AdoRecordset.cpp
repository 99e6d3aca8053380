#include "repository/AdoRecordset.h"

#include "repository/AdoCommand.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
[[noreturn]] void ThrowNoCurrentRecord()
{
    throw CComError(AdoCode::NoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
}

[[noreturn]] void ThrowInvalidArgument(const QString& what)
{
    throw CComError(AdoCode::InvalidArgument, what);
}
} // namespace

void CAdoRecordsetObject::Open(const AdoConnectionPtr& connection, const QString& sql, const QVariantList& params)
{
    if (m_open)
        throw CComError(AdoCode::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    if (!connection)
        throw CComError(AdoCode::Pointer, QStringLiteral("The recordset has no active connection."));
    connection->RequireOpen();
    QSqlQuery query(QSqlDatabase::database(connection->QtName(), false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        connection->ThrowDriverError(sql, query.lastError().text());
    for (const QVariant& value : params)
        query.addBindValue(value);
    if (!query.exec())
        connection->ThrowDriverError(sql, query.lastError().text());
    const QSqlRecord record = query.record();
    m_fields.clear();
    m_rows.clear();
    for (int i = 0; i < record.count(); ++i)
        m_fields << record.fieldName(i);
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        m_rows.push_back(std::move(row));
    }
    m_open = true;
    m_current = m_rows.empty() ? -1 : 0;
}

void CAdoRecordsetObject::Close()
{
    m_open = false;
    m_fields.clear();
    m_rows.clear();
    m_current = -1;
}

void CAdoRecordsetObject::RequireOpen() const
{
    if (!m_open)
        throw CComError(AdoCode::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

void CAdoRecordsetObject::RequireCurrent() const
{
    RequireOpen();
    if (Bof() || Eof())
        ThrowNoCurrentRecord();
}

bool CAdoRecordsetObject::Bof() const
{
    RequireOpen();
    return m_rows.empty() || m_current < 0;
}

bool CAdoRecordsetObject::Eof() const
{
    RequireOpen();
    return m_rows.empty() || m_current >= long(m_rows.size());
}

void CAdoRecordsetObject::MoveFirst()
{
    RequireOpen();
    if (m_rows.empty())
        ThrowNoCurrentRecord();
    m_current = 0;
}

void CAdoRecordsetObject::MoveLast()
{
    RequireOpen();
    if (m_rows.empty())
        ThrowNoCurrentRecord();
    m_current = long(m_rows.size()) - 1;
}

void CAdoRecordsetObject::MoveNext()
{
    if (Eof())
        ThrowNoCurrentRecord();
    ++m_current;
}

void CAdoRecordsetObject::MovePrevious()
{
    if (Bof())
        ThrowNoCurrentRecord();
    --m_current;
}

long CAdoRecordsetObject::RecordCount() const
{
    RequireOpen();
    return long(m_rows.size());
}

long CAdoRecordsetObject::AbsolutePosition() const
{
    if (Bof())
        return AdoPosition::Bof;
    if (Eof())
        return AdoPosition::Eof;
    return m_current + 1;
}

void CAdoRecordsetObject::SetAbsolutePosition(long position)
{
    RequireOpen();
    if (position < 1 || position > long(m_rows.size()))
        ThrowInvalidArgument(QStringLiteral("Position %1 is outside 1 to %2.").arg(position).arg(m_rows.size()));
    m_current = position - 1;
}

void CAdoRecordsetObject::SetPageSize(long size)
{
    if (size < 1)
        ThrowInvalidArgument(QStringLiteral("The page size must be at least 1."));
    m_pageSize = size;
}

long CAdoRecordsetObject::PageCount() const
{
    RequireOpen();
    return (long(m_rows.size()) + m_pageSize - 1) / m_pageSize;
}

long CAdoRecordsetObject::AbsolutePage() const
{
    if (Bof())
        return AdoPosition::Bof;
    if (Eof())
        return AdoPosition::Eof;
    return m_current / m_pageSize + 1;
}

void CAdoRecordsetObject::SetAbsolutePage(long page)
{
    if (page < 1 || page > PageCount())
        ThrowInvalidArgument(QStringLiteral("Page %1 is outside 1 to %2.").arg(page).arg(PageCount()));
    m_current = (page - 1) * m_pageSize;
}

long CAdoRecordsetObject::FieldCount() const
{
    RequireOpen();
    return long(m_fields.size());
}

QString CAdoRecordsetObject::FieldName(int index) const
{
    RequireOpen();
    if (index < 0 || index >= m_fields.size())
        ThrowInvalidArgument(QStringLiteral("No field %1.").arg(index));
    return m_fields[index];
}

QVariant CAdoRecordsetObject::FieldValue(int index) const
{
    RequireCurrent();
    if (index < 0 || index >= m_fields.size())
        ThrowInvalidArgument(QStringLiteral("No field %1.").arg(index));
    return m_rows[size_t(m_current)][index];
}

QVariant CAdoRecordsetObject::FieldValue(const QString& name) const
{
    RequireOpen();
    for (int i = 0; i < m_fields.size(); ++i) {
        // PostgreSQL folds unquoted names to lower case, so names match without case.
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return FieldValue(i);
    }
    ThrowInvalidArgument(QStringLiteral("No field named %1.").arg(name));
}

QVariant CAdoRecordsetObject::Bookmark() const
{
    RequireCurrent();
    return QVariant::fromValue(m_current + 1);
}

void CAdoRecordsetObject::SetBookmark(const QVariant& bookmark)
{
    bool ok = false;
    const long position = bookmark.toLongLong(&ok);
    if (!ok)
        ThrowInvalidArgument(QStringLiteral("The bookmark is not one of this recordset."));
    SetAbsolutePosition(position);
}

CADORecordset::CADORecordset() : m_recordset(std::make_shared<CAdoRecordsetObject>()) {}

CADORecordset::CADORecordset(const CADODatabase& database)
    : m_recordset(std::make_shared<CAdoRecordsetObject>()), m_connection(database.GetActiveConnection())
{
}

CADORecordset::CADORecordset(AdoRecordsetPtr recordset) : m_recordset(std::move(recordset)) {}

CADORecordset::~CADORecordset() = default;

CAdoRecordsetObject& CADORecordset::Recordset() const
{
    if (!m_recordset)
        throw CComError(AdoCode::Pointer, QStringLiteral("The recordset handle is empty."));
    return *m_recordset;
}

void CADORecordset::Remember(const CComError& error)
{
    m_lastError = quint32(error.Error());
    m_lastErrorString = error.Description();
    throw error;
}

bool CADORecordset::Open(const QString& sql)
{
    if (!sql.isEmpty())
        m_query = sql;
    try {
        Recordset().Open(m_connection, m_query);
    } catch (const CComError& error) {
        Remember(error);
    }
    m_lastError = 0;
    m_lastErrorString.clear();
    return true;
}

bool CADORecordset::Execute(CADOCommand& command)
{
    m_connection = command.GetActiveConnection();
    m_query = command.GetText();
    try {
        Recordset().Open(m_connection, m_query, command.ParameterValues());
    } catch (const CComError& error) {
        Remember(error);
    }
    m_lastError = 0;
    m_lastErrorString.clear();
    return true;
}

void CADORecordset::Close()
{
    Recordset().Close();
}

bool CADORecordset::IsOpen() const
{
    return Recordset().IsOpen();
}

bool CADORecordset::IsEOF() const
{
    return Recordset().Eof();
}

bool CADORecordset::IsBOF() const
{
    return Recordset().Bof();
}

void CADORecordset::MoveFirst()
{
    Recordset().MoveFirst();
}

void CADORecordset::MoveNext()
{
    Recordset().MoveNext();
}

void CADORecordset::MovePrevious()
{
    Recordset().MovePrevious();
}

void CADORecordset::MoveLast()
{
    Recordset().MoveLast();
}

long CADORecordset::GetRecordCount() const
{
    return Recordset().RecordCount();
}

int CADORecordset::GetAbsolutePage() const
{
    return int(Recordset().AbsolutePage());
}

void CADORecordset::SetAbsolutePage(int page)
{
    Recordset().SetAbsolutePage(page);
}

int CADORecordset::GetPageCount() const
{
    return int(Recordset().PageCount());
}

int CADORecordset::GetPageSize() const
{
    return int(Recordset().PageSize());
}

void CADORecordset::SetPageSize(int size)
{
    Recordset().SetPageSize(size);
}

int CADORecordset::GetAbsolutePosition() const
{
    return int(Recordset().AbsolutePosition());
}

void CADORecordset::SetAbsolutePosition(int position)
{
    Recordset().SetAbsolutePosition(position);
}

int CADORecordset::GetFieldCount() const
{
    return int(Recordset().FieldCount());
}

QString CADORecordset::GetFieldName(int index) const
{
    return Recordset().FieldName(index);
}

QVariant CADORecordset::GetFieldValue(int index) const
{
    return Recordset().FieldValue(index);
}

QVariant CADORecordset::GetFieldValue(const QString& name) const
{
    return Recordset().FieldValue(name);
}

QVariant CADORecordset::GetBookmark()
{
    m_bookmark = Recordset().Bookmark();
    return m_bookmark;
}

void CADORecordset::SetBookmark()
{
    Recordset().SetBookmark(m_bookmark);
}

bool CADORecordset::IsConnectionOpen() const
{
    if (!m_connection)
        return false;
    return m_connection->State() != 0;
}

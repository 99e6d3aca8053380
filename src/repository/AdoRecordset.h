#pragma once
// CADORecordset: the rows of one query with ADO's cursor rules. BOF lies before the first
// row and EOF after the last; an empty result is at both. Positions and pages count from 1.
#include "repository/AdoDatabase.h"

#include <QStringList>
#include <QVariantList>
#include <vector>

class CADOCommand;

class CAdoRecordsetObject
{
public:
    // Runs the statement on the open connection and reads every row.
    void Open(const AdoConnectionPtr& connection, const QString& sql, const QVariantList& params = {});
    void Close();
    bool IsOpen() const { return m_open; }

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    long RecordCount() const;
    long AbsolutePosition() const;
    void SetAbsolutePosition(long position);
    long PageSize() const { return m_pageSize; }
    void SetPageSize(long size);
    long PageCount() const;
    long AbsolutePage() const;
    void SetAbsolutePage(long page);

    long FieldCount() const;
    QString FieldName(int index) const;
    QVariant FieldValue(int index) const;
    QVariant FieldValue(const QString& name) const;
    // The bookmark of the current row: its position, valid for SetBookmark later.
    QVariant Bookmark() const;
    void SetBookmark(const QVariant& bookmark);

private:
    void RequireOpen() const;
    void RequireCurrent() const;

    bool m_open = false;
    QStringList m_fields;
    std::vector<QVariantList> m_rows;
    long m_current = -1; // -1 BOF, size() EOF
    long m_pageSize = 10;
};
using AdoRecordsetPtr = std::shared_ptr<CAdoRecordsetObject>;

class CADORecordset
{
public:
    CADORecordset();
    // Over an open database: the recordset's active connection is the database's connection.
    explicit CADORecordset(const CADODatabase& database);
    // Wraps an existing recordset object (empty: every call throws E_POINTER).
    explicit CADORecordset(AdoRecordsetPtr recordset);
    virtual ~CADORecordset();
    CADORecordset(const CADORecordset&) = default;
    CADORecordset& operator=(const CADORecordset&) = default;

    // Runs the query text given (or the stored one when empty) on the active connection.
    bool Open(const QString& sql = {});
    // Runs a prepared command; its connection becomes the active one.
    bool Execute(CADOCommand& command);
    void Close();
    bool IsOpen() const;

    bool IsEOF() const;
    bool IsEof() const { return IsEOF(); }
    bool IsBOF() const;
    bool IsBof() const { return IsBOF(); }
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();

    long GetRecordCount() const;
    int GetAbsolutePage() const;
    void SetAbsolutePage(int page);
    int GetPageCount() const;
    int GetPageSize() const;
    void SetPageSize(int size);
    int GetAbsolutePosition() const;
    void SetAbsolutePosition(int position);
    int GetFieldCount() const;
    QString GetFieldName(int index) const;
    QVariant GetFieldValue(int index) const;
    QVariant GetFieldValue(const QString& name) const;

    // Takes the current row's bookmark into the wrapper, and returns it.
    QVariant GetBookmark();
    QVariant Bookmark() const { return m_bookmark; }
    void SetBookmark();

    bool IsConnectionOpen() const;
    AdoRecordsetPtr GetRecordset() const { return m_recordset; }
    AdoConnectionPtr GetActiveConnection() const { return m_connection; }
    QString GetQuery() const { return m_query; }
    void SetQuery(const char* text) { m_query = QString::fromUtf8(text); }
    quint32 GetLastError() const { return m_lastError; }
    QString GetLastErrorString() const { return m_lastErrorString; }

private:
    CAdoRecordsetObject& Recordset() const;
    [[noreturn]] void Remember(const CComError& error);

    AdoRecordsetPtr m_recordset;
    AdoConnectionPtr m_connection;
    QVariant m_bookmark;
    QString m_query;
    QString m_lastErrorString;
    quint32 m_lastError = 0;
};

#pragma once
// Record access for other programs: CADODatabase, CADORecordset, CADOCommand and CADOParameter
// keep the interface of the Windows wrappers over ActiveX Data Objects, built here on Qt SQL.
//
// What stands for what:
// - The COM objects (Connection, Recordset, Command, Parameter) are the CAdo*Object classes,
//   held in shared_ptr handles: copying a wrapper shares its handle (AddRef), replacing one
//   drops it (Release), and assigning the handle a wrapper already holds changes no count.
// - _com_error is CComError: every failing call throws it with an HRESULT-style code and the
//   driver's message; a call on an empty handle throws E_POINTER. Nothing here catches.
// - CoInitialize/CoUninitialize and OleRun have nothing to do here: Qt SQL needs no
//   per-thread start, so the constructor only creates the connection object.
// - VARIANT is QVariant, whose copy cannot fail, so copying a wrapper never throws.
//   __autoclassinit2 (the compiler's zero-fill before construction) is the members' initialisers.
// - Connection strings are repository URIs (sqlite:PATH, postgresql://user@host:port/db,
//   oracle://user@tns), the same the rest of the program takes.
// - Results are read whole when a recordset opens, so BOF/EOF, paging, positions and
//   bookmarks behave the same on every driver (ADO's static client cursor).
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <stdexcept>

using AdoHResult = std::int32_t;

namespace AdoCode {
constexpr AdoHResult Ok = 0;
constexpr AdoHResult Pointer = AdoHResult(0x80004003u); // E_POINTER: empty handle
constexpr AdoHResult Fail = AdoHResult(0x80004005u);    // E_FAIL: the driver refused
// ADO's own errors (0x800A0000 + the ADO error number).
constexpr AdoHResult InvalidArgument = AdoHResult(0x800A0BB9u);  // 3001
constexpr AdoHResult NoCurrentRecord = AdoHResult(0x800A0BCDu);  // 3021: BOF or EOF
constexpr AdoHResult IllegalOperation = AdoHResult(0x800A0C93u); // 3219
constexpr AdoHResult ObjectClosed = AdoHResult(0x800A0E78u);     // 3704
constexpr AdoHResult ObjectOpen = AdoHResult(0x800A0E79u);       // 3705
} // namespace AdoCode

// ADO's special positions and pages.
namespace AdoPosition {
constexpr int Unknown = -1;
constexpr int Bof = -2;
constexpr int Eof = -3;
} // namespace AdoPosition

enum cadoConnectModeEnum {
    cadoModeUnknown = 0,
    cadoModeRead = 1,
    cadoModeWrite = 2,
    cadoModeReadWrite = 3,
    cadoModeShareDenyRead = 4,
    cadoModeShareDenyWrite = 8,
    cadoModeShareExclusive = 12,
    cadoModeShareDenyNone = 16,
};

class CComError : public std::runtime_error
{
public:
    CComError(AdoHResult code, const QString& description);
    AdoHResult Error() const { return m_code; }
    QString Description() const { return m_description; }

private:
    AdoHResult m_code;
    QString m_description;
};

// The connection object: one Qt SQL connection of its own, opened and closed explicitly.
class CAdoConnectionObject
{
public:
    CAdoConnectionObject();
    ~CAdoConnectionObject();
    CAdoConnectionObject(const CAdoConnectionObject&) = delete;
    CAdoConnectionObject& operator=(const CAdoConnectionObject&) = delete;

    void Open(const QString& uri, const QString& user, const QString& password, long timeoutSeconds);
    void Close();
    bool IsOpen() const;
    // 0 closed, 1 open (adStateClosed / adStateOpen).
    long State() const { return IsOpen() ? 1 : 0; }
    void SetMode(cadoConnectModeEnum mode);
    cadoConnectModeEnum Mode() const { return m_mode; }

    // Nesting level after BeginTrans; inner levels are savepoints.
    long BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    long TransactionLevel() const { return m_level; }

    // The Qt connection name, for the recordset and command objects.
    QString QtName() const { return m_name; }
    // Throws ObjectClosed unless open.
    void RequireOpen() const;
    // Throws E_FAIL with the driver's text of a failed Qt call.
    [[noreturn]] void ThrowDriverError(const QString& what, const QString& driverText) const;

private:
    void Run(const QString& sql);

    QString m_name;
    cadoConnectModeEnum m_mode = cadoModeUnknown;
    long m_level = 0;
};
using AdoConnectionPtr = std::shared_ptr<CAdoConnectionObject>;

class CADODatabase
{
public:
    CADODatabase();
    // Wraps an existing connection object (empty: every call throws E_POINTER).
    explicit CADODatabase(AdoConnectionPtr connection);
    virtual ~CADODatabase();
    CADODatabase(const CADODatabase&) = default;
    CADODatabase& operator=(const CADODatabase&) = default;

    // Opens the connection string given, or the stored one when empty. Throws on failure,
    // after setting the last-error fields.
    bool Open(const QString& connectionString = {}, const QString& user = {}, const QString& password = {});
    // Closes the shared connection for every holder; harmless when closed.
    void Close();
    bool IsOpen() const;
    // Runs a statement that returns no rows; the count of rows it touched.
    long Execute(const QString& sql);

    long BeginTransaction();
    AdoHResult CommitTransaction();
    AdoHResult RollbackTransaction();
    AdoHResult Cancel();

    void SetConnectionMode(cadoConnectModeEnum mode);
    void SetConnectionString(const wchar_t* text);
    void SetConnectionString(const QString& text) { m_connectionString = text; }
    void SetConnectionTimeout(long seconds) { m_connectionTimeout = seconds; }

    AdoConnectionPtr GetActiveConnection() const { return m_connection; }
    QString GetConnectionString() const { return m_connectionString; }
    QString GetLastErrorString() const { return m_lastErrorString; }
    QString GetErrorDescription() const { return m_errorDescription; }
    quint32 GetLastError() const { return m_lastError; }
    long GetRecordsAffected() const { return m_recordsAffected; }

private:
    CAdoConnectionObject& Connection() const;
    [[noreturn]] void Remember(const CComError& error);

    AdoConnectionPtr m_connection;
    QString m_connectionString;
    QString m_lastErrorString;
    QString m_errorDescription;
    quint32 m_lastError = 0;
    long m_recordsAffected = 0;
    long m_connectionTimeout = 0;
};

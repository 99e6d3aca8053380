#pragma once
// The statement layer under the repository gateway: one prepared statement with positional
// parameters in, all rows out as texts. The gateway talks only to ISqlExecutor, so tests can
// record what a dialect sends without a server, and the Qt implementation stays small.
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QSqlQuery;

enum class SqlParamKind { Text, Integer, Null };

// One positional parameter. Text parameters carry their declared size (100 for names and
// flags, 4000 for descriptions); servers that enforce sizes see the same limits.
struct SqlParam
{
    SqlParamKind kind = SqlParamKind::Text;
    int size = 100;
    QString text;
    qint64 number = 0;

    static SqlParam Text(const QString& value, int declaredSize = 100)
    {
        return {SqlParamKind::Text, declaredSize, value, 0};
    }
    static SqlParam Long(const QString& value) { return Text(value, 4000); }
    static SqlParam Integer(qint64 value) { return {SqlParamKind::Integer, 10, {}, value}; }
    static SqlParam Null() { return {SqlParamKind::Null, 100, {}, 0}; }
    bool operator==(const SqlParam&) const = default;
};
using SqlParams = std::vector<SqlParam>;

// The rows of a SELECT. Column names are kept in upper case (PostgreSQL folds them to lower
// case); a NULL column reads as empty text.
class SqlRowSet
{
public:
    QStringList columns;
    std::vector<QStringList> rows;

    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }
    int ColumnIndex(const QString& name) const { return columns.indexOf(name.toUpper()); }
    // Empty text for an unknown column or row.
    QString Value(size_t row, const QString& column) const { return Value(row, ColumnIndex(column)); }
    QString Value(size_t row, int column) const
    {
        if (row >= rows.size() || column < 0 || column >= rows[row].size())
            return {};
        return rows[row][column];
    }
};

// What one statement gave. `ok` false with a non-empty `error` is an error raised by the
// database (its text is what the user sees); `ok` false with an empty `error` is a statement
// that simply did not run.
struct SqlOutcome
{
    bool ok = false;
    QString error;
    QString code;                // the database's own error code (SQLSTATE on PostgreSQL), empty when none
    bool connectionLost = false; // failed because the session is gone, not because of the statement
    SqlRowSet rows;
};

class ISqlExecutor
{
public:
    virtual ~ISqlExecutor() = default;
    // DBMS type code of the connection (1/10 Oracle, 11 PostgreSQL, 13 SQLite).
    virtual int GetDBType() const = 0;
    virtual bool IsOpen() const = 0;
    virtual bool IsExistTable(const QString& name) = 0;
    virtual SqlOutcome Execute(const QString& statement, const SqlParams& params) = 0;
    virtual bool BeginTransaction() = 0;
    virtual bool CommitTransaction() = 0;
    virtual bool RollbackTransaction() = 0;
    // Error text of the last failed transaction call.
    virtual QString LastError() const = 0;
};

// ISqlExecutor over a named QSqlDatabase connection.
class CQtSqlExecutor : public ISqlExecutor
{
public:
    // Called with the driver's text when a statement failed because the session is gone
    // (the server stopped or dropped it), not because of the statement itself.
    using LostHandler = std::function<void(const QString& error)>;

    CQtSqlExecutor(const QString& connectionName, int dbType);
    ~CQtSqlExecutor() override;
    int GetDBType() const override { return m_dbType; }
    QString ConnectionName() const { return m_connectionName; }
    bool IsOpen() const override;
    bool IsExistTable(const QString& name) override;
    SqlOutcome Execute(const QString& statement, const SqlParams& params) override;
    bool BeginTransaction() override;
    bool CommitTransaction() override;
    bool RollbackTransaction() override;
    QString LastError() const override { return m_lastError; }

    void SetLostHandler(LostHandler handler) { m_lostHandler = std::move(handler); }
    // Forgets the statements kept prepared: they belong to a session that ended.
    void ResetSession();
    // A failure that means the session is gone: the connection no longer counts as open, or
    // the server's code says so (SQLSTATE class 08, an administrator's shutdown, Oracle's
    // end-of-channel errors).
    static bool IsConnectionError(const QString& code, bool stillOpen);

private:
    void ReportFailure(SqlOutcome& out);
    static void ReadRows(QSqlQuery& query, SqlOutcome& out);
    // A server statement prepared once and run again with new values: one round trip per row
    // instead of three (prepare, run, release) when a merge writes thousands of rows.
    QSqlQuery* Prepared(const QString& statement, bool& reused, QString& error);

    QString m_connectionName;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
    int m_dbType;
    QString m_lastError;
    LostHandler m_lostHandler;
};

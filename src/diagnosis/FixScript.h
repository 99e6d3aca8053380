#pragma once
// The fix script of a diagnosis: the SQL that brings a database's column names and comments to
// the standard, for the DBA to review and run. It is only written, never run.
//
// A sink: the judge hands it one column at a time (the columns of a table together) with the
// column's standard, and it writes as it goes, one table at a time, so a national model never
// waits in memory. For each column whose standard is unambiguous:
//   - a RENAME COLUMN where the standard physical name differs as the DBMS compares names;
//     refused with a comment when the name is a key (unless keys are to be renamed too), is over
//     the server's identifier limit, or meets another column's name or another rename's;
//   - the dialect's comment statement where the comment's head is not the standard name; the
//     description after the head is kept as it was;
//   - a type or length that differs from the domain, as a comment only.
// Safe by construction: every identifier quoted as the server stores it, every literal written
// so that no setting of the server or its client can end it early, NUL refused. PostgreSQL and
// SQLite run in one transaction. MySQL/MariaDB and Oracle commit each DDL, so there every
// rename looks in the catalog (information_schema, ALL_TAB_COLUMNS) first and a script stopped
// halfway is simply run again; comments set the same text twice harmlessly, except that MySQL's
// restate the column: only where the restatement is known whole (never a generated, invisible
// or CHECKed column, never a key clause), else it is a note.
#include "diagnosis/ColumnStandard.h"
#include "exchange/ModelSource.h"
#include "standard/FixScriptHook.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace FixScript {

using Counts = FixScriptHook::Counts;

struct Options
{
    ModelSource::Dialect dialect = ModelSource::Dialect::Unknown;
    bool renameKeys = false;
};

// One change of the "보정 계획" sheet, refused ones included: the DBA reads why.
struct PlanRow
{
    QString schema, table, column;
    QString newColumn;      // empty: not renamed
    QString logicalName;    // the comment's head
    QString newLogicalName; // empty: the comment stays
    QString change;         // kChange* below
    QString reason;
};
inline const QString kPlanSheet = QStringLiteral("보정 계획");
inline const QString kChangeRename = QStringLiteral("컬럼명 변경");
inline const QString kChangeComment = QStringLiteral("설명 변경");
inline const QString kChangeRefused = QStringLiteral("제외");
inline const QString kChangeKeyKept = QStringLiteral("키 유지");
inline const QString kChangeTypeNote = QStringLiteral("데이터타입 참고");
// The sheet's header and one row under it, in that order.
const QStringList& PlanHeader();
QStringList PlanCells(const PlanRow& row);

class Writer
{
public:
    Writer(QIODevice& device, const Options& options);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Each change as it is decided (in script order), for the "보정 계획" sheet.
    void SetPlanSink(std::function<void(const PlanRow&)> sink);
    // One column: its facts, its whole comment as stored, and what the judge made of it.
    void Add(ModelSource::ColumnFacts facts, const QString& comment, const ColumnStandard& standard);
    // The last table and the script's end; false when the device refused a write.
    bool Finish();
    const Counts& GetCounts() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A script written to path (beside it and moved into place, so a failure leaves no half
// script): feed adds the columns.
bool WriteFile(const QString& path, const Options& options, const std::function<void(Writer&)>& feed, Counts& counts,
               QString& error, std::function<void(const PlanRow&)> plan = {});
// The same with a feed that may fail (a cancelled diagnosis): then no file is left and error is
// empty. A feed is not called when the file cannot be opened.
bool WriteFileUnlessFailed(const QString& path, const Options& options, const std::function<bool(Writer&)>& feed,
                           Counts& counts, QString& error, std::function<void(const PlanRow&)> plan = {});

// The identifier quoted for the dialect.
QString Quote(const QString& name, ModelSource::Dialect dialect);

} // namespace FixScript

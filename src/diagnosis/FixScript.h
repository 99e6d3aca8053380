#pragma once
// The fix script of a conformance check: the SQL that would bring a database's column names
// and comments to the standard, for the DBA to review and run. It is only written, never run.
//
// It covers the attributes whose standard is unambiguous: a registered term, or a name of
// standard words only with a class word last. For each column of such an attribute:
//   - a RENAME COLUMN where the standard physical name differs (as the DBMS compares names),
//     left out with a comment when another column of the table has that name already;
//   - the dialect's comment statement where the comment's first line is not the standard
//     logical name (the rest of the comment is kept); MySQL/MariaDB restates the column;
//   - a data type or length that differs from the term's domain, as a comment only.
// Every statement follows a comment naming its finding. On PostgreSQL the script is one
// transaction.
#include "exchange/ModelSource.h"

#include <QString>

class CTermAnalysis;
class CAnalyzeSettings;
struct ConformanceReport;

namespace FixScript {

struct Counts
{
    int renames = 0;
    int comments = 0;
    int leftOut = 0;   // renames that would clash, comments MySQL cannot restate, SQLite comments
    int typeNotes = 0; // type or length differences, as comments
};

// The script for the analysed engine over the model it was read from, written to path as it
// is made (beside the target and moved into place, so a failure leaves no half script).
// report supplies the type findings of registered terms (may be null).
bool Write(const QString& path, const CTermAnalysis& analysis, const ModelSource::AttributeList& model,
           ModelSource::Dialect dialect, const CAnalyzeSettings& settings, const ConformanceReport* report,
           Counts& counts, QString& error);

// The identifier quoted for the dialect.
QString Quote(const QString& name, ModelSource::Dialect dialect);

} // namespace FixScript

#pragma once
// `termwise repo init URI [--demo] [--standard]`: creates the repository tables of the URI's
// dialect and, with --demo, loads a demo standard that every repository feature can work on;
// with --standard, the public common standard that ships with the program, as area "PUB".
//
// The demo standard (area ids below): an area tree ("ENT" 전사 표준 with children "ENT_FIN",
// "ENT_HR" and grandchild "ENT_HR_PAY", a second root "PUB" and an expired root "OLD");
// in "ENT" some three hundred words (class words flagged, non-standard synonyms sharing the
// physical name of their standard word, a few expired history rows), domains with logical
// data type ids and their word combinations, terms with their word combinations, and model
// rows that use some of the terms; a small finance standard in "ENT_FIN"; the ZT_OPTIONS
// rows of the proposal pages (empty, or with --demo-web-pages word: relative path, domain:
// absolute address, term: empty);
// a few shared analysis words, domains and exclusions.
#include "repository/SqlExecutor.h"

#include <QString>
#include <QStringList>
#include <functional>

class CSqlBaseGate;

namespace DemoStandard {
inline const QString MainAreaId = QStringLiteral("ENT");
inline const QString FinanceAreaId = QStringLiteral("ENT_FIN");
inline const QString HrAreaId = QStringLiteral("ENT_HR");
inline const QString PayAreaId = QStringLiteral("ENT_HR_PAY");
inline const QString PublicAreaId = QStringLiteral("PUB");
inline const QString ExpiredAreaId = QStringLiteral("OLD");
inline const QString StartDate = QStringLiteral("20240102090000");
} // namespace DemoStandard

struct RepositoryInitSummary
{
    QStringList createdTables;
    QStringList existingTables;
    int areas = 0;
    int words = 0;
    int synonyms = 0;
    int domains = 0;
    int terms = 0;
    int combinations = 0;
    int options = 0;
    int modelRows = 0;
    int analysisRows = 0;
};

// The schema script of a DBMS type code (13, 11, 1/10); empty for any other.
QString RepositorySchemaScript(int dbType);
// Statements of a script: "--" comment lines dropped, split at ";".
QStringList SplitSqlScript(const QString& script);

// Creates the tables that do not exist yet (and their indexes). False with a message when a
// statement fails.
bool CreateRepositorySchema(ISqlExecutor& database, RepositoryInitSummary& summary, QString& error);
// Loads the demo standard in one transaction; refuses when its main area is already present.
// The proposal options stay empty (registration goes the direct route) unless webPages names
// the address the demo's proposal pages live under.
bool LoadDemoStandard(ISqlExecutor& database, RepositoryInitSummary& summary, QString& error,
                      const QString& webPages = QString());

// Loads the bundled public common standard into area PUB in one transaction; false with a
// message. summary receives the lines to print. The standard's import lives above this folder,
// so the command line hands it in.
using BuiltinStandardLoader =
    std::function<bool(ISqlExecutor& database, CSqlBaseGate& gate, QString& summary, QString& error)>;

// `repo` sub-command of the command line, given the arguments after "repo". Exit status
// 0, 1 (bad input or a refusal, message on stderr) or 2 (usage). Needs a QCoreApplication.
// Loading twice is refused, for --demo (area ENT present) as for --standard (area PUB holds
// current standards); both are checked before anything is loaded.
int RunRepositoryCommand(const QStringList& args, const BuiltinStandardLoader& loadStandard = {});

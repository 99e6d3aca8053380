#pragma once
// Loads a published edition of the public common standard into a standard area of the
// repository, or into the local analysis dictionary.
//
// Repository: words (class-word flag from 형식단어 여부; a class word whose domain class is
// another name keeps the link by naming a domain of that class in DOM_ID; every synonym and
// forbidden word as a non-standard word under its standard word's physical name, the kind
// kept in its description),
// one domain group per published group name, domains (key domain, name, logical data type,
// length, scale) and terms with their domain and their word combination. A term's physical
// name is cut at "_" and each part matched to the area's standard words by physical name; where
// several words share the abbreviation, the one whose logical name stands at that place in the
// term's logical name is taken. All of it runs in one transaction: a database error leaves the
// area as it was. An area that already holds current standards is refused unless `replace`,
// which brings it to this edition (CAreaUpgrade): the rows the edition changed or withdrew are
// closed (validity end = the import's time) so the old edition stays as history, unchanged
// rows stay as they are, and the rows the area's owners registered themselves are kept.
//
// Dictionary: the standard words, synonyms and forbidden words as non-standard words, and the
// domains of the class words, keyed by class word as the domain analysis looks them up: a
// domain goes under the class word of its domain class's name and under every class word whose
// domain class it is (the edition gives 일자 the domain class 연월일).
#include "standard/PublicStandardReader.h"

#include <QString>
#include <vector>

class CAnalyzeSettings;
class CSqlBaseGate;
class ISqlExecutor;

// Bringing an area to a new edition, per kind of row: the edition's rows added, changed
// (closed and written again under the same id), left as they were, withdrawn (closed), and the
// area's own rows kept.
struct EditionCounts
{
    int added = 0, changed = 0, unchanged = 0, withdrawn = 0, kept = 0;
};

struct StandardImportSummary
{
    int words = 0;            // standard words
    int nonStandardWords = 0; // synonyms and forbidden words
    int domainGroups = 0;
    int domains = 0;
    int terms = 0;
    int combinations = 0;
    int closedRows = 0;   // current rows closed by a replace
    bool upgrade = false; // a replace that brought an area holding standards to this edition
    EditionCounts wordChanges, nonStandardChanges, domainChanges, termChanges;
    // Rows not taken (or taken with a gap) with their file, row and reason; the reader's first.
    std::vector<PublicStandardProblem> problems;
};

namespace StandardImport {

struct AreaOptions
{
    QString areaId;
    QString areaName; // for a new area (the id when empty); renames an existing one when given
    bool replace = false;
    // Rows per INSERT statement; 0 takes the dialect's choice (300 on PostgreSQL, else 1).
    // 1 is the plain one-row-per-statement load (the benchmark's reference).
    int rowsPerStatement = 0;
};

enum class Outcome { Imported, Refused, Failed, Cancelled };

// Refused: the area holds current standards and replace is off (nothing written).
// Failed: a database error; Cancelled: the progress window's cancel. Either way the
// transaction was rolled back. The message in error.
Outcome ImportIntoRepository(ISqlExecutor& database, CSqlBaseGate& gate, const PublicStandard& standard,
                             const AreaOptions& options, StandardImportSummary& summary, QString& error);

// Adds to the dictionary in memory; the caller saves it.
void ImportIntoDictionary(CAnalyzeSettings& settings, const PublicStandard& standard, StandardImportSummary& summary);

} // namespace StandardImport

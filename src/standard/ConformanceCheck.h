#pragma once
// Conformance of a data model to one standard area: what an audit asks for, column by column.
//
// The column is the unit: each column (schema, table, column) is judged by itself on its
// logical name, its physical name and its data type; nothing that depends on the type is
// borrowed from another column of the same name. A column conforms when
//   - its logical name conforms: a registered term, or every word a standard word and the last
//     one a class word;
//   - its physical name is the standard one: the term's abbreviation, or the words'
//     abbreviations joined with "_", with the column's number ("설명1" -> DC1);
//   - its data type fits the domain: the registered term's, or the one the class word finds.
// A column whose comment gives no logical name is counted and listed, and judged no further.
// Findings, each counted once per column concerned: words not found; non-standard and
// forbidden words (with their standard word; one standing for a class word is not also "not a
// class word"); last word not a class word; no domain fits; a type that does not fit the
// registered term's domain; a physical name other than the standard one; a name the standard
// lists as a synonym of a term; no logical name.
// A forbidden word is a non-standard word whose description marks it so (the standard import
// writes that mark; the word tables have no column for it).
#include "components/TextHash.h"
#include "standard/ConformanceSince.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

class CSqlBaseGate;
class ISqlExecutor;

enum eConformanceFinding {
    eFindingUnknownWord = 0,
    eFindingNonStandardWord,
    eFindingForbiddenWord,
    eFindingNotClassWord,
    eFindingNoDomain,
    eFindingTypeMismatch,
    eFindingPhysicalName,
    eFindingNonStandardTerm,
    eFindingNoLogicalName,
    eFindingCount
};

// One finding on one column.
struct ConformanceEntry
{
    QString table;       // schema.table as shown, or the workbook's reference; may be empty
    QString column;      // the column as shown
    QString attribute;   // the logical name as read (with its number)
    QString dataType;    // the column's display type
    QString subject;     // the word, the name, the data type or the column that differs
    QString replacement; // the standard word, term, domain or column to use
    int count = 0;       // columns of the model with the same finding on the same subject
};

// An entry's texts, without its count, as views.
struct ConformanceEntryTexts
{
    QStringView table, column, attribute, dataType, subject, replacement;
};

// Records' texts read back a block at a time, as views of the bytes the block holds.
struct ConformanceTextBlock
{
    QByteArray bytes;
    std::vector<QStringView> texts;
    std::vector<size_t> starts; // record i's texts begin at texts[starts[i]]
    size_t Records() const { return starts.size(); }
    size_t End(size_t record) const { return record + 1 < starts.size() ? starts[record + 1] : texts.size(); }
};

// The entries of a report of any size: each finding kind's rows go to a temporary file as they
// come and are read back in order by the writers, each with the count of its subject; only the
// counters per subject stay in memory.
class ConformanceEntrySpill
{
public:
    ConformanceEntrySpill();
    ~ConformanceEntrySpill();
    ConformanceEntrySpill(const ConformanceEntrySpill&) = delete;
    ConformanceEntrySpill& operator=(const ConformanceEntrySpill&) = delete;

    // One entry of a kind (its count is ignored); false once a file failed.
    bool Add(int kind, const ConformanceEntry& entry);
    // The same from views of the texts where they are held: nothing is copied but into the file.
    bool Add(int kind, const struct ConformanceEntryTexts& entry);
    // The entries of a kind in the order added, with their counts, until fn returns false;
    // false when fn stopped or the file could not be read back.
    bool ForEach(int kind, const std::function<bool(const ConformanceEntry&)>& fn) const;
    // The same a block at a time, read ahead on a second thread, as views of the texts the
    // block holds: nothing is made a text of its own, and a writer can format a block's entries
    // on two threads.
    struct Block
    {
        ConformanceTextBlock texts; // six per entry, in ConformanceEntryTexts's order
        std::vector<int> counts;    // entry i's subject's count
        size_t Size() const { return counts.size(); }
        ConformanceEntryTexts Entry(size_t i) const
        {
            const QStringView* t = texts.texts.data() + 6 * i;
            return {t[0], t[1], t[2], t[3], t[4], t[5]};
        }
    };
    bool ForEachBlock(int kind, size_t entries, const std::function<bool(const Block&)>& fn) const;
    struct Subject
    {
        int count = 0;
        qint64 first = 0;    // the entry that named it first, in the order of all kinds
        QString text;        // the subject
        QString replacement; // that entry's
    };
    // The n subjects of a kind that concern the most columns, the most first (of equal counts,
    // the one named first); their texts read back from the kind's file.
    std::vector<Subject> Top(int kind, size_t n) const;
    bool Failed() const;
    // Marks the report's spill failed: what it would have told cannot be told.
    void Fail();
    // Writes the entries still held in memory; false (and Failed) when the file refused them.
    bool Flush();
    // The system's error number of the failed write (a full disk, a file size limit).
    int ErrorNumber() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Rows of text (the fix script's plan) kept in a temporary file as they come.
class ConformanceRowSpill
{
public:
    ConformanceRowSpill();
    ~ConformanceRowSpill();
    ConformanceRowSpill(const ConformanceRowSpill&) = delete;
    ConformanceRowSpill& operator=(const ConformanceRowSpill&) = delete;

    // False once the file failed.
    bool Add(const QStringList& row);
    // The rows in the order added, until fn returns false; false when fn stopped or the file
    // could not be read back.
    bool ForEach(const std::function<bool(const QStringList&)>& fn) const;
    // The same a block of rows at a time, read ahead on a second thread, as views.
    bool ForEachBlock(size_t rows, const std::function<bool(const ConformanceTextBlock&)>& fn) const;
    // Writes the rows still held in memory; false (and Failed) when the file refused them.
    bool Flush();
    bool Failed() const { return m_failed; }
    int ErrorNumber() const { return m_errnum; }

private:
    std::unique_ptr<struct ConformanceRecordFile> m_file;
    bool m_failed = false;
    int m_errnum = 0;
};

struct ConformanceReport
{
    QString areaId;
    QString areaName;
    QString input;
    int tables = 0;            // tables the input names (0: it names none)
    int columns = 0;           // every column read
    int withLogicalName = 0;   // columns whose comment or name cell gives a usable logical name
    int logicalConforming = 0; // of those: logical name conforms
    int physicalConforming = 0;
    int typeConforming = 0;
    int conforming = 0;                         // all three
    int distinctNames = 0;                      // distinct logical names among the columns
    std::array<int, eFindingCount> concerned{}; // columns per finding kind
    std::array<std::vector<ConformanceEntry>, eFindingCount> entries;
    // The fix script's changes when one was written: its header, then one row per change
    // (old and new name, and why), for the report's "보정 계획" sheet.
    QStringList planHeader;
    std::vector<QStringList> plan;
    std::shared_ptr<const ConformanceRowSpill> planSpill; // more rows after plan's
    // What a new edition changes: the columns judged also against an older area (check --since).
    std::optional<ConformanceSince> since;
    // When set, the entries are held here instead of in entries (Conformance::ForEachEntry).
    std::shared_ptr<const ConformanceEntrySpill> spill;

    // Conforming columns of all columns, in percent rounded to one decimal; 0 without columns.
    double Rate() const;
};

// What the analysis result does not carry about the area.
struct ConformanceAreaFacts
{
    std::set<QString> forbiddenWordIds; // DIC_ID
    struct Domain
    {
        QString id;
        QString key; // key domain name
        QString name;
        QString type; // logical data type name
        QString length;
        QString scale;
    };
    std::unordered_map<QString, Domain> domains; // DOM_ID -> domain
    // key domain name -> DOM_IDs, read order
    std::unordered_map<QString, std::vector<QString>, TextHasher, std::equal_to<>> domainIds;
    struct Term
    {
        QString physical;
        QString domainId;
    };
    std::unordered_map<QString, Term, TextHasher> terms;           // standard term's logical name -> term
    std::unordered_map<QString, QString, TextHasher> termSynonyms; // a term synonym (blanks removed) -> the term
};

namespace Conformance {

bool ReadAreaFacts(CSqlBaseGate& gate, ISqlExecutor& database, const QString& areaId, ConformanceAreaFacts& facts,
                   QString& error);

// Whether a column's type fits a domain: the one rule of every type verdict.
//   - type names compare as logical types, lengths and scales as numbers (empty = 0);
//   - an integer type (SMALLINT, INTEGER, BIGINT) fits a NUMERIC domain without scale whose
//     every value it holds: up to 4, 9 and 18 digits;
//   - DATETIME and TIMESTAMP, with or without fractional seconds, fit a DATETIME domain whose
//     length is "-" (it fixes no precision).
bool TypeFits(const ConformanceAreaFacts::Domain& domain, const QString& logicalType, const QString& length,
              const QString& scale);

// Stable keys of the finding kinds in the JSON ("unknown_word", ...).
QString FindingKey(int kind);
// Why a report whose entries could not be kept cannot be written to path.
QString SpillFailureText(const ConformanceReport& report, const QString& path);
// The entries of a kind, held or spilled, until fn returns false; false when stopped or unreadable.
bool ForEachEntry(const ConformanceReport& report, int kind, const std::function<bool(const ConformanceEntry&)>& fn);
// The plan's rows, held or spilled, likewise.
bool ForEachPlanRow(const ConformanceReport& report, const std::function<bool(const QStringList&)>& fn);
QJsonObject ToJson(const ConformanceReport& report);
// ToJson's document as QJsonDocument writes it (indented), streamed to path: the entries and the
// plan are never held as a tree. False with the message.
bool WriteJson(const ConformanceReport& report, const QString& path, QString* error = nullptr);
// Summary sheet with the figures and a bar chart of the findings, then one sheet per finding
// kind. Written beside the target and moved into place, so a failure leaves no broken file.
bool WriteWorkbook(const ConformanceReport& report, const QString& path, QString* error = nullptr);

} // namespace Conformance

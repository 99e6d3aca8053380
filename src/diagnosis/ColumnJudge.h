#pragma once
// The judge of a column: one column of a model (schema, table, column) judged by itself on its
// logical name, its physical name and its data type against one standard area.
//
// What depends on the name alone (its words, whether it is a term or a term's synonym, its
// standard logical and physical names, the key domains its class word may find) is worked out
// once per distinct name, with the term analysis's words, and kept in a table of bounded size.
// What depends on the type (the domain that fits, the type verdict) is worked out for every
// column from its own type, through hash maps of the area's domains: nothing of one column is
// borrowed by another.
//
// Judging a batch gives the same verdicts however the columns are cut into batches, and in the
// order of the columns; so the output never depends on the batch size.
#include "components/TextHash.h"
#include "diagnosis/ColumnStandard.h"
#include "standard/ConformanceCheck.h"

#include <QString>
#include <array>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

class WordMemo;

// One column as a source hands it over.
struct DiagnosisColumn
{
    QString schema, table, column; // as stored (schema empty when the source names none)
    QString shownTable;            // as reports show it: "schema.table", or a workbook's reference
    QString shownColumn;
    QString logicalName;    // the name cell, or the name read at the head of the comment
    QString comment;        // the whole comment or definition, when the source has one
    QString type;           // physical type name (VARCHAR, NUMBER ...)
    QString length;         // as stated
    QString scale;          // as stated
    QString displayType;    // as shown (VARCHAR(20))
    QString definition;     // MySQL/MariaDB: what the fix script restates with a new comment
    unsigned char keys = 0; // ModelSource::KeyRole bits
    // The source split the comment already: logicalName is its head and description the rest.
    bool commentRead = false;
    QString description;
};

struct ColumnFinding
{
    int kind; // eConformanceFinding
    QString subject;
    QString replacement;
};

struct ColumnVerdict
{
    bool named = false; // a usable logical name was read
    bool logicalOk = false;
    bool physicalOk = false;
    bool typeOk = false;
    QString logicalName; // as read, with its number
    QString nameKey;     // the normalised name without its number: what columns share
    std::vector<ColumnFinding> findings;
    ColumnStandard standard;
    QStringList words; // the name's words as the standard names them (an unknown one as written)

    bool Conforming() const { return named && logicalOk && physicalOk && typeOk; }
    // As made afresh, keeping the room of its lists: a batch's verdicts are made again in place.
    void Reset()
    {
        named = logicalOk = physicalOk = typeOk = false;
        logicalName.clear();
        nameKey.clear();
        findings.clear();
        standard = ColumnStandard();
        words.clear();
    }
};

class ColumnJudge
{
public:
    // maxNames bounds the table of names (kept until it is full, then started afresh); from
    // sharedFrom new names in a batch, a second thread takes its share of them.
    ColumnJudge(QString areaId, const ConformanceAreaFacts& facts, size_t maxNames = 200000, size_t sharedFrom = 2000);
    ~ColumnJudge();

    // Verdicts of a batch, one per column in order.
    void Judge(const std::vector<DiagnosisColumn>& batch, std::vector<ColumnVerdict>& verdicts);

    // Judge in two steps, so that two threads can take turns: Prepare reads the batch's names
    // and finds the words of the new ones; Decide gives the columns their verdicts from what Prepare found and their
    // own types. Decide of one batch may run beside Prepare of a later one, never beside another Decide.
    struct Prepared;
    void Prepare(const std::vector<DiagnosisColumn>& batch, Prepared& prepared);
    void Decide(const std::vector<DiagnosisColumn>& batch, const Prepared& prepared,
                std::vector<ColumnVerdict>& verdicts);

    // A thread of the caller's takes a share of a batch's new names (the pipeline's deciding
    // thread, when it has nothing to decide): offer is called when names wait, and that thread
    // then calls HelpWithNames. Without one, Prepare starts a thread for the share.
    void ShareNamesWith(std::function<void()> offer);
    bool NamesOffered() const;
    // Analyses runs of the offered names until none is left.
    void HelpWithNames();

private:
    // What a name gives, whatever column carries it.
    struct NameVerdict
    {
        bool logicalOk = false;
        bool renamable = false;   // the standard is unambiguous: a term, or standard words ending in a class word
        QString standardLogical;  // empty when no standard name can be made
        QString standardPhysical; // empty when a word is unknown
        QString termDomainId;     // a registered term's (or a term synonym's term's) domain
        QStringList candidates;   // key domain names, in the order the domain lookup tries them
        QString noDomainSubject;
        QString reason; // why the standard names are the standard, for the fix script
        std::vector<ColumnFinding> findings;
        QStringList words;
    };
    struct Name
    {
        QString read;   // as read at the head of the comment
        QString key;    // normalised, without number: the analysis target
        QString number; // the trailing number kept for the column
    };

    Name NameOf(const DiagnosisColumn& column) const;
    size_t NamesReserved() const;
    // The verdicts of new names, each into its place in the table of names.
    void AnalyseNames(const QStringList& keys, const std::vector<std::shared_ptr<const NameVerdict>*>& places);
    struct NameWork;
    void AnalyseRuns(NameWork& work, WordMemo& memo) const;
    // What the words of a name give; result is scratch. Safe on several threads at once.
    NameVerdict VerdictOf(const QString& key, struct TermTargetResult& result, WordMemo& memo) const;
    NameVerdict TermSynonymVerdict(const QString& name, const QString& term) const;
    // The domain of the first candidate with one that fits the type; null when none.
    const ConformanceAreaFacts::Domain* FittingDomain(const QStringList& candidates, const QString& logicalType,
                                                      const QString& length, const QString& scale);
    // The logical type of a physical type name, through a short list of the names seen.
    const QString& LogicalTypeOf(const QString& type);

public:
    using NameTable = std::unordered_map<QString, std::shared_ptr<const NameVerdict>, TextHasher>;
    struct Prepared
    {
        std::vector<Name> names;
        // Shared, so a name table started afresh by Prepare leaves Decide's verdicts in place.
        std::vector<std::shared_ptr<const NameVerdict>> verdicts;
        // The table Prepare started afresh from, for the thread of Decide to free.
        NameTable retired;
    };
    // For a process that ends with the diagnosis: the table of names is left to the system.
    void LeaveNamesAtExit();

private:
    QString m_areaId;
    const ConformanceAreaFacts& m_facts;
    size_t m_maxNames;
    size_t m_sharedFrom;
    NameTable m_names;
    // candidates + type -> DOM_ID ("" none); the key keeps the column's texts, shared, not joined
    struct DomainQuery
    {
        QStringList candidates;
        QString logicalType, length, scale;
        bool operator==(const DomainQuery&) const = default;
    };
    // A column's query as views of its texts, to look up without copying them into a key.
    struct DomainQueryView
    {
        const QStringList& candidates;
        QStringView logicalType, length, scale;
    };
    struct DomainQueryHash
    {
        using is_transparent = void;
        size_t operator()(const DomainQuery& q) const
        {
            return (*this)(DomainQueryView{q.candidates, q.logicalType, q.length, q.scale});
        }
        size_t operator()(const DomainQueryView& q) const;
    };
    struct DomainQueryEqual
    {
        using is_transparent = void;
        bool operator()(const DomainQuery& a, const DomainQuery& b) const { return a == b; }
        bool operator()(const DomainQueryView& a, const DomainQuery& b) const
        {
            return a.logicalType == b.logicalType && a.length == b.length && a.scale == b.scale &&
                   a.candidates == b.candidates;
        }
    };
    // The domain found, null for none; the area's domains stay where they are while the judge lives.
    std::unordered_map<DomainQuery, const ConformanceAreaFacts::Domain*, DomainQueryHash, DomainQueryEqual>
        m_domainCache;
    static constexpr size_t kMaxLogicalTypes = 32;
    std::vector<std::pair<QString, QString>> m_logicalTypes; // Decide's: physical type -> logical
    std::unique_ptr<class TermNameWords> m_words;            // read at the first name
    // AnalyseNames's: Prepare's thread and the helping one each keep the words they took.
    std::array<std::unique_ptr<WordMemo>, 2> m_memos;
    std::function<void()> m_offer;
    mutable std::mutex m_workMutex;
    std::condition_variable m_workDone;
    NameWork* m_work = nullptr; // the names on offer
    int m_helpers = 0;          // threads in HelpWithNames
};

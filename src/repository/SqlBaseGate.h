#pragma once
// The repository gateway: the one owner of every statement sent to the metadata repository.
// CSqlBaseGate holds the portable operations; the three dialect classes override the five
// whose SQL differs (analysis word/domain upsert, the standard-area list, the option URLs,
// the server's current time). Statement texts live in RepositorySql.h.
//
// Failures: an operation returns false and reports the database's text. The four reads
// that a user starts directly (analysis words, analysis domains, standard areas, current
// time) report through the message-box handler that the window installs; every other
// operation reports to the output log. Loops over many rows report a failed row and go on.
#include "repository/SqlExecutor.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

// Excluded words or domains read back: name -> authority (computer that uploaded it).
using ExceptNameMap = std::map<QString, QString>;
// Standard areas: STD_AREA_NM -> STD_AREA_ID (areas sharing a name give one entry).
using StandardAreaMap = std::map<QString, QString>;
// key domain name -> domain name -> found flag (MarkExistingStandardDomains).
using DomainFlagMap = std::map<QString, std::map<QString, bool>>;
// (DOM_NM, DOM_ID) pairs found by SelectStandardDomainsByKey.
using DomainHitList = std::vector<std::pair<QString, QString>>;
// A row a merge did not write: its two keys and why (the database's text).
struct RefusedRow
{
    QString first;
    QString second;
    QString reason;
};
using RefusedRows = std::vector<RefusedRow>;

class CSqlBaseGate
{
public:
    using MessageHandler = std::function<void(const QString&)>;

    // `database` is not owned and must outlive the gateway.
    explicit CSqlBaseGate(ISqlExecutor* database);
    // Virtual: the holder deletes dialect gateways through this class.
    virtual ~CSqlBaseGate();
    CSqlBaseGate(const CSqlBaseGate&) = delete;
    CSqlBaseGate& operator=(const CSqlBaseGate&) = delete;

    ISqlExecutor* Database() const { return m_database; }
    bool IsOpen() const { return m_database && m_database->IsOpen(); }
    // Open and answering a trivial statement: a server that went away fails here even while
    // the connection still counts as open.
    bool IsReachable();

    // The driver's text of the last statement that failed, and whether the session was gone
    // then; a caller clears it before an operation whose failure it shows.
    QString LastError() const { return m_lastError; }
    bool LastFailureLostConnection() const { return m_lastLost; }
    void ClearLastError()
    {
        m_lastError.clear();
        m_lastLost = false;
    }

    // Where the four user-started reads show their error text (a message box in the window).
    // An empty handler restores the default, the output log.
    static void SetMessageBoxHandler(MessageHandler handler);
    static void ShowMessageBox(const QString& text);

    // Dialect operations.
    virtual bool MergeAnalyzeWords(const WordIndex& words);
    virtual bool MergeAnalyzeDomains(const DomainIndex& domains);
    // The rows the last word or domain merge did not write (all of them from the row where
    // the server went away), or the name the last excluded-name insert or delete stopped at,
    // so callers count what was written, not what was sent.
    const RefusedRows& LastRefusedRows() const { return m_refused; }
    // Rows the last batch (registration or merge) committed, and whether the batch was lost
    // whole (the connection gone or the commit refused): then nothing of it is stored.
    int LastWrittenCount() const { return m_written; }
    bool LastBatchLost() const { return m_batchLost; }
    // Several writes as one transaction (a whole share upload): between BeginUnit and EndUnit
    // the merges and excluded-name inserts write each row under a savepoint and commit nothing
    // themselves; EndUnit(true) commits them all. False from EndUnit: nothing was stored.
    bool BeginUnit();
    bool EndUnit(bool commit);
    virtual bool SelectStandardAreas(StandardAreaMap& areas);
    virtual bool SelectOptionUrls(const QString& optionId, QString& url);
    virtual bool SelectCurrentDateTime(QString& text);

    // Shared analysis dictionary.
    bool SelectAnalyzeWords(WordIndex& words);
    bool DeleteAnalyzeWords(const WordIndex& words);
    bool SelectAnalyzeDomains(DomainIndex& domains);
    bool DeleteAnalyzeDomains(const DomainIndex& domains);
    bool SelectExceptWords(ExceptNameMap& names);
    bool InsertExceptWords(const std::set<QString>& names);
    bool DeleteExceptWords(const std::set<QString>& names);
    bool SelectExceptDomains(ExceptNameMap& names);
    bool InsertExceptDomains(const std::set<QString>& names);
    bool DeleteExceptDomains(const std::set<QString>& names);

    // Standards of one area (current rows only).
    bool SelectStandardAreaName(const QString& areaId, QString& name);
    // Reads the word whose DIC_ID is word.strWordId; true when found.
    bool SelectStandardWordById(const QString& areaId, _stAnalyzeManageWord& word);
    bool UpdateStandardClassWordFlag(const QString& areaId, const QString& dicId);
    // One record per domain in key-domain, domain-name order; strDataType is the logical type name.
    bool SelectStandardDomains(const QString& areaId, std::vector<_stAnalyzeManageDomain>& domains);
    // Candidate key domain names are tried from the last to the first; hits accumulate in
    // that order. Length and scale of 0 leave their condition out.
    bool SelectStandardDomainsByKey(const QString& areaId, const QStringList& words, const QString& dataType,
                                    const QString& length, const QString& scale, DomainHitList& found);
    bool SelectStandardWord(const QString& areaId, const _stAnalyzeManageWord& word);
    bool SelectStandardWordsByLogicalName(const QString& areaId, const QString& logicalName);
    bool SelectStandardDomain(const QString& areaId, _stAnalyzeManageDomain& domain);
    bool SelectStandardTermsByLogicalName(const QString& areaId, const QString& logicalName);
    // Logical names of the standard words (terms) that already have the physical name, the
    // logical name itself left out; false when it could not be read.
    bool SelectPhysicalNameHolders(const QString& areaId, const QString& physicalName, const QString& logicalName,
                                   bool terms, QStringList& holders);
    // The domain group most of the class's domains are in; empty when it has none.
    QString SelectDomainGroupOfKey(const QString& areaId, const QString& keyDomainName);
    bool MarkExistingStandardDomains(const QString& areaId, DomainFlagMap& domains);
    bool ExistsAnalyzeDomainGroup(const QString& areaId);
    bool InsertAnalyzeDomainGroup(const QString& areaId);

    // Registration. The batch forms take their names from the map keys and write in one
    // transaction under a lock of the table: all rows or none, and a row another registration
    // committed meanwhile (same names, current) is not written twice.
    bool InsertStandardWords(const QString& areaId, WordIndex& words);
    // Writes the new DIC_ID into word.strWordId on success.
    bool InsertStandardWordRow(const QString& areaId, const QString& date, _stAnalyzeManageWord& word);
    bool InsertStandardDomains(const QString& areaId, DomainIndex& domains);
    // Writes the new DOM_ID into domain.strDomainId.
    bool InsertStandardDomainRow(const QString& areaId, const QString& date, _stAnalyzeManageDomain& domain);
    // The term row and its word combinations in one transaction; nothing stays on failure.
    bool InsertStandardTermRow(const QString& areaId, const _stAnalyzeManageTerm& term);

    // Unused standards, in the statement's order. Words carry DIC_ID, names, full name and
    // description; terms names and description; domains names, logical type name, length, scale.
    bool SelectUnusedStandardWords(const QString& areaId, std::vector<_stAnalyzeManageWord>& words);
    bool SelectUnusedClassWords(const QString& areaId, std::vector<_stAnalyzeManageWord>& words);
    bool SelectUnusedStandardTerms(const QString& areaId, std::vector<_stAnalyzeManageTerm>& terms);
    bool SelectUnusedStandardDomains(const QString& areaId, std::vector<_stAnalyzeManageDomain>& domains);

protected:
    // The dialect's cheapest statement, for IsReachable; empty: open is enough.
    virtual QString ReachabilityStatement() const { return {}; }
    SqlOutcome Run(const QString& statement, const SqlParams& params = {});
    // The base reading of the option URLs, used by the server dialects.
    bool SelectOptionUrlsFromOptions(const QString& optionId, QString& url);
    // One upsert per inner entry with the dialect's statement and bind order.
    bool MergeWordsWith(const WordIndex& words, const QString& statement,
                        const std::function<SqlParams(const _stAnalyzeManageWord&, const QString&, const QString&,
                                                      const QString&)>& bind);
    bool MergeDomainsWith(const DomainIndex& domains, const QString& statement,
                          const std::function<SqlParams(const _stAnalyzeManageDomain&, const QString&, const QString&,
                                                        const QString&)>& bind);
    bool SelectStandardAreasWith(const QString& statement, StandardAreaMap& areas);
    bool SelectCurrentDateTimeWith(const QString& statement, QString& text);

private:
    // One transaction around a batch: begun (and the lock statement run when given), then
    // committed; false with the error posted, the transaction rolled back and the batch lost.
    bool BeginBatch(const QString& lock);
    bool CommitBatch();
    void AbandonBatch(const QString& error);
    // One registration batch under the table's lock: each row looked up again and written when
    // absent; all or nothing. rows(write) calls write(select, key, insert) per row.
    using RowWriter =
        std::function<bool(const QString& select, const SqlParams& key, const std::function<bool()>& insert)>;
    bool WriteBatch(bool domains, QString& date, const std::function<bool(const RowWriter&)>& rows);
    // A merge's rows in one transaction, each under a savepoint.
    template <class Index> bool MergeBatch(const Index& index, const std::function<bool()>& runRows);
    SqlOutcome RunRow(const QString& statement, const SqlParams& params);
    bool SelectExcept(const QString& statement, ExceptNameMap& names);
    bool ExecuteForEachName(const QString& statement, const std::set<QString>& names, bool withAuthority);
    bool SelectExists(const QString& statement, const SqlParams& params);
    bool SelectUnusedWordsWith(const QString& statement, const QString& areaId,
                               std::vector<_stAnalyzeManageWord>& words);

    ISqlExecutor* m_database;
    RefusedRows m_refused;
    int m_written = 0;
    bool m_batchLost = false;
    bool m_inUnit = false;
    bool m_unitLost = false; // rolled back already: the rest of the unit stores nothing
    QString m_lastError;
    bool m_lastLost = false;
};

// 'Y' for a set flag, empty text otherwise (the program never writes 'N').
inline QString YesOrEmpty(bool flag)
{
    return flag ? QStringLiteral("Y") : QStringLiteral("");
}

#pragma once
// Domain analysis: each attribute's key domain (the class word ending its name) and the
// dictionary domain whose logical type, length and scale match the attribute exactly.
#include "analysis/AnalysisRow.h"
#include "analysis/ColumnRoles.h"
#include "analysis/TargetMap.h"
#include "analysis/TextCounts.h"
#include "analysis/WordSplitter.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <map>
#include <vector>

class CAnalyzeSettings;

// One attribute of the domain analysis, keyed by MakeCompositeKey(name, type, length, scale).
struct DomainAnalysisTarget
{
    QString key;       // the attribute key
    int refCount = 0;  // source rows folded into this target
    QString attribute; // normalised attribute name
    QString column;    // last row read
    QString reference; // last row read
    QString type;      // physical type as read
    QString length;
    QString scale;
    QString keyDomain;   // set by the analysis
    QString logicalType; // set by the analysis
    QStringList sources; // attribute names as read, distinct, in first-appearance order
    TextCounts mapColumns;
    TextCounts mapReferences;

    void MergeFrom(const DomainAnalysisTarget& other);
    bool operator==(const DomainAnalysisTarget&) const = default;
};
using DomainInputMap = TargetMap<DomainAnalysisTarget>;

QString MakeAttributeKey(const QString& name, const QString& type, const QString& length, const QString& scale);

class DomainAnalysis
{
public:
    enum Mode { ModeEmpty = 0, ModeSource = 1, ModeResult = 2 };
    enum Role { RoleAttribute = 0, RoleColumn, RoleType, RoleLength, RoleScale, RoleReference, RoleCount };

    struct DomainResult
    {
        QString key;       // attribute key
        QStringList words; // the name's words; the last is the key domain
        QString keyDomain;
        QString logicalType;
        QString domainKey;  // MakeCompositeKey(key domain, logical type, length, scale)
        QString domainName; // the matching dictionary domain, empty when none
        int status = 0;     // 0 key domain unknown, 1 no domain matches, 2 found
        bool hidden = false;
    };
    struct RunResult
    {
        bool ok = true;
        QString message;
        bool cancelled = false;
    };
    struct RenameResult
    {
        QString name; // the normalised name to write back into columns 0 and 1
        QString key;  // the target's attribute key afterwards
        bool changed = false;
        bool merged = false;
    };

    // Null settings: the process-wide CAnalyzeSettings instance.
    explicit DomainAnalysis(const CAnalyzeSettings* settings = nullptr);

    const CAnalyzeSettings& Settings() const { return *m_settings; }
    WordSplitter& Splitter() { return m_splitter; }
    static QStringList ResultColumns();

    // --- Source mode ---------------------------------------------------------------
    int Mode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }
    void SetSheet(QVector<QStringList> rows);
    const QVector<QStringList>& Sheet() const { return m_sheet; }
    bool IsSheetRowHidden(int row) const { return row == 0 && m_excludeFirstRow && m_sheet.size() >= 2; }
    ColumnRoles& Designations() { return m_roles; }
    const ColumnRoles& Designations() const { return m_roles; }
    bool ExcludeFirstRow() const { return m_excludeFirstRow; }
    void SetExcludeFirstRow(bool exclude) { m_excludeFirstRow = exclude; }

    // --- Input entries ---------------------------------------------------------------
    DomainInputMap& Inputs() { return m_inputs; }
    const DomainInputMap& Inputs() const { return m_inputs; }
    // Folds one source row in as the sheet reader does: the name is normalised, the type
    // cell split with ParseDataType; length and scale cells (when given) replace the
    // parsed ones. Null pointers stand for undesignated columns.
    DomainAnalysisTarget& AddSourceRow(const QString& name, const QString& typeCell, const QString* length,
                                       const QString* scale, const QString* column, const QString* reference);
    RunResult BuildTargets();
    RunResult Run();
    RunResult Analyze();

    // --- Results -----------------------------------------------------------------------
    const std::vector<DomainResult>& Results() const { return m_results; }
    const DomainResult* ResultOf(const QString& key) const;
    int AnalyzedCount() const { return m_analyzed; }
    int FoundCount() const { return m_found; }
    const std::map<QString, int>& MissingDomainCounts() const { return m_missingCounts; }
    const std::map<QString, std::vector<DomainAnalysisTarget>>& MissingDomainTargets() const
    {
        return m_missingTargets;
    }
    // Targets per key domain in the last run.
    const std::map<QString, int>& KeyDomainCounts() const { return m_keyDomainCounts; }
    // Key domains of more than one target, by descending count (the filter combo box).
    QStringList FilterEntries() const;
    QString TargetListCaption() const;
    std::vector<AnalysisRow> Rows() const;

    // --- Visibility --------------------------------------------------------------------
    bool ExcludeAnalyzed() const { return m_excludeAnalyzed; }
    void SetExcludeAnalyzed(bool exclude);
    const QString& FilterText() const { return m_filter; }
    void SetFilterText(const QString& text);
    bool IsHidden(const DomainResult& result) const;

    // --- Editing -------------------------------------------------------------------------
    // Edit of the attribute name of a target: normalised; a changed attribute key moves
    // the target there, joining an existing target of that key. Analysed again.
    RenameResult RenameTarget(const QString& key, const QString& newName);
    // "대상 도메인 추가": the domain key of a listed target, empty when none.
    QString DomainKeyOf(const QString& key) const;

private:
    DomainResult MakeResult(DomainAnalysisTarget& target, const WordSplitter::DomainSplit& split);
    void Record(const DomainAnalysisTarget& target, const DomainResult& result);
    void Recount();
    void ApplyVisibility(bool withProgress);
    void ReindexResults();

    const CAnalyzeSettings* m_settings;
    WordSplitter m_splitter;
    int m_mode = ModeEmpty;
    QVector<QStringList> m_sheet;
    ColumnRoles m_roles{RoleCount};
    bool m_excludeFirstRow = false;
    bool m_excludeAnalyzed = false;
    QString m_filter;

    DomainInputMap m_inputs;
    std::vector<DomainResult> m_results;
    QHash<QString, qsizetype> m_resultIndex;
    int m_analyzed = 0;
    int m_found = 0;
    std::map<QString, int> m_missingCounts;
    std::map<QString, std::vector<DomainAnalysisTarget>> m_missingTargets;
    std::map<QString, int> m_keyDomainCounts;
};

#pragma once
// Term analysis: checks attributes against the standard words, domains and terms of one
// standard area of the repository. The engine behind the term form, the command line and
// the tests; it holds no widgets.
//
// Choices the form leaves open:
// - word rows show the service record's logical name, physical name and full physical name
//   in columns 0 to 2;
// - the three analysis lists of a target hold, per word in order: the DIC_ID (empty when not
//   found), the standard logical name (a non-standard word's standard synonym, else its own),
//   and the DIC_IDs of the standard synonyms of non-standard words ("word=id,id");
// - a target counts as written with a synonym when a word's standard logical name differs
//   from the word as written; words taken from a registered compound's physical name are
//   never synonyms (they are written physically by nature);
// - a domain is kept over analyses only when it was chosen by hand; a domain found by the
//   candidate lookup is looked up again, so an edited or renamed target never keeps the
//   domain of its old name;
// - a rename onto the name of an existing target replaces that target (the two are the same
//   attribute name now) and keeps the earlier place in the list.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <utility>
#include <vector>

struct TermAnalysisTarget
{
    QString strName;        // normalised attribute name, the key
    QString strColumn;
    QString strType;        // logical data type
    QString strLength;
    QString strScale;
    QString strReference;
    QString strDefinition;
    QString strDisplayType; // BuildDataType(type, length, scale)
    QString strDomainName;  // chosen domain
    QString strDomainId;
    bool bDomainChosen = false;  // chosen by hand ("도메인 선택"), kept while the service has none
    QStringList listWordIds;
    QStringList listStandardNames;
    QStringList listRelations;

    void ClearAnalysis()
    {
        listWordIds.clear();
        listStandardNames.clear();
        listRelations.clear();
    }
};

// Images of the term grid.
enum eTermImage {
    eTermImageNone = -1,
    eTermImageMissing = 0,      // word not found / last word not a class word (target)
    eTermImageWarning = 1,      // not a class word (word) / a word or the domain missing (target)
    eTermImageFound = 2,
    eTermImageRegistered = 3,   // the whole name is a registered term
    eTermImageAction = 4,       // something to register (cells) / complete, not registered (target)
    eTermImageReanalyze = 5,
};

struct TermGridRow
{
    static constexpr int kColumns = 9;
    int level = 1;  // 1 target, 2 word
    QString texts[kColumns];
    int images[kColumns] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    unsigned background = 0xFFFFFF;  // RGB
};

struct TermWordResult
{
    QString word;           // as written in the attribute name (or the compound's part)
    bool found = false;
    bool standard = false;
    bool classWord = false;
    QString id;             // DIC_ID
    QString logicalName;
    QString physicalName;
    QString fullName;
    QString standardName;   // logical name of the standard word it stands for
};

struct TermTargetResult
{
    QString name;
    TermGridRow row;
    std::vector<TermGridRow> wordRows;
    std::vector<TermWordResult> words;
    int status = eTermImageMissing;  // column-0 image of the target row
    bool registered = false;         // the whole name is a registered compound
    bool allFound = false;
    bool hasDomain = false;
    QString physicalName;            // words' physical names joined with "_", "(?)" for unknown
    QString fullName;                // words' full names joined with "_", "(word)" for unknown
};

class CTermAnalysis
{
public:
    enum eRole { RoleAttribute, RoleColumn, RoleType, RoleLength, RoleScale, RoleDefinition, RoleReference, RoleCount };
    using DomainPairs = std::vector<std::pair<QString, QString>>;  // (DOM_NM, DOM_ID)
    // The repository's SelectStandardDomainsByKey; replaceable so callers can watch it.
    using DomainLookup = std::function<bool(const QString& areaId, const QStringList& candidates,
                                            const QString& dataType, const QString& length,
                                            const QString& scale, DomainPairs& found)>;

    static const QString kMsgNoArea;          // "대상 분류체계를 선택해 주세요"
    static const QString kMsgRequiredColumns; // "설정 되지 않은 필수 데이터 항목이 있습니다"
    static const QString kMsgNoStandardArea;  // "not exist standard system for analyze terms"
    static QStringList GridHeaders();

    CTermAnalysis();

    // Form state.
    int m_nMode = 0;
    int m_columns[RoleCount] = {-1, -1, -1, -1, -1, -1, -1};
    bool m_bExcludeFirstRow = false;
    bool m_bExcludeRegistered = false;
    QString m_strAreaId;

    // Collects targets from sheet rows (row 0 is the first sheet row) and analyses them.
    // Returns the message to show, empty on success.
    QString AnalyzeSheet(const std::vector<QStringList>& rows);
    // "분석" in mode 2 (or after a document or request filled the targets).
    QString AnalyzeTargets();
    // Only builds the targets from sheet rows (no analysis).
    QString CollectTargets(const std::vector<QStringList>& rows);

    // Replaces the targets (documents, requests). Later entries of the same name overwrite.
    void SetTargets(const std::vector<TermAnalysisTarget>& targets);
    void AddTarget(TermAnalysisTarget target);
    const std::map<QString, TermAnalysisTarget>& Targets() const { return m_targets; }
    const QStringList& TargetOrder() const { return m_order; }

    // The full analysis over the current targets with the area m_strAreaId.
    void Analyze();
    // Single-term analysis of one target.
    bool AnalyzeSingle(const QString& name);
    // Analyses the given targets again in one service run (after a registration).
    void ReAnalyze(const QStringList& names);

    // Related targets after a registration from the context menu; the clicked target first.
    QStringList RelatedAfterWordRegistration(const QString& clicked, const QString& word) const;
    QStringList RelatedAfterDomainRegistration(const QString& clicked, const QString& keyDomain,
                                               const QString& displayType) const;
    QStringList RelatedAfterClassWordRegistration(const QString& clicked, const QString& word) const;
    // Registration hook: analyses the clicked target and its related ones again.
    void OnWordRegistered(const QString& clicked, const QString& word);
    void OnDomainRegistered(const QString& clicked, const QString& keyDomain, const QString& displayType);
    void OnClassWordRegistered(const QString& clicked, const QString& word);

    // Moves a target to a new (normalised) name and analyses it again; false when unknown.
    bool RenameTarget(const QString& oldName, const QString& newName);
    // "도메인 선택": the chosen domain becomes the target's and it is analysed again.
    bool ChooseDomain(const QString& name, const QString& domainName, const QString& domainId);

    const std::vector<TermTargetResult>& Results() const { return m_results; }
    const TermTargetResult* Result(const QString& name) const;
    // Row height 0 under "등록 용어 제외".
    bool IsHidden(const TermTargetResult& result) const
    {
        return m_bExcludeRegistered && result.status == eTermImageRegistered;
    }

    // Export rows: header first, then one row per target in name order.
    std::vector<QStringList> ExportRows() const;
    QJsonObject ToJson() const;

    void SetDomainLookup(DomainLookup lookup) { m_domainLookup = std::move(lookup); }

private:
    void Run(const QStringList& names, bool full);
    void BuildResult(class IServiceLayer* service, const QString& target, const QString& variant,
                     TermTargetResult& result, QString& synonymName);
    void PlaceResult(TermTargetResult&& result);
    bool MoveTarget(const QString& oldName, const QString& newName);

    std::map<QString, TermAnalysisTarget> m_targets;
    QStringList m_order;  // reading order
    std::vector<TermTargetResult> m_results;
    std::map<QString, size_t> m_resultIndex;
    DomainLookup m_domainLookup;
    std::map<QString, DomainPairs> m_domainCache;  // per run
};

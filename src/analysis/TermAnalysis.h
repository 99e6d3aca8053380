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
//   never synonyms (they are written physically by nature), and they are the standard words
//   of those abbreviations (파일 for FILE, not its forbidden word FILE);
// - a non-standard word (a synonym or a forbidden word) stands for its standard word in the
//   class-word and domain steps: 요청자ID ends in a class word (아이디), reported once, as
//   non-standard;
// - a class word's domains are those of its domain class (제목 -> 명), looked up before the
//   class word's own name;
// - complete means conforming, one definition for the form, the command line and the
//   conformance report: a registered term with a domain (image 3), or every word found and
//   standard, the last a class word and a domain found (image 4). A word that is not
//   standard gives image 1;
// - of the domains the lookup finds, the last whose length and scale equal the attribute's
//   (as numbers, empty = 0) is taken, else the last: the lookup leaves a scale of 0 out of
//   its condition, and NUMERIC(10,0) must get 수N10, not 수N10,3;
// - a domain is kept over analyses only when it was chosen by hand; a domain found by the
//   candidate lookup is looked up again, so an edited or renamed target never keeps the
//   domain of its old name;
// - a rename onto the name of an existing target replaces that target (the two are the same
//   attribute name now) and keeps the earlier place in the list.
#include "analysis/AnalysisRow.h"
#include "analysis/ColumnRoles.h"
#include "components/TextHash.h"
#include "settings/AnalyzeRecords.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

struct TermAnalysisTarget
{
    QString strName; // normalised attribute name, the key
    QString strColumn;
    QString strType; // logical data type
    QString strLength;
    QString strScale;
    QString strReference;
    QString strDefinition;
    QString strDisplayType; // BuildDataType(type, length, scale)
    QString strDomainName;  // chosen domain
    QString strDomainId;
    bool bDomainChosen = false; // chosen by hand ("도메인 선택"), kept while the service has none
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
    eTermImageMissing = 0, // word not found / last word not a class word (target)
    eTermImageWarning = 1, // not a class word (word) / a word or the domain missing (target)
    eTermImageFound = 2,
    eTermImageRegistered = 3, // the whole name is a registered term
    eTermImageAction = 4,     // something to register (cells) / complete, not registered (target)
    eTermImageReanalyze = 5,
};

struct TermWordResult
{
    QString word; // as written in the attribute name (or the compound's part)
    bool found = false;
    bool standard = false;
    bool classWord = false;
    QString id; // DIC_ID
    QString logicalName;
    QString physicalName;
    QString fullName;
    QString standardName; // logical name of the standard word it stands for
    QString standardId;   // and its DIC_ID
    bool standardClassWord = false;
    QString domainClass; // key domain its class word files its domains under; empty: its own name

    // The class-word and domain steps take a non-standard word as its standard word.
    bool CountsAsClassWord() const { return found && (classWord || standardClassWord); }
    QString KeyDomainName() const { return domainClass.isEmpty() ? standardName : domainClass; }
};

struct TermTargetResult
{
    QString name;
    AnalysisRow row;                   // level 1, nine columns
    std::vector<AnalysisRow> wordRows; // level 2
    std::vector<TermWordResult> words;
    int status = eTermImageMissing; // column-0 image of the target row
    bool registered = false;        // the whole name is a registered compound
    bool allFound = false;
    bool allStandard = false; // every word found and standard
    bool hasDomain = false;
    QString physicalName; // words' physical names joined with "_", "(?)" for unknown
    QString fullName;     // words' full names joined with "_", "(word)" for unknown

    // The one definition of a complete (conforming) attribute.
    bool Conforming() const { return status == eTermImageRegistered || status == eTermImageAction; }
};

namespace TermTexts {
inline const QString kCaption = QStringLiteral("용어 분석");
inline const QString kNoArea = QStringLiteral("대상 분류체계를 선택해 주세요");
inline const QString kMissingRequired = QStringLiteral("설정 되지 않은 필수 데이터 항목이 있습니다");
inline const QString kNoStandardArea = QStringLiteral("not exist standard system for analyze terms");
inline const QString kExcludeRegistered = QStringLiteral("등록 용어 제외");
inline const QString kTargetListCount = QStringLiteral("대상 목록 (%d)");
inline const QString kProgressSearch = QStringLiteral("Search standard data for analyze terms. wait...");
inline const QString kProgressAnalyze = QStringLiteral("Analyze standard word, domain data");
inline const QString kProgressArrange = QStringLiteral("Arrangement analyzed data");
inline const QString kProgressSynonym = QStringLiteral("Search synonym word data");
inline const QString kProgressReanalyze = QStringLiteral("reAnalyze related standard terms. wait...");
inline const QString kProgressReanalyzeStep = QStringLiteral("reAnalyze related standard terms");
inline const QString kProgressFilter = QStringLiteral("Filtering already registed standard terms");
inline const QStringList kColumns = {QStringLiteral("대상 속성명"),
                                     QStringLiteral("대상 속성참고"),
                                     QStringLiteral("대상 컬럼명"),
                                     QStringLiteral("대상 데이터타입"),
                                     QString(),
                                     QStringLiteral("사용 도메인"),
                                     QStringLiteral("속성 분류어"),
                                     QStringLiteral("참고데이터"),
                                     QStringLiteral("정의")};
inline const QStringList kExportColumns = {QStringLiteral("속성명"), QStringLiteral("컬럼명"),
                                           QStringLiteral("분석단어"), QStringLiteral("도메인")};
} // namespace TermTexts

class CTermAnalysis
{
public:
    enum Mode { ModeEmpty = 0, ModeSource = 1, ModeResult = 2 };
    enum Role {
        RoleAttribute = 0,
        RoleColumn,
        RoleType,
        RoleLength,
        RoleScale,
        RoleDefinition,
        RoleReference,
        RoleCount
    };
    struct RunResult
    {
        bool ok = true;
        QString message;
        bool cancelled = false;
    };
    using DomainPairs = std::vector<std::pair<QString, QString>>; // (DOM_NM, DOM_ID)
    // The repository's SelectStandardDomainsByKey; replaceable so callers can watch it.
    using DomainLookup =
        std::function<bool(const QString& areaId, const QStringList& candidates, const QString& dataType,
                           const QString& length, const QString& scale, DomainPairs& found)>;
    // The gateway of the repository connection; finds nothing while none is connected.
    static DomainLookup RepositoryDomainLookup();
    // The key domain names of an area (to skip candidates that cannot find a domain), and the
    // length and scale of each of its domains by DOM_ID.
    struct AreaDomains
    {
        QHash<QString, QString> keys; // key domain name, Latin letters folded -> as the area writes it
        QHash<QString, std::pair<QString, QString>> sizes;
    };
    using KeyDomainSource = std::function<bool(const QString& areaId, AreaDomains& domains)>;
    static KeyDomainSource RepositoryKeyDomains();
    // The words of one name as the service split it, each taken to its word record: the words,
    // registered, allFound, allStandard, physicalName and fullName of the result, and the
    // relations list when asked for. True when a word is written as a synonym.
    static bool ResolveWords(class IServiceLayer* service, const QStringList& words, const std::vector<int>& kinds,
                             TermTargetResult& result, QStringList* relations);
    // From the words: the last word, the last two joined without separator, and so on.
    static QStringList CandidateKeyDomainNames(const QStringList& words);
    // Area of a term document or request: the repository must be connected, the area current,
    // and selectItem(name) must find (and select) an area selector item of exactly that name.
    static bool ResolveStandardArea(const QString& areaId, const std::function<bool(const QString&)>& selectItem);

    CTermAnalysis();

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
    // The selected standard area (STD_AREA_ID).
    const QString& AreaId() const { return m_areaId; }
    void SetAreaId(const QString& areaId) { m_areaId = areaId; }

    // --- Targets -----------------------------------------------------------------------
    // From the sheet: the area and the required roles are checked first; a later row of the
    // same normalised name overwrites the earlier one.
    RunResult BuildTargets();
    // "분석": builds the targets in source mode, then analyses.
    RunResult Run();
    // Analyses the current targets (documents and requests fill them first).
    RunResult Analyze();

    // Replaces the targets (documents, requests). Later entries of the same name overwrite.
    void SetTargets(const std::vector<TermAnalysisTarget>& targets);
    void AddTarget(TermAnalysisTarget target);
    const std::map<QString, TermAnalysisTarget>& Targets() const { return m_targets; }
    const TermAnalysisTarget* Target(const QString& name) const;
    const QStringList& TargetOrder() const { return m_order; }

    // Single-term analysis of one target.
    bool AnalyzeSingle(const QString& name);
    // Analyses the given targets again in one service run (after a registration).
    void ReAnalyze(const QStringList& names);

    // Related targets after a registration from the context menu; the clicked target first.
    QStringList RelatedAfterWordRegistration(const QString& clicked, const QString& word) const;
    QStringList RelatedAfterDomainRegistration(const QString& clicked, const QString& keyDomain,
                                               const QString& displayType) const;
    QStringList RelatedAfterClassWordRegistration(const QString& clicked, const QString& word) const;
    // Registration hooks: analyse the clicked target and its related ones again.
    void OnWordRegistered(const QString& clicked, const QString& word);
    void OnDomainRegistered(const QString& clicked, const QString& keyDomain, const QString& displayType);
    void OnClassWordRegistered(const QString& clicked, const QString& word);
    // "용어 등록": the target takes the registered name and is analysed again.
    bool OnTermRegistered(const QString& clicked, const QString& registeredName);

    // What the registration form starts from: "도메인 등록" (the last word as key domain with
    // the target's data type) and "용어 등록" (the name, the analysed physical name, the
    // domain, the definition and the word ids). False for an unknown or unanalysed target.
    bool DomainProposal(const QString& name, _stAnalyzeManageDomain& domain) const;
    bool TermProposal(const QString& name, _stAnalyzeManageTerm& term) const;

    // Edit of the attribute name: normalised, moved with all its fields, analysed again.
    // Returns the normalised name, empty when the target is unknown.
    QString RenameTarget(const QString& oldName, const QString& newName);
    // "도메인 선택": the chosen domain becomes the target's and it is analysed again.
    bool ChooseDomain(const QString& name, const QString& domainName, const QString& domainId);

    // --- Results -------------------------------------------------------------------------
    const std::vector<TermTargetResult>& Results() const { return m_results; }
    const TermTargetResult* Result(const QString& name) const;
    QString TargetListCaption() const;
    // Target rows with their word rows, in result order.
    std::vector<AnalysisRow> Rows() const;

    // "등록 용어 제외": a registered term's rows get height 0.
    bool ExcludeRegistered() const { return m_excludeRegistered; }
    void SetExcludeRegistered(bool exclude) { m_excludeRegistered = exclude; }
    bool IsHidden(const TermTargetResult& result) const
    {
        return m_excludeRegistered && result.status == eTermImageRegistered;
    }

    // Export rows: one per target in name order (the header is TermTexts::kExportColumns).
    std::vector<QStringList> ExportRows() const;
    QJsonObject ToJson() const;
    // The "totals" member of ToJson alone, without building every target's object.
    QJsonObject TotalsJson() const;

    void SetDomainLookup(DomainLookup lookup) { m_domainLookup = std::move(lookup); }
    void SetKeyDomainSource(KeyDomainSource source) { m_keyDomainSource = std::move(source); }

private:
    void Run(const QStringList& names, bool full, bool* cancelled);
    void BuildResult(class IServiceLayer* service, const QString& target, const QString& variant,
                     TermTargetResult& result, QString& synonymName);
    void PlaceResult(TermTargetResult&& result);
    bool MoveTarget(const QString& oldName, const QString& newName);
    void ReindexResults();
    const AreaDomains* KeyDomains();

    int m_mode = ModeEmpty;
    QVector<QStringList> m_sheet;
    ColumnRoles m_roles{RoleCount};
    bool m_excludeFirstRow = false;
    bool m_excludeRegistered = false;
    QString m_areaId;

    std::map<QString, TermAnalysisTarget> m_targets;
    QStringList m_order; // reading order
    std::vector<TermTargetResult> m_results;
    QHash<QString, size_t> m_resultIndex;
    DomainLookup m_domainLookup;
    KeyDomainSource m_keyDomainSource;
    QHash<QString, DomainPairs> m_domainCache;   // per run
    std::map<QString, AreaDomains> m_keyDomains; // per run, by area
};

// Words already taken to their records, by the text as written, for one thread that analyses
// many names. Its texts are copies of its own: two threads' memos share no reference counts,
// which they would otherwise contend for on every word.
class WordMemo
{
public:
    // Before each name: the memo is started afresh past its bound, never while a name's words
    // are in use.
    void StartName();
    // The word of a split text, looked up once; the reference holds until the next StartName.
    const TermWordResult& Take(class IServiceLayer* service, QStringView text);

private:
    static constexpr size_t kMaxWords = 100000;
    std::unordered_map<QString, TermWordResult, TextHasher, std::equal_to<>> m_words;
};

// The words of names against one area, without targets, rows or domains: what a diagnosis
// needs of many names. The same words as the term analysis, on a service of its own that
// reads the area once, here; Analyse may then run on several threads at once.
class TermNameWords
{
public:
    explicit TermNameWords(QString areaId);
    ~TermNameWords();
    TermNameWords(const TermNameWords&) = delete;
    TermNameWords& operator=(const TermNameWords&) = delete;
    // The result's words, registered, allFound, allStandard, physicalName and fullName.
    void Analyse(const QString& name, TermTargetResult& result) const;
    // The words of a name as the diagnosis reads them, from the memo (no copies); a registered
    // compound's come from compound, which Analyse fills. True when the name is a registered term.
    bool Words(const QString& name, WordMemo& memo, std::vector<const TermWordResult*>& words,
               TermTargetResult& compound) const;

private:
    std::unique_ptr<class IServiceLayer> m_service;
    std::unique_ptr<class IServiceLayer> m_view; // of the area, null when it cannot be read
};

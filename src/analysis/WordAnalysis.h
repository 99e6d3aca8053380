#pragma once
// The engine shared by the logical and the physical word analysis forms: input entries,
// column designations, the analysis run with progress and cancel, results as plain rows,
// counters, renaming and row visibility. The forms only show what it decides.
#include "analysis/AnalysisRow.h"
#include "analysis/ColumnRoles.h"
#include "analysis/TargetMap.h"
#include "analysis/TextCounts.h"
#include "analysis/WordSplitter.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <map>
#include <utility>
#include <vector>

class CAnalyzeSettings;

// One input entry (analysis target) of a word analysis. The logical kind keys it by the
// normalised attribute name and calls the column name its opposite; the physical kind keys
// it by the normalised column name and calls the attribute name its opposite.
struct WordAnalysisInput
{
    QString name;            // the key: normalised name ("Attribute" / "Column" in documents)
    QStringList sources;     // names as read before normalisation, distinct, in first-appearance order
    QString opposite;        // column name (logical) or attribute name (physical), last row read
    QString reference;       // last row read
    QString description;     // definition, last row read
    int refCount = 0;        // source rows folded into this entry
    TextCounts mapOpposites; // "mapOpposites" (logical) / "mapOpposite" (physical)
    TextCounts mapReferences;
    TextCounts mapDescriptions; // "mapDescriptinons"

    // The original-name text ("AnalyzeTarget"): the source names joined with ", ".
    QString AnalyzeTargetText() const;
    void SetAnalyzeTargetText(const QString& text);
    void AddSource(const QString& source);
    // Adds 1 to the count of a non-empty text.
    static void Count(TextCounts& map, const QString& text);
    // Folds another entry of the same name into this one (rename onto an existing target).
    void MergeFrom(const WordAnalysisInput& other);

    bool operator==(const WordAnalysisInput&) const = default;
};
using LogicalWordInput = WordAnalysisInput;
using PhysicalWordInput = WordAnalysisInput;
using WordInputMap = TargetMap<WordAnalysisInput>;

class WordAnalysis
{
public:
    enum class Kind { Logical, Physical };
    enum Mode { ModeEmpty = 0, ModeSource = 1, ModeResult = 2 };
    // Designated sheet columns. Logical: attribute name (required), attribute definition,
    // column name, reference. Physical: column name (required), column definition,
    // attribute name, reference.
    enum Role { RoleName = 0, RoleDefinition, RoleOpposite, RoleReference, RoleCount };

    struct WordResult
    {
        QString key;             // the target name
        WordPairList words;      // split result; partner "?" when unknown
        QStringList definitions; // per word, from the dictionary record
        // The words (the partners) joined with "_", trailing "_" dropped: made when asked, as
        // held for every target they cost more than the words themselves.
        QString AnalyzedName() const;
        QString AnalyzedPartner() const;
        int status = 0; // 0 none known, 1 some, 2 all
        bool hidden = false;
        qsizetype input = -1; // where the target stood in Inputs() when analysed: a hint only
    };
    struct UnanalyzedWord
    {
        int count = 0;       // occurrences in this run
        QStringList targets; // target names, distinct, in listing order
    };
    struct RunResult
    {
        bool ok = true;
        QString message; // the fixed text to show when not ok
        bool cancelled = false;
    };
    struct RenameResult
    {
        QString name;         // the normalised new name, to write back into the cell
        bool changed = false; // the target moved to another name
        bool merged = false;  // ... and joined a target that already had that name
    };

    WordAnalysis(Kind kind, const CAnalyzeSettings* settings);
    virtual ~WordAnalysis() = default;

    Kind GetKind() const { return m_kind; }
    const CAnalyzeSettings& Settings() const { return *m_settings; }
    WordSplitter& Splitter() { return m_splitter; }
    QStringList ResultColumns() const;
    QString RenameQuestion() const;

    // --- Source mode ---------------------------------------------------------------
    int Mode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }
    // Shows a sheet read from a workbook: mode 1, designations reset.
    void SetSheet(QVector<QStringList> rows);
    const QVector<QStringList>& Sheet() const { return m_sheet; }
    bool IsSheetRowHidden(int row) const { return row == 0 && m_excludeFirstRow; }

    ColumnRoles& Designations() { return m_roles; }
    const ColumnRoles& Designations() const { return m_roles; }

    bool ExcludeFirstRow() const { return m_excludeFirstRow; }
    void SetExcludeFirstRow(bool exclude) { m_excludeFirstRow = exclude; }

    // --- Input entries ---------------------------------------------------------------
    WordInputMap& Inputs() { return m_inputs; }
    const WordInputMap& Inputs() const { return m_inputs; }
    // Folds one source row into the entries as the sheet reader does; the name is
    // normalised here. Designated-but-empty cells pass an empty text, absent ones null.
    WordAnalysisInput& AddSourceRow(const QString& name, const QString* opposite, const QString* definition,
                                    const QString* reference);
    // Builds the entries from the sheet; false (with the message) when the name column is
    // not designated.
    RunResult BuildTargets();

    // "분석": in source mode build the entries from the sheet, then analyse; otherwise
    // analyse the existing entries again.
    RunResult Run();
    // Analyses every entry with progress; a cancelled run keeps the targets done so far.
    RunResult Analyze();

    // --- Results -----------------------------------------------------------------------
    const std::vector<WordResult>& Results() const { return m_results; }
    const WordResult* ResultOf(const QString& key) const;
    int WordCount() const { return m_wordCount; }
    int AnalyzedWordCount() const { return m_analyzedWordCount; }
    int FullyAnalyzedCount() const { return m_fullyAnalyzed; }
    const std::map<QString, UnanalyzedWord>& UnanalyzedWords() const { return m_unanalyzed; }
    // "대상 목록 ( fully analysed / targets )"
    QString TargetListCaption() const;
    // The result tree as rows: per target a level-1 row, a level-2 row and its words.
    std::vector<AnalysisRow> Rows() const;
    // The same for the targets first..last-1 only (clamped), so a view can take them in slices.
    std::vector<AnalysisRow> Rows(size_t first, size_t last) const;

    // --- Visibility --------------------------------------------------------------------
    bool ExcludeAnalyzed() const { return m_excludeAnalyzed; }
    void SetExcludeAnalyzed(bool exclude);
    const QString& FilterText() const { return m_filter; }
    void SetFilterText(const QString& text);
    bool IsHidden(const WordResult& result) const;

    // --- Word menu and renaming -----------------------------------------------------------
    WordSplitter::WordSplit SplitName(const QString& name);
    // Words of the name without a partner ("대상 단어 추가"); empty: show kNoUnanalyzedWords.
    QStringList UnanalyzedWordsOf(const QString& name);
    // Edit of a target name: normalises the text; a changed name moves the target's texts
    // there, joining an existing target of that name. The target is analysed again.
    RenameResult RenameTarget(const QString& key, const QString& newText);
    // Word replacements from the status report (old word -> new word): every target whose
    // split holds an old word is renamed with the word replaced. Returns targets renamed.
    int RenameForWordChanges(const std::vector<std::pair<QString, QString>>& changes);

protected:
    WordSplitter::WordSplit Split(const QString& name);
    // Takes the split's words rather than copying them.
    WordResult MakeResult(const QString& key, WordSplitter::WordSplit&& split) const;
    void Recount();
    void ApplyVisibility(bool withProgress);
    void ReindexResults();
    // Renames or merges the input entry only; a batch defers the merged slot's removal to
    // one m_inputs.compact().
    RenameResult MoveInput(const QString& key, const QString& newText, bool deferRemoval = false);
    // Brings the results in line with moved targets (old key -> new key) in one pass.
    void FollowMoves(const QHash<QString, QString>& moved);

    Kind m_kind;
    const CAnalyzeSettings* m_settings;
    WordSplitter m_splitter;
    int m_mode = ModeEmpty;
    QVector<QStringList> m_sheet;
    ColumnRoles m_roles{RoleCount};
    bool m_excludeFirstRow = false;
    bool m_excludeAnalyzed = false;
    QString m_filter;

    WordInputMap m_inputs;
    std::vector<WordResult> m_results;
    // Key -> position in m_results, made by the first ResultOf after a change (the engine is
    // used from one thread at a time).
    mutable QHash<QString, qsizetype> m_resultIndex;
    mutable bool m_resultIndexed = false;
    // Physical name -> its dictionary words, for the definitions of one run (hashing beats
    // the ordered map's string compares); empty outside Analyze.
    QHash<QString, const std::map<QString, _stAnalyzeManageWord>*> m_wordsByPhysical;
    const _stAnalyzeManageWord* FindRecord(const QString& physical, const QString& logical) const;

    int m_wordCount = 0;
    int m_analyzedWordCount = 0;
    int m_fullyAnalyzed = 0;
    std::map<QString, UnanalyzedWord> m_unanalyzed;
};

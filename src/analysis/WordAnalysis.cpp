#include "analysis/WordAnalysis.h"

#include "analysis/AnalysisTexts.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "components/ThreadFailure.h"
#include "settings/AnalyzeSettings.h"

#include <QSet>
#include <atomic>
#include <thread>

namespace {
// Lists shorter than this are split on one core: starting a thread would cost more.
constexpr size_t kTwoCoresFrom = 4096;
const QString kSourceSeparator = QStringLiteral(", ");

// The words' (or partners') texts joined with "_", trailing "_" dropped; made in place.
QString JoinTrimmed(const WordPairList& pairs, QString WordPair::*part)
{
    qsizetype size = 0;
    for (const WordPair& pair : pairs)
        size += (pair.*part).size() + 1;
    if (size == 0)
        return {};
    QString joined(size - 1, Qt::Uninitialized);
    QChar* const start = joined.data();
    QChar* d = start;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i > 0)
            *d++ = u'_';
        const QString& text = pairs[i].*part;
        d = std::copy_n(text.constData(), text.size(), d);
    }
    qsizetype end = joined.size();
    while (end > 0 && start[end - 1] == u'_')
        --end;
    joined.truncate(end);
    return joined;
}
} // namespace

QString WordAnalysis::WordResult::AnalyzedName() const
{
    return JoinTrimmed(words, &WordPair::word);
}

QString WordAnalysis::WordResult::AnalyzedPartner() const
{
    return JoinTrimmed(words, &WordPair::partner);
}

// --- WordAnalysisInput ------------------------------------------------------------------

QString WordAnalysisInput::AnalyzeTargetText() const
{
    return sources.join(kSourceSeparator);
}

void WordAnalysisInput::SetAnalyzeTargetText(const QString& text)
{
    sources.clear();
    if (!text.isEmpty())
        sources.append(text);
}

void WordAnalysisInput::AddSource(const QString& source)
{
    if (!source.isEmpty() && !sources.contains(source))
        sources.append(source);
}

void WordAnalysisInput::Count(TextCounts& map, const QString& text)
{
    if (!text.isEmpty())
        ++map[text];
}

void WordAnalysisInput::MergeFrom(const WordAnalysisInput& other)
{
    for (const QString& source : other.sources)
        AddSource(source);
    if (!other.opposite.isEmpty())
        opposite = other.opposite;
    if (!other.reference.isEmpty())
        reference = other.reference;
    if (!other.description.isEmpty())
        description = other.description;
    refCount += other.refCount;
    for (const auto& [text, count] : other.mapOpposites)
        mapOpposites[text] += count;
    for (const auto& [text, count] : other.mapReferences)
        mapReferences[text] += count;
    for (const auto& [text, count] : other.mapDescriptions)
        mapDescriptions[text] += count;
}

// --- WordAnalysis ------------------------------------------------------------------------

WordAnalysis::WordAnalysis(Kind kind, const CAnalyzeSettings* settings)
    : m_kind(kind), m_settings(settings ? settings : &CAnalyzeSettings::Instance()), m_splitter(m_settings)
{
}

QStringList WordAnalysis::ResultColumns() const
{
    return m_kind == Kind::Logical ? AnalysisTexts::kLogicalColumns : AnalysisTexts::kPhysicalColumns;
}

QString WordAnalysis::RenameQuestion() const
{
    return m_kind == Kind::Logical ? AnalysisTexts::kRenameLogicalTargets : AnalysisTexts::kRenamePhysicalTargets;
}

void WordAnalysis::SetSheet(QVector<QStringList> rows)
{
    m_sheet = std::move(rows);
    m_roles.Reset();
    m_mode = ModeSource;
}

WordAnalysisInput& WordAnalysis::AddSourceRow(const QString& name, const QString* opposite, const QString* definition,
                                              const QString* reference)
{
    QString key = name;
    m_settings->NormalizeAttributeName(key);
    WordAnalysisInput& entry = m_inputs[key];
    entry.name = key;
    ++entry.refCount;
    entry.AddSource(name);
    if (opposite) {
        entry.opposite = *opposite;
        WordAnalysisInput::Count(entry.mapOpposites, *opposite);
    }
    if (definition) {
        entry.description = *definition;
        WordAnalysisInput::Count(entry.mapDescriptions, *definition);
    }
    if (reference) {
        entry.reference = *reference;
        WordAnalysisInput::Count(entry.mapReferences, *reference);
    }
    return entry;
}

WordAnalysis::RunResult WordAnalysis::BuildTargets()
{
    if (m_roles.Column(RoleName) < 0)
        return {false, AnalysisTexts::kMissingRequired, false};
    m_inputs.clear();
    m_inputs.reserve(m_sheet.size());
    const auto optionalCell = [&](int row, int role, QString& text) -> const QString* {
        if (m_roles.Column(role) < 0)
            return nullptr;
        text = SheetCell(m_sheet, row, m_roles.Column(role));
        return &text;
    };
    for (int row = m_excludeFirstRow ? 1 : 0; row < m_sheet.size(); ++row) {
        const QString name = SheetCell(m_sheet, row, m_roles.Column(RoleName));
        if (name.trimmed().isEmpty())
            continue;
        QString opposite, definition, reference;
        AddSourceRow(name, optionalCell(row, RoleOpposite, opposite), optionalCell(row, RoleDefinition, definition),
                     optionalCell(row, RoleReference, reference));
    }
    return {};
}

WordAnalysis::RunResult WordAnalysis::Run()
{
    if (m_mode == ModeSource) {
        RunResult built = BuildTargets();
        if (!built.ok)
            return built;
    }
    return Analyze();
}

WordSplitter::WordSplit WordAnalysis::Split(const QString& name)
{
    return m_kind == Kind::Logical ? m_splitter.SplitLogical(name) : m_splitter.SplitPhysical(name);
}

WordSplitter::WordSplit WordAnalysis::SplitName(const QString& name)
{
    return Split(name);
}

WordAnalysis::WordResult WordAnalysis::MakeResult(const QString& key, WordSplitter::WordSplit&& split) const
{
    WordResult result;
    result.key = key;
    result.words = std::move(split.words);
    result.words.shrink_to_fit(); // the split reserved for four words; held for every target
    const WordPairList& words = result.words;
    int known = 0;
    result.definitions.reserve(words.size());
    for (const WordPair& pair : words) {
        QString definition;
        if (pair.partner != kUnknownPartner) {
            ++known;
            const _stAnalyzeManageWord* record =
                m_kind == Kind::Logical ? FindRecord(pair.partner, pair.word) : FindRecord(pair.word, pair.partner);
            if (!record && LatinCase::HasLower(pair.word)) {
                // Written in other Latin case than the dictionary's word: its record by its spelling.
                const WordSplitIndex& index = m_splitter.CurrentIndex();
                if (m_kind == Kind::Logical)
                    record = FindRecord(pair.partner, index.LogicalSpelling(pair.word));
                else
                    record = FindRecord(index.PhysicalSpelling(pair.word), pair.partner);
            }
            if (record)
                definition = record->strDescription;
        }
        result.definitions.append(definition);
    }
    if (known == 0)
        result.status = 0;
    else
        result.status = known == int(words.size()) ? 2 : 1;
    return result;
}

const _stAnalyzeManageWord* WordAnalysis::FindRecord(const QString& physical, const QString& logical) const
{
    if (m_wordsByPhysical.isEmpty())
        return m_settings->FindWord(physical, logical);
    const auto it = m_wordsByPhysical.constFind(physical);
    if (it == m_wordsByPhysical.cend())
        return nullptr;
    const auto jt = (*it)->find(logical);
    return jt == (*it)->end() ? nullptr : &jt->second;
}

WordAnalysis::RunResult WordAnalysis::Analyze()
{
    RunResult outcome;
    m_wordsByPhysical.reserve(qsizetype(m_settings->m_mapWordsByPhysical.size()));
    for (const auto& [physical, words] : m_settings->m_mapWordsByPhysical)
        m_wordsByPhysical.insert(physical, &words);
    m_splitter.Index(); // brought up to date here; the splits below only read it
    CQrProgressWnd::Show(int(m_inputs.size()), AnalysisTexts::kProgressTitle, AnalysisTexts::kProgressAnalyzeWord);
    // Targets read back from a document already come in key order; checking that is one
    // comparison a target, sorting them again about eighteen.
    bool byKey = false;
    if (m_settings->analyze_sort_result != 0)
        for (qsizetype i = 1; i < m_inputs.size() && !byKey; ++i)
            byKey = m_inputs.keyAt(i) < m_inputs.keyAt(i - 1);
    const std::vector<qsizetype> positions = m_inputs.order(byKey);
    // Each target's result goes to its own slot, so both threads write the final list in
    // place; a slot left at input -1 (a removed name, or one a cancel left undone) is dropped
    // after. A long list is split on two cores: this thread takes the first half with the
    // progress window, a worker the second. A cancel keeps the first half's targets done so
    // far, as a run on one core would.
    m_results.clear();
    m_results.resize(positions.size());
    const auto analyse = [&](size_t i) {
        const QString& key = m_inputs.keyAt(positions[i]);
        WordSplitter::WordSplit split = Split(key);
        if (!split.removed) {
            m_results[i] = MakeResult(key, std::move(split));
            m_results[i].input = positions[i];
        }
    };
    const bool twoCores = positions.size() >= kTwoCoresFrom && std::thread::hardware_concurrency() > 1;
    const size_t half = twoCores ? positions.size() / 2 : positions.size();
    std::atomic<bool> stop{false};
    CThreadFailure failure;
    std::thread worker;
    if (twoCores)
        worker = std::thread([&] {
            failure.Run([&] {
                for (size_t i = half; i < positions.size() && !stop.load(std::memory_order_relaxed); ++i)
                    analyse(i);
            });
        });
    // An exception here must not leave the worker running beside a dead stack.
    const CJoinOnExit join(worker, stop);
    size_t done = 0;
    for (; done < half; ++done) {
        if (CQrProgressWnd::IsCanceling()) {
            outcome.cancelled = true;
            break;
        }
        analyse(done);
        CQrProgressWnd::StepIt();
        if (twoCores)
            CQrProgressWnd::StepIt(); // the worker's share
    }
    if (twoCores) {
        stop = outcome.cancelled;
        worker.join();
        failure.Rethrow();
    }
    if (outcome.cancelled)
        m_results.resize(done);
    m_results.erase(std::remove_if(m_results.begin(), m_results.end(), [](const WordResult& r) { return r.input < 0; }),
                    m_results.end());
    m_wordsByPhysical.clear();
    ReindexResults();
    Recount();
    m_mode = ModeResult;
    ApplyVisibility(false);
    CQrProgressWnd::Hide();
    return outcome;
}

// The index is made on the first lookup: a command-line run never asks one.
void WordAnalysis::ReindexResults()
{
    m_resultIndex.clear();
    m_resultIndexed = false;
}

void WordAnalysis::Recount()
{
    m_wordCount = 0;
    m_analyzedWordCount = 0;
    m_fullyAnalyzed = 0;
    m_unanalyzed.clear();
    for (const WordResult& result : m_results) {
        for (const WordPair& pair : result.words) {
            ++m_wordCount;
            if (pair.partner != kUnknownPartner) {
                ++m_analyzedWordCount;
                continue;
            }
            UnanalyzedWord& missing = m_unanalyzed[pair.word];
            ++missing.count;
            if (missing.targets.isEmpty() || missing.targets.last() != result.key)
                missing.targets.append(result.key);
        }
        if (result.status == 2)
            ++m_fullyAnalyzed;
    }
}

const WordAnalysis::WordResult* WordAnalysis::ResultOf(const QString& key) const
{
    if (!m_resultIndexed) {
        m_resultIndex.reserve(qsizetype(m_results.size()));
        for (size_t i = 0; i < m_results.size(); ++i)
            m_resultIndex.insert(m_results[i].key, qsizetype(i));
        m_resultIndexed = true;
    }
    const auto it = m_resultIndex.constFind(key);
    return it == m_resultIndex.cend() ? nullptr : &m_results[size_t(*it)];
}

QString WordAnalysis::TargetListCaption() const
{
    return CQrStringUtil::Format(AnalysisTexts::kTargetListCount, {m_fullyAnalyzed, int(m_inputs.size())});
}

std::vector<AnalysisRow> WordAnalysis::Rows() const
{
    return Rows(0, m_results.size());
}

std::vector<AnalysisRow> WordAnalysis::Rows(size_t first, size_t last) const
{
    last = std::min(last, m_results.size());
    std::vector<AnalysisRow> rows;
    rows.reserve(first < last ? (last - first) * 5 : 0);
    for (size_t index = first; index < last; ++index) {
        const WordResult& result = m_results[index];
        const WordAnalysisInput* input = std::as_const(m_inputs).find(result.key, result.input);

        AnalysisRow target;
        target.level = 1;
        QString notes;
        if (input) {
            if (!input->opposite.isEmpty())
                notes += input->opposite + QLatin1Char(' ');
            if (!input->description.isEmpty())
                notes += QStringLiteral("(%1) ").arg(input->description);
            if (!input->reference.isEmpty())
                notes += QStringLiteral("[%1] ").arg(input->reference);
        }
        target.texts = {result.key, result.key, input ? input->AnalyzeTargetText() : QString(), QString(), notes};
        target.background = AnalysisColors::kTargetRow;
        target.nameBackground = AnalysisColors::kTargetNameCell;
        target.nameEditable = true;
        target.hidden = result.hidden;
        target.target = int(index);
        rows.push_back(std::move(target));

        AnalysisRow analysed;
        analysed.level = 2;
        analysed.texts = {result.AnalyzedName(), QString(), QString(), result.AnalyzedPartner(), QString()};
        analysed.images = {result.status};
        analysed.background = AnalysisColors::kTargetRow;
        analysed.nameBackground = AnalysisColors::kTargetRow;
        analysed.hidden = result.hidden;
        analysed.target = int(index);
        rows.push_back(std::move(analysed));

        for (size_t w = 0; w < result.words.size(); ++w) {
            const WordPair& pair = result.words[w];
            AnalysisRow word;
            word.level = 3;
            word.texts = {pair.word, QString(), QString(), pair.partner, result.definitions.value(qsizetype(w))};
            word.images = {pair.partner == kUnknownPartner ? 0 : 2};
            word.background = AnalysisColors::kWordRow;
            word.nameBackground = AnalysisColors::kWordRow;
            word.hidden = result.hidden;
            word.target = int(index);
            rows.push_back(std::move(word));
        }
    }
    return rows;
}

bool WordAnalysis::IsHidden(const WordResult& result) const
{
    if (m_excludeAnalyzed && result.status == 2)
        return true;
    return !m_filter.isEmpty() && !result.key.contains(m_filter);
}

void WordAnalysis::ApplyVisibility(bool withProgress)
{
    if (withProgress)
        CQrProgressWnd::Show(int(m_results.size()), AnalysisTexts::kProgressTitle, AnalysisTexts::kProgressFilterWord,
                             nullptr, false);
    for (WordResult& result : m_results) {
        result.hidden = IsHidden(result);
        if (withProgress)
            CQrProgressWnd::StepIt();
    }
    if (withProgress)
        CQrProgressWnd::Hide();
}

void WordAnalysis::SetExcludeAnalyzed(bool exclude)
{
    m_excludeAnalyzed = exclude;
    ApplyVisibility(true);
}

void WordAnalysis::SetFilterText(const QString& text)
{
    m_filter = text;
    ApplyVisibility(true);
}

QStringList WordAnalysis::UnanalyzedWordsOf(const QString& name)
{
    QStringList words;
    for (const WordPair& pair : Split(name).words) {
        if (pair.partner == kUnknownPartner && !words.contains(pair.word))
            words.append(pair.word);
    }
    return words;
}

WordAnalysis::RenameResult WordAnalysis::MoveInput(const QString& key, const QString& newText, bool deferRemoval)
{
    RenameResult outcome;
    QString name = newText;
    m_settings->NormalizeAttributeName(name);
    outcome.name = name;
    // A blank name would hide the target under an empty key; keep the old one.
    const bool blank = newText.trimmed().isEmpty() || name.isEmpty();
    if (blank || name == key || !m_inputs.contains(key)) {
        outcome.name = blank ? key : name;
        return outcome;
    }
    outcome.changed = true;
    if (WordAnalysisInput* existing = m_inputs.find(name)) {
        // Both targets' rows stay counted: the moved texts join the existing ones.
        existing->MergeFrom(*m_inputs.find(key));
        if (deferRemoval)
            m_inputs.removeLater(key);
        else
            m_inputs.remove(key);
        outcome.merged = true;
    } else {
        m_inputs.rename(key, name);
        m_inputs.find(name)->name = name;
    }
    return outcome;
}

WordAnalysis::RenameResult WordAnalysis::RenameTarget(const QString& key, const QString& newText)
{
    const RenameResult outcome = MoveInput(key, newText);
    if (outcome.changed)
        FollowMoves({{key, outcome.name}});
    return outcome;
}

void WordAnalysis::FollowMoves(const QHash<QString, QString>& moved)
{
    // A renamed target keeps its row's place; when it joined a target already listed,
    // that row stands for both.
    std::vector<WordResult> results;
    results.reserve(m_results.size());
    QSet<QString> listed;
    for (WordResult& result : m_results) {
        const QString key = moved.value(result.key, result.key);
        if (listed.contains(key))
            continue;
        listed.insert(key);
        if (key == result.key) {
            results.push_back(std::move(result));
            continue;
        }
        WordSplitter::WordSplit split = Split(key);
        if (!split.removed)
            results.push_back(MakeResult(key, std::move(split)));
    }
    m_results = std::move(results);
    ReindexResults();
    Recount();
    ApplyVisibility(false);
}

int WordAnalysis::RenameForWordChanges(const std::vector<std::pair<QString, QString>>& changes)
{
    QHash<QString, QString> replacements;
    for (const auto& [from, to] : changes) {
        if (!from.isEmpty() && from != to)
            replacements.insert(from, to);
    }
    if (replacements.isEmpty())
        return 0;
    std::vector<std::pair<QString, QString>> renames;
    for (const WordResult& result : m_results) {
        bool touched = false;
        QStringList words;
        for (const WordPair& pair : result.words) {
            const auto it = replacements.constFind(pair.word);
            touched = touched || it != replacements.cend();
            words.append(it != replacements.cend() ? *it : pair.word);
        }
        if (!touched)
            continue;
        const QString separator = result.key.contains(QLatin1Char('_')) ? QStringLiteral("_") : QString();
        renames.emplace_back(result.key, words.join(separator));
    }
    // Where each listed target ends up: a later rename may move a target that an earlier
    // one moved or merged into.
    QHash<QString, QString> moved;
    QHash<QString, QStringList> heldBy; // current name -> listed keys that ended up there
    int renamed = 0;
    for (const auto& [from, to] : renames) {
        const RenameResult outcome = MoveInput(from, to, true);
        if (!outcome.changed)
            continue;
        ++renamed;
        QStringList followers = heldBy.take(from);
        for (const QString& listed : followers)
            moved[listed] = outcome.name;
        if (!moved.contains(from)) {
            moved.insert(from, outcome.name);
            followers.append(from);
        }
        heldBy[outcome.name].append(followers);
    }
    m_inputs.compact();
    if (renamed > 0)
        FollowMoves(moved);
    return renamed;
}

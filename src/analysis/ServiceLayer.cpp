#include "analysis/ServiceLayer.h"

#include "analysis/LatinCase.h"
#include "analysis/WordSplitIndex.h"
#include "components/OutputLog.h"
#include "components/QrDatabaseManager.h"
#include "settings/AnalyzeSettings.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>

IServiceLayer* IServiceLayer::theServiceLayer = nullptr;

namespace {

// a Korean line says which work failed before the driver's own text
const QString kReadFailed = QStringLiteral("용어 분석 표준 자료 조회 실패 : ");

const char* const kSelectDictionary =
    "SELECT DIC_ID, DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, "
    "DIC_GBN_CD, DOM_ID FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_GBN_CD IN ('0001', '0002') "
    "AND AVAL_END_DT = '99991231235959'";
const char* const kSelectDomainNames =
    "SELECT DOM_ID, DOM_NM, KEY_DOM_NM FROM STD_DOM WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'";
// The published edition names its domains with one letter per type (명V100, 연월일C8).
const char* const kPublishedTypeLetters = "CVND";

struct Entry
{
    _stServiceWord record;
    bool term = false;
    QString domainId;
};

// The words and terms of one area, indexed for splitting and lookup. Names are keyed with their
// Latin letters folded (LatinCase), so ID, Id and id are one word.
struct Area
{
    bool loaded = false;
    QHash<QString, std::vector<int>> wordsByLogical;
    QHash<QString, std::vector<int>> wordsByPhysical;
    QHash<QString, std::vector<int>> termsByLogical;
    ReverseTrie logicalWords;            // the keys of wordsByLogical, for the split
    QHash<QString, QString> domainNames; // DOM_ID -> DOM_NM
    QHash<QString, QString> domainKeys;  // DOM_ID -> KEY_DOM_NM
};

struct Result
{
    QString target;
    QString variant;
    QString areaId;
    QStringList words;
    std::vector<int> kinds;
    QStringList domainNames;
    QStringList domainIds;
    bool first = true; // the first result of its (target, variant)
};

QString Text(const QSqlQuery& q, int column)
{
    const QVariant v = q.value(column);
    return v.isNull() ? QString() : v.toString();
}

class CServiceLayer final : public IServiceLayer
{
public:
    void SetOptionText(int option, const QString& text) override { m_textOptions[option] = text; }
    void SetOptionValue(int option, int value) override { m_valueOptions[option] = value; }
    void SetDatabase(const ServiceDatabase* database) override { m_db = database ? database->first : QSqlDatabase(); }
    void SetTargets(const std::vector<_stServiceTarget>* targets) override { m_targets = targets; }
    bool RunAnalysis() override { return Run(); }
    bool RunAnalysisAll() override { return Run(); }

    int GetResultCount(int) const override { return int(m_results.size()); }
    bool GetResult(int index, QString& target, QString& variant, int) const override
    {
        if (index < 0 || index >= int(m_results.size()))
            return false;
        target = m_results[size_t(index)].target;
        variant = m_results[size_t(index)].variant;
        return true;
    }
    bool GetResultTerm(const QString& target, const QString& variant, QStringList& domainNames,
                       QStringList& domainIds) const override
    {
        domainNames.clear();
        domainIds.clear();
        const Result* r = Find(target, variant);
        if (!r)
            return false;
        domainNames = r->domainNames;
        domainIds = r->domainIds;
        return true;
    }
    bool SelectResult(const QString& target, const QString& variant, int) override
    {
        const Result* r = Find(target, variant);
        m_selected = r ? int(r - m_results.data()) : -1;
        return r != nullptr;
    }
    bool PrepareResult() override { return m_selected >= 0; }
    void SetResultMode(int mode) override { m_resultMode = mode; }
    bool GetResultWords(const QString& target, const QString& variant, QStringList& words,
                        std::vector<int>& kinds) const override
    {
        words.clear();
        kinds.clear();
        const Result* r = Find(target, variant);
        if (!r)
            return false;
        words = r->words;
        kinds = r->kinds;
        return true;
    }
    bool GetServiceWord(SERVICE_WORD_HANDLE handle, _stServiceWord& word) const override
    {
        const _stServiceWord* record = ServiceWord(handle);
        if (record)
            word = *record;
        return record != nullptr;
    }
    const _stServiceWord* ServiceWord(SERVICE_WORD_HANDLE handle) const override
    {
        return handle < 0 || handle >= int(m_entries.size()) ? nullptr : &m_entries[size_t(handle)].record;
    }
    bool FindWords(const QString& text, int, std::vector<SERVICE_WORD_HANDLE>& handles) const override;
    bool GetWordRelation(SERVICE_WORD_HANDLE handle, std::vector<SERVICE_WORD_HANDLE>& related) const override;
    void ClearResults() override
    {
        m_results.clear();
        m_index.clear();
        m_selected = -1;
    }
    void SplitText(const QString& text, const QString& areaId, QStringList& words, std::vector<int>& kinds) override
    {
        Configure();
        Result r;
        Analyze({text, QString(), areaId}, r);
        words = std::move(r.words);
        kinds = std::move(r.kinds);
    }

private:
    bool Run();
    void Configure();
    Area& LoadArea(const QString& areaId);
    void Analyze(const _stServiceTarget& target, Result& result);

public: // for CAreaView: what reads a loaded area and nothing else
    void AnalyzeIn(const Area& area, const QString& text, Result& result) const;
    // The text as one word: its text without separators, and a registered term's handles
    // (null for a standard word that is a compound).
    struct Compound
    {
        QString whole;
        const std::vector<int>* term = nullptr;
    };
    // The words of text as views of it; false for a compound, which is then given.
    bool ViewsIn(const Area& area, const QString& text, WordViews& words, Compound* compound) const;
    bool FindWordsIn(const Area& area, const QString& text, int mode, std::vector<SERVICE_WORD_HANDLE>& handles) const;
    const Area* LoadedArea(const QString& areaId) const
    {
        auto it = m_areas.find(areaId);
        return it == m_areas.end() ? nullptr : &it->second;
    }

private:
    void SplitPiece(const Area& area, QStringView piece, WordViews& words) const;
    bool IsTypeSuffix(QStringView run) const;
    qsizetype TypeSuffixStart(QStringView run) const;
    const Result* Find(const QString& target, const QString& variant) const
    {
        // Callers walk the results in order and ask several times about each: the last one
        // found, or the one after it, spares making and hashing the key.
        for (size_t at : {m_lastFound, m_lastFound + 1}) {
            if (at < m_results.size()) {
                const Result& r = m_results[at];
                if (r.first && r.target == target && r.variant == variant) {
                    m_lastFound = at;
                    return &r;
                }
            }
        }
        auto it = m_index.constFind(Key(target, variant));
        if (it == m_index.cend())
            return nullptr;
        m_lastFound = size_t(it.value());
        return &m_results[m_lastFound];
    }
    QString CurrentArea() const
    {
        if (m_selected >= 0)
            return m_results[size_t(m_selected)].areaId;
        if (m_targets && !m_targets->empty())
            return m_targets->front().strAreaId;
        return QString();
    }
    static QString Key(const QString& target, const QString& variant) { return target + QChar(0x1f) + variant; }
    bool IsSeparator(QChar c) const
    {
        // Every character of every name passes here: ASCII by a table.
        if (c.unicode() < 128)
            return m_asciiSeparators[c.unicode()];
        if (IsHangulSyllable(c))
            return m_hangulSeparators && m_separators.contains(c); // no space, most of a name
        return c.isSpace() || m_separators.contains(c);
    }
    QChar PhysicalSeparator() const
    {
        auto it = m_valueOptions.find(12);
        return it != m_valueOptions.end() && it->second > 0 ? QChar(it->second) : QChar(u'_');
    }
    // Standard entries first, then the load order (logical, physical name).
    void Ordered(const std::vector<int>& from, std::vector<int>& to) const
    {
        for (int pass = 0; pass < 2; ++pass)
            for (int h : from)
                if ((m_entries[size_t(h)].record.nStandard != 0) == (pass == 0))
                    to.push_back(h);
    }

    std::map<int, QString> m_textOptions;
    std::map<int, int> m_valueOptions;
    QSqlDatabase m_db;
    const std::vector<_stServiceTarget>* m_targets = nullptr;
    std::vector<Entry> m_entries;
    std::map<QString, Area> m_areas;
    std::vector<Result> m_results;
    QHash<QString, int> m_index; // first result of each (target, variant)
    mutable size_t m_lastFound = 0;
    std::set<QString> m_typeAbbreviations;
    QString m_separators;
    bool m_hangulSeparators = false; // whether any of them is a Hangul syllable
    static bool IsHangulSyllable(QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; }
    static std::array<bool, 128> AsciiSeparators(const QString& separators)
    {
        std::array<bool, 128> table{};
        for (char16_t c = 0; c < 128; ++c)
            table[c] = QChar(c).isSpace() || separators.contains(QChar(c));
        return table;
    }
    // Spaces until Configure adds the options' separators.
    std::array<bool, 128> m_asciiSeparators = AsciiSeparators(QString());
    int m_selected = -1;
    int m_resultMode = 0;
};

Area& CServiceLayer::LoadArea(const QString& areaId)
{
    Area& area = m_areas[areaId];
    if (area.loaded)
        return area;
    area.loaded = true;
    if (!m_db.isValid() || !m_db.isOpen() || areaId.isEmpty())
        return area;

    const size_t firstEntry = m_entries.size();
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(QString::fromLatin1(kSelectDictionary))) {
        OutputLog::Post(kReadFailed + q.lastError().text());
        return area;
    }
    q.addBindValue(areaId);
    if (!q.exec()) {
        OutputLog::Post(kReadFailed + q.lastError().text());
        return area;
    }
    while (q.next()) {
        Entry e;
        e.record.strTexts[0] = Text(q, 0);
        e.record.strTexts[1] = areaId;
        e.record.strTexts[2] = Text(q, 1);
        e.record.strTexts[3] = Text(q, 2);
        e.record.strTexts[4] = Text(q, 3);
        e.record.strTexts[5] = Text(q, 4);
        e.record.nClassWord = Text(q, 5).trimmed() == QLatin1String("Y") ? 1 : 0;
        e.record.nStandard = Text(q, 6).trimmed() == QLatin1String("Y") ? 1 : 0;
        e.term = Text(q, 7).trimmed() == QLatin1String("0002");
        e.domainId = Text(q, 8);
        const int h = int(m_entries.size());
        const QString logical = LatinCase::Folded(e.record.strTexts[2]);
        const QString physical = LatinCase::Folded(e.record.strTexts[3]);
        const bool term = e.term;
        const bool standard = e.record.nStandard != 0;
        m_entries.push_back(std::move(e));
        // A term's synonym (not standard) is no registered term.
        if (logical.isEmpty() || (term && !standard))
            continue;
        if (term) {
            area.termsByLogical[logical].push_back(h);
        } else {
            std::vector<int>& same = area.wordsByLogical[logical];
            if (same.empty())
                area.logicalWords.Insert(logical, 0);
            same.push_back(h);
            if (!physical.isEmpty())
                area.wordsByPhysical[physical].push_back(h);
        }
    }
    area.logicalWords.Freeze();

    // Ordinal order of (logical, physical, id) among the entries of one name, whatever the
    // database's collation.
    const auto byName = [this](int a, int b) {
        const _stServiceWord& x = m_entries[size_t(a)].record;
        const _stServiceWord& y = m_entries[size_t(b)].record;
        return std::tie(x.strTexts[2], x.strTexts[3], x.strTexts[0]) <
               std::tie(y.strTexts[2], y.strTexts[3], y.strTexts[0]);
    };
    for (auto* index : {&area.wordsByLogical, &area.wordsByPhysical, &area.termsByLogical})
        for (auto it = index->begin(); it != index->end(); ++it)
            std::sort(it->begin(), it->end(), byName);

    QSqlQuery d(m_db);
    d.setForwardOnly(true);
    if (d.prepare(QString::fromLatin1(kSelectDomainNames))) {
        d.addBindValue(areaId);
        if (d.exec()) {
            while (d.next()) {
                area.domainNames[Text(d, 0)] = Text(d, 1);
                area.domainKeys[Text(d, 0)] = Text(d, 2);
            }
        } else {
            OutputLog::Post(kReadFailed + d.lastError().text());
        }
    }
    // A class word filed under another domain class names a domain of that class.
    for (size_t h = firstEntry; h < m_entries.size(); ++h) {
        Entry& e = m_entries[h];
        if (e.term || !e.record.nClassWord || e.domainId.isEmpty())
            continue;
        const QString key = area.domainKeys.value(e.domainId);
        if (!key.isEmpty() && key != e.record.strTexts[2])
            e.record.strDomainClass = key;
    }
    return area;
}

void CServiceLayer::Configure()
{
    m_separators.clear();
    for (int option : {10, 13}) {
        auto t = m_textOptions.find(option);
        if (t != m_textOptions.end())
            m_separators += t->second;
    }
    auto v = m_valueOptions.find(13);
    if (v != m_valueOptions.end() && v->second > 0)
        m_separators += QChar(v->second);
    m_asciiSeparators = AsciiSeparators(m_separators);
    m_hangulSeparators = std::any_of(m_separators.cbegin(), m_separators.cend(), IsHangulSyllable);
    if (m_typeAbbreviations.empty())
        for (const auto& [type, abbreviation] : CAnalyzeSettings::Instance().DataTypeKeywords())
            m_typeAbbreviations.insert(abbreviation);
}

bool CServiceLayer::Run()
{
    m_results.clear();
    m_index.clear();
    m_selected = -1;
    Configure();
    if (!m_targets)
        return false;
    m_results.reserve(m_targets->size());
    m_index.reserve(qsizetype(m_targets->size()));
    for (const _stServiceTarget& target : *m_targets) {
        Result r;
        Analyze(target, r);
        const QString key = Key(r.target, r.variant);
        const qsizetype before = m_index.size();
        int& first = m_index[key];
        r.first = m_index.size() != before;
        if (r.first)
            first = int(m_results.size());
        m_results.push_back(std::move(r));
    }
    return true;
}

void CServiceLayer::Analyze(const _stServiceTarget& target, Result& result)
{
    result.target = target.strText;
    result.variant = target.strCompanion;
    result.areaId = target.strAreaId;
    AnalyzeIn(LoadArea(target.strAreaId), target.strText, result);
}

void CServiceLayer::AnalyzeIn(const Area& area, const QString& text, Result& result) const
{
    thread_local WordViews views; // its room kept from text to text
    Compound compound;
    if (ViewsIn(area, text, views, &compound)) {
        for (const auto& [word, kind] : views) {
            result.words.append(word.toString());
            result.kinds.push_back(kind);
        }
        return;
    }
    result.words = {compound.whole};
    result.kinds = {eServiceWordCompound};
    if (!compound.term)
        return;
    // A registered term: its domain too.
    std::vector<int> ordered;
    Ordered(*compound.term, ordered);
    for (int h : ordered) {
        const Entry& e = m_entries[size_t(h)];
        if (e.domainId.isEmpty())
            continue;
        result.domainNames.append(area.domainNames.value(e.domainId));
        result.domainIds.append(e.domainId);
        break;
    }
}

bool CServiceLayer::ViewsIn(const Area& area, const QString& text, WordViews& words, Compound* compound) const
{
    words.clear();
    // Pieces between separators, as views of the text; most texts are one piece.
    QVarLengthArray<QStringView, 8> pieces;
    qsizetype letters = 0;
    for (qsizetype i = 0, start = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsSeparator(text[i]))
            continue;
        if (i > start) {
            pieces.push_back(QStringView(text).mid(start, i - start));
            letters += i - start;
        }
        start = i + 1;
    }
    if (letters == 0)
        return true;
    QString whole;
    if (pieces.size() == 1 && pieces.front().size() == text.size()) {
        whole = text;
    } else {
        whole.reserve(letters);
        for (QStringView p : pieces)
            whole += p;
    }
    // The whole text as one word: a registered term, or a standard word that is itself a
    // compound (its physical name holds the separator).
    const QString folded = LatinCase::Folded(whole);
    const auto term = area.termsByLogical.constFind(folded);
    bool isCompound = term != area.termsByLogical.cend();
    if (!isCompound) {
        const auto word = area.wordsByLogical.constFind(folded);
        if (word != area.wordsByLogical.cend())
            isCompound = std::any_of(word.value().begin(), word.value().end(), [&](int h) {
                const _stServiceWord& w = m_entries[size_t(h)].record;
                return w.nStandard && w.strTexts[3].contains(PhysicalSeparator());
            });
    }
    if (isCompound) {
        compound->whole = std::move(whole);
        compound->term = term != area.termsByLogical.cend() ? &term.value() : nullptr;
        return false;
    }

    for (QStringView p : pieces)
        SplitPiece(area, p, words);

    // The type suffix of a domain name is not a word: a run of its own behind a word, or the
    // tail of an unknown run (뷁뷁V10: the word 뷁뷁 is what is missing).
    const size_t n = words.size();
    if (n >= 1 && words[n - 1].second == eServiceWordUnknown) {
        QStringView& last = words[n - 1].first;
        if (n >= 2 && words[n - 2].second != eServiceWordUnknown && IsTypeSuffix(last)) {
            words.pop_back();
        } else if (const qsizetype at = TypeSuffixStart(last); at > 0) {
            last.truncate(at);
        }
    }
    return true;
}

// Chooses the split with the fewest unknown characters, then the fewest pieces; among equal
// splits the longest word first. A plain left-to-right longest match would cut 주문번호 into
// 주문번 + 호 when 주문번 is a word, although 주문 + 번호 covers every character.
void CServiceLayer::SplitPiece(const Area& area, QStringView piece, WordViews& words) const
{
    struct Cost
    {
        int unknown = 0;
        int pieces = 0;
        bool operator<(const Cost& o) const { return unknown != o.unknown ? unknown < o.unknown : pieces < o.pieces; }
    };
    constexpr int kNone = -1;
    const int n = int(piece.size());
    // The tables of a split are the thread's, kept from name to name: a diagnosis splits
    // hundreds of thousands of names, each too short for its allocations to be worth making.
    struct Tables
    {
        std::vector<Cost> wordOrEnd, any;
        std::vector<int> wordLen, runLen;
        std::vector<char> reachable, cut;
        std::vector<std::vector<int>> starting;
        std::vector<std::pair<int, int>> matches;
    };
    thread_local Tables tables;
    // wordOrEnd[i]: best from i when a word (or the end) must start at i; any[i]: best from i.
    std::vector<Cost>& wordOrEnd = tables.wordOrEnd;
    std::vector<Cost>& any = tables.any;
    wordOrEnd.assign(size_t(n) + 1, Cost());
    any.assign(size_t(n) + 1, Cost());
    std::vector<int>& wordLen = tables.wordLen;
    std::vector<int>& runLen = tables.runLen;
    wordLen.assign(size_t(n) + 1, kNone);
    runLen.assign(size_t(n) + 1, 0);
    std::vector<char>& reachable = tables.reachable;
    reachable.assign(size_t(n) + 1, false);
    reachable[size_t(n)] = true;
    // The lengths of the words that start at each position, longest first: one walk of the
    // reversed-name trie per end position finds every word ending there.
    // A run of Latin letters is one word, known or not: UUID is not UU + ID, nor MIMETYPE MIME +
    // TYPE. Words and unknown runs start and end only where no two letters meet.
    const auto latin = [](QChar c) { return c.unicode() < 128 && c.isLetter(); };
    std::vector<char>& cut = tables.cut;
    cut.assign(size_t(n) + 1, true);
    for (int i = 1; i < n; ++i)
        cut[size_t(i)] = !(latin(piece[i - 1]) && latin(piece[i]));
    std::vector<std::vector<int>>& starting = tables.starting;
    if (starting.size() < size_t(n))
        starting.resize(size_t(n));
    for (int i = 0; i < n; ++i)
        starting[size_t(i)].clear();
    std::vector<std::pair<int, int>>& matches = tables.matches;
    for (int end = 1; end <= n; ++end) {
        if (!cut[size_t(end)])
            continue;
        area.logicalWords.SuffixMatches(piece.data(), end, matches);
        for (const auto& [len, payload] : matches)
            if (cut[size_t(end - len)])
                starting[size_t(end - len)].push_back(len);
    }
    for (int i = 0; i < n; ++i)
        std::sort(starting[size_t(i)].begin(), starting[size_t(i)].end(), std::greater<int>());
    for (int i = n - 1; i >= 0; --i) {
        if (!cut[size_t(i)])
            continue; // inside a Latin run: nothing starts here
        bool have = false;
        Cost best;
        for (const int len : starting[size_t(i)]) {
            const Cost c{any[size_t(i + len)].unknown, any[size_t(i + len)].pieces + 1};
            if (!have || c < best) {
                best = c;
                wordLen[size_t(i)] = len;
                have = true;
            }
        }
        reachable[size_t(i)] = have;
        wordOrEnd[size_t(i)] = best;
        Cost bestAny = best;
        bool haveAny = have;
        for (int k = 1; i + k <= n; ++k) {
            if (!reachable[size_t(i + k)] || !cut[size_t(i + k)])
                continue;
            const Cost c{wordOrEnd[size_t(i + k)].unknown + k, wordOrEnd[size_t(i + k)].pieces + 1};
            if (!haveAny || c < bestAny) {
                bestAny = c;
                runLen[size_t(i)] = k;
                haveAny = true;
            }
        }
        any[size_t(i)] = bestAny;
    }
    int i = 0;
    bool wordRequired = false;
    while (i < n) {
        if (wordRequired || runLen[size_t(i)] == 0) {
            const int len = wordLen[size_t(i)];
            words.emplace_back(piece.mid(i, len), eServiceWordFound);
            i += len;
            wordRequired = false;
        } else {
            const int k = runLen[size_t(i)];
            words.emplace_back(piece.mid(i, k), eServiceWordUnknown);
            i += k;
            wordRequired = true;
        }
    }
    if (n > 4096)
        tables = Tables(); // not kept for one odd name of a long text
}

// abbreviation + digits [+ "," + digits], or the abbreviation alone (a type without length).
bool CServiceLayer::IsTypeSuffix(QStringView run) const
{
    qsizetype letters = 0;
    while (letters < run.size() && run[letters].isUpper() && run[letters].unicode() < 128)
        ++letters;
    const QString abbreviation = run.left(letters).toString();
    const bool published = letters == 1 && std::strchr(kPublishedTypeLetters, char(run[0].unicode())) != nullptr;
    if (letters == 0 || (!published && !m_typeAbbreviations.count(abbreviation)))
        return false;
    qsizetype i = letters;
    qsizetype digits = 0;
    while (i < run.size() && run[i].isDigit()) {
        ++i;
        ++digits;
    }
    if (i < run.size() && run[i] == u',' && digits > 0) {
        ++i;
        qsizetype scale = 0;
        while (i < run.size() && run[i].isDigit()) {
            ++i;
            ++scale;
        }
        if (scale == 0)
            return false;
    }
    // A lone letter is too common a word ending (비타민C) to drop without a length.
    return i == run.size() && (digits > 0 || !published);
}

// Where a type suffix begins that ends an unknown run after other characters, or -1. The
// character before it must not be an upper-case letter, or ABCV10 would lose "V10".
qsizetype CServiceLayer::TypeSuffixStart(QStringView run) const
{
    const auto upper = [](QChar c) { return c.unicode() < 128 && c.isUpper(); };
    qsizetype start = run.size();
    while (start > 0 && (upper(run[start - 1]) || run[start - 1].isDigit() || run[start - 1] == u','))
        --start;
    for (qsizetype at = std::max<qsizetype>(start, 1); at < run.size(); ++at)
        if (upper(run[at]) && !upper(run[at - 1]))
            return IsTypeSuffix(run.mid(at)) ? at : -1;
    return -1;
}

bool CServiceLayer::FindWords(const QString& text, int mode, std::vector<SERVICE_WORD_HANDLE>& handles) const
{
    handles.clear();
    auto areaIt = m_areas.find(CurrentArea());
    return areaIt != m_areas.end() && FindWordsIn(areaIt->second, text, mode, handles);
}

bool CServiceLayer::FindWordsIn(const Area& area, const QString& text, int mode,
                                std::vector<SERVICE_WORD_HANDLE>& handles) const
{
    handles.clear();
    if (text.isEmpty())
        return false;
    const QString folded = LatinCase::Folded(text);
    if (mode == eServiceFindByPhysicalName) {
        auto it = area.wordsByPhysical.constFind(folded);
        if (it == area.wordsByPhysical.cend())
            return false;
        Ordered(it.value(), handles);
        return true;
    }
    for (const QHash<QString, std::vector<int>>* index :
         {&area.wordsByLogical, &area.wordsByPhysical, &area.termsByLogical}) {
        auto it = index->constFind(folded);
        if (it != index->cend()) {
            Ordered(it.value(), handles);
            return true;
        }
    }
    return false;
}

bool CServiceLayer::GetWordRelation(SERVICE_WORD_HANDLE handle, std::vector<SERVICE_WORD_HANDLE>& related) const
{
    related.clear();
    if (handle < 0 || handle >= int(m_entries.size()))
        return false;
    const Entry& e = m_entries[size_t(handle)];
    if (e.term || e.record.nStandard)
        return true;
    auto areaIt = m_areas.find(e.record.strTexts[1]);
    if (areaIt == m_areas.end())
        return true;
    auto it = areaIt->second.wordsByPhysical.constFind(LatinCase::Folded(e.record.strTexts[3]));
    if (it == areaIt->second.wordsByPhysical.cend())
        return true;
    for (int h : it.value())
        if (h != handle && m_entries[size_t(h)].record.nStandard)
            related.push_back(h);
    // Words that share an abbreviation: the one the description names stands first.
    const QString& description = e.record.strTexts[5];
    std::stable_partition(related.begin(), related.end(), [&](int h) {
        const QString& logical = m_entries[size_t(h)].record.strTexts[2];
        return !logical.isEmpty() && description.contains(logical);
    });
    return true;
}

// The splits and lookups of one area a service has read, for several threads at once: nothing
// here writes, and the service is left alone while views of it are used.
class CAreaView final : public IServiceLayer
{
public:
    CAreaView(const CServiceLayer& service, const Area& area) : m_service(service), m_area(area) {}
    void SetOptionText(int, const QString&) override {}
    void SetOptionValue(int, int) override {}
    void SetDatabase(const ServiceDatabase*) override {}
    void SetTargets(const std::vector<_stServiceTarget>*) override {}
    bool RunAnalysis() override { return false; }
    bool RunAnalysisAll() override { return false; }
    int GetResultCount(int) const override { return 0; }
    bool GetResult(int, QString&, QString&, int) const override { return false; }
    bool GetResultTerm(const QString&, const QString&, QStringList&, QStringList&) const override { return false; }
    bool SelectResult(const QString&, const QString&, int) override { return false; }
    bool PrepareResult() override { return false; }
    void SetResultMode(int) override {}
    bool GetResultWords(const QString&, const QString&, QStringList&, std::vector<int>&) const override
    {
        return false;
    }
    bool GetServiceWord(SERVICE_WORD_HANDLE handle, _stServiceWord& word) const override
    {
        return m_service.GetServiceWord(handle, word);
    }
    const _stServiceWord* ServiceWord(SERVICE_WORD_HANDLE handle) const override
    {
        return m_service.ServiceWord(handle);
    }
    bool FindWords(const QString& text, int mode, std::vector<SERVICE_WORD_HANDLE>& handles) const override
    {
        return m_service.FindWordsIn(m_area, text, mode, handles);
    }
    bool GetWordRelation(SERVICE_WORD_HANDLE handle, std::vector<SERVICE_WORD_HANDLE>& related) const override
    {
        return m_service.GetWordRelation(handle, related);
    }
    void ClearResults() override {}
    void SplitText(const QString& text, const QString&, QStringList& words, std::vector<int>& kinds) override
    {
        Result r;
        m_service.AnalyzeIn(m_area, text, r);
        words = std::move(r.words);
        kinds = std::move(r.kinds);
    }
    bool SplitViews(const QString& text, WordViews& words, QString& compound) const override
    {
        CServiceLayer::Compound whole;
        const bool split = m_service.ViewsIn(m_area, text, words, &whole);
        compound = std::move(whole.whole);
        return split;
    }

private:
    const CServiceLayer& m_service;
    const Area& m_area;
};

std::unique_ptr<CServiceLayer> g_service;

} // namespace

std::unique_ptr<IServiceLayer> NewServiceLayer()
{
    return std::make_unique<CServiceLayer>();
}

std::unique_ptr<IServiceLayer> AreaViewOf(IServiceLayer& service, const QString& areaId)
{
    auto* owner = dynamic_cast<CServiceLayer*>(&service);
    if (!owner)
        return nullptr;
    QStringList words;
    std::vector<int> kinds;
    owner->SplitText(QString(), areaId, words, kinds); // reads the area, sets the separators
    const Area* area = owner->LoadedArea(areaId);
    return area ? std::make_unique<CAreaView>(*owner, *area) : nullptr;
}

bool CreateAppLayer()
{
    if (g_service)
        return false;
    g_service = std::make_unique<CServiceLayer>();
    IServiceLayer::theServiceLayer = g_service.get();
    return true;
}

void DeleteAppLayer()
{
    IServiceLayer::theServiceLayer = nullptr;
    g_service.reset();
}

ServiceDatabase RepositoryServiceDatabase()
{
    QSqlDatabase db = CQrDatabaseManager::GetInstance().Database(QStringLiteral("AR"));
    if (db.isValid() && db.isOpen())
        return {db, QStringLiteral("QrSql")};
    return {QSqlDatabase(), QStringLiteral("QrSql")};
}

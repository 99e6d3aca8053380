#include "diagnosis/ColumnJudge.h"

#include "analysis/DataType.h"
#include "analysis/LatinCase.h"
#include "analysis/TermAnalysis.h"
#include "components/QrStringUtil.h"
#include "components/ThreadFailure.h"
#include "exchange/ModelSource.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardTexts.h"

#include <QScopeGuard>
#include <QVarLengthArray>
#include <algorithm>
#include <memory>
#include <utility>

namespace {

constexpr size_t kMaxDomainLookups = 50000;

// Punctuation, digits and a single Latin letter are never words, so never unknown ones.
bool IsNoise(const QString& word)
{
    if (word.size() == 1 && word[0].unicode() < 0x80)
        return true;
    return std::all_of(word.begin(), word.end(), [](QChar c) { return !c.isLetter(); });
}

QString WithoutSeparators(QString name)
{
    return name.remove(u'_').remove(u' ');
}

} // namespace

ColumnJudge::ColumnJudge(QString areaId, const ConformanceAreaFacts& facts, size_t maxNames, size_t sharedFrom)
    : m_areaId(std::move(areaId)), m_facts(facts), m_maxNames(maxNames), m_sharedFrom(sharedFrom)
{
}

size_t ColumnJudge::NamesReserved() const
{
    // A table that filled to its bound once will again: made that size, not grown by rehashing.
    return std::min(m_maxNames, size_t(1) << 18);
}

ColumnJudge::~ColumnJudge() = default;

void ColumnJudge::LeaveNamesAtExit()
{
    (void)new decltype(m_names)(std::move(m_names));
    m_names.clear();
}

ColumnJudge::Name ColumnJudge::NameOf(const DiagnosisColumn& column) const
{
    Name name;
    const QString read =
        column.commentRead ? column.logicalName : ModelSource::LogicalNameOfComment(column.logicalName);
    if (read.isEmpty())
        return name;
    QString head;
    CQrStringUtil::GetSplitPostNumber(read, head, name.number);
    name.read = read;
    name.key = read;
    CAnalyzeSettings::Instance().NormalizeAttributeName(name.key);
    return name;
}

ColumnJudge::NameVerdict ColumnJudge::TermSynonymVerdict(const QString& name, const QString& term) const
{
    NameVerdict v;
    v.findings.push_back({eFindingNonStandardTerm, name, term});
    v.standardLogical = term;
    v.renamable = true;
    const auto t = m_facts.terms.find(term);
    if (t != m_facts.terms.end()) {
        v.standardPhysical = t->second.physical;
        v.termDomainId = t->second.domainId;
    }
    v.noDomainSubject = term;
    v.reason =
        QStringLiteral("%1 %2 → 표준 용어 %3").arg(StandardTexts::kFindingNames[eFindingNonStandardTerm], name, term);
    return v;
}

struct ColumnJudge::NameWork
{
    const QStringList& names;
    const std::vector<std::shared_ptr<const NameVerdict>*>& places;
    const qsizetype count = names.size();
    std::atomic<qsizetype> next{0};
};

void ColumnJudge::AnalyseNames(const QStringList& keys, const std::vector<std::shared_ptr<const NameVerdict>*>& places)
{
    QStringList analysed;
    std::vector<std::shared_ptr<const NameVerdict>*> analysedPlaces;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys[i];
        const auto synonym = m_facts.termSynonyms.find(WithoutSeparators(key));
        if (synonym != m_facts.termSynonyms.end()) {
            *places[size_t(i)] = std::make_shared<const NameVerdict>(TermSynonymVerdict(key, synonym->second));
        } else {
            analysed << key;
            analysedPlaces.push_back(places[size_t(i)]);
        }
    }
    if (analysed.isEmpty())
        return;

    if (!m_words) {
        m_words = std::make_unique<TermNameWords>(m_areaId);
        for (auto& memo : m_memos)
            memo = std::make_unique<WordMemo>();
    }
    // Names are analysed each by itself: on a long list a second thread takes runs of them
    // too, from the same counter, so the thread the other work of the pipeline leaves more
    // time takes more. Each writes only its own names' places, which the table keeps where
    // they are meanwhile.
    NameWork work{analysed, analysedPlaces};
    if (size_t(work.count) < m_sharedFrom) {
        AnalyseRuns(work, *m_memos[0]);
        return;
    }
    if (m_offer) {
        {
            std::lock_guard lock(m_workMutex);
            m_work = &work;
        }
        // Withdrawn only once no helper holds it, however this thread leaves.
        const auto withdraw = qScopeGuard([this] {
            std::unique_lock lock(m_workMutex);
            m_workDone.wait(lock, [this] { return m_helpers == 0; });
            m_work = nullptr;
        });
        m_offer();
        AnalyseRuns(work, *m_memos[0]);
        return;
    }
    CThreadFailure failure;
    {
        std::thread helper;
        std::atomic<bool> stop{false}; // the helper's part is short; nothing stops it early
        CJoinOnExit join(helper, stop);
        helper = std::thread([&] { failure.Run([&] { AnalyseRuns(work, *m_memos[1]); }); });
        AnalyseRuns(work, *m_memos[0]);
    }
    failure.Rethrow();
}

void ColumnJudge::AnalyseRuns(NameWork& work, WordMemo& memo) const
{
    constexpr qsizetype kRun = 64;
    TermTargetResult result;
    for (qsizetype from; (from = work.next.fetch_add(kRun)) < work.count;)
        for (qsizetype i = from; i < std::min(work.count, from + kRun); ++i)
            *work.places[size_t(i)] = std::make_shared<const NameVerdict>(VerdictOf(work.names[i], result, memo));
}

void ColumnJudge::ShareNamesWith(std::function<void()> offer)
{
    m_offer = std::move(offer);
}

bool ColumnJudge::NamesOffered() const
{
    std::lock_guard lock(m_workMutex);
    return m_work && m_work->next.load() < m_work->count;
}

void ColumnJudge::HelpWithNames()
{
    NameWork* work = nullptr;
    {
        std::lock_guard lock(m_workMutex);
        if (!m_work)
            return;
        work = m_work;
        ++m_helpers;
    }
    const auto done = qScopeGuard([this] {
        std::lock_guard lock(m_workMutex);
        --m_helpers;
        m_workDone.notify_all();
    });
    AnalyseRuns(*work, *m_memos[1]);
}

ColumnJudge::NameVerdict ColumnJudge::VerdictOf(const QString& key, TermTargetResult& result, WordMemo& memo) const
{
    NameVerdict v;
    thread_local std::vector<const TermWordResult*> words; // its room kept from name to name
    const bool registered = m_words->Words(key, memo, words, result);
    // Pieces that are never words (a digit run inside a name) are no part of its verdict.
    words.erase(std::remove_if(words.begin(), words.end(),
                               [](const TermWordResult* w) { return !w->found && IsNoise(w->word); }),
                words.end());
    // A word used twice in one name is one finding: the few of a name, by kind and text.
    QVarLengthArray<std::pair<int, QStringView>, 8> seen;
    const auto firstTime = [&seen](int kind, const QString& word) {
        if (std::find(seen.begin(), seen.end(), std::pair<int, QStringView>(kind, word)) != seen.end())
            return false;
        seen.append({kind, word});
        return true;
    };
    bool allFound = !words.empty();
    bool allStandard = allFound;
    QStringList domainWords;
    domainWords.reserve(qsizetype(words.size()));
    for (const TermWordResult* w : words) {
        domainWords << (w->found ? w->standardName : w->word);
        if (!w->found) {
            allFound = allStandard = false;
            if (!registered && firstTime(eFindingUnknownWord, w->word)) {
                v.findings.push_back({eFindingUnknownWord, w->word, QString()});
            }
            continue;
        }
        if (!w->standard) {
            allStandard = false;
            const int kind = m_facts.forbiddenWordIds.count(w->id) ? eFindingForbiddenWord : eFindingNonStandardWord;
            if (!registered && firstTime(kind, w->word)) {
                v.findings.push_back({kind, w->word, w->standardName == w->word ? QString() : w->standardName});
            }
        }
    }
    const TermWordResult* last = words.empty() ? nullptr : words.back();
    const bool lastClass = last && last->CountsAsClassWord();
    // A synonym of a class word is listed once, as non-standard, above.
    if (!registered && last && last->found && !lastClass)
        v.findings.push_back({eFindingNotClassWord, last->word, QString()});
    if (!registered && words.empty())
        v.findings.push_back({eFindingUnknownWord, key, QString()});

    if (registered) {
        v.logicalOk = v.renamable = true;
        v.standardLogical = WithoutSeparators(key);
        const auto t = m_facts.terms.find(v.standardLogical);
        if (t != m_facts.terms.end()) {
            v.standardPhysical = t->second.physical;
            v.termDomainId = t->second.domainId;
        } else {
            v.standardPhysical = result.physicalName;
        }
        v.noDomainSubject = key;
        v.reason = QStringLiteral("표준 용어 ") + v.standardLogical;
    } else {
        v.logicalOk = v.renamable = allStandard && lastClass;
        if (allFound) {
            // The standard names of the words: joined, by "_" and, for the reason, by "+".
            v.reason = QStringLiteral("표준 단어 ");
            // Each made once at its full length: appending word by word grew each text twice.
            qsizetype logical = 0, physical = 0;
            for (const TermWordResult* w : words) {
                logical += w->standardName.size();
                physical += w->physicalName.size() + 1;
            }
            v.standardLogical.reserve(logical);
            v.standardPhysical.reserve(physical);
            v.reason.reserve(v.reason.size() + logical + qsizetype(words.size()));
            for (size_t k = 0; k < words.size(); ++k) {
                if (k > 0) {
                    v.standardPhysical += u'_';
                    v.reason += u'+';
                }
                v.standardLogical += words[k]->standardName;
                v.standardPhysical += words[k]->physicalName;
                v.reason += words[k]->standardName;
            }
        }
        v.noDomainSubject = last ? last->word : key;
    }
    if (v.standardPhysical.contains(u'(') || v.standardPhysical.contains(u'?'))
        v.standardPhysical.clear();
    if (v.termDomainId.isEmpty()) {
        // The key domains among the names the words end in (the last word, the last two ...),
        // the domain class first: the standard files a class word's domains under its class.
        const auto candidate = [&](QStringView name) {
            const auto ids = m_facts.domainIds.find(name);
            if (ids != m_facts.domainIds.end())
                v.candidates << ids->first;
        };
        if (last && last->found) {
            const QString domainClass = last->KeyDomainName();
            if (domainClass != domainWords.back())
                candidate(domainClass);
        }
        const QString joined = domainWords.join(QString());
        qsizetype from = joined.size();
        for (qsizetype k = domainWords.size(); k-- > 0;) {
            from -= domainWords[k].size();
            candidate(QStringView(joined).mid(from));
        }
    }
    v.words = std::move(domainWords);
    return v;
}

size_t ColumnJudge::DomainQueryHash::operator()(const DomainQueryView& q) const
{
    quint64 h = TextHash64(q.logicalType);
    const auto mix = [&h](QStringView text) { h = (h ^ TextHash64(text)) * 0x9e3779b97f4a7c15ull; };
    mix(q.length);
    mix(q.scale);
    for (const QString& c : q.candidates)
        mix(c);
    return size_t(h ^ (h >> 29));
}

const ConformanceAreaFacts::Domain* ColumnJudge::FittingDomain(const QStringList& candidates,
                                                               const QString& logicalType, const QString& length,
                                                               const QString& scale)
{
    if (candidates.isEmpty())
        return nullptr;
    const auto cached = m_domainCache.find(DomainQueryView{candidates, logicalType, length, scale});
    if (cached != m_domainCache.end())
        return cached->second;
    if (m_domainCache.size() >= kMaxDomainLookups)
        m_domainCache.clear();
    const ConformanceAreaFacts::Domain* pick = nullptr;
    long long widest = -1;
    for (const QString& key : candidates) {
        const auto ids = m_facts.domainIds.find(key);
        if (ids == m_facts.domainIds.end())
            continue;
        // Of one key's domains that fit, the last; for an integer column, the widest.
        for (const QString& id : ids->second) {
            const ConformanceAreaFacts::Domain& d = m_facts.domains.at(id);
            if (!Conformance::TypeFits(d, logicalType, length, scale))
                continue;
            const long long width = d.length.trimmed().toLongLong();
            if (width >= widest) {
                widest = width;
                pick = &d;
            }
        }
        if (pick)
            break;
    }
    m_domainCache.emplace(DomainQuery{candidates, logicalType, length, scale}, pick);
    return pick;
}

const QString& ColumnJudge::LogicalTypeOf(const QString& type)
{
    // A model has a handful of type names: a short list beats a hash of every column's.
    for (const auto& [physical, logical] : m_logicalTypes)
        if (physical == type)
            return logical;
    if (m_logicalTypes.size() >= kMaxLogicalTypes)
        m_logicalTypes.clear();
    m_logicalTypes.emplace_back(type, CAnalyzeSettings::Instance().ConvertToLogicalDataType(type));
    return m_logicalTypes.back().second;
}

void ColumnJudge::Judge(const std::vector<DiagnosisColumn>& batch, std::vector<ColumnVerdict>& verdicts)
{
    Prepared prepared;
    Prepare(batch, prepared);
    Decide(batch, prepared, verdicts);
}

void ColumnJudge::Prepare(const std::vector<DiagnosisColumn>& batch, Prepared& prepared)
{
    // A bound on memory for models of distinct names. Started afresh before the batch's names
    // are looked up, so that every name of the batch is in the table afterwards.
    prepared.retired = {};
    if (m_names.size() + batch.size() > m_maxNames) {
        prepared.retired = std::exchange(m_names, {});
        m_names.reserve(NamesReserved());
    }
    std::vector<Name>& names = prepared.names;
    names.assign(batch.size(), Name());
    prepared.verdicts.assign(batch.size(), nullptr);
    QStringList unknown;
    // Where in the table the new names' verdicts go: an element stays in place when the table
    // grows, so each name is looked up once.
    std::vector<std::shared_ptr<const NameVerdict>*> unknownPlaces;
    std::vector<std::pair<size_t, const std::shared_ptr<const NameVerdict>*>> waiting;
    for (size_t i = 0; i < batch.size(); ++i) {
        names[i] = NameOf(batch[i]);
        const QString& key = names[i].key;
        if (key.isEmpty())
            continue;
        // A name seen first in this batch is held by an empty verdict until it is analysed.
        const auto [it, added] = m_names.try_emplace(key);
        if (added) {
            unknown << key;
            unknownPlaces.push_back(&it->second);
        }
        if (it->second)
            prepared.verdicts[i] = it->second;
        else
            waiting.emplace_back(i, &it->second);
    }
    if (!unknown.isEmpty())
        AnalyseNames(unknown, unknownPlaces);
    for (const auto& [i, slot] : waiting)
        prepared.verdicts[i] = *slot;
}

void ColumnJudge::Decide(const std::vector<DiagnosisColumn>& batch, const Prepared& prepared,
                         std::vector<ColumnVerdict>& verdicts)
{
    const std::vector<Name>& names = prepared.names;
    verdicts.resize(batch.size());
    for (size_t i = 0; i < batch.size(); ++i) {
        const DiagnosisColumn& c = batch[i];
        ColumnVerdict& out = verdicts[i];
        out.Reset();
        out.standard.description = c.commentRead ? c.description : ModelSource::SplitComment(c.comment).description;
        if (names[i].key.isEmpty()) {
            out.findings.push_back({eFindingNoLogicalName, c.comment.simplified().left(100), QString()});
            continue;
        }
        out.named = true;
        out.logicalName = names[i].read;
        out.nameKey = names[i].key;
        out.standard.logicalName = out.logicalName;
        // The number of the name ("설명1"); a name without one takes the column's (ADDR2).
        QString number = names[i].number;
        if (number.isEmpty()) {
            QString head;
            CQrStringUtil::GetSplitPostNumber(c.shownColumn, head, number);
        }
        const NameVerdict& v = *prepared.verdicts[i];
        out.findings = v.findings;
        out.logicalOk = v.logicalOk;
        out.words = v.words;

        // The type, against the term's domain or the one the class word finds for this type.
        // A source that gives the type with its length in one text is parsed; the rest is read
        // where it is.
        QString parsedType, parsedLength, parsedScale;
        const bool inOne = c.type.contains(u'(');
        if (inOne) {
            parsedLength = c.length;
            parsedScale = c.scale;
            ParseDataType(c.type, parsedType, parsedLength, parsedScale);
        }
        const QString& type = inOne ? parsedType : c.type;
        const QString& length = inOne ? parsedLength : c.length;
        const QString& scale = inOne ? parsedScale : c.scale;
        const QString& logicalType = LogicalTypeOf(type);
        const auto term = v.termDomainId.isEmpty() ? m_facts.domains.end() : m_facts.domains.find(v.termDomainId);
        if (term != m_facts.domains.end()) {
            out.typeOk = Conformance::TypeFits(term->second, logicalType, length, scale);
            if (!out.typeOk) {
                const ConformanceAreaFacts::Domain& d = term->second;
                const QString domain =
                    QStringLiteral("%1 (%2)").arg(d.name, GlobalFunc::BuildDataType(d.type, d.length, d.scale));
                // The type as the domains name it, whatever the DBMS calls it (CHARACTER VARYING).
                out.findings.push_back(
                    {eFindingTypeMismatch, GlobalFunc::BuildDataType(logicalType, length, scale), domain});
                out.standard.typeNote = QStringLiteral("%1, 도메인 %2").arg(c.displayType, domain);
            }
        } else {
            out.typeOk = FittingDomain(v.candidates, logicalType, length, scale) != nullptr;
            if (!out.typeOk)
                out.findings.push_back({eFindingNoDomain, v.noDomainSubject, QString()});
        }

        // The physical name, with the column's number. A list of logical names alone (no
        // column names) is judged on its names and types.
        // Shared, not built, when there is no number to add: most names have none.
        const auto withNumber = [](const QString& name, const QString& number) {
            return number.isEmpty() ? name : name + number;
        };
        const QString wanted = v.standardPhysical.isEmpty() ? QString() : withNumber(v.standardPhysical, number);
        if (c.shownColumn.isEmpty()) {
            out.physicalOk = true;
        } else if (!wanted.isEmpty()) {
            out.physicalOk = LatinCase::SameIgnoringCase(c.shownColumn, wanted);
            if (!out.physicalOk)
                out.findings.push_back({eFindingPhysicalName, c.shownColumn, wanted});
        }
        if (v.renamable && !wanted.isEmpty()) {
            out.standard.standardName = withNumber(v.standardLogical, names[i].number);
            out.standard.standardColumn = wanted;
        }
        out.standard.reason = v.reason;
    }
}

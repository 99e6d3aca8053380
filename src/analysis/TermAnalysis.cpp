#include "analysis/TermAnalysis.h"

#include "analysis/AnalyzeDomainWords.h"
#include "analysis/DataType.h"
#include "analysis/LatinCase.h"
#include "analysis/ServiceLayer.h"
#include "components/QrProgressWnd.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>

namespace {

const QString kSeparator = QStringLiteral("_");
constexpr unsigned kTargetBackground = 0xF7F7F7;
constexpr unsigned kWordBackground = 0xFFFFFF;

AnalysisRow EmptyRow(int level, unsigned background)
{
    AnalysisRow row;
    row.level = level;
    row.background = background;
    row.nameBackground = background;
    for (int i = 0; i < TermTexts::kColumns.size(); ++i)
        row.texts.append(QString());
    row.images.assign(size_t(TermTexts::kColumns.size()), eTermImageNone);
    return row;
}

bool FindFirst(IServiceLayer* service, const QString& text, SERVICE_WORD_HANDLE& handle, const _stServiceWord*& record)
{
    std::vector<SERVICE_WORD_HANDLE> handles;
    if (!service->FindWords(text, eServiceFindByName, handles) || handles.empty())
        return false;
    handle = handles.front();
    record = service->ServiceWord(handle);
    return record != nullptr;
}

// The word of one abbreviation of a registered term: a standard word of that physical name,
// the one whose logical name stands at `cursor` in the term's logical name when several
// share it (the longest such). The cursor moves past it.
bool FindPart(IServiceLayer* service, const QString& part, const QString& logical, qsizetype& cursor,
              SERVICE_WORD_HANDLE& handle, const _stServiceWord*& record)
{
    std::vector<SERVICE_WORD_HANDLE> handles;
    if (!service->FindWords(part, eServiceFindByPhysicalName, handles) || handles.empty())
        return FindFirst(service, part, handle, record);
    int best = -1;
    qsizetype bestLength = -1;
    for (size_t i = 0; i < handles.size(); ++i) {
        const _stServiceWord* r = service->ServiceWord(handles[i]);
        if (!r)
            continue;
        const QString& name = r->strTexts[2];
        const qsizetype length = QStringView(logical).mid(cursor).startsWith(name) ? name.size() : -1;
        // Standard words come first, so a non-standard one wins only by standing at the cursor.
        if (best < 0 || length > bestLength) {
            best = int(i);
            bestLength = length;
        }
    }
    if (best < 0)
        return false;
    handle = handles[size_t(best)];
    record = service->ServiceWord(handle);
    if (!record)
        return false;
    if (bestLength > 0)
        cursor += bestLength;
    return true;
}

// The repository's area, words cut at "_" and blanks.
void ConfigureService(IServiceLayer* service)
{
    const ServiceDatabase database = RepositoryServiceDatabase();
    service->SetDatabase(&database);
    service->SetOptionValue(8, 2);
    service->SetOptionValue(0, 0);
    service->SetOptionText(11, QString());
    service->SetOptionText(10, kSeparator);
    service->SetOptionValue(13, '_');
    service->SetOptionValue(12, '_');
}

} // namespace

CTermAnalysis::CTermAnalysis() : m_domainLookup(RepositoryDomainLookup()), m_keyDomainSource(RepositoryKeyDomains()) {}

CTermAnalysis::KeyDomainSource CTermAnalysis::RepositoryKeyDomains()
{
    return [](const QString& areaId, AreaDomains& area) {
        CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        std::vector<_stAnalyzeManageDomain> domains;
        if (!gate || !gate->SelectStandardDomains(areaId, domains))
            return false;
        for (const _stAnalyzeManageDomain& d : domains) {
            const QString folded = LatinCase::Folded(d.strKeyDomainName);
            if (!area.keys.contains(folded))
                area.keys.insert(folded, d.strKeyDomainName);
            area.sizes[d.strDomainId] = {d.strLength, d.strScale};
        }
        return true;
    };
}

CTermAnalysis::DomainLookup CTermAnalysis::RepositoryDomainLookup()
{
    return [](const QString& areaId, const QStringList& candidates, const QString& dataType, const QString& length,
              const QString& scale, DomainPairs& found) {
        CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        return gate && gate->SelectStandardDomainsByKey(areaId, candidates, dataType, length, scale, found);
    };
}

bool CTermAnalysis::ResolveStandardArea(const QString& areaId, const std::function<bool(const QString&)>& selectItem)
{
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    if (!gate || areaId.isEmpty())
        return false;
    QString name;
    if (!gate->SelectStandardAreaName(areaId, name) || name.isEmpty())
        return false;
    return selectItem && selectItem(name);
}

void CTermAnalysis::SetSheet(QVector<QStringList> rows)
{
    m_sheet = std::move(rows);
    m_roles.Reset();
    m_mode = ModeSource;
}

CTermAnalysis::RunResult CTermAnalysis::BuildTargets()
{
    if (m_areaId.isEmpty())
        return {false, TermTexts::kNoArea, false};
    if (m_roles.Column(RoleAttribute) < 0 || m_roles.Column(RoleType) < 0)
        return {false, TermTexts::kMissingRequired, false};
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    m_targets.clear();
    m_order.clear();
    m_results.clear();
    m_resultIndex.clear();
    const auto cell = [&](int row, int role) { return SheetCell(m_sheet, row, m_roles.Column(role)); };
    for (int r = m_excludeFirstRow ? 1 : 0; r < m_sheet.size(); ++r) {
        QString name = cell(r, RoleAttribute);
        if (name.isEmpty())
            continue;
        settings.NormalizeAttributeName(name);
        auto [it, created] = m_targets.try_emplace(name);
        TermAnalysisTarget& t = it->second;
        if (created)
            m_order.append(name);
        t.strName = name;
        QString type, length, scale;
        ParseDataType(cell(r, RoleType), type, length, scale);
        t.strType = settings.ConvertToLogicalDataType(type);
        t.strLength = length;
        t.strScale = scale;
        if (m_roles.Column(RoleColumn) >= 0)
            t.strColumn = cell(r, RoleColumn);
        if (m_roles.Column(RoleLength) >= 0)
            t.strLength = cell(r, RoleLength);
        if (m_roles.Column(RoleScale) >= 0)
            t.strScale = cell(r, RoleScale);
        if (m_roles.Column(RoleReference) >= 0)
            t.strReference = cell(r, RoleReference);
        if (m_roles.Column(RoleDefinition) >= 0)
            t.strDefinition = cell(r, RoleDefinition);
        t.strDisplayType = GlobalFunc::BuildDataType(t.strType, t.strLength, t.strScale);
    }
    return {};
}

CTermAnalysis::RunResult CTermAnalysis::Run()
{
    if (m_mode == ModeSource) {
        RunResult built = BuildTargets();
        if (!built.ok)
            return built;
    }
    return Analyze();
}

void CTermAnalysis::SetTargets(const std::vector<TermAnalysisTarget>& targets)
{
    m_targets.clear();
    m_order.clear();
    m_results.clear();
    m_resultIndex.clear();
    for (const TermAnalysisTarget& t : targets)
        AddTarget(t);
}

void CTermAnalysis::AddTarget(TermAnalysisTarget target)
{
    auto [it, created] = m_targets.try_emplace(target.strName);
    if (created)
        m_order.append(target.strName);
    it->second = std::move(target);
}

CTermAnalysis::RunResult CTermAnalysis::Analyze()
{
    if (m_areaId.isEmpty())
        return {false, TermTexts::kNoArea, false};
    for (auto& [name, t] : m_targets)
        t.ClearAnalysis();
    m_domainCache.clear();
    m_keyDomains.clear();
    QStringList names = m_order;
    if (CAnalyzeSettings::Instance().analyze_sort_result)
        std::sort(names.begin(), names.end());
    m_results.clear();
    m_resultIndex.clear();
    bool cancelled = false;
    Run(names, true, &cancelled);
    return {true, QString(), cancelled};
}

const TermAnalysisTarget* CTermAnalysis::Target(const QString& name) const
{
    auto it = m_targets.find(name);
    return it == m_targets.end() ? nullptr : &it->second;
}

bool CTermAnalysis::AnalyzeSingle(const QString& name)
{
    if (!m_targets.count(name))
        return false;
    Run({name}, false, nullptr);
    return true;
}

void CTermAnalysis::ReAnalyze(const QStringList& names)
{
    QStringList known;
    for (const QString& n : names)
        if (m_targets.count(n) && !known.contains(n))
            known.append(n);
    if (known.isEmpty())
        return;
    CQrProgressWnd::ShowMarquee(QString::fromUtf16(CQrProgressWnd::TitleProcess), TermTexts::kProgressReanalyze);
    CQrProgressWnd::SetMsg(TermTexts::kProgressReanalyzeStep);
    // Registrations change the repository; lookups of this session may be stale.
    m_domainCache.clear();
    m_keyDomains.clear();
    Run(known, false, nullptr);
    CQrProgressWnd::Hide();
}

void CTermAnalysis::Run(const QStringList& names, bool full, bool* cancelled)
{
    if (!CreateAppLayer())
        return; // a run is already going on
    IServiceLayer* service = IServiceLayer::theServiceLayer;
    ConfigureService(service);

    const QString title = QString::fromUtf16(CQrProgressWnd::TitleProcess);
    if (full)
        CQrProgressWnd::ShowMarquee(title, TermTexts::kProgressSearch);

    std::vector<_stServiceTarget> targets;
    targets.reserve(size_t(names.size()));
    for (const QString& name : names) {
        const TermAnalysisTarget& t = m_targets.at(name);
        targets.push_back({t.strName, t.strColumn, m_areaId});
    }
    service->SetTargets(&targets);
    if (full)
        service->RunAnalysisAll();
    else
        service->RunAnalysis();

    if (full)
        CQrProgressWnd::Show(int(names.size()) + 2, title, TermTexts::kProgressAnalyze);

    std::vector<std::pair<QString, QString>> renames;
    const int count = service->GetResultCount(1);
    for (int i = 0; i < count; ++i) {
        if (full && CQrProgressWnd::IsCanceling()) {
            if (cancelled)
                *cancelled = true;
            break;
        }
        QString target, variant;
        if (!service->GetResult(i, target, variant, 1) || !m_targets.count(target))
            continue;
        service->SelectResult(target, variant, 0);
        service->PrepareResult();
        service->SetResultMode(0);
        TermTargetResult result;
        QString synonymName;
        BuildResult(service, target, variant, result, synonymName);
        PlaceResult(std::move(result));
        if (!synonymName.isEmpty())
            renames.emplace_back(target, synonymName);
        if (full)
            CQrProgressWnd::StepIt();
    }

    if (full)
        CQrProgressWnd::SetMsg(TermTexts::kProgressArrange);
    service->SetTargets(nullptr);
    service->ClearResults();
    DeleteAppLayer();
    if (!full)
        return;
    CQrProgressWnd::StepIt();

    if (CAnalyzeSettings::Instance().term_analy_with_synonym) {
        CQrProgressWnd::SetMsg(TermTexts::kProgressSynonym);
        for (const auto& [from, to] : renames)
            if (from != to && MoveTarget(from, to))
                AnalyzeSingle(to);
    }
    CQrProgressWnd::StepIt();
    m_mode = ModeResult;
    CQrProgressWnd::Hide();
}

void CTermAnalysis::BuildResult(IServiceLayer* service, const QString& target, const QString& variant,
                                TermTargetResult& result, QString& synonymName)
{
    TermAnalysisTarget& t = m_targets.at(target);
    t.ClearAnalysis();
    result.name = target;
    result.row = EmptyRow(1, kTargetBackground);
    AnalysisRow& row = result.row;
    row.nameEditable = true;
    row.texts[0] = row.texts[1] = t.strName;
    row.texts[2] = t.strColumn;
    row.texts[3] = t.strDisplayType;
    row.images[4] = eTermImageReanalyze;

    QStringList words;
    std::vector<int> kinds;
    service->GetResultWords(target, variant, words, kinds);
    const bool compound = words.size() == 1 && kinds.size() == 1 && kinds.front() == eServiceWordCompound;
    const bool synonym = ResolveWords(service, words, kinds, result, &t.listRelations);

    // Word rows and the analysis lists.
    for (size_t i = 0; i < result.words.size(); ++i) {
        const TermWordResult& w = result.words[i];
        const bool last = i + 1 == result.words.size();
        AnalysisRow wr = EmptyRow(2, kWordBackground);
        if (w.found) {
            wr.texts[0] = w.logicalName;
            wr.texts[1] = w.physicalName;
            wr.texts[2] = w.fullName;
            wr.texts[6] = w.classWord ? QStringLiteral("Y") : QStringLiteral("N");
            wr.images[0] = eTermImageFound;
            if (last && !w.CountsAsClassWord()) {
                wr.images[0] = eTermImageWarning;
                wr.images[6] = eTermImageAction;
            }
        } else {
            wr.texts[0] = w.word;
            wr.images[0] = eTermImageMissing;
            wr.images[2] = eTermImageAction;
        }
        result.wordRows.push_back(wr);
        t.listWordIds.append(w.id);
        t.listStandardNames.append(w.found ? w.standardName : w.word);
    }
    const bool allFound = result.allFound;
    const bool lastClass = !result.words.empty() && result.words.back().CountsAsClassWord();

    // Domain: the service's answer, a domain chosen by hand, then the repository's domains of
    // the candidate key domain names.
    QStringList domainNames, domainIds;
    service->GetResultTerm(target, variant, domainNames, domainIds);
    if (!domainIds.isEmpty()) {
        t.strDomainName = domainNames.value(0);
        t.strDomainId = domainIds.front();
    } else if (!(t.bDomainChosen && !t.strDomainId.isEmpty())) {
        t.strDomainName.clear();
        t.strDomainId.clear();
        t.bDomainChosen = false;
        QStringList words;
        for (const TermWordResult& w : result.words)
            words.append(w.found ? w.standardName : w.word);
        QStringList names = CandidateKeyDomainNames(words);
        // The domain class first: the lookup takes the hit of the first candidate it asks for
        // last, and the standard files a class word's domains under its class.
        if (!result.words.empty() && result.words.back().found && result.words.back().KeyDomainName() != names.value(0))
            names.prepend(result.words.back().KeyDomainName());
        // Only names that are key domains of the area can find a domain; asking for those
        // alone gives the same hits with far fewer statements.
        QStringList candidates;
        const AreaDomains* area = KeyDomains();
        for (const QString& c : names) {
            if (!area) {
                candidates.append(c);
            } else if (const auto key = area->keys.constFind(LatinCase::Folded(c)); key != area->keys.cend()) {
                candidates.append(*key); // the repository's spelling, which its lookup compares exactly
            }
        }
        if (!candidates.isEmpty() && m_domainLookup) {
            const QString cacheKey =
                candidates.join(u'\x1f') + u'\x1e' + t.strType + u'\x1e' + t.strLength + u'\x1e' + t.strScale;
            auto cached = m_domainCache.constFind(cacheKey);
            if (cached == m_domainCache.cend()) {
                DomainPairs found;
                m_domainLookup(m_areaId, candidates, t.strType, t.strLength, t.strScale, found);
                cached = m_domainCache.insert(cacheKey, std::move(found));
            }
            const DomainPairs& hits = *cached;
            if (!hits.empty()) {
                size_t pick = hits.size() - 1;
                const auto same = [](const QString& a, const QString& b) {
                    return a.trimmed().toLongLong() == b.trimmed().toLongLong();
                };
                for (size_t i = hits.size(); area && i-- > 0;) {
                    auto size = area->sizes.constFind(hits[i].second);
                    if (size != area->sizes.cend() && same(size->first, t.strLength) &&
                        same(size->second, t.strScale)) {
                        pick = i;
                        break;
                    }
                }
                t.strDomainName = hits[pick].first;
                t.strDomainId = hits[pick].second;
            }
        }
    }
    result.hasDomain = !t.strDomainId.isEmpty();

    row.texts[5] = t.strDomainName;
    row.images[5] = result.hasDomain ? eTermImageFound : eTermImageAction;
    row.texts[6] = lastClass ? result.words.back().standardName : QString();
    row.texts[7] = t.strReference;
    row.texts[8] = t.strDefinition;
    if (result.registered)
        result.status = eTermImageRegistered;
    else if (!allFound)
        result.status = eTermImageWarning;
    else if (!lastClass)
        result.status = eTermImageMissing;
    else if (!result.allStandard)
        result.status = eTermImageWarning;
    else
        result.status = eTermImageAction;
    if (!result.hasDomain)
        result.status = eTermImageWarning;
    row.images[0] = result.status;

    if (allFound && synonym && !compound)
        synonymName = t.listStandardNames.join(QString());
}

namespace {

// A word found in the dictionary as its result; a non-standard word carries the standard word
// it stands for, and relatedIds (when asked for) the ids of every standard word of its name.
TermWordResult FoundWord(IServiceLayer* service, const QString& text, SERVICE_WORD_HANDLE handle,
                         const _stServiceWord& record, QStringList* relatedIds)
{
    TermWordResult w;
    w.word = text;
    w.found = true;
    w.standard = record.nStandard != 0;
    w.classWord = record.nClassWord != 0;
    w.id = record.strTexts[0];
    w.logicalName = record.strTexts[2];
    w.physicalName = record.strTexts[3];
    w.fullName = record.strTexts[4];
    w.standardName = w.logicalName;
    w.standardId = w.id;
    w.standardClassWord = w.classWord;
    w.domainClass = record.strDomainClass;
    if (w.standard)
        return w;
    std::vector<SERVICE_WORD_HANDLE> related;
    service->GetWordRelation(handle, related);
    bool first = true;
    for (SERVICE_WORD_HANDLE h : related) {
        const _stServiceWord* r = service->ServiceWord(h);
        if (!r)
            continue;
        if (first) {
            w.standardName = r->strTexts[2];
            w.standardId = r->strTexts[0];
            w.standardClassWord = r->nClassWord != 0;
            w.domainClass = r->strDomainClass;
            first = false;
        }
        if (relatedIds)
            relatedIds->append(r->strTexts[0]);
    }
    return w;
}

// A split word as its result, found or not.
TermWordResult WordOf(IServiceLayer* service, const QString& text)
{
    SERVICE_WORD_HANDLE handle = -1;
    const _stServiceWord* record = nullptr;
    if (FindFirst(service, text, handle, record))
        return FoundWord(service, text, handle, *record, nullptr);
    TermWordResult w;
    w.word = text;
    return w;
}

} // namespace

void WordMemo::StartName()
{
    if (m_words.size() >= kMaxWords)
        m_words.clear();
}

const TermWordResult& WordMemo::Take(IServiceLayer* service, QStringView text)
{
    const auto it = m_words.find(text);
    if (it != m_words.end())
        return it->second;
    const auto own = [](const QString& t) { return QString(t.constData(), t.size()); };
    const QString word = text.toString();
    TermWordResult w = WordOf(service, word);
    for (QString* t :
         {&w.word, &w.id, &w.logicalName, &w.physicalName, &w.fullName, &w.standardName, &w.standardId, &w.domainClass})
        *t = own(*t);
    return m_words.try_emplace(word, std::move(w)).first->second;
}

bool CTermAnalysis::ResolveWords(IServiceLayer* service, const QStringList& words, const std::vector<int>& kinds,
                                 TermTargetResult& result, QStringList* relations)
{
    bool synonym = false;
    bool compound = false;
    auto addFound = [&](const QString& text, SERVICE_WORD_HANDLE handle, const _stServiceWord& record) {
        QStringList relatedIds;
        result.words.push_back(FoundWord(service, text, handle, record, relations ? &relatedIds : nullptr));
        if (relations)
            relations->append(relatedIds.isEmpty() ? QString() : text + u'=' + relatedIds.join(u','));
    };

    if (words.size() == qsizetype(kinds.size())) {
        if (words.size() == 1 && kinds.front() == eServiceWordCompound) {
            compound = true;
            SERVICE_WORD_HANDLE handle = -1;
            const _stServiceWord* record = nullptr;
            if (FindFirst(service, words.front(), handle, record)) {
                result.registered = true;
                const QString& logical = record->strTexts[2];
                qsizetype cursor = 0;
                for (const QString& part : GlobalFunc::SplitAtAny(record->strTexts[3], kSeparator)) {
                    SERVICE_WORD_HANDLE h = -1;
                    const _stServiceWord* r = nullptr;
                    if (!part.isEmpty() && FindPart(service, part, logical, cursor, h, r))
                        addFound(part, h, *r);
                }
            }
        } else {
            for (const QString& text : words) {
                SERVICE_WORD_HANDLE handle = -1;
                const _stServiceWord* record = nullptr;
                if (FindFirst(service, text, handle, record)) {
                    addFound(text, handle, *record);
                } else {
                    TermWordResult w;
                    w.word = text;
                    result.words.push_back(std::move(w));
                    if (relations)
                        relations->append(QString());
                }
                // Written in other Latin case (id for ID) is the word itself, not a synonym.
                const TermWordResult& w = result.words.back();
                if (w.found && LatinCase::Folded(w.standardName) != LatinCase::Folded(text))
                    synonym = true;
            }
        }
    }

    // The composed names.
    QStringList physical, full;
    bool allFound = compound ? result.registered : !result.words.empty();
    for (const TermWordResult& w : result.words) {
        if (w.found) {
            physical.append(w.physicalName);
            full.append(w.fullName.isEmpty() ? w.physicalName : w.fullName);
        } else {
            allFound = false;
            physical.append(QStringLiteral("(?)"));
            full.append(u'(' + w.word + u')');
        }
    }
    result.allFound = allFound;
    result.allStandard = allFound && std::all_of(result.words.begin(), result.words.end(),
                                                 [](const TermWordResult& w) { return w.standard; });
    result.physicalName = physical.join(kSeparator);
    result.fullName = full.join(kSeparator);
    return synonym;
}

QStringList CTermAnalysis::CandidateKeyDomainNames(const QStringList& words)
{
    QStringList candidates;
    QString key;
    for (auto it = words.crbegin(); it != words.crend(); ++it) {
        key.prepend(*it);
        candidates.append(key);
    }
    return candidates;
}

const CTermAnalysis::AreaDomains* CTermAnalysis::KeyDomains()
{
    if (!m_keyDomainSource)
        return nullptr;
    auto it = m_keyDomains.find(m_areaId);
    if (it == m_keyDomains.end()) {
        AreaDomains area;
        if (!m_keyDomainSource(m_areaId, area))
            return nullptr;
        it = m_keyDomains.emplace(m_areaId, std::move(area)).first;
    }
    return &it->second;
}

void CTermAnalysis::PlaceResult(TermTargetResult&& result)
{
    auto it = m_resultIndex.constFind(result.name);
    if (it != m_resultIndex.cend()) {
        m_results[*it] = std::move(result);
        return;
    }
    m_resultIndex.insert(result.name, m_results.size());
    m_results.push_back(std::move(result));
}

const TermTargetResult* CTermAnalysis::Result(const QString& name) const
{
    auto it = m_resultIndex.constFind(name);
    return it == m_resultIndex.cend() ? nullptr : &m_results[*it];
}

bool CTermAnalysis::MoveTarget(const QString& oldName, const QString& newName)
{
    auto it = m_targets.find(oldName);
    if (it == m_targets.end() || newName.isEmpty())
        return false;
    if (oldName == newName)
        return true;
    TermAnalysisTarget moved = std::move(it->second);
    m_targets.erase(it);
    moved.strName = newName;
    const bool existed = m_targets.count(newName) != 0;
    m_targets[newName] = std::move(moved);

    const qsizetype at = m_order.indexOf(oldName);
    if (existed)
        m_order.removeAt(at);
    else
        m_order[at] = newName;

    auto res = m_resultIndex.constFind(oldName);
    if (res != m_resultIndex.cend()) {
        const size_t index = *res;
        if (m_resultIndex.contains(newName)) {
            m_results.erase(m_results.begin() + std::ptrdiff_t(index));
        } else {
            m_results[index].name = newName;
            m_results[index].row.texts[0] = m_results[index].row.texts[1] = newName;
        }
        ReindexResults();
    }
    return true;
}

void CTermAnalysis::ReindexResults()
{
    m_resultIndex.clear();
    for (size_t i = 0; i < m_results.size(); ++i)
        m_resultIndex.insert(m_results[i].name, i);
}

QString CTermAnalysis::RenameTarget(const QString& oldName, const QString& newName)
{
    QString name = newName;
    CAnalyzeSettings::Instance().NormalizeAttributeName(name);
    if (!MoveTarget(oldName, name))
        return QString();
    AnalyzeSingle(name);
    return name;
}

bool CTermAnalysis::OnTermRegistered(const QString& clicked, const QString& registeredName)
{
    return !RenameTarget(clicked, registeredName).isEmpty();
}

bool CTermAnalysis::ChooseDomain(const QString& name, const QString& domainName, const QString& domainId)
{
    auto it = m_targets.find(name);
    if (it == m_targets.end())
        return false;
    it->second.strDomainName = domainName;
    it->second.strDomainId = domainId;
    it->second.bDomainChosen = true;
    return AnalyzeSingle(name);
}

bool CTermAnalysis::DomainProposal(const QString& name, _stAnalyzeManageDomain& domain) const
{
    const TermTargetResult* r = Result(name);
    const TermAnalysisTarget* t = Target(name);
    if (!r || !t || r->words.empty())
        return false;
    const TermWordResult& last = r->words.back();
    const QString classWord = last.found ? last.standardName : last.word;
    // Filed where the lookup finds it: under the class word's domain class.
    const QString key = last.found ? last.KeyDomainName() : last.word;
    domain = _stAnalyzeManageDomain();
    domain.strKeyDomainName = key;
    domain.strDomainName = CAnalyzeSettings::Instance().BuildDomainName(key, t->strType, t->strLength, t->strScale);
    domain.strDataType = t->strType;
    domain.strLength = t->strLength;
    domain.strScale = t->strScale;
    _stAnalyzeManageWord word;
    word.strWordId = last.found ? last.standardId : QString();
    word.strLogicalName = classWord;
    word.strPhysicalName = last.physicalName;
    word.nClassWord = last.CountsAsClassWord() ? 1 : 0;
    word.nStandard = last.found && (last.standard || last.standardId != last.id) ? 1 : 0;
    domain.vecWords.push_back(word);
    return true;
}

bool CTermAnalysis::TermProposal(const QString& name, _stAnalyzeManageTerm& term) const
{
    const TermTargetResult* r = Result(name);
    const TermAnalysisTarget* t = Target(name);
    if (!r || !t)
        return false;
    term = _stAnalyzeManageTerm();
    term.strLogicalName = t->strName;
    term.strPhysicalName = r->physicalName;
    term.strDomainId = t->strDomainId;
    term.strDescription = t->strDefinition;
    term.listWordIds = t->listWordIds;
    term.listExtra = t->listStandardNames;
    return true;
}

QStringList CTermAnalysis::RelatedAfterWordRegistration(const QString& clicked, const QString& word) const
{
    QStringList names{clicked};
    for (const TermTargetResult& r : m_results)
        if (!word.isEmpty() && r.name.contains(word) && r.name != clicked)
            names.append(r.name);
    return names;
}

QStringList CTermAnalysis::RelatedAfterDomainRegistration(const QString& clicked, const QString& keyDomain,
                                                          const QString& displayType) const
{
    QStringList names{clicked};
    for (const TermTargetResult& r : m_results) {
        const bool ofClass = !r.words.empty() && r.words.back().found && r.words.back().KeyDomainName() == keyDomain;
        if (r.name != clicked && (r.name.endsWith(keyDomain) || ofClass) && r.row.texts[3] == displayType)
            names.append(r.name);
    }
    return names;
}

QStringList CTermAnalysis::RelatedAfterClassWordRegistration(const QString& clicked, const QString& word) const
{
    QStringList names{clicked};
    for (const TermTargetResult& r : m_results) {
        if (r.name == clicked)
            continue;
        for (const AnalysisRow& w : r.wordRows) {
            if (w.texts[1] == word) {
                names.append(r.name);
                break;
            }
        }
    }
    return names;
}

void CTermAnalysis::OnWordRegistered(const QString& clicked, const QString& word)
{
    ReAnalyze(RelatedAfterWordRegistration(clicked, word));
}

void CTermAnalysis::OnDomainRegistered(const QString& clicked, const QString& keyDomain, const QString& displayType)
{
    ReAnalyze(RelatedAfterDomainRegistration(clicked, keyDomain, displayType));
}

void CTermAnalysis::OnClassWordRegistered(const QString& clicked, const QString& word)
{
    ReAnalyze(RelatedAfterClassWordRegistration(clicked, word));
}

TermNameWords::TermNameWords(QString areaId) : m_service(NewServiceLayer())
{
    ConfigureService(m_service.get());
    m_view = AreaViewOf(*m_service, areaId);
}

TermNameWords::~TermNameWords() = default;

void TermNameWords::Analyse(const QString& name, TermTargetResult& result) const
{
    result = TermTargetResult();
    result.name = name;
    if (!m_view)
        return;
    QStringList words;
    std::vector<int> kinds;
    m_view->SplitText(name, QString(), words, kinds);
    CTermAnalysis::ResolveWords(m_view.get(), words, kinds, result, nullptr);
}

bool TermNameWords::Words(const QString& name, WordMemo& memo, std::vector<const TermWordResult*>& words,
                          TermTargetResult& compound) const
{
    words.clear();
    if (!m_view)
        return false;
    thread_local IServiceLayer::WordViews views; // its room kept from name to name
    QString whole;
    if (m_view->SplitViews(name, views, whole)) {
        memo.StartName();
        for (const auto& [text, kind] : views)
            words.push_back(&memo.Take(m_view.get(), text));
        return false;
    }
    QStringList texts;
    std::vector<int> kinds;
    if (whole.isEmpty()) {
        m_view->SplitText(name, QString(), texts, kinds);
    } else {
        texts = {whole};
        kinds = {eServiceWordCompound};
    }
    if (texts.size() == 1 && kinds.size() == 1 && kinds.front() == eServiceWordCompound) {
        compound = TermTargetResult();
        compound.name = name;
        CTermAnalysis::ResolveWords(m_view.get(), texts, kinds, compound, nullptr);
        for (const TermWordResult& w : compound.words)
            words.push_back(&w);
        return compound.registered;
    }
    if (texts.size() != qsizetype(kinds.size()))
        return false;
    memo.StartName();
    for (const QString& text : texts)
        words.push_back(&memo.Take(m_view.get(), text));
    return false;
}

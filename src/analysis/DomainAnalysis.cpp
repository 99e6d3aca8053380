#include "analysis/DomainAnalysis.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/DataType.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>

QString MakeAttributeKey(const QString& name, const QString& type, const QString& length, const QString& scale)
{
    return MakeCompositeKey({name, type, length, scale});
}

void DomainAnalysisTarget::MergeFrom(const DomainAnalysisTarget& other)
{
    refCount += other.refCount;
    if (!other.column.isEmpty())
        column = other.column;
    if (!other.reference.isEmpty())
        reference = other.reference;
    for (const QString& source : other.sources) {
        if (!sources.contains(source))
            sources.append(source);
    }
    for (const auto& [text, count] : other.mapColumns)
        mapColumns[text] += count;
    for (const auto& [text, count] : other.mapReferences)
        mapReferences[text] += count;
}

DomainAnalysis::DomainAnalysis(const CAnalyzeSettings* settings)
    : m_settings(settings ? settings : &CAnalyzeSettings::Instance()), m_splitter(m_settings)
{
}

QStringList DomainAnalysis::ResultColumns()
{
    return AnalysisTexts::kDomainColumns;
}

void DomainAnalysis::SetSheet(QVector<QStringList> rows)
{
    m_sheet = std::move(rows);
    m_roles.Reset();
    m_mode = ModeSource;
}

DomainAnalysisTarget& DomainAnalysis::AddSourceRow(const QString& name, const QString& typeCell, const QString* length,
                                                   const QString* scale, const QString* column,
                                                   const QString* reference)
{
    QString attribute = name;
    m_settings->NormalizeAttributeName(attribute);
    QString type, parsedLength, parsedScale;
    ParseDataType(typeCell, type, parsedLength, parsedScale);
    if (length)
        parsedLength = *length;
    if (scale)
        parsedScale = *scale;
    const QString key = MakeAttributeKey(attribute, type, parsedLength, parsedScale);
    DomainAnalysisTarget& target = m_inputs[key];
    target.key = key;
    ++target.refCount;
    target.attribute = attribute;
    target.type = type;
    target.length = parsedLength;
    target.scale = parsedScale;
    if (!name.isEmpty() && !target.sources.contains(name))
        target.sources.append(name);
    if (column) {
        target.column = *column;
        if (!column->isEmpty())
            ++target.mapColumns[*column];
    }
    if (reference) {
        target.reference = *reference;
        if (!reference->isEmpty())
            ++target.mapReferences[*reference];
    }
    return target;
}

DomainAnalysis::RunResult DomainAnalysis::BuildTargets()
{
    if (m_roles.Column(RoleAttribute) < 0 || m_roles.Column(RoleType) < 0)
        return {false, AnalysisTexts::kMissingRequired, false};
    m_inputs.clear();
    const auto optionalCell = [&](int row, int role, QString& text) -> const QString* {
        if (m_roles.Column(role) < 0)
            return nullptr;
        text = SheetCell(m_sheet, row, m_roles.Column(role));
        return &text;
    };
    for (int row = m_excludeFirstRow ? 1 : 0; row < m_sheet.size(); ++row) {
        const QString name = SheetCell(m_sheet, row, m_roles.Column(RoleAttribute));
        if (name.trimmed().isEmpty())
            continue;
        QString length, scale, column, reference;
        AddSourceRow(name, SheetCell(m_sheet, row, m_roles.Column(RoleType)), optionalCell(row, RoleLength, length),
                     optionalCell(row, RoleScale, scale), optionalCell(row, RoleColumn, column),
                     optionalCell(row, RoleReference, reference));
    }
    return {};
}

DomainAnalysis::RunResult DomainAnalysis::Run()
{
    if (m_mode == ModeSource) {
        RunResult built = BuildTargets();
        if (!built.ok)
            return built;
    }
    return Analyze();
}

DomainAnalysis::DomainResult DomainAnalysis::MakeResult(DomainAnalysisTarget& target,
                                                        const WordSplitter::DomainSplit& split)
{
    DomainResult result;
    result.key = target.key;
    result.words = split.words;
    result.keyDomain = split.keyDomain;
    result.logicalType = m_settings->ConvertToLogicalDataType(target.type);
    target.keyDomain = result.keyDomain;
    target.logicalType = result.logicalType;
    result.domainKey = MakeCompositeKey({result.keyDomain, result.logicalType, target.length, target.scale});

    const auto keyDomain = m_settings->m_mapDomains.find(result.keyDomain);
    if (keyDomain == m_settings->m_mapDomains.end()) {
        result.status = 0;
        return result;
    }
    result.status = 1;
    // Exact text comparison: "100 " is not 100.
    for (const auto& [name, domain] : keyDomain->second) {
        if (domain.strDataType == result.logicalType && domain.strLength == target.length &&
            domain.strScale == target.scale) {
            result.domainName = name;
            result.status = 2;
            break;
        }
    }
    return result;
}

DomainAnalysis::RunResult DomainAnalysis::Analyze()
{
    RunResult outcome;
    CQrProgressWnd::Show(int(m_inputs.size()), AnalysisTexts::kProgressTitle, AnalysisTexts::kProgressAnalyzeDomain);
    m_results.clear();
    m_results.reserve(size_t(m_inputs.size()));
    for (const qsizetype position : m_inputs.order(m_settings->analyze_sort_result != 0)) {
        if (CQrProgressWnd::IsCanceling()) {
            outcome.cancelled = true;
            break;
        }
        DomainAnalysisTarget& target = m_inputs.at(position);
        const WordSplitter::DomainSplit split = m_splitter.SplitDomain(target.attribute);
        if (!split.removed)
            m_results.push_back(MakeResult(target, split));
        CQrProgressWnd::StepIt();
    }
    ReindexResults();
    Recount();
    m_mode = ModeResult;
    ApplyVisibility(false);
    CQrProgressWnd::Hide();
    return outcome;
}

void DomainAnalysis::ReindexResults()
{
    m_resultIndex.clear();
    m_resultIndex.reserve(qsizetype(m_results.size()));
    for (size_t i = 0; i < m_results.size(); ++i)
        m_resultIndex.insert(m_results[i].key, qsizetype(i));
}

void DomainAnalysis::Recount()
{
    m_analyzed = int(m_results.size());
    m_found = 0;
    m_missingCounts.clear();
    m_missingTargets.clear();
    m_keyDomainCounts.clear();
    for (const DomainResult& result : m_results) {
        ++m_keyDomainCounts[result.keyDomain];
        if (result.status == 2) {
            ++m_found;
            continue;
        }
        ++m_missingCounts[result.domainKey];
        if (const DomainAnalysisTarget* target = m_inputs.find(result.key))
            m_missingTargets[result.domainKey].push_back(*target);
    }
}

const DomainAnalysis::DomainResult* DomainAnalysis::ResultOf(const QString& key) const
{
    const auto it = m_resultIndex.constFind(key);
    return it == m_resultIndex.cend() ? nullptr : &m_results[size_t(*it)];
}

QStringList DomainAnalysis::FilterEntries() const
{
    std::vector<std::pair<QString, int>> entries;
    for (const auto& [keyDomain, count] : m_keyDomainCounts) {
        if (count > 1)
            entries.emplace_back(keyDomain, count);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList names;
    for (const auto& entry : entries)
        names.append(entry.first);
    return names;
}

QString DomainAnalysis::TargetListCaption() const
{
    return CQrStringUtil::Format(AnalysisTexts::kTargetListCount, {m_found, int(m_inputs.size())});
}

std::vector<AnalysisRow> DomainAnalysis::Rows() const
{
    std::vector<AnalysisRow> rows;
    rows.reserve(m_results.size() * 3);
    for (size_t index = 0; index < m_results.size(); ++index) {
        const DomainResult& result = m_results[index];
        const DomainAnalysisTarget* target = m_inputs.find(result.key);
        if (!target)
            continue;

        AnalysisRow attribute;
        attribute.level = 1;
        attribute.texts = {target->attribute, target->attribute, target->column,   target->type,
                           target->length,    target->scale,     target->reference};
        attribute.images = {result.status};
        attribute.background = AnalysisColors::kTargetRow;
        attribute.nameBackground = AnalysisColors::kTargetRow;
        attribute.nameEditable = true;
        attribute.nameBold = true;
        attribute.hidden = result.hidden;
        attribute.target = int(index);
        rows.push_back(std::move(attribute));

        AnalysisRow words;
        words.level = 2;
        words.texts = {
            result.words.join(QLatin1Char('_')), QString(), QString(), QString(), QString(), QString(), QString()};
        words.background = AnalysisColors::kTargetRow;
        words.nameBackground = AnalysisColors::kTargetRow;
        words.mergeFirst = 2;
        words.mergeLast = 6;
        words.hidden = result.hidden;
        words.target = int(index);
        rows.push_back(std::move(words));

        AnalysisRow domain;
        domain.level = 3;
        domain.texts = {result.keyDomain, QString(), result.domainName, QString(), QString(), QString(), QString()};
        domain.images = {result.status, -1, result.status == 2 ? 2 : -1};
        domain.background = AnalysisColors::kWhite;
        domain.nameBackground = AnalysisColors::kWhite;
        domain.mergeFirst = 2;
        domain.mergeLast = 6;
        domain.hidden = result.hidden;
        domain.target = int(index);
        rows.push_back(std::move(domain));
    }
    return rows;
}

bool DomainAnalysis::IsHidden(const DomainResult& result) const
{
    if (m_excludeAnalyzed && result.status == 2)
        return true;
    if (m_filter.isEmpty())
        return false;
    const DomainAnalysisTarget* target = m_inputs.find(result.key);
    return !target || !target->attribute.endsWith(m_filter);
}

void DomainAnalysis::ApplyVisibility(bool withProgress)
{
    if (withProgress)
        CQrProgressWnd::Show(int(m_results.size()), AnalysisTexts::kProgressTitle, AnalysisTexts::kProgressFilterDomain,
                             nullptr, false);
    for (DomainResult& result : m_results) {
        result.hidden = IsHidden(result);
        if (withProgress)
            CQrProgressWnd::StepIt();
    }
    if (withProgress)
        CQrProgressWnd::Hide();
}

void DomainAnalysis::SetExcludeAnalyzed(bool exclude)
{
    m_excludeAnalyzed = exclude;
    ApplyVisibility(true);
}

void DomainAnalysis::SetFilterText(const QString& text)
{
    m_filter = text;
    ApplyVisibility(true);
}

DomainAnalysis::RenameResult DomainAnalysis::RenameTarget(const QString& key, const QString& newName)
{
    RenameResult outcome;
    outcome.key = key;
    DomainAnalysisTarget* target = m_inputs.find(key);
    if (!target)
        return outcome;
    QString name = newName;
    m_settings->NormalizeAttributeName(name);
    if (newName.trimmed().isEmpty() || name.isEmpty()) {
        outcome.name = target->attribute;
        return outcome;
    }
    outcome.name = name;
    const QString newKey = MakeAttributeKey(name, target->type, target->length, target->scale);
    if (newKey == key)
        return outcome;
    outcome.changed = true;
    outcome.key = newKey;

    const qsizetype oldResult = m_resultIndex.value(key, -1);
    if (DomainAnalysisTarget* existing = m_inputs.find(newKey)) {
        existing->MergeFrom(*target);
        m_inputs.remove(key);
        outcome.merged = true;
    } else {
        m_inputs.rename(key, newKey);
        DomainAnalysisTarget* moved = m_inputs.find(newKey);
        moved->key = newKey;
        moved->attribute = name;
    }

    const qsizetype existingResult = m_resultIndex.value(newKey, -1);
    if (oldResult >= 0) {
        DomainAnalysisTarget& renamed = *m_inputs.find(newKey);
        const WordSplitter::DomainSplit split = m_splitter.SplitDomain(renamed.attribute);
        if (existingResult >= 0 || split.removed)
            m_results.erase(m_results.begin() + oldResult);
        else
            m_results[size_t(oldResult)] = MakeResult(renamed, split);
        ReindexResults();
    }
    Recount();
    ApplyVisibility(false);
    return outcome;
}

QString DomainAnalysis::DomainKeyOf(const QString& key) const
{
    const DomainResult* result = ResultOf(key);
    return result ? result->domainKey : QString();
}

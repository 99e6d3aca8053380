#include "reports/DomainReport.h"

#include "analysis/DataType.h"
#include "components/QrDatatype.h"
#include "reports/ReportTexts.h"
#include "reports/WordReport.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>

DomainReportInput DomainReportInput::FromAnalysis(const DomainAnalysis& analysis)
{
    DomainReportInput input;
    input.analyzedCount = analysis.AnalyzedCount();
    input.foundCount = analysis.FoundCount();
    input.missing = analysis.MissingDomainCounts();
    input.targets = analysis.MissingDomainTargets();
    return input;
}

DomainReportInput DomainReportInput::ForTarget(const DomainAnalysis& analysis, const QString& attributeKey)
{
    DomainReportInput input;
    input.analyzedCount = analysis.AnalyzedCount();
    input.foundCount = analysis.FoundCount();
    const QString domainKey = analysis.DomainKeyOf(attributeKey);
    if (domainKey.isEmpty())
        return input;
    input.missing[domainKey] = 1;
    const auto it = analysis.MissingDomainTargets().find(domainKey);
    if (it != analysis.MissingDomainTargets().end())
        input.targets[domainKey] = it->second;
    else if (const DomainAnalysisTarget* target = analysis.Inputs().find(attributeKey))
        input.targets[domainKey] = {*target};
    return input;
}

CDomainReport::CDomainReport(DomainReportInput input, const CAnalyzeSettings& settings)
    : m_input(std::move(input)), m_settings(settings)
{
    for (const auto& [key, count] : m_input.missing) {
        Row row;
        row.domainKey = key;
        row.count = count;
        const QStringList parts = key.split(QLatin1Char('+'));
        if (parts.size() == 4) {
            row.keyDomain = parts[0];
            row.type = parts[1];
            row.length = parts[2];
            row.scale = parts[3];
        }
        m_rows.push_back(std::move(row));
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) { return a.count > b.count; });
}

QStringList CDomainReport::RowTexts(int row) const
{
    const Row& r = m_rows[size_t(row)];
    return {r.keyDomain,     r.keyDomain.isEmpty() && r.type.isEmpty() ? QString() : QString::number(r.count),
            r.keyDomainName, r.domainName,
            r.type,          r.length,
            r.scale,         QString()};
}

QStringList CDomainReport::TypeChoices()
{
    std::vector<tagLogicalDatatype> types;
    QrDatatype::GetLogicalDatatypes(types);
    QStringList names;
    for (const tagLogicalDatatype& type : types)
        names.append(type.name);
    return names;
}

bool CDomainReport::Propose(Row& row)
{
    if (row.keyDomainName.isEmpty() || row.type.isEmpty() || !m_settings.IsKnownDataType(row.type))
        return false;
    row.domainName = m_settings.BuildDomainName(row.keyDomainName, row.type, row.length, row.scale);
    row.proposed = true;
    return true;
}

bool CDomainReport::SetCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    Row& r = m_rows[size_t(row)];
    switch (column) {
    case ColKeyDomainName:
        r.keyDomainName = text;
        break;
    case ColDomainName:
        r.domainName = text;
        r.proposed = false;
        return false;
    case ColType:
        r.type = text;
        break;
    case ColLength:
        r.length = text;
        break;
    case ColScale:
        r.scale = text;
        break;
    default:
        return false;
    }
    return Propose(r);
}

QString CDomainReport::DomainKeyOf(const Row& row) const
{
    return MakeCompositeKey({row.keyDomain, row.type, row.length, row.scale});
}

std::vector<QStringList> CDomainReport::Details(int row) const
{
    std::vector<QStringList> details;
    if (row < 0 || row >= int(m_rows.size()))
        return details;
    const auto it = m_input.targets.find(DomainKeyOf(m_rows[size_t(row)]));
    if (it == m_input.targets.end())
        return details;
    for (const DomainAnalysisTarget& target : it->second)
        details.push_back({target.attribute, QString::number(target.refCount),
                           GlobalFunc::GetListDatas(target.mapColumns),
                           GlobalFunc::BuildDataType(target.type, target.length, target.scale),
                           GlobalFunc::GetListDatas(target.mapReferences)});
    return details;
}

void CDomainReport::Exclude(const std::vector<int>& rows, CAnalyzeSettings& settings)
{
    for (int row : rows) {
        if (row < 0 || row >= int(m_rows.size()))
            continue;
        Row& r = m_rows[size_t(row)];
        settings.AddExceptDomain(r.keyDomain);
        r.excluded = true;
        r.keyDomainName.clear();
        r.domainName.clear();
        r.type.clear();
        r.length.clear();
        r.scale.clear();
        r.proposed = false;
    }
}

int CDomainReport::Store(CAnalyzeSettings& settings, bool* saved) const
{
    int stored = 0;
    for (const Row& r : m_rows) {
        if (r.excluded || r.keyDomainName.isEmpty() || r.domainName.isEmpty() || r.type.isEmpty() ||
            !settings.IsKnownDataType(r.type))
            continue;
        _stAnalyzeManageDomain domain;
        domain.strKeyDomainName = r.keyDomainName;
        domain.strDomainName = r.domainName;
        domain.strDataType = r.type;
        domain.strLength = r.length;
        domain.strScale = r.scale;
        settings.AddDomain(r.keyDomainName, r.domainName, domain);
        ++stored;
    }
    const bool ok = settings.Save();
    if (saved)
        *saved = ok;
    return stored;
}

QStringList CDomainReport::SkippedRows(const CAnalyzeSettings& settings, int* untouched) const
{
    QStringList lines;
    int empty = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (r.excluded)
            continue;
        if (r.keyDomainName.isEmpty() && r.domainName.isEmpty()) {
            ++empty;
            continue;
        }
        QStringList reasons;
        const QStringList& headers = ReportTexts::kDomainColumns;
        if (r.keyDomainName.isEmpty())
            reasons << ReportTexts::kReasonEmpty.arg(headers.value(ColKeyDomainName));
        if (r.domainName.isEmpty())
            reasons << ReportTexts::kReasonEmpty.arg(headers.value(ColDomainName));
        if (r.type.isEmpty())
            reasons << ReportTexts::kReasonEmpty.arg(headers.value(ColType));
        else if (!settings.IsKnownDataType(r.type))
            reasons << ReportTexts::kReasonUnknownType.arg(r.type);
        if (!reasons.isEmpty())
            lines << ReportTexts::kSkippedRow.arg(int(i) + 1).arg(r.keyDomain, reasons.join(QStringLiteral(", ")));
    }
    if (untouched)
        *untouched = empty;
    return lines;
}

QString CDomainReport::ProposalProblem(int row) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    const Row& r = m_rows[size_t(row)];
    const QStringList& headers = ReportTexts::kDomainColumns;
    if (r.keyDomainName.isEmpty())
        return ReportTexts::kReasonEmpty.arg(headers.value(ColKeyDomainName));
    if (r.type.isEmpty())
        return ReportTexts::kReasonEmpty.arg(headers.value(ColType));
    if (!m_settings.IsKnownDataType(r.type))
        return ReportTexts::kReasonUnknownType.arg(r.type);
    return {};
}

std::vector<QStringList> CDomainReport::ExportRows() const
{
    std::vector<QStringList> rows{ReportTexts::kDomainExportHeader};
    for (const Row& r : m_rows) {
        const auto it = m_input.targets.find(r.domainKey);
        if (it == m_input.targets.end())
            continue;
        for (const DomainAnalysisTarget& target : it->second)
            rows.push_back({r.keyDomain, target.attribute, QString::number(target.refCount),
                            GlobalFunc::GetListDatas(target.mapColumns),
                            GlobalFunc::BuildDataType(target.type, target.length, target.scale),
                            GlobalFunc::GetListDatas(target.mapReferences)});
    }
    return rows;
}

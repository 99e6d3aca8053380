#include "reports/WordReport.h"

#include "analysis/WordAnalysis.h"
#include "components/QrStringUtil.h"
#include "reports/ReportTexts.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>

namespace GlobalFunc {
namespace {
template <class Counts> QString ListDatas(const Counts& entries)
{
    QString text;
    for (const auto& [entry, count] : entries) {
        text += entry;
        if (count > 1)
            text += QStringLiteral(" (%1)").arg(count);
        text += QStringLiteral(", ");
    }
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u',' || text[end - 1] == u' '))
        --end;
    text.truncate(end);
    return text;
}
} // namespace

QString GetListDatas(const std::map<QString, int>& entries)
{
    return ListDatas(entries);
}

QString GetListDatas(const TextCounts& entries)
{
    return ListDatas(entries);
}
} // namespace GlobalFunc

namespace {
// normalised name -> name as read -> rows
using SourceRows = std::map<QString, std::map<QString, int>>;

// One pass over the sheet the analysis read: how many rows gave each source name.
SourceRows CountSourceRows(const WordAnalysis& analysis)
{
    SourceRows rows;
    const int column = analysis.Designations().Column(WordAnalysis::RoleName);
    const QVector<QStringList>& sheet = analysis.Sheet();
    if (column < 0)
        return rows;
    for (int row = analysis.ExcludeFirstRow() ? 1 : 0; row < sheet.size(); ++row) {
        const QString name = SheetCell(sheet, row, column);
        if (name.trimmed().isEmpty())
            continue;
        QString key = name;
        analysis.Settings().NormalizeAttributeName(key);
        ++rows[key][name];
    }
    return rows;
}

WordReportTarget TargetOf(const WordAnalysis& analysis, const QString& key, const SourceRows& sourceRows)
{
    WordReportTarget target;
    target.name = key;
    if (const WordAnalysisInput* input = analysis.Inputs().find(key)) {
        target.count = input->refCount;
        target.sources = input->sources;
        target.references = input->mapReferences.ToMap();
        target.definitions = input->mapDescriptions.ToMap();
        // Only a sheet that still adds up to the entry's rows counts (a document has none).
        if (const auto it = sourceRows.find(key); it != sourceRows.end()) {
            int total = 0;
            for (const auto& [name, count] : it->second)
                total += count;
            if (total == input->refCount)
                target.sourceRows = it->second;
        }
    }
    return target;
}

std::map<QString, int> Listed(const QStringList& texts)
{
    std::map<QString, int> map;
    for (const QString& text : texts)
        if (!text.isEmpty())
            ++map[text];
    return map;
}

// The separator characters of the settings split a compound name into its words.
QStringList SplitAtSeparators(const QString& text, const QString& separators)
{
    QStringList parts;
    QString part;
    for (const QChar c : text) {
        if (separators.contains(c)) {
            parts.append(part);
            part.clear();
        } else {
            part.append(c);
        }
    }
    parts.append(part);
    return parts;
}
} // namespace

WordReportInput WordReportInput::FromAnalysis(const WordAnalysis& analysis)
{
    WordReportInput input;
    input.mode = analysis.GetKind() == WordAnalysis::Kind::Logical ? 0 : 1;
    input.analyzedCount = analysis.WordCount();
    input.foundCount = analysis.AnalyzedWordCount();
    const SourceRows sourceRows = CountSourceRows(analysis);
    for (const auto& [word, missing] : analysis.UnanalyzedWords()) {
        input.missing[word] = missing.count;
        std::vector<WordReportTarget>& targets = input.targets[word];
        for (const QString& key : missing.targets)
            targets.push_back(TargetOf(analysis, key, sourceRows));
    }
    return input;
}

WordReportInput WordReportInput::ForTarget(WordAnalysis& analysis, const QString& key)
{
    WordReportInput input;
    input.mode = analysis.GetKind() == WordAnalysis::Kind::Logical ? 0 : 1;
    input.analyzedCount = analysis.WordCount();
    input.foundCount = analysis.AnalyzedWordCount();
    const SourceRows sourceRows = CountSourceRows(analysis);
    for (const QString& word : analysis.UnanalyzedWordsOf(key)) {
        input.missing[word] = 1;
        input.targets[word].push_back(TargetOf(analysis, key, sourceRows));
    }
    return input;
}

CWordReport::CWordReport(WordReportInput input) : m_input(std::move(input))
{
    for (const auto& [word, count] : m_input.missing) {
        Row row;
        row.word = word;
        row.count = count;
        (m_input.mode == 0 ? row.logical : row.physical) = word;
        m_rows.push_back(std::move(row));
    }
    // Highest count first; equal counts keep the word order so the list is stable.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) { return a.count > b.count; });
}

QStringList CWordReport::RowTexts(int row) const
{
    const Row& r = m_rows[size_t(row)];
    return {r.word, QString::number(r.count), r.physical, r.logical, r.fullName, r.definition};
}

bool CWordReport::SetName(int row, int column, const QString& text)
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    Row& r = m_rows[size_t(row)];
    switch (column) {
    case ColPhysical:
        r.physical = text;
        break;
    case ColLogical:
        r.logical = text;
        break;
    case ColFullName:
        r.fullName = text;
        return false;
    case ColDefinition:
        r.definition = text;
        return false;
    default:
        return false;
    }
    return column == (m_input.mode == 0 ? ColLogical : ColPhysical);
}

std::vector<std::pair<QString, QString>> CWordReport::WordChanges() const
{
    std::vector<std::pair<QString, QString>> changes;
    for (const Row& r : m_rows) {
        const QString& own = m_input.mode == 0 ? r.logical : r.physical;
        if (!r.excluded && !own.isEmpty() && own != r.word)
            changes.emplace_back(r.word, own);
    }
    return changes;
}

std::vector<QStringList> CWordReport::Details(int row) const
{
    std::vector<QStringList> details;
    if (row < 0 || row >= int(m_rows.size()))
        return details;
    const auto it = m_input.targets.find(m_rows[size_t(row)].word);
    if (it == m_input.targets.end())
        return details;
    for (const WordReportTarget& target : it->second) {
        // The names as read, each with its row count, rather than the target's name again.
        const std::map<QString, int> sources = target.sourceRows.empty() ? Listed(target.sources) : target.sourceRows;
        details.push_back({target.name, QString::number(target.count), GlobalFunc::GetListDatas(sources),
                           GlobalFunc::GetListDatas(Listed(target.sources)),
                           GlobalFunc::GetListDatas(target.references), GlobalFunc::GetListDatas(target.definitions)});
    }
    return details;
}

void CWordReport::Exclude(const std::vector<int>& rows, CAnalyzeSettings& settings)
{
    for (int row : rows) {
        if (row < 0 || row >= int(m_rows.size()))
            continue;
        Row& r = m_rows[size_t(row)];
        settings.AddExceptWord(r.word);
        r.excluded = true;
        r.physical.clear();
        r.logical.clear();
        r.fullName.clear();
        r.definition.clear();
    }
}

int CWordReport::Store(CAnalyzeSettings& settings, bool* saved) const
{
    int stored = 0;
    for (const Row& r : m_rows) {
        if (r.excluded || r.physical.trimmed().isEmpty() || r.logical.trimmed().isEmpty())
            continue;
        const bool compound =
            std::any_of(r.physical.begin(), r.physical.end(), [&](QChar c) { return settings.seperator.contains(c); });
        if (!compound) {
            _stAnalyzeManageWord word;
            word.strPhyFullName = r.fullName;
            word.strDescription = r.definition;
            settings.AddWord(r.physical, r.logical, word);
            ++stored;
            continue;
        }
        const QStringList physical = SplitAtSeparators(r.physical, settings.seperator);
        const QStringList logical = SplitAtSeparators(r.logical, settings.seperator);
        // Parts that do not pair up cannot be told apart: store nothing for the row.
        if (physical.size() != logical.size())
            continue;
        for (qsizetype i = 0; i < physical.size(); ++i) {
            if (physical[i].isEmpty() || logical[i].isEmpty())
                continue;
            // A part the dictionary knows keeps its full name and definition.
            _stAnalyzeManageWord part;
            settings.GetWord(physical[i], logical[i], part);
            settings.AddWord(physical[i], logical[i], part);
            ++stored;
        }
    }
    const bool ok = settings.Save();
    if (saved)
        *saved = ok;
    return stored;
}

QStringList CWordReport::SkippedRows(const CAnalyzeSettings& settings, int* untouched) const
{
    QStringList lines;
    int empty = 0;
    const QStringList& headers = ReportTexts::kWordColumns;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (r.excluded)
            continue;
        const bool noPhysical = r.physical.trimmed().isEmpty();
        const bool noLogical = r.logical.trimmed().isEmpty();
        // the name the report filled in stands alone until the user adds the other
        const QString& prefilled = m_input.mode == 0 ? r.logical : r.physical;
        if ((noPhysical && noLogical) || ((noPhysical || noLogical) && prefilled == r.word)) {
            ++empty;
            continue;
        }
        QString reason;
        if (noPhysical || noLogical) {
            reason = ReportTexts::kReasonEmpty.arg(headers.value(noPhysical ? ColPhysical : ColLogical));
        } else if (std::any_of(r.physical.begin(), r.physical.end(),
                               [&](QChar c) { return settings.seperator.contains(c); }) &&
                   SplitAtSeparators(r.physical, settings.seperator).size() !=
                       SplitAtSeparators(r.logical, settings.seperator).size()) {
            reason = ReportTexts::kReasonPartCount;
        }
        if (!reason.isEmpty())
            lines << ReportTexts::kSkippedRow.arg(int(i) + 1).arg(r.word, reason);
    }
    if (untouched)
        *untouched = empty;
    return lines;
}

std::vector<QStringList> CWordReport::ExportRows() const
{
    std::vector<QStringList> rows{ReportTexts::kWordExportHeader};
    for (const Row& r : m_rows) {
        const auto it = m_input.targets.find(r.word);
        if (it == m_input.targets.end())
            continue;
        for (const WordReportTarget& target : it->second)
            rows.push_back({r.word, target.name, QString::number(target.count),
                            GlobalFunc::GetListDatas(target.references), GlobalFunc::GetListDatas(target.definitions)});
    }
    return rows;
}

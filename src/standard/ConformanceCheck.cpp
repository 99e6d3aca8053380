#include "standard/ConformanceCheck.h"

#include "analysis/DataType.h"
#include "analysis/TermAnalysis.h"
#include "components/ExcelWriteHelper.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "repository/SqlBaseGate.h"
#include "standard/StandardTexts.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace {

using namespace StandardTexts;

// Lengths compare as numbers ("10" = "010"); an empty one is 0.
bool SameNumber(const QString& a, const QString& b)
{
    return a.trimmed().toLongLong() == b.trimmed().toLongLong();
}

// Digits of every value an integer type holds; 0 for another type.
int IntegerDigits(const QString& logicalType)
{
    if (logicalType.compare(QLatin1String("SMALLINT"), Qt::CaseInsensitive) == 0)
        return 4;
    if (logicalType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
        return 9;
    if (logicalType.compare(QLatin1String("BIGINT"), Qt::CaseInsensitive) == 0)
        return 18;
    return 0;
}

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

double ConformanceReport::Rate() const
{
    if (columns <= 0)
        return 0.0;
    return std::round(1000.0 * conforming / columns) / 10.0;
}

namespace Conformance {

bool ReadAreaFacts(CSqlBaseGate& gate, ISqlExecutor& database, const QString& areaId, ConformanceAreaFacts& facts,
                   QString& error)
{
    facts = ConformanceAreaFacts();
    const SqlOutcome words =
        database.Execute(RepositorySql::Standard::SelectNonStandardWords, {SqlParam::Text(areaId)});
    if (!words.ok) {
        error = QStringLiteral("분류체계 %1의 비표준 단어를 읽을 수 없습니다: %2").arg(areaId, words.error);
        return false;
    }
    for (size_t i = 0; i < words.rows.size(); ++i)
        if (words.rows.Value(i, QStringLiteral("DIC_DESC")).startsWith(kForbiddenPrefix))
            facts.forbiddenWordIds.insert(words.rows.Value(i, QStringLiteral("DIC_ID")));
    std::vector<_stAnalyzeManageDomain> domains;
    if (!gate.SelectStandardDomains(areaId, domains)) {
        error = QStringLiteral("분류체계 %1의 도메인을 읽을 수 없습니다").arg(areaId);
        return false;
    }
    for (const _stAnalyzeManageDomain& d : domains) {
        facts.domains[d.strDomainId] = {d.strDomainId, d.strKeyDomainName, d.strDomainName,
                                        d.strDataType, d.strLength,        d.strScale};
        facts.domainIds[d.strKeyDomainName].push_back(d.strDomainId);
    }
    const SqlOutcome terms = database.Execute(RepositorySql::Standard::SelectTerms, {SqlParam::Text(areaId)});
    if (!terms.ok) {
        error = QStringLiteral("분류체계 %1의 용어를 읽을 수 없습니다: %2").arg(areaId, terms.error);
        return false;
    }
    // A term synonym's row names its term in its description (the standard import writes it).
    const QString synonymHead = kTermSynonymDescription.section(QStringLiteral("%1"), 0, 0);
    for (size_t i = 0; i < terms.rows.size(); ++i) {
        const QString name = terms.rows.Value(i, QStringLiteral("DIC_LOG_NM"));
        if (terms.rows.Value(i, QStringLiteral("STANDARD_YN")).trimmed() == QLatin1String("Y")) {
            facts.terms[name] = {terms.rows.Value(i, QStringLiteral("DIC_PHY_NM")),
                                 terms.rows.Value(i, QStringLiteral("DOM_ID"))};
            continue;
        }
        const QString description = terms.rows.Value(i, QStringLiteral("DIC_DESC"));
        if (description.startsWith(synonymHead) && description.endsWith(u')')) {
            QString key = name;
            key.remove(u' ').remove(u'_');
            facts.termSynonyms[key] = description.mid(synonymHead.size()).chopped(1);
        }
    }
    for (const auto& [name, term] : facts.terms)
        facts.termSynonyms.erase(QString(name).remove(u' ').remove(u'_'));
    return true;
}

// A date with its time, whatever the DBMS calls it: PostgreSQL's timestamptz and "timestamp with
// time zone" hold an instant as DATETIME does, and fractional seconds are no other kind.
static bool IsDateTime(const QString& logicalType)
{
    const QString type = logicalType.trimmed().toUpper();
    return type == QLatin1String("DATETIME") || type == QLatin1String("DATETIME2") ||
           type == QLatin1String("SMALLDATETIME") || type == QLatin1String("DATETIMEOFFSET") ||
           type.startsWith(QLatin1String("TIMESTAMP"));
}

bool TypeFits(const ConformanceAreaFacts::Domain& domain, const QString& logicalType, const QString& length,
              const QString& scale)
{
    const bool numericDomain = domain.type.compare(QLatin1String("NUMERIC"), Qt::CaseInsensitive) == 0;
    if (const int digits = IntegerDigits(logicalType); digits > 0 && numericDomain)
        return SameNumber(domain.scale, QString()) && domain.length.trimmed().toLongLong() > 0 &&
               domain.length.trimmed().toLongLong() <= digits;
    if (domain.type.compare(QLatin1String("DATETIME"), Qt::CaseInsensitive) == 0 &&
        SameNumber(domain.length, QString()) && IsDateTime(logicalType))
        return true;
    return domain.type.compare(logicalType, Qt::CaseInsensitive) == 0 && SameNumber(domain.length, length) &&
           SameNumber(domain.scale, scale);
}

QString FindingKey(int kind)
{
    static const char* const keys[eFindingCount] = {"unknown_word",   "non_standard_word", "forbidden_word",
                                                    "not_class_word", "no_domain",         "type_mismatch",
                                                    "physical_name",  "non_standard_term", "no_logical_name"};
    return kind >= 0 && kind < eFindingCount ? QString::fromLatin1(keys[kind]) : QString();
}

QJsonObject ToJson(const ConformanceReport& report)
{
    QJsonArray findings;
    for (int k = 0; k < eFindingCount; ++k) {
        QJsonArray entries;
        ForEachEntry(report, k, [&entries](const ConformanceEntry& e) {
            entries.append(QJsonObject{{QStringLiteral("table"), e.table},
                                       {QStringLiteral("column"), e.column},
                                       {QStringLiteral("attribute"), e.attribute},
                                       {QStringLiteral("dataType"), e.dataType},
                                       {QStringLiteral("subject"), e.subject},
                                       {QStringLiteral("replacement"), e.replacement},
                                       {QStringLiteral("count"), e.count}});
            return true;
        });
        findings.append(QJsonObject{{QStringLiteral("kind"), FindingKey(k)},
                                    {QStringLiteral("name"), kFindingNames[k]},
                                    {QStringLiteral("columns"), report.concerned[size_t(k)]},
                                    {QStringLiteral("entries"), entries}});
    }
    QJsonObject json{{QStringLiteral("area"), report.areaId},
                     {QStringLiteral("areaName"), report.areaName},
                     {QStringLiteral("input"), report.input},
                     {QStringLiteral("tables"), report.tables},
                     {QStringLiteral("columns"), report.columns},
                     {QStringLiteral("withLogicalName"), report.withLogicalName},
                     {QStringLiteral("logicalConforming"), report.logicalConforming},
                     {QStringLiteral("physicalConforming"), report.physicalConforming},
                     {QStringLiteral("typeConforming"), report.typeConforming},
                     {QStringLiteral("conforming"), report.conforming},
                     {QStringLiteral("distinctNames"), report.distinctNames},
                     {QStringLiteral("rate"), report.Rate()},
                     {QStringLiteral("findings"), findings}};
    if (!report.planHeader.isEmpty()) {
        // The "보정 계획" rows, keyed by the sheet's headers.
        QJsonArray plan;
        ForEachPlanRow(report, [&](const QStringList& row) {
            QJsonObject change;
            for (int c = 0; c < report.planHeader.size(); ++c)
                change.insert(report.planHeader[c], row.value(c));
            plan.append(change);
            return true;
        });
        json.insert(QStringLiteral("plan"), plan);
    }
    if (report.since)
        json.insert(QStringLiteral("since"), SinceToJson(*report.since, report.areaId, report.areaName));
    return json;
}

bool WriteWorkbook(const ConformanceReport& report, const QString& path, QString* error)
{
    // Rows go to disk as they are written, and a finding kind over one sheet's rows goes on in
    // "미등록 단어 (2)": a report of millions of findings in little memory.
    if ((report.spill && report.spill->Failed()) || (report.planSpill && report.planSpill->Failed()))
        return Fail(error, SpillFailureText(report, path));
    ReportWorkbook book;
    if (!book.Open(path))
        return Fail(error, book.Error());
    lxw_workbook* wb = book.Workbook();
    lxw_format* bold = book.Bold();
    lxw_format* percent = workbook_add_format(wb);
    format_set_num_format(percent, "0.0");

    const auto text = [&](lxw_worksheet* ws, int r, int c, const QString& s, lxw_format* f = nullptr) {
        if (!s.isEmpty())
            book.Check(worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), s.left(32767).toUtf8().constData(), f));
    };
    const auto number = [&](lxw_worksheet* ws, int r, int c, double v, lxw_format* f = nullptr) {
        book.Check(worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v, f));
    };

    const QByteArray summaryName = kSummarySheet.toUtf8();
    lxw_worksheet* summary = workbook_add_worksheet(wb, summaryName.constData());
    if (!summary)
        book.Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    else {
        worksheet_set_column(summary, 0, 0, 22, nullptr);
        worksheet_set_column(summary, 1, 1, 28, nullptr);
        worksheet_set_column(summary, 2, 2, 60, nullptr);
        text(summary, 0, 0, kItem, bold);
        text(summary, 0, 1, kValue, bold);
        text(summary, 0, 2, kMeaning, bold);
        text(summary, 1, 0, QStringLiteral("표준 분류체계"));
        text(summary, 1, 1,
             report.areaName.isEmpty() ? report.areaId : QStringLiteral("%1 (%2)").arg(report.areaName, report.areaId));
        text(summary, 2, 0, QStringLiteral("입력"));
        text(summary, 2, 1, report.input);
        struct Figure
        {
            const QString& caption;
            int value;
            const QString& meaning;
        };
        const Figure figures[] = {
            {kTables, report.tables, kTablesMeaning},
            {kColumns, report.columns, kColumnsMeaning},
            {kWithLogicalName, report.withLogicalName, kWithLogicalNameMeaning},
            {kLogicalConforming, report.logicalConforming, kLogicalConformingMeaning},
            {kPhysicalConforming, report.physicalConforming, kPhysicalConformingMeaning},
            {kTypeConforming, report.typeConforming, kTypeConformingMeaning},
            {kConforming, report.conforming, kConformingMeaning},
        };
        int row = 3;
        for (const Figure& f : figures) {
            text(summary, row, 0, f.caption);
            number(summary, row, 1, f.value);
            text(summary, row, 2, f.meaning);
            ++row;
        }
        text(summary, row, 0, kRate);
        number(summary, row, 1, report.Rate(), percent);
        text(summary, row, 2, kRateMeaning);
        ++row;
        text(summary, row, 0, kDistinctNames);
        number(summary, row, 1, report.distinctNames);
        text(summary, row, 2, kDistinctNamesMeaning);
        const int findingRow = row + 2;
        text(summary, findingRow, 0, kFinding, bold);
        text(summary, findingRow, 1, kCount, bold);
        text(summary, findingRow, 2, kFindingCountMeaning, bold);
        for (int k = 0; k < eFindingCount; ++k) {
            text(summary, findingRow + 1 + k, 0, kFindingNames[k]);
            number(summary, findingRow + 1 + k, 1, report.concerned[size_t(k)]);
            text(summary, findingRow + 1 + k, 2, kFindingMeanings[k]);
        }

        lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_BAR);
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        // Sheet references of the chart: the summary sheet's name quoted, rows from 0.
        chart_series_set_categories(series, summaryName.constData(), findingRow + 1, 0, findingRow + eFindingCount, 0);
        chart_series_set_values(series, summaryName.constData(), findingRow + 1, 1, findingRow + eFindingCount, 1);
        chart_title_set_name(chart, kFindingsCaption.toUtf8().constData());
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
        chart_axis_set_reverse(chart->y_axis); // first kind on top, as in the table
        book.Check(worksheet_insert_chart(summary, 1, 4, chart));
    }

    for (int k = 0; k < eFindingCount; ++k) {
        ReportWorkbook::Sheet* sheet = book.AddSheet(kFindingNames[k], kFindingColumns);
        if (!sheet)
            break;
        ForEachEntry(report, k, [sheet](const ConformanceEntry& e) {
            return sheet->AddRow(
                {e.table, e.column, e.attribute, e.dataType, e.subject, e.replacement, double(e.count)});
        });
    }
    if (!report.planHeader.isEmpty())
        if (ReportWorkbook::Sheet* sheet = book.AddSheet(kPlanSheet, report.planHeader)) {
            std::vector<ReportWorkbook::Cell> cells;
            ForEachPlanRow(report, [&](const QStringList& row) {
                cells.assign(row.begin(), row.end());
                return sheet->AddRow(cells);
            });
        }
    if (report.since)
        book.Check(WriteSinceSheet(book.Workbook(), book.Bold(), *report.since, report.areaId, report.areaName));
    if (!book.Finish())
        return Fail(error, book.Error());
    return true;
}

} // namespace Conformance

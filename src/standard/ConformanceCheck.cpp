#include "standard/ConformanceCheck.h"

#include "analysis/DataType.h"
#include "analysis/TermAnalysis.h"
#include "components/AtomicFile.h"
#include "components/Platform.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "repository/SqlBaseGate.h"
#include "standard/StandardTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QUuid>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

using namespace StandardTexts;

// Lengths compare as numbers ("10" = "010"); an empty one is 0, as the domain lookup takes it.
bool SameNumber(const QString& a, const QString& b)
{
    return a.trimmed().toLongLong() == b.trimmed().toLongLong();
}

struct Finding
{
    int kind;
    QString subject;
    QString replacement;
};

std::vector<Finding> FindingsOf(const TermTargetResult& r, const TermAnalysisTarget& t,
                                const ConformanceAreaFacts& facts)
{
    std::vector<Finding> out;
    if (r.registered) {
        auto d = facts.domains.find(t.strDomainId);
        if (r.hasDomain && d != facts.domains.end() &&
            (d->second.type.compare(t.strType, Qt::CaseInsensitive) != 0 ||
             !SameNumber(d->second.length, t.strLength) || !SameNumber(d->second.scale, t.strScale))) {
            out.push_back(
                {eFindingTypeMismatch, t.strDisplayType,
                 QStringLiteral("%1 (%2)").arg(
                     d->second.name, GlobalFunc::BuildDataType(d->second.type, d->second.length, d->second.scale))});
        }
        if (!r.hasDomain)
            out.push_back({eFindingNoDomain, t.strName, QString()});
        return out;
    }
    for (const TermWordResult& w : r.words) {
        if (!w.found)
            out.push_back({eFindingUnknownWord, w.word, QString()});
        else if (!w.standard)
            out.push_back({facts.forbiddenWordIds.count(w.id) ? eFindingForbiddenWord : eFindingNonStandardWord, w.word,
                           w.standardName == w.word ? QString() : w.standardName});
    }
    // A synonym of a class word is listed once, as non-standard, above.
    if (!r.words.empty() && r.words.back().found && !r.words.back().CountsAsClassWord())
        out.push_back({eFindingNotClassWord, r.words.back().word, QString()});
    if (!r.hasDomain)
        out.push_back({eFindingNoDomain, r.words.empty() ? t.strName : r.words.back().word, QString()});
    return out;
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
    if (attributes <= 0)
        return 0.0;
    return std::round(1000.0 * conforming / attributes) / 10.0;
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
    for (const _stAnalyzeManageDomain& d : domains)
        facts.domains[d.strDomainId] = {d.strDomainName, d.strDataType, d.strLength, d.strScale};
    return true;
}

ConformanceReport Build(const CTermAnalysis& analysis, const ConformanceAreaFacts& facts)
{
    ConformanceReport report;
    report.areaId = analysis.AreaId();
    struct Pending
    {
        const TermAnalysisTarget* target;
        Finding finding;
    };
    std::vector<Pending> pending;
    std::map<std::pair<int, QString>, int> subjectCounts;
    for (const TermTargetResult& r : analysis.Results()) {
        const TermAnalysisTarget* t = analysis.Target(r.name);
        if (!t)
            continue;
        ++report.attributes;
        const std::vector<Finding> findings = FindingsOf(r, *t, facts);
        if (r.Conforming())
            ++report.conforming;
        std::set<int> kinds;
        std::set<std::pair<int, QString>> subjects; // a word used twice in one name counts once
        for (const Finding& f : findings) {
            kinds.insert(f.kind);
            if (subjects.insert({f.kind, f.subject}).second) {
                ++subjectCounts[{f.kind, f.subject}];
                pending.push_back({t, f});
            }
        }
        for (int k : kinds)
            ++report.concerned[size_t(k)];
    }
    for (const Pending& p : pending)
        report.entries[size_t(p.finding.kind)].push_back(
            {p.target->strName, p.target->strColumn, p.target->strDisplayType, p.finding.subject, p.finding.replacement,
             subjectCounts[{p.finding.kind, p.finding.subject}]});
    return report;
}

bool BuildForConnectedArea(const CTermAnalysis& analysis, ConformanceReport& report, QString& error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    CSqlBaseGate* gate = connection.OpenGate();
    ISqlExecutor* db = connection.Database();
    if (!gate || !db) {
        error = QStringLiteral("저장소에 연결되어 있지 않습니다");
        return false;
    }
    QString areaName;
    gate->SelectStandardAreaName(analysis.AreaId(), areaName);
    ConformanceAreaFacts facts;
    if (!ReadAreaFacts(*gate, *db, analysis.AreaId(), facts, error))
        return false;
    report = Build(analysis, facts);
    report.areaName = areaName;
    return true;
}

QString FindingKey(int kind)
{
    static const char* const keys[eFindingCount] = {"unknown_word",   "non_standard_word", "forbidden_word",
                                                    "not_class_word", "no_domain",         "type_mismatch"};
    return kind >= 0 && kind < eFindingCount ? QString::fromLatin1(keys[kind]) : QString();
}

QJsonObject ToJson(const ConformanceReport& report)
{
    QJsonArray findings;
    for (int k = 0; k < eFindingCount; ++k) {
        QJsonArray entries;
        for (const ConformanceEntry& e : report.entries[size_t(k)])
            entries.append(QJsonObject{{QStringLiteral("attribute"), e.attribute},
                                       {QStringLiteral("column"), e.column},
                                       {QStringLiteral("dataType"), e.dataType},
                                       {QStringLiteral("subject"), e.subject},
                                       {QStringLiteral("replacement"), e.replacement},
                                       {QStringLiteral("count"), e.count}});
        findings.append(QJsonObject{{QStringLiteral("kind"), FindingKey(k)},
                                    {QStringLiteral("name"), kFindingNames[k]},
                                    {QStringLiteral("attributes"), report.concerned[size_t(k)]},
                                    {QStringLiteral("entries"), entries}});
    }
    QJsonObject root{{QStringLiteral("area"), report.areaId},
                     {QStringLiteral("areaName"), report.areaName},
                     {QStringLiteral("input"), report.input},
                     {QStringLiteral("attributes"), report.attributes},
                     {QStringLiteral("conforming"), report.conforming},
                     {QStringLiteral("rate"), report.Rate()},
                     {QStringLiteral("findings"), findings}};
    if (report.model) {
        root.insert(QStringLiteral("tables"), report.model->tables);
        root.insert(QStringLiteral("columns"), report.model->columns);
        root.insert(QStringLiteral("withoutLogicalName"), report.model->withoutLogicalName);
    }
    return root;
}

bool WriteWorkbook(const ConformanceReport& report, const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.dir().exists())
        return Fail(error, QStringLiteral("폴더가 없습니다: %1").arg(info.absolutePath()));
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
                         QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".tmp");
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* wb = workbook_new(tempName.constData());
    if (!wb)
        return Fail(error, QStringLiteral("파일을 만들 수 없습니다: %1").arg(path));
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_format* percent = workbook_add_format(wb);
    format_set_num_format(percent, "0.0");

    lxw_error err = LXW_NO_ERROR;
    const auto text = [&](lxw_worksheet* ws, int r, int c, const QString& s, lxw_format* f = nullptr) {
        if (err == LXW_NO_ERROR && !s.isEmpty())
            err = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), s.left(32767).toUtf8().constData(), f);
    };
    const auto number = [&](lxw_worksheet* ws, int r, int c, double v, lxw_format* f = nullptr) {
        if (err == LXW_NO_ERROR)
            err = worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v, f);
    };

    const QByteArray summaryName = kSummarySheet.toUtf8();
    lxw_worksheet* summary = workbook_add_worksheet(wb, summaryName.constData());
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
    text(summary, 3, 0, kAttributes);
    number(summary, 3, 1, report.attributes);
    text(summary, 3, 2, kAttributesMeaning);
    text(summary, 4, 0, kConforming);
    number(summary, 4, 1, report.conforming);
    text(summary, 4, 2, kConformingMeaning);
    text(summary, 5, 0, kRate);
    number(summary, 5, 1, report.Rate(), percent);
    text(summary, 5, 2, kRateMeaning);
    int findingRow = 7; // below the figures, and below the model's counts when it has them
    if (report.model) {
        text(summary, 6, 0, kTables);
        number(summary, 6, 1, report.model->tables);
        text(summary, 6, 2, kTablesMeaning);
        text(summary, 7, 0, kColumns);
        number(summary, 7, 1, report.model->columns);
        text(summary, 7, 2, kColumnsMeaning);
        text(summary, 8, 0, kWithoutLogicalName);
        number(summary, 8, 1, report.model->withoutLogicalName);
        text(summary, 8, 2, kWithoutLogicalNameMeaning);
        findingRow = 10;
    }
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
    if (err == LXW_NO_ERROR)
        err = worksheet_insert_chart(summary, 1, 4, chart);

    for (int k = 0; k < eFindingCount && err == LXW_NO_ERROR; ++k) {
        const QByteArray name = kFindingNames[k].toUtf8();
        lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());
        if (!ws) {
            err = LXW_ERROR_MEMORY_MALLOC_FAILED;
            break;
        }
        worksheet_set_column(ws, 0, 4, 20, nullptr);
        for (int c = 0; c < kFindingColumns.size(); ++c)
            text(ws, 0, c, kFindingColumns[c], bold);
        int row = 1;
        for (const ConformanceEntry& e : report.entries[size_t(k)]) {
            text(ws, row, 0, e.attribute);
            text(ws, row, 1, e.column);
            text(ws, row, 2, e.dataType);
            text(ws, row, 3, e.subject);
            text(ws, row, 4, e.replacement);
            number(ws, row, 5, e.count);
            ++row;
        }
    }
    lxw_error closeErr = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        // The library prints its own "[ERROR]" lines; the one message below says it better.
        Platform::QuietStderr quiet;
        errno = 0;
        closeErr = workbook_close(wb);
        closeErrno = errno;
    }
    if (err == LXW_NO_ERROR)
        err = closeErr;
    if (err != LXW_NO_ERROR) {
        QFile::remove(temp);
        return Fail(
            error,
            Platform::IsNoSpace(closeErrno)
                ? WriteFailureText(path, closeErrno)
                : QStringLiteral("%1: 통합 문서를 쓸 수 없습니다: %2").arg(path, QString::fromUtf8(lxw_strerror(err))));
    }
    if (!Platform::ReplaceFile(temp, path)) {
        const int renameErrno = errno;
        QFile::remove(temp);
        return Fail(error, WriteFailureText(path, renameErrno));
    }
    return true;
}

} // namespace Conformance

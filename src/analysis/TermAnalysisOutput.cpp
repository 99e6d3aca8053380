// What the term analysis shows and writes: the tree grid's rows, the export rows and the JSON
// result, all read from the results the analysis placed.
#include "analysis/TermAnalysis.h"

#include <QJsonArray>
#include <map>

QString CTermAnalysis::TargetListCaption() const
{
    return QString(TermTexts::kTargetListCount).replace(QStringLiteral("%d"), QString::number(m_targets.size()));
}

std::vector<AnalysisRow> CTermAnalysis::Rows() const
{
    std::vector<AnalysisRow> rows;
    rows.reserve(m_results.size() * 4);
    for (size_t i = 0; i < m_results.size(); ++i) {
        const TermTargetResult& r = m_results[i];
        const bool hidden = IsHidden(r);
        rows.push_back(r.row);
        rows.back().hidden = hidden;
        rows.back().target = int(i);
        for (const AnalysisRow& w : r.wordRows) {
            rows.push_back(w);
            rows.back().hidden = hidden;
            rows.back().target = int(i);
        }
    }
    return rows;
}

std::vector<QStringList> CTermAnalysis::ExportRows() const
{
    std::vector<QStringList> rows;
    for (const auto& [name, t] : m_targets) {
        QStringList words;
        if (const TermTargetResult* r = Result(name))
            for (const AnalysisRow& w : r->wordRows)
                words.append(w.texts[0]);
        rows.push_back({name, t.strColumn, words.join(u','), t.strDomainName});
    }
    return rows;
}

QJsonObject CTermAnalysis::TotalsJson() const
{
    int complete = 0, conforming = 0, registered = 0, noDomain = 0, words = 0, foundWords = 0;
    for (const TermTargetResult& r : m_results) {
        for (const TermWordResult& w : r.words) {
            ++words;
            foundWords += w.found ? 1 : 0;
        }
        complete += r.status == eTermImageAction ? 1 : 0;
        conforming += r.Conforming() ? 1 : 0;
        registered += r.registered ? 1 : 0;
        noDomain += r.hasDomain ? 0 : 1;
    }
    return QJsonObject{{QStringLiteral("targets"), int(m_results.size())}, {QStringLiteral("complete"), complete},
                       {QStringLiteral("conforming"), conforming},         {QStringLiteral("registered"), registered},
                       {QStringLiteral("withoutDomain"), noDomain},        {QStringLiteral("words"), words},
                       {QStringLiteral("foundWords"), foundWords}};
}

QJsonObject CTermAnalysis::ToJson() const
{
    QJsonArray targets;
    std::map<QString, int> unknown;
    for (const TermTargetResult& r : m_results) {
        const TermAnalysisTarget& t = m_targets.at(r.name);
        QJsonArray jw;
        for (const TermWordResult& w : r.words) {
            if (!w.found)
                ++unknown[w.word];
            jw.append(QJsonObject{{QStringLiteral("word"), w.word},
                                  {QStringLiteral("found"), w.found},
                                  {QStringLiteral("standard"), w.standard},
                                  {QStringLiteral("classWord"), w.classWord},
                                  {QStringLiteral("id"), w.id},
                                  {QStringLiteral("logicalName"), w.logicalName},
                                  {QStringLiteral("physicalName"), w.physicalName},
                                  {QStringLiteral("standardName"), w.found ? w.standardName : QString()},
                                  {QStringLiteral("countsAsClassWord"), w.CountsAsClassWord()},
                                  {QStringLiteral("domainClass"), w.domainClass}});
        }
        targets.append(QJsonObject{{QStringLiteral("key"), r.name},
                                   {QStringLiteral("name"), r.name},
                                   {QStringLiteral("column"), t.strColumn},
                                   {QStringLiteral("type"), t.strType},
                                   {QStringLiteral("length"), t.strLength},
                                   {QStringLiteral("scale"), t.strScale},
                                   {QStringLiteral("displayType"), t.strDisplayType},
                                   {QStringLiteral("status"), r.status},
                                   {QStringLiteral("registered"), r.registered},
                                   {QStringLiteral("conforming"), r.Conforming()},
                                   {QStringLiteral("words"), jw},
                                   {QStringLiteral("analyzedName"), r.physicalName},
                                   {QStringLiteral("analyzedFullName"), r.fullName},
                                   {QStringLiteral("domain"), t.strDomainName},
                                   {QStringLiteral("domainId"), t.strDomainId}});
    }
    QJsonObject missing;
    for (const auto& [w, n] : unknown)
        missing.insert(w, n);
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("term")},
                       {QStringLiteral("area"), m_areaId},
                       {QStringLiteral("targets"), targets},
                       {QStringLiteral("totals"), TotalsJson()},
                       {QStringLiteral("unanalyzed"), missing}};
}

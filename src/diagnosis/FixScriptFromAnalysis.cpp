// The fix script fed from today's term analysis: each column's standard worked out from the
// result of its attribute, once per attribute however many columns carry it.
#include "analysis/TermAnalysis.h"
#include "components/QrStringUtil.h"
#include "diagnosis/FixScript.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"

#include <QHash>
#include <algorithm>
#include <unordered_map>

namespace FixScript {
namespace {

struct Standard
{
    bool known = false;
    QString logical, physical, reason, domain;
};

// The standard of an attribute when it is unambiguous: a registered term, or standard words
// only with a class word last.
Standard StandardOf(const TermTargetResult& r)
{
    Standard out;
    if (r.words.empty())
        return out;
    const bool allStandard =
        std::all_of(r.words.begin(), r.words.end(), [](const TermWordResult& w) { return w.found && w.standard; });
    if (!r.registered && !(allStandard && r.words.back().classWord))
        return out;
    QStringList logical;
    for (const TermWordResult& w : r.words) {
        if (!w.found || w.physicalName.isEmpty())
            return out;
        logical << w.logicalName;
    }
    out.logical = r.registered ? r.name : logical.join(QString());
    out.physical = r.physicalName;
    out.reason = r.registered ? QStringLiteral("표준 용어 %1").arg(out.logical)
                              : QStringLiteral("표준 단어 %1").arg(logical.join(u'+'));
    out.known = !out.physical.isEmpty() && !out.physical.contains(u'(');
    return out;
}

} // namespace

bool WriteForAnalysis(const FixScriptHook::Request& request, Counts& counts, QString& error)
{
    if (!request.analysis || !request.model) {
        error = FixScriptHook::kNoWriter;
        return false;
    }
    const CTermAnalysis& analysis = *request.analysis;
    const ModelSource::AttributeList& model = *request.model;
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    // Type findings of registered terms, by attribute: the domain to use.
    QHash<QString, QString> typeFindings;
    if (request.report)
        for (const ConformanceEntry& e : request.report->entries[size_t(eFindingTypeMismatch)])
            typeFindings.insert(e.attribute, e.replacement);
    std::unordered_map<QString, Standard> known; // by the attribute as the model has it
    const auto feed = [&](Writer& writer) {
        for (int i = 0; i < model.Columns(); ++i) {
            const QStringList& row = model.rows[i + 1];
            const QString comment = row.value(ModelSource::ColComment);
            ColumnStandard column; // the writer reads the description from the comment itself
            column.logicalName = row.value(ModelSource::ColAttribute);
            if (!column.logicalName.isEmpty()) {
                auto [it, created] = known.try_emplace(column.logicalName);
                if (created) {
                    QString name = column.logicalName;
                    settings.NormalizeAttributeName(name);
                    if (const TermTargetResult* r = analysis.Result(name)) {
                        it->second = StandardOf(*r);
                        if (it->second.known && r->registered && typeFindings.contains(name))
                            it->second.domain = typeFindings.value(name);
                    }
                }
                const Standard& s = it->second;
                if (s.known) {
                    // "설명1" stays the first of its kind: the number goes with both names.
                    QString head, number;
                    CQrStringUtil::GetSplitPostNumber(column.logicalName, head, number);
                    column.standardName = number.isEmpty() ? s.logical : s.logical + number;
                    column.standardColumn = number.isEmpty() ? s.physical : s.physical + number;
                    column.reason = s.reason;
                    if (!s.domain.isEmpty())
                        column.typeNote =
                            QStringLiteral("%1, 도메인 %2").arg(row.value(ModelSource::ColType), s.domain);
                }
            }
            writer.Add(model.facts[size_t(i)], comment, column);
        }
    };
    std::function<void(const PlanRow&)> plan;
    if (request.plan)
        plan = [&request](const PlanRow& row) { request.plan(PlanCells(row)); };
    return WriteFile(request.path, Options{request.dialect, request.renameKeys}, feed, counts, error, plan);
}

} // namespace FixScript

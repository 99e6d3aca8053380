#include "diagnosis/EditionImpact.h"

#include "analysis/DataType.h"
#include "analysis/TermAnalysis.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardTexts.h"

#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <set>
#include <tuple>

namespace {

using StandardDiff::Kind;

enum ChangeKind { kAdded, kWithdrawn, kChanged };

// The fields `standard diff` names in a change (StandardDiff's captions).
const QString kFieldName = QStringLiteral("이름");
const QString kFieldAbbreviation = QStringLiteral("약어");
const QString kFieldClassWord = QStringLiteral("분류어 여부");
const QString kFieldDomainClass = QStringLiteral("도메인 분류");
const QString kFieldSynonyms = QStringLiteral("이음동의어");
const QString kFieldForbidden = QStringLiteral("금칙어");
const QString kFieldDomain = QStringLiteral("도메인");

using FindingSet = std::set<std::tuple<int, QString, QString>>;

FindingSet Findings(const ColumnVerdict& v, std::initializer_list<int> kinds)
{
    FindingSet set;
    for (const ColumnFinding& f : v.findings)
        if (std::find(kinds.begin(), kinds.end(), f.kind) != kinds.end())
            set.emplace(f.kind, f.subject, f.replacement);
    return set;
}

QString VerdictText(const ColumnVerdict& v)
{
    if (v.Conforming())
        return StandardTexts::kConformingVerdict;
    QStringList parts;
    for (const ColumnFinding& f : v.findings) {
        QString part = StandardTexts::kFindingNames.value(f.kind);
        if (!f.subject.isEmpty())
            part += u' ' + f.subject;
        if (!f.replacement.isEmpty())
            part += QStringLiteral(" → ") + f.replacement;
        parts << part;
    }
    return parts.isEmpty() ? StandardTexts::kNotConformingVerdict : parts.join(QStringLiteral("; "));
}

QString WithoutSeparators(QString name)
{
    return name.remove(u'_').remove(u' ');
}

} // namespace

// The older judge reads its area through the repository connection, which is the main
// thread's; the diagnosis hands columns to its sinks on its second thread, so while an impact
// lives the diagnosis keeps to one.
EditionImpact::EditionImpact() : m_pipeline(Diagnosis::GetPipeline())
{
    Diagnosis::Pipeline oneThread = m_pipeline;
    oneThread.twoThreads = false;
    Diagnosis::SetPipeline(oneThread);
}

EditionImpact::~EditionImpact()
{
    Diagnosis::SetPipeline(m_pipeline);
}

bool EditionImpact::Prepare(const QString& newAreaId, const QString& oldAreaId, QString& error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    CSqlBaseGate* gate = connection.OpenGate();
    ISqlExecutor* db = connection.Database();
    if (!gate || !db) {
        error = StandardTexts::kNotConnected;
        return false;
    }
    if (oldAreaId == newAreaId) {
        error = QStringLiteral("--since %1: 검사하는 분류체계(--area)와 같습니다. 비교할 다른 분류체계를 주십시오")
                    .arg(oldAreaId);
        return false;
    }
    if (!gate->SelectStandardAreaName(oldAreaId, m_since.oldAreaName) || m_since.oldAreaName.isEmpty()) {
        error = QStringLiteral("--since %1: 저장소에 없는 표준 분류체계입니다").arg(oldAreaId);
        return false;
    }
    m_since.oldAreaId = oldAreaId;
    if (!Conformance::ReadAreaFacts(*gate, *db, oldAreaId, m_oldFacts, error) ||
        !Conformance::ReadAreaFacts(*gate, *db, newAreaId, m_newFacts, error))
        return false;
    PublicStandard before, after;
    if (!StandardDiff::ReadArea(*db, oldAreaId, before, error) ||
        !StandardDiff::ReadArea(*db, newAreaId, after, error)) {
        error = QStringLiteral("분류체계를 읽을 수 없습니다: %1").arg(error);
        return false;
    }
    m_diff = StandardDiff::Compare(before, after);
    // The domain class a class word files its domains under, in either area.
    for (const PublicStandard* area : {&before, &after})
        for (const PublicStandardWord& w : area->words)
            if (w.classWord)
                m_domainClass[w.logical] = w.domainClass.isEmpty() ? w.logical : w.domainClass;
    for (const Kind k : StandardDiff::kKinds) {
        const StandardDiff::KindDiff& d = m_diff.Of(k);
        auto& index = m_changes[size_t(k)];
        for (const auto& e : d.added)
            index.try_emplace(e.name, Change{&e, kAdded});
        for (const auto& e : d.withdrawn)
            index.try_emplace(e.name, Change{&e, kWithdrawn});
        for (const auto& e : d.changed) {
            index.try_emplace(e.name, Change{&e, kChanged});
            if (!e.oldName.isEmpty())
                index.try_emplace(e.oldName, Change{&e, kChanged});
        }
    }
    // Domains by their class, for a class word whose domains were added or changed.
    std::unordered_map<QString, const ConformanceAreaFacts::Domain*> byName;
    for (const auto& [id, domain] : m_newFacts.domains)
        byName.try_emplace(domain.name, &domain);
    for (const auto* list : {&m_diff.Of(Kind::Domain).added, &m_diff.Of(Kind::Domain).changed})
        for (const auto& e : *list)
            m_domainsByClass[e.physical].emplace_back(
                list == &m_diff.Of(Kind::Domain).added
                    ? QStringLiteral("도메인 %1 추가").arg(e.name)
                    : QStringLiteral("도메인 %1: %2").arg(e.name, StandardDiff::Describe(e)),
                byName.count(e.name) ? byName.at(e.name) : nullptr);
    m_oldJudge = std::make_unique<ColumnJudge>(oldAreaId, m_oldFacts);
    return true;
}

Diagnosis::Sink EditionImpact::Sink()
{
    return [this](const DiagnosisColumn& column, const ColumnVerdict& verdict) { Take(column, verdict); };
}

void EditionImpact::Take(const DiagnosisColumn& column, const ColumnVerdict& verdict)
{
    m_pending.push_back(column);
    m_pendingVerdicts.push_back(verdict);
    if (m_pending.size() >= m_pipeline.batch)
        JudgePending();
}

void EditionImpact::JudgePending()
{
    if (m_pending.empty())
        return;
    std::vector<ColumnVerdict> before;
    m_oldJudge->Judge(m_pending, before);
    for (size_t i = 0; i < m_pending.size(); ++i)
        Compare(m_pending[i], before[i], m_pendingVerdicts[i]);
    m_pending.clear();
    m_pendingVerdicts.clear();
}

void EditionImpact::Finish(ConformanceReport& report)
{
    JudgePending();
    report.since = std::move(m_since);
    m_since = ConformanceSince();
}

void EditionImpact::Compare(const DiagnosisColumn& column, const ColumnVerdict& before, const ColumnVerdict& after)
{
    const std::initializer_list<int> logicalKinds = {eFindingUnknownWord, eFindingNonStandardWord,
                                                     eFindingForbiddenWord, eFindingNotClassWord,
                                                     eFindingNonStandardTerm};
    const bool logical =
        before.logicalOk != after.logicalOk || Findings(before, logicalKinds) != Findings(after, logicalKinds);
    const bool physical = before.physicalOk != after.physicalOk ||
                          Findings(before, {eFindingPhysicalName}) != Findings(after, {eFindingPhysicalName});
    const bool type = before.typeOk != after.typeOk || Findings(before, {eFindingNoDomain, eFindingTypeMismatch}) !=
                                                           Findings(after, {eFindingNoDomain, eFindingTypeMismatch});
    if (!logical && !physical && !type)
        return;

    SinceEntry entry{column.shownTable,   column.shownColumn, after.logicalName, column.displayType, {}, {},
                     VerdictText(before), VerdictText(after)};
    std::array<bool, eSinceReasonCount> reasons{};
    QStringList details;
    const auto because = [&](int reason, const QString& detail) {
        reasons[size_t(reason)] = true;
        if (!detail.isEmpty() && !details.contains(detail))
            details << detail;
    };
    const auto caption = [](Kind k, const StandardDiff::Entry& e) {
        return QStringLiteral("%1 %2").arg(StandardDiff::KindCaption(k), e.name);
    };

    // The words: only a change that touches what differs in the verdict is a reason.
    const bool unknownDiffer = Findings(before, {eFindingUnknownWord}) != Findings(after, {eFindingUnknownWord});
    const bool synonymsDiffer = Findings(before, {eFindingNonStandardWord, eFindingForbiddenWord}) !=
                                Findings(after, {eFindingNonStandardWord, eFindingForbiddenWord});
    const bool classDiffer = Findings(before, {eFindingNotClassWord}) != Findings(after, {eFindingNotClassWord});
    // A name registered as a term in both areas is judged on the term alone, never on its words.
    const QString term = WithoutSeparators(after.nameKey);
    QStringList words;
    if (!m_oldFacts.terms.count(term) || !m_newFacts.terms.count(term)) {
        words = before.words;
        for (const QString& w : after.words)
            if (!words.contains(w))
                words << w;
    }
    const QString lastBefore = before.words.value(before.words.size() - 1);
    const QString lastAfter = after.words.value(after.words.size() - 1);
    for (const QString& w : words) {
        const auto found = m_changes[size_t(Kind::Word)].find(w);
        if (found == m_changes[size_t(Kind::Word)].end())
            continue;
        const StandardDiff::Entry& e = *found->second.entry;
        const bool last = w == lastBefore || w == lastAfter;
        switch (found->second.kind) {
        case kAdded:
            if (after.words.contains(w) && (unknownDiffer || !before.words.contains(w)))
                because(eSinceNewWord, QStringLiteral("%1 (%2) 추가").arg(caption(Kind::Word, e), e.physical));
            break;
        case kWithdrawn:
            if (before.words.contains(w) && (unknownDiffer || !after.words.contains(w)))
                because(eSinceWithdrawn, QStringLiteral("%1 (%2) 폐기").arg(caption(Kind::Word, e), e.physical));
            break;
        default: {
            const QString detail = caption(Kind::Word, e) + QStringLiteral(": ") + StandardDiff::Describe(e);
            // A word that became a class word got its domain class with it: one reason.
            const bool classWord = std::any_of(e.changes.begin(), e.changes.end(), [&](const auto& c) {
                return c.field == kFieldClassWord && (classDiffer || (type && last));
            });
            if (classWord)
                because(eSinceClassWord, detail);
            for (const StandardDiff::Change& c : e.changes) {
                if (c.field == kFieldAbbreviation && physical)
                    because(eSinceAbbreviation, detail);
                else if (c.field == kFieldName)
                    because(eSinceWithdrawn, detail);
                else if (c.field == kFieldDomainClass && type && last && !classWord)
                    because(eSinceDomain, detail);
                else if ((c.field == kFieldSynonyms || c.field == kFieldForbidden) && synonymsDiffer)
                    because(eSinceSynonym, detail);
            }
        }
        }
    }

    // The name as a term, or as a term's synonym.
    if (const auto found = m_changes[size_t(Kind::Term)].find(term); found != m_changes[size_t(Kind::Term)].end()) {
        const StandardDiff::Entry& e = *found->second.entry;
        if (found->second.kind == kAdded) {
            because(eSinceNewTerm, QStringLiteral("%1 (%2) 추가").arg(caption(Kind::Term, e), e.physical));
        } else if (found->second.kind == kWithdrawn) {
            QString detail = QStringLiteral("%1 (%2) 폐기").arg(caption(Kind::Term, e), e.physical);
            const auto replaced = m_newFacts.termSynonyms.find(term);
            if (replaced != m_newFacts.termSynonyms.end())
                detail += QStringLiteral(" → ") + replaced->second;
            because(eSinceWithdrawn, detail);
        } else {
            const QString detail = caption(Kind::Term, e) + QStringLiteral(": ") + StandardDiff::Describe(e);
            for (const StandardDiff::Change& c : e.changes) {
                if (c.field == kFieldName)
                    because(eSinceWithdrawn, detail);
                else if (c.field == kFieldAbbreviation && physical)
                    because(eSinceAbbreviation, detail);
                else if (c.field == kFieldDomain && type)
                    because(eSinceDomain, detail);
            }
        }
    } else if (logical) {
        const auto was = m_oldFacts.termSynonyms.find(term), is = m_newFacts.termSynonyms.find(term);
        const QString of = was == m_oldFacts.termSynonyms.end() ? QString() : was->second;
        const QString now = is == m_newFacts.termSynonyms.end() ? QString() : is->second;
        const QString nothing = QStringLiteral("(없음)");
        if (!of.isEmpty() && !now.isEmpty() && of != now)
            because(eSinceSynonym, QStringLiteral("용어 이음동의어 %1: 표준용어 %2 → %3").arg(term, of, now));
        else if (of != now)
            because(eSinceSynonym,
                    QStringLiteral("%1 %2: %3 %4 → %5")
                        .arg(StandardDiff::KindCaption(Kind::Term), of.isEmpty() ? now : of, kFieldSynonyms,
                             of.isEmpty() ? nothing : term, of.isEmpty() ? term : nothing));
    }

    const auto none = [&reasons] { return std::none_of(reasons.begin(), reasons.end(), [](bool b) { return b; }); };
    if (type && none()) {
        // Domains added or changed under the class of the name's last word: the ones this
        // column's type fits, when there are.
        const auto domains =
            m_domainsByClass.find(m_domainClass.count(lastAfter) ? m_domainClass.at(lastAfter) : lastAfter);
        if (domains != m_domainsByClass.end()) {
            QString typeName = column.type, length = column.length, scale = column.scale;
            if (typeName.contains(u'('))
                ParseDataType(column.type, typeName, length, scale);
            const QString logicalType = CAnalyzeSettings::Instance().ConvertToLogicalDataType(typeName);
            QStringList all, fitting;
            for (const auto& [text, domain] : domains->second) {
                all << text;
                if (domain && Conformance::TypeFits(*domain, logicalType, length, scale))
                    fitting << text;
            }
            because(eSinceDomain, (fitting.isEmpty() ? all : fitting).join(QStringLiteral(", ")));
        }
    }
    if (none())
        because(type && !logical && !physical ? eSinceDomain : eSinceOther, {});

    for (int r = 0; r < eSinceReasonCount; ++r)
        if (reasons[size_t(r)]) {
            entry.reasons.push_back(r);
            ++m_since.perReason[size_t(r)];
        }
    entry.detail = details.join(QStringLiteral("; "));
    ++m_since.columns;
    m_since.entries.push_back(std::move(entry));
}

bool EditionImpact::BuildForAnalysis(const CTermAnalysis& analysis, const ModelSource::AttributeList* model,
                                     const QString& oldAreaId, ConformanceReport& report, QString& error)
{
    EditionImpact impact;
    if (!impact.Prepare(analysis.AreaId(), oldAreaId, error))
        return false;
    std::unique_ptr<ColumnSource> columns;
    if (model && model->Columns() > 0)
        columns = std::make_unique<ModelColumns>(*model);
    else
        columns = std::make_unique<AnalysisColumns>(analysis);
    if (!Diagnosis::BuildForConnectedArea(analysis.AreaId(), *columns, report, error, impact.Sink()))
        return false;
    impact.Finish(report);
    return true;
}

void EditionImpact::PrintSummary(const ConformanceSince& since, QTextStream& out)
{
    out << "changed since " << since.oldAreaId << ": " << since.columns
        << (since.columns == 1 ? " column\n" : " columns\n");
    for (int r = 0; r < eSinceReasonCount; ++r)
        out << "  " << Conformance::SinceReasonKey(r) << ": " << since.perReason[size_t(r)] << "\n";
}

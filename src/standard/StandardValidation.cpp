#include "standard/StandardValidation.h"

#include "repository/ColumnLimits.h"
#include "standard/StandardTexts.h"

namespace StandardValidation {
namespace {

using FieldCheck::Lines;

class Checker
{
public:
    explicit Checker(const CColumnLimits& limits) : m_limits(limits) {}

    void Check(const QString& file, int row, const QString& table, const QString& column, const QString& value,
               Lines lines = Lines::One)
    {
        const QString problem = m_limits.Check(table, column, value, lines);
        if (!problem.isEmpty())
            m_bad.push_back({file, row, problem});
    }
    std::vector<PublicStandardProblem> Take() { return std::move(m_bad); }

private:
    const CColumnLimits& m_limits;
    std::vector<PublicStandardProblem> m_bad;
};

const QString kDic = QStringLiteral("STD_DIC");
const QString kDom = QStringLiteral("STD_DOM");

} // namespace

Admission Admit(PublicStandard& standard, bool toRepository, bool allowPartial)
{
    const bool termsAlone = toRepository && standard.hasTerms && !standard.hasWords && !standard.hasDomains;
    QStringList missing;
    if (!standard.hasWords && !termsAlone)
        missing << StandardTexts::kWordSheet;
    if (!standard.hasDomains && !termsAlone)
        missing << StandardTexts::kDomainSheet;
    if (toRepository && !standard.hasTerms)
        missing << StandardTexts::kTermSheet;
    if (!missing.isEmpty())
        return {StandardTexts::kFilesLack.arg(missing.join(QStringLiteral(", "))), {}};
    // Terms are matched to the edition's words; without any, every term would go in without
    // its word combination.
    if (standard.hasWords && standard.words.empty() && !standard.terms.empty())
        return {StandardTexts::kTermsWithoutWords, standard.incomplete};
    if (!standard.incomplete.empty()) {
        if (!allowPartial)
            return {StandardTexts::kNotWhole, standard.incomplete};
        standard.problems.insert(standard.problems.begin(), standard.incomplete.begin(), standard.incomplete.end());
        standard.incomplete.clear();
    }
    return {};
}

std::vector<PublicStandardProblem> ForRepository(const PublicStandard& standard, const CColumnLimits& limits,
                                                 const QString& areaId, const QString& areaName)
{
    Checker c(limits);
    c.Check(QStringLiteral("--area"), 0, QStringLiteral("STD_AREA"), QStringLiteral("STD_AREA_ID"), areaId);
    c.Check(QStringLiteral("--area-name"), 0, QStringLiteral("STD_AREA"), QStringLiteral("STD_AREA_NM"), areaName);
    // An empty full name or description takes a name's place, which fits the wider column;
    // synonyms and forbidden words go in under their standard word's abbreviation.
    for (const PublicStandardWord& w : standard.words) {
        c.Check(w.file, w.row, kDic, QStringLiteral("DIC_LOG_NM"), w.logical);
        c.Check(w.file, w.row, kDic, QStringLiteral("DIC_PHY_NM"), w.physical);
        c.Check(w.file, w.row, kDic, QStringLiteral("DIC_PHY_FLL_NM"), w.fullName);
        c.Check(w.file, w.row, kDic, QStringLiteral("DIC_DESC"), w.description, Lines::Many);
        for (const QStringList* names : {&w.synonyms, &w.forbidden})
            for (const QString& name : *names)
                c.Check(w.file, w.row, kDic, QStringLiteral("DIC_LOG_NM"), name);
        if (!w.synonyms.isEmpty() || !w.forbidden.isEmpty())
            c.Check(w.file, w.row, kDic, QStringLiteral("DIC_DESC"), StandardTexts::kSynonymDescription.arg(w.logical),
                    Lines::Many);
    }
    for (const PublicStandardDomain& d : standard.domains) {
        c.Check(d.file, d.row, QStringLiteral("STD_DOM_GRP"), QStringLiteral("DOM_GRP_NM"), d.group);
        c.Check(d.file, d.row, QStringLiteral("STD_DOM_GRP"), QStringLiteral("DOM_GRP_DESC"), d.group, Lines::Many);
        c.Check(d.file, d.row, kDom, QStringLiteral("KEY_DOM_NM"), d.keyDomain);
        c.Check(d.file, d.row, kDom, QStringLiteral("DOM_NM"), d.name);
        c.Check(d.file, d.row, kDom, QStringLiteral("DATA_LEN"), d.length);
        c.Check(d.file, d.row, kDom, QStringLiteral("DATA_SCALE"), d.scale);
    }
    for (const PublicStandardTerm& t : standard.terms) {
        c.Check(t.file, t.row, kDic, QStringLiteral("DIC_LOG_NM"), t.logical);
        c.Check(t.file, t.row, kDic, QStringLiteral("DIC_PHY_NM"), t.physical);
        c.Check(t.file, t.row, kDic, QStringLiteral("DIC_DESC"), t.description, Lines::Many);
    }
    return c.Take();
}

std::vector<PublicStandardProblem> ForDictionary(const PublicStandard& standard, const CColumnLimits& limits)
{
    Checker c(limits);
    const QString word = QStringLiteral("STD_ANLY_WORD");
    for (const PublicStandardWord& w : standard.words) {
        c.Check(w.file, w.row, word, QStringLiteral("WORD_LOG_NM"), w.logical);
        c.Check(w.file, w.row, word, QStringLiteral("WORD_PHY_NM"), w.physical);
        c.Check(w.file, w.row, word, QStringLiteral("WORD_PHY_FULL_NM"), w.fullName);
        c.Check(w.file, w.row, word, QStringLiteral("WORD_DESC"), w.description, Lines::Many);
        for (const QStringList* names : {&w.synonyms, &w.forbidden})
            for (const QString& name : *names)
                c.Check(w.file, w.row, word, QStringLiteral("WORD_LOG_NM"), name);
    }
    const QString domain = QStringLiteral("STD_ANLY_DOMAIN");
    for (const PublicStandardDomain& d : standard.domains) {
        c.Check(d.file, d.row, domain, QStringLiteral("KEY_DOM_NM"), d.keyDomain);
        c.Check(d.file, d.row, domain, QStringLiteral("DOM_NM"), d.name);
        c.Check(d.file, d.row, domain, QStringLiteral("DATA_LEN"), d.length);
        c.Check(d.file, d.row, domain, QStringLiteral("DATA_SCALE"), d.scale);
    }
    return c.Take();
}

} // namespace StandardValidation

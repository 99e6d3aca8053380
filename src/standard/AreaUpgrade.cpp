#include "standard/AreaUpgrade.h"

#include "repository/RepositorySql.h"
#include "repository/SqlExecutor.h"
#include "standard/StandardTexts.h"

#include <set>

namespace {
namespace Sql = RepositorySql::Standard;

using Pair = std::pair<QString, QString>;

template <typename Row>
void Names(const std::vector<Row>& rows, std::set<Pair>& pairs, std::set<QString>* names,
           QString (*logical)(const Row&), QString (*physical)(const Row&))
{
    for (const Row& r : rows) {
        pairs.insert({logical(r), physical(r)});
        if (names)
            names->insert(logical(r));
    }
}
} // namespace

bool CAreaUpgrade::Load(ISqlExecutor& db, const QString& areaId, const PublicStandard& standard, QString& error)
{
    const SqlParams area = {SqlParam::Text(areaId)};
    const SqlOutcome words = db.Execute(Sql::SelectAreaWords, area);
    const SqlOutcome domains = db.Execute(Sql::SelectAreaDomains, area);
    const SqlOutcome terms =
        db.Execute(Sql::SelectAreaTerms, {SqlParam::Text(areaId), SqlParam::Text(StandardTexts::kTermSynonymPattern)});
    const SqlOutcome groups = db.Execute(Sql::SelectAreaDomainGroups, area);
    for (const SqlOutcome* o : {&words, &domains, &terms, &groups})
        if (!o->ok) {
            error = o->error;
            return false;
        }

    // What the edition file holds: current and withdrawn rows by name and abbreviation, and
    // the current names.
    std::set<Pair> wordPairs, termPairs;
    std::set<QString> wordNames, termNames, domainNames;
    const auto wl = [](const PublicStandardWord& w) { return w.logical; };
    const auto wp = [](const PublicStandardWord& w) { return w.physical; };
    const auto tl = [](const PublicStandardTerm& t) { return t.logical; };
    const auto tp = [](const PublicStandardTerm& t) { return t.physical; };
    Names<PublicStandardWord>(standard.words, wordPairs, &wordNames, wl, wp);
    Names<PublicStandardWord>(standard.withdrawnWords, wordPairs, nullptr, wl, wp);
    Names<PublicStandardTerm>(standard.terms, termPairs, &termNames, tl, tp);
    Names<PublicStandardTerm>(standard.withdrawnTerms, termPairs, nullptr, tl, tp);
    for (const auto* list : {&standard.domains, &standard.withdrawnDomains})
        for (const PublicStandardDomain& d : *list)
            domainNames.insert(d.name);

    const auto add = [this](Table table, const QString& id, const QString& key, const QString& signature,
                            bool edition) {
        m_rows[table].push_back({id, signature, edition});
        if (edition)
            m_byKey[table].try_emplace(key, m_rows[table].size() - 1);
        else
            ++m_counts[table].kept;
    };
    const QString synonymHead = StandardTexts::kSynonymDescription.section(u'%', 0, 0);
    const QString forbiddenHead = StandardTexts::kForbiddenDescription.section(u'%', 0, 0);
    for (size_t i = 0; i < words.rows.size(); ++i) {
        const QString id = words.rows.Value(i, 0), logical = words.rows.Value(i, 1), physical = words.rows.Value(i, 2),
                      description = words.rows.Value(i, 4);
        if (words.rows.Value(i, 6) == QLatin1String("Y")) {
            const bool edition = wordPairs.count({logical, physical}) || wordNames.count(logical);
            add(Words, id, logical,
                Signature(
                    {physical, words.rows.Value(i, 3), description, words.rows.Value(i, 5), words.rows.Value(i, 7)}),
                edition);
        } else {
            const bool edition = description.startsWith(synonymHead) || description.startsWith(forbiddenHead);
            add(NonStandard, id, logical + QChar(0x1F) + physical, description, edition);
        }
    }
    for (size_t i = 0; i < domains.rows.size(); ++i) {
        const QString name = domains.rows.Value(i, 2);
        add(Domains, domains.rows.Value(i, 0), name,
            Signature({domains.rows.Value(i, 1), domains.rows.Value(i, 3), domains.rows.Value(i, 4),
                       domains.rows.Value(i, 5), domains.rows.Value(i, 6), domains.rows.Value(i, 7)}),
            domainNames.count(name) > 0);
    }
    for (size_t i = 0; i < terms.rows.size(); ++i) {
        const QString logical = terms.rows.Value(i, 1), physical = terms.rows.Value(i, 2);
        add(Terms, terms.rows.Value(i, 0), logical,
            Signature({physical, terms.rows.Value(i, 3), terms.rows.Value(i, 4)}),
            termPairs.count({logical, physical}) || termNames.count(logical));
    }
    for (size_t i = 0; i < groups.rows.size(); ++i)
        m_groups.try_emplace(groups.rows.Value(i, 1), groups.rows.Value(i, 0));
    return true;
}

const CAreaUpgrade::Prior* CAreaUpgrade::Match(Table table, const QString& key, const QString& signature)
{
    auto it = m_byKey[table].find(key);
    if (it == m_byKey[table].end() || m_rows[table][it->second].matched) {
        ++m_counts[table].added;
        return nullptr;
    }
    Prior& p = m_rows[table][it->second];
    p.matched = true;
    p.changed = p.signature != signature;
    ++(p.changed ? m_counts[table].changed : m_counts[table].unchanged);
    return &p;
}

std::vector<QString> CAreaUpgrade::ToClose(Table table)
{
    std::vector<QString> ids;
    for (const Prior& p : m_rows[table]) {
        if (!p.edition)
            continue;
        if (!p.matched)
            ++m_counts[table].withdrawn;
        if (!p.matched || p.changed)
            ids.push_back(p.id);
    }
    return ids;
}

bool CAreaUpgrade::Holds(Table table, const QString& key) const
{
    auto it = m_byKey[table].find(key);
    return it != m_byKey[table].end() && m_rows[table][it->second].matched && !m_rows[table][it->second].changed;
}

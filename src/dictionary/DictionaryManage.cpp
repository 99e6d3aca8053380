#include "dictionary/DictionaryManage.h"

#include "components/QrDatatype.h"
#include "dictionary/SimilarWordReview.h"
#include "repository/ColumnLimits.h"

namespace DictionaryManage {

QString CellProblem(ManageKind kind, ManageList list, int column, const QString& text)
{
    struct Field
    {
        const char* table;
        const char* column;
        FieldCheck::Lines lines;
    };
    using L = FieldCheck::Lines;
    // By grid column; the check box (0) and the domain's remark are never stored.
    static const std::vector<Field> words = {{nullptr, nullptr, L::One},
                                             {"STD_ANLY_WORD", "WORD_LOG_NM", L::One},
                                             {"STD_ANLY_WORD", "WORD_PHY_NM", L::One},
                                             {"STD_ANLY_WORD", "WORD_PHY_FULL_NM", L::One},
                                             {"STD_ANLY_WORD", "WORD_DESC", L::Many}};
    static const std::vector<Field> domains = {{nullptr, nullptr, L::One},
                                               {"STD_ANLY_DOMAIN", "KEY_DOM_NM", L::One},
                                               {"STD_ANLY_DOMAIN", "DOM_NM", L::One},
                                               {"STD_ANLY_DOMAIN", "DATA_TYPE", L::One},
                                               {"STD_ANLY_DOMAIN", "DATA_LEN", L::One},
                                               {"STD_ANLY_DOMAIN", "DATA_SCALE", L::One}};
    static const std::vector<Field> excluded = {{nullptr, nullptr, L::One}, {"STD_ANLY_EXCEPT", "EXCEPT_NM", L::One}};
    static const CColumnLimits limits = CColumnLimits::Bundled(GlobalEnum::DBMS_SQLITE);
    const std::vector<Field>& fields = list == ManageList::Excluded ? excluded
                                       : kind == ManageKind::Words  ? words
                                                                    : domains;
    if (column < 0 || size_t(column) >= fields.size() || !fields[size_t(column)].table)
        return {};
    const Field& f = fields[size_t(column)];
    return FieldCheck::Problem(text, limits.Of(QString::fromLatin1(f.table), QString::fromLatin1(f.column)), f.lines);
}

std::vector<ManageWordRow> WordRows(const CAnalyzeSettings& dictionary)
{
    std::vector<ManageWordRow> rows;
    for (const auto& [physical, byLogical] : dictionary.m_mapWordsByPhysical)
        for (const auto& [logical, word] : byLogical)
            rows.push_back({logical, physical, word.strPhyFullName, word.strDescription, false});
    return rows;
}

std::vector<ManageDomainRow> DomainRows(const CAnalyzeSettings& dictionary)
{
    std::vector<ManageDomainRow> rows;
    for (const auto& [key, byName] : dictionary.m_mapDomains)
        for (const auto& [name, domain] : byName)
            rows.push_back({key, name, domain.strDataType, domain.strLength, domain.strScale, domain.strExtra, false});
    return rows;
}

void DropExcludedInUse(CAnalyzeSettings& dictionary)
{
    std::erase_if(dictionary.m_setExceptWords,
                  [&](const QString& w) { return dictionary.m_mapWordsByLogical.count(w) != 0; });
    std::erase_if(dictionary.m_setExceptDomains,
                  [&](const QString& d) { return dictionary.m_mapDomains.count(d) != 0; });
    dictionary.Touch();
}

void StoreWordRows(CAnalyzeSettings& dictionary, const std::vector<ManageWordRow>& rows)
{
    const WordIndex before = dictionary.m_mapWordsByPhysical;
    dictionary.ClearWords();
    for (const ManageWordRow& row : rows) {
        if (!row.HasKeys())
            continue;
        _stAnalyzeManageWord word;
        word.nClassWord = 0;
        word.nStandard = 1;
        // A word marked non-standard elsewhere stays so: the grid cannot show or change the flag.
        if (auto p = before.find(row.physical); p != before.end())
            if (auto l = p->second.find(row.logical); l != p->second.end())
                word = l->second;
        word.strPhyFullName = row.fullName;
        word.strDescription = row.definition;
        dictionary.AddWord(row.physical, row.logical, word);
    }
    DropExcludedInUse(dictionary);
}

void StoreExceptWords(CAnalyzeSettings& dictionary, const QStringList& names)
{
    dictionary.m_setExceptWords.clear();
    for (const QString& name : names)
        if (!name.isEmpty() && dictionary.m_mapWordsByLogical.count(name) == 0)
            dictionary.m_setExceptWords.insert(name);
    DropExcludedInUse(dictionary);
}

void StoreDomainRows(CAnalyzeSettings& dictionary, const std::vector<ManageDomainRow>& rows)
{
    const DomainIndex before = dictionary.m_mapDomains;
    dictionary.m_mapDomains.clear();
    for (const ManageDomainRow& row : rows) {
        if (!row.IsComplete())
            continue;
        _stAnalyzeManageDomain domain;
        if (auto k = before.find(row.key); k != before.end())
            if (auto n = k->second.find(row.name); n != k->second.end())
                domain = n->second;
        domain.strDataType = row.type;
        domain.strLength = row.length;
        domain.strScale = row.scale;
        dictionary.AddDomain(row.key, row.name, domain);
    }
    DropExcludedInUse(dictionary);
}

void StoreExceptDomains(CAnalyzeSettings& dictionary, const QStringList& names)
{
    dictionary.m_setExceptDomains.clear();
    for (const QString& name : names)
        if (!name.isEmpty() && dictionary.m_mapDomains.count(name) == 0)
            dictionary.m_setExceptDomains.insert(name);
    DropExcludedInUse(dictionary);
}

SearchHit FindNext(const std::vector<QStringList>& rows, const QString& text, int current, bool twoColumns)
{
    if (text.isEmpty() || rows.empty())
        return {};
    const QString wanted = text.toUpper();
    const int count = int(rows.size());
    auto match = [&](int r) -> SearchHit {
        const QStringList& cells = rows[size_t(r)];
        if (!cells.isEmpty() && cells[0].toUpper().contains(wanted))
            return {r, 1};
        if (twoColumns && cells.size() > 1 && cells[1].toUpper().contains(wanted))
            return {r, 2};
        return {};
    };
    if (current < 0 || current >= count) {
        for (int r = 0; r < count; ++r)
            if (SearchHit hit = match(r); hit.row >= 0)
                return hit;
        return {};
    }
    for (int r = current + 1; r < count; ++r)
        if (SearchHit hit = match(r); hit.row >= 0)
            return hit;
    for (int r = 0; r <= current; ++r)
        if (SearchHit hit = match(r); hit.row >= 0)
            return hit;
    return {};
}

CollectedNames ChooseNames(const std::set<QString>& englishNames, const std::set<QString>& definitions,
                           const ManageWordRow& row)
{
    CollectedNames out;
    out.fullName = row.fullName;
    out.definition = row.definition;
    if (!definitions.empty()) {
        std::set<QString> choices = definitions;
        if (!row.definition.isEmpty())
            choices.insert(row.definition);
        out.definitionFound = true;
        out.definitions = QStringList(choices.begin(), choices.end());
        if (row.definition.isEmpty())
            out.definition = *definitions.begin();
    }
    if (!englishNames.empty()) {
        std::set<QString> choices = englishNames;
        if (!row.fullName.isEmpty())
            choices.insert(row.fullName);
        out.fullNameFound = true;
        out.fullNames = QStringList(choices.begin(), choices.end());
        if (row.fullName.isEmpty()) {
            const QString target = row.physical.toLower();
            int best = -1;
            for (const QString& name : englishNames) {
                const int d = SimilarWords::DistanceThirds(name, target);
                if (best < 0 || d < best) {
                    best = d;
                    out.fullName = name;
                }
            }
        }
    }
    return out;
}

CollectedNames CollectNames(const CAnalyzeSettings& dictionary, const ManageWordRow& row)
{
    std::set<QString> names, definitions;
    if (!row.HasKeys() || !dictionary.LookupDictionaryNames(row.logical, names, definitions))
        return ChooseNames({}, {}, row);
    return ChooseNames(names, definitions, row);
}

QString AutoDomainName(const CAnalyzeSettings& dictionary, const ManageDomainRow& row)
{
    if (row.key.isEmpty() || row.type.isEmpty() || !dictionary.IsKnownDataType(row.type))
        return {};
    return dictionary.BuildDomainName(row.key, row.type, row.length, row.scale);
}

} // namespace DictionaryManage

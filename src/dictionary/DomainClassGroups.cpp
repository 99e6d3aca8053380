#include "dictionary/DomainClassGroups.h"

#include "dictionary/DictionaryTexts.h"

#include <map>
#include <set>
#include <utility>

QStringList CDomainClassGroups::Headers()
{
    using namespace DictionaryTexts;
    return {HeaderClass, HeaderKeyDomain, HeaderDomain, HeaderType, HeaderLength, HeaderScale, HeaderRemark};
}

std::vector<CDomainClassGroups::Row> CDomainClassGroups::Build(const DomainIndex& domains)
{
    // (ending length, ending) orders by length first, then ordinally by text.
    std::map<std::pair<qsizetype, QString>, std::set<QString>> groups;
    for (const auto& [keyDomain, inner] : domains) {
        if (inner.empty())
            continue; // nothing to list; would only leave an empty group behind
        for (qsizetype length = 2; length <= keyDomain.size(); ++length)
            groups[{length, keyDomain.right(length)}].insert(keyDomain);
    }
    std::vector<Row> rows;
    int group = 0;
    for (const auto& [ending, keyDomains] : groups) {
        if (keyDomains.size() < 2)
            continue;
        for (const QString& keyDomain : keyDomains)
            for (const auto& [name, domain] : domains.at(keyDomain))
                rows.push_back(
                    {ending.second, keyDomain, name, domain.strDataType, domain.strLength, domain.strScale, group});
        ++group;
    }
    return rows;
}

QString CDomainClassGroups::CellText(const Row& row, int column)
{
    switch (column) {
    case ColClass:
        return row.suffix;
    case ColKeyDomain:
        return row.keyDomain;
    case ColDomain:
        return row.domain;
    case ColType:
        return row.type;
    case ColLength:
        return row.length;
    case ColScale:
        return row.scale;
    default:
        return {};
    }
}

quint32 CDomainClassGroups::RowColour(const Row& row)
{
    return DictionaryColours::GroupColour(row.group);
}

ReviewSearchHit CDomainClassGroups::FindNext(const std::vector<Row>& rows, const QString& text, int currentRow)
{
    return FindNextRow(
        int(rows.size()), [&rows](int row, int column) { return CellText(rows[size_t(row)], column); },
        {ColKeyDomain, ColDomain}, text, currentRow);
}

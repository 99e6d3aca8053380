#include "repository/RepositoryShareData.h"

#include <map>

QStringList CRepositoryShareData::KindNames()
{
    return {QStringLiteral("분석 단어 공유데이터"), QStringLiteral("분석 도메인 공유데이터"),
            QStringLiteral("분석 제외 단어 공유데이터"), QStringLiteral("분석 제외 도메인 공유데이터")};
}

QStringList CRepositoryShareData::Columns(ESharedDataKind kind)
{
    switch (kind) {
    case ESharedDataKind::Words:
        return {QStringLiteral("선택"),        QStringLiteral("단어 논리명"),
                QStringLiteral("단어 물리명"), QStringLiteral("단어 물리전체명"),
                QStringLiteral("단어 작업자"), QStringLiteral("정의")};
    case ESharedDataKind::Domains:
        return {QStringLiteral("선택"),          QStringLiteral("키도메인명"), QStringLiteral("도메인명"),
                QStringLiteral("데이터타입"),    QStringLiteral("길이"),       QStringLiteral("스케일"),
                QStringLiteral("도메인 작업자"), QStringLiteral("비고")};
    case ESharedDataKind::ExceptWords:
        return {QStringLiteral("선택"), QStringLiteral("제외 단어명"), QStringLiteral("단어 작업자"),
                QStringLiteral("비고")};
    case ESharedDataKind::ExceptDomains:
        return {QStringLiteral("선택"), QStringLiteral("제외 도메인명"), QStringLiteral("도메인 작업자"),
                QStringLiteral("비고")};
    }
    return {};
}

bool CRepositoryShareData::Load(CSqlBaseGate* gate, ESharedDataKind kind)
{
    m_kind = kind;
    m_rows.clear();
    m_words.clear();
    m_domains.clear();
    if (!gate || !gate->IsOpen())
        return true;
    bool ok = true;
    switch (kind) {
    case ESharedDataKind::Words:
        ok = gate->SelectAnalyzeWords(m_words);
        for (const auto& [physical, byLogical] : m_words)
            for (const auto& [logical, w] : byLogical)
                m_rows.push_back({{logical, physical, w.strPhyFullName, w.strAuthority, w.strDescription},
                                  w.strAuthority,
                                  physical,
                                  logical});
        break;
    case ESharedDataKind::Domains:
        ok = gate->SelectAnalyzeDomains(m_domains);
        for (const auto& [key, byName] : m_domains)
            for (const auto& [name, d] : byName)
                m_rows.push_back({{key, name, d.strDataType, d.strLength, d.strScale, d.strAuthority, d.strExtra},
                                  d.strAuthority,
                                  key,
                                  name});
        break;
    case ESharedDataKind::ExceptWords:
    case ESharedDataKind::ExceptDomains: {
        ExceptNameMap names;
        ok = kind == ESharedDataKind::ExceptWords ? gate->SelectExceptWords(names) : gate->SelectExceptDomains(names);
        for (const auto& [name, author] : names)
            m_rows.push_back({{name, author, QString()}, author, name, QString()});
        break;
    }
    }
    return ok;
}

std::vector<std::pair<QString, int>> CRepositoryShareData::AuthorCounts() const
{
    std::map<QString, int> counts;
    for (const SharedDataRow& row : m_rows)
        ++counts[row.author];
    if (counts.empty())
        return {{QStringLiteral("없음"), 0}};
    return {counts.begin(), counts.end()};
}

WordIndex CRepositoryShareData::SelectedWords(const std::vector<int>& rows) const
{
    WordIndex out;
    for (int r : rows) {
        if (r < 0 || r >= int(m_rows.size()))
            continue;
        const SharedDataRow& row = m_rows[size_t(r)];
        auto byPhysical = m_words.find(row.key);
        if (byPhysical == m_words.end())
            continue;
        if (auto w = byPhysical->second.find(row.name); w != byPhysical->second.end())
            out[row.key][row.name] = w->second;
    }
    return out;
}

DomainIndex CRepositoryShareData::SelectedDomains(const std::vector<int>& rows) const
{
    DomainIndex out;
    for (int r : rows) {
        if (r < 0 || r >= int(m_rows.size()))
            continue;
        const SharedDataRow& row = m_rows[size_t(r)];
        auto byKey = m_domains.find(row.key);
        if (byKey == m_domains.end())
            continue;
        if (auto d = byKey->second.find(row.name); d != byKey->second.end())
            out[row.key][row.name] = d->second;
    }
    return out;
}

bool CRepositoryShareData::Delete(CSqlBaseGate* gate, const std::vector<int>& rows) const
{
    if (!gate || !gate->IsOpen())
        return false;
    switch (m_kind) {
    case ESharedDataKind::Words:
        return gate->DeleteAnalyzeWords(SelectedWords(rows));
    case ESharedDataKind::Domains:
        return gate->DeleteAnalyzeDomains(SelectedDomains(rows));
    case ESharedDataKind::ExceptWords:
    case ESharedDataKind::ExceptDomains: {
        std::set<QString> names;
        for (int r : rows)
            if (r >= 0 && r < int(m_rows.size()))
                names.insert(m_rows[size_t(r)].key);
        return m_kind == ESharedDataKind::ExceptWords ? gate->DeleteExceptWords(names)
                                                      : gate->DeleteExceptDomains(names);
    }
    }
    return false;
}

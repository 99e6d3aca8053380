#include "analysis/WordSplitIndex.h"

#include "settings/AnalyzeSettings.h"

namespace {
constexpr uint64_t kEmptyEdge = ~uint64_t(0);
}

void ReverseTrie::Clear()
{
    m_payload.assign(1, -1); // the root
    m_edgeKeys.assign(1024, kEmptyEdge);
    m_edgeChild.assign(1024, -1);
    m_edgeCount = 0;
    m_shift = 64 - 10;
}

int ReverseTrie::Child(int node, char16_t ch) const
{
    if (m_edgeKeys.empty())
        return -1;
    const uint64_t key = EdgeKey(node, ch);
    const size_t mask = m_edgeKeys.size() - 1;
    for (size_t slot = Slot(key);; slot = (slot + 1) & mask) {
        const uint64_t found = m_edgeKeys[slot];
        if (found == key)
            return m_edgeChild[slot];
        if (found == kEmptyEdge)
            return -1;
    }
}

void ReverseTrie::Grow()
{
    std::vector<uint64_t> keys;
    std::vector<int> children;
    keys.swap(m_edgeKeys);
    children.swap(m_edgeChild);
    m_edgeKeys.assign(keys.size() * 2, kEmptyEdge);
    m_edgeChild.assign(keys.size() * 2, -1);
    --m_shift;
    const size_t mask = m_edgeKeys.size() - 1;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == kEmptyEdge)
            continue;
        size_t slot = Slot(keys[i]);
        while (m_edgeKeys[slot] != kEmptyEdge)
            slot = (slot + 1) & mask;
        m_edgeKeys[slot] = keys[i];
        m_edgeChild[slot] = children[i];
    }
}

int ReverseTrie::AddChild(int node, char16_t ch)
{
    const int existing = Child(node, ch);
    if (existing >= 0)
        return existing;
    if ((m_edgeCount + 1) * 2 > m_edgeKeys.size()) // keep the table at most half full
        Grow();
    const uint64_t key = EdgeKey(node, ch);
    const size_t mask = m_edgeKeys.size() - 1;
    size_t slot = Slot(key);
    while (m_edgeKeys[slot] != kEmptyEdge)
        slot = (slot + 1) & mask;
    const int child = int(m_payload.size());
    m_payload.push_back(-1);
    m_edgeKeys[slot] = key;
    m_edgeChild[slot] = child;
    ++m_edgeCount;
    return child;
}

void ReverseTrie::Insert(QStringView key, int payload)
{
    if (m_payload.empty())
        Clear();
    int node = 0;
    for (qsizetype i = key.size() - 1; i >= 0; --i)
        node = AddChild(node, key[i].unicode());
    m_payload[size_t(node)] = payload;
}

int ReverseTrie::LongestSuffix(const QChar* text, qsizetype end, int minLength, int& payload) const
{
    int best = 0;
    if (m_payload.empty())
        return 0;
    int node = 0;
    int depth = 0;
    for (qsizetype i = end - 1; i >= 0; --i) {
        node = Child(node, text[i].unicode());
        if (node < 0)
            break;
        ++depth;
        const int p = m_payload[size_t(node)];
        if (p >= 0 && depth >= minLength) {
            best = depth;
            payload = p;
        }
    }
    return best;
}

void ReverseTrie::SuffixMatches(const QChar* text, qsizetype end, std::vector<std::pair<int, int>>& out) const
{
    out.clear();
    if (m_payload.empty())
        return;
    int node = 0;
    for (qsizetype i = end - 1; i >= 0; --i) {
        node = Child(node, text[i].unicode());
        if (node < 0)
            break;
        const int p = m_payload[size_t(node)];
        if (p >= 0)
            out.emplace_back(int(end - i), p);
    }
}

int ReverseTrie::Find(QStringView key) const
{
    if (m_payload.empty())
        return -1;
    int node = 0;
    for (qsizetype i = key.size() - 1; i >= 0 && node >= 0; --i)
        node = Child(node, key[i].unicode());
    return node < 0 ? -1 : m_payload[size_t(node)];
}

void WordSplitIndex::Refresh(const CAnalyzeSettings& settings)
{
    // Sizes guard against direct edits of the maps that forgot to bump the revision.
    const size_t sizes[5] = {settings.m_mapWordsByLogical.size(), settings.m_mapWordsByPhysical.size(),
                             settings.m_setExceptWords.size(), settings.m_setExceptDomains.size(),
                             settings.m_mapDomains.size()};
    if (m_source == &settings && m_revision == settings.Revision() && std::equal(sizes, sizes + 5, m_sizes))
        return;
    Rebuild(settings);
}

void WordSplitIndex::Rebuild(const CAnalyzeSettings& settings)
{
    m_source = &settings;
    m_revision = settings.Revision();
    m_sizes[0] = settings.m_mapWordsByLogical.size();
    m_sizes[1] = settings.m_mapWordsByPhysical.size();
    m_sizes[2] = settings.m_setExceptWords.size();
    m_sizes[3] = settings.m_setExceptDomains.size();
    m_sizes[4] = settings.m_mapDomains.size();

    m_logical.Clear();
    m_physical.Clear();
    m_keyDomains.Clear();
    m_partners.clear();
    m_partners.reserve(settings.m_mapWordsByLogical.size() + settings.m_mapWordsByPhysical.size());
    // Only names with at least one partner are words of the split; the partner is the
    // lowest-ordered one, as GetFirstPhysicalName / GetFirstLogicalName give it.
    for (const auto& [logical, byPhysical] : settings.m_mapWordsByLogical) {
        if (logical.isEmpty() || byPhysical.empty())
            continue;
        m_logical.Insert(logical, int(m_partners.size()));
        m_partners.push_back(byPhysical.begin()->first);
    }
    for (const auto& [physical, byLogical] : settings.m_mapWordsByPhysical) {
        if (physical.isEmpty() || byLogical.empty())
            continue;
        m_physical.Insert(physical, int(m_partners.size()));
        m_partners.push_back(byLogical.begin()->first);
    }
    for (const auto& entry : settings.m_mapDomains) {
        if (!entry.first.isEmpty())
            m_keyDomains.Insert(entry.first, 0);
    }
    m_exceptWords.clear();
    for (const QString& word : settings.m_setExceptWords)
        m_exceptWords.insert(word);
    m_exceptDomains.clear();
    for (const QString& name : settings.m_setExceptDomains)
        m_exceptDomains.insert(name);
}

bool WordSplitIndex::FirstPhysicalName(const QString& logical, QString& physical) const
{
    const int payload = m_logical.Find(logical);
    if (payload < 0)
        return false;
    physical = m_partners[size_t(payload)];
    return true;
}

bool WordSplitIndex::FirstLogicalName(const QString& physical, QString& logical) const
{
    const int payload = m_physical.Find(physical);
    if (payload < 0)
        return false;
    logical = m_partners[size_t(payload)];
    return true;
}

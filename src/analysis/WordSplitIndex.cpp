#include "analysis/WordSplitIndex.h"

#include "settings/AnalyzeSettings.h"

void ReverseTrie::Clear()
{
    m_build.assign(1, BuildNode{});
    m_root.clear();
    m_nodes.clear();
    m_edges.clear();
}

void ReverseTrie::Insert(QStringView key, int payload)
{
    if (m_build.empty())
        m_build.assign(1, BuildNode{});
    int node = 0;
    for (qsizetype i = key.size() - 1; i >= 0; --i) {
        const char16_t ch = LatinCase::Fold(key[i].unicode());
        auto& children = m_build[size_t(node)].children;
        const auto it = std::find_if(children.begin(), children.end(), [ch](const auto& e) { return e.first == ch; });
        if (it != children.end()) {
            node = it->second;
            continue;
        }
        const int child = int(m_build.size());
        m_build[size_t(node)].children.emplace_back(ch, child);
        m_build.emplace_back();
        node = child;
    }
    if (m_build[size_t(node)].payload < 0)
        m_build[size_t(node)].payload = payload;
}

void ReverseTrie::Freeze()
{
    if (m_build.empty())
        m_build.assign(1, BuildNode{});
    // Breadth-first numbering keeps the upper levels, which every walk visits, together.
    std::vector<int> order{0};
    std::vector<int> newId(m_build.size(), -1);
    newId[0] = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        auto& children = m_build[size_t(order[i])].children;
        std::sort(children.begin(), children.end());
        for (const auto& [ch, child] : children) {
            newId[size_t(child)] = int(order.size());
            order.push_back(child);
        }
    }
    m_nodes.assign(order.size(), Node{});
    m_edges.clear();
    m_edges.reserve(order.size());
    m_root.assign(0x10000, -1);
    for (size_t id = 0; id < order.size(); ++id) {
        const BuildNode& node = m_build[size_t(order[id])];
        m_nodes[id].first = uint32_t(m_edges.size());
        for (const auto& [ch, child] : node.children) {
            if (id == 0)
                m_root[ch] = int(m_edges.size());
            m_edges.push_back({ch, newId[size_t(child)], m_build[size_t(child)].payload});
        }
        m_nodes[id].last = uint32_t(m_edges.size());
    }
    m_build.clear();
    m_build.shrink_to_fit();
}

int ReverseTrie::LongestSuffix(const QChar* text, qsizetype end, int minLength, int& payload) const
{
    int best = 0;
    int node = 0;
    int depth = 0;
    for (qsizetype i = end - 1; i >= 0; --i) {
        const Edge* edge = Child(node, text[i].unicode());
        if (!edge)
            break;
        ++depth;
        if (edge->payload >= 0 && depth >= minLength) {
            best = depth;
            payload = edge->payload;
        }
        node = edge->child;
    }
    return best;
}

void ReverseTrie::SuffixMatches(const QChar* text, qsizetype end, std::vector<std::pair<int, int>>& out) const
{
    out.clear();
    int node = 0;
    for (qsizetype i = end - 1; i >= 0; --i) {
        const Edge* edge = Child(node, text[i].unicode());
        if (!edge)
            break;
        if (edge->payload >= 0)
            out.emplace_back(int(end - i), edge->payload);
        node = edge->child;
    }
}

int ReverseTrie::Find(QStringView key) const
{
    const Edge* edge = nullptr;
    int node = 0;
    for (qsizetype i = key.size() - 1; i >= 0; --i) {
        edge = Child(node, key[i].unicode());
        if (!edge)
            return -1;
        node = edge->child;
    }
    return edge ? edge->payload : -1;
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
    m_spellings.clear();
    const size_t keys =
        settings.m_mapWordsByLogical.size() + settings.m_mapWordsByPhysical.size() + settings.m_mapDomains.size();
    m_partners.reserve(keys);
    m_spellings.reserve(keys);
    // Only names with at least one partner are words of the split; the partner is the
    // lowest-ordered one, as GetFirstPhysicalName / GetFirstLogicalName give it. Partners
    // are copied here, one after the other, so the texts every match references sit
    // together instead of scattered over the dictionary's map nodes. Of keys that differ only
    // in the case of Latin letters the first in ordinal order (capitals) is the word.
    const auto addPartner = [this](const QString& key, const QString& partner) {
        m_partners.push_back(QString(partner.constData(), partner.size()));
        m_spellings.push_back(key);
        return int(m_partners.size() - 1);
    };
    for (const auto& [logical, byPhysical] : settings.m_mapWordsByLogical) {
        if (!logical.isEmpty() && !byPhysical.empty())
            m_logical.Insert(logical, addPartner(logical, byPhysical.begin()->first));
    }
    for (const auto& [physical, byLogical] : settings.m_mapWordsByPhysical) {
        if (!physical.isEmpty() && !byLogical.empty())
            m_physical.Insert(physical, addPartner(physical, byLogical.begin()->first));
    }
    for (const auto& entry : settings.m_mapDomains) {
        if (!entry.first.isEmpty())
            m_keyDomains.Insert(entry.first, addPartner(entry.first, entry.first));
    }
    m_logical.Freeze();
    m_physical.Freeze();
    m_keyDomains.Freeze();
    m_exceptWords.clear();
    m_exceptFirst.assign(1024, 0);
    for (const QString& word : settings.m_setExceptWords) {
        m_exceptWords.insert(LatinCase::Folded(word));
        if (!word.isEmpty()) {
            const char16_t first = LatinCase::Fold(word.front().unicode());
            m_exceptFirst[first >> 6] |= uint64_t(1) << (first & 63);
        }
    }
    m_exceptDomains.clear();
    for (const QString& name : settings.m_setExceptDomains)
        m_exceptDomains.insert(LatinCase::Folded(name));
}

bool WordSplitIndex::FirstPhysicalName(const QString& logical, QString& physical) const
{
    const int payload = m_logical.Find(logical);
    if (payload < 0)
        return false;
    physical = Partner(payload);
    return true;
}

bool WordSplitIndex::FirstLogicalName(const QString& physical, QString& logical) const
{
    const int payload = m_physical.Find(physical);
    if (payload < 0)
        return false;
    logical = Partner(payload);
    return true;
}

#pragma once
// Lookup structures over the analysis dictionary for the word and domain splits.
// A split asks "which dictionary words end here?" once per position; a trie over the
// reversed names answers that in one walk instead of one map lookup per suffix length.
// Latin letters match whatever their case (see LatinCase.h).
#include "analysis/LatinCase.h"

#include <QSet>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

class CAnalyzeSettings;

// Trie over reversed keys, each key carrying an integer payload. Keys are inserted, then
// Freeze() lays the nodes out breadth-first with each node's edges sorted and contiguous,
// and the root's edges in a direct table, so a walk touches few cache lines.
class ReverseTrie
{
public:
    void Clear();
    // Keys are folded to capital Latin letters; an insert of a key already there (the same, or
    // the same in another case) keeps the first payload.
    void Insert(QStringView key, int payload);
    // Builds the lookup layout; lookups see only what was inserted before it.
    void Freeze();
    // Longest key of at least minLength characters that ends text at `end`; its length
    // (0 when none) and payload.
    int LongestSuffix(const QChar* text, qsizetype end, int minLength, int& payload) const;
    // Every key ending text at `end`, shortest first, as (length, payload).
    void SuffixMatches(const QChar* text, qsizetype end, std::vector<std::pair<int, int>>& out) const;
    // Payload of the exact key, -1 when absent.
    int Find(QStringView key) const;
    size_t NodeCount() const { return m_nodes.size(); }

private:
    struct Node
    {
        uint32_t first = 0; // edges [first, last), sorted by character
        uint32_t last = 0;
    };
    struct Edge
    {
        char16_t ch;
        int child;
        int payload; // of the child; -1 when no key ends there
    };

    // The edge from node under ch, null when none. Edges carry their child's payload, so a
    // walk reads a node only to go deeper.
    const Edge* Child(int node, char16_t ch) const
    {
        ch = LatinCase::Fold(ch);
        if (node == 0) {
            if (m_root.empty())
                return nullptr;
            const int e = m_root[ch];
            return e < 0 ? nullptr : &m_edges[size_t(e)];
        }
        const Node& n = m_nodes[size_t(node)];
        const Edge* begin = m_edges.data() + n.first;
        const Edge* end = m_edges.data() + n.last;
        if (n.last - n.first <= 8) {
            for (const Edge* e = begin; e < end; ++e) {
                if (e->ch == ch)
                    return e;
            }
            return nullptr;
        }
        const Edge* it = std::lower_bound(begin, end, ch, [](const Edge& e, char16_t c) { return e.ch < c; });
        return it != end && it->ch == ch ? it : nullptr;
    }

    struct BuildNode
    {
        std::vector<std::pair<char16_t, int>> children;
        int payload = -1;
    };
    std::vector<BuildNode> m_build;

    std::vector<int> m_root; // index of the root's edge by character, -1 when none
    std::vector<Node> m_nodes;
    std::vector<Edge> m_edges;
};

// Both word tries and the excluded-word set of one dictionary state. Refresh() rebuilds
// when the settings object reports a change.
class WordSplitIndex
{
public:
    // Rebuilds when the dictionary changed since the last call.
    void Refresh(const CAnalyzeSettings& settings);
    void Rebuild(const CAnalyzeSettings& settings);

    // Logical words that have a physical name -> the lowest physical name.
    const ReverseTrie& LogicalTrie() const { return m_logical; }
    // Physical words that have a logical name -> the lowest logical name.
    const ReverseTrie& PhysicalTrie() const { return m_physical; }
    // Key domains of the dictionary's domain index (payload: for Spelling).
    const ReverseTrie& KeyDomainTrie() const { return m_keyDomains; }
    const QString& Partner(int payload) const { return m_partners[size_t(payload)]; }
    // The dictionary's own spelling of the word (or key domain) a payload stands for: the word
    // as written may differ in the case of its Latin letters.
    const QString& Spelling(int payload) const { return m_spellings[size_t(payload)]; }
    // The same looked up by text; empty when the word is not in that trie.
    QString LogicalSpelling(const QString& logical) const { return SpellingIn(m_logical, logical); }
    QString PhysicalSpelling(const QString& physical) const { return SpellingIn(m_physical, physical); }
    QString KeyDomainSpelling(const QString& name) const { return SpellingIn(m_keyDomains, name); }

    // Same answers as CAnalyzeSettings::GetFirstPhysicalName / GetFirstLogicalName.
    bool FirstPhysicalName(const QString& logical, QString& physical) const;
    bool FirstLogicalName(const QString& physical, QString& logical) const;
    bool IsExceptWord(const QString& word) const
    {
        if (m_exceptWords.isEmpty())
            return false;
        // Most words fail on their first character, which spares hashing them.
        if (!word.isEmpty()) {
            const char16_t first = LatinCase::Fold(word.front().unicode());
            if (!(m_exceptFirst[first >> 6] >> (first & 63) & 1))
                return false;
        }
        return m_exceptWords.contains(LatinCase::Folded(word));
    }
    bool IsExceptDomain(const QString& name) const
    {
        return !m_exceptDomains.isEmpty() && m_exceptDomains.contains(LatinCase::Folded(name));
    }
    bool IsKeyDomain(const QString& name) const { return m_keyDomains.Find(name) >= 0; }

private:
    QString SpellingIn(const ReverseTrie& trie, const QString& text) const
    {
        const int payload = trie.Find(text);
        return payload < 0 ? QString() : m_spellings[size_t(payload)];
    }

    const CAnalyzeSettings* m_source = nullptr;
    quint64 m_revision = ~quint64(0);
    size_t m_sizes[5] = {};
    ReverseTrie m_logical;
    ReverseTrie m_physical;
    ReverseTrie m_keyDomains;
    std::vector<QString> m_partners;
    std::vector<QString> m_spellings;                                  // by payload, beside m_partners
    QSet<QString> m_exceptWords;                                       // folded
    std::vector<uint64_t> m_exceptFirst = std::vector<uint64_t>(1024); // first characters of excluded words
    QSet<QString> m_exceptDomains;                                     // folded
};

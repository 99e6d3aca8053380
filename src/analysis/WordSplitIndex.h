#pragma once
// Lookup structures over the analysis dictionary for the word and domain splits.
// A split asks "which dictionary words end here?" once per position; a trie over the
// reversed names answers that in one walk instead of one map lookup per suffix length.
#include <QSet>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <utility>
#include <vector>

class CAnalyzeSettings;

// Trie over reversed keys, each key carrying an integer payload.
class ReverseTrie
{
public:
    void Clear();
    // A later insert of the same key replaces the payload.
    void Insert(QStringView key, int payload);
    // Longest key of at least minLength characters that ends text at `end`; its length
    // (0 when none) and payload.
    int LongestSuffix(const QChar* text, qsizetype end, int minLength, int& payload) const;
    // Every key ending text at `end`, shortest first, as (length, payload).
    void SuffixMatches(const QChar* text, qsizetype end, std::vector<std::pair<int, int>>& out) const;
    // Payload of the exact key, -1 when absent.
    int Find(QStringView key) const;
    size_t NodeCount() const { return m_payload.size(); }

private:
    int Child(int node, char16_t ch) const;
    int AddChild(int node, char16_t ch);
    void Grow();
    static uint64_t EdgeKey(int node, char16_t ch) { return (uint64_t(uint32_t(node)) << 16) | ch; }
    size_t Slot(uint64_t key) const { return size_t((key * 0x9E3779B97F4A7C15ull) >> m_shift); }

    std::vector<int> m_payload;     // per node; -1 when no key ends there
    std::vector<uint64_t> m_edgeKeys; // open addressing: (parent << 16 | char) -> child
    std::vector<int> m_edgeChild;
    size_t m_edgeCount = 0;
    int m_shift = 64;
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
    // Key domains of the dictionary's domain index (payload unused).
    const ReverseTrie& KeyDomainTrie() const { return m_keyDomains; }
    const QString& Partner(int payload) const { return m_partners[size_t(payload)]; }

    // Same answers as CAnalyzeSettings::GetFirstPhysicalName / GetFirstLogicalName.
    bool FirstPhysicalName(const QString& logical, QString& physical) const;
    bool FirstLogicalName(const QString& physical, QString& logical) const;
    bool IsExceptWord(const QString& word) const { return !m_exceptWords.isEmpty() && m_exceptWords.contains(word); }
    bool IsExceptDomain(const QString& name) const
    {
        return !m_exceptDomains.isEmpty() && m_exceptDomains.contains(name);
    }
    bool IsKeyDomain(const QString& name) const { return m_keyDomains.Find(name) >= 0; }

private:
    const CAnalyzeSettings* m_source = nullptr;
    quint64 m_revision = ~quint64(0);
    size_t m_sizes[5] = {};
    ReverseTrie m_logical;
    ReverseTrie m_physical;
    ReverseTrie m_keyDomains;
    std::vector<QString> m_partners;
    QSet<QString> m_exceptWords;
    QSet<QString> m_exceptDomains;
};

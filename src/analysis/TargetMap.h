#pragma once
// Analysis targets keyed by text, kept in the order their keys first appeared.
#include <QHash>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

template <class T> class TargetMap
{
public:
    using Entry = std::pair<QString, T>;

    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool empty() const { return m_entries.empty(); }
    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    bool contains(const QString& key) const { return m_index.contains(key); }
    T* find(const QString& key)
    {
        const auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[size_t(*it)].second;
    }
    const T* find(const QString& key) const
    {
        const auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[size_t(*it)].second;
    }
    // Position in first-appearance order, -1 when absent.
    qsizetype indexOf(const QString& key) const { return m_index.value(key, -1); }

    // Finds or appends a default entry.
    T& operator[](const QString& key)
    {
        const auto it = m_index.constFind(key);
        if (it != m_index.cend())
            return m_entries[size_t(*it)].second;
        m_index.insert(key, qsizetype(m_entries.size()));
        m_entries.emplace_back(key, T{});
        return m_entries.back().second;
    }

    bool remove(const QString& key)
    {
        const qsizetype at = indexOf(key);
        if (at < 0)
            return false;
        m_entries.erase(m_entries.begin() + at);
        m_index.remove(key);
        for (size_t i = size_t(at); i < m_entries.size(); ++i)
            m_index[m_entries[i].first] = qsizetype(i);
        return true;
    }

    // Gives an entry a new, unused key in its place; false when the key is taken.
    bool rename(const QString& from, const QString& to)
    {
        const qsizetype at = indexOf(from);
        if (at < 0 || contains(to))
            return false;
        m_index.remove(from);
        m_index.insert(to, at);
        m_entries[size_t(at)].first = to;
        return true;
    }

    const QString& keyAt(qsizetype i) const { return m_entries[size_t(i)].first; }
    T& at(qsizetype i) { return m_entries[size_t(i)].second; }
    const T& at(qsizetype i) const { return m_entries[size_t(i)].second; }

    // Positions in first-appearance order, or by ordinal key order.
    std::vector<qsizetype> order(bool byKey) const
    {
        std::vector<qsizetype> positions(m_entries.size());
        for (size_t i = 0; i < positions.size(); ++i)
            positions[i] = qsizetype(i);
        if (byKey)
            std::stable_sort(positions.begin(), positions.end(), [&](qsizetype a, qsizetype b) {
                return m_entries[size_t(a)].first < m_entries[size_t(b)].first;
            });
        return positions;
    }

    auto begin() { return m_entries.begin(); }
    auto end() { return m_entries.end(); }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

private:
    std::vector<Entry> m_entries;
    QHash<QString, qsizetype> m_index;
};

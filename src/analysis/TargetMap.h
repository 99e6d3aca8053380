#pragma once
// Analysis targets keyed by text, kept in the order their keys first appeared.
// While keys arrive in ascending order (a saved document's do) no hash is kept: order makes
// them unique and a lookup is a binary search. The first key out of order, a removal or a
// rename builds the hash once and it is kept from then on.
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
        m_dead.clear();
        m_hashed = false;
        m_capacity = 0;
    }

    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    T* find(const QString& key)
    {
        const qsizetype at = indexOf(key);
        return at < 0 ? nullptr : &m_entries[size_t(at)].second;
    }
    const T* find(const QString& key) const
    {
        const qsizetype at = indexOf(key);
        return at < 0 ? nullptr : &m_entries[size_t(at)].second;
    }
    // The same, looked for first at position `hint` (where the key stood when last seen), which
    // spares the hash for a caller walking the keys in order.
    const T* find(const QString& key, qsizetype hint) const
    {
        if (hint >= 0 && hint < size() && m_dead.empty() && m_entries[size_t(hint)].first == key)
            return &m_entries[size_t(hint)].second;
        return find(key);
    }
    // Position in first-appearance order, -1 when absent.
    qsizetype indexOf(const QString& key) const
    {
        if (m_hashed)
            return m_index.value(key, -1);
        const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                         [](const Entry& entry, const QString& k) { return entry.first < k; });
        return it != m_entries.end() && it->first == key ? qsizetype(it - m_entries.begin()) : -1;
    }

    // Finds or appends a default entry.
    T& operator[](const QString& key)
    {
        if (appendsInOrder(key)) {
            m_entries.emplace_back(key, T{});
            return m_entries.back().second;
        }
        // One hash lookup: a new key shows as a grown index.
        const qsizetype before = m_index.size();
        qsizetype& at = m_index[key];
        if (m_index.size() == before)
            return m_entries[size_t(at)].second;
        at = qsizetype(m_entries.size());
        m_entries.emplace_back(key, T{});
        return m_entries.back().second;
    }

    // Appends value under a new key, or hands it to fold(existing, std::move(value)).
    template <class Fold> void insertOrFold(const QString& key, T&& value, Fold fold)
    {
        if (appendsInOrder(key)) {
            m_entries.emplace_back(key, std::move(value));
            return;
        }
        const qsizetype before = m_index.size();
        qsizetype& at = m_index[key];
        if (m_index.size() == before) {
            fold(m_entries[size_t(at)].second, std::move(value));
            return;
        }
        at = qsizetype(m_entries.size());
        m_entries.emplace_back(key, std::move(value));
    }

    bool remove(const QString& key)
    {
        const bool removed = removeLater(key);
        compact();
        return removed;
    }

    // Removal of many keys in one pass: the key is gone from lookups at once and its slot
    // goes with the next compact(). Until then size(), positions and iteration still count
    // the slot, so only find, contains, rename and operator[] are meant in between.
    bool removeLater(const QString& key)
    {
        hash();
        const auto it = m_index.constFind(key);
        if (it == m_index.cend())
            return false;
        m_dead.push_back(size_t(*it));
        m_index.erase(it);
        return true;
    }
    void compact()
    {
        if (m_dead.empty())
            return;
        std::sort(m_dead.begin(), m_dead.end());
        size_t out = m_dead.front();
        size_t next = 0;
        for (size_t i = m_dead.front(); i < m_entries.size(); ++i) {
            if (next < m_dead.size() && m_dead[next] == i) {
                ++next;
                continue;
            }
            if (out != i)
                m_entries[out] = std::move(m_entries[i]);
            m_index[m_entries[out].first] = qsizetype(out);
            ++out;
        }
        m_entries.resize(out);
        m_dead.clear();
    }
    void reserve(qsizetype n)
    {
        m_entries.reserve(size_t(n));
        m_capacity = n;
        if (m_hashed)
            m_index.reserve(n);
    }

    // Gives an entry a new, unused key in its place; false when the key is taken.
    bool rename(const QString& from, const QString& to)
    {
        hash();
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
    // True when `key` may be appended without the hash: still unhashed and after the last key.
    // Otherwise the hash is built, so the caller goes on with it.
    bool appendsInOrder(const QString& key)
    {
        if (!m_hashed && (m_entries.empty() || m_entries.back().first < key))
            return true;
        hash();
        return false;
    }
    void hash()
    {
        if (m_hashed)
            return;
        m_index.reserve(std::max(m_capacity, qsizetype(m_entries.size()) + 1));
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_index.insert(m_entries[i].first, qsizetype(i));
        m_hashed = true;
    }

    std::vector<Entry> m_entries;
    QHash<QString, qsizetype> m_index;  // complete while m_hashed, empty before
    std::vector<size_t> m_dead;         // slots removed from the index, not yet from m_entries
    qsizetype m_capacity = 0;           // as reserved, for the hash when it comes
    bool m_hashed = false;
};

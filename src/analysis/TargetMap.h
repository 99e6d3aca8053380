#pragma once
// Analysis targets keyed by text, kept in the order their keys first appeared.
// While keys arrive in ascending order (a saved document's do) no hash is kept: order makes
// them unique and a lookup is a binary search. The first key out of order, a removal or a
// rename builds the hash once and it is kept from then on. The hash holds positions only (four
// bytes a slot, the keys stay in the entries), as a list of a million targets would otherwise
// keep a second table of its keys.
#include <QHash>
#include <QString>
#include <algorithm>
#include <cstdint>
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
        m_filled = 0;
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
        if (m_hashed) {
            const size_t slot = slotOf(key);
            return Holds(m_index[slot]) ? qsizetype(m_index[slot] - 1) : -1;
        }
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
        // One probe: the slot found is the key's, or where it goes.
        const size_t slot = slotOf(key);
        if (Holds(m_index[slot]))
            return m_entries[m_index[slot] - 1].second;
        m_entries.emplace_back(key, T{});
        place(slot);
        return m_entries.back().second;
    }

    // Appends value under a new key, or hands it to fold(existing, std::move(value)).
    template <class Fold> void insertOrFold(const QString& key, T&& value, Fold fold)
    {
        if (appendsInOrder(key)) {
            m_entries.emplace_back(key, std::move(value));
            return;
        }
        const size_t slot = slotOf(key);
        if (Holds(m_index[slot])) {
            fold(m_entries[m_index[slot] - 1].second, std::move(value));
            return;
        }
        m_entries.emplace_back(key, std::move(value));
        place(slot);
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
        const size_t slot = slotOf(key);
        if (!Holds(m_index[slot]))
            return false;
        m_dead.push_back(m_index[slot] - 1);
        m_index[slot] = kGone;
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
            ++out;
        }
        m_entries.resize(out);
        m_dead.clear();
        rehash(m_index.size());
    }
    void reserve(qsizetype n)
    {
        m_entries.reserve(size_t(n));
        m_capacity = n;
        if (m_hashed && SlotsFor(size_t(n)) > m_index.size())
            rehash(SlotsFor(size_t(n)));
    }

    // Gives an entry a new, unused key in its place; false when the key is taken.
    bool rename(const QString& from, const QString& to)
    {
        hash();
        const qsizetype at = indexOf(from);
        if (at < 0 || contains(to))
            return false;
        m_index[slotOf(from)] = kGone;
        m_entries[size_t(at)].first = to;
        place(slotOf(to), size_t(at));
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
        m_hashed = true;
        rehash(SlotsFor(std::max(size_t(m_capacity), m_entries.size() + 1)));
    }

    // Open addressing, linear probing: a slot holds an entry's position + 1, 0 when empty,
    // kGone where a key was removed (probes go on past it).
    static constexpr uint32_t kGone = 1u << 31;
    static bool Holds(uint32_t slot) { return slot != 0 && slot != kGone; }
    static size_t SlotsFor(size_t n)
    {
        size_t size = 16;
        while (size < n * 2)
            size *= 2;
        return size;
    }
    // The key's slot, or the empty one it would take.
    size_t slotOf(const QString& key) const
    {
        const size_t mask = m_index.size() - 1;
        for (size_t slot = qHash(key, QHashSeed::globalSeed()) & mask;; slot = (slot + 1) & mask) {
            const uint32_t held = m_index[slot];
            if (held == 0 || (held != kGone && m_entries[held - 1].first == key))
                return slot;
        }
    }
    // Puts the entry at `position` (the last one by default) in the empty `slot` of its key.
    void place(size_t slot, size_t position = size_t(-1))
    {
        m_index[slot] = uint32_t((position == size_t(-1) ? m_entries.size() - 1 : position) + 1);
        if (++m_filled * 2 > m_index.size())
            rehash(SlotsFor(m_entries.size())); // grown, or the same size without the removed
    }
    // Every entry's slot anew in a table of `size` slots; removed ones (waiting for compact) stay out.
    void rehash(size_t size)
    {
        std::vector<bool> dead(m_dead.empty() ? 0 : m_entries.size());
        for (size_t d : m_dead)
            dead[d] = true;
        m_index.assign(size, 0);
        m_filled = 0;
        for (size_t i = 0; i < m_entries.size(); ++i)
            if (dead.empty() || !dead[i]) {
                m_index[slotOf(m_entries[i].first)] = uint32_t(i + 1);
                ++m_filled;
            }
    }

    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_index; // complete while m_hashed, empty before
    size_t m_filled = 0;           // slots in use, removed ones among them
    std::vector<size_t> m_dead;    // slots removed from the index, not yet from m_entries
    qsizetype m_capacity = 0;      // as reserved, for the hash when it comes
    bool m_hashed = false;
};

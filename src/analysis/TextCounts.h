#pragma once
// Counts per text in text order, as a target's column, reference and definition counts are
// kept. Nearly every target holds one text per map, which stays inside the object: a map per
// target would cost a node allocation each.
#include <QString>
#include <QVarLengthArray>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <utility>

class TextCounts
{
public:
    using value_type = std::pair<QString, int>;
    using const_iterator = const value_type*;

    TextCounts() = default;
    TextCounts(std::initializer_list<value_type> counts)
    {
        for (const value_type& count : counts)
            emplace(count.first, count.second);
    }
    TextCounts(const TextCounts&) = default;
    TextCounts(TextCounts&&) noexcept = default;
    TextCounts& operator=(const TextCounts&) = default;
    // Qt 6.4's QVarLengthArray, moved into while it holds a heap buffer, takes the other's
    // buffer and loses its own: it is given back first.
    TextCounts& operator=(TextCounts&& other) noexcept
    {
        if (this != &other) {
            m_counts.clear();
            m_counts.squeeze();
            m_counts = std::move(other.m_counts);
        }
        return *this;
    }

    const_iterator begin() const { return m_counts.cbegin(); }
    const_iterator end() const { return m_counts.cend(); }
    qsizetype size() const { return m_counts.size(); }
    bool empty() const { return m_counts.empty(); }
    void clear() { m_counts.clear(); }

    // The count of text, added at 0 when absent.
    int& operator[](const QString& text)
    {
        const auto it = LowerBound(text);
        if (it != m_counts.end() && it->first == text)
            return it->second;
        return m_counts.insert(it, value_type(text, 0))->second;
    }
    // Adds text with count unless it is there already.
    void emplace(const QString& text, int count)
    {
        const auto it = LowerBound(text);
        if (it == m_counts.end() || it->first != text)
            m_counts.insert(it, value_type(text, count));
    }
    int at(const QString& text) const
    {
        const auto it = std::lower_bound(begin(), end(), text, Less);
        if (it == end() || it->first != text)
            throw std::out_of_range("TextCounts::at");
        return it->second;
    }
    // Takes the texts of other that this one lacks, with their counts.
    void merge(const TextCounts& other)
    {
        for (const value_type& count : other)
            emplace(count.first, count.second);
    }

    std::map<QString, int> ToMap() const { return {begin(), end()}; }

    friend bool operator==(const TextCounts& a, const TextCounts& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const TextCounts& a, const std::map<QString, int>& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const value_type& x, const auto& y) { return x.first == y.first && x.second == y.second; });
    }

private:
    static bool Less(const value_type& count, const QString& text) { return count.first < text; }
    value_type* LowerBound(const QString& text) { return std::lower_bound(m_counts.begin(), m_counts.end(), text, Less); }

    QVarLengthArray<value_type, 1> m_counts;
};

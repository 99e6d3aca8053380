#pragma once
// Distinct 64-bit keys (hashes of names) counted in bounded memory: keys gather in a buffer; a
// full buffer is sorted, made unique and put in a temporary file as a run; the count merges
// the runs. A database of tens of millions of distinct names costs a file, not a hash set.
#include <QtGlobal>
#include <memory>
#include <vector>

class QTemporaryFile;

class DistinctCounter
{
public:
    // keys: how many are held before a run goes to disk.
    explicit DistinctCounter(size_t keys = size_t(1) << 20);
    ~DistinctCounter();
    DistinctCounter(const DistinctCounter&) = delete;
    DistinctCounter& operator=(const DistinctCounter&) = delete;

    void Add(quint64 key)
    {
        m_buffer.push_back(key);
        if (m_buffer.size() >= m_limit)
            Flush();
    }
    // The number of distinct keys added so far.
    qint64 Count();
    void Clear();

private:
    void Flush();

    std::vector<quint64> m_buffer;
    size_t m_limit;
    std::unique_ptr<QTemporaryFile> m_file;
    std::vector<std::pair<qint64, qint64>> m_runs; // offset and number of keys of each run
};

#include "components/DistinctCounter.h"

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <queue>

DistinctCounter::DistinctCounter(size_t keys) : m_limit(std::max<size_t>(keys, 2))
{
    m_buffer.reserve(std::min<size_t>(m_limit, 1 << 16));
}

DistinctCounter::~DistinctCounter() = default;

void DistinctCounter::Flush()
{
    std::sort(m_buffer.begin(), m_buffer.end());
    m_buffer.erase(std::unique(m_buffer.begin(), m_buffer.end()), m_buffer.end());
    // Mostly repeats: room enough is left to go on in memory.
    if (m_buffer.size() < m_limit / 2)
        return;
    if (!m_file) {
        m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/termwise-count-XXXXXX"));
        if (!m_file->open()) {
            m_limit = SIZE_MAX; // no disk: exact all the same, in memory
            return;
        }
    }
    const qint64 at = m_file->size();
    const qint64 bytes = qint64(m_buffer.size() * sizeof(quint64));
    if (!m_file->seek(at) || m_file->write(reinterpret_cast<const char*>(m_buffer.data()), bytes) != bytes) {
        m_limit = SIZE_MAX;
        return;
    }
    m_runs.emplace_back(at, qint64(m_buffer.size()));
    m_buffer.clear();
}

qint64 DistinctCounter::Count()
{
    std::sort(m_buffer.begin(), m_buffer.end());
    m_buffer.erase(std::unique(m_buffer.begin(), m_buffer.end()), m_buffer.end());
    if (m_runs.empty())
        return qint64(m_buffer.size());
    // Each run read through a window of its own; the smallest key next, repeats counted once.
    struct Run
    {
        qint64 at = 0, left = 0;
        std::vector<quint64> window;
        size_t next = 0;
    };
    static constexpr qint64 kWindow = 8192;
    std::vector<Run> runs(m_runs.size() + 1);
    const auto fill = [this](Run& r) -> bool {
        r.window.resize(size_t(std::min(r.left, kWindow)));
        r.next = 0;
        const qint64 bytes = qint64(r.window.size() * sizeof(quint64));
        if (!m_file->seek(r.at) || m_file->read(reinterpret_cast<char*>(r.window.data()), bytes) != bytes)
            return false;
        r.at += bytes;
        r.left -= qint64(r.window.size());
        return true;
    };
    using Head = std::pair<quint64, size_t>;
    std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
    for (size_t i = 0; i < m_runs.size(); ++i) {
        runs[i].at = m_runs[i].first;
        runs[i].left = m_runs[i].second;
        if (!fill(runs[i]))
            return -1;
        heads.emplace(runs[i].window[0], i);
    }
    Run& memory = runs.back();
    memory.window = m_buffer; // the run still in memory
    if (!memory.window.empty())
        heads.emplace(memory.window[0], runs.size() - 1);
    qint64 count = 0;
    bool any = false;
    quint64 last = 0;
    while (!heads.empty()) {
        const auto [key, i] = heads.top();
        heads.pop();
        if (!any || key != last)
            ++count;
        any = true;
        last = key;
        Run& r = runs[i];
        if (++r.next >= r.window.size()) {
            if (r.left == 0)
                continue;
            if (!fill(r))
                return -1;
        }
        heads.emplace(r.window[r.next], i);
    }
    return count;
}

void DistinctCounter::Clear()
{
    m_buffer = std::vector<quint64>();
    m_runs.clear();
    m_file.reset();
}

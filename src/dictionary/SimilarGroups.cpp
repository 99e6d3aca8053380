// The group computation of the similar-word review.
//
// The dialog's rule: walk the names in order; B joins A's group when B occurs in A or the
// view's test holds, unless the pair was already decided, i.e. B came earlier, was long
// enough to have a group, and found A similar. That makes every name's group independent
// of the others, so names are worked on in parallel and only the pairs that can pass are
// compared: an index over fixed pieces of the names gives the candidates (a pair within
// the allowed difference must share at least one piece exactly), and each candidate is
// checked with the exact test. Results are collected in name order on the calling
// thread, which also steps the progress and polls cancel between names.
#include "dictionary/SimilarWordReview.h"

#include <QHash>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

namespace SimilarWords {

namespace {

using Hash = size_t;

inline Hash HashOf(QStringView text) { return qHash(text, 0); }

// (hash of a piece, name id), sorted: the names of one length by the piece [start, start+len).
struct PieceIndex
{
    std::vector<std::pair<Hash, int>> entries;

    template <typename F> void ForEach(Hash hash, F&& f) const
    {
        auto it = std::lower_bound(entries.begin(), entries.end(), std::make_pair(hash, -1));
        for (; it != entries.end() && it->first == hash; ++it)
            f(it->second);
    }
};

// One lookup of a probe name: its piece at [probeFrom, probeTo] + len against an index.
struct Probe
{
    const PieceIndex* index = nullptr;
    int len = 0;
    int probeFrom = 0;
    int probeTo = 0;
};

// Banded weighted distance; true when below limitThirds. Paths leaving the band cost at
// least the limit, so the band loses nothing.
template <bool Weighted> bool DistanceBelow(QStringView a, QStringView b, int limitThirds, std::vector<int>& buf)
{
    const QStringView rows = a.size() >= b.size() ? a : b;
    const QStringView cols = a.size() >= b.size() ? b : a;
    const int n = int(rows.size());
    const int m = int(cols.size());
    if ((n - m) * 3 >= limitThirds)
        return false;
    const int band = (limitThirds - 1) / 3; // most inserts/deletes a passing path can hold
    const int inf = limitThirds;
    buf.assign(size_t(2 * (m + 1)), inf);
    int* previous = buf.data();
    int* current = buf.data() + (m + 1);
    for (int j = 0; j <= std::min(m, band); ++j)
        previous[j] = std::min(j * 3, inf);
    for (int i = 1; i <= n; ++i) {
        const int from = std::max(1, i - band);
        const int to = std::min(m, i + band);
        current[from - 1] = (from == 1 && i <= band) ? std::min(i * 3, inf) : inf;
        int rowMin = current[from - 1];
        const char16_t ca = rows[i - 1].unicode();
        for (int j = from; j <= to; ++j) {
            const char16_t cb = cols[j - 1].unicode();
            int cost;
            if constexpr (Weighted)
                cost = HangulJamo::CostThirds(ca, cb);
            else
                cost = ca == cb ? 0 : 3;
            int value = previous[j - 1] + cost;
            value = std::min(value, previous[j] + 3);
            value = std::min(value, current[j - 1] + 3);
            value = std::min(value, inf);
            current[j] = value;
            rowMin = std::min(rowMin, value);
        }
        if (to < m)
            current[to + 1] = inf;
        if (rowMin >= inf)
            return false;
        std::swap(previous, current);
    }
    return previous[m] < limitThirds;
}

class GroupFinder
{
public:
    GroupFinder(View view, const QStringList& names) : m_view(view), m_names(names)
    {
        m_shortest = ShortestWithoutGroup(view);
        const int count = int(names.size());
        m_hangul.resize(size_t(count));
        int longest = 0;
        for (int id = 0; id < count; ++id) {
            const QString& name = names[id];
            longest = std::max(longest, int(name.size()));
            bool hangul = false;
            for (QChar c : name)
                hangul = hangul || HangulJamo::IsHangul(c.unicode());
            m_hangul[size_t(id)] = hangul;
            if (hangul)
                m_hangulIds.push_back(id);
        }
        m_byLength.resize(size_t(longest) + 1);
        for (int id = 0; id < count; ++id)
            m_byLength[size_t(names[id].size())].push_back(id);
        m_whole.entries.reserve(size_t(count));
        for (int id = 0; id < count; ++id)
            m_whole.entries.emplace_back(HashOf(names[id]), id);
        std::sort(m_whole.entries.begin(), m_whole.entries.end());
        BuildProbes(longest);
    }

    int Count() const { return int(m_names.size()); }

    struct Scratch
    {
        std::vector<int> stamp;
        std::vector<unsigned char> contained;
        std::vector<int> candidates;
        std::vector<int> distance;
        int epoch = 0;
    };

    // The ids of A's group, ascending.
    void Find(int id, Scratch& scratch, std::vector<int>& group) const
    {
        group.clear();
        const QStringView a = m_names[id];
        const int la = int(a.size());
        if (la <= m_shortest)
            return;
        if (scratch.stamp.size() != size_t(m_names.size())) {
            scratch.stamp.assign(size_t(m_names.size()), -1);
            scratch.contained.assign(size_t(m_names.size()), 0);
        }
        const int epoch = ++scratch.epoch;
        scratch.candidates.clear();
        auto add = [&](int other, bool contained) {
            if (other == id)
                return;
            if (scratch.stamp[size_t(other)] != epoch) {
                scratch.stamp[size_t(other)] = epoch;
                scratch.contained[size_t(other)] = 0;
                scratch.candidates.push_back(other);
            }
            if (contained)
                scratch.contained[size_t(other)] = 1;
        };

        // Names that occur in A.
        for (int len = 1; len < la && len < int(m_byLength.size()); ++len) {
            if (m_byLength[size_t(len)].empty())
                continue;
            for (int start = 0; start + len <= la; ++start) {
                const QStringView piece = a.mid(start, len);
                m_whole.ForEach(HashOf(piece), [&](int other) {
                    if (m_names[other] == piece)
                        add(other, true);
                });
            }
        }
        // Names sharing a piece in the places the view's test allows.
        for (const Probe& probe : m_probes[size_t(la)]) {
            for (int at = probe.probeFrom; at <= probe.probeTo; ++at)
                probe.index->ForEach(HashOf(a.mid(at, probe.len)), [&](int other) { add(other, false); });
        }
        // Two Hangul names may be close through partial syllable costs, which the pieces
        // do not account for; compare those directly.
        if (m_view == View::Physical && m_hangul[size_t(id)])
            for (int other : m_hangulIds)
                if (3 * std::abs(int(m_names[other].size()) - la) < std::max(la, int(m_names[other].size())))
                    add(other, false);

        for (int other : scratch.candidates) {
            const bool contained = scratch.contained[size_t(other)] != 0;
            const bool earlierWithGroup = other < id && m_names[other].size() > m_shortest;
            if (contained && !earlierWithGroup) {
                group.push_back(other);
                continue;
            }
            const bool passes = Test(id, other, scratch);
            if (!contained && !passes)
                continue;
            if (earlierWithGroup && passes)
                continue; // decided when the earlier name had its turn
            group.push_back(other);
        }
        std::sort(group.begin(), group.end());
    }

private:
    bool Test(int id, int other, Scratch& scratch) const
    {
        const QStringView a = m_names[id];
        const QStringView b = m_names[other];
        if (m_view == View::Logical)
            return PositionalSimilar(a, b);
        const int limit = int(std::max(a.size(), b.size()));
        if (m_hangul[size_t(id)] && m_hangul[size_t(other)])
            return DistanceBelow<true>(a, b, limit, scratch.distance);
        return DistanceBelow<false>(a, b, limit, scratch.distance);
    }

    // Per probe length, the pieces to look up. Pieces come from splitting [0, n) into
    // parts + 1 blocks: with at most `parts` differing places one block is untouched.
    void BuildProbes(int longest)
    {
        std::map<std::tuple<int, int, int>, PieceIndex> indexes;
        auto indexFor = [&](int length, int start, int len) -> const PieceIndex* {
            auto [it, inserted] = indexes.try_emplace(std::make_tuple(length, start, len));
            if (inserted) {
                for (int other : m_byLength[size_t(length)])
                    it->second.entries.emplace_back(HashOf(QStringView(m_names[other]).mid(start, len)), other);
                std::sort(it->second.entries.begin(), it->second.entries.end());
            }
            return &it->second;
        };
        auto blocks = [](int n, int parts) {
            std::vector<std::pair<int, int>> result; // (start, len)
            const int count = parts + 1;
            int start = 0;
            for (int k = 0; k < count; ++k) {
                const int len = n / count + (k < n % count ? 1 : 0);
                result.emplace_back(start, len);
                start += len;
            }
            return result;
        };
        m_probes.resize(size_t(longest) + 1);
        for (int la = m_shortest + 1; la <= longest; ++la) {
            if (m_byLength[size_t(la)].empty())
                continue;
            for (int lb = 1; lb <= longest; ++lb) {
                if (m_byLength[size_t(lb)].empty())
                    continue;
                const int longer = std::max(la, lb);
                const int shorter = std::min(la, lb);
                if (m_view == View::Logical) {
                    // At least 3/4 of the longer length equal in place, all within the shorter.
                    const int needed = 3 * longer / 4;
                    if (shorter < needed)
                        continue;
                    for (auto [start, len] : blocks(shorter, shorter - needed))
                        m_probes[size_t(la)].push_back({indexFor(lb, start, len), len, start, start});
                } else {
                    // Plain edit distance below longer / 3: at most `edits` edits, each
                    // shifting later pieces by at most one place.
                    const int edits = (longer - 1) / 3;
                    if (edits == 0 || std::abs(la - lb) > edits)
                        continue;
                    for (auto [start, len] : blocks(lb, edits)) {
                        const int from = std::max(0, start - edits);
                        const int to = std::min(la - len, start + edits);
                        if (from <= to)
                            m_probes[size_t(la)].push_back({indexFor(lb, start, len), len, from, to});
                    }
                }
            }
        }
        m_indexes = std::move(indexes);
    }

    View m_view;
    const QStringList& m_names;
    int m_shortest = 0;
    std::vector<bool> m_hangul;
    std::vector<int> m_hangulIds;
    std::vector<std::vector<int>> m_byLength;
    PieceIndex m_whole;
    std::map<std::tuple<int, int, int>, PieceIndex> m_indexes;
    std::vector<std::vector<Probe>> m_probes;
};

} // namespace

Result ComputeGroups(View view, const QStringList& names, const Progress& progress, int threads)
{
    Result result;
    const int count = int(names.size());
    progress.begin(count);
    const GroupFinder finder(view, names);

    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, std::max(1, count / 64));

    std::vector<std::vector<int>> found(static_cast<size_t>(count));
    auto collect = [&](int id) {
        if (found[size_t(id)].empty())
            return;
        Group group;
        group.name = names[id];
        for (int other : found[size_t(id)])
            group.similar.append(names[other]);
        result.groups.push_back(std::move(group));
        std::vector<int>().swap(found[size_t(id)]);
    };

    if (threads <= 1) {
        GroupFinder::Scratch scratch;
        for (int id = 0; id < count; ++id) {
            if (progress.canceling()) {
                result.cancelled = true;
                break;
            }
            progress.step();
            finder.Find(id, scratch, found[size_t(id)]);
            collect(id);
        }
        progress.end();
        return result;
    }

    // Workers take blocks of names in order; this thread hands out the results in order.
    const int blockSize = std::clamp(count / (threads * 32), 8, 256);
    const int blockCount = (count + blockSize - 1) / blockSize;
    std::unique_ptr<std::atomic<bool>[]> done(new std::atomic<bool>[size_t(blockCount)]);
    for (int b = 0; b < blockCount; ++b)
        done[b] = false;
    std::atomic<int> nextBlock{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable ready;

    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            GroupFinder::Scratch scratch;
            for (;;) {
                const int block = nextBlock.fetch_add(1);
                if (block >= blockCount || stop.load())
                    return;
                const int end = std::min(count, (block + 1) * blockSize);
                for (int id = block * blockSize; id < end && !stop.load(); ++id)
                    finder.Find(id, scratch, found[size_t(id)]);
                {
                    std::lock_guard lock(mutex);
                    done[block] = true;
                }
                ready.notify_all();
            }
        });
    }

    for (int id = 0; id < count; ++id) {
        if (progress.canceling()) {
            result.cancelled = true;
            break;
        }
        progress.step();
        const int block = id / blockSize;
        if (!done[block].load()) {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return done[block].load(); });
        }
        collect(id);
    }
    stop = true;
    for (auto& worker : workers)
        worker.join();
    progress.end();
    return result;
}

} // namespace SimilarWords

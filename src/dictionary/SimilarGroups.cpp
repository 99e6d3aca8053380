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

#include "components/ThreadFailure.h"

#include <QHash>
#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

namespace SimilarWords {

namespace {

using Hash = size_t;

inline Hash HashOf(QStringView text)
{
    return qHash(text, 0);
}

// Name ids by the hash of one piece of each name: ids grouped by hash, found through an
// open-addressed table. Hash collisions only add candidates; callers check them.
class PieceIndex
{
public:
    void Add(Hash hash, int id) { m_entries.emplace_back(hash, id); }

    void Finish()
    {
        std::sort(m_entries.begin(), m_entries.end());
        m_ids.reserve(m_entries.size());
        size_t capacity = 16;
        while (capacity < m_entries.size() * 2)
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
        m_mask = capacity - 1;
        for (size_t i = 0; i < m_entries.size();) {
            size_t j = i;
            while (j < m_entries.size() && m_entries[j].first == m_entries[i].first)
                m_ids.push_back(m_entries[j++].second);
            size_t at = Mix(m_entries[i].first) & m_mask;
            while (m_slots[at].end != 0)
                at = (at + 1) & m_mask;
            m_slots[at] = {m_entries[i].first, uint32_t(i), uint32_t(j)};
            i = j;
        }
        std::vector<std::pair<Hash, int>>().swap(m_entries);
    }

    template <typename F> void ForEach(Hash hash, F&& f) const
    {
        for (size_t at = Mix(hash) & m_mask; m_slots[at].end != 0; at = (at + 1) & m_mask) {
            if (m_slots[at].hash == hash) {
                for (uint32_t k = m_slots[at].begin; k < m_slots[at].end; ++k)
                    f(m_ids[k]);
                return;
            }
        }
    }

private:
    struct Slot
    {
        Hash hash = 0;
        uint32_t begin = 0;
        uint32_t end = 0; // 0: empty
    };
    static size_t Mix(Hash hash) { return size_t(hash ^ (hash >> 29)) * 0x9E3779B97F4A7C15ull >> 16; }

    std::vector<std::pair<Hash, int>> m_entries;
    std::vector<int> m_ids;
    std::vector<Slot> m_slots{Slot{}};
    size_t m_mask = 0;
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

// How often each letter occurs, in 32 buckets (saturating at 255). Letters a pair has in
// excess on either side must be edited, so the larger excess bounds the plain edit distance
// from below; buckets and saturation only make the bound lower.
struct alignas(16) Letters
{
    uint8_t counts[32] = {};
    int total = 0; // sum of the counts
};

inline int LetterBucket(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a';
    if (c == u'_')
        return 26;
    if (c >= u'0' && c <= u'9')
        return 27;
    return 28 + int(c % 4);
}

inline Letters LetterCounts(QStringView name)
{
    Letters letters;
    for (QChar c : name) {
        uint8_t& count = letters.counts[LetterBucket(c.unicode())];
        if (count < 255)
            ++count;
    }
    for (uint8_t count : letters.counts)
        letters.total += count;
    return letters;
}

// max(excess of a, excess of b) = (sum of |differences| + |total a - total b|) / 2
inline int LetterDistance(const Letters& a, const Letters& b)
{
#if defined(__SSE2__)
    const __m128i a0 = _mm_load_si128(reinterpret_cast<const __m128i*>(a.counts));
    const __m128i a1 = _mm_load_si128(reinterpret_cast<const __m128i*>(a.counts + 16));
    const __m128i b0 = _mm_load_si128(reinterpret_cast<const __m128i*>(b.counts));
    const __m128i b1 = _mm_load_si128(reinterpret_cast<const __m128i*>(b.counts + 16));
    const __m128i sums = _mm_add_epi64(_mm_sad_epu8(a0, b0), _mm_sad_epu8(a1, b1));
    const int differences = _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
#else
    int differences = 0;
    for (int k = 0; k < 32; ++k)
        differences += std::abs(int(a.counts[k]) - int(b.counts[k]));
#endif
    return (differences + std::abs(a.total - b.total)) / 2;
}

// Jamo counts: every character as three symbols, one per jamo slot (a character that is not
// Hangul fills all three with itself), so that a substitution costs as many thirds as symbols
// differ and an insertion or deletion three. The weighted distance in thirds is then at least
// the plain distance of the symbol strings, which is at least their count difference.
inline Letters JamoCounts(QStringView name)
{
    Letters letters;
    auto count = [&](unsigned symbol, unsigned slot) {
        uint8_t& c = letters.counts[(symbol * 7u + slot * 13u) % 32u];
        if (c < 255)
            ++c;
    };
    for (QChar ch : name) {
        HangulJamo::Parts parts;
        if (HangulJamo::Decompose(ch.unicode(), parts)) {
            count(parts.initial, 0);
            count(parts.vowel, 1);
            count(parts.final, 2);
        } else {
            const unsigned other = 0x10000u + ch.unicode(); // never equal to a jamo
            count(other, 0);
            count(other, 1);
            count(other, 2);
        }
    }
    for (uint8_t c : letters.counts)
        letters.total += c;
    return letters;
}

class GroupFinder
{
public:
    GroupFinder(View view, const QStringList& names) : m_view(view), m_names(names)
    {
        // One block of text keeps the names a candidate check touches close together.
        qsizetype total = 0;
        for (const QString& name : names)
            total += name.size();
        m_text.reserve(size_t(total));
        m_offset.reserve(size_t(names.size()) + 1);
        for (const QString& name : names) {
            m_offset.push_back(m_text.size());
            m_text.insert(m_text.end(), name.utf16(), name.utf16() + name.size());
        }
        m_offset.push_back(m_text.size());
        m_letters.resize(size_t(names.size()));
        for (int id = 0; id < int(names.size()); ++id)
            m_letters[size_t(id)] = LetterCounts(Name(id));
        m_shortest = ShortestWithoutGroup(view);
        const int count = int(names.size());
        m_hangul.resize(size_t(count));
        m_length.resize(size_t(count));
        int longest = 0;
        for (int id = 0; id < count; ++id) {
            const QString& name = names[id];
            longest = std::max(longest, int(name.size()));
            m_length[size_t(id)] = int(name.size());
            bool hangul = false;
            for (QChar c : name)
                hangul = hangul || HangulJamo::IsHangul(c.unicode());
            m_hangul[size_t(id)] = hangul;
        }
        if (view == View::Physical) {
            m_hangulByLength.resize(size_t(longest) + 1);
            m_jamo.resize(size_t(count));
            for (int id = 0; id < count; ++id) {
                if (!m_hangul[size_t(id)])
                    continue;
                m_hangulByLength[size_t(m_length[size_t(id)])].push_back(id);
                m_jamo[size_t(id)] = JamoCounts(Name(id));
            }
        }
        m_byLength.resize(size_t(longest) + 1);
        for (int id = 0; id < count; ++id)
            m_byLength[size_t(names[id].size())].push_back(id);
        for (int id = 0; id < count; ++id)
            m_whole.Add(HashOf(names[id]), id);
        m_whole.Finish();
        BuildProbes(longest);
    }

    QStringView Name(int id) const
    {
        return QStringView(m_text.data() + m_offset[size_t(id)],
                           qsizetype(m_offset[size_t(id) + 1] - m_offset[size_t(id)]));
    }

    struct Scratch
    {
        std::vector<int> stamp;
        std::vector<unsigned char> contained;
        std::vector<int> candidates;
        std::vector<int> distance;
        std::array<uint64_t, 64> bigrams{}; // of the name being grouped, hashed to 4096 bits
        int epoch = 0;
    };

    // The ids of A's group, ascending.
    void Find(int id, Scratch& scratch, std::vector<int>& group) const
    {
        group.clear();
        const QStringView a = Name(id);
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
                    if (Name(other) == piece)
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
        // do not account for; take those of a fitting length whose jamo counts allow it.
        if (m_view == View::Physical && m_hangul[size_t(id)]) {
            for (int lb = 1; lb < int(m_hangulByLength.size()); ++lb) {
                const int longer = std::max(la, lb);
                if (3 * std::abs(lb - la) >= longer)
                    continue;
                for (int other : m_hangulByLength[size_t(lb)])
                    if (LetterDistance(m_jamo[size_t(id)], m_jamo[size_t(other)]) < longer)
                        add(other, false);
            }
        }

        if (m_view == View::Physical) {
            scratch.bigrams.fill(0);
            for (int k = 0; k + 1 < la; ++k) {
                const unsigned bit = Bigram(a[k], a[k + 1]);
                scratch.bigrams[bit >> 6] |= uint64_t(1) << (bit & 63);
            }
        }
        for (int other : scratch.candidates) {
            const bool contained = scratch.contained[size_t(other)] != 0;
            const bool earlierWithGroup = other < id && m_length[size_t(other)] > m_shortest;
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
        const QStringView a = Name(id);
        const QStringView b = Name(other);
        if (m_view == View::Logical)
            return PositionalSimilar(a, b);
        const int limit = int(std::max(a.size(), b.size()));
        if (m_hangul[size_t(id)] && m_hangul[size_t(other)])
            return DistanceBelow<true>(a, b, limit, scratch.distance);
        const int edits = (limit - 1) / 3;
        // Letter counts: edits needed at least to even out the counts.
        if (LetterDistance(m_letters[size_t(id)], m_letters[size_t(other)]) > edits)
            return false;
        // q-gram count: each plain edit spoils at most two bigrams, so a pair within
        // `edits` shares at least longer - 1 - 2 * edits of them (counted generously here).
        const int needed = limit - 1 - 2 * edits;
        if (needed > 0) {
            int shared = 0;
            for (qsizetype k = 0; k + 1 < b.size(); ++k) {
                const unsigned bit = Bigram(b[k], b[k + 1]);
                shared += int((scratch.bigrams[bit >> 6] >> (bit & 63)) & 1);
            }
            if (shared < needed)
                return false;
        }
        return DistanceBelow<false>(a, b, limit, scratch.distance);
    }

    static unsigned Bigram(QChar first, QChar second)
    {
        return (unsigned(first.unicode()) * 131u + unsigned(second.unicode())) & 4095u;
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
                    it->second.Add(HashOf(Name(other).mid(start, len)), other);
                it->second.Finish();
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
                    // Plain edit distance below longer / 3 allows `edits` edits. Some block k
                    // (0-based) is untouched with exactly k edits left of it and at most
                    // edits - k right of it, which bounds where it can sit in A.
                    const int edits = (longer - 1) / 3;
                    const int delta = la - lb;
                    if (edits == 0 || std::abs(delta) > edits)
                        continue;
                    const auto parts = blocks(lb, edits);
                    for (int k = 0; k < int(parts.size()); ++k) {
                        const auto [start, len] = parts[size_t(k)];
                        const int from = std::max({0, start - k, start + delta - (edits - k)});
                        const int to = std::min({la - len, start + k, start + delta + (edits - k)});
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
    std::vector<char16_t> m_text;
    std::vector<size_t> m_offset;
    std::vector<Letters> m_letters;
    int m_shortest = 0;
    std::vector<bool> m_hangul;
    std::vector<int> m_length;
    std::vector<std::vector<int>> m_hangulByLength; // physical view: names with Hangul
    std::vector<Letters> m_jamo;                    // their jamo counts
    std::vector<std::vector<int>> m_byLength;
    PieceIndex m_whole;
    std::map<std::tuple<int, int, int>, PieceIndex> m_indexes;
    std::vector<std::vector<Probe>> m_probes;
};

} // namespace

Result ComputeGroups(View view, const QStringList& names, const Progress& hooks, int threads, const GroupSink& sink)
{
    // Missing hooks do nothing.
    Progress progress = Quiet();
    if (hooks.begin)
        progress.begin = hooks.begin;
    if (hooks.canceling)
        progress.canceling = hooks.canceling;
    if (hooks.step)
        progress.step = hooks.step;
    if (hooks.end)
        progress.end = hooks.end;
    Result result;
    const int count = int(names.size());
    progress.begin(count);
    // Indexing a large dictionary takes a noticeable moment: it runs beside this thread, which
    // keeps the progress window painting and hears a cancel meanwhile.
    std::unique_ptr<GroupFinder> built;
    {
        std::atomic<bool> indexed{false};
        CThreadFailure failure;
        std::thread indexer([&] {
            failure.Run([&] { built = std::make_unique<GroupFinder>(view, names); });
            indexed = true;
        });
        bool cancelled = false;
        while (!indexed.load()) {
            cancelled = cancelled || progress.canceling();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        indexer.join();
        if (failure.Failed()) {
            progress.end();
            failure.Rethrow();
        }
        if (cancelled || progress.canceling()) {
            result.cancelled = true;
            progress.end();
            return result;
        }
    }
    const GroupFinder& finder = *built;

    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, std::max(1, count / 64));

    std::vector<std::vector<int>> found(static_cast<size_t>(count));
    // False when the sink refused the group.
    auto collect = [&](int id) {
        if (found[size_t(id)].empty())
            return true;
        Group group;
        group.name = names[id];
        for (int other : found[size_t(id)])
            group.similar.append(names[other]);
        std::vector<int>().swap(found[size_t(id)]);
        if (!sink) {
            result.groups.push_back(std::move(group));
            return true;
        }
        result.refused = !sink(std::move(group));
        return !result.refused;
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
            if (!collect(id))
                break;
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
    std::condition_variable ready, collected;
    // With a sink, the groups found but not yet taken must not pile up: workers stay within
    // a few blocks of the one being handed out.
    const int ahead = sink ? threads * 4 : blockCount;
    int collecting = 0; // block being handed out, under mutex

    CThreadFailure failure; // the first exception of a worker
    auto work = [&] {
        GroupFinder::Scratch scratch;
        for (;;) {
            const int block = nextBlock.fetch_add(1);
            if (block >= blockCount || stop.load())
                return;
            {
                std::unique_lock lock(mutex);
                collected.wait(lock, [&] { return block < collecting + ahead || stop.load(); });
            }
            if (stop.load())
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
    };
    auto stopWorkers = [&](std::vector<std::thread>& workers) {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        collected.notify_all();
        for (auto& worker : workers)
            worker.join();
    };

    std::vector<std::thread> workers;
    try {
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&] {
                failure.Run(work);
                if (failure.Failed()) {
                    std::lock_guard lock(mutex);
                    stop = true;
                }
                ready.notify_all();
                collected.notify_all();
            });
        }

        for (int id = 0; id < count; ++id) {
            if (progress.canceling()) {
                result.cancelled = true;
                break;
            }
            progress.step();
            const int block = id / blockSize;
            // Waiting for a slow block still polls the progress window, so it paints and cancels.
            bool cancelled = false;
            bool failed = false;
            while (!done[block].load() && !cancelled) {
                {
                    std::unique_lock lock(mutex);
                    if (ready.wait_for(lock, std::chrono::milliseconds(20),
                                       [&] { return done[block].load() || failure.Failed(); })) {
                        failed = !done[block].load();
                        break;
                    }
                }
                cancelled = progress.canceling();
            }
            if (failed)
                break;
            if (cancelled) {
                result.cancelled = true;
                break;
            }
            if (!collect(id))
                break;
            if ((id + 1) % blockSize == 0) {
                {
                    std::lock_guard lock(mutex);
                    collecting = (id + 1) / blockSize;
                }
                collected.notify_all();
            }
        }
    } catch (...) {
        stopWorkers(workers);
        progress.end();
        throw;
    }
    stopWorkers(workers);
    progress.end();
    failure.Rethrow();
    return result;
}

} // namespace SimilarWords

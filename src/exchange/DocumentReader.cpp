#include "exchange/DocumentReader.h"

// Whitespace and plain string runs are scanned 16 bytes at a time (every x86-64 has SSE2).
// The aligned loads may touch the rest of the last 16-byte block, which never crosses a page
// but which AddressSanitizer reports: sanitizer builds scan byte by byte.
#if defined(__SANITIZE_ADDRESS__) // gcc
#define TERMWISE_ADDRESS_SANITIZER
#elif defined(__has_feature) // clang
#if __has_feature(address_sanitizer)
#define TERMWISE_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SSE2__) && !defined(RAPIDJSON_SSE2) && !defined(TERMWISE_ADDRESS_SANITIZER)
#define RAPIDJSON_SSE2
#endif

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <rapidjson/reader.h>
#include <string>
#include <string_view>
#include <thread>

namespace DocumentReader {
namespace {

// The QJsonDocument reader refuses deeper nesting.
constexpr int kMaxDepth = 1024;

int Clamp(double d)
{
    return d >= std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
           : d <= std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                  : int(d);
}

int Clamp(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool Is(const char* s, unsigned n, std::string_view name)
{
    return n == name.size() && std::memcmp(s, name.data(), n) == 0;
}

int FieldOf(const char* s, unsigned n)
{
    static constexpr std::string_view names[FieldCount] = {"Attribute", "Column",      "AnalyzeTarget",
                                                           "Reference", "Description", "RefCount",
                                                           "DataType",  "DataLength",  "DataScale"};
    for (int f = 0; f < FieldCount; ++f)
        if (Is(s, n, names[f]))
            return f;
    return -1;
}

int MapOf(const char* s, unsigned n)
{
    if (n < 10 || s[0] != 'm')
        return -1;
    static constexpr std::string_view names[MapCount] = {"mapOpposites", "mapOpposite", "mapReferences",
                                                         "mapDescriptinons", "mapColumns"};
    for (int m = 0; m < MapCount; ++m)
        if (Is(s, n, names[m]))
            return m;
    return -1;
}

// An escaped lone surrogate reaches us as CESU-style bytes ED A0..BF, which QString would
// replace; the DOM reader keeps the surrogate, so such texts go to it.
bool HoldsSurrogate(const char* s, unsigned n)
{
    for (const char* p = s; (p = static_cast<const char*>(std::memchr(p, 0xED, size_t(s + n - p)))) && p + 1 < s + n;
         ++p)
        if (uchar(p[1]) >= 0xA0)
            return true;
    return false;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF), the rule rapidjson's
// validating mode applies. Checked once over the whole text, so that the parse itself can copy
// string runs in blocks instead of decoding them one character at a time.
bool IsUtf8(const char* text, size_t size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + size;
    while (p != end) {
        if (end - p >= 8) {
            quint64 block;
            std::memcpy(&block, p, 8);
            const quint64 high = block & 0x8080808080808080ULL;
            if (high == 0) {
                p += 8;
                continue;
            }
            // On to the first byte past ASCII: the lowest bit set is the first byte on a
            // little-endian machine, the highest on a big-endian one.
            p += (std::endian::native == std::endian::little ? std::countr_zero(high) : std::countl_zero(high)) / 8;
        } else if (*p < 0x80) {
            ++p;
            continue;
        }
        const unsigned char c = *p;
        if ((c & 0xF0) == 0xE0) { // three bytes, as Hangul: the common case on its own
            const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
            const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
            if (end - p < 3 || p[1] < lo || p[1] > hi || (p[2] & 0xC0) != 0x80)
                return false;
            p += 3;
            continue;
        }
        unsigned n;
        unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (size_t(end - p) <= n || p[1] < lo || p[1] > hi)
            return false;
        for (unsigned k = 2; k <= n; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return false;
        p += n + 1;
    }
    return true;
}

class Handler
{
public:
    Handler(const QByteArray& root, const QByteArray* area, const Handlers& handlers, bool escapes)
        : m_root(root), m_area(area), m_handlers(handlers), m_escapes(escapes)
    {
    }

    bool rootIsArray = false;
    bool areaIsString = false;
    QString area;

    // Stops the parse at the end of the root-array entry whose "}" is at `cut` (offset in the
    // text), and tells whether it did; a parse that goes past the cut sets `passed`.
    void StopAt(const rapidjson::StringStream* stream, const char* head, size_t cut, std::atomic<bool>* passed)
    {
        m_stream = stream;
        m_head = head;
        m_cut = cut;
        m_passed = passed;
    }
    bool stoppedAtCut = false;

    // For a parse that starts between two entries of the root array.
    void StartInRootArray()
    {
        m_depth = 2;
        m_inRoot = true;
        m_member = Member::Root;
        rootIsArray = true;
    }
    bool InRootArray() const { return m_depth == 2 && m_inRoot && !m_skip; }

    // --- rapidjson events ---
    bool Null() { return Scalar(); }
    bool Bool(bool) { return Scalar(); }
    bool Int(int i) { return Number(i); }
    bool Uint(unsigned u) { return Number(qint64(u)); }
    bool Int64(int64_t i) { return Number(Clamp(qint64(i))); }
    bool Uint64(uint64_t u)
    {
        return Number(u > uint64_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(u));
    }
    bool Double(double d) { return Number(Clamp(d)); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }

    bool String(const char* s, rapidjson::SizeType n, bool)
    {
        if (m_skip)
            return true;
        if (m_escapes && HoldsSurrogate(s, n))
            return false;
        switch (m_depth) {
        case 0:
            return false;
        case 1:
            if (m_member == Member::Area) {
                area = QString::fromUtf8(s, qsizetype(n));
                areaIsString = true;
            } else if (m_member == Member::Root) {
                NotTheRoot();
            }
            return true;
        case 3:
            if (m_field >= 0) {
                m_entry.texts[m_field] = QString::fromUtf8(s, qsizetype(n));
                m_raw[m_field].assign(s, n);
            } else {
                ClearField();
            }
            return true;
        case 4:
            m_pairs.emplace_back(m_key, std::nullopt);
            return true;
        default:
            return true;
        }
    }

    bool Key(const char* s, rapidjson::SizeType n, bool)
    {
        if (m_skip)
            return true;
        if (m_escapes && HoldsSurrogate(s, n))
            return false;
        switch (m_depth) {
        case 1:
            m_member = n == unsigned(m_root.size()) && std::memcmp(s, m_root.constData(), n) == 0 ? Member::Root
                       : m_area && n == unsigned(m_area->size()) && std::memcmp(s, m_area->constData(), n) == 0
                           ? Member::Area
                           : Member::Other;
            break;
        case 3:
            m_field = FieldOf(s, n);
            m_map = m_field >= 0 ? -1 : MapOf(s, n);
            break;
        case 4:
            m_key = TextOf(s, n);
            break;
        default:
            break;
        }
        return true;
    }

    bool StartObject()
    {
        if (++m_depth > kMaxDepth)
            return false;
        if (m_skip)
            return true;
        switch (m_depth) {
        case 1:
            return true; // the root
        case 2:
            Member1Container();
            return true;
        case 3:
            if (!m_inRoot)
                return Skip();
            for (QString& text : m_entry.texts)
                text.clear();
            for (std::string& raw : m_raw)
                raw.clear();
            for (int m = 0; m < MapCount; ++m) {
                m_entry.present[m] = false;
                m_entry.counts[m].clear();
            }
            return true;
        case 4:
            if (m_map < 0) {
                ClearField();
                return Skip();
            }
            m_pairs.clear();
            return true;
        case 5:
            m_pairs.emplace_back(m_key, std::nullopt);
            return Skip();
        default:
            return Skip();
        }
    }

    bool EndObject(rapidjson::SizeType)
    {
        const int depth = m_depth--;
        if (m_skip) {
            if (depth == m_skip)
                m_skip = 0;
            return true;
        }
        if (depth == 3 && m_inRoot) {
            m_handlers.entry(m_entry);
            if (m_handlers.tick && (++m_entries & 4095) == 0)
                m_handlers.tick();
            if (m_stream) {
                const size_t at = size_t(m_stream->src_ - m_head);
                if (at == m_cut) {
                    stoppedAtCut = true;
                    return false;
                }
                if (at > m_cut) {
                    *m_passed = true;
                    m_stream = nullptr;
                }
            }
        } else if (depth == 4) {
            TakePairs();
        }
        return true;
    }

    bool StartArray()
    {
        if (++m_depth > kMaxDepth)
            return false;
        if (m_skip)
            return true;
        switch (m_depth) {
        case 1:
            return false; // a root array is for the DOM reader to judge
        case 2:
            if (m_member == Member::Root) {
                rootIsArray = true;
                m_inRoot = true;
                m_handlers.restart();
                return true;
            }
            Member1Container();
            return true;
        case 4:
            ClearField();
            return Skip();
        case 5:
            m_pairs.emplace_back(m_key, std::nullopt);
            return Skip();
        default:
            return Skip();
        }
    }

    bool EndArray(rapidjson::SizeType)
    {
        const int depth = m_depth--;
        if (m_skip) {
            if (depth == m_skip)
                m_skip = 0;
            return true;
        }
        if (depth == 2)
            m_inRoot = false;
        return true;
    }

private:
    enum class Member { Other, Root, Area };

    // A count map's name is mostly one of the entry's own texts (its column, reference,
    // definition): it then shares that text instead of being converted and held again.
    QString TextOf(const char* s, unsigned n) const
    {
        for (int f = 0; f < FieldCount; ++f)
            if (m_raw[f].size() == n && n > 0 && std::memcmp(m_raw[f].data(), s, n) == 0)
                return m_entry.texts[f];
        return QString::fromUtf8(s, qsizetype(n));
    }

    bool Scalar()
    {
        if (m_skip)
            return true;
        switch (m_depth) {
        case 0:
            return false;
        case 1:
            if (m_member == Member::Root)
                NotTheRoot();
            else if (m_member == Member::Area)
                areaIsString = false;
            return true;
        case 3:
            ClearField();
            return true;
        case 4:
            m_pairs.emplace_back(m_key, std::nullopt);
            return true;
        default:
            return true;
        }
    }

    bool Number(int value)
    {
        if (m_depth == 4 && !m_skip) {
            m_pairs.emplace_back(m_key, value);
            return true;
        }
        return Scalar();
    }

    // A later value of a text or map member replaces the earlier one.
    void ClearField()
    {
        if (m_field >= 0) {
            m_entry.texts[m_field].clear();
            m_raw[m_field].clear();
        } else if (m_map >= 0) {
            m_entry.present[m_map] = false;
            m_entry.counts[m_map].clear();
        }
    }

    void NotTheRoot()
    {
        rootIsArray = false;
        m_handlers.restart();
    }

    // A container value of a root member other than the root array.
    void Member1Container()
    {
        if (m_member == Member::Root)
            NotTheRoot();
        else if (m_member == Member::Area)
            areaIsString = false;
        Skip();
    }

    bool Skip()
    {
        m_skip = m_depth;
        return true;
    }

    // The map's members as QJsonObject held them: the last of each name, numbers only.
    void TakePairs()
    {
        const bool ascending = std::adjacent_find(m_pairs.begin(), m_pairs.end(), [](const auto& a, const auto& b) {
                                   return !(a.first < b.first);
                               }) == m_pairs.end();
        if (!ascending) {
            std::stable_sort(m_pairs.begin(), m_pairs.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            // Keep the last of each run of equal names.
            auto out = m_pairs.begin();
            for (auto it = m_pairs.begin(); it != m_pairs.end(); ++it) {
                if (it + 1 != m_pairs.end() && (it + 1)->first == it->first)
                    continue;
                *out++ = std::move(*it);
            }
            m_pairs.erase(out, m_pairs.end());
        }
        auto& counts = m_entry.counts[m_map];
        counts.clear();
        for (auto& [name, count] : m_pairs)
            if (count)
                counts.emplace_back(std::move(name), *count);
        m_entry.present[m_map] = true;
    }

    const rapidjson::StringStream* m_stream = nullptr;
    const char* m_head = nullptr;
    size_t m_cut = 0;
    std::atomic<bool>* m_passed = nullptr;
    const QByteArray& m_root;
    const QByteArray* m_area;
    const Handlers& m_handlers;
    const bool m_escapes;
    int m_depth = 0;
    unsigned m_entries = 0;
    int m_skip = 0; // depth of the container being passed over, 0 when none
    bool m_inRoot = false;
    Member m_member = Member::Other;
    int m_field = -1;
    int m_map = -1;
    QString m_key;
    Entry m_entry;
    std::string m_raw[FieldCount]; // the UTF-8 of each text in m_entry
    std::vector<std::pair<QString, std::optional<int>>> m_pairs;
};

// Reads nothing: the text is empty or holds a NUL, which would end rapidjson's text early (the
// DOM reader takes NULs in strings). escapes: whether any "\ud" or "\uD" occurs, so that lone
// surrogates need looking for at all (backslashes are rare in documents).
bool Prepare(const QByteArray& utf8, bool& escapes)
{
    if (utf8.isEmpty() || std::memchr(utf8.constData(), 0, size_t(utf8.size())))
        return false;
    escapes = false;
    const char* const end = utf8.constData() + utf8.size();
    for (const char* p = utf8.constData();
         !escapes && (p = static_cast<const char*>(std::memchr(p, '\\', size_t(end - p)))); ++p)
        escapes = end - p > 2 && p[1] == 'u' && (p[2] == 'd' || p[2] == 'D');
    return true;
}

Result Outcome(const Handler& handler, const QString* areaMember, QString* area)
{
    if (!handler.rootIsArray || (areaMember && !handler.areaIsString))
        return Result::WrongKind;
    if (area)
        *area = handler.area;
    return Result::Ok;
}

// Below this a second thread costs more than it saves.
constexpr qsizetype kSplitFrom = 1 << 20;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

const char* SkipSpace(const char* p, const char* end)
{
    while (p != end && IsSpace(*p))
        ++p;
    return p;
}

// A "}" near the middle followed by "," and "{": perhaps the end of one root-array entry and the
// start of the next. The parse of the first half confirms it, or goes on past it.
struct Cut
{
    size_t brace; // the "}"
    size_t next;  // the "{" after it
};

std::optional<Cut> FindCut(const QByteArray& utf8)
{
    const char* const text = utf8.constData();
    const char* const end = text + utf8.size();
    for (const char* p = text + utf8.size() / 2; (p = static_cast<const char*>(std::memchr(p, '}', size_t(end - p))));
         ++p) {
        const char* q = SkipSpace(p + 1, end);
        if (q == end || *q != ',')
            continue;
        q = SkipSpace(q + 1, end);
        if (q != end && *q == '{')
            return Cut{size_t(p - text), size_t(q - text)};
    }
    return std::nullopt;
}

// The entries of the root array from `from` (the start of one) to its end, one value at a time,
// then the close of the root object and nothing more; false on anything else, to be read in one
// piece instead.
bool ReadEntriesFrom(const char* from, const char* end, Handler& handler, const std::atomic<bool>& abandon)
{
    rapidjson::Reader reader;
    rapidjson::StringStream stream(from);
    for (;;) {
        if (abandon ||
            reader.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag>(stream, handler)
                .IsError() ||
            !handler.InRootArray())
            return false;
        const char* p = SkipSpace(stream.src_, end);
        if (p != end && *p == ',') {
            stream.src_ = p + 1;
            continue;
        }
        if (p == end || *p != ']')
            return false;
        p = SkipSpace(p + 1, end);
        if (p == end || *p != '}')
            return false;
        return SkipSpace(p + 1, end) == end;
    }
}

} // namespace

Result Read(const QByteArray& utf8, const QString& rootMember, const QString* areaMember, QString* area,
            const Handlers& handlers)
{
    bool escapes = false;
    if (!Prepare(utf8, escapes) || !IsUtf8(utf8.constData(), size_t(utf8.size())))
        return Result::Unsupported;
    const QByteArray root = rootMember.toUtf8();
    const QByteArray areaName = areaMember ? areaMember->toUtf8() : QByteArray();
    Handler handler(root, areaMember ? &areaName : nullptr, handlers, escapes);
    rapidjson::Reader reader;
    rapidjson::StringStream stream(utf8.constData());
    if (reader.Parse<rapidjson::kParseIterativeFlag>(stream, handler).IsError())
        return Result::Unsupported;
    return Outcome(handler, areaMember, area);
}

Result ReadSplit(const QByteArray& utf8, const QString& rootMember, const Handlers& handlers, const Handlers& later,
                 bool& split)
{
    split = false;
    const std::optional<Cut> cut =
        utf8.size() >= kSplitFrom && std::thread::hardware_concurrency() > 1 ? FindCut(utf8) : std::nullopt;
    bool escapes = false;
    if (!cut || !Prepare(utf8, escapes))
        return Read(utf8, rootMember, nullptr, nullptr, handlers);
    const char* const text = utf8.constData();
    const size_t size = size_t(utf8.size());
    const QByteArray root = rootMember.toUtf8();

    // The cut falls on ASCII, so each half's UTF-8 can be checked on its own.
    std::atomic<bool> abandon = false;
    bool laterUtf8 = false;
    bool laterRead = false;
    std::thread worker([&] {
        laterUtf8 = IsUtf8(text + cut->next, size - cut->next);
        if (!laterUtf8)
            return;
        Handler handler(root, nullptr, later, escapes);
        handler.StartInRootArray();
        laterRead = ReadEntriesFrom(text + cut->next, text + size, handler, abandon);
    });
    const bool firstUtf8 = IsUtf8(text, cut->next);
    Handler handler(root, nullptr, handlers, escapes);
    rapidjson::StringStream stream(text);
    handler.StopAt(&stream, text, cut->brace, &abandon);
    bool parsed = false;
    if (firstUtf8) {
        rapidjson::Reader reader;
        parsed = !reader.Parse<rapidjson::kParseIterativeFlag>(stream, handler).IsError();
    }
    if (!handler.stoppedAtCut)
        abandon = true;
    worker.join();
    if (!firstUtf8 || !laterUtf8)
        return Result::Unsupported;
    if (handler.stoppedAtCut) {
        if (laterRead) {
            split = true;
            return Result::Ok;
        }
        // Something after the cut is not for this reader: the one-piece read says what.
        return Read(utf8, rootMember, nullptr, nullptr, handlers);
    }
    // The cut was not between two entries; the parse went on through the whole text.
    if (!parsed)
        return Result::Unsupported;
    return Outcome(handler, nullptr, nullptr);
}

} // namespace DocumentReader

#include "components/JsonTextWriter.h"

#include "components/AtomicFile.h"
#include "components/Platform.h"
#include "components/ThreadFailure.h"

#include <QFileDevice>
#include <QIODevice>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {
constexpr qsizetype kDrainAt = 1 << 20;
// Elements per block handed between the threads, and runs shorter than this many blocks stay on one.
constexpr size_t kBlock = 1024;
constexpr size_t kTwoThreadsFrom = 4;

char HexDigit(unsigned v)
{
    return char(v < 10 ? '0' + v : 'a' + v - 10);
}
} // namespace

namespace {

// A saved file is flushed to disk before it replaces the old one; starting the disk writes
// as the text goes out leaves that flush little to wait for (a tenth of a second for a
// 200 MB result otherwise).
void HandToDisk(QIODevice* sink, qint64& writtenBack)
{
    constexpr qint64 kWriteBackEvery = 16 << 20;
    auto* file = qobject_cast<QFileDevice*>(sink);
    if (!file || file->handle() < 0 || file->pos() - writtenBack < kWriteBackEvery)
        return;
    file->flush();
    const qint64 end = file->pos();
    Platform::StartWriteBack(file->handle(), writtenBack, end - writtenBack);
    writtenBack = end;
}

} // namespace

struct CJsonTextWriter::Flusher
{
    explicit Flusher(QIODevice* sink) : sink(sink), thread([this] { Run(); }) {}
    ~Flusher()
    {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        thread.join();
    }

    // Takes text's bytes to be written after those handed before; text is left empty.
    void Hand(ByteBuffer& text)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return full.size() < 2; });
        full.emplace_back();
        std::swap(full.back(), text);
        if (!empty.empty()) {
            std::swap(text, empty.back());
            empty.pop_back();
        }
        changed.notify_all();
    }
    // Waits until everything handed is written.
    void Wait()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return full.empty() && !busy; });
    }

    QIODevice* const sink;
    std::atomic<bool> failed{false};

private:
    void Run()
    {
        for (;;) {
            ByteBuffer text;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return !full.empty() || stop; });
                if (full.empty())
                    return;
                std::swap(text, full.front());
                full.pop_front();
                busy = true;
            }
            if (!failed && sink->write(text.data(), qint64(text.size())) != qint64(text.size()))
                failed = true;
            if (!failed)
                HandToDisk(sink, writtenBack);
            text.clear();
            std::lock_guard lock(mutex);
            empty.push_back(std::move(text));
            busy = false;
            changed.notify_all();
        }
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ByteBuffer> full;   // to be written, in order
    std::vector<ByteBuffer> empty; // written, to be filled again
    bool busy = false, stop = false;
    qint64 writtenBack = 0;
    std::thread thread; // last: it starts on the members above
};

CJsonTextWriter::CJsonTextWriter(QIODevice* sink) : m_sink(sink)
{
    m_members.reserve(16);
}

CJsonTextWriter::~CJsonTextWriter() = default;
CJsonTextWriter::CJsonTextWriter(CJsonTextWriter&&) noexcept = default;
CJsonTextWriter& CJsonTextWriter::operator=(CJsonTextWriter&&) noexcept = default;

bool CJsonTextWriter::Failed() const
{
    return m_failed || (m_flusher && m_flusher->failed);
}

void CJsonTextWriter::AppendEscaped(ByteBuffer& out, QStringView text)
{
    // Room for the longest form: a six-byte escape per unit.
    char* d = out.Room(size_t(text.size()) * 6);
    const char16_t* src = text.utf16();
    const char16_t* const end = src + text.size();
    while (src != end) {
        const char16_t u = *src++;
        if (u < 0x80) {
            if (u >= 0x20 && u != u'"' && u != u'\\') {
                *d++ = char(u);
                continue;
            }
            *d++ = '\\';
            switch (u) {
            case u'"':
                *d++ = '"';
                break;
            case u'\\':
                *d++ = '\\';
                break;
            case 0x8:
                *d++ = 'b';
                break;
            case 0xc:
                *d++ = 'f';
                break;
            case 0xa:
                *d++ = 'n';
                break;
            case 0xd:
                *d++ = 'r';
                break;
            case 0x9:
                *d++ = 't';
                break;
            default:
                *d++ = 'u';
                *d++ = '0';
                *d++ = '0';
                *d++ = HexDigit(u >> 4);
                *d++ = HexDigit(u & 0xf);
            }
            continue;
        }
        if (u < 0x800) {
            *d++ = char(0xc0 | (u >> 6));
            *d++ = char(0x80 | (u & 0x3f));
        } else if (u < 0xd800 || u > 0xdfff) {
            *d++ = char(0xe0 | (u >> 12));
            *d++ = char(0x80 | ((u >> 6) & 0x3f));
            *d++ = char(0x80 | (u & 0x3f));
        } else if (u <= 0xdbff && src != end && *src >= 0xdc00 && *src <= 0xdfff) {
            const char32_t c = 0x10000 + ((char32_t(u) - 0xd800) << 10) + (char32_t(*src++) - 0xdc00);
            *d++ = char(0xf0 | (c >> 18));
            *d++ = char(0x80 | ((c >> 12) & 0x3f));
            *d++ = char(0x80 | ((c >> 6) & 0x3f));
            *d++ = char(0x80 | (c & 0x3f));
        } else {
            // A surrogate without its partner has no UTF-8 form; JSON keeps it as an escape.
            *d++ = '\\';
            *d++ = 'u';
            *d++ = HexDigit((u >> 12) & 0xf);
            *d++ = HexDigit((u >> 8) & 0xf);
            *d++ = HexDigit((u >> 4) & 0xf);
            *d++ = HexDigit(u & 0xf);
        }
    }
    out.SetEnd(d);
}

void CJsonTextWriter::Indent(qsizetype levels)
{
    static const char spaces[] = "                                                                ";
    constexpr qsizetype chunk = sizeof(spaces) - 1;
    for (qsizetype n = levels * 4; n > 0; n -= chunk)
        m_out.Append(spaces, size_t(std::min(n, chunk)));
}

// The line break before a member or element and its indentation, in one append where the
// nesting allows (it nearly always does).
void CJsonTextWriter::NextLine()
{
    static const char separator[] = ",\n                                                                "
                                    "                                                                ";
    const bool first = m_members.back()++ == 0;
    const size_t indent = m_members.size() * 4;
    if (indent + 2 < sizeof separator) {
        m_out.Append(separator + (first ? 2 : 0), indent + (first ? 0 : 2));
        return;
    }
    if (!first)
        m_out.Append(",\n", 2);
    Indent(qsizetype(m_members.size()));
}

void CJsonTextWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_members.empty())
        return;
    NextLine(); // an array element
}

void CJsonTextWriter::Key(QStringView name)
{
    NextLine();
    // Member names are mostly plain ASCII, which goes out as it is.
    const size_t start = m_out.size();
    char* d = m_out.Room(size_t(name.size()) + 4);
    *d++ = '"';
    const char16_t* p = name.utf16();
    const char16_t* const end = p + name.size();
#ifdef __SSE2__
    // Eight units at a time: plain when 0x20 <= u <= 0x7E and neither '"' nor '\\' (the
    // signed compare counts units from 0x8000 up as below 0x20).
    for (; end - p >= 8; p += 8, d += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmplt_epi16(v, _mm_set1_epi16(0x20)), _mm_cmpgt_epi16(v, _mm_set1_epi16(0x7E))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('"')), _mm_cmpeq_epi16(v, _mm_set1_epi16('\\'))));
        if (_mm_movemask_epi8(special))
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(v, v));
    }
#endif
    for (; p != end; ++p) {
        const char16_t u = *p;
        if (u < 0x20 || u >= 0x7F || u == u'"' || u == u'\\') {
            m_out.Truncate(start + 1);
            AppendEscaped(m_out, name);
            d = m_out.Room(3);
            break;
        }
        *d++ = char(u);
    }
    std::memcpy(d, "\": ", 3);
    m_out.SetEnd(d + 3);
    m_afterKey = true;
}

void CJsonTextWriter::String(QStringView text)
{
    BeforeValue();
    m_out.Push('"');
    AppendEscaped(m_out, text);
    m_out.Push('"');
    Drain();
}

void CJsonTextWriter::Int(qint64 value)
{
    BeforeValue();
    char* d = m_out.Room(24);
    m_out.SetEnd(std::to_chars(d, d + 24, value).ptr);
}

void CJsonTextWriter::Raw(QByteArrayView token)
{
    BeforeValue();
    m_out.Append(token.data(), size_t(token.size()));
}

void CJsonTextWriter::Open(char opener)
{
    BeforeValue();
    m_out.Push(opener);
    m_out.Push('\n');
    m_members.push_back(0);
}

void CJsonTextWriter::Close(char closer)
{
    if (m_members.back() > 0)
        m_out.Push('\n');
    m_members.pop_back();
    Indent(qsizetype(m_members.size()));
    m_out.Push(closer);
    Drain();
}

void CJsonTextWriter::Elements(size_t count, const std::function<void(CJsonTextWriter&, size_t)>& element)
{
    const auto block = [&](CJsonTextWriter& w, size_t b) {
        for (size_t i = b * kBlock, end = std::min(count, i + kBlock); i < end; ++i)
            element(w, i);
    };
    const size_t blocks = (count + kBlock - 1) / kBlock;
    if (blocks < kTwoThreadsFrom || std::thread::hardware_concurrency() < 2) {
        for (size_t b = 0; b < blocks; ++b)
            block(*this, b);
        return;
    }
    // Both threads take the next block, each into a writer of its own at this depth, and this
    // one puts them in, in order: whichever has less else to do formats more. Neither runs more
    // than a few blocks ahead of what is put in, so that memory stays flat.
    constexpr size_t kAhead = 3;
    const size_t depth = m_members.size();
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::unique_ptr<CJsonTextWriter>> done(blocks);
    size_t next = 0, spliced = 0;
    bool stop = false;  // this thread gave up (an exception): the worker ends
    size_t largest = 0; // of the blocks so far, so that the next one seldom regrows
    // The next block to format, or blocks when none may be taken yet (or is left).
    const auto take = [&](std::unique_lock<std::mutex>&) {
        return next < blocks && next < spliced + kAhead ? next++ : blocks;
    };
    const auto format = [&](std::unique_lock<std::mutex>& lock, size_t b) {
        const size_t room = largest + largest / 8;
        lock.unlock();
        auto branch = std::make_unique<CJsonTextWriter>();
        branch->m_members.assign(depth, 1);
        branch->m_members.back() = 0;
        branch->m_out.Reserve(room);
        block(*branch, b);
        lock.lock();
        largest = std::max(largest, branch->m_out.size());
        done[b] = std::move(branch);
        changed.notify_all();
    };
    CThreadFailure failure;
    std::thread worker([&] {
        failure.Run([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                size_t b = blocks;
                changed.wait(lock, [&] { return stop || next >= blocks || (b = take(lock)) < blocks; });
                if (b >= blocks)
                    return;
                format(lock, b);
            }
        });
        std::lock_guard lock(mutex);
        changed.notify_all();
    });
    const auto join = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        worker.join();
    };
    try {
        std::unique_lock lock(mutex);
        while (spliced < blocks) {
            if (done[spliced]) {
                const std::unique_ptr<CJsonTextWriter> branch = std::move(done[spliced++]);
                changed.notify_all();
                lock.unlock();
                Splice(*branch);
                lock.lock();
                continue;
            }
            if (const size_t b = take(lock); b < blocks) {
                format(lock, b);
                continue;
            }
            if (failure.Failed())
                break; // its exception follows below
            changed.wait(lock, [&] { return done[spliced] != nullptr || failure.Failed(); });
        }
    } catch (...) {
        join();
        throw;
    }
    join();
    failure.Rethrow();
}

void CJsonTextWriter::Splice(CJsonTextWriter& branch)
{
    if (branch.m_members.back() == 0)
        return;
    if (m_members.back() > 0)
        m_out.Append(",\n", 2);
    m_members.back() += branch.m_members.back();
    if (!m_sink) {
        m_out.Append(branch.m_out);
        return;
    }
    // To the file after what is pending, without a copy into this writer; a file's writes go
    // to the writing thread, or this thread, which formats too, would wait on them.
    if (!m_flusher && qobject_cast<QFileDevice*>(m_sink))
        m_flusher = std::make_unique<Flusher>(m_sink);
    WritePending();
    if (m_flusher) {
        if (!m_flusher->failed)
            m_flusher->Hand(branch.m_out);
        return;
    }
    Write(branch.m_out);
    StartWriteBack();
}

void CJsonTextWriter::Drain()
{
    if (!m_sink || qsizetype(m_out.size()) < kDrainAt)
        return;
    if (!m_flusher && qobject_cast<QFileDevice*>(m_sink))
        m_flusher = std::make_unique<Flusher>(m_sink);
    WritePending();
    if (!m_flusher)
        StartWriteBack();
}

// Once a write fails, nothing more goes to the sink and Finish reports it.
void CJsonTextWriter::Write(const ByteBuffer& text)
{
    if (!m_failed && m_sink->write(text.data(), qint64(text.size())) != qint64(text.size()))
        m_failed = true;
}

void CJsonTextWriter::WritePending()
{
    if (m_flusher) {
        if (!m_flusher->failed)
            m_flusher->Hand(m_out);
        m_out.clear();
        return;
    }
    Write(m_out);
    m_out.clear();
}

void CJsonTextWriter::StartWriteBack()
{
    HandToDisk(m_sink, m_writtenBack);
}

bool CJsonTextWriter::Finish()
{
    m_out.Push('\n');
    if (m_sink)
        WritePending();
    if (m_flusher) {
        m_flusher->Wait();
        m_failed = m_failed || m_flusher->failed;
        m_flusher.reset();
    }
    return !m_failed;
}

bool SaveJsonFile(const QString& path, const std::function<void(CJsonTextWriter&)>& write, QString* error)
{
    CAtomicFile file(path);
    bool ok = file.Open();
    if (ok) {
        CJsonTextWriter writer(&file);
        write(writer);
        const bool whole = writer.Finish();
        ok = file.Commit(whole);
    }
    if (!ok && error)
        *error = file.Error();
    return ok;
}

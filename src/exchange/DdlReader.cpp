#include "exchange/DdlReader.h"

#include "exchange/DdlSplitter.h"
#include "exchange/ModelSourceTexts.h"

#include "components/ThreadFailure.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

using ModelSource::Dialect;
namespace T = ModelSourceTexts;

namespace DdlReader {
using namespace Internal;
namespace {

// The whole file's verdict on UTF-8: the first byte that is not (its place, line and value),
// and how many characters are well-formed multi-byte UTF-8 and how many bytes are not.
struct Utf8Verdict
{
    qint64 firstBad = -1;
    int badLine = 0;
    uchar badByte = 0;
    qint64 good = 0, bad = 0;
    bool readFailed = false;
};

// The bytes of a UTF-8 byte order mark at the file's start, read past: 3 or 0.
qint64 ReadBom(QFile& file)
{
    return file.read(3) == QByteArrayLiteral("\xEF\xBB\xBF") ? 3 : 0;
}

// Read in pieces rather than mapped: a mapped file of hundreds of megabytes stays in the
// process's memory as long as the mapping does.
Utf8Verdict CheckUtf8(QFile& file, qint64 from, const std::atomic<bool>* stop = nullptr)
{
    Utf8Verdict v;
    QByteArray buffer;
    qint64 base = from; // the file's offset of buffer[0]
    int line = 1;
    if (!file.seek(from)) {
        v.readFailed = true;
        return v;
    }
    for (;;) {
        if (stop && *stop) {
            v.readFailed = true;
            return v;
        }
        const QByteArray more = file.read(1 << 20);
        if (file.error() != QFileDevice::NoError) {
            v.readFailed = true;
            return v;
        }
        const bool last = more.isEmpty();
        buffer += more;
        const uchar* p = reinterpret_cast<const uchar*>(buffer.constData());
        const qsizetype n = buffer.size();
        // Short of the end, a sequence begun before stop is whole in the buffer.
        const qsizetype stop = last ? n : n - 3;
        qsizetype i = 0;
        while (i < stop) {
            const uchar c = p[i];
            if (c < 0x80) {
                // Most of a script is ASCII: eight bytes at a time.
                for (++i; i + 8 <= stop; i += 8) {
                    quint64 eight;
                    std::memcpy(&eight, p + i, sizeof eight);
                    if (eight & 0x8080808080808080ull)
                        break;
                }
                continue;
            }
            const int extra = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
            bool ok = extra > 0;
            for (int k = 1; ok && k <= extra; ++k)
                ok = i + k < n && (p[i + k] & 0xC0) == 0x80;
            if (ok) {
                ++v.good;
                i += extra + 1;
            } else {
                if (v.firstBad < 0) {
                    v.firstBad = base + i;
                    v.badLine = line + int(std::count(p, p + i, uchar('\n')));
                    v.badByte = c;
                }
                ++v.bad;
                ++i;
            }
        }
        if (v.firstBad < 0)
            line += int(std::count(p, p + i, uchar('\n')));
        if (last)
            return v;
        buffer.remove(0, i);
        base += i;
    }
}

// Whether the file's last bytes, at its end, stop inside a UTF-8 sequence: a decoder that
// carries a sequence over from piece to piece keeps such a tail without flagging it.
bool EndsInsideSequence(QByteArrayView bytes, bool atEnd)
{
    if (!atEnd)
        return false;
    for (qsizetype k = 1; k <= std::min<qsizetype>(4, bytes.size()); ++k) {
        const uchar c = uchar(bytes[bytes.size() - k]);
        if ((c & 0xC0) == 0x80)
            continue;
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > k;
    }
    return false; // four continuation bytes: the decoder flags them
}

// text is case-folded already: forty searches that each fold every character of a quarter of a
// megabyte cost more than reading the rest of a small script.
int Score(QStringView text, std::initializer_list<const char16_t*> marks)
{
    int score = 0;
    for (const char16_t* m : marks)
        score += text.contains(QString::fromUtf16(m).toCaseFolded()) ? 1 : 0;
    return score;
}

} // namespace

Dialect GuessDialect(QStringView sample)
{
    const QString text = sample.toString().toCaseFolded();
    const int mysql = Score(text, {u"`", u"ENGINE=", u"ENGINE =", u"AUTO_INCREMENT", u"CHARSET", u"UNSIGNED",
                                   u"COLLATE=", u"LOCK TABLES"}) *
                      2;
    const int postgres =
        Score(text, {u"pg_catalog", u"SERIAL", u"::", u"CHARACTER VARYING", u"search_path", u"OWNER TO", u"$$",
                     u"TIMESTAMP WITHOUT", u"FROM stdin", u"TEXT,", u"BYTEA", u"JSONB", u"BOOLEAN", u"CREATE EXTENSION",
                     u"TIMESTAMPTZ", u"USING btree", u"USING gist"});
    const int oracle = Score(text, {u"VARCHAR2", u"NUMBER(", u"NVARCHAR2", u"TABLESPACE", u"SYSDATE", u"CLOB",
                                    u" BYTE)", u" CHAR)", u"NUMBER,", u"NUMBER\n"}) *
                       2;
    const int sqlite =
        Score(text, {u"AUTOINCREMENT", u"PRAGMA", u"WITHOUT ROWID", u"sqlite_", u"BEGIN TRANSACTION"}) * 2;
    const int best = std::max({mysql, postgres, oracle, sqlite});
    if (best == 0)
        return Dialect::Unknown;
    if (best == mysql)
        return Dialect::MySql;
    if (best == oracle)
        return Dialect::Oracle;
    if (best == sqlite)
        return Dialect::Sqlite;
    return Dialect::PostgreSql;
}

namespace {

bool Finish(Script& script, ModelSource::AttributeList& list, QString& error, std::vector<TableRef>* refs = nullptr,
            std::vector<Table>* held = nullptr, std::unique_ptr<TableSpill>* spill = nullptr)
{
    if (script.CreateTables() == 0) {
        error = T::kNoCreateTable;
        return false;
    }
    script.Finish(refs, held, spill);
    list.DoneReading();
    list.dialect = script.GetDialect();
    if (list.rows.isEmpty())
        list.rows.append(ModelSource::SheetHeader());
    return true;
}

} // namespace

bool ReadText(const QString& text, const QString& name, ModelSource::AttributeList& list, QString& error,
              const Options& options)
{
    list = ModelSource::AttributeList();
    Dialect dialect = options.dialect;
    if (dialect == Dialect::Unknown)
        dialect = GuessDialect(QStringView(text).left(256 * 1024));
    Script script(dialect, list);
    script.SetFile(name);
    Splitter splitter(script);
    splitter.Feed(text);
    splitter.End();
    return Finish(script, list, error);
}

namespace {

// The statements cut into tokens on the reading thread, applied in order on a second one: the
// reading (decoding, splitting, tokens) and the model's work go on side by side.
class Pipeline
{
public:
    explicit Pipeline(Script& script) : m_script(script)
    {
        script.DeferTo([this](LexedStatement&& st) {
            m_pending.push_back(std::move(st));
            if (m_pending.size() >= kBatch)
                Hand();
        });
        script.ShareWorkBy(&m_waiting);
        m_worker = std::thread([this] {
            m_failure.Run([this] { Work(); });
            // A worker that failed takes no more: the reading thread must not wait for room.
            {
                std::lock_guard lock(m_mutex);
                m_ended = true;
            }
            m_changed.notify_all();
        });
    }
    ~Pipeline() { End(true); }
    // Every statement applied; the worker's exception goes on here.
    void Finish()
    {
        Hand();
        End(false);
        m_failure.Rethrow();
    }
    // Cancelled: what is queued is dropped.
    void Stop() { End(true); }

private:
    static constexpr size_t kBatch = 512;
    static constexpr size_t kAhead = 8; // batches queued at most

    void Hand()
    {
        if (m_pending.empty())
            return;
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop || m_ended || m_queue.size() < kAhead; });
        m_queue.push_back(std::move(m_pending));
        m_pending = std::vector<LexedStatement>();
        m_waiting = int(m_queue.size());
        m_changed.notify_all();
    }
    // The worker ends once the queue is empty, or at once when stopped.
    void End(bool stop)
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
            m_stop = m_stop || stop;
        }
        m_changed.notify_all();
        if (m_worker.joinable())
            m_worker.join();
        m_script.DeferTo({});
        m_script.ShareWorkBy(nullptr);
    }
    void Work()
    {
        for (;;) {
            std::vector<LexedStatement> batch;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || !m_queue.empty() || m_done; });
                if (m_stop || m_queue.empty())
                    return;
                batch = std::move(m_queue.front());
                m_queue.pop_front();
                m_waiting = int(m_queue.size());
            }
            m_changed.notify_all();
            for (LexedStatement& st : batch)
                m_script.Apply(st);
        }
    }

    Script& m_script;
    std::vector<LexedStatement> m_pending;
    std::deque<std::vector<LexedStatement>> m_queue;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false, m_stop = false, m_ended = false;
    std::atomic<int> m_waiting{1}; // batches queued for the applying thread
    CThreadFailure m_failure;
    std::thread m_worker;
};

} // namespace

Tables::Tables() = default;
Tables::~Tables() = default;

bool Tables::Next(Table& out)
{
    while (m_next < m_refs.size()) {
        const Internal::TableRef ref = m_refs[m_next++];
        Internal::Table t;
        if (ref.at < 0) {
            t = std::move(m_held[ref.held]);
        } else {
            t.spillAt = ref.at;
            t.spillBytes = ref.bytes;
            if (!m_spill->Take(t)) {
                m_failed = true;
                m_refs = std::vector<Internal::TableRef>();
                m_held = std::vector<Internal::Table>();
                return false;
            }
        }
        out.schema = std::move(t.schema);
        out.name = std::move(t.name);
        out.comment = std::move(t.comment);
        out.columns.clear();
        for (Internal::Column& c : t.columns) {
            if (c.dropped)
                continue;
            auto type = m_types.find(c.type);
            if (type == m_types.end()) {
                if (m_types.size() >= 4096)
                    m_types.clear(); // a bound for scripts of endless distinct types
                Type made{ModelSource::NormalizeType(m_dialect, c.type), {}, {}};
                made.display = made.type.Display();
                made.name = made.display.section(u'(', 0, 0).trimmed();
                type = m_types.emplace(c.type, std::move(made)).first;
            }
            const Type& known = type->second;
            out.columns.push_back({std::move(c.name), std::move(c.comment), std::move(c.definition), known.type,
                                   known.display, known.name, c.keys});
        }
        if (!out.columns.empty())
            return true;
    }
    m_refs = std::vector<Internal::TableRef>();
    m_held = std::vector<Internal::Table>();
    return false;
}

namespace {

// The UTF-8 verdicts of the files after the first, worked out on a thread of their own while
// the files before them are read, so that no thread waits for a whole file's check.
class Utf8Ahead
{
public:
    explicit Utf8Ahead(const QStringList& files) : m_verdicts(size_t(files.size()))
    {
        if (files.size() < 2)
            return;
        m_thread = std::thread([this, files] {
            qsizetype i = 1;
            try {
                for (; i < files.size() && !m_stop; ++i) {
                    Utf8Verdict v;
                    QFile file(files[i]);
                    if (file.open(QIODevice::ReadOnly)) {
                        v = CheckUtf8(file, ReadBom(file), &m_stop);
                    } else {
                        v.readFailed = true;
                    }
                    std::lock_guard lock(m_mutex);
                    m_verdicts[size_t(i)] = v;
                    m_checked = i;
                    m_changed.notify_all();
                }
            } catch (...) {
                // Out of memory here: the reading thread checks the rest itself.
            }
            std::lock_guard lock(m_mutex);
            for (; i < files.size(); ++i)
                m_verdicts[size_t(i)].readFailed = true;
            m_checked = files.size();
            m_changed.notify_all();
        });
    }
    ~Utf8Ahead()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    // File i's verdict when it was checked ahead and could be read; else the caller checks it.
    std::optional<Utf8Verdict> Take(qsizetype i)
    {
        if (i < 1 || !m_thread.joinable())
            return std::nullopt;
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_checked >= i; });
        const Utf8Verdict v = m_verdicts[size_t(i)];
        return v.readFailed ? std::nullopt : std::optional<Utf8Verdict>(v);
    }

private:
    std::vector<Utf8Verdict> m_verdicts;
    qsizetype m_checked = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace

bool Read(const QStringList& files, ModelSource::AttributeList& list, QString& error, const Options& options,
          Tables* tables)
{
    qint64 total = 0, done = 0;
    for (const QString& f : files)
        total += QFileInfo(f).size();
    std::unique_ptr<Script> script;
    std::unique_ptr<Splitter> splitter;
    std::unique_ptr<Pipeline> pipeline; // declared after the script it applies to: stopped first
    const qint64 kPiece = std::max<qint64>(1, options.pieceBytes);
    std::optional<Utf8Ahead> ahead;
    // Most scripts are UTF-8 throughout: they are read so, the decoder watching for a byte that
    // is not, without a pass of their own. Only then is everything read again from the start,
    // each file's encoding decided from the whole file first.
    bool checkFirst = false;
    const auto readAgainChecked = [&] {
        if (pipeline)
            pipeline->Stop(); // before the list is let go
        pipeline.reset();
        splitter.reset();
        script.reset();
        checkFirst = true;
        if (options.twoThreadsFrom >= 0 && total >= options.twoThreadsFrom)
            ahead.emplace(files);
    };
again:
    list = ModelSource::AttributeList();
    done = 0;
    for (qsizetype fileIndex = 0; fileIndex < files.size(); ++fileIndex) {
        const QString& path = files[fileIndex];
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (") + file.errorString() + u')';
            return false;
        }
        const auto cannotRead = [&] {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (") + file.errorString() + u')';
            return false;
        };
        const qint64 offset = ReadBom(file);
        // Decided once from the whole file: a UTF-8 file with a stray byte stays UTF-8 (the
        // byte is named), and a CP949 file is said to be read so.
        const std::optional<Utf8Verdict> checked = ahead ? ahead->Take(fileIndex) : std::nullopt;
        const Utf8Verdict verdict = checked ? *checked : checkFirst ? CheckUtf8(file, offset) : Utf8Verdict();
        if (verdict.readFailed)
            return cannotRead();
        const bool utf8 = offset == 3 || verdict.bad == 0 || verdict.good > verdict.bad;
        if (verdict.bad > 0) {
            const QString hex = QString::number(verdict.badByte, 16).toUpper();
            const QString warning =
                (utf8 ? T::kBadUtf8 : T::kReadAsCp949).arg(QFileInfo(path).fileName()).arg(verdict.badLine).arg(hex);
            if (script)
                script->Warning(warning); // after the warnings of the files before
            else
                list.warnings.append(warning);
        }
        QStringDecoder decoder = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("CP949");
        if (!decoder.isValid()) {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (CP949)");
            return false;
        }
        if (!file.seek(offset))
            return cannotRead();
        const QString name = QFileInfo(path).fileName();
        QByteArray piece;
        if (!script) {
            Dialect dialect = options.dialect;
            if (dialect == Dialect::Unknown) {
                piece = file.read(256 * 1024);
                QStringDecoder sampler = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("CP949");
                const QString text = sampler.decode(piece);
                if (!checkFirst && (sampler.hasError() || EndsInsideSequence(piece, file.atEnd()))) {
                    readAgainChecked();
                    goto again;
                }
                dialect = GuessDialect(text);
            }
            script = std::make_unique<Script>(dialect, list);
            script->SpillBeyond(options.heldColumns);
            splitter = std::make_unique<Splitter>(*script);
            if (options.twoThreadsFrom >= 0 && total >= options.twoThreadsFrom)
                pipeline = std::make_unique<Pipeline>(*script);
        }
        script->SetFile(name);
        done += offset;
        for (;;) {
            if (piece.size() < kPiece)
                piece += file.read(kPiece - piece.size());
            if (file.error() != QFileDevice::NoError)
                return cannotRead();
            if (piece.isEmpty())
                break;
            // Pieces end after a line break: never inside a character of either encoding.
            qsizetype end = piece.size();
            if (!file.atEnd()) {
                const qsizetype nl = piece.lastIndexOf('\n');
                if (nl > 0)
                    end = nl + 1;
            }
            const QString text = decoder.decode(QByteArrayView(piece).first(end));
            if (!checkFirst && (decoder.hasError() || EndsInsideSequence(piece, file.atEnd()))) {
                readAgainChecked();
                goto again;
            }
            splitter->Feed(text);
            piece.remove(0, end);
            done += end;
            if (options.progress && !options.progress(done, total)) {
                if (pipeline)
                    pipeline->Stop(); // before the list is let go
                error = T::kCancelled;
                list = ModelSource::AttributeList();
                return false;
            }
        }
        splitter->End();
    }
    if (!script) {
        error = T::kNoCreateTable;
        return false;
    }
    if (pipeline)
        pipeline->Finish();
    bool read = tables ? Finish(*script, list, error, &tables->m_refs, &tables->m_held, &tables->m_spill)
                       : Finish(*script, list, error);
    if (read && script->SpillFailed()) {
        error = T::kSpillFailed;
        list = ModelSource::AttributeList();
        read = false;
    }
    if (tables) {
        tables->m_dialect = script->GetDialect();
        tables->m_next = 0;
    }
    return read;
}

} // namespace DdlReader

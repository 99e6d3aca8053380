// The entries of a report kept on disk, and the report's JSON written as a stream.
#include "components/AtomicFile.h"
#include "components/JsonTextWriter.h"
#include "components/Platform.h"
#include "components/TextHash.h"
#include "components/TextRecord.h"
#include "components/ThreadFailure.h"
#include "standard/ConformanceCheck.h"

#include <QJsonArray>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QVarLengthArray>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// A subject by a 64-bit hash of its text, as the tally counts names: counters for hundreds of
// thousands of column names without holding the names.
using SubjectKey = quint64;

// Why a temporary file could not be written: nearly always a full disk or a size limit.
int WriteError()
{
    return Platform::LastError() ? Platform::LastError() : ENOSPC;
}

// Blocks that produce makes on a second thread (handing each, false once consume stopped),
// taken by consume on this one at most two behind; false when either stopped or failed.
template <typename Block>
bool ReadAhead(const std::function<bool(const std::function<bool(Block&&)>&)>& produce,
               const std::function<bool(Block&)>& consume)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<Block> blocks;
        bool ended = false, read = false, stop = false;
    } shared;
    CThreadFailure failure;
    std::thread reader([&] {
        failure.Run([&] {
            const bool ok = produce([&shared](Block&& block) {
                std::unique_lock lock(shared.mutex);
                shared.changed.wait(lock, [&] { return shared.stop || shared.blocks.size() < 2; });
                if (shared.stop)
                    return false;
                shared.blocks.push_back(std::move(block));
                shared.changed.notify_all();
                return true;
            });
            std::lock_guard lock(shared.mutex);
            shared.read = ok;
        });
        std::lock_guard lock(shared.mutex);
        shared.ended = true;
        shared.changed.notify_all();
    });
    const auto stopReader = qScopeGuard([&] {
        {
            std::lock_guard lock(shared.mutex);
            shared.stop = true;
            shared.changed.notify_all();
        }
        reader.join();
    });
    for (;;) {
        Block block;
        {
            std::unique_lock lock(shared.mutex);
            shared.changed.wait(lock, [&] { return !shared.blocks.empty() || shared.ended; });
            if (shared.blocks.empty())
                break;
            block = std::move(shared.blocks.front());
            shared.blocks.pop_front();
            shared.changed.notify_all();
        }
        if (!consume(block))
            return false;
    }
    failure.Rethrow();
    std::lock_guard lock(shared.mutex);
    return shared.read;
}

} // namespace

// Records written at a temporary file's end and read back from its start: the findings of a
// kind, the plan's rows. A record is texts (TextRecord) and counts, gathered in memory and
// written a megabyte at a time: a stream's call per text cost more than the copy.
struct ConformanceRecordFile
{
    static constexpr qsizetype kWriteAt = 1 << 20;
    std::unique_ptr<QTemporaryFile> file;
    mutable QByteArray held; // records not yet written
    mutable bool writeFailed = false;
    qint64 records = 0;

    // Made at the first record; false when it cannot be.
    bool Open()
    {
        if (file)
            return true;
        file = std::make_unique<QTemporaryFile>();
        if (!file->open()) {
            file.reset();
            return false;
        }
        held.reserve(kWriteAt + 4096);
        return true;
    }
    void PutCount(quint32 n) { held.append(reinterpret_cast<const char*>(&n), sizeof n); }
    void PutText(QStringView text)
    {
        const qsizetype at = held.size();
        held.resize(at + TextRecord::TextBytes(text));
        char* to = held.data() + at;
        TextRecord::PutText(to, text);
    }
    // A record ends; false once the file cannot be written.
    bool EndRecord()
    {
        ++records;
        return held.size() < kWriteAt ? !writeFailed : Flush();
    }
    bool Flush() const
    {
        if (!writeFailed && !held.isEmpty())
            writeFailed = !file || file->write(held) != held.size();
        held.resize(0); // keeps its room; clear() would let it go
        return !writeFailed;
    }

    // Where a text's units start among a block's bytes, and how many (-1 for a null text).
    struct Place
    {
        qsizetype at = 0;
        qint64 size = -1;
    };

    class Reader
    {
    public:
        explicit Reader(QFile& in) : m_in(in) {}
        bool Count(quint32& n)
        {
            if (!Have(sizeof n))
                return false;
            std::memcpy(&n, m_bytes.constData() + m_at, sizeof n);
            m_at += qsizetype(sizeof n);
            return true;
        }
        bool Text(QString& text)
        {
            // Its length first, to have the whole text in the buffer.
            quint32 n = 0;
            if (!Have(sizeof n))
                return false;
            std::memcpy(&n, m_bytes.constData() + m_at, sizeof n);
            const qsizetype bytes =
                qsizetype(sizeof n) + (n == ~quint32(0) ? 0 : qsizetype(n) * qsizetype(sizeof(QChar)));
            if (!Have(bytes))
                return false;
            const char* at = m_bytes.constData() + m_at;
            TextRecord::TakeText(at, at + bytes, text);
            m_at += bytes;
            return true;
        }

        // From here the bytes read stay where Kept() shows them, until KeepFromHere again.
        void KeepFromHere() { m_keptFrom = m_at; }
        const char* Kept() const { return m_bytes.constData() + m_keptFrom; }
        qsizetype KeptSize() const { return m_at - m_keptFrom; }
        // A text as its place among the kept bytes.
        bool TextPlace(Place& place)
        {
            qsizetype& at = place.at;
            qint64& size = place.size;
            quint32 n = 0;
            if (!Have(sizeof n))
                return false;
            std::memcpy(&n, m_bytes.constData() + m_at, sizeof n);
            size = n == ~quint32(0) ? -1 : qint64(n);
            const qsizetype bytes = qsizetype(sizeof n) + (size < 0 ? 0 : qsizetype(n) * qsizetype(sizeof(QChar)));
            if (!Have(bytes))
                return false;
            at = m_at + qsizetype(sizeof n) - m_keptFrom;
            m_at += bytes;
            return true;
        }

    private:
        bool Have(qsizetype bytes)
        {
            if (m_bytes.size() - m_at >= bytes)
                return true;
            const qsizetype drop = m_keptFrom < 0 ? m_at : m_keptFrom;
            m_bytes.remove(0, drop);
            m_at -= drop;
            if (m_keptFrom >= 0)
                m_keptFrom = 0;
            const QByteArray more = m_in.read(std::max<qsizetype>(bytes - m_bytes.size(), kWriteAt));
            m_bytes.append(more);
            return m_bytes.size() >= bytes;
        }
        QFile& m_in;
        QByteArray m_bytes;
        qsizetype m_at = 0;
        qsizetype m_keptFrom = -1; // none kept
    };

    // Each record from the start, until record returns false; false then or when the file
    // cannot be read back.
    bool Read(const std::function<bool(Reader&)>& record) const
    {
        if (!file || records == 0)
            return true;
        if (!Flush() || !file->flush())
            return false;
        QFile in(file->fileName());
        if (!in.open(QIODevice::ReadOnly))
            return false;
        Reader reader(in);
        for (qint64 i = 0; i < records; ++i)
            if (!record(reader))
                return false;
        return true;
    }

    // The records a block at a time, their texts as views (places reads one record's);
    // false when hand or places returned false or the file could not be read back.
    bool ReadBlocks(size_t perBlock, const std::function<bool(Reader&, std::vector<Place>&)>& places,
                    const std::function<bool(ConformanceTextBlock&&)>& hand) const
    {
        std::vector<Place> at;
        std::vector<size_t> starts;
        qint64 left = records;
        return Read([&](Reader& in) {
            if (starts.empty())
                in.KeepFromHere();
            starts.push_back(at.size());
            if (!places(in, at))
                return false;
            if (--left > 0 && starts.size() < perBlock)
                return true;
            // The block's bytes are copied once, so that its views stay put wherever it goes.
            ConformanceTextBlock block;
            block.bytes = QByteArray(in.Kept(), in.KeptSize());
            const auto* units = reinterpret_cast<const QChar*>(block.bytes.constData());
            block.texts.reserve(at.size());
            for (const Place& p : at)
                block.texts.push_back(p.size < 0 ? QStringView()
                                                 : QStringView(units + p.at / qsizetype(sizeof(QChar)), p.size));
            block.starts = std::exchange(starts, {});
            starts.reserve(perBlock);
            at.clear();
            return hand(std::move(block));
        });
    }
};

struct ConformanceEntrySpill::Impl
{
    struct Counted
    {
        int count = 0;
        qint64 first = 0;
    };
    struct Kind
    {
        ConformanceRecordFile entries;
        QHash<SubjectKey, Counted> subjects;
    };
    std::array<Kind, eFindingCount> kinds;
    qint64 added = 0;
    bool failed = false;
    int errnum = 0;

    void Fail()
    {
        if (!failed)
            errnum = WriteError();
        failed = true;
    }
};

ConformanceEntrySpill::ConformanceEntrySpill() : d(std::make_unique<Impl>()) {}

ConformanceEntrySpill::~ConformanceEntrySpill() = default;

bool ConformanceEntrySpill::Add(int kind, const ConformanceEntry& e)
{
    return Add(kind, ConformanceEntryTexts{e.table, e.column, e.attribute, e.dataType, e.subject, e.replacement});
}

bool ConformanceEntrySpill::Add(int kind, const ConformanceEntryTexts& e)
{
    if (d->failed || kind < 0 || kind >= eFindingCount)
        return false;
    Impl::Kind& k = d->kinds[size_t(kind)];
    if (!k.entries.Open()) {
        d->Fail();
        return false;
    }
    for (const QStringView text : {e.table, e.column, e.attribute, e.dataType, e.subject, e.replacement})
        k.entries.PutText(text);
    if (!k.entries.EndRecord())
        d->Fail();
    const SubjectKey key = TextHash64(e.subject);
    auto it = k.subjects.find(key);
    if (it == k.subjects.end())
        it = k.subjects.insert(key, Impl::Counted{0, d->added});
    ++it->count;
    ++d->added;
    return !d->failed;
}

bool ConformanceEntrySpill::ForEach(int kind, const std::function<bool(const ConformanceEntry&)>& fn) const
{
    if (kind < 0 || kind >= eFindingCount)
        return false;
    const Impl::Kind& k = d->kinds[size_t(kind)];
    if (k.entries.records == 0)
        return !d->failed;
    const auto read = [&k](ConformanceRecordFile::Reader& in, ConformanceEntry& e) {
        for (QString* text : {&e.table, &e.column, &e.attribute, &e.dataType, &e.subject, &e.replacement})
            if (!in.Text(*text))
                return false;
        e.count = k.subjects.value(TextHash64(e.subject)).count;
        return true;
    };
    constexpr qint64 kAheadFrom = 20000;
    constexpr size_t kBlock = 4096;
    if (k.entries.records < kAheadFrom) {
        ConformanceEntry e;
        return k.entries.Read([&](ConformanceRecordFile::Reader& in) { return read(in, e) && fn(e); });
    }
    // A long kind (a report's whole findings) is read back on a second thread, a block or two
    // ahead of fn: the reading and what fn writes take turns on one core otherwise.
    return ReadAhead<std::vector<ConformanceEntry>>(
        [&](const std::function<bool(std::vector<ConformanceEntry> &&)>& hand) {
            std::vector<ConformanceEntry> block;
            const bool ok = k.entries.Read([&](ConformanceRecordFile::Reader& in) {
                block.emplace_back();
                return read(in, block.back()) && (block.size() < kBlock || hand(std::exchange(block, {})));
            });
            return ok && (block.empty() || hand(std::move(block)));
        },
        [&fn](std::vector<ConformanceEntry>& block) {
            return std::all_of(block.begin(), block.end(), [&fn](const ConformanceEntry& e) { return fn(e); });
        });
}

bool ConformanceEntrySpill::ForEachBlock(int kind, size_t entries, const std::function<bool(const Block&)>& fn) const
{
    if (kind < 0 || kind >= eFindingCount || entries == 0)
        return false;
    const Impl::Kind& k = d->kinds[size_t(kind)];
    if (k.entries.records == 0)
        return !d->failed;
    const bool read = ReadAhead<Block>(
        [&](const std::function<bool(Block &&)>& hand) {
            return k.entries.ReadBlocks(
                entries,
                [](ConformanceRecordFile::Reader& in, std::vector<ConformanceRecordFile::Place>& places) {
                    for (int t = 0; t < 6; ++t)
                        if (!in.TextPlace(places.emplace_back()))
                            return false;
                    return true;
                },
                [&](ConformanceTextBlock&& texts) {
                    Block block{std::move(texts), {}};
                    block.counts.resize(block.texts.Records());
                    for (size_t i = 0; i < block.counts.size(); ++i)
                        block.counts[i] = k.subjects.value(TextHash64(block.texts.texts[6 * i + 4])).count;
                    return hand(std::move(block));
                });
        },
        [&fn](Block& block) { return fn(block); });
    return read && !d->failed;
}

std::vector<ConformanceEntrySpill::Subject> ConformanceEntrySpill::Top(int kind, size_t n) const
{
    std::vector<Subject> top;
    if (kind < 0 || kind >= eFindingCount || n == 0)
        return top;
    const Impl::Kind& k = d->kinds[size_t(kind)];
    std::vector<std::pair<SubjectKey, Impl::Counted>> all;
    all.reserve(size_t(k.subjects.size()));
    for (auto it = k.subjects.begin(); it != k.subjects.end(); ++it)
        all.emplace_back(it.key(), it.value());
    const auto before = [](const auto& a, const auto& b) {
        return a.second.count != b.second.count ? a.second.count > b.second.count : a.second.first < b.second.first;
    };
    const size_t shown = std::min(n, all.size());
    std::partial_sort(all.begin(), all.begin() + qsizetype(shown), all.end(), before);
    all.resize(shown);
    QHash<SubjectKey, size_t> wanted;
    for (size_t i = 0; i < all.size(); ++i) {
        wanted.insert(all[i].first, i);
        top.push_back({all[i].second.count, all[i].second.first, QString(), QString()});
    }
    // The texts of the entries that named them first.
    size_t found = 0;
    ForEach(kind, [&](const ConformanceEntry& e) {
        const auto it = wanted.find(TextHash64(e.subject));
        if (it != wanted.end()) {
            top[*it].text = e.subject;
            top[*it].replacement = e.replacement;
            wanted.erase(it);
            ++found;
        }
        return found < top.size();
    });
    return top;
}

void ConformanceEntrySpill::Fail()
{
    d->Fail();
}

bool ConformanceEntrySpill::Flush()
{
    for (Impl::Kind& k : d->kinds)
        if (!d->failed && !k.entries.Flush())
            d->Fail();
    return !d->failed;
}

bool ConformanceEntrySpill::Failed() const
{
    return d->failed;
}

int ConformanceEntrySpill::ErrorNumber() const
{
    return d->errnum;
}

ConformanceRowSpill::ConformanceRowSpill() : m_file(std::make_unique<ConformanceRecordFile>()) {}
ConformanceRowSpill::~ConformanceRowSpill() = default;

bool ConformanceRowSpill::Add(const QStringList& row)
{
    if (m_failed)
        return false;
    if (m_file->Open()) {
        m_file->PutCount(quint32(row.size()));
        for (const QString& cell : row)
            m_file->PutText(cell);
        if (m_file->EndRecord())
            return true;
    }
    m_errnum = WriteError();
    m_failed = true;
    return false;
}

bool ConformanceRowSpill::Flush()
{
    if (m_failed || m_file->Flush())
        return !m_failed;
    m_errnum = WriteError();
    m_failed = true;
    return false;
}

bool ConformanceRowSpill::ForEach(const std::function<bool(const QStringList&)>& fn) const
{
    if (m_file->records == 0)
        return !m_failed;
    QStringList row;
    return m_file->Read([&](ConformanceRecordFile::Reader& in) {
        quint32 cells = 0;
        if (!in.Count(cells))
            return false;
        row.resize(qsizetype(cells));
        for (QString& cell : row)
            if (!in.Text(cell))
                return false;
        return fn(row);
    });
}

bool ConformanceRowSpill::ForEachBlock(size_t rows, const std::function<bool(const ConformanceTextBlock&)>& fn) const
{
    if (m_file->records == 0 || rows == 0)
        return !m_failed && rows > 0;
    return ReadAhead<ConformanceTextBlock>(
        [&](const std::function<bool(ConformanceTextBlock &&)>& hand) {
            return m_file->ReadBlocks(
                rows,
                [](ConformanceRecordFile::Reader& in, std::vector<ConformanceRecordFile::Place>& places) {
                    quint32 cells = 0;
                    if (!in.Count(cells))
                        return false;
                    for (quint32 c = 0; c < cells; ++c)
                        if (!in.TextPlace(places.emplace_back()))
                            return false;
                    return true;
                },
                hand);
        },
        [&fn](ConformanceTextBlock& block) { return fn(block); });
}

namespace Conformance {

QString SpillFailureText(const ConformanceReport& report, const QString& path)
{
    const int planErr = report.planSpill && report.planSpill->Failed() ? report.planSpill->ErrorNumber() : 0;
    return WriteFailureText(path, report.spill && report.spill->Failed() ? report.spill->ErrorNumber()
                                  : planErr                              ? planErr
                                                                         : ENOSPC);
}

bool ForEachPlanRow(const ConformanceReport& report, const std::function<bool(const QStringList&)>& fn)
{
    for (const QStringList& row : report.plan)
        if (!fn(row))
            return false;
    return !report.planSpill || report.planSpill->ForEach(fn);
}

bool ForEachEntry(const ConformanceReport& report, int kind, const std::function<bool(const ConformanceEntry&)>& fn)
{
    for (const ConformanceEntry& e : report.entries[size_t(kind)])
        if (!fn(e))
            return false;
    return !report.spill || report.spill->ForEach(kind, fn);
}

namespace {

// A value of ToJson's tree as QJsonDocument writes it.
void WriteValue(CJsonTextWriter& w, const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Object: {
        w.BeginObject();
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            w.Key(it.key());
            WriteValue(w, it.value());
        }
        w.EndObject();
        break;
    }
    case QJsonValue::Array:
        w.BeginArray();
        for (const QJsonValue& e : v.toArray())
            WriteValue(w, e);
        w.EndArray();
        break;
    case QJsonValue::String:
        w.String(v.toString());
        break;
    case QJsonValue::Bool:
        w.Raw(v.toBool() ? "true" : "false");
        break;
    case QJsonValue::Double: {
        const QVariant n = v.toVariant();
        if (n.typeId() == QMetaType::LongLong)
            w.Int(n.toLongLong());
        else if (qIsFinite(v.toDouble()))
            w.Raw(QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
        else
            w.Raw("null");
        break;
    }
    default:
        w.Raw("null");
        break;
    }
}

void WriteEntry(CJsonTextWriter& w, const ConformanceEntryTexts& e, int count)
{
    // The members in QJsonObject's order, by name.
    w.BeginObject();
    w.Member(u"attribute", e.attribute);
    w.Member(u"column", e.column);
    w.Member(u"count", qint64(count));
    w.Member(u"dataType", e.dataType);
    w.Member(u"replacement", e.replacement);
    w.Member(u"subject", e.subject);
    w.Member(u"table", e.table);
    w.EndObject();
}

void WriteEntries(CJsonTextWriter& w, const ConformanceReport& report, int kind)
{
    w.BeginArray();
    bool ok = true;
    for (const ConformanceEntry& e : report.entries[size_t(kind)]) {
        WriteEntry(w, {e.table, e.column, e.attribute, e.dataType, e.subject, e.replacement}, e.count);
        if (!(ok = !w.Failed()))
            break;
    }
    // Read back as views a block at a time and formatted on two threads: a million findings
    // kept one core busy for most of a second, much of it making texts only to write them.
    constexpr size_t kBlock = 16384;
    if (ok && report.spill)
        report.spill->ForEachBlock(kind, kBlock, [&w](const ConformanceEntrySpill::Block& b) {
            w.Elements(b.Size(), [&b](CJsonTextWriter& to, size_t i) { WriteEntry(to, b.Entry(i), b.counts[i]); });
            return !w.Failed();
        });
    w.EndArray();
}

void WritePlan(CJsonTextWriter& w, const ConformanceReport& report)
{
    std::vector<int> order(size_t(report.planHeader.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return report.planHeader[a] < report.planHeader[b]; });
    // A row's cells by views, past its last cell empty.
    const auto writeRow = [&](CJsonTextWriter& to, const QStringView* cells, size_t count) {
        to.BeginObject();
        for (int c : order)
            to.Member(report.planHeader[c], size_t(c) < count ? cells[c] : QStringView());
        to.EndObject();
    };
    w.BeginArray();
    bool ok = true;
    for (const QStringList& row : report.plan) {
        QVarLengthArray<QStringView, 16> cells(row.begin(), row.end());
        writeRow(w, cells.data(), size_t(cells.size()));
        if (!(ok = !w.Failed()))
            break;
    }
    // As the entries: read ahead as views, formatted on two threads.
    constexpr size_t kRows = 16384;
    if (ok && report.planSpill)
        report.planSpill->ForEachBlock(kRows, [&](const ConformanceTextBlock& b) {
            w.Elements(b.Records(), [&](CJsonTextWriter& to, size_t i) {
                writeRow(to, b.texts.data() + b.starts[i], b.End(i) - b.starts[i]);
            });
            return !w.Failed();
        });
    w.EndArray();
}

} // namespace

bool WriteJson(const ConformanceReport& report, const QString& path, QString* error)
{
    if ((report.spill && report.spill->Failed()) || (report.planSpill && report.planSpill->Failed())) {
        if (error)
            *error = SpillFailureText(report, path);
        return false;
    }
    // The tree without its long lists, which are written where their empty places are.
    ConformanceReport head = report;
    for (auto& entries : head.entries)
        entries.clear();
    head.spill.reset();
    head.plan.clear();
    head.planSpill.reset();
    const QJsonObject json = ToJson(head);
    return SaveJsonFile(
        path,
        [&](CJsonTextWriter& w) {
            w.BeginObject();
            for (auto it = json.begin(); it != json.end(); ++it) {
                w.Key(it.key());
                if (it.key() == u"plan") {
                    WritePlan(w, report);
                } else if (it.key() == u"findings") {
                    w.BeginArray();
                    const QJsonArray findings = it.value().toArray();
                    for (qsizetype k = 0; k < findings.size(); ++k) {
                        const QJsonObject finding = findings[k].toObject();
                        w.BeginObject();
                        for (auto f = finding.begin(); f != finding.end(); ++f) {
                            w.Key(f.key());
                            if (f.key() == u"entries")
                                WriteEntries(w, report, int(k));
                            else
                                WriteValue(w, f.value());
                        }
                        w.EndObject();
                    }
                    w.EndArray();
                } else {
                    WriteValue(w, it.value());
                }
            }
            w.EndObject();
        },
        error);
}

} // namespace Conformance

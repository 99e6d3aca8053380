#include "components/excel/XlsxStreamWriter.h"

#include "components/AtomicFile.h"
#include "components/ByteBuffer.h"
#include "components/Platform.h"
#include "components/QrExcelSheet.h"
#include "components/excel/SheetData.h"
#include "components/excel/XlsxParts.h"

#include <QDateTime>
#include <QFile>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>
#include <zlib.h>

namespace excel {

using namespace parts;

namespace {

// Plain zip only: a part or the file past 4 GiB is refused rather than written broken.
constexpr uint64_t kZipLimit = 0xFFFFFFFFull;
constexpr size_t kPieceSize = 512 * 1024; // of sheet text handed to the compressing thread
constexpr size_t kOutChunk = 256 * 1024;
// Pieces waiting for the compressing thread; with the one it compresses and the one being
// filled, memory stays at a few pieces however large the sheet.
constexpr size_t kQueued = 2;
// Level 1 compresses about 3x faster than zlib's default level (0.35 s against 1.2 s for an
// 86 MB sheet) for a file about a fifth larger;
// the sheet is the bulk of an export's time otherwise.
constexpr int kLevel = 1;

const char kSheetName[] = "xl/worksheets/sheet1.xml";
void Put16(std::string& s, uint32_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A cell's text as UTF-8 element content. Characters XML 1.0 cannot hold become "_xHHHH_"
// as Office writes them; CR becomes a character reference, which readers do not fold into
// LF; a lone surrogate becomes U+FFFD so the file never holds invalid UTF-8. Needs up to
// 7 bytes per UTF-16 unit.
char* PutText(char* o, const char16_t* s, const char16_t* e)
{
    static const char hex[] = "0123456789ABCDEF";
    auto escaped = [&o](unsigned c) {
        o[0] = '_';
        o[1] = 'x';
        o[2] = hex[(c >> 12) & 0xF];
        o[3] = hex[(c >> 8) & 0xF];
        o[4] = hex[(c >> 4) & 0xF];
        o[5] = hex[c & 0xF];
        o[6] = '_';
        o += 7;
    };
    while (s < e) {
        const char16_t c = *s++;
        if (c < 0x80) {
            if (c >= 0x20) {
                if (c == u'&') {
                    std::memcpy(o, "&amp;", 5);
                    o += 5;
                } else if (c == u'<') {
                    std::memcpy(o, "&lt;", 4);
                    o += 4;
                } else if (c == u'>') {
                    std::memcpy(o, "&gt;", 4);
                    o += 4;
                } else {
                    *o++ = char(c);
                }
            } else if (c == u'\t' || c == u'\n') {
                *o++ = char(c);
            } else if (c == u'\r') {
                std::memcpy(o, "&#13;", 5);
                o += 5;
            } else {
                escaped(c);
            }
        } else if (c < 0x800) {
            *o++ = char(0xC0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && s < e && *s >= 0xDC00 && *s <= 0xDFFF) {
                const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*s++) - 0xDC00);
                *o++ = char(0xF0 | (u >> 18));
                *o++ = char(0x80 | ((u >> 12) & 0x3F));
                *o++ = char(0x80 | ((u >> 6) & 0x3F));
                *o++ = char(0x80 | (u & 0x3F));
            } else {
                std::memcpy(o, "\xEF\xBF\xBD", 3);
                o += 3;
            }
        } else if (c >= 0xFFFE) {
            escaped(c);
        } else {
            *o++ = char(0xE0 | (c >> 12));
            *o++ = char(0x80 | ((c >> 6) & 0x3F));
            *o++ = char(0x80 | (c & 0x3F));
        }
    }
    return o;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Sheet text handed to the compressing thread.
struct Piece
{
    ByteBuffer bytes;
    bool last = false;
};

struct Entry
{
    std::string name;
    uint32_t crc = 0;
    uint64_t packed = 0, size = 0, offset = 0;
};

} // namespace

struct XlsxStreamWriter::Impl
{
    QString path, part;
    std::FILE* file = nullptr;
    bool partCreated = false;
    uint64_t offset = 0; // bytes written so far, kept by whoever owns the file at the time
    uint16_t dosTime = 0, dosDate = 0;
    std::vector<Entry> entries;
    QString error;

    // The sheet: the caller fills `current`, the compressing thread takes queued pieces.
    Entry sheet;
    uint64_t sheetHeadAt = 0; // where the sheet's opening lies, rewritten when finishing
    uint64_t sheetBytes = 0;  // sheet text made so far, opening included
    std::unique_ptr<Piece> current;
    std::thread worker;
    std::mutex mutex;
    std::condition_variable queued, taken;
    std::deque<std::unique_ptr<Piece>> queue;
    std::vector<std::unique_ptr<Piece>> spare;
    std::atomic<bool> failed{false};
    bool stop = false;
    QString workerError;
    // written by the worker only, read after it ended
    uint32_t restCrc = 0;
    uint64_t restSize = 0, restPacked = 0;

    // Row state.
    int lastRow = -1;
    int minRow = -1, maxRow = -1, minCol = -1, maxCol = -1;
    std::vector<QByteArray> columnRefs;

    bool Fail(const QString& text)
    {
        if (error.isEmpty())
            error = text;
        return false;
    }
    bool Write(const void* data, size_t n)
    {
        if (n && std::fwrite(data, 1, n, file) != n)
            return false;
        offset += n;
        return true;
    }
    bool WriteFail() { return Fail(WriteFailureText(path, errno)); }

    // What a local header and a directory entry share: version needed to the name's length.
    void PutEntryFields(std::string& s, const Entry& e) const
    {
        Put16(s, 20); // version needed: deflate
        Put16(s, 0);  // flags
        Put16(s, 8);  // deflate
        Put16(s, dosTime);
        Put16(s, dosDate);
        Put32(s, e.crc);
        Put32(s, uint32_t(e.packed));
        Put32(s, uint32_t(e.size));
        Put16(s, uint32_t(e.name.size()));
    }

    std::string LocalHeader(const Entry& e) const
    {
        std::string h;
        Put32(h, 0x04034b50);
        PutEntryFields(h, e);
        Put16(h, 0);
        h += e.name;
        return h;
    }

    bool AddSmallPart(const char* name, const std::string& text)
    {
        Entry e{name, 0, 0, text.size(), offset};
        e.crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size())));
        z_stream z{};
        if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 압축에 실패했습니다").arg(path));
        std::string packed(deflateBound(&z, uLong(text.size())), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        z.avail_in = uInt(text.size());
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = uInt(packed.size());
        const int rc = deflate(&z, Z_FINISH);
        packed.resize(z.total_out);
        deflateEnd(&z);
        if (rc != Z_STREAM_END)
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 압축에 실패했습니다").arg(path));
        e.packed = packed.size();
        const std::string header = LocalHeader(e);
        if (!Write(header.data(), header.size()) || !Write(packed.data(), packed.size()))
            return WriteFail();
        entries.push_back(std::move(e));
        return true;
    }

    // The sheet member opens with a stored (uncompressed) block holding the sheet's opening,
    // so the used range can be filled in at the end without touching the compressed rest.
    bool StartSheet()
    {
        sheet = Entry{kSheetName, 0, 0, 0, offset};
        const std::string header = LocalHeader(sheet); // sizes and CRC patched when finishing
        const std::string head = SheetHead("A1");
        std::string block(1, '\0'); // not the last block, stored
        Put16(block, uint32_t(head.size()));
        Put16(block, uint32_t(~head.size() & 0xFFFF));
        if (!Write(header.data(), header.size()) || !Write(block.data(), block.size()))
            return WriteFail();
        sheetHeadAt = offset;
        if (!Write(head.data(), head.size()))
            return WriteFail();
        sheetBytes = head.size();
        restCrc = 0;
        restSize = restPacked = 0;
        current = NewPiece();
        worker = std::thread([this] {
            try {
                Compress();
            } catch (const std::bad_alloc&) {
                // Reported by the writing thread as any other failure of the compressor.
                std::lock_guard lock(mutex);
                workerError = path + QStringLiteral(": ") + ResourceText::NoMemory();
                failed = true;
                taken.notify_all();
            }
        });
        return true;
    }

    std::unique_ptr<Piece> NewPiece()
    {
        std::unique_ptr<Piece> p;
        {
            std::lock_guard lock(mutex);
            if (!spare.empty()) {
                p = std::move(spare.back());
                spare.pop_back();
            }
        }
        if (!p)
            p = std::make_unique<Piece>();
        p->bytes.clear();
        p->bytes.Reserve(kPieceSize + 4096);
        p->last = false;
        return p;
    }

    bool Send(bool last)
    {
        sheetBytes += current->bytes.size();
        if (sheetBytes > kZipLimit)
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 시트가 4 GiB를 넘어, 여기서 쓰는 .xlsx 파일에 "
                                       "담을 수 없습니다")
                            .arg(path));
        current->last = last;
        {
            std::unique_lock lock(mutex);
            taken.wait(lock, [this] { return queue.size() < kQueued || failed; });
            if (failed)
                return Fail(workerError);
            queue.push_back(std::move(current));
        }
        queued.notify_one();
        if (!last)
            current = NewPiece();
        return true;
    }

    // The compressing thread.
    void Compress()
    {
        z_stream z{};
        const bool ready = deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        std::vector<unsigned char> out(kOutChunk);
        for (;;) {
            std::unique_ptr<Piece> p;
            {
                std::unique_lock lock(mutex);
                queued.wait(lock, [this] { return !queue.empty() || stop; });
                if (stop) // abandoned: the rest is not wanted
                    break;
                p = std::move(queue.front());
                queue.pop_front();
            }
            taken.notify_one();
            const bool last = p->last;
            if (!failed) {
                QString problem;
                if (!ready)
                    problem = QStringLiteral("%1 파일을 쓸 수 없습니다: 압축에 실패했습니다").arg(path);
                else
                    problem = Deflate(z, *p, out);
                if (!problem.isEmpty()) {
                    std::lock_guard lock(mutex);
                    workerError = problem;
                    failed = true;
                    taken.notify_all();
                }
            }
            {
                std::lock_guard lock(mutex);
                spare.push_back(std::move(p));
            }
            if (last)
                break;
        }
        if (ready)
            deflateEnd(&z);
    }

    QString Deflate(z_stream& z, const Piece& p, std::vector<unsigned char>& out)
    {
        const auto* in = reinterpret_cast<const Bytef*>(p.bytes.data());
        restCrc = uint32_t(crc32(restCrc, in, uInt(p.bytes.size())));
        restSize += p.bytes.size();
        z.next_in = const_cast<Bytef*>(in);
        z.avail_in = uInt(p.bytes.size());
        const int flush = p.last ? Z_FINISH : Z_NO_FLUSH;
        int rc = Z_OK;
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR)
                return QStringLiteral("%1 파일을 쓸 수 없습니다: 압축에 실패했습니다").arg(path);
            const size_t n = out.size() - z.avail_out;
            if (!Write(out.data(), n))
                return WriteFailureText(path, errno);
            restPacked += n;
        } while (rc != Z_STREAM_END && (z.avail_out == 0 || p.last));
        return {};
    }

    void StopWorker()
    {
        if (!worker.joinable())
            return;
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        queued.notify_all();
        worker.join();
        std::lock_guard lock(mutex);
        queue.clear();
        stop = false;
    }

    const QByteArray& ColumnRef(int col)
    {
        while (int(columnRefs.size()) <= col)
            columnRefs.push_back(GlobalFunc::IntToLetters(int(columnRefs.size())).toLatin1());
        return columnRefs[size_t(col)];
    }

    std::string UsedRange()
    {
        if (maxRow < 0)
            return "A1";
        std::string ref = ColumnRef(minCol).toStdString() + std::to_string(minRow + 1);
        if (maxRow > minRow || maxCol > minCol)
            ref += ':' + ColumnRef(maxCol).toStdString() + std::to_string(maxRow + 1);
        return ref;
    }

    bool Seek(uint64_t at) { return fseeko(file, off_t(at), SEEK_SET) == 0; }

    bool FinishSheet()
    {
        current->bytes.Append(kSheetTail, sizeof kSheetTail - 1);
        const bool sent = Send(true);
        if (!sent)
            return false;
        worker.join();
        if (failed)
            return Fail(workerError);
        const std::string head = SheetHead(UsedRange());
        if (head.size() != SheetHead("A1").size()) // the room kept for it at the start
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 사용 범위 %2이(가) 들어갈 자리가 없습니다")
                            .arg(path, QString::fromStdString(UsedRange())));
        sheet.size = head.size() + restSize;
        sheet.packed = 5 + head.size() + restPacked;
        const uint32_t headCrc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(head.data()), uInt(head.size())));
        sheet.crc = uint32_t(crc32_combine(headCrc, restCrc, z_off_t(restSize)));
        if (sheet.size > kZipLimit || sheet.packed > kZipLimit)
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 시트가 4 GiB를 넘어, 여기서 쓰는 .xlsx 파일에 "
                                       "담을 수 없습니다")
                            .arg(path));
        const uint64_t end = offset;
        std::string sizes;
        Put32(sizes, sheet.crc);
        Put32(sizes, uint32_t(sheet.packed));
        Put32(sizes, uint32_t(sheet.size));
        if (!Seek(sheet.offset + 14) || std::fwrite(sizes.data(), 1, sizes.size(), file) != sizes.size() ||
            !Seek(sheetHeadAt) || std::fwrite(head.data(), 1, head.size(), file) != head.size() || !Seek(end))
            return WriteFail();
        entries.push_back(sheet);
        return true;
    }

    bool WriteDirectory()
    {
        const uint64_t start = offset;
        std::string dir;
        for (const Entry& e : entries) {
            Put32(dir, 0x02014b50);
            Put16(dir, (3 << 8) | 20); // made on Unix, so readers take the permissions below
            PutEntryFields(dir, e);
            Put16(dir, 0); // extra
            Put16(dir, 0); // comment
            Put16(dir, 0); // disk
            Put16(dir, 0); // internal attributes
            Put32(dir, 0100644u << 16);
            Put32(dir, uint32_t(e.offset));
            dir += e.name;
        }
        if (start + dir.size() + 22 > kZipLimit)
            return Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 파일이 4 GiB를 넘어, 여기서 쓰는 .xlsx 파일에 "
                                       "담을 수 없습니다")
                            .arg(path));
        const uint32_t dirSize = uint32_t(dir.size());
        Put32(dir, 0x06054b50);
        Put16(dir, 0); // this disk
        Put16(dir, 0); // disk where the directory starts
        Put16(dir, uint32_t(entries.size()));
        Put16(dir, uint32_t(entries.size()));
        Put32(dir, dirSize);
        Put32(dir, uint32_t(start));
        Put16(dir, 0); // comment
        if (!Write(dir.data(), dir.size()))
            return WriteFail();
        return true;
    }

    void Close()
    {
        if (file)
            std::fclose(file);
        file = nullptr;
    }

    void Reset()
    {
        StopWorker();
        Close();
        current.reset();
        entries.clear();
        lastRow = minRow = maxRow = minCol = maxCol = -1;
        offset = 0;
        failed = false;
        workerError.clear();
    }
};

XlsxStreamWriter::XlsxStreamWriter() : d(std::make_unique<Impl>()) {}

XlsxStreamWriter::~XlsxStreamWriter()
{
    Abandon();
}

QString XlsxStreamWriter::Error() const
{
    return d->error;
}

bool XlsxStreamWriter::Open(const QString& path)
{
    Abandon();
    d->error.clear();
    d->path = path;
    d->part = path + QStringLiteral(".part");
    const QByteArray partName = QFile::encodeName(d->part);
    std::remove(partName.constData());
    d->file = std::fopen(partName.constData(), "wb");
    if (!d->file)
        return d->Fail(WriteFailureText(path, errno));
    d->partCreated = true;
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    d->dosDate = uint16_t(((std::max(date.year(), 1980) - 1980) << 9) | (date.month() << 5) | date.day());
    d->dosTime = uint16_t((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    const bool ok = d->AddSmallPart("[Content_Types].xml", ContentTypes()) &&
                    d->AddSmallPart("_rels/.rels", PackageRels()) && d->AddSmallPart("docProps/app.xml", AppProps()) &&
                    d->AddSmallPart("docProps/core.xml", CoreProps(now)) &&
                    d->AddSmallPart("xl/workbook.xml", Workbook()) &&
                    d->AddSmallPart("xl/_rels/workbook.xml.rels", WorkbookRels()) &&
                    d->AddSmallPart("xl/styles.xml", Styles()) && d->StartSheet();
    if (!ok)
        Abandon();
    return ok;
}

bool XlsxStreamWriter::WriteRow(int row, const QStringList& cells)
{
    Impl& w = *d;
    if (!w.file || !w.error.isEmpty())
        return false;
    if (row <= w.lastRow || row >= int(kMaxRows))
        return w.Fail(
            QStringLiteral("%3: %1행은 %2행 다음에 올 수 없습니다").arg(row + 1).arg(w.lastRow + 1).arg(w.path));
    if (cells.size() > qsizetype(kMaxColumns))
        return w.Fail(QStringLiteral("한 시트에 담기에는 컬럼이 너무 많습니다: %1개").arg(cells.size()));
    w.lastRow = row;
    char rowDigits[16];
    const size_t rowLen = size_t(std::to_chars(rowDigits, rowDigits + sizeof rowDigits, row + 1).ptr - rowDigits);
    bool any = false;
    for (int col = 0; col < int(cells.size()); ++col) {
        const QString& text = cells[col];
        if (text.isEmpty())
            continue;
        const QByteArray& ref = w.ColumnRef(col);
        const size_t need = size_t(text.size()) * 7 + 96 + rowLen * 2;
        // A row that does not fit starts a new piece rather than growing this one.
        if (w.current->bytes.size() > 0 && w.current->bytes.size() + need > w.current->bytes.capacity() &&
            !w.Send(false))
            return false;
        ByteBuffer& bytes = w.current->bytes;
        char* o = bytes.Room(need);
        if (!any) {
            std::memcpy(o, "<row r=\"", 8);
            o += 8;
            std::memcpy(o, rowDigits, rowLen);
            o += rowLen;
            *o++ = '"';
            *o++ = '>';
            any = true;
        }
        std::memcpy(o, "<c r=\"", 6);
        o += 6;
        std::memcpy(o, ref.constData(), size_t(ref.size()));
        o += ref.size();
        std::memcpy(o, rowDigits, rowLen);
        o += rowLen;
        static const char open[] = "\" t=\"inlineStr\"><is><t>";
        static const char openKeep[] = "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
        const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
        const char16_t* e = s + text.size();
        if (IsBlank(s[0]) || IsBlank(e[-1])) {
            std::memcpy(o, openKeep, sizeof openKeep - 1);
            o += sizeof openKeep - 1;
        } else {
            std::memcpy(o, open, sizeof open - 1);
            o += sizeof open - 1;
        }
        o = PutText(o, s, e);
        std::memcpy(o, "</t></is></c>", 13);
        o += 13;
        bytes.SetEnd(o);
        if (w.minCol < 0 || col < w.minCol)
            w.minCol = col;
        w.maxCol = std::max(w.maxCol, col);
    }
    if (!any)
        return true;
    w.current->bytes.Append("</row>", 6);
    if (w.minRow < 0)
        w.minRow = row;
    w.maxRow = row;
    if (w.current->bytes.size() >= kPieceSize)
        return w.Send(false);
    return true;
}

bool XlsxStreamWriter::Finish()
{
    Impl& w = *d;
    if (!w.file)
        return w.Fail(QStringLiteral("%1 파일을 쓸 수 없습니다: 파일이 열리지 않았습니다").arg(w.path));
    bool ok = w.error.isEmpty() && w.FinishSheet() && w.WriteDirectory();
    if (ok && std::fflush(w.file) != 0)
        ok = w.WriteFail();
    // On disk before it replaces the old file, so a crash cannot leave an empty one in its place.
    if (ok && !Platform::SyncToDisk(w.file))
        ok = w.WriteFail();
    if (ok) {
        const int rc = std::fclose(w.file);
        w.file = nullptr;
        if (rc != 0)
            ok = w.WriteFail();
    }
    if (ok && !Platform::ReplaceFile(w.part, w.path))
        ok = w.Fail(WriteFailureText(w.path, errno));
    if (!ok) {
        Abandon();
        return false;
    }
    w.partCreated = false; // it is the target now
    w.Reset();
    return true;
}

void XlsxStreamWriter::Abandon()
{
    d->Reset();
    if (d->partCreated)
        QFile::remove(d->part);
    d->partCreated = false;
}

} // namespace excel

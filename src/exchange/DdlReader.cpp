#include "exchange/DdlReader.h"

#include "exchange/DdlSplitter.h"
#include "exchange/ModelSourceTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <memory>

using ModelSource::Dialect;
namespace T = ModelSourceTexts;

namespace DdlReader {
using namespace Internal;
namespace {

// The whole file's verdict on UTF-8: the first byte that is not, and how many characters
// are well-formed multi-byte UTF-8 and how many bytes are not.
struct Utf8Verdict
{
    qsizetype firstBad = -1;
    qsizetype good = 0, bad = 0;
};

Utf8Verdict CheckUtf8(const uchar* p, qsizetype n)
{
    Utf8Verdict v;
    qsizetype i = 0;
    while (i < n) {
        const uchar c = p[i];
        if (c < 0x80) {
            ++i;
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
            if (v.firstBad < 0)
                v.firstBad = i;
            ++v.bad;
            ++i;
        }
    }
    return v;
}

int LineAt(const uchar* p, qsizetype at)
{
    return int(std::count(p, p + at, uchar('\n'))) + 1;
}

int Score(QStringView text, std::initializer_list<const char16_t*> marks)
{
    int score = 0;
    for (const char16_t* m : marks)
        score += text.contains(QStringView(m), Qt::CaseInsensitive) ? 1 : 0;
    return score;
}

} // namespace

Dialect GuessDialect(QStringView text)
{
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

bool Finish(Script& script, ModelSource::AttributeList& list, QString& error, std::vector<Table>* kept = nullptr)
{
    if (script.CreateTables() == 0) {
        error = T::kNoCreateTable;
        return false;
    }
    script.Finish(kept);
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

Tables::Tables() = default;
Tables::~Tables() = default;

bool Tables::Next(Table& out)
{
    while (m_next < m_tables.size()) {
        Internal::Table t = std::move(m_tables[m_next++]);
        if (t.dropped)
            continue;
        out.schema = std::move(t.schema);
        out.name = std::move(t.name);
        out.comment = std::move(t.comment);
        out.columns.clear();
        for (Internal::Column& c : t.columns)
            if (!c.dropped)
                out.columns.push_back({std::move(c.name), std::move(c.comment), std::move(c.definition),
                                       ModelSource::NormalizeType(m_dialect, c.type), c.keys});
        if (!out.columns.empty())
            return true;
    }
    m_tables = std::vector<Internal::Table>();
    return false;
}

bool Read(const QStringList& files, ModelSource::AttributeList& list, QString& error, const Options& options,
          Tables* tables)
{
    list = ModelSource::AttributeList();
    qint64 total = 0, done = 0;
    for (const QString& f : files)
        total += QFileInfo(f).size();
    std::unique_ptr<Script> script;
    std::unique_ptr<Splitter> splitter;
    const qint64 kPiece = std::max<qint64>(1, options.pieceBytes);
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (") + file.errorString() + u')';
            return false;
        }
        const qint64 size = file.size();
        const uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
        if (size > 0 && !bytes) {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (") + file.errorString() + u')';
            return false;
        }
        qint64 offset = 0;
        if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
            offset = 3;
        // Decided once from the whole file: a UTF-8 file with a stray byte stays UTF-8 (the
        // byte is named), and a CP949 file is said to be read so.
        const Utf8Verdict verdict = CheckUtf8(bytes + offset, size - offset);
        const bool utf8 = offset == 3 || verdict.bad == 0 || verdict.good > verdict.bad;
        if (verdict.bad > 0) {
            const qsizetype at = verdict.firstBad + offset;
            const QString hex = QString::number(bytes[at], 16).toUpper();
            list.warnings.append(
                (utf8 ? T::kBadUtf8 : T::kReadAsCp949).arg(QFileInfo(path).fileName()).arg(LineAt(bytes, at)).arg(hex));
        }
        QStringDecoder decoder = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("CP949");
        if (!decoder.isValid()) {
            error = T::kCannotOpen.arg(path) + QStringLiteral(" (CP949)");
            return false;
        }
        const QString name = QFileInfo(path).fileName();
        if (!script) {
            Dialect dialect = options.dialect;
            if (dialect == Dialect::Unknown) {
                const qint64 sample = std::min<qint64>(size - offset, 256 * 1024);
                QStringDecoder sampler = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("CP949");
                const QString text =
                    sampler.decode(QByteArrayView(reinterpret_cast<const char*>(bytes + offset), sample));
                dialect = GuessDialect(text);
            }
            script = std::make_unique<Script>(dialect, list);
            splitter = std::make_unique<Splitter>(*script);
        }
        script->SetFile(name);
        while (offset < size) {
            // Pieces end after a line break: never inside a character of either encoding.
            qint64 end = std::min(size, offset + kPiece);
            if (end < size) {
                qint64 nl = end - 1;
                while (nl > offset && bytes[nl] != '\n')
                    --nl;
                if (nl > offset)
                    end = nl + 1;
            }
            const QString text =
                decoder.decode(QByteArrayView(reinterpret_cast<const char*>(bytes + offset), end - offset));
            splitter->Feed(text);
            done += end - offset;
            offset = end;
            if (options.progress && !options.progress(done, total)) {
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
    if (!tables)
        return Finish(*script, list, error);
    tables->m_dialect = script->GetDialect();
    tables->m_next = 0;
    return Finish(*script, list, error, &tables->m_tables);
}

} // namespace DdlReader

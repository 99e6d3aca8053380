#include "standard/PublicStandardReader.h"

#include "components/QrExcelSheet.h"
#include "standard/StandardTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <map>
#include <set>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define TERMWISE_HAVE_ICONV 1
#endif

namespace PublicStandardReader {
namespace {

using namespace StandardTexts;

// Headers and marks compared with blanks, line breaks and "_" left out: editions re-space
// their headers, break them inside the cell, and the portal's CSV files turn a line break into
// a blank or "_".
QString HeaderKey(const QString& header)
{
    QString key;
    key.reserve(header.size());
    for (const QChar c : header)
        if (!c.isSpace() && c != QChar(0xFEFF) && c != u'_')
            key.append(c);
    return key;
}

// "-" stands for an empty cell in the published files.
QString CellText(const QString& raw)
{
    const QString text = raw.trimmed();
    return text == QLatin1String("-") ? QString() : text;
}

// A name or abbreviation without stray invisible characters: U+FEFF and zero-width spaces go,
// a TAB or no-break space inside becomes a blank, the ends are trimmed. removed names what
// invisible characters were there.
QString CleanName(const QString& raw, QStringList& removed)
{
    QString text;
    text.reserve(raw.size());
    const auto note = [&removed](const QString& what) {
        if (!removed.contains(what))
            removed << what;
    };
    for (const QChar c : raw) {
        switch (c.unicode()) {
        case 0xFEFF:
            note(QStringLiteral("U+FEFF"));
            continue;
        case 0x200B:
            note(QStringLiteral("U+200B"));
            continue;
        case u'\t':
            note(QStringLiteral("TAB"));
            text.append(u' ');
            continue;
        case 0x00A0:
            note(QStringLiteral("no-break space"));
            text.append(u' ');
            continue;
        default:
            text.append(c);
        }
    }
    return CellText(text);
}

QStringList CellList(const QString& raw, QStringList& removed)
{
    QStringList out;
    for (const QString& part : CellText(raw).split(u','))
        if (const QString item = CleanName(part, removed); !item.isEmpty() && !out.contains(item))
            out.append(item);
    return out;
}

QStringList RequiredHeaders(Kind kind)
{
    switch (kind) {
    case Kind::Word:
        return {Word::kLogical,   Word::kPhysical,    Word::kFullName, Word::kDescription,
                Word::kClassWord, Word::kDomainClass, Word::kSynonyms, Word::kForbidden};
    case Kind::Domain:
        return {Domain::kGroup,    Domain::kKeyDomain, Domain::kName, Domain::kDescription,
                Domain::kDataType, Domain::kLength,    Domain::kScale};
    case Kind::Term:
        break;
    }
    return {Term::kLogical, Term::kDescription, Term::kPhysical, Term::kDomainName};
}

// Every header a published form of the sheet carries, by key.
std::set<QString> KnownHeaderKeys(Kind kind)
{
    QStringList all = RequiredHeaders(kind) + kEnactment + kRevisionKind + Known::kCommon;
    all << kNumberHeader;
    if (kind == Kind::Domain)
        all += Known::kDomain;
    if (kind == Kind::Term)
        all += Known::kTerm;
    std::set<QString> keys;
    for (const QString& h : all)
        keys.insert(HeaderKey(h));
    return keys;
}

QString KindName(Kind kind)
{
    return kind == Kind::Word ? kWordSheet : kind == Kind::Domain ? kDomainSheet : kTermSheet;
}

// The header that names a sheet's rows; the term sheet also names domains, so terms and
// words are asked first.
QString NameHeader(Kind kind)
{
    return kind == Kind::Term ? Term::kLogical : kind == Kind::Word ? Word::kLogical : Domain::kName;
}

// How far down and across a header row is looked for (the 8th edition's stands at B2).
constexpr int kHeaderRows = 10;

// The row holding the sheet's header among the first rows, or -1.
int FindHeaderRow(const std::vector<QStringList>& rows, Kind kind)
{
    const QString key = HeaderKey(NameHeader(kind));
    for (int r = 0; r < int(rows.size()) && r < kHeaderRows; ++r)
        for (const QString& cell : rows[size_t(r)])
            if (HeaderKey(cell) == key)
                return r;
    return -1;
}

// The kind a CSV file's header row belongs to, and that row.
bool KindOfRows(const std::vector<QStringList>& rows, Kind& kind, int& headerRow)
{
    for (const Kind k : {Kind::Term, Kind::Word, Kind::Domain}) {
        headerRow = FindHeaderRow(rows, k);
        if (headerRow >= 0) {
            kind = k;
            return true;
        }
    }
    return false;
}

class Table
{
public:
    // False with the unknown or missing headers named.
    bool Bind(const QString& file, Kind kind, const QStringList& header, QString& error)
    {
        m_columns.clear();
        std::map<QString, int> byKey;
        const std::set<QString> known = KnownHeaderKeys(kind);
        QStringList unknown;
        for (int i = 0; i < header.size(); ++i) {
            const QString key = HeaderKey(header[i]);
            if (key.isEmpty())
                continue;
            if (!known.count(key))
                unknown << header[i].simplified();
            byKey.try_emplace(key, i);
        }
        if (!unknown.isEmpty()) {
            error = QStringLiteral("%1: %2에 이 프로그램이 모르는 머리글이 있어 읽지 않았습니다 (알지 못하는 판의 "
                                   "형식입니다): %3")
                        .arg(file, KindName(kind), unknown.join(QStringLiteral(", ")));
            return false;
        }
        QStringList missing;
        for (const QString& h : RequiredHeaders(kind)) {
            auto it = byKey.find(HeaderKey(h));
            if (it == byKey.end())
                missing << h;
            else
                m_columns[h] = it->second;
        }
        const auto optional = [&byKey](const QStringList& spellings) {
            for (const QString& h : spellings)
                if (auto it = byKey.find(HeaderKey(h)); it != byKey.end())
                    return it->second;
            return -1;
        };
        m_enactment = optional(kEnactment);
        m_revision = optional(kRevisionKind);
        m_number = optional({kNumberHeader});
        m_termSynonyms = kind == Kind::Term ? optional({Term::kSynonyms}) : -1;
        if (!missing.isEmpty()) {
            error = QStringLiteral("%1: %2의 형식이 아닙니다. 없는 머리글: %3")
                        .arg(file, KindName(kind), missing.join(QStringLiteral(", ")));
            return false;
        }
        return true;
    }
    QString Raw(const QStringList& row, const QString& header) const { return At(row, m_columns.at(header)); }
    QString Cell(const QStringList& row, const QString& header) const { return CellText(Raw(row, header)); }
    QString Name(const QStringList& row, const QString& header, QStringList& removed) const
    {
        return CleanName(Raw(row, header), removed);
    }
    QString Enactment(const QStringList& row) const { return At(row, m_enactment).simplified(); }
    QStringList TermSynonyms(const QStringList& row, QStringList& removed) const
    {
        return CellList(At(row, m_termSynonyms), removed);
    }
    // The mark of a withdrawn row ("6차(2023-11)(폐기)"), or empty for a current one. The mark
    // is written "(폐기)", " (폐기)" or after a line break; "(폐기후제정)" is a current row.
    QString Withdrawn(const QStringList& row) const
    {
        const QString enactment = Enactment(row);
        if (HeaderKey(enactment).contains(kWithdrawnMark))
            return enactment;
        if (CellText(At(row, m_revision)) == kRevisionWithdrawn)
            return enactment.isEmpty() ? kRevisionWithdrawn : enactment;
        return {};
    }
    // The column of the rows' number, or -1 when the file has none.
    int NumberColumn() const { return m_number; }

private:
    static QString At(const QStringList& row, int c) { return c >= 0 && c < row.size() ? row[c] : QString(); }

    std::map<QString, int> m_columns;
    int m_enactment = -1, m_revision = -1, m_number = -1, m_termSynonyms = -1;
};

// Rows numbered 1, 2, 3, ... in order: each break in the run is noted once. The edition adds
// its newest rows without a number ("-"), which is no gap.
class NumberRun
{
public:
    void Take(const QString& file, int rowNo, const QString& cell, std::vector<PublicStandardProblem>& incomplete)
    {
        const QString text = CellText(cell);
        if (text.isEmpty())
            return;
        bool ok = false;
        const qint64 n = text.toLongLong(&ok);
        if (ok && n == m_expected) {
            ++m_expected;
            return;
        }
        if (!ok)
            incomplete.push_back({file, rowNo, StandardTexts::Problem::kNumberNotNumber.arg(cell).arg(m_expected)});
        else if (n > m_expected)
            incomplete.push_back({file, rowNo,
                                  n == m_expected + 1
                                      ? StandardTexts::Problem::kNumberMissing.arg(m_expected)
                                      : StandardTexts::Problem::kNumbersMissing.arg(m_expected).arg(n - 1)});
        else
            incomplete.push_back({file, rowNo, StandardTexts::Problem::kNumberOutOfOrder.arg(n).arg(m_expected)});
        m_expected = ok ? n + 1 : m_expected + 1;
    }

private:
    qint64 m_expected = 1;
};

bool IsBlankRow(const QStringList& row)
{
    for (const QString& c : row)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
}

// Rows of one sheet or file into the standard, from the header row on. cutInLastRow: the file
// ended inside its last row.
bool TakeRows(const QString& file, Kind kind, const std::vector<QStringList>& rows, int headerRow, PublicStandard& out,
              QString& error, bool cutInLastRow = false)
{
    Table table;
    if (headerRow < 0) {
        error = rows.empty() ? QStringLiteral("%1: 머리글 행이 없습니다").arg(file)
                             : QStringLiteral("%1: %2의 형식이 아닙니다. 처음 %3행에 머리글 %4이(가) 없습니다")
                                   .arg(file, KindName(kind))
                                   .arg(kHeaderRows)
                                   .arg(NameHeader(kind));
        return false;
    }
    if (!table.Bind(file, kind, rows[size_t(headerRow)], error))
        return false;
    NumberRun numbers;
    int dataRows = 0;
    if (cutInLastRow)
        out.incomplete.push_back({file, int(rows.size()), StandardTexts::Problem::kEndsInsideRow});
    bool& seen = kind == Kind::Word ? out.hasWords : kind == Kind::Domain ? out.hasDomains : out.hasTerms;
    if (seen) {
        error = QStringLiteral("%1: %2 파일이 두 번 주어졌습니다").arg(file, KindName(kind));
        return false;
    }
    seen = true;
    const auto problem = [&](int row, const QString& reason) { out.problems.push_back({file, row, reason}); };
    // A row the file was cut in is not trusted, even when the rest is taken.
    const size_t whole = rows.size() - (cutInLastRow ? 1 : 0);
    for (size_t i = size_t(headerRow) + 1; i < whole; ++i) {
        const QStringList& r = rows[i];
        const int rowNo = int(i) + 1;
        if (IsBlankRow(r))
            continue;
        ++dataRows;
        if (table.NumberColumn() >= 0)
            numbers.Take(file, rowNo, table.NumberColumn() < r.size() ? r[table.NumberColumn()] : QString(),
                         out.incomplete);
        const QString withdrawn = table.Withdrawn(r);
        QStringList removed; // invisible characters taken out of names
        const auto noteRemoved = [&](const QString& what, const QString& value) {
            if (!removed.isEmpty() && withdrawn.isEmpty())
                problem(rowNo,
                        StandardTexts::Problem::kInvisibleRemoved.arg(what, value, removed.join(QStringLiteral(", "))));
        };
        switch (kind) {
        case Kind::Word: {
            PublicStandardWord w;
            w.file = file;
            w.row = rowNo;
            w.enactment = table.Enactment(r);
            w.logical = table.Name(r, Word::kLogical, removed);
            w.physical = table.Name(r, Word::kPhysical, removed);
            w.fullName = table.Name(r, Word::kFullName, removed);
            w.synonyms = CellList(table.Raw(r, Word::kSynonyms), removed);
            w.forbidden = CellList(table.Raw(r, Word::kForbidden), removed);
            w.domainClass = table.Name(r, Word::kDomainClass, removed);
            noteRemoved(w.logical, w.physical);
            if (w.logical.isEmpty() || w.physical.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kWordWithoutName);
                continue;
            }
            w.description = table.Cell(r, Word::kDescription);
            w.classWord = table.Cell(r, Word::kClassWord).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
            (withdrawn.isEmpty() ? out.words : out.withdrawnWords).push_back(std::move(w));
            break;
        }
        case Kind::Domain: {
            PublicStandardDomain d;
            d.file = file;
            d.row = rowNo;
            d.enactment = table.Enactment(r);
            d.group = table.Name(r, Domain::kGroup, removed);
            d.keyDomain = table.Name(r, Domain::kKeyDomain, removed);
            d.name = table.Name(r, Domain::kName, removed);
            noteRemoved(d.name, d.keyDomain);
            if (d.keyDomain.isEmpty() || d.name.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kDomainWithoutName);
                continue;
            }
            d.description = table.Cell(r, Domain::kDescription);
            d.dataType = table.Cell(r, Domain::kDataType).toUpper();
            d.length = table.Cell(r, Domain::kLength);
            d.scale = table.Cell(r, Domain::kScale);
            (withdrawn.isEmpty() ? out.domains : out.withdrawnDomains).push_back(std::move(d));
            break;
        }
        case Kind::Term: {
            PublicStandardTerm t;
            t.file = file;
            t.row = rowNo;
            t.enactment = table.Enactment(r);
            t.logical = table.Name(r, Term::kLogical, removed);
            t.physical = table.Name(r, Term::kPhysical, removed);
            t.domainName = table.Name(r, Term::kDomainName, removed);
            t.synonyms = table.TermSynonyms(r, removed);
            noteRemoved(t.logical, t.physical);
            if (t.logical.isEmpty() || t.physical.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kTermWithoutName);
                continue;
            }
            t.description = table.Cell(r, Term::kDescription);
            (withdrawn.isEmpty() ? out.terms : out.withdrawnTerms).push_back(std::move(t));
            break;
        }
        }
        if (!withdrawn.isEmpty())
            problem(rowNo, StandardTexts::Problem::kWithdrawn.arg(withdrawn));
    }
    if (dataRows == 0)
        out.incomplete.push_back({file, headerRow + 1, StandardTexts::Problem::kNoRows});
    return true;
}

bool ReadWorkbook(const QString& path, PublicStandard& out, QString& error)
{
    const QString file = QFileInfo(path).fileName();
    QStringList missing;
    for (const auto& [kind, sheetName] : {std::pair{Kind::Term, kTermSheet}, std::pair{Kind::Word, kWordSheet},
                                          std::pair{Kind::Domain, kDomainSheet}}) {
        CQrExcelSheet sheet;
        if (!sheet.OpenSheet(path, sheetName)) {
            if (!sheet.HasSheet()) {
                missing << sheetName;
                continue;
            }
            error = QStringLiteral("%1: %2").arg(file, sheet.GetLastError());
            return false;
        }
        std::vector<QStringList> rows;
        rows.reserve(size_t(sheet.GetRowCount()));
        const int columns = sheet.GetColumnCount();
        for (int r = 0; r < sheet.GetRowCount(); ++r) {
            QStringList cells;
            sheet.GetRowData(cells, r, columns);
            rows.push_back(std::move(cells));
        }
        if (!TakeRows(QStringLiteral("%1 [%2]").arg(file, sheetName), kind, rows, FindHeaderRow(rows, kind), out,
                      error))
            return false;
    }
    if (!missing.isEmpty()) {
        error = QStringLiteral("%1: 공통표준의 형식이 아닙니다. 없는 시트: %2")
                    .arg(file, missing.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

bool ReadCsv(const QString& path, PublicStandard& out, QString& error)
{
    const QString file = QFileInfo(path).fileName();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: 파일을 열 수 없습니다: %2").arg(path, f.errorString());
        return false;
    }
    CsvEnd end;
    QString encoding;
    const std::vector<QStringList> rows = ParseCsv(DecodeText(f.readAll(), &encoding), &end);
    if (encoding.contains(u' '))
        out.problems.push_back({file, 0, StandardTexts::Problem::kMixedEncodings});
    Kind kind;
    int headerRow = -1;
    if (rows.empty() || !KindOfRows(rows, kind, headerRow)) {
        error = QStringLiteral("%1: 공통표준의 형식이 아닙니다. 머리글에 %2, %3, %4 중 어느 것도 없습니다")
                    .arg(file, Word::kLogical, Domain::kName, Term::kLogical);
        return false;
    }
    // A file cut short ends inside a quoted cell, or without its last line break and with
    // fewer cells than the header names.
    const bool cut = rows.size() > size_t(headerRow) + 1 &&
                     (end.openQuote || (end.noFinalBreak && rows.back().size() < rows[size_t(headerRow)].size()));
    return TakeRows(file, kind, rows, headerRow, out, error, cut);
}

QString DecodeCp949(const QByteArray& bytes)
{
    QStringDecoder qt("CP949");
    if (qt.isValid()) {
        QString text = qt.decode(bytes);
        if (!qt.hasError())
            return text;
    }
#ifdef TERMWISE_HAVE_ICONV
    iconv_t cd = iconv_open("UTF-16LE", "CP949");
    if (cd != iconv_t(-1)) {
        QByteArray in = bytes;
        QByteArray outBuf(in.size() * 2 + 4, '\0');
        char* inp = in.data();
        size_t inLeft = size_t(in.size());
        char* outp = outBuf.data();
        size_t outLeft = size_t(outBuf.size());
        while (inLeft > 0) {
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1)) {
                if (outLeft < 2)
                    break;
                // An invalid byte becomes U+FFFD and the rest goes on.
                *outp++ = char(0xFD);
                *outp++ = char(0xFF);
                outLeft -= 2;
                ++inp;
                --inLeft;
            }
        }
        iconv_close(cd);
        const qsizetype bytesOut = outp - outBuf.data();
        return QString(reinterpret_cast<const QChar*>(outBuf.constData()), bytesOut / 2);
    }
#endif
    return QString::fromLatin1(bytes);
}

} // namespace

QString DecodeText(const QByteArray& bytes, QString* encoding)
{
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        if (encoding)
            *encoding = QStringLiteral("UTF-8");
        return text;
    }
    // Line by line: a file that one program saved in UTF-8 and another added CP949 lines to
    // reads right in both parts (a line break is never part of a CP949 character).
    text.clear();
    bool anyUtf8 = false;
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (i > 0)
            text += u'\n';
        QStringDecoder lineUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = lineUtf8.decode(line);
        const bool plain = std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x80; });
        if (!lineUtf8.hasError()) {
            anyUtf8 = anyUtf8 || !plain;
            text += decoded;
        } else {
            text += DecodeCp949(line);
        }
    }
    if (encoding)
        *encoding = anyUtf8 ? QStringLiteral("UTF-8 and CP949") : QStringLiteral("CP949");
    return text;
}

std::vector<QStringList> ParseCsv(const QString& text, CsvEnd* end)
{
    std::vector<QStringList> records;
    QStringList record;
    QString cell;
    bool quoted = false, cellStarted = false;
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        record.append(cell);
        cell.clear();
        cellStarted = false;
        records.push_back(std::move(record));
        record = QStringList();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    cell.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell.append(c);
            }
            continue;
        }
        if (c == u'"' && !cellStarted) {
            quoted = true;
            cellStarted = true;
        } else if (c == u',') {
            record.append(cell);
            cell.clear();
            cellStarted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
        } else {
            cell.append(c);
            cellStarted = true;
        }
    }
    const bool unfinished = cellStarted || !cell.isEmpty() || !record.isEmpty();
    if (end) {
        end->openQuote = quoted;
        end->noFinalBreak = unfinished;
    }
    if (unfinished)
        endRecord();
    return records;
}

bool Read(const QStringList& files, PublicStandard& out, QString& error)
{
    out = PublicStandard();
    if (files.isEmpty()) {
        error = QStringLiteral("파일이 주어지지 않았습니다");
        return false;
    }
    for (const QString& path : files) {
        if (!QFileInfo(path).isFile()) {
            error = QStringLiteral("%1: 파일이 없습니다").arg(path);
            return false;
        }
        QFile f(path);
        QByteArray magic;
        if (f.open(QIODevice::ReadOnly))
            magic = f.read(8);
        const bool workbook = magic.startsWith("PK") || magic.startsWith("\xD0\xCF\x11\xE0");
        if (workbook && files.size() > 1) {
            error = QStringLiteral("%1: 통합 문서는 하나만 주거나, CSV 파일 세 개를 주십시오").arg(path);
            return false;
        }
        if (!(workbook ? ReadWorkbook(path, out, error) : ReadCsv(path, out, error)))
            return false;
    }
    return true;
}

} // namespace PublicStandardReader

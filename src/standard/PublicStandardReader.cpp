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

QString HeaderKey(const QString& header)
{
    QString key;
    key.reserve(header.size());
    for (const QChar c : header)
        if (!c.isSpace() && c != QChar(0xFEFF))
            key.append(c);
    return key;
}

// "-" stands for an empty cell in the published files.
QString CellText(const QString& raw)
{
    const QString text = raw.trimmed();
    return text == QLatin1String("-") ? QString() : text;
}

QStringList CellList(const QString& raw)
{
    QStringList out;
    for (const QString& part : CellText(raw).split(u','))
        if (const QString item = CellText(part); !item.isEmpty() && !out.contains(item))
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

QString KindName(Kind kind)
{
    return kind == Kind::Word ? kWordSheet : kind == Kind::Domain ? kDomainSheet : kTermSheet;
}

// The kind a CSV header row belongs to; the word and domain files both name a domain class,
// so the name columns decide.
bool KindOfHeader(const QStringList& header, Kind& kind)
{
    std::set<QString> keys;
    for (const QString& h : header)
        keys.insert(HeaderKey(h));
    if (keys.count(HeaderKey(Term::kLogical)))
        kind = Kind::Term;
    else if (keys.count(HeaderKey(Word::kLogical)))
        kind = Kind::Word;
    else if (keys.count(HeaderKey(Domain::kName)))
        kind = Kind::Domain;
    else
        return false;
    return true;
}

class Table
{
public:
    // False with the missing headers named.
    bool Bind(const QString& file, Kind kind, const QStringList& header, QString& error)
    {
        m_columns.clear();
        std::map<QString, int> byKey;
        for (int i = 0; i < header.size(); ++i)
            byKey.try_emplace(HeaderKey(header[i]), i);
        QStringList missing;
        for (const QString& h : RequiredHeaders(kind)) {
            auto it = byKey.find(HeaderKey(h));
            if (it == byKey.end())
                missing << h;
            else
                m_columns[h] = it->second;
        }
        if (auto it = byKey.find(HeaderKey(kEnactment)); it != byKey.end())
            m_enactment = it->second;
        // Optional: the terms' synonyms (the portal's CSV files may lack the column).
        if (auto it = byKey.find(HeaderKey(Term::kSynonyms)); kind == Kind::Term && it != byKey.end())
            m_columns[Term::kSynonyms] = it->second;
        if (!missing.isEmpty()) {
            error = QStringLiteral("%1: %2의 형식이 아닙니다. 없는 머리글: %3")
                        .arg(file, KindName(kind), missing.join(QStringLiteral(", ")));
            return false;
        }
        return true;
    }
    QString Raw(const QStringList& row, const QString& header) const
    {
        const auto it = m_columns.find(header);
        return it != m_columns.end() && it->second < row.size() ? row[it->second] : QString();
    }
    QString Cell(const QStringList& row, const QString& header) const { return CellText(Raw(row, header)); }
    // The edition that withdrew the row ("6차(2023-11)(폐기)"), or empty for a current one.
    // Editions list withdrawn rows after the ones that replace them ("(폐기후 제정)").
    QString Withdrawn(const QStringList& row) const
    {
        if (m_enactment < 0 || m_enactment >= row.size())
            return {};
        const QString text = row[m_enactment].simplified();
        return HeaderKey(text).contains(kWithdrawnMark) ? text : QString();
    }

    // The column of the rows' number, or -1 when the file has none.
    int NumberColumn() const { return m_number; }
    void FindNumber(const QStringList& header)
    {
        m_number = -1;
        for (int i = 0; i < header.size() && m_number < 0; ++i)
            if (HeaderKey(header[i]) == HeaderKey(kNumberHeader))
                m_number = i;
    }

private:
    std::map<QString, int> m_columns;
    int m_enactment = -1;
    int m_number = -1;
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

// Rows of one sheet or file, header first, into the standard. cutInLastRow: the file ended
// inside its last row.
bool TakeRows(const QString& file, Kind kind, const std::vector<QStringList>& rows, PublicStandard& out, QString& error,
              bool cutInLastRow = false)
{
    Table table;
    if (rows.empty()) {
        error = QStringLiteral("%1: 머리글 행이 없습니다").arg(file);
        return false;
    }
    if (!table.Bind(file, kind, rows.front(), error))
        return false;
    table.FindNumber(rows.front());
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
    for (size_t i = 1; i < whole; ++i) {
        const QStringList& r = rows[i];
        const int rowNo = int(i) + 1;
        if (IsBlankRow(r))
            continue;
        ++dataRows;
        if (table.NumberColumn() >= 0)
            numbers.Take(file, rowNo, table.NumberColumn() < r.size() ? r[table.NumberColumn()] : QString(),
                         out.incomplete);
        if (const QString withdrawn = table.Withdrawn(r); !withdrawn.isEmpty()) {
            problem(rowNo, StandardTexts::Problem::kWithdrawn.arg(withdrawn));
            continue;
        }
        switch (kind) {
        case Kind::Word: {
            PublicStandardWord w;
            w.file = file;
            w.row = rowNo;
            w.logical = table.Cell(r, Word::kLogical);
            w.physical = table.Cell(r, Word::kPhysical);
            if (w.logical.isEmpty() || w.physical.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kWordWithoutName);
                continue;
            }
            w.fullName = table.Cell(r, Word::kFullName);
            w.description = table.Cell(r, Word::kDescription);
            w.classWord = table.Cell(r, Word::kClassWord).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
            w.domainClass = table.Cell(r, Word::kDomainClass);
            w.synonyms = CellList(table.Raw(r, Word::kSynonyms));
            w.forbidden = CellList(table.Raw(r, Word::kForbidden));
            out.words.push_back(std::move(w));
            break;
        }
        case Kind::Domain: {
            PublicStandardDomain d;
            d.file = file;
            d.row = rowNo;
            d.group = table.Cell(r, Domain::kGroup);
            d.keyDomain = table.Cell(r, Domain::kKeyDomain);
            d.name = table.Cell(r, Domain::kName);
            if (d.keyDomain.isEmpty() || d.name.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kDomainWithoutName);
                continue;
            }
            d.description = table.Cell(r, Domain::kDescription);
            d.dataType = table.Cell(r, Domain::kDataType).toUpper();
            d.length = table.Cell(r, Domain::kLength);
            d.scale = table.Cell(r, Domain::kScale);
            out.domains.push_back(std::move(d));
            break;
        }
        case Kind::Term: {
            PublicStandardTerm t;
            t.file = file;
            t.row = rowNo;
            t.logical = table.Cell(r, Term::kLogical);
            t.physical = table.Cell(r, Term::kPhysical);
            if (t.logical.isEmpty() || t.physical.isEmpty()) {
                problem(rowNo, StandardTexts::Problem::kTermWithoutName);
                continue;
            }
            t.description = table.Cell(r, Term::kDescription);
            t.domainName = table.Cell(r, Term::kDomainName);
            t.synonyms = CellList(table.Raw(r, Term::kSynonyms));
            out.terms.push_back(std::move(t));
            break;
        }
        }
    }
    if (dataRows == 0)
        out.incomplete.push_back({file, 1, StandardTexts::Problem::kNoRows});
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
        if (!TakeRows(QStringLiteral("%1 [%2]").arg(file, sheetName), kind, rows, out, error))
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
    if (rows.empty() || !KindOfHeader(rows.front(), kind)) {
        error = QStringLiteral("%1: 공통표준의 형식이 아닙니다. 머리글에 %2, %3, %4 중 어느 것도 없습니다")
                    .arg(file, Word::kLogical, Domain::kName, Term::kLogical);
        return false;
    }
    // A file cut short ends inside a quoted cell, or without its last line break and with
    // fewer cells than the header names.
    const bool cut =
        rows.size() > 1 && (end.openQuote || (end.noFinalBreak && rows.back().size() < rows.front().size()));
    return TakeRows(file, kind, rows, out, error, cut);
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
    bool anyUtf8 = false, anyCp949 = false;
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
            anyCp949 = true;
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

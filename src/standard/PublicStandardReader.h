#pragma once
// Reads the public common standard (공공데이터 공통표준) in every form it is published in: one
// workbook with the sheets "공통표준용어", "공통표준단어", "공통표준도메인", or one CSV file per
// sheet in UTF-8 (with or without a byte-order mark) or CP949, as the portal hands them out.
//
// Columns are found by the meaning of their header, not by their place: the header row may
// stand anywhere in the first rows and columns (the 8th edition's starts at B2), headers match
// with blanks, line breaks and "_" ignored, and each edition's spelling of a header is known
// (제정차수(제정연월) / 제정차수, 개정구분명(폐기, 변경) / 개정구분명(폐기 또는 변경)). Hidden and
// filtered rows are rows like any other. A header this program does not know belongs to a form
// it has not seen: the file is refused with that header named, never half read; so is one
// without the headers this program uses. "-" or nothing in a cell means empty; lists inside a
// cell are separated by ",".
//
// Rows the edition lists as withdrawn ("(폐기)" in 제정차수 however it is spaced or broken, or
// 폐기 in 개정구분명) are not standards any more: they go to the withdrawn lists and are named as
// problems; re-enacted rows ("(폐기후제정)") are current. Names and abbreviations lose leading
// and trailing blanks and stray invisible characters (TAB, no-break space, U+FEFF), and a row
// that lost an invisible one says so. Rows it cannot take are kept as problems (file, row,
// reason) and the rest is read. A file that is not whole (numbering with gaps, cut inside a
// row, no rows) is noted apart, in `incomplete`.
//
// CP949: Qt's QStringDecoder knows it only when Qt is built with ICU (it is on Debian), so the
// decoder falls back to glibc's iconv, which always has it.
#include <QString>
#include <QStringList>
#include <vector>

struct PublicStandardProblem
{
    QString file;
    int row = 0; // spreadsheet row (header = 1); 0 for the whole file
    QString reason;

    // "file:row: reason", as the command line and the window list it.
    QString Text() const
    {
        return row > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(row).arg(reason)
                       : QStringLiteral("%1: %2").arg(file, reason);
    }
};

struct PublicStandardWord
{
    QString file;
    int row = 0;
    QString logical;
    QString physical;
    QString fullName;
    QString description;
    bool classWord = false;
    QString domainClass;
    QStringList synonyms;
    QStringList forbidden;
    QString enactment; // 제정차수 as published ("8차(2025-11)(폐기후제정)")
};

struct PublicStandardDomain
{
    QString file;
    int row = 0;
    QString group;
    QString keyDomain;
    QString name;
    QString description;
    QString dataType; // as published (CHAR, VARCHAR, NUMERIC, ...)
    QString length;
    QString scale;
    QString enactment;
};

struct PublicStandardTerm
{
    QString file;
    int row = 0;
    QString logical;
    QString description;
    QString physical; // words' abbreviations joined by "_"
    QString domainName;
    QStringList synonyms; // 용어 이음동의어: names to replace by this term (a renamed term lists its old name)
    QString enactment;
};

struct PublicStandard
{
    std::vector<PublicStandardWord> words;
    std::vector<PublicStandardDomain> domains;
    std::vector<PublicStandardTerm> terms;
    // Rows the edition lists as withdrawn, as they stand in it.
    std::vector<PublicStandardWord> withdrawnWords;
    std::vector<PublicStandardDomain> withdrawnDomains;
    std::vector<PublicStandardTerm> withdrawnTerms;
    std::vector<PublicStandardProblem> problems;
    // Signs that a file is not whole: its numbering has gaps, it ends inside a row, or it has
    // nothing after its header. An import refuses such files unless told to take them anyway.
    std::vector<PublicStandardProblem> incomplete;
    bool hasWords = false, hasDomains = false, hasTerms = false; // the sheet or file was given
};

namespace PublicStandardReader {

enum class Kind { Word, Domain, Term };

// Reads one workbook or up to three CSV files (told apart by their headers). False with a
// message for a file that cannot be read or is in another layout; row problems do not fail.
bool Read(const QStringList& files, PublicStandard& out, QString& error);

// UTF-8 (a byte-order mark dropped) when the bytes are valid UTF-8, otherwise CP949.
// encoding, when given, receives "UTF-8" or "CP949".
QString DecodeText(const QByteArray& bytes, QString* encoding = nullptr);
// RFC 4180 records: quoted cells may hold separators, line breaks and doubled quotes. A record
// counts as one row (as a spreadsheet shows the file), whatever line breaks its cells hold.
// end, when given, tells a text that ends inside a quoted cell or without a line break after
// its last record.
struct CsvEnd
{
    bool openQuote = false;
    bool noFinalBreak = false;
};
std::vector<QStringList> ParseCsv(const QString& text, CsvEnd* end = nullptr);

} // namespace PublicStandardReader

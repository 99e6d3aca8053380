#pragma once
// The checks every value from a file passes before it is written to a repository or to the
// dictionary, so that every dialect takes the same values (SQLite would store what PostgreSQL
// refuses) and no control character gets into a name. The command line refuses a file with
// a bad row; a grid refuses the cell.
#include <QString>
#include <QStringView>

namespace FieldCheck {

// How long a column's values may be: characters, or bytes of UTF-8 (Oracle's VARCHAR2
// without CHAR). length 0: no limit.
struct Limit
{
    int length = 0;
    bool bytes = false;
    bool operator==(const Limit&) const = default;
};

enum class Lines {
    One,  // names, codes: no control character at all
    Many, // definitions: tab, CR and LF allowed
};

// Why the value may not be stored (in Korean), or an empty text when it may.
QString Problem(QStringView value, Limit limit, Lines lines = Lines::One);

} // namespace FieldCheck

#pragma once
// A tolerant reader of DDL scripts in the dialects of Oracle, PostgreSQL, MySQL/MariaDB and
// SQLite: CREATE TABLE (quoted and schema-qualified names, constraint lines, comments),
// COMMENT ON TABLE/COLUMN, the MySQL inline COMMENT and ALTER TABLE ... ADD, MODIFY, CHANGE,
// ALTER ... TYPE, RENAME COLUMN, DROP COLUMN and COMMENT =, and DROP TABLE.
//
// Nothing is executed. Several files are read as one script, so the tables and their comments
// may come apart. Each file is UTF-8 (with or without a byte-order mark) or CP949, and is read
// in pieces of about a megabyte: statements are taken one at a time and only the tables read
// so far are held, those read longest ago in a temporary file once they are many. A statement
// that cannot be read is skipped with a warning naming the file and its line; statements of no
// interest (INSERT, CREATE INDEX, PL/SQL, pg_dump's COPY data) are passed over silently.
//
// Our own reader rather than PostgreSQL's parser (libpg_query): it reads the four dialects
// with one set of rules, keeps going after a statement it cannot read, and needs no parse tree
// of a million columns.
#include "components/TextHash.h"
#include "exchange/ModelSource.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <unordered_map>
#include <vector>

namespace DdlReader {

namespace Internal {
struct Table;
struct TableRef;
class TableSpill;
} // namespace Internal

// A script's tables as read, handed over one at a time and freed as they go: for a caller that
// takes each column once (a diagnosis) and needs no attribute list of the whole model.
class Tables
{
public:
    struct Column
    {
        QString name, comment, definition;
        ModelSource::ColumnType type;
        QString display;  // type.Display()
        QString typeName; // display before its parenthesis
        unsigned char keys = 0;
    };
    struct Table
    {
        QString schema, name, comment;
        std::vector<Column> columns;
    };
    Tables();
    ~Tables();
    // The next table with a column; false at the end, or when a table put aside in the reader's
    // temporary file could not be read back (Failed).
    bool Next(Table& table);
    bool Failed() const { return m_failed; }

private:
    friend bool Read(const QStringList&, ModelSource::AttributeList&, QString&, const struct Options&, Tables*);
    std::vector<Internal::TableRef> m_refs;
    std::vector<Internal::Table> m_held;
    std::unique_ptr<Internal::TableSpill> m_spill;
    bool m_failed = false;
    size_t m_next = 0;
    ModelSource::Dialect m_dialect = ModelSource::Dialect::Unknown;
    // A script's few type texts read once each: VARCHAR(20) is normalised for its first column.
    struct Type
    {
        ModelSource::ColumnType type;
        QString display, name;
    };
    std::unordered_map<QString, Type, TextHasher> m_types;
};

struct Options
{
    // Unknown: guessed from the first file's opening text.
    ModelSource::Dialect dialect = ModelSource::Dialect::Unknown;
    // Bytes read of all files; false cancels.
    ModelSource::Progress progress;
    // A file is read in pieces of about this many bytes (small ones in tests and fuzzing, where
    // statements, strings and comments must come out the same across the seams).
    qint64 pieceBytes = 1 << 20;
    // Beyond about this many columns held, the tables read longest ago wait in a temporary file
    // until a statement touches them or they are handed over: a script whose comments come after
    // all its tables is not held whole (0: all in memory).
    size_t heldColumns = 100000;
    // From scripts of this many bytes, statements are cut into tokens on the reading thread
    // and applied to the model on a second one (0: always; tests and fuzzing; -1: never).
    qint64 twoThreadsFrom = qint64(4) << 20;
};

// Reads the files as one script. False with a message when a file cannot be read, when the
// script holds no CREATE TABLE, or when cancelled; warnings go to list.warnings either way.
// With tables, the columns go there instead of into the list's rows (the list gets the
// warnings, the dialect and the number of tables).
bool Read(const QStringList& files, ModelSource::AttributeList& list, QString& error, const Options& options = {},
          Tables* tables = nullptr);
// The same over a text (tests, and scripts already in memory); name stands for the file.
bool ReadText(const QString& text, const QString& name, ModelSource::AttributeList& list, QString& error,
              const Options& options = {});

// The dialect a script's text speaks, from the marks only one dialect writes; Unknown when
// nothing tells.
ModelSource::Dialect GuessDialect(QStringView text);

} // namespace DdlReader

#pragma once
// The DDL reader's model: statements (CREATE TABLE, COMMENT ON, ALTER TABLE, USE and the like)
// applied to the tables read so far, which go into the attribute list at the end.
#include "analysis/LatinCase.h"
#include "exchange/DdlTokens.h"
#include "exchange/ModelSourceTexts.h"

#include <QHash>
#include <QSet>
#include <QTemporaryFile>
#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace DdlReader::Internal {

namespace T = ModelSourceTexts;

// ---------------------------------------------------------------------------------------
// The model read so far

struct Column
{
    QString name; // as stored
    QString key;
    QString comment;
    QString type;           // the type text as written
    QString definition;     // MySQL: what MODIFY restates
    unsigned char keys = 0; // ModelSource::KeyRole bits
    bool dropped = false;
};

struct Table
{
    QString schema, name, key, comment;
    std::vector<Column> columns;
    bool dropped = false;
    // Put aside in the spill file: columns and comment are there, not here.
    qint64 spillAt = -1;
    quint32 spillBytes = 0;
    quint32 spilledLive = 0; // columns not dropped, while spilled

    bool Spilled() const { return spillAt >= 0; }
    bool HasLiveColumn() const
    {
        return Spilled() ? spilledLive > 0
                         : std::any_of(columns.begin(), columns.end(), [](const Column& c) { return !c.dropped; });
    }
    void Release()
    {
        columns = std::vector<Column>();
        byKey = QHash<QString, int>();
        hashed = false;
    }

    Column* Find(const QString& key)
    {
        const int i = IndexOf(key);
        return i < 0 || columns[size_t(i)].dropped ? nullptr : &columns[size_t(i)];
    }
    void Append(Column column)
    {
        columns.push_back(std::move(column));
        if (hashed)
            byKey.insert(columns.back().key, int(columns.size() - 1));
    }
    // The column (one of columns) known by another key from now on.
    void Rekey(Column& column, const QString& key)
    {
        if (hashed) {
            byKey.remove(column.key);
            byKey.insert(key, int(&column - columns.data()));
        }
        column.key = key;
    }

private:
    // Most tables have a few dozen columns at most: a scan of them costs less than hashing the
    // keys of every table of a script of 50,000. A wide table is hashed when first searched.
    static constexpr size_t kHashFrom = 64;
    QHash<QString, int> byKey; // the last column of each key, once hashed
    bool hashed = false;

    int IndexOf(const QString& key)
    {
        if (columns.size() >= kHashFrom) {
            if (!hashed) {
                byKey.reserve(qsizetype(columns.size()));
                for (size_t i = 0; i < columns.size(); ++i)
                    byKey.insert(columns[i].key, int(i));
                hashed = true;
            }
            return byKey.value(key, -1);
        }
        for (size_t i = columns.size(); i-- > 0;)
            if (columns[i].key == key)
                return int(i);
        return -1;
    }
};

// Tables put aside in a temporary file while a long script is read, so that what is held does
// not grow with the model: a table comes back when a later statement touches it, and once
// more when it is handed over.
class TableSpill
{
public:
    // False when the file cannot be written: the table then stays in memory.
    bool Put(Table& table);
    // False when the file cannot be read back.
    bool Take(Table& table);

private:
    // Records are gathered and written a megabyte at a time, and read back a megabyte at a
    // time: a table is a few kilobytes, and a call to the system for each cost more than its
    // copy (tables go out and come back in the order they were read).
    static constexpr qsizetype kBlock = 1 << 20;
    bool WriteTail();
    QTemporaryFile m_file;
    QByteArray m_tail;    // records from m_written on, not in the file yet
    qint64 m_written = 0; // bytes in the file
    bool m_writeFailed = false;
    QByteArray m_window; // bytes of the file from m_windowAt, read back ahead
    qint64 m_windowAt = -1;
};

// A table handed over once the script is read: where its record is in the spill file, or, when
// it never went there, its place among the tables held.
struct TableRef
{
    qint64 at = -1; // -1: held
    quint32 bytes = 0;
    quint32 held = 0;
};

// A statement cut into tokens where the script is read, applied to the model on another thread.
// A CREATE TABLE's column list read where the statement was cut into tokens: on the reading
// thread, which waited for the applying one while a script of tables went by.
struct ReadColumns
{
    size_t open = 0; // the token of the list's "(" (0: none was read)
    struct Def
    {
        std::optional<Column> column;
        bool constraint = false;
        std::vector<size_t> references; // the tokens of its REFERENCES, for the applying thread
    };
    std::vector<Def> defs; // one per element of the list, in order
};

struct LexedStatement
{
    enum class Kind { Tokens, Schema, Unclosed, Warning } kind = Kind::Tokens;
    QString file;
    QString text; // the statement (the tokens point into it), the USE/SET, or what was unclosed
    int line = 0;
    TokenSource source;
    std::vector<Token> toks;
    bool unterminated = false;
    bool lexed = false; // the tokens were cut; if not, the applying thread cuts them
    ReadColumns columns;
};

// A name as the DBMS stores it, and the key it is matched by.
struct Name
{
    QString stored, key;
};

// A foreign key's target, marked once every table is read (it may come later in the script).
struct Reference
{
    std::vector<Name> table;
    QStringList columns; // keys; none: the table's primary key
};

class Script
{
public:
    Script(Dialect dialect, ModelSource::AttributeList& list) : m_dialect(dialect), m_list(list) {}

    void SetFile(const QString& file) { m_readingFile = file; }
    void SetDialect(Dialect dialect) { m_dialect = dialect; }
    Dialect GetDialect() const { return m_dialect; }
    int CreateTables() const { return m_createTables; }

    // From more than this many columns held, the oldest tables go to a temporary file (0: never).
    void SpillBeyond(size_t columns) { m_spillBeyond = columns; }
    // A spilled table could not be read back: the model is incomplete.
    bool SpillFailed() const { return m_spillFailed; }

    void Statement(QStringView text, int line);
    // The tables into the list's rows, or, with refs, those with a column to hand over: once
    // tables were spilled, all go to the file (refs and spill), else they are held (the list
    // counts them).
    void Finish(std::vector<TableRef>* refs = nullptr, std::vector<Table>* held = nullptr,
                std::unique_ptr<TableSpill>* spill = nullptr);
    void Unclosed(const QString& what, int line)
    {
        LexedStatement st;
        st.kind = LexedStatement::Kind::Unclosed;
        st.file = m_readingFile;
        st.text = what;
        st.line = line;
        Hand(std::move(st));
    }
    // A warning of the reading, in its place among the statements' warnings.
    void Warning(const QString& text)
    {
        LexedStatement st;
        st.kind = LexedStatement::Kind::Warning;
        st.text = text;
        Hand(std::move(st));
    }
    // Statements, once cut into tokens, go to defer (on the thread that reads) instead of being
    // applied at once; Apply takes them in order on another. Nothing else of the script is
    // touched by the reading thread meanwhile.
    void DeferTo(std::function<void(LexedStatement&&)> defer) { m_defer = std::move(defer); }
    // Work shared by how many batches wait for the applying thread: from half its queue, the
    // reading thread reads CREATE TABLE's column lists too; with none waiting, it leaves the
    // cutting into tokens to that thread. Each takes what the other has no time for.
    static constexpr int kReadColumnsFrom = 4;
    void ShareWorkBy(const std::atomic<int>* waiting) { m_waiting = waiting; }
    void Apply(LexedStatement& statement);
    // Its tokens, with g_source set to its source.
    void Lex(LexedStatement& statement) const;

private:
    Name NameOf(const Token& t) const
    {
        const bool quoted = t.kind == Tok::QuotedId;
        QString stored = quoted                             ? t.text()
                         : m_dialect == Dialect::PostgreSql ? CaseFolded(t.raw(), false)
                         : m_dialect == Dialect::Oracle     ? CaseFolded(t.raw(), true)
                                                            : t.raw().toString();
        // MySQL, SQLite and an unknown dialect: names compare without case.
        const bool exact = m_dialect == Dialect::PostgreSql || m_dialect == Dialect::Oracle;
        return {stored, exact ? stored : stored.toLower()};
    }

    // A name folded to one case as it is copied: most names are ASCII, folded a character at
    // a time; any other goes through Unicode's rules.
    static QString CaseFolded(QStringView raw, bool upper)
    {
        for (const QChar c : raw)
            if (c.unicode() >= 0x80)
                return upper ? raw.toString().toUpper() : raw.toString().toLower();
        return upper ? LatinCase::Folded(raw) : LatinCase::Lowered(raw);
    }

    // A possibly qualified name at toks[i]: its parts, i moved past it.
    std::vector<Name> QualifiedName(const std::vector<Token>& toks, size_t& i) const
    {
        std::vector<Name> parts;
        parts.reserve(3); // schema, table, column
        while (i < toks.size() && IsIdent(toks[i])) {
            parts.push_back(NameOf(toks[i]));
            ++i;
            if (i < toks.size() && IsSym(toks[i], u'.'))
                ++i;
            else
                break;
        }
        return parts;
    }
    // A table's name as the server reads it: unqualified, in the schema a USE, SET search_path
    // or ALTER SESSION SET CURRENT_SCHEMA made current (a dump of several databases).
    std::vector<Name> InCurrentSchema(std::vector<Name> parts) const
    {
        if (parts.size() == 1 && !m_currentSchema.stored.isEmpty())
            parts.insert(parts.begin(), m_currentSchema);
        return parts;
    }
    // USE db; SET search_path [=|TO] s, ...; ALTER SESSION SET CURRENT_SCHEMA = s.
    void CurrentSchema(QStringView text);

    // The live table a possibly qualified name means: with a schema, that schema's table (or
    // one written without a schema); without, the only table of that name (none when two
    // schemas have one). Hashed both ways, so a name repeated across thousands of schemas or
    // re-created thousands of times costs no search.
    Table* FindTable(const std::vector<Name>& parts)
    {
        if (parts.empty())
            return nullptr;
        const QString& key = parts.back().key;
        if (parts.size() < 2) {
            const auto it = m_liveByName.constFind(key);
            return it == m_liveByName.constEnd() || it->count != 1 ? nullptr : &m_tables[size_t(it->index)];
        }
        for (const QString& schema : {parts[parts.size() - 2].key, QString()}) {
            const auto it = m_liveBySchema.constFind({schema, key});
            if (it != m_liveBySchema.constEnd())
                return &m_tables[size_t(*it)];
        }
        return nullptr;
    }
    void AddTable(Table table)
    {
        const int index = int(m_tables.size());
        LiveName& live = m_liveByName[table.key];
        ++live.count;
        live.index = index;
        // One text for a schema's name, however many tables it has.
        table.schema = *m_schemaNames.insert(table.schema);
        m_liveBySchema.insert({SchemaKey(table.schema), table.key}, index);
        m_resident += table.columns.size();
        m_tables.push_back(std::move(table));
        if (m_spillBeyond > 0)
            m_residentOrder.push_back(index);
    }
    // The table with its columns, read back if it was spilled; null when that fails.
    Table* Loaded(Table* table);
    // Spills the tables held longest once more than m_spillBeyond columns are held.
    void KeepWithin();
    void DropTable(Table& table)
    {
        const int index = int(&table - m_tables.data());
        table.dropped = true;
        const auto live = m_liveByName.find(table.key);
        if (live != m_liveByName.end() && --live->count == 0) {
            m_liveByName.erase(live);
        } else if (live != m_liveByName.end() && live->count == 1) {
            // The one left of a name two schemas had: rare enough to be searched for.
            for (size_t i = 0; i < m_tables.size(); ++i)
                if (!m_tables[i].dropped && m_tables[i].key == table.key)
                    live->index = int(i);
        }
        const std::pair<QString, QString> full{SchemaKey(table.schema), table.key};
        if (m_liveBySchema.value(full, -1) == index)
            m_liveBySchema.remove(full);
    }
    QString SchemaKey(const QString& stored) const
    {
        const bool exact = m_dialect == Dialect::PostgreSql || m_dialect == Dialect::Oracle;
        return exact ? stored : stored.toLower();
    }

    void Hand(LexedStatement&& st)
    {
        if (m_defer)
            m_defer(std::move(st));
        else
            Apply(st);
    }
    // What a statement is to the model: nothing (nullopt), the current schema (its text from s),
    // or one to cut into tokens.
    // tokens gets the first ones when they are words only, for the cutting to go on after them.
    std::optional<LexedStatement::Kind> Classify(QStringView text, qsizetype& s, std::vector<Token>& tokens) const;
    // A statement of interest, in tokens, to the model.
    void Dispatch(const std::vector<Token>& toks, bool unterminated, QStringView text, int line);
    void CreateTable(const std::vector<Token>& toks, size_t i, QStringView text, int line);
    // [CONSTRAINT n] PRIMARY KEY (...) or FOREIGN KEY (...) REFERENCES t (...) at toks[k, to).
    void TableConstraint(Table& table, const std::vector<Token>& toks, size_t k, size_t to);
    // REFERENCES t [(a, b)] at toks[k, to): remembered for Finish.
    void Referenced(const std::vector<Token>& toks, size_t k, size_t to) const;
    void MarkReferenced();
    void CommentOn(const std::vector<Token>& toks, size_t i, QStringView text, int line);
    void AlterTable(const std::vector<Token>& toks, size_t i, QStringView text, int line);

    // A column definition from toks[i] to end; false when it is no column (a constraint).
    // The column list of a CREATE TABLE in toks, read as CreateTable reads it; nothing of the
    // script but its dialect is touched, so the reading thread may call it.
    ReadColumns ReadColumnList(const std::vector<Token>& toks) const;
    // A definition's REFERENCES go to references when given, else to the script's list.
    std::optional<Column> ColumnDef(const std::vector<Token>& toks, size_t i, size_t end, QStringView text,
                                    bool& isConstraint, std::vector<size_t>* references = nullptr) const;
    ReadColumns* m_readColumns = nullptr; // of the statement being applied, taken as used
    void AddColumn(Table& table, Column column);
    void Warn(const QString& format, int line, QStringView text, qsizetype pos = 0)
    {
        int at = line;
        for (qsizetype k = 0; k < pos && k < text.size(); ++k)
            at += text[k] == u'\n' ? 1 : 0;
        const QString head = text.mid(pos).left(60).toString().simplified();
        m_list.warnings.append(format.arg(m_file, QString::number(at), head));
    }

    Dialect m_dialect;
    ModelSource::AttributeList& m_list;
    QString m_file;        // of the statement applied
    QString m_readingFile; // of the statement read
    std::function<void(LexedStatement&&)> m_defer;
    const std::atomic<int>* m_waiting = nullptr;
    std::vector<Table> m_tables;
    mutable std::vector<Reference> m_references;
    // Held for every table of the script: small, and sharing the tables' texts.
    struct LiveName
    {
        int index = -1; // the table, when count is 1
        int count = 0;
    };
    QHash<QString, LiveName> m_liveByName;
    QHash<std::pair<QString, QString>, int> m_liveBySchema; // (schema key, name key)
    QSet<QString> m_schemaNames;
    Name m_currentSchema; // empty: the one the script is run in
    // The table of the last COMMENT ON COLUMN, by the text its name was written in: a script's
    // comments come table after table, and making and finding the table's name again was a
    // third of a comment's work. Forgotten at any other statement.
    struct CommentTable
    {
        int index = -1;
        size_t parts = 0; // of the table's name: 1 or 2
        QString raw[2];   // as written
        bool quoted[2] = {};
    } m_commentTable;
    // The table a column comment's name at toks[from] means when it is written as the last one's
    // was (its column's token at columnAt, the name's end at end); -1 otherwise.
    int SameCommentTable(const std::vector<Token>& toks, size_t from, size_t& columnAt, size_t& end) const;
    int m_createTables = 0;
    int m_notTheModel = 0; // temporary tables, tables of the server's own schemas
    size_t m_spillBeyond = 0;
    size_t m_resident = 0;           // columns of the tables in memory (about: ALTER ... ADD is not counted)
    std::deque<int> m_residentOrder; // tables in memory, the longest held first
    std::unique_ptr<TableSpill> m_spill;
    bool m_spillFailed = false;
};

} // namespace DdlReader::Internal

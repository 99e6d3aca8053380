#include "exchange/DdlReader.h"

#include "exchange/ModelSourceTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <optional>

using ModelSource::Dialect;
namespace T = ModelSourceTexts;

namespace DdlReader {
namespace {

// ---------------------------------------------------------------------------------------
// Tokens of one statement

enum class Tok { Word, QuotedId, String, Number, Symbol, End };

// The statement being read and the texts of its quoted tokens. Tokens point into it, so a
// token takes 16 bytes however long its statement: a statement of 50 MB has millions of them.
struct TokenSource
{
    QStringView statement;
    std::vector<QString> texts;
};
thread_local TokenSource* g_source = nullptr;

class SourceScope
{
public:
    explicit SourceScope(QStringView statement) : m_saved(g_source)
    {
        m_source.statement = statement;
        g_source = &m_source;
    }
    ~SourceScope() { g_source = m_saved; }
    SourceScope(const SourceScope&) = delete;
    SourceScope& operator=(const SourceScope&) = delete;

private:
    TokenSource m_source;
    TokenSource* m_saved;
};

struct Token
{
    quint32 pos = 0; // offset in the statement
    quint32 length = 0;
    qint32 textIndex = -1;
    Tok kind = Tok::End;

    QStringView raw() const { return g_source->statement.mid(pos, length); }
    // The unquoted identifier or unescaped string.
    const QString& text() const
    {
        static const QString kNone;
        return textIndex < 0 ? kNone : g_source->texts[size_t(textIndex)];
    }
    void SetText(QString value)
    {
        textIndex = qint32(g_source->texts.size());
        g_source->texts.push_back(std::move(value));
    }
};

bool IsWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c.unicode() >= 0x80;
}
bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c.unicode() >= 0x80;
}

// Where the block comment opened before from ends (after its "*/"); -1 when the text does not
// close it. PostgreSQL nests block comments, the other dialects end at the first "*/".
// With depth and resume, a search the text did not finish can go on where it stopped.
qsizetype BlockCommentEnd(QStringView s, qsizetype from, bool nested, int* depth = nullptr, qsizetype* resume = nullptr)
{
    int level = depth ? *depth : 1;
    qsizetype k = from;
    for (; k + 1 < s.size(); ++k) {
        if (s[k] == u'*' && s[k + 1] == u'/') {
            if (--level == 0)
                return k + 2;
            ++k;
        } else if (nested && s[k] == u'/' && s[k + 1] == u'*') {
            ++level;
            ++k;
        }
    }
    if (depth)
        *depth = level;
    if (resume)
        *resume = k;
    return -1;
}

// An E'...' string of PostgreSQL (backslash escapes) opens at the quote at i.
bool IsEscapeString(QStringView s, qsizetype i)
{
    return i >= 1 && (s[i - 1] == u'E' || s[i - 1] == u'e') &&
           (i == 1 || !(s[i - 2].isLetterOrNumber() || s[i - 2] == u'_' || s[i - 2] == u'$'));
}

// An Oracle q'X...X' quote opens at the quote at i (also nq'...').
bool IsOracleQuote(QStringView s, qsizetype i)
{
    if (i < 1 || !(s[i - 1] == u'q' || s[i - 1] == u'Q') || i + 1 >= s.size())
        return false;
    const qsizetype before = i - 2 >= 0 && (s[i - 2] == u'n' || s[i - 2] == u'N') ? i - 3 : i - 2;
    return before < 0 || !(s[before].isLetterOrNumber() || s[before] == u'_' || s[before] == u'$');
}

QChar OracleClose(QChar open)
{
    return open == u'[' ? u']' : open == u'{' ? u'}' : open == u'<' ? u'>' : open == u'(' ? u')' : open;
}

class Lexer
{
public:
    Lexer(QStringView text, Dialect dialect) : m_s(text), m_dialect(dialect) {}

    // The first tokens only: enough to tell what a statement is before reading all of it
    // (a function body of many megabytes need not become tokens to be passed over).
    std::vector<Token> Head(size_t count)
    {
        std::vector<Token> out;
        bool unterminated = false;
        while (out.size() < count) {
            Token t = Next(unterminated);
            if (t.kind == Tok::End)
                break;
            out.push_back(std::move(t));
        }
        m_i = 0;
        return out;
    }

    std::vector<Token> All(bool& unterminated)
    {
        // Counted first, so the list is allocated once at its size.
        size_t count = 0;
        {
            const size_t texts = g_source->texts.size();
            bool ignored = false;
            while (Next(ignored).kind != Tok::End)
                ++count;
            g_source->texts.resize(texts);
            m_i = 0;
        }
        std::vector<Token> out;
        out.reserve(count);
        unterminated = false;
        for (;;) {
            Token t = Next(unterminated);
            if (t.kind == Tok::End)
                break;
            out.push_back(std::move(t));
        }
        return out;
    }

private:
    QChar At(qsizetype i) const { return i < m_s.size() ? m_s[i] : QChar(); }

    void SkipSpaceAndComments()
    {
        while (m_i < m_s.size()) {
            const QChar c = m_s[m_i];
            if (c.isSpace()) {
                ++m_i;
            } else if (c == u'-' && At(m_i + 1) == u'-') {
                while (m_i < m_s.size() && m_s[m_i] != u'\n')
                    ++m_i;
            } else if (c == u'#' && m_dialect == Dialect::MySql) {
                while (m_i < m_s.size() && m_s[m_i] != u'\n')
                    ++m_i;
            } else if (c == u'/' && At(m_i + 1) == u'*') {
                const qsizetype end = BlockCommentEnd(m_s, m_i + 2, m_dialect == Dialect::PostgreSql);
                m_i = end < 0 ? m_s.size() : end;
            } else {
                break;
            }
        }
    }

    // A quoted run from m_i (at the opening quote); doubled quotes stand for one, and with
    // backslashes a backslash escapes the next character.
    QString Quoted(QChar quote, QChar close, bool backslashes, bool& unterminated)
    {
        QString out;
        ++m_i;
        while (m_i < m_s.size()) {
            const QChar c = m_s[m_i];
            if (backslashes && c == u'\\' && m_i + 1 < m_s.size()) {
                const QChar e = m_s[m_i + 1];
                out += e == u'n'   ? QChar(u'\n')
                       : e == u't' ? QChar(u'\t')
                       : e == u'r' ? QChar(u'\r')
                       : e == u'0' ? QChar(u'\0')
                                   : e;
                m_i += 2;
                continue;
            }
            if (c == close) {
                if (close == quote && At(m_i + 1) == quote) {
                    out += quote;
                    m_i += 2;
                    continue;
                }
                ++m_i;
                return out;
            }
            out += c;
            ++m_i;
        }
        unterminated = true;
        return out;
    }

    Token Next(bool& unterminated)
    {
        SkipSpaceAndComments();
        Token t;
        t.pos = quint32(m_i);
        if (m_i >= m_s.size())
            return t;
        const QChar c = m_s[m_i];
        const qsizetype start = m_i;
        const bool mysql = m_dialect == Dialect::MySql;
        if (c == u'\'') {
            t.kind = Tok::String;
            t.SetText(Quoted(u'\'', u'\'', mysql, unterminated));
        } else if (c == u'"') {
            // MySQL takes double quotes for strings unless ANSI_QUOTES is set.
            t.kind = mysql ? Tok::String : Tok::QuotedId;
            t.SetText(Quoted(u'"', u'"', mysql, unterminated));
        } else if (c == u'`') {
            t.kind = Tok::QuotedId;
            t.SetText(Quoted(u'`', u'`', false, unterminated));
        } else if (c == u'[' && m_dialect == Dialect::Sqlite) {
            t.kind = Tok::QuotedId;
            t.SetText(Quoted(u'[', u']', false, unterminated));
        } else if (c == u'$' && m_dialect != Dialect::MySql && DollarQuote(t, unterminated)) {
            // the body of a PostgreSQL function or DO block
        } else if (IsWordStart(c)) {
            qsizetype j = m_i + 1;
            while (j < m_s.size() && IsWordChar(m_s[j]))
                ++j;
            const QStringView word = m_s.mid(m_i, j - m_i);
            const QChar next = At(j);
            if (next == u'\'' && word.size() == 1 && QStringLiteral("NnEeXxBb").contains(word[0])) {
                // N'...', E'...' (backslash escapes), X'..', B'..'
                m_i = j;
                t.kind = Tok::String;
                t.SetText(Quoted(u'\'', u'\'', mysql || word[0].toUpper() == u'E', unterminated));
            } else if (next == u'\'' && m_dialect != Dialect::MySql && j + 1 < m_s.size() &&
                       word.back().toUpper() == u'Q' &&
                       (word.size() == 1 || (word.size() == 2 && word[0].toUpper() == u'N'))) {
                t.kind = Tok::String;
                t.SetText(OracleQuote(j, unterminated));
            } else {
                t.kind = Tok::Word;
                m_i = j;
            }
        } else if (c.isDigit() || (c == u'.' && At(m_i + 1).isDigit())) {
            qsizetype j = m_i;
            while (j < m_s.size() && (m_s[j].isLetterOrNumber() || m_s[j] == u'.'))
                ++j;
            t.kind = Tok::Number;
            m_i = j;
        } else {
            t.kind = Tok::Symbol;
            ++m_i;
        }
        t.length = quint32(m_i - start);
        return t;
    }

    bool DollarQuote(Token& t, bool& unterminated)
    {
        qsizetype j = m_i + 1;
        while (j < m_s.size() && (m_s[j].isLetterOrNumber() || m_s[j] == u'_'))
            ++j;
        if (At(j) != u'$')
            return false;
        const QStringView tag = m_s.mid(m_i, j - m_i + 1);
        const qsizetype end = m_s.indexOf(tag, j + 1);
        t.kind = Tok::String;
        if (end < 0) {
            unterminated = true;
            t.SetText(m_s.mid(j + 1).toString());
            m_i = m_s.size();
        } else {
            t.SetText(m_s.mid(j + 1, end - j - 1).toString());
            m_i = end + tag.size();
        }
        return true;
    }

    // q'[...]', q'{...}', q'<...>', q'(...)' or q'X...X'
    QString OracleQuote(qsizetype quoteAt, bool& unterminated)
    {
        const QChar open = At(quoteAt + 1);
        const QChar close = open == u'['   ? u']'
                            : open == u'{' ? u'}'
                            : open == u'<' ? u'>'
                            : open == u'(' ? u')'
                                           : open;
        const qsizetype from = quoteAt + 2;
        qsizetype k = from;
        while (k + 1 < m_s.size() && !(m_s[k] == close && m_s[k + 1] == u'\''))
            ++k;
        if (k + 1 >= m_s.size()) {
            unterminated = true;
            m_i = m_s.size();
            return m_s.mid(from).toString();
        }
        m_i = k + 2;
        return m_s.mid(from, k - from).toString();
    }

    QStringView m_s;
    Dialect m_dialect;
    qsizetype m_i = 0;
};

bool Is(const Token& t, const char16_t* keyword)
{
    return t.kind == Tok::Word && t.raw().compare(QStringView(keyword), Qt::CaseInsensitive) == 0;
}
bool IsSym(const Token& t, char16_t c)
{
    return t.kind == Tok::Symbol && t.length == 1 && g_source->statement[t.pos] == c;
}
bool IsIdent(const Token& t)
{
    return t.kind == Tok::Word || t.kind == Tok::QuotedId;
}

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

    Column* Find(const QString& key)
    {
        const int i = IndexOf(key);
        return i < 0 || columns[size_t(i)].dropped ? nullptr : &columns[size_t(i)];
    }
    void Append(Column column)
    {
        columns.push_back(std::move(column));
        if (columns.size() == kHashFrom) {
            for (size_t i = 0; i < columns.size(); ++i)
                byKey.insert(columns[i].key, int(i));
        } else if (columns.size() > kHashFrom) {
            byKey.insert(columns.back().key, int(columns.size() - 1));
        }
    }
    // The column (one of columns) known by another key from now on.
    void Rekey(Column& column, const QString& key)
    {
        if (columns.size() >= kHashFrom) {
            byKey.remove(column.key);
            byKey.insert(key, int(&column - columns.data()));
        }
        column.key = key;
    }

private:
    // Most tables have a few columns: a scan of them costs less than a hash for each table of
    // a script of 50,000. A wide table is hashed.
    static constexpr size_t kHashFrom = 16;
    QHash<QString, int> byKey; // the last column of each key, once hashed

    int IndexOf(const QString& key) const
    {
        if (columns.size() >= kHashFrom)
            return byKey.value(key, -1);
        for (size_t i = columns.size(); i-- > 0;)
            if (columns[i].key == key)
                return int(i);
        return -1;
    }
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

    void SetFile(const QString& file) { m_file = file; }
    void SetDialect(Dialect dialect) { m_dialect = dialect; }
    Dialect GetDialect() const { return m_dialect; }
    int CreateTables() const { return m_createTables; }

    void Statement(QStringView text, int line);
    void Finish();
    void Unclosed(const QString& what, int line)
    {
        m_list.warnings.append(T::kUnterminated.arg(m_file).arg(line).arg(what));
    }

private:
    Name NameOf(const Token& t) const
    {
        const bool quoted = t.kind == Tok::QuotedId;
        QString stored = quoted ? t.text() : t.raw().toString();
        if (!quoted && m_dialect == Dialect::PostgreSql)
            stored = stored.toLower();
        else if (!quoted && m_dialect == Dialect::Oracle)
            stored = stored.toUpper();
        // MySQL, SQLite and an unknown dialect: names compare without case.
        const bool exact = m_dialect == Dialect::PostgreSql || m_dialect == Dialect::Oracle;
        return {stored, exact ? stored : stored.toLower()};
    }

    // A possibly qualified name at toks[i]: its parts, i moved past it.
    std::vector<Name> QualifiedName(const std::vector<Token>& toks, size_t& i) const
    {
        std::vector<Name> parts;
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
            return it == m_liveByName.constEnd() || it->size() != 1 ? nullptr : &m_tables[size_t(*it->cbegin())];
        }
        for (const QString& schema : {parts[parts.size() - 2].key, QString()}) {
            const auto it = m_liveBySchema.constFind(schema + QChar(0) + key);
            if (it != m_liveBySchema.constEnd())
                return &m_tables[size_t(*it)];
        }
        return nullptr;
    }
    void AddTable(Table table)
    {
        const int index = int(m_tables.size());
        m_liveByName[table.key].insert(index);
        m_liveBySchema.insert(SchemaKey(table.schema) + QChar(0) + table.key, index);
        m_tables.push_back(std::move(table));
    }
    void DropTable(Table& table)
    {
        const int index = int(&table - m_tables.data());
        table.dropped = true;
        m_liveByName[table.key].remove(index);
        const QString full = SchemaKey(table.schema) + QChar(0) + table.key;
        if (m_liveBySchema.value(full, -1) == index)
            m_liveBySchema.remove(full);
    }
    QString SchemaKey(const QString& stored) const
    {
        const bool exact = m_dialect == Dialect::PostgreSql || m_dialect == Dialect::Oracle;
        return exact ? stored : stored.toLower();
    }

    void CreateTable(const std::vector<Token>& toks, size_t i, QStringView text, int line);
    // [CONSTRAINT n] PRIMARY KEY (...) or FOREIGN KEY (...) REFERENCES t (...) at toks[k, to).
    void TableConstraint(Table& table, const std::vector<Token>& toks, size_t k, size_t to);
    // REFERENCES t [(a, b)] at toks[k, to): remembered for Finish.
    void Referenced(const std::vector<Token>& toks, size_t k, size_t to) const;
    void MarkReferenced();
    void CommentOn(const std::vector<Token>& toks, size_t i, QStringView text, int line);
    void AlterTable(const std::vector<Token>& toks, size_t i, QStringView text, int line);

    // A column definition from toks[i] to end; false when it is no column (a constraint).
    std::optional<Column> ColumnDef(const std::vector<Token>& toks, size_t i, size_t end, QStringView text,
                                    bool& isConstraint) const;
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
    QString m_file;
    std::vector<Table> m_tables;
    mutable std::vector<Reference> m_references;
    QHash<QString, QSet<int>> m_liveByName;
    QHash<QString, int> m_liveBySchema; // schema key, NUL, name key
    Name m_currentSchema;               // empty: the one the script is run in
    int m_createTables = 0;
    int m_notTheModel = 0; // temporary tables, tables of the server's own schemas
};

// Top-level commas of toks[from, to): the element ranges.
std::vector<std::pair<size_t, size_t>> Elements(const std::vector<Token>& toks, size_t from, size_t to)
{
    std::vector<std::pair<size_t, size_t>> out;
    int depth = 0;
    size_t start = from;
    for (size_t k = from; k < to; ++k) {
        if (IsSym(toks[k], u'('))
            ++depth;
        else if (IsSym(toks[k], u')'))
            --depth;
        else if (depth == 0 && IsSym(toks[k], u',')) {
            out.emplace_back(start, k);
            start = k + 1;
        }
    }
    if (start < to)
        out.emplace_back(start, to);
    return out;
}

// Index of the ')' closing the '(' at toks[open]; toks.size() when there is none.
size_t Closing(const std::vector<Token>& toks, size_t open)
{
    int depth = 0;
    for (size_t k = open; k < toks.size(); ++k) {
        if (IsSym(toks[k], u'('))
            ++depth;
        else if (IsSym(toks[k], u')') && --depth == 0)
            return k;
    }
    return toks.size();
}

bool IsConstraintStart(const Token& t, Dialect dialect)
{
    static const char16_t* const kWords[] = {u"CONSTRAINT", u"PRIMARY", u"UNIQUE",      u"FOREIGN",
                                             u"CHECK",      u"EXCLUDE", u"LIKE",        u"FULLTEXT",
                                             u"SPATIAL",    u"PERIOD",  u"SUPPLEMENTAL"};
    for (const char16_t* w : kWords)
        if (Is(t, w))
            return true;
    // KEY and INDEX open an index only in MySQL; elsewhere they may name a column.
    return (dialect == Dialect::MySql || dialect == Dialect::Unknown) && (Is(t, u"KEY") || Is(t, u"INDEX"));
}

bool IsTypeStop(const std::vector<Token>& toks, size_t k, size_t typeStart)
{
    const Token& t = toks[k];
    // schema-qualified and quoted type names (public.geometry, "char") belong to the type
    if (t.kind != Tok::Word)
        return !(IsSym(t, u'(') || IsSym(t, u'[') || IsSym(t, u']') || IsSym(t, u'.') || t.kind == Tok::QuotedId);
    static const char16_t* const kStops[] = {
        u"NOT",        u"NULL",          u"DEFAULT",  u"PRIMARY",        u"REFERENCES",    u"UNIQUE",    u"CHECK",
        u"CONSTRAINT", u"COLLATE",       u"COMMENT",  u"AUTO_INCREMENT", u"AUTOINCREMENT", u"GENERATED", u"IDENTITY",
        u"AS",         u"CHARSET",       u"ON",       u"ENABLE",         u"DISABLE",       u"VISIBLE",   u"INVISIBLE",
        u"STORAGE",    u"COLUMN_FORMAT", u"KEY",      u"SRID",           u"AFTER",         u"FIRST",     u"ENCRYPT",
        u"DEFERRABLE", u"INITIALLY",     u"COMPRESS", u"NOCOMPRESS",     u"ENCODE",        u"ZEROFILL",  u"SORTKEY",
        u"DISTKEY",    u"USING",         u"SPARSE",   u"ROWGUIDCOL"};
    for (const char16_t* w : kStops)
        if (Is(t, w))
            return true;
    const bool first = k == typeStart;
    if (Is(t, u"CHARACTER") && !first)
        return k + 1 < toks.size() && Is(toks[k + 1], u"SET");
    if (Is(t, u"WITH") || Is(t, u"WITHOUT"))
        return !(k + 1 < toks.size() && (Is(toks[k + 1], u"TIME") || Is(toks[k + 1], u"LOCAL")));
    return false;
}

// Token texts joined as SQL: no space inside parentheses or before a comma.
QString JoinTokens(const std::vector<Token>& toks, size_t from, size_t to, const std::vector<bool>* skip = nullptr)
{
    QString out;
    const Token* previous = nullptr;
    for (size_t k = from; k < to; ++k) {
        if (skip && (*skip)[k - from])
            continue;
        const Token& t = toks[k];
        const bool tight = previous && (IsSym(*previous, u'(') || IsSym(t, u'(') || IsSym(t, u')') || IsSym(t, u',') ||
                                        IsSym(t, u'[') || IsSym(t, u']') || IsSym(*previous, u'['));
        if (previous && !tight)
            out += u' ';
        if (IsSym(t, u'(') && previous && previous->kind != Tok::Word && !IsSym(*previous, u'('))
            out += u' ';
        out += t.raw();
        previous = &t;
    }
    return out;
}

std::optional<Column> Script::ColumnDef(const std::vector<Token>& toks, size_t i, size_t end, QStringView text,
                                        bool& isConstraint) const
{
    isConstraint = false;
    if (i >= end)
        return std::nullopt;
    if (IsConstraintStart(toks[i], m_dialect)) {
        isConstraint = true;
        return std::nullopt;
    }
    if (!IsIdent(toks[i]))
        return std::nullopt;
    Column c;
    const Name name = NameOf(toks[i]);
    c.name = name.stored;
    c.key = name.key;
    const size_t typeStart = ++i;
    size_t k = typeStart;
    while (k < end && !IsTypeStop(toks, k, typeStart)) {
        if (IsSym(toks[k], u'(')) {
            k = std::min(Closing(toks, k), end - 1) + 1;
            continue;
        }
        ++k;
    }
    const size_t typeEnd = k;
    // A word after the parentheses that belongs to the type: UNSIGNED, WITH TIME ZONE ...
    // A type named with its schema (public.geometry, pg_catalog.int4) is its last part.
    size_t typeFrom = typeStart;
    while (typeFrom + 2 < typeEnd && IsIdent(toks[typeFrom]) && IsSym(toks[typeFrom + 1], u'.'))
        typeFrom += 2;
    c.type = JoinTokens(toks, typeFrom, typeEnd);
    // The rest: the inline COMMENT, and what MySQL's MODIFY restates.
    std::vector<bool> skip(end - typeStart, false);
    for (size_t r = typeEnd; r < end; ++r) {
        if (Is(toks[r], u"COMMENT") && r + 1 < end) {
            size_t s = r + 1;
            if (IsSym(toks[s], u'=') && s + 1 < end)
                ++s;
            if (toks[s].kind == Tok::String) {
                c.comment = toks[s].text();
                for (size_t q = r; q <= s; ++q)
                    skip[q - typeStart] = true;
                r = s;
            }
        } else if (Is(toks[r], u"AFTER") && r + 1 < end) {
            skip[r - typeStart] = skip[r + 1 - typeStart] = true;
            ++r;
        } else if (Is(toks[r], u"FIRST")) {
            skip[r - typeStart] = true;
        } else if (Is(toks[r], u"PRIMARY") && r + 1 < end && Is(toks[r + 1], u"KEY")) {
            c.keys |= ModelSource::PrimaryKey;
        } else if (Is(toks[r], u"REFERENCES")) {
            c.keys |= ModelSource::ForeignKey;
            Referenced(toks, r, end);
        }
    }
    // Only a MySQL fix script restates a column (a script of no known dialect gets none), and a
    // CHECK of millions of values must not be copied for nothing.
    if (m_dialect == Dialect::MySql)
        c.definition = JoinTokens(toks, typeStart, end, &skip);
    (void)text;
    return c;
}

void Script::AddColumn(Table& table, Column column)
{
    if (Column* existing = table.Find(column.key)) {
        *existing = std::move(column);
        return;
    }
    table.Append(std::move(column));
}

void Script::Statement(QStringView text, int line)
{
    // Only three kinds of statement matter; the rest is not even split into tokens.
    qsizetype s = 0;
    while (s < text.size() && text[s].isSpace())
        ++s;
    const QStringView head = text.mid(s, 8);
    if (head.startsWith(u"USE", Qt::CaseInsensitive) || head.startsWith(u"SET", Qt::CaseInsensitive) ||
        head.startsWith(u"ALTER SE", Qt::CaseInsensitive)) {
        CurrentSchema(text.mid(s));
        return;
    }
    if (!head.startsWith(u"CREATE", Qt::CaseInsensitive) && !head.startsWith(u"COMMENT", Qt::CaseInsensitive) &&
        !head.startsWith(u"ALTER", Qt::CaseInsensitive))
        return;
    const SourceScope scope(text);
    {
        // CREATE [OR REPLACE] [GLOBAL|LOCAL] [TEMPORARY|TEMP] [UNLOGGED] TABLE, COMMENT ON, ALTER TABLE
        const std::vector<Token> head = Lexer(text, m_dialect).Head(8);
        const auto wanted = [&] {
            if (head.size() >= 2 && Is(head[0], u"COMMENT"))
                return Is(head[1], u"ON");
            if (head.size() >= 2 && Is(head[0], u"ALTER"))
                return Is(head[1], u"TABLE");
            for (size_t k = 1; k < head.size(); ++k)
                if (Is(head[k], u"TABLE"))
                    return true;
            return false;
        };
        if (!wanted())
            return;
    }
    bool unterminated = false;
    const std::vector<Token> toks = Lexer(text, m_dialect).All(unterminated);
    if (toks.empty())
        return;
    size_t i = 1;
    if (Is(toks[0], u"CREATE")) {
        // CREATE [OR REPLACE] [GLOBAL|LOCAL] [TEMPORARY|TEMP] [UNLOGGED] TABLE
        bool temporary = false;
        while (i < toks.size() && (Is(toks[i], u"OR") || Is(toks[i], u"REPLACE") || Is(toks[i], u"GLOBAL") ||
                                   Is(toks[i], u"LOCAL") || Is(toks[i], u"TEMPORARY") || Is(toks[i], u"TEMP") ||
                                   Is(toks[i], u"UNLOGGED") || Is(toks[i], u"VIRTUAL"))) {
            temporary = temporary || Is(toks[i], u"TEMPORARY") || Is(toks[i], u"TEMP");
            ++i;
        }
        if (i < toks.size() && Is(toks[i], u"TABLE")) {
            ++m_createTables;
            // A dump's temporary tables stand in for views; they hold no column of the model.
            if (temporary)
                ++m_notTheModel;
            else if (unterminated)
                Warn(T::kUnreadable, line, text);
            else
                CreateTable(toks, i + 1, text, line);
        }
    } else if (Is(toks[0], u"COMMENT") && toks.size() > 2 && Is(toks[1], u"ON")) {
        if (unterminated)
            Warn(T::kUnreadable, line, text);
        else
            CommentOn(toks, 2, text, line);
    } else if (Is(toks[0], u"ALTER") && toks.size() > 1 && Is(toks[1], u"TABLE")) {
        if (unterminated)
            Warn(T::kUnreadable, line, text);
        else
            AlterTable(toks, 2, text, line);
    }
}

void Script::CurrentSchema(QStringView text)
{
    if (text.size() > 4096)
        return; // no such statement is long
    const SourceScope scope(text);
    bool unterminated = false;
    const std::vector<Token> toks = Lexer(text, m_dialect).All(unterminated);
    size_t i = 0;
    if (toks.size() >= 2 && Is(toks[0], u"USE")) {
        i = 1;
    } else if (toks.size() >= 3 && Is(toks[0], u"SET") && Is(toks[1], u"search_path")) {
        i = 2;
        if (IsSym(toks[i], u'=') || Is(toks[i], u"TO"))
            ++i;
    } else if (toks.size() >= 5 && Is(toks[0], u"ALTER") && Is(toks[1], u"SESSION") && Is(toks[2], u"SET") &&
               Is(toks[3], u"CURRENT_SCHEMA")) {
        i = IsSym(toks[4], u'=') ? 5 : 4;
    } else {
        return;
    }
    if (unterminated || i >= toks.size())
        return;
    // search_path's first schema is where unqualified tables are made; '' (pg_dump) is none.
    if (toks[i].kind == Tok::String) {
        const QString first = toks[i].text().section(u',', 0, 0).trimmed();
        m_currentSchema = first.isEmpty() || first.startsWith(u'$') ? Name{} : Name{first, SchemaKey(first)};
        return;
    }
    if (IsIdent(toks[i]))
        m_currentSchema = Is(toks[i], u"pg_catalog") ? Name{} : NameOf(toks[i]);
}

void Script::CreateTable(const std::vector<Token>& toks, size_t i, QStringView text, int line)
{
    if (i + 2 < toks.size() && Is(toks[i], u"IF") && Is(toks[i + 1], u"NOT") && Is(toks[i + 2], u"EXISTS"))
        i += 3;
    const std::vector<Name> parts = InCurrentSchema(QualifiedName(toks, i));
    if (parts.empty()) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    // A partition or a typed table has no columns of its own.
    if (i < toks.size() && (Is(toks[i], u"PARTITION") || Is(toks[i], u"OF")))
        return;
    if (i >= toks.size() || !IsSym(toks[i], u'(')) {
        Warn(T::kUnreadable, line, text); // CREATE TABLE ... AS SELECT: no column list to read
        return;
    }
    const size_t close = Closing(toks, i);
    if (close >= toks.size()) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    Table table;
    table.name = parts.back().stored;
    table.key = parts.back().key;
    if (parts.size() >= 2)
        table.schema = parts[parts.size() - 2].stored;
    // A dump of a whole server holds the server's own tables: no fix script may touch them.
    static const QStringList kSystemSchemas = {QStringLiteral("information_schema"), QStringLiteral("mysql"),
                                               QStringLiteral("performance_schema"), QStringLiteral("sys"),
                                               QStringLiteral("pg_catalog"),         QStringLiteral("pg_toast")};
    if (kSystemSchemas.contains(table.schema, Qt::CaseInsensitive)) {
        ++m_notTheModel;
        return;
    }
    bool anyColumn = false;
    std::vector<std::pair<size_t, size_t>> constraints;
    for (const auto& [from, to] : Elements(toks, i + 1, close)) {
        bool constraint = false;
        std::optional<Column> c = ColumnDef(toks, from, to, text, constraint);
        if (c) {
            AddColumn(table, std::move(*c));
            anyColumn = true;
        } else if (constraint) {
            constraints.emplace_back(from, to);
        } else if (from < to) {
            Warn(T::kUnreadable, line, text, toks[from].pos);
        }
    }
    // after the columns, which a constraint may name before they are declared
    for (const auto& [from, to] : constraints)
        TableConstraint(table, toks, from, to);
    // Table options: MySQL's COMMENT [=] '...'
    for (size_t k = close + 1; k + 1 < toks.size(); ++k) {
        if (!Is(toks[k], u"COMMENT"))
            continue;
        size_t s = k + 1;
        if (IsSym(toks[s], u'=') && s + 1 < toks.size())
            ++s;
        if (toks[s].kind == Tok::String)
            table.comment = toks[s].text();
    }
    if (!anyColumn && close > i + 1) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    // A second CREATE of the same table (a script run twice, DROP and CREATE) replaces it.
    if (Table* earlier = FindTable(parts))
        DropTable(*earlier);
    AddTable(std::move(table));
}

void Script::CommentOn(const std::vector<Token>& toks, size_t i, QStringView text, int line)
{
    const bool onTable = Is(toks[i], u"TABLE");
    const bool onColumn = Is(toks[i], u"COLUMN");
    if (!onTable && !onColumn)
        return; // indexes, views, functions ...
    ++i;
    std::vector<Name> parts = QualifiedName(toks, i);
    if (parts.empty() || (onColumn && parts.size() < 2) || i + 1 >= toks.size() || !Is(toks[i], u"IS")) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    const Token& value = toks[i + 1];
    if (value.kind != Tok::String && !Is(value, u"NULL")) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    const QString comment = value.kind == Tok::String ? value.text() : QString();
    Name columnName;
    if (onColumn) {
        columnName = parts.back();
        parts.pop_back();
    }
    Table* table = FindTable(InCurrentSchema(std::move(parts)));
    if (!table) {
        Warn(onColumn ? T::kUnknownColumn : T::kUnknownTable, line, text);
        return;
    }
    if (onTable) {
        table->comment = comment;
        return;
    }
    Column* column = table->Find(columnName.key);
    if (!column) {
        Warn(T::kUnknownColumn, line, text);
        return;
    }
    column->comment = comment;
}

void Script::AlterTable(const std::vector<Token>& toks, size_t i, QStringView text, int line)
{
    while (i < toks.size() && (Is(toks[i], u"ONLY") || Is(toks[i], u"IF") || Is(toks[i], u"EXISTS")))
        ++i;
    const std::vector<Name> parts = InCurrentSchema(QualifiedName(toks, i));
    if (parts.empty()) {
        Warn(T::kUnreadable, line, text);
        return;
    }
    Table* table = FindTable(parts);
    if (!table) {
        // pg_dump alters sequences and views with ALTER TABLE too: only column work is missed.
        for (const auto& [from, to] : Elements(toks, i, toks.size())) {
            const bool columnWork = from + 1 < to && (Is(toks[from], u"ADD") || Is(toks[from], u"MODIFY") ||
                                                      Is(toks[from], u"CHANGE") || Is(toks[from], u"COMMENT"));
            if (columnWork && !IsConstraintStart(toks[from + 1], m_dialect) && !Is(toks[from + 1], u"PARTITION")) {
                Warn(T::kUnknownTable, line, text);
                return;
            }
        }
        return;
    }
    const bool mysql = m_dialect == Dialect::MySql;
    for (const auto& range : Elements(toks, i, toks.size())) {
        // plain names, not a structured binding: the lambda below captures them (clang 15)
        const size_t from = range.first, to = range.second;
        if (from >= to)
            continue;
        size_t k = from + 1;
        const Token& action = toks[from];
        auto skipColumnWord = [&] {
            if (k < to && Is(toks[k], u"COLUMN"))
                ++k;
            if (k + 2 < to && Is(toks[k], u"IF") && Is(toks[k + 1], u"NOT") && Is(toks[k + 2], u"EXISTS"))
                k += 3;
            else if (k + 1 < to && Is(toks[k], u"IF") && Is(toks[k + 1], u"EXISTS"))
                k += 2;
        };
        // ADD col ..., ADD (col ..., col ...), MODIFY likewise
        const bool add = Is(action, u"ADD");
        const bool modify = Is(action, u"MODIFY");
        if (add || modify) {
            skipColumnWord();
            std::vector<std::pair<size_t, size_t>> defs;
            if (k < to && IsSym(toks[k], u'(')) {
                const size_t close = std::min(Closing(toks, k), to);
                defs = Elements(toks, k + 1, close);
            } else {
                defs.emplace_back(k, to);
            }
            for (const auto& [a, b] : defs) {
                bool constraint = false;
                std::optional<Column> c = ColumnDef(toks, a, b, text, constraint);
                if (!c && constraint && add)
                    TableConstraint(*table, toks, a, b);
                if (!c) {
                    if (!constraint && !(a < b && (Is(toks[a], u"PARTITION") || Is(toks[a], u"SUPPLEMENTAL"))))
                        Warn(T::kUnreadable, line, text, a < toks.size() ? toks[a].pos : 0);
                    continue;
                }
                if (add) {
                    AddColumn(*table, std::move(*c));
                    continue;
                }
                Column* existing = table->Find(c->key);
                if (!existing) {
                    Warn(T::kUnknownColumn, line, text, toks[a].pos);
                    continue;
                }
                if (!c->type.isEmpty())
                    existing->type = c->type;
                existing->definition = c->definition;
                // MySQL's MODIFY states the whole column: a comment left out is gone.
                if (mysql || !c->comment.isEmpty())
                    existing->comment = c->comment;
            }
        } else if (Is(action, u"CHANGE")) {
            skipColumnWord();
            if (k >= to || !IsIdent(toks[k])) {
                Warn(T::kUnreadable, line, text, action.pos);
                continue;
            }
            const Name old = NameOf(toks[k]);
            bool constraint = false;
            std::optional<Column> c = ColumnDef(toks, k + 1, to, text, constraint);
            Column* existing = table->Find(old.key);
            if (!c || !existing) {
                Warn(existing ? T::kUnreadable : T::kUnknownColumn, line, text, action.pos);
                continue;
            }
            table->Rekey(*existing, c->key);
            *existing = std::move(*c);
        } else if (Is(action, u"ALTER")) {
            // ALTER [COLUMN] c [SET DATA] TYPE t
            skipColumnWord();
            if (k >= to || !IsIdent(toks[k]))
                continue;
            Column* existing = table->Find(NameOf(toks[k]).key);
            size_t t = k + 1;
            if (t + 1 < to && Is(toks[t], u"SET") && Is(toks[t + 1], u"DATA"))
                t += 2;
            if (!existing || t >= to || !Is(toks[t], u"TYPE"))
                continue;
            size_t e = t + 1;
            while (e < to && !Is(toks[e], u"USING") && !Is(toks[e], u"COLLATE"))
                ++e;
            existing->type = JoinTokens(toks, t + 1, e);
        } else if (Is(action, u"RENAME")) {
            if (k < to && Is(toks[k], u"TO"))
                continue; // the table's own name: kept as first read, the model knows it so
            skipColumnWord();
            if (k + 2 < to && IsIdent(toks[k]) && Is(toks[k + 1], u"TO") && IsIdent(toks[k + 2])) {
                const Name old = NameOf(toks[k]), now = NameOf(toks[k + 2]);
                if (Column* existing = table->Find(old.key)) {
                    existing->name = now.stored;
                    table->Rekey(*existing, now.key);
                }
            }
        } else if (Is(action, u"DROP")) {
            if (k < to && (IsConstraintStart(toks[k], m_dialect) || Is(toks[k], u"PARTITION") ||
                           Is(toks[k], u"INDEX") || Is(toks[k], u"KEY")))
                continue;
            skipColumnWord();
            if (k < to && IsIdent(toks[k]))
                if (Column* existing = table->Find(NameOf(toks[k]).key))
                    existing->dropped = true;
        } else if (Is(action, u"COMMENT")) {
            if (k < to && IsSym(toks[k], u'='))
                ++k;
            if (k < to && toks[k].kind == Tok::String)
                table->comment = toks[k].text();
        }
    }
}

void Script::TableConstraint(Table& table, const std::vector<Token>& toks, size_t k, size_t to)
{
    if (k + 1 < to && Is(toks[k], u"CONSTRAINT"))
        k += 2;
    const bool primary = k + 1 < to && Is(toks[k], u"PRIMARY") && Is(toks[k + 1], u"KEY");
    const bool foreign = k + 1 < to && Is(toks[k], u"FOREIGN") && Is(toks[k + 1], u"KEY");
    if (!primary && !foreign)
        return;
    // MySQL may name the index or its kind before the column list
    while (k < to && !IsSym(toks[k], u'('))
        ++k;
    if (k >= to)
        return;
    const size_t close = std::min(Closing(toks, k), to);
    for (const auto& [a, b] : Elements(toks, k + 1, close))
        if (a < b && IsIdent(toks[a]))
            if (Column* c = table.Find(NameOf(toks[a]).key))
                c->keys |= primary ? ModelSource::PrimaryKey : ModelSource::ForeignKey;
    if (foreign)
        for (size_t r = close; r < to; ++r)
            if (Is(toks[r], u"REFERENCES")) {
                Referenced(toks, r, to);
                break;
            }
}

void Script::Referenced(const std::vector<Token>& toks, size_t k, size_t to) const
{
    ++k; // REFERENCES
    Reference ref;
    while (k < to && IsIdent(toks[k])) {
        ref.table.push_back(NameOf(toks[k]));
        if (k + 1 < to && IsSym(toks[k + 1], u'.'))
            k += 2;
        else {
            ++k;
            break;
        }
    }
    if (ref.table.empty())
        return;
    ref.table = InCurrentSchema(std::move(ref.table));
    if (k < to && IsSym(toks[k], u'(')) {
        const size_t close = std::min(Closing(toks, k), to);
        for (size_t c = k + 1; c < close; ++c)
            if (IsIdent(toks[c]))
                ref.columns << NameOf(toks[c]).key;
    }
    m_references.push_back(std::move(ref));
}

void Script::MarkReferenced()
{
    for (const Reference& ref : m_references) {
        Table* table = FindTable(ref.table);
        if (!table)
            continue;
        for (Column& c : table->columns)
            if (!c.dropped &&
                (ref.columns.isEmpty() ? (c.keys & ModelSource::PrimaryKey) != 0 : ref.columns.contains(c.key)))
                c.keys |= ModelSource::ReferencedKey;
    }
    m_references.clear();
}

void Script::Finish()
{
    if (m_notTheModel > 0)
        m_list.warnings.append(T::kNotTheModel.arg(m_notTheModel));
    MarkReferenced();
    // Table by table into the list, each freed as it goes.
    qsizetype columns = 0;
    for (const Table& t : m_tables)
        columns += t.dropped ? 0 : qsizetype(t.columns.size());
    m_list.rows.reserve(m_list.rows.size() + columns + 1);
    m_list.facts.reserve(m_list.facts.size() + size_t(columns));
    for (Table& t : m_tables) {
        if (!t.dropped) {
            bool any = false;
            for (Column& c : t.columns) {
                if (c.dropped)
                    continue;
                ModelSource::AppendColumn(m_list, t.schema, t.name, t.comment, c.name, c.comment,
                                          ModelSource::NormalizeType(m_dialect, c.type), c.definition);
                m_list.facts.back().keys = c.keys;
                any = true;
            }
            m_list.tables += any ? 1 : 0;
        }
        t = Table();
    }
    m_tables.clear();
    m_liveByName.clear();
    m_liveBySchema.clear();
}

// ---------------------------------------------------------------------------------------
// Statements out of a stream of text

class Splitter
{
public:
    Splitter(Script& script) : m_script(script) {}

    // More text of the current file; complete statements are handed on.
    void Feed(QStringView text)
    {
        m_buffer += text;
        Scan(false);
    }
    // The file's end: what is left is the last statement.
    void End()
    {
        Scan(true);
        m_buffer.clear();
        m_statementOpen = false;
        m_pos = m_start = 0;
        m_line = m_startLine = 1;
        m_delimiter = QStringLiteral(";");
        m_copyData = false;
        m_seek = -1;
    }

private:
    QChar At(qsizetype i) const { return i < m_buffer.size() ? m_buffer[i] : QChar(); }

    void Emit(qsizetype end, qsizetype next)
    {
        const QStringView statement = QStringView(m_buffer).mid(m_start, end - m_start);
        if (IsCopyFromStdin(statement))
            m_copyData = true;
        m_script.Statement(statement, m_startLine);
        m_start = next;
        m_statementOpen = false;
    }

    static bool IsCopyFromStdin(QStringView s)
    {
        const QStringView t = s.trimmed();
        return t.startsWith(u"COPY", Qt::CaseInsensitive) && t.endsWith(u"stdin", Qt::CaseInsensitive);
    }

    // A quoted run or comment that the file never closes: said with its line, and the
    // statement it stood in is given up; reading goes on with the next line, so one stray
    // quote or "/*" does not swallow the rest of the script.
    void Unclosed(const QString& what)
    {
        m_script.Unclosed(what, m_line);
        const qsizetype eol = m_buffer.indexOf(u'\n', m_pos);
        m_pos = m_start = eol < 0 ? m_buffer.size() : eol;
        m_statementOpen = false;
        m_seek = -1;
    }

    // The end (just past it) of the block comment at m_pos; -1 when the buffer does not close
    // it, with `wait` set when more text may still close it.
    qsizetype CommentEnd(bool atEnd, bool& wait)
    {
        int depth = m_seek >= 0 ? m_seekDepth : 1;
        qsizetype resume = 0;
        const qsizetype end = BlockCommentEnd(m_buffer, m_seek >= 0 ? m_seek : m_pos + 2,
                                              m_script.GetDialect() == Dialect::PostgreSql, &depth, &resume);
        wait = end < 0 && !atEnd;
        m_seek = wait ? resume : -1;
        m_seekDepth = depth;
        return end;
    }

    // The end of the quoted run opening at m_pos (quotes, E'' and q'' strings, quoted names,
    // dollar quotes); -1 as for CommentEnd. what names the run for a message.
    qsizetype QuoteEnd(bool atEnd, bool& wait, QString& what)
    {
        const Dialect dialect = m_script.GetDialect();
        const bool mysql = dialect == Dialect::MySql;
        const QChar c = m_buffer[m_pos];
        wait = false;
        if (c == u'\'' && !mysql && IsOracleQuote(m_buffer, m_pos)) {
            what = T::kRunOracleQuote;
            if (m_pos + 1 >= m_buffer.size()) {
                wait = !atEnd;
                return -1;
            }
            const QString close = QString(OracleClose(m_buffer[m_pos + 1])) + u'\'';
            const qsizetype end = m_buffer.indexOf(close, m_seek >= 0 ? m_seek : m_pos + 2);
            wait = end < 0 && !atEnd;
            m_seek = wait ? std::max(m_pos + 2, m_buffer.size() - 1) : -1;
            return end < 0 ? -1 : end + 2;
        }
        if (c == u'$') {
            what = T::kRunDollarQuote;
            qsizetype j = m_pos + 1;
            while (j < m_buffer.size() && (m_buffer[j].isLetterOrNumber() || m_buffer[j] == u'_'))
                ++j;
            const QString tag = m_buffer.mid(m_pos, j - m_pos + 1);
            const qsizetype end = m_buffer.indexOf(tag, m_seek >= 0 ? m_seek : j + 1);
            wait = end < 0 && !atEnd;
            m_seek = wait ? std::max(j + 1, m_buffer.size() - tag.size() + 1) : -1;
            return end < 0 ? -1 : end + tag.size();
        }
        what = c == u'\'' ? T::kRunString : T::kRunQuotedName;
        const QChar close = c == u'[' ? QChar(u']') : c;
        const bool backslashes = (mysql && c != u'`') || (c == u'\'' && IsEscapeString(m_buffer, m_pos));
        qsizetype k = m_seek >= 0 ? m_seek : m_pos + 1;
        while (k < m_buffer.size()) {
            const QChar d = m_buffer[k];
            if (backslashes && d == u'\\') {
                k += 2;
                continue;
            }
            if (d == close) {
                if (close == c && At(k + 1) == c) {
                    k += 2;
                    continue;
                }
                m_seek = -1;
                return k + 1;
            }
            ++k;
        }
        wait = !atEnd;
        m_seek = wait ? k : -1;
        return -1;
    }

    // Moves m_pos over the buffer; at a statement's end hands it on. Stops (to wait for more
    // text) inside a string or comment that the buffer does not close yet, and goes on from
    // there when more comes, so a long one is read once.
    void Scan(bool atEnd)
    {
        const Dialect dialect = m_script.GetDialect();
        const bool mysql = dialect == Dialect::MySql;
        while (m_pos < m_buffer.size()) {
            const QChar c = m_buffer[m_pos];
            if (m_copyData) {
                // pg_dump's data lines run to a line holding only "\."
                const qsizetype eol = m_buffer.indexOf(u'\n', m_pos);
                if (eol < 0 && !atEnd)
                    break;
                const qsizetype lineEnd = eol < 0 ? m_buffer.size() : eol;
                if (QStringView(m_buffer).mid(m_pos, lineEnd - m_pos).trimmed() == u"\\.")
                    m_copyData = false;
                m_pos = eol < 0 ? m_buffer.size() : eol + 1;
                ++m_line;
                m_start = m_pos;
                m_startLine = m_line;
                continue;
            }
            if (!m_statementOpen) {
                if (c.isSpace()) {
                    m_line += c == u'\n' ? 1 : 0;
                    m_start = ++m_pos;
                    m_startLine = m_line;
                    continue;
                }
                // Comments between statements belong to none.
                if ((c == u'-' && At(m_pos + 1) == u'-') || (c == u'#' && mysql)) {
                    const qsizetype eol = m_buffer.indexOf(u'\n', m_pos);
                    if (eol < 0 && !atEnd)
                        break;
                    m_pos = m_start = eol < 0 ? m_buffer.size() : eol;
                    continue;
                }
                if (c == u'/' && At(m_pos + 1) == u'*' && At(m_pos + 2) != u'!') {
                    bool wait = false;
                    const qsizetype after = CommentEnd(atEnd, wait);
                    if (wait)
                        break;
                    if (after < 0) {
                        Unclosed(T::kRunComment);
                        continue;
                    }
                    m_line += int(QStringView(m_buffer).mid(m_pos, after - m_pos).count(u'\n'));
                    m_pos = m_start = after;
                    continue;
                }
                // The client's DELIMITER command (MySQL) and SQL*Plus's "/" line.
                const qsizetype eol = m_buffer.indexOf(u'\n', m_pos);
                if (eol < 0 && !atEnd && m_buffer.size() - m_pos < 16)
                    break;
                const QStringView line =
                    QStringView(m_buffer).mid(m_pos, (eol < 0 ? m_buffer.size() : eol) - m_pos).trimmed();
                if (line.startsWith(u"DELIMITER ", Qt::CaseInsensitive) && (eol >= 0 || atEnd)) {
                    m_delimiter = line.mid(10).trimmed().toString();
                    if (m_delimiter.isEmpty())
                        m_delimiter = QStringLiteral(";");
                    m_pos = m_start = eol < 0 ? m_buffer.size() : eol;
                    continue;
                }
                if (line == u"/" && (eol >= 0 || atEnd)) {
                    m_pos = m_start = eol < 0 ? m_buffer.size() : eol;
                    continue;
                }
                m_statementOpen = true;
                m_start = m_pos;
                m_startLine = m_line;
            }
            if (c == u'\n') {
                // SQL*Plus ends a block with "/" alone on a line: wait for the whole next line.
                const qsizetype eol = m_buffer.indexOf(u'\n', m_pos + 1);
                if (eol < 0 && !atEnd)
                    break;
                ++m_line;
                const QStringView next =
                    QStringView(m_buffer).mid(m_pos + 1, (eol < 0 ? m_buffer.size() : eol) - m_pos - 1);
                if (next.trimmed() == u"/") {
                    Emit(m_pos, m_pos);
                    ++m_pos;
                    continue;
                }
                ++m_pos;
                continue;
            }
            const bool dollar = c == u'$' && !mysql && [&] {
                qsizetype j = m_pos + 1;
                while (j < m_buffer.size() && (m_buffer[j].isLetterOrNumber() || m_buffer[j] == u'_'))
                    ++j;
                return At(j) == u'$' && (j == m_pos + 1 || !m_buffer[m_pos + 1].isDigit());
            }();
            if (c == u'$' && !mysql && !dollar && !atEnd && m_buffer.size() - m_pos < 64 &&
                m_buffer.indexOf(u'\n', m_pos) < 0)
                break; // the tag may go on in the next piece
            if (c == u'\'' || c == u'"' || c == u'`' || (c == u'[' && dialect == Dialect::Sqlite) || dollar) {
                bool wait = false;
                QString what;
                const qsizetype end = QuoteEnd(atEnd, wait, what);
                if (wait)
                    break;
                if (end < 0) {
                    Unclosed(what);
                    continue;
                }
                m_line += int(QStringView(m_buffer).mid(m_pos, end - m_pos).count(u'\n'));
                m_pos = end;
                continue;
            }
            if ((c == u'-' && At(m_pos + 1) == u'-') || (c == u'#' && mysql)) { // to the line's end
                const qsizetype eol = m_buffer.indexOf(u'\n', m_pos);
                if (eol < 0 && !atEnd)
                    break;
                m_pos = eol < 0 ? m_buffer.size() : eol;
                continue;
            }
            if (c == u'/' && At(m_pos + 1) == u'*') {
                bool wait = false;
                const qsizetype end = CommentEnd(atEnd, wait);
                if (wait)
                    break;
                if (end < 0) {
                    Unclosed(T::kRunComment);
                    continue;
                }
                m_line += int(QStringView(m_buffer).mid(m_pos, end - m_pos).count(u'\n'));
                m_pos = end;
                continue;
            }
            if (c == m_delimiter[0] && QStringView(m_buffer).mid(m_pos).startsWith(m_delimiter)) {
                Emit(m_pos, m_pos + m_delimiter.size());
                m_pos += m_delimiter.size();
                continue;
            }
            ++m_pos;
        }
        if (atEnd && m_statementOpen && m_start < m_buffer.size())
            Emit(m_buffer.size(), m_buffer.size());
        // What was handed on is dropped once it is large, so the buffer stays near one piece.
        if (m_start > (1 << 20)) {
            m_buffer.remove(0, m_start);
            m_pos -= m_start;
            if (m_seek >= 0)
                m_seek -= m_start;
            m_start = 0;
        }
    }

    Script& m_script;
    QString m_buffer;
    qsizetype m_pos = 0, m_start = 0;
    int m_line = 1, m_startLine = 1;
    bool m_statementOpen = false;
    bool m_copyData = false;
    qsizetype m_seek = -1; // where the search for the end of an open run goes on
    int m_seekDepth = 1;
    QString m_delimiter = QStringLiteral(";");
};

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

bool Finish(Script& script, ModelSource::AttributeList& list, QString& error)
{
    if (script.CreateTables() == 0) {
        error = T::kNoCreateTable;
        return false;
    }
    script.Finish();
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

bool Read(const QStringList& files, ModelSource::AttributeList& list, QString& error, const Options& options)
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
    return Finish(*script, list, error);
}

} // namespace DdlReader

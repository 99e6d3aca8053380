#include "exchange/DdlScript.h"

#include "components/Platform.h"
#include "components/TextRecord.h"

#include <QDir>
#include <algorithm>
#include <cstring>

namespace DdlReader::Internal {
namespace {

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
// After CREATE [OR REPLACE] [GLOBAL|LOCAL] [TEMPORARY|TEMP] [UNLOGGED|VIRTUAL] TABLE: where the
// table's name may begin, 0 when toks are no CREATE TABLE.
size_t AfterCreateTable(const std::vector<Token>& toks, bool& temporary)
{
    size_t i = 1;
    temporary = false;
    while (i < toks.size() &&
           (Is(toks[i], u"OR") || Is(toks[i], u"REPLACE") || Is(toks[i], u"GLOBAL") || Is(toks[i], u"LOCAL") ||
            Is(toks[i], u"TEMPORARY") || Is(toks[i], u"TEMP") || Is(toks[i], u"UNLOGGED") || Is(toks[i], u"VIRTUAL"))) {
        temporary = temporary || Is(toks[i], u"TEMPORARY") || Is(toks[i], u"TEMP");
        ++i;
    }
    return i < toks.size() && Is(toks[i], u"TABLE") ? i + 1 : 0;
}

size_t PastIfNotExists(const std::vector<Token>& toks, size_t i)
{
    return i + 2 < toks.size() && Is(toks[i], u"IF") && Is(toks[i + 1], u"NOT") && Is(toks[i + 2], u"EXISTS") ? i + 3
                                                                                                              : i;
}

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
    static constexpr QStringView kWords[] = {u"CONSTRAINT", u"PRIMARY", u"UNIQUE",      u"FOREIGN",
                                             u"CHECK",      u"EXCLUDE", u"LIKE",        u"FULLTEXT",
                                             u"SPATIAL",    u"PERIOD",  u"SUPPLEMENTAL"};
    for (const QStringView w : kWords)
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
    static constexpr QStringView kStops[] = {
        u"NOT",        u"NULL",          u"DEFAULT",  u"PRIMARY",        u"REFERENCES",    u"UNIQUE",    u"CHECK",
        u"CONSTRAINT", u"COLLATE",       u"COMMENT",  u"AUTO_INCREMENT", u"AUTOINCREMENT", u"GENERATED", u"IDENTITY",
        u"AS",         u"CHARSET",       u"ON",       u"ENABLE",         u"DISABLE",       u"VISIBLE",   u"INVISIBLE",
        u"STORAGE",    u"COLUMN_FORMAT", u"KEY",      u"SRID",           u"AFTER",         u"FIRST",     u"ENCRYPT",
        u"DEFERRABLE", u"INITIALLY",     u"COMPRESS", u"NOCOMPRESS",     u"ENCODE",        u"ZEROFILL",  u"SORTKEY",
        u"DISTKEY",    u"USING",         u"SPARSE",   u"ROWGUIDCOL"};
    for (const QStringView w : kStops)
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
    if (from < to) // its length at most: the source from the first token to the last, and a space
        out.reserve(qsizetype(toks[to - 1].pos + toks[to - 1].length - toks[from].pos) + 1);
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

} // namespace

std::optional<Column> Script::ColumnDef(const std::vector<Token>& toks, size_t i, size_t end, QStringView text,
                                        bool& isConstraint, std::vector<size_t>* references) const
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
    // The rest: the inline COMMENT, and what MySQL's MODIFY restates. Only a MySQL fix script
    // restates a column (a script of no known dialect gets none), and a CHECK of millions of
    // values must not be copied for nothing.
    const bool restated = m_dialect == Dialect::MySql;
    std::vector<bool> skip(restated ? end - typeStart : 0, false);
    const auto skipped = [&](size_t q) {
        if (restated)
            skip[q - typeStart] = true;
    };
    for (size_t r = typeEnd; r < end; ++r) {
        if (Is(toks[r], u"COMMENT") && r + 1 < end) {
            size_t s = r + 1;
            if (IsSym(toks[s], u'=') && s + 1 < end)
                ++s;
            if (toks[s].kind == Tok::String) {
                c.comment = toks[s].text();
                for (size_t q = r; q <= s; ++q)
                    skipped(q);
                r = s;
            }
        } else if (Is(toks[r], u"AFTER") && r + 1 < end) {
            skipped(r);
            skipped(r + 1);
            ++r;
        } else if (Is(toks[r], u"FIRST")) {
            skipped(r);
        } else if (Is(toks[r], u"PRIMARY") && r + 1 < end && Is(toks[r + 1], u"KEY")) {
            c.keys |= ModelSource::PrimaryKey;
        } else if (Is(toks[r], u"REFERENCES")) {
            c.keys |= ModelSource::ForeignKey;
            if (references)
                references->push_back(r);
            else
                Referenced(toks, r, end);
        }
    }
    if (restated)
        c.definition = JoinTokens(toks, typeStart, end, &skip);
    (void)text;
    return c;
}

ReadColumns Script::ReadColumnList(const std::vector<Token>& toks) const
{
    // The statement as Dispatch and CreateTable read it, up to its list's "(".
    ReadColumns read;
    bool temporary = false;
    size_t i = toks.empty() || !Is(toks[0], u"CREATE") ? 0 : AfterCreateTable(toks, temporary);
    if (i == 0 || temporary)
        return read;
    i = PastIfNotExists(toks, i);
    while (i < toks.size() && IsIdent(toks[i])) {
        ++i;
        if (i < toks.size() && IsSym(toks[i], u'.'))
            ++i;
        else
            break;
    }
    if (i >= toks.size() || !IsSym(toks[i], u'('))
        return read;
    const size_t close = Closing(toks, i);
    if (close >= toks.size())
        return read;
    read.open = i;
    const std::vector<std::pair<size_t, size_t>> elements = Elements(toks, i + 1, close);
    read.defs.reserve(elements.size());
    for (const auto& [from, to] : elements) {
        ReadColumns::Def& def = read.defs.emplace_back();
        def.column = ColumnDef(toks, from, to, {}, def.constraint, &def.references);
    }
    return read;
}

void Script::AddColumn(Table& table, Column column)
{
    if (Column* existing = table.Find(column.key)) {
        *existing = std::move(column);
        return;
    }
    table.Append(std::move(column));
}

std::optional<LexedStatement::Kind> Script::Classify(QStringView text, qsizetype& s, std::vector<Token>& tokens) const
{
    // Only a few kinds of statement matter; the rest is not even split into tokens.
    s = 0;
    while (s < text.size() && text[s].isSpace())
        ++s;
    const QStringView head = text.mid(s, 8);
    if (LatinCase::StartsIgnoringCase(head, u"USE") || LatinCase::StartsIgnoringCase(head, u"SET") ||
        LatinCase::StartsIgnoringCase(head, u"ALTER SE"))
        return LexedStatement::Kind::Schema;
    if (!LatinCase::StartsIgnoringCase(head, u"CREATE") && !LatinCase::StartsIgnoringCase(head, u"COMMENT") &&
        !LatinCase::StartsIgnoringCase(head, u"ALTER") && !LatinCase::StartsIgnoringCase(head, u"DROP"))
        return std::nullopt;
    const SourceScope scope(text);
    // CREATE [OR REPLACE] [GLOBAL|LOCAL] [TEMPORARY|TEMP] [UNLOGGED] TABLE, COMMENT ON, ALTER TABLE, DROP TABLE
    // Three tokens tell all but a CREATE with words before its TABLE: a comment is lexed once,
    // not nearly twice.
    Lexer lexer(text, m_dialect);
    std::vector<Token> words = lexer.Head(3);
    if (words.size() == 3 && Is(words[0], u"CREATE") && !Is(words[1], u"TABLE") && !Is(words[2], u"TABLE"))
        words = lexer.Head(8);
    const auto wanted = [&] {
        if (words.size() >= 2 && Is(words[0], u"DROP"))
            return Is(words[1], u"TABLE") || (words.size() >= 3 && Is(words[2], u"TABLE"));
        if (words.size() >= 2 && Is(words[0], u"COMMENT"))
            return Is(words[1], u"ON");
        if (words.size() >= 2 && Is(words[0], u"ALTER"))
            return Is(words[1], u"TABLE");
        for (size_t k = 1; k < words.size(); ++k)
            if (Is(words[k], u"TABLE"))
                return true;
        return false;
    };
    if (!wanted())
        return std::nullopt;
    if (std::all_of(words.begin(), words.end(), [](const Token& t) { return t.kind == Tok::Word; }))
        tokens = std::move(words);
    return LexedStatement::Kind::Tokens;
}

void Script::Statement(QStringView text, int line)
{
    qsizetype s = 0;
    std::vector<Token> head;
    const std::optional<LexedStatement::Kind> kind = Classify(text, s, head);
    if (!kind)
        return;
    LexedStatement st;
    st.toks = std::move(head); // where the text is the statement's, as here, they hold
    st.kind = *kind;
    st.file = m_readingFile;
    st.text = (st.kind == LexedStatement::Kind::Schema ? text.mid(s) : text).toString();
    st.line = line;
    if (st.kind == LexedStatement::Kind::Tokens) {
        st.source.statement = st.text;
        const int waiting = m_waiting ? m_waiting->load(std::memory_order_relaxed) : -1;
        if (waiting != 0) {
            TokenSource* saved = g_source;
            g_source = &st.source;
            Lex(st);
            if (!st.unterminated && waiting >= kReadColumnsFrom)
                st.columns = ReadColumnList(st.toks);
            g_source = saved;
        }
    }
    Hand(std::move(st));
}

void Script::Lex(LexedStatement& st) const
{
    st.toks = Lexer(st.source.statement, m_dialect).All(st.unterminated, std::move(st.toks));
    st.lexed = true;
}

void Script::Apply(LexedStatement& st)
{
    KeepWithin();
    if (st.kind != LexedStatement::Kind::Warning)
        m_file = st.file;
    switch (st.kind) {
    case LexedStatement::Kind::Warning:
        m_list.warnings.append(st.text);
        break;
    case LexedStatement::Kind::Unclosed:
        m_list.warnings.append(T::kUnterminated.arg(m_file).arg(st.line).arg(st.text));
        break;
    case LexedStatement::Kind::Schema:
        m_commentTable.index = -1;
        CurrentSchema(st.text);
        break;
    case LexedStatement::Kind::Tokens: {
        TokenSource* saved = g_source;
        g_source = &st.source;
        if (!st.lexed)
            Lex(st);
        m_readColumns = &st.columns;
        Dispatch(st.toks, st.unterminated, st.source.statement, st.line);
        m_readColumns = nullptr;
        g_source = saved;
        break;
    }
    }
}

void Script::Dispatch(const std::vector<Token>& toks, bool unterminated, QStringView text, int line)
{
    if (toks.empty())
        return;
    if (!Is(toks[0], u"COMMENT"))
        m_commentTable.index = -1;
    size_t i = 1;
    if (Is(toks[0], u"CREATE")) {
        bool temporary = false;
        if (const size_t at = AfterCreateTable(toks, temporary)) {
            ++m_createTables;
            // A dump's temporary tables stand in for views; they hold no column of the model.
            if (temporary)
                ++m_notTheModel;
            else if (unterminated)
                Warn(T::kUnreadable, line, text);
            else
                CreateTable(toks, at, text, line);
        }
    } else if (Is(toks[0], u"COMMENT") && toks.size() > 2 && Is(toks[1], u"ON")) {
        if (unterminated)
            Warn(T::kUnreadable, line, text);
        else
            CommentOn(toks, 2, text, line);
    } else if (Is(toks[0], u"DROP")) {
        // DROP [TEMPORARY] TABLE [IF EXISTS] a [, b] [CASCADE]: a table the script drops after
        // creating it is no table of the model (one dropped before its CREATE never was).
        if (i < toks.size() && Is(toks[i], u"TEMPORARY"))
            ++i;
        if (i >= toks.size() || !Is(toks[i++], u"TABLE"))
            return;
        if (i + 1 < toks.size() && Is(toks[i], u"IF") && Is(toks[i + 1], u"EXISTS"))
            i += 2;
        while (i < toks.size()) {
            const std::vector<Name> parts = InCurrentSchema(QualifiedName(toks, i));
            if (parts.empty())
                break;
            if (Table* table = FindTable(parts))
                DropTable(*table);
            if (i < toks.size() && IsSym(toks[i], u','))
                ++i;
            else
                break;
        }
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
    i = PastIfNotExists(toks, i);
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
    // Read on the reading thread already when the list is the one found here.
    ReadColumns* read = m_readColumns && m_readColumns->open == i ? m_readColumns : nullptr;
    size_t element = 0;
    for (const auto& [from, to] : Elements(toks, i + 1, close)) {
        bool constraint = false;
        std::optional<Column> c;
        if (read && element < read->defs.size()) {
            ReadColumns::Def& def = read->defs[element++];
            for (const size_t r : def.references)
                Referenced(toks, r, to);
            c = std::move(def.column);
            constraint = def.constraint;
        } else {
            c = ColumnDef(toks, from, to, text, constraint);
        }
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
    const size_t nameAt = i;
    size_t columnAt = 0, end = 0;
    const int same = onColumn ? SameCommentTable(toks, i, columnAt, end) : -1;
    std::vector<Name> parts;
    if (same >= 0)
        i = end;
    else
        parts = QualifiedName(toks, i);
    if ((same < 0 && (parts.empty() || (onColumn && parts.size() < 2))) || i + 1 >= toks.size() ||
        !Is(toks[i], u"IS")) {
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
    if (same >= 0) {
        columnName = NameOf(toks[columnAt]);
    } else if (onColumn) {
        columnName = parts.back();
        parts.pop_back();
    }
    const size_t tableParts = parts.size();
    Table* found = same >= 0 ? &m_tables[size_t(same)] : FindTable(InCurrentSchema(std::move(parts)));
    if (onColumn && same < 0 && found && tableParts <= 2) {
        // Remembered by the tokens the name was written in: the column's is the last part.
        m_commentTable = {int(found - m_tables.data()), tableParts, {}, {}};
        for (size_t p = 0; p < tableParts; ++p) {
            const Token& t = toks[nameAt + 2 * p];
            m_commentTable.raw[p] = t.raw().toString();
            m_commentTable.quoted[p] = t.kind == Tok::QuotedId;
        }
    }
    Table* table = Loaded(found);
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

int Script::SameCommentTable(const std::vector<Token>& toks, size_t from, size_t& columnAt, size_t& end) const
{
    const CommentTable& last = m_commentTable;
    if (last.index < 0)
        return -1;
    size_t at = from;
    for (size_t p = 0; p < last.parts; ++p) {
        if (at + 1 >= toks.size() || !IsIdent(toks[at]) || !IsSym(toks[at + 1], u'.') ||
            (toks[at].kind == Tok::QuotedId) != last.quoted[p] || toks[at].raw() != last.raw[p])
            return -1;
        at += 2;
    }
    // The column, and no further part: a longer name is read the long way.
    if (at >= toks.size() || !IsIdent(toks[at]) || (at + 1 < toks.size() && IsSym(toks[at + 1], u'.')))
        return -1;
    columnAt = at;
    end = at + 1;
    return last.index;
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
    Table* table = Loaded(FindTable(parts));
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
        KeepWithin();
        Table* table = Loaded(FindTable(ref.table));
        if (!table)
            continue;
        for (Column& c : table->columns)
            if (!c.dropped &&
                (ref.columns.isEmpty() ? (c.keys & ModelSource::PrimaryKey) != 0 : ref.columns.contains(c.key)))
                c.keys |= ModelSource::ReferencedKey;
    }
    m_references.clear();
}

void Script::Finish(std::vector<TableRef>* refs, std::vector<Table>* held, std::unique_ptr<TableSpill>* spill)
{
    if (m_notTheModel > 0)
        m_list.warnings.append(T::kNotTheModel.arg(m_notTheModel));
    MarkReferenced();
    m_residentOrder.clear();
    if (refs && held && spill) {
        // A model that spilled is handed over from the file alone: 16 bytes a table held.
        for (Table& t : m_tables) {
            if (t.dropped || !t.HasLiveColumn())
                continue;
            ++m_list.tables;
            if (!t.Spilled() && m_spill && m_spillBeyond > 0 && !m_spill->Put(t))
                m_spillBeyond = 0;
            if (t.Spilled()) {
                refs->push_back({t.spillAt, t.spillBytes, 0});
            } else {
                refs->push_back({-1, 0, quint32(held->size())});
                held->push_back(std::move(t));
            }
            t = Table();
        }
        *spill = std::move(m_spill);
        m_tables.clear();
        m_liveByName.clear();
        m_liveBySchema.clear();
        return;
    }
    // Table by table into the list, each freed as it goes.
    qsizetype columns = 0;
    for (const Table& t : m_tables)
        columns += t.dropped ? 0 : t.Spilled() ? qsizetype(t.spilledLive) : qsizetype(t.columns.size());
    m_list.rows.reserve(m_list.rows.size() + columns + 1);
    m_list.facts.reserve(m_list.facts.size() + size_t(columns));
    for (Table& t : m_tables) {
        if (!t.dropped && t.Spilled() && !m_spill->Take(t))
            m_spillFailed = true;
        if (!t.dropped && !t.Spilled()) {
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
    m_spill.reset();
}

Table* Script::Loaded(Table* table)
{
    if (!table || !table->Spilled())
        return table;
    if (!m_spill->Take(*table)) {
        m_spillFailed = true;
        return nullptr;
    }
    m_resident += table->columns.size();
    m_residentOrder.push_back(int(table - m_tables.data()));
    return table;
}

void Script::KeepWithin()
{
    if (m_spillBeyond == 0 || m_resident <= m_spillBeyond)
        return;
    if (!m_spill)
        m_spill = std::make_unique<TableSpill>();
    // Down to half, so that a script read table after table spills in runs, not at each one.
    while (m_resident > m_spillBeyond / 2 && !m_residentOrder.empty()) {
        Table& t = m_tables[size_t(m_residentOrder.front())];
        m_residentOrder.pop_front();
        if (t.Spilled())
            continue;
        const size_t held = t.columns.size();
        if (t.dropped) {
            t.Release(); // never found again
        } else if (!m_spill->Put(t)) {
            m_spillBeyond = 0; // no room on disk: everything stays in memory from here
            return;
        }
        m_resident -= std::min(held, m_resident);
    }
}

using namespace TextRecord;

bool TableSpill::WriteTail()
{
    if (m_tail.isEmpty())
        return true;
    if (m_file.write(m_tail) != m_tail.size() || !m_file.flush())
        return false;
    m_written += m_tail.size();
    m_tail.resize(0); // keeps its room
    return true;
}

bool TableSpill::Put(Table& table)
{
    if (m_writeFailed)
        return false;
    if (!m_file.isOpen()) {
        m_file.setFileTemplate(QDir::tempPath() + QStringLiteral("/termwise-ddl-XXXXXX"));
        if (!m_file.open())
            return false;
    }
    // Most keys are the name itself (PostgreSQL, Oracle): written once.
    qsizetype bytes =
        TextBytes(table.schema) + TextBytes(table.name) + TextBytes(table.comment) + qsizetype(sizeof(quint32));
    for (const Column& c : table.columns)
        bytes += TextBytes(c.name) + 1 + (c.key == c.name ? 0 : TextBytes(c.key)) + TextBytes(c.comment) +
                 TextBytes(c.type) + TextBytes(c.definition) + 2;
    if (m_tail.size() + bytes > kBlock && !WriteTail()) {
        // What the tail holds stays readable from memory; nothing more goes out.
        m_writeFailed = true;
        return false;
    }
    const qsizetype from = m_tail.size();
    m_tail.resize(from + bytes);
    char* at = m_tail.data() + from;
    PutText(at, table.schema);
    PutText(at, table.name);
    PutText(at, table.comment);
    const quint32 count = quint32(table.columns.size());
    std::memcpy(at, &count, sizeof count);
    at += sizeof count;
    quint32 live = 0;
    for (const Column& c : table.columns) {
        PutText(at, c.name);
        const bool sameKey = c.key == c.name;
        *at++ = sameKey ? 1 : 0;
        if (!sameKey)
            PutText(at, c.key);
        PutText(at, c.comment);
        PutText(at, c.type);
        PutText(at, c.definition);
        *at++ = char(c.keys);
        *at++ = c.dropped ? 1 : 0;
        live += c.dropped ? 0 : 1;
    }
    table.spillAt = m_written + from;
    table.spillBytes = quint32(bytes);
    table.spilledLive = live;
    table.comment = QString();
    table.Release();
    return true;
}

bool TableSpill::Take(Table& table)
{
    const char* at = nullptr;
    if (table.spillAt >= m_written) {
        if (table.spillAt - m_written + table.spillBytes > m_tail.size())
            return false;
        at = m_tail.constData() + (table.spillAt - m_written);
    } else {
        if (table.spillAt + table.spillBytes > m_written)
            return false;
        if (m_windowAt < 0 || table.spillAt < m_windowAt ||
            table.spillAt + table.spillBytes > m_windowAt + m_window.size()) {
            const qint64 size = std::min<qint64>(std::max<qint64>(kBlock, table.spillBytes), m_written - table.spillAt);
            m_window.resize(size);
            m_windowAt = -1;
            if (Platform::ReadAt(m_file.handle(), m_window.data(), size_t(size), table.spillAt) != size)
                return false;
            m_windowAt = table.spillAt;
        }
        at = m_window.constData() + (table.spillAt - m_windowAt);
    }
    const char* end = at + table.spillBytes;
    quint32 count = 0;
    QString schema, name;
    if (!TakeText(at, end, schema) || !TakeText(at, end, name) || !TakeText(at, end, table.comment) ||
        end - at < qsizetype(sizeof count))
        return false;
    // Read back while the script is read, a table keeps the texts it shares with the maps.
    if (table.schema != schema)
        table.schema = std::move(schema);
    if (table.name != name)
        table.name = std::move(name);
    std::memcpy(&count, at, sizeof count);
    at += sizeof count;
    table.Release();
    table.columns.reserve(count);
    for (quint32 k = 0; k < count; ++k) {
        if (end - at < qsizetype(sizeof count))
            return false;
        Column c;
        if (!TakeText(at, end, c.name) || at == end)
            return false;
        const bool sameKey = *at++ != 0;
        if (sameKey)
            c.key = c.name;
        else if (!TakeText(at, end, c.key))
            return false;
        if (!TakeText(at, end, c.comment) || !TakeText(at, end, c.type) || !TakeText(at, end, c.definition) ||
            end - at < 2)
            return false;
        c.keys = static_cast<unsigned char>(*at++);
        c.dropped = *at++ != 0;
        table.Append(std::move(c));
    }
    table.spillAt = -1;
    table.spillBytes = table.spilledLive = 0;
    return true;
}

} // namespace DdlReader::Internal

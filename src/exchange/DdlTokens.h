#pragma once
// The DDL reader's tokens: one statement cut into words, quoted names, strings, numbers and
// symbols, by the quoting rules of its dialect (PostgreSQL's E'' strings, dollar quotes and
// nested comments, Oracle's q'' quotes, MySQL's backticks and backslashes).
#include "analysis/LatinCase.h"
#include "exchange/ModelSource.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace DdlReader::Internal {

using ModelSource::Dialect;

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
inline thread_local TokenSource* g_source = nullptr;

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

inline bool IsWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c.unicode() >= 0x80;
}
inline bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c.unicode() >= 0x80;
}

// Where the block comment opened before from ends (after its "*/"); -1 when the text does not
// close it. PostgreSQL nests block comments, the other dialects end at the first "*/".
// With depth and resume, a search the text did not finish can go on where it stopped.
inline qsizetype BlockCommentEnd(QStringView s, qsizetype from, bool nested, int* depth = nullptr,
                                 qsizetype* resume = nullptr)
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
inline bool IsEscapeString(QStringView s, qsizetype i)
{
    return i >= 1 && (s[i - 1] == u'E' || s[i - 1] == u'e') &&
           (i == 1 || !(s[i - 2].isLetterOrNumber() || s[i - 2] == u'_' || s[i - 2] == u'$'));
}

// An Oracle q'X...X' quote opens at the quote at i (also nq'...').
inline bool IsOracleQuote(QStringView s, qsizetype i)
{
    if (i < 1 || !(s[i - 1] == u'q' || s[i - 1] == u'Q') || i + 1 >= s.size())
        return false;
    const qsizetype before = i - 2 >= 0 && (s[i - 2] == u'n' || s[i - 2] == u'N') ? i - 3 : i - 2;
    return before < 0 || !(s[before].isLetterOrNumber() || s[before] == u'_' || s[before] == u'$');
}

inline QChar OracleClose(QChar open)
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
        out.reserve(count);
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

    // With head, the first tokens of the statement as Head cut them, words all (no texts of
    // their own): the rest is cut after them.
    std::vector<Token> All(bool& unterminated, std::vector<Token> head = {})
    {
        // A long statement's tokens are counted first, so the list is allocated once at its
        // size; an ordinary one is read once, into room for about a token in four characters.
        constexpr qsizetype kCountFrom = 1 << 20;
        size_t count = size_t(m_s.size() / 4 + 8);
        if (!head.empty() && m_s.size() < kCountFrom) {
            m_i = qsizetype(head.back().pos + head.back().length);
            std::vector<Token> out = std::move(head);
            out.reserve(count);
            return Rest(std::move(out), unterminated);
        }
        if (m_s.size() >= kCountFrom) {
            count = 0;
            const size_t texts = g_source->texts.size();
            bool ignored = false;
            while (Next(ignored).kind != Tok::End)
                ++count;
            g_source->texts.resize(texts);
            m_i = 0;
        }
        std::vector<Token> out;
        out.reserve(count);
        return Rest(std::move(out), unterminated);
    }

private:
    std::vector<Token> Rest(std::vector<Token> out, bool& unterminated)
    {
        unterminated = false;
        for (;;) {
            Token t = Next(unterminated);
            if (t.kind == Tok::End)
                break;
            out.push_back(std::move(t));
        }
        return out;
    }

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
        // Plain characters go over in runs: most strings have no quote or escape inside.
        qsizetype run = m_i;
        const auto flush = [&] { out += m_s.mid(run, m_i - run); };
        while (m_i < m_s.size()) {
            const QChar c = m_s[m_i];
            if (c != close && !(backslashes && c == u'\\')) {
                ++m_i;
                continue;
            }
            flush();
            if (backslashes && c == u'\\' && m_i + 1 < m_s.size()) {
                const QChar e = m_s[m_i + 1];
                out += e == u'n'   ? QChar(u'\n')
                       : e == u't' ? QChar(u'\t')
                       : e == u'r' ? QChar(u'\r')
                       : e == u'0' ? QChar(u'\0')
                                   : e;
                m_i += 2;
                run = m_i;
                continue;
            }
            if (c == close) {
                if (close == quote && At(m_i + 1) == quote) {
                    out += quote;
                    m_i += 2;
                    run = m_i;
                    continue;
                }
                ++m_i;
                return out;
            }
            out += c; // a lone backslash at the end
            ++m_i;
            run = m_i;
        }
        flush();
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

// Most tokens differ from a keyword in length, which a view of a literal knows without a count.
inline bool Is(const Token& t, QStringView keyword)
{
    return t.kind == Tok::Word && t.length == quint32(keyword.size()) && LatinCase::SameIgnoringCase(t.raw(), keyword);
}
inline bool IsSym(const Token& t, char16_t c)
{
    return t.kind == Tok::Symbol && t.length == 1 && g_source->statement[t.pos] == c;
}
inline bool IsIdent(const Token& t)
{
    return t.kind == Tok::Word || t.kind == Tok::QuotedId;
}

} // namespace DdlReader::Internal

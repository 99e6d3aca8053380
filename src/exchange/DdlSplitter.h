#pragma once
// The DDL reader's statements out of a stream of text: fed in pieces, it hands each whole
// statement to the script, across pieces, with the dialect's rules for where one ends (a
// delimiter, Oracle's "/" after a block, pg_dump's COPY data, runs left open).
#include "exchange/DdlScript.h"

#include <array>

namespace DdlReader::Internal {

// ---------------------------------------------------------------------------------------
// Statements out of a stream of text

class Splitter
{
    // What may open a quoted run or a comment, or end a line, besides the delimiter.
    static constexpr std::array<bool, 0x80> kOpensOrEnds = [] {
        std::array<bool, 0x80> t{};
        for (const char c : {'\n', '$', '\'', '"', '`', '[', '-', '#', '/'})
            t[size_t(c)] = true;
        return t;
    }();

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
    // Read through a view: the buffer's own operator[] would check at every character
    // whether it must be detached.
    QStringView Buf() const { return m_buffer; }
    QChar At(qsizetype i) const { return i < m_buffer.size() ? Buf()[i] : QChar(); }

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
        return LatinCase::StartsIgnoringCase(t, u"COPY") && t.size() >= 5 &&
               LatinCase::SameIgnoringCase(t.last(5), u"stdin");
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
        const QChar c = Buf()[m_pos];
        wait = false;
        if (c == u'\'' && !mysql && IsOracleQuote(m_buffer, m_pos)) {
            what = T::kRunOracleQuote;
            if (m_pos + 1 >= m_buffer.size()) {
                wait = !atEnd;
                return -1;
            }
            const QString close = QString(OracleClose(Buf()[m_pos + 1])) + u'\'';
            const qsizetype end = m_buffer.indexOf(close, m_seek >= 0 ? m_seek : m_pos + 2);
            wait = end < 0 && !atEnd;
            m_seek = wait ? std::max(m_pos + 2, m_buffer.size() - 1) : -1;
            return end < 0 ? -1 : end + 2;
        }
        if (c == u'$') {
            what = T::kRunDollarQuote;
            qsizetype j = m_pos + 1;
            while (j < m_buffer.size() && (Buf()[j].isLetterOrNumber() || Buf()[j] == u'_'))
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
            const QChar d = Buf()[k];
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
            const QChar c = Buf()[m_pos];
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
                if (LatinCase::StartsIgnoringCase(line, u"DELIMITER ") && (eol >= 0 || atEnd)) {
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
            // Most characters of a statement open nothing and end nothing: passed in a run.
            const char16_t delimiter = m_delimiter[0].unicode();
            const auto plain = [delimiter](char16_t d) { return !(d < 0x80 && kOpensOrEnds[d]) && d != delimiter; };
            if (plain(c.unicode())) {
                const QStringView buf = Buf();
                qsizetype k = m_pos + 1;
                while (k < buf.size() && plain(buf[k].unicode()))
                    ++k;
                m_pos = k;
                continue;
            }
            if (c == u'\n') {
                // A next line that starts with anything but "/" is no SQL*Plus end: passed
                // without looking for its end.
                qsizetype k = m_pos + 1;
                while (k < m_buffer.size() && Buf()[k] != u'\n' && Buf()[k].isSpace())
                    ++k;
                if (k < m_buffer.size() && Buf()[k] != u'/') {
                    ++m_line;
                    ++m_pos;
                    continue;
                }
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
                while (j < m_buffer.size() && (Buf()[j].isLetterOrNumber() || Buf()[j] == u'_'))
                    ++j;
                return At(j) == u'$' && (j == m_pos + 1 || !Buf()[m_pos + 1].isDigit());
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

} // namespace DdlReader::Internal

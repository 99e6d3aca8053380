#include "components/Redact.h"

#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <mutex>

namespace {

constexpr qsizetype kShortestSecret = 4;
const QString kHidden = QStringLiteral("***");

// ASCII only: the same rules must hold over bytes taken as Latin-1, where 0x85 and 0xA0 are
// pieces of Hangul and not blanks.
bool IsBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f' || u == u'\v';
}
bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}
bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}
bool IsSchemeChar(QChar c)
{
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'.' || c == u'-' || c == u'_';
}
bool EndsUser(QChar c)
{
    // '[' too: "user[:password]@host" in a usage hint holds no password
    return IsBlank(c) || c == u':' || c == u'@' || c == u'/' || c == u'?' || c == u'#' || c == u'"' || c == u'\'' ||
           c == u'<' || c == u'>' || c == u'`' || c == u'[';
}

// Schemes that name a connection even without "//" ("postgresql:u:pw@h/db" is still one).
bool IsDatabaseScheme(QStringView scheme)
{
    static const char16_t* const kSchemes[] = {u"postgresql", u"postgres", u"pgsql", u"mysql",
                                               u"mariadb",    u"oracle",   u"odbc",  u"mssql",
                                               u"sqlserver",  u"db2",      u"jdbc",  u"redshift"};
    for (const char16_t* s : kSchemes)
        if (scheme.compare(QStringView(s), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Where the user of a connection string starts when the ':' at colon ends its scheme; -1 when
// the text there is no connection string.
qsizetype AuthorityStart(QStringView t, qsizetype colon)
{
    qsizetype s = colon;
    while (s > 0 && IsSchemeChar(t[s - 1]))
        --s;
    if (s == colon || !IsAsciiLetter(t[s]))
        return -1;
    qsizetype a = colon + 1;
    int slashes = 0;
    while (a < t.size() && t[a] == u'/' && slashes < 2) {
        ++a;
        ++slashes;
    }
    if (slashes == 2 || IsDatabaseScheme(t.mid(s, colon - s)))
        return a;
    return -1;
}

// The ':' between the user and the password of the connection string whose scheme ends at
// colon; -1 when it names no password there.
qsizetype PasswordColon(QStringView t, qsizetype colon)
{
    const qsizetype a = AuthorityStart(t, colon);
    if (a < 0)
        return -1;
    qsizetype u = a;
    while (u < t.size() && !EndsUser(t[u]))
        ++u;
    return u < t.size() && t[u] == u':' ? u : -1;
}

// user:password@ of every connection string, the password running to the last '@' before the
// line or the next connection string ends it: it may hold blanks, '@', '/' and ':'. A ':'
// after that '@' is the port.
QString DropUserPasswords(const QString& t)
{
    if (!t.contains(u'@'))
        return t;
    QString out;
    qsizetype from = 0;
    for (qsizetype i = t.indexOf(u':'); i >= 0; i = t.indexOf(u':', i + 1)) {
        if (i < from)
            continue;
        const qsizetype u = PasswordColon(t, i);
        if (u < 0)
            continue;
        qsizetype limit = u + 1;
        while (limit < t.size() && !IsLineEnd(t[limit]) && !(t[limit] == u':' && AuthorityStart(t, limit) >= 0))
            ++limit;
        qsizetype at = limit - 1;
        while (at > u && t[at] != u'@')
            --at;
        if (at <= u)
            continue; // host:port, no password
        out += QStringView(t).mid(from, u - from);
        from = at;
        i = at;
    }
    if (from == 0)
        return t;
    out += QStringView(t).mid(from);
    return out;
}

bool IsKeyChar(QChar c)
{
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}

// The key "password", "passwd", "pass", "pwd" (any case, "sslpassword" too) ending at end.
bool IsPasswordKey(QStringView key)
{
    for (const char16_t* k : {u"password", u"passwd", u"pwd", u"pass"})
        if (key.endsWith(QStringView(k), Qt::CaseInsensitive))
            return true;
    return false;
}

struct Item
{
    qsizetype keyStart = 0, valueStart = 0, valueEnd = 0;
    bool query = false; // after '?' or '&': the item goes with its separator
};

// The end of a value starting at v: a quoted one to its closing quote (a backslash or a doubled
// quote escapes it), a query's to the next '&', a bare one to the next blank or separator.
qsizetype ValueEnd(QStringView t, qsizetype v, bool query, const QStringList& secrets)
{
    if (v < t.size() && (t[v] == u'\'' || t[v] == u'"')) {
        const QChar quote = t[v];
        for (qsizetype k = v + 1; k < t.size(); ++k) {
            if (t[k] == u'\\') {
                ++k;
            } else if (t[k] == quote) {
                if (k + 1 < t.size() && t[k + 1] == quote)
                    ++k;
                else
                    return k + 1;
            } else if (IsLineEnd(t[k])) {
                return k;
            }
        }
        return t.size();
    }
    for (const QString& s : secrets) // longest first
        if (t.mid(v).startsWith(s))
            return v + s.size();
    qsizetype e = v;
    while (e < t.size() && !IsLineEnd(t[e]) && t[e] != u'&' && t[e] != u'#' && t[e] != u';' &&
           (query || (!IsBlank(t[e]) && t[e] != u',' && t[e] != u')' && t[e] != u'"' && t[e] != u'\'')))
        ++e;
    return e;
}

std::vector<Item> PasswordItems(QStringView t, const QStringList& secrets)
{
    std::vector<Item> items;
    for (qsizetype eq = t.indexOf(u'='); eq >= 0; eq = t.indexOf(u'=', eq + 1)) {
        qsizetype keyEnd = eq;
        while (keyEnd > 0 && IsBlank(t[keyEnd - 1]) && !IsLineEnd(t[keyEnd - 1]))
            --keyEnd;
        qsizetype keyStart = keyEnd;
        while (keyStart > 0 && IsKeyChar(t[keyStart - 1]))
            --keyStart;
        if (keyStart == keyEnd || !IsPasswordKey(t.mid(keyStart, keyEnd - keyStart)))
            continue;
        qsizetype v = eq + 1;
        while (v < t.size() && IsBlank(t[v]) && !IsLineEnd(t[v]))
            ++v;
        Item item;
        item.keyStart = keyStart;
        item.valueStart = v;
        item.query = keyStart > 0 && (t[keyStart - 1] == u'?' || t[keyStart - 1] == u'&');
        item.valueEnd = ValueEnd(t, v, item.query, secrets);
        items.push_back(item);
        eq = std::max(eq, item.valueEnd - 1);
    }
    return items;
}

QString DropPasswordItems(const QString& t, const QStringList& secrets)
{
    const std::vector<Item> items = PasswordItems(t, secrets);
    if (items.empty())
        return t;
    QString out;
    qsizetype from = 0;
    for (const Item& item : items) {
        if (item.query) {
            // "?password=x&a" keeps "?a"; "&password=x" at the end goes with its '&'.
            const bool more = item.valueEnd < t.size() && t[item.valueEnd] == u'&';
            out += QStringView(t).mid(from, (more ? item.keyStart : item.keyStart - 1) - from);
            from = more ? item.valueEnd + 1 : item.valueEnd;
        } else {
            out += QStringView(t).mid(from, item.valueStart - from);
            out += kHidden;
            from = item.valueEnd;
        }
    }
    out += QStringView(t).mid(from);
    return out;
}

struct Secrets
{
    std::mutex lock;
    QStringList text;   // longest first
    QStringList latin1; // their UTF-8 bytes, one character a byte
};

Secrets& Remembered()
{
    static Secrets secrets;
    return secrets;
}

QString Redact(QString t, const QStringList& secrets)
{
    for (const QString& s : secrets)
        t.replace(s, kHidden);
    return DropPasswordItems(DropUserPasswords(t), secrets);
}

bool MayHoldSecret(QStringView t)
{
    return t.contains(u'@') || t.contains(u"pass", Qt::CaseInsensitive) || t.contains(u"pwd", Qt::CaseInsensitive);
}

// The passwords of one whole connection string: the userinfo's to its last '@' (and to its
// first, as Oracle's reader splits there), and every password= item's value.
QStringList SecretsOf(const QString& connection)
{
    QStringList found;
    const QStringView t(connection);
    for (qsizetype i = t.indexOf(u':'); i >= 0; i = t.indexOf(u':', i + 1)) {
        if (AuthorityStart(t, i) < 0)
            continue;
        const qsizetype u = PasswordColon(t, i);
        if (u >= 0) {
            const qsizetype first = t.indexOf(u'@', u + 1), last = t.lastIndexOf(u'@');
            if (first > u + 1)
                found << t.mid(u + 1, first - u - 1).toString();
            if (last > first)
                found << t.mid(u + 1, last - u - 1).toString();
        }
        break;
    }
    for (const Item& item : PasswordItems(t, {})) {
        QStringView value = t.mid(item.valueStart, item.valueEnd - item.valueStart);
        if (value.size() >= 2 && (value.front() == u'\'' || value.front() == u'"') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        // a query's value runs to its '&' even past a blank
        if (item.query) {
            const qsizetype end = t.indexOf(u'&', item.valueStart);
            value = t.mid(item.valueStart, (end < 0 ? t.size() : end) - item.valueStart);
        }
        found << value.toString();
    }
    QStringList all;
    for (const QString& f : found) {
        all << f << QUrl::fromPercentEncoding(f.toUtf8());
        for (const QString& piece : f.split(u' ', Qt::SkipEmptyParts))
            if (piece.size() >= 6)
                all << piece;
    }
    return all;
}

} // namespace

QString RedactUri(const QString& text)
{
    Secrets& remembered = Remembered();
    std::lock_guard guard(remembered.lock);
    if (remembered.text.isEmpty() && !MayHoldSecret(text))
        return text;
    return Redact(text, remembered.text);
}

QByteArray RedactBytes(const QByteArray& bytes)
{
    Secrets& remembered = Remembered();
    std::lock_guard guard(remembered.lock);
    if (remembered.text.isEmpty() && !bytes.contains('@') && !bytes.contains("pass") && !bytes.contains("PASS") &&
        !bytes.contains("Pass") && !bytes.contains("pwd") && !bytes.contains("PWD"))
        return bytes;
    auto decode = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    if (!decode.hasError())
        return Redact(text, remembered.text).toUtf8();
    // Not UTF-8 (a code page, or a character cut at the end): byte for byte.
    return Redact(QString::fromLatin1(bytes), remembered.latin1).toLatin1();
}

void RememberSecret(const QString& secret)
{
    if (secret.size() < kShortestSecret)
        return;
    Secrets& remembered = Remembered();
    std::lock_guard guard(remembered.lock);
    if (remembered.text.contains(secret))
        return;
    remembered.text << secret;
    remembered.latin1 << QString::fromLatin1(secret.toUtf8());
    const auto longestFirst = [](const QString& a, const QString& b) { return a.size() > b.size(); };
    std::stable_sort(remembered.text.begin(), remembered.text.end(), longestFirst);
    std::stable_sort(remembered.latin1.begin(), remembered.latin1.end(), longestFirst);
}

void RememberSecretsIn(const QString& connection)
{
    if (!MayHoldSecret(connection))
        return;
    for (const QString& secret : SecretsOf(connection))
        RememberSecret(secret);
}

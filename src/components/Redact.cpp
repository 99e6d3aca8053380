#include "components/Redact.h"

namespace {

bool EndsSegment(QChar c)
{
    return c.isSpace() || c == u'"' || c == u'\'' || c == u'<' || c == u'>' || c == u'`';
}

// Drops "password=..." items of an option list (after "?", "&" or ";").
void DropPasswordOptions(QString& segment)
{
    static const QString kKey = QStringLiteral("password=");
    for (qsizetype at = segment.indexOf(kKey, 0, Qt::CaseInsensitive); at >= 0;
         at = segment.indexOf(kKey, at, Qt::CaseInsensitive)) {
        if (at > 0 && segment[at - 1] != u'?' && segment[at - 1] != u'&' && segment[at - 1] != u';') {
            at += kKey.size();
            continue;
        }
        qsizetype end = at + kKey.size();
        while (end < segment.size() && segment[end] != u'&' && segment[end] != u';')
            ++end;
        // Keep the separator before it only when something follows.
        if (end < segment.size())
            segment.remove(at, end - at + 1);
        else
            segment.remove(at - 1, end - at + 1);
        if (at > segment.size())
            break;
    }
}

} // namespace

QString RedactUri(const QString& text)
{
    static const QString kScheme = QStringLiteral("://");
    if (!text.contains(kScheme))
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype mark = text.indexOf(kScheme); mark >= 0; mark = text.indexOf(kScheme, from)) {
        const qsizetype start = mark + kScheme.size();
        qsizetype end = start;
        while (end < text.size() && !EndsSegment(text[end]))
            ++end;
        QString segment = text.mid(start, end - start);
        // The password runs from the first ':' to the last '@', so one holding '@', '/' or ':'
        // is still hidden whole; a ':' after the last '@' is the port.
        const qsizetype at = segment.lastIndexOf(u'@');
        const qsizetype colon = segment.indexOf(u':');
        if (at > 0 && colon >= 0 && colon < at)
            segment.remove(colon, at - colon);
        DropPasswordOptions(segment);
        out += QStringView(text).mid(from, start - from);
        out += segment;
        from = end;
    }
    out += QStringView(text).mid(from);
    return out;
}

#include "components/QrStringUtil.h"

#include <algorithm>
#include <limits>

void CQrStringUtil::SeparateString(const QString& text, const QString& separator, QStringList& pieces)
{
    pieces.clear();
    if (text.isEmpty())
        return;
    if (separator.isEmpty()) {
        pieces << text;
        return;
    }
    pieces = text.split(separator, Qt::KeepEmptyParts);
}

void CQrStringUtil::SeparateString(const QString& text, QChar separator, QStringList& pieces)
{
    SeparateString(text, QString(separator), pieces);
}

QString CQrStringUtil::CombineString(const QStringList& pieces, QChar separator)
{
    return pieces.join(separator);
}

QString CQrStringUtil::Format(const QString& format, std::initializer_list<QVariant> args)
{
    QString out;
    out.reserve(format.size() + 16);
    auto it = args.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        const QChar conv = format[i + 1];
        if (conv == u'%') {
            out += u'%';
            ++i;
        } else if (conv == u's' || conv == u'd') {
            if (it != args.end()) {
                out += conv == u'd' ? QString::number(it->toLongLong()) : it->toString();
                ++it;
            }
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString CQrStringUtil::FromInt(qint64 number)
{
    return QString::number(number);
}

QString CQrStringUtil::FromIntNoneZero(qint64 number)
{
    return number == 0 ? QString() : QString::number(number);
}

qint64 CQrStringUtil::ExtractNumber(const QString& text)
{
    // ASCII digits only: other scripts' digits would start a number that then reads as 0.
    const auto isAsciiDigit = [](QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; };
    qsizetype i = 0;
    while (i < text.size() && !isAsciiDigit(text[i]))
        ++i;
    if (i >= text.size())
        return 0;
    const bool negative = i > 0 && text[i - 1] == u'-';
    qint64 value = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

bool CQrStringUtil::GetSplitPostNumber(const QString& text, QString& head, QString& number)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].unicode() >= u'0' && text[end - 1].unicode() <= u'9')
        --end;
    if (end == text.size() || end == 0) {
        head = text;
        number.clear();
        return false;
    }
    head = text.left(end);
    number = text.mid(end);
    return true;
}

int CQrStringUtil::ToIntLeading(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    bool any = false;
    for (; i < text.size() && text[i].unicode() >= u'0' && text[i].unicode() <= u'9'; ++i) {
        any = true;
        value = value * 10 + (text[i].unicode() - u'0');
        // Saturate; the negative side reaches one further.
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            value = qint64(std::numeric_limits<int>::max()) + 1;
    }
    if (!any)
        return 0;
    return int(negative ? -value : std::min<qint64>(value, std::numeric_limits<int>::max()));
}

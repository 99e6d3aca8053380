#include "components/FieldCheck.h"

namespace FieldCheck {

QString Problem(QStringView value, Limit limit, Lines lines)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        if (control && !(lines == Lines::Many && (c == u'\t' || c == u'\r' || c == u'\n')))
            return QStringLiteral("제어 문자(U+%1)가 들어 있습니다").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        if (QChar::isSurrogate(c)) {
            const bool pair = QChar::isHighSurrogate(c) && i + 1 < value.size() && value[i + 1].isLowSurrogate();
            if (!pair)
                return QStringLiteral("짝이 없는 서로게이트 문자(U+%1)가 들어 있습니다")
                    .arg(uint(c), 4, 16, QLatin1Char('0'))
                    .toUpper();
            ++i;
        }
    }
    if (limit.length <= 0)
        return {};
    if (limit.bytes) {
        // UTF-8: 1 byte below U+0080, 2 below U+0800, 4 for a surrogate pair, else 3.
        qsizetype bytes = 0;
        for (const QChar ch : value) {
            const char16_t c = ch.unicode();
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : QChar::isSurrogate(c) ? 2 : 3;
        }
        if (bytes > limit.length)
            return QStringLiteral("길이가 %1바이트로 최대 %2바이트를 넘습니다").arg(bytes).arg(limit.length);
        return {};
    }
    // Characters as the databases count them: a surrogate pair is one.
    qsizetype length = 0;
    for (qsizetype i = 0; i < value.size(); ++i)
        if (!value[i].isLowSurrogate())
            ++length;
    if (length > limit.length)
        return QStringLiteral("길이가 %1자로 최대 %2자를 넘습니다").arg(length).arg(limit.length);
    return {};
}

} // namespace FieldCheck

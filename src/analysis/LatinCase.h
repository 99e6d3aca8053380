#pragma once
// Latin letters are one word whatever their case: `id`, `Id` and `ID` find the same dictionary
// word, synonym, forbidden word, term or domain. Keys are folded once where an index is built and
// names once where they are split, so no lookup compares case by case. Only ASCII letters fold:
// Hangul has no case, and other scripts do not occur in standard names.
#include <QString>
#include <QStringView>

namespace LatinCase {

inline char16_t Fold(char16_t c)
{
    return char16_t(c - u'a') < 26 ? char16_t(c - (u'a' - u'A')) : c;
}

inline bool HasLower(QStringView text)
{
    for (const QChar c : text)
        if (char16_t(c.unicode() - u'a') < 26)
            return true;
    return false;
}

// The text with its Latin letters in capitals; the same shared text when it has no small one.
inline QString Folded(const QString& text)
{
    if (!HasLower(text))
        return text;
    QString out = text;
    for (QChar& c : out)
        c = QChar(Fold(c.unicode()));
    return out;
}

inline QString Folded(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        c = QChar(Fold(c.unicode()));
    return out;
}

// The other way, as PostgreSQL folds a name written without quotes: A-Z small, nothing else.
inline char16_t Lower(char16_t c)
{
    return char16_t(c - u'A') < 26 ? char16_t(c + (u'a' - u'A')) : c;
}

inline QString Lowered(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        c = QChar(Lower(c.unicode()));
    return out;
}

} // namespace LatinCase

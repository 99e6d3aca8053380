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

// a == b as Qt::CaseInsensitive compares them, ASCII by hand: a keyword check or a column
// name compared a million times. Beyond ASCII, Qt's folding decides (ſ is s to it).
inline bool SameIgnoringCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 128 || y >= 128)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        if (x != y && Lower(x) != Lower(y))
            return false;
    }
    return true;
}

inline bool StartsIgnoringCase(QStringView text, QStringView head)
{
    return text.size() >= head.size() && SameIgnoringCase(text.first(head.size()), head);
}

} // namespace LatinCase

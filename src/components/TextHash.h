#pragma once
// A 64-bit hash of a text, for counting distinct texts without holding them: a million texts
// collide with a chance of about one in ten million.
#include <QHash>
#include <QString>

inline quint64 TextHash64(const QString& text)
{
    if constexpr (sizeof(size_t) >= sizeof(quint64))
        return quint64(qHash(text, size_t(0x9e3779b97f4a7c15ull)));
    else // two seeds where size_t is 32 bits wide
        return (quint64(qHash(text, 0x9e3779b9u)) << 32) ^ quint64(qHash(text, 0x85ebca6bu));
}

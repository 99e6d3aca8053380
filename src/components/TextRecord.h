#pragma once
// Texts in the records of a temporary file: the length (all ones for a null text) and the
// UTF-16 units in the machine's order, copied as they are held. Tables the DDL reader puts
// aside and a report's findings are written and read back this way.
#include <QString>
#include <QStringView>
#include <cstring>

namespace TextRecord {

inline qsizetype TextBytes(QStringView text)
{
    return qsizetype(sizeof(quint32)) + text.size() * qsizetype(sizeof(QChar));
}

// Writes at `at`, which has room for TextBytes(text), and moves past it.
inline void PutText(char*& at, QStringView text)
{
    const quint32 size = text.isNull() ? ~quint32(0) : quint32(text.size());
    std::memcpy(at, &size, sizeof size);
    at += sizeof size;
    if (!text.isEmpty()) {
        std::memcpy(at, text.constData(), size_t(text.size()) * sizeof(QChar));
        at += text.size() * qsizetype(sizeof(QChar));
    }
}

// Reads from `at` and moves past it; false when the bytes end before the text does.
inline bool TakeText(const char*& at, const char* end, QString& text)
{
    quint32 size = 0;
    if (end - at < qsizetype(sizeof size))
        return false;
    std::memcpy(&size, at, sizeof size);
    at += sizeof size;
    if (size == ~quint32(0)) {
        text = QString();
        return true;
    }
    const qsizetype bytes = qsizetype(size) * qsizetype(sizeof(QChar));
    if (end - at < bytes)
        return false;
    text = QString(size, Qt::Uninitialized);
    std::memcpy(static_cast<void*>(text.data()), at, size_t(bytes));
    at += bytes;
    return true;
}

} // namespace TextRecord

#pragma once
// Small text helpers every area uses. All static; texts are UTF-16 QStrings.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

class CQrStringUtil
{
public:
    // Splits at every occurrence of the separator; empty pieces are kept so that
    // positions stay meaningful to callers that index the pieces.
    static void SeparateString(const QString& text, const QString& separator, QStringList& pieces);
    static void SeparateString(const QString& text, QChar separator, QStringList& pieces);
    static QString CombineString(const QStringList& pieces, QChar separator);
    // printf-like: %s takes the next argument as text, %d as an integer, %% is a percent sign.
    static QString Format(const QString& format, std::initializer_list<QVariant> args);
    static QString FromInt(qint64 number);
    // Empty text for 0, for optional numeric fields.
    static QString FromIntNoneZero(qint64 number);
    // The first run of digits (with an optional leading '-') in the text, 0 when none.
    static qint64 ExtractNumber(const QString& text);
    // Splits a trailing run of decimal digits off: "주소2" -> "주소", "2". Returns true
    // when a number was found; a text that is all digits keeps itself as head.
    static bool GetSplitPostNumber(const QString& text, QString& head, QString& number);
    // Leading decimal integer after an optional sign; 0 when the text does not start with one.
    static int ToIntLeading(const QString& text);
};

#pragma once
// Small builders for dictionary states used by the analysis tests.
#include "settings/AnalyzeRecords.h"
#include "settings/AnalyzeSettings.h"

#include <QString>
#include <initializer_list>
#include <utility>

inline void AddWords(CAnalyzeSettings& settings, std::initializer_list<std::pair<const char*, const char*>> words)
{
    for (const auto& [physical, logical] : words) {
        _stAnalyzeManageWord word;
        word.strDescription = QString::fromUtf8(logical) + QStringLiteral(" 정의");
        settings.AddWord(QString::fromUtf8(physical), QString::fromUtf8(logical), word);
    }
}

inline void AddExcept(CAnalyzeSettings& settings, std::initializer_list<const char*> words)
{
    for (const char* word : words)
        settings.AddExceptWord(QString::fromUtf8(word));
}

inline QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// "word/partner word/partner" for compact expectations.
inline QString Show(const WordPairList& pairs)
{
    QStringList parts;
    for (const WordPair& p : pairs)
        parts << p.word + QLatin1Char('/') + p.partner;
    return parts.join(QLatin1Char(' '));
}

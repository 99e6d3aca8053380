#pragma once
// Fallback splitter for names the dictionary cannot split, and keeper of the user
// words and part-of-speech tags edited in the settings dialog.
// Rules: see QrWordExtractor.cpp's header comment (kept beside the code).
#include <QString>
#include <QStringList>
#include <set>
#include <vector>

class CQrWordExtractor
{
public:
    static CQrWordExtractor& GetInstance();
    static void DestoryInstance();

    bool IsInitialize() const { return m_initialized; }
    void Initialize();

    // Both copy; the caller's sets may go away after the call.
    void SetTags(const std::set<int>* tags);
    void SetUserWords(const std::set<QString>* words);
    // Null when never set.
    const std::set<int>* GetTags() const;
    const std::set<QString>* GetUserWords() const;
    // Tags and user words given since the last load take effect.
    void ReLoadSettings();

    // Words of the name as substrings in order of appearance; empty when there is no split.
    QStringList Analyze(const QString& name) const;

private:
    CQrWordExtractor() = default;
    bool m_initialized = false;
    bool m_hasTags = false;
    bool m_hasUserWords = false;
    std::set<int> m_tags;          // as given
    std::set<QString> m_userWords; // as given
    std::set<int> m_activeTags;    // in effect
    std::set<QString> m_activeUserWords;
    std::vector<qsizetype> m_userWordLengths; // distinct lengths of the active user words, longest first
};

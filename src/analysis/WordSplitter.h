#pragma once
// Splitting names into dictionary words: logical attribute names, physical column names
// and the key-domain split of the domain analysis. Results are those of the longest-suffix
// algorithm over the dictionary; a reverse-trie index keeps it to one walk per position.
#include "analysis/WordSplitIndex.h"
#include "settings/AnalyzeRecords.h"

#include <QStringList>
#include <functional>

class CAnalyzeSettings;

class WordSplitter
{
public:
    // Splits a name the dictionary cannot split; returns its words as substrings in order.
    using Fallback = std::function<QStringList(const QString&)>;

    // Null settings: the process-wide CAnalyzeSettings instance.
    explicit WordSplitter(const CAnalyzeSettings* settings = nullptr);

    const CAnalyzeSettings& Settings() const { return *m_settings; }
    void SetSettings(const CAnalyzeSettings* settings);
    // Default: CQrWordExtractor::Analyze. An empty function disables the fallback.
    void SetFallback(Fallback fallback) { m_fallback = std::move(fallback); }

    struct WordSplit
    {
        WordPairList words;
        bool removed = false; // the name is nothing but one excluded word
    };

    // A logical attribute name: "_" split with excluded-word merge, or the dictionary
    // split with the word-extraction fallback. Partners are physical names or "?". Both
    // splits cut at blanks first and never give a blank as a word.
    WordSplit SplitLogical(const QString& name);
    // A physical column name; partners are logical names or "?".
    WordSplit SplitPhysical(const QString& name);

    // The dictionary split alone (longest suffix, unknown runs, pair-form merge).
    WordPairList DictionarySplitLogical(const QString& name);
    WordPairList DictionarySplitPhysical(const QString& name);

    // One pass of the pair-form merge; true when it merged anything. Only words that
    // absorbed excluded words get their partner looked up again.
    bool MergeExceptPairs(WordPairList& pairs, bool physical);
    // One pass of the text form.
    bool MergeExceptTexts(QStringList& words);

    struct DomainSplit
    {
        QStringList words;
        QString keyDomain; // empty: the target is dropped
        bool removed = false;
    };
    // The key domain is the last word, or, where that is a synonym or forbidden word of a
    // key domain (요청자ID), the standard word it stands for. Blanks split as "_" does.
    DomainSplit SplitDomain(const QString& name);
    // One pass of joining excluded-domain words.
    bool MergeExceptDomains(QStringList& words);

    // Lookups against the current dictionary state (index refreshed on demand).
    QString PhysicalOf(const QString& logical);
    QString LogicalOf(const QString& physical);
    bool IsExceptWord(const QString& word);

    WordSplitIndex& Index();
    // The index as last refreshed, for readers on other threads during a run.
    const WordSplitIndex& CurrentIndex() const { return m_index; }

private:
    WordPairList DictionarySplit(const QString& name, const ReverseTrie& trie, int minLength);
    // The same without refreshing the index; callers refresh once per name.
    WordPairList LogicalPairs(const QString& name);
    bool MergePairs(WordPairList& pairs, bool physical);
    void MergeUntilStable(WordPairList& pairs, bool physical);
    WordPairList RebuildFromPieces(const QString& name, const QStringList& found);
    WordSplit SplitBlankPieces(const QString& name, bool physical);
    // The key domain a non-standard word of the dictionary stands for; empty when none.
    QString StandardKeyDomain(const QString& word) const;
    QString Lookup(const QString& word, bool physical) const;

    const CAnalyzeSettings* m_settings;
    WordSplitIndex m_index;
    Fallback m_fallback;
};

// Pieces of a name split at "_"; empty pieces carry no word and are left out.
QStringList SplitAtUnderscore(const QString& name);

#include "analysis/WordSplitter.h"

#include "components/QrWordExtractor.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>

namespace {
// Names are short: a plain loop beats the vectorised search's setup.
bool HasUnderscore(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() == u'_')
            return true;
    }
    return false;
}

bool HasBlank(const QString& name)
{
    for (const QChar c : name) {
        if (c.isSpace())
            return true;
    }
    return false;
}

QStringList SplitAtBlanks(const QString& name)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : name) {
        if (!c.isSpace()) {
            piece += c;
        } else if (!piece.isEmpty()) {
            pieces.append(piece);
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        pieces.append(piece);
    return pieces;
}
} // namespace

QStringList SplitAtUnderscore(const QString& name)
{
    return name.split(QLatin1Char('_'), Qt::SkipEmptyParts);
}

WordSplitter::WordSplitter(const CAnalyzeSettings* settings)
    : m_settings(settings ? settings : &CAnalyzeSettings::Instance()),
      m_fallback([](const QString& name) { return CQrWordExtractor::GetInstance().Analyze(name); })
{
}

void WordSplitter::SetSettings(const CAnalyzeSettings* settings)
{
    m_settings = settings ? settings : &CAnalyzeSettings::Instance();
}

WordSplitIndex& WordSplitter::Index()
{
    m_index.Refresh(*m_settings);
    return m_index;
}

QString WordSplitter::Lookup(const QString& word, bool physical) const
{
    QString partner;
    const bool found = physical ? m_index.FirstLogicalName(word, partner) : m_index.FirstPhysicalName(word, partner);
    return found ? partner : kUnknownPartner;
}

QString WordSplitter::PhysicalOf(const QString& logical)
{
    Index();
    return Lookup(logical, false);
}

QString WordSplitter::LogicalOf(const QString& physical)
{
    Index();
    return Lookup(physical, true);
}

bool WordSplitter::IsExceptWord(const QString& word)
{
    return Index().IsExceptWord(word);
}

WordPairList WordSplitter::DictionarySplit(const QString& name, const ReverseTrie& trie, int minLength)
{
    // Right to left: at each end position take the longest dictionary word ending there;
    // characters no word ends on gather into one unknown run up to the next match.
    WordPairList out;
    out.reserve(4);
    const QChar* text = name.constData();
    qsizetype pos = name.size();
    qsizetype pendingEnd = -1;
    while (pos > 0) {
        int payload = -1;
        const int length = trie.LongestSuffix(text, pos, minLength, payload);
        if (length == 0) {
            if (pendingEnd < 0)
                pendingEnd = pos;
            --pos;
            continue;
        }
        if (pendingEnd >= 0) {
            out.push_back({name.mid(pos, pendingEnd - pos), kUnknownPartner});
            pendingEnd = -1;
        }
        out.push_back({length == name.size() ? name : name.mid(pos - length, length), m_index.Partner(payload)});
        pos -= length;
    }
    if (pendingEnd >= 0)
        out.push_back({pendingEnd == name.size() ? name : name.left(pendingEnd), kUnknownPartner});
    std::reverse(out.begin(), out.end());
    return out;
}

void WordSplitter::MergeUntilStable(WordPairList& pairs, bool physical)
{
    while (MergePairs(pairs, physical)) {
    }
}

WordPairList WordSplitter::DictionarySplitLogical(const QString& name)
{
    Index();
    return LogicalPairs(name);
}

WordPairList WordSplitter::LogicalPairs(const QString& name)
{
    WordPairList pairs = DictionarySplit(name, m_index.LogicalTrie(), 1);
    MergeUntilStable(pairs, false);
    return pairs;
}

WordPairList WordSplitter::DictionarySplitPhysical(const QString& name)
{
    Index();
    // A single trailing character is never a physical word.
    WordPairList pairs = DictionarySplit(name, m_index.PhysicalTrie(), 2);
    MergeUntilStable(pairs, true);
    return pairs;
}

bool WordSplitter::MergeExceptPairs(WordPairList& pairs, bool physical)
{
    Index();
    return MergePairs(pairs, physical);
}

bool WordSplitter::MergePairs(WordPairList& pairs, bool physical)
{
    if (pairs.size() < 2)
        return false;
    if (std::none_of(pairs.begin(), pairs.end(), [&](const WordPair& p) { return m_index.IsExceptWord(p.word); }))
        return false;
    WordPairList merged;
    merged.reserve(pairs.size());
    QString pending;
    for (WordPair& pair : pairs) {
        if (m_index.IsExceptWord(pair.word)) {
            pending += pair.word;
            continue;
        }
        if (pending.isEmpty()) {
            merged.push_back(std::move(pair)); // stands as it was: keeps its partner
            continue;
        }
        QString word = pending + pair.word;
        pending.clear();
        QString partner = Lookup(word, physical);
        merged.push_back({std::move(word), std::move(partner)});
    }
    if (merged.empty()) {
        merged.push_back({pending, Lookup(pending, physical)});
    } else if (!pending.isEmpty()) {
        merged.back().word += pending;
        merged.back().partner = Lookup(merged.back().word, physical);
    }
    pairs = std::move(merged);
    return true;
}

namespace {
// Joins each excluded word to the word after it, trailing ones to the last word.
template <class IsExcluded> bool MergeExcludedTexts(QStringList& words, IsExcluded isExcluded)
{
    if (words.size() < 2)
        return false;
    QStringList merged;
    QString pending;
    bool changed = false;
    for (const QString& word : std::as_const(words)) {
        if (isExcluded(word)) {
            pending += word;
            changed = true;
            continue;
        }
        merged.append(pending + word);
        pending.clear();
    }
    if (!pending.isEmpty()) {
        if (merged.isEmpty())
            merged.append(pending);
        else
            merged.last() += pending;
    }
    if (changed)
        words = merged;
    return changed;
}
} // namespace

bool WordSplitter::MergeExceptTexts(QStringList& words)
{
    Index();
    return MergeExcludedTexts(words, [&](const QString& w) { return m_index.IsExceptWord(w); });
}

bool WordSplitter::MergeExceptDomains(QStringList& words)
{
    Index();
    return MergeExcludedTexts(words, [&](const QString& w) { return m_index.IsExceptDomain(w); });
}

WordPairList WordSplitter::RebuildFromPieces(const QString& name, const QStringList& found)
{
    // Locate the extractor's words in the name; the gaps between them are pieces too.
    QStringList pieces;
    qsizetype pos = 0;
    for (const QString& word : found) {
        if (word.isEmpty())
            continue;
        const qsizetype at = name.indexOf(word, pos);
        if (at < 0)
            continue;
        if (at > pos)
            pieces.append(name.mid(pos, at - pos));
        pieces.append(word);
        pos = at + word.size();
    }
    if (pieces.join(QString()) != name)
        pieces = QStringList{name};

    // Right to left, an excluded piece joins the piece on its left.
    WordPairList words;
    QString pending;
    for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
        pending.prepend(pieces[i]);
        if (!m_index.IsExceptWord(pending)) {
            words.push_back({pending, kUnknownPartner});
            pending.clear();
        }
    }
    // Leading excluded pieces join the first word rather than vanish from the name.
    if (!pending.isEmpty()) {
        if (words.empty())
            words.push_back({pending, kUnknownPartner});
        else
            words.back().word.prepend(pending);
    }
    std::reverse(words.begin(), words.end());
    if (words.empty())
        words.push_back({name, kUnknownPartner});
    return words;
}

// A blank separates words and is never one: each blank-free piece splits as a name of its
// own, and a piece that is nothing but an excluded word joins its neighbour.
WordSplitter::WordSplit WordSplitter::SplitBlankPieces(const QString& name, bool physical)
{
    const QStringList pieces = SplitAtBlanks(name);
    WordSplit result;
    if (pieces.isEmpty()) {
        result.removed = true;
        return result;
    }
    if (pieces.size() == 1)
        return physical ? SplitPhysical(pieces.front()) : SplitLogical(pieces.front());
    for (const QString& piece : pieces) {
        WordSplit part = physical ? SplitPhysical(piece) : SplitLogical(piece);
        if (part.removed)
            result.words.push_back({piece, Lookup(piece, physical)});
        else
            result.words.insert(result.words.end(), part.words.begin(), part.words.end());
    }
    MergeUntilStable(result.words, physical);
    if (result.words.size() == 1 && m_index.IsExceptWord(result.words.front().word)) {
        result.words.clear();
        result.removed = true;
    }
    return result;
}

WordSplitter::WordSplit WordSplitter::SplitLogical(const QString& name)
{
    Index();
    if (HasBlank(name))
        return SplitBlankPieces(name, false);
    WordSplit result;
    if (HasUnderscore(name)) {
        QStringList words = SplitAtUnderscore(name);
        while (MergeExceptTexts(words)) {
        }
        if (words.size() == 1 && m_index.IsExceptWord(words.first())) {
            result.removed = true;
            return result;
        }
        result.words.reserve(size_t(words.size()));
        for (const QString& word : std::as_const(words))
            result.words.push_back({word, Lookup(word, false)});
        return result;
    }
    result.words = LogicalPairs(name);
    if (result.words.size() == 1 && result.words.front().partner == kUnknownPartner && m_fallback) {
        const QStringList found = m_fallback(name);
        if (!found.isEmpty())
            result.words = RebuildFromPieces(name, found);
    }
    return result;
}

WordSplitter::WordSplit WordSplitter::SplitPhysical(const QString& name)
{
    Index();
    if (HasBlank(name))
        return SplitBlankPieces(name, true);
    WordSplit result;
    if (HasUnderscore(name)) {
        QStringList words = SplitAtUnderscore(name);
        while (MergeExceptTexts(words)) {
        }
        result.words.reserve(size_t(words.size()));
        for (const QString& word : std::as_const(words))
            result.words.push_back({word, Lookup(word, true)});
    } else if (m_settings->need_seperator != 0) {
        if (!name.isEmpty())
            result.words.push_back({name, Lookup(name, true)});
    } else {
        result.words = DictionarySplit(name, m_index.PhysicalTrie(), 2);
    }
    MergeUntilStable(result.words, true);
    if (result.words.size() == 1 && m_index.IsExceptWord(result.words.front().word)) {
        result.words.clear();
        result.removed = true;
    }
    return result;
}

QString WordSplitter::StandardKeyDomain(const QString& word) const
{
    const QString spelled = m_index.LogicalSpelling(word);
    const auto byLogical = m_settings->m_mapWordsByLogical.find(spelled.isEmpty() ? word : spelled);
    if (byLogical == m_settings->m_mapWordsByLogical.end())
        return QString();
    QString first;
    for (const auto& [physical, nonStandard] : byLogical->second) {
        if (nonStandard.nStandard != 0)
            return QString(); // a standard word of that name stands for itself
        const auto byPhysical = m_settings->m_mapWordsByPhysical.find(physical);
        if (byPhysical == m_settings->m_mapWordsByPhysical.end())
            continue;
        for (const auto& [logical, standard] : byPhysical->second) {
            if (standard.nStandard == 0 || !m_index.IsKeyDomain(logical) || m_index.IsExceptDomain(logical))
                continue;
            // Several standard words of one abbreviation: the one the description names.
            if (nonStandard.strDescription.contains(logical))
                return logical;
            if (first.isEmpty())
                first = logical;
        }
    }
    return first;
}

WordSplitter::DomainSplit WordSplitter::SplitDomain(const QString& name)
{
    Index();
    DomainSplit result;
    if (HasBlank(name)) {
        // Words before the last blank stand as written; the last piece finds the key domain.
        QStringList pieces = SplitAtBlanks(name);
        if (pieces.size() <= 1)
            return SplitDomain(pieces.value(0));
        const DomainSplit last = SplitDomain(pieces.takeLast());
        result.words = pieces + last.words;
        const QString lastWord = result.words.last();
        while (result.words.size() >= 2 && MergeExceptDomains(result.words)) {
        }
        result.keyDomain =
            result.words.last() == lastWord && !last.keyDomain.isEmpty() ? last.keyDomain : result.words.last();
    } else if (HasUnderscore(name)) {
        result.words = SplitAtUnderscore(name);
        while (result.words.size() >= 2 && MergeExceptDomains(result.words)) {
        }
        if (!result.words.isEmpty())
            result.keyDomain = result.words.last();
    } else {
        // Longest suffix that is a key domain and not excluded.
        std::vector<std::pair<int, int>> matches;
        m_index.KeyDomainTrie().SuffixMatches(name.constData(), name.size(), matches);
        int best = 0;
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            if (!m_index.IsExceptDomain(name.right(it->first))) {
                best = it->first;
                break;
            }
        }
        // A longer suffix that is a synonym or forbidden word of a key domain stands for that
        // key domain (회원주민번호: 주민번호 -> 주민등록번호, not 번호).
        QString standard;
        matches.clear();
        m_index.LogicalTrie().SuffixMatches(name.constData(), name.size(), matches);
        for (auto it = matches.rbegin(); it != matches.rend() && it->first > best; ++it) {
            standard = StandardKeyDomain(name.right(it->first));
            if (!standard.isEmpty()) {
                best = -it->first;
                break;
            }
        }
        if (best > 0) {
            result.keyDomain = name.right(best);
            if (best < name.size())
                result.words.append(name.left(name.size() - best));
            result.words.append(result.keyDomain); // as written; the key domain is spelled below
        } else if (best < 0) {
            if (-best < name.size())
                result.words.append(name.left(name.size() + best));
            result.words.append(name.right(-best));
            result.keyDomain = standard;
        } else if (!name.isEmpty()) {
            QStringList found = m_fallback ? m_fallback(name) : QStringList();
            found.removeAll(QString());
            if (found.isEmpty()) {
                result.words = QStringList{name};
            } else {
                result.words = found;
                while (result.words.size() > 1 && m_index.IsExceptDomain(result.words.last())) {
                    const QString last = result.words.takeLast();
                    result.words.last() += last;
                }
            }
            result.keyDomain = result.words.last();
        }
    }
    // A synonym or forbidden word ending the name stands for its standard key domain; a key
    // domain written in other Latin case is the dictionary's.
    if (!result.keyDomain.isEmpty()) {
        const QString spelled = m_index.KeyDomainSpelling(result.keyDomain);
        if (!spelled.isEmpty()) {
            result.keyDomain = spelled;
        } else {
            const QString standard = StandardKeyDomain(result.keyDomain);
            if (!standard.isEmpty())
                result.keyDomain = standard;
        }
    }
    if (result.keyDomain.isEmpty() || (result.words.size() == 1 && m_index.IsExceptDomain(result.words.first())))
        result.removed = true;
    return result;
}

// Fallback word splitter. Small and deterministic on purpose: the dictionary does the
// real work, this only has to give the analyses sensible pieces of names it cannot split.
//
// Analyze(name) returns substrings of the name in order of appearance:
//  1. User words first: scanning left to right, the longest user word that starts at the
//     current position becomes a word of its own (exact, case-sensitive match). User words
//     are never split further, so they also protect words from the rules below.
//  2. The text between user words is cut into runs at every change between Hangul,
//     Han characters, other letters (Latin) and digits. Blanks, "_" and other punctuation
//     separate runs and are not returned.
//  3. Each Hangul run of at least three syllables may lose trailing particles and suffixes,
//     but only those whose tags are active, and only while at least two syllables stay:
//       tags 33, 34 (subject/complement):  이 after a final consonant, 가 after a vowel, 께서
//       tag 36 (object):                   을 after a final consonant, 를 after a vowel
//       tag 37 (adverbial):                에, 에서, 에게, 한테, 으로 (final consonant other than ㄹ),
//                                          로 (vowel or ㄹ), 까지, 부터, 보다
//       tag 38 (vocative):                 이여, 이시여
//       tag 39 (quotative):                라고, 이라고
//       tag 40 (auxiliary and conjunctive, one tag for both in the settings dialog):
//                                          은/는, 과/와 by final consonant, 이랑, 하고, 까지도
//     then one suffix:
//       tag 14 (noun-deriving):            들, 님
//       tag 15 (verb-deriving):            하다, 되다, 시키다
//       tag 16 (adjective-deriving):       스럽다, 롭다
//     Longer endings are tried first, up to two particles are detached ("에서는"), and the
//     pieces come back as stem, suffix, particles. Single syllables such as 의, 도, 만 are
//     left alone: too many nouns end in them (정의, 온도, 미만).
//  4. A name that yields a single piece equal to itself has no split: the result is empty.
// Tags and user words given with SetTags/SetUserWords take effect at ReLoadSettings.
#include "components/QrWordExtractor.h"

#include <QHash>
#include <memory>

namespace {

std::unique_ptr<CQrWordExtractor>& Slot()
{
    static std::unique_ptr<CQrWordExtractor> instance;
    return instance;
}

enum class CharClass { Separator, Hangul, Han, Letter, Digit };

CharClass ClassOf(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x1100 && u <= 0x11FF) || (u >= 0x3130 && u <= 0x318F))
        return CharClass::Hangul;
    if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF))
        return CharClass::Han;
    if (c.isDigit())
        return CharClass::Digit;
    // Surrogate halves stay together with letters so a character is never cut in two.
    if (c.isLetter() || c.isMark() || c.isSurrogate())
        return CharClass::Letter;
    return CharClass::Separator;
}

// Final consonant of a Hangul syllable: 0 none, else its index (8 is ㄹ).
int FinalConsonant(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0xAC00 || u > 0xD7A3)
        return -1;
    return (u - 0xAC00) % 28;
}

enum class Agree { Any, AfterConsonant, AfterVowel, AfterVowelOrRieul, AfterConsonantNotRieul };

struct Ending
{
    const char16_t* text;
    Agree agree;
    int tag;
};

const Ending kParticles[] = {
    {u"이", Agree::AfterConsonant, 33},
    {u"가", Agree::AfterVowel, 33},
    {u"께서", Agree::Any, 33},
    {u"이", Agree::AfterConsonant, 34},
    {u"가", Agree::AfterVowel, 34},
    {u"을", Agree::AfterConsonant, 36},
    {u"를", Agree::AfterVowel, 36},
    {u"에", Agree::Any, 37},
    {u"에서", Agree::Any, 37},
    {u"에게", Agree::Any, 37},
    {u"한테", Agree::Any, 37},
    {u"으로", Agree::AfterConsonantNotRieul, 37},
    {u"로", Agree::AfterVowelOrRieul, 37},
    {u"까지", Agree::Any, 37},
    {u"부터", Agree::Any, 37},
    {u"보다", Agree::Any, 37},
    {u"이여", Agree::Any, 38},
    {u"이시여", Agree::Any, 38},
    {u"라고", Agree::Any, 39},
    {u"이라고", Agree::Any, 39},
    {u"은", Agree::AfterConsonant, 40},
    {u"는", Agree::AfterVowel, 40},
    {u"과", Agree::AfterConsonant, 40},
    {u"와", Agree::AfterVowel, 40},
    {u"이랑", Agree::Any, 40},
    {u"하고", Agree::Any, 40},
    {u"까지도", Agree::Any, 40},
};

const Ending kSuffixes[] = {
    {u"들", Agree::Any, 14},     {u"님", Agree::Any, 14},     {u"하다", Agree::Any, 15}, {u"되다", Agree::Any, 15},
    {u"시키다", Agree::Any, 15}, {u"스럽다", Agree::Any, 16}, {u"롭다", Agree::Any, 16},
};

constexpr qsizetype kMinStem = 2;

bool Agrees(Agree agree, QChar before)
{
    const int final = FinalConsonant(before);
    switch (agree) {
    case Agree::Any:
        return true;
    case Agree::AfterConsonant:
        return final > 0;
    case Agree::AfterVowel:
        return final == 0;
    case Agree::AfterVowelOrRieul:
        return final == 0 || final == 8;
    case Agree::AfterConsonantNotRieul:
        return final > 0 && final != 8;
    }
    return false;
}

// Longest active ending of the table that the run [begin, end) ends with, leaving a stem.
qsizetype MatchEnding(const QString& name, qsizetype begin, qsizetype end, const Ending* table, size_t count,
                      const std::set<int>& tags)
{
    qsizetype best = 0;
    for (size_t i = 0; i < count; ++i) {
        const Ending& e = table[i];
        if (!tags.count(e.tag))
            continue;
        const QStringView text(e.text);
        const qsizetype len = text.size();
        if (len <= best || end - begin - len < kMinStem)
            continue;
        if (QStringView(name).sliced(end - len, len) != text)
            continue;
        if (!Agrees(e.agree, name[end - len - 1]))
            continue;
        best = len;
    }
    return best;
}

} // namespace

CQrWordExtractor& CQrWordExtractor::GetInstance()
{
    auto& slot = Slot();
    if (!slot)
        slot.reset(new CQrWordExtractor());
    return *slot;
}

void CQrWordExtractor::DestoryInstance()
{
    Slot().reset();
}

void CQrWordExtractor::Initialize()
{
    m_initialized = true;
}

void CQrWordExtractor::SetTags(const std::set<int>* tags)
{
    m_hasTags = tags != nullptr;
    m_tags = tags ? *tags : std::set<int>();
}

void CQrWordExtractor::SetUserWords(const std::set<QString>* words)
{
    m_hasUserWords = words != nullptr;
    m_userWords = words ? *words : std::set<QString>();
}

const std::set<int>* CQrWordExtractor::GetTags() const
{
    return m_hasTags ? &m_tags : nullptr;
}

const std::set<QString>* CQrWordExtractor::GetUserWords() const
{
    return m_hasUserWords ? &m_userWords : nullptr;
}

void CQrWordExtractor::ReLoadSettings()
{
    m_activeTags = m_tags;
    m_activeUserWords.clear();
    std::set<qsizetype> lengths;
    for (const QString& w : m_userWords)
        if (!w.isEmpty()) {
            m_activeUserWords.insert(w);
            lengths.insert(w.size());
        }
    m_userWordLengths.assign(lengths.rbegin(), lengths.rend());
}

QStringList CQrWordExtractor::Analyze(const QString& name) const
{
    QStringList words;
    if (name.isEmpty())
        return words;

    auto splitRun = [&](qsizetype begin, qsizetype end) {
        if (ClassOf(name[begin]) != CharClass::Hangul || m_activeTags.empty()) {
            words << name.mid(begin, end - begin);
            return;
        }
        QStringList tail; // detached endings, last first
        qsizetype stemEnd = end;
        for (int round = 0; round < 2; ++round) {
            const qsizetype len = MatchEnding(name, begin, stemEnd, kParticles, std::size(kParticles), m_activeTags);
            if (len == 0)
                break;
            tail.prepend(name.mid(stemEnd - len, len));
            stemEnd -= len;
        }
        const qsizetype suffix = MatchEnding(name, begin, stemEnd, kSuffixes, std::size(kSuffixes), m_activeTags);
        if (suffix > 0) {
            tail.prepend(name.mid(stemEnd - suffix, suffix));
            stemEnd -= suffix;
        }
        words << name.mid(begin, stemEnd - begin);
        words << tail;
    };

    // Cuts [begin, end) into runs of one character class.
    auto splitPlain = [&](qsizetype begin, qsizetype end) {
        qsizetype runStart = -1;
        CharClass runClass = CharClass::Separator;
        for (qsizetype i = begin; i <= end; ++i) {
            const CharClass cls = i < end ? ClassOf(name[i]) : CharClass::Separator;
            // A combining mark belongs to the character before it.
            const bool continues = i < end && runStart >= 0 && name[i].isMark();
            if (runStart >= 0 && (cls != runClass && !continues)) {
                splitRun(runStart, i);
                runStart = -1;
            }
            if (runStart < 0 && cls != CharClass::Separator) {
                runStart = i;
                runClass = cls;
            }
        }
    };

    qsizetype plainStart = 0;
    qsizetype i = 0;
    while (i < name.size()) {
        qsizetype matched = 0;
        // Only the lengths that user words have, longest first, gathered at reload: finding
        // the longest word on every call cost each split a walk over the whole word list.
        for (const qsizetype len : m_userWordLengths) {
            if (len > name.size() - i)
                continue;
            if (m_activeUserWords.count(name.mid(i, len))) {
                matched = len;
                break;
            }
        }
        if (matched == 0) {
            ++i;
            continue;
        }
        splitPlain(plainStart, i);
        words << name.mid(i, matched);
        i += matched;
        plainStart = i;
    }
    splitPlain(plainStart, name.size());

    if (words.size() == 1 && words.front() == name)
        words.clear();
    return words;
}

#include "AnalysisTestUtil.h"
#include "LiteralSplit.h"
#include "analysis/WordSplitter.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Splits a name into two-character pieces, like a fallback extractor would cut it.
QStringList Pairs(const QString& name)
{
    QStringList out;
    for (qsizetype i = 0; i < name.size(); i += 2)
        out << name.mid(i, 2);
    return out;
}

struct SplitCase
{
    const char* name;
    const char* expected; // Show() form; "removed" when the target is dropped
};

QString SplitText(WordSplitter& splitter, const char* name, bool physical)
{
    const auto split = physical ? splitter.SplitPhysical(U(name)) : splitter.SplitLogical(U(name));
    return split.removed ? QStringLiteral("removed") : Show(split.words);
}

TEST(WordSplit, LogicalNames)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"},
                        {"CUSTNM", "고객명"},
                        {"CD", "코드"},
                        {"NM", "명"},
                        {"ACCT", "계좌"},
                        {"CSTM", "고객"},
                        {"BYCD", "별코드"},
                        {"NO", "번호"}});
    AddExcept(settings, {"별", "의", "및"});
    WordSplitter splitter(&settings);
    splitter.SetFallback({});

    const SplitCase cases[] = {
        // the longest word wins, and the lowest physical name of a logical word is used
        {"고객명", "고객명/CUSTNM"},
        {"고객코드", "고객/CSTM 코드/CD"},
        // unknown characters gather into one word between matches
        {"가고객", "가/? 고객/CSTM"},
        {"고객가나", "고객/CSTM 가나/?"},
        {"가나고객다라코드마", "가나/? 고객/CSTM 다라/? 코드/CD 마/?"},
        // an excluded word joins the word after it, which is looked up again
        {"고객별코드", "고객/CSTM 별코드/BYCD"},
        {"계좌별번호", "계좌/ACCT 별번호/?"},
        // an unknown run is one word even when it is made of excluded characters;
        // trailing excluded words join the last word
        {"고객별의번호", "고객/CSTM 별의/? 번호/NO"},
        {"고객코드별", "고객/CSTM 코드별/?"},
        // split at "_": excluded words merge in text form, empty pieces carry no word
        {"고객_별_코드", "고객/CSTM 별코드/BYCD"},
        {"고객__명", "고객/CSTM 명/NM"},
        {"고객_코드_별", "고객/CSTM 코드별/?"},
        {"별_의", "별의/?"},
        {"별_", "removed"},
        // a name that is only an excluded word, not split at "_", stays as one unknown word
        {"별", "별/?"},
        {"", ""},
        // a blank separates words and is never one; each piece splits as a name of its own,
        // and an excluded piece joins the next word
        {"고객 코드", "고객/CSTM 코드/CD"},
        {" 고객명  가나 ", "고객명/CUSTNM 가나/?"},
        {"계좌 별 코드", "계좌/ACCT 별코드/BYCD"},
        {"고객 별", "고객별/?"},
        {"별 ", "별/?"},
        {"   ", "removed"},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitText(splitter, c.name, false), U(c.expected)) << c.name;
}

TEST(WordSplit, LogicalFallbackRebuildsPieces)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}});
    AddExcept(settings, {"별", "의"});
    WordSplitter splitter(&settings);
    struct Case
    {
        const char* name;
        QStringList found;
        const char* expected;
    };
    const Case cases[] = {
        {"가나다라", {U("가나"), U("다라")}, "가나/? 다라/?"},
        // text between found words is a piece of its own
        {"가나다라", {U("다라")}, "가나/? 다라/?"},
        // a tail after the last word: the name stays whole
        {"가나다라", {U("가나")}, "가나다라/?"},
        // a word that is not in the name is skipped
        {"가나다라", {U("마바"), U("가나"), U("다라")}, "가나/? 다라/?"},
        // an excluded piece joins the piece on its left
        {"가나별다라", {U("가나"), U("별"), U("다라")}, "가나별/? 다라/?"},
        // a leading excluded piece joins the word on its right instead of vanishing
        {"별다라", {U("별"), U("다라")}, "별다라/?"},
        {"별의", {U("별"), U("의")}, "별의/?"},
        // no result: the dictionary split stands
        {"가나다라", {}, "가나다라/?"},
    };
    for (const Case& c : cases) {
        const QStringList found = c.found;
        splitter.SetFallback([&](const QString&) { return found; });
        EXPECT_EQ(SplitText(splitter, c.name, false), U(c.expected)) << c.name;
    }
    // Only a name that stays one unknown word asks the extractor.
    int calls = 0;
    splitter.SetFallback([&](const QString&) {
        ++calls;
        return QStringList{U("가"), U("고객")};
    });
    EXPECT_EQ(SplitText(splitter, "가고객", false), U("가/? 고객/CUST"));
    EXPECT_EQ(calls, 0);
}

TEST(WordSplit, PhysicalNames)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"},
                        {"NM", "명"},
                        {"A", "에이"},
                        {"BC", "비씨"},
                        {"XY", "엑스와이"},
                        {"BYNO", "별번호"},
                        {"NO", "번호"},
                        {"CUSTNM", "고객명"}});
    AddExcept(settings, {"BY", "XY", "Q"});
    WordSplitter splitter(&settings);

    const SplitCase cases[] = {
        {"CUSTNM", "CUSTNM/고객명"},
        {"CUSTNMX", "CUSTNM/고객명 X/?"},
        // a one-letter word is never matched by the dictionary split, and a word that
        // stands as it was keeps its partner through the merge
        {"ABC", "A/? BC/비씨"},
        {"AXYBC", "A/? XYBC/?"},
        // merged words are looked up again
        {"CUSTBYNO", "CUST/고객 BYNO/별번호"},
        {"CUST_BY_NO", "CUST/고객 BYNO/별번호"},
        {"CUST_NM", "CUST/고객 NM/명"},
        {"A_BC", "A/에이 BC/비씨"},
        // a lone excluded word removes the target, split or not
        {"BY", "removed"},
        {"BY_", "removed"},
        {"Q", "removed"},
        {"BY_Q", "BYQ/?"},
        {"CUST NM", "CUST/고객 NM/명"},
        {"CUST BY NO", "CUST/고객 BYNO/별번호"},
        {"BY ", "removed"},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitText(splitter, c.name, true), U(c.expected)) << c.name;

    settings.need_seperator = 1;
    EXPECT_EQ(SplitText(splitter, "CUSTNMNO", true), U("CUSTNMNO/?"));
    EXPECT_EQ(SplitText(splitter, "CUSTNM", true), U("CUSTNM/고객명"));
    EXPECT_EQ(SplitText(splitter, "CUST_NM", true), U("CUST/고객 NM/명"));
}

TEST(WordSplit, IndexFollowsDictionaryChanges)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}});
    WordSplitter splitter(&settings);
    splitter.SetFallback({});
    EXPECT_EQ(SplitText(splitter, "고객명", false), U("고객/CUST 명/?"));
    AddWords(settings, {{"CUSTNM", "고객명"}});
    EXPECT_EQ(SplitText(splitter, "고객명", false), U("고객명/CUSTNM"));
    settings.RemoveWord(QStringLiteral("CUSTNM"), U("고객명"));
    EXPECT_EQ(SplitText(splitter, "고객명", false), U("고객/CUST 명/?"));
    // a direct edit followed by Touch()
    settings.m_setExceptWords.insert(U("명"));
    settings.Touch();
    EXPECT_EQ(SplitText(splitter, "고객명", false), U("고객명/?"));
}

struct DomainCase
{
    const char* name;
    const char* words; // joined with "_"
    const char* keyDomain;
    bool removed;
};

TEST(WordSplit, DomainNames)
{
    CAnalyzeSettings settings;
    settings.m_mapDomains[U("번호")][U("번호VC10")] = {};
    settings.m_mapDomains[U("일자")][U("일자DT")] = {};
    settings.m_mapDomains[U("명")][U("명VC100")] = {};
    settings.m_mapDomains[U("자")][U("자VC1")] = {};
    settings.m_mapDomains[U("호")][U("호VC1")] = {};
    settings.m_mapDomains[U("주민등록번호")][U("주민등록번호CH13")] = {};
    settings.m_setExceptDomains = {U("일"), U("여부")};
    _stAnalyzeManageWord synonym;
    synonym.nStandard = 0;
    AddWords(settings, {{"NO", "번호"}, {"RRNO", "주민등록번호"}});
    settings.AddWord(U("NO"), U("넘버"), synonym);
    synonym.strDescription = U("금칙어 (표준단어: 주민등록번호)");
    settings.AddWord(U("RRNO"), U("주민번호"), synonym);
    WordSplitter splitter(&settings);
    splitter.SetFallback([](const QString& name) { return Pairs(name); });

    const DomainCase cases[] = {
        {"고객번호", "고객_번호", "번호", false},
        {"번호", "번호", "번호", false},
        {"고객_일_자", "고객_일자", "일자", false},
        {"고객_자_일", "고객_자일", "자일", false},
        // no dictionary suffix: the extractor's words, an excluded last word joins the one before
        {"가나다라", "가나_다라", "다라", false},
        {"가나여부", "가나여부", "가나여부", false},
        {"여부", "removed", "", true},
        {"일_", "removed", "", true},
        {"", "removed", "", true},
        // blanks separate words; the last piece finds the key domain
        {"고객 번호", "고객_번호", "번호", false},
        {"가나 다라마바", "가나_다라_마바", "마바", false},
        {"고객 일 자", "고객_일자", "일자", false},
        {" 번호 ", "번호", "번호", false},
        // a synonym of a key domain stands for it, also over a shorter key domain suffix
        {"고객넘버", "고객_넘버", "번호", false},
        {"고객 넘버", "고객_넘버", "번호", false},
        {"회원주민번호", "회원_주민번호", "주민등록번호", false},
    };
    for (const DomainCase& c : cases) {
        const auto split = splitter.SplitDomain(U(c.name));
        EXPECT_EQ(split.removed, c.removed) << c.name;
        if (!c.removed) {
            EXPECT_EQ(split.words.join(QLatin1Char('_')), U(c.words)) << c.name;
            EXPECT_EQ(split.keyDomain, U(c.keyDomain)) << c.name;
        }
    }
    // both excluded: the pending text joins the last word, which becomes the key domain
    settings.m_setExceptDomains.insert(U("자"));
    settings.Touch();
    auto split = splitter.SplitDomain(U("고객_일_자"));
    EXPECT_EQ(split.words, QStringList{U("고객일자")});
    EXPECT_EQ(split.keyDomain, U("고객일자"));
    // an excluded key domain is passed over for a shorter suffix
    settings.m_setExceptDomains.insert(U("번호"));
    settings.Touch();
    split = splitter.SplitDomain(U("고객번호"));
    EXPECT_EQ(split.keyDomain, U("호"));
    EXPECT_EQ(split.words, (QStringList{U("고객번"), U("호")}));
}

// Latin letters are one word in any case: every lookup finds the dictionary's word, and the
// word stays as written.
TEST(WordSplit, LatinWordsInAnyCase)
{
    CAnalyzeSettings settings;
    AddWords(settings,
             {{"AUTH", "권한"}, {"ID", "ID"}, {"URL", "URL"}, {"CUST", "고객"}, {"NO", "번호"}, {"BYCD", "별코드"}});
    AddExcept(settings, {"BY"});
    settings.m_mapDomains[U("ID")][U("IDV20")] = {};
    WordSplitter splitter(&settings);
    splitter.SetFallback({});
    const struct
    {
        const char* name;
        bool physical;
        const char* expected;
    } cases[] = {
        {"권한ID", false, "권한/AUTH ID/ID"},
        {"권한id", false, "권한/AUTH id/ID"},
        {"권한 Id", false, "권한/AUTH Id/ID"},
        {"url주소", false, "url/URL 주소/?"},
        {"cust_no", true, "cust/고객 no/번호"},
        {"custno", true, "cust/고객 no/번호"},
        {"Cust_No", true, "Cust/고객 No/번호"},
        {"cust_by_cd", true, "cust/고객 bycd/별코드"}, // an excluded word in small letters joins the next
        {"cust_x", true, "cust/고객 x/?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(splitter, c.name, c.physical), U(c.expected)) << c.name;

    // the key domain is the dictionary's, the word as written
    const auto split = splitter.SplitDomain(U("요청자id"));
    EXPECT_EQ(split.keyDomain, U("ID"));
    EXPECT_EQ(split.words, (QStringList{U("요청자"), U("id")}));
}

// --- equality with the literal algorithm ---------------------------------------------------

class Generator
{
public:
    explicit Generator(quint32 seed) : m_rng(seed) {}
    int Below(int n) { return int(m_rng.bounded(n)); }
    QString Syllables(const QString& pool, int minLen, int maxLen)
    {
        QString s;
        const int len = minLen + Below(maxLen - minLen + 1);
        for (int i = 0; i < len; ++i)
            s += pool[Below(int(pool.size()))];
        return s;
    }

private:
    QRandomGenerator m_rng;
};

struct GeneratedDictionary
{
    QStringList logical, physical, excepted, exceptedPhysical;
};

GeneratedDictionary Populate(CAnalyzeSettings& settings, Generator& gen, int words)
{
    const QString hangul = U("가나다라마바사아자차카타파하고객명번호코드일자계좌금액");
    const QString latin = QStringLiteral("ABCDEFGHNOST");
    GeneratedDictionary dict;
    for (int i = 0; i < words; ++i) {
        const QString logical = gen.Syllables(hangul, 1, 4);
        const QString physical = gen.Syllables(latin, 1, 5);
        settings.AddWord(physical, logical, {});
        dict.logical << logical;
        dict.physical << physical;
    }
    for (int i = 0; i < 30; ++i) {
        const QString word = gen.Syllables(U("별의및용상"), 1, 2);
        settings.AddExceptWord(word);
        const QString latinWord = gen.Syllables(QStringLiteral("BYOFXZ"), 1, 3);
        settings.AddExceptWord(latinWord);
    }
    for (const QString& w : settings.m_setExceptWords) {
        if (w[0].unicode() >= 0xAC00)
            dict.excepted << w;
        else
            dict.exceptedPhysical << w;
    }
    return dict;
}

QString MakeName(Generator& gen, const QStringList& words, const QStringList& excepted, const QString& unknownPool)
{
    QString name;
    const int parts = 1 + gen.Below(5);
    for (int p = 0; p < parts; ++p) {
        const int kind = gen.Below(10);
        if (kind < 6)
            name += words[gen.Below(int(words.size()))];
        else if (kind < 8 && !excepted.isEmpty())
            name += excepted[gen.Below(int(excepted.size()))];
        else
            name += gen.Syllables(unknownPool, 1, 3);
        if (gen.Below(12) == 0)
            name += QLatin1Char('_');
    }
    return name;
}

TEST(WordSplit, IndexedSplitEqualsLiteralAlgorithm)
{
    CAnalyzeSettings settings;
    Generator gen(20261208);
    const GeneratedDictionary dict = Populate(settings, gen, 3000);
    ASSERT_FALSE(dict.excepted.isEmpty());
    ASSERT_FALSE(dict.exceptedPhysical.isEmpty());

    WordSplitter splitter(&settings);
    splitter.SetFallback(Pairs);
    literal::Splitter reference{settings, Pairs, {}};

    const QString unknownHangul = U("쿠투푸후가나별");
    const QString unknownLatin = QStringLiteral("XYZQAB");
    int compared = 0, withUnknown = 0, underscored = 0, removed = 0;
    for (int i = 0; i < 60000; ++i) {
        const QString name = MakeName(gen, dict.logical, dict.excepted, unknownHangul);
        WordPairList expected;
        const bool kept = reference.Logical(name, expected);
        const auto split = splitter.SplitLogical(name);
        ASSERT_EQ(split.removed, !kept) << name.toStdString();
        if (kept) {
            ASSERT_EQ(Show(split.words), Show(expected)) << name.toStdString();
        }
        ++compared;
        withUnknown += Show(expected).contains(QStringLiteral("/?"));
        underscored += name.contains(QLatin1Char('_'));
        removed += !kept;
    }
    for (int i = 0; i < 60000; ++i) {
        settings.need_seperator = i % 7 == 0 ? 1 : 0;
        const QString name = MakeName(gen, dict.physical, dict.exceptedPhysical, unknownLatin);
        WordPairList expected;
        const bool kept = reference.Physical(name, expected);
        const auto split = splitter.SplitPhysical(name);
        ASSERT_EQ(split.removed, !kept) << name.toStdString();
        if (kept) {
            ASSERT_EQ(Show(split.words), Show(expected)) << name.toStdString();
        }
        ++compared;
        withUnknown += Show(expected).contains(QStringLiteral("/?"));
        underscored += name.contains(QLatin1Char('_'));
        removed += !kept;
    }
    EXPECT_GE(compared, 100000);
    // The generated names exercise the interesting paths, not just clean matches.
    EXPECT_GT(withUnknown, 10000);
    EXPECT_GT(underscored, 10000);
    EXPECT_GT(removed, 10);
}

} // namespace

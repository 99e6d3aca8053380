#include "components/QrWordExtractor.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class WordExtractorTest : public ::testing::Test
{
protected:
    void SetUp() override { CQrWordExtractor::DestoryInstance(); }
    void TearDown() override { CQrWordExtractor::DestoryInstance(); }

    static QStringList Split(const QString& name, std::set<int> tags = {}, std::set<QString> words = {})
    {
        CQrWordExtractor& x = CQrWordExtractor::GetInstance();
        x.SetTags(&tags);
        x.SetUserWords(&words);
        x.ReLoadSettings();
        return x.Analyze(name);
    }
};

const std::set<int> kParticleTags = {33, 34, 35, 36, 37, 38, 39, 40};
const std::set<int> kAllTags = {14, 15, 16, 33, 34, 35, 36, 37, 38, 39, 40};

} // namespace

TEST_F(WordExtractorTest, Splits)
{
    struct Case
    {
        QString name;
        std::set<int> tags;
        std::set<QString> words;
        QStringList expected;
    };
    const Case cases[] = {
        // Changes between Hangul, Latin letters and digits; separators are dropped.
        {u"고객ID번호2"_qs, {}, {}, {u"고객"_qs, u"ID"_qs, u"번호"_qs, u"2"_qs}},
        {u"CUST_NO 01"_qs, {}, {}, {u"CUST"_qs, u"NO"_qs, u"01"_qs}},
        {u"고객번호"_qs, {}, {}, {}}, // nothing to split
        {u"_고객번호_"_qs, {}, {}, {u"고객번호"_qs}},
        {u"___"_qs, {}, {}, {}},
        {QString(), {}, {}, {}},
        // User words: longest match first, across character classes.
        {u"고객번호주소"_qs, {}, {u"고객"_qs, u"고객번호"_qs}, {u"고객번호"_qs, u"주소"_qs}},
        {u"신청고객COVID19여부"_qs,
         {},
         {u"고객"_qs, u"COVID19"_qs},
         {u"신청"_qs, u"고객"_qs, u"COVID19"_qs, u"여부"_qs}},
        {u"고객"_qs, {}, {u"고객"_qs}, {}},
        // Particles only with their tags, and only by the final consonant of the stem.
        {u"고객정보를"_qs, {}, {}, {}},
        {u"고객정보를"_qs, {36}, {}, {u"고객정보"_qs, u"를"_qs}},
        {u"계좌번호을"_qs, {36}, {}, {}}, // 을 needs a final consonant, 호 has none
        {u"계좌잔액을"_qs, {36}, {}, {u"계좌잔액"_qs, u"을"_qs}},
        {u"재고평가"_qs, kParticleTags, {}, {}}, // 가 after 평 (final ㅇ) is no particle
        {u"이동경로"_qs, kParticleTags, {}, {}}, // 로 after 경 (final ㅇ) is no particle
        {u"주소로"_qs, kParticleTags, {}, {u"주소"_qs, u"로"_qs}},
        {u"지점에서는"_qs, kParticleTags, {}, {u"지점"_qs, u"에서"_qs, u"는"_qs}},
        {u"용어정의"_qs, kAllTags, {}, {}},  // 의 is left alone
        {u"국가"_qs, kParticleTags, {}, {}}, // a stem keeps at least two syllables
        // Suffixes, then particles.
        {u"고객들의주소"_qs, kAllTags, {u"주소"_qs}, {u"고객들의"_qs, u"주소"_qs}},
        {u"학생들은"_qs, kAllTags, {}, {u"학생"_qs, u"들"_qs, u"은"_qs}},
        {u"학생들은"_qs, {40}, {}, {u"학생들"_qs, u"은"_qs}},
        {u"처리하다"_qs, {15}, {}, {u"처리"_qs, u"하다"_qs}},
        // A user word is never cut by the rules.
        {u"주소로"_qs, kParticleTags, {u"주소로"_qs}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(c.name, c.tags, c.words), c.expected) << c.name.toStdString();
}

TEST_F(WordExtractorTest, ResultsAreSubstringsInOrder)
{
    const QString names[] = {u"A1가B2나_다3"_qs, u"é́고객X"_qs, u"😀고객😀"_qs, u"고객(번호)의-명칭"_qs};
    for (const QString& name : names) {
        qsizetype from = 0;
        for (const QString& w : Split(name, kAllTags, {u"B2"_qs})) {
            const qsizetype at = name.indexOf(w, from);
            ASSERT_GE(at, 0) << name.toStdString() << " " << w.toStdString();
            from = at + w.size();
        }
    }
    // A character outside the BMP is never cut in two.
    EXPECT_EQ(Split(u"😀고객"_qs), (QStringList{u"😀"_qs, u"고객"_qs}));
}

TEST_F(WordExtractorTest, SettingsTakeEffectOnReload)
{
    CQrWordExtractor& x = CQrWordExtractor::GetInstance();
    EXPECT_EQ(x.GetTags(), nullptr);
    EXPECT_EQ(x.GetUserWords(), nullptr);
    {
        std::set<QString> words{u"고객"_qs, QString()};
        std::set<int> tags{36};
        x.SetUserWords(&words);
        x.SetTags(&tags);
    } // copies: the caller's sets may go
    ASSERT_NE(x.GetUserWords(), nullptr);
    EXPECT_EQ(x.GetUserWords()->size(), 2u);
    EXPECT_EQ(*x.GetTags(), std::set<int>{36});
    EXPECT_TRUE(x.Analyze(u"고객주소"_qs).isEmpty()); // not reloaded yet
    x.ReLoadSettings();
    EXPECT_EQ(x.Analyze(u"고객주소"_qs), (QStringList{u"고객"_qs, u"주소"_qs}));
    x.SetUserWords(nullptr);
    EXPECT_EQ(x.GetUserWords(), nullptr);
}

#include "TermRepository.h"
#include "analysis/AnalyzeDomainWords.h"
#include "analysis/ServiceLayer.h"
#include "settings/AnalyzeSettings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ServiceLayerTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        QString reason;
        if (!m_repo.Open(QString::fromLatin1(GetParam()), reason)) {
            if (qEnvironmentVariable("CI") == QLatin1String("true") || reason.isEmpty())
                FAIL() << reason.toStdString() << m_repo.m_errors.join(u'\n').toStdString();
            GTEST_SKIP() << reason.toStdString();
        }
        m_repo.LoadStandard();
        ASSERT_TRUE(m_repo.m_errors.isEmpty()) << m_repo.m_errors.join(u'\n').toStdString();
    }
    void TearDown() override
    {
        if (IServiceLayer::theServiceLayer)
            DeleteAppLayer();
        m_db = ServiceDatabase();
        m_repo.Close();
    }

    // Runs the service the way the term analysis configures it.
    IServiceLayer* RunTerm(const std::vector<_stServiceTarget>& targets, const QString& separators = u"_"_s)
    {
        EXPECT_TRUE(CreateAppLayer());
        IServiceLayer* s = IServiceLayer::theServiceLayer;
        m_db = RepositoryServiceDatabase();
        s->SetDatabase(&m_db);
        s->SetOptionValue(8, 2);
        s->SetOptionValue(0, 0);
        s->SetOptionText(11, QString());
        s->SetOptionText(10, separators);
        s->SetOptionValue(13, '_');
        s->SetOptionValue(12, '_');
        m_targets = targets;
        s->SetTargets(&m_targets);
        s->RunAnalysisAll();
        return s;
    }

    TermRepository m_repo;
    ServiceDatabase m_db;
    std::vector<_stServiceTarget> m_targets;
};

TEST_P(ServiceLayerTest, SplitsIntoAreaWords)
{
    struct Case
    {
        const char16_t* text;
        const char16_t* area;
        QStringList words;
        std::vector<int> kinds;
    };
    const Case cases[] = {
        {u"고객주문번호", u"A1", {u"고객"_s, u"주문"_s, u"번호"_s}, {1, 1, 1}}, // 주문번 is no trap
        {u"고객_주문_번호", u"A1", {u"고객"_s, u"주문"_s, u"번호"_s}, {1, 1, 1}},
        {u"고객번호", u"A1", {u"고객번호"_s}, {2}}, // registered term
        {u"고객_번호", u"A1", {u"고객번호"_s}, {2}},
        {u"주민등록번호", u"A1", {u"주민등록번호"_s}, {2}}, // word RRN_NO
        {u"고객XX번호", u"A1", {u"고객"_s, u"XX"_s, u"번호"_s}, {1, 0, 1}},
        {u"가나다", u"A1", {u"가나다"_s}, {0}},
        {u"명VC100", u"A1", {u"명"_s}, {1}}, // type suffix dropped
        {u"고객금액DEC15,2", u"A1", {u"고객"_s, u"금액"_s}, {1, 1}},
        {u"고객명VCX", u"A1", {u"고객"_s, u"명"_s, u"VCX"_s}, {1, 1, 0}}, // not a suffix
        {u"폐기일자", u"A1", {u"폐기"_s, u"일자"_s}, {0, 1}},             // ended word unseen
        {u"상품명", u"A1", {u"상품"_s, u"명"_s}, {0, 1}},                 // other area's word
        {u"상품명", u"A2", {u"상품"_s, u"명"_s}, {1, 0}},
        {u"___", u"A1", {}, {}},
        {u"고객 주문번호", u"A1", {u"고객"_s, u"주문"_s, u"번호"_s}, {1, 1, 1}}, // a blank is no word
        {u" 고객  번호 ", u"A1", {u"고객번호"_s}, {2}},
        {u"뷁뷁VC10", u"A1", {u"뷁뷁"_s}, {0}}, // the missing word, not its type suffix
        {u"번호V20", u"A1", {u"번호"_s}, {1}},  // the published edition's type letters
        {u"고객ABCV10", u"A1", {u"고객"_s, u"ABCV10"_s}, {1, 0}},
        {u"고객명V", u"A1", {u"고객"_s, u"명"_s, u"V"_s}, {1, 1, 0}},
    };
    std::vector<_stServiceTarget> targets;
    for (const Case& c : cases)
        targets.push_back({QString::fromUtf16(c.text), QStringLiteral("COL"), QString::fromUtf16(c.area)});
    IServiceLayer* s = RunTerm(targets);
    ASSERT_EQ(s->GetResultCount(1), int(std::size(cases)));
    for (int i = 0; i < s->GetResultCount(1); ++i) {
        QString target, variant;
        ASSERT_TRUE(s->GetResult(i, target, variant, 1));
        const Case& c = cases[i];
        EXPECT_EQ(target, QString::fromUtf16(c.text));
        EXPECT_EQ(variant, QStringLiteral("COL"));
        // Same text in two areas: the first result of the pair answers by name.
        if (i == 12)
            continue;
        ASSERT_TRUE(s->SelectResult(target, variant, 0));
        QStringList words;
        std::vector<int> kinds;
        ASSERT_TRUE(s->GetResultWords(target, variant, words, kinds));
        EXPECT_EQ(words, c.words) << target.toStdString();
        EXPECT_EQ(kinds, c.kinds) << target.toStdString();
    }
}

// A separator is whatever the settings name, a Hangul syllable too.
TEST_P(ServiceLayerTest, SplitsAtAHangulSeparator)
{
    IServiceLayer* s = RunTerm({{u"고객및번호"_s, u"COL"_s, u"A1"_s}}, u"_및"_s);
    ASSERT_TRUE(s->SelectResult(u"고객및번호"_s, u"COL"_s, 0));
    QStringList words;
    std::vector<int> kinds;
    ASSERT_TRUE(s->GetResultWords(u"고객및번호"_s, u"COL"_s, words, kinds));
    EXPECT_EQ(words, QStringList{u"고객번호"_s});
    EXPECT_EQ(kinds, std::vector<int>{2});
}

TEST_P(ServiceLayerTest, FindsWordsRelationsAndTermDomains)
{
    IServiceLayer* s = RunTerm({{QStringLiteral("고객번호"), QString(), QStringLiteral("A1")},
                                {QStringLiteral("손님명"), QString(), QStringLiteral("A1")}});
    QStringList names, ids;
    ASSERT_TRUE(s->GetResultTerm(QStringLiteral("고객번호"), QString(), names, ids));
    EXPECT_EQ(ids, QStringList{QStringLiteral("D01")});
    EXPECT_EQ(names, QStringList{QStringLiteral("번호VC20")});
    ASSERT_TRUE(s->GetResultTerm(QStringLiteral("손님명"), QString(), names, ids));
    EXPECT_TRUE(ids.isEmpty());

    ASSERT_TRUE(s->SelectResult(QStringLiteral("손님명"), QString(), 0));
    struct Lookup
    {
        const char16_t* text;
        const char16_t* id;
        int standard;
        int classWord;
    };
    const Lookup lookups[] = {
        {u"번호", u"W03", 1, 1},  {u"NO", u"W03", 1, 1},       // by physical name
        {u"CUST", u"W01", 1, 0},                               // standard word before its synonym
        {u"손님", u"W05", 0, 0},  {u"고객번호", u"T01", 1, 0}, // a term by its logical name
        {u"폐기", nullptr, 0, 0}, {u"상품", nullptr, 0, 0},
    };
    for (const Lookup& l : lookups) {
        std::vector<SERVICE_WORD_HANDLE> handles;
        const bool found = s->FindWords(QString::fromUtf16(l.text), 1, handles);
        EXPECT_EQ(found, l.id != nullptr) << QString::fromUtf16(l.text).toStdString();
        if (!found)
            continue;
        _stServiceWord w;
        ASSERT_TRUE(s->GetServiceWord(handles.front(), w));
        EXPECT_EQ(w.strTexts[0], QString::fromUtf16(l.id));
        EXPECT_EQ(w.strTexts[1], QStringLiteral("A1"));
        EXPECT_EQ(w.nStandard, l.standard);
        EXPECT_EQ(w.nClassWord, l.classWord);
    }

    // By physical name alone (a registered term's parts): the standard word first.
    std::vector<SERVICE_WORD_HANDLE> handles, related;
    EXPECT_FALSE(s->FindWords(QStringLiteral("손님"), eServiceFindByPhysicalName, handles));
    ASSERT_TRUE(s->FindWords(QStringLiteral("CUST"), eServiceFindByPhysicalName, handles));
    ASSERT_EQ(handles.size(), 2u);
    _stServiceWord first;
    ASSERT_TRUE(s->GetServiceWord(handles.front(), first));
    EXPECT_EQ(first.strTexts[0], QStringLiteral("W01"));

    ASSERT_TRUE(s->FindWords(QStringLiteral("손님"), 1, handles));
    ASSERT_TRUE(s->GetWordRelation(handles.front(), related));
    ASSERT_EQ(related.size(), 1u);
    _stServiceWord w;
    s->GetServiceWord(related.front(), w);
    EXPECT_EQ(w.strTexts[2], QStringLiteral("고객"));
    ASSERT_TRUE(s->FindWords(QStringLiteral("고객"), 1, handles));
    ASSERT_TRUE(s->GetWordRelation(handles.front(), related));
    EXPECT_TRUE(related.empty());
    s->ClearResults();
    EXPECT_EQ(s->GetResultCount(1), 0);
}

TEST_P(ServiceLayerTest, OneServiceAtATime)
{
    ASSERT_TRUE(CreateAppLayer());
    EXPECT_FALSE(CreateAppLayer());
    DeleteAppLayer();
    EXPECT_EQ(IServiceLayer::theServiceLayer, nullptr);
}

TEST_P(ServiceLayerTest, AnalyzeDomainWordsAndStatus)
{
    std::map<QString, _stAnalyzeManageDomain> domains;
    domains[QStringLiteral("고객명VC100")];
    domains[QStringLiteral("주민등록번호VC13")];
    domains[QStringLiteral("손님XX번호")];
    domains[QStringLiteral("고객주문")];
    GlobalFunc::AnalyzeDomainWords(QStringLiteral("A1"), domains);
    EXPECT_EQ(IServiceLayer::theServiceLayer, nullptr);

    auto texts = [](const _stAnalyzeManageDomain& d) {
        QStringList out;
        for (const auto& w : d.vecWords)
            out.append(w.strWordId + u'/' + w.strLogicalName + u'/' + w.strPhysicalName + u'/' +
                       QString::number(w.nStandard) + QString::number(w.nClassWord));
        return out;
    };
    EXPECT_EQ(texts(domains[QStringLiteral("고객명VC100")]), (QStringList{u"W01/고객/CUST/10"_s, u"W04/명/NM/11"_s}));
    // The separator of the compound's physical name RRN_NO: RRN is no word and is left out.
    EXPECT_EQ(texts(domains[QStringLiteral("주민등록번호VC13")]), QStringList{u"W08/주민등록번호/RRN_NO/11"_s});
    EXPECT_EQ(texts(domains[QStringLiteral("손님XX번호")]),
              (QStringList{u"W05/손님/CUST/00"_s, u"/XX//00"_s, u"W03/번호/NO/11"_s}));

    const struct
    {
        const char16_t* domain;
        GlobalFunc::eAnalyzeDomainStatus status;
        const char16_t* message;
    } verdicts[] = {
        {u"고객명VC100", GlobalFunc::eDomainStatusOk, u""},
        {u"손님XX번호", GlobalFunc::eDomainStatusWordMissing, u"(XX) 단어 없음"},
        {u"고객주문", GlobalFunc::eDomainStatusNotClassWord, u"(주문) 단어가 분류어가 아님"},
    };
    for (const auto& v : verdicts) {
        QString message;
        EXPECT_EQ(GlobalFunc::AnalyzeDomainStatus(domains[QString::fromUtf16(v.domain)].vecWords, message), v.status);
        EXPECT_EQ(message, QString::fromUtf16(v.message));
    }
}

INSTANTIATE_TEST_SUITE_P(Repository, ServiceLayerTest, ::testing::Values("sqlite", "postgres"));

TEST(AnalyzeDomainStatus, Verdicts)
{
    auto word = [](const char16_t* name, bool found, int standard, int classWord) {
        _stAnalyzeManageWord w;
        w.strWordId = found ? QStringLiteral("ID") : QString();
        w.strLogicalName = QString::fromUtf16(name);
        w.nStandard = standard;
        w.nClassWord = classWord;
        return w;
    };
    struct Case
    {
        std::vector<_stAnalyzeManageWord> words;
        GlobalFunc::eAnalyzeDomainStatus status;
        const char16_t* message;
    };
    const Case cases[] = {
        {{}, GlobalFunc::eDomainStatusOk, u""},
        {{word(u"고객", true, 1, 0), word(u"명", true, 0, 1)},
         GlobalFunc::eDomainStatusNotStandardWord,
         u"(명) 단어가 표준이 아님"},
        // A missing word wins over an earlier non-standard one.
        {{word(u"손님", true, 0, 0), word(u"XX", false, 0, 0), word(u"명", true, 1, 1)},
         GlobalFunc::eDomainStatusWordMissing,
         u"(XX) 단어 없음"},
        {{word(u"고객", true, 1, 0), word(u"주문", true, 1, 0)},
         GlobalFunc::eDomainStatusNotClassWord,
         u"(주문) 단어가 분류어가 아님"},
        {{word(u"명", true, 1, 1)}, GlobalFunc::eDomainStatusOk, u""},
    };
    for (const Case& c : cases) {
        QString message;
        EXPECT_EQ(GlobalFunc::AnalyzeDomainStatus(c.words, message), c.status);
        EXPECT_EQ(message, QString::fromUtf16(c.message));
    }
}

} // namespace

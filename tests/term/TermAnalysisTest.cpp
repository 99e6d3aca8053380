#include "analysis/TermAnalysis.h"
#include "TermRepository.h"
#include "analysis/ServiceLayer.h"
#include "components/QrProgressWnd.h"
#include "settings/AnalyzeSettings.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct SettingsGuard
{
    int synonym = CAnalyzeSettings::Instance().term_analy_with_synonym;
    int sort = CAnalyzeSettings::Instance().analyze_sort_result;
    ~SettingsGuard()
    {
        CAnalyzeSettings::Instance().term_analy_with_synonym = synonym;
        CAnalyzeSettings::Instance().analyze_sort_result = sort;
    }
};

TermAnalysisTarget MakeTarget(const QString& name, const QString& type, const QString& length,
                              const QString& column = QString())
{
    TermAnalysisTarget t;
    t.strName = name;
    t.strColumn = column;
    t.strType = type;
    t.strLength = length;
    t.strDisplayType = type + u'(' + length + u')';
    return t;
}

TEST(TermTargets, FromSheetRows)
{
    CTermAnalysis term;
    term.SetSheet({{u"속성명"_s, u"컬럼명"_s, u"타입"_s, u"길이"_s, u"정의"_s},
                   {u"고객명1"_s, u"CUST_NM"_s, u"VARCHAR2(100)"_s, u""_s, u"이름"_s},
                   {u"주문금액"_s, u"ORD_AMT"_s, u"NUMBER(15,2)"_s, u""_s, u""_s},
                   {u""_s, u"EMPTY"_s, u"CHAR(1)"_s, u""_s, u""_s},
                   {u"고객명"_s, u"CUST_NAME"_s, u"VARCHAR(50)"_s, u"80"_s, u""_s}});
    EXPECT_EQ(term.BuildTargets().message, TermTexts::kNoArea);
    term.SetAreaId(u"A1"_s);
    term.Designations().Designate(CTermAnalysis::RoleAttribute, 0);
    EXPECT_EQ(term.BuildTargets().message, TermTexts::kMissingRequired);
    term.Designations().Designate(CTermAnalysis::RoleType, 2);
    term.Designations().Designate(CTermAnalysis::RoleColumn, 1);
    term.Designations().Designate(CTermAnalysis::RoleLength, 3);
    term.Designations().Designate(CTermAnalysis::RoleDefinition, 4);
    term.SetExcludeFirstRow(true);
    ASSERT_TRUE(term.BuildTargets().ok);

    EXPECT_EQ(term.TargetOrder(), (QStringList{u"고객명"_s, u"주문금액"_s}));
    const TermAnalysisTarget* name = term.Target(u"고객명"_s);
    ASSERT_NE(name, nullptr);
    // The later row overwrites; a designated empty cell overwrites too.
    EXPECT_EQ(name->strColumn, u"CUST_NAME"_s);
    EXPECT_EQ(name->strType, u"VARCHAR"_s);
    EXPECT_EQ(name->strLength, u"80"_s);
    EXPECT_EQ(name->strDefinition, QString());
    EXPECT_EQ(name->strDisplayType, u"VARCHAR(80)"_s);
    const TermAnalysisTarget* amount = term.Target(u"주문금액"_s);
    ASSERT_NE(amount, nullptr);
    // The length column is designated, so its empty cell replaces the parsed 15.
    EXPECT_EQ(amount->strType, u"NUMERIC"_s);
    EXPECT_EQ(amount->strLength, QString());
    EXPECT_EQ(amount->strScale, u"2"_s);
    EXPECT_EQ(amount->strDisplayType, u"NUMERIC"_s);
}

class TermAnalysisTest : public ::testing::TestWithParam<const char*>
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
        m_term.SetAreaId(u"A1"_s);
        CTermAnalysis::DomainLookup real = CTermAnalysis::RepositoryDomainLookup();
        m_term.SetDomainLookup([this, real](const QString& area, const QStringList& candidates, const QString& type,
                                            const QString& length, const QString& scale,
                                            CTermAnalysis::DomainPairs& found) {
            m_lookups.append(candidates.join(u'|') + u'/' + type + u'/' + length + u'/' + scale);
            return real(area, candidates, type, length, scale, found);
        });
        CAnalyzeSettings::Instance().analyze_sort_result = 0;
        CAnalyzeSettings::Instance().term_analy_with_synonym = 0;
    }
    void TearDown() override { m_repo.Close(); }

    const TermTargetResult& ResultOf(const QString& name)
    {
        const TermTargetResult* r = m_term.Result(name);
        static const TermTargetResult none;
        EXPECT_NE(r, nullptr) << name.toStdString();
        return r ? *r : none;
    }
    static QStringList WordTexts(const TermTargetResult& r)
    {
        QStringList out;
        for (const TermWordResult& w : r.words)
            out.append(w.word);
        return out;
    }

    SettingsGuard m_guard;
    TermRepository m_repo;
    CTermAnalysis m_term;
    QStringList m_lookups;
};

TEST_P(TermAnalysisTest, WordsStatusAndDomains)
{
    m_term.SetTargets(
        {MakeTarget(u"고객주문번호"_s, u"VARCHAR"_s, u"30"_s, u"CUST_ORD_NO"_s),
         MakeTarget(u"고객번호"_s, u"VARCHAR"_s, u"10"_s), MakeTarget(u"고객XX번호"_s, u"VARCHAR"_s, u"20"_s),
         MakeTarget(u"고객주문"_s, u"VARCHAR"_s, u"30"_s), MakeTarget(u"가나다"_s, u"VARCHAR"_s, u"30"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_term.Mode(), CTermAnalysis::ModeResult);
    ASSERT_EQ(m_term.Results().size(), 5u);

    // Candidate key domain names from the last word on; the last pair of the hits wins,
    // which is a domain of the shortest candidate (the gateway reports it last).
    const TermTargetResult& order = ResultOf(u"고객주문번호"_s);
    EXPECT_EQ(WordTexts(order), (QStringList{u"고객"_s, u"주문"_s, u"번호"_s}));
    // Candidates that are no key domain of the area are not sent.
    EXPECT_EQ(m_lookups.value(0), u"번호|주문번호/VARCHAR/30/"_s);
    EXPECT_EQ(m_term.Target(u"고객주문번호"_s)->strDomainId, u"D04"_s);
    EXPECT_EQ(order.row.texts[5], u"번호VC30"_s);
    EXPECT_EQ(order.row.images[5], eTermImageFound);
    EXPECT_EQ(order.status, eTermImageAction);
    EXPECT_EQ(order.row.texts[6], u"번호"_s);
    EXPECT_EQ(order.row.images[4], eTermImageReanalyze);
    EXPECT_EQ(order.physicalName, u"CUST_ORD_NO"_s);
    EXPECT_EQ(m_term.Target(u"고객주문번호"_s)->listWordIds, (QStringList{u"W01"_s, u"W02"_s, u"W03"_s}));

    // A registered term: the service's domain, no lookup, word rows from its physical name.
    const TermTargetResult& registered = ResultOf(u"고객번호"_s);
    EXPECT_TRUE(registered.registered);
    EXPECT_EQ(registered.status, eTermImageRegistered);
    EXPECT_EQ(m_term.Target(u"고객번호"_s)->strDomainId, u"D01"_s);
    EXPECT_EQ(WordTexts(registered), (QStringList{u"CUST"_s, u"NO"_s}));
    ASSERT_EQ(registered.wordRows.size(), 2u);
    EXPECT_EQ(registered.wordRows[0].texts[0], u"고객"_s);
    for (const QString& l : m_lookups)
        EXPECT_FALSE(l.startsWith(u"번호|고객번호"_s));

    // A word that is not found: its row, "(?)" in the physical name, no complete status.
    const TermTargetResult& missing = ResultOf(u"고객XX번호"_s);
    ASSERT_EQ(missing.wordRows.size(), 3u);
    EXPECT_EQ(missing.wordRows[1].texts[0], u"XX"_s);
    EXPECT_EQ(missing.wordRows[1].images[0], eTermImageMissing);
    EXPECT_EQ(missing.wordRows[1].images[2], eTermImageAction);
    EXPECT_EQ(missing.physicalName, u"CUST_(?)_NO"_s);
    EXPECT_EQ(missing.fullName, u"CUST_(XX)_NUMBER"_s);
    EXPECT_EQ(missing.status, eTermImageWarning);
    EXPECT_EQ(m_term.Target(u"고객XX번호"_s)->strDomainId, u"D01"_s);

    // The last word is no class word: marks on the word row; no domain makes the target 1.
    const TermTargetResult& notClass = ResultOf(u"고객주문"_s);
    ASSERT_EQ(notClass.wordRows.size(), 2u);
    EXPECT_EQ(notClass.wordRows[1].images[0], eTermImageWarning);
    EXPECT_EQ(notClass.wordRows[1].images[6], eTermImageAction);
    EXPECT_EQ(notClass.wordRows[1].texts[6], u"N"_s);
    EXPECT_FALSE(notClass.hasDomain);
    EXPECT_EQ(notClass.row.images[5], eTermImageAction);
    EXPECT_EQ(notClass.status, eTermImageWarning);

    const TermTargetResult& unknown = ResultOf(u"가나다"_s);
    ASSERT_EQ(unknown.wordRows.size(), 1u);
    EXPECT_EQ(unknown.wordRows[0].images[0], eTermImageMissing);
    EXPECT_EQ(unknown.status, eTermImageWarning);

    // "등록 용어 제외" hides the registered term with its word rows.
    m_term.SetExcludeRegistered(true);
    int hidden = 0;
    for (const AnalysisRow& row : m_term.Rows())
        hidden += row.hidden ? 1 : 0;
    EXPECT_EQ(hidden, 3);
    EXPECT_EQ(m_term.TargetListCaption(), u"대상 목록 (5)"_s);
}

TEST_P(TermAnalysisTest, CandidateKeyDomainNamesInOrder)
{
    EXPECT_EQ(CTermAnalysis::CandidateKeyDomainNames({u"고객"_s, u"주문"_s, u"번호"_s}),
              (QStringList{u"번호"_s, u"주문번호"_s, u"고객주문번호"_s}));
    EXPECT_EQ(CTermAnalysis::CandidateKeyDomainNames({u"명"_s}), QStringList{u"명"_s});
    EXPECT_TRUE(CTermAnalysis::CandidateKeyDomainNames({}).isEmpty());

    // Without the key-domain filter every candidate goes to the gateway, with the same result.
    m_term.SetKeyDomainSource(nullptr);
    m_term.SetTargets(
        {MakeTarget(u"고객주문번호"_s, u"VARCHAR"_s, u"30"_s), MakeTarget(u"고객XX"_s, u"VARCHAR"_s, u"30"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_lookups, (QStringList{u"번호|주문번호|고객주문번호/VARCHAR/30/"_s, u"XX|고객XX/VARCHAR/30/"_s}));
    EXPECT_EQ(m_term.Target(u"고객주문번호"_s)->strDomainId, u"D04"_s);
}

TEST_P(TermAnalysisTest, SynonymRename)
{
    const std::vector<TermAnalysisTarget> targets = {MakeTarget(u"손님주문번호"_s, u"VARCHAR"_s, u"30"_s),
                                                     MakeTarget(u"손님XX번호"_s, u"VARCHAR"_s, u"30"_s),
                                                     MakeTarget(u"CUST주문번호"_s, u"VARCHAR"_s, u"30"_s)};
    m_term.SetTargets(targets);
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_term.TargetOrder(), (QStringList{u"손님주문번호"_s, u"손님XX번호"_s, u"CUST주문번호"_s}));
    const TermTargetResult& synonym = ResultOf(u"손님주문번호"_s);
    ASSERT_FALSE(synonym.words.empty());
    EXPECT_FALSE(synonym.words[0].standard);
    EXPECT_EQ(synonym.words[0].standardName, u"고객"_s);
    EXPECT_EQ(m_term.Target(u"손님주문번호"_s)->listRelations.value(0), u"손님=W01"_s);

    CAnalyzeSettings::Instance().term_analy_with_synonym = 1;
    m_term.SetTargets(targets);
    ASSERT_TRUE(m_term.Analyze().ok);
    // Synonyms and physical names are renamed to the standard words; a missing word keeps the name.
    EXPECT_EQ(m_term.TargetOrder(), (QStringList{u"고객주문번호"_s, u"손님XX번호"_s}));
    EXPECT_EQ(ResultOf(u"고객주문번호"_s).row.texts[0], u"고객주문번호"_s);
    EXPECT_EQ(ResultOf(u"고객주문번호"_s).words[0].word, u"고객"_s);
    EXPECT_EQ(m_term.Results().size(), 2u);
}

// A class word filed under another domain class finds that class's domains, and a synonym of
// a class word ends a name as that class word: reported as non-standard, never as "분류어 아님".
TEST_P(TermAnalysisTest, DomainClassesAndSynonymsOfClassWords)
{
    m_repo.AddWord(u"A1"_s, u"W20"_s, u"제목"_s, u"TTL"_s, true);
    m_repo.Exec(u"UPDATE STD_DIC SET DOM_ID = 'D02' WHERE DIC_ID = 'W20'"_s); // 명VC100: class 명
    m_repo.AddWord(u"A1"_s, u"W21"_s, u"이름"_s, u"NM"_s, false, false);
    // The lookup leaves a scale of 0 out: of 금액DEC15,2, 금액DEC15 and 금액DEC15,4 the one
    // without a scale is NUMERIC(15)'s, wherever the database lists it.
    m_repo.AddDomain(u"A1"_s, u"D06"_s, u"금액"_s, u"금액DEC15"_s, u"NUMERIC"_s, 15, 0);
    m_repo.AddDomain(u"A1"_s, u"D07"_s, u"금액"_s, u"금액DEC15,4"_s, u"NUMERIC"_s, 15, 4);
    ASSERT_TRUE(m_repo.m_errors.isEmpty()) << m_repo.m_errors.join(u'\n').toStdString();
    m_term.SetTargets(
        {MakeTarget(u"고객제목"_s, u"VARCHAR"_s, u"100"_s), MakeTarget(u"고객이름"_s, u"VARCHAR"_s, u"100"_s),
         MakeTarget(u"주문제목"_s, u"VARCHAR"_s, u"7"_s), MakeTarget(u"고객금액"_s, u"NUMERIC"_s, u"15"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(ResultOf(u"고객금액"_s).row.texts[5], u"금액DEC15"_s);

    const TermTargetResult& title = ResultOf(u"고객제목"_s);
    EXPECT_EQ(title.row.texts[5], u"명VC100"_s);
    EXPECT_EQ(title.status, eTermImageAction);
    EXPECT_TRUE(title.Conforming());
    EXPECT_EQ(m_lookups.value(0), u"명/VARCHAR/100/"_s);

    const TermTargetResult& name = ResultOf(u"고객이름"_s);
    ASSERT_EQ(name.wordRows.size(), 2u);
    EXPECT_EQ(name.wordRows[1].images[0], eTermImageFound); // no "분류어 등록" for a synonym
    EXPECT_EQ(name.wordRows[1].images[6], eTermImageNone);
    EXPECT_EQ(name.row.texts[6], u"명"_s);
    EXPECT_EQ(name.row.texts[5], u"명VC100"_s);
    EXPECT_EQ(name.status, eTermImageWarning); // complete but for the non-standard word
    EXPECT_FALSE(name.Conforming());

    // "도메인 등록" proposes the domain under the class word's domain class.
    _stAnalyzeManageDomain proposal;
    ASSERT_TRUE(m_term.DomainProposal(u"주문제목"_s, proposal));
    EXPECT_EQ(proposal.strKeyDomainName, u"명"_s);
    EXPECT_EQ(proposal.strDomainName, u"명VC7"_s);
    EXPECT_EQ(m_term.RelatedAfterDomainRegistration(u"고객제목"_s, u"명"_s, u"VARCHAR(7)"_s),
              (QStringList{u"고객제목"_s, u"주문제목"_s}));
}

TEST_P(TermAnalysisTest, HandChosenDomain)
{
    m_term.SetTargets({MakeTarget(u"고객주문명"_s, u"VARCHAR"_s, u"100"_s),
                       MakeTarget(u"고객XX"_s, u"VARCHAR"_s, u"10"_s),
                       MakeTarget(u"고객번호"_s, u"VARCHAR"_s, u"10"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_term.Target(u"고객주문명"_s)->strDomainId, u"D02"_s);
    EXPECT_FALSE(ResultOf(u"고객XX"_s).hasDomain);

    ASSERT_TRUE(m_term.ChooseDomain(u"고객XX"_s, u"수기도메인"_s, u"DX"_s));
    ASSERT_TRUE(m_term.ChooseDomain(u"고객번호"_s, u"수기도메인"_s, u"DX"_s));
    EXPECT_EQ(ResultOf(u"고객XX"_s).row.texts[5], u"수기도메인"_s);
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_term.Target(u"고객XX"_s)->strDomainId, u"DX"_s);
    EXPECT_EQ(ResultOf(u"고객XX"_s).row.images[5], eTermImageFound);
    // The registered term's own domain comes first.
    EXPECT_EQ(m_term.Target(u"고객번호"_s)->strDomainId, u"D01"_s);

    // A looked-up domain is not carried to a new name: 고객주문번호 of length 100 has none.
    EXPECT_EQ(m_term.RenameTarget(u"고객주문명"_s, u"고객주문번호1"_s), u"고객주문번호"_s);
    EXPECT_EQ(m_term.Target(u"고객주문명"_s), nullptr);
    EXPECT_EQ(m_term.Target(u"고객주문번호"_s)->strDomainId, QString());
    EXPECT_EQ(ResultOf(u"고객주문번호"_s).row.texts[0], u"고객주문번호"_s);
    EXPECT_EQ(m_term.Results().size(), 3u);
}

TEST_P(TermAnalysisTest, ReanalysisAfterRegistration)
{
    m_term.SetTargets({MakeTarget(u"고객XX번호"_s, u"VARCHAR"_s, u"20"_s),
                       MakeTarget(u"주문XX"_s, u"VARCHAR"_s, u"20"_s), MakeTarget(u"고객주문"_s, u"VARCHAR"_s, u"20"_s),
                       MakeTarget(u"주문명"_s, u"VARCHAR"_s, u"20"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    EXPECT_EQ(m_term.RelatedAfterWordRegistration(u"고객XX번호"_s, u"XX"_s),
              (QStringList{u"고객XX번호"_s, u"주문XX"_s}));
    EXPECT_EQ(m_term.RelatedAfterClassWordRegistration(u"고객주문"_s, u"ORD"_s),
              (QStringList{u"고객주문"_s, u"주문XX"_s, u"주문명"_s}));
    EXPECT_EQ(m_term.RelatedAfterDomainRegistration(u"주문명"_s, u"주문"_s, u"VARCHAR(20)"_s),
              (QStringList{u"주문명"_s, u"고객주문"_s}));

    m_repo.AddWord(u"A1"_s, u"W20"_s, u"XX"_s, u"XX"_s, false);
    m_term.OnWordRegistered(u"고객XX번호"_s, u"XX"_s);
    EXPECT_TRUE(ResultOf(u"고객XX번호"_s).allFound);
    EXPECT_EQ(ResultOf(u"고객XX번호"_s).status, eTermImageAction);
    EXPECT_EQ(ResultOf(u"주문XX"_s).status, eTermImageWarning); // found now, but no class word and no domain
    EXPECT_TRUE(ResultOf(u"주문XX"_s).allFound);

    m_repo.Exec(u"UPDATE STD_DIC SET ATTR_CLSS_YN = 'Y' WHERE DIC_ID = 'W02'"_s);
    m_repo.AddDomain(u"A1"_s, u"D09"_s, u"주문"_s, u"주문VC20"_s, u"VARCHAR"_s, 20, 0);
    m_term.OnClassWordRegistered(u"고객주문"_s, u"ORD"_s);
    EXPECT_EQ(ResultOf(u"고객주문"_s).status, eTermImageAction);
    EXPECT_EQ(m_term.Target(u"고객주문"_s)->strDomainId, u"D09"_s);
    EXPECT_EQ(m_term.Results().size(), 4u);
    ASSERT_TRUE(m_repo.m_errors.isEmpty()) << m_repo.m_errors.join(u'\n').toStdString();
}

TEST_P(TermAnalysisTest, ExportAndJson)
{
    m_term.SetTargets({MakeTarget(u"주문번호"_s, u"VARCHAR"_s, u"30"_s, u"ORD_NO"_s),
                       MakeTarget(u"고객번호"_s, u"VARCHAR"_s, u"20"_s, u"CUST_NO"_s)});
    ASSERT_TRUE(m_term.Analyze().ok);
    const std::vector<QStringList> rows = m_term.ExportRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (QStringList{u"고객번호"_s, u"CUST_NO"_s, u"고객,번호"_s, u"번호VC20"_s}));
    EXPECT_EQ(rows[1], (QStringList{u"주문번호"_s, u"ORD_NO"_s, u"주문,번호"_s, u"번호VC30"_s}));

    _stAnalyzeManageTerm proposal;
    ASSERT_TRUE(m_term.TermProposal(u"주문번호"_s, proposal));
    EXPECT_EQ(proposal.strPhysicalName, u"ORD_NO"_s);
    EXPECT_EQ(proposal.strDomainId, u"D04"_s);
    EXPECT_EQ(proposal.listWordIds, (QStringList{u"W02"_s, u"W03"_s}));
    _stAnalyzeManageDomain domain;
    ASSERT_TRUE(m_term.DomainProposal(u"주문번호"_s, domain));
    EXPECT_EQ(domain.strKeyDomainName, u"번호"_s);
    EXPECT_EQ(domain.strDomainName, u"번호VC30"_s);
    ASSERT_EQ(domain.vecWords.size(), 1u);
    EXPECT_EQ(domain.vecWords[0].strWordId, u"W03"_s);
    EXPECT_FALSE(m_term.TermProposal(u"없음"_s, proposal));

    const QJsonObject json = m_term.ToJson();
    EXPECT_EQ(json[u"kind"_s].toString(), u"term"_s);
    const QJsonArray targets = json[u"targets"_s].toArray();
    ASSERT_EQ(targets.size(), 2);
    const QJsonObject first = targets[0].toObject();
    EXPECT_EQ(first[u"name"_s].toString(), u"주문번호"_s);
    EXPECT_EQ(first[u"status"_s].toInt(), eTermImageAction);
    EXPECT_EQ(first[u"domainId"_s].toString(), u"D04"_s);
    const QJsonArray words = first[u"words"_s].toArray();
    ASSERT_EQ(words.size(), 2);
    EXPECT_TRUE(words[1].toObject()[u"classWord"_s].toBool());
    EXPECT_TRUE(words[1].toObject()[u"standard"_s].toBool());
    EXPECT_TRUE(targets[1].toObject()[u"registered"_s].toBool());
}

TEST_P(TermAnalysisTest, CancelledRunKeepsDoneTargets)
{
    auto progress = std::make_unique<CSilentProgress>();
    progress->m_cancelAfter = 2;
    CQrProgressWnd::SetBackend(std::move(progress));
    m_term.SetTargets({MakeTarget(u"고객명"_s, u"VARCHAR"_s, u"100"_s), MakeTarget(u"주문명"_s, u"VARCHAR"_s, u"100"_s),
                       MakeTarget(u"주문번호"_s, u"VARCHAR"_s, u"30"_s)});
    const CTermAnalysis::RunResult run = m_term.Analyze();
    CQrProgressWnd::SetBackend(nullptr);
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(m_term.Results().size(), 2u);
    EXPECT_EQ(m_term.Mode(), CTermAnalysis::ModeResult);
    EXPECT_EQ(IServiceLayer::theServiceLayer, nullptr);
}

// Latin words in any case are the standard's words and terms: "권한 ID" and "권한 id" get one
// verdict, "ip 주소" is the term IP주소; words stay as written, and a run of letters is one word.
TEST_P(TermAnalysisTest, LatinWordsInAnyCase)
{
    const QString a = u"A1"_s;
    m_repo.AddWord(a, u"W20"_s, u"아이디"_s, u"ID"_s, true);
    m_repo.AddWord(a, u"W21"_s, u"ID"_s, u"ID"_s, true, false); // the standard's synonym of 아이디
    m_repo.AddWord(a, u"W22"_s, u"권한"_s, u"AUTH"_s, false);
    m_repo.AddWord(a, u"W23"_s, u"주소"_s, u"ADDR"_s, true);
    m_repo.AddWord(a, u"W24"_s, u"IP"_s, u"IP"_s, false);
    m_repo.AddWord(a, u"W25"_s, u"URL"_s, u"URL"_s, false);
    m_repo.AddDomain(a, u"D06"_s, u"주소"_s, u"주소V200"_s, u"VARCHAR"_s, 200, 0);
    m_repo.AddDomain(a, u"D07"_s, u"아이디"_s, u"아이디V20"_s, u"VARCHAR"_s, 20, 0);
    m_repo.AddTerm(a, u"T02"_s, u"IP주소"_s, u"IP_ADDR"_s, u"D06"_s);
    m_repo.AddTerm(a, u"T03"_s, u"URL주소"_s, u"URL_ADDR"_s, u"D06"_s);
    ASSERT_TRUE(m_repo.m_errors.isEmpty()) << m_repo.m_errors.join(u'\n').toStdString();
    m_term.SetTargets({MakeTarget(u"권한 ID"_s, u"VARCHAR"_s, u"20"_s), MakeTarget(u"권한 id"_s, u"VARCHAR"_s, u"20"_s),
                       MakeTarget(u"권한 Id"_s, u"VARCHAR"_s, u"20"_s),
                       MakeTarget(u"ip 주소"_s, u"VARCHAR"_s, u"200"_s),
                       MakeTarget(u"url 주소"_s, u"VARCHAR"_s, u"200"_s), MakeTarget(u"권한UUID"_s, u"UUID"_s, {})});
    ASSERT_TRUE(m_term.Analyze().ok);

    const TermTargetResult& upper = ResultOf(u"권한 ID"_s);
    ASSERT_EQ(upper.words.size(), 2u);
    EXPECT_EQ(upper.words[1].standardName, u"아이디"_s);
    EXPECT_TRUE(upper.hasDomain);
    for (const QString& name : {u"권한 id"_s, u"권한 Id"_s}) {
        const TermTargetResult& other = ResultOf(name);
        ASSERT_EQ(other.words.size(), 2u) << name.toStdString();
        EXPECT_EQ(other.words[1].word, name.right(2));
        EXPECT_EQ(other.words[1].id, u"W21"_s);
        EXPECT_EQ(other.status, upper.status) << name.toStdString();
        EXPECT_EQ(other.hasDomain, upper.hasDomain) << name.toStdString();
        EXPECT_EQ(m_term.Target(name)->strDomainId, m_term.Target(u"권한 ID"_s)->strDomainId);
    }
    for (const QString& name : {u"ip 주소"_s, u"url 주소"_s}) {
        const TermTargetResult& term = ResultOf(name);
        EXPECT_TRUE(term.registered) << name.toStdString();
        EXPECT_EQ(term.status, eTermImageRegistered) << name.toStdString();
        EXPECT_EQ(m_term.Target(name)->strDomainId, u"D06"_s);
    }
    // A Latin run is one word: UUID is unknown, not UU + the synonym ID.
    const TermTargetResult& uuid = ResultOf(u"권한UUID"_s);
    ASSERT_EQ(uuid.words.size(), 2u);
    EXPECT_EQ(uuid.words[1].word, u"UUID"_s);
    EXPECT_FALSE(uuid.words[1].found);
}

INSTANTIATE_TEST_SUITE_P(Repository, TermAnalysisTest, ::testing::Values("sqlite", "postgres"));

} // namespace

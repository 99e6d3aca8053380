// Registration of standards: the route choice, the proposal request body and the direct
// route through the gateway, on SQLite and PostgreSQL.
#include "repository/RepoTestDb.h"
#include "support/TestSupport.h"

#include "registration/MetaWebRequest.h"
#include "registration/StandardRegisterForm.h"
#include "registration/StandardRegistration.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const QString kArea = QStringLiteral("AREA1");

_stAnalyzeManageWord MakeWord(const QString& logical, const QString& physical, const QString& description = {})
{
    _stAnalyzeManageWord word;
    word.strLogicalName = logical;
    word.strPhysicalName = physical;
    word.strDescription = description;
    return word;
}

TEST(MetaWebBodyTest, DatasPerModeKeepKeyOrderAndValueRules)
{
    MetaWebRequest word;
    word.mode = eMetaWebWord;
    word.word = MakeWord(QStringLiteral("고객"), QStringLiteral("CUST"));
    word.word.nClassWord = 0;

    MetaWebRequest classWord = word;
    classWord.mode = eMetaWebClassWord;
    classWord.word.strWordId = QStringLiteral("W1");
    classWord.word.strPhyFullName = QStringLiteral("CUSTOMER");
    classWord.word.strDescription = QStringLiteral("say \"hi\"\n");
    classWord.word.nClassWord = 1;
    classWord.word.nStandard = 0;

    MetaWebRequest domain;
    domain.mode = eMetaWebDomain;
    domain.domain.strKeyDomainName = QStringLiteral("고객번호");
    domain.domain.strDomainName = QStringLiteral("고객번호V10");
    domain.domain.strDataType = QStringLiteral("VARCHAR");
    domain.domain.strLength = QStringLiteral("10");
    domain.domain.strExtra = QStringLiteral("정의");
    domain.domain.vecWords = {MakeWord(QStringLiteral("고객"), QStringLiteral("CUST")),
                              MakeWord(QStringLiteral("번호"), QStringLiteral("NO"))};
    MetaWebRequest domainMap;
    domainMap.mode = eMetaWebDomainMap;
    domainMap.domains[QStringLiteral("번호")][QStringLiteral("번호V10")] = domain.domain;

    MetaWebRequest term;
    term.mode = eMetaWebTerm;
    term.term.strLogicalName = QStringLiteral("고객번호");
    term.term.strPhysicalName = QStringLiteral("CUST_NO");
    term.term.strDomainId = QStringLiteral("D1");
    term.term.listWordIds = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

    const struct
    {
        const MetaWebRequest& request;
        const char* datas;
    } cases[] = {
        {word, R"([{"REQ_GBN_CD":"0001","WORD_LOG_NM":"고객","WORD_PHY_NM":"CUST","WORD_PHY_FLL_NM":"CUST",)"
               R"("WORD_DESC":"고객","ATTR_CLSS_YN":"N","STD_YN":"Y"}])"},
        {classWord, R"([{"WORD_ID":"W1","REQ_GBN_CD":"0002","WORD_LOG_NM":"고객","WORD_PHY_NM":"CUST",)"
                    R"("WORD_PHY_FLL_NM":"CUSTOMER","WORD_DESC":"say \"hi\"\n","ATTR_CLSS_YN":"Y","STD_YN":"N"}])"},
        {domain, R"([{"REQ_GBN_CD":"0001","KEY_DOM_NM":"고객번호","DOM_NM":"고객번호V10","DOM_DESC":"정의",)"
                 R"("DATA_TYPE_CD":"VARCHAR","DATA_LEN":"10","DATA_SCALE":"","DOM_GRP_NM":"분석",)"
                 R"("TERM_COMP_NMS":"고객 번호"}])"},
        {domainMap, R"([{"REQ_GBN_CD":"0001","KEY_DOM_NM":"번호","DOM_NM":"번호V10","DATA_TYPE_CD":"VARCHAR",)"
                    R"("DATA_LEN":"10","DATA_SCALE":"","DOM_GRP_NM":"분석","TERM_COMP_NMS":"고객 번호"}])"},
        {term, R"([{"REQ_GBN_CD":"0001","TERM_LOG_NM":"고객번호","TERM_PHY_NM":"CUST_NO","TERM_DESC":"",)"
               R"("TERM_COMP_IDS":"A/B/C","DOM_ID":"D1"}])"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.mode);
        const QString datas = MetaWebBody::BuildDatas(c.request);
        EXPECT_EQ(datas, QString::fromUtf8(c.datas));
        QJsonParseError error;
        QJsonDocument::fromJson(datas.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << "valid JSON";
    }
}

TEST(StandardRouteTest, WebOnlyWithSwitchAndAddress)
{
    const struct
    {
        int flag;
        const char* address;
        bool web;
    } cases[] = {{1, "http://h/p", true}, {0, "http://h/p", false}, {1, "", false}, {1, "   ", false}, {2, "x", true}};
    for (const auto& c : cases)
        EXPECT_EQ(StandardRegistration::IsWebRoute(c.flag, QString::fromUtf8(c.address)), c.web) << c.address;
}

TEST(StandardRegisterFormTest, DomainNameAndNumberFields)
{
    TempDataDir data;
    CAnalyzeSettings::DestroyInstance();
    const QString keyword = CAnalyzeSettings::Instance().GetDataTypeAbbreviation(QStringLiteral("VARCHAR"));
    ASSERT_NE(keyword, QStringLiteral("VARCHAR")) << "the table has a keyword for VARCHAR";
    const struct
    {
        const char* type;
        const char* length;
        const char* scale;
        QString name;
    } cases[] = {
        {"VARCHAR", "10", "", QStringLiteral("번호") + keyword + QStringLiteral("10")},
        {"VARCHAR", "10", "2", QStringLiteral("번호") + keyword + QStringLiteral("10,2")},
        {"VARCHAR", "", "2", QStringLiteral("번호") + keyword},
        {"NOSUCHTYPE", "5", "", QStringLiteral("번호NOSUCHTYPE5")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandardRegisterForm::GenerateDomainName(QStringLiteral("번호"), QString::fromLatin1(c.type),
                                                           QString::fromLatin1(c.length), QString::fromLatin1(c.scale)),
                  c.name);
    EXPECT_EQ(StandardRegisterForm::NumberField(QStringLiteral("(10)")), QStringLiteral("10"));
    EXPECT_EQ(StandardRegisterForm::NumberField(QStringLiteral(" [ 7 ] ")), QStringLiteral("7"));
    EXPECT_EQ(StandardRegisterForm::NumberField(QStringLiteral("")), QStringLiteral(""));
    CAnalyzeSettings::DestroyInstance();
}

class Registration : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        Connect();
        StandardRegistration::SetProposalHook([this](const MetaWebRequest& request) {
            proposals.push_back(request);
            return proposalAnswer;
        });
    }
    void TearDown() override
    {
        StandardRegistration::SetProposalHook({});
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        settings.word_request = settings.domain_request = settings.term_request = 0;
    }
    void Connect()
    {
        QString error;
        ASSERT_TRUE(CRepositoryConnection::Instance().Open(repo.Uri(), &error)) << error.toStdString();
        CRepositoryConnection::Instance().OnRepositoryConnected();
    }
    // Proposal pages for every kind; true when the connection took them up (the server
    // dialects read them, SQLite never does).
    bool PublishProposalPages()
    {
        repo.Exec(QStringLiteral("DELETE FROM ZT_OPTIONS"));
        for (const char* id : {"Standard.WordProposalURL", "Standard.DomainProposalURL", "Standard.TermProposalURL"})
            repo.Exec(
                QStringLiteral("INSERT INTO ZT_OPTIONS (OPTN_ID, OPTN_VAL, OPTN_VALID_YN) VALUES (?, ?, 'Y')"),
                {SqlParam::Text(QString::fromLatin1(id)), SqlParam::Text(QStringLiteral("http://127.0.0.1:9/p"))});
        CRepositoryConnection::Instance().OnRepositoryConnected();
        return CAnalyzeSettings::Instance().domain_request != 0;
    }
    void DirectRoute()
    {
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        settings.word_request = settings.domain_request = settings.term_request = 0;
    }
    int Count(const QString& sql) { return repo.Count(sql); }

    TempDataDir data;
    TestRepository repo;
    std::vector<MetaWebRequest> proposals;
    bool proposalAnswer = true;
};

TEST_P(Registration, DirectRouteWritesThroughTheGateway)
{
    DirectRoute();
    WordIndex noWords;
    DomainIndex noDomains;
    EXPECT_FALSE(GlobalFunc::InsertStandardWord(kArea, noWords));
    EXPECT_FALSE(GlobalFunc::InsertStandardDomain(kArea, noDomains));
    EXPECT_FALSE(GlobalFunc::UpdateStandardClassWord(kArea, QString()));

    _stAnalyzeManageWord word = MakeWord(QStringLiteral("고객"), QStringLiteral("CUST"));
    EXPECT_FALSE(GlobalFunc::InsertStandardWord(QString(), word)) << "no area, nothing written";
    ASSERT_TRUE(GlobalFunc::InsertStandardWord(kArea, word));
    EXPECT_FALSE(word.strWordId.isEmpty());
    EXPECT_TRUE(repo.Gate().SelectStandardWord(kArea, word));

    WordIndex words;
    words[QStringLiteral("NO")][QStringLiteral("번호")] = _stAnalyzeManageWord();
    words[QStringLiteral("NM")][QStringLiteral("명")] = _stAnalyzeManageWord();
    ASSERT_TRUE(GlobalFunc::InsertStandardWord(kArea, words));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_GBN_CD = '0001'")), 3);

    ASSERT_TRUE(GlobalFunc::UpdateStandardClassWord(kArea, word.strWordId));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE ATTR_CLSS_YN = 'Y'")), 1);

    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = QStringLiteral("번호");
    domain.strDomainName = QStringLiteral("번호V10");
    domain.strDataType = QStringLiteral("VARCHAR");
    domain.strLength = QStringLiteral("10");
    ASSERT_TRUE(GlobalFunc::InsertStandardDomain(kArea, domain));
    DomainIndex domains;
    domains[QStringLiteral("명")][QStringLiteral("명V100")] = domain;
    ASSERT_TRUE(GlobalFunc::InsertStandardDomain(kArea, domains));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM")), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM_GRP")), 1) << "one domain group per area";
    domain.strDomainName = QStringLiteral("번호V20");
    ASSERT_TRUE(GlobalFunc::InsertStandardDomain(QStringLiteral("AREA2"), domain));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM_GRP")), 2);

    _stAnalyzeManageTerm term;
    term.strLogicalName = QStringLiteral("고객번호");
    term.strPhysicalName = QStringLiteral("CUST_NO");
    term.strDomainId = domain.strDomainId;
    term.listWordIds = {word.strWordId, QStringLiteral("W2")};
    ASSERT_TRUE(GlobalFunc::InsertStandardTerm(kArea, term));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_GBN_CD = '0002'")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI WHERE TGT_GBN_CD = '0001'")), 2);
    EXPECT_TRUE(proposals.empty());

    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    EXPECT_FALSE(GlobalFunc::InsertStandardWord(kArea, word));
    EXPECT_FALSE(GlobalFunc::InsertStandardDomain(kArea, domain));
    EXPECT_FALSE(GlobalFunc::InsertStandardTerm(kArea, term));
    EXPECT_FALSE(GlobalFunc::UpdateStandardClassWord(kArea, word.strWordId));
}

TEST_P(Registration, ProposalPagesTakeServerRegistrationsToTheWeb)
{
    const bool web = PublishProposalPages();
    ASSERT_EQ(web, GetParam() == TestDialect::Postgresql);
    if (!web) {
        // The same options in an SQLite repository leave the direct route.
        _stAnalyzeManageDomain domain;
        domain.strKeyDomainName = QStringLiteral("번호");
        domain.strDomainName = QStringLiteral("번호V10");
        EXPECT_TRUE(GlobalFunc::InsertStandardDomain(kArea, domain));
        EXPECT_TRUE(proposals.empty());
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM")), 1);
        return;
    }

    // The web route proposes and writes nothing but the domain group.
    WordIndex noWords;
    EXPECT_FALSE(GlobalFunc::InsertStandardWord(kArea, noWords));
    EXPECT_TRUE(proposals.empty()) << "an empty map opens nothing";

    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = QStringLiteral("번호");
    domain.strDomainName = QStringLiteral("번호V10");
    proposalAnswer = false;
    EXPECT_FALSE(GlobalFunc::InsertStandardDomain(kArea, domain));
    proposalAnswer = true;
    EXPECT_TRUE(GlobalFunc::InsertStandardDomain(kArea, domain));
    ASSERT_EQ(proposals.size(), 2u);
    EXPECT_EQ(proposals[1].mode, int(eMetaWebDomain));
    EXPECT_EQ(proposals[1].url, QStringLiteral("http://127.0.0.1:9/p"));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM_GRP")), 1) << "created once, on the web route too";
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM")), 0);

    // The class-word change proposes the word as the repository holds it.
    _stAnalyzeManageWord word = MakeWord(QStringLiteral("번호"), QStringLiteral("NO"));
    ASSERT_TRUE(repo.Gate().InsertStandardWordRow(kArea, QString(), word));
    EXPECT_FALSE(GlobalFunc::UpdateStandardClassWord(kArea, QStringLiteral("missing")));
    ASSERT_TRUE(GlobalFunc::UpdateStandardClassWord(kArea, word.strWordId));
    EXPECT_EQ(proposals.back().mode, int(eMetaWebClassWord));
    EXPECT_EQ(proposals.back().word.strPhysicalName, QStringLiteral("NO"));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE ATTR_CLSS_YN = 'Y'")), 0);

    StandardRegistration::SetProposalHook({});
    _stAnalyzeManageTerm term;
    EXPECT_FALSE(GlobalFunc::InsertStandardTerm(kArea, term)) << "no dialog installed: not registered";
}

TEST_P(Registration, TheFormRefusesWhatIsRegisteredAndStoresLengthDigits)
{
    DirectRoute();
    using StandardRegisterForm::Outcome;
    _stAnalyzeManageWord word = MakeWord(QStringLiteral("고객"), QStringLiteral("CUST"));
    EXPECT_EQ(StandardRegisterForm::RegisterWord(kArea, word).kind, Outcome::Registered);
    _stAnalyzeManageWord again = MakeWord(QStringLiteral("고객"), QStringLiteral("CUST"));
    const Outcome second = StandardRegisterForm::RegisterWord(kArea, again);
    EXPECT_EQ(second.kind, Outcome::Refused);
    EXPECT_EQ(second.message, RegisterTexts::kWordExists);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 1) << "the second attempt writes nothing";
    _stAnalyzeManageWord nameless = MakeWord(QString(), QStringLiteral("X"));
    EXPECT_EQ(StandardRegisterForm::RegisterWord(kArea, nameless).message, RegisterTexts::kNeedWordNames);

    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = QStringLiteral("번호");
    domain.strDomainName = QStringLiteral("번호V10");
    domain.strDataType = QStringLiteral("VARCHAR");
    domain.strLength = QStringLiteral("(10)");
    EXPECT_EQ(StandardRegisterForm::RegisterDomain(kArea, domain).kind, Outcome::Registered);
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DATA_LEN FROM STD_DOM")), QStringList{QStringLiteral("10")});
    EXPECT_EQ(StandardRegisterForm::RegisterDomain(kArea, domain).message, RegisterTexts::kDomainExists);

    _stAnalyzeManageTerm term;
    term.strLogicalName = QStringLiteral("고객번호");
    term.strPhysicalName = QStringLiteral("CUST_NO");
    EXPECT_EQ(StandardRegisterForm::RegisterTerm(kArea, term).kind, Outcome::Registered);
    EXPECT_EQ(StandardRegisterForm::RegisterTerm(kArea, term).message, RegisterTexts::kTermExists);
}

TEST_P(Registration, DomainWordsAreCheckedWhenTheSettingAsks)
{
    DirectRoute();
    CAnalyzeSettings::Instance().domain_use_words = 1;
    using StandardRegisterForm::Outcome;
    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = QStringLiteral("등급");
    domain.strDomainName = QStringLiteral("등급CH1");
    domain.strDataType = QStringLiteral("CHAR");
    domain.strLength = QStringLiteral("1");
    const Outcome missing = StandardRegisterForm::RegisterDomain(kArea, domain);
    EXPECT_EQ(missing.kind, Outcome::Refused);
    EXPECT_TRUE(missing.message.contains(QStringLiteral("등급"))) << missing.message.toStdString();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM")), 0);

    _stAnalyzeManageWord word = MakeWord(QStringLiteral("등급"), QStringLiteral("GRD"));
    word.nClassWord = 1;
    ASSERT_TRUE(GlobalFunc::InsertStandardWord(kArea, word));
    EXPECT_EQ(StandardRegisterForm::RegisterDomain(kArea, domain).kind, Outcome::Registered);
    ASSERT_EQ(domain.vecWords.size(), 1u) << "the analysed words become the combination";
    EXPECT_EQ(domain.vecWords[0].strWordId, word.strWordId);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 1);
    CAnalyzeSettings::Instance().domain_use_words = 0;
}

INSTANTIATE_TEST_SUITE_P(Dialects, Registration, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

} // namespace

// Every gateway operation against a real SQLite file and a real PostgreSQL server.
#include "RepoTestDb.h"

#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"

#include <gtest/gtest.h>

namespace {

const QString kArea = QStringLiteral("AREA1");
const QString kNow = QStringLiteral("20240101000000");
const QString kCur = QStringLiteral("99991231235959");

class GateOperations : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override { OPEN_TEST_REPOSITORY(repo, GetParam()); }
    void TearDown() override { CAnalyzeSettings::Instance().domain_use_words = 0; }

    void AddWord(const QString& id, const QString& logical, const QString& physical, const QString& classYn = {},
                 const QString& standardYn = QStringLiteral("Y"), const QString& end = kCur,
                 const QString& area = kArea)
    {
        repo.Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, "
                                 "DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '0001')"),
                  {SqlParam::Text(area), SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(kNow),
                   SqlParam::Text(logical), SqlParam::Text(physical), SqlParam::Text(physical + QStringLiteral("_F")),
                   SqlParam::Text(logical + QStringLiteral(" 설명")), SqlParam::Text(classYn),
                   SqlParam::Text(standardYn)});
    }
    void AddDomain(const QString& id, const QString& key, const QString& name, const QString& type, const QString& len,
                   const QString& scale, const QString& end = kCur)
    {
        repo.Exec(QStringLiteral("INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, AVAL_ST_DT, KEY_DOM_NM, "
                                 "DOM_NM, DOM_TYPE_CD, DATA_TYPE_CD, DATA_LEN, DATA_SCALE) VALUES (?, ?, ?, ?, ?, ?, "
                                 "'0001', ?, ?, ?)"),
                  {SqlParam::Text(kArea), SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(kNow),
                   SqlParam::Text(key), SqlParam::Text(name), SqlParam::Text(QrDatatype::GetLogicalDatatypeId(type)),
                   SqlParam::Text(len), SqlParam::Text(scale)});
    }

    TestRepository repo;
};

_stAnalyzeManageWord Word(const QString& full, const QString& desc, int standard)
{
    _stAnalyzeManageWord w;
    w.strPhyFullName = full;
    w.strDescription = desc;
    w.nStandard = standard;
    return w;
}

TEST_P(GateOperations, AnalyzeWordsMergeUpdatesExistingAndInsertsNew)
{
    CSqlBaseGate& gate = repo.Gate();
    WordIndex first;
    first[QStringLiteral("CUST")][QStringLiteral("고객")] = Word(QStringLiteral("Customer"), QStringLiteral("손님"), 1);
    first[QStringLiteral("CUST")][QStringLiteral("손님")] = Word({}, {}, 0);
    first[QStringLiteral("NO")][QStringLiteral("번호")] = Word(QStringLiteral("Number"), QString(4000, u'가'), 1);
    ASSERT_TRUE(gate.MergeAnalyzeWords(first));

    WordIndex second; // changes one existing pair, adds one
    second[QStringLiteral("CUST")][QStringLiteral("고객")] =
        Word(QStringLiteral("Client"), QStringLiteral("고객님"), 0);
    second[QStringLiteral("ORD")][QStringLiteral("주문")] = Word(QStringLiteral("Order"), {}, 1);
    ASSERT_TRUE(gate.MergeAnalyzeWords(second));

    WordIndex read;
    read[QStringLiteral("OLD")][QStringLiteral("옛")] = Word(QStringLiteral("stays"), {}, 1);
    ASSERT_TRUE(gate.SelectAnalyzeWords(read));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_WORD")), 4);
    ASSERT_EQ(read.size(), 4u); // what was in the map stays
    const _stAnalyzeManageWord& cust = read[QStringLiteral("CUST")][QStringLiteral("고객")];
    EXPECT_EQ(cust.strPhyFullName, QStringLiteral("Client"));
    EXPECT_EQ(cust.strDescription, QStringLiteral("고객님"));
    EXPECT_EQ(cust.nStandard, 0);
    EXPECT_FALSE(cust.strAuthority.isEmpty());
    EXPECT_TRUE(cust.strLogicalName.isEmpty()) << "names live in the keys";
    EXPECT_EQ(read[QStringLiteral("CUST")][QStringLiteral("손님")].nStandard, 0);
    EXPECT_EQ(read[QStringLiteral("NO")][QStringLiteral("번호")].strDescription.size(), 4000);
    EXPECT_EQ(read[QStringLiteral("ORD")][QStringLiteral("주문")].nStandard, 1);
    // The program writes 'Y' or an empty value, never 'N'.
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT WORD_STD_YN FROM STD_ANLY_WORD WHERE WORD_LOG_NM = '손님'")),
              QStringList{QString()});

    WordIndex remove;
    remove[QStringLiteral("CUST")][QStringLiteral("고객")];
    remove[QStringLiteral("NO")][QStringLiteral("없음")]; // not there: nothing happens
    EXPECT_TRUE(gate.DeleteAnalyzeWords(remove));
    EXPECT_TRUE(gate.DeleteAnalyzeWords({}));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT WORD_LOG_NM FROM STD_ANLY_WORD ORDER BY WORD_PHY_NM, WORD_LOG_NM")),
              (QStringList{QStringLiteral("손님"), QStringLiteral("번호"), QStringLiteral("주문")}));
}

TEST_P(GateOperations, AnalyzeDomainsMergeAndDelete)
{
    CSqlBaseGate& gate = repo.Gate();
    auto domain = [](const QString& type, const QString& len, const QString& scale) {
        _stAnalyzeManageDomain d;
        d.strDataType = type;
        d.strLength = len;
        d.strScale = scale;
        return d;
    };
    DomainIndex first;
    first[QStringLiteral("금액")][QStringLiteral("금액DEC15")] = domain(QStringLiteral("NUMERIC"), "15", "");
    first[QStringLiteral("명")][QStringLiteral("명VC100")] = domain(QStringLiteral("VARCHAR"), "100", "");
    ASSERT_TRUE(gate.MergeAnalyzeDomains(first));
    DomainIndex second;
    second[QStringLiteral("금액")][QStringLiteral("금액DEC15")] = domain(QStringLiteral("NUMERIC"), "18", "2");
    second[QStringLiteral("일자")][QStringLiteral("일자DT")] = domain(QStringLiteral("DATE"), "", "");
    ASSERT_TRUE(gate.MergeAnalyzeDomains(second));

    DomainIndex read;
    ASSERT_TRUE(gate.SelectAnalyzeDomains(read));
    ASSERT_EQ(read.size(), 3u);
    const _stAnalyzeManageDomain& amount = read[QStringLiteral("금액")][QStringLiteral("금액DEC15")];
    EXPECT_EQ(amount.strLength, QStringLiteral("18"));
    EXPECT_EQ(amount.strScale, QStringLiteral("2"));
    EXPECT_FALSE(amount.strAuthority.isEmpty());
    EXPECT_TRUE(read[QStringLiteral("일자")][QStringLiteral("일자DT")].strLength.isEmpty());

    DomainIndex remove;
    remove[QStringLiteral("금액")][QStringLiteral("금액DEC15")];
    EXPECT_TRUE(gate.DeleteAnalyzeDomains(remove));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_DOMAIN")), 2);
}

TEST_P(GateOperations, ExclusionsAreKeptApartByKind)
{
    CSqlBaseGate& gate = repo.Gate();
    ASSERT_TRUE(gate.InsertExceptWords({QStringLiteral("의"), QStringLiteral("및")}));
    ASSERT_TRUE(gate.InsertExceptDomains({QStringLiteral("임시"), QStringLiteral("의")}));
    ExceptNameMap words, domains;
    ASSERT_TRUE(gate.SelectExceptWords(words));
    ASSERT_TRUE(gate.SelectExceptDomains(domains));
    ASSERT_EQ(words.size(), 2u);
    ASSERT_EQ(domains.size(), 2u);
    EXPECT_TRUE(words.count(QStringLiteral("및")) && domains.count(QStringLiteral("임시")));
    EXPECT_FALSE(words[QStringLiteral("의")].isEmpty()) << "authority is the computer name";

    // Deleting an excluded word leaves the excluded domain of the same name.
    ASSERT_TRUE(gate.DeleteExceptWords({QStringLiteral("의")}));
    words.clear();
    domains.clear();
    gate.SelectExceptWords(words);
    gate.SelectExceptDomains(domains);
    EXPECT_EQ(words.size(), 1u);
    EXPECT_TRUE(domains.count(QStringLiteral("의")));

    // A name already excluded is refused by the key and reported, not silently doubled.
    OutputLogCapture log;
    EXPECT_FALSE(gate.InsertExceptWords({QStringLiteral("및")}));
    EXPECT_FALSE(log.lines.isEmpty());
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_EXCEPT WHERE EXCEPT_CD = '0001'")), 1);
}

TEST_P(GateOperations, StandardAreasAndNames)
{
    CSqlBaseGate& gate = repo.Gate();
    auto area = [&](const QString& id, const QString& name, const SqlParam& parent, const QString& end = kCur) {
        repo.Exec(QStringLiteral("INSERT INTO STD_AREA (STD_AREA_ID, AVAL_END_DT, STD_AREA_NM, UP_STD_AREA_ID) "
                                 "VALUES (?, ?, ?, ?)"),
                  {SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(name), parent});
    };
    area(QStringLiteral("R1"), QStringLiteral("전사"), SqlParam::Null());
    area(QStringLiteral("C1"), QStringLiteral("금융"), SqlParam::Text(QStringLiteral("R1")));
    area(QStringLiteral("G1"), QStringLiteral("여신"), SqlParam::Text(QStringLiteral("C1")));
    area(QStringLiteral("R2"), QStringLiteral("공공"), SqlParam::Text(QStringLiteral("")));
    area(QStringLiteral("X1"), QStringLiteral("폐기"), SqlParam::Null(), QStringLiteral("20200101000000"));
    area(QStringLiteral("O1"), QStringLiteral("고아"), SqlParam::Text(QStringLiteral("NOPE")));

    StandardAreaMap areas;
    ASSERT_TRUE(gate.SelectStandardAreas(areas));
    StandardAreaMap expected{{QStringLiteral("전사"), QStringLiteral("R1")},
                             {QStringLiteral("금융"), QStringLiteral("C1")},
                             {QStringLiteral("여신"), QStringLiteral("G1")},
                             {QStringLiteral("공공"), QStringLiteral("R2")}};
    // The flat SQLite list has every current area; the hierarchy starts at the roots, so an
    // area under a missing parent does not appear.
    if (GetParam() == TestDialect::Sqlite)
        expected[QStringLiteral("고아")] = QStringLiteral("O1");
    EXPECT_EQ(areas, expected);

    QString name = QStringLiteral("unchanged");
    EXPECT_FALSE(gate.SelectStandardAreaName(QString(), name));
    EXPECT_EQ(name, QStringLiteral("unchanged"));
    EXPECT_FALSE(gate.SelectStandardAreaName(QStringLiteral("X1"), name)) << "expired area";
    EXPECT_TRUE(gate.SelectStandardAreaName(QStringLiteral("G1"), name));
    EXPECT_EQ(name, QStringLiteral("여신"));
}

TEST_P(GateOperations, CurrentDateTimeIsFourteenDigits)
{
    QString now;
    ASSERT_TRUE(repo.Gate().SelectCurrentDateTime(now));
    EXPECT_EQ(now.size(), 14);
    EXPECT_TRUE(now.startsWith(QStringLiteral("20"))) << now.toStdString();
    bool digits = false;
    now.toLongLong(&digits);
    EXPECT_TRUE(digits);
}

TEST_P(GateOperations, OptionUrls)
{
    auto option = [&](const QString& id, const QString& value, const QString& valid = QStringLiteral("Y")) {
        repo.Exec(QStringLiteral("INSERT INTO ZT_OPTIONS (OPTN_ID, OPTN_VAL, OPTN_VALID_YN) VALUES (?, ?, ?)"),
                  {SqlParam::Text(id), SqlParam::Text(value), SqlParam::Text(valid)});
    };
    option(QStringLiteral("Meta.Common.URL"), QStringLiteral("http://meta:8080"));
    option(QStringLiteral("Standard.WordProposalURL"), QStringLiteral("/word.do"));
    option(QStringLiteral("Standard.DomainProposalURL"), QStringLiteral("HTTPS://Other/Domain.do"));
    option(QStringLiteral("Standard.TermProposalURL"), QStringLiteral(""));
    option(QStringLiteral("Standard.CodeProposalURL"), QStringLiteral("/code.do"), QStringLiteral("N"));

    struct Case
    {
        const char* option;
        const char* url;
    };
    const Case cases[] = {
        {"Standard.WordProposalURL", "http://meta:8080/word.do"},  // relative: appended, no separator
        {"Standard.DomainProposalURL", "HTTPS://Other/Domain.do"}, // absolute in capitals: unchanged
        {"Standard.TermProposalURL", ""},                          // empty value: no page
        {"Standard.CodeProposalURL", ""},                          // not valid: no page
    };
    for (const Case& c : cases) {
        QString url = QStringLiteral("stale");
        const bool ok = repo.Gate().SelectOptionUrls(QString::fromUtf8(c.option), url);
        if (GetParam() == TestDialect::Sqlite) {
            EXPECT_FALSE(ok) << "SQLite repositories have no proposal pages";
            continue;
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(url, QString::fromUtf8(c.url)) << c.option;
    }
}

TEST_P(GateOperations, StandardWordLookups)
{
    CSqlBaseGate& gate = repo.Gate();
    AddWord(QStringLiteral("W1"), QStringLiteral("고객"), QStringLiteral("CUST"));
    AddWord(QStringLiteral("W1"), QStringLiteral("고객"), QStringLiteral("CSTMR"), {}, QStringLiteral("Y"),
            QStringLiteral("20231231235959")); // an expired version
    AddWord(QStringLiteral("W2"), QStringLiteral("번호"), QStringLiteral("NO"), QStringLiteral("Y"));
    AddWord(QStringLiteral("W3"), QStringLiteral("손님"), QStringLiteral("CUST"), {}, QStringLiteral(""));
    AddWord(QStringLiteral("W4"), QStringLiteral("주문"), QStringLiteral("ORD"), {}, QStringLiteral("Y"), kCur,
            QStringLiteral("AREA2"));

    _stAnalyzeManageWord w;
    w.strPhysicalName = QStringLiteral("CUST");
    w.strLogicalName = QStringLiteral("고객");
    EXPECT_TRUE(gate.SelectStandardWord(kArea, w));
    w.strPhysicalName = QStringLiteral("CSTMR");
    EXPECT_FALSE(gate.SelectStandardWord(kArea, w)) << "expired rows are not standards";
    EXPECT_TRUE(gate.SelectStandardWordsByLogicalName(kArea, QStringLiteral("손님")));
    EXPECT_FALSE(gate.SelectStandardWordsByLogicalName(kArea, QStringLiteral("주문"))) << "other area";
    EXPECT_FALSE(gate.SelectStandardTermsByLogicalName(kArea, QStringLiteral("고객"))) << "a word is no term";

    _stAnalyzeManageWord byId;
    byId.strWordId = QStringLiteral("W2");
    ASSERT_TRUE(gate.SelectStandardWordById(kArea, byId));
    EXPECT_EQ(byId.strLogicalName, QStringLiteral("번호"));
    EXPECT_EQ(byId.strPhyFullName, QStringLiteral("NO_F"));
    EXPECT_EQ(byId.nClassWord, 1);
    EXPECT_EQ(byId.nStandard, 1);
    byId.strWordId = QStringLiteral("W3");
    ASSERT_TRUE(gate.SelectStandardWordById(kArea, byId));
    EXPECT_EQ(byId.nClassWord, 0);
    EXPECT_EQ(byId.nStandard, 0);
    byId.strWordId = QStringLiteral("W4");
    EXPECT_FALSE(gate.SelectStandardWordById(kArea, byId));

    ASSERT_TRUE(gate.UpdateStandardClassWordFlag(kArea, QStringLiteral("W1")));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT ATTR_CLSS_YN, AVAL_END_DT FROM STD_DIC WHERE DIC_ID = 'W1' ORDER BY "
                                       "AVAL_END_DT")),
              (QStringList{QStringLiteral("|20231231235959"), QStringLiteral("Y|99991231235959")}))
        << "only the current row changes";
}

TEST_P(GateOperations, StandardDomainsAndLookupByKey)
{
    CSqlBaseGate& gate = repo.Gate();
    AddDomain(QStringLiteral("D1"), QStringLiteral("번호"), QStringLiteral("번호VC20"), QStringLiteral("VARCHAR"), "20",
              "");
    AddDomain(QStringLiteral("D2"), QStringLiteral("번호"), QStringLiteral("번호VC50"), QStringLiteral("VARCHAR"), "50",
              "");
    AddDomain(QStringLiteral("D3"), QStringLiteral("번호"), QStringLiteral("번호DEC10"), QStringLiteral("NUMERIC"),
              "10", "");
    AddDomain(QStringLiteral("D4"), QStringLiteral("전화번호"), QStringLiteral("전화번호VC20"),
              QStringLiteral("VARCHAR"), "20", "");
    AddDomain(QStringLiteral("D5"), QStringLiteral("금액"), QStringLiteral("금액DEC18,2"), QStringLiteral("NUMERIC"),
              "18", "2");
    AddDomain(QStringLiteral("D6"), QStringLiteral("금액"), QStringLiteral("금액DEC15"), QStringLiteral("NUMERIC"),
              "15", "");
    AddDomain(QStringLiteral("D7"), QStringLiteral("번호"), QStringLiteral("번호VC30"), QStringLiteral("VARCHAR"), "30",
              "", QStringLiteral("20231231235959"));

    std::vector<_stAnalyzeManageDomain> all;
    ASSERT_TRUE(gate.SelectStandardDomains(kArea, all));
    QStringList names;
    for (const auto& d : all)
        names << d.strDomainName + u'/' + d.strDataType;
    // Ordered by key domain name, then domain name; the type id comes back as its name.
    EXPECT_EQ(names, (QStringList{QStringLiteral("금액DEC15/NUMERIC"), QStringLiteral("금액DEC18,2/NUMERIC"),
                                  QStringLiteral("번호DEC10/NUMERIC"), QStringLiteral("번호VC20/VARCHAR"),
                                  QStringLiteral("번호VC50/VARCHAR"), QStringLiteral("전화번호VC20/VARCHAR")}));

    struct Case
    {
        QStringList candidates;
        const char* type;
        const char* length;
        const char* scale;
        QStringList expected; // DOM_NM in result order
    };
    const Case cases[] = {
        // Last candidate first; results of all candidates accumulate.
        {{QStringLiteral("번호"), QStringLiteral("전화번호")},
         "VARCHAR",
         "20",
         "0",
         {QStringLiteral("전화번호VC20"), QStringLiteral("번호VC20")}},
        // Length and scale 0: neither condition, every VARCHAR 번호 domain.
        {{QStringLiteral("번호")}, "VARCHAR", "0", "0", {QStringLiteral("번호VC20"), QStringLiteral("번호VC50")}},
        {{QStringLiteral("번호")}, "VARCHAR", "", "", {QStringLiteral("번호VC20"), QStringLiteral("번호VC50")}},
        // Only the scale given: the scale condition alone.
        {{QStringLiteral("금액")}, "NUMERIC", "0", "2", {QStringLiteral("금액DEC18,2")}},
        {{QStringLiteral("금액")}, "NUMERIC", "15", "", {QStringLiteral("금액DEC15")}},
        {{QStringLiteral("금액")}, "NUMERIC", "15", "2", {}},
        {{QStringLiteral("없음")}, "VARCHAR", "20", "", {}},
        {{}, "VARCHAR", "20", "", {}},
    };
    for (const Case& c : cases) {
        DomainHitList found;
        EXPECT_TRUE(gate.SelectStandardDomainsByKey(kArea, c.candidates, QString::fromUtf8(c.type),
                                                    QString::fromUtf8(c.length), QString::fromUtf8(c.scale), found));
        QStringList got;
        for (const auto& [name, id] : found)
            got << name;
        EXPECT_EQ(got, c.expected) << c.candidates.join(u',').toStdString() << " " << c.length << "," << c.scale;
    }

    _stAnalyzeManageDomain d;
    d.strKeyDomainName = QStringLiteral("번호");
    d.strDomainName = QStringLiteral("번호VC50");
    ASSERT_TRUE(gate.SelectStandardDomain(kArea, d));
    EXPECT_EQ(d.strDomainId, QStringLiteral("D2"));
    d.strDomainName = QStringLiteral("번호VC30");
    EXPECT_FALSE(gate.SelectStandardDomain(kArea, d)) << "expired";

    DomainFlagMap flags;
    EXPECT_FALSE(gate.MarkExistingStandardDomains(kArea, flags));
    flags[QStringLiteral("번호")][QStringLiteral("번호VC20")] = false;
    flags[QStringLiteral("번호")][QStringLiteral("번호VC99")] = false;
    flags[QStringLiteral("금액")][QStringLiteral("금액DEC15")] = false;
    ASSERT_TRUE(gate.MarkExistingStandardDomains(kArea, flags));
    EXPECT_TRUE(flags[QStringLiteral("번호")][QStringLiteral("번호VC20")]);
    EXPECT_FALSE(flags[QStringLiteral("번호")][QStringLiteral("번호VC99")]);
    EXPECT_TRUE(flags[QStringLiteral("금액")][QStringLiteral("금액DEC15")]);
}

TEST_P(GateOperations, AnalyzeDomainGroup)
{
    CSqlBaseGate& gate = repo.Gate();
    EXPECT_FALSE(gate.ExistsAnalyzeDomainGroup(kArea));
    ASSERT_TRUE(gate.InsertAnalyzeDomainGroup(kArea));
    EXPECT_TRUE(gate.ExistsAnalyzeDomainGroup(kArea));
    EXPECT_FALSE(gate.ExistsAnalyzeDomainGroup(QStringLiteral("AREA2")));
    const QStringList rows = repo.Rows(
        QStringLiteral("SELECT DOM_GRP_ID, DOM_GRP_NM, DOM_GRP_DESC, AVAL_END_DT, AVAL_ST_DT FROM STD_DOM_GRP"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(
        QStringLiteral("a1aaaaaa-b2bb-c3cc-d4dd-e5eeeeeeeeee|분석|분석 도메인그룹|99991231235959|")));
    EXPECT_EQ(rows[0].section(u'|', 4).size(), 14);
}

TEST_P(GateOperations, InsertStandardWordsFillsFallbacks)
{
    CSqlBaseGate& gate = repo.Gate();
    WordIndex words;
    _stAnalyzeManageWord bare; // no full name, no description, non-standard
    bare.nStandard = 0;
    words[QStringLiteral("CUST")][QStringLiteral("고객")] = bare;
    _stAnalyzeManageWord full;
    full.strPhyFullName = QStringLiteral("Number");
    full.strDescription = QStringLiteral("식별 번호");
    full.nClassWord = 1;
    words[QStringLiteral("NO")][QStringLiteral("번호")] = full;
    ASSERT_TRUE(gate.InsertStandardWords(kArea, words));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, "
                                       "STANDARD_YN, DIC_GBN_CD, AVAL_END_DT FROM STD_DIC ORDER BY DIC_PHY_NM")),
              (QStringList{QStringLiteral("고객|CUST|CUST|고객|||0001|99991231235959"),
                           QStringLiteral("번호|NO|Number|식별 번호|Y|Y|0001|99991231235959")}));
    // The records learn their names from the keys and their new ids.
    EXPECT_EQ(words[QStringLiteral("NO")][QStringLiteral("번호")].strLogicalName, QStringLiteral("번호"));
    EXPECT_FALSE(words[QStringLiteral("NO")][QStringLiteral("번호")].strWordId.isEmpty());
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(DISTINCT AVAL_ST_DT) FROM STD_DIC")), 1) << "one date";

    _stAnalyzeManageWord one;
    one.strLogicalName = QStringLiteral("주문");
    one.strPhysicalName = QStringLiteral("ORD");
    ASSERT_TRUE(gate.InsertStandardWordRow(kArea, QString(), one)); // reads the date itself
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_ID FROM STD_DIC WHERE DIC_PHY_NM = 'ORD'")),
              QStringList{one.strWordId});
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT AVAL_ST_DT FROM STD_DIC WHERE DIC_PHY_NM = 'ORD'")).value(0).size(), 14);
}

TEST_P(GateOperations, InsertStandardWordsRefusedRowLeavesNothing)
{
    // One row the server refuses: the batch is one transaction, so nothing of it stays, and the
    // call neither claims success nor counts a row.
    if (GetParam() == TestDialect::Sqlite)
        repo.Exec(QStringLiteral("CREATE TRIGGER REFUSE_BAD BEFORE INSERT ON STD_DIC WHEN NEW.DIC_PHY_NM = 'BAD' "
                                 "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    WordIndex words;
    words[QStringLiteral("BAD")][GetParam() == TestDialect::Sqlite ? QStringLiteral("나쁨") : QString(600, u'가')] =
        _stAnalyzeManageWord();
    words[QStringLiteral("AGOOD")][QStringLiteral("좋음")] = _stAnalyzeManageWord();
    OutputLogCapture log;
    EXPECT_FALSE(repo.Gate().InsertStandardWords(kArea, words));
    EXPECT_EQ(repo.Gate().LastWrittenCount(), 0);
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_PHY_NM FROM STD_DIC")), QStringList{});
    EXPECT_FALSE(log.lines.isEmpty());
}

TEST_P(GateOperations, InsertStandardDomainsWithAndWithoutWordCombinations)
{
    CSqlBaseGate& gate = repo.Gate();
    auto makeDomain = [] {
        _stAnalyzeManageDomain d;
        d.strDataType = QStringLiteral("VARCHAR");
        d.strLength = QStringLiteral("20");
        for (const auto& [id, phy] : {std::pair{"W1", "MBL"}, {"W2", "TEL"}, {"W3", "NO"}}) {
            _stAnalyzeManageWord w;
            w.strWordId = QString::fromUtf8(id);
            w.strPhysicalName = QString::fromUtf8(phy);
            d.vecWords.push_back(w);
        }
        return d;
    };
    for (int useWords : {0, 1}) {
        SCOPED_TRACE(useWords);
        repo.Exec(QStringLiteral("DELETE FROM STD_DOM"));
        repo.Exec(QStringLiteral("DELETE FROM STD_WORD_COMBI"));
        CAnalyzeSettings::Instance().domain_use_words = useWords;
        DomainIndex domains;
        domains[QStringLiteral("휴대전화번호")][QStringLiteral("휴대전화번호VC20")] = makeDomain();
        ASSERT_TRUE(gate.InsertStandardDomains(kArea, domains));
        const _stAnalyzeManageDomain& written =
            domains[QStringLiteral("휴대전화번호")][QStringLiteral("휴대전화번호VC20")];
        ASSERT_FALSE(written.strDomainId.isEmpty()) << "the caller sees the new id";
        EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DOM_ID, KEY_DOM_NM, DOM_NM, DOM_TYPE_CD, DATA_TYPE_CD, DATA_LEN, "
                                           "DOM_GRP_ID, KEY_DOM_PHY_NM FROM STD_DOM")),
                  QStringList{written.strDomainId + QStringLiteral("|휴대전화번호|휴대전화번호VC20|0003|") +
                              QrDatatype::GetLogicalDatatypeId(QStringLiteral("VARCHAR")) +
                              QStringLiteral("|20|a1aaaaaa-b2bb-c3cc-d4dd-e5eeeeeeeeee|MBL_TEL_NO")});
        const QStringList combos = repo.Rows(
            QStringLiteral("SELECT TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID FROM STD_WORD_COMBI ORDER BY ORDER_NO"));
        if (!useWords) {
            EXPECT_TRUE(combos.isEmpty());
            continue;
        }
        EXPECT_EQ(combos, (QStringList{written.strDomainId + QStringLiteral("|0004|0|W1"),
                                       written.strDomainId + QStringLiteral("|0004|1|W2"),
                                       written.strDomainId + QStringLiteral("|0004|2|W3")}));
    }
}

TEST_P(GateOperations, InsertStandardTermNumbersCombinationsFromOne)
{
    _stAnalyzeManageTerm term;
    term.strLogicalName = QStringLiteral("고객전화번호");
    term.strPhysicalName = QStringLiteral("CUST_TEL_NO");
    term.strDomainId = QStringLiteral("D4");
    term.listWordIds = {QStringLiteral("W1"), QStringLiteral("W2"), QStringLiteral("W3")};
    ASSERT_TRUE(repo.Gate().InsertStandardTermRow(kArea, term));
    const QStringList dic = repo.Rows(QStringLiteral(
        "SELECT DIC_ID, DIC_LOG_NM, DIC_PHY_NM, DIC_DESC, STANDARD_YN, DIC_GBN_CD, TERM_GBN_CD, DOM_ID, DOM_USE_YN "
        "FROM STD_DIC"));
    ASSERT_EQ(dic.size(), 1);
    const QString id = dic[0].section(u'|', 0, 0);
    EXPECT_EQ(dic[0].section(u'|', 1), QStringLiteral("고객전화번호|CUST_TEL_NO|고객전화번호|Y|0002|0001|D4|Y"));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID FROM STD_WORD_COMBI ORDER BY "
                                       "ORDER_NO")),
              (QStringList{id + QStringLiteral("|0001|1|W1"), id + QStringLiteral("|0001|2|W2"),
                           id + QStringLiteral("|0001|3|W3")}));
}

TEST_P(GateOperations, FailingCombinationRollsTheWholeTermBack)
{
    repo.InstallFailingCombinationTrigger();
    // An earlier term stays untouched by the failure of a later one.
    _stAnalyzeManageTerm good;
    good.strLogicalName = QStringLiteral("고객번호");
    good.strPhysicalName = QStringLiteral("CUST_NO");
    good.listWordIds = {QStringLiteral("W1"), QStringLiteral("W2")};
    ASSERT_TRUE(repo.Gate().InsertStandardTermRow(kArea, good));

    _stAnalyzeManageTerm bad = good;
    bad.strLogicalName = QStringLiteral("고객명");
    bad.strPhysicalName = QStringLiteral("CUST_NM");
    bad.listWordIds = {QStringLiteral("W1"), QStringLiteral("BROKEN"), QStringLiteral("W3")};
    OutputLogCapture log;
    EXPECT_FALSE(repo.Gate().InsertStandardTermRow(kArea, bad));
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_EQ(log.lines.first(), QStringLiteral("고객명 (CUST_NM) 용어 입력 실패"));
    EXPECT_TRUE(log.lines.join(u'\n').contains(QStringLiteral("broken word")));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_LOG_NM FROM STD_DIC")), QStringList{QStringLiteral("고객번호")});
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 2);

    // The connection is usable afterwards (no transaction left open).
    bad.listWordIds = {QStringLiteral("W1"), QStringLiteral("W3")};
    EXPECT_TRUE(repo.Gate().InsertStandardTermRow(kArea, bad));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI")), 4);
}

INSTANTIATE_TEST_SUITE_P(Dialects, GateOperations, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

} // namespace

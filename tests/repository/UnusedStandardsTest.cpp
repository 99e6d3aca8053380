// The unused-standard queries with rows that must and must not appear, on both servers.
#include "RepoTestDb.h"

#include "components/QrDatatype.h"

#include <gtest/gtest.h>

namespace {

const QString kArea = QStringLiteral("A1");
const QString kCur = QStringLiteral("99991231235959");
const QString kPast = QStringLiteral("20231231235959");

class UnusedStandards : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        Fixture();
    }

    void Dic(const QString& area, const QString& id, const QString& gbn, const QString& logical,
             const QString& physical, const QString& classYn, const QString& standardYn, const QString& end = kCur,
             const QString& domId = {})
    {
        repo.Exec(
            QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, DIC_LOG_NM, DIC_PHY_NM, "
                           "DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD, DOM_ID) VALUES (?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {SqlParam::Text(area), SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(logical),
             SqlParam::Text(physical), SqlParam::Text(physical + QStringLiteral(" FULL")),
             SqlParam::Text(logical + QStringLiteral(" 정의")), SqlParam::Text(classYn), SqlParam::Text(standardYn),
             SqlParam::Text(gbn), SqlParam::Text(domId)});
    }
    void Word(const QString& id, const QString& logical, const QString& physical, const QString& classYn = {},
              const QString& standardYn = QStringLiteral("Y"), const QString& end = kCur, const QString& area = kArea)
    {
        Dic(area, id, QStringLiteral("0001"), logical, physical, classYn, standardYn, end);
    }
    void Term(const QString& id, const QString& logical, const QString& domId,
              const QString& standardYn = QStringLiteral("Y"), const QString& end = kCur, const QString& area = kArea)
    {
        Dic(area, id, QStringLiteral("0002"), logical, id, {}, standardYn, end, domId);
    }
    void Combi(const QString& owner, const QString& kind, int order, const QString& word, const QString& end = kCur,
               const QString& area = kArea)
    {
        repo.Exec(QStringLiteral("INSERT INTO STD_WORD_COMBI (STD_AREA_ID, TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID, "
                                 "AVAL_END_DT) VALUES (?, ?, ?, ?, ?, ?)"),
                  {SqlParam::Text(area), SqlParam::Text(owner), SqlParam::Text(kind), SqlParam::Integer(order),
                   SqlParam::Text(word), SqlParam::Text(end)});
    }
    void Domain(const QString& id, const QString& key, const QString& name, const QString& end = kCur,
                const QString& area = kArea)
    {
        repo.Exec(QStringLiteral("INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, KEY_DOM_NM, DOM_NM, "
                                 "DATA_TYPE_CD, DATA_LEN, DATA_SCALE) VALUES (?, ?, ?, ?, ?, ?, '20', '')"),
                  {SqlParam::Text(area), SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(key),
                   SqlParam::Text(name), SqlParam::Text(QrDatatype::GetLogicalDatatypeId(QStringLiteral("VARCHAR")))});
    }
    void Model(const QString& id, const QString& system, const QString& end = kCur)
    {
        repo.Exec(QStringLiteral("INSERT INTO ZTM_MDL_INFO (MDL_ID, AVAL_END_DT, CLAS_SYST_ID) VALUES (?, ?, ?)"),
                  {SqlParam::Text(id), SqlParam::Text(end), SqlParam::Text(system)});
    }
    void Attribute(const QString& model, const QString& obj, int type, const SqlParam& link)
    {
        repo.Exec(QStringLiteral("INSERT INTO ZTM_ATTR_OBJ (MDL_ID, OBJ_ID, AVAL_END_DT, TYPE, TERM_LINK_ID) VALUES "
                                 "(?, ?, '99991231235959', ?, ?)"),
                  {SqlParam::Text(model), SqlParam::Text(obj), SqlParam::Integer(type), link});
    }
    void ModelTerm(const QString& model, const QString& termId)
    {
        repo.Exec(QStringLiteral("INSERT INTO ZTM_TERM (MDL_ID, TERM_ID, AVAL_END_DT, STD_CLAS_ID) VALUES (?, ?, "
                                 "'99991231235959', ?)"),
                  {SqlParam::Text(model), SqlParam::Text(model + termId), SqlParam::Text(termId)});
    }

    void Fixture()
    {
        // Words: W_USED is used by a term, W_DOM only by a domain combination.
        Word(QStringLiteral("W_USED"), QStringLiteral("고객"), QStringLiteral("CUST"));
        Word(QStringLiteral("W_DOM"), QStringLiteral("번호"), QStringLiteral("NO"), QStringLiteral("Y"));
        Word(QStringLiteral("W_FREE"), QStringLiteral("가격"), QStringLiteral("PRC"));
        Word(QStringLiteral("W_FREE2"), QStringLiteral("가격"), QStringLiteral("AMT")); // same name: by physical
        Word(QStringLiteral("W_NONSTD"), QStringLiteral("손님"), QStringLiteral("CUST"), {}, QStringLiteral(""));
        Word(QStringLiteral("W_OLD"), QStringLiteral("폐기"), QStringLiteral("DSCRD"), {}, QStringLiteral("Y"), kPast);
        Word(QStringLiteral("W_PASTCOMBI"), QStringLiteral("주문"), QStringLiteral("ORD"));
        Word(QStringLiteral("W_OTHERAREA"), QStringLiteral("상품"), QStringLiteral("PRDT"));
        // Class words: C_LAST ends a term, C_MID stands in the middle of one, C_DOM only in a domain.
        Word(QStringLiteral("C_LAST"), QStringLiteral("명"), QStringLiteral("NM"), QStringLiteral("Y"));
        Word(QStringLiteral("C_MID"), QStringLiteral("코드"), QStringLiteral("CD"), QStringLiteral("Y"));
        Word(QStringLiteral("C_FREE"), QStringLiteral("여부"), QStringLiteral("YN"), QStringLiteral("Y"));
        Word(QStringLiteral("C_NONSTD"), QStringLiteral("이름"), QStringLiteral("NM"), QStringLiteral("Y"),
             QStringLiteral(""));

        Combi(QStringLiteral("T_USED"), QStringLiteral("0001"), 1, QStringLiteral("W_USED"));
        Combi(QStringLiteral("T_USED"), QStringLiteral("0001"), 2, QStringLiteral("C_MID"));
        Combi(QStringLiteral("T_USED"), QStringLiteral("0001"), 3, QStringLiteral("C_LAST"));
        Combi(QStringLiteral("D_USED"), QStringLiteral("0004"), 0, QStringLiteral("W_DOM"));
        Combi(QStringLiteral("T_OLD"), QStringLiteral("0001"), 1, QStringLiteral("W_PASTCOMBI"), kPast);
        Combi(QStringLiteral("T_ELSE"), QStringLiteral("0001"), 1, QStringLiteral("W_OTHERAREA"), kCur,
              QStringLiteral("A2"));

        // Domains and the terms that use them.
        Domain(QStringLiteral("D_USED"), QStringLiteral("번호"), QStringLiteral("번호VC20"));
        Domain(QStringLiteral("D_NONSTD_TERM"), QStringLiteral("명"), QStringLiteral("명VC20"));
        Domain(QStringLiteral("D_OLD_TERM"), QStringLiteral("가격"), QStringLiteral("가격VC20"));
        Domain(QStringLiteral("D_FREE"), QStringLiteral("값"), QStringLiteral("값VC20"));
        Domain(QStringLiteral("D_EXPIRED"), QStringLiteral("값"), QStringLiteral("값VC10"), kPast);
        Term(QStringLiteral("T_USED"), QStringLiteral("고객코드명"), QStringLiteral("D_USED"));
        Term(QStringLiteral("T_FREE"), QStringLiteral("고객번호"), QStringLiteral("D_USED"));
        Term(QStringLiteral("T_NONSTD"), QStringLiteral("손님명"), QStringLiteral("D_NONSTD_TERM"), QStringLiteral(""));
        Term(QStringLiteral("T_OLDTERM"), QStringLiteral("옛가격"), QStringLiteral("D_OLD_TERM"), QStringLiteral("Y"),
             kPast);
        Term(QStringLiteral("T_OTHERSYS"), QStringLiteral("상품명"), QStringLiteral("D_USED"));
        Term(QStringLiteral("T_TYPE101"), QStringLiteral("주문명"), QStringLiteral("D_USED"));
        Term(QStringLiteral("T_NOLINK"), QStringLiteral("가격명"), QStringLiteral("D_USED"));
        Term(QStringLiteral("T_OLDMODEL"), QStringLiteral("여부명"), QStringLiteral("D_USED"));

        // Models: M1 of this area with a linked attribute makes all its terms used.
        Model(QStringLiteral("M1"), kArea);
        Attribute(QStringLiteral("M1"), QStringLiteral("O1"), 102, SqlParam::Text(QStringLiteral("T_USED")));
        ModelTerm(QStringLiteral("M1"), QStringLiteral("T_USED"));
        Model(QStringLiteral("M2"), QStringLiteral("A2")); // another classification system
        Attribute(QStringLiteral("M2"), QStringLiteral("O2"), 102, SqlParam::Text(QStringLiteral("T_OTHERSYS")));
        ModelTerm(QStringLiteral("M2"), QStringLiteral("T_OTHERSYS"));
        Model(QStringLiteral("M3"), kArea); // only an entity, no attribute
        Attribute(QStringLiteral("M3"), QStringLiteral("O3"), 101, SqlParam::Text(QStringLiteral("T_TYPE101")));
        ModelTerm(QStringLiteral("M3"), QStringLiteral("T_TYPE101"));
        Model(QStringLiteral("M4"), kArea); // an attribute without a term link
        Attribute(QStringLiteral("M4"), QStringLiteral("O4"), 102, SqlParam::Null());
        ModelTerm(QStringLiteral("M4"), QStringLiteral("T_NOLINK"));
        Model(QStringLiteral("M5"), kArea, kPast); // an expired model
        Attribute(QStringLiteral("M5"), QStringLiteral("O5"), 102, SqlParam::Text(QStringLiteral("T_OLDMODEL")));
        ModelTerm(QStringLiteral("M5"), QStringLiteral("T_OLDMODEL"));
    }

    TestRepository repo;
};

QStringList Names(const std::vector<_stAnalyzeManageWord>& words)
{
    QStringList names;
    for (const auto& w : words)
        names << w.strLogicalName + u'/' + w.strPhysicalName;
    return names;
}

TEST_P(UnusedStandards, Words)
{
    std::vector<_stAnalyzeManageWord> words;
    ASSERT_TRUE(repo.Gate().SelectUnusedStandardWords(kArea, words));
    // Listed: current standard words in no current combination of this area. A word used only
    // by a domain combination counts as used; ordered by logical, then physical name.
    EXPECT_EQ(Names(words),
              (QStringList{QStringLiteral("가격/AMT"), QStringLiteral("가격/PRC"), QStringLiteral("상품/PRDT"),
                           QStringLiteral("여부/YN"), QStringLiteral("주문/ORD")}));
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0].strPhyFullName, QStringLiteral("AMT FULL"));
    EXPECT_EQ(words[0].strDescription, QStringLiteral("가격 정의"));
    EXPECT_EQ(words[0].strWordId, QStringLiteral("W_FREE2"));
}

TEST_P(UnusedStandards, ClassWords)
{
    std::vector<_stAnalyzeManageWord> words;
    ASSERT_TRUE(repo.Gate().SelectUnusedClassWords(kArea, words));
    // A class word at any position of a current term combination is used; one used only by a
    // domain combination is listed here; the standard flag is not looked at.
    EXPECT_EQ(Names(words),
              (QStringList{QStringLiteral("번호/NO"), QStringLiteral("여부/YN"), QStringLiteral("이름/NM")}));
}

TEST_P(UnusedStandards, Terms)
{
    std::vector<_stAnalyzeManageTerm> terms;
    ASSERT_TRUE(repo.Gate().SelectUnusedStandardTerms(kArea, terms));
    QStringList names;
    for (const auto& t : terms)
        names << t.strLogicalName;
    EXPECT_EQ(names, (QStringList{QStringLiteral("가격명"), QStringLiteral("고객번호"), QStringLiteral("상품명"),
                                  QStringLiteral("여부명"), QStringLiteral("주문명")}));
    ASSERT_FALSE(terms.empty());
    EXPECT_EQ(terms[0].strPhysicalName, QStringLiteral("T_NOLINK"));
    EXPECT_EQ(terms[0].strDescription, QStringLiteral("가격명 정의"));

    // The same area id is the model's classification system: from A2's side, the M2 model
    // uses 상품명, but A2 holds no terms.
    terms.clear();
    ASSERT_TRUE(repo.Gate().SelectUnusedStandardTerms(QStringLiteral("A2"), terms));
    EXPECT_TRUE(terms.empty());
}

TEST_P(UnusedStandards, Domains)
{
    std::vector<_stAnalyzeManageDomain> domains;
    ASSERT_TRUE(repo.Gate().SelectUnusedStandardDomains(kArea, domains));
    QStringList names;
    for (const auto& d : domains)
        names << d.strKeyDomainName + u'/' + d.strDomainName + u'/' + d.strDataType + u'/' + d.strLength;
    // A domain counts as used only by a current standard term.
    EXPECT_EQ(names, (QStringList{QStringLiteral("가격/가격VC20/VARCHAR/20"), QStringLiteral("값/값VC20/VARCHAR/20"),
                                  QStringLiteral("명/명VC20/VARCHAR/20")}));
}

// An area whose every standard is in use lists nothing, beside one (A1) that lists some: a
// non-standard word, an ended word and an ended domain there are no unused standards either.
TEST_P(UnusedStandards, AnAreaWhoseStandardsAreAllUsedListsNothing)
{
    const QString full = QStringLiteral("FULL");
    Word(QStringLiteral("F_WORD"), QStringLiteral("회원"), QStringLiteral("MBR"), {}, QStringLiteral("Y"), kCur, full);
    Word(QStringLiteral("F_CLASS"), QStringLiteral("명"), QStringLiteral("NM"), QStringLiteral("Y"),
         QStringLiteral("Y"), kCur, full);
    Word(QStringLiteral("F_SYN"), QStringLiteral("이름"), QStringLiteral("NM"), {}, QString(), kCur, full);
    Word(QStringLiteral("F_OLD"), QStringLiteral("폐기"), QStringLiteral("DSCRD"), QStringLiteral("Y"),
         QStringLiteral("Y"), kPast, full);
    Domain(QStringLiteral("F_DOM"), QStringLiteral("명"), QStringLiteral("명VC100"), kCur, full);
    Domain(QStringLiteral("F_DOM_OLD"), QStringLiteral("명"), QStringLiteral("명VC5"), kPast, full);
    Term(QStringLiteral("F_TERM"), QStringLiteral("회원명"), QStringLiteral("F_DOM"), QStringLiteral("Y"), kCur, full);
    Combi(QStringLiteral("F_TERM"), QStringLiteral("0001"), 1, QStringLiteral("F_WORD"), kCur, full);
    Combi(QStringLiteral("F_TERM"), QStringLiteral("0001"), 2, QStringLiteral("F_CLASS"), kCur, full);
    Model(QStringLiteral("MF"), full);
    Attribute(QStringLiteral("MF"), QStringLiteral("OF"), 102, SqlParam::Text(QStringLiteral("F_TERM")));
    ModelTerm(QStringLiteral("MF"), QStringLiteral("F_TERM"));
    ASSERT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'FULL'")), 5);

    for (const QString& area : {full, kArea}) {
        std::vector<_stAnalyzeManageWord> words, classWords;
        std::vector<_stAnalyzeManageTerm> terms;
        std::vector<_stAnalyzeManageDomain> domains;
        ASSERT_TRUE(repo.Gate().SelectUnusedStandardWords(area, words));
        ASSERT_TRUE(repo.Gate().SelectUnusedClassWords(area, classWords));
        ASSERT_TRUE(repo.Gate().SelectUnusedStandardTerms(area, terms));
        ASSERT_TRUE(repo.Gate().SelectUnusedStandardDomains(area, domains));
        const bool none = words.empty() && classWords.empty() && terms.empty() && domains.empty();
        const bool all = !words.empty() && !classWords.empty() && !terms.empty() && !domains.empty();
        EXPECT_TRUE(area == full ? none : all) << area.toStdString() << ": " << Names(words).join(u',').toStdString()
                                               << " / " << Names(classWords).join(u',').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Dialects, UnusedStandards, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

} // namespace

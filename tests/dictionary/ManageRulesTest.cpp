// The rules of the management dialogs that callers rely on: saving the working copy, delete
// and search over the rows, the conflict answers and their texts, the automatic proposals.
#include "dictionary/DictionaryManage.h"
#include "dictionary/ManageTexts.h"
#include "dictionary/ShareSync.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

_stAnalyzeManageWord Word(const QString& full, const QString& desc, int standard = 1)
{
    _stAnalyzeManageWord w;
    w.strPhyFullName = full;
    w.strDescription = desc;
    w.nStandard = standard;
    return w;
}

} // namespace

TEST(ManageRules, SavingWordRowsRebuildsTheIndexAndEmptiesExcludedLogicalNames)
{
    CAnalyzeSettings d;
    d.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), Word(QStringLiteral("Customer"), {}, 0));
    d.AddWord(QStringLiteral("OLD"), QStringLiteral("옛"), Word({}, {}));
    d.AddExceptWord(QStringLiteral("번호"));
    d.AddExceptWord(QStringLiteral("의"));

    DictionaryManage::StoreWordRows(
        d, {{QStringLiteral("고객"), QStringLiteral("CUST"), QStringLiteral("Cust"), QStringLiteral("사는 사람")},
            {QStringLiteral("번호"), QStringLiteral("NO"), {}, {}},
            {QStringLiteral("빈"), {}, {}, {}},
            {{}, QStringLiteral("EMPTY"), {}, {}}});

    _stAnalyzeManageWord w;
    ASSERT_TRUE(d.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), w));
    EXPECT_EQ(w.strPhyFullName, QStringLiteral("Cust"));
    EXPECT_EQ(w.strDescription, QStringLiteral("사는 사람"));
    EXPECT_EQ(w.nStandard, 0) << "the grid shows no flag, so an existing word keeps it";
    ASSERT_TRUE(d.GetWord(QStringLiteral("NO"), QStringLiteral("번호"), w));
    EXPECT_EQ(w.nStandard, 1);
    EXPECT_FALSE(d.GetWord(QStringLiteral("OLD"), QStringLiteral("옛"), w)) << "a deleted row leaves the index";
    EXPECT_EQ(d.m_mapWordsByPhysical.size(), 2u) << "rows with an empty name are dropped";
    EXPECT_EQ(d.m_mapWordsByLogical.size(), 2u);
    EXPECT_EQ(d.m_setExceptWords, (std::set<QString>{QStringLiteral("의")}));

    // The excluded list refuses a logical name as well.
    DictionaryManage::StoreExceptWords(d, {QStringLiteral("고객"), QStringLiteral("및"), {}});
    EXPECT_EQ(d.m_setExceptWords, (std::set<QString>{QStringLiteral("및")}));
}

TEST(ManageRules, SavingDomainRowsKeepsTheLaterOfTwoRowsAndNeedsKeyNameAndType)
{
    CAnalyzeSettings d;
    d.AddExceptDomain(QStringLiteral("금액"));
    d.AddExceptDomain(QStringLiteral("비고"));
    DictionaryManage::StoreDomainRows(
        d, {{QStringLiteral("금액"), QStringLiteral("금액N15"), QStringLiteral("NUMBER"), QStringLiteral("15"), {}, {}},
            {QStringLiteral("금액"),
             QStringLiteral("금액N15"),
             QStringLiteral("NUMBER"),
             QStringLiteral("18"),
             QStringLiteral("2"),
             {}},
            {{}, QStringLiteral("이름V10"), QStringLiteral("VARCHAR"), QStringLiteral("10"), {}, {}},
            {QStringLiteral("명"), QStringLiteral("명V"), {}, {}, {}, {}}});
    ASSERT_EQ(d.m_mapDomains.size(), 1u);
    _stAnalyzeManageDomain dom;
    ASSERT_TRUE(d.GetDomain(QStringLiteral("금액"), QStringLiteral("금액N15"), dom));
    EXPECT_EQ(dom.strLength, QStringLiteral("18"));
    EXPECT_EQ(dom.strScale, QStringLiteral("2"));
    EXPECT_EQ(d.m_setExceptDomains, (std::set<QString>{QStringLiteral("비고")}));
}

TEST(ManageRules, DeleteGoesBottomUpAndSearchWraps)
{
    std::vector<ManageWordRow> rows = {{QStringLiteral("가"), QStringLiteral("GA"), {}, {}, true},
                                       {QStringLiteral("나"), {}, {}, {}, true},
                                       {QStringLiteral("다"), QStringLiteral("DA"), {}, {}, false},
                                       {QStringLiteral("라"), QStringLiteral("RA"), {}, {}, true}};
    EXPECT_EQ(DictionaryManage::RowsToDelete(rows), (std::vector<int>{3, 0}));

    const std::vector<QStringList> cells = {{QStringLiteral("고객"), QStringLiteral("cust")},
                                            {QStringLiteral("번호"), QStringLiteral("NO")},
                                            {QStringLiteral("고객번호"), QStringLiteral("CUST_NO")}};
    struct Case
    {
        QString text;
        int current;
        bool two;
        int row, col;
    } cases[] = {
        {QStringLiteral("고객"), 0, true, 2, 1},     // below the current row
        {QStringLiteral("고객"), 2, true, 0, 1},     // nothing below: wraps to the top
        {QStringLiteral("cust_"), -1, true, 2, 2},   // upper-cased, second column
        {QStringLiteral("cust"), -1, false, -1, -1}, // excluded mode: first column only
        {QStringLiteral("번호"), 1, true, 2, 1},
        {QStringLiteral("번호"), 2, true, 1, 1},
        {QString(), 0, true, -1, -1},
    };
    for (const Case& c : cases) {
        const auto hit = DictionaryManage::FindNext(cells, c.text, c.current, c.two);
        EXPECT_EQ(hit.row, c.row) << c.text.toStdString() << " from " << c.current;
        EXPECT_EQ(hit.column, c.col) << c.text.toStdString() << " from " << c.current;
    }
}

TEST(ManageRules, ConflictAnswerIsAskedOncePerConflictUntilRepeat)
{
    std::vector<ShareAnswer> answers = {{kPreferServer, false}, {kPreferLocal, true}, {kPreferServer, false}};
    size_t next = 0;
    CConflictResolver resolver([&](const ShareConflict&) { return answers[next++]; });
    const ShareConflict c;
    EXPECT_EQ(resolver.Resolve(c), kPreferServer);
    EXPECT_EQ(resolver.Resolve(c), kPreferLocal);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(resolver.Resolve(c), kPreferLocal);
    EXPECT_EQ(resolver.AskedCount(), 2);
}

TEST(ManageRules, ChoiceTextsCutDefinitionsAndShowDataTypes)
{
    ShareConflict c;
    c.first = QStringLiteral("CUST");
    c.second = QStringLiteral("고객");
    c.localWord =
        Word(QStringLiteral("Customer"), QStringLiteral("가나다라마바사아자차카타파하가나다라마바사아자차카"));
    c.serverWord = Word(QStringLiteral("Client"), QStringLiteral("짧은 정의"));
    ShareChoiceTexts t = ChoiceTexts(c);
    EXPECT_EQ(t.title, QStringLiteral("단어 다운로드"));
    EXPECT_EQ(t.instruction, QStringLiteral("CUST (고객)"));
    EXPECT_EQ(t.content, QStringLiteral("로컬 분석 단어 목록에 CUST (고객) 단어가 이미 존재합니다"));
    EXPECT_EQ(
        t.localLink,
        QStringLiteral("보류, 로컬 단어를 우선 사용합니다\nCustomer, 가나다라마바사아자차카타파하가나다라마바사아"));
    EXPECT_EQ(t.serverLink, QStringLiteral("다운로드, 서버 단어를 우선 사용합니다\nClient, 짧은 정의"));
    EXPECT_EQ(t.repeat, QStringLiteral("해당 동작을 계속 합니다"));

    c.direction = ShareDirection::Upload;
    c.kind = ShareKind::Domain;
    c.first = QStringLiteral("금액");
    c.second = QStringLiteral("금액N15,2");
    c.localDomain.strDataType = QStringLiteral("NUMBER");
    c.localDomain.strLength = QStringLiteral("15");
    c.localDomain.strScale = QStringLiteral("2");
    c.serverDomain.strDataType = QStringLiteral("NUMBER");
    c.serverDomain.strLength = QStringLiteral("18");
    t = ChoiceTexts(c);
    EXPECT_EQ(t.title, QStringLiteral("도메인 업로드"));
    EXPECT_EQ(t.content, QStringLiteral("서버 분석 도메인 목록에 금액 (금액N15,2) 도메인이 이미 존재합니다"));
    EXPECT_EQ(t.localLink, QStringLiteral("업로드, 로컬 도메인을 우선 사용합니다\nNUMBER(15,2)"));
    EXPECT_EQ(t.serverLink, QStringLiteral("보류, 서버 도메인을 우선 사용합니다\nNUMBER(18)"));
}

TEST(ManageRules, CollectedNamesKeepWhatIsTypedAndPickTheClosestEnglishName)
{
    const std::set<QString> english = {QStringLiteral("customer"), QStringLiteral("cust"), QStringLiteral("client")};
    const std::set<QString> defs = {QStringLiteral("나 정의"), QStringLiteral("가 정의")};

    auto out = DictionaryManage::ChooseNames(english, defs, {QStringLiteral("고객"), QStringLiteral("CUSTR"), {}, {}});
    EXPECT_EQ(out.fullName, QStringLiteral("cust")) << "closest to custr";
    EXPECT_EQ(out.definition, QStringLiteral("가 정의")) << "first of the set";
    EXPECT_EQ(out.definitions, (QStringList{QStringLiteral("가 정의"), QStringLiteral("나 정의")}));

    out = DictionaryManage::ChooseNames(
        english, defs,
        {QStringLiteral("고객"), QStringLiteral("CUST"), QStringLiteral("Patron"), QStringLiteral("다 정의")});
    EXPECT_EQ(out.fullName, QStringLiteral("Patron"));
    EXPECT_EQ(out.definition, QStringLiteral("다 정의"));
    EXPECT_TRUE(out.fullNames.contains(QStringLiteral("Patron")));
    EXPECT_TRUE(out.definitions.contains(QStringLiteral("다 정의")));

    // Equal distances: the earlier name in set order.
    out = DictionaryManage::ChooseNames({QStringLiteral("bx"), QStringLiteral("ax")}, {},
                                        {QStringLiteral("가"), QStringLiteral("CX"), {}, {}});
    EXPECT_EQ(out.fullName, QStringLiteral("ax"));
    EXPECT_FALSE(out.definitionFound);
}

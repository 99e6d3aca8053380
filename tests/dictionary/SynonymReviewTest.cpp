#include "dictionary/SynonymReview.h"
#include "dictionary/DictionaryTexts.h"
#include "settings/AnalyzeSettings.h"

#include <gtest/gtest.h>

using Review = CWordSynonymReview;
using View = CWordSynonymReview::View;

namespace {

QString S(const char16_t* text)
{
    return QString::fromUtf16(text);
}

_stAnalyzeManageWord Word(const QString& fullName, const QString& definition, int standard = 1)
{
    _stAnalyzeManageWord word;
    word.strPhyFullName = fullName;
    word.strDescription = definition;
    word.nStandard = standard;
    return word;
}

// 고객번호 has two physical names, CUST_NO two logical names, 주소 only one of each.
void Fill(CAnalyzeSettings& settings)
{
    settings.AddWord("CUST_NO", S(u"고객번호"), Word("CUSTOMER NUMBER", S(u"고객 식별 번호")));
    settings.AddWord("CSTMR_NO", S(u"고객번호"), Word("CUSTOMER NUMBER", S(u"옛 이름"), 0));
    settings.AddWord("CUST_NO", S(u"고객NO"), Word("", ""));
    settings.AddWord("ADDR", S(u"주소"), Word("ADDRESS", ""));
    settings.AddWord("ORD_NO", S(u"주문번호"), Word("ORDER NUMBER", ""));
    settings.AddWord("ORDR_NO", S(u"주문번호"), Word("ORDER NUMBER", ""));
}

// Every word sits in both indexes under mirrored keys, and nothing else does.
void ExpectMirrored(const CAnalyzeSettings& settings)
{
    size_t count = 0;
    for (const auto& [physical, inner] : settings.m_mapWordsByPhysical) {
        EXPECT_FALSE(inner.empty());
        for (const auto& [logical, word] : inner) {
            ++count;
            ASSERT_TRUE(settings.m_mapWordsByLogical.count(logical)) << logical.toStdString();
            ASSERT_TRUE(settings.m_mapWordsByLogical.at(logical).count(physical));
            EXPECT_EQ(settings.m_mapWordsByLogical.at(logical).at(physical), word);
        }
    }
    size_t mirrored = 0;
    for (const auto& entry : settings.m_mapWordsByLogical)
        mirrored += entry.second.size();
    EXPECT_EQ(count, mirrored);
}

} // namespace

TEST(SynonymReview, GroupsOfMoreThanOneWordInKeyOrder)
{
    CAnalyzeSettings settings;
    Fill(settings);

    const auto logical = Review::BuildRows(View::Logical, settings);
    const std::vector<Review::Row> expectedLogical = {
        {S(u"고객번호"), "CSTMR_NO", "CSTMR_NO", "CUSTOMER NUMBER", S(u"옛 이름"), 0},
        {S(u"고객번호"), "CUST_NO", "CUST_NO", "CUSTOMER NUMBER", S(u"고객 식별 번호"), 0},
        {S(u"주문번호"), "ORDR_NO", "ORDR_NO", "ORDER NUMBER", "", 1},
        {S(u"주문번호"), "ORD_NO", "ORD_NO", "ORDER NUMBER", "", 1},
    };
    EXPECT_EQ(logical, expectedLogical);

    const auto physical = Review::BuildRows(View::Physical, settings);
    const std::vector<Review::Row> expectedPhysical = {
        {"CUST_NO", S(u"고객NO"), S(u"고객NO"), "", "", 0},
        {"CUST_NO", S(u"고객번호"), S(u"고객번호"), "CUSTOMER NUMBER", S(u"고객 식별 번호"), 0},
    };
    EXPECT_EQ(physical, expectedPhysical);

    EXPECT_EQ(Review::Headers(View::Logical), QStringList({S(u"단어 논리명"), S(u"단어 물리원본명"), S(u"단어 물리명"),
                                                           S(u"단어 물리전체명"), S(u"단어 정의")}));
    EXPECT_EQ(Review::Headers(View::Physical), QStringList({S(u"단어 물리명"), S(u"단어 논리원본명"), S(u"단어 논리명"),
                                                            S(u"단어 물리전체명"), S(u"단어 정의")}));
}

TEST(SynonymReview, ColoursAndEditableCellsPerView)
{
    const Review::Row first{"K", "a", "a", "", "", 0};
    const Review::Row second{"L", "b", "b", "", "", 1};
    const Review::Row third{"M", "c", "c", "", "", 2};
    struct Case
    {
        View view;
        int column;
        bool editable;
        quint32 first, second, third;
    } cases[] = {
        {View::Logical, 0, false, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Logical, 1, false, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Logical, 2, true, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Logical, 3, true, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Logical, 4, true, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Physical, 0, false, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
        {View::Physical, 2, true, 0xFFFFFF, 0xF7F7F7, 0xFFFFFF},
        {View::Physical, 3, false, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
        {View::Physical, 4, false, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Review::IsEditable(c.view, c.column), c.editable) << int(c.view) << " " << c.column;
        EXPECT_EQ(Review::CellColour(c.view, first, c.column), c.first) << int(c.view) << " " << c.column;
        EXPECT_EQ(Review::CellColour(c.view, second, c.column), c.second) << int(c.view) << " " << c.column;
        EXPECT_EQ(Review::CellColour(c.view, third, c.column), c.third) << int(c.view) << " " << c.column;
    }
}

TEST(SynonymReview, SaveRenamesMergesRemovesAndUpdates)
{
    struct Change
    {
        int row;          // in the rows of the view
        QString name;     // column 2
        QString fullName; // column 3
        QString definition;
    };
    struct Expect
    {
        QString physical, logical;
        bool present;
        QString fullName, definition;
        int standard;
    };
    struct Case
    {
        const char* what;
        View view;
        std::vector<Change> changes;
        std::vector<Expect> expect;
        size_t words; // in the dictionary afterwards
    } cases[] = {
        {"definition only keeps the pair and the standard flag",
         View::Logical,
         {{0, "CSTMR_NO", "CUSTOMER NUMBER", S(u"새 정의")}},
         {{"CSTMR_NO", S(u"고객번호"), true, "CUSTOMER NUMBER", S(u"새 정의"), 0}},
         6},
        {"rename moves the word with its flag",
         View::Logical,
         {{0, "CSTM_NO", "CUSTOMER NUMBER", S(u"옛 이름")}},
         {{"CSTMR_NO", S(u"고객번호"), false, "", "", 0},
          {"CSTM_NO", S(u"고객번호"), true, "CUSTOMER NUMBER", S(u"옛 이름"), 0}},
         6},
        {"rename onto an existing name merges into one word",
         View::Logical,
         {{0, "CUST_NO", "CUSTOMER NUMBER", S(u"옛 이름")}},
         {{"CSTMR_NO", S(u"고객번호"), false, "", "", 0},
          {"CUST_NO", S(u"고객번호"), true, "CUSTOMER NUMBER", S(u"옛 이름"), 0}},
         5},
        {"when both rows land on one pair the later row wins",
         View::Logical,
         {{0, "CUST_NO", "A", "first"}, {1, "CUST_NO", "B", "second"}},
         {{"CSTMR_NO", S(u"고객번호"), false, "", "", 0}, {"CUST_NO", S(u"고객번호"), true, "B", "second", 1}},
         5},
        {"an emptied name removes the word",
         View::Logical,
         {{3, "", "ORDER NUMBER", ""}},
         {{"ORD_NO", S(u"주문번호"), false, "", "", 0}, {"ORDR_NO", S(u"주문번호"), true, "ORDER NUMBER", "", 1}},
         5},
        {"swapped names keep both words",
         View::Logical,
         {{0, "CUST_NO", "CUSTOMER NUMBER", S(u"옛 이름")}, {1, "CSTMR_NO", "CUSTOMER NUMBER", S(u"고객 식별 번호")}},
         {{"CUST_NO", S(u"고객번호"), true, "CUSTOMER NUMBER", S(u"옛 이름"), 0},
          {"CSTMR_NO", S(u"고객번호"), true, "CUSTOMER NUMBER", S(u"고객 식별 번호"), 1}},
         6},
        {"by physical name the logical name is renamed",
         View::Physical,
         {{0, S(u"고객번호"), "", ""}},
         {{"CUST_NO", S(u"고객NO"), false, "", "", 0}, {"CUST_NO", S(u"고객번호"), true, "", "", 1}},
         5},
    };
    for (const auto& c : cases) {
        CAnalyzeSettings settings;
        Fill(settings);
        const auto rows = Review::BuildRows(c.view, settings);
        std::vector<Review::Row> edited;
        for (const auto& change : c.changes) {
            Review::Row row = rows.at(size_t(change.row));
            row.name = change.name;
            row.fullName = change.fullName;
            row.definition = change.definition;
            edited.push_back(row);
        }
        Review::ApplyEdits(c.view, edited, settings);
        for (const auto& e : c.expect) {
            _stAnalyzeManageWord word;
            ASSERT_EQ(settings.GetWord(e.physical, e.logical, word), e.present)
                << c.what << ": " << e.physical.toStdString() << "/" << e.logical.toStdString();
            if (!e.present)
                continue;
            EXPECT_EQ(word.strPhyFullName, e.fullName) << c.what;
            EXPECT_EQ(word.strDescription, e.definition) << c.what;
            EXPECT_EQ(word.nStandard, e.standard) << c.what;
        }
        size_t words = 0;
        for (const auto& entry : settings.m_mapWordsByPhysical)
            words += entry.second.size();
        EXPECT_EQ(words, c.words) << c.what;
        ExpectMirrored(settings);
    }
}

TEST(SynonymReview, SearchLooksAtTheKeyThenTheNameAndWraps)
{
    CAnalyzeSettings settings;
    Fill(settings);
    const auto rows = Review::BuildRows(View::Logical, settings);
    struct Case
    {
        QString text;
        int current;
        int row, column;
    } cases[] = {
        {"ord_no", -1, 3, 2},   {"ord", 2, 3, 2},      {"ord", 3, 2, 2},   // wraps to the top
        {S(u"고객"), 0, 1, 0},  {S(u"고객"), 1, 0, 0}, {"cstmr", 0, 0, 2}, // back to the current row
        {"nothing", 0, -1, -1}, {"", 0, -1, -1},
    };
    for (const auto& c : cases) {
        const auto hit = Review::FindNext(rows, c.text, c.current);
        EXPECT_EQ(hit.row, c.row) << c.text.toStdString() << " from " << c.current;
        EXPECT_EQ(hit.column, c.column) << c.text.toStdString() << " from " << c.current;
    }
}

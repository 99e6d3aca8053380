#include "dictionary/SimilarWordReview.h"
#include "../../bench/SimilarNames.h"
#include "SimilarReference.h"
#include "components/QrProgressWnd.h"

#include <gtest/gtest.h>

using SimilarWords::Group;
using SimilarWords::View;

namespace {

QString S(const char16_t* text)
{
    return QString::fromUtf16(text);
}

std::vector<Group> EngineGroups(View view, const QStringList& names, int threads = 0)
{
    return SimilarWords::ComputeGroups(view, names, SimilarWords::Quiet(), threads).groups;
}

QStringList Sorted(QStringList names)
{
    names.sort();
    names.removeDuplicates();
    return names;
}

std::string Dump(const std::vector<Group>& groups)
{
    std::string text;
    for (const auto& group : groups)
        text += group.name.toStdString() + ": " + group.similar.join(QLatin1Char(',')).toStdString() + "\n";
    return text;
}

} // namespace

TEST(HangulJamo, DecomposesSyllablesAndLoneJamo)
{
    struct Case
    {
        char16_t c;
        bool hangul;
        char16_t initial, vowel, final;
    } cases[] = {
        {u'가', true, u'ㄱ', u'ㅏ', u' '},
        {u'한', true, u'ㅎ', u'ㅏ', u'ㄴ'},
        {u'값', true, u'ㄱ', u'ㅏ', u'ㅄ'},
        {u'뷁', true, u'ㅂ', u'ㅞ', u'ㄺ'},
        {u'힣', true, u'ㅎ', u'ㅣ', u'ㅎ'},
        {u'쌍', true, u'ㅆ', u'ㅏ', u'ㅇ'},
        {u'ㄱ', true, u'ㄱ', 0, 0},
        {u'ㅎ', true, u'ㅎ', 0, 0},
        {u'ㅏ', true, 0, u'ㅏ', 0},
        {u'ㅣ', true, 0, u'ㅣ', 0},
        {u'A', false, 0, 0, 0},
        {0xABFF, false, 0, 0, 0},
        {0xD7A4, false, 0, 0, 0},
        {0x3130, false, 0, 0, 0},
        {0x3164, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        HangulJamo::Parts parts;
        EXPECT_EQ(HangulJamo::Decompose(c.c, parts), c.hangul) << int(c.c);
        EXPECT_EQ(HangulJamo::IsHangul(c.c), c.hangul) << int(c.c);
        if (c.hangul) {
            EXPECT_EQ(parts.initial, c.initial) << int(c.c);
            EXPECT_EQ(parts.vowel, c.vowel) << int(c.c);
            EXPECT_EQ(parts.final, c.final) << int(c.c);
        }
    }
}

TEST(HangulJamo, CostGradesSyllablesByDifferingJamo)
{
    struct Case
    {
        char16_t a, b;
        int thirds;
    } cases[] = {
        {u'가', u'가', 0}, {u'A', u'A', 0},   {u'A', u'B', 3},
        {u'A', u'가', 3},  {u'가', u'1', 3},  {u'번', u'변', 1}, // vowel only
        {u'각', u'간', 1},                                       // final only
        {u'가', u'너', 2},                                       // initial and vowel
        {u'각', u'넌', 3},                                       // nothing shared: as dear as a Latin letter
        {u'호', u'각', 3}, {u'가', u'ㄱ', 2},                    // a lone consonant keeps the initial
        {u'ㄱ', u'ㄴ', 1}, {u'ㄱ', u'ㅏ', 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HangulJamo::CostThirds(c.a, c.b), c.thirds) << int(c.a) << " " << int(c.b);
        EXPECT_EQ(HangulJamo::CostThirds(c.b, c.a), c.thirds);
        EXPECT_DOUBLE_EQ(HangulJamo::Cost(c.a, c.b), LiteralSimilar::Cost(QChar(c.a), QChar(c.b)));
    }
}

TEST(SimilarWords, DistanceIsWeightedLevenshtein)
{
    struct Case
    {
        QString a, b;
        int thirds;
    } cases[] = {
        {"ABC", "ABD", 3},
        {"CUST_NO", "CUST_NM", 3},
        {"kitten", "sitting", 9},
        {"", "ABC", 9},
        {"ABC", "ABC", 0},
        {S(u"고객번호"), S(u"고객변호"), 1},
        {S(u"고객번호"), S(u"고객번"), 3},
        {S(u"각간"), S(u"간각"), 2},
        {S(u"주소"), S(u"주소지"), 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SimilarWords::DistanceThirds(c.a, c.b), c.thirds) << c.a.toStdString() << "/" << c.b.toStdString();
        EXPECT_EQ(SimilarWords::DistanceThirds(c.b, c.a), c.thirds);
        EXPECT_NEAR(LiteralSimilar::Distance(c.a, c.b), c.thirds / 3.0, 1e-12);
    }
}

TEST(SimilarWords, PairTestsOfBothViews)
{
    struct Case
    {
        View view;
        QString a, b;
        bool similar;
    } cases[] = {
        // Distance must be strictly below a third of the longer length.
        {View::Physical, "ABC", "ABD", false},
        {View::Physical, "CUST_NO", "CUST_NM", true},
        {View::Physical, "ABCDEF", "ABXDEY", false}, // 2 < 2 fails
        {View::Physical, "ABCDEFG", "ABXDEFY", true},
        {View::Physical, "CUSTOMER_NO", "AB", false},
        {View::Physical, "CUSTOMER_NO", "NO", true}, // contained, whatever the length
        {View::Physical, "NO", "CUSTOMER_NO", false},
        {View::Physical, S(u"고객번호"), S(u"고객변호"), true},
        // Positional: three quarters equal in place plus one partly shared syllable.
        {View::Logical, S(u"고객번호"), S(u"고객변호"), true},
        {View::Logical, S(u"고객번호"), S(u"고객번하"), true},  // vowel only
        {View::Logical, S(u"고객번호"), S(u"고객번각"), false}, // 1.0-cost syllable
        {View::Logical, S(u"고객번호"), S(u"고객명"), false},
        {View::Logical, S(u"고객번호"), S(u"고객번"), true}, // contained
        {View::Logical, S(u"주소"), S(u"주소지"), false},
        {View::Logical, S(u"주소지"), S(u"주소"), true},
        {View::Logical, S(u"고객ID"), S(u"고객IP"), false}, // Latin letters never cost partly
        {View::Logical, S(u"번호"), S(u"변호"), true},
        {View::Logical, S(u"가나다라마"), S(u"가나더러머"), false}, // floor(15/4)=3 equal needed
        {View::Logical, S(u"가나다라마"), S(u"가나다러머"), true},
        // Exactly at the limit: 1 + 2/3 + 1/3 = 2 is not below 6 / 3.
        {View::Physical, S(u"중E트생생멈"), S(u"중끚생생험"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SimilarWords::IsSimilar(c.view, c.a, c.b), c.similar)
            << int(c.view) << " " << c.a.toStdString() << "/" << c.b.toStdString();
        const bool literal =
            c.a.contains(c.b) || (c.view == View::Logical ? LiteralSimilar::Positional(c.a, c.b)
                                                          : LiteralSimilar::DistanceBelowThird(c.a, c.b));
        EXPECT_EQ(literal, c.similar) << c.a.toStdString() << "/" << c.b.toStdString();
    }
}

TEST(SimilarWords, GroupsFollowOrderDecidedPairsAndShortestNames)
{
    struct Case
    {
        const char* what;
        View view;
        QStringList names;
        std::vector<Group> expected;
    } cases[] = {
        {"an empty dictionary", View::Logical, {}, {}},
        {"physical names of two characters get no group", View::Physical, {"AB", "AC", "A", "B"}, {}},
        {"logical names of one character get no group", View::Logical, {S(u"가"), S(u"각")}, {}},
        {"a short name is still a member", View::Physical, {"AB", "ABCD"}, {{"ABCD", {"AB"}}}},
        {"a pair is listed once, under the first name",
         View::Physical,
         {"CUST_NO", "CUST_NM", "CUST_NX"},
         {{"CUST_NM", {"CUST_NO", "CUST_NX"}}, {"CUST_NO", {"CUST_NX"}}}},
        {"containment counts from the longer side only",
         View::Logical,
         {S(u"주소"), S(u"주소지")},
         {{S(u"주소지"), {S(u"주소")}}}},
        {"contained regardless of length", View::Physical, {"X", "XYZXYZXYZ_LONG"}, {{"XYZXYZXYZ_LONG", {"X"}}}},
        {"a shorter name that found nothing is taken up by the longer one",
         View::Logical,
         {S(u"고객번호"), S(u"고객변호"), S(u"고객번")},
         {{S(u"고객번호"), {S(u"고객번"), S(u"고객변호")}}}},
        {"only pairs found similar are decided",
         View::Logical,
         {S(u"번호"), S(u"변호"), S(u"번호사"), S(u"변호사")},
         {{S(u"번호"), {S(u"변호")}}, {S(u"번호사"), {S(u"번호"), S(u"변호사")}}, {S(u"변호사"), {S(u"변호")}}}},
    };
    for (auto& c : cases) {
        const QStringList names = Sorted(c.names);
        EXPECT_EQ(EngineGroups(c.view, names, 1), c.expected) << c.what << "\n" << Dump(EngineGroups(c.view, names, 1));
        EXPECT_EQ(EngineGroups(c.view, names, 2), c.expected) << c.what;
        EXPECT_EQ(LiteralSimilar::Groups(c.view, names), c.expected) << c.what;
    }
}

// The indexes and the threads must lose nothing the plain procedure finds.
void ExpectSameGroupsAsThePlainProcedure(View view, const QStringList& names)
{
    const auto expected = LiteralSimilar::Groups(view, names);
    ASSERT_GT(expected.size(), 100u) << "the generated names should hold many similar pairs";
    for (int threads : {1, 2, 3}) {
        const auto groups = EngineGroups(view, names, threads);
        ASSERT_EQ(groups.size(), expected.size()) << "threads " << threads;
        for (size_t i = 0; i < groups.size(); ++i)
            ASSERT_EQ(groups[i], expected[i]) << "threads " << threads << " group " << i << "\n"
                                              << Dump({groups[i]}) << Dump({expected[i]});
    }
}

TEST(SimilarWords, SameGroupsAsThePlainProcedureOnGeneratedLogicalNames)
{
    ExpectSameGroupsAsThePlainProcedure(View::Logical, SimilarNames::LogicalNames(3000, 11));
}

TEST(SimilarWords, SameGroupsAsThePlainProcedureOnGeneratedPhysicalNames)
{
    ExpectSameGroupsAsThePlainProcedure(View::Physical, SimilarNames::PhysicalNames(3000, 12));
}

// Hangul physical names reach each other through partial syllable costs, which the
// character pieces cannot see; the jamo-count filter must not lose them either.
TEST(SimilarWords, SameGroupsAsThePlainProcedureOnHangulNamesByPhysicalName)
{
    ExpectSameGroupsAsThePlainProcedure(View::Physical, SimilarNames::LogicalNames(1500, 15));
}

TEST(SimilarWords, CancelKeepsTheGroupsFoundBefore)
{
    const QStringList names = SimilarNames::PhysicalNames(1500, 21);
    const auto all = LiteralSimilar::Groups(View::Physical, names);
    for (int threads : {1, 2}) {
        for (int cancelAt : {0, 1, 700, 1499}) {
            int steps = 0;
            SimilarWords::Progress progress = SimilarWords::Quiet();
            progress.canceling = [&] { return steps >= cancelAt; };
            progress.step = [&] { ++steps; };
            const auto result = SimilarWords::ComputeGroups(View::Physical, names, progress, threads);
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(steps, cancelAt);
            std::vector<Group> expected;
            for (const auto& group : all)
                if (names.indexOf(group.name) < cancelAt)
                    expected.push_back(group);
            ASSERT_TRUE(cancelAt < 700 || !expected.empty());
            EXPECT_EQ(result.groups, expected) << "threads " << threads << " cancel at " << cancelAt;
        }
    }
}

TEST(SimilarWordReview, RowsShowPartnersAndStopOnTheProgressWindowsCancel)
{
    WordIndex byPhysical, byLogical;
    auto add = [&](const QString& physical, const QString& logical) {
        _stAnalyzeManageWord word;
        byPhysical[physical][logical] = word;
        byLogical[logical][physical] = word;
    };
    add("CUST_NO", S(u"고객번호"));
    add("CSTMR_NO", S(u"고객번호"));
    add("CUST_NO", S(u"고객변호"));
    add("CUST_NM", S(u"고객명"));

    CSimilarWordReview review;
    EXPECT_EQ(review.Headers(), QStringList({S(u"단어 논리명"), S(u"단어 물리명")}));
    EXPECT_TRUE(review.Run(byPhysical, byLogical, SimilarWords::Quiet()));
    const std::vector<CSimilarWordReview::Row> logicalRows = {
        {1, S(u"고객번호"), "CSTMR_NO, CUST_NO"},
        {2, S(u"고객변호"), "CUST_NO"},
    };
    EXPECT_EQ(review.Rows(), logicalRows);

    review.SetView(View::Physical);
    EXPECT_EQ(review.Headers(), QStringList({S(u"단어 물리명"), S(u"단어 논리명")}));
    EXPECT_TRUE(review.Run(byPhysical, byLogical, SimilarWords::Quiet()));
    const std::vector<CSimilarWordReview::Row> physicalRows = {
        {1, "CUST_NM", S(u"고객명")},
        {2, "CUST_NO", S(u"고객번호, 고객변호")},
    };
    EXPECT_EQ(review.Rows(), physicalRows);
    int column = -1;
    EXPECT_EQ(review.FindNext("cust_no", 0, &column), 1);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(review.FindNext(S(u"변호"), 1, &column), 1); // wraps down to the current row
    EXPECT_EQ(column, 1);

    // Through the progress window: cancel after the second name keeps what the first two gave.
    auto silent = std::make_unique<CSilentProgress>();
    silent->m_cancelAfter = 2;
    CQrProgressWnd::SetBackend(std::move(silent));
    EXPECT_FALSE(review.Run(byPhysical, byLogical));
    CQrProgressWnd::SetBackend(nullptr);
    EXPECT_EQ(review.Rows(), physicalRows); // CSTMR_NO has no group, CUST_NM was done
}

#include "AnalysisTestUtil.h"
#include "analysis/AnalysisTexts.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "components/QrProgressWnd.h"
#include "exchange/AnalysisResultJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

class WordAnalysisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AddWords(settings, {{"CUST", "고객"}, {"NM", "명"}, {"CD", "코드"}, {"NO", "번호"}, {"BYCD", "별코드"}});
        AddExcept(settings, {"별"});
        CQrProgressWnd::SetBackend(std::make_unique<CSilentProgress>());
    }
    void TearDown() override { CQrProgressWnd::SetBackend(nullptr); }

    CSilentProgress& Progress() { return *static_cast<CSilentProgress*>(CQrProgressWnd::Backend()); }

    // A logical engine over a sheet: header row, then (name, column, definition, reference).
    void LoadSheet(LogicalWordAnalysis& engine, const QVector<QStringList>& rows)
    {
        QVector<QStringList> sheet{{U("속성명"), U("컬럼명"), U("정의"), U("참고")}};
        sheet += rows;
        engine.SetSheet(sheet);
        engine.Designations().Designate(LogicalWordAnalysis::RoleAttribute, 0);
        engine.Designations().Designate(LogicalWordAnalysis::RoleColumn, 1);
        engine.Designations().Designate(LogicalWordAnalysis::RoleAttributeDefinition, 2);
        engine.Designations().Designate(LogicalWordAnalysis::RoleReference, 3);
        engine.SetExcludeFirstRow(true);
    }

    static QStringList Keys(const WordAnalysis& engine)
    {
        QStringList keys;
        for (const auto& r : engine.Results())
            keys << r.key;
        return keys;
    }

    CAnalyzeSettings settings;
};

TEST_F(WordAnalysisTest, BuildsTargetsFromSheetRows)
{
    settings.seperator = QStringLiteral(" -");
    settings.Touch();
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명1"), U("CUST_NM1"), U("고객의 이름"), U("R1")},
                       {U("고객명2"), U("CUST_NM2"), U(""), U("R1")},
                       {U(""), U("EMPTY"), U(""), U("")},
                       {U("고객 코드"), U("CUST_CD")},
                       {U("고객-번호")}});
    const auto run = engine.Run();
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(engine.Mode(), WordAnalysis::ModeResult);
    ASSERT_EQ(engine.Inputs().size(), 3);
    const WordAnalysisInput* name = engine.Inputs().find(U("고객명"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->refCount, 2);
    EXPECT_EQ(name->sources, (QStringList{U("고객명1"), U("고객명2")}));
    EXPECT_EQ(name->AnalyzeTargetText(), U("고객명1, 고객명2"));
    // the later row's texts stand, an empty cell included, but empty texts are not counted
    EXPECT_EQ(name->description, QString());
    EXPECT_EQ(name->mapDescriptions, (std::map<QString, int>{{U("고객의 이름"), 1}}));
    EXPECT_EQ(name->mapOpposites, (std::map<QString, int>{{U("CUST_NM1"), 1}, {U("CUST_NM2"), 1}}));
    EXPECT_EQ(name->mapReferences, (std::map<QString, int>{{U("R1"), 2}}));
    // separator characters become "_"; short rows read as empty cells
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객_코드"), U("고객_번호")}));
    EXPECT_EQ(engine.Inputs().find(U("고객_코드"))->reference, QString());

    // Without the first-row exclusion the header becomes a target too.
    engine.SetMode(WordAnalysis::ModeSource);
    engine.SetExcludeFirstRow(false);
    engine.Run();
    EXPECT_TRUE(engine.Inputs().contains(U("속성명")));
}

TEST_F(WordAnalysisTest, MissingNameColumnChangesNothing)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명")}});
    engine.Run();
    ASSERT_EQ(engine.Results().size(), 1u);
    engine.SetSheet({{U("고객코드")}});
    engine.Designations().Designate(LogicalWordAnalysis::RoleColumn, 0);
    const auto run = engine.Run();
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message, AnalysisTexts::kMissingRequired);
    EXPECT_EQ(engine.Inputs().size(), 1);
    EXPECT_EQ(engine.Results().size(), 1u);
    EXPECT_EQ(engine.Mode(), WordAnalysis::ModeSource);
}

TEST_F(WordAnalysisTest, DesignationsHoldOneColumnPerRole)
{
    LogicalWordAnalysis engine(&settings);
    engine.SetSheet({{U("a"), U("b"), U("c")}});
    ColumnRoles& roles = engine.Designations();
    EXPECT_EQ(roles.Designate(LogicalWordAnalysis::RoleColumn, 1), -1);
    // moving a role reports the column it left
    EXPECT_EQ(roles.Designate(LogicalWordAnalysis::RoleColumn, 2), 1);
    EXPECT_EQ(roles.RoleOf(1), -1);
    // a column takes one role: the new one replaces the old
    roles.Designate(LogicalWordAnalysis::RoleAttribute, 2);
    EXPECT_EQ(roles.Column(LogicalWordAnalysis::RoleColumn), -1);
    EXPECT_EQ(roles.RoleOf(2), LogicalWordAnalysis::RoleAttribute);
    roles.Cancel(LogicalWordAnalysis::RoleAttribute);
    EXPECT_EQ(roles.RoleOf(2), -1);
    // a new sheet resets every designation
    roles.Designate(LogicalWordAnalysis::RoleAttribute, 0);
    engine.SetSheet({{U("x")}});
    EXPECT_EQ(roles.Column(LogicalWordAnalysis::RoleAttribute), -1);
}

TEST_F(WordAnalysisTest, ResultRowsCountersAndStatus)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명"), U("CUST_NM"), U("이름"), U("참고1")},
                       {U("고객가나"), U(""), U(""), U("")},
                       {U("가나다"), U(""), U(""), U("")},
                       {U("별_"), U(""), U(""), U("")},
                       {U("가나고객"), U(""), U(""), U("")}});
    engine.Splitter().SetFallback({});
    engine.Run();
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객가나"), U("가나다"), U("가나고객")}));

    const auto* full = engine.ResultOf(U("고객명"));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->status, 2);
    EXPECT_EQ(full->AnalyzedName(), U("고객_명"));
    EXPECT_EQ(full->AnalyzedPartner(), QStringLiteral("CUST_NM"));
    EXPECT_EQ(engine.ResultOf(U("고객가나"))->status, 1);
    EXPECT_EQ(engine.ResultOf(U("고객가나"))->AnalyzedPartner(), QStringLiteral("CUST_?"));
    EXPECT_EQ(engine.ResultOf(U("가나다"))->status, 0);

    EXPECT_EQ(engine.WordCount(), 2 + 2 + 1 + 2);
    EXPECT_EQ(engine.AnalyzedWordCount(), 2 + 1 + 0 + 1);
    EXPECT_EQ(engine.FullyAnalyzedCount(), 1);
    EXPECT_EQ(engine.TargetListCaption(), U("대상 목록 ( 1 / 5 )"));
    const auto& missing = engine.UnanalyzedWords();
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing.at(U("가나")).count, 2);
    EXPECT_EQ(missing.at(U("가나")).targets, (QStringList{U("고객가나"), U("가나고객")}));
    EXPECT_EQ(missing.at(U("가나다")).count, 1);

    const std::vector<AnalysisRow> rows = engine.Rows();
    ASSERT_EQ(rows.size(), 4u * 2 + 7);
    const AnalysisRow& target = rows[0];
    EXPECT_EQ(target.level, 1);
    EXPECT_EQ(target.texts,
              (QStringList{U("고객명"), U("고객명"), U("고객명"), QString(), U("CUST_NM (이름) [참고1] ")}));
    EXPECT_EQ(target.background, 0xF7F7F7u);
    EXPECT_EQ(target.nameBackground, 0xF0F0F0u);
    EXPECT_TRUE(target.nameEditable);
    EXPECT_EQ(rows[1].level, 2);
    EXPECT_EQ(rows[1].Image(0), 2);
    EXPECT_EQ(rows[1].texts[0], U("고객_명"));
    EXPECT_EQ(rows[1].texts[3], QStringLiteral("CUST_NM"));
    EXPECT_EQ(rows[2].level, 3);
    EXPECT_EQ(rows[2].texts, (QStringList{U("고객"), QString(), QString(), QStringLiteral("CUST"), U("고객 정의")}));
    EXPECT_EQ(rows[2].Image(0), 2);
    EXPECT_EQ(rows[2].background, 0xFFFFFFu);
    // an unknown word: image 0, no definition
    EXPECT_EQ(rows[7].texts[0], U("가나"));
    EXPECT_EQ(rows[7].Image(0), 0);
    EXPECT_EQ(rows[7].texts[4], QString());
}

TEST_F(WordAnalysisTest, SortOptionListsTargetsByName)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("코드")}, {U("고객명")}, {U("가나")}});
    engine.Run();
    EXPECT_EQ(Keys(engine), (QStringList{U("코드"), U("고객명"), U("가나")}));
    settings.analyze_sort_result = 1;
    engine.Run(); // mode 2: analyses the existing targets again
    EXPECT_EQ(Keys(engine), (QStringList{U("가나"), U("고객명"), U("코드")}));
    // the input order itself stays as read
    EXPECT_EQ(engine.Inputs().keyAt(0), U("코드"));
}

TEST_F(WordAnalysisTest, CancelKeepsTargetsDoneAndEndsCleanly)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명")}, {U("고객코드")}, {U("가나")}, {U("번호")}, {U("코드")}});
    Progress().m_cancelAfter = 2;
    const auto run = engine.Run();
    EXPECT_TRUE(run.ok);
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객코드")}));
    EXPECT_EQ(engine.Mode(), WordAnalysis::ModeResult);
    EXPECT_EQ(engine.FullyAnalyzedCount(), 2);
    EXPECT_EQ(engine.TargetListCaption(), U("대상 목록 ( 2 / 5 )"));
    EXPECT_EQ(engine.Inputs().size(), 5);
    EXPECT_FALSE(Progress().IsCanceling()); // hidden again, ready for the next run
    // the next run goes through
    Progress().m_cancelAfter = -1;
    EXPECT_FALSE(engine.Run().cancelled);
    EXPECT_EQ(engine.Results().size(), 5u);
}

TEST_F(WordAnalysisTest, RenameMovesOrMergesTargets)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명"), U("C1"), U("D1"), U("R1")},
                       {U("고객 코드"), U("C2"), U("D2"), U("R2")},
                       {U("고객코드"), U("C3"), U(""), U("R3")},
                       {U("번호")}});
    settings.seperator = QStringLiteral(" ");
    engine.Run();
    ASSERT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객_코드"), U("고객코드"), U("번호")}));

    // normalised text, same name: nothing moves
    auto renamed = engine.RenameTarget(U("고객명"), U("고객명7"));
    EXPECT_FALSE(renamed.changed);
    EXPECT_EQ(renamed.name, U("고객명"));
    // an empty name is refused
    EXPECT_FALSE(engine.RenameTarget(U("고객명"), QStringLiteral("  ")).changed);

    // a new name: the target keeps its place and texts, and is analysed again
    renamed = engine.RenameTarget(U("번호"), U("가나 번호"));
    EXPECT_TRUE(renamed.changed);
    EXPECT_FALSE(renamed.merged);
    EXPECT_EQ(renamed.name, U("가나_번호"));
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객_코드"), U("고객코드"), U("가나_번호")}));
    EXPECT_EQ(engine.ResultOf(U("가나_번호"))->status, 1);
    EXPECT_EQ(engine.UnanalyzedWords().count(U("가나")), 1u);

    // onto an existing target: both targets' rows and texts stay counted there
    renamed = engine.RenameTarget(U("고객_코드"), U("고객코드"));
    EXPECT_TRUE(renamed.merged);
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("고객코드"), U("가나_번호")}));
    const WordAnalysisInput* merged = engine.Inputs().find(U("고객코드"));
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->refCount, 2);
    EXPECT_EQ(merged->sources, (QStringList{U("고객코드"), U("고객 코드")}));
    EXPECT_EQ(merged->mapOpposites, (std::map<QString, int>{{U("C2"), 1}, {U("C3"), 1}}));
    EXPECT_EQ(merged->mapDescriptions, (std::map<QString, int>{{U("D2"), 1}}));
    EXPECT_EQ(merged->reference, U("R2"));
    EXPECT_FALSE(engine.Inputs().contains(U("고객_코드")));
    EXPECT_EQ(engine.WordCount(), 2 + 2 + 2);
}

TEST_F(WordAnalysisTest, WordChangesRenameAffectedTargets)
{
    LogicalWordAnalysis engine(&settings);
    engine.Splitter().SetFallback({});
    LoadSheet(engine, {{U("고객가나")}, {U("가나_번호")}, {U("코드")}, {U("가나코드")}});
    engine.Run();
    ASSERT_EQ(engine.UnanalyzedWordsOf(U("고객가나")), QStringList{U("가나")});
    EXPECT_TRUE(engine.UnanalyzedWordsOf(U("코드")).isEmpty());

    const int renamed = engine.RenameForWordChanges({{U("가나"), U("명")}});
    EXPECT_EQ(renamed, 3);
    engine.Run();
    EXPECT_EQ(Keys(engine), (QStringList{U("고객명"), U("명_번호"), U("코드"), U("명코드")}));
    EXPECT_EQ(engine.FullyAnalyzedCount(), 4);
    EXPECT_TRUE(engine.UnanalyzedWords().empty());
}

TEST_F(WordAnalysisTest, WordChangesThatJoinTargetsMergeThem)
{
    LogicalWordAnalysis engine(&settings);
    engine.Splitter().SetFallback({});
    LoadSheet(engine, {{U("가나코드"), U("C1")}, {U("번호")}, {U("다라코드"), U("C2")}, {U("마바코드"), U("C3")}});
    engine.Run();
    // 가나코드 and 다라코드 both become 명코드; 마바코드 then takes the name 다라코드 freed
    const int renamed =
        engine.RenameForWordChanges({{U("가나"), U("명")}, {U("다라"), U("명")}, {U("마바"), U("다라")}});
    EXPECT_EQ(renamed, 3);
    EXPECT_EQ(Keys(engine), (QStringList{U("명코드"), U("번호"), U("다라코드")}));
    const WordAnalysisInput* joined = engine.Inputs().find(U("명코드"));
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined->refCount, 2);
    EXPECT_EQ(joined->mapOpposites, (std::map<QString, int>{{U("C1"), 1}, {U("C2"), 1}}));
    EXPECT_EQ(engine.Inputs().find(U("다라코드"))->mapOpposites, (std::map<QString, int>{{U("C3"), 1}}));
    EXPECT_EQ(engine.Inputs().size(), 3);
    EXPECT_EQ(engine.UnanalyzedWords().count(U("다라")), 1u);
    EXPECT_EQ(engine.WordCount(), 2 + 1 + 2);
}

TEST_F(WordAnalysisTest, VisibilityFollowsExclusionAndFilter)
{
    LogicalWordAnalysis engine(&settings);
    LoadSheet(engine, {{U("고객명")}, {U("고객가나")}, {U("코드")}});
    engine.Run();
    const auto hidden = [&] {
        QStringList keys;
        for (const AnalysisRow& row : engine.Rows()) {
            if (row.level == 1 && row.hidden)
                keys << row.texts[0];
        }
        return keys;
    };
    EXPECT_TRUE(hidden().isEmpty());
    engine.SetExcludeAnalyzed(true);
    EXPECT_EQ(hidden(), (QStringList{U("고객명"), U("코드")}));
    engine.SetFilterText(U("고객"));
    EXPECT_EQ(hidden(), (QStringList{U("고객명"), U("코드")}));
    engine.SetExcludeAnalyzed(false);
    EXPECT_EQ(hidden(), QStringList{U("코드")});
    // child rows follow their target
    for (const AnalysisRow& row : engine.Rows())
        EXPECT_EQ(row.hidden, engine.Results()[size_t(row.target)].key == U("코드"));
    // a rerun keeps the filter
    engine.Run();
    EXPECT_EQ(hidden(), QStringList{U("코드")});
}

TEST_F(WordAnalysisTest, ReanalysisSeesDictionaryChanges)
{
    LogicalWordAnalysis engine(&settings);
    engine.Splitter().SetFallback({});
    LoadSheet(engine, {{U("고객가나")}});
    engine.Run();
    EXPECT_EQ(engine.ResultOf(U("고객가나"))->status, 1);
    AddWords(settings, {{"GN", "가나"}});
    engine.Run();
    EXPECT_EQ(engine.ResultOf(U("고객가나"))->AnalyzedPartner(), QStringLiteral("CUST_GN"));
    EXPECT_EQ(engine.ResultOf(U("고객가나"))->status, 2);
}

TEST_F(WordAnalysisTest, PhysicalTwin)
{
    PhysicalWordAnalysis engine(&settings);
    EXPECT_EQ(engine.ResultColumns().first(), U("대상 컬럼명"));
    engine.SetSheet({{QStringLiteral("CUSTNM"), U("고객명"), U("정의")},
                     {QStringLiteral("CUST_NO2")},
                     {QStringLiteral("CUSTX")},
                     {QStringLiteral("BYX_")}});
    engine.Designations().Designate(PhysicalWordAnalysis::RoleColumn, 0);
    engine.Designations().Designate(PhysicalWordAnalysis::RoleAttribute, 1);
    engine.Designations().Designate(PhysicalWordAnalysis::RoleColumnDefinition, 2);
    AddExcept(settings, {"BYX"});
    engine.Run();
    EXPECT_EQ(Keys(engine),
              (QStringList{QStringLiteral("CUSTNM"), QStringLiteral("CUST_NO"), QStringLiteral("CUSTX")}));
    const auto* name = engine.ResultOf(QStringLiteral("CUSTNM"));
    EXPECT_EQ(Show(name->words), U("CUST/고객 NM/명"));
    EXPECT_EQ(name->AnalyzedName(), QStringLiteral("CUST_NM"));
    EXPECT_EQ(name->AnalyzedPartner(), U("고객_명"));
    EXPECT_EQ(name->definitions, (QStringList{U("고객 정의"), U("명 정의")}));
    EXPECT_EQ(engine.Rows()[0].texts[4], U("고객명 (정의) "));
    EXPECT_EQ(Show(engine.ResultOf(QStringLiteral("CUSTX"))->words), U("CUST/고객 X/?"));

    settings.need_seperator = 1;
    engine.Run();
    EXPECT_EQ(Show(engine.ResultOf(QStringLiteral("CUSTNM"))->words), QStringLiteral("CUSTNM/?"));
    EXPECT_EQ(Show(engine.ResultOf(QStringLiteral("CUST_NO"))->words), U("CUST/고객 NO/번호"));

    const QJsonObject json = AnalysisResultJson(engine);
    EXPECT_EQ(json[QStringLiteral("kind")].toString(), QStringLiteral("physical"));
    EXPECT_EQ(json[QStringLiteral("unanalyzed")].toObject()[QStringLiteral("CUSTNM")].toInt(), 1);
}

TEST_F(WordAnalysisTest, JsonResult)
{
    LogicalWordAnalysis engine(&settings);
    engine.Splitter().SetFallback({});
    LoadSheet(engine, {{U("고객명1"), U("CUST_NM")}, {U("고객명2")}, {U("별_")}, {U("고객가나")}, {U("가나")}});
    engine.Run();
    const QJsonObject json = QJsonDocument::fromJson(AnalysisResultJsonBytes(AnalysisResultJson(engine))).object();
    EXPECT_EQ(json[QStringLiteral("kind")].toString(), QStringLiteral("logical"));
    const QJsonArray targets = json[QStringLiteral("targets")].toArray();
    ASSERT_EQ(targets.size(), 3); // the removed target does not appear
    const QJsonObject first = targets[0].toObject();
    EXPECT_EQ(first[QStringLiteral("key")].toString(), U("고객명"));
    EXPECT_EQ(first[QStringLiteral("count")].toInt(), 2);
    EXPECT_EQ(first[QStringLiteral("sources")].toArray().size(), 2);
    EXPECT_EQ(first[QStringLiteral("status")].toInt(), 2);
    EXPECT_EQ(first[QStringLiteral("analyzedName")].toString(), U("고객_명"));
    EXPECT_EQ(first[QStringLiteral("analyzedPartner")].toString(), QStringLiteral("CUST_NM"));
    const QJsonObject word = first[QStringLiteral("words")].toArray()[1].toObject();
    EXPECT_EQ(word[QStringLiteral("word")].toString(), U("명"));
    EXPECT_EQ(word[QStringLiteral("partner")].toString(), QStringLiteral("NM"));
    EXPECT_EQ(word[QStringLiteral("definition")].toString(), U("명 정의"));
    EXPECT_EQ(
        targets[1].toObject()[QStringLiteral("words")].toArray()[1].toObject()[QStringLiteral("partner")].toString(),
        QStringLiteral("?"));
    const QJsonObject totals = json[QStringLiteral("totals")].toObject();
    EXPECT_EQ(totals[QStringLiteral("targets")].toInt(), 3);
    EXPECT_EQ(totals[QStringLiteral("fullyAnalyzed")].toInt(), 1);
    EXPECT_EQ(totals[QStringLiteral("words")].toInt(), 5);
    EXPECT_EQ(totals[QStringLiteral("analyzedWords")].toInt(), 3);
    EXPECT_EQ(json[QStringLiteral("unanalyzed")].toObject(), (QJsonObject{{U("가나"), 2}}));
    EXPECT_TRUE(json[QStringLiteral("missingDomains")].toObject().isEmpty());
}

} // namespace

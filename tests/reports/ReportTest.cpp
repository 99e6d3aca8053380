#include "analysis/LogicalWordAnalysis.h"
#include "reports/DomainReport.h"
#include "reports/WordReport.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ReportLists, GetListDatasJoinsWithCounts)
{
    const struct
    {
        std::map<QString, int> entries;
        QString expected;
    } cases[] = {
        {{}, QString()},
        {{{u"A"_qs, 1}}, u"A"_qs},
        {{{u"B"_qs, 3}, {u"A"_qs, 1}}, u"A, B (3)"_qs},
        {{{u"x,"_qs, 1}}, u"x"_qs}, // trailing commas and blanks go
    };
    for (const auto& c : cases)
        EXPECT_EQ(GlobalFunc::GetListDatas(c.entries), c.expected);
}

TEST(WordReport, RowsByDescendingCountWithTheWordInTheModesColumn)
{
    for (int mode : {0, 1}) {
        WordReportInput input;
        input.mode = mode;
        input.analyzedCount = 10;
        input.foundCount = 7;
        input.missing = {{u"가"_qs, 1}, {u"나"_qs, 5}, {u"다"_qs, 3}};
        const CWordReport report(input);
        EXPECT_EQ(report.MissingBar(), 3);
        ASSERT_EQ(report.Rows().size(), 3u);
        EXPECT_EQ(report.Rows()[0].word, u"나"_qs);
        EXPECT_EQ(report.Rows()[2].word, u"가"_qs);
        EXPECT_EQ(report.RowTexts(0).value(mode == 0 ? 3 : 2), u"나"_qs);
        EXPECT_TRUE(report.RowTexts(0).value(mode == 0 ? 2 : 3).isEmpty());
    }
}

TEST(WordReport, DetailsListTheNamesAsReadWithTheirRows)
{
    TempDataDir dir;
    CAnalyzeSettings settings;
    LogicalWordAnalysis analysis(&settings);
    analysis.SetSheet({{u"고객별코드"_qs}, {u"고객별코드2"_qs}, {u"고객별코드"_qs}, {u"주문"_qs}});
    analysis.Designations().Designate(WordAnalysis::RoleName, 0);
    ASSERT_TRUE(analysis.Run().ok);
    const CWordReport report(WordReportInput::FromAnalysis(analysis));
    for (int word = 0; word < int(report.Rows().size()); ++word) {
        for (const QStringList& row : report.Details(word)) {
            if (row[0] != u"고객별코드"_qs)
                continue;
            EXPECT_EQ(row[1], u"3"_qs);
            EXPECT_EQ(row[2], u"고객별코드 (2), 고객별코드2"_qs) << "not the target's name again";
            return;
        }
    }
    ADD_FAILURE() << "no detail row for 고객별코드";
}

TEST(WordReport, StoreSplitsCompoundsAndSkipsIncompleteRows)
{
    TempDataDir dir;
    CAnalyzeSettings settings;
    WordReportInput input;
    input.missing = {{u"고객"_qs, 3}, {u"고객번호"_qs, 2}, {u"주문"_qs, 1}, {u"상품"_qs, 1}, {u"가나다"_qs, 1}};
    CWordReport report(input);
    const auto rowOf = [&](const QString& word) {
        for (int i = 0; i < int(report.Rows().size()); ++i)
            if (report.Rows()[size_t(i)].word == word)
                return i;
        return -1;
    };
    report.SetName(rowOf(u"고객"_qs), CWordReport::ColPhysical, u"CUST"_qs);
    report.SetName(rowOf(u"고객"_qs), CWordReport::ColFullName, u"customer"_qs);
    report.SetName(rowOf(u"고객번호"_qs), CWordReport::ColPhysical, u"CUST_NO"_qs);
    report.SetName(rowOf(u"고객번호"_qs), CWordReport::ColLogical, u"고객_번호"_qs);
    // Parts that do not pair up store nothing.
    report.SetName(rowOf(u"가나다"_qs), CWordReport::ColPhysical, u"A_B_C"_qs);
    report.SetName(rowOf(u"가나다"_qs), CWordReport::ColLogical, u"가_나"_qs);
    // 주문 has no physical name; 상품 is excluded after being named.
    report.SetName(rowOf(u"상품"_qs), CWordReport::ColPhysical, u"PRD"_qs);
    report.Exclude({rowOf(u"상품"_qs)}, settings);
    bool saved = false;
    EXPECT_EQ(report.Store(settings, &saved), 3);
    EXPECT_TRUE(saved);
    _stAnalyzeManageWord word;
    ASSERT_TRUE(settings.GetWord(u"CUST"_qs, u"고객"_qs, word));
    EXPECT_EQ(word.strPhyFullName, u"customer"_qs);
    EXPECT_TRUE(settings.GetWord(u"NO"_qs, u"번호"_qs, word));
    EXPECT_FALSE(settings.GetWord(u"PRD"_qs, u"상품"_qs, word));
    EXPECT_TRUE(settings.IsExceptWord(u"상품"_qs));
    // The file holds what was stored.
    CAnalyzeSettings reloaded;
    reloaded.LoadFrom(CAnalyzeSettings::SettingsPath());
    EXPECT_TRUE(reloaded.GetWord(u"NO"_qs, u"번호"_qs, word));
    // Only the logical name's own change counts as a word change in mode 0.
    const auto changes = report.WordChanges();
    ASSERT_EQ(changes.size(), 2u);
}

TEST(WordReport, ExcludeLeavesDictionaryWordsOut)
{
    CAnalyzeSettings settings;
    settings.AddWord(u"CUST"_qs, u"고객"_qs, _stAnalyzeManageWord());
    WordReportInput input;
    input.missing = {{u"고객"_qs, 1}, {u"별"_qs, 1}};
    CWordReport report(input);
    report.Exclude({0, 1}, settings);
    EXPECT_FALSE(settings.IsExceptWord(u"고객"_qs));
    EXPECT_TRUE(settings.IsExceptWord(u"별"_qs));
    EXPECT_TRUE(report.Rows()[0].excluded);
    EXPECT_TRUE(report.Rows()[0].logical.isEmpty());
}

TEST(DomainReport, ProposalStoreAndBadKeys)
{
    TempDataDir dir;
    CAnalyzeSettings settings;
    DomainReportInput input;
    input.analyzedCount = 10;
    input.foundCount = 7;
    input.missing = {{u"명+VARCHAR+100+"_qs, 4}, {u"일자+CHAR+8+"_qs, 6}, {u"broken"_qs, 9}};
    DomainAnalysisTarget target;
    target.attribute = u"주문일자"_qs;
    target.refCount = 2;
    target.type = u"CHAR"_qs;
    target.length = u"8"_qs;
    target.mapColumns = {{u"ORD_DT"_qs, 2}};
    input.targets[u"일자+CHAR+8+"_qs] = {target};
    CDomainReport report(input, settings);
    EXPECT_EQ(report.MissingBar(), 3);
    ASSERT_EQ(report.Rows().size(), 3u);
    // A key that is not four parts gives an empty row.
    EXPECT_EQ(report.RowTexts(0), QStringList(8));
    EXPECT_EQ(report.Rows()[1].keyDomain, u"일자"_qs);
    EXPECT_EQ(report.Details(1),
              (std::vector<QStringList>{{u"주문일자"_qs, u"2"_qs, u"ORD_DT (2)"_qs, u"CHAR(8)"_qs, QString()}}));

    // The name is proposed once key domain name and a known type are there.
    EXPECT_FALSE(report.SetCell(2, CDomainReport::ColLength, u"100"_qs));
    EXPECT_TRUE(report.SetCell(2, CDomainReport::ColKeyDomainName, u"명"_qs));
    EXPECT_EQ(report.Rows()[2].domainName, u"명VC100"_qs);
    EXPECT_FALSE(report.SetCell(2, CDomainReport::ColType, u"NOSUCHTYPE"_qs));
    EXPECT_TRUE(report.SetCell(2, CDomainReport::ColType, u"VARCHAR"_qs));
    EXPECT_FALSE(report.SetCell(1, CDomainReport::ColKeyDomainName, QString()));

    bool saved = false;
    EXPECT_EQ(report.Store(settings, &saved), 1);
    EXPECT_TRUE(saved);
    _stAnalyzeManageDomain domain;
    ASSERT_TRUE(settings.GetDomain(u"명"_qs, u"명VC100"_qs, domain));
    EXPECT_EQ(domain.strDataType, u"VARCHAR"_qs);
    EXPECT_EQ(domain.strLength, u"100"_qs);

    const auto rows = report.ExportRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].value(4), u"분석 데이터타입"_qs);
    EXPECT_EQ(rows[1].value(1), u"주문일자"_qs);
}

TEST(DomainReport, StoreWithNothingCompleteStillSaves)
{
    TempDataDir dir;
    CAnalyzeSettings settings;
    DomainReportInput input;
    input.missing = {{u"명+VARCHAR+100+"_qs, 1}};
    const CDomainReport report(input, settings);
    bool saved = false;
    EXPECT_EQ(report.Store(settings, &saved), 0);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(QFile::exists(CAnalyzeSettings::SettingsPath()));
}

#include "AnalysisTestUtil.h"
#include "analysis/AnalysisTexts.h"
#include "analysis/DomainAnalysis.h"
#include "components/QrProgressWnd.h"
#include "exchange/AnalysisResultJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

class DomainAnalysisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        varchar = settings.ConvertToLogicalDataType(QStringLiteral("VARCHAR"));
        numeric = settings.ConvertToLogicalDataType(QStringLiteral("NUMERIC"));
        date = settings.ConvertToLogicalDataType(QStringLiteral("DATE"));
        AddDomain(U("번호"), U("번호N10"), numeric, QStringLiteral("10"), QString());
        AddDomain(U("번호"), U("번호VC10"), varchar, QStringLiteral("10"), QString());
        AddDomain(U("번호"), U("번호VC10B"), varchar, QStringLiteral("10"), QString());
        AddDomain(U("명"), U("명VC100"), varchar, QStringLiteral("100 "), QString());
        AddDomain(U("일자"), U("일자DT"), date, QString(), QString());
        AddDomain(U("금액"), U("금액DEC15,2"), numeric, QStringLiteral("15"), QStringLiteral("2"));
        settings.AddExceptDomain(U("일"));
        CQrProgressWnd::SetBackend(std::make_unique<CSilentProgress>());
    }
    void TearDown() override { CQrProgressWnd::SetBackend(nullptr); }

    void AddDomain(const QString& key, const QString& name, const QString& type, const QString& length,
                   const QString& scale)
    {
        _stAnalyzeManageDomain domain;
        domain.strKeyDomainName = key;
        domain.strDomainName = name;
        domain.strDataType = type;
        domain.strLength = length;
        domain.strScale = scale;
        settings.m_mapDomains[key][name] = domain;
        settings.Touch();
    }

    // Columns: name, type, column, reference, length.
    void Load(DomainAnalysis& engine, const QVector<QStringList>& rows)
    {
        QVector<QStringList> sheet{{U("속성명"), U("타입"), U("컬럼"), U("참고"), U("길이")}};
        sheet += rows;
        engine.SetSheet(sheet);
        engine.Designations().Designate(DomainAnalysis::RoleAttribute, 0);
        engine.Designations().Designate(DomainAnalysis::RoleType, 1);
        engine.Designations().Designate(DomainAnalysis::RoleColumn, 2);
        engine.Designations().Designate(DomainAnalysis::RoleReference, 3);
        engine.SetExcludeFirstRow(true);
        engine.Splitter().SetFallback([](const QString& name) {
            return name.size() > 2 ? QStringList{name.left(2), name.mid(2)} : QStringList();
        });
    }

    static QStringList Keys(const DomainAnalysis& engine)
    {
        QStringList keys;
        for (const auto& r : engine.Results())
            keys << r.key;
        return keys;
    }

    CAnalyzeSettings settings;
    QString varchar, numeric, date;
};

TEST_F(DomainAnalysisTest, TargetsKeyDomainsAndExactMatch)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("고객번호1"), QStringLiteral("VARCHAR(10)"), QStringLiteral("CUST_NO"), U("R1")},
                  {U("고객번호2"), QStringLiteral("VARCHAR(10)"), QStringLiteral("CUST_NO2"), U("")},
                  {U("고객번호"), QStringLiteral("VARCHAR(20)")},
                  {U("고객명"), QStringLiteral("VARCHAR(100)")},
                  {U("주문_일_자"), QStringLiteral("DATE")},
                  {U("가나다라"), QStringLiteral("CHAR(1)")},
                  {U("일"), QStringLiteral("DATE")},
                  {U(""), QStringLiteral("DATE")},
                  {U("주문번호"), QStringLiteral("VARCHAR(10)")}});
    const auto run = engine.Run();
    ASSERT_TRUE(run.ok);

    const QString key10 = MakeAttributeKey(U("고객번호"), QStringLiteral("VARCHAR"), QStringLiteral("10"), QString());
    EXPECT_EQ(key10, U("고객번호+VARCHAR+10+"));
    ASSERT_EQ(engine.Inputs().size(), 7);
    const DomainAnalysisTarget* target = engine.Inputs().find(key10);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->refCount, 2);
    EXPECT_EQ(target->column, QStringLiteral("CUST_NO2"));
    EXPECT_EQ(target->mapColumns,
              (std::map<QString, int>{{QStringLiteral("CUST_NO"), 1}, {QStringLiteral("CUST_NO2"), 1}}));
    EXPECT_EQ(target->mapReferences, (std::map<QString, int>{{U("R1"), 1}}));

    // the lone excluded domain is dropped from the list and the counters
    EXPECT_EQ(Keys(engine).size(), 6);
    EXPECT_EQ(engine.ResultOf(MakeAttributeKey(U("일"), QStringLiteral("DATE"), {}, {})), nullptr);
    EXPECT_EQ(engine.AnalyzedCount(), 6);

    const auto* found = engine.ResultOf(key10);
    EXPECT_EQ(found->words, (QStringList{U("고객"), U("번호")}));
    EXPECT_EQ(found->keyDomain, U("번호"));
    EXPECT_EQ(found->logicalType, varchar);
    EXPECT_EQ(found->domainName, U("번호VC10")); // first match in domain-name order
    EXPECT_EQ(found->status, 2);
    const auto* otherLength = engine.ResultOf(U("고객번호+VARCHAR+20+"));
    EXPECT_EQ(otherLength->status, 1);
    EXPECT_EQ(otherLength->domainKey, MakeCompositeKey({U("번호"), varchar, QStringLiteral("20"), QString()}));
    // "100 " is not 100
    EXPECT_EQ(engine.ResultOf(U("고객명+VARCHAR+100+"))->status, 1);
    const auto* joined = engine.ResultOf(U("주문_일_자+DATE++"));
    EXPECT_EQ(joined->words, (QStringList{U("주문"), U("일자")}));
    EXPECT_EQ(joined->domainName, U("일자DT"));
    const auto* unknown = engine.ResultOf(U("가나다라+CHAR+1+"));
    EXPECT_EQ(unknown->words, (QStringList{U("가나"), U("다라")}));
    EXPECT_EQ(unknown->keyDomain, U("다라"));
    EXPECT_EQ(unknown->status, 0);

    EXPECT_EQ(engine.FoundCount(), 3);
    EXPECT_EQ(engine.TargetListCaption(), U("대상 목록 ( 3 / 7 )"));
    EXPECT_EQ(engine.MissingDomainCounts().size(), 3u);
    EXPECT_EQ(engine.MissingDomainCounts().at(otherLength->domainKey), 1);
    const auto& missingTargets = engine.MissingDomainTargets().at(otherLength->domainKey);
    ASSERT_EQ(missingTargets.size(), 1u);
    EXPECT_EQ(missingTargets[0].key, U("고객번호+VARCHAR+20+"));
    // the filter offers key domains of more than one target, most frequent first
    EXPECT_EQ(engine.KeyDomainCounts().at(U("번호")), 3);
    EXPECT_EQ(engine.FilterEntries(), QStringList{U("번호")});
}

TEST_F(DomainAnalysisTest, LengthAndScaleColumnsReplaceParsedValues)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("주문금액"), QStringLiteral("NUMERIC(10,2)"), {}, {}, QStringLiteral("15")},
                  {U("할인금액"), QStringLiteral("NUMERIC"), {}, {}, QStringLiteral("15")}});
    engine.Designations().Designate(DomainAnalysis::RoleLength, 4);
    engine.Run();
    EXPECT_EQ(Keys(engine), (QStringList{U("주문금액+NUMERIC+15+2"), U("할인금액+NUMERIC+15+")}));
    EXPECT_EQ(engine.Results()[0].domainName, U("금액DEC15,2"));
    EXPECT_EQ(engine.Results()[1].status, 1);

    // both required columns must be designated
    engine.SetMode(DomainAnalysis::ModeSource);
    engine.Designations().Cancel(DomainAnalysis::RoleType);
    const auto run = engine.Run();
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message, AnalysisTexts::kMissingRequired);
    EXPECT_EQ(engine.Inputs().size(), 2);
}

TEST_F(DomainAnalysisTest, RowsFilterAndExclusion)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("고객번호"), QStringLiteral("VARCHAR(10)"), QStringLiteral("CUST_NO"), U("참고")},
                  {U("고객명"), QStringLiteral("VARCHAR(100)")},
                  {U("주문번호"), QStringLiteral("VARCHAR(30)")}});
    engine.Run();
    std::vector<AnalysisRow> rows = engine.Rows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].texts, (QStringList{U("고객번호"), U("고객번호"), QStringLiteral("CUST_NO"),
                                          QStringLiteral("VARCHAR"), QStringLiteral("10"), QString(), U("참고")}));
    EXPECT_EQ(rows[0].Image(0), 2);
    EXPECT_TRUE(rows[0].nameBold);
    EXPECT_EQ(rows[1].texts[0], U("고객_번호"));
    EXPECT_EQ(rows[1].mergeFirst, 2);
    EXPECT_EQ(rows[2].texts[0], U("번호"));
    EXPECT_EQ(rows[2].texts[2], U("번호VC10"));
    EXPECT_EQ(rows[2].Image(0), 2);
    EXPECT_EQ(rows[2].Image(2), 2);
    EXPECT_EQ(rows[5].Image(0), 1);
    EXPECT_EQ(rows[5].Image(2), -1);

    const auto hidden = [&] {
        QStringList names;
        for (const AnalysisRow& row : engine.Rows())
            if (row.level == 1 && row.hidden)
                names << row.texts[0];
        return names;
    };
    engine.SetFilterText(U("번호"));
    EXPECT_EQ(hidden(), QStringList{U("고객명")});
    engine.SetFilterText(U("고객"));
    EXPECT_EQ(hidden(), (QStringList{U("고객번호"), U("고객명"), U("주문번호")})); // ends with, not contains
    engine.SetFilterText(QString());
    engine.SetExcludeAnalyzed(true);
    EXPECT_EQ(hidden(), QStringList{U("고객번호")});
}

TEST_F(DomainAnalysisTest, RenameMovesOrMerges)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("고객번호"), QStringLiteral("VARCHAR(10)"), QStringLiteral("C1")},
                  {U("회원번호"), QStringLiteral("VARCHAR(10)"), QStringLiteral("C2")},
                  {U("주문명"), QStringLiteral("VARCHAR(10)"), QStringLiteral("C3")}});
    engine.Run();
    auto renamed = engine.RenameTarget(U("주문명+VARCHAR+10+"), U("주문일자2"));
    EXPECT_TRUE(renamed.changed);
    EXPECT_EQ(renamed.name, U("주문일자"));
    EXPECT_EQ(renamed.key, U("주문일자+VARCHAR+10+"));
    EXPECT_EQ(engine.ResultOf(renamed.key)->keyDomain, U("일자"));
    EXPECT_EQ(Keys(engine).last(), renamed.key);

    renamed = engine.RenameTarget(U("회원번호+VARCHAR+10+"), U("고객번호"));
    EXPECT_TRUE(renamed.merged);
    EXPECT_EQ(Keys(engine), (QStringList{U("고객번호+VARCHAR+10+"), U("주문일자+VARCHAR+10+")}));
    const DomainAnalysisTarget* merged = engine.Inputs().find(U("고객번호+VARCHAR+10+"));
    EXPECT_EQ(merged->refCount, 2);
    EXPECT_EQ(merged->mapColumns, (std::map<QString, int>{{QStringLiteral("C1"), 1}, {QStringLiteral("C2"), 1}}));
    EXPECT_EQ(engine.FoundCount(), 1);
    EXPECT_EQ(engine.AnalyzedCount(), 2);
    EXPECT_EQ(engine.DomainKeyOf(U("주문일자+VARCHAR+10+")),
              MakeCompositeKey({U("일자"), varchar, QStringLiteral("10"), QString()}));
}

TEST_F(DomainAnalysisTest, CancelKeepsDoneTargetsAndCounters)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("고객번호"), QStringLiteral("VARCHAR(10)")},
                  {U("고객명"), QStringLiteral("VARCHAR(10)")},
                  {U("주문번호"), QStringLiteral("VARCHAR(10)")}});
    static_cast<CSilentProgress*>(CQrProgressWnd::Backend())->m_cancelAfter = 2;
    const auto run = engine.Run();
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(engine.Results().size(), 2u);
    EXPECT_EQ(engine.AnalyzedCount(), 2);
    EXPECT_EQ(engine.FoundCount(), 1);
    EXPECT_EQ(engine.MissingDomainCounts().size(), 1u);
    EXPECT_EQ(engine.Mode(), DomainAnalysis::ModeResult);
}

TEST_F(DomainAnalysisTest, JsonResult)
{
    DomainAnalysis engine(&settings);
    Load(engine, {{U("고객번호1"), QStringLiteral("VARCHAR(10)")},
                  {U("고객번호"), QStringLiteral("VARCHAR(20)")},
                  {U("가나다라"), QStringLiteral("CHAR(1)")}});
    engine.Run();
    const QJsonObject json = AnalysisResultJson(engine);
    EXPECT_EQ(json[QStringLiteral("kind")].toString(), QStringLiteral("domain"));
    const QJsonArray targets = json[QStringLiteral("targets")].toArray();
    ASSERT_EQ(targets.size(), 3);
    const QJsonObject first = targets[0].toObject();
    EXPECT_EQ(first[QStringLiteral("key")].toString(), U("고객번호+VARCHAR+10+"));
    EXPECT_EQ(first[QStringLiteral("name")].toString(), U("고객번호"));
    EXPECT_EQ(first[QStringLiteral("sources")].toArray().first().toString(), U("고객번호1"));
    EXPECT_EQ(first[QStringLiteral("status")].toInt(), 2);
    EXPECT_EQ(first[QStringLiteral("keyDomain")].toString(), U("번호"));
    EXPECT_EQ(first[QStringLiteral("logicalType")].toString(), varchar);
    EXPECT_EQ(first[QStringLiteral("type")].toString(), QStringLiteral("VARCHAR"));
    EXPECT_EQ(first[QStringLiteral("length")].toString(), QStringLiteral("10"));
    EXPECT_EQ(first[QStringLiteral("domain")].toString(), U("번호VC10"));
    EXPECT_EQ(first[QStringLiteral("words")].toArray().size(), 2);
    EXPECT_EQ(first[QStringLiteral("words")].toArray()[0].toObject()[QStringLiteral("partner")].toString(), QString());
    EXPECT_EQ(json[QStringLiteral("totals")].toObject()[QStringLiteral("found")].toInt(), 1);
    const QJsonObject missing = json[QStringLiteral("missingDomains")].toObject();
    EXPECT_EQ(missing.size(), 2);
    EXPECT_EQ(missing[MakeCompositeKey({U("번호"), varchar, QStringLiteral("20"), QString()})].toInt(), 1);
    EXPECT_EQ(missing[MakeCompositeKey({U("다라"), settings.ConvertToLogicalDataType(QStringLiteral("CHAR")),
                                        QStringLiteral("1"), QString()})]
                  .toInt(),
              1);
}

} // namespace

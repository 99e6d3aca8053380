// Long target lists: the split on two cores gives the one-core results in the same order (and a
// cancel keeps the first half done), removals in a batch leave the target map as single removals
// would, and its hash keeps finding every key through removals, renames and growth.
#include "AnalysisTestUtil.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/TargetMap.h"
#include "components/QrProgressWnd.h"

#include <gtest/gtest.h>
#include <map>

TEST(LargeList, TwoCoreSplitKeepsOrderAndResults)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}, {"NO", "번호"}, {"NM", "명"}, {"ORD", "주문"}});
    AddExcept(settings, {"별"});
    LogicalWordAnalysis engine(&settings);
    engine.Splitter().SetFallback({});
    const QStringList parts = {U("고객"), U("번호"), U("명"), U("주문"), U("가"), U("별")};
    QStringList expectedKeys;
    for (int i = 0; i < 12000; ++i) {
        QString name = parts[i % 6] + QString::number(i) + parts[(i / 6) % 6] + parts[(i / 36) % 6];
        if (i % 500 == 0)
            name = U("별_"); // nothing but an excluded word: left out of the results
        engine.AddSourceRow(name, nullptr, nullptr, nullptr);
    }
    for (const auto& [key, input] : engine.Inputs())
        if (!engine.SplitName(key).removed)
            expectedKeys << key;
    ASSERT_EQ(expectedKeys.size(), engine.Inputs().size() - 1);
    ASSERT_GT(expectedKeys.size(), 4096); // long enough for the second core
    ASSERT_FALSE(engine.Analyze().cancelled);

    QStringList keys;
    for (const WordAnalysis::WordResult& result : engine.Results())
        keys << result.key;
    EXPECT_EQ(keys, expectedKeys);
    for (const WordAnalysis::WordResult& result : engine.Results()) {
        const WordSplitter::WordSplit split = engine.SplitName(result.key);
        ASSERT_EQ(Show(result.words), Show(split.words)) << result.key.toStdString();
        EXPECT_EQ(result.definitions.size(), split.words.size());
    }
    EXPECT_EQ(engine.ResultOf(expectedKeys.last()), &engine.Results().back());
}

// A cancel while both cores work keeps the first half's targets done so far, in order, and
// nothing of the worker's half.
TEST(LargeList, TwoCoreCancelKeepsOnlyTheFirstHalfDone)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}, {"NO", "번호"}});
    AddExcept(settings, {"별"});
    LogicalWordAnalysis engine(&settings);
    for (int i = 0; i < 10000; ++i)
        engine.AddSourceRow(i % 7 == 0 ? QString(U("별_")) : QString(U("고객") + QString::number(i) + U("번호")),
                            nullptr, nullptr, nullptr);
    auto* progress = static_cast<CSilentProgress*>(CQrProgressWnd::Backend());
    progress->m_cancelAfter = 100; // two steps a target of the first half
    const auto run = engine.Analyze();
    progress->m_cancelAfter = -1;
    ASSERT_TRUE(run.cancelled);
    QStringList expected;
    for (qsizetype i = 0; i < 50; ++i)
        if (!engine.SplitName(engine.Inputs().keyAt(i)).removed)
            expected << engine.Inputs().keyAt(i);
    QStringList keys;
    for (const WordAnalysis::WordResult& result : engine.Results()) {
        keys << result.key;
        EXPECT_EQ(result.AnalyzedPartner(), QStringLiteral("CUST_?_NO")) << result.key.toStdString();
    }
    EXPECT_EQ(keys, expected);
}

TEST(LargeList, BatchRemovalMatchesSingleRemovals)
{
    TargetMap<int> single, batch;
    for (int i = 0; i < 50; ++i) {
        single[QString::number(i)] = i;
        batch[QString::number(i)] = i;
    }
    const std::vector<int> gone = {0, 7, 8, 9, 31, 49, 48, 20};
    for (int i : gone) {
        EXPECT_TRUE(single.remove(QString::number(i)));
        EXPECT_TRUE(batch.removeLater(QString::number(i)));
        EXPECT_FALSE(batch.contains(QString::number(i)));
    }
    EXPECT_FALSE(batch.removeLater(QStringLiteral("7"))); // already gone
    // A hint is only a first guess: a removed key is not found at its old slot, a moved one is.
    EXPECT_EQ(std::as_const(batch).find(QStringLiteral("7"), 7), nullptr);
    EXPECT_EQ(std::as_const(single).find(QStringLiteral("10"), 10), single.find(QStringLiteral("10")));
    EXPECT_EQ(*std::as_const(single).find(QStringLiteral("10"), 3), 10);
    EXPECT_EQ(std::as_const(single).find(QStringLiteral("x"), -1), nullptr);
    batch[QStringLiteral("new")] = 100; // appended while slots wait
    single[QStringLiteral("new")] = 100;
    batch.compact();
    ASSERT_EQ(batch.size(), single.size());
    for (qsizetype i = 0; i < single.size(); ++i) {
        EXPECT_EQ(batch.keyAt(i), single.keyAt(i));
        EXPECT_EQ(batch.at(i), single.at(i));
        EXPECT_EQ(batch.indexOf(single.keyAt(i)), i);
    }
}

// Keys in ascending order go in without the hash; a repeat or a key out of order after them
// must still find the entry already there, and lookups must agree before and after.
TEST(LargeList, OrderedKeysStayUniqueWithoutTheHash)
{
    TargetMap<int> map;
    for (const char* key : {"가", "나", "다", "라"})
        map[QString::fromUtf8(key)] += 1;
    EXPECT_EQ(map.indexOf(U("다")), 2);
    EXPECT_EQ(map.find(U("마")), nullptr);
    EXPECT_EQ(map.find(U("")), nullptr);
    map.insertOrFold(U("라"), 5, [](int& earlier, int&& later) { earlier += later; }); // the last key again
    map[U("나")] += 10;                                                                // a repeat out of order
    map[U("각")] = 7;                                                                  // a new key out of order
    ASSERT_EQ(map.size(), 5);
    EXPECT_EQ(*map.find(U("나")), 11);
    EXPECT_EQ(*map.find(U("라")), 6);
    EXPECT_EQ(map.indexOf(U("각")), 4);
    EXPECT_TRUE(map.rename(U("가"), U("하")));
    EXPECT_EQ(map.indexOf(U("하")), 0);
    map.clear(); // ordered again after clearing
    map[U("b")] = 1;
    map[U("a")] = 2;
    EXPECT_EQ(*map.find(U("b")), 1);
    EXPECT_EQ(map.indexOf(U("a")), 1);
}

// Keys out of order, removed in batches, renamed and added again over and over: every lookup
// agrees with a plain map of the same keys, through the table's growth and its removed slots.
TEST(LargeList, HashedLookupsFollowManyRemovalsAndRenames)
{
    TargetMap<int> map;
    std::map<QString, int> model; // key -> value; positions checked against the map's own order
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 3000; ++i) {
            const QString key = QString::number((i * 7919 + round * 31) % 5000);
            map[key] += 1;
            model[key] += 1;
        }
        int n = 0;
        for (auto it = model.begin(); it != model.end();) {
            if (n++ % 3 == round % 3) {
                EXPECT_TRUE(map.removeLater(it->first));
                it = model.erase(it);
            } else {
                ++it;
            }
        }
        map.compact();
        for (int i = 0; i < 200; ++i) {
            const QString from = QString::number(i * 13 % 5000), to = QStringLiteral("r%1-%2").arg(round).arg(i);
            const auto it = model.find(from);
            EXPECT_EQ(map.rename(from, to), it != model.end());
            if (it != model.end()) {
                model[to] = it->second;
                model.erase(it);
            }
        }
        ASSERT_EQ(map.size(), qsizetype(model.size()));
        for (qsizetype i = 0; i < map.size(); ++i)
            EXPECT_EQ(map.indexOf(map.keyAt(i)), i);
        for (const auto& [key, value] : model)
            ASSERT_NE(map.find(key), nullptr) << key.toStdString();
        for (const auto& [key, value] : model)
            EXPECT_EQ(*map.find(key), value);
        EXPECT_EQ(map.find(QStringLiteral("absent")), nullptr);
    }
}

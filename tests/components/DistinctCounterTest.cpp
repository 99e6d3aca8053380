#include "components/DistinctCounter.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

// Runs on disk, repeats within and across runs, and keys still in memory: counted once each.
TEST(DistinctCounter, CountsEachKeyOnceAcrossRunsOnDisk)
{
    std::mt19937_64 random(7);
    for (const size_t held : {size_t(2), size_t(5), size_t(64), size_t(1) << 20}) {
        SCOPED_TRACE(held);
        DistinctCounter counter(held);
        std::set<quint64> keys;
        for (int i = 0; i < 5000; ++i) {
            // A small range makes repeats; 0 and the largest key are keys like any other.
            const quint64 key = i % 7 == 0 ? 0 : i % 11 == 0 ? ~quint64(0) : random() % 3000;
            counter.Add(key);
            keys.insert(key);
        }
        EXPECT_EQ(counter.Count(), qint64(keys.size()));
        counter.Add(~quint64(0) - 1); // counting is no end: more keys after a count
        keys.insert(~quint64(0) - 1);
        EXPECT_EQ(counter.Count(), qint64(keys.size()));
        counter.Clear();
        EXPECT_EQ(counter.Count(), 0);
    }
}

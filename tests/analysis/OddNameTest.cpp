// Names the sheets really contain now and then: blanks, separators only, characters
// outside the basic plane, very long cells. None may crash or lose characters.
#include "AnalysisTestUtil.h"
#include "analysis/DomainAnalysis.h"
#include "analysis/LatinCase.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/WordSplitter.h"
#include "components/QrProgressWnd.h"

#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString Joined(const WordPairList& pairs)
{
    QString out;
    for (const WordPair& p : pairs)
        out += p.word;
    return out;
}

QStringList OddNames()
{
    QString longName;
    for (int i = 0; i < 20000; ++i)
        longName += (i % 3 == 0) ? U("고객") : (i % 3 == 1 ? U("별") : U("쿠"));
    QString longLatin;
    for (int i = 0; i < 20000; ++i)
        longLatin += (i % 2 == 0) ? QStringLiteral("CUST") : QStringLiteral("Q");
    QString unknown;
    for (int i = 0; i < 50000; ++i)
        unknown += QChar(0xAC00 + (i * 7919) % 11172);
    return {QString(),
            unknown,
            unknown + U("의을를에서는"),
            QString(50000, QLatin1Char(' ')),
            U(" "),
            U("___"),
            U("_"),
            U("별"),
            U("😀"),
            U("😀고객😀"),
            U("고객😀명"),
            QString(QChar(0xD83D)),               // half a character
            U("고객") + QChar(0xDE00) + U("명"), // the other half
            U("CUST😀NM"),
            longName,
            longLatin};
}

TEST(OddNames, SplitsKeepEveryCharacter)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}, {"NM", "명"}, {"CD", "코드"}, {"😀X", "😀"}});
    AddExcept(settings, {"별", "BY"});
    WordSplitter splitter(&settings);
    for (const QString& name : OddNames()) {
        SCOPED_TRACE(name.left(40).toStdString());
        if (name.contains(QLatin1Char('_')))
            continue;
        const auto logical = splitter.SplitLogical(name);
        if (!logical.removed) {
            EXPECT_EQ(Joined(logical.words), name);
        }
        for (int need : {0, 1}) {
            settings.need_seperator = need;
            const auto physical = splitter.SplitPhysical(name);
            if (!physical.removed) {
                EXPECT_EQ(Joined(physical.words), name);
            }
        }
        settings.need_seperator = 0;
        for (const WordPair& p : logical.words)
            EXPECT_FALSE(p.word.isEmpty());
    }
}

TEST(OddNames, EnginesRunOverOddNames)
{
    CAnalyzeSettings settings;
    AddWords(settings, {{"CUST", "고객"}, {"NM", "명"}});
    AddExcept(settings, {"별"});
    _stAnalyzeManageDomain domain;
    domain.strDataType = QStringLiteral("VARCHAR");
    domain.strLength = QStringLiteral("100");
    settings.AddDomain(U("명"), U("명V100"), domain);
    CQrProgressWnd::SetBackend(std::make_unique<CSilentProgress>());

    LogicalWordAnalysis logical(&settings);
    PhysicalWordAnalysis physical(&settings);
    DomainAnalysis domains(&settings);
    for (const QString& name : OddNames()) {
        logical.AddSourceRow(name, nullptr, nullptr, nullptr);
        physical.AddSourceRow(name, nullptr, nullptr, nullptr);
        domains.AddSourceRow(name, QStringLiteral("VARCHAR(100)"), nullptr, nullptr, nullptr, nullptr);
    }
    EXPECT_TRUE(logical.Analyze().ok);
    EXPECT_TRUE(physical.Analyze().ok);
    EXPECT_TRUE(domains.Analyze().ok);
    EXPECT_FALSE(logical.Rows().empty());
    EXPECT_FALSE(physical.Rows().empty());
    EXPECT_FALSE(domains.Rows().empty());
    for (const auto& r : logical.Results()) {
        for (const WordPair& p : r.words)
            EXPECT_FALSE(p.word.isEmpty()) << r.key.left(20).toStdString();
    }
    CQrProgressWnd::SetBackend(nullptr);
}

} // namespace

namespace {

// The key-domain split as the steps read, one set lookup per suffix length.
struct LiteralDomain
{
    const CAnalyzeSettings& settings;
    std::function<QStringList(const QString&)> fallback;

    WordSplitter::DomainSplit Split(const QString& name) const
    {
        WordSplitter::DomainSplit out;
        if (name.contains(QLatin1Char('_'))) {
            QStringList words = name.split(QLatin1Char('_'), Qt::SkipEmptyParts);
            bool changed = true;
            while (changed && words.size() >= 2) {
                changed = false;
                QStringList next;
                QString pending;
                for (const QString& w : words) {
                    if (settings.IsExceptDomain(w)) {
                        pending += w;
                        changed = true;
                    } else {
                        next << pending + w;
                        pending.clear();
                    }
                }
                if (!pending.isEmpty()) {
                    if (next.isEmpty())
                        next << pending;
                    else
                        next.last() += pending;
                }
                words = next;
            }
            out.words = words;
            out.keyDomain = words.isEmpty() ? QString() : words.last();
        } else {
            int best = 0;
            for (int k = 1; k <= name.size(); ++k) {
                const QString suffix = name.right(k);
                if (settings.m_mapDomains.count(suffix) && !settings.IsExceptDomain(suffix))
                    best = k;
            }
            if (best > 0) {
                out.keyDomain = name.right(best);
                if (best < name.size())
                    out.words << name.left(name.size() - best);
                out.words << out.keyDomain;
            } else if (!name.isEmpty()) {
                QStringList found = fallback(name);
                found.removeAll(QString());
                if (found.isEmpty()) {
                    out.words = {name};
                } else {
                    out.words = found;
                    while (out.words.size() > 1 && settings.IsExceptDomain(out.words.last())) {
                        const QString key = out.words.takeLast();
                        out.words.last() = out.words.last() + key;
                    }
                }
                out.keyDomain = out.words.last();
            }
        }
        out.removed = out.keyDomain.isEmpty() || (out.words.size() == 1 && settings.IsExceptDomain(out.words[0]));
        return out;
    }
};

QStringList Halves(const QString& name)
{
    if (name.size() < 2)
        return {};
    return {name.left(name.size() / 2), name.mid(name.size() / 2)};
}

TEST(OddNames, DomainSplitEqualsLiteralSteps)
{
    CAnalyzeSettings settings;
    QRandomGenerator rng(7);
    const QString pool = U("고객명번호일자금액코드여부구분");
    const auto pick = [&](int minLen, int maxLen) {
        QString s;
        const int len = minLen + int(rng.bounded(maxLen - minLen + 1));
        for (int i = 0; i < len; ++i)
            s += pool[int(rng.bounded(int(pool.size())))];
        return s;
    };
    for (int i = 0; i < 300; ++i)
        settings.m_mapDomains[pick(1, 3)][QStringLiteral("D")] = {};
    for (int i = 0; i < 40; ++i)
        settings.m_setExceptDomains.insert(pick(1, 2));
    settings.Touch();
    WordSplitter splitter(&settings);
    splitter.SetFallback(Halves);
    const LiteralDomain reference{settings, Halves};
    for (int i = 0; i < 20000; ++i) {
        QString name = pick(0, 6);
        if (rng.bounded(4) == 0)
            name.insert(int(rng.bounded(int(name.size()) + 1)), QLatin1Char('_'));
        if (rng.bounded(8) == 0)
            name += QLatin1Char('_') + pick(1, 2);
        const auto expected = reference.Split(name);
        const auto split = splitter.SplitDomain(name);
        ASSERT_EQ(split.removed, expected.removed) << name.toStdString();
        if (!expected.removed) {
            ASSERT_EQ(split.words, expected.words) << name.toStdString();
            ASSERT_EQ(split.keyDomain, expected.keyDomain) << name.toStdString();
        }
    }
}

} // namespace

// The hand-made ASCII comparison must say what Qt's case-insensitive one says, also where a
// character beyond ASCII folds to a Latin letter and where a bit trick would make [ equal {.
TEST(OddName, CaseInsensitiveComparisonIsQtsOne)
{
    const std::pair<QString, QString> pairs[] = {
        {U("create"), U("CREATE")}, {U("Create"), U("CREATX")}, {U("["), U("{")},   {U("@"), U("`")},
        {U("ſet"), U("SET")},       {U("\u212Aey"), U("KEY")},  {U("키"), U("키")}, {U("ID"), U("id ")},
        {QString(), QString()},     {U("a_b"), U("A_B")},       {U("ÀB"), U("àb")}, {U("z"), U("Z")}};
    for (const auto& [a, b] : pairs) {
        EXPECT_EQ(LatinCase::SameIgnoringCase(a, b), a.compare(b, Qt::CaseInsensitive) == 0) << a.toStdString();
        const QString longer = a + U("tail");
        EXPECT_EQ(LatinCase::StartsIgnoringCase(longer, b), longer.startsWith(b, Qt::CaseInsensitive))
            << a.toStdString();
    }
}

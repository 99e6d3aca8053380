// Two registrations of one list started at once, as two users' scripts would: every word is
// stored once, and the counts they print add up to what the repository holds.
#include "repository/RepoTestDb.h"
#include "repository/RepositoryInit.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class RepositoryWriteTest : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        RepositoryInitSummary summary;
        QString error;
        ASSERT_TRUE(LoadDemoStandard(repo.Db(), summary, error)) << error.toStdString();
        repo.Exec(QStringLiteral("UPDATE ZT_OPTIONS SET OPTN_VAL = ''"));
    }
    TempDataDir data;
    TestRepository repo;
};

} // namespace

TEST_P(RepositoryWriteTest, TwoRegistrationsAtOnceStoreEachWordOnce)
{
    constexpr int kWords = 1500;
    QString rows = QStringLiteral("단어 논리명,단어 물리명\n");
    for (int i = 0; i < kWords; ++i)
        rows += QStringLiteral("겹말%1,ZR%2\n").arg(i).arg(i, 4, 10, QLatin1Char('0'));
    const QString words = data.file(QStringLiteral("words.csv"));
    WriteTextFile(words, rows);
    QProcess runs[2];
    for (QProcess& p : runs)
        p.start(QStringLiteral(TERMWISE_EXE),
                {QStringLiteral("register"), QStringLiteral("words"), QStringLiteral("--repo"), repo.Uri(),
                 QStringLiteral("--area"), QStringLiteral("ENT"), QStringLiteral("--input"), words});
    int reported = 0;
    static const QRegularExpression kRegistered(QStringLiteral("\\n(\\d+) words registered in "));
    for (QProcess& p : runs) {
        ASSERT_TRUE(p.waitForFinished(300000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QRegularExpressionMatch m = kRegistered.match(out);
        ASSERT_TRUE(m.hasMatch()) << out.right(300).toStdString();
        reported += m.captured(1).toInt();
    }
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM LIKE 'ZR%' AND AVAL_END_DT = "
                                        "'99991231235959'")),
              kWords);
    EXPECT_EQ(reported, kWords);
}

INSTANTIATE_TEST_SUITE_P(Dialects, RepositoryWriteTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// The checks of the standard registration lists against the demo standard, on SQLite and on
// PostgreSQL: existing words and domains, the synonym switch, domain-word verdicts, and the
// registration that follows (direct route).
#include "registration/StandardCheck.h"
#include "registration/StandardRegistration.h"
#include "support/DemoRepositoryTest.h"

#include <gtest/gtest.h>

namespace {

class StandardCheckTest : public DemoRepositoryTest
{
protected:
    CSqlBaseGate* Gate() { return CRepositoryConnection::Instance().OpenGate(); }
};

_stAnalyzeManageWord Word(const QString& full = {})
{
    _stAnalyzeManageWord w;
    w.strPhyFullName = full;
    return w;
}

} // namespace

TEST_P(StandardCheckTest, SynonymSwitchDecidesWhetherALogicalNameUnderAnotherPhysicalNameExists)
{
    WordIndex candidates;
    candidates[QStringLiteral("NO")][QStringLiteral("번호")] = Word();  // standard as it stands
    candidates[QStringLiteral("NUM")][QStringLiteral("번호")] = Word(); // same logical, other physical
    candidates[QStringLiteral("ZZQ")][QStringLiteral("새단어")] = Word(QStringLiteral("New Word"));
    const QString area = DemoStandard::MainAreaId;

    for (const bool accept : {false, true}) {
        std::vector<StandardWordRow> rows = StandardCheck::WordRows(candidates);
        StandardCheck::CheckWords(rows, area, Gate(), accept);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].physical, QStringLiteral("NO"));
        EXPECT_EQ(rows[0].image, 1);
        EXPECT_EQ(rows[0].note, QStringLiteral("동일 단어 존재"));
        EXPECT_EQ(rows[1].physical, QStringLiteral("NUM"));
        EXPECT_EQ(rows[1].image, accept ? 0 : 1) << "accept_synonym_words " << accept;
        EXPECT_EQ(rows[2].image, 0);
        const WordIndex left = StandardCheck::RegistrableWords(rows);
        EXPECT_EQ(left.size(), accept ? 2u : 1u);
    }

    // Without a gateway nothing is found.
    std::vector<StandardWordRow> rows = StandardCheck::WordRows(candidates);
    StandardCheck::CheckWords(rows, area, nullptr, false);
    EXPECT_EQ(StandardCheck::RegistrableWords(rows).size(), 3u);

    // Registering what is left writes it; a second check then finds every row, and the
    // empty map that remains registers nothing and reports failure without a word.
    rows = StandardCheck::WordRows(candidates);
    StandardCheck::CheckWords(rows, area, Gate(), true);
    WordIndex left = StandardCheck::RegistrableWords(rows);
    ASSERT_TRUE(GlobalFunc::InsertStandardWord(area, left));
    StandardCheck::CheckWords(rows, area, Gate(), true);
    for (const StandardWordRow& row : rows)
        EXPECT_EQ(row.image, 1) << row.physical.toStdString();
    WordIndex none = StandardCheck::RegistrableWords(rows);
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(GlobalFunc::InsertStandardWord(area, none));
}

TEST_P(StandardCheckTest, DomainsShowExistenceOverWordVerdictsAndTheClassWordChangeClearsTheirs)
{
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    settings.domain_use_words = 1;
    const QString area = DemoStandard::MainAreaId;
    std::vector<_stAnalyzeManageDomain> standard;
    ASSERT_TRUE(Gate()->SelectStandardDomains(area, standard));
    ASSERT_FALSE(standard.empty());
    const _stAnalyzeManageDomain& existing = standard.front();

    DomainIndex candidates;
    candidates[existing.strKeyDomainName][existing.strDomainName] = existing;
    candidates[QStringLiteral("고객")][QStringLiteral("번호고객")].strDataType =
        QStringLiteral("VARCHAR"); // 고객: no class word
    candidates[QStringLiteral("뷁")][QStringLiteral("뷁뷁")].strDataType = QStringLiteral("VARCHAR"); // unknown word
    std::vector<StandardDomainRow> rows = StandardCheck::DomainRows(candidates);
    StandardCheck::CheckDomains(rows, area, Gate(), true);
    std::map<QString, const StandardDomainRow*> byName;
    for (const StandardDomainRow& r : rows)
        byName[r.name] = &r;
    EXPECT_EQ(byName[existing.strDomainName]->image, 1);
    EXPECT_EQ(byName[existing.strDomainName]->note, QStringLiteral("동일 도메인 존재"));
    EXPECT_EQ(byName[QStringLiteral("번호고객")]->image, 2) << byName[QStringLiteral("번호고객")]->note.toStdString();
    EXPECT_EQ(byName[QStringLiteral("뷁뷁")]->image, 4) << byName[QStringLiteral("뷁뷁")]->note.toStdString();
    EXPECT_TRUE(StandardCheck::RegistrableDomains(rows, true).empty());

    // Without the word rule the verdicts still block: the rule only decides whether the
    // analysed words are registered with the domain.
    StandardCheck::CheckDomains(rows, area, Gate(), false);
    EXPECT_EQ(byName[QStringLiteral("번호고객")]->image, 2);
    EXPECT_EQ(byName[QStringLiteral("뷁뷁")]->image, 4);
    EXPECT_TRUE(StandardCheck::RegistrableDomains(rows, false).empty());

    // The class-word candidate is the last word, and after the flag the verdict is gone.
    StandardCheck::CheckDomains(rows, area, Gate(), true);
    _stAnalyzeManageWord word;
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [](const StandardDomainRow& r) { return r.name == QStringLiteral("번호고객"); });
    ASSERT_NE(it, rows.end());
    ASSERT_TRUE(StandardCheck::ClassWordCandidate(*it, word));
    EXPECT_EQ(word.strLogicalName, QStringLiteral("고객"));
    ASSERT_TRUE(Gate()->UpdateStandardClassWordFlag(area, word.strWordId));
    StandardCheck::CheckDomains(rows, area, Gate(), true);
    EXPECT_EQ(it->image, 0) << it->note.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dialects, StandardCheckTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

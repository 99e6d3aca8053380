// The standard registration lists on the demo repository (SQLite and PostgreSQL), driven
// through their controls. With TERMWISE_SCREENSHOTS set, their pictures are written there.
#include "components/ui/QrTreeGrid.h"
#include "registration/ui/StandardDomainDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "registration/ui/StandardWordDlg.h"
#include "support/DemoRepositoryTest.h"
#include "support/FormTestKit.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void Shot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (!dir.isEmpty())
        w->grab().save(dir + u'/' + QString::fromLatin1(name));
}

int RowOf(CQrTreeGrid* grid, int col, const QString& text)
{
    for (int r = 0; r < grid->GetRowCount(); ++r)
        if (grid->GetItemText(r, col) == text)
            return r;
    return -1;
}

class StandardListDlgTest : public DemoRepositoryTest
{
protected:
    UiScript ui;
};

} // namespace

TEST_P(StandardListDlgTest, WordListMarksExistingWordsRechecksPerAreaAndRegistersTheRest)
{
    WordIndex candidates;
    candidates[QStringLiteral("NO")][QStringLiteral("번호")].strPhyFullName = QStringLiteral("Number");
    candidates[QStringLiteral("ZZQ")][QStringLiteral("새단어")].strPhyFullName = QStringLiteral("New Word");
    {
        // Every row existing: nothing is sent, nothing is said, the list stays open.
        WordIndex only;
        only[QStringLiteral("NO")][QStringLiteral("번호")] = {};
        CStandardWordDlg dlg(only, DemoStandard::MainAreaId);
        dlg.show();
        Click(dlg.RegisterButton());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(dlg.isVisible());
    }
    CStandardWordDlg dlg(candidates, DemoStandard::MainAreaId);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("표준 단어 등록"));
    EXPECT_EQ(grid->GetColumnHeader(3), QStringLiteral("비고"));
    EXPECT_GE(dlg.AreaCombo()->count(), 5);
    const int existing = RowOf(grid, 2, QStringLiteral("NO"));
    const int fresh = RowOf(grid, 2, QStringLiteral("ZZQ"));
    ASSERT_GE(existing, 0);
    ASSERT_GE(fresh, 0);
    EXPECT_EQ(grid->GetItemImage(existing, 0), 1);
    EXPECT_EQ(grid->GetItemText(existing, 3), QStringLiteral("동일 단어 존재"));
    EXPECT_EQ(grid->GetItemBkColor(existing, 1), CQrTreeGrid::FromWinColor(0xF7F7F7));
    EXPECT_EQ(grid->GetItemImage(fresh, 0), 0);
    Shot(&dlg, "standard-words.png");

    // Another area knows neither word.
    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findData(DemoStandard::PublicAreaId));
    EXPECT_EQ(grid->GetItemImage(existing, 0), 0);
    EXPECT_TRUE(grid->GetItemText(existing, 3).isEmpty());
    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findData(DemoStandard::MainAreaId));
    EXPECT_EQ(grid->GetItemImage(existing, 0), 1);

    Click(dlg.RegisterButton());
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("완료되었습니다"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(
        repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM = 'ZZQ' AND STD_AREA_ID = 'ENT'")), 1);
}

// Opened from the shared data or the management dialogs no area is given: none is chosen, and
// nothing is checked or registered until the user picks one. The area last worked in comes
// first in the list.
TEST_P(StandardListDlgTest, WithoutAnAreaNothingIsCheckedOrRegisteredUntilOneIsPicked)
{
    WordIndex candidates;
    candidates[QStringLiteral("NO")][QStringLiteral("번호")] = {};
    candidates[QStringLiteral("ZZR")][QStringLiteral("다른새말")] = {};
    CRepositoryConnection::Instance().RememberArea(DemoStandard::FinanceAreaId);
    CStandardWordDlg dlg(candidates, QString());
    dlg.resize(760, 420);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.AreaCombo()->currentIndex(), -1);
    EXPECT_EQ(dlg.AreaCombo()->itemData(0).toString(), DemoStandard::FinanceAreaId);
    const int existing = RowOf(grid, 2, QStringLiteral("NO"));
    ASSERT_GE(existing, 0);
    EXPECT_NE(grid->GetItemImage(existing, 0), 1) << "not checked against an area nobody chose";
    EXPECT_TRUE(grid->GetItemText(existing, 3).isEmpty());
    Shot(&dlg, "registration-no-area.png");

    Click(dlg.RegisterButton());
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("대상 분류체계를 선택해 주세요"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM = 'ZZR'")), 0);

    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findData(DemoStandard::MainAreaId));
    EXPECT_EQ(grid->GetItemImage(existing, 0), 1);
    Click(dlg.RegisterButton());
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("완료되었습니다"));
    EXPECT_EQ(
        repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM = 'ZZR' AND STD_AREA_ID = 'ENT'")), 1);
    EXPECT_EQ(CRepositoryConnection::Instance().RememberedAreaId(), DemoStandard::MainAreaId);
}

TEST_P(StandardListDlgTest, DomainListFollowsTheSelectedRowAndChangesTheClassWordDirectly)
{
    CAnalyzeSettings::Instance().domain_use_words = 1;
    // The web route would be taken for a registration; the class-word change ignores it.
    CAnalyzeSettings::Instance().word_request = 1;
    std::vector<_stAnalyzeManageDomain> standard;
    ASSERT_TRUE(
        CRepositoryConnection::Instance().OpenGate()->SelectStandardDomains(DemoStandard::MainAreaId, standard));
    ASSERT_FALSE(standard.empty());
    DomainIndex candidates;
    candidates[standard.front().strKeyDomainName][standard.front().strDomainName] = standard.front();
    candidates[QStringLiteral("고객")][QStringLiteral("번호고객")].strDataType = QStringLiteral("VARCHAR");
    candidates[QStringLiteral("뷁")][QStringLiteral("뷁뷁")].strDataType = QStringLiteral("VARCHAR");

    CStandardDomainDlg dlg(candidates, DemoStandard::MainAreaId);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("표준 도메인 등록"));
    const int exists = RowOf(grid, 2, standard.front().strDomainName);
    const int notClass = RowOf(grid, 2, QStringLiteral("번호고객"));
    const int missing = RowOf(grid, 2, QStringLiteral("뷁뷁"));
    EXPECT_EQ(grid->GetItemImage(exists, 0), 1);
    EXPECT_EQ(grid->GetItemText(exists, 6), QStringLiteral("동일 도메인 존재"));
    EXPECT_EQ(grid->GetItemImage(notClass, 0), 2);
    EXPECT_EQ(grid->GetItemImage(missing, 0), 4);
    EXPECT_FALSE(grid->GetItemText(missing, 6).isEmpty());

    grid->SetFocusCell(missing, 1);
    EXPECT_TRUE(dlg.AddWordButton()->isEnabled());
    EXPECT_FALSE(dlg.ClassWordButton()->isEnabled());
    // "단어 등록" opens the registration dialog in word mode for the word that was not found.
    bool registration = false;
    WhenModal([&](QWidget* w) { registration = qobject_cast<CStandardRegisterDlg*>(w) != nullptr; });
    Click(dlg.AddWordButton());
    EXPECT_TRUE(registration);
    EXPECT_EQ(grid->GetItemImage(missing, 0), 4) << "checked again, still missing";
    grid->SetFocusCell(notClass, 1);
    EXPECT_FALSE(dlg.AddWordButton()->isEnabled());
    EXPECT_TRUE(dlg.ClassWordButton()->isEnabled());
    Shot(&dlg, "standard-domains.png");

    ui.answers = {true};
    Click(dlg.ClassWordButton());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.front(), QStringLiteral("[고객] 단어를 분류어로 지정 하시겠습니까?"));
    EXPECT_EQ(grid->GetItemImage(notClass, 0), 0) << grid->GetItemText(notClass, 6).toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_LOG_NM = '고객' AND STD_AREA_ID = "
                                        "'ENT' AND ATTR_CLSS_YN = 'Y' AND AVAL_END_DT = '99991231235959'")),
              1);

    CAnalyzeSettings::Instance().word_request = 0;
    Click(dlg.RegisterButton());
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("완료되었습니다"));
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DOM WHERE DOM_NM = '번호고객'")), 1);
}

INSTANTIATE_TEST_SUITE_P(Dialects, StandardListDlgTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// The registration dialog as the ribbon opens it (no area given) and the domain selection
// dialog's list and search, on a real repository.
#include "TermRepository.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include "components/QrDatabaseManager.h"
#include "components/ui/QrPropertyGrid.h"
#include "registration/ui/DomainSelectDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "settings/AnalyzeSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class RegisterDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString reason;
        ASSERT_TRUE(repo.Open(QStringLiteral("sqlite"), reason)) << repo.m_errors.join(u'\n').toStdString();
        repo.LoadStandard();
        ASSERT_TRUE(repo.m_errors.isEmpty()) << repo.m_errors.join(u'\n').toStdString();
    }
    void TearDown() override { repo.Close(); }

    TempDataDir data;
    TermRepository repo;
    UiScript ui;
};

TEST_F(RegisterDialogs, RibbonDomainRegistrationChoosesAreaAndGeneratesName)
{
    CStandardRegisterDlg dialog(CStandardRegisterDlg::ModeDomain, QString());
    QComboBox* areas = dialog.AreaCombo();
    EXPECT_TRUE(areas->isEnabled()) << "no area given: the user picks one";
    ASSERT_EQ(areas->count(), 2);
    EXPECT_EQ(areas->currentIndex(), -1);
    CQrPropertyGrid* grid = dialog.Grid();
    EXPECT_EQ(grid->GetValue(grid->FindItem(CStandardRegisterDlg::IdDataType)), u"VARCHAR"_qs);
    EXPECT_TRUE(grid->FindItem(CStandardRegisterDlg::IdKeyDomain)->parent()->isExpanded());
    EXPECT_FALSE(grid->FindItem(CStandardRegisterDlg::IdWordLogical)->parent()->isExpanded());

    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdKeyDomain), u"코드"_qs);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdDomainName), u"코드VC5"_qs);
    dialog.PressButton(CStandardRegisterDlg::IdDomainRegister);
    EXPECT_EQ(ui.LastMessage(), u"대상 분류체계를 선택해 주세요"_qs) << "nothing goes to an empty area";
    QSqlQuery written(CQrDatabaseManager::GetInstance().Database(u"AR"_qs));
    ASSERT_TRUE(written.exec(u"SELECT COUNT(*) FROM STD_DOM WHERE KEY_DOM_NM = '코드'"_qs) && written.next());
    EXPECT_EQ(written.value(0).toInt(), 0);
    EXPECT_FALSE(dialog.IsRegistered());

    areas->setCurrentIndex(areas->findText(u"업무표준"_qs));
    EXPECT_EQ(dialog.AreaId(), u"A2"_qs);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdKeyDomain), u"코드"_qs);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdLength), u"(5)"_qs);
    dialog.PressButton(CStandardRegisterDlg::IdDomainName);
    const QString name = grid->GetValue(grid->FindItem(CStandardRegisterDlg::IdDomainName));
    EXPECT_TRUE(name.startsWith(u"코드"_qs) && name.endsWith(u"(5)"_qs)) << name.toStdString();
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdDomainName), u"코드VC5"_qs);
    dialog.PressButton(CStandardRegisterDlg::IdDomainRegister);
    EXPECT_EQ(ui.LastMessage(), u"도메인이 등록 되었습니다"_qs);
    EXPECT_TRUE(dialog.IsRegistered());
    EXPECT_EQ(dialog.Domain().strLength, u"5"_qs) << "the digits of the typed length";

    // Given an area, the dialog stays in it.
    CStandardRegisterDlg fixed(CStandardRegisterDlg::ModeWord, u"A1"_qs);
    EXPECT_FALSE(fixed.AreaCombo()->isEnabled());
    EXPECT_EQ(fixed.AreaCombo()->currentText(), u"공통표준"_qs);
}

TEST_F(RegisterDialogs, TermDomainChangedThroughTheSelection)
{
    _stAnalyzeManageTerm term;
    term.strLogicalName = u"주문번호"_qs;
    term.strPhysicalName = u"ORD_NO"_qs;
    term.listWordIds = {u"W02"_qs, u"W03"_qs};
    term.listExtra = {u"주문"_qs, u"번호"_qs};
    CStandardRegisterDlg dialog(CStandardRegisterDlg::ModeTerm, u"A1"_qs);
    dialog.SetTerm(term, u"번호VC20"_qs);
    CQrPropertyGrid* grid = dialog.Grid();
    EXPECT_EQ(grid->GetValue(grid->FindItem(CStandardRegisterDlg::IdTermWords)), u"주문+번호"_qs);
    WhenModal([](QWidget* modal) {
        auto* select = qobject_cast<CDomainSelectDlg*>(modal);
        ASSERT_TRUE(select);
        select->SearchEdit()->setText(u"주문번호"_qs);
        QTest::keyClick(select->SearchEdit(), Qt::Key_Return);
        select->ApplyButton()->click();
    });
    dialog.PressButton(CStandardRegisterDlg::IdTermDomain);
    EXPECT_EQ(grid->GetValue(grid->FindItem(CStandardRegisterDlg::IdTermDomain)), u"주문번호VC30"_qs);
    EXPECT_EQ(dialog.Term().strDomainId, u"D03"_qs);

    // Renamed here, the name would go in with the words of the old one: refused, nothing written.
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdTermLogical), u"주문상세번호"_qs);
    dialog.PressButton(CStandardRegisterDlg::IdTermRegister);
    EXPECT_TRUE(ui.LastMessage().contains(u"고친 이름으로는 등록할 수 없습니다"_qs)) << ui.LastMessage().toStdString();
    EXPECT_FALSE(dialog.IsRegistered());
    QSqlQuery written(CQrDatabaseManager::GetInstance().Database(u"AR"_qs));
    ASSERT_TRUE(written.exec(u"SELECT COUNT(*) FROM STD_DIC WHERE DIC_LOG_NM = '주문상세번호'"_qs) && written.next());
    EXPECT_EQ(written.value(0).toInt(), 0);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdTermLogical), u"주문번호"_qs);
    dialog.PressButton(CStandardRegisterDlg::IdTermRegister);
    EXPECT_EQ(ui.LastMessage(), u"용어가 등록 되었습니다"_qs);
    EXPECT_TRUE(dialog.IsRegistered());
}

TEST_F(RegisterDialogs, DomainSelectionSearchesBothNamesWithWrapAndApplies)
{
    CDomainSelectDlg dialog(u"A1"_qs);
    CQrTreeGrid* grid = dialog.Grid();
    ASSERT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->GetColumnWidth(CDomainSelectDlg::ColDomainId), 0) << "the id column is hidden";

    // Driven while it runs, as the term form and the registration dialog run it.
    QStringList hits;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &dialog);
        dialog.ApplyButton()->click();
        EXPECT_TRUE(dialog.isVisible()) << "nothing without a current row: the dialog stays open";
        EXPECT_TRUE(dialog.DomainId().isEmpty());
        for (int i = 0; i < 3; ++i) {
            dialog.SearchEdit()->setText(u"vc30"_qs);
            QTest::keyClick(dialog.SearchEdit(), Qt::Key_Return);
            hits.append(grid->GetItemText(grid->GetCurrentRow(), CDomainSelectDlg::ColDomain));
        }
        dialog.SearchEdit()->setText(u"주문"_qs);
        QTest::keyClick(dialog.SearchEdit(), Qt::Key_Return);
        EXPECT_EQ(grid->GetCurrentColumn(), int(CDomainSelectDlg::ColKeyDomain)) << "the key domain cell first";
        dialog.ApplyButton()->click();
    });
    EXPECT_EQ(dialog.exec(), int(QDialog::Accepted));
    EXPECT_EQ(hits, (QStringList{u"번호VC30"_qs, u"주문번호VC30"_qs, u"번호VC30"_qs})) << "case ignored, wraps";
    EXPECT_EQ(dialog.DomainName(), u"주문번호VC30"_qs);
    EXPECT_EQ(dialog.DomainId(), u"D03"_qs);
}

} // namespace

// The registration dialog as the ribbon opens it (no area given) and the domain selection
// dialog's list and search, on a real repository.
#include "TermRepository.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include "components/QrDatabaseManager.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrPropertyGrid.h"
#include "registration/StandardRegisterForm.h"
#include "registration/ui/DomainSelectDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
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

// The standard stays splittable: an abbreviation or a term's physical name that another
// standard already has is refused with that standard's name; empty fields say what is missing;
// a proposed domain is named and filed as the area's own domains of its class.
TEST_F(RegisterDialogs, GuardsTheStandardAndFollowsTheAreasDomainNames)
{
    const auto count = [](const QString& sql) {
        QSqlQuery query(CQrDatabaseManager::GetInstance().Database(u"AR"_qs));
        return query.exec(sql) && query.next() ? query.value(0).toString() : QString();
    };
    CStandardRegisterDlg words(CStandardRegisterDlg::ModeWord, u"A1"_qs);
    CQrPropertyGrid* grid = words.Grid();
    words.PressButton(CStandardRegisterDlg::IdWordRegister);
    EXPECT_EQ(ui.LastMessage(), RegisterTexts::kNeedWordNames) << "never a silent button";
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdWordLogical), u"인"_qs);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdWordPhysical), u"cust"_qs);
    words.PressButton(CStandardRegisterDlg::IdWordRegister);
    EXPECT_EQ(ui.LastMessage(), u"약어 cust은(는) 표준 단어 \"고객\"이(가) 이미 쓰고 있습니다"_qs);
    if (const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS"); !folder.isEmpty()) {
        // the refusal as the window shows it, over the dialog
        words.resize(560, 520);
        words.show();
        QMessageBox box(QMessageBox::Information, u"Termwise"_qs, CQrMessageBox::Shown(ui.LastMessage()),
                        QMessageBox::Ok, &words);
        box.show();
        QApplication::processEvents();
        QPixmap shot = words.grab();
        QPainter painter(&shot);
        const QPixmap refusal = box.grab();
        painter.drawPixmap((shot.width() - refusal.width()) / 2, (shot.height() - refusal.height()) / 2, refusal);
        painter.end();
        EXPECT_TRUE(shot.save(QDir(folder).filePath(u"refused-abbreviation.png"_qs)));
        box.hide();
        words.hide();
    }
    EXPECT_FALSE(words.IsRegistered());
    EXPECT_EQ(count(u"SELECT COUNT(*) FROM STD_DIC WHERE DIC_LOG_NM = '인'"_qs), u"0"_qs);
    // the Korean name keeps its own message
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdWordLogical), u"고객"_qs);
    grid->SetValue(grid->FindItem(CStandardRegisterDlg::IdWordPhysical), u"CUST"_qs);
    words.PressButton(CStandardRegisterDlg::IdWordRegister);
    EXPECT_EQ(ui.LastMessage(), RegisterTexts::kWordExists);

    _stAnalyzeManageTerm term;
    term.strLogicalName = u"손님번호"_qs;
    term.strPhysicalName = u"CUST_NO"_qs;
    CStandardRegisterDlg terms(CStandardRegisterDlg::ModeTerm, u"A1"_qs);
    terms.SetTerm(term, QString());
    terms.PressButton(CStandardRegisterDlg::IdTermRegister);
    EXPECT_EQ(ui.LastMessage(), u"물리명 CUST_NO은(는) 용어 \"고객번호\"이(가) 이미 쓰고 있습니다"_qs);
    EXPECT_FALSE(terms.IsRegistered());

    // area A2 writes VARCHAR as V and files its names in group G-NAME
    repo.AddDomain(u"A2"_qs, u"Y01"_qs, u"명"_qs, u"명V50"_qs, u"VARCHAR"_qs, 50, 0);
    repo.AddDomain(u"A2"_qs, u"Y02"_qs, u"명"_qs, u"명V200"_qs, u"VARCHAR"_qs, 200, 0);
    ASSERT_TRUE(repo.Exec(u"UPDATE STD_DOM SET DOM_GRP_ID = 'G-NAME' WHERE STD_AREA_ID = 'A2'"_qs));
    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = u"명"_qs;
    domain.strDataType = u"VARCHAR"_qs;
    domain.strLength = u"100"_qs;
    domain.strDomainName = StandardRegisterForm::GenerateDomainName(u"명"_qs, u"VARCHAR"_qs, u"100"_qs, QString());
    ASSERT_EQ(domain.strDomainName, u"명VC100"_qs) << "the settings' keyword";
    CStandardRegisterDlg domains(CStandardRegisterDlg::ModeDomain, u"A2"_qs);
    domains.SetDomain(domain);
    CQrPropertyGrid* domainGrid = domains.Grid();
    EXPECT_EQ(domainGrid->GetValue(domainGrid->FindItem(CStandardRegisterDlg::IdDomainName)), u"명V100"_qs);
    domains.PressButton(CStandardRegisterDlg::IdDomainRegister);
    ASSERT_TRUE(domains.IsRegistered()) << ui.LastMessage().toStdString();
    EXPECT_EQ(count(u"SELECT DOM_GRP_ID FROM STD_DOM WHERE DOM_NM = '명V100'"_qs), u"G-NAME"_qs);
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

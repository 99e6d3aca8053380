// The term road from the window: open a workbook, designate, pick the area, analyse, register
// what is missing from the context menu, pick a domain by hand, save, reopen and export.
#include "TermRepository.h"
#include "forms/ui/FormRoadTestUtil.h"

#include "analysis/TermAnalysis.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "components/ui/QrPropertyGrid.h"
#include "components/ui/QrTreeGridModel.h"
#include "forms/ui/AnalysisForms.h"
#include "forms/ui/AnalyzeTermForm.h"
#include "registration/ui/DomainSelectDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "standard/StandardTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

namespace {

const QVector<QStringList> kSheet = {
    {u"속성명"_qs, u"컬럼명"_qs, u"데이터타입"_qs, u"정의"_qs},
    {u"고객번호"_qs, u"CUST_NO"_qs, u"VARCHAR(20)"_qs, u"고객의 번호"_qs},
    {u"주문번호"_qs, u"ORD_NO"_qs, u"VARCHAR(30)"_qs, u""_qs},
    {u"고객등급"_qs, u"CUST_GRD"_qs, u"CHAR(1)"_qs, u""_qs},
    {u"주문등급"_qs, u"ORD_GRD"_qs, u"CHAR(1)"_qs, u""_qs},
    {u"고객명"_qs, u"CUST_NM"_qs, u"VARCHAR(50)"_qs, u""_qs},
};

class TermFormRoad : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        QString reason;
        if (!repo.Open(QString::fromLatin1(GetParam()), reason)) {
            if (qEnvironmentVariable("CI") == QLatin1String("true") || reason.isEmpty())
                FAIL() << reason.toStdString() << repo.m_errors.join(u'\n').toStdString();
            GTEST_SKIP() << reason.toStdString();
        }
        repo.LoadStandard();
        ASSERT_TRUE(repo.m_errors.isEmpty()) << repo.m_errors.join(u'\n').toStdString();
        // A PostgreSQL repository may publish proposal pages: these tests take the direct route.
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        settings.word_request = settings.domain_request = settings.term_request = 0;
    }
    void TearDown() override { repo.Close(); }

    int Row(const QString& name) const { return form->RowOfTarget(name); }
    int Image(const QString& name, int col = 0) const { return form->Grid()->GetItemImage(Row(name), col); }
    // The word row under a target whose column 0 is `word`.
    int WordRow(const QString& target, const QString& word) const
    {
        const int top = Row(target);
        for (int row = top + 1; row < form->Grid()->GetRowCount() && form->Grid()->GetTreeLevel(row) == 2; ++row)
            if (form->Grid()->GetItemText(row, 0) == word)
                return row;
        return -1;
    }
    // Fills items of the registration dialog that opens next and presses its button.
    void WhenRegisterDialog(std::map<int, QString> values, int button)
    {
        WhenModal([this, values, button](QWidget* modal) {
            auto* dialog = qobject_cast<CStandardRegisterDlg*>(modal);
            ASSERT_TRUE(dialog);
            seenArea = dialog->AreaId();
            for (const auto& [id, value] : values)
                dialog->Grid()->SetValue(dialog->Grid()->FindItem(id), value);
            dialog->PressButton(button);
        });
    }

    FreshDictionary dic;
    TermRepository repo;
    UiScript ui;
    QPointer<CAnalyzeTermForm> form;
    QString seenArea;
};

TEST_P(TermFormRoad, AnalyseRegisterPickDomainSaveReopenExport)
{
    const QString book = dic.dir.file(u"model.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    form = new CAnalyzeTermForm;
    form->resize(1400, 900);
    form->show();
    EXPECT_EQ(form->windowTitle(), u"용어 분석"_qs);
    ASSERT_EQ(form->AreaCombo()->count(), 2) << "the repository's standard areas";

    ui.paths.push_back(book);
    Click(form->OpenButton());
    ASSERT_EQ(form->Mode(), 1);
    ui.choices = {u"속성명 지정 (필수)"_qs};
    RightClickCell(form->Grid(), 0, 0);
    EXPECT_EQ(ui.menus.back(),
              (QStringList{u"속성명 지정 (필수)"_qs, u"컬럼명 지정"_qs, u"-"_qs, u"데이터타입 지정 (필수)"_qs,
                           u"데이터길이 지정"_qs, u"데이터스케일 지정"_qs, u"-"_qs, u"속성정의 지정"_qs,
                           u"속성참고 지정"_qs}));
    ui.choices = {u"컬럼명 지정"_qs, u"데이터타입 지정 (필수)"_qs, u"속성정의 지정"_qs};
    RightClickCell(form->Grid(), 0, 1);
    RightClickCell(form->Grid(), 0, 2);
    RightClickCell(form->Grid(), 0, 3);
    RightClickCell(form->Grid(), 0, 0);
    EXPECT_EQ(ui.menus.back(), QStringList{u"속성명 지정취소"_qs}) << "a held column offers its cancel entry";
    Click(form->ExcludeFirstRowCheck());

    form->AreaCombo()->setCurrentIndex(-1);
    Click(form->AnalyzeButton());
    EXPECT_EQ(ui.LastMessage(), u"대상 분류체계를 선택해 주세요"_qs);
    ASSERT_TRUE(form->SelectArea(u"A1"_qs));
    Click(form->AnalyzeButton());
    ASSERT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 (5)"_qs);
    EXPECT_EQ(form->Grid()->GetColumnHeader(5), u"사용 도메인"_qs);

    // A registered term, a complete one, and the ones with a missing word.
    EXPECT_EQ(Image(u"고객번호"_qs), eTermImageRegistered);
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객번호"_qs), 5), u"번호VC20"_qs);
    EXPECT_EQ(Image(u"주문번호"_qs), eTermImageAction);
    EXPECT_EQ(Image(u"고객등급"_qs), eTermImageWarning);
    EXPECT_EQ(Image(u"주문등급"_qs), eTermImageWarning);
    EXPECT_EQ(Image(u"고객등급"_qs, 4), eTermImageReanalyze);

    // "단어 등록" on the missing word: both targets holding it are analysed again, in the area
    // analysed even when the combo box has moved on since.
    form->AreaCombo()->setCurrentIndex(form->AreaCombo()->findData(u"A2"_qs));
    const int missing = WordRow(u"고객등급"_qs, u"등급"_qs);
    ASSERT_GE(missing, 0);
    EXPECT_EQ(form->Grid()->GetItemImage(missing, 2), eTermImageAction);
    ui.choices = {CAnalyzeTermForm::kMenuRegisterWord};
    WhenRegisterDialog({{CStandardRegisterDlg::IdWordPhysical, u"GRD"_qs}}, CStandardRegisterDlg::IdWordRegister);
    RightClickCell(form->Grid(), missing, 2);
    EXPECT_EQ(ui.menus.back(), QStringList{CAnalyzeTermForm::kMenuRegisterWord});
    EXPECT_EQ(seenArea, u"A1"_qs);
    EXPECT_EQ(ui.LastMessage(), u"단어가 등록 되었습니다"_qs);
    for (const QString& name : {u"고객등급"_qs, u"주문등급"_qs}) {
        const int word = WordRow(name, u"등급"_qs);
        ASSERT_GE(word, 0) << name.toStdString();
        EXPECT_EQ(form->Grid()->GetItemImage(word, 0), eTermImageWarning) << "found now, not a class word";
        EXPECT_EQ(form->Grid()->GetItemText(word, 1), u"GRD"_qs);
    }
    ASSERT_TRUE(form->SelectArea(u"A1"_qs));

    // "분류어 등록", then the domain the class word needs, then the term.
    ui.choices = {CAnalyzeTermForm::kMenuRegisterClassWord};
    RightClickCell(form->Grid(), WordRow(u"고객등급"_qs, u"등급"_qs), 6);
    EXPECT_EQ(form->Grid()->GetItemText(WordRow(u"주문등급"_qs, u"등급"_qs), 6), u"Y"_qs) << "related target too";
    EXPECT_EQ(Image(u"고객등급"_qs, 5), eTermImageAction) << "no domain yet";

    ui.choices = {CAnalyzeTermForm::kMenuRegisterDomain};
    WhenRegisterDialog({}, CStandardRegisterDlg::IdDomainRegister);
    RightClickCell(form->Grid(), Row(u"고객등급"_qs), 5);
    EXPECT_EQ(ui.menus.back(),
              (QStringList{CAnalyzeTermForm::kMenuRegisterDomain, CAnalyzeTermForm::kMenuSelectDomain}));
    EXPECT_EQ(ui.LastMessage(), u"도메인이 등록 되었습니다"_qs);
    for (const QString& name : {u"고객등급"_qs, u"주문등급"_qs}) {
        EXPECT_EQ(Image(name, 5), eTermImageFound) << name.toStdString();
        EXPECT_EQ(Image(name), eTermImageAction) << name.toStdString();
    }

    ui.choices = {CAnalyzeTermForm::kMenuRegisterTerm};
    WhenRegisterDialog({}, CStandardRegisterDlg::IdTermRegister);
    RightClickCell(form->Grid(), Row(u"고객등급"_qs), 0);
    EXPECT_EQ(ui.LastMessage(), u"용어가 등록 되었습니다"_qs);
    EXPECT_EQ(Image(u"고객등급"_qs), eTermImageRegistered);

    // "도메인 선택" by hand on a target without a domain; it stays over a re-analysis.
    ASSERT_EQ(Image(u"고객명"_qs, 5), eTermImageAction);
    ui.choices = {CAnalyzeTermForm::kMenuSelectDomain};
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<CDomainSelectDlg*>(modal);
        ASSERT_TRUE(dialog);
        Click(dialog->ApplyButton());
        ASSERT_TRUE(dialog->isVisible()) << "nothing without a current row";
        dialog->SearchEdit()->setText(u"명vc"_qs);
        QTest::keyClick(dialog->SearchEdit(), Qt::Key_Return);
        Click(dialog->ApplyButton());
    });
    RightClickCell(form->Grid(), Row(u"고객명"_qs), 5);
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객명"_qs), 5), u"명VC100"_qs);
    ClickCell(form->Grid(), Row(u"고객명"_qs), 4);
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객명"_qs), 5), u"명VC100"_qs) << "kept over the single analysis";
    Click(form->AnalyzeButton());
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객명"_qs), 5), u"명VC100"_qs) << "kept over the whole analysis";

    // "등록 용어 제외" hides the registered terms.
    Click(form->ExcludeAnalyzedCheck());
    EXPECT_TRUE(form->Grid()->IsRowHiddenAt(Row(u"고객번호"_qs)));
    EXPECT_FALSE(form->Grid()->IsRowHiddenAt(Row(u"주문번호"_qs)));
    Click(form->ExcludeAnalyzedCheck());

    // Save, reopen in a new form, export.
    const auto targetOrder = [this] {
        QStringList names;
        for (int row = 0; row < form->Grid()->GetRowCount(); ++row)
            if (form->Grid()->GetTreeLevel(row) == 1)
                names << form->Grid()->GetItemText(row, 0);
        return names;
    };
    const QStringList orderBefore = targetOrder();
    std::map<QString, QStringList> before = TargetBlocks(form->Grid());
    const QString document = dic.dir.file(u"model.ztst"_qs);
    ui.paths.push_back(document);
    Click(form->SaveButton());
    EXPECT_EQ(ui.LastMessage(), u"저장이 완료되었습니다"_qs);
    delete form;

    form = new CAnalyzeTermForm;
    form->show();
    form->OpenPath(document);
    ASSERT_EQ(form->Mode(), 2) << ui.LastMessage().toStdString();
    EXPECT_EQ(form->AreaCombo()->currentData().toString(), u"A1"_qs) << "the document's area";
    // The document keeps what the user did: the model's order and the domain picked by hand.
    EXPECT_EQ(targetOrder(), orderBefore);
    EXPECT_EQ(TargetBlocks(form->Grid()), before);
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객명"_qs), 5), u"명VC100"_qs);
    // stored as the entry's optional members, beside those every reader knows
    QString savedDomain;
    for (const QJsonValue& entry :
         QJsonDocument::fromJson(ReadTextFile(document).toUtf8()).object().value(u"term_analyze"_qs).toArray())
        if (entry.toObject().value(u"Attribute"_qs).toString() == u"고객명"_qs)
            savedDomain = entry.toObject().value(u"DomainName"_qs).toString() + u'|' +
                          QString::number(!entry.toObject().value(u"DomainId"_qs).toString().isEmpty());
    EXPECT_EQ(savedDomain, u"명VC100|1"_qs);

    const QString workbook = dic.dir.file(u"terms.xlsx"_qs);
    ui.paths.push_back(workbook);
    Click(form->ExportButton());
    const QVector<QStringList> exported = ReadWorkbook(workbook);
    ASSERT_EQ(exported.size(), 6);
    EXPECT_EQ(exported[0], TermTexts::kExportColumns);
    delete form;
}

INSTANTIATE_TEST_SUITE_P(Backends, TermFormRoad, ::testing::Values("sqlite", "postgres"));

// The ribbon's "용어 분석" and request code 3 reach the one term form; the request's area is
// selected and its attributes analysed at once.
TEST(TermFormFrame, RibbonCommandAndRequestCodeThree)
{
    FreshDictionary dic;
    TermRepository repo;
    QString reason;
    ASSERT_TRUE(repo.Open(QStringLiteral("sqlite"), reason)) << repo.m_errors.join(u'\n').toStdString();
    repo.LoadStandard();
    UiScript ui;
    CMainFrame::ClearRegistrations();
    RegisterAnalysisForms();
    {
        CMainFrame frame;
        frame.SetRepositoryConnected(true);
        ASSERT_TRUE(frame.RunCommand(AppCmd::TermForm));
        QMdiSubWindow* sub = frame.FormWindow(EAnalysisFormKind::Term);
        ASSERT_NE(sub, nullptr);
        auto* form = qobject_cast<CAnalyzeTermForm*>(sub->widget());
        ASSERT_NE(form, nullptr);
        frame.HandleRequest(3, uR"({"standard_areaid":"A1","termwise":[
            {"attributeName":"고객번호","columnName":"CUST_NO","attributeDataType":"VARCHAR","attributeDataLength":"20"},
            {"attributeName":"주문번호","attributeDataType":"VARCHAR","attributeDataLength":"30"}]})"_qs);
        EXPECT_EQ(frame.FormWindow(EAnalysisFormKind::Term), sub) << "the same form";
        EXPECT_EQ(form->Mode(), 2);
        EXPECT_EQ(form->AreaCombo()->currentText(), u"공통표준"_qs);
        EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 (2)"_qs);
        EXPECT_EQ(form->Grid()->GetItemImage(form->RowOfTarget(u"고객번호"_qs), 0), eTermImageRegistered);
    }
    CMainFrame::ClearRegistrations();
    repo.Close();
}

// A synonym and a forbidden word are found but are no standard: each has its own mark and
// colour, and the cell's tooltip names the standard word to use.
TEST_P(TermFormRoad, SynonymsAndForbiddenWordsShowAsWhatTheyAre)
{
    repo.AddWord(u"A1"_qs, u"W21"_qs, u"오더"_qs, u"ORD"_qs, false, false);
    ASSERT_TRUE(repo.Exec(u"UPDATE STD_DIC SET DIC_DESC = ? WHERE DIC_ID = 'W21'"_qs,
                          {StandardTexts::kForbiddenDescription.arg(u"주문"_qs)}));
    form = new CAnalyzeTermForm;
    form->show();
    form->RefreshAreas();
    form->ApplyRequest(uR"({"standard_areaid":"A1","termwise":[
        {"attributeName":"손님번호","attributeDataType":"VARCHAR","attributeDataLength":"20"},
        {"attributeName":"오더번호","attributeDataType":"VARCHAR","attributeDataLength":"30"},
        {"attributeName":"주문번호","attributeDataType":"VARCHAR","attributeDataLength":"30"}]})"_qs);
    ASSERT_EQ(form->Mode(), 2);
    CQrTreeGrid* grid = form->Grid();
    const int synonym = WordRow(u"손님번호"_qs, u"손님"_qs);
    const int forbidden = WordRow(u"오더번호"_qs, u"오더"_qs);
    const int standard = WordRow(u"주문번호"_qs, u"주문"_qs);
    ASSERT_GE(synonym, 0);
    ASSERT_GE(forbidden, 0);
    ASSERT_GE(standard, 0);
    EXPECT_EQ(grid->GetItemImage(standard, 0), eTermImageFound);
    EXPECT_TRUE(grid->GetItemToolTip(standard, 0).isEmpty());
    const int synonymMark = grid->GetItemImage(synonym, 0);
    const int forbiddenMark = grid->GetItemImage(forbidden, 0);
    EXPECT_NE(synonymMark, eTermImageFound) << "never the standard word's ✓";
    EXPECT_NE(forbiddenMark, eTermImageFound);
    EXPECT_NE(synonymMark, forbiddenMark);
    EXPECT_NE(grid->GetItemBkColor(synonym, 0), grid->GetItemBkColor(standard, 0));
    EXPECT_NE(grid->GetItemBkColor(synonym, 0), grid->GetItemBkColor(forbidden, 0));
    EXPECT_EQ(grid->GetItemToolTip(synonym, 0), u"비표준어(이음동의어)입니다. 표준 단어: 고객"_qs);
    EXPECT_EQ(grid->GetItemToolTip(forbidden, 0), u"금칙어입니다. 표준 단어: 주문"_qs);
    EXPECT_EQ(grid->Model()->data(grid->Model()->IndexOf(synonym, 0), Qt::ToolTipRole).toString(),
              grid->GetItemToolTip(synonym, 0));
    if (const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS"); !folder.isEmpty()) {
        form->resize(1200, 460);
        QApplication::processEvents();
        EXPECT_TRUE(form->grab().save(QDir(folder).filePath(u"term-synonym.png"_qs)));
    }
    delete form;
}

// On the demo standard: registered terms are seen, a missing word is registered directly.
TEST_P(TermFormRoad, DemoStandardRegisteredTermsAndAWord)
{
    ASSERT_TRUE(repo.LoadDemo()) << repo.m_errors.join(u'\n').toStdString();
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    settings.word_request = settings.domain_request = settings.term_request = 0;
    form = new CAnalyzeTermForm;
    form->show();
    form->RefreshAreas();
    form->ApplyRequest(uR"({"standard_areaid":"ENT","termwise":[
        {"attributeName":"고객번호","attributeDataType":"VARCHAR","attributeDataLength":"20"},
        {"attributeName":"고객명","attributeDataType":"VARCHAR","attributeDataLength":"100"},
        {"attributeName":"고객뀽뀽코드","attributeDataType":"VARCHAR","attributeDataLength":"10"}]})"_qs);
    ASSERT_EQ(form->Mode(), 2);
    EXPECT_EQ(Image(u"고객번호"_qs), eTermImageRegistered);
    EXPECT_EQ(Image(u"고객명"_qs), eTermImageRegistered);
    EXPECT_EQ(Image(u"고객뀽뀽코드"_qs), eTermImageWarning);
    const int missing = WordRow(u"고객뀽뀽코드"_qs, u"뀽뀽"_qs);
    ASSERT_GE(missing, 0);
    ui.choices = {CAnalyzeTermForm::kMenuRegisterWord};
    WhenRegisterDialog({{CStandardRegisterDlg::IdWordPhysical, u"KK"_qs}}, CStandardRegisterDlg::IdWordRegister);
    RightClickCell(form->Grid(), missing, 2);
    EXPECT_EQ(seenArea, u"ENT"_qs);
    EXPECT_EQ(form->Grid()->GetItemText(WordRow(u"고객뀽뀽코드"_qs, u"뀽뀽"_qs), 1), u"KK"_qs);
    EXPECT_EQ(Image(u"고객뀽뀽코드"_qs), eTermImageAction) << "every word found, a code domain of 10";

    // An edited attribute name is normalised, the target moves to it and is analysed again.
    ASSERT_TRUE(TypeIntoCell(form->Grid(), Row(u"고객명"_qs), 0, u"고객_명2"_qs));
    EXPECT_EQ(Row(u"고객명"_qs), -1);
    ASSERT_GE(Row(u"고객_명"_qs), 0);
    EXPECT_EQ(form->Grid()->GetItemText(Row(u"고객_명"_qs), 1), u"고객_명"_qs);
    EXPECT_EQ(Image(u"고객_명"_qs), eTermImageRegistered) << "without its separator it is the term 고객명";
    delete form;
}

} // namespace

#include "FormRoadTestUtil.h"
#include "analysis/LogicalWordAnalysis.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "reports/ui/WordReportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {
const QVector<QStringList> kSheet = {
    {u"속성명"_qs, u"컬럼명"_qs, u"속성정의"_qs},   {u"고객번호"_qs, u"CUST_NO"_qs, u"고객의 번호"_qs},
    {u"고객명"_qs, u"CUST_NM"_qs, u"고객 이름"_qs}, {u"주문일자"_qs, u"ORD_DT"_qs, u"주문한 날"_qs},
    {u"주문번호1"_qs, u"ORD_NO"_qs, QString()},     {u"주문번호2"_qs, u"ORD_NO"_qs, QString()},
};

void AddStarterWords(FreshDictionary& dic)
{
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    dic.AddWord(u"NO"_qs, u"번호"_qs);
    dic.AddWord(u"NM"_qs, u"명"_qs);
    dic.AddWord(u"DT"_qs, u"일자"_qs);
}

// Opens the workbook and designates attribute name, definition and column name.
void OpenAndDesignate(CAnalyzeLogicalWordForm& form, UiScript& ui, const QString& path)
{
    ui.paths.push_back(path);
    Click(form.OpenButton());
    ASSERT_EQ(form.Mode(), 1);
    ui.choices = {u"속성명 지정 (필수)"_qs, u"속성정의 지정"_qs, u"컬럼명 지정"_qs};
    RightClickCell(form.Grid(), 1, 0);
    RightClickCell(form.Grid(), 1, 2);
    RightClickCell(form.Grid(), 1, 1);
}
} // namespace

TEST(LogicalFormRoad, SourceModeDesignationsAndRequiredColumn)
{
    FreshDictionary dic;
    AddStarterWords(dic);
    UiScript ui;
    const QString book = dic.dir.file(u"attrs.xlsx"_qs);
    WriteWorkbook(book, kSheet);

    CAnalyzeLogicalWordForm form;
    form.resize(1200, 800);
    form.show();
    EXPECT_EQ(form.windowTitle(), u"단어 분석 [논리]"_qs);
    EXPECT_FALSE(form.AnalyzeButton()->isEnabled());

    ui.paths.push_back(book);
    Click(form.OpenButton());
    ASSERT_EQ(ui.filters.size(), 1u);
    EXPECT_EQ(ui.filters[0], u"Document Files(*.xlsx,*.xls,*.ztsl,*.sql)|*.xlsx;*.xls;*.ztsl;*.sql|"_qs);
    EXPECT_EQ(form.PathEdit()->text(), book);
    CQrTreeGrid* grid = form.Grid();
    ASSERT_EQ(grid->GetRowCount(), 6);
    EXPECT_EQ(grid->GetColumnHeader(0), u"A"_qs);
    EXPECT_EQ(grid->GetColumnHeader(2), u"C"_qs);
    EXPECT_EQ(grid->GetItemText(3, 0), u"주문일자"_qs);
    EXPECT_TRUE(form.AnalyzeButton()->isEnabled());
    for (QPushButton* off : {form.SaveButton(), form.ReportButton(), form.ExportButton()})
        EXPECT_FALSE(off->isEnabled()) << off->text().toStdString();

    // Without the attribute-name column nothing is analysed.
    Click(form.AnalyzeButton());
    // the fixed text, then which role is missing
    EXPECT_EQ(ui.LastMessage().section(u'\n', 0, 0), u"설정 되지 않은 필수 데이터 항목이 있습니다"_qs);
    EXPECT_EQ(form.Mode(), 1);

    // The menu of a free column, in its order with its separators.
    ui.choices = {u"컬럼명 지정"_qs};
    RightClickCell(grid, 2, 1);
    ASSERT_EQ(ui.menus.size(), 1u);
    EXPECT_EQ(ui.menus[0], (QStringList{u"속성명 지정 (필수)"_qs, u"속성정의 지정"_qs, u"-"_qs, u"컬럼명 지정"_qs,
                                        u"-"_qs, u"참고데이터 지정"_qs}));
    EXPECT_EQ(grid->GetItemBkColor(4, 1), CQrTreeGrid::FromWinColor(0xD2D2FF));
    // Moving the role to column C repaints B white; a held column offers only its cancel item.
    ui.choices = {u"컬럼명 지정"_qs};
    RightClickCell(grid, 2, 2);
    EXPECT_EQ(grid->GetItemBkColor(4, 1), CQrTreeGrid::FromWinColor(0xFFFFFF));
    EXPECT_EQ(grid->GetItemBkColor(4, 2), CQrTreeGrid::FromWinColor(0xD2D2FF));
    ui.choices = {u"컬럼명 지정취소"_qs};
    RightClickCell(grid, 3, 2);
    EXPECT_EQ(ui.menus.back(), QStringList{u"컬럼명 지정취소"_qs});
    EXPECT_EQ(grid->GetItemBkColor(4, 2), CQrTreeGrid::FromWinColor(0xFFFFFF));

    // "첫번째 행 제외" hides the header row and keeps it out of the targets.
    Click(form.ExcludeFirstRowCheck());
    EXPECT_TRUE(grid->IsRowHiddenAt(0));
    Click(form.ExcludeFirstRowCheck());
    EXPECT_FALSE(grid->IsRowHiddenAt(0));
}

TEST(LogicalFormRoad, AnalyseCompleteWordsStoreSaveExportReopen)
{
    FreshDictionary dic;
    AddStarterWords(dic);
    UiScript ui;
    const QString book = dic.dir.file(u"attrs.xlsx"_qs);
    WriteWorkbook(book, kSheet);

    QPointer<CAnalyzeLogicalWordForm> form = new CAnalyzeLogicalWordForm;
    form->resize(1200, 800);
    form->show();
    OpenAndDesignate(*form, ui, book);
    Click(form->ExcludeFirstRowCheck());
    EXPECT_EQ(form->Grid()->GetItemBkColor(2, 0), CQrTreeGrid::FromWinColor(0xAAF5E3));

    Click(form->AnalyzeButton());
    ASSERT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 2 / 4 )"_qs);
    for (QPushButton* on : {form->SaveButton(), form->ReportButton(), form->ExportButton()})
        EXPECT_TRUE(on->isEnabled());
    CQrTreeGrid* grid = form->Grid();
    EXPECT_EQ(grid->GetColumnHeader(0), u"대상 속성명"_qs);
    const int order = RowOfText(grid, 1, u"주문번호"_qs);
    ASSERT_GE(order, 0);
    EXPECT_EQ(grid->GetItemText(order, 2), u"주문번호1, 주문번호2"_qs);
    EXPECT_EQ(grid->GetItemText(order, 4), u"ORD_NO "_qs);
    EXPECT_EQ(grid->GetItemText(order + 1, 3), u"?_NO"_qs);
    EXPECT_EQ(grid->GetItemImage(order + 1, 0), 1); // partly known
    EXPECT_EQ(grid->GetItemImage(order + 2, 0), 0); // 주문: unknown
    EXPECT_EQ(grid->GetItemImage(order + 3, 0), 2); // 번호: known
    EXPECT_EQ(grid->GetItemBkColor(order, 0), CQrTreeGrid::FromWinColor(0xF0F0F0));

    // "분석 완료 제외" hides the fully analysed targets; the filter keeps names containing it.
    Click(form->ExcludeAnalyzedCheck());
    EXPECT_TRUE(grid->IsRowHiddenAt(RowOfText(grid, 1, u"고객번호"_qs)));
    EXPECT_FALSE(grid->IsRowHiddenAt(order));
    Click(form->ExcludeAnalyzedCheck());
    form->FilterCombo()->setEditText(u"고객"_qs);
    QTest::keyClick(form->FilterCombo()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(grid->IsRowHiddenAt(order));
    EXPECT_FALSE(grid->IsRowHiddenAt(RowOfText(grid, 1, u"고객명"_qs)));
    form->FilterCombo()->setEditText(QString());
    QTest::keyClick(form->FilterCombo()->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsRowHiddenAt(order));

    // "분석 현황": the missing word 주문 heads the list; complete it and store it.
    bool sawReport = false;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CWordReportDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        sawReport = true;
        CQrTreeGrid* words = dialog->WordGrid();
        EXPECT_EQ(dialog->WordLabel()->text(), u"미분석 단어 목록 (1)"_qs);
        ASSERT_EQ(words->GetRowCount(), 1);
        EXPECT_EQ(words->GetItemText(0, 0), u"주문"_qs);
        EXPECT_EQ(words->GetItemText(0, 1), u"2"_qs);
        EXPECT_EQ(words->GetItemText(0, 3), u"주문"_qs);
        ClickCell(words, 0, 0);
        EXPECT_EQ(dialog->DetailGrid()->GetRowCount(), 2);
        EXPECT_EQ(dialog->DetailLabel()->text(), u"미분석 단어 상세 (2)"_qs);
        EXPECT_TRUE(TypeIntoCell(words, 0, 2, u"ORD"_qs));
        Click(dialog->StoreButton());
    });
    Click(form->ReportButton());
    ASSERT_TRUE(sawReport);
    EXPECT_TRUE(std::find(ui.messages.begin(), ui.messages.end(), u"1 개의 단어가 저장 되었습니다"_qs) !=
                ui.messages.end());
    // The dictionary file holds the word and the form analysed again with it.
    CAnalyzeSettings reloaded;
    reloaded.LoadFrom(CAnalyzeSettings::SettingsPath());
    _stAnalyzeManageWord word;
    EXPECT_TRUE(reloaded.GetWord(u"ORD"_qs, u"주문"_qs, word));
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 4 / 4 )"_qs);
    const auto analysed = TargetBlocks(form->Grid());

    // Save the document, export the workbook.
    const QString doc = dic.dir.file(u"attrs.ztsl"_qs);
    ui.paths.push_back(doc);
    Click(form->SaveButton());
    EXPECT_EQ(ui.filters.back(), u"Word Analyzed Files(*.ztsl)|*.ztsl|"_qs);
    EXPECT_EQ(ui.LastMessage(), u"저장이 완료되었습니다"_qs);

    const QString out = dic.dir.file(u"result.xlsx"_qs);
    ui.paths.push_back(out);
    ui.answers.push_back(true);
    Click(form->ExportButton());
    EXPECT_EQ(ui.LastMessage(), u"출력이 완료되었습니다. 파일을 열겠습니까?"_qs);
    EXPECT_EQ(ui.opened, std::vector<QString>{out});
    const QVector<QStringList> exported = ReadWorkbook(out);
    ASSERT_EQ(exported.size(), 5);
    EXPECT_EQ(exported[0], (QStringList{u"대상속성명"_qs, u"대상컬럼명"_qs, u"분석컬럼명"_qs, u"분석단어"_qs,
                                        u"대상속성참고"_qs, u"대상속성정의"_qs}));

    // Close, open the document in a new form: the same result.
    form->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    CAnalyzeLogicalWordForm again;
    again.resize(1200, 800);
    again.show();
    ui.paths.push_back(doc);
    Click(again.OpenButton());
    EXPECT_EQ(again.Mode(), 2);
    EXPECT_EQ(again.TargetGroup()->title(), u"대상 목록 ( 4 / 4 )"_qs);
    EXPECT_EQ(TargetBlocks(again.Grid()), analysed);
}

TEST(LogicalFormRoad, WordMenuRenameQuestionAndInPlaceRename)
{
    FreshDictionary dic;
    AddStarterWords(dic);
    UiScript ui;
    const QString book = dic.dir.file(u"attrs.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    CAnalyzeLogicalWordForm form;
    form.resize(1200, 800);
    form.show();
    OpenAndDesignate(form, ui, book);
    Click(form.ExcludeFirstRowCheck());
    Click(form.AnalyzeButton());
    CQrTreeGrid* grid = form.Grid();

    // A fully known target has nothing to add.
    ui.choices = {u"대상 단어 추가"_qs};
    RightClickCell(grid, RowOfText(grid, 1, u"고객번호"_qs), 0);
    EXPECT_EQ(ui.LastMessage(), u"미분석 단어가 존재하지 않습니다"_qs);

    // On 주문일자: the report lists 주문; renaming it to 발주 with a physical name asks the
    // rename question, and Yes renames both targets that hold it.
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CWordReportDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->WordGrid()->GetRowCount(), 1);
        EXPECT_EQ(dialog->WordGrid()->GetItemText(0, 1), u"1"_qs);
        EXPECT_TRUE(TypeIntoCell(dialog->WordGrid(), 0, 2, u"PO"_qs));
        EXPECT_TRUE(TypeIntoCell(dialog->WordGrid(), 0, 3, u"발주"_qs));
        Click(dialog->StoreButton());
    });
    ui.choices = {u"대상 단어 추가"_qs};
    ui.answers = {true};
    RightClickCell(grid, RowOfText(grid, 1, u"주문일자"_qs) + 2, 0);
    EXPECT_TRUE(std::find(ui.messages.begin(), ui.messages.end(),
                          u"분석대상 단어의 변경이 있습니다.\n분석대상 속성명을 변경하시겠습니까?"_qs) !=
                ui.messages.end());
    EXPECT_GE(RowOfText(grid, 1, u"발주일자"_qs), 0);
    EXPECT_GE(RowOfText(grid, 1, u"발주번호"_qs), 0);
    EXPECT_EQ(RowOfText(grid, 1, u"주문일자"_qs), -1);
    EXPECT_EQ(form.TargetGroup()->title(), u"대상 목록 ( 4 / 4 )"_qs);

    // Editing a target name in place: normalised, moved onto an existing target.
    const int row = RowOfText(grid, 1, u"고객명"_qs);
    ASSERT_TRUE(TypeIntoCell(grid, row, 0, u"고객번호7"_qs));
    EXPECT_EQ(RowOfText(grid, 1, u"고객명"_qs), -1);
    EXPECT_EQ(form.TargetGroup()->title(), u"대상 목록 ( 3 / 3 )"_qs);
}

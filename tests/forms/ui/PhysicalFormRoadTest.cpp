#include "FormRoadTestUtil.h"
#include "forms/ui/AnalyzePhysicalWordForm.h"
#include "reports/ui/WordReportDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

TEST(PhysicalFormRoad, AnalyseCompleteWordsStoreSaveExportReopen)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    dic.AddWord(u"NO"_qs, u"번호"_qs);
    dic.AddWord(u"NM"_qs, u"명"_qs);
    dic.AddWord(u"DT"_qs, u"일자"_qs);
    UiScript ui;
    const QString book = dic.dir.file(u"columns.xlsx"_qs);
    WriteWorkbook(book, {{u"컬럼명"_qs, u"속성명"_qs},
                         {u"CUST_NO"_qs, u"고객번호"_qs},
                         {u"CUSTNM"_qs, u"고객명"_qs},
                         {u"ORDDT"_qs, u"주문일자"_qs},
                         {u"ORD_NO"_qs, u"주문번호"_qs}});

    QPointer<CAnalyzePhysicalWordForm> form = new CAnalyzePhysicalWordForm;
    form->resize(1200, 800);
    form->show();
    EXPECT_EQ(form->windowTitle(), u"단어 분석 [물리]"_qs);
    ui.paths.push_back(book);
    Click(form->OpenButton());
    EXPECT_EQ(ui.filters.back(), u"Document Files(*.xlsx,*.xls,*.ztsp,*.sql)|*.xlsx;*.xls;*.ztsp;*.sql|"_qs);
    ui.choices = {u"컬럼명 지정 (필수)"_qs, u"속성명 지정"_qs};
    RightClickCell(form->Grid(), 1, 0);
    EXPECT_EQ(ui.menus.back(), (QStringList{u"컬럼명 지정 (필수)"_qs, u"컬럼정의 지정"_qs, u"-"_qs, u"속성명 지정"_qs,
                                            u"-"_qs, u"참고데이터 지정"_qs}));
    RightClickCell(form->Grid(), 1, 1);
    EXPECT_EQ(form->Grid()->GetItemBkColor(1, 0), CQrTreeGrid::FromWinColor(0xAAF5E3));
    EXPECT_EQ(form->Grid()->GetItemBkColor(1, 1), CQrTreeGrid::FromWinColor(0xD2D2FF));
    Click(form->ExcludeFirstRowCheck());
    Click(form->AnalyzeButton());
    ASSERT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->Grid()->GetColumnHeader(0), u"대상 컬럼명"_qs);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 2 / 4 )"_qs);
    const int custnm = RowOfText(form->Grid(), 1, u"CUSTNM"_qs);
    ASSERT_GE(custnm, 0);
    EXPECT_EQ(form->Grid()->GetItemText(custnm + 1, 3), u"고객_명"_qs);

    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CWordReportDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        CQrTreeGrid* words = dialog->WordGrid();
        ASSERT_EQ(words->GetRowCount(), 1);
        // The physical report puts the word into the physical name column.
        EXPECT_EQ(words->GetItemText(0, 0), u"ORD"_qs);
        EXPECT_EQ(words->GetItemText(0, 1), u"2"_qs);
        EXPECT_EQ(words->GetItemText(0, 2), u"ORD"_qs);
        EXPECT_EQ(words->GetItemText(0, 3), QString());
        EXPECT_TRUE(TypeIntoCell(words, 0, 3, u"주문"_qs));
        Click(dialog->StoreButton());
    });
    Click(form->ReportButton());
    EXPECT_EQ(ui.LastMessage(), u"1 개의 단어가 저장 되었습니다"_qs);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 4 / 4 )"_qs);
    const auto analysed = TargetBlocks(form->Grid());

    const QString doc = dic.dir.file(u"columns.ztsp"_qs);
    ui.paths.push_back(doc);
    Click(form->SaveButton());
    EXPECT_EQ(ui.filters.back(), u"Word Analyzed Files(*.ztsp)|*.ztsp|"_qs);
    EXPECT_EQ(ui.LastMessage(), u"저장이 완료되었습니다"_qs);
    const QString out = dic.dir.file(u"columns-out.xlsx"_qs);
    ui.paths.push_back(out);
    ui.answers.push_back(false);
    Click(form->ExportButton());
    EXPECT_TRUE(ui.opened.empty());
    const QVector<QStringList> exported = ReadWorkbook(out);
    ASSERT_EQ(exported.size(), 5);
    EXPECT_EQ(exported[0].value(2), u"분석속성명"_qs);

    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    CAnalyzePhysicalWordForm again;
    again.show();
    // A logical document is refused by the physical form.
    const QString wrong = dic.dir.file(u"wrong.ztsp"_qs);
    WriteTextFile(wrong, u"{\"logical_word_analyze\": []}"_qs);
    ui.paths.push_back(wrong);
    Click(again.OpenButton());
    EXPECT_EQ(ui.LastMessage(), u"not physical analyzed document file"_qs);
    EXPECT_EQ(again.Mode(), 0);
    ui.paths.push_back(doc);
    Click(again.OpenButton());
    EXPECT_EQ(again.Mode(), 2);
    EXPECT_EQ(again.TargetGroup()->title(), u"대상 목록 ( 4 / 4 )"_qs);
    EXPECT_EQ(TargetBlocks(again.Grid()), analysed);
}

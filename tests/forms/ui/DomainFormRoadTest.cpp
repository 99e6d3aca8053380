#include "FormRoadTestUtil.h"
#include "forms/ui/AnalyzeDomainForm.h"
#include "reports/ui/DomainReportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
void AddDomain(CAnalyzeSettings& settings, const QString& key, const QString& name, const QString& type,
               const QString& length)
{
    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = key;
    domain.strDomainName = name;
    domain.strDataType = type;
    domain.strLength = length;
    settings.AddDomain(key, name, domain);
}

const QVector<QStringList> kSheet = {
    {u"속성명"_qs, u"데이터타입"_qs, u"컬럼명"_qs},    {u"고객번호"_qs, u"VARCHAR(20)"_qs, u"CUST_NO"_qs},
    {u"고객명"_qs, u"VARCHAR(100)"_qs, u"CUST_NM"_qs}, {u"주문번호"_qs, u"VARCHAR(30)"_qs, u"ORD_NO"_qs},
    {u"주문_일자"_qs, u"CHAR(8)"_qs, u"ORD_DT"_qs},    {u"변경_일자"_qs, u"CHAR(8)"_qs, u"CHG_DT"_qs},
};

void OpenDesignateAnalyse(CAnalyzeDomainForm& form, UiScript& ui, const QString& book)
{
    ui.paths.push_back(book);
    Click(form.OpenButton());
    ASSERT_EQ(form.Mode(), 1);
    ui.choices = {u"속성명 지정 (필수)"_qs, u"속성타입 지정 (필수)"_qs, u"컬럼명 지정"_qs};
    RightClickCell(form.Grid(), 1, 0);
    RightClickCell(form.Grid(), 1, 1);
    RightClickCell(form.Grid(), 1, 2);
    Click(form.ExcludeFirstRowCheck());
    Click(form.AnalyzeButton());
}
} // namespace

TEST(DomainFormRoad, AnalyseStoreDomainsSaveExportReopen)
{
    FreshDictionary dic;
    AddDomain(dic.Settings(), u"번호"_qs, u"번호VC20"_qs, u"VARCHAR"_qs, u"20"_qs);
    AddDomain(dic.Settings(), u"명"_qs, u"명VC100"_qs, u"VARCHAR"_qs, u"100"_qs);
    UiScript ui;
    const QString book = dic.dir.file(u"domains.xlsx"_qs);
    WriteWorkbook(book, kSheet);

    QPointer<CAnalyzeDomainForm> form = new CAnalyzeDomainForm;
    form->resize(1200, 800);
    form->show();
    EXPECT_EQ(form->windowTitle(), u"도메인 분석"_qs);
    ui.paths.push_back(book);
    Click(form->OpenButton());
    ui.choices = {u"속성명 지정 (필수)"_qs};
    RightClickCell(form->Grid(), 1, 0);
    EXPECT_EQ(ui.menus.back(),
              (QStringList{u"속성명 지정 (필수)"_qs, u"속성타입 지정 (필수)"_qs, u"속성길이 지정"_qs,
                           u"속성스케일 지정"_qs, u"-"_qs, u"컬럼명 지정"_qs, u"-"_qs, u"참고데이터 지정"_qs}));
    // The type column is required too.
    Click(form->AnalyzeButton());
    // the fixed text, then which role is missing
    EXPECT_EQ(ui.LastMessage().section(u'\n', 0, 0), u"설정 되지 않은 필수 데이터 항목이 있습니다"_qs);
    ui.choices = {u"속성타입 지정 (필수)"_qs, u"컬럼명 지정"_qs};
    RightClickCell(form->Grid(), 1, 1);
    EXPECT_EQ(form->Grid()->GetItemBkColor(2, 1), CQrTreeGrid::FromWinColor(0xB0E4EF));
    RightClickCell(form->Grid(), 1, 2);
    Click(form->ExcludeFirstRowCheck());
    Click(form->AnalyzeButton());
    ASSERT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 2 / 5 )"_qs);
    EXPECT_EQ(form->Grid()->GetColumnHeader(3), u"대상 데이터타입"_qs);
    const int order = RowOfText(form->Grid(), 1, u"주문번호"_qs);
    ASSERT_GE(order, 0);
    EXPECT_EQ(form->Grid()->GetItemImage(order, 0), 1);
    EXPECT_EQ(form->Grid()->GetItemImage(RowOfText(form->Grid(), 1, u"주문_일자"_qs), 0), 0);
    EXPECT_EQ(form->Grid()->GetItemImage(RowOfText(form->Grid(), 1, u"고객명"_qs), 0), 2);

    // The filter box offers key domains of several targets; choosing one keeps names ending in it.
    QComboBox* filter = form->FilterCombo();
    QStringList entries;
    for (int i = 0; i < filter->count(); ++i)
        entries.append(filter->itemText(i));
    entries.sort();
    EXPECT_EQ(entries, (QStringList{u"번호"_qs, u"일자"_qs}));
    filter->setEditText(u"일자"_qs);
    QTest::keyClick(filter->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(form->Grid()->IsRowHiddenAt(order));
    EXPECT_FALSE(form->Grid()->IsRowHiddenAt(RowOfText(form->Grid(), 1, u"변경_일자"_qs)));
    filter->setEditText(QString());
    QTest::keyClick(filter->lineEdit(), Qt::Key_Return);

    // "대상 도메인 추가" on 주문번호: the report of its one domain key.
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDomainReportDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->DomainGrid()->GetRowCount(), 1);
        EXPECT_EQ(dialog->DomainGrid()->GetItemText(0, 0), u"번호"_qs);
        EXPECT_EQ(dialog->DomainGrid()->GetItemText(0, 4), u"VARCHAR"_qs);
        EXPECT_EQ(dialog->DomainGrid()->GetItemText(0, 5), u"30"_qs);
        Click(dialog->CloseButton());
    });
    ui.choices = {u"대상 도메인 추가"_qs};
    RightClickCell(form->Grid(), order, 0);
    EXPECT_EQ(ui.menus.back(), QStringList{u"대상 도메인 추가"_qs});

    // "분석 현황": name both missing domains and store them; the form analyses again.
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDomainReportDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        CQrTreeGrid* domains = dialog->DomainGrid();
        EXPECT_EQ(dialog->DomainLabel()->text(), u"미분석 도메인 목록 (2)"_qs);
        ASSERT_EQ(domains->GetRowCount(), 2);
        EXPECT_EQ(domains->GetItemText(0, 0), u"일자"_qs); // count 2 first
        EXPECT_EQ(domains->GetItemText(0, 1), u"2"_qs);
        ClickCell(domains, 0, 0);
        EXPECT_EQ(dialog->DetailLabel()->text(), u"미분석 도메인 상세 (2)"_qs);
        EXPECT_EQ(dialog->DetailGrid()->GetItemText(0, 3), u"CHAR(8)"_qs);
        EXPECT_TRUE(TypeIntoCell(domains, 0, 2, u"일자"_qs));
        EXPECT_EQ(domains->GetItemText(0, 3),
                  CAnalyzeSettings::Instance().BuildDomainName(u"일자"_qs, u"CHAR"_qs, u"8"_qs, QString()));
        EXPECT_FALSE(domains->GetItemText(0, 3).isEmpty());
        EXPECT_EQ(domains->GetItemBkColor(0, 3), CQrTreeGrid::FromWinColor(0xD2D2FF));
        EXPECT_TRUE(TypeIntoCell(domains, 1, 2, u"번호"_qs));
        EXPECT_EQ(domains->GetItemText(1, 3), u"번호VC30"_qs);
        Click(dialog->StoreButton());
    });
    Click(form->ReportButton());
    EXPECT_EQ(ui.LastMessage(), u"2 개의 도메인이 저장 되었습니다"_qs);
    EXPECT_EQ(form->TargetGroup()->title(), u"대상 목록 ( 5 / 5 )"_qs);
    const auto analysed = TargetBlocks(form->Grid());

    const QString doc = dic.dir.file(u"domains.ztsd"_qs);
    ui.paths.push_back(doc);
    Click(form->SaveButton());
    EXPECT_EQ(ui.filters.back(), u"Doamin Analyzed Files(*.ztsd)|*.ztsd|"_qs);
    EXPECT_EQ(ui.LastMessage(), u"저장이 완료되었습니다"_qs);
    const QString out = dic.dir.file(u"domains-out.xlsx"_qs);
    ui.paths.push_back(out);
    ui.answers.push_back(true);
    Click(form->ExportButton());
    const QVector<QStringList> exported = ReadWorkbook(out);
    ASSERT_EQ(exported.size(), 6);
    EXPECT_EQ(exported[0], (QStringList{u"속성명"_qs, u"컬럼명"_qs, u"데이터타입"_qs, u"데이터길이"_qs,
                                        u"데이터스케일"_qs, u"키도메인"_qs, u"도메인"_qs}));

    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    CAnalyzeDomainForm again;
    again.show();
    ui.paths.push_back(doc);
    Click(again.OpenButton());
    EXPECT_EQ(again.Mode(), 2);
    EXPECT_EQ(again.TargetGroup()->title(), u"대상 목록 ( 5 / 5 )"_qs);
    EXPECT_EQ(TargetBlocks(again.Grid()), analysed);
}

TEST(DomainFormRoad, RenameInPlaceMovesTheTarget)
{
    FreshDictionary dic;
    AddDomain(dic.Settings(), u"번호"_qs, u"번호VC20"_qs, u"VARCHAR"_qs, u"20"_qs);
    UiScript ui;
    const QString book = dic.dir.file(u"domains.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    CAnalyzeDomainForm form;
    form.resize(1200, 800);
    form.show();
    OpenDesignateAnalyse(form, ui, book);
    CQrTreeGrid* grid = form.Grid();
    const int row = RowOfText(grid, 1, u"고객명"_qs);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(TypeIntoCell(grid, row, 0, u"고객번호2"_qs));
    EXPECT_EQ(RowOfText(grid, 1, u"고객명"_qs), -1);
    // VARCHAR(100) 고객번호 is its own target beside VARCHAR(20) 고객번호.
    int named = 0;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        named += grid->GetTreeLevel(r) == 1 && grid->GetItemText(r, 0) == u"고객번호"_qs;
    EXPECT_EQ(named, 2);
}

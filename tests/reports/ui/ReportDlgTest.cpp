#include "components/QrDatabaseManager.h"
#include "components/QrExcelSheet.h"
#include "components/ui/ReportChart.h"
#include "reports/ui/DomainReportDlg.h"
#include "reports/ui/WordReportDlg.h"
#include "settings/AnalyzeSettings.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
struct ReportFixture
{
    ReportFixture() { CAnalyzeSettings::DestroyInstance(); }
    ~ReportFixture()
    {
        CAnalyzeSettings::DestroyInstance();
        CQrDatabaseManager::GetInstance().Remove(u"DIC"_qs);
    }
    TempDataDir dir;
    UiScript ui;
};

WordReportInput WordInput()
{
    WordReportInput input;
    input.mode = 0;
    input.analyzedCount = 10;
    input.foundCount = 7;
    input.missing = {{u"고객"_qs, 2}, {u"별"_qs, 1}};
    WordReportTarget target;
    target.name = u"고객_별_코드"_qs;
    target.count = 3;
    target.sources = {u"고객별코드"_qs, u"고객별코드2"_qs};
    target.references = {{u"참고"_qs, 2}};
    input.targets[u"고객"_qs] = {target};
    input.targets[u"별"_qs] = {target};
    return input;
}

QVector<QStringList> ReadBook(const QString& path)
{
    QVector<QStringList> rows;
    CQrExcelSheet sheet(true);
    if (sheet.OpenFile(path, false))
        for (int r = 0; r < sheet.GetRowCount(); ++r) {
            QStringList cells;
            sheet.GetRowData(cells, r, -1);
            rows.append(cells);
        }
    return rows;
}
} // namespace

TEST(WordReportDlg, ChartDetailsDictionaryNamesExclusionAndExport)
{
    ReportFixture f;
    // The English-name dictionary in the "DIC" database.
    const QString db = f.dir.file(u"dic.db"_qs);
    ASSERT_TRUE(CQrDatabaseManager::GetInstance().ConnectSqlite(db, u"DIC"_qs));
    {
        QSqlQuery q(CQrDatabaseManager::GetInstance().Database(u"DIC"_qs));
        ASSERT_TRUE(q.exec(u"CREATE TABLE QRC_DIC (LOG_NM VARCHAR(200), ENG_NM VARCHAR(400), DEFINITION TEXT)"_qs));
        ASSERT_TRUE(q.exec(u"INSERT INTO QRC_DIC VALUES ('고객', 'customer;client', '물건을 사는 사람')"_qs));
    }

    CWordReportDlg dialog(WordInput());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"분석 현황"_qs);
    EXPECT_EQ(dialog.Chart()->Values(), (QList<int>{3, 7}));
    EXPECT_EQ(dialog.Chart()->Labels(), (QStringList{u"미분석"_qs, u"분석"_qs}));
    CQrTreeGrid* words = dialog.WordGrid();
    EXPECT_EQ(dialog.WordLabel()->text(), u"미분석 단어 목록 (2)"_qs);
    EXPECT_EQ(words->GetColumnHeader(2), u"단어 물리명 (필수)"_qs);
    EXPECT_TRUE(words->IsReadOnlyCell(0, 0));
    EXPECT_FALSE(words->IsReadOnlyCell(0, 2));

    ClickCell(words, 0, 1);
    ASSERT_EQ(dialog.DetailGrid()->GetRowCount(), 1);
    EXPECT_EQ(dialog.DetailGrid()->GetItemText(0, 3), u"고객별코드, 고객별코드2"_qs);
    EXPECT_EQ(dialog.DetailGrid()->GetItemText(0, 4), u"참고 (2)"_qs);

    // Unchecked: no look-up. Checked: English names and definitions become combo cells.
    ASSERT_TRUE(TypeIntoCell(words, 0, 2, u"CUST"_qs));
    EXPECT_TRUE(words->GetItemText(0, 4).isEmpty());
    Click(dialog.AutoDefinitionsCheck());
    ASSERT_TRUE(TypeIntoCell(words, 0, 2, u"CUS"_qs));
    EXPECT_EQ(words->GetItemText(0, 4), u"client"_qs);
    EXPECT_EQ(words->Model()->ComboChoices(0, 4), (QStringList{u"client"_qs, u"customer"_qs}));
    EXPECT_EQ(words->GetItemText(0, 5), u"물건을 사는 사람"_qs);
    EXPECT_EQ(words->GetItemBkColor(0, 5), CQrTreeGrid::FromWinColor(0xD2D2FF));
    EXPECT_EQ(dialog.NoticeLabel()->text(), u"'고객'의 사전 정의를 가져왔습니다: 영문명 2개, 정의 1개."_qs);
    // a name the dictionary does not hold is said so instead of nothing happening
    ASSERT_TRUE(TypeIntoCell(words, 1, 2, u"BYL"_qs));
    EXPECT_EQ(dialog.NoticeLabel()->text(), u"'별'의 영문명과 정의를 사전에서 찾지 못했습니다."_qs);

    // Exclusion: No keeps the row; Yes adds the word to the excluded words and greys it.
    f.ui.choices = {u"단어 분석제외"_qs, u"단어 분석제외"_qs};
    f.ui.answers = {false, true};
    ClickCell(words, 1, 0);
    RightClickCell(words, 1, 0);
    EXPECT_EQ(f.ui.LastMessage(), u"선택한 명칭을 단어분석에서 제외 하겠습니까?"_qs);
    EXPECT_FALSE(CAnalyzeSettings::Instance().IsExceptWord(u"별"_qs));
    RightClickCell(words, 1, 0);
    EXPECT_TRUE(CAnalyzeSettings::Instance().IsExceptWord(u"별"_qs));
    EXPECT_TRUE(words->IsReadOnlyCell(1, 3));
    EXPECT_TRUE(words->GetItemText(1, 3).isEmpty());

    // "현황 출력": one row per word and target.
    const QString out = f.dir.file(u"words.xlsx"_qs);
    f.ui.paths = {out};
    f.ui.answers = {true};
    Click(dialog.ExportButton());
    EXPECT_EQ(f.ui.LastMessage(), u"출력이 완료되었습니다. 파일을 열겠습니까?"_qs);
    EXPECT_EQ(f.ui.opened, std::vector<QString>{out});
    const QVector<QStringList> rows = ReadBook(out);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0],
              (QStringList{u"분석 단어명"_qs, u"분석 대상"_qs, u"갯수"_qs, u"참고 데이터"_qs, u"분석 대상 정의"_qs}));
    EXPECT_EQ(rows[1].value(0), u"고객"_qs);
    EXPECT_EQ(rows[1].value(2), u"3"_qs);

    // "단어 입력" stores the completed row only and closes with OK.
    Click(dialog.StoreButton());
    EXPECT_EQ(f.ui.LastMessage(), u"1 개의 단어가 저장 되었습니다"_qs);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    _stAnalyzeManageWord word;
    ASSERT_TRUE(CAnalyzeSettings::Instance().GetWord(u"CUS"_qs, u"고객"_qs, word));
    EXPECT_EQ(word.strPhyFullName, u"client"_qs);
}

TEST(DomainReportDlg, TypeComboExclusionCloseAndExport)
{
    ReportFixture f;
    DomainReportInput input;
    input.analyzedCount = 4;
    input.foundCount = 1;
    input.missing = {{u"명+VARCHAR+100+"_qs, 3}};
    DomainAnalysisTarget target;
    target.attribute = u"고객명"_qs;
    target.refCount = 3;
    target.type = u"VARCHAR"_qs;
    target.length = u"100"_qs;
    input.targets[u"명+VARCHAR+100+"_qs] = {target};

    CDomainReportDlg dialog(input);
    dialog.show();
    EXPECT_EQ(dialog.Chart()->Values(), (QList<int>{3, 1}));
    EXPECT_EQ(dialog.AutoNameCheck()->text(), u"도메인명 자동생성"_qs);
    CQrTreeGrid* domains = dialog.DomainGrid();
    EXPECT_TRUE(domains->Model()->ComboChoices(0, 4).contains(u"VARCHAR"_qs));
    EXPECT_TRUE(domains->IsReadOnlyCell(0, 7));

    // Only .xlsx is offered; a name typed as .xls gets the .xlsx it holds.
    const QString out = f.dir.file(u"domains.xlsx"_qs);
    f.ui.paths = {f.dir.file(u"domains.xls"_qs)};
    Click(dialog.ExportButton());
    EXPECT_EQ(f.ui.filters.back(), u"Excel Files(*.xlsx)|*.xlsx|"_qs);
    EXPECT_EQ(CQrFileDialog::ToQtFilter(f.ui.filters.back()), u"Excel 파일 (*.xlsx)"_qs);
    const QVector<QStringList> rows = ReadBook(out);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1], (QStringList{u"명"_qs, u"고객명"_qs, u"3"_qs, QString(), u"VARCHAR(100)"_qs, QString()}));
    EXPECT_TRUE(f.ui.opened.empty());

    f.ui.choices = {u"도메인 분석제외"_qs};
    f.ui.answers = {true};
    ClickCell(domains, 0, 0);
    RightClickCell(domains, 0, 0);
    EXPECT_EQ(f.ui.LastMessage(), u"선택한 명칭을 도메인분석에서 제외 하겠습니까?"_qs);
    EXPECT_TRUE(CAnalyzeSettings::Instance().IsExceptDomain(u"명"_qs));
    EXPECT_TRUE(domains->GetItemText(0, 4).isEmpty());
    EXPECT_TRUE(domains->IsReadOnlyCell(0, 2));

    Click(dialog.CloseButton());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// "도메인 입력" says which rows it passed over and why; the name proposal says when it cannot
// make a name. The chart's ticks are round and each bar's value is written under it.
TEST(DomainReportDlg, SkippedRowsNoticesAndChartTicks)
{
    ReportFixture f;
    DomainReportInput input;
    input.analyzedCount = 21882;
    input.foundCount = 21748;
    input.missing = {{u"명+VARCHAR+100+"_qs, 3}, {u"번호+NUMBER+10+"_qs, 2}, {u"코드+XTYPE++"_qs, 1}};
    CDomainReportDlg dialog(input);
    dialog.show();
    CQrTreeGrid* domains = dialog.DomainGrid();
    ASSERT_EQ(domains->GetItemText(2, 0), u"코드"_qs);

    ASSERT_TRUE(TypeIntoCell(domains, 2, 2, u"코드"_qs));
    EXPECT_EQ(dialog.NoticeLabel()->text(),
              u"도메인명을 만들지 못했습니다: 타입 'XTYPE'은(는) 데이터타입 약어 표에 없음"_qs);
    ASSERT_TRUE(TypeIntoCell(domains, 0, 2, u"명"_qs));
    EXPECT_EQ(dialog.NoticeLabel()->text(), u"도메인명 '명VC100'을(를) 만들었습니다."_qs);

    Click(dialog.StoreButton());
    EXPECT_EQ(f.ui.LastMessage(), u"1 개의 도메인이 저장 되었습니다\n\n저장하지 않은 행:\n"
                                  u"3행 코드: 도메인명 (필수) 비어 있음, 타입 'XTYPE'은(는) 데이터타입 약어 표에 없음\n"
                                  u"입력하지 않은 행 1개는 건너뛰었습니다."_qs);

    EXPECT_EQ(CReportChart::AxisLabel(u"미분석"_qs, 134), u"미분석 (134)"_qs);
    EXPECT_EQ(CReportChart::AxisLabel(u"분석"_qs, 21748), u"분석 (21,748)"_qs);
    // under its bar a two-word name takes two lines, the count one more: narrow bars keep it whole
    EXPECT_EQ(CReportChart::WrappedLabel(u"데이터타입 불일치"_qs, 3), u"데이터타입<br>불일치<br>(3)"_qs);
    EXPECT_EQ(CReportChart::WrappedLabel(u"<미분석>"_qs, 1340), u"&lt;미분석&gt;<br>(1,340)"_qs);
    EXPECT_EQ(CReportChart::WrappedLabel(u"미등록 단어"_qs, 1), u"미등록<br>단어<br>(1)"_qs);
    const std::pair<int, int> steps[] = {{1, 1}, {7, 2}, {10, 2}, {134, 50}, {21748, 5000}, {26098, 10000}};
    for (const auto& [top, step] : steps)
        EXPECT_EQ(CReportChart::NiceStep(top), step) << top;
}

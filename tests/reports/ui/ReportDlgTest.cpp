#include "components/QrDatabaseManager.h"
#include "components/QrExcelSheet.h"
#include "reports/ui/DomainReportDlg.h"
#include "reports/ui/ReportChart.h"
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
    EXPECT_EQ(rows[0], (QStringList{u"분석 단어명"_qs, u"분석 대상"_qs, u"갯수"_qs, u"참고 데이터"_qs,
                                    u"분석 대상 정의"_qs}));
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

    const QString out = f.dir.file(u"domains.xlsx"_qs);
    f.ui.paths = {out};
    Click(dialog.ExportButton());
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

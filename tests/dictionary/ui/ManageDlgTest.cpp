// The word and domain management dialogs on the demo repository, driven through their
// controls: SQLite (no sharing) and PostgreSQL (sharing, with the real choice dialog).
// With TERMWISE_SCREENSHOTS set, the pictures of the dialogs are written there.
#include "components/OutputLog.h"
#include "components/ui/QrTreeGrid.h"
#include "dictionary/ManageTexts.h"
#include "dictionary/ui/DomainManageDlg.h"
#include "dictionary/ui/WordManageDlg.h"
#include "support/DemoRepositoryTest.h"
#include "support/FormTestKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void Shot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (!dir.isEmpty())
        w->grab().save(dir + u'/' + QString::fromLatin1(name));
}

void Check(CQrTreeGrid* grid, int row)
{
    grid->Model()->setData(grid->Model()->IndexOf(row, 0), Qt::Checked, Qt::CheckStateRole);
}

// Answers the next choice dialog with a command link (and the repeat box), recording its texts.
struct ChoiceAnswer
{
    QStringList seen; // title, instruction, content, link 100, link 101
    void Next(const char* link, bool repeat, const char* shot = nullptr)
    {
        WhenModal([this, link, repeat, shot](QWidget* w) {
            ASSERT_TRUE(w && w->objectName() == QLatin1String("shareChoice")) << "no choice dialog";
            auto* a = w->findChild<QCommandLinkButton*>(QStringLiteral("choice100"));
            auto* b = w->findChild<QCommandLinkButton*>(QStringLiteral("choice101"));
            auto* box = w->findChild<QCheckBox*>();
            ASSERT_TRUE(a && b && box);
            seen = {w->windowTitle(),
                    w->findChild<QLabel*>(QStringLiteral("instruction"))->text(),
                    w->findChild<QLabel*>(QStringLiteral("content"))->text(),
                    a->text() + u'\n' + a->description(),
                    b->text() + u'\n' + b->description(),
                    box->text()};
            box->setChecked(repeat);
            if (shot)
                Shot(w, shot);
            Click(w->findChild<QCommandLinkButton*>(QString::fromLatin1(link)));
        });
    }
};

class ManageDlgTest : public DemoRepositoryTest
{
protected:
    void SetUp() override
    {
        DemoRepositoryTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CAnalyzeSettings& d = CAnalyzeSettings::Instance();
        _stAnalyzeManageWord w;
        w.strPhyFullName = QStringLiteral("Customer");
        w.strDescription = QStringLiteral("로컬에서 고친 고객의 정의");
        d.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), w);
        w.strPhyFullName = QStringLiteral("Number");
        w.strDescription = QStringLiteral("식별 번호");
        d.AddWord(QStringLiteral("NO"), QStringLiteral("번호"), w);
        d.AddExceptWord(QStringLiteral("주문"));
        _stAnalyzeManageDomain dom;
        dom.strDataType = QStringLiteral("VARCHAR");
        dom.strLength = QStringLiteral("30");
        d.AddDomain(QStringLiteral("번호"), QStringLiteral("번호VC20"), dom);
    }
    bool Sharing() const { return GetParam() == TestDialect::Postgresql; }

    UiScript ui;
    OutputLogCapture log;
};

} // namespace

TEST_P(ManageDlgTest, WordsEditSaveSearchDeleteShareAndConvert)
{
    CAnalyzeSettings& d = CAnalyzeSettings::Instance();
    CWordManageDlg dlg;
    dlg.resize(1000, 600);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("단어 관리"));
    EXPECT_EQ(grid->GetColumnHeader(1), QStringLiteral("단어 논리명 (필수)"));
    EXPECT_EQ(dlg.ListGroup()->title(), QStringLiteral("단어 목록 (2)"));
    EXPECT_EQ(dlg.SearchBox()->placeholderText(), QStringLiteral("검색 할 논리명, 물리명을 입력하세요"));
    EXPECT_EQ(grid->GetColumnWidth(0), 32);
    for (int c = 1; c <= 3; ++c)
        EXPECT_NEAR(grid->GetColumnWidth(c), grid->viewport()->width() * 15 / 100, 2) << c;
    EXPECT_GE(grid->GetColumnWidth(4), grid->viewport()->width() / 2 - 2);
    EXPECT_EQ(dlg.Button(QStringLiteral("공유 다운로드"))->isEnabled(), Sharing());
    EXPECT_EQ(dlg.Button(QStringLiteral("공유 현황비교"))->isEnabled(), Sharing());
    EXPECT_TRUE(dlg.Button(QStringLiteral("표준 단어 전환"))->isEnabled());

    // Add a word; the excluded word it names leaves the excluded list on save.
    Click(dlg.Button(QStringLiteral("추가")));
    ASSERT_EQ(grid->GetRowCount(), 3);
    ASSERT_TRUE(TypeIntoCell(grid, 2, 1, QStringLiteral("주문")));
    ASSERT_TRUE(TypeIntoCell(grid, 2, 2, QStringLiteral("ORD")));
    Click(dlg.Button(QStringLiteral("추가"))); // left empty: dropped on save, kept on delete

    // Search: "O" is in NO and ORD; from the last match it wraps to the first.
    grid->SetFocusCell(2, 1);
    dlg.SearchBox()->setText(QStringLiteral("o"));
    QTest::keyClick(dlg.SearchBox(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);
    QTest::keyClick(dlg.SearchBox(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    QTest::keyClick(dlg.SearchBox(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 1);

    const size_t said = ui.messages.size();
    Click(dlg.Button(QStringLiteral("삭제")));
    ASSERT_EQ(ui.messages.size(), said + 1) << "nothing ticked: the button says so";
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택 단어가 없습니다"));
    EXPECT_EQ(grid->GetRowCount(), 4);
    Check(grid, 0);
    Check(grid, 3);
    Click(dlg.Button(QStringLiteral("삭제")));
    ASSERT_EQ(grid->GetRowCount(), 3) << "the checked row without names stays";
    EXPECT_EQ(grid->GetItemText(0, 1), QStringLiteral("번호"));

    Click(dlg.Button(QStringLiteral("저장")));
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("저장 되었습니다"));
    _stAnalyzeManageWord w;
    EXPECT_TRUE(d.GetWord(QStringLiteral("ORD"), QStringLiteral("주문"), w));
    EXPECT_FALSE(d.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), w));
    EXPECT_TRUE(d.m_setExceptWords.empty());
    EXPECT_EQ(dlg.ListGroup()->title(), QStringLiteral("단어 목록 (2)"));
    CAnalyzeSettings reread;
    reread.LoadFrom(CAnalyzeSettings::SettingsPath());
    EXPECT_TRUE(reread.GetWord(QStringLiteral("ORD"), QStringLiteral("주문"), w)) << "written to the file";

    // Conversion: nothing checked, then the registration list with the checked word.
    Click(dlg.Button(QStringLiteral("표준 단어 전환")));
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택 단어가 없습니다"));
    Check(grid, 1);
    ui.answers = {true};
    QString listTitle;
    int listRows = -1;
    WhenModal([&](QWidget* w) {
        listTitle = w->windowTitle();
        if (auto* g = w->findChild<CQrTreeGrid*>())
            listRows = g->GetRowCount();
    });
    Click(dlg.Button(QStringLiteral("표준 단어 전환")));
    EXPECT_EQ(listTitle, QStringLiteral("표준 단어 등록"));
    EXPECT_EQ(listRows, 1);

    if (Sharing()) {
        // Download: the server's 고객 differs only in its definition; take it and repeat.
        _stAnalyzeManageWord local;
        local.strPhyFullName = QStringLiteral("Customer");
        local.strDescription = QStringLiteral("로컬에서 고친 고객의 정의");
        d.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), local);
        local.strDescription = QStringLiteral("로컬 손님");
        d.AddWord(QStringLiteral("CUST"), QStringLiteral("손님"), local);
        dlg.ListSelector()->setCurrentIndex(1);
        dlg.ListSelector()->setCurrentIndex(0);
        ui.answers = {true};
        ChoiceAnswer choice;
        choice.Next("choice101", true, "share-conflict.png");
        log.lines.clear();
        Click(dlg.Button(QStringLiteral("공유 다운로드")));
        ASSERT_EQ(choice.seen.size(), 6);
        EXPECT_EQ(choice.seen[0], QStringLiteral("단어 다운로드"));
        EXPECT_EQ(choice.seen[1], QStringLiteral("CUST (고객)"));
        EXPECT_EQ(choice.seen[2], QStringLiteral("로컬 분석 단어 목록에 CUST (고객) 단어가 이미 존재합니다"));
        EXPECT_EQ(choice.seen[3],
                  QStringLiteral("보류, 로컬 단어를 우선 사용합니다\nCustomer, 로컬에서 고친 고객의 정의"));
        EXPECT_EQ(choice.seen[5], QStringLiteral("해당 동작을 계속 합니다"));
        EXPECT_EQ(log.lines, (QStringList{QStringLiteral("CUST (고객) 로컬 분석 단어가 변경되었습니다"),
                                          QStringLiteral("CUST (손님) 로컬 분석 단어가 변경되었습니다"),
                                          QStringLiteral("ORD (주문) 로컬 분석 단어가 변경되었습니다")}))
            << "later conflicts are settled by the repeated answer";
        ASSERT_TRUE(d.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), w));
        EXPECT_EQ(w.strDescription, QStringLiteral("상품이나 서비스를 이용하는 사람"));
        EXPECT_TRUE(d.GetWord(QStringLiteral("MBLAPP"), QStringLiteral("모바일앱"), w));
        EXPECT_EQ(dlg.ListGroup()->title(), QStringLiteral("단어 목록 (6)"));

        // Status compare paints the row whose definition differs from the server's.
        int row = -1;
        for (int r = 0; r < grid->GetRowCount(); ++r)
            if (grid->GetItemText(r, 2) == QLatin1String("NO"))
                row = r;
        ASSERT_GE(row, 0);
        ASSERT_TRUE(TypeIntoCell(grid, row, 4, QStringLiteral("바뀐 정의")));
        Click(dlg.Button(QStringLiteral("공유 현황비교")));
        EXPECT_EQ(grid->GetItemBkColor(row, 1), CQrTreeGrid::FromWinColor(0xB0E4EF));
        EXPECT_NE(grid->GetItemBkColor(row == 0 ? 1 : 0, 1), CQrTreeGrid::FromWinColor(0xB0E4EF));
        Shot(&dlg, "word-manage.png");

        // Upload the checked row; the server keeps its word unless told otherwise. The edit is
        // not saved yet: the upload asks first, and without 저장 neither file nor server changes.
        Check(grid, row);
        ui.answers = {false};
        Click(dlg.Button(QStringLiteral("공유 업로드")));
        EXPECT_EQ(ui.LastMessage(), ManageTexts::AskSaveBeforeUpload);
        ASSERT_TRUE(d.GetWord(QStringLiteral("NO"), QStringLiteral("번호"), w));
        EXPECT_NE(w.strDescription, QStringLiteral("바뀐 정의")) << "not saved without 저장";
        EXPECT_NE(repo.Rows(QStringLiteral("SELECT WORD_DESC FROM STD_ANLY_WORD WHERE WORD_PHY_NM = 'NO'")),
                  QStringList{QStringLiteral("바뀐 정의")});
        ui.answers = {true, true};
        choice.Next("choice100", false);
        Click(dlg.Button(QStringLiteral("공유 업로드")));
        EXPECT_EQ(choice.seen.value(0), QStringLiteral("단어 업로드"));
        EXPECT_EQ(ui.LastMessage(), QStringLiteral("완료되었습니다"));
        EXPECT_EQ(repo.Rows(QStringLiteral("SELECT WORD_DESC FROM STD_ANLY_WORD WHERE WORD_PHY_NM = 'NO'")),
                  QStringList{QStringLiteral("바뀐 정의")});
    } else {
        Shot(&dlg, "word-manage-sqlite.png");
    }
    dlg.reject();
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << "the dictionary changed while open";
}

// The dialog's own rules, on one dialect.
class ManageDlgEditsTest : public ManageDlgTest
{
};

// Edits live in the grid until "저장": closing over them asks first, as the forms do, and the
// edited rows show which they are.
TEST_P(ManageDlgEditsTest, UnsavedEditsAskBeforeTheyAreThrownAway)
{
    CAnalyzeSettings& d = CAnalyzeSettings::Instance();
    const QColor edited = CQrTreeGrid::FromWinColor(0xAAF5E3);
    const QString question = QStringLiteral("단어 관리: 저장하지 않은 변경이 있습니다.\n저장하시겠습니까?");
    _stAnalyzeManageWord w;
    {
        CWordManageDlg dlg;
        dlg.show();
        CQrTreeGrid* grid = dlg.Grid();
        Click(dlg.Button(QStringLiteral("추가")));
        ASSERT_TRUE(TypeIntoCell(grid, 2, 1, QStringLiteral("배송")));
        ASSERT_TRUE(TypeIntoCell(grid, 2, 2, QStringLiteral("DLVR")));
        EXPECT_EQ(grid->GetItemBkColor(2, 1), edited);
        EXPECT_NE(grid->GetItemBkColor(0, 1), edited) << "a row not edited keeps its colour";

        ui.buttons = {QMessageBox::Cancel};
        Click(dlg.Button(QStringLiteral("닫기")));
        EXPECT_EQ(ui.LastMessage(), question);
        EXPECT_TRUE(dlg.isVisible()) << "취소 keeps the dialog and the new word";
        EXPECT_EQ(grid->GetItemText(2, 1), QStringLiteral("배송"));

        ui.buttons = {QMessageBox::Save};
        dlg.close(); // the window's close button
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_TRUE(d.GetWord(QStringLiteral("DLVR"), QStringLiteral("배송"), w)) << "저장 keeps the word";
    }
    {
        CWordManageDlg dlg;
        dlg.show();
        ASSERT_EQ(dlg.Grid()->GetItemText(0, 1), QStringLiteral("고객"));
        ASSERT_TRUE(TypeIntoCell(dlg.Grid(), 0, 4, QStringLiteral("바뀐 정의")));
        ui.buttons = {QMessageBox::Discard};
        const size_t asked = ui.messages.size();
        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_EQ(ui.messages.size(), asked + 1);
        EXPECT_FALSE(dlg.isVisible());
        ASSERT_TRUE(d.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), w));
        EXPECT_EQ(w.strDescription, QStringLiteral("로컬에서 고친 고객의 정의")) << "저장 안 함 leaves the dictionary";
    }
    {
        // Switching lists would replace the grid: the same question, and 취소 stays.
        CDomainManageDlg dlg;
        dlg.show();
        Click(dlg.Button(QStringLiteral("추가")));
        ASSERT_TRUE(TypeIntoCell(dlg.Grid(), dlg.Grid()->GetRowCount() - 1, 1, QStringLiteral("코드")));
        ui.buttons = {QMessageBox::Cancel};
        dlg.ListSelector()->setCurrentIndex(1);
        EXPECT_EQ(ui.LastMessage(), QStringLiteral("도메인 관리: 저장하지 않은 변경이 있습니다.\n저장하시겠습니까?"));
        EXPECT_EQ(dlg.ListSelector()->currentIndex(), 0);
        EXPECT_EQ(dlg.Grid()->GetItemText(dlg.Grid()->GetRowCount() - 1, 1), QStringLiteral("코드"));
        ui.buttons = {QMessageBox::Discard};
        dlg.reject();
    }
}

TEST_P(ManageDlgTest, DomainsNameThemselvesSaveOnceAndSettleConflicts)
{
    CAnalyzeSettings& d = CAnalyzeSettings::Instance();
    CDomainManageDlg dlg;
    dlg.resize(1000, 600);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("도메인 관리"));
    EXPECT_EQ(grid->GetColumnHeader(3), QStringLiteral("데이터타입 (필수)"));
    EXPECT_EQ(dlg.ListGroup()->title(), QStringLiteral("도메인 목록 (1)"));

    // The automatic name follows key and type; the cell is painted as a proposal.
    Click(dlg.AutoCheck());
    Click(dlg.Button(QStringLiteral("추가")));
    ASSERT_TRUE(TypeIntoCell(grid, 1, 1, QStringLiteral("금액")));
    grid->Model()->setData(grid->Model()->IndexOf(1, 3), QStringLiteral("NUMERIC"), Qt::EditRole);
    ASSERT_TRUE(TypeIntoCell(grid, 1, 4, QStringLiteral("15")));
    const QString autoName =
        d.BuildDomainName(QStringLiteral("금액"), QStringLiteral("NUMERIC"), QStringLiteral("15"), {});
    ASSERT_FALSE(autoName.isEmpty());
    EXPECT_EQ(grid->GetItemText(1, 2), autoName);
    EXPECT_EQ(grid->GetItemBkColor(1, 2), CQrTreeGrid::FromWinColor(0xD2D2FF));
    // A second row with the same key and name: the later one wins on save.
    Click(dlg.AutoCheck());
    Click(dlg.Button(QStringLiteral("추가")));
    ASSERT_TRUE(TypeIntoCell(grid, 2, 1, QStringLiteral("금액")));
    ASSERT_TRUE(TypeIntoCell(grid, 2, 2, autoName));
    grid->Model()->setData(grid->Model()->IndexOf(2, 3), QStringLiteral("NUMERIC"), Qt::EditRole);
    ASSERT_TRUE(TypeIntoCell(grid, 2, 4, QStringLiteral("18")));
    Click(dlg.Button(QStringLiteral("저장")));
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("저장 되었습니다"));
    _stAnalyzeManageDomain dom;
    ASSERT_TRUE(d.GetDomain(QStringLiteral("금액"), autoName, dom));
    EXPECT_EQ(dom.strLength, QStringLiteral("18"));
    EXPECT_EQ(grid->GetRowCount(), 2);

    if (Sharing()) {
        // Upload: the server's 금액DEC15 has length 15, ours 18; its 번호VC20 20, ours 30.
        for (int r = 0; r < grid->GetRowCount(); ++r)
            Check(grid, r);
        ui.answers = {true};
        ChoiceAnswer choice;
        choice.Next("choice100", true);
        Click(dlg.Button(QStringLiteral("공유 업로드")));
        ASSERT_EQ(choice.seen.size(), 6);
        EXPECT_EQ(choice.seen[0], QStringLiteral("도메인 업로드"));
        EXPECT_EQ(choice.seen[2], QStringLiteral("서버 분석 도메인 목록에 금액 (금액DEC15) 도메인이 이미 존재합니다"));
        EXPECT_EQ(choice.seen[3], QStringLiteral("업로드, 로컬 도메인을 우선 사용합니다\nNUMERIC(18)"));
        EXPECT_EQ(choice.seen[4], QStringLiteral("보류, 서버 도메인을 우선 사용합니다\nNUMERIC(15)"));
        EXPECT_EQ(ui.LastMessage(), QStringLiteral("완료되었습니다"));
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_ANLY_DOMAIN WHERE DATA_LEN = '30'")), 1);
        EXPECT_TRUE(log.lines.contains(QStringLiteral("번호 (번호VC20) 서버 분석 도메인을 변경합니다")));
        // Download brings the server domain we lacked.
        ui.answers = {true};
        Click(dlg.Button(QStringLiteral("공유 다운로드")));
        EXPECT_EQ(dlg.ListGroup()->title(), QStringLiteral("도메인 목록 (3)"));
        Shot(&dlg, "domain-manage.png");
    }
    dlg.reject();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Dialects, ManageDlgTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });
INSTANTIATE_TEST_SUITE_P(Dialects, ManageDlgEditsTest, ::testing::Values(TestDialect::Sqlite),
                         [](const auto& info) { return DialectName(info.param); });

// A value the dictionary's shared tables could not take never enters the grid: the cell keeps
// its text and a warning says why; a definition may hold a line break.
TEST(ManageDlgCells, RefuseControlCharactersAndOverlongValues)
{
    TempDataDir data;
    UiScript ui;
    CAnalyzeSettings settings;
    CWordManageDlg dlg(settings);
    dlg.show();
    CQrTreeGrid* grid = dlg.Grid();
    Click(dlg.Button(QStringLiteral("추가")));
    ASSERT_TRUE(TypeIntoCell(grid, 0, 1, QStringLiteral("주문")));
    const struct
    {
        int column;
        QString text;
        const char* why;
    } refused[] = {
        {1, QStringLiteral("주") + QChar(0) + QStringLiteral("문"), "제어 문자(U+0000)"},
        {2, QString(201, u'A'), "길이가 201자로 최대 200자를 넘습니다"},
        {4, QStringLiteral("정의") + QChar(0x1B), "제어 문자(U+001B)"},
    };
    for (const auto& r : refused) {
        const QString before = grid->GetItemText(0, r.column);
        grid->Model()->setData(grid->Model()->IndexOf(0, r.column), r.text, Qt::EditRole);
        QApplication::processEvents();
        EXPECT_EQ(grid->GetItemText(0, r.column), before) << r.why;
        ASSERT_FALSE(ui.messages.empty()) << r.why;
        EXPECT_TRUE(ui.messages.back().contains(QString::fromUtf8(r.why))) << ui.messages.back().toStdString();
    }
    const size_t warnings = ui.messages.size();
    grid->Model()->setData(grid->Model()->IndexOf(0, 4), QStringLiteral("두 줄의\n정의"), Qt::EditRole);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetItemText(0, 4), QStringLiteral("두 줄의\n정의"));
    EXPECT_EQ(ui.messages.size(), warnings);
}

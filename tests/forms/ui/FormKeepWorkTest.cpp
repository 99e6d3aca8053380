// What the analysis forms do so that a user loses no work and knows what happened: the
// question before an unsaved result goes, the path box after a failed open, the roles in
// the source headers, the run's line in the output pane, the shortcuts.
#include "FormRoadTestUtil.h"
#include "analysis/AnalysisTexts.h"
#include "app/ui/MainFrame.h"
#include "components/OutputLog.h"
#include "forms/ui/AnalysisForms.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <set>

namespace {
const QVector<QStringList> kSheet = {
    {u"속성명"_qs, u"컬럼명"_qs, u"속성정의"_qs},
    {u"고객번호"_qs, u"CUST_NO"_qs, u"고객의 번호"_qs},
    {u"고객명"_qs, u"CUST_NM"_qs, u"고객 이름"_qs},
    {u"주문일자"_qs, u"ORD_DT"_qs, QString()},
};

void OpenAndAnalyse(CAnalyzeLogicalWordForm& form, UiScript& ui, const QString& book)
{
    ui.paths.push_back(book);
    Click(form.OpenButton());
    ASSERT_EQ(form.Mode(), 1);
    ui.choices = {u"속성명 지정 (필수)"_qs};
    RightClickCell(form.Grid(), 1, 0);
    Click(form.AnalyzeButton());
    ASSERT_EQ(form.Mode(), 2);
}

int OpenDialogsShown(const UiScript& ui)
{
    return int(std::count(ui.saves.begin(), ui.saves.end(), false));
}
} // namespace

// Each way to lose an analysis asks first; "저장" saves and goes on, "저장 안 함" goes on,
// "취소" (or a cancelled save dialog) keeps everything.
TEST(FormKeepWork, DiscardQuestionForEveryWayToLoseWork)
{
    enum class Way { OpenFile, CloseTab, ExitProgram, Request };
    const struct
    {
        QMessageBox::StandardButton answer;
        bool giveSavePath;
        bool proceeds;
        bool saved;
    } answers[] = {
        {QMessageBox::Save, true, true, true},
        {QMessageBox::Save, false, false, false}, // the save dialog was cancelled
        {QMessageBox::Discard, false, true, false},
        {QMessageBox::Cancel, false, false, false},
    };
    for (Way way : {Way::OpenFile, Way::CloseTab, Way::ExitProgram, Way::Request}) {
        for (const auto& a : answers) {
            SCOPED_TRACE(testing::Message()
                         << "way " << int(way) << " answer " << a.answer << " path " << a.giveSavePath);
            FreshDictionary dic;
            dic.AddWord(u"CUST"_qs, u"고객"_qs);
            UiScript ui;
            const QString book = dic.dir.file(u"attrs.xlsx"_qs);
            WriteWorkbook(book, kSheet);
            CMainFrame::ClearRegistrations();
            RegisterAnalysisForms();
            CMainFrame frame;
            QPointer<QMdiSubWindow> sub = frame.OpenOrActivateForm(EAnalysisFormKind::Logical);
            QPointer<CAnalyzeLogicalWordForm> form = qobject_cast<CAnalyzeLogicalWordForm*>(sub->widget());
            ASSERT_NE(form, nullptr);
            OpenAndAnalyse(*form, ui, book);
            EXPECT_TRUE(form->IsAnalysisModified());
            const int opensBefore = OpenDialogsShown(ui);
            const size_t messagesBefore = ui.messages.size();

            const QString doc = dic.dir.file(u"attrs.ztsl"_qs);
            ui.buttons = {a.answer};
            if (a.giveSavePath)
                ui.paths.push_back(doc);
            bool proceeded = false;
            switch (way) {
            case Way::OpenFile:
                Click(form->OpenButton()); // the open dialog is then cancelled
                proceeded = OpenDialogsShown(ui) > opensBefore;
                break;
            case Way::CloseTab:
                proceeded = sub->close();
                break;
            case Way::ExitProgram:
                proceeded = frame.close();
                break;
            case Way::Request: // another program sends a new attribute list
                frame.HandleRequest(1, uR"({"termwise":[{"attributeName":"주문명"}]})"_qs);
                proceeded = form->TargetGroup()->title() == u"대상 목록 ( 0 / 1 )"_qs;
                break;
            }
            ASSERT_GT(ui.messages.size(), messagesBefore);
            EXPECT_TRUE(
                ui.messages[messagesBefore].startsWith(u"단어 분석 [논리]: 저장하지 않은 분석 결과가 있습니다"_qs))
                << ui.messages[messagesBefore].toStdString();
            EXPECT_EQ(proceeded, a.proceeds);
            EXPECT_EQ(QFile::exists(doc), a.saved);
            if (form && !proceeded) {
                // Nothing was lost: the result is still shown and still unsaved.
                EXPECT_EQ(form->Mode(), 2);
                EXPECT_TRUE(form->IsAnalysisModified());
            }
            if (form && a.saved && way != Way::Request) { // a request's result is new, unsaved work
                EXPECT_FALSE(form->IsAnalysisModified());
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    CMainFrame::ClearRegistrations();
}

// A file that cannot be read leaves the form as it was, path box included; a broken document
// is a Korean warning naming the file, with the parser's detail kept.
TEST(FormKeepWork, FailedOpenKeepsPathAndGrid)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    UiScript ui;
    const QString book = dic.dir.file(u"attrs.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    CAnalyzeLogicalWordForm form;
    form.resize(1000, 700);
    form.show();
    OpenAndAnalyse(form, ui, book);
    const QStringList shown = GridDump(form.Grid());

    const QString doc = dic.dir.file(u"saved.ztsl"_qs);
    ui.paths.push_back(doc);
    Click(form.SaveButton());
    EXPECT_EQ(ui.LastMessage(), u"저장이 완료되었습니다"_qs);
    EXPECT_FALSE(form.IsAnalysisModified());
    // the save proposed the input's name and folder with the document's suffix
    EXPECT_EQ(CQrFileDialog::LastProposedPath(), dic.dir.file(u"attrs.ztsl"_qs));

    const QString broken = dic.dir.file(u"broken.ztsl"_qs);
    const QString other = dic.dir.file(u"other.ztsl"_qs);
    const QString notBook = dic.dir.file(u"plain.xlsx"_qs);
    for (const auto& [path, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {broken, QByteArray("{\"logical_word_analyze\": [ {\"Attribute\": \"\xff\xfe")},
             {other, QByteArray("{\"physical_word_analyze\": []}")},
             {notBook, QByteArray("not a workbook")}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const struct
    {
        QString path;
        QMessageBox::Icon icon;
        QString message; // the start of it
    } cases[] = {
        {broken, QMessageBox::Warning, u"broken.ztsl 파일을 분석 문서로 읽을 수 없습니다."_qs},
        {other, QMessageBox::Information, u"not logical analyzed document file"_qs},
        {notBook, QMessageBox::Information, u"not vaild excel file"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ui.paths.push_back(c.path);
        Click(form.OpenButton());
        EXPECT_EQ(ui.icons.back(), c.icon);
        EXPECT_TRUE(ui.LastMessage().startsWith(c.message)) << ui.LastMessage().toStdString();
        EXPECT_EQ(form.PathEdit()->text(), book);
        EXPECT_EQ(form.Mode(), 2);
        EXPECT_EQ(GridDump(form.Grid()), shown);
    }
    // The parser's own words stay, on their own line.
    EXPECT_TRUE(ui.messages[ui.messages.size() - 3].contains(u"\n("_qs));

    // A good document takes the path box; its result is saved already.
    ui.paths.push_back(doc);
    Click(form.OpenButton());
    EXPECT_EQ(form.PathEdit()->text(), doc);
    EXPECT_FALSE(form.IsAnalysisModified());
}

// The source headers tell each column's role and, with the first row excluded, that row's
// caption; the hint and the missing-role message say how to designate; F5 analyses and the
// run leaves one line in the output pane.
TEST(FormKeepWork, RoleHeadersHintShortcutAndRunLine)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    UiScript ui;
    QStringList posted;
    OutputLog::SetSink([&posted](const QString& text) { posted.append(text); });
    const QString book = dic.dir.file(u"attrs.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    CAnalyzeLogicalWordForm form;
    form.resize(1000, 700);
    form.show();
    ui.paths.push_back(book);
    Click(form.OpenButton());
    CQrTreeGrid* grid = form.Grid();
    EXPECT_EQ(grid->GetColumnHeader(0), u"A"_qs);
    EXPECT_TRUE(form.DesignationHint()->isVisibleTo(&form));
    EXPECT_TRUE(form.DesignationHint()->text().contains(u"속성명"_qs));

    Click(form.AnalyzeButton());
    const QStringList lines = ui.LastMessage().split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], AnalysisTexts::kMissingRequired);
    EXPECT_TRUE(lines[1].contains(u"속성명"_qs) && lines[1].contains(u"오른쪽 버튼"_qs));

    ui.choices = {u"속성명 지정 (필수)"_qs, u"속성정의 지정"_qs};
    RightClickCell(grid, 1, 0);
    RightClickCell(grid, 1, 2);
    EXPECT_FALSE(form.DesignationHint()->isVisibleTo(&form));
    const struct
    {
        bool excludeFirst;
        QStringList headers;
    } cases[] = {
        {false, {u"A · 속성명"_qs, u"B"_qs, u"C · 속성정의"_qs}},
        {true, {u"A · 속성명\n속성명"_qs, u"B\n컬럼명"_qs, u"C · 속성정의\n속성정의"_qs}},
        {false, {u"A · 속성명"_qs, u"B"_qs, u"C · 속성정의"_qs}},
    };
    for (const auto& c : cases) {
        if (form.ExcludeFirstRowCheck()->isChecked() != c.excludeFirst)
            Click(form.ExcludeFirstRowCheck());
        QStringList headers;
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            headers << grid->GetColumnHeader(col);
        EXPECT_EQ(headers, c.headers);
    }
    // Moving the role to another column moves its caption too.
    ui.choices = {u"속성명 지정 (필수)"_qs};
    RightClickCell(grid, 1, 1);
    EXPECT_EQ(grid->GetColumnHeader(0), u"A"_qs);
    EXPECT_EQ(grid->GetColumnHeader(1), u"B · 속성명"_qs);

    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F5);
    EXPECT_EQ(form.Mode(), 2);
    ASSERT_EQ(posted.size(), 1);
    EXPECT_TRUE(posted[0].startsWith(u"단어 분석 [논리] 분석: 대상 4개, 분석 완료 "_qs)) << posted[0].toStdString();
    EXPECT_TRUE(posted[0].endsWith(u"초 (attrs.xlsx)"_qs)) << posted[0].toStdString();
    OutputLog::SetSink({});
}

// A new result starts at its top; toggling "분석 완료 제외" keeps what the user expanded
// and collapsed.
TEST(FormKeepWork, ResultStartsAtTopAndKeepsExpansion)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    dic.AddWord(u"NO"_qs, u"번호"_qs);
    UiScript ui;
    QVector<QStringList> sheet{{u"속성명"_qs}};
    for (int i = 0; i < 60; ++i)
        sheet.append({(i % 2 ? u"고객번호"_qs : u"주문번호"_qs) + QString::number(i) + u"x"_qs});
    const QString book = dic.dir.file(u"many.xlsx"_qs);
    WriteWorkbook(book, sheet);
    CAnalyzeLogicalWordForm form;
    form.resize(900, 500);
    form.show();
    OpenAndAnalyse(form, ui, book);
    CQrTreeGrid* grid = form.Grid();
    // scrolled down and analysed again: the new result starts at its top
    grid->SetFocusCell(grid->GetRowCount() - 1, 0);
    grid->scrollToBottom();
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    Click(form.AnalyzeButton());
    QApplication::processEvents();
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
    EXPECT_EQ(grid->GetCurrentRow(), 0);

    // collapse the first target, leave the others open, then filter the analysed ones out
    std::vector<int> targets;
    for (int row = 0; row < grid->GetRowCount(); ++row)
        if (grid->GetTreeLevel(row) == 1)
            targets.push_back(row);
    ASSERT_GE(targets.size(), 2u);
    grid->ExpandRow(targets[0], false);
    Click(form.ExcludeAnalyzedCheck());
    Click(form.ExcludeAnalyzedCheck());
    EXPECT_FALSE(grid->isExpanded(grid->Model()->IndexOf(targets[0], 0)));
    EXPECT_TRUE(grid->isExpanded(grid->Model()->IndexOf(targets[1], 0)));
}

// Find in the result (Ctrl+F, Enter and F3): names, column names and words, ignoring case,
// unfolding a folded target, wrapping around and saying so.
TEST(FormKeepWork, FindWalksTheResultAndWraps)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    dic.AddWord(u"NO"_qs, u"번호"_qs);
    dic.AddWord(u"NM"_qs, u"명"_qs);
    UiScript ui;
    const QString book = dic.dir.file(u"find.xlsx"_qs);
    WriteWorkbook(book, kSheet);
    CAnalyzeLogicalWordForm form;
    form.resize(900, 500);
    form.show();
    OpenAndAnalyse(form, ui, book);
    CQrTreeGrid* grid = form.Grid();
    // a header too wide for its column shows whole in its tooltip
    EXPECT_EQ(grid->Model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), grid->GetColumnHeader(2));
    grid->collapseAll();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    grid->setFocus();

    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form.FindEdit()->isVisible());
    EXPECT_TRUE(form.FindEdit()->hasFocus());
    // CUST is in two column names and the physical name of 고객 in two targets: every press
    // lands on another of them, until the walk comes round to the first and says so
    form.FindEdit()->setText(u"cust"_qs);
    QTest::keyClick(form.FindEdit(), Qt::Key_Return);
    const auto at = [grid] { return std::make_pair(grid->GetCurrentRow(), grid->GetCurrentColumn()); };
    const auto first = at();
    std::set<std::pair<int, int>> seen{first};
    int presses = 1;
    for (; presses < 20; ++presses) {
        EXPECT_TRUE(grid->Model()->IndexOf(at().first, 0).isValid()) << "a match under a folded target shows";
        EXPECT_TRUE(grid->GetItemText(at().first, at().second).contains(u"CUST"_qs)) << presses;
        QTest::keyClick(form.FindEdit(), Qt::Key_Return);
        if (at() == first)
            break;
        EXPECT_TRUE(seen.insert(at()).second) << "no match twice before the wrap";
        EXPECT_TRUE(form.FindStatus()->text().isEmpty());
    }
    EXPECT_GE(presses, 4);
    EXPECT_EQ(at(), first);
    EXPECT_EQ(form.FindStatus()->text(), u"처음부터 다시 찾았습니다"_qs);

    const int here = grid->GetCurrentRow();
    form.FindEdit()->setText(u"없는말"_qs);
    EXPECT_FALSE(form.FindNext());
    EXPECT_EQ(form.FindStatus()->text(), u"찾는 내용이 없습니다"_qs);
    EXPECT_EQ(grid->GetCurrentRow(), here);

    // F3 from the grid goes on with the text; Shift+F3 goes back
    form.FindEdit()->setText(u"명"_qs);
    grid->SetFocusCell(0, 0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F3);
    const int next = grid->GetCurrentRow();
    const int nextCol = grid->GetCurrentColumn();
    EXPECT_TRUE(grid->GetItemText(next, nextCol).contains(u"명"_qs));
    QTest::keyClick(grid, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(grid->GetCurrentRow() != next || grid->GetCurrentColumn() != nextCol)
        << "back, around to the last match";
    EXPECT_TRUE(grid->GetItemText(grid->GetCurrentRow(), grid->GetCurrentColumn()).contains(u"명"_qs));
    form.FindEdit()->setFocus();
    QTest::keyClick(form.FindEdit(), Qt::Key_Escape);
    EXPECT_FALSE(form.FindEdit()->isVisible());
}

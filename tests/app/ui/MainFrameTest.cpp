#include "app/ui/MainFrame.h"
#include "ShellTestEnv.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppTexts.h"
#include "app/ui/OutputWnd.h"
#include "app/ui/RibbonBar.h"
#include "app/ui/Translations.h"
#include "app/ui/VisualStyle.h"
#include "components/OutputLog.h"
#include "components/QrDatabaseManager.h"
#include "components/ui/QrMessageBox.h"
#include "repository/RepositoryConnection.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class TestForm : public QWidget, public IAnalysisRequestTarget
{
public:
    explicit TestForm(EAnalysisFormKind kind) : m_kind(kind) { setWindowTitle(QStringLiteral("test form")); }
    EAnalysisFormKind FormKind() const override { return m_kind; }
    void ApplyRequest(const QString& json) override { requests << json; }
    QStringList requests;

private:
    EAnalysisFormKind m_kind;
};

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAnalysisEngineForTests();
        CMainFrame::ClearRegistrations();
        CQrMessageBox::SetHook([this](QMessageBox::Icon, const QString& text) {
            messages << text;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override
    {
        CQrMessageBox::SetHook({});
        CMainFrame::ClearRegistrations();
        CQrProgressWnd::SetBackend(nullptr);
    }
    // A frame whose progress window records the marquee.
    std::unique_ptr<CMainFrame> MakeFrame()
    {
        auto frame = std::make_unique<CMainFrame>();
        auto progress = std::make_unique<RecordingProgress>();
        m_progress = progress.get();
        CQrProgressWnd::SetBackend(std::move(progress));
        return frame;
    }
    TempDataDir m_data;
    QStringList messages;
    RecordingProgress* m_progress = nullptr;
};

} // namespace

TEST_F(ShellTest, FormCommandTwiceOpensOneForm)
{
    auto frame = MakeFrame();
    frame->show();
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    QMdiSubWindow* first = frame->FormWindow(EAnalysisFormKind::Logical);
    ASSERT_NE(first, nullptr);
    // not built yet: the child says so plainly
    auto* label = first->widget()->findChild<QLabel*>(QStringLiteral("PlaceholderText"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().contains(AppText::FormNotBuilt));

    ASSERT_TRUE(frame->RunCommand(AppCmd::PhysicalWordForm));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
    first->showMinimized();
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(frame->FormWindow(EAnalysisFormKind::Logical), first);
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), first);
    EXPECT_FALSE(first->isMinimized());

    // closed forms open anew
    first->close();
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    QMdiSubWindow* second = frame->FormWindow(EAnalysisFormKind::Logical);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
}

TEST_F(ShellTest, RegisteredFactoriesBuildTheForms)
{
    int built = 0;
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Domain, [&built] {
        ++built;
        return new TestForm(EAnalysisFormKind::Domain);
    });
    auto frame = MakeFrame();
    frame->RunCommand(AppCmd::DomainForm);
    frame->RunCommand(AppCmd::DomainForm);
    EXPECT_EQ(built, 1);
    EXPECT_NE(dynamic_cast<TestForm*>(frame->ActiveForm()), nullptr);
    EXPECT_EQ(frame->ActiveForm()->windowTitle(), QStringLiteral("test form"));
}

TEST_F(ShellTest, EngineStartsOnceAndOnlyForCommandsThatNeedIt)
{
    auto frame = MakeFrame();
    // the repository-side and sibling-program commands never start it
    // the dictionary tool is not installed beside this program: its command is grey and says why
    EXPECT_FALSE(frame->RunCommand(AppCmd::Lexicor));
    EXPECT_TRUE(CRibbonBar::ToolTipFor(frame->CommandAction(AppCmd::Lexicor)).contains(QStringLiteral("ZtLexicor")));
    frame->LaunchDictionaryTool();
    EXPECT_EQ(m_progress->marquees, 0);
    EXPECT_FALSE(IsAnalysisEngineInitialized());
    EXPECT_TRUE(messages.contains(AppText::ExecutableNotFound));

    frame->RunCommand(AppCmd::LogicalWordForm);
    EXPECT_EQ(m_progress->marquees, 1);
    EXPECT_EQ(m_progress->lastTitle, QStringLiteral("Termwise Initialize"));
    EXPECT_EQ(m_progress->lastText, QStringLiteral("Initialize dictionary engine"));
    EXPECT_TRUE(IsAnalysisEngineInitialized());
    frame->RunCommand(AppCmd::PhysicalWordForm);
    frame->RunCommand(AppCmd::WordManage);
    frame->HandleRequest(2, QStringLiteral("{}"));
    EXPECT_EQ(m_progress->marquees, 1);
}

TEST_F(ShellTest, RequestsReachTheFormOfTheirKind)
{
    TestForm* logical = nullptr;
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [&logical] {
        logical = new TestForm(EAnalysisFormKind::Logical);
        return logical;
    });
    TestForm* term = nullptr;
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Term, [&term] {
        term = new TestForm(EAnalysisFormKind::Term);
        return term;
    });
    auto frame = MakeFrame();
    frame->HandleRequest(1, QStringLiteral("{\"a\":\"고객\"}"));
    ASSERT_NE(logical, nullptr);
    EXPECT_EQ(logical->requests, QStringList{QStringLiteral("{\"a\":\"고객\"}")});
    EXPECT_EQ(m_progress->marquees, 1);

    // the physical form is still a placeholder: the text is not lost silently
    frame->HandleRequest(0, QStringLiteral("{}"));
    const COutputList* out = frame->OutputWnd()->List();
    ASSERT_GT(out->count(), 0);
    EXPECT_TRUE(out->item(out->count() - 1)->text().endsWith(AppText::RequestNoForm));

    // without a repository the term request only says so
    frame->HandleRequest(3, QStringLiteral("{}"));
    EXPECT_EQ(term, nullptr);
    EXPECT_EQ(messages, QStringList{AppText::NoConnectionInfo});
    ASSERT_TRUE(CRepositoryConnection::Instance().Open(QStringLiteral("sqlite:") + m_data.file(QStringLiteral("ar.db")),
                                                       nullptr, true));
    frame->HandleRequest(3, QStringLiteral("{\"t\":1}"));
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    ASSERT_NE(term, nullptr);
    EXPECT_EQ(term->requests.size(), 1);

    // a handler registered for a code replaces the frame's own handling
    frame->HandleRequest(4, QStringLiteral("{not json"));
    QString seen;
    CMainFrame::RegisterRequestHandler(4, [&seen](CMainFrame&, const QString& text) { seen = text; });
    frame->HandleRequest(4, QStringLiteral("{\"ArConnectionInfo\":{}}"));
    EXPECT_EQ(seen, QStringLiteral("{\"ArConnectionInfo\":{}}"));
    frame->HandleRequest(17, QStringLiteral("x")); // unknown codes are ignored
}

TEST_F(ShellTest, CommandsFollowTheRepositoryState)
{
    // a live repository under the frame's view of it
    CRepositoryConnection& repository = CRepositoryConnection::Instance();
    QString error;
    ASSERT_TRUE(repository.Open(QStringLiteral("sqlite:") + m_data.file(QStringLiteral("r.db")), &error, true))
        << error.toStdString();
    auto frame = MakeFrame();
    const int repositoryCommands[] = {AppCmd::TermForm,   AppCmd::RegisterWord,    AppCmd::RegisterDomain,
                                      AppCmd::UnusedWord, AppCmd::UnusedClassWord, AppCmd::UnusedDomain};
    const int alwaysCommands[] = {AppCmd::RepositoryConnect, AppCmd::PhysicalWordForm, AppCmd::LogicalWordForm,
                                  AppCmd::WordManage,        AppCmd::WordSynonym,      AppCmd::WordDistance,
                                  AppCmd::DomainForm,        AppCmd::DomainManage,     AppCmd::DomainClass,
                                  AppCmd::Settings,          AppCmd::ChatGptExtract};
    struct State
    {
        bool connected;
        int dbType;
        bool shared;
        bool unusedTerm;
        bool sharedManage;
        const char* caption;
    };
    const State states[] = {
        {false, 11, true, false, false, "A/R 연결"},  {true, 13, false, false, false, "A/R 연결해제"},
        {true, 1, true, true, true, "A/R 연결해제"},  {true, 10, false, true, false, "A/R 연결해제"},
        {true, 11, true, true, true, "A/R 연결해제"},
    };
    for (const State& s : states) {
        SCOPED_TRACE(::testing::Message() << s.connected << " type " << s.dbType << " shared " << s.shared);
        frame->SetRepositoryDbType(s.dbType);
        frame->SetSharedDataAvailable(s.shared);
        frame->SetRepositoryConnected(s.connected);
        for (int id : repositoryCommands)
            EXPECT_EQ(frame->CommandAction(id)->isEnabled(), s.connected) << id;
        for (int id : alwaysCommands)
            EXPECT_TRUE(frame->CommandAction(id)->isEnabled()) << id;
        EXPECT_EQ(frame->CommandAction(AppCmd::UnusedTerm)->isEnabled(), s.unusedTerm);
        EXPECT_EQ(frame->CommandAction(AppCmd::SharedManage)->isEnabled(), s.sharedManage);
        EXPECT_EQ(frame->CommandAction(AppCmd::RepositoryConnect)->text(), QString::fromUtf8(s.caption));
    }
    frame->SetRepositoryConnected(false);
    EXPECT_FALSE(frame->RunCommand(AppCmd::TermForm)); // a disabled command does nothing
    EXPECT_EQ(frame->FormWindow(EAnalysisFormKind::Term), nullptr);

    // A connection that went away since the last status update: the command finds it.
    frame->SetRepositoryDbType(13);
    frame->SetRepositoryConnected(true);
    ASSERT_TRUE(frame->CommandAction(AppCmd::TermForm)->isEnabled());
    CQrDatabaseManager::GetInstance().Database(QStringLiteral("AR")).close();
    EXPECT_FALSE(frame->RunCommand(AppCmd::TermForm));
    EXPECT_FALSE(frame->CommandAction(AppCmd::TermForm)->isEnabled());
    EXPECT_EQ(frame->FormWindow(EAnalysisFormKind::Term), nullptr);
    repository.OnRepositoryDisconnected();

    // A statement that fails because the session is gone disables them at once.
    ASSERT_TRUE(repository.Open(QStringLiteral("sqlite:") + m_data.file(QStringLiteral("r.db")), &error));
    repository.OnRepositoryConnected();
    frame->UpdateRepositoryStatus();
    ASSERT_TRUE(frame->CommandAction(AppCmd::UnusedWord)->isEnabled());
    CQrDatabaseManager::GetInstance().Database(QStringLiteral("AR")).close();
    EXPECT_FALSE(repository.Database()->Execute(QStringLiteral("SELECT 1"), {}).ok);
    EXPECT_TRUE(repository.IsLost());
    EXPECT_FALSE(frame->CommandAction(AppCmd::UnusedWord)->isEnabled());
    EXPECT_EQ(frame->CommandAction(AppCmd::RepositoryConnect)->text(), AppText::ArReconnect);
    EXPECT_TRUE(
        CRibbonBar::ToolTipFor(frame->CommandAction(AppCmd::UnusedWord)).contains(QStringLiteral("끊어졌습니다")));
    repository.OnRepositoryDisconnected();
}

TEST_F(ShellTest, RibbonHoldsEveryButtonInOrder)
{
    auto frame = MakeFrame();
    CRibbonBar* ribbon = frame->Ribbon();
    EXPECT_EQ(ribbon->Categories(), QStringList{QStringLiteral("홈")});
    EXPECT_EQ(ribbon->ApplicationButton()->text(), QStringLiteral("메인"));
    QStringList menu;
    for (QAction* a : frame->ApplicationMenu()->actions()) {
        if (!a->isSeparator())
            menu << a->text();
    }
    EXPECT_EQ(menu, (QStringList{QStringLiteral("공통표준 가져오기…"), QStringLiteral("스타일"),
                                 QStringLiteral("출력 창"), QStringLiteral("정보"), QStringLiteral("끝내기")}));

    const std::vector<std::pair<QString, QStringList>> expected = {
        {QStringLiteral("데이터"), {"A/R 연결", "공유 관리"}},
        {QStringLiteral("단어"), {"단어 분석 [물리]", "단어 분석 [논리]", "단어 관리", "동의어 검토", "유사도 검토"}},
        {QStringLiteral("도메인"), {"도메인 분석", "도메인 관리", "도메인 검토"}},
        {QStringLiteral("용어"), {"용어 분석"}},
        {QStringLiteral("표준"),
         {"렉시코", "단어 등록", "도메인 등록", "미사용 단어", "미사용 분류어", "미사용 도메인", "미사용 용어",
          "논리명 추출"}},
        {QStringLiteral("설정"), {"설정"}},
    };
    const QList<CRibbonPanel*> panels = ribbon->Panels(0);
    ASSERT_EQ(panels.size(), int(expected.size()));
    for (int i = 0; i < panels.size(); ++i) {
        EXPECT_EQ(panels[i]->Caption(), expected[size_t(i)].first);
        QStringList captions;
        for (QToolButton* b : panels[i]->Buttons()) {
            captions << b->defaultAction()->text();
            EXPECT_FALSE(b->icon().isNull()) << b->defaultAction()->text().toStdString();
        }
        EXPECT_EQ(captions, expected[size_t(i)].second);
    }
    // the chat extraction command sits on a button of the standards panel
    EXPECT_EQ(panels[4]->Buttons().last()->defaultAction()->data().toInt(), AppCmd::ChatGptExtract);
    EXPECT_EQ(frame->objectName(), QStringLiteral("CQuarroNormlane5MainFrame"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Termwise"));

    // captions split over two lines near the middle
    EXPECT_EQ(CRibbonBar::TwoLineCaption(QStringLiteral("단어 분석 [물리]")), QStringLiteral("단어 분석\n[물리]"));
    EXPECT_EQ(CRibbonBar::TwoLineCaption(QStringLiteral("미사용 분류어")), QStringLiteral("미사용\n분류어"));
    EXPECT_EQ(CRibbonBar::TwoLineCaption(QStringLiteral("설정")), QStringLiteral("설정\n"));
}

TEST_F(ShellTest, ElevenThemeFilesGiveTenLooks)
{
    QTemporaryDir dir;
    for (int i = 0; i < 11; ++i) {
        QString name;
        if (i == 3)
            name = QString(); // no NAME: "THEME"
        else if (i == 4)
            name = QString(50, u'가'); // cut to 40
        else if (i == 5)
            name = QStringLiteral("Blue, Dark"); // a comma is part of the name
        else
            name = QStringLiteral("테마 %1").arg(i);
        QString text = QStringLiteral("[THEME]\n");
        if (!name.isEmpty())
            text += QStringLiteral("NAME=") + name + u'\n';
        text += QStringLiteral("Window=#%1\n").arg(0x102030 + i, 6, 16, QLatin1Char('0'));
        WriteTextFile(dir.filePath(QStringLiteral("t%1.ini").arg(i, 2, 10, QLatin1Char('0'))), text);
    }
    WriteTextFile(dir.filePath(QStringLiteral("readme.txt")), QStringLiteral("not a theme"));

    const std::vector<ThemeEntry> themes = CVisualStyle::ScanThemes(dir.path());
    ASSERT_EQ(themes.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(themes[size_t(i)].id, 220 + i);
        EXPECT_TRUE(themes[size_t(i)].path.endsWith(QStringLiteral("t%1.ini").arg(i, 2, 10, QLatin1Char('0'))));
    }
    EXPECT_EQ(themes[0].name, QStringLiteral("테마 0"));
    EXPECT_EQ(themes[3].name, QStringLiteral("THEME"));
    EXPECT_EQ(themes[4].name, QString(40, u'가'));
    EXPECT_EQ(themes[5].name, QStringLiteral("Blue, Dark"));
    EXPECT_TRUE(CVisualStyle::ScanThemes(dir.filePath(QStringLiteral("missing"))).empty());

    CVisualStyle::SaveLook(220);
    auto frame = MakeFrame();
    frame->ReloadThemes(dir.path());
    frame->ApplyLook(CVisualStyle::SavedLook());
    const QList<QAction*> looks = frame->StyleMenu()->actions();
    ASSERT_EQ(looks.size(), 11);
    EXPECT_EQ(looks[0]->text(), QStringLiteral("Windows 7"));
    EXPECT_EQ(looks[0]->data().toInt(), 219);
    EXPECT_EQ(looks[10]->data().toInt(), 229);
    EXPECT_TRUE(looks[1]->isChecked()); // 220: the first theme file
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));

    looks[2]->trigger();
    EXPECT_EQ(CVisualStyle::SavedLook(), 221);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x10, 0x20, 0x31));
    looks[0]->trigger();
    EXPECT_EQ(CVisualStyle::SavedLook(), 219);
    EXPECT_TRUE(looks[0]->isChecked());
    EXPECT_FALSE(looks[2]->isChecked());

    // no theme folder: only "Windows 7"
    frame->ReloadThemes(dir.filePath(QStringLiteral("missing")));
    EXPECT_EQ(frame->StyleMenu()->actions().size(), 1);
}

TEST_F(ShellTest, OutputPaneCopiesWhatItShows)
{
    auto frame = MakeFrame();
    COutputList* list = frame->OutputWnd()->List();
    EXPECT_EQ(frame->OutputWnd()->windowTitle(), QStringLiteral("출력"));
    EXPECT_EQ(frame->OutputWnd()->Tabs()->tabText(0), QStringLiteral("메세지"));

    QApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_FALSE(list->CopyAll());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));

    OutputLog::Post(QStringLiteral("첫째"));
    OutputLog::Post(QStringLiteral("둘째"));
    ASSERT_EQ(list->count(), 2);
    const QRegularExpression prefix(QStringLiteral(R"(^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] 첫째$)"));
    EXPECT_TRUE(prefix.match(list->item(0)->text()).hasMatch()) << list->item(0)->text().toStdString();
    EXPECT_TRUE(list->CopyAll());
    EXPECT_EQ(QApplication::clipboard()->text(),
              list->item(0)->text() + QStringLiteral("\r\n") + list->item(1)->text() + QStringLiteral("\r\n"));
    list->ClearAll();
    EXPECT_EQ(list->count(), 0);

    EXPECT_EQ(CMainFrame::Instance(), frame.get());
    frame.reset();
    EXPECT_EQ(CMainFrame::Instance(), nullptr);
    OutputLog::Post(QStringLiteral("after the window")); // goes to stderr, not to a dead pane
}

TEST_F(ShellTest, RequestsWaitWhileAnOperationIsRunning)
{
    TestForm* logical = nullptr;
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [&logical] {
        logical = new TestForm(EAnalysisFormKind::Logical);
        return logical;
    });
    auto frame = MakeFrame();
    InitializeAnalysisEngine(frame.get());

    // a long loop pumps events under its progress window: the request must not reach the form
    // in the middle of it, and must not be lost either
    CQrProgressWnd::Show(10, QStringLiteral("Termwise Process"), QStringLiteral("..."), frame.get());
    frame->HandleRequest(1, QStringLiteral("first"));
    frame->HandleRequest(1, QStringLiteral("second"));
    QTest::qWait(250);
    EXPECT_EQ(logical, nullptr);
    EXPECT_EQ(frame->PendingRequestCount(), 2);
    CQrProgressWnd::Hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->PendingRequestCount() == 0; }, 2000));
    ASSERT_NE(logical, nullptr);
    EXPECT_EQ(logical->requests, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));

    // the same while a modal dialog is open
    QDialog modal(frame.get());
    modal.setModal(true);
    modal.show();
    frame->HandleRequest(1, QStringLiteral("third"));
    QTest::qWait(250);
    EXPECT_EQ(logical->requests.size(), 2);
    modal.hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return logical->requests.size() == 3; }, 2000));
    EXPECT_EQ(logical->requests.last(), QStringLiteral("third"));
}

TEST_F(ShellTest, IdleStatusTextComesBack)
{
    auto frame = MakeFrame();
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("준비"));
    // what a menu item without a status tip sends when the mouse passes over it
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(frame.get(), &tip);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("준비"));
    frame->statusBar()->showMessage(QStringLiteral("x"), 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->statusBar()->currentMessage() != QStringLiteral("x"); }, 2000));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("준비"));
}

TEST_F(ShellTest, DisabledCommandsLookDisabledOnLightAndDarkLooks)
{
    struct Case
    {
        const char* what;
        ThemeColors colors;
    };
    ThemeColors dark;
    ASSERT_TRUE(
        CVisualStyle::ReadTheme(TestDataPath(QStringLiteral("../../resources/themes/02_TermwiseGraphite.ini")), dark));
    ThemeColors blue;
    ASSERT_TRUE(
        CVisualStyle::ReadTheme(TestDataPath(QStringLiteral("../../resources/themes/01_TermwiseBlue.ini")), blue));
    const Case cases[] = {{"dark theme", dark},
                          {"light theme", blue},
                          {"Windows 7", CVisualStyle::BuiltInColors(219)},
                          {"Office black", CVisualStyle::BuiltInColors(216)}};
    // greyed text must sit closer to its background than the normal text does
    auto fainter = [](const QColor& disabled, const QColor& text, const QColor& bg) {
        return std::abs(disabled.lightness() - bg.lightness()) < std::abs(text.lightness() - bg.lightness());
    };
    const QRegularExpression disabledRule(QStringLiteral("QToolButton:disabled \\{ color: (#[0-9a-f]{6}); \\}"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRegularExpressionMatch m = disabledRule.match(CVisualStyle::RibbonStyleSheet(c.colors));
        ASSERT_TRUE(m.hasMatch());
        EXPECT_TRUE(fainter(QColor::fromString(m.captured(1)), c.colors.ribbonText, c.colors.ribbonPanel));
        CVisualStyle::ApplyToApplication(c.colors);
        const QPalette p = QApplication::palette();
        EXPECT_TRUE(fainter(p.color(QPalette::Disabled, QPalette::ButtonText), c.colors.buttonText, c.colors.button));
        EXPECT_TRUE(fainter(p.color(QPalette::Disabled, QPalette::Text), c.colors.text, c.colors.base));
    }
}

// A dialog made for a large screen opens within a small one, whole.
TEST_F(ShellTest, DialogsOpenWithinTheScreen)
{
    auto frame = MakeFrame();
    QDialog big(frame.get());
    auto* layout = new QVBoxLayout(&big);
    layout->addWidget(new QLabel(QStringLiteral("내용"), &big));
    big.resize(5000, 4000);
    big.move(-300, 2500);
    big.show();
    const QRect free = big.screen()->availableGeometry();
    EXPECT_LE(big.width(), free.width());
    EXPECT_LE(big.height(), free.height());
    EXPECT_TRUE(free.contains(big.frameGeometry().topLeft()))
        << big.frameGeometry().x() << "," << big.frameGeometry().y();
}

// The keyboard reaches the ribbon's buttons, and the one it is on shows it.
TEST_F(ShellTest, RibbonShowsKeyboardFocus)
{
    auto frame = MakeFrame();
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(1200, 700);
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QToolButton* focused = nullptr;
    for (int i = 0; i < 40 && !focused; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame.get(), Qt::Key_Tab);
        auto* button = qobject_cast<QToolButton*>(QApplication::focusWidget());
        if (button && qobject_cast<CRibbonPanel*>(button->parentWidget()) == nullptr) {
            for (CRibbonPanel* panel : frame->Ribbon()->Panels(0))
                if (panel->isAncestorOf(button) && button->defaultAction())
                    focused = button;
        }
    }
    ASSERT_NE(focused, nullptr) << "Tab reaches a command button of the ribbon";
    const QImage withFocus = focused->grab().toImage().convertToFormat(QImage::Format_RGB32);
    frame->MdiArea()->setFocus();
    QApplication::processEvents();
    const QImage without = focused->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(withFocus.size(), without.size());
    // a mark that stands out, not a shade lighter: strongly different pixels all round
    int strong = 0;
    for (int y = 0; y < without.height(); ++y)
        for (int x = 0; x < without.width(); ++x) {
            const QColor a = withFocus.pixelColor(x, y);
            const QColor b = without.pixelColor(x, y);
            strong +=
                std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) > 150;
        }
    EXPECT_GT(strong, without.width() + without.height()) << "the focused button shows it plainly";
}

// At 900 by 600 the ribbon's panels give way (small icons, then drop-downs) instead of
// overlapping; every command can still be reached, and each button says what it does and,
// while disabled, why.
TEST_F(ShellTest, NarrowRibbonKeepsButtonsApartWithTooltips)
{
    auto frame = MakeFrame();
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(900, 600);
    frame->show();
    QApplication::processEvents();
    CRibbonBar* ribbon = frame->Ribbon();
    ASSERT_LE(ribbon->width(), 900);
    QList<QAction*> reachable;
    QList<QRect> rects;
    bool anyGaveWay = false;
    for (CRibbonPanel* panel : ribbon->Panels(0)) {
        anyGaveWay = anyGaveWay || panel->Mode() != CRibbonPanel::EMode::Large;
        if (panel->Mode() == CRibbonPanel::EMode::Collapsed)
            reachable << panel->DropDownButton()->menu()->actions();
        for (QToolButton* b : panel->VisibleButtons()) {
            ASSERT_TRUE(b->isVisibleTo(ribbon));
            const QRect r(b->mapTo(ribbon, QPoint(0, 0)), b->size());
            EXPECT_TRUE(ribbon->rect().contains(r)) << b->text().toStdString();
            // a caption cut short would need more room than the button has
            EXPECT_GE(r.width(), b->minimumSizeHint().width()) << b->text().toStdString();
            for (const QRect& other : rects)
                EXPECT_FALSE(r.intersects(other)) << b->text().toStdString();
            rects << r;
            if (b->defaultAction())
                reachable << b->defaultAction();
        }
    }
    EXPECT_TRUE(anyGaveWay);
    for (int id : {int(AppCmd::RegisterWord), int(AppCmd::UnusedTerm), int(AppCmd::Settings), int(AppCmd::DomainForm)})
        EXPECT_TRUE(reachable.contains(frame->CommandAction(id))) << id;

    // tooltips: what it does; the disabled reason only while disabled
    frame->SetRepositoryConnected(false);
    QAction* term = frame->CommandAction(AppCmd::TermForm);
    EXPECT_TRUE(CRibbonBar::ToolTipFor(term).contains(QStringLiteral("A/R 연결이 필요합니다")));
    EXPECT_EQ(ribbon->Panels(0)[3]->Buttons().first()->toolTip(), CRibbonBar::ToolTipFor(term));
    QString error;
    ASSERT_TRUE(CRepositoryConnection::Instance().Open(QStringLiteral("sqlite:") + m_data.file(QStringLiteral("t.db")),
                                                       &error, true))
        << error.toStdString();
    frame->SetRepositoryConnected(true);
    EXPECT_FALSE(ribbon->Panels(0)[3]->Buttons().first()->toolTip().contains(QStringLiteral("A/R")));
    EXPECT_FALSE(ribbon->Panels(0)[3]->Buttons().first()->toolTip().isEmpty());
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    // a reason set later (by the connection rules) shows at once
    frame->SetRepositoryConnected(false);
    CRibbonBar::SetDisabledReason(term, QStringLiteral("다른 이유"));
    EXPECT_TRUE(ribbon->Panels(0)[3]->Buttons().first()->toolTip().endsWith(QStringLiteral("다른 이유")));
    for (const auto& [panel, index] : std::vector<std::pair<int, int>>{{1, 0}, {5, 0}})
        EXPECT_FALSE(ribbon->Panels(0)[panel]->Buttons()[index]->toolTip().isEmpty());

    // wide again: every panel shows its large buttons
    frame->resize(1600, 900);
    QApplication::processEvents();
    for (CRibbonPanel* panel : ribbon->Panels(0))
        EXPECT_EQ(panel->Mode(), CRibbonPanel::EMode::Large) << panel->Caption().toStdString();
}

// The output pane closed with its X comes back from the 메인 menu.
TEST_F(ShellTest, OutputPaneReopensFromMainMenu)
{
    auto frame = MakeFrame();
    frame->show();
    QAction* toggle = nullptr;
    for (QAction* a : frame->ApplicationMenu()->actions())
        if (a->text() == QStringLiteral("출력 창"))
            toggle = a;
    ASSERT_NE(toggle, nullptr);
    frame->OutputWnd()->close();
    EXPECT_FALSE(frame->OutputWnd()->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(frame->OutputWnd()->isVisible());
}

// Qt's own dialogs and buttons speak the program's Korean.
TEST(Translations, QtStandardButtonsInKorean)
{
    EXPECT_EQ(ProgramLocale().language(), QLocale::Korean);
    ASSERT_TRUE(InstallQtTranslations(ProgramLocale()));
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_TRUE(box.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("취소")))
        << box.button(QDialogButtonBox::Cancel)->text().toStdString();
    EXPECT_TRUE(box.button(QDialogButtonBox::Save)->text().contains(QStringLiteral("저장")))
        << box.button(QDialogButtonBox::Save)->text().toStdString();
}

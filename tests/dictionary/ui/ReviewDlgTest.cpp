// The three dictionary review dialogs as a user drives them.
#include "../../../bench/SimilarNames.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "components/QrProgressWnd.h"
#include "components/ui/ProgressDialogBackend.h"
#include "dictionary/DictionaryTexts.h"
#include "dictionary/ui/DomainClassDlg.h"
#include "dictionary/ui/ReviewDialogs.h"
#include "dictionary/ui/WordDistanceDlg.h"
#include "dictionary/ui/WordSynonymDlg.h"
#include "settings/AnalyzeSettings.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using View = CWordSynonymReview::View;

namespace {

QString S(const char16_t* text)
{
    return QString::fromUtf16(text);
}

_stAnalyzeManageWord Word(const QString& fullName, const QString& definition)
{
    _stAnalyzeManageWord word;
    word.strPhyFullName = fullName;
    word.strDescription = definition;
    return word;
}

// View 0 shows 고객번호 (CSTMR_NO, CUST_NO) and 주문번호 (ORDR_NO, ORD_NO); 주소 stays out.
void FillWords(CAnalyzeSettings& settings)
{
    settings.AddWord("CUST_NO", S(u"고객번호"), Word("CUSTOMER NUMBER", S(u"고객 식별 번호")));
    settings.AddWord("CSTMR_NO", S(u"고객번호"), Word("CUSTOMER NO", S(u"옛 이름")));
    settings.AddWord("ADDR", S(u"주소"), Word("ADDRESS", ""));
    settings.AddWord("ORD_NO", S(u"주문번호"), Word("ORDER NUMBER", ""));
    settings.AddWord("ORDR_NO", S(u"주문번호"), Word("ORDER NUMBER", ""));
}

QStringList Column(CQrTreeGrid* grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        texts << grid->GetItemText(r, col);
    return texts;
}

void SetCell(CQrTreeGrid* grid, int row, int col, const QString& text)
{
    if (!text.isEmpty()) {
        ASSERT_TRUE(TypeIntoCell(grid, row, col, text));
        return;
    }
    // clearing the cell, as deleting its text in the editor does
    grid->Model()->setData(grid->Model()->IndexOf(row, col), QString(), Qt::EditRole);
}

struct DialogFixture
{
    DialogFixture() { CAnalyzeSettings::DestroyInstance(); }
    ~DialogFixture()
    {
        CAnalyzeSettings::DestroyInstance();
        CQrProgressWnd::SetBackend(nullptr);
    }
    TempDataDir dir;
    UiScript ui;
};

} // namespace

TEST(WordSynonymDlg, ShowsGroupsMergedColouredAndEditableByView)
{
    DialogFixture f;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    FillWords(settings);
    CWordSynonymDlg dlg(settings);
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(dlg.windowTitle(), DictionaryTexts::SynonymCaption);
    EXPECT_EQ(Column(grid, 0), QStringList({S(u"고객번호"), S(u"고객번호"), S(u"주문번호"), S(u"주문번호")}));
    EXPECT_EQ(Column(grid, 2), QStringList({"CSTMR_NO", "CUST_NO", "ORDR_NO", "ORD_NO"}));
    EXPECT_EQ(grid->GetColumnWidth(1), 0);
    EXPECT_EQ(grid->Model()->RowMergeAt(1, 0), std::make_pair(0, 1));
    EXPECT_EQ(grid->Model()->RowMergeAt(2, 0), std::make_pair(2, 3));
    const QColor white = CQrTreeGrid::FromWinColor(0xFFFFFF), grey = CQrTreeGrid::FromWinColor(0xF7F7F7);
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(grid->GetItemBkColor(1, col), white) << col;
        EXPECT_EQ(grid->GetItemBkColor(2, col), grey) << col;
        EXPECT_EQ(grid->IsReadOnlyCell(0, col), col < 2) << col;
    }

    // Enter in the search box: column 0, failing that column 2, wrapping to the top
    dlg.SearchEdit()->setText("ord");
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    EXPECT_TRUE(f.ui.messages.empty()); // Enter searched, and pressed no button
}

TEST(WordSynonymDlg, SaveMergesRemovesAndUpdatesThroughTheGrid)
{
    struct Edit
    {
        int row, col;
        QString text;
    };
    struct Case
    {
        const char* what;
        std::vector<Edit> edits;
        QString physical; // the pair looked at afterwards under 고객번호
        bool present;
        QString definition;
        int wordsUnder고객번호;
    } cases[] = {
        {"rename to an existing name merges into one word", {{0, 2, "CUST_NO"}}, "CUST_NO", true, S(u"옛 이름"), 1},
        {"when both rows land on one pair the later row wins",
         {{0, 2, "CUST_NO"}, {1, 4, S(u"나중 정의")}},
         "CUST_NO",
         true,
         S(u"나중 정의"),
         1},
        {"clearing the name removes the word", {{0, 2, ""}}, "CSTMR_NO", false, "", 1},
        {"a definition change keeps the pair", {{1, 4, S(u"새 정의")}}, "CUST_NO", true, S(u"새 정의"), 2},
        {"a rename to a new name moves the word", {{0, 2, "CSTMR_NUM"}}, "CSTMR_NUM", true, S(u"옛 이름"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogFixture f;
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        FillWords(settings);
        CWordSynonymDlg dlg(settings);
        dlg.show();
        for (const Edit& e : c.edits)
            SetCell(dlg.Grid(), e.row, e.col, e.text);
        Click(dlg.SaveButton());
        EXPECT_EQ(f.ui.LastMessage(), DictionaryTexts::SynonymSaved);

        _stAnalyzeManageWord word;
        EXPECT_EQ(settings.GetWord(c.physical, S(u"고객번호"), word), c.present);
        if (c.present) {
            EXPECT_EQ(word.strDescription, c.definition);
        }
        EXPECT_EQ(settings.m_mapWordsByLogical[S(u"고객번호")].size(), size_t(c.wordsUnder고객번호));
        // the mirror index agrees, and the file on disk has what the grid shows after the refill
        EXPECT_EQ(settings.m_mapWordsByPhysical.count(c.physical) &&
                      settings.m_mapWordsByPhysical[c.physical].count(S(u"고객번호")),
                  c.present);
        CAnalyzeSettings reloaded;
        reloaded.LoadFrom(CAnalyzeSettings::SettingsPath());
        EXPECT_EQ(reloaded.m_mapWordsByLogical, settings.m_mapWordsByLogical);
        const bool grouped = c.wordsUnder고객번호 > 1;
        EXPECT_EQ(Column(dlg.Grid(), 0).contains(S(u"고객번호")), grouped);
    }
}

TEST(WordDistanceDlg, GroupsEqualTheEnginesInBothViewsAndCancelKeepsWhatWasFound)
{
    DialogFixture f;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    const QStringList logical = SimilarNames::LogicalNames(400, 7);
    const QStringList physical = SimilarNames::PhysicalNames(400, 11);
    for (int i = 0; i < 400; ++i)
        settings.AddWord(physical[i], logical[i], Word("", ""));

    CWordDistanceDlg dlg(settings);
    for (SimilarWords::View view : {SimilarWords::View::Logical, SimilarWords::View::Physical}) {
        SCOPED_TRACE(int(view));
        dlg.SetView(view);
        if (view == SimilarWords::View::Logical)
            dlg.RunView(); // the dialog is not shown: nothing ran the first view yet
        EXPECT_TRUE(dlg.LastRunComplete());
        CSimilarWordReview engine(view);
        engine.Run(settings.m_mapWordsByPhysical, settings.m_mapWordsByLogical, SimilarWords::Quiet(), 1);
        ASSERT_FALSE(engine.Groups().empty());
        CQrTreeGrid* grid = dlg.Grid();
        ASSERT_EQ(grid->GetRowCount(), int(engine.Rows().size()));
        for (int r = 0; r < grid->GetRowCount(); ++r) {
            const auto& row = engine.Rows()[size_t(r)];
            EXPECT_EQ(grid->GetTreeLevel(r), row.level);
            EXPECT_EQ(grid->GetItemText(r, 0), row.name);
            EXPECT_EQ(grid->GetItemText(r, 1), row.partners);
            EXPECT_TRUE(grid->IsReadOnlyCell(r, 1));
        }
        EXPECT_EQ(grid->GetColumnHeader(0), view == SimilarWords::View::Logical ? DictionaryTexts::HeaderLogicalName
                                                                                : DictionaryTexts::HeaderPhysicalName);
    }

    // search: column 0, failing that column 1
    const QString partner = dlg.Grid()->GetItemText(0, 1).section(", ", 0, 0);
    dlg.SearchEdit()->setText(partner.toLower());
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_GE(dlg.Grid()->GetCurrentRow(), 0);

    // cancel after 100 names: the groups of the names before stay
    auto progress = std::make_unique<CSilentProgress>();
    progress->m_cancelAfter = 100;
    CQrProgressWnd::SetBackend(std::move(progress));
    const size_t all = dlg.Review().Groups().size();
    EXPECT_FALSE(dlg.RunView());
    const auto& kept = dlg.Review().Groups();
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), all);
    const QStringList names = SimilarWords::CollectNames(SimilarWords::View::Physical, settings.m_mapWordsByPhysical,
                                                         settings.m_mapWordsByLogical);
    EXPECT_LT(names.indexOf(kept.back().name), 100);
}

TEST(WordDistanceDlg, StaysResponsiveOnTwentyThousandWords)
{
    DialogFixture f;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    const QStringList logical = SimilarNames::LogicalNames(20000, 3);
    const QStringList physical = SimilarNames::PhysicalNames(20000, 5);
    for (int i = 0; i < 20000; ++i)
        settings.AddWord(physical[i], logical[i], Word("", ""));
    auto backend = std::make_unique<CProgressDialogBackend>();
    CProgressDialogBackend* dialog = backend.get();
    CQrProgressWnd::SetBackend(std::move(backend));

    CWordDistanceDlg dlg(settings);
    dlg.show();
    // Behaviour only (how fast is bench/'s business): while the view runs, the event loop is
    // served again and again, and the progress window's cancel ends the run early.
    int ticks = 0, valueAtCancel = -1;
    QTimer ticker; // stands for repaints and clicks
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        if (valueAtCancel < 0 && dialog->Dialog() && dialog->Value() > 500) {
            EXPECT_EQ(dialog->Dialog()->parentWidget(), &dlg); // over the dialog, so it can be pressed
            valueAtCancel = dialog->Value();
            dialog->Dialog()->cancel();
        }
    });
    ticker.start(0);
    dlg.SetView(SimilarWords::View::Physical); // runs the view
    ticker.stop();
    ASSERT_GE(valueAtCancel, 0) << "the event loop was not served while the view ran";
    EXPECT_GT(ticks, 1);
    EXPECT_FALSE(dlg.LastRunComplete()) << "cancel did not stop the work";
    EXPECT_LT(valueAtCancel, 20000);
    EXPECT_EQ(dlg.Grid()->GetRowCount(), int(dlg.Review().Rows().size()));
}

TEST(DomainClassDlg, GroupsByEndingMergedAndSearchedOnEnter)
{
    DialogFixture f;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    auto domain = [&](const QString& key, const QString& name) {
        _stAnalyzeManageDomain d;
        d.strDataType = "VARCHAR";
        d.strLength = "20";
        settings.AddDomain(key, name, d);
    };
    domain(S(u"고객번호"), S(u"고객NO"));
    domain(S(u"고객번호"), S(u"고객번호V20"));
    domain(S(u"주문번호"), S(u"주문번호V20"));
    domain(S(u"일자"), S(u"일자D"));
    domain(S(u"시작일자"), S(u"시작일자D"));
    domain(S(u"명"), S(u"명V100"));

    CDomainClassDlg dlg(settings);
    CQrTreeGrid* grid = dlg.Grid();
    EXPECT_EQ(Column(grid, 0), QStringList({S(u"번호"), S(u"번호"), S(u"번호"), S(u"일자"), S(u"일자")}));
    EXPECT_EQ(Column(grid, 1),
              QStringList({S(u"고객번호"), S(u"고객번호"), S(u"주문번호"), S(u"시작일자"), S(u"일자")}));
    EXPECT_EQ(grid->Model()->RowMergeAt(1, 0), std::make_pair(0, 2));
    EXPECT_EQ(grid->Model()->RowMergeAt(4, 0), std::make_pair(3, 4));
    EXPECT_EQ(grid->GetItemBkColor(2, 3), CQrTreeGrid::FromWinColor(0xFFFFFF));
    EXPECT_EQ(grid->GetItemBkColor(3, 3), CQrTreeGrid::FromWinColor(0xF7F7F7));
    EXPECT_TRUE(grid->IsReadOnlyCell(0, 2));

    dlg.SearchEdit()->setText("no");
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);
    dlg.SearchEdit()->setText(S(u"일자"));
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCurrentRow(), 4);
    QTest::keyClick(dlg.SearchEdit(), Qt::Key_Return); // wraps to the top
    EXPECT_EQ(grid->GetCurrentRow(), 3);

    // "도메인 관리" opens domain management; the list is not rebuilt afterwards
    domain(S(u"종료일자"), S(u"종료일자D"));
    const char* opened = "";
    WhenModal([&](QWidget* modal) { opened = modal ? modal->metaObject()->className() : ""; });
    Click(dlg.ManageButton());
    EXPECT_STREQ(opened, "CDomainManageDlg");
    EXPECT_EQ(grid->GetRowCount(), 5);
}

TEST(ReviewDialogs, RibbonCommandsOpenThem)
{
    DialogFixture f;
    CMainFrame::ClearRegistrations();
    RegisterReviewDialogs();
    CMainFrame frame;
    InitializeAnalysisEngine(&frame); // its progress window would take the modal check below
    const std::pair<int, QString> commands[] = {{AppCmd::WordSynonym, DictionaryTexts::SynonymCaption},
                                                {AppCmd::WordDistance, DictionaryTexts::SimilarCaption},
                                                {AppCmd::DomainClass, DictionaryTexts::DomainClassCaption}};
    for (const auto& [command, caption] : commands) {
        QString opened;
        WhenModal([&opened](QWidget* modal) { opened = modal ? modal->windowTitle() : QString(); });
        EXPECT_TRUE(frame.RunCommand(command));
        EXPECT_EQ(opened, caption);
    }
    CMainFrame::ClearRegistrations();
}

// Pictures for the documentation; only when TERMWISE_SCREENSHOTS names the folder.
TEST(Screenshots, ReviewDialogs)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    DialogFixture f;
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    settings.LoadFrom(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"));
    FillWords(settings);
    for (const auto& [physical, logical] : std::vector<std::pair<QString, QString>>{{"CUST_NM", S(u"고객명")},
                                                                                    {"CUST_NM", S(u"고객이름")},
                                                                                    {"CSTMR_NM", S(u"고객명")},
                                                                                    {"ORD_DT", S(u"주문일자")},
                                                                                    {"ORDR_DT", S(u"주문일자")},
                                                                                    {"ORD_DATE", S(u"주문일자")}})
        settings.AddWord(physical, logical, Word(physical.startsWith("C") ? "CUSTOMER NAME" : "ORDER DATE", ""));
    for (const QString& key : {S(u"고객번호"), S(u"주문번호"), S(u"시작일자"), S(u"종료일자")}) {
        _stAnalyzeManageDomain d;
        d.strDataType = key.endsWith(S(u"일자")) ? "DATE" : "VARCHAR";
        d.strLength = d.strDataType == "DATE" ? "" : "20";
        settings.AddDomain(key, key + d.strDataType.left(1) + d.strLength, d);
    }
    auto save = [&](QWidget* w, const char* name) {
        w->resize(900, 560);
        w->show();
        QApplication::processEvents();
        ASSERT_TRUE(w->grab().save(QDir(folder).filePath(name)));
    };
    {
        CWordSynonymDlg dlg(settings);
        dlg.Grid()->SetFocusCell(3, 2);
        save(&dlg, "synonyms.png");
    }
    {
        CWordDistanceDlg dlg(settings);
        dlg.RunView();
        save(&dlg, "similar-words.png");
    }
    {
        CDomainClassDlg dlg(settings);
        save(&dlg, "class-words.png");
    }
}

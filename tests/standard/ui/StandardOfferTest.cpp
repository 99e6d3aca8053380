// The built-in common standard in the window: the once-only offer on an empty dictionary with
// its three answers, and "공통표준 가져오기…" from the main menu into the local dictionary.
#include "standard/ui/StandardOffer.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppParts.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "standard/StandardTexts.h"
#include "standard/ui/StandardImportDlg.h"
#include "standard/ui/StandardImportResultDlg.h"
#include "standard/ui/StandardImportTexts.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

using namespace StandardImportText;

// A private settings store: the kept answer must not come from, or go to, a real one.
struct PrivateSettings
{
    QTemporaryDir config;
    PrivateSettings()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    }
};
const PrivateSettings& g_settings = *new PrivateSettings;

// The watches of one test; those never met end with it.
QObject* g_watches = nullptr;

// Runs fn once on the first modal widget of type T to show up, from inside its event loop.
template <class T> void WhenShown(std::function<void(T*)> fn)
{
    auto* timer = new QTimer(g_watches);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            fn(w);
        }
    });
    timer->start();
}

// Answers the offer with the button of that text, keeping what it said.
void AnswerOffer(const QString& button, QString* said)
{
    WhenShown<QMessageBox>([button, said](QMessageBox* box) {
        if (said)
            *said = box->objectName() + u'|' + box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button)
                return b->click();
        box->reject();
    });
}

// Closes the result when it shows, keeping its counts ("표준 단어=3280", ...) and its caption.
void CloseResult(QStringList* counts, QString* problems)
{
    WhenShown<CStandardImportResultDlg>([counts, problems](CStandardImportResultDlg* dlg) {
        for (int r = 0; r < dlg->Counts()->rowCount(); ++r)
            *counts << dlg->Counts()->item(r, 0)->text() + u'=' + dlg->Counts()->item(r, 1)->text().remove(u',');
        *problems = dlg->ProblemCaption()->text();
        dlg->accept();
    });
}

class BuiltinStandardWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        (void)g_settings;
        g_watches = &watches;
        QSettings(QStringLiteral("Quarro"), QStringLiteral("LEXVAULT5")).clear();
        BuiltinStandard::SetFolder(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/standard"));
        CMainFrame::ClearRegistrations();
        RegisterApplicationParts();
        NewRun();
    }
    void TearDown() override
    {
        if (connected)
            CRepositoryConnection::Instance().OnRepositoryDisconnected();
        qDeleteAll(watches.children());
        g_watches = nullptr;
        frame.reset();
        CMainFrame::ClearRegistrations();
        BuiltinStandard::SetFolder(QString());
        CAnalyzeSettings::DestroyInstance();
    }
    // A fresh start of the program on the same data folder and settings store.
    void NewRun()
    {
        frame.reset();
        ResetAnalysisEngineForTests();
        ResetStandardOfferForTests();
        CAnalyzeSettings::DestroyInstance();
        frame = std::make_unique<CMainFrame>();
    }
    size_t Words() const
    {
        size_t n = 0;
        for (const auto& [physical, inner] : CAnalyzeSettings::Instance().m_mapWordsByPhysical)
            n += inner.size();
        return n;
    }
    QString DictionaryFile() const { return data.standardPath() + QStringLiteral("/termwise.json"); }
    // The repository connected as the window connects it, until the test ends.
    void Connect(const QString& uri)
    {
        ASSERT_TRUE(CRepositoryConnection::Instance().Open(uri));
        CRepositoryConnection::Instance().OnRepositoryConnected();
        connected = true;
    }

    QObject watches;
    TempDataDir data;
    UiScript script;
    std::unique_ptr<CMainFrame> frame;
    bool connected = false;
};

} // namespace

TEST_F(BuiltinStandardWindow, NoLeavesTheDictionaryForThisRunAndAsksAgainNextTime)
{
    QString said;
    AnswerOffer(kOfferNo, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    EXPECT_TRUE(said.startsWith(QStringLiteral("BuiltinStandardOffer|"))) << said.toStdString();
    EXPECT_TRUE(said.contains(BuiltinStandard::kEdition)) << said.toStdString();
    EXPECT_TRUE(frame->FormWindow(EAnalysisFormKind::Logical)); // the command went on
    EXPECT_EQ(Words(), 0u);
    EXPECT_FALSE(QFile::exists(DictionaryFile()));

    // Not again in this run, whatever the command.
    said.clear();
    AnswerOffer(kOfferNo, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::DomainForm));
    QApplication::processEvents();
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();

    // "아니요" is not kept: the next start asks again.
    NewRun();
    AnswerOffer(kOfferNo, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::PhysicalWordForm));
    EXPECT_FALSE(said.isEmpty());
    EXPECT_FALSE(IsStandardOfferDeclined());
}

TEST_F(BuiltinStandardWindow, DontAskAgainIsKept)
{
    QString said;
    AnswerOffer(kOfferNever, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::DomainForm));
    EXPECT_FALSE(said.isEmpty());
    EXPECT_TRUE(IsStandardOfferDeclined());
    EXPECT_EQ(Words(), 0u);

    NewRun();
    said.clear();
    AnswerOffer(kOfferYes, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    QApplication::processEvents();
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
    EXPECT_EQ(Words(), 0u);
}

TEST_F(BuiltinStandardWindow, YesFillsAndSavesTheDictionaryThenTheCommandGoesOn)
{
    AnswerOffer(kOfferYes, nullptr);
    QStringList counts;
    QString problems;
    CloseResult(&counts, &problems);
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    // The 8th edition's current words, its synonyms and forbidden words, and the domains a class
    // word keys (two of the 126 have a domain class no class word carries: 연월일시분, 신용카드번호).
    EXPECT_EQ(counts, (QStringList{kStandardWords + QStringLiteral("=3280"), kNonStandardWords + QStringLiteral("=182"),
                                   kDomains + QStringLiteral("=124")}));
    // 24 withdrawn rows, 11 names that lost an invisible character, two domains without a class word
    EXPECT_EQ(problems, kProblems.arg(37));
    EXPECT_TRUE(frame->FormWindow(EAnalysisFormKind::Logical));

    // Saved as the command line saves the same import, and not offered again.
    TempDataDir other;
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(
        StandardCommand::Run(
            {QStringLiteral("import"), QStringLiteral("--data-dir"), other.path(), BuiltinStandard::Path()}, o, e),
        0)
        << err.toStdString();
    QFile saved(DictionaryFile()), expected(other.standardPath() + QStringLiteral("/termwise.json"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll() == expected.readAll());

    NewRun();
    QString said;
    AnswerOffer(kOfferNo, &said);
    ASSERT_TRUE(frame->RunCommand(AppCmd::LogicalWordForm));
    QApplication::processEvents();
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
    EXPECT_EQ(Words(), 3280u + 182u);
}

TEST_F(BuiltinStandardWindow, MenuImportIntoTheDictionaryKeepsTheUsersWords)
{
    // A dictionary of the user's own: no offer, and the import adds to it.
    WriteTextFile(DictionaryFile(), QStringLiteral("{\"words\":{\"ZZ_MINE\":{\"내단어\":[\"Mine\",\"내 정의\"]}}}"));
    QAction* command = nullptr;
    for (QAction* a : frame->ApplicationMenu()->actions())
        if (a->text() == kMenuCommand)
            command = a;
    ASSERT_TRUE(command);
    ASSERT_TRUE(command->isEnabled());

    script.answers.push_back(true); // the confirmation before adding to a dictionary in use
    QStringList counts;
    QString problems;
    bool sawBuiltinChosen = false, repositoryOff = false;
    WhenShown<CStandardImportDlg>([&](CStandardImportDlg* dlg) {
        sawBuiltinChosen = dlg->BuiltinRadio()->isChecked() && dlg->DictionaryRadio()->isChecked();
        repositoryOff = !dlg->RepositoryRadio()->isEnabled(); // not connected
        CloseResult(&counts, &problems);
        Click(dlg->ImportButton());
    });
    command->trigger();
    EXPECT_TRUE(sawBuiltinChosen);
    EXPECT_TRUE(repositoryOff);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_TRUE(script.messages[0].contains(QStringLiteral("단어 1개"))) << script.messages[0].toStdString();
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_EQ(counts[0], kStandardWords + QStringLiteral("=3280"));

    CAnalyzeSettings saved;
    saved.LoadFrom(DictionaryFile());
    _stAnalyzeManageWord word;
    ASSERT_TRUE(saved.GetWord(QStringLiteral("ZZ_MINE"), QStringLiteral("내단어"), word));
    EXPECT_EQ(word.strDescription, QStringLiteral("내 정의"));
    EXPECT_TRUE(saved.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), word));
}

TEST_F(BuiltinStandardWindow, MenuImportIntoANewRepositoryAreaThenRefusedWithoutReplace)
{
    const QString uri = QStringLiteral("sqlite:") + data.file(QStringLiteral("repository.db"));
    ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), uri}), 0);
    ASSERT_NO_FATAL_FAILURE(Connect(uri));
    CRepositoryConnection& connection = CRepositoryConnection::Instance();

    // An empty repository: the built-in edition's own area is proposed as a new one.
    QString heading;
    {
        CStandardImportDlg dlg;
        ASSERT_TRUE(dlg.RepositoryRadio()->isEnabled());
        Click(dlg.RepositoryRadio());
        EXPECT_TRUE(dlg.AreaCombo()->currentData().toString().isEmpty()); // "새 분류체계 만들기"
        EXPECT_EQ(dlg.NewAreaId()->text(), BuiltinStandard::kAreaId);
        EXPECT_EQ(dlg.NewAreaName()->text(), BuiltinStandard::kAreaName);
        WhenShown<CStandardImportResultDlg>([&heading](CStandardImportResultDlg* result) {
            heading = result->Heading()->text();
            result->accept();
        });
        Click(dlg.ImportButton());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(heading.contains(kIntoArea.arg(BuiltinStandard::kAreaId, BuiltinStandard::kAreaName)))
        << heading.toStdString();
    const auto terms = [&connection] {
        return connection.Database()
            ->Execute(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND DIC_GBN_CD = '0002' "
                                     "AND STANDARD_YN = 'Y'"),
                      {})
            .rows.Value(0, 0);
    };
    EXPECT_EQ(terms(), QStringLiteral("13159"));

    // Again into the same area, now listed: refused while "replace" is off, and nothing changes.
    CStandardImportDlg again;
    Click(again.RepositoryRadio());
    EXPECT_EQ(again.AreaCombo()->currentData().toString(), BuiltinStandard::kAreaId);
    EXPECT_FALSE(again.ReplaceBox()->isChecked());
    Click(again.ImportButton());
    EXPECT_EQ(again.LastOutcome().state, StandardImportOutcome::State::Refused);
    EXPECT_EQ(script.LastMessage(), kRefused.arg(BuiltinStandard::kAreaId));
    EXPECT_EQ(terms(), QStringLiteral("13159"));
}

// The 7th edition chosen by name: its own radio, its own area name, its rows.
TEST_F(BuiltinStandardWindow, MenuImportTakesAnOlderEditionByName)
{
    const QString uri = QStringLiteral("sqlite:") + data.file(QStringLiteral("repository.db"));
    ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), uri}), 0);
    ASSERT_NO_FATAL_FAILURE(Connect(uri));
    CRepositoryConnection& connection = CRepositoryConnection::Instance();

    CStandardImportDlg dlg;
    ASSERT_EQ(dlg.BuiltinRadios().size(), BuiltinStandard::Editions().size());
    for (size_t i = 0; i < dlg.BuiltinRadios().size(); ++i)
        EXPECT_EQ(dlg.BuiltinRadios()[i]->text(), kSourceBuiltin.arg(BuiltinStandard::Editions()[i].name));
    EXPECT_TRUE(dlg.BuiltinRadio()->isChecked()); // the newest first
    Click(dlg.RepositoryRadio());
    Click(dlg.BuiltinRadios()[1]);
    EXPECT_EQ(dlg.NewAreaName()->text(), QStringLiteral("공통표준 7차"));
    QString heading;
    WhenShown<CStandardImportResultDlg>([&heading](CStandardImportResultDlg* result) {
        heading = result->Heading()->text();
        result->accept();
    });
    Click(dlg.ImportButton());
    EXPECT_TRUE(
        heading.startsWith(kResultInto.arg(QStringLiteral("공통표준 7차 (2024-11, 행정안전부)"),
                                           kIntoArea.arg(BuiltinStandard::kAreaId, QStringLiteral("공통표준 7차")))))
        << heading.toStdString();
    EXPECT_EQ(connection.Database()
                  ->Execute(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND DIC_GBN_CD = "
                                           "'0002' AND STANDARD_YN = 'Y'"),
                            {})
                  .rows.Value(0, 0),
              QStringLiteral("9027"));
}

// An area holding the 7th edition brought to the built-in 8th: the result shows what happened
// to the area's rows and what the edition changed.
TEST_F(BuiltinStandardWindow, MenuImportBringsAnAreaToTheNewEditionAndShowsTheDiff)
{
    const QString uri = QStringLiteral("sqlite:") + data.file(QStringLiteral("repository.db"));
    ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), uri}), 0);
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(StandardCommand::Run({QStringLiteral("import"), QStringLiteral("--repo"), uri, QStringLiteral("--area"),
                                    QStringLiteral("PUB"), QStringLiteral("--builtin"), QStringLiteral("7")},
                                   o, e),
              0)
        << err.toStdString();
    ASSERT_NO_FATAL_FAILURE(Connect(uri));
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    // A word the area's owners registered: kept, and no part of what the edition changed.
    ASSERT_TRUE(connection.Database()
                    ->Execute(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, "
                                             "DIC_LOG_NM, DIC_PHY_NM, STANDARD_YN, DIC_GBN_CD) VALUES ('PUB', 'OWN', "
                                             "'99991231235959', '20250301090000', ?, 'LCLBZ', 'Y', '0001')"),
                              {SqlParam::Text(QStringLiteral("기관업무"))})
                    .ok);

    QString upgrade;
    QStringList abbreviationChange;
    int diffRows = 0;
    CStandardImportDlg dlg;
    Click(dlg.RepositoryRadio());
    EXPECT_EQ(dlg.AreaCombo()->currentData().toString(), BuiltinStandard::kAreaId);
    Click(dlg.ReplaceBox());
    script.answers.push_back(true); // the confirmation of bringing the area to the new edition
    WhenShown<CStandardImportResultDlg>([&](CStandardImportResultDlg* result) {
        upgrade = result->Upgrade()->text();
        QTableWidget* diff = result->Diff();
        diffRows = diff->rowCount();
        for (int r = 0; r < diff->rowCount(); ++r)
            if (diff->item(r, 2)->text() == QStringLiteral("유형자산금액"))
                for (int c = 0; c < diff->columnCount(); ++c)
                    abbreviationChange << diff->item(r, c)->text();
        result->accept();
    });
    Click(dlg.ImportButton());
    EXPECT_TRUE(upgrade.contains(kUpgradeRow.arg(kTerms).arg(4135).arg(642).arg(3).arg(8382).arg(0)))
        << upgrade.toStdString();
    EXPECT_TRUE(upgrade.contains(kUpgradeRow.arg(kStandardWords).arg(885).arg(53).arg(1).arg(2342).arg(1)))
        << upgrade.toStdString();
    // Every added, withdrawn and changed row of the three kinds (885+1+9, 14, 4132+5).
    EXPECT_EQ(diffRows, 895 + 14 + 4137);
    EXPECT_EQ(abbreviationChange,
              (QStringList{QStringLiteral("용어"), QStringLiteral("변경"), QStringLiteral("유형자산금액"),
                           QStringLiteral("TGAST_AMT"), QStringLiteral("약어 TYPE_AST_AMT → TGAST_AMT")}));
}

// Files that are not whole are refused in the window as on the command line: the rows named,
// nothing written.
TEST_F(BuiltinStandardWindow, FilesImportRefusesACutFileAndWritesNothing)
{
    WriteTextFile(DictionaryFile(), QStringLiteral("{\"words\":{\"ZZ_MINE\":{\"내단어\":[\"Mine\",\"\"]}}}"));
    const QStringList fixtures = StandardCsvFixtures();
    QFile source(fixtures[0]);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(source.readAll()).split(u'\n');
    const QString cut = data.file(QStringLiteral("words.csv"));
    WriteTextFile(cut, lines.mid(0, 8).join(u'\n') + u'\n' + lines[8].left(lines[8].size() / 2));

    CStandardImportDlg dlg;
    Click(dlg.FilesRadio());
    dlg.SetFiles({cut, fixtures[1], fixtures[2]});
    Click(dlg.DictionaryRadio());
    script.answers.push_back(true); // adding to a dictionary in use
    Click(dlg.ImportButton());
    EXPECT_EQ(dlg.LastOutcome().state, StandardImportOutcome::State::Failed);
    EXPECT_TRUE(script.LastMessage().contains(StandardTexts::kNotWhole)) << script.LastMessage().toStdString();
    EXPECT_TRUE(script.LastMessage().contains(QStringLiteral("words.csv:"))) << script.LastMessage().toStdString();
    CAnalyzeSettings saved;
    saved.LoadFrom(DictionaryFile());
    _stAnalyzeManageWord word;
    EXPECT_FALSE(saved.GetWord(QStringLiteral("CUST"), QStringLiteral("고객"), word));
}

// The question before adding to a dictionary counts a domain once, as the result does, though
// the dictionary files it under each of its class words.
TEST_F(BuiltinStandardWindow, TheQuestionCountsDomainsAsTheResultDoes)
{
    WriteTextFile(DictionaryFile(), QStringLiteral("{\"words\":{\"ZZ_MINE\":{\"내단어\":[\"Mine\",\"\"]}}}"));
    QAction* command = nullptr;
    for (QAction* a : frame->ApplicationMenu()->actions())
        if (a->text() == kMenuCommand)
            command = a;
    ASSERT_TRUE(command);
    QStringList counts;
    QString problems;
    script.answers.push_back(true);
    WhenShown<CStandardImportDlg>([&](CStandardImportDlg* dlg) {
        CloseResult(&counts, &problems);
        Click(dlg->ImportButton());
    });
    command->trigger();
    QString domains;
    for (const QString& count : counts)
        if (count.startsWith(kDomains + u'='))
            domains = count.mid(kDomains.size() + 1);
    ASSERT_FALSE(domains.isEmpty()) << counts.join(u' ').toStdString();

    script.answers.push_back(false); // only the question
    const size_t asked = script.messages.size();
    WhenShown<CStandardImportDlg>([&](CStandardImportDlg* dlg) {
        Click(dlg->ImportButton());
        dlg->reject();
    });
    command->trigger();
    ASSERT_EQ(script.messages.size(), asked + 1);
    EXPECT_TRUE(script.messages.back().contains(QStringLiteral("도메인 %1개").arg(domains)))
        << script.messages.back().toStdString() << " / " << domains.toStdString();
}

// The window's repository connection: the connection dialog through a saved profile, what the
// frame shows and enables, requests 3 and 4, and the shared analysis data dialog, on a SQLite
// repository made by `repo init --demo` and on the PostgreSQL server of scripts/with-postgres.
#include "repository/RepoTestDb.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "components/OutputLog.h"
#include "components/QrDatabaseManager.h"
#include "components/QrDatatype.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/ReportChart.h"
#include "dictionary/ui/RepositoryManageDlg.h"
#include "repository/QrARGate.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "repository/RepositoryTexts.h"
#include "repository/ui/DbConnectDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

class NoKeychain : public IPasswordStore
{
public:
    bool IsAvailable(QString* reason) override
    {
        if (reason)
            *reason = QStringLiteral("no secret service");
        return false;
    }
    bool Write(const QString&, const QString&, QString*) override { return false; }
    std::optional<QString> Read(const QString&) override { return std::nullopt; }
    void Remove(const QString&) override {}
};

// A repository of its own per test: a SQLite file made by `repo init --demo`, or a fresh
// PostgreSQL database on the server of TERMWISE_TEST_PG with the same content.
class RepositoryUiTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ResetAnalysisEngineForTests();
        CMainFrame::ClearRegistrations();
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("profiles.ini")), QSettings::IniFormat);
        CQrDbConnector::GetInstance().SetStorage(&m_keychain, m_settings.get());
        m_profile.name = QStringLiteral("표준 저장소");
        m_profile.arUser = QStringLiteral("architect");
        if (GetParam() == GlobalEnum::DBMS_SQLITE) {
            m_profile.dbType = 13;
            m_profile.path = m_dir.filePath(QStringLiteral("meta.db"));
        } else {
            RepositoryUri server;
            QString error;
            const QString uri = qEnvironmentVariable("TERMWISE_TEST_PG");
            if (uri.isEmpty()) {
                if (qEnvironmentVariable("CI") == QLatin1String("true"))
                    FAIL() << "TERMWISE_TEST_PG is not set";
                GTEST_SKIP() << "TERMWISE_TEST_PG is not set: run the tests through scripts/with-postgres";
            }
            ASSERT_TRUE(ParseRepositoryUri(uri, server, error)) << error.toStdString();
            m_server = server;
            m_database = QStringLiteral("tw_conn_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
            ASSERT_TRUE(Admin(QStringLiteral("CREATE DATABASE ") + m_database));
            m_profile.dbType = 11;
            m_profile.host = server.host;
            m_profile.port = server.port;
            m_profile.database = m_database;
            m_profile.dbUser = server.user;
            m_password = server.password;
        }
        ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), Uri(), QStringLiteral("--demo")}), 0);
        CQrDbConnector::GetInstance().Profiles().Save(m_profile, m_password);
        // a new store: the session password of Save must not help the tests
        CQrDbConnector::GetInstance().SetStorage(&m_keychain, m_settings.get());
        CQrProgressWnd::SetBackend(nullptr);
    }
    void TearDown() override
    {
        m_frame.reset();
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        QrARGate::FinalizeCommander(0);
        CQrDbConnector::DestroyInstance();
        if (!m_database.isEmpty())
            Admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
        CMainFrame::ClearRegistrations();
    }
    QString Uri() const
    {
        if (m_profile.dbType == 13)
            return QStringLiteral("sqlite:") + m_profile.path;
        const QString credentials =
            m_server.password.isEmpty() ? m_server.user : m_server.user + u':' + m_server.password;
        return QStringLiteral("postgresql://%1@%2:%3/%4")
            .arg(credentials, m_server.host)
            .arg(m_server.port)
            .arg(m_database);
    }
    bool Admin(const QString& sql) { return RunOnServer(m_server, sql); }
    CMainFrame& Frame()
    {
        if (!m_frame)
            m_frame = std::make_unique<CMainFrame>();
        return *m_frame;
    }
    // Presses "A/R 연결" and answers the dialog with the saved profile, typing the password
    // that a keychain-less machine cannot remember between runs.
    void ConnectThroughDialog(const QString& password)
    {
        WhenModal([password](QWidget* modal) {
            auto* dlg = qobject_cast<CDbConnectDlg*>(modal);
            ASSERT_NE(dlg, nullptr);
            auto* list = dlg->findChild<QListWidget*>(QStringLiteral("ProfileList"));
            ASSERT_EQ(list->count(), 1);
            EXPECT_EQ(list->currentItem()->text(), QStringLiteral("표준 저장소"));
            auto* save = dlg->findChild<QCheckBox*>(QStringLiteral("SavePassword"));
            EXPECT_FALSE(save->isEnabled());
            EXPECT_TRUE(save->toolTip().contains(QStringLiteral("no secret service")));
            dlg->findChild<QLineEdit*>(QStringLiteral("Password"))->setText(password);
            Click(dlg->findChild<QPushButton*>(QStringLiteral("ConnectButton")));
        });
        ASSERT_TRUE(Frame().RunCommand(AppCmd::RepositoryConnect));
    }
    bool Enabled(int command) { return Frame().CommandAction(command)->isEnabled(); }

    QTemporaryDir m_dir;
    NoKeychain m_keychain;
    std::unique_ptr<QSettings> m_settings;
    ConnectionProfile m_profile;
    RepositoryUri m_server;
    QString m_database;
    QString m_password;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_P(RepositoryUiTest, ConnectShowsTheStateAndEnablesTheRepositoryCommands)
{
    UiScript ui;
    const bool server = GetParam() != GlobalEnum::DBMS_SQLITE;
    const int repositoryCommands[] = {AppCmd::TermForm,   AppCmd::RegisterWord,    AppCmd::RegisterDomain,
                                      AppCmd::UnusedWord, AppCmd::UnusedClassWord, AppCmd::UnusedDomain};
    EXPECT_EQ(Frame().CommandAction(AppCmd::RepositoryConnect)->text(), QStringLiteral("A/R 연결"));
    for (int id : repositoryCommands)
        EXPECT_FALSE(Enabled(id)) << id;

    // a cancelled dialog leaves everything as it was
    WhenModal([](QWidget* modal) { Click(modal->findChild<QPushButton*>(QStringLiteral("CancelButton"))); });
    Frame().RunCommand(AppCmd::RepositoryConnect);
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists());

    // a wrong password keeps the dialog open with the driver's words
    if (server) {
        WhenModal([](QWidget* modal) {
            modal->findChild<QLineEdit*>(QStringLiteral("Password"))->setText(QStringLiteral("wrong"));
            modal->findChild<QLineEdit*>(QStringLiteral("DbUser"))->setText(QStringLiteral("nobody_here"));
            Click(modal->findChild<QPushButton*>(QStringLiteral("ConnectButton")));
            EXPECT_TRUE(modal->isVisible());
        });
        Frame().RunCommand(AppCmd::RepositoryConnect);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_TRUE(ui.LastMessage().startsWith(QStringLiteral("연결하지 못했습니다.")))
            << ui.LastMessage().toStdString();
        EXPECT_TRUE(ui.LastMessage().contains(QStringLiteral("nobody_here"))) << ui.LastMessage().toStdString();
        EXPECT_FALSE(CRepositoryConnection::Instance().Exists());
    }

    ConnectThroughDialog(m_password);
    ASSERT_TRUE(CRepositoryConnection::Instance().IsConnected());
    EXPECT_EQ(Frame().CommandAction(AppCmd::RepositoryConnect)->text(), QStringLiteral("A/R 연결해제"));
    EXPECT_EQ(Frame().ArStatusText(),
              server ? QStringLiteral("표준 저장소 (%1, architect)").arg(m_profile.dbUser) : QString());
    EXPECT_EQ(QrARGate::GetUserNameW(), QStringLiteral("architect"));
    EXPECT_TRUE(IsAnalysisEngineInitialized());
    for (int id : repositoryCommands)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Enabled(AppCmd::UnusedTerm), server);
    EXPECT_EQ(Enabled(AppCmd::SharedManage), server); // the analysis tables count only on a server
    EXPECT_TRUE(Frame().IsRepositoryConnected());

    // pressed again: disconnects without asking
    const size_t shown = ui.messages.size();
    ASSERT_TRUE(Frame().RunCommand(AppCmd::RepositoryConnect));
    EXPECT_EQ(ui.messages.size(), shown);
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists());
    EXPECT_EQ(Frame().CommandAction(AppCmd::RepositoryConnect)->text(), QStringLiteral("A/R 연결"));
    EXPECT_EQ(Frame().ArStatusText(), QString());
    for (int id : repositoryCommands)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(AppCmd::UnusedTerm));
    EXPECT_FALSE(Enabled(AppCmd::SharedManage));
}

// A model's database is saved as a "모델 DB" profile after a test, without becoming the
// repository; such a profile is never connected as one.
TEST_P(RepositoryUiTest, AModelDatabaseIsSavedAsItsOwnProfile)
{
    if (GetParam() != GlobalEnum::DBMS_SQLITE)
        GTEST_SKIP() << "the dialog's rules are the same for every DBMS";
    UiScript ui;
    const QString model = m_dir.filePath(QStringLiteral("model.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("model-db"));
        db.setDatabaseName(model);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE TB_CUST (CUST_NO VARCHAR(20))")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("model-db"));
    bool connectOff = false;
    WhenModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        Click(modal->findChild<QPushButton*>(QStringLiteral("NewProfileButton")));
        modal->findChild<QLineEdit*>(QStringLiteral("ProfileName"))->setText(QStringLiteral("주문 모델"));
        modal->findChild<QLineEdit*>(QStringLiteral("SqliteFile"))->setText(model);
        modal->findChild<QCheckBox*>(QStringLiteral("ModelDb"))->setChecked(true);
        connectOff = !modal->findChild<QPushButton*>(QStringLiteral("ConnectButton"))->isEnabled();
        Click(modal->findChild<QPushButton*>(QStringLiteral("SaveButton")));
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("ProfileList"));
        EXPECT_FALSE(list->findItems(QStringLiteral("주문 모델 (모델 DB)"), Qt::MatchExactly).isEmpty());
        Click(modal->findChild<QPushButton*>(QStringLiteral("CancelButton")));
    });
    Frame().RunCommand(AppCmd::RepositoryConnect);
    EXPECT_TRUE(connectOff);
    EXPECT_EQ(ui.LastMessage(), ConnectText::ProfileSaved.arg(QStringLiteral("주문 모델")));
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists()) << "saved, not connected";
    const auto saved = CQrDbConnector::GetInstance().Profiles().Find(QStringLiteral("주문 모델"));
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(saved->model);
    EXPECT_EQ(saved->path, model);
}

TEST_P(RepositoryUiTest, ConnectionRequestsConnectOnlyThroughAMatchingProfile)
{
    UiScript ui;
    const auto request = [](const QString& database, const QString& source, const QString& user) {
        return QStringLiteral(R"({"ArConnectionInfo":{"DatabaseName":"%1","DataSource":"%2","DbUserId":"%3"}})")
            .arg(database, source, user);
    };
    const QString matching = request(m_profile.DatabaseName(), m_profile.DataSource(), m_profile.dbUser);

    // code 3 without a connection: the message, and no form
    Frame().HandleRequest(3, QStringLiteral(R"({"termwise":[]})"));
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("유효한 접속정보가 존재하지 않습니다"));
    EXPECT_EQ(Frame().FormWindow(EAnalysisFormKind::Term), nullptr);

    for (const QString& bad :
         {QStringLiteral("{not json"), QStringLiteral(R"({"ArConnectionInfo":[]})"),
          request(QStringLiteral("nothing"), QStringLiteral("nowhere"), QStringLiteral("nobody"))}) {
        Frame().HandleRequest(4, bad);
        EXPECT_FALSE(CRepositoryConnection::Instance().Exists()) << bad.toStdString();
    }
    if (GetParam() != GlobalEnum::DBMS_SQLITE) // a server's password comes from the environment here
        qputenv("TERMWISE_DB_PASSWORD", m_password.toUtf8());
    Frame().HandleRequest(4, matching);
    qunsetenv("TERMWISE_DB_PASSWORD");
    ASSERT_TRUE(CRepositoryConnection::Instance().IsConnected());
    EXPECT_EQ(Frame().CommandAction(AppCmd::RepositoryConnect)->text(), QStringLiteral("A/R 연결해제"));
    EXPECT_TRUE(Enabled(AppCmd::TermForm));
    // a live connection is never replaced: a reconnect would lose the session's temporary table
    ISqlExecutor* db = CRepositoryConnection::Instance().Database();
    ASSERT_TRUE(db->Execute(QStringLiteral("CREATE TEMP TABLE SESSION_MARK (X INTEGER)"), {}).ok);
    Frame().HandleRequest(4, matching);
    EXPECT_TRUE(
        CRepositoryConnection::Instance().Database()->Execute(QStringLiteral("SELECT X FROM SESSION_MARK"), {}).ok);

    // code 3 now reaches the term form through the ribbon's own road
    Frame().HandleRequest(3, QStringLiteral(R"({"termwise":[]})"));
    EXPECT_NE(Frame().FormWindow(EAnalysisFormKind::Term), nullptr);
}

TEST_P(RepositoryUiTest, RepoUriConnectsAtStartAndAFailureOnlyReports)
{
    Frame();
    OutputLogCapture log; // after the frame, which points the log at its pane
    EXPECT_FALSE(Frame().ConnectRepositoryUri(QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("none.db"))));
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists());
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.last().contains(QStringLiteral("none.db")));
    // a database that opens but holds no repository (a model) says so, and nothing is connected
    const QString model = m_dir.filePath(QStringLiteral("model.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("model-db"));
        db.setDatabaseName(model);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE TB_CUST (CUST_NO VARCHAR(20))")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("model-db"));
    EXPECT_FALSE(Frame().ConnectRepositoryUri(QStringLiteral("sqlite:") + model));
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists());
    EXPECT_FALSE(Frame().CommandAction(AppCmd::TermForm)->isEnabled());
    EXPECT_TRUE(log.lines.last().contains(RepositoryText::NoRepositoryTables)) << log.lines.last().toStdString();
    ASSERT_TRUE(Frame().ConnectRepositoryUri(Uri()));
    EXPECT_EQ(Frame().CommandAction(AppCmd::RepositoryConnect)->text(), QStringLiteral("A/R 연결해제"));
    {
        // the gateway's user-started reads show their errors in a box while the window is up
        UiScript ui;
        CSqlBaseGate::ShowMessageBox(QStringLiteral("relation does not exist"));
        EXPECT_EQ(ui.LastMessage(), QStringLiteral("relation does not exist"));
    }
    if (GetParam() == GlobalEnum::DBMS_SQLITE) {
        EXPECT_EQ(Frame().ArStatusText(), QString());
    } else {
        EXPECT_EQ(Frame().ArStatusText(), QStringLiteral("%1 (%2, %2)").arg(m_database, m_server.user));
    }
}

// The shared analysis data with rows of two authors: the chart counts them, delete removes
// exactly the checked rows.
TEST_P(RepositoryUiTest, SharedDataChartCountsAuthorsAndDeleteRemovesTheCheckedRows)
{
    UiScript ui;
    ASSERT_TRUE(Frame().ConnectRepositoryUri(Uri()));
    // the command needs a server's analysis tables; the dialog itself reads any repository
    EXPECT_EQ(Enabled(AppCmd::SharedManage), GetParam() != GlobalEnum::DBMS_SQLITE);
    ISqlExecutor* db = CRepositoryConnection::Instance().Database();
    ASSERT_TRUE(db->Execute(QStringLiteral("DELETE FROM STD_ANLY_WORD"), {}).ok);
    const char* rows[][3] = {
        {"CUST", "고객", "PC-A"}, {"NM", "명", "PC-A"}, {"NO", "번호", "PC-B"}, {"DT", "일자", "PC-A"}};
    for (const auto& r : rows)
        ASSERT_TRUE(db->Execute(QStringLiteral("INSERT INTO STD_ANLY_WORD (WORD_PHY_NM, WORD_LOG_NM, WORD_AUTH, "
                                               "WORD_STD_YN) VALUES (?, ?, ?, 'Y')"),
                                {SqlParam::Text(QString::fromUtf8(r[0])), SqlParam::Text(QString::fromUtf8(r[1])),
                                 SqlParam::Text(QString::fromUtf8(r[2]))})
                        .ok);

    CRepositoryManageDlg dlg(&Frame());
    CQrTreeGrid* grid = dlg.Grid();
    ASSERT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetColumnHeader(1), QStringLiteral("단어 논리명"));
    EXPECT_EQ(dlg.Chart()->Labels(), (QStringList{"PC-A", "PC-B"}));
    EXPECT_EQ(dlg.Chart()->Values(), (QList<int>{3, 1}));

    // the search box filters on the names; the Excel output opens on Yes
    auto* search = dlg.findChild<QLineEdit*>(QStringLiteral("SearchEdit"));
    search->setText(QStringLiteral("no"));
    std::vector<bool> hidden;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        hidden.push_back(grid->IsRowHiddenAt(r));
    EXPECT_EQ(hidden, (std::vector<bool>{true, true, true, false}));
    search->clear();
    ui.paths = {m_dir.filePath(QStringLiteral("shared.xlsx"))};
    ui.answers = {true};
    dlg.OnOutput();
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?"));
    EXPECT_EQ(ui.opened, (std::vector<QString>{m_dir.filePath(QStringLiteral("shared.xlsx"))}));

    // nothing checked: the delete says so
    dlg.OnDelete();
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택된 항목이 없습니다"));
    // rows in physical-name order: CUST, DT, NM, NO; check 일자 and 번호
    ASSERT_EQ(grid->GetItemText(1, 1), QStringLiteral("일자"));
    ASSERT_EQ(grid->GetItemText(3, 1), QStringLiteral("번호"));
    grid->SetCheckCellVal(1, 0, true);
    grid->SetCheckCellVal(3, 0, true);
    ui.answers = {false};
    dlg.OnDelete(); // No: nothing goes
    EXPECT_EQ(grid->GetRowCount(), 4);
    const auto left = [db] {
        QStringList names;
        const SqlOutcome out =
            db->Execute(QStringLiteral("SELECT WORD_LOG_NM FROM STD_ANLY_WORD ORDER BY WORD_PHY_NM"), {});
        for (size_t r = 0; r < out.rows.size(); ++r)
            names << out.rows.Value(r, 0);
        return names;
    };
    // a tick the search box hides is not acted on
    search->setText(QStringLiteral("no"));
    ui.answers = {true};
    dlg.OnDelete();
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택 된 대상 1 개의 데이터를 AR 에서 삭제합니다"));
    EXPECT_EQ(left(), (QStringList{"고객", "일자", "명"}));
    search->clear();
    ASSERT_EQ(grid->GetItemText(1, 1), QStringLiteral("일자"));
    grid->SetCheckCellVal(1, 0, true);
    ui.answers = {true};
    dlg.OnDelete();
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택 된 대상 1 개의 데이터를 AR 에서 삭제합니다"));
    EXPECT_EQ(left(), (QStringList{"고객", "명"}));
    EXPECT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(dlg.Chart()->Values(), (QList<int>{2}));

    // nothing checked: the kind's own message; exclusions have no standard hand-over
    dlg.OnToStandard();
    EXPECT_EQ(ui.LastMessage(), QStringLiteral("선택 단어가 없습니다"));
    dlg.SetKind(ESharedDataKind::ExceptWords);
    EXPECT_FALSE(dlg.findChild<QPushButton*>(QStringLiteral("ToStandardButton"))->isEnabled());
    ASSERT_TRUE(db->Execute(QStringLiteral("DELETE FROM STD_ANLY_EXCEPT"), {}).ok);
    dlg.Refresh();
    EXPECT_EQ(dlg.Chart()->Labels(), (QStringList{"없음"}));
    EXPECT_EQ(dlg.Chart()->Values(), (QList<int>{0}));
}

INSTANTIATE_TEST_SUITE_P(Dialects, RepositoryUiTest, ::testing::Values(13, 11),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 13 ? std::string("Sqlite") : std::string("Postgresql");
                         });

} // namespace

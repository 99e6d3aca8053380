// The PostgreSQL server stopped under the connected window (scripts/with-postgres can stop and
// start its server): the term analysis, the shared data and word management say so, keep what
// they showed, and work again after the reconnect without being reopened. Runs alone: the
// server it stops serves every other repository test.
#include "repository/RepoTestDb.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include "analysis/TermAnalysis.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppParts.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RibbonBar.h"
#include "components/OutputLog.h"
#include "components/ui/QrTreeGrid.h"
#include "dictionary/ManageTexts.h"
#include "dictionary/ui/RepositoryManageDlg.h"
#include "dictionary/ui/WordManageDlg.h"
#include "forms/ui/AnalyzeTermForm.h"
#include "repository/QrARGate.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "repository/RepositoryTexts.h"

#include <QDir>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

const QString kRequest = QStringLiteral(R"({"standard_areaid":"ENT","termwise":[
    {"attributeName":"고객번호","columnName":"CUST_NO","attributeDataType":"VARCHAR","attributeDataLength":"20"},
    {"attributeName":"주문일자","columnName":"ORD_DT","attributeDataType":"CHAR","attributeDataLength":"8"},
    {"attributeName":"고객등급코드","columnName":"CUST_GRD_CD","attributeDataType":"CHAR","attributeDataLength":"2"},
    {"attributeName":"뷁뷁코드","columnName":"X_CD","attributeDataType":"CHAR","attributeDataLength":"3"}]})");

class ServerStopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString uri = qEnvironmentVariable("TERMWISE_TEST_PG");
        m_ctl = qEnvironmentVariable("TERMWISE_TEST_PG_CTL");
        if (uri.isEmpty() || m_ctl.isEmpty()) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                FAIL() << "TERMWISE_TEST_PG or TERMWISE_TEST_PG_CTL is not set";
            GTEST_SKIP() << "run the tests through scripts/with-postgres, which can stop its server";
        }
        QString error;
        ASSERT_TRUE(ParseRepositoryUri(uri, m_server, error)) << error.toStdString();
        m_database = QStringLiteral("tw_stop_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        ASSERT_TRUE(Admin(QStringLiteral("CREATE DATABASE ") + m_database));
        ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), Uri(), QStringLiteral("--demo")}), 0);
        ResetAnalysisEngineForTests();
        CMainFrame::ClearRegistrations();
        RegisterApplicationParts();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->resize(1000, 700);
        ASSERT_TRUE(m_frame->ConnectRepositoryUri(Uri()));
    }
    void TearDown() override
    {
        if (m_stopped)
            Control("start"); // never leave the other tests without their server
        m_frame.reset();
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        QrARGate::FinalizeCommander(0);
        CQrDbConnector::DestroyInstance();
        CMainFrame::ClearRegistrations();
        if (!m_database.isEmpty())
            Admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
    }
    QString Uri() const
    {
        return QStringLiteral("postgresql://%1@%2:%3/%4")
            .arg(m_server.user, m_server.host)
            .arg(m_server.port)
            .arg(m_database);
    }
    bool Admin(const QString& sql) { return RunOnServer(m_server, sql); }
    bool Control(const char* action)
    {
        const bool ok = QProcess::execute(m_ctl, {QString::fromLatin1(action)}) == 0;
        if (ok)
            m_stopped = qstrcmp(action, "stop") == 0;
        return ok;
    }
    std::vector<QStringList> Rows(CQrTreeGrid* grid) const { return grid->GetAllRowsText(); }

    TempDataDir m_data;
    RepositoryUri m_server;
    QString m_database;
    QString m_ctl;
    bool m_stopped = false;
    std::unique_ptr<CMainFrame> m_frame;
};

// The lost-connection question over the window, for the documentation.
void SaveQuestionScreenshot(CMainFrame& frame)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    frame.show();
    QApplication::processEvents();
    WhenModal([&frame, folder](QWidget* box) {
        ASSERT_NE(box, nullptr);
        QApplication::processEvents();
        QPixmap shot = frame.grab();
        const QPixmap question = box->grab();
        QPainter painter(&shot);
        painter.fillRect(shot.rect(), QColor(0, 0, 0, 60));
        painter.drawPixmap((shot.width() - question.width()) / 2, (shot.height() - question.height()) / 2, question);
        painter.end();
        EXPECT_TRUE(shot.save(QDir(folder).filePath(QStringLiteral("connection-lost.png"))));
        for (QPushButton* button : box->findChildren<QPushButton*>())
            if (button->text() == AppText::Later)
                button->click();
    });
    frame.AskReconnect(&frame);
    frame.hide();
}

} // namespace

// Warnings that reach the log (stderr) while the server goes and comes back.
QStringList g_freeWarnings;
QtMessageHandler g_testPrevious = nullptr;
void CountFreeWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("Unable to free statement")))
        g_freeWarnings << message;
    g_testPrevious(type, context, message);
}

TEST_F(ServerStopTest, AnalysisSharedDataAndWordManagementKeepTheirWorkAndRecover)
{
    g_freeWarnings.clear();
    g_testPrevious = qInstallMessageHandler(CountFreeWarnings);
    struct Restore
    {
        ~Restore() { qInstallMessageHandler(g_testPrevious); }
    } restore;
    auto ui = std::make_unique<UiScript>();
    ASSERT_TRUE(m_frame->RunCommand(AppCmd::TermForm));
    auto* form = qobject_cast<CAnalyzeTermForm*>(m_frame->FormWindow(EAnalysisFormKind::Term)->widget());
    ASSERT_NE(form, nullptr);
    form->ApplyRequest(kRequest);
    ASSERT_EQ(form->Mode(), 2);
    const std::vector<QStringList> analysed = Rows(form->Grid());
    const QString caption = form->TargetGroup()->title();
    ASSERT_GT(analysed.size(), 4u);
    EXPECT_EQ(form->Grid()->GetItemImage(form->RowOfTarget(QStringLiteral("고객번호")), 0), eTermImageRegistered);

    CRepositoryManageDlg shared(m_frame.get());
    const std::vector<QStringList> sharedRows = Rows(shared.Grid());
    ASSERT_GT(sharedRows.size(), 1u) << "the demo shares analysis words";
    CWordManageDlg words(m_frame.get());
    QPushButton* download = words.Button(ManageTexts::ShareDownload);
    ASSERT_TRUE(download->isEnabled());

    // The server goes down in the middle of an analysis: the result shown stays, one question.
    OutputLogCapture log;
    bool stopped = false;
    // (a target the service finds no domain for makes the form read the area's key domains)
    form->Engine().SetKeyDomainSource([&](const QString& area, CTermAnalysis::AreaDomains& domains) {
        if (!stopped)
            stopped = Control("stop");
        return CTermAnalysis::RepositoryKeyDomains()(area, domains);
    });
    ui->buttons = {QMessageBox::No}; // 나중에
    Click(form->AnalyzeButton());
    ASSERT_TRUE(stopped);
    ASSERT_EQ(ui->messages.size(), 1u);
    EXPECT_TRUE(ui->messages[0].startsWith(RepositoryText::ConnectionLostAsk)) << ui->messages[0].toStdString();
    EXPECT_TRUE(ui->messages[0].contains(QStringLiteral("terminating connection"))) << "the driver's own words follow";
    EXPECT_EQ(Rows(form->Grid()), analysed);
    EXPECT_EQ(form->TargetGroup()->title(), caption);
    EXPECT_TRUE(log.lines.join(u'\n').contains(QStringLiteral("이전 결과를 그대로 둡니다")))
        << log.lines.join(u'\n').toStdString();
    form->Engine().SetKeyDomainSource(CTermAnalysis::RepositoryKeyDomains());

    // the window shows it: status pane, caption, commands grey with the reason
    QApplication::processEvents();
    EXPECT_TRUE(m_frame->ArStatusText().startsWith(QStringLiteral("연결 끊김: ")))
        << m_frame->ArStatusText().toStdString();
    EXPECT_EQ(m_frame->CommandAction(AppCmd::RepositoryConnect)->text(), AppText::ArReconnect);
    for (int command : {int(AppCmd::TermForm), int(AppCmd::SharedManage), int(AppCmd::RegisterWord)}) {
        EXPECT_FALSE(m_frame->CommandAction(command)->isEnabled()) << command;
        EXPECT_TRUE(CRibbonBar::ToolTipFor(m_frame->CommandAction(command)).contains(QStringLiteral("끊어졌습니다")));
    }
    EXPECT_EQ(ui->messages.size(), 1u) << "asked once for the loss, not again by the window";

    // tried again, and in the other two: each says the connection is lost and keeps its rows
    Click(form->AnalyzeButton());
    EXPECT_TRUE(ui->LastMessage().startsWith(RepositoryText::ConnectionLost)) << ui->LastMessage().toStdString();
    EXPECT_EQ(Rows(form->Grid()), analysed);
    const size_t before = ui->messages.size();
    shared.Refresh();
    EXPECT_EQ(ui->messages.size(), before + 1);
    EXPECT_TRUE(ui->LastMessage().startsWith(RepositoryText::ConnectionLost)) << ui->LastMessage().toStdString();
    EXPECT_EQ(Rows(shared.Grid()), sharedRows) << "never an empty list with a chart of nothing";
    EXPECT_FALSE(download->isEnabled());
    EXPECT_TRUE(download->toolTip().contains(QStringLiteral("끊어졌습니다"))) << download->toolTip().toStdString();

    // a reconnect while the server is still down says so and stays lost
    EXPECT_FALSE(m_frame->ReconnectRepository(m_frame.get()));
    EXPECT_TRUE(ui->LastMessage().startsWith(RepositoryText::ReconnectFailed)) << ui->LastMessage().toStdString();
    EXPECT_TRUE(CRepositoryConnection::Instance().IsLost());

    ui.reset();
    SaveQuestionScreenshot(*m_frame);
    ui = std::make_unique<UiScript>();

    // the server is back: the connect button offers the reconnect, with the same settings
    ASSERT_TRUE(Control("start"));
    ui->buttons = {QMessageBox::Yes}; // 다시 연결
    ASSERT_TRUE(m_frame->RunCommand(AppCmd::RepositoryConnect));
    ASSERT_TRUE(CRepositoryConnection::Instance().IsConnected()) << ui->LastMessage().toStdString();
    QApplication::processEvents();
    EXPECT_EQ(m_frame->CommandAction(AppCmd::RepositoryConnect)->text(), AppText::ArDisconnect);
    EXPECT_TRUE(m_frame->CommandAction(AppCmd::TermForm)->isEnabled());
    EXPECT_FALSE(m_frame->ArStatusText().startsWith(QStringLiteral("연결 끊김")));

    // what was open works again as it is
    const size_t asked = ui->messages.size();
    Click(form->AnalyzeButton());
    EXPECT_EQ(ui->messages.size(), asked) << ui->LastMessage().toStdString();
    EXPECT_EQ(Rows(form->Grid()), analysed);
    EXPECT_EQ(Rows(shared.Grid()), sharedRows);
    shared.Refresh();
    EXPECT_EQ(Rows(shared.Grid()), sharedRows);
    EXPECT_TRUE(download->isEnabled());
    EXPECT_EQ(ui->messages.size(), asked);
    EXPECT_TRUE(g_freeWarnings.isEmpty())
        << "the driver's release of dead statements on stderr: " << g_freeWarnings.size();
}

// The web proposal dialog against a proposal page on a loopback HTTP server, alone and as
// the web route of the registration functions.
#include "ProposalServer.h"
#include "TermRepository.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include "components/OutputLog.h"
#include "registration/StandardRegistration.h"
#include "registration/ui/ProposalModule.h"
#include "registration/ui/web/MetaWebPageDlg.h"
#include "repository/QrARGate.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include <QApplication>

#include <QTimer>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

const char kCompletingPage[] = "<html><head><meta charset='utf-8'></head><body><h3>단어 신청</h3>"
                               "<script>metaComp.onComplete();</script></body></html>";
const char kIdlePage[] = "<html><head><meta charset='utf-8'></head><body><h3>용어 신청</h3>"
                         "<script>console.log('준비');</script></body></html>";

// Runs the dialog; once the page has loaded, `afterLoad` runs. A dialog still open after
// the time limit is closed (Cancel), so a page that never answers cannot hang the test.
int RunDialog(CMetaWebPageDlg& dialog, std::function<void()> afterLoad = {}, int limitMs = 60000)
{
    QObject::connect(dialog.View(), &QWebEngineView::loadFinished, &dialog, [afterLoad](bool) {
        if (afterLoad)
            QTimer::singleShot(300, afterLoad);
    });
    QTimer::singleShot(limitMs, &dialog, &QDialog::reject);
    return dialog.exec();
}

WordIndex ThreeWords()
{
    WordIndex words;
    _stAnalyzeManageWord word;
    word.strDescription = QStringLiteral("고객 & 손님 = 사는 사람");
    words[QStringLiteral("CUST")][QStringLiteral("고객")] = word;
    word.strDescription.clear();
    word.nClassWord = 1;
    words[QStringLiteral("NO")][QStringLiteral("번호")] = word;
    word.strPhyFullName = QStringLiteral("NAME");
    words[QStringLiteral("NM")][QStringLiteral("명")] = word;
    return words;
}

TEST(WebProposalDialog, PostsTheEncodedWordMapAndClosesOnMetaCompCompletion)
{
    ProposalServer server;
    server.SetPage(QString::fromUtf8(kCompletingPage));
    MetaWebRequest request;
    request.areaId = QStringLiteral("A1");
    request.url = server.Url();
    request.words = ThreeWords();
    CMetaWebPageDlg dialog(eMetaWebWordMap);
    dialog.SetRequest(request);

    ASSERT_EQ(RunDialog(dialog), QDialog::Accepted) << "the page's onComplete closes with OK";
    ASSERT_EQ(server.posts.size(), 1u);
    const ProposalServer::Request& post = server.posts[0];
    EXPECT_EQ(post.contentType, QByteArray("application/x-www-form-urlencoded"));
    EXPECT_TRUE(post.body.startsWith("loginId="));
    EXPECT_LT(post.body.indexOf("&STD_AREA_ID="), post.body.indexOf("&datas=")) << "fields in their order";
    EXPECT_EQ(post.body.count('&'), 2) << "the '&' of the definition is encoded";
    EXPECT_EQ(ProposalServer::Field(post.body, QStringLiteral("STD_AREA_ID")), QStringLiteral("A1"));
    const QString expected =
        QStringLiteral(R"([{"REQ_GBN_CD":"0001","WORD_LOG_NM":"고객","WORD_PHY_NM":"CUST","WORD_PHY_FLL_NM":"CUST",)"
                       R"("WORD_DESC":"고객 & 손님 = 사는 사람","ATTR_CLSS_YN":"N","STD_YN":"Y"},)"
                       R"({"REQ_GBN_CD":"0001","WORD_LOG_NM":"명","WORD_PHY_NM":"NM","WORD_PHY_FLL_NM":"NAME",)"
                       R"("WORD_DESC":"명","ATTR_CLSS_YN":"Y","STD_YN":"Y"},)"
                       R"({"REQ_GBN_CD":"0001","WORD_LOG_NM":"번호","WORD_PHY_NM":"NO","WORD_PHY_FLL_NM":"NO",)"
                       R"("WORD_DESC":"번호","ATTR_CLSS_YN":"Y","STD_YN":"Y"}])");
    EXPECT_EQ(ProposalServer::Field(post.body, QStringLiteral("datas")), expected);
}

TEST(WebProposalDialog, WebViewMessagesBadJsonConsoleAndCancel)
{
    UiScript ui;
    OutputLogCapture log;
    ProposalServer server;
    server.SetPage(QStringLiteral("<html><body><script>console.log('준비');"
                                  "chrome.webview.postMessage('not json');"
                                  "setTimeout(function () { chrome.webview.postMessage({method: 'onComplete'}); }, "
                                  "200);</script></body></html>"));
    MetaWebRequest request;
    request.url = server.Url().mid(7); // as typed without "http://": still the same page
    request.term.strLogicalName = QStringLiteral("고객번호");
    CMetaWebPageDlg dialog(eMetaWebTerm);
    dialog.SetRequest(request);
    ASSERT_EQ(RunDialog(dialog), QDialog::Accepted) << "the WebView2 convention completes too";
    ASSERT_EQ(ui.messages.size(), 1u) << "the text that is not JSON shows the parser's error";
    EXPECT_FALSE(ui.messages[0].isEmpty());
    EXPECT_TRUE(log.lines.contains(QStringLiteral("WebView : 준비 - ") + server.Url()))
        << log.lines.join(u'\n').toStdString();

    // A page that never completes: closing the dialog is Cancel.
    server.SetPage(QString::fromUtf8(kIdlePage));
    CMetaWebPageDlg idle(eMetaWebTerm);
    idle.SetRequest(request);
    EXPECT_EQ(RunDialog(idle, [&idle] { idle.reject(); }), QDialog::Rejected);
    EXPECT_EQ(server.posts.size(), 2u);
}

// A page that cannot load never completes: the dialog says where and why in Korean and the
// registration counts as not done, instead of a browser error page left open.
TEST(WebProposalDialog, APageThatCannotLoadSaysSoAndRegistersNothing)
{
    UiScript ui;
    OutputLogCapture log;
    MetaWebRequest request;
    request.areaId = QStringLiteral("A1");
    request.url = QStringLiteral("http://127.0.0.1:9/std/proposal/word.do"); // nothing listens there
    request.words = ThreeWords();
    CMetaWebPageDlg dialog(eMetaWebWordMap);
    dialog.SetRequest(request);
    QTimer::singleShot(60000, &dialog, &QDialog::reject);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString message = ui.messages[0];
    EXPECT_TRUE(message.startsWith(QStringLiteral("신청 화면을 열 수 없습니다."))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("127.0.0.1:9/std/proposal/word.do"))) << message.toStdString();
    EXPECT_FALSE(message.section(QStringLiteral("이유: "), 1).trimmed().isEmpty()) << message.toStdString();
    EXPECT_EQ(dialog.Failure(), message);
}

// The dialog is a module of its own: missing, it is named with the places looked in; found,
// everything it takes from the program binds at once.
TEST(WebProposalRoute, TheModuleIsLoadedFromTheFirstPlaceThatHasIt)
{
    QString error;
    ProposalModule::SetPlaces({QStringLiteral("/nonexistent")});
    EXPECT_EQ(ProposalModule::Load(error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("libtermwise_web.so 파일이 없습니다"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent")));
    ProposalModule::SetPlaces({QStringLiteral("/nonexistent"), QStringLiteral(TERMWISE_WEB_MODULE_DIR)});
    error.clear();
    EXPECT_NE(ProposalModule::Load(error), nullptr) << error.toStdString();
}

// The registration functions take the web route where the repository publishes pages: the
// PostgreSQL repository's options point at the loopback server.
TEST(WebProposalRoute, RegistrationFollowsThePage)
{
    TempDataDir data;
    TermRepository repo;
    QString reason;
    if (!repo.Open(QStringLiteral("postgres"), reason)) {
        if (qEnvironmentVariable("CI") == QLatin1String("true") || reason.isEmpty())
            FAIL() << reason.toStdString() << repo.m_errors.join(u'\n').toStdString();
        GTEST_SKIP() << reason.toStdString();
    }
    ProposalServer server;
    server.SetPage(QString::fromUtf8(kCompletingPage));
    for (const char* id : {"Standard.WordProposalURL", "Standard.DomainProposalURL", "Standard.TermProposalURL"})
        repo.Exec(QStringLiteral("INSERT INTO ZT_OPTIONS (OPTN_ID, OPTN_VAL, OPTN_VALID_YN) VALUES (?, ?, 'Y')"),
                  {QString::fromLatin1(id), server.Url()});
    CRepositoryConnection::Instance().OnRepositoryConnected();
    ASSERT_EQ(StandardRegistration::WebRouteAddress(StandardRegistration::Kind::Word), server.Url());
    ProposalModule::SetPlaces({QStringLiteral(TERMWISE_WEB_MODULE_DIR)});
    ProposalModule::InstallHooks();
    // the A/R user the profile signs in with, not the database user
    QrARGate::InitializeCommander(0, nullptr);
    QrARGate::SetUserProfile(QStringLiteral("표준담당"));
    ASSERT_NE(CRepositoryConnection::Instance().DbUserName(), QStringLiteral("표준담당"));

    WordIndex words = ThreeWords();
    EXPECT_TRUE(GlobalFunc::InsertStandardWord(QStringLiteral("A1"), words));
    ASSERT_EQ(server.posts.size(), 1u);
    EXPECT_EQ(ProposalServer::Field(server.posts[0].body, QStringLiteral("loginId")), QStringLiteral("표준담당"));
    QrARGate::FinalizeCommander(0);

    // Never completed: the dialog is closed by the user, and nothing counts as registered.
    server.SetPage(QString::fromUtf8(kIdlePage));
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&server] {
        // the module's dialog: its class is the module's own, so only its base is known here
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && server.served >= 2)
            QTimer::singleShot(500, dialog, &QDialog::reject);
    });
    closer.start(200);
    _stAnalyzeManageDomain domain;
    domain.strKeyDomainName = QStringLiteral("번호");
    domain.strDomainName = QStringLiteral("번호VC10");
    EXPECT_FALSE(GlobalFunc::InsertStandardDomain(QStringLiteral("A1"), domain));
    closer.stop();
    EXPECT_EQ(server.posts.size(), 2u);
    StandardRegistration::SetProposalHook({});
    StandardRegistration::SetWaitCursorHook({});
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    settings.word_request = settings.domain_request = settings.term_request = 0;
    repo.Close();
}

} // namespace

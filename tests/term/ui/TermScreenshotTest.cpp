// Pictures of the term form, the registration and domain selection dialogs and the web
// proposal dialog, written when TERMWISE_SCREENSHOTS names a folder (scripts/screenshots).
#include "ProposalServer.h"
#include "TermRepository.h"
#include "forms/ui/FormRoadTestUtil.h"

#include "analysis/TermAnalysis.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "app/ui/OutputWnd.h"
#include "forms/ui/AnalysisForms.h"
#include "forms/ui/AnalyzeTermForm.h"
#include "registration/ui/DomainSelectDlg.h"
#include "registration/ui/web/MetaWebPageDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "repository/QrDbConnector.h"
#include "repository/ui/DbConnectDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QWebEngineView>

namespace {

bool Save(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    QApplication::processEvents();
    return widget.grab().save(QDir(folder).filePath(name));
}

TEST(TermScreenshots, FormDialogsAndProposalPage)
{
    if (qEnvironmentVariable("TERMWISE_SCREENSHOTS").isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS is not set";
    FreshDictionary dic;
    TermRepository repo;
    QString reason;
    ASSERT_TRUE(repo.Open(QStringLiteral("sqlite"), reason));
    repo.LoadStandard();

    const QString book = dic.dir.file(u"model.xlsx"_qs);
    WriteWorkbook(book, {{u"속성명"_qs, u"컬럼명"_qs, u"데이터타입"_qs, u"정의"_qs},
                         {u"고객번호"_qs, u"CUST_NO"_qs, u"VARCHAR(20)"_qs, u"고객을 구별하는 번호"_qs},
                         {u"주문번호"_qs, u"ORD_NO"_qs, u"VARCHAR(30)"_qs, u"주문 번호"_qs},
                         {u"손님명"_qs, u"CUST_NM"_qs, u"VARCHAR(100)"_qs, u"고객 이름"_qs},
                         {u"고객등급"_qs, u"CUST_GRD"_qs, u"CHAR(1)"_qs, u"고객의 등급"_qs},
                         {u"주문금액"_qs, u"ORD_AMT"_qs, u"NUMERIC(15,2)"_qs, u"주문 금액"_qs},
                         {u"주문일자"_qs, u"ORD_DT"_qs, u"CHAR(8)"_qs, u"주문한 날"_qs},
                         {u"고객명"_qs, u"CUST_NM"_qs, u"VARCHAR(50)"_qs, u""_qs}});
    CAnalyzeTermForm form;
    form.resize(1400, 760);
    form.show();
    form.OpenPath(book);
    ColumnRoles& roles = form.Engine().Designations();
    roles.Designate(CTermAnalysis::RoleAttribute, 0);
    roles.Designate(CTermAnalysis::RoleColumn, 1);
    roles.Designate(CTermAnalysis::RoleType, 2);
    roles.Designate(CTermAnalysis::RoleDefinition, 3);
    form.ExcludeFirstRowCheck()->setChecked(true);
    form.SelectArea(u"A1"_qs);
    form.AnalyzeButton()->click();
    ASSERT_EQ(form.Mode(), 2);
    EXPECT_TRUE(Save(form, u"term-result.png"_qs));

    _stAnalyzeManageDomain domain;
    ASSERT_TRUE(form.Engine().DomainProposal(u"고객등급"_qs, domain));
    CStandardRegisterDlg reg(CStandardRegisterDlg::ModeDomain, u"A1"_qs);
    reg.SetDomain(domain);
    reg.resize(620, 640);
    reg.show();
    EXPECT_TRUE(Save(reg, u"register.png"_qs));

    CDomainSelectDlg select(u"A1"_qs);
    select.show();
    select.SearchEdit()->setText(u"vc30"_qs);
    QTest::keyClick(select.SearchEdit(), Qt::Key_Return);
    EXPECT_TRUE(Save(select, u"domain-select.png"_qs));

    ProposalServer server;
    server.SetPage(u"<html><head><meta charset='utf-8'><style>body{font-family:sans-serif;margin:24px}"
                   "td,th{border:1px solid #bbb;padding:4px 8px}</style></head><body><h2>단어 신청</h2>"
                   "<p>신청할 단어를 확인하고 신청을 누르세요.</p><pre style='white-space:pre-wrap'>{{datas}}</pre>"
                   "<p><button onclick='metaComp.onComplete()'>신청</button></p></body></html>"_qs);
    MetaWebRequest request;
    request.areaId = u"A1"_qs;
    request.url = server.Url();
    request.words[u"GRD"_qs][u"등급"_qs] = _stAnalyzeManageWord();
    request.words[u"STAT"_qs][u"상태"_qs] = _stAnalyzeManageWord();
    CMetaWebPageDlg web(eMetaWebWordMap);
    web.SetRequest(request);
    web.resize(900, 560);
    QEventLoop loaded;
    QObject::connect(web.View(), &QWebEngineView::loadFinished, &loaded, &QEventLoop::quit);
    QTimer::singleShot(60000, &loaded, &QEventLoop::quit);
    web.show();
    loaded.exec();
    // Let the page paint before the picture.
    QEventLoop paint;
    QTimer::singleShot(1500, &paint, &QEventLoop::quit);
    paint.exec();
    EXPECT_TRUE(Save(web, u"web-proposal.png"_qs));
    web.reject();
    repo.Close();
}

// The window at 800 by 560: the term form with a result, "준수 현황" and the connection dialog.
TEST(TermScreenshots, SmallWindow)
{
    if (qEnvironmentVariable("TERMWISE_SCREENSHOTS").isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS is not set";
    FreshDictionary dic;
    UiScript ui; // the unsaved result is let go when the window closes
    TermRepository repo;
    QString reason;
    ASSERT_TRUE(repo.Open(QStringLiteral("sqlite"), reason));
    repo.LoadStandard();
    CMainFrame::ClearRegistrations();
    RegisterAnalysisForms();
    CMainFrame frame;
    frame.setWindowState(Qt::WindowNoState);
    frame.resize(800, 560);
    frame.show();
    frame.UpdateRepositoryStatus();
    ASSERT_TRUE(frame.RunCommand(AppCmd::TermForm));
    auto* form = qobject_cast<CAnalyzeTermForm*>(frame.FormWindow(EAnalysisFormKind::Term)->widget());
    ASSERT_NE(form, nullptr);
    const QString book = dic.dir.file(u"model.xlsx"_qs);
    QVector<QStringList> rows{{u"속성명"_qs, u"컬럼명"_qs, u"데이터타입"_qs, u"정의"_qs}};
    const QStringList names{u"고객번호"_qs, u"주문번호"_qs, u"고객등급"_qs, u"주문등급"_qs,
                            u"고객명"_qs,   u"주문일자"_qs, u"주문금액"_qs, u"손님명"_qs};
    for (const QString& name : names)
        rows.append({name, QString(), u"VARCHAR(20)"_qs, name + u"의 뜻"_qs});
    WriteWorkbook(book, rows);
    form->OpenPath(book);
    ColumnRoles& roles = form->Engine().Designations();
    roles.Designate(CTermAnalysis::RoleAttribute, 0);
    roles.Designate(CTermAnalysis::RoleType, 2);
    roles.Designate(CTermAnalysis::RoleDefinition, 3);
    form->ExcludeFirstRowCheck()->setChecked(true);
    EXPECT_TRUE(Save(frame, u"small-term-source.png"_qs));
    form->SelectArea(u"A1"_qs);
    form->AnalyzeButton()->click();
    ASSERT_EQ(form->Mode(), 2);
    // the pane gave up its height to the result, down to its own least
    QApplication::processEvents();
    EXPECT_TRUE(frame.MdiArea()->height() >= frame.height() * 2 / 3 - 2 ||
                frame.OutputWnd()->height() <= frame.OutputWnd()->minimumSizeHint().height() + 2)
        << frame.OutputWnd()->height();
    EXPECT_TRUE(Save(frame, u"small-term-result.png"_qs));

    WhenModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        modal->resize(std::min(modal->width(), 780), std::min(modal->height(), 540));
        EXPECT_TRUE(Save(*modal, u"small-conformance.png"_qs));
    });
    form->ReportButton()->click();

    QSettings profiles(dic.dir.file(u"profiles.ini"_qs), QSettings::IniFormat);
    CQrDbConnector::GetInstance().SetStorage(nullptr, &profiles);
    {
        CDbConnectDlg connect(CQrDbConnector::GetInstance(), QString(), 11, &frame);
        connect.show();
        connect.resize(std::min(connect.width(), 780), std::min(connect.height(), 540));
        EXPECT_TRUE(Save(connect, u"small-connection.png"_qs));
    }
    CQrDbConnector::DestroyInstance();
    frame.close();
    CMainFrame::ClearRegistrations();
    repo.Close();
}

} // namespace

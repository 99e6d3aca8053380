#include "registration/ui/web/MetaWebPageDlg.h"

#include "components/OutputLog.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "repository/QrARGate.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {

const QString kWebViewLog = QStringLiteral("WebView : %s - %s");
const QString kPageFailed = QStringLiteral("신청 화면을 열 수 없습니다.\n주소: %1\n이유: %2");

// The two completion conventions as stubs that queue calls until the channel is up.
const char kBridgeScript[] = R"JS(
(function () {
  if (window.metaComp && window.metaComp.__termwise) return;
  var queue = [];
  var bridge = null;
  function call(name, args) {
    if (bridge) bridge[name].apply(bridge, args);
    else queue.push([name, args]);
  }
  window.metaComp = {
    __termwise: true,
    onComplete: function () { call('onComplete', []); }
  };
  window.chrome = window.chrome || {};
  window.chrome.webview = window.chrome.webview || {};
  window.chrome.webview.postMessage = function (message) {
    call('postMessage', [typeof message === 'string' ? message : JSON.stringify(message)]);
  };
  new QWebChannel(qt.webChannelTransport, function (channel) {
    bridge = channel.objects.metaComp;
    var pending = queue;
    queue = [];
    pending.forEach(function (c) { bridge[c[0]].apply(bridge, c[1]); });
  });
})();
)JS";

QString WebChannelLibrary()
{
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Console lines of the page go to the output pane.
class CMetaWebEnginePage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString& sourceId) override
    {
        OutputLog::Post(CQrStringUtil::Format(kWebViewLog, {message, sourceId}));
    }
};

QString TitleOfMode(int mode)
{
    switch (mode) {
    case eMetaWebDomain:
    case eMetaWebDomainMap:
        return QStringLiteral("도메인 신청");
    case eMetaWebTerm:
        return QStringLiteral("용어 신청");
    default:
        return QStringLiteral("단어 신청");
    }
}

} // namespace

void CMetaCompBridge::onComplete()
{
    m_dialog->OnComplete();
}

void CMetaCompBridge::postMessage(const QString& text)
{
    m_dialog->OnWebMessage(text);
}

CMetaWebPageDlg::CMetaWebPageDlg(int mode, QWidget* parent) : QDialog(parent)
{
    m_request.mode = mode;
    setWindowTitle(TitleOfMode(mode));
    setSizeGripEnabled(true);
    resize(1000, 720);

    m_view = new QWebEngineView(this);
    auto* page = new CMetaWebEnginePage(m_view);
    m_view->setPage(page);
    connect(page, &QWebEnginePage::loadingChanged, this, &CMetaWebPageDlg::OnLoadingChanged);
    m_channel = new QWebChannel(page);
    m_channel->registerObject(QStringLiteral("metaComp"), new CMetaCompBridge(this));
    page->setWebChannel(m_channel);

    QWebEngineScript script;
    script.setName(QStringLiteral("termwise-metacomp"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(WebChannelLibrary() + QString::fromUtf8(kBridgeScript));
    page->scripts().insert(script);

    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
}

CMetaWebPageDlg::~CMetaWebPageDlg() = default;

void CMetaWebPageDlg::SetRequest(const MetaWebRequest& request)
{
    const int mode = m_request.mode;
    m_request = request;
    m_request.mode = mode;
}

QString CMetaWebPageDlg::LoginId()
{
    // the A/R user signed in with the profile, who may differ from the database user
    return QrARGate::GetUserNameW();
}

void CMetaWebPageDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_navigated)
        Navigate();
}

void CMetaWebPageDlg::Navigate()
{
    m_navigated = true;
    m_body = MetaWebBody::BuildBody(LoginId(), m_request);
    // An address set without its scheme ("meta.example.com/propose") is taken as http, as a
    // browser would, instead of loading a blank page.
    QWebEngineHttpRequest request(QUrl::fromUserInput(m_request.url), QWebEngineHttpRequest::Post);
    request.setHeader(QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setPostData(m_body);
    m_view->load(request);
}

void CMetaWebPageDlg::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || m_failed)
        return;
    // A page that cannot load can never report completion: say why, and the registration
    // counts as not done.
    m_failed = true;
    QString reason = info.errorString().trimmed();
    if (reason.isEmpty())
        reason = QStringLiteral("%1 %2").arg(info.errorDomain()).arg(info.errorCode());
    m_failure = kPageFailed.arg(info.url().toDisplayString(), reason);
    OutputLog::Post(m_failure.simplified());
    QMetaObject::invokeMethod(
        this,
        [this] {
            CQrMessageBox::Warning(this, m_failure);
            done(QDialog::Rejected);
        },
        Qt::QueuedConnection);
}

void CMetaWebPageDlg::OnComplete()
{
    // Queued: the page's call must return before the view goes away.
    QMetaObject::invokeMethod(
        this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
}

void CMetaWebPageDlg::OnWebMessage(const QString& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        CQrMessageBox::Warning(this, error.errorString());
        return;
    }
    if (document.object().value(QStringLiteral("method")).toString() == QLatin1String("onComplete"))
        OnComplete();
}

// The module's entry, looked up by name when the web route is first taken.
extern "C" Q_DECL_EXPORT bool TermwiseShowProposal(const MetaWebRequest& request)
{
    CMetaWebPageDlg dialog(request.mode, QApplication::activeWindow());
    dialog.SetRequest(request);
    return dialog.exec() == QDialog::Accepted;
}

#pragma once
// The web proposal dialog: posts registration candidates to the repository's proposal page
// and waits for the page to report completion.
//
// One Qt WebEngine view serves pages written for either embedded browser of old: a script
// injected at document creation provides `window.metaComp.onComplete()` and
// `window.chrome.webview.postMessage(text)`, both bridged to this dialog over QWebChannel.
// The channel connects asynchronously, so the two names exist at once as stubs that queue
// calls until it is up. Completion closes the dialog with OK; any other close is Cancel.
//
// It is built into a module of its own with Qt WebEngine under it, loaded when the web route is
// first taken (registration/ui/ProposalModule.h): the program starts without Chromium's libraries.
//
// Chromium refuses to start as root unless its sandbox is off (QTWEBENGINE_DISABLE_SANDBOX=1).
#include "registration/MetaWebRequest.h"

#include <QDialog>

class QWebEngineLoadingInfo;
class QWebEngineView;
class QWebChannel;

class CMetaWebPageDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CMetaWebPageDlg(int mode, QWidget* parent = nullptr);
    ~CMetaWebPageDlg() override;

    // The area, the payload and the proposal address; the mode stays the one constructed.
    void SetRequest(const MetaWebRequest& request);
    int Mode() const { return m_request.mode; }
    // The body posted (form-encoded); empty before the page was opened.
    QByteArray PostedBody() const { return m_body; }
    QWebEngineView* View() const { return m_view; }

    // The login id of the body: the A/R user of the connection (QrARGate::GetUserNameW).
    static QString LoginId();
    // Why the page could not load (address and reason), empty while it did not fail.
    QString Failure() const { return m_failure; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class CMetaCompBridge;
    void Navigate();
    void OnComplete();
    void OnWebMessage(const QString& text);
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);

    MetaWebRequest m_request;
    QByteArray m_body;
    QWebEngineView* m_view = nullptr;
    QWebChannel* m_channel = nullptr;
    bool m_navigated = false;
    bool m_failed = false;
    QString m_failure;
};

// Bridged to the page as "metaComp".
class CMetaCompBridge : public QObject
{
    Q_OBJECT
public:
    explicit CMetaCompBridge(CMetaWebPageDlg* dialog) : QObject(dialog), m_dialog(dialog) {}

public Q_SLOTS:
    void onComplete();
    void postMessage(const QString& text);

private:
    CMetaWebPageDlg* m_dialog;
};

#pragma once
// The main window: ribbon, tabbed MDI area with the four analysis forms (at most one of each),
// output pane, status bar and looks. Commands are routed by id; other parts plug their forms,
// dialogs and request handling in through the static Register* hooks.
#include "app/ui/VisualStyle.h"
#include "components/ui/AnalysisRequestTarget.h"

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>
#include <map>

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class CRibbonBar;
class COutputWnd;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    // Builds the widget of an analysis form; the frame puts it in an MDI child and owns it.
    using FormFactory = std::function<QWidget*()>;
    // Runs a ribbon command (a dialog usually); replaces the frame's default handling.
    using CommandHandler = std::function<void(CMainFrame&)>;
    // Handles a request code (3, 4) from another program.
    using RequestHandler = std::function<void(CMainFrame&, const QString& text)>;
    // Runs before every analysis or dictionary command, once the engine has started.
    using EngineCommandHook = std::function<void(CMainFrame&, int command)>;

    static void RegisterFormFactory(EAnalysisFormKind kind, FormFactory factory);
    static void RegisterCommand(int command, CommandHandler handler);
    static void RegisterRequestHandler(int code, RequestHandler handler);
    static void SetEngineCommandHook(EngineCommandHook hook);
    static void ClearRegistrations(); // tests

    explicit CMainFrame(QWidget* parent = nullptr);
    // The main window while one exists (the last one made), else null.
    static CMainFrame* Instance();
    ~CMainFrame() override;

    // Opens the form of the kind, or restores and activates the one already open.
    QMdiSubWindow* OpenOrActivateForm(EAnalysisFormKind kind);
    QMdiSubWindow* FormWindow(EAnalysisFormKind kind) const;
    // The widget of the active MDI child, or null.
    QWidget* ActiveForm() const;
    QMdiArea* MdiArea() const { return m_mdi; }

    // As pressing the command's button: nothing happens when the command is disabled.
    bool RunCommand(int command);
    QAction* CommandAction(int command) const;

    // The repository connection "AR". Connect opens the connection dialog, or disconnects
    // when connected; the other dialogs take the gateway from CRepositoryConnection::OpenGate().
    void ToggleRepositoryConnection();
    // termwise --repo URI: connects at once; a failure goes to the output pane.
    bool ConnectRepositoryUri(const QString& uri);
    // After "AR" opened: the command layer's session, the gateway, the dictionary start, the
    // analysis-tables flag and the proposal addresses.
    void OnRepositoryConnected();
    void OnRepositoryDisconnected();
    // Caption and icon of the connect button, the status pane and every command's state, from
    // the connection as it is now.
    void UpdateRepositoryStatus();
    // After a lost connection: "저장소 연결이 끊어졌습니다. 다시 연결하시겠습니까?" with 다시 연결,
    // 연결 해제 and 나중에. True when the repository is connected again afterwards.
    bool AskReconnect(QWidget* parent = nullptr);
    // Opens the lost connection again with the same settings; a failure is shown (Korean line,
    // then the driver's text) and the connection stays lost.
    bool ReconnectRepository(QWidget* parent = nullptr);

    // The enabling rules of every command, in one place (UpdateCommandStates): the commands
    // that need the repository follow IsRepositoryCommand, "공유 관리" also needs the analysis
    // tables and "미사용 용어" a database of type 1, 10 or 11.
    static bool IsRepositoryCommand(int command);
    bool IsRepositoryConnected() const { return m_repositoryConnected; }
    // The frame's view of the connection; UpdateRepositoryStatus sets it from "AR".
    void SetRepositoryConnected(bool connected);
    void SetRepositoryDbType(int dbmsType);
    void SetSharedDataAvailable(bool available);
    void SetArStatusText(const QString& text);
    QString ArStatusText() const;

    // The sibling dictionary tool, started with the connection's values as arguments.
    void LaunchDictionaryTool();
    // The tool's program beside this one, empty when it is not installed there.
    static QString DictionaryToolPath();

    // A frame (code, text) from another program. While a long loop pumps events under its
    // progress window, a modal dialog is open or another request is being handled, the request
    // waits and runs afterwards, in arrival order.
    void HandleRequest(int code, const QString& text);
    int PendingRequestCount() const { return int(m_pendingRequests.size()); }
    // Shows the window, restored, on top.
    void BringToFront();

    // Looks
    void ReloadThemes(const QString& folder);
    const std::vector<ThemeEntry>& Themes() const { return m_themes; }
    QMenu* StyleMenu() const { return m_styleMenu; }
    void ChooseLook(int look); // applies and keeps the choice
    void ApplyLook(int look);
    int CurrentLook() const { return m_look; }

    CRibbonBar* Ribbon() const { return m_ribbon; }
    COutputWnd* OutputWnd() const { return m_output; }
    QMenu* ApplicationMenu() const { return m_appMenu; }

    void ShowAbout();

Q_SIGNALS:
    void RepositoryStateChanged(bool connected);

protected:
    void closeEvent(QCloseEvent* event) override;
    // On a short window the output pane gives up height before the forms do.
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateCommands();
    void BuildRibbon();
    void BuildStatusBar();
    void UpdateCommandStates();
    void OnConnectionLost();
    void AskWhenIdle();
    void FitOutputPane();
    void OnCommand(int command);
    void DefaultCommand(int command);
    void HandleConnectionRequest(const QString& text);
    void ShowConnectionState(); // caption and icon of the connect button
    void DeliverRequest(EAnalysisFormKind kind, const QString& text);
    bool ReadyForRequest() const;
    void DispatchRequest(int code, const QString& text);
    void RunPendingRequests();
    QAction* AddCommand(int command, const QString& caption, const QStringList& themeIcons, int fallback);

    CRibbonBar* m_ribbon = nullptr;
    QMenu* m_appMenu = nullptr;
    QMenu* m_styleMenu = nullptr;
    QActionGroup* m_lookGroup = nullptr;
    QMdiArea* m_mdi = nullptr;
    COutputWnd* m_output = nullptr;
    QLabel* m_arStatus = nullptr;
    std::map<int, QAction*> m_commands;
    std::map<EAnalysisFormKind, QPointer<QMdiSubWindow>> m_forms;
    std::vector<ThemeEntry> m_themes;
    int m_look = CVisualStyle::kDefaultLook;
    int m_repositoryDbType = 0;
    bool m_repositoryConnected = false;
    bool m_sharedDataAvailable = false;
    std::deque<std::pair<int, QString>> m_pendingRequests;
    QTimer* m_requestTimer = nullptr;
    bool m_inRequest = false;
    QTimer* m_lostTimer = nullptr; // asks about a lost connection once no long loop is running
    bool m_asking = false;
};

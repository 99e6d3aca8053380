#include "app/ui/MainFrame.h"

#include "app/ui/AboutDlg.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppTexts.h"
#include "app/ui/CommandTips.h"
#include "app/ui/OutputWnd.h"
#include "app/ui/RibbonBar.h"
#include "components/OutputLog.h"
#include "components/QrGlobalUtil.h"
#include "components/QrProgressWnd.h"
#include "components/Redact.h"
#include "components/ui/ProgressDialogBackend.h"
#include "components/ui/QrMessageBox.h"
#include "dictionary/ui/RepositoryManageDlg.h"
#include "repository/RepositoryConnection.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"
#include "settings/ui/WordSettingDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {
std::map<EAnalysisFormKind, CShellCommands::FormFactory>& FormFactories()
{
    return CShellCommands::FormFactories();
}
std::map<int, CShellCommands::CommandHandler>& CommandHandlers()
{
    return CShellCommands::CommandHandlers();
}
std::map<int, CMainFrame::RequestHandler>& RequestHandlers()
{
    static std::map<int, CMainFrame::RequestHandler> map;
    return map;
}
CMainFrame::EngineCommandHook& EngineHook()
{
    static CMainFrame::EngineCommandHook hook;
    return hook;
}

const char* const kFormKindProperty = "termwiseFormKind";
CMainFrame* g_mainFrame = nullptr;

QString FormCaption(EAnalysisFormKind kind)
{
    switch (kind) {
    case EAnalysisFormKind::Physical:
        return QStringLiteral("단어 분석 [물리]");
    case EAnalysisFormKind::Logical:
        return QStringLiteral("단어 분석 [논리]");
    case EAnalysisFormKind::Domain:
        return QStringLiteral("도메인 분석");
    case EAnalysisFormKind::Term:
        return QStringLiteral("용어 분석");
    }
    return {};
}

// Stands in for a form whose widget nobody has registered yet.
QWidget* MakePlaceholderForm(EAnalysisFormKind kind)
{
    auto* w = new QWidget;
    w->setWindowTitle(FormCaption(kind));
    auto* layout = new QVBoxLayout(w);
    auto* label = new QLabel(FormCaption(kind) + QStringLiteral("\n\n") + AppText::FormNotBuilt, w);
    label->setObjectName(QStringLiteral("PlaceholderText"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    return w;
}

// Commands that start the analysis engine before they run.
bool NeedsEngine(int command)
{
    switch (command) {
    case AppCmd::PhysicalWordForm:
    case AppCmd::LogicalWordForm:
    case AppCmd::DomainForm:
    case AppCmd::TermForm:
    case AppCmd::Settings:
    case AppCmd::WordManage:
    case AppCmd::WordSynonym:
    case AppCmd::WordDistance:
    case AppCmd::DomainManage:
    case AppCmd::DomainClass:
        return true;
    default:
        return false;
    }
}

// A dialog made for a large screen opens within a small one: never larger than the screen's
// free area (down to what its layout needs), and inside it.
class CDialogFitter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (!dialog || !dialog->isWindow() || !dialog->screen())
            return false;
        const QRect free = dialog->screen()->availableGeometry();
        const QSize least = dialog->minimumSizeHint().expandedTo(dialog->minimumSize());
        const QSize fits = dialog->size().boundedTo(free.size() - QSize(16, 40)).expandedTo(least);
        if (fits != dialog->size())
            dialog->resize(fits);
        QRect frame = dialog->frameGeometry();
        if (!free.contains(frame)) {
            frame.moveLeft(std::clamp(frame.left(), free.left(), std::max(free.left(), free.right() - frame.width())));
            frame.moveTop(std::clamp(frame.top(), free.top(), std::max(free.top(), free.bottom() - frame.height())));
            dialog->move(frame.topLeft());
        }
        return false;
    }
};

} // namespace

bool CMainFrame::IsRepositoryCommand(int command)
{
    switch (command) {
    case AppCmd::TermForm:
    case AppCmd::RegisterWord:
    case AppCmd::RegisterDomain:
    case AppCmd::UnusedWord:
    case AppCmd::UnusedClassWord:
    case AppCmd::UnusedDomain:
    case AppCmd::UnusedTerm:
    case AppCmd::SharedManage:
        return true;
    default:
        return false;
    }
}

void CMainFrame::RegisterFormFactory(EAnalysisFormKind kind, FormFactory factory)
{
    FormFactories()[kind] = std::move(factory);
}

void CMainFrame::RegisterCommand(int command, CommandHandler handler)
{
    CommandHandlers()[command] = [handler = std::move(handler)](QWidget& frame) {
        handler(static_cast<CMainFrame&>(frame));
    };
}

void CMainFrame::RegisterRequestHandler(int code, RequestHandler handler)
{
    RequestHandlers()[code] = std::move(handler);
}

void CMainFrame::SetEngineCommandHook(EngineCommandHook hook)
{
    EngineHook() = std::move(hook);
}

void CMainFrame::ClearRegistrations()
{
    CShellCommands::Clear();
    RequestHandlers().clear();
    EngineHook() = {};
}

CMainFrame* CMainFrame::Instance()
{
    return g_mainFrame;
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    g_mainFrame = this;
    setObjectName(AppText::MainFrameClass);
    setWindowTitle(AppText::AppTitle);
    // The installed theme icon when there is one, else the copy compiled in.
    QIcon programIcon(QStringLiteral(":/icons/termwise-256.png"));
    programIcon.addFile(QStringLiteral(":/icons/termwise-48.png"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("termwise"), programIcon));
    CQrProgressWnd::SetBackend(std::make_unique<CProgressDialogBackend>(this));

    m_mdi = new QMdiArea(this);
    m_mdi->setViewMode(QMdiArea::TabbedView);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    m_mdi->setDocumentMode(true);
    setCentralWidget(m_mdi);

    CreateCommands();
    BuildRibbon();
    ReloadThemes(CVisualStyle::DefaultThemeFolder());
    BuildStatusBar();

    m_output = new COutputWnd(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_output);
    resizeDocks({m_output}, {150}, Qt::Vertical);
    // Closed with its X, the pane comes back from the 메인 menu.
    QAction* outputToggle = m_output->toggleViewAction();
    outputToggle->setText(AppText::OutputPaneToggle);
    outputToggle->setObjectName(QStringLiteral("OutputPaneToggle"));
    m_appMenu->insertAction(CommandAction(AppCmd::About), outputToggle);
    m_appMenu->insertSeparator(CommandAction(AppCmd::About));
    ApplyCommandTips(m_commands);
    QPointer<COutputWnd> out = m_output;
    OutputLog::SetSink([out](const QString& text) {
        if (out)
            out->AddText(text);
    });

    ApplyLook(CVisualStyle::SavedLook());
    // the four reads a user starts show their database errors in a box over the window
    CSqlBaseGate::SetMessageBoxHandler([this](const QString& text) { CQrMessageBox::Warning(this, text); });
    CRepositoryConnection::SetDictionaryInitializer([this] { InitializeAnalysisEngine(this); });
    CRepositoryNotifier& notifier = CRepositoryNotifier::Instance();
    connect(&notifier, &CRepositoryNotifier::Lost, this, &CMainFrame::OnConnectionLost);
    connect(&notifier, &CRepositoryNotifier::Changed, this, &CMainFrame::UpdateRepositoryStatus);
    RepositoryUi::SetLostQuestion([this](QWidget* parent) { return AskReconnect(parent); });
    qApp->installEventFilter(new CDialogFitter(this));
    m_lostTimer = new QTimer(this);
    m_lostTimer->setInterval(100);
    connect(m_lostTimer, &QTimer::timeout, this, &CMainFrame::AskWhenIdle);
    // A statement outside the gateway (the analysis service) may end the session unseen; the
    // commands follow the driver's own view of it within a second.
    auto* watch = new QTimer(this);
    watch->setInterval(1000);
    connect(watch, &QTimer::timeout, this, [this] {
        if (m_repositoryConnected && !CRepositoryConnection::Instance().IsStillOpen())
            UpdateRepositoryStatus();
    });
    watch->start();
    UpdateRepositoryStatus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

CMainFrame::~CMainFrame()
{
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
    OutputLog::SetSink({});
    CSqlBaseGate::SetMessageBoxHandler({});
    CRepositoryConnection::SetDictionaryInitializer({});
    RepositoryUi::SetLostQuestion({});
    CQrProgressWnd::SetBackend(nullptr);
}

QAction* CMainFrame::AddCommand(int command, const QString& caption, const QStringList& themeIcons, int fallback)
{
    QIcon icon;
    for (const QString& name : themeIcons) {
        icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            break;
    }
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::StandardPixmap(fallback));
    // Some fallbacks exist only at 16 pixels; the ribbon's large buttons need 32.
    QIcon sized;
    for (int extent : {16, 32}) {
        QPixmap pm = icon.pixmap(extent);
        if (pm.width() < extent)
            pm = pm.scaled(extent, extent, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        sized.addPixmap(pm);
    }
    icon = sized;
    auto* action = new QAction(icon, caption, this);
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    m_commands[command] = action;
    return action;
}

void CMainFrame::CreateCommands()
{
    struct Def
    {
        int id;
        const char16_t* caption;
        QStringList icons;
        QStyle::StandardPixmap fallback;
    };
    const Def defs[] = {
        {AppCmd::RepositoryConnect, u"A/R 연결", {"network-server", "network-wired"}, QStyle::SP_DriveNetIcon},
        {AppCmd::SharedManage, u"공유 관리", {"folder-remote"}, QStyle::SP_DirLinkIcon},
        {AppCmd::PhysicalWordForm, u"단어 분석 [물리]", {"accessories-text-editor"}, QStyle::SP_FileDialogDetailedView},
        {AppCmd::LogicalWordForm, u"단어 분석 [논리]", {"document-properties"}, QStyle::SP_FileDialogContentsView},
        {AppCmd::WordManage, u"단어 관리", {"accessories-dictionary"}, QStyle::SP_FileDialogListView},
        {AppCmd::WordSynonym, u"동의어 검토", {"edit-find-replace"}, QStyle::SP_BrowserReload},
        {AppCmd::WordDistance, u"유사도 검토", {"edit-find"}, QStyle::SP_FileDialogInfoView},
        {AppCmd::DomainForm, u"도메인 분석", {"x-office-spreadsheet"}, QStyle::SP_FileIcon},
        {AppCmd::DomainManage, u"도메인 관리", {"folder"}, QStyle::SP_DirIcon},
        {AppCmd::DomainClass, u"도메인 검토", {"view-sort-ascending"}, QStyle::SP_FileDialogToParent},
        {AppCmd::TermForm, u"용어 분석", {"x-office-document"}, QStyle::SP_DesktopIcon},
        {AppCmd::Lexicor, u"렉시코", {"accessories-dictionary", "system-run"}, QStyle::SP_ComputerIcon},
        {AppCmd::RegisterWord, u"단어 등록", {"list-add"}, QStyle::SP_DialogApplyButton},
        {AppCmd::RegisterDomain, u"도메인 등록", {"document-new"}, QStyle::SP_DialogSaveButton},
        {AppCmd::UnusedWord, u"미사용 단어", {"edit-clear"}, QStyle::SP_DialogDiscardButton},
        {AppCmd::UnusedClassWord, u"미사용 분류어", {"edit-delete"}, QStyle::SP_DialogResetButton},
        {AppCmd::UnusedDomain, u"미사용 도메인", {"user-trash"}, QStyle::SP_TrashIcon},
        {AppCmd::UnusedTerm, u"미사용 용어", {"process-stop"}, QStyle::SP_DialogCancelButton},
        {AppCmd::ChatGptExtract, u"논리명 추출", {"dialog-information"}, QStyle::SP_MessageBoxQuestion},
        {AppCmd::Settings, u"설정", {"preferences-system", "preferences-other"}, QStyle::SP_FileDialogStart},
        {AppCmd::StandardImport,
         u"공통표준 가져오기…",
         {"document-import", "document-open"},
         QStyle::SP_DialogOpenButton},
        {AppCmd::About, u"정보", {"help-about"}, QStyle::SP_MessageBoxInformation},
        {AppCmd::Exit, u"끝내기", {"application-exit"}, QStyle::SP_DialogCloseButton},
    };
    for (const Def& d : defs)
        AddCommand(d.id, QString::fromUtf16(d.caption), d.icons, d.fallback);
}

void CMainFrame::BuildRibbon()
{
    m_ribbon = new CRibbonBar(this);
    setMenuWidget(m_ribbon);

    m_appMenu = new QMenu(this);
    m_appMenu->addAction(CommandAction(AppCmd::StandardImport));
    m_appMenu->addSeparator();
    m_styleMenu = m_appMenu->addMenu(AppText::StyleMenu);
    m_appMenu->addSeparator();
    m_appMenu->addAction(CommandAction(AppCmd::About));
    m_appMenu->addAction(CommandAction(AppCmd::Exit));
    m_ribbon->SetApplicationMenu(AppText::MainCategory, m_appMenu);
    m_ribbon->SetCornerAction(CommandAction(AppCmd::About));

    const int home = m_ribbon->AddCategory(AppText::HomeCategory);
    struct PanelDef
    {
        const char16_t* caption;
        std::vector<int> commands; // 0: a separator
    };
    const PanelDef panels[] = {
        {u"데이터", {AppCmd::RepositoryConnect, 0, AppCmd::SharedManage}},
        {u"단어",
         {AppCmd::PhysicalWordForm, AppCmd::LogicalWordForm, AppCmd::WordManage, 0, AppCmd::WordSynonym,
          AppCmd::WordDistance}},
        {u"도메인", {AppCmd::DomainForm, AppCmd::DomainManage, 0, AppCmd::DomainClass}},
        {u"용어", {AppCmd::TermForm}},
        {u"표준",
         {AppCmd::Lexicor, 0, AppCmd::RegisterWord, AppCmd::RegisterDomain, 0, AppCmd::UnusedWord,
          AppCmd::UnusedClassWord, 0, AppCmd::UnusedDomain, 0, AppCmd::UnusedTerm, 0, AppCmd::ChatGptExtract}},
        {u"설정", {AppCmd::Settings}},
    };
    for (const PanelDef& p : panels) {
        CRibbonPanel* panel = m_ribbon->AddPanel(home, QString::fromUtf16(p.caption));
        for (int id : p.commands) {
            if (id == 0)
                panel->AddSeparator();
            else
                panel->AddButton(CommandAction(id));
        }
    }
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->showMessage(AppText::Ready);
    // hovering a menu or a button without a status tip clears the message; the idle text comes back
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(AppText::Ready);
    });
    m_arStatus = new QLabel(bar);
    m_arStatus->setObjectName(QStringLiteral("ArStatusPane"));
    m_arStatus->setToolTip(QStringLiteral("AR Status"));
    m_arStatus->setMinimumWidth(120);
    auto* pc = new QLabel(CQrGlobalUtil::GetComputerNameW(), bar);
    pc->setObjectName(QStringLiteral("PcPane"));
    pc->setToolTip(QStringLiteral("PC"));
    auto* date = new QLabel(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")), bar);
    date->setObjectName(QStringLiteral("DatePane"));
    date->setToolTip(QStringLiteral("DATE"));
    bar->addPermanentWidget(m_arStatus);
    bar->addPermanentWidget(pc);
    bar->addPermanentWidget(date);
}

QAction* CMainFrame::CommandAction(int command) const
{
    auto it = m_commands.find(command);
    return it == m_commands.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandStates()
{
    // The frame's view and the live connection both: a connection that went away since the
    // last status update disables the commands too.
    CRepositoryConnection& repository = CRepositoryConnection::Instance();
    const bool connected = m_repositoryConnected && repository.IsConnected();
    const bool lost = repository.IsLost();
    const bool lexicor = !DictionaryToolPath().isEmpty();
    for (auto& [id, action] : m_commands) {
        bool enabled = true;
        if (IsRepositoryCommand(id))
            enabled = connected;
        if (id == AppCmd::SharedManage)
            enabled = connected && m_sharedDataAvailable;
        if (id == AppCmd::UnusedTerm)
            enabled = connected && (m_repositoryDbType == 1 || m_repositoryDbType == 10 || m_repositoryDbType == 11);
        if (id == AppCmd::Lexicor)
            enabled = lexicor;
        action->setEnabled(enabled);
        if (IsRepositoryCommand(id))
            CRibbonBar::SetDisabledReason(action,
                                          lost ? AppText::CommandConnectionLost : CommandTips::DisabledReason(id));
        else if (id == AppCmd::Lexicor)
            CRibbonBar::SetDisabledReason(
                action, AppText::LexicorMissing.arg(QDir::toNativeSeparators(CQrGlobalUtil::GetPathProgram())));
    }
    ShowConnectionState();
}

void CMainFrame::SetRepositoryConnected(bool connected)
{
    m_repositoryConnected = connected;
    UpdateCommandStates();
}

void CMainFrame::SetRepositoryDbType(int dbmsType)
{
    m_repositoryDbType = dbmsType;
    UpdateCommandStates();
}

void CMainFrame::SetSharedDataAvailable(bool available)
{
    m_sharedDataAvailable = available;
    UpdateCommandStates();
}

void CMainFrame::SetArStatusText(const QString& text)
{
    m_arStatus->setText(RedactUri(text));
}

QString CMainFrame::ArStatusText() const
{
    return m_arStatus->text();
}

bool CMainFrame::RunCommand(int command)
{
    // the enabling rules once more against the connection as it is now
    UpdateCommandStates();
    QAction* action = CommandAction(command);
    if (!action || !action->isEnabled())
        return false;
    OnCommand(command);
    return true;
}

void CMainFrame::OnCommand(int command)
{
    // A server that went away since the last statement is found here, before the dialog
    // opens on nothing.
    if (IsRepositoryCommand(command) && !RepositoryUi::EnsureUsable(this)) {
        UpdateRepositoryStatus();
        return;
    }
    if (NeedsEngine(command)) {
        InitializeAnalysisEngine(this);
        if (EngineHook())
            EngineHook()(*this, command);
    }
    auto it = CommandHandlers().find(command);
    if (it != CommandHandlers().end() && it->second) {
        it->second(*this);
        return;
    }
    DefaultCommand(command);
}

void CMainFrame::DefaultCommand(int command)
{
    switch (command) {
    case AppCmd::PhysicalWordForm:
        OpenOrActivateForm(EAnalysisFormKind::Physical);
        return;
    case AppCmd::LogicalWordForm:
        OpenOrActivateForm(EAnalysisFormKind::Logical);
        return;
    case AppCmd::DomainForm:
        OpenOrActivateForm(EAnalysisFormKind::Domain);
        return;
    case AppCmd::TermForm:
        OpenOrActivateForm(EAnalysisFormKind::Term);
        return;
    case AppCmd::Settings: {
        CWordSettingDlg dlg(CAnalyzeSettings::Instance(), this);
        dlg.SetRequestsFromRepository(CRepositoryConnection::Instance().IsConnected());
        dlg.exec();
        return;
    }
    case AppCmd::RepositoryConnect:
        ToggleRepositoryConnection();
        return;
    case AppCmd::SharedManage: {
        CRepositoryManageDlg dlg(this);
        dlg.exec();
        return;
    }
    case AppCmd::Lexicor:
        LaunchDictionaryTool();
        return;
    case AppCmd::About:
        ShowAbout();
        return;
    case AppCmd::Exit:
        close();
        return;
    default:
        CQrMessageBox::Information(this, AppText::CommandNotBuilt);
        return;
    }
}

QMdiSubWindow* CMainFrame::FormWindow(EAnalysisFormKind kind) const
{
    auto it = m_forms.find(kind);
    if (it == m_forms.end() || !it->second)
        return nullptr;
    // a closed child lingers until its deferred deletion; it no longer counts as open
    QMdiSubWindow* sub = it->second.data();
    return sub->isHidden() ? nullptr : sub;
}

QMdiSubWindow* CMainFrame::OpenOrActivateForm(EAnalysisFormKind kind)
{
    if (QMdiSubWindow* sub = FormWindow(kind)) {
        sub->showNormal();
        m_mdi->setActiveSubWindow(sub);
        return sub;
    }
    QWidget* form = nullptr;
    auto it = FormFactories().find(kind);
    if (it != FormFactories().end() && it->second)
        form = it->second();
    if (!form)
        form = MakePlaceholderForm(kind);
    if (form->windowTitle().isEmpty())
        form->setWindowTitle(FormCaption(kind));
    form->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = m_mdi->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setProperty(kFormKindProperty, int(kind));
    m_forms[kind] = sub;
    sub->showMaximized();
    m_mdi->setActiveSubWindow(sub);
    return sub;
}

QWidget* CMainFrame::ActiveForm() const
{
    // currentSubWindow: still answers while another program has the focus
    QMdiSubWindow* sub = m_mdi->currentSubWindow();
    return sub ? sub->widget() : nullptr;
}

void CMainFrame::DeliverRequest(EAnalysisFormKind kind, const QString& text)
{
    // the child just opened or activated for the request; while another program has the focus
    // the MDI area reports no active child, so it is looked up by kind
    QMdiSubWindow* sub = FormWindow(kind);
    auto* target = sub ? dynamic_cast<IAnalysisRequestTarget*>(sub->widget()) : nullptr;
    // only the form that was just opened for the request may take it
    if (!target || sub->property(kFormKindProperty).toInt() != int(kind) || target->FormKind() != kind) {
        OutputLog::Post(AppText::RequestNoForm);
        return;
    }
    if (!target->ConfirmReplace()) {
        OutputLog::Post(AppText::RequestDeclined);
        return;
    }
    target->ApplyRequest(text);
}

bool CMainFrame::ReadyForRequest() const
{
    // A progress window or a modal dialog means some operation is still on the stack; handing a
    // form new input in the middle of it would pull its data from under it.
    return !m_inRequest && !CQrProgressWnd::IsShown() && !QApplication::activeModalWidget();
}

void CMainFrame::HandleRequest(int code, const QString& text)
{
    if (!m_pendingRequests.empty() || !ReadyForRequest()) {
        m_pendingRequests.emplace_back(code, text);
        if (!m_requestTimer) {
            m_requestTimer = new QTimer(this);
            m_requestTimer->setInterval(100);
            connect(m_requestTimer, &QTimer::timeout, this, &CMainFrame::RunPendingRequests);
        }
        m_requestTimer->start();
        return;
    }
    DispatchRequest(code, text);
}

void CMainFrame::RunPendingRequests()
{
    while (!m_pendingRequests.empty() && ReadyForRequest()) {
        auto [code, text] = std::move(m_pendingRequests.front());
        m_pendingRequests.pop_front();
        DispatchRequest(code, text);
    }
    if (m_pendingRequests.empty() && m_requestTimer)
        m_requestTimer->stop();
}

void CMainFrame::DispatchRequest(int code, const QString& text)
{
    m_inRequest = true;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_inRequest};
    auto handler = RequestHandlers().find(code);
    if (handler != RequestHandlers().end() && handler->second) {
        handler->second(*this, text);
        return;
    }
    switch (code) {
    case 0:
    case 1:
    case 2: {
        const EAnalysisFormKind kind = code == 0   ? EAnalysisFormKind::Physical
                                       : code == 1 ? EAnalysisFormKind::Logical
                                                   : EAnalysisFormKind::Domain;
        InitializeAnalysisEngine(this);
        OpenOrActivateForm(kind);
        DeliverRequest(kind, text);
        return;
    }
    case 3:
        if (!CRepositoryConnection::Instance().Exists()) {
            CQrMessageBox::Warning(this, AppText::NoConnectionInfo);
            return;
        }
        // the ribbon's own road to the term form, so whatever serves the button serves this
        OnCommand(AppCmd::TermForm);
        DeliverRequest(EAnalysisFormKind::Term, text);
        return;
    case 4:
        HandleConnectionRequest(text);
        return;
    default:
        return;
    }
}

void CMainFrame::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void CMainFrame::ReloadThemes(const QString& folder)
{
    m_themes = CVisualStyle::ScanThemes(folder);
    m_styleMenu->clear();
    delete m_lookGroup;
    m_lookGroup = new QActionGroup(this);
    m_lookGroup->setExclusive(true);
    auto add = [this](int id, const QString& name) {
        QAction* a = m_styleMenu->addAction(name);
        a->setCheckable(true);
        a->setData(id);
        a->setChecked(id == m_look);
        m_lookGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, id] { ChooseLook(id); });
    };
    add(AppCmd::LookWindows7, AppText::Windows7);
    for (const ThemeEntry& t : m_themes)
        add(t.id, t.name);
}

void CMainFrame::ChooseLook(int look)
{
    ApplyLook(look);
    CVisualStyle::SaveLook(look);
}

void CMainFrame::ApplyLook(int look)
{
    ThemeColors colors = CVisualStyle::BuiltInColors(AppCmd::LookWindows7);
    if (look >= AppCmd::LookFirstTheme) {
        // a look whose theme file is gone shows as Windows 7 but stays chosen
        for (const ThemeEntry& t : m_themes) {
            if (t.id == look) {
                CVisualStyle::ReadTheme(t.path, colors);
                break;
            }
        }
    } else if (CVisualStyle::IsBuiltInLook(look)) {
        colors = CVisualStyle::BuiltInColors(look);
    }
    m_look = look;
    CVisualStyle::ApplyToApplication(colors);
    m_ribbon->setStyleSheet(CVisualStyle::RibbonStyleSheet(colors));
    for (QAction* a : m_styleMenu->actions())
        a->setChecked(a->data().toInt() == look);
}

void CMainFrame::ShowAbout()
{
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // once the new size is laid out
    QTimer::singleShot(0, this, &CMainFrame::FitOutputPane);
}

void CMainFrame::FitOutputPane()
{
    if (!m_output || !m_output->isVisible() || m_output->isFloating())
        return;
    // The forms keep at least two thirds of the window; the pane shrinks to make it so, down
    // to its two lines of messages.
    const int missing = height() * 2 / 3 - m_mdi->height();
    if (missing <= 0)
        return;
    const int wanted = std::max(m_output->minimumSizeHint().height(), m_output->height() - missing);
    if (wanted < m_output->height())
        resizeDocks({m_output}, {wanted}, Qt::Vertical);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Forms may refuse to close (an unsaved analysis the user keeps); the window then stays,
    // and the forms after the one that refused are not asked at all.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        m_mdi->setActiveSubWindow(sub);
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

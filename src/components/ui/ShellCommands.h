#pragma once
// The ribbon's commands and the analysis forms, as the parts that own them register them.
// The main window runs them by id; the parts never need the main window, and the window
// needs no part. Register before the window runs a command.
#include "components/ui/AnalysisRequestTarget.h"

#include <functional>
#include <map>

class QWidget;

namespace AppCmd {
enum : int {
    RepositoryConnect = 30000,
    PhysicalWordForm = 30001,
    TermForm = 30006,
    Settings = 30007,
    LogicalWordForm = 30008,
    WordManage = 30009,
    DomainClass = 30010,
    WordSynonym = 30012,
    WordDistance = 30013,
    UnusedWord = 30014,
    DomainForm = 30015,
    UnusedClassWord = 30016,
    UnusedDomain = 30017,
    UnusedTerm = 30018,
    Lexicor = 30019,
    DomainManage = 30020,
    SharedManage = 30021,
    RegisterWord = 30022,
    RegisterDomain = 30023,
    ChatGptExtract = 30024,
    StandardImport = 30025,
    Style = 222,
    LookWindows7 = 219,
    LookFirstTheme = 220,
    LookLastTheme = 229,
    About = 57664,
    Exit = 57665,
};
}

class CShellCommands
{
public:
    // Builds the widget of an analysis form; the window puts it in an MDI child and owns it.
    using FormFactory = std::function<QWidget*()>;
    // Runs a ribbon command (a dialog usually) over the main window given.
    using CommandHandler = std::function<void(QWidget& frame)>;

    static void RegisterFormFactory(EAnalysisFormKind kind, FormFactory factory);
    static void RegisterCommand(int command, CommandHandler handler);
    static std::map<EAnalysisFormKind, FormFactory>& FormFactories();
    static std::map<int, CommandHandler>& CommandHandlers();
    static void Clear();
};

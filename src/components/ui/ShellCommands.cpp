#include "components/ui/ShellCommands.h"

void CShellCommands::RegisterFormFactory(EAnalysisFormKind kind, FormFactory factory)
{
    FormFactories()[kind] = std::move(factory);
}

void CShellCommands::RegisterCommand(int command, CommandHandler handler)
{
    CommandHandlers()[command] = std::move(handler);
}

std::map<EAnalysisFormKind, CShellCommands::FormFactory>& CShellCommands::FormFactories()
{
    static std::map<EAnalysisFormKind, FormFactory> map;
    return map;
}

std::map<int, CShellCommands::CommandHandler>& CShellCommands::CommandHandlers()
{
    static std::map<int, CommandHandler> map;
    return map;
}

void CShellCommands::Clear()
{
    FormFactories().clear();
    CommandHandlers().clear();
}

#include "registration/ui/RegistrationParts.h"

#include "components/ui/ShellCommands.h"
#include "registration/ui/ProposalModule.h"
#include "registration/ui/StandardRegisterDlg.h"

void RegisterRegistrationParts()
{
    ProposalModule::InstallHooks();
    // No area given: the user picks it in the dialog's combo box.
    CShellCommands::RegisterCommand(AppCmd::RegisterWord, [](QWidget& frame) {
        CStandardRegisterDlg(CStandardRegisterDlg::ModeWord, QString(), &frame).exec();
    });
    CShellCommands::RegisterCommand(AppCmd::RegisterDomain, [](QWidget& frame) {
        CStandardRegisterDlg(CStandardRegisterDlg::ModeDomain, QString(), &frame).exec();
    });
}

#include "registration/ui/RegistrationParts.h"

#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "registration/ui/MetaWebPageDlg.h"
#include "registration/ui/StandardRegisterDlg.h"

void RegisterRegistrationParts()
{
    CMetaWebPageDlg::InstallProposalHook();
    // No area given: the user picks it in the dialog's combo box.
    CMainFrame::RegisterCommand(AppCmd::RegisterWord, [](CMainFrame& frame) {
        CStandardRegisterDlg(CStandardRegisterDlg::ModeWord, QString(), &frame).exec();
    });
    CMainFrame::RegisterCommand(AppCmd::RegisterDomain, [](CMainFrame& frame) {
        CStandardRegisterDlg(CStandardRegisterDlg::ModeDomain, QString(), &frame).exec();
    });
}

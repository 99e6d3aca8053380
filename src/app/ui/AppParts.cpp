#include "app/ui/AppParts.h"

#include "analysis/ui/AnalysisForms.h"
#include "app/ui/MainFrame.h"
#include "repository/ui/RegistrationParts.h"

void RegisterApplicationParts()
{
    // One call per area, e.g.
    //   CMainFrame::RegisterCommand(AppCmd::WordManage, [](CMainFrame& f) { CWordManageDlg(&f).exec(); });
    RegisterAnalysisForms();
    RegisterRegistrationParts();
}

#include "app/AppParts.h"

#include "analysis/ui/AnalysisForms.h"
#include "app/MainFrame.h"

void RegisterApplicationParts()
{
    // One call per area, e.g.
    //   CMainFrame::RegisterCommand(AppCmd::WordManage, [](CMainFrame& f) { CWordManageDlg(&f).exec(); });
    RegisterAnalysisForms();
}

#include "app/AppParts.h"

#include "app/MainFrame.h"

void RegisterApplicationParts()
{
    // One call per area, e.g.
    //   CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [] { return new CAnalyzeLogicalWordForm; });
    //   CMainFrame::RegisterCommand(AppCmd::WordManage, [](CMainFrame& f) { CWordManageDlg(&f).exec(); });
}

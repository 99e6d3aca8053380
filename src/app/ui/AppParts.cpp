#include "app/ui/AppParts.h"

#include "analysis/ui/AnalysisForms.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "assistants/ui/ChatGPTLogicalNameExtractor.h"
#include "dictionary/ui/DomainManageDlg.h"
#include "dictionary/ui/ReviewDialogs.h"
#include "dictionary/ui/WordManageDlg.h"
#include "reports/ui/UnusedStandardDlg.h"
#include "repository/ui/RegistrationParts.h"

void RegisterApplicationParts()
{
    RegisterAnalysisForms();
    CMainFrame::RegisterCommand(AppCmd::WordManage, [](CMainFrame& f) { CWordManageDlg(&f).exec(); });
    CMainFrame::RegisterCommand(AppCmd::DomainManage, [](CMainFrame& f) { CDomainManageDlg(&f).exec(); });
    RegisterRegistrationParts();
    RegisterReviewDialogs();
    RegisterUnusedStandardDialogs();
    RegisterAssistantDialogs();
}

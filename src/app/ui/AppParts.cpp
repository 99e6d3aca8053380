#include "app/ui/AppParts.h"

#include "app/ui/AnalysisEngine.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "assistants/ui/ChatGPTLogicalNameExtractor.h"
#include "dictionary/ui/DomainManageDlg.h"
#include "dictionary/ui/ReviewDialogs.h"
#include "dictionary/ui/WordManageDlg.h"
#include "forms/ui/AnalysisForms.h"
#include "registration/ui/RegistrationParts.h"
#include "reports/ui/UnusedStandardDlg.h"
#include "standard/ui/StandardImportDlg.h"
#include "standard/ui/StandardOffer.h"

void RegisterApplicationParts()
{
    RegisterAnalysisForms();
    CMainFrame::RegisterCommand(AppCmd::WordManage, [](CMainFrame& f) { CWordManageDlg(&f).exec(); });
    CMainFrame::RegisterCommand(AppCmd::DomainManage, [](CMainFrame& f) { CDomainManageDlg(&f).exec(); });
    RegisterRegistrationParts();
    RegisterReviewDialogs();
    RegisterUnusedStandardDialogs();
    RegisterAssistantDialogs();
    CMainFrame::RegisterCommand(AppCmd::StandardImport, [](CMainFrame& f) {
        InitializeAnalysisEngine(&f); // the dictionary it may load into
        CStandardImportDlg(&f).exec();
    });
    CMainFrame::SetEngineCommandHook([](CMainFrame& f, int command) {
        if (command != AppCmd::Settings)
            OfferBuiltinStandard(&f);
    });
}

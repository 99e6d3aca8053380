#include "dictionary/ui/ReviewDialogs.h"

#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "dictionary/ui/DomainClassDlg.h"
#include "dictionary/ui/WordDistanceDlg.h"
#include "dictionary/ui/WordSynonymDlg.h"
#include "settings/AnalyzeSettings.h"

void RegisterReviewDialogs()
{
    CMainFrame::RegisterCommand(AppCmd::WordSynonym, [](CMainFrame& frame) {
        CWordSynonymDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
    CMainFrame::RegisterCommand(AppCmd::WordDistance, [](CMainFrame& frame) {
        CWordDistanceDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
    CMainFrame::RegisterCommand(AppCmd::DomainClass, [](CMainFrame& frame) {
        CDomainClassDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
}

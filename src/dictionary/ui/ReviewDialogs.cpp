#include "dictionary/ui/ReviewDialogs.h"

#include "components/ui/ShellCommands.h"
#include "dictionary/ui/DomainClassDlg.h"
#include "dictionary/ui/WordDistanceDlg.h"
#include "dictionary/ui/WordSynonymDlg.h"
#include "settings/AnalyzeSettings.h"

void RegisterReviewDialogs()
{
    CShellCommands::RegisterCommand(AppCmd::WordSynonym, [](QWidget& frame) {
        CWordSynonymDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
    CShellCommands::RegisterCommand(AppCmd::WordDistance, [](QWidget& frame) {
        CWordDistanceDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
    CShellCommands::RegisterCommand(AppCmd::DomainClass, [](QWidget& frame) {
        CDomainClassDlg dlg(CAnalyzeSettings::Instance(), &frame);
        dlg.exec();
    });
}

#include "analysis/ui/AnalysisForms.h"

#include "analysis/ui/AnalyzeDomainForm.h"
#include "analysis/ui/AnalyzeLogicalWordForm.h"
#include "analysis/ui/AnalyzePhysicalWordForm.h"
#include "app/ui/MainFrame.h"

void RegisterAnalysisForms()
{
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [] { return new CAnalyzeLogicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Physical, [] { return new CAnalyzePhysicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Domain, [] { return new CAnalyzeDomainForm; });
}

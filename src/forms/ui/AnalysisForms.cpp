#include "forms/ui/AnalysisForms.h"

#include "app/ui/MainFrame.h"
#include "forms/ui/AnalyzeDomainForm.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "forms/ui/AnalyzePhysicalWordForm.h"
#include "forms/ui/AnalyzeTermForm.h"

void RegisterAnalysisForms()
{
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [] { return new CAnalyzeLogicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Physical, [] { return new CAnalyzePhysicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Domain, [] { return new CAnalyzeDomainForm; });
    // "용어 분석" and request code 3 open or activate this one form.
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Term, [] { return new CAnalyzeTermForm; });
}

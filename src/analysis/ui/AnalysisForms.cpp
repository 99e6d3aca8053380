#include "analysis/ui/AnalysisForms.h"

#include "analysis/ui/AnalyzeDomainForm.h"
#include "analysis/ui/AnalyzeLogicalWordForm.h"
#include "analysis/ui/AnalyzePhysicalWordForm.h"
#include "analysis/ui/AnalyzeTermForm.h"
#include "app/ui/MainFrame.h"

void RegisterAnalysisForms()
{
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Logical, [] { return new CAnalyzeLogicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Physical, [] { return new CAnalyzePhysicalWordForm; });
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Domain, [] { return new CAnalyzeDomainForm; });
    // "용어 분석" and request code 3 open or activate this one form.
    CMainFrame::RegisterFormFactory(EAnalysisFormKind::Term, [] { return new CAnalyzeTermForm; });
}

#include "forms/ui/AnalysisForms.h"

#include "components/ui/ShellCommands.h"
#include "forms/ui/AnalyzeDomainForm.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "forms/ui/AnalyzePhysicalWordForm.h"
#include "forms/ui/AnalyzeTermForm.h"

void RegisterAnalysisForms()
{
    CShellCommands::RegisterFormFactory(EAnalysisFormKind::Logical, [] { return new CAnalyzeLogicalWordForm; });
    CShellCommands::RegisterFormFactory(EAnalysisFormKind::Physical, [] { return new CAnalyzePhysicalWordForm; });
    CShellCommands::RegisterFormFactory(EAnalysisFormKind::Domain, [] { return new CAnalyzeDomainForm; });
    // "용어 분석" and request code 3 open or activate this one form.
    CShellCommands::RegisterFormFactory(EAnalysisFormKind::Term, [] { return new CAnalyzeTermForm; });
}

#include "app/ui/Cli.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/EditionImpact.h"
#include "standard/ui/ConformanceDlg.h"

int main(int argc, char** argv)
{
    // The check and its window, a floor below, write the fix script through this hook.
    FixScriptHook::Set(&Diagnosis::WriteFixScript);
    // "준수 현황" compares with an older area through the diagnosis the same way.
    CConformanceDlg::SetSinceBuilder(&EditionImpact::BuildForAnalysis);
    return termwise::RunMain(argc, argv);
}

#include "app/ui/Cli.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/EditionImpact.h"
#include "standard/ui/ConformanceDlg.h"

#include <cstring>
#ifdef TERMWISE_MIMALLOC
#include <mimalloc.h>
#endif

int main(int argc, char** argv)
{
    // The check and its window, a floor below, write the fix script through this hook.
    FixScriptHook::Set(&Diagnosis::WriteFixScript);
    // "준수 현황" compares with an older area through the diagnosis the same way.
    CConformanceDlg::SetSinceBuilder(&EditionImpact::BuildForAnalysis);
#ifdef TERMWISE_MIMALLOC
    // A check frees and makes its batches over and over within a bounded heap: memory handed
    // back to the system between batches only came back as page faults (a tenth of its time).
    if (argc > 1 && std::strcmp(argv[1], "check") == 0)
        mi_option_disable(mi_option_allow_decommit);
#endif
    return termwise::RunMain(argc, argv);
}

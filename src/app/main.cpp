#include "app/ui/Cli.h"
#include "diagnosis/Diagnosis.h"

int main(int argc, char** argv)
{
    // The check and its window, a floor below, write the fix script through this hook.
    FixScriptHook::Set(&Diagnosis::WriteFixScript);
    return termwise::RunMain(argc, argv);
}

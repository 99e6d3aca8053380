#include "app/ui/Cli.h"
#include "diagnosis/FixScript.h"

int main(int argc, char** argv)
{
    // The check and its window, a floor below, write the fix script through this hook.
    FixScriptHook::Set(&FixScript::WriteForAnalysis);
    return termwise::RunMain(argc, argv);
}

#include "app/ui/Cli.h"

int main(int argc, char** argv)
{
    return termwise::RunMain(argc, argv);
}

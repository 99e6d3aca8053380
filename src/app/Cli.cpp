#include "app/Cli.h"
#include "repository/RepositoryInit.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace termwise {

int RunMain(int argc, char** argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "--version") == 0)) {
        std::printf("termwise %s\n", TERMWISE_VERSION);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "repo") == 0)
        return RunRepositoryCommand(argc - 1, argv + 1);
    std::fprintf(stderr, "termwise: not built yet\n");
    return 2;
}

} // namespace termwise

#include "app/Cli.h"
#include "components/QrProgressWnd.h"
#include "dictionary/SimilarCommand.h"
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
    if (argc > 1 && std::strcmp(argv[1], "similar") == 0) {
        QCoreApplication app(argc, argv);
        CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>());
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        const int status = RunSimilarCommand(args);
        CQrProgressWnd::SetBackend(nullptr);
        return status;
    }
    std::fprintf(stderr, "termwise: not built yet\n");
    return 2;
}

} // namespace termwise

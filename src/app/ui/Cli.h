#pragma once
// Entry: the desktop program without arguments, the command line with a sub-command.
#include <QStringList>

namespace termwise {
int RunMain(int argc, char** argv);

// A sub-command gets the arguments after its name and returns the exit status
// (0 success, 1 bad input, 2 usage error).
struct SubCommand
{
    const char* name;
    int (*run)(const QStringList& args);
    const char* usage; // one line, shown by --help
};

// `send CODE FILE`: hands a request to the running program's local server.
int RunSend(const QStringList& args);
} // namespace termwise

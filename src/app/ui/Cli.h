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
    QString (*help)(); // the command's own usage for `termwise NAME --help`; null: usage
};

// `send CODE FILE`: hands a request to the running program's local server.
int RunSend(const QStringList& args);
} // namespace termwise

#pragma once
// termwise share download|upload --repo URI [--excluded] [--prefer local|server] [--data-dir DIR]
// The dialogs' sharing without a window: words and domains (or, with --excluded, the excluded
// words and domains) of the local dictionary against the repository's analysis tables.
// Conflicts are settled by --prefer; by default the entry of the side being written keeps
// its value, as the dialogs' "보류" does. Each changed entry is printed as the output pane shows it.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace ShareCommand {

struct Options
{
    bool upload = false;
    QString repo;
    bool excluded = false;
    QString prefer; // "", "local" or "server"
    QString dataDir;
};

// The arguments after "share". False with a message on a usage error.
bool Parse(const QStringList& args, Options& options, QString& error);
// 0 done, 1 bad input or a failure of the repository (message on err).
int Run(const Options& options, QTextStream& out, QTextStream& err);

} // namespace ShareCommand

// The sub-command: 0 success, 1 bad input, 2 usage error.
int RunShareCommand(const QStringList& args);

#pragma once
// termwise similar logical|physical [--data-dir DIR] --output FILE.json
// Runs the similar-word review over the analysis dictionary and writes the groups in the
// order the dialog shows them.
#include "dictionary/SimilarWordReview.h"

#include <QJsonDocument>
#include <QString>
#include <QStringList>

namespace SimilarCommand {

struct Options
{
    SimilarWords::View view = SimilarWords::View::Logical;
    QString dataDir; // empty: the common data folder
    QString output;
};

// The arguments after "similar". False with a message on a usage error.
bool Parse(const QStringList& args, Options& options, QString& error);

// Loads <data dir>/standard/termwise.json, runs the view and writes
// {"groups": [{"name", "partners", "similar": [{"name", "partners"}]}]} as the groups are found.
// Returns the exit status: 0 done, 1 bad input (message in error).
int Run(const Options& options, QString& error);

} // namespace SimilarCommand

// The sub-command: arguments after its name; 0 success, 1 bad input, 2 usage error.
// Messages go to stderr.
int RunSimilarCommand(const QStringList& args);

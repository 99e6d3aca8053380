#pragma once
// An output must never take the place of an input: a report written over the model it reads,
// or over the open SQLite repository, destroys what the user had. Commands ask this before
// reading anything. Paths are compared as the system resolves them (relative, "..", symbolic
// links), a file that does not exist yet by its resolved folder.
#include <QString>
#include <vector>

namespace PathGuard {

struct Named
{
    QString option; // "--output", "--input", "--repo"
    QString path;   // a file, or a connection (only sqlite:PATH names a file)
};

// The file a path or sqlite: connection names, resolved; empty for a server connection or an
// empty path.
QString FileOf(const QString& pathOrUri);

// A Korean message when an output is the same file as an input or as another output; empty
// when every output is a file of its own.
QString Clash(const std::vector<Named>& inputs, const std::vector<Named>& outputs);

} // namespace PathGuard

#pragma once
// termwise standard import (--repo URI --area ID [--area-name NAME] [--replace] | --data-dir DIR)
//                          (--builtin | FILES...)
#include <QStringList>

class CSqlBaseGate;
class ISqlExecutor;
class QTextStream;
struct StandardImportSummary;

namespace StandardCommand {
// args are the words after "standard". Exit status 0, 1 (bad input), 2 (usage).
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
QString UsageText();

// What an import into a repository area printed: counts, then the rows not taken.
void PrintRepositorySummary(const QString& area, const StandardImportSummary& summary, bool replace, QTextStream& out);
// `repo init --standard`: the built-in edition into area PUB "공통표준 7차"; refused when the
// area holds current standards. printed receives the summary.
bool LoadBuiltinIntoRepository(ISqlExecutor& database, CSqlBaseGate& gate, QString& printed, QString& error);
} // namespace StandardCommand

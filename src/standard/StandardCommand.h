#pragma once
// termwise standard import (--repo URI --area ID [--area-name NAME] [--replace] | --data-dir DIR)
//                          (--builtin [KEY] | FILES...)
// termwise standard diff OLD NEW [--output FILE.xlsx|FILE.json]
#include <QStringList>

class CSqlBaseGate;
class ISqlExecutor;
class QTextStream;
struct StandardImportSummary;

namespace StandardCommand {
// args are the words after "standard". Exit status 0, 1 (bad input), 2 (usage).
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
QString UsageText();
// `standard diff`: args are the words after "diff" (StandardDiffCommand.cpp).
int RunDiff(const QStringList& args, QTextStream& out, QTextStream& err);

// What an import into a repository area printed: counts, then the rows not taken.
void PrintRepositorySummary(const QString& area, const StandardImportSummary& summary, bool replace, QTextStream& out);
// `repo init --standard`: the default built-in edition into area PUB "공통표준 8차"; refused when the
// area holds current standards. printed receives the summary.
bool LoadBuiltinIntoRepository(ISqlExecutor& database, CSqlBaseGate& gate, QString& printed, QString& error);
} // namespace StandardCommand

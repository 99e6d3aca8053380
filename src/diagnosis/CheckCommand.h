#pragma once
// termwise check --input MODEL [designations] --repo URI --area ID --output REPORT.xlsx|REPORT.json
#include <QStringList>

class QTextStream;

namespace CheckCommand {
// args are the words after "check". Exit status 0, 1 (bad input), 2 (usage).
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
QString UsageText();
} // namespace CheckCommand

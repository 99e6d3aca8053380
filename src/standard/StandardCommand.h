#pragma once
// termwise standard import (--repo URI --area ID [--area-name NAME] [--replace] | --data-dir DIR) FILES...
#include <QStringList>

class QTextStream;

namespace StandardCommand {
// args are the words after "standard". Exit status 0, 1 (bad input), 2 (usage).
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
QString UsageText();
} // namespace StandardCommand

#pragma once
// termwise analyze KIND --input FILE [options] --output FILE: the analyses without a window.
#include <QString>
#include <QStringList>

class QTextStream;

namespace AnalyzeCommand {

// Exit status: 0 success, 1 bad input (message on err), 2 usage error.
enum Status { Ok = 0, BadInput = 1, Usage = 2 };

// args are the words after "analyze". A summary of the result goes to out.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
QString UsageText();

} // namespace AnalyzeCommand

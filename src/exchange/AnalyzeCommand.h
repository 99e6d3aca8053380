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
// For a process that ends right after Run: the engine is not freed (the system takes the
// memory back at once). Off by default, so tests and other callers free it as usual.
void SetKeepHeapAtExit(bool keep);

} // namespace AnalyzeCommand

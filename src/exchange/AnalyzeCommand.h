#pragma once
// termwise analyze KIND --input FILE [options] --output FILE: the analyses without a window.
#include <QString>
#include <QStringList>
#include <map>

class CTermAnalysis;
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

// The column designations of `analyze` (--attr/--column/--def/--ref/--type/--length/--scale
// LETTER, --skip-first-row), for other commands that read an attribute list.
struct Designations
{
    std::map<QString, int> columns; // option name ("attr", ...) -> column index
    bool skipFirstRow = false;
};
// When args[i] is a designation option, takes it (and its value, moving i) and returns true;
// a bad value sets problem.
bool TakeDesignation(const QStringList& args, int& i, Designations& designations, QString& problem);
// Reads a workbook (with the designations) or a term document into the engine; fromDocument
// tells which (a document carries its own targets). Status as Run's; the message on err.
int LoadTermModel(CTermAnalysis& engine, const QString& input, const Designations& designations, QTextStream& err,
                  bool& fromDocument);

} // namespace AnalyzeCommand

#pragma once
// termwise analyze KIND --input FILE [options] --output FILE: the analyses without a window.
#include "exchange/ModelSource.h"

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
bool KeepHeapAtExit();

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
// What narrows or tells how to read a model from a .sql script or a database URI
// (--schema NAME repeated, --tables PATTERN, --dialect NAME).
struct ModelOptions
{
    QStringList schemas;
    QString tables;
    QString dialect;
};
// When args[i] is one of those options, takes it and its value and returns true; a bad value
// sets problem.
bool TakeModelOption(const QStringList& args, int& i, ModelOptions& options, QString& problem);
// The usage error of an input list with its options (designations given to a model read from a
// database, several inputs that are not all scripts ...); empty when they fit together.
QString InputProblem(const QStringList& inputs, const Designations& designations, const ModelOptions& options);

} // namespace AnalyzeCommand

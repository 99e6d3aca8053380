#pragma once
// `termwise analyze term --input FILE --repo URI [--area ID] [options] --output FILE`:
// the term analysis of a workbook, a term document (.ztst) or a term request (.json)
// against one standard area of a repository.
//
// argv[0] is "analyze", argv[1] "term". Exit status 0, 1 (bad input, message on stderr) or
// 2 (usage).
#include <QString>

int RunTermAnalyzeCommand(int argc, char** argv);

// Column letters as a zero-based index ("A" 0, "Z" 25, "AA" 26); -1 for anything else.
int ColumnLettersToIndex(const QString& letters);

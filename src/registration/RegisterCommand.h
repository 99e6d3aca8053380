#pragma once
// termwise register words|domains --repo URI --area ID --input FILE [--dry-run]
// The registration lists without a window: candidates from a workbook or CSV file whose
// header row names the columns as the management grids do, checked against the area's
// standards and, unless --dry-run, registered through the direct route. A repository that
// takes proposals of that kind through its web page needs a person: nothing is written.
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

class CColumnLimits;

namespace RegisterCommand {

struct Options
{
    bool domains = false;
    QString repo;
    QString area;
    QString input;
    bool dryRun = false;
};

bool Parse(const QStringList& args, Options& options, QString& error);

// The rows of a .xlsx/.xls or .csv file; false with a message naming the file.
bool ReadTable(const QString& path, std::vector<QStringList>& rows, QString& error);
// Candidates from the rows (the first is the header); false with a message naming file and row.
// Every value is checked as it would be written (no control character; a definition may hold
// tabs and line breaks), and with limits also against the repository's column lengths: one
// bad row refuses the whole file, and the message lists the bad rows.
bool ReadWords(const QString& path, const std::vector<QStringList>& rows, WordIndex& words, QString& error,
               const CColumnLimits* limits = nullptr);
bool ReadDomains(const QString& path, const std::vector<QStringList>& rows, DomainIndex& domains, QString& error,
                 const CColumnLimits* limits = nullptr);

int Run(const Options& options, QTextStream& out, QTextStream& err);

} // namespace RegisterCommand

int RunRegisterCommand(const QStringList& args);

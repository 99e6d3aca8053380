#pragma once
// "출력": the form's result entries as a workbook, one row per entry in key order, never
// narrowed by the grid's filters.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class WordAnalysis;
class DomainAnalysis;
class CTermAnalysis;

namespace ExcelExport {

// Header row first, then one row per result entry.
std::vector<QStringList> Rows(const WordAnalysis& analysis);
std::vector<QStringList> Rows(const DomainAnalysis& analysis);
std::vector<QStringList> Rows(const CTermAnalysis& analysis);

// Writes the rows with the export progress window; false with the reason when the
// workbook cannot be created or written.
bool Write(const std::vector<QStringList>& rows, const QString& path, QString* error = nullptr);

// The same, the rows made one at a time as they are written (row 0 is the header), so a large
// export is never held whole.
using RowAt = std::function<QStringList(size_t)>;
bool Write(size_t rowCount, const RowAt& rowAt, const QString& path, QString* error = nullptr);

// The rows of Rows(analysis), streamed.
bool Write(const WordAnalysis& analysis, const QString& path, QString* error = nullptr);
bool Write(const DomainAnalysis& analysis, const QString& path, QString* error = nullptr);

} // namespace ExcelExport

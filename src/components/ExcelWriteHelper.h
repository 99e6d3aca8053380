#pragma once
// Minimal workbook writer for grid exports: one sheet, every cell a text.
#include <QString>
#include <QStringList>
#include <vector>

// Writes rows (the first usually the header) to an .xlsx file. The file appears only when the
// whole workbook was written, so a failed export never leaves a broken file in place of a good
// one. Texts longer than a cell can hold are cut to 32,767 characters. False with a reason on failure.
bool SaveSheetXlsx(const QString& path, const std::vector<QStringList>& rows, QString* error = nullptr);

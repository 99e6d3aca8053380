#pragma once
// Pieces both report dialogs use.
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;
class CQrTreeGrid;

namespace ReportDlgUtil {
// Asks for a workbook, writes the rows with the export progress texts, asks to open it.
void ExportRows(QWidget* parent, const std::vector<QStringList>& rows, const QString& progressText);
// The selected rows of a grid, or the current one when none is selected.
std::vector<int> SelectedRows(const CQrTreeGrid* grid);
// Makes a row read-only and grey.
void GreyRow(CQrTreeGrid* grid, int row);
} // namespace ReportDlgUtil

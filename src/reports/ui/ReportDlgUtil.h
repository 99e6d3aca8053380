#pragma once
// Pieces both report dialogs use.
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QWidget;
class CQrTreeGrid;

namespace ReportDlgUtil {
// The input path of the analysis form above the widget, empty when there is none.
QString InputPathOf(const QWidget* widget);
// Asks for a workbook (proposing the input's name as .xlsx), writes the rows with the export progress texts, asks to
// open it.
void ExportRows(QWidget* parent, const std::vector<QStringList>& rows, const QString& progressText);
// The selected rows of a grid, or the current one when none is selected.
std::vector<int> SelectedRows(const CQrTreeGrid* grid);
// The stored count followed by the rows passed over and why (at most 15 listed).
QString StoredMessage(const QString& countText, const QStringList& skipped, int untouched);
// A one-line notice under a report's grid: what an automatic proposal did or did not find.
QLabel* MakeNoticeLabel(QWidget* parent);
// Makes a row read-only and grey.
void GreyRow(CQrTreeGrid* grid, int row);
} // namespace ReportDlgUtil

#include "reports/ui/ReportDlgUtil.h"

#include "components/ExcelWriteHelper.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "reports/ReportTexts.h"

#include <QItemSelectionModel>
#include <set>

namespace ReportDlgUtil {

void ExportRows(QWidget* parent, const std::vector<QStringList>& rows, const QString& progressText)
{
    const QString path = CQrFileDialog::GetSaveFileName(parent, ReportTexts::kExcelFilter, QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    CQrProgressWnd::ShowMarquee(progressText, ReportTexts::kProgressExport, parent);
    QString why;
    const bool written = SaveSheetXlsx(path, rows, &why);
    CQrProgressWnd::Hide();
    if (!written) {
        // Said plainly instead of asking to open a workbook that is not there.
        CQrMessageBox::Warning(parent, why);
        return;
    }
    if (CQrMessageBox::Question(parent, ReportTexts::kExportDone))
        CQrShell::Open(path);
}

std::vector<int> SelectedRows(const CQrTreeGrid* grid)
{
    std::set<int> rows;
    for (const QModelIndex& index : grid->selectionModel()->selectedIndexes())
        rows.insert(grid->Model()->RowOf(index));
    if (rows.empty() && grid->GetCurrentRow() >= 0)
        rows.insert(grid->GetCurrentRow());
    return {rows.begin(), rows.end()};
}

void GreyRow(CQrTreeGrid* grid, int row)
{
    for (int col = 0; col < grid->GetColumnCount(); ++col)
        grid->Model()->SetCellFlag(row, col, CQrTreeGridModel::FlagEditable, false);
    grid->SetReadOnlyRow(row, CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey));
}

} // namespace ReportDlgUtil

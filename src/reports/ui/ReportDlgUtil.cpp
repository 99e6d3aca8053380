#include "reports/ui/ReportDlgUtil.h"

#include "components/ExcelWriteHelper.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "reports/ReportTexts.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <set>

namespace ReportDlgUtil {

QString InputPathOf(const QWidget* widget)
{
    // the analysis form that opened the report keeps the path of its input
    for (; widget; widget = widget->parentWidget()) {
        const QString path = widget->property("inputPath").toString();
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void ExportRows(QWidget* parent, const std::vector<QStringList>& rows, const QString& progressText)
{
    const QString proposed = CQrFileDialog::ProposePath(InputPathOf(parent), QStringLiteral("xlsx"));
    const QString path = CQrFileDialog::GetExportFileName(parent, proposed);
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
        CQrShell::Open(path, parent);
}

QString StoredMessage(const QString& countText, const QStringList& skipped, int untouched)
{
    constexpr int kListed = 15;
    QString text = countText;
    if (!skipped.isEmpty()) {
        text += QStringLiteral("\n\n") + ReportTexts::kSkippedHeader;
        for (int i = 0; i < skipped.size() && i < kListed; ++i)
            text += QStringLiteral("\n") + skipped[i];
        if (skipped.size() > kListed)
            text += QStringLiteral("\n") + ReportTexts::kSkippedMore.arg(skipped.size() - kListed);
    }
    if (untouched > 0)
        text += (skipped.isEmpty() ? QStringLiteral("\n\n") : QStringLiteral("\n")) +
                ReportTexts::kSkippedUntouched.arg(untouched);
    return text;
}

QLabel* MakeNoticeLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("ReportNotice"));
    label->setWordWrap(true);
    return label;
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

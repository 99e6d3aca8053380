#include "analysis/ui/FormExchange.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"

namespace {
const QString kNotExcel = QStringLiteral("not vaild excel file");
const QString kNotYet = QStringLiteral("analysis documents are not available in this build");
} // namespace

namespace FormExchange {

bool ReadSheet(const QString& path, QVector<QStringList>& rows, QString& message)
{
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, false)) {
        message = kNotExcel;
        return false;
    }
    const int count = sheet.GetRowCount();
    rows.clear();
    rows.reserve(count);
    QStringList cells;
    for (int row = 0; row < count; ++row) {
        cells.clear();
        sheet.GetRowData(cells, row, -1);
        rows.append(cells);
    }
    return true;
}

bool WriteRows(const QString& path, const std::vector<QStringList>& rows, QString& message)
{
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, true)) {
        message = sheet.GetLastError();
        return false;
    }
    for (size_t row = 0; row < rows.size(); ++row)
        sheet.SetRowDataRange(rows[row], int(row));
    if (!sheet.Save(1)) {
        message = sheet.GetLastError();
        return false;
    }
    return true;
}

bool ReadDocument(WordAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool ReadDocument(DomainAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool WriteDocument(const WordAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool WriteDocument(const DomainAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool WriteWorkbook(const WordAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool WriteWorkbook(const DomainAnalysis&, const QString&, QString& message)
{
    message = kNotYet;
    return false;
}

bool ReadRequest(WordAnalysis&, const QString&, QString& message)
{
    message.clear();
    return false;
}

bool ReadRequest(DomainAnalysis&, const QString&, QString& message)
{
    message.clear();
    return false;
}

} // namespace FormExchange

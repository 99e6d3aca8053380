#include "components/ExcelWriteHelper.h"

#include "components/QrExcelSheet.h"
#include "components/excel/SheetData.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

// The same writer as the analysis exports, without their progress window.
bool SaveSheetXlsx(const QString& path, const std::vector<QStringList>& rows, QString* error)
{
    if (path.isEmpty())
        return Fail(error, QStringLiteral("파일 이름이 없습니다"));
    if (rows.size() > excel::kMaxRows)
        return Fail(error, QStringLiteral("한 시트에 담기에는 행이 너무 많습니다: %1행").arg(rows.size()));
    const QFileInfo info(path);
    if (!info.dir().exists())
        return Fail(error, QStringLiteral("폴더가 없습니다: %1").arg(info.absolutePath()));
    CQrExcelSheet sheet(true);
    bool ok = sheet.OpenFile(path, true);
    for (size_t r = 0; ok && r < rows.size(); ++r)
        ok = sheet.SetRowDataRange(rows[r], int(r));
    if (ok && sheet.Save(1))
        return true;
    return Fail(error, sheet.GetLastError());
}

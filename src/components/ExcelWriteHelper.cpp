#include "components/ExcelWriteHelper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cstdio>
#include <xlsxwriter.h>

namespace {
constexpr int kMaxCellChars = 32767;
constexpr size_t kMaxRows = 1048576;
constexpr int kMaxCols = 16384;

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool SaveSheetXlsx(const QString& path, const std::vector<QStringList>& rows, QString* error, const QString& sheetName)
{
    if (path.isEmpty())
        return Fail(error, QStringLiteral("no file name"));
    if (rows.size() > kMaxRows)
        return Fail(error, QStringLiteral("too many rows for one sheet: %1").arg(rows.size()));
    const QFileInfo info(path);
    if (!info.dir().exists())
        return Fail(error, QStringLiteral("folder does not exist: %1").arg(info.absolutePath()));

    // Write beside the target, then move into place.
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
                         QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".tmp");
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* wb = workbook_new(tempName.constData());
    if (!wb)
        return Fail(error, QStringLiteral("cannot create %1").arg(path));
    const QByteArray sheet = (sheetName.isEmpty() ? QStringLiteral("Sheet1") : sheetName.left(31)).toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.constData());
    if (!ws)
        ws = workbook_add_worksheet(wb, nullptr); // name Excel would refuse
    lxw_error err = LXW_NO_ERROR;
    for (size_t r = 0; ws && r < rows.size() && err == LXW_NO_ERROR; ++r) {
        const QStringList& cells = rows[r];
        const int n = std::min(int(cells.size()), kMaxCols);
        for (int c = 0; c < n; ++c) {
            if (cells[c].isEmpty())
                continue;
            const QByteArray utf8 = cells[c].left(kMaxCellChars).toUtf8();
            err = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), utf8.constData(), nullptr);
            if (err != LXW_NO_ERROR)
                break;
        }
    }
    const lxw_error closeErr = workbook_close(wb);
    if (err == LXW_NO_ERROR)
        err = closeErr;
    if (!ws || err != LXW_NO_ERROR) {
        QFile::remove(temp);
        return Fail(
            error,
            QStringLiteral("cannot write %1: %2").arg(path, QString::fromUtf8(ws ? lxw_strerror(err) : "no sheet")));
    }
    // rename() replaces the old file in one step where the system allows it
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    if (QFile::exists(path) && !QFile::remove(path)) {
        QFile::remove(temp);
        return Fail(error, QStringLiteral("cannot replace %1").arg(path));
    }
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        return Fail(error, QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

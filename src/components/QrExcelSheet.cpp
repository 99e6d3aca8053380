#include "components/QrExcelSheet.h"

#include "components/excel/SheetData.h"
#include "components/excel/XlsReader.h"
#include "components/excel/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <xlsxwriter.h>

CQrExcelSheet::CQrExcelSheet(bool) : m_sheet(std::make_unique<excel::SheetData>()) {}

CQrExcelSheet::~CQrExcelSheet() = default;

bool CQrExcelSheet::OpenFile(const QString& path, bool create)
{
    m_sheet->Clear();
    m_write.clear();
    m_error.clear();
    m_path = path;
    m_writing = create;
    if (create) {
        const QFileInfo info(path);
        const QFileInfo dir(info.absolutePath());
        if (path.isEmpty() || !dir.isDir() || !dir.isWritable() || (info.exists() && !info.isWritable()) ||
            info.isDir()) {
            m_error = QStringLiteral("cannot create %1").arg(path);
            return false;
        }
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray magic = file.read(8);
    file.close();
    std::string error;
    const std::string local = QFile::encodeName(path).toStdString();
    bool ok = false;
    if (magic.startsWith("PK"))
        ok = excel::ReadXlsxFile(local, *m_sheet, error);
    else if (magic.startsWith("\xD0\xCF\x11\xE0"))
        ok = excel::ReadXlsFile(local, *m_sheet, error);
    else
        error = "not an Excel workbook";
    if (!ok)
        m_error = QString::fromStdString(error);
    return ok;
}

bool CQrExcelSheet::OpenSheet(const QString& path, const QString& sheetName)
{
    m_sheet->Clear();
    m_write.clear();
    m_error.clear();
    m_path = path;
    m_writing = false;
    m_sheetMissing = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray magic = file.read(8);
    file.close();
    std::string error;
    const std::string local = QFile::encodeName(path).toStdString();
    bool ok = false;
    if (magic.startsWith("PK"))
        ok = excel::ReadXlsxSheet(local, sheetName.toStdString(), *m_sheet, error, m_sheetMissing);
    else if (magic.startsWith("\xD0\xCF\x11\xE0"))
        ok = excel::ReadXlsSheet(local, sheetName.toStdString(), *m_sheet, error, m_sheetMissing);
    else
        error = "not an Excel workbook";
    if (!ok)
        m_error = QString::fromStdString(error);
    return ok;
}

bool CQrExcelSheet::OpenMemory(const QByteArray& data)
{
    m_sheet->Clear();
    m_write.clear();
    m_writing = false;
    std::string error;
    const bool ok = excel::ReadXlsxMemory(data.constData(), size_t(data.size()), *m_sheet, error);
    m_error = ok ? QString() : QString::fromStdString(error);
    return ok;
}

int CQrExcelSheet::GetRowCount() const
{
    if (m_writing)
        return m_write.empty() ? 0 : m_write.rbegin()->first + 1;
    return m_sheet->RowCount();
}

int CQrExcelSheet::GetColumnCount() const
{
    if (m_writing) {
        int n = 0;
        for (const auto& [row, cells] : m_write)
            n = std::max(n, int(cells.size()));
        return n;
    }
    return m_sheet->ColumnCount();
}

bool CQrExcelSheet::GetRowData(QStringList& cells, int row, int columns) const
{
    if (m_writing) {
        cells.clear();
        auto it = m_write.find(row);
        if (it != m_write.end())
            cells = it->second;
        return it != m_write.end();
    }
    m_sheet->GetRow(row, cells, columns);
    return row >= 0 && row < m_sheet->RowCount();
}

bool CQrExcelSheet::SetRowDataRange(const QStringList& cells, int row)
{
    if (!m_writing || row < 0 || row >= int(excel::kMaxRows))
        return false;
    m_write[row] = cells.mid(0, int(excel::kMaxColumns));
    return true;
}

bool CQrExcelSheet::Save(int)
{
    if (!m_writing) {
        m_error = QStringLiteral("the workbook was not opened for writing");
        return false;
    }
    m_error.clear();
    // Written beside the target and moved over it, so a failed save never leaves half a file.
    const QString temp = m_path + QStringLiteral(".part");
    QFile::remove(temp);
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go out in order; memory stays flat
    lxw_workbook* book = workbook_new_opt(tempName.constData(), &options);
    if (!book) {
        m_error = QStringLiteral("cannot create %1").arg(m_path);
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    int cut = 0;
    QString firstCut;
    for (const auto& [row, cells] : m_write) {
        for (int col = 0; col < cells.size(); ++col) {
            QString text = cells[col];
            if (text.isEmpty())
                continue;
            if (text.size() > kMaxCellChars) {
                if (cut++ == 0)
                    firstCut = GlobalFunc::IntToLetters(col) + QString::number(row + 1);
                text.truncate(kMaxCellChars);
                if (text.back().isHighSurrogate())
                    text.chop(1);
            }
            // The writer leaves "_xHHHH_" as it is, which readers take for an escaped character.
            static const QRegularExpression escapeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
            if (text.contains(u'_'))
                text.replace(escapeLike, QStringLiteral("_x005F_\\1"));
            const QByteArray utf8 = text.toUtf8();
            // Strings always: a text that starts with "=" stays a text.
            worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(col), utf8.constData(), nullptr);
        }
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR) {
        QFile::remove(temp);
        m_error = QStringLiteral("cannot write %1: %2").arg(m_path, QString::fromUtf8(lxw_strerror(rc)));
        return false;
    }
    if (std::rename(tempName.constData(), QFile::encodeName(m_path).constData()) != 0) {
        QFile::remove(temp);
        m_error = QStringLiteral("cannot write %1").arg(m_path);
        return false;
    }
    if (cut > 0)
        m_error = QStringLiteral("%1 cell(s) longer than %2 characters were cut, the first at %3")
                      .arg(cut)
                      .arg(kMaxCellChars)
                      .arg(firstCut);
    return true;
}

namespace GlobalFunc {
QString IntToLetters(int index)
{
    QString letters;
    for (long long n = index; n >= 0; n = n / 26 - 1)
        letters.prepend(QChar(u'A' + int(n % 26)));
    return letters;
}
} // namespace GlobalFunc

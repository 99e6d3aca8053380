#include "components/ExcelWriteHelper.h"

#include "components/AtomicFile.h"
#include "components/Platform.h"
#include "components/QrExcelSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <cerrno>
#include <xlsxwriter.h>

namespace {
bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

constexpr qsizetype kMaxCellText = 32767;
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

// --- ReportWorkbook ----------------------------------------------------------------------

ReportWorkbook::ReportWorkbook(uint32_t rowsPerSheet)
    : m_rowsPerSheet(std::clamp<uint32_t>(rowsPerSheet, 2, excel::kMaxRows))
{
}

ReportWorkbook::~ReportWorkbook()
{
    if (!m_book)
        return;
    Platform::QuietStderr quiet;
    workbook_close(m_book); // writes the temporary file, which goes at once
    QFile::remove(m_temp);
}

bool ReportWorkbook::Fail(const QString& text)
{
    if (m_error.isEmpty())
        m_error = text;
    return false;
}

bool ReportWorkbook::Check(int lxwError)
{
    if (lxwError == LXW_NO_ERROR)
        return true;
    return Fail(QStringLiteral("%1: 통합 문서를 쓸 수 없습니다: %2")
                    .arg(m_path, QString::fromUtf8(lxw_strerror(lxw_error(lxwError)))));
}

bool ReportWorkbook::Open(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.dir().exists())
        return Fail(QStringLiteral("폴더가 없습니다: %1").arg(info.absolutePath()));
    m_path = path;
    m_temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
             QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".tmp");
    // The rows wait in temporary files beside the output, not in a /tmp that may be memory.
    m_tempDir = QFile::encodeName(info.absolutePath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tempDir.data();
    options.use_zip64 = LXW_TRUE; // a sheet of a million rows passes 4 GB of XML easily
    m_book = workbook_new_opt(QFile::encodeName(m_temp).constData(), &options);
    if (!m_book)
        return Fail(QStringLiteral("파일을 만들 수 없습니다: %1").arg(path));
    m_bold = workbook_add_format(m_book);
    format_set_bold(m_bold);
    return true;
}

ReportWorkbook::Sheet* ReportWorkbook::AddSheet(const QString& name, const QStringList& header, double width)
{
    if (!m_book || !m_error.isEmpty())
        return nullptr;
    std::unique_ptr<Sheet> sheet(new Sheet(*this, name, header, width));
    if (!sheet->StartPart())
        return nullptr;
    m_sheets.push_back(std::move(sheet));
    return m_sheets.back().get();
}

bool ReportWorkbook::Finish()
{
    if (!m_book)
        return Fail(QStringLiteral("통합 문서가 열려 있지 않습니다"));
    lxw_error closeErr = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        // The library prints its own "[ERROR]" lines; the one message below says it better.
        Platform::QuietStderr quiet;
        errno = 0;
        closeErr = workbook_close(m_book);
        closeErrno = errno;
    }
    m_book = nullptr;
    m_sheets.clear();
    if (m_error.isEmpty() && closeErr != LXW_NO_ERROR) {
        if (Platform::IsNoSpace(closeErrno))
            Fail(WriteFailureText(m_path, closeErrno));
        else
            Check(closeErr);
    }
    if (!m_error.isEmpty()) {
        QFile::remove(m_temp);
        return false;
    }
    if (!Platform::ReplaceFile(m_temp, m_path)) {
        const int renameErrno = errno;
        QFile::remove(m_temp);
        return Fail(WriteFailureText(m_path, renameErrno));
    }
    return true;
}

ReportWorkbook::Sheet::Sheet(ReportWorkbook& book, QString name, QStringList header, double width)
    : m_book(book), m_name(std::move(name)), m_header(std::move(header)), m_width(width)
{
}

bool ReportWorkbook::Sheet::StartPart()
{
    ++m_parts;
    const QString name = m_parts == 1 ? m_name : QStringLiteral("%1 (%2)").arg(m_name).arg(m_parts);
    m_sheet = workbook_add_worksheet(m_book.m_book, name.toUtf8().constData());
    if (!m_sheet)
        return m_book.Fail(QStringLiteral("%1: 시트를 만들 수 없습니다: %2").arg(m_book.m_path, name));
    if (!m_header.isEmpty())
        worksheet_set_column(m_sheet, 0, lxw_col_t(m_header.size() - 1), m_width, nullptr);
    m_row = 0;
    for (qsizetype c = 0; c < m_header.size(); ++c)
        if (!m_book.Check(worksheet_write_string(m_sheet, 0, lxw_col_t(c),
                                                 m_header[c].left(kMaxCellText).toUtf8().constData(), m_book.m_bold)))
            return false;
    m_row = 1;
    return true;
}

bool ReportWorkbook::Sheet::AddRow(const std::vector<Cell>& cells)
{
    if (!m_book.m_error.isEmpty() || !m_sheet)
        return false;
    if (m_row >= m_book.m_rowsPerSheet && !StartPart())
        return false;
    QByteArray utf8;
    for (size_t c = 0; c < cells.size(); ++c) {
        lxw_error err = LXW_NO_ERROR;
        if (const QString* text = std::get_if<QString>(&cells[c])) {
            if (text->isEmpty())
                continue;
            utf8 = text->size() > kMaxCellText ? text->left(kMaxCellText).toUtf8() : text->toUtf8();
            err = worksheet_write_string(m_sheet, m_row, lxw_col_t(c), utf8.constData(), nullptr);
        } else {
            err = worksheet_write_number(m_sheet, m_row, lxw_col_t(c), std::get<double>(cells[c]), nullptr);
        }
        if (!m_book.Check(err))
            return false;
    }
    ++m_row;
    ++m_rows;
    return true;
}

#include "components/QrExcelSheet.h"

#include "components/excel/SheetData.h"
#include "components/excel/XlsReader.h"
#include "components/excel/XlsxReader.h"
#include "components/excel/XlsxStreamWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CQrExcelSheet::CQrExcelSheet(bool) : m_sheet(std::make_unique<excel::SheetData>()) {}

CQrExcelSheet::~CQrExcelSheet()
{
    Abandon();
}

namespace {
bool IsHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The writer leaves "_xHHHH_" as it is, which readers take for an escaped character; its
// "_" becomes "_x005F_". Matches may share an underscore ("_x0041_x0042_" holds two), and
// each is escaped, or the reader would still decode the second.
void EscapeEscapeLike(QString& text)
{
    for (qsizetype i = text.indexOf(u"_x"); i >= 0 && i + 7 <= text.size(); i = text.indexOf(u"_x", i)) {
        if (IsHex(text[i + 2]) && IsHex(text[i + 3]) && IsHex(text[i + 4]) && IsHex(text[i + 5]) &&
            text[i + 6] == u'_') {
            text.insert(i + 1, QStringLiteral("x005F_"));
            i += 12; // the match's closing "_", which may open the next
        } else {
            ++i;
        }
    }
}
} // namespace

bool CQrExcelSheet::OpenFile(const QString& path, bool create)
{
    Abandon();
    m_sheet->Clear();
    m_error.clear();
    m_path = path;
    m_writing = create;
    m_writeFailed = false;
    if (create) {
        const QFileInfo info(path);
        const QFileInfo dir(info.absolutePath());
        if (path.isEmpty() || !dir.isDir() || !dir.isWritable() || (info.exists() && !info.isWritable()) ||
            info.isDir()) {
            m_error = QStringLiteral("파일을 만들 수 없습니다: %1").arg(path);
            return false;
        }
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1 파일을 열 수 없습니다: %2").arg(path, file.errorString());
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
        error = "Excel 통합 문서가 아닙니다";
    if (!ok)
        m_error = QString::fromStdString(error);
    return ok;
}

bool CQrExcelSheet::OpenSheet(const QString& path, const QString& sheetName)
{
    Abandon();
    m_sheet->Clear();
    m_error.clear();
    m_path = path;
    m_writing = false;
    m_sheetMissing = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1 파일을 열 수 없습니다: %2").arg(path, file.errorString());
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
        error = "Excel 통합 문서가 아닙니다";
    if (!ok)
        m_error = QString::fromStdString(error);
    return ok;
}

bool CQrExcelSheet::OpenMemory(const QByteArray& data)
{
    Abandon();
    m_sheet->Clear();
    m_writing = false;
    std::string error;
    const bool ok = excel::ReadXlsxMemory(data.constData(), size_t(data.size()), *m_sheet, error);
    m_error = ok ? QString() : QString::fromStdString(error);
    return ok;
}

int CQrExcelSheet::GetRowCount() const
{
    if (m_writing)
        return m_pendingRow + 1;
    return m_sheet->RowCount();
}

int CQrExcelSheet::GetColumnCount() const
{
    if (m_writing)
        return std::max(m_writeColumns, int(m_pending.size()));
    return m_sheet->ColumnCount();
}

bool CQrExcelSheet::GetRowData(QStringList& cells, int row, int columns) const
{
    if (m_writing) {
        // Only the latest row is still here; the others are in the file.
        cells.clear();
        if (row != m_pendingRow || row < 0)
            return false;
        cells = columns < 0 ? m_pending : m_pending.mid(0, columns);
        return true;
    }
    m_sheet->GetRow(row, cells, columns);
    return row >= 0 && row < m_sheet->RowCount();
}

bool CQrExcelSheet::SetRowDataRange(const QStringList& cells, int row)
{
    if (!m_writing || m_writeFailed || row < 0 || row >= int(excel::kMaxRows) || row < m_pendingRow)
        return false;
    if (!m_out && !StartWriting())
        return false;
    if (row > m_pendingRow && !WritePending())
        return false;
    m_pending = cells.mid(0, int(excel::kMaxColumns));
    m_pendingRow = row;
    return true;
}

bool CQrExcelSheet::StartWriting()
{
    // Written beside the target and moved over it, so a failed save never leaves half a file.
    m_out = std::make_unique<excel::XlsxStreamWriter>();
    if (!m_out->Open(m_path)) {
        m_error = m_out->Error();
        m_writeFailed = true; // Save must not make a file of the rows after it
        Abandon();
        return false;
    }
    return true;
}

// False when the file could not take the row; then the error is set and the file is gone.
bool CQrExcelSheet::WritePending()
{
    if (m_pendingRow < 0 || !m_out)
        return true;
    m_writeColumns = std::max(m_writeColumns, int(m_pending.size()));
    for (int col = 0; col < m_pending.size(); ++col) {
        QString& text = m_pending[col];
        if (text.isEmpty())
            continue;
        if (text.size() > kMaxCellChars) {
            if (m_cut++ == 0)
                m_firstCut = GlobalFunc::IntToLetters(col) + QString::number(m_pendingRow + 1);
            text.truncate(kMaxCellChars);
            if (text.back().isHighSurrogate())
                text.chop(1);
        }
        EscapeEscapeLike(text);
    }
    // Strings always: a text that starts with "=" stays a text.
    if (!m_out->WriteRow(m_pendingRow, m_pending)) {
        m_error = m_out->Error();
        m_writeFailed = true;
        Abandon();
        return false;
    }
    m_pending.clear();
    return true;
}

void CQrExcelSheet::Abandon()
{
    m_out.reset(); // removes an unfinished file
    m_pending.clear();
    m_pendingRow = -1;
    m_writeColumns = 0;
    m_cut = 0;
    m_firstCut.clear();
}

bool CQrExcelSheet::Save(int)
{
    if (!m_writing) {
        m_error = QStringLiteral("통합 문서가 쓰기용으로 열리지 않았습니다");
        return false;
    }
    if (m_writeFailed)
        return false; // the error stays
    m_error.clear();
    if (!m_out && !StartWriting()) // nothing written: an empty sheet
        return false;
    if (!WritePending())
        return false;
    const bool ok = m_out->Finish();
    const QString error = m_out->Error();
    const int cut = m_cut;
    const QString firstCut = m_firstCut;
    Abandon(); // resets the row state for a further round
    if (!ok) {
        m_error = error;
        return false;
    }
    if (cut > 0)
        m_error =
            QStringLiteral("%2자보다 긴 셀 %1개를 잘랐습니다 (처음 것: %3)").arg(cut).arg(kMaxCellChars).arg(firstCut);
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

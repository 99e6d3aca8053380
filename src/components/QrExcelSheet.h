#pragma once
// Workbook access: reads the first worksheet of .xlsx and .xls files, writes .xlsx files.
// Every cell is read and written as a text.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace excel {
class SheetData;
class XlsxStreamWriter;
} // namespace excel

class CQrExcelSheet
{
public:
    explicit CQrExcelSheet(bool quiet = true);
    ~CQrExcelSheet();
    CQrExcelSheet(const CQrExcelSheet&) = delete;
    CQrExcelSheet& operator=(const CQrExcelSheet&) = delete;

    // create false: read an existing workbook (the format is told by its content, not its
    // name). create true: a new workbook to be written at the path by Save.
    bool OpenFile(const QString& path, bool create);
    // Reads the worksheet of that name (.xlsx or .xls). When it fails, HasSheet() tells a
    // workbook without that sheet from one that could not be read.
    bool OpenSheet(const QString& path, const QString& sheetName);
    bool HasSheet() const { return !m_sheetMissing; }
    // Reads a workbook held in memory (.xlsx only).
    bool OpenMemory(const QByteArray& data);

    int GetRowCount() const;
    int GetColumnCount() const;
    // The texts of one row (rows from 0), one per column; columns < 0 means all columns.
    bool GetRowData(QStringList& cells, int row, int columns = -1) const;
    // Writes the texts into one row from the first column. Rows go straight to the file in
    // ascending order (only the latest row may still be replaced), so a large export never sits
    // in memory; a row before the latest is refused.
    bool SetRowDataRange(const QStringList& cells, int row);
    // Finishes the workbook; the file appears whole or not at all.
    bool Save(int close = 1);

    // Why the last OpenFile or Save failed, or what Save had to change.
    QString GetLastError() const { return m_error; }

    // Longest text a spreadsheet cell holds; longer texts are cut on writing.
    static constexpr int kMaxCellChars = 32767;

private:
    bool StartWriting();
    bool WritePending();
    void Abandon();

    std::unique_ptr<excel::SheetData> m_sheet;
    // Writing: the latest row is held until a later one comes (it may still be replaced);
    // the rows before it are already in the file.
    QStringList m_pending;
    int m_pendingRow = -1;
    int m_writeColumns = 0;
    std::unique_ptr<excel::XlsxStreamWriter> m_out;
    int m_cut = 0;
    QString m_firstCut;
    QString m_path;
    QString m_error;
    bool m_writing = false;
    bool m_writeFailed = false; // rows were lost: Save must not make a file of the rest
    bool m_sheetMissing = false;
};

namespace GlobalFunc {
// Spreadsheet letters of a zero-based column index: 0 "A", 25 "Z", 26 "AA"; negative gives "".
QString IntToLetters(int index);
} // namespace GlobalFunc

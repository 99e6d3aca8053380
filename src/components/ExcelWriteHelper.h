#pragma once
// Workbook writers for exports and reports.
// - SaveSheetXlsx: one sheet of texts (grid exports).
// - ReportWorkbook: reports of any size. Every sheet is written with constant memory (each row
//   goes to a temporary file beside the output as soon as the next one starts), and a sheet made
//   through AddSheet continues on "NAME (2)", "NAME (3)", ... with its header repeated when it
//   outgrows one worksheet. Sheets with formats or charts (a summary) are made on Workbook()
//   directly with libxlsxwriter, rows in order.
#include "components/excel/SheetData.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Writes rows (the first usually the header) to an .xlsx file. The file appears only when the
// whole workbook was written, so a failed export never leaves a broken file in place of a good
// one. Texts longer than a cell can hold are cut to 32,767 characters. False with a reason on failure.
bool SaveSheetXlsx(const QString& path, const std::vector<QStringList>& rows, QString* error = nullptr);

class ReportWorkbook
{
public:
    using Cell = std::variant<QString, double>; // an empty text writes no cell

    // A list of rows under one header, over as many worksheets as it needs.
    class Sheet
    {
    public:
        // One row after the last; false once anything failed (the workbook's Error()).
        bool AddRow(const std::vector<Cell>& cells);
        // Data rows written so far, over every part.
        uint64_t Rows() const { return m_rows; }
        // Worksheets used so far (1 until the first continuation).
        int Parts() const { return m_parts; }

    private:
        friend class ReportWorkbook;
        Sheet(ReportWorkbook& book, QString name, QStringList header, double width);
        bool StartPart();

        ReportWorkbook& m_book;
        QString m_name;
        QStringList m_header;
        double m_width;
        lxw_worksheet* m_sheet = nullptr;
        uint32_t m_row = 0; // next row of the current part
        uint64_t m_rows = 0;
        int m_parts = 0;
    };

    // rowsPerSheet counts the header; the default is the most a worksheet holds. Tests lower it
    // to see continuation without writing a million rows.
    explicit ReportWorkbook(uint32_t rowsPerSheet = excel::kMaxRows);
    ~ReportWorkbook(); // an unfinished workbook's temporary file is removed
    ReportWorkbook(const ReportWorkbook&) = delete;
    ReportWorkbook& operator=(const ReportWorkbook&) = delete;

    // Starts a temporary file beside path; Finish moves it over path.
    bool Open(const QString& path);
    // For sheets with formats or charts; null before Open.
    lxw_workbook* Workbook() const { return m_book; }
    lxw_format* Bold() const { return m_bold; }
    // A worksheet named name (at most 31 characters, unique; a continuation appends " (N)"),
    // header in bold in its first row, every column width characters wide. The workbook owns it;
    // null after a failure.
    Sheet* AddSheet(const QString& name, const QStringList& header, double width = 20);
    // Writes the file and moves it into place; false with Error() when anything failed.
    bool Finish();
    QString Error() const { return m_error; }
    // Records a failure of a write made on Workbook() directly (an lxw_error); true when ok.
    bool Check(int lxwError);

private:
    bool Fail(const QString& text);

    uint32_t m_rowsPerSheet;
    QString m_path;
    QString m_temp;
    QByteArray m_tempDir;
    lxw_workbook* m_book = nullptr;
    lxw_format* m_bold = nullptr;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    QString m_error;
};

#include "components/excel/XlsReader.h"

#include "components/excel/CellText.h"

#include <freexl.h>

#include <string_view>

namespace excel {
namespace {

std::string FreexlError(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "the file cannot be read";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "not enough memory to read the workbook";
    case FREEXL_CRAFTED_FILE:
        return "the workbook is damaged or crafted";
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return "the file holds no workbook";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return "not an Excel 97-2003 workbook";
    default:
        return "the workbook is damaged (FreeXL error " + std::to_string(code) + ")";
    }
}

struct Handle
{
    const void* h = nullptr;
    ~Handle()
    {
        if (h)
            freexl_close(h);
    }
};

// FreeXL allocates every sheet's full grid on opening; refuse grids no memory would hold.
bool CheckSize(const std::string& path, std::string& error)
{
    Handle info;
    int rc = freexl_open_info(path.c_str(), &info.h);
    if (rc != FREEXL_OK) {
        error = FreexlError(rc);
        return false;
    }
    unsigned int count = 0;
    if (freexl_get_info(info.h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
        error = "the workbook has no worksheet";
        return false;
    }
    unsigned int password = 0;
    if (freexl_get_info(info.h, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK && password == FREEXL_BIFF_OBFUSCATED) {
        error = "the workbook is protected by a password";
        return false;
    }
    unsigned long long cells = 0;
    for (unsigned short i = 0; i < count; ++i) {
        if (freexl_select_active_worksheet(info.h, i) != FREEXL_OK)
            continue;
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_worksheet_dimensions(info.h, &rows, &cols) == FREEXL_OK)
            cells += (unsigned long long)rows * cols;
    }
    if (cells > kMaxCells) {
        error = "the workbook declares more than " + std::to_string(kMaxCells) + " cells";
        return false;
    }
    return true;
}

} // namespace

bool ReadXlsFile(const std::string& path, SheetData& sheet, std::string& error)
{
    sheet.Clear();
    if (!CheckSize(path, error))
        return false;
    Handle book;
    int rc = freexl_open(path.c_str(), &book.h);
    if (rc != FREEXL_OK) {
        error = FreexlError(rc);
        return false;
    }
    if ((rc = freexl_select_active_worksheet(book.h, 0)) != FREEXL_OK) {
        error = FreexlError(rc);
        return false;
    }
    unsigned int rows = 0;
    unsigned short cols = 0;
    if ((rc = freexl_worksheet_dimensions(book.h, &rows, &cols)) != FREEXL_OK) {
        error = FreexlError(rc);
        return false;
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(book.h, r, c, &value) != FREEXL_OK)
                continue;
            bool ok = true;
            switch (value.type) {
            case FREEXL_CELL_INT:
                ok = sheet.AddText(r, c, std::to_string(value.value.int_value), error);
                break;
            case FREEXL_CELL_DOUBLE:
                ok = sheet.AddText(r, c, FormatNumber(value.value.double_value), error);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (value.value.text_value)
                    ok = sheet.AddText(r, c, value.value.text_value, error);
                break;
            default:
                break;
            }
            if (!ok) {
                sheet.Clear();
                return false;
            }
        }
    }
    sheet.Finish();
    return true;
}

} // namespace excel

#include "components/excel/XlsReader.h"

#include "components/Platform.h"
#include "components/excel/CellText.h"

#include <freexl.h>

#include <cstring>
#include <string_view>

namespace excel {
namespace {

constexpr char kNoSheetNamed[] = "통합 문서에 다음 이름의 워크시트가 없습니다: ";

std::string FreexlError(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "파일을 읽을 수 없습니다";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "통합 문서를 읽을 메모리가 부족합니다";
    case FREEXL_CRAFTED_FILE:
        return "통합 문서가 손상되었거나 조작되었습니다";
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return "파일에 통합 문서가 없습니다";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return "Excel 97-2003 통합 문서가 아닙니다";
    default:
        return "통합 문서가 손상되었습니다 (FreeXL 오류 " + std::to_string(code) + ")";
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
        error = "통합 문서에 워크시트가 없습니다";
        return false;
    }
    unsigned int password = 0;
    if (freexl_get_info(info.h, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK && password == FREEXL_BIFF_OBFUSCATED) {
        error = "통합 문서가 암호로 보호되어 있습니다";
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
        error = "통합 문서에 선언된 셀이 " + std::to_string(kMaxCells) + "개를 넘습니다";
        return false;
    }
    return true;
}

// Reads in this process, handing each cell to the sink.
// The index of the worksheet named `name`; the first sheet for an empty name.
bool FindSheet(const void* handle, const std::string& name, unsigned short& index, std::string& error)
{
    index = 0;
    if (name.empty())
        return true;
    unsigned int count = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned short i = 0; i < count; ++i) {
        const char* sheetName = nullptr;
        if (freexl_get_worksheet_name(handle, i, &sheetName) == FREEXL_OK && sheetName && name == sheetName) {
            index = i;
            return true;
        }
    }
    error = kNoSheetNamed + name;
    return false;
}

template <typename CellSink>
bool ReadDirect(const std::string& path, const std::string& sheetName, CellSink&& add, std::string& error)
{
    if (!CheckSize(path, error))
        return false;
    Handle book;
    int rc = freexl_open(path.c_str(), &book.h);
    if (rc != FREEXL_OK) {
        error = FreexlError(rc);
        return false;
    }
    unsigned short index = 0;
    if (!FindSheet(book.h, sheetName, index, error))
        return false;
    if ((rc = freexl_select_active_worksheet(book.h, index)) != FREEXL_OK) {
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
                ok = add(r, c, std::to_string(value.value.int_value));
                break;
            case FREEXL_CELL_DOUBLE:
                ok = add(r, c, FormatNumber(value.value.double_value));
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (value.value.text_value)
                    ok = add(r, c, std::string_view(value.value.text_value));
                break;
            default:
                break;
            }
            if (!ok)
                return false;
        }
    }
    return true;
}

// The child's answer: records of (row, column, length, text); a record with row 0xFFFFFFFF
// ends the sheet, one with row 0xFFFFFFFE carries an error text.
constexpr uint32_t kEnd = 0xFFFFFFFFu, kError = 0xFFFFFFFEu;

// A damaged file must not make the reader eat the machine.
constexpr uint64_t kChildAddressSpace = uint64_t(2) << 30;
constexpr unsigned kChildCpuSeconds = 120;

void RunChild(const std::string& path, const std::string& sheetName, const Platform::LimitedChild::Writer& write)
{
    std::string error;
    auto add = [&](uint32_t r, uint32_t c, std::string_view text) {
        const uint32_t head[3] = {r, c, uint32_t(text.size())};
        return write(head, sizeof head) && write(text.data(), text.size());
    };
    const bool ok = ReadDirect(path, sheetName, add, error);
    const uint32_t tail[3] = {ok ? kEnd : kError, 0, uint32_t(ok ? 0 : error.size())};
    write(tail, sizeof tail);
    if (!ok)
        write(error.data(), error.size());
}

} // namespace

// FreeXL has had memory-safety faults on crafted files (a fuzzer finds them within seconds),
// so it runs in a child process: a damaged workbook can at worst end the child.
bool ReadXlsFile(const std::string& path, SheetData& sheet, std::string& error)
{
    bool missing = false;
    return ReadXlsSheet(path, {}, sheet, error, missing);
}

bool ReadXlsSheet(const std::string& path, const std::string& sheetName, SheetData& sheet, std::string& error,
                  bool& sheetMissing)
{
    sheetMissing = false;
    sheet.Clear();
    Platform::LimitedChild child;
    const auto work = [&](const Platform::LimitedChild::Writer& write) { RunChild(path, sheetName, write); };
    if (!child.Start(work, kChildAddressSpace, kChildCpuSeconds)) {
        error = ".xls 읽기를 시작할 수 없습니다";
        return false;
    }
    std::string buf;
    char chunk[65536];
    bool ended = false, ok = true;
    size_t pos = 0;
    for (;;) {
        const size_t n = child.Read(chunk, sizeof chunk);
        if (n == 0)
            break;
        buf.append(chunk, n);
        while (ok && !ended && buf.size() - pos >= 12) {
            uint32_t head[3];
            std::memcpy(head, buf.data() + pos, sizeof head);
            if (buf.size() - pos - 12 < head[2])
                break;
            const std::string_view text(buf.data() + pos + 12, head[2]);
            if (head[0] == kEnd) {
                ended = true;
            } else if (head[0] == kError) {
                error = std::string(text);
                ended = true;
                ok = false;
            } else if (!sheet.AddText(head[0], head[1], text, error)) {
                ok = false;
            }
            pos += 12 + head[2];
        }
        if (pos > (1u << 20)) {
            buf.erase(0, pos);
            pos = 0;
        }
        if (!ok)
            break;
    }
    child.Finish(!ok);
    if (ok && !ended) {
        ok = false;
        error = "통합 문서가 손상되어 .xls 읽기가 멈췄습니다";
    }
    if (!ok) {
        sheetMissing = error.rfind(kNoSheetNamed, 0) == 0;
        sheet.Clear();
        return false;
    }
    sheet.Finish();
    return true;
}

} // namespace excel

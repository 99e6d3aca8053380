#include "components/excel/SheetData.h"

#include <algorithm>

namespace excel {

void SheetData::Clear()
{
    *this = SheetData();
}

bool SheetData::Room(uint32_t row, uint32_t col, std::string& error)
{
    if (row >= kMaxRows || col >= kMaxColumns) {
        error =
            "셀 참조가 시트 범위를 벗어납니다 (" + std::to_string(row + 1) + "행, " + std::to_string(col + 1) + "열)";
        return false;
    }
    if (m_cells.size() >= kMaxCells) {
        error = "시트의 셀이 " + std::to_string(kMaxCells) + "개를 넘습니다";
        return false;
    }
    if (!m_cells.empty()) {
        const Cell& last = m_cells.back();
        if (row < last.row || (row == last.row && col <= last.col))
            m_sorted = false;
    }
    return true;
}

bool SheetData::AddText(uint32_t row, uint32_t col, std::string_view utf8, std::string& error)
{
    if (utf8.empty())
        return true; // empty cells only take room
    if (!Room(row, col, error))
        return false;
    if (utf8.size() > kMaxCellBytes) {
        error = "한 셀의 텍스트가 " + std::to_string(kMaxCellBytes / (1024 * 1024)) + " MB를 넘습니다";
        return false;
    }
    if (m_text.size() + utf8.size() >= kSharedBit) {
        error = "시트의 텍스트가 2 GB를 넘습니다";
        return false;
    }
    m_cells.push_back({row, col, uint32_t(m_text.size()), uint32_t(utf8.size())});
    m_text.append(utf8);
    m_rows = std::max(m_rows, row + 1);
    m_columns = std::max(m_columns, col + 1);
    return true;
}

bool SheetData::AddShared(uint32_t row, uint32_t col, uint32_t index, std::string& error)
{
    if (index >= SharedCount()) {
        error = "셀이 가리키는 공유 문자열 " + std::to_string(index) + "번이 없습니다 (공유 문자열 " +
                std::to_string(SharedCount()) + "개)";
        return false;
    }
    if (m_sharedOffsets[index] == m_sharedOffsets[index + 1])
        return true;
    if (!Room(row, col, error))
        return false;
    m_cells.push_back({row, col, index, kSharedBit});
    m_rows = std::max(m_rows, row + 1);
    m_columns = std::max(m_columns, col + 1);
    return true;
}

bool SheetData::AddSharedString(std::string_view utf8, std::string& error)
{
    if (m_sharedOffsets.empty())
        m_sharedOffsets.push_back(0);
    if (utf8.size() > kMaxCellBytes) {
        error = "한 공유 문자열의 텍스트가 " + std::to_string(kMaxCellBytes / (1024 * 1024)) + " MB를 넘습니다";
        return false;
    }
    if (m_shared.size() + utf8.size() >= kSharedBit || m_sharedOffsets.size() > kMaxCells) {
        error = "공유 문자열 표가 너무 큽니다";
        return false;
    }
    m_shared.append(utf8);
    m_sharedOffsets.push_back(uint32_t(m_shared.size()));
    return true;
}

void SheetData::Finish()
{
    if (!m_sorted) {
        // Later cells with the same reference win, as the last write would in a spreadsheet.
        std::stable_sort(m_cells.begin(), m_cells.end(),
                         [](const Cell& a, const Cell& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
        m_sorted = true;
    }
    m_rowStart.assign(size_t(m_rows) + 1, 0);
    size_t i = 0;
    for (uint32_t r = 0; r <= m_rows; ++r) {
        while (i < m_cells.size() && m_cells[i].row < r)
            ++i;
        m_rowStart[r] = uint32_t(i);
    }
}

void SheetData::GetRow(int row, QStringList& cells, int columns) const
{
    cells.clear();
    const int width = columns < 0 ? int(m_columns) : columns;
    cells.reserve(width);
    for (int c = 0; c < width; ++c)
        cells.append(QString());
    if (row < 0 || uint32_t(row) >= m_rows || m_rowStart.empty())
        return;
    for (uint32_t i = m_rowStart[row]; i < m_rowStart[row + 1]; ++i) {
        const Cell& cell = m_cells[i];
        if (cell.col >= uint32_t(width))
            break;
        if (cell.length & kSharedBit) {
            const uint32_t a = m_sharedOffsets[cell.offset], b = m_sharedOffsets[cell.offset + 1];
            cells[cell.col] = QString::fromUtf8(m_shared.data() + a, qsizetype(b - a));
        } else {
            cells[cell.col] = QString::fromUtf8(m_text.data() + cell.offset, qsizetype(cell.length));
        }
    }
}

} // namespace excel

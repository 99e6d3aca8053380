#pragma once
// Cell texts of one worksheet held compactly: a cell costs 16 bytes plus its UTF-8 text, and
// cells that name a shared string point into the shared table instead of copying it.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace excel {

// Largest sheet a spreadsheet program makes.
constexpr uint32_t kMaxRows = 1048576;
constexpr uint32_t kMaxColumns = 16384;
// A guard against sheets made to exhaust memory: no real attribute list comes near it.
constexpr size_t kMaxCells = 10'000'000;
constexpr size_t kMaxCellBytes = 4 * 1024 * 1024;

class SheetData
{
public:
    void Clear();
    // row and column from 0; false when a limit is passed (the reason in error).
    bool AddText(uint32_t row, uint32_t col, std::string_view utf8, std::string& error);
    bool AddShared(uint32_t row, uint32_t col, uint32_t index, std::string& error);
    bool AddSharedString(std::string_view utf8, std::string& error);
    size_t SharedCount() const { return m_sharedOffsets.empty() ? 0 : m_sharedOffsets.size() - 1; }
    // Sorts the cells when they came out of order and indexes the rows.
    void Finish();

    int RowCount() const { return int(m_rows); }
    int ColumnCount() const { return int(m_columns); }
    size_t CellCount() const { return m_cells.size(); }
    // columns < 0: one text per column of the sheet.
    void GetRow(int row, QStringList& cells, int columns) const;

private:
    struct Cell
    {
        uint32_t row;
        uint32_t col;
        uint32_t offset; // into m_text, or the shared-string index when length has kSharedBit
        uint32_t length;
    };
    static constexpr uint32_t kSharedBit = 0x80000000u;
    bool Room(uint32_t row, uint32_t col, std::string& error);

    std::vector<Cell> m_cells;
    std::string m_text;
    std::string m_shared;
    std::vector<uint32_t> m_sharedOffsets;
    std::vector<uint32_t> m_rowStart; // index of each row's first cell; size rows+1
    uint32_t m_rows = 0;
    uint32_t m_columns = 0;
    bool m_sorted = true;
};

} // namespace excel

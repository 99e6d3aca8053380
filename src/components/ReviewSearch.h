#pragma once
// The search box of the review and management grids: the next row below the current one
// whose name columns contain the text (case ignored), wrapping to the top.
#include <QString>
#include <functional>
#include <vector>

struct ReviewSearchHit
{
    int row = -1;
    int column = -1;
    bool found() const { return row >= 0; }
};

// cell(row, column) gives a cell's text. Columns are tried in the order given; the first
// that contains the text is the hit. currentRow -1 searches from the first row to the last.
// An empty text finds nothing.
ReviewSearchHit FindNextRow(int rowCount, const std::function<QString(int, int)>& cell, const std::vector<int>& columns,
                            const QString& text, int currentRow);

#include "components/ReviewSearch.h"

ReviewSearchHit FindNextRow(int rowCount, const std::function<QString(int, int)>& cell, const std::vector<int>& columns,
                            const QString& text, int currentRow)
{
    if (text.isEmpty() || rowCount <= 0)
        return {};
    const QString needle = text.toUpper();
    auto match = [&](int row) -> ReviewSearchHit {
        for (int column : columns)
            if (cell(row, column).toUpper().contains(needle))
                return {row, column};
        return {};
    };
    if (currentRow < 0 || currentRow >= rowCount) {
        for (int row = 0; row < rowCount; ++row)
            if (auto hit = match(row); hit.found())
                return hit;
        return {};
    }
    for (int row = currentRow + 1; row < rowCount; ++row)
        if (auto hit = match(row); hit.found())
            return hit;
    // Wrap: from the top down to the current row itself.
    for (int row = 0; row <= currentRow; ++row)
        if (auto hit = match(row); hit.found())
            return hit;
    return {};
}

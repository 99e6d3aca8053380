#pragma once
// Shared set-up of the form road tests: a fresh dictionary, workbooks written by the program's
// own writer, and the texts of a form's result tree.
#include "support/FormTestKit.h"
#include "support/TestSupport.h"
#include "components/QrExcelSheet.h"
#include "settings/AnalyzeSettings.h"

#include <QVector>
#include <map>
#include <gtest/gtest.h>

// One fresh process-wide dictionary in a temporary data folder.
class FreshDictionary
{
public:
    FreshDictionary() { CAnalyzeSettings::DestroyInstance(); }
    ~FreshDictionary() { CAnalyzeSettings::DestroyInstance(); }
    CAnalyzeSettings& Settings() { return CAnalyzeSettings::Instance(); }
    void AddWord(const QString& physical, const QString& logical)
    {
        Settings().AddWord(physical, logical, _stAnalyzeManageWord());
    }
    TempDataDir dir;
};

inline void WriteWorkbook(const QString& path, const QVector<QStringList>& rows)
{
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(path, true));
    for (int row = 0; row < rows.size(); ++row)
        sheet.SetRowDataRange(rows[row], row);
    ASSERT_TRUE(sheet.Save(1)) << sheet.GetLastError().toStdString();
}

inline QVector<QStringList> ReadWorkbook(const QString& path)
{
    QVector<QStringList> rows;
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, false))
        return rows;
    for (int row = 0; row < sheet.GetRowCount(); ++row) {
        QStringList cells;
        sheet.GetRowData(cells, row, -1);
        rows.append(cells);
    }
    return rows;
}

// Every row of the grid as "level|text|text|..|image0".
inline QStringList GridDump(CQrTreeGrid* grid)
{
    QStringList lines;
    for (int row = 0; row < grid->GetRowCount(); ++row) {
        QStringList cells{QString::number(grid->GetTreeLevel(row))};
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            cells.append(grid->GetItemText(row, col));
        cells.append(QString::number(grid->GetItemImage(row, 0)));
        lines.append(cells.join(QLatin1Char('|')));
    }
    return lines;
}

// The dump grouped per target, keyed by the target row: a document lists targets in key order.
inline std::map<QString, QStringList> TargetBlocks(CQrTreeGrid* grid)
{
    std::map<QString, QStringList> blocks;
    QString current;
    for (const QString& line : GridDump(grid)) {
        if (line.startsWith(QLatin1String("1|")))
            current = line;
        blocks[current].append(line);
    }
    return blocks;
}

inline int RowOfText(CQrTreeGrid* grid, int level, const QString& text)
{
    for (int row = 0; row < grid->GetRowCount(); ++row)
        if (grid->GetTreeLevel(row) == level && grid->GetItemText(row, 0) == text)
            return row;
    return -1;
}

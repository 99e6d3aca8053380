#pragma once
// One row of an analysis result tree as plain data for the views.
#include <QString>
#include <QStringList>
#include <vector>

struct AnalysisRow
{
    int level = 1;           // 1 target, 2 analysed name, 3 word / domain
    QStringList texts;       // one per result column
    std::vector<int> images; // per column; -1 (or missing) for none
    unsigned background = 0xFFFFFF;
    unsigned nameBackground = 0xFFFFFF; // column 0 may differ from the row
    bool nameEditable = false;          // column 0 edits rename the target
    bool nameBold = false;
    int mergeFirst = -1; // columns mergeFirst..mergeLast shown as one cell
    int mergeLast = -1;
    bool hidden = false; // the target is filtered out (its child rows too)
    int target = -1;     // index into the engine's results

    int Image(int column) const { return column < int(images.size()) ? images[size_t(column)] : -1; }
};

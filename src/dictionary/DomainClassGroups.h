#pragma once
// Class-word review: key domains that end with the same text of two or more characters,
// which hints that one class word hides inside others. Rows grouped by that ending.
#include "components/ReviewSearch.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <vector>

class CDomainClassGroups
{
public:
    enum Column {
        ColClass = 0, // the shared ending, merged over the group's rows
        ColKeyDomain,
        ColDomain,
        ColType,
        ColLength,
        ColScale,
        ColRemark,
        ColumnCount,
    };

    struct Row
    {
        QString suffix;
        QString keyDomain;
        QString domain;
        QString type;
        QString length;
        QString scale;
        int group = 0; // index of the shown group: colour and merged class cells
        bool operator==(const Row&) const = default;
    };

    static QStringList Headers();
    // Groups by ending, shortest ending first, then by ending text; only endings shared by
    // more than one key domain. One row per domain of each key domain, in name order.
    static std::vector<Row> Build(const DomainIndex& domains);
    static QString CellText(const Row& row, int column);
    static quint32 RowColour(const Row& row);
    // Search box: key domain name, failing that domain name (case ignored).
    static ReviewSearchHit FindNext(const std::vector<Row>& rows, const QString& text, int currentRow);
};

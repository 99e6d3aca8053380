#pragma once
// The forms' road to workbooks and documents: one place that calls the exchange layer.
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class WordAnalysis;
class DomainAnalysis;

namespace FormExchange {
struct RoleMenuItem
{
    int role;
    QString assign;
    QString cancel;
    unsigned color;
    bool separatorBefore;
};
// The designation menu of a form in its order: 0 logical, 1 physical, 2 domain.
std::vector<RoleMenuItem> RoleMenu(int form);

// Every row of the workbook's sheet as texts; false with "not vaild excel file".
bool ReadSheet(const QString& path, QVector<QStringList>& rows, QString& message);
// Rows (the header first) into a new workbook; false with a reason.
bool WriteRows(const QString& path, const std::vector<QStringList>& rows, QString& message);

// Reads the kind's document into the engine's inputs; on failure nothing changes and the
// message is the text to show.
bool ReadDocument(WordAnalysis& analysis, const QString& path, QString& message);
bool ReadDocument(DomainAnalysis& analysis, const QString& path, QString& message);
bool WriteDocument(const WordAnalysis& analysis, const QString& path, QString& message);
bool WriteDocument(const DomainAnalysis& analysis, const QString& path, QString& message);
// The form's export: header and one row per result entry, in key order.
bool WriteWorkbook(const WordAnalysis& analysis, const QString& path, QString& message);
bool WriteWorkbook(const DomainAnalysis& analysis, const QString& path, QString& message);
// A request from another program into the inputs; silent (empty message) on malformed text.
bool ReadRequest(WordAnalysis& analysis, const QString& json, QString& message);
bool ReadRequest(DomainAnalysis& analysis, const QString& json, QString& message);
} // namespace FormExchange

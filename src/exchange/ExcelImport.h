#pragma once
// Reading an attribute list from a workbook into a form's source grid, and the column
// designation menus of the four forms.
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class WordAnalysis;
class DomainAnalysis;
class CTermAnalysis;

namespace ExcelImport {

enum class Form { Logical, Physical, Domain, Term };

// One role of a form's designation menu.
struct RoleItem
{
    int role;           // the engine's role number
    QString assignText; // e.g. "속성명 지정 (필수)"
    QString cancelText; // e.g. "속성명 지정취소"
    int assignCommand;
    int cancelCommand;
    unsigned colour; // 0x00BBGGRR of the designated column's cells
    bool required;
};
const std::vector<RoleItem>& Roles(Form form);
// Roles in menu order; -1 stands for a separator.
std::vector<int> MenuOrder(Form form);
const RoleItem* FindRole(Form form, int role);

// Header texts of the source grid: "A", "B", ... "Z", "AA", ...
QStringList ColumnHeaders(int columns);

struct Outcome
{
    bool ok = true;
    QString message; // "not vaild excel file" when not ok
    QString detail;  // the reader's reason
};

// Every row of the first sheet, each padded to the sheet's column count.
Outcome ReadSheet(const QString& path, QVector<QStringList>& rows);

// The form's open of a workbook: designations reset; on success the sheet replaces the
// source grid (mode 1). On failure the grid keeps its earlier content.
Outcome Import(WordAnalysis& analysis, const QString& path);
Outcome Import(DomainAnalysis& analysis, const QString& path);
Outcome Import(CTermAnalysis& analysis, const QString& path);

} // namespace ExcelImport

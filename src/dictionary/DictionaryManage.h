#pragma once
// The rules of the word and domain management grids, without the grids: what a row is,
// how the rows are written back into the dictionary, the search with wrap-around, and the
// automatic definitions and domain names. The dialogs keep their rows as a working copy and
// hand them here on save, download and upload.
#include "settings/AnalyzeSettings.h"

#include <QString>
#include <QStringList>
#include <vector>

// The list selector of both dialogs.
enum class ManageList { Entries = 0, Excluded = 1 };
// Which dialog: word or domain management.
enum class ManageKind { Words, Domains };

struct ManageWordRow
{
    QString logical;
    QString physical;
    QString fullName;
    QString definition;
    bool checked = false;
    bool HasKeys() const { return !logical.isEmpty() && !physical.isEmpty(); }
    bool operator==(const ManageWordRow&) const = default;
};

struct ManageDomainRow
{
    QString key;
    QString name;
    QString type;
    QString length;
    QString scale;
    QString remark; // shown only, never saved or shared
    bool checked = false;
    bool HasKeys() const { return !key.isEmpty() && !name.isEmpty(); }
    bool IsComplete() const { return HasKeys() && !type.isEmpty(); }
    bool operator==(const ManageDomainRow&) const = default;
};

namespace DictionaryManage {

// Why a grid cell (column as the dialog numbers it, 0 the check box) may not take the text,
// or an empty text: the checks a value passes before it reaches the dictionary and the shared
// analysis tables (no control character, a definition may hold tabs and line breaks, the
// length of its column).
QString CellProblem(ManageKind kind, ManageList list, int column, const QString& text);

// Rows in dictionary order: words by physical, then logical name; domains by key, then name.
std::vector<ManageWordRow> WordRows(const CAnalyzeSettings& dictionary);
std::vector<ManageDomainRow> DomainRows(const CAnalyzeSettings& dictionary);

// Save rules. The word index is rebuilt from the rows that have both names; a word that
// existed keeps its flags (the grid carries none), a new one is standard. Excluded words
// that have become logical names leave the excluded set. Nothing is written to disk here.
void StoreWordRows(CAnalyzeSettings& dictionary, const std::vector<ManageWordRow>& rows);
void StoreExceptWords(CAnalyzeSettings& dictionary, const QStringList& names);
// Domains: rows with key, name and type; the later of two rows with the same key wins.
void StoreDomainRows(CAnalyzeSettings& dictionary, const std::vector<ManageDomainRow>& rows);
void StoreExceptDomains(CAnalyzeSettings& dictionary, const QStringList& names);
// The last step of every save: excluded words that are logical names, excluded domains that
// are key domain names, go.
void DropExcludedInUse(CAnalyzeSettings& dictionary);

// Checked rows that may be deleted, from the last to the first.
template <class Row> std::vector<int> RowsToDelete(const std::vector<Row>& rows)
{
    std::vector<int> out;
    for (int r = int(rows.size()) - 1; r >= 0; --r)
        if (rows[size_t(r)].checked && rows[size_t(r)].HasKeys())
            out.push_back(r);
    return out;
}

struct SearchHit
{
    int row = -1;
    int column = -1; // 1 or 2, as the grid numbers its columns
};
// Next row below `current` whose first (or, with twoColumns, second) text contains the
// upper-cased text, wrapping to the top; current -1 searches everything. Empty text: no hit.
SearchHit FindNext(const std::vector<QStringList>& firstTwoColumns, const QString& text, int current, bool twoColumns);

// Proposals of the dictionary database for one word row.
struct CollectedNames
{
    bool fullNameFound = false;
    QStringList fullNames; // the drop-down of the full-name cell
    QString fullName;      // the cell's text afterwards
    bool definitionFound = false;
    QStringList definitions;
    QString definition;
};
// Looks the logical name up (LookupDictionaryNames); a current value joins the choices and
// stays, an empty definition takes the first, an empty full name the English name closest
// to the physical name in lower case (the earlier one on a tie).
CollectedNames CollectNames(const CAnalyzeSettings& dictionary, const ManageWordRow& row);
// The same choice over given sets, without the database.
CollectedNames ChooseNames(const std::set<QString>& englishNames, const std::set<QString>& definitions,
                           const ManageWordRow& row);

// The automatic domain name of a row, or empty when key or type is missing or the type unknown.
QString AutoDomainName(const CAnalyzeSettings& dictionary, const ManageDomainRow& row);

} // namespace DictionaryManage

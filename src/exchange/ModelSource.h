#pragma once
// Models read straight from their databases: DDL scripts and live catalogs become the attribute
// list the forms and the command line already use (a sheet with a header row, and the column
// designations of each form set on it).
//
// The list keeps beside the sheet what a fix script needs and the sheet does not show: the
// names as the DBMS stores them and, for MySQL/MariaDB, the column's definition to restate.
// Both share their texts with the sheet (QString is implicitly shared), so nothing of the
// catalog is held twice.
#include "analysis/ColumnRoles.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <functional>
#include <vector>

namespace ModelSource {

enum class Dialect { Unknown = 0, Oracle, PostgreSql, MySql, Sqlite };

// "oracle", "postgresql", "mysql", "sqlite" (also "postgres", "pg", "mariadb"); Unknown otherwise.
Dialect DialectOfName(const QString& name);
QString DialectName(Dialect dialect);

// Columns of the sheet. Row 0 is the header; the designations exclude it.
enum SheetColumn {
    ColTable = 0,    // reference: the table
    ColTableComment, // shown beside it
    ColColumn,       // the column name
    ColAttribute,    // the logical name at the head of the comment (SplitComment)
    ColComment,      // the whole comment: the definition
    ColType,         // the data type as shown (VARCHAR2(20), NUMBER(10,2))
    ColLength,
    ColScale,
    ColDomainName, // the logical name, or the column when the comment gives none: the domain analysis
    ColCount
};
const QStringList& SheetHeader();

// What the sheet does not show about one column.
struct ColumnFacts
{
    QString schema;     // as stored; empty when the source names none
    QString table;      // as stored (the exact identifier)
    QString column;     // as stored
    QString definition; // MySQL/MariaDB: type and attributes after the name, without COMMENT
    // A key column: renaming it breaks the constraints and the programs that name it, so a fix
    // script leaves it alone unless asked. A set of KeyRole bits.
    unsigned char keys = 0;
};
enum KeyRole : unsigned char { PrimaryKey = 1, ForeignKey = 2, ReferencedKey = 4 };

struct AttributeList
{
    QVector<QStringList> rows;      // the header first, then one row per column
    std::vector<ColumnFacts> facts; // per data row (rows[i + 1])
    Dialect dialect = Dialect::Unknown;
    QStringList warnings; // statements skipped, comments without their column ...
    int tables = 0;
    // While the list is read: one copy of each text, since names, comments and types of a
    // standardised model recur across its tables. Emptied by DoneReading.
    QSet<QString> sharedTexts;
    // The last table's texts, shared: the same for each of its columns.
    struct TableTexts
    {
        bool set = false;
        QString schema, table, comment, shownTable;
    } lastTable;

    void DoneReading()
    {
        sharedTexts = QSet<QString>();
        lastTable = TableTexts();
    }

    int Columns() const { return int(facts.size()); }
    // Data rows whose comment gives no logical name.
    int WithoutLogicalName() const;
};

// A type text of the DBMS split and normalised the way the data-type model reads types: name
// upper case with single spaces, length and scale as stated. MySQL integer display widths
// (INT(11)) and ENUM/SET value lists are not lengths and are dropped.
struct ColumnType
{
    QString name, length, scale;
    QString Display() const;
};
ColumnType NormalizeType(Dialect dialect, const QString& text);

// The name as the attribute list shows it: a name stored all in lower case (what PostgreSQL
// makes of an unquoted name) is shown in upper case, as standard physical names are written;
// any other name as stored.
QString DisplayName(const QString& stored);

// Appends one column; the header row is added first when the list is empty.
void AppendColumn(AttributeList& list, const QString& schema, const QString& table, const QString& tableComment,
                  const QString& column, const QString& comment, const ColumnType& type,
                  const QString& definition = QString());
// A column comment read as a name and its description. Real comments carry a name, then a
// description or a code list ("화면표시 여부, Y : 표시, N : 비표시"): the name is the head cut at the
// first sentence or list punctuation (. , : ; ( [ a line break, " - "), and the rest is the
// description. Pieces that are never words (punctuation, a bare number, a single Latin
// letter) are dropped from the name; a head that is then empty or reads as a sentence gives no
// name (a code list alone, "...을 저장한다"). A number glued to the name stays ("설명1").
struct CommentParts
{
    QString name;        // empty: the comment gives no usable logical name
    QString description; // from the cutting punctuation on ("\n상품의 이름"), kept by a rewrite
};
CommentParts SplitComment(const QString& comment);
// SplitComment's name.
QString LogicalNameOfComment(const QString& comment);

// The forms' designations on the sheet: 0 logical, 1 physical, 2 domain, 3 term (the order of
// ExcelImport::Form). The first row (the header) is to be excluded.
void Designate(int form, ColumnRoles& roles);

// Progress of a long read; return false to cancel.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// --- the inputs the command line takes ------------------------------------------------------
// A database URI: postgresql://, postgres://, mysql://, mariadb://, sqlite:, oracle://.
bool IsDatabaseUri(const QString& input);
bool IsDdlPath(const QString& input);

} // namespace ModelSource

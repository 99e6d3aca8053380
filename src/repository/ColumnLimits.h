#pragma once
// How long the values of the repository's text columns may be, as the connected database's
// catalog declares them (SQLite's declared types included, which SQLite itself does not
// enforce), with the bundled schema's lengths for a column the catalog does not answer for.
// Every value is checked against them before it is written, so each dialect takes the same.
#include "components/FieldCheck.h"

#include <QString>
#include <QStringList>
#include <map>

class ISqlExecutor;

class CColumnLimits
{
public:
    // The tables a registration, an import or a share writes.
    static const QStringList& WrittenTables();

    // The limits of the database's tables; the bundled schema of its dialect where the catalog
    // gives nothing.
    static CColumnLimits Read(ISqlExecutor& database);
    // The bundled schema of a dialect (13 SQLite, 11 PostgreSQL, 1/10 Oracle).
    static CColumnLimits Bundled(int dbType);

    FieldCheck::Limit Of(const QString& table, const QString& column) const;
    // "COLUMN: reason" when the value does not fit the column, else an empty text.
    QString Check(const QString& table, const QString& column, QStringView value,
                  FieldCheck::Lines lines = FieldCheck::Lines::One) const;

private:
    void ParseSchema(const QString& script, bool oracle);
    std::map<QString, FieldCheck::Limit> m_limits; // "TABLE.COLUMN", upper case
};

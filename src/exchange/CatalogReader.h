#pragma once
// Reads the attribute list of a live database from its catalog over Qt SQL: PostgreSQL
// (pg_catalog with the descriptions), MySQL/MariaDB (information_schema with COLUMN_COMMENT
// and TABLE_COMMENT), SQLite (no comments) and Oracle (ALL_TAB_COLUMNS, ALL_COL_COMMENTS,
// ALL_TAB_COMMENTS). Only the catalog is read, never table data, in a read-only session where
// the DBMS has one. Rows stream from the server into the list one at a time (MySQL/MariaDB: a
// batch of tables at a time, as its driver holds a whole result), never the catalog held twice.
#include "exchange/ModelSource.h"
#include "repository/RepositoryConnection.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace CatalogReader {

struct Options
{
    QStringList schemas;                  // empty: the connection's current schema
    QString tables = QStringLiteral("%"); // SQL LIKE
    ModelSource::Progress progress;       // columns read of all; false cancels
    // With chunk, the columns go there as they come, chunkColumns at a time, each whole with
    // its key roles: the callee takes the list's rows and facts (leaving the header row); false
    // cancels. The list keeps the warnings, the dialect and the count of tables.
    std::function<bool(ModelSource::AttributeList&)> chunk;
    size_t chunkColumns = 20000;
};

// The DBMS of a URI (mysql:// and mariadb:// beside the repository's), with the password from
// TERMWISE_DB_PASSWORD when the URI has none. False with a message for a URI it cannot use.
bool ParseUri(const QString& uri, RepositoryUri& out, QString& error);
ModelSource::Dialect DialectOf(int dbType);

// False with a message: the connection failed (the driver's text), a schema is unknown (named),
// no table matched, the catalog was denied (the driver's text), the connection was lost while
// reading, or the user cancelled. On failure the list is left empty.
bool Read(const RepositoryUri& uri, ModelSource::AttributeList& list, QString& error, const Options& options = {});

// One catalog row of Oracle as the list takes it: DATA_TYPE with CHAR_LENGTH for character
// types, DATA_PRECISION and DATA_SCALE for numbers.
ModelSource::ColumnType OracleType(const QString& dataType, const QString& dataLength, const QString& precision,
                                   const QString& scale, const QString& charLength);
// What MySQL's MODIFY must restate of a column so nothing but its comment changes.
QString MySqlDefinition(const QString& columnType, const QString& nullable, const QString& defaultValue,
                        bool defaultIsNull, const QString& extra, const QString& collation, const QString& generation,
                        bool mariaDb);

} // namespace CatalogReader

#pragma once
// Every catalog statement of every DBMS the model reader talks to, in one place. Only the
// catalog is read, never table data. %1 stands for the list of schema placeholders
// ("?, ?"); the last placeholder is the table name pattern (SQL LIKE, without regard to case:
// the list shows PostgreSQL's lower-case names in upper case, so TB_% must find tb_cust).
#include <QString>

namespace CatalogSql {

namespace Postgres {
inline const QString kReadOnly = QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY");
inline const QString kCurrentSchema = QStringLiteral("SELECT current_schema()");
inline const QString kSchemas = QStringLiteral("SELECT nspname FROM pg_catalog.pg_namespace WHERE nspname IN (%1)");
inline const QString kFrom = QStringLiteral(
    " FROM pg_catalog.pg_class c"
    " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    " JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
    " WHERE c.relkind IN ('r', 'p') AND NOT c.relispartition AND n.nspname IN (%1) AND c.relname ILIKE ?");
inline const QString kCount = QStringLiteral("SELECT count(*)") + kFrom;
// schema, table, table comment, column, column comment, type
inline const QString kColumns =
    QStringLiteral("SELECT n.nspname, c.relname, td.description, a.attname, cd.description,"
                   " pg_catalog.format_type(a.atttypid, a.atttypmod)"
                   " FROM pg_catalog.pg_class c"
                   " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
                   " JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
                   " LEFT JOIN pg_catalog.pg_description td ON td.objoid = c.oid"
                   " AND td.classoid = CAST('pg_catalog.pg_class' AS regclass) AND td.objsubid = 0"
                   " LEFT JOIN pg_catalog.pg_description cd ON cd.objoid = c.oid"
                   " AND cd.classoid = CAST('pg_catalog.pg_class' AS regclass) AND cd.objsubid = a.attnum"
                   " WHERE c.relkind IN ('r', 'p') AND NOT c.relispartition AND n.nspname IN (%1)"
                   " AND c.relname ILIKE ?"
                   " ORDER BY n.nspname, c.relname, a.attnum");
} // namespace Postgres

namespace MySql {
inline const QString kReadOnly = QStringLiteral("SET SESSION TRANSACTION READ ONLY");
inline const QString kCurrentSchema = QStringLiteral("SELECT DATABASE()");
inline const QString kVersion = QStringLiteral("SELECT VERSION()");
inline const QString kSchemas =
    QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA WHERE SCHEMA_NAME IN (%1)");
// Qt's MySQL driver holds a whole result in memory: the columns are read a batch of tables at a
// time (the catalog looks each named table up rather than opening them all).
// schema, table, table comment
inline const QString kTables =
    QStringLiteral("SELECT TABLE_SCHEMA, TABLE_NAME, TABLE_COMMENT FROM information_schema.TABLES"
                   " WHERE TABLE_TYPE = 'BASE TABLE' AND TABLE_SCHEMA IN (%1) AND TABLE_NAME LIKE ?"
                   " ORDER BY TABLE_SCHEMA, TABLE_NAME");
// table, column, column comment, column type, then what MODIFY restates: nullable, default,
// extra, collation, generation expression. %1: the table placeholders after the schema's. No
// join with TABLES: MariaDB then gathers every table's statistics, twenty times slower.
inline const QString kColumnsOfTables =
    QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, COLUMN_COMMENT, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT,"
                   " EXTRA, COLLATION_NAME, GENERATION_EXPRESSION FROM information_schema.COLUMNS"
                   " WHERE TABLE_SCHEMA = ? AND TABLE_NAME IN (%1) ORDER BY TABLE_NAME, ORDINAL_POSITION");
} // namespace MySql

namespace Sqlite {
inline const QString kSchemas = QStringLiteral("SELECT name FROM pragma_database_list WHERE name IN (%1)");
// table, column, type (the main schema; SQLite keeps no comments)
inline const QString kFrom =
    QStringLiteral(" FROM sqlite_master m JOIN pragma_table_info(m.name) p"
                   " WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND m.name LIKE ?");
inline const QString kCount = QStringLiteral("SELECT count(*)") + kFrom;
inline const QString kColumns =
    QStringLiteral("SELECT m.name, p.name, p.type") + kFrom + QStringLiteral(" ORDER BY m.name, p.cid");
} // namespace Sqlite

namespace Oracle {
inline const QString kReadOnly = QStringLiteral("SET TRANSACTION READ ONLY");
inline const QString kCurrentSchema = QStringLiteral("SELECT SYS_CONTEXT('USERENV', 'CURRENT_SCHEMA') FROM DUAL");
inline const QString kSchemas = QStringLiteral("SELECT USERNAME FROM ALL_USERS WHERE USERNAME IN (%1)");
inline const QString kFrom = QStringLiteral(" FROM ALL_TAB_COLUMNS c JOIN ALL_TABLES t"
                                            " ON t.OWNER = c.OWNER AND t.TABLE_NAME = c.TABLE_NAME"
                                            " WHERE c.OWNER IN (%1) AND UPPER(c.TABLE_NAME) LIKE UPPER(?)");
inline const QString kCount = QStringLiteral("SELECT COUNT(*)") + kFrom;
// owner, table, table comment, column, column comment, type, data length, precision, scale, char length
inline const QString kColumns =
    QStringLiteral("SELECT c.OWNER, c.TABLE_NAME, tc.COMMENTS, c.COLUMN_NAME, cc.COMMENTS,"
                   " c.DATA_TYPE, c.DATA_LENGTH, c.DATA_PRECISION, c.DATA_SCALE, c.CHAR_LENGTH"
                   " FROM ALL_TAB_COLUMNS c JOIN ALL_TABLES t ON t.OWNER = c.OWNER AND t.TABLE_NAME = c.TABLE_NAME"
                   " LEFT JOIN ALL_TAB_COMMENTS tc ON tc.OWNER = c.OWNER AND tc.TABLE_NAME = c.TABLE_NAME"
                   " LEFT JOIN ALL_COL_COMMENTS cc ON cc.OWNER = c.OWNER AND cc.TABLE_NAME = c.TABLE_NAME"
                   " AND cc.COLUMN_NAME = c.COLUMN_NAME"
                   " WHERE c.OWNER IN (%1) AND UPPER(c.TABLE_NAME) LIKE UPPER(?)"
                   " ORDER BY c.OWNER, c.TABLE_NAME, c.COLUMN_ID");
} // namespace Oracle

} // namespace CatalogSql

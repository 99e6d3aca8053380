#pragma once
// Every catalog statement of every DBMS the model reader talks to, in one place. Only the
// catalog is read, never table data. Tables an extension owns (PostGIS's spatial_ref_sys) are
// the extension's, not the model's: renaming their columns would break it. %1 stands for the list of schema
// placeholders
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
    " WHERE c.relkind IN ('r', 'p') AND NOT c.relispartition AND n.nspname IN (%1) AND c.relname ILIKE ?"
    " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend e WHERE e.classid = CAST('pg_catalog.pg_class' AS regclass)"
    " AND e.objid = c.oid AND e.deptype = 'e')");
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
                   " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend e"
                   " WHERE e.classid = CAST('pg_catalog.pg_class' AS regclass) AND e.objid = c.oid AND e.deptype = 'e')"
                   " ORDER BY n.nspname, c.relname, a.attnum");
// Key columns: schema, table, column, role (1 primary key, 2 foreign key, 4 referenced by one).
inline const QString kKeys = QStringLiteral(
    "SELECT s, t, c, r FROM (SELECT n.nspname s, c.relname t, a.attname c,"
    " CASE k.contype WHEN 'p' THEN 1 ELSE 2 END r FROM pg_catalog.pg_constraint k"
    " JOIN pg_catalog.pg_class c ON c.oid = k.conrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    " JOIN pg_catalog.pg_attribute a ON a.attrelid = k.conrelid AND a.attnum = ANY (k.conkey)"
    " WHERE k.contype IN ('p', 'f') UNION ALL SELECT n.nspname, c.relname, a.attname, 4"
    " FROM pg_catalog.pg_constraint k JOIN pg_catalog.pg_class c ON c.oid = k.confrelid"
    " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    " JOIN pg_catalog.pg_attribute a ON a.attrelid = k.confrelid AND a.attnum = ANY (k.confkey)"
    " WHERE k.contype = 'f') keys WHERE s IN (%1)");
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
// Key columns: schema, table, column, role (1 primary key, 2 foreign key, 4 referenced by one).
inline const QString kKeys = QStringLiteral(
    "SELECT s, t, c, r FROM (SELECT TABLE_SCHEMA s, TABLE_NAME t, COLUMN_NAME c,"
    " CASE WHEN CONSTRAINT_NAME = 'PRIMARY' THEN 1 ELSE 2 END r FROM information_schema.KEY_COLUMN_USAGE"
    " WHERE CONSTRAINT_NAME = 'PRIMARY' OR REFERENCED_TABLE_NAME IS NOT NULL UNION ALL"
    " SELECT REFERENCED_TABLE_SCHEMA, REFERENCED_TABLE_NAME, REFERENCED_COLUMN_NAME, 4"
    " FROM information_schema.KEY_COLUMN_USAGE WHERE REFERENCED_TABLE_NAME IS NOT NULL) k WHERE s IN (%1)");
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
// Key columns: schema (empty), table, column, role (1 primary key, 2 foreign key, 4 referenced
// by one; a foreign key naming no column references the primary key).
inline const QString kKeys = QStringLiteral(
    "SELECT '', m.name, p.name, 1 FROM sqlite_master m JOIN pragma_table_info(m.name) p"
    " WHERE m.type = 'table' AND p.pk > 0 UNION ALL SELECT '', m.name, f.\"from\", 2 FROM sqlite_master m"
    " JOIN pragma_foreign_key_list(m.name) f WHERE m.type = 'table' UNION ALL SELECT '', f.\"table\","
    " COALESCE(f.\"to\", (SELECT p.name FROM pragma_table_info(f.\"table\") p WHERE p.pk = 1)), 4"
    " FROM sqlite_master m JOIN pragma_foreign_key_list(m.name) f WHERE m.type = 'table'");
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
// Key columns: owner, table, column, role (1 primary key, 2 foreign key, 4 referenced by one).
inline const QString kKeys = QStringLiteral(
    "SELECT s, t, c, r FROM (SELECT cc.OWNER s, cc.TABLE_NAME t, cc.COLUMN_NAME c,"
    " CASE k.CONSTRAINT_TYPE WHEN 'P' THEN 1 ELSE 2 END r FROM ALL_CONSTRAINTS k JOIN ALL_CONS_COLUMNS cc"
    " ON cc.OWNER = k.OWNER AND cc.CONSTRAINT_NAME = k.CONSTRAINT_NAME WHERE k.CONSTRAINT_TYPE IN ('P', 'R')"
    " UNION ALL SELECT cc.OWNER, cc.TABLE_NAME, cc.COLUMN_NAME, 4 FROM ALL_CONSTRAINTS k JOIN ALL_CONS_COLUMNS cc"
    " ON cc.OWNER = k.R_OWNER AND cc.CONSTRAINT_NAME = k.R_CONSTRAINT_NAME WHERE k.CONSTRAINT_TYPE = 'R')"
    " WHERE s IN (%1)");
} // namespace Oracle

} // namespace CatalogSql

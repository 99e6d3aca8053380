#pragma once
// Every statement the fix script writes, per dialect. %n are filled in one QString::arg call
// each, so a name holding "%2" is never filled again.
#include <QString>

namespace FixScriptSql {

// ALTER TABLE table RENAME COLUMN old TO new (PostgreSQL, SQLite 3.25+, Oracle, MariaDB 10.5+,
// MySQL 8.0+).
inline const QString kRename = QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3");
// table.column IS literal (PostgreSQL, Oracle)
inline const QString kComment = QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3");

namespace Postgres {
// What the literals rely on, whatever the server or PGCLIENTENCODING say; then one transaction.
inline const QString kHead = QStringLiteral("SET standard_conforming_strings = on;\n"
                                            "SET client_encoding = 'UTF8';\n"
                                            "BEGIN;\n");
inline const QString kTail = QStringLiteral("COMMIT;\n");
} // namespace Postgres

namespace Sqlite {
inline const QString kHead = QStringLiteral("BEGIN;\n");
inline const QString kTail = QStringLiteral("COMMIT;\n");
} // namespace Sqlite

namespace Oracle {
// SQL*Plus: no & substitution in the literals, a blank line inside a literal is no end, and the
// lines of skipped steps are shown.
inline const QString kHead = QStringLiteral("SET DEFINE OFF\nSET SQLBLANKLINES ON\nSET SERVEROUTPUT ON\n");
// Where a step looks for a column: %1 the owner (a literal); the unqualified form is the
// connection's own tables.
inline const QString kColumnsOf = QStringLiteral("ALL_TAB_COLUMNS WHERE OWNER = %1 AND");
inline const QString kColumnsOfUser = QStringLiteral("USER_TAB_COLUMNS WHERE");
// DDL commits at once, so a rename runs only while the old name is there and the new one is
// not: a stopped script is run again as it is. Done (only the new name): nothing; neither or
// both: a line saying why. %1 kColumnsOf, %2 table, %3 old name, %4 new name (literals),
// %5 the rename (a literal), %6 the line.
inline const QString kRenameStep =
    QStringLiteral("DECLARE\n"
                   "  termwise_old PLS_INTEGER;\n"
                   "  termwise_new PLS_INTEGER;\n"
                   "BEGIN\n"
                   "  SELECT COUNT(*) INTO termwise_old FROM %1 TABLE_NAME = %2 AND COLUMN_NAME = %3;\n"
                   "  SELECT COUNT(*) INTO termwise_new FROM %1 TABLE_NAME = %2 AND COLUMN_NAME = %4;\n"
                   "  IF termwise_old = 1 AND termwise_new = 0 THEN\n"
                   "    EXECUTE IMMEDIATE %5;\n"
                   "  ELSIF NOT (termwise_old = 0 AND termwise_new = 1) THEN\n"
                   "    DBMS_OUTPUT.PUT_LINE(%6);\n"
                   "  END IF;\n"
                   "END;\n"
                   "/\n");
} // namespace Oracle

namespace MySql {
// utf8mb4 for the literals, and backslash escapes on: the mysql client always reads a backslash
// in a literal as an escape, so the server must too or the two would end a literal apart.
inline const QString kHead =
    QStringLiteral("SET NAMES utf8mb4;\n"
                   "SET @termwise_sql_mode = @@SESSION.sql_mode;\n"
                   "SET SESSION sql_mode = REPLACE(@@SESSION.sql_mode, 'NO_BACKSLASH_ESCAPES', '');\n");
inline const QString kTail = QStringLiteral("SET SESSION sql_mode = @termwise_sql_mode;\n");
// One step: %1 an expression choosing the statement to run (a literal), without procedures.
inline const QString kStep = QStringLiteral("SET @termwise_step = %1;\n"
                                            "PREPARE termwise_step FROM @termwise_step;\n"
                                            "EXECUTE termwise_step;\n"
                                            "DEALLOCATE PREPARE termwise_step;\n");
inline const QString kDone = QStringLiteral("'DO 0'");
// A step that cannot run says so as a result row rather than failing the rest.
inline const QString kSkipped = QStringLiteral("SELECT %1 AS termwise_skipped");
inline const QString kCurrentSchema = QStringLiteral("DATABASE()");
// %1 schema, %2 table, %3 old name, %4 new name (literals), %5 the rename, %6 the skip.
inline const QString kRenameStep =
    QStringLiteral("IF(EXISTS(SELECT 1 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = %1 AND TABLE_NAME = %2"
                   " AND COLUMN_NAME = %3),\n  %5,\n"
                   "  IF(EXISTS(SELECT 1 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = %1 AND TABLE_NAME = %2"
                   " AND COLUMN_NAME = %4), 'DO 0', %6))");
// MODIFY restates the column: done when the comment is there already; run only while the column
// is what the restatement says (its type) and holds nothing it would drop (a generation, an
// INVISIBLE, MariaDB's CHECK that bears the column's name).
// %1 schema, %2 table, %3 column, %4 new comment, %5 lower-case type (literals), %6 the
// statement, %7 the skip.
inline const QString kModify = QStringLiteral("ALTER TABLE %1 MODIFY COLUMN %2 %3 COMMENT %4");
inline const QString kCommentStep =
    QStringLiteral("IF(EXISTS(SELECT 1 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = %1 AND TABLE_NAME = %2"
                   " AND COLUMN_NAME = %3 AND CAST(COLUMN_COMMENT AS BINARY) = CAST(%4 AS BINARY)), 'DO 0',\n"
                   "  IF(EXISTS(SELECT 1 FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = %1 AND TABLE_NAME = %2"
                   " AND COLUMN_NAME = %3 AND LOWER(COLUMN_TYPE) = %5 AND IFNULL(GENERATION_EXPRESSION, '') = ''"
                   " AND EXTRA NOT LIKE '%INVISIBLE%')\n"
                   "     AND NOT EXISTS(SELECT 1 FROM information_schema.TABLE_CONSTRAINTS WHERE TABLE_SCHEMA = %1"
                   " AND TABLE_NAME = %2 AND CONSTRAINT_TYPE = 'CHECK' AND CONSTRAINT_NAME = %3),\n"
                   "  %6,\n  %7))");
} // namespace MySql

} // namespace FixScriptSql

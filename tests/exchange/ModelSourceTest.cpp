#include "exchange/ModelSource.h"
#include "exchange/CatalogReader.h"
#include "exchange/DdlReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using ModelSource::Dialect;

namespace {

// table | table comment | column | logical name | type | length | scale
QStringList Rows(const ModelSource::AttributeList& list)
{
    QStringList out;
    for (int r = 1; r < list.rows.size(); ++r) {
        const QStringList& row = list.rows[r];
        out << QStringList{row[ModelSource::ColTable],  row[ModelSource::ColTableComment],
                           row[ModelSource::ColColumn], row[ModelSource::ColAttribute],
                           row[ModelSource::ColType],   row[ModelSource::ColLength],
                           row[ModelSource::ColScale]}
                   .join(u'|');
    }
    return out;
}

} // namespace

// Our own samples of the four dialects: tables and comments in separate files, quoted names,
// a CP949 file, statements of no interest, and one statement that cannot be read.
TEST(DdlReader, SamplesOfTheFourDialects)
{
    struct Case
    {
        const char* dialect;
        QStringList files;
        Dialect guessed;
        QStringList rows;
        QStringList warnings; // parts of the warnings, in order
    };
    const QString customer = QStringLiteral("CUSTOMER|고객|");
    const std::vector<Case> cases = {
        {"oracle",
         {"oracle/tables.sql", "oracle/comments.sql"},
         Dialect::Oracle,
         {customer + "CUST_NO|고객번호|VARCHAR2(20)|20|", customer + "CUST_NM|고객명|VARCHAR2(100)|100|",
          customer + "JOIN_DT|가입일자|CHAR(8)|8|", customer + "Grade Cd|등급코드|VARCHAR2(10)|10|",
          customer + "MEMO||CLOB||", "ORDER_ITEM|주문 상품|ORD_NO|주문번호|VARCHAR2(20)|20|",
          "ORDER_ITEM|주문 상품|ORD_AMT|주문금액|NUMBER(15,2)|15|2",
          "ORDER_ITEM|주문 상품|ORD_QTY|주문수량|NUMBER(10)|10|", "ORDER_ITEM|주문 상품|REG_DTM|등록일시|DATE||"},
         {"tables.sql:28:", "comments.sql:13: 없는 컬럼"}},
        {"postgresql",
         {"postgresql/tables.sql", "postgresql/comments.sql"},
         Dialect::PostgreSql,
         {customer + "CUST_NO|고객번호|CHARACTER VARYING(20)|20|", customer + "CUST_NM|고객명|VARCHAR(100)|100|",
          customer + "JOIN_DT|가입일자|CHARACTER(8)|8|", customer + "Grade Cd|등급코드|VARCHAR(10)|10|",
          customer + "MEMO||TEXT||", "ORDER_ITEM|주문 상품|ORD_NO|주문번호|CHARACTER VARYING(20)|20|",
          "ORDER_ITEM|주문 상품|ORD_AMT|주문금액|NUMERIC(15,2)|15|2", "ORDER_ITEM|주문 상품|ORD_QTY|주문수량|INTEGER||",
          "ORDER_ITEM|주문 상품|REG_DTM|등록일시|TIMESTAMP WITHOUT TIME ZONE||"},
         {"tables.sql:42:"}},
        {"mysql",
         {"mysql/tables.sql", "mysql/comments.sql"},
         Dialect::MySql,
         {customer + "CUST_NO|고객번호|VARCHAR(20)|20|", customer + "CUST_NM|고객명|VARCHAR(100)|100|",
          customer + "JOIN_DT|가입일자|CHAR(8)|8|", customer + "Grade Cd|등급코드|VARCHAR(10)|10|",
          customer + "MEMO||TEXT||", "ORDER_ITEM|주문 상품|ORD_NO|주문번호|VARCHAR(20)|20|",
          "ORDER_ITEM|주문 상품|ORD_AMT|주문금액|DECIMAL UNSIGNED(15,2)|15|2",
          "ORDER_ITEM|주문 상품|ORD_QTY|주문수량|INT||", "ORDER_ITEM|주문 상품|REG_DTM|등록일시|DATETIME||"},
         {"tables.sql:31: 끝나지 않은"}},
        {"sqlite",
         {"sqlite/tables.sql", "sqlite/alter.sql"},
         Dialect::Sqlite,
         {"CUSTOMER||CUST_NO||TEXT||", "CUSTOMER||CUST_NM||VARCHAR(100)|100|", "CUSTOMER||JOIN DT||CHAR(8)|8|",
          "CUSTOMER||Grade Cd||TEXT||", "CUSTOMER||MEMO||||", "ORDER_ITEM||ORD_NO||INTEGER||",
          "ORDER_ITEM||ORD_AMOUNT||NUMERIC(15,2)|15|2", "ORDER_ITEM||ORD_QTY||INTEGER||"},
         {"tables.sql:16: 끝나지 않은"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialect);
        QStringList files;
        for (const QString& f : c.files)
            files << TestDataPath(QStringLiteral("ddl/") + f);
        ModelSource::AttributeList list;
        QString error;
        ASSERT_TRUE(DdlReader::Read(files, list, error)) << error.toStdString();
        EXPECT_EQ(list.dialect, c.guessed);
        EXPECT_EQ(Rows(list).join(u'\n'), c.rows.join(u'\n'));
        EXPECT_EQ(list.tables, 2);
        ASSERT_EQ(list.warnings.size(), c.warnings.size()) << list.warnings.join(u'\n').toStdString();
        for (qsizetype i = 0; i < c.warnings.size(); ++i)
            EXPECT_TRUE(list.warnings[i].contains(c.warnings[i])) << list.warnings[i].toStdString();
        // The whole comment is the definition; its first line the logical name.
        if (c.guessed != Dialect::Sqlite) {
            EXPECT_EQ(list.rows[2][ModelSource::ColComment], QStringLiteral("고객명\n고객의 이름"));
        }
        // The facts keep the names as stored, for the fix script.
        EXPECT_EQ(list.facts[3].column, QStringLiteral("Grade Cd"));
    }
}

TEST(DdlReader, StatementsAcrossPiecesAndBadInput)
{
    // A comment and a string that hold semicolons, line comments and a statement over many lines.
    QString script;
    for (int t = 0; t < 3000; ++t)
        script += QStringLiteral("CREATE TABLE t%1 ( -- the %1st; not the end\n  a%1 NUMBER(5) /* ; */,\n"
                                 "  b VARCHAR2(30) DEFAULT 'x;y'\n);\nCOMMENT ON COLUMN t%1.a%1 IS '값;%1';\n")
                      .arg(t);
    TempDataDir dir;
    const QString path = dir.file(QStringLiteral("big.sql"));
    WriteTextFile(path, script); // about 400 KB: read in several pieces
    ModelSource::AttributeList list;
    QString error;
    int calls = 0;
    DdlReader::Options options;
    options.progress = [&](qint64 done, qint64 total) {
        ++calls;
        return done <= total;
    };
    ASSERT_TRUE(DdlReader::Read({path}, list, error, options)) << error.toStdString();
    EXPECT_EQ(list.Columns(), 6000);
    EXPECT_EQ(list.rows[2999 * 2 + 1][ModelSource::ColComment], QStringLiteral("값;2999"));
    EXPECT_TRUE(list.warnings.isEmpty()) << list.warnings.join(u'\n').toStdString();
    EXPECT_GE(calls, 1);

    // Cancelled: nothing is kept.
    options.progress = [](qint64, qint64) { return false; };
    EXPECT_FALSE(DdlReader::Read({path}, list, error, options));
    EXPECT_EQ(list.Columns(), 0);

    // No CREATE TABLE at all.
    EXPECT_FALSE(DdlReader::ReadText(QStringLiteral("INSERT INTO t VALUES (1);\nCOMMENT ON TABLE t IS 'x';"),
                                     QStringLiteral("x.sql"), list, error));
    EXPECT_EQ(error, QStringLiteral("CREATE TABLE 문이 없습니다"));
    EXPECT_FALSE(DdlReader::Read({dir.file(QStringLiteral("missing.sql"))}, list, error));
}

TEST(DdlReader, NamesTypesAndDialectRules)
{
    struct Case
    {
        const char* script;
        Dialect dialect;
        QStringList rows;
    };
    const std::vector<Case> cases = {
        // PostgreSQL folds unquoted names to lower case: "A" and a are two columns, A and a one.
        {"CREATE TABLE s.\"T\" (\"A\" int, a int, b int[]); COMMENT ON COLUMN s.\"T\".A IS 'xx';"
         "ALTER TABLE s.\"T\" ALTER COLUMN b TYPE bigint; ALTER TABLE s.\"T\" DROP COLUMN \"A\";",
         Dialect::PostgreSql,
         {"T||A|xx|INT||", "T||B||BIGINT||"}},
        // MySQL: names without case, CHANGE renames, a later CREATE replaces the table.
        {"CREATE TABLE t (A int); CREATE TABLE T (x int(11) unsigned zerofill, y enum('a,b','c') COMMENT 'yy');"
         "ALTER TABLE t CHANGE COLUMN X z bigint(20) COMMENT 'zz';",
         Dialect::MySql,
         {"T||Z|zz|BIGINT||", "T||Y|yy|ENUM||"}},
        // Oracle folds to upper case; KEY is a column name there.
        {"create table t (key varchar2(10), \"lower\" number(*,0));",
         Dialect::Oracle,
         {"T||KEY||VARCHAR2(10)|10|", "T||LOWER||NUMBER(*,0)|*|0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ModelSource::AttributeList list;
        QString error;
        DdlReader::Options options;
        options.dialect = c.dialect;
        ASSERT_TRUE(DdlReader::ReadText(QString::fromUtf8(c.script), QStringLiteral("t.sql"), list, error, options));
        EXPECT_EQ(Rows(list).join(u'\n'), c.rows.join(u'\n')) << list.warnings.join(u'\n').toStdString();
    }
}

// Catalog rows of the servers the tests have none of (Oracle), and what MySQL's MODIFY restates.
TEST(CatalogReader, OracleTypesAndMySqlDefinitions)
{
    struct OracleCase
    {
        const char *type, *length, *precision, *scale, *charLength, *shown;
    };
    const OracleCase oracle[] = {
        {"VARCHAR2", "40", "", "", "10", "VARCHAR2(10)"}, // CHAR semantics: 10 characters in 40 bytes
        {"VARCHAR2", "20", "", "", "0", "VARCHAR2(20)"},
        {"NUMBER", "22", "10", "2", "", "NUMBER(10,2)"},
        {"NUMBER", "22", "", "", "", "NUMBER"},
        {"FLOAT", "22", "126", "", "", "FLOAT(126)"},
        {"TIMESTAMP(6)", "11", "", "6", "", "TIMESTAMP(6)"},
        {"RAW", "16", "", "", "", "RAW(16)"},
        {"DATE", "7", "", "", "", "DATE"},
    };
    for (const OracleCase& c : oracle)
        EXPECT_EQ(CatalogReader::OracleType(QString::fromLatin1(c.type), QString::fromLatin1(c.length),
                                            QString::fromLatin1(c.precision), QString::fromLatin1(c.scale),
                                            QString::fromLatin1(c.charLength))
                      .Display(),
                  QString::fromLatin1(c.shown));

    // MySQL states defaults bare (an expression marked DEFAULT_GENERATED), MariaDB as SQL.
    EXPECT_EQ(CatalogReader::MySqlDefinition(u"varchar(20)"_qs, u"NO"_qs, u"it's"_qs, false, QString(),
                                             u"utf8mb4_bin"_qs, QString(), false),
              u"varchar(20) COLLATE utf8mb4_bin NOT NULL DEFAULT 'it''s'"_qs);
    EXPECT_EQ(CatalogReader::MySqlDefinition(u"datetime"_qs, u"YES"_qs, u"CURRENT_TIMESTAMP"_qs, false,
                                             u"DEFAULT_GENERATED on update CURRENT_TIMESTAMP"_qs, QString(), QString(),
                                             false),
              u"datetime NULL DEFAULT (CURRENT_TIMESTAMP) on update CURRENT_TIMESTAMP"_qs);
    EXPECT_EQ(CatalogReader::MySqlDefinition(u"varchar(10)"_qs, u"YES"_qs, u"'x'"_qs, false, QString(), QString(),
                                             QString(), true),
              u"varchar(10) NULL DEFAULT 'x'"_qs);
    EXPECT_EQ(CatalogReader::MySqlDefinition(u"int(11)"_qs, u"NO"_qs, QString(), true, u"auto_increment"_qs, QString(),
                                             QString(), true),
              u"int(11) NOT NULL AUTO_INCREMENT"_qs);
    EXPECT_EQ(CatalogReader::MySqlDefinition(u"int"_qs, u"YES"_qs, QString(), true, u"VIRTUAL GENERATED"_qs, QString(),
                                             u"`a` + 1"_qs, true),
              u"int AS (`a` + 1) VIRTUAL"_qs);
}

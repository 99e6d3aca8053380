#include "exchange/ModelSource.h"
#include "exchange/CatalogReader.h"
#include "exchange/DdlReader.h"
#include "exchange/DdlScript.h"
#include "exchange/DdlSplitter.h"
#include "exchange/ModelSourceTexts.h"
#include "repository/RepoTestDb.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QStringEncoder>
#include <QTcpServer>
#include <gtest/gtest.h>

using ModelSource::Dialect;

namespace {

// A script read as the dialect of that name reads it; false with the reader's message.
bool ReadInDialect(const char* dialect, const char* script, const QString& file, ModelSource::AttributeList& list,
                   QString& error)
{
    DdlReader::Options options;
    options.dialect = ModelSource::DialectOfName(QString::fromLatin1(dialect));
    return DdlReader::ReadText(QString::fromUtf8(script), file, list, error, options);
}

// table | table comment | column | logical name | type | length | scale
// Every column as the reader hands its tables over, with all it keeps of each.
QStringList TableRows(const QStringList& files, size_t heldColumns, qint64 twoThreadsFrom = -1)
{
    DdlReader::Tables tables;
    ModelSource::AttributeList list;
    QString error;
    DdlReader::Options options;
    options.heldColumns = heldColumns;
    options.twoThreadsFrom = twoThreadsFrom;
    EXPECT_TRUE(DdlReader::Read(files, list, error, options, &tables)) << error.toStdString();
    QStringList out;
    DdlReader::Tables::Table t;
    while (tables.Next(t))
        for (const DdlReader::Tables::Column& c : t.columns)
            out << QStringList{t.schema,  t.name,           t.comment,    c.name,
                               c.comment, c.type.Display(), c.definition, QString::number(c.keys)}
                       .join(u'|');
    EXPECT_FALSE(tables.Failed());
    return out;
}

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
         {"tables.sql:28:", "comments.sql: UTF-8이 아니어서", "comments.sql:13: 없는 컬럼"}},
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
         {"tables.sql:31: 문자열"}},
        {"sqlite",
         {"sqlite/tables.sql", "sqlite/alter.sql"},
         Dialect::Sqlite,
         {"CUSTOMER||CUST_NO||TEXT||", "CUSTOMER||CUST_NM||VARCHAR(100)|100|", "CUSTOMER||JOIN DT||CHAR(8)|8|",
          "CUSTOMER||Grade Cd||TEXT||", "CUSTOMER||MEMO||||", "ORDER_ITEM||ORD_NO||INTEGER||",
          "ORDER_ITEM||ORD_AMOUNT||NUMERIC(15,2)|15|2", "ORDER_ITEM||ORD_QTY||INTEGER||"},
         {"tables.sql:16: 문자열"}},
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
        // Tables put aside on disk from the first column on (each later statement brings its
        // table back), statements applied on a second thread: handed over as those held in memory.
        const QStringList held = TableRows(files, 0);
        EXPECT_EQ(held.size(), c.rows.size());
        EXPECT_EQ(TableRows(files, 1).join(u'\n'), held.join(u'\n'));
        EXPECT_EQ(TableRows(files, 1, 0).join(u'\n'), held.join(u'\n'));
        DdlReader::Options spilling;
        spilling.heldColumns = 1;
        spilling.twoThreadsFrom = 0;
        ModelSource::AttributeList fromDisk;
        ASSERT_TRUE(DdlReader::Read(files, fromDisk, error, spilling)) << error.toStdString();
        EXPECT_EQ(Rows(fromDisk).join(u'\n'), c.rows.join(u'\n'));
        EXPECT_EQ(fromDisk.warnings, list.warnings);
    }
}

TEST(DdlReader, StatementsAcrossPiecesAndBadInput)
{
    // A comment and a string that hold semicolons, line comments and a statement over many lines.
    QString script;
    constexpr int kTables = 10000; // spilled past 100 columns below: more than a megabyte goes to disk
    for (int t = 0; t < kTables; ++t)
        script += QStringLiteral("CREATE TABLE t%1 ( -- the %1st; not the end\n  a%1 NUMBER(5) /* ; */,\n"
                                 "  b VARCHAR2(30) DEFAULT 'x;y'\n);\nCOMMENT ON COLUMN t%1.a%1 IS '값;%1';\n")
                      .arg(t);
    TempDataDir dir;
    const QString path = dir.file(QStringLiteral("big.sql"));
    WriteTextFile(path, script); // about 1.4 MB: read in several pieces
    ModelSource::AttributeList list;
    QString error;
    int calls = 0;
    DdlReader::Options options;
    options.progress = [&](qint64 done, qint64 total) {
        ++calls;
        return done <= total;
    };
    ASSERT_TRUE(DdlReader::Read({path}, list, error, options)) << error.toStdString();
    EXPECT_EQ(list.Columns(), kTables * 2);
    EXPECT_EQ(list.rows[(kTables - 1) * 2 + 1][ModelSource::ColComment], QStringLiteral("값;%1").arg(kTables - 1));
    EXPECT_TRUE(list.warnings.isEmpty()) << list.warnings.join(u'\n').toStdString();
    EXPECT_GE(calls, 1);
    // In pieces of 4 KB, statements applied on a second thread, tables spilled past 100 columns.
    DdlReader::Options piecewise;
    piecewise.pieceBytes = 4096;
    piecewise.twoThreadsFrom = 0;
    piecewise.heldColumns = 100;
    ModelSource::AttributeList again;
    ASSERT_TRUE(DdlReader::Read({path}, again, error, piecewise)) << error.toStdString();
    EXPECT_EQ(again.rows, list.rows);

    // Cancelled, on one thread or two: nothing is kept.
    piecewise.progress = [](qint64 done, qint64) { return done < 100000; };
    EXPECT_FALSE(DdlReader::Read({path}, again, error, piecewise));
    EXPECT_EQ(again.Columns(), 0);
    options.progress = [](qint64, qint64) { return false; };
    EXPECT_FALSE(DdlReader::Read({path}, list, error, options));
    EXPECT_EQ(list.Columns(), 0);

    // No CREATE TABLE at all.
    EXPECT_FALSE(DdlReader::ReadText(QStringLiteral("INSERT INTO t VALUES (1);\nCOMMENT ON TABLE t IS 'x';"),
                                     QStringLiteral("x.sql"), list, error));
    EXPECT_EQ(error, QStringLiteral("CREATE TABLE 문이 없습니다"));
    EXPECT_FALSE(DdlReader::Read({dir.file(QStringLiteral("missing.sql"))}, list, error));
}

// The reading thread and the applying one share the work by how far behind the second is:
// cut into tokens by either, column lists read by either, the model is the same.
TEST(DdlReader, WhicheverThreadReadsAStatementTheModelIsTheSame)
{
    const QString script = QString::fromUtf8(
        "CREATE TABLE shop.cust (id INT PRIMARY KEY COMMENT '고객번호', nm VARCHAR(50) NOT NULL COMMENT '고객명',\n"
        "  CONSTRAINT uq UNIQUE (nm));\n"
        "CREATE TABLE IF NOT EXISTS shop.ord (no INT, cust INT REFERENCES shop.cust (id), amt DECIMAL(15,2) AFTER no,\n"
        "  FOREIGN KEY (no) REFERENCES shop.ord (no));\n"
        "CREATE TEMPORARY TABLE tmp (a INT);\n"
        "ALTER TABLE shop.ord ADD COLUMN memo TEXT COMMENT '메모';\n"
        "CREATE TABLE shop.cust (id INT COMMENT '다시', x INT);\n"
        "CREATE TABLE shop.bad (, );\n"
        "CREATE TABLE shop.open (a INT");
    const auto read = [&](const std::atomic<int>* waiting) {
        using namespace DdlReader::Internal;
        ModelSource::AttributeList list;
        Script s(Dialect::MySql, list);
        s.SetFile(QStringLiteral("w.sql"));
        s.ShareWorkBy(waiting);
        Splitter splitter(s);
        splitter.Feed(script);
        splitter.End();
        s.Finish();
        QStringList out = Rows(list);
        for (const ModelSource::ColumnFacts& f : list.facts)
            out << f.definition + u'|' + QString::number(f.keys);
        return (out + list.warnings).join(u'\n');
    };
    const std::atomic<int> idle{0}, behind{DdlReader::Internal::Script::kReadColumnsFrom};
    const QString alone = read(nullptr);
    EXPECT_TRUE(alone.contains(QString::fromUtf8("다시"))) << alone.toStdString();
    EXPECT_EQ(read(&idle), alone);
    EXPECT_EQ(read(&behind), alone);
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
        // A type named with its schema (PostGIS's geometry, pg_dump's pg_catalog types).
        {"CREATE TABLE g (p public.geometry(Point,4326), q pg_catalog.int4);",
         Dialect::PostgreSql,
         {"G||P||GEOMETRY(Point,4326)|Point|4326", "G||Q||INT4||"}},
        // MySQL: names without case, CHANGE renames, a later CREATE replaces the table.
        {"CREATE TABLE t (A int); CREATE TABLE T (x int(11) unsigned zerofill, y enum('a,b','c') COMMENT 'yy');"
         "ALTER TABLE t CHANGE COLUMN X z bigint(20) COMMENT 'zz';",
         Dialect::MySql,
         {"T||Z|zz|BIGINT||", "T||Y|yy|ENUM||"}},
        // Oracle folds to upper case; KEY is a column name there.
        {"create table t (key varchar2(10), \"lower\" number(*,0));",
         Dialect::Oracle,
         {"T||KEY||VARCHAR2(10)|10|", "T||LOWER||NUMBER(*,0)|*|0"}},
        // Names beyond ASCII fold by Unicode's rules, in both directions.
        {"CREATE TABLE 고객Info (Ünit int, Naïve_NM varchar(5));",
         Dialect::PostgreSql,
         {"고객INFO||ÜNIT||INT||", "고객INFO||NAÏVE_NM||VARCHAR(5)|5|"}},
        {"create table 주문 (naïve number, \"mixed Ü\" int);",
         Dialect::Oracle,
         {"주문||NAÏVE||NUMBER||", "주문||mixed Ü||INT||"}},
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

    // A table's columns are found by a scan while it is narrow and by a hash once it is wide:
    // renames, a drop and a column added again on both sides of that change.
    QString script = QStringLiteral("CREATE TABLE w (c1 int");
    for (int i = 2; i <= 15; ++i)
        script += QStringLiteral(", c%1 int").arg(i);
    script += QStringLiteral(");\nALTER TABLE w RENAME COLUMN c3 TO d3;\nALTER TABLE w ADD COLUMN x16 int;\n"
                             "ALTER TABLE w ADD COLUMN x17 int;\nALTER TABLE w RENAME COLUMN d3 TO e3;\n"
                             "ALTER TABLE w DROP COLUMN c5;\nALTER TABLE w ADD COLUMN c5 text;\n"
                             "COMMENT ON COLUMN w.e3 IS 'ee';\nCOMMENT ON COLUMN w.c5 IS 'cc';\n");
    QStringList expected;
    for (const char* c : {"c1", "c2", "e3", "c4", "c6", "c7", "c8", "c9", "c10", "c11", "c12", "c13", "c14", "c15",
                          "x16", "x17", "c5"}) {
        const QString name = QString::fromLatin1(c).toUpper();
        expected << QStringLiteral("W||%1|%2|%3||")
                        .arg(name,
                             name == u"E3"   ? QStringLiteral("ee")
                             : name == u"C5" ? QStringLiteral("cc")
                                             : QString(),
                             name == u"C5" ? QStringLiteral("TEXT") : QStringLiteral("INT"));
    }
    ModelSource::AttributeList list;
    QString error;
    DdlReader::Options options;
    options.dialect = Dialect::PostgreSql;
    ASSERT_TRUE(DdlReader::ReadText(script, QStringLiteral("w.sql"), list, error, options));
    EXPECT_EQ(Rows(list).join(u'\n'), expected.join(u'\n')) << list.warnings.join(u'\n').toStdString();
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

// What the reader cannot read it says, with the file and line, and reads on: unclosed comments,
// strings and quoted names; nested comments, E'' strings and q'' quotes read as their dialect
// reads them (no phantom table, nothing swallowed).
TEST(DdlReader, UnclosedAndDialectQuotesNeverMisreadSilently)
{
    struct Case
    {
        const char* dialect;
        const char* script;
        const char* tables;  // the tables read, in order
        const char* warning; // part of the one warning expected, or "" for none
    };
    const Case cases[] = {
        {"postgresql", "CREATE TABLE a (x INT);\n/* never closed\nCREATE TABLE b (y INT);\n", "A B", "t.sql:2: 주석"},
        {"oracle", "CREATE TABLE a (x NUMBER, y VARCHAR2(9) DEFAULT 'oops);\nCREATE TABLE b (y NUMBER);\n", "B",
         "t.sql:1: 문자열"},
        {"mysql", "CREATE TABLE `a (x INT);\nCREATE TABLE b (y INT);\n", "B", "t.sql:1: 따옴표"},
        {"postgresql", "/* outer /* inner */ CREATE TABLE ghost (g INT); */\nCREATE TABLE real1 (r INT);\n", "REAL1",
         ""},
        {"postgresql", "CREATE TABLE c (n INT);\nCOMMENT ON COLUMN c.n IS E'고객\\'s 번호';\nCREATE TABLE d (m INT);\n",
         "C D", ""},
        {"oracle",
         "CREATE TABLE e (n NUMBER);\nCOMMENT ON COLUMN e.n IS q'[it's; CREATE TABLE ghost (g NUMBER); ]';\n"
         "CREATE TABLE f (m NUMBER);\n",
         "E F", ""},
    };
    for (const Case& c : cases) {
        ModelSource::AttributeList list;
        QString error;
        ASSERT_TRUE(ReadInDialect(c.dialect, c.script, QStringLiteral("t.sql"), list, error))
            << c.script << error.toStdString();
        QStringList tables;
        for (int r = 1; r < list.rows.size(); ++r)
            if (tables.isEmpty() || tables.back() != list.rows[r][ModelSource::ColTable])
                tables << list.rows[r][ModelSource::ColTable];
        EXPECT_EQ(tables.join(u' '), QString::fromUtf8(c.tables)) << c.script;
        if (*c.warning) {
            ASSERT_EQ(list.warnings.size(), 1) << c.script << list.warnings.join(u'\n').toStdString();
            EXPECT_TRUE(list.warnings[0].contains(QString::fromUtf8(c.warning))) << list.warnings[0].toStdString();
        } else {
            EXPECT_TRUE(list.warnings.isEmpty()) << c.script << list.warnings.join(u'\n').toStdString();
        }
    }
}

// Quoted texts come out unescaped, in each dialect's way, wherever the quotes and escapes sit.
TEST(DdlReader, CommentTextsUnescaped)
{
    const struct
    {
        const char* dialect;
        const char* script;
        const char* comment;
    } cases[] = {
        {"postgresql", "CREATE TABLE t (n INT);\nCOMMENT ON COLUMN t.n IS '''고객'' 번호 ''';", "'고객' 번호 '"},
        {"postgresql", "CREATE TABLE t (n INT);\nCOMMENT ON COLUMN t.n IS E'고객\\'s\\n번호\\\\';", "고객's\n번호\\"},
        {"mysql", "CREATE TABLE t (n INT COMMENT \"a\\\"b\"\"c\\td\");", "a\"b\"c\td"},
        {"oracle", "CREATE TABLE t (n NUMBER);\nCOMMENT ON COLUMN t.n IS '';", ""},
    };
    for (const auto& c : cases) {
        ModelSource::AttributeList list;
        QString error;
        ASSERT_TRUE(ReadInDialect(c.dialect, c.script, QStringLiteral("t.sql"), list, error)) << c.script;
        ASSERT_EQ(list.Columns(), 1) << c.script;
        EXPECT_EQ(list.rows[1][ModelSource::ColComment], QString::fromUtf8(c.comment)) << c.script;
    }
}

// A stray byte in a UTF-8 file keeps the file UTF-8 and is named; a CP949 file is read as CP949
// and said to be.
TEST(DdlReader, EncodingIsDecidedFromTheWholeFile)
{
    TempDataDir dir;
    const QString script = QStringLiteral("CREATE TABLE t (a INT, b INT);\nCOMMENT ON COLUMN t.a IS '고객번호';\n");
    QStringEncoder cp949("CP949");
    const struct
    {
        QByteArray bytes;
        const char* warning;
    } cases[] = {
        {script.toUtf8(), ""},
        {script.toUtf8() + "-- \xff\n", "3번째 줄의 바이트 0xFF"},
        {script.toUtf8() + "-- \xea\xb0", "3번째 줄의 바이트 0xEA"}, // cut inside its last character
        {cp949.encode(script), "CP949로"},
    };
    const QString first = dir.file(QStringLiteral("first.sql"));
    {
        QFile file(first);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("CREATE TABLE z (q INT);\n");
    }
    for (const auto& c : cases) {
        const QString path = dir.file(QStringLiteral("e.sql"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        // By itself, and behind another file on two threads, where it is checked ahead. In small
        // pieces, the byte is found after statements were read as UTF-8.
        for (const bool behind : {false, true}) {
            ModelSource::AttributeList list;
            QString error;
            DdlReader::Options options;
            options.twoThreadsFrom = behind ? 0 : -1;
            options.pieceBytes = 16;
            ASSERT_TRUE(DdlReader::Read(behind ? QStringList{first, path} : QStringList{path}, list, error, options))
                << error.toStdString();
            ASSERT_EQ(list.rows.size(), behind ? 4 : 3);
            EXPECT_EQ(list.rows[behind ? 2 : 1][ModelSource::ColAttribute], QStringLiteral("고객번호")) << c.warning;
            EXPECT_EQ(list.warnings.size(), *c.warning ? 1 : 0) << list.warnings.join(u'\n').toStdString();
            if (*c.warning && !list.warnings.isEmpty()) {
                EXPECT_TRUE(list.warnings[0].contains(QString::fromUtf8(c.warning))) << list.warnings[0].toStdString();
                EXPECT_TRUE(list.warnings[0].contains(QStringLiteral("e.sql"))) << list.warnings[0].toStdString();
            }
        }
    }
}

// Key roles from inline and table constraints and ALTER TABLE, the referenced side included.
TEST(DdlReader, KeyRolesOfColumns)
{
    const struct
    {
        const char* dialect;
        const char* script;
        const char* keys; // table.column:bits of every key column, in order
    } cases[] = {
        {"postgresql",
         "CREATE TABLE p (id INT PRIMARY KEY, n INT);\nCREATE TABLE c (pid INT REFERENCES p, k INT, x INT,\n"
         "  CONSTRAINT c_pk PRIMARY KEY (k));\nALTER TABLE ONLY c ADD CONSTRAINT c_fk FOREIGN KEY (x) REFERENCES p "
         "(n);\n",
         "P.ID:5 P.N:4 C.PID:2 C.K:1 C.X:2"},
        {"mysql",
         "CREATE TABLE `p` (`id` INT NOT NULL, PRIMARY KEY (`id`));\n"
         "CREATE TABLE `c` (`pid` INT, KEY `i` (`pid`), CONSTRAINT `f` FOREIGN KEY (`pid`) REFERENCES `p` (`id`));\n",
         "P.ID:5 C.PID:2"},
        {"oracle",
         "CREATE TABLE P (ID NUMBER CONSTRAINT P_PK PRIMARY KEY);\nCREATE TABLE C (PID NUMBER);\n"
         "ALTER TABLE C ADD (CONSTRAINT C_FK FOREIGN KEY (PID) REFERENCES P);\n",
         "P.ID:5 C.PID:2"},
        {"sqlite", "CREATE TABLE p (id INTEGER PRIMARY KEY AUTOINCREMENT, n TEXT);\n", "P.ID:1"},
    };
    for (const auto& c : cases) {
        ModelSource::AttributeList list;
        QString error;
        ASSERT_TRUE(ReadInDialect(c.dialect, c.script, QStringLiteral("k.sql"), list, error)) << error.toStdString();
        QStringList keys;
        for (int i = 0; i < list.Columns(); ++i)
            if (list.facts[size_t(i)].keys)
                keys << QStringLiteral("%1.%2:%3")
                            .arg(list.rows[i + 1][ModelSource::ColTable], list.rows[i + 1][ModelSource::ColColumn])
                            .arg(list.facts[size_t(i)].keys);
        EXPECT_EQ(keys.join(u' '), QString::fromUtf8(c.keys)) << c.script;
    }
}

// A dump of several databases or schemas names its tables once, after USE or SET search_path:
// the same table name in two of them stays two tables, with their comments and keys.
TEST(DdlReader, UnqualifiedTablesAreInTheCurrentSchema)
{
    const struct
    {
        const char* dialect;
        const char* script;
        const char* columns; // schema.table.column:comment:keys
        int notTheModel = 0; // temporary tables and the server's own, left out
    } cases[] = {
        // A whole server's dump (HeidiSQL): its own schemas and views' stand-ins are no model.
        {"mysql",
         "USE `information_schema`;\nCREATE TEMPORARY TABLE IF NOT EXISTS `COLUMNS` (`TABLE_NAME` varchar(64));\n"
         "USE `performance_schema`;\nCREATE TABLE IF NOT EXISTS `users` (`USER` char(16));\n"
         "USE `blog`;\nCREATE TABLE IF NOT EXISTS `users` (`ID` varchar(50) COMMENT '아이디');\n"
         "CREATE TEMPORARY TABLE v (a int);\n",
         "blog.USERS.ID:아이디:0", 3},
        {"mysql",
         "CREATE DATABASE a; USE `a`;\nCREATE TABLE t (id INT PRIMARY KEY COMMENT 'x');\n"
         "USE b;\nCREATE TABLE t (id INT, pid INT, FOREIGN KEY (pid) REFERENCES t (id));\n"
         "ALTER TABLE t MODIFY id INT COMMENT 'y';\n",
         "a.T.ID:x:1 b.T.ID:y:4 b.T.PID::2"},
        {"postgresql",
         "SET search_path = s1, pg_catalog;\nCREATE TABLE t (c int);\nCOMMENT ON COLUMN t.c IS 'x';\n"
         "SET search_path TO \"S2\";\nCREATE TABLE t (c int);\nCOMMENT ON COLUMN t.c IS 'y';\n"
         "SELECT pg_catalog.set_config('search_path', '', false);\nSET search_path = '';\n"
         "CREATE TABLE s1.u (d int);\n",
         "s1.T.C:x:0 S2.T.C:y:0 s1.U.D::0"},
        {"oracle",
         "ALTER SESSION SET CURRENT_SCHEMA = hr;\nCREATE TABLE t (c NUMBER);\nCOMMENT ON COLUMN t.c IS 'x';\n",
         "HR.T.C:x:0"},
        // Comments that name the table as the one before did, after a DROP or a schema change.
        {"postgresql",
         "CREATE TABLE s1.t (c int, d int);\nCREATE TABLE s2.t (c int);\nCOMMENT ON COLUMN s1.t.c IS 'a';\n"
         "COMMENT ON COLUMN s2.t.c IS 'b';\nCOMMENT ON COLUMN s1.t.d IS 'c';\nCOMMENT ON COLUMN s2.t.c IS 'b';\n"
         "DROP TABLE s2.t;\nCREATE TABLE s2.t (c int, x int);\nCOMMENT ON COLUMN s2.t.c IS 'd';\n"
         "SET search_path = s1;\nCOMMENT ON COLUMN t.d IS 'e';\nSET search_path = s2;\nCOMMENT ON COLUMN t.x IS 'f';\n",
         "s1.T.C:a:0 s1.T.D:e:0 s2.T.C:d:0 s2.T.X:f:0"},
    };
    for (const auto& c : cases) {
        ModelSource::AttributeList list;
        QString error;
        ASSERT_TRUE(ReadInDialect(c.dialect, c.script, QStringLiteral("u.sql"), list, error)) << error.toStdString();
        QStringList columns;
        for (int i = 0; i < list.Columns(); ++i)
            columns << QStringLiteral("%1.%2.%3:%4:%5")
                           .arg(list.facts[size_t(i)].schema, list.rows[i + 1][ModelSource::ColTable],
                                list.rows[i + 1][ModelSource::ColColumn], list.rows[i + 1][ModelSource::ColComment])
                           .arg(list.facts[size_t(i)].keys);
        EXPECT_EQ(columns.join(u' '), QString::fromUtf8(c.columns)) << c.script;
        EXPECT_EQ(list.warnings.join(u'\n'),
                  c.notTheModel ? ModelSourceTexts::kNotTheModel.arg(c.notTheModel) : QString());
    }
}

// A server that holds the connection open and never answers ends the read with our message
// after the configured silence, for either driver.
TEST(CatalogReader, ASilentServerEndsTheReadWithAMessage)
{
    QTcpServer silent; // accepted by the system, never answered
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QByteArray saved = qgetenv("TERMWISE_DB_TIMEOUT");
    qputenv("TERMWISE_DB_TIMEOUT", "1");
    for (const char* scheme : {"postgresql", "mysql"}) {
        RepositoryUri uri;
        QString error;
        ASSERT_TRUE(CatalogReader::ParseUri(
            QStringLiteral("%1://u@127.0.0.1:%2/db").arg(QLatin1String(scheme)).arg(silent.serverPort()), uri, error));
        ModelSource::AttributeList list;
        EXPECT_FALSE(CatalogReader::Read(uri, list, error));
        EXPECT_TRUE(error.contains(QStringLiteral("1초 동안 답하지 않아"))) << scheme << error.toStdString();
    }
    if (saved.isNull())
        qunsetenv("TERMWISE_DB_TIMEOUT");
    else
        qputenv("TERMWISE_DB_TIMEOUT", saved);
}

// Key roles from a live catalog: the primary key, the foreign key and the column it references.
TEST(CatalogReader, KeyRolesFromTheCatalog)
{
    for (TestDialect dialect : {TestDialect::Sqlite, TestDialect::Postgresql}) {
        TestRepository repo;
        QString reason;
        if (!repo.Open(dialect, reason)) {
            if (dialect == TestDialect::Postgresql && !RunningInCi())
                continue; // no server here
            FAIL() << reason.toStdString();
        }
        repo.Exec(QStringLiteral("CREATE TABLE kp (id INT PRIMARY KEY, n INT)"));
        repo.Exec(QStringLiteral("CREATE TABLE kc (pid INT REFERENCES kp (id), x INT)"));
        RepositoryUri uri;
        QString error;
        ASSERT_TRUE(CatalogReader::ParseUri(repo.Uri(), uri, error)) << error.toStdString();
        CatalogReader::Options options;
        options.tables = QStringLiteral("k%");
        ModelSource::AttributeList list;
        ASSERT_TRUE(CatalogReader::Read(uri, list, error, options)) << error.toStdString();
        QStringList keys;
        for (int i = 0; i < list.Columns(); ++i)
            keys << QStringLiteral("%1.%2:%3")
                        .arg(list.rows[i + 1][ModelSource::ColTable], list.rows[i + 1][ModelSource::ColColumn])
                        .arg(list.facts[size_t(i)].keys);
        keys.sort();
        EXPECT_EQ(keys.join(u' '), QStringLiteral("KC.PID:2 KC.X:0 KP.ID:5 KP.N:0")) << DialectName(dialect);
    }
}

// The fix script run by the servers' own clients, set up as unkindly as a user's could be, on
// hostile names and comments: it runs, renames no key, keeps every number and description, and
// the catalog afterwards differs from the one before by exactly the changes it announced.
#include "diagnosis/FixScript.h"
#include "exchange/CatalogReader.h"
#include "repository/RepoTestDb.h"
#include "support/LiveServer.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>

namespace {

using ModelSource::Dialect;

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// One column of the hostile table: its name and comment on the server, what the judge says,
// and what the script must leave.
struct Case
{
    const char* column;
    const char* pgType;    // PostgreSQL column definition
    const char* mariaType; // MariaDB column definition (comment added)
    const char* comment;
    const char* logical;        // the comment's head as the judge reads it
    const char* standardName;   // empty: no standard
    const char* standardColumn; // "@63" and so on: that many A
    unsigned char keys;
    bool renamed;          // the script renames it
    bool commentChangedPg; // PostgreSQL: the comment becomes the standard name + the rest
    bool commentChangedMaria;
};

// clang-format off
const Case kCases[] = {
    // A primary key keeps its name whatever its comment says.
    {"id", "bigint PRIMARY KEY", "bigint PRIMARY KEY", "고유번호", "고유번호", "고유번호", "UNQ_NO",
     ModelSource::PrimaryKey, false, false, false},
    // The comment that broke out of a literal on a server without standard strings.
    {"ord_amt_x", "numeric(15)", "decimal(15,0)", "주문 금액\n\\'; DROP TABLE victim;--", "주문 금액", "주문금액",
     "ORD_AMT", 0, true, true, true},
    // Numbers stay with their column, the description after the name stays with the comment.
    {"dc_1", "text", "text", "설명 1, 첫 설명 $$ $tw$ */ E'x' \\\\", "설명 1", "설명1", "DESC1", 0, true, true, true},
    {"dc_2", "text", "text", "설명2", "설명2", "설명2", "DESC2", 0, true, false, false},
    // Quotes of both kinds and a backslash in the name itself.
    {"we\"i`rd\\nm", "varchar(10)", "varchar(10)", "가중치 이름\r\n/* ' \\' */ ; --", "가중치 이름", "가중치명",
     "WGHT_NM", 0, true, true, true},
    // Two renames to one name: neither runs.
    {"dup_a", "varchar(10)", "varchar(10)", "고객명", "고객명", "고객명", "CUST_NM", 0, false, false, false},
    {"dup_b", "varchar(10)", "varchar(10)", "고객명", "고객명", "고객명", "CUST_NM", 0, false, false, false},
    // The longest name the server keeps whole, and one longer: refused, never cut.
    {"lim_ok", "int", "int", "한도", "한도", "한도", "@max", 0, true, false, false},
    {"lim_over", "int", "int", "한도초과", "한도초과", "한도초과", "@over", 0, false, false, false},
    // A referenced key with a UNIQUE index: not renamed; its comment restated without a second index.
    {"ref_col", "varchar(20) UNIQUE", "varchar(20) UNIQUE", "참조 번호", "참조 번호", "참조번호", "REF_NO",
     ModelSource::ReferencedKey, false, true, true},
    // What a MariaDB restatement would drop: left as a note there.
    {"inv_col", "int", "int INVISIBLE", "숨김 값", "숨김 값", "숨김값", "", 0, false, true, false},
    {"chk_col", "int CHECK (chk_col > 0)", "int CHECK (chk_col > 0)", "검사 값", "검사 값", "검사값", "", 0, false,
     true, false},
    {"gen_col", "int GENERATED ALWAYS AS (chk_col * 2) STORED", "int AS (chk_col * 2) VIRTUAL", "생성 값", "생성 값",
     "생성값", "", 0, false, true, false},
    // A default with a quote and a backslash comes back as it was.
    {"def_col", "varchar(20) NOT NULL DEFAULT 'it''s \\ x'", "varchar(20) NOT NULL DEFAULT 'it''s \\\\ x'",
     "기본 값\n두 번째 줄", "기본 값", "기본값", "", 0, false, true, true},
};
// clang-format on

using Server = LiveServer;

class FixScriptOnServer : public ::testing::TestWithParam<Server>
{
protected:
    void SetUp() override
    {
        TAKE_LIVE_SERVER_URI(uri, GetParam());
        postgres = QString::fromLatin1(GetParam().name) == u"postgresql";
        QString error;
        ASSERT_TRUE(CatalogReader::ParseUri(uri, server, error)) << error.toStdString();
        db = AddLiveDatabase(server, postgres, QStringLiteral("fix-script-test"));
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        if (!postgres)
            Exec(QStringLiteral("SET NAMES utf8mb4"));
        // Two schemas (MariaDB: databases) with a table of one name: the script must name each.
        for (int i = 0; i < 2; ++i) {
            const QString s = QStringLiteral("termwise_f") + QUuid::createUuid().toString(QUuid::Id128).left(12);
            Exec(
                QString::fromLatin1(postgres ? "CREATE SCHEMA %1" : "CREATE DATABASE %1 CHARACTER SET utf8mb4").arg(s));
            schemas << s;
            Exec(Create(s, QStringLiteral("tb_same"), {{"cust_number", "varchar(20)", "varchar(20)", "고객번호"}}));
        }
        Exec(QStringLiteral("CREATE TABLE %1.victim (v int)").arg(schemas[0]));
        std::vector<std::array<const char*, 4>> columns;
        for (const Case& c : kCases)
            columns.push_back({c.column, c.pgType, c.mariaType, c.comment});
        Exec(Create(schemas[0], QStringLiteral("tb_hostile"), columns));
    }
    void TearDown() override
    {
        if (db.isOpen())
            for (const QString& s : schemas)
                Exec(QString::fromLatin1(postgres ? "DROP SCHEMA %1 CASCADE" : "DROP DATABASE %1").arg(s));
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fix-script-test"));
    }

    // The fixture's own statements, with the texts quoted the plain way the test controls.
    QString Lit(const QString& text) const
    {
        QString s = text;
        if (!postgres)
            s.replace(u'\\', QStringLiteral("\\\\"));
        s.replace(u'\'', QStringLiteral("''"));
        return (postgres && text.contains(u'\\') ? QStringLiteral("E'") : QStringLiteral("'")) +
               (postgres ? s.replace(u'\\', QStringLiteral("\\\\")) : s) + u'\'';
    }
    QString Create(const QString& schema, const QString& table, const std::vector<std::array<const char*, 4>>& columns)
    {
        QStringList defs;
        QStringList comments;
        for (const auto& c : columns) {
            const QString name = FixScript::Quote(U(c[0]), postgres ? Dialect::PostgreSql : Dialect::MySql);
            QString def = U(postgres ? c[1] : c[2]);
            if (!postgres) // MariaDB takes a column's CHECK after its COMMENT
                def.insert(def.contains(QLatin1String(" CHECK")) ? def.indexOf(QLatin1String(" CHECK")) : def.size(),
                           u" COMMENT " + Lit(U(c[3])));
            defs << name + u' ' + def;
            if (postgres)
                comments << QStringLiteral("COMMENT ON COLUMN %1.%2.%3 IS %4").arg(schema, table, name, Lit(U(c[3])));
        }
        pendingComments = comments;
        return QStringLiteral("CREATE TABLE %1.%2 (%3)").arg(schema, table, defs.join(QStringLiteral(", ")));
    }
    void Exec(const QString& sql)
    {
        // PostgreSQL's comments come after their table, one statement each.
        const QStringList more = pendingComments;
        pendingComments.clear();
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        for (const QString& statement : more)
            ASSERT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
    }

    // Every column with its type, nullability, default, generation and comment, every index
    // and constraint: what the script must leave alone but for what it says.
    std::vector<QStringList> Catalog()
    {
        const QString in = QStringLiteral("'%1', '%2'").arg(schemas[0], schemas[1]);
        const QStringList queries =
            postgres
                ? QStringList{QStringLiteral(
                                  "SELECT n.nspname, c.relname, a.attname, format_type(a.atttypid, a.atttypmod),"
                                  " a.attnotnull::text, coalesce(pg_get_expr(d.adbin, d.adrelid), ''),"
                                  " a.attgenerated::text, coalesce(col_description(c.oid, a.attnum), '<none>')"
                                  " FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
                                  " JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
                                  " LEFT JOIN pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum"
                                  " WHERE c.relkind = 'r' AND n.nspname IN (%1)")
                                  .arg(in),
                              QStringLiteral("SELECT 'index', indexdef FROM pg_indexes WHERE schemaname IN (%1)")
                                  .arg(in),
                              QStringLiteral(
                                  "SELECT 'constraint', conname, pg_get_constraintdef(oid) FROM pg_constraint"
                                  " WHERE connamespace IN (SELECT oid FROM pg_namespace WHERE nspname IN (%1))")
                                  .arg(in)}
                : QStringList{
                      QStringLiteral("SELECT TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE,"
                                     " IFNULL(COLUMN_DEFAULT, '<null>'), EXTRA, IFNULL(GENERATION_EXPRESSION, ''),"
                                     " COLUMN_COMMENT, IFNULL(COLLATION_NAME, '') FROM information_schema.COLUMNS"
                                     " WHERE TABLE_SCHEMA IN (%1)")
                          .arg(in),
                      QStringLiteral("SELECT 'index', TABLE_NAME, INDEX_NAME, NON_UNIQUE, SEQ_IN_INDEX, COLUMN_NAME"
                                     " FROM information_schema.STATISTICS WHERE TABLE_SCHEMA IN (%1)")
                          .arg(in),
                      QStringLiteral("SELECT 'check', TABLE_NAME, CONSTRAINT_NAME, CHECK_CLAUSE"
                                     " FROM information_schema.CHECK_CONSTRAINTS WHERE CONSTRAINT_SCHEMA IN (%1)")
                          .arg(in)};
        std::vector<QStringList> rows;
        for (const QString& sql : queries) {
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << q.value(i).toString();
                rows.push_back(row);
            }
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // The server's own client runs the script, with settings that would break a careless one.
    int RunScript(const QString& path, QString& output)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (postgres) {
            env.insert(QStringLiteral("PGOPTIONS"), QStringLiteral("-c standard_conforming_strings=off"));
            env.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UHC"));
        }
        return RunWithClient(server, uri, postgres, path, output, env,
                             {QStringLiteral("--default-character-set=latin1"),
                              QStringLiteral("--init-command=SET SESSION sql_mode = 'NO_BACKSLASH_ESCAPES'")});
    }

    QString uri;
    QStringList schemas;
    RepositoryUri server;
    QSqlDatabase db;
    bool postgres = false;
    QStringList pendingComments;
};

QString StandardColumnOf(const Case& c, bool postgres)
{
    const QString s = U(c.standardColumn);
    if (s == u"@max")
        return QString(postgres ? 63 : 64, u'A');
    if (s == u"@over")
        return QString(postgres ? 64 : 65, u'A');
    return s;
}

} // namespace

TEST_P(FixScriptOnServer, HostileNamesAndCommentsChangeOnlyWhatTheScriptSays)
{
    const Dialect dialect = postgres ? Dialect::PostgreSql : Dialect::MySql;
    ModelSource::AttributeList list;
    CatalogReader::Options options;
    options.schemas = schemas;
    QString error;
    ASSERT_TRUE(CatalogReader::Read(server, list, error, options)) << error.toStdString();

    // The judge's verdicts and the keys, by column; the reader gives each table's columns together.
    std::map<QString, const Case*> cases;
    for (const Case& c : kCases)
        cases[U(c.column)] = &c;
    const std::vector<QStringList> before = Catalog();
    const QString path = QDir::temp().filePath(schemas[0] + QStringLiteral(".sql"));
    std::vector<FixScript::PlanRow> plan;
    FixScript::Counts counts;
    const auto feed = [&](FixScript::Writer& writer) {
        for (int i = 0; i < list.Columns(); ++i) {
            ModelSource::ColumnFacts facts = list.facts[size_t(i)];
            const QString comment = list.rows[i + 1][ModelSource::ColComment];
            ColumnStandard standard;
            if (facts.table == u"tb_same") {
                standard = {U("고객번호"), QString(), U("고객번호"), QStringLiteral("CUST_NO"), U("표준 용어"), {}};
            } else if (const auto it = cases.find(facts.column); it != cases.end()) {
                const Case& c = *it->second;
                facts.keys = c.keys;
                standard = {U(c.logical),   QString(), U(c.standardName), StandardColumnOf(c, postgres),
                            U("표준 용어"), {}};
            }
            writer.Add(facts, comment, standard);
        }
    };
    ASSERT_TRUE(FixScript::WriteFile(path, {dialect, false}, feed, counts, error, [&](const FixScript::PlanRow& row) {
        plan.push_back(row);
    })) << error.toStdString();
    const QString script = ReadTextFile(path);

    // What the catalog must become: the renames (as the server folds them) and the comments'
    // heads, nothing else.
    std::map<std::pair<QString, QString>, QString> newName, newComment;
    for (const QString& s : schemas)
        newName[{s, QStringLiteral("cust_number")}] = postgres ? QStringLiteral("cust_no") : QStringLiteral("CUST_NO");
    for (const Case& c : kCases) {
        const std::pair<QString, QString> key{schemas[0], U(c.column)};
        if (c.renamed)
            newName[key] = postgres ? StandardColumnOf(c, true).toLower() : StandardColumnOf(c, false);
        if (postgres ? c.commentChangedPg : c.commentChangedMaria)
            newComment[key] = U(c.standardName) + U(c.comment).mid(U(c.logical).size());
    }
    std::vector<QStringList> expected;
    for (QStringList row : before) {
        const int nameAt = 2, commentAt = postgres ? 7 : 8;
        if (row.size() > commentAt && row[0] != u"index") {
            const std::pair<QString, QString> key{row[0], row[2]};
            if (newComment.count(key))
                row[commentAt] = newComment[key];
            if (newName.count(key))
                row[nameAt] = newName[key];
        }
        expected.push_back(row);
    }
    std::sort(expected.begin(), expected.end());

    // Run it; on MariaDB stop it halfway first, then run it whole twice: each step sees what
    // is done already.
    QString output;
    if (!postgres) {
        const qsizetype cut = script.indexOf(QStringLiteral("-- [5]"));
        ASSERT_GT(cut, 0) << script.toStdString();
        const QString half = QDir::temp().filePath(schemas[0] + QStringLiteral("-half.sql"));
        WriteTextFile(half, script.left(cut));
        EXPECT_EQ(RunScript(half, output), 0) << output.toStdString();
        QFile::remove(half);
        EXPECT_EQ(RunScript(path, output), 0) << output.toStdString();
    }
    EXPECT_EQ(RunScript(path, output), 0) << output.toStdString() << script.toStdString();
    QFile::remove(path);
    const std::vector<QStringList> after = Catalog();
    // Only the rows that differ, to read a failure.
    std::vector<QStringList> extra, missing;
    std::set_difference(after.begin(), after.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    std::set_difference(expected.begin(), expected.end(), after.begin(), after.end(), std::back_inserter(missing));
    EXPECT_TRUE(extra.empty() && missing.empty()) << "unexpected: " << ::testing::PrintToString(extra)
                                                  << "\nmissing: " << ::testing::PrintToString(missing) << "\n"
                                                  << output.toStdString();

    // The counts and the plan say the same as the catalog: 2 + 5 renames (one at the name
    // limit), two keys kept, the clash and the over-long name refused.
    EXPECT_EQ(counts.renames, 7);
    EXPECT_EQ(counts.keysKept, 2);
    std::map<QString, int> kinds;
    for (const FixScript::PlanRow& row : plan)
        ++kinds[row.change];
    EXPECT_EQ(kinds[FixScript::kChangeRename], counts.renames);
    EXPECT_EQ(kinds[FixScript::kChangeComment], counts.comments);
    EXPECT_EQ(kinds[FixScript::kChangeKeyKept], 2);
    EXPECT_EQ(kinds[FixScript::kChangeRefused] + kinds[FixScript::kChangeKeyKept], counts.leftOut);
    // MariaDB: the generated column is a note; the INVISIBLE and CHECKed ones are skipped by
    // their steps when the script runs.
    EXPECT_EQ(counts.comments, postgres ? 8 : 7);
}

INSTANTIATE_TEST_SUITE_P(Servers, FixScriptOnServer,
                         ::testing::Values(Server{"postgresql", "TERMWISE_TEST_PG"},
                                           Server{"mariadb", "TERMWISE_TEST_MYSQL"}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// The script for one table written to a string.
QString ScriptOf(Dialect dialect, bool renameKeys,
                 const std::vector<std::pair<ModelSource::ColumnFacts, QString>>& columns, FixScript::Counts& counts)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FixScript::Writer writer(buffer, {dialect, renameKeys});
    for (const auto& [facts, standardColumn] : columns)
        writer.Add(facts, U("고객 번호\n설명"),
                   {U("고객 번호"), U("설명"), U("고객번호"), standardColumn, U("표준 용어"), {}});
    EXPECT_TRUE(writer.Finish());
    counts = writer.GetCounts();
    return QString::fromUtf8(buffer.data());
}

} // namespace

// A rename to a name the table has, or to one another column wants too, is refused, in a
// table of a few columns as in a wide one.
TEST(FixScript, ClashingRenamesAreRefusedInNarrowAndWideTables)
{
    for (const int padding : {0, 100}) {
        SCOPED_TRACE(padding);
        const auto column = [](const QString& name) {
            return ModelSource::ColumnFacts{QStringLiteral("s"), QStringLiteral("t"), name, {}, 0};
        };
        std::vector<std::pair<ModelSource::ColumnFacts, QString>> columns = {
            {column(QStringLiteral("cust_number")), QStringLiteral("CUST_NO")}, // the next column's name
            {column(QStringLiteral("cust_no")), QString()},
            {column(QStringLiteral("addr_1")), QStringLiteral("ADDR")}, // wanted twice
            {column(QStringLiteral("addr_2")), QStringLiteral("ADDR")},
            {column(QStringLiteral("tel")), QStringLiteral("TELNO")},
        };
        for (int k = 0; k < padding; ++k)
            columns.push_back({column(QStringLiteral("pad_%1").arg(k)), QString()});
        FixScript::Counts counts;
        const QString script = ScriptOf(Dialect::PostgreSql, false, columns, counts);
        EXPECT_EQ(counts.renames, 1);
        EXPECT_EQ(script.count(QStringLiteral("이름이 겹칩니다")), 3) << script.toStdString();
        EXPECT_TRUE(script.contains(QStringLiteral("RENAME COLUMN \"tel\" TO \"telno\""))) << script.toStdString();
    }
}

// SQLite runs the script in one transaction on a real file; a key keeps its name unless asked.
TEST(FixScript, SqliteRenamesKeysOnlyWhenAsked)
{
    for (const bool renameKeys : {false, true}) {
        QTemporaryDir dir;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fix-sqlite"));
        db.setDatabaseName(dir.filePath(QStringLiteral("model.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE tb_cust (id INTEGER PRIMARY KEY, \"cust\"\"number\" TEXT)")));
        const ModelSource::ColumnFacts id{
            QStringLiteral("main"), QStringLiteral("tb_cust"), QStringLiteral("id"), {}, ModelSource::PrimaryKey};
        const ModelSource::ColumnFacts number{
            QStringLiteral("main"), QStringLiteral("tb_cust"), QStringLiteral("cust\"number"), {}, 0};
        FixScript::Counts counts;
        const QString script = ScriptOf(Dialect::Sqlite, renameKeys,
                                        {{id, QStringLiteral("CUST_ID")}, {number, QStringLiteral("CUST_NO")}}, counts);
        // The statements one by one, as the sqlite3 shell would run them.
        for (QString statement : script.split(QStringLiteral(";\n"), Qt::SkipEmptyParts)) {
            QStringList lines = statement.split(u'\n');
            lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("--")); });
            statement = lines.join(u'\n').trimmed();
            if (!statement.isEmpty()) {
                ASSERT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
            }
        }
        QStringList names;
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT name FROM pragma_table_info('tb_cust') ORDER BY cid")));
        while (q.next())
            names << q.value(0).toString();
        EXPECT_EQ(names, (QStringList{renameKeys ? QStringLiteral("CUST_ID") : QStringLiteral("id"),
                                      QStringLiteral("CUST_NO")}));
        EXPECT_EQ(counts.keysKept, renameKeys ? 0 : 1);
        q = QSqlQuery();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fix-sqlite"));
    }
}

// Oracle commits each DDL: every rename is a PL/SQL block that runs only while the old name is
// there and the new one is not (so a stopped script is run again as it is), names inside the
// EXECUTE IMMEDIATE text are quoted with their quotes doubled, names fold to upper case, the
// 30-byte limit of older servers is noted and what SQL*Plus would cut stays a note.
TEST(FixScript, OracleRenamesAreGuardedBlocksAndRunAgain)
{
    const ModelSource::ColumnFacts facts{
        QStringLiteral("SHOP"), QStringLiteral("TB_CUST"), QStringLiteral("CUST_NUMBER"), {}, 0};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FixScript::Writer writer(buffer, {Dialect::Oracle, false});
    writer.Add(facts, U("고객 번호\n;"), {U("고객 번호"), {}, U("고객번호"), QStringLiteral("cust_no"), {}, {}});
    ModelSource::ColumnFacts quoted = facts;
    quoted.column = QStringLiteral("O'NEIL\"X");
    writer.Add(quoted, U("긴이름"), {U("긴이름"), {}, U("긴이름"), QString(31, u'b'), {}, {}});
    ModelSource::ColumnFacts broken = facts;
    broken.column = QStringLiteral("A\n/\nB");
    writer.Add(broken, U("줄"), {U("줄"), {}, U("줄번호"), QStringLiteral("LINE_NO"), {}, {}});
    writer.Add({{}, QStringLiteral("TB_OWN"), QStringLiteral("OLD_NM"), {}, 0}, U("이름"),
               {U("이름"), {}, U("이름"), QStringLiteral("NEW_NM"), {}, {}});
    // A line SQL*Plus would run as a command of its own.
    writer.Add({{}, QStringLiteral("TB_OWN"), QStringLiteral("HOST_NM"), {}, 0}, U("호스트 이름\r  #host rm -rf ~"),
               {U("호스트 이름"), {}, U("호스트명"), {}, {}, {}});
    ASSERT_TRUE(writer.Finish());
    const QString script = QString::fromUtf8(buffer.data());
    const QStringList lines = script.split(u'\n');

    // Blocks from DECLARE to a line of "/"; outside them no ALTER runs.
    struct Block
    {
        QString text;
        int begins = 0, ends = 0;
    };
    std::vector<Block> blocks;
    bool inBlock = false;
    for (const QString& line : lines) {
        if (line == u"DECLARE") {
            ASSERT_FALSE(inBlock) << script.toStdString();
            inBlock = true;
            blocks.emplace_back();
        }
        if (!inBlock) {
            EXPECT_FALSE(line.startsWith(u"ALTER") || line.contains(u"EXECUTE")) << line.toStdString();
            continue;
        }
        if (line == u"/") {
            inBlock = false;
            continue;
        }
        blocks.back().text += line + u'\n';
        blocks.back().begins += line.trimmed() == u"BEGIN";
        blocks.back().ends += line.trimmed() == u"END;";
    }
    EXPECT_FALSE(inBlock) << "a block without its \"/\"";
    const std::array<std::array<QString, 3>, 3> expected = {{
        {QStringLiteral("OWNER = 'SHOP' AND TABLE_NAME = 'TB_CUST' AND COLUMN_NAME = 'CUST_NUMBER'"),
         QStringLiteral("OWNER = 'SHOP' AND TABLE_NAME = 'TB_CUST' AND COLUMN_NAME = 'CUST_NO'"),
         QStringLiteral("EXECUTE IMMEDIATE 'ALTER TABLE \"SHOP\".\"TB_CUST\" RENAME COLUMN \"CUST_NUMBER\" TO "
                        "\"CUST_NO\"';")},
        {QStringLiteral("COLUMN_NAME = 'O''NEIL\"X'"), QStringLiteral("COLUMN_NAME = '") + QString(31, u'B') + u'\'',
         QStringLiteral("RENAME COLUMN \"O''NEIL\"\"X\" TO \"") + QString(31, u'B') + QStringLiteral("\"';")},
        {QStringLiteral("FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'TB_OWN' AND COLUMN_NAME = 'OLD_NM'"),
         QStringLiteral("FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'TB_OWN' AND COLUMN_NAME = 'NEW_NM'"),
         QStringLiteral("EXECUTE IMMEDIATE 'ALTER TABLE \"TB_OWN\" RENAME COLUMN \"OLD_NM\" TO \"NEW_NM\"';")},
    }};
    ASSERT_EQ(blocks.size(), expected.size()) << script.toStdString();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const QString& b = blocks[i].text;
        EXPECT_EQ(blocks[i].begins, 1) << b.toStdString();
        EXPECT_EQ(blocks[i].ends, 1) << b.toStdString();
        const qsizetype oldAt = b.indexOf(expected[i][0]), newAt = b.indexOf(expected[i][1]);
        const qsizetype guard = b.indexOf(QStringLiteral("IF termwise_old = 1 AND termwise_new = 0 THEN"));
        const qsizetype run = b.indexOf(expected[i][2]);
        EXPECT_TRUE(oldAt >= 0 && newAt >= 0 && guard > newAt && run > guard && b.indexOf(u"END IF;") > run)
            << b.toStdString();
        EXPECT_EQ(b.count(QStringLiteral("EXECUTE IMMEDIATE")), 1) << b.toStdString();
    }
    EXPECT_TRUE(script.contains(QStringLiteral("그대로 다시 실행하십시오"))) << script.toStdString();
    EXPECT_TRUE(script.contains(QStringLiteral("30바이트를 넘는"))) << script.toStdString();
    EXPECT_FALSE(script.contains(QStringLiteral("COMMENT ON"))) << script.toStdString();
    EXPECT_EQ(writer.GetCounts().renames, 3);
    EXPECT_FALSE(script.contains(QStringLiteral("#host"))) << script.toStdString();
    EXPECT_EQ(writer.GetCounts().leftOut, 4); // the cut comment, the name over lines and its comment, #host
}

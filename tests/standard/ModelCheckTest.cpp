// A model read from the catalogs of real PostgreSQL and MariaDB servers gives the attribute list
// and the check figures of its workbook; the fix script runs on the server with its own client,
// and a second check shows the result.
#include "components/ExcelWriteHelper.h"
#include "diagnosis/CheckCommand.h"
#include "diagnosis/Diagnosis.h"
#include "exchange/CatalogReader.h"
#include "repository/RepoTestDb.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"
#include "standard/StandardTexts.h"
#include "support/LiveServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// The program sets this hook in main(); CheckCommand::Run here runs without it.
const bool kFixScriptHook = (FixScriptHook::Set(&Diagnosis::WriteFixScript), true);

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// table, table comment, column, comment, type
struct ModelColumn
{
    const char *table, *tableComment, *column, *comment, *type;
};
const ModelColumn kModel[] = {
    {"tb_cust", "고객", "cust_number", "고객번호", "varchar(20)"},
    {"tb_cust", "고객", "cust_nm", "고객명", "varchar(50)"},
    {"tb_cust", "고객", "cust_name", "고객이름", "varchar(100)"},
    {"tb_cust", "고객", "cust_addr", "고객주소", "varchar(200)"},
    {"tb_cust", "고객", "memo", "", "text"},
    {"tb_old", "이전 고객", "cust_number", "고객번호", "varchar(20)"},
    {"tb_old", "이전 고객", "cust_no", "", "varchar(20)"},
    {"tb_ord", "주문", "prdt_nm", "상품_명\n상품의 이름", "varchar(100) NOT NULL DEFAULT 'x'"},
    {"tb_ord", "주문", "ord_num", "주문넘버", "varchar(20)"},
    {"tb_ord", "주문", "ord_prdt", "주문상품", "varchar(10)"},
    {"tb_ord", "주문", "ord_amt", "주문금액", "numeric(15,0) NOT NULL DEFAULT 0"},
};

// The statements that make the model: PostgreSQL's COMMENT ON, or MariaDB's inline comments.
QStringList ModelDdl(bool postgres, const QString& schema)
{
    std::map<QString, QStringList> columns;
    std::map<QString, QString> tableComments;
    for (const ModelColumn& c : kModel) {
        QString def = QString::fromLatin1(c.column) + u' ' + QString::fromLatin1(c.type);
        if (!postgres && *c.comment)
            def += QStringLiteral(" COMMENT '%1'").arg(U(c.comment));
        columns[QString::fromLatin1(c.table)] << def;
        tableComments[QString::fromLatin1(c.table)] = U(c.tableComment);
    }
    QStringList statements;
    for (const auto& [table, defs] : columns) {
        statements << QStringLiteral("CREATE TABLE %1.%2 (%3)%4")
                          .arg(schema, table, defs.join(QStringLiteral(", ")),
                               postgres ? QString() : QStringLiteral(" COMMENT='%1'").arg(tableComments[table]));
        if (postgres)
            statements << QStringLiteral("COMMENT ON TABLE %1.%2 IS '%3'").arg(schema, table, tableComments[table]);
    }
    if (postgres)
        for (const ModelColumn& c : kModel)
            if (*c.comment)
                statements << QStringLiteral("COMMENT ON COLUMN %1.%2.%3 IS '%4'")
                                  .arg(schema, QString::fromLatin1(c.table), QString::fromLatin1(c.column),
                                       U(c.comment));
    return statements;
}

// The figures of a check summary, without the lines only a model read from a database has.
QString Figures(const QString& out)
{
    QStringList lines = out.split(u'\n');
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const QString& l) {
                                   return l.startsWith(QLatin1String("columns:")) ||
                                          l.startsWith(QLatin1String("fix script:"));
                               }),
                lines.end());
    return lines.join(u'\n');
}

// The model's standard in a repository, and the model as a modeller keeps it in a workbook.
class ModelCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, TestDialect::Sqlite);
        QString out, err;
        QTextStream o(&out), e(&err);
        ASSERT_EQ(StandardCommand::Run(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                                   QStringLiteral("--area"), QStringLiteral("PUB")} +
                                           StandardCsvFixtures(),
                                       o, e),
                  0)
            << err.toStdString();
        workbook = dir.file(QStringLiteral("model.xlsx"));
        std::vector<QStringList> rows = {{U("테이블"), U("컬럼명"), U("속성명"), U("데이터타입")}};
        for (const ModelColumn& c : kModel)
            rows.push_back({QString::fromLatin1(c.table).toUpper(), QString::fromLatin1(c.column).toUpper(),
                            U(c.comment).section(u'\n', 0, 0),
                            QString::fromLatin1(c.type).section(u' ', 0, 0).toUpper()});
        ASSERT_TRUE(SaveSheetXlsx(workbook, rows));
    }
    int Check(const QStringList& input, QString& out, QString& err,
              const QString& report = QStringLiteral("report.json"))
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return CheckCommand::Run(input + QStringList{QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                                                     QStringLiteral("PUB"), QStringLiteral("--output"),
                                                     dir.file(report)},
                                 o, e);
    }
    int CheckWorkbook(QString& out, QString& err, const QString& report = QStringLiteral("report.json"))
    {
        return Check({QStringLiteral("--input"), workbook, QStringLiteral("--attr"), QStringLiteral("C"),
                      QStringLiteral("--column"), QStringLiteral("B"), QStringLiteral("--type"), QStringLiteral("D"),
                      QStringLiteral("--ref"), QStringLiteral("A"), QStringLiteral("--skip-first-row")},
                     out, err, report);
    }

    TestRepository repo;
    TempDataDir dir;
    QString workbook;
};

using Server = LiveServer;

// A TCP relay to a server that drops the connection once it has passed on a given number of the
// server's bytes: a connection lost in the middle of an answer.
class CuttingRelay
{
public:
    CuttingRelay(const QString& host, int port)
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) == 0) {
            std::memcpy(&m_server, found->ai_addr, sizeof m_server);
            freeaddrinfo(found);
        }
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof local;
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&local), size) == 0 && listen(m_listen, 4) == 0 &&
            getsockname(m_listen, reinterpret_cast<sockaddr*>(&local), &size) == 0)
            m_port = ntohs(local.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CuttingRelay()
    {
        m_stop = true;
        m_thread.join();
        close(m_listen);
    }
    int Port() const { return m_port; }
    // Counts the server's bytes afresh and drops the connection after that many.
    void CutAfter(qint64 bytes)
    {
        m_passed = 0;
        m_cut = bytes;
    }
    qint64 Passed() const { return m_passed; }

private:
    static bool WriteAll(int fd, const char* data, qint64 size)
    {
        for (qint64 done = 0; done < size;) {
            const ssize_t n = write(fd, data + done, size_t(size - done));
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }
    void Serve()
    {
        while (!m_stop) {
            pollfd waiting{m_listen, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = accept(m_listen, nullptr, nullptr);
            const int server = socket(AF_INET, SOCK_STREAM, 0);
            if (client >= 0 && connect(server, reinterpret_cast<sockaddr*>(&m_server), sizeof m_server) == 0)
                Relay(client, server);
            close(server);
            if (client >= 0)
                close(client);
        }
    }
    void Relay(int client, int server)
    {
        char buffer[16384];
        while (!m_stop) {
            pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(ends, 2, 50) < 0)
                return;
            if (ends[0].revents) {
                const ssize_t n = read(client, buffer, sizeof buffer);
                if (n <= 0 || !WriteAll(server, buffer, n))
                    return;
            }
            if (ends[1].revents) {
                const ssize_t n = read(server, buffer, sizeof buffer);
                if (n <= 0)
                    return;
                const qint64 cut = m_cut, allowed = cut < 0 ? n : std::clamp<qint64>(cut - m_passed, 0, n);
                if (!WriteAll(client, buffer, allowed))
                    return;
                m_passed += allowed;
                if (allowed < n)
                    return; // both ends closed: the connection is lost
            }
        }
    }

    sockaddr_in m_server{};
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_passed{0}, m_cut{-1};
    std::thread m_thread;
};

class ModelFromDatabase : public ModelCheck, public ::testing::WithParamInterface<Server>
{
protected:
    void SetUp() override
    {
        TAKE_LIVE_SERVER_URI(uri, GetParam());
        postgres = QString::fromLatin1(GetParam().name) == u"postgresql";
        ModelCheck::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(CatalogReader::ParseUri(uri, server, error)) << error.toStdString();
        db = AddLiveDatabase(server, postgres, QStringLiteral("model-test"));
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        // A schema of its own (on MariaDB a database the test user may create), so tests running
        // side by side do not meet.
        schema = NewSchema();
        if (!postgres)
            Exec(QStringLiteral("SET NAMES utf8mb4"));
        // The model on the server, from the same rows the workbook is made of.
        for (const QString& statement : ModelDdl(postgres, schema))
            Exec(statement);
    }
    QString NewSchema()
    {
        const QString name = QStringLiteral("termwise_m") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        Exec(QString::fromLatin1(postgres ? "CREATE SCHEMA %1" : "CREATE DATABASE %1 CHARACTER SET utf8mb4").arg(name));
        schemas << name;
        return name;
    }
    void TearDown() override
    {
        if (db.isOpen())
            for (const QString& s : schemas)
                Exec(QString::fromLatin1(postgres ? "DROP SCHEMA %1 CASCADE" : "DROP DATABASE %1").arg(s));
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("model-test"));
    }
    void Exec(const QString& sql)
    {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }
    QStringList Catalog() const { return {QStringLiteral("--input"), uri, QStringLiteral("--schema"), schema}; }
    QStringList ColumnNames()
    {
        QSqlQuery q(db);
        const QString sql =
            postgres ? QStringLiteral("SELECT table_name || '.' || column_name FROM information_schema.columns "
                                      "WHERE table_schema = '%1' ORDER BY 1")
                           .arg(schema)
                     : QStringLiteral("SELECT CONCAT(TABLE_NAME, '.', COLUMN_NAME) FROM information_schema.COLUMNS "
                                      "WHERE TABLE_SCHEMA = '%1' ORDER BY 1")
                           .arg(schema);
        EXPECT_TRUE(q.exec(sql));
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        return names;
    }
    // The server's own client runs the script and stops at its first error.
    void RunScript(const QString& path)
    {
        QString output;
        EXPECT_EQ(RunWithClient(server, uri, postgres, path, output), 0) << output.toStdString();
    }

    QString uri, schema, error;
    QStringList schemas; // made by the test, dropped after it
    RepositoryUri server;
    QSqlDatabase db;
    bool postgres = false;
};

} // namespace

// The model as a PostgreSQL script, its tables and its comments in two files: the figures of its
// workbook, and the report counts the columns without a comment beside them.
TEST_F(ModelCheck, ScriptGivesTheWorkbooksFiguresAndCountsColumnsWithoutComment)
{
    QString tables, comments;
    for (const QString& statement : ModelDdl(true, QStringLiteral("public")))
        (statement.startsWith(QLatin1String("COMMENT")) ? comments : tables) += statement + QStringLiteral(";\n");
    const QString tablesFile = dir.file(QStringLiteral("tables.sql")),
                  commentsFile = dir.file(QStringLiteral("comments.sql"));
    WriteTextFile(tablesFile, tables);
    WriteTextFile(commentsFile, comments);
    const QStringList script = {QStringLiteral("--input"), tablesFile, QStringLiteral("--input"), commentsFile};

    QString fromWorkbook, fromScript, err;
    ASSERT_EQ(CheckWorkbook(fromWorkbook, err, QStringLiteral("workbook.xlsx")), 0) << err.toStdString();
    ASSERT_EQ(Check(script, fromScript, err, QStringLiteral("script.xlsx")), 0) << err.toStdString();
    EXPECT_EQ(Figures(fromScript), Figures(fromWorkbook));
    EXPECT_TRUE(fromScript.contains(
        QStringLiteral("columns: 11 in 3 tables, without logical name: 2\nwith logical name: 9 (8 distinct names)\n")))
        << fromScript.toStdString();

    // The summary sheet: the same figures, the model's table count beside the workbook's tables.
    const std::vector<QStringList> book = SheetRows(dir.file(QStringLiteral("workbook.xlsx")), U("요약"));
    const std::vector<QStringList> sheet = SheetRows(dir.file(QStringLiteral("script.xlsx")), U("요약"));
    ASSERT_EQ(sheet.size(), book.size());
    EXPECT_EQ(sheet[3], (QStringList{U("테이블 수"), QStringLiteral("3"), StandardTexts::kTablesMeaning}));
    EXPECT_EQ(sheet[4], (QStringList{U("컬럼 수"), QStringLiteral("11"), StandardTexts::kColumnsMeaning}));
    EXPECT_EQ(std::vector<QStringList>(sheet.begin() + 3, sheet.end()),
              std::vector<QStringList>(book.begin() + 3, book.end()));

    // The JSON: the same figures.
    ASSERT_EQ(CheckWorkbook(fromWorkbook, err, QStringLiteral("workbook.json")), 0);
    ASSERT_EQ(Check(script, fromScript, err, QStringLiteral("script.json")), 0);
    const QJsonObject fromBook =
        QJsonDocument::fromJson(ReadTextFile(dir.file(QStringLiteral("workbook.json"))).toUtf8()).object();
    const QJsonObject json =
        QJsonDocument::fromJson(ReadTextFile(dir.file(QStringLiteral("script.json"))).toUtf8()).object();
    EXPECT_EQ(json.value(QStringLiteral("columns")).toInt(), 11);
    EXPECT_EQ(json.value(QStringLiteral("withLogicalName")).toInt(), 9);
    for (const char* key : {"tables", "columns", "withLogicalName", "logicalConforming", "physicalConforming",
                            "typeConforming", "conforming", "rate", "distinctNames"})
        EXPECT_EQ(json.value(QString::fromLatin1(key)), fromBook.value(QString::fromLatin1(key))) << key;
}

TEST_P(ModelFromDatabase, CatalogGivesTheWorkbooksFiguresAndTheFixScriptRuns)
{
    // The attribute list as the analyses take it: logical name, column, logical type, length, scale.
    ModelSource::AttributeList list;
    CatalogReader::Options options;
    options.schemas = {schema};
    ASSERT_TRUE(CatalogReader::Read(server, list, error, options)) << error.toStdString();
    ASSERT_EQ(list.Columns(), int(std::size(kModel)));
    EXPECT_EQ(list.tables, 3);
    EXPECT_EQ(list.WithoutLogicalName(), 2);
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    for (size_t i = 0; i < std::size(kModel); ++i) {
        const QStringList& row = list.rows[int(i) + 1];
        const QString type = QString::fromLatin1(kModel[i].type).section(u' ', 0, 0).toUpper();
        const ModelSource::ColumnType expected = ModelSource::NormalizeType(ModelSource::Dialect::Unknown, type);
        EXPECT_EQ(row[ModelSource::ColTable], QString::fromLatin1(kModel[i].table).toUpper());
        EXPECT_EQ(row[ModelSource::ColColumn], QString::fromLatin1(kModel[i].column).toUpper());
        EXPECT_EQ(row[ModelSource::ColComment], U(kModel[i].comment));
        EXPECT_EQ(settings.ConvertToLogicalDataType(row[ModelSource::ColType].section(u'(', 0, 0)),
                  settings.ConvertToLogicalDataType(expected.name))
            << row[ModelSource::ColType].toStdString();
        EXPECT_EQ(row[ModelSource::ColLength], expected.length);
        EXPECT_EQ(row[ModelSource::ColScale], expected.scale);
    }
    EXPECT_EQ(list.rows[1][ModelSource::ColTableComment], U("고객"));

    QString fromWorkbook, fromCatalog, err;
    ASSERT_EQ(CheckWorkbook(fromWorkbook, err), 0) << err.toStdString();
    const QString script = dir.file(QStringLiteral("fix.sql"));
    ASSERT_EQ(Check(Catalog() + QStringList{QStringLiteral("--fix-script"), script}, fromCatalog, err), 0)
        << err.toStdString();
    EXPECT_EQ(Figures(fromCatalog), Figures(fromWorkbook));
    EXPECT_TRUE(fromCatalog.contains(QStringLiteral("\nconforming: 2\n"))) << fromCatalog.toStdString();
    EXPECT_TRUE(fromCatalog.contains(QStringLiteral("columns: 11 in 3 tables, without logical name: 2")));
    // 고객이름 is the standard's synonym of the term 고객명: its comment becomes the term, and its
    // rename to cust_nm is refused, as tb_cust has a cust_nm.
    EXPECT_TRUE(fromCatalog.contains(QStringLiteral("fix script: 1 renames, 2 comments, 2 left out, 1 type notes")))
        << fromCatalog.toStdString();
    const QString text = ReadTextFile(script);
    EXPECT_EQ(text.contains(QStringLiteral("BEGIN;\n")), postgres);
    // The report lists the script's changes: the rename with its old and new name.
    const QJsonArray plan =
        QJsonDocument::fromJson(ReadTextFile(dir.file(QStringLiteral("report.json"))).toUtf8())["plan"].toArray();
    const auto renamed = std::find_if(plan.begin(), plan.end(), [](const QJsonValue& v) {
        return v[U("컬럼명")].toString().compare(QStringLiteral("cust_number"), Qt::CaseInsensitive) == 0 &&
               v[U("새 컬럼명")].toString().compare(QStringLiteral("cust_no"), Qt::CaseInsensitive) == 0;
    });
    EXPECT_NE(renamed, plan.end()) << QJsonDocument(plan).toJson().toStdString();
    EXPECT_TRUE(text.contains(U("건너뜀: ") + schema + QStringLiteral(".tb_old.cust_number"))) << text.toStdString();

    const QStringList before = ColumnNames();
    RunScript(script);
    QStringList expected = before;
    expected.replace(expected.indexOf(QStringLiteral("tb_cust.cust_number")),
                     postgres ? QStringLiteral("tb_cust.cust_no") : QStringLiteral("tb_cust.CUST_NO"));
    expected.sort();
    QStringList after = ColumnNames();
    after.sort();
    EXPECT_EQ(after.join(u' '), expected.join(u' ')); // one column renamed, nothing else
    // The comment's restatement on MariaDB keeps what the column was.
    QSqlQuery kept(db);
    ASSERT_TRUE(kept.exec(QStringLiteral("SELECT is_nullable, column_default FROM information_schema.columns WHERE "
                                         "table_schema = '%1' AND table_name = 'tb_ord' AND column_name = 'prdt_nm'")
                              .arg(schema)));
    ASSERT_TRUE(kept.next());
    EXPECT_EQ(kept.value(0).toString(), QStringLiteral("NO"));
    EXPECT_TRUE(kept.value(1).toString().contains(u'x')) << kept.value(1).toString().toStdString();

    // Checked again: the renamed column conforms, and there is nothing left to fix but the clashes.
    QString again;
    ASSERT_EQ(Check(Catalog() + QStringList{QStringLiteral("--fix-script"), script}, again, err), 0)
        << err.toStdString();
    EXPECT_TRUE(again.contains(QStringLiteral("\nconforming: 3\n"))) << again.toStdString();
    EXPECT_TRUE(again.contains(QStringLiteral("physical_name: 3\n"))) << again.toStdString();
    EXPECT_TRUE(again.contains(QStringLiteral("fix script: 0 renames, 0 comments, 2 left out, 1 type notes")))
        << again.toStdString();
    ASSERT_TRUE(CatalogReader::Read(server, list, error, options));
    for (int r = 1; r < list.rows.size(); ++r)
        if (list.rows[r][ModelSource::ColColumn] == u"PRDT_NM") {
            EXPECT_EQ(list.rows[r][ModelSource::ColComment], U("상품명\n상품의 이름")); // the second line kept
        }
}

TEST_P(ModelFromDatabase, BadInputSaysWhatIsWrong)
{
    QString out, err;
    EXPECT_EQ(
        Check({QStringLiteral("--input"), uri, QStringLiteral("--schema"), QStringLiteral("no_such_schema")}, out, err),
        1);
    EXPECT_TRUE(err.contains(U("없는 스키마입니다: no_such_schema"))) << err.toStdString();
    EXPECT_EQ(Check(Catalog() + QStringList{QStringLiteral("--tables"), QStringLiteral("zz%")}, out, err), 1);
    EXPECT_TRUE(err.contains(U("조건에 맞는 테이블이 없습니다"))) << err.toStdString();
    // Designations belong to workbooks: a usage error.
    EXPECT_EQ(Check(Catalog() + QStringList{QStringLiteral("--attr"), QStringLiteral("A")}, out, err), 2);
    // A refused connection: the driver's text, and never the password. (The test PostgreSQL
    // trusts every login, so there a missing database is refused instead.)
    QUrl wrong(uri);
    wrong.setPassword(QStringLiteral("not-the-password-42"));
    if (postgres)
        wrong.setPath(QStringLiteral("/no_such_database"));
    EXPECT_EQ(Check({QStringLiteral("--input"), wrong.toString()}, out, err), 1);
    EXPECT_TRUE(err.contains(postgres ? QStringLiteral("no_such_database") : QStringLiteral("Access denied")))
        << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("not-the-password-42"))) << err.toStdString();
    if (postgres) {
        // A login that may not read the column descriptions: the server's own words.
        const QString role = schema + QStringLiteral("_r");
        Exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
        Exec(QStringLiteral("REVOKE SELECT ON pg_catalog.pg_description FROM PUBLIC"));
        QUrl denied(uri);
        denied.setUserName(role);
        const int status =
            Check({QStringLiteral("--input"), denied.toString(), QStringLiteral("--schema"), schema}, out, err);
        Exec(QStringLiteral("GRANT SELECT ON pg_catalog.pg_description TO PUBLIC"));
        Exec(QStringLiteral("DROP ROLE %1").arg(role));
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(err.contains(U("카탈로그를 읽을 수 없습니다")) && err.contains(QStringLiteral("pg_description")))
            << err.toStdString();
    }
    if (!server.password.isEmpty()) {
        EXPECT_FALSE(err.contains(server.password)) << err.toStdString();
    }
}

TEST_P(ModelFromDatabase, SchemasAndTablePatternNarrowTheRead)
{
    const QString second = NewSchema();
    Exec(QStringLiteral("CREATE TABLE %1.tb_misc (misc_cd varchar(10))").arg(second));
    QString out, err;
    const QStringList both = {QStringLiteral("--input"),  uri,   QStringLiteral("--schema"), schema,
                              QStringLiteral("--schema"), second};
    ASSERT_EQ(Check(both, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("columns: 12 in 4 tables,"))) << out.toStdString();
    // LIKE as the names are shown (upper case), whatever case the server stores them in.
    ASSERT_EQ(Check(both + QStringList{QStringLiteral("--tables"), QStringLiteral("TB_O%")}, out, err), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("columns: 6 in 2 tables, without logical name: 1"))) << out.toStdString();
    ASSERT_EQ(Check(both + QStringList{QStringLiteral("--tables"), QStringLiteral("tb\\_m%")}, out, err), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("columns: 1 in 1 tables,"))) << out.toStdString();
}

// The server goes away in the middle of the column list: exit 1, and no report is written.
TEST_P(ModelFromDatabase, ConnectionLostWhileReadingWritesNothing)
{
    // A table wide enough that the column list is most of what the server sends.
    QStringList wide;
    for (int i = 0; i < 300; ++i)
        wide << QStringLiteral("col_%1 integer").arg(i);
    Exec(QStringLiteral("CREATE TABLE %1.tb_wide (%2)").arg(schema, wide.join(QStringLiteral(", "))));
    CuttingRelay relay(server.host, server.port);
    ASSERT_GT(relay.Port(), 0);
    QUrl relayed(uri);
    relayed.setPort(relay.Port());
    const QStringList input = {QStringLiteral("--input"), relayed.toString(), QStringLiteral("--schema"), schema};
    QString out, err;
    ASSERT_EQ(Check(input, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("columns: 311 in 4 tables,"))) << out.toStdString();
    const qint64 whole = relay.Passed();

    const QString report = dir.file(QStringLiteral("report.json"));
    ASSERT_TRUE(QFile::remove(report));
    relay.CutAfter(whole * 9 / 10);
    EXPECT_EQ(Check(input, out, err), 1);
    EXPECT_TRUE(err.contains(U("읽는 중에 연결이 끊겼습니다"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(report));
}

INSTANTIATE_TEST_SUITE_P(Servers, ModelFromDatabase,
                         ::testing::Values(Server{"postgresql", "TERMWISE_TEST_PG"},
                                           Server{"mariadb", "TERMWISE_TEST_MYSQL"}),
                         [](const auto& info) { return std::string(info.param.name); });

#include "exchange/AnalyzeCommand.h"
#include "components/QrExcelSheet.h"
#include "exchange/CatalogReader.h"
#include "exchange/DdlReader.h"
#include "exchange/ModelSourceTexts.h"
#include "repository/RepositoryInit.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Result
{
    int status;
    QString out, err;
};

Result Analyze(const QStringList& args)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    r.status = AnalyzeCommand::Run(args, out, err);
    return r;
}

QString Sample()
{
    return QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/model.xlsx");
}

} // namespace

TEST(AnalyzeCommand, UsageAndInputErrors)
{
    TempDataDir data;
    const QString out = data.file(QStringLiteral("out.xlsx"));
    struct Case
    {
        const char* name;
        QStringList args;
        int status;
        const char* errorPart;
    };
    const std::vector<Case> cases = {
        {"no output", {"logical", "--input", Sample()}, AnalyzeCommand::Usage, "--output"},
        {"unknown kind", {"semantic", "--input", Sample(), "--output", out}, AnalyzeCommand::Usage, "알 수 없는 KIND"},
        {"unknown option",
         {"logical", "--input", Sample(), "--colour", "A", "--output", out},
         AnalyzeCommand::Usage,
         "알 수 없는 옵션"},
        {"bad letters",
         {"logical", "--input", Sample(), "--attr", "A1", "--output", out},
         AnalyzeCommand::Usage,
         "컬럼 문자"},
        {"a column twice",
         {"logical", "--input", Sample(), "--attr", "A", "--def", "a", "--output", out},
         AnalyzeCommand::Usage,
         "함께 주어졌습니다"},
        {"option of another kind",
         {"logical", "--input", Sample(), "--type", "C", "--output", out},
         AnalyzeCommand::Usage,
         "분석에 쓸 수 없습니다"},
        {"unknown output",
         {"logical", "--input", Sample(), "--attr", "A", "--output", "x.ztsd"},
         AnalyzeCommand::Usage,
         "--output은"},
        {"missing input",
         {"logical", "--input", "/no/such.xlsx", "--attr", "A", "--output", out},
         AnalyzeCommand::BadInput,
         "파일이 없습니다"},
        {"not a workbook",
         {"logical", "--input", TestDataPath(QStringLiteral("excel/fixture.fods")), "--attr", "A", "--output", out},
         AnalyzeCommand::BadInput,
         "파일이어야 합니다"},
        {"damaged workbook",
         {"logical", "--input", TestDataPath(QStringLiteral("excel/damaged-iconv.xls")), "--attr", "A", "--output",
          out},
         AnalyzeCommand::BadInput,
         "not vaild excel file"},
        {"required role missing",
         {"domain", "--input", Sample(), "--attr", "A", "--output", out},
         AnalyzeCommand::BadInput,
         "설정 되지 않은 필수 데이터 항목이 있습니다"},
        {"unwritable output",
         {"logical", "--input", Sample(), "--attr", "A", "--output", "/no/such/dir/x.xlsx"},
         AnalyzeCommand::BadInput,
         "결과를 쓸 수 없습니다"},
    };
    for (const Case& c : cases) {
        const Result r = Analyze(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errorPart))) << c.name << ": " << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(AnalyzeCommand, SampleThroughWorkbookDocumentAndJson)
{
    TempDataDir data;
    QFile::copy(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"),
                data.standardPath() + QStringLiteral("/termwise.json"));
    const QStringList common = {"--input", Sample(), "--attr", "A", "--column", "B", "--def", "D", "--skip-first-row"};

    const QString xlsx = data.file(QStringLiteral("logical.xlsx"));
    Result r = Analyze(QStringList{"logical"} + common + QStringList{"--output", xlsx});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("targets: 319"))) << r.out.toStdString();
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(xlsx, false));
    EXPECT_EQ(sheet.GetRowCount(), 320); // header and one row per target
    QStringList header;
    sheet.GetRowData(header, 0, -1);
    EXPECT_EQ(header.first(), QString::fromUtf8("대상속성명"));

    // The document of the run, read back as input, gives the same result.
    const QString doc = data.file(QStringLiteral("logical.ztsl"));
    const QString json1 = data.file(QStringLiteral("first.json")), json2 = data.file(QStringLiteral("second.json"));
    ASSERT_EQ(Analyze(QStringList{"logical"} + common + QStringList{"--output", doc}).status, 0);
    ASSERT_EQ(Analyze(QStringList{"logical"} + common + QStringList{"--output", json1}).status, 0);
    r = Analyze({"logical", "--input", doc, "--output", json2});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject first = QJsonDocument::fromJson(ReadTextFile(json1).toUtf8()).object();
    const QJsonObject second = QJsonDocument::fromJson(ReadTextFile(json2).toUtf8()).object();
    EXPECT_EQ(first.value(QStringLiteral("totals")), second.value(QStringLiteral("totals")));
    EXPECT_EQ(first.value(QStringLiteral("unanalyzed")), second.value(QStringLiteral("unanalyzed")));
    EXPECT_EQ(second.value(QStringLiteral("totals")).toObject().value(QStringLiteral("targets")).toInt(), 319);

    // A physical document is refused by the logical command with the form's message.
    const QString pdoc = data.file(QStringLiteral("physical.ztsp"));
    ASSERT_EQ(Analyze({"physical", "--input", Sample(), "--column", "B", "--skip-first-row", "--output", pdoc}).status,
              0);
    QFile::copy(pdoc, data.file(QStringLiteral("renamed.ztsl")));
    r = Analyze({"logical", "--input", data.file(QStringLiteral("renamed.ztsl")), "--output", json2});
    EXPECT_EQ(r.status, AnalyzeCommand::BadInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not logical analyzed document file")));

    r = Analyze({"domain", "--input", Sample(), "--attr", "A", "--type", "C", "--skip-first-row", "--output",
                 data.file(QStringLiteral("domain.ztsd"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("domain found: 287"))) << r.out.toStdString();
}

TEST(AnalyzeCommand, TermAnalysisAgainstADemoRepository)
{
    TempDataDir data;
    const QString uri = QStringLiteral("sqlite:") + data.file(QStringLiteral("repo.db"));
    ASSERT_EQ(RunRepositoryCommand({"init", uri, "--demo"}), 0);
    const QStringList input = {"--input", Sample(), "--attr", "A", "--column", "B", "--type", "C", "--skip-first-row"};

    Result r = Analyze(QStringList{"term"} + input + QStringList{"--output", data.file(QStringLiteral("t.json"))});
    EXPECT_EQ(r.status, AnalyzeCommand::Usage);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--repo")));
    r = Analyze(QStringList{"term", "--repo", uri, "--area", "NOPE"} + input +
                QStringList{"--output", data.file(QStringLiteral("t.json"))});
    EXPECT_EQ(r.status, AnalyzeCommand::BadInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not exist standard system for analyze terms")));

    const QString doc = data.file(QStringLiteral("terms.ztst"));
    r = Analyze(QStringList{"term", "--repo", uri, "--area", "ENT"} + input + QStringList{"--output", doc});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject written = QJsonDocument::fromJson(ReadTextFile(doc).toUtf8()).object();
    EXPECT_EQ(written.value(QStringLiteral("term_analyze_area")).toString(), QStringLiteral("ENT"));
    EXPECT_EQ(written.value(QStringLiteral("term_analyze")).toArray().size(), 319);

    // The document carries its area; read back it gives the same export.
    const QString xlsx = data.file(QStringLiteral("terms.xlsx"));
    r = Analyze({"term", "--repo", uri, "--input", doc, "--output", xlsx});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(xlsx, false));
    EXPECT_EQ(sheet.GetRowCount(), 320);
}

// Models straight from their databases: scripts read as one and a SQLite catalog. A column
// without a comment is a target of the physical and domain analyses, not of the logical one.
TEST(AnalyzeCommand, ModelsFromScriptsAndASqliteCatalog)
{
    TempDataDir data;
    QFile::copy(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"),
                data.standardPath() + QStringLiteral("/termwise.json"));
    const QStringList script = {"--input", TestDataPath(QStringLiteral("ddl/postgresql/tables.sql")), "--input",
                                TestDataPath(QStringLiteral("ddl/postgresql/comments.sql"))};
    const QString json = data.file(QStringLiteral("out.json"));
    for (const auto& [kind, targets] : {std::pair{"logical", "targets: 8 "}, std::pair{"physical", "targets: 9 "},
                                        std::pair{"domain", "targets: 9 "}}) {
        const Result r = Analyze(QStringList{kind} + script + QStringList{"--output", json});
        EXPECT_EQ(r.status, 0) << kind << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromLatin1(targets))) << kind << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("tables.sql:42:"))) << r.err.toStdString(); // skipped, named
    }

    const QString db = data.file(QStringLiteral("model.db"));
    {
        QSqlDatabase sqlite = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("model-db"));
        sqlite.setDatabaseName(db);
        ASSERT_TRUE(sqlite.open());
        QSqlQuery q(sqlite);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE tb_cust (cust_no VARCHAR(20), cust_nm TEXT, reg_dt DATE)")));
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE tb_misc (misc_cd CHAR(3))")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("model-db"));
    Result r = Analyze({"physical", "--input", QStringLiteral("sqlite:") + db, "--tables", "TB_C%", "--output", json});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("targets: 3 "))) << r.out.toStdString();

    // A read cancelled from its progress (the window's 취소) leaves nothing behind.
    RepositoryUri uri;
    QString error;
    ASSERT_TRUE(CatalogReader::ParseUri(QStringLiteral("sqlite:") + db, uri, error));
    CatalogReader::Options cancelCatalog;
    cancelCatalog.progress = [](qint64, qint64) { return false; };
    ModelSource::AttributeList list;
    EXPECT_FALSE(CatalogReader::Read(uri, list, error, cancelCatalog));
    EXPECT_EQ(error, ModelSourceTexts::kCancelled);
    EXPECT_EQ(list.Columns(), 0);
    DdlReader::Options cancelScript;
    cancelScript.progress = cancelCatalog.progress;
    EXPECT_FALSE(DdlReader::Read({script[1], script[3]}, list, error, cancelScript));
    EXPECT_EQ(error, ModelSourceTexts::kCancelled);
    EXPECT_EQ(list.Columns(), 0);

    const QString none = data.file(QStringLiteral("none.sql"));
    WriteTextFile(none, QStringLiteral("SELECT 1;\n"));
    const std::vector<std::tuple<QStringList, int, QString>> refused = {
        {{"physical", "--input", none, "--output", json},
         AnalyzeCommand::BadInput,
         QString::fromUtf8("CREATE TABLE 문이 없습니다")},
        {QStringList{"physical"} + script + QStringList{"--column", "C", "--output", json}, AnalyzeCommand::Usage,
         QString::fromUtf8("이미 정해져 있습니다")},
        {{"physical", "--input", none, "--input", Sample(), "--output", json},
         AnalyzeCommand::Usage,
         QStringLiteral(".sql")},
    };
    for (const auto& [args, status, message] : refused) {
        r = Analyze(args);
        EXPECT_EQ(r.status, status) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
    }
}

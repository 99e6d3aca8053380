// termwise register against the demo standard: the listing, --dry-run, the web route refused,
// the direct registration, and bad input named by file and row.
#include "registration/RegisterCommand.h"
#include "repository/RepoTestDb.h"
#include "repository/RepositoryInit.h"
#include "repository/RepositoryTexts.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int status = -1;
    QString out, err;
};

Outcome Register(const QStringList& args)
{
    Outcome o;
    RegisterCommand::Options options;
    QString error;
    if (!RegisterCommand::Parse(args, options, error)) {
        o.status = 2;
        o.err = error;
        return o;
    }
    QTextStream out(&o.out), err(&o.err);
    o.status = RegisterCommand::Run(options, out, err);
    out.flush();
    err.flush();
    return o;
}

} // namespace

// The demo standard in a fresh repository, and a data folder of its own.
class RegisterCommandTest : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        RepositoryInitSummary summary;
        QString error;
        ASSERT_TRUE(LoadDemoStandard(repo.Db(), summary, error)) << error.toStdString();
    }
    TempDataDir data;
    TestRepository repo;
};

TEST_P(RegisterCommandTest, ListsCandidatesRefusesTheWebRouteAndRegistersDirectly)
{
    const QString words = data.file(QStringLiteral("words.csv"));
    WriteTextFile(words,
                  QStringLiteral("단어 논리명 (필수),단어 물리명 "
                                 "(필수),정의\n번호,NO,식별\n쏘번,no,\n새말,NEWW,\"정의, 쉼표 \"\"포함\"\"\"\n\n"));
    const QStringList base = {QStringLiteral("words"), QStringLiteral("--repo"),  repo.Uri(), QStringLiteral("--area"),
                              QStringLiteral("ENT"),   QStringLiteral("--input"), words};
    const QString count = QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM = 'NEWW'");

    Outcome o = Register(base + QStringList{QStringLiteral("--dry-run")});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    // (an abbreviation another standard word has is refused, naming that word)
    EXPECT_TRUE(
        o.out.startsWith(QStringLiteral("0\t새말\tNEWW\t\n1\t번호\tNO\t동일 단어 존재\n"
                                        "4\t쏘번\tno\t약어 no은(는) 표준 단어 \"번호\"이(가) 이미 쓰고 있습니다\n")))
        << o.out.toStdString();
    EXPECT_EQ(repo.Count(count), 0);

    // A repository that takes word proposals through its web page (a server repository reads
    // the page addresses; SQLite has none and registers directly).
    if (GetParam() == TestDialect::Postgresql) {
        repo.Exec(QStringLiteral("UPDATE ZT_OPTIONS SET OPTN_VAL = '/std/proposal/word.do' WHERE OPTN_ID = ?"),
                  {SqlParam::Text(RepositoryText::OptionWordProposalUrl)});
        o = Register(base);
        EXPECT_EQ(o.status, 1);
        EXPECT_TRUE(o.err.contains(QStringLiteral("제안 웹 페이지"))) << o.err.toStdString();
        EXPECT_EQ(repo.Count(count), 0);
        repo.Exec(QStringLiteral("UPDATE ZT_OPTIONS SET OPTN_VAL = '' WHERE OPTN_ID = ?"),
                  {SqlParam::Text(RepositoryText::OptionWordProposalUrl)});
    }
    o = Register(base);
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM = 'no'")), 0);
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_DESC FROM STD_DIC WHERE DIC_PHY_NM = 'NEWW'")),
              QStringList{QStringLiteral("정의, 쉼표 \"포함\"")});
}

// Statuses 2, 3 and 4 in the listing, under either domain_use_words setting, and only the
// registrable domain is counted.
TEST_P(RegisterCommandTest, DomainListingShowsWordVerdictsUnderBothSettings)
{
    const QString domains = data.file(QStringLiteral("domains.csv"));
    WriteTextFile(domains, QStringLiteral("키도메인명,도메인명,데이터타입,길이,스케일\n번호,번호VC99,VARCHAR,99,\n"
                                          "고객,고객VC10,VARCHAR,10,\n넘버,넘버VC20,VARCHAR,20,\n"
                                          "뷁뷁,뷁뷁V10,VARCHAR,10,\n"));
    const QString expected = QStringLiteral("2\t고객\t고객VC10\tVARCHAR\t10\t\t(고객) 단어가 분류어가 아님\n"
                                            "3\t넘버\t넘버VC20\tVARCHAR\t20\t\t(넘버) 단어가 표준이 아님\n"
                                            "0\t번호\t번호VC99\tVARCHAR\t99\t\t\n"
                                            "4\t뷁뷁\t뷁뷁V10\tVARCHAR\t10\t\t(뷁뷁) 단어 없음\n"
                                            "1 domains to register in ");
    for (const char* useWords : {"0", "1"}) {
        QDir().mkpath(data.standardPath());
        WriteTextFile(data.standardPath() + QStringLiteral("/termwise.json"),
                      QStringLiteral("{\"domain_use_words\": \"%1\"}").arg(QLatin1String(useWords)));
        const Outcome o =
            Register({QStringLiteral("domains"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                      QStringLiteral("ENT"), QStringLiteral("--input"), domains, QStringLiteral("--dry-run")});
        EXPECT_EQ(o.status, 0) << o.err.toStdString();
        EXPECT_TRUE(o.out.startsWith(expected)) << useWords << "\n" << o.out.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Dialects, RegisterCommandTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

TEST(RegisterCommand, BadInputNamesTheFileAndRow)
{
    TempDataDir data;
    struct Case
    {
        const char* kind;
        QString text;
        QString expected;
    } cases[] = {
        {"words", QStringLiteral("단어 논리명,정의\n고객,사람\n"),
         QStringLiteral("머리글 행에 \"단어 물리명\" 컬럼이 없습니다")},
        {"words", QStringLiteral("단어 논리명,단어 물리명\n고객,CUST\n,NO\n"),
         QStringLiteral("3행: 단어 논리명이(가) 비어 있습니다")},
        {"domains", QStringLiteral("키도메인명,도메인명,데이터타입,길이\n금액,금액X,NOTATYPE,10\n"),
         QStringLiteral("2행: 알 수 없는 데이터타입")},
        {"domains", QStringLiteral("키도메인명,도메인명,데이터타입,길이\n금액,금액DEC,NUMERIC,열\n"),
         QStringLiteral("2행: 길이와 스케일")},
    };
    for (const Case& c : cases) {
        const QString path = data.file(QStringLiteral("input.csv"));
        WriteTextFile(path, c.text);
        const Outcome o =
            Register({QString::fromLatin1(c.kind), QStringLiteral("--repo"), QStringLiteral("sqlite:/nonexistent.db"),
                      QStringLiteral("--area"), QStringLiteral("ENT"), QStringLiteral("--input"), path});
        EXPECT_EQ(o.status, 1) << c.text.toStdString();
        EXPECT_TRUE(o.err.contains(path)) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(c.expected)) << o.err.toStdString();
    }
    EXPECT_EQ(Register({QStringLiteral("words"), QStringLiteral("--repo")}).status, 2);
}

// A control character or a value longer than its column refuses the whole file on every
// dialect alike (SQLite would store both), naming each bad row; nothing is written.
TEST_P(RegisterCommandTest, BadValuesRefuseTheWholeFile)
{
    TempDataDir data;
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, GetParam());
    RepositoryInitSummary summary;
    QString error;
    ASSERT_TRUE(LoadDemoStandard(repo.Db(), summary, error)) << error.toStdString();
    repo.Exec(QStringLiteral("UPDATE ZT_OPTIONS SET OPTN_VAL = ''"));
    const QString words = data.file(QStringLiteral("words.csv"));
    const QString count = QStringLiteral("SELECT COUNT(*) FROM STD_DIC");
    const int before = repo.Count(count);
    struct Case
    {
        QString rows;
        QStringList expected;
    } cases[] = {
        {QStringLiteral("새말,NEWW,\"여러 줄\n\t정의\"\n널") + QChar(0) + QStringLiteral("문자,NUL1,\n"),
         {QStringLiteral("3행: 단어 논리명 (DIC_LOG_NM): 제어 문자(U+0000)")}},
        {QStringLiteral("새말,NEWW,\n") + QString(501, u'가') + QStringLiteral(",LONG,\n새말2,NEW") + QChar(0x1B) +
             QStringLiteral("W,\n"),
         {QStringLiteral("3행: 단어 논리명 (DIC_LOG_NM): 길이가 501자로 최대 500자를"),
          QStringLiteral("4행: 단어 물리명 (DIC_PHY_NM): 제어 문자(U+001B)")}},
    };
    for (const Case& c : cases) {
        WriteTextFile(words, QStringLiteral("단어 논리명,단어 물리명,정의\n") + c.rows);
        const Outcome o = Register({QStringLiteral("words"), QStringLiteral("--repo"), repo.Uri(),
                                    QStringLiteral("--area"), QStringLiteral("ENT"), QStringLiteral("--input"), words});
        EXPECT_EQ(o.status, 1) << o.err.toStdString();
        for (const QString& part : c.expected)
            EXPECT_TRUE(o.err.contains(words + QStringLiteral(" ") + part)) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(QStringLiteral("아무것도 등록하지 않았습니다"))) << o.err.toStdString();
        EXPECT_EQ(repo.Count(count), before) << "nothing written";
    }
    // A definition may hold tabs and line breaks.
    WriteTextFile(words, QStringLiteral("단어 논리명,단어 물리명,정의\n새말,NEWW,\"여러 줄\n\t정의\"\n"));
    const Outcome o = Register({QStringLiteral("words"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                                QStringLiteral("ENT"), QStringLiteral("--input"), words});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains(QStringLiteral("\n1 words registered in "))) << o.out.toStdString();
    EXPECT_EQ(repo.Count(count), before + 1);
}

// The batch is one transaction: a failure halfway (a refused row on SQLite, the server ending
// the session on PostgreSQL) leaves none of it, and the count says so.
TEST_P(RegisterCommandTest, AFailureHalfwayLeavesNothingAndCountsNothing)
{
    repo.Exec(QStringLiteral("UPDATE ZT_OPTIONS SET OPTN_VAL = ''"));
    if (GetParam() == TestDialect::Sqlite) {
        repo.Exec(QStringLiteral("CREATE TRIGGER CUT BEFORE INSERT ON STD_DIC WHEN NEW.DIC_PHY_NM = 'ZQ150' BEGIN "
                                 "SELECT RAISE(ABORT, 'cut'); END"));
    } else {
        repo.Exec(QStringLiteral("CREATE FUNCTION %1.cut() RETURNS trigger AS $$ BEGIN IF NEW.dic_phy_nm = 'ZQ150' "
                                 "THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF; RETURN NEW; END $$ "
                                 "LANGUAGE plpgsql")
                      .arg(repo.Schema()));
        repo.Exec(QStringLiteral("CREATE TRIGGER cut BEFORE INSERT ON STD_DIC FOR EACH ROW EXECUTE FUNCTION %1.cut()")
                      .arg(repo.Schema()));
    }
    QString rows = QStringLiteral("단어 논리명,단어 물리명\n");
    for (int i = 0; i < 300; ++i)
        rows += QStringLiteral("낱말%1,ZQ%2\n").arg(i).arg(i, 3, 10, QLatin1Char('0'));
    const QString words = data.file(QStringLiteral("cut.csv"));
    WriteTextFile(words, rows);
    const Outcome o = Register({QStringLiteral("words"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                                QStringLiteral("ENT"), QStringLiteral("--input"), words});
    EXPECT_EQ(o.status, 1) << o.out.toStdString();
    EXPECT_TRUE(o.err.contains(QStringLiteral("300개 중 0개를 등록했습니다"))) << o.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_PHY_NM LIKE 'ZQ%'")), 0);
}

// `termwise standard import` into a repository area (SQLite and PostgreSQL) and into the
// local dictionary, through the command as a user runs it.
#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "components/QrProgressWnd.h"
#include "repository/RepoTestDb.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Result
{
    int status;
    QString out, err;
};

Result Standard(const QStringList& args)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    r.status = StandardCommand::Run(args, out, err);
    return r;
}

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

const QString kCurrent = QStringLiteral("99991231235959");

class StandardImport : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override { OPEN_TEST_REPOSITORY(repo, GetParam()); }
    int Current(const QString& table, const QString& extra = {})
    {
        return repo.Count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE STD_AREA_ID = 'PUB' AND AVAL_END_DT = "
                                         "'99991231235959' %2")
                              .arg(table, extra));
    }
    // Logical names of a term's words in ORDER_NO order, as "1:주문 2:일련번호".
    QString Combination(const QString& term)
    {
        return repo
            .Rows(QStringLiteral("SELECT C.ORDER_NO, W.DIC_LOG_NM FROM STD_DIC T JOIN STD_WORD_COMBI C ON C.TERM_ID "
                                 "= T.DIC_ID AND C.STD_AREA_ID = T.STD_AREA_ID AND C.AVAL_END_DT = T.AVAL_END_DT "
                                 "JOIN STD_DIC W ON W.DIC_ID = C.WORD_ID AND W.STD_AREA_ID = C.STD_AREA_ID WHERE "
                                 "T.STD_AREA_ID = 'PUB' AND T.DIC_LOG_NM = ? AND T.AVAL_END_DT = '99991231235959' "
                                 "ORDER BY C.ORDER_NO"),
                  {SqlParam::Text(term)})
            .join(u' ')
            .replace(u'|', u':');
    }
    TestRepository repo;
};

} // namespace

TEST_P(StandardImport, LoadsAnEditionRefusesASecondAndReplaceKeepsHistory)
{
    QStringList args = {QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                        QStringLiteral("--area"), QStringLiteral("PUB"),    QStringLiteral("--area-name"),
                        U("공공데이터 공통표준")};
    Result r = Standard(args + StandardCsvFixtures());
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const char* line : {"standard words: 11\n", "non-standard words: 5\n", "domain groups: 5\n", "domains: 5\n",
                             "terms: 9\n", "word combinations: 18\n", "rows not taken or taken with a gap: 4\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << "\n" << r.out.toStdString();
    // Every row not taken is named with its file and row.
    EXPECT_TRUE(r.out.contains(QStringLiteral("words.csv:13:")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("domains-cp949.csv:7:")));
    EXPECT_TRUE(r.out.contains(U("terms.csv:8: 용어 ")) && r.out.contains(QStringLiteral("DLVR, ZIP")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("terms.csv:10:")) && r.out.contains(U("번호V99")));

    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT STD_AREA_NM FROM STD_AREA WHERE STD_AREA_ID = 'PUB'")),
              QStringList{U("공공데이터 공통표준")});
    EXPECT_EQ(Current(QStringLiteral("STD_DIC"), QStringLiteral("AND DIC_GBN_CD = '0001' AND STANDARD_YN = 'Y'")), 11);
    EXPECT_EQ(Current(QStringLiteral("STD_DIC"), QStringLiteral("AND DIC_GBN_CD = '0002' AND STANDARD_YN = 'Y'")), 9);
    EXPECT_EQ(Current(QStringLiteral("STD_DOM")), 5);
    // A term's synonym: not standard, naming its term.
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_LOG_NM, DIC_PHY_NM, STANDARD_YN, DIC_DESC FROM STD_DIC WHERE "
                                       "STD_AREA_ID = 'PUB' AND DIC_GBN_CD = '0002' AND STANDARD_YN = 'N'")),
              QStringList{U("고객이름|CUST_NM|N|용어 이음동의어 (표준용어: 고객명)")});
    EXPECT_EQ(Current(QStringLiteral("STD_WORD_COMBI")), 18);
    // Synonyms and forbidden words: non-standard, under the standard word's abbreviation.
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT DIC_LOG_NM, DIC_PHY_NM, STANDARD_YN, DIC_DESC FROM STD_DIC WHERE "
                                       "STD_AREA_ID = 'PUB' AND DIC_LOG_NM IN (?, ?) ORDER BY DIC_LOG_NM"),
                        {SqlParam::Text(U("넘버")), SqlParam::Text(U("이름"))}),
              (QStringList{U("넘버|NO||금칙어 (표준단어: 번호)"), U("이름|NM||이음동의어 (표준단어: 명)")}));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT ATTR_CLSS_YN FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND "
                                       "DIC_LOG_NM IN (?, ?) ORDER BY DIC_LOG_NM"),
                        {SqlParam::Text(U("고객")), SqlParam::Text(U("번호"))}),
              (QStringList{QString(), QStringLiteral("Y")}));
    // A shared abbreviation goes to the word that stands at that place in the name.
    EXPECT_EQ(Combination(U("주문일련번호")), U("1:주문 2:일련번호"));
    EXPECT_EQ(Combination(U("주문순번")), U("1:주문 2:순번"));
    EXPECT_EQ(Combination(U("배송지우편번호")), U("3:번호"));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT D.DOM_NM, D.DATA_LEN FROM STD_DIC T JOIN STD_DOM D ON D.DOM_ID = "
                                       "T.DOM_ID WHERE T.STD_AREA_ID = 'PUB' AND T.DIC_LOG_NM = ?"),
                        {SqlParam::Text(U("주문일자"))}),
              QStringList{U("연월일C8|8")});

    // A second edition is refused, and nothing changes.
    r = Standard(args + StandardCsvFixtures());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--replace"))) << r.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 26);

    // --replace with the same edition (the workbook this time) finds every row unchanged: nothing
    // is closed or written again.
    TempDataDir dir;
    const QString book = dir.file(QStringLiteral("standard.xlsx"));
    ASSERT_TRUE(WriteStandardWorkbook(book));
    r = Standard(args + QStringList{QStringLiteral("--replace"), book});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const char* line : {"closed rows of the earlier edition: 0\n",
                             "words: added 0, changed 0, withdrawn 0, unchanged 11, kept (the area's own) 0\n",
                             "domains: added 0, changed 0, withdrawn 0, unchanged 5, kept (the area's own) 0\n",
                             "terms: added 0, changed 0, withdrawn 0, unchanged 9, kept (the area's own) 0\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << "\n" << r.out.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 27);
    EXPECT_EQ(Current(QStringLiteral("STD_DIC")), 26); // the term synonym closed and written again
    EXPECT_EQ(Current(QStringLiteral("STD_DOM_GRP")), 5);
    EXPECT_EQ(Current(QStringLiteral("STD_WORD_COMBI")), 18);
    EXPECT_EQ(Combination(U("주문일련번호")), U("1:주문 2:일련번호"));
}

// A term file alone joins the words and domains its area holds: refused where the area has no
// words, and where it has current terms unless --replace, which closes only the terms.
TEST_P(StandardImport, ATermFileAloneJoinsTheAreasWords)
{
    const QStringList args = {QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                              QStringLiteral("PUB")};
    const QString termFile = StandardCsvFixtures()[2];
    Result r = Standard(args + QStringList{termFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(U("표준 단어가 없습니다"))) << r.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);

    ASSERT_EQ(Standard(args + StandardCsvFixtures()).status, 0);
    r = Standard(args + QStringList{termFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--replace"))) << r.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 26);

    r = Standard(args + QStringList{QStringLiteral("--replace"), termFile});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("closed rows of the earlier edition: 28\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("terms: 9\nword combinations: 18\n"))) << r.out.toStdString();
    EXPECT_EQ(Current(QStringLiteral("STD_DIC"), QStringLiteral("AND DIC_GBN_CD = '0001'")), 16) << "words stay";
    EXPECT_EQ(Current(QStringLiteral("STD_DIC"), QStringLiteral("AND DIC_GBN_CD = '0002'")), 10); // and a synonym
    EXPECT_EQ(Combination(U("주문일련번호")), U("1:주문 2:일련번호"));
    EXPECT_EQ(repo.Rows(QStringLiteral("SELECT D.DOM_NM FROM STD_DIC T JOIN STD_DOM D ON D.DOM_ID = T.DOM_ID WHERE "
                                       "T.STD_AREA_ID = 'PUB' AND T.DIC_LOG_NM = ? AND T.AVAL_END_DT = ?"),
                        {SqlParam::Text(U("주문일자")), SqlParam::Text(kCurrent)}),
              QStringList{U("연월일C8")});

    // The dictionary holds no terms: a term file alone has nothing to give it.
    TempDataDir data;
    r = Standard({QStringLiteral("import"), QStringLiteral("--data-dir"), data.path(), termFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(U("공통표준단어, 공통표준도메인"))) << r.err.toStdString();
}

TEST_P(StandardImport, AFileInAnotherLayoutOrACancelWritesNothing)
{
    {
        auto progress = std::make_unique<CSilentProgress>();
        progress->m_cancelAfter = 3; // cancelled after the words
        CQrProgressWnd::SetBackend(std::move(progress));
        const Result r = Standard(QStringList{QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                              QStringLiteral("--area"), QStringLiteral("PUB")} +
                                  StandardCsvFixtures());
        CQrProgressWnd::SetBackend(nullptr);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(U("가져오기를 취소했습니다"))) << r.err.toStdString();
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_AREA")), 0);
    }

    TempDataDir dir;
    const QString model = dir.file(QStringLiteral("model.csv"));
    WriteTextFile(model, U("속성명,컬럼명\n고객번호,CUST_NO\n"));
    const Result r = Standard({QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                               QStringLiteral("PUB"), StandardCsvFixtures()[0], model});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("model.csv")) && r.err.contains(U("공통표준용어명")))
        << r.err.toStdString();
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_AREA")), 0);
}

// Only whole files go in: a word file cut inside a row, one with a gap in its numbering, one
// with no rows, or a value the columns cannot hold refuses the edition (nothing written, the
// rows named); --allow-partial takes a file that is not whole, without its cut row.
TEST_P(StandardImport, OnlyWholeFilesWithFittingValuesGoIn)
{
    TempDataDir dir;
    QFile source(StandardCsvFixtures()[0]);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString words = QString::fromUtf8(source.readAll());
    const QStringList lines = words.split(u'\n');
    // Lines 5 and 6 (from 0) are one record; line 7 is the row numbered 6, line 8 the one numbered 7.
    const QString cutFile = lines.mid(0, 8).join(u'\n') + u'\n' + lines[8].left(lines[8].size() / 2);
    QStringList gap = lines;
    gap.removeAt(3); // the row numbered 3
    const QString withNul = QString(words).replace(U("고객,CUST"), U("고") + QChar(0) + U("객,CUST"));
    const QString longName = QString(words).replace(U("고객,CUST"), QString(501, u'가') + U(",CUST"));
    struct Case
    {
        const char* name;
        QString text;
        QStringList expected;
    } cases[] = {
        {"cut inside a row", cutFile, {U("words.csv:8: 파일이 이 행의 중간에서 끝납니다")}},
        {"a gap in the numbering", gap.join(u'\n'), {U("words.csv:4: 이 행 앞에 번호 3이(가) 없습니다")}},
        {"no rows", lines[0] + u'\n', {U("공통표준단어 파일에 행이 없어")}},
        {"a NUL in a name", withNul, {U("words.csv:2: DIC_LOG_NM: 제어 문자(U+0000)")}},
        {"a name too long", longName, {U("words.csv:2: DIC_LOG_NM: 길이가 501자로 최대 500자를 넘습니다")}},
    };
    const QString path = dir.file(QStringLiteral("words.csv"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTextFile(path, c.text);
        const Result r =
            Standard({QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                      QStringLiteral("PUB"), path, StandardCsvFixtures()[1], StandardCsvFixtures()[2]});
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        for (const QString& part : c.expected)
            EXPECT_TRUE(r.err.contains(part)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(U("아무것도 쓰지 않았습니다"))) << r.err.toStdString();
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC")), 0);
        EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_AREA")), 0);
    }
    WriteTextFile(path, cutFile);
    const Result r = Standard({QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                               QStringLiteral("PUB"), QStringLiteral("--allow-partial"), path, StandardCsvFixtures()[1],
                               StandardCsvFixtures()[2]});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(U("words.csv:8: 파일이 이 행의 중간에서 끝납니다"))) << r.out.toStdString();
    EXPECT_EQ(Current(QStringLiteral("STD_DIC"), QStringLiteral("AND DIC_GBN_CD = '0001' AND STANDARD_YN = 'Y'")), 6)
        << "the six whole rows, not the cut one";
}

INSTANTIATE_TEST_SUITE_P(Dialects, StandardImport, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

TEST(StandardDictionaryImport, LogicalAndDomainAnalysesRunAgainstThePublicStandard)
{
    TempDataDir data;
    const Result r = Standard(QStringList{QStringLiteral("import"), QStringLiteral("--data-dir"), data.path()} +
                              StandardCsvFixtures());
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("standard words: 11\nnon-standard words: 5\ndomains: 5\n")))
        << r.out.toStdString();

    CAnalyzeSettings settings;
    settings.LoadFrom(CAnalyzeSettings::SettingsPath());
    _stAnalyzeManageWord forbidden;
    ASSERT_TRUE(settings.GetWord(QStringLiteral("NO"), U("넘버"), forbidden));
    EXPECT_EQ(forbidden.nStandard, 0);
    // A domain class that is not itself a class word is keyed by the class word that names it.
    _stAnalyzeManageDomain date;
    ASSERT_TRUE(settings.GetDomain(U("일자"), U("연월일C8"), date));
    EXPECT_EQ(date.strLength, QStringLiteral("8"));
    EXPECT_FALSE(settings.GetDomain(U("연월일"), U("연월일C8"), date));

    LogicalWordAnalysis analysis(&settings);
    analysis.SetSheet({{U("고객번호")}, {U("고객이름")}, {U("주문넘버")}, {U("고객주소")}});
    analysis.Designations().Designate(WordAnalysis::RoleName, 0);
    ASSERT_TRUE(analysis.Run().ok);
    std::map<QString, QString> split;
    for (const WordAnalysis::WordResult& w : analysis.Results()) {
        QStringList parts;
        for (const WordPair& p : w.words)
            parts << p.word + u'/' + p.partner;
        split[w.key] = parts.join(u' ') + QStringLiteral(" %1").arg(w.status);
    }
    EXPECT_EQ(split[U("고객번호")], U("고객/CUST 번호/NO 2"));
    EXPECT_EQ(split[U("고객이름")], U("고객/CUST 이름/NM 2"));
    EXPECT_EQ(split[U("주문넘버")], U("주문/ORD 넘버/NO 2"));
    EXPECT_TRUE(split[U("고객주소")].startsWith(U("고객/CUST "))) << split[U("고객주소")].toStdString();
    EXPECT_TRUE(split[U("고객주소")].endsWith(QStringLiteral(" 1")));

    // The domain analysis finds the published domains by class word.
    DomainAnalysis domains(&settings);
    domains.SetSheet({{U("주문일자"), QStringLiteral("CHAR(8)")}, {U("주문일련번호"), QStringLiteral("VARCHAR(20)")}});
    domains.Designations().Designate(DomainAnalysis::RoleAttribute, 0);
    domains.Designations().Designate(DomainAnalysis::RoleType, 1);
    ASSERT_TRUE(domains.Run().ok);
    QStringList found;
    for (const DomainAnalysis::DomainResult& d : domains.Results())
        found << d.key + u'=' + d.domainName;
    EXPECT_EQ(found.join(u' '), U("주문일자+CHAR+8+=연월일C8 주문일련번호+VARCHAR+20+=번호V20"));
}

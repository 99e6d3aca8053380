// The published editions themselves (the workbooks the program ships): each workbook and the
// portal's CSV form of it give the ministry's current rows, withdrawn rows listed and never
// current; what the 8th edition changed against the 7th, read by hand off both workbooks; and
// an area brought from the 7th to the 8th keeps its own registrations and closes what the
// edition replaced, with its dates.
#include "repository/RepoTestDb.h"
#include "standard/BuiltinStandard.h"
#include "standard/StandardCommand.h"
#include "standard/StandardDiff.h"
#include "standard/StandardTestUtil.h"

#include <QTextStream>
#include <gtest/gtest.h>
#include <set>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

const QString kBuiltinFolder = QStringLiteral(TERMWISE_SOURCE_DIR "/resources/standard");

const PublicStandard& Edition(const char* key)
{
    const PublishedEdition& e = Published(BuiltinStandard::Find(QString::fromLatin1(key))->fileName);
    EXPECT_TRUE(e.error.isEmpty()) << e.error.toStdString();
    return e.standard;
}

struct CliRun
{
    int status = -1;
    QString out, err;
};

CliRun Standard(const QStringList& args)
{
    BuiltinStandard::SetFolder(kBuiltinFolder);
    CliRun r;
    QTextStream out(&r.out), err(&r.err);
    r.status = StandardCommand::Run(args, out, err);
    BuiltinStandard::SetFolder(QString());
    return r;
}

// A sheet as the portal writes it to CSV: no 번호 column, empty cells instead of "-", its own
// spelling of 개정구분명, line breaks inside cells as a blank or "_" (both occur).
QString PortalCsv(const std::vector<QStringList>& rows)
{
    QString text = QStringLiteral("\xFEFF");
    int header = -1, number = -1;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (header < 0) {
            number = int(rows[r].indexOf(QStringLiteral("번호")));
            if (number < 0)
                continue;
            header = int(r);
        }
        QStringList cells;
        for (int c = number + 1; c < rows[r].size(); ++c) {
            QString cell = rows[r][c];
            if (cell == QLatin1String("-"))
                cell.clear();
            cell.replace(QStringLiteral("개정구분명(폐기, 변경)"), QStringLiteral("개정구분명(폐기 또는 변경)"));
            cell.replace(u'\n', r % 2 ? u' ' : u'_');
            if (cell.contains(u',') || cell.contains(u'"'))
                cell = u'"' + cell.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
            cells << cell;
        }
        text += cells.join(u',') + QStringLiteral("\r\n");
    }
    return text;
}

// What the program takes from an edition, one line per row.
QStringList Content(const PublicStandard& s)
{
    QStringList lines;
    for (const auto& w : s.words)
        lines << QStringList{w.logical,
                             w.physical,
                             w.fullName,
                             w.classWord ? QStringLiteral("Y") : QString(),
                             w.domainClass,
                             w.synonyms.join(u'+'),
                             w.forbidden.join(u'+')}
                     .join(u'|');
    for (const auto& d : s.domains)
        lines << QStringList{d.group, d.keyDomain, d.name, d.dataType, d.length, d.scale}.join(u'|');
    for (const auto& t : s.terms)
        lines << QStringList{t.logical, t.physical, t.domainName, t.synonyms.join(u'+')}.join(u'|');
    for (const auto& w : s.withdrawnWords)
        lines << QStringLiteral("withdrawn word ") + w.logical + u'|' + w.physical;
    for (const auto& d : s.withdrawnDomains)
        lines << QStringLiteral("withdrawn domain ") + d.name;
    for (const auto& t : s.withdrawnTerms)
        lines << QStringLiteral("withdrawn term ") + t.logical + u'|' + t.physical;
    return lines;
}

} // namespace

TEST(PublishedEditions, WorkbookAndPortalCsvGiveTheMinistrysCurrentRows)
{
    struct Case
    {
        const char* key;
        size_t words, classWords, domains, terms, withdrawnWords, withdrawnDomains, withdrawnTerms;
    };
    // Current rows as the ministry counts them; withdrawn rows counted by hand in each workbook.
    for (const Case& c : {Case{"8", 3280, 545, 126, 13159, 4, 3, 17}, Case{"7", 2396, 325, 112, 9027, 2, 3, 12}}) {
        SCOPED_TRACE(c.key);
        const PublicStandard& s = Edition(c.key);
        EXPECT_EQ(s.words.size(), c.words);
        EXPECT_EQ(size_t(std::count_if(s.words.begin(), s.words.end(), [](const auto& w) { return w.classWord; })),
                  c.classWords);
        EXPECT_EQ(s.domains.size(), c.domains);
        EXPECT_EQ(s.terms.size(), c.terms);
        EXPECT_EQ(s.withdrawnWords.size(), c.withdrawnWords);
        EXPECT_EQ(s.withdrawnDomains.size(), c.withdrawnDomains);
        EXPECT_EQ(s.withdrawnTerms.size(), c.withdrawnTerms);
        EXPECT_TRUE(s.incomplete.empty());
        // One current row per name: a withdrawn row never stands beside its replacement.
        std::set<QString> words, terms;
        for (const auto& w : s.words)
            EXPECT_TRUE(words.insert(w.logical).second) << w.logical.toStdString();
        for (const auto& t : s.terms)
            EXPECT_TRUE(terms.insert(t.logical).second) << t.logical.toStdString();
        const auto withdrawnNamed = std::count_if(s.problems.begin(), s.problems.end(),
                                                  [](const auto& p) { return p.reason.contains(U("폐기된 표준")); });
        EXPECT_EQ(size_t(withdrawnNamed), c.withdrawnWords + c.withdrawnDomains + c.withdrawnTerms);

        // The portal's CSV files of the same sheets give the same rows.
        TempDataDir dir;
        QStringList files;
        for (const QString& sheet : {U("공통표준단어"), U("공통표준도메인"), U("공통표준용어")}) {
            files << dir.file(sheet + QStringLiteral(".csv"));
            WriteTextFile(files.back(),
                          PortalCsv(SheetRows(Published(BuiltinStandard::Find(c.key)->fileName).path, sheet)));
        }
        PublicStandard csv;
        QString error;
        ASSERT_TRUE(PublicStandardReader::Read(files, csv, error)) << error.toStdString();
        EXPECT_TRUE(Content(csv) == Content(s));
    }

    // 8th edition: 보훈 and 측정지점명 keep only their current abbreviation; a TAB before an
    // English name is taken out and said.
    const PublicStandard& eighth = Edition("8");
    for (const auto& w : eighth.words)
        if (w.logical == U("보훈")) {
            EXPECT_EQ(w.physical, QStringLiteral("PV"));
        }
    for (const auto& t : eighth.terms)
        if (t.logical == U("측정지점명")) {
            EXPECT_EQ(t.physical, QStringLiteral("MSPT_NM"));
        }
    const auto reduction =
        std::find_if(eighth.words.begin(), eighth.words.end(), [](const auto& w) { return w.logical == U("감소율"); });
    ASSERT_NE(reduction, eighth.words.end());
    EXPECT_EQ(reduction->fullName, QStringLiteral("Reduction Rate"));
    EXPECT_TRUE(std::any_of(eighth.problems.begin(), eighth.problems.end(), [&](const auto& p) {
        return p.row == reduction->row && p.reason.contains(QStringLiteral("TAB"));
    }));
}

TEST(PublishedEditions, WhatTheEighthEditionChanged)
{
    using StandardDiff::Kind;
    const StandardDiff::Result d = StandardDiff::Compare(Edition("7"), Edition("8"));
    // Counted from both workbooks by name; the changed words are the ones the 8th edition marks
    // 변경 in 형식단어, 공통표준도메인분류명 or 이음동의어 목록.
    const auto counts = [&d](Kind k) {
        const auto& kd = d.Of(k);
        return std::array<size_t, 3>{kd.added.size(), kd.withdrawn.size(), kd.changed.size()};
    };
    EXPECT_EQ(counts(Kind::Word), (std::array<size_t, 3>{885, 1, 9}));
    EXPECT_EQ(counts(Kind::Domain), (std::array<size_t, 3>{14, 0, 0}));
    EXPECT_EQ(counts(Kind::Term), (std::array<size_t, 3>{4132, 0, 5}));
    ASSERT_EQ(d.Of(Kind::Word).withdrawn.size(), 1u);
    EXPECT_EQ(d.Of(Kind::Word).withdrawn[0].name, U("법정리"));

    std::map<QString, QString> changed;
    for (const Kind k : {Kind::Word, Kind::Term})
        for (const auto& e : d.Of(k).changed)
            changed[e.name] = StandardDiff::Describe(e);
    // Two abbreviations changed and three terms renamed (폐기후 제정, 용어명 변경), each read off
    // its rows in both workbooks.
    const std::map<QString, QString> expected = {
        {U("유형자산금액"), U("약어 TYPE_AST_AMT → TGAST_AMT")},
        {U("측정지점명"), U("약어 MSRMT_BRNCH_NM → MSPT_NM")},
        {U("법정동리명"), U("이름 법정리명 → 법정동리명; 약어 STLI_NM → STDG_LI_NM; 도메인 명V40 → 명V100")},
        {U("법정동읍면동명"), U("이름 법정읍면동명 → 법정동읍면동명; 약어 STTY_EMD_NM → STDG_EMD_NM")},
        {U("지붕구조구분코드"), U("이름 지붕코드 → 지붕구조구분코드; 약어 ROOF_CD → ROOF_STRCT_SE_CD")},
        {U("등급"), U("분류어 여부 N → Y; 도메인 분류 (없음) → 번호")},
        {U("전기전도도"), U("도메인 분류 율 → 수")},
        {U("질문"), U("이음동의어 질의 → (없음)")},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(changed[name], text) << name.toStdString();

    // The command gives the same, and its workbook has one sheet per kind.
    TempDataDir dir;
    const QString book = dir.file(QStringLiteral("diff.xlsx"));
    const CliRun r = Standard({QStringLiteral("diff"), QStringLiteral("builtin:7"), QStringLiteral("builtin:8"),
                               QStringLiteral("--output"), book});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nterms: added 4132, withdrawn 0, changed 5\n"))) << r.out.toStdString();
    const auto terms = SheetRows(book, U("용어"));
    EXPECT_TRUE(std::any_of(terms.begin(), terms.end(), [](const QStringList& row) {
        return row == QStringList{U("변경"),
                                  U("유형자산금액"),
                                  QStringLiteral("TGAST_AMT"),
                                  U("약어"),
                                  QStringLiteral("TYPE_AST_AMT"),
                                  QStringLiteral("TGAST_AMT")};
    }));
    EXPECT_EQ(SheetRows(book, U("도메인")).size(), 1u + 14u);
    EXPECT_EQ(Standard({QStringLiteral("diff"), QStringLiteral("builtin:6"), QStringLiteral("builtin:8")}).status, 2);
}

class EditionUpgrade : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override { OPEN_TEST_REPOSITORY(repo, GetParam()); }
    QStringList Rows(const QString& name)
    {
        return repo.Rows(QStringLiteral("SELECT DIC_ID, DIC_PHY_NM, AVAL_ST_DT, AVAL_END_DT FROM STD_DIC WHERE "
                                        "STD_AREA_ID = 'PUB' AND DIC_LOG_NM = ? ORDER BY AVAL_END_DT"),
                         {SqlParam::Text(name)});
    }
    TestRepository repo;
};

TEST_P(EditionUpgrade, SeventhToEighthKeepsTheAreasOwnRowsAndClosesReplacedOnes)
{
    const QStringList area = {QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                              QStringLiteral("PUB")};
    CliRun r = Standard(area + QStringList{QStringLiteral("--builtin"), QStringLiteral("7")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // A word and a term the area's owners registered themselves.
    const QString registered = QStringLiteral("20250301090000");
    repo.Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, "
                             "DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD, "
                             "TERM_GBN_CD) VALUES ('PUB', 'OWN-1', '99991231235959', ?, ?, 'LCLBZ', 'LCLBZ', ?, '', "
                             "'Y', '0001', NULL), ('PUB', 'OWN-2', '99991231235959', ?, ?, 'LCLBZ_NM', 'LCLBZ_NM', ?, "
                             "NULL, 'Y', '0002', '0001')"),
              {SqlParam::Text(registered), SqlParam::Text(U("기관업무")), SqlParam::Text(U("우리 기관의 업무")),
               SqlParam::Text(registered), SqlParam::Text(U("기관업무명")), SqlParam::Text(U("기관업무의 이름"))});
    const QStringList before = Rows(U("유형자산금액"));
    ASSERT_EQ(before.size(), 1);

    r = Standard(area + QStringList{QStringLiteral("--replace"), QStringLiteral("--builtin")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // Counted by name from both workbooks: a row is changed when a value the area stores differs
    // (abbreviation, English name, description, class word, domain).
    for (const char* line : {"\nwords: added 885, changed 53, withdrawn 1, unchanged 2342, kept (the area's own) 1\n",
                             "\ndomains: added 14, changed 0, withdrawn 0, unchanged 112, kept (the area's own) 0\n",
                             "\nterms: added 4135, changed 642, withdrawn 3, unchanged 8382, kept (the area's own) 1\n",
                             "\nstandard words: 3280\n", "\ndomains: 126\n", "\nterms: 13159\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << r.out.toStdString();

    const auto current = [this](const char* gbn) {
        return repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND STANDARD_YN = 'Y' "
                                         "AND AVAL_END_DT = '99991231235959' AND DIC_GBN_CD = '%1'")
                              .arg(QString::fromLatin1(gbn)));
    };
    EXPECT_EQ(current("0001"), 3280 + 1);
    EXPECT_EQ(current("0002"), 13159 + 1);
    // The area's own rows stand as they were.
    EXPECT_EQ(Rows(U("기관업무")), QStringList{QStringLiteral("OWN-1|LCLBZ|%1|99991231235959").arg(registered)});
    EXPECT_EQ(Rows(U("기관업무명")), QStringList{QStringLiteral("OWN-2|LCLBZ_NM|%1|99991231235959").arg(registered)});
    // A changed abbreviation: the earlier row closed with its dates, the new one current under the same id.
    const QStringList after = Rows(U("유형자산금액"));
    ASSERT_EQ(after.size(), 2) << after.join(u'\n').toStdString();
    const QStringList old = before[0].split(u'|'), closed = after[0].split(u'|'), now = after[1].split(u'|');
    EXPECT_EQ(closed.mid(0, 3), old.mid(0, 3));
    EXPECT_NE(closed[3], QStringLiteral("99991231235959"));
    EXPECT_GE(closed[3], closed[2]);
    EXPECT_EQ(now[0], old[0]);
    EXPECT_EQ(now[1], QStringLiteral("TGAST_AMT"));
    EXPECT_EQ(now[2], closed[3]);
    // A withdrawn term is closed, not deleted; the new edition names it a synonym of the term
    // that replaced it, so that row alone is current.
    EXPECT_EQ(Rows(U("법정리명")).size(), 2);
    const auto count = [&](const char* where) {
        return repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_DIC WHERE DIC_LOG_NM = ? AND DIC_GBN_CD = '0002' "
                                         "AND ") +
                              QString::fromLatin1(where),
                          {SqlParam::Text(U("법정리명"))});
    };
    EXPECT_EQ(count("STANDARD_YN = 'Y' AND AVAL_END_DT <> '99991231235959'"), 1);
    EXPECT_EQ(count("STANDARD_YN = 'N' AND AVAL_END_DT = '99991231235959'"), 1);
    EXPECT_EQ(repo.Count(QStringLiteral("SELECT COUNT(*) FROM STD_WORD_COMBI C JOIN STD_DIC T ON T.DIC_ID = C.TERM_ID "
                                        "AND T.STD_AREA_ID = C.STD_AREA_ID WHERE T.DIC_LOG_NM = ? AND "
                                        "C.AVAL_END_DT = '99991231235959' AND T.AVAL_END_DT = '99991231235959'"),
                         {SqlParam::Text(U("유형자산금액"))}),
              2);
}

INSTANTIATE_TEST_SUITE_P(Dialects, EditionUpgrade, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

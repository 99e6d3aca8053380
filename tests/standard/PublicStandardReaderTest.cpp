#include "standard/PublicStandardReader.h"
#include "standard/StandardTestUtil.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// What both forms of the fixture edition must give.
void ExpectFixtureEdition(const PublicStandard& s)
{
    ASSERT_EQ(s.words.size(), 11u);
    ASSERT_EQ(s.domains.size(), 6u);
    ASSERT_EQ(s.terms.size(), 9u);
    const PublicStandardWord& number = s.words[1];
    EXPECT_EQ(number.logical, U("번호"));
    EXPECT_EQ(number.physical, QStringLiteral("NO"));
    EXPECT_TRUE(number.classWord);
    EXPECT_EQ(number.description, U("차례를 나타내는 수, 또는 식별 번호")); // quoted comma
    EXPECT_EQ(number.forbidden, QStringList{U("넘버")});
    EXPECT_TRUE(number.synonyms.isEmpty()); // "-"
    const PublicStandardWord& order = s.words[4];
    EXPECT_EQ(order.description, U("물품의 생산이나 배송을 요청함\n(여러 줄 설명)")); // quoted line break
    EXPECT_EQ(order.forbidden, (QStringList{U("오더"), QStringLiteral("order")}));
    EXPECT_FALSE(order.classWord);
    EXPECT_EQ(s.words[2].synonyms, QStringList{U("이름")});
    EXPECT_EQ(s.domains[2].keyDomain, U("연월일"));
    EXPECT_EQ(s.domains[2].name, U("연월일C8"));
    EXPECT_EQ(s.domains[2].dataType, QStringLiteral("CHAR"));
    EXPECT_EQ(s.domains[2].length, QStringLiteral("8"));
    EXPECT_TRUE(s.domains[2].scale.isEmpty());
    EXPECT_EQ(s.terms[6].physical, QStringLiteral("DLVR_ZIP_NO"));
    EXPECT_EQ(s.terms[6].row, 8);
    // The word row without a logical name is the one problem of the reading.
    ASSERT_EQ(s.problems.size(), 1u);
    EXPECT_EQ(s.problems[0].row, 13);
    EXPECT_TRUE(s.problems[0].file.contains(QStringLiteral("words.csv")) ||
                s.problems[0].file.contains(U("공통표준단어")));
}

} // namespace

TEST(PublicStandardReader, CsvFilesInBothEncodingsAndTheWorkbookReadAlike)
{
    PublicStandard fromCsv;
    QString error;
    ASSERT_TRUE(PublicStandardReader::Read(StandardCsvFixtures(), fromCsv, error)) << error.toStdString();
    ExpectFixtureEdition(fromCsv);

    TempDataDir dir;
    const QString book = dir.file(QStringLiteral("standard.xlsx"));
    ASSERT_TRUE(WriteStandardWorkbook(book));
    PublicStandard fromBook;
    ASSERT_TRUE(PublicStandardReader::Read({book}, fromBook, error)) << error.toStdString();
    ExpectFixtureEdition(fromBook);

    QString encoding;
    QFile cp949(TestDataPath(QStringLiteral("standard/domains-cp949.csv")));
    ASSERT_TRUE(cp949.open(QIODevice::ReadOnly));
    EXPECT_TRUE(PublicStandardReader::DecodeText(cp949.readAll(), &encoding).contains(U("공통표준도메인명")));
    EXPECT_EQ(encoding, QStringLiteral("CP949"));
    // A UTF-8 file with a line added in CP949 ("번호") reads right in both parts.
    EXPECT_EQ(PublicStandardReader::DecodeText(QByteArray("\xEF\xBB\xBF고객,A\n\xB9\xF8\xC8\xA3,B\n"), &encoding),
              U("고객,A\n번호,B\n"));
    EXPECT_EQ(encoding, QStringLiteral("UTF-8 and CP949"));
}

TEST(PublicStandardReader, OtherLayoutsAreRefusedNamingWhatIsMissing)
{
    TempDataDir dir;
    struct Case
    {
        const char* name;
        QString content;
        QStringList expected; // parts of the message
    };
    const std::vector<Case> cases = {
        {"word file missing columns",
         U("공통표준단어명,공통표준단어영문약어명\n고객,CUST\n"),
         {U("공통표준단어 영문명"), U("형식단어 여부"), U("금칙어 목록")}},
        {"an attribute list", U("속성명,컬럼명\n고객번호,CUST_NO\n"), {U("공통표준단어명"), U("공통표준용어명")}},
        {"empty file", QString(), {U("공통표준도메인명")}},
        // A header no published form has: a later edition's, not read by halves.
        {"an unknown header",
         U("공통표준용어명,공통표준용어설명,공통표준용어영문약어명,공통표준도메인명,제정차수,적용시작일\n고객번호,,CUST_NO,"
           "번호V20,8차(2025-11),2026-01-01\n"),
         {U("모르는 머리글"), U("적용시작일")}},
    };
    for (const Case& c : cases) {
        const QString path = dir.file(QStringLiteral("in.csv"));
        WriteTextFile(path, c.content);
        PublicStandard s;
        QString error;
        EXPECT_FALSE(PublicStandardReader::Read({path}, s, error)) << c.name;
        for (const QString& part : c.expected)
            EXPECT_TRUE(error.contains(part)) << c.name << ": " << error.toStdString();
    }
    // A workbook without the standard's sheets names them.
    const QString book = dir.file(QStringLiteral("model.xlsx"));
    lxw_workbook* wb = workbook_new(QFile::encodeName(book).constData());
    workbook_add_worksheet(wb, "Sheet1");
    workbook_close(wb);
    PublicStandard s;
    QString error;
    EXPECT_FALSE(PublicStandardReader::Read({book}, s, error));
    EXPECT_TRUE(error.contains(U("공통표준용어")) && error.contains(U("공통표준도메인"))) << error.toStdString();
    // The same for a legacy .xls workbook.
    EXPECT_FALSE(PublicStandardReader::Read({TestDataPath(QStringLiteral("excel/fixture.xls"))}, s, error));
    EXPECT_TRUE(error.contains(U("없는 시트: 공통표준용어, 공통표준단어, 공통표준도메인"))) << error.toStdString();
}

TEST(PublicStandardReader, CsvRecordsFollowQuotingRules)
{
    const auto rows = PublicStandardReader::ParseCsv(U("a,\"b,c\",\"d\"\"e\"\r\n\"line\nbreak\",,x\nlast"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("a"), QStringLiteral("b,c"), QStringLiteral("d\"e")}));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("line\nbreak"), QString(), QStringLiteral("x")}));
    EXPECT_EQ(rows[2], QStringList{QStringLiteral("last")});
}

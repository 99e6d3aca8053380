#include "components/QrExcelSheet.h"
#include "components/excel/CellText.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <vector>

namespace {

// A member whose text is head + body repeated count times + tail, produced while zipping so
// that multi-hundred-megabyte members never sit in memory.
struct RepeatMember
{
    std::string head, body, tail;
    size_t count = 1;
};

struct RepeatState
{
    RepeatMember m;
    size_t pos = 0;
    size_t Total() const { return m.head.size() + m.body.size() * m.count + m.tail.size(); }
    char At(size_t i) const
    {
        if (i < m.head.size())
            return m.head[i];
        i -= m.head.size();
        if (i < m.body.size() * m.count)
            return m.body[i % m.body.size()];
        return m.tail[i - m.body.size() * m.count];
    }
};

zip_int64_t RepeatCallback(void* userdata, void* data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto* s = static_cast<RepeatState*>(userdata);
    switch (cmd) {
    case ZIP_SOURCE_OPEN:
        s->pos = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const size_t n = std::min<size_t>(len, s->Total() - s->pos);
        char* out = static_cast<char*>(data);
        size_t i = 0;
        while (i < n) {
            const size_t at = s->pos + i;
            const size_t bodyStart = s->m.head.size(), bodyEnd = bodyStart + s->m.body.size() * s->m.count;
            if (at >= bodyStart && at < bodyEnd) {
                // whole stretches of the body at once
                const size_t off = (at - bodyStart) % s->m.body.size();
                const size_t k = std::min({n - i, s->m.body.size() - off, bodyEnd - at});
                memcpy(out + i, s->m.body.data() + off, k);
                i += k;
            } else {
                out[i] = s->At(at);
                ++i;
            }
        }
        s->pos += n;
        return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = s->Total();
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(*st);
    }
    case ZIP_SOURCE_FREE:
        delete s;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        return 0;
    }
}

struct Member
{
    std::string name;
    std::string text;
    RepeatMember repeat; // used when text is empty and repeat.count > 1
};

bool WriteZip(const QString& path, const std::vector<Member>& members)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        return false;
    for (const Member& m : members) {
        zip_source_t* src;
        if (m.text.empty() && m.repeat.count > 1) {
            src = zip_source_function(z, RepeatCallback, new RepeatState{m.repeat});
        } else {
            char* copy = static_cast<char*>(malloc(m.text.size() + 1));
            memcpy(copy, m.text.data(), m.text.size());
            src = zip_source_buffer(z, copy, m.text.size(), 1);
        }
        const zip_int64_t index = zip_file_add(z, m.name.c_str(), src, ZIP_FL_OVERWRITE);
        if (index < 0)
            return false;
        zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    }
    return zip_close(z) == 0;
}

const char* kNs = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                  R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

// A minimal workbook around the given parts; empty parts are left out.
std::vector<Member> Workbook(const std::string& sheetData, const std::string& shared = {},
                             const std::string& styles = {}, const std::string& workbookPr = {})
{
    std::vector<Member> m;
    m.push_back(
        {"_rels/.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)",
         {}});
    m.push_back({"xl/workbook.xml",
                 std::string("<workbook") + kNs + ">" + workbookPr +
                     R"(<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)",
                 {}});
    std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)";
    if (!shared.empty()) {
        rels +=
            R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)";
        m.push_back({"xl/sharedStrings.xml", std::string("<sst") + kNs + ">" + shared + "</sst>", {}});
    }
    if (!styles.empty()) {
        rels +=
            R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)";
        m.push_back({"xl/styles.xml", std::string("<styleSheet") + kNs + ">" + styles + "</styleSheet>", {}});
    }
    m.push_back({"xl/_rels/workbook.xml.rels", rels + "</Relationships>", {}});
    m.push_back({"xl/worksheets/sheet1.xml", std::string("<worksheet") + kNs + ">" + sheetData + "</worksheet>", {}});
    return m;
}

std::vector<QStringList> ReadAll(CQrExcelSheet& sheet)
{
    std::vector<QStringList> rows;
    QStringList cells;
    for (int r = 0; r < sheet.GetRowCount(); ++r) {
        sheet.GetRowData(cells, r, -1);
        rows.push_back(cells);
    }
    return rows;
}

QString Joined(const std::vector<QStringList>& rows)
{
    QStringList lines;
    for (const QStringList& r : rows)
        lines << r.join(u'|');
    return lines.join(u'\n');
}

} // namespace

TEST(ExcelSheet, IntToLetters)
{
    const std::vector<std::pair<int, const char*>> cases = {{0, "A"},    {25, "Z"},    {26, "AA"},     {27, "AB"},
                                                            {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}, {-1, ""}};
    for (auto& [n, letters] : cases)
        EXPECT_EQ(GlobalFunc::IntToLetters(n), QString::fromLatin1(letters)) << n;
}

TEST(ExcelSheet, NumbersAndDatesAsTexts)
{
    using excel::NumberKind;
    const std::vector<std::pair<const char*, const char*>> numbers = {{"10", "10"},
                                                                      {"10.0", "10"},
                                                                      {"0.30000000000000004", "0.3"},
                                                                      {"-0", "0"},
                                                                      {"1E+21", "1e+21"},
                                                                      {"1.5E-3", "0.0015"},
                                                                      {"123456789012", "123456789012"},
                                                                      {"2.5e-8", "2.5e-08"},
                                                                      {"1234567.8999999999", "1234567.9"},
                                                                      {"abc", "abc"},
                                                                      {"007", "7"}};
    for (auto& [in, out] : numbers)
        EXPECT_EQ(excel::FormatNumberText(in), out) << in;

    struct DateCase
    {
        double serial;
        NumberKind kind;
        bool d1904;
        const char* text;
    };
    const std::vector<DateCase> dates = {
        {45366, NumberKind::Date, false, "2024-03-15"},
        {45366.5732638889, NumberKind::DateTime, false, "2024-03-15 13:45:30"},
        {0.573263888888889, NumberKind::Time, false, "13:45:30"},
        {1, NumberKind::Date, false, "1900-01-01"},
        {60, NumberKind::Date, false, "1900-02-29"},
        {61, NumberKind::Date, false, "1900-03-01"},
        {0, NumberKind::Date, true, "1904-01-01"},
        {1.5, NumberKind::Elapsed, false, "36:00:00"},
        {45366.99999999, NumberKind::DateTime, false, "2024-03-16 00:00:00"},
    };
    for (const DateCase& c : dates) {
        std::string out;
        ASSERT_TRUE(excel::FormatSerialDate(c.serial, c.kind, c.d1904, out)) << c.serial;
        EXPECT_EQ(out, c.text) << c.serial;
    }
    std::string out;
    EXPECT_FALSE(excel::FormatSerialDate(-1, NumberKind::Date, false, out));
    EXPECT_FALSE(excel::FormatSerialDate(1e9, NumberKind::Date, false, out));

    const std::vector<std::pair<const char*, NumberKind>> formats = {
        {"yyyy\\-mm\\-dd", NumberKind::Date},
        {"yyyy\"년\" m\"월\" d\"일\"", NumberKind::Date},
        {"[$-412]yyyy-mm-dd hh:mm", NumberKind::DateTime},
        {"h:mm AM/PM", NumberKind::Time},
        {"mm:ss", NumberKind::Time},
        {"[h]:mm:ss", NumberKind::Elapsed},
        {"0.00E+00", NumberKind::Number},
        {"General", NumberKind::Number},
        {"#,##0\"일\"", NumberKind::Number},
        {"[Red]0.00;[Blue]-0.00", NumberKind::Number},
        {"0%", NumberKind::Number},
    };
    for (auto& [code, kind] : formats)
        EXPECT_EQ(int(excel::CustomFormatKind(code)), int(kind)) << code;
}

TEST(ExcelSheet, WriterRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    const QString longText(40000, u'가');
    const std::vector<std::pair<int, QStringList>> rows = {
        {0, {QStringLiteral("속성명"), QStringLiteral("컬럼명"), QStringLiteral("정의")}},
        {1, {QStringLiteral("=SUM(A1:A3)"), QStringLiteral("  spaced  "), QStringLiteral("line1\nline2")}},
        {2, {QString(), QStringLiteral("gap before"), QString(), QStringLiteral("D3")}},
        {3,
         {QStringLiteral("ctl\x01\x1f"
                         "end"),
          QStringLiteral("_x0041_ literal"), QStringLiteral("007")}},
        {6, {QStringLiteral("sparse row 7")}},
    };
    {
        CQrExcelSheet out(true);
        ASSERT_TRUE(out.OpenFile(path, true));
        for (auto& [r, cells] : rows)
            ASSERT_TRUE(out.SetRowDataRange(cells, r));
        ASSERT_TRUE(out.SetRowDataRange({longText}, 7));
        ASSERT_TRUE(out.Save(1)) << out.GetLastError().toStdString();
        EXPECT_TRUE(out.GetLastError().contains(QStringLiteral("A8"))); // the cut is reported
    }
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
    CQrExcelSheet in(true);
    ASSERT_TRUE(in.OpenFile(path, false)) << in.GetLastError().toStdString();
    ASSERT_EQ(in.GetRowCount(), 8);
    ASSERT_EQ(in.GetColumnCount(), 4);
    QStringList cells;
    for (auto& [r, expected] : rows) {
        in.GetRowData(cells, r, -1);
        ASSERT_EQ(cells.size(), 4);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(cells[c], c < expected.size() ? expected[c] : QString()) << r << "," << c;
    }
    in.GetRowData(cells, 4, -1);
    EXPECT_EQ(cells, QStringList({{}, {}, {}, {}}));
    in.GetRowData(cells, 7, -1);
    EXPECT_EQ(cells[0].size(), CQrExcelSheet::kMaxCellChars);
}

// Rows stream to the file: the latest row may still be replaced, an earlier one is refused,
// and nothing appears at the path before Save.
TEST(ExcelSheet, WriterStreamsRowsInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stream.xlsx"));
    {
        CQrExcelSheet out(true);
        ASSERT_TRUE(out.OpenFile(path, true));
        ASSERT_TRUE(out.SetRowDataRange({QStringLiteral("first")}, 0));
        ASSERT_TRUE(out.SetRowDataRange({QStringLiteral("draft")}, 2));
        ASSERT_TRUE(out.SetRowDataRange({QStringLiteral("_x0041_x0042_"), QStringLiteral("a_x12_b_x00e9")}, 2));
        EXPECT_FALSE(out.SetRowDataRange({QStringLiteral("too late")}, 1));
        EXPECT_EQ(out.GetRowCount(), 3);
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_TRUE(out.Save(1)) << out.GetLastError().toStdString();
    }
    {
        CQrExcelSheet dropped(true); // never saved: no file, no leftover part
        ASSERT_TRUE(dropped.OpenFile(dir.filePath(QStringLiteral("dropped.xlsx")), true));
        ASSERT_TRUE(dropped.SetRowDataRange({QStringLiteral("x")}, 0));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("stream.xlsx")}));
    CQrExcelSheet in(true);
    ASSERT_TRUE(in.OpenFile(path, false)) << in.GetLastError().toStdString();
    ASSERT_EQ(in.GetRowCount(), 3);
    QStringList cells;
    in.GetRowData(cells, 0, 2);
    EXPECT_EQ(cells, QStringList({QStringLiteral("first"), QString()}));
    in.GetRowData(cells, 1, 2);
    EXPECT_EQ(cells, QStringList({QString(), QString()}));
    in.GetRowData(cells, 2, 2);
    EXPECT_EQ(cells, QStringList({QStringLiteral("_x0041_x0042_"), QStringLiteral("a_x12_b_x00e9")}));
}

TEST(ExcelSheet, WriterRefusesUnwritablePathAndKeepsOldFile)
{
    QTemporaryDir dir;
    CQrExcelSheet out(true);
    EXPECT_FALSE(out.OpenFile(dir.filePath(QStringLiteral("missing/out.xlsx")), true));
    EXPECT_FALSE(out.GetLastError().isEmpty());
}

// Small workbooks saved by LibreOffice from tests/data/excel/fixture.fods.
TEST(ExcelSheet, ReadsLibreOfficeWorkbooks)
{
    const QString expectedXlsx = QStringLiteral("속성명|컬럼명|데이터타입|값|비고|\n"
                                                "고객번호|CUST_NO|NUMBER(10,2)|10|0.3|\n"
                                                "가입일자|JOIN_DT|DATE|2024-03-15|2024-03-15 13:45:30|\n"
                                                "처리시각|13:45:30|1|-42.5|0.25|\n"
                                                "1234567.891|고객번호_X|=SUM(A1)|123456789012||\n"
                                                "|||||\n"
                                                "|||||\n"
                                                "|||||끝 F8");
    CQrExcelSheet xlsx(true);
    ASSERT_TRUE(xlsx.OpenFile(TestDataPath(QStringLiteral("excel/fixture.xlsx")), false))
        << xlsx.GetLastError().toStdString();
    EXPECT_EQ(Joined(ReadAll(xlsx)), expectedXlsx);

    // FreeXL does not evaluate or keep formula results, so formula cells read empty.
    QString expectedXls = expectedXlsx;
    expectedXls.replace(QStringLiteral("|10|0.3|"), QStringLiteral("|10||"))
        .replace(QStringLiteral("|고객번호_X|"), QStringLiteral("||"));
    CQrExcelSheet xls(true);
    ASSERT_TRUE(xls.OpenFile(TestDataPath(QStringLiteral("excel/fixture.xls")), false))
        << xls.GetLastError().toStdString();
    EXPECT_EQ(Joined(ReadAll(xls)), expectedXls);
}

// Written by the npm package exceljs: dates with custom formats, rich text, formula results.
TEST(ExcelSheet, ReadsExcelJsWorkbook)
{
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(TestDataPath(QStringLiteral("excel/exceljs.xlsx")), false))
        << sheet.GetLastError().toStdString();
    EXPECT_EQ(Joined(ReadAll(sheet)), QStringLiteral("속성명|날짜|수|참|수식\n"
                                                     "주문일자|2023-12-31|0.3|TRUE|0.6\n"
                                                     "등록일시|2024-02-29 08:05:09|1e+21|FALSE|등록일시!\n"
                                                     "||||\n"
                                                     "굵게 보통||||"));
}

TEST(ExcelSheet, ReadsCraftedParts)
{
    const std::string dateStyles =
        R"(<numFmts><numFmt numFmtId="170" formatCode="yyyy&quot;년&quot; m&quot;월&quot;"/></numFmts>)"
        R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="22"/><xf numFmtId="20"/><xf numFmtId="170"/><xf numFmtId="9"/></cellXfs>)";
    struct Case
    {
        const char* name;
        std::string sheet, shared, styles, workbookPr;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"shared strings, rich runs, phonetic guide and escapes",
         R"(<sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row></sheetData>)",
         R"(<si><t>고객</t></si><si><r><t>굵은</t></r><r><rPr/><t xml:space="preserve"> 글자</t></r><rPh><t>ふりがな</t></rPh></si><si><t>a_x000D_b_x005F_x0041_</t></si>)",
         {},
         {},
         "고객|굵은 글자|a\rb_x0041_"},
        {"inline strings and a namespace prefix",
         R"(<x:sheetData xmlns:x="urn:x"><x:row r="2"><x:c r="B2" t="inlineStr"><x:is><x:t>인라인</x:t></x:is></x:c></x:row></x:sheetData>)",
         {},
         {},
         {},
         "|\n|인라인"},
        {"cells and rows without references follow their predecessors",
         R"(<sheetData><row><c><v>1</v></c><c><v>2</v></c></row><row><c r="C2"><v>3</v></c><c><v>4</v></c></row></sheetData>)",
         {},
         {},
         {},
         "1|2||\n||3|4"},
        {"formula results, booleans, errors and ISO dates",
         R"(<sheetData><row r="1"><c r="A1"><f>0.1+0.2</f><v>0.30000000000000004</v></c><c r="B1" t="str"><f>A1&amp;""</f><v>0.3</v></c>)"
         R"(<c r="C1" t="b"><v>1</v></c><c r="D1" t="e"><v>#N/A</v></c><c r="E1" t="d"><v>2024-03-15T00:00:00Z</v></c><c r="F1"><f>1/0</f></c></row></sheetData>)",
         {},
         {},
         {},
         "0.3|0.3|TRUE|#N/A|2024-03-15"},
        {"date, date-time, time, custom date and percent styles",
         R"(<sheetData><row r="1"><c r="A1" s="1"><v>45366</v></c><c r="B1" s="2"><v>45366.5</v></c><c r="C1" s="3"><v>0.25</v></c>)"
         R"(<c r="D1" s="4"><v>45366</v></c><c r="E1" s="5"><v>0.25</v></c><c r="F1" s="99"><v>7</v></c><c r="G1" s="1"><v>-5</v></c></row></sheetData>)",
         {},
         dateStyles,
         {},
         "2024-03-15|2024-03-15 12:00:00|06:00:00|2024-03-15|0.25|7|-5"},
        {"the 1904 date system",
         R"(<sheetData><row r="1"><c r="A1" s="1"><v>0</v></c></row></sheetData>)",
         {},
         dateStyles,
         R"(<workbookPr date1904="1"/>)",
         "1904-01-01"},
        {"rows out of order and a repeated cell",
         R"(<sheetData><row r="3"><c r="A3"><v>3</v></c></row><row r="1"><c r="A1"><v>1</v></c><c r="A1"><v>9</v></c></row></sheetData>)",
         {},
         {},
         {},
         "9\n\n3"},
        {"an empty sheet", R"(<sheetData/>)", {}, {}, {}, ""},
        {"the last row of the sheet",
         R"(<sheetData><row r="1048576"><c r="XFD1048576"><v>1</v></c></row></sheetData>)",
         {},
         {},
         {},
         nullptr},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("case.xlsx"));
        ASSERT_TRUE(WriteZip(path, Workbook(c.sheet, c.shared, c.styles, c.workbookPr))) << c.name;
        CQrExcelSheet sheet(true);
        ASSERT_TRUE(sheet.OpenFile(path, false)) << c.name << ": " << sheet.GetLastError().toStdString();
        if (c.expected) {
            EXPECT_EQ(Joined(ReadAll(sheet)).toStdString(), c.expected) << c.name;
        } else {
            EXPECT_EQ(sheet.GetRowCount(), 1048576);
            EXPECT_EQ(sheet.GetColumnCount(), 16384);
            QStringList cells;
            sheet.GetRowData(cells, 1048575, -1);
            EXPECT_EQ(cells.back(), QStringLiteral("1"));
        }
    }
}

TEST(ExcelSheet, RefusesBadWorkbooks)
{
    struct Case
    {
        const char* name;
        std::vector<Member> members;
        const char* errorPart;
    };
    auto withSheet = [](const std::string& sheet, const std::string& shared = {}) { return Workbook(sheet, shared); };
    std::vector<Member> noWorkbook = withSheet("<sheetData/>");
    noWorkbook.erase(noWorkbook.begin() + 1);
    std::vector<Member> bomb = withSheet("<sheetData/>");
    bomb[1].text.clear();
    bomb[1].repeat = {"<workbook>", "                                ", "</workbook>", 40u * 1024 * 1024 / 32};
    std::vector<Member> bigRow = withSheet("");
    bigRow.back().text.clear();
    bigRow.back().repeat = {"<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>", "xxxxxxxx",
                            "</t></is></c></row></sheetData></worksheet>", 80u * 1024 * 1024 / 8};
    const std::string laughs = R"(<!DOCTYPE lolz [<!ENTITY lol "lol"><!ENTITY lol2 "&lol;&lol;&lol;&lol;">]>)";
    std::vector<Member> doctypeShared =
        withSheet(R"(<sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row></sheetData>)", "<si><t>&lol2;</t></si>");
    doctypeShared[2].text = laughs + doctypeShared[2].text;
    std::vector<Member> doctypeSheet = withSheet("<sheetData/>");
    doctypeSheet.back().text = laughs + doctypeSheet.back().text;

    const std::vector<Case> cases = {
        {"no workbook part", noWorkbook, "부분이 없습니다"},
        {"a part that inflates too far", bomb, "zip 폭탄"},
        {"a row too large to be real", bigRow, "MB보다 큽니다"},
        {"entity declarations in the shared strings", doctypeShared, "문서 형식 선언"},
        {"a document type in the sheet", doctypeSheet, "문서 형식 선언"},
        {"a row past the sheet", withSheet(R"(<sheetData><row r="1048577"><c><v>1</v></c></row></sheetData>)"),
         "시트 범위를 벗어납니다"},
        {"a column past the sheet", withSheet(R"(<sheetData><row r="1"><c r="XFE1"><v>1</v></c></row></sheetData>)"),
         "시트 범위를 벗어납니다"},
        {"a bad cell reference", withSheet(R"(<sheetData><row r="1"><c r="1A"><v>1</v></c></row></sheetData>)"),
         "올바르지 않습니다"},
        {"a shared string that does not exist",
         withSheet(R"(<sheetData><row r="1"><c r="A1" t="s"><v>5</v></c></row></sheetData>)", "<si><t>a</t></si>"),
         "공유 문자열"},
        {"a sheet cut short", withSheet(R"(<sheetData><row r="1"><c r="A1"><v>1</v></c></row>)"), "파일이 잘렸습니다"},
        {"broken XML", withSheet(R"(<sheetData><row r="1"><c r="A1"><v>1</c></row></sheetData>)"),
         "올바른 XML이 아닙니다"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("bad.xlsx"));
        ASSERT_TRUE(WriteZip(path, c.members)) << c.name;
        CQrExcelSheet sheet(true);
        EXPECT_FALSE(sheet.OpenFile(path, false)) << c.name;
        EXPECT_TRUE(sheet.GetLastError().contains(QString::fromUtf8(c.errorPart)))
            << c.name << ": " << sheet.GetLastError().toStdString();
        EXPECT_EQ(sheet.GetRowCount(), 0) << c.name;
    }
}

TEST(ExcelSheet, RefusesDamagedFiles)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.xlsx"));
    {
        CQrExcelSheet out(true);
        ASSERT_TRUE(out.OpenFile(good, true));
        for (int r = 0; r < 200; ++r)
            out.SetRowDataRange({QStringLiteral("고객%1").arg(r), QString::number(r)}, r);
        ASSERT_TRUE(out.Save(1));
    }
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QFile xls(TestDataPath(QStringLiteral("excel/fixture.xls")));
    ASSERT_TRUE(xls.open(QIODevice::ReadOnly));
    const QByteArray xlsBytes = xls.readAll();

    QByteArray flipped = bytes;
    for (qsizetype i = 100; i < flipped.size() - 200; i += 97)
        flipped[i] = char(flipped[i] ^ 0x5A);
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"truncated xlsx", bytes.left(bytes.size() / 2)},
        {"xlsx with flipped bytes", flipped},
        {"only the zip signature", QByteArray("PK\x03\x04", 4)},
        {"truncated xls", xlsBytes.left(xlsBytes.size() / 2)},
        {"xls header with junk", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, 'z')},
        {"plain text", QByteArray("속성명,컬럼명\n")},
        {"empty file", QByteArray()},
    };
    for (auto& [name, data] : cases) {
        const QString path = dir.filePath(QStringLiteral("damaged.xlsx"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(data);
        out.close();
        CQrExcelSheet sheet(true);
        EXPECT_FALSE(sheet.OpenFile(path, false)) << name;
        EXPECT_FALSE(sheet.GetLastError().isEmpty()) << name;
    }
    // A file on which FreeXL writes outside a buffer (found by fuzzing): the fault stays in
    // the reader's child process.
    CQrExcelSheet crashing(true);
    EXPECT_FALSE(crashing.OpenFile(TestDataPath(QStringLiteral("excel/damaged-iconv.xls")), false));
    EXPECT_FALSE(crashing.GetLastError().isEmpty());
    CQrExcelSheet missing(true);
    EXPECT_FALSE(missing.OpenFile(dir.filePath(QStringLiteral("none.xlsx")), false));
}

TEST(ExcelSheet, ReadsAMillionRowSheet)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tall.xlsx"));
    std::vector<Member> m = Workbook("");
    // Every row the same cell: rows without numbers follow their predecessor.
    m.back().text.clear();
    m.back().repeat = {"<worksheet><sheetData>", "<row><c t=\"inlineStr\"><is><t>속성</t></is></c></row>",
                       "</sheetData></worksheet>", 1048576};
    ASSERT_TRUE(WriteZip(path, m));
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(path, false)) << sheet.GetLastError().toStdString();
    EXPECT_EQ(sheet.GetRowCount(), 1048576);
    QStringList cells;
    sheet.GetRowData(cells, 1048575, -1);
    EXPECT_EQ(cells, QStringList{QStringLiteral("속성")});
}

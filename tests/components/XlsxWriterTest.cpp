#include "components/QrExcelSheet.h"
#include "components/excel/XlsxStreamWriter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// The whole text of one member, or "" when the zip or the member cannot be read (libzip checks
// the CRC at the member's end).
std::string Member(const QString& path, const char* name)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!z)
        return {};
    std::string text;
    if (zip_file_t* f = zip_fopen(z, name, 0)) {
        char buf[65536];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0)
            text.append(buf, size_t(n));
        if (n < 0)
            text.clear();
        zip_fclose(f);
    }
    zip_close(z);
    return text;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteGood(const QString& path)
{
    CQrExcelSheet out(true);
    ASSERT_TRUE(out.OpenFile(path, true));
    ASSERT_TRUE(out.SetRowDataRange({QStringLiteral("good")}, 0));
    ASSERT_TRUE(out.Save(1)) << out.GetLastError().toStdString();
}

} // namespace

// Awkward texts, gaps, a wide row and enough rows for many compressed pieces come back as written.
TEST(XlsxWriter, RoundTripsAwkwardTextsAcrossPieces)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("awkward.xlsx"));
    const QString lone = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    const QString pair = QString::fromUtf16(u"\U0001F600 end");
    struct Case
    {
        QString written, read;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("고객 번호"), QStringLiteral("고객 번호")},
        {QStringLiteral("a & b < c > d \"q\" 'x'"), QStringLiteral("a & b < c > d \"q\" 'x'")},
        {QStringLiteral("  both ends  "), QStringLiteral("  both ends  ")},
        {QStringLiteral("\tlead tab"), QStringLiteral("\tlead tab")},
        {QStringLiteral("cr\rlf\ncrlf\r\n"), QStringLiteral("cr\rlf\ncrlf\r\n")},
        {QStringLiteral("ctl\x01 del\x7f"), QStringLiteral("ctl\x01 del\x7f")},
        {QStringLiteral("_x0041_"), QStringLiteral("_x0041_")},
        {lone, QStringLiteral("a\uFFFDb")},
        {pair, pair},
        {QString(QChar(0xFFFE)), QString(QChar(0xFFFE))},
        {QString(40000, u'나'), QString(CQrExcelSheet::kMaxCellChars, u'나')},
    };
    QStringList awkward, expected;
    for (const Case& c : cases) {
        awkward << c.written;
        expected << c.read;
    }
    QStringList wide;
    for (int c = 0; c < 100; ++c)
        wide << (c % 7 == 3 ? QString() : QStringLiteral("w%1").arg(c));
    const int fillerRows = 30000; // several MB of sheet text: many pieces
    {
        CQrExcelSheet out(true);
        ASSERT_TRUE(out.OpenFile(path, true));
        ASSERT_TRUE(out.SetRowDataRange(awkward, 0));
        ASSERT_TRUE(out.SetRowDataRange({QString(), QString()}, 1)); // a row of empty texts
        ASSERT_TRUE(out.SetRowDataRange(wide, 3));                   // row 2 skipped
        for (int r = 0; r < fillerRows; ++r)
            ASSERT_TRUE(out.SetRowDataRange({QStringLiteral("이름%1").arg(r), QString(), QString::number(r)}, 5 + r));
        ASSERT_TRUE(out.Save(1)) << out.GetLastError().toStdString();
        EXPECT_TRUE(out.GetLastError().contains(QStringLiteral("K1"))); // the cut is reported
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("awkward.xlsx")}));
    const std::string sheetXml = Member(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheetXml.find("<dimension ref=\"A1:CV" + std::to_string(5 + fillerRows) + "\""), std::string::npos);
    EXPECT_GT(sheetXml.size(), 2'000'000u);
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                             "xl/styles.xml", "docProps/app.xml", "docProps/core.xml"})
        EXPECT_FALSE(Member(path, part).empty()) << part;

    CQrExcelSheet in(true);
    ASSERT_TRUE(in.OpenFile(path, false)) << in.GetLastError().toStdString();
    ASSERT_EQ(in.GetRowCount(), 5 + fillerRows);
    ASSERT_EQ(in.GetColumnCount(), 100);
    QStringList cells;
    in.GetRowData(cells, 0, int(expected.size()));
    for (int c = 0; c < expected.size(); ++c)
        EXPECT_EQ(cells[c], expected[c]) << "column " << c;
    for (int r : {1, 2, 4}) {
        in.GetRowData(cells, r, -1);
        EXPECT_EQ(cells.join(QString()), QString()) << "row " << r;
    }
    in.GetRowData(cells, 3, -1);
    EXPECT_EQ(cells, wide);
    for (int r : {0, 12345, fillerRows - 1}) {
        in.GetRowData(cells, 5 + r, 3);
        EXPECT_EQ(cells, QStringList({QStringLiteral("이름%1").arg(r), QString(), QString::number(r)}));
    }
}

// A write that cannot be made or completed reports why, leaves no partial file and never
// replaces a good file.
TEST(XlsxWriter, FailedWritesLeaveNoFileAndKeepTheOldOne)
{
    QTemporaryDir dir;
    excel::XlsxStreamWriter writer;
    EXPECT_FALSE(writer.Open(dir.filePath(QStringLiteral("missing/out.xlsx"))));
    EXPECT_FALSE(writer.Error().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // The part file cannot be made (a folder holds its name).
    const QString good = dir.filePath(QStringLiteral("good.xlsx"));
    WriteGood(good);
    const QByteArray before = ReadFile(good);
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("good.xlsx.part/keep")));
    EXPECT_FALSE(writer.Open(good));
    EXPECT_TRUE(writer.Error().contains(good)) << writer.Error().toStdString();
    EXPECT_TRUE(ReadFile(good) == before);
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("good.xlsx.part"))).removeRecursively());
    {
        // A caller going on after a refused row must not get a file without it.
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("good.xlsx.part/keep")));
        CQrExcelSheet sheet(true);
        ASSERT_TRUE(sheet.OpenFile(good, true));
        EXPECT_FALSE(sheet.SetRowDataRange({QStringLiteral("a")}, 0));
        ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("good.xlsx.part"))).removeRecursively());
        EXPECT_FALSE(sheet.SetRowDataRange({QStringLiteral("b")}, 1));
        EXPECT_FALSE(sheet.Save(1));
        EXPECT_TRUE(ReadFile(good) == before);
    }

    // The disk fills up while rows stream: the file size limit stands in for a full disk.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = true;
    QString error;
    {
        CQrExcelSheet out(true);
        ASSERT_TRUE(out.OpenFile(good, true));
        // Rows of varied digits, so they compress to well past the limit.
        for (int r = 0; r < 400000 && written; ++r)
            written = out.SetRowDataRange({QString::number(r * 7919LL % 1000003), QString::number(r * 31337LL)}, r);
        if (written)
            written = out.Save(1);
        error = out.GetLastError();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(good)) << error.toStdString();
    EXPECT_TRUE(ReadFile(good) == before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("good.xlsx")}));

    // The finished file cannot take the target's place (a folder is there).
    const QString taken = dir.filePath(QStringLiteral("taken.xlsx"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken.xlsx/keep")));
    ASSERT_TRUE(writer.Open(taken));
    ASSERT_TRUE(writer.WriteRow(0, {QStringLiteral("x")}));
    EXPECT_FALSE(writer.Finish());
    EXPECT_FALSE(writer.Error().isEmpty());
    EXPECT_FALSE(QFile::exists(taken + QStringLiteral(".part")));
}

// The used range is filled in at the end into room kept for it: the widest range still fits.
TEST(XlsxWriter, WidestUsedRangeFits)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("far.xlsx"));
    QStringList cells(16384);
    cells.back() = QStringLiteral("끝");
    excel::XlsxStreamWriter writer;
    ASSERT_TRUE(writer.Open(path));
    ASSERT_TRUE(writer.WriteRow(1048574, cells));
    ASSERT_TRUE(writer.WriteRow(1048575, cells));
    ASSERT_TRUE(writer.Finish()) << writer.Error().toStdString();
    const std::string sheetXml = Member(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheetXml.find("<dimension ref=\"XFD1048575:XFD1048576\""), std::string::npos) << sheetXml.substr(0, 400);
    EXPECT_NE(sheetXml.find("<c r=\"XFD1048576\" t=\"inlineStr\"><is><t>끝</t>"), std::string::npos);
}

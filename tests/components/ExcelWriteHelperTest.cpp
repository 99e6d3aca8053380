#include "components/ExcelWriteHelper.h"
#include "components/QrExcelSheet.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

namespace {
// The sheet's text, where its cell texts are.
QString SheetText(const QString& path)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray data;
    if (zip_file_t* f = zip_fopen(z, "xl/worksheets/sheet1.xml", 0)) {
        char buf[8192];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0)
            data.append(buf, qsizetype(n));
        zip_fclose(f);
    }
    zip_close(z);
    return QString::fromUtf8(data);
}
} // namespace

TEST(ExcelWriteHelper, WritesReplacesAndRefusesWithoutHarm)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    QString error;
    ASSERT_TRUE(SaveSheetXlsx(path, {{QStringLiteral("논리명"), QStringLiteral("물리명")}}, &error))
        << error.toStdString();
    EXPECT_TRUE(SheetText(path).contains(QStringLiteral("논리명")));

    // a second export replaces the first, leaving no temporary file behind
    const QString longText(40000, u'가');
    ASSERT_TRUE(SaveSheetXlsx(path, {{QStringLiteral("다시")}, {longText}}, &error)) << error.toStdString();
    const QString strings = SheetText(path);
    EXPECT_TRUE(strings.contains(QStringLiteral("다시")));
    EXPECT_FALSE(strings.contains(QStringLiteral("논리명")));
    EXPECT_TRUE(strings.contains(QString(32767, u'가')));
    EXPECT_FALSE(strings.contains(QString(32768, u'가')));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // refused before anything is written: the earlier workbook stays as it was
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    std::vector<QStringList> tooMany(1048577, QStringList{QStringLiteral("x")});
    EXPECT_FALSE(SaveSheetXlsx(path, tooMany, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    // a text that looks like an escape reads back as typed
    ASSERT_TRUE(SaveSheetXlsx(path, {{QStringLiteral("_x0041_")}}, &error)) << error.toStdString();
    CQrExcelSheet in(true);
    QStringList cells;
    ASSERT_TRUE(in.OpenFile(path, false) && in.GetRowData(cells, 0, 1));
    EXPECT_EQ(cells, QStringList{QStringLiteral("_x0041_")});

    EXPECT_FALSE(SaveSheetXlsx(dir.filePath(QStringLiteral("missing/out.xlsx")), {{QStringLiteral("x")}}, &error));
    EXPECT_FALSE(SaveSheetXlsx(QString(), {}, &error));
}

// A report sheet that outgrows a worksheet goes on under "NAME (2)", header repeated; the
// limit is lowered so the test writes a handful of rows instead of a million.
TEST(ExcelWriteHelper, ReportSheetContinuesPastTheRowLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.xlsx"));
    const QString name = QStringLiteral("미등록 단어");
    const QStringList header{QStringLiteral("속성명"), QStringLiteral("건수")};
    {
        ReportWorkbook book(4); // header + 3 rows per worksheet
        ASSERT_TRUE(book.Open(path)) << book.Error().toStdString();
        ReportWorkbook::Sheet* words = book.AddSheet(name, header);
        ReportWorkbook::Sheet* other = book.AddSheet(QStringLiteral("도메인 없음"), header);
        ASSERT_TRUE(words && other);
        for (int i = 0; i < 7; ++i) {
            ASSERT_TRUE(words->AddRow({QStringLiteral("단어%1").arg(i), double(i)}));
            if (i < 2) { // rows of two sheets interleaved, as a report writes them
                ASSERT_TRUE(other->AddRow({QStringLiteral("기타%1").arg(i), QString()}));
            }
        }
        EXPECT_EQ(words->Rows(), 7u);
        EXPECT_EQ(words->Parts(), 3);
        EXPECT_EQ(other->Parts(), 1);
        ASSERT_TRUE(book.Finish()) << book.Error().toStdString();
    }
    const struct
    {
        QString sheet;
        QStringList firstTexts;
    } parts[] = {
        {name, {QStringLiteral("단어0"), QStringLiteral("단어1"), QStringLiteral("단어2")}},
        {name + QStringLiteral(" (2)"), {QStringLiteral("단어3"), QStringLiteral("단어4"), QStringLiteral("단어5")}},
        {name + QStringLiteral(" (3)"), {QStringLiteral("단어6")}},
        {QStringLiteral("도메인 없음"), {QStringLiteral("기타0"), QStringLiteral("기타1")}}};
    for (const auto& part : parts) {
        CQrExcelSheet in(true);
        ASSERT_TRUE(in.OpenSheet(path, part.sheet)) << part.sheet.toStdString();
        ASSERT_EQ(in.GetRowCount(), part.firstTexts.size() + 1) << part.sheet.toStdString();
        QStringList cells;
        ASSERT_TRUE(in.GetRowData(cells, 0, 2));
        EXPECT_EQ(cells, header);
        for (int r = 0; r < part.firstTexts.size(); ++r) {
            ASSERT_TRUE(in.GetRowData(cells, r + 1, 1));
            EXPECT_EQ(cells.value(0), part.firstTexts[r]);
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary file left

    // a workbook abandoned half-way leaves nothing behind and the earlier file as it was
    {
        ReportWorkbook book(4);
        ASSERT_TRUE(book.Open(path));
        ASSERT_TRUE(book.AddSheet(name, header)->AddRow({QStringLiteral("x")}));
    }
    CQrExcelSheet again(true);
    EXPECT_TRUE(again.OpenSheet(path, name + QStringLiteral(" (3)")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    ReportWorkbook missing;
    EXPECT_FALSE(missing.Open(dir.filePath(QStringLiteral("missing/report.xlsx"))));
    EXPECT_FALSE(missing.Error().isEmpty());
}

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

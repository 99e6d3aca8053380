#pragma once
// The common-standard fixtures of tests/data/standard and a workbook built from them.
#include "components/QrExcelSheet.h"
#include "standard/PublicStandardReader.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QStringList>
#include <map>
#include <vector>
#include <xlsxwriter.h>

// A sheet of a written workbook, trailing empty cells of each row left out.
inline std::vector<QStringList> SheetRows(const QString& path, const QString& sheetName)
{
    CQrExcelSheet sheet;
    std::vector<QStringList> rows;
    if (!sheet.OpenSheet(path, sheetName))
        return rows;
    for (int r = 0; r < sheet.GetRowCount(); ++r) {
        QStringList cells;
        sheet.GetRowData(cells, r);
        while (!cells.isEmpty() && cells.back().isEmpty())
            cells.removeLast();
        rows.push_back(cells);
    }
    return rows;
}

inline QStringList StandardCsvFixtures()
{
    return {TestDataPath(QStringLiteral("standard/words.csv")),
            TestDataPath(QStringLiteral("standard/domains-cp949.csv")),
            TestDataPath(QStringLiteral("standard/terms.csv"))};
}

// The three CSV fixtures as the sheets of one published workbook.
inline bool WriteStandardWorkbook(const QString& path)
{
    lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
    const std::pair<const char*, const char*> sheets[] = {{"공통표준용어", "standard/terms.csv"},
                                                          {"공통표준단어", "standard/words.csv"},
                                                          {"공통표준도메인", "standard/domains-cp949.csv"}};
    for (const auto& [name, file] : sheets) {
        QFile f(TestDataPath(QString::fromUtf8(file)));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        lxw_worksheet* ws = workbook_add_worksheet(wb, name);
        const auto rows = PublicStandardReader::ParseCsv(PublicStandardReader::DecodeText(f.readAll()));
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].isEmpty())
                    worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), rows[r][c].toUtf8().constData(), nullptr);
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

// The published editions as the program ships them: each workbook read once per test binary.
struct PublishedEdition
{
    QString path;
    PublicStandard standard;
    QString error;
};
inline const PublishedEdition& Published(const QString& fileName)
{
    static std::map<QString, PublishedEdition> cache;
    auto it = cache.find(fileName);
    if (it == cache.end()) {
        PublishedEdition e;
        e.path = QStringLiteral(TERMWISE_SOURCE_DIR "/resources/standard/") + fileName;
        if (!PublicStandardReader::Read({e.path}, e.standard, e.error) && e.error.isEmpty())
            e.error = QStringLiteral("not read");
        it = cache.emplace(fileName, std::move(e)).first;
    }
    return it->second;
}

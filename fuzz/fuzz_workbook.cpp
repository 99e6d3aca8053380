// Workbook reader. Inputs starting with "PK" are read as .xlsx from memory, inputs with the
// compound-file signature as .xls from a temporary file (with FUZZ_XLS set); anything else is split at NUL bytes
// into the sheet, shared strings, styles and workbook parts, so the XML is reached without
// a zip checksum in the way.
#include "components/QrExcelSheet.h"
#include "components/excel/XlsxReader.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Touch(const CQrExcelSheet& sheet)
{
    QStringList cells;
    const int rows = sheet.GetRowCount();
    for (int r = 0; r < rows && r < 10000; ++r)
        sheet.GetRowData(cells, r, -1);
}

void ReadParts(const uint8_t* data, size_t size)
{
    std::string pieces[4];
    int k = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && k < 3)
            ++k;
        else
            pieces[k].push_back(char(data[i]));
    }
    std::map<std::string, std::string> parts;
    std::string rels = R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>)";
    parts["xl/worksheets/sheet1.xml"] = pieces[0];
    if (k >= 1) {
        parts["xl/sharedStrings.xml"] = pieces[1];
        rels += R"(<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/>)";
    }
    if (k >= 2) {
        parts["xl/styles.xml"] = pieces[2];
        rels += R"(<Relationship Id="rId3" Type="x/styles" Target="/xl/styles.xml"/>)";
    }
    parts["xl/workbook.xml"] = k >= 3 ? pieces[3] : R"(<workbook><sheets><sheet r:id="rId1"/></sheets></workbook>)";
    parts["xl/_rels/workbook.xml.rels"] = rels + "</Relationships>";
    excel::SheetData sheet;
    std::string error;
    if (excel::ReadXlsxParts(parts, sheet, error)) {
        QStringList cells;
        for (int r = 0; r < sheet.RowCount() && r < 10000; ++r)
            sheet.GetRow(r, cells, -1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') {
        CQrExcelSheet sheet(true);
        if (sheet.OpenMemory(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))))
            Touch(sheet);
    } else if (size >= 4 && data[0] == 0xD0 && data[1] == 0xCF && data[2] == 0x11 && data[3] == 0xE0) {
        // FreeXL runs in a child process whose sanitizer reports would be taken for ours;
        // fuzz it only on request.
        static const bool xls = std::getenv("FUZZ_XLS") != nullptr;
        if (!xls)
            return 0;
        static const std::string path = "/tmp/fuzz_workbook_" + std::to_string(getpid()) + ".xls";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return 0;
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        CQrExcelSheet sheet(true);
        if (sheet.OpenFile(QString::fromStdString(path), false))
            Touch(sheet);
    } else {
        ReadParts(data, size);
    }
    return 0;
}

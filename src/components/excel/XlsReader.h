#pragma once
// Reads the first worksheet of a legacy BIFF workbook (.xls) through FreeXL.
#include "components/excel/SheetData.h"

#include <string>

namespace excel {
bool ReadXlsFile(const std::string& path, SheetData& sheet, std::string& error);
// The worksheet named sheetName (UTF-8); sheetMissing tells a workbook without it.
bool ReadXlsSheet(const std::string& path, const std::string& sheetName, SheetData& sheet, std::string& error,
                  bool& sheetMissing);
} // namespace excel

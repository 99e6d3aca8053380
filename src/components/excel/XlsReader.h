#pragma once
// Reads the first worksheet of a legacy BIFF workbook (.xls) through FreeXL.
#include "components/excel/SheetData.h"

#include <string>

namespace excel {
bool ReadXlsFile(const std::string& path, SheetData& sheet, std::string& error);
}

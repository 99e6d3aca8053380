#pragma once
// Reads the first worksheet of an Office Open XML workbook (.xlsx), or the one of a given name,
// into SheetData.
#include "components/excel/SheetData.h"

#include <map>
#include <string>

namespace excel {

// A member larger than this after inflation is taken for a zip bomb.
constexpr size_t kMaxMemberBytes = 512ull * 1024 * 1024;
// Workbook, relationships and styles are small in any real file.
constexpr size_t kMaxSmallMemberBytes = 32ull * 1024 * 1024;

// false with a reason in error when the file is not a readable workbook.
bool ReadXlsxFile(const std::string& path, SheetData& sheet, std::string& error);
// The worksheet named sheetName (UTF-8); sheetMissing tells a workbook without it from one
// that could not be read.
bool ReadXlsxSheet(const std::string& path, const std::string& sheetName, SheetData& sheet, std::string& error,
                   bool& sheetMissing);
bool ReadXlsxMemory(const void* data, size_t size, SheetData& sheet, std::string& error);
// Parts by name ("xl/workbook.xml", ...), without the zip around them.
bool ReadXlsxParts(const std::map<std::string, std::string>& parts, SheetData& sheet, std::string& error);

} // namespace excel

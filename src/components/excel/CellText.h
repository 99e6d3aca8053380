#pragma once
// How workbook cell values become texts: numbers as a person reads them in a spreadsheet,
// dates and times as ISO-like texts.
#include <string>
#include <string_view>

namespace excel {

// Kind of value a number format shows.
enum class NumberKind : unsigned char { Number, Date, Time, DateTime, Elapsed };

// Shortest text that reads back to the value after rounding to the 15 significant digits a
// spreadsheet keeps, so 0.1+0.2 gives "0.3" and 10.0 gives "10".
std::string FormatNumber(double value);
// The same for a number held as text in a workbook; texts that are not numbers come back unchanged.
std::string FormatNumberText(std::string_view text);

// A day serial as "yyyy-mm-dd", "hh:mm:ss" or "yyyy-mm-dd hh:mm:ss"; false when the serial
// is outside the calendar a spreadsheet can show (then callers show the number).
bool FormatSerialDate(double serial, NumberKind kind, bool date1904, std::string& out);
// An ISO 8601 date text (cells of type "d") in the same shape.
std::string FormatIsoDate(std::string_view text);

NumberKind BuiltinFormatKind(int numFmtId);
NumberKind CustomFormatKind(std::string_view formatCode);

} // namespace excel

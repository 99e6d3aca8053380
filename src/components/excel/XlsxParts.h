#pragma once
// The fixed parts of a one-sheet workbook whose cells are all texts.
#include <QDateTime>
#include <algorithm>
#include <string>

namespace excel::parts {

// The sheet's opening, up to its rows, with ref as the used range ("A1:D8"). Its length does
// not depend on ref, so it can be rewritten in place once the range is known.
std::string SheetHead(const std::string& ref);
inline constexpr char kSheetTail[] = "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
                                     "header=\"0.3\" footer=\"0.3\"/></worksheet>";

std::string ContentTypes();
std::string PackageRels();
std::string Workbook(); // one sheet, "Sheet1"
std::string WorkbookRels();
std::string Styles();
std::string AppProps();
std::string CoreProps(const QDateTime& created);

} // namespace excel::parts

#pragma once
// The edition of the public common standard that ships with the program, unchanged as
// published, and where it is found: beside the program ("standard", the build tree), then in
// the installed share folder (/usr/share/termwise/standard). Newer editions come as files
// through the same import; nothing here knows more about the content than its name.
#include "standard/PublicStandardReader.h"

#include <QString>

namespace BuiltinStandard {

// The published file name: it names the edition and the date, and it is what the portal hands
// out, so a user can tell which file they have.
inline const QString kFileName = QStringLiteral("공공데이터_공통표준7차_제·개정(2024.11월).xlsx");
inline const QString kEdition = QStringLiteral("공공데이터 공통표준 7차 (2024년 11월, 행정안전부)");
// The area `repo init --standard` loads it into.
inline const QString kAreaId = QStringLiteral("PUB");
inline const QString kAreaName = QStringLiteral("공통표준 7차");

// The bundled workbook, or empty when it is missing from the installation.
QString Path();
// Where Path() looks first; empty restores the default folders (tests).
void SetFolder(const QString& folder);
// The folders Path() tries, in order, for the message of a missing file.
QStringList Folders();

// Reads the bundled workbook; false with a message naming the folders tried when it is missing.
bool Read(PublicStandard& out, QString& error);

} // namespace BuiltinStandard

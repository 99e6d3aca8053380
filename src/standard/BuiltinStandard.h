#pragma once
// The editions of the public common standard that ship with the program, each unchanged as
// published, and where they are found: beside the program ("standard", the build tree), then
// in the installed share folder (/usr/share/termwise/standard). The newest is the default of
// every built-in import; the older ones stay by name so an agency still on one can work and
// compare. Nothing here knows more about the content than the edition's name.
#include "standard/PublicStandardReader.h"

#include <QString>
#include <vector>

namespace BuiltinStandard {

struct Edition
{
    QString key;      // what `--builtin KEY` and `builtin:KEY` take ("8")
    QString fileName; // the published file name: it names the edition and the date, and it is
                      // what the portal hands out, so a user can tell which file they have
    QString name;     // "공통표준 8차 (2025-11, 행정안전부)"
    QString areaName; // the area `repo init --standard` loads it into
};

// Newest first; the first is the default.
const std::vector<Edition>& Editions();
const Edition& Default();
// "8", "8차", "builtin:8"; null for an edition not built in.
const Edition* Find(const QString& key);
// The keys for a message: "8, 7".
QString Keys();

// The default edition's texts, as the window and the command line name it.
inline const QString kEdition = QStringLiteral("공통표준 8차 (2025-11, 행정안전부)");
inline const QString kFileName = QStringLiteral("공공데이터 공통표준(2025.11월).xlsx");
inline const QString kAreaId = QStringLiteral("PUB");
inline const QString kAreaName = QStringLiteral("공통표준 8차");

// The bundled workbook of an edition (the default when none), or empty when it is missing
// from the installation.
QString Path(const Edition& edition = Default());
// Where Path() looks first; empty restores the default folders (tests).
void SetFolder(const QString& folder);
// The folders Path() tries, in order, for the message of a missing file.
QStringList Folders();

// Reads a bundled workbook; false with a message naming the folders tried when it is missing.
bool Read(PublicStandard& out, QString& error);
bool Read(const Edition& edition, PublicStandard& out, QString& error);

} // namespace BuiltinStandard

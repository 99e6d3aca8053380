#pragma once
// The window's road to the common-standard import: the files are read on a worker thread
// under a progress window that can be cancelled, then the same import as the command line's
// runs into the local dictionary or the connected repository ("AR"). The caller shows the
// outcome; nothing here opens a message box.
#include "standard/StandardDiff.h"
#include "standard/StandardImport.h"

#include <QString>
#include <QStringList>

class QWidget;

struct StandardImportChoice
{
    bool builtin = true;
    QString edition;           // the built-in edition's key ("7"); empty: the default
    QStringList files;         // when not builtin
    bool toRepository = false; // else the local dictionary
    StandardImport::AreaOptions area;
    QString areaLabel; // the name of an existing area, for the result (area.areaName renames)
};

struct StandardImportOutcome
{
    enum class State { Imported, Cancelled, Refused, Failed };
    State state = State::Failed;
    QString message; // the text to show for anything but Imported
    QString source;  // the edition, or the file names
    StandardImportSummary summary;
    // An area brought to a new edition: what the edition changed against what the area held.
    bool hasDiff = false;
    StandardDiff::Result diff;
};

StandardImportOutcome RunStandardImport(QWidget* parent, const StandardImportChoice& choice);

// Where the summary names what was loaded: "로컬 분석 사전" or "분류체계 ID (이름)".
QString StandardImportTarget(const StandardImportChoice& choice);

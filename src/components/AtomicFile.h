#pragma once
// Files that appear whole or not at all. The text is written beside the target and moved
// over it only once everything is on disk, so a full disk, a file-size limit or a crash
// leaves the old file as it was and no partial file behind. Every writer of the program
// reports a failed write with the same text, naming the file.
#include "components/ResourceTexts.h"

#include <QSaveFile>
#include <QString>

// "<path>: <reason>", the reason being ResourceText::kNoSpace for a full disk, a quota or the
// file-size limit, else the system's text for errnum.
QString WriteFailureText(const QString& path, int errnum);
// A writer's error as "<path>: <reason>", whether or not the writer named the file itself.
QString NamingFile(const QString& path, const QString& error);

class CAtomicFile : public QSaveFile
{
public:
    explicit CAtomicFile(const QString& path);

    // False with Error() set. Writes go straight to the file (callers buffer themselves),
    // so the first failing write is the one reported.
    bool Open();
    // Puts the file in place; false (nothing replaced, nothing left behind) with Error() set.
    // whole false: the caller could not write everything, so the file is dropped.
    bool Commit(bool whole = true);
    QString Error() const { return m_error; }

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    QString m_path;
    int m_errno = 0;
    QString m_error;
};

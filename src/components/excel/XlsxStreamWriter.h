#pragma once
// Writes one sheet of text cells straight into an .xlsx file, rows in order, without holding
// the sheet in memory. The sheet is compressed on a second thread while the caller makes the
// next rows, so the caller stays free to show progress.
#include <QString>
#include <QStringList>
#include <memory>

namespace excel {

class XlsxStreamWriter
{
public:
    XlsxStreamWriter();
    ~XlsxStreamWriter(); // an unfinished file is removed
    XlsxStreamWriter(const XlsxStreamWriter&) = delete;
    XlsxStreamWriter& operator=(const XlsxStreamWriter&) = delete;

    // Starts writing "<path>.part"; Finish moves it over path, so a failed or abandoned write
    // never replaces a good file.
    bool Open(const QString& path);
    // One row (rows from 0, each after the last; gaps are allowed), texts from the first column;
    // empty texts write no cell. Texts go out as they are: a caller that wants a literal
    // "_xHHHH_" kept must escape its "_" itself. False once anything failed (see Error).
    bool WriteRow(int row, const QStringList& cells);
    // Completes the file and moves it into place.
    bool Finish();
    // Stops and removes the unfinished file; Error() stays.
    void Abandon();
    QString Error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace excel

// DDL scripts of any dialect and encoding, read in small pieces so that every seam between
// pieces falls inside some string, comment or statement.
#include "exchange/DdlReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("input.sql"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data + 2), qint64(size - 2));
    file.close();
    DdlReader::Options options;
    options.dialect = ModelSource::Dialect(data[0] % 5); // Unknown (guessed), Oracle, PostgreSQL, MySQL, SQLite
    options.pieceBytes = 1 + data[1] % 64;
    ModelSource::AttributeList list;
    QString error;
    const bool read = DdlReader::Read({path}, list, error, options);
    // Every row has a fact, and the list is as long as the facts say.
    if (list.Columns() > 0 && list.rows.size() != list.Columns() + 1)
        __builtin_trap();
    // Tables put aside in the temporary file from the first few columns on, statements applied
    // on a second thread: the same model.
    options.heldColumns = 1 + data[1] % 4;
    options.twoThreadsFrom = 0;
    ModelSource::AttributeList spilled;
    if (DdlReader::Read({path}, spilled, error, options) != read || spilled.rows != list.rows ||
        spilled.warnings != list.warnings || spilled.facts.size() != list.facts.size())
        __builtin_trap();
    for (size_t i = 0; i < list.facts.size(); ++i)
        if (spilled.facts[i].keys != list.facts[i].keys || spilled.facts[i].definition != list.facts[i].definition)
            __builtin_trap();
    return 0;
}

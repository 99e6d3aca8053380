// `register` readers: the bytes as a candidate file (a workbook when they start with "PK" or
// the compound-file signature, else CSV), read as words and as domains and checked against
// the repository's columns. A file is taken whole or refused with a message naming it.
#include "components/QrDatatype.h"
#include "registration/RegisterCommand.h"
#include "repository/ColumnLimits.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // .xls is read in a child process, whose sanitizer report would pass for ours.
    if (bytes.startsWith("\xD0\xCF\x11\xE0") && !std::getenv("FUZZ_XLS"))
        return 0;
    const bool workbook = bytes.startsWith("PK") || bytes.startsWith("\xD0\xCF\x11\xE0");
    const QString path = QStringLiteral("/tmp/fuzz_register_%1.%2").arg(::getpid()).arg(workbook ? "xlsx" : "csv");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    static const CColumnLimits limits = CColumnLimits::Bundled(GlobalEnum::DBMS_SQLITE);
    std::vector<QStringList> rows;
    QString error;
    if (RegisterCommand::ReadTable(path, rows, error)) {
        WordIndex words;
        DomainIndex domains;
        error.clear();
        if (!RegisterCommand::ReadWords(path, rows, words, error, &limits) && (!error.contains(path) || !words.empty()))
            std::abort(); // refused: named, and nothing kept
        error.clear();
        if (!RegisterCommand::ReadDomains(path, rows, domains, error, &limits) &&
            (!error.contains(path) || !domains.empty()))
            std::abort();
    } else if (!error.contains(path)) {
        std::abort();
    }
    QFile::remove(path);
    return 0;
}

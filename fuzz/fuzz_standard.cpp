// `standard import` readers: the bytes as up to three CSV files (split at the byte 0x1E) or,
// starting with "PK", as the published workbook; what is read then passes the checks against
// the repository's columns and goes into a dictionary in memory, as the import does.
#include "components/QrDatatype.h"
#include "repository/ColumnLimits.h"
#include "settings/AnalyzeSettings.h"
#include "standard/PublicStandardReader.h"
#include "standard/StandardImport.h"
#include "standard/StandardValidation.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString WriteTemp(const QByteArray& bytes, const char* suffix, int n)
{
    const QString path = QStringLiteral("/tmp/fuzz_standard_%1_%2%3").arg(::getpid()).arg(n).arg(QLatin1String(suffix));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // .xls is read in a child process, whose sanitizer report would pass for ours (FUZZ_XLS=1
    // lets it through, as in the workbook target).
    if (bytes.startsWith("\xD0\xCF\x11\xE0") && !std::getenv("FUZZ_XLS"))
        return 0;
    QStringList files;
    if (bytes.startsWith("PK")) {
        files << WriteTemp(bytes, ".xlsx", 0);
    } else {
        const QList<QByteArray> parts = bytes.split('\x1E');
        for (qsizetype i = 0; i < parts.size() && i < 3; ++i)
            files << WriteTemp(parts[i], ".csv", int(i));
    }
    PublicStandard standard;
    QString error;
    if (PublicStandardReader::Read(files, standard, error)) {
        // Every problem names a row of a file that was read.
        for (const std::vector<PublicStandardProblem>* list : {&standard.problems, &standard.incomplete})
            for (const PublicStandardProblem& p : *list)
                if (p.file.isEmpty() || p.row < 0 || p.reason.isEmpty())
                    std::abort();
        static const CColumnLimits limits = CColumnLimits::Bundled(GlobalEnum::DBMS_POSTGRESQL);
        StandardValidation::ForRepository(standard, limits, QStringLiteral("PUB"), QString());
        StandardValidation::ForDictionary(standard, limits);
        CAnalyzeSettings settings;
        StandardImportSummary summary;
        StandardImport::ImportIntoDictionary(settings, standard, summary);
        if (summary.words != int(standard.words.size()))
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }
    for (const QString& f : files)
        QFile::remove(f);
    return 0;
}

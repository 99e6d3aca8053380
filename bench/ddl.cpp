// The DDL reader alone on the scripts of bench/make_huge_ddl.py: bench_ddl FILE... prints the
// time of the read and what it found; bench/ddl.sh adds the peak memory.
#include "exchange/DdlReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: bench_ddl FILE...\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    ModelSource::AttributeList list;
    QString error;
    const bool ok = DdlReader::Read(files, list, error);
    const qint64 ms = timer.elapsed();
    std::printf("read %s in %lld ms: %zu columns, %lld warnings%s%s\n", ok ? "ok" : "FAILED", (long long)ms,
                list.facts.size(), (long long)list.warnings.size(), error.isEmpty() ? "" : ": ", qPrintable(error));
    return ok ? 0 : 1;
}

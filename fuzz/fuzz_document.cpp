// Analysis document reader: the four kinds parse the same bytes.
#include "exchange/AnalysisDocument.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    using AnalysisDocument::Kind;
    for (Kind kind : {Kind::Logical, Kind::Physical}) {
        WordInputMap entries;
        AnalysisDocument::Parse(bytes, kind, entries);
    }
    DomainInputMap domains;
    AnalysisDocument::Parse(bytes, domains);
    std::vector<TermAnalysisTarget> terms;
    QString area;
    AnalysisDocument::Parse(bytes, terms, area);
    return 0;
}

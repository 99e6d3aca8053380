// Analysis document reader: the four kinds parse the same bytes, and the one-pass reader
// reads them as the DOM reader does.
#include "exchange/AnalysisDocument.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {
template <class Map> bool SameMaps(const Map& a, const Map& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.keyAt(i) != b.keyAt(i) || !(a.at(i) == b.at(i)))
            return false;
    return true;
}
void Check(bool same)
{
    if (!same)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    using AnalysisDocument::Kind;
    for (Kind kind : {Kind::Logical, Kind::Physical}) {
        WordInputMap entries, dom;
        const auto a = AnalysisDocument::Parse(bytes, kind, entries);
        const auto b = AnalysisDocument::ParseDom(bytes, kind, dom);
        Check(a.ok == b.ok && a.message == b.message && SameMaps(entries, dom));
    }
    DomainInputMap domains, domDomains;
    const auto a = AnalysisDocument::Parse(bytes, domains);
    const auto b = AnalysisDocument::ParseDom(bytes, domDomains);
    Check(a.ok == b.ok && a.message == b.message && SameMaps(domains, domDomains));
    std::vector<TermAnalysisTarget> terms, domTerms;
    QString area, domArea;
    const auto c = AnalysisDocument::Parse(bytes, terms, area);
    const auto d = AnalysisDocument::ParseDom(bytes, domTerms, domArea);
    Check(c.ok == d.ok && c.message == d.message && terms.size() == domTerms.size() && area == domArea);
    return 0;
}

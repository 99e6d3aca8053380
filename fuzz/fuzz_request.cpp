// Analysis request parser for the codes 0 to 3.
#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "exchange/AnalysisRequest.h"
#include "settings/AnalyzeSettings.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Requests arrive as UTF-16 text; odd bytes are dropped.
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    static CAnalyzeSettings settings;
    settings.seperator = QStringLiteral("_- ");
    LogicalWordAnalysis logical(&settings);
    PhysicalWordAnalysis physical(&settings);
    DomainAnalysis domain(&settings);
    CTermAnalysis term;
    AnalysisRequest::Apply(logical, text);
    AnalysisRequest::Apply(physical, text);
    AnalysisRequest::Apply(domain, text);
    AnalysisRequest::Apply(term, text, [](const QString& id) { return id.size() < 8; });
    return 0;
}

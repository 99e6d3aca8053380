#pragma once
// Attribute lists that other programs send for analysis (codes 0 to 3): the request text
// replaces the form's input entries, and the form then analyses them at once.
#include <QString>
#include <functional>

class WordAnalysis;
class DomainAnalysis;
class CTermAnalysis;

namespace AnalysisRequest {

enum Code { PhysicalWord = 0, LogicalWord = 1, Domain = 2, Term = 3 };

// Each returns false, leaving the form as it was, when the text is not JSON (and the term
// kind also when its area cannot be resolved); the caller then does nothing, silently.
// On true the input entries were replaced and the caller runs Analyze().
bool Apply(WordAnalysis& analysis, const QString& text);
bool Apply(DomainAnalysis& analysis, const QString& text);
using AreaResolver = std::function<bool(const QString& areaId)>;
bool Apply(CTermAnalysis& analysis, const QString& text, const AreaResolver& resolve);

} // namespace AnalysisRequest

#pragma once
// The values of a published edition checked as they would be written, before anything is:
// no control characters (definitions may hold tabs and line breaks) and every value within
// its column's length, so an edition that does not fit is refused whole with every bad row
// named, on every dialect alike.
#include "standard/PublicStandardReader.h"

#include <vector>

class CColumnLimits;

namespace StandardValidation {

// Rows of the edition whose values do not fit the repository's columns, and the area's own id
// and name.
std::vector<PublicStandardProblem> ForRepository(const PublicStandard& standard, const CColumnLimits& limits,
                                                 const QString& areaId, const QString& areaName);
// Rows whose values do not fit the shared analysis tables the dictionary is uploaded to.
std::vector<PublicStandardProblem> ForDictionary(const PublicStandard& standard, const CColumnLimits& limits);

} // namespace StandardValidation

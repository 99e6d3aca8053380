#pragma once
// The values of a published edition checked as they would be written, before anything is:
// no control characters (definitions may hold tabs and line breaks) and every value within
// its column's length, so an edition that does not fit is refused whole with every bad row
// named, on every dialect alike.
#include "standard/PublicStandardReader.h"

#include <vector>

class CColumnLimits;

namespace StandardValidation {

// Why the files read cannot be imported as they stand; an empty refusal when they can. A word
// or domain file missing (a term file alone may join the words an area holds), terms without a
// single word, or a file that is not whole: with allowPartial the last is taken, its signs
// becoming row problems of the import.
struct Admission
{
    QString refusal;
    std::vector<PublicStandardProblem> rows; // the rows that make the refusal
};
Admission Admit(PublicStandard& standard, bool toRepository, bool allowPartial);

// Rows of the edition whose values do not fit the repository's columns, and the area's own id
// and name.
std::vector<PublicStandardProblem> ForRepository(const PublicStandard& standard, const CColumnLimits& limits,
                                                 const QString& areaId, const QString& areaName);
// Rows whose values do not fit the shared analysis tables the dictionary is uploaded to.
std::vector<PublicStandardProblem> ForDictionary(const PublicStandard& standard, const CColumnLimits& limits);

} // namespace StandardValidation

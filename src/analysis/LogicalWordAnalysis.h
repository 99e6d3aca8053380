#pragma once
// Logical word analysis: Korean attribute names split into logical words, each matched
// with its physical name from the analysis dictionary.
#include "analysis/WordAnalysis.h"

class LogicalWordAnalysis : public WordAnalysis
{
public:
    // Null settings: the process-wide CAnalyzeSettings instance.
    explicit LogicalWordAnalysis(const CAnalyzeSettings* settings = nullptr) : WordAnalysis(Kind::Logical, settings) {}

    // Role names of this kind.
    static constexpr int RoleAttribute = RoleName;
    static constexpr int RoleAttributeDefinition = RoleDefinition;
    static constexpr int RoleColumn = RoleOpposite;
};

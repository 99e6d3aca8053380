#pragma once
// Physical word analysis: column names split into physical words, each matched with its
// logical name. With the need_seperator option a name splits only at "_"; otherwise the
// dictionary split takes words of at least two characters. No word-extractor fallback.
#include "analysis/WordAnalysis.h"

class PhysicalWordAnalysis : public WordAnalysis
{
public:
    // Null settings: the process-wide CAnalyzeSettings instance.
    explicit PhysicalWordAnalysis(const CAnalyzeSettings* settings = nullptr) : WordAnalysis(Kind::Physical, settings)
    {
    }

    // Role names of this kind.
    static constexpr int RoleColumn = RoleName;
    static constexpr int RoleColumnDefinition = RoleDefinition;
    static constexpr int RoleAttribute = RoleOpposite;
};

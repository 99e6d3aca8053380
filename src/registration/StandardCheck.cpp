#include "registration/StandardCheck.h"

#include "analysis/AnalyzeDomainWords.h"
#include "registration/StandardListTexts.h"

namespace StandardCheck {

std::vector<StandardWordRow> WordRows(const WordIndex& candidates)
{
    std::vector<StandardWordRow> rows;
    for (const auto& [physical, byLogical] : candidates) {
        for (const auto& [logical, word] : byLogical) {
            StandardWordRow row{physical, logical, word, kRegistrable, {}};
            row.word.strPhysicalName = physical;
            row.word.strLogicalName = logical;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<StandardDomainRow> DomainRows(const DomainIndex& candidates)
{
    std::vector<StandardDomainRow> rows;
    for (const auto& [key, byName] : candidates) {
        for (const auto& [name, domain] : byName) {
            StandardDomainRow row{key, name, domain, false, kRegistrable, {}};
            row.domain.strKeyDomainName = key;
            row.domain.strDomainName = name;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

void CheckWords(std::vector<StandardWordRow>& rows, const QString& areaId, CSqlBaseGate* gate, bool acceptSynonyms)
{
    const bool open = gate && gate->IsOpen();
    for (StandardWordRow& row : rows) {
        bool exists = false;
        if (open)
            exists = acceptSynonyms ? gate->SelectStandardWord(areaId, row.word)
                                    : gate->SelectStandardWordsByLogicalName(areaId, row.logical);
        row.image = exists ? kExists : kRegistrable;
        row.note = exists ? StandardListTexts::SameWordExists : QString();
    }
}

void CheckDomains(std::vector<StandardDomainRow>& rows, const QString& areaId, CSqlBaseGate* gate, bool)
{
    // The analysis appends: start every check from empty word lists.
    std::map<QString, _stAnalyzeManageDomain> byName;
    for (StandardDomainRow& row : rows) {
        row.domain.vecWords.clear();
        byName[row.name];
    }
    GlobalFunc::AnalyzeDomainWords(areaId, byName);

    DomainFlagMap flags;
    for (const StandardDomainRow& row : rows)
        flags[row.key][row.name] = false;
    if (gate && gate->IsOpen())
        gate->MarkExistingStandardDomains(areaId, flags);

    for (StandardDomainRow& row : rows) {
        row.domain.vecWords = byName[row.name].vecWords;
        row.exists = flags[row.key][row.name];
        row.image = kRegistrable;
        row.note.clear();
        // Whatever the setting, a domain on a missing, non-standard or non-class word is no
        // standard to register; the setting decides only whether its words go with it.
        QString message;
        const int status = GlobalFunc::AnalyzeDomainStatus(row.domain.vecWords, message);
        if (status != GlobalFunc::eDomainStatusOk) {
            row.image = status;
            row.note = message;
        }
        if (row.exists) {
            row.image = kExists;
            row.note = StandardListTexts::SameDomainExists;
        }
    }
}

WordIndex RegistrableWords(const std::vector<StandardWordRow>& rows)
{
    WordIndex out;
    for (const StandardWordRow& row : rows)
        if (row.image != kExists)
            out[row.physical][row.logical] = row.word;
    return out;
}

DomainIndex RegistrableDomains(const std::vector<StandardDomainRow>& rows, bool useWords)
{
    DomainIndex out;
    for (const StandardDomainRow& row : rows) {
        if (row.image != kRegistrable)
            continue;
        _stAnalyzeManageDomain domain = row.domain;
        if (!useWords)
            domain.vecWords.clear();
        out[row.key][row.name] = domain;
    }
    return out;
}

bool ClassWordCandidate(const StandardDomainRow& row, _stAnalyzeManageWord& word)
{
    if (row.domain.vecWords.empty() || row.domain.vecWords.back().strWordId.isEmpty())
        return false;
    word = row.domain.vecWords.back();
    return true;
}

} // namespace StandardCheck

#include "registration/StandardCheck.h"

#include "analysis/AnalyzeDomainWords.h"
#include "registration/StandardListTexts.h"

#include <map>

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

QString AbbreviationHolder(CSqlBaseGate* gate, const QString& areaId, const _stAnalyzeManageWord& word)
{
    QStringList holders;
    if (word.nStandard == 0 || word.strPhysicalName.isEmpty() || !gate || !gate->IsOpen() ||
        !gate->SelectPhysicalNameHolders(areaId, word.strPhysicalName, word.strLogicalName, false, holders))
        return {};
    return holders.value(0);
}

QString PhysicalNameHolder(CSqlBaseGate* gate, const QString& areaId, const _stAnalyzeManageTerm& term)
{
    QStringList holders;
    if (term.strPhysicalName.isEmpty() || !gate || !gate->IsOpen() ||
        !gate->SelectPhysicalNameHolders(areaId, term.strPhysicalName, term.strLogicalName, true, holders))
        return {};
    return holders.value(0);
}

void CheckWords(std::vector<StandardWordRow>& rows, const QString& areaId, CSqlBaseGate* gate, bool acceptSynonyms)
{
    const bool open = gate && gate->IsOpen();
    std::map<QString, QString> batch; // abbreviation (upper case) -> the row's word that takes it
    for (StandardWordRow& row : rows) {
        bool exists = false;
        if (open)
            exists = acceptSynonyms ? gate->SelectStandardWord(areaId, row.word)
                                    : gate->SelectStandardWordsByLogicalName(areaId, row.logical);
        row.image = exists ? kExists : kRegistrable;
        row.note = exists ? StandardListTexts::SameWordExists : QString();
        if (exists || row.word.nStandard == 0)
            continue;
        QString holder = AbbreviationHolder(gate, areaId, row.word);
        const QString key = row.physical.toUpper();
        if (holder.isEmpty()) {
            const auto earlier = batch.find(key);
            if (earlier != batch.end() && earlier->second != row.logical)
                holder = earlier->second;
        }
        if (!holder.isEmpty()) {
            row.image = kAbbreviationTaken;
            row.note = StandardListTexts::AbbreviationTaken.arg(row.physical, holder);
            continue;
        }
        batch.emplace(key, row.logical);
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
        if (row.image == kRegistrable)
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

#pragma once
// The checks behind the standard registration lists: which candidate words and domains
// already exist among the current standards of an area, which domains cannot be registered
// because of their words, and what is left to register. Images: 0 registrable, 1 already a
// standard, 2/3/4 the domain-word verdicts (not a class word, not a standard word, missing).
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <vector>

struct StandardWordRow
{
    QString physical;
    QString logical;
    _stAnalyzeManageWord word;
    int image = 0;
    QString note;
};

struct StandardDomainRow
{
    QString key;
    QString name;
    _stAnalyzeManageDomain domain; // vecWords: the analysed words of the domain name
    bool exists = false;
    int image = 0;
    QString note;
};

namespace StandardCheck {

enum Image { kRegistrable = 0, kExists = 1, kAbbreviationTaken = 4 };

// The standard word of the area, other than the word itself, that already has the word's
// abbreviation (a non-standard word shares its standard word's on purpose), or the term that
// already has the term's physical name; empty when there is none. A null gate finds none.
QString AbbreviationHolder(CSqlBaseGate* gate, const QString& areaId, const _stAnalyzeManageWord& word);
QString PhysicalNameHolder(CSqlBaseGate* gate, const QString& areaId, const _stAnalyzeManageTerm& term);

// One row per candidate in map order (physical, logical / key, domain name).
std::vector<StandardWordRow> WordRows(const WordIndex& candidates);
std::vector<StandardDomainRow> DomainRows(const DomainIndex& candidates);

// With acceptSynonyms a candidate exists when the same physical and logical pair is a
// standard word; without, when any standard word has its logical name. A null or closed
// gate finds nothing.
void CheckWords(std::vector<StandardWordRow>& rows, const QString& areaId, CSqlBaseGate* gate, bool acceptSynonyms);
// Splits each domain name into the area's words and rates it (2, 3, 4 block the row with
// either domain_use_words setting: useWords is kept for the callers and changes nothing
// here), then marks the domains that exist; an existing domain shows as existing even when
// its words are also defective.
void CheckDomains(std::vector<StandardDomainRow>& rows, const QString& areaId, CSqlBaseGate* gate, bool useWords);

// Rows left to register: words whose image is 0, domains whose image is 0 (with their
// analysed words when useWords). Records carry their names.
WordIndex RegistrableWords(const std::vector<StandardWordRow>& rows);
DomainIndex RegistrableDomains(const std::vector<StandardDomainRow>& rows, bool useWords);

// The word offered for the class-word change: the last word of the domain name (the class
// word position), when it has a repository id.
bool ClassWordCandidate(const StandardDomainRow& row, _stAnalyzeManageWord& word);

} // namespace StandardCheck

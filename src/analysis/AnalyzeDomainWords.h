#pragma once
// Splitting domain names into the standard words of the repository, and the verdict on a
// domain's word list. Used by the standard domain dialogs and the registration form.
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace GlobalFunc {

enum eAnalyzeDomainStatus {
    eDomainStatusOk = 0,
    eDomainStatusNotClassWord = 2,
    eDomainStatusNotStandardWord = 3,
    eDomainStatusWordMissing = 4,
};

// Appends to each domain's word list the words the service finds in its domain name (the
// map key); a name the map lacks gets an entry. Without a repository nothing is found.
void AnalyzeDomainWords(const QString& areaId, std::map<QString, _stAnalyzeManageDomain>& domains);

// Splits at every character of the separator text ("_" when empty); empty pieces are kept.
QStringList SplitAtAny(const QString& text, const QString& separators);

// Verdict on a word list; the message is written for a non-zero verdict only.
eAnalyzeDomainStatus AnalyzeDomainStatus(const std::vector<_stAnalyzeManageWord>& words, QString& message);

} // namespace GlobalFunc

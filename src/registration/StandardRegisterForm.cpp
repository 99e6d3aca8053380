#include "registration/StandardRegisterForm.h"

#include "analysis/AnalyzeDomainWords.h"
#include "components/QrStringUtil.h"
#include "registration/StandardCheck.h"
#include "registration/StandardListTexts.h"
#include "registration/StandardRegistration.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <algorithm>
#include <map>

namespace StandardRegisterForm {

namespace {

Outcome Refuse(const QString& message)
{
    return {Outcome::Refused, message};
}

Outcome Done(bool registered, const QString& message)
{
    return registered ? Outcome{Outcome::Registered, message} : Outcome{Outcome::Failed, QString()};
}

} // namespace

QString GenerateDomainName(const QString& keyDomain, const QString& dataType, const QString& length,
                           const QString& scale)
{
    QString name = keyDomain + CAnalyzeSettings::Instance().GetDataTypeAbbreviation(dataType) + length;
    if (!length.isEmpty() && !scale.isEmpty())
        name += QLatin1Char(',') + scale;
    return name;
}

QString AreaTypeLetters(const QString& areaId, const QString& dataType)
{
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    std::vector<_stAnalyzeManageDomain> domains;
    if (!gate || areaId.isEmpty() || dataType.isEmpty() || !gate->SelectStandardDomains(areaId, domains))
        return {};
    std::map<QString, int> counts;
    for (const _stAnalyzeManageDomain& d : domains) {
        if (d.strDataType.compare(dataType, Qt::CaseInsensitive) != 0 || d.strLength.isEmpty() ||
            !d.strDomainName.startsWith(d.strKeyDomainName))
            continue;
        QString suffix = d.strLength;
        if (!d.strScale.isEmpty() && d.strScale != QLatin1String("0"))
            suffix += u',' + d.strScale;
        const QString rest = d.strDomainName.mid(d.strKeyDomainName.size());
        if (!rest.endsWith(suffix))
            continue;
        const QString letters = rest.chopped(suffix.size());
        const bool plain = !letters.isEmpty() && std::all_of(letters.begin(), letters.end(), [](QChar c) {
            return c.isLetter() && c.unicode() < 0x80;
        });
        if (plain)
            ++counts[letters];
    }
    QString best;
    int most = 0;
    for (const auto& [letters, count] : counts)
        if (count > most) {
            best = letters;
            most = count;
        }
    return best;
}

QString GenerateDomainName(const QString& areaId, const QString& keyDomain, const QString& dataType,
                           const QString& length, const QString& scale)
{
    const QString letters = AreaTypeLetters(areaId, dataType);
    if (letters.isEmpty())
        return GenerateDomainName(keyDomain, dataType, length, scale);
    QString name = keyDomain + letters + length;
    if (!length.isEmpty() && !scale.isEmpty())
        name += QLatin1Char(',') + scale;
    return name;
}

QString NumberField(const QString& typed)
{
    const qint64 number = CQrStringUtil::ExtractNumber(typed);
    return number != 0 ? CQrStringUtil::FromInt(number) : typed;
}

Outcome RegisterWord(const QString& areaId, _stAnalyzeManageWord& word)
{
    if (word.strLogicalName.isEmpty() || word.strPhysicalName.isEmpty())
        return Refuse(RegisterTexts::kNeedWordNames);
    // Without a gateway the word counts as absent; the insert then fails on its own.
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        gate && gate->SelectStandardWord(areaId, word))
        return Refuse(RegisterTexts::kWordExists);
    if (const QString holder =
            StandardCheck::AbbreviationHolder(CRepositoryConnection::Instance().OpenGate(), areaId, word);
        !holder.isEmpty())
        return Refuse(StandardListTexts::AbbreviationTaken.arg(word.strPhysicalName, holder));
    return Done(GlobalFunc::InsertStandardWord(areaId, word), RegisterTexts::kWordRegistered);
}

Outcome RegisterDomain(const QString& areaId, _stAnalyzeManageDomain& domain)
{
    domain.strLength = NumberField(domain.strLength);
    domain.strScale = NumberField(domain.strScale);
    if (domain.strKeyDomainName.isEmpty() || domain.strDomainName.isEmpty())
        return Refuse(RegisterTexts::kNeedDomainNames);
    if (CAnalyzeSettings::Instance().domain_use_words != 0) {
        std::map<QString, _stAnalyzeManageDomain> analysed;
        _stAnalyzeManageDomain& entry = analysed[domain.strDomainName];
        entry = domain;
        entry.vecWords.clear();
        GlobalFunc::AnalyzeDomainWords(areaId, analysed);
        QString message;
        const GlobalFunc::eAnalyzeDomainStatus status = GlobalFunc::AnalyzeDomainStatus(entry.vecWords, message);
        if (status == GlobalFunc::eDomainStatusNotClassWord || status == GlobalFunc::eDomainStatusNotStandardWord ||
            status == GlobalFunc::eDomainStatusWordMissing)
            return Refuse(message);
        domain.vecWords = entry.vecWords;
    }
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate()) {
        _stAnalyzeManageDomain probe = domain;
        if (gate->SelectStandardDomain(areaId, probe))
            return Refuse(RegisterTexts::kDomainExists);
    }
    return Done(GlobalFunc::InsertStandardDomain(areaId, domain), RegisterTexts::kDomainRegistered);
}

Outcome RegisterTerm(const QString& areaId, _stAnalyzeManageTerm& term)
{
    if (term.strLogicalName.isEmpty() || term.strPhysicalName.isEmpty())
        return Refuse(RegisterTexts::kNeedTermNames);
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        gate && gate->SelectStandardTermsByLogicalName(areaId, term.strLogicalName))
        return Refuse(RegisterTexts::kTermExists);
    if (const QString holder =
            StandardCheck::PhysicalNameHolder(CRepositoryConnection::Instance().OpenGate(), areaId, term);
        !holder.isEmpty())
        return Refuse(StandardListTexts::PhysicalNameTaken.arg(term.strPhysicalName, holder));
    return Done(GlobalFunc::InsertStandardTerm(areaId, term), RegisterTexts::kTermRegistered);
}

} // namespace StandardRegisterForm

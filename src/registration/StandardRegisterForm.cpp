#include "registration/StandardRegisterForm.h"

#include "analysis/AnalyzeDomainWords.h"
#include "components/QrStringUtil.h"
#include "registration/StandardRegistration.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

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

QString NumberField(const QString& typed)
{
    const qint64 number = CQrStringUtil::ExtractNumber(typed);
    return number != 0 ? CQrStringUtil::FromInt(number) : typed;
}

Outcome RegisterWord(const QString& areaId, _stAnalyzeManageWord& word)
{
    if (word.strLogicalName.isEmpty() || word.strPhysicalName.isEmpty())
        return {};
    // Without a gateway the word counts as absent; the insert then fails on its own.
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        gate && gate->SelectStandardWord(areaId, word))
        return Refuse(RegisterTexts::kWordExists);
    return Done(GlobalFunc::InsertStandardWord(areaId, word), RegisterTexts::kWordRegistered);
}

Outcome RegisterDomain(const QString& areaId, _stAnalyzeManageDomain& domain)
{
    domain.strLength = NumberField(domain.strLength);
    domain.strScale = NumberField(domain.strScale);
    if (domain.strKeyDomainName.isEmpty() || domain.strDomainName.isEmpty())
        return {};
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
        return {};
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
        gate && gate->SelectStandardTermsByLogicalName(areaId, term.strLogicalName))
        return Refuse(RegisterTexts::kTermExists);
    return Done(GlobalFunc::InsertStandardTerm(areaId, term), RegisterTexts::kTermRegistered);
}

} // namespace StandardRegisterForm

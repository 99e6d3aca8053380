#include "analysis/AnalyzeDomainWords.h"

#include "analysis/ServiceLayer.h"
#include "components/QrStringUtil.h"
#include "settings/AnalyzeSettings.h"

namespace GlobalFunc {

namespace {

// The service's record as an analysis word: DIC_ID, logical and physical name, marks.
_stAnalyzeManageWord ToWord(const _stServiceWord& record)
{
    _stAnalyzeManageWord word;
    word.strWordId = record.strTexts[0];
    word.strLogicalName = record.strTexts[2];
    word.strPhysicalName = record.strTexts[3];
    word.nStandard = record.nStandard;
    word.nClassWord = record.nClassWord;
    return word;
}

bool FindFirst(IServiceLayer* service, const QString& text, _stServiceWord& record, int mode = eServiceFindByName)
{
    std::vector<SERVICE_WORD_HANDLE> handles;
    return service->FindWords(text, mode, handles) && !handles.empty() &&
           service->GetServiceWord(handles.front(), record);
}

} // namespace

QStringList SplitAtAny(const QString& text, const QString& separators)
{
    const QString chars = separators.isEmpty() ? QStringLiteral("_") : separators;
    QStringList parts;
    QString part;
    for (QChar c : text) {
        if (chars.contains(c)) {
            parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.append(part);
    return parts;
}

void AnalyzeDomainWords(const QString& areaId, std::map<QString, _stAnalyzeManageDomain>& domains)
{
    if (IServiceLayer::theServiceLayer)
        return; // another run owns the service
    CreateAppLayer();
    IServiceLayer* service = IServiceLayer::theServiceLayer;
    const ServiceDatabase database = RepositoryServiceDatabase();
    const QString separator = CAnalyzeSettings::Instance().seperator;
    service->SetDatabase(&database);
    service->SetOptionValue(8, 2);
    service->SetOptionValue(0, 0);
    service->SetOptionText(11, QString());
    service->SetOptionText(10, separator);
    service->SetOptionText(13, separator);
    service->SetOptionValue(12, '_');

    std::vector<_stServiceTarget> targets;
    targets.reserve(domains.size());
    for (const auto& [name, domain] : domains)
        targets.push_back({name, QString(), areaId});
    service->SetTargets(&targets);
    service->RunAnalysis();

    for (int i = service->GetResultCount(1) - 1; i >= 0; --i) {
        QString target, variant;
        if (!service->GetResult(i, target, variant, 1))
            continue;
        _stAnalyzeManageDomain& domain = domains[target];
        service->SelectResult(target, variant, 0);
        service->PrepareResult();
        service->SetResultMode(0);
        QStringList words;
        std::vector<int> kinds;
        service->GetResultWords(target, variant, words, kinds);
        if (words.size() != qsizetype(kinds.size()))
            continue;
        if (words.size() == 1 && kinds.front() == eServiceWordCompound) {
            _stServiceWord compound;
            if (!FindFirst(service, words.front(), compound))
                continue;
            for (const QString& part : SplitAtAny(compound.strTexts[3], separator)) {
                _stServiceWord record;
                // The standard word of the abbreviation before any synonym or forbidden word.
                if (!part.isEmpty() &&
                    (FindFirst(service, part, record, eServiceFindByPhysicalName) || FindFirst(service, part, record)))
                    domain.vecWords.push_back(ToWord(record));
            }
            continue;
        }
        for (const QString& text : words) {
            _stServiceWord record;
            if (FindFirst(service, text, record)) {
                domain.vecWords.push_back(ToWord(record));
            } else {
                _stAnalyzeManageWord missing;
                missing.strLogicalName = text;
                missing.nStandard = 0;
                missing.nClassWord = 0;
                domain.vecWords.push_back(missing);
            }
        }
    }
    service->SetTargets(nullptr);
    service->ClearResults();
    DeleteAppLayer();
}

eAnalyzeDomainStatus AnalyzeDomainStatus(const std::vector<_stAnalyzeManageWord>& words, QString& message)
{
    for (const _stAnalyzeManageWord& w : words) {
        if (w.strWordId.isEmpty()) {
            message = CQrStringUtil::Format(QStringLiteral("(%s) 단어 없음"), {w.strLogicalName});
            return eDomainStatusWordMissing;
        }
    }
    for (const _stAnalyzeManageWord& w : words) {
        if (w.nStandard == 0) {
            message = CQrStringUtil::Format(QStringLiteral("(%s) 단어가 표준이 아님"), {w.strLogicalName});
            return eDomainStatusNotStandardWord;
        }
    }
    if (!words.empty() && words.back().nClassWord == 0) {
        message = CQrStringUtil::Format(QStringLiteral("(%s) 단어가 분류어가 아님"), {words.back().strLogicalName});
        return eDomainStatusNotClassWord;
    }
    return eDomainStatusOk;
}

} // namespace GlobalFunc

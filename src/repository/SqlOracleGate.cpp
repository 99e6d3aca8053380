#include "repository/SqlOracleGate.h"

#include "repository/RepositorySql.h"

namespace Sql = RepositorySql::Oracle;

bool CSqlOracleGate::MergeAnalyzeWords(const WordIndex& words)
{
    // The six values bind twice: once for the matched update, once for the insert.
    return MergeWordsWith(words, Sql::MergeAnalyzeWord,
                          [](const _stAnalyzeManageWord& w, const QString& physical, const QString& logical,
                             const QString& authority) -> SqlParams {
                              SqlParams once{SqlParam::Text(physical),
                                             SqlParam::Text(logical),
                                             SqlParam::Text(w.strPhyFullName),
                                             SqlParam::Long(w.strDescription),
                                             SqlParam::Text(YesOrEmpty(w.nStandard != 0)),
                                             SqlParam::Text(authority)};
                              SqlParams params = once;
                              params.insert(params.end(), once.begin(), once.end());
                              return params;
                          });
}

bool CSqlOracleGate::MergeAnalyzeDomains(const DomainIndex& domains)
{
    return MergeDomainsWith(domains, Sql::MergeAnalyzeDomain,
                            [](const _stAnalyzeManageDomain& d, const QString& key, const QString& name,
                               const QString& authority) -> SqlParams {
                                SqlParams once{SqlParam::Text(key),           SqlParam::Text(name),
                                               SqlParam::Text(d.strDataType), SqlParam::Long(d.strLength),
                                               SqlParam::Long(d.strScale),    SqlParam::Text(authority)};
                                SqlParams params = once;
                                params.insert(params.end(), once.begin(), once.end());
                                return params;
                            });
}

bool CSqlOracleGate::SelectStandardAreas(StandardAreaMap& areas)
{
    return SelectStandardAreasWith(Sql::SelectStandardAreas, areas);
}

bool CSqlOracleGate::SelectOptionUrls(const QString& optionId, QString& url)
{
    return SelectOptionUrlsFromOptions(optionId, url);
}

bool CSqlOracleGate::SelectCurrentDateTime(QString& text)
{
    return SelectCurrentDateTimeWith(Sql::SelectCurrentDateTime, text);
}

QString CSqlOracleGate::ReachabilityStatement() const
{
    return Sql::SelectCurrentDateTime;
}

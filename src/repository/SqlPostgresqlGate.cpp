#include "repository/SqlPostgresqlGate.h"

#include "repository/RepositorySql.h"

namespace Sql = RepositorySql::Postgresql;

bool CSqlPostgresqlGate::MergeAnalyzeWords(const WordIndex& words)
{
    // The update's SET values come first, then its key, then the six insert values.
    return MergeWordsWith(words, Sql::MergeAnalyzeWord,
                          [](const _stAnalyzeManageWord& w, const QString& physical, const QString& logical,
                             const QString& authority) -> SqlParams {
                              const SqlParam full = SqlParam::Text(w.strPhyFullName);
                              const SqlParam desc = SqlParam::Long(w.strDescription);
                              const SqlParam standard = SqlParam::Text(YesOrEmpty(w.nStandard != 0));
                              const SqlParam auth = SqlParam::Text(authority);
                              const SqlParam phy = SqlParam::Text(physical);
                              const SqlParam log = SqlParam::Text(logical);
                              return {full, desc, standard, auth, phy, log, phy, log, full, desc, standard, auth};
                          });
}

bool CSqlPostgresqlGate::MergeAnalyzeDomains(const DomainIndex& domains)
{
    return MergeDomainsWith(domains, Sql::MergeAnalyzeDomain,
                            [](const _stAnalyzeManageDomain& d, const QString& key, const QString& name,
                               const QString& authority) -> SqlParams {
                                const SqlParam type = SqlParam::Text(d.strDataType);
                                const SqlParam len = SqlParam::Long(d.strLength);
                                const SqlParam scale = SqlParam::Long(d.strScale);
                                const SqlParam auth = SqlParam::Text(authority);
                                const SqlParam k = SqlParam::Text(key);
                                const SqlParam n = SqlParam::Text(name);
                                return {type, len, scale, auth, k, n, k, n, type, len, scale, auth};
                            });
}

bool CSqlPostgresqlGate::SelectStandardAreas(StandardAreaMap& areas)
{
    return SelectStandardAreasWith(Sql::SelectStandardAreas, areas);
}

bool CSqlPostgresqlGate::SelectOptionUrls(const QString& optionId, QString& url)
{
    return SelectOptionUrlsFromOptions(optionId, url);
}

bool CSqlPostgresqlGate::SelectCurrentDateTime(QString& text)
{
    return SelectCurrentDateTimeWith(Sql::SelectCurrentDateTime, text);
}

QString CSqlPostgresqlGate::ReachabilityStatement() const
{
    return Sql::SelectCurrentDateTime;
}

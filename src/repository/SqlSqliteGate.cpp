#include "repository/SqlSqliteGate.h"

#include "repository/RepositorySql.h"

namespace Sql = RepositorySql::Sqlite;

bool CSqlSqliteGate::MergeAnalyzeWords(const WordIndex& words)
{
    return MergeWordsWith(words, Sql::MergeAnalyzeWord,
                          [](const _stAnalyzeManageWord& w, const QString& physical, const QString& logical,
                             const QString& authority) -> SqlParams {
                              return {SqlParam::Text(physical),
                                      SqlParam::Text(logical),
                                      SqlParam::Text(w.strPhyFullName),
                                      SqlParam::Long(w.strDescription),
                                      SqlParam::Text(YesOrEmpty(w.nStandard != 0)),
                                      SqlParam::Text(authority)};
                          });
}

bool CSqlSqliteGate::MergeAnalyzeDomains(const DomainIndex& domains)
{
    return MergeDomainsWith(domains, Sql::MergeAnalyzeDomain,
                            [](const _stAnalyzeManageDomain& d, const QString& key, const QString& name,
                               const QString& authority) -> SqlParams {
                                return {SqlParam::Text(key),           SqlParam::Text(name),
                                        SqlParam::Text(d.strDataType), SqlParam::Long(d.strLength),
                                        SqlParam::Long(d.strScale),    SqlParam::Text(authority)};
                            });
}

bool CSqlSqliteGate::SelectStandardAreas(StandardAreaMap& areas)
{
    return SelectStandardAreasWith(Sql::SelectStandardAreas, areas);
}

bool CSqlSqliteGate::SelectCurrentDateTime(QString& text)
{
    return SelectCurrentDateTimeWith(Sql::SelectCurrentDateTime, text);
}

QString CSqlSqliteGate::ReachabilityStatement() const
{
    return Sql::SelectCurrentDateTime;
}

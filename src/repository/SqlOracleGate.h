#pragma once
// Oracle repositories (DBMS types 1 and 10): MERGE ... USING DUAL, CONNECT BY area hierarchy.
#include "repository/SqlBaseGate.h"

class CSqlOracleGate : public CSqlBaseGate
{
public:
    using CSqlBaseGate::CSqlBaseGate;
    bool MergeAnalyzeWords(const WordIndex& words) override;
    bool MergeAnalyzeDomains(const DomainIndex& domains) override;
    bool SelectStandardAreas(StandardAreaMap& areas) override;
    bool SelectOptionUrls(const QString& optionId, QString& url) override;
    bool SelectCurrentDateTime(QString& text) override;

protected:
    QString ReachabilityStatement() const override;
};

#pragma once
// PostgreSQL repositories: a writable-CTE upsert and a recursive area hierarchy.
#include "repository/SqlBaseGate.h"

class CSqlPostgresqlGate : public CSqlBaseGate
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

#pragma once
// SQLite repositories: INSERT OR REPLACE upserts, a flat area list, no proposal options.
#include "repository/SqlBaseGate.h"

class CSqlSqliteGate : public CSqlBaseGate
{
public:
    using CSqlBaseGate::CSqlBaseGate;
    bool MergeAnalyzeWords(const WordIndex& words) override;
    bool MergeAnalyzeDomains(const DomainIndex& domains) override;
    bool SelectStandardAreas(StandardAreaMap& areas) override;
    bool SelectCurrentDateTime(QString& text) override;

protected:
    QString ReachabilityStatement() const override;
};

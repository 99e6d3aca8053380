#pragma once
// What the domain analysis report works on and decides, without widgets: the missing domain
// combinations by descending count, the attributes behind each, the proposed domain names,
// what is stored into the dictionary and what the export writes.
#include "analysis/DomainAnalysis.h"

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

class CAnalyzeSettings;

struct DomainReportInput
{
    int analyzedCount = 0;
    int foundCount = 0;
    std::map<QString, int> missing; // domain key -> targets lacking it
    std::map<QString, std::vector<DomainAnalysisTarget>> targets;

    static DomainReportInput FromAnalysis(const DomainAnalysis& analysis);
    // "대상 도메인 추가": the domain key of one listed target, with count 1.
    static DomainReportInput ForTarget(const DomainAnalysis& analysis, const QString& attributeKey);
};

class CDomainReport
{
public:
    enum Column {
        ColKeyDomain = 0,
        ColCount,
        ColKeyDomainName,
        ColDomainName,
        ColType,
        ColLength,
        ColScale,
        ColNote,
        ColumnCount
    };
    struct Row
    {
        QString domainKey; // as given
        QString keyDomain; // column 0
        int count = 0;
        QString keyDomainName;
        QString domainName;
        QString type;
        QString length;
        QString scale;
        bool proposed = false; // the domain name was made by the report
        bool excluded = false;
    };

    CDomainReport(DomainReportInput input, const CAnalyzeSettings& settings);

    int AnalyzedCount() const { return m_input.analyzedCount; }
    int FoundCount() const { return m_input.foundCount; }
    int MissingBar() const { return m_input.analyzedCount - m_input.foundCount; }
    const std::vector<Row>& Rows() const { return m_rows; }
    QStringList RowTexts(int row) const;
    // The logical type names the type cell offers, in the library's order.
    static QStringList TypeChoices();

    // An edit of any cell but the domain name proposes the domain name when the key domain
    // name and a known type are filled. True when the domain name was (re)proposed.
    bool SetCell(int row, int column, const QString& text);

    // The targets of the row's current key domain, type, length and scale.
    std::vector<QStringList> Details(int row) const;

    void Exclude(const std::vector<int>& rows, CAnalyzeSettings& settings);
    // Stores the complete rows, saves the settings file; the number of domains stored.
    int Store(CAnalyzeSettings& settings, bool* saved = nullptr) const;
    // Why Store passes over a row the user began to fill ("3행 명: 도메인명 (필수) 비어 있음"),
    // in row order; rows left wholly empty are only counted.
    QStringList SkippedRows(const CAnalyzeSettings& settings, int* untouched = nullptr) const;
    // Why no domain name was proposed for the row; empty when one was (or the row is not ready).
    QString ProposalProblem(int row) const;
    std::vector<QStringList> ExportRows() const; // header first

private:
    QString DomainKeyOf(const Row& row) const;
    bool Propose(Row& row);

    DomainReportInput m_input;
    const CAnalyzeSettings& m_settings;
    std::vector<Row> m_rows;
};

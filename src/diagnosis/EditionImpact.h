#pragma once
// What a new edition changes for a model: every column of the diagnosis is judged a second time,
// by a judge of an older area of the same repository (the edition the model was built to), and
// the columns whose verdict differs go to the report's `since` section with both verdicts and
// why. The reasons are read off what changed between the two areas (as `standard diff` tells
// it) in the standards the column uses: its words, its name as a term, their domains.
//
// It rides on the diagnosis as its sink: the columns of one batch and their new verdicts are
// kept until a batch is full and then judged against the older area, so the two judges take
// turns on one thread and what is held is one batch, as in the diagnosis itself.
#include "diagnosis/Diagnosis.h"
#include "standard/StandardDiff.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

class QTextStream;

class EditionImpact
{
public:
    EditionImpact();
    ~EditionImpact();

    // Reads the older area of the connected repository and what changed between it and the
    // new one. False with the message (in Korean) when it is no area there, or the same one.
    bool Prepare(const QString& newAreaId, const QString& oldAreaId, QString& error);
    // To hand to Diagnosis::BuildForConnectedArea.
    Diagnosis::Sink Sink();
    // Judges what is left and puts the section into the report.
    void Finish(ConformanceReport& report);

    // The term form's report (as Diagnosis::BuildForAnalysis) with the changes since oldAreaId:
    // what "준수 현황" shows when the user picks an area to compare with.
    static bool BuildForAnalysis(const CTermAnalysis& analysis, const ModelSource::AttributeList* model,
                                 const QString& oldAreaId, ConformanceReport& report, QString& error);

    // The command's summary lines: "changed since OLD: N columns" and the columns per reason.
    static void PrintSummary(const ConformanceSince& since, QTextStream& out);

private:
    struct Change
    {
        const StandardDiff::Entry* entry;
        int kind; // 0 added, 1 withdrawn, 2 changed
    };
    void Take(const DiagnosisColumn& column, const ColumnVerdict& verdict);
    void JudgePending();
    void Compare(const DiagnosisColumn& column, const ColumnVerdict& before, const ColumnVerdict& after);

    ConformanceAreaFacts m_oldFacts, m_newFacts;
    std::unique_ptr<ColumnJudge> m_oldJudge;
    StandardDiff::Result m_diff;
    std::array<std::unordered_map<QString, Change>, 3> m_changes; // by StandardDiff::Kind, old and new names
    // domain class -> the domains added or changed under it, each described, with its facts
    std::unordered_map<QString, std::vector<std::pair<QString, const ConformanceAreaFacts::Domain*>>> m_domainsByClass;
    std::unordered_map<QString, QString> m_domainClass; // class word -> its domain class
    std::vector<DiagnosisColumn> m_pending;
    std::vector<ColumnVerdict> m_pendingVerdicts;
    ConformanceSince m_since;
    Diagnosis::Pipeline m_pipeline; // the diagnosis's, given back at the end
};

#pragma once
// A database's diagnosis as one pipeline, read top to bottom:
//   sources (a model read from DDL scripts or a catalog, a workbook's attribute list, a term
//   document) hand their columns over in batches ->
//   the judge of a column (ColumnJudge) gives each its verdict ->
//   the tally keeps counters for what is known only across the model (columns per finding,
//   columns per subject, distinct names, tables), and a sink may take every column with its
//   verdict (the fix script's ColumnStandard) in column order.
// What is held at any time is one batch, the judge's bounded tables and the tally.
#include "components/DistinctCounter.h"
#include "diagnosis/ColumnJudge.h"
#include "diagnosis/FixScript.h"
#include "exchange/CatalogReader.h"
#include "exchange/DdlReader.h"
#include "exchange/ModelSource.h"
#include "standard/ConformanceCheck.h"

#include <QHash>
#include <QSet>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CTermAnalysis;

class ColumnSource
{
public:
    virtual ~ColumnSource() = default;
    // Appends up to max columns to batch; false when there are none left.
    virtual bool Next(std::vector<DiagnosisColumn>& batch, size_t max) = 0;
    // Why the columns ended before the source did; empty when they did not.
    virtual QString Failure() const { return {}; }
};

// The columns of a model read from DDL scripts or a catalog.
class ModelColumns : public ColumnSource
{
public:
    explicit ModelColumns(const ModelSource::AttributeList& model) : m_model(model) {}
    // A model read only to be judged (the command line): each row is let go once it is handed
    // over, so what the judge keeps grows into the memory the model leaves.
    static std::unique_ptr<ModelColumns> Consuming(ModelSource::AttributeList& model);
    bool Next(std::vector<DiagnosisColumn>& batch, size_t max) override;

private:
    const ModelSource::AttributeList& m_model;
    ModelSource::AttributeList* m_consumed = nullptr;
    int m_next = 0;
};

// The columns of DDL scripts as the reader hands its tables over, each table let go once its
// columns are judged: the same columns as ModelColumns over the attribute list of the scripts.
class ScriptColumns : public ColumnSource
{
public:
    explicit ScriptColumns(std::unique_ptr<DdlReader::Tables> tables) : m_tables(std::move(tables)) {}
    bool Next(std::vector<DiagnosisColumn>& batch, size_t max) override;
    QString Failure() const override;

private:
    std::unique_ptr<DdlReader::Tables> m_tables;
    DdlReader::Tables::Table m_table;
    size_t m_next = 0; // in m_table
    QString m_shownTable;
};

// The columns of a live catalog as the server sends them: a thread of its own reads them over a
// connection of its own, a few chunks ahead of the judge, so that the model is never held whole
// and the reading goes on beside the judging.
class CatalogColumns : public ColumnSource
{
public:
    CatalogColumns(const RepositoryUri& uri, const CatalogReader::Options& options);
    ~CatalogColumns() override;
    // Starts the reading and waits for its first columns: false with the reader's message when
    // it failed before any (no connection, an unknown schema, no table).
    bool Start(QString& error);
    bool Next(std::vector<DiagnosisColumn>& batch, size_t max) override;
    QString Failure() const override;
    // Once every column is handed over: the tables counted, the reader's warnings.
    int Tables() const;
    QStringList Warnings() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::thread m_reader;
    std::unique_ptr<ModelSource::AttributeList> m_chunk;
    std::unique_ptr<ModelColumns> m_columns; // over m_chunk
};

// The rows of an attribute list by the term analysis's designations (a workbook), or, for a
// term document that has no sheet, its targets (one column per name).
class AnalysisColumns : public ColumnSource
{
public:
    explicit AnalysisColumns(const CTermAnalysis& analysis);
    bool Next(std::vector<DiagnosisColumn>& batch, size_t max) override;

private:
    const CTermAnalysis& m_analysis;
    bool m_fromSheet = false;
    int m_next = 0;
};

class DiagnosisTally
{
public:
    DiagnosisTally();
    void Add(const DiagnosisColumn& column, const ColumnVerdict& verdict);
    // The figures; the entries, spilled to disk as they came, read back with their counts.
    void Finish(ConformanceReport& report);

private:
    ConformanceReport m_report;
    std::shared_ptr<ConformanceEntrySpill> m_spill;
    // Tables and names counted by a 64-bit hash of each: counters, not the texts.
    DistinctCounter m_tables;
    QString m_lastTable; // of the column before
    DistinctCounter m_names;
};

namespace Diagnosis {

inline const QString kCancelled = QStringLiteral("진단을 취소했습니다");
inline const QString kProgressJudging = QStringLiteral("컬럼 진단 중");
inline const QString kProgressJudged = QStringLiteral("컬럼 진단 중: %1개");

// How the columns flow. The defaults are the program's; tests cut small batches and a small
// name table to see many turns on a small model, and compare one thread with two.
struct Pipeline
{
    size_t batch = 20000;     // columns read and judged at a time
    size_t maxNames = 200000; // the judge's table of names
    bool twoThreads = true;
    size_t sharedNamesFrom = 2000; // new names of a batch from which two threads analyse them
};
void SetPipeline(const Pipeline& pipeline);
Pipeline GetPipeline();

using Sink = std::function<void(const DiagnosisColumn&, const ColumnVerdict&)>;

// Every column of the source through the judge, the tally and the sink; false when cancelled.
// On two threads: while one reads a batch and analyses its new names, the other decides the
// batch before and hands its columns, in order, to the tally and the sink. The output is the
// one thread's, byte for byte. A sink that judges with a judge of its own (check --since) needs
// the pipeline on one thread while it lives: a judge reads its area through the repository
// connection, which is the main thread's.
bool Run(ColumnSource& source, ColumnJudge& judge, DiagnosisTally& tally, const Sink& sink = {});

// The report of a source against an area of the connected repository ("AR"), with the area's
// name: what the command line and the term form's "준수 현황" both use. False with the message
// when the area cannot be read or the user cancelled.
bool BuildForConnectedArea(const QString& areaId, ColumnSource& source, ConformanceReport& report, QString& error,
                           const Sink& sink = {});
// The term form's: the model it was read from when there is one, else its sheet or targets.
bool BuildForAnalysis(const CTermAnalysis& analysis, const ModelSource::AttributeList* model, ConformanceReport& report,
                      QString& error);

// The fix script as a sink: each judged column to the writer.
ModelSource::ColumnFacts FactsOf(const DiagnosisColumn& column);
Sink ScriptSink(FixScript::Writer& writer);

struct ScriptRequest
{
    QString path;
    FixScript::Options options;
    std::function<void(const FixScript::PlanRow&)> plan; // the "보정 계획" rows
    Sink also;                                           // takes each column after the script (check --since)
};
struct ScriptOutcome
{
    bool written = false;
    FixScript::Counts counts;
    QString error; // why the script was not written, when the report was built
};
// BuildForConnectedArea with the fix script written in the same pass. A script that cannot be
// written costs no report (outcome.error says why); a cancelled run leaves no script.
bool BuildWithScript(const QString& areaId, ColumnSource& source, ConformanceReport& report, QString& error,
                     const ScriptRequest& script, ScriptOutcome& outcome);
// FixScriptHook's writer: the model's columns judged against the analysis's area, as the
// command line does, so the window writes the same script.
bool WriteFixScript(const FixScriptHook::Request& request, FixScriptHook::Counts& counts, QString& error);

} // namespace Diagnosis

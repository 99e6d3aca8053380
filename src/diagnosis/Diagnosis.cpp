#include "diagnosis/Diagnosis.h"

#include "analysis/ColumnRoles.h"
#include "analysis/DataType.h"
#include "analysis/TermAnalysis.h"
#include "components/QrProgressWnd.h"
#include "components/TextHash.h"
#include "components/ThreadFailure.h"
#include "exchange/AnalyzeCommand.h"
#include "exchange/ModelSourceTexts.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "standard/StandardTexts.h"

#include <QScopeGuard>
#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

bool ModelColumns::Next(std::vector<DiagnosisColumn>& batch, size_t max)
{
    using namespace ModelSource;
    const size_t before = batch.size();
    for (; m_next < m_model.Columns() && batch.size() - before < max; ++m_next) {
        const QStringList& row = m_model.rows[m_next + 1];
        const ColumnFacts& f = m_model.facts[size_t(m_next)];
        DiagnosisColumn c;
        c.schema = f.schema;
        c.table = f.table;
        c.column = f.column;
        c.shownTable = f.schema.isEmpty() ? row.value(ColTable) : f.schema + u'.' + row.value(ColTable);
        c.shownColumn = row.value(ColColumn);
        c.logicalName = row.value(ColAttribute);
        c.comment = row.value(ColComment);
        c.displayType = row.value(ColType);
        c.type = c.displayType.section(u'(', 0, 0).trimmed();
        c.length = row.value(ColLength);
        c.scale = row.value(ColScale);
        c.definition = f.definition;
        c.keys = f.keys;
        batch.push_back(std::move(c));
        if (m_consumed) {
            m_consumed->rows[m_next + 1] = QStringList();
            m_consumed->facts[size_t(m_next)] = ColumnFacts();
        }
    }
    return batch.size() > before;
}

bool ScriptColumns::Next(std::vector<DiagnosisColumn>& batch, size_t max)
{
    using namespace ModelSource;
    const size_t before = batch.size();
    while (batch.size() - before < max) {
        if (m_next >= m_table.columns.size()) {
            if (!m_tables->Next(m_table))
                break;
            m_next = 0;
            const QString shown = DisplayName(m_table.name);
            m_shownTable = m_table.schema.isEmpty() ? shown : m_table.schema + u'.' + shown;
        }
        DdlReader::Tables::Column& from = m_table.columns[m_next++];
        DiagnosisColumn c;
        c.schema = m_table.schema;
        c.table = m_table.name;
        c.column = std::move(from.name);
        c.shownTable = m_shownTable;
        c.shownColumn = DisplayName(c.column);
        CommentParts comment = SplitComment(from.comment);
        c.logicalName = std::move(comment.name);
        c.description = std::move(comment.description);
        c.commentRead = true;
        c.comment = std::move(from.comment);
        c.displayType = std::move(from.display);
        c.type = std::move(from.typeName);
        c.length = std::move(from.type.length);
        c.scale = std::move(from.type.scale);
        c.definition = std::move(from.definition);
        c.keys = from.keys;
        batch.push_back(std::move(c));
    }
    return batch.size() > before;
}

QString ScriptColumns::Failure() const
{
    return m_tables->Failed() ? ModelSourceTexts::kSpillFailed : QString();
}

struct CatalogColumns::Shared
{
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::unique_ptr<ModelSource::AttributeList>> chunks;
    bool started = false; // the first chunk came, or the reading ended
    bool ended = false;
    bool stop = false; // the judge needs no more
    bool read = false;
    QString error;
    ModelSource::AttributeList list; // the reader's: warnings, tables
};

CatalogColumns::CatalogColumns(const RepositoryUri& uri, const CatalogReader::Options& options)
    : m_shared(std::make_shared<Shared>())
{
    // Two chunks ahead: the reader waits rather than hold the catalog.
    constexpr size_t kAhead = 2;
    CatalogReader::Options o = options;
    o.chunk = [shared = m_shared](ModelSource::AttributeList& list) {
        auto chunk = std::make_unique<ModelSource::AttributeList>();
        chunk->dialect = list.dialect;
        chunk->rows = std::move(list.rows); // the header row stays first, as ModelColumns reads it
        chunk->facts = std::move(list.facts);
        list.rows = {chunk->rows.front()};
        list.facts = std::vector<ModelSource::ColumnFacts>();
        std::unique_lock lock(shared->mutex);
        shared->changed.wait(lock, [&] { return shared->stop || shared->chunks.size() < kAhead; });
        if (shared->stop)
            return false;
        shared->chunks.push_back(std::move(chunk));
        shared->started = true;
        shared->changed.notify_all();
        return true;
    };
    m_reader = std::thread([shared = m_shared, uri, o] {
        ModelSource::AttributeList list;
        QString error;
        const bool read = CatalogReader::Read(uri, list, error, o);
        std::lock_guard lock(shared->mutex);
        shared->read = read;
        shared->error = error;
        shared->list = std::move(list);
        shared->ended = shared->started = true;
        shared->changed.notify_all();
    });
}

CatalogColumns::~CatalogColumns()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->changed.notify_all();
    }
    if (m_reader.joinable())
        m_reader.join();
}

bool CatalogColumns::Start(QString& error)
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->changed.wait(lock, [&] { return m_shared->started; });
    if (m_shared->chunks.empty() && m_shared->ended && !m_shared->read) {
        error = m_shared->error;
        return false;
    }
    return true;
}

bool CatalogColumns::Next(std::vector<DiagnosisColumn>& batch, size_t max)
{
    const size_t before = batch.size();
    while (batch.size() - before < max) {
        if (m_columns && m_columns->Next(batch, max - (batch.size() - before)))
            continue;
        std::unique_lock lock(m_shared->mutex);
        m_shared->changed.wait(lock, [&] { return !m_shared->chunks.empty() || m_shared->ended; });
        if (m_shared->chunks.empty())
            break;
        m_chunk = std::move(m_shared->chunks.front());
        m_shared->chunks.pop_front();
        m_shared->changed.notify_all();
        lock.unlock();
        m_columns = ModelColumns::Consuming(*m_chunk);
    }
    return batch.size() > before;
}

QString CatalogColumns::Failure() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->ended && !m_shared->read ? m_shared->error : QString();
}

int CatalogColumns::Tables() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->list.tables;
}

QStringList CatalogColumns::Warnings() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->list.warnings;
}

std::unique_ptr<ModelColumns> ModelColumns::Consuming(ModelSource::AttributeList& model)
{
    auto columns = std::make_unique<ModelColumns>(model);
    columns->m_consumed = &model;
    return columns;
}

AnalysisColumns::AnalysisColumns(const CTermAnalysis& analysis)
    : m_analysis(analysis),
      m_fromSheet(!analysis.Sheet().isEmpty() && analysis.Designations().Column(CTermAnalysis::RoleAttribute) >= 0)
{
    if (m_fromSheet && analysis.ExcludeFirstRow())
        m_next = 1;
}

bool AnalysisColumns::Next(std::vector<DiagnosisColumn>& batch, size_t max)
{
    const size_t before = batch.size();
    if (!m_fromSheet) {
        const QStringList& order = m_analysis.TargetOrder();
        for (; m_next < order.size() && batch.size() - before < max; ++m_next) {
            const TermAnalysisTarget* t = m_analysis.Target(order[m_next]);
            if (!t)
                continue;
            DiagnosisColumn c;
            c.shownTable = t->strReference;
            c.column = c.shownColumn = t->strColumn;
            c.logicalName = t->strName;
            c.comment = t->strDefinition;
            c.type = t->strType;
            c.length = t->strLength;
            c.scale = t->strScale;
            c.displayType = t->strDisplayType;
            batch.push_back(std::move(c));
        }
        return batch.size() > before;
    }
    const QVector<QStringList>& sheet = m_analysis.Sheet();
    const ColumnRoles& roles = m_analysis.Designations();
    const auto cell = [&](int row, int role) { return SheetCell(sheet, row, roles.Column(role)).trimmed(); };
    for (; m_next < sheet.size() && batch.size() - before < max; ++m_next) {
        DiagnosisColumn c;
        c.logicalName = cell(m_next, CTermAnalysis::RoleAttribute);
        c.column = c.shownColumn = cell(m_next, CTermAnalysis::RoleColumn);
        if (c.logicalName.isEmpty() && c.column.isEmpty())
            continue; // an empty row is no column
        c.shownTable = cell(m_next, CTermAnalysis::RoleReference);
        c.comment = cell(m_next, CTermAnalysis::RoleDefinition);
        ParseDataType(cell(m_next, CTermAnalysis::RoleType), c.type, c.length, c.scale);
        if (roles.Column(CTermAnalysis::RoleLength) >= 0)
            c.length = cell(m_next, CTermAnalysis::RoleLength);
        if (roles.Column(CTermAnalysis::RoleScale) >= 0)
            c.scale = cell(m_next, CTermAnalysis::RoleScale);
        c.displayType = GlobalFunc::BuildDataType(c.type, c.length, c.scale);
        batch.push_back(std::move(c));
    }
    return batch.size() > before;
}

DiagnosisTally::DiagnosisTally() : m_spill(std::make_shared<ConformanceEntrySpill>()) {}

void DiagnosisTally::Add(const DiagnosisColumn& column, const ColumnVerdict& verdict)
{
    ConformanceReport& r = m_report;
    ++r.columns;
    // Columns come table by table: a table is hashed once per run of its columns.
    if (!column.shownTable.isEmpty() && column.shownTable != m_lastTable) {
        m_tables.Add(TextHash64(column.shownTable));
        m_lastTable = column.shownTable;
    }
    if (verdict.named) {
        ++r.withLogicalName;
        m_names.Add(TextHash64(verdict.nameKey));
        r.logicalConforming += verdict.logicalOk ? 1 : 0;
        r.physicalConforming += verdict.physicalOk ? 1 : 0;
        r.typeConforming += verdict.typeOk ? 1 : 0;
        r.conforming += verdict.Conforming() ? 1 : 0;
    }
    std::array<bool, eFindingCount> kinds{};
    for (const ColumnFinding& f : verdict.findings) {
        kinds[size_t(f.kind)] = true;
        m_spill->Add(f.kind, ConformanceEntryTexts{column.shownTable, column.shownColumn, verdict.logicalName,
                                                   column.displayType, f.subject, f.replacement});
    }
    for (int k = 0; k < eFindingCount; ++k)
        r.concerned[size_t(k)] += kinds[size_t(k)] ? 1 : 0;
}

void DiagnosisTally::Finish(ConformanceReport& report)
{
    const qint64 tables = m_tables.Count(), names = m_names.Count();
    if (tables < 0 || names < 0)
        m_spill->Fail(); // a count that cannot be read back fails the report as its entries would
    m_spill->Flush();
    m_report.tables = int(std::max<qint64>(tables, 0));
    m_report.distinctNames = int(std::max<qint64>(names, 0));
    m_report.spill = std::move(m_spill);
    const QString areaId = report.areaId, areaName = report.areaName, input = report.input;
    report = std::move(m_report);
    report.areaId = areaId;
    report.areaName = areaName;
    report.input = input;
    m_report = ConformanceReport();
    m_spill = std::make_shared<ConformanceEntrySpill>();
    m_tables.Clear();
    m_names.Clear();
    m_lastTable.clear();
}

namespace Diagnosis {

namespace {
std::mutex g_pipelineMutex;
Pipeline g_pipeline;
} // namespace

void SetPipeline(const Pipeline& pipeline)
{
    std::lock_guard lock(g_pipelineMutex);
    g_pipeline = pipeline;
}

Pipeline GetPipeline()
{
    std::lock_guard lock(g_pipelineMutex);
    return g_pipeline;
}

bool Run(ColumnSource& source, ColumnJudge& judge, DiagnosisTally& tally, const Sink& sink)
{
    const Pipeline pipeline = GetPipeline();
    struct Slot
    {
        std::vector<DiagnosisColumn> batch;
        ColumnJudge::Prepared prepared;
        std::vector<ColumnVerdict> verdicts;
    };
    const auto decide = [&](Slot& slot) {
        judge.Decide(slot.batch, slot.prepared, slot.verdicts);
        slot.prepared.retired = {}; // freed here, beside the next Prepare
        for (size_t i = 0; i < slot.batch.size(); ++i) {
            tally.Add(slot.batch[i], slot.verdicts[i]);
            if (sink)
                sink(slot.batch[i], slot.verdicts[i]);
        }
    };
    CThreadFailure failure;
    bool ok = true;
    // One line while it runs, the count once a batch; the user may cancel between batches.
    CQrProgressWnd::Show(0, QString::fromUtf16(CQrProgressWnd::TitleProcess), kProgressJudging, nullptr, true);
    const struct HideProgress
    {
        ~HideProgress() { CQrProgressWnd::Hide(); }
    } hideProgress;
    size_t judged = 0;
    const auto read = [&](Slot& slot) {
        slot.batch.clear();
        if (!source.Next(slot.batch, pipeline.batch))
            return false;
        if (CQrProgressWnd::IsCanceling()) {
            ok = false;
            return false;
        }
        judge.Prepare(slot.batch, slot.prepared);
        judged += slot.batch.size();
        CQrProgressWnd::SetMsg(kProgressJudged.arg(judged));
        return true;
    };
    if (!pipeline.twoThreads) {
        Slot slot;
        while (read(slot))
            decide(slot);
        return ok;
    }

    // This thread reads and prepares batch n into slot n % kSlots while the worker decides the
    // batches before it in order; a batch's slot is taken again only once it is decided. The
    // worker, with nothing to decide, helps with the names this thread is analysing.
    constexpr size_t kSlots = 3;
    std::array<Slot, kSlots> turns;
    std::mutex mutex;
    std::condition_variable changed;
    size_t prepared = 0, decided = 0;
    bool closed = false, abandoned = false, workerEnded = false;
    judge.ShareNamesWith([&] {
        std::lock_guard lock(mutex);
        changed.notify_all();
    });
    const auto unshare = qScopeGuard([&] { judge.ShareNamesWith({}); });
    std::thread worker;
    std::atomic<bool> stop{false};
    {
        CJoinOnExit join(worker, stop);
        const auto close = qScopeGuard([&] {
            std::lock_guard lock(mutex);
            closed = true;
            abandoned = !ok || std::uncaught_exceptions() > 0; // a cancelled run's batches are not wanted
            changed.notify_all();
        });
        worker = std::thread([&] {
            failure.Run([&] {
                for (;;) {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return decided < prepared || closed || judge.NamesOffered(); });
                    if (abandoned || failure.Failed())
                        break;
                    if (judge.NamesOffered()) {
                        lock.unlock();
                        judge.HelpWithNames();
                        continue;
                    }
                    if (decided == prepared)
                        break; // closed, and every batch decided
                    Slot& slot = turns[decided % kSlots];
                    lock.unlock();
                    decide(slot);
                    lock.lock();
                    ++decided;
                    changed.notify_all();
                }
            });
            std::lock_guard lock(mutex);
            workerEnded = true;
            changed.notify_all();
        });
        for (;;) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return prepared - decided < kSlots || workerEnded; });
                if (workerEnded)
                    break;
            }
            if (!read(turns[prepared % kSlots]) || failure.Failed())
                break;
            std::lock_guard lock(mutex);
            ++prepared;
            changed.notify_all();
        }
    }
    failure.Rethrow();
    return ok;
}

bool BuildForConnectedArea(const QString& areaId, ColumnSource& source, ConformanceReport& report, QString& error,
                           const Sink& sink)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    CSqlBaseGate* gate = connection.OpenGate();
    ISqlExecutor* db = connection.Database();
    if (!gate || !db) {
        error = StandardTexts::kNotConnected;
        return false;
    }
    QString areaName;
    gate->SelectStandardAreaName(areaId, areaName);
    ConformanceAreaFacts facts;
    if (!Conformance::ReadAreaFacts(*gate, *db, areaId, facts, error))
        return false;
    const Pipeline pipeline = GetPipeline();
    ColumnJudge judge(areaId, facts, pipeline.maxNames, pipeline.sharedNamesFrom);
    const auto leave = qScopeGuard([&judge] {
        if (AnalyzeCommand::KeepHeapAtExit())
            judge.LeaveNamesAtExit();
    });
    DiagnosisTally tally;
    if (!Run(source, judge, tally, sink)) {
        error = kCancelled;
        return false;
    }
    if (const QString failure = source.Failure(); !failure.isEmpty()) {
        error = failure;
        return false;
    }
    report.areaId = areaId;
    report.areaName = areaName;
    tally.Finish(report);
    return true;
}

bool BuildForAnalysis(const CTermAnalysis& analysis, const ModelSource::AttributeList* model, ConformanceReport& report,
                      QString& error)
{
    if (model && model->Columns() > 0) {
        ModelColumns columns(*model);
        return BuildForConnectedArea(analysis.AreaId(), columns, report, error);
    }
    AnalysisColumns columns(analysis);
    return BuildForConnectedArea(analysis.AreaId(), columns, report, error);
}

ModelSource::ColumnFacts FactsOf(const DiagnosisColumn& column)
{
    return {column.schema, column.table, column.column, column.definition, column.keys};
}

Sink ScriptSink(FixScript::Writer& writer)
{
    return [&writer](const DiagnosisColumn& column, const ColumnVerdict& verdict) {
        writer.Add(FactsOf(column), column.comment, verdict.standard);
    };
}

bool BuildWithScript(const QString& areaId, ColumnSource& source, ConformanceReport& report, QString& error,
                     const ScriptRequest& script, ScriptOutcome& outcome)
{
    bool fed = false, built = false;
    outcome.written = FixScript::WriteFileUnlessFailed(
        script.path, script.options,
        [&](FixScript::Writer& writer) {
            fed = true;
            Sink sink = ScriptSink(writer);
            if (script.also)
                sink = [&writer, &script](const DiagnosisColumn& c, const ColumnVerdict& v) {
                    writer.Add(FactsOf(c), c.comment, v.standard);
                    script.also(c, v);
                };
            built = BuildForConnectedArea(areaId, source, report, error, sink);
            return built;
        },
        outcome.counts, outcome.error, script.plan);
    if (!fed) // the script could not be opened: the report still counts
        built = BuildForConnectedArea(areaId, source, report, error, script.also);
    return built;
}

bool WriteFixScript(const FixScriptHook::Request& request, FixScriptHook::Counts& counts, QString& error)
{
    if (!request.analysis || !request.model) {
        error = FixScriptHook::kNoWriter;
        return false;
    }
    ModelColumns columns(*request.model);
    ConformanceReport report;
    ScriptRequest script{request.path, {request.dialect, request.renameKeys}, {}, {}};
    if (request.plan)
        script.plan = [&request](const FixScript::PlanRow& row) { request.plan(FixScript::PlanCells(row)); };
    ScriptOutcome outcome;
    if (!BuildWithScript(request.analysis->AreaId(), columns, report, error, script, outcome))
        return false;
    counts = outcome.counts;
    error = outcome.error;
    return outcome.written;
}

} // namespace Diagnosis

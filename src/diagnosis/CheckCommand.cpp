#include "diagnosis/CheckCommand.h"

#include "analysis/TermAnalysis.h"
#include "components/AtomicFile.h"
#include "components/CommandArgs.h"
#include "components/PathGuard.h"
#include "components/QrProgressWnd.h"
#include "components/QrWordExtractor.h"
#include "components/Redact.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/EditionImpact.h"
#include "diagnosis/FixScript.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalyzeCommand.h"
#include "exchange/ExcelImport.h"
#include "exchange/ModelInput.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"
#include "standard/StandardTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <memory>

namespace CheckCommand {
namespace {

struct Options
{
    QStringList inputs;
    QString output, repo, area, dataDir, fixScript, since;
    AnalyzeCommand::Designations designations;
    AnalyzeCommand::ModelOptions model;
    bool renameKeys = false;
};

bool Parse(const QStringList& args, Options& o, QString& problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (AnalyzeCommand::TakeDesignation(args, i, o.designations, problem) ||
            AnalyzeCommand::TakeModelOption(args, i, o.model, problem)) {
            if (!problem.isEmpty())
                return false;
            continue;
        }
        if (a == QLatin1String("--rename-keys")) {
            o.renameKeys = true;
            continue;
        }
        QString input;
        QString* target = a == QLatin1String("--input")        ? &input
                          : a == QLatin1String("--fix-script") ? &o.fixScript
                          : a == QLatin1String("--output")     ? &o.output
                          : a == QLatin1String("--repo")       ? &o.repo
                          : a == QLatin1String("--area")       ? &o.area
                          : a == QLatin1String("--since")      ? &o.since
                          : a == QLatin1String("--data-dir")   ? &o.dataDir
                                                               : nullptr;
        if (!target) {
            problem = QStringLiteral("알 수 없는 인수입니다: %1").arg(RedactUri(a));
            return false;
        }
        if (!CommandArgs::TakeValue(args, i, *target, problem))
            return false;
        if (target == &input)
            o.inputs << input;
    }
    if (o.inputs.isEmpty() || o.output.isEmpty() || o.repo.isEmpty() || o.area.isEmpty()) {
        problem = QStringLiteral("--input, --repo, --area, --output이 모두 필요합니다");
        return false;
    }
    if (o.since == o.area) {
        problem = QStringLiteral("--since는 --area와 다른 분류체계여야 합니다: 같은 판끼리는 바뀐 판정이 없습니다");
        return false;
    }
    const QString suffix = QFileInfo(o.output).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("json")) {
        problem = QStringLiteral("--output은 .xlsx나 .json으로 끝나야 합니다");
        return false;
    }
    problem = AnalyzeCommand::InputProblem(o.inputs, o.designations, o.model);
    if (!problem.isEmpty())
        return false;
    if (!o.fixScript.isEmpty() && !ModelInput::IsModelInput(o.inputs)) {
        problem = QStringLiteral("--fix-script에는 --input으로 .sql 스크립트나 데이터베이스 URI가 필요합니다");
        return false;
    }
    if (!o.fixScript.isEmpty() && QFileInfo(o.fixScript).suffix().compare(QLatin1String("sql"), Qt::CaseInsensitive)) {
        problem = QStringLiteral("--fix-script는 .sql로 끝나야 합니다");
        return false;
    }
    std::vector<PathGuard::Named> inputs{{QStringLiteral("--repo"), o.repo}};
    for (const QString& input : o.inputs)
        inputs.push_back({QStringLiteral("--input"), input});
    problem = PathGuard::Clash(inputs,
                               {{QStringLiteral("--output"), o.output}, {QStringLiteral("--fix-script"), o.fixScript}});
    return problem.isEmpty();
}

// The subjects that concern the most columns, over every finding kind: where a clean-up pays
// most. A column without a logical name has no subject worth ranking.
void PrintTopFindings(const ConformanceReport& report, QTextStream& out)
{
    struct Top
    {
        int count, kind;
        qint64 first; // the order subjects came in, within a kind
        QString subject, replacement;
    };
    constexpr size_t kShown = 10;
    std::vector<Top> tops;
    for (int k = 0; k < eFindingCount; ++k) {
        if (k == eFindingNoLogicalName || k == eFindingPhysicalName)
            continue;
        QSet<QString> seen;
        qint64 order = 0;
        for (const ConformanceEntry& e : report.entries[size_t(k)])
            if (!seen.contains(e.subject)) {
                seen.insert(e.subject);
                tops.push_back({e.count, k, order++, e.subject, e.replacement});
            }
        if (report.spill)
            for (const ConformanceEntrySpill::Subject& s : report.spill->Top(k, kShown))
                tops.push_back({s.count, k, order + s.first, s.text, s.replacement});
    }
    if (tops.empty())
        return;
    // The most columns first; of equal counts, the order of the kinds and of the entries.
    std::sort(tops.begin(), tops.end(), [](const Top& a, const Top& b) {
        return a.count != b.count ? a.count > b.count : a.kind != b.kind ? a.kind < b.kind : a.first < b.first;
    });
    out << "top findings:\n";
    for (size_t i = 0; i < std::min(tops.size(), kShown); ++i) {
        const Top& t = tops[i];
        out << "  " << StandardTexts::kFindingNames[t.kind] << ' ' << t.subject;
        if (!t.replacement.isEmpty())
            out << " -> " << t.replacement;
        out << ": " << t.count << (t.count == 1 ? " column\n" : " columns\n");
    }
}

struct ConsoleProgress
{
    ConsoleProgress() { CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>()); }
    ~ConsoleProgress() { CQrProgressWnd::SetBackend(nullptr); }
};

// The term roles of the designation options.
const std::map<QString, int>& TermRoles()
{
    static const std::map<QString, int> roles = {
        {QStringLiteral("attr"), CTermAnalysis::RoleAttribute}, {QStringLiteral("column"), CTermAnalysis::RoleColumn},
        {QStringLiteral("type"), CTermAnalysis::RoleType},      {QStringLiteral("length"), CTermAnalysis::RoleLength},
        {QStringLiteral("scale"), CTermAnalysis::RoleScale},    {QStringLiteral("def"), CTermAnalysis::RoleDefinition},
        {QStringLiteral("ref"), CTermAnalysis::RoleReference}};
    return roles;
}

// A workbook or a term document into the engine (its sheet with the designations, or its
// targets); 0, or the exit status with the message written.
int ReadAttributeList(const Options& o, CTermAnalysis& engine, QTextStream& err)
{
    const QString& input = o.inputs.front();
    if (AnalysisDocument::IsDocumentPath(AnalysisDocument::Kind::Term, input)) {
        const AnalysisDocument::Outcome read = AnalysisDocument::Read(engine, input, [](const QString& areaId) {
            // The command line has no area selector: the repository must know the area.
            CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
            QString name;
            return gate && gate->SelectStandardAreaName(areaId, name) && !name.isEmpty();
        });
        if (!read.ok) {
            err << "termwise: " << input << ": " << read.message << "\n";
            return 1;
        }
        engine.SetSheet({}); // the targets are the columns
        return 0;
    }
    const QString suffix = QFileInfo(input).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("xls")) {
        err << "termwise: " << input << ": 입력은 .xlsx, .xls 또는 .ztst 파일이어야 합니다\n";
        return 1;
    }
    const ExcelImport::Outcome read = ExcelImport::Import(engine, input);
    if (!read.ok) {
        err << "termwise: " << input << ": " << read.message << " (" << read.detail << ")\n";
        return 1;
    }
    for (const auto& [option, column] : o.designations.columns) {
        const auto role = TermRoles().find(option);
        if (role != TermRoles().end())
            engine.Designations().Designate(role->second, column);
    }
    engine.SetExcludeFirstRow(o.designations.skipFirstRow);
    if (engine.Designations().Column(CTermAnalysis::RoleAttribute) < 0 ||
        engine.Designations().Column(CTermAnalysis::RoleType) < 0) {
        err << "termwise: " << TermTexts::kMissingRequired << "\n";
        return 1;
    }
    return 0;
}

bool WriteReport(const ConformanceReport& report, const QString& path, QString& error)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0)
        return Conformance::WriteJson(report, path, &error);
    return Conformance::WriteWorkbook(report, path, &error);
}

// The report, and with --fix-script the script written while the columns are judged; the
// script's changes go to the report's "보정 계획". False (the message written) when no report can
// be made; a script that cannot be written sets status and loses no report.
bool BuildReport(const Options& o, ColumnSource& source, ModelSource::Dialect dialect, const Diagnosis::Sink& also,
                 ConformanceReport& report, int& status, QTextStream& out, QTextStream& err)
{
    QString error;
    if (o.fixScript.isEmpty()) {
        if (Diagnosis::BuildForConnectedArea(o.area, source, report, error, also))
            return true;
        err << "termwise: " << error << "\n";
        return false;
    }
    // The plan of a script of millions of changes waits on disk for the report's writers.
    auto plan = std::make_shared<ConformanceRowSpill>();
    Diagnosis::ScriptRequest script{o.fixScript,
                                    {dialect, o.renameKeys},
                                    [&plan](const FixScript::PlanRow& row) { plan->Add(FixScript::PlanCells(row)); },
                                    also};
    Diagnosis::ScriptOutcome outcome;
    if (!Diagnosis::BuildWithScript(o.area, source, report, error, script, outcome)) {
        err << "termwise: " << error << "\n";
        return false;
    }
    if (!outcome.written) {
        err << "termwise: 수정 스크립트를 쓸 수 없습니다: " << o.fixScript << ": " << outcome.error << "\n";
        status = 1;
        return true;
    }
    report.planHeader = FixScript::PlanHeader();
    plan->Flush(); // a refused write shows before the reports are written from it
    report.planSpill = std::move(plan);
    const FixScript::Counts& counts = outcome.counts;
    out << "fix script: " << counts.renames << " renames, " << counts.comments << " comments, " << counts.leftOut
        << " left out, " << counts.typeNotes << " type notes\n";
    return true;
}

int Check(const Options& o, CRepositoryConnection& connection, QTextStream& out, QTextStream& err)
{
    CSqlBaseGate* gate = connection.OpenGate();
    QString areaName;
    if (!gate || !gate->SelectStandardAreaName(o.area, areaName) || areaName.isEmpty()) {
        err << "termwise: not exist standard system for analyze terms (" << o.area << ")\n";
        return 1;
    }
    // The older area is checked before the model is read: a wrong id costs no reading.
    std::unique_ptr<EditionImpact> impact;
    if (!o.since.isEmpty()) {
        impact = std::make_unique<EditionImpact>();
        QString error;
        if (!impact->Prepare(o.area, o.since, error)) {
            err << "termwise: " << error << "\n";
            return 1;
        }
    }
    // A process about to end leaves the model to the system, as `analyze` does.
    auto modelOnHeap = std::make_unique<ModelSource::AttributeList>();
    auto engineOnHeap = std::make_unique<CTermAnalysis>();
    const auto leave = qScopeGuard([&] {
        if (AnalyzeCommand::KeepHeapAtExit()) {
            (void)engineOnHeap.release();
            (void)modelOnHeap.release();
        }
    });
    ModelSource::AttributeList& model = *modelOnHeap;
    const bool fromModel = ModelInput::IsModelInput(o.inputs);
    const ModelInput::Request request{o.inputs, o.model.schemas, o.model.tables,
                                      ModelSource::DialectOfName(o.model.dialect)};
    std::unique_ptr<ColumnSource> source;
    CatalogColumns* catalog = nullptr;
    if (fromModel && ModelSource::IsDatabaseUri(o.inputs.front())) {
        // A catalog streams from its server beside the judging: no attribute list of the whole model.
        RepositoryUri uri;
        QString error;
        if (!CatalogReader::ParseUri(o.inputs.front(), uri, error)) {
            err << "termwise: " << ModelInput::DisplayName(request) << ": " << error << "\n";
            return 1;
        }
        CatalogReader::Options options;
        options.chunkColumns = Diagnosis::GetPipeline().batch;
        options.schemas = o.model.schemas;
        if (!o.model.tables.isEmpty())
            options.tables = o.model.tables;
        auto columns = std::make_unique<CatalogColumns>(uri, options);
        if (!columns->Start(error)) {
            err << "termwise: " << ModelInput::DisplayName(request) << ": " << error << "\n";
            return 1;
        }
        model.dialect = CatalogReader::DialectOf(uri.dbType);
        catalog = columns.get();
        source = std::move(columns);
    } else if (fromModel) {
        QString error;
        // Scripts hand their tables straight to the judge: no attribute list of the whole model.
        auto tables = std::make_unique<DdlReader::Tables>();
        const bool read = ModelInput::Read(request, model, error, tables.get());
        for (const QString& warning : model.warnings)
            err << "termwise: 경고: " << warning << "\n";
        if (!read) {
            err << "termwise: " << ModelInput::DisplayName(request) << ": " << error << "\n";
            return 1;
        }
        source = std::make_unique<ScriptColumns>(std::move(tables));
    } else {
        if (const int status = ReadAttributeList(o, *engineOnHeap, err))
            return status;
        source = std::make_unique<AnalysisColumns>(*engineOnHeap);
    }
    // The fix script's dialect: --dialect, else what the source speaks.
    ModelSource::Dialect dialect = ModelSource::DialectOfName(o.model.dialect);
    if (dialect == ModelSource::Dialect::Unknown)
        dialect = model.dialect;
    if (!o.fixScript.isEmpty() && dialect == ModelSource::Dialect::Unknown) {
        err << "termwise check: 스크립트만으로는 SQL 방언을 알 수 없습니다. --dialect "
               "oracle|postgresql|mysql|sqlite를 주십시오\n";
        return 2;
    }

    // Each output on its own: a report that cannot be written loses no fix script.
    int status = 0;
    ConformanceReport report;
    const Diagnosis::Sink also = impact ? impact->Sink() : Diagnosis::Sink();
    const bool built = BuildReport(o, *source, dialect, also, report, status, out, err);
    if (catalog) {
        for (const QString& warning : catalog->Warnings())
            err << "termwise: 경고: " << warning << "\n";
        model.tables = catalog->Tables();
    }
    if (!built)
        return 1;
    if (impact)
        impact->Finish(report);
    report.input = fromModel ? ModelInput::DisplayName(request) : QFileInfo(o.inputs.front()).fileName();
    if (fromModel)
        report.tables = model.tables;
    QString error;
    if (!WriteReport(report, o.output, error)) {
        err << "termwise: 보고서를 쓸 수 없습니다: " << NamingFile(o.output, error) << "\n";
        status = 1;
    }
    out << "columns: " << report.columns << " in " << report.tables
        << " tables, without logical name: " << report.columns - report.withLogicalName << "\n";
    out << "with logical name: " << report.withLogicalName << " (" << report.distinctNames << " distinct names)\n";
    out << "logical name conforming: " << report.logicalConforming << "\n";
    out << "physical name conforming: " << report.physicalConforming << "\n";
    out << "type conforming: " << report.typeConforming << "\n";
    out << "conforming: " << report.conforming << "\n";
    out << "rate: " << QString::number(report.Rate(), 'f', 1) << " %\n";
    for (int k = 0; k < eFindingCount; ++k)
        out << Conformance::FindingKey(k) << ": " << report.concerned[size_t(k)] << "\n";
    if (report.since)
        EditionImpact::PrintSummary(*report.since, out);
    PrintTopFindings(report, out);
    return status;
}

} // namespace

QString UsageText()
{
    return QStringLiteral(
        "usage: termwise check --input MODEL [--attr/--column/--def/--ref/--type/--length/--scale LETTER]\n"
        "                      [--skip-first-row] [--data-dir DIR] --repo URI --area ID --output REPORT\n"
        "                      [--schema NAME] [--tables PATTERN]\n"
        "                      [--fix-script FILE.sql [--dialect NAME] [--rename-keys]]\n"
        "                      [--since OLD]\n"
        "  --input MODEL   .xlsx or .xls attribute list, a term analysis document (.ztst), .sql DDL scripts\n"
        "                  (repeat --input) or a database URI (postgresql://, mysql://, sqlite:, oracle://)\n"
        "  --fix-script FILE.sql  the SQL that renames columns and sets comments to the standard (written, never run)\n"
        "  --rename-keys   let the fix script rename primary, foreign and referenced keys too\n"
        "  --dialect NAME  oracle, postgresql, mysql or sqlite: how the script is read and the fix script written\n"
        "  --since OLD     also judge every column against OLD, another area of the repository (an earlier\n"
        "                  edition): the report lists the columns whose verdict changes, and why\n"
        "  --output REPORT .xlsx (summary with a chart, one sheet per finding kind) or .json\n");
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Options o;
    QString problem;
    if (!Parse(args, o, problem)) {
        err << "termwise check: " << problem << "\n" << UsageText();
        return 2;
    }
    for (const QString& input : o.inputs)
        if (!ModelSource::IsDatabaseUri(input) && !QFileInfo(input).isFile()) {
            err << "termwise: " << input << ": 파일이 없습니다\n";
            return 1;
        }
    if (!o.dataDir.isEmpty()) {
        if (!QFileInfo(o.dataDir).isDir()) {
            err << "termwise: " << o.dataDir << ": 폴더가 없습니다\n";
            return 1;
        }
        qputenv("TERMWISE_DATA_DIR", QDir(o.dataDir).absolutePath().toUtf8());
    }
    ConsoleProgress progress;
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
    if (!extractor.IsInitialize())
        extractor.Initialize();
    CAnalyzeSettings::DestroyInstance();
    CAnalyzeSettings::Instance().Load();
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    QString error;
    if (!connection.Open(o.repo, &error)) {
        err << "termwise: " << RedactUri(o.repo) << ": " << error << "\n";
        return 1;
    }
    connection.OnRepositoryConnected();
    const int status = Check(o, connection, out, err);
    connection.OnRepositoryDisconnected();
    return status;
}

} // namespace CheckCommand

#include "standard/CheckCommand.h"

#include "analysis/TermAnalysis.h"
#include "components/AtomicFile.h"
#include "components/PathGuard.h"
#include "components/QrProgressWnd.h"
#include "components/QrWordExtractor.h"
#include "components/Redact.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalyzeCommand.h"
#include "exchange/ModelInput.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"
#include "standard/FixScript.h"
#include "standard/StandardTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QTextStream>
#include <algorithm>
#include <set>

namespace CheckCommand {
namespace {

struct Options
{
    QStringList inputs;
    QString output, repo, area, dataDir, fixScript;
    AnalyzeCommand::Designations designations;
    AnalyzeCommand::ModelOptions model;
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
        QString input;
        QString* target = a == QLatin1String("--input")        ? &input
                          : a == QLatin1String("--fix-script") ? &o.fixScript
                          : a == QLatin1String("--output")     ? &o.output
                          : a == QLatin1String("--repo")       ? &o.repo
                          : a == QLatin1String("--area")       ? &o.area
                          : a == QLatin1String("--data-dir")   ? &o.dataDir
                                                               : nullptr;
        if (!target) {
            problem = QStringLiteral("알 수 없는 인수입니다: %1").arg(RedactUri(a));
            return false;
        }
        if (i + 1 >= args.size()) {
            problem = QStringLiteral("%1 다음에 값이 필요합니다").arg(a);
            return false;
        }
        *target = args[++i];
        if (target == &input)
            o.inputs << input;
    }
    if (o.inputs.isEmpty() || o.output.isEmpty() || o.repo.isEmpty() || o.area.isEmpty()) {
        problem = QStringLiteral("--input, --repo, --area, --output이 모두 필요합니다");
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

// The subjects that concern the most attributes, over every finding kind: where a clean-up
// pays most.
void PrintTopFindings(const ConformanceReport& report, QTextStream& out)
{
    struct Top
    {
        int count, kind;
        const ConformanceEntry* entry;
    };
    std::vector<Top> tops;
    std::set<std::pair<int, QString>> seen;
    for (int k = 0; k < eFindingCount; ++k)
        for (const ConformanceEntry& e : report.entries[size_t(k)])
            if (seen.insert({k, e.subject}).second)
                tops.push_back({e.count, k, &e});
    if (tops.empty())
        return;
    std::stable_sort(tops.begin(), tops.end(), [](const Top& a, const Top& b) { return a.count > b.count; });
    constexpr size_t kShown = 10;
    out << "top findings:\n";
    for (size_t i = 0; i < std::min(tops.size(), kShown); ++i) {
        const Top& t = tops[i];
        out << "  " << StandardTexts::kFindingNames[t.kind] << ' ' << t.entry->subject;
        if (!t.entry->replacement.isEmpty())
            out << " -> " << t.entry->replacement;
        out << ": " << t.count << (t.count == 1 ? " attribute\n" : " attributes\n");
    }
}

struct ConsoleProgress
{
    ConsoleProgress() { CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>()); }
    ~ConsoleProgress() { CQrProgressWnd::SetBackend(nullptr); }
};

int Check(const Options& o, CRepositoryConnection& connection, QTextStream& out, QTextStream& err)
{
    CSqlBaseGate* gate = connection.OpenGate();
    QString areaName;
    if (!gate || !gate->SelectStandardAreaName(o.area, areaName) || areaName.isEmpty()) {
        err << "termwise: not exist standard system for analyze terms (" << o.area << ")\n";
        return 1;
    }
    // A process about to end leaves the engine and the model to the system, as `analyze` does.
    auto engineOnHeap = std::make_unique<CTermAnalysis>();
    auto modelOnHeap = std::make_unique<ModelSource::AttributeList>();
    const auto leave = qScopeGuard([&] {
        if (AnalyzeCommand::KeepHeapAtExit()) {
            (void)engineOnHeap.release();
            (void)modelOnHeap.release();
        }
    });
    CTermAnalysis& engine = *engineOnHeap;
    ModelSource::AttributeList& model = *modelOnHeap;
    bool fromDocument = false;
    if (const int status =
            AnalyzeCommand::LoadTermModel(engine, o.inputs, o.designations, o.model, err, fromDocument, &model))
        return status;
    // The fix script's dialect: --dialect, else what the source speaks.
    ModelSource::Dialect dialect = ModelSource::DialectOfName(o.model.dialect);
    if (dialect == ModelSource::Dialect::Unknown)
        dialect = model.dialect;
    if (!o.fixScript.isEmpty() && dialect == ModelSource::Dialect::Unknown) {
        err << "termwise check: 스크립트만으로는 SQL 방언을 알 수 없습니다. --dialect "
               "oracle|postgresql|mysql|sqlite를 주십시오\n";
        return 2;
    }
    engine.SetAreaId(o.area); // the area asked for, also over a document's own
    const CTermAnalysis::RunResult run = fromDocument ? engine.Analyze() : engine.Run();
    if (!run.ok) {
        err << "termwise: " << run.message << "\n";
        return 1;
    }
    ConformanceReport report;
    QString error;
    if (!Conformance::BuildForConnectedArea(engine, report, error)) {
        err << "termwise: " << error << "\n";
        return 1;
    }
    const bool fromModel = ModelInput::IsModelInput(o.inputs);
    report.input = fromModel ? ModelInput::DisplayName({o.inputs, {}, {}, {}}) : QFileInfo(o.inputs.front()).fileName();
    if (fromModel)
        report.model = ConformanceModelCounts{model.tables, model.Columns(), model.WithoutLogicalName()};
    bool written = false;
    if (QFileInfo(o.output).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0)
        written = AnalysisDocument::WriteFile(
            QJsonDocument(Conformance::ToJson(report)).toJson(QJsonDocument::Indented), o.output, &error);
    else
        written = Conformance::WriteWorkbook(report, o.output, &error);
    if (!written) {
        err << "termwise: 보고서를 쓸 수 없습니다: " << NamingFile(o.output, error) << "\n";
        return 1;
    }
    if (!o.fixScript.isEmpty()) {
        FixScript::Counts counts;
        if (!FixScript::Write(o.fixScript, engine, model, dialect, CAnalyzeSettings::Instance(), &report, counts,
                              error)) {
            err << "termwise: 수정 스크립트를 쓸 수 없습니다: " << o.fixScript << ": " << error << "\n";
            return 1;
        }
        out << "fix script: " << counts.renames << " renames, " << counts.comments << " comments, " << counts.leftOut
            << " left out, " << counts.typeNotes << " type notes\n";
    }
    if (fromModel)
        out << "columns: " << model.Columns() << " in " << model.tables
            << " tables, without logical name: " << model.WithoutLogicalName() << "\n";
    out << "attributes: " << report.attributes << "\n";
    out << "conforming: " << report.conforming << "\n";
    out << "rate: " << QString::number(report.Rate(), 'f', 1) << " %\n";
    for (int k = 0; k < eFindingCount; ++k)
        out << Conformance::FindingKey(k) << ": " << report.concerned[size_t(k)] << "\n";
    PrintTopFindings(report, out);
    return 0;
}

} // namespace

QString UsageText()
{
    return QStringLiteral(
        "usage: termwise check --input MODEL [--attr/--column/--def/--ref/--type/--length/--scale LETTER]\n"
        "                      [--skip-first-row] [--data-dir DIR] --repo URI --area ID --output REPORT\n"
        "                      [--schema NAME] [--tables PATTERN] [--fix-script FILE.sql [--dialect NAME]]\n"
        "  --input MODEL   .xlsx or .xls attribute list, a term analysis document (.ztst), .sql DDL scripts\n"
        "                  (repeat --input) or a database URI (postgresql://, mysql://, sqlite:, oracle://)\n"
        "  --fix-script FILE.sql  the SQL that renames columns and sets comments to the standard (written, never run)\n"
        "  --dialect NAME  oracle, postgresql, mysql or sqlite: how the script is read and the fix script written\n"
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

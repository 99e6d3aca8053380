#include "exchange/AnalyzeCommand.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "components/AtomicFile.h"
#include "components/CommandArgs.h"
#include "components/PathGuard.h"
#include "components/QrDatabaseManager.h"
#include "components/QrProgressWnd.h"
#include "components/QrWordExtractor.h"
#include "components/Redact.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalysisResultJson.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/ModelInput.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace AnalyzeCommand {
namespace {

struct Options
{
    QString kind;
    QString input; // the first of inputs
    QStringList inputs;
    ModelOptions model;
    QString output;
    QString dataDir;
    std::map<QString, int> columns; // option name ("attr", ...) -> column index
    bool skipFirstRow = false;
    QString repo;
    QString area;
};

// "A" -> 0, "AB" -> 27; -1 when not column letters.
int ColumnOfLetters(const QString& text)
{
    const QString letters = text.trimmed().toUpper();
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int n = 0;
    for (const QChar c : letters) {
        if (c < u'A' || c > u'Z')
            return -1;
        n = n * 26 + (c.unicode() - u'A' + 1);
    }
    return n - 1 < 16384 ? n - 1 : -1;
}

const QStringList kColumnOptions = {QStringLiteral("attr"), QStringLiteral("column"), QStringLiteral("def"),
                                    QStringLiteral("ref"),  QStringLiteral("type"),   QStringLiteral("length"),
                                    QStringLiteral("scale")};

std::optional<Options> ParseArgs(const QStringList& args, QString& problem)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& target) { return CommandArgs::TakeValue(args, i, target, problem); };
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o.kind.isEmpty()) {
                problem = QStringLiteral("알 수 없는 인수입니다: %1").arg(RedactUri(a));
                return std::nullopt;
            }
            o.kind = a;
            continue;
        }
        const QString name = a.mid(2);
        if (name == QLatin1String("input")) {
            QString input;
            if (!value(input))
                return std::nullopt;
            o.inputs << input;
            o.input = o.inputs.front();
        } else if (TakeModelOption(args, i, o.model, problem)) {
            if (!problem.isEmpty())
                return std::nullopt;
        } else if (name == QLatin1String("output")) {
            if (!value(o.output))
                return std::nullopt;
        } else if (name == QLatin1String("data-dir")) {
            if (!value(o.dataDir))
                return std::nullopt;
        } else if (name == QLatin1String("repo")) {
            if (!value(o.repo))
                return std::nullopt;
        } else if (name == QLatin1String("area")) {
            if (!value(o.area))
                return std::nullopt;
        } else if (name == QLatin1String("skip-first-row") || kColumnOptions.contains(name)) {
            Designations d{o.columns, o.skipFirstRow};
            TakeDesignation(args, i, d, problem);
            if (!problem.isEmpty())
                return std::nullopt;
            o.columns = d.columns;
            o.skipFirstRow = d.skipFirstRow;
        } else {
            problem = QStringLiteral("알 수 없는 옵션입니다: %1").arg(RedactUri(a));
            return std::nullopt;
        }
    }
    if (o.kind.isEmpty()) {
        problem = QStringLiteral("KIND(logical, physical, domain, term 중 하나)가 없습니다");
        return std::nullopt;
    }
    if (o.input.isEmpty() || o.output.isEmpty()) {
        problem = QStringLiteral("--input과 --output이 모두 필요합니다");
        return std::nullopt;
    }
    return o;
}

enum class OutputKind { Workbook, Document, Json, Unknown };

OutputKind OutputKindOf(const QString& path, AnalysisDocument::Kind kind)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xls"))
        return OutputKind::Workbook;
    if (suffix == QLatin1String("json"))
        return OutputKind::Json;
    if (suffix == AnalysisDocument::Extension(kind))
        return OutputKind::Document;
    return OutputKind::Unknown;
}

bool IsWorkbookPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("xlsx") || suffix == QLatin1String("xls");
}

// Role of each column option per kind; options not listed do not apply to the kind.
std::map<QString, int> RoleOptions(AnalysisDocument::Kind kind)
{
    switch (kind) {
    case AnalysisDocument::Kind::Logical:
        return {{QStringLiteral("attr"), WordAnalysis::RoleName},
                {QStringLiteral("def"), WordAnalysis::RoleDefinition},
                {QStringLiteral("column"), WordAnalysis::RoleOpposite},
                {QStringLiteral("ref"), WordAnalysis::RoleReference}};
    case AnalysisDocument::Kind::Physical:
        return {{QStringLiteral("column"), WordAnalysis::RoleName},
                {QStringLiteral("def"), WordAnalysis::RoleDefinition},
                {QStringLiteral("attr"), WordAnalysis::RoleOpposite},
                {QStringLiteral("ref"), WordAnalysis::RoleReference}};
    case AnalysisDocument::Kind::Domain:
        return {{QStringLiteral("attr"), DomainAnalysis::RoleAttribute},
                {QStringLiteral("column"), DomainAnalysis::RoleColumn},
                {QStringLiteral("type"), DomainAnalysis::RoleType},
                {QStringLiteral("length"), DomainAnalysis::RoleLength},
                {QStringLiteral("scale"), DomainAnalysis::RoleScale},
                {QStringLiteral("ref"), DomainAnalysis::RoleReference}};
    case AnalysisDocument::Kind::Term:
        break;
    }
    return {
        {QStringLiteral("attr"), CTermAnalysis::RoleAttribute}, {QStringLiteral("column"), CTermAnalysis::RoleColumn},
        {QStringLiteral("type"), CTermAnalysis::RoleType},      {QStringLiteral("length"), CTermAnalysis::RoleLength},
        {QStringLiteral("scale"), CTermAnalysis::RoleScale},    {QStringLiteral("def"), CTermAnalysis::RoleDefinition},
        {QStringLiteral("ref"), CTermAnalysis::RoleReference}};
}

// Each line says what it counts. "targets" is the listed targets, as totals.targets of the
// JSON result; the form's caption counts every target read, so both are shown.
void PrintWordSummary(const WordAnalysis& analysis, QTextStream& out)
{
    out << "targets: " << analysis.Results().size() << " listed of " << analysis.Inputs().size() << " read\n";
    out << "fully analysed: " << analysis.FullyAnalyzedCount() << " targets with every word known\n";
    out << "words: " << analysis.WordCount() << " in the listed targets, known: " << analysis.AnalyzedWordCount()
        << "\n";
    std::vector<std::pair<int, QString>> unknown;
    for (const auto& [word, info] : analysis.UnanalyzedWords())
        unknown.emplace_back(info.count, word);
    std::stable_sort(unknown.begin(), unknown.end(), [](auto& a, auto& b) { return a.first > b.first; });
    QStringList top;
    for (size_t i = 0; i < unknown.size() && i < 10; ++i)
        top << QStringLiteral("%1 (%2)").arg(unknown[i].second).arg(unknown[i].first);
    out << "top unknown words: " << (top.isEmpty() ? QStringLiteral("-") : top.join(QStringLiteral(", "))) << "\n";
}

void PrintDomainSummary(const DomainAnalysis& analysis, QTextStream& out)
{
    int keyDomainKnown = 0;
    for (const DomainAnalysis::DomainResult& result : analysis.Results())
        keyDomainKnown += result.status > 0 ? 1 : 0;
    out << "targets: " << analysis.Results().size() << " listed of " << analysis.Inputs().size() << " read\n";
    out << "key domain known: " << keyDomainKnown << " targets ending in a known class word\n";
    out << "domain found: " << analysis.FoundCount() << " targets with a matching domain\n";
    std::map<QString, int> byDomain; // key domain + type + length + scale without a domain
    for (const DomainAnalysis::DomainResult& result : analysis.Results())
        if (result.status == 1)
            ++byDomain[result.domainKey];
    std::vector<std::pair<int, QString>> missing;
    for (const auto& [key, count] : byDomain)
        missing.emplace_back(count, key);
    std::stable_sort(missing.begin(), missing.end(), [](auto& a, auto& b) { return a.first > b.first; });
    QStringList top;
    for (size_t i = 0; i < missing.size() && i < 10; ++i)
        top << QStringLiteral("%1 (%2)").arg(missing[i].second).arg(missing[i].first);
    out << "top missing domains: " << (top.isEmpty() ? QStringLiteral("-") : top.join(QStringLiteral(", "))) << "\n";
}

void PrintTermSummary(const CTermAnalysis& analysis, QTextStream& out)
{
    // The totals alone: the whole result as JSON would be built only to be dropped.
    const QJsonObject totals = analysis.TotalsJson();
    for (auto it = totals.constBegin(); it != totals.constEnd(); ++it)
        out << it.key() << ": " << it.value().toVariant().toString() << "\n";
}

// Reads the input into the engine and designates the columns; the message on failure.
// A .sql script or a database catalog; warnings (statements skipped) go to err.
int ReadModel(const Options& o, QTextStream& err, ModelSource::AttributeList& list)
{
    ModelInput::Request request{o.inputs, o.model.schemas, o.model.tables, ModelSource::DialectOfName(o.model.dialect)};
    QString error;
    const bool read = ModelInput::Read(request, list, error);
    for (const QString& warning : list.warnings)
        err << "termwise: 경고: " << warning << "\n";
    if (!read) {
        err << "termwise: " << ModelInput::DisplayName(request) << ": " << error << "\n";
        return BadInput;
    }
    return Ok;
}

template <class Engine>
int LoadInput(Engine& engine, AnalysisDocument::Kind kind, const Options& o, QTextStream& err, bool& fromDocument,
              ModelSource::AttributeList* model = nullptr)
{
    fromDocument = false;
    if (ModelInput::IsModelInput(o.inputs)) {
        ModelSource::AttributeList list;
        if (const int status = ReadModel(o, err, list); status != Ok)
            return status;
        engine.SetSheet(list.rows);
        ModelSource::Designate(int(kind), engine.Designations());
        engine.SetExcludeFirstRow(true);
        if constexpr (std::is_same_v<Engine, CTermAnalysis>) {
            if (model)
                *model = std::move(list);
        }
        return Ok;
    }
    if (AnalysisDocument::IsDocumentPath(kind, o.input)) {
        AnalysisDocument::Outcome read;
        if constexpr (std::is_same_v<Engine, CTermAnalysis>)
            read = AnalysisDocument::Read(engine, o.input, [&](const QString& areaId) {
                // The command line has no area selector: the repository must know the area.
                CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
                QString name;
                return gate && gate->SelectStandardAreaName(areaId, name) && !name.isEmpty();
            });
        else
            read = AnalysisDocument::Read(engine, o.input);
        if (!read.ok) {
            err << "termwise: " << o.input << ": " << read.message << "\n";
            return BadInput;
        }
        fromDocument = true;
        return Ok;
    }
    if (!IsWorkbookPath(o.input)) {
        err << "termwise: " << o.input << ": 입력은 .xlsx, .xls 또는 ." << AnalysisDocument::Extension(kind)
            << " 파일이어야 합니다\n";
        return BadInput;
    }
    const ExcelImport::Outcome read = ExcelImport::Import(engine, o.input);
    if (!read.ok) {
        err << "termwise: " << o.input << ": " << read.message << " (" << read.detail << ")\n";
        return BadInput;
    }
    const std::map<QString, int> roles = RoleOptions(kind);
    for (const auto& [option, column] : o.columns)
        engine.Designations().Designate(roles.at(option), column);
    engine.SetExcludeFirstRow(o.skipFirstRow);
    return Ok;
}

template <class Engine>
int WriteOutput(const Engine& engine, AnalysisDocument::Kind kind, const Options& o, QTextStream& err)
{
    QString error;
    bool ok = false;
    switch (OutputKindOf(o.output, kind)) {
    case OutputKind::Workbook:
        if constexpr (std::is_same_v<Engine, CTermAnalysis>)
            ok = ExcelExport::Write(ExcelExport::Rows(engine), o.output, &error);
        else
            ok = ExcelExport::Write(engine, o.output, &error);
        break;
    case OutputKind::Document:
        ok = AnalysisDocument::Save(engine, o.output, &error);
        break;
    case OutputKind::Json:
        if constexpr (std::is_same_v<Engine, CTermAnalysis>)
            ok = AnalysisDocument::WriteFile(AnalysisResultJsonBytes(engine.ToJson()), o.output, &error);
        else
            ok = SaveAnalysisResultJson(engine, o.output, &error);
        break;
    case OutputKind::Unknown:
        break;
    }
    if (!ok) {
        err << "termwise: 결과를 쓸 수 없습니다: " << NamingFile(o.output, error) << "\n";
        return BadInput;
    }
    return Ok;
}

// The sheet has done its work once the targets are built; a large one would otherwise sit
// beside the targets and results until the end.
template <class Engine> auto BuildAndAnalyze(Engine& engine)
{
    auto built = engine.BuildTargets();
    if (!built.ok)
        return built;
    engine.SetSheet({});
    return engine.Analyze();
}

template <class Engine>
int RunEngine(Engine& engine, AnalysisDocument::Kind kind, const Options& o, QTextStream& out, QTextStream& err)
{
    bool fromDocument = false;
    if (const int status = LoadInput(engine, kind, o, err, fromDocument); status != Ok)
        return status;
    const auto run = fromDocument ? engine.Analyze() : BuildAndAnalyze(engine);
    if (!run.ok) {
        err << "termwise: " << run.message << "\n";
        return BadInput;
    }
    if (const int status = WriteOutput(engine, kind, o, err); status != Ok)
        return status;
    if constexpr (std::is_same_v<Engine, DomainAnalysis>)
        PrintDomainSummary(engine, out);
    else if constexpr (std::is_same_v<Engine, CTermAnalysis>)
        PrintTermSummary(engine, out);
    else
        PrintWordSummary(engine, out);
    return Ok;
}

bool g_keepHeap = false;

// A process about to end leaves a large engine to the system instead of freeing it entry by entry.
template <class Engine> int RunOnHeap(AnalysisDocument::Kind kind, const Options& o, QTextStream& out, QTextStream& err)
{
    auto engine = std::make_unique<Engine>();
    const int status = RunEngine(*engine, kind, o, out, err);
    if (g_keepHeap)
        (void)engine.release();
    return status;
}

// Restores the progress back end of the caller.
struct ConsoleProgress
{
    ConsoleProgress() { CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>()); }
    ~ConsoleProgress() { CQrProgressWnd::SetBackend(nullptr); }
};

} // namespace

bool TakeDesignation(const QStringList& args, int& i, Designations& designations, QString& problem)
{
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--")))
        return false;
    const QString name = a.mid(2);
    if (name == QLatin1String("skip-first-row")) {
        designations.skipFirstRow = true;
        return true;
    }
    if (!kColumnOptions.contains(name))
        return false;
    if (i + 1 >= args.size()) {
        problem = QStringLiteral("%1 다음에 값이 필요합니다").arg(a);
        return true;
    }
    const QString letters = args[++i];
    const int column = ColumnOfLetters(letters);
    if (column < 0) {
        problem =
            QStringLiteral("%1에는 컬럼 문자(A, B, ... XFD)를 주십시오 (\"%2\"은(는) 쓸 수 없습니다)").arg(a, letters);
        return true;
    }
    for (const auto& [other, held] : designations.columns)
        if (held == column) {
            problem = QStringLiteral("컬럼 %1이(가) --%2와 %3에 함께 주어졌습니다").arg(letters, other, a);
            return true;
        }
    designations.columns[name] = column;
    return true;
}

bool TakeModelOption(const QStringList& args, int& i, ModelOptions& options, QString& problem)
{
    const QString& a = args[i];
    QString* target = nullptr;
    QString schema;
    if (a == QLatin1String("--schema"))
        target = &schema;
    else if (a == QLatin1String("--tables"))
        target = &options.tables;
    else if (a == QLatin1String("--dialect"))
        target = &options.dialect;
    else
        return false;
    if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
        problem = QStringLiteral("%1 다음에 값이 필요합니다").arg(a);
        return true;
    }
    *target = args[++i];
    if (target == &schema)
        options.schemas << schema;
    if (target == &options.dialect && ModelSource::DialectOfName(options.dialect) == ModelSource::Dialect::Unknown)
        problem =
            QStringLiteral("--dialect에는 oracle, postgresql, mysql, sqlite 중 하나를 주십시오 (\"%1\"은(는) 쓸 수 "
                           "없습니다)")
                .arg(options.dialect);
    return true;
}

QString InputProblem(const QStringList& inputs, const Designations& designations, const ModelOptions& options)
{
    if (!ModelInput::IsModelInput(inputs)) {
        if (inputs.size() > 1)
            return QStringLiteral("--input은 한 번만 줍니다 (.sql 스크립트만 여러 번 줄 수 있습니다)");
        if (!options.schemas.isEmpty() || !options.tables.isEmpty())
            return QStringLiteral("--schema와 --tables는 데이터베이스 URI에만 씁니다");
        return QString();
    }
    if (!designations.columns.empty() || designations.skipFirstRow)
        return QStringLiteral("컬럼 지정은 .sql 스크립트나 데이터베이스 URI에 쓸 수 없습니다: 그 컬럼은 이미 "
                              "정해져 있습니다");
    return ModelInput::UsageProblem({inputs, options.schemas, options.tables, ModelSource::Dialect::Unknown});
}

QString UsageText()
{
    return QStringLiteral(
        "usage: termwise analyze logical|physical|domain|term --input FILE [options] --output FILE\n"
        "  --input FILE          .xlsx or .xls attribute list, or the kind's document (.ztsl/.ztsp/.ztsd/.ztst);\n"
        "                        or .sql DDL scripts (repeat --input: read as one script), or a database URI\n"
        "                        (postgresql://, mysql://, sqlite:, oracle://) read from its catalog\n"
        "  --schema NAME         catalog schema to read (repeatable; default: the connection's current schema)\n"
        "  --tables PATTERN      catalog tables to read (SQL LIKE without regard to case, e.g. TB_%)\n"
        "  --dialect NAME        the script's dialect (oracle, postgresql, mysql, sqlite) instead of the guess\n"
        "  --output FILE         .xlsx export, the kind's document, or .json result\n"
        "  --attr/--column/--def/--ref/--type/--length/--scale LETTER   column designations (A, B, ...)\n"
        "  --skip-first-row      leave out the first sheet row (a header)\n"
        "  --data-dir DIR        common data folder (dictionary in DIR/standard/termwise.json)\n"
        "  --repo URI --area ID  repository and standard area (term analysis)\n");
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString problem;
    const std::optional<Options> parsed = ParseArgs(args, problem);
    if (!parsed) {
        err << "termwise analyze: " << problem << "\n" << UsageText();
        return Usage;
    }
    const Options& o = *parsed;
    AnalysisDocument::Kind kind;
    if (o.kind == QLatin1String("logical"))
        kind = AnalysisDocument::Kind::Logical;
    else if (o.kind == QLatin1String("physical"))
        kind = AnalysisDocument::Kind::Physical;
    else if (o.kind == QLatin1String("domain"))
        kind = AnalysisDocument::Kind::Domain;
    else if (o.kind == QLatin1String("term"))
        kind = AnalysisDocument::Kind::Term;
    else {
        err << "termwise analyze: 알 수 없는 KIND입니다: \"" << RedactUri(o.kind) << "\"\n" << UsageText();
        return Usage;
    }
    if (const QString problem = InputProblem(o.inputs, {o.columns, o.skipFirstRow}, o.model); !problem.isEmpty()) {
        err << "termwise analyze: " << problem << "\n";
        return Usage;
    }
    std::vector<PathGuard::Named> inputs{{QStringLiteral("--repo"), o.repo}};
    for (const QString& input : o.inputs)
        inputs.push_back({QStringLiteral("--input"), input});
    if (const QString clash = PathGuard::Clash(inputs, {{QStringLiteral("--output"), o.output}}); !clash.isEmpty()) {
        err << "termwise analyze: " << clash << "\n";
        return Usage;
    }
    const std::map<QString, int> roles = RoleOptions(kind);
    for (const auto& [option, column] : o.columns)
        if (!roles.count(option)) {
            err << "termwise analyze: --" << option << "은(는) " << o.kind << " 분석에 쓸 수 없습니다\n";
            return Usage;
        }
    const bool term = kind == AnalysisDocument::Kind::Term;
    if (!term && (!o.repo.isEmpty() || !o.area.isEmpty())) {
        err << "termwise analyze: --repo와 --area는 용어 분석(term)에만 씁니다\n";
        return Usage;
    }
    if (term && o.repo.isEmpty()) {
        err << "termwise analyze term: --repo URI가 필요합니다\n";
        return Usage;
    }
    if (term && o.area.isEmpty() && !AnalysisDocument::IsDocumentPath(kind, o.input)) {
        err << "termwise analyze term: 통합 문서를 입력으로 하면 --area ID가 필요합니다\n";
        return Usage;
    }
    if (OutputKindOf(o.output, kind) == OutputKind::Unknown) {
        err << "termwise analyze: --output은 .xlsx, ." << AnalysisDocument::Extension(kind)
            << " 또는 .json으로 끝나야 합니다\n";
        return Usage;
    }
    for (const QString& input : o.inputs)
        if (!ModelSource::IsDatabaseUri(input) && !QFileInfo(input).isFile()) {
            err << "termwise: " << input << ": 파일이 없습니다\n";
            return BadInput;
        }
    if (!o.dataDir.isEmpty()) {
        if (!QFileInfo(o.dataDir).isDir()) {
            err << "termwise: " << o.dataDir << ": 폴더가 없습니다\n";
            return BadInput;
        }
        qputenv("TERMWISE_DATA_DIR", QDir(o.dataDir).absolutePath().toUtf8());
    }
    ConsoleProgress progress;
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
    if (!extractor.IsInitialize())
        extractor.Initialize();
    CAnalyzeSettings::DestroyInstance(); // the dictionary of the data folder just chosen
    CAnalyzeSettings::Instance().Load();
    InitializeDictionaryDatabase();

    if (term) {
        CRepositoryConnection& repository = CRepositoryConnection::Instance();
        QString error;
        if (!repository.Open(o.repo, &error)) {
            err << "termwise: " << RedactUri(o.repo) << ": " << error << "\n";
            return BadInput;
        }
        repository.OnRepositoryConnected();
        CTermAnalysis engine;
        if (!o.area.isEmpty()) {
            QString name;
            CSqlBaseGate* gate = repository.OpenGate();
            if (!gate || !gate->SelectStandardAreaName(o.area, name) || name.isEmpty()) {
                err << "termwise: " << ExchangeTexts::kNoStandardArea << " (" << o.area << ")\n";
                repository.OnRepositoryDisconnected();
                return BadInput;
            }
            engine.SetAreaId(o.area);
        }
        const int status = RunEngine(engine, kind, o, out, err);
        repository.OnRepositoryDisconnected();
        return status;
    }
    switch (kind) {
    case AnalysisDocument::Kind::Logical:
        return RunOnHeap<LogicalWordAnalysis>(kind, o, out, err);
    case AnalysisDocument::Kind::Physical:
        return RunOnHeap<PhysicalWordAnalysis>(kind, o, out, err);
    default:
        return RunOnHeap<DomainAnalysis>(kind, o, out, err);
    }
}

void SetKeepHeapAtExit(bool keep)
{
    g_keepHeap = keep;
}

bool KeepHeapAtExit()
{
    return g_keepHeap;
}

} // namespace AnalyzeCommand

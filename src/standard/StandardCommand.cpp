#include "standard/StandardCommand.h"

#include "components/CommandArgs.h"
#include "components/PathGuard.h"
#include "components/QrDatatype.h"
#include "components/QrWordExtractor.h"
#include "components/Redact.h"
#include "repository/ColumnLimits.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/PublicStandardReader.h"
#include "standard/StandardImport.h"
#include "standard/StandardTexts.h"
#include "standard/StandardValidation.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace StandardCommand {
namespace {

struct Options
{
    QString repo, area, areaName, dataDir;
    bool replace = false;
    bool builtin = false;
    QString edition; // --builtin KEY; the default edition when empty
    bool allowPartial = false;
    QStringList files;
};

bool Parse(const QStringList& args, Options& o, QString& problem)
{
    if (args.isEmpty() || args.front() != QLatin1String("import")) {
        // "diff" is handled before parsing (RunDiff).
        problem = args.isEmpty() ? QStringLiteral("하위 명령 import가 없습니다")
                                 : QStringLiteral("알 수 없는 하위 명령입니다: %1").arg(RedactUri(args.front()));
        return false;
    }
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& target) { return CommandArgs::TakeValue(args, i, target, problem); };
        if (a == QLatin1String("--repo")) {
            if (!value(o.repo))
                return false;
        } else if (a == QLatin1String("--area")) {
            if (!value(o.area))
                return false;
        } else if (a == QLatin1String("--area-name")) {
            if (!value(o.areaName))
                return false;
        } else if (a == QLatin1String("--data-dir")) {
            if (!value(o.dataDir))
                return false;
        } else if (a == QLatin1String("--replace")) {
            o.replace = true;
        } else if (a == QLatin1String("--builtin")) {
            o.builtin = true;
            // An edition's key may follow ("--builtin 7"); a file of that name may not.
            if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")) &&
                BuiltinStandard::Find(args[i + 1]) && !QFileInfo::exists(args[i + 1]))
                o.edition = args[++i];
        } else if (a == QLatin1String("--allow-partial")) {
            o.allowPartial = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("알 수 없는 옵션입니다: %1").arg(RedactUri(a));
            return false;
        } else {
            o.files << a;
        }
    }
    const bool repo = !o.repo.isEmpty() || !o.area.isEmpty() || !o.areaName.isEmpty() || o.replace;
    if (repo == !o.dataDir.isEmpty()) {
        problem = QStringLiteral("--repo URI --area ID와 --data-dir DIR 중 하나만 주십시오");
        return false;
    }
    if (repo && (o.repo.isEmpty() || o.area.isEmpty())) {
        problem = QStringLiteral("--repo URI와 --area ID는 함께 주어야 합니다");
        return false;
    }
    if (o.builtin && !o.files.isEmpty()) {
        problem = QStringLiteral("--builtin과 FILES 중 하나만 주십시오");
        return false;
    }
    if (!o.builtin && o.files.isEmpty()) {
        problem = QStringLiteral("파일이 없습니다: 통합 문서 하나, 또는 CSV 파일 세 개(또는 --builtin)를 주십시오");
        return false;
    }
    // The repository is written: a SQLite file given as a standard file too would be replaced.
    std::vector<PathGuard::Named> files;
    for (const QString& file : o.files)
        files.push_back({QStringLiteral("FILES"), file});
    problem = PathGuard::Clash(files, {{QStringLiteral("--repo"), o.repo}});
    return problem.isEmpty();
}

void PrintProblem(const PublicStandardProblem& p, QTextStream& out)
{
    out << "  " << p.Text() << "\n";
}

void PrintProblems(const StandardImportSummary& summary, QTextStream& out)
{
    if (summary.problems.empty())
        return;
    out << "rows not taken or taken with a gap: " << summary.problems.size() << "\n";
    for (const PublicStandardProblem& p : summary.problems)
        PrintProblem(p, out);
}

// A refusal of the whole edition: why, and the rows that make it (the first ones, when many).
int Refuse(const QString& why, const std::vector<PublicStandardProblem>& rows, QTextStream& err)
{
    constexpr size_t kShown = 50;
    err << "termwise: " << why << "\n";
    for (size_t i = 0; i < rows.size() && i < kShown; ++i)
        PrintProblem(rows[i], err);
    if (rows.size() > kShown)
        err << "  ... 외 " << rows.size() - kShown << "건\n";
    err << "termwise: 아무것도 쓰지 않았습니다\n";
    return 1;
}

} // namespace

QString UsageText()
{
    return QStringLiteral(
               "usage: termwise standard import (--repo URI --area ID [--area-name NAME] [--replace] | --data-dir "
               "DIR)\n"
               "                                [--allow-partial] (--builtin | FILES...)\n"
               "  FILES               the common standard workbook, or its three CSV files (UTF-8 or CP949)\n"
               "  --builtin [KEY]     an edition that ships with the program: %1 (the default), or KEY (%2)\n"
               "  --repo URI --area ID  load into this standard area of the repository (created when missing)\n"
               "  --area-name NAME    name of the area\n"
               "  --replace           bring the area to this edition: rows the edition changed or withdrew are closed\n"
               "                      (kept as history), the area's own registrations are kept\n"
               "  --data-dir DIR      load the words and domains into the local analysis dictionary of DIR\n"
               "  --allow-partial     take a file that is not whole (numbering with gaps, cut inside a row, no rows)\n"
               "       termwise standard diff OLD NEW [--output FILE.xlsx|FILE.json]\n"
               "  OLD, NEW            an edition file (a workbook, or its CSV files joined by \",\"), builtin:KEY, or\n"
               "                      --repo URI --area ID (a repository area's current standards)\n")
        .arg(BuiltinStandard::kEdition, BuiltinStandard::Keys());
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty() && args.front() == QLatin1String("diff"))
        return RunDiff(args.mid(1), out, err);
    Options o;
    QString problem;
    if (!Parse(args, o, problem)) {
        err << "termwise standard: " << problem << "\n" << UsageText();
        return 2;
    }
    PublicStandard standard;
    QString error;
    if (!(o.builtin ? BuiltinStandard::Read(*BuiltinStandard::Find(o.edition), standard, error)
                    : PublicStandardReader::Read(o.files, standard, error))) {
        err << "termwise: " << error << "\n";
        return 1;
    }
    const bool repo = !o.repo.isEmpty();
    const StandardValidation::Admission admission = StandardValidation::Admit(standard, repo, o.allowPartial);
    if (!admission.refusal.isEmpty()) {
        const QString hint =
            admission.refusal == StandardTexts::kNotWhole ? StandardTexts::kAllowPartialHint : QString();
        return Refuse(admission.refusal + hint, admission.rows, err);
    }

    StandardImportSummary summary;
    if (!repo) {
        if (!QFileInfo(o.dataDir).isDir()) {
            err << "termwise: " << o.dataDir << ": 폴더가 없습니다\n";
            return 1;
        }
        qputenv("TERMWISE_DATA_DIR", QDir(o.dataDir).absolutePath().toUtf8());
        CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
        if (!extractor.IsInitialize())
            extractor.Initialize();
        CAnalyzeSettings::DestroyInstance();
        const std::vector<PublicStandardProblem> bad =
            StandardValidation::ForDictionary(standard, CColumnLimits::Bundled(GlobalEnum::DBMS_SQLITE));
        if (!bad.empty())
            return Refuse(StandardTexts::kDictionaryCannotHold, bad, err);
        CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        settings.Load();
        StandardImport::ImportIntoDictionary(settings, standard, summary);
        QDir().mkpath(QFileInfo(CAnalyzeSettings::SettingsPath()).absolutePath());
        if (!settings.Save()) {
            err << "termwise: 사전을 저장할 수 없습니다: " << settings.SaveError() << "\n";
            return 1;
        }
        out << "dictionary: " << CAnalyzeSettings::SettingsPath() << "\n";
        out << "standard words: " << summary.words << "\n";
        out << "non-standard words: " << summary.nonStandardWords << "\n";
        out << "domains: " << summary.domains << "\n";
        PrintProblems(summary, out);
        return 0;
    }

    // The area's defaults come from the dictionary of the common data folder.
    CAnalyzeSettings::Instance().Load();
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    if (!connection.Open(o.repo, &error)) {
        err << "termwise: " << RedactUri(o.repo) << ": " << error << "\n";
        return 1;
    }
    connection.OnRepositoryConnected();
    CSqlBaseGate* gate = connection.OpenGate();
    ISqlExecutor* db = connection.Database();
    if (!gate || !db) {
        err << "termwise: " << RedactUri(o.repo)
            << ": 이 데이터베이스를 저장소로 쓸 수 없습니다 (맞는 게이트웨이가 없습니다)\n";
        connection.OnRepositoryDisconnected();
        return 1;
    }
    const std::vector<PublicStandardProblem> bad =
        StandardValidation::ForRepository(standard, CColumnLimits::Read(*db), o.area, o.areaName);
    if (!bad.empty()) {
        connection.OnRepositoryDisconnected();
        return Refuse(StandardTexts::kRepositoryCannotHold, bad, err);
    }
    const StandardImport::AreaOptions options{o.area, o.areaName, o.replace, 0};
    const StandardImport::Outcome outcome =
        StandardImport::ImportIntoRepository(*db, *gate, standard, options, summary, error);
    connection.OnRepositoryDisconnected();
    if (outcome != StandardImport::Outcome::Imported) {
        err << "termwise: ";
        if (outcome == StandardImport::Outcome::Failed)
            err << "공통표준을 가져오지 못했습니다. 아무것도 바뀌지 않았습니다: ";
        err << error << "\n";
        PrintProblems(summary, err);
        return 1;
    }
    PrintRepositorySummary(o.area, summary, o.replace, out);
    return 0;
}

void PrintRepositorySummary(const QString& area, const StandardImportSummary& summary, bool replace, QTextStream& out)
{
    out << "area: " << area << "\n";
    if (replace)
        out << "closed rows of the earlier edition: " << summary.closedRows << "\n";
    if (summary.upgrade) {
        // What bringing the area to this edition did, per kind of row.
        for (const auto& [name, c] :
             {std::pair{"words", &summary.wordChanges},
              std::pair{"synonyms and forbidden words", &summary.nonStandardChanges},
              std::pair{"domains", &summary.domainChanges}, std::pair{"terms", &summary.termChanges}})
            out << name << ": added " << c->added << ", changed " << c->changed << ", withdrawn " << c->withdrawn
                << ", unchanged " << c->unchanged << ", kept (the area's own) " << c->kept << "\n";
    }
    out << "standard words: " << summary.words << "\n";
    out << "non-standard words: " << summary.nonStandardWords << "\n";
    out << "domain groups: " << summary.domainGroups << "\n";
    out << "domains: " << summary.domains << "\n";
    out << "terms: " << summary.terms << "\n";
    out << "word combinations: " << summary.combinations << "\n";
    PrintProblems(summary, out);
}

bool LoadBuiltinIntoRepository(ISqlExecutor& database, CSqlBaseGate& gate, QString& printed, QString& error)
{
    PublicStandard standard;
    if (!BuiltinStandard::Read(standard, error))
        return false;
    CAnalyzeSettings::Instance().Load(); // as the import command takes the area's defaults
    StandardImportSummary summary;
    const StandardImport::AreaOptions options{BuiltinStandard::kAreaId, BuiltinStandard::kAreaName, false, 0};
    if (StandardImport::ImportIntoRepository(database, gate, standard, options, summary, error) !=
        StandardImport::Outcome::Imported)
        return false;
    QTextStream out(&printed);
    out << "common standard: " << BuiltinStandard::kEdition << "\n";
    PrintRepositorySummary(options.areaId, summary, false, out);
    return true;
}

} // namespace StandardCommand

// termwise standard diff OLD NEW [--output FILE.xlsx|FILE.json]
#include "components/CommandArgs.h"
#include "components/Redact.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/StandardCommand.h"
#include "standard/StandardDiff.h"

#include <QFileInfo>
#include <QTextStream>

namespace StandardCommand {
namespace {

struct Source
{
    enum class Type { Files, Builtin, Area } type = Type::Files;
    QString value; // the files joined by ",", the edition key, or the area id
    QString repo;
};

QString DiffUsage()
{
    return QStringLiteral("usage: termwise standard diff OLD NEW [--output FILE.xlsx|FILE.json]\n"
                          "  OLD, NEW  an edition file (a workbook, or its three CSV files joined by \",\"),\n"
                          "            builtin:KEY (%1), or --repo URI --area ID\n")
        .arg(BuiltinStandard::Keys());
}

bool Parse(const QStringList& args, std::vector<Source>& sources, QString& output, QString& problem)
{
    QString repo;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& target) { return CommandArgs::TakeValue(args, i, target, problem); };
        if (a == QLatin1String("--output")) {
            if (!value(output))
                return false;
        } else if (a == QLatin1String("--repo")) {
            if (!value(repo))
                return false;
        } else if (a == QLatin1String("--area")) {
            Source s{Source::Type::Area, {}, repo};
            if (!value(s.value))
                return false;
            if (repo.isEmpty()) {
                problem = QStringLiteral("--area 앞에 --repo URI를 주십시오");
                return false;
            }
            sources.push_back(s);
        } else if (a.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("알 수 없는 옵션입니다: %1").arg(RedactUri(a));
            return false;
        } else if (a == QLatin1String("builtin") || a.startsWith(QLatin1String("builtin:"))) {
            if (!BuiltinStandard::Find(a)) {
                problem =
                    QStringLiteral("내장 공통표준에 %1이(가) 없습니다 (있는 판: %2)").arg(a, BuiltinStandard::Keys());
                return false;
            }
            sources.push_back({Source::Type::Builtin, a, {}});
        } else {
            sources.push_back({Source::Type::Files, a, {}});
        }
    }
    if (sources.size() != 2) {
        problem = QStringLiteral("비교할 두 판(OLD NEW)을 주십시오");
        return false;
    }
    if (!output.isEmpty() && !output.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) &&
        !output.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)) {
        problem = QStringLiteral("--output은 .xlsx나 .json 파일이어야 합니다: %1").arg(output);
        return false;
    }
    return true;
}

bool Load(const Source& s, PublicStandard& out, QString& label, QString& error)
{
    switch (s.type) {
    case Source::Type::Builtin: {
        const BuiltinStandard::Edition& e = *BuiltinStandard::Find(s.value);
        label = e.name;
        return BuiltinStandard::Read(e, out, error);
    }
    case Source::Type::Files: {
        const QStringList files = s.value.split(u',', Qt::SkipEmptyParts);
        QStringList names;
        for (const QString& f : files)
            names << QFileInfo(f).fileName();
        label = names.join(QStringLiteral(", "));
        return PublicStandardReader::Read(files, out, error);
    }
    case Source::Type::Area:
        break;
    }
    label = QStringLiteral("%1 분류체계 %2").arg(RedactUri(s.repo), s.value);
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    if (!connection.Open(s.repo, &error)) {
        error = RedactUri(s.repo) + QStringLiteral(": ") + error;
        return false;
    }
    connection.OnRepositoryConnected();
    ISqlExecutor* db = connection.Database();
    const bool ok = db && StandardDiff::ReadArea(*db, s.value, out, error);
    if (!db)
        error = QStringLiteral("%1: 저장소로 쓸 수 없는 데이터베이스입니다").arg(RedactUri(s.repo));
    connection.OnRepositoryDisconnected();
    if (ok && out.words.empty() && out.terms.empty() && out.domains.empty()) {
        error = QStringLiteral("분류체계 %1에 현재 표준이 없습니다").arg(s.value);
        return false;
    }
    return ok;
}

} // namespace

int RunDiff(const QStringList& args, QTextStream& out, QTextStream& err)
{
    std::vector<Source> sources;
    QString output, problem;
    if (!Parse(args, sources, output, problem)) {
        err << "termwise standard diff: " << problem << "\n" << DiffUsage();
        return 2;
    }
    CAnalyzeSettings::Instance().Load(); // the data types of an area's domains are named from it
    PublicStandard before, after;
    QString oldLabel, newLabel, error;
    if (!Load(sources[0], before, oldLabel, error) || !Load(sources[1], after, newLabel, error)) {
        err << "termwise: " << error << "\n";
        return 1;
    }
    StandardDiff::Result result = StandardDiff::Compare(before, after);
    result.oldLabel = oldLabel;
    result.newLabel = newLabel;
    if (!output.isEmpty()) {
        const bool ok = output.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)
                            ? StandardDiff::WriteJson(result, output, error)
                            : StandardDiff::WriteWorkbook(result, output, error);
        if (!ok) {
            err << "termwise: " << error << "\n";
            return 1;
        }
    }
    out << StandardDiff::SummaryText(result);
    if (!output.isEmpty())
        out << "output: " << output << "\n";
    return 0;
}

} // namespace StandardCommand

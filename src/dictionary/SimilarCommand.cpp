#include "dictionary/SimilarCommand.h"

#include "components/JsonTextWriter.h"
#include "components/QrGlobalUtil.h"
#include "components/Redact.h"
#include "settings/AnalyzeSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

namespace SimilarCommand {

namespace {
const char* const kUsage = "usage: termwise similar logical|physical [--data-dir DIR] --output FILE.json";
}

bool Parse(const QStringList& args, Options& options, QString& error)
{
    options = Options();
    bool haveView = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--data-dir") || arg == QLatin1String("--output")) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" 다음에 값이 필요합니다");
                return false;
            }
            (arg == QLatin1String("--output") ? options.output : options.dataDir) = args[++i];
        } else if (!haveView && (arg == QLatin1String("logical") || arg == QLatin1String("physical"))) {
            options.view = arg == QLatin1String("logical") ? SimilarWords::View::Logical : SimilarWords::View::Physical;
            haveView = true;
        } else {
            error = QStringLiteral("알 수 없는 인수입니다: \"%1\"").arg(RedactUri(arg));
            return false;
        }
    }
    if (!haveView) {
        error = QStringLiteral("logical과 physical 중 어느 쪽을 볼지 주십시오");
        return false;
    }
    if (options.output.isEmpty()) {
        error = QStringLiteral("--output FILE.json이 필요합니다");
        return false;
    }
    return true;
}

int Run(const Options& options, QString& error)
{
    const QString path = options.dataDir.isEmpty()
                             ? CAnalyzeSettings::SettingsPath()
                             : QDir(options.dataDir).filePath(QStringLiteral("standard/termwise.json"));
    // The settings loader keeps defaults on a missing or broken file, which here would
    // quietly report an empty review; say what is wrong instead.
    QFile file(path);
    if (!file.exists()) {
        error = QStringLiteral("사전 파일이 없습니다: %1").arg(QDir::toNativeSeparators(path));
        return 1;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("%1 파일을 읽을 수 없습니다: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return 1;
    }
    {
        // Dropped before the dictionary is loaded, so the two never sit in memory together.
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
            error = QStringLiteral("%1은(는) 사전 파일이 아닙니다: %2")
                        .arg(QDir::toNativeSeparators(path), parseError.error != QJsonParseError::NoError
                                                                 ? parseError.errorString()
                                                                 : QStringLiteral("JSON 객체가 아닙니다"));
            return 1;
        }
    }
    file.close();

    CAnalyzeSettings settings;
    settings.LoadFrom(path);
    const WordIndex& byPhysical = settings.m_mapWordsByPhysical;
    const WordIndex& byLogical = settings.m_mapWordsByLogical;
    const QStringList names = SimilarWords::CollectNames(options.view, byPhysical, byLogical);

    // The groups go to the file as they are found: a dictionary of look-alike names can have
    // far more similar pairs than fit in memory at once.
    const auto write = [&](CJsonTextWriter& writer) {
        writer.BeginObject();
        writer.Key(u"groups");
        writer.BeginArray();
        const auto item = [&](const QString& name) {
            writer.Member(u"name", name);
            writer.Member(u"partners", SimilarWords::PartnersText(options.view, name, byPhysical, byLogical));
        };
        const auto group = [&](SimilarWords::Group&& found) {
            writer.BeginObject();
            item(found.name);
            writer.Key(u"similar");
            writer.BeginArray();
            for (const QString& similar : found.similar) {
                writer.BeginObject();
                item(similar);
                writer.EndObject();
            }
            writer.EndArray();
            writer.EndObject();
            return !writer.Failed(); // a full disk need not wait for the end
        };
        SimilarWords::ComputeGroups(options.view, names, SimilarWords::ProgressWindow(), 0, group);
        writer.EndArray();
        writer.EndObject();
    };
    if (!SaveJsonFile(options.output, write, &error)) {
        error = QStringLiteral("파일을 쓸 수 없습니다: ") + error;
        return 1;
    }
    return 0;
}

} // namespace SimilarCommand

int RunSimilarCommand(const QStringList& args)
{
    SimilarCommand::Options options;
    QString error;
    if (!SimilarCommand::Parse(args, options, error)) {
        std::fprintf(stderr, "termwise similar: %s\n%s\n", qPrintable(error), SimilarCommand::kUsage);
        return 2;
    }
    const int status = SimilarCommand::Run(options, error);
    if (status != 0)
        std::fprintf(stderr, "termwise similar: %s\n", qPrintable(error));
    return status;
}

#include "dictionary/ShareCommand.h"

#include "components/AtomicFile.h"
#include "components/Redact.h"
#include "dictionary/DictionaryManage.h"
#include "dictionary/ShareSync.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QDir>
#include <QFile>

namespace ShareCommand {

namespace {

const char* const kUsage =
    "usage: termwise share download|upload --repo URI [--excluded] [--prefer local|server] [--data-dir DIR]";

void Summary(QTextStream& out, const char* what, const ShareResult& r, bool upload)
{
    out << what << ": " << r.added << (upload ? " uploaded new, " : " added, ") << r.changed << " changed, " << r.kept
        << " kept, " << r.unchanged << " unchanged, " << r.refused << " refused\n";
}

// Closes "AR" however the run ends.
struct ConnectionGuard
{
    ~ConnectionGuard() { CRepositoryConnection::Instance().OnRepositoryDisconnected(); }
};

} // namespace

bool Parse(const QStringList& args, Options& options, QString& error)
{
    options = Options();
    bool haveAction = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--repo") || arg == QLatin1String("--prefer") || arg == QLatin1String("--data-dir")) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" 다음에 값이 필요합니다");
                return false;
            }
            const QString value = args[++i];
            if (arg == QLatin1String("--repo"))
                options.repo = value;
            else if (arg == QLatin1String("--data-dir"))
                options.dataDir = value;
            else
                options.prefer = value;
        } else if (arg == QLatin1String("--excluded")) {
            options.excluded = true;
        } else if (!haveAction && (arg == QLatin1String("download") || arg == QLatin1String("upload"))) {
            options.upload = arg == QLatin1String("upload");
            haveAction = true;
        } else {
            error = QStringLiteral("알 수 없는 인수입니다: \"%1\"").arg(RedactUri(arg));
            return false;
        }
    }
    if (!haveAction) {
        error = QStringLiteral("download와 upload 중 하나를 주십시오");
        return false;
    }
    if (options.repo.isEmpty()) {
        error = QStringLiteral("--repo URI가 필요합니다");
        return false;
    }
    if (!options.prefer.isEmpty() && options.prefer != QLatin1String("local") &&
        options.prefer != QLatin1String("server")) {
        error = QStringLiteral("--prefer에는 local이나 server를 주십시오 (\"%1\"은(는) 쓸 수 없습니다)")
                    .arg(options.prefer);
        return false;
    }
    return true;
}

int Run(const Options& options, QTextStream& out, QTextStream& err)
{
    const QString path = options.dataDir.isEmpty()
                             ? CAnalyzeSettings::SettingsPath()
                             : QDir(options.dataDir).filePath(QStringLiteral("standard/termwise.json"));
    if (options.upload && !QFile::exists(path)) {
        err << "termwise share: 사전 파일이 없습니다: " << QDir::toNativeSeparators(path) << "\n";
        return 1;
    }
    CAnalyzeSettings dictionary;
    dictionary.LoadFrom(path);

    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    QString error;
    if (!connection.Open(options.repo, &error)) {
        err << "termwise share: " << error << "\n";
        return 1;
    }
    ConnectionGuard guard;
    connection.OnRepositoryConnected();
    if (!GlobalFunc::IsExistArAnanlyzeTables()) {
        err << "termwise share: 저장소에 공유 분석 테이블(STD_ANLY_WORD, STD_ANLY_DOMAIN, STD_ANLY_EXCEPT)이 "
               "없습니다. 이 테이블이 있는 PostgreSQL이나 Oracle 저장소만 공유할 수 있으며, SQLite는 공유할 수 "
               "없습니다\n";
        return 1;
    }
    CSqlBaseGate* gate = connection.OpenGate();

    // "보류" keeps the entry of the side being written.
    ShareChoice choice = options.upload ? kPreferServer : kPreferLocal;
    if (options.prefer == QLatin1String("local"))
        choice = kPreferLocal;
    else if (options.prefer == QLatin1String("server"))
        choice = kPreferServer;
    CConflictResolver resolver([choice](const ShareConflict&) { return ShareAnswer{choice, true}; });

    std::vector<std::pair<const char*, ShareResult>> results;
    if (!options.upload) {
        if (options.excluded) {
            results.emplace_back("excluded words", ShareSync::DownloadExceptWords(dictionary, gate));
            results.emplace_back("excluded domains", ShareSync::DownloadExceptDomains(dictionary, gate));
        } else {
            results.emplace_back("words", ShareSync::DownloadWords(dictionary, gate, resolver));
            results.emplace_back("domains", ShareSync::DownloadDomains(dictionary, gate, resolver));
        }
        DictionaryManage::DropExcludedInUse(dictionary);
    } else if (options.excluded) {
        auto [words, domains] =
            ShareSync::UploadExcluded(dictionary.m_setExceptWords, dictionary.m_setExceptDomains, gate);
        results.emplace_back("excluded words", std::move(words));
        results.emplace_back("excluded domains", std::move(domains));
    } else {
        auto [words, domains] =
            ShareSync::UploadWordsAndDomains(dictionary.m_mapWordsByPhysical, dictionary.m_mapDomains, gate, resolver);
        results.emplace_back("words", std::move(words));
        results.emplace_back("domains", std::move(domains));
    }

    bool ok = true;
    int stored = 0;
    for (const auto& [what, result] : results) {
        for (const QString& line : result.lines)
            out << line << "\n";
        ok = ok && result.ok;
        stored += result.added + result.changed;
    }
    for (const auto& [what, result] : results)
        Summary(out, what, result, options.upload);
    out.flush();

    // What was merged is kept even when a later part failed.
    if (!options.upload && !dictionary.SaveTo(path)) {
        err << "termwise share: 사전을 저장할 수 없습니다: " << NamingFile(path, dictionary.SaveError()) << "\n";
        return 1;
    }
    if (!ok) {
        // An upload is one transaction: it stored some of its entries only when rows were refused.
        err << "termwise share: 저장소가 오류를 알렸습니다(위 참조). "
            << (!options.upload ? "내려받기가 끝까지 되지 않았습니다\n"
                : stored == 0   ? "저장소에는 아무것도 저장되지 않았습니다\n"
                                : "일부 항목을 올리지 못했습니다\n");
        return 1;
    }
    return 0;
}

} // namespace ShareCommand

int RunShareCommand(const QStringList& args)
{
    QTextStream out(stdout), err(stderr);
    ShareCommand::Options options;
    QString error;
    if (!ShareCommand::Parse(args, options, error)) {
        err << "termwise share: " << error << "\n" << ShareCommand::kUsage << "\n";
        return 2;
    }
    return ShareCommand::Run(options, out, err);
}

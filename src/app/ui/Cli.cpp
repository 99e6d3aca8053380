#include "app/ui/Cli.h"

#include "app/ui/InstanceServer.h"
#include "app/ui/MainFrame.h"
#include "app/ui/WordmereApp.h"
#include "components/OutputLog.h"
#include "components/Platform.h"
#include "components/QrProgressWnd.h"
#include "components/Redact.h"
#include "components/ResourceTexts.h"
#include "diagnosis/CheckCommand.h"
#include "dictionary/ShareCommand.h"
#include "dictionary/SimilarCommand.h"
#include "exchange/AnalyzeCommand.h"
#include "registration/RegisterCommand.h"
#include "repository/RepositoryInit.h"
#include "standard/StandardCommand.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>

namespace termwise {
namespace {

int RunAnalyze(const QStringList& args)
{
    // A large list fills a few hundred megabytes of small blocks on two threads. Growing the heap
    // a page at a time meant tens of thousands of system calls, each stopping the other thread's
    // page faults; in 64 MB steps it is a handful. Only touched pages count, so the peak stays.
    mallopt(M_TOP_PAD, 64 << 20);
    int status = 0;
    {
        QTextStream out(stdout), err(stderr);
        AnalyzeCommand::SetKeepHeapAtExit(true);
        status = AnalyzeCommand::Run(args, out, err);
    }
    // Everything is written and flushed: end without tearing down the dictionary, the engine
    // and the application object, which takes longer than the analysis of a large list.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

int RunStandard(const QStringList& args)
{
    QTextStream out(stdout), err(stderr);
    return StandardCommand::Run(args, out, err);
}

int RunRepo(const QStringList& args)
{
    return RunRepositoryCommand(args, StandardCommand::LoadBuiltinIntoRepository);
}

int RunCheck(const QStringList& args)
{
    // As RunAnalyze: a national model is a large list, and its teardown is left to the system.
    mallopt(M_TOP_PAD, 64 << 20);
    int status = 0;
    {
        QTextStream out(stdout), err(stderr);
        AnalyzeCommand::SetKeepHeapAtExit(true);
        status = CheckCommand::Run(args, out, err);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

// One line per sub-command; add new ones here.
const SubCommand kSubCommands[] = {
    {"analyze", RunAnalyze,
     "analyze logical|physical|domain|term --input FILE [--attr/--column/--def/--ref/--type/--length/--scale LETTER]\n"
     "                [--skip-first-row] [--data-dir DIR] [--repo URI --area ID] --output FILE.xlsx|.zts?|.json",
     AnalyzeCommand::UsageText},
    {"similar", RunSimilarCommand,
     "similar logical|physical [--data-dir DIR] --output FILE.json   similar-word review as JSON", nullptr},
    {"send", RunSend, "send CODE FILE   hand an analysis request to the running program", nullptr},
    {"repo", RunRepo,
     "repo init URI [--demo [--demo-web-pages URL]] [--standard]   create the repository tables (and demo\n"
     "                standards, and the built-in public common standard as area PUB)",
     nullptr},
    {"share", RunShareCommand,
     "share download|upload --repo URI [--excluded] [--prefer local|server] [--data-dir DIR]\n"
     "                share the analysis dictionary through the repository",
     nullptr},
    {"register", RunRegisterCommand,
     "register words|domains --repo URI --area ID --input FILE [--dry-run]   register standards from a list", nullptr},
    {"standard", RunStandard,
     "standard import (--repo URI --area ID [--area-name NAME] [--replace] | --data-dir DIR) [--allow-partial]\n"
     "                (--builtin | FILES...)   load the public common standard (the built-in edition, a workbook\n"
     "                or three CSV files)",
     StandardCommand::UsageText},
    {"check", RunCheck,
     "check --input MODEL [designations] --repo URI --area ID --output REPORT.xlsx|.json\n"
     "                conformance of a model to a standard area",
     CheckCommand::UsageText},
};

bool AsksForHelp(const QStringList& args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

void PrintHelp(const SubCommand& c)
{
    const QString text = c.help ? c.help() : QStringLiteral("usage: termwise %1\n").arg(QString::fromUtf8(c.usage));
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

// A sub-command's run, ended by a lack of memory with a message instead of an abort.
int RunGuarded(const SubCommand& c, const QStringList& args)
{
    try {
        return c.run(args);
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        std::fprintf(stderr, "\ntermwise %s: %s\n", c.name, ResourceText::NoMemory().toLocal8Bit().constData());
        return 1;
    }
}

void PrintUsage(FILE* out)
{
    std::fprintf(out, "usage: termwise                      start the desktop program\n");
    for (const SubCommand& c : kSubCommands)
        std::fprintf(out, "       termwise %s\n", c.usage);
    std::fprintf(out, "       termwise --repo URI   start the desktop program connected to a repository\n");
    std::fprintf(out, "       termwise --version | --help\n");
}

int RunGui(int argc, char** argv, const QString& repositoryUri = QString())
{
    // Qt WebEngine (the proposal pages) needs shared GL contexts, set before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quarro.termwise"));
    CWordmereApp theApp;
    if (!theApp.InitInstance()) {
        if (!repositoryUri.isEmpty())
            std::fprintf(stderr, "termwise: 이미 실행 중입니다. 실행 중인 창의 \"A/R 연결\" 명령으로 연결하십시오\n");
        return 0; // the running copy came forward
    }
    // a failure goes to the output pane and leaves the window disconnected
    if (!repositoryUri.isEmpty())
        theApp.MainFrame()->ConnectRepositoryUri(repositoryUri);
    const int rc = app.exec();
    theApp.ExitInstance();
    return rc;
}

QString DecodeRequestFile(const QByteArray& bytes)
{
    // UTF-16 with a byte-order mark, else UTF-8 (with or without one)
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto decode = QStringDecoder(QStringDecoder::Utf16, QStringDecoder::Flag::Default);
        return decode(bytes);
    }
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    return decode(bytes);
}
} // namespace

int RunSend(const QStringList& args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: termwise send CODE FILE\n");
        return 2;
    }
    bool ok = false;
    const int code = args[0].toInt(&ok);
    if (!ok || code < 0 || code > 4) {
        std::fprintf(stderr, "termwise send: CODE는 0에서 4까지입니다 (\"%s\"은(는) 쓸 수 없습니다)\n",
                     qPrintable(args[0]));
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "termwise send: %s 파일을 읽을 수 없습니다: %s\n", qPrintable(args[1]),
                     qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    if (qsizetype(bytes.size()) > qsizetype(CInstanceServer::kMaxTextBytes / 2)) {
        std::fprintf(stderr, "termwise send: %s 파일이 너무 큽니다\n", qPrintable(args[1]));
        return 1;
    }
    const QString text = DecodeRequestFile(bytes);
    QString why;
    if (!CInstanceServer::SendFrame(CInstanceServer::DefaultName(), code, text, 5000, &why)) {
        std::fprintf(stderr, "termwise send: %s\n", qPrintable(why));
        return 1;
    }
    return 0;
}

int RunMain(int argc, char** argv)
{
    // Past a file-size limit a write fails and its writer says so; the signal would end the
    // process silently with a partial file left behind.
    Platform::IgnoreFileSizeSignal();
    if (argc <= 1)
        return RunGui(argc, argv);
    // Every password given, in whatever form, is hidden in all this process prints, the
    // drivers' own lines included.
    for (int i = 1; i < argc; ++i)
        RememberSecretsIn(QString::fromLocal8Bit(argv[i]));
    RememberSecret(qEnvironmentVariable("TERMWISE_DB_PASSWORD"));
    Platform::FilterStandardStreams(RedactBytes);
    const char* first = argv[1];
    if (std::strcmp(first, "--version") == 0) {
        std::printf("termwise %s\n", TERMWISE_VERSION);
        return 0;
    }
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(first, "--repo") == 0) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: termwise --repo URI\n");
            return 2;
        }
        return RunGui(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    for (const SubCommand& c : kSubCommands) {
        if (std::strcmp(first, c.name) != 0)
            continue;
        QCoreApplication app(argc, argv);
        OutputLog::SetSink({}); // stderr
        CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>());
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        if (AsksForHelp(args)) {
            PrintHelp(c);
            return 0;
        }
        const int rc = RunGuarded(c, args);
        CQrProgressWnd::SetBackend(nullptr);
        return rc;
    }
    std::fprintf(stderr, "termwise: 알 수 없는 명령입니다: \"%s\"\n",
                 RedactUri(QString::fromLocal8Bit(first)).toLocal8Bit().constData());
    PrintUsage(stderr);
    return 2;
}

} // namespace termwise

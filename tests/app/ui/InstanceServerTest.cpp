#include "app/ui/InstanceServer.h"
#include "ShellTestEnv.h"
#include "app/ui/AnalysisEngine.h"
#include "app/ui/Cli.h"
#include "app/ui/MainFrame.h"
#include "app/ui/WordmereApp.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Runs work on another thread while this one keeps the event loop (and so the server) going.
template <typename F> void RunBeside(F work, int timeoutMs = 10000)
{
    std::unique_ptr<QThread> t(QThread::create(work)); // a QThread: sockets need one
    t->start();
    QElapsedTimer timer;
    timer.start();
    while (!t->isFinished() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    t->wait();
}
} // namespace

TEST(InstanceFrame, DecodeHandlesPartialOddAndBadFrames)
{
    const QString text = QStringLiteral("{\"속성\":\"고객번호\"}");
    const QByteArray frame = CInstanceServer::EncodeFrame(2, text);
    int code = -9;
    QString out;
    qsizetype used = 0;
    ASSERT_EQ(CInstanceServer::DecodeFrame(frame, &code, &out, &used), CInstanceServer::Parse::Done);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out, text);
    EXPECT_EQ(used, frame.size());

    struct Case
    {
        const char* name;
        QByteArray bytes;
        CInstanceServer::Parse expected;
        QString text;
    };
    auto header = [](qint32 c, quint32 n) {
        QByteArray h("ZTW1");
        h.append(reinterpret_cast<const char*>(&c), 4); // the test machine is little-endian
        h.append(reinterpret_cast<const char*>(&n), 4);
        return h;
    };
    const Case cases[] = {
        {"empty", QByteArray(), CInstanceServer::Parse::NeedMore, {}},
        {"half a header", frame.left(6), CInstanceServer::Parse::NeedMore, {}},
        {"half the text", frame.left(frame.size() - 3), CInstanceServer::Parse::NeedMore, {}},
        {"wrong magic", QByteArray("HTTP/1.1 GET"), CInstanceServer::Parse::Bad, {}},
        {"wrong magic early", QByteArray("GE"), CInstanceServer::Parse::Bad, {}},
        {"too large", header(1, CInstanceServer::kMaxTextBytes + 2), CInstanceServer::Parse::Bad, {}},
        {"odd byte count", header(1, 5) + QByteArray("a\0b\0c", 5), CInstanceServer::Parse::Done, "ab"},
        {"text ends at zero", header(1, 6) + QByteArray("a\0\0\0b\0", 6), CInstanceServer::Parse::Done, "a"},
        {"no text", header(0, 0), CInstanceServer::Parse::Done, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        out.clear();
        EXPECT_EQ(CInstanceServer::DecodeFrame(c.bytes, &code, &out, &used), c.expected);
        if (c.expected == CInstanceServer::Parse::Done) {
            EXPECT_EQ(out, c.text);
        }
    }
}

TEST(InstanceServer, SecondStartActivatesTheFirst)
{
    ResetAnalysisEngineForTests();
    const QString name = QStringLiteral("termwise-test-single");
    CWordmereApp first(name);
    ASSERT_TRUE(first.InitInstance());
    first.MainFrame()->showMinimized();
    QSignalSpy activated(first.Server(), &CInstanceServer::ActivateRequested);

    CInstanceServer::ListenResult second = CInstanceServer::ListenResult::Listening;
    RunBeside([&] {
        CInstanceServer s;
        second = s.Listen(name);
    });
    EXPECT_EQ(second, CInstanceServer::ListenResult::OtherInstance);
    QTRY_COMPARE(activated.count(), 1);
    EXPECT_FALSE(first.MainFrame()->windowState() & Qt::WindowMinimized);
}

TEST(InstanceServer, SecondProgramExitsWithoutAWindow)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../termwise");
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "termwise not built beside the tests";
    ResetAnalysisEngineForTests();
    CWordmereApp first; // the real name, in the test's private runtime folder
    ASSERT_TRUE(first.InitInstance());
    QSignalSpy activated(first.Server(), &CInstanceServer::ActivateRequested);
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), ShellRuntimeDir());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(activated.count(), 1);
}

TEST(InstanceServer, StaleSocketIsTakenOver)
{
    const QString name = QStringLiteral("termwise-test-stale");
    QString path;
    {
        QLocalServer probe;
        ASSERT_TRUE(probe.listen(name));
        path = probe.fullServerName();
    }
    // a socket file nobody listens on, as a crashed copy leaves behind
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(path);
    ASSERT_LT(size_t(p.size()), sizeof(addr.sun_path));
    memcpy(addr.sun_path, p.constData(), size_t(p.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));

    CInstanceServer server;
    EXPECT_EQ(server.Listen(name), CInstanceServer::ListenResult::Listening);
}

TEST(InstanceServer, RequestsArriveAndUnknownCodesAreRefused)
{
    const QString name = QStringLiteral("termwise-test-requests");
    CInstanceServer server;
    ASSERT_EQ(server.Listen(name), CInstanceServer::ListenResult::Listening);
    QSignalSpy received(&server, &CInstanceServer::RequestReceived);
    const QString json = QStringLiteral("{\"attributes\":[\"고객번호\",\"주문일자\"]}");
    bool ok = false;
    bool refused = true;
    QString why;
    RunBeside([&] {
        ok = CInstanceServer::SendFrame(name, 1, json);
        refused = !CInstanceServer::SendFrame(name, 9, QStringLiteral("x"), 3000, &why);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(why.isEmpty());
    QTRY_COMPARE(received.count(), 1);
    EXPECT_EQ(received[0][0].toInt(), 1);
    EXPECT_EQ(received[0][1].toString(), json);

    // A large request (60 MB of UTF-16) arrives whole within the usual time limits.
    const QString large(30 * 1024 * 1024, u'가');
    RunBeside([&] { ok = CInstanceServer::SendFrame(name, 2, large, 3000, &why); });
    EXPECT_TRUE(ok) << why.toStdString();
    QTRY_COMPARE(received.count(), 2);
    EXPECT_EQ(received[1][1].toString().size(), large.size());

    // nothing listening: a clear failure, quickly
    EXPECT_FALSE(CInstanceServer::SendFrame(QStringLiteral("termwise-test-nobody"), 1, json, 1000, &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(InstanceServer, SendCommandChecksItsArgumentsAndSendsUtf16Files)
{
    QTemporaryDir dir;
    const QString utf8 = dir.filePath(QStringLiteral("req8.json"));
    WriteTextFile(utf8, QStringLiteral("{\"a\":\"논리명\"}"));
    const QString utf16 = dir.filePath(QStringLiteral("req16.json"));
    {
        QFile f(utf16);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QString t = QStringLiteral("{\"b\":\"물리명\"}");
        f.write("\xFF\xFE", 2);
        f.write(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
    }
    struct Case
    {
        QStringList args;
        int rc;
    };
    const Case usage[] = {
        {{}, 2},
        {{QStringLiteral("1")}, 2},
        {{QStringLiteral("x"), utf8}, 2},
        {{QStringLiteral("5"), utf8}, 2},
        {{QStringLiteral("-1"), utf8}, 2},
        {{QStringLiteral("1"), dir.filePath(QStringLiteral("missing.json"))}, 1},
        {{QStringLiteral("1"), utf8}, 1}, // no program running
    };
    for (const Case& c : usage)
        EXPECT_EQ(termwise::RunSend(c.args), c.rc) << c.args.join(u' ').toStdString();

    CInstanceServer server;
    ASSERT_EQ(server.Listen(CInstanceServer::DefaultName()), CInstanceServer::ListenResult::Listening);
    QSignalSpy received(&server, &CInstanceServer::RequestReceived);
    int rc8 = -1, rc16 = -1;
    RunBeside([&] {
        rc8 = termwise::RunSend({QStringLiteral("0"), utf8});
        rc16 = termwise::RunSend({QStringLiteral("2"), utf16});
    });
    EXPECT_EQ(rc8, 0);
    EXPECT_EQ(rc16, 0);
    QTRY_COMPARE(received.count(), 2);
    EXPECT_EQ(received[0][1].toString(), QStringLiteral("{\"a\":\"논리명\"}"));
    EXPECT_EQ(received[1][0].toInt(), 2);
    EXPECT_EQ(received[1][1].toString(), QStringLiteral("{\"b\":\"물리명\"}"));
}

// The logical-name extraction against a chat-completions service played by a loopback server
// that this test starts: the request it receives and the dialog's handling of each answer.
#include "assistants/AssistantTexts.h"
#include "assistants/ChatCompletionClient.h"
#include "assistants/ui/ChatGPTLogicalNameExtractor.h"
#include "components/OutputLog.h"
#include "settings/AnalyzeSettings.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("sk-test-4f9c2d7e1a");

// Answers one HTTP request per connection with the next prepared response; records requests.
class FakeChatService : public QObject
{
public:
    struct Request
    {
        QByteArray method, path, authorization;
        QJsonObject body;
    };
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool silent = false; // never answers (timeout)
    };

    FakeChatService()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnData(socket); });
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/v1/chat/completions").arg(m_server.serverPort()); }

    // The service's response shape around the assistant's text.
    static Response Answer(const QString& content)
    {
        const QJsonObject message{{"role", "assistant"}, {"content", content}};
        const QJsonObject choice{{"index", 0}, {"message", message}, {"finish_reason", "stop"}};
        const QJsonObject body{{"id", "chatcmpl-1"}, {"object", "chat.completion"}, {"choices", QJsonArray{choice}}};
        return {200, QJsonDocument(body).toJson(QJsonDocument::Compact)};
    }

    std::deque<Response> responses;
    std::vector<Request> requests;

private:
    void OnData(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        Request request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        qsizetype length = 0;
        for (const QByteArray& line : lines) {
            const qsizetype colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            if (name == "content-length")
                length = line.mid(colon + 1).trimmed().toLongLong();
            if (name == "authorization")
                request.authorization = line.mid(colon + 1).trimmed();
        }
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = QJsonDocument::fromJson(buffer.mid(headerEnd + 4, length)).object();
        requests.push_back(request);
        const Response response = responses.empty() ? Response{500, "{}"} : responses.front();
        if (!responses.empty())
            responses.pop_front();
        if (response.silent)
            return;
        socket->write("HTTP/1.1 " + QByteArray::number(response.status) + " X\r\nContent-Type: application/json\r\n" +
                      "Content-Length: " + QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n\r\n" +
                      response.body);
        socket->flush();
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    std::map<QTcpSocket*, QByteArray> m_buffers;
};

struct ChatFixture
{
    ChatFixture()
    {
        CAnalyzeSettings::DestroyInstance();
        qputenv("TERMWISE_CHAT_URL", service.Url().toUtf8());
        qputenv("TERMWISE_CHAT_MODEL", "test-model");
    }
    ~ChatFixture()
    {
        qunsetenv("TERMWISE_CHAT_URL");
        qunsetenv("TERMWISE_CHAT_MODEL");
        CAnalyzeSettings::DestroyInstance();
    }
    void Type(CChatGPTLogicalNameExtractor& dlg, const QStringList& names)
    {
        dlg.PasteLines(0, names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        dlg.ApiKeyEdit()->setText(kKey);
    }
    TempDataDir dir;
    UiScript ui;
    OutputLogCapture log;
    FakeChatService service;
};

QStringList Column(CQrTreeGrid* grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        texts << grid->GetItemText(r, col);
    return texts;
}

} // namespace

TEST(ChatExtractor, SendsThePromptAndFillsEveryRowOfAnAnsweredName)
{
    ChatFixture f;
    CChatGPTLogicalNameExtractor dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ChatGPT Logical Extractor"));
    // a column pasted from a spreadsheet: first cells of each line, one empty row after
    dlg.PasteLines(0, QStringLiteral("CUST_NO\tx\r\nORD_DT\r\nCUST_NO\r\n"));
    EXPECT_EQ(Column(dlg.Grid(), 0), QStringList({"CUST_NO", "ORD_DT", "CUST_NO", ""}));
    EXPECT_TRUE(dlg.Grid()->IsReadOnlyCell(3, 1));
    EXPECT_FALSE(dlg.Grid()->IsReadOnlyCell(3, 0));

    // without a key nothing is sent
    Click(dlg.RequestButton());
    EXPECT_EQ(f.ui.LastMessage(), QStringLiteral("ChatGPT API Key 가 입력되지 않았습니다"));
    EXPECT_TRUE(f.service.requests.empty());

    const QString prompt = QStringLiteral("I have column names (CUST_NO,ORD_DT) that are used in a specific schema. "
                                          "generate the Korean names corresponding to those columns. Output the "
                                          "result in JSON only.");
    f.service.responses.push_back(FakeChatService::Answer(
        QStringLiteral("```json\n{\"CUST_NO\": \"고객번호\", \"ORD_DT\": \"주문일자\", \"X\": 3}\n```")));
    f.service.responses.push_back(FakeChatService::Answer(QStringLiteral("{\"cust_no\": \"소문자\"}")));
    dlg.ApiKeyEdit()->setText(kKey);
    Click(dlg.RequestButton());
    EXPECT_EQ(Column(dlg.Grid(), 1), QStringList({u"고객번호"_qs, u"주문일자"_qs, u"고객번호"_qs, ""}));

    // keys differing in case fill nothing; the keyword sentence follows the period directly
    dlg.KeywordsEdit()->setText(QStringLiteral("주문 관리"));
    Click(dlg.RequestButton());
    EXPECT_EQ(Column(dlg.Grid(), 1), QStringList({u"고객번호"_qs, u"주문일자"_qs, u"고객번호"_qs, ""}));
    EXPECT_EQ(f.ui.messages.size(), 1u);

    ASSERT_EQ(f.service.requests.size(), 2u);
    for (const auto& request : f.service.requests) {
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.path, "/v1/chat/completions");
        EXPECT_EQ(request.authorization, "Bearer " + kKey.toUtf8());
        EXPECT_EQ(request.body.value("model").toString(), "test-model");
        const QJsonArray messages = request.body.value("messages").toArray();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0].toObject().value("role").toString(), "user");
    }
    EXPECT_EQ(f.service.requests[0].body["messages"][0]["content"].toString(), prompt);
    EXPECT_EQ(f.service.requests[1].body["messages"][0]["content"].toString(),
              prompt + QStringLiteral("Keywords to analyze are (주문 관리)"));
}

TEST(ChatExtractor, FailuresSayWhatWentWrongAndLeaveTheGridAlone)
{
    struct Case
    {
        const char* what;
        FakeChatService::Response response;
        QString message; // start of the message shown
    } cases[] = {
        {"not JSON: the parser's message", FakeChatService::Answer(QStringLiteral("고객번호입니다")),
         QStringLiteral("illegal value")},
        {"401: the key was refused",
         {401, QStringLiteral("{\"error\": {\"message\": \"Incorrect API key provided: %1\"}}").arg(kKey).toUtf8()},
         QStringLiteral("ChatGPT API Key 가 거부되었습니다 (HTTP 401)\nIncorrect API key provided: ***")},
        {"500: the status and the service's words",
         {500, "{\"error\": {\"message\": \"overloaded\"}}"},
         QStringLiteral("ChatGPT 요청이 실패했습니다 (HTTP 500)\noverloaded")},
        {"no answer within the time", {200, {}, true}, QStringLiteral("ChatGPT 응답이 1초 안에 오지 않았습니다")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChatFixture f;
        CChatGPTLogicalNameExtractor dlg;
        dlg.SetTimeoutSeconds(1);
        f.Type(dlg, {"CUST_NO"});
        f.service.responses.push_back(c.response);
        Click(dlg.RequestButton());
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_TRUE(f.ui.messages[0].startsWith(c.message)) << f.ui.messages[0].toStdString();
        EXPECT_EQ(Column(dlg.Grid(), 1), QStringList({"", ""}));

        // the key reaches no message, no log line and no file the program writes
        CAnalyzeSettings::Instance().Save();
        EXPECT_FALSE(f.ui.messages[0].contains(kKey));
        EXPECT_FALSE(f.log.lines.join('\n').contains(kKey));
        QDirIterator files(f.dir.path(), QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        while (files.hasNext()) {
            ++count;
            EXPECT_FALSE(ReadTextFile(files.next()).contains(kKey));
        }
        EXPECT_GT(count, 0);
    }

    // nothing listens: a refused connection, not an empty reply's parser error
    ChatFixture f;
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    qputenv("TERMWISE_CHAT_URL", QStringLiteral("http://127.0.0.1:%1/v1/chat/completions").arg(port).toUtf8());
    CChatGPTLogicalNameExtractor dlg;
    f.Type(dlg, {"CUST_NO"});
    Click(dlg.RequestButton());
    EXPECT_TRUE(f.ui.LastMessage().startsWith(QStringLiteral("ChatGPT 서비스에 연결할 수 없습니다")))
        << f.ui.LastMessage().toStdString();
}

TEST(ChatExtractor, EndpointComesFromTheSettingsFileUnlessTheEnvironmentSaysOtherwise)
{
    TempDataDir dir;
    qunsetenv("TERMWISE_CHAT_URL");
    CAnalyzeSettings settings;
    EXPECT_EQ(CChatCompletionClient::ConfiguredEndpoint(settings).url.toString(), CChatCompletionClient::DefaultUrl);
    settings.chat_url = QStringLiteral("http://10.0.0.5:8080/v1/chat/completions");
    const QString path = dir.file(QStringLiteral("termwise.json"));
    ASSERT_TRUE(settings.SaveTo(path));
    CAnalyzeSettings loaded;
    loaded.LoadFrom(path);
    EXPECT_EQ(CChatCompletionClient::ConfiguredEndpoint(loaded).url.toString(), settings.chat_url);
    qputenv("TERMWISE_CHAT_URL", "http://127.0.0.1:9/x");
    EXPECT_EQ(CChatCompletionClient::ConfiguredEndpoint(loaded).url.toString(), QStringLiteral("http://127.0.0.1:9/x"));
    qunsetenv("TERMWISE_CHAT_URL");
}

// A picture for the documentation; only when TERMWISE_SCREENSHOTS names the folder.
TEST(Screenshots, ChatNames)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    ChatFixture f;
    CChatGPTLogicalNameExtractor dlg;
    f.Type(dlg, {"CUST_NO", "CUST_NM", "ORD_DT", "ORD_AMT", "DLVR_ADDR", "PAY_MTHD_CD"});
    dlg.KeywordsEdit()->setText(QStringLiteral("쇼핑몰 주문 관리"));
    f.service.responses.push_back(FakeChatService::Answer(QStringLiteral(
        "{\"CUST_NO\": \"고객번호\", \"CUST_NM\": \"고객명\", \"ORD_DT\": \"주문일자\", \"ORD_AMT\": \"주문금액\", "
        "\"DLVR_ADDR\": \"배송주소\", \"PAY_MTHD_CD\": \"결제방법코드\"}")));
    dlg.resize(640, 480);
    dlg.show();
    Click(dlg.RequestButton());
    QApplication::processEvents();
    ASSERT_TRUE(dlg.grab().save(QDir(folder).filePath("chat-names.png")));
}

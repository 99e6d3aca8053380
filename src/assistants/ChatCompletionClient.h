#pragma once
// An OpenAI-compatible chat-completions call: one user message to the configured model,
// the bearer key in the header, the answer text from the first choice. It waits in a local
// event loop (the window keeps painting) until the answer, the timeout or a cancel.
//
// The API key goes into the request header and nowhere else: not into results, messages or
// logs (a service that echoes it back has it blanked out of its message).
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class CAnalyzeSettings;

struct ChatCompletionResult
{
    enum class Status { Ok, Cancelled, Timeout, Refused, HttpError, NetworkError, NoAnswer };
    Status status = Status::NoAnswer;
    QString content;    // the assistant's answer (Ok)
    int httpStatus = 0; // HttpError
    QString detail;     // the service's or the network's own words, for the message
};

class CChatCompletionClient
{
public:
    static inline const QString DefaultUrl = QStringLiteral("https://api.openai.com/v1/chat/completions");
    static inline const QString DefaultModel = QStringLiteral("gpt-4o-mini");

    struct Endpoint
    {
        QUrl url;
        QString model;
    };
    // The settings file's chat_url / chat_model, overridden by TERMWISE_CHAT_URL /
    // TERMWISE_CHAT_MODEL, else the defaults above.
    static Endpoint ConfiguredEndpoint(const CAnalyzeSettings& settings);

    static QByteArray RequestBody(const QString& model, const QString& prompt);
    // choices[0].message.content of a response body; false when it has none.
    static bool ExtractContent(const QByteArray& body, QString& content);
    // The text inside a surrounding ``` fence (with or without a language tag), else the text.
    static QString StripCodeFence(const QString& text);

    // canceling is polled about every 50 ms while waiting.
    static ChatCompletionResult Send(const Endpoint& endpoint, const QString& prompt, const QString& apiKey,
                                     int timeoutSeconds, const std::function<bool()>& canceling);

    // The user's message for a failed result; empty for Ok and Cancelled.
    static QString FailureMessage(const ChatCompletionResult& result, const Endpoint& endpoint, int timeoutSeconds);
};

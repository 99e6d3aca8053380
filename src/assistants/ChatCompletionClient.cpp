#include "assistants/ChatCompletionClient.h"

#include "assistants/AssistantTexts.h"
#include "settings/AnalyzeSettings.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

CChatCompletionClient::Endpoint CChatCompletionClient::ConfiguredEndpoint(const CAnalyzeSettings& settings)
{
    QString url = qEnvironmentVariable("TERMWISE_CHAT_URL");
    if (url.isEmpty())
        url = settings.chat_url;
    if (url.isEmpty())
        url = DefaultUrl;
    QString model = qEnvironmentVariable("TERMWISE_CHAT_MODEL");
    if (model.isEmpty())
        model = settings.chat_model;
    if (model.isEmpty())
        model = DefaultModel;
    return {QUrl(url), model};
}

QByteArray CChatCompletionClient::RequestBody(const QString& model, const QString& prompt)
{
    const QJsonObject message{{QStringLiteral("role"), QStringLiteral("user")}, {QStringLiteral("content"), prompt}};
    const QJsonObject body{{QStringLiteral("model"), model}, {QStringLiteral("messages"), QJsonArray{message}}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

bool CChatCompletionClient::ExtractContent(const QByteArray& body, QString& content)
{
    const QJsonValue value = QJsonDocument::fromJson(body)
                                 .object()
                                 .value(QStringLiteral("choices"))
                                 .toArray()
                                 .at(0)
                                 .toObject()
                                 .value(QStringLiteral("message"))
                                 .toObject()
                                 .value(QStringLiteral("content"));
    if (!value.isString())
        return false;
    content = value.toString();
    return true;
}

QString CChatCompletionClient::StripCodeFence(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QStringLiteral("```")) || !trimmed.endsWith(QStringLiteral("```")) || trimmed.size() < 6)
        return text;
    const qsizetype lineEnd = trimmed.indexOf(u'\n');
    if (lineEnd < 0)
        return text;
    return trimmed.mid(lineEnd + 1, trimmed.size() - 3 - (lineEnd + 1)).trimmed();
}

namespace {
// The error message a service puts in its body ({"error": {"message": ...}}), else the body.
QString ServiceMessage(const QByteArray& body)
{
    const QJsonValue message = QJsonDocument::fromJson(body)
                                   .object()
                                   .value(QStringLiteral("error"))
                                   .toObject()
                                   .value(QStringLiteral("message"));
    if (message.isString())
        return message.toString();
    return QString::fromUtf8(body.left(300)).simplified();
}
} // namespace

ChatCompletionResult CChatCompletionClient::Send(const Endpoint& endpoint, const QString& prompt, const QString& apiKey,
                                                 int timeoutSeconds, const std::function<bool()>& canceling)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(endpoint.url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setRawHeader("Authorization", "Bearer " + apiKey.toUtf8());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager.post(request, RequestBody(endpoint.model, prompt));

    bool timedOut = false;
    bool cancelled = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    deadline.start(std::max(1, timeoutSeconds) * 1000);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (canceling && !reply->isFinished() && canceling()) {
            cancelled = true;
            reply->abort();
        }
    });
    poll.start(50);
    if (!reply->isFinished())
        loop.exec(QEventLoop::AllEvents);
    poll.stop();
    deadline.stop();

    ChatCompletionResult result;
    const QByteArray body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply->deleteLater();

    if (cancelled) {
        result.status = ChatCompletionResult::Status::Cancelled;
    } else if (timedOut) {
        result.status = ChatCompletionResult::Status::Timeout;
    } else if (status >= 300) {
        result.status = ChatCompletionResult::Status::HttpError;
        result.httpStatus = status;
        result.detail = ServiceMessage(body);
    } else if (error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError) {
        result.status = ChatCompletionResult::Status::Refused;
        result.detail = errorText;
    } else if (error != QNetworkReply::NoError) {
        result.status = ChatCompletionResult::Status::NetworkError;
        result.detail = errorText;
    } else if (ExtractContent(body, result.content)) {
        result.status = ChatCompletionResult::Status::Ok;
    } else {
        result.status = ChatCompletionResult::Status::NoAnswer;
        result.detail = ServiceMessage(body);
    }
    // a service may quote the key in its message; it must not reach the screen or a log
    if (!apiKey.isEmpty())
        result.detail.replace(apiKey, QStringLiteral("***"));
    return result;
}

QString CChatCompletionClient::FailureMessage(const ChatCompletionResult& result, const Endpoint& endpoint,
                                              int timeoutSeconds)
{
    using namespace AssistantTexts;
    using Status = ChatCompletionResult::Status;
    auto withDetail = [&result](const QString& text) {
        return result.detail.isEmpty() ? text : text + QStringLiteral("\n") + result.detail;
    };
    switch (result.status) {
    case Status::Ok:
    case Status::Cancelled:
        return {};
    case Status::Timeout:
        return TimedOut.arg(timeoutSeconds);
    case Status::Refused:
        return Refused.arg(endpoint.url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery));
    case Status::HttpError:
        return withDetail(
            (result.httpStatus == 401 || result.httpStatus == 403 ? Unauthorized : HttpFailed).arg(result.httpStatus));
    case Status::NetworkError:
        return NetworkFailed.arg(result.detail);
    case Status::NoAnswer:
        return withDetail(NoAnswer);
    }
    return {};
}

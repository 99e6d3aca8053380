#include "assistants/LogicalNameExtraction.h"

#include "assistants/AssistantTexts.h"
#include "assistants/ChatCompletionClient.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace LogicalNameExtraction {

std::set<QString> CollectNames(const QStringList& names)
{
    std::set<QString> set;
    for (const QString& name : names)
        if (!name.isEmpty())
            set.insert(name);
    return set;
}

QString BuildPrompt(const std::set<QString>& names, const QString& keywords)
{
    QString list;
    for (const QString& name : names)
        list += name + u',';
    while (list.endsWith(u','))
        list.chop(1);
    QString prompt = AssistantTexts::PromptFormat.arg(list);
    if (!keywords.isEmpty())
        prompt += AssistantTexts::KeywordsFormat.arg(keywords);
    return prompt;
}

bool ParseAnswer(const QString& answer, std::map<QString, QString>& names, QString& error)
{
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(CChatCompletionClient::StripCodeFence(answer).toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = parseError.errorString();
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.value().isString())
            names[it.key()] = it.value().toString();
    return true;
}

} // namespace LogicalNameExtraction

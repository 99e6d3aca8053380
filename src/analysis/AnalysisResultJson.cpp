#include "analysis/AnalysisResultJson.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/WordAnalysis.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
QJsonObject Totals(int targets, int fully, int words, int analyzedWords, int found)
{
    return QJsonObject{{QStringLiteral("targets"), targets},
                       {QStringLiteral("fullyAnalyzed"), fully},
                       {QStringLiteral("words"), words},
                       {QStringLiteral("analyzedWords"), analyzedWords},
                       {QStringLiteral("found"), found}};
}

QJsonObject WordEntry(const QString& word, const QString& partner, const QString& definition)
{
    return QJsonObject{{QStringLiteral("word"), word},
                       {QStringLiteral("partner"), partner},
                       {QStringLiteral("definition"), definition}};
}
} // namespace

QJsonObject AnalysisResultJson(const WordAnalysis& analysis)
{
    QJsonArray targets;
    for (const WordAnalysis::WordResult& result : analysis.Results()) {
        const WordAnalysisInput* input = analysis.Inputs().find(result.key);
        QJsonArray words;
        for (size_t i = 0; i < result.words.size(); ++i)
            words.append(
                WordEntry(result.words[i].word, result.words[i].partner, result.definitions.value(qsizetype(i))));
        QJsonObject target{
            {QStringLiteral("key"), result.key},
            {QStringLiteral("name"), result.key},
            {QStringLiteral("count"), input ? input->refCount : 0},
            {QStringLiteral("sources"), QJsonArray::fromStringList(input ? input->sources : QStringList())},
            {QStringLiteral("status"), result.status},
            {QStringLiteral("words"), words},
            {QStringLiteral("analyzedName"), result.analyzedName},
            {QStringLiteral("analyzedPartner"), result.analyzedPartner},
            {QStringLiteral("keyDomain"), QString()},
            {QStringLiteral("logicalType"), QString()},
            {QStringLiteral("type"), QString()},
            {QStringLiteral("length"), QString()},
            {QStringLiteral("scale"), QString()},
            {QStringLiteral("domain"), QString()}};
        targets.append(target);
    }
    QJsonObject unanalyzed;
    for (const auto& [word, missing] : analysis.UnanalyzedWords())
        unanalyzed.insert(word, missing.count);
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    return QJsonObject{{QStringLiteral("kind"), logical ? QStringLiteral("logical") : QStringLiteral("physical")},
                       {QStringLiteral("targets"), targets},
                       {QStringLiteral("totals"),
                        Totals(int(analysis.Results().size()), analysis.FullyAnalyzedCount(), analysis.WordCount(),
                               analysis.AnalyzedWordCount(), analysis.FullyAnalyzedCount())},
                       {QStringLiteral("unanalyzed"), unanalyzed},
                       {QStringLiteral("missingDomains"), QJsonObject()}};
}

QJsonObject AnalysisResultJson(const DomainAnalysis& analysis)
{
    QJsonArray targets;
    int wordCount = 0;
    for (const DomainAnalysis::DomainResult& result : analysis.Results()) {
        const DomainAnalysisTarget* input = analysis.Inputs().find(result.key);
        QJsonArray words;
        for (const QString& word : result.words)
            words.append(WordEntry(word, QString(), QString()));
        wordCount += int(result.words.size());
        QJsonObject target{
            {QStringLiteral("key"), result.key},
            {QStringLiteral("name"), input ? input->attribute : QString()},
            {QStringLiteral("count"), input ? input->refCount : 0},
            {QStringLiteral("sources"), QJsonArray::fromStringList(input ? input->sources : QStringList())},
            {QStringLiteral("status"), result.status},
            {QStringLiteral("words"), words},
            {QStringLiteral("analyzedName"), result.words.join(QLatin1Char('_'))},
            {QStringLiteral("analyzedPartner"), QString()},
            {QStringLiteral("keyDomain"), result.keyDomain},
            {QStringLiteral("logicalType"), result.logicalType},
            {QStringLiteral("type"), input ? input->type : QString()},
            {QStringLiteral("length"), input ? input->length : QString()},
            {QStringLiteral("scale"), input ? input->scale : QString()},
            {QStringLiteral("domain"), result.domainName}};
        targets.append(target);
    }
    QJsonObject missing;
    for (const auto& [key, count] : analysis.MissingDomainCounts())
        missing.insert(key, count);
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("domain")},
                       {QStringLiteral("targets"), targets},
                       {QStringLiteral("totals"), Totals(int(analysis.Results().size()), analysis.FoundCount(),
                                                         wordCount, 0, analysis.FoundCount())},
                       {QStringLiteral("unanalyzed"), QJsonObject()},
                       {QStringLiteral("missingDomains"), missing}};
}

QByteArray AnalysisResultJsonBytes(const QJsonObject& result)
{
    return QJsonDocument(result).toJson(QJsonDocument::Indented);
}

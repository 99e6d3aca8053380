#include "exchange/AnalysisResultJson.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"

#include "components/JsonTextWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <functional>

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
            {QStringLiteral("analyzedName"), result.AnalyzedName()},
            {QStringLiteral("analyzedPartner"), result.AnalyzedPartner()},
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

QJsonObject AnalysisResultJson(const CTermAnalysis& analysis)
{
    return analysis.ToJson();
}

QByteArray AnalysisResultJsonBytes(const QJsonObject& result)
{
    return QJsonDocument(result).toJson(QJsonDocument::Indented);
}

// Members in the order QJsonObject keeps them (ascending names), so that the text is the
// one the tree above gives.
namespace {

struct TargetTexts
{
    const QString* key = nullptr;
    const QString* name = nullptr;
    int count = 0;
    const QStringList* sources = nullptr;
    int status = 0;
    QString analyzedName;
    QString analyzedPartner;
    const QString* keyDomain = nullptr;
    const QString* logicalType = nullptr;
    const QString* type = nullptr;
    const QString* length = nullptr;
    const QString* scale = nullptr;
    const QString* domain = nullptr;
};

const QString kNone;
const QStringList kNoSources;

template <class Words> void WriteTarget(CJsonTextWriter& w, const TargetTexts& t, const Words& words)
{
    w.BeginObject();
    w.Member(u"analyzedName", t.analyzedName);
    w.Member(u"analyzedPartner", t.analyzedPartner);
    w.Member(u"count", t.count);
    w.Member(u"domain", *t.domain);
    w.Member(u"key", *t.key);
    w.Member(u"keyDomain", *t.keyDomain);
    w.Member(u"length", *t.length);
    w.Member(u"logicalType", *t.logicalType);
    w.Member(u"name", *t.name);
    w.Member(u"scale", *t.scale);
    w.Key(u"sources");
    w.BeginArray();
    for (const QString& source : *t.sources)
        w.String(source);
    w.EndArray();
    w.Member(u"status", t.status);
    w.Member(u"type", *t.type);
    w.Key(u"words");
    w.BeginArray();
    words();
    w.EndArray();
    w.EndObject();
}

void WriteWord(CJsonTextWriter& w, const QString& word, const QString& partner, const QString& definition)
{
    w.BeginObject();
    w.Member(u"definition", definition);
    w.Member(u"partner", partner);
    w.Member(u"word", word);
    w.EndObject();
}

void WriteTotals(CJsonTextWriter& w, int targets, int fully, int words, int analyzedWords, int found)
{
    w.Key(u"totals");
    w.BeginObject();
    w.Member(u"analyzedWords", analyzedWords);
    w.Member(u"found", found);
    w.Member(u"fullyAnalyzed", fully);
    w.Member(u"targets", targets);
    w.Member(u"words", words);
    w.EndObject();
}

template <class Map> void WriteCounts(CJsonTextWriter& w, QStringView name, const Map& counts)
{
    w.Key(name);
    w.BeginObject();
    for (const auto& [text, count] : counts)
        w.Member(text, count);
    w.EndObject();
}

bool SaveWith(const QString& path, QString* error, const std::function<void(CJsonTextWriter&)>& write)
{
    return SaveJsonFile(path, write, error);
}

} // namespace

void WriteAnalysisResultJson(CJsonTextWriter& w, const WordAnalysis& analysis)
{
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    w.BeginObject();
    w.Member(u"kind", logical ? u"logical" : u"physical");
    w.Key(u"missingDomains");
    w.BeginObject();
    w.EndObject();
    w.Key(u"targets");
    w.BeginArray();
    const auto& results = analysis.Results();
    w.Elements(results.size(), [&](CJsonTextWriter& w, size_t at) {
        const WordAnalysis::WordResult& result = results[at];
        const WordAnalysisInput* input = analysis.Inputs().find(result.key, result.input);
        TargetTexts t;
        t.key = t.name = &result.key;
        t.count = input ? input->refCount : 0;
        t.sources = input ? &input->sources : &kNoSources;
        t.status = result.status;
        t.analyzedName = result.AnalyzedName();
        t.analyzedPartner = result.AnalyzedPartner();
        t.keyDomain = t.logicalType = t.type = t.length = t.scale = t.domain = &kNone;
        WriteTarget(w, t, [&] {
            for (size_t i = 0; i < result.words.size(); ++i)
                WriteWord(w, result.words[i].word, result.words[i].partner,
                          i < size_t(result.definitions.size()) ? result.definitions[qsizetype(i)] : kNone);
        });
    });
    w.EndArray();
    WriteTotals(w, int(analysis.Results().size()), analysis.FullyAnalyzedCount(), analysis.WordCount(),
                analysis.AnalyzedWordCount(), analysis.FullyAnalyzedCount());
    w.Key(u"unanalyzed");
    w.BeginObject();
    for (const auto& [word, missing] : analysis.UnanalyzedWords())
        w.Member(word, missing.count);
    w.EndObject();
    w.EndObject();
}

void WriteAnalysisResultJson(CJsonTextWriter& w, const DomainAnalysis& analysis)
{
    w.BeginObject();
    w.Member(u"kind", u"domain");
    WriteCounts(w, u"missingDomains", analysis.MissingDomainCounts());
    w.Key(u"targets");
    w.BeginArray();
    const auto& results = analysis.Results();
    w.Elements(results.size(), [&](CJsonTextWriter& w, size_t at) {
        const DomainAnalysis::DomainResult& result = results[at];
        const DomainAnalysisTarget* input = analysis.Inputs().find(result.key);
        TargetTexts t;
        t.key = &result.key;
        t.name = input ? &input->attribute : &kNone;
        t.count = input ? input->refCount : 0;
        t.sources = input ? &input->sources : &kNoSources;
        t.status = result.status;
        t.analyzedName = result.words.join(QLatin1Char('_'));
        t.keyDomain = &result.keyDomain;
        t.logicalType = &result.logicalType;
        t.type = input ? &input->type : &kNone;
        t.length = input ? &input->length : &kNone;
        t.scale = input ? &input->scale : &kNone;
        t.domain = &result.domainName;
        WriteTarget(w, t, [&] {
            for (const QString& word : result.words)
                WriteWord(w, word, kNone, kNone);
        });
    });
    w.EndArray();
    int wordCount = 0;
    for (const DomainAnalysis::DomainResult& result : results)
        wordCount += int(result.words.size());
    WriteTotals(w, int(analysis.Results().size()), analysis.FoundCount(), wordCount, 0, analysis.FoundCount());
    w.Key(u"unanalyzed");
    w.BeginObject();
    w.EndObject();
    w.EndObject();
}

bool SaveAnalysisResultJson(const WordAnalysis& analysis, const QString& path, QString* error)
{
    return SaveWith(path, error, [&](CJsonTextWriter& w) { WriteAnalysisResultJson(w, analysis); });
}

bool SaveAnalysisResultJson(const DomainAnalysis& analysis, const QString& path, QString* error)
{
    return SaveWith(path, error, [&](CJsonTextWriter& w) { WriteAnalysisResultJson(w, analysis); });
}

#include "analysis/TermDocument.h"

#include "analysis/DataType.h"
#include "settings/AnalyzeSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <map>

namespace {

QString Member(const QJsonObject& object, const QString& name)
{
    const QJsonValue v = object.value(name);
    return v.isString() ? v.toString() : QString();
}

// Later entries of the same name overwrite; the first appearance keeps its place.
void Put(std::vector<TermAnalysisTarget>& targets, std::map<QString, size_t>& index, TermAnalysisTarget&& t)
{
    auto it = index.find(t.strName);
    if (it != index.end()) {
        targets[it->second] = std::move(t);
        return;
    }
    index.emplace(t.strName, targets.size());
    targets.push_back(std::move(t));
}

} // namespace

bool ReadTermDocument(const QByteArray& bytes, QString& areaId, std::vector<TermAnalysisTarget>& targets,
                      QString& error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = parse.errorString();
        return false;
    }
    const QJsonObject root = document.object();
    const QJsonValue entries = root.value(QStringLiteral("term_analyze"));
    const QJsonValue area = root.value(QStringLiteral("term_analyze_area"));
    if (!document.isObject() || !entries.isArray() || !area.isString()) {
        error = TermDocumentTexts::kWrongKind;
        return false;
    }
    std::vector<TermAnalysisTarget> read;
    std::map<QString, size_t> index;
    for (const QJsonValue& value : entries.toArray()) {
        if (!value.isObject())
            continue;
        const QJsonObject e = value.toObject();
        TermAnalysisTarget t;
        t.strName = Member(e, QStringLiteral("Attribute"));
        t.strColumn = Member(e, QStringLiteral("Column"));
        t.strReference = Member(e, QStringLiteral("Reference"));
        t.strType = Member(e, QStringLiteral("DataType"));
        t.strLength = Member(e, QStringLiteral("DataLength"));
        t.strScale = Member(e, QStringLiteral("DataScale"));
        t.strDefinition = Member(e, QStringLiteral("Description"));
        t.strDisplayType = GlobalFunc::BuildDataType(t.strType, t.strLength, t.strScale);
        Put(read, index, std::move(t));
    }
    areaId = area.toString();
    targets = std::move(read);
    return true;
}

QByteArray WriteTermDocument(const CTermAnalysis& term)
{
    QJsonArray entries;
    for (const auto& [name, t] : term.Targets()) {
        entries.append(QJsonObject{{QStringLiteral("Attribute"), t.strName},
                                   {QStringLiteral("Column"), t.strColumn},
                                   {QStringLiteral("Reference"), t.strReference},
                                   {QStringLiteral("DataType"), t.strType},
                                   {QStringLiteral("DataLength"), t.strLength},
                                   {QStringLiteral("DataScale"), t.strScale},
                                   {QStringLiteral("Description"), t.strDefinition}});
    }
    QJsonObject root;
    root.insert(QStringLiteral("term_analyze"), entries);
    root.insert(QStringLiteral("term_analyze_area"), term.AreaId());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ReadTermRequest(const QByteArray& bytes, QString& areaId, std::vector<TermAnalysisTarget>& targets, QString& error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject()) {
        error = parse.error != QJsonParseError::NoError ? parse.errorString() : QStringLiteral("not a JSON object");
        return false;
    }
    const QJsonObject root = document.object();
    areaId = Member(root, QStringLiteral("standard_areaid"));
    std::vector<TermAnalysisTarget> read;
    std::map<QString, size_t> index;
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    for (const QJsonValue& value : root.value(QStringLiteral("termwise")).toArray()) {
        if (!value.isObject())
            continue;
        const QJsonObject a = value.toObject();
        TermAnalysisTarget t;
        t.strName = Member(a, QStringLiteral("attributeName"));
        settings.NormalizeAttributeName(t.strName);
        t.strColumn = Member(a, QStringLiteral("columnName"));
        t.strReference = Member(a, QStringLiteral("attributeReference"));
        t.strType = Member(a, QStringLiteral("attributeDataType"));
        t.strLength = Member(a, QStringLiteral("attributeDataLength"));
        t.strScale = Member(a, QStringLiteral("attributeDataScale"));
        t.strDisplayType = GlobalFunc::BuildDataType(t.strType, t.strLength, t.strScale);
        Put(read, index, std::move(t));
    }
    targets = std::move(read);
    return true;
}

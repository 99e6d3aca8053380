#include "exchange/AnalysisRequest.h"

#include "analysis/DataType.h"
#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "settings/AnalyzeSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace AnalysisRequest {
namespace {

const QString kAttributes = QStringLiteral("termwise");
const QString kArea = QStringLiteral("standard_areaid");
const QString kName = QStringLiteral("attributeName");
const QString kDesc = QStringLiteral("attributeDesc");
const QString kReference = QStringLiteral("attributeReference");
const QString kColumn = QStringLiteral("columnName");
const QString kType = QStringLiteral("attributeDataType");
const QString kLength = QStringLiteral("attributeDataLength");
const QString kScale = QStringLiteral("attributeDataScale");

QString Text(const QJsonObject& object, const QString& name)
{
    const QJsonValue v = object.value(name);
    return v.isString() ? v.toString() : QString();
}

bool ParseObject(const QString& text, QJsonObject& root)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return false;
    root = doc.object();
    return true;
}

// The attribute objects of the request; a missing or non-array member gives none.
QJsonArray Attributes(const QJsonObject& root)
{
    const QJsonValue v = root.value(kAttributes);
    return v.isArray() ? v.toArray() : QJsonArray();
}

QString Normalized(const CAnalyzeSettings& settings, QString name)
{
    settings.NormalizeAttributeName(name);
    return name;
}

} // namespace

bool Apply(WordAnalysis& analysis, const QString& text)
{
    QJsonObject root;
    if (!ParseObject(text, root))
        return false;
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    WordInputMap& inputs = analysis.Inputs();
    inputs.clear();
    for (const QJsonValue& element : Attributes(root)) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        const QString key = Normalized(analysis.Settings(), Text(object, logical ? kName : kColumn));
        WordAnalysisInput& entry = inputs[key];
        entry.name = key;
        ++entry.refCount;
        WordAnalysisInput::Count(entry.mapDescriptions, Text(object, kDesc));
        WordAnalysisInput::Count(entry.mapReferences, Text(object, kReference));
        WordAnalysisInput::Count(entry.mapOpposites, Text(object, logical ? kColumn : kName));
    }
    return true;
}

bool Apply(DomainAnalysis& analysis, const QString& text)
{
    QJsonObject root;
    if (!ParseObject(text, root))
        return false;
    DomainInputMap& inputs = analysis.Inputs();
    inputs.clear();
    for (const QJsonValue& element : Attributes(root)) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        const QString attribute = Normalized(analysis.Settings(), Text(object, kName));
        const QString type = Text(object, kType), length = Text(object, kLength), scale = Text(object, kScale);
        const QString key = MakeAttributeKey(attribute, type, length, scale);
        DomainAnalysisTarget& target = inputs[key];
        target.key = key;
        // The analysis needs the parts of the key as fields of the target.
        target.attribute = attribute;
        target.type = type;
        target.length = length;
        target.scale = scale;
        ++target.refCount;
        WordAnalysisInput::Count(target.mapColumns, Text(object, kColumn));
        WordAnalysisInput::Count(target.mapReferences, Text(object, kReference));
    }
    return true;
}

bool Apply(CTermAnalysis& analysis, const QString& text, const AreaResolver& resolve)
{
    QJsonObject root;
    if (!ParseObject(text, root))
        return false;
    // An absent or non-text area is ignored like an unknown one.
    const QJsonValue area = root.value(kArea);
    if (!area.isString() || !resolve || !resolve(area.toString()))
        return false;
    analysis.SetAreaId(area.toString());
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    std::vector<TermAnalysisTarget> targets;
    for (const QJsonValue& element : Attributes(root)) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        TermAnalysisTarget target;
        target.strName = Normalized(settings, Text(object, kName));
        target.strColumn = Text(object, kColumn);
        target.strReference = Text(object, kReference);
        target.strType = Text(object, kType);
        target.strLength = Text(object, kLength);
        target.strScale = Text(object, kScale);
        target.strDisplayType = GlobalFunc::BuildDataType(target.strType, target.strLength, target.strScale);
        targets.push_back(std::move(target));
    }
    analysis.SetTargets(targets); // a later object of the same name overwrites the earlier
    return true;
}

} // namespace AnalysisRequest

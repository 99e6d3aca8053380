#include "exchange/AnalysisDocument.h"

#include "analysis/DataType.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "exchange/ExchangeTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <limits>

namespace AnalysisDocument {
namespace {

// Documents beyond this size are not analysis summaries anyone made.
constexpr qint64 kMaxDocumentBytes = 512ll * 1024 * 1024;

const QString kAttribute = QStringLiteral("Attribute");
const QString kColumn = QStringLiteral("Column");
const QString kAnalyzeTarget = QStringLiteral("AnalyzeTarget");
const QString kReference = QStringLiteral("Reference");
const QString kDescription = QStringLiteral("Description");
const QString kRefCount = QStringLiteral("RefCount");
const QString kDataType = QStringLiteral("DataType");
const QString kDataLength = QStringLiteral("DataLength");
const QString kDataScale = QStringLiteral("DataScale");
const QString kMapOpposites = QStringLiteral("mapOpposites");
const QString kMapOpposite = QStringLiteral("mapOpposite");
const QString kMapReferences = QStringLiteral("mapReferences");
const QString kMapDescriptions = QStringLiteral("mapDescriptinons");
const QString kMapColumns = QStringLiteral("mapColumns");
const QString kTermArea = QStringLiteral("term_analyze_area");

QJsonObject CountMap(const std::map<QString, int>& map)
{
    QJsonObject object;
    for (const auto& [text, count] : map)
        object.insert(text, count);
    return object;
}

// A member that is absent or not a string reads as the empty text.
QString Text(const QJsonObject& object, const QString& name)
{
    const QJsonValue v = object.value(name);
    return v.isString() ? v.toString() : QString();
}

int RefCount(const QJsonObject& object)
{
    return CQrStringUtil::ToIntLeading(Text(object, kRefCount));
}

// Adds the pairs of a count map member; texts already present keep their count.
void MergeCounts(const QJsonObject& object, const QString& name, std::map<QString, int>& map)
{
    const QJsonValue v = object.value(name);
    if (!v.isObject())
        return;
    const QJsonObject counts = v.toObject();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        if (!it.value().isDouble())
            continue;
        const double d = it.value().toDouble();
        const int count = d >= std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
                          : d <= std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                                 : int(d);
        map.emplace(it.key(), count);
    }
}

// JSON text in UTF-8, or UTF-16 with a byte order mark as wide-text writers leave it.
QByteArray AsUtf8(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString text = decoder(bytes.mid(2));
        if (!decoder.hasError())
            return text.toUtf8();
    }
    return bytes;
}

bool ParseRoot(const QByteArray& bytes, QJsonObject& root, Outcome& outcome)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(AsUtf8(bytes), &error);
    if (error.error != QJsonParseError::NoError) {
        outcome = {false, QStringLiteral("%1 (offset %2)").arg(error.errorString()).arg(error.offset)};
        return false;
    }
    root = doc.object(); // not an object: no root member, so the wrong-kind message follows
    return true;
}

bool RootArray(const QJsonObject& root, Kind kind, QJsonArray& entries, Outcome& outcome)
{
    const QJsonValue v = root.value(RootMember(kind));
    if (!v.isArray()) {
        outcome = {false, WrongKindMessage(kind)};
        return false;
    }
    entries = v.toArray();
    return true;
}

bool ReadBytes(const QString& path, QByteArray& bytes, Outcome& outcome)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome = {false, file.errorString()};
        return false;
    }
    if (file.size() > kMaxDocumentBytes) {
        outcome = {false, QStringLiteral("the document is larger than %1 MB").arg(kMaxDocumentBytes >> 20)};
        return false;
    }
    bytes = file.readAll();
    return true;
}

QByteArray DocumentBytes(const QJsonObject& root)
{
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// Result keys in ordinal order: the form's result map.
template <class Results> QStringList SortedKeys(const Results& results)
{
    QStringList keys;
    keys.reserve(qsizetype(results.size()));
    for (const auto& result : results)
        keys.append(result.key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

} // namespace

Kind KindOf(const WordAnalysis& analysis)
{
    return analysis.GetKind() == WordAnalysis::Kind::Logical ? Kind::Logical : Kind::Physical;
}

QString Extension(Kind kind)
{
    switch (kind) {
    case Kind::Logical:
        return QStringLiteral("ztsl");
    case Kind::Physical:
        return QStringLiteral("ztsp");
    case Kind::Domain:
        return QStringLiteral("ztsd");
    case Kind::Term:
        break;
    }
    return QStringLiteral("ztst");
}

QString RootMember(Kind kind)
{
    switch (kind) {
    case Kind::Logical:
        return QStringLiteral("logical_word_analyze");
    case Kind::Physical:
        return QStringLiteral("physical_word_analyze");
    case Kind::Domain:
        return QStringLiteral("domain_analyze");
    case Kind::Term:
        break;
    }
    return QStringLiteral("term_analyze");
}

QString WrongKindMessage(Kind kind)
{
    switch (kind) {
    case Kind::Logical:
        return ExchangeTexts::kNotLogicalDocument;
    case Kind::Physical:
        return ExchangeTexts::kNotPhysicalDocument;
    case Kind::Domain:
        return ExchangeTexts::kNotDomainDocument;
    case Kind::Term:
        break;
    }
    return ExchangeTexts::kNotTermDocument;
}

QString SaveFilter(Kind kind)
{
    const QString ext = Extension(kind);
    switch (kind) {
    case Kind::Logical:
    case Kind::Physical:
        return QStringLiteral("Word Analyzed Files(*.%1)|*.%1|").arg(ext);
    case Kind::Domain:
        return QStringLiteral("Doamin Analyzed Files(*.%1)|*.%1|").arg(ext);
    case Kind::Term:
        break;
    }
    return QStringLiteral("Term Analyzed Files(*.%1)|*.%1|").arg(ext);
}

QString OpenFilter(Kind kind)
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.%1)|*.xlsx;*.xls;*.%1|").arg(Extension(kind));
}

bool IsDocumentPath(Kind kind, const QString& path)
{
    return path.endsWith(u'.' + Extension(kind), Qt::CaseInsensitive);
}

QByteArray ToBytes(const WordAnalysis& analysis)
{
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    QJsonArray entries;
    for (const QString& key : SortedKeys(analysis.Results())) {
        const WordAnalysisInput* input = analysis.Inputs().find(key);
        if (!input)
            continue;
        QJsonObject entry;
        entry.insert(logical ? kAttribute : kColumn, input->name);
        entry.insert(kAnalyzeTarget, input->AnalyzeTargetText());
        entry.insert(logical ? kColumn : kAttribute, input->opposite);
        entry.insert(kReference, input->reference);
        entry.insert(kDescription, input->description);
        entry.insert(kRefCount, CQrStringUtil::FromInt(input->refCount));
        entry.insert(logical ? kMapOpposites : kMapOpposite, CountMap(input->mapOpposites));
        entry.insert(kMapReferences, CountMap(input->mapReferences));
        entry.insert(kMapDescriptions, CountMap(input->mapDescriptions));
        entries.append(entry);
    }
    QJsonObject root;
    root.insert(RootMember(KindOf(analysis)), entries);
    return DocumentBytes(root);
}

QByteArray ToBytes(const DomainAnalysis& analysis)
{
    QJsonArray entries;
    for (const QString& key : SortedKeys(analysis.Results())) {
        const DomainAnalysisTarget* target = analysis.Inputs().find(key);
        if (!target)
            continue;
        QJsonObject entry;
        entry.insert(kAttribute, target->attribute);
        entry.insert(kColumn, target->column);
        entry.insert(kReference, target->reference);
        entry.insert(kDataType, target->type);
        entry.insert(kDataLength, target->length);
        entry.insert(kDataScale, target->scale);
        entry.insert(kRefCount, CQrStringUtil::FromInt(target->refCount));
        entry.insert(kMapColumns, CountMap(target->mapColumns));
        entry.insert(kMapReferences, CountMap(target->mapReferences));
        entries.append(entry);
    }
    QJsonObject root;
    root.insert(RootMember(Kind::Domain), entries);
    return DocumentBytes(root);
}

QByteArray ToBytes(const CTermAnalysis& analysis)
{
    QJsonArray entries;
    for (const auto& [name, target] : analysis.Targets()) {
        QJsonObject entry;
        entry.insert(kAttribute, target.strName);
        entry.insert(kColumn, target.strColumn);
        entry.insert(kReference, target.strReference);
        entry.insert(kDataType, target.strType);
        entry.insert(kDataLength, target.strLength);
        entry.insert(kDataScale, target.strScale);
        entry.insert(kDescription, target.strDefinition);
        entries.append(entry);
    }
    QJsonObject root;
    root.insert(RootMember(Kind::Term), entries);
    root.insert(kTermArea, analysis.AreaId());
    return DocumentBytes(root);
}

bool WriteFile(const QByteArray& bytes, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

Outcome Parse(const QByteArray& bytes, Kind kind, WordInputMap& entries)
{
    Outcome outcome;
    QJsonObject root;
    QJsonArray array;
    if (!ParseRoot(bytes, root, outcome) || !RootArray(root, kind, array, outcome))
        return outcome;
    const bool logical = kind == Kind::Logical;
    entries.clear();
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        const QString key = Text(object, logical ? kAttribute : kColumn);
        WordAnalysisInput& entry = entries[key];
        entry.name = key;
        entry.SetAnalyzeTargetText(Text(object, kAnalyzeTarget));
        entry.opposite = Text(object, logical ? kColumn : kAttribute);
        entry.reference = Text(object, kReference);
        entry.description = Text(object, kDescription);
        entry.refCount = RefCount(object);
        MergeCounts(object, logical ? kMapOpposites : kMapOpposite, entry.mapOpposites);
        MergeCounts(object, kMapReferences, entry.mapReferences);
        MergeCounts(object, kMapDescriptions, entry.mapDescriptions);
    }
    return outcome;
}

Outcome Parse(const QByteArray& bytes, DomainInputMap& entries)
{
    Outcome outcome;
    QJsonObject root;
    QJsonArray array;
    if (!ParseRoot(bytes, root, outcome) || !RootArray(root, Kind::Domain, array, outcome))
        return outcome;
    entries.clear();
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        const QString attribute = Text(object, kAttribute);
        const QString type = Text(object, kDataType);
        const QString length = Text(object, kDataLength);
        const QString scale = Text(object, kDataScale);
        const QString key = MakeAttributeKey(attribute, type, length, scale);
        DomainAnalysisTarget& target = entries[key];
        target.key = key;
        target.attribute = attribute;
        target.type = type;
        target.length = length;
        target.scale = scale;
        target.column = Text(object, kColumn);
        target.reference = Text(object, kReference);
        target.refCount = RefCount(object);
        MergeCounts(object, kMapColumns, target.mapColumns);
        MergeCounts(object, kMapReferences, target.mapReferences);
    }
    return outcome;
}

Outcome Parse(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId)
{
    Outcome outcome;
    QJsonObject root;
    QJsonArray array;
    if (!ParseRoot(bytes, root, outcome) || !RootArray(root, Kind::Term, array, outcome))
        return outcome;
    const QJsonValue area = root.value(kTermArea);
    if (!area.isString())
        return {false, WrongKindMessage(Kind::Term)};
    areaId = area.toString();
    entries.clear();
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        TermAnalysisTarget target;
        target.strName = Text(object, kAttribute);
        target.strColumn = Text(object, kColumn);
        target.strReference = Text(object, kReference);
        target.strType = Text(object, kDataType);
        target.strLength = Text(object, kDataLength);
        target.strScale = Text(object, kDataScale);
        target.strDefinition = Text(object, kDescription);
        target.strDisplayType = GlobalFunc::BuildDataType(target.strType, target.strLength, target.strScale);
        entries.push_back(std::move(target));
    }
    return outcome;
}

namespace {
// The marquee shows while reading; it is hidden on every way out.
struct ReadProgress
{
    ReadProgress() { CQrProgressWnd::ShowMarquee(ExchangeTexts::kReadTitle, ExchangeTexts::kReadText); }
    ~ReadProgress() { CQrProgressWnd::Hide(); }
};
} // namespace

Outcome Read(WordAnalysis& analysis, const QString& path)
{
    analysis.Designations().Reset();
    ReadProgress progress;
    QByteArray bytes;
    Outcome outcome;
    if (!ReadBytes(path, bytes, outcome))
        return outcome;
    WordInputMap entries;
    outcome = Parse(bytes, KindOf(analysis), entries);
    if (!outcome.ok)
        return outcome;
    analysis.Inputs() = std::move(entries);
    return outcome;
}

Outcome Read(DomainAnalysis& analysis, const QString& path)
{
    analysis.Designations().Reset();
    ReadProgress progress;
    QByteArray bytes;
    Outcome outcome;
    if (!ReadBytes(path, bytes, outcome))
        return outcome;
    DomainInputMap entries;
    outcome = Parse(bytes, entries);
    if (!outcome.ok)
        return outcome;
    analysis.Inputs() = std::move(entries);
    return outcome;
}

Outcome Read(CTermAnalysis& analysis, const QString& path, const AreaResolver& resolve)
{
    analysis.Designations().Reset();
    ReadProgress progress;
    QByteArray bytes;
    Outcome outcome;
    if (!ReadBytes(path, bytes, outcome))
        return outcome;
    std::vector<TermAnalysisTarget> entries;
    QString areaId;
    outcome = Parse(bytes, entries, areaId);
    if (!outcome.ok)
        return outcome;
    if (!resolve || !resolve(areaId))
        return {false, ExchangeTexts::kNoStandardArea};
    analysis.SetAreaId(areaId);
    analysis.SetTargets(entries);
    return outcome;
}

} // namespace AnalysisDocument

#include "exchange/AnalysisDocument.h"

#include "analysis/DataType.h"
#include "components/AtomicFile.h"
#include "components/JsonTextWriter.h"
#include "components/Platform.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "exchange/DocumentReader.h"
#include "exchange/ExchangeTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <thread>
#include <type_traits>

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
// A domain picked by hand ("도메인 선택") in a term entry; readers that do not know the two
// members pass them by.
const QString kDomainName = QStringLiteral("DomainName");
const QString kDomainId = QStringLiteral("DomainId");

// A picked domain read back counts as picked again, so the next analysis keeps it.
void SetChosenDomain(TermAnalysisTarget& target, const QString& name, const QString& id)
{
    if (id.isEmpty())
        return;
    target.strDomainName = name;
    target.strDomainId = id;
    target.bDomainChosen = true;
}

// An empty map still gives its (empty) object.
void WriteCountMap(CJsonTextWriter& writer, QStringView name, const TextCounts& map)
{
    writer.Key(name);
    writer.BeginObject();
    for (const auto& [text, count] : map)
        writer.Member(text, count);
    writer.EndObject();
}

// A document in the one-array-under-the-root form every kind shares; the writer has no
// sink for ToBytes and the file for Save.
template <class Body> void WriteDocument(CJsonTextWriter& writer, Kind kind, Body body)
{
    writer.BeginObject();
    writer.Key(RootMember(kind));
    writer.BeginArray();
    body();
    writer.EndArray();
}

bool SaveWith(const QString& path, QString* error, const std::function<void(CJsonTextWriter&)>& write)
{
    return SaveJsonFile(path, write, error);
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
void MergeCounts(const QJsonObject& object, const QString& name, TextCounts& map)
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
        outcome = {
            false,
            QStringLiteral("JSON 문서로 읽을 수 없습니다 (위치 %2): %1").arg(error.errorString()).arg(error.offset)};
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

// The whole file; a large one is read in two halves at once, as filling fresh memory (its
// page faults) is most of the cost.
QByteArray ReadAll(QFile& file)
{
    constexpr qint64 kTwoThreadsFrom = 8 << 20;
    const qint64 size = file.size();
    if (size < kTwoThreadsFrom || file.handle() < 0 || std::thread::hardware_concurrency() < 2)
        return file.readAll();
    QByteArray bytes(size, Qt::Uninitialized);
    const auto fill = [&](qint64 from, qint64 to) {
        while (from < to) {
            const int64_t n = Platform::ReadAt(file.handle(), bytes.data() + from, size_t(to - from), from);
            if (n <= 0)
                return false;
            from += n;
        }
        return true;
    };
    bool second = false;
    std::thread worker([&] { second = fill(size / 2, size); });
    const bool first = fill(0, size / 2);
    worker.join();
    if (first && second && file.size() == size)
        return bytes;
    file.seek(0); // changed while read: read it the plain way
    return file.readAll();
}

bool ReadBytes(const QString& path, QByteArray& bytes, Outcome& outcome)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome = {false, QStringLiteral("파일을 열 수 없습니다: %1").arg(file.errorString())};
        return false;
    }
    if (file.size() > kMaxDocumentBytes) {
        outcome = {false, QStringLiteral("문서가 %1 MB보다 큽니다").arg(kMaxDocumentBytes >> 20)};
        return false;
    }
    bytes = ReadAll(file);
    return true;
}

// Results in ordinal key order, one per key: the form's result map.
template <class Result> std::vector<const Result*> SortedByKey(const std::vector<Result>& results)
{
    std::vector<const Result*> sorted;
    sorted.reserve(results.size());
    for (const Result& result : results)
        sorted.push_back(&result);
    const auto less = [](const Result* a, const Result* b) { return a->key < b->key; };
    // Results listed in key order (a document read back, or sorted results) need no sort.
    if (!std::is_sorted(sorted.begin(), sorted.end(), less))
        std::sort(sorted.begin(), sorted.end(), less);
    sorted.erase(
        std::unique(sorted.begin(), sorted.end(), [](const Result* a, const Result* b) { return a->key == b->key; }),
        sorted.end());
    return sorted;
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
    CJsonTextWriter writer;
    Write(writer, analysis);
    writer.Finish();
    return writer.TakeBytes();
}

QByteArray ToBytes(const DomainAnalysis& analysis)
{
    CJsonTextWriter writer;
    Write(writer, analysis);
    writer.Finish();
    return writer.TakeBytes();
}

QByteArray ToBytes(const CTermAnalysis& analysis)
{
    CJsonTextWriter writer;
    Write(writer, analysis);
    writer.Finish();
    return writer.TakeBytes();
}

// Members go out in the order QJsonObject kept them: ascending by name.
void Write(CJsonTextWriter& writer, const WordAnalysis& analysis)
{
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    WriteDocument(writer, KindOf(analysis), [&] {
        const auto sorted = SortedByKey(analysis.Results());
        writer.Elements(sorted.size(), [&](CJsonTextWriter& w, size_t i) {
            const WordAnalysisInput* input = analysis.Inputs().find(sorted[i]->key, sorted[i]->input);
            if (!input)
                return;
            w.BeginObject();
            w.Member(kAnalyzeTarget, input->AnalyzeTargetText());
            w.Member(kAttribute, logical ? input->name : input->opposite);
            w.Member(kColumn, logical ? input->opposite : input->name);
            w.Member(kDescription, input->description);
            w.Member(kRefCount, CQrStringUtil::FromInt(input->refCount));
            w.Member(kReference, input->reference);
            WriteCountMap(w, kMapDescriptions, input->mapDescriptions);
            WriteCountMap(w, logical ? kMapOpposites : kMapOpposite, input->mapOpposites);
            WriteCountMap(w, kMapReferences, input->mapReferences);
            w.EndObject();
        });
    });
    writer.EndObject();
}

void Write(CJsonTextWriter& writer, const DomainAnalysis& analysis)
{
    WriteDocument(writer, Kind::Domain, [&] {
        const auto sorted = SortedByKey(analysis.Results());
        writer.Elements(sorted.size(), [&](CJsonTextWriter& w, size_t i) {
            const DomainAnalysisTarget* target = analysis.Inputs().find(sorted[i]->key);
            if (!target)
                return;
            w.BeginObject();
            w.Member(kAttribute, target->attribute);
            w.Member(kColumn, target->column);
            w.Member(kDataLength, target->length);
            w.Member(kDataScale, target->scale);
            w.Member(kDataType, target->type);
            w.Member(kRefCount, CQrStringUtil::FromInt(target->refCount));
            w.Member(kReference, target->reference);
            WriteCountMap(w, kMapColumns, target->mapColumns);
            WriteCountMap(w, kMapReferences, target->mapReferences);
            w.EndObject();
        });
    });
    writer.EndObject();
}

void Write(CJsonTextWriter& writer, const CTermAnalysis& analysis)
{
    WriteDocument(writer, Kind::Term, [&] {
        // In the model's order, which the reader keeps: a reopened list reads as it was.
        for (const QString& name : analysis.TargetOrder()) {
            const TermAnalysisTarget* target = analysis.Target(name);
            if (!target)
                continue;
            writer.BeginObject();
            writer.Member(kAttribute, target->strName);
            writer.Member(kColumn, target->strColumn);
            writer.Member(kDataLength, target->strLength);
            writer.Member(kDataScale, target->strScale);
            writer.Member(kDataType, target->strType);
            writer.Member(kDescription, target->strDefinition);
            if (target->bDomainChosen && !target->strDomainId.isEmpty()) {
                writer.Member(kDomainId, target->strDomainId);
                writer.Member(kDomainName, target->strDomainName);
            }
            writer.Member(kReference, target->strReference);
            writer.EndObject();
        }
    });
    writer.Member(kTermArea, analysis.AreaId());
    writer.EndObject();
}

bool Save(const WordAnalysis& analysis, const QString& path, QString* error)
{
    return SaveWith(path, error, [&](CJsonTextWriter& writer) { Write(writer, analysis); });
}

bool Save(const DomainAnalysis& analysis, const QString& path, QString* error)
{
    return SaveWith(path, error, [&](CJsonTextWriter& writer) { Write(writer, analysis); });
}

bool Save(const CTermAnalysis& analysis, const QString& path, QString* error)
{
    return SaveWith(path, error, [&](CJsonTextWriter& writer) { Write(writer, analysis); });
}

bool WriteFile(const QByteArray& bytes, const QString& path, QString* error)
{
    CAtomicFile file(path);
    const bool ok = file.Open() && file.Commit(file.write(bytes) == bytes.size());
    if (!ok && error)
        *error = file.Error();
    return ok;
}

Outcome ParseDom(const QByteArray& bytes, Kind kind, WordInputMap& entries)
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

Outcome ParseDom(const QByteArray& bytes, DomainInputMap& entries)
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

Outcome ParseDom(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId)
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
        SetChosenDomain(target, Text(object, kDomainName), Text(object, kDomainId));
        entries.push_back(std::move(target));
    }
    return outcome;
}

namespace {

using DocumentReader::Entry;

// An entry as saved takes at least this many bytes; reserving by it spares the entry list
// its regrowth (pages reserved beyond the real count are never touched).
constexpr qsizetype kBytesPerEntry = 256;
using DocumentReader::Field;

// A map's text is mostly the entry's own text of that kind (the last row's column, reference,
// definition); it then shares that text's storage instead of holding a copy.
void TakeCounts(const Entry& entry, DocumentReader::CountMap which, TextCounts& map, const QString& usual)
{
    for (const auto& [text, count] : entry.counts[which])
        map.emplace(text == usual ? usual : text, count);
}

// A later entry of the same key overwrote every text but only added the count-map names the
// earlier ones lacked: `later` gets the merged counts before it replaces `earlier`.
void KeepEarlierCounts(TextCounts& earlier, TextCounts& later)
{
    earlier.merge(later);
    later = std::move(earlier);
}

// Reads the entries into `entries` with take(map, entry), over two threads for a large text; the
// second half's map is folded in after, fold(earlier, later) for a key both halves hold, so the
// result is the one-thread read's: first-appearance order, last texts, earliest counts. Once
// read, `bytes` is let go before the halves are joined: the caller's last reference to the
// text then frees it while both halves' entries are held.
template <class T, class Take, class Fold>
DocumentReader::Result ReadInTwo(QByteArray& bytes, const QString& root, TargetMap<T>& entries,
                                 const std::function<void()>& tick, const Take& take, const Fold& fold)
{
    TargetMap<T> read, later;
    read.reserve(bytes.size() / kBytesPerEntry);
    DocumentReader::Handlers first, second;
    first.restart = [&] { read.clear(); };
    first.tick = tick;
    first.entry = [&](const Entry& e) { take(read, e); };
    second.restart = [&] { later.clear(); };
    second.entry = [&](const Entry& e) {
        if (later.empty())
            later.reserve(bytes.size() / 2 / kBytesPerEntry);
        take(later, e);
    };
    bool split = false;
    const DocumentReader::Result result = DocumentReader::ReadSplit(AsUtf8(bytes), root, first, second, split);
    if (result != DocumentReader::Result::Ok)
        return result;
    bytes = QByteArray();
    if (split) {
        for (auto& [key, value] : later)
            read.insertOrFold(key, std::move(value), fold);
    }
    entries = std::move(read);
    return result;
}

} // namespace

// The one-pass reader first; what it leaves to the DOM reader (errors among them) goes there
// whole, so messages and readings stay that reader's.
Outcome ParseWith(QByteArray bytes, Kind kind, WordInputMap& entries, const std::function<void()>& tick)
{
    const bool logical = kind == Kind::Logical;
    const auto opposites = logical ? DocumentReader::MapOpposites : DocumentReader::MapOpposite;
    const auto take = [&](WordInputMap& into, const Entry& e) {
        const QString& key = e.texts[logical ? Field::Attribute : Field::Column];
        WordAnalysisInput& entry = into[key];
        entry.name = key;
        const QString& target = e.texts[Field::AnalyzeTarget];
        entry.SetAnalyzeTargetText(target == key ? key : target);
        entry.opposite = e.texts[logical ? Field::Column : Field::Attribute];
        entry.reference = e.texts[Field::Reference];
        entry.description = e.texts[Field::Description];
        entry.refCount = CQrStringUtil::ToIntLeading(e.texts[Field::RefCount]);
        TakeCounts(e, opposites, entry.mapOpposites, entry.opposite);
        TakeCounts(e, DocumentReader::MapReferences, entry.mapReferences, entry.reference);
        TakeCounts(e, DocumentReader::MapDescriptions, entry.mapDescriptions, entry.description);
    };
    const auto fold = [](WordAnalysisInput& earlier, WordAnalysisInput&& later) {
        for (auto map :
             {&WordAnalysisInput::mapOpposites, &WordAnalysisInput::mapReferences, &WordAnalysisInput::mapDescriptions})
            KeepEarlierCounts(earlier.*map, later.*map);
        earlier = std::move(later);
    };
    switch (ReadInTwo(bytes, RootMember(kind), entries, tick, take, fold)) {
    case DocumentReader::Result::Ok:
        return {};
    case DocumentReader::Result::WrongKind:
        return {false, WrongKindMessage(kind)};
    case DocumentReader::Result::Unsupported:
        break;
    }
    return ParseDom(bytes, kind, entries);
}

Outcome ParseWith(QByteArray bytes, DomainInputMap& entries, const std::function<void()>& tick)
{
    const auto take = [](DomainInputMap& into, const Entry& e) {
        const QString key = MakeAttributeKey(e.texts[Field::Attribute], e.texts[Field::DataType],
                                             e.texts[Field::DataLength], e.texts[Field::DataScale]);
        DomainAnalysisTarget& target = into[key];
        target.key = key;
        target.attribute = e.texts[Field::Attribute];
        target.type = e.texts[Field::DataType];
        target.length = e.texts[Field::DataLength];
        target.scale = e.texts[Field::DataScale];
        target.column = e.texts[Field::Column];
        target.reference = e.texts[Field::Reference];
        target.refCount = CQrStringUtil::ToIntLeading(e.texts[Field::RefCount]);
        TakeCounts(e, DocumentReader::MapColumns, target.mapColumns, target.column);
        TakeCounts(e, DocumentReader::MapReferences, target.mapReferences, target.reference);
    };
    const auto fold = [](DomainAnalysisTarget& earlier, DomainAnalysisTarget&& later) {
        KeepEarlierCounts(earlier.mapColumns, later.mapColumns);
        KeepEarlierCounts(earlier.mapReferences, later.mapReferences);
        earlier = std::move(later);
    };
    switch (ReadInTwo(bytes, RootMember(Kind::Domain), entries, tick, take, fold)) {
    case DocumentReader::Result::Ok:
        return {};
    case DocumentReader::Result::WrongKind:
        return {false, WrongKindMessage(Kind::Domain)};
    case DocumentReader::Result::Unsupported:
        break;
    }
    return ParseDom(bytes, entries);
}

Outcome ParseWith(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId,
                  const std::function<void()>& tick)
{
    std::vector<TermAnalysisTarget> read;
    DocumentReader::Handlers handlers;
    handlers.restart = [&] { read.clear(); };
    handlers.tick = tick;
    handlers.entry = [&](const Entry& e) {
        TermAnalysisTarget target;
        target.strName = e.texts[Field::Attribute];
        target.strColumn = e.texts[Field::Column];
        target.strReference = e.texts[Field::Reference];
        target.strType = e.texts[Field::DataType];
        target.strLength = e.texts[Field::DataLength];
        target.strScale = e.texts[Field::DataScale];
        target.strDefinition = e.texts[Field::Description];
        target.strDisplayType = GlobalFunc::BuildDataType(target.strType, target.strLength, target.strScale);
        SetChosenDomain(target, e.texts[Field::DomainName], e.texts[Field::DomainId]);
        read.push_back(std::move(target));
    };
    QString area;
    switch (DocumentReader::Read(AsUtf8(bytes), RootMember(Kind::Term), &kTermArea, &area, handlers)) {
    case DocumentReader::Result::Ok:
        entries = std::move(read);
        areaId = area;
        return {};
    case DocumentReader::Result::WrongKind:
        return {false, WrongKindMessage(Kind::Term)};
    case DocumentReader::Result::Unsupported:
        break;
    }
    return ParseDom(bytes, entries, areaId);
}

Outcome Parse(const QByteArray& bytes, Kind kind, WordInputMap& entries)
{
    return ParseWith(bytes, kind, entries, {});
}

Outcome Parse(const QByteArray& bytes, DomainInputMap& entries)
{
    return ParseWith(bytes, entries, {});
}

Outcome Parse(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId)
{
    return ParseWith(bytes, entries, areaId, {});
}

namespace {
// The marquee shows while reading; it is hidden on every way out.
struct ReadProgress
{
    ReadProgress() { CQrProgressWnd::ShowMarquee(ExchangeTexts::kReadTitle, ExchangeTexts::kReadText); }
    ~ReadProgress() { CQrProgressWnd::Hide(); }
};

// The entries of a word or domain document, handed to the engine only when all were read.
template <class Engine, class Parse> Outcome ReadInputs(Engine& analysis, const QString& path, Parse parse)
{
    analysis.Designations().Reset();
    ReadProgress progress;
    QByteArray bytes;
    Outcome outcome;
    if (!ReadBytes(path, bytes, outcome))
        return outcome;
    std::remove_reference_t<decltype(analysis.Inputs())> entries;
    outcome = parse(std::move(bytes), entries);
    if (outcome.ok)
        analysis.Inputs() = std::move(entries);
    return outcome;
}
} // namespace

Outcome Read(WordAnalysis& analysis, const QString& path)
{
    return ReadInputs(analysis, path, [&](QByteArray bytes, WordInputMap& entries) {
        return ParseWith(std::move(bytes), KindOf(analysis), entries, CQrProgressWnd::StepIt);
    });
}

Outcome Read(DomainAnalysis& analysis, const QString& path)
{
    return ReadInputs(analysis, path, [](QByteArray bytes, DomainInputMap& entries) {
        return ParseWith(std::move(bytes), entries, CQrProgressWnd::StepIt);
    });
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
    outcome = ParseWith(bytes, entries, areaId, CQrProgressWnd::StepIt);
    if (!outcome.ok)
        return outcome;
    if (!resolve || !resolve(areaId))
        return {false, ExchangeTexts::kNoStandardArea};
    analysis.SetAreaId(areaId);
    analysis.SetTargets(entries);
    return outcome;
}

} // namespace AnalysisDocument

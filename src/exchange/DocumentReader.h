#pragma once
// One pass over an analysis document's JSON text (rapidjson's event reader: every byte is
// checked, nothing but the current entry is held), handing each entry object of the root
// array to the caller. It reads exactly as the QJsonDocument reader did: a repeated member
// counts by its last occurrence, the root array included. Texts it leaves to that reader (its
// own refusals, raw control characters and NULs, lone surrogates, numbers like "1.") come
// back as Unsupported, so that errors keep that reader's messages.
#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace DocumentReader {

enum Field {
    Attribute,
    Column,
    AnalyzeTarget,
    Reference,
    Description,
    RefCount,
    DataType,
    DataLength,
    DataScale,
    DomainName, // term documents: a domain the user picked by hand, optional
    DomainId,
    FieldCount
};
enum CountMap { MapOpposites, MapOpposite, MapReferences, MapDescriptions, MapColumns, MapCount };

struct Entry
{
    QString texts[FieldCount]; // absent or not a string: empty
    bool present[MapCount] = {};
    // Integer members of each count map, each name once, in no particular order.
    std::vector<std::pair<QString, int>> counts[MapCount];
};

enum class Result { Ok, WrongKind, Unsupported };

struct Handlers
{
    // The root member came again: what was handed over so far no longer counts.
    std::function<void()> restart;
    std::function<void(const Entry&)> entry;
    // Called now and then on a long document, for the progress window to breathe.
    std::function<void()> tick;
};

// areaMember, when given, is a root string member to return in area (term documents);
// its absence or another type gives WrongKind.
Result Read(const QByteArray& utf8, const QString& rootMember, const QString* areaMember, QString* area,
            const Handlers& handlers);

// The same for a document without an area member, over two threads when the text is large: it
// is cut between two entries of the root array near the middle, the entries before the cut go to
// `handlers` and those after to `later` (on the second thread; `later` gets no ticks). split
// tells whether that happened: the caller then folds what `later` took in after the rest.
// Without it (a small text, no cut found, a refusal) everything went to `handlers`.
Result ReadSplit(const QByteArray& utf8, const QString& rootMember, const Handlers& handlers, const Handlers& later,
                 bool& split);

} // namespace DocumentReader

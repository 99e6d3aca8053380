#pragma once
// Conformance of a data model to one standard area: what an audit asks for, taken from the
// term analysis of the model's attributes.
//
// An attribute conforms as the term analysis calls a target complete (TermTargetResult::
// Conforming): its name is a registered term with a domain, or every word of it is a standard
// word, the last one a class word, and a domain was found. Findings, each counted once per
// attribute concerned:
//   words not found; non-standard words and forbidden words used (with their standard word;
//   one standing for a class word is not also "not a class word"); last word not a class
//   word; no domain (a registered term's too); a registered term whose attribute's data type,
//   length or scale differs from the term's domain.
// So a conforming attribute has no finding but, as a registered term, a type mismatch.
// A forbidden word is a non-standard word whose description marks it so (the standard import
// writes that mark; the word tables have no column for it).
#include <QJsonObject>
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <vector>

class CTermAnalysis;
class CSqlBaseGate;
class ISqlExecutor;

enum eConformanceFinding {
    eFindingUnknownWord = 0,
    eFindingNonStandardWord,
    eFindingForbiddenWord,
    eFindingNotClassWord,
    eFindingNoDomain,
    eFindingTypeMismatch,
    eFindingCount
};

struct ConformanceEntry
{
    QString attribute;
    QString column;
    QString dataType;    // the attribute's display type
    QString subject;     // the word, or the data type that differs
    QString replacement; // the standard word, or the domain to use
    int count = 0;       // attributes of the model with the same finding on the same subject
};

// A model read from a DDL script or a catalog: a column without a comment has no logical name,
// so it is no attribute of the figures; the report counts it here.
struct ConformanceModelCounts
{
    int tables = 0;
    int columns = 0;
    int withoutLogicalName = 0;
};

struct ConformanceReport
{
    QString areaId;
    QString areaName;
    QString input;
    int attributes = 0;
    int conforming = 0;
    std::optional<ConformanceModelCounts> model; // only for a model from a script or a catalog
    std::array<int, eFindingCount> concerned{};  // attributes per finding kind
    std::array<std::vector<ConformanceEntry>, eFindingCount> entries;

    // Percentage rounded to one decimal; 0 for a model without attributes.
    double Rate() const;
};

// What the analysis result does not carry about the area.
struct ConformanceAreaFacts
{
    std::set<QString> forbiddenWordIds; // DIC_ID
    struct Domain
    {
        QString name;
        QString type; // logical data type name
        QString length;
        QString scale;
    };
    std::map<QString, Domain> domains; // DOM_ID -> domain
};

namespace Conformance {

bool ReadAreaFacts(CSqlBaseGate& gate, ISqlExecutor& database, const QString& areaId, ConformanceAreaFacts& facts,
                   QString& error);
// From an analysed engine.
ConformanceReport Build(const CTermAnalysis& analysis, const ConformanceAreaFacts& facts);
// The report of an analysed engine against its area in the connected repository ("AR"), with
// the area's name; what the command line and the term form's "준수 현황" both use.
bool BuildForConnectedArea(const CTermAnalysis& analysis, ConformanceReport& report, QString& error);

// Stable keys of the finding kinds in the JSON ("unknown_word", ...).
QString FindingKey(int kind);
QJsonObject ToJson(const ConformanceReport& report);
// Summary sheet with the figures and a bar chart of the findings, then one sheet per finding
// kind. Written beside the target and moved into place, so a failure leaves no broken file.
bool WriteWorkbook(const ConformanceReport& report, const QString& path, QString* error = nullptr);

} // namespace Conformance

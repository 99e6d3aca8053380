#pragma once
// What changed between two editions of the public common standard (or an edition and what a
// repository area holds): words, domains and terms added, withdrawn and changed, and for a
// changed one what changed in it (abbreviation, name, class-word flag, domain class, type or
// length, synonyms, forbidden words, domain).
//
// Rows are matched by name. A row whose name is gone is still the same standard when the new
// edition says so: a new row lists the old name among its synonyms, takes over its
// abbreviation, or is the one row re-enacted ("(폐기후제정)") for a withdrawn row of the same
// domain and the same first abbreviation part (지붕코드 ROOF_CD -> 지붕구조구분코드
// ROOF_STRCT_SE_CD). Such a row is "changed" with its name among the changes; what is left is
// added or withdrawn. Descriptions and English names are not compared: editions rewrite
// hundreds of them without changing what a model must use.
#include "standard/PublicStandardReader.h"

#include <QString>
#include <array>
#include <vector>

class ISqlExecutor;

namespace StandardDiff {

enum class Kind { Word, Domain, Term };
inline constexpr std::array<Kind, 3> kKinds = {Kind::Word, Kind::Domain, Kind::Term};

struct Change
{
    QString field; // its Korean caption ("약어")
    QString before, after;
};

struct Entry
{
    QString name;     // the new name; the old one for a withdrawn row
    QString oldName;  // when renamed
    QString physical; // abbreviation (words, terms) or domain class (domains)
    std::vector<Change> changes;
};

struct KindDiff
{
    std::vector<Entry> added, withdrawn, changed;
};

struct Result
{
    QString oldLabel, newLabel;
    std::array<KindDiff, 3> kinds; // by Kind
    const KindDiff& Of(Kind k) const { return kinds[size_t(k)]; }
};

Result Compare(const PublicStandard& before, const PublicStandard& after);

// A repository area's current standards in the reader's shape (synonyms and forbidden words
// gathered back under their standard word), so an area compares with an edition file.
bool ReadArea(ISqlExecutor& db, const QString& areaId, PublicStandard& out, QString& error);
// Leaves out of an area's rows the ones an edition does not hold (by name and abbreviation,
// current or withdrawn, or by a current name): what the area's owners registered themselves,
// which bringing the area to that edition keeps and which it did not withdraw.
void KeepEditionRows(PublicStandard& area, const PublicStandard& edition);

QString KindCaption(Kind k); // "단어", "도메인", "용어"
// "약어 TYPE_AST_AMT → TGAST_AMT; ..."
QString Describe(const Entry& e);
// The counts, one line per kind, then the changed rows with what changed.
QString SummaryText(const Result& result, int maxListed = 20);
bool WriteJson(const Result& result, const QString& path, QString& error);
// One sheet per kind: 구분 (추가/폐기/변경), name, abbreviation, field, before, after.
bool WriteWorkbook(const Result& result, const QString& path, QString& error);

} // namespace StandardDiff

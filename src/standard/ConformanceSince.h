#pragma once
// What a new edition of the standard changes for a model: the columns whose verdict against an
// older area (the edition the model was built to) differs from the verdict against the area
// checked, each with both verdicts and why, read off what changed between the two areas in the
// standards the column uses. A column whose verdict stays is not listed, whatever changed in
// the standards it uses.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace StandardTexts {
// What a new edition changes for a model (check --since): the sheet, its figures, the reasons
// in eSinceReason order, and the columns of its rows.
inline const QString kSinceSheet = QStringLiteral("판정 변화");
inline const QString kSinceOldArea = QStringLiteral("이전 분류체계");
inline const QString kSinceNewArea = QStringLiteral("새 분류체계");
inline const QString kSinceColumns = QStringLiteral("판정이 바뀐 컬럼 수");
inline const QStringList kSinceReasonNames = {
    QStringLiteral("약어 변경"),   QStringLiteral("폐기된 표준"),  QStringLiteral("새 표준 단어"),
    QStringLiteral("분류어 변경"), QStringLiteral("새 표준 용어"), QStringLiteral("이음동의어·금칙어 변경"),
    QStringLiteral("도메인 변경"), QStringLiteral("그 밖의 변경"),
};
inline const QStringList kSinceHeader = {
    QStringLiteral("테이블"),    QStringLiteral("컬럼명"),    QStringLiteral("속성명"),    QStringLiteral("데이터타입"),
    QStringLiteral("변화 사유"), QStringLiteral("바뀐 표준"), QStringLiteral("이전 판정"), QStringLiteral("새 판정")};
inline const QString kConformingVerdict = QStringLiteral("준수");
inline const QString kNotConformingVerdict = QStringLiteral("미준수");
} // namespace StandardTexts

struct lxw_workbook;
struct lxw_format;

enum eSinceReason {
    eSinceAbbreviation = 0, // the abbreviation of a term or word the column uses changed
    eSinceWithdrawn,        // a standard word or term the column uses was withdrawn (or renamed)
    eSinceNewWord,          // a word the older area did not know is standard now
    eSinceClassWord,        // a word the column uses became (or stopped being) a class word
    eSinceNewTerm,          // the column's name is a registered term now
    eSinceSynonym,          // a synonym or forbidden word the column uses changed
    eSinceDomain,           // a domain, or the domain class of a class word, changed
    eSinceOther,            // the verdict changed and nothing above says why
    eSinceReasonCount
};

// One column whose verdict changes.
struct SinceEntry
{
    QString table, column, attribute, dataType; // as in the finding sheets
    std::vector<int> reasons;                   // eSinceReason, in order, each once
    QString detail;                             // what changed in the standards it uses
    QString oldVerdict, newVerdict;             // "준수", or the findings
};

struct ConformanceSince
{
    QString oldAreaId, oldAreaName;
    int columns = 0;                                // columns whose verdict changes
    std::array<int, eSinceReasonCount> perReason{}; // columns per reason (one may count under several)
    std::vector<SinceEntry> entries;                // in column order
};

namespace Conformance {

QString SinceReasonKey(int reason); // stable JSON key ("abbreviation_changed", ...)
QJsonObject SinceToJson(const ConformanceSince& since, const QString& newAreaId, const QString& newAreaName);
// The sheet "판정 변화": the two areas and the counts per reason, then one row per column. On
// "판정 변화 (2)" and on past a sheet's rows.
int WriteSinceSheet(lxw_workbook* workbook, lxw_format* bold, const ConformanceSince& since, const QString& newAreaId,
                    const QString& newAreaName);

} // namespace Conformance

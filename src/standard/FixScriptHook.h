#pragma once
// The fix script is written on the diagnosis floor, above this one. The check command and the
// "준수 현황" window reach it through this hook, which the program sets at its start (and a test
// that writes a script sets itself); unset, no script can be written and the callers say so.
#include "exchange/ModelSource.h"

#include <QString>
#include <QStringList>
#include <functional>

class CTermAnalysis;
struct ConformanceReport;

namespace FixScriptHook {

struct Request
{
    QString path;
    const CTermAnalysis* analysis = nullptr; // its area is the standard the columns are judged against
    const ModelSource::AttributeList* model = nullptr;
    ModelSource::Dialect dialect = ModelSource::Dialect::Unknown;
    const ConformanceReport* report = nullptr; // may be null: the writer judges the columns itself
    bool renameKeys = false;                   // rename primary, foreign and referenced keys too
    // Each change of the "보정 계획" sheet as its cells (FixScript::PlanHeader), in script order.
    std::function<void(const QStringList& cells)> plan;
};

struct Counts
{
    int renames = 0;
    int comments = 0;
    int leftOut = 0;   // renames and comments refused (clash, limit, key, unsafe), SQLite comments
    int keysKept = 0;  // of leftOut: key columns not renamed
    int typeNotes = 0; // type or length differences, as comments
};

using Writer = bool (*)(const Request& request, Counts& counts, QString& error);

void Set(Writer writer);
Writer Get();

inline const QString kNoWriter = QStringLiteral("이 프로그램에는 보정 스크립트를 쓰는 기능이 없습니다");

} // namespace FixScriptHook

#include "exchange/ExcelImport.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"
#include "exchange/ExchangeTexts.h"

namespace ExcelImport {
namespace {

using namespace AnalysisColors;

const std::vector<RoleItem> kLogical = {
    {WordAnalysis::RoleOpposite, QStringLiteral("컬럼명 지정"), QStringLiteral("컬럼명 지정취소"), 100, 101, kLightRed,
     false},
    {WordAnalysis::RoleName, QStringLiteral("속성명 지정 (필수)"), QStringLiteral("속성명 지정취소"), 102, 103,
     kLightGreen, true},
    {WordAnalysis::RoleDefinition, QStringLiteral("속성정의 지정"), QStringLiteral("속성정의 지정취소"), 104, 105,
     kLightGreen, false},
    {WordAnalysis::RoleReference, QStringLiteral("참고데이터 지정"), QStringLiteral("참고데이터 지정취소"), 106, 107,
     kLightRed, false},
};
const std::vector<RoleItem> kPhysical = {
    {WordAnalysis::RoleName, QStringLiteral("컬럼명 지정 (필수)"), QStringLiteral("컬럼명 지정취소"), 100, 101,
     kLightGreen, true},
    {WordAnalysis::RoleOpposite, QStringLiteral("속성명 지정"), QStringLiteral("속성명 지정취소"), 102, 103, kLightRed,
     false},
    {WordAnalysis::RoleDefinition, QStringLiteral("컬럼정의 지정"), QStringLiteral("컬럼정의 지정취소"), 104, 105,
     kLightGreen, false},
    {WordAnalysis::RoleReference, QStringLiteral("참고데이터 지정"), QStringLiteral("참고데이터 지정취소"), 106, 107,
     kLightRed, false},
};
const std::vector<RoleItem> kDomain = {
    {DomainAnalysis::RoleAttribute, QStringLiteral("속성명 지정 (필수)"), QStringLiteral("속성명 지정취소"), 100, 101,
     kLightGreen, true},
    {DomainAnalysis::RoleColumn, QStringLiteral("컬럼명 지정"), QStringLiteral("컬럼명 지정취소"), 102, 103,
     kLightGreen, false},
    {DomainAnalysis::RoleType, QStringLiteral("속성타입 지정 (필수)"), QStringLiteral("속성타입 지정취소"), 104, 105,
     kLightYellow, true},
    {DomainAnalysis::RoleLength, QStringLiteral("속성길이 지정"), QStringLiteral("속성길이 지정취소"), 106, 107,
     kLightYellow, false},
    {DomainAnalysis::RoleScale, QStringLiteral("속성스케일 지정"), QStringLiteral("속성스케일 지정취소"), 108, 109,
     kLightYellow, false},
    {DomainAnalysis::RoleReference, QStringLiteral("참고데이터 지정"), QStringLiteral("참고데이터 지정취소"), 110, 111,
     kLightRed, false},
};
const std::vector<RoleItem> kTerm = {
    {CTermAnalysis::RoleAttribute, QStringLiteral("속성명 지정 (필수)"), QStringLiteral("속성명 지정취소"), 100, 101,
     kLightGreen, true},
    {CTermAnalysis::RoleColumn, QStringLiteral("컬럼명 지정"), QStringLiteral("컬럼명 지정취소"), 102, 103, kLightGreen,
     false},
    {CTermAnalysis::RoleType, QStringLiteral("데이터타입 지정 (필수)"), QStringLiteral("데이터타입 지정취소"), 104, 105,
     kLightYellow, true},
    {CTermAnalysis::RoleLength, QStringLiteral("데이터길이 지정"), QStringLiteral("데이터길이 지정취소"), 106, 107,
     kLightYellow, false},
    {CTermAnalysis::RoleScale, QStringLiteral("데이터스케일 지정"), QStringLiteral("데이터스케일 지정취소"), 108, 109,
     kLightYellow, false},
    {CTermAnalysis::RoleDefinition, QStringLiteral("속성정의 지정"), QStringLiteral("속성정의 지정취소"), 110, 111,
     kLightRed, false},
    {CTermAnalysis::RoleReference, QStringLiteral("속성참고 지정"), QStringLiteral("속성참고 지정취소"), 112, 113,
     kLightRed, false},
};

struct ReadProgress
{
    ReadProgress() { CQrProgressWnd::ShowMarquee(ExchangeTexts::kReadTitle, ExchangeTexts::kReadText); }
    ~ReadProgress() { CQrProgressWnd::Hide(); }
};

} // namespace

const std::vector<RoleItem>& Roles(Form form)
{
    switch (form) {
    case Form::Logical:
        return kLogical;
    case Form::Physical:
        return kPhysical;
    case Form::Domain:
        return kDomain;
    case Form::Term:
        break;
    }
    return kTerm;
}

std::vector<int> MenuOrder(Form form)
{
    switch (form) {
    case Form::Logical:
        return {WordAnalysis::RoleName,     WordAnalysis::RoleDefinition, -1, WordAnalysis::RoleOpposite, -1,
                WordAnalysis::RoleReference};
    case Form::Physical:
        return {WordAnalysis::RoleName,     WordAnalysis::RoleDefinition, -1, WordAnalysis::RoleOpposite, -1,
                WordAnalysis::RoleReference};
    case Form::Domain:
        return {DomainAnalysis::RoleAttribute,
                DomainAnalysis::RoleType,
                DomainAnalysis::RoleLength,
                DomainAnalysis::RoleScale,
                -1,
                DomainAnalysis::RoleColumn,
                -1,
                DomainAnalysis::RoleReference};
    case Form::Term:
        break;
    }
    return {CTermAnalysis::RoleAttribute, CTermAnalysis::RoleColumn, -1, CTermAnalysis::RoleType,
            CTermAnalysis::RoleLength,    CTermAnalysis::RoleScale,  -1, CTermAnalysis::RoleDefinition,
            CTermAnalysis::RoleReference};
}

const RoleItem* FindRole(Form form, int role)
{
    for (const RoleItem& item : Roles(form))
        if (item.role == role)
            return &item;
    return nullptr;
}

QStringList ColumnHeaders(int columns)
{
    QStringList headers;
    headers.reserve(columns);
    for (int c = 0; c < columns; ++c)
        headers.append(GlobalFunc::IntToLetters(c));
    return headers;
}

Outcome ReadSheet(const QString& path, QVector<QStringList>& rows)
{
    ReadProgress progress;
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, false))
        return {false, ExchangeTexts::kInvalidWorkbook, sheet.GetLastError()};
    const int count = sheet.GetRowCount();
    const int columns = sheet.GetColumnCount();
    QVector<QStringList> read;
    read.reserve(count);
    QStringList cells;
    for (int r = 0; r < count; ++r) {
        sheet.GetRowData(cells, r, columns);
        read.append(cells);
    }
    rows = std::move(read);
    return {};
}

// A new sheet starts with no designations; a failed read leaves the engine's sheet as it was.
template <class Engine> Outcome ImportInto(Engine& analysis, const QString& path)
{
    analysis.Designations().Reset();
    QVector<QStringList> rows;
    Outcome outcome = ReadSheet(path, rows);
    if (outcome.ok)
        analysis.SetSheet(std::move(rows));
    return outcome;
}

Outcome Import(WordAnalysis& analysis, const QString& path)
{
    return ImportInto(analysis, path);
}

Outcome Import(DomainAnalysis& analysis, const QString& path)
{
    return ImportInto(analysis, path);
}

Outcome Import(CTermAnalysis& analysis, const QString& path)
{
    return ImportInto(analysis, path);
}

} // namespace ExcelImport

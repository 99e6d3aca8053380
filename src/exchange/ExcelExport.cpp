#include "exchange/ExcelExport.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"
#include "components/QrStringUtil.h"
#include "exchange/ExchangeTexts.h"

#include <algorithm>

namespace ExcelExport {
namespace {

template <class Result> std::vector<const Result*> InKeyOrder(const std::vector<Result>& results)
{
    std::vector<const Result*> sorted;
    sorted.reserve(results.size());
    for (const Result& r : results)
        sorted.push_back(&r);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Result* a, const Result* b) { return a->key < b->key; });
    return sorted;
}

} // namespace

std::vector<QStringList> Rows(const WordAnalysis& analysis)
{
    const bool logical = analysis.GetKind() == WordAnalysis::Kind::Logical;
    std::vector<QStringList> rows;
    if (logical)
        rows.push_back({QStringLiteral("대상속성명"), QStringLiteral("대상컬럼명"), QStringLiteral("분석컬럼명"),
                        QStringLiteral("분석단어"), QStringLiteral("대상속성참고"), QStringLiteral("대상속성정의")});
    else
        rows.push_back({QStringLiteral("대상컬럼명"), QStringLiteral("대상속성명"), QStringLiteral("분석속성명"),
                        QStringLiteral("분석단어"), QStringLiteral("대상컬럼참고"), QStringLiteral("대상컬럼정의")});
    for (const WordAnalysis::WordResult* result : InKeyOrder(analysis.Results())) {
        const WordAnalysisInput* input = analysis.Inputs().find(result->key);
        QStringList words;
        for (const WordPair& pair : result->words)
            words.append(pair.word);
        QString proposed = result->analyzedPartner;
        if (!logical)
            proposed.remove(u'_');
        rows.push_back({result->key, input ? input->opposite : QString(), proposed,
                        CQrStringUtil::CombineString(words, u','), input ? input->reference : QString(),
                        input ? input->description : QString()});
    }
    return rows;
}

std::vector<QStringList> Rows(const DomainAnalysis& analysis)
{
    std::vector<QStringList> rows;
    rows.push_back({QStringLiteral("속성명"), QStringLiteral("컬럼명"), QStringLiteral("데이터타입"),
                    QStringLiteral("데이터길이"), QStringLiteral("데이터스케일"), QStringLiteral("키도메인"),
                    QStringLiteral("도메인")});
    for (const DomainAnalysis::DomainResult* result : InKeyOrder(analysis.Results())) {
        const DomainAnalysisTarget* target = analysis.Inputs().find(result->key);
        if (!target)
            continue;
        rows.push_back({target->attribute, target->column, target->type, target->length, target->scale,
                        result->keyDomain, result->domainName});
    }
    return rows;
}

std::vector<QStringList> Rows(const CTermAnalysis& analysis)
{
    std::vector<QStringList> rows;
    rows.push_back(
        {QStringLiteral("속성명"), QStringLiteral("컬럼명"), QStringLiteral("분석단어"), QStringLiteral("도메인")});
    for (QStringList& row : analysis.ExportRows())
        rows.push_back(std::move(row));
    return rows;
}

bool Write(const std::vector<QStringList>& rows, const QString& path, QString* error)
{
    CQrProgressWnd::ShowMarquee(ExchangeTexts::kExportTitle, ExchangeTexts::kExportBuild);
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, true)) {
        CQrProgressWnd::Hide();
        if (error)
            *error = sheet.GetLastError();
        return false;
    }
    CQrProgressWnd::Hide();
    CQrProgressWnd::Show(int(rows.size()) - 1, ExchangeTexts::kExportTitle, ExchangeTexts::kExportWrite);
    for (size_t i = 0; i < rows.size(); ++i) {
        sheet.SetRowDataRange(rows[i], int(i));
        if (i > 0)
            CQrProgressWnd::StepIt();
    }
    const bool saved = sheet.Save(1);
    CQrProgressWnd::Hide();
    if (error)
        *error = sheet.GetLastError();
    return saved;
}

} // namespace ExcelExport

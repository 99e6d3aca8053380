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

// Row i of a word export: the header, then one row per result in key order.
class WordRows
{
public:
    explicit WordRows(const WordAnalysis& analysis)
        : m_analysis(analysis), m_logical(analysis.GetKind() == WordAnalysis::Kind::Logical),
          m_sorted(InKeyOrder(analysis.Results()))
    {
    }
    size_t Count() const { return m_sorted.size() + 1; }
    QStringList operator()(size_t i) const
    {
        if (i == 0)
            return m_logical ? QStringList{QStringLiteral("대상속성명"),   QStringLiteral("대상컬럼명"),
                                           QStringLiteral("분석컬럼명"),   QStringLiteral("분석단어"),
                                           QStringLiteral("대상속성참고"), QStringLiteral("대상속성정의")}
                             : QStringList{QStringLiteral("대상컬럼명"),   QStringLiteral("대상속성명"),
                                           QStringLiteral("분석속성명"),   QStringLiteral("분석단어"),
                                           QStringLiteral("대상컬럼참고"), QStringLiteral("대상컬럼정의")};
        const WordAnalysis::WordResult* result = m_sorted[i - 1];
        const WordAnalysisInput* input = m_analysis.Inputs().find(result->key, result->input);
        QStringList words;
        words.reserve(result->words.size());
        for (const WordPair& pair : result->words)
            words.append(pair.word);
        QString proposed = result->AnalyzedPartner();
        if (!m_logical)
            proposed.remove(u'_');
        return {result->key,
                input ? input->opposite : QString(),
                proposed,
                CQrStringUtil::CombineString(words, u','),
                input ? input->reference : QString(),
                input ? input->description : QString()};
    }

private:
    const WordAnalysis& m_analysis;
    bool m_logical;
    std::vector<const WordAnalysis::WordResult*> m_sorted;
};

// Row i of a domain export; results without a target were dropped when sorting.
class DomainRows
{
public:
    explicit DomainRows(const DomainAnalysis& analysis) : m_analysis(analysis)
    {
        for (const DomainAnalysis::DomainResult* result : InKeyOrder(analysis.Results()))
            if (const DomainAnalysisTarget* target = analysis.Inputs().find(result->key))
                m_rows.push_back({result, target});
    }
    size_t Count() const { return m_rows.size() + 1; }
    QStringList operator()(size_t i) const
    {
        if (i == 0)
            return {QStringLiteral("속성명"),     QStringLiteral("컬럼명"),       QStringLiteral("데이터타입"),
                    QStringLiteral("데이터길이"), QStringLiteral("데이터스케일"), QStringLiteral("키도메인"),
                    QStringLiteral("도메인")};
        const auto& [result, target] = m_rows[i - 1];
        return {target->attribute, target->column,    target->type,      target->length,
                target->scale,     result->keyDomain, result->domainName};
    }

private:
    const DomainAnalysis& m_analysis;
    std::vector<std::pair<const DomainAnalysis::DomainResult*, const DomainAnalysisTarget*>> m_rows;
};

template <class Source> std::vector<QStringList> AllRows(const Source& source)
{
    std::vector<QStringList> rows;
    rows.reserve(source.Count());
    for (size_t i = 0; i < source.Count(); ++i)
        rows.push_back(source(i));
    return rows;
}

} // namespace

std::vector<QStringList> Rows(const WordAnalysis& analysis)
{
    return AllRows(WordRows(analysis));
}

std::vector<QStringList> Rows(const DomainAnalysis& analysis)
{
    return AllRows(DomainRows(analysis));
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
    return Write(
        rows.size(), [&rows](size_t i) { return rows[i]; }, path, error);
}

bool Write(size_t rowCount, const RowAt& rowAt, const QString& path, QString* error)
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
    CQrProgressWnd::Show(int(rowCount) - 1, ExchangeTexts::kExportTitle, ExchangeTexts::kExportWrite);
    bool written = true;
    for (size_t i = 0; i < rowCount && written; ++i) {
        written = sheet.SetRowDataRange(rowAt(i), int(i));
        if (i > 0)
            CQrProgressWnd::StepIt();
    }
    const bool saved = written && sheet.Save(1);
    CQrProgressWnd::Hide();
    if (error)
        *error = written || !sheet.GetLastError().isEmpty()
                     ? sheet.GetLastError()
                     : QStringLiteral("한 시트에 담기에는 행이 너무 많습니다: %1행").arg(rowCount);
    return saved;
}

bool Write(const WordAnalysis& analysis, const QString& path, QString* error)
{
    const WordRows rows(analysis);
    return Write(rows.Count(), std::cref(rows), path, error);
}

bool Write(const DomainAnalysis& analysis, const QString& path, QString* error)
{
    const DomainRows rows(analysis);
    return Write(rows.Count(), std::cref(rows), path, error);
}

} // namespace ExcelExport

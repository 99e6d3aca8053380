#include "forms/ui/FormExchange.h"

#include "analysis/DomainAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalysisRequest.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"

namespace FormExchange {

bool ReadSheet(const QString& path, QVector<QStringList>& rows, QString& message)
{
    const ExcelImport::Outcome read = ExcelImport::ReadSheet(path, rows);
    message = read.message;
    return read.ok;
}

bool WriteRows(const QString& path, const std::vector<QStringList>& rows, QString& message)
{
    return ExcelExport::Write(rows, path, &message);
}

namespace {
template <class Analysis> bool Read(Analysis& analysis, const QString& path, QString& message)
{
    const AnalysisDocument::Outcome read = AnalysisDocument::Read(analysis, path);
    message = read.message;
    return read.ok;
}
} // namespace

bool ReadDocument(WordAnalysis& analysis, const QString& path, QString& message)
{
    return Read(analysis, path, message);
}

bool ReadDocument(DomainAnalysis& analysis, const QString& path, QString& message)
{
    return Read(analysis, path, message);
}

bool WriteDocument(const WordAnalysis& analysis, const QString& path, QString& message)
{
    return AnalysisDocument::Save(analysis, path, &message);
}

bool WriteDocument(const DomainAnalysis& analysis, const QString& path, QString& message)
{
    return AnalysisDocument::Save(analysis, path, &message);
}

bool WriteWorkbook(const WordAnalysis& analysis, const QString& path, QString& message)
{
    return ExcelExport::Write(analysis, path, &message); // rows stream to the file
}

bool WriteWorkbook(const DomainAnalysis& analysis, const QString& path, QString& message)
{
    return ExcelExport::Write(analysis, path, &message); // rows stream to the file
}

bool ReadRequest(WordAnalysis& analysis, const QString& json, QString& message)
{
    message.clear();
    return AnalysisRequest::Apply(analysis, json);
}

bool ReadRequest(DomainAnalysis& analysis, const QString& json, QString& message)
{
    message.clear();
    return AnalysisRequest::Apply(analysis, json);
}

std::vector<RoleMenuItem> RoleMenu(int form)
{
    const auto kind = ExcelImport::Form(form);
    std::vector<RoleMenuItem> items;
    bool separator = false;
    for (int role : ExcelImport::MenuOrder(kind)) {
        if (role < 0) {
            separator = true;
            continue;
        }
        if (const ExcelImport::RoleItem* item = ExcelImport::FindRole(kind, role))
            items.push_back({role, item->assignText, item->cancelText, item->colour, separator});
        separator = false;
    }
    return items;
}

} // namespace FormExchange

#include "forms/ui/AnalyzeLogicalWordForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/LogicalWordAnalysis.h"
#include "forms/ui/FormExchange.h"

CAnalyzeLogicalWordForm::CAnalyzeLogicalWordForm(QWidget* parent)
    : CAnalyzeWordForm(std::make_unique<LogicalWordAnalysis>(), parent)
{
    BuildUi(AnalysisTexts::kCaptionLogical);
}

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzeLogicalWordForm::RoleItems() const
{
    std::vector<RoleItem> items;
    for (const FormExchange::RoleMenuItem& item : FormExchange::RoleMenu(0))
        items.push_back({item.role, item.assign, item.cancel, item.color, item.separatorBefore});
    return items;
}

QString CAnalyzeLogicalWordForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsl)|*.xlsx;*.xls;*.ztsl|");
}

QString CAnalyzeLogicalWordForm::SaveFilter() const
{
    return QStringLiteral("Word Analyzed Files(*.ztsl)|*.ztsl|");
}

#include "forms/ui/AnalyzePhysicalWordForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "forms/ui/FormExchange.h"

CAnalyzePhysicalWordForm::CAnalyzePhysicalWordForm(QWidget* parent)
    : CAnalyzeWordForm(std::make_unique<PhysicalWordAnalysis>(), parent)
{
    BuildUi(AnalysisTexts::kCaptionPhysical);
}

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzePhysicalWordForm::RoleItems() const
{
    std::vector<RoleItem> items;
    for (const FormExchange::RoleMenuItem& item : FormExchange::RoleMenu(1))
        items.push_back({item.role, item.assign, item.cancel, item.color, item.separatorBefore});
    return items;
}

QString CAnalyzePhysicalWordForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsp)|*.xlsx;*.xls;*.ztsp|");
}

QString CAnalyzePhysicalWordForm::SaveFilter() const
{
    return QStringLiteral("Word Analyzed Files(*.ztsp)|*.ztsp|");
}

#include "analysis/ui/AnalyzeLogicalWordForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/LogicalWordAnalysis.h"

CAnalyzeLogicalWordForm::CAnalyzeLogicalWordForm(QWidget* parent)
    : CAnalyzeWordForm(std::make_unique<LogicalWordAnalysis>(), parent)
{
    BuildUi(AnalysisTexts::kCaptionLogical);
}

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzeLogicalWordForm::RoleItems() const
{
    namespace T = AnalysisTexts;
    namespace C = AnalysisColors;
    return {
        {WordAnalysis::RoleName, T::kAssignAttributeRequired, T::kCancelAttribute, C::kLightGreen},
        {WordAnalysis::RoleDefinition, T::kAssignAttributeDefinition, T::kCancelAttributeDefinition, C::kLightGreen},
        {WordAnalysis::RoleOpposite, T::kAssignColumn, T::kCancelColumn, C::kLightRed, true},
        {WordAnalysis::RoleReference, T::kAssignReference, T::kCancelReference, C::kLightRed, true},
    };
}

QString CAnalyzeLogicalWordForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsl)|*.xlsx;*.xls;*.ztsl|");
}

QString CAnalyzeLogicalWordForm::SaveFilter() const
{
    return QStringLiteral("Word Analyzed Files(*.ztsl)|*.ztsl|");
}

#include "analysis/ui/AnalyzePhysicalWordForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/PhysicalWordAnalysis.h"

CAnalyzePhysicalWordForm::CAnalyzePhysicalWordForm(QWidget* parent)
    : CAnalyzeWordForm(std::make_unique<PhysicalWordAnalysis>(), parent)
{
    BuildUi(AnalysisTexts::kCaptionPhysical);
}

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzePhysicalWordForm::RoleItems() const
{
    namespace T = AnalysisTexts;
    namespace C = AnalysisColors;
    return {
        {WordAnalysis::RoleName, T::kAssignColumnRequired, T::kCancelColumn, C::kLightGreen},
        {WordAnalysis::RoleDefinition, T::kAssignColumnDefinition, T::kCancelColumnDefinition, C::kLightGreen},
        {WordAnalysis::RoleOpposite, T::kAssignAttribute, T::kCancelAttribute, C::kLightRed, true},
        {WordAnalysis::RoleReference, T::kAssignReference, T::kCancelReference, C::kLightRed, true},
    };
}

QString CAnalyzePhysicalWordForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsp)|*.xlsx;*.xls;*.ztsp|");
}

QString CAnalyzePhysicalWordForm::SaveFilter() const
{
    return QStringLiteral("Word Analyzed Files(*.ztsp)|*.ztsp|");
}

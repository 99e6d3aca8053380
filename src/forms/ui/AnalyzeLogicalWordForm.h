#pragma once
// The "단어 분석 [논리]" form: logical attribute names split into words.
#include "forms/ui/AnalyzeWordForm.h"

class CAnalyzeLogicalWordForm : public CAnalyzeWordForm
{
    Q_OBJECT
public:
    explicit CAnalyzeLogicalWordForm(QWidget* parent = nullptr);
    EAnalysisFormKind FormKind() const override { return EAnalysisFormKind::Logical; }

protected:
    std::vector<RoleItem> RoleItems() const override;
    QString OpenFilter() const override;
    int ModelForm() const override { return 0; }
    QString SaveFilter() const override;
    QString DocumentExtension() const override { return QStringLiteral("ztsl"); }
};

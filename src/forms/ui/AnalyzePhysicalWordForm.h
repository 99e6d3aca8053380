#pragma once
// The "단어 분석 [물리]" form: physical column names split into words.
#include "forms/ui/AnalyzeWordForm.h"

class CAnalyzePhysicalWordForm : public CAnalyzeWordForm
{
    Q_OBJECT
public:
    explicit CAnalyzePhysicalWordForm(QWidget* parent = nullptr);
    EAnalysisFormKind FormKind() const override { return EAnalysisFormKind::Physical; }

protected:
    std::vector<RoleItem> RoleItems() const override;
    QString OpenFilter() const override;
    int ModelForm() const override { return 1; }
    QString SaveFilter() const override;
    QString DocumentExtension() const override { return QStringLiteral("ztsp"); }
};

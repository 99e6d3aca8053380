#pragma once
// The "도메인 분석" form: each attribute's key domain and the dictionary domain that matches
// its logical type, length and scale.
#include "forms/ui/AnalyzeFormBase.h"

#include <memory>

class DomainAnalysis;

class CAnalyzeDomainForm : public CAnalyzeFormBase
{
    Q_OBJECT
public:
    explicit CAnalyzeDomainForm(QWidget* parent = nullptr);
    ~CAnalyzeDomainForm() override;

    int Mode() const override;
    DomainAnalysis& Engine() const { return *m_engine; }
    EAnalysisFormKind FormKind() const override { return EAnalysisFormKind::Domain; }
    void ApplyRequest(const QString& json) override;

protected:
    std::vector<RoleItem> RoleItems() const override;
    ColumnRoles& Roles() override;
    const QVector<QStringList>& Sheet() const override;
    void SetSheet(QVector<QStringList> rows) override;
    void SetExcludeFirstRowFlag(bool exclude) override;
    bool IsSheetRowHidden(int row) const override;
    QString OpenFilter() const override;
    int ModelForm() const override { return 2; }
    QString SaveFilter() const override;
    QString DocumentExtension() const override { return QStringLiteral("ztsd"); }
    bool ReadDocument(const QString& path, QString& message) override;
    bool WriteDocument(const QString& path, QString& message) override;
    bool WriteWorkbook(const QString& path, QString& message) override;
    void Analyze() override;
    void ShowReport() override;
    void ShowResultMenu(int row, const QPoint& globalPos) override;
    void NameEdited(int row, const QString& oldText, const QString& newText) override;
    void FilterChanged(bool excludeAnalyzed, const QString& text) override;
    bool IsTargetHidden(int target) const override;

private:
    QString AttributeKeyOfRow(int row, const QString& name) const;
    void ShowEngineResult();

    std::unique_ptr<DomainAnalysis> m_engine;
};

#pragma once
// The word analysis form over a WordAnalysis engine; the logical and physical forms differ
// only in their engine's kind, designation menu and file names.
#include "forms/ui/AnalyzeFormBase.h"

#include <memory>

class WordAnalysis;

class CAnalyzeWordForm : public CAnalyzeFormBase
{
    Q_OBJECT
public:
    ~CAnalyzeWordForm() override;
    int Mode() const override;
    WordAnalysis& Engine() const { return *m_engine; }
    void ApplyRequest(const QString& json) override;

protected:
    CAnalyzeWordForm(std::unique_ptr<WordAnalysis> engine, QWidget* parent);

    ColumnRoles& Roles() override;
    const QVector<QStringList>& Sheet() const override;
    void SetSheet(QVector<QStringList> rows) override;
    void SetExcludeFirstRowFlag(bool exclude) override;
    bool IsSheetRowHidden(int row) const override;
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
    // After the report closed with OK: the rename question for changed words, then analyse.
    void AfterReport(const std::vector<std::pair<QString, QString>>& changes);
    void ShowEngineResult();

    std::unique_ptr<WordAnalysis> m_engine;
};

#pragma once
// The "용어 분석" form: attributes checked against the standard words, domains and terms of
// one standard area of the repository, with registration of what is missing from the
// result's context menu. The engine is CTermAnalysis.
#include "forms/ui/AnalyzeFormBase.h"

#include <functional>
#include <memory>
#include <set>

class CTermAnalysis;

class CAnalyzeTermForm : public CAnalyzeFormBase
{
    Q_OBJECT
public:
    // Context menu entries.
    static const QString kMenuRegisterDomain;
    static const QString kMenuSelectDomain;
    static const QString kMenuRegisterTerm;
    static const QString kMenuRegisterWord;
    static const QString kMenuRegisterClassWord;

    explicit CAnalyzeTermForm(QWidget* parent = nullptr);
    ~CAnalyzeTermForm() override;

    int Mode() const override;
    CTermAnalysis& Engine() const { return *m_engine; }
    EAnalysisFormKind FormKind() const override { return EAnalysisFormKind::Term; }
    void ApplyRequest(const QString& json) override;

    QComboBox* AreaCombo() const { return m_areas; }
    // Reads the repository's standard areas into the combo box again (keeps the selection).
    void RefreshAreas();
    // Selects the area of that id; false when the combo box does not list it.
    bool SelectArea(const QString& areaId);
    // The level-1 grid row of a target, -1 when it is not shown.
    int RowOfTarget(const QString& name) const;

protected:
    std::vector<RoleItem> RoleItems() const override;
    ColumnRoles& Roles() override;
    const QVector<QStringList>& Sheet() const override;
    void SetSheet(QVector<QStringList> rows) override;
    void SetExcludeFirstRowFlag(bool exclude) override;
    bool IsSheetRowHidden(int row) const override;
    QString OpenFilter() const override;
    int ModelForm() const override { return 3; }
    QString SaveFilter() const override;
    QString DocumentExtension() const override { return QStringLiteral("ztst"); }
    bool ReadDocument(const QString& path, QString& message) override;
    bool WriteDocument(const QString& path, QString& message) override;
    bool WriteWorkbook(const QString& path, QString& message) override;
    void Analyze() override;
    // "준수 현황": the conformance of the analysed model to the area.
    void ShowReport() override;
    void ShowResultMenu(int row, const QPoint& globalPos) override;
    void NameEdited(int row, const QString& oldText, const QString& newText) override;
    void FilterChanged(bool excludeAnalyzed, const QString& text) override;
    bool IsTargetHidden(int target) const override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildTermControls();
    QString CurrentAreaId() const;
    bool ResolveArea(const QString& areaId);
    QString TargetNameOfRow(int row) const;
    // Shows the engine's result; the named target (if any) becomes the current row.
    void ShowEngineResult(const QString& focusTarget = QString());
    void OnCellClicked(int row, int col);
    // Synonyms and forbidden words in the word rows: their own mark, colour and tooltip.
    void MarkNonStandardWords();
    const std::set<QString>& ForbiddenWordIds();
    // The result was analysed on the repository connected now and on the area chosen now.
    bool ResultIsCurrent() const;

    // Context menu actions; `targetRow` is the clicked target's level-1 row.
    void RegisterWord(int row, const QString& target);
    void RegisterDomain(const QString& target);
    void RegisterTerm(const QString& target);
    void RegisterClassWord(int row, const QString& target);
    void SelectDomain(const QString& target);

    // Runs work that reads the repository through the engine: only on a live connection, and
    // when the connection goes in the middle, the engine is put back as it was before and the
    // user is told what failed. True when the work ran to its end.
    bool RunOnRepository(const QString& what, const std::function<bool()>& work);

    std::unique_ptr<CTermAnalysis> m_engine;
    QComboBox* m_areas = nullptr;
    QString m_resultRepository;    // identity of the repository the shown result was read from
    std::set<QString> m_forbidden; // DIC_IDs of the area's forbidden words
    QString m_forbiddenKey;        // repository and area they were read for
};

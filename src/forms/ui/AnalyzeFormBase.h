#pragma once
// What the logical, physical and domain analysis forms share: the controls ("파일" and "분석"
// groups, the target list), the source sheet with its column designation menu, the result tree
// drawn from the engine's rows, the filters, and the open / save / export buttons.
// Also what keeps a user's work and tells what happened: the question before an unsaved
// analysis is thrown away, the roles in the source headers, one output line per run, the
// keyboard shortcuts.
#include "analysis/AnalysisRow.h"
#include "analysis/ColumnRoles.h"
#include "components/ui/AnalysisRequestTarget.h"
#include "exchange/ModelSource.h"

#include <QElapsedTimer>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

struct RepositoryUri;

class CQrTreeGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CAnalyzeFormBase : public QWidget, public IAnalysisRequestTarget
{
    Q_OBJECT
public:
    // One designation of the source sheet's columns.
    struct RoleItem
    {
        int role;
        QString assign;
        QString cancel;
        unsigned color; // 0x00BBGGRR
        bool separatorBefore = false;
    };

    explicit CAnalyzeFormBase(QWidget* parent = nullptr);

    virtual int Mode() const = 0;
    CQrTreeGrid* Grid() const { return m_grid; }
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* OpenDatabaseButton() const { return m_openDatabase; }
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* AnalyzeButton() const { return m_analyze; }
    QPushButton* ReportButton() const { return m_report; }
    QPushButton* ExportButton() const { return m_export; }
    QCheckBox* ExcludeFirstRowCheck() const { return m_excludeFirstRow; }
    QCheckBox* ExcludeAnalyzedCheck() const { return m_excludeAnalyzed; }
    QComboBox* FilterCombo() const { return m_filter; }
    QLineEdit* PathEdit() const { return m_path; }
    QGroupBox* TargetGroup() const { return m_targets; }

    QLabel* DesignationHint() const { return m_hint; }
    // Find in the grid (Ctrl+F opens it, Enter or F3 the next match, Shift+F3 the one before,
    // Escape closes it): every cell of every row not filtered out, ignoring case, wrapping
    // around; a match under a folded target unfolds it. False when nothing matches.
    QLineEdit* FindEdit() const { return m_find; }
    QLabel* FindStatus() const { return m_findStatus; }
    void OpenFind();
    bool FindNext(bool backwards = false);

    // Reads a workbook or the form's document as "열기" does after the dialog. On failure
    // the form, its path box included, stays as it was.
    void OpenPath(const QString& path);
    // "DB에서 열기" after its dialog: the catalog read into the source grid with the
    // designations set. On failure or cancel the form stays as it was.
    bool OpenCatalog(const RepositoryUri& uri, const QStringList& schemas, const QString& tables);
    // DDL scripts read as one script (tables and comments may come apart), as "열기" does with
    // several .sql files chosen. On failure the form stays as it was.
    bool OpenScripts(const QStringList& paths);
    // The model a DDL script or a catalog gave (for the fix script); null for other inputs.
    const ModelSource::AttributeList* Model() const { return m_model.get(); }

    // An analysis result that was not saved since it was made.
    bool IsAnalysisModified() const { return m_modified && Mode() == 2; }
    // Before the result is thrown away: asks save / discard / cancel when it is unsaved.
    // True when the caller may go on (saved or discarded, or nothing to lose).
    bool ConfirmDiscard();
    bool ConfirmReplace() override { return ConfirmDiscard(); }
    // The header text of a source column: its letter, its role, and the first row's text
    // while that row is excluded.
    QString SourceHeader(int col) const;

protected:
    void BuildUi(const QString& caption);

    // --- per kind -------------------------------------------------------------------
    virtual std::vector<RoleItem> RoleItems() const = 0;
    virtual ColumnRoles& Roles() = 0;
    virtual const QVector<QStringList>& Sheet() const = 0;
    virtual void SetSheet(QVector<QStringList> rows) = 0;
    virtual void SetExcludeFirstRowFlag(bool exclude) = 0;
    virtual bool IsSheetRowHidden(int row) const = 0;
    virtual QString OpenFilter() const = 0;
    // The form's number for the designations of a model (0 logical, 1 physical, 2 domain, 3 term).
    virtual int ModelForm() const = 0;
    virtual QString SaveFilter() const = 0;
    virtual QString DocumentExtension() const = 0;
    // The document into the engine's inputs (nothing changes on failure), analysed and shown.
    // A failure with an empty message was shown by the form itself.
    virtual bool ReadDocument(const QString& path, QString& message) = 0;
    virtual bool WriteDocument(const QString& path, QString& message) = 0;
    virtual bool WriteWorkbook(const QString& path, QString& message) = 0;
    // "분석": builds the targets in source mode, analyses, shows the result.
    virtual void Analyze() = 0;
    virtual void ShowReport() = 0;
    virtual void ShowResultMenu(int row, const QPoint& globalPos) = 0;
    virtual void NameEdited(int row, const QString& oldText, const QString& newText) = 0;
    // The engine's filter flags changed: its hidden flags are current.
    virtual void FilterChanged(bool excludeAnalyzed, const QString& text) = 0;
    virtual bool IsTargetHidden(int target) const = 0;

    // --- shared behaviour -------------------------------------------------------------
    void ShowSheet();
    void ShowResult(const QStringList& columns, const std::vector<AnalysisRow>& rows, const QString& caption);
    // The rows of targets first..last-1.
    using RowSlice = std::function<std::vector<AnalysisRow>(size_t first, size_t last)>;
    // A large result is drawn in slices of targets with the progress window breathing between
    // them, so the window keeps answering while a million rows go in.
    void ShowResult(const QStringList& columns, size_t targets, const RowSlice& rows, const QString& caption);
    // Re-reads the hidden flags of the level-1 rows from the engine.
    void RefreshHiddenRows();
    void UpdateButtons();
    // Shows a failure or information text (the message box helper).
    void Inform(const QString& text);
    // The level-1 row above a row.
    int TargetRowOf(int row) const;
    // The column of the cell whose right click opened the result menu.
    int MenuColumn() const { return m_menuColumn; }
    void SetAnalysisModified(bool modified) { m_modified = modified; }

    void closeEvent(QCloseEvent* event) override;

private:
    void OnOpen();
    void OnOpenDatabase();
    // A model read from a script or a catalog into the source grid.
    // shownPath goes into the path box; proposalPath is what saves and exports name their file after.
    void ShowModel(ModelSource::AttributeList&& list, const QString& shownPath, const QString& proposalPath);
    bool OnSave();
    void OnExport();
    void OnAnalyze();
    void UpdateSourceHeaders();
    void UpdateHint();
    QStringList MissingRequiredRoles();
    // One line in the output pane and the status bar after a run.
    void ReportRun(const QString& caption);
    void AddShortcuts();
    void OnGridMenu(int row, int col, const QPoint& globalPos);
    void DesignationMenu(int col, const QPoint& globalPos);
    void PaintColumn(int col, unsigned color);
    void OnExcludeFirstRow(bool checked);
    void OnFilter();
    void AppendResultRows(const std::vector<AnalysisRow>& rows);
    void BeginResult(const QStringList& columns);
    void EndResult(const QString& caption);

    QLineEdit* m_path = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_openDatabase = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_analyze = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_export = nullptr;
    QCheckBox* m_excludeFirstRow = nullptr;
    QCheckBox* m_excludeAnalyzed = nullptr;
    QComboBox* m_filter = nullptr;
    QGroupBox* m_targets = nullptr;
    QLabel* m_hint = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_find = nullptr;
    QLabel* m_findStatus = nullptr;
    CQrTreeGrid* m_grid = nullptr;
    bool m_modified = false;
    bool m_renaming = false;
    QElapsedTimer m_run; // valid while a run the form started is under way
    int m_menuColumn = -1;
    std::shared_ptr<ModelSource::AttributeList> m_model; // facts only: the rows live in the engine
};

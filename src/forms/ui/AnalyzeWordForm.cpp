#include "forms/ui/AnalyzeWordForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/WordAnalysis.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "forms/ui/FormExchange.h"
#include "reports/WordReport.h"
#include "reports/ui/WordReportDlg.h"

#include <QMenu>

CAnalyzeWordForm::CAnalyzeWordForm(std::unique_ptr<WordAnalysis> engine, QWidget* parent)
    : CAnalyzeFormBase(parent), m_engine(std::move(engine))
{
}

CAnalyzeWordForm::~CAnalyzeWordForm() = default;

int CAnalyzeWordForm::Mode() const
{
    return m_engine->Mode();
}

ColumnRoles& CAnalyzeWordForm::Roles()
{
    return m_engine->Designations();
}

const QVector<QStringList>& CAnalyzeWordForm::Sheet() const
{
    return m_engine->Sheet();
}

void CAnalyzeWordForm::SetSheet(QVector<QStringList> rows)
{
    m_engine->SetSheet(std::move(rows));
}

void CAnalyzeWordForm::SetExcludeFirstRowFlag(bool exclude)
{
    m_engine->SetExcludeFirstRow(exclude);
}

bool CAnalyzeWordForm::IsSheetRowHidden(int row) const
{
    return m_engine->IsSheetRowHidden(row);
}

bool CAnalyzeWordForm::ReadDocument(const QString& path, QString& message)
{
    if (!FormExchange::ReadDocument(*m_engine, path, message))
        return false;
    // The loaded entries are analysed as they are; the sheet plays no part.
    m_engine->Analyze();
    ShowEngineResult();
    return true;
}

bool CAnalyzeWordForm::WriteDocument(const QString& path, QString& message)
{
    return FormExchange::WriteDocument(*m_engine, path, message);
}

bool CAnalyzeWordForm::WriteWorkbook(const QString& path, QString& message)
{
    return FormExchange::WriteWorkbook(*m_engine, path, message);
}

void CAnalyzeWordForm::ApplyRequest(const QString& json)
{
    QString message;
    if (!FormExchange::ReadRequest(*m_engine, json, message)) {
        if (!message.isEmpty())
            Inform(message);
        return;
    }
    m_engine->Analyze();
    ShowEngineResult();
}

void CAnalyzeWordForm::Analyze()
{
    const WordAnalysis::RunResult run = m_engine->Run();
    if (!run.ok) {
        Inform(run.message);
        return;
    }
    ShowEngineResult();
}

void CAnalyzeWordForm::ShowEngineResult()
{
    const WordAnalysis& engine = *m_engine;
    ShowResult(
        engine.ResultColumns(), engine.Results().size(),
        [&engine](size_t first, size_t last) { return engine.Rows(first, last); }, engine.TargetListCaption());
}

void CAnalyzeWordForm::FilterChanged(bool excludeAnalyzed, const QString& text)
{
    if (m_engine->ExcludeAnalyzed() != excludeAnalyzed)
        m_engine->SetExcludeAnalyzed(excludeAnalyzed);
    if (m_engine->FilterText() != text)
        m_engine->SetFilterText(text);
}

bool CAnalyzeWordForm::IsTargetHidden(int target) const
{
    const auto& results = m_engine->Results();
    return target >= 0 && target < int(results.size()) && results[size_t(target)].hidden;
}

void CAnalyzeWordForm::NameEdited(int row, const QString& oldText, const QString& newText)
{
    const WordAnalysis::RenameResult renamed = m_engine->RenameTarget(oldText, newText);
    if (!renamed.changed) {
        // The normalised text goes back into the cell.
        QSignalBlocker block(Grid()->Model());
        Grid()->SetItemText(row, 0, renamed.name);
        return;
    }
    ShowEngineResult();
    for (int r = 0; r < Grid()->GetRowCount(); ++r) {
        if (Grid()->GetTreeLevel(r) == 1 && Grid()->GetItemText(r, 0) == renamed.name) {
            Grid()->SetScrollToCell(r, 0);
            break;
        }
    }
}

void CAnalyzeWordForm::ShowReport()
{
    CWordReportDlg dialog(WordReportInput::FromAnalysis(*m_engine), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    AfterReport(dialog.WordChanges());
}

void CAnalyzeWordForm::ShowResultMenu(int row, const QPoint& globalPos)
{
    const int targetRow = TargetRowOf(row);
    if (targetRow < 0)
        return;
    QMenu menu(this);
    QAction* add = menu.addAction(AnalysisTexts::kMenuAddTargetWords);
    if (CQrPopupMenu::Exec(&menu, globalPos) != add)
        return;
    const QString key = Grid()->GetItemText(targetRow, 0);
    WordReportInput input = WordReportInput::ForTarget(*m_engine, key);
    if (input.missing.empty()) {
        Inform(AnalysisTexts::kNoUnanalyzedWords);
        return;
    }
    CWordReportDlg dialog(std::move(input), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    AfterReport(dialog.WordChanges());
}

void CAnalyzeWordForm::AfterReport(const std::vector<std::pair<QString, QString>>& changes)
{
    if (!changes.empty() && CQrMessageBox::Question(this, m_engine->RenameQuestion()))
        m_engine->RenameForWordChanges(changes);
    Analyze();
}

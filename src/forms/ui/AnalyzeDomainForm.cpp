#include "forms/ui/AnalyzeDomainForm.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/DomainAnalysis.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "forms/ui/FormExchange.h"
#include "reports/DomainReport.h"
#include "reports/ui/DomainReportDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

CAnalyzeDomainForm::CAnalyzeDomainForm(QWidget* parent)
    : CAnalyzeFormBase(parent), m_engine(std::make_unique<DomainAnalysis>())
{
    BuildUi(AnalysisTexts::kCaptionDomain);
}

CAnalyzeDomainForm::~CAnalyzeDomainForm() = default;

int CAnalyzeDomainForm::Mode() const
{
    return m_engine->Mode();
}

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzeDomainForm::RoleItems() const
{
    std::vector<RoleItem> items;
    for (const FormExchange::RoleMenuItem& item : FormExchange::RoleMenu(2))
        items.push_back({item.role, item.assign, item.cancel, item.color, item.separatorBefore});
    return items;
}

ColumnRoles& CAnalyzeDomainForm::Roles()
{
    return m_engine->Designations();
}

const QVector<QStringList>& CAnalyzeDomainForm::Sheet() const
{
    return m_engine->Sheet();
}

void CAnalyzeDomainForm::SetSheet(QVector<QStringList> rows)
{
    m_engine->SetSheet(std::move(rows));
}

void CAnalyzeDomainForm::SetExcludeFirstRowFlag(bool exclude)
{
    m_engine->SetExcludeFirstRow(exclude);
}

bool CAnalyzeDomainForm::IsSheetRowHidden(int row) const
{
    return m_engine->IsSheetRowHidden(row);
}

QString CAnalyzeDomainForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsd)|*.xlsx;*.xls;*.ztsd|");
}

QString CAnalyzeDomainForm::SaveFilter() const
{
    return QStringLiteral("Doamin Analyzed Files(*.ztsd)|*.ztsd|");
}

bool CAnalyzeDomainForm::ReadDocument(const QString& path, QString& message)
{
    if (!FormExchange::ReadDocument(*m_engine, path, message))
        return false;
    // The loaded entries are analysed as they are; the sheet plays no part.
    m_engine->Analyze();
    ShowEngineResult();
    return true;
}

bool CAnalyzeDomainForm::WriteDocument(const QString& path, QString& message)
{
    return FormExchange::WriteDocument(*m_engine, path, message);
}

bool CAnalyzeDomainForm::WriteWorkbook(const QString& path, QString& message)
{
    return FormExchange::WriteWorkbook(*m_engine, path, message);
}

void CAnalyzeDomainForm::ApplyRequest(const QString& json)
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

void CAnalyzeDomainForm::Analyze()
{
    const DomainAnalysis::RunResult run = m_engine->Run();
    if (!run.ok) {
        Inform(run.message);
        return;
    }
    ShowEngineResult();
}

void CAnalyzeDomainForm::ShowEngineResult()
{
    // Key domains of several targets, most frequent first; the typed filter stays.
    const QString filter = FilterCombo()->currentText();
    {
        QSignalBlocker block(FilterCombo());
        FilterCombo()->clear();
        FilterCombo()->addItems(m_engine->FilterEntries());
        FilterCombo()->setEditText(filter);
    }
    ShowResult(DomainAnalysis::ResultColumns(), m_engine->Rows(), m_engine->TargetListCaption());
}

void CAnalyzeDomainForm::FilterChanged(bool excludeAnalyzed, const QString& text)
{
    if (m_engine->ExcludeAnalyzed() != excludeAnalyzed)
        m_engine->SetExcludeAnalyzed(excludeAnalyzed);
    if (m_engine->FilterText() != text)
        m_engine->SetFilterText(text);
}

bool CAnalyzeDomainForm::IsTargetHidden(int target) const
{
    const auto& results = m_engine->Results();
    return target >= 0 && target < int(results.size()) && results[size_t(target)].hidden;
}

QString CAnalyzeDomainForm::AttributeKeyOfRow(int row, const QString& name) const
{
    return MakeAttributeKey(name, Grid()->GetItemText(row, 3), Grid()->GetItemText(row, 4),
                            Grid()->GetItemText(row, 5));
}

void CAnalyzeDomainForm::NameEdited(int row, const QString& oldText, const QString& newText)
{
    const DomainAnalysis::RenameResult renamed = m_engine->RenameTarget(AttributeKeyOfRow(row, oldText), newText);
    if (!renamed.changed) {
        QSignalBlocker block(Grid()->Model());
        Grid()->SetItemText(row, 0, renamed.name);
        Grid()->SetItemText(row, 1, renamed.name);
        return;
    }
    ShowEngineResult();
}

void CAnalyzeDomainForm::ShowReport()
{
    CDomainReportDlg dialog(DomainReportInput::FromAnalysis(*m_engine), this);
    if (dialog.exec() == QDialog::Accepted)
        Analyze();
}

void CAnalyzeDomainForm::ShowResultMenu(int row, const QPoint& globalPos)
{
    if (Grid()->GetTreeLevel(row) != 1)
        return;
    Grid()->SetFocusCell(row, 0);
    QMenu menu(this);
    QAction* add = menu.addAction(AnalysisTexts::kMenuAddTargetDomain);
    if (CQrPopupMenu::Exec(&menu, globalPos) != add)
        return;
    DomainReportInput input =
        DomainReportInput::ForTarget(*m_engine, AttributeKeyOfRow(row, Grid()->GetItemText(row, 0)));
    if (input.missing.empty())
        return;
    CDomainReportDlg dialog(std::move(input), this);
    if (dialog.exec() == QDialog::Accepted)
        Analyze();
}

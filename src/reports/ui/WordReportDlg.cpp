#include "reports/ui/WordReportDlg.h"

#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/ReportChart.h"
#include "components/ui/UiHooks.h"
#include "reports/ReportTexts.h"
#include "reports/ui/ReportDlgUtil.h"
#include "settings/AnalyzeSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

namespace {
QString Counted(const QString& format, int count)
{
    return CQrStringUtil::Format(format, {count});
}
} // namespace

CWordReportDlg::CWordReportDlg(WordReportInput input, QWidget* parent) : QDialog(parent), m_report(std::move(input))
{
    setWindowTitle(ReportTexts::kTitle);
    resize(900, 760);

    auto* chartFrame = new QGroupBox(ReportTexts::kWordChartFrame, this);
    m_chart = new CReportChart(ReportTexts::kSeriesName, {ReportTexts::kBarMissing, ReportTexts::kBarFound},
                               {m_report.MissingBar(), m_report.FoundCount()}, chartFrame);
    auto* chartLayout = new QVBoxLayout(chartFrame);
    chartLayout->addWidget(m_chart);

    m_wordLabel = new QLabel(ReportTexts::kWordList, this);
    m_auto = new QCheckBox(ReportTexts::kAutoDefinitions, this);
    m_words = new CQrTreeGrid(this);
    m_words->setRootIsDecorated(false);
    m_words->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_words->SetDefaultEditable(true);
    m_detailLabel = new QLabel(ReportTexts::kWordDetail, this);
    m_details = new CQrTreeGrid(this);
    m_details->setRootIsDecorated(false);
    m_details->SetColumns(ReportTexts::kWordDetailColumns);

    m_export = new QPushButton(ReportTexts::kExport, this);
    m_store = new QPushButton(ReportTexts::kStoreWords, this);
    m_close = new QPushButton(ReportTexts::kClose, this);

    auto* listHeader = new QHBoxLayout;
    listHeader->addWidget(m_wordLabel, 1);
    listHeader->addWidget(m_auto);
    m_notice = ReportDlgUtil::MakeNoticeLabel(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_notice, 1);
    buttons->addWidget(m_store);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chartFrame);
    layout->addLayout(listHeader);
    layout->addWidget(m_words, 1);
    layout->addWidget(m_detailLabel);
    layout->addWidget(m_details, 1);
    layout->addLayout(buttons);

    FillWords();

    connect(m_words, &CQrTreeGrid::CellEdited, this,
            [this](int row, int col, const QString&, const QString& text) { OnCellEdited(row, col, text); });
    connect(m_words->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowDetails(m_words->Model()->RowOf(current)); });
    connect(m_words, &CQrTreeGrid::ContextMenuRequested, this,
            [this](int row, int, const QPoint& pos) { OnContextMenu(row, pos); });
    connect(m_store, &QPushButton::clicked, this, &CWordReportDlg::OnStore);
    connect(m_export, &QPushButton::clicked, this, &CWordReportDlg::OnExport);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CWordReportDlg::FillWords()
{
    const QColor grey = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey);
    m_words->BeginUpdate();
    m_words->DeleteAllItems();
    m_words->SetColumns(ReportTexts::kWordColumns);
    for (int i = 0; i < int(m_report.Rows().size()); ++i) {
        const int row = m_words->InsertRow(1, m_report.RowTexts(i));
        m_words->SetReadOnlyCell(row, CWordReport::ColWord, grey);
        m_words->SetReadOnlyCell(row, CWordReport::ColCount, grey);
    }
    m_words->EndUpdate();
    m_words->AutoSizeColumns();
    m_wordLabel->setText(Counted(ReportTexts::kWordListCount, m_words->GetRowCount()));
}

void CWordReportDlg::ShowDetails(int row)
{
    const QColor grey = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey);
    m_details->BeginUpdate();
    m_details->DeleteAllItems();
    for (const QStringList& texts : m_report.Details(row)) {
        const int r = m_details->InsertRow(1, texts);
        m_details->SetReadOnlyRow(r, grey);
    }
    m_details->EndUpdate();
    m_details->AutoSizeColumns();
    m_detailLabel->setText(Counted(ReportTexts::kWordDetailCount, m_details->GetRowCount()));
}

void CWordReportDlg::OnCellEdited(int row, int col, const QString& text)
{
    m_report.SetName(row, col, text);
    if (col != CWordReport::ColPhysical && col != CWordReport::ColLogical)
        return;
    if (!m_auto->isChecked())
        return;
    std::set<QString> names, definitions;
    const QString logical = m_words->GetItemText(row, CWordReport::ColLogical);
    if (logical.isEmpty())
        return;
    if (!CAnalyzeSettings::Instance().LookupDictionaryNames(logical, names, definitions)) {
        m_notice->setText(ReportTexts::kNoDictionary);
        return;
    }
    if (names.empty() && definitions.empty()) {
        m_notice->setText(ReportTexts::kNoDefinitionsFound.arg(logical));
        return;
    }
    m_notice->setText(ReportTexts::kDefinitionsFound.arg(logical).arg(names.size()).arg(definitions.size()));
    const QColor proposed = CQrTreeGrid::FromWinColor(ReportTexts::kProposedCell);
    QSignalBlocker block(m_words->Model());
    if (!names.empty()) {
        const QStringList choices(names.begin(), names.end());
        m_words->SetComboCellStyle(row, CWordReport::ColFullName, choices);
        m_words->SetItemBkColor(row, CWordReport::ColFullName, proposed);
        m_words->SetItemText(row, CWordReport::ColFullName, choices.first());
        m_report.SetName(row, CWordReport::ColFullName, choices.first());
    }
    if (!definitions.empty()) {
        const QStringList choices(definitions.begin(), definitions.end());
        m_words->SetComboCellStyle(row, CWordReport::ColDefinition, choices);
        m_words->SetItemBkColor(row, CWordReport::ColDefinition, proposed);
        m_words->SetItemText(row, CWordReport::ColDefinition, choices.first());
        m_report.SetName(row, CWordReport::ColDefinition, choices.first());
    }
}

void CWordReportDlg::OnContextMenu(int row, const QPoint& globalPos)
{
    if (row < 0)
        return;
    QMenu menu(this);
    QAction* exclude = menu.addAction(ReportTexts::kMenuExcludeWord);
    if (CQrPopupMenu::Exec(&menu, globalPos) != exclude)
        return;
    if (!CQrMessageBox::Question(this, ReportTexts::kAskExcludeWord))
        return;
    const std::vector<int> rows = ReportDlgUtil::SelectedRows(m_words);
    m_report.Exclude(rows, CAnalyzeSettings::Instance());
    QSignalBlocker block(m_words->Model());
    for (int r : rows) {
        for (int col = CWordReport::ColPhysical; col <= CWordReport::ColDefinition; ++col)
            m_words->SetItemText(r, col, QString());
        ReportDlgUtil::GreyRow(m_words, r);
    }
}

void CWordReportDlg::OnStore()
{
    bool saved = true;
    const int stored = m_report.Store(CAnalyzeSettings::Instance(), &saved);
    if (!saved)
        CQrMessageBox::Warning(this,
                               QStringLiteral("사전 파일을 저장하지 못했습니다: ") + CAnalyzeSettings::SettingsPath());
    int untouched = 0;
    const QStringList skipped = m_report.SkippedRows(CAnalyzeSettings::Instance(), &untouched);
    CQrMessageBox::Information(
        this, ReportDlgUtil::StoredMessage(Counted(ReportTexts::kWordsSaved, stored), skipped, untouched));
    accept();
}

void CWordReportDlg::OnExport()
{
    ReportDlgUtil::ExportRows(this, m_report.ExportRows(), ReportTexts::kProgressExportWords);
}

void CWordReportDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The last column fills the width the dialog has once it is shown.
    m_words->AutoSizeColumns();
    m_details->AutoSizeColumns();
}

#include "reports/ui/DomainReportDlg.h"

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

CDomainReportDlg::CDomainReportDlg(DomainReportInput input, QWidget* parent)
    : QDialog(parent), m_report(std::move(input), CAnalyzeSettings::Instance())
{
    setWindowTitle(ReportTexts::kTitle);
    resize(960, 760);

    auto* chartFrame = new QGroupBox(ReportTexts::kDomainChartFrame, this);
    m_chart = new CReportChart(ReportTexts::kSeriesName, {ReportTexts::kBarMissing, ReportTexts::kBarFound},
                               {m_report.MissingBar(), m_report.FoundCount()}, chartFrame);
    auto* chartLayout = new QVBoxLayout(chartFrame);
    chartLayout->addWidget(m_chart);

    m_domainLabel = new QLabel(ReportTexts::kDomainList, this);
    // Shown as the program always had it; the proposal happens whatever its state.
    m_autoName = new QCheckBox(ReportTexts::kAutoDomainName, this);
    m_domains = new CQrTreeGrid(this);
    m_domains->setRootIsDecorated(false);
    m_domains->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_domains->SetDefaultEditable(true);
    m_detailLabel = new QLabel(ReportTexts::kDomainDetail, this);
    m_details = new CQrTreeGrid(this);
    m_details->setRootIsDecorated(false);
    m_details->SetColumns(ReportTexts::kDomainDetailColumns);

    m_export = new QPushButton(ReportTexts::kExport, this);
    m_store = new QPushButton(ReportTexts::kStoreDomains, this);
    m_close = new QPushButton(ReportTexts::kClose, this);

    auto* listHeader = new QHBoxLayout;
    listHeader->addWidget(m_domainLabel, 1);
    listHeader->addWidget(m_autoName);
    m_notice = ReportDlgUtil::MakeNoticeLabel(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_notice, 1);
    buttons->addWidget(m_store);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chartFrame);
    layout->addLayout(listHeader);
    layout->addWidget(m_domains, 1);
    layout->addWidget(m_detailLabel);
    layout->addWidget(m_details, 1);
    layout->addLayout(buttons);

    FillDomains();

    connect(m_domains, &CQrTreeGrid::CellEdited, this,
            [this](int row, int col, const QString&, const QString& text) { OnCellEdited(row, col, text); });
    connect(m_domains->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowDetails(m_domains->Model()->RowOf(current)); });
    connect(m_domains, &CQrTreeGrid::ContextMenuRequested, this,
            [this](int row, int, const QPoint& pos) { OnContextMenu(row, pos); });
    connect(m_store, &QPushButton::clicked, this, &CDomainReportDlg::OnStore);
    connect(m_export, &QPushButton::clicked, this,
            [this] { ReportDlgUtil::ExportRows(this, m_report.ExportRows(), ReportTexts::kProgressExportDomains); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CDomainReportDlg::FillDomains()
{
    const QColor grey = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorLightGrey);
    const QStringList types = CDomainReport::TypeChoices();
    m_domains->BeginUpdate();
    m_domains->DeleteAllItems();
    m_domains->SetColumns(ReportTexts::kDomainColumns);
    for (int i = 0; i < int(m_report.Rows().size()); ++i) {
        const int row = m_domains->InsertRow(1, m_report.RowTexts(i));
        m_domains->SetReadOnlyCell(row, CDomainReport::ColKeyDomain, grey);
        m_domains->SetReadOnlyCell(row, CDomainReport::ColCount, grey);
        m_domains->SetReadOnlyCell(row, CDomainReport::ColNote, grey);
        m_domains->SetComboCellStyle(row, CDomainReport::ColType, types);
    }
    m_domains->EndUpdate();
    m_domains->AutoSizeColumns();
    m_domainLabel->setText(CQrStringUtil::Format(ReportTexts::kDomainListCount, {m_domains->GetRowCount()}));
}

void CDomainReportDlg::ShowDetails(int row)
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
    m_detailLabel->setText(ReportTexts::kDomainDetail + QStringLiteral(" (%1)").arg(m_details->GetRowCount()));
}

void CDomainReportDlg::OnCellEdited(int row, int col, const QString& text)
{
    if (row < 0 || row >= int(m_report.Rows().size()))
        return;
    if (!m_report.SetCell(row, col, text)) {
        // Say why the domain name did not come, once the user has begun the row.
        const auto& r = m_report.Rows()[size_t(row)];
        const QString problem = m_report.ProposalProblem(row);
        if (col != CDomainReport::ColDomainName && !r.keyDomainName.isEmpty() && !problem.isEmpty())
            m_notice->setText(ReportTexts::kNoDomainName.arg(problem));
        return;
    }
    m_notice->setText(ReportTexts::kDomainNameMade.arg(m_report.Rows()[size_t(row)].domainName));
    QSignalBlocker block(m_domains->Model());
    m_domains->SetItemText(row, CDomainReport::ColDomainName, m_report.Rows()[size_t(row)].domainName);
    m_domains->SetItemBkColor(row, CDomainReport::ColDomainName, quint32(ReportTexts::kProposedCell));
}

void CDomainReportDlg::OnContextMenu(int row, const QPoint& globalPos)
{
    if (row < 0)
        return;
    QMenu menu(this);
    QAction* exclude = menu.addAction(ReportTexts::kMenuExcludeDomain);
    if (CQrPopupMenu::Exec(&menu, globalPos) != exclude)
        return;
    if (!CQrMessageBox::Question(this, ReportTexts::kAskExcludeDomain))
        return;
    const std::vector<int> rows = ReportDlgUtil::SelectedRows(m_domains);
    m_report.Exclude(rows, CAnalyzeSettings::Instance());
    QSignalBlocker block(m_domains->Model());
    for (int r : rows) {
        for (int col = CDomainReport::ColKeyDomainName; col <= CDomainReport::ColScale; ++col)
            m_domains->SetItemText(r, col, QString());
        m_domains->Model()->SetComboChoices(r, CDomainReport::ColType, {});
        ReportDlgUtil::GreyRow(m_domains, r);
    }
}

void CDomainReportDlg::OnStore()
{
    bool saved = true;
    const int stored = m_report.Store(CAnalyzeSettings::Instance(), &saved);
    if (!saved)
        CQrMessageBox::Warning(this,
                               QStringLiteral("사전 파일을 저장하지 못했습니다: ") + CAnalyzeSettings::SettingsPath());
    int untouched = 0;
    const QStringList skipped = m_report.SkippedRows(CAnalyzeSettings::Instance(), &untouched);
    CQrMessageBox::Information(
        this,
        ReportDlgUtil::StoredMessage(CQrStringUtil::Format(ReportTexts::kDomainsSaved, {stored}), skipped, untouched));
    accept();
}

void CDomainReportDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The last column fills the width the dialog has once it is shown.
    m_domains->AutoSizeColumns();
    m_details->AutoSizeColumns();
}

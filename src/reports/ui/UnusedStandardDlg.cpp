#include "reports/ui/UnusedStandardDlg.h"

#include "components/ui/QrTreeGrid.h"
#include "components/ui/ShellCommands.h"
#include "reports/ReportTexts.h"
#include "repository/RepositoryConnection.h"
#include "repository/ui/RepositoryUi.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CUnusedStandardDlgBase::CUnusedStandardDlgBase(const QString& title, const QStringList& columns, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    resize(820, 600);

    m_areas = new QComboBox(this);
    m_areas->setMinimumWidth(260);
    m_grid = new CQrTreeGrid(this);
    m_grid->setRootIsDecorated(false);
    m_grid->SetColumns(columns);
    m_close = new QPushButton(ReportTexts::kClose, this);
    m_close->setAutoDefault(false);

    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(m_areas);
    areaRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ReportTexts::kUnusedArea, this));
    layout->addLayout(areaRow);
    layout->addWidget(new QLabel(ReportTexts::kUnusedList, this));
    m_error = new QLabel(this);
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->hide();
    layout->addWidget(m_error);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(m_areas, &QComboBox::currentIndexChanged, this, [this] { Reload(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CUnusedStandardDlgBase::LoadAreas()
{
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    // a lost connection asks to reconnect here too; without one the reason stays in view
    if (!gate && RepositoryUi::EnsureUsable(parentWidget(), false))
        gate = CRepositoryConnection::Instance().OpenGate();
    m_areaIds.clear();
    if (!gate || !gate->SelectStandardAreas(m_areaIds)) {
        m_error->setText(ReportTexts::kUnusedReadFailed.arg(
            gate ? gate->LastError() : CRepositoryConnection::Instance().UnavailableReason()));
        m_error->show();
        return;
    }
    {
        const QSignalBlocker block(m_areas);
        m_areas->clear();
        for (const auto& entry : m_areaIds)
            m_areas->addItem(entry.first, entry.second); // the map keeps them in name order
        m_areas->setCurrentIndex(-1);
    }
    // The area last worked in is the one offered; without one nothing is chosen and the list
    // starts empty.
    const int remembered = m_areas->findData(CRepositoryConnection::Instance().RememberedAreaId());
    if (remembered >= 0)
        m_areas->setCurrentIndex(remembered); // reads its list
}

void CUnusedStandardDlgBase::Reload()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_grid->DeleteAllItems();
    std::vector<QStringList> rows;
    const auto found = m_areaIds.find(m_areas->currentText());
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    bool failed = false;
    if (gate && m_areas->currentIndex() >= 0 && found != m_areaIds.end()) {
        gate->ClearLastError();
        rows = Query(*gate, found->second);
        // a statement that met the end of the session may leave no error text, only the loss
        failed = !gate->LastError().isEmpty() || gate->LastFailureLostConnection() ||
                 !CRepositoryConnection::Instance().IsStillOpen() || CRepositoryConnection::Instance().IsLost();
        if (!failed)
            CRepositoryConnection::Instance().RememberArea(found->second);
    } else if (m_areas->currentIndex() >= 0) {
        failed = true;
    }
    const QColor white = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorWhite);
    m_grid->BeginUpdate();
    for (const QStringList& texts : rows) {
        const int row = m_grid->InsertRow(1, texts);
        m_grid->SetItemImage(row, 0, 0);
        m_grid->SetReadOnlyRow(row, white);
    }
    m_grid->EndUpdate();
    m_grid->AutoSizeColumns(); // the last column fills what the others leave of the width
    QApplication::restoreOverrideCursor();
    // an empty list must mean "nothing unused", never "could not read"
    m_error->setVisible(failed);
    if (failed)
        m_error->setText(ReportTexts::kUnusedReadFailed.arg(
            gate ? gate->LastError() : CRepositoryConnection::Instance().UnavailableReason()));
    if (failed)
        RepositoryUi::ReportFailure(this, windowTitle() + QStringLiteral(" 조회"),
                                    gate ? gate->LastError() : QString());
}

CUnusedStandardWordDlg::CUnusedStandardWordDlg(int mode, QWidget* parent)
    : CUnusedStandardDlgBase(mode == 1 ? ReportTexts::kUnusedClassWordsTitle : ReportTexts::kUnusedWordsTitle,
                             ReportTexts::kUnusedWordColumns, parent),
      m_mode(mode)
{
    LoadAreas();
}

std::vector<QStringList> CUnusedStandardWordDlg::Query(CSqlBaseGate& gate, const QString& areaId)
{
    std::vector<_stAnalyzeManageWord> words;
    if (m_mode == 1)
        gate.SelectUnusedClassWords(areaId, words);
    else
        gate.SelectUnusedStandardWords(areaId, words);
    std::vector<QStringList> rows;
    rows.reserve(words.size());
    for (const auto& w : words)
        rows.push_back({w.strLogicalName, w.strPhysicalName, w.strPhyFullName, w.strDescription});
    return rows;
}

CUnusedStandardTermDlg::CUnusedStandardTermDlg(QWidget* parent)
    : CUnusedStandardDlgBase(ReportTexts::kUnusedTermsTitle, ReportTexts::kUnusedTermColumns, parent)
{
    LoadAreas();
}

std::vector<QStringList> CUnusedStandardTermDlg::Query(CSqlBaseGate& gate, const QString& areaId)
{
    std::vector<_stAnalyzeManageTerm> terms;
    gate.SelectUnusedStandardTerms(areaId, terms);
    std::vector<QStringList> rows;
    rows.reserve(terms.size());
    for (const auto& t : terms)
        rows.push_back({t.strLogicalName, t.strPhysicalName, t.strDescription});
    return rows;
}

CUnusedStandardDomainDlg::CUnusedStandardDomainDlg(QWidget* parent)
    : CUnusedStandardDlgBase(ReportTexts::kUnusedDomainsTitle, ReportTexts::kUnusedDomainColumns, parent)
{
    LoadAreas();
}

std::vector<QStringList> CUnusedStandardDomainDlg::Query(CSqlBaseGate& gate, const QString& areaId)
{
    std::vector<_stAnalyzeManageDomain> domains;
    gate.SelectUnusedStandardDomains(areaId, domains);
    std::vector<QStringList> rows;
    rows.reserve(domains.size());
    for (const auto& d : domains)
        rows.push_back({d.strKeyDomainName, d.strDomainName, d.strDataType, d.strLength, d.strScale, QString()});
    return rows;
}

void RegisterUnusedStandardDialogs()
{
    CShellCommands::RegisterCommand(AppCmd::UnusedWord,
                                    [](QWidget& frame) { CUnusedStandardWordDlg(0, &frame).exec(); });
    CShellCommands::RegisterCommand(AppCmd::UnusedClassWord,
                                    [](QWidget& frame) { CUnusedStandardWordDlg(1, &frame).exec(); });
    CShellCommands::RegisterCommand(AppCmd::UnusedTerm, [](QWidget& frame) { CUnusedStandardTermDlg(&frame).exec(); });
    CShellCommands::RegisterCommand(AppCmd::UnusedDomain,
                                    [](QWidget& frame) { CUnusedStandardDomainDlg(&frame).exec(); });
}

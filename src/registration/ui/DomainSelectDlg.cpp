#include "registration/ui/DomainSelectDlg.h"

#include "components/ReviewSearch.h"
#include "components/ui/QrTreeGrid.h"
#include "repository/RepositoryConnection.h"
#include "repository/ui/RepositoryUi.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("도메인 선택");
const QString kSearchLabel = QStringLiteral("도메인 검색");
const QString kSearchPrompt = QStringLiteral("검색 할 키도메인명, 도메인명을 입력하세요");
const QString kListLabel = QStringLiteral("도메인 목록");
const QString kApply = QStringLiteral("적용");
const QString kClose = QStringLiteral("닫기");
const QString kReadWork = QStringLiteral("표준 도메인 조회");
const QStringList kColumns = {QStringLiteral("키도메인명"), QStringLiteral("도메인명"), QStringLiteral("도메인ID"),
                              QStringLiteral("데이터타입"), QStringLiteral("길이"),     QStringLiteral("스케일"),
                              QStringLiteral("기타")};
} // namespace

CDomainSelectDlg::CDomainSelectDlg(const QString& areaId, QWidget* parent) : QDialog(parent), m_areaId(areaId)
{
    setWindowTitle(kCaption);
    setSizeGripEnabled(true);
    resize(760, 560);

    auto* searchGroup = new QGroupBox(kSearchLabel, this);
    m_search = new QLineEdit(searchGroup);
    m_search->setPlaceholderText(kSearchPrompt);
    m_search->setClearButtonEnabled(true);
    auto* searchLayout = new QHBoxLayout(searchGroup);
    searchLayout->addWidget(m_search);

    auto* listGroup = new QGroupBox(kListLabel, this);
    m_grid = new CQrTreeGrid(listGroup);
    m_grid->setRootIsDecorated(false);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(m_grid);

    m_apply = new QPushButton(kApply, this);
    auto* close = new QPushButton(kClose, this);
    // Enter belongs to the search box: no default button takes it.
    m_apply->setAutoDefault(false);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(searchGroup);
    layout->addWidget(listGroup, 1);
    layout->addLayout(buttons);

    connect(m_search, &QLineEdit::returnPressed, this, &CDomainSelectDlg::Search);
    connect(m_apply, &QPushButton::clicked, this, &CDomainSelectDlg::Apply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &CQrTreeGrid::CellDoubleClicked, this, [this](int, int) { Apply(); });
    Fill();
}

void CDomainSelectDlg::Fill()
{
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(kColumns);
    std::vector<_stAnalyzeManageDomain> domains;
    bool read = false;
    QString error;
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        gate->ClearLastError();
        read = gate->SelectStandardDomains(m_areaId, domains);
        error = gate->LastError();
        QApplication::restoreOverrideCursor();
    }
    // an empty list must mean "no domains", never "could not read them"
    if (!read)
        QTimer::singleShot(0, this, [this, error] { RepositoryUi::ReportFailure(this, kReadWork, error); });
    for (const _stAnalyzeManageDomain& d : domains)
        m_grid->InsertRow(
            1, {d.strKeyDomainName, d.strDomainName, d.strDomainId, d.strDataType, d.strLength, d.strScale, QString()});
    m_grid->EndUpdate();
    m_grid->AutoSizeColumns();
    m_grid->SetColumnWidth(ColDomainId, 0);
}

void CDomainSelectDlg::Search()
{
    const ReviewSearchHit hit = FindNextRow(
        m_grid->GetRowCount(), [this](int row, int col) { return m_grid->GetItemText(row, col); },
        {ColKeyDomain, ColDomain}, m_search->text(), m_grid->GetCurrentRow());
    if (!hit.found())
        return;
    m_grid->SetScrollToCell(hit.row, hit.column);
    m_grid->SetFocusCell(hit.row, hit.column);
    m_grid->setFocus();
}

void CDomainSelectDlg::Apply()
{
    const int row = m_grid->GetCurrentRow();
    if (row < 0 || row >= m_grid->GetRowCount())
        return;
    m_domainId = m_grid->GetItemText(row, ColDomainId);
    m_domainName = m_grid->GetItemText(row, ColDomain);
    accept();
}

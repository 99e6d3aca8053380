#include "dictionary/ui/RepositoryManageDlg.h"

#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/ReportChart.h"
#include "components/ui/UiHooks.h"
#include "registration/ui/StandardListLauncher.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryTexts.h"
#include "repository/ui/RepositoryUi.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

using namespace ShareText;

CRepositoryManageDlg::CRepositoryManageDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RepositoryManageDlg"));
    setWindowTitle(Title);
    setSizeGripEnabled(true);

    auto* search = new QGroupBox(SearchGroup, this);
    auto* searchRow = new QHBoxLayout(search);
    m_kind = new QComboBox(search);
    m_kind->setObjectName(QStringLiteral("KindCombo"));
    m_kind->addItems(CRepositoryShareData::KindNames());
    m_search = new QLineEdit(search);
    m_search->setObjectName(QStringLiteral("SearchEdit"));
    m_search->setPlaceholderText(SearchHint);
    m_search->setClearButtonEnabled(true);
    searchRow->addWidget(m_kind);
    searchRow->addWidget(m_search, 1);

    auto* list = new QGroupBox(ListGroup, this);
    auto* listLayout = new QVBoxLayout(list);
    auto* split = new QSplitter(Qt::Vertical, list);
    m_grid = new CQrTreeGrid(split);
    m_grid->setObjectName(QStringLiteral("SharedDataGrid"));
    auto* chartHolder = new QWidget(split);
    m_chartBox = new QVBoxLayout(chartHolder);
    m_chartBox->setContentsMargins(0, 0, 0, 0);
    split->addWidget(m_grid);
    split->addWidget(chartHolder);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    listLayout->addWidget(split);

    auto* buttons = new QHBoxLayout;
    auto* remove = new QPushButton(ShareText::Delete, this);
    auto* output = new QPushButton(Output, this);
    m_toStandard = new QPushButton(ToStandard, this);
    auto* close = new QPushButton(Close, this);
    remove->setObjectName(QStringLiteral("DeleteButton"));
    output->setObjectName(QStringLiteral("OutputButton"));
    m_toStandard->setObjectName(QStringLiteral("ToStandardButton"));
    close->setObjectName(QStringLiteral("CloseButton"));
    buttons->addWidget(remove);
    buttons->addWidget(output);
    buttons->addWidget(m_toStandard);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(m_search, &QLineEdit::textChanged, this, &CRepositoryManageDlg::Search);
    connect(remove, &QPushButton::clicked, this, &CRepositoryManageDlg::OnDelete);
    connect(output, &QPushButton::clicked, this, &CRepositoryManageDlg::OnOutput);
    connect(m_toStandard, &QPushButton::clicked, this, &CRepositoryManageDlg::OnToStandard);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    resize(900, 640);
    Refresh();
    // connected again: the list is read anew (queued: not inside the read that found the loss)
    connect(
        &CRepositoryNotifier::Instance(), &CRepositoryNotifier::Changed, this,
        [this] {
            if (CRepositoryConnection::Instance().IsConnected())
                Refresh();
        },
        Qt::QueuedConnection);
}

void CRepositoryManageDlg::SetKind(ESharedDataKind kind)
{
    if (m_kind->currentIndex() == int(kind))
        Refresh();
    else
        m_kind->setCurrentIndex(int(kind)); // refreshes
}

void CRepositoryManageDlg::Refresh()
{
    const auto kind = ESharedDataKind(std::max(0, m_kind->currentIndex()));
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    CRepositoryShareData loaded;
    bool ok = false;
    if (gate) {
        gate->ClearLastError();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ok = loaded.Load(gate, kind);
        QApplication::restoreOverrideCursor();
    }
    if (!ok) {
        // What was shown stays, with the kind it belongs to: an empty list would read as
        // "nothing shared".
        if (m_loaded) {
            const QSignalBlocker block(m_kind);
            m_kind->setCurrentIndex(int(m_data.Kind()));
        }
        if (!gate || gate->LastFailureLostConnection() || CRepositoryConnection::Instance().IsLost())
            RepositoryUi::EnsureUsable(this, false);
        else if (kind == ESharedDataKind::ExceptWords || kind == ESharedDataKind::ExceptDomains)
            RepositoryUi::ReportFailure(this, ReadWork, gate->LastError());
        // (the words and domains reads show their own error box)
        if (m_loaded)
            return;
    }
    m_data = std::move(loaded);
    m_loaded = ok;

    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(CRepositoryShareData::Columns(kind));
    for (const SharedDataRow& row : m_data.Rows()) {
        const int r = m_grid->InsertRow(1, QStringList{QString()} + row.texts);
        m_grid->SetCheckCellStyle(r, 0, false);
    }
    m_grid->EndUpdate();
    m_grid->AutoSizeColumns();
    m_toStandard->setEnabled(kind == ESharedDataKind::Words || kind == ESharedDataKind::Domains);

    QStringList labels;
    QList<int> values;
    for (const auto& [author, count] : m_data.AuthorCounts()) {
        labels << author;
        values << count;
    }
    delete m_chart;
    m_chart = new CReportChart(ChartSeries, labels, values, this);
    m_chart->setObjectName(QStringLiteral("AuthorChart"));
    m_chartBox->addWidget(m_chart);
    Search(m_search->text());
}

void CRepositoryManageDlg::Search(const QString& text)
{
    // filters: a row stays when any of its names holds the text
    const QString needle = text.trimmed();
    for (int r = 0; r < m_grid->GetRowCount(); ++r) {
        bool hit = needle.isEmpty();
        for (int c = 1; !hit && c < m_grid->GetColumnCount(); ++c)
            hit = m_grid->GetItemText(r, c).contains(needle, Qt::CaseInsensitive);
        m_grid->SetRowHidden(r, !hit);
    }
}

std::vector<int> CRepositoryManageDlg::CheckedRows() const
{
    // Only the rows the search leaves shown: a tick the user cannot see acts on nothing.
    std::vector<int> rows;
    for (int r = 0; r < m_grid->GetRowCount(); ++r)
        if (m_grid->GetCheckCellVal(r, 0) && !m_grid->IsRowHiddenAt(r))
            rows.push_back(r);
    return rows;
}

void CRepositoryManageDlg::OnDelete()
{
    const std::vector<int> rows = CheckedRows();
    if (rows.empty()) {
        CQrMessageBox::Information(this, NothingChecked);
        return;
    }
    // shared rows are gone for every user once deleted: the count is a question, not a notice
    if (!CQrMessageBox::Question(this, CQrStringUtil::Format(DeleteCount, {int(rows.size())})))
        return;
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    if (!gate) {
        RepositoryUi::EnsureUsable(this, false);
        return;
    }
    gate->ClearLastError();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool deleted = m_data.Delete(gate, rows);
    QApplication::restoreOverrideCursor();
    if (!deleted) {
        RepositoryUi::ReportFailure(this, DeleteWork, gate->LastError());
        if (!CRepositoryConnection::Instance().IsConnected())
            return;
    }
    Refresh();
}

void CRepositoryManageDlg::OnOutput()
{
    QString path = CQrFileDialog::GetSaveFileName(this, ExcelFilter, QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    QString error;
    path = m_grid->ExportExcelSheet(path, &error);
    if (path.isEmpty()) {
        CQrMessageBox::Warning(this, error);
        return;
    }
    if (CQrMessageBox::Question(this, OutputDone))
        CQrShell::Open(path);
}

void CRepositoryManageDlg::OnToStandard()
{
    const auto kind = m_data.Kind();
    if (kind != ESharedDataKind::Words && kind != ESharedDataKind::Domains)
        return;
    const std::vector<int> rows = CheckedRows();
    const bool words = kind == ESharedDataKind::Words;
    if (rows.empty()) {
        CQrMessageBox::Information(this, words ? NoWordSelected : NoDomainSelected);
        return;
    }
    if (!CQrMessageBox::Question(this, words ? AskWordStandard : AskDomainStandard))
        return;
    if (words)
        OpenStandardWordList(this, m_data.SelectedWords(rows));
    else
        OpenStandardDomainList(this, m_data.SelectedDomains(rows));
}

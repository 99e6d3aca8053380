#include "dictionary/ui/ManageDlgBase.h"

#include "components/OutputLog.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "dictionary/ManageTexts.h"
#include "dictionary/ui/ShareChoiceDlg.h"
#include "repository/RepositoryConnection.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace T = ManageTexts;

namespace {
// Restores the cursor however the command ends.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

CManageDlgBase::CManageDlgBase(CAnalyzeSettings& settings, Texts texts, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_texts(std::move(texts))
{
    setWindowTitle(m_texts.caption);
    setSizeGripEnabled(true);
    resize(1000, 680);

    m_list = new QComboBox(this);
    m_list->addItems({m_texts.entriesItem, m_texts.excludedItem});
    m_search = new QLineEdit(this);
    m_search->setPlaceholderText(m_texts.searchPrompt);
    m_search->setClearButtonEnabled(true);
    m_auto = new QCheckBox(m_texts.automatic, this);
    m_compare = new QPushButton(T::ShareCompare, this);

    m_group = new QGroupBox(this);
    m_grid = new CQrTreeGrid(m_group);
    m_grid->setRootIsDecorated(false);
    m_grid->SetDefaultEditable(true);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_grid);

    m_add = new QPushButton(T::Add, this);
    m_delete = new QPushButton(T::Delete, this);
    m_download = new QPushButton(T::ShareDownload, this);
    m_upload = new QPushButton(T::ShareUpload, this);
    m_convert = new QPushButton(m_texts.convert, this);
    m_export = new QPushButton(T::Export, this);
    m_save = new QPushButton(T::Save, this);
    m_close = new QPushButton(T::Close, this);
    for (QPushButton* b : {m_compare, m_add, m_delete, m_download, m_upload, m_convert, m_export, m_save, m_close})
        b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(m_list);
    top->addWidget(m_search, 1);
    top->addWidget(m_auto);
    top->addWidget(m_compare);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_add);
    bottom->addWidget(m_delete);
    bottom->addSpacing(16);
    bottom->addWidget(m_download);
    bottom->addWidget(m_upload);
    bottom->addWidget(m_convert);
    bottom->addWidget(m_export);
    bottom->addStretch();
    bottom->addWidget(m_save);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_group, 1);
    layout->addLayout(bottom);

    connect(m_list, &QComboBox::currentIndexChanged, this, &CManageDlgBase::OnListChanged);
    connect(m_search, &QLineEdit::returnPressed, this, &CManageDlgBase::OnSearch);
    connect(m_add, &QPushButton::clicked, this, &CManageDlgBase::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CManageDlgBase::OnDelete);
    connect(m_save, &QPushButton::clicked, this, &CManageDlgBase::OnSave);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &CManageDlgBase::OnExport);
    connect(m_download, &QPushButton::clicked, this, &CManageDlgBase::OnDownload);
    connect(m_upload, &QPushButton::clicked, this, &CManageDlgBase::OnUpload);
    connect(m_compare, &QPushButton::clicked, this, &CManageDlgBase::OnCompare);
    connect(m_convert, &QPushButton::clicked, this, &CManageDlgBase::OnConvert);
    connect(m_grid, &CQrTreeGrid::CellEdited, this, [this](int row, int col, const QString& from, const QString& to) {
        // A value the dictionary or the shared tables could not take never enters the grid.
        const QString problem = DictionaryManage::CellProblem(m_texts.kind, Mode(), col, to);
        if (!problem.isEmpty()) {
            m_grid->SetItemText(row, col, from);
            QTimer::singleShot(0, this, [this, problem] { CQrMessageBox::Warning(this, problem); });
            return;
        }
        if (from != to)
            MarkEdited(row);
        if (Mode() == ManageList::Entries && m_auto->isChecked())
            OnEntryEdited(row, col);
    });
    // the sharing buttons follow the connection, also when it comes back
    connect(&CRepositoryNotifier::Instance(), &CRepositoryNotifier::Changed, this, &CManageDlgBase::UpdateEnabling);
}

void CManageDlgBase::MarkEdited(int row)
{
    m_dirty = true;
    // the cells the program painted for a reason (proposals, differences) keep their colour
    const QColor white = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorWhite);
    for (int col = 1; col < m_grid->GetColumnCount(); ++col) {
        const QColor now = m_grid->GetItemBkColor(row, col);
        if (!now.isValid() || now == white)
            m_grid->SetItemBkColor(row, col, ManageColours::Edited);
    }
}

bool CManageDlgBase::ConfirmEdits()
{
    if (!m_dirty)
        return true;
    switch (CQrMessageBox::AskSaveDiscard(this, CQrStringUtil::Format(T::AskSaveEdits, {m_texts.caption}))) {
    case CQrMessageBox::EDiscard::Save:
        return SaveGrid();
    case CQrMessageBox::EDiscard::Discard:
        return true;
    case CQrMessageBox::EDiscard::Cancel:
        break;
    }
    return false;
}

void CManageDlgBase::reject()
{
    if (ConfirmEdits())
        QDialog::reject();
}

void CManageDlgBase::Start()
{
    Fill();
    UpdateEnabling();
}

ManageList CManageDlgBase::Mode() const
{
    return m_list->currentIndex() == 1 ? ManageList::Excluded : ManageList::Entries;
}

QPushButton* CManageDlgBase::Button(const QString& text) const
{
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void CManageDlgBase::done(int)
{
    QDialog::done(m_changed ? QDialog::Accepted : QDialog::Rejected);
}

QString CManageDlgBase::Cell(int row, int col) const
{
    return m_grid->GetItemText(row, col);
}

bool CManageDlgBase::RowHasKeys(int row) const
{
    if (Mode() == ManageList::Excluded)
        return !Cell(row, 1).isEmpty();
    return !Cell(row, 1).isEmpty() && !Cell(row, 2).isEmpty();
}

std::vector<int> CManageDlgBase::CheckedRows() const
{
    std::vector<int> rows;
    for (int r = 0; r < m_grid->GetRowCount(); ++r)
        if (m_grid->GetCheckCellVal(r, 0) && RowHasKeys(r))
            rows.push_back(r);
    return rows;
}

void CManageDlgBase::AutoSizeAll()
{
    m_grid->AutoSizeColumns();
}

void CManageDlgBase::Fill()
{
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    if (Mode() == ManageList::Entries) {
        m_grid->SetColumns(m_texts.columns);
        FillEntries();
    } else {
        m_grid->SetColumns(m_texts.excludedColumns);
        for (const QString& name : ExcludedNames()) {
            const int row = m_grid->InsertRow(1, {QString(), name});
            m_grid->SetCheckCellStyle(row, 0, false);
        }
    }
    m_grid->EndUpdate();
    if (Mode() == ManageList::Entries)
        SizeEntryColumns();
    else
        AutoSizeAll();
    m_group->setTitle(CQrStringUtil::Format(m_texts.groupCount, {m_grid->GetRowCount()}));
    m_dirty = false;
}

bool CManageDlgBase::SaveGrid()
{
    if (Mode() == ManageList::Entries) {
        StoreEntries();
    } else {
        QStringList names;
        for (int r = 0; r < m_grid->GetRowCount(); ++r)
            names << Cell(r, 1);
        StoreExcluded(names);
    }
    m_changed = true;
    if (m_settings.Save()) {
        m_dirty = false;
        return true;
    }
    CQrMessageBox::Warning(this, CQrStringUtil::Format(T::SaveFailed, {CAnalyzeSettings::SettingsPath()}));
    return false;
}

CConflictResolver CManageDlgBase::MakeResolver()
{
    return CConflictResolver([this](const ShareConflict& c) { return ShareChoiceDlg::Ask(this, c); });
}

void CManageDlgBase::PostLines(const QStringList& lines)
{
    for (const QString& line : lines)
        OutputLog::Post(line);
}

void CManageDlgBase::UpdateEnabling()
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    const bool sharing = connection.IsConnected() && GlobalFunc::IsExistArAnanlyzeTables();
    m_download->setEnabled(sharing);
    m_upload->setEnabled(sharing);
    m_compare->setEnabled(sharing && Mode() == ManageList::Entries);
    m_convert->setEnabled(Mode() == ManageList::Entries && connection.IsConnected());
    m_auto->setEnabled(Mode() == ManageList::Entries);
    // a grey button says why it is grey
    const QString reason = connection.IsConnected() ? T::NoSharingTables : RepositoryUi::UnavailableReason();
    for (QPushButton* b : {m_download, m_upload, m_compare})
        b->setToolTip(b->isEnabled() ? QString() : reason);
    m_convert->setToolTip(m_convert->isEnabled() || Mode() != ManageList::Entries ? QString()
                                                                                  : RepositoryUi::UnavailableReason());
}

void CManageDlgBase::OnListChanged()
{
    // The other list replaces the grid: its edits go to the dictionary first, or stay.
    if (m_dirty) {
        const int chosen = m_list->currentIndex();
        const QSignalBlocker block(m_list);
        m_list->setCurrentIndex(chosen == 1 ? 0 : 1); // the list the grid still shows
        if (!ConfirmEdits())
            return;
        m_list->setCurrentIndex(chosen);
    }
    Fill();
    UpdateEnabling();
}

void CManageDlgBase::OnAdd()
{
    const int row = m_grid->InsertRow(1, QStringList(m_grid->GetColumnCount(), QString()));
    m_grid->SetCheckCellStyle(row, 0, false);
    if (Mode() == ManageList::Entries)
        PrepareEntryRow(row);
    m_grid->SetScrollToCell(row, 1);
    m_grid->SetFocusCell(row, 1);
    m_grid->EditingCell(row, 1);
    m_group->setTitle(CQrStringUtil::Format(m_texts.groupCount, {m_grid->GetRowCount()}));
    m_dirty = true;
}

void CManageDlgBase::OnDelete()
{
    // Bottom up, so the rows still to go keep their indexes.
    bool any = false;
    for (int r = m_grid->GetRowCount() - 1; r >= 0; --r)
        if (m_grid->GetCheckCellVal(r, 0) && RowHasKeys(r)) {
            m_grid->DeleteRow(r);
            m_dirty = true;
            any = true;
        }
    // A button that does nothing says why.
    if (!any)
        CQrMessageBox::Information(this, m_texts.convert == T::ConvertWords ? T::NoWordSelected : T::NoDomainSelected);
    m_group->setTitle(CQrStringUtil::Format(m_texts.groupCount, {m_grid->GetRowCount()}));
}

void CManageDlgBase::OnSearch()
{
    std::vector<QStringList> cells;
    cells.reserve(size_t(m_grid->GetRowCount()));
    for (int r = 0; r < m_grid->GetRowCount(); ++r)
        cells.push_back({Cell(r, 1), Mode() == ManageList::Entries ? Cell(r, 2) : QString()});
    const auto hit =
        DictionaryManage::FindNext(cells, m_search->text(), m_grid->GetCurrentRow(), Mode() == ManageList::Entries);
    if (hit.row < 0)
        return;
    m_grid->SetScrollToCell(hit.row, hit.column);
    m_grid->SetFocusCell(hit.row, hit.column);
    m_grid->setFocus();
}

void CManageDlgBase::OnSave()
{
    if (!SaveGrid())
        return;
    CQrMessageBox::Information(this, T::Saved);
    Fill();
}

void CManageDlgBase::OnExport()
{
    const QString path = CQrFileDialog::GetSaveFileName(this, T::ExcelFilter, QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    QString error;
    if (m_grid->ExportExcelSheet(path, &error).isEmpty()) {
        CQrMessageBox::Warning(this, error);
        return;
    }
    if (CQrMessageBox::Question(this, T::ExportDone))
        CQrShell::Open(path);
}

void CManageDlgBase::OnDownload()
{
    if (!CQrMessageBox::Question(this, T::AskDownload) || !RepositoryUi::EnsureUsable(this))
        return;
    {
        WaitCursor wait;
        // Unsaved edits of the grid are part of the local side: the merge must not drop them.
        if (Mode() == ManageList::Entries)
            StoreEntries();
        CConflictResolver resolver = MakeResolver();
        // A server that could not be read has said so through the gateway; what came is kept.
        for (const ShareResult& r : Download(CRepositoryConnection::Instance().OpenGate(), resolver))
            PostLines(r.lines);
        Fill();
        SaveGrid();
        Fill();
    }
    if (!CRepositoryConnection::Instance().IsConnected())
        RepositoryUi::ReportFailure(this, T::DownloadWork, QString());
}

void CManageDlgBase::OnUpload()
{
    // The upload sends the saved dictionary; unsaved rows go to the file only when the user says so.
    if (m_dirty && (!CQrMessageBox::Question(this, T::AskSaveBeforeUpload) || !SaveGrid()))
        return;
    if (!CQrMessageBox::Question(this, T::AskUpload) || !RepositoryUi::EnsureUsable(this))
        return;
    const std::vector<int> rows = CheckedRows();
    ShareResult result;
    {
        WaitCursor wait;
        CConflictResolver resolver = MakeResolver();
        result = Upload(rows, CRepositoryConnection::Instance().OpenGate(), resolver);
        PostLines(result.lines);
    }
    Fill();
    if (!CRepositoryConnection::Instance().IsConnected())
        RepositoryUi::ReportFailure(this, T::ShareUpload, QString());
    else if (!result.ok)
        CQrMessageBox::Warning(this, T::UploadFailed);
    else
        CQrMessageBox::Information(this, T::Done);
}

void CManageDlgBase::OnCompare()
{
    if (Mode() != ManageList::Entries || !RepositoryUi::EnsureUsable(this))
        return;
    {
        WaitCursor wait;
        Compare(CRepositoryConnection::Instance().OpenGate());
        m_grid->viewport()->update();
    }
    if (!CRepositoryConnection::Instance().IsConnected())
        RepositoryUi::ReportFailure(this, T::ShareCompare, QString());
}

void CManageDlgBase::OnConvert()
{
    const std::vector<int> rows = CheckedRows();
    if (rows.empty()) {
        CQrMessageBox::Information(this, m_texts.convert == T::ConvertWords ? T::NoWordSelected : T::NoDomainSelected);
        return;
    }
    if (!CQrMessageBox::Question(this, m_texts.convert == T::ConvertWords ? T::AskConvertWords : T::AskConvertDomains))
        return;
    Convert(rows);
}

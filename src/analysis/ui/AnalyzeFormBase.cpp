#include "analysis/ui/AnalyzeFormBase.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/ui/FormExchange.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOpen = QStringLiteral("열기");
const QString kSave = QStringLiteral("분석 저장");
const QString kAnalyze = QStringLiteral("분석");
const QString kReport = QStringLiteral("분석 현황");
const QString kExport = QStringLiteral("출력");
const QString kFileGroup = QStringLiteral("파일");
const QString kAnalyzeGroup = QStringLiteral("분석");
const QString kFilterLabel = QStringLiteral("필터");
const QString kSaveDone = QStringLiteral("저장이 완료되었습니다");
const QString kExportDone = QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?");
const QString kExcelFilter = QStringLiteral("Excel Files(*.xlsx,*.xls)|*.xlsx;*.xls|");
const QString kReadTitle = QStringLiteral("Termwise Read");
const QString kReadText = QStringLiteral("Read column description");

QString ColumnLetters(int index)
{
    QString letters;
    for (int n = index; n >= 0; n = n / 26 - 1)
        letters.prepend(QChar(u'A' + n % 26));
    return letters;
}
} // namespace

CAnalyzeFormBase::CAnalyzeFormBase(QWidget* parent) : QWidget(parent) {}

void CAnalyzeFormBase::BuildUi(const QString& caption)
{
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* fileGroup = new QGroupBox(kFileGroup, this);
    m_open = new QPushButton(kOpen, fileGroup);
    m_path = new QLineEdit(fileGroup);
    m_path->setReadOnly(true);
    m_save = new QPushButton(kSave, fileGroup);
    m_excludeFirstRow = new QCheckBox(AnalysisTexts::kExcludeFirstRow, fileGroup);
    m_excludeAnalyzed = new QCheckBox(AnalysisTexts::kExcludeAnalyzed, fileGroup);
    m_filter = new QComboBox(fileGroup);
    m_filter->setEditable(true);
    m_filter->setInsertPolicy(QComboBox::NoInsert);
    m_filter->setMinimumWidth(140);
    auto* fileLayout = new QGridLayout(fileGroup);
    fileLayout->addWidget(m_open, 0, 0);
    fileLayout->addWidget(m_path, 0, 1, 1, 4);
    fileLayout->addWidget(m_save, 0, 5);
    fileLayout->addWidget(m_excludeFirstRow, 1, 0, 1, 2);
    fileLayout->addWidget(m_excludeAnalyzed, 1, 2);
    fileLayout->addWidget(new QLabel(kFilterLabel, fileGroup), 1, 3, Qt::AlignRight);
    fileLayout->addWidget(m_filter, 1, 4, 1, 2);
    fileLayout->setColumnStretch(1, 1);

    auto* analyzeGroup = new QGroupBox(kAnalyzeGroup, this);
    m_analyze = new QPushButton(kAnalyze, analyzeGroup);
    m_report = new QPushButton(kReport, analyzeGroup);
    m_export = new QPushButton(kExport, analyzeGroup);
    auto* analyzeLayout = new QVBoxLayout(analyzeGroup);
    auto* analyzeRow = new QHBoxLayout;
    analyzeRow->addWidget(m_analyze);
    analyzeRow->addWidget(m_report);
    analyzeRow->addWidget(m_export);
    analyzeLayout->addLayout(analyzeRow);
    analyzeLayout->addStretch();
    for (QPushButton* button : {m_open, m_save, m_analyze, m_report, m_export})
        button->setMinimumWidth(84);

    m_targets = new QGroupBox(AnalysisTexts::kTargetList, this);
    m_grid = new CQrTreeGrid(m_targets);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* targetLayout = new QVBoxLayout(m_targets);
    targetLayout->addWidget(m_grid);
    // Status images: 0 nothing known, 1 partly, 2 all.
    const QList<QIcon> images = CQrTreeGrid::DefaultImages();
    m_grid->SetImageList({images.value(2), images.value(1), images.value(0)});

    auto* top = new QHBoxLayout;
    top->addWidget(fileGroup, 1);
    top->addWidget(analyzeGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_targets, 1);

    connect(m_open, &QPushButton::clicked, this, &CAnalyzeFormBase::OnOpen);
    connect(m_save, &QPushButton::clicked, this, &CAnalyzeFormBase::OnSave);
    connect(m_analyze, &QPushButton::clicked, this, [this] { Analyze(); });
    connect(m_report, &QPushButton::clicked, this, [this] { ShowReport(); });
    connect(m_export, &QPushButton::clicked, this, &CAnalyzeFormBase::OnExport);
    connect(m_excludeFirstRow, &QCheckBox::toggled, this, &CAnalyzeFormBase::OnExcludeFirstRow);
    connect(m_excludeAnalyzed, &QCheckBox::toggled, this, &CAnalyzeFormBase::OnFilter);
    connect(m_filter, &QComboBox::activated, this, &CAnalyzeFormBase::OnFilter);
    connect(m_filter->lineEdit(), &QLineEdit::returnPressed, this, &CAnalyzeFormBase::OnFilter);
    connect(m_grid, &CQrTreeGrid::ContextMenuRequested, this, &CAnalyzeFormBase::OnGridMenu);
    // Queued: the rename redraws the tree, which must wait until the editor has closed.
    connect(
        m_grid, &CQrTreeGrid::CellEdited, this,
        [this](int row, int col, const QString& from, const QString& to) {
            if (Mode() == 2 && col == 0 && m_grid->GetTreeLevel(row) == 1 && m_grid->GetItemText(row, 0) == to)
                NameEdited(row, from, to);
        },
        Qt::QueuedConnection);
    UpdateButtons();
}

void CAnalyzeFormBase::Inform(const QString& text)
{
    CQrMessageBox::Information(this, text);
}

void CAnalyzeFormBase::UpdateButtons()
{
    const int mode = Mode();
    m_analyze->setEnabled(mode != 0);
    m_save->setEnabled(mode == 2);
    m_report->setEnabled(mode == 2);
    m_export->setEnabled(mode == 2);
}

int CAnalyzeFormBase::TargetRowOf(int row) const
{
    return m_grid->GetParentTopRow(row);
}

// --- open, save, export -------------------------------------------------------------------

void CAnalyzeFormBase::OnOpen()
{
    const QString path = CQrFileDialog::GetOpenFileName(this, OpenFilter());
    if (!path.isEmpty())
        OpenPath(path);
}

void CAnalyzeFormBase::OpenPath(const QString& path)
{
    m_path->setText(path);
    Roles().Reset();
    if (QFileInfo(path).suffix().compare(DocumentExtension(), Qt::CaseInsensitive) == 0) {
        QString message;
        if (!ReadDocument(path, message))
            Inform(message);
        return;
    }
    CQrProgressWnd::ShowMarquee(kReadTitle, kReadText, this);
    QVector<QStringList> rows;
    QString message;
    const bool read = FormExchange::ReadSheet(path, rows, message);
    CQrProgressWnd::Hide();
    if (!read) {
        Inform(message);
        return;
    }
    SetSheet(std::move(rows));
    ShowSheet();
}

void CAnalyzeFormBase::OnSave()
{
    const QString path = CQrFileDialog::GetSaveFileName(this, SaveFilter(), DocumentExtension());
    if (path.isEmpty())
        return;
    QString message;
    if (!WriteDocument(path, message)) {
        // A write that failed is said so; the program of old claimed success regardless.
        CQrMessageBox::Warning(this, message);
        return;
    }
    Inform(kSaveDone);
}

void CAnalyzeFormBase::OnExport()
{
    const QString path = CQrFileDialog::GetSaveFileName(this, kExcelFilter, QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    QString message;
    if (!WriteWorkbook(path, message)) {
        CQrMessageBox::Warning(this, message);
        return;
    }
    if (CQrMessageBox::Question(this, kExportDone))
        CQrShell::Open(path);
}

// --- source sheet ---------------------------------------------------------------------------

void CAnalyzeFormBase::ShowSheet()
{
    const QVector<QStringList>& sheet = Sheet();
    int columns = 0;
    for (const QStringList& row : sheet)
        columns = std::max(columns, int(row.size()));
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers.append(ColumnLetters(c));

    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(headers);
    m_grid->setRootIsDecorated(false);
    for (const QStringList& cells : sheet)
        m_grid->InsertRow(1, cells);
    if (!sheet.isEmpty())
        m_grid->SetRowHidden(0, IsSheetRowHidden(0));
    m_grid->EndUpdate();
    m_grid->header()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->AutoSizeColumns();
    m_targets->setTitle(AnalysisTexts::kTargetList);
    UpdateButtons();
}

void CAnalyzeFormBase::PaintColumn(int col, unsigned color)
{
    if (col < 0)
        return;
    m_grid->BeginUpdate();
    for (int row = 0; row < m_grid->GetRowCount(); ++row)
        m_grid->SetItemBkColor(row, col, quint32(color));
    m_grid->EndUpdate();
}

void CAnalyzeFormBase::OnGridMenu(int row, int col, const QPoint& globalPos)
{
    if (row < 0 || col < 0)
        return;
    m_menuColumn = col;
    if (Mode() == 1)
        DesignationMenu(col, globalPos);
    else if (Mode() == 2)
        ShowResultMenu(row, globalPos);
}

void CAnalyzeFormBase::DesignationMenu(int col, const QPoint& globalPos)
{
    const std::vector<RoleItem> items = RoleItems();
    ColumnRoles& roles = Roles();
    QMenu menu(this);
    const int held = roles.RoleOf(col);
    for (const RoleItem& item : items) {
        if (held >= 0) {
            if (item.role == held)
                menu.addAction(item.cancel)->setData(-1 - item.role);
            continue;
        }
        if (item.separatorBefore)
            menu.addSeparator();
        menu.addAction(item.assign)->setData(item.role);
    }
    QAction* chosen = CQrPopupMenu::Exec(&menu, globalPos);
    if (!chosen)
        return;
    const int command = chosen->data().toInt();
    if (command < 0) {
        roles.Cancel(-1 - command);
        PaintColumn(col, 0xFFFFFF);
        return;
    }
    const int left = roles.Designate(command, col);
    PaintColumn(left, 0xFFFFFF);
    for (const RoleItem& item : items)
        if (item.role == command)
            PaintColumn(col, item.color);
}

void CAnalyzeFormBase::OnExcludeFirstRow(bool checked)
{
    SetExcludeFirstRowFlag(checked);
    if (Mode() == 1 && m_grid->GetRowCount() > 0)
        m_grid->SetRowHidden(0, IsSheetRowHidden(0));
}

// --- result tree ----------------------------------------------------------------------------

void CAnalyzeFormBase::ShowResult(const QStringList& columns, const std::vector<AnalysisRow>& rows,
                                  const QString& caption)
{
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(columns);
    m_grid->setRootIsDecorated(true);
    const QColor white = CQrTreeGrid::FromWinColor(0xFFFFFF);
    for (const AnalysisRow& source : rows) {
        const int row = m_grid->InsertRow(source.level, source.texts);
        const QColor background = CQrTreeGrid::FromWinColor(source.background);
        if (background != white)
            m_grid->SetBkColorRow(row, background);
        if (source.nameBackground != source.background)
            m_grid->SetItemBkColor(row, 0, quint32(source.nameBackground));
        for (int col = 0; col < int(source.images.size()); ++col)
            if (source.images[size_t(col)] >= 0)
                m_grid->SetItemImage(row, col, source.images[size_t(col)]);
        if (source.nameEditable)
            m_grid->SetEditableCell(row, 0);
        if (source.mergeFirst >= 0 && source.mergeLast > source.mergeFirst)
            m_grid->MergeCells(row, source.mergeFirst, source.mergeLast);
        m_grid->SetItemData(row, source.target);
        if (source.level == 1 && source.hidden)
            m_grid->SetRowHidden(row, true);
    }
    m_grid->EndUpdate();
    m_grid->expandAll();
    m_grid->AutoSizeColumns();
    m_targets->setTitle(caption);
    UpdateButtons();
}

void CAnalyzeFormBase::RefreshHiddenRows()
{
    m_grid->BeginUpdate();
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        if (m_grid->GetTreeLevel(row) != 1)
            continue;
        const bool hidden = IsTargetHidden(m_grid->GetItemData(row).toInt());
        if (hidden != m_grid->IsRowHiddenAt(row))
            m_grid->SetRowHidden(row, hidden);
    }
    m_grid->EndUpdate();
}

void CAnalyzeFormBase::OnFilter()
{
    FilterChanged(m_excludeAnalyzed->isChecked(), m_filter->currentText());
    if (Mode() == 2)
        RefreshHiddenRows();
}

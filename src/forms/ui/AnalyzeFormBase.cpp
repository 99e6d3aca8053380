#include "forms/ui/AnalyzeFormBase.h"

#include "exchange/ModelInput.h"
#include "exchange/ModelSourceTexts.h"
#include "forms/ui/DbSourceDlg.h"
#include "repository/QrDbConnector.h"

#include "analysis/AnalysisTexts.h"
#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/ExchangeTexts.h"
#include "forms/ui/FormExchange.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

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
// Results of at least this many targets are drawn in slices of this many.
constexpr size_t kSlicedFrom = 5000;
constexpr size_t kSliceTargets = 1000;
const QString kReadTitle = QStringLiteral("Termwise Read");
const QString kReadText = QStringLiteral("Read column description");
const QString kAskDiscard = QStringLiteral("%1: 저장하지 않은 분석 결과가 있습니다.\n저장하시겠습니까?");
const QString kBrokenDocument =
    QStringLiteral("%1 파일을 분석 문서로 읽을 수 없습니다. 파일이 손상되었거나 형식이 맞지 않습니다.\n(%2)");
const QString kMissingRoleLine =
    QStringLiteral("지정되지 않은 필수 항목: %1. 해당 열을 마우스 오른쪽 버튼으로 클릭해 지정하세요.");
const QString kHint =
    QStringLiteral("열의 셀이나 머리글을 마우스 오른쪽 버튼으로 클릭해 역할을 지정하세요 (필수: %1).");
const QString kRunLine = QStringLiteral("%1 분석: 대상 %2개, 분석 완료 %3개");
const QString kRoleSeparator = QStringLiteral(" · ");
const QString kFindLabel = QStringLiteral("찾기");
const QString kFindPrompt = QStringLiteral("대상명, 컬럼명, 단어 (Enter·F3 다음, Shift+F3 이전)");
const QString kFindNext = QStringLiteral("다음");
const QString kFindClose = QStringLiteral("닫기");
const QString kFindWrapped = QStringLiteral("처음부터 다시 찾았습니다");
const QString kFindNothing = QStringLiteral("찾는 내용이 없습니다");
const QString kRequiredMark = QStringLiteral("(필수)");

// The role's own name in its assign item: "속성명 지정 (필수)" -> "속성명".
QString RoleName(const QString& assign)
{
    return assign.section(QStringLiteral(" 지정"), 0, 0).trimmed();
}

bool IsRequired(const CAnalyzeFormBase::RoleItem& item)
{
    return item.assign.contains(kRequiredMark);
}

// Texts the readers give for a well-formed file of another kind: those keep their own box.
bool IsKnownRefusal(const QString& message)
{
    using AnalysisDocument::Kind;
    for (Kind kind : {Kind::Logical, Kind::Physical, Kind::Domain, Kind::Term})
        if (message == AnalysisDocument::WrongKindMessage(kind))
            return true;
    return message == ExchangeTexts::kNoStandardArea;
}

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
    m_open->setToolTip(QStringLiteral("엑셀 파일, 분석 문서 또는 DDL 스크립트(.sql, 여러 개를 함께)를 엽니다"));
    m_openDatabase = new QPushButton(QStringLiteral("DB에서 열기"), fileGroup);
    m_openDatabase->setObjectName(QStringLiteral("OpenDatabaseButton"));
    m_openDatabase->setToolTip(QStringLiteral("저장된 연결 프로필로 데이터베이스 카탈로그의 테이블과 컬럼을 읽습니다"));
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
    auto* openButtons = new QHBoxLayout;
    openButtons->addWidget(m_open);
    openButtons->addWidget(m_openDatabase);
    fileLayout->addLayout(openButtons, 0, 0);
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
    for (QPushButton* button : {m_open, m_openDatabase, m_save, m_analyze, m_report, m_export}) {
        button->setMinimumWidth(84);
        // Enter presses the focused button, as in a dialog.
        button->setAutoDefault(true);
    }

    m_targets = new QGroupBox(AnalysisTexts::kTargetList, this);
    m_hint = new QLabel(m_targets);
    m_hint->setObjectName(QStringLiteral("DesignationHint"));
    m_hint->setWordWrap(true);
    m_hint->hide();
    m_grid = new CQrTreeGrid(m_targets);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_findBar = new QWidget(m_targets);
    m_find = new QLineEdit(m_findBar);
    m_find->setObjectName(QStringLiteral("FindEdit"));
    m_find->setPlaceholderText(kFindPrompt);
    m_find->setClearButtonEnabled(true);
    m_findStatus = new QLabel(m_findBar);
    auto* findNext = new QPushButton(kFindNext, m_findBar);
    auto* findClose = new QPushButton(kFindClose, m_findBar);
    for (QPushButton* b : {findNext, findClose})
        b->setAutoDefault(false);
    auto* findRow = new QHBoxLayout(m_findBar);
    findRow->setContentsMargins(0, 0, 0, 0);
    findRow->addWidget(new QLabel(kFindLabel, m_findBar));
    findRow->addWidget(m_find, 1);
    findRow->addWidget(findNext);
    findRow->addWidget(m_findStatus);
    findRow->addWidget(findClose);
    m_findBar->hide();
    auto* targetLayout = new QVBoxLayout(m_targets);
    targetLayout->addWidget(m_hint);
    targetLayout->addWidget(m_findBar);
    targetLayout->addWidget(m_grid);
    connect(m_find, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
    connect(findNext, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(findClose, &QPushButton::clicked, this, [this] {
        m_findBar->hide();
        m_grid->setFocus();
    });
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
    connect(m_openDatabase, &QPushButton::clicked, this, &CAnalyzeFormBase::OnOpenDatabase);
    connect(m_save, &QPushButton::clicked, this, &CAnalyzeFormBase::OnSave);
    connect(m_analyze, &QPushButton::clicked, this, &CAnalyzeFormBase::OnAnalyze);
    connect(m_report, &QPushButton::clicked, this, [this] { ShowReport(); });
    connect(m_export, &QPushButton::clicked, this, &CAnalyzeFormBase::OnExport);
    connect(m_excludeFirstRow, &QCheckBox::toggled, this, &CAnalyzeFormBase::OnExcludeFirstRow);
    connect(m_excludeAnalyzed, &QCheckBox::toggled, this, &CAnalyzeFormBase::OnFilter);
    connect(m_filter, &QComboBox::activated, this, &CAnalyzeFormBase::OnFilter);
    connect(m_filter->lineEdit(), &QLineEdit::returnPressed, this, &CAnalyzeFormBase::OnFilter);
    connect(m_grid, &CQrTreeGrid::ContextMenuRequested, this, &CAnalyzeFormBase::OnGridMenu);
    // The header offers the same designation menu as the column's cells.
    m_grid->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid->header(), &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const int col = m_grid->header()->logicalIndexAt(pos);
        if (Mode() == 1 && col >= 0)
            DesignationMenu(col, m_grid->header()->mapToGlobal(pos));
    });
    // Queued: the rename redraws the tree, which must wait until the editor has closed.
    connect(
        m_grid, &CQrTreeGrid::CellEdited, this,
        [this](int row, int col, const QString& from, const QString& to) {
            if (Mode() == 2 && col == 0 && m_grid->GetTreeLevel(row) == 1 && m_grid->GetItemText(row, 0) == to) {
                m_renaming = true;
                NameEdited(row, from, to);
                m_renaming = false;
            }
        },
        Qt::QueuedConnection);
    AddShortcuts();
    UpdateButtons();
}

void CAnalyzeFormBase::AddShortcuts()
{
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), m_open},
        {QKeySequence(Qt::CTRL | Qt::Key_S), m_save},
        {QKeySequence(Qt::Key_F5), m_analyze},
        {QKeySequence(Qt::CTRL | Qt::Key_E), m_export},
    };
    const std::pair<QKeySequence, std::function<void()>> findKeys[] = {
        {QKeySequence(QKeySequence::Find), [this] { OpenFind(); }},
        {QKeySequence(Qt::Key_F3),
         [this] {
             if (m_find->text().isEmpty())
                 OpenFind();
             else
                 FindNext(false);
         }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindNext(true); }},
    };
    for (const auto& [key, run] : findKeys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, run);
    }
    auto* closeFind = new QShortcut(QKeySequence(Qt::Key_Escape), m_find);
    closeFind->setContext(Qt::WidgetShortcut);
    connect(closeFind, &QShortcut::activated, this, [this] {
        m_findBar->hide();
        m_grid->setFocus();
    });
    for (const auto& [key, button] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
        button->setToolTip(button->text() + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                           QLatin1Char(')'));
    }
}

void CAnalyzeFormBase::OpenFind()
{
    m_findBar->show();
    m_find->setFocus();
    m_find->selectAll();
}

bool CAnalyzeFormBase::FindNext(bool backwards)
{
    const QString needle = m_find->text().trimmed();
    const int rows = m_grid->GetRowCount();
    if (needle.isEmpty() || rows == 0) {
        m_findStatus->clear();
        return false;
    }
    const int cols = m_grid->GetColumnCount();
    const int start = m_grid->GetCurrentRow();
    const int total = rows * cols;
    // Cell by cell from the one after the current cell, around to the current cell itself.
    const int step = backwards ? -1 : 1;
    const int current =
        start < 0 ? (backwards ? total : -1) : start * cols + std::clamp(m_grid->GetCurrentColumn(), 0, cols - 1);
    for (int k = 1; k <= total; ++k) {
        int p = current + step * k;
        const bool wrapped = start >= 0 && (p < 0 || p >= total);
        p = (p % total + total) % total;
        const int row = p / cols;
        const int col = p % cols;
        if (m_grid->IsRowHiddenAt(row) || !m_grid->GetItemText(row, col).contains(needle, Qt::CaseInsensitive))
            continue;
        m_grid->RevealRow(row);
        m_grid->SetScrollToCell(row, col);
        m_grid->SetFocusCell(row, col);
        m_findStatus->setText(wrapped ? kFindWrapped : QString());
        return true;
    }
    m_findStatus->setText(kFindNothing);
    return false;
}

void CAnalyzeFormBase::Inform(const QString& text)
{
    if (text == AnalysisTexts::kMissingRequired) {
        // The fixed text says that something is missing; the next line says what and how.
        const QStringList missing = MissingRequiredRoles();
        if (!missing.isEmpty()) {
            CQrMessageBox::Information(this, text + u'\n' + kMissingRoleLine.arg(missing.join(QStringLiteral(", "))));
            return;
        }
    }
    CQrMessageBox::Information(this, text);
}

QStringList CAnalyzeFormBase::MissingRequiredRoles()
{
    QStringList names;
    const ColumnRoles& roles = Roles();
    for (const RoleItem& item : RoleItems())
        if (IsRequired(item) && roles.Column(item.role) < 0)
            names.append(RoleName(item.assign));
    return names;
}

bool CAnalyzeFormBase::ConfirmDiscard()
{
    if (!IsAnalysisModified())
        return true;
    switch (CQrMessageBox::AskSaveDiscard(this, kAskDiscard.arg(windowTitle()))) {
    case CQrMessageBox::EDiscard::Save:
        return OnSave();
    case CQrMessageBox::EDiscard::Discard:
        return true;
    case CQrMessageBox::EDiscard::Cancel:
        break;
    }
    return false;
}

void CAnalyzeFormBase::closeEvent(QCloseEvent* event)
{
    if (!ConfirmDiscard()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CAnalyzeFormBase::OnAnalyze()
{
    m_run.start();
    Analyze();
    m_run.invalidate();
}

void CAnalyzeFormBase::ReportRun(const QString& caption)
{
    // The caption is the engine's own count: "대상 목록 ( complete / targets )".
    static const QRegularExpression counts(QStringLiteral("\\(\\s*(\\d+)\\s*/\\s*(\\d+)\\s*\\)"));
    const QRegularExpressionMatch match = counts.match(caption);
    const QLocale locale(QLocale::Korean, QLocale::SouthKorea);
    QString line;
    if (match.hasMatch()) {
        line = kRunLine.arg(windowTitle(), locale.toString(match.captured(2).toLongLong()),
                            locale.toString(match.captured(1).toLongLong()));
    } else {
        line = windowTitle() + QStringLiteral(" 분석: ") + caption;
    }
    if (m_run.isValid())
        line += QStringLiteral(", %1초").arg(locale.toString(double(m_run.elapsed()) / 1000.0, 'f', 2));
    const QString path = m_path->text();
    if (!path.isEmpty())
        line += QStringLiteral(" (") + QFileInfo(path).fileName() + QLatin1Char(')');
    OutputLog::Post(line);
    if (auto* frame = qobject_cast<QMainWindow*>(window()))
        frame->statusBar()->showMessage(line);
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
    if (!ConfirmDiscard())
        return;
    // The form's filter with DDL scripts beside workbooks and documents.
    QString filter = OpenFilter();
    const qsizetype close = filter.indexOf(QLatin1String(")|"));
    if (close > 0 && filter.endsWith(u'|')) {
        filter.insert(filter.size() - 1, QStringLiteral(";*.sql"));
        filter.insert(close, QStringLiteral(",*.sql"));
    }
    const QStringList paths = CQrFileDialog::GetOpenFileNames(this, filter);
    if (paths.size() == 1) {
        OpenPath(paths.front());
    } else if (!paths.isEmpty()) {
        // Tables and their comments often come in separate scripts: read as one.
        for (const QString& path : paths)
            if (!ModelSource::IsDdlPath(path)) {
                CQrMessageBox::Warning(this, QStringLiteral("여러 파일은 DDL 스크립트(.sql)만 함께 열 수 있습니다"));
                return;
            }
        OpenScripts(paths);
    }
}

void CAnalyzeFormBase::OnOpenDatabase()
{
    if (!ConfirmDiscard())
        return;
    CDbSourceDlg dlg(CQrDbConnector::GetInstance().Profiles(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    if (OpenCatalog(dlg.Uri(), dlg.Schemas(), dlg.Tables()))
        CQrDbConnector::GetInstance().Profiles().SetLastUsed(dlg.ProfileName());
}

bool CAnalyzeFormBase::OpenCatalog(const RepositoryUri& uri, const QStringList& schemas, const QString& tables)
{
    ModelSource::AttributeList list;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = ModelInput::ReadCatalog(uri, schemas, tables, list, error);
    QApplication::restoreOverrideCursor();
    if (!read) {
        if (error == ModelSourceTexts::kCancelled)
            OutputLog::Post(error);
        else
            CQrMessageBox::Warning(this, error);
        return false;
    }
    QString shown = uri.Display();
    if (shown.isEmpty()) // MySQL/MariaDB: never with the password
        shown = QStringLiteral("mysql://%1@%2:%3/%4").arg(uri.user, uri.host).arg(uri.port).arg(uri.database);
    QStringList narrowed;
    if (!schemas.isEmpty())
        narrowed << QStringLiteral("스키마 ") + schemas.join(QStringLiteral(", "));
    if (!tables.isEmpty())
        narrowed << QStringLiteral("테이블 ") + tables;
    if (!narrowed.isEmpty())
        shown += QStringLiteral(" (%1)").arg(narrowed.join(QStringLiteral("; ")));
    // Saves and exports propose a file named after the database, in the home folder.
    const QString name = uri.database.isEmpty() ? QFileInfo(uri.path).completeBaseName() : uri.database;
    ShowModel(std::move(list), shown, QDir::home().filePath(name));
    return true;
}

bool CAnalyzeFormBase::OpenScripts(const QStringList& paths)
{
    ModelSource::AttributeList list;
    QString error;
    const bool read = ModelInput::Read({paths, {}, {}, ModelSource::Dialect::Unknown}, list, error);
    if (!read) {
        for (const QString& warning : list.warnings)
            OutputLog::Post(warning);
        if (error == ModelSourceTexts::kCancelled)
            OutputLog::Post(error);
        else
            CQrMessageBox::Warning(this,
                                   QStringLiteral("%1: %2").arg(ModelInput::DisplayName({paths, {}, {}, {}}), error));
        return false;
    }
    QStringList shown;
    for (const QString& path : paths)
        shown << QDir::toNativeSeparators(path);
    ShowModel(std::move(list), shown.join(QStringLiteral(", ")), paths.front());
    return true;
}

void CAnalyzeFormBase::ShowModel(ModelSource::AttributeList&& list, const QString& shownPath,
                                 const QString& proposalPath)
{
    for (const QString& warning : list.warnings)
        OutputLog::Post(warning);
    m_path->setText(shownPath);
    setProperty("inputPath", proposalPath);
    SetSheet(list.rows);
    ModelSource::Designate(ModelForm(), Roles());
    m_excludeFirstRow->setChecked(true);
    SetExcludeFirstRowFlag(true);
    // The rows are shared with the engine's sheet, not copied; the facts are for the fix script.
    m_model = std::make_shared<ModelSource::AttributeList>(std::move(list));
    ShowSheet();
    OutputLog::Post(QStringLiteral("%1: 테이블 %2개, 컬럼 %3개 (논리명 없는 컬럼 %4개)")
                        .arg(shownPath)
                        .arg(m_model->tables)
                        .arg(m_model->Columns())
                        .arg(m_model->WithoutLogicalName()));
}

void CAnalyzeFormBase::OpenPath(const QString& path)
{
    // The path box and the designations change only with what the grid shows: a file that
    // cannot be read leaves the form as it was, so "분석" never runs other data than shown.
    const ColumnRoles rolesBefore = Roles();
    if (ModelSource::IsDdlPath(path)) {
        OpenScripts({path});
        return;
    }
    m_model.reset();
    if (QFileInfo(path).suffix().compare(DocumentExtension(), Qt::CaseInsensitive) == 0) {
        QString message;
        const QString pathBefore = m_path->text();
        m_path->setText(path); // the run's output line names it
        m_run.start();
        const bool read = ReadDocument(path, message);
        m_run.invalidate();
        if (!read) {
            m_path->setText(pathBefore);
            Roles() = rolesBefore;
            if (message.isEmpty()) // the form has told the user already
                return;
            if (IsKnownRefusal(message))
                Inform(message);
            else
                CQrMessageBox::Warning(this, kBrokenDocument.arg(QFileInfo(path).fileName(), message));
            return;
        }
        Roles().Reset();
        setProperty("inputPath", path);
        // The result is the document's own: nothing new to lose yet.
        m_modified = false;
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
    m_path->setText(path);
    setProperty("inputPath", path);
    SetSheet(std::move(rows));
    Roles().Reset();
    ShowSheet();
}

bool CAnalyzeFormBase::OnSave()
{
    const QString proposed = CQrFileDialog::ProposePath(property("inputPath").toString(), DocumentExtension());
    const QString path = CQrFileDialog::GetSaveFileName(this, SaveFilter(), DocumentExtension(), proposed);
    if (path.isEmpty())
        return false;
    QString message;
    if (!WriteDocument(path, message)) {
        // A write that failed is said so; the program of old claimed success regardless.
        CQrMessageBox::Warning(this, message);
        return false;
    }
    m_modified = false;
    Inform(kSaveDone);
    return true;
}

void CAnalyzeFormBase::OnExport()
{
    const QString path = CQrFileDialog::GetExportFileName(
        this, CQrFileDialog::ProposePath(property("inputPath").toString(), QStringLiteral("xlsx")));
    if (path.isEmpty())
        return;
    QString message;
    if (!WriteWorkbook(path, message)) {
        CQrMessageBox::Warning(this, message);
        return;
    }
    if (CQrMessageBox::Question(this, kExportDone))
        CQrShell::Open(path, this);
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
        headers.append(SourceHeader(c));

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
    m_grid->scrollToTop();
    m_targets->setTitle(AnalysisTexts::kTargetList);
    m_modified = false;
    UpdateHint();
    UpdateButtons();
}

QString CAnalyzeFormBase::SourceHeader(int col) const
{
    QString text = ColumnLetters(col);
    auto* self = const_cast<CAnalyzeFormBase*>(this);
    const int role = self->Roles().RoleOf(col);
    if (role >= 0) {
        for (const RoleItem& item : RoleItems())
            if (item.role == role)
                text += kRoleSeparator + RoleName(item.assign);
    }
    // The hidden first row usually holds the captions the user picks columns by.
    if (IsSheetRowHidden(0)) {
        const QString caption = SheetCell(Sheet(), 0, col);
        if (!caption.isEmpty())
            text += u'\n' + caption;
    }
    return text;
}

void CAnalyzeFormBase::UpdateSourceHeaders()
{
    if (Mode() != 1)
        return;
    for (int col = 0; col < m_grid->GetColumnCount(); ++col) {
        m_grid->SetColumnHeader(col, SourceHeader(col));
        // a role named in the header widens its column so the header shows whole
        const int needed = m_grid->header()->sectionSizeHint(col);
        if (col + 1 < m_grid->GetColumnCount() && m_grid->GetColumnWidth(col) > 0 &&
            m_grid->GetColumnWidth(col) < needed)
            m_grid->SetColumnWidth(col, needed);
    }
}

void CAnalyzeFormBase::UpdateHint()
{
    bool anyRole = false;
    const ColumnRoles& roles = Roles();
    for (int role = 0; role < roles.Count(); ++role)
        anyRole = anyRole || roles.Column(role) >= 0;
    QStringList required;
    for (const RoleItem& item : RoleItems())
        if (IsRequired(item))
            required.append(RoleName(item.assign));
    m_hint->setText(kHint.arg(required.join(QStringLiteral(", "))));
    m_hint->setVisible(Mode() == 1 && !anyRole);
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
    } else {
        const int left = roles.Designate(command, col);
        PaintColumn(left, 0xFFFFFF);
        for (const RoleItem& item : items)
            if (item.role == command)
                PaintColumn(col, item.color);
    }
    UpdateSourceHeaders();
    UpdateHint();
}

void CAnalyzeFormBase::OnExcludeFirstRow(bool checked)
{
    SetExcludeFirstRowFlag(checked);
    if (Mode() == 1 && m_grid->GetRowCount() > 0)
        m_grid->SetRowHidden(0, IsSheetRowHidden(0));
    UpdateSourceHeaders();
}

// --- result tree ----------------------------------------------------------------------------

void CAnalyzeFormBase::ShowResult(const QStringList& columns, const std::vector<AnalysisRow>& rows,
                                  const QString& caption)
{
    BeginResult(columns);
    AppendResultRows(rows);
    EndResult(caption);
}

void CAnalyzeFormBase::ShowResult(const QStringList& columns, size_t targets, const RowSlice& rows,
                                  const QString& caption)
{
    if (targets < kSlicedFrom) {
        ShowResult(columns, rows(0, targets), caption);
        return;
    }
    const int slices = int((targets + kSliceTargets - 1) / kSliceTargets);
    // The last stretch of the analysis; the window also keeps the user from starting another.
    CQrProgressWnd::Show(slices, AnalysisTexts::kProgressTitle, AnalysisTexts::kProgressAnalyzeWord, this, false);
    BeginResult(columns);
    for (size_t first = 0; first < targets; first += kSliceTargets) {
        AppendResultRows(rows(first, std::min(targets, first + kSliceTargets)));
        CQrProgressWnd::StepIt();
    }
    EndResult(caption);
    CQrProgressWnd::Hide();
}

void CAnalyzeFormBase::BeginResult(const QStringList& columns)
{
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(columns);
    m_grid->setRootIsDecorated(true);
}

void CAnalyzeFormBase::AppendResultRows(const std::vector<AnalysisRow>& rows)
{
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
}

void CAnalyzeFormBase::EndResult(const QString& caption)
{
    m_grid->EndUpdate();
    m_grid->expandAll();
    m_grid->AutoSizeColumns();
    m_targets->setTitle(caption);
    m_hint->hide();
    if (!m_renaming) {
        // A new result starts at its top; a rename keeps the user where the edit was.
        m_grid->scrollToTop();
        m_grid->setCurrentIndex(m_grid->Model()->IndexOf(0, 0));
        ReportRun(caption);
    }
    m_modified = true;
    UpdateButtons();
}

void CAnalyzeFormBase::RefreshHiddenRows()
{
    // Without the model reset of a bulk update, so the tree keeps the current cell, what the
    // user expanded or collapsed and where it was scrolled.
    std::vector<std::pair<int, bool>> changes;
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        if (m_grid->GetTreeLevel(row) != 1)
            continue;
        const bool hidden = IsTargetHidden(m_grid->GetItemData(row).toInt());
        if (hidden != m_grid->IsRowHiddenAt(row))
            changes.emplace_back(row, hidden);
    }
    m_grid->SetRowsHidden(changes);
}

void CAnalyzeFormBase::OnFilter()
{
    FilterChanged(m_excludeAnalyzed->isChecked(), m_filter->currentText());
    if (Mode() == 2)
        RefreshHiddenRows();
}

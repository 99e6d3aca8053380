#include "forms/ui/AnalyzeTermForm.h"

#include "analysis/DataType.h"
#include "analysis/TermAnalysis.h"
#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "components/ui/UiHooks.h"
#include "diagnosis/Diagnosis.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalysisRequest.h"
#include "exchange/ExcelExport.h"
#include "forms/ui/FormExchange.h"
#include "registration/StandardRegistration.h"
#include "registration/ui/DomainSelectDlg.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"
#include "standard/StandardTexts.h"
#include "standard/ui/ConformanceDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>
#include <set>

const QString CAnalyzeTermForm::kMenuRegisterDomain = QStringLiteral("도메인 등록");
const QString CAnalyzeTermForm::kMenuSelectDomain = QStringLiteral("도메인 선택");
const QString CAnalyzeTermForm::kMenuRegisterTerm = QStringLiteral("용어 등록");
const QString CAnalyzeTermForm::kMenuRegisterWord = QStringLiteral("단어 등록");
const QString CAnalyzeTermForm::kMenuRegisterClassWord = QStringLiteral("분류어 등록");

namespace TermFormText {
const QString kAnalyzeWork = QStringLiteral("용어 분석");
const QString kKeptResult = QStringLiteral("%1을(를) 마치지 못해 이전 결과를 그대로 둡니다: %2");
} // namespace TermFormText

namespace {
const QString kAreaLabel = QStringLiteral("표준 분류체계");
// Word rows of non-standard words: a mark and colour of their own, the standard in the tooltip.
constexpr int kImageSynonym = 6;
constexpr int kImageForbidden = 7;
const QString kSynonymTip = QStringLiteral("비표준어(이음동의어)입니다. 표준 단어: %1");
const QString kForbiddenTip = QStringLiteral("금칙어입니다. 표준 단어: %1");
const QColor kSynonymColour(0xff, 0xf0, 0xc0);
const QColor kForbiddenColour(0xf8, 0xd0, 0xd4);
constexpr int kColButton = 4;
constexpr int kColDomain = 5;
constexpr int kColClassWord = 6;

// Lists the repository's areas afresh whenever it opens: the connection may have changed
// since the form was made.
class CAreaCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;

protected:
    void showPopup() override
    {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

// The engine's images: 0 missing, 1 warning, 2 found, 3 registered term, 4 to register,
// 5 the re-analyse button.
// "Something to register here": a plus in a circle, so the cell reads as an offer.
QIcon RegisterIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe0, 0x70, 0x20));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16, 9), QPointF(16, 23));
    painter.drawLine(QPointF(9, 16), QPointF(23, 16));
    return QIcon(pixmap);
}

// A circle with a sign: "≈" for a synonym (it stands for another word), a bar for a
// forbidden word.
QIcon WordMarkIcon(const QColor& colour, bool forbidden)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (forbidden) {
        painter.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    } else {
        for (const qreal y : {6.5, 9.5}) {
            QPainterPath wave(QPointF(4.5, y));
            wave.cubicTo(QPointF(6.5, y - 2), QPointF(9.5, y + 2), QPointF(11.5, y));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(wave);
        }
    }
    return QIcon(pixmap);
}

QList<QIcon> TermImages()
{
    const QList<QIcon> status = CQrTreeGrid::DefaultImages();
    return {status.value(2),
            status.value(1),
            status.value(0),
            status.value(3),
            RegisterIcon(),
            QApplication::style()->standardIcon(QStyle::SP_BrowserReload),
            WordMarkIcon(QColor(0xd0, 0x90, 0x00), false),
            WordMarkIcon(QColor(0xc0, 0x20, 0x30), true)};
}
} // namespace

CAnalyzeTermForm::CAnalyzeTermForm(QWidget* parent)
    : CAnalyzeFormBase(parent), m_engine(std::make_unique<CTermAnalysis>())
{
    BuildUi(TermTexts::kCaption);
    BuildTermControls();
    RefreshAreas();
}

CAnalyzeTermForm::~CAnalyzeTermForm() = default;

void CAnalyzeTermForm::BuildTermControls()
{
    // What the term form has instead of the word forms' report and filter: the report button
    // shows the model's conformance to the area.
    ReportButton()->setText(StandardTexts::kConformanceTitle);
    FilterCombo()->hide();
    for (QLabel* label : FilterCombo()->parentWidget()->findChildren<QLabel*>())
        if (label->buddy() == FilterCombo() || label->text() == QStringLiteral("필터"))
            label->hide();
    ExcludeAnalyzedCheck()->setText(TermTexts::kExcludeRegistered);

    auto* areas = new CAreaCombo(this);
    areas->beforePopup = [this] { RefreshAreas(); };
    m_areas = areas;
    m_areas->setMinimumWidth(200);
    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(new QLabel(kAreaLabel, this));
    areaRow->addWidget(m_areas, 1);
    if (auto* layout = qobject_cast<QVBoxLayout*>(AnalyzeButton()->parentWidget()->layout()))
        layout->insertLayout(0, areaRow);

    Grid()->SetImageList(TermImages());
    connect(Grid(), &CQrTreeGrid::CellClicked, this, &CAnalyzeTermForm::OnCellClicked);
    // connected again (or to another repository): the areas are read anew, the choice kept
    connect(&CRepositoryNotifier::Instance(), &CRepositoryNotifier::Changed, this, [this] {
        if (CRepositoryConnection::Instance().IsConnected())
            RefreshAreas();
    });
    connect(m_areas, &QComboBox::activated, this,
            [this] { CRepositoryConnection::Instance().RememberArea(CurrentAreaId()); });
}

bool CAnalyzeTermForm::RunOnRepository(const QString& what, const std::function<bool()>& work)
{
    if (!RepositoryUi::EnsureUsable(this))
        return false;
    // What the user sees stays, whatever the server does in the middle.
    const CTermAnalysis before = *m_engine;
    const bool done = work();
    if (CRepositoryConnection::Instance().CheckAlive())
        return done;
    *m_engine = before;
    const QString line = TermFormText::kKeptResult.arg(what, CRepositoryConnection::Instance().UnavailableReason());
    OutputLog::Post(line.simplified());
    RepositoryUi::ReportFailure(this, what, QString());
    return false;
}

void CAnalyzeTermForm::ShowReport()
{
    // Figures are only ever those of the repository and area the result was analysed on.
    if (Mode() == 2 && !ResultIsCurrent()) {
        if (!CQrMessageBox::Question(this, ConformanceDlgText::kAnalyzeAgain))
            return;
        Analyze();
        if (Mode() != 2 || !ResultIsCurrent())
            return;
    }
    // The report names its input as the command line does: a file by its name, a model as shown.
    const QString input = Model() ? PathEdit()->text() : QFileInfo(PathEdit()->text()).fileName();
    if (m_engine->Mode() != CTermAnalysis::ModeResult || m_engine->Results().empty()) {
        CQrMessageBox::Warning(this, StandardTexts::kNoResult);
        return;
    }
    ConformanceReport report;
    QString error;
    if (!Diagnosis::BuildForAnalysis(*m_engine, Model(), report, error)) {
        // One box: the lost-connection question, or what failed in Korean with the driver's words.
        RepositoryUi::ReportFailure(this, StandardTexts::kConformanceTitle, error);
        return;
    }
    report.input = input;
    if (Model())
        report.tables = Model()->tables;
    CConformanceDlg::Show(this, std::move(report), *m_engine, Model());
}

bool CAnalyzeTermForm::ResultIsCurrent() const
{
    // (areas of one name show as one entry: only another listed area counts as a change)
    const bool otherArea = m_areas->findData(m_engine->AreaId()) >= 0 && CurrentAreaId() != m_engine->AreaId();
    return m_resultRepository == CRepositoryConnection::Instance().Identity() && !otherArea;
}

void CAnalyzeTermForm::showEvent(QShowEvent* event)
{
    CAnalyzeFormBase::showEvent(event);
    // The repository may have been connected since the form was made.
    if (m_areas->count() == 0)
        RefreshAreas();
}

int CAnalyzeTermForm::Mode() const
{
    return m_engine->Mode();
}

// --- standard areas -----------------------------------------------------------------------

void CAnalyzeTermForm::RefreshAreas()
{
    // Areas that cannot be read now stay as they were: a lost connection takes nothing away.
    CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate();
    StandardAreaMap areas;
    if (!gate || !gate->SelectStandardAreas(areas))
        return;
    QString current = CurrentAreaId();
    if (current.isEmpty())
        current = CRepositoryConnection::Instance().RememberedAreaId();
    {
        QSignalBlocker block(m_areas);
        m_areas->clear();
        for (const auto& [name, id] : areas)
            m_areas->addItem(name, id);
        m_areas->setCurrentIndex(m_areas->findData(current));
    }
}

QString CAnalyzeTermForm::CurrentAreaId() const
{
    return m_areas->currentIndex() >= 0 ? m_areas->currentData().toString() : QString();
}

bool CAnalyzeTermForm::SelectArea(const QString& areaId)
{
    const int index = m_areas->findData(areaId);
    if (index < 0)
        return false;
    m_areas->setCurrentIndex(index);
    m_engine->SetAreaId(areaId);
    return true;
}

bool CAnalyzeTermForm::ResolveArea(const QString& areaId)
{
    if (m_areas->count() == 0)
        RefreshAreas();
    return CTermAnalysis::ResolveStandardArea(areaId, [this, &areaId](const QString& name) {
        const int index = m_areas->findText(name, Qt::MatchExactly);
        if (index < 0)
            return false;
        m_areas->setCurrentIndex(index);
        // Areas sharing a name show as one entry: the document's own id is the one analysed.
        m_engine->SetAreaId(areaId);
        return true;
    });
}

// --- source sheet -------------------------------------------------------------------------

std::vector<CAnalyzeFormBase::RoleItem> CAnalyzeTermForm::RoleItems() const
{
    std::vector<RoleItem> items;
    for (const FormExchange::RoleMenuItem& item : FormExchange::RoleMenu(3))
        items.push_back({item.role, item.assign, item.cancel, item.color, item.separatorBefore});
    return items;
}

ColumnRoles& CAnalyzeTermForm::Roles()
{
    return m_engine->Designations();
}

const QVector<QStringList>& CAnalyzeTermForm::Sheet() const
{
    return m_engine->Sheet();
}

void CAnalyzeTermForm::SetSheet(QVector<QStringList> rows)
{
    m_engine->SetSheet(std::move(rows));
}

void CAnalyzeTermForm::SetExcludeFirstRowFlag(bool exclude)
{
    m_engine->SetExcludeFirstRow(exclude);
}

bool CAnalyzeTermForm::IsSheetRowHidden(int row) const
{
    return m_engine->IsSheetRowHidden(row);
}

QString CAnalyzeTermForm::OpenFilter() const
{
    return QStringLiteral("Document Files(*.xlsx,*.xls,*.ztst)|*.xlsx;*.xls;*.ztst|");
}

QString CAnalyzeTermForm::SaveFilter() const
{
    return QStringLiteral("Term Analyzed Files(*.ztst)|*.ztst|");
}

// --- documents, workbooks, requests ------------------------------------------------------

bool CAnalyzeTermForm::ReadDocument(const QString& path, QString& message)
{
    AnalysisDocument::Outcome read{false, QString()};
    const auto work = [&] {
        read = AnalysisDocument::Read(*m_engine, path, [this](const QString& areaId) { return ResolveArea(areaId); });
        if (read.ok)
            m_engine->Analyze();
        return read.ok;
    };
    // Without any repository the reader refuses the document with its own text.
    const bool done =
        CRepositoryConnection::Instance().Exists() ? RunOnRepository(TermFormText::kAnalyzeWork, work) : work();
    if (!done) {
        message = read.ok ? QString() : read.message;
        return false;
    }
    ShowEngineResult();
    return true;
}

bool CAnalyzeTermForm::WriteDocument(const QString& path, QString& message)
{
    return AnalysisDocument::WriteFile(AnalysisDocument::ToBytes(*m_engine), path, &message);
}

bool CAnalyzeTermForm::WriteWorkbook(const QString& path, QString& message)
{
    return FormExchange::WriteRows(path, ExcelExport::Rows(*m_engine), message);
}

void CAnalyzeTermForm::ApplyRequest(const QString& json)
{
    const bool done = RunOnRepository(TermFormText::kAnalyzeWork, [&] {
        if (!AnalysisRequest::Apply(*m_engine, json, [this](const QString& areaId) { return ResolveArea(areaId); }))
            return false;
        m_engine->Analyze();
        return true;
    });
    if (done)
        ShowEngineResult();
}

// --- analysis and result ------------------------------------------------------------------

void CAnalyzeTermForm::Analyze()
{
    // The combo box's choice takes effect here only: until the next analysis the shown result,
    // its registrations and re-analyses stay in the area it was analysed against.
    const QString areaId = CurrentAreaId();
    if (areaId.isEmpty()) {
        Inform(TermTexts::kNoArea);
        return;
    }
    CTermAnalysis::RunResult run;
    const bool ran = RunOnRepository(TermFormText::kAnalyzeWork, [&] {
        m_engine->SetAreaId(areaId);
        run = m_engine->Run();
        return run.ok;
    });
    if (!ran) {
        if (!run.ok && !run.message.isEmpty())
            Inform(run.message);
        return;
    }
    CRepositoryConnection::Instance().RememberArea(areaId);
    ShowEngineResult();
}

void CAnalyzeTermForm::ShowEngineResult(const QString& focusTarget)
{
    // Every result shown was just read from the repository connected now (or from none).
    m_resultRepository = CRepositoryConnection::Instance().Identity();
    ShowResult(TermTexts::kColumns, m_engine->Rows(), m_engine->TargetListCaption());
    MarkNonStandardWords();
    // The button column holds only its image.
    Grid()->SetColumnWidth(kColButton, 28);
    const int row = focusTarget.isEmpty() ? -1 : RowOfTarget(focusTarget);
    if (row >= 0) {
        Grid()->SetScrollToCell(row, 0);
        Grid()->SetFocusCell(row, 0);
    }
}

void CAnalyzeTermForm::MarkNonStandardWords()
{
    const std::set<QString>& forbidden = ForbiddenWordIds();
    const auto& results = m_engine->Results();
    for (int row = 0; row < Grid()->GetRowCount(); ++row) {
        if (Grid()->GetTreeLevel(row) != 2)
            continue;
        const int targetRow = TargetRowOf(row);
        const int target = Grid()->GetItemData(targetRow).toInt();
        const int index = row - targetRow - 1;
        if (target < 0 || target >= int(results.size()) || index < 0 ||
            index >= int(results[size_t(target)].words.size()))
            continue;
        const TermWordResult& w = results[size_t(target)].words[size_t(index)];
        const bool nonStandard = w.found && (!w.standard || (!w.standardId.isEmpty() && w.standardId != w.id));
        if (!nonStandard)
            continue;
        const bool isForbidden = forbidden.count(w.id) > 0;
        // a last word that is no class word keeps its warning: that is what needs doing first
        if (Grid()->GetItemImage(row, 0) == eTermImageFound)
            Grid()->SetItemImage(row, 0, isForbidden ? kImageForbidden : kImageSynonym);
        for (int col = 0; col <= 2; ++col)
            Grid()->SetItemBkColor(row, col, isForbidden ? kForbiddenColour : kSynonymColour);
        const QString tip = (isForbidden ? kForbiddenTip : kSynonymTip).arg(w.standardName);
        for (int col = 0; col <= 2; ++col)
            Grid()->SetItemToolTip(row, col, tip);
    }
}

const std::set<QString>& CAnalyzeTermForm::ForbiddenWordIds()
{
    // Read once per repository and area: the import marks a forbidden word in its description.
    const QString key = CRepositoryConnection::Instance().Identity() + u'\n' + m_engine->AreaId();
    if (key == m_forbiddenKey)
        return m_forbidden;
    ISqlExecutor* db = CRepositoryConnection::Instance().Database();
    if (!CRepositoryConnection::Instance().IsConnected() || !db)
        return m_forbidden;
    const SqlOutcome words =
        db->Execute(RepositorySql::Standard::SelectNonStandardWords, {SqlParam::Text(m_engine->AreaId())});
    if (!words.ok)
        return m_forbidden;
    const QString mark = StandardTexts::kForbiddenDescription.left(StandardTexts::kForbiddenDescription.indexOf(u' '));
    m_forbidden.clear();
    for (size_t i = 0; i < words.rows.size(); ++i)
        if (words.rows.Value(i, QStringLiteral("DIC_DESC")).startsWith(mark))
            m_forbidden.insert(words.rows.Value(i, QStringLiteral("DIC_ID")));
    m_forbiddenKey = key;
    return m_forbidden;
}

int CAnalyzeTermForm::RowOfTarget(const QString& name) const
{
    const auto& results = m_engine->Results();
    for (int row = 0; row < Grid()->GetRowCount(); ++row) {
        if (Grid()->GetTreeLevel(row) != 1)
            continue;
        const int index = Grid()->GetItemData(row).toInt();
        if (index >= 0 && index < int(results.size()) && results[size_t(index)].name == name)
            return row;
    }
    return -1;
}

QString CAnalyzeTermForm::TargetNameOfRow(int row) const
{
    const int index = Grid()->GetItemData(TargetRowOf(row)).toInt();
    const auto& results = m_engine->Results();
    return index >= 0 && index < int(results.size()) ? results[size_t(index)].name : QString();
}

void CAnalyzeTermForm::OnCellClicked(int row, int col)
{
    if (Mode() != 2 || col != kColButton || row < 0 || Grid()->GetTreeLevel(row) != 1)
        return;
    const QString name = TargetNameOfRow(row);
    if (name.isEmpty() || !RunOnRepository(TermFormText::kAnalyzeWork, [&] { return m_engine->AnalyzeSingle(name); }))
        return;
    ShowEngineResult(name);
}

void CAnalyzeTermForm::NameEdited(int row, const QString& oldText, const QString& newText)
{
    const QString name = TargetNameOfRow(row);
    QString renamed;
    if (!name.isEmpty())
        RunOnRepository(TermFormText::kAnalyzeWork, [&] {
            renamed = m_engine->RenameTarget(name, newText);
            return !renamed.isEmpty();
        });
    if (renamed.isEmpty() || !m_engine->Target(renamed)) {
        QSignalBlocker block(Grid()->Model());
        Grid()->SetItemText(row, 0, oldText);
        return;
    }
    ShowEngineResult(renamed);
}

void CAnalyzeTermForm::FilterChanged(bool excludeAnalyzed, const QString&)
{
    if (m_engine->ExcludeRegistered() == excludeAnalyzed)
        return;
    m_engine->SetExcludeRegistered(excludeAnalyzed);
    if (Mode() != 2)
        return;
    CQrProgressWnd::ShowMarquee(QString::fromUtf16(CQrProgressWnd::TitleProcess), TermTexts::kProgressFilter, this);
    RefreshHiddenRows();
    CQrProgressWnd::Hide();
}

bool CAnalyzeTermForm::IsTargetHidden(int target) const
{
    const auto& results = m_engine->Results();
    return target >= 0 && target < int(results.size()) && m_engine->IsHidden(results[size_t(target)]);
}

// --- context menu -------------------------------------------------------------------------

void CAnalyzeTermForm::ShowResultMenu(int row, const QPoint& globalPos)
{
    const int col = MenuColumn();
    const int level = Grid()->GetTreeLevel(row);
    const int image = Grid()->GetItemImage(row, col);
    const QString target = TargetNameOfRow(row);
    if (target.isEmpty())
        return;
    Grid()->SetFocusCell(row, col);

    QMenu menu(this);
    if (level == 1 && col == kColDomain && image == eTermImageAction) {
        GlobalFunc::AppendContextMenu(&menu, 1, eTermImageAction, kMenuRegisterDomain);
        GlobalFunc::AppendContextMenu(&menu, 2, eTermImageFound, kMenuSelectDomain);
    } else if (level == 1 && col == kColDomain && image == eTermImageFound &&
               Grid()->GetItemImage(row, 0) != eTermImageRegistered) {
        menu.addSeparator();
        GlobalFunc::AppendContextMenu(&menu, 2, eTermImageFound, kMenuSelectDomain);
    } else if (level == 1 && col == 0 && Grid()->GetItemImage(row, 0) == eTermImageAction) {
        GlobalFunc::AppendContextMenu(&menu, 3, eTermImageAction, kMenuRegisterTerm);
    } else if (level == 2 && col == 2 && image == eTermImageAction) {
        GlobalFunc::AppendContextMenu(&menu, 4, eTermImageAction, kMenuRegisterWord);
    } else if (level == 2 && col == kColClassWord && image == eTermImageAction) {
        GlobalFunc::AppendContextMenu(&menu, 5, eTermImageAction, kMenuRegisterClassWord);
    } else {
        return;
    }
    QAction* chosen = CQrPopupMenu::Exec(&menu, globalPos);
    if (!chosen)
        return;
    switch (chosen->data().toInt()) {
    case 1:
        RegisterDomain(target);
        break;
    case 2:
        SelectDomain(target);
        break;
    case 3:
        RegisterTerm(target);
        break;
    case 4:
        RegisterWord(row, target);
        break;
    case 5:
        RegisterClassWord(row, target);
        break;
    default:
        break;
    }
}

void CAnalyzeTermForm::RegisterWord(int row, const QString& target)
{
    _stAnalyzeManageWord word;
    word.strLogicalName = Grid()->GetItemText(row, 0);
    CStandardRegisterDlg dialog(CStandardRegisterDlg::ModeWord, m_engine->AreaId(), this);
    dialog.SetWord(word);
    if (dialog.exec() != QDialog::Accepted || !dialog.IsRegistered())
        return;
    RunOnRepository(TermFormText::kAnalyzeWork, [&] {
        m_engine->OnWordRegistered(target, dialog.Word().strLogicalName);
        return true;
    });
    ShowEngineResult(target);
}

void CAnalyzeTermForm::RegisterDomain(const QString& target)
{
    _stAnalyzeManageDomain domain;
    if (!m_engine->DomainProposal(target, domain))
        return;
    CStandardRegisterDlg dialog(CStandardRegisterDlg::ModeDomain, m_engine->AreaId(), this);
    dialog.SetDomain(domain);
    if (dialog.exec() != QDialog::Accepted || !dialog.IsRegistered())
        return;
    const _stAnalyzeManageDomain& registered = dialog.Domain();
    RunOnRepository(TermFormText::kAnalyzeWork, [&] {
        m_engine->OnDomainRegistered(
            target, registered.strKeyDomainName,
            GlobalFunc::BuildDataType(registered.strDataType, registered.strLength, registered.strScale));
        return true;
    });
    ShowEngineResult(target);
}

void CAnalyzeTermForm::RegisterTerm(const QString& target)
{
    _stAnalyzeManageTerm term;
    if (!m_engine->TermProposal(target, term))
        return;
    const TermAnalysisTarget* t = m_engine->Target(target);
    CStandardRegisterDlg dialog(CStandardRegisterDlg::ModeTerm, m_engine->AreaId(), this);
    dialog.SetTerm(term, t ? t->strDomainName : QString());
    if (dialog.exec() != QDialog::Accepted || !dialog.IsRegistered())
        return;
    const QString registered = dialog.Term().strLogicalName;
    RunOnRepository(TermFormText::kAnalyzeWork, [&] { return m_engine->OnTermRegistered(target, registered); });
    QString focus = registered;
    CAnalyzeSettings::Instance().NormalizeAttributeName(focus);
    ShowEngineResult(focus);
}

void CAnalyzeTermForm::RegisterClassWord(int row, const QString& target)
{
    const TermTargetResult* result = m_engine->Result(target);
    const int index = row - TargetRowOf(row) - 1;
    if (!result || index < 0 || index >= int(result->words.size()))
        return;
    const TermWordResult& word = result->words[size_t(index)];
    const QString physical = Grid()->GetItemText(row, 1);
    if (!GlobalFunc::UpdateStandardClassWord(m_engine->AreaId(), word.id))
        return;
    RunOnRepository(TermFormText::kAnalyzeWork, [&] {
        m_engine->OnClassWordRegistered(target, physical);
        return true;
    });
    ShowEngineResult(target);
}

void CAnalyzeTermForm::SelectDomain(const QString& target)
{
    CDomainSelectDlg dialog(m_engine->AreaId(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!RunOnRepository(TermFormText::kAnalyzeWork,
                         [&] { return m_engine->ChooseDomain(target, dialog.DomainName(), dialog.DomainId()); }))
        return;
    ShowEngineResult(target);
}

#include "standard/ui/ConformanceDlg.h"

#include "analysis/TermAnalysis.h"
#include "components/QrProgressWnd.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/ReportChart.h"
#include "components/ui/UiHooks.h"
#include "exchange/ExchangeTexts.h"
#include "reports/ui/ReportDlgUtil.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"
#include "standard/FixScriptHook.h"
#include "standard/StandardTexts.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using namespace StandardTexts;

// One figure: its caption above, the value large below.
QWidget* Figure(const QString& caption, const QString& value, QLabel** valueLabel, QWidget* parent)
{
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(caption, box));
    auto* label = new QLabel(value, box);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(label);
    if (valueLabel)
        *valueLabel = label;
    return box;
}

CConformanceDlg::SinceBuilder& SinceBuilderSlot()
{
    static CConformanceDlg::SinceBuilder builder;
    return builder;
}

} // namespace

void CConformanceDlg::SetSinceBuilder(SinceBuilder builder)
{
    SinceBuilderSlot() = std::move(builder);
}

CConformanceDlg::CConformanceDlg(ConformanceReport report, QWidget* parent)
    : QDialog(parent), m_report(std::move(report))
{
    setWindowTitle(kConformanceTitle);
    auto* layout = new QVBoxLayout(this);

    const QString area = m_report.areaName.isEmpty()
                             ? m_report.areaId
                             : QStringLiteral("%1 (%2)").arg(m_report.areaName, m_report.areaId);
    auto* areaLabel = new QLabel(QStringLiteral("표준 분류체계: %1").arg(area), this);
    layout->addWidget(areaLabel);
    if (!m_report.input.isEmpty()) {
        QString input = QStringLiteral("입력: %1").arg(m_report.input);
        if (m_report.tables > 0)
            input += QStringLiteral(" (테이블 %1개)").arg(m_report.tables);
        layout->addWidget(new QLabel(input, this));
    }

    // The same figures as `termwise check`, in its order: the columns, then where they fail.
    auto* figures = new QHBoxLayout;
    figures->addWidget(Figure(kColumns, QString::number(m_report.columns), nullptr, this));
    QWidget* named = Figure(kWithLogicalName, QString::number(m_report.withLogicalName), nullptr, this);
    named->setToolTip(kWithLogicalNameMeaning);
    figures->addWidget(named);
    figures->addWidget(Figure(kConforming, QString::number(m_report.conforming), nullptr, this));
    figures->addWidget(Figure(kRate, QString::number(m_report.Rate(), 'f', 1), &m_rate, this));
    // Columns whose comment gives no logical name are judged no further.
    QWidget* unnamed =
        Figure(kFindingNames[eFindingNoLogicalName], QString::number(m_report.columns - m_report.withLogicalName),
               &m_withoutLogicalName, this);
    unnamed->setToolTip(kFindingMeanings[eFindingNoLogicalName]);
    figures->addWidget(unnamed);
    layout->addLayout(figures);
    auto* parts = new QLabel(QStringLiteral("%1 %2 · %3 %4 · %5 %6")
                                 .arg(kLogicalConforming)
                                 .arg(m_report.logicalConforming)
                                 .arg(kPhysicalConforming)
                                 .arg(m_report.physicalConforming)
                                 .arg(kTypeConforming)
                                 .arg(m_report.typeConforming),
                             this);
    parts->setObjectName(QStringLiteral("ConformingParts"));
    layout->addWidget(parts);
    auto* meaning = new QLabel(QStringLiteral("%1: %2. %3").arg(kConforming, kConformingMeaning, kRateMeaning), this);
    meaning->setWordWrap(true);
    layout->addWidget(meaning);

    QList<int> values;
    for (int k = 0; k < eFindingCount; ++k)
        values << m_report.concerned[size_t(k)];
    // Chart and table share the height through a splitter: on a small screen neither is laid
    // over the other, and the table scrolls to its last row instead.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    m_chart = new CReportChart(kFindingsCaption, kFindingNames, values, split);
    m_chart->setMinimumHeight(kChartMinimumHeight);

    m_table = new QTableWidget(eFindingCount, 3, split);
    m_table->setHorizontalHeaderLabels({kFinding, kCount, kMeaning});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    for (int k = 0; k < eFindingCount; ++k) {
        m_table->setItem(k, 0, new QTableWidgetItem(kFindingNames[k]));
        auto* count = new QTableWidgetItem(QString::number(m_report.concerned[size_t(k)]));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(k, 1, count);
        auto* meaning = new QTableWidgetItem(kFindingMeanings[k]);
        meaning->setToolTip(kFindingMeanings[k]); // elided in a narrow dialog
        m_table->setItem(k, 2, meaning);
    }
    m_table->setToolTip(kFindingCountMeaning);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    const int row = m_table->fontMetrics().height() + 8;
    m_table->verticalHeader()->setDefaultSectionSize(row);
    const int frame = m_table->horizontalHeader()->sizeHint().height() + 2 * m_table->frameWidth();
    // At least two rows; all six when there is room.
    m_table->setMinimumHeight(frame + 2 * row);
    m_table->setMaximumHeight(frame + eFindingCount * row);
    split->addWidget(m_chart);
    split->addWidget(m_table);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({10000, frame + eFindingCount * row});

    // The columns whose verdict an older area gives otherwise: shown once one is chosen.
    auto* sinceRow = new QHBoxLayout;
    auto* sinceLabel = new QLabel(ConformanceDlgText::kSinceLabel, this);
    m_sinceAreas = new QComboBox(this);
    sinceLabel->setBuddy(m_sinceAreas);
    m_sinceAreas->setToolTip(ConformanceDlgText::kSinceTip);
    m_sinceAreas->addItem(ConformanceDlgText::kSinceNone, QString());
    StandardAreaMap areas; // name -> id
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->SelectStandardAreas(areas);
    for (const auto& [name, id] : areas)
        if (id != m_report.areaId)
            m_sinceAreas->addItem(QStringLiteral("%1 (%2)").arg(name, id), id);
    m_sinceAreas->setEnabled(false); // until SetModel gives what to judge
    m_sinceSummary = new QLabel(this);
    sinceRow->addWidget(sinceLabel);
    sinceRow->addWidget(m_sinceAreas);
    sinceRow->addWidget(m_sinceSummary, 1);
    layout->addLayout(sinceRow);
    m_sinceTable = new QTableWidget(0, kSinceHeader.size(), split);
    m_sinceTable->setHorizontalHeaderLabels(kSinceHeader);
    m_sinceTable->verticalHeader()->hide();
    m_sinceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sinceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_sinceTable->setWordWrap(false);
    split->addWidget(m_sinceTable);
    m_sinceTable->hide();
    connect(m_sinceAreas, &QComboBox::activated, this,
            [this] { CompareSince(m_sinceAreas->currentData().toString()); });
    layout->addWidget(split, 1);

    // Shown instead of the figures' use once they no longer belong to the repository.
    m_stale = new QLabel(ConformanceDlgText::kStale, this);
    m_stale->setWordWrap(true);
    m_stale->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_stale->hide();
    layout->addWidget(m_stale);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_script = new QPushButton(QStringLiteral("스크립트"), this);
    m_script->setObjectName(QStringLiteral("ScriptButton"));
    m_script->setToolTip(QStringLiteral("컬럼 이름과 설명을 표준에 맞추는 SQL을 파일로 씁니다 (실행하지 않습니다)"));
    m_script->setEnabled(false);
    m_export = new QPushButton(kExportButton, this);
    m_close = new QPushButton(kCloseButton, this);
    buttons->addWidget(m_script);
    buttons->addWidget(m_export);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_export, &QPushButton::clicked, this, &CConformanceDlg::OnExport);
    connect(m_script, &QPushButton::clicked, this, &CConformanceDlg::OnScript);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    // The window frame and title come on top of the size given here.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : QSize(960, 680);
    resize(std::min(960, room.width() - 16), std::min(680, room.height() - 40));

    m_repository = CRepositoryConnection::Instance().Identity();
    connect(&CRepositoryNotifier::Instance(), &CRepositoryNotifier::Changed, this, &CConformanceDlg::CheckRepository);
}

void CConformanceDlg::CheckRepository()
{
    // A reconnect to the same repository keeps the figures; another one (or none) does not.
    if (m_repository.isEmpty() || CRepositoryConnection::Instance().Identity() == m_repository)
        return;
    m_isStale = true;
    m_stale->show();
    m_chart->setEnabled(false);
    m_table->setEnabled(false);
    m_export->setEnabled(false);
    m_script->setEnabled(false);
    m_sinceAreas->setEnabled(false);
    m_sinceTable->setEnabled(false);
    for (QLabel* label : findChildren<QLabel*>())
        if (label != m_stale && label->parent() != m_chart)
            label->setEnabled(false);
}

void CConformanceDlg::OnExport()
{
    if (m_isStale)
        return;
    const QString path =
        CQrFileDialog::GetSaveFileName(this, QStringLiteral("Excel Files(*.xlsx)|*.xlsx|"), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    CQrProgressWnd::ShowMarquee(ExchangeTexts::kExportTitle, ExchangeTexts::kExportWrite, this);
    QString why;
    const bool written = Conformance::WriteWorkbook(m_report, path, &why);
    CQrProgressWnd::Hide();
    if (!written) {
        CQrMessageBox::Warning(this, why);
        return;
    }
    if (CQrMessageBox::Question(this, ExchangeTexts::kExported))
        CQrShell::Open(path);
}

void CConformanceDlg::SetModel(const CTermAnalysis* analysis, const ModelSource::AttributeList* model)
{
    m_analysis = analysis;
    m_model = model;
    const bool usable = analysis && model && model->Columns() > 0;
    m_script->setEnabled(usable);
    m_sinceAreas->setEnabled(analysis && SinceBuilderSlot() && m_sinceAreas->count() > 1);
    if (m_sinceAreas->count() <= 1)
        m_sinceAreas->setToolTip(ConformanceDlgText::kSinceNoArea);
    if (!usable)
        m_script->setToolTip(QStringLiteral("DDL 스크립트나 DB에서 연 모델에만 보정 스크립트를 쓸 수 있습니다"));
}

bool CConformanceDlg::WriteScript(const QString& path, ModelSource::Dialect dialect)
{
    FixScriptHook::Counts counts;
    QString why = FixScriptHook::kNoWriter;
    const FixScriptHook::Writer write = FixScriptHook::Get();
    std::vector<QStringList> plan;
    const auto planRow = [&plan](const QStringList& cells) { plan.push_back(cells); };
    if (!write || !write({path, m_analysis, m_model, dialect, &m_report, false, planRow}, counts, why)) {
        CQrMessageBox::Warning(this, QStringLiteral("스크립트를 쓸 수 없습니다: %1").arg(why));
        return false;
    }
    // "내보내기" then lists the script's changes, as the command line's report does.
    m_report.planHeader = StandardTexts::kPlanHeader;
    m_report.plan = std::move(plan);
    CQrMessageBox::Information(this, QStringLiteral("보정 스크립트를 썼습니다: 컬럼 이름 %1건, 설명 %2건, 제외 %3건, "
                                                    "데이터타입 참고 %4건")
                                         .arg(counts.renames)
                                         .arg(counts.comments)
                                         .arg(counts.leftOut)
                                         .arg(counts.typeNotes));
    return true;
}

void CConformanceDlg::OnScript()
{
    if (!m_analysis || !m_model)
        return;
    ModelSource::Dialect dialect = m_model->dialect;
    if (dialect == ModelSource::Dialect::Unknown) {
        // A script whose dialect could not be told: the user says it.
        bool ok = false;
        const QStringList names = {QStringLiteral("postgresql"), QStringLiteral("oracle"), QStringLiteral("mysql"),
                                   QStringLiteral("sqlite")};
        const QString name = QInputDialog::getItem(
            this, QStringLiteral("스크립트"), QStringLiteral("스크립트의 DBMS를 고르십시오"), names, 0, false, &ok);
        if (!ok)
            return;
        dialect = ModelSource::DialectOfName(name);
    }
    // Named after the input, never the input itself: a script read is not to be overwritten.
    const QString path = CQrFileDialog::GetSaveFileName(
        this, QStringLiteral("SQL Files(*.sql)|*.sql|"), QStringLiteral("sql"),
        CQrFileDialog::ProposePath(ReportDlgUtil::InputPathOf(this), QStringLiteral("fix.sql")));
    if (!path.isEmpty())
        WriteScript(path, dialect);
}

bool CConformanceDlg::CompareSince(const QString& oldAreaId)
{
    if (m_isStale)
        return false;
    if (oldAreaId.isEmpty()) {
        m_report.since.reset();
        ShowSince();
        return true;
    }
    const SinceBuilder& build = SinceBuilderSlot();
    if (!build || !m_analysis)
        return false;
    ConformanceReport report;
    QString why;
    if (!build(*m_analysis, m_model, oldAreaId, report, why)) {
        RepositoryUi::ReportFailure(this, kConformanceTitle, why);
        m_sinceAreas->setCurrentIndex(m_sinceAreas->findData(m_report.since ? m_report.since->oldAreaId : QString()));
        return false;
    }
    m_report.since = std::move(report.since);
    ShowSince();
    return true;
}

void CConformanceDlg::ShowSince()
{
    m_sinceTable->setRowCount(0);
    m_sinceTable->setVisible(m_report.since.has_value());
    if (!m_report.since) {
        m_sinceSummary->clear();
        return;
    }
    const ConformanceSince& since = *m_report.since;
    QStringList counts;
    for (int r = 0; r < eSinceReasonCount; ++r)
        if (since.perReason[size_t(r)] > 0)
            counts << QStringLiteral("%1 %2").arg(kSinceReasonNames[r]).arg(since.perReason[size_t(r)]);
    QString summary = ConformanceDlgText::kSinceSummary.arg(since.oldAreaId).arg(since.columns);
    if (!counts.isEmpty())
        summary += QStringLiteral(" (%1)").arg(counts.join(QStringLiteral(", ")));
    m_sinceSummary->setText(summary);
    QStringList header = kSinceHeader;
    header[6] += QStringLiteral(" (%1)").arg(since.oldAreaId);
    header[7] += QStringLiteral(" (%1)").arg(m_report.areaId);
    m_sinceTable->setHorizontalHeaderLabels(header);
    m_sinceTable->setRowCount(int(since.entries.size()));
    for (int r = 0; r < int(since.entries.size()); ++r) {
        const SinceEntry& e = since.entries[size_t(r)];
        QStringList reasons;
        for (const int reason : e.reasons)
            reasons << kSinceReasonNames.value(reason);
        const QString cells[] = {e.table,  e.column,     e.attribute, e.dataType, reasons.join(QStringLiteral(", ")),
                                 e.detail, e.oldVerdict, e.newVerdict};
        for (int c = 0; c < 8; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]); // long verdicts are elided in the cell
            m_sinceTable->setItem(r, c, item);
        }
    }
    m_sinceTable->horizontalHeader()->setMaximumSectionSize(320);
    m_sinceTable->resizeColumnsToContents();
}

bool CConformanceDlg::Show(QWidget* parent, ConformanceReport report, const CTermAnalysis& analysis,
                           const ModelSource::AttributeList* model)
{
    CConformanceDlg dlg(std::move(report), parent);
    dlg.SetModel(&analysis, model);
    dlg.exec();
    return true;
}

#include "standard/ui/StandardImportResultDlg.h"

#include "standard/ui/StandardImportTexts.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace StandardImportText;

namespace {
QTableWidget* MakeTable(const QStringList& headers, QWidget* parent)
{
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void AddRow(QTableWidget* table, const QStringList& cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}
} // namespace

CStandardImportResultDlg::CStandardImportResultDlg(const StandardImportChoice& choice,
                                                   const StandardImportOutcome& outcome, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(kResultTitle);
    setSizeGripEnabled(true);
    const StandardImportSummary& s = outcome.summary;

    m_heading = new QLabel(kResultInto.arg(outcome.source, StandardImportTarget(choice)), this);
    m_heading->setWordWrap(true);

    m_counts = MakeTable({kItem, kCount}, this);
    const auto count = [this](const QString& item, int n) { AddRow(m_counts, {item, QLocale().toString(n)}); };
    if (choice.toRepository && choice.area.replace)
        count(kClosedRows, s.closedRows);
    count(kStandardWords, s.words);
    count(kNonStandardWords, s.nonStandardWords);
    if (choice.toRepository)
        count(kDomainGroups, s.domainGroups);
    count(kDomains, s.domains);
    if (choice.toRepository) {
        count(kTerms, s.terms);
        count(kCombinations, s.combinations);
    }
    for (int r = 0; r < m_counts->rowCount(); ++r)
        m_counts->item(r, 1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A compact table: the figures sit next to their names.
    m_counts->horizontalHeader()->setStretchLastSection(false);
    m_counts->resizeColumnsToContents();
    m_counts->setColumnWidth(1, std::max(m_counts->columnWidth(1), 90));
    m_counts->setMaximumWidth(m_counts->columnWidth(0) + m_counts->columnWidth(1) + 2 * m_counts->frameWidth() + 2);
    m_counts->resizeRowsToContents();
    int height = m_counts->horizontalHeader()->sizeHint().height() + 2 * m_counts->frameWidth() + 2;
    for (int r = 0; r < m_counts->rowCount(); ++r)
        height += m_counts->rowHeight(r);
    m_counts->setFixedHeight(height);
    m_counts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // An area brought to a new edition: what happened to its rows, and what the edition changed.
    QStringList upgrade;
    if (s.upgrade)
        for (const auto& [kind, c] :
             {std::pair{kStandardWords, &s.wordChanges}, std::pair{kNonStandardWords, &s.nonStandardChanges},
              std::pair{kDomains, &s.domainChanges}, std::pair{kTerms, &s.termChanges}})
            upgrade
                << kUpgradeRow.arg(kind).arg(c->added).arg(c->changed).arg(c->withdrawn).arg(c->unchanged).arg(c->kept);
    m_upgrade = new QLabel(upgrade.isEmpty() ? QString() : kUpgradeCaption + u'\n' + upgrade.join(u'\n'), this);
    m_upgrade->setVisible(!upgrade.isEmpty());
    m_diff = MakeTable({kKind, kState, kName, kAbbreviation, kWhatChanged}, this);
    m_diffCaption = new QLabel(this);
    if (outcome.hasDiff) {
        using StandardDiff::Kind;
        const auto& d = outcome.diff;
        const auto n = [&d](Kind k, int which) {
            const StandardDiff::KindDiff& kd = d.Of(k);
            return QString::number(which == 0 ? kd.added.size() : which == 1 ? kd.withdrawn.size() : kd.changed.size());
        };
        m_diffCaption->setText(kDiffCaption.arg(n(Kind::Word, 0), n(Kind::Word, 1), n(Kind::Word, 2),
                                                n(Kind::Domain, 0), n(Kind::Domain, 1), n(Kind::Domain, 2),
                                                n(Kind::Term, 0), n(Kind::Term, 1), n(Kind::Term, 2)));
        m_diff->setUpdatesEnabled(false);
        for (const Kind k : StandardDiff::kKinds) {
            const StandardDiff::KindDiff& kd = d.Of(k);
            for (const auto& [state, entries] :
                 {std::pair{QStringLiteral("폐기"), &kd.withdrawn}, std::pair{QStringLiteral("변경"), &kd.changed},
                  std::pair{QStringLiteral("추가"), &kd.added}})
                for (const StandardDiff::Entry& e : *entries)
                    AddRow(m_diff,
                           {StandardDiff::KindCaption(k), state, e.name, e.physical, StandardDiff::Describe(e)});
        }
        m_diff->setUpdatesEnabled(true);
    }
    m_diffCaption->setVisible(outcome.hasDiff);
    m_diff->setVisible(outcome.hasDiff);

    m_problemCaption = new QLabel(
        s.problems.empty() ? kNoProblems : kProblems.arg(QLocale().toString(qlonglong(s.problems.size()))), this);
    m_problems = MakeTable({kFile, kRow, kReason}, this);
    for (const PublicStandardProblem& p : s.problems)
        AddRow(m_problems, {p.file, p.row > 0 ? QString::number(p.row) : QString(), p.reason});
    // One workbook names every row alike: keep its column narrow (the full text is a tooltip)
    // and give the reasons the room.
    m_problems->setTextElideMode(Qt::ElideMiddle);
    m_problems->setWordWrap(false);
    m_problems->resizeColumnsToContents();
    m_problems->setColumnWidth(0, std::min(m_problems->columnWidth(0), 240));
    for (int r = 0; r < m_problems->rowCount(); ++r)
        m_problems->item(r, 0)->setToolTip(m_problems->item(r, 0)->text());
    m_problems->setVisible(!s.problems.empty());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(kCloseButton, QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_counts);
    layout->addWidget(m_upgrade);
    layout->addWidget(m_diffCaption);
    layout->addWidget(m_diff, 2);
    layout->addWidget(m_problemCaption);
    layout->addWidget(m_problems, 1);
    if (s.problems.empty() && !outcome.hasDiff)
        layout->addStretch(1);
    layout->addWidget(buttons);
    QSize size = outcome.hasDiff ? QSize(900, 720) : s.problems.empty() ? QSize(480, 320) : QSize(760, 560);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

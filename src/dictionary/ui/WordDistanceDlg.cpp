#include "dictionary/ui/WordDistanceDlg.h"

#include "components/QrProgressWnd.h"
#include "components/ui/QrTreeGrid.h"
#include "dictionary/DictionaryTexts.h"
#include "dictionary/ui/ReviewDlgUtil.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

CWordDistanceDlg::CWordDistanceDlg(CAnalyzeSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings)
{
    using namespace DictionaryTexts;
    setWindowTitle(SimilarCaption);
    resize(760, 640);

    m_search = ReviewDlgUtil::MakeSearchEdit(this, SearchWordPrompt, [this] { Search(); });
    m_view = new QComboBox(this);
    m_view->addItems({SimilarViewLogical, SimilarViewPhysical});
    m_grid = new CQrTreeGrid(this);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_manage = new QPushButton(WordManageButton, this);
    m_close = new QPushButton(DictionaryTexts::CloseButton, this);

    ReviewDlgUtil::LayOut(this, SearchWordLabel, m_search, m_view, WordListGroup, m_grid, m_manage, {m_close});

    m_grid->SetColumns(m_review.Headers());
    m_grid->installEventFilter(this);
    connect(m_view, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_review.SetView(index == 1 ? SimilarWords::View::Physical : SimilarWords::View::Logical);
        RunView();
    });
    connect(m_manage, &QPushButton::clicked, this, [this] {
        if (OpenWordManageDialog(this) == QDialog::Accepted)
            RunView();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CWordDistanceDlg::SetView(SimilarWords::View view)
{
    m_view->setCurrentIndex(view == SimilarWords::View::Physical ? 1 : 0);
}

void CWordDistanceDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_runs == 0 && !m_scheduled) {
        m_scheduled = true;
        // after the dialog is on screen: the progress window then opens over it
        QTimer::singleShot(0, this, [this] {
            if (m_runs == 0)
                RunView();
        });
    }
}

bool CWordDistanceDlg::RunView()
{
    // The progress window lets events through; a run must not start inside another.
    if (m_running)
        return false;
    m_running = true;
    ++m_runs;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_grid->DeleteAllItems();
    m_grid->SetColumns(m_review.Headers());

    // The progress window belongs to this dialog: owned by the main window it would sit
    // behind this modal dialog, and its cancel could not be pressed.
    SimilarWords::Progress progress;
    progress.begin = [this](int steps) {
        CQrProgressWnd::Show(steps, DictionaryTexts::SimilarProgressTitle, DictionaryTexts::SimilarProgressText, this);
    };
    progress.canceling = [] { return CQrProgressWnd::IsCanceling(); };
    progress.step = [] { CQrProgressWnd::StepIt(); };
    progress.end = [] { CQrProgressWnd::Hide(); };
    const bool complete = m_review.Run(m_settings.m_mapWordsByPhysical, m_settings.m_mapWordsByLogical, progress);

    const QColor white = CQrTreeGrid::FromWinColor(CQrTreeGrid::ColorWhite);
    m_grid->BeginUpdate();
    for (const CSimilarWordReview::Row& r : m_review.Rows()) {
        const int row = m_grid->InsertRow(r.level, {r.name, r.partners});
        m_grid->SetReadOnlyRow(row, white);
    }
    m_grid->EndUpdate();
    m_grid->expandAll();
    SizeColumns();
    QApplication::restoreOverrideCursor();
    m_running = false;
    m_complete = complete;
    return complete;
}

void CWordDistanceDlg::SizeColumns()
{
    // column 0 at 30 % of the client width; the last column takes the rest
    m_grid->SetColumnWidth(0, std::max(60, m_grid->contentsRect().width() * 30 / 100));
    m_grid->header()->setStretchLastSection(true);
}

bool CWordDistanceDlg::eventFilter(QObject* watched, QEvent* event)
{
    // the grid's own size, not the dialog's: the layout sizes the grid after the dialog
    if (watched == m_grid && event->type() == QEvent::Resize)
        SizeColumns();
    return QDialog::eventFilter(watched, event);
}

void CWordDistanceDlg::Search()
{
    int column = -1;
    const int row = m_review.FindNext(m_search->text(), m_grid->GetCurrentRow(), &column);
    ReviewDlgUtil::ShowHit(m_grid, {row, column});
}

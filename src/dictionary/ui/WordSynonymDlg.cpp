#include "dictionary/ui/WordSynonymDlg.h"

#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "dictionary/DictionaryTexts.h"
#include "dictionary/ui/ReviewDlgUtil.h"
#include "settings/AnalyzeSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using Review = CWordSynonymReview;

CWordSynonymDlg::CWordSynonymDlg(CAnalyzeSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings)
{
    using namespace DictionaryTexts;
    setWindowTitle(SynonymCaption);
    resize(900, 640);

    m_search = ReviewDlgUtil::MakeSearchEdit(this, SearchWordPrompt, [this] { Search(); });
    m_view = new QComboBox(this);
    m_view->addItems({SynonymViewLogical, SynonymViewPhysical});
    m_grid = new CQrTreeGrid(this);
    m_grid->setRootIsDecorated(false);
    m_manage = new QPushButton(WordManageButton, this);
    m_save = new QPushButton(DictionaryTexts::SaveButton, this);
    m_close = new QPushButton(DictionaryTexts::CloseButton, this);

    ReviewDlgUtil::LayOut(this, SearchWordLabel, m_search, m_view, WordListGroup, m_grid, m_manage, {m_save, m_close});

    connect(m_view, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
    connect(m_save, &QPushButton::clicked, this, &CWordSynonymDlg::Save);
    connect(m_manage, &QPushButton::clicked, this, [this] {
        OpenWordManageDialog(this);
        Refill(); // whatever the result: the dictionary may have changed under the grid
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    Refill();
}

CWordSynonymReview::View CWordSynonymDlg::View() const
{
    return m_view->currentIndex() == 1 ? Review::View::Physical : Review::View::Logical;
}

void CWordSynonymDlg::SetView(Review::View view)
{
    m_view->setCurrentIndex(view == Review::View::Physical ? 1 : 0);
}

void CWordSynonymDlg::Refill()
{
    const Review::View view = View();
    const std::vector<Review::Row> rows = Review::BuildRows(view, m_settings);
    std::vector<int> groups;
    groups.reserve(rows.size());
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(Review::Headers(view));
    for (const Review::Row& r : rows) {
        QStringList texts;
        for (int col = 0; col < Review::ColumnCount; ++col)
            texts << Review::CellText(r, col);
        const int row = m_grid->InsertRow(1, texts);
        for (int col = 0; col < Review::ColumnCount; ++col) {
            const QColor colour = CQrTreeGrid::FromWinColor(Review::CellColour(view, r, col));
            if (Review::IsEditable(view, col)) {
                m_grid->SetEditableCell(row, col);
                m_grid->SetItemBkColor(row, col, colour);
            } else {
                m_grid->SetReadOnlyCell(row, col, colour);
            }
        }
        groups.push_back(r.group);
    }
    ReviewDlgUtil::MergeGroups(m_grid, Review::ColGroupKey, groups);
    m_grid->EndUpdate();
    m_grid->AutoSizeColumns();
    m_grid->SetColumnWidth(Review::ColLoadedName, 0);
}

void CWordSynonymDlg::Save()
{
    std::vector<Review::Row> edited;
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        if (!m_grid->GetModified(row, Review::ColName) && !m_grid->GetModified(row, Review::ColFullName) &&
            !m_grid->GetModified(row, Review::ColDefinition))
            continue;
        Review::Row r;
        r.groupKey = m_grid->GetItemText(row, Review::ColGroupKey);
        r.loadedName = m_grid->GetItemText(row, Review::ColLoadedName);
        r.name = m_grid->GetItemText(row, Review::ColName);
        r.fullName = m_grid->GetItemText(row, Review::ColFullName);
        r.definition = m_grid->GetItemText(row, Review::ColDefinition);
        edited.push_back(std::move(r));
    }
    Review::ApplyEdits(View(), edited, m_settings);
    // The edits stay in memory either way; the output pane has the reason of a failed write.
    if (m_settings.Save())
        CQrMessageBox::Information(this, DictionaryTexts::SynonymSaved);
    else
        CQrMessageBox::Warning(this, DictionaryTexts::SettingsNotSaved);
    Refill();
}

void CWordSynonymDlg::Search()
{
    const QString text = m_search->text();
    std::vector<Review::Row> rows;
    rows.reserve(size_t(m_grid->GetRowCount()));
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        Review::Row shown;
        shown.groupKey = m_grid->GetItemText(row, Review::ColGroupKey);
        shown.name = m_grid->GetItemText(row, Review::ColName);
        rows.push_back(std::move(shown));
    }
    ReviewDlgUtil::ShowHit(m_grid, Review::FindNext(rows, text, m_grid->GetCurrentRow()));
}

#include "dictionary/ui/DomainClassDlg.h"

#include "components/ui/QrTreeGrid.h"
#include "dictionary/DictionaryTexts.h"
#include "dictionary/ui/ReviewDlgUtil.h"
#include "settings/AnalyzeSettings.h"

#include <QLineEdit>
#include <QPushButton>

CDomainClassDlg::CDomainClassDlg(const CAnalyzeSettings& settings, QWidget* parent) : QDialog(parent)
{
    using namespace DictionaryTexts;
    setWindowTitle(DomainClassCaption);
    resize(860, 640);

    m_search = ReviewDlgUtil::MakeSearchEdit(this, DomainClassSearchPrompt, [this] { Search(); });
    m_grid = new CQrTreeGrid(this);
    m_grid->setRootIsDecorated(false);
    m_manage = new QPushButton(DomainManageButton, this);
    m_close = new QPushButton(DictionaryTexts::CloseButton, this);

    ReviewDlgUtil::LayOut(this, DomainSearchLabel, m_search, nullptr, DomainListGroup, m_grid, m_manage, {m_close});

    // the list stays as it was built, whatever the management dialog changed
    connect(m_manage, &QPushButton::clicked, this, [this] { OpenDomainManageDialog(this); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    Fill(settings);
}

void CDomainClassDlg::Fill(const CAnalyzeSettings& settings)
{
    m_rows = CDomainClassGroups::Build(settings.m_mapDomains);
    std::vector<int> groups;
    groups.reserve(m_rows.size());
    m_grid->BeginUpdate();
    m_grid->DeleteAllItems();
    m_grid->SetColumns(CDomainClassGroups::Headers());
    for (const CDomainClassGroups::Row& r : m_rows) {
        QStringList texts;
        for (int col = 0; col < CDomainClassGroups::ColumnCount; ++col)
            texts << CDomainClassGroups::CellText(r, col);
        const int row = m_grid->InsertRow(1, texts);
        m_grid->SetReadOnlyRow(row, CQrTreeGrid::FromWinColor(CDomainClassGroups::RowColour(r)));
        groups.push_back(r.group);
    }
    ReviewDlgUtil::MergeGroups(m_grid, CDomainClassGroups::ColClass, groups);
    m_grid->EndUpdate();
    m_grid->AutoSizeColumns();
}

void CDomainClassDlg::Search()
{
    ReviewDlgUtil::ShowHit(m_grid, CDomainClassGroups::FindNext(m_rows, m_search->text(), m_grid->GetCurrentRow()));
}

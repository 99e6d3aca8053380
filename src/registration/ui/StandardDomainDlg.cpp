#include "registration/ui/StandardDomainDlg.h"

#include "analysis/AnalyzeDomainWords.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "registration/StandardListTexts.h"
#include "registration/StandardRegistration.h"
#include "registration/ui/StandardRegisterDlg.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>

namespace T = StandardListTexts;

namespace {
enum Column { ColStatus = 0, ColKey, ColName, ColType, ColLength, ColScale, ColNote };
} // namespace

CStandardDomainDlg::CStandardDomainDlg(const DomainIndex& candidates, const QString& areaId, QWidget* parent)
    : CStandardListDlgBase(T::DomainCaption, T::DomainList, T::DomainColumns, areaId, parent),
      m_rows(StandardCheck::DomainRows(candidates))
{
    m_addWord = new QPushButton(T::AddWord, this);
    m_classWord = new QPushButton(T::MakeClassWord, this);
    m_addWord->setAutoDefault(false);
    m_classWord->setAutoDefault(false);
    ExtraButtons()->addWidget(m_addWord);
    ExtraButtons()->addWidget(m_classWord);
    connect(m_addWord, &QPushButton::clicked, this, &CStandardDomainDlg::OnAddWord);
    connect(m_classWord, &QPushButton::clicked, this, &CStandardDomainDlg::OnClassWord);
    Start();
    connect(Grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void CStandardDomainDlg::FillRows()
{
    for (const StandardDomainRow& row : m_rows)
        Grid()->InsertRow(1, {QString(), row.key, row.name, row.domain.strDataType, row.domain.strLength,
                              row.domain.strScale, QString()});
}

void CStandardDomainDlg::Check()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StandardCheck::CheckDomains(m_rows, AreaId(), CRepositoryConnection::Instance().OpenGate(),
                                CAnalyzeSettings::Instance().domain_use_words != 0);
    for (int r = 0; r < int(m_rows.size()); ++r)
        ShowStatus(r, m_rows[size_t(r)].image, ColNote, m_rows[size_t(r)].note);
    QApplication::restoreOverrideCursor();
    UpdateButtons();
}

int CStandardDomainDlg::SelectedRow() const
{
    const int row = Grid()->GetCurrentRow();
    return row >= 0 && row < int(m_rows.size()) ? row : -1;
}

void CStandardDomainDlg::UpdateButtons()
{
    const int row = SelectedRow();
    const int image = row < 0 ? -1 : m_rows[size_t(row)].image;
    m_addWord->setEnabled(image == GlobalFunc::eDomainStatusWordMissing);
    m_classWord->setEnabled(image == GlobalFunc::eDomainStatusNotClassWord);
}

void CStandardDomainDlg::OnAddWord()
{
    if (!HasArea())
        return;
    const int row = SelectedRow();
    if (row < 0) {
        CQrMessageBox::Information(this, T::SelectDomainForWord);
        return;
    }
    // The registration dialog in word mode, with the first word that was not found.
    _stAnalyzeManageWord missing;
    for (const _stAnalyzeManageWord& w : m_rows[size_t(row)].domain.vecWords) {
        if (w.strWordId.isEmpty()) {
            missing = w;
            break;
        }
    }
    CStandardRegisterDlg dlg(CStandardRegisterDlg::ModeWord, AreaId(), this);
    dlg.SetWord(missing);
    dlg.exec();
    Check();
}

void CStandardDomainDlg::OnClassWord()
{
    if (!HasArea())
        return;
    const int row = SelectedRow();
    if (row < 0) {
        CQrMessageBox::Information(this, T::SelectDomainForClass);
        return;
    }
    _stAnalyzeManageWord word;
    if (!StandardCheck::ClassWordCandidate(m_rows[size_t(row)], word))
        return;
    if (!CQrMessageBox::Question(this, CQrStringUtil::Format(T::AskClassWord, {word.strLogicalName})))
        return;
    // Straight to the table, never through the proposal page.
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->UpdateStandardClassWordFlag(AreaId(), word.strWordId);
    Check();
}

void CStandardDomainDlg::Register()
{
    DomainIndex domains = StandardCheck::RegistrableDomains(m_rows, CAnalyzeSettings::Instance().domain_use_words != 0);
    if (!GlobalFunc::InsertStandardDomain(AreaId(), domains))
        return;
    CQrMessageBox::Information(this, T::Done);
    accept();
}

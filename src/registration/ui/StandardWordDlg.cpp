#include "registration/ui/StandardWordDlg.h"

#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "registration/StandardListTexts.h"
#include "registration/StandardRegistration.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QApplication>

namespace T = StandardListTexts;

CStandardWordDlg::CStandardWordDlg(const WordIndex& candidates, const QString& areaId, QWidget* parent)
    : CStandardListDlgBase(T::WordCaption, T::WordList, T::WordColumns, areaId, parent),
      m_rows(StandardCheck::WordRows(candidates))
{
    Start();
}

void CStandardWordDlg::FillRows()
{
    for (const StandardWordRow& row : m_rows)
        Grid()->InsertRow(1, {QString(), row.logical, row.physical, QString()});
}

void CStandardWordDlg::Check()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StandardCheck::CheckWords(m_rows, AreaId(), CRepositoryConnection::Instance().OpenGate(),
                              CAnalyzeSettings::Instance().accept_synonym_words != 0);
    for (int r = 0; r < int(m_rows.size()); ++r)
        ShowStatus(r, m_rows[size_t(r)].image, 3, m_rows[size_t(r)].note);
    QApplication::restoreOverrideCursor();
}

void CStandardWordDlg::Register()
{
    WordIndex words = StandardCheck::RegistrableWords(m_rows);
    // An empty map registers nothing and says nothing; the dialog stays open.
    if (!GlobalFunc::InsertStandardWord(AreaId(), words))
        return;
    CQrMessageBox::Information(this, T::Done);
    accept();
}

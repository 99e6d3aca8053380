#pragma once
// "표준 도메인 등록": candidate domains checked against the standards of the chosen area and
// against their words; a missing word can be registered and a last word made a class word
// from here before the remaining domains are registered in one step.
#include "registration/StandardCheck.h"
#include "registration/ui/StandardListDlgBase.h"

class CStandardDomainDlg : public CStandardListDlgBase
{
    Q_OBJECT
public:
    CStandardDomainDlg(const DomainIndex& candidates, const QString& areaId = QString(), QWidget* parent = nullptr);
    const std::vector<StandardDomainRow>& Rows() const { return m_rows; }
    QPushButton* AddWordButton() const { return m_addWord; }
    QPushButton* ClassWordButton() const { return m_classWord; }

protected:
    void FillRows() override;
    void Check() override;
    void Register() override;

private:
    void UpdateButtons();
    int SelectedRow() const;
    void OnAddWord();
    void OnClassWord();

    std::vector<StandardDomainRow> m_rows;
    QPushButton* m_addWord = nullptr;
    QPushButton* m_classWord = nullptr;
};

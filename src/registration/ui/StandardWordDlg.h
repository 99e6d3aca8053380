#pragma once
// "표준 단어 등록": candidate words checked against the standards of the chosen area and the
// remaining ones registered in one step. Opened from word management and the shared data.
#include "registration/StandardCheck.h"
#include "registration/ui/StandardListDlgBase.h"

class CStandardWordDlg : public CStandardListDlgBase
{
    Q_OBJECT
public:
    // An empty area takes the first area of the list.
    CStandardWordDlg(const WordIndex& candidates, const QString& areaId = QString(), QWidget* parent = nullptr);
    const std::vector<StandardWordRow>& Rows() const { return m_rows; }

protected:
    void FillRows() override;
    void Check() override;
    void Register() override;

private:
    std::vector<StandardWordRow> m_rows;
};

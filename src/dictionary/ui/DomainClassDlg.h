#pragma once
// "분류어 검토": key domains of the dictionary that share an ending of two or more
// characters, grouped by that ending (shown once over the group's rows).
#include "dictionary/DomainClassGroups.h"

#include <QDialog>

class CAnalyzeSettings;
class CQrTreeGrid;
class QLineEdit;
class QPushButton;

class CDomainClassDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CDomainClassDlg(const CAnalyzeSettings& settings, QWidget* parent = nullptr);

    const std::vector<CDomainClassGroups::Row>& Rows() const { return m_rows; }
    void Search();

    CQrTreeGrid* Grid() const { return m_grid; }
    QLineEdit* SearchEdit() const { return m_search; }
    QPushButton* ManageButton() const { return m_manage; }
    QPushButton* CloseButton() const { return m_close; }

private:
    void Fill(const CAnalyzeSettings& settings);

    std::vector<CDomainClassGroups::Row> m_rows;
    CQrTreeGrid* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_manage = nullptr;
    QPushButton* m_close = nullptr;
};

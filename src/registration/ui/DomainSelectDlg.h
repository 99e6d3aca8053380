#pragma once
// "도메인 선택": the standard domains of one area; the user picks one for a term.
// Enter in the search box finds the next row whose key domain name or domain name contains
// the text (case ignored), wrapping to the top. "적용" takes the current row.
#include <QDialog>

class CQrTreeGrid;
class QLineEdit;
class QPushButton;

class CDomainSelectDlg : public QDialog
{
    Q_OBJECT
public:
    enum Column { ColKeyDomain = 0, ColDomain, ColDomainId, ColType, ColLength, ColScale, ColExtra };

    explicit CDomainSelectDlg(const QString& areaId, QWidget* parent = nullptr);

    // After OK: the chosen domain.
    QString DomainName() const { return m_domainName; }
    QString DomainId() const { return m_domainId; }

    CQrTreeGrid* Grid() const { return m_grid; }
    QLineEdit* SearchEdit() const { return m_search; }
    QPushButton* ApplyButton() const { return m_apply; }

private:
    void Fill();
    void Search();
    void Apply();

    QString m_areaId;
    QString m_domainName;
    QString m_domainId;
    QLineEdit* m_search = nullptr;
    CQrTreeGrid* m_grid = nullptr;
    QPushButton* m_apply = nullptr;
};

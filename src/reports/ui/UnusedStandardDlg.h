#pragma once
// The three dialogs that list the standards of one area nothing in the repository uses:
// words (mode 0) and class words (mode 1), terms, domains. One layout: the area combo box
// (nothing chosen at first), the read-only list, "닫기". Choosing an area reads its list
// anew through the repository gateway.
#include "repository/SqlBaseGate.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class CQrTreeGrid;
class QComboBox;
class QLabel;
class QPushButton;

class CUnusedStandardDlgBase : public QDialog
{
    Q_OBJECT
public:
    QComboBox* AreaCombo() const { return m_areas; }
    CQrTreeGrid* Grid() const { return m_grid; }
    QPushButton* CloseButton() const { return m_close; }
    // Shown over the list while it could not be read, with the reason.
    QLabel* ErrorLabel() const { return m_error; }
    const StandardAreaMap& Areas() const { return m_areaIds; }

    // Reads the list of the area chosen in the combo box.
    void Reload();

protected:
    CUnusedStandardDlgBase(const QString& title, const QStringList& columns, QWidget* parent);
    // Fills the combo box from the open repository. Called by the derived constructors.
    void LoadAreas();
    // The rows of one area, in the query's order; rows read before an error stay.
    virtual std::vector<QStringList> Query(CSqlBaseGate& gate, const QString& areaId) = 0;

private:
    QComboBox* m_areas = nullptr;
    CQrTreeGrid* m_grid = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_error = nullptr;
    StandardAreaMap m_areaIds;
};

class CUnusedStandardWordDlg : public CUnusedStandardDlgBase
{
    Q_OBJECT
public:
    // Mode 0: words used by no word combination; mode 1: class words used by no term.
    explicit CUnusedStandardWordDlg(int mode, QWidget* parent = nullptr);
    int Mode() const { return m_mode; }

protected:
    std::vector<QStringList> Query(CSqlBaseGate& gate, const QString& areaId) override;

private:
    int m_mode;
};

class CUnusedStandardTermDlg : public CUnusedStandardDlgBase
{
    Q_OBJECT
public:
    explicit CUnusedStandardTermDlg(QWidget* parent = nullptr);

protected:
    std::vector<QStringList> Query(CSqlBaseGate& gate, const QString& areaId) override;
};

class CUnusedStandardDomainDlg : public CUnusedStandardDlgBase
{
    Q_OBJECT
public:
    explicit CUnusedStandardDomainDlg(QWidget* parent = nullptr);

protected:
    std::vector<QStringList> Query(CSqlBaseGate& gate, const QString& areaId) override;
};

// Plugs the four "미사용" commands into the main window.
void RegisterUnusedStandardDialogs();

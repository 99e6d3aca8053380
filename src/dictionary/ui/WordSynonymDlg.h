#pragma once
// "동의어 검토": the dictionary's logical names stored with several physical names (or the
// reverse), grouped, with the group key shown once over its rows; names, full names and
// definitions are renamed in place and written back on "저장".
#include "dictionary/SynonymReview.h"

#include <QDialog>

class CAnalyzeSettings;
class CQrTreeGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

class CWordSynonymDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CWordSynonymDlg(CAnalyzeSettings& settings, QWidget* parent = nullptr);

    CWordSynonymReview::View View() const;
    void SetView(CWordSynonymReview::View view);
    void Refill();
    void Save();
    void Search();

    CQrTreeGrid* Grid() const { return m_grid; }
    QComboBox* ViewCombo() const { return m_view; }
    QLineEdit* SearchEdit() const { return m_search; }
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* ManageButton() const { return m_manage; }
    QPushButton* CloseButton() const { return m_close; }

private:
    CAnalyzeSettings& m_settings;
    CQrTreeGrid* m_grid = nullptr;
    QComboBox* m_view = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_manage = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
};

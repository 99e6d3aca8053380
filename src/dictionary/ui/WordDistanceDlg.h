#pragma once
// "유사어 검토": names of the dictionary that look alike, each with the similar names under
// it, computed under the stepped progress window (cancel keeps the groups found so far).
#include "dictionary/SimilarWordReview.h"

#include <QDialog>

class CAnalyzeSettings;
class CQrTreeGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

class CWordDistanceDlg : public QDialog
{
    Q_OBJECT
public:
    // The first view runs when the dialog is first shown, so that its progress window has a
    // window to sit over.
    explicit CWordDistanceDlg(CAnalyzeSettings& settings, QWidget* parent = nullptr);

    SimilarWords::View View() const { return m_review.View(); }
    void SetView(SimilarWords::View view);
    // Computes the current view and shows its groups; false when cancelled.
    bool RunView();
    // The last run went through every name (it was not cancelled).
    bool LastRunComplete() const { return m_complete; }
    void Search();
    const CSimilarWordReview& Review() const { return m_review; }

    CQrTreeGrid* Grid() const { return m_grid; }
    QComboBox* ViewCombo() const { return m_view; }
    QLineEdit* SearchEdit() const { return m_search; }
    QPushButton* ManageButton() const { return m_manage; }
    QPushButton* CloseButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SizeColumns();

    CAnalyzeSettings& m_settings;
    CSimilarWordReview m_review;
    CQrTreeGrid* m_grid = nullptr;
    QComboBox* m_view = nullptr;
    QLineEdit* m_search = nullptr;
    QPushButton* m_manage = nullptr;
    QPushButton* m_close = nullptr;
    int m_runs = 0;
    bool m_scheduled = false;
    bool m_running = false;
    bool m_complete = false;
};

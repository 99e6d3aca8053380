#pragma once
// "분석 공유 데이터": the analysis words, domains and exclusions shared in the repository, one
// kind at a time, with a check box per row, a search box, a bar chart of rows per author,
// delete, Excel output and the hand-over of words and domains to the standard lists.
#include "repository/RepositoryShareData.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class CQrTreeGrid;
class CReportChart;

class CRepositoryManageDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CRepositoryManageDlg(QWidget* parent = nullptr);

    void SetKind(ESharedDataKind kind);
    // Reads the chosen kind; a read that fails keeps what was shown and says why.
    void Refresh();
    // Checked rows that the search leaves shown.
    std::vector<int> CheckedRows() const;

    // Buttons (tests press them as a user would).
    void OnDelete();
    void OnOutput();
    void OnToStandard();

    CQrTreeGrid* Grid() const { return m_grid; }
    CReportChart* Chart() const { return m_chart; }
    const CRepositoryShareData& Data() const { return m_data; }

private:
    void Search(const QString& text);

    CRepositoryShareData m_data;
    bool m_loaded = false; // m_data holds a read that succeeded
    QComboBox* m_kind = nullptr;
    QLineEdit* m_search = nullptr;
    CQrTreeGrid* m_grid = nullptr;
    QVBoxLayout* m_chartBox = nullptr;
    CReportChart* m_chart = nullptr;
    QPushButton* m_toStandard = nullptr;
};

#pragma once
// "분석 현황" of the word analyses: the share of known words, the missing words by count, the
// names behind each, completing and storing them in the dictionary, excluding them, export.
#include "reports/WordReport.h"

#include <QDialog>

class CQrTreeGrid;
class CReportChart;
class QCheckBox;
class QLabel;
class QPushButton;

class CWordReportDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CWordReportDlg(WordReportInput input, QWidget* parent = nullptr);

    // Words whose own name the user changed (old word -> new text), for the rename question.
    std::vector<std::pair<QString, QString>> WordChanges() const { return m_report.WordChanges(); }
    const CWordReport& Report() const { return m_report; }

    CQrTreeGrid* WordGrid() const { return m_words; }
    CQrTreeGrid* DetailGrid() const { return m_details; }
    QCheckBox* AutoDefinitionsCheck() const { return m_auto; }
    QPushButton* StoreButton() const { return m_store; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* CloseButton() const { return m_close; }
    QLabel* WordLabel() const { return m_wordLabel; }
    QLabel* DetailLabel() const { return m_detailLabel; }
    QLabel* NoticeLabel() const { return m_notice; }
    CReportChart* Chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillWords();
    void ShowDetails(int row);
    void OnCellEdited(int row, int col, const QString& text);
    void OnContextMenu(int row, const QPoint& globalPos);
    void OnStore();
    void OnExport();

    CWordReport m_report;
    CReportChart* m_chart = nullptr;
    CQrTreeGrid* m_words = nullptr;
    CQrTreeGrid* m_details = nullptr;
    QCheckBox* m_auto = nullptr;
    QLabel* m_wordLabel = nullptr;
    QLabel* m_detailLabel = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_store = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
};

#pragma once
// "분석 현황" of the domain analysis: the share of found domains, the missing domain
// combinations by count, the attributes behind each, storing domains, excluding key domains.
#include "reports/DomainReport.h"

#include <QDialog>

class CQrTreeGrid;
class CReportChart;
class QCheckBox;
class QLabel;
class QPushButton;

class CDomainReportDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CDomainReportDlg(DomainReportInput input, QWidget* parent = nullptr);

    const CDomainReport& Report() const { return m_report; }
    CQrTreeGrid* DomainGrid() const { return m_domains; }
    CQrTreeGrid* DetailGrid() const { return m_details; }
    QCheckBox* AutoNameCheck() const { return m_autoName; }
    QPushButton* StoreButton() const { return m_store; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* CloseButton() const { return m_close; }
    QLabel* DomainLabel() const { return m_domainLabel; }
    QLabel* DetailLabel() const { return m_detailLabel; }
    QLabel* NoticeLabel() const { return m_notice; }
    CReportChart* Chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillDomains();
    void ShowDetails(int row);
    void OnCellEdited(int row, int col, const QString& text);
    void OnContextMenu(int row, const QPoint& globalPos);
    void OnStore();

    CDomainReport m_report;
    CReportChart* m_chart = nullptr;
    CQrTreeGrid* m_domains = nullptr;
    CQrTreeGrid* m_details = nullptr;
    QCheckBox* m_autoName = nullptr;
    QLabel* m_domainLabel = nullptr;
    QLabel* m_detailLabel = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_store = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
};

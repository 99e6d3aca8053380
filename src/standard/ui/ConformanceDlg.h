#pragma once
// "준수 현황": a model's conformance to its standard area, column by column: the figures,
// a bar chart of the findings, and export of the same workbook as `termwise check`.
#include "exchange/ModelSource.h"
#include "standard/ConformanceCheck.h"

#include <QDialog>

class CReportChart;
class CTermAnalysis;
class QLabel;
class QPushButton;
class QTableWidget;

class CConformanceDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CConformanceDlg(ConformanceReport report, QWidget* parent = nullptr);

    // What the term form's "준수 현황" button calls with the report of its analysis (the
    // diagnosis of its model, sheet or targets): shows it modally.
    // model: the attribute list the analysis was read from, when it came from a DDL script or a
    // database; only then does "스크립트" write a fix script.
    static bool Show(QWidget* parent, ConformanceReport report, const CTermAnalysis& analysis,
                     const ModelSource::AttributeList* model = nullptr);
    // The fix script's source; the button is enabled only with one.
    void SetModel(const CTermAnalysis* analysis, const ModelSource::AttributeList* model);
    QPushButton* ScriptButton() const { return m_script; }
    // "스크립트" after its file dialog: writes the script to path; false with the message shown.
    bool WriteScript(const QString& path, ModelSource::Dialect dialect);

    const ConformanceReport& Report() const { return m_report; }
    QLabel* RateLabel() const { return m_rate; }
    QLabel* WithoutLogicalNameLabel() const { return m_withoutLogicalName; }
    QTableWidget* FindingTable() const { return m_table; }
    CReportChart* Chart() const { return m_chart; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* CloseButton() const { return m_close; }

private:
    void OnExport();
    void OnScript();

    ConformanceReport m_report;
    QLabel* m_rate = nullptr;
    QLabel* m_withoutLogicalName = nullptr;
    QTableWidget* m_table = nullptr;
    CReportChart* m_chart = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_script = nullptr;
    const CTermAnalysis* m_analysis = nullptr;
    const ModelSource::AttributeList* m_model = nullptr;
};

#pragma once
// "준수 현황": a model's conformance to its standard area, column by column: the figures,
// a bar chart of the findings, and export of the same workbook as `termwise check`.
#include "exchange/ModelSource.h"
#include "standard/ConformanceCheck.h"

#include <QDialog>
#include <functional>

class CReportChart;
class CTermAnalysis;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace ConformanceDlgText {
// Asked by the term form when its result was analysed on another repository or area.
inline const QString kAnalyzeAgain =
    QStringLiteral("분석한 뒤 저장소나 표준 분류체계가 바뀌어 지금 결과로는 준수 현황을 낼 수 없습니다. "
                   "지금 다시 분석하시겠습니까?");
// Shown in an open dialog once the repository it was read from is gone.
inline const QString kStale = QStringLiteral("저장소가 바뀌어 이 수치는 더 이상 지금 저장소의 것이 아닙니다. "
                                             "닫고 다시 분석하십시오.");
// Comparing with an older area (the edition the model was built to).
inline const QString kSinceLabel = QStringLiteral("이전 판과 비교:");
inline const QString kSinceNone = QStringLiteral("(비교하지 않음)");
inline const QString kSinceTip =
    QStringLiteral("모델의 모든 컬럼을 고른 분류체계로도 판정해, 새 판에서 판정이 바뀌는 컬럼과 그 이유를 봅니다");
inline const QString kSinceNoArea = QStringLiteral("저장소에 비교할 다른 분류체계가 없습니다");
inline const QString kSinceSummary = QStringLiteral("%1 대비 판정이 바뀐 컬럼: %2개");
} // namespace ConformanceDlgText

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
    // The repository changed while the dialog was open: the figures are greyed and say so.
    bool IsStale() const { return m_isStale; }
    QLabel* StaleLabel() const { return m_stale; }
    static constexpr int kChartMinimumHeight = 200;

    // The report again with the columns whose verdict changes since an older area of the
    // repository. The diagnosis sits above this floor: the program hands it over at start.
    using SinceBuilder = std::function<bool(const CTermAnalysis&, const ModelSource::AttributeList*,
                                            const QString& oldAreaId, ConformanceReport&, QString&)>;
    static void SetSinceBuilder(SinceBuilder builder);
    QComboBox* SinceCombo() const { return m_sinceAreas; }
    QTableWidget* SinceTable() const { return m_sinceTable; }
    // Compares with an older area (empty: no comparison); false with the message shown.
    bool CompareSince(const QString& oldAreaId);

private:
    void OnExport();
    void OnScript();
    void CheckRepository();
    void ShowSince();

    ConformanceReport m_report;
    QLabel* m_rate = nullptr;
    QLabel* m_withoutLogicalName = nullptr;
    QTableWidget* m_table = nullptr;
    CReportChart* m_chart = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_script = nullptr;
    QLabel* m_stale = nullptr;
    QComboBox* m_sinceAreas = nullptr;
    QLabel* m_sinceSummary = nullptr;
    QTableWidget* m_sinceTable = nullptr;
    QString m_repository; // the identity of the repository the figures were read from
    bool m_isStale = false;
    const CTermAnalysis* m_analysis = nullptr;
    const ModelSource::AttributeList* m_model = nullptr;
};

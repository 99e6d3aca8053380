#include "reports/ui/ReportChart.h"

#include <QLabel>
#include <QVBoxLayout>

#ifdef TERMWISE_HAVE_CHARTS
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>
#endif

CReportChart::CReportChart(const QString& series, const QStringList& labels, const QList<int>& values, QWidget* parent)
    : QWidget(parent), m_labels(labels), m_values(values)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef TERMWISE_HAVE_CHARTS
    auto* set = new QBarSet(series);
    int top = 1;
    for (int value : values) {
        *set << value;
        top = std::max(top, value);
    }
    set->setColor(QColor(0x2f, 0x6f, 0xd0));
    set->setLabelColor(Qt::black);
    auto* bars = new QBarSeries;
    bars->append(set);
    bars->setLabelsVisible(true);
    bars->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    auto* chart = new QChart;
    chart->addSeries(bars);
    auto* axisX = new QBarCategoryAxis;
    axisX->append(labels);
    chart->addAxis(axisX, Qt::AlignBottom);
    bars->attachAxis(axisX);
    auto* axisY = new QValueAxis;
    axisY->setRange(0, top + top / 5 + 1);
    // Whole-number ticks: with "%d" labels a tick at 1.25 would read "1".
    axisY->applyNiceNumbers();
    axisY->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(axisY, Qt::AlignLeft);
    bars->attachAxis(axisY);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    auto* view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(170);
    layout->addWidget(view);
#else
    QStringList parts;
    for (int i = 0; i < labels.size(); ++i)
        parts.append(QStringLiteral("%1: %2").arg(labels[i]).arg(values.value(i)));
    layout->addWidget(new QLabel(series + QStringLiteral(" — ") + parts.join(QStringLiteral(", ")), this));
#endif
}

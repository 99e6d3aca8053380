#include "components/ui/ReportChart.h"

#include <QCursor>
#include <QLabel>
#include <QLocale>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#ifdef TERMWISE_HAVE_CHARTS
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>
#endif

int CReportChart::NiceStep(int top)
{
    // about five ticks, each 1, 2 or 5 times a power of ten
    const double raw = std::max(1.0, double(top) / 5.0);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double residual = raw / magnitude;
    const double factor = residual <= 1.0 ? 1.0 : residual <= 2.0 ? 2.0 : residual <= 5.0 ? 5.0 : 10.0;
    return std::max(1, int(factor * magnitude));
}

QString CReportChart::AxisLabel(const QString& label, int value)
{
    return QStringLiteral("%1 (%2)").arg(label, QLocale(QLocale::Korean).toString(value));
}

QString CReportChart::WrappedLabel(const QString& label, int value)
{
    // names of two or three words get one word per line, as a category axis does not wrap: nine
    // kinds side by side in a small window leave each label a few characters
    QStringList lines = label.split(u' ', Qt::SkipEmptyParts);
    if (lines.size() > 3)
        lines = {label};
    lines.append(QStringLiteral("(%1)").arg(QLocale(QLocale::Korean).toString(value)));
    // the axis draws its labels as rich text: a line break is <br>
    for (QString& line : lines)
        line = line.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

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
    bars->setLabelsFormat(QStringLiteral("@value"));
    bars->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    auto* chart = new QChart;
    chart->addSeries(bars);
    // Each category names its value too, so a bar too short to see is still read; the value
    // goes on a line of its own and a long name breaks at its blanks, so that narrow bars
    // keep their whole label. The bar's tooltip says it all in one line.
    auto* axisX = new QBarCategoryAxis;
    for (int i = 0; i < labels.size(); ++i)
        axisX->append(WrappedLabel(labels[i], values.value(i)));
    connect(bars, &QBarSeries::hovered, this, [this](bool status, int index, QBarSet*) {
        if (status && index >= 0 && index < m_labels.size())
            QToolTip::showText(QCursor::pos(), AxisLabel(m_labels[index], m_values.value(index)), this);
        else
            QToolTip::hideText();
    });
    chart->addAxis(axisX, Qt::AlignBottom);
    bars->attachAxis(axisX);
    // Round ticks from 0, with room above the tallest bar for its label.
    const int step = NiceStep(top);
    auto* axisY = new QValueAxis;
    axisY->setTickType(QValueAxis::TicksDynamic);
    axisY->setTickAnchor(0);
    axisY->setTickInterval(step);
    axisY->setRange(0, (top + top / 8) / step * step + step);
    axisY->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(axisY, Qt::AlignLeft);
    bars->attachAxis(axisY);
    chart->legend()->setVisible(true);
    // above the bars: beside them it would take the width the labels need
    chart->legend()->setAlignment(Qt::AlignTop);
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

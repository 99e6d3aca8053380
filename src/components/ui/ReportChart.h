#pragma once
// The reports' bar chart: one named series of labelled values.
#include <QString>
#include <QStringList>
#include <QWidget>

class CReportChart : public QWidget
{
    Q_OBJECT
public:
    CReportChart(const QString& series, const QStringList& labels, const QList<int>& values, QWidget* parent = nullptr);
    const QList<int>& Values() const { return m_values; }
    const QStringList& Labels() const { return m_labels; }
    // The value axis' tick interval for values up to top: 1, 2 or 5 times a power of ten.
    static int NiceStep(int top);
    // A category as drawn under its bar: the label with its value.
    static QString AxisLabel(const QString& label, int value);
    // The same over lines for the axis (rich text): a name of two words on two lines, the value
    // below.
    static QString WrappedLabel(const QString& label, int value);

private:
    QStringList m_labels;
    QList<int> m_values;
};

#pragma once
// What an import loaded, and the rows it did not take (or took with a gap) with the reasons
// the import reports: file, row, reason.
#include "standard/ui/StandardImportRun.h"

#include <QDialog>

class QLabel;
class QTableWidget;

class CStandardImportResultDlg : public QDialog
{
    Q_OBJECT
public:
    CStandardImportResultDlg(const StandardImportChoice& choice, const StandardImportOutcome& outcome,
                             QWidget* parent = nullptr);

    QLabel* Heading() const { return m_heading; }
    QTableWidget* Counts() const { return m_counts; }
    QLabel* ProblemCaption() const { return m_problemCaption; }
    QTableWidget* Problems() const { return m_problems; }

private:
    QLabel* m_heading = nullptr;
    QTableWidget* m_counts = nullptr;
    QLabel* m_problemCaption = nullptr;
    QTableWidget* m_problems = nullptr;
};

#pragma once
// What an import loaded, and the rows it did not take (or took with a gap) with the reasons
// the import reports: file, row, reason. An area brought to a new edition also shows what
// happened to its rows and what the new edition added, withdrew and changed.
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
    // An area brought to a new edition: its rows' fate and the edition's differences.
    QLabel* Upgrade() const { return m_upgrade; }
    QTableWidget* Diff() const { return m_diff; }

private:
    QLabel* m_heading = nullptr;
    QTableWidget* m_counts = nullptr;
    QLabel* m_problemCaption = nullptr;
    QTableWidget* m_problems = nullptr;
    QLabel* m_upgrade = nullptr;
    QLabel* m_diffCaption = nullptr;
    QTableWidget* m_diff = nullptr;
};

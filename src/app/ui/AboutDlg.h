#pragma once
#include <QDialog>

// "Termwise 정보": the program icon, name and version, and "확인".
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

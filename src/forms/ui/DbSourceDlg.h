#pragma once
// "DB에서 열기": a saved connection profile (any DBMS of the connection dialog), its password,
// the schemas and a table filter; the form then reads the model from the catalog.
#include "repository/ConnectionProfile.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class CConnectionProfileStore;

class CDbSourceDlg : public QDialog
{
    Q_OBJECT
public:
    CDbSourceDlg(CConnectionProfileStore& profiles, QWidget* parent = nullptr);

    // What the user chose; valid after the dialog was accepted.
    RepositoryUri Uri() const;
    QStringList Schemas() const;
    QString Tables() const;
    QString ProfileName() const;

    QComboBox* ProfileCombo() const { return m_profile; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QLineEdit* SchemaEdit() const { return m_schema; }
    QLineEdit* TablesEdit() const { return m_tables; }
    QPushButton* OpenButton() const { return m_open; }

private:
    void ShowProfile(int index);
    void OnOpen();

    CConnectionProfileStore& m_store;
    std::vector<ConnectionProfile> m_profiles;
    QComboBox* m_profile = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_schema = nullptr;
    QLineEdit* m_tables = nullptr;
    QPushButton* m_open = nullptr;
};

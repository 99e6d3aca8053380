#pragma once
// The connection dialog: saved profiles on the left, the chosen one's settings on the right,
// a test button and connect/cancel. Connecting saves the profile (its password only in the
// keychain, when it keeps one) and opens "AR" through the connector.
#include "repository/ConnectionProfile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class CQrDbConnector;

class CDbConnectDlg : public QDialog
{
    Q_OBJECT
public:
    CDbConnectDlg(CQrDbConnector& connector, const QString& profileName, int firstDbmsType, QWidget* parent = nullptr);

    // The settings shown, as a profile.
    ConnectionProfile CurrentProfile() const;
    void SelectProfile(const QString& name);

    // Buttons (tests press them as a user would).
    void OnConnect();
    void OnTest();
    // Tests the profile and saves it without connecting (a model database's way in).
    void OnSave();
    bool TestOpen(const ConnectionProfile& profile);
    void OnNewProfile();
    void OnDeleteProfile();

private:
    void Reload(const QString& select);
    void ShowProfile(const ConnectionProfile& profile);
    void UpdateRows();
    bool Validate(const ConnectionProfile& profile);
    void OnBrowse();

    CQrDbConnector& m_connector;
    int m_firstDbmsType;
    std::vector<ConnectionProfile> m_profiles;
    QListWidget* m_list = nullptr;
    QFormLayout* m_form = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_dbms = nullptr;
    QWidget* m_fileRow = nullptr;
    QLineEdit* m_file = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_dbUser = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_arUser = nullptr;
    QCheckBox* m_savePassword = nullptr;
    QCheckBox* m_model = nullptr;
    QPushButton* m_connectButton = nullptr;
};

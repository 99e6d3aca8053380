#include "repository/ui/DbConnectDlg.h"

#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrStringUtil.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/UiHooks.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>

using namespace ConnectText;

namespace {
const QString kTestConnection = QStringLiteral("termwise:repository:test");

QString Fmt(const QString& format, const QString& arg)
{
    return CQrStringUtil::Format(format, {arg});
}
} // namespace

// The connector's dialog. Defined here, beside the widgets, so the core stays free of them.
int CQrDbConnector::Show(int, int, const QString& profileName, int dbmsType)
{
    CDbConnectDlg dlg(*this, profileName, dbmsType, QApplication::activeWindow());
    return dlg.exec() == QDialog::Accepted ? 1 : 0;
}

CDbConnectDlg::CDbConnectDlg(CQrDbConnector& connector, const QString& profileName, int firstDbmsType, QWidget* parent)
    : QDialog(parent), m_connector(connector), m_firstDbmsType(firstDbmsType)
{
    setObjectName(QStringLiteral("DbConnectDlg"));
    setWindowTitle(DialogTitle);

    auto* profiles = new QGroupBox(ProfileGroup, this);
    auto* left = new QVBoxLayout(profiles);
    m_list = new QListWidget(profiles);
    m_list->setObjectName(QStringLiteral("ProfileList"));
    left->addWidget(m_list);
    auto* listButtons = new QHBoxLayout;
    auto* add = new QPushButton(NewProfile, profiles);
    auto* remove = new QPushButton(DeleteProfile, profiles);
    add->setObjectName(QStringLiteral("NewProfileButton"));
    remove->setObjectName(QStringLiteral("DeleteProfileButton"));
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    left->addLayout(listButtons);

    auto* details = new QGroupBox(DetailGroup, this);
    m_form = new QFormLayout(details);
    m_name = new QLineEdit(details);
    m_dbms = new QComboBox(details);
    m_dbms->addItem(SqliteFile, int(GlobalEnum::DBMS_SQLITE));
    m_dbms->addItem(PostgreSql, int(GlobalEnum::DBMS_POSTGRESQL));
    m_dbms->addItem(Oracle, int(GlobalEnum::DBMS_ORACLE));
    // for "DB에서 열기" only: a model's database, not a repository
    m_dbms->addItem(QStringLiteral("MySQL/MariaDB"), int(GlobalEnum::DBMS_MYSQL));
    m_fileRow = new QWidget(details);
    auto* fileLayout = new QHBoxLayout(m_fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    m_file = new QLineEdit(m_fileRow);
    auto* browse = new QPushButton(Browse, m_fileRow);
    fileLayout->addWidget(m_file, 1);
    fileLayout->addWidget(browse);
    m_host = new QLineEdit(details);
    m_port = new QSpinBox(details);
    m_port->setRange(0, 65535);
    m_port->setSpecialValueText(ConnectText::DefaultPort);
    m_database = new QLineEdit(details);
    m_dbUser = new QLineEdit(details);
    m_password = new QLineEdit(details);
    m_password->setEchoMode(QLineEdit::Password);
    m_arUser = new QLineEdit(details);
    m_arUser->setPlaceholderText(ArUserHint);
    m_savePassword = new QCheckBox(SavePassword, details);
    m_model = new QCheckBox(ConnectText::ModelDb, details);
    m_model->setObjectName(QStringLiteral("ModelDb"));
    const std::pair<QWidget*, const char*> names[] = {
        {m_name, "ProfileName"}, {m_dbms, "Dbms"},
        {m_file, "SqliteFile"},  {m_host, "Host"},
        {m_port, "Port"},        {m_database, "Database"},
        {m_dbUser, "DbUser"},    {m_password, "Password"},
        {m_arUser, "ArUser"},    {m_savePassword, "SavePassword"},
    };
    for (const auto& [w, name] : names)
        w->setObjectName(QString::fromLatin1(name));
    m_form->addRow(ConnectText::ProfileName, m_name);
    m_form->addRow(Dbms, m_dbms);
    m_form->addRow(File, m_fileRow);
    m_form->addRow(Host, m_host);
    m_form->addRow(ConnectText::Port, m_port);
    m_form->addRow(ConnectText::Database, m_database);
    m_form->addRow(ConnectText::DbUser, m_dbUser);
    m_form->addRow(ConnectText::Password, m_password);
    m_form->addRow(ConnectText::ArUser, m_arUser);
    m_form->addRow(QString(), m_savePassword);
    m_form->addRow(QString(), m_model);

    QString why;
    if (!connector.Profiles().KeychainAvailable(&why)) {
        m_savePassword->setEnabled(false);
        m_savePassword->setToolTip(Fmt(NoKeychain, why));
    }

    auto* buttons = new QDialogButtonBox(this);
    auto* test = buttons->addButton(Test, QDialogButtonBox::ActionRole);
    auto* save = buttons->addButton(ConnectText::SaveProfile, QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SaveButton"));
    auto* connectButton = buttons->addButton(ConnectText::Connect, QDialogButtonBox::AcceptRole);
    m_connectButton = connectButton;
    auto* cancel = buttons->addButton(ConnectText::Cancel, QDialogButtonBox::RejectRole);
    test->setObjectName(QStringLiteral("TestButton"));
    connectButton->setObjectName(QStringLiteral("ConnectButton"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connectButton->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(profiles, 2);
    top->addWidget(details, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(m_profiles.size()))
            ShowProfile(m_profiles[size_t(row)]);
    });
    connect(m_list, &QListWidget::itemActivated, this, [this] { OnConnect(); }); // double click or Enter
    connect(m_dbms, &QComboBox::currentIndexChanged, this, &CDbConnectDlg::UpdateRows);
    connect(browse, &QPushButton::clicked, this, &CDbConnectDlg::OnBrowse);
    connect(add, &QPushButton::clicked, this, &CDbConnectDlg::OnNewProfile);
    connect(remove, &QPushButton::clicked, this, &CDbConnectDlg::OnDeleteProfile);
    connect(test, &QPushButton::clicked, this, &CDbConnectDlg::OnTest);
    connect(save, &QPushButton::clicked, this, &CDbConnectDlg::OnSave);
    connect(m_model, &QCheckBox::toggled, this, &CDbConnectDlg::UpdateRows);
    // the connect button must not close the dialog by itself: a failed connect keeps it open
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(connectButton, &QPushButton::clicked, this, &CDbConnectDlg::OnConnect);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    Reload(profileName.isEmpty() ? connector.Profiles().LastUsed() : profileName);
    resize(720, 420);
}

void CDbConnectDlg::Reload(const QString& select)
{
    m_profiles = m_connector.Profiles().Profiles();
    const QSignalBlocker block(m_list);
    m_list->clear();
    int row = -1;
    for (size_t i = 0; i < m_profiles.size(); ++i) {
        m_list->addItem(m_profiles[i].model ? ConnectText::ModelDbMark.arg(m_profiles[i].name) : m_profiles[i].name);
        if (m_profiles[i].name == select)
            row = int(i);
    }
    if (row < 0 && !m_profiles.empty())
        row = 0;
    if (row >= 0) {
        m_list->setCurrentRow(row);
        ShowProfile(m_profiles[size_t(row)]);
    } else {
        ConnectionProfile fresh;
        fresh.dbType = m_firstDbmsType == GlobalEnum::DBMS_ORACLE_OLD ? GlobalEnum::DBMS_ORACLE : m_firstDbmsType;
        ShowProfile(fresh);
    }
}

void CDbConnectDlg::SelectProfile(const QString& name)
{
    for (size_t i = 0; i < m_profiles.size(); ++i)
        if (m_profiles[i].name == name)
            m_list->setCurrentRow(int(i));
}

void CDbConnectDlg::ShowProfile(const ConnectionProfile& profile)
{
    m_name->setText(profile.name);
    const int index =
        m_dbms->findData(profile.dbType == GlobalEnum::DBMS_ORACLE_OLD ? int(GlobalEnum::DBMS_ORACLE) : profile.dbType);
    m_dbms->setCurrentIndex(index < 0 ? 0 : index);
    m_file->setText(profile.path);
    m_host->setText(profile.host);
    m_port->setValue(profile.port);
    m_database->setText(profile.database);
    m_dbUser->setText(profile.dbUser);
    m_arUser->setText(profile.arUser);
    m_savePassword->setChecked(profile.savePassword && m_savePassword->isEnabled());
    m_model->setChecked(profile.model);
    m_password->setText(profile.name.isEmpty() ? QString()
                                               : m_connector.Profiles().Password(profile).value_or(QString()));
    UpdateRows();
}

void CDbConnectDlg::UpdateRows()
{
    const int type = m_dbms->currentData().toInt();
    const bool sqlite = type == GlobalEnum::DBMS_SQLITE;
    m_form->setRowVisible(m_fileRow, sqlite);
    for (QWidget* w :
         {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_port), static_cast<QWidget*>(m_database),
          static_cast<QWidget*>(m_dbUser), static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_savePassword)})
        m_form->setRowVisible(w, !sqlite);
    if (auto* label = qobject_cast<QLabel*>(m_form->labelForField(m_database)))
        label->setText(type == GlobalEnum::DBMS_ORACLE ? OracleService : ConnectText::Database);
    // MySQL/MariaDB holds no repository here: its profiles are model databases
    const bool mysql = type == GlobalEnum::DBMS_MYSQL;
    if (mysql && !m_model->isChecked()) {
        const QSignalBlocker block(m_model);
        m_model->setChecked(true);
    }
    m_model->setEnabled(!mysql);
    if (m_connectButton) {
        m_connectButton->setEnabled(!m_model->isChecked());
        m_connectButton->setToolTip(m_model->isChecked() ? ConnectText::ModelNotRepository : QString());
    }
}

ConnectionProfile CDbConnectDlg::CurrentProfile() const
{
    ConnectionProfile p;
    p.name = m_name->text().trimmed();
    p.dbType = m_dbms->currentData().toInt();
    if (p.dbType == GlobalEnum::DBMS_SQLITE) {
        p.path = m_file->text().trimmed();
    } else {
        p.host = m_host->text().trimmed();
        p.port = m_port->value();
        p.database = m_database->text().trimmed();
        p.dbUser = m_dbUser->text().trimmed();
        p.savePassword = m_savePassword->isEnabled() && m_savePassword->isChecked();
    }
    p.arUser = m_arUser->text().trimmed();
    p.model = m_model->isChecked();
    if (p.name.isEmpty()) // a name the user would have typed
        p.name = p.dbType == GlobalEnum::DBMS_SQLITE ? QFileInfo(p.path).fileName()
                                                     : QStringLiteral("%1@%2").arg(p.database, p.host);
    return p;
}

bool CDbConnectDlg::Validate(const ConnectionProfile& profile)
{
    if (profile.dbType == GlobalEnum::DBMS_SQLITE && profile.path.isEmpty()) {
        CQrMessageBox::Warning(this, NeedFile);
        return false;
    }
    const bool oracleTns = profile.dbType == GlobalEnum::DBMS_ORACLE && profile.host.isEmpty();
    if (profile.dbType != GlobalEnum::DBMS_SQLITE &&
        ((profile.host.isEmpty() && !oracleTns) || profile.database.isEmpty() || profile.dbUser.isEmpty())) {
        CQrMessageBox::Warning(this, NeedServer);
        return false;
    }
    if (profile.name.isEmpty() || profile.name == QLatin1String("@")) {
        CQrMessageBox::Warning(this, NeedName);
        return false;
    }
    return true;
}

void CDbConnectDlg::OnConnect()
{
    const ConnectionProfile profile = CurrentProfile();
    if (profile.model) {
        CQrMessageBox::Information(this, ConnectText::ModelNotRepository);
        return;
    }
    if (!Validate(profile))
        return;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_connector.Connect(profile, m_password->text(), &error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        CQrMessageBox::Warning(this, Fmt(ConnectFailed, error));
        return;
    }
    // saved once it works, so a mistyped profile does not pile up
    QString warning;
    m_connector.Profiles().Save(profile, m_password->text(), &warning);
    if (!warning.isEmpty() && profile.savePassword)
        OutputLog::Post(Fmt(PasswordNotKept, warning));
    m_connector.Profiles().SetLastUsed(profile.name);
    accept();
}

bool CDbConnectDlg::TestOpen(const ConnectionProfile& profile)
{
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = OpenRepositoryDatabase(profile.ToUri(m_password->text()), kTestConnection, false, &error);
    QSqlDatabase::removeDatabase(kTestConnection);
    QApplication::restoreOverrideCursor();
    if (!ok)
        CQrMessageBox::Warning(this, Fmt(ConnectFailed, error));
    return ok;
}

void CDbConnectDlg::OnTest()
{
    const ConnectionProfile profile = CurrentProfile();
    if (Validate(profile) && TestOpen(profile))
        CQrMessageBox::Information(this, TestSucceeded);
}

void CDbConnectDlg::OnSave()
{
    const ConnectionProfile profile = CurrentProfile();
    if (!Validate(profile) || !TestOpen(profile))
        return;
    QString warning;
    m_connector.Profiles().Save(profile, m_password->text(), &warning);
    if (!warning.isEmpty() && profile.savePassword)
        OutputLog::Post(Fmt(PasswordNotKept, warning));
    Reload(profile.name);
    CQrMessageBox::Information(this, ConnectText::ProfileSaved.arg(profile.name));
}

void CDbConnectDlg::OnNewProfile()
{
    const QSignalBlocker block(m_list);
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    ConnectionProfile fresh;
    fresh.dbType = m_dbms->currentData().toInt();
    ShowProfile(fresh);
    m_name->setFocus();
}

void CDbConnectDlg::OnDeleteProfile()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= int(m_profiles.size()))
        return;
    const QString name = m_profiles[size_t(row)].name;
    if (!CQrMessageBox::Question(this, Fmt(AskDelete, name)))
        return;
    m_connector.Profiles().Remove(name);
    Reload(QString());
}

void CDbConnectDlg::OnBrowse()
{
    const QString path = CQrFileDialog::GetOpenFileName(this, FileFilter);
    if (path.isEmpty())
        return;
    m_file->setText(path);
    if (m_name->text().trimmed().isEmpty())
        m_name->setText(QFileInfo(path).fileName());
}

#include "forms/ui/DbSourceDlg.h"

#include "components/QrDatatype.h"
#include "components/ui/QrMessageBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString DbmsName(int dbType)
{
    return CQrEnumString::GetInstance().GetString(QStringLiteral("_eDBMSType"), dbType);
}
} // namespace

CDbSourceDlg::CDbSourceDlg(CConnectionProfileStore& profiles, QWidget* parent) : QDialog(parent), m_store(profiles)
{
    setObjectName(QStringLiteral("DbSourceDlg"));
    setWindowTitle(QStringLiteral("DB에서 열기"));
    m_profiles = profiles.Profiles();
    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("Profile"));
    for (const ConnectionProfile& p : m_profiles)
        // the database read is what tells two profiles of one server apart
        m_profile->addItem(QStringLiteral("%1  (%2, %3)")
                               .arg(p.name, DbmsName(p.dbType),
                                    p.dbType == 13 ? p.DataSource() : p.DataSource() + u'/' + p.DatabaseName()));
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_schema = new QLineEdit(this);
    m_schema->setPlaceholderText(QStringLiteral("비우면 연결의 현재 스키마"));
    m_schema->setToolTip(QStringLiteral("여러 스키마는 쉼표로 나눕니다"));
    m_tables = new QLineEdit(this);
    m_tables->setPlaceholderText(QStringLiteral("% (모든 테이블)"));
    m_tables->setToolTip(QStringLiteral("SQL LIKE 형식: TB_% 는 TB_로 시작하는 테이블"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("연결 프로필"), m_profile);
    form->addRow(QStringLiteral("비밀번호"), m_password);
    form->addRow(QStringLiteral("스키마"), m_schema);
    form->addRow(QStringLiteral("테이블"), m_tables);
    auto* hint = new QLabel(m_profiles.empty()
                                ? QStringLiteral("저장된 연결 프로필이 없습니다. \"A/R 연결\"의 연결 대화상자에서 "
                                                 "프로필을 만드십시오.")
                                : QStringLiteral("카탈로그만 읽기 전용으로 읽습니다. 테이블의 데이터는 읽지 않습니다."),
                            this);
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("열기"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("OpenButton"));
    m_open->setDefault(true);
    m_open->setEnabled(!m_profiles.empty());
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(m_open, &QPushButton::clicked, this, &CDbSourceDlg::OnOpen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_profile, &QComboBox::currentIndexChanged, this, &CDbSourceDlg::ShowProfile);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    const QString last = profiles.LastUsed();
    int current = 0;
    for (size_t i = 0; i < m_profiles.size(); ++i)
        if (m_profiles[i].name == last)
            current = int(i);
    m_profile->setCurrentIndex(current);
    ShowProfile(current);
    resize(520, sizeHint().height());
}

void CDbSourceDlg::ShowProfile(int index)
{
    if (index < 0 || index >= int(m_profiles.size()))
        return;
    const ConnectionProfile& p = m_profiles[size_t(index)];
    const bool server = p.dbType != GlobalEnum::DBMS_SQLITE;
    m_password->setEnabled(server);
    m_password->setText(server ? m_store.Password(p).value_or(QString()) : QString());
    m_schema->setEnabled(server);
}

void CDbSourceDlg::OnOpen()
{
    if (m_profile->currentIndex() < 0) {
        CQrMessageBox::Warning(this, QStringLiteral("연결 프로필을 고르십시오"));
        return;
    }
    accept();
}

RepositoryUri CDbSourceDlg::Uri() const
{
    const int index = m_profile->currentIndex();
    if (index < 0 || index >= int(m_profiles.size()))
        return {};
    return m_profiles[size_t(index)].ToUri(m_password->text());
}

QStringList CDbSourceDlg::Schemas() const
{
    QStringList schemas;
    for (const QString& s : m_schema->text().split(u',', Qt::SkipEmptyParts))
        if (!s.trimmed().isEmpty())
            schemas << s.trimmed();
    return schemas;
}

QString CDbSourceDlg::Tables() const
{
    return m_tables->text().trimmed();
}

QString CDbSourceDlg::ProfileName() const
{
    const int index = m_profile->currentIndex();
    return index >= 0 && index < int(m_profiles.size()) ? m_profiles[size_t(index)].name : QString();
}

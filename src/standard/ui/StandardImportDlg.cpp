#include "standard/ui/StandardImportDlg.h"

#include "components/ui/QrMessageBox.h"
#include "repository/RepositoryConnection.h"
#include "repository/SqlBaseGate.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/ui/StandardImportResultDlg.h"
#include "standard/ui/StandardImportTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

using namespace StandardImportText;

namespace {
constexpr int kAreaIdLimit = 100; // STD_AREA_ID
}

CStandardImportDlg::CStandardImportDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kDialogTitle);
    const bool haveBuiltin = !BuiltinStandard::Path().isEmpty();
    const bool connected = CRepositoryConnection::Instance().OpenGate() != nullptr;

    auto* source = new QGroupBox(kSourceGroup, this);
    for (const BuiltinStandard::Edition& e : BuiltinStandard::Editions()) {
        auto* radio = new QRadioButton(kSourceBuiltin.arg(e.name), source);
        const bool installed = !BuiltinStandard::Path(e).isEmpty();
        radio->setEnabled(installed);
        if (!installed)
            radio->setToolTip(kBuiltinMissing);
        m_builtins.push_back(radio);
    }
    m_filesRadio = new QRadioButton(kSourceFiles, source);
    m_files = new QLineEdit(source);
    m_files->setReadOnly(true);
    m_browse = new QPushButton(kBrowse, source);
    auto* newer = new QLabel(kNewerEditions, source);
    newer->setWordWrap(true);
    newer->setEnabled(false); // a hint, greyed
    auto* fileRow = new QHBoxLayout;
    fileRow->setContentsMargins(24, 0, 0, 0);
    fileRow->addWidget(m_files, 1);
    fileRow->addWidget(m_browse);
    auto* sourceLayout = new QVBoxLayout(source);
    sourceLayout->addWidget(m_builtins.front());
    if (!haveBuiltin)
        sourceLayout->addWidget(new QLabel(QStringLiteral("    ") + kBuiltinMissing, source));
    for (size_t i = 1; i < m_builtins.size(); ++i)
        sourceLayout->addWidget(m_builtins[i]);
    sourceLayout->addWidget(m_filesRadio);
    sourceLayout->addLayout(fileRow);
    sourceLayout->addWidget(newer);
    auto* sources = new QButtonGroup(this);
    for (QRadioButton* r : m_builtins)
        sources->addButton(r);
    sources->addButton(m_filesRadio);
    (haveBuiltin ? m_builtins.front() : m_filesRadio)->setChecked(true);

    auto* target = new QGroupBox(kTargetGroup, this);
    m_dictionary = new QRadioButton(kTargetDictionary, target);
    m_repository = new QRadioButton(kTargetRepository, target);
    m_repository->setEnabled(connected);
    if (!connected)
        m_repository->setToolTip(kNotConnected);
    m_areas = new QComboBox(target);
    m_newIdLabel = new QLabel(kAreaId, target);
    m_newId = new QLineEdit(target);
    m_newId->setMaxLength(kAreaIdLimit);
    m_newNameLabel = new QLabel(kAreaName, target);
    m_newName = new QLineEdit(target);
    m_replace = new QCheckBox(kReplace, target);
    auto* areaForm = new QFormLayout;
    areaForm->setContentsMargins(24, 0, 0, 0);
    areaForm->addRow(kArea, m_areas);
    areaForm->addRow(m_newIdLabel, m_newId);
    areaForm->addRow(m_newNameLabel, m_newName);
    areaForm->addRow(QString(), m_replace);
    auto* targetLayout = new QVBoxLayout(target);
    targetLayout->addWidget(m_dictionary);
    targetLayout->addWidget(m_repository);
    if (!connected)
        targetLayout->addWidget(new QLabel(QStringLiteral("    ") + kNotConnected, target));
    targetLayout->addLayout(areaForm);
    auto* targets = new QButtonGroup(this);
    targets->addButton(m_dictionary);
    targets->addButton(m_repository);
    m_dictionary->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(kImportButton, QDialogButtonBox::ActionRole);
    m_import->setDefault(true);
    QPushButton* close = buttons->addButton(kCloseButton, QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_import, &QPushButton::clicked, this, &CStandardImportDlg::Import);
    connect(m_browse, &QPushButton::clicked, this, &CStandardImportDlg::Browse);
    for (QRadioButton* r : {m_filesRadio, m_dictionary, m_repository})
        connect(r, &QRadioButton::toggled, this, &CStandardImportDlg::UpdateStates);
    for (QRadioButton* r : m_builtins)
        connect(r, &QRadioButton::toggled, this, &CStandardImportDlg::SuggestAreaName);
    connect(m_areas, &QComboBox::currentIndexChanged, this, &CStandardImportDlg::UpdateStates);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(source);
    layout->addWidget(target);
    layout->addStretch(1);
    layout->addWidget(buttons);

    if (connected)
        FillAreas();
    UpdateStates();
    resize(sizeHint().expandedTo(QSize(620, 0)));
}

void CStandardImportDlg::FillAreas()
{
    StandardAreaMap byName; // name -> id
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->SelectStandardAreas(byName);
    m_areaNames.clear();
    for (const auto& [name, id] : byName)
        m_areaNames[id] = name;
    m_areas->clear();
    for (const auto& [id, name] : m_areaNames)
        m_areas->addItem(QStringLiteral("%1 (%2)").arg(name, id), id);
    m_areas->addItem(kNewArea, QString());
    // The built-in edition's own area, when the repository does not have it yet.
    if (!m_areaNames.count(BuiltinStandard::kAreaId)) {
        m_newId->setText(BuiltinStandard::kAreaId);
        m_newName->setText(BuiltinStandard::kAreaName);
    }
    const int pub = m_areas->findData(BuiltinStandard::kAreaId);
    m_areas->setCurrentIndex(pub >= 0 ? pub : m_areas->count() - 1);
}

// A new area is offered the chosen edition's name, unless the user wrote one of their own.
void CStandardImportDlg::SuggestAreaName()
{
    const QString current = m_newName->text().trimmed();
    const auto& editions = BuiltinStandard::Editions();
    if (std::none_of(editions.begin(), editions.end(), [&](const auto& e) { return e.areaName == current; }))
        return;
    for (size_t i = 0; i < m_builtins.size(); ++i)
        if (m_builtins[i]->isChecked())
            m_newName->setText(editions[i].areaName);
}

void CStandardImportDlg::UpdateStates()
{
    m_files->setEnabled(m_filesRadio->isChecked());
    m_browse->setEnabled(m_filesRadio->isChecked());
    const bool repo = m_repository->isChecked();
    const bool newArea = repo && m_areas->count() > 0 && m_areas->currentData().toString().isEmpty();
    m_areas->setEnabled(repo);
    for (QWidget* w : std::initializer_list<QWidget*>{m_newIdLabel, m_newId, m_newNameLabel, m_newName})
        w->setVisible(newArea);
    m_replace->setEnabled(repo && !newArea);
}

void CStandardImportDlg::SetFiles(const QStringList& files)
{
    m_fileList = files;
    QStringList names;
    for (const QString& f : files)
        names << QFileInfo(f).fileName();
    m_files->setText(names.join(QStringLiteral(", ")));
    m_files->setToolTip(files.join(u'\n'));
    if (!files.isEmpty())
        m_filesRadio->setChecked(true);
}

void CStandardImportDlg::Browse()
{
    const QString start = m_fileList.isEmpty() ? QString() : QFileInfo(m_fileList.front()).absolutePath();
    const QStringList files = QFileDialog::getOpenFileNames(this, kDialogTitle, start, kFileFilter);
    if (!files.isEmpty())
        SetFiles(files);
}

bool CStandardImportDlg::Choice(StandardImportChoice& choice, QString& problem) const
{
    choice = StandardImportChoice();
    choice.builtin = false;
    for (size_t i = 0; i < m_builtins.size(); ++i)
        if (m_builtins[i]->isChecked()) {
            choice.builtin = true;
            choice.edition = BuiltinStandard::Editions()[i].key;
        }
    if (!choice.builtin) {
        if (m_fileList.isEmpty()) {
            problem = kNoFiles;
            return false;
        }
        choice.files = m_fileList;
    }
    choice.toRepository = m_repository->isChecked();
    if (!choice.toRepository)
        return true;
    QString id = m_areas->currentData().toString();
    if (id.isEmpty()) {
        id = m_newId->text().trimmed();
        if (id.isEmpty()) {
            problem = kNoArea;
            return false;
        }
        if (id.size() > kAreaIdLimit) {
            problem = kAreaTooLong;
            return false;
        }
        if (m_areaNames.count(id)) {
            problem = kAreaExists.arg(id);
            return false;
        }
        choice.area.areaName = m_newName->text().trimmed();
    } else {
        choice.area.replace = m_replace->isChecked();
        choice.areaLabel = m_areaNames.count(id) ? m_areaNames.at(id) : QString();
    }
    choice.area.areaId = id;
    return true;
}

void CStandardImportDlg::Import()
{
    StandardImportChoice choice;
    QString problem;
    if (!Choice(choice, problem)) {
        CQrMessageBox::Warning(this, problem);
        return;
    }
    if (!choice.toRepository) {
        const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        size_t words = 0, domains = 0;
        for (const auto& [physical, inner] : settings.m_mapWordsByPhysical)
            words += inner.size();
        // A domain is filed under each of its class words: count it once, as the result does.
        std::set<QString> domainNames;
        for (const auto& [key, inner] : settings.m_mapDomains)
            for (const auto& entry : inner)
                domainNames.insert(entry.first);
        domains = domainNames.size();
        if ((words || domains) && !CQrMessageBox::Question(this, kMergeConfirm.arg(words).arg(domains)))
            return;
    } else if (choice.area.replace && !CQrMessageBox::Question(this, kReplaceConfirm.arg(choice.area.areaId))) {
        return;
    }
    m_outcome = RunStandardImport(this, choice);
    switch (m_outcome.state) {
    case StandardImportOutcome::State::Imported: {
        CStandardImportResultDlg result(choice, m_outcome, this);
        result.exec();
        accept();
        return;
    }
    case StandardImportOutcome::State::Cancelled:
        CQrMessageBox::Information(this, m_outcome.message);
        return;
    case StandardImportOutcome::State::Refused:
    case StandardImportOutcome::State::Failed: {
        // A lost connection: the failure first, then the reconnect question, one box at a time.
        const bool lost = CRepositoryConnection::Instance().IsLost();
        if (lost)
            RepositoryUi::SetLossAnswered(true);
        CQrMessageBox::Warning(this, m_outcome.message);
        if (lost)
            RepositoryUi::EnsureUsable(this, false);
        return;
    }
    }
}

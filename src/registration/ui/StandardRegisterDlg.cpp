#include "registration/ui/StandardRegisterDlg.h"

#include "components/QrDatatype.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrPropertyGrid.h"
#include "registration/StandardRegisterForm.h"
#include "registration/ui/DomainSelectDlg.h"
#include "repository/RepositoryConnection.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kRegisterWord = QStringLiteral("위의 내용으로 단어를 등록합니다");
const QString kRegisterDomain = QStringLiteral("위의 내용으로 도메인을 등록합니다");
const QString kRegisterTerm = QStringLiteral("위의 내용으로 용어를 등록합니다");
const QString kGenerateName = QStringLiteral("도메인명 자동생성");
const QString kChangeDomain = QStringLiteral("도메인 변경");
const QString kDefaultType = QStringLiteral("VARCHAR");
const QString kNoArea = QStringLiteral("대상 분류체계를 선택해 주세요");
const QString kRenamedTerm =
    QStringLiteral("구성 단어는 %1 (%2)에서 분석한 것이라 고친 이름으로는 등록할 수 없습니다.\n"
                   "이름은 용어 분석 화면의 대상 속성명에서 고친 뒤 다시 분석해 등록하세요.");

std::vector<tagLogicalDatatype> LogicalTypes()
{
    std::vector<tagLogicalDatatype> types;
    QrDatatype::GetLogicalDatatypes(types);
    return types;
}
} // namespace

CStandardRegisterDlg::CStandardRegisterDlg(int mode, const QString& areaId, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_areaId(areaId)
{
    setWindowTitle(RegisterTexts::kTitle);
    setSizeGripEnabled(true);
    resize(620, 640);

    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(new QLabel(RegisterTexts::kAreaLabel, this));
    m_areas = new QComboBox(this);
    m_areas->setMinimumWidth(240);
    areaRow->addWidget(m_areas, 1);

    auto* gridGroup = new QGroupBox(RegisterTexts::kGridLabel, this);
    m_grid = new CQrPropertyGrid(gridGroup);
    auto* gridLayout = new QVBoxLayout(gridGroup);
    gridLayout->addWidget(m_grid);

    auto* close = new QPushButton(RegisterTexts::kClose, this);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(areaRow);
    layout->addWidget(gridGroup, 1);
    layout->addLayout(buttons);

    // Given an area, the dialog registers there and nowhere else.
    m_areas->setEnabled(areaId.isEmpty());
    FillAreas();
    BuildGrid();
    connect(m_areas, &QComboBox::currentIndexChanged, this, [this](int index) {
        const auto it = m_indexToId.find(index);
        m_areaId = it != m_indexToId.end() ? it->second : QString();
        CRepositoryConnection::Instance().RememberArea(m_areaId);
    });
    connect(m_grid, &CQrPropertyGrid::InplaceButtonClicked, this, &CStandardRegisterDlg::OnButton);
    connect(close, &QPushButton::clicked, this, [this] { m_registered ? accept() : reject(); });
}

void CStandardRegisterDlg::FillAreas()
{
    m_areaList.clear();
    m_indexToId.clear();
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->SelectStandardAreas(m_areaList);
    QSignalBlocker block(m_areas);
    m_areas->clear();
    int selected = -1;
    // The area last worked in is offered first; none is chosen unless the caller gave one.
    const QString remembered = CRepositoryConnection::Instance().RememberedAreaId();
    for (bool first : {true, false}) {
        for (const auto& [name, id] : m_areaList) {
            if ((id == remembered) != first)
                continue;
            const int index = m_areas->count();
            m_areas->addItem(name);
            m_indexToId[index] = id;
            if (id == m_areaId)
                selected = index;
        }
    }
    m_areas->setCurrentIndex(selected);
}

void CStandardRegisterDlg::BuildGrid()
{
    CQrPropertyGrid::Choices types;
    const std::vector<tagLogicalDatatype> logical = LogicalTypes();
    for (size_t i = 0; i < logical.size(); ++i)
        types.append({logical[i].name, int(i)});

    QTreeWidgetItem* word = m_grid->AddCategory(RegisterTexts::kWordCategory);
    m_grid->AddTextItem(word, QStringLiteral("단어 논리명"), QString(), IdWordLogical);
    m_grid->AddTextItem(word, QStringLiteral("단어 물리명"), QString(), IdWordPhysical);
    m_grid->AddTextItem(word, QStringLiteral("단어 물리전체명"), QString(), IdWordFullName);
    m_grid->AddCheckItem(word, QStringLiteral("단어 분류어"), false, IdWordClass);
    m_grid->AddMultilineItem(word, QStringLiteral("단어 정의"), QString(), IdWordDefinition);
    m_grid->AddInplaceButton(m_grid->AddLabelItem(word, QStringLiteral("단어 등록"), QString(), IdWordRegister),
                             IdWordRegister, kRegisterWord);

    QTreeWidgetItem* domain = m_grid->AddCategory(RegisterTexts::kDomainCategory);
    m_grid->AddTextItem(domain, QStringLiteral("키도메인명"), QString(), IdKeyDomain);
    m_grid->AddInplaceButton(m_grid->AddTextItem(domain, QStringLiteral("도메인명"), QString(), IdDomainName),
                             IdDomainName, kGenerateName);
    m_grid->AddListItem(domain, QStringLiteral("데이터타입"), types, -1, IdDataType);
    m_grid->AddTextItem(domain, QStringLiteral("데이터길이"), QString(), IdLength);
    m_grid->AddTextItem(domain, QStringLiteral("데이터스케일"), QString(), IdScale);
    m_grid->AddMultilineItem(domain, QStringLiteral("도메인 정의"), QString(), IdDomainDefinition);
    m_grid->AddInplaceButton(m_grid->AddLabelItem(domain, QStringLiteral("도메인 등록"), QString(), IdDomainRegister),
                             IdDomainRegister, kRegisterDomain);

    QTreeWidgetItem* term = m_grid->AddCategory(RegisterTexts::kTermCategory);
    m_grid->AddTextItem(term, QStringLiteral("용어 논리명"), QString(), IdTermLogical);
    m_grid->AddTextItem(term, QStringLiteral("용어 물리명"), QString(), IdTermPhysical);
    m_grid->AddTextItem(term, QStringLiteral("구성 단어"), QString(), IdTermWords);
    m_grid->AddInplaceButton(m_grid->AddLabelItem(term, QStringLiteral("도메인"), QString(), IdTermDomain),
                             IdTermDomain, kChangeDomain);
    m_grid->AddMultilineItem(term, QStringLiteral("용어 정의"), QString(), IdTermDefinition);
    m_grid->AddInplaceButton(m_grid->AddLabelItem(term, QStringLiteral("용어 등록"), QString(), IdTermRegister),
                             IdTermRegister, kRegisterTerm);

    QTreeWidgetItem* categories[] = {word, domain, term};
    for (int i = 0; i < 3; ++i)
        categories[i]->setExpanded(i == m_mode);
    SetDomain(m_domain);
}

QString CStandardRegisterDlg::Value(int id) const
{
    return m_grid->GetValue(m_grid->FindItem(id)).trimmed();
}

void CStandardRegisterDlg::SetValue(int id, const QString& value)
{
    m_grid->SetValue(m_grid->FindItem(id), value);
}

void CStandardRegisterDlg::SetWord(const _stAnalyzeManageWord& word)
{
    m_word = word;
    SetValue(IdWordLogical, word.strLogicalName);
    SetValue(IdWordPhysical, word.strPhysicalName);
    SetValue(IdWordFullName, word.strPhyFullName);
    m_grid->SetChecked(m_grid->FindItem(IdWordClass), word.nClassWord != 0);
    SetValue(IdWordDefinition, word.strDescription);
}

void CStandardRegisterDlg::SetDomain(const _stAnalyzeManageDomain& domain)
{
    m_domain = domain;
    SetValue(IdKeyDomain, domain.strKeyDomainName);
    const QString type = domain.strDataType.isEmpty() ? kDefaultType : domain.strDataType;
    // A proposed name (the settings' keyword) is written as the area writes its domains.
    QString name = domain.strDomainName;
    if (name == StandardRegisterForm::GenerateDomainName(domain.strKeyDomainName, domain.strDataType, domain.strLength,
                                                         domain.strScale))
        name = StandardRegisterForm::GenerateDomainName(m_areaId, domain.strKeyDomainName, domain.strDataType,
                                                        domain.strLength, domain.strScale);
    m_domain.strDomainName = name;
    SetValue(IdDomainName, name);
    const std::vector<tagLogicalDatatype> logical = LogicalTypes();
    int index = -1;
    for (size_t i = 0; i < logical.size(); ++i)
        if (logical[i].name.compare(type, Qt::CaseInsensitive) == 0)
            index = int(i);
    m_grid->SetListValue(m_grid->FindItem(IdDataType), index);
    SetValue(IdLength, domain.strLength);
    SetValue(IdScale, domain.strScale);
    SetValue(IdDomainDefinition, domain.strExtra);
}

void CStandardRegisterDlg::SetTerm(const _stAnalyzeManageTerm& term, const QString& domainName)
{
    m_term = term;
    m_termDomainName = domainName;
    SetValue(IdTermLogical, term.strLogicalName);
    SetValue(IdTermPhysical, term.strPhysicalName);
    const QStringList& words = term.listExtra.size() == term.listWordIds.size() ? term.listExtra : term.listWordIds;
    SetValue(IdTermWords, words.join(QLatin1Char('+')));
    SetValue(IdTermDomain, domainName);
    SetValue(IdTermDefinition, term.strDescription);
}

void CStandardRegisterDlg::PressButton(int itemId)
{
    OnButton(m_grid->FindItem(itemId), itemId);
}

void CStandardRegisterDlg::OnButton(QTreeWidgetItem*, int buttonId)
{
    // Nothing is registered outside a standard area (the ribbon's dialog starts without one).
    const bool registers = buttonId == IdWordRegister || buttonId == IdDomainRegister || buttonId == IdTermRegister;
    if (registers && m_areaId.isEmpty()) {
        CQrMessageBox::Information(this, kNoArea);
        return;
    }
    switch (buttonId) {
    case IdWordRegister:
        RegisterWord();
        break;
    case IdDomainName:
        GenerateDomainName();
        break;
    case IdDomainRegister:
        RegisterDomain();
        break;
    case IdTermDomain:
        ChangeDomain();
        break;
    case IdTermRegister:
        RegisterTerm();
        break;
    default:
        break;
    }
}

void CStandardRegisterDlg::Finish(int kind, const QString& message)
{
    using StandardRegisterForm::Outcome;
    if (kind == Outcome::Refused) {
        CQrMessageBox::Information(this, message);
    } else if (kind == Outcome::Registered) {
        m_registered = true;
        CQrMessageBox::Information(this, message);
        accept();
    }
    // A failed insert was reported by the gateway; the dialog stays open.
}

void CStandardRegisterDlg::RegisterWord()
{
    _stAnalyzeManageWord word = m_word;
    word.strLogicalName = Value(IdWordLogical);
    word.strPhysicalName = Value(IdWordPhysical);
    word.strPhyFullName = Value(IdWordFullName);
    word.strDescription = Value(IdWordDefinition);
    word.nClassWord = m_grid->IsChecked(m_grid->FindItem(IdWordClass)) ? 1 : 0;
    const StandardRegisterForm::Outcome outcome = StandardRegisterForm::RegisterWord(m_areaId, word);
    if (outcome.kind == StandardRegisterForm::Outcome::Registered)
        m_word = word;
    Finish(outcome.kind, outcome.message);
}

void CStandardRegisterDlg::GenerateDomainName()
{
    SetValue(IdDomainName, StandardRegisterForm::GenerateDomainName(m_areaId, Value(IdKeyDomain), Value(IdDataType),
                                                                    Value(IdLength), Value(IdScale)));
}

void CStandardRegisterDlg::RegisterDomain()
{
    _stAnalyzeManageDomain domain = m_domain;
    domain.strKeyDomainName = Value(IdKeyDomain);
    domain.strDomainName = Value(IdDomainName);
    domain.strDataType = Value(IdDataType);
    domain.strExtra = Value(IdDomainDefinition);
    domain.strLength = Value(IdLength);
    domain.strScale = Value(IdScale);
    const StandardRegisterForm::Outcome outcome = StandardRegisterForm::RegisterDomain(m_areaId, domain);
    if (outcome.kind == StandardRegisterForm::Outcome::Registered)
        m_domain = domain;
    Finish(outcome.kind, outcome.message);
}

void CStandardRegisterDlg::ChangeDomain()
{
    CDomainSelectDlg dialog(m_areaId, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.DomainName().isEmpty() || dialog.DomainId().isEmpty())
        return;
    m_term.strDomainId = dialog.DomainId();
    m_termDomainName = dialog.DomainName();
    SetValue(IdTermDomain, m_termDomainName);
}

void CStandardRegisterDlg::RegisterTerm()
{
    _stAnalyzeManageTerm term = m_term;
    // The names as the user left them: the form renames its target to what was registered.
    term.strLogicalName = Value(IdTermLogical);
    term.strPhysicalName = Value(IdTermPhysical);
    term.strDescription = Value(IdTermDefinition);
    // The word combination was analysed from the names as proposed: other names would be
    // stored with words they are not made of.
    if (!m_term.listWordIds.isEmpty() &&
        (term.strLogicalName != m_term.strLogicalName || term.strPhysicalName != m_term.strPhysicalName)) {
        CQrMessageBox::Information(this, kRenamedTerm.arg(m_term.strLogicalName, m_term.strPhysicalName));
        return;
    }
    const StandardRegisterForm::Outcome outcome = StandardRegisterForm::RegisterTerm(m_areaId, term);
    if (outcome.kind == StandardRegisterForm::Outcome::Registered)
        m_term = term;
    Finish(outcome.kind, outcome.message);
}

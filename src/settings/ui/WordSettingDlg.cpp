#include "settings/ui/WordSettingDlg.h"

#include "components/QrDatatype.h"
#include "components/QrWordExtractor.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrPropertyGrid.h"
#include "settings/AnalyzeSettings.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
struct TagBox
{
    const char16_t* caption;
    int tag;
};
struct TagGroup
{
    const char16_t* caption;
    std::vector<TagBox> boxes;
};

// "보조사" and "접속 조사" share tag 40: checking either checks both on the next opening.
const std::vector<TagGroup>& TagGroups()
{
    static const std::vector<TagGroup> groups = {
        {u"체언", {{u"일반 명사", 1}, {u"고유 명사", 2}, {u"의존 명사", 3}, {u"수사", 7}, {u"대명사", 8}}},
        {u"용언",
         {{u"동사", 4}, {u"형용사", 5}, {u"보조 용언", 9}, {u"긍정 지시사(이다)", 18}, {u"부정 지시사(아니다)", 19}}},
        {u"관형사", {{u"관형사", 10}}},
        {u"부사", {{u"일반 부사", 6}, {u"접속 부사", 11}}},
        {u"감탄사", {{u"감탄사", 12}}},
        {u"조사",
         {{u"주격 조사", 33},
          {u"보격 조사", 34},
          {u"관형격 조사", 35},
          {u"목적격 조사", 36},
          {u"부사격 조사", 37},
          {u"호격 조사", 38},
          {u"인용격 조사", 39},
          {u"보조사", 40},
          {u"접속 조사", 40}}},
        {u"접두사", {{u"체언 접두사", 13}}},
        {u"접미사", {{u"명사 파생 접미사", 14}, {u"동사 파생 접미사", 15}, {u"형용사 파생 접미사", 16}}},
        {u"어근", {{u"어근", 17}}},
        {u"부호, 외국어, 특수문자",
         {{u"종결 부호", 20},
          {u"구분 부호", 21},
          {u"인용 부호 및 괄호", 22},
          {u"줄임표", 23},
          {u"붙임표", 24},
          {u"기타 특수 문자", 25},
          {u"알파벳", 26},
          {u"한자", 27},
          {u"숫자", 28}}},
        {u"웹", {{u"URL 주소", 29}, {u"이메일 주소", 30}, {u"해시 태그", 32}, {u"멘션", 31}}},
    };
    return groups;
}

QString S(const char16_t* s)
{
    return QString::fromUtf16(s);
}
} // namespace

CWordSettingDlg::CWordSettingDlg(CAnalyzeSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_grid(new CQrPropertyGrid)
{
    setWindowTitle(S(u"설정"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(S(u"분석 설정"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_grid);
    layout->addWidget(group, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(S(u"확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(S(u"취소"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 640);

    Build();
    connect(m_grid, &CQrPropertyGrid::InplaceButtonClicked, this, [this](QTreeWidgetItem* item, int buttonId) {
        if (buttonId == ButtonAddUserWord) {
            m_grid->EditValue(AddUserWord());
        } else if (buttonId == ButtonRemoveUserWord && item && item->parent() == m_userWords) {
            m_grid->RemoveItem(item);
        }
    });
}

void CWordSettingDlg::Build()
{
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();

    QTreeWidgetItem* analysis = m_grid->AddCategory(S(u"분석 설정"));
    CQrPropertyGrid::Choices databases;
    for (int v = GlobalEnum::DBMS_ORACLE; v <= GlobalEnum::DBMS_GOLDILOCKS; ++v) {
        QString text = CQrEnumString::GetInstance().GetString(QStringLiteral("_eDBMSType"), v);
        databases.append({text.isEmpty() ? QString::number(v) : text, v});
    }
    m_grid->AddListItem(analysis, S(u"분석 대상 데이터베이스"), databases, m_settings.analyze_database, IdDatabase);
    m_grid->AddCheckItem(analysis, S(u"분석 결과 이름순 정렬"), m_settings.analyze_sort_result != 0, IdSortResult);
    m_grid->AddCheckItem(analysis, S(u"분석 구분자 필수"), m_settings.need_seperator != 0, IdNeedSeperator);
    m_grid->AddTextItem(analysis, S(u"분석 구분자"), m_settings.seperator, IdSeperator);

    QTreeWidgetItem* term = m_grid->AddCategory(S(u"용어 분석 설정"));
    m_grid->AddCheckItem(term, S(u"동의어 분석 포함"), m_settings.term_analy_with_synonym != 0, IdTermWithSynonym);

    QTreeWidgetItem* reg = m_grid->AddCategory(S(u"등록 설정"));
    m_grid->AddCheckItem(reg, S(u"동음 이의어 단어 사용"), m_settings.accept_synonym_words != 0, IdAcceptSynonym);
    m_grid->AddCheckItem(reg, S(u"도메인 연결 단어 사용"), m_settings.domain_use_words != 0, IdDomainUseWords);

    QTreeWidgetItem* link = m_grid->AddCategory(S(u"연계 설정"));
    m_grid->AddListItem(link, S(u"연계 웹브라우저"),
                        {{S(u"내장 웹브라우저 (기본값)"), 0}, {S(u"내장 웹브라우저 (Chromium Edge)"), 1}},
                        m_settings.request_browser, IdBrowser);
    // One embedded engine serves both choices here: the choice is shown, not offered, and its
    // stored value stays as it is for the other programs that share the settings file.
    QTreeWidgetItem* browser = m_grid->FindItem(IdBrowser);
    browser->setDisabled(true);
    browser->setToolTip(0, S(u"이 플랫폼에는 내장 웹브라우저가 하나뿐이라 이 선택은 쓰이지 않습니다. "
                             u"저장된 값은 함께 쓰는 설정 파일을 위해 그대로 둡니다."));
    browser->setToolTip(1, browser->toolTip(0));
    m_grid->AddCheckItem(link, S(u"단어 신청 사용"), m_settings.word_request != 0, IdWordRequest);
    m_grid->AddCheckItem(link, S(u"도메인 신청 사용"), m_settings.domain_request != 0, IdDomainRequest);
    m_grid->AddCheckItem(link, S(u"용어 신청 사용"), m_settings.term_request != 0, IdTermRequest);

    QTreeWidgetItem* morph = m_grid->AddCategory(S(u"형태소 분석"));
    QTreeWidgetItem* tags = m_grid->AddLabelItem(morph, S(u"정의 분석 품사 설정"), QString(), IdTags);
    const std::set<int>* current = extractor.GetTags();
    for (const TagGroup& g : TagGroups()) {
        QTreeWidgetItem* sub = m_grid->AddCategory(S(g.caption), tags);
        for (const TagBox& b : g.boxes)
            m_grid->AddCheckItem(sub, S(b.caption), current && current->count(b.tag) > 0, b.tag);
    }
    m_userWords = m_grid->AddLabelItem(morph, S(u"정의 분석 사용자 단어"), QString(), IdUserWords);
    m_grid->AddInplaceButton(m_userWords, ButtonAddUserWord, S(u"사용자 단어 추가"));
    if (const std::set<QString>* words = extractor.GetUserWords()) {
        for (const QString& w : *words)
            AddUserWord(w);
    }
    m_grid->expandAll();
    m_grid->resizeColumnToContents(0);
}

QTreeWidgetItem* CWordSettingDlg::AddUserWord(const QString& word)
{
    const QString caption = QStringLiteral("단어 %1").arg(m_userWords->childCount() + 1);
    QTreeWidgetItem* item = m_grid->AddTextItem(m_userWords, caption, word);
    m_grid->AddInplaceButton(item, ButtonRemoveUserWord, QStringLiteral(" X "));
    m_userWords->setExpanded(true);
    return item;
}

std::set<int> CWordSettingDlg::CheckedTags() const
{
    std::set<int> tags;
    QTreeWidgetItem* root = m_grid->FindItem(IdTags);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* sub = root->child(i);
        for (int j = 0; j < sub->childCount(); ++j) {
            if (m_grid->IsChecked(sub->child(j)))
                tags.insert(CQrPropertyGrid::ItemId(sub->child(j)));
        }
    }
    return tags;
}

std::set<QString> CWordSettingDlg::UserWords() const
{
    std::set<QString> words;
    for (int i = 0; i < m_userWords->childCount(); ++i) {
        const QString w = m_grid->GetValue(m_userWords->child(i));
        if (!w.isEmpty())
            words.insert(w);
    }
    return words;
}

bool CWordSettingDlg::Apply()
{
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
    const std::set<int> tags = CheckedTags();
    extractor.SetTags(&tags);
    const std::set<QString> words = UserWords();
    extractor.SetUserWords(&words);
    extractor.ReLoadSettings();

    auto checked = [this](int id) { return m_grid->IsChecked(m_grid->FindItem(id)) ? 1 : 0; };
    m_settings.seperator = m_grid->GetValue(m_grid->FindItem(IdSeperator));
    m_settings.analyze_sort_result = checked(IdSortResult);
    m_settings.need_seperator = checked(IdNeedSeperator);
    m_settings.accept_synonym_words = checked(IdAcceptSynonym);
    m_settings.domain_use_words = checked(IdDomainUseWords);
    m_settings.analyze_database = m_grid->GetListValue(m_grid->FindItem(IdDatabase));
    m_settings.term_analy_with_synonym = checked(IdTermWithSynonym);
    m_settings.request_browser = m_grid->GetListValue(m_grid->FindItem(IdBrowser));
    m_settings.word_request = checked(IdWordRequest);
    m_settings.domain_request = checked(IdDomainRequest);
    m_settings.term_request = checked(IdTermRequest);
    m_settings.Touch();
    return m_settings.Save();
}

void CWordSettingDlg::accept()
{
    if (!Apply()) {
        CQrMessageBox::Warning(this, S(u"설정 파일을 저장하지 못했습니다."));
        return;
    }
    QDialog::accept();
}

void CWordSettingDlg::SetRequestsFromRepository(bool fromRepository)
{
    // Each connect sets the switches from the repository's proposal page options again, so a
    // change here would not last while connected.
    const QString tip = fromRepository ? S(u"A/R 연결 중에는 저장소의 신청 화면 설정에 따릅니다. "
                                           u"연결할 때마다 저장소에서 다시 읽습니다.")
                                       : QString();
    for (int id : {IdWordRequest, IdDomainRequest, IdTermRequest}) {
        QTreeWidgetItem* item = m_grid->FindItem(id);
        item->setDisabled(fromRepository);
        item->setToolTip(0, tip);
        item->setToolTip(1, tip);
    }
}

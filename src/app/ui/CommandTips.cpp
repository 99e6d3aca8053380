#include "app/ui/CommandTips.h"

#include "app/ui/AppTexts.h"
#include "app/ui/RibbonBar.h"

#include <QAction>

namespace CommandTips {

QString Description(int command)
{
    switch (command) {
    case AppCmd::RepositoryConnect:
        return QStringLiteral("메타데이터 저장소(A/R)에 연결하거나 연결을 끊습니다.");
    case AppCmd::SharedManage:
        return QStringLiteral("분석 사전을 저장소와 공유하고 내려받습니다.");
    case AppCmd::PhysicalWordForm:
        return QStringLiteral("물리 컬럼명을 표준 단어로 나누어 분석합니다.");
    case AppCmd::LogicalWordForm:
        return QStringLiteral("논리 속성명을 표준 단어로 나누어 분석합니다.");
    case AppCmd::WordManage:
        return QStringLiteral("분석 사전의 단어와 제외 단어를 편집합니다.");
    case AppCmd::WordSynonym:
        return QStringLiteral("같은 물리명을 가진 단어(동의어)를 검토합니다.");
    case AppCmd::WordDistance:
        return QStringLiteral("서로 비슷한 단어를 찾아 검토합니다.");
    case AppCmd::DomainForm:
        return QStringLiteral("속성의 분류어와 데이터타입으로 도메인을 분석합니다.");
    case AppCmd::DomainManage:
        return QStringLiteral("분석 사전의 도메인과 제외 도메인을 편집합니다.");
    case AppCmd::DomainClass:
        return QStringLiteral("분류어별 도메인을 검토하고 고릅니다.");
    case AppCmd::TermForm:
        return QStringLiteral("저장소의 표준 분류체계에 맞추어 용어를 분석합니다.");
    case AppCmd::Lexicor:
        return QStringLiteral("사전 프로그램 렉시코를 엽니다.");
    case AppCmd::RegisterWord:
        return QStringLiteral("표준 단어를 저장소에 등록합니다.");
    case AppCmd::RegisterDomain:
        return QStringLiteral("표준 도메인을 저장소에 등록합니다.");
    case AppCmd::UnusedWord:
        return QStringLiteral("어느 용어에도 쓰이지 않는 표준 단어를 검토합니다.");
    case AppCmd::UnusedClassWord:
        return QStringLiteral("어느 용어에도 쓰이지 않는 분류어를 검토합니다.");
    case AppCmd::UnusedDomain:
        return QStringLiteral("어느 용어에도 쓰이지 않는 표준 도메인을 검토합니다.");
    case AppCmd::UnusedTerm:
        return QStringLiteral("모델에서 쓰이지 않는 표준 용어를 검토합니다.");
    case AppCmd::ChatGptExtract:
        return QStringLiteral("채팅 서비스에 물어 컬럼의 논리명을 추출합니다.");
    case AppCmd::Settings:
        return QStringLiteral("분석 옵션과 구분자 등 설정을 바꿉니다.");
    case AppCmd::StandardImport:
        return QStringLiteral("공공데이터 공통표준(내장된 7차 또는 파일)을 분석 사전이나 저장소로 가져옵니다.");
    case AppCmd::About:
        return QStringLiteral("프로그램 정보를 봅니다.");
    case AppCmd::Exit:
        return QStringLiteral("프로그램을 끝냅니다.");
    default:
        return {};
    }
}

QString DisabledReason(int command)
{
    switch (command) {
    case AppCmd::TermForm:
    case AppCmd::RegisterWord:
    case AppCmd::RegisterDomain:
    case AppCmd::UnusedWord:
    case AppCmd::UnusedClassWord:
    case AppCmd::UnusedDomain:
        return QStringLiteral("A/R 연결이 필요합니다. \"A/R 연결\"로 먼저 연결하세요.");
    case AppCmd::SharedManage:
        return QStringLiteral("A/R 연결과 저장소의 공유 분석 테이블이 필요합니다.");
    case AppCmd::UnusedTerm:
        return QStringLiteral("Oracle 또는 PostgreSQL 저장소에 A/R 연결이 필요합니다.");
    default:
        return {};
    }
}

} // namespace CommandTips

void ApplyCommandTips(const std::map<int, QAction*>& commands)
{
    for (const auto& [id, action] : commands) {
        const QString description = CommandTips::Description(id);
        if (!description.isEmpty()) {
            action->setToolTip(description);
            action->setStatusTip(description);
        }
        CRibbonBar::SetDisabledReason(action, CommandTips::DisabledReason(id));
    }
}

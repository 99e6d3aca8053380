#pragma once
// The fixed texts of the main window; the command ids come with the commands' registry.
#include "components/ui/ShellCommands.h"

#include <QString>

namespace AppText {
inline const QString AppTitle = QStringLiteral("Termwise");
inline const QString Ready = QStringLiteral("준비");
inline const QString MainCategory = QStringLiteral("메인");
inline const QString HomeCategory = QStringLiteral("홈");
inline const QString StyleMenu = QStringLiteral("스타일");
inline const QString AboutMenu = QStringLiteral("정보");
inline const QString ExitMenu = QStringLiteral("끝내기");
inline const QString Windows7 = QStringLiteral("Windows 7");
inline const QString OutputPane = QStringLiteral("출력");
inline const QString OutputTab = QStringLiteral("메세지");
inline const QString OutputPaneToggle = QStringLiteral("출력 창");
inline const QString Copy = QStringLiteral("복사");
inline const QString Clear = QStringLiteral("지우기");
inline const QString ArConnect = QStringLiteral("A/R 연결");
inline const QString ArDisconnect = QStringLiteral("A/R 연결해제");
inline const QString AboutTitle = QStringLiteral("Termwise 정보");
inline const QString AboutText = QStringLiteral("Termwise, 버전 1.0");
inline const QString Ok = QStringLiteral("확인");
inline const QString Cancel = QStringLiteral("취소");
inline const QString InitTitle = QStringLiteral("Termwise Initialize");
inline const QString InitText = QStringLiteral("Initialize dictionary engine");
inline const QString ExecutableNotFound = QStringLiteral("실행 파일을 찾을 수 없습니다");
inline const QString NoConnectionInfo = QStringLiteral("유효한 접속정보가 존재하지 않습니다");
inline const QString FormNotBuilt = QStringLiteral("이 분석 화면은 아직 만들어지지 않았습니다.");
inline const QString CommandNotBuilt = QStringLiteral("이 기능은 아직 만들어지지 않았습니다.");
inline const QString RequestDeclined =
    QStringLiteral("저장하지 않은 분석 결과를 지키려고 다른 프로그램의 분석 요청을 받지 않았습니다.");
inline const QString RequestNoForm = QStringLiteral("분석 요청을 받을 화면이 없어 요청을 처리하지 못했습니다.");
inline const QString LexicorProgram = QStringLiteral("ZtLexicor");
inline const QString LexicorMissing =
    QStringLiteral("사전 프로그램 렉시코(ZtLexicor)가 프로그램 폴더(%1)에 설치되어 있지 않습니다.");
inline const QString ArReconnect = QStringLiteral("A/R 다시 연결");
inline const QString CommandConnectionLost =
    QStringLiteral("저장소 연결이 끊어졌습니다. \"A/R 다시 연결\"로 다시 연결하세요.");
inline const QString Reconnect = QStringLiteral("다시 연결");
inline const QString Disconnect = QStringLiteral("연결 해제");
inline const QString Later = QStringLiteral("나중에");
inline const QString StatusLost = QStringLiteral("연결 끊김: %1");
inline const QString LostLine = QStringLiteral("저장소 연결이 끊어졌습니다: %1");
inline const QString ReconnectedLine = QStringLiteral("저장소에 다시 연결했습니다: %1");
inline const QString SettingsOrg = QStringLiteral("Quarro");
inline const QString SettingsApp = QStringLiteral("LEXVAULT5");
inline const QString LookKey = QStringLiteral("ApplicationLook");
inline const QString ServerName = QStringLiteral("ZT_TERMWISE");
inline const QString MainFrameClass = QStringLiteral("CQuarroNormlane5MainFrame");
} // namespace AppText

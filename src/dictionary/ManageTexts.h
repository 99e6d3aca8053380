#pragma once
// Fixed texts of the word and domain management dialogs and of the dictionary sharing,
// shared by the dialogs, the command line and the tests.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace ManageTexts {

// Word management
inline const QString WordCaption = QStringLiteral("단어 관리");
inline const QString WordListItem = QStringLiteral("분석 단어 관리");
inline const QString ExceptWordListItem = QStringLiteral("분석 제외 단어 관리");
inline const QString WordSearchPrompt = QStringLiteral("검색 할 논리명, 물리명을 입력하세요");
inline const QString WordGroup = QStringLiteral("단어 목록");
inline const QString WordGroupCount = QStringLiteral("단어 목록 (%d)");
inline const QString ConvertWords = QStringLiteral("표준 단어 전환");
inline const QString AutoDefinitions = QStringLiteral("사전정의 자동수집");
inline const QStringList WordColumns = {QStringLiteral("선택"), QStringLiteral("단어 논리명 (필수)"),
                                        QStringLiteral("단어 물리명 (필수)"), QStringLiteral("단어 물리전체명"),
                                        QStringLiteral("정의")};
inline const QStringList ExceptWordColumns = {QStringLiteral("선택"), QStringLiteral("분석 제외 단어 (필수)")};
inline const QString NoWordSelected = QStringLiteral("선택 단어가 없습니다");
inline const QString AskConvertWords = QStringLiteral("선택 대상을 표준단어로 입력 합니다. 계속 하시겠습니까?");

// Domain management
inline const QString DomainCaption = QStringLiteral("도메인 관리");
inline const QString DomainListItem = QStringLiteral("분석 도메인 관리");
inline const QString ExceptDomainListItem = QStringLiteral("분석 제외 도메인 관리");
inline const QString DomainSearchPrompt = QStringLiteral("검색 할 키도메인명, 도메인명을 입력하세요");
inline const QString DomainGroup = QStringLiteral("도메인 목록");
inline const QString DomainGroupCount = QStringLiteral("도메인 목록 (%d)");
inline const QString ConvertDomains = QStringLiteral("표준 도메인 전환");
inline const QString AutoDomainNames = QStringLiteral("도메인명 자동생성");
inline const QStringList DomainColumns = {QStringLiteral("선택"),
                                          QStringLiteral("키도메인명 (필수)"),
                                          QStringLiteral("도메인명 (필수)"),
                                          QStringLiteral("데이터타입 (필수)"),
                                          QStringLiteral("길이"),
                                          QStringLiteral("스케일"),
                                          QStringLiteral("비고")};
inline const QStringList ExceptDomainColumns = {QStringLiteral("선택"), QStringLiteral("분석 제외 도메인 (필수)")};
inline const QString NoDomainSelected = QStringLiteral("선택 도메인이 없습니다");
inline const QString AskConvertDomains = QStringLiteral("선택 대상을 표준도메인으로 입력 합니다. 계속 하시겠습니까?");

// Buttons common to both
inline const QString Save = QStringLiteral("저장");
inline const QString Close = QStringLiteral("닫기");
inline const QString Add = QStringLiteral("추가");
inline const QString Delete = QStringLiteral("삭제");
inline const QString ShareDownload = QStringLiteral("공유 다운로드");
inline const QString ShareUpload = QStringLiteral("공유 업로드");
inline const QString ShareCompare = QStringLiteral("공유 현황비교");
inline const QString Export = QStringLiteral("출력");

// Messages
inline const QString Saved = QStringLiteral("저장 되었습니다");
inline const QString Done = QStringLiteral("완료되었습니다");
inline const QString AskDownload = QStringLiteral("분석 데이터가 서버 기준으로 병합 됩니다. 계속 하시겠습니까?");
inline const QString AskSaveBeforeUpload =
    QStringLiteral("저장하지 않은 변경이 있습니다. 업로드는 저장된 내용을 올립니다. 지금 저장하고 계속하시겠습니까?");
inline const QString AskUpload = QStringLiteral("선택한 분석 데이터를 업로드 합니다. 계속 하시겠습니까?");
inline const QString ExportDone = QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?");
inline const QString ExcelFilter = QStringLiteral("Excel Files(*.xlsx)|*.xlsx|");
inline const QString UploadFailed =
    QStringLiteral("업로드 중 저장소 오류가 있었습니다. 로컬 사전은 저장되었습니다. 출력 창을 확인하세요");
inline const QString SaveFailed = QStringLiteral("사전 파일을 저장하지 못했습니다: %s");
inline const QString AskSaveEdits = QStringLiteral("%s: 저장하지 않은 변경이 있습니다.\n저장하시겠습니까?");
inline const QString NoSharingTables =
    QStringLiteral("공유 분석 테이블이 있는 Oracle 또는 PostgreSQL 저장소에 연결해야 공유할 수 있습니다.");
inline const QString DownloadWork = QStringLiteral("공유 다운로드");
inline const QString DownloadLost =
    QStringLiteral("공유 다운로드 중 저장소 연결이 끊어졌습니다. 로컬 사전은 그대로 저장되었습니다.");

// Choice dialog of a conflict
inline const QString Repeat = QStringLiteral("해당 동작을 계속 합니다");
inline const QString ChoiceInstruction = QStringLiteral("%s (%s)");
inline const QString WordDownloadTitle = QStringLiteral("단어 다운로드");
inline const QString WordDownloadContent = QStringLiteral("로컬 분석 단어 목록에 %s (%s) 단어가 이미 존재합니다");
inline const QString WordDownloadLocal = QStringLiteral("보류, 로컬 단어를 우선 사용합니다\n%s, %s");
inline const QString WordDownloadServer = QStringLiteral("다운로드, 서버 단어를 우선 사용합니다\n%s, %s");
inline const QString WordUploadTitle = QStringLiteral("단어 업로드");
inline const QString WordUploadContent = QStringLiteral("서버 분석 단어 목록에 %s (%s) 단어가 이미 존재합니다");
inline const QString WordUploadLocal = QStringLiteral("업로드, 로컬 단어를 우선 사용합니다\n%s, %s");
inline const QString WordUploadServer = QStringLiteral("보류, 서버 단어를 우선 사용합니다\n%s, %s");
inline const QString DomainDownloadTitle = QStringLiteral("도메인 다운로드");
inline const QString DomainDownloadContent = QStringLiteral("로컬 분석 도메인 목록에 %s (%s) 도메인이 이미 존재합니다");
inline const QString DomainDownloadLocal = QStringLiteral("보류, 로컬 도메인을 우선 사용합니다\n%s");
inline const QString DomainDownloadServer = QStringLiteral("다운로드, 서버 도메인을 우선 사용합니다\n%s");
inline const QString DomainUploadTitle = QStringLiteral("도메인 업로드");
inline const QString DomainUploadContent = QStringLiteral("서버 분석 도메인 목록에 %s (%s) 도메인이 이미 존재합니다");
inline const QString DomainUploadLocal = QStringLiteral("업로드, 로컬 도메인을 우선 사용합니다\n%s");
inline const QString DomainUploadServer = QStringLiteral("보류, 서버 도메인을 우선 사용합니다\n%s");

// Output pane
inline const QString LocalWordChanged = QStringLiteral("%s (%s) 로컬 분석 단어가 변경되었습니다");
inline const QString ServerWordChanged = QStringLiteral("%s (%s) 서버 분석 단어를 변경합니다");
inline const QString LocalDomainChanged = QStringLiteral("%s (%s) 로컬 분석 도메인이 변경되었습니다");
inline const QString ServerDomainChanged = QStringLiteral("%s (%s) 서버 분석 도메인을 변경합니다");
// Entries the receiving side did not take, with the reason; counted as refused.
inline const QString ServerWordRefused = QStringLiteral("%s (%s) 서버가 분석 단어를 받지 않았습니다: %s");
inline const QString ServerDomainRefused = QStringLiteral("%s (%s) 서버가 분석 도메인을 받지 않았습니다: %s");
inline const QString ServerBatchLost = QStringLiteral("저장소 연결이 끊어져 올린 %s %d개가 모두 저장되지 않았습니다");
inline const QString ServerUploadUndone =
    QStringLiteral("업로드가 끝까지 되지 않아 되돌렸으므로 올린 %s %d개가 모두 저장되지 않았습니다");
inline const QString ServerExceptRefused = QStringLiteral("%s 서버가 제외 항목을 받지 않았습니다: %s");
inline const QString LocalWordRefused = QStringLiteral("%s (%s) 분석 단어를 로컬 사전에 넣지 않았습니다: %s");
inline const QString LocalDomainRefused = QStringLiteral("%s (%s) 분석 도메인을 로컬 사전에 넣지 않았습니다: %s");
inline const QString LocalExceptRefused = QStringLiteral("%s 제외 항목을 로컬 사전에 넣지 않았습니다: %s");
inline const QString RefusedEmptyName = QStringLiteral("이름이 비어 있습니다");
inline const QString RefusedWordInUse = QStringLiteral("사전의 단어 이름이라 제외 단어가 될 수 없습니다");
inline const QString RefusedDomainInUse = QStringLiteral("사전의 키도메인 이름이라 제외 도메인이 될 수 없습니다");

// The definition shown in a command link is cut to this many characters.
constexpr int kDefinitionCut = 22;

} // namespace ManageTexts

namespace ManageColours {
constexpr quint32 StatusDiffers = 0xB0E4EF; // light yellow: differs from the server
constexpr quint32 Proposed = 0xD2D2FF;      // light red: filled in automatically
constexpr quint32 Edited = 0xAAF5E3;        // light green: changed since the last save
} // namespace ManageColours

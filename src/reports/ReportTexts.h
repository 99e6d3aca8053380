#pragma once
// Fixed texts of the word and domain analysis reports.
#include <QString>
#include <QStringList>

namespace ReportTexts {

inline const QString kTitle = QStringLiteral("분석 현황");
inline const QString kSeriesName = QStringLiteral("분석율");
inline const QString kBarMissing = QStringLiteral("미분석");
inline const QString kBarFound = QStringLiteral("분석");
inline const QString kClose = QStringLiteral("닫기");
inline const QString kExport = QStringLiteral("현황 출력");
inline const QString kExportDone = QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?");
inline const QString kExcelFilter = QStringLiteral("Excel Files(*.xlsx,*.xls)|*.xlsx;*.xls|");
inline const QString kProgressExport = QStringLiteral("Termwise Export");

// Word report.
inline const QString kWordChartFrame = QStringLiteral("분석 단어 비율");
inline const QString kWordList = QStringLiteral("미분석 단어 목록");
inline const QString kWordListCount = QStringLiteral("미분석 단어 목록 (%d)");
inline const QString kWordDetail = QStringLiteral("미분석 단어 상세");
inline const QString kWordDetailCount = QStringLiteral("미분석 단어 상세 (%d)");
inline const QString kAutoDefinitions = QStringLiteral("사전정의 자동수집");
inline const QString kStoreWords = QStringLiteral("단어 입력");
inline const QString kWordsSaved = QStringLiteral("%d 개의 단어가 저장 되었습니다");
inline const QString kMenuExcludeWord = QStringLiteral("단어 분석제외");
inline const QString kAskExcludeWord = QStringLiteral("선택한 명칭을 단어분석에서 제외 하겠습니까?");
inline const QString kProgressExportWords = QStringLiteral("Export analyzed words");
inline const QStringList kWordColumns = {QStringLiteral("분석 단어명"),        QStringLiteral("사용빈도"),
                                         QStringLiteral("단어 물리명 (필수)"), QStringLiteral("단어 논리명 (필수)"),
                                         QStringLiteral("단어 물리전체명"),    QStringLiteral("단어 정의")};
inline const QStringList kWordDetailColumns = {QStringLiteral("분석 대상"),   QStringLiteral("갯수"),
                                               QStringLiteral("분석 대상"),   QStringLiteral("분석 대상원본"),
                                               QStringLiteral("참고 데이터"), QStringLiteral("정의")};
inline const QStringList kWordExportHeader = {QStringLiteral("분석 단어명"), QStringLiteral("분석 대상"),
                                              QStringLiteral("갯수"), QStringLiteral("참고 데이터"),
                                              QStringLiteral("분석 대상 정의")};

// Domain report.
inline const QString kDomainChartFrame = QStringLiteral("분석 도메인 비율");
inline const QString kDomainList = QStringLiteral("미분석 도메인 목록");
inline const QString kDomainListCount = QStringLiteral("미분석 도메인 목록 (%d)");
inline const QString kDomainDetail = QStringLiteral("미분석 도메인 상세");
inline const QString kAutoDomainName = QStringLiteral("도메인명 자동생성");
inline const QString kStoreDomains = QStringLiteral("도메인 입력");
inline const QString kDomainsSaved = QStringLiteral("%d 개의 도메인이 저장 되었습니다");
// What "도메인 입력" and "단어 입력" passed over, after the count.
inline const QString kSkippedHeader = QStringLiteral("저장하지 않은 행:");
inline const QString kSkippedRow = QStringLiteral("%1행 %2: %3");
inline const QString kSkippedUntouched = QStringLiteral("입력하지 않은 행 %1개는 건너뛰었습니다.");
inline const QString kSkippedMore = QStringLiteral("... 외 %1행");
inline const QString kReasonEmpty = QStringLiteral("%1 비어 있음");
inline const QString kReasonUnknownType = QStringLiteral("타입 '%1'은(는) 데이터타입 약어 표에 없음");
inline const QString kReasonPartCount = QStringLiteral("물리명과 논리명의 구분자 수가 다름");
// The automatic proposals that found nothing.
inline const QString kNoDefinitionsFound = QStringLiteral("'%1'의 영문명과 정의를 사전에서 찾지 못했습니다.");
inline const QString kDefinitionsFound = QStringLiteral("'%1'의 사전 정의를 가져왔습니다: 영문명 %2개, 정의 %3개.");
inline const QString kNoDictionary =
    QStringLiteral("사전 데이터베이스(termwise.db)를 열 수 없어 정의를 찾지 못했습니다.");
inline const QString kNoDomainName = QStringLiteral("도메인명을 만들지 못했습니다: %1");
inline const QString kDomainNameMade = QStringLiteral("도메인명 '%1'을(를) 만들었습니다.");
inline const QString kMenuExcludeDomain = QStringLiteral("도메인 분석제외");
inline const QString kAskExcludeDomain = QStringLiteral("선택한 명칭을 도메인분석에서 제외 하겠습니까?");
inline const QString kProgressExportDomains = QStringLiteral("Export analyzed domains");
inline const QStringList kDomainColumns = {
    QStringLiteral("분석 도메인명"),   QStringLiteral("사용빈도"),    QStringLiteral("키도메인명 (필수)"),
    QStringLiteral("도메인명 (필수)"), QStringLiteral("타입 (필수)"), QStringLiteral("길이"),
    QStringLiteral("스케일"),          QStringLiteral("비고")};
inline const QStringList kDomainDetailColumns = {QStringLiteral("분석 대상"), QStringLiteral("갯수"),
                                                 QStringLiteral("분석 대상"), QStringLiteral("데이터타입"),
                                                 QStringLiteral("참고 데이터")};
inline const QStringList kDomainExportHeader = {
    QStringLiteral("분석 도메인명"), QStringLiteral("분석 대상"),       QStringLiteral("갯수"),
    QStringLiteral("분석 대상"),     QStringLiteral("분석 데이터타입"), QStringLiteral("참고 데이터")};

// Unused standards review.
inline const QString kUnusedWordsTitle = QStringLiteral("미사용 표준 단어");
inline const QString kUnusedClassWordsTitle = QStringLiteral("미사용 표준 분류 단어");
inline const QString kUnusedTermsTitle = QStringLiteral("미사용 표준 용어");
inline const QString kUnusedDomainsTitle = QStringLiteral("미사용 표준 도메인");
inline const QString kUnusedArea = QStringLiteral("대상 분류체계");
inline const QString kUnusedList = QStringLiteral("대상 표준 목록");
// Over the list when it could not be read: an empty list must never read as "nothing unused".
inline const QString kUnusedReadFailed = QStringLiteral("목록을 읽지 못했습니다 (빈 목록은 결과가 아닙니다): %1");
inline const QStringList kUnusedWordColumns = {QStringLiteral("단어 논리명"), QStringLiteral("단어 물리명"),
                                               QStringLiteral("단어 물리전체명"), QStringLiteral("단어 정의")};
inline const QStringList kUnusedTermColumns = {QStringLiteral("용어 논리명"), QStringLiteral("용어 물리명"),
                                               QStringLiteral("용어 정의")};
inline const QStringList kUnusedDomainColumns = {QStringLiteral("키도메인명"), QStringLiteral("도메인명"),
                                                 QStringLiteral("타입"),       QStringLiteral("길이"),
                                                 QStringLiteral("소수점"),     QStringLiteral("비고")};

// Colour of cells the report filled in for the user (0x00BBGGRR of RGB(255,210,210)).
constexpr unsigned kProposedCell = 0xD2D2FF;

} // namespace ReportTexts

#pragma once
// Fixed texts of the window's common-standard import: the first-start offer, the
// "공통표준 가져오기…" dialog and its result.
#include "standard/StandardTexts.h"

#include <QString>

namespace StandardImportText {

inline const QString kMenuCommand = QStringLiteral("공통표준 가져오기…");
inline const QString kDialogTitle = QStringLiteral("공통표준 가져오기");
inline const QString kResultTitle = QStringLiteral("공통표준 가져오기 결과");

// The offer on an empty dictionary.
inline const QString kOfferText = QStringLiteral("로컬 분석 사전이 비어 있습니다.\n\n함께 설치된 %1의 표준 단어와 "
                                                 "도메인으로 사전을 채울까요?");
inline const QString kOfferDetail = QStringLiteral("이음동의어와 금칙어는 비표준 단어로 들어갑니다. 나중에 메인 메뉴의 "
                                                   "\"공통표준 가져오기…\"로도 가져올 수 있습니다.");
inline const QString kOfferYes = QStringLiteral("예, 채웁니다");
inline const QString kOfferNo = QStringLiteral("아니요");
inline const QString kOfferNever = QStringLiteral("다시 묻지 않음");

// The dialog.
inline const QString kSourceGroup = QStringLiteral("가져올 표준");
inline const QString kSourceBuiltin = QStringLiteral("내장 공통표준: %1");
inline const QString kBuiltinMissing = QStringLiteral("내장 공통표준 파일이 설치되어 있지 않습니다");
inline const QString kSourceFiles = QStringLiteral("파일 (통합 문서 하나, 또는 CSV 세 개)");
inline const QString kBrowse = QStringLiteral("찾아보기…");
inline const QString kFileFilter = QStringLiteral("공통표준 파일 (*.xlsx *.xls *.csv);;모든 파일 (*)");
inline const QString kNewerEditions =
    QStringLiteral("새 개정판은 공공데이터포털(data.go.kr)에서 \"공공데이터 공통표준\"을 찾아 받습니다.");
inline const QString kTargetGroup = QStringLiteral("가져갈 곳");
inline const QString kTargetDictionary = QStringLiteral("로컬 분석 사전 (단어와 도메인)");
inline const QString kTargetRepository = QStringLiteral("연결된 저장소의 표준 분류체계 (단어, 도메인, 용어)");
inline const QString& kNotConnected = StandardTexts::kNotConnected;
inline const QString kArea = QStringLiteral("분류체계");
inline const QString kNewArea = QStringLiteral("새 분류체계 만들기");
inline const QString kAreaId = QStringLiteral("분류체계 ID");
inline const QString kAreaName = QStringLiteral("분류체계명");
inline const QString kReplace = QStringLiteral("새 판으로 맞추기 (바뀌거나 폐기된 행은 이력으로 닫기)");
inline const QString kImportButton = QStringLiteral("가져오기");
inline const QString kCloseButton = QStringLiteral("닫기");

// Checks and confirmations before the import.
inline const QString kNoFiles = QStringLiteral("가져올 파일을 고르십시오");
inline const QString kNoArea = QStringLiteral("분류체계를 고르거나 새 분류체계의 ID를 입력하십시오");
inline const QString kAreaTooLong = QStringLiteral("분류체계 ID는 100자까지입니다");
inline const QString kAreaExists = QStringLiteral("분류체계 ID %1은(는) 이미 있습니다. 목록에서 고르십시오");
inline const QString kMergeConfirm =
    QStringLiteral("로컬 분석 사전에 단어 %1개와 도메인 %2개가 있습니다. 공통표준과 같은 단어와 도메인은 공통표준의 "
                   "내용으로 바뀌고, 나머지는 그대로 남습니다.\n\n가져올까요?");
inline const QString kReplaceConfirm =
    QStringLiteral("분류체계 %1을(를) 새 판으로 맞춥니다. 새 판이 바꾸거나 폐기한 행은 이력으로 닫고(유효 종료일 = "
                   "지금) 새 판의 행을 넣습니다. 분류체계에 직접 등록한 단어와 용어는 그대로 둡니다.\n\n계속할까요?");

// Progress and outcome.
inline const QString kReading = QStringLiteral("공통표준 파일을 읽는 중입니다…");
inline const QString kReadFailed = QStringLiteral("공통표준 파일을 읽지 못했습니다.\n\n%1");
inline const QString kCancelled = QStringLiteral("가져오기를 취소했습니다. 아무것도 바뀌지 않았습니다.");
inline const QString kRefused =
    QStringLiteral("분류체계 %1에 이미 현재 표준이 있어 가져오지 않았습니다. 새 판을 넣으려면 "
                   "\"새 판으로 맞추기 (바뀌거나 폐기된 행은 이력으로 닫기)\"를 켜십시오.");
inline const QString kFailed = QStringLiteral("공통표준을 가져오지 못했습니다. 아무것도 바뀌지 않았습니다.\n\n%1");
inline const QString kSaveFailed =
    QStringLiteral("로컬 분석 사전을 저장하지 못해 가져오기를 되돌렸습니다. 출력 창에서 이유를 확인하십시오.");
inline const QString kMoreRows = QStringLiteral("… 외 %1행");
inline const QString kLogged =
    QStringLiteral("공통표준을 가져왔습니다 (%1 → %2): 표준 단어 %3, 비표준 단어 %4, 도메인 %5");
inline const QString kLoggedTerms = QStringLiteral(", 용어 %1");

// The result.
inline const QString kResultInto = QStringLiteral("%1을(를) %2(으)로 가져왔습니다.");
inline const QString kIntoDictionary = QStringLiteral("로컬 분석 사전");
inline const QString kIntoArea = QStringLiteral("분류체계 %1 (%2)");
inline const QString kFromFiles = QStringLiteral("파일 %1");
inline const QString kItem = QStringLiteral("항목");
inline const QString kCount = QStringLiteral("건수");
inline const QString kStandardWords = QStringLiteral("표준 단어");
inline const QString kNonStandardWords = QStringLiteral("비표준 단어 (이음동의어, 금칙어)");
inline const QString kDomainGroups = QStringLiteral("도메인 그룹");
inline const QString kDomains = QStringLiteral("도메인");
inline const QString kTerms = QStringLiteral("용어");
inline const QString kCombinations = QStringLiteral("용어의 단어 조합");
inline const QString kClosedRows = QStringLiteral("이력으로 닫은 이전 판의 행");
// An area brought to a new edition.
inline const QString kUpgradeRow = QStringLiteral("%1: 추가 %2, 변경 %3, 폐기 %4, 그대로 %5, 직접 등록해 둔 행 %6");
inline const QString kUpgradeCaption = QStringLiteral("분류체계를 새 판으로 맞춘 결과");
inline const QString kDiffCaption =
    QStringLiteral("이전 판과 새 판의 차이: 단어 추가 %1·폐기 %2·변경 %3, 도메인 추가 %4·폐기 %5·변경 %6, 용어 추가 "
                   "%7·폐기 %8·변경 %9");
inline const QString kKind = QStringLiteral("종류");
inline const QString kState = QStringLiteral("구분");
inline const QString kName = QStringLiteral("이름");
inline const QString kAbbreviation = QStringLiteral("약어/분류");
inline const QString kWhatChanged = QStringLiteral("바뀐 내용");
inline const QString kProblems = QStringLiteral("받아들이지 않았거나 일부만 받아들인 행: %1");
inline const QString kNoProblems = QStringLiteral("받아들이지 않은 행은 없습니다.");
inline const QString kFile = QStringLiteral("파일");
inline const QString kRow = QStringLiteral("행");
inline const QString kReason = QStringLiteral("이유");

} // namespace StandardImportText

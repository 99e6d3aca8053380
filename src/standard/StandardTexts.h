#pragma once
// Fixed texts of the public common standard (its sheet names and headers, as published) and
// of the conformance report, shared by the import, the check, the command line and the window.
#include <QString>
#include <QStringList>

namespace StandardTexts {

// Sheet names of the published workbook, one CSV file per sheet.
inline const QString kTermSheet = QStringLiteral("공통표준용어");
inline const QString kWordSheet = QStringLiteral("공통표준단어");
inline const QString kDomainSheet = QStringLiteral("공통표준도메인");

// Editions refused whole before anything is written.
inline const QString kFilesLack = QStringLiteral("파일에 %1 시트(파일)가 없습니다");
inline const QString kTermsWithoutWords =
    QStringLiteral("용어에 단어가 없습니다: 공통표준단어 파일에 행이 없어 용어의 단어 조합을 만들 수 없습니다");
inline const QString kNotWhole =
    QStringLiteral("온전하지 않은 파일입니다 (번호가 건너뛰거나, 행 가운데서 끝나거나, 행이 없습니다)");
inline const QString kDictionaryCannotHold = QStringLiteral("로컬 분석 사전이 담을 수 없는 값이 있습니다");
inline const QString kRepositoryCannotHold = QStringLiteral("저장소의 컬럼이 담을 수 없는 값이 있습니다");
inline const QString kAllowPartialHint = QStringLiteral(". --allow-partial로 그대로 가져올 수 있습니다");

// Headers (matched with blanks ignored: editions differ in spacing).
// Every sheet numbers its rows 1, 2, 3, ...: a gap shows rows lost from the file.
inline const QString kNumberHeader = QStringLiteral("번호");
namespace Word {
inline const QString kLogical = QStringLiteral("공통표준단어명");
inline const QString kPhysical = QStringLiteral("공통표준단어영문약어명");
inline const QString kFullName = QStringLiteral("공통표준단어 영문명");
inline const QString kDescription = QStringLiteral("공통표준단어 설명");
inline const QString kClassWord = QStringLiteral("형식단어 여부");
inline const QString kDomainClass = QStringLiteral("공통표준도메인분류명");
inline const QString kSynonyms = QStringLiteral("이음동의어 목록");
inline const QString kForbidden = QStringLiteral("금칙어 목록");
} // namespace Word
namespace Domain {
inline const QString kGroup = QStringLiteral("공통표준도메인그룹명");
inline const QString kKeyDomain = QStringLiteral("공통표준도메인분류명");
inline const QString kName = QStringLiteral("공통표준도메인명");
inline const QString kDescription = QStringLiteral("공통표준도메인설명");
inline const QString kDataType = QStringLiteral("데이터타입");
inline const QString kLength = QStringLiteral("데이터길이");
inline const QString kScale = QStringLiteral("데이터소수점길이");
} // namespace Domain
namespace Term {
inline const QString kSynonyms = QStringLiteral("용어 이음동의어 목록");
inline const QString kLogical = QStringLiteral("공통표준용어명");
inline const QString kDescription = QStringLiteral("공통표준용어설명");
inline const QString kPhysical = QStringLiteral("공통표준용어영문약어명");
inline const QString kDomainName = QStringLiteral("공통표준도메인명");
} // namespace Term

// Optional: the edition that enacted a row (the 7th edition's header, then the 8th's), the
// mark of one that was withdrawn (폐기), and the revision kind the 8th edition added (the
// workbook's spelling, then the portal CSV's), where "폐기" also marks a withdrawn row.
inline const QStringList kEnactment = {QStringLiteral("제정차수(제정연월)"), QStringLiteral("제정차수")};
inline const QString kWithdrawnMark = QStringLiteral("(폐기)");
inline const QStringList kRevisionKind = {QStringLiteral("개정구분명(폐기, 변경)"),
                                          QStringLiteral("개정구분명(폐기 또는 변경)")};
inline const QString kRevisionWithdrawn = QStringLiteral("폐기");
// Headers the published editions carry that this program does not use. A header outside these
// and the ones above belongs to a form not seen yet: such a file is refused, not half read.
namespace Known {
inline const QStringList kCommon = {QStringLiteral("개정항목"), QStringLiteral("개정사유")};
inline const QStringList kDomain = {QStringLiteral("저장 형식"), QStringLiteral("표현 형식"), QStringLiteral("단위"),
                                    QStringLiteral("허용값")};
inline const QStringList kTerm = {QStringLiteral("허용값"),     QStringLiteral("저장 형식"),
                                  QStringLiteral("표현 형식"),  QStringLiteral("행정표준코드명"),
                                  QStringLiteral("소관기관명"), QStringLiteral("용어 이음동의어 목록")};
} // namespace Known

// Descriptions written on the non-standard words of an import, so a later check can tell a
// forbidden word from a synonym (the word tables have no column for it).
inline const QString kSynonymDescription = QStringLiteral("이음동의어 (표준단어: %1)");
inline const QString kForbiddenDescription = QStringLiteral("금칙어 (표준단어: %1)");
inline const QString kForbiddenPrefix = QStringLiteral("금칙어");
inline const QString kDefaultAreaDescription = QStringLiteral("공공데이터 공통표준");

// Why a row of an edition was not taken, or taken with a gap (listed after an import).
namespace Problem {
inline const QString kWordTwice = QStringLiteral("단어 %1 (%2)이(가) 두 번 나옵니다");
inline const QString kDomainTwice = QStringLiteral("도메인 %1이(가) 두 번 나옵니다");
inline const QString kTermTwice = QStringLiteral("용어 %1 (%2)이(가) 두 번 나옵니다");
inline const QString kNonStandardIsStandard =
    QStringLiteral("%2의 %1은(는) 그 자체로 표준 단어이므로 비표준 단어로 넣지 않았습니다");
inline const QString kUnknownDataType =
    QStringLiteral("도메인 %1: 알 수 없는 데이터타입 \"%2\"이므로 타입 없이 넣었습니다");
inline const QString kNoClassWord = QStringLiteral("도메인 %1: 도메인 분류 %2을(를) 가진 분류어가 없습니다");
inline const QString kTermDomainMissing =
    QStringLiteral("용어 %1: 도메인 %2이(가) 이 판에 없으므로 도메인 없이 넣었습니다");
inline const QString kTermWordMissing =
    QStringLiteral("용어 %1: %2에 해당하는 단어가 없으므로 단어 조합에서 빼고 넣었습니다");
inline const QString kWithdrawn = QStringLiteral("폐기된 표준(%1)이므로 가져오지 않았습니다");
inline const QString kInvisibleRemoved = QStringLiteral("%1 (%2): 보이지 않는 문자(%3)를 지우고 읽었습니다");
inline const QString kWordWithoutName = QStringLiteral("논리명이나 물리명이 없는 단어입니다");
inline const QString kDomainWithoutName = QStringLiteral("분류나 이름이 없는 도메인입니다");
inline const QString kTermWithoutName = QStringLiteral("논리명이나 물리명이 없는 용어입니다");
inline const QString kNumberNotNumber = QStringLiteral("번호 %2이(가) 올 자리에 \"%1\"이(가) 있습니다");
inline const QString kNumberMissing = QStringLiteral("이 행 앞에 번호 %1이(가) 없습니다");
inline const QString kNumbersMissing = QStringLiteral("이 행 앞에 번호 %1~%2이(가) 없습니다");
inline const QString kNumberOutOfOrder = QStringLiteral("번호 %2이(가) 올 자리에 %1이(가) 있습니다");
inline const QString kEndsInsideRow = QStringLiteral("파일이 이 행의 중간에서 끝납니다");
inline const QString kNoRows = QStringLiteral("머리글 다음에 행이 없습니다");
inline const QString kMixedEncodings =
    QStringLiteral("UTF-8 줄과 CP949 줄이 섞여 있어 줄마다 그 인코딩으로 읽었습니다");
} // namespace Problem

// The conformance report.
inline const QString kConformanceTitle = QStringLiteral("준수 현황");
inline const QString kSummarySheet = QStringLiteral("요약");
inline const QString kPlanSheet = QStringLiteral("보정 계획");
inline const QStringList kPlanHeader = {
    QStringLiteral("스키마"), QStringLiteral("테이블"),    QStringLiteral("컬럼명"), QStringLiteral("새 컬럼명"),
    QStringLiteral("논리명"), QStringLiteral("새 논리명"), QStringLiteral("보정"),   QStringLiteral("사유")};
inline const QString kItem = QStringLiteral("항목");
inline const QString kValue = QStringLiteral("값");
inline const QString kTables = QStringLiteral("테이블 수");
inline const QString kColumns = QStringLiteral("컬럼 수");
inline const QString kWithLogicalName = QStringLiteral("논리명 있는 컬럼 수");
inline const QString kLogicalConforming = QStringLiteral("논리명 준수 컬럼 수");
inline const QString kPhysicalConforming = QStringLiteral("물리명 준수 컬럼 수");
inline const QString kTypeConforming = QStringLiteral("데이터타입 준수 컬럼 수");
inline const QString kConforming = QStringLiteral("준수 컬럼 수");
inline const QString kRate = QStringLiteral("준수율(%)");
inline const QString kDistinctNames = QStringLiteral("논리명 종류 수");
inline const QString kFindingsCaption = QStringLiteral("유형별 위반 컬럼 수");
inline const QString kFinding = QStringLiteral("위반 유형");
inline const QString kCount = QStringLiteral("컬럼 수");
inline const QString kExportButton = QStringLiteral("출력");
inline const QString kCloseButton = QStringLiteral("닫기");
inline const QString kNoResult = QStringLiteral("분석 결과가 없습니다");
inline const QString kNotConnected = QStringLiteral("저장소에 연결되어 있지 않습니다");

// Finding kinds in report order: sheet name = caption.
inline const QStringList kFindingNames = {
    QStringLiteral("미등록 단어"),   QStringLiteral("비표준어 사용"), QStringLiteral("금칙어 사용"),
    QStringLiteral("분류어 아님"),   QStringLiteral("도메인 없음"),   QStringLiteral("데이터타입 불일치"),
    QStringLiteral("물리명 불일치"), QStringLiteral("비표준 용어"),   QStringLiteral("논리명 없음"),
};
// What each figure of the summary counts, and how the figures relate.
inline const QString kMeaning = QStringLiteral("설명");
inline const QString kTablesMeaning = QStringLiteral("모델에서 읽은 테이블");
inline const QString kColumnsMeaning =
    QStringLiteral("판정한 컬럼 (스키마·테이블·컬럼마다 하나): 논리명 있는 컬럼 수 + 논리명 없음");
inline const QString kWithLogicalNameMeaning =
    QStringLiteral("주석(속성명)의 머리에서 논리명을 읽은 컬럼: 아래 세 가지를 이 컬럼들에 대해 따집니다");
inline const QString kLogicalConformingMeaning =
    QStringLiteral("논리명이 등록 용어이거나, 모든 단어가 표준 단어이고 마지막 단어가 분류어인 컬럼");
inline const QString kPhysicalConformingMeaning = QStringLiteral(
    "물리명이 표준 물리명(용어의 영문약어명, 또는 단어 영문약어명을 _로 이은 것, 번호 포함)과 같은 컬럼");
inline const QString kTypeConformingMeaning =
    QStringLiteral("데이터타입·길이·스케일이 도메인(등록 용어의 도메인, 또는 분류어로 찾은 도메인)에 맞는 컬럼");
inline const QString kConformingMeaning = QStringLiteral("논리명·물리명·데이터타입을 모두 준수한 컬럼");
inline const QString kRateMeaning = QStringLiteral("준수 컬럼 수 ÷ 컬럼 수 × 100 (소수 첫째 자리): 논리명 없는 "
                                                   "컬럼은 준수하지 않은 컬럼으로 셉니다");
inline const QString kDistinctNamesMeaning =
    QStringLiteral("논리명 있는 컬럼의 서로 다른 논리명(정규화, 번호 제외): 같은 이름의 컬럼도 하나하나 판정합니다");
inline const QString kFindingCountMeaning =
    QStringLiteral("유형마다 해당하는 컬럼 수이며, 한 컬럼이 여러 유형에 들 수 있습니다");
inline const QStringList kFindingMeanings = {
    QStringLiteral("분류체계에 없는 단어를 쓴 컬럼"),
    QStringLiteral("이음동의어를 쓴 컬럼 (표준 대체: 표준 단어)"),
    QStringLiteral("금칙어를 쓴 컬럼 (표준 대체: 표준 단어)"),
    QStringLiteral("마지막 단어가 분류어가 아닌 컬럼 (분류어의 이음동의어·금칙어는 비표준어로만 셈)"),
    QStringLiteral("데이터타입·길이·스케일에 맞는 도메인을 찾지 못한 컬럼"),
    QStringLiteral("데이터타입·길이·스케일이 용어의 도메인에 맞지 않는 등록 용어 컬럼"),
    QStringLiteral("물리명이 표준 물리명과 다른 컬럼 (표준 대체: 표준 물리명)"),
    QStringLiteral("용어 이음동의어를 논리명으로 쓴 컬럼 (표준 대체: 표준 용어)"),
    QStringLiteral("주석이 없거나, 코드 목록·문장뿐이어서 논리명을 읽을 수 없는 컬럼"),
};
// Columns of a finding sheet.
inline const QStringList kFindingColumns = {
    QStringLiteral("테이블"),    QStringLiteral("컬럼명"),    QStringLiteral("속성명"), QStringLiteral("데이터타입"),
    QStringLiteral("해당 내용"), QStringLiteral("표준 대체"), QStringLiteral("건수")};
// The description the standard import writes on a term synonym's row.
inline const QString kTermSynonymDescription = QStringLiteral("용어 이음동의어 (표준용어: %1)");
// The same description as a LIKE pattern, to find those rows again.
inline const QString kTermSynonymPattern = QStringLiteral("용어 이음동의어 (표준용어:%");

} // namespace StandardTexts

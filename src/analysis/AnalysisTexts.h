#pragma once
// Fixed texts of the word and domain analyses, shared by the engines, the command line
// and the forms.
#include <QString>

namespace AnalysisTexts {

// Progress window.
inline const QString kProgressTitle = QStringLiteral("Termwise Process");
inline const QString kProgressAnalyzeWord = QStringLiteral("Process analyze word");
inline const QString kProgressAnalyzeDomain = QStringLiteral("Process analyze domain");
inline const QString kProgressFilterWord = QStringLiteral("Filtering already extract analyzed word");
inline const QString kProgressFilterDomain = QStringLiteral("Filtering already extract analyzed domain");

// Messages.
inline const QString kMissingRequired = QStringLiteral("설정 되지 않은 필수 데이터 항목이 있습니다");
inline const QString kNoUnanalyzedWords = QStringLiteral("미분석 단어가 존재하지 않습니다");
inline const QString kRenameLogicalTargets =
    QStringLiteral("분석대상 단어의 변경이 있습니다.\n분석대상 속성명을 변경하시겠습니까?");
inline const QString kRenamePhysicalTargets =
    QStringLiteral("분석대상 단어의 변경이 있습니다.\n분석대상 컬럼명을 변경하시겠습니까?");

// Captions and check boxes.
inline const QString kCaptionLogical = QStringLiteral("단어 분석 [논리]");
inline const QString kCaptionPhysical = QStringLiteral("단어 분석 [물리]");
inline const QString kCaptionDomain = QStringLiteral("도메인 분석");
inline const QString kTargetList = QStringLiteral("대상 목록");
inline const QString kTargetListCount = QStringLiteral("대상 목록 ( %d / %d )");
inline const QString kExcludeFirstRow = QStringLiteral("첫번째 행 제외");
inline const QString kExcludeAnalyzed = QStringLiteral("분석 완료 제외");
inline const QString kMenuAddTargetWords = QStringLiteral("대상 단어 추가");
inline const QString kMenuAddTargetDomain = QStringLiteral("대상 도메인 추가");

// Result columns.
inline const QStringList kLogicalColumns = {QStringLiteral("대상 속성명"), QStringLiteral("대상 속성참고"),
                                            QStringLiteral("대상 속성원본명"), QStringLiteral("분석 단어"),
                                            QStringLiteral("분석 단어 정의")};
inline const QStringList kPhysicalColumns = {QStringLiteral("대상 컬럼명"), QStringLiteral("대상 컬럼참고"),
                                             QStringLiteral("대상 컬럼원본명"), QStringLiteral("분석 단어"),
                                             QStringLiteral("분석 단어 정의")};
inline const QStringList kDomainColumns = {QStringLiteral("대상 속성명"),     QStringLiteral("대상 속성참고"),
                                           QStringLiteral("대상 컬럼명"),     QStringLiteral("대상 데이터타입"),
                                           QStringLiteral("대상 데이터길이"), QStringLiteral("대상 데이터스케일"),
                                           QStringLiteral("참고 데이터")};

// Column designation menus: assign and cancel items per role.
inline const QString kAssignAttributeRequired = QStringLiteral("속성명 지정 (필수)");
inline const QString kAssignAttribute = QStringLiteral("속성명 지정");
inline const QString kCancelAttribute = QStringLiteral("속성명 지정취소");
inline const QString kAssignAttributeDefinition = QStringLiteral("속성정의 지정");
inline const QString kCancelAttributeDefinition = QStringLiteral("속성정의 지정취소");
inline const QString kAssignColumnRequired = QStringLiteral("컬럼명 지정 (필수)");
inline const QString kAssignColumn = QStringLiteral("컬럼명 지정");
inline const QString kCancelColumn = QStringLiteral("컬럼명 지정취소");
inline const QString kAssignColumnDefinition = QStringLiteral("컬럼정의 지정");
inline const QString kCancelColumnDefinition = QStringLiteral("컬럼정의 지정취소");
inline const QString kAssignReference = QStringLiteral("참고데이터 지정");
inline const QString kCancelReference = QStringLiteral("참고데이터 지정취소");
inline const QString kAssignTypeRequired = QStringLiteral("속성타입 지정 (필수)");
inline const QString kCancelType = QStringLiteral("속성타입 지정취소");
inline const QString kAssignLength = QStringLiteral("속성길이 지정");
inline const QString kCancelLength = QStringLiteral("속성길이 지정취소");
inline const QString kAssignScale = QStringLiteral("속성스케일 지정");
inline const QString kCancelScale = QStringLiteral("속성스케일 지정취소");

} // namespace AnalysisTexts

// Grid background colours (0x00BBGGRR).
namespace AnalysisColors {
constexpr unsigned kTargetRow = 0xF7F7F7;
constexpr unsigned kTargetNameCell = 0xF0F0F0;
constexpr unsigned kWordRow = 0xFFFFFF;
constexpr unsigned kLightGreen = 0xAAF5E3;
constexpr unsigned kLightYellow = 0xB0E4EF;
constexpr unsigned kLightRed = 0xD2D2FF;
constexpr unsigned kWhite = 0xFFFFFF;
} // namespace AnalysisColors

#pragma once
// Fixed texts and colours of the dictionary review windows, shared by the engines,
// the command line and the dialogs.
#include <QString>
#include <QtGlobal>

namespace DictionaryTexts {

// Common to the review dialogs
inline const QString SearchWordLabel = QStringLiteral("단어 검색");
inline const QString SearchWordPrompt = QStringLiteral("검색 할 논리명, 물리명을 입력하세요");
inline const QString WordListGroup = QStringLiteral("단어 목록");
inline const QString WordManageButton = QStringLiteral("단어 관리");
inline const QString CloseButton = QStringLiteral("닫기");
inline const QString SaveButton = QStringLiteral("저장");

// Synonym review
inline const QString SynonymCaption = QStringLiteral("동의어 검토");
inline const QString SynonymViewLogical = QStringLiteral("논리기준 동의어 보기");
inline const QString SynonymViewPhysical = QStringLiteral("물리기준 동의어 보기");
inline const QString SynonymSaved = QStringLiteral("변경사항이 저장되었습니다");
inline const QString SettingsNotSaved = QStringLiteral("설정 파일을 저장하지 못했습니다. 출력 창에 원인이 있습니다");

// Grid headers
inline const QString HeaderLogicalName = QStringLiteral("단어 논리명");
inline const QString HeaderPhysicalName = QStringLiteral("단어 물리명");
inline const QString HeaderPhysicalOriginal = QStringLiteral("단어 물리원본명");
inline const QString HeaderLogicalOriginal = QStringLiteral("단어 논리원본명");
inline const QString HeaderPhysicalFullName = QStringLiteral("단어 물리전체명");
inline const QString HeaderDefinition = QStringLiteral("단어 정의");

// Similar-word review
inline const QString SimilarCaption = QStringLiteral("유사어 검토");
inline const QString SimilarViewLogical = QStringLiteral("논리기준 유사어 보기");
inline const QString SimilarViewPhysical = QStringLiteral("물리기준 유사어 보기");
inline const QString SimilarProgressTitle = QStringLiteral("Termwise Process");
inline const QString SimilarProgressText = QStringLiteral("Analyze levenshtein distance word");

// Class-word review
inline const QString DomainClassCaption = QStringLiteral("분류어 검토");
inline const QString DomainSearchLabel = QStringLiteral("도메인 검색");
inline const QString DomainClassSearchPrompt = QStringLiteral("검색 할 키도메인 명칭을 입력하세요");
inline const QString DomainListGroup = QStringLiteral("도메인 목록");
inline const QString DomainManageButton = QStringLiteral("도메인 관리");
inline const QString HeaderClass = QStringLiteral("분류");
inline const QString HeaderKeyDomain = QStringLiteral("키도메인명");
inline const QString HeaderDomain = QStringLiteral("도메인명");
inline const QString HeaderType = QStringLiteral("타입");
inline const QString HeaderLength = QStringLiteral("길이");
inline const QString HeaderScale = QStringLiteral("스케일");
inline const QString HeaderRemark = QStringLiteral("비고");

} // namespace DictionaryTexts

// Grid backgrounds as Windows colour values (0x00BBGGRR), as the views expect them.
namespace DictionaryColours {
constexpr quint32 White = 0xFFFFFF;
constexpr quint32 LightGrey = 0xF7F7F7;
// Groups alternate, the first shown group being white.
constexpr quint32 GroupColour(int groupIndex)
{
    return groupIndex % 2 == 0 ? White : LightGrey;
}
} // namespace DictionaryColours

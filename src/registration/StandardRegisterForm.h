#pragma once
// What the registration dialog ("표준 등록") does behind its in-place buttons: the domain name
// generation, the number fields, the "already registered" checks and the registration call.
// The dialog only reads its items, calls these and shows the message.
#include "settings/AnalyzeRecords.h"

#include <QString>

namespace RegisterTexts {
inline const QString kTitle = QStringLiteral("표준 등록");
inline const QString kAreaLabel = QStringLiteral("표준 분류체계");
inline const QString kGridLabel = QStringLiteral("표준 데이터 입력");
inline const QString kClose = QStringLiteral("닫기");
inline const QString kWordCategory = QStringLiteral("단어 등록");
inline const QString kDomainCategory = QStringLiteral("도메인 등록");
inline const QString kTermCategory = QStringLiteral("용어 등록");
inline const QString kWordExists = QStringLiteral("단어가 이미 등록 되었습니다");
inline const QString kWordRegistered = QStringLiteral("단어가 등록 되었습니다");
inline const QString kDomainExists = QStringLiteral("도메인이 이미 등록 되었습니다");
inline const QString kDomainRegistered = QStringLiteral("도메인이 등록 되었습니다");
inline const QString kTermExists = QStringLiteral("용어가 이미 등록 되었습니다");
inline const QString kTermRegistered = QStringLiteral("용어가 등록 되었습니다");
// A register button pressed with a required name left empty.
inline const QString kNeedWordNames = QStringLiteral("단어 논리명과 물리명을 입력하십시오");
inline const QString kNeedDomainNames = QStringLiteral("키도메인명과 도메인명을 입력하십시오");
inline const QString kNeedTermNames = QStringLiteral("용어 논리명과 물리명을 입력하십시오");
} // namespace RegisterTexts

namespace StandardRegisterForm {

// Key domain name + the type's keyword (the type itself without one) + length, and ",scale"
// when both length and scale are given.
QString GenerateDomainName(const QString& keyDomain, const QString& dataType, const QString& length,
                           const QString& scale);
// The same as the area writes its domains of that type: the letters between the class and the
// length in most of them ("명V50": V, where the settings say VC); the settings' keyword when
// the area has no domain of the type.
QString GenerateDomainName(const QString& areaId, const QString& keyDomain, const QString& dataType,
                           const QString& length, const QString& scale);
// The type letters of the area's domains of that type; null when it has none.
QString AreaTypeLetters(const QString& areaId, const QString& dataType);
// The number inside a typed length or scale ("(10)" -> "10"); the text as typed when it
// holds none (or 0).
QString NumberField(const QString& typed);

struct Outcome
{
    enum Kind { Nothing, Refused, Registered, Failed } kind = Nothing;
    QString message; // shown for Refused and Registered
};

// Each returns Refused with the kNeed... text when a required name is empty, Refused with the message when the
// standard exists (or the domain's words do not qualify), Registered on success.
Outcome RegisterWord(const QString& areaId, _stAnalyzeManageWord& word);
// With the setting domain_use_words the domain's words are analysed and rated first; on
// success they are the domain's word combination.
Outcome RegisterDomain(const QString& areaId, _stAnalyzeManageDomain& domain);
Outcome RegisterTerm(const QString& areaId, _stAnalyzeManageTerm& term);

} // namespace StandardRegisterForm

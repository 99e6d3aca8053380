#pragma once
// Fixed texts of the standard word and domain registration lists.
#include <QString>
#include <QStringList>

namespace StandardListTexts {

inline const QString WordCaption = QStringLiteral("표준 단어 등록");
inline const QString DomainCaption = QStringLiteral("표준 도메인 등록");
inline const QString AreaLabel = QStringLiteral("대상 분류체계");
inline const QString WordList = QStringLiteral("대상 단어 목록");
inline const QString DomainList = QStringLiteral("대상 도메인 목록");
inline const QString Register = QStringLiteral("등록");
inline const QString Close = QStringLiteral("닫기");
inline const QString AddWord = QStringLiteral("단어 등록");
inline const QString MakeClassWord = QStringLiteral("분류어 변경");
inline const QStringList WordColumns = {QStringLiteral("상태"), QStringLiteral("단어 논리명"),
                                        QStringLiteral("단어 물리명"), QStringLiteral("비고")};
inline const QStringList DomainColumns = {
    QStringLiteral("상태"), QStringLiteral("키도메인명"), QStringLiteral("도메인명"), QStringLiteral("타입"),
    QStringLiteral("길이"), QStringLiteral("스케일"),     QStringLiteral("비고")};
inline const QString SameWordExists = QStringLiteral("동일 단어 존재");
inline const QString SameDomainExists = QStringLiteral("동일 도메인 존재");
// Two standard words with one abbreviation would make every later split ambiguous.
inline const QString AbbreviationTaken = QStringLiteral("약어 %1은(는) 표준 단어 \"%2\"이(가) 이미 쓰고 있습니다");
inline const QString PhysicalNameTaken = QStringLiteral("물리명 %1은(는) 용어 \"%2\"이(가) 이미 쓰고 있습니다");
inline const QString Done = QStringLiteral("완료되었습니다");
inline const QString SelectDomainForWord = QStringLiteral("단어 추가를 위한 선택 대상 도메인을 선택해 주세요");
inline const QString SelectDomainForClass = QStringLiteral("단어 변경를 위한 선택 대상 도메인을 선택해 주세요");
inline const QString AskClassWord = QStringLiteral("[%s] 단어를 분류어로 지정 하시겠습니까?");
inline const QString ChooseArea = QStringLiteral("대상 분류체계를 선택해 주세요");

} // namespace StandardListTexts

#pragma once
// Fixed texts of the repository area: gateway reports and connection messages.
// Formats use CQrStringUtil::Format (%s, %d).
#include <QString>

namespace RepositoryText {
inline const QString WordUpdateFailed = QStringLiteral("%s 단어 업데이트 실패");
inline const QString WordUpdateFailedWith = QStringLiteral("%s 단어 업데이트 실패 : %s");
inline const QString DomainUpdateFailed = QStringLiteral("%s 도메인 업데이트 실패");
inline const QString DomainUpdateFailedWith = QStringLiteral("%s 도메인 업데이트 실패 : %s");
inline const QString ConnectionLostStopped = QStringLiteral("저장소 연결이 끊어져 나머지 항목을 쓰지 않았습니다");
inline const QString DomainLookupFailedWith = QStringLiteral("%s 도메인 조회 실패 : %s");
inline const QString WordInsertFailed = QStringLiteral("%s (%s) 단어 입력 실패");
inline const QString DomainInsertFailed = QStringLiteral("%s (%s) 도메인 입력 실패");
inline const QString DomainRegisterFailed = QStringLiteral("%s 도메인 등록 실패");
inline const QString DomainRegisterFailedWith = QStringLiteral("%s 도메인 등록 실패 : %s");
inline const QString TermInsertFailed = QStringLiteral("%s (%s) 용어 입력 실패");
inline const QString ClassWordUpdateFailed = QStringLiteral("단어 분류어 변경 실패");

// Names of the repository rows the program writes.
inline const QString AnalyzeDomainGroupName = QStringLiteral("분석");
inline const QString AnalyzeDomainGroupDesc = QStringLiteral("분석 도메인그룹");

// Option ids of the proposal pages, in the order they are read at connect.
inline const QString OptionCommonUrl = QStringLiteral("Meta.Common.URL");
inline const QString OptionWordProposalUrl = QStringLiteral("Standard.WordProposalURL");
inline const QString OptionDomainProposalUrl = QStringLiteral("Standard.DomainProposalURL");
inline const QString OptionTermProposalUrl = QStringLiteral("Standard.TermProposalURL");
} // namespace RepositoryText
